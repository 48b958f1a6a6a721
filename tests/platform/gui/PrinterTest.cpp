// Printing to a PDF file: the job's states, the device capabilities, and the
// printed page rendered back (pdftoppm) with the shapes where the
// capabilities say they are.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "GuiTestUtil.h"
#include "PdfPages.h"
#include "TestPaths.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/Printers.h"

using namespace gui;

namespace {

using tectest::HavePdfToPpm;

bool RenderPage(const std::filesystem::path& pdf, int page, int dpi, TPngImage& out)
{
    return tectest::RenderPdfPage(pdf, page, dpi, out);
}

bool Dark(const TPngImage& png, int x, int y)
{
    TColor c = png.Pixels(x, y);
    return GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64;
}

bool Light(const TPngImage& png, int x, int y)
{
    TColor c = png.Pixels(x, y);
    return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
}

std::unique_ptr<TPrinter> PdfPrinter(const std::filesystem::path& pdf, int dpi)
{
    auto p = std::make_unique<TPrinter>();
    p->SetOutputFileName(pdf.string());
    p->SetResolution(dpi);
    p->SetPaper(210, 297);
    p->SetMargins(10, 20, 15, 25);
    return p;
}

TEST(Printer, CapabilitiesDescribeThePage)
{
    auto dir = tectest::ScratchDir("gui-printer-caps");
    auto p = PdfPrinter(dir / "caps.pdf", 150);
    // 150 dpi: 1 mm is 150 / 25.4 pixels.
    EXPECT_NEAR(p->GetDeviceCaps(PHYSICALWIDTH), 1240, 1);
    EXPECT_NEAR(p->GetDeviceCaps(PHYSICALHEIGHT), 1754, 1);
    EXPECT_NEAR(p->GetDeviceCaps(PHYSICALOFFSETX), 59, 1);
    EXPECT_NEAR(p->GetDeviceCaps(PHYSICALOFFSETY), 118, 1);
    EXPECT_NEAR(p->PageWidth(), 1240 - 59 - 89, 2);
    EXPECT_NEAR(p->PageHeight(), 1754 - 118 - 148, 2);
    EXPECT_EQ(p->GetDeviceCaps(LOGPIXELSX), 150);
    EXPECT_EQ(p->GetDeviceCaps(LOGPIXELSY), 150);
    EXPECT_TRUE(p->GetDeviceCaps(RASTERCAPS) & RC_BITMAP64);
    EXPECT_EQ(p->Canvas()->Font()->PixelsPerInch(), 150);

    p->SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_NEAR(p->GetDeviceCaps(PHYSICALWIDTH), 1754, 1);
    EXPECT_NEAR(p->GetDeviceCaps(PHYSICALHEIGHT), 1240, 1);

    // Text is measured at the printer's resolution: 10 points are ~21 pixels.
    p->Canvas()->Font()->SetName("Arial");
    p->Canvas()->Font()->SetSize(10);
    EXPECT_EQ(p->Canvas()->Font()->Height(), -21);
    EXPECT_NEAR(p->Canvas()->TextHeight("X"), 24, 3);
}

TEST(Printer, JobStatesAndErrors)
{
    auto dir = tectest::ScratchDir("gui-printer-job");
    auto p = PdfPrinter(dir / "job.pdf", 72);
    EXPECT_FALSE(p->Printing());
    EXPECT_THROW(p->NewPage(), EPrinter);
    EXPECT_THROW(p->EndDoc(), EPrinter);
    p->BeginDoc();
    EXPECT_TRUE(p->Printing());
    EXPECT_EQ(p->PageNumber(), 1);
    EXPECT_THROW(p->BeginDoc(), EPrinter);
    EXPECT_THROW(p->SetOrientation(TPrinterOrientation::poLandscape), EPrinter);
    p->Canvas()->Rectangle(10, 10, 50, 50);
    p->Abort();
    EXPECT_FALSE(p->Printing());
    EXPECT_TRUE(p->Aborted());
    EXPECT_FALSE(std::filesystem::exists(dir / "job.pdf"));

    p->BeginDoc();
    EXPECT_FALSE(p->Aborted());
    p->NewPage();
    EXPECT_EQ(p->PageNumber(), 2);
    p->EndDoc();
    EXPECT_TRUE(std::filesystem::exists(dir / "job.pdf"));
}

TEST(Printer, PrintedPageShowsShapesWhereTheCapabilitiesSay)
{
    if (!HavePdfToPpm()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    auto dir = tectest::ScratchDir("gui-printer-page");
    const int dpi = 150;
    auto p = PdfPrinter(dir / "page.pdf", dpi);
    p->SetTitle("Test page");
    p->BeginDoc();
    const int w = p->PageWidth(), h = p->PageHeight();
    const int ox = p->GetDeviceCaps(PHYSICALOFFSETX), oy = p->GetDeviceCaps(PHYSICALOFFSETY);
    TCanvas* c = p->Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, 100, 100));           // top-left corner of the printable area
    c->FillRect(Rect(w - 100, h - 100, w, h));   // bottom-right corner
    c->Pen()->SetWidth(10);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Rectangle(300, 300, 600, 500);            // a frame
    c->Font()->SetName("Arial");
    c->Font()->SetSize(24);
    c->TextOut(300, 600, "Tolmira test page");
    // A bitmap stretched to 200 x 100 device pixels.
    auto bmp = guitest::NewBitmap(4, 2, clBlack);
    bmp->Canvas()->SetPixels(0, 0, clWhite);
    c->StretchDraw(Rect(700, 100, 900, 200), bmp.get());
    p->NewPage();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(Rect(w / 2 - 50, h / 2 - 50, w / 2 + 50, h / 2 + 50));
    p->EndDoc();

    TPngImage page;
    ASSERT_TRUE(RenderPage(dir / "page.pdf", 1, dpi, page));
    EXPECT_NEAR(page.Width(), p->GetDeviceCaps(PHYSICALWIDTH), 1);
    EXPECT_NEAR(page.Height(), p->GetDeviceCaps(PHYSICALHEIGHT), 1);
    EXPECT_TRUE(Dark(page, ox + 3, oy + 3));
    EXPECT_TRUE(Dark(page, ox + 96, oy + 96));
    EXPECT_TRUE(Light(page, ox - 4, oy + 50));
    EXPECT_TRUE(Light(page, ox + 50, oy - 4));
    EXPECT_TRUE(Light(page, ox + 104, oy + 50));
    EXPECT_TRUE(Dark(page, ox + w - 3, oy + h - 3));
    EXPECT_TRUE(Light(page, ox + w + 4, oy + h - 50));
    EXPECT_TRUE(Light(page, ox + w - 50, oy + h + 4));
    // The frame's left side, not its inside.
    EXPECT_TRUE(Dark(page, ox + 300, oy + 400));
    EXPECT_TRUE(Light(page, ox + 450, oy + 400));
    // The stretched bitmap: its white top-left pixel is 50 x 50 device pixels.
    EXPECT_TRUE(Light(page, ox + 725, oy + 125));
    EXPECT_TRUE(Dark(page, ox + 775, oy + 125));
    EXPECT_TRUE(Dark(page, ox + 725, oy + 175));
    // Some text ink in the text line.
    int ink = 0;
    for (int y = oy + 600; y < oy + 650; ++y)
        for (int x = ox + 300; x < ox + 700; ++x) ink += Dark(page, x, y);
    EXPECT_GT(ink, 200);

    TPngImage second;
    ASSERT_TRUE(RenderPage(dir / "page.pdf", 2, dpi, second));
    EXPECT_TRUE(Dark(second, ox + w / 2, oy + h / 2));
    EXPECT_TRUE(Light(second, ox + 3, oy + 3));
}

// A job that cannot start (its file cannot be written) leaves the printer
// ready: the next job with other settings prints.
TEST(Printer, FailedJobLeavesThePrinterUsable)
{
    if (!HavePdfToPpm()) GTEST_SKIP() << "pdftoppm missing";
    auto dir = tectest::ScratchDir("gui-printer-failed");
    auto p = PdfPrinter(dir / "no-such-folder" / "x.pdf", 72);
    EXPECT_THROW(p->BeginDoc(), EPrinter);
    EXPECT_FALSE(p->Printing());
    for (const char* name : {"first.pdf", "second.pdf"}) {
        p->SetOutputFileName((dir / name).string());
        p->SetResolution(100);
        p->SetOrientation(TPrinterOrientation::poLandscape);
        p->BeginDoc();
        p->Canvas()->Brush()->SetColor(clBlack);
        p->Canvas()->FillRect(Rect(100, 100, 300, 300));
        p->EndDoc();
        TPngImage page;
        ASSERT_TRUE(RenderPage(dir / name, 1, 100, page)) << name;
        EXPECT_GT(page.Width(), page.Height()) << name;   // landscape
        EXPECT_TRUE(Dark(page, p->GetDeviceCaps(PHYSICALOFFSETX) + 200, p->GetDeviceCaps(PHYSICALOFFSETY) + 200))
            << name;
    }
}

// The desktop's print dialog starts from the printer's settings (a PDF
// file, A5) and hands its choice back to the printer: accepted with
// Return, the next job goes into that file on that paper.
TEST(Printer, DesktopPrintDialogStartsFromThePrinterAndHandsItsChoiceBack)
{
    if (!HavePdfToPpm()) GTEST_SKIP() << "pdftoppm missing";
    auto dir = tectest::ScratchDir("gui-printer-dialog");
    std::unique_ptr<IDialogService> scripted = SetDialogService(nullptr);   // the desktop's dialogs
    std::unique_ptr<TPrinter> previous = SetPrinter(std::make_unique<TPrinter>());
    TPrinter* p = Printer();
    const std::string file = (dir / "chosen.pdf").string();
    p->SetOutputFileName(file);
    p->SetPaper(148, 210);
    p->SetOrientation(TPrinterOrientation::poLandscape);
    p->SetResolution(72);
    sim::PostKeyPress(VK_RETURN);
    TPrintDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(p->OutputFileName(), file);
    EXPECT_NEAR(p->PaperWidthMm(), 148, 0.5);
    EXPECT_NEAR(p->PaperHeightMm(), 210, 0.5);
    EXPECT_EQ(p->Orientation(), TPrinterOrientation::poLandscape);
    p->BeginDoc();
    p->EndDoc();
    TPngImage page;
    ASSERT_TRUE(RenderPage(dir / "chosen.pdf", 1, 72, page));
    EXPECT_NEAR(page.Width(), 210 / 25.4 * 72, 2);    // A5 landscape
    EXPECT_NEAR(page.Height(), 148 / 25.4 * 72, 2);
    SetPrinter(std::move(previous));
    SetDialogService(std::move(scripted));
}

} // namespace

TEST(Printer, OnlyThePrintersCanvasSaysItIsOne)
{
    TPrinter p;
    EXPECT_TRUE(p.Canvas()->IsPrinterCanvas());
    TBitmap bmp(4, 4);
    EXPECT_FALSE(bmp.Canvas()->IsPrinterCanvas());
}
