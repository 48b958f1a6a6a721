// The location dialogs driven as a user does: the location editor's fields
// and time zones, the locations database (search, sort, delete, import,
// several rows picked), the list criteria of solar and lunar eclipses and
// the map's right button.  Each dialog leaves a screenshot.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "GridHeaderCheck.h"
#include "MainWindowFixture.h"
#include "app/AddLocationDlgs.h"
#include "app/CreateLocationListLEDlgs.h"
#include "app/CreateLocationListSEDlgs.h"
#include "app/LocationsDlgs.h"
#include "app/MapDlgs.h"
#include "app/MapView.h"
#include "app/ProgramStart.h"
#include "app/TimeShiftModeDlgs.h"
#include "compute/AstroMath.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/Strings.h"

using namespace app;
using namespace gui;
using apptest::MainWindow;

namespace {

constexpr long double Deg = 3.14159265358979323846L / 180;

TObserverData* Place(const std::string& place, double lonDeg, double latDeg, int zone = 0)
{
    auto* o = new TObserverData;
    o->SetPlace(place);
    o->SetGeoLongitude(lonDeg * Deg);
    o->SetGeoLatitude(latDeg * Deg);
    o->SetStdTimeZone(zone);
    return o;
}

// Runs fn once the next modal dialog shows (from inside its loop).
void WhenShown(std::function<void(TCustomForm*)> fn)
{
    QueueInMainThread([fn] { fn(Screen->ActiveForm()); });
}

using LocationDialogs = MainWindow;

} // namespace

// ------------------------------------------------------------ one location

TEST_F(LocationDialogs, TimeZoneBoxTakesAbbreviationsAndTimes)
{
    TAddLocationDlg dlg(nullptr);
    std::unique_ptr<TObserverData> berlin(Place("Berlin (Germany)", -13.4, 52.5, 3600));
    dlg.SetLocation(berlin.get());
    EXPECT_EQ(dlg.CBTimeShift->Text(), "+1:00");
    EXPECT_EQ(dlg.CBTimeShift->Items()->Count(), 43);
    EXPECT_EQ(dlg.CBCountry->Items()->Count(), 198);
    struct Case {
        const char* typed;
        int seconds;
        const char* shown;
    };
    const Case cases[] = {
        {"cet", 3600, "+1:00"},   {"NST", -12600, "-3:30"}, {"5:30", 19800, "+5:30"},
        {"1", 86400, "+24:00"},   {"xyz", 86400, "+24:00"}, {"utc", 0, "+0:00"},
        {"-9:30", -34200, "-9:30"}, {"", -34200, "-9:30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        dlg.CBTimeShift->SetText(c.typed);
        dlg.CBTimeShiftExit();
        EXPECT_EQ(dlg.Location()->StdTimeZone(), c.seconds);
        EXPECT_EQ(dlg.CBTimeShift->Text(), c.shown);
    }
    EXPECT_EQ(FormatTimeZone(0), "+0:00");
    EXPECT_EQ(FormatTimeZone(3659), "+1:00");   // seconds dropped
}

TEST_F(LocationDialogs, LocationEditorKeepsCoordinatesThatDoNotParse)
{
    TAddLocationDlg dlg(nullptr);
    std::unique_ptr<TObserverData> p(Place("Paris", -2.35, 48.85));
    dlg.SetLocation(p.get());
    EXPECT_EQ(dlg.ELocation->Text(), "Paris");
    EXPECT_EQ(dlg.CBCountry->Text(), "");   // no parentheses: no country
    const std::string lon = dlg.ELongitude->Text(), lat = dlg.ELatitude->Text();
    EXPECT_NE(lon.find("E"), std::string::npos);
    EXPECT_NE(lat.find("N"), std::string::npos);
    dlg.ELongitude->SetText("200 0 E");
    dlg.ELatitude->SetText("north");
    // OK runs the exits: both keep their old value and show it again.
    dlg.Show();
    sim::Click(dlg.OKBtn, 5, 5);
    EXPECT_EQ(dlg.ELongitude->Text(), lon);
    EXPECT_EQ(dlg.ELatitude->Text(), lat);
    EXPECT_NEAR(static_cast<double>(dlg.Location()->GeoLongitude() / Deg), -2.35, 1e-9);
    // A good text is taken, west positive.
    dlg.ELongitude->SetText("10 30 W");
    dlg.ELongitudeExit();
    EXPECT_NEAR(static_cast<double>(dlg.Location()->GeoLongitude() / Deg), 10.5, 1e-9);
    dlg.Hide();
}

TEST_F(LocationDialogs, PlaceIsNameWithCountryInParentheses)
{
    struct Case {
        const char* name;
        const char* country;
        const char* place;
    };
    const Case cases[] = {{"Lima", "Peru", "Lima (Peru)"}, {" Lima ", "  ", "Lima"}, {"Halle", " Germany", "Halle (Germany)"}};
    for (const Case& c : cases) {
        TAddLocationDlg dlg(nullptr);
        std::unique_ptr<TObserverData> p(Place("x", 0, 0));
        dlg.SetLocation(p.get());
        dlg.ELocation->SetText(c.name);
        dlg.CBCountry->SetText(c.country);
        dlg.OKBtnClick();
        EXPECT_EQ(dlg.Location()->Place(), c.place);
    }
    TAddLocationDlg dlg(nullptr);
    std::unique_ptr<TObserverData> p(Place("Berlin (Germany)", -13.4, 52.5, 3600));
    dlg.SetCaption("Edit location");
    dlg.SetLocation(p.get());
    dlg.Show();
    Shot(&dlg, "location-edit.png");
    dlg.Hide();
}

// ------------------------------------------------------- the database

namespace {

// The database file with four places, and the dialog reading it.
struct Database {
    std::unique_ptr<TLocationsDlg> dlg;
    explicit Database(bool fill = true)
    {
        if (fill) {
            TObserverDataList list("Database");
            list.Add(Place("Tokyo (Japan)", -139.7, 35.7, 32400));
            list.Add(Place("Paris (France)", -2.35, 48.85, 3600));
            list.Add(Place("St. John's (Canada)", 52.7, 47.6, -12600));
            list.Add(Place("Mumbai (India)", -72.9, 19.1, 19800));
            list.Add(Place("Reykjavik", 21.9, 64.1, 0));
            list.SaveToFile(LocationsFile);
        }
        dlg = std::make_unique<TLocationsDlg>(nullptr);
    }
    std::string Cell(int c, int r) const { return dlg->SG->Cells(c, r); }
    int RowOf(const std::string& name) const
    {
        for (int r = 1; r < dlg->SG->RowCount(); ++r)
            if (Cell(0, r) == name) return r;
        return -1;
    }
};

} // namespace

TEST_F(LocationDialogs, DatabaseShowsItsPlacesInFiveColumns)
{
    Database db;
    grid::TExStringGrid* g = db.dlg->SG;
    EXPECT_EQ(db.dlg->Caption(), "Location database (5 entries)");
    ASSERT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->FixedCols(), 0);
    const char* headers[] = {"Location", "Country / Region", "Longitude", "Latitude", "Time zone"};
    const int widths[] = {128, 110, 72, 64, 72};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(db.Cell(c, 0), headers[c]);
        EXPECT_EQ(g->ColWidths(c), widths[c]);
    }
    // The headers fit their columns, and the columns the grid beside a
    // vertical scroll bar.
    apptest::ExpectHeadersFit(g, "location database");
    int total = 0;
    for (int c = 0; c < 5; ++c) total += g->ColWidths(c) + 1;
    EXPECT_LE(total, g->ClientWidth() - 16);
    EXPECT_EQ(db.Cell(0, 1), "Tokyo");
    EXPECT_EQ(db.Cell(1, 1), "Japan");
    EXPECT_EQ(db.Cell(4, 1), "UTC+9:00");
    EXPECT_EQ(db.Cell(4, 3), "UTC-3:30");
    EXPECT_EQ(db.Cell(4, 4), "UTC+5:30");
    EXPECT_EQ(db.Cell(4, 5), "UTC");
    EXPECT_EQ(db.Cell(1, 5), "");   // a place without a country
    EXPECT_NE(db.Cell(2, 2).find("E"), std::string::npos);
    EXPECT_NE(db.Cell(2, 3).find("W"), std::string::npos);
    // Light rows for even list positions, white for odd; coordinates and
    // zone right-aligned, the names left.
    db.dlg->Show();
    Application->ProcessMessages();
    auto image = db.dlg->SG->GetImage();
    ASSERT_TRUE(image);
    auto at = [&](int c, int r) {
        const TRect rc = g->CellRect(c, r);
        return ColorToRGB(image->Canvas()->Pixels(rc.Left + 2, rc.Bottom - 3));
    };
    // Row 1 is the current row; rows 2 .. 5 show their own colours.
    EXPECT_EQ(at(0, 2), 0xFFFFFFu);
    EXPECT_EQ(at(0, 3), ColorToRGB(TColor(0xF0FAFF)));
    EXPECT_EQ(at(0, 4), 0xFFFFFFu);
    EXPECT_EQ(at(0, 5), ColorToRGB(TColor(0xF0FAFF)));
    // Text ink near the cell's left and right ends: names left, coordinates
    // and zones right.
    auto ink = [&](int c, int r, bool right) {
        const TRect rc = g->CellRect(c, r);
        // Two pixels off each end: the grid's lines and its look border are no text.
        const int x0 = right ? rc.Right - 13 : rc.Left + 2, x1 = right ? rc.Right - 2 : rc.Left + 13;
        const uint32_t bg = ColorToRGB(image->Canvas()->Pixels(rc.Left + 3, rc.Bottom - 3));
        for (int x = x0; x < x1; ++x)
            for (int y = rc.Top + 2; y < rc.Bottom - 2; ++y)
                if (ColorToRGB(image->Canvas()->Pixels(x, y)) != bg) return true;
        return false;
    };
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(ink(c, 3, true), c >= 2) << c;
        if (c < 2) { EXPECT_TRUE(ink(c, 3, false)) << c; }
    }
    Shot(db.dlg.get(), "locations-database.png");
    db.dlg->Hide();
}

TEST_F(LocationDialogs, SearchSelectsTheFirstPlaceBeginningWithTheText)
{
    Database db;
    db.dlg->Show();
    db.dlg->EFind->SetFocus();
    sim::TypeText("  par", db.dlg->EFind);
    EXPECT_EQ(db.dlg->SG->Row(), db.RowOf("Paris"));
    db.dlg->EFind->SetText("xyz");
    EXPECT_EQ(db.dlg->SG->Row(), db.RowOf("Paris"));   // no match: stays
    db.dlg->EFind->SetText("s");
    EXPECT_EQ(db.dlg->SG->Row(), db.RowOf("St. John's"));
    db.dlg->Hide();
}

TEST_F(LocationDialogs, HeaderClickSortsAndKeepsTheCurrentPlace)
{
    Database db;
    db.dlg->Show();
    db.dlg->EFind->SetText("mum");
    ASSERT_EQ(db.dlg->SG->Row(), 4);
    const TRect header = db.dlg->SG->CellRect(2, 0);
    sim::Click(db.dlg->SG, header.Left + 10, header.Top + 4);
    Application->ProcessMessages();
    // West to east: St. John's, Reykjavik, Paris, Mumbai, Tokyo.
    const char* order[] = {"St. John's", "Reykjavik", "Paris", "Mumbai", "Tokyo"};
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(db.Cell(0, r), order[r - 1]);
    EXPECT_EQ(db.dlg->SG->Row(), 4);
    EXPECT_EQ(db.Cell(0, db.dlg->SG->Row()), "Mumbai");
    // The zone column does not sort.
    const TRect zone = db.dlg->SG->CellRect(4, 0);
    sim::Click(db.dlg->SG, zone.Left + 10, zone.Top + 4);
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(db.Cell(0, r), order[r - 1]);
    db.dlg->Hide();
}

TEST_F(LocationDialogs, DeleteAsksAndWritesTheFileAtOnce)
{
    Database db;
    db.dlg->Show();
    db.dlg->EFind->SetText("paris");
    // Del in the search field edits the text only.
    db.dlg->EFind->SetFocus();
    db.dlg->EFind->SetSelStart(0);
    sim::KeyPress(VK_DELETE, {}, db.dlg->EFind);
    EXPECT_EQ(db.dlg->EFind->Text(), "aris");
    EXPECT_TRUE(Dialogs->Calls.empty());
    db.dlg->SG->SetFocus();
    Dialogs->MessageAnswers.push_back(mrNo);
    sim::KeyPress(VK_DELETE, {}, db.dlg->SG);
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Text, "Delete location 'Paris (France)' from database?");
    EXPECT_EQ(db.dlg->LocationList().Count(), 5);
    Dialogs->MessageAnswers.push_back(mrYes);
    sim::KeyPress(VK_DELETE, {}, db.dlg->SG);
    EXPECT_EQ(db.dlg->LocationList().Count(), 4);
    EXPECT_EQ(db.RowOf("Paris"), -1);
    // The file already lacks it, before the dialog ends.
    TObserverDataList onDisk;
    onDisk.ReadFromFile(LocationsFile);
    EXPECT_EQ(onDisk.Count(), 4);
    EXPECT_EQ(onDisk.FindPlace("Paris (France)"), -1);
    db.dlg->Hide();
}

TEST_F(LocationDialogs, ImportSkipsPlacesAlreadyPresent)
{
    Database db;
    TObserverDataList other("Other");
    other.Add(Place("paris (france)", 0, 0));
    other.Add(Place("Lima (Peru)", 77.0, -12.0, -18000));
    const std::string file = H("more.loc");
    other.SaveToFile(file);
    Dialogs->FileAnswers.push_back({true, file});
    db.dlg->MIImport->Click();
    ASSERT_FALSE(Dialogs->Calls.empty());
    EXPECT_EQ(Dialogs->Calls.back().File.Title, "Import location list");
    EXPECT_EQ(Dialogs->Calls.back().File.DefaultExt, "loc");
    EXPECT_EQ(db.dlg->LocationList().Count(), 6);
    EXPECT_EQ(db.Cell(0, 6), "Lima");
    TObserverDataList onDisk;
    onDisk.ReadFromFile(LocationsFile);
    EXPECT_EQ(onDisk.Count(), 6);
}

TEST_F(LocationDialogs, ThreeSelectedRowsAreTheSelectedLocationsAfterOK)
{
    Database db;
    db.dlg->Show();
    grid::TExStringGrid* g = db.dlg->SG;
    const TRect r2 = g->CellRect(0, 2), r4 = g->CellRect(0, 4);
    sim::Click(g, r2.Left + 5, r2.Top + 4);
    sim::MouseDown(g, TMouseButton::mbLeft, r4.Left + 5, r4.Top + 4, {TShiftStateItem::ssShift});
    sim::MouseUp(g, TMouseButton::mbLeft, r4.Left + 5, r4.Top + 4, {TShiftStateItem::ssShift});
    ASSERT_EQ(g->CountSelectedRows(), 3);
    sim::Click(db.dlg->OKBtn, 5, 5);
    EXPECT_EQ(db.dlg->SelCount(), 3);
    const char* picked[] = {"Paris (France)", "St. John's (Canada)", "Mumbai (India)"};
    for (int j = 0; j < 3; ++j) {
        ASSERT_NE(db.dlg->SelectedLocation(j), nullptr) << j;
        EXPECT_EQ(db.dlg->SelectedLocation(j)->Place(), picked[j]);
    }
    EXPECT_EQ(db.dlg->SelectedLocation(3), nullptr);
    db.dlg->Hide();
}

TEST_F(LocationDialogs, AddFromTheMenuAppendsAndSaves)
{
    Database db;
    WhenShown([](TCustomForm* f) {
        auto* add = dynamic_cast<TAddLocationDlg*>(f);
        ASSERT_NE(add, nullptr);
        EXPECT_EQ(add->Caption(), "Add location to list");
        add->ELocation->SetText("Quito");
        add->CBCountry->SetText("Ecuador");
        add->ELongitude->SetText("78 30 W");
        add->ELatitude->SetText("0 13 S");
        add->CBTimeShift->SetText("-5:00");
        add->OKBtn->Click();
    });
    db.dlg->MIAdd->Click();
    ASSERT_EQ(db.dlg->LocationList().Count(), 6);
    const TObserverData* q = db.dlg->LocationList()[5];
    EXPECT_EQ(q->Place(), "Quito (Ecuador)");
    EXPECT_EQ(q->StdTimeZone(), -18000);
    EXPECT_NEAR(static_cast<double>(q->GeoLongitude() / Deg), 78.5, 1e-9);
    TObserverDataList onDisk;
    onDisk.ReadFromFile(LocationsFile);
    EXPECT_EQ(onDisk.FindPlace("Quito (Ecuador)"), 5);
    EXPECT_EQ(db.Cell(4, 6), "UTC-5:00");
}

TEST_F(LocationDialogs, MalformedDatabaseLeavesTheDialogEmptyAndTheFileAlone)
{
    const std::string bad = "<?xml version=\"1.0\"?>\n<LocationList><Name>Database</Na";
    apptest::WriteText(LocationsFile, bad);
    {
        Database db(false);
        EXPECT_EQ(db.dlg->LocationList().Count(), 0);
        EXPECT_EQ(db.dlg->SG->RowCount(), 2);
        EXPECT_EQ(db.dlg->Caption(), "Location database (0 entries)");
        EXPECT_TRUE(db.dlg->Database().Broken());
        // Nothing to delete in an empty list: no question.
        db.dlg->MIDelete->Click();
        EXPECT_TRUE(Dialogs->Calls.empty());
    }
    EXPECT_EQ(apptest::ReadBytes(LocationsFile), bad);
}

TEST_F(LocationDialogs, ProgramStartsWithAMalformedDatabaseAndLeavesItUnchanged)
{
    const std::string bad = "not a location list";
    apptest::WriteText(LocationsFile, bad);
    // The fixture's window aside, the program's own start and end.
    TProgramWindows w = StartProgram({}, std::chrono::milliseconds(0));
    ASSERT_NE(w.Locations, nullptr);
    EXPECT_EQ(w.Main->LocationsDlg, w.Locations);
    EXPECT_EQ(w.Locations->LocationList().Count(), 0);
    EndProgram(w);
    EXPECT_EQ(apptest::ReadBytes(LocationsFile), bad);
}

TEST_F(LocationDialogs, RefreshOfTenThousandPlaces)
{
    TObserverDataList list("Database");
    for (int i = 0; i < 10000; ++i)
        list.Add(Place("Place " + rtl::IntToStr(i) + " (Country " + rtl::IntToStr(i % 190) + ")", (i % 360) - 180.0,
                       (i % 180) - 90.0, (i % 49 - 24) * 1800));
    list.SaveToFile(LocationsFile);
    TLocationsDlg dlg(nullptr);
    ASSERT_EQ(dlg.LocationList().Count(), 10000);
    const auto start = std::chrono::steady_clock::now();
    dlg.RefreshGrid();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("RefreshGrid of 10,000 places: %.3f s\n", seconds);
    EXPECT_EQ(dlg.SG->RowCount(), 10001);
    EXPECT_EQ(dlg.SG->Cells(0, 10000), "Place 9999");
}

// ---------------------------------------------------------- list criteria

TEST_F(LocationDialogs, SolarListRefusesALimitAboveTheEclipseMagnitude)
{
    TCreateLocationListSEDlg dlg(nullptr);
    EXPECT_EQ(dlg.EMagLimit->Text(), "0.8000");
    dlg.SetMaxMagnitude(0.63);
    EXPECT_EQ(dlg.LInfo->Caption(), "max. magnitude is 0.6300");
    dlg.SetMaximumVisible(true);
    EXPECT_TRUE(dlg.CBMaximumVisible->Checked());
    dlg.OnShow = [&](rtl::TObject*) {
        dlg.EMagLimit->SetText("0.7");
        dlg.OKBtn->Click();   // refused: stays open
        QueueInMainThread([&] {
            EXPECT_TRUE(dlg.Visible());
            EXPECT_EQ(dlg.ModalResult(), mrNone);
            Shot(&dlg, "location-list-solar.png");
            dlg.EMagLimit->SetText("0.5");
            dlg.OKBtn->Click();
        });
    };
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    ASSERT_FALSE(Dialogs->Calls.empty());
    EXPECT_EQ(Dialogs->Calls.back().Text, "The limiting magnitude exceeds the allowed range.");
    EXPECT_DOUBLE_EQ(dlg.Magnitude(), 0.5);
    EXPECT_TRUE(dlg.MaximumVisible());
    // A total eclipse: no limit shown, any limit up to 1 taken.
    dlg.SetMaxMagnitude(1.02);
    EXPECT_EQ(dlg.LInfo->Caption(), "");
    EXPECT_EQ(dlg.MaxMagnitude(), 2.0);
}

TEST_F(LocationDialogs, LunarListOffersTheButtonsOfTheEclipseType)
{
    TCreateLocationListLEDlg dlg(nullptr);
    EXPECT_EQ(dlg.Zones(), (TZones{6}));
    EXPECT_TRUE(dlg.RB[0]->Checked());
    struct Case {
        const char* type;
        bool enabled[6];
    };
    const Case cases[] = {{"T", {true, true, true, true, true, true}},
                          {"P", {true, true, false, false, true, true}},
                          {"N", {true, false, false, false, false, true}}};
    for (const Case& c : cases)
        for (int i = 0; i < 6; ++i) {
            dlg.SetEclipseType(c.type);
            EXPECT_EQ(dlg.RB[i]->Enabled(), c.enabled[i]) << c.type << " RB" << i;
        }
    const TZones zones[] = {{6}, {5, 6, 7}, {4, 5, 6, 7, 8}, {3, 4, 5, 6, 7, 8, 9}, {2, 3, 4, 5, 6, 7, 8, 9, 10},
                            {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
    dlg.SetEclipseType("T");
    dlg.Show();
    for (int i = 5; i >= 0; --i) {
        sim::Click(dlg.RB[i], 8, 8);
        EXPECT_TRUE(dlg.RB[i]->Checked()) << i;
        EXPECT_EQ(dlg.Zones(), zones[i]) << i;
    }
    dlg.SetEclipseType("P");
    Shot(&dlg, "location-list-lunar.png");
    dlg.Hide();
}

TEST_F(LocationDialogs, TimeShiftModeIsTheItemIndex)
{
    TTimeShiftModeDlg dlg(nullptr);
    dlg.SetTimeShiftMode(2);
    EXPECT_EQ(dlg.CBTimeShiftMode->Text(), "Standard time zone");
    dlg.CBTimeShiftMode->SetItemIndex(1);
    dlg.CBTimeShiftModeChange();
    EXPECT_EQ(dlg.TimeShiftMode(), 1);
    dlg.Show();
    Shot(&dlg, "time-shift-mode.png");
    dlg.Hide();
}

TEST_F(LocationDialogs, MapDefaultsWidthsAreFloatEdits)
{
    TDefaultsDlg dlg(nullptr);
    TMapData file = StandardMapData;
    file.CEMScale = 0.25;
    SaveMapDataFile(H("europe.map"), file);
    dlg.SetMapFileName(H("europe.map"));
    for (TFloatEdit* e : {dlg.ECEMScale, dlg.ECEMWidth, dlg.ECETWidth, dlg.EVBLWidth}) {
        EXPECT_EQ(e->Digits(), 4);
        EXPECT_EQ(e->MaxValue(), 1.0L);
    }
    dlg.Show();
    dlg.ECEMScale->SetText("1.5");
    EXPECT_EQ(dlg.ECEMScale->Value(), 0.25L);
    EXPECT_EQ(dlg.ECEMScale->Text(), "0.2500");
    EXPECT_EQ(Dialogs->Calls.back().Text, "The value is out of range (0 .. 1).");
    Shot(&dlg, "map-defaults-float.png");
    dlg.Hide();
}

// ------------------------------------------------------ the map's right button

TEST_F(LocationDialogs, RightButtonEditsTheFirstLocationNearby)
{
    TObserverDataList& list = Form->LocationList();
    list.Clear();
    list.Add(Place("First", -10, 20));
    list.Add(Place("Second", -10.05, 20.05));
    int x = 0, y = 0;
    ASSERT_TRUE(GeoToPixel(Form->EclipseMap().MapData, 20, -10, x, y));
    std::string caption;
    WhenShown([&](TCustomForm* f) {
        auto* dlg = dynamic_cast<TAddLocationDlg*>(f);
        ASSERT_NE(dlg, nullptr);
        caption = dlg->Caption();
        EXPECT_EQ(dlg->ELocation->Text(), "First");
        dlg->ELocation->SetText("First edited");
        dlg->OKBtn->Click();
    });
    Form->SetModified(false);
    sim::Click(Form->PaintBox, x + 1, y + 1, TMouseButton::mbRight);
    EXPECT_EQ(caption, "Edit location");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0]->Place(), "First edited");
    EXPECT_EQ(list[1]->Place(), "Second");
    EXPECT_TRUE(Form->Modified());
    EXPECT_TRUE(Form->LocationsPanel->Visible());
}

TEST_F(LocationDialogs, RightButtonAwayFromLocationsOffersANewOne)
{
    TObserverDataList& list = Form->LocationList();
    list.Clear();
    int x = 0, y = 0;
    ASSERT_TRUE(GeoToPixel(Form->EclipseMap().MapData, 40, 30, x, y));
    std::string caption, name;
    auto answer = [&](bool ok) {
        WhenShown([&, ok](TCustomForm* f) {
            auto* dlg = dynamic_cast<TAddLocationDlg*>(f);
            ASSERT_NE(dlg, nullptr);
            caption = dlg->Caption();
            name = dlg->ELocation->Text();
            (ok ? dlg->OKBtn : dlg->CancelBtn)->Click();
        });
    };
    Form->SetModified(false);
    answer(false);
    sim::Click(Form->PaintBox, x, y, TMouseButton::mbRight);
    EXPECT_EQ(caption, "Add location to list");
    EXPECT_EQ(name.front(), '[');
    EXPECT_NE(name.find(" W, "), std::string::npos) << name;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(Form->Modified());
    answer(true);
    sim::Click(Form->PaintBox, x, y, TMouseButton::mbRight);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0]->Place(), name);
    EXPECT_EQ(list[0]->StdTimeZone(), 0);
    EXPECT_TRUE(Form->Modified());
}
