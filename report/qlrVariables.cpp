// Report variables and the variables file.

#include "report/qlrVariables.h"

#include <memory>

#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "report/qlrXMLSerializer.h"

namespace qlr {

RTL_PUBLISHED(TqlrVariable)
{
    c.Property("Name", [](TqlrVariable& v) { return v.Name(); }, &TqlrVariable::SetName);
    c.Property("Value", [](TqlrVariable& v) { return v.Value(); },
               [](TqlrVariable& v, const rtl::Variant& x) { v.SetValue(x); });
}
RTL_PUBLISHED(TqlrVariables) {}
RTL_PUBLISHED(TqlrArray) {}

void TqlrVariable::Assign(const rtl::TPersistent* source)
{
    if (auto* s = dynamic_cast<const TqlrVariable*>(source)) {
        FName = s->FName;
        FValue = s->FValue;
    }
}

TqlrVariables::TqlrVariables() : rtl::TCollection(TqlrVariable::StaticClassInfo()) {}

int TqlrVariables::IndexOf(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiCompareText(GetItem(i)->Name(), name) == 0) return i;
    return -1;
}

rtl::Variant TqlrVariables::GetVariable(const std::string& name) const
{
    int i = IndexOf(name);
    return i < 0 ? rtl::Variant::Null() : GetItem(i)->Value();
}

void TqlrVariables::SetVariable(const std::string& name, const rtl::Variant& value)
{
    int i = IndexOf(name);
    TqlrVariable* v = i < 0 ? Add() : GetItem(i);
    if (i < 0) v->SetName(name);
    v->SetValue(value);
}

int TqlrVariables::CategoryIndex(const std::string& category) const
{
    for (int i = 0; i < Count(); ++i) {
        const std::string& n = GetItem(i)->Name();
        if (!n.empty() && n[0] == ' ' && rtl::AnsiCompareText(n.substr(1), category) == 0) return i;
    }
    return -1;
}

void TqlrVariables::AddVariable(const std::string& category, const std::string& name, const rtl::Variant& value)
{
    int header = CategoryIndex(category);
    if (header < 0) return;
    int existing = IndexOf(name);
    if (existing >= 0) {
        GetItem(existing)->SetValue(value);
        return;
    }
    int end = header + 1;
    while (end < Count() && !(GetItem(end)->Name().empty() == false && GetItem(end)->Name()[0] == ' ')) ++end;
    TqlrVariable* v = end >= Count() ? Add() : Insert(end);
    v->SetName(name);
    v->SetValue(value);
}

void TqlrVariables::DeleteVariable(const std::string& name)
{
    int i = IndexOf(name);
    if (i >= 0) Delete(i);
}

void TqlrVariables::DeleteCategory(const std::string& name)
{
    int header = CategoryIndex(name);
    if (header < 0) return;
    Delete(header);
    while (header < Count() && !(!GetItem(header)->Name().empty() && GetItem(header)->Name()[0] == ' '))
        Delete(header);
}

void TqlrVariables::GetCategoriesList(rtl::TStringList& list, bool clearList) const
{
    if (clearList) list.Clear();
    for (int i = 0; i < Count(); ++i) {
        const std::string& n = GetItem(i)->Name();
        if (!n.empty() && n[0] == ' ') list.Add(n.substr(1, 255));
    }
}

void TqlrVariables::GetVariablesList(const std::string& category, rtl::TStringList& list) const
{
    list.Clear();
    auto isHeader = [this](int i) {
        const std::string& n = GetItem(i)->Name();
        return !n.empty() && n[0] == ' ';
    };
    int i = 0;
    if (!category.empty()) {
        int header = CategoryIndex(category);
        if (header < 0) return;
        i = header + 1;
    }
    for (; i < Count() && !isHeader(i); ++i) list.Add(GetItem(i)->Name());
}

void TqlrVariables::SaveToXMLItem(TqlrXMLItem* item)
{
    TqlrXMLSerializer serializer(nullptr);
    for (int i = 0; i < Count(); ++i) {
        TqlrXMLItem* child = item->Add();
        child->SetName("item");
        std::string text = serializer.ObjToXML(GetItem(i));
        if (!text.empty() && text[0] == ' ') text.erase(0, 1);
        child->SetText(text);
    }
}

void TqlrVariables::SaveToStream(rtl::TStream& stream)
{
    TqlrXMLDocument doc;
    doc.SetAutoIndent(true);
    doc.Root()->SetName("variables");
    SaveToXMLItem(doc.Root());
    doc.SaveToStream(stream);
}

void TqlrVariables::SaveToFile(const std::string& fileName)
{
    rtl::TFileStream f(fileName, rtl::fmCreate);
    SaveToStream(f);
}

void TqlrVariables::LoadFromXMLItem(TqlrXMLItem* item, bool oldXMLFormat)
{
    Clear();
    TqlrXMLSerializer serializer(nullptr);
    serializer.SetOldFormat(oldXMLFormat);
    for (int i = 0; i < item->Count(); ++i) {
        TqlrXMLItem* child = item->Items(i);
        if (!rtl::SameText(child->Name(), "item")) continue;
        serializer.XMLToObj(child->Text(), Add());
    }
}

void TqlrVariables::LoadFromStream(rtl::TStream& stream)
{
    Clear();
    TqlrXMLDocument doc;
    doc.LoadFromStream(stream);
    if (rtl::SameText(doc.Root()->Name(), "variables")) LoadFromXMLItem(doc.Root(), doc.OldVersion());
}

void TqlrVariables::LoadFromFile(const std::string& fileName)
{
    rtl::TFileStream f(fileName, rtl::fmOpenRead);
    LoadFromStream(f);
}

TqlrArray::TqlrArray() : rtl::TCollection(TqlrVariable::StaticClassInfo()) {}

int TqlrArray::IndexOf(const rtl::Variant& name) const
{
    std::string key = rtl::VarToStr(name);
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiCompareText(GetItem(i)->Name(), key) == 0) return i;
    return -1;
}

rtl::Variant TqlrArray::GetVariable(const rtl::Variant& name) const
{
    int i = IndexOf(name);
    return i < 0 ? rtl::Variant::Null() : GetItem(i)->Value();
}

void TqlrArray::SetVariable(const rtl::Variant& name, const rtl::Variant& value)
{
    int i = IndexOf(name);
    TqlrVariable* v;
    if (i < 0) {
        v = static_cast<TqlrVariable*>(Add());
        v->SetName(rtl::VarToStr(name));
    } else {
        v = GetItem(i);
    }
    v->SetValue(value);
}

} // namespace qlr
