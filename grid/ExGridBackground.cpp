// TExStringGrid: the background picture or gradient behind cells without a
// colour of their own and in the client area outside the cells.
#include <algorithm>

#include "grid/ExGrid.h"

namespace grid {

namespace {

// Copies bmp tiled over r (clipped to it), the tile grid passing through
// (originX, originY).
void Tile(gui::TCanvas* canvas, gui::TBitmap* bmp, const gui::TRect& r, int originX, int originY)
{
    const int bw = bmp->Width(), bh = bmp->Height();
    if (bw <= 0 || bh <= 0 || r.Right <= r.Left || r.Bottom <= r.Top) return;
    const auto floorMod = [](int a, int m) { return ((a % m) + m) % m; };
    const int startX = r.Left - floorMod(r.Left - originX, bw);
    const int startY = r.Top - floorMod(r.Top - originY, bh);
    for (int y = startY; y < r.Bottom; y += bh)
        for (int x = startX; x < r.Right; x += bw) {
            const gui::TRect d{std::max(x, r.Left), std::max(y, r.Top), std::min(x + bw, r.Right),
                               std::min(y + bh, r.Bottom)};
            if (d.Right <= d.Left || d.Bottom <= d.Top) continue;
            canvas->CopyRect(d, bmp->Canvas(), {d.Left - x, d.Top - y, d.Right - x, d.Bottom - y});
        }
}

} // namespace

bool TExStringGrid::BackgroundCovers(int aCol, int aRow, bool fixedCell)
{
    const TBackGroundCells cells = FBackGround->Cells();
    if (cells == TBackGroundCells::bcNormal && fixedCell) return false;
    if (cells == TBackGroundCells::bcFixed && !fixedCell) return false;
    if (TBaseGrid::ShowSelection()) {
        const gui::TGridRect sel = Selection();
        if (sel.Contains(aCol, aRow)) {
            const bool current = aCol == Col() && aRow == Row();
            if (!current || Options().Contains(gui::TGridOption::goDrawFocusSelected)) return false;
        }
    }
    return true;
}

void TExStringGrid::DrawBackgroundPicture(gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect)
{
    TBackGround* bg = FBackGround.get();
    const TBackGroundDisplay display = bg->Display();
    const bool gradient =
        display == TBackGroundDisplay::bdGradientHorz || display == TBackGroundDisplay::bdGradientVert;
    if (!gradient && bg->Bitmap()->Empty()) return;
    const int rCol = RealColIndex(aCol);
    const bool fixedCell = aCol < TBaseGrid::FixedCols() || aRow < TBaseGrid::FixedRows();
    const TCellProperties* props = FindCellProperties(rCol, aRow);
    const bool ownColor = props && props->BrushColor() != gui::clNone;
    if (!BackgroundCovers(aCol, aRow, fixedCell)) return;
    const int lw = GridLineWidth() - 1;
    const gui::TRect r{rect.Left - lw, rect.Top - lw, rect.Right, rect.Bottom};

    if (gradient) {
        const TCellType t = GetCellType(rCol, aRow);
        const bool control = t == TCellType::ctCheckBox || t == TCellType::ctDataCheckBox ||
                             t == TCellType::ctRadio || t == TCellType::ctButton || t == TCellType::ctRadioButton;
        if (ownColor && !control) return;
        if (bg->ColorTo() == gui::clNone) return;
        const bool horz = display == TBackGroundDisplay::bdGradientHorz;
        const int extent = horz ? Width() : Height();
        const TColor from = gridbase::BlendColorAt(bg->Color(), bg->ColorTo(), 0, extent, horz ? r.Left : r.Top);
        const TColor to =
            gridbase::BlendColorAt(bg->Color(), bg->ColorTo(), 0, extent, horz ? r.Right - 1 : r.Bottom - 1);
        canvas->Brush()->SetColor(to);
        canvas->Pen()->SetColor(to);
        gridbase::DrawGradient(canvas, from, to, 128, r, horz);
        return;
    }
    if (ownColor) return;
    gui::TBitmap* bmp = bg->Bitmap();
    if (display == TBackGroundDisplay::bdTile) {
        // The tile phase runs on from the cells before this one, so tiles
        // join across cells.
        const int firstCol = bg->Cells() == TBackGroundCells::bcNormal ? TBaseGrid::FixedCols() : 0;
        const int firstRow = bg->Cells() == TBackGroundCells::bcNormal ? TBaseGrid::FixedRows() : 0;
        int sx = 0, sy = 0;
        for (int c = firstCol; c < aCol; ++c) sx += ColWidths(c);
        for (int rr = firstRow; rr < aRow; ++rr) sy += RowHeights(rr);
        // From one pixel left of and above the cell: its grid line joins in.
        const gui::TRect area{r.Left - 1, r.Top - 1, r.Right, r.Bottom};
        Tile(canvas, bmp, area, area.Left - sx % bmp->Width(), area.Top - sy % bmp->Height());
    } else {
        const gui::TRect pic{bg->Left(), bg->Top(), bg->Left() + bmp->Width(), bg->Top() + bmp->Height()};
        const gui::TRect d{std::max(pic.Left, r.Left), std::max(pic.Top, r.Top), std::min(pic.Right, r.Right),
                           std::min(pic.Bottom, r.Bottom)};
        if (d.Right > d.Left && d.Bottom > d.Top)
            canvas->CopyRect(d, bmp->Canvas(),
                             {d.Left - pic.Left, d.Top - pic.Top, d.Right - pic.Left, d.Bottom - pic.Top});
    }
}

void TExStringGrid::PaintBackgroundOutsideCells()
{
    TBackGround* bg = FBackGround.get();
    const TBackGroundDisplay display = bg->Display();
    const bool gradient =
        display == TBackGroundDisplay::bdGradientHorz || display == TBackGroundDisplay::bdGradientVert;
    if (gradient && bg->ColorTo() == gui::clNone) return;
    if (!gradient && bg->Bitmap()->Empty()) return;
    gui::TCanvas* cv = Canvas();
    gui::TRect client = ClientRect();
    if (SearchFooterShown()) client.Bottom -= 32;
    if (FFloatingFooter->Visible()) client.Bottom -= FFloatingFooter->Height();

    // The areas right of the last column and below the last row.
    const gui::TRect last = gui::TCustomGrid::CellRect(ColCount() - 1, RowCount() - 1);
    const bool lastColShown = last.Right > last.Left || LeftCol() + VisibleColCount() >= ColCount();
    const bool lastRowShown = last.Bottom > last.Top || TopRow() + VisibleRowCount() >= RowCount();
    if (!lastColShown && !lastRowShown) return;
    // Where the fixed and the shown cells end.  Only how far they reach
    // within the client area matters, so the sums stop at its edge: the
    // cost follows the columns and rows in view, not the grid's size.
    int right = 0, bottom = 0;
    for (int c = 0; c < ColCount() && right < client.Right; ++c)
        if (c < TBaseGrid::FixedCols() || c >= LeftCol()) right += std::max(0, ColWidths(c));
    const int fixedRows = std::min(TBaseGrid::FixedRows(), RowCount());
    for (int r = 0; r < fixedRows && bottom < client.Bottom; ++r) bottom += std::max(0, RowHeights(r));
    for (int r = std::max(TopRow(), fixedRows); r < RowCount() && bottom < client.Bottom; ++r)
        bottom += std::max(0, RowHeights(r));
    std::vector<gui::TRect> areas;
    if (lastColShown && right < client.Right) areas.push_back({right, client.Top, client.Right, client.Bottom});
    if (lastRowShown && bottom < client.Bottom)
        areas.push_back({client.Left, bottom, std::min(right, client.Right), client.Bottom});
    if (areas.empty()) return;

    for (const gui::TRect& a : areas) {
        if (gradient && bg->Bitmap()->Empty()) {
            const int saved = cv->SaveDC();
            cv->IntersectClipRect(a);
            gridbase::DrawGradient(cv, bg->Color(), bg->ColorTo(), 128, client,
                                   display == TBackGroundDisplay::bdGradientHorz);
            cv->RestoreDC(saved);
        } else if (!bg->Bitmap()->Empty() && display != TBackGroundDisplay::bdTile) {
            gui::TBitmap* bmp = bg->Bitmap();
            const gui::TRect pic{bg->Left(), bg->Top(), bg->Left() + bmp->Width(), bg->Top() + bmp->Height()};
            const gui::TRect d{std::max(pic.Left, a.Left), std::max(pic.Top, a.Top), std::min(pic.Right, a.Right),
                               std::min(pic.Bottom, a.Bottom)};
            if (d.Right > d.Left && d.Bottom > d.Top)
                cv->CopyRect(d, bmp->Canvas(),
                             {d.Left - pic.Left, d.Top - pic.Top, d.Right - pic.Left, d.Bottom - pic.Top});
        } else if (!bg->Bitmap()->Empty() && bg->Cells() != TBackGroundCells::bcFixed) {
            int ox = client.Left, oy = client.Top;
            if (bg->Cells() == TBackGroundCells::bcNormal) {
                const gui::TRect first = gui::TCustomGrid::CellRect(TBaseGrid::FixedCols(), TBaseGrid::FixedRows());
                ox = first.Left;
                oy = first.Top;
            }
            Tile(cv, bg->Bitmap(), a, ox + FXYOffset.X, oy + FXYOffset.Y);
        }
    }
}

} // namespace grid
