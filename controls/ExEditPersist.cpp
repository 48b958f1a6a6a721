// TExEdit: keeping the displayed text (and with lookup history the lookup
// lists) in an ini file or in the registry stand-in, written when the edit
// goes and read when it has been loaded.

#include "controls/ExEdit.h"

#include <filesystem>

#include "platform/gui/Forms.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/RegistryIni.h"
#include "platform/sys/XdgFolders.h"

namespace controls {

using namespace gui;

namespace {

std::string ProgramName()
{
    const std::filesystem::path exe = Application->ExeName();
    return exe.stem().string().empty() ? std::string("program") : exe.stem().string();
}

} // namespace

std::string PersistenceIniFile()
{
    return (std::filesystem::path(sys::TXdgFolders::ConfigHome()) / (ProgramName() + ".INI")).string();
}

// The registry stand-in is the platform's one file, shared with every other
// control that keeps its settings "in the registry".
std::string PersistenceRegistryFile() { return sys::TRegistryIniFile::StoreFileName(); }

// The store and the section the entries go to.  The ini location fills in
// its defaults (kept in the object); the registry maps the key and subkey
// to the section "Key\Section" of the registry file.
static std::unique_ptr<rtl::TIniFile> OpenStore(TPersistence& p, const std::string& name, std::string& section)
{
    std::string file;
    if (p.Location == TPersistenceLocation::plInifile) {
        if (p.Key.empty()) p.Key = PersistenceIniFile();
        if (p.Section.empty()) p.Section = name;
        file = p.Key;
        section = p.Section;
    } else {
        file = PersistenceRegistryFile();
        section = p.Section.empty() ? p.Key : p.Key + "\\" + p.Section;
    }
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::path(file).parent_path();
    if (!dir.empty()) std::filesystem::create_directories(dir, ec);
    return std::make_unique<rtl::TIniFile>(file);
}

void TExEdit::SavePersist()
{
    if (!FPersistence->Enable) return;
    std::string section;
    auto store = OpenStore(*FPersistence, Name(), section);
    store->WriteString(section, Name(), GetText());
    if (FLookup->Enabled && FLookup->History) {
        rtl::TStringList* d = FLookup->DisplayList();
        rtl::TStringList* v = FLookup->ValueList();
        store->WriteString(section, "LOOKUPCOUNT", rtl::IntToStr(d->Count()));
        for (int i = 1; i <= d->Count(); ++i) {
            store->WriteString(section, "LOOKUPDISPL" + rtl::IntToStr(i), d->Strings(i - 1));
            if (i - 1 < v->Count()) store->WriteString(section, "LOOKUPVAL" + rtl::IntToStr(i), v->Strings(i - 1));
        }
    }
}

void TExEdit::LoadPersist()
{
    if (!FPersistence->Enable) return;
    std::string section;
    auto store = OpenStore(*FPersistence, Name(), section);
    if (FLookup->Enabled && FLookup->History) {
        const int count = rtl::StrToIntDef(store->ReadString(section, "LOOKUPCOUNT", "0"), 0);
        for (int i = 1; i <= count; ++i) {
            const std::string v = store->ReadString(section, "LOOKUPVAL" + rtl::IntToStr(i), "");
            if (!v.empty()) FLookup->ValueList()->Add(v);
            const std::string d = store->ReadString(section, "LOOKUPDISPL" + rtl::IntToStr(i), "");
            if (!d.empty()) FLookup->DisplayList()->Add(d);
        }
    }
    const std::string text = store->ReadString(section, Name(), "@");
    if (text != "@") SetDisplayText(text);
}

} // namespace controls
