// Report data sets: the cursor with its row-range rule, the user data set
// whose values come from event handlers, field aliases, and the global list
// of every data set of the process.

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"

namespace qlr {

namespace {

std::vector<TqlrDataSet*>& GlobalList()
{
    static std::vector<TqlrDataSet*> list;
    return list;
}

} // namespace

const std::vector<TqlrDataSet*>& GlobalDataSets()
{
    return GlobalList();
}

TqlrDataSet* FindGlobalDataSet(TqlrDataSet* dataSet, const std::string& name, rtl::TComponent* owner)
{
    if (name.empty()) return nullptr;
    if (!owner) return dataSet;
    auto* ownerReport = dynamic_cast<TqlrReport*>(owner);
    for (TqlrDataSet* ds : GlobalList()) {
        if (rtl::AnsiCompareText(ds->UserName(), name) != 0) continue;
        // A set that belongs to another report is not this report's.
        if (ownerReport) {
            auto* dsReport = dynamic_cast<TqlrReport*>(ds->Owner());
            if (dsReport && dsReport != ownerReport) continue;
        }
        return ds;
    }
    return dataSet;
}

void ListGlobalDataSets(rtl::TStringList& list)
{
    list.Clear();
    for (TqlrDataSet* ds : GlobalList())
        if (!ds->UserName().empty() && ds->Enabled()) list.AddObject(ds->UserName(), ds);
}

TqlrDataSet::TqlrDataSet(rtl::TComponent* owner) : TqlrDialogComponent(owner)
{
    GlobalList().push_back(this);
}

TqlrDataSet::~TqlrDataSet()
{
    auto& list = GlobalList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TqlrDataSet::SetName(const std::string& newName)
{
    TqlrDialogComponent::SetName(newName);
    if (!newName.empty() && (FUserName.empty() || FUserName == newName)) FUserName = Name();
}

void TqlrDataSet::SetUserName(const std::string& v)
{
    if (rtl::Trim(v).empty()) throw rtl::EPropertyError(GetResources().Get("prInvProp"));
    FUserName = v;
}

void TqlrDataSet::Open()
{
    if (OnOpen) OnOpen(this);
}

void TqlrDataSet::Close()
{
    if (OnClose) OnClose(this);
}

void TqlrDataSet::First()
{
    FRecNo = 0;
    FEof = false;
    if (OnFirst) OnFirst(this);
}

void TqlrDataSet::Next()
{
    FEof = false;
    ++FRecNo;
    if (FRangeEnd == TqlrRangeEnd::reCount && FRecNo >= FRangeEndCount) {
        FRecNo = FRangeEndCount - 1;
        FEof = true;
        return;
    }
    if (OnNext) OnNext(this);
}

void TqlrDataSet::Prior()
{
    --FRecNo;
    if (OnPrior) OnPrior(this);
}

bool TqlrDataSet::Eof()
{
    bool result = FRangeEnd == TqlrRangeEnd::reCount && (FRecNo >= FRangeEndCount || FEof);
    if (OnCheckEOF) OnCheckEOF(this, result);
    return result;
}

int TqlrDataSet::RecordCount()
{
    if (FRangeBegin == TqlrRangeBegin::rbFirst && FRangeEnd == TqlrRangeEnd::reCount) return FRangeEndCount;
    return 0;
}

bool TqlrDataSet::HasField(const std::string& fName)
{
    rtl::TStringList list;
    GetFieldList(list);
    for (int i = 0; i < list.Count(); ++i)
        if (rtl::AnsiCompareText(list.Strings(i), fName) == 0) return true;
    return false;
}

TqlrUserDataSet::TqlrUserDataSet(rtl::TComponent* owner)
    : TqlrDataSet(owner), FFields(std::make_unique<rtl::TStringList>())
{
}

rtl::Variant TqlrUserDataSet::Value(const std::string& field)
{
    rtl::Variant v = rtl::Variant::Null();
    if (OnGetValue) OnGetValue(field, v);
    if (OnNewGetValue) OnNewGetValue(this, field, v);
    return v;
}

std::string TqlrUserDataSet::DisplayText(const std::string& field)
{
    std::string result;
    if (OnGetValue) {
        rtl::Variant v = rtl::Variant::Null();
        OnGetValue(field, v);
        result = rtl::VarToStr(v);
    }
    if (OnNewGetValue) {
        rtl::Variant v = rtl::Variant::Null();
        OnNewGetValue(this, field, v);
        result = rtl::VarToStr(v);
    }
    return result;
}

void TqlrUserDataSet::GetFieldList(rtl::TStringList& list)
{
    list.Assign(FFields.get());
}

TqlrCustomDBDataSet::TqlrCustomDBDataSet(rtl::TComponent* owner)
    : TqlrDataSet(owner), FAliases(std::make_unique<rtl::TStringList>()),
      FFields(std::make_unique<rtl::TStringList>())
{
    FFields->SetSorted(true);
    FFields->SetDuplicates(rtl::TDuplicates::dupIgnore);
}

std::string TqlrCustomDBDataSet::GetAlias(const std::string& fName) const
{
    for (int i = 0; i < FAliases->Count(); ++i) {
        const std::string& line = FAliases->Strings(i);
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (rtl::AnsiCompareText(line.substr(0, eq), fName) == 0) return line.substr(eq + 1);
    }
    return fName;
}

std::string TqlrCustomDBDataSet::ConvertAlias(const std::string& fName) const
{
    for (int i = 0; i < FAliases->Count(); ++i) {
        const std::string& line = FAliases->Strings(i);
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (rtl::AnsiCompareText(line.substr(eq + 1), fName) == 0) return line.substr(0, eq);
    }
    return fName;
}

int TqlrCustomDBDataSet::FieldsCount()
{
    rtl::TStringList list;
    GetFieldList(list);
    return list.Count();
}

} // namespace qlr
