// The colour cube (127 hexagonal cells) and the spectrum panel (a picture
// the colour under the mouse is picked from), with the spectrum picture and
// the eyedropper cursor made from their descriptions.

#include <algorithm>
#include <cmath>

#include "controls/ExSelectors.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Format.h"

namespace controls {

using namespace gui;

// ------------------------------------------------------------------- cube

namespace {

const TColor kCubeColours[127] = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,
    0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,
    0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666,
    0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066,
    0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xFF0099,
    0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF00CC,
    0xCC0099,
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
    0xCC00CC, 0x660066,
    0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC,
    0x800080,
    0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099,
    0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399,
    0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066,
    0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,
    0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5,
};

void DrawHexagon(TCanvas* c, TPoint p, int b, int a)
{
    c->Polygon({{p.X - b, p.Y - a}, {p.X, p.Y - 2 * a}, {p.X + b, p.Y - a}, {p.X + b, p.Y + a}, {p.X, p.Y + 2 * a},
                {p.X - b, p.Y + a}});
}

} // namespace

TExColorCubePanel::TExColorCubePanel(rtl::TComponent* owner) : TExCustomSelectorPanel(owner)
{
    InitializeCube();
    SetShowRGBHint(true);
}

void TExColorCubePanel::InitializeCube()
{
    FCubeSize = {6, 3};
    int n = 1;
    for (int j = 1; j <= 13; ++j) {
        const int count = j <= 7 ? j + 6 : 20 - j;
        const int x0 = j <= 7 ? 55 - 6 * (j - 1) : 19 + 6 * (j - 7);
        const int y = 20 + 10 * (j - 1);
        for (int k = 0; k < count; ++k, ++n) {
            FCells[n].Centre = {x0 + 2 * FCubeSize.X * k, y};
            FCells[n].Color = kCubeColours[n - 1];
        }
    }
}

void TExColorCubePanel::SetShowRGBHint(bool v)
{
    FShowRGBHint = v;
    SetShowHint(v);
}

void TExColorCubePanel::SelectColor(TColor c, int index)
{
    FSelectedColor = c;
    if (index < 0) {
        for (int i = 1; i <= 127; ++i)
            if (FCells[i].Color == c) {
                index = i;
                break;
            }
    }
    FSelectedIndex = index;
}

int TExColorCubePanel::CellAtPos(int x, int y) const
{
    for (int i = 1; i <= 127; ++i) {
        const int dx = FCells[i].Centre.X - x, dy = FCells[i].Centre.Y - y;
        if (dx * dx + dy * dy <= FCubeSize.X * FCubeSize.X) return i;
    }
    return -1;
}

void TExColorCubePanel::ResetHotCell()
{
    FHotIndex = -1;
    SetBounds(Left(), Top(), 182, 160);
}

void TExColorCubePanel::DrawCubeCell(TCanvas* c, int i)
{
    if (i < 1 || i > 127) return;
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Pen()->SetColor(FCells[i].Color);
    c->Brush()->SetColor(FCells[i].Color);
    DrawHexagon(c, FCells[i].Centre, FCubeSize.X, FCubeSize.Y);
    if (i == FHotIndex) {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Pen()->SetColor(0x0000FF);
        DrawHexagon(c, FCells[i].Centre, 5, 3);
        c->Pen()->SetColor(0xFFFFFF);
        DrawHexagon(c, FCells[i].Centre, 4, 2);
    }
    if (i == FSelectedIndex) {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Pen()->SetColor(0);
        DrawHexagon(c, FCells[i].Centre, 5, 3);
        c->Pen()->SetColor(0xFFFFFF);
        DrawHexagon(c, FCells[i].Centre, 4, 2);
    }
}

void TExColorCubePanel::RedrawCell(int i)
{
    if (i < 1 || i > 127) return;
    const TPoint p = FCells[i].Centre;
    InvalidateRect(Rect(p.X - 7, p.Y - 7, p.X + 8, p.Y + 8));
}

void TExColorCubePanel::Paint()
{
    TExCustomSelectorPanel::Paint();
    for (int i = 1; i <= 127; ++i) DrawCubeCell(Canvas(), i);
}

void TExColorCubePanel::MouseMove(TShiftState shift, int x, int y)
{
    TExCustomSelectorPanel::MouseMove(shift, x, y);
    const int i = CellAtPos(x, y);
    if (i > 0 && i != FHotIndex) {
        const int old = FHotIndex;
        FHotIndex = i;
        RedrawCell(old);
        RedrawCell(i);
        if (FShowRGBHint) {
            const TColor c = FCells[i].Color;
            SetHint(rtl::Format("Red: %d,  Green: %d,  Blue: %d", GetRValue(c), GetGValue(c), GetBValue(c)));
            if (Application) Application->CancelHint();
        }
    } else if (i < 0 && FShowRGBHint) {
        SetHint("");
        if (Application) Application->CancelHint();
    }
}

void TExColorCubePanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TExCustomSelectorPanel::MouseDown(button, shift, x, y);
    const int i = CellAtPos(x, y);
    if (i < 1) return;
    const int old = FSelectedIndex;
    SelectColor(FCells[i].Color, i);
    RedrawCell(old);
    RedrawCell(i);
    if (OnSelect) OnSelect(this);
}

void TExColorCubePanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TExCustomSelectorPanel::MouseUp(button, shift, x, y);
    if (OnShouldHide) OnShouldHide(this);
}

// --------------------------------------------------------------- spectrum

namespace {

// The picture is drawn through its published sample pixels: the middle row
// (row 64) sampled every 16 columns and column 0 sampled every 16 rows.
// Between samples the values are interpolated, so a picked colour matches
// the described picture wherever it was sampled.
struct SpectrumSample { int at; double r, g, b; };

const SpectrumSample kMiddleRow[] = {
    {0, 255, 6, 0},   {16, 255, 223, 0}, {32, 118, 255, 0},  {48, 0, 255, 64},   {64, 0, 255, 250},
    {80, 0, 60, 255}, {96, 123, 0, 255}, {112, 255, 0, 223}, {127, 255, 0, 4},
};

const SpectrumSample kFirstColumn[] = {
    {0, 254, 253, 253}, {16, 239, 183, 182}, {32, 234, 95, 94},  {48, 244, 29, 26}, {64, 255, 6, 0},
    {80, 233, 19, 15},  {96, 170, 29, 28},   {112, 79, 21, 19},  {127, 3, 0, 0},
};

// Hue angle in degrees (0 .. 360) of a fully saturated colour.
double HueOf(double r, double g, double b)
{
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double d = mx - mn;
    if (d <= 0) return 0;
    double h;
    if (mx == r) h = 60 * (g - b) / d;
    else if (mx == g) h = 120 + 60 * (b - r) / d;
    else h = 240 + 60 * (r - g) / d;
    return h < 0 ? h + 360 : h;
}

// Fully saturated colour (channels 0 .. 255) of a hue angle.
void HueColour(double h, double& r, double& g, double& b)
{
    h = std::fmod(h, 360.0);
    const double f = std::fmod(h, 60.0) / 60.0 * 255;
    switch (static_cast<int>(h / 60)) {
    case 0: r = 255; g = f; b = 0; break;
    case 1: r = 255 - f; g = 255; b = 0; break;
    case 2: r = 0; g = 255; b = f; break;
    case 3: r = 0; g = 255 - f; b = 255; break;
    case 4: r = f; g = 0; b = 255; break;
    default: r = 255; g = 0; b = 255 - f; break;
    }
}

// Segment of a sample table holding position p, and p's share along it.
template <size_t N>
size_t SegmentAt(const SpectrumSample (&s)[N], int p, double& t)
{
    size_t i = 0;
    while (i + 2 < N && p > s[i + 1].at) ++i;
    t = double(p - s[i].at) / (s[i + 1].at - s[i].at);
    return i;
}

// Step 1: the hue of column x, interpolated as an angle between the
// middle-row samples so that the ramp passes through the pure hues.
void MiddleRowColour(int x, double& r, double& g, double& b)
{
    double t;
    const size_t i = SegmentAt(kMiddleRow, x, t);
    const SpectrumSample& p = kMiddleRow[i];
    const SpectrumSample& q = kMiddleRow[i + 1];
    const double h0 = HueOf(p.r, p.g, p.b);
    double h1 = HueOf(q.r, q.g, q.b);
    if (h1 < h0) h1 += 360;
    HueColour(h0 + t * (h1 - h0), r, g, b);
}

// Step 2: the colour of column 0 at row y and the share of the hue in it
// (the red column's red above its blue, over the full range).
void FirstColumnColour(int y, double& r, double& g, double& b, double& share)
{
    double t;
    const size_t i = SegmentAt(kFirstColumn, y, t);
    const SpectrumSample& p = kFirstColumn[i];
    const SpectrumSample& q = kFirstColumn[i + 1];
    r = p.r + t * (q.r - p.r);
    g = p.g + t * (q.g - p.g);
    b = p.b + t * (q.b - p.b);
    share = (r - b) / (kMiddleRow[0].r - kMiddleRow[0].b);
}

uint8_t SpectrumByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

}  // namespace

std::unique_ptr<TBitmap> TExColorSpectrumPanel::MakeSpectrumBitmap()
{
    // Step 3: every pixel is column 0's colour at its row, shifted by the
    // row's share of the difference between its column's hue and column 0's
    // hue: exact on the first column and on the middle row, whitish at the
    // top and blackish at the bottom of every column.
    auto bmp = std::make_unique<TBitmap>(128, 128);
    double r0, g0, b0;
    MiddleRowColour(0, r0, g0, b0);
    for (int x = 0; x < 128; ++x) {
        double hr, hg, hb;
        MiddleRowColour(x, hr, hg, hb);
        for (int y = 0; y < 128; ++y) {
            double cr, cg, cb, share;
            FirstColumnColour(y, cr, cg, cb, share);
            bmp->Canvas()->SetPixels(x, y, RGB(SpectrumByte(cr + share * (hr - r0)),
                                               SpectrumByte(cg + share * (hg - g0)),
                                               SpectrumByte(cb + share * (hb - b0))));
        }
    }
    return bmp;
}

std::unique_ptr<TBitmap> TExColorSpectrumPanel::MakeEyedropperBitmap()
{
    // A pipette from the lower left (the tip, the hot spot at (1, 30)) to
    // the bulb at the upper right; white is transparent.
    auto bmp = std::make_unique<TBitmap>(32, 32);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 32, 32));
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    for (int k = -1; k <= 1; ++k) {
        c->MoveTo(1 + 2, 30 + k - 2);
        c->LineTo(20, 11 + k);
    }
    c->SetPixels(1, 30, clBlack);
    c->SetPixels(2, 29, clBlack);
    c->Brush()->SetColor(clBlack);
    c->Ellipse(19, 4, 29, 14);
    c->MoveTo(16, 10);
    c->LineTo(23, 17);
    return bmp;
}

TExColorSpectrumPanel::TExColorSpectrumPanel(rtl::TComponent* owner)
    : TExCustomSelectorPanel(owner), FSpectrum(MakeSpectrumBitmap())
{
    FSpectrumImage = new TImage(this);
    FSpectrumImage->SetParent(this);
    FSpectrumImage->SetBounds(0, 0, 128, 128);
    FSpectrumImage->Picture()->SetGraphic(FSpectrum.get());
    // The eyedropper, registered anew with every panel.
    if (Screen) {
        auto cursor = MakeEyedropperBitmap();
        Screen->SetCursorImage(EyedropperCursor, cursor.get(), {1, 30});
    }
    FSpectrumImage->SetCursor(EyedropperCursor);
    FSpectrumImage->OnMouseMove = [this](rtl::TObject*, TShiftState, int x, int y) { SpectrumMouseMove(x, y); };
    FSpectrumImage->OnMouseDown = [this](rtl::TObject*, TMouseButton, TShiftState, int, int) { SpectrumMouseDown(); };
    FSpectrumImage->OnMouseUp = [this](rtl::TObject*, TMouseButton, TShiftState, int, int) {
        if (OnShouldHide) OnShouldHide(this);
    };
}

void TExColorSpectrumPanel::ArrangeSpectrum()
{
    SetBounds(Left(), Top(), 150, 174);
    FSpectrumImage->SetLeft((Width() - FSpectrumImage->Width()) / 2);
    FSpectrumImage->SetTop(10);
    const int l = FSpectrumImage->Left(), b = FSpectrumImage->Top() + FSpectrumImage->Height();
    const int w = FSpectrumImage->Width();
    FSelectedRect = Rect(l - 1, b + 8, l + w / 2 - 2, b + 28);
    FHotRect = Rect(FSelectedRect.Right + 4, FSelectedRect.Top, l + w + 1, FSelectedRect.Bottom);
    FHotColor = clNone;
    Invalidate();
}

void TExColorSpectrumPanel::DrawSample(TCanvas* c, const TRect& r, TColor color)
{
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Pen()->SetColor(0x808080);
    c->Rectangle(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    c->Pen()->SetColor(0xFFFFFF);
    if (color == clNone) {
        c->Rectangle(r);
        return;
    }
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(color);
    c->Rectangle(r);
}

void TExColorSpectrumPanel::Paint()
{
    TExCustomSelectorPanel::Paint();
    TCanvas* c = Canvas();
    const TRect p = FSpectrumImage->BoundsRect();
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Pen()->SetColor(0xFFFFFF);
    c->Rectangle(p.Left - 1, p.Top - 1, p.Right + 1, p.Bottom + 1);
    c->Pen()->SetColor(0x808080);
    c->Rectangle(p.Left - 2, p.Top - 2, p.Right + 2, p.Bottom + 2);
    DrawSample(c, FSelectedRect, FSelectedColor);
    DrawSample(c, FHotRect, FHotColor);
}

void TExColorSpectrumPanel::SpectrumMouseMove(int x, int y)
{
    // The picture's own pixel at the same place: what the screen shows there.
    FHotColor = (x >= 0 && y >= 0 && x < FSpectrum->Width() && y < FSpectrum->Height())
                    ? ColorToRGB(FSpectrum->Canvas()->Pixels(x, y))
                    : clNone;
    InvalidateRect(FHotRect);
}

void TExColorSpectrumPanel::SpectrumMouseDown()
{
    FSelectedColor = FHotColor;
    InvalidateRect(FSelectedRect);
    if (OnSelect) OnSelect(this);
}

void TExColorSpectrumPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TExCustomSelectorPanel::MouseUp(button, shift, x, y);
    if (OnShouldHide) OnShouldHide(this);
}

} // namespace controls
