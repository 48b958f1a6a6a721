// The page control's painting: the drawing routines (gradient bands,
// transparent and sliced bitmap copies), the strip and page frame, the
// tabs with their fills, outlines, pictures, images, captions and close
// glyphs, the hover outline and the focus frame.

#include <algorithm>
#include <cmath>

#include "controls/ExPageControl.h"

namespace controls {

using namespace gui;

namespace {

void Line(TCanvas* c, int x1, int y1, int x2, int y2)
{
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

// A rectangle with its corners in any order.
TRect Norm(int l, int t, int r, int b) { return Rect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)); }

} // namespace

// ------------------------------------------------------- drawing routines

void DrawPageGradient(TCanvas* canvas, TColor fromColor, TColor toColor, int steps, const TRect& r, bool horizontal)
{
    if (steps <= 0) steps = 1;
    const TColor from = ColorToRGB(fromColor), to = ColorToRGB(toColor);
    const int r0 = GetRValue(from), g0 = GetGValue(from), b0 = GetBValue(from);
    const int dr = GetRValue(to) - r0, dg = GetGValue(to) - g0, db = GetBValue(to) - b0;
    const double band = (horizontal ? r.Width() : r.Height()) / static_cast<double>(steps);
    // Round to nearest, ties to even (the default floating-point rounding).
    auto round = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    canvas->Pen()->SetStyle(TPenStyle::psSolid);
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int i = 0; i < steps; ++i) {
        const TColor col = RGB(r0 + round(i * dr / static_cast<double>(steps)),
                               g0 + round(i * dg / static_cast<double>(steps)),
                               b0 + round(i * db / static_cast<double>(steps)));
        canvas->Pen()->SetColor(col);
        canvas->Brush()->SetColor(col);
        const int off = round(i * band);
        if (horizontal)
            canvas->Rectangle(r.Left + off, r.Top, r.Left + off + round(band) + 1, r.Bottom);
        else
            canvas->Rectangle(r.Left, r.Top + off, r.Right, r.Top + off + round(band) + 1);
    }
}

void TransparentStretchBlit(TCanvas* dest, const TBitmap* source, int x, int y, int width, int height,
                            TColor transparent, int srcX, int srcY, int srcWidth, int srcHeight)
{
    if (!dest || !source || source->Empty() || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    // The block as a keyed picture: pixels of the transparent colour leave
    // the destination as it is; the source bitmap is not touched.
    TBitmap block(srcWidth, srcHeight);
    block.Canvas()->CopyRect(Rect(0, 0, srcWidth, srcHeight), const_cast<TBitmap*>(source)->Canvas(),
                             Rect(srcX, srcY, srcX + srcWidth, srcY + srcHeight));
    block.SetTransparentColor(transparent);
    block.SetTransparent(true);
    dest->StretchDraw(Rect(x, y, x + width, y + height), &block);
}

void TransparentBlit(TCanvas* dest, const TBitmap* source, int x, int y, TColor transparent, int srcX, int srcY,
                     int width, int height)
{
    TransparentStretchBlit(dest, source, x, y, width, height, transparent, srcX, srcY, width, height);
}

void DrawBitmapStretchedV(const TBitmap* bitmap, TCanvas* canvas, int x, int length, int y)
{
    if (!bitmap || bitmap->Empty() || length <= 0) return;
    const int w = bitmap->Width(), h = bitmap->Height(), h2 = h / 2;
    const TColor key = const_cast<TBitmap*>(bitmap)->Canvas()->Pixels(0, h - 1);
    if (length < h) {
        // Shorter than the picture: each half keeps its share of the length
        // (a negative stretch would mirror the middle).
        const int top = std::min(h2, (length + 1) / 2), bottom = length - top;
        TransparentBlit(canvas, bitmap, x, y, key, 0, 0, w, top);
        if (bottom > 0) TransparentBlit(canvas, bitmap, x, y + top, key, 0, h - bottom, w, bottom);
        return;
    }
    TransparentBlit(canvas, bitmap, x, y, key, 0, 0, w, h2);
    TransparentStretchBlit(canvas, bitmap, x, y + h2, w, length - h, key, 0, std::max(0, h2 - 1), w, 2);
    TransparentBlit(canvas, bitmap, x, y + h2 + length - h, key, 0, h2, w, h2);
}

void DrawBitmapStretchedH(const TBitmap* bitmap, TCanvas* canvas, int x, int length, int y)
{
    if (!bitmap || bitmap->Empty() || length <= 0) return;
    const int w = bitmap->Width(), h = bitmap->Height(), w2 = w / 2;
    const TColor key = const_cast<TBitmap*>(bitmap)->Canvas()->Pixels(0, h - 1);
    if (length < w) {
        const int left = std::min(w2, (length + 1) / 2), right = length - left;
        TransparentBlit(canvas, bitmap, x, y, key, 0, 0, left, h);
        if (right > 0) TransparentBlit(canvas, bitmap, x + left, y, key, w - right, 0, right, h);
        return;
    }
    TransparentBlit(canvas, bitmap, x, y, key, 0, 0, w2, h);
    TransparentStretchBlit(canvas, bitmap, x + w2, y, length - w, h, key, std::max(0, w2 - 1), 0, 2, h);
    TransparentBlit(canvas, bitmap, x + w2 + length - w, y, key, w2, 0, w2, h);
}

// ------------------------------------------------------------- painting

struct TExPageControl::PaintState {
    int TabsLeft = 0, TabsTop = 0, TabsRight = 0, TabsBottom = 0;
    bool AnyTabVisible = false;
    int Split = 0;
    int DeferredPage = -1, SavedX = -10, SavedY = -10;
    TRect SavedRect;
    std::unique_ptr<TBitmap> Scratch;
};

void TExPageControl::Paint()
{
    TDockSite::Paint();
    if (!FTabBorder3D) PaintTabs(Canvas());
}

void TExPageControl::RotatedFont(TCanvas* c, const TFont* from)
{
    TLogFont lf = from->GetLogFont();
    lf.lfEscapement = TabPosition() == TTabPosition::tpLeft ? -2700 : -900;
    lf.lfOrientation = 30;
    TFont f;
    f.SetLogFont(lf);
    f.SetColor(from->Color());
    c->Font()->Assign(&f);
}

void TExPageControl::PaintTabs(TCanvas* c)
{
    if (FUpdateCount > 0) return;
    struct Restore {
        TCanvas*& ref;
        ~Restore() { ref = nullptr; }
    } restore{FPaintCanvas};
    FPaintCanvas = c;
    c->Font()->Assign(Font());
    PaintState s;
    s.TabsLeft = Width();
    s.TabsTop = TabRect(0).Top;
    for (TExTabSheet* p : FPages) s.AnyTabVisible = s.AnyTabVisible || p->TabVisible();
    for (int i = PageCount() - 1; i >= 0; --i) {
        if (!FPages[static_cast<std::size_t>(i)]->TabVisible()) continue;
        const TRect r = PageTabRect(i);
        s.TabsBottom = std::max(s.TabsBottom, r.Bottom);
        s.TabsTop = std::min(s.TabsTop, r.Top);
        s.TabsLeft = std::min(s.TabsLeft, r.Left);
        s.TabsRight = std::max(s.TabsRight, r.Right);
    }
    if (IsDesigning() && !s.AnyTabVisible) {
        const int h = c->TextHeight("gh");
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        const int y = Height() / 2;
        c->TextOut(10, y, "Right-click and choose \"New Page\"");
        c->TextOut(10, y + h, "to insert a new tabsheet");
        c->Font()->SetStyle({TFontStyle::fsItalic});
        c->TextOut(10, y + 3 * h, "If no such right-click menu option appears");
        c->TextOut(10, y + 4 * h, "please install designtime package!");
        c->Font()->Assign(Font());
    }
    if (!s.AnyTabVisible) {
        switch (TabPosition()) {
        case TTabPosition::tpTop: s.TabsBottom = 2; break;
        case TTabPosition::tpBottom: s.TabsTop = Height() - 2; break;
        case TTabPosition::tpLeft: s.TabsRight = 2; break;
        case TTabPosition::tpRight: s.TabsLeft = Width() - 2; break;
        }
    }
    PaintFrame(c, s);
    for (int i = PageCount() - 1; i >= 0; --i)
        if (FPages[static_cast<std::size_t>(i)]->TabVisible()) PaintOneTab(c, s, i);
    PaintDeferredTab(c, s);
    PaintHoverOutline(c);
}

void TExPageControl::PaintFrame(TCanvas* c, PaintState& s)
{
    const int W = Width(), H = Height();
    const TTabPosition pos = TabPosition();
    const bool sheetColoured = FActivePage && (FActivePage->ColorTo() != clNone || FActivePage->Color() != clNone);
    const int i = (FTabSheet3D && sheetColoured) ? 1 : 0;
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetWidth(1);

    // 1. The line under the scroll area of a single-line strip.
    if (!MultiLine()) {
        const int x0 = std::max(W - 35, s.TabsRight);
        if (pos == TTabPosition::tpTop) {
            c->Pen()->SetColor(0xFFFFFF);
            Line(c, x0, s.TabsBottom, W, s.TabsBottom);
        } else if (pos == TTabPosition::tpBottom) {
            c->Pen()->SetColor(cl3DDkShadow);
            Line(c, x0, s.TabsTop - 1, W, s.TabsTop - 1);
        }
    }
    // 2. The strip background.
    const int h1 = FFullRefresh ? H - 1 : H;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(FTabBackGroundColor);
    switch (pos) {
    case TTabPosition::tpTop: c->FillRect(Rect(0, 0, W, s.TabsBottom)); break;
    case TTabPosition::tpBottom: c->FillRect(Rect(0, s.TabsTop, W, H)); break;
    case TTabPosition::tpLeft: c->FillRect(Rect(0, 0, s.TabsRight, h1)); break;
    case TTabPosition::tpRight: c->FillRect(Rect(s.TabsLeft, 0, W, h1)); break;
    }
    // 3. The ring around the active page.
    if (sheetColoured) {
        TRect strips[4];
        const int tb = s.TabsBottom, tt = s.TabsTop, tr = s.TabsRight, tl = s.TabsLeft;
        switch (pos) {
        case TTabPosition::tpTop:
            strips[0] = Norm(1, tb + i, 4, H - 1); strips[1] = Norm(1, tb + i, W - 1, tb + 4);
            strips[2] = Norm(W - 4, tb + i, W - 1, H - 1); strips[3] = Norm(1, H - 4, W - 1, H - 1);
            break;
        case TTabPosition::tpBottom:
            strips[0] = Norm(1, 1, 4, tt - i); strips[1] = Norm(1, 1, W - 1, 4);
            strips[2] = Norm(W - 4, 1, W - 1, tt - i); strips[3] = Norm(1, tt - 4, W - 1, tt - i);
            break;
        case TTabPosition::tpLeft:
            strips[0] = Norm(tr + i, 1, tr + 4, H - 1); strips[1] = Norm(tr + i, 1, W - 1, 4);
            strips[2] = Norm(W - 4, 1, W - 1, H - 1); strips[3] = Norm(tr + i, H - 4, W - 1, H - 1);
            break;
        case TTabPosition::tpRight:
            strips[0] = Norm(1, 1, 4, H - 2); strips[1] = Norm(1, 1, tl - i, 4);
            strips[2] = Norm(tl - 4, 1, tl - i, H - 2); strips[3] = Norm(1, H - 4, tl - i, H - 1);
            break;
        }
        TRegion clip = TRegion::CreateRect(strips[0]);
        for (int k = 1; k < 4; ++k) clip.Combine(clip, TRegion::CreateRect(strips[k]), RGN_OR);
        c->SelectClipRgn(&clip);
        const TColor col = FActivePage->Color();
        if (FActivePage->ColorTo() == clNone) {
            c->Brush()->SetColor(col);
            c->Pen()->SetColor(col);
            c->Rectangle(ClientRect());
        } else {
            DrawPageGradient(c, col, FActivePage->ColorTo(), 16, ClientRect(), false);
            c->Brush()->SetColor(col);
            c->Pen()->SetColor(col);
            switch (pos) {
            case TTabPosition::tpTop: c->Rectangle(1, tb + 1, W - 1, tb + 4); break;
            case TTabPosition::tpBottom: c->Rectangle(1, 1, W - 1, 4); break;
            case TTabPosition::tpLeft: c->Rectangle(tr + i, 1, W - 1, 4); break;
            case TTabPosition::tpRight: c->Rectangle(1, 1, tl - i, 4); break;
            }
        }
        c->SelectClipRgn(nullptr);
    }
    // 4. The page border.
    if (!FTabSheet3D) {
        const int tb = s.TabsBottom, tt = s.TabsTop, tr = s.TabsRight, tl = s.TabsLeft;
        c->Pen()->SetColor(FTabSheetBorderColor);
        switch (pos) {
        case TTabPosition::tpTop:
            Line(c, 0, tb, 0, H); Line(c, 0, H - 1, W, H - 1); Line(c, W - 1, H - 2, W - 1, tb); Line(c, 0, tb, W, tb);
            c->Pen()->SetColor(Color());
            if (!sheetColoured) { Line(c, 1, H - 2, W - 1, H - 2); Line(c, W - 2, H - 2, W - 2, tb); }
            break;
        case TTabPosition::tpBottom:
            Line(c, 0, 0, 0, tt); Line(c, 0, tt - 1, W, tt - 1); Line(c, W - 1, tt - 1, W - 1, 0); Line(c, 0, 0, W, 0);
            c->Pen()->SetColor(Color());
            if (!sheetColoured) { Line(c, 1, tt - 2, W - 1, tt - 2); Line(c, W - 2, tt - 2, W - 2, 0); }
            break;
        case TTabPosition::tpLeft:
            Line(c, tr, 0, tr, H); Line(c, tr, H - 2, W - 2, H - 2); Line(c, W - 2, H, W - 2, 0); Line(c, W - 2, 0, tr, 0);
            c->Pen()->SetColor(Color());
            Line(c, tr, H - 1, W - 1, H - 1); Line(c, W - 1, H - 1, W - 1, -1);
            break;
        case TTabPosition::tpRight:
            Line(c, 0, 0, 0, H); Line(c, 0, H - 2, tl, H - 2); Line(c, tl - 1, H, tl - 1, 0); Line(c, tl - 1, 0, 0, 0);
            c->Pen()->SetColor(Color());
            Line(c, 0, H - 1, tl, H - 1);
            if (!sheetColoured) Line(c, tl - 2, H - 3, tl - 2, 0);
            break;
        }
    }
    // 5. Rounded corners away from the tabs.
    if (!FTabSheet3D && FRoundEdges) {
        auto pen = [c](TColor col) { c->Pen()->SetColor(col); };
        switch (pos) {
        case TTabPosition::tpTop:
            pen(Color());
            c->MoveTo(0, H - 4); c->LineTo(0, H - 1); c->LineTo(4, H - 1);
            c->MoveTo(W - 4, H - 1); c->LineTo(W - 1, H - 1); c->LineTo(W - 1, H - 5);
            pen(FTabSheetBorderColor);
            Line(c, 1, H - 4, 1, H - 2); Line(c, 2, H - 2, 4, H - 2);
            Line(c, W - 4, H - 2, W - 2, H - 2); Line(c, W - 2, H - 3, W - 2, H - 5);
            break;
        case TTabPosition::tpBottom:
            pen(Color());
            c->MoveTo(0, 3); c->LineTo(0, 0); c->LineTo(5, 0);
            c->MoveTo(W - 1, 3); c->LineTo(W - 1, 0); c->LineTo(W - 5, 0);
            pen(FTabSheetBorderColor);
            Line(c, 1, 3, 1, 1); Line(c, 2, 1, 5, 0); Line(c, W - 2, 3, W - 2, 1); Line(c, W - 3, 1, W - 5, 1);
            break;
        case TTabPosition::tpLeft:
            pen(Color());
            c->MoveTo(W - 5, H - 2); c->LineTo(W - 2, H - 2); c->LineTo(W - 2, H - 6);
            c->MoveTo(W - 2, 3); c->LineTo(W - 2, 0); c->LineTo(W - 6, 0);
            pen(FTabSheetBorderColor);
            Line(c, W - 5, H - 3, W - 3, H - 3); Line(c, W - 3, H - 4, W - 3, H - 6);
            Line(c, W - 3, 3, W - 3, 1); Line(c, W - 4, 1, W - 6, 1);
            break;
        case TTabPosition::tpRight:
            pen(Color());
            c->MoveTo(0, 3); c->LineTo(0, 0); c->LineTo(5, 0);
            c->MoveTo(0, H - 5); c->LineTo(0, H - 2); c->LineTo(4, H - 2);
            pen(FTabSheetBorderColor);
            Line(c, 1, 3, 1, 1); Line(c, 2, 1, 5, 0); Line(c, 1, H - 5, 1, H - 3); Line(c, 2, H - 3, 4, H - 3);
            break;
        }
    }
    // 6. The split line: the active tab opens into its page.
    if (!FTabSheet3D && !FTabSplitLine && PageCount() > 0 && s.AnyTabVisible) {
        s.Split = 1;
        TColor col = Color();
        if (sheetColoured) {
            col = FActivePage->Color();
            if (pos == TTabPosition::tpBottom && FActivePage->ColorTo() != clNone) col = FActivePage->ColorTo();
        }
        c->Pen()->SetColor(col);
        const int o = FTabOverlap;
        switch (pos) {
        case TTabPosition::tpTop: Line(c, 3, s.TabsBottom, s.TabsRight + o, s.TabsBottom); break;
        case TTabPosition::tpBottom: Line(c, 2, s.TabsTop - 1, s.TabsRight + o, s.TabsTop - 1); break;
        case TTabPosition::tpLeft: {
            const int extra = (FTabStyle == TTabStyle::tsClassic && !FTabBackGround->Empty()) ? 2 : 0;
            Line(c, s.TabsRight, 2, s.TabsRight, s.TabsBottom + o + extra);
            break;
        }
        case TTabPosition::tpRight: Line(c, s.TabsLeft - 1, s.TabsBottom - 1 + o, s.TabsLeft - 1, 2); break;
        }
    }
}

// What the steps of one tab's painting share: the tab, its rectangle (the
// fill and outline widen it by a pixel on some sides), its colours and the
// origin of its caption.
struct TExPageControl::TabPaint {
    int Index = 0;
    TExTabSheet* Page = nullptr;
    TTabPosition Pos = TTabPosition::tpTop;
    TRect R;    // as drawn
    TRect R0;   // as laid out
    bool Active = false;
    bool Side = false;   // a tab on the left or right edge
    TColor Col = clNone, ColTo = clNone;
    bool Horizontal = false;
    int TextX = 0, TextY = 0;
};

// One tab: colours, caption origin, fill and outline (or the tab picture),
// margins, then the close glyph, image, caption and focus frame. The active
// tab with a picture of its own stops after the margins: it is drawn last,
// over its neighbours (PaintDeferredTab).
void TExPageControl::PaintOneTab(TCanvas* c, PaintState& s, int i)
{
    TabPaint t;
    t.Index = i;
    t.Page = FPages[static_cast<std::size_t>(i)];
    t.Pos = TabPosition();
    t.R = t.R0 = PageTabRect(i);
    t.Active = ActivePageIndex() == i;
    t.Side = t.Pos == TTabPosition::tpLeft || t.Pos == TTabPosition::tpRight;
    if (OnDrawTab) OnDrawTab(this, i, t.R0, t.Active);
    if (!FTabBackGround->Empty()) {
        if (!s.Scratch) s.Scratch = std::make_unique<TBitmap>();
        s.Scratch->SetSize(FTabBackGround->Width(), FTabBackGround->Height());
    }
    ChooseTabColours(t);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(t.Col);
    PlaceTabText(t);
    if (FTabBackGround->Empty()) {
        FillTab(c, t);
        OutlineTab(c, s, t);
    } else {
        DrawTabPicture(c, s, t);
    }
    if (t.Side) RotatedFont(c, t.Active ? FActiveFont.get() : Font());
    ApplyTabMargins(t);
    if (s.DeferredPage >= 0 && s.SavedX == -10 && s.SavedY == -10) {
        s.SavedX = t.TextX;
        s.SavedY = t.TextY;
        return;
    }
    if (t.Page->ShowClose()) DrawCloseGlyph(t.R0, t.Active);
    DrawTabImage(c, t);
    DrawTabCaption(c, t);
    if (t.Active) c->Font()->Assign(Font());
    DrawFocusFrame(c, t.R, t.Active, 0);
}

// The active colours, else the hover colours while the mouse is over the
// tab (when any is set), else the sheet's own; with the gradient direction
// that goes with them.
void TExPageControl::ChooseTabColours(TabPaint& t)
{
    if (t.Active && FActiveColor != clNone) {
        t.Col = FActiveColor;
        t.ColTo = FActiveColorTo;
        t.Horizontal = t.Page->TabGradientDirection() == TGradientDirection::gdHorizontal;
    } else if (t.Index == FHoverTab && (FTabHoverColor != clNone || FTabHoverColorTo != clNone)) {
        t.Col = FTabHoverColor;
        t.ColTo = FTabHoverColorTo;
        t.Horizontal = t.Page->HoverGradientDirection() == TGradientDirection::gdHorizontal;
    } else {
        t.Col = t.Page->TabColor();
        t.ColTo = t.Page->TabColorTo();
        t.Horizontal = t.Page->TabGradientDirection() == TGradientDirection::gdHorizontal;
    }
}

// The caption's origin inside the tab: past a close glyph on the left, and
// lowered by LowerActive for the active tab; a bottom tab grows by a pixel.
void TExPageControl::PlaceTabText(TabPaint& t)
{
    TRect& r = t.R;
    const int S = (t.Page->ShowClose() && FClosePosition == TClosePosition::cpLeft) ? 1 : 0;
    const int A = t.Active ? FLowerActive : 0;
    switch (t.Pos) {
    case TTabPosition::tpLeft: t.TextX = r.Left + 1 + A; t.TextY = r.Bottom - 4 - 13 * S; break;
    case TTabPosition::tpRight: t.TextX = r.Right - 1 - A; t.TextY = r.Top + 4 + 13 * S; break;
    case TTabPosition::tpTop: t.TextX = r.Left + 4 + 14 * S; t.TextY = r.Top + 1 + A; break;
    case TTabPosition::tpBottom:
        r.Bottom += 1;
        t.TextX = r.Left + 4 + 14 * S;
        t.TextY = t.Active ? r.Top + A + 1 : r.Top;
        break;
    }
}

// The tab's plain colour or gradient (left to OnDrawTab when assigned); the
// rectangle reaches a pixel further towards the strip's outer edge.
void TExPageControl::FillTab(TCanvas* c, TabPaint& t)
{
    TRect& r = t.R;
    if (t.Pos == TTabPosition::tpLeft) r.Left -= 1;
    if (t.Pos == TTabPosition::tpTop) r.Top -= 1;
    if (!OnDrawTab) {
        if (t.ColTo == clNone) {
            c->FillRect(r);
        } else {
            TRect g = r;
            switch (t.Pos) {
            case TTabPosition::tpLeft: g.Right -= 1; if (!t.Horizontal) g.Bottom -= 1; break;
            case TTabPosition::tpRight: if (!t.Active && !t.Horizontal) g.Bottom -= 1; break;
            case TTabPosition::tpTop: g.Bottom -= 1; if (t.Horizontal) g.Right -= 1; break;
            case TTabPosition::tpBottom: if (t.Horizontal) g.Right -= 1; else g.Bottom -= 1; break;
            }
            DrawPageGradient(c, t.Col, t.ColTo, 16, g, t.Horizontal);
        }
    }
    if (t.Pos == TTabPosition::tpRight) r.Right += 1;
}

// The tab's border lines in the pen of TabBorderColor, by tab style.
void TExPageControl::OutlineTab(TCanvas* c, PaintState& s, TabPaint& t)
{
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetColor(FTabBorderColor);
    switch (FTabStyle) {
    case TTabStyle::tsClassic: OutlineClassicTab(c, s, t); break;
    case TTabStyle::tsLined: OutlineLinedTab(c, s, t); break;
    case TTabStyle::tsDotNet: OutlineDotNetTab(c, s, t); break;
    }
}

namespace {

void Poly(TCanvas* c, std::initializer_list<TPoint> pts)
{
    auto it = pts.begin();
    c->MoveTo(it->X, it->Y);
    for (++it; it != pts.end(); ++it) c->LineTo(it->X, it->Y);
}

} // namespace

// An inactive tab is followed by a separator unless the next tab is the
// active one; the last tab of the strip always is.
bool TExPageControl::TabHasSeparator(const PaintState& s, const TabPaint& t) const
{
    const bool last = t.Side ? s.TabsBottom - 3 < t.R.Bottom : s.TabsRight - 3 < t.R.Right;
    const bool nextActive = FindNextPage(t.Page, true, true) == FActivePage;
    return !nextActive || last;
}

// Classic tabs: the active one open towards its page; an inactive one a box
// that covers the split line only where it touches the page.
void TExPageControl::OutlineClassicTab(TCanvas* c, PaintState& s, TabPaint& t)
{
    const int L = t.R.Left, T = t.R.Top, Rt = t.R.Right, B = t.R.Bottom;
    if (t.Active) {
        switch (t.Pos) {
        case TTabPosition::tpLeft: Poly(c, {{Rt - 1, T}, {L, T}, {L, B}, {Rt, B}}); break;
        case TTabPosition::tpRight: Poly(c, {{L, T}, {Rt - 1, T}, {Rt - 1, B}, {L - 1, B}}); break;
        case TTabPosition::tpTop: Poly(c, {{L, B - 1}, {L, T}, {Rt, T}, {Rt, B}}); break;
        case TTabPosition::tpBottom: Poly(c, {{L, T}, {L, B}, {Rt, B}, {Rt, T - 1}}); break;
        }
        return;
    }
    const int W = Width(), H = Height();
    switch (t.Pos) {
    case TTabPosition::tpLeft:
        if (s.Split > 0 && Rt < s.TabsRight) s.Split = 0;
        c->Rectangle(L, T, Rt + s.Split, H - 5 >= B ? B + 1 : B);
        break;
    case TTabPosition::tpRight:
        if (s.Split > 0 && L > s.TabsLeft) s.Split = 0;
        c->Rectangle(L - s.Split, T, Rt, H - 5 >= B ? B + 1 : B);
        break;
    case TTabPosition::tpTop:
        if (s.Split > 0 && B < s.TabsBottom) s.Split = 0;
        c->Rectangle(L, T, W - 5 >= Rt ? Rt + 1 : Rt, B + s.Split);
        break;
    case TTabPosition::tpBottom:
        if (s.Split > 0 && T > s.TabsTop) s.Split = 0;
        c->Rectangle(L, T - s.Split, W - 5 >= Rt ? Rt + 1 : Rt, B);
        t.TextY += 2;
        break;
    }
    // The next tab opens into the page again when the page has a split line.
    s.Split = (!FTabSheet3D && !FTabSplitLine) ? 1 : 0;
}

// Lined tabs: the active one has its two sides; an inactive one the line
// along the page and, where it has one, its separator.
void TExPageControl::OutlineLinedTab(TCanvas* c, const PaintState& s, const TabPaint& t)
{
    const int L = t.R.Left, T = t.R.Top, Rt = t.R.Right, B = t.R.Bottom;
    if (t.Active) {
        switch (t.Pos) {
        case TTabPosition::tpLeft: Line(c, Rt, T, L, T); Line(c, L, B, Rt, B); break;
        case TTabPosition::tpRight: Line(c, L - 1, T, Rt - 1, T); Line(c, Rt - 1, B, L - 1, B); break;
        case TTabPosition::tpTop: Line(c, L, B, L, T); Line(c, Rt, T, Rt, B); break;
        case TTabPosition::tpBottom: Line(c, L, T - 1, L, B); Line(c, Rt, B - 1, Rt, T - 1); break;
        }
        return;
    }
    const bool separator = TabHasSeparator(s, t);
    switch (t.Pos) {
    case TTabPosition::tpLeft: Line(c, Rt, T, Rt, B); if (separator) Line(c, L, B - 2, Rt, B - 2); break;
    case TTabPosition::tpRight: Line(c, L - 1, T, L - 1, B); if (separator) Line(c, L, B - 2, Rt, B - 2); break;
    case TTabPosition::tpTop: Line(c, L, B, Rt, B); if (separator) Line(c, Rt - 2, B, Rt - 2, T); break;
    case TTabPosition::tpBottom: Line(c, L, T - 1, Rt, T - 1); if (separator) Line(c, Rt - 2, B - 1, Rt - 2, T - 1); break;
    }
}

// Dot-net tabs: the active one open towards its page; an inactive one the
// line along the page and a double separator in the active colour.
void TExPageControl::OutlineDotNetTab(TCanvas* c, const PaintState& s, const TabPaint& t)
{
    const int L = t.R.Left, T = t.R.Top, Rt = t.R.Right, B = t.R.Bottom;
    if (t.Active) {
        switch (t.Pos) {
        case TTabPosition::tpLeft: Poly(c, {{Rt, T}, {L, T}, {L, B}, {Rt, B}}); break;
        case TTabPosition::tpRight: Poly(c, {{L - 1, T}, {Rt - 1, T}, {Rt - 1, B}, {L - 1, B}}); break;
        case TTabPosition::tpTop: Poly(c, {{L, B}, {L, T}, {Rt, T}, {Rt, B}}); break;
        case TTabPosition::tpBottom: Poly(c, {{L, T - 1}, {L, B}, {Rt, B}, {Rt, T - 1}}); break;
        }
        return;
    }
    switch (t.Pos) {
    case TTabPosition::tpLeft: Line(c, Rt, T, Rt, B); break;
    case TTabPosition::tpRight: Line(c, L - 1, T, L - 1, B); break;
    case TTabPosition::tpTop: Line(c, L, B, Rt, B); break;
    case TTabPosition::tpBottom: Line(c, L, T - 1, Rt, T - 1); break;
    }
    if (!TabHasSeparator(s, t)) return;
    c->Pen()->SetColor(FActiveColor);
    if (t.Side) {
        Line(c, L + 2, B - 2, Rt - 2, B - 2);
        Line(c, L + 2, B - 3, Rt - 2, B - 3);
    } else {
        Line(c, Rt - 2, B - 3, Rt - 2, T + 2);
        Line(c, Rt - 3, B - 3, Rt - 3, T + 2);
    }
    c->Pen()->SetColor(FTabBorderColor);
}

// With a tab picture: the caption moves to fit the picture, and the picture
// is stretched over the tab (the active tab's own picture is only noted,
// to be drawn last).
void TExPageControl::DrawTabPicture(TCanvas* c, PaintState& s, TabPaint& t)
{
    switch (t.Pos) {
    case TTabPosition::tpLeft: t.TextX -= 2; t.TextY -= 3; break;
    case TTabPosition::tpRight: t.TextX -= TabHeight() / 3; t.TextY -= 3; break;
    case TTabPosition::tpBottom: t.TextY += 3; break;
    case TTabPosition::tpTop: break;
    }
    if (OnDrawTab) return;
    const TRect& r = t.R;
    if (t.Active && !FTabBackGroundActive->Empty()) {
        s.Scratch->Canvas()->Draw(0, 0, FTabBackGroundActive.get());
        s.DeferredPage = t.Index;
        s.SavedRect = r;
        return;
    }
    const int o = FTabOverlap;
    s.Scratch->Canvas()->Draw(0, 0, FTabBackGround.get());
    switch (t.Pos) {
    case TTabPosition::tpLeft: DrawBitmapStretchedV(s.Scratch.get(), c, r.Left, r.Height() + o + 3, r.Top); break;
    case TTabPosition::tpRight: DrawBitmapStretchedV(s.Scratch.get(), c, r.Left - 1, r.Height() + o + 3, r.Top - 2); break;
    case TTabPosition::tpTop: DrawBitmapStretchedH(s.Scratch.get(), c, r.Left - 1, r.Width() + o + 2, r.Top - 2); break;
    case TTabPosition::tpBottom: DrawBitmapStretchedH(s.Scratch.get(), c, r.Left - 2, r.Width() + o + 2, r.Top - 1); break;
    }
}

// The tab margins move the caption (up the tab for left tabs, where an
// active picture also shifts it by the overlap).
void TExPageControl::ApplyTabMargins(TabPaint& t)
{
    t.TextX += FTabMargin->LeftMargin();
    if (t.Pos == TTabPosition::tpLeft) {
        t.TextY -= FTabMargin->TopMargin();
        if (!FTabBackGroundActive->Empty()) t.TextY += FTabOverlap + 3;
    } else {
        t.TextY += FTabMargin->TopMargin();
    }
}

// The sheet's image from Images before the caption, which moves past it.
void TExPageControl::DrawTabImage(TCanvas* c, TabPaint& t)
{
    if (!FImages || t.Page->ImageIndex() < 0 || OnDrawTab) return;
    switch (t.Pos) {
    case TTabPosition::tpLeft:
        FImages->Draw(c, t.TextX + 1, t.TextY - 14, t.Page->ImageIndex(), true);
        t.TextY -= FImages->Height();
        break;
    case TTabPosition::tpRight:
        FImages->Draw(c, t.TextX - 18, t.TextY, t.Page->ImageIndex(), true);
        t.TextY += FImages->Height();
        break;
    default:
        FImages->Draw(c, t.TextX - 2, t.TextY, t.Page->ImageIndex(), true);
        t.TextX += FImages->Width();
        break;
    }
}

// The caption in the active or normal font (side tabs keep their rotated
// font), the sheet's text colour when inactive, grey when disabled.
void TExPageControl::DrawTabCaption(TCanvas* c, const TabPaint& t)
{
    if (t.Active) {
        if (!t.Side) c->Font()->Assign(FActiveFont.get());
    } else {
        if (!t.Side) c->Font()->Assign(Font());
        c->Font()->SetColor(t.Page->TextColor());
    }
    if (!t.Page->TabEnable()) c->Font()->SetColor(0x808080);
    if (!t.Page->Enabled()) c->Font()->SetColor(clGrayText);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    if (OnDrawTab) return;
    if (t.Side) {
        c->TextOut(t.TextX, t.TextY, t.Page->Caption());
    } else {
        TRect tr = t.R0;
        tr.Left = t.TextX;
        tr.Top = t.TextY;
        c->DrawText(t.Page->Caption(), tr, DT_SINGLELINE | DT_NOCLIP);
    }
}

void TExPageControl::PaintDeferredTab(TCanvas* c, PaintState& s)
{
    if (s.DeferredPage < 0 || OnDrawTab) return;
    TExTabSheet* page = FPages[static_cast<std::size_t>(s.DeferredPage)];
    const TTabPosition pos = TabPosition();
    s.Scratch->Canvas()->Draw(0, 0, FTabBackGroundActive.get());
    const TRect r = s.SavedRect;
    const int o = FTabOverlap;
    const bool low = FLowerActive >= 1;
    switch (pos) {
    case TTabPosition::tpTop: DrawBitmapStretchedH(s.Scratch.get(), c, r.Left - 2, r.Width() + o + 2, low ? r.Top - 1 : r.Top - 2); break;
    case TTabPosition::tpBottom: DrawBitmapStretchedH(s.Scratch.get(), c, r.Left - 2, r.Width() + o + 2, low ? r.Top - 3 : r.Top - 1); break;
    case TTabPosition::tpLeft: DrawBitmapStretchedV(s.Scratch.get(), c, low ? r.Left + 1 : r.Left, r.Height() + o + 3, r.Top); break;
    case TTabPosition::tpRight: DrawBitmapStretchedV(s.Scratch.get(), c, low ? r.Left - 3 : r.Left - 1, r.Height() + o + 3, r.Top - 2); break;
    }
    if (page->ShowClose()) DrawCloseGlyph(r, true);
    if (FImages && page->ImageIndex() >= 0) {
        switch (pos) {
        case TTabPosition::tpLeft: FImages->Draw(c, s.SavedX, s.SavedY - 14, page->ImageIndex(), true); s.SavedY -= FImages->Height(); break;
        case TTabPosition::tpRight: FImages->Draw(c, s.SavedX - 14, s.SavedY, page->ImageIndex(), true); s.SavedY += FImages->Height(); break;
        default: FImages->Draw(c, s.SavedX - 2, s.SavedY, page->ImageIndex(), true); s.SavedX += FImages->Width(); break;
        }
    }
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    const bool side = pos == TTabPosition::tpLeft || pos == TTabPosition::tpRight;
    if (side) RotatedFont(c, FActiveFont.get());
    else c->Font()->Assign(FActiveFont.get());
    if (!page->Enabled()) c->Font()->SetColor(clGrayText);
    if (side) {
        c->TextOut(s.SavedX, s.SavedY, page->Caption());
    } else {
        TRect tr = r;
        tr.Left = s.SavedX;
        tr.Top = pos == TTabPosition::tpBottom ? s.SavedY - 2 : s.SavedY;
        c->DrawText(page->Caption(), tr, DT_SINGLELINE | DT_NOCLIP);
    }
    DrawFocusFrame(c, r, true, FTabOverlap);
}

void TExPageControl::PaintHoverOutline(TCanvas* c)
{
    if (FHoverTab < 0 || FTabHoverBorder == clNone || FHoverTab >= PageCount() || FHoverTab == ActivePageIndex()) return;
    TRect r = PageTabRect(FHoverTab);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetColor(FTabHoverBorder);
    const int W = Width(), H = Height();
    auto poly = [c](std::initializer_list<TPoint> pts) {
        auto it = pts.begin();
        c->MoveTo(it->X, it->Y);
        for (++it; it != pts.end(); ++it) c->LineTo(it->X, it->Y);
    };
    switch (TabPosition()) {
    case TTabPosition::tpTop:
        r.Top -= 1;
        if (W - 5 < r.Right) r.Right -= 1;
        poly({{r.Left, r.Bottom - 2}, {r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom - 1}});
        break;
    case TTabPosition::tpBottom:
        if (W - 5 < r.Right) r.Right -= 1;
        poly({{r.Left, r.Top + 1}, {r.Left, r.Bottom}, {r.Right, r.Bottom}, {r.Right, r.Top}});
        break;
    case TTabPosition::tpLeft:
        r.Left -= 1;
        r.Top -= 2;
        if (H - 5 < r.Bottom) r.Bottom -= 1;
        poly({{r.Right - 1, r.Top + 2}, {r.Left, r.Top + 2}, {r.Left, r.Bottom}, {r.Right, r.Bottom}});
        break;
    case TTabPosition::tpRight:
        r.Left += 1;
        if (H - 5 < r.Bottom) r.Bottom -= 1;
        poly({{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}});
        break;
    }
}

void TExPageControl::DrawFocusFrame(TCanvas* c, const TRect& r, bool active, int overlap)
{
    if (IsDesigning() || !active || !FShowFocus || !Focused()) return;
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetStyle(TPenStyle::psDot);
    if (SideTabs()) c->Rectangle(r.Left + 5, r.Top + 3, r.Right - 5, r.Bottom - 3 - overlap);
    else c->Rectangle(r.Left + 5, r.Top + 3, r.Right - 5 - overlap, r.Bottom - 3);
    c->Pen()->SetStyle(TPenStyle::psSolid);
}

// ------------------------------------------------------------ close glyph

void TExPageControl::DrawGlyphBox(TCanvas* c, int x, int y, bool leftTabs, TColor fill, TColor outline, TColor strokes)
{
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(fill);
    c->Pen()->SetColor(outline);
    if (!leftTabs) {
        c->Rectangle(x + 2, y + 2, x + 14, y + 13);
        c->Pen()->SetColor(strokes);
        Line(c, x + 5, y + 9, x + 11, y + 4);
        Line(c, x + 6, y + 9, x + 10, y + 4);
        Line(c, x + 5, y + 5, x + 11, y + 10);
        Line(c, x + 6, y + 5, x + 10, y + 10);
    } else {
        const int b = y;   // the bottom line the glyph hangs from
        c->Rectangle(Norm(x + 2, b - 2, x + 14, b - 13));
        c->Pen()->SetColor(strokes);
        Line(c, x + 5, b - 10, x + 11, b - 5);
        Line(c, x + 6, b - 10, x + 10, b - 5);
        Line(c, x + 5, b - 6, x + 11, b - 11);
        Line(c, x + 6, b - 6, x + 10, b - 11);
    }
}

// state: 0 normal, 1 hot, 2 pressed.
void TExPageControl::DrawCloseGlyphAt(TCanvas* c, const TRect& r, int lower, bool hotAnchor, int state)
{
    const int L = FTabMargin->LeftMargin(), T = FTabMargin->TopMargin(), M = FTabMargin->RightMargin();
    const bool right = FClosePosition == TClosePosition::cpRight;
    int x = 0, y = 0;
    const TTabPosition pos = TabPosition();
    switch (pos) {
    case TTabPosition::tpTop:
    case TTabPosition::tpBottom:
        x = right ? r.Right - M - 14 : r.Left + L;
        y = r.Top + T + lower;
        break;
    case TTabPosition::tpRight:
        x = hotAnchor ? r.Left + L : r.Left + L + 2 - lower;
        y = right ? r.Bottom - M - 13 : r.Top + T;
        break;
    case TTabPosition::tpLeft:
        x = r.Left + L + lower;
        y = right ? r.Top + M + 13 : r.Bottom - T;
        if (!FTabBackGroundActive->Empty()) y += FTabOverlap;
        break;
    }
    const bool leftTabs = pos == TTabPosition::tpLeft;
    const TRect box = leftTabs ? Rect(x + 2, y - 13, x + 14, y - 2) : Rect(x + 2, y + 2, x + 14, y + 13);
    if (!FCloseGlyph->Empty()) {
        const int px = x + 2, py = leftTabs ? y - 13 : y + 2;
        TRegion clip = TRegion::CreateRect(Rect(px, py, px + 12, py + 11));
        c->SelectClipRgn(&clip);
        FCloseGlyph->SetTransparentMode(TTransparentMode::tmAuto);
        FCloseGlyph->SetTransparent(true);
        c->Draw(px, py, FCloseGlyph.get());
        c->SelectClipRgn(nullptr);
    } else if (state == 0) {
        DrawGlyphBox(c, x, y, leftTabs, 0xFFFFFF, 0x808080, 0);
    } else if (state == 1) {
        DrawGlyphBox(c, x, y, leftTabs, 0xFFFFFF, 0, 0x808080);
    } else {
        DrawGlyphBox(c, x, y, leftTabs, 0xC0C0C0, 0, 0);
    }
    if (OnGlyphDrawn) OnGlyphDrawn(box, state);
}

void TExPageControl::DrawCloseGlyph(const TRect& r, bool lowered)
{
    DrawCloseGlyphAt(FPaintCanvas ? FPaintCanvas : Canvas(), r, lowered ? FLowerActive : 0, false, 0);
}

void TExPageControl::DrawCloseGlyphHot(const TRect& r)
{
    DrawCloseGlyphAt(FPaintCanvas ? FPaintCanvas : Canvas(), r, FLowerActive, true, 1);
}

void TExPageControl::DrawCloseGlyphDown(const TRect& r)
{
    DrawCloseGlyphAt(FPaintCanvas ? FPaintCanvas : Canvas(), r, FLowerActive, false, 2);
}

} // namespace controls
