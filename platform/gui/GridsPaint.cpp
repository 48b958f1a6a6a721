// TCustomGrid painting: every cell in view goes through DrawCell with its
// rectangle and state; with DefaultDrawing the grid first gives the cell
// the desktop style's background (header colour for fixed cells, the
// highlight for selected ones) and afterwards a focus frame.  Grid lines
// are drawn after each cell; the scroll bars in their strips.
#include "platform/gui/Grids.h"

namespace gui {

namespace {

// Light separator lines between data cells and a darker one around header
// cells, as the desktop's item views draw them.
constexpr TColor GridLineColor = 0xDCDCDC;
constexpr TColor FixedLineColor = clBtnShadow;

} // namespace

void TCustomGrid::DrawCellBackground(const TRect& rect, TColor color, TGridDrawState state)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(color);
    c->FillRect(rect);
}

void TCustomGrid::DrawCellHighlight(const TRect& rect, TGridDrawState state)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clHighlight);
    c->Font()->SetColor(clHighlightText);
    c->FillRect(rect);
}

void TCustomGrid::Paint()
{
    TCanvas* c = Canvas();
    const AxisInfo h = Horz(), v = Vert();
    const TRect client = ClientRect();
    const TGridRect sel = Selection();
    const bool rowSelect = FOptions.Contains(TGridOption::goRowSelect);
    const bool focused = Focused();

    std::vector<int> cols, rows;
    for (int i = 0; i < FFixedCols; ++i) if (h.Extent(i) >= 0) cols.push_back(i);
    for (int i = h.First; i <= h.LastVisible; ++i) if (h.Extent(i) >= 0) cols.push_back(i);
    for (int i = 0; i < FFixedRows; ++i) if (v.Extent(i) >= 0) rows.push_back(i);
    for (int i = v.First; i <= v.LastVisible; ++i) if (v.Extent(i) >= 0) rows.push_back(i);

    // A partial repaint (a scroll paints only the rows coming into view)
    // skips the rows that lie wholly outside the clip, lines included; the
    // scroll bar strips, repainted along with the rows, do not count.
    const int savedClip = c->SaveDC();
    c->IntersectClipRect(client);
    const TRect clip = c->ClipRect();
    c->RestoreDC(savedClip);
    for (int r : rows) {
        const int top = v.Start(r);
        if (top >= clip.Bottom || top + v.Extent(r) + v.LineWidth <= clip.Top) continue;
        for (int col : cols) {
            const int left = h.Start(col);
            TRect rect{left, top, left + h.Extent(col), top + v.Extent(r)};
            TGridDrawState state;
            const bool fixed = col < FFixedCols || r < FFixedRows;
            if (fixed) state += TGridDrawStateItem::gdFixed;
            else {
                if (sel.Contains(col, r)) state += TGridDrawStateItem::gdSelected;
                if (focused && col == FCurrent.X && r == FCurrent.Y)
                    state += TGridDrawStateItem::gdFocused;
            }
            c->SetFont(Font());
            if (FDefaultDrawing) {
                const bool isCurrent = col == FCurrent.X && r == FCurrent.Y;
                if (fixed) DrawCellBackground(rect, FFixedColor, state);
                else if (state.Contains(TGridDrawStateItem::gdSelected) &&
                         (!isCurrent || rowSelect ||
                          FOptions.Contains(TGridOption::goDrawFocusSelected)))
                    DrawCellHighlight(rect, state);
                else DrawCellBackground(rect, Color(), state);
            }
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            DrawCell(col, r, rect, state);
            if (FDefaultDrawing && state.Contains(TGridDrawStateItem::gdFocused) && !rowSelect &&
                !(FEditorMode && FInplaceEdit && FInplaceEdit->Visible())) {
                TRect fr = rect;
                c->Brush()->SetColor(Color());
                c->DrawFocusRect(fr);
            }
            // The lines after the cell.
            const bool vline = fixed ? FOptions.Contains(TGridOption::goFixedVertLine)
                                     : FOptions.Contains(TGridOption::goVertLine);
            const bool hline = fixed ? FOptions.Contains(TGridOption::goFixedHorzLine)
                                     : FOptions.Contains(TGridOption::goHorzLine);
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->Brush()->SetColor(fixed ? FixedLineColor : GridLineColor);
            if (vline && h.LineWidth > 0)
                c->FillRect({rect.Right, rect.Top, rect.Right + h.LineWidth, rect.Bottom + v.LineWidth});
            if (hline && v.LineWidth > 0)
                c->FillRect({rect.Left, rect.Bottom, rect.Right + h.LineWidth, rect.Bottom + v.LineWidth});
        }
    }
    // The area that no cell covers.
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    if (h.GridBoundary < client.Right) c->FillRect({h.GridBoundary, 0, client.Right, client.Bottom});
    if (v.GridBoundary < client.Bottom) c->FillRect({0, v.GridBoundary, h.GridBoundary, client.Bottom});
    PaintScrollBars();
}

void TCustomGrid::PaintScrollBars()
{
    TCanvas* c = Canvas();
    for (int bar : {SB_VERT, SB_HORZ}) {
        if (!(bar == SB_VERT ? FVertBar : FHorzBar)) continue;
        BarGeometry g = ScrollBarGeometry(bar);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(g.Whole);
        TRect up = g.Up, down = g.Down;
        const bool vert = bar == SB_VERT;
        c->DrawFrameControl(up, DFC_SCROLL, (vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | DFCS_FLAT);
        c->DrawFrameControl(down, DFC_SCROLL, (vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | DFCS_FLAT);
        if (!ScrollBarEnabled(bar)) continue;  // a disabled bar has no thumb
        c->Brush()->SetColor(clBtnShadow);
        c->Pen()->SetColor(clBtnShadow);
        c->RoundRect(g.Thumb.Left, g.Thumb.Top, g.Thumb.Right, g.Thumb.Bottom, 4, 4);
    }
    if (FVertBar && FHorzBar) {
        TRect cl = ClientRect();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect({cl.Right, cl.Bottom, Width(), Height()});
    }
}

} // namespace gui
