// Configuration and documents: byte-exact round trips against golden files,
// every default from a file that holds only its version, the older format,
// and the failures: a missing or broken delta-T table, a malformed or newer
// configuration (never written back), characters beyond U+FFFF, and saves
// that replace the file only when complete.
#include <gtest/gtest.h>

#include "AppTestEnv.h"
#include "app/AppMessages.h"
#include "app/ObserverDataLists.h"
#include "app/SEPaths.h"
#include "app/SettingsFiles.h"
#include "compute/AstroBase.h"
#include "xml/XmlDomGraphics.h"
#include "platform/rtl/Exceptions.h"

namespace {

using apptest::ReadBytes;
using apptest::WriteText;
namespace fs = std::filesystem;

// The loader used where the test does not care about delta T: it accepts the
// default table's name and nothing else.
void AcceptDefaultTable(const std::string& name)
{
    if (!name.empty() && name != "Morrison and Stephenson (2004)") throw rtl::Exception("unknown table " + name);
}

class SettingsTest : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        app::AppNotice = [this](const std::string& text) { Notices.push_back(text); };
        app::TEPath.clear();
        app::TETemporaryPath.clear();
        app::TEDocumentsPath.clear();
        app::TEFound = false;
        app::TEPipeInterface = false;
        app::DeltaTPath = R("DeltaT/");
        fs::create_directories(app::DeltaTPath);
        compute::UseInternalDeltaTTable = true;
        compute::DeltaTTable.IsLoaded = false;
        compute::DeltaTTable.NumValues = 0;
    }
    void TearDown() override
    {
        app::ResetNoticeHandler();
        compute::UseInternalDeltaTTable = true;
        compute::DeltaTTable.IsLoaded = false;
        compute::DeltaTTable.NumValues = 0;
    }

    // A settings record that differs from every default.
    static app::TSettings Unusual()
    {
        app::TSettings s;
        s.DeltaTTableFile = "previous";
        s.UseInternalDeltaTTable = false;
        s.MapData = app::StandardMapData;
        s.TimeShiftMode = 0;
        s.CEMScale = 0.9;
        s.CEMWidth = 0.9;
        s.CEMLabelScale = s.CEMLabelOffset = s.CEMLabelSize = -1;
        s.CETScale = s.CETLabelSize = -1;
        s.CETWidth = s.VBLWidth = 0.9;
        s.LEShadingIntensity.fill(1);
        s.LELongLabels = true;
        s.LELabelSize = -1;
        s.InfoPosition = 4;
        s.Colors.fill(0x00112233);
        s.Flags.fill(false);
        s.GreyScaleMap = true;
        s.EventType = 1;
        s.SECatNo = s.LECatNo = 77;
        s.ScrollInfo = {5, 6, false};
        auto& c = s.Configuration;
        c.Modified = true;
        c.ObserverDlgExpanded = false;
        c.FormTop = c.FormLeft = c.FormWidth = c.FormHeight = -1;
        c.FormWindowState = 1;
        c.LocationsPanelTop = c.LocationsPanelLeft = c.LocationsPanelWidth = c.LocationsPanelHeight = -1;
        c.LocationsPanelVisible = true;
        c.ToolPanelTop = c.ToolPanelLeft = -1;
        c.ToolPanelCollapsed = true;
        c.AutoDetectPathToTE = false;
        return s;
    }

    std::string Copy(const std::string& golden, const std::string& as)
    {
        fs::copy_file(tectest::DataFile("app/" + golden), R(as), fs::copy_options::overwrite_existing);
        return R(as);
    }

    std::vector<std::string> Notices;
};

TEST_F(SettingsTest, ConfigurationRoundTripIsByteExact)
{
    const std::string golden = tectest::DataFile("app/tec.ini");
    app::TSettings s = Unusual();
    app::TObserverDataList locations;
    auto r = app::ReadSettings(golden, true, s, locations, AcceptDefaultTable);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(r.Major, 2);
    EXPECT_TRUE(Notices.empty());

    EXPECT_EQ(s.DeltaTTableFile, "Morrison and Stephenson (2004)");
    EXPECT_FALSE(s.UseInternalDeltaTTable);
    EXPECT_FALSE(compute::UseInternalDeltaTTable);
    EXPECT_EQ(s.MapData, app::GeneralMapData);
    ASSERT_EQ(locations.Count(), 1);
    EXPECT_EQ(locations.Name(), "Eclipse trip");
    EXPECT_EQ(locations[0]->Place(), "Zürich (Schweiz)");
    EXPECT_EQ(s.TimeShiftMode, 2);
    EXPECT_EQ(s.CEMScale, 0.1);
    EXPECT_EQ(s.CEMWidth, 0.005);
    EXPECT_EQ(s.CEMLabelScale, 20);
    EXPECT_EQ(s.CEMLabelOffset, 10);
    EXPECT_EQ(s.CEMLabelSize, 12);
    EXPECT_EQ(s.CETScale, 15);
    EXPECT_EQ(s.CETWidth, 0.5);
    EXPECT_EQ(s.CETLabelSize, 10);
    EXPECT_EQ(s.VBLWidth, 0.1);
    EXPECT_EQ(s.LEShadingIntensity, (std::array<int32_t, 7>{30, 40, 50, 60, 70, 80, 100}));
    EXPECT_TRUE(s.LELongLabels);
    EXPECT_EQ(s.LELabelSize, 11);
    EXPECT_EQ(s.InfoPosition, 3);
    EXPECT_EQ(s.Colors[0], 0x000000FFu);
    EXPECT_EQ(s.Colors[13], 0x00400080u);
    EXPECT_FALSE(s.Flags[1]);
    EXPECT_TRUE(s.Flags[13]);
    EXPECT_TRUE(s.GreyScaleMap);
    EXPECT_EQ(s.EventType, 1);
    EXPECT_EQ(s.SECatNo, 9535);
    EXPECT_EQ(s.LECatNo, 9677);
    EXPECT_EQ(s.ScrollInfo.X, 120);
    EXPECT_EQ(s.ScrollInfo.Y, -4);
    EXPECT_TRUE(s.ScrollInfo.HasScrollInfo);
    const auto& c = s.Configuration;
    EXPECT_TRUE(c.Modified);
    EXPECT_FALSE(c.ObserverDlgExpanded);
    EXPECT_EQ(c.FormWindowState, 0);
    EXPECT_EQ(c.FormTop, 20);
    EXPECT_EQ(c.FormLeft, 30);
    EXPECT_EQ(c.FormWidth, 1024);
    EXPECT_EQ(c.FormHeight, 768);
    EXPECT_EQ(c.LocationsPanelTop, 110);
    EXPECT_EQ(c.LocationsPanelLeft, 120);
    EXPECT_EQ(c.LocationsPanelWidth, 600);
    EXPECT_EQ(c.LocationsPanelHeight, 350);
    EXPECT_TRUE(c.LocationsPanelVisible);
    EXPECT_EQ(c.ToolPanelTop, 55);
    EXPECT_EQ(c.ToolPanelLeft, 15);
    EXPECT_FALSE(c.ToolPanelCollapsed);
    EXPECT_TRUE(c.AutoDetectPathToTE);
    // Nothing was detected at start-up, so the stored folder is taken (it
    // holds no sibling).
    EXPECT_EQ(app::TEPath, "/opt/te/");
    EXPECT_FALSE(app::TEFound);

    // The dates are written only; the main window fills them from the
    // catalogue.
    s.SEDate = "2012 May 20";
    s.LEDate = "2012 Jun 04";
    app::WriteSettings(R("out.ini"), true, s, locations);
    EXPECT_EQ(ReadBytes(R("out.ini")), ReadBytes(golden));
}

TEST_F(SettingsTest, DocumentRoundTripIsByteExact)
{
    const std::string golden = tectest::DataFile("app/trip.sec");
    app::TSettings s = Unusual();
    app::TObserverDataList locations;
    auto r = app::ReadSettings(golden, false, s, locations, AcceptDefaultTable);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(s.DeltaTTableFile, "");
    EXPECT_TRUE(s.UseInternalDeltaTTable);
    EXPECT_EQ(s.TimeShiftMode, 0);
    EXPECT_EQ(s.LEShadingIntensity, (std::array<int32_t, 7>{45, 50, 55, 60, 65, 70, 75}));
    EXPECT_EQ(s.InfoPosition, 5);
    EXPECT_FALSE(s.GreyScaleMap);
    EXPECT_EQ(s.EventType, 0);
    // A document has no Configuration node: those values stay.
    EXPECT_EQ(s.Configuration.FormWindowState, 1);
    EXPECT_TRUE(s.Configuration.Modified);

    s.SEDate = "2012 May 20";
    s.LEDate = "";
    app::WriteSettings(R("out.sec"), false, s, locations);
    EXPECT_EQ(ReadBytes(R("out.sec")), ReadBytes(golden));
}

TEST_F(SettingsTest, VersionOnlyFileReadsEveryDefault)
{
    app::TSettings s = Unusual();
    app::TObserverDataList locations("before");
    locations.Add(new app::TObserverData);
    auto r = app::ReadSettings(tectest::DataFile("app/version-only.ini"), true, s, locations, AcceptDefaultTable);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(s.DeltaTTableFile, "");
    EXPECT_TRUE(s.UseInternalDeltaTTable);
    // An empty MapData node names no bitmap: the standard map, with the notice.
    EXPECT_EQ(s.MapData, app::StandardMapData);
    EXPECT_EQ(Notices, std::vector<std::string>{"The map data seems to be invalid. Using standard map."});
    EXPECT_EQ(locations.Count(), 0);
    EXPECT_EQ(locations.Name(), "");
    EXPECT_EQ(s.TimeShiftMode, 1);
    EXPECT_EQ(s.CEMScale, 0.25);
    EXPECT_EQ(s.CEMWidth, 0.01);
    EXPECT_EQ(s.CEMLabelScale, 30);
    EXPECT_EQ(s.CEMLabelOffset, 15);
    EXPECT_EQ(s.CEMLabelSize, 9);
    EXPECT_EQ(s.CETScale, 60);
    EXPECT_EQ(s.CETWidth, 0.25);
    EXPECT_EQ(s.CETLabelSize, 9);
    EXPECT_EQ(s.VBLWidth, 0.08);
    EXPECT_EQ(s.LEShadingIntensity, (std::array<int32_t, 7>{40, 50, 60, 70, 80, 90, 100}));
    EXPECT_FALSE(s.LELongLabels);
    EXPECT_EQ(s.LELabelSize, 9);
    EXPECT_EQ(s.InfoPosition, 0);
    for (auto color : s.Colors) EXPECT_EQ(color, 0x00112233u);  // kept
    for (bool flag : s.Flags) EXPECT_TRUE(flag);
    EXPECT_FALSE(s.GreyScaleMap);
    EXPECT_EQ(s.EventType, 0);
    EXPECT_EQ(s.SECatNo, 1);
    EXPECT_EQ(s.LECatNo, 1);
    EXPECT_EQ(s.ScrollInfo.X, 0);
    EXPECT_EQ(s.ScrollInfo.Y, 0);
    EXPECT_TRUE(s.ScrollInfo.HasScrollInfo);
    const auto& c = s.Configuration;
    EXPECT_FALSE(c.Modified);
    EXPECT_TRUE(c.ObserverDlgExpanded);
    EXPECT_EQ(c.FormWindowState, 2);  // maximised: the bounds are not read
    EXPECT_EQ(c.FormTop, -1);
    EXPECT_EQ(c.LocationsPanelTop, 100);
    EXPECT_EQ(c.LocationsPanelLeft, 100);
    EXPECT_EQ(c.LocationsPanelWidth, 500);
    EXPECT_EQ(c.LocationsPanelHeight, 300);
    EXPECT_FALSE(c.LocationsPanelVisible);
    EXPECT_EQ(c.ToolPanelTop, 50);
    EXPECT_EQ(c.ToolPanelLeft, 10);
    EXPECT_FALSE(c.ToolPanelCollapsed);
    EXPECT_TRUE(c.AutoDetectPathToTE);

    // A normal window takes the default bounds.
    WriteText(R("normal.ini"), "<?xml version=\"1.0\"?><TSEC><Major>2</Major><Configuration><Form>"
                               "<WindowState>0</WindowState></Form></Configuration></TSEC>");
    ASSERT_TRUE(app::ReadSettings(R("normal.ini"), true, s, locations, AcceptDefaultTable).Ok);
    EXPECT_EQ(c.FormTop, 10);
    EXPECT_EQ(c.FormLeft, 10);
    EXPECT_EQ(c.FormWidth, 800);
    EXPECT_EQ(c.FormHeight, 700);
}

TEST_F(SettingsTest, OlderFormatIsRead)
{
    app::TSettings s = Unusual();
    app::TObserverDataList locations;
    auto r = app::ReadSettings(tectest::DataFile("app/older.sec"), false, s, locations, AcceptDefaultTable);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(r.Major, 0);
    EXPECT_EQ(s.TimeShiftMode, 0);
    EXPECT_EQ(s.CEMScale, 0.2);     // from Settings/CEM
    EXPECT_EQ(s.CEMWidth, 0.01);    // default
    EXPECT_EQ(s.CEMLabelSize, 10);
    EXPECT_EQ(s.CETScale, 20);
    EXPECT_EQ(s.VBLWidth, 0.15);
    // No lunar settings in older files: they keep their values.
    EXPECT_EQ(s.LEShadingIntensity, (std::array<int32_t, 7>{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(s.LELongLabels);
    EXPECT_EQ(s.LELabelSize, -1);
    EXPECT_EQ(s.EventType, 0);
    EXPECT_EQ(s.SECatNo, 9000);
    EXPECT_EQ(s.LECatNo, 9649);
    ASSERT_EQ(locations.Count(), 1);
    EXPECT_EQ(locations.Name(), "Old list");
    EXPECT_EQ(locations[0]->Temperature(), 20);

    // "Major" 1 is older too; "Major" 3 reads nothing more.
    WriteText(R("one.sec"), "<?xml version=\"1.0\"?><TSEC><Major>1</Major><Eclipse><CatNo>5</CatNo><SECatNo>6</SECatNo></Eclipse></TSEC>");
    ASSERT_TRUE(app::ReadSettings(R("one.sec"), false, s, locations, AcceptDefaultTable).Ok);
    EXPECT_EQ(s.SECatNo, 5);
    app::TSettings before = Unusual();
    s = before;
    WriteText(R("three.sec"), "<?xml version=\"1.0\"?><TSEC><Major>3</Major><Minor>1</Minor><Settings><TimeShiftMode>2</TimeShiftMode></Settings></TSEC>");
    r = app::ReadSettings(R("three.sec"), false, s, locations, AcceptDefaultTable);
    EXPECT_TRUE(r.Ok);
    EXPECT_TRUE(r.TooNew);
    EXPECT_EQ(r.Minor, 1);
    EXPECT_EQ(s.TimeShiftMode, before.TimeShiftMode);
}

TEST_F(SettingsTest, SystemColoursAreStoredAsTheirRgbValue)
{
    app::TSettings s;
    s.Colors[0] = 0xFF00000F;  // a system colour (button face)
    s.Colors[1] = 0x000000FF;
    app::TObserverDataList locations;
    app::WriteSettings(R("c.sec"), false, s, locations);
    app::TSettings back;
    ASSERT_TRUE(app::ReadSettings(R("c.sec"), false, back, locations, AcceptDefaultTable).Ok);
    EXPECT_EQ(back.Colors[0], xml::ColorToRGB(0xFF00000F));
    EXPECT_EQ(back.Colors[0] >> 24, 0u);
    EXPECT_EQ(back.Colors[1], 0x000000FFu);
    EXPECT_NE(ReadBytes(R("c.sec")).find("<Color1>$000000FF</Color1>"), std::string::npos);
}

TEST_F(SettingsTest, CharactersBeyondTheBasicPlaneSurviveSaveAndLoad)
{
    app::TSettings s;
    app::TObserverDataList locations("Trip 🌒");
    auto* o = new app::TObserverData;
    o->SetPlace("𝔊𝔯𝔞𝔷 🌘 (Österreich)");
    o->SetDSTs("rule 𝟙");
    locations.Add(o);
    app::WriteSettings(R("u.sec"), false, s, locations);
    app::TObserverDataList back;
    ASSERT_TRUE(app::ReadSettings(R("u.sec"), false, s, back, AcceptDefaultTable).Ok);
    EXPECT_EQ(back.Name(), "Trip 🌒");
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back[0]->Place(), "𝔊𝔯𝔞𝔷 🌘 (Österreich)");
    EXPECT_EQ(back[0]->DSTs(), "rule 𝟙");
    // The file holds the four-byte sequences themselves.
    EXPECT_NE(ReadBytes(R("u.sec")).find("\xF0\x9F\x8C\x98"), std::string::npos);
}

TEST_F(SettingsTest, MissingDeltaTTableFallsBackAndKeepsEverythingElse)
{
    // The real loader over an empty delta-T folder.
    std::string file = Copy("tec.ini", "tec.ini");
    const std::string bytes = ReadBytes(file);
    app::TSettings s = Unusual();
    app::TObserverDataList locations;
    app::TConfigurationStore store(file);
    auto r = store.Load(s, locations);
    ASSERT_TRUE(r.Ok) << r.Error;
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_EQ(r.Notices, Notices);
    EXPECT_EQ(Notices[0], "Error reading delta-T table:\r\nFile not found:\r\n" + app::DeltaTPath +
                              "Morrison and Stephenson (2004)\r\nThe built-in delta T model is used instead.");
    // The name stays (the user may put the file back); the built-in model serves.
    EXPECT_EQ(s.DeltaTTableFile, "Morrison and Stephenson (2004)");
    EXPECT_TRUE(s.UseInternalDeltaTTable);
    EXPECT_TRUE(compute::UseInternalDeltaTTable);
    EXPECT_FALSE(compute::DeltaTTable.IsLoaded);
    // Everything else was read.
    EXPECT_EQ(locations.Count(), 1);
    EXPECT_EQ(s.TimeShiftMode, 2);
    EXPECT_EQ(s.SECatNo, 9535);
    EXPECT_EQ(s.Configuration.FormWidth, 1024);
    EXPECT_EQ(ReadBytes(file), bytes);
    // Saving is allowed and keeps the locations.
    EXPECT_TRUE(store.CanSave());
    EXPECT_TRUE(store.Save(s, locations));
    app::TObserverDataList again;
    app::TSettings t;
    ASSERT_TRUE(app::ReadSettings(file, true, t, again, AcceptDefaultTable).Ok);
    EXPECT_EQ(again.Count(), 1);
    EXPECT_EQ(t.DeltaTTableFile, "Morrison and Stephenson (2004)");
}

TEST_F(SettingsTest, BrokenDeltaTTableFallsBackWithTheLoadersMessage)
{
    WriteText(app::DeltaTPath + "Morrison and Stephenson (2004)", "! a table\n1900.0 : 0.5\n1901.0 ; 1.5\n");
    // A table that loads is used.
    WriteText(app::DeltaTPath + "good", "1900.0 : 0.5\n1901.0 : 1.5\n");
    std::string file = Copy("tec.ini", "tec.ini");
    app::TSettings s;
    app::TObserverDataList locations;
    auto r = app::ReadSettings(file, true, s, locations);
    ASSERT_TRUE(r.Ok) << r.Error;
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_EQ(Notices[0], "Error reading delta-T table:\r\nLine 3: Syntax error.\r\n" + app::DeltaTPath +
                              "Morrison and Stephenson (2004)\r\nThe built-in delta T model is used instead.");
    EXPECT_EQ(locations.Count(), 1);
    EXPECT_EQ(s.DeltaTTableFile, "Morrison and Stephenson (2004)");
    EXPECT_FALSE(compute::DeltaTTable.IsLoaded);
    EXPECT_EQ(compute::DeltaTTable.Error, 2);

    Notices.clear();
    WriteText(R("good.sec"), "<?xml version=\"1.0\"?><TSEC><Major>2</Major><DeltaT><DeltaTFile>good</DeltaTFile>"
                             "<UseInternalDeltaTTable>False</UseInternalDeltaTTable></DeltaT></TSEC>");
    ASSERT_TRUE(app::ReadSettings(R("good.sec"), false, s, locations).Ok);
    EXPECT_EQ(s.DeltaTTableFile, "good");
    EXPECT_FALSE(s.UseInternalDeltaTTable);
    EXPECT_TRUE(compute::DeltaTTable.IsLoaded);
    EXPECT_EQ(compute::DeltaTTable.NumValues, 2);
    // A file naming no table unloads it.
    ASSERT_TRUE(app::ReadSettings(tectest::DataFile("app/trip.sec"), false, s, locations).Ok);
    EXPECT_FALSE(compute::DeltaTTable.IsLoaded);
    // No delta-T notice for either: only good.sec's empty map description.
    EXPECT_EQ(Notices, std::vector<std::string>{app::InvalidMapDataMessage});
}

TEST_F(SettingsTest, MalformedConfigurationIsReportedAndNeverWrittenBack)
{
    struct Case {
        const char* what;
        std::string text;
        int locationsAfter;  // what was applied before the fault stays applied
    } cases[] = {
        {"not well-formed", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<TSEC><Major>2</Major><LocationList><Name>x</Name", 0},
        {"empty file", "", 0},
        {"bad colour", "<?xml version=\"1.0\"?><TSEC><Major>2</Major><LocationList><Locations><Location><Place>A</Place>"
                       "</Location></Locations></LocationList><Settings><Colors><Color0>$XYZ</Color0></Colors></Settings></TSEC>",
         1},
    };
    for (const auto& c : cases) {
        Notices.clear();
        WriteText(R("tec.ini"), c.text);
        app::TSettings s;
        app::TObserverDataList locations("kept");
        app::TConfigurationStore store(R("tec.ini"));
        auto r = store.Load(s, locations, AcceptDefaultTable);
        EXPECT_FALSE(r.Ok) << c.what;
        EXPECT_FALSE(r.FileMissing) << c.what;
        EXPECT_FALSE(r.Error.empty()) << c.what;
        EXPECT_EQ(locations.Count(), c.locationsAfter) << c.what;
        ASSERT_FALSE(Notices.empty()) << c.what;
        EXPECT_EQ(Notices.back().rfind("The configuration file could not be read:\r\n" + R("tec.ini") + "\r\n" + r.Error, 0),
                  0u)
            << c.what;
        EXPECT_FALSE(store.CanSave()) << c.what;
        EXPECT_FALSE(store.Save(s, locations)) << c.what;
        EXPECT_EQ(ReadBytes(R("tec.ini")), c.text) << c.what;
    }
}

TEST_F(SettingsTest, NewerConfigurationIsNotOverwritten)
{
    const std::string text = "<?xml version=\"1.0\"?><TSEC><Major>3</Major><LocationList/></TSEC>";
    WriteText(R("tec.ini"), text);
    app::TSettings s;
    app::TObserverDataList locations;
    app::TConfigurationStore store(R("tec.ini"));
    auto r = store.Load(s, locations, AcceptDefaultTable);
    EXPECT_TRUE(r.Ok);
    EXPECT_TRUE(r.TooNew);
    EXPECT_FALSE(store.Save(s, locations));
    EXPECT_EQ(ReadBytes(R("tec.ini")), text);
}

TEST_F(SettingsTest, FirstRunCopiesTheShippedConfiguration)
{
    app::ProgramPath = R("prog/");
    app::ConfigFile = R("user/tec.ini");
    fs::create_directories(R("user"));

    // Nothing shipped: nothing read, no notice, and saving creates the file.
    app::TSettings s;
    app::TObserverDataList locations;
    app::TConfigurationStore first;
    auto r = first.Load(s, locations, AcceptDefaultTable);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.FileMissing);
    EXPECT_TRUE(Notices.empty());
    EXPECT_TRUE(first.CanSave());
    EXPECT_EQ(first.FileName(), app::ConfigFile);

    // Shipped beside the program: copied, then read.
    Copy("tec.ini", "shipped.ini");
    fs::create_directories(R("prog"));
    fs::rename(R("shipped.ini"), R("prog/tec.ini"));
    app::TConfigurationStore second;
    r = second.Load(s, locations, AcceptDefaultTable);
    EXPECT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(ReadBytes(app::ConfigFile), ReadBytes(R("prog/tec.ini")));
    EXPECT_EQ(locations.Count(), 1);
}

TEST_F(SettingsTest, OlderSiblingStaysUsableAfterTheConfigurationIsRead)
{
    std::string dir = InstallSibling("opt/te41", "4.1.9.0");
    app::TPathsSetup setup;
    setup.ExecutableFile = R("opt/tec/tolmira-eclipse");
    fs::create_directories(R("opt/tec"));
    app::InitPaths(setup);
    ASSERT_TRUE(app::TEFound);

    // The configuration written at the end of that run names it ...
    app::TSettings s;
    app::TObserverDataList locations;
    app::WriteSettings(R("tec.ini"), true, s, locations);
    EXPECT_NE(ReadBytes(R("tec.ini")).find("<PathToTE>" + dir + "</PathToTE>"), std::string::npos);
    // ... and the next run keeps it usable, with the settings both ways.
    for (const char* autoDetect : {"True", "False"}) {
        app::InitPaths(setup);
        WriteText(R("next.ini"), std::string("<?xml version=\"1.0\"?><TSEC><Major>2</Major><Configuration>"
                                             "<TEInstallation><AutoDetectPathToTE>") +
                                     autoDetect + "</AutoDetectPathToTE><PathToTE>" + dir +
                                     "</PathToTE></TEInstallation></Configuration></TSEC>");
        ASSERT_TRUE(app::ReadSettings(R("next.ini"), true, s, locations, AcceptDefaultTable).Ok);
        EXPECT_TRUE(app::TEFound) << autoDetect;
        EXPECT_FALSE(app::TEPipeInterface) << autoDetect;
        EXPECT_EQ(app::TEPath, dir) << autoDetect;
        EXPECT_EQ(app::TETemporaryPath, dir + "Temporary/") << autoDetect;
    }
}

TEST_F(SettingsTest, SavesReplaceTheFileOnlyWhenComplete)
{
    app::TSettings s;
    app::TObserverDataList locations;
    // The target is a folder: the write fails, the folder is untouched and
    // no temporary file is left beside it.
    fs::create_directories(R("docs/occupied.sec"));
    EXPECT_THROW(app::WriteSettings(R("docs/occupied.sec"), false, s, locations), rtl::EFCreateError);
    EXPECT_TRUE(fs::is_directory(R("docs/occupied.sec")));
    EXPECT_EQ(std::distance(fs::directory_iterator(R("docs")), fs::directory_iterator()), 1);
    // A missing folder raises too.
    EXPECT_THROW(app::WriteSettings(R("nowhere/x.sec"), false, s, locations), rtl::EFCreateError);
    // Replacing an existing document keeps its permissions and leaves one file.
    WriteText(R("docs/a.sec"), "old");
    fs::permissions(R("docs/a.sec"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    app::WriteSettings(R("docs/a.sec"), false, s, locations);
    EXPECT_EQ(ReadBytes(R("docs/a.sec")).substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(fs::status(R("docs/a.sec")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(R("docs")), fs::directory_iterator()), 2);
}

TEST_F(SettingsTest, MissingDocumentLeavesTheSettings)
{
    app::TSettings s = Unusual();
    app::TObserverDataList locations;
    locations.Add(new app::TObserverData);
    auto r = app::ReadSettings(R("gone.sec"), false, s, locations, AcceptDefaultTable);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.FileMissing);
    EXPECT_EQ(s.TimeShiftMode, 0);
    EXPECT_EQ(s.DeltaTTableFile, "previous");
    EXPECT_EQ(locations.Count(), 1);
}

TEST(FileCommands, CaptionsDropsAndArguments)
{
    EXPECT_EQ(app::DocumentCaption(""), "Tolmira Eclipse Calculator");
    EXPECT_EQ(app::DocumentCaption("  "), "Tolmira Eclipse Calculator");
    EXPECT_EQ(app::DocumentCaption("/home/a/Documents/trip.sec"), "Tolmira Eclipse Calculator - [trip.sec]");
    EXPECT_TRUE(app::IsDocumentFileName("/x/TRIP.SEC"));
    EXPECT_TRUE(app::IsDocumentFileName("trip.Sec"));
    EXPECT_FALSE(app::IsDocumentFileName("trip.loc"));
    EXPECT_FALSE(app::IsDocumentFileName("sec"));
    app::DocumentsPath = "/home/a/Documents/Tolmira Eclipse Calculator/Documents/";
    EXPECT_EQ(app::DocumentFromArgument("trip.sec "), app::DocumentsPath + "trip.sec");
    EXPECT_EQ(app::DocumentFromArgument("/tmp/trip.sec"), "/tmp/trip.sec");
    EXPECT_EQ(app::DocumentFromArgument("sub/trip.sec"), "sub/trip.sec");
}

} // namespace
