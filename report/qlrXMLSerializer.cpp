// The report XML serializer.

#include "report/qlrXMLSerializer.h"

#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"

namespace qlr {

using rtl::TTypeKind;

namespace {

std::string Pair(const std::string& name, const std::string& value)
{
    return " " + name + "=\"" + value + "\"";
}

std::string DropFinalLineBreak(std::string s)
{
    if (s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0) s.resize(s.size() - 2);
    else if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

bool IsComponentClass(const rtl::TPropInfo* prop)
{
    const rtl::TClassInfo* cls = prop->PropType()->ClassType();
    return cls && cls->InheritsFrom(rtl::TComponent::StaticClassInfo());
}

// Objects whose class the serializer writes as Text under its property
// name (".Text").
bool IsStringList(const rtl::TObject* obj)
{
    return dynamic_cast<const rtl::TStringList*>(obj) != nullptr;
}

std::string OrdText(const rtl::TPropInfo* prop, int64_t value)
{
    const rtl::TTypeInfo* t = prop->PropType();
    if (t->Kind == TTypeKind::tkEnumeration) return rtl::GetEnumName(t, value);
    return std::to_string(value);
}

// A component class factory may build a non-component; only report
// components are read as template elements.
TqlrComponent* CreateComponent(const rtl::TClassInfo& cls, rtl::TComponent* owner)
{
    rtl::TObject* obj = cls.Create(owner);
    if (auto* c = dynamic_cast<TqlrComponent*>(obj)) return c;
    delete obj;
    throw rtl::EClassNotFound("Class " + cls.Name() + " not found");
}

} // namespace

TqlrXMLSerializer::TqlrXMLSerializer(rtl::TStream* stream) : FStream(stream)
{
    FErrors.SetSorted(true);
    FErrors.SetDuplicates(rtl::TDuplicates::dupIgnore);
}

TqlrXMLSerializer::~TqlrXMLSerializer() = default;

void TqlrXMLSerializer::RenameFixups(const std::string& oldName, const std::string& newName)
{
    for (TqlrFixupItem& f : FFixups)
        if (rtl::SameText(f.Value, oldName)) f.Value = newName;
}

// --- attribute texts -----------------------------------------------------------

std::string TqlrXMLSerializer::ComponentFullName(rtl::TComponent* c) const
{
    std::string name = qlr::ComponentFullName(c, FOwner);
    // Components of the report tree owned by another report component.
    if (name.empty() && c && dynamic_cast<TqlrComponent*>(c->Owner())) return c->Name();
    return name;
}

std::string TqlrXMLSerializer::ObjToXML(rtl::TObject* obj, const std::string& add, rtl::TObject* ancestor)
{
    if (!obj) return "";
    auto* comp = dynamic_cast<TqlrComponent*>(obj);
    auto* ancComp = dynamic_cast<TqlrComponent*>(ancestor);
    if (comp && !ancestor && OnGetAncestor) {
        TqlrComponent* found = nullptr;
        OnGetAncestor(comp->Name(), found);
        ancestor = ancComp = found;
    }
    if (ancestor && ancestor->ClassType() != obj->ClassType() &&
        !obj->ClassType()->InheritsFrom(*ancestor->ClassType()))
        ancestor = ancComp = nullptr;
    struct WritingFlag {
        TqlrComponent* A;
        TqlrComponent* B;
        bool OldA = false, OldB = false;
        WritingFlag(TqlrComponent* a, TqlrComponent* b) : A(a), B(b)
        {
            if (A) { OldA = A->IsWriting(); A->SetIsWriting(true); }
            if (B) { OldB = B->IsWriting(); B->SetIsWriting(true); }
        }
        ~WritingFlag()
        {
            if (A) A->SetIsWriting(OldA);
            if (B) B->SetIsWriting(OldB);
        }
    } writing(comp, ancComp);

    std::string result;
    const bool all = FSerializeDefaultValues;
    for (const rtl::TPropInfo* prop : obj->ClassType()->Properties()) {
        if (!prop->IsStored(obj)) continue;
        const std::string name = add + prop->Name();
        switch (prop->Kind()) {
        case TTypeKind::tkInteger:
        case TTypeKind::tkChar:
        case TTypeKind::tkWChar:
        case TTypeKind::tkEnumeration:
        case TTypeKind::tkSet: {
            int64_t value = prop->GetOrd(obj);
            bool write = all;
            if (ancestor) write = write || value != prop->GetOrd(ancestor);
            else write = write || !prop->HasDefault() || value != prop->Default();
            if (write) result += Pair(name, OrdText(prop, value));
            break;
        }
        case TTypeKind::tkFloat: {
            long double value = prop->GetFloat(obj);
            if (all || !ancestor || std::fabs(value - prop->GetFloat(ancestor)) >= 0.000001L)
                result += Pair(name, rtl::FloatToStr(value));
            break;
        }
        case TTypeKind::tkString:
        case TTypeKind::tkLString:
        case TTypeKind::tkWString:
        case TTypeKind::tkUString: {
            std::string value = prop->GetStr(obj);
            std::string def = ancestor ? prop->GetStr(ancestor) : std::string();
            if (!value.empty() && (all || value != def)) result += Pair(name, StrToXML(value));
            break;
        }
        case TTypeKind::tkVariant: {
            rtl::Variant value = prop->GetVariant(obj);
            bool write = all || !ancestor;
            if (!write) {
                rtl::Variant other = prop->GetVariant(ancestor);
                write = value.IsNull() != other.IsNull() || rtl::VarToStr(value) != rtl::VarToStr(other);
            }
            std::string text = value.IsNull() || value.IsEmpty() ? std::string() : rtl::VarToStr(value);
            if (write && !text.empty()) result += Pair(name, StrToXML(text));
            break;
        }
        case TTypeKind::tkClass: {
            rtl::TObject* value = prop->GetObject(obj);
            rtl::TObject* other = ancestor ? prop->GetObject(ancestor) : nullptr;
            if (IsComponentClass(prop)) {
                auto* c = dynamic_cast<rtl::TComponent*>(value);
                auto* o = dynamic_cast<rtl::TComponent*>(other);
                bool write;
                if (!ancestor) write = c != nullptr;
                else write = (c == nullptr) != (o == nullptr) || (c && !rtl::SameText(c->Name(), o->Name()));
                if (write) result += Pair(name, c ? StrToXML(ComponentFullName(c)) : "nil");
            } else if (auto* list = dynamic_cast<rtl::TStringList*>(value)) {
                std::string text = DropFinalLineBreak(list->Text());
                auto* olist = dynamic_cast<rtl::TStringList*>(other);
                bool write = !ancestor || all || !olist || olist->Text() != list->Text();
                if (write && !text.empty()) result += Pair(name + ".Text", StrToXML(text));
            } else if (value) {
                result += ObjToXML(value, name + ".", other);
            }
            break;
        }
        default:
            break;  // methods, 64-bit integers and the rest are not written
        }
    }

    if (auto* memo = dynamic_cast<TqlrCustomMemoView*>(obj)) {
        auto* ancMemo = dynamic_cast<TqlrCustomMemoView*>(ancestor);
        if (!(ancMemo && ancMemo->Text() == memo->Text()))
            result += Pair("Text", StrToXML(DropFinalLineBreak(memo->Text())));
    }

    if (auto* persistent = dynamic_cast<rtl::TPersistent*>(obj)) {
        rtl::TMemoryStream ms;
        {
            rtl::TWriter writer(ms);
            writer.SetRoot(FOwner);
            writer.WriteDefinedProperties(persistent);
        }
        if (ms.Size() > 0) {
            bool same = false;
            if (auto* ancPersistent = dynamic_cast<rtl::TPersistent*>(ancestor)) {
                rtl::TMemoryStream as;
                {
                    rtl::TWriter writer(as);
                    writer.SetRoot(FOwner);
                    writer.WriteDefinedProperties(ancPersistent);
                }
                same = as.Size() > 0 && StreamCRC32(as) == StreamCRC32(ms);
            }
            if (!same) result += Pair(add + "PropData", StreamToHexText(ms));
        }
    }
    return result;
}

void TqlrXMLSerializer::XMLToObj(const std::string& s, rtl::TObject* obj)
{
    const std::size_t len = s.size();
    std::size_t i = 0;
    while (i + 1 < len + 1 && i < len) {
        while (i < len && s[i] == ' ') ++i;
        std::size_t eq = s.find('=', i);
        if (eq == std::string::npos) break;
        std::string name = rtl::TrimRight(std::string_view(s).substr(i, eq - i));
        if (name.empty()) break;
        std::size_t q1 = s.find('"', eq + 1);
        std::string value;
        if (q1 == std::string::npos) {
            i = len;
        } else {
            std::size_t q2 = s.find('"', q1 + 1);
            if (q2 == std::string::npos) q2 = len;
            value = s.substr(q1 + 1, q2 - q1 - 1);
            i = q2 + 1;
        }
        try {
            ApplyAttribute(obj, name, value);
        } catch (const rtl::Exception& e) {
            FErrors.Add(e.Message());
        }
    }
}

void TqlrXMLSerializer::ApplyAttribute(rtl::TObject* obj, const std::string& fullName, const std::string& value)
{
    // Walk the dotted path through class properties.
    rtl::TObject* target = obj;
    std::string name = fullName;
    for (std::size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.')) {
        std::string part = name.substr(0, dot);
        const rtl::TPropInfo* p = target->ClassType()->FindProperty(part);
        if (!p || p->Kind() != TTypeKind::tkClass) break;  // the rest matches nothing
        rtl::TObject* next = p->GetObject(target);
        if (!next) return;
        target = next;
        name = name.substr(dot + 1);
    }

    auto* comp = dynamic_cast<TqlrComponent*>(target);
    auto* memo = dynamic_cast<TqlrCustomMemoView*>(target);
    if (name.size() == 1) {
        switch (name[0]) {
        case 'l': if (comp) { comp->SetLeft(StrToFloatLenient(value)); return; } break;
        case 't': if (comp) { comp->SetTop(StrToFloatLenient(value)); return; } break;
        case 'w': if (comp) { comp->SetWidth(StrToFloatLenient(value)); return; } break;
        case 'h': if (comp) { comp->SetHeight(StrToFloatLenient(value)); return; } break;
        case 'x':
        case 'u': if (memo) { memo->SetText(XMLToStr(value)); return; } break;
        default: break;
        }
    }
    if (name == "Text") {
        if (auto* list = dynamic_cast<rtl::TStringList*>(target)) {
            list->SetText(XMLToStr(value));
            return;
        }
        if (memo) {
            memo->SetText(XMLToStr(value));
            return;
        }
    }
    if (name == "PropData") {
        auto* persistent = dynamic_cast<rtl::TPersistent*>(target);
        if (!persistent) return;
        rtl::TMemoryStream ms;
        HexTextToStream(value, ms);
        ms.SetPosition(0);
        try {
            rtl::TReader reader(ms);
            reader.SetRoot(FOwner);
            while (ms.Position() < ms.Size()) reader.ReadProperty(persistent);
        } catch (const rtl::Exception&) {
            // a defined property that cannot be read ends the block quietly
        }
        return;
    }
    if (rtl::SameText(name, "Name") && dynamic_cast<TqlrReport*>(target)) return;

    const rtl::TPropInfo* prop = target->ClassType()->FindProperty(name);
    if (!prop || !prop->IsWritable()) return;
    switch (prop->Kind()) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
    case TTypeKind::tkSet:
        prop->SetOrd(target, rtl::StrToInt64(rtl::Trim(value)));
        break;
    case TTypeKind::tkEnumeration: {
        int64_t v = rtl::GetEnumValue(prop->PropType(), rtl::Trim(value));
        if (v < 0) v = rtl::StrToInt64(rtl::Trim(value));
        prop->SetOrd(target, v);
        break;
    }
    case TTypeKind::tkFloat:
        prop->SetFloat(target, StrToFloatLenient(value));
        break;
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
    case TTypeKind::tkWString:
    case TTypeKind::tkUString:
        prop->SetStr(target, XMLToStr(value));
        break;
    case TTypeKind::tkVariant:
        prop->SetVariant(target, rtl::Variant(XMLToStr(value)));
        break;
    case TTypeKind::tkClass:
        if (IsComponentClass(prop)) FFixups.push_back({target, prop, XMLToStr(value)});
        break;
    default:
        break;
    }
}

// --- component trees -------------------------------------------------------------

void TqlrXMLSerializer::WriteItem(TqlrComponent* c, TqlrXMLItem* item, bool isRoot, bool saveChildren,
                                  bool streaming)
{
    item->SetName(c->IsAncestor() && !streaming ? std::string("inherited") : c->ClassName());
    std::string text = isRoot ? ObjToXML(c) : Pair("Name", StrToXML(c->Name())) + ObjToXML(c);
    if (!text.empty() && text[0] == ' ') text.erase(0, 1);
    item->SetText(std::move(text));
    if (!saveChildren) return;
    for (TqlrComponent* child : c->Objects()) WriteItem(child, item->Add(), false, true, streaming);
}

void TqlrXMLSerializer::WriteRootComponent(TqlrComponent* root, bool saveChildren, TqlrXMLItem* item,
                                           bool streaming)
{
    if (!FOwner) FOwner = root;
    if (item) {
        WriteItem(root, item, true, saveChildren, streaming);
        return;
    }
    TqlrXMLDocument doc;
    doc.SetAutoIndent(true);
    WriteItem(root, doc.Root(), true, saveChildren, streaming);
    if (FStream) doc.SaveToStream(*FStream);
}

void TqlrXMLSerializer::ReadItem(TqlrXMLItem* item, TqlrComponent* parent, TqlrComponent* root,
                                 std::vector<TqlrComponent*>& loaded)
{
    const std::string& elementName = item->Name();
    const bool inherited = rtl::SameText(elementName, "inherited");
    const rtl::TClassInfo* cls = nullptr;
    if (!inherited) {
        cls = rtl::GetClass(elementName);
        if (!cls) {
            FErrors.Add(GetResources().Get("xrCantFindClass") + " " + elementName);
            return;
        }
    }
    TqlrComponent* c = nullptr;
    if (!parent) {
        c = root;
    } else {
        std::string name = item->Prop("Name");
        if (!name.empty() && FOwner)
            c = dynamic_cast<TqlrComponent*>(FOwner->FindComponent(name));
        if (!c) {
            if (inherited) return;
            try {
                c = CreateComponent(*cls, parent);
            } catch (const rtl::Exception& e) {
                FErrors.Add(e.Message());
                return;
            }
        }
    }
    c->SetIsLoading(true);
    XMLToObj(item->Text(), c);
    loaded.push_back(c);
    for (int i = 0; i < item->Count(); ++i) ReadItem(item->Items(i), c, root, loaded);
}

void TqlrXMLSerializer::ReadRootComponent(TqlrComponent* root, TqlrXMLItem* item)
{
    if (!FOwner) FOwner = root;
    std::unique_ptr<TqlrXMLDocument> doc;
    if (!item) {
        doc = std::make_unique<TqlrXMLDocument>();
        doc->LoadFromStream(*FStream);
        FOldFormat = doc->OldVersion();
        item = doc->Root();
    }
    std::vector<TqlrComponent*> loaded;
    try {
        ReadItem(item, nullptr, root, loaded);
        FixupReferences();
    } catch (...) {
        for (TqlrComponent* c : loaded) c->SetIsLoading(false);
        ClearFixups();
        throw;
    }
    for (TqlrComponent* c : loaded) {
        c->SetIsLoading(false);
        if (!dynamic_cast<TqlrReport*>(c)) c->Loaded();
    }
}

std::string TqlrXMLSerializer::WriteComponentStr(TqlrComponent* c)
{
    return c->ClassName() + ObjToXML(c);
}

TqlrComponent* TqlrXMLSerializer::ReadComponentStr(TqlrComponent* root, const std::string& s, bool dontFixup)
{
    FOwner = root;
    std::string text = rtl::Trim(s);
    if (text.empty()) return nullptr;
    std::size_t blank = text.find(' ');
    std::string className = text.substr(0, blank);
    std::string attributes = blank == std::string::npos ? std::string() : text.substr(blank + 1);
    const rtl::TClassInfo& cls = rtl::FindClass(className);
    TqlrComponent* c = CreateComponent(cls, root);
    c->SetIsLoading(true);
    auto close = [&] {
        if (dontFixup) ClearFixups();
        else FixupReferences();
        c->SetIsLoading(false);
        if (!dynamic_cast<TqlrReport*>(c)) c->Loaded();
    };
    try {
        XMLToObj(attributes, c);
    } catch (...) {
        close();
        throw;
    }
    close();
    return c;
}

void TqlrXMLSerializer::WriteComponent(TqlrComponent* c)
{
    std::string text = "<" + WriteComponentStr(c) + "/>";
    if (FStream) FStream->WriteString(text);
}

TqlrComponent* TqlrXMLSerializer::ReadComponent(TqlrComponent* root)
{
    TqlrXMLItem item;
    {
        TqlrXMLReader reader(*FStream);
        reader.ReadRootItem(&item, false);
    }
    return ReadComponentStr(root, item.Name() + " " + item.Text(), false);
}

void TqlrXMLSerializer::ReadPersistentStr(TqlrComponent* root, rtl::TObject* obj, const std::string& s)
{
    FOwner = root;
    XMLToObj(s, obj);
    FixupReferences();
}

void TqlrXMLSerializer::CopyFixupList(std::vector<TqlrFixupItem>* fixList) const
{
    if (!fixList) return;
    fixList->insert(fixList->end(), FFixups.begin(), FFixups.end());
}

rtl::TComponent* TqlrXMLSerializer::FindReference(const std::string& name) const
{
    if (FOwner)
        if (rtl::TComponent* c = FOwner->FindObject(name)) return c;
    return FindComponentByPath(FOwner, name);
}

void TqlrXMLSerializer::FixupReferences()
{
    std::vector<TqlrFixupItem> fixups;
    fixups.swap(FFixups);
    for (const TqlrFixupItem& f : fixups) {
        rtl::TComponent* c = FindReference(f.Value);
        if (!c) continue;
        try {
            f.PropInfo->SetObject(f.Obj, c);
        } catch (const rtl::Exception& e) {
            FErrors.Add(e.Message());
        }
    }
}

} // namespace qlr
