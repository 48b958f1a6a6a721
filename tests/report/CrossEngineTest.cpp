// The band engine printing the bands a cross-tab makes while the report
// runs: the report's before-print event reaches each object once for every
// printing of its band.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "report/qlrVariables.h"
#include "reportout/qlrCross.h"
#include "tests/report/EngineFixture.h"

using namespace qlr;
using rtl::Variant;

namespace {

// Measures a text as 10 units a character (at least one) by 20 units.
TqlrCrossSize FakeMeasure(TqlrCustomMemoView* m)
{
    const std::size_t n = std::max<std::size_t>(m->Text().size(), 1);
    return {static_cast<long double>(n * 10), 20};
}

} // namespace

TEST(EngineCrossTab, BeforePrintOncePerPrintingOfItsBand)
{
    // The program fills its cross-tab from the before-print event; the
    // cross-tab runs the event for its cells and headers with their row,
    // column and value set, and the engine must not run it again.  Every
    // object's events therefore alternate: before, after, before, after.
    struct Case {
        const char* what;
        int rows, columns;
        int pages;
    } cases[] = {
        {"one page", 3, 2, 1},
        {"rows over three pages, headers repeated", 40, 1, 3},
        {"columns over three pages", 2, 6, 3},
    };
    for (const Case& c : cases) {
        enginetest::Rig r;
        auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 20);
        band->SetRowCount(1);
        auto* cross = new TqlrCrossView(band);
        cross->SetName("Cross1");
        cross->SetBounds(0, 0, 100, 20);
        cross->OnMeasureMemo = FakeMeasure;
        int fills = 0;
        std::map<TqlrReportComponent*, std::string> events;
        std::vector<std::string> cellsSeen;
        r.report.OnBeforePrint = [&](TqlrReportComponent* obj) {
            events[obj] += "B";
            if (obj == cross) {
                ++fills;
                for (int row = 1; row <= c.rows; ++row)
                    for (int col = 1; col <= c.columns; ++col)
                        cross->AddValue({Variant(row)}, {Variant("column" + std::to_string(col))},
                                        {Variant(row * 100 + col)});
            }
            if (obj->Name() == "Cross1Cell0")
                cellsSeen.push_back(rtl::VarToStr(GlobalVariables().GetVariable("RowIndex")) + "," +
                                    rtl::VarToStr(GlobalVariables().GetVariable("ColumnIndex")) + "=" +
                                    rtl::VarToStr(r.report.CurValue));
        };
        r.report.OnAfterPrint = [&](TqlrReportComponent* obj) { events[obj] += "A"; };
        ASSERT_TRUE(r.Run()) << c.what << ": " << r.Errors();
        EXPECT_EQ(static_cast<int>(r.pages->Pages.size()), c.pages) << c.what;
        EXPECT_EQ(fills, 1) << c.what;
        for (const auto& [obj, seq] : events) {
            std::string alternating;
            for (std::size_t i = 0; i < seq.size() / 2; ++i) alternating += "BA";
            EXPECT_EQ(seq, alternating) << c.what;
        }
        // One event per cell (the totals have templates of their own), the
        // cell's own place and value at hand.
        ASSERT_FALSE(cellsSeen.empty()) << c.what;
        EXPECT_EQ(cellsSeen.front(), "0,0=101") << c.what;
        EXPECT_EQ(static_cast<int>(cellsSeen.size()), c.rows * c.columns) << c.what;
    }
}
