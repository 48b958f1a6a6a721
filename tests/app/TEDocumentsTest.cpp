// Sibling documents: byte-exact golden documents written by hand from the
// document layout, time scales, the variants of the solar and lunar
// documents, file names, saving through the dialog, per-date folders and a
// missing layout file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "AppTestEnv.h"
#include "TlxTestUtil.h"
#include "app/TEDocuments.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "xml/XmlDom.h"

using namespace app;
using namespace tlxtest;
namespace fs = std::filesystem;

namespace {

std::string Bytes(xml::TWideXmlDom& doc)
{
    rtl::TMemoryStream stream;
    doc.SaveToStream(stream);
    return std::string(stream.View());
}

std::string Golden(const std::string& name)
{
    return apptest::ReadBytes(tectest::DataFile("app/tlx/" + name));
}

// Where a golden comparison first differs, with some context.
std::string FirstDifference(const std::string& a, const std::string& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    if (i == a.size() && i == b.size()) return "";
    const size_t from = i > 60 ? i - 60 : 0;
    return "at byte " + std::to_string(i) + "\n  got:  ..." + a.substr(from, 140) + "\n  want: ..." + b.substr(from, 140);
}

class TEDocumentTest : public testing::Test {
protected:
    void SetUp() override
    {
        Root = tectest::ScratchDir(std::string("tlx-") + testing::UnitTest::GetInstance()->current_test_info()->name());
        Globals = std::make_unique<ScopedSiblingGlobals>(Root);
        Solar = LoadSolar(Solar20240408());
        Lunar = LoadLunar(Lunar20250314());
        Context.SolarEclipse = Solar.get();
        Context.LunarEclipse = Lunar.get();
        Context.Locations = &Locations;
    }

    // Hand-set circumstances at Dallas (UT): the golden document's contacts.
    static compute::TSELocalCircumstances DallasContacts(char type = 'T')
    {
        compute::TSELocalCircumstances lc;
        lc.JD0 = JD(2024, 4, 8, 17, 23, 17);
        lc.JD1 = JD(2024, 4, 8, 18, 40, 43);
        lc.JD2 = JD(2024, 4, 8, 18, 42, 35);
        lc.JD3 = JD(2024, 4, 8, 18, 44, 27);
        lc.JD4 = JD(2024, 4, 8, 20, 2, 53);
        lc.Magnitude = 1.0123L;
        lc.EclipseType = type;
        return lc;
    }

    static compute::TLELocalCircumstances LimaContacts()
    {
        compute::TLELocalCircumstances lc;
        const long double jd[7] = {JD(2025, 3, 14, 3, 57, 27), JD(2025, 3, 14, 5, 9, 40), JD(2025, 3, 14, 6, 26, 6),
                                   JD(2025, 3, 14, 6, 58, 43), JD(2025, 3, 14, 7, 31, 26), JD(2025, 3, 14, 8, 47, 50),
                                   JD(2025, 3, 14, 10, 0, 9)};
        for (int i = 0; i < 7; ++i) lc.JD[i] = static_cast<double>(jd[i]);
        lc.State = 127;
        return lc;
    }

    // The document as text, for the tests that look at single elements.
    std::string SolarText(const TObserverData& place, const compute::TSELocalCircumstances& lc, std::string* name = nullptr)
    {
        xml::TWideXmlDom doc(TEDocumentRoot);
        std::string fileName;
        EXPECT_TRUE(BuildSolarTEDocument(Context, doc, place, lc, fileName));
        if (name) *name = fileName;
        return Bytes(doc);
    }

    fs::path Root;
    std::unique_ptr<ScopedSiblingGlobals> Globals;
    std::unique_ptr<compute::TSolarEclipse> Solar;
    std::unique_ptr<compute::TLunarEclipse> Lunar;
    TObserverDataList Locations;
    TTEContext Context;
};

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

} // namespace

TEST_F(TEDocumentTest, SolarDocumentMatchesTheGoldenFile)
{
    std::unique_ptr<TObserverData> dallas(Dallas());
    Context.TimeShiftMode = tsmSTZ;
    Context.DeltaTTableFile = "deltat-2024.txt";
    xml::TWideXmlDom doc(TEDocumentRoot);
    std::string fileName;
    ASSERT_TRUE(BuildSolarTEDocument(Context, doc, *dallas, DallasContacts(), fileName));
    EXPECT_EQ(fileName, "2024-04-08 - Total Solar Eclipse - Dallas (USA).tlx");
    const std::string golden = Golden("solar-2024-04-08-dallas.tlx");
    const std::string got = Bytes(doc);
    EXPECT_EQ(FirstDifference(got, golden), "");

    // Saving writes the same bytes under the generated name.
    std::string saved;
    ASSERT_TRUE(SaveSolarTEDocument(Context, Root.string() + "/", saved, false, DallasContacts(), *dallas));
    EXPECT_EQ(saved, Root.string() + "/" + fileName);
    EXPECT_EQ(FirstDifference(apptest::ReadBytes(saved), golden), "");
}

TEST_F(TEDocumentTest, LunarDocumentMatchesTheGoldenFile)
{
    std::unique_ptr<TObserverData> lima(Lima());
    Context.EventType = TEEventLunar;
    Context.TimeShiftMode = tsmNone;
    xml::TWideXmlDom doc(TEDocumentRoot);
    std::string fileName;
    ASSERT_TRUE(BuildLunarTEDocument(Context, doc, *lima, LimaContacts(), fileName));
    EXPECT_EQ(fileName, "2025-03-14 - Total Lunar Eclipse - Lima (Peru).tlx");
    EXPECT_EQ(FirstDifference(Bytes(doc), Golden("lunar-2025-03-14-lima.tlx")), "");

    // A given file name replaces the generated one.
    std::string name = "mine.tlx";
    ASSERT_TRUE(SaveLunarTEDocument(Context, Root.string() + "/", name, false, LimaContacts(), *lima));
    EXPECT_EQ(name, Root.string() + "/mine.tlx");
    EXPECT_EQ(FirstDifference(apptest::ReadBytes(name), Golden("lunar-2025-03-14-lima.tlx")), "");
}

TEST_F(TEDocumentTest, TheShippedLayoutFileIsCopiedWholeAsTheLastChild)
{
    std::unique_ptr<TObserverData> dallas(Dallas());
    xml::TWideXmlDom doc(TEDocumentRoot);
    std::string fileName;
    ASSERT_TRUE(BuildSolarTEDocument(Context, doc, *dallas, DallasContacts(), fileName));
    xml::TWideXmlDom layout;
    layout.LoadFromFile(ProgramPath + "l1.lyt");
    xml::TWideXmlNode* last = doc.Root()->Nodes(doc.Root()->NodeCount() - 1);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Name(), layout.Root()->Name());
    // Name, attributes and every descendant, in order.
    using namespace xml;
    EXPECT_TRUE(last->IsEqualTo(layout.Root(), {xcNodeName, xcNodeType, xcNodeValue, xcAttribCount, xcAttribNames,
                                                xcAttribValues, xcChildCount, xcChildNames, xcChildValues,
                                                xcRecursive}));
    // The program ships only the element the sibling fills in itself, not
    // a layout of panels of its own.
    EXPECT_EQ(last->Name(), "Docking");
    EXPECT_EQ(last->WriteToString(), "<Docking Version=\"1\"/>");
}

TEST_F(TEDocumentTest, AMissingLayoutFileFailsTheBuildAndNothingIsSaved)
{
    ProgramPath = Root.string() + "/nowhere/";
    std::unique_ptr<TObserverData> dallas(Dallas());
    std::string name;
    EXPECT_THROW(SaveSolarTEDocument(Context, Root.string() + "/", name, false, DallasContacts(), *dallas),
                 rtl::EFOpenError);
    EXPECT_FALSE(fs::exists(Root / "2024-04-08 - Total Solar Eclipse - Dallas (USA).tlx"));
}

// Every date-time text follows the time scale; the file name's date stays
// in universal time even where the zone moves the maximum to another day.
TEST_F(TEDocumentTest, TimeScalesShiftEveryTextButNotTheFileNamesDate)
{
    std::unique_ptr<TObserverData> place(Place("Zone Plus One", -15, 50, 0, 10, 1010, 3600, ""));
    compute::TSELocalCircumstances lc = DallasContacts();
    lc.JD2 = JD(2024, 4, 8, 23, 30, 0);
    struct Case {
        int32_t Mode;
        const char* Name;
        int32_t Shift;
        const char* Maximum;
    };
    // 15 degrees east: mean local time is one hour ahead as well.
    const Case cases[] = {{tsmNone, "no time shift", 0, "2024-04-08  23:30:00"},
                          {tsmMLT, "mean local time", 3600, "2024-04-09  00:30:00"},
                          {tsmSTZ, "standard time zone", 3600, "2024-04-09  00:30:00"}};
    for (const Case& c : cases) {
        Context.TimeShiftMode = c.Mode;
        std::string name;
        const std::string text = SolarText(*place, lc, &name);
        EXPECT_EQ(TETimeShift(c.Mode, *place), c.Shift);
        EXPECT_TRUE(Has(text, "<TimeShift>" + std::to_string(c.Shift) + "</TimeShift>")) << c.Name;
        EXPECT_TRUE(Has(text, std::string("<TimeShift>") + c.Name + "</TimeShift>")) << c.Name;
        EXPECT_TRUE(Has(text, std::string("<JD01>") + c.Maximum + "</JD01>")) << c.Name;
        EXPECT_TRUE(Has(text, std::string("Maximum eclipse   : ") + c.Maximum)) << c.Name;
        EXPECT_TRUE(Has(text, std::string("GoToJD(StrToJD(&apos;") + c.Maximum + "&apos;));")) << c.Name;
        EXPECT_EQ(name, "2024-04-08 - Total Solar Eclipse - Zone Plus One.tlx") << c.Name;
    }
}

TEST_F(TEDocumentTest, APartialSolarEclipseLeavesOutTheInnerContactsButKeepsTheScripts)
{
    std::unique_ptr<TObserverData> dallas(Dallas());
    const std::string total = SolarText(*dallas, DallasContacts('T'));
    std::string name;
    const std::string partial = SolarText(*dallas, DallasContacts('P'), &name);
    EXPECT_EQ(name, "2024-04-08 - Partial Solar Eclipse - Dallas (USA).tlx");
    EXPECT_TRUE(Has(total, "First int. contact: "));
    EXPECT_TRUE(Has(total, "Last int. contact : "));
    EXPECT_FALSE(Has(partial, "First int. contact: "));
    EXPECT_FALSE(Has(partial, "Last int. contact : "));
    EXPECT_TRUE(Has(partial, "Eclipse type      : partial"));
    auto scripts = [](const std::string& t) { return t.substr(t.find("<Script><Form>")); };
    EXPECT_EQ(scripts(partial), scripts(total));
    // Annular and hybrid have inner contacts as total ones do.
    for (char type : {'A', 'H'}) {
        const std::string t = SolarText(*dallas, DallasContacts(type), &name);
        EXPECT_TRUE(Has(t, "First int. contact: ")) << type;
        EXPECT_EQ(name, std::string("2024-04-08 - ") + (type == 'A' ? "Annular" : "Hybrid") +
                            " Solar Eclipse - Dallas (USA).tlx");
    }
}

TEST_F(TEDocumentTest, NothingIsBuiltWhereTheEclipseIsNotSeen)
{
    std::unique_ptr<TObserverData> lima(Lima());
    xml::TWideXmlDom doc(TEDocumentRoot);
    const std::string empty = Bytes(doc);
    std::string name = "untouched";
    EXPECT_FALSE(BuildSolarTEDocument(Context, doc, *lima, DallasContacts('N'), name));
    compute::TLELocalCircumstances below = LimaContacts();
    below.State = 0;
    EXPECT_FALSE(BuildLunarTEDocument(Context, doc, *lima, below, name));
    EXPECT_EQ(name, "untouched");
    EXPECT_EQ(Bytes(doc), empty);
    std::string saved;
    EXPECT_FALSE(SaveLunarTEDocument(Context, Root.string() + "/", saved, false, below, *lima));
    for (const auto& e : fs::directory_iterator(Root)) EXPECT_NE(e.path().extension(), ".tlx") << e.path();
}

// The lunar variants by the catalogue's type letter: editors, short cuts,
// contact lines and the order of the script block's tail.
TEST_F(TEDocumentTest, LunarDocumentsFollowTheEclipseType)
{
    std::unique_ptr<TObserverData> lima(Lima());
    Context.EventType = TEEventLunar;
    struct Case {
        const char* Type;
        const char* Word;
        std::vector<std::string> Editors;
        std::vector<std::string> ShortCuts;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"N", "Penumbral ",
         {"Go to Begin of Penumbral Phase", "Go to Maximum Eclipse", "Go to End of Penumbral Phase"},
         {"Go to Begin of Penumbral Phase", "Go to Maximum Eclipse", "Go to End of Penumbral Phase"},
         {"Penumbral phase begins", "Maximum eclipse", "Penumbral phase ends", "Press F11 to go to begin of penumbral phase."}},
        {"P", "Partial ",
         {"Go to Begin of Partial Phase", "Go to Maximum Eclipse", "Go to End of Partial Phase"},
         {"Go to Begin of Partial Phase", "Go to Maximum Eclipse", "Go to End of Partial Phase"},
         {"Penumbral phase begins", "Partial phase begins", "Maximum eclipse", "Partial phase ends",
          "Penumbral phase ends", "Press Ctrl+F11 to go to end of partial phase."}},
        {"T+", "Total ",
         {"Go to Begin of Partial Phase", "Go to Begin of Total Phase", "Go to Maximum Eclipse", "Go to End of Total Phase",
          "Go to End of Partial Phase"},
         {"Go to Begin of Total Phase", "Go to Maximum Eclipse", "Go to End of Total Phase"},
         {"Penumbral phase begins", "Partial phase begins", "Total phase begins", "Maximum eclipse", "Total phase ends",
          "Partial phase ends", "Penumbral phase ends"}},
        {"X", "", {}, {}, {"Penumbral phase begins", "Maximum eclipse", "Penumbral phase ends"}},
    };
    const std::vector<std::string> allLines = {"Penumbral phase begins", "Partial phase begins", "Total phase begins",
                                               "Total phase ends", "Partial phase ends", "Penumbral phase ends"};
    for (const Case& c : cases) {
        auto le = LoadLunar(Lunar20250314(c.Type));
        Context.LunarEclipse = le.get();
        xml::TWideXmlDom doc(TEDocumentRoot);
        std::string name;
        ASSERT_TRUE(BuildLunarTEDocument(Context, doc, *lima, LimaContacts(), name)) << c.Type;
        EXPECT_EQ(name, std::string("2025-03-14 - ") + c.Word + "Lunar Eclipse - Lima (Peru).tlx");
        xml::TWideXmlNode* script = doc.Root()->NodeByName("Script");
        xml::TWideXmlNode* editors = script->NodeByName("Scripts");
        ASSERT_EQ(editors->NodeCount(), 1 + static_cast<int>(c.Editors.size())) << c.Type;
        EXPECT_EQ(editors->Nodes(0)->ReadString("Caption"), "Control Script");
        for (size_t i = 0; i < c.Editors.size(); ++i) {
            xml::TWideXmlNode* e = editors->Nodes(static_cast<int>(i) + 1);
            EXPECT_EQ(e->ReadString("Caption"), c.Editors[i]) << c.Type;
            EXPECT_EQ(e->ReadString("Filename"), c.Editors[i] + ".tesp");
            EXPECT_EQ(e->ReadInteger("ID"), static_cast<int>(i) + 1);
            EXPECT_FALSE(e->ReadBool("IsUnnamed", true));
        }
        EXPECT_EQ(script->ReadInteger("LastID"), 7);
        EXPECT_EQ(script->ReadInteger("ID"), 3);
        xml::TWideXmlNode* assigned = script->NodeByName("AssignedScripts");
        if (c.ShortCuts.empty()) {
            EXPECT_EQ(assigned, nullptr) << c.Type;
            EXPECT_EQ(script->Nodes(2)->Name(), "LastID");
        } else {
            ASSERT_NE(assigned, nullptr) << c.Type;
            EXPECT_EQ(script->NodeIndexOf(assigned), 2);  // before LastID in lunar documents
            for (size_t i = 0; i < c.ShortCuts.size(); ++i)
                EXPECT_EQ(assigned->ReadString("OnShortCut" + std::to_string(i)), c.ShortCuts[i]);
        }
        const std::string memo = doc.Root()->NodeByName("Memo")->ReadString("Text");
        for (const auto& line : allLines) {
            const bool expected = std::find(c.Lines.begin(), c.Lines.end(), line) != c.Lines.end();
            EXPECT_EQ(Has(memo, line), expected) << c.Type << ": " << line;
        }
        for (const auto& line : c.Lines) EXPECT_TRUE(Has(memo, line)) << c.Type << ": " << line;
    }
}

TEST_F(TEDocumentTest, SolarScriptsAreAssignedAfterTheIds)
{
    std::unique_ptr<TObserverData> dallas(Dallas());
    xml::TWideXmlDom doc(TEDocumentRoot);
    std::string name;
    ASSERT_TRUE(BuildSolarTEDocument(Context, doc, *dallas, DallasContacts(), name));
    xml::TWideXmlNode* script = doc.Root()->NodeByName("Script");
    ASSERT_EQ(script->NodeCount(), 5);
    EXPECT_EQ(script->Nodes(2)->Name(), "LastID");
    EXPECT_EQ(script->Nodes(3)->Name(), "ID");
    EXPECT_EQ(script->Nodes(4)->Name(), "AssignedScripts");
}

TEST_F(TEDocumentTest, PlaceNamesAreCleanedForTheFileNameAndItsCopyInTheDocument)
{
    std::unique_ptr<TObserverData> place(Place("Paris: 1/2  \"Left\" <bank>", -2.35L, 48.85L, 35, 10, 1010, 3600, ""));
    std::string name;
    const std::string text = SolarText(*place, DallasContacts(), &name);
    EXPECT_EQ(name, "2024-04-08 - Total Solar Eclipse - Paris_ 1_2 _Left_ _bank_.tlx");
    EXPECT_TRUE(Has(text, "<SFN>2024-04-08 - Total Solar Eclipse - Paris_ 1_2 _Left_ _bank_.tlx</SFN>"));
    // The place itself is kept as it is, escaped where XML needs it.
    EXPECT_TRUE(Has(text, "<Place>Paris: 1/2  &quot;Left&quot; &lt;bank&gt;</Place>"));
}

TEST_F(TEDocumentTest, BodyFlagsAreLowerCaseAndEveryOtherBooleanIsCapitalised)
{
    std::unique_ptr<TObserverData> dallas(Dallas());
    const std::string text = SolarText(*dallas, DallasContacts());
    EXPECT_EQ(CountOf(text, "<Body idx="), 255u);
    EXPECT_EQ(CountOf(text, "<Quantity idx="), 57u);
    EXPECT_EQ(CountOf(text, ">true</"), 7u);
    EXPECT_EQ(CountOf(text, ">True</") + CountOf(text, ">False</"), 15u);
    EXPECT_TRUE(Has(text, "<Body idx=\"9\">true</Body><Body idx=\"10\">true</Body><Body idx=\"11\">false</Body>"));
}

TEST_F(TEDocumentTest, SavingThroughTheDialogAsksWithTheProposedNameAndSavesOnlyOnOk)
{
    Locations.Add(Dallas());
    Context.SelectedIndex = 0;
    Context.TimeShiftMode = tsmSTZ;
    std::vector<TTESaveRequest> asked;
    std::string answer;
    Context.SaveDialog = [&](const TTESaveRequest& r, std::string& fileName) {
        asked.push_back(r);
        if (answer.empty()) return false;
        fileName = answer;
        return true;
    };
    SaveTEDocumentForSelection(Context);  // declined
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Title, "Save As");
    EXPECT_EQ(asked[0].Filter, "Tolmira Ephemeris Documents (*.tlx)|*.tlx|All files|*.*");
    EXPECT_EQ(asked[0].DefaultExt, "tlx");
    EXPECT_EQ(asked[0].InitialDir, TEDocumentsPath);
    EXPECT_EQ(asked[0].FileName, "2024-04-08 - Total Solar Eclipse - Dallas (USA).tlx");
    EXPECT_TRUE(fs::is_empty(TEDocumentsPath));

    answer = (Root / "chosen.tlx").string();
    SaveTEDocumentForSelection(Context);
    ASSERT_TRUE(fs::exists(answer));
    xml::TWideXmlDom saved;
    saved.LoadFromFile(answer);
    EXPECT_EQ(saved.Root()->ReadString("SFN"), "2024-04-08 - Total Solar Eclipse - Dallas (USA).tlx");

    // Outside the list, or without a sibling: nothing is asked.
    for (int index : {-1, 1}) {
        Context.SelectedIndex = index;
        SaveTEDocumentForSelection(Context);
    }
    Context.SelectedIndex = 0;
    TEFound = false;
    SaveTEDocumentForSelection(Context);
    EXPECT_EQ(asked.size(), 2u);
}

// The annular eclipse of 2012 May 20/21: its maximum falls before 0h UT
// in Japan and after it in New Mexico, so the documents go into two
// folders, each named by the place's own maximum.
TEST_F(TEDocumentTest, CreateAllPutsEachDocumentIntoTheFolderOfItsMaximumsDate)
{
    auto se = LoadSolar(Solar20120520());
    Context.SolarEclipse = se.get();
    Locations.Add(Place("Tokyo (Japan)", -139.69L, 35.69L, 40, 20, 1010, 32400, ""));
    Locations.Add(Place("Albuquerque (USA)", 106.65L, 35.08L, 1619, 20, 1010, -25200, "US & Canada"));
    Locations.Add(Place("Tokyo: Shinjuku", -139.70L, 35.69L, 40, 20, 1010, 32400, ""));
    Context.TimeShiftMode = tsmSTZ;
    CreateAllTEDocuments(Context);
    const fs::path may20 = fs::path(TEDocumentsPath) / "Solar Eclipse of 2012-05-20";
    const fs::path may21 = fs::path(TEDocumentsPath) / "Solar Eclipse of 2012-05-21";
    auto files = [](const fs::path& dir) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    ASSERT_TRUE(fs::is_directory(may20));
    ASSERT_TRUE(fs::is_directory(may21));
    EXPECT_EQ(files(may20), (std::vector<std::string>{"2012-05-20 - Annular Solar Eclipse - Tokyo (Japan).tlx",
                                                      "2012-05-20 - Annular Solar Eclipse - Tokyo_ Shinjuku.tlx"}));
    EXPECT_EQ(files(may21), std::vector<std::string>{"2012-05-21 - Annular Solar Eclipse - Albuquerque (USA).tlx"});

    // An existing file is replaced.
    const fs::path tokyo = may20 / "2012-05-20 - Annular Solar Eclipse - Tokyo (Japan).tlx";
    apptest::WriteText(tokyo, "old");
    CreateAllTEDocuments(Context);
    EXPECT_NE(apptest::ReadBytes(tokyo), "old");
}

TEST_F(TEDocumentTest, CreateAllMakesTheLunarFolderAlsoWhereTheMoonIsBelowTheHorizon)
{
    Context.EventType = TEEventLunar;
    // The Moon is in the zenith near 102 W at maximum: up over the
    // Americas, down over Asia.
    Locations.Add(Lima());
    Locations.Add(Place("Ulaanbaatar (Mongolia)", -106.9L, 47.9L, 1350, 0, 870, 28800, ""));
    compute::TLELocalCircumstances up, down;
    up.Longitude = 77.05L;
    up.Latitude = -12.05L;
    down.Longitude = -106.9L;
    down.Latitude = 47.9L;
    Lunar->LocalCircumstances(up);
    Lunar->LocalCircumstances(down);
    ASSERT_NE(up.State, 0);
    ASSERT_EQ(down.State, 0);
    CreateAllTEDocuments(Context);
    const fs::path folder = fs::path(TEDocumentsPath) / "Lunar Eclipse of 2025-03-14";
    ASSERT_TRUE(fs::is_directory(folder));
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(folder)) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"2025-03-14 - Total Lunar Eclipse - Lima (Peru).tlx"});
}

TEST_F(TEDocumentTest, CreateAllStopsWithAnInputOutputErrorWhenAFolderCannotBeMade)
{
    Locations.Add(Dallas());
    // A file where the per-eclipse folder's parent should be.
    fs::remove_all(TEDocumentsPath);
    apptest::WriteText(fs::path(rtl::ExcludeTrailingPathDelimiter(TEDocumentsPath)), "not a folder");
    EXPECT_THROW(CreateAllTEDocuments(Context), rtl::EInOutError);
}

TEST(TEDocumentHelpers, RepeatStringAndContactTexts)
{
    EXPECT_EQ(RepeatString("-", 3), "---");
    EXPECT_EQ(RepeatString("ab", 2), "abab");
    EXPECT_EQ(RepeatString("x", 0), "");
    EXPECT_EQ(RepeatString("x", -4), "");
    EXPECT_EQ(RepeatString("=", 80).size(), 80u);
    EXPECT_EQ(TEContactText(0, 3600), "");
    EXPECT_EQ(TEContactText(JD(2011, 1, 4, 8, 50, 35), 0), "2011-01-04  08:50:35");
    EXPECT_EQ(TEContactText(JD(2011, 1, 4, 8, 50, 35), -9 * 3600), "2011-01-03  23:50:35");
}
