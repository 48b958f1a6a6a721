// BaseGrid: painting of cells and merged blocks, and the navigation that
// keeps the current cell on a block's base cell.
#include <algorithm>

#include "gridbase/BaseGrid.h"
#include "platform/gui/Messages.h"

namespace gridbase {

namespace {

// The selection frame colours: upper from/to, lower from/to, inner top,
// inner bottom, border, corner.
struct TFrameColors {
    TColor UpperFrom, UpperTo, LowerFrom, LowerTo, InnerTop, InnerBottom, Border, Corner;
};

const TFrameColors& FrameColors(TGridSelectionStyle style, bool focused)
{
    static const TFrameColors vista{0xFDF8F1, 0xFCEFD5, gui::clNone, gui::clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB};
    static const TFrameColors win7{0xFCEBDC, 0xFCDBC1, gui::clNone, gui::clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE};
    static const TFrameColors office{0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF};
    static const TFrameColors unfocused{0xF8F8F8, 0xE5E5E5, gui::clNone, gui::clNone, 0xFBFAFA, 0xF0F0F0, 0xD9D9D9, 0xEFEFEF};
    if (!focused) return unfocused;
    switch (style) {
    case TGridSelectionStyle::ssWin7: return win7;
    case TGridSelectionStyle::ssOffice2007: return office;
    default: return vista;
    }
}

} // namespace

int TBaseGrid::FixedColsWidth() const
{
    int w = 0;
    for (int i = 0; i < FixedCols(); ++i) w += std::max(ColWidths(i), 0);
    return w;
}

int TBaseGrid::FixedRowsHeight() const
{
    int h = 0;
    for (int i = 0; i < FixedRows(); ++i) h += std::max(RowHeights(i), 0);
    return h;
}

void TBaseGrid::Paint()
{
    gui::TStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int aCol, int aRow, const gui::TRect& aRect, gui::TGridDrawState aState)
{
    using gui::TGridDrawStateItem;
    using gui::TGridOption;
    gui::TCanvas* cv = Canvas();
    if (FHideLastRow && aRow == RowCount() - 1) {
        cv->Brush()->SetColor(Color());
        cv->Pen()->SetColor(Color());
        cv->Rectangle(aRect);
        return;
    }
    // A merged block is drawn once per pass, by the first of its cells that
    // the painting reaches (the base cell too records the pass).
    int bc = aCol, br = aRow;
    ResolveBaseCell(aCol, aRow, bc, br);
    if (IsMergedCell(aCol, aRow)) {
        TCellProperties* base = FindCellProperties(bc, br);
        if (!base || base->FPaintID == FPaintID) return;
        base->FPaintID = FPaintID;
    }
    DrawCellAt(bc, br, aRect, aState);
}

void TBaseGrid::DrawCellAt(int aCol, int aRow, const gui::TRect&, gui::TGridDrawState aState)
{
    using gui::TGridDrawStateItem;
    using gui::TGridOption;
    gui::TCanvas* cv = Canvas();
    if (IsFixed(aCol, aRow)) {
        aState += TGridDrawStateItem::gdFixed;
        aState -= TGridDrawStateItem::gdSelected;
    }
    const bool fixed = aState.Contains(TGridDrawStateItem::gdFixed);
    gui::TRect rect = CellRect(aCol, aRow);

    const int fw = aCol >= FixedCols() ? FixedColsWidth() : 0;
    const int fh = aRow >= FixedRows() ? FixedRowsHeight() : 0;
    const bool clip = (aCol >= FixedCols() && FixedCols() > 0 && rect.Left < fw) ||
                      (aRow >= FixedRows() && FixedRows() > 0 && rect.Top < fh);
    if (clip) {
        const gui::TRegion region = gui::TRegion::CreateRect(gui::TRect(fw, fh, Width(), Height()));
        cv->SelectClipRgn(&region);
    }

    cv->Pen()->SetWidth(1);
    cv->SetFont(Font());
    cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    cv->Brush()->SetColor(fixed ? FixedColor() : Color());
    TColor colorTo = gui::clNone, mirrorColor = gui::clNone, mirrorColorTo = gui::clNone;
    gui::TAlignment ha = gui::TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetVisualProperties(aCol, aRow, aState, false, true, true, *cv->Brush(), colorTo, mirrorColor, mirrorColorTo,
                        *cv->Font(), ha, va, ww, gd);
    cv->Pen()->SetColor(cv->Brush()->Color());
    if (FActiveRowShow && aRow == Row() && (aCol != Col() || !FShowSelection)) {
        cv->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColor;
        mirrorColor = mirrorColorTo = gui::clNone;
        cv->Pen()->SetColor(FActiveRowColor);
    }
    const TColor background = cv->Brush()->Color();

    if (aState.Contains(TGridDrawStateItem::gdSelected) && FSelectionStyle != TGridSelectionStyle::ssDefault &&
        FShowSelection) {
        const gui::TGridRect sel = Selection();
        const int l = std::min(sel.Left, sel.Right), r = std::max(sel.Left, sel.Right);
        int part = 0;
        if (aCol == l && aCol < r) part = 1;
        else if (aCol == r && aCol > l) part = 2;
        else if (l < aCol && aCol < r) part = 3;
        gui::TRect f = rect;
        if (!Options().Contains(TGridOption::goHorzLine)) f.Bottom += 1;
        if (!Options().Contains(TGridOption::goVertLine)) f.Right += 1;
        if (HasCellBorders()) {
            f.Left += 1;
            f.Right -= 1;
            f.Bottom -= 1;
        }
        const bool focused = Focused() || Options().Contains(TGridOption::goDrawFocusSelected);
        const TFrameColors& fc = FrameColors(FSelectionStyle, focused);
        DrawSelectionFrame(cv, fc.UpperFrom, fc.UpperTo, fc.LowerFrom, fc.LowerTo, fc.InnerTop, fc.InnerBottom,
                           fc.Border, fc.Corner, Color(), f, part);
    } else if (colorTo == gui::clNone) {
        cv->Rectangle(rect);
    } else if (mirrorColorTo == gui::clNone) {
        DrawGradient(cv, background, colorTo, 64, rect, gd == TCellGradientDirection::GradientHorizontal);
    } else {
        DrawMirrorGradient(cv, rect, background, colorTo, mirrorColor, mirrorColorTo, true, gui::clNone, false, true);
    }

    // The grid's own lines, at the bottom and right inside the cell.
    int h = 1;
    if (fixed) {
        cv->Pen()->SetColor(FGridFixedLineColor);
        cv->Pen()->SetWidth(1);
    } else {
        cv->Pen()->SetColor(FGridLineWidth > 0 ? FGridLineColor : background);
        cv->Pen()->SetWidth(std::max(FGridLineWidth, 1));
        h = (FGridLineWidth + 1) / 2;
    }
    const gui::TGridOptions opt = Options();
    const bool hLine = fixed ? opt.Contains(TGridOption::goFixedHorzLine) : opt.Contains(TGridOption::goHorzLine);
    const bool vLine = fixed ? opt.Contains(TGridOption::goFixedVertLine) : opt.Contains(TGridOption::goVertLine);
    if ((fixed || FGridLineWidth > 0) && hLine && !(aCol == 0 && HasNodes())) {
        cv->MoveTo(rect.Left - h + 1, rect.Bottom - h);
        cv->LineTo(rect.Right - h + 1, rect.Bottom - h);
    }
    if ((fixed || FGridLineWidth > 0) && vLine) {
        cv->MoveTo(rect.Right - h, rect.Bottom - h);
        cv->LineTo(rect.Right - h, rect.Top - h);
    }

    gui::TRect content = rect;
    if (fixed) {
        content.Right -= 1;
        content.Bottom -= 2;
    } else {
        content = gui::TRect(rect.Left + FGridLineWidth, rect.Top + FGridLineWidth, rect.Right - FGridLineWidth,
                             rect.Bottom - FGridLineWidth);
    }
    DrawCellText(cv, aCol, aRow, content, aState);
    if (clip) cv->SelectClipRgn(nullptr);
}

void TBaseGrid::DrawCellText(gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect, gui::TGridDrawState)
{
    gui::TRect r = rect;
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    canvas->DrawText(GetCellText(aCol, aRow), r, gui::DT_SINGLELINE | gui::DT_VCENTER | gui::DT_CENTER);
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
}

// --- navigation ------------------------------------------------------------------

bool TBaseGrid::SelectCell(int aCol, int aRow)
{
    RepaintCell(Col(), Row());
    const bool answer = gui::TStringGrid::SelectCell(aCol, aRow);
    RepaintCell(aCol, aRow);
    return answer;
}

void TBaseGrid::RepaintMergedFixedCells()
{
    if (FixedCols() > 0)
        for (int r = TopRow(); r <= std::min(TopRow() + VisibleRowCount(), RowCount() - 1); ++r)
            for (int c = 0; c < FixedCols(); ++c)
                if (IsMergedCell(c, r)) RepaintCell(c, r);
    if (FixedRows() > 0)
        for (int c = LeftCol(); c <= std::min(LeftCol() + VisibleColCount(), ColCount() - 1); ++c)
            for (int r = 0; r < FixedRows(); ++r)
                if (IsMergedCell(c, r)) RepaintCell(c, r);
}

void TBaseGrid::TopLeftChanged()
{
    gui::TStringGrid::TopLeftChanged();
    RepaintMergedFixedCells();
}

void TBaseGrid::SnapToBaseCell()
{
    if (!FindCellProperties(Col(), Row())) return;
    const gui::TPoint b = BaseCell(Col(), Row());
    if (b.X != Col()) gui::TStringGrid::SetCol(b.X);
    if (b.Y != Row()) gui::TStringGrid::SetRow(b.Y);
}

void TBaseGrid::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    const TCellProperties* props = FindCellProperties(Col(), Row());
    const gui::TPoint b = props ? BaseCell(Col(), Row()) : gui::TPoint(Col(), Row());
    const TCellProperties* base = props ? FindCellProperties(b.X, b.Y) : nullptr;
    const int sx = base ? std::max(base->CellSpanX(), 0) : 0, sy = base ? std::max(base->CellSpanY(), 0) : 0;
    switch (key) {
    case gui::VK_NEXT:
        if (VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1 && FHideLastRow && RowCount() > 1)
            SetRow(RowCount() - 2);
        break;
    case gui::VK_RIGHT:
        if (props && b.X + sx >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && b.X + sx < ColCount())
            gui::TStringGrid::SetCol(b.X + sx);
        break;
    case gui::VK_DOWN:
        if (props && b.Y + sy >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1)
            gui::TStringGrid::SetRow(b.Y + sy);
        break;
    case gui::VK_LEFT:
        // Only from a covered cell: to the block's first column first.
        if (props && Col() > b.X && Col() > FixedCols() && b.X > 0) gui::TStringGrid::SetCol(b.X);
        break;
    case gui::VK_UP:
        if (props && Row() > b.Y && Row() > FixedRows() && b.Y > 0) gui::TStringGrid::SetRow(b.Y);
        break;
    default: break;
    }
    const uint16_t pressed = key;
    gui::TStringGrid::KeyDown(key, shift);
    // The ordinary page step clamps at the last row; a hidden last row is
    // never made current by it.
    if (pressed == gui::VK_NEXT) KeepOffHiddenLastRow();
    SnapToBaseCell();
}

void TBaseGrid::KeepOffHiddenLastRow()
{
    if (FHideLastRow && RowCount() > 1 && Row() == RowCount() - 1 && RowCount() - 2 >= FixedRows())
        gui::TStringGrid::SetRow(RowCount() - 2);
}

bool TBaseGrid::DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos)
{
    const bool answer = gui::TStringGrid::DoMouseWheelDown(shift, mousePos);
    if (VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1 && FHideLastRow) SetTopRow(TopRow() + 1);
    KeepOffHiddenLastRow();
    SnapToBaseCell();
    return answer;
}

bool TBaseGrid::DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos)
{
    const bool answer = gui::TStringGrid::DoMouseWheelUp(shift, mousePos);
    SnapToBaseCell();
    return answer;
}

void TBaseGrid::ScaleGrid(int m, int d)
{
    if (m == d || d == 0) return;
    // Rounded to the nearest pixel, halves away from zero.
    const long long p = static_cast<long long>(DefaultRowHeight()) * m;
    const long long q = d < 0 ? -static_cast<long long>(d) : d;
    const long long n = d < 0 ? -p : p;
    const long long h = n >= 0 ? (n + q / 2) / q : -((-n + q / 2) / q);
    SetDefaultRowHeight(static_cast<int>(h));
}

} // namespace gridbase
