// Views drawn on a 96-dpi bitmap, checked at chosen pixels: background,
// frames on four sides and on two, the drop shadow; frame differences;
// TagStr expressions during a run.

#include <gtest/gtest.h>

#include <memory>

#include <cstdlib>

#include "platform/gui/Graphics.h"
#include "platform/gui/PngImage.h"
#include "report/qlrClass.h"

using namespace qlr;
using gui::clBlack;
using gui::clWhite;

namespace {

struct Canvas {
    gui::TBitmap bmp{60, 60};
    Canvas()
    {
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(gui::TRect(0, 0, 60, 60));
    }
    gui::TColor At(int x, int y) { return bmp.Canvas()->Pixels(x, y); }
};

void Keep(gui::TBitmap& bmp, const std::string& name)
{
    if (const char* dir = std::getenv("REPORT_TEST_PICTURES")) {
        gui::TPngImage png;
        png.Assign(&bmp);
        rtl::TFileStream f(std::string(dir) + "/" + name, rtl::fmCreate);
        png.SaveToStream(f);
    }
}

std::unique_ptr<TqlrView> MakeView(long double l, long double t, long double w, long double h)
{
    auto v = std::make_unique<TqlrView>(nullptr);
    v->SetBounds(l, t, w, h);
    return v;
}

} // namespace

TEST(ReportViews, BackgroundOnlyWithAColour)
{
    Canvas c;
    auto v = MakeView(10, 10, 20, 20);
    v->Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(c.At(20, 20), clWhite);
    v->SetColor(gui::clRed);
    v->Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(c.At(10, 10), gui::clRed);
    EXPECT_EQ(c.At(29, 29), gui::clRed);
    EXPECT_EQ(c.At(30, 30), clWhite);
    EXPECT_EQ(c.At(9, 9), clWhite);
    EXPECT_EQ(v->FDX, 20);
    // Scale and offset map report units to pixels.
    v->Draw(c.bmp.Canvas(), 2, 2, -5, 3);
    EXPECT_EQ(v->FX, 15);
    EXPECT_EQ(v->FY1, 63);
}

TEST(ReportViews, OnePixelFrames)
{
    Canvas c;
    auto v = MakeView(10, 10, 20, 20);
    v->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft, TqlrFrameType::ftRight, TqlrFrameType::ftTop,
                                      TqlrFrameType::ftBottom});
    v->Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    for (auto [x, y] : {std::pair{10, 10}, {10, 20}, {10, 30}, {30, 10}, {30, 30}, {20, 10}, {20, 30}})
        EXPECT_EQ(c.At(x, y), clBlack) << x << "," << y;
    EXPECT_EQ(c.At(11, 11), clWhite);
    EXPECT_EQ(c.At(31, 20), clWhite);
    EXPECT_EQ(c.At(9, 20), clWhite);

    Canvas d;
    auto w = MakeView(10, 10, 20, 20);
    w->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft, TqlrFrameType::ftTop});
    w->Draw(d.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(d.At(10, 30), clBlack);  // the free end is not pulled in (1 div 2 = 0)
    EXPECT_EQ(d.At(30, 10), clBlack);
    EXPECT_EQ(d.At(30, 20), clWhite);
    EXPECT_EQ(d.At(20, 30), clWhite);
}

TEST(ReportViews, WideFramePullsInFreeEnds)
{
    Canvas c;
    auto v = MakeView(10, 10, 30, 30);
    v->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft});
    v->Frame()->SetWidth(4);
    v->Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    // Four pixels wide around x = 10 (8..11), ends pulled in by 2 and
    // capped by 2 again: y from 10 to 40.
    EXPECT_EQ(c.At(8, 20), clBlack);
    EXPECT_EQ(c.At(11, 20), clBlack);
    EXPECT_EQ(c.At(12, 20), clWhite);
    EXPECT_EQ(c.At(7, 20), clWhite);
    EXPECT_EQ(c.At(9, 10), clBlack);
    EXPECT_EQ(c.At(9, 9), clWhite);
}

TEST(ReportViews, DropShadow)
{
    Canvas c;
    auto v = MakeView(10, 10, 20, 20);
    v->SetColor(gui::clBlue);
    v->Frame()->SetDropShadow(true);
    v->Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(v->FX1, 26);
    EXPECT_EQ(v->FY1, 26);
    EXPECT_EQ(c.At(25, 25), gui::clBlue);
    EXPECT_EQ(c.At(27, 20), clBlack);   // right strip 26..29 from y 14
    EXPECT_EQ(c.At(27, 12), clWhite);
    EXPECT_EQ(c.At(20, 28), clBlack);   // bottom strip 26..29 from x 14
    EXPECT_EQ(c.At(12, 28), clWhite);
    EXPECT_EQ(c.At(29, 29), clBlack);
    EXPECT_EQ(c.At(30, 30), clWhite);
}

TEST(ReportViews, DashedFrameUsesOnePixelLines)
{
    Canvas c;
    auto v = MakeView(10, 10, 40, 20);
    v->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftTop});
    v->Frame()->SetStyle(TqlrFrameStyle::fsDash);
    v->Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    int black = 0, white = 0;
    for (int x = 10; x <= 50; ++x) (c.At(x, 10) == clBlack ? black : white)++;
    EXPECT_GT(black, 10);
    EXPECT_GT(white, 3);
}

TEST(ReportViews, FrameDiffListsOnlyDeviatingLines)
{
    TqlrFrame a, b;
    a.SetColor(gui::clRed);
    EXPECT_EQ(a.Diff(&b), " Frame.Color=\"255\"");
    a.TopLine()->SetColor(gui::clBlue);
    EXPECT_EQ(a.Diff(&b), " Frame.Color=\"255\" Frame.TopLine.Color=\"16711680\"");
    TqlrFrame c;
    c.SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft, TqlrFrameType::ftBottom});
    c.BottomLine()->SetWidth(3);
    EXPECT_EQ(c.Diff(&b), " Frame.Typ=\"9\" Frame.BottomLine.Width=\"3\"");
}

TEST(ReportViews, TagStrExpressionsDuringARun)
{
    TqlrReport report(nullptr);
    report.OnCalc = [](const std::string& expr) {
        return expr == "1+1" ? rtl::Variant(2) : rtl::Variant(expr);
    };
    auto* page = new TqlrReportPage(&report);
    auto* memo = new TqlrMemoView(page);
    memo->SetTagStr("[1+1] items");
    memo->SetURL("#[x]");
    memo->BeforePrint();
    EXPECT_EQ(report.CurObject, memo);
    memo->GetData();
    EXPECT_EQ(memo->TagStr(), "2 items");
    EXPECT_EQ(memo->URL(), "#x");
    memo->AfterPrint();
    EXPECT_EQ(memo->TagStr(), "[1+1] items");
    EXPECT_EQ(memo->URL(), "#[x]");

    auto view = MakeView(0, 0, 1, 1);
    auto copy = MakeView(0, 0, 1, 1);
    view->SetColor(gui::clRed);
    view->SetTagStr("a&b");
    view->SetPrintable(false);
    EXPECT_EQ(view->Diff(copy.get()), " Color=\"255\" Printable=\"0\" TagStr=\"a&#38;b\"");
}

TEST(ReportViews, DialogComponentIsAnIconOutsideThePreview)
{
    TqlrUserDataSet ds(nullptr);
    EXPECT_EQ(ds.Width(), 28);
    EXPECT_FALSE(ds.qlComponentStyle().Contains(TqlrComponentStyleItem::csPreviewVisible));
    TqlrView view(nullptr);
    EXPECT_TRUE(view.qlComponentStyle().Contains(TqlrComponentStyleItem::csDefaultDiff));
    TqlrMemoView memo(nullptr);
    EXPECT_FALSE(memo.qlComponentStyle().Contains(TqlrComponentStyleItem::csDefaultDiff));
    gui::TBitmap bmp(80, 80);
    ds.SetName("Data1");
    ds.SetBounds(10, 10, 50, 50);
    ds.Draw(bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(ds.Width(), 28);
    EXPECT_EQ(bmp.Canvas()->Pixels(24, 24), gui::ColorToRGB(gui::clBtnFace));
}

TEST(ReportViews, DialogControlCaptionFollowsItsName)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrDialogPage(&report);
    auto* button = new TqlrDialogControl(page);
    EXPECT_EQ(button->BaseName(), "Dialog");
    button->SetName("Button1");
    button->SetCaption("Button1");
    button->SetName("OkButton");
    EXPECT_EQ(button->Caption(), "OkButton");
    button->SetIsLoading(true);
    button->SetName("Other");
    EXPECT_EQ(button->Caption(), "OkButton");
}

TEST(ReportViews, PatternFramesOnGeometricPens)
{
    Canvas sq;
    auto v = MakeView(8, 20, 40, 20);
    v->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftTop});
    v->Frame()->SetStyle(TqlrFrameStyle::fsSquare);
    v->Frame()->SetWidth(4);
    v->Draw(sq.bmp.Canvas(), 1, 1, 0, 0);
    // Squares of 4 every 8 pixels, 4 high, centred on y = 20, flat ends.
    EXPECT_EQ(sq.At(9, 20), clBlack);
    EXPECT_EQ(sq.At(11, 18), clBlack);
    EXPECT_EQ(sq.At(13, 20), clWhite);
    EXPECT_EQ(sq.At(17, 21), clBlack);
    EXPECT_EQ(sq.At(21, 20), clWhite);
    EXPECT_EQ(sq.At(10, 23), clWhite);

    Canvas thin;
    auto t = MakeView(10, 20, 20, 20);
    t->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftTop});
    t->Frame()->SetStyle(TqlrFrameStyle::fsAltDot);
    t->Draw(thin.bmp.Canvas(), 1, 1, 0, 0);
    // One pixel on, one off.
    EXPECT_EQ(thin.At(10, 20), clBlack);
    EXPECT_EQ(thin.At(11, 20), clWhite);
    EXPECT_EQ(thin.At(12, 20), clBlack);

    Canvas dots;
    auto d = MakeView(8, 20, 40, 20);
    d->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftTop});
    d->Frame()->SetStyle(TqlrFrameStyle::fsAltDot);
    d->Frame()->SetWidth(6);
    d->Draw(dots.bmp.Canvas(), 1, 1, 0, 0);
    // Round dots of diameter 6 every 12 pixels: the centre inked, the gap
    // between two dots clear.
    EXPECT_NE(dots.At(8, 20), clWhite);
    EXPECT_EQ(dots.At(14, 20), clWhite);
    EXPECT_NE(dots.At(20, 20), clWhite);
    EXPECT_EQ(dots.At(8, 24), clWhite);

    // All styles on four sides, to look at.
    gui::TBitmap all(330, 60);
    all.Canvas()->Brush()->SetColor(clWhite);
    all.Canvas()->FillRect(gui::TRect(0, 0, 330, 60));
    for (int k = 0; k < 8; ++k) {
        auto f = MakeView(5 + 40 * k, 10, 32, 40);
        f->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft, TqlrFrameType::ftRight, TqlrFrameType::ftTop,
                                          TqlrFrameType::ftBottom});
        f->Frame()->SetStyle(static_cast<TqlrFrameStyle>(k));
        f->Frame()->SetWidth(k == 5 ? 1 : 3);
        f->Draw(all.Canvas(), 1, 1, 0, 0);
    }
    Keep(all, "frame_styles.png");
}
