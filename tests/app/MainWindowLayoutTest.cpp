// The main window's keys, hints and layout: the map and location keys run
// their commands before the menu letters, menu entries show their hints in
// the status bar, and the window's place, state, locations panel and scroll
// position go from the configuration to the window at start and back at
// exit.
#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
#include <tuple>

#include "MainWindowFixture.h"
#include "app/MapDlgs.h"
#include "app/ProgramStart.h"
#include "app/SEMain.h"
#include "app/SEMainStates.h"
#include "app/SEPaths.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/WindowPixels.h"

using namespace app;

namespace {

using apptest::MainWindow;

const gui::TShiftState Alt{gui::TShiftStateItem::ssAlt};

// The menu entry bound to an action.
gui::TMenuItem* EntryOf(gui::TMenuItem* parent, gui::TBasicAction* action)
{
    for (int i = 0; i < parent->Count(); ++i) {
        if (parent->Items(i)->Action() == action) return parent->Items(i);
        if (gui::TMenuItem* sub = EntryOf(parent->Items(i), action)) return sub;
    }
    return nullptr;
}

TEST_F(MainWindow, AltKeysRunTheirCommandsNotTheMenus)
{
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    gui::TMainMenu* bar = Form->MenuBar;

    // Alt+M: the maps dialog, not the "&Map" menu.
    bool mapsDialog = false;
    gui::QueueInMainThread([&] {
        if (auto* dlg = dynamic_cast<TMapsDlg*>(gui::Screen->ActiveForm())) {
            mapsDialog = true;
            dlg->SetModalResult(gui::mrCancel);
        }
    });
    gui::sim::KeyPress('M', Alt);
    EXPECT_TRUE(mapsDialog);
    EXPECT_EQ(bar->OpenedItem(), nullptr);

    // Alt+W and Alt+G: the standard and the general map.
    gui::sim::KeyPress('W', Alt);
    EXPECT_EQ(Form->EclipseMap().MapData.ResourceName, StandardMapData.ResourceName);
    EXPECT_EQ(Form->Status(), stNeedCalculation);
    gui::sim::KeyPress('G', Alt);
    EXPECT_EQ(Form->EclipseMap().MapData.ResourceName, GeneralMapData.ResourceName);
    EXPECT_EQ(bar->OpenedItem(), nullptr);

    // Alt+L: the location list command, once it can run.
    gui::TAction* openList = Form->Action("actLocationsOpenList");
    int lists = 0;
    openList->OnExecute = [&](rtl::TObject*) { ++lists; };
    openList->SetEnabled(true);
    gui::sim::KeyPress('L', Alt);
    EXPECT_EQ(lists, 1);
    EXPECT_EQ(bar->OpenedItem(), nullptr);

    // While it cannot run, the key shown on its entry does nothing: it does
    // not open the "&Locations" menu.  The menu opens by its letter with
    // Alt released first, and a greyed entry tells why it is greyed.
    openList->SetEnabled(false);
    gui::sim::KeyPress('L', Alt);
    EXPECT_EQ(lists, 1);
    EXPECT_EQ(bar->OpenedItem(), nullptr);
    gui::TMenuItem* locations = bar->Items()->Find("&Locations");
    ASSERT_TRUE(bar->OpenMenu(locations));
    gui::TAction* print = Form->Action("actLocationsPrint");
    ASSERT_FALSE(print->Enabled());
    print->SetHint("Print location table|Not while the table is empty");
    ASSERT_TRUE(gui::sim::HoverMenuItem(EntryOf(locations, print)));
    EXPECT_EQ(Form->StatusText(3), "Not while the table is empty");
    bar->CloseMenu();
    EXPECT_EQ(Form->StatusText(3), "");

    // The same for Alt+M while the map is being computed.
    Form->SetStatus(stCalculating);
    ASSERT_FALSE(Form->Action("actMapOpenFile")->Enabled());
    gui::sim::KeyPress('M', Alt);
    EXPECT_EQ(bar->OpenedItem(), nullptr);
    Form->SetStatus(stCalculated);
}

TEST_F(MainWindow, MenuEntriesShowTheirHintsInTheStatusBar)
{
    // A command that cannot run yet says so from its menu entry, as from
    // its tool button.
    gui::TMainMenu* bar = Form->MenuBar;
    const std::string source = Form->StatusText(1);
    gui::sim::KeyPress('S', Alt);
    gui::TMenuItem* settings = bar->Items()->Find("&Settings");
    ASSERT_EQ(bar->OpenedItem(), settings);
    bar->CloseMenu();
    gui::TMenuItem* locations = bar->Items()->Find("&Locations");
    ASSERT_TRUE(bar->OpenMenu(locations));
    gui::TAction* add = Form->Action("actLocationsPrint");
    ASSERT_FALSE(add->Enabled());
    add->SetHint("Print location table|Not while the table is empty");
    ASSERT_TRUE(gui::sim::HoverMenuItem(EntryOf(locations, add)));
    EXPECT_EQ(Form->StatusText(3), gui::GetLongHint(add->Hint()));
    EXPECT_NE(Form->StatusText(3), "");
    // The document's own panels keep their texts.
    EXPECT_EQ(Form->StatusText(1), source);
    bar->CloseMenu();
    EXPECT_EQ(Form->StatusText(3), "");
}

// The program from its start to its end, with a configuration written
// for the test.
class WindowLayout : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        if (!std::filesystem::exists(apptest::CatalogueFile)) GTEST_SKIP() << "no catalogue built";
        gui::SetDialogService(std::make_unique<gui::TScriptedDialogService>());
        TPathsSetup setup;
        setup.ExecutableFile = std::string(TEC_RUNTIME_DIR) + "/tolmira-eclipse";
        InitPaths(setup);
        gui::Application->Initialize();
        // The shipped configuration is the starting point.
        TObserverDataList list("SE");
        ASSERT_TRUE(ReadSettings(ProgramPath + "tec.ini", true, Config, list).Ok);
    }
    void TearDown() override
    {
        if (Windows.Main) EndProgram(Windows);
        gui::SetDialogService(nullptr);
        HomeFixture::TearDown();
    }
    void Start(const std::vector<std::string>& arguments = {}, const TObserverDataList* places = nullptr)
    {
        TObserverDataList none("SE");
        WriteSettings(ConfigFile, true, Config, places ? *places : none);
        Windows = StartProgram(arguments, std::chrono::milliseconds(0));
        Windows.Main->Show();
        gui::Application->ProcessMessages();
    }
    void Calculate()
    {
        for (int i = 0; i < 10 && Windows.Main->Status() == stNeedCalculation; ++i) {
            bool done = false;
            gui::Application->DoIdle(done);
        }
    }
    // Closes the window as the user does and ends the program; the
    // configuration it wrote.
    TSettings End()
    {
        Windows.Main->Close();
        gui::Application->ProcessMessages();
        EndProgram(Windows);
        TSettings stored;
        TObserverDataList list("SE");
        EXPECT_TRUE(ReadSettings(ConfigFile, true, stored, list).Ok);
        return stored;
    }

    TSettings Config;
    TProgramWindows Windows;
};

TEST_F(WindowLayout, NormalWindowTakesItsBoundsAndGivesThemBack)
{
    TConfigurationSettings& c = Config.Configuration;
    c.FormWindowState = 0;
    c.FormLeft = 40, c.FormTop = 30, c.FormWidth = 700, c.FormHeight = 500;
    c.LocationsPanelVisible = true;
    c.LocationsPanelHeight = 120;
    c.LocationsPanelLeft = 200;
    Config.ScrollInfo = {100, 50, true};
    Start();
    TSEMainForm* form = Windows.Main;
    EXPECT_EQ(form->WindowState(), gui::TWindowState::wsNormal);
    EXPECT_EQ(form->NormalBounds(), gui::Rect(40, 30, 740, 530));
    EXPECT_EQ(form->Width(), 700);
    EXPECT_EQ(form->Height(), 500);
    EXPECT_TRUE(form->LocationsPanel->Visible());
    EXPECT_EQ(form->LocationsPanel->Height(), 120);
    Calculate();
    ASSERT_EQ(form->Status(), stCalculated);
    EXPECT_EQ(form->ScrollBox->HorzScrollBar()->Position(), 100);
    EXPECT_EQ(form->ScrollBox->VertScrollBar()->Position(), 50);

    // The user moves and sizes the window, the panel and the view.
    form->SetBounds(60, 50, 720, 520);
    form->LocationsPanel->SetHeight(140);
    form->ScrollBox->HorzScrollBar()->SetPosition(300);
    form->ScrollBox->VertScrollBar()->SetPosition(200);
    const TSettings stored = End();
    const TConfigurationSettings& s = stored.Configuration;
    EXPECT_EQ(s.FormWindowState, 0);
    EXPECT_EQ(s.FormLeft, 60);
    EXPECT_EQ(s.FormTop, 50);
    EXPECT_EQ(s.FormWidth, 720);
    EXPECT_EQ(s.FormHeight, 520);
    EXPECT_TRUE(s.LocationsPanelVisible);
    EXPECT_EQ(s.LocationsPanelHeight, 140);
    EXPECT_EQ(s.LocationsPanelLeft, 200);    // the floating panel took the stored place
    EXPECT_EQ(s.LocationsPanelTop, c.LocationsPanelTop);
    EXPECT_EQ(s.LocationsPanelWidth, c.LocationsPanelWidth);
    EXPECT_EQ(s.ToolPanelTop, c.ToolPanelTop);
    EXPECT_EQ(s.ToolPanelLeft, c.ToolPanelLeft);
    EXPECT_EQ(stored.ScrollInfo.X, 300);
    EXPECT_EQ(stored.ScrollInfo.Y, 200);
}

TEST_F(WindowLayout, MaximisedWindowKeepsItsNormalBoundsApart)
{
    // Maximised: the stored bounds are not applied; the window's normal
    // bounds are written back with the state.
    Config.Configuration.FormWindowState = 2;
    Config.Configuration.FormLeft = 5000;
    Start();
    TSEMainForm* form = Windows.Main;
    EXPECT_EQ(form->WindowState(), gui::TWindowState::wsMaximized);
    const gui::TRect normal = form->NormalBounds();
    EXPECT_NE(normal.Left, 5000);
    const TSettings stored = End();
    EXPECT_EQ(stored.Configuration.FormWindowState, 2);
    // (The reader passes over the bounds of a maximised window.)
    const std::string bounds = "<Form><Top>" + std::to_string(normal.Top) + "</Top><Left>" +
                             std::to_string(normal.Left) + "</Left><Width>" + std::to_string(normal.Width()) +
                             "</Width><Height>" + std::to_string(normal.Height()) + "</Height><WindowState>2";
    EXPECT_NE(apptest::ReadBytes(ConfigFile).find(bounds), std::string::npos) << bounds;
}

TEST_F(WindowLayout, BoundsOutOfSightOrTooSmallComeBackUsable)
{
    const gui::TRect area = gui::Screen->WorkAreaRect();
    TConfigurationSettings& c = Config.Configuration;
    c.FormWindowState = 0;
    c.FormLeft = area.Right + 2000, c.FormTop = 30, c.FormWidth = 20, c.FormHeight = -5;
    c.LocationsPanelVisible = true;
    c.LocationsPanelHeight = 0;
    Start();
    TSEMainForm* form = Windows.Main;
    // Too small: the smallest size; no size at all (out of range): the
    // default size (800 x 700), kept on the screen.
    const int height = std::clamp(700, MinimumFormHeight, std::max(MinimumFormHeight, area.Height()));
    EXPECT_EQ(form->NormalBounds(), gui::Rect(area.Left + 10, area.Top + 10, area.Left + 10 + MinimumFormWidth,
                                              area.Top + 10 + height));
    EXPECT_EQ(form->LocationsPanel->Height(), 300);
}

TEST_F(WindowLayout, StoredScrollPositionNotYetAppliedIsKept)
{
    // No calculation has applied the stored position when the window
    // closes: closed before the first one, or the eclipse the configuration
    // names is not in the catalogue (no calculation at all).  The view is
    // not scrolled; the exit keeps the stored position.
    const std::pair<int, TStatus> cases[] = {{9561, stNeedCalculation}, {999999, stError}};
    for (const auto& [catNo, status] : cases) {
        Config.ScrollInfo = {630, 15, true};
        Config.SECatNo = catNo;
        Start();
        ASSERT_EQ(Windows.Main->Status(), status) << catNo;
        if (status == stError) Calculate();
        EXPECT_EQ(Windows.Main->ScrollBox->HorzScrollBar()->Position(), 0) << catNo;
        const TSettings stored = End();
        EXPECT_EQ(stored.ScrollInfo.X, 630) << catNo;
        EXPECT_EQ(stored.ScrollInfo.Y, 15) << catNo;
    }
}

TEST_F(WindowLayout, DocumentOnTheCommandLineNamedOnceInTheTitle)
{
    TSettings s = Config;
    s.EventType = 0;
    s.SECatNo = 9561;
    TObserverDataList none("SE");
    WriteSettings(H("good.sec"), false, s, none);
    Start({H("good.sec")});
    EXPECT_EQ(Windows.Main->WindowTitle(), "Tolmira Eclipse Calculator - [good.sec]");
}

TEST_F(WindowLayout, FloatingPanelsTakeTheirStoredPlacesOverTheMap)
{
    // The shipped configuration's maximised window and panel size.
    ASSERT_EQ(Config.Configuration.FormWindowState, 2);
    ASSERT_EQ(Config.Configuration.LocationsPanelHeight, 300);
    Config.Configuration.LocationsPanelVisible = true;
    Start();
    TSEMainForm* f = Windows.Main;
    ASSERT_TRUE(f->LocationsPanel->Visible());
    // The map fills the window down to the status bar on the lower edge;
    // the panels lie over it at their places.
    EXPECT_EQ(f->StatusBar->Top() + f->StatusBar->Height(), f->ClientHeight());
    EXPECT_EQ(f->ScrollBox->Top() + f->ScrollBox->Height(), f->StatusBar->Top());
    EXPECT_EQ(f->LocationsPanel->BoundsRect(), gui::Rect(100, 100, 600, 400));
    EXPECT_EQ(f->ControlPanel->Left(), 10);
    EXPECT_EQ(f->ControlPanel->Top(), 50);
    // Hidden and shown again: the same place, above the map.
    f->Action("actLocationsViewList")->Execute();
    EXPECT_FALSE(f->LocationsPanel->Visible());
    f->Action("actLocationsViewList")->Execute();
    EXPECT_EQ(f->LocationsPanel->BoundsRect(), gui::Rect(100, 100, 600, 400));
    EXPECT_EQ(gui::FindDragTarget(f->LocationsPanel->ClientToScreen({50, 5}), false), f->LocationsPanel);
}


// Started with the locations panel shown over the map and places in the
// list, the screen shows the whole panel once the map is computed: its
// caption and command buttons as the panel paints them, not the map.
TEST_F(WindowLayout, LocationsPanelShownAtStartIsWholeOnTheScreen)
{
    Config.Configuration.LocationsPanelVisible = true;
    constexpr long double Deg = 3.14159265358979323846L / 180;
    TObserverDataList places("SE");
    for (const auto& [name, lat, lon] : {std::tuple{"Findlay (USA)", 41.0341, -83.6523},
                                         std::tuple{"Dallas (USA)", 32.7831, -96.8067}}) {
        auto* o = new TObserverData;
        o->SetPlace(name);
        o->SetGeoLatitude(lat * Deg);
        o->SetGeoLongitude(-lon * Deg);
        places.Add(o);
    }
    Start({}, &places);
    TSEMainForm* f = Windows.Main;
    ASSERT_TRUE(f->LocationsPanel->Visible());
    ASSERT_EQ(f->LocationList().Count(), 2);
    Calculate();
    ASSERT_EQ(f->Status(), stCalculated);
    gui::Application->ProcessMessages();
    auto seen = gui::GrabScreenImage(f->LocationsPanel);
    ASSERT_NE(seen, nullptr);
    auto own = f->LocationsPanel->GetImage();
    // The caption and the command buttons: the rows above the table.
    const int rows = f->SG->Top();
    ASSERT_GT(rows, 40);
    int differ = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < f->LocationsPanel->Width(); ++x)
            if (seen->Canvas()->Pixels(x, y) != own->Canvas()->Pixels(x, y)) ++differ;
    EXPECT_LT(differ, rows * f->LocationsPanel->Width() / 100) << differ << " pixels differ";
    gui::TPicture picture;
    picture.SetGraphic(gui::GrabScreenImage(f).get());
    picture.SaveToFile((apptest::Shots / "start-with-locations-panel.png").string());
}

} // namespace
