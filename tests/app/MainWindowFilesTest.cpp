// The main window with its files, driven headless: the configuration read
// at start-up and written at exit byte for byte, documents through Open
// and Save, documents that cannot be read, a missing catalogue, values out
// of range, New cancelled, the location table's hooks and the sibling
// program's commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "AppTestEnv.h"
#include "PipeRecorder.h"
#include "PipeTestUtil.h"
#include "TlxTestUtil.h"
#include "app/CatalogueDlgs.h"
#include "app/Pipes.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "compute/AstroBase.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/PngImage.h"
#include "TestPaths.h"

using namespace app;
namespace fs = std::filesystem;

namespace {

const std::string CatalogueFile = std::string(TEC_RUNTIME_DIR) + "/be.db";

// Every value of the format off its default (the configuration part too).
TSettings OffDefaults()
{
    TSettings s;
    s.UseInternalDeltaTTable = false;
    s.MapData = StandardMapData;
    s.TimeShiftMode = 2;
    s.CEMScale = 0.2;
    s.CEMWidth = 0.02;
    s.CEMLabelScale = 20;
    s.CEMLabelOffset = 10;
    s.CEMLabelSize = 10;
    s.CETScale = 15;
    s.CETWidth = 0.5;
    s.CETLabelSize = 11;
    s.VBLWidth = 0.3;
    s.LEShadingIntensity = {10, 20, 30, 35, 45, 55, 65};
    s.LELongLabels = true;
    s.LELabelSize = 12;
    s.InfoPosition = 2;
    const TMapDrawSettings defaults = DefaultMapDrawSettings(GeneralMapData);
    for (std::size_t i = 0; i < 14; ++i) {
        s.Colors[i] = 0x00102030u + static_cast<uint32_t>(i);
        s.Flags[i] = !defaults.Flags[i];
    }
    s.GreyScaleMap = true;
    s.EventType = 1;
    s.SECatNo = 9561;
    s.SEDate = "2024 Apr 08";
    s.LECatNo = 9706;
    s.LEDate = "2025 Mar 14";
    s.ScrollInfo = {321, 123, true};
    TConfigurationSettings& c = s.Configuration;
    c.Modified = true;
    c.ObserverDlgExpanded = false;
    c.FormTop = 40;
    c.FormLeft = 30;
    c.FormWidth = 700;
    c.FormHeight = 500;
    c.FormWindowState = 0;
    c.LocationsPanelTop = 200;
    c.LocationsPanelLeft = 20;
    c.LocationsPanelWidth = 640;
    c.LocationsPanelHeight = 180;
    c.LocationsPanelVisible = true;
    c.ToolPanelTop = 60;
    c.ToolPanelLeft = 400;
    c.AutoDetectPathToTE = false;
    return s;
}

// "" when both texts are equal, else where they first differ, with context.
std::string Difference(const std::string& a, const std::string& b)
{
    if (a == b) return "";
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    const std::size_t from = i < 60 ? 0 : i - 60;
    return "at byte " + std::to_string(i) + ":\n  " + a.substr(from, 120) + "\n  " + b.substr(from, 120);
}

void ThreePlaces(TObserverDataList& list)
{
    list.Add(tlxtest::Dallas());
    list.Add(tlxtest::Place("Denver (USA)", 104.99L, 39.74L, 1600, 15, 1013, -25200, ""));
    list.Add(tlxtest::Place("New York (USA)", 74.01L, 40.71L, 10, 15, 1013, -18000, ""));
}

class WindowFiles : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        if (!fs::exists(CatalogueFile)) GTEST_SKIP() << "no catalogue built";
        Runtime.emplace();
        TPathsSetup setup;
        setup.ExecutableFile = std::string(TEC_RUNTIME_DIR) + "/tolmira-eclipse";
        InitPaths(setup);
        gui::Application->Initialize();
        auto service = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = service.get();
        gui::SetDialogService(std::move(service));
    }
    void TearDown() override
    {
        Stop();
        delete Catalogue;
        gui::SetDialogService(nullptr);
        compute::UseInternalDeltaTTable = SavedInternal;
        TEPath = SavedTEPath;
        TETemporaryPath = SavedTETemporaryPath;
        TEFound = SavedTEFound;
        TEPipeInterface = SavedTEPipeInterface;
        Runtime.reset();
        HomeFixture::TearDown();
    }
    void Start()
    {
        Form = new TSEMainForm(nullptr);
        Form->AfterConstruction();
        Form->Show();
        gui::Application->ProcessMessages();
    }
    void Stop()
    {
        if (!Form) return;
        Form->BeforeDestruction();
        delete Form;
        Form = nullptr;
    }
    void RunIdle()
    {
        for (int i = 0; i < 5 && Form->Status() == stNeedCalculation; ++i) {
            bool done = false;
            gui::Application->DoIdle(done);
        }
    }
    void UseCatalogueDialog()
    {
        Catalogue = new TCatalogueDlg(nullptr);
        Catalogue->AfterConstruction();
        Form->CatalogueDlg = Catalogue;
    }
    // Answers the next modal catalogue dialog with result.
    void AnswerCatalogue(gui::TModalResult result)
    {
        gui::QueueInMainThread([this, result] {
            if (gui::Screen->ActiveForm() == Catalogue) Catalogue->SetModalResult(result);
        });
    }
    // The window's state as a document would hold it, as bytes.
    std::string StateBytes()
    {
        const std::string file = R("state.sec");
        WriteSettings(file, false, Form->GatherSettings(), Form->LocationList());
        return apptest::ReadBytes(file);
    }
    std::string WriteDocument(const std::string& name, TSettings s, const TObserverDataList& list)
    {
        const std::string file = H(name);
        WriteSettings(file, false, s, list);
        return file;
    }
    // Opens a document of the eclipse of 2024 Apr 08 with three places and
    // computes it; returns the document's name.
    std::string OpenThreePlaces(const std::string& name)
    {
        TObserverDataList places("SE");
        ThreePlaces(places);
        TSettings s = Form->GatherSettings();
        s.EventType = 0;
        s.SECatNo = 9561;
        s.SEDate = "2024 Apr 08";
        const std::string doc = WriteDocument(name, s, places);
        Form->SetFileName(doc);
        RunIdle();
        EXPECT_EQ(Form->Status(), stCalculated);
        return doc;
    }
    int Messages() const
    {
        int n = 0;
        for (const auto& call : Dialogs->Calls) n += call.Kind == "MessageDlg" || call.Kind == "MessageBox";
        return n;
    }

    std::optional<pipetest::ScopedRuntimeDir> Runtime;
    gui::TScriptedDialogService* Dialogs = nullptr;
    TSEMainForm* Form = nullptr;
    TCatalogueDlg* Catalogue = nullptr;
    const bool SavedInternal = compute::UseInternalDeltaTTable;
    const std::string SavedTEPath = TEPath, SavedTETemporaryPath = TETemporaryPath;
    const bool SavedTEFound = TEFound, SavedTEPipeInterface = TEPipeInterface;
};

// --- the configuration across a start and an exit ----------------------------

TEST_F(WindowFiles, ConfigurationOffItsDefaultsComesBackByteForByte)
{
    // The sibling's folder named in the configuration (auto-detect off).
    TEPath = InstallSibling("te", "4.2.0.0");
    TObserverDataList places("SE");
    ThreePlaces(places);
    for (const bool modified : {true, false}) {
        SCOPED_TRACE(modified ? "modified" : "not modified, grey map");
        TSettings s = OffDefaults();
        s.Configuration.Modified = modified;
        WriteSettings(ConfigFile, true, s, places);
        const std::string before = apptest::ReadBytes(ConfigFile);
        Start();
        EXPECT_EQ(Form->TimeShiftMode(), tsmSTZ);
        EXPECT_EQ(Form->LTimeShift->Caption(), "Times in local time");
        EXPECT_EQ(Form->Modified(), modified);
        EXPECT_TRUE(Form->GreyScaleMap());
        Stop();
        EXPECT_EQ(Difference(apptest::ReadBytes(ConfigFile), before), "");
    }
}

TEST_F(WindowFiles, WhatTheFormatItselfChangesAtExit)
{
    // Tabulated: a stale date is written from the catalogue, the tool
    // panel's Collapsed is read only and its Visible written only.
    TSettings s = OffDefaults();
    s.SEDate = "stale";
    TObserverDataList none("SE");
    WriteSettings(ConfigFile, true, s, none);
    std::string text = apptest::ReadBytes(ConfigFile);
    const std::string visible = "<Visible>True</Visible></ToolPanel>";
    ASSERT_NE(text.find(visible), std::string::npos);
    text.replace(text.find(visible), visible.size(), "<Collapsed>True</Collapsed></ToolPanel>");
    apptest::WriteText(ConfigFile, text);
    Start();
    Stop();
    std::string expected = text;
    expected.replace(expected.find("<SEDate>stale</SEDate>"), 22, "<SEDate>2024 Apr 08</SEDate>");
    expected.replace(expected.find("<Collapsed>True</Collapsed>"), 27, "<Visible>True</Visible>");
    // The configuration named no sibling: the one found at start-up.
    const std::string written = apptest::ReadBytes(ConfigFile);
    EXPECT_EQ(Difference(written, expected), "");
}

TEST_F(WindowFiles, TimeShiftModeOutsideItsRangeKeepsTheCurrentOne)
{
    Start();
    Form->SetTimeShiftMode(tsmNone);
    EXPECT_EQ(Form->LTimeShift->Caption(), "Times in UTC");
    Form->SetTimeShiftMode(tsmMLT);
    EXPECT_EQ(Form->LTimeShift->Caption(), "Times in mean local time");
    for (int bad : {-1, 3, 99}) {
        Form->SetTimeShiftMode(bad);
        EXPECT_EQ(Form->TimeShiftMode(), tsmMLT);
        EXPECT_EQ(Form->LTimeShift->Caption(), "Times in mean local time");
    }
    // Read from a document: the same.
    TSettings s = Form->GatherSettings();
    TObserverDataList none("SE");
    const std::string doc = WriteDocument("mode.sec", s, none);
    std::string text = apptest::ReadBytes(doc);
    text.replace(text.find("<TimeShiftMode>1</TimeShiftMode>"), 32, "<TimeShiftMode>7</TimeShiftMode>");
    apptest::WriteText(doc, text);
    Form->SetFileName(doc);
    EXPECT_EQ(Form->FileName(), doc);
    EXPECT_EQ(Form->TimeShiftMode(), tsmMLT);
}

// --- documents ----------------------------------------------------------------

TEST_F(WindowFiles, DocumentThroughOpenAndSaveComesBackByteForByte)
{
    Start();
    TObserverDataList places("SE");
    ThreePlaces(places);
    TSettings s = OffDefaults();
    s.GreyScaleMap = false;
    const std::string doc = WriteDocument("full.sec", s, places);
    const std::string before = apptest::ReadBytes(doc);
    Dialogs->FileAnswers.push_back({true, doc, 1});
    Form->FileOpen();
    EXPECT_EQ(Form->FileName(), doc);
    EXPECT_FALSE(Form->Modified());
    EXPECT_EQ(Form->Status(), stNeedCalculation);
    EXPECT_EQ(Form->LocationList().Count(), 3);
    EXPECT_EQ(Form->TimeShiftMode(), tsmSTZ);
    fs::remove(doc);
    ASSERT_TRUE(Form->FileSave());
    EXPECT_EQ(Difference(apptest::ReadBytes(doc), before), "");
}

TEST_F(WindowFiles, DocumentsThatCannotBeReadChangeNothing)
{
    Start();
    UseCatalogueDialog();
    const std::string good = OpenThreePlaces("good.sec");
    ASSERT_EQ(Form->Status(), stCalculated);
    Form->SetModified(true);
    const std::string state = StateBytes();
    const std::string caption = Form->Caption();
    const std::string goodBytes = apptest::ReadBytes(good);

    const std::string text = goodBytes;
    std::string major3 = text;
    major3.replace(major3.find("<Major>2</Major>"), 16, "<Major>3</Major>");
    std::string lettersCatNo = text;
    lettersCatNo.replace(lettersCatNo.find("<LECatNo>"), 9, "<LECatNo>abc");
    std::string mode7 = text;
    mode7.replace(mode7.find("<Mode>0</Mode>"), 14, "<Mode>7</Mode>");
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // none: missing
        const char* says;
    };
    const Case cases[] = {
        {"missing.sec", std::nullopt, "missing.sec"},
        {"trunc.sec", text.substr(0, 900), "trunc.sec"},
        {"empty.sec", std::string(), "empty"},
        {"other.sec", std::string("<?xml version=\"1.0\"?><Map/>"), "not a document of this program"},
        {"major3.sec", major3, "newer version"},
        {"letters.sec", lettersCatNo, "Eclipse/LECatNo"},
        {"mode7.sec", mode7, "Eclipse/Mode"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = H(c.name);
        if (c.bytes) apptest::WriteText(file, *c.bytes);
        Dialogs->Calls.clear();
        Dialogs->MessageAnswers.push_back(gui::mrNo);  // unsaved changes: go on
        Dialogs->FileAnswers.push_back({true, file, 1});
        Form->FileOpen();
        ASSERT_EQ(Messages(), 2);
        const std::string message = Dialogs->Calls.back().Text;
        EXPECT_NE(message.find(c.name), std::string::npos) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        for (char ch : message) EXPECT_TRUE(ch == '\r' || ch == '\n' || static_cast<unsigned char>(ch) >= 0x20);
        EXPECT_EQ(Difference(StateBytes(), state), "");
        EXPECT_EQ(Form->FileName(), good);
        EXPECT_EQ(Form->Caption(), caption);
        EXPECT_EQ(Form->Status(), stCalculated);
        EXPECT_TRUE(Form->Modified());
        EXPECT_EQ(Form->LocationList().Count(), 3);
        // Save writes the document that is open, never the failed file.
        ASSERT_TRUE(Form->FileSave());
        Form->SetModified(true);
        if (c.bytes) { EXPECT_EQ(apptest::ReadBytes(file), *c.bytes); }
        else EXPECT_FALSE(fs::exists(file));
        EXPECT_EQ(Difference(apptest::ReadBytes(good), state), "");
    }
}

TEST_F(WindowFiles, NewCancelledLeavesEverythingAsItWas)
{
    Start();
    UseCatalogueDialog();
    OpenThreePlaces("doc.sec");
    ASSERT_EQ(Form->Status(), stCalculated);
    const std::string state = StateBytes();
    const std::string title = Form->LTitle->Caption();
    const gui::TColor pixel = Form->EclipseMap().Map().Canvas()->Pixels(900, 300);
    std::unique_ptr<gui::TBitmap> before = Form->EclipseMap().MapPicture(nullptr);

    AnswerCatalogue(gui::mrCancel);
    Form->FileNew();
    EXPECT_EQ(Difference(StateBytes(), state), "");
    EXPECT_EQ(Form->Status(), stCalculated);
    EXPECT_EQ(Form->LTitle->Caption(), title);
    EXPECT_FALSE(Form->FileName().empty());
    EXPECT_EQ(Form->LocationList().Count(), 3);
    std::unique_ptr<gui::TBitmap> after = Form->EclipseMap().MapPicture(nullptr);
    int differing = 0;
    for (int y = 0; y < after->Height(); y += 7)
        for (int x = 0; x < after->Width(); x += 7)
            differing += after->Canvas()->Pixels(x, y) != before->Canvas()->Pixels(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(Form->EclipseMap().Map().Canvas()->Pixels(900, 300), pixel);
}

// --- the location table's hooks --------------------------------------------------

TEST_F(WindowFiles, AClickOnAPlaceMakesItsRowCurrentAndNewEmptiesTheTable)
{
    Start();
    UseCatalogueDialog();
    OpenThreePlaces("three.sec");
    ASSERT_EQ(Form->SG->RowCount(), 4);
    EXPECT_EQ(Form->SG->Row(), 1);
    const TObserverData* denver = Form->LocationList().Items(1);
    int x = 0, y = 0;
    ASSERT_TRUE(Form->EclipseMap().GeoToPixel(static_cast<double>(compute::RadiansToDeg(denver->GeoLatitude())),
                                              static_cast<double>(compute::RadiansToDeg(denver->GeoLongitude())), x, y));
    gui::sim::Click(Form->PaintBox, x, y);
    EXPECT_EQ(Form->SG->Row(), 2);
    EXPECT_EQ(Form->EclipseMap().MarkerPos.X, x);
    EXPECT_EQ(Form->EclipseMap().MarkerPos.Y, y);
    EXPECT_TRUE(Form->LocationsPanel->Visible());

    AnswerCatalogue(gui::mrOk);
    Form->FileNew();
    EXPECT_EQ(Form->LocationList().Count(), 0);
    EXPECT_EQ(Form->SG->RowCount(), 2);  // the header and one empty row
    EXPECT_EQ(Form->SG->Cells(0, 0), "Location");
    EXPECT_EQ(Form->SG->Cells(0, 1), "");
    EXPECT_EQ(Form->EclipseMap().MarkerPos.X, -1);
    EXPECT_EQ(Form->TimeShiftMode(), tsmSTZ);
    EXPECT_TRUE(Form->FileName().empty());
    EXPECT_FALSE(Form->Modified());
}

// The location table is the program's string grid: a click makes a row
// current and marks its place on the map, a double click reaches the
// window's handler, Ctrl+C copies the row's text.
TEST_F(WindowFiles, TheLocationTableIsTheStringGrid)
{
    Start();
    UseCatalogueDialog();
    OpenThreePlaces("table.sec");
    grid::TExStringGrid* sg = Form->SG;
    ASSERT_EQ(sg->RowCount(), 4);
    EXPECT_EQ(sg->FixedCols(), 0);
    EXPECT_EQ(sg->DefaultRowHeight(), 32);
    // The header row: 34 pixels, 48 once a lunar layout has been shown.
    EXPECT_TRUE(sg->RowHeights(0) == 34 || sg->RowHeights(0) == 48) << sg->RowHeights(0);
    EXPECT_TRUE(sg->Options().Contains(gui::TGridOption::goRowSelect));
    EXPECT_EQ(sg->Look(), grid::TGridLook::glStandard);
    EXPECT_EQ(sg->PopupMenu(), Form->PMLocations);

    int doubleClicks = 0;
    auto handler = sg->OnDblClick;
    sg->OnDblClick = [&](rtl::TObject* s) {
        ++doubleClicks;
        handler(s);
    };
    const gui::TRect row3 = sg->gui::TCustomGrid::CellRect(0, 3);
    gui::sim::Click(sg, row3.Left + 10, row3.Top + 10);
    EXPECT_EQ(sg->Row(), 3);
    const TObserverData* third = Form->LocationList().Items(2);
    int x = 0, y = 0;
    ASSERT_TRUE(Form->EclipseMap().GeoToPixel(static_cast<double>(compute::RadiansToDeg(third->GeoLatitude())),
                                              static_cast<double>(compute::RadiansToDeg(third->GeoLongitude())), x, y));
    EXPECT_EQ(Form->EclipseMap().MarkerPos.X, x);
    EXPECT_EQ(Form->EclipseMap().MarkerPos.Y, y);
    gui::sim::DblClick(sg, row3.Left + 10, row3.Top + 10);
    EXPECT_EQ(doubleClicks, 1);

    gui::sim::KeyPress('C', {gui::TShiftStateItem::ssCtrl}, sg);
    std::string row;
    for (int c = 0; c < sg->ColCount(); ++c) row += (c ? "\t" : "") + sg->Cells(c, 3);
    EXPECT_EQ(gui::Clipboard()->AsText(), row + "\r\n");

    Form->LocationsPanel->SetVisible(true);
    auto shot = Form->GetImage();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((tectest::SnapshotDir() / "main-window-location-table.png").string());
}

// --- a missing catalogue ---------------------------------------------------------

TEST_F(WindowFiles, MissingCatalogueIsToldOnceAndKeepsTheConfiguredEclipse)
{
    DatabaseFile = R("moved-away/be.db");
    TSettings s = OffDefaults();
    s.EventType = 0;
    s.Configuration.Modified = false;
    TObserverDataList none("SE");
    WriteSettings(ConfigFile, true, s, none);
    const std::string before = apptest::ReadBytes(ConfigFile);
    Start();
    UseCatalogueDialog();
    EXPECT_EQ(Messages(), 1);
    EXPECT_NE(Dialogs->Calls.at(0).Text.find("be.db"), std::string::npos);
    EXPECT_EQ(Form->Status(), stError);
    EXPECT_EQ(Form->StatusText(2), Form->ErrorMessage());
    EXPECT_NE(Form->ErrorMessage().find("catalogue cannot be opened"), std::string::npos) << Form->ErrorMessage();
    EXPECT_EQ(Form->ErrorMessage().find("is not in the"), std::string::npos);
    // The catalogue dialog lists nothing and cannot be confirmed.
    EXPECT_EQ(Messages(), 1);
    EXPECT_FALSE(Catalogue->OKBtn->Enabled());
    Stop();
    EXPECT_EQ(Difference(apptest::ReadBytes(ConfigFile), before), "");
}

TEST_F(WindowFiles, CatalogueDialogCannotConfirmAnEmptyList)
{
    Start();
    UseCatalogueDialog();
    EXPECT_TRUE(Catalogue->OKBtn->Enabled());
    Catalogue->ESESaros->SetText("99999");
    Catalogue->ApplyFilter();
    EXPECT_EQ(Catalogue->SETable->RecordCount(), 0);
    EXPECT_FALSE(Catalogue->OKBtn->Enabled());
    Catalogue->ESESaros->SetText("");
    Catalogue->ApplyFilter();
    EXPECT_TRUE(Catalogue->OKBtn->Enabled());
}

// --- values out of range -----------------------------------------------------------

TEST_F(WindowFiles, ValuesOutOfRangeTakeTheirDefaultsAndAreNamed)
{
    TSettings s = OffDefaults();
    s.Configuration.Modified = false;
    TObserverDataList none("SE");
    WriteSettings(ConfigFile, true, s, none);
    std::string text = apptest::ReadBytes(ConfigFile);
    const std::pair<std::string, std::string> edits[] = {
        {"<Width>5735</Width>", "<Width>2000000000</Width>"},
        {"<CEMScale>.2</CEMScale>", "<CEMScale>1E308</CEMScale>"},
        {"<Intensity0>10</Intensity0>", "<Intensity0>99999999</Intensity0>"},
        {"<LELabelSize>12</LELabelSize>", "<LELabelSize>-100</LELabelSize>"},
        {"<Top>200</Top><Left>20</Left><Width>640</Width>", "<Top>-100</Top><Left>-100</Left><Width>-500</Width>"},
    };
    // The settings' own values, not the map record's defaults of the same names.
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from, from.starts_with("<Width>") ? 0 : text.find("<Settings>"));
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }
    apptest::WriteText(ConfigFile, text);
    Start();
    const std::string notice = Form->StatusText(2);
    for (const char* key : {"MapData/Width", "Settings/SE/CEM/CEMScale", "Settings/LE/Shading/Intensity0",
                            "Settings/LE/LELabelSize", "Configuration/LocationsPanel/Top",
                            "Configuration/LocationsPanel/Left", "Configuration/LocationsPanel/Width"})
        EXPECT_NE(notice.find(key), std::string::npos) << key << " in " << notice;
    EXPECT_EQ(notice.find('\n'), std::string::npos);
    Stop();
    TSettings back;
    TObserverDataList list("SE");
    ASSERT_TRUE(ReadSettings(ConfigFile, true, back, list).Ok);
    EXPECT_EQ(back.MapData.Width, StandardMapData.Width);
    EXPECT_EQ(back.CEMScale, 0.25);
    EXPECT_EQ(back.LEShadingIntensity[0], 40);
    EXPECT_EQ(back.LELabelSize, 9);
    EXPECT_EQ(back.Configuration.LocationsPanelTop, 100);
    EXPECT_EQ(back.Configuration.LocationsPanelLeft, 100);
    EXPECT_EQ(back.Configuration.LocationsPanelWidth, 500);
    EXPECT_EQ(back.CEMWidth, 0.02);  // in range: kept
}

TEST_F(WindowFiles, GarbageConfigurationIsQuotedShortAndPrintable)
{
    std::string garbage = "\x01\x02<TSEC>\xff\xfe";
    for (int i = 0; i < 4000; ++i) garbage += static_cast<char>(i % 256);
    apptest::WriteText(ConfigFile, garbage);
    TSettings s;
    TObserverDataList list("SE");
    const TSettingsReadResult r = ReadSettings(ConfigFile, true, s, list);
    ASSERT_FALSE(r.Ok);
    EXPECT_LE(r.Error.size(), 400u);
    for (char c : r.Error) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << r.Error;
    EXPECT_EQ(PrintableExcerpt("ab\x01\xff" "c\xc3\xa9", 80), "ab??c\xc3\xa9");
    EXPECT_EQ(PrintableExcerpt(std::string(100, 'x'), 10), std::string(10, 'x') + "...");
}

// --- the sibling program's commands -------------------------------------------------

TEST_F(WindowFiles, SiblingCommandsFollowTheListAndTheSibling)
{
    std::vector<std::string> launches;
    SiblingLauncher = [&](const std::string&, const std::string& document) {
        launches.push_back(document);
        return true;
    };
    Start();
    OpenThreePlaces("three.sec");
    gui::TAction* run = Form->Action("actLocationsRunInTE");
    gui::TAction* save = Form->Action("actLocationsSaveAsTEDocument");
    gui::TAction* all = Form->Action("actLocationsCreateAllTEDocuments");
    TEDocumentsPath = R("te-documents") + "/";

    // No sibling: the two are disabled, Ctrl+Alt+A writes nothing.
    TEFound = false;
    Form->UpdateActionStates();
    EXPECT_FALSE(run->Enabled());
    EXPECT_FALSE(save->Enabled());
    EXPECT_TRUE(all->Enabled());
    gui::sim::KeyPress('A', {gui::TShiftStateItem::ssCtrl, gui::TShiftStateItem::ssAlt});
    EXPECT_FALSE(fs::exists(TEDocumentsPath));

    // A sibling whose pipe is up: one message for the selected place.
    TEFound = true;
    TEPipeInterface = true;
    Form->UpdateActionStates();
    EXPECT_TRUE(run->Enabled());
    EXPECT_TRUE(save->Enabled());
    tepeer::TPipeRecorder peer(Form->TEClient->PipePath());
    ASSERT_TRUE(peer.Listening());
    run->Execute();
    // The client's worker takes the message from the GUI thread's queue.
    for (int i = 0; i < 1000 && peer.Count() < 1; ++i) {
        gui::Application->ProcessMessages();
        peer.WaitForCount(1, 10);
    }
    ASSERT_EQ(peer.Count(), 1u);
    EXPECT_NE(peer.Messages()[0].find("Dallas"), std::string::npos);
    EXPECT_TRUE(launches.empty());

    // Three places: three files in the folder of the eclipse's date.
    gui::sim::KeyPress('A', {gui::TShiftStateItem::ssCtrl, gui::TShiftStateItem::ssAlt});
    const fs::path folder = TEDocumentsPath + "Solar Eclipse of 2024-04-08";
    ASSERT_TRUE(fs::is_directory(folder));
    int files = 0;
    for (const auto& e : fs::directory_iterator(folder)) files += e.path().extension() == ".tlx";
    EXPECT_EQ(files, 3);
    EXPECT_EQ(peer.Count(), 1u);
    Form->TEClient->Disconnect(true);
    ResetPathsHandlers();
}

} // namespace
