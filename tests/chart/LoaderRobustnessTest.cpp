// Damaged chart data files: read or refused, and whatever was read is drawn
// without crashing, hanging or asking for absurd memory.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <limits>

#include "MalformedInputs.h"
#include "TestPaths.h"
#include "chart/PlotChart.h"
#include "chart/PlotChartFiles.h"
#include "platform/gui/Forms.h"

TEC_LIMIT_ALLOCATIONS()

using namespace chart;

TEST(LoaderRobustness, ChartDataFiles)
{
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* chart = new TPlotChart(&form);
    chart->SetParent(&form);
    chart->SetBounds(0, 0, 240, 160);
    chart->MoveTo(1700, 0.5);
    chart->DrawTo(1701, 0.6);
    chart->MarkAt(1702, 0.4, 3);
    chart->Rectangle(1700, 0.1, 1701, 0.2);
    chart->Bar3D(1700.2, 0.1, 1700.4, 0.3, 5, 30);
    chart->Ellipse(1701, 0.5, 0.2, 0.1);
    chart->Arrow(1700, 0.9, 1702, 0.8, 6);
    chart->Text(1702, 0.7, 9, "label");
    const auto dir = tectest::ScratchDir("chart-robust");
    const std::string valid = (dir / "valid.dat").string(), damaged = (dir / "damaged.dat").string();
    chart->SaveData(valid);
    const std::string bytes = tectest::ReadText(valid);
    ASSERT_EQ(bytes.size(), 8u * ItemRecordSize);

    // Every field of the first records: coordinates, colours, widths,
    // sizes, depths and the text length.
    std::vector<std::size_t> fields;
    for (int rec : {0, 3, 4, 7})
        for (std::size_t at : {0, 4, 8, 16, 24, 32, 52, 56, 64, 68, 88, 92, 96})
            fields.push_back(static_cast<std::size_t>(rec) * ItemRecordSize + at);
    for (const auto& c : MalformedVariants(bytes, fields))
        ExpectReadsOrRaises(c, [&](const std::string& b) {
            std::ofstream(damaged, std::ios::binary) << b;
            chart->LoadData(damaged, false);
            gui::TBitmap out(240, 160, gui::TPixelFormat::pf24bit);
            chart->CopyToBitmap(&out, false);
            (void)chart->NumItems();
        });
    // Doubles that are no numbers or far out.
    for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e308, -1e308}) {
        for (std::size_t at : {0, 8, 16, 24}) {
            std::string b = bytes;
            for (int rec = 0; rec < 8; ++rec) std::memcpy(b.data() + rec * ItemRecordSize + at, &v, sizeof v);
            ExpectReadsOrRaises({"double " + std::to_string(v) + " at " + std::to_string(at), b},
                                [&](const std::string& d) {
                                    std::ofstream(damaged, std::ios::binary) << d;
                                    chart->LoadData(damaged, false);
                                    gui::TBitmap out(240, 160, gui::TPixelFormat::pf24bit);
                                    chart->CopyToBitmap(&out, false);
                                });
        }
    }
}
