// Canvas drawing on bitmaps, checked pixel by pixel: the classic raster
// rules for lines, rectangles and frames, clipping, origins, pixels,
// transparent drawing, raster modes, edges and frame controls.

#include <gtest/gtest.h>

#include "GuiTestUtil.h"
#include "TestPaths.h"
#include "platform/gui/Graphics.h"

using namespace gui;
using guitest::NewBitmap;
using guitest::PaintedExtent;

namespace {

struct LineCase {
    TPoint from, to;
};

class LineEndPoint : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEndPoint, LineCoversItsStartButNotItsEnd)
{
    const LineCase& c = GetParam();
    auto bmp = NewBitmap(20, 20);
    TCanvas* cv = bmp->Canvas();
    cv->Pen()->SetColor(clBlack);
    cv->MoveTo(c.from.X, c.from.Y);
    cv->LineTo(c.to.X, c.to.Y);
    EXPECT_EQ(cv->Pixels(c.from.X, c.from.Y), clBlack);
    EXPECT_EQ(cv->Pixels(c.to.X, c.to.Y), clWhite);
    int steps = std::max(std::abs(c.to.X - c.from.X), std::abs(c.to.Y - c.from.Y));
    EXPECT_EQ(guitest::CountColor(*bmp, clBlack), steps);
    EXPECT_EQ(cv->PenPos(), c.to);
}

INSTANTIATE_TEST_SUITE_P(Directions, LineEndPoint,
                         ::testing::Values(LineCase{{2, 5}, {10, 5}}, LineCase{{10, 5}, {2, 5}},
                                           LineCase{{4, 1}, {4, 15}}, LineCase{{4, 15}, {4, 1}},
                                           LineCase{{0, 0}, {7, 7}},
                                           LineCase{{15, 2}, {3, 9}}));

TEST(Canvas, PolylineLeavesOutOnlyTheLastPoint)
{
    auto bmp = NewBitmap(20, 20);
    TCanvas* cv = bmp->Canvas();
    cv->Polyline({{2, 2}, {10, 2}, {10, 10}});
    EXPECT_EQ(cv->Pixels(2, 2), clBlack);
    EXPECT_EQ(cv->Pixels(10, 2), clBlack);   // the corner is drawn by the second segment
    EXPECT_EQ(cv->Pixels(10, 9), clBlack);
    EXPECT_EQ(cv->Pixels(10, 10), clWhite);
}

TEST(Canvas, RectangleOutlinesEdgePixelsAndFillsInside)
{
    auto bmp = NewBitmap(20, 20);
    TCanvas* cv = bmp->Canvas();
    cv->Brush()->SetColor(clRed);
    cv->Rectangle(2, 3, 12, 9);
    for (TPoint p : {TPoint{2, 3}, TPoint{11, 3}, TPoint{2, 8}, TPoint{11, 8}, TPoint{6, 3}, TPoint{2, 5}})
        EXPECT_EQ(cv->Pixels(p.X, p.Y), clBlack) << p.X << "," << p.Y;
    EXPECT_EQ(cv->Pixels(6, 5), clRed);
    EXPECT_EQ(cv->Pixels(12, 8), clWhite);
    EXPECT_EQ(cv->Pixels(11, 9), clWhite);
    EXPECT_EQ(PaintedExtent(*bmp, clWhite), Rect(2, 3, 12, 9));
}

TEST(Canvas, FrameRectLandsOnTheEdgePixels)
{
    auto bmp = NewBitmap(20, 20);
    TCanvas* cv = bmp->Canvas();
    cv->Brush()->SetColor(clBlue);
    cv->FrameRect(Rect(2, 3, 12, 9));
    EXPECT_EQ(PaintedExtent(*bmp, clWhite), Rect(2, 3, 12, 9));
    EXPECT_EQ(guitest::CountColor(*bmp, clBlue), 2 * 10 + 2 * 4);
    EXPECT_EQ(cv->Pixels(3, 4), clWhite);
}

TEST(Canvas, FillRectExcludesRightAndBottomAndClearBrushFillsNothing)
{
    auto bmp = NewBitmap(20, 20);
    TCanvas* cv = bmp->Canvas();
    cv->Brush()->SetColor(clGreen);
    cv->FillRect(Rect(1, 1, 4, 3));
    EXPECT_EQ(guitest::CountColor(*bmp, clGreen), 6);
    cv->Brush()->SetStyle(TBrushStyle::bsClear);
    cv->FillRect(Rect(10, 10, 15, 15));
    EXPECT_EQ(guitest::CountColor(*bmp, clGreen), 6);
}

TEST(Canvas, ClipRectanglesAndRegionsHold)
{
    auto bmp = NewBitmap(40, 40);
    TCanvas* cv = bmp->Canvas();
    cv->Brush()->SetColor(clRed);

    cv->IntersectClipRect(Rect(5, 5, 10, 10));
    EXPECT_EQ(cv->ClipRect(), Rect(5, 5, 10, 10));
    cv->FillRect(Rect(0, 0, 40, 40));
    EXPECT_EQ(PaintedExtent(*bmp, clWhite), Rect(5, 5, 10, 10));

    // Union of two rectangles, with a hole excluded from it.
    TRegion a = TRegion::CreateRect(Rect(20, 0, 25, 5)), b = TRegion::CreateRect(Rect(30, 0, 35, 5)), u;
    u.Combine(a, b, RGN_OR);
    cv->SelectClipRgn(&u);
    cv->ExcludeClipRect(Rect(22, 2, 23, 3));
    cv->Brush()->SetColor(clBlue);
    cv->FillRect(Rect(0, 0, 40, 40));
    EXPECT_EQ(cv->Pixels(20, 0), clBlue);
    EXPECT_EQ(cv->Pixels(34, 4), clBlue);
    EXPECT_EQ(cv->Pixels(27, 2), clWhite);
    EXPECT_EQ(cv->Pixels(22, 2), clWhite);
    EXPECT_EQ(cv->Pixels(7, 7), clRed);

    // A triangle: the corner beside the hypotenuse stays untouched.
    TRegion tri = TRegion::CreatePolygon({{0, 20}, {20, 20}, {0, 40}});
    cv->SelectClipRgn(&tri);
    cv->Brush()->SetColor(clGreen);
    cv->FillRect(Rect(0, 0, 40, 40));
    EXPECT_EQ(cv->Pixels(2, 22), clGreen);
    EXPECT_EQ(cv->Pixels(18, 38), clWhite);

    // A rounded rectangle leaves its corners out.
    TRegion round = TRegion::CreateRoundRect(Rect(20, 20, 40, 40), 10, 10);
    cv->SelectClipRgn(&round);
    cv->Brush()->SetColor(clYellow);
    cv->FillRect(Rect(0, 0, 40, 40));
    EXPECT_EQ(cv->Pixels(30, 30), clYellow);
    EXPECT_EQ(cv->Pixels(20, 20), clWhite);

    cv->SelectClipRgn(nullptr);
    EXPECT_EQ(cv->ClipRect(), Rect(0, 0, 40, 40));
}

TEST(Canvas, SaveRestoreBringsBackClipAndOrigin)
{
    auto bmp = NewBitmap(30, 30);
    TCanvas* cv = bmp->Canvas();
    int saved = cv->SaveDC();
    cv->IntersectClipRect(Rect(0, 0, 5, 5));
    cv->SetWindowOrg(-10, -10);   // logical (0, 0) is device (10, 10)
    cv->SaveDC();
    cv->MoveWindowOrg(5, 5);      // and now device (15, 15)
    cv->RestoreDC(-1);
    EXPECT_EQ(cv->WindowOrg(), Point(-10, -10));
    EXPECT_TRUE(cv->RestoreDC(saved));
    EXPECT_EQ(cv->WindowOrg(), Point(0, 0));
    EXPECT_EQ(cv->ClipRect(), Rect(0, 0, 30, 30));
    EXPECT_FALSE(cv->RestoreDC(saved));
}

TEST(Canvas, ExtentsScaleLogicalUnitsOutsideTextMode)
{
    auto bmp = NewBitmap(60, 60);
    TCanvas* cv = bmp->Canvas();
    cv->SetWindowExt(96, 96);
    cv->SetViewportExt(192, 300);   // ignored in MM_TEXT
    cv->Brush()->SetColor(clRed);
    cv->FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(PaintedExtent(*bmp, clWhite), Rect(0, 0, 5, 5));

    // Isotropic: the smaller scale (2) on both axes, after the viewport origin.
    cv->SetMapMode(MM_ISOTROPIC);
    cv->SetViewportOrg(10, 4);
    cv->Brush()->SetColor(clBlue);
    cv->FillRect(Rect(5, 5, 10, 10));   // device 20..29, 14..23
    TPoint p{5, 5};
    cv->LPtoDP(&p, 1);
    EXPECT_EQ(p, Point(20, 14));
    cv->DPtoLP(&p, 1);
    EXPECT_EQ(p, Point(5, 5));
    // A logical clip rectangle lands on the scaled device area.
    cv->IntersectClipRect(Rect(0, 0, 12, 12));   // device 10..33, 4..27
    EXPECT_EQ(cv->ClipRect(), Rect(0, 0, 12, 12));
    int saved = cv->SaveDC();
    cv->SetMapMode(MM_TEXT);
    cv->SetViewportOrg(0, 0);
    EXPECT_EQ(cv->Pixels(29, 23), clBlue);
    EXPECT_EQ(cv->Pixels(30, 24), clWhite);
    EXPECT_EQ(cv->Pixels(19, 13), clWhite);
    cv->RestoreDC(saved);
    EXPECT_EQ(cv->MapMode(), MM_ISOTROPIC);
    p = {1, 1};
    cv->LPtoDP(&p, 1);
    EXPECT_EQ(p, Point(12, 6));
}

TEST(Canvas, OriginOffsetMovesDrawingAndClipStaysOnTheDevice)
{
    auto bmp = NewBitmap(30, 30);
    TCanvas* cv = bmp->Canvas();
    cv->IntersectClipRect(Rect(0, 0, 20, 20));   // device pixels 0..19
    cv->SetWindowOrg(-10, -10);
    cv->Brush()->SetColor(clRed);
    cv->FillRect(Rect(0, 0, 15, 15));            // device 10..24, clipped at 20
    EXPECT_EQ(cv->ClipRect(), Rect(-10, -10, 10, 10));
    cv->SetPixels(0, 0, clBlue);
    EXPECT_EQ(cv->Pixels(0, 0), clBlue);
    cv->SetWindowOrg(0, 0);
    EXPECT_EQ(cv->Pixels(10, 10), clBlue);
    cv->SetPixels(10, 10, clRed);
    EXPECT_EQ(PaintedExtent(*bmp, clWhite), Rect(10, 10, 20, 20));
    TPoint p{1, 2};
    cv->SetViewportOrg(3, 4);
    cv->LPtoDP(&p, 1);
    EXPECT_EQ(p, Point(4, 6));
}

TEST(Canvas, PixelsOutsideTheSurfaceAreIgnored)
{
    auto bmp = NewBitmap(4, 4);
    TCanvas* cv = bmp->Canvas();
    for (TPoint p : {TPoint{-1, 0}, TPoint{0, -1}, TPoint{4, 0}, TPoint{0, 4}}) {
        cv->SetPixels(p.X, p.Y, clRed);
        EXPECT_EQ(cv->Pixels(p.X, p.Y), clNone);
    }
    EXPECT_EQ(guitest::CountColor(*bmp, clRed), 0);
    cv->SetPixels(3, 3, clBtnFace);   // system colours are stored as their plain colour
    EXPECT_EQ(cv->Pixels(3, 3), GetSysColor(COLOR_BTNFACE));
}

TEST(Canvas, ScanLineRowsAreTheBitmapsPixels)
{
    for (TPixelFormat pf : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap bmp(5, 3, pf);
        const int bpp = pf == TPixelFormat::pf24bit ? 3 : 4;
        uint8_t* row = bmp.ScanLine(1);
        row[2 * bpp + 0] = 0x30;   // blue
        row[2 * bpp + 1] = 0x20;   // green
        row[2 * bpp + 2] = 0x10;   // red
        EXPECT_EQ(bmp.Canvas()->Pixels(2, 1), RGB(0x10, 0x20, 0x30));
        EXPECT_EQ(bmp.ScanLine(1) - bmp.ScanLine(0), bmp.BytesPerScanLine());
        EXPECT_EQ(bmp.BytesPerScanLine() % 4, 0);
        bmp.Canvas()->SetPixels(4, 2, RGB(1, 2, 3));
        EXPECT_EQ(bmp.ScanLine(2)[4 * bpp], 3);
        EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), clWhite);   // new bitmaps are white
        EXPECT_THROW(bmp.ScanLine(3), EInvalidGraphicOperation);
    }
}

TEST(Canvas, ResizingKeepsTheTopLeftAndAddsWhite)
{
    auto bmp = NewBitmap(4, 4, clRed);
    bmp->SetSize(6, 2);
    EXPECT_EQ(bmp->Canvas()->Pixels(3, 1), clRed);
    EXPECT_EQ(bmp->Canvas()->Pixels(5, 1), clWhite);
    bmp->SetPixelFormat(TPixelFormat::pf32bit);
    EXPECT_EQ(bmp->Canvas()->Pixels(3, 1), clRed);
    TBitmap copy;
    copy.Assign(bmp.get());
    copy.Canvas()->SetPixels(0, 0, clBlue);
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 0), clRed);   // Assign copies the pixels
}

TEST(Canvas, TransparentDrawingSkipsTheKeyColour)
{
    // Sprite: magenta background (its bottom-left pixel), a blue cross.
    auto sprite = NewBitmap(5, 5, clFuchsia);
    sprite->Canvas()->Pen()->SetColor(clBlue);
    sprite->Canvas()->MoveTo(0, 2);
    sprite->Canvas()->LineTo(5, 2);
    sprite->Canvas()->MoveTo(2, 0);
    sprite->Canvas()->LineTo(2, 5);
    sprite->SetTransparent(true);
    EXPECT_EQ(sprite->TransparentColor(), clFuchsia);

    auto target = NewBitmap(10, 10, clGreen);
    target->Canvas()->Draw(3, 3, sprite.get());
    EXPECT_EQ(guitest::CountColor(*target, clFuchsia), 0);
    EXPECT_EQ(guitest::CountColor(*target, clBlue), 9);
    EXPECT_EQ(target->Canvas()->Pixels(3, 3), clGreen);
    EXPECT_EQ(target->Canvas()->Pixels(5, 5), clBlue);

    // A fixed key colour: now the blue pixels are left out.
    sprite->SetTransparentColor(clBlue);
    auto target2 = NewBitmap(10, 10, clGreen);
    target2->Canvas()->Draw(0, 0, sprite.get());
    EXPECT_EQ(guitest::CountColor(*target2, clBlue), 0);
    EXPECT_EQ(guitest::CountColor(*target2, clFuchsia), 16);
}

TEST(Canvas, StretchDrawAndCopyRectScaleByWholePixels)
{
    auto src = NewBitmap(2, 2, clWhite);
    src->Canvas()->SetPixels(0, 0, clRed);
    src->Canvas()->SetPixels(1, 1, clBlue);
    auto dst = NewBitmap(8, 8, clBlack);
    dst->Canvas()->StretchDraw(Rect(0, 0, 4, 4), src.get());
    EXPECT_EQ(dst->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(dst->Canvas()->Pixels(3, 3), clBlue);
    EXPECT_EQ(dst->Canvas()->Pixels(3, 0), clWhite);
    EXPECT_EQ(dst->Canvas()->Pixels(4, 4), clBlack);
    // A strip copied within the same canvas.
    dst->Canvas()->CopyRect(Rect(4, 0, 8, 4), dst->Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(dst->Canvas()->Pixels(5, 1), clRed);
    EXPECT_EQ(dst->Canvas()->Pixels(7, 3), clBlue);
}

TEST(Canvas, XorPenDrawnTwiceRestoresThePicture)
{
    auto bmp = NewBitmap(10, 10, RGB(10, 200, 30));
    TCanvas* cv = bmp->Canvas();
    cv->Pen()->SetMode(TPenMode::pmXor);
    cv->Pen()->SetColor(clWhite);
    cv->MoveTo(0, 5);
    cv->LineTo(10, 5);
    EXPECT_EQ(cv->Pixels(4, 5), RGB(245, 55, 225));
    cv->MoveTo(0, 5);
    cv->LineTo(10, 5);
    EXPECT_EQ(guitest::CountColor(*bmp, RGB(10, 200, 30)), 100);
    cv->DrawFocusRect(Rect(1, 1, 9, 9));
    EXPECT_LT(guitest::CountColor(*bmp, RGB(10, 200, 30)), 100);
    cv->DrawFocusRect(Rect(1, 1, 9, 9));
    EXPECT_EQ(guitest::CountColor(*bmp, RGB(10, 200, 30)), 100);
}

TEST(Colors, SystemColoursFollowTheDesktopPalette)
{
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(0x02123456), 0x123456u);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
    auto bmp = NewBitmap(2, 2, clBtnFace);
    EXPECT_EQ(bmp->Canvas()->Pixels(1, 1), RGB(1, 2, 3));
    ResetSysColors();
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
}

TEST(Frames, DrawEdgeRingsAndAdjustedRectangle)
{
    auto bmp = NewBitmap(20, 20, clBlack);
    TRect r = Rect(0, 0, 20, 20);
    bmp->Canvas()->DrawEdge(r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    EXPECT_EQ(r, Rect(2, 2, 18, 18));
    TCanvas* cv = bmp->Canvas();
    EXPECT_EQ(cv->Pixels(5, 0), ColorToRGB(cl3DLight));
    EXPECT_EQ(cv->Pixels(19, 5), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(cv->Pixels(5, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(cv->Pixels(18, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(cv->Pixels(10, 10), ColorToRGB(clBtnFace));

    TRect s = Rect(0, 0, 10, 10);
    bmp->Canvas()->DrawEdge(s, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(s, Rect(0, 0, 10, 10));   // no BF_ADJUST: unchanged
    EXPECT_EQ(cv->Pixels(0, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(cv->Pixels(1, 5), ColorToRGB(cl3DDkShadow));
}

TEST(Frames, Frame3DNestsFramesAndShrinksTheRectangle)
{
    auto bmp = NewBitmap(10, 10, clWhite);
    TRect r = Rect(0, 0, 10, 10);
    bmp->Canvas()->Frame3D(r, clRed, clBlue, 2);
    EXPECT_EQ(r, Rect(2, 2, 8, 8));
    TCanvas* cv = bmp->Canvas();
    EXPECT_EQ(cv->Pixels(0, 0), clRed);
    EXPECT_EQ(cv->Pixels(8, 0), clRed);
    EXPECT_EQ(cv->Pixels(9, 0), clBlue);   // the top-right corner belongs to the right side
    EXPECT_EQ(cv->Pixels(0, 9), clBlue);   // the bottom-left corner to the bottom side
    EXPECT_EQ(cv->Pixels(1, 1), clRed);
    EXPECT_EQ(cv->Pixels(8, 8), clBlue);
    EXPECT_EQ(cv->Pixels(2, 2), clWhite);
}

TEST(Frames, FrameControlsShowTheirState)
{
    auto dark = [](TBitmap& b, const TRect& r) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += b.Canvas()->Pixels(x, y) == ColorToRGB(clWindowText);
        return n;
    };
    struct Case {
        uint32_t type, state;
        bool marked;
    };
    for (Case c : {Case{DFC_BUTTON, DFCS_BUTTONCHECK, false}, Case{DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, true},
                   Case{DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT, true},
                   Case{DFC_BUTTON, DFCS_BUTTONRADIO, false}, Case{DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, true}}) {
        auto bmp = NewBitmap(13, 13, clFuchsia);
        TRect r = Rect(0, 0, 13, 13);
        EXPECT_TRUE(bmp->Canvas()->DrawFrameControl(r, c.type, c.state));
        EXPECT_EQ(dark(*bmp, Rect(3, 3, 10, 10)) > 0, c.marked) << c.state;
    }
    // Inactive check box: grey mark on the button face.
    auto bmp = NewBitmap(13, 13);
    TRect r = Rect(0, 0, 13, 13);
    bmp->Canvas()->DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(bmp->Canvas()->Pixels(3, 10), ColorToRGB(clBtnFace));
    EXPECT_GT(guitest::CountColor(*bmp, ColorToRGB(clGrayText)), 0);

    // Push button: raised face, ADJUSTRECT gives the inside.
    auto push = NewBitmap(30, 20);
    TRect pr = Rect(0, 0, 30, 20);
    push->Canvas()->DrawFrameControl(pr, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_EQ(pr, Rect(2, 2, 28, 18));
    EXPECT_EQ(push->Canvas()->Pixels(15, 10), ColorToRGB(clBtnFace));

    // Scroll arrow: a dark triangle; inactive: none, only shadow and highlight.
    auto arrow = NewBitmap(16, 16);
    TRect ar = Rect(0, 0, 16, 16);
    arrow->Canvas()->DrawFrameControl(ar, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    EXPECT_GT(guitest::CountColor(*arrow, ColorToRGB(clBtnText)), 3);
    ar = Rect(0, 0, 16, 16);
    arrow->Canvas()->DrawFrameControl(ar, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE);
    EXPECT_EQ(guitest::CountColor(*arrow, ColorToRGB(clBtnText)), 0);
}

TEST(Canvas, ShapesStayInsideTheirBox)
{
    auto bmp = NewBitmap(40, 40);
    TCanvas* cv = bmp->Canvas();
    cv->Brush()->SetColor(clRed);
    cv->Ellipse(5, 5, 25, 15);
    EXPECT_EQ(PaintedExtent(*bmp, clWhite), Rect(5, 5, 25, 15));
    EXPECT_EQ(cv->Pixels(15, 10), clRed);
    auto bmp2 = NewBitmap(40, 40);
    bmp2->Canvas()->Brush()->SetColor(clRed);
    bmp2->Canvas()->Polygon({{5, 5}, {30, 5}, {5, 30}});
    EXPECT_EQ(PaintedExtent(*bmp2, clWhite), Rect(5, 5, 31, 31));
    EXPECT_EQ(bmp2->Canvas()->Pixels(10, 10), clRed);
    EXPECT_EQ(bmp2->Canvas()->Pixels(25, 25), clWhite);
}

} // namespace

namespace {

// A drawing with every kind of element, saved as PNG (left in the scratch
// folder for a look) and read back unchanged.
TEST(Canvas, CompositeDrawingSurvivesPng)
{
    auto bmp = NewBitmap(320, 200, clWhite);
    TCanvas* cv = bmp->Canvas();
    TRect face = Rect(0, 0, 320, 200);
    cv->DrawEdge(face, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    cv->Brush()->SetColor(RGB(240, 250, 255));
    cv->Pen()->SetColor(clNavy);
    cv->Rectangle(10, 10, 150, 90);
    cv->Brush()->SetColor(clYellow);
    cv->Ellipse(20, 20, 80, 80);
    cv->Brush()->SetColor(clRed);
    cv->Pie(90, 20, 140, 70, 140, 45, 115, 20);
    cv->Pen()->SetColor(clGreen);
    cv->Pen()->SetWidth(3);
    cv->Polyline({{160, 80}, {200, 20}, {240, 80}, {280, 20}});
    cv->Pen()->SetWidth(1);
    cv->Brush()->SetColor(clBtnFace);
    cv->Font()->SetName("Arial");
    cv->Font()->SetSize(11);
    TRect tr = Rect(10, 100, 200, 125);
    cv->DrawText("&Maximum eclipse \u0394T", tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    cv->Font()->SetName("Symbol");
    cv->TextOut(210, 100, "Dabg");
    cv->Font()->SetName("Tahoma");
    cv->Font()->SetOrientation(900);
    cv->SetBkMode(TRANSPARENT);
    cv->TextOut(290, 190, "Rotated 90");
    cv->Font()->SetOrientation(0);
    TRect box = Rect(10, 135, 23, 148);
    cv->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    box = Rect(30, 135, 43, 148);
    cv->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    box = Rect(50, 135, 66, 151);
    cv->DrawFrameControl(box, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    box = Rect(75, 135, 140, 160);
    cv->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONPUSH);
    cv->DrawFocusRect(Rect(78, 138, 137, 157));

    TPicture pic;
    pic.SetGraphic(bmp.get());
    auto path = (tectest::ScratchDir("gui-demo") / "drawing.png").string();
    pic.SaveToFile(path);
    TPicture back;
    back.LoadFromFile(path);
    TBitmap* b = back.Bitmap();
    ASSERT_EQ(b->Width(), 320);
    for (int y = 0; y < 200; y += 3)
        for (int x = 0; x < 320; x += 3) ASSERT_EQ(b->Canvas()->Pixels(x, y), cv->Pixels(x, y));
}

} // namespace

// Arcs run counter-clockwise from the first ray to the second; rays that
// meet give the whole ellipse.
TEST(Canvas, ArcAndPieRunCounterClockwiseBetweenTheirRays)
{
    auto bmp = NewBitmap(42, 42);
    TCanvas* cv = bmp->Canvas();
    cv->Pen()->SetColor(clBlack);
    cv->Arc(1, 1, 41, 41, 41, 21, 1, 21);   // right to left over the top
    EXPECT_EQ(cv->Pixels(21, 1), clBlack);
    EXPECT_EQ(cv->Pixels(21, 40), clWhite);
    cv->Arc(1, 1, 41, 41, 1, 21, 41, 21);   // left to right under the bottom
    EXPECT_EQ(cv->Pixels(21, 40), clBlack);

    auto full = NewBitmap(42, 42);
    full->Canvas()->Pen()->SetColor(clBlack);
    full->Canvas()->Arc(1, 1, 41, 41, 41, 21, 41, 21);
    for (TPoint p : {TPoint{21, 1}, TPoint{21, 40}, TPoint{1, 21}, TPoint{40, 21}})
        EXPECT_EQ(full->Canvas()->Pixels(p.X, p.Y), clBlack) << p.X << "," << p.Y;

    auto pie = NewBitmap(42, 42);
    pie->Canvas()->Brush()->SetColor(clRed);
    pie->Canvas()->Pie(1, 1, 41, 41, 41, 21, 21, 1);   // the upper right quarter
    EXPECT_EQ(pie->Canvas()->Pixels(28, 14), clRed);
    EXPECT_EQ(pie->Canvas()->Pixels(14, 14), clWhite);
    EXPECT_EQ(pie->Canvas()->Pixels(28, 28), clWhite);
}
