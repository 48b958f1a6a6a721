// The band engine: small templates laid out into prepared pages (a
// recording store, compared with hand-written golden XML), the band tree
// and its errors, data runs, band output, aggregates and Cancel.

#include <gtest/gtest.h>

#include <chrono>

#include "EngineFixture.h"

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
