#include "script/qs_iclassesrtti.h"

#include <algorithm>

#include "platform/rtl/Collections.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypInfo.h"
#include "script/qs_iinirtti.h"

namespace qs {

namespace classes {

using rtl::TClassInfo;

TFileStream::TFileStream(const std::string& fileName, uint32_t mode)
    : TStream(std::make_unique<rtl::TFileStream>(fileName, mode))
{
}

TMemoryStream::TMemoryStream() : TStream(std::make_unique<rtl::TMemoryStream>()) {}

const TClassInfo& StreamClass()
{
    static const TClassInfo& info = rtl::TClassDecl<TStream>::Build("TStream", &rtl::TObject::StaticClassInfo(), nullptr);
    return info;
}
const TClassInfo& FileStreamClass()
{
    static const TClassInfo& info = rtl::TClassDecl<TFileStream>::Build("TFileStream", &StreamClass(), nullptr);
    return info;
}
const TClassInfo& MemoryStreamClass()
{
    static const TClassInfo& info = [] () -> const TClassInfo& {
        const TClassInfo& i = rtl::TClassDecl<TMemoryStream>::Build("TMemoryStream", &StreamClass(), nullptr);
        const_cast<TClassInfo&>(i).FFactory = [](rtl::TObject*) -> rtl::TObject* { return new TMemoryStream(); };
        return i;
    }();
    return info;
}

namespace {
struct TStringsTag {};
} // namespace

const TClassInfo& StringsClass()
{
    // Not entered in the type registry: a string list's own class stays
    // TStringList.
    static const TClassInfo* info = [] {
        auto* i = new TClassInfo("TStrings", &rtl::TPersistent::StaticClassInfo(), typeid(TStringsTag));
        i->FIsInstance = [](const rtl::TObject* o) { return dynamic_cast<const rtl::TStringList*>(o) != nullptr; };
        i->FProps = rtl::TPersistent::StaticClassInfo().Properties();
        return i;
    }();
    return *info;
}

const TClassInfo* TStream::ClassType() const { return &StreamClass(); }
const TClassInfo* TFileStream::ClassType() const { return &FileStreamClass(); }
const TClassInfo* TMemoryStream::ClassType() const { return &MemoryStreamClass(); }

rtl::TStream* StreamOf(const Variant& v)
{
    rtl::TObject* o = nullptr;
    try {
        o = v.AsObject();
    } catch (const rtl::Exception&) {
        return nullptr;
    }
    auto* s = dynamic_cast<TStream*>(o);
    return s ? &s->Stream() : nullptr;
}

int64_t ReadBytesAsText(rtl::TStream& s, int64_t count, std::string& text)
{
    text.clear();
    if (count <= 0) return 0;
    std::string buf(static_cast<size_t>(count), '\0');
    int64_t n = s.Read(buf.data(), count);
    for (int64_t i = 0; i < n; ++i)
        rtl::AppendUTF8(text, static_cast<char32_t>(static_cast<uint8_t>(buf[static_cast<size_t>(i)])));
    return n;
}

int64_t WriteTextAsBytes(rtl::TStream& s, const std::string& text, int64_t count)
{
    std::u16string u = rtl::UTF8ToUTF16(text);
    int64_t n = std::min<int64_t>(count, static_cast<int64_t>(u.size()));
    if (n <= 0) return 0;
    std::string bytes(static_cast<size_t>(n), '\0');
    for (int64_t i = 0; i < n; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(u[static_cast<size_t>(i)] & 0xFF);
    return s.Write(bytes.data(), n);
}

} // namespace classes

namespace {

using rtl::TClassInfo;
using rtl::TObject;

const TClassInfo* ObjectClass() { return &TObject::StaticClassInfo(); }
const TClassInfo* PersistentClass() { return &rtl::TPersistent::StaticClassInfo(); }
const TClassInfo* ComponentClass() { return &rtl::TComponent::StaticClassInfo(); }
const TClassInfo* ListClass() { return &rtl::typinfo_detail::ExternalClassInfo(typeid(rtl::TList)); }
const TClassInfo* StringListClass() { return &rtl::typinfo_detail::ExternalClassInfo(typeid(rtl::TStringList)); }
const TClassInfo* CollectionClass() { return &rtl::TCollection::StaticClassInfo(); }
const TClassInfo* CollectionItemClass() { return &rtl::TCollectionItem::StaticClassInfo(); }

template <typename T>
T* ObjParam(TqsMethodHelper* c, int i)
{
    return dynamic_cast<T*>(c->GetParam(i).AsObject());
}
std::string StrParam(TqsMethodHelper* c, int i) { return rtl::VarToStr(c->GetParam(i)); }
int32_t IntParam(TqsMethodHelper* c, int i) { return c->GetParam(i).AsInteger(); }

rtl::TStream& StreamParam(TqsMethodHelper* c, int i)
{
    rtl::TStream* s = classes::StreamOf(c->GetParam(i));
    if (!s) throw rtl::EInvalidOperation("A stream object is expected");
    return *s;
}

} // namespace

TqsClassesFunctions::TqsClassesFunctions(TqsScript* AScript) : TqsRTTIModule(AScript)
{
    TqsScript* s = AScript;
    auto call = [this](TObject* i, const TClassInfo* c, const std::string& n, TqsMethodHelper* h) {
        return CallMethod(i, c, n, h);
    };
    auto get = [this](TObject* i, const TClassInfo* c, const std::string& n) { return GetProp(i, c, n); };
    auto set = [this](TObject* i, const TClassInfo* c, const std::string& n, const Variant& v) { SetProp(i, c, n, v); };

    for (auto [name, value] : {std::pair{"fmCreate", 65280}, {"fmOpenRead", 0}, {"fmOpenWrite", 1},
                               {"fmOpenReadWrite", 2}, {"fmShareExclusive", 16}, {"fmShareDenyWrite", 32},
                               {"fmShareDenyNone", 64}, {"soFromBeginning", 0}, {"soFromCurrent", 1},
                               {"soFromEnd", 2}})
        s->AddConst(name, "Integer", Variant(value));
    s->AddEnum("TDuplicates", "dupIgnore, dupAccept, dupError");
    s->AddEnum("TPrinterOrientation", "poPortrait, poLandscape");

    if (auto* c = s->AddClass(ObjectClass(), "")) {
        c->AddConstructor("constructor Create", call);
        c->AddMethod("procedure Free", call);
        c->AddMethod("function ClassName: String", call);
    }
    if (auto* c = s->AddClass(PersistentClass(), "TObject")) c->AddMethod("procedure Assign(Source: TPersistent)", call);
    s->AddClass(CollectionItemClass(), "TPersistent");
    if (auto* c = s->AddClass(CollectionClass(), "TPersistent")) {
        c->AddMethod("procedure Clear", call);
        c->AddProperty("Count", "Integer", get);
        c->AddDefaultProperty("Items", "Integer", "TCollectionItem", call, true);
    }
    if (auto* c = s->AddClass(ListClass(), "TObject")) {
        for (const char* d : {"function Add(Item: TObject): Integer", "procedure Clear", "procedure Delete(Index: Integer)",
                              "function IndexOf(Item: TObject): Integer", "procedure Insert(Index: Integer; Item: TObject)",
                              "function Remove(Item: TObject): Integer"})
            c->AddMethod(d, call);
        c->AddProperty("Count", "Integer", get);
        c->AddDefaultProperty("Items", "Integer", "TObject", call);
    }
    if (auto* c = s->AddClass(&classes::StringsClass(), "TPersistent")) {
        for (const char* d :
             {"function Add(const S: string): Integer", "function AddObject(const S: string; AObject: TObject): Integer",
              "procedure Clear", "procedure Delete(Index: Integer)", "function IndexOf(const S: string): Integer",
              "function IndexOfName(const Name: string): Integer", "function IndexOfObject(AObject: TObject): Integer",
              "procedure Insert(Index: Integer; const S: string)",
              "procedure InsertObject(Index: Integer; const S: string; AObject: TObject)",
              "procedure LoadFromFile(const FileName: string)", "procedure LoadFromStream(Stream: TStream)",
              "procedure SaveToFile(const FileName: string)", "procedure Move(CurIndex, NewIndex: Integer)",
              "procedure SaveToStream(Stream: TStream)"})
            c->AddMethod(d, call);
        c->AddProperty("CommaText", "string", get, set);
        c->AddProperty("Count", "Integer", get);
        c->AddIndexProperty("Names", "Integer", "string", call, true);
        c->AddIndexProperty("Objects", "Integer", "TObject", call);
        c->AddIndexProperty("Values", "String", "string", call);
        c->AddDefaultProperty("Strings", "Integer", "string", call);
        c->AddProperty("Text", "string", get, set);
    }
    if (auto* c = s->AddClass(StringListClass(), "TStrings")) {
        c->AddMethod("function Find(s: String; var Index: Integer): Boolean", call);
        c->AddMethod("procedure Sort", call);
        c->AddProperty("Duplicates", "TDuplicates", get, set);
        c->AddProperty("Sorted", "Boolean", get, set);
    }
    if (auto* c = s->AddClass(&classes::StreamClass(), "TObject")) {
        c->AddMethod("function Read(var Buffer: string; Count: Longint): Longint", call);
        c->AddMethod("function Write(Buffer: string; Count: Longint): Longint", call);
        c->AddMethod("function Seek(Offset: Longint; Origin: Word): Longint", call);
        c->AddMethod("function CopyFrom(Source: TStream; Count: Longint): Longint", call);
        c->AddProperty("Position", "Longint", get, set);
        c->AddProperty("Size", "Longint", get);
    }
    if (auto* c = s->AddClass(&classes::FileStreamClass(), "TStream"))
        c->AddConstructor("constructor Create(Filename: String; Mode: Word)", call);
    if (auto* c = s->AddClass(&classes::MemoryStreamClass(), "TStream")) {
        for (const char* d : {"procedure Clear", "procedure LoadFromStream(Stream: TStream)",
                              "procedure LoadFromFile(Filename: String)", "procedure SaveToStream(Stream: TStream)",
                              "procedure SaveToFile(Filename: String)"})
            c->AddMethod(d, call);
    }
    auto xget = [](TObject* i, const TClassInfo* c, const std::string& n) {
        return classes::CallXml(i, c, n, nullptr);
    };
    auto xset = [](TObject* i, const TClassInfo*, const std::string& n, const Variant& v) { classes::SetXml(i, n, v); };
    auto xcall = [](TObject* i, const TClassInfo* c, const std::string& n, TqsMethodHelper* h) {
        return classes::CallXml(i, c, n, h);
    };
    if (auto* c = s->AddClass(&classes::XMLItemClass(), "TObject")) {
        c->AddConstructor("constructor Create", xcall);
        for (const char* d : {"procedure AddItem(Item: TqsXMLItem)", "procedure Clear",
                              "procedure InsertItem(Index: Integer; Item: TqsXMLItem)", "function Add: TqsXMLItem",
                              "function Find(const Name: String): Integer",
                              "function FindItem(const Name: String): TqsXMLItem", "function Root: TqsXMLItem"})
            c->AddMethod(d, xcall);
        c->AddProperty("Data", "Integer", xget, xset);
        c->AddProperty("Count", "Integer", xget);
        c->AddDefaultProperty("Items", "Integer", "TqsXMLItem", xcall, true);
        c->AddIndexProperty("Prop", "String", "String", xcall);
        c->AddProperty("Name", "String", xget, xset);
        c->AddProperty("Parent", "TqsXMLItem", xget);
        c->AddProperty("Text", "String", xget, xset);
    }
    if (auto* c = s->AddClass(&classes::XMLDocumentClass(), "TObject")) {
        c->AddConstructor("constructor Create", xcall);
        for (const char* d : {"procedure SaveToStream(Stream: TStream)", "procedure LoadFromStream(Stream: TStream)",
                              "procedure SaveToFile(const FileName: String)", "procedure LoadFromFile(const FileName: String)"})
            c->AddMethod(d, xcall);
        c->AddProperty("Root", "TqsXMLItem", xget);
    }
    if (auto* c = s->AddClass(ComponentClass(), "TPersistent")) {
        c->AddConstructor("constructor Create(AOwner: TComponent)", call);
        c->AddProperty("Owner", "TComponent", get);
    }
}

Variant TqsClassesFunctions::CallMethod(TObject* Instance, const TClassInfo* ClassType, const std::string& MethodName,
                                        TqsMethodHelper* Caller)
{
    const std::string& n = MethodName;
    Variant result(0);
    if (ClassType == ObjectClass()) {
        if (n == "CREATE") {
            // The class the script named (a descendant registered without a
            // constructor of its own) builds the instance.
            const TClassInfo* cls = Caller->ConstructedClass();
            if (!cls) return result;
            if (cls == &classes::StringsClass()) cls = StringListClass();
            return Variant::FromObject(cls->Create(nullptr));
        }
        if (n == "FREE") delete Instance;
        else if (n == "CLASSNAME" && Instance) result = Variant(Instance->ClassName());
    } else if (ClassType == PersistentClass()) {
        auto* p = dynamic_cast<rtl::TPersistent*>(Instance);
        if (p && n == "ASSIGN") p->Assign(ObjParam<rtl::TPersistent>(Caller, 0));
    } else if (ClassType == CollectionClass()) {
        auto* c = dynamic_cast<rtl::TCollection*>(Instance);
        if (!c) return result;
        if (n == "CLEAR") c->Clear();
        else if (n == "ITEMS.GET") result = Variant::FromObject(c->Items(IntParam(Caller, 0)));
    } else if (ClassType == ListClass()) {
        auto* l = dynamic_cast<rtl::TList*>(Instance);
        if (!l) return result;
        if (n == "ADD") result = Variant(l->Add(Caller->GetParam(0).AsObject()));
        else if (n == "CLEAR") l->Clear();
        else if (n == "DELETE") l->Delete(IntParam(Caller, 0));
        else if (n == "INDEXOF") result = Variant(l->IndexOf(Caller->GetParam(0).AsObject()));
        else if (n == "INSERT") l->Insert(IntParam(Caller, 0), Caller->GetParam(1).AsObject());
        else if (n == "REMOVE") result = Variant(l->Remove(Caller->GetParam(0).AsObject()));
        else if (n == "ITEMS.GET") result = Variant::FromObject(static_cast<TObject*>(l->Items(IntParam(Caller, 0))));
        else if (n == "ITEMS.SET") l->SetItems(IntParam(Caller, 0), Caller->GetParam(1).AsObject());
    } else if (ClassType == &classes::StringsClass()) {
        auto* l = dynamic_cast<rtl::TStringList*>(Instance);
        if (!l) return result;
        if (n == "ADD") result = Variant(l->Add(StrParam(Caller, 0)));
        else if (n == "ADDOBJECT") result = Variant(l->AddObject(StrParam(Caller, 0), Caller->GetParam(1).AsObject()));
        else if (n == "CLEAR") l->Clear();
        else if (n == "DELETE") l->Delete(IntParam(Caller, 0));
        else if (n == "INDEXOF") result = Variant(l->IndexOf(StrParam(Caller, 0)));
        else if (n == "INDEXOFNAME") result = Variant(l->IndexOfName(StrParam(Caller, 0)));
        else if (n == "INDEXOFOBJECT") result = Variant(l->IndexOfObject(Caller->GetParam(0).AsObject()));
        else if (n == "INSERT") l->Insert(IntParam(Caller, 0), StrParam(Caller, 1));
        else if (n == "INSERTOBJECT") l->InsertObject(IntParam(Caller, 0), StrParam(Caller, 1), Caller->GetParam(2).AsObject());
        else if (n == "LOADFROMFILE") l->LoadFromFile(StrParam(Caller, 0));
        else if (n == "LOADFROMSTREAM") l->LoadFromStream(StreamParam(Caller, 0));
        else if (n == "SAVETOFILE") l->SaveToFile(StrParam(Caller, 0));
        else if (n == "MOVE") l->Move(IntParam(Caller, 0), IntParam(Caller, 1));
        else if (n == "SAVETOSTREAM") l->SaveToStream(StreamParam(Caller, 0));
        else if (n == "NAMES.GET") result = Variant(l->Names(IntParam(Caller, 0)));
        else if (n == "OBJECTS.GET") result = Variant::FromObject(l->Objects(IntParam(Caller, 0)));
        else if (n == "OBJECTS.SET") l->SetObjects(IntParam(Caller, 0), Caller->GetParam(1).AsObject());
        else if (n == "VALUES.GET") result = Variant(l->Values(StrParam(Caller, 0)));
        else if (n == "VALUES.SET") l->SetValues(StrParam(Caller, 0), StrParam(Caller, 1));
        else if (n == "STRINGS.GET") result = Variant(l->Strings(IntParam(Caller, 0)));
        else if (n == "STRINGS.SET") l->SetStrings(IntParam(Caller, 0), StrParam(Caller, 1));
    } else if (ClassType == StringListClass()) {
        auto* l = dynamic_cast<rtl::TStringList*>(Instance);
        if (!l) return result;
        if (n == "FIND") {
            int index = 0;
            result = Variant(l->Find(StrParam(Caller, 0), index));
            Caller->SetParam(1, Variant(index));
        } else if (n == "SORT") {
            l->Sort();
        }
    } else if (ClassType == &classes::StreamClass()) {
        auto* so = dynamic_cast<classes::TStream*>(Instance);
        if (!so) return result;
        rtl::TStream& st = so->Stream();
        if (n == "READ") {
            std::string text;
            int64_t got = classes::ReadBytesAsText(st, Caller->GetParam(1).AsInt64(), text);
            Caller->SetParam(0, Variant(text));
            result = Variant(static_cast<int32_t>(got));
        } else if (n == "WRITE") {
            result = Variant(static_cast<int32_t>(
                classes::WriteTextAsBytes(st, StrParam(Caller, 0), Caller->GetParam(1).AsInt64())));
        } else if (n == "SEEK") {
            int32_t origin = IntParam(Caller, 1);
            if (origin < 0 || origin > 2) throw rtl::EInvalidOperation("Invalid seek origin");
            result = Variant(static_cast<long long>(
                st.Seek(Caller->GetParam(0).AsInt64(), static_cast<rtl::TSeekOrigin>(origin))));
        } else if (n == "COPYFROM") {
            result = Variant(static_cast<long long>(st.CopyFrom(StreamParam(Caller, 0), Caller->GetParam(1).AsInt64())));
        }
    } else if (ClassType == &classes::FileStreamClass()) {
        if (n == "CREATE")
            return Variant::FromObject(new classes::TFileStream(StrParam(Caller, 0), static_cast<uint32_t>(IntParam(Caller, 1)) & 0xFFFF));
    } else if (ClassType == &classes::MemoryStreamClass()) {
        auto* m = dynamic_cast<classes::TMemoryStream*>(Instance);
        if (!m) return result;
        if (n == "CLEAR") m->Memory().Clear();
        else if (n == "LOADFROMSTREAM") m->Memory().LoadFromStream(StreamParam(Caller, 0));
        else if (n == "LOADFROMFILE") m->Memory().LoadFromFile(StrParam(Caller, 0));
        else if (n == "SAVETOSTREAM") m->Memory().SaveToStream(StreamParam(Caller, 0));
        else if (n == "SAVETOFILE") m->Memory().SaveToFile(StrParam(Caller, 0));
    } else if (ClassType == ComponentClass()) {
        if (n == "CREATE") {
            // The instance's own class builds it, so descendants initialise.
            const TClassInfo* cls = Caller->ConstructedClass();
            if (!cls) return result;
            return Variant::FromObject(cls->Create(ObjParam<rtl::TComponent>(Caller, 0)));
        }
    }
    return result;
}

Variant TqsClassesFunctions::GetProp(TObject* Instance, const TClassInfo* ClassType, const std::string& PropName)
{
    const std::string& n = PropName;
    if (ClassType == CollectionClass()) {
        if (auto* c = dynamic_cast<rtl::TCollection*>(Instance); c && n == "COUNT") return Variant(c->Count());
    } else if (ClassType == ListClass()) {
        if (auto* l = dynamic_cast<rtl::TList*>(Instance); l && n == "COUNT") return Variant(l->Count());
    } else if (ClassType == &classes::StringsClass()) {
        auto* l = dynamic_cast<rtl::TStringList*>(Instance);
        if (!l) return Variant(0);
        if (n == "COMMATEXT") return Variant(l->CommaText());
        if (n == "COUNT") return Variant(l->Count());
        if (n == "TEXT") return Variant(l->Text());
    } else if (ClassType == StringListClass()) {
        auto* l = dynamic_cast<rtl::TStringList*>(Instance);
        if (!l) return Variant(0);
        if (n == "DUPLICATES") return Variant(static_cast<int32_t>(l->Duplicates()));
        if (n == "SORTED") return Variant(l->Sorted());
    } else if (ClassType == &classes::StreamClass()) {
        auto* so = dynamic_cast<classes::TStream*>(Instance);
        if (!so) return Variant(0);
        if (n == "POSITION") return Variant(static_cast<long long>(so->Stream().Position()));
        if (n == "SIZE") return Variant(static_cast<long long>(so->Stream().Size()));
    } else if (ClassType == ComponentClass()) {
        if (auto* c = dynamic_cast<rtl::TComponent*>(Instance); c && n == "OWNER") return Variant::FromObject(c->Owner());
    }
    return Variant(0);
}

void TqsClassesFunctions::SetProp(TObject* Instance, const TClassInfo* ClassType, const std::string& PropName,
                                  const Variant& Value)
{
    const std::string& n = PropName;
    if (ClassType == &classes::StringsClass()) {
        auto* l = dynamic_cast<rtl::TStringList*>(Instance);
        if (!l) return;
        if (n == "COMMATEXT") l->SetCommaText(rtl::VarToStr(Value));
        else if (n == "TEXT") l->SetText(rtl::VarToStr(Value));
    } else if (ClassType == StringListClass()) {
        auto* l = dynamic_cast<rtl::TStringList*>(Instance);
        if (!l) return;
        if (n == "DUPLICATES") {
            int32_t d = Value.AsInteger();
            if (d < 0 || d > 2) throw rtl::EInvalidOperation("Invalid TDuplicates value");
            l->SetDuplicates(static_cast<rtl::TDuplicates>(d));
        } else if (n == "SORTED") {
            l->SetSorted(Value.AsBoolean());
        }
    } else if (ClassType == &classes::StreamClass()) {
        if (auto* so = dynamic_cast<classes::TStream*>(Instance); so && n == "POSITION")
            so->Stream().SetPosition(Value.AsInt64());
    }
}

void qsRegisterModule(TqsRTTIModuleClass Module)
{
    auto* list = GetRTTIModuleList();
    if (list && std::find(list->begin(), list->end(), Module) == list->end()) list->push_back(Module);
}

void qsUnregisterModule(TqsRTTIModuleClass Module)
{
    auto* list = GetRTTIModuleList();
    if (list) list->erase(std::remove(list->begin(), list->end(), Module), list->end());
}

void qsRegisterFileModules()
{
    qsRegisterModule(&qsModuleFactory<TqsIniFunctions>);
    qsRegisterModule(&qsModuleFactory<TqsClassesFunctions>);
}

} // namespace qs
