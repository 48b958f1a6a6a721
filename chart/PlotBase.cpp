#include "chart/PlotBase.h"

#include <utility>
#include <vector>

#include "platform/rtl/Strings.h"

namespace chart {

namespace {
constexpr int kScreenPixelsPerInch = 96;
} // namespace

void AssignCanvasFont(gui::TCanvas& canvas, const gui::TFont* font)
{
    gui::TFont& f = *canvas.Font();
    if (!canvas.IsPrinterCanvas() || canvas.MapMode() == gui::MM_TEXT) {
        f.Assign(font);   // the point size at the canvas font's resolution
        return;
    }
    const int device = f.PixelsPerInch();
    f.SetPixelsPerInch(font->PixelsPerInch());
    f.Assign(font);
    f.SetPixelsPerInch(device);   // the height stays
}

void SetCanvasFontSize(gui::TCanvas& canvas, int points)
{
    gui::TFont& f = *canvas.Font();
    if (!canvas.IsPrinterCanvas()) {
        f.SetSize(points);
        return;
    }
    if (canvas.MapMode() == gui::MM_TEXT) {
        f.SetPixelsPerInch(canvas.GetDeviceCaps(gui::LOGPIXELSY));
        f.SetSize(points);
        return;
    }
    const int device = f.PixelsPerInch();
    f.SetPixelsPerInch(kScreenPixelsPerInch);
    f.SetSize(points);
    f.SetPixelsPerInch(device);
}


namespace {

using gui::TBrushStyle;
using gui::TCanvas;
using gui::TPoint;

// 7 x 7 screen patterns, rows from dy = -3 to 3, columns from dx = -3 to 3.
const char* const kPlus1[7] = {".......", ".......", "...#...", "..###..", "...#...", ".......", "......."};
const char* const kPlus2[7] = {".......", "...#...", "...#...", ".#####.", "...#...", "...#...", "......."};
const char* const kPlus3[7] = {"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."};
const char* const kDiag1[7] = {".......", ".......", "..#.#..", "...#...", "..#.#..", ".......", "......."};
const char* const kDiag2[7] = {".......", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "......."};
const char* const kDiag3[7] = {"#.....#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#.....#"};
const char* const kChecker[7] = {"#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#"};
const char* const kBoldDiag[7] = {"##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###", "##...##"};

void SetPattern(TCanvas& c, const char* const rows[7], int x, int y, TColor color)
{
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            if (rows[dy + 3][dx + 3] == '#') c.SetPixels(x + dx, y + dy, color);
}

void Line(TCanvas& c, int x, int y, int dx1, int dy1, int dx2, int dy2)
{
    c.MoveTo(x + dx1, y + dy1);
    c.LineTo(x + dx2, y + dy2);
}

// A plus of half-length r drawn as two lines, and the diagonal cross likewise.
void PlusLines(TCanvas& c, int x, int y, int r)
{
    Line(c, x, y, -r, 0, r, 0);
    Line(c, x, y, 0, -r, 0, r);
}

void DiagLines(TCanvas& c, int x, int y, int r)
{
    Line(c, x, y, -r, -r, r, r);
    Line(c, x, y, -r, r, r, -r);
}

void PolyLines(TCanvas& c, int x, int y, std::initializer_list<std::pair<int, int>> pts)
{
    bool first = true;
    for (auto [dx, dy] : pts) {
        if (first) c.MoveTo(x + dx, y + dy);
        else c.LineTo(x + dx, y + dy);
        first = false;
    }
}

void Poly(TCanvas& c, int x, int y, std::initializer_list<std::pair<int, int>> pts)
{
    std::vector<TPoint> v;
    for (auto [dx, dy] : pts) v.push_back(TPoint{x + dx, y + dy});
    c.Polygon(v);
}

// Fill with the pen colour (filled shapes) or leave the inside alone
// (outline shapes; the style goes back to solid afterwards).
void Filled(TCanvas& c) { c.Brush()->SetColor(c.Pen()->Color()); }
void Outline(TCanvas& c) { c.Brush()->SetStyle(TBrushStyle::bsClear); }
void EndOutline(TCanvas& c) { c.Brush()->SetStyle(TBrushStyle::bsSolid); }

// The code page the mark characters 128..159 come from (the rest of the
// upper half is Latin-1).
const char32_t kCp1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

std::string MarkCharacter(uint8_t code)
{
    std::string s;
    char32_t cp = code >= 128 && code < 160 ? kCp1252High[code - 128] : code;
    rtl::AppendUTF8(s, cp);
    return s;
}

} // namespace

void DrawDataMark(gui::TCanvas& canvas, uint8_t mark, int x, int y)
{
    TCanvas& c = canvas;
    const TColor pen = c.Pen()->Color();
    const TColor savedBrush = c.Brush()->Color();
    const bool printer = c.IsPrinterCanvas();

    switch (mark) {
    case 0: c.SetPixels(x, y, pen); break;
    case 1: printer ? PlusLines(c, x, y, 2) : SetPattern(c, kPlus1, x, y, pen); break;
    case 2: printer ? PlusLines(c, x, y, 3) : SetPattern(c, kPlus2, x, y, pen); break;
    case 3: printer ? PlusLines(c, x, y, 4) : SetPattern(c, kPlus3, x, y, pen); break;
    case 4: printer ? DiagLines(c, x, y, 2) : SetPattern(c, kDiag1, x, y, pen); break;
    case 5: printer ? DiagLines(c, x, y, 3) : SetPattern(c, kDiag2, x, y, pen); break;
    case 6: printer ? DiagLines(c, x, y, 4) : SetPattern(c, kDiag3, x, y, pen); break;
    case 7: case 8: case 9: {
        const int r = mark - 6;
        Filled(c);
        c.Rectangle(x - r, y - r, x + r + 1, y + r + 1);
        break;
    }
    case 10: case 11: case 12: {
        const int r = mark - 9;
        PolyLines(c, x, y, {{-r, -r}, {-r, r}, {r, r}, {r, -r}, {-r, -r}});
        break;
    }
    case 13: case 14: case 15: {
        const int r = mark - 12;
        Filled(c);
        Poly(c, x, y, {{-r, 0}, {0, r}, {r, 0}, {0, -r}});
        break;
    }
    case 16: Outline(c); c.Ellipse(x - 2, y - 2, x + 3, y + 3); EndOutline(c); break;
    case 17: Outline(c); c.Ellipse(x - 3, y - 3, x + 4, y + 4); EndOutline(c); break;
    case 18:
        if (printer) {
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (((dx + dy) & 1) == 0) Line(c, x, y, dx, dy, dx, dy);
        } else {
            SetPattern(c, kChecker, x, y, pen);
        }
        break;
    case 19: PolyLines(c, x, y, {{-3, 0}, {0, 3}, {3, 0}, {0, -3}, {-3, 0}}); break;
    case 20: case 21: {
        const int r = mark == 20 ? 3 : 4;
        Line(c, x, y, 0, 0, -r, r);
        Line(c, x, y, 0, 0, r, r);
        break;
    }
    case 22: case 23: {
        const int r = mark == 22 ? 3 : 4;
        Line(c, x, y, 0, 0, -r, -r);
        Line(c, x, y, 0, 0, r, -r);
        break;
    }
    case 24: Filled(c); c.Ellipse(x - 3, y - 3, x + 4, y + 4); break;
    case 25:
        if (printer) {
            Line(c, x, y, -3, -3, 3, 3);
            Line(c, x, y, -3, -2, 2, 3);
            Line(c, x, y, -2, -3, 3, 2);
            Line(c, x, y, -3, 3, 3, -3);
            Line(c, x, y, -3, 2, 2, -3);
            Line(c, x, y, -2, 3, 3, -2);
        } else {
            SetPattern(c, kBoldDiag, x, y, pen);
        }
        break;
    case 26: Filled(c); c.Ellipse(x - 2, y - 2, x + 3, y + 3); break;
    case 27: Outline(c); c.Ellipse(x - 2, y - 2, x + 2, y + 2); EndOutline(c); break;
    case 28: Filled(c); c.Ellipse(x - 2, y - 2, x + 2, y + 2); break;
    case 29: case 30: {
        const int r = mark - 27;
        Filled(c);
        Poly(c, x, y, {{-r, 0}, {0, r}, {r, 0}});
        break;
    }
    case 31: case 32: {
        const int r = mark - 29;
        Outline(c);
        Poly(c, x, y, {{-r, 0}, {0, r}, {r, 0}});
        EndOutline(c);
        break;
    }
    case 33: Outline(c); Poly(c, x, y, {{-4, -3}, {0, 4}, {4, -3}}); EndOutline(c); break;
    case 34: Filled(c); Poly(c, x, y, {{-4, -3}, {0, 4}, {4, -3}}); break;
    case 35: Outline(c); Poly(c, x, y, {{-4, 3}, {0, -4}, {4, 3}}); EndOutline(c); break;
    case 36: Filled(c); Poly(c, x, y, {{-4, 3}, {0, -4}, {4, 3}}); break;
    case 37:
        Line(c, x, y, -3, 0, 4, 0);
        Line(c, x, y, 0, 0, 0, -8);
        break;
    case 38:
        Line(c, x, y, -3, -2, 4, -2);
        Line(c, x, y, -3, 2, 4, 2);
        Line(c, x, y, 0, -2, 0, 2);
        break;
    case 39:
        Outline(c);
        c.Ellipse(x - 3, y - 3, x + 4, y + 4);
        EndOutline(c);
        Line(c, x, y, -3, 0, 4, 0);
        Line(c, x, y, 0, -3, 0, 4);
        break;
    case 40: Outline(c); Poly(c, x, y, {{3, -2}, {-2, 0}, {3, 2}}); EndOutline(c); break;
    case 41: Filled(c); Poly(c, x, y, {{3, -2}, {-2, 0}, {3, 2}}); break;
    case 42: Outline(c); Poly(c, x, y, {{4, -3}, {-3, 0}, {4, 3}}); EndOutline(c); break;
    case 43: Filled(c); Poly(c, x, y, {{4, -3}, {-3, 0}, {4, 3}}); break;
    case 44: Outline(c); Poly(c, x, y, {{-3, -2}, {2, 0}, {-3, 2}}); EndOutline(c); break;
    case 45: Filled(c); Poly(c, x, y, {{-3, -2}, {2, 0}, {-3, 2}}); break;
    case 46: Outline(c); Poly(c, x, y, {{-4, -3}, {3, 0}, {-4, 3}}); EndOutline(c); break;
    case 47: Filled(c); Poly(c, x, y, {{-4, -3}, {3, 0}, {-4, 3}}); break;
    default: {
        const std::string ch = MarkCharacter(mark);
        const gui::TSize sz = c.TextExtent(ch);
        c.TextOut(x - sz.cx / 2, y - sz.cy / 2, ch);
        break;
    }
    }
    c.Brush()->SetColor(savedBrush);
}

void DrawStyledFrame(gui::TCanvas& canvas, int style, int left, int top, int right, int bottom,
                     TColor highlight, TColor light, TColor shadow, TColor darkShadow,
                     TColor simpleColor)
{
    const int s = style & 0x7F;
    if (s > static_cast<int>(TFrameStyle::fsEngraved)) return;
    DrawStyledFrame(canvas, static_cast<TFrameStyle>(s), left, top, right, bottom, highlight, light,
                    shadow, darkShadow, simpleColor);
}

void DrawStyledFrame(gui::TCanvas& canvas, TFrameStyle style, int left, int top, int right,
                     int bottom, TColor highlight, TColor light, TColor shadow, TColor darkShadow,
                     TColor simpleColor)
{
    TCanvas& c = canvas;
    const int L = left, T = top, R = right, B = bottom;
    if (style == TFrameStyle::fsNone) return;
    const TColor savedPen = c.Pen()->Color();
    if (style == TFrameStyle::fsSimple) {
        c.Pen()->SetColor(simpleColor);
        c.MoveTo(L, T);
        c.LineTo(L, B);
        c.LineTo(R, B);
        c.LineTo(R, T);
        c.LineTo(L, T);
        c.Pen()->SetColor(savedPen);
        return;
    }
    // Outer top-left, outer bottom-right, inner top-left, inner bottom-right.
    TColor col[4];
    switch (style) {
    case TFrameStyle::fsLowered: col[0] = shadow; col[1] = highlight; col[2] = darkShadow; col[3] = light; break;
    case TFrameStyle::fsRaised: col[0] = highlight; col[1] = shadow; col[2] = light; col[3] = darkShadow; break;
    case TFrameStyle::fsEmbossed: col[0] = highlight; col[1] = shadow; col[2] = shadow; col[3] = highlight; break;
    default: col[0] = shadow; col[1] = highlight; col[2] = highlight; col[3] = shadow; break;
    }
    c.Pen()->SetColor(col[0]);
    c.MoveTo(L, B);
    c.LineTo(L, T);
    c.LineTo(R + 1, T);
    c.Pen()->SetColor(col[1]);
    c.MoveTo(R, T + 1);
    c.LineTo(R, B);
    c.LineTo(L - 1, B);
    c.Pen()->SetColor(col[2]);
    c.MoveTo(L + 1, B - 1);
    c.LineTo(L + 1, T + 1);
    c.LineTo(R, T + 1);
    c.Pen()->SetColor(col[3]);
    c.MoveTo(R - 1, T + 2);
    c.LineTo(R - 1, B - 1);
    c.LineTo(L, B - 1);
    c.Pen()->SetColor(savedPen);
}

// ------------------------------------------------------------ TCrossHair

void TCrossHair::Changed()
{
    if (OnChange) OnChange(this);
}

void TCrossHair::SetPosX(double v) { FPosX = v; Changed(); }
void TCrossHair::SetPosY(double v) { FPosY = v; Changed(); }
void TCrossHair::SetColor(TColor c) { FColor = c; Changed(); }
void TCrossHair::SetMode(TCrossHMode m) { FMode = m; Changed(); }
void TCrossHair::SetLineType(gui::TPenStyle s) { FLineType = s; Changed(); }
void TCrossHair::SetLineWid(int w) { FLineWid = w; Changed(); }

void TCrossHair::SetLayer(int layer)
{
    FLayer = layer < 1 ? 1 : layer > 16 ? 16 : layer;
    Changed();
}

// -------------------------------------------------------------- TDTLabel

void TDTLabel::Changed()
{
    if (OnChange) OnChange(this);
}

void TDTLabel::SetTimeFormat(TTimeFormat v) { FTimeFormat = v; Changed(); }
void TDTLabel::SetDateOrder(TDateOrder v) { FDateOrder = v; Changed(); }

void TDTLabel::SetDateSeparator(char v)
{
    if (v == FDateSeparator) return;
    FDateSeparator = v;
    Changed();
}

void TDTLabel::SetTimeSeparator(char v)
{
    if (v == FTimeSeparator) return;
    FTimeSeparator = v;
    Changed();
}

void TDTLabel::SetYearLength(TYearLength v)
{
    if (v == FYearLength) return;
    FYearLength = v;
    Changed();
}

void TDTLabel::SetMonthName(bool v)
{
    if (v == FMonthName) return;
    FMonthName = v;
    Changed();
}

void TDTLabel::SetDateForTime(TDateForTime v)
{
    if (v == FDateForTime) return;
    FDateForTime = v;
    Changed();
}

void TDTLabel::Assign(const rtl::TPersistent* source)
{
    if (auto* s = dynamic_cast<const TDTLabel*>(source)) {
        FTimeFormat = s->FTimeFormat;
        FDateSeparator = s->FDateSeparator;
        FTimeSeparator = s->FTimeSeparator;
        FYearLength = s->FYearLength;
        FMonthName = s->FMonthName;
        FDateOrder = s->FDateOrder;
        FDateForTime = s->FDateForTime;
        Changed();
        return;
    }
    rtl::TPersistent::Assign(source);
}

// ------------------------------------------------------ TCustomTextLabel

TCustomTextLabel::TCustomTextLabel() : FFont(std::make_unique<gui::TFont>()) {}

TCustomTextLabel::~TCustomTextLabel() = default;

void TCustomTextLabel::Changed()
{
    if (OnChange) OnChange(this);
}

void TCustomTextLabel::SetPosX(double v) { FPosX = v; Changed(); }
void TCustomTextLabel::SetPosY(double v) { FPosY = v; Changed(); }
void TCustomTextLabel::SetShadowDx(int v) { FShadowDx = v; Changed(); }
void TCustomTextLabel::SetShadowDy(int v) { FShadowDy = v; Changed(); }
void TCustomTextLabel::SetColorShadow(TColor v) { FColorShadow = v; Changed(); }
void TCustomTextLabel::SetAlignment(gui::TAlignment v) { FAlignment = v; Changed(); }
void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment v) { FVerticalAlignment = v; Changed(); }
void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode v) { FAttachToData = v; Changed(); }
void TCustomTextLabel::SetColorBkg(TColor v) { FColorBkg = v; Changed(); }
void TCustomTextLabel::SetColorBorder(TColor v) { FColorBorder = v; Changed(); }
void TCustomTextLabel::SetTransparent(bool v) { FTransparent = v; Changed(); }
void TCustomTextLabel::SetMode(TTxtLblMode v) { FMode = v; Changed(); }
void TCustomTextLabel::SetVisible(bool v) { FVisible = v; Changed(); }

void TCustomTextLabel::SetLayer(int v)
{
    if (v < 1 || v > 16) return;
    FLayer = v;
    Changed();
}

void TCustomTextLabel::SetFont(const gui::TFont* font)
{
    FFont->Assign(font);
    Changed();
}

void TCustomTextLabel::SetCaption(const std::string& v)
{
    std::string s = v;
    for (char& ch : s)
        if (static_cast<unsigned char>(ch) < 32 && ch != '\n') ch = ' ';
    FCaption = std::move(s);
    Changed();
}

} // namespace chart
