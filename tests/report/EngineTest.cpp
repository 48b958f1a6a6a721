// The band engine: small templates laid out into prepared pages (a
// recording store, compared with hand-written golden XML), the band tree
// and its errors, data runs, band output, aggregates and Cancel.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <tuple>

#include "EngineFixture.h"
#include "platform/gui/PngImage.h"

using namespace qlr;
using namespace enginetest;

namespace {

void ExpectGolden(const RecordingPages& pages, const std::string& file)
{
    EXPECT_EQ(pages.Xml(), ReadGolden(file)) << "golden file " << file;
}

} // namespace

// --- pages and columns ----------------------------------------------------------------------

TEST(EnginePages, TitleAndHeaderOrderWithFooterReserved)
{
    // Page header above the title; a footer not on the first page still
    // keeps its space: 7 rows of 40 fit above it (an 8th would fit without).
    Rig r;
    r.page->TitleBeforeHeader = false;
    r.Band<TqlrReportTitle>("ReportTitle1", 0, 30);
    r.Band<TqlrPageHeader>("PageHeader1", 40, 20);
    auto* data = r.Band<TqlrMasterData>("MasterData1", 80, 40);
    data->SetRowCount(9);
    r.Memo(data, "Memo1", "[Line]");
    auto* footer = r.Band<TqlrPageFooter>("PageFooter1", 200, 20);
    footer->PrintOnFirstPage = false;
    ASSERT_TRUE(r.Run()) << r.Errors();
    ExpectGolden(*r.pages, "title_header_footer.xml");
}

TEST(EnginePages, TitleBeforeHeaderByDefault)
{
    Rig r;
    r.Band<TqlrReportTitle>("ReportTitle1", 0, 30);
    r.Band<TqlrPageHeader>("PageHeader1", 40, 20);
    r.Band<TqlrMasterData>("MasterData1", 80, 40)->SetRowCount(1);
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->Order(), "ReportTitle1 PageHeader1 MasterData1");
}

TEST(EnginePages, PrintOnPreviousPageContinuesBelowContent)
{
    Rig r;
    r.Band<TqlrMasterData>("MasterData1", 0, 40)->SetRowCount(2);
    TqlrReportPage* second = r.AddPage("Page2");
    second->PrintOnPreviousPage = true;
    r.Band<TqlrReportTitle>("ReportTitle2", 0, 30, second);
    r.Band<TqlrMasterData>("MasterData2", 40, 40, second)->SetRowCount(1);
    ASSERT_TRUE(r.Run()) << r.Errors();
    ExpectGolden(*r.pages, "previous_page.xml");
}

TEST(EnginePages, EndlessHeightIsAsHighAsItsContent)
{
    Rig r;
    r.page->EndlessHeight = true;
    r.page->SetTopMargin(10);
    r.page->SetBottomMargin(5);
    r.Band<TqlrMasterData>("MasterData1", 0, 40)->SetRowCount(20);
    r.Band<TqlrPageFooter>("PageFooter1", 100, 25);
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(r.pages->Pages.size(), 1u);
    // 20 rows of 40, the footer right below them, plus 15 mm of margins.
    EXPECT_EQ(Num(r.pages->Pages[0].Height), Num(800 + 25 + 15 * fr01cm));
    EXPECT_EQ(Num(r.pages->Pages[0].Objects.back().T), "800");
}

TEST(EnginePages, ThreeColumnsRepeatTheColumnHeader)
{
    Rig r;
    r.page->SetColumns(3);
    r.Band<TqlrColumnHeader>("ColumnHeader1", 0, 20);
    r.Band<TqlrMasterData>("MasterData1", 40, 100)->SetRowCount(7);
    ASSERT_TRUE(r.Run()) << r.Errors();
    ExpectGolden(*r.pages, "three_columns.xml");
}

TEST(EnginePages, ReprintedHeaderNotOnThePageItsOwnBreakMade)
{
    Rig r;
    r.Band<TqlrMasterData>("MasterData1", 0, 40)->SetRowCount(9);
    auto* header = r.Band<TqlrHeader>("Header2", 50, 30);
    header->ReprintOnNewPage = true;
    r.Band<TqlrMasterData>("MasterData2", 100, 100)->SetRowCount(5);
    ASSERT_TRUE(r.Run()) << r.Errors();
    // Page 2 starts with the header once (its own break), then 3 rows;
    // page 3 repeats it above the last two rows.
    EXPECT_EQ(r.pages->Order(),
              "MasterData1 MasterData1 MasterData1 MasterData1 MasterData1 MasterData1 MasterData1 MasterData1 "
              "MasterData1|Header2 MasterData2 MasterData2 MasterData2|Header2 MasterData2 MasterData2");
}

TEST(EnginePages, DoublePassGivesTotalPagesOfTheFirstPass)
{
    // The memo keeps the macro for drawing; expressions read the count.
    for (bool doublePass : {false, true}) {
        Rig r;
        r.report.EngineOptions()->DoublePass = doublePass;
        r.Band<TqlrMasterData>("MasterData1", 0, 100)->SetRowCount(5);
        auto* footer = r.Band<TqlrPageFooter>("PageFooter1", 200, 20);
        r.Memo(footer, "PageNo", "[Page#] / [TotalPages#]");
        std::string seen;
        r.report.OnBeforePrint = [&](TqlrReportComponent* c) {
            if (c == footer) seen += rtl::VarToStr(r.report.Calc("TotalPages#")) + " ";
        };
        ASSERT_TRUE(r.Run()) << r.Errors();
        EXPECT_EQ(r.pages->AllTexts("PageNo"), "1 / [TotalPages#] 2 / [TotalPages#]");
        EXPECT_EQ(seen, doublePass ? "0 0 2 2 " : "0 0 ");
        EXPECT_EQ(r.pages->Passes, 1);
        EXPECT_EQ(r.pages->Pages.size(), 2u);
    }
}

// --- band structure ---------------------------------------------------------------------------

TEST(EngineStructure, ErrorsStopTheRunAndAreListedOnce)
{
    struct Case {
        const char* what;
        std::function<void(Rig&)> build;
        const char* error;
    };
    const Case cases[] = {
        {"footer without header",
         [](Rig& r) {
             r.Band<TqlrMasterData>("MasterData1", 0, 20)->SetRowCount(1);
             r.Band<TqlrGroupFooter>("GroupFooter1", 40, 20);
         },
         "No group header for GroupFooter1"},
        {"header after its data band",
         [](Rig& r) {
             r.Band<TqlrMasterData>("MasterData1", 0, 20)->SetRowCount(1);
             r.Band<TqlrFooter>("Footer1", 40, 20);
             r.Band<TqlrHeader>("Header1", 80, 20);
         },
         "Unconnected header/footer Header1"},
        {"sub-detail right under a master",
         [](Rig& r) {
             r.Band<TqlrMasterData>("MasterData1", 0, 20)->SetRowCount(1);
             r.Band<TqlrSubdetailData>("SubdetailData1", 40, 20)->SetRowCount(1);
         },
         "Incorrect band position: SubdetailData1"},
        {"group without data band",
         [](Rig& r) { r.Band<TqlrGroupHeader>("GroupHeader1", 0, 20); },
         "No data band for the group GroupHeader1"},
    };
    for (const Case& c : cases) {
        Rig r;
        c.build(r);
        EXPECT_FALSE(r.report.PrepareReport()) << c.what;
        EXPECT_EQ(r.report.Errors()->Count(), 1) << c.what << ": " << r.Errors();
        EXPECT_EQ(r.Errors(), std::string(c.error) + "\n") << c.what;
        EXPECT_EQ(r.pages->GetCount(), 0) << c.what;
    }
}

TEST(EngineStructure, MasterDetailTreeAndDataSetConflicts)
{
    Rig r;
    auto* master = r.Band<TqlrMasterData>("MasterData1", 0, 20);
    master->SetRowCount(2);
    auto* header = r.Band<TqlrHeader>("Header2", 30, 20);
    auto* detail = r.Band<TqlrDetailData>("DetailData1", 60, 20);
    detail->SetRowCount(1);
    auto* footer = r.Band<TqlrFooter>("Footer2", 90, 20);
    auto* sub = r.Band<TqlrSubdetailData>("SubdetailData1", 120, 20);
    sub->SetRowCount(1);
    ASSERT_TRUE(r.engine->Initialize()) << r.Errors();
    EXPECT_EQ(r.engine->PageSubBands(r.page), std::vector<TqlrBand*>{master});
    EXPECT_EQ(master->SubBands, std::vector<TqlrBand*>{detail});
    EXPECT_EQ(detail->SubBands, std::vector<TqlrBand*>{sub});
    EXPECT_EQ(detail->Header, header);
    EXPECT_EQ(detail->Footer, footer);
    r.engine->Finalize();

    TqlrUserDataSet* ds = r.Data("Data", 3);
    r.report.SetDataSet(ds);
    master->SetDataSet(ds);
    EXPECT_FALSE(r.engine->Initialize());
    EXPECT_EQ(r.Errors(), "Cannot use the same dataset for Report.DataSet and Band.DataSet\n");
    r.engine->Finalize();
}

// --- data runs --------------------------------------------------------------------------------

TEST(EngineData, RowCountLimitsTheRows)
{
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 20);
    band->SetDataSet(r.Data("Data", 100));
    band->SetRowCount(5);
    r.Memo(band, "Memo1", "[Line]");
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->AllTexts(), "1 2 3 4 5");
}

TEST(EngineData, MasterWithEmptyDetail)
{
    for (bool printIfEmpty : {false, true}) {
        Rig r;
        TqlrUserDataSet* masterData = r.Data("M", 3, [](int row, const std::string&) { return rtl::Variant(row + 1); });
        const int details[] = {2, 0, 1};
        TqlrUserDataSet* detailData = r.Data("D", 0, [](int row, const std::string&) { return rtl::Variant(row + 1); });
        detailData->SetRangeEnd(TqlrRangeEnd::reLast);
        detailData->OnCheckEOF = [&, masterData](TqlrDataSet* ds, bool& eof) {
            eof = ds->RecNo() >= details[masterData->RecNo()];
        };
        auto* master = r.Band<TqlrMasterData>("MasterData1", 0, 20);
        master->SetDataSet(masterData);
        master->PrintIfDetailEmpty = printIfEmpty;
        auto* m = r.Memo(master, "M", "");
        m->SetDataSet(masterData);
        m->SetDataField("n");
        auto* detail = r.Band<TqlrDetailData>("DetailData1", 40, 20);
        detail->SetDataSet(detailData);
        auto* d = r.Memo(detail, "D", "");
        d->SetDataSet(detailData);
        d->SetDataField("n");
        ASSERT_TRUE(r.Run()) << r.Errors();
        EXPECT_EQ(r.pages->AllTexts(), printIfEmpty ? "1 1 2 2 3 1" : "1 1 2 3 1");
    }
}

namespace {

// Rows of (outer, inner, value) for group tests.
struct GroupRig : Rig {
    std::vector<std::tuple<std::string, std::string, rtl::Variant>> rows;
    TqlrUserDataSet* ds = nullptr;
    TqlrMasterData* data = nullptr;
    TqlrGroupHeader* outer = nullptr;
    TqlrGroupHeader* inner = nullptr;
    TqlrGroupFooter* innerFooter = nullptr;
    TqlrGroupFooter* outerFooter = nullptr;

    explicit GroupRig(std::vector<std::tuple<std::string, std::string, rtl::Variant>> data_, bool twoLevels = true)
        : rows(std::move(data_))
    {
        ds = Data("Data", static_cast<int>(rows.size()), [this](int row, const std::string& f) {
            auto& [a, b, v] = rows[static_cast<std::size_t>(row)];
            return f == "A" ? rtl::Variant(a) : f == "B" ? rtl::Variant(b) : v;
        });
        report.OnGetValue = [this](const std::string& name, rtl::Variant& v) {
            if (name == "A" || name == "B" || name == "V") v = ds->Value(name);
        };
        outer = Band<TqlrGroupHeader>("GH1", 0, 20);
        outer->Condition = "A";
        Memo(outer, "GH1Text", "<[A]>");
        if (twoLevels) {
            inner = Band<TqlrGroupHeader>("GH2", 30, 20);
            inner->Condition = "B";
            Memo(inner, "GH2Text", "<[B]>");
        }
        data = Band<TqlrMasterData>("MasterData1", 60, 20);
        data->SetDataSet(ds);
        Memo(data, "Row", "[Line]");
        if (twoLevels) {
            innerFooter = Band<TqlrGroupFooter>("GF2", 90, 20);
            Memo(innerFooter, "GF2Text", "</[B]>");
        }
        outerFooter = Band<TqlrGroupFooter>("GF1", 120, 20);
        Memo(outerFooter, "GF1Text", "</[A]>");
    }
};

} // namespace

TEST(EngineData, TwoLevelGroupsBreakAndRestartLine)
{
    GroupRig r({{"a", "x", 1}, {"a", "x", 2}, {"a", "y", 3}, {"b", "y", 4}});
    ASSERT_TRUE(r.Run()) << r.Errors();
    // The inner level alone breaks between rows 2 and 3; both break before
    // row 4 although B stays "y".  Footers see their group's last row.
    EXPECT_EQ(r.pages->AllTexts(), "<a> <x> 1 2 </x> <y> 1 </y> </a> <b> <y> 1 </y> </b>");
}

TEST(EngineData, HideIfSingleDataRecordAndFooterAfterEach)
{
    GroupRig r({{"a", "", 1}, {"b", "", 2}, {"b", "", 3}}, false);
    r.outerFooter->HideIfSingleDataRecord = true;
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->AllTexts(), "<a> 1 <b> 1 2 </b>");

    for (bool afterEach : {false, true}) {
        Rig f;
        auto* band = f.Band<TqlrMasterData>("MasterData1", 0, 20);
        band->SetRowCount(3);
        band->FooterAfterEach = afterEach;
        f.Memo(band, "Row", "[Line]");
        f.Memo(f.Band<TqlrFooter>("Footer1", 40, 20), "Foot", "F");
        ASSERT_TRUE(f.Run()) << f.Errors();
        EXPECT_EQ(f.pages->AllTexts(), afterEach ? "1 F 2 F 3 F" : "1 2 3 F");
    }
}

TEST(EngineData, CollapsedDrillDownHidesRowsAndFooter)
{
    for (bool showFooter : {false, true}) {
        GroupRig r({{"a", "", 1}, {"a", "", 2}, {"b", "", 3}}, false);
        r.outer->DrillDown = true;
        r.outer->ShowFooterIfDrillDown = showFooter;
        ASSERT_TRUE(r.Run()) << r.Errors();
        EXPECT_EQ(r.pages->AllTexts(), showFooter ? "<a> </a> <b> </b>" : "<a> <b>");
    }
    // A group the user opened shows its rows.
    GroupRig r({{"a", "", 1}, {"a", "", 2}, {"b", "", 3}}, false);
    r.outer->DrillDown = true;
    r.report.DrillState()->Add("GH1.2");
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->AllTexts(), "<a> <b> 1 </b>");
}

// --- band output ------------------------------------------------------------------------------

namespace {

long double TextHeight(const std::string& text)
{
    TqlrMemoView probe(nullptr);
    probe.SetBounds(0, 0, 200, 10);
    probe.SetText(text);
    return probe.CalcHeight();
}

// The heights of one memo's appearances, in output order.
std::string MemoHeights(const RecordingPages& pages, const std::string& memo)
{
    std::string s;
    for (const Page& p : pages.Pages)
        for (const Rec& r : p.Objects) {
            std::size_t at = r.Children.find("<" + memo + " ");
            if (at == std::string::npos) continue;
            std::size_t t = r.Children.find("t=\"", at) + 3;
            std::size_t h = r.Children.find("h=\"", at) + 3;
            s += (s.empty() ? "" : " ") + r.Children.substr(t, r.Children.find('"', t) - t) + "/" +
                 r.Children.substr(h, r.Children.find('"', h) - h);
        }
    return s;
}

} // namespace

TEST(EngineOutput, StretchShiftsObjectsBelowByTheirMode)
{
    const long double one = TextHeight("a"), three = TextHeight("a\r\nb\r\nc");
    ASSERT_GT(three, 2 * one);
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 100);
    band->SetRowCount(1);
    band->Stretched = true;
    r.Memo(band, "Grow", "a\r\nb\r\nc", 0, one)->SetStretchMode(TqlrStretchMode::smActualHeight);
    r.Memo(band, "Moves", "m", one, 20);
    r.Memo(band, "Stays", "s", one, 20, 0, 100)->SetShiftMode(TqlrShiftMode::smDontShift);
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(MemoHeights(*r.pages, "Grow"), "0/" + Num(three));
    EXPECT_EQ(MemoHeights(*r.pages, "Moves"), Num(three) + "/20");
    EXPECT_EQ(MemoHeights(*r.pages, "Stays"), Num(one) + "/20");
    // The stretched band ends at its lowest object.
    EXPECT_EQ(Num(r.pages->Pages[0].Objects[0].H), Num(three + 20));
}

TEST(EngineOutput, StretchedBandShrinksToItsObjects)
{
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 100);
    band->SetRowCount(2);
    band->Stretched = true;
    r.Memo(band, "Memo1", "x", 5, 30);
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->Xml(),
              "<pages>\n  <page n=\"0\">\n"
              "    <MasterData1 l=\"0\" t=\"0\" h=\"35\"><Memo1 t=\"5\" h=\"30\">x</Memo1></MasterData1>\n"
              "    <MasterData1 l=\"0\" t=\"35\" h=\"35\"><Memo1 t=\"5\" h=\"30\">x</Memo1></MasterData1>\n"
              "  </page>\n</pages>\n");
}

TEST(EngineOutput, BandHigherThanThePageIsSplitWithoutAllowSplit)
{
    Rig r;
    r.Band<TqlrMasterData>("MasterData1", 0, 300)->SetRowCount(1);
    auto* big = r.Band<TqlrMasterData>("MasterData2", 400, 500);
    big->SetRowCount(1);
    r.Memo(big, "Top", "top", 0, 20);
    r.Memo(big, "Bottom", "bottom", 420, 20);
    ASSERT_TRUE(r.Run()) << r.Errors();
    // Page 1 has 77.95 left: the top part goes there, the rest moves up by it.
    EXPECT_EQ(r.pages->Order(), "MasterData1 MasterData2|MasterData2");
    EXPECT_EQ(MemoHeights(*r.pages, "Top"), "0/20");
    EXPECT_EQ(MemoHeights(*r.pages, "Bottom"), Num(420 - (377.953L - 300)) + "/20");
}

TEST(EngineOutput, SplitMemoContinuesAndPictureMovesWhole)
{
    std::string text;
    for (int i = 1; i <= 40; ++i) text += (i > 1 ? "\r\n" : "") + std::string("line ") + std::to_string(i);
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 100);
    band->SetRowCount(1);
    band->AllowSplit = true;
    band->Stretched = true;
    r.Memo(band, "Long", text, 0, 20)->SetStretchMode(TqlrStretchMode::smActualHeight);
    auto* picture = new TqlrPictureView(band);
    picture->SetName("Picture1");
    picture->SetBounds(250, 300, 40, 100);
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_GE(r.pages->Pages.size(), 2u);
    // Every line once, in order, across the pages.
    std::string joined = r.pages->AllTexts("Long");
    std::string expected = text;
    for (char& c : expected)
        if (c == '\r') c = ' ';
    expected.erase(std::remove(expected.begin(), expected.end(), '\n'), expected.end());
    std::string got = joined;
    got.erase(std::remove(got.begin(), got.end(), '\r'), got.end());
    for (char& c : got)
        if (c == '\n') c = ' ';
    EXPECT_EQ(got, expected);
    // The picture did not fit at 300..400 and starts the second page.
    EXPECT_EQ(r.pages->Pages[0].Objects[0].Children.find("Picture1"), std::string::npos);
    EXPECT_NE(r.pages->Pages[1].Objects[0].Children.find("<Picture1 t=\"0\" h=\"100\"/>"), std::string::npos);
}

TEST(EngineOutput, TwoSubreportsContinueBelowTheLonger)
{
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 20);
    band->SetRowCount(1);
    TqlrReportPage* left = r.AddPage("Page2");
    TqlrReportPage* right = r.AddPage("Page3");
    r.Band<TqlrMasterData>("Left", 0, 100, left)->SetRowCount(2);
    r.Band<TqlrMasterData>("Right", 0, 100, right)->SetRowCount(1);
    auto* s1 = new TqlrSubreport(band);
    s1->SetName("Subreport1");
    s1->SetBounds(0, 0, 100, 20);
    s1->SetPage(left);
    auto* s2 = new TqlrSubreport(band);
    s2->SetName("Subreport2");
    s2->SetBounds(150, 0, 100, 20);
    s2->SetPage(right);
    r.Band<TqlrMasterData>("After", 100, 20)->SetRowCount(1);
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->Xml(), ReadGolden("two_subreports.xml"));
}

TEST(EngineOutput, KeptBlockMovesWholeUnlessTallerThanThePage)
{
    {
        Rig r;
        auto* master = r.Band<TqlrMasterData>("M", 0, 100);
        master->SetRowCount(3);
        master->KeepTogether = true;
        r.Band<TqlrDetailData>("D", 150, 50)->SetRowCount(2);
        ASSERT_TRUE(r.Run()) << r.Errors();
        // Row 2 would be cut after its first detail: it moves whole.
        EXPECT_EQ(r.pages->Order(), "M D D|M D D|M D D");
        EXPECT_EQ(Num(r.pages->Pages[1].Objects[1].T), "100");
    }
    {
        Rig r;
        auto* master = r.Band<TqlrMasterData>("M", 0, 200);
        master->SetRowCount(2);
        master->KeepTogether = true;
        r.Band<TqlrDetailData>("D", 250, 100)->SetRowCount(2);
        ASSERT_TRUE(r.Run()) << r.Errors();
        // Row 2 starts at 100 on page 2; at its break the block already
        // needs 400 pixels, more than a page: it is not moved.
        EXPECT_EQ(r.pages->Order(), "M D|D M|D D");
    }
}

TEST(EngineOutput, CancelFromProgressStopsAfterTheCurrentRow)
{
    Rig r;
    r.Band<TqlrMasterData>("MasterData1", 0, 100)->SetRowCount(20);
    r.report.OnProgress = [](TqlrReport* report, TqlrProgressType, int page) {
        if (page == 2) report->SetTerminated(true);
    };
    EXPECT_FALSE(r.Run());
    EXPECT_EQ(r.pages->Order(), "MasterData1 MasterData1 MasterData1|MasterData1");
    EXPECT_FALSE(r.engine->Running);
}

// --- aggregates -------------------------------------------------------------------------------

TEST(EngineAggregates, GroupSumRestartsAndRunningTotalGrows)
{
    GroupRig r({{"a", "", 1}, {"a", "", 2}, {"a", "", 3}, {"b", "", 10}}, false);
    r.Memo(r.outerFooter, "Sum", "[SUM(Get('V'))]", 0, 18, 200, 50);
    r.Memo(r.outerFooter, "Running", "[SUM(Get('V'), MasterData1, 2)]", 0, 18, 250, 50);
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->AllTexts("Sum"), "6 10");
    EXPECT_EQ(r.pages->AllTexts("Running"), "6 16");
}

TEST(EngineAggregates, NullsInAvgMinAndCount)
{
    struct Case {
        const char* call;
        std::vector<rtl::Variant> values;
        const char* expected;
    };
    const rtl::Variant null = rtl::Variant::Null();
    const Case cases[] = {
        {"[AVG(Get('V'))]", {2, null, 4}, "3"},
        {"[COUNT(MasterData1)]", {2, null, 4}, "3"},
        {"[MIN(Get('V'))]", {5, 3, null, 7}, "3"},
        {"[MAX(Get('V'))]", {5, 3, null, 7}, "7"},
        {"[SUM(Get('V'))]", {null, null}, "0"},
    };
    for (const Case& c : cases) {
        Rig r;
        TqlrUserDataSet* ds = r.Data("Data", static_cast<int>(c.values.size()),
                                     [&](int row, const std::string&) { return c.values[static_cast<std::size_t>(row)]; });
        r.report.OnGetValue = [ds](const std::string& name, rtl::Variant& v) {
            if (name == "V") v = ds->Value(name);
        };
        auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 20);
        band->SetDataSet(ds);
        r.Memo(r.Band<TqlrFooter>("Footer1", 40, 20), "Result", c.call);
        ASSERT_TRUE(r.Run()) << c.call << r.Errors();
        EXPECT_EQ(r.pages->AllTexts("Result"), c.expected) << c.call;
    }
}

TEST(EngineAggregates, OwnBandCallFindsNothingAndInvisibleRowsCountWithFlag1)
{
    GroupRig r({{"a", "", 1}, {"a", "", 2}, {"b", "", 3}}, false);
    r.Memo(r.data, "Own", "<[SUM(Get('V'))]>", 0, 18, 200, 50);
    r.outer->DrillDown = true;
    r.outer->ShowFooterIfDrillDown = true;
    r.Memo(r.outerFooter, "Visible", "[SUM(Get('V'))]", 0, 18, 200, 50);
    r.Memo(r.outerFooter, "All", "[SUM(Get('V'), MasterData1, 1)]", 0, 18, 250, 50);
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->AllTexts("Visible"), "0 0");
    EXPECT_EQ(r.pages->AllTexts("All"), "3 3");
    EXPECT_EQ(r.engine->Aggregates()->Count(), 2);

    Rig own;
    own.report.OnGetValue = [](const std::string& name, rtl::Variant& v) {
        if (name == "V") v = rtl::Variant(5);
    };
    auto* band = own.Band<TqlrMasterData>("MasterData1", 0, 20);
    band->SetRowCount(2);
    own.Memo(band, "Own", "<[SUM(Get('V'))]>");
    ASSERT_TRUE(own.Run()) << own.Errors();
    EXPECT_EQ(own.pages->AllTexts("Own"), "<> <>");
}

TEST(EngineAggregates, KeptRowCountsOnThePageItMovesTo)
{
    Rig r;
    TqlrUserDataSet* ds = r.Data("Data", 3, [](int row, const std::string&) { return rtl::Variant(row + 1); });
    r.report.OnGetValue = [ds](const std::string& name, rtl::Variant& v) {
        if (name == "V") v = ds->Value(name);
    };
    auto* master = r.Band<TqlrMasterData>("M", 0, 100);
    master->SetDataSet(ds);
    master->KeepTogether = true;
    r.Band<TqlrDetailData>("D", 150, 50)->SetRowCount(2);
    r.Memo(r.Band<TqlrPageFooter>("PageFooter1", 300, 20), "Total", "[SUM(Get('V'))]");
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->Order(), "M D D PageFooter1|M D D PageFooter1|M D D PageFooter1");
    EXPECT_EQ(r.pages->AllTexts("Total"), "1 2 3");
}

// --- through the prepared pages -----------------------------------------------------------------

namespace {

// A rig whose report keeps its own prepared pages (the store of the program).
struct StoreRig : Rig {
    TqlrPreviewPages* store = nullptr;
    StoreRig()
    {
        report.SetPreviewPages(std::make_unique<TqlrPreviewPages>(&report));
        store = dynamic_cast<TqlrPreviewPages*>(report.PreviewPages());
        pages = nullptr;
    }
    // The previewpages element of the prepared report, one element a line.
    std::string PagesXml()
    {
        rtl::TMemoryStream stream;
        store->SaveToStream(stream);
        std::string s(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
        std::size_t a = s.find("<previewpages>"), b = s.find("</previewpages>");
        if (a == std::string::npos || b == std::string::npos) return s;
        s = s.substr(a, b - a + 15);
        std::string out;
        for (char c : s) {
            if (c == '<' && !out.empty() && out.back() == '>') out += '\n';
            out += c;
        }
        return out + "\n";
    }
};

} // namespace

TEST(EngineStore, TitleHeaderAndFooterAsPreparedPages)
{
    StoreRig r;
    r.page->TitleBeforeHeader = false;
    r.Memo(r.Band<TqlrReportTitle>("ReportTitle1", 0, 30), "Title", "Title");
    r.Band<TqlrPageHeader>("PageHeader1", 40, 20);
    auto* data = r.Band<TqlrMasterData>("MasterData1", 80, 40);
    data->SetRowCount(9);
    r.Memo(data, "Row", "Row [Line]");
    auto* footer = r.Band<TqlrPageFooter>("PageFooter1", 200, 20);
    footer->PrintOnFirstPage = false;
    r.Memo(footer, "PageNo", "[Page#]");
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.PagesXml(), ReadGolden("store_title_header_footer.xml"));
}

namespace {

// A prepared page drawn by the store at scale 1 on a white bitmap.
void DrawPrepared(TqlrPreviewPages* store, int index, gui::TBitmap& bmp)
{
    bmp.Canvas()->Brush()->SetColor(gui::clWhite);
    bmp.Canvas()->FillRect(gui::TRect(0, 0, bmp.Width(), bmp.Height()));
    store->DrawPage(index, bmp.Canvas(), 1, 1, 0, 0);
}

bool HasInk(gui::TBitmap& bmp, int top, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.Canvas()->Pixels(x, y) != gui::clWhite) return true;
    return false;
}

} // namespace

TEST(EngineStore, LocationTableShapedReportOverThreePages)
{
    // Title, a one-row master band, a page footer with page numbers, a
    // summary, memos in Arial and Symbol, lines, and a null band that a
    // stand-in for the cross-tab fills from OnAfterPrint of the master row.
    StoreRig r;
    r.page->SetPaperSize(9);
    for (auto set : {&TqlrReportPage::SetLeftMargin, &TqlrReportPage::SetRightMargin, &TqlrReportPage::SetTopMargin,
                     &TqlrReportPage::SetBottomMargin})
        (r.page->*set)(10);
    auto* title = r.Band<TqlrReportTitle>("ReportTitle1", 0, 50);
    auto* heading = r.Memo(title, "Heading", "Eclipses seen from [Place]", 0, 30, 0, 500);
    heading->Font()->SetName("Arial");
    heading->Font()->SetSize(16);
    auto* symbol = r.Memo(title, "Greek", "a b d D", 30, 20, 0, 200);
    symbol->Font()->SetName("Symbol");
    auto* master = r.Band<TqlrMasterData>("MasterData1", 80, 30);
    master->SetRowCount(1);
    r.Memo(master, "Where", "Latitude 51.5, longitude -0.1", 0, 20, 0, 400)->Font()->SetName("Arial");
    auto* line = new TqlrLineView(master);
    line->SetName("Line1");
    line->SetBounds(0, 25, 700, 0);
    auto* rows = r.Band<TqlrNullBand>("CrossRows", 200, 20);
    std::vector<TqlrMemoView*> cells;
    for (int c = 0; c < 4; ++c) {
        auto* m = r.Memo(rows, "Cell" + std::to_string(c), "", 0, 20, c * 170, 170);
        m->Font()->SetName("Arial");
        m->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftBottom});
        cells.push_back(m);
    }
    r.Memo(r.Band<TqlrPageFooter>("PageFooter1", 300, 20), "PageNo", "[Page#] / [TotalPages#]", 0, 20, 300, 100);
    r.Memo(r.Band<TqlrReportSummary>("ReportSummary1", 400, 30), "End", "120 eclipses", 0, 20, 0, 300);
    r.report.OnGetValue = [](const std::string& name, rtl::Variant& v) {
        if (name == "Place") v = rtl::Variant(std::string("London"));
    };
    bool filling = false;
    r.report.OnAfterPrint = [&](TqlrReportComponent* c) {
        if (c != master || filling) return;
        filling = true;
        for (int row = 1; row <= 120; ++row) {
            if (r.engine->FreeSpace() < rows->Height()) r.engine->NewPage();
            rows->SetTopDirect(r.engine->CurY);
            cells[0]->SetText(std::to_string(2000 + row));
            cells[1]->SetText(row % 2 ? "total" : "partial");
            cells[2]->SetText(std::to_string(row % 12 + 1) + ":00");
            cells[3]->SetText(std::to_string(row * 7 % 100) + "%");
            r.engine->ShowBand(rows);
        }
        filling = false;
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(r.store->GetCount(), 3);

    const std::string dir = std::getenv("REPORT_TEST_PICTURES") ? std::getenv("REPORT_TEST_PICTURES") : "";
    for (int i = 0; i < 3; ++i) {
        gui::TBitmap bmp(794, 1123);
        DrawPrepared(r.store, i, bmp);
        // Footer text near the bottom margin on every page.
        EXPECT_TRUE(HasInk(bmp, 1123 - 38 - 24, 1123 - 38)) << "page " << i;
        EXPECT_EQ(HasInk(bmp, 38, 80), true) << "page " << i;
        if (!dir.empty()) {
            gui::TPngImage png;
            png.Assign(&bmp);
            rtl::TFileStream f(dir + "/engine_location_table_" + std::to_string(i + 1) + ".png", rtl::fmCreate);
            png.SaveToStream(f);
        }
    }
    TqlrReportPage* last = r.store->GetPage(2);
    bool summary = false;
    for (TqlrComponent* c : last->AllObjects())
        if (auto* m = dynamic_cast<TqlrMemoView*>(c); m && m->Text() == "120 eclipses") summary = true;
    EXPECT_TRUE(summary);
}

TEST(EngineData, MultiColumnRowsSideBySide)
{
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 40);
    band->SetRowCount(7);
    band->SetColumns(3);
    band->SetColumnWidth(100);
    r.Band<TqlrFooter>("Footer1", 60, 20);
    ASSERT_TRUE(r.Run()) << r.Errors();
    std::string places;
    for (const Rec& rec : r.pages->Pages[0].Objects) places += Num(rec.L) + "," + Num(rec.T) + " ";
    EXPECT_EQ(places, "0,0 100,0 200,0 0,40 100,40 200,40 0,80 0,120 ");
}

TEST(EngineData, StartNewPageSparesTheFirstRow)
{
    Rig r;
    r.Band<TqlrReportTitle>("ReportTitle1", 0, 20);
    auto* band = r.Band<TqlrMasterData>("MasterData1", 40, 40);
    band->SetRowCount(3);
    band->StartNewPage = true;
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->Order(), "ReportTitle1 MasterData1|MasterData1|MasterData1");
}

TEST(EngineStore, OutlineOfPagesRowsAndAMovedKeep)
{
    StoreRig r;
    r.page->OutlineText = "'Report'";
    auto* master = r.Band<TqlrMasterData>("M", 0, 100);
    master->SetRowCount(2);
    master->OutlineText = "Line";
    master->KeepTogether = true;
    r.Band<TqlrDetailData>("D", 150, 50)->SetRowCount(2);
    ASSERT_TRUE(r.Run()) << r.Errors();
    rtl::TMemoryStream stream;
    r.store->SaveToStream(stream);
    std::string s(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
    std::size_t a = s.find("<outline>"), b = s.find("</outline>");
    ASSERT_NE(a, std::string::npos);
    // Row 2 starts at 200 on page 1, is cut after its first detail and
    // pasted at the top of page 2: its node moves with it.
    EXPECT_EQ(s.substr(a, b - a + 10),
              "<outline><item text=\"Report\" page=\"0\" top=\"0\"><item text=\"1\" page=\"0\" top=\"0\"/>"
              "<item text=\"2\" page=\"1\" top=\"0\"/></item><item text=\"Report\" page=\"1\" top=\"0\"/></outline>");
}

TEST(EngineOutput, SubreportOnItsParentBecomesPartOfTheBand)
{
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 20);
    band->SetRowCount(2);
    band->Stretched = true;
    r.Memo(band, "Own", "row [Line]");
    TqlrReportPage* inner = r.AddPage("Page2");
    auto* items = r.Band<TqlrMasterData>("Items", 0, 20, inner);
    items->SetRowCount(3);
    r.Memo(items, "Item", "item", 0, 18, 10, 100);
    auto* sub = new TqlrSubreport(band);
    sub->SetName("Subreport1");
    sub->SetBounds(50, 20, 100, 20);
    sub->SetPage(inner);
    sub->PrintOnParent = true;
    ASSERT_TRUE(r.Run()) << r.Errors();
    // Each row holds its three items below its own text and grows to them.
    EXPECT_EQ(r.pages->Order(), "MasterData1 MasterData1");
    EXPECT_EQ(r.pages->Pages[0].Objects[0].Children,
              "<Own t=\"0\" h=\"18\">row 1</Own><Subreport1 t=\"20\" h=\"20\"/>"
              "< t=\"20\" h=\"18\">item</>< t=\"40\" h=\"18\">item</>< t=\"60\" h=\"18\">item</>");
    EXPECT_EQ(Num(r.pages->Pages[0].Objects[1].T), "78");
}

TEST(EngineOutput, VerticalBandCellsRunOnToTheNextPage)
{
    Rig r;
    auto* across = r.Band<TqlrMasterData>("Across", 0, 50);
    across->Vertical = true;
    across->SetBounds(100, 0, 50, 100);
    across->SetRowCount(8);
    auto* rows = r.Band<TqlrMasterData>("Rows", 0, 20);
    rows->SetRowCount(2);
    r.Memo(rows, "Cell", "[Line]", 0, 18, 100, 50);
    ASSERT_TRUE(r.Run()) << r.Errors();
    // Seven cells of 50 fit across 377.95 pixels; the eighth of each row
    // goes to the second page at the same height.
    ASSERT_EQ(r.pages->Pages.size(), 2u);
    auto count = [](const Rec& rec) {
        int n = 0;
        for (std::size_t at = rec.Children.find("<"); at != std::string::npos; at = rec.Children.find("<", at + 1))
            if (rec.Children.compare(at, 2, "</") != 0) ++n;
        return n;
    };
    ASSERT_EQ(r.pages->Pages[0].Objects.size(), 2u);
    ASSERT_EQ(r.pages->Pages[1].Objects.size(), 2u);
    EXPECT_EQ(count(r.pages->Pages[0].Objects[0]), 7);
    EXPECT_EQ(count(r.pages->Pages[1].Objects[0]), 1);
    EXPECT_EQ(Num(r.pages->Pages[0].Objects[1].T), "20");
    EXPECT_EQ(Num(r.pages->Pages[1].Objects[1].T), "20");
    // A cell is evaluated while its vertical band prints: Line is the
    // column's number.
    EXPECT_EQ(r.pages->Pages[1].Objects[1].Children, "< t=\"0\" h=\"18\">8</>");
}

TEST(EnginePages, OverlayUnderOrOverThePage)
{
    for (bool onTop : {false, true}) {
        Rig r;
        r.Band<TqlrOverlay>("Overlay1", 0, 100)->PrintOnTop = onTop;
        r.Band<TqlrMasterData>("MasterData1", 120, 40)->SetRowCount(2);
        r.Band<TqlrPageFooter>("PageFooter1", 200, 20);
        ASSERT_TRUE(r.Run()) << r.Errors();
        EXPECT_EQ(r.pages->Order(), onTop ? "MasterData1 MasterData1 PageFooter1 Overlay1"
                                          : "Overlay1 MasterData1 MasterData1 PageFooter1");
        // The overlay takes no space: the first row starts at the top.
        for (const Rec& rec : r.pages->Pages[0].Objects) {
            if (rec.Name == "Overlay1") { EXPECT_EQ(Num(rec.T), "0"); }
            if (rec.Name == "MasterData1") {
                EXPECT_EQ(Num(rec.T), "0");
                break;
            }
        }
    }
}

TEST(EngineData, KeptHeaderMovesWithItsFirstRow)
{
    for (bool keep : {false, true}) {
        Rig r;
        r.Band<TqlrMasterData>("MasterData1", 0, 40)->SetRowCount(8);
        r.Band<TqlrHeader>("Header2", 50, 20);
        auto* band = r.Band<TqlrMasterData>("MasterData2", 80, 40);
        band->SetRowCount(2);
        band->KeepHeader = keep;
        ASSERT_TRUE(r.Run()) << r.Errors();
        const std::string first = "MasterData1 MasterData1 MasterData1 MasterData1 MasterData1 MasterData1 "
                                  "MasterData1 MasterData1";
        EXPECT_EQ(r.pages->Order(), keep ? first + "|Header2 MasterData2 MasterData2"
                                         : first + " Header2|MasterData2 MasterData2");
    }
}

TEST(EngineData, SuppressedValueShowsAgainOnTheNextPage)
{
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 100);
    band->SetRowCount(5);
    r.Memo(band, "Same", "x")->SetSuppressRepeated(true);
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.pages->Order(), "MasterData1 MasterData1 MasterData1|MasterData1 MasterData1");
    EXPECT_EQ(r.pages->AllTexts(), "x   x ");
}

TEST(EngineStore, GroupRestartsLogicalPageNumbers)
{
    StoreRig r;
    TqlrUserDataSet* ds = r.Data("Data", 12, [](int row, const std::string&) {
        return rtl::Variant(std::string(row < 10 ? "a" : "b"));
    });
    r.report.OnGetValue = [ds](const std::string& name, rtl::Variant& v) {
        if (name == "A") v = ds->Value(name);
    };
    auto* group = r.Band<TqlrGroupHeader>("GroupHeader1", 0, 20);
    group->Condition = "A";
    group->StartNewPage = true;
    group->ResetPageNumbers = true;
    r.Band<TqlrMasterData>("MasterData1", 40, 40)->SetDataSet(ds);
    auto* pageNo = r.Memo(r.Band<TqlrPageFooter>("PageFooter1", 200, 20), "PageNo", "[Page]");
    std::string seen;
    r.report.OnAfterPrint = [&](TqlrReportComponent* c) {
        if (c == pageNo) seen += pageNo->Text() + " ";
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.store->GetCount(), 3);
    EXPECT_EQ(seen, "1 2 1 ");
}

TEST(EngineAggregates, RowKeptWithItsFooterCountsOnceInTheNextColumn)
{
    // The last row moves to column 2 with the footer that did not fit; the
    // summary's count must not take it twice.
    Rig r;
    r.page->SetColumns(2);
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 40);
    band->SetRowCount(9);
    band->KeepFooter = true;
    r.Band<TqlrFooter>("Footer1", 50, 40);
    r.Memo(r.Band<TqlrReportSummary>("ReportSummary1", 100, 20), "Count", "[COUNT(MasterData1)]");
    ASSERT_TRUE(r.Run()) << r.Errors();
    std::string places;
    for (const Rec& rec : r.pages->Pages[0].Objects)
        if (rec.Name != "MasterData1" || Num(rec.L) != "0") places += rec.Name + "@" + Num(rec.L) + "," + Num(rec.T) + " ";
    EXPECT_EQ(places, "MasterData1@188.98,0 Footer1@188.98,40 ReportSummary1@188.98,80 ");
    EXPECT_EQ(r.pages->AllTexts("Count"), "9");
}

TEST(EngineOutput, ObjectBelowTwoGrownObjectsMovesByTheLargerGrowth)
{
    const long double one = TextHeight("a"), two = TextHeight("a\r\nb"), three = TextHeight("a\r\nb\r\nc");
    Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 100);
    band->SetRowCount(1);
    r.Memo(band, "Left", "a\r\nb", 0, one, 0, 100)->SetStretchMode(TqlrStretchMode::smActualHeight);
    r.Memo(band, "Right", "a\r\nb\r\nc", 0, one, 100, 100)->SetStretchMode(TqlrStretchMode::smActualHeight);
    r.Memo(band, "Below", "b", one, 20, 0, 200);
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_GT(three, two);
    EXPECT_EQ(MemoHeights(*r.pages, "Below"), Num(three) + "/20");
}

TEST(EnginePages, ObjectsOutsideBandsOverlayTheFirstPage)
{
    Rig r;
    auto* stamp = new TqlrMemoView(r.page);
    stamp->SetName("Stamp");
    stamp->SetBounds(200, 30, 100, 18);
    stamp->SetText("page [Page#]");
    r.Band<TqlrMasterData>("MasterData1", 0, 100)->SetRowCount(4);
    ASSERT_TRUE(r.Run()) << r.Errors();
    // An unnamed holder first, at the top, then the rows from the top too.
    ASSERT_EQ(r.pages->Pages[0].Objects.size(), 4u);
    EXPECT_EQ(r.pages->Pages[0].Objects[0].Children, "<Stamp t=\"30\" h=\"18\">page 1</Stamp>");
    EXPECT_EQ(r.pages->Pages[1].Objects.size(), 1u);
    EXPECT_EQ(Num(r.pages->Pages[0].Objects[1].T), "0");
}

TEST(EngineStore, ObjectsOutsideBandsRebuildFromThePreparedPage)
{
    StoreRig r;
    auto* stamp = new TqlrMemoView(r.page);
    stamp->SetName("Stamp");
    stamp->SetBounds(200, 30, 100, 18);
    stamp->SetText("page [Page#]");
    r.Band<TqlrMasterData>("MasterData1", 0, 100)->SetRowCount(1);
    ASSERT_TRUE(r.Run()) << r.Errors();
    TqlrReportPage* page = r.store->GetPage(0);
    ASSERT_NE(page, nullptr);
    std::string texts;
    for (TqlrComponent* c : page->AllObjects())
        if (auto* m = dynamic_cast<TqlrMemoView*>(c)) texts += m->Text() + "@" + Num(m->AbsTop()) + " ";
    EXPECT_EQ(texts, "page 1@30 ");
}

TEST(EngineStore, EndlessPageSizeReachesThePreparedPage)
{
    StoreRig r;
    r.page->EndlessHeight = true;
    r.page->SetTopMargin(10);
    r.page->SetBottomMargin(5);
    r.Band<TqlrMasterData>("MasterData1", 0, 40)->SetRowCount(20);
    r.Band<TqlrPageFooter>("PageFooter1", 100, 25);
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(r.store->GetCount(), 1);
    EXPECT_NEAR(r.store->GetPageSize(0).Y, 800 + 25 + 15 * fr01cm, 1);
}

TEST(EnginePages, ColumnFooterEndsEveryColumn)
{
    Rig r;
    r.page->SetColumns(2);
    r.Band<TqlrColumnFooter>("ColumnFooter1", 0, 20);
    r.Band<TqlrMasterData>("MasterData1", 40, 100)->SetRowCount(5);
    ASSERT_TRUE(r.Run()) << r.Errors();
    // Three rows fit above the footer in column 1, two in column 2.
    std::string places;
    for (const Rec& rec : r.pages->Pages[0].Objects) places += rec.Name + "@" + Num(rec.L) + "," + Num(rec.T) + " ";
    EXPECT_EQ(places,
              "MasterData1@0,0 MasterData1@0,100 MasterData1@0,200 ColumnFooter1@0,300 "
              "MasterData1@188.98,0 MasterData1@188.98,100 ColumnFooter1@188.98,200 ");
}

TEST(EngineStore, ThreeColumnsAsPreparedPages)
{
    StoreRig r;
    r.page->SetColumns(3);
    r.Memo(r.Band<TqlrColumnHeader>("ColumnHeader1", 0, 20), "Caption", "Year");
    auto* data = r.Band<TqlrMasterData>("MasterData1", 40, 100);
    data->SetRowCount(7);
    r.Memo(data, "Year", "[2000 + Get('Line')]");
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(r.PagesXml(), ReadGolden("store_three_columns.xml"));
}

TEST(EnginePages, PageCallsOutsideARunDoNothing)
{
    Rig r;
    r.Band<TqlrMasterData>("MasterData1", 0, 40)->SetRowCount(1);
    ASSERT_TRUE(r.Run()) << r.Errors();
    // The template was reloaded: the engine keeps nothing of the old one.
    r.engine->NewPage();
    r.engine->NewColumn();
    r.engine->EndPage();
    r.engine->ShowBandByName("MasterData1");
    EXPECT_EQ(r.pages->GetCount(), 1);
    EXPECT_EQ(r.pages->Pages[0].Objects.size(), 1u);
}
