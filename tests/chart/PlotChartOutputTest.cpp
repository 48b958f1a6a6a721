// The chart's exports: bitmap file names, black and white, printing onto a
// PDF page rendered back, and an export that fails half-way.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "EmfRecords.h"
#include "PdfPages.h"
#include "TestPaths.h"
#include "chart/PlotChart.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/Printers.h"

using namespace chart;
namespace fs = std::filesystem;

namespace {

// A 400 x 200 chart with a red curve on a yellow window.
struct TOutputFixture {
    std::unique_ptr<gui::TForm> Form = std::make_unique<gui::TForm>(nullptr);
    TPlotChart* Chart = new TPlotChart(Form.get());
    fs::path Dir = tectest::ScratchDir("chart-output");
    TOutputFixture()
    {
        Chart->SetParent(Form.get());
        Chart->SetBounds(0, 0, 400, 200);
        Chart->SetWindColor(gui::clYellow);
        Chart->SetRange(1, 0, 0, 10, 10);
        Chart->SetDataColor(gui::clRed);
        Chart->SetLineWidth(3);
        Chart->MoveTo(0, 0);
        Chart->DrawTo(10, 10);
        Chart->ShowGraf();
    }
};

// The bounding box of the pixels that are not white.
gui::TRect Inked(const gui::TPngImage& png)
{
    gui::TRect r{png.Width(), png.Height(), -1, -1};
    for (int y = 0; y < png.Height(); ++y)
        for (int x = 0; x < png.Width(); ++x) {
            const gui::TColor c = png.Pixels(x, y);
            if (gui::GetRValue(c) > 235 && gui::GetGValue(c) > 235 && gui::GetBValue(c) > 235) continue;
            r.Left = std::min(r.Left, x);
            r.Top = std::min(r.Top, y);
            r.Right = std::max(r.Right, x + 1);
            r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r;
}

std::unique_ptr<gui::TPrinter> PdfPrinter(const fs::path& pdf, int dpi)
{
    auto p = std::make_unique<gui::TPrinter>();
    p->SetOutputFileName(pdf.string());
    p->SetResolution(dpi);
    p->SetPaper(210, 297);
    p->SetMargins(10, 20, 10, 20);
    return p;
}

} // namespace

TEST(ChartOutput, BitmapFileNames)
{
    TOutputFixture f;
    const fs::path before = fs::current_path();
    fs::current_path(f.Dir);
    f.Chart->CopyToBMP("report", false);
    fs::current_path(before);
    EXPECT_TRUE(fs::exists(f.Dir / "report.bmp"));
    f.Chart->CopyToBMP((f.Dir / "delta.t.png").string(), false);
    ASSERT_TRUE(fs::exists(f.Dir / "delta.bmp"));
    gui::TBitmap back;
    back.LoadFromFile((f.Dir / "delta.bmp").string());
    EXPECT_EQ(back.Width(), 400);
    EXPECT_EQ(back.Canvas()->Pixels(2, 2), gui::clYellow);
}

TEST(ChartOutput, BlackAndWhiteLeavesTheColoursAsTheyWere)
{
    TOutputFixture f;
    TPlotChart& c = *f.Chart;
    c.ScaleX(1)->Font()->SetColor(gui::clBlue);
    const TColor scaleY3 = c.ScaleY(3)->ColorScale();
    gui::TBitmap bmp;
    c.CopyToBitmap(&bmp, true);
    ASSERT_EQ(bmp.Width(), 400);
    bmp.SaveToFile((tectest::SnapshotDir() / "chart-black-and-white.bmp").string());
    EXPECT_EQ(bmp.Canvas()->Pixels(2, 2), gui::clWhite);
    const gui::TPoint mid = c.R2M(1, 5, 5);
    EXPECT_EQ(bmp.Canvas()->Pixels(mid.X, mid.Y), gui::clBlack);
    // Afterwards every colour is back, and the screen picture too.
    EXPECT_EQ(c.WindColor(), gui::clYellow);
    EXPECT_EQ(c.ChartColor(), gui::clWhite);
    EXPECT_EQ(c.ScaleX(1)->Font()->Color(), gui::clBlue);
    EXPECT_EQ(c.ScaleY(3)->ColorScale(), scaleY3);
    EXPECT_EQ(c.ScaleControlX(1)->ColorBackGnd(), gui::clYellow);
    EXPECT_FALSE(c.SuppressPaint());
    c.CopyToBitmap(&bmp, false);
    EXPECT_EQ(bmp.Canvas()->Pixels(mid.X, mid.Y), gui::clRed);
    c.CopyToBitmap(nullptr, false);   // nothing happens
}

TEST(ChartOutput, AnExportThatFailsRestoresEverything)
{
    TOutputFixture f;
    TPlotChart& c = *f.Chart;
    c.OnBeforeRenderData = [](rtl::TObject*, gui::TCanvas*&, int, int) { throw std::runtime_error("no paper"); };
    gui::TBitmap bmp;
    EXPECT_THROW(c.CopyToBitmap(&bmp, true), std::runtime_error);
    EXPECT_EQ(c.WindColor(), gui::clYellow);
    EXPECT_EQ(c.ChartFrameColor(), gui::clBlack);
    EXPECT_EQ(c.ScaleX(1)->ColorScale(), gui::clBlack);
    EXPECT_EQ(c.ScaleX(2)->ColorScale(), gui::clMaroon);
    EXPECT_FALSE(c.SuppressPaint());
    EXPECT_EQ(c.ScaleControlY(5)->ForeignCanvas(), c.ChartBmp()->Canvas());
}

TEST(ChartOutput, PrintedCentredHalfAnInchDownAndPlacedOnAnOpenJob)
{
    if (!tectest::HavePdfToPpm()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    TOutputFixture f;
    TPlotChart& c = *f.Chart;
    f.Dir = tectest::SnapshotDir();
    auto previous = gui::SetPrinter(PdfPrinter(f.Dir / "chart.pdf", 300));
    c.PrintIt(1, false);
    gui::TPrinter* printer = gui::Printer();
    const int ox = printer->GetDeviceCaps(gui::PHYSICALOFFSETX), oy = printer->GetDeviceCaps(gui::PHYSICALOFFSETY);
    const int pageWidth = printer->GetDeviceCaps(gui::PHYSICALWIDTH);
    gui::TPngImage page;
    ASSERT_TRUE(tectest::RenderPdfPage(f.Dir / "chart.pdf", 1, 300, page));
    // 400 screen pixels at 96 per inch are 1250 printer pixels at 300.
    const gui::TRect r = Inked(page);
    EXPECT_NEAR(r.Width(), 1250, 3);
    EXPECT_NEAR(r.Left, ox + (pageWidth - 1250) / 2, 3);
    EXPECT_NEAR(r.Top, oy + 150, 3);
    EXPECT_NEAR(r.Height(), 625, 3);

    // Two charts on one page of an open job: the second right below the first.
    gui::SetPrinter(PdfPrinter(f.Dir / "two.pdf", 300));
    gui::Printer()->BeginDoc();
    int x = 100, y = 100;
    c.CopyToOpenPrinter(x, y, 0.5, false);
    EXPECT_EQ(x, 100 + 625);
    EXPECT_EQ(y, 100 + 313);
    x = 100;
    c.CopyToOpenPrinter(x, y, 0.5, false);
    gui::Printer()->EndDoc();
    ASSERT_TRUE(tectest::RenderPdfPage(f.Dir / "two.pdf", 1, 300, page));
    const gui::TRect both = Inked(page);
    EXPECT_NEAR(both.Left, ox + 100, 3);
    EXPECT_NEAR(both.Top, oy + 100, 3);
    EXPECT_NEAR(both.Height(), 2 * 313, 4);
    EXPECT_NEAR(both.Width(), 625, 3);
    gui::SetPrinter(std::move(previous));
}

TEST(ChartOutput, MetafileFileAndClipboard)
{
    TOutputFixture f;
    TPlotChart& c = *f.Chart;
    c.CopyToWMF((f.Dir / "a.b.c").string(), false);
    ASSERT_TRUE(fs::exists(f.Dir / "a.wmf"));
    const std::string text = tectest::ReadText(f.Dir / "a.wmf");
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    std::vector<tectest::TEmfRecord> recs;
    ASSERT_EQ(tectest::ParseEmf(bytes, recs), "");
    EXPECT_EQ(recs[0].I32(16), 399);   // the control's width and height
    EXPECT_EQ(recs[0].I32(20), 199);
    EXPECT_GT(tectest::CountEmfRecords(recs, 84), 5);   // scale labels
    EXPECT_EQ(tectest::CountEmfRecords(recs, 30), 1);   // the plot's clip
    // The red curve is a polyline inside the plot area.
    bool curve = false;
    for (const tectest::TEmfRecord& r : recs)
        if (r.Type == 38 && r.U32(24) == 0x0000FF) curve = true;   // a red pen
    EXPECT_TRUE(curve);
    EXPECT_FALSE(c.SuppressPaint());

    c.CopyToClipboardWMF(false);
    const std::vector<uint8_t> clip = gui::Clipboard()->GetData(gui::CF_ENHMETAFILE);
    if (clip.empty()) GTEST_SKIP() << "no clipboard here";
    EXPECT_EQ(clip.size(), bytes.size());
}
