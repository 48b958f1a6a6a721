// The location table report and the eclipse-list reports of one location,
// prepared from their built-in templates, exported to PDF and read back
// with poppler's tools; the feed of merged "no eclipse visible" rows; the
// print selection dialog's location table; the preparation benchmark of a
// table of 1,000 places.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>

#include "MainWindowFixture.h"
#include "app/LocationLEEclipsesDlgs.h"
#include "app/LocationReports.h"
#include "app/LocationSEEclipsesDlgs.h"
#include "app/PrintSelectDlgs.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClassPages.h"
#include "report/qlrOutputServices.h"
#include "reportout/qlrCross.h"
#include "platform/gui/InputSim.h"
#include "reportout/qlrExportPDF.h"
#include "reportout/qlrPreview.h"
#include "reportout/qlrPreviewForm.h"
#include "reportout/qlrPrinter.h"
#include "tests/report/RecordingPrinter.h"

using namespace app;
using namespace gui;
using apptest::MainWindow;
using apptest::Shots;
namespace fs = std::filesystem;

namespace {

constexpr long double Deg = 3.14159265358979323846L / 180;

struct TPlace {
    const char* Name;
    double Lat, Lon;   // degrees, west positive
    int Zone = 0;      // seconds east
};

const TPlace Findlay{"Findlay (USA)", 41.0341, 83.6523, -18000};
const TPlace Daytona{"Daytona Beach (USA)", 29.0181, 80.9481, -18000};
// At 3 a.m. local time on 2024 Apr 08: nothing of the eclipse is seen.
const TPlace Tokyo{"Tokyo (Japan)", 35.7, -139.7, 32400};
// Around noon during the penumbral eclipse of 2024 Mar 25: the Moon is down.
const TPlace Colombo{"Colombo (Sri Lanka)", 6.93, -79.85, 19800};

TObserverData* MakePlace(const TPlace& p)
{
    auto* o = new TObserverData;
    o->SetPlace(p.Name);
    o->SetGeoLongitude(p.Lon * Deg);
    o->SetGeoLatitude(p.Lat * Deg);
    o->SetStdTimeZone(p.Zone);
    return o;
}

std::string Shell(const std::string& cmd)
{
    std::string out;
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

int Count(const std::string& s, const std::string& what)
{
    int n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

// Runs of blanks as one blank (the PDF's text keeps no double blanks).
std::string Squeeze(const std::string& s)
{
    std::string out;
    for (char ch : s)
        if (ch != ' ' || out.empty() || out.back() != ' ') out += ch;
    return out;
}

// The line of the text that holds all the words, in this order: true when
// some line does.
bool InOrderOnOneLine(const std::string& text, const std::vector<std::string>& words)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Squeeze(text.substr(start, end - start));
        std::size_t at = 0;
        bool all = true;
        for (const std::string& w : words) {
            at = line.find(Squeeze(w), at);
            if (at == std::string::npos) {
                all = false;
                break;
            }
            at += Squeeze(w).size();
        }
        if (all) return true;
        start = end + 1;
    }
    return false;
}

std::string Trim(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// Expects the texts of one table row (or the header) printed in column
// order: the cells are vertically centred, so the k-th of a cell's n lines
// stands on the same text line as the lines of the same height in the other
// cells; each such group must read in column order on one line.
void ExpectRowPrinted(const std::string& text, const std::vector<std::string>& cells)
{
    std::vector<std::vector<std::string>> lines;
    std::size_t most = 1;
    for (const std::string& cell : cells) {
        std::vector<std::string> l;
        std::size_t start = 0;
        for (std::size_t p = cell.find("\r\n"); p != std::string::npos; p = cell.find("\r\n", start)) {
            l.push_back(Trim(cell.substr(start, p - start)));
            start = p + 2;
        }
        l.push_back(Trim(cell.substr(start)));
        most = std::max(most, l.size());
        lines.push_back(l);
    }
    std::map<std::size_t, std::vector<std::string>> bySlot;
    for (const auto& l : lines)
        for (std::size_t k = 0; k < l.size(); ++k)
            if (!l[k].empty()) bySlot[most - l.size() + 2 * k].push_back(l[k]);
    for (const auto& [slot, words] : bySlot) {
        std::string all;
        for (const std::string& w : words) all += "[" + w + "]";
        EXPECT_TRUE(InOrderOnOneLine(text, words)) << all << " in\n" << text;
    }
}

// The header texts and the texts fed for row r of the grid.
std::vector<std::string> Header(grid::TExStringGrid& sg)
{
    std::vector<std::string> out;
    for (int c = 0; c < sg.ColCount(); ++c) out.push_back(sg.Cells(c, 0));
    return out;
}
std::vector<std::string> Fed(grid::TExStringGrid& sg, int r, bool replace)
{
    std::vector<std::string> out;
    for (int c = 0; c < sg.ColCount(); ++c) {
        std::string t = CrossCellText(sg, c, r, replace);
        if (const std::size_t p = t.find(" \r\n"); p != std::string::npos) t.erase(p, 1);
        out.push_back(t);
    }
    return out;
}

// Exports the report's prepared pages to a PDF (no dialog) and returns the
// text pdftotext reads from it; the first page also as a PNG for a look.
std::string ExportAndRead(qlr::TqlrReport& report, const std::string& name, bool embeddedFonts = false)
{
    qlr::TqlrPDFExport pdf(qlr::TqlrCustomExportFilter::NoRegister{});
    pdf.ShowDialog = false;
    pdf.OpenAfterExport = false;
    pdf.EmbeddedFonts = embeddedFonts;
    const fs::path dir = fs::temp_directory_path() / ("tec_locreports_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / (name + ".pdf");
    pdf.FileName = file.string();
    EXPECT_TRUE(report.Export(&pdf));
    if (Have("pdftoppm"))
        Shell("pdftoppm -r 80 -png -singlefile -f 1 -l 1 '" + file.string() + "' '" + (Shots / name).string() + "'");
    return Shell("pdftotext -layout '" + file.string() + "' -");
}

class LocationReports : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        if (IsSkipped()) return;
        if (!Have("pdftotext")) GTEST_SKIP() << "poppler tools missing";
    }
    int CatNo(TEventType type, const std::string& date)
    {
        db::TSQLiteTable* t = type == etSolarEclipse ? Form->CBE_SE : Form->CBE_LE;
        if (!t->Locate("DT", db::TFieldValue(date))) ADD_FAILURE() << "no eclipse of " << date;
        return static_cast<int>(t->FieldByName("CatNo")->AsInteger());
    }
    // The eclipse computed as the program does, then the table of places.
    void Show(TEventType type, const std::string& date, std::initializer_list<TPlace> places)
    {
        ASSERT_TRUE(Form->SelectCatalogueEntry(type, CatNo(type, date))) << date;
        RunIdle();
        TObserverDataList& list = Form->LocationList();
        list.Clear();
        for (const TPlace& p : places) list.Add(MakePlace(p));
        Form->FillLocationTable();
    }
    std::string PrintTable(const std::string& name, bool embeddedFonts = false)
    {
        Form->SetUpLocationReport();
        EXPECT_TRUE(Form->qlrReport->PrepareReport()) << Form->qlrReport->Errors()->Text();
        return ExportAndRead(*Form->qlrReport, name, embeddedFonts);
    }
};

} // namespace

TEST(LocationReportValues, QuotingDoublesApostrophes)
{
    EXPECT_EQ(QuoteReportValue(""), "'';");
    EXPECT_EQ(QuoteReportValue("Val-d'Or"), "'Val-d''Or';");
    EXPECT_EQ(QuoteReportValue("''"), "'''''';");
}

// A place without eclipse is one merged grey block in the grid; its
// covered cells read as the block's text, yet print blank.
TEST_F(LocationReports, MergedNotVisibleRowFeedsDashesOnceAndBlankCells)
{
    Show(etSolarEclipse, "2024 Apr 08", {Findlay, Tokyo});
    grid::TExStringGrid& sg = *Form->SG;
    ASSERT_EQ(sg.ColCount(), 9);
    ASSERT_EQ(sg.RowCount(), 3);
    ASSERT_TRUE(sg.IsMergedNonBaseCell(4, 2));
    ASSERT_EQ(sg.GetCellText(4, 2), "no eclipse visible") << "a covered cell reads as its base cell";
    EXPECT_EQ(CrossCellText(sg, 1, 2, true), "---");
    for (int c = 2; c < 9; ++c) EXPECT_EQ(CrossCellText(sg, c, 2, true), "  ") << c;
    EXPECT_EQ(CrossCellText(sg, 0, 2, true), " Tokyo (Japan) \r\n" + sg.Cells(0, 2).substr(15) + " ");
    // Findlay: the magnitude cell with the blank before its line break.
    EXPECT_TRUE(std::regex_match(CrossCellText(sg, 1, 1, true), std::regex(" 1\\.0\\d\\d \r\nT ")))
        << CrossCellText(sg, 1, 1, true);
    // Without replacing (the eclipse lists) the text stays.
    EXPECT_EQ(CrossCellText(sg, 1, 2, false), " no eclipse visible ");

    // Into a cross-tab: keyed by row number and header text, in table order.
    qlr::TqlrCrossView cross(nullptr);
    cross.SetColumnSort(0, qlr::TqlrCrossSortOrder::soNone);
    cross.SetCellFunctions(0, qlr::TqlrCrossFunction::cfNone);
    cross.ShowRowHeader = cross.ShowTitle = cross.ShowRowTotal = cross.ShowColumnTotal = false;
    cross.BeginMatrix();
    FeedGridToCross(sg, cross, true);
    cross.EndMatrix();
    ASSERT_EQ(cross.RowCount(), 2);
    ASSERT_EQ(cross.ColCount(), 9);
    for (int c = 0; c < 9; ++c) EXPECT_EQ(rtl::VarToStr(cross.GetColumnIndexes(c)[0]), sg.Cells(c, 0)) << c;
    EXPECT_EQ(cross.GetRowIndexes(1)[0].AsInteger(), 2);
    EXPECT_EQ(rtl::VarToStr(cross.GetValue(1, 1, 0)), "---");
    EXPECT_EQ(rtl::VarToStr(cross.GetValue(1, 5, 0)), "  ");
}

TEST_F(LocationReports, CentralSolarTablePrintsNineColumnsInTableOrder)
{
    Form->SetTimeShiftMode(tsmNone);
    Show(etSolarEclipse, "2024 Apr 08", {Findlay, Tokyo, Daytona});
    const std::string title = "Total Solar Eclipse of 2024 Apr 08 - O'Brien's list";
    Form->LTitle->SetCaption(title);
    const std::string text = PrintTable("report_location_table_central");
    EXPECT_NE(text.find(title), std::string::npos) << text;
    grid::TExStringGrid& sg = *Form->SG;
    ASSERT_EQ(sg.ColCount(), 9);
    ExpectRowPrinted(text, Header(sg));
    for (int r = 1; r <= 3; ++r) ExpectRowPrinted(text, Fed(sg, r, true));
    // Findlay in UT, the place without eclipse once "---" between its lines.
    EXPECT_TRUE(InOrderOnOneLine(text, {"Findlay (USA)", "17:55:", "19:10:", "19:12:", "19:14:", "20:26:"})) << text;
    EXPECT_EQ(Count(text, "---"), 1) << text;
    EXPECT_EQ(text.find("no eclipse visible"), std::string::npos);
    EXPECT_LT(text.find("Tokyo (Japan)"), text.find("---"));
    EXPECT_LT(text.find("---"), text.find("139\xC2\xB0"));
    // The information panel's values, the time scale, the credits, the page.
    for (const std::string& label : {std::string("Magnitude:"), std::string("Gamma:"), std::string("Saros:"),
                                     std::string("Lunation:"), std::string("Times in UTC"), Form->LGamma->Caption(),
                                     Form->LSaros->Caption(), Form->LDeltaT->Caption(), Form->StatusText(1),
                                     std::string("Created with Tolmira Eclipse Calculator.")})
        EXPECT_NE(text.find(label), std::string::npos) << label << " in\n" << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("1 ?/ ?1"))) << text;
    EXPECT_EQ(Form->qlrReport->ReportOptions()->Name, title);
    EXPECT_EQ(Form->PDFExport->Title, title);
}

TEST_F(LocationReports, PlaceNamesInSixScriptsShowWithEmbeddedFonts)
{
    // Latin, Greek, Cyrillic, Hebrew, Arabic and CJK: the report's font has
    // not all of them; the PDF carries what the screen's fallback draws.
    const std::vector<std::string> names = {
        "Findlay", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0",
        "\xD7\x99\xD7\xA8\xD7\x95\xD7\xA9\xD7\x9C\xD7\x99\xD7\x9D", "\xD8\xA7\xD9\x84\xD9\x82\xD8\xA7\xD9\x87\xD8\xB1\xD8\xA9",
        "\xE6\x9D\xB1\xE4\xBA\xAC"};
    std::vector<TPlace> places;
    for (std::size_t i = 0; i < names.size(); ++i)
        places.push_back(TPlace{names[i].c_str(), Findlay.Lat + i, Findlay.Lon - 2.0 * i, Findlay.Zone});
    Form->SetTimeShiftMode(tsmNone);
    ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, CatNo(etSolarEclipse, "2024 Apr 08")));
    RunIdle();
    TObserverDataList& list = Form->LocationList();
    list.Clear();
    for (const TPlace& p : places) list.Add(MakePlace(p));
    Form->FillLocationTable();
    const std::string text = PrintTable("report_location_table_scripts", true);
    for (const std::string& n : names) EXPECT_NE(text.find(n), std::string::npos) << n << " in\n" << text;
}

TEST_F(LocationReports, PenumbralNoEclipseUnchangedAndEmptyListHeaderOnly)
{
    Show(etLunarEclipse, "2024 Mar 25", {Findlay, Colombo});
    grid::TExStringGrid& sg = *Form->SG;
    ASSERT_EQ(sg.Cells(1, 2), "no eclipse") << "the Moon is down in Colombo";
    std::string text = PrintTable("report_location_table_penumbral");
    ExpectRowPrinted(text, Header(sg));
    ExpectRowPrinted(text, Fed(sg, 1, true));
    EXPECT_EQ(Count(text, "no eclipse"), 1) << text;
    EXPECT_EQ(Count(text, "---"), 0);

    // No places: the header and one row of blank padded cells.
    Form->LocationList().Clear();
    Form->FillLocationTable();
    ASSERT_EQ(sg.RowCount(), 2);
    for (int c = 0; c < sg.ColCount(); ++c) EXPECT_EQ(CrossCellText(sg, c, 1, true), "  ") << c;
    text = PrintTable("report_location_table_empty");
    ExpectRowPrinted(text, Header(sg));
    EXPECT_EQ(text.find("Colombo"), std::string::npos);
    EXPECT_EQ(text.find("Findlay"), std::string::npos);
}

TEST_F(LocationReports, EclipseListReportsOfOneLocation)
{
    TLocationSEEclipsesDlg se(nullptr);
    ASSERT_TRUE(se.CatalogueAvailable());
    TObserverData place;
    place.SetPlace("Val-d'Or (Canada)");
    place.SetGeoLatitude(Findlay.Lat * Deg);
    place.SetGeoLongitude(Findlay.Lon * Deg);
    se.SetLocation(&place);
    se.SetTimeShiftMode(tsmNone);
    se.SetCatNo(CatNo(etSolarEclipse, "2024 Apr 08"));
    se.SetNumEvents(3);
    se.SearchEclipses();
    ASSERT_EQ(se.CatNoList().size(), 3u);
    se.SetUpReport();
    ASSERT_TRUE(se.qlrReport->PrepareReport()) << se.qlrReport->Errors()->Text();
    std::string text = ExportAndRead(*se.qlrReport, "report_solar_eclipse_list");
    EXPECT_NE(text.find("Solar Eclipses in Val-d'Or (Canada)"), std::string::npos) << text;
    EXPECT_EQ(se.qlrReport->ReportOptions()->Name, "Solar Eclipses in Val-d'Or (Canada)");
    ExpectRowPrinted(text, Header(*se.SG));
    for (int r = 1; r <= 3; ++r) ExpectRowPrinted(text, Fed(*se.SG, r, false));
    EXPECT_TRUE(InOrderOnOneLine(text, {"2024-04-08", "139", "2:30:45", "03:44"})) << text;
    EXPECT_TRUE(InOrderOnOneLine(text, {"\xCE\x94T:", "Times in UTC"})) << text;
    EXPECT_NE(text.find("Created with Tolmira Eclipse Calculator. Solar"), std::string::npos);

    // The lunar list: its twelve columns in order.
    TLocationLEEclipsesDlg le(nullptr);
    le.SetLocation(&place);
    le.SetCatNo(CatNo(etLunarEclipse, "2025 Mar 14"));
    le.SetNumEvents(2);
    le.SearchEclipses();
    ASSERT_EQ(le.CatNoList().size(), 2u);
    le.SetUpReport();
    ASSERT_TRUE(le.qlrReport->PrepareReport()) << le.qlrReport->Errors()->Text();
    text = ExportAndRead(*le.qlrReport, "report_lunar_eclipse_list");
    EXPECT_NE(text.find("Lunar Eclipses in Val-d'Or (Canada)"), std::string::npos) << text;
    ASSERT_EQ(le.SG->ColCount(), 12);
    ExpectRowPrinted(text, Header(*le.SG));
    for (int r = 1; r <= 2; ++r) ExpectRowPrinted(text, Fed(*le.SG, r, false));
    EXPECT_NE(text.find("Created with Tolmira Eclipse Calculator. Lunar"), std::string::npos);

    // An empty list (the catalogue's last eclipse, at the antipode of its
    // greatest eclipse): the header and one row of blank cells.
    TLocationSEEclipsesDlg last(nullptr);
    last.CBE->Last();
    last.SetCatNo(static_cast<int>(last.CBE->FieldByName("CatNo")->AsInteger()));
    last.SE.ReadFromDataSet(last.CBE);
    TObserverData antipode;
    antipode.SetPlace("Antipode");
    antipode.SetGeoLatitude(-last.SE.MELat() * Deg);
    antipode.SetGeoLongitude((last.SE.MELon() > 0 ? last.SE.MELon() - 180 : last.SE.MELon() + 180) * Deg);
    last.SetLocation(&antipode);
    last.SetNumEvents(1);
    last.SearchEclipses();
    ASSERT_TRUE(last.CatNoList().empty());
    ASSERT_EQ(last.SG->RowCount(), 2);
    for (int c = 0; c < last.SG->ColCount(); ++c) EXPECT_EQ(CrossCellText(*last.SG, c, 1, false), "  ") << c;
    last.SetUpReport();
    ASSERT_TRUE(last.qlrReport->PrepareReport());
    text = ExportAndRead(*last.qlrReport, "report_solar_eclipse_list_empty");
    ExpectRowPrinted(text, Header(*last.SG));
    EXPECT_FALSE(std::regex_search(text, std::regex("\\d\\d:\\d\\d:\\d\\d"))) << text;
}

// The print command with the location table and Preview chosen shows the
// report's preview window, as the location print command and the eclipse
// list's print button do.
TEST_F(LocationReports, PrintSelectionPreviewsTheTableAndListsPreviewToo)
{
    qlr::RegisterReportOutput();
    Show(etSolarEclipse, "2024 Apr 08", {Findlay, Tokyo});
    Form->qlrReport->PreviewOptions()->Modal = false;
    Form->qlrReport->SetOldStyleProgress(true);
    bool seen = false;
    gui::TApplicationEvents hook(nullptr);
    hook.OnIdle = [&](rtl::TObject*, bool& done) {
        done = true;
        for (int i = 0; i < gui::Screen->FormCount(); ++i) {
            auto* d = dynamic_cast<TPrintSelectDlg*>(gui::Screen->Forms(i));
            if (!d || !d->Visible() || seen) continue;
            seen = true;
            EXPECT_TRUE(d->RBLocationTable->Enabled());
            gui::sim::Click(d->RBLocationTable, 5, 5);
            EXPECT_TRUE(d->CBPreview->Enabled());
            gui::sim::Click(d->CBPreview, 5, 5);
            EXPECT_TRUE(d->FPreview);
            Shot(d, "print-selection-location-table.png");
            gui::sim::Click(d->OKBtn, 5, 5);
        }
    };
    Form->FilePrint();
    hook.OnIdle = nullptr;
    ASSERT_TRUE(seen);
    ASSERT_NE(Form->qlrReport->PreviewForm(), nullptr);
    auto* preview = dynamic_cast<qlr::TqlrPreview*>(Form->qlrReport->PreviewForm()->Preview());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->PageCount(), 1);
    EXPECT_EQ(preview->PreviewForm()->Caption(), Form->LTitle->Caption());
    Shot(preview->PreviewForm(), "location-table-preview.png");
    preview->PreviewForm()->Close();
    gui::Application->ProcessMessages();
    EXPECT_TRUE(Form->Action("actLocationsPrint")->Enabled());
    EXPECT_TRUE(static_cast<bool>(Form->Action("actLocationsPrint")->OnExecute));

    TLocationSEEclipsesDlg se(nullptr);
    TObserverData place;
    place.SetPlace("Findlay (USA)");
    place.SetGeoLatitude(Findlay.Lat * Deg);
    place.SetGeoLongitude(Findlay.Lon * Deg);
    se.SetLocation(&place);
    se.SetCatNo(CatNo(etSolarEclipse, "2024 Apr 08"));
    se.SetNumEvents(5);
    se.SearchEclipses();
    se.qlrReport->PreviewOptions()->Modal = false;
    se.qlrReport->SetOldStyleProgress(true);
    ASSERT_TRUE(se.SBPrint->Enabled());
    se.SBPrint->Click();
    ASSERT_NE(se.qlrReport->PreviewForm(), nullptr);
    auto* list = dynamic_cast<qlr::TqlrPreview*>(se.qlrReport->PreviewForm()->Preview());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->PageCount(), 1);
    EXPECT_EQ(list->PreviewForm()->Caption(), "Solar Eclipses in Findlay (USA)");
    list->PreviewForm()->Close();
    gui::Application->ProcessMessages();
}

// Without Preview the table goes to the printer at once (through the
// report's print dialog).
TEST_F(LocationReports, PrintSelectionWithoutPreviewPrintsTheTable)
{
    Show(etSolarEclipse, "2024 Apr 08", {Findlay, Tokyo});
    qlrtest::ServicesScope services;
    bool seen = false;
    gui::TApplicationEvents hook(nullptr);
    hook.OnIdle = [&](rtl::TObject*, bool& done) {
        done = true;
        for (int i = 0; i < gui::Screen->FormCount(); ++i) {
            auto* d = dynamic_cast<TPrintSelectDlg*>(gui::Screen->Forms(i));
            if (!d || !d->Visible() || seen) continue;
            seen = true;
            gui::sim::Click(d->RBLocationTable, 5, 5);
            EXPECT_FALSE(d->FPreview);
            gui::sim::Click(d->OKBtn, 5, 5);
        }
    };
    Form->FilePrint();
    hook.OnIdle = nullptr;
    ASSERT_TRUE(seen);
    EXPECT_EQ(services.Services->Dialogs, 1);
    EXPECT_EQ(services.Printer().Count("BeginDoc"), 1);
    EXPECT_EQ(services.Printer().Count("BeginPage"), 1);
    EXPECT_EQ(Form->qlrReport->PreviewForm(), nullptr);
}

TEST_F(LocationReports, BenchmarkTableOfThousandPlacesPrepared)
{
    // Reports its time (target under 3 s); never fails on speed.
    ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, CatNo(etSolarEclipse, "2024 Apr 08")));
    RunIdle();
    TObserverDataList& list = Form->LocationList();
    list.Clear();
    for (int i = 0; i < 1000; ++i) {
        TPlace p{"", 25 + (i % 40) * 0.5, 70 + (i / 40) * 1.0, -18000};
        auto* o = MakePlace(p);
        o->SetPlace("Place " + std::to_string(i + 1));
        list.Add(o);
    }
    Form->FillLocationTable();
    const auto t0 = std::chrono::steady_clock::now();
    Form->SetUpLocationReport();
    ASSERT_TRUE(Form->qlrReport->PrepareReport());
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const int pages = Form->qlrReport->PreviewPages()->GetCount();
    std::printf("[ bench    ] location table report of 1000 places prepared: %.3f s, %d pages\n", s, pages);
    RecordProperty("seconds", std::to_string(s));
    EXPECT_GT(pages, 10);
}

// The program's two templates, as embedded, load without errors, and what
// a save writes reads back and saves again unchanged: a round trip loses
// nothing.
TEST(LocationReportTemplates, EmbeddedTemplatesLoadAndRoundTrip)
{
    auto save = [](qlr::TqlrReport& report) {
        rtl::TMemoryStream saved;
        report.SaveToStream(saved);
        return std::string(saved.View());
    };
    for (const char* name : {app::LocationTableReportResource, app::LocationEclipsesReportResource}) {
        qlr::TqlrReport report(nullptr);
        app::LoadReportTemplate(report, name);
        EXPECT_EQ(report.Errors()->Count(), 0) << name << ": " << report.Errors()->Text();
        ASSERT_NE(report.FindObject("Cross2"), nullptr) << name;
        const std::string first = save(report);
        qlr::TqlrReport again(nullptr);
        rtl::TStringStream stream{first};
        again.LoadFromStream(stream);
        EXPECT_EQ(again.Errors()->Count(), 0) << name;
        EXPECT_TRUE(save(again) == first) << name << ": the second save differs from the first";
    }
}
