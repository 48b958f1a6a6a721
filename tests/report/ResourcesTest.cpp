// The report engine's string resources: the start-up table, look-up rules,
// string tables and language files, and the script messages they replace.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TestPaths.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "report/qlrRes.h"
#include "script/qs_iconst.h"

using namespace qlr;

namespace {

// Loading a table into a private instance also rewrites the script
// messages; put the global texts back afterwards.
struct RestoreScriptMessages {
    ~RestoreScriptMessages() { GetResources().UpdateFSResources(); }
};

} // namespace

TEST(ReportResources, StartupTable)
{
    TqlrResources& res = GetResources();
    EXPECT_EQ(res.Count(), 178);
    EXPECT_EQ(res.CP(), 1252u);
    EXPECT_EQ(res.HelpFile(), "VURudo.chm");
    const std::pair<std::string, std::string> cases[] = {
        {"1", "OK"},
        {"207", "Other"},                       // stored as "!Other"
        {"poReverse", "Reverse (9-1)"},
        {"MBERROR", "Error"},                   // names ignore case
        {"clFirstPass", "First pass: page "},   // trailing blank kept
        {"clDSNotExist", "Dataset \"%s\" does not exist"},
        {"clErrors", "The following error(s) have occured:"},
        {"510", "Printer file (*.prn)|*.prn"},
        {"clStrNotFound", "Text not found"},
        {"obDMPText", "obDMPText"},             // unknown: the name itself
        {"!unknown", "unknown"},                // one "!" goes in both cases
    };
    for (const auto& [name, text] : cases) EXPECT_EQ(res.Get(name), text) << name;
    EXPECT_EQ(GetResourceString(207), "Other");
    EXPECT_EQ(GetResourceString(9), "Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12");
}

TEST(ReportResources, StartupReplacesScriptMessages)
{
    GetResources();
    EXPECT_EQ(qs::SStringError, "Strings do not have properties or methods");
    EXPECT_EQ(qs::SIdUndeclared, "Undeclared identifier: ");
    EXPECT_EQ(qs::SEventError, "Event handler must be a procedure");
}

TEST(ReportResources, AddReplacesAndAddStringsSkipsHalfPairs)
{
    RestoreScriptMessages restore;
    TqlrResources res;
    res.AddStrings("a=1\r\nb=\r\n=c\r\nnoequals\r\nd=x=y");
    EXPECT_EQ(res.Count(), 2);
    EXPECT_EQ(res.Get("a"), "1");
    EXPECT_EQ(res.Get("b"), "b");
    EXPECT_EQ(res.Get("d"), "x=y");
    res.Add("A", "one");                       // same name, other case: replaced
    EXPECT_EQ(res.Count(), 2);
    EXPECT_EQ(res.Get("a"), "one");
    res.Clear();
    EXPECT_EQ(res.Get("a"), "a");
}

TEST(ReportResources, StringTablesAndLanguageFiles)
{
    RestoreScriptMessages restore;
    auto dir = tectest::ScratchDir("report-res");
    const std::string file = (dir / "german.frc").string();
    rtl::WriteFileAtomic(file,
        "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
        "<Resources CodePage=\"1252\">\r\n"
        "  <StrRes Name=\"mbError\" Text=\"Fehler\"/>\r\n"
        "  <Other Name=\"mbInfo\" Text=\"skipped\"/>\r\n"
        "  <StrRes Name=\"q\" Text=\"&#38;#34;Gr\xC3\xBC\xC3\x9F""e&#38;#34;\"/>\r\n"
        "  <StrRes Name=\"SStringError\" Text=\"Zeichenketten haben keine Eigenschaften\"/>\r\n"
        "</Resources>\r\n");
    TqlrResources res;
    res.Add("mbError", "Error");
    res.Add("mbInfo", "Information");
    res.LoadFromFile(file);
    EXPECT_EQ(res.Get("mbError"), "Fehler");
    EXPECT_EQ(res.Get("mbInfo"), "Information");
    EXPECT_EQ(res.Get("q"), "\"Gr\xC3\xBC\xC3\x9F" "e\"");
    EXPECT_EQ(qs::SStringError, "Zeichenketten haben keine Eigenschaften");
    EXPECT_EQ(res.Count(), 4);

    res.LoadFromFile((dir / "missing.frc").string());   // nothing happens
    EXPECT_EQ(res.Count(), 4);

    // An old-format table carries UTF-8 bytes in its single-byte text.
    res.AddXML("<?xml version=\"1.0\"?><Resources CodePage=\"1251\"><StrRes Name=\"d\" Text=\"\xD0\x94\"/></Resources>");
    EXPECT_EQ(res.Get("d"), "\xD0\x94");
    EXPECT_EQ(res.CP(), 1251u);

    res.AddXML("<?xml version=\"1.0\" standalone=\"no\"?><Strings CodePage=\"x\"><StrRes Name=\"z\" Text=\"1\"/></Strings>");
    EXPECT_EQ(res.Get("z"), "z");              // another root: ignored
    EXPECT_THROW(res.AddXML("<?xml version=\"1.0\" standalone=\"no\"?><Resources CodePage=\"x\"/>"),
                 rtl::EConvertError);
    std::filesystem::remove_all(dir);
}

TEST(ReportResources, LanguagesAreTheFrcFilesBesideTheProgram)
{
    const std::string stem = "qlrtest" + tectest::ProcessTag();
    const std::string file = rtl::ExecutableDir() + stem + ".FRC";
    rtl::WriteFileAtomic(file, "");
    TqlrResources res;
    rtl::DeleteFile(file);
    const auto& langs = res.Languages();
    EXPECT_NE(std::find(langs.begin(), langs.end(), "Q" + stem.substr(1)), langs.end());
    EXPECT_TRUE(std::is_sorted(langs.begin(), langs.end()));
}
