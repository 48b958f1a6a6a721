#include "script/qs_iinirtti.h"

#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/TypInfo.h"
#include "script/qs_iclassesrtti.h"

namespace qs {

using rtl::TClassInfo;
using rtl::TObject;

const TClassInfo& CustomIniFileClass()
{
    static const TClassInfo& info =
        rtl::TClassDecl<rtl::TCustomIniFile>::Build("TCustomIniFile", &TObject::StaticClassInfo(), nullptr);
    return info;
}
const TClassInfo& MemIniFileClass()
{
    static const TClassInfo& info =
        rtl::TClassDecl<rtl::TMemIniFile>::Build("TMemIniFile", &CustomIniFileClass(), nullptr);
    return info;
}
const TClassInfo& IniFileClass()
{
    static const TClassInfo& info = rtl::TClassDecl<rtl::TIniFile>::Build("TIniFile", &MemIniFileClass(), nullptr);
    return info;
}

namespace {

std::string StrParam(TqsMethodHelper* c, int i) { return rtl::VarToStr(c->GetParam(i)); }

rtl::TStringList* ListParam(TqsMethodHelper* c, int i)
{
    auto* l = dynamic_cast<rtl::TStringList*>(c->GetParam(i).AsObject());
    if (!l) throw rtl::EInvalidOperation("A string list is expected");
    return l;
}

rtl::TStream* StreamParam(TqsMethodHelper* c, int i) { return classes::StreamOf(c->GetParam(i)); }

// Without a default argument the Boolean parameter is missing (Null).
bool BoolParam(TqsMethodHelper* c, int i, bool def)
{
    Variant v = c->GetParam(i);
    return v.IsNull() || v.IsEmpty() ? def : v.AsBoolean();
}

// The whole content of an ini object to a stream and back.  A TIniFile
// is served first (it derives from TMemIniFile here): its file is the
// content.
void SaveIniToStream(TObject* instance, rtl::TStream* stream)
{
    if (!instance || !stream) return;
    rtl::TStringList lines;
    if (auto* ini = dynamic_cast<rtl::TIniFile*>(instance)) {
        if (rtl::FileExists(ini->FileName())) lines.LoadFromFile(ini->FileName());
    } else if (auto* mem = dynamic_cast<rtl::TMemIniFile*>(instance)) {
        mem->GetStrings(lines);
    } else {
        return;
    }
    lines.SaveToStream(*stream);
}

void LoadIniFromStream(TObject* instance, rtl::TStream* stream)
{
    if (!instance || !stream) return;
    rtl::TStringList lines;
    if (auto* ini = dynamic_cast<rtl::TIniFile*>(instance)) {
        lines.LoadFromStream(*stream);
        lines.SaveToFile(ini->FileName());
        // The file object keeps a copy of the file: read it again.
        ini->Rename(ini->FileName(), true);
    } else if (auto* mem = dynamic_cast<rtl::TMemIniFile*>(instance)) {
        lines.LoadFromStream(*stream);
        mem->SetStrings(lines);
    }
}

} // namespace

TqsIniFunctions::TqsIniFunctions(TqsScript* AScript) : TqsRTTIModule(AScript)
{
    TqsScript* s = AScript;
    auto call = [this](TObject* i, const TClassInfo* c, const std::string& n, TqsMethodHelper* h) {
        return CallMethod(i, c, n, h);
    };
    auto fileName = [](TObject* i, const TClassInfo*, const std::string&) {
        auto* ini = dynamic_cast<rtl::TCustomIniFile*>(i);
        return ini ? Variant(ini->FileName()) : Variant(0);
    };
    if (auto* c = s->AddClass(&CustomIniFileClass(), "TObject")) {
        c->AddConstructor("constructor Create(const FileName: String)", call);
        for (const char* d :
             {"function ReadInteger(const Section, Ident: String; Default: LongInt): LongInt",
              "procedure WriteInteger(const Section, Ident: String; Value: LongInt)",
              "function ReadBool(const Section, Ident: String; Default: Boolean): Boolean",
              "procedure WriteBool(const Section, Ident: String; Value: Boolean)",
              "function ReadDate(const Section, Name: String; Default: TDateTime): TDateTime",
              "procedure WriteDate(const Section, Name: String; Value: TDateTime)",
              "function ReadDateTime(const Section, Name: String; Default: TDateTime): TDateTime",
              "procedure WriteDateTime(const Section, Name: String; Value: TDateTime)",
              "function ReadFloat(const Section, Name: String; Default: Double): Double",
              "procedure WriteFloat(const Section, Name: String; Value: Double)",
              "function ReadTime(const Section, Name: String; Default: TDateTime): TDateTime",
              "procedure WriteTime(const Section, Name: String; Value: TDateTime);",
              "function ReadBinaryStream(const Section, Name: String; Value: TStream): Integer",
              "procedure WriteBinaryStream(const Section, Name: String; Value: TStream)",
              "function SectionExists(const Section: String): Boolean",
              "function ValueExists(const Section, Ident: String): Boolean",
              "procedure WriteTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True)",
              "function ReadTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True): String;"})
            c->AddMethod(d, call);
        c->AddProperty("FileName", "String", fileName);
    }
    static const char* const shared[] = {
        "procedure WriteString(const Section, Ident, Value: String)",
        "function ReadString(const Section, Ident, Default: String): String;",
        "procedure ReadSectionValuesEx(const Section: String; Strings: TStrings)",
        "procedure DeleteKey(const Section, Ident: String)",
        "procedure ReadSection(const Section: String; Strings: TStrings)",
        "procedure ReadSections(Strings: TStrings)",
        "procedure ReadSectionValues(const Section: String; Strings: TStrings)",
        "procedure EraseSection(const Section: String)",
        "procedure SaveIniFileToStream(oStream: TStream)",
        "procedure LoadIniFileFromStream(oStream: TStream)"};
    if (auto* c = s->AddClass(&MemIniFileClass(), "TCustomIniFile")) {
        c->AddConstructor("constructor Create(const FileName: String)", call);
        for (const char* d : shared) c->AddMethod(d, call);
        for (const char* d : {"procedure Clear", "procedure GetStrings(List: TStrings)", "procedure SetStrings(List: TStrings)"})
            c->AddMethod(d, call);
    }
    if (auto* c = s->AddClass(&IniFileClass(), "TCustomIniFile"))
        for (const char* d : shared) c->AddMethod(d, call);
}

Variant TqsIniFunctions::CallMethod(TObject* Instance, const TClassInfo* ClassType, const std::string& MethodName,
                                    TqsMethodHelper* Caller)
{
    const std::string& n = MethodName;
    Variant result(0);
    bool custom = ClassType == &CustomIniFileClass();
    bool mem = ClassType == &MemIniFileClass() || ClassType == &IniFileClass();
    if (!custom && !mem) return result;
    if (n == "CREATE") {
        const TClassInfo* cls = Caller->ConstructedClass();
        std::string file = StrParam(Caller, 0);
        if (cls && cls->InheritsFrom(IniFileClass())) return Variant::FromObject(new rtl::TIniFile(file));
        if (cls && cls->InheritsFrom(MemIniFileClass())) return Variant::FromObject(new rtl::TMemIniFile(file));
        throw rtl::EInvalidOperation("Cannot create an instance of " + std::string(cls ? cls->Name() : "TCustomIniFile"));
    }
    auto* ini = dynamic_cast<rtl::TCustomIniFile*>(Instance);
    if (!ini) return result;
    if (custom) {
        std::string sec = StrParam(Caller, 0);
        if (n == "READINTEGER") result = Variant(ini->ReadInteger(sec, StrParam(Caller, 1), Caller->GetParam(2).AsInteger()));
        else if (n == "WRITEINTEGER") ini->WriteInteger(sec, StrParam(Caller, 1), Caller->GetParam(2).AsInteger());
        else if (n == "READBOOL") result = Variant(ini->ReadBool(sec, StrParam(Caller, 1), Caller->GetParam(2).AsBoolean()));
        else if (n == "WRITEBOOL") ini->WriteBool(sec, StrParam(Caller, 1), Caller->GetParam(2).AsBoolean());
        else if (n == "READDATE") result = Variant(ini->ReadDate(sec, StrParam(Caller, 1), Caller->GetParam(2).AsDouble()));
        else if (n == "WRITEDATE") ini->WriteDate(sec, StrParam(Caller, 1), Caller->GetParam(2).AsDouble());
        else if (n == "READDATETIME") result = Variant(ini->ReadDateTime(sec, StrParam(Caller, 1), Caller->GetParam(2).AsDouble()));
        else if (n == "WRITEDATETIME") ini->WriteDateTime(sec, StrParam(Caller, 1), Caller->GetParam(2).AsDouble());
        else if (n == "READFLOAT") result = Variant(ini->ReadFloat(sec, StrParam(Caller, 1), Caller->GetParam(2).AsDouble()));
        else if (n == "WRITEFLOAT") ini->WriteFloat(sec, StrParam(Caller, 1), Caller->GetParam(2).AsDouble());
        else if (n == "READTIME") result = Variant(ini->ReadTime(sec, StrParam(Caller, 1), Caller->GetParam(2).AsDouble()));
        else if (n == "WRITETIME") ini->WriteTime(sec, StrParam(Caller, 1), Caller->GetParam(2).AsDouble());
        else if (n == "READBINARYSTREAM" || n == "WRITEBINARYSTREAM") {
            rtl::TStream* st = StreamParam(Caller, 2);
            if (!st) throw rtl::EInvalidOperation("A stream object is expected");
            if (n == "READBINARYSTREAM") result = Variant(ini->ReadBinaryStream(sec, StrParam(Caller, 1), *st));
            else ini->WriteBinaryStream(sec, StrParam(Caller, 1), *st);
        }
        else if (n == "SECTIONEXISTS") result = Variant(ini->SectionExists(sec));
        else if (n == "VALUEEXISTS") result = Variant(ini->ValueExists(sec, StrParam(Caller, 1)));
        else if (n == "WRITETSTRINGS") {
            rtl::TStringList* l = ListParam(Caller, 1);
            if (BoolParam(Caller, 2, true)) ini->EraseSection(sec);
            for (int i = 0; i < l->Count(); ++i) ini->WriteString(sec, "Items" + std::to_string(i), l->Strings(i));
            ini->WriteInteger(sec, "Count", l->Count());
        } else if (n == "READTSTRINGS") {
            rtl::TStringList* l = ListParam(Caller, 1);
            int32_t count = ini->ReadInteger(sec, "Count", 0);
            if (BoolParam(Caller, 2, true)) l->Clear();
            for (int32_t i = 0; i < count; ++i) l->Add(ini->ReadString(sec, "Items" + std::to_string(i), ""));
        }
        return result;
    }
    if (n == "SAVEINIFILETOSTREAM") {
        SaveIniToStream(Instance, StreamParam(Caller, 0));
        return result;
    }
    if (n == "LOADINIFILEFROMSTREAM") {
        LoadIniFromStream(Instance, StreamParam(Caller, 0));
        return result;
    }
    if (n == "READSECTIONS") {
        ini->ReadSections(*ListParam(Caller, 0));
        return result;
    }
    auto* m = dynamic_cast<rtl::TMemIniFile*>(Instance);
    if (n == "CLEAR" && m) m->Clear();
    else if (n == "GETSTRINGS" && m) m->GetStrings(*ListParam(Caller, 0));
    else if (n == "SETSTRINGS" && m) m->SetStrings(*ListParam(Caller, 0));
    if (n == "CLEAR" || n == "GETSTRINGS" || n == "SETSTRINGS") return result;
    std::string sec = StrParam(Caller, 0);
    if (n == "WRITESTRING") ini->WriteString(sec, StrParam(Caller, 1), StrParam(Caller, 2));
    else if (n == "READSTRING") result = Variant(ini->ReadString(sec, StrParam(Caller, 1), StrParam(Caller, 2)));
    else if (n == "READSECTIONVALUESEX") {
        rtl::TStringList* out = ListParam(Caller, 1);
        rtl::TStringList lines;
        ini->ReadSectionValues(sec, lines);
        out->Clear();
        for (int i = 0; i < lines.Count(); ++i) out->Add(lines.ValueFromIndex(i));
    }
    else if (n == "DELETEKEY") ini->DeleteKey(sec, StrParam(Caller, 1));
    else if (n == "READSECTION") ini->ReadSection(sec, *ListParam(Caller, 1));
    else if (n == "READSECTIONVALUES") ini->ReadSectionValues(sec, *ListParam(Caller, 1));
    else if (n == "ERASESECTION") ini->EraseSection(sec);
    return result;
}

} // namespace qs
