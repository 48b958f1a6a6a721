// The report component tree: parent and children, bounds, fonts that follow
// the parent, names, copying through the serializer, AlignChildren and the
// Diff attribute texts.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"
#include "report/qlrXML.h"
#include "report/qlrXMLSerializer.h"

namespace qlr {

using rtl::TComponentStateItem;

long double RoundTo8Decimals(long double x)
{
    return std::nearbyint(x * 1e8L) / 1e8L;  // the default rounding mode: ties to even
}

bool FloatsDiffer(long double a, long double b)
{
    return std::fabs(a - b) > 0.0001L;
}

std::string qlrFloatToStr(long double x)
{
    return rtl::FloatToStr(x);
}

namespace {

thread_local bool gNextDesigning = false;
thread_local int gNextDesignFlags = 0;

rtl::TComponent* LibraryOwner(rtl::TComponent* owner)
{
    if (auto* c = dynamic_cast<TqlrComponent*>(owner)) return c->Report();
    return owner;
}

std::string Attr(const char* name, const std::string& value)
{
    return std::string(" ") + name + "=\"" + value + "\"";
}

std::string BoolText(bool b)
{
    return b ? "1" : "0";
}

} // namespace

void TqlrComponent::SetNextDesigning(bool designing, int flags)
{
    gNextDesigning = designing;
    gNextDesignFlags = flags;
}

TqlrComponent::TqlrComponent(rtl::TComponent* owner) : rtl::TComponent(LibraryOwner(owner))
{
    gui::DescribeGraphicsClasses();
    FIsDesigning = gNextDesigning;
    FDesignFlags = gNextDesignFlags;
    gNextDesigning = false;
    gNextDesignFlags = 0;
    FComponentStyle.Include(TqlrComponentStyleItem::csPreviewVisible);
    FFont = std::make_unique<gui::TFont>();
    FFont->SetName("Arial");
    FFont->SetSize(10);
    FFont->SetColor(gui::clBlack);
    FFont->SetCharset(gui::DEFAULT_CHARSET);
    FFont->OnChange = [this](rtl::TObject*) { FontChanged(); };
    if (auto* parent = dynamic_cast<TqlrComponent*>(owner)) SetParent(parent);
}

TqlrComponent::~TqlrComponent()
{
    if (FParent) {
        auto& siblings = FParent->FObjects;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        FParent = nullptr;
    }
    Clear();
    FFont->OnChange = nullptr;
}

std::string TqlrComponent::BaseName() const
{
    if (!FBaseName.empty()) return FBaseName;
    std::string name = ClassName();
    auto cut = [&name](const char* part) {
        std::size_t at = name.find(part);
        if (at != std::string::npos) name.erase(at, std::char_traits<char>::length(part));
    };
    cut("Tqlr");
    cut(dynamic_cast<const TqlrDialogControl*>(this) ? "Control" : "View");
    return name;
}

const std::vector<TqlrComponent*>& TqlrComponent::AllObjects()
{
    FAllObjects.clear();
    std::function<void(const TqlrComponent*)> walk = [&](const TqlrComponent* c) {
        for (TqlrComponent* child : c->FObjects) {
            FAllObjects.push_back(child);
            walk(child);
        }
    };
    walk(this);
    return FAllObjects;
}

void TqlrComponent::SetParent(TqlrComponent* value)
{
    if (FParent != value) {
        if (FParent) {
            auto& siblings = FParent->FObjects;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        }
        if (value) value->FObjects.push_back(this);
    }
    FParent = value;
    if (FParent) SetParentFont(FParentFont);
}

TqlrPage* TqlrComponent::Page() const
{
    for (const TqlrComponent* c = this; c; c = c->FParent)
        if (auto* p = dynamic_cast<const TqlrPage*>(c)) return const_cast<TqlrPage*>(p);
    return nullptr;
}

TqlrReport* TqlrComponent::Report() const
{
    for (const TqlrComponent* c = this; c; c = c->FParent)
        if (auto* r = dynamic_cast<const TqlrReport*>(c)) return const_cast<TqlrReport*>(r);
    return nullptr;
}

void TqlrComponent::SetLeft(long double value)
{
    if (!(FIsDesigning && FRestrictions.Contains(TqlrRestriction::rfDontMove))) FLeft = value;
}

void TqlrComponent::SetTop(long double value)
{
    if (!(FIsDesigning && FRestrictions.Contains(TqlrRestriction::rfDontMove))) FTop = value;
}

void TqlrComponent::SetWidth(long double value)
{
    if (!(FIsDesigning && FRestrictions.Contains(TqlrRestriction::rfDontSize))) FWidth = value;
}

void TqlrComponent::SetHeight(long double value)
{
    if (!(FIsDesigning && FRestrictions.Contains(TqlrRestriction::rfDontSize))) FHeight = value;
}

void TqlrComponent::SetBounds(long double aLeft, long double aTop, long double aWidth, long double aHeight)
{
    SetLeft(aLeft);
    SetTop(aTop);
    SetWidth(aWidth);
    SetHeight(aHeight);
}

long double TqlrComponent::AbsLeft() const
{
    if (FParent && !dynamic_cast<const TqlrDialogPage*>(FParent)) return FLeft + FParent->AbsLeft();
    return FLeft;
}

long double TqlrComponent::AbsTop() const
{
    if (FParent && !dynamic_cast<const TqlrDialogPage*>(FParent)) return FTop + FParent->AbsTop();
    return FTop;
}

void TqlrComponent::SetFont(gui::TFont* value)
{
    FFont->Assign(value);
    FParentFont = false;
}

void TqlrComponent::SetParentFont(bool value)
{
    if (value && FParent) SetFont(FParent->Font());
    FParentFont = value;
}

void TqlrComponent::SetVisible(bool value)
{
    FVisible = value;
}

void TqlrComponent::FontChanged()
{
    FParentFont = false;
    for (TqlrComponent* child : FObjects)
        if (child->FParentFont) child->SetParentFont(true);
}

void TqlrComponent::ChangeFontQuietly(const std::function<void(gui::TFont*)>& change)
{
    auto handler = std::move(FFont->OnChange);
    FFont->OnChange = nullptr;
    change(FFont.get());
    FFont->OnChange = std::move(handler);
}

bool TqlrComponent::IsLoading() const
{
    return FIsLoading || ComponentState().Contains(TComponentStateItem::csLoading);
}

bool TqlrComponent::IsAncestor() const
{
    return FAncestor || ComponentState().Contains(TComponentStateItem::csAncestor);
}

void TqlrComponent::Clear()
{
    std::vector<TqlrComponent*> children = FObjects;
    for (TqlrComponent* c : children) {
        if (c->ComponentState().Contains(TComponentStateItem::csAncestor)) c->Clear();
        else delete c;
    }
}

void TqlrComponent::Assign(const rtl::TPersistent* source)
{
    auto* src = dynamic_cast<const TqlrComponent*>(source);
    if (!src) return;
    rtl::TMemoryStream ms;
    const_cast<TqlrComponent*>(src)->SaveToStream(ms, false, true, false);
    ms.SetPosition(0);
    LoadFromStream(ms);
}

void TqlrComponent::AssignAll(TqlrComponent* source, bool streaming)
{
    rtl::TMemoryStream ms;
    source->SaveToStream(ms, true, true, streaming);
    ms.SetPosition(0);
    LoadFromStream(ms);
}

void TqlrComponent::LoadFromStream(rtl::TStream& stream)
{
    Clear();
    TqlrReport* report = Report();
    TqlrXMLSerializer serializer(&stream);
    serializer.SetOwner(report);
    TqlrXMLSerializer* previous = report ? report->CurrentSerializer() : nullptr;
    if (report) report->SetCurrentSerializer(&serializer);
    try {
        serializer.ReadRootComponent(this, nullptr);
    } catch (...) {
        if (report) report->SetCurrentSerializer(previous);
        throw;
    }
    if (report) {
        report->SetCurrentSerializer(previous);
        for (int i = 0; i < serializer.Errors().Count(); ++i) report->Errors()->Add(serializer.Errors().Strings(i));
    }
}

void TqlrComponent::SaveToStream(rtl::TStream& stream, bool saveChildren, bool saveDefaultValues, bool streaming)
{
    TqlrXMLSerializer serializer(&stream);
    serializer.SetOwner(Report());
    serializer.SetSerializeDefaultValues(saveDefaultValues);
    serializer.WriteRootComponent(this, saveChildren, nullptr, streaming);
}

void TqlrComponent::SetName(const std::string& newName)
{
    if (rtl::SameText(newName, Name())) return;
    if (!newName.empty()) {
        if (TqlrReport* report = Report()) {
            if (report->FindObject(newName)) throw rtl::EComponentError(GetResources().Get("prDupl"));
            if (IsAncestor())
                throw rtl::EComponentError("Could not rename " + Name() +
                                           ", it was introduced in the ancestor report");
        }
    }
    rtl::TComponent::SetName(newName);
}

void TqlrComponent::CreateUniqueName()
{
    rtl::TStringList names;
    names.SetSorted(true);
    names.SetCaseSensitive(false);
    names.SetDuplicates(rtl::TDuplicates::dupAccept);
    TqlrComponent* scope = Report();
    if (!scope) scope = FParent;
    if (scope)
        for (TqlrComponent* c : scope->AllObjects()) names.Add(c->Name());
    std::string base = BaseName();
    for (int n = 1;; ++n) {
        std::string candidate = base + std::to_string(n);
        int index = 0;
        if (!names.Find(candidate, index)) {
            SetName(candidate);
            return;
        }
    }
}

TqlrComponent* TqlrComponent::FindObject(const std::string& aName)
{
    // The order of AllObjects, walked without building the list.
    for (TqlrComponent* c : FObjects) {
        if (rtl::SameText(c->Name(), aName)) return c;
        if (TqlrComponent* found = c->FindObject(aName)) return found;
    }
    return nullptr;
}

TqlrDataSet* TqlrComponent::FindDataSet(TqlrDataSet* dataSet, const std::string& dsName)
{
    TqlrReport* report = Report();
    if (!report || report->UseGlobalDataSetList()) return FindGlobalDataSet(dataSet, dsName, report);
    for (TqlrDataSet* ds : report->EnabledDataSets())
        if (rtl::AnsiCompareText(ds->UserName(), dsName) == 0) return ds;
    return nullptr;
}

void TqlrComponent::LinkDataSet(TqlrDataSet*& field, TqlrDataSet* v)
{
    if (field == v) return;
    if (field) field->RemoveFreeNotification(this);
    field = v;
    if (field) field->FreeNotification(this);
}

void TqlrComponent::GetChildren(const std::function<void(rtl::TComponent*)>& proc, rtl::TComponent*)
{
    if (auto* report = dynamic_cast<TqlrReport*>(this); report && !report->StoreInDFM()) return;
    for (TqlrComponent* c : FObjects) proc(c);
}

// --- AlignChildren ---------------------------------------------------------

void TqlrComponent::AlignChildren()
{
    struct Entry {
        std::string Key;
        TqlrView* View;
    };
    std::vector<Entry> list;
    for (TqlrComponent* c : FObjects) {
        auto* v = dynamic_cast<TqlrView*>(c);
        if (!v) continue;
        char buf[64];
        if (v->Left() >= 0) std::snprintf(buf, sizeof buf, "1%9.2Lf", v->Left());
        else std::snprintf(buf, sizeof buf, "0%9.2Lf", -v->Left());
        list.push_back({buf, v});
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const Entry& a, const Entry& b) { return rtl::CompareText(a.Key, b.Key) < 0; });

    auto neighbour = [&](int index, int step) -> TqlrView* {
        TqlrView* v = list[index].View;
        for (int i = index + step; i >= 0 && i < static_cast<int>(list.size()); i += step) {
            TqlrView* p = list[i].View;
            if (p->AbsTop() >= v->AbsTop() + v->Height() - 0.0001L) continue;
            if (v->AbsTop() >= p->AbsTop() + p->Height() - 0.0001L) continue;
            if (v->Align() == TqlrAlign::baWidth) {
                if (step < 0 && p->Left() > v->Left()) continue;
                if (step > 0 && p->Left() + p->Width() < v->Left() + v->Width()) continue;
            }
            return p;
        }
        return nullptr;
    };

    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        TqlrView* v = list[i].View;
        if (v->Align() != TqlrAlign::baLeft && v->Align() != TqlrAlign::baWidth) continue;
        TqlrView* p = neighbour(i, -1);
        v->SetLeft(p ? p->Left() + p->Width() : 0);
    }
    for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
        TqlrView* v = list[i].View;
        if (v->Align() != TqlrAlign::baRight && v->Align() != TqlrAlign::baWidth) continue;
        TqlrView* p = neighbour(i, 1);
        long double edge = p ? p->Left() : Width();
        if (v->Align() == TqlrAlign::baRight) v->SetLeft(edge - v->Width());
        else v->SetWidth(edge - v->Left());
    }
    for (TqlrComponent* c : FObjects) {
        auto* v = dynamic_cast<TqlrView*>(c);
        if (!v) continue;
        switch (v->Align()) {
        case TqlrAlign::baCenter: v->SetLeft((Width() - v->Width()) / 2); break;
        case TqlrAlign::baBottom: v->SetTop(Height() - v->Height()); break;
        case TqlrAlign::baClient: v->SetBounds(0, 0, Width(), Height()); break;
        default: break;
        }
    }
}

// --- Diff ------------------------------------------------------------------------

std::string TqlrComponent::BaseDiff(TqlrComponent* c)
{
    std::string s;
    if (FloatsDiffer(FLeft, c->FLeft)) s += Attr("l", qlrFloatToStr(FLeft));
    if (dynamic_cast<TqlrBand*>(this) || FloatsDiffer(FTop, c->FTop)) s += Attr("t", qlrFloatToStr(FTop));
    auto* memo = dynamic_cast<TqlrCustomMemoView*>(this);
    if (!(memo && memo->AutoWidth()) && FloatsDiffer(FWidth, c->FWidth)) s += Attr("w", qlrFloatToStr(FWidth));
    if (FloatsDiffer(FHeight, c->FHeight)) s += Attr("h", qlrFloatToStr(FHeight));
    if (FVisible != c->FVisible) s += Attr("Visible", BoolText(FVisible));
    if (!FParentFont) {
        const gui::TFont* f = FFont.get();
        const gui::TFont* g = c->FFont.get();
        if (f->Name() != g->Name()) s += Attr("Font.Name", StrToXML(f->Name()));
        if (f->Size() != g->Size()) s += Attr("Font.Size", std::to_string(f->Size()));
        if (f->Color() != g->Color()) s += Attr("Font.Color", std::to_string(f->Color()));
        if (f->Style() != g->Style()) s += Attr("Font.Style", std::to_string(f->Style().ToMask()));
        if (f->Charset() != g->Charset()) s += Attr("Font.Charset", std::to_string(f->Charset()));
    }
    if (FParentFont != c->FParentFont) s += Attr("ParentFont", BoolText(FParentFont));
    if (Tag() != c->Tag()) s += Attr("Tag", std::to_string(Tag()));
    return s;
}

std::string TqlrComponent::Diff(TqlrComponent* aComponent)
{
    return BaseDiff(aComponent);
}

std::string TqlrComponent::AllDiff(TqlrComponent* aComponent)
{
    TqlrXMLSerializer serializer(nullptr);
    serializer.SetOwner(Report());
    std::string text = serializer.WriteComponentStr(this);
    std::string result;
    std::size_t blank = text.find(' ');
    if (blank != std::string::npos) result = text.substr(blank + 1);
    if (aComponent) result += " " + BaseDiff(aComponent);
    if (dynamic_cast<TqlrNullBand*>(this))
        result += Attr("l", qlrFloatToStr(FLeft)) + Attr("t", qlrFloatToStr(FTop));
    return result;
}

// --- TqlrReportComponent -----------------------------------------------------------

TqlrReportComponent::TqlrReportComponent(rtl::TComponent* owner) : TqlrComponent(owner) {}

void TqlrReportComponent::Draw(gui::TCanvas*, long double, long double, long double, long double)
{
    throw rtl::Exception("Abstract Error");
}

void TqlrReportComponent::BeforePrint()
{
    FOriginalRect = {Left(), Top(), Width(), Height()};
}

void TqlrReportComponent::AfterPrint()
{
    SetBounds(FOriginalRect.Left, FOriginalRect.Top, FOriginalRect.Right, FOriginalRect.Bottom);
}

TqlrRect TqlrReportComponent::GetRealBounds()
{
    return {AbsLeft(), AbsTop(), AbsLeft() + Width(), AbsTop() + Height()};
}

} // namespace qlr
