// TCustomGrid: counts, sizes, the layout of the cells in view, the current
// cell and selection, scrolling and the keyboard.
#include "platform/gui/Grids.h"

#include <algorithm>

namespace gui {

TCustomGrid::AxisInfo TCustomGrid::Horz() const
{
    AxisInfo a;
    a.Extents = &FColWidths;
    a.LineWidth = FOptions.Contains(TGridOption::goVertLine) ||
                          FOptions.Contains(TGridOption::goFixedVertLine)
                      ? FGridLineWidth
                      : 0;
    a.FixedCount = FFixedCols;
    a.Count = FColCount;
    a.First = FTopLeft.X;
    a.ClientExtent = ClientRect().Width();
    a.Compute();
    return a;
}

TCustomGrid::AxisInfo TCustomGrid::Vert() const
{
    AxisInfo a;
    a.Extents = &FRowHeights;
    a.LineWidth = FOptions.Contains(TGridOption::goHorzLine) ||
                          FOptions.Contains(TGridOption::goFixedHorzLine)
                      ? FGridLineWidth
                      : 0;
    a.FixedCount = FFixedRows;
    a.Count = FRowCount;
    a.First = FTopLeft.Y;
    a.ClientExtent = std::max(0, ClientRect().Height() - FBottomReserve);
    a.Compute();
    return a;
}

// ----------------------------------------------------------- construction

TCustomGrid::TCustomGrid(rtl::TComponent* owner) : TCustomControl(owner)
{
    FOptions = {TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine,
                TGridOption::goVertLine, TGridOption::goHorzLine, TGridOption::goRangeSelect};
    FColWidths.assign(static_cast<std::size_t>(FColCount), FDefaultColWidth);
    FRowHeights.assign(static_cast<std::size_t>(FRowCount), FDefaultRowHeight);
    ControlStyleRef() += TControlStyleItem::csCaptureMouse;
    ControlStyleRef() += TControlStyleItem::csOpaque;
    ControlStyleRef() += TControlStyleItem::csDoubleClicks;
    ControlStyleRef() += TControlStyleItem::csClickEvents;
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

// ---------------------------------------------------------------- counts

void TCustomGrid::SetAxisCount(bool cols, int value)
{
    if (value < 1) value = 1;
    int oldCols = FColCount, oldRows = FRowCount;
    if (cols) {
        if (value == FColCount) return;
        if (FFixedCols >= value) FFixedCols = value - 1;
        FColCount = value;
        FColWidths.resize(static_cast<std::size_t>(value), FDefaultColWidth);
    } else {
        if (value == FRowCount) return;
        if (FFixedRows >= value) FFixedRows = value - 1;
        FRowCount = value;
        FRowHeights.resize(static_cast<std::size_t>(value), FDefaultRowHeight);
    }
    SizeChangedInternal(oldCols, oldRows);
}

void TCustomGrid::SizeChangedInternal(int oldCols, int oldRows)
{
    auto clampCoord = [this](TGridCoord& c) {
        c.X = std::clamp(c.X, FFixedCols, FColCount - 1);
        c.Y = std::clamp(c.Y, FFixedRows, FRowCount - 1);
    };
    if (FEditorMode && (FCurrent.X >= FColCount || FCurrent.Y >= FRowCount)) HideEditor();
    clampCoord(FCurrent);
    clampCoord(FAnchor);
    TGridCoord maxTL = MaxTopLeft();
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, maxTL.X);
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, maxTL.Y);
    SizeChanged(oldCols, oldRows);
    UpdateScrollRange();
    InvalidateEditor();
    Invalidate();
}

void TCustomGrid::SetColCount(int value) { SetAxisCount(true, value); }
void TCustomGrid::SetRowCount(int value) { SetAxisCount(false, value); }

void TCustomGrid::SetFixedCols(int value)
{
    if (value == FFixedCols) return;
    if (value < 0) throw EInvalidGridOperation("Grid index out of range");
    if (value >= FColCount)
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    FFixedCols = value;
    FTopLeft.X = FCurrent.X = FAnchor.X = value;
    SizeChangedInternal(FColCount, FRowCount);
}

void TCustomGrid::SetFixedRows(int value)
{
    if (value == FFixedRows) return;
    if (value < 0) throw EInvalidGridOperation("Grid index out of range");
    if (value >= FRowCount)
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    FFixedRows = value;
    FTopLeft.Y = FCurrent.Y = FAnchor.Y = value;
    SizeChangedInternal(FColCount, FRowCount);
}

void TCustomGrid::SetDefaultColWidth(int value)
{
    FDefaultColWidth = value;
    std::fill(FColWidths.begin(), FColWidths.end(), value);
    ColWidthsChanged();
    UpdateScrollRange();
    InvalidateEditor();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int value)
{
    FDefaultRowHeight = value;
    std::fill(FRowHeights.begin(), FRowHeights.end(), value);
    RowHeightsChanged();
    UpdateScrollRange();
    InvalidateEditor();
    Invalidate();
}

int TCustomGrid::ColWidths(int index) const
{
    if (index < 0 || index >= FColCount) return FDefaultColWidth;
    return FColWidths[static_cast<std::size_t>(index)];
}

void TCustomGrid::SetColWidths(int index, int value)
{
    if (index < 0 || index >= FColCount) throw EInvalidGridOperation("Grid index out of range");
    int& w = FColWidths[static_cast<std::size_t>(index)];
    if (w == value) return;
    w = value;
    ColWidthsChanged();
    UpdateScrollRange();
    InvalidateEditor();
    Invalidate();
}

int TCustomGrid::RowHeights(int index) const
{
    if (index < 0 || index >= FRowCount) return FDefaultRowHeight;
    return FRowHeights[static_cast<std::size_t>(index)];
}

void TCustomGrid::SetRowHeights(int index, int value)
{
    if (index < 0 || index >= FRowCount) throw EInvalidGridOperation("Grid index out of range");
    int& h = FRowHeights[static_cast<std::size_t>(index)];
    if (h == value) return;
    h = value;
    RowHeightsChanged();
    UpdateScrollRange();
    InvalidateEditor();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int value)
{
    if (value == FGridLineWidth) return;
    FGridLineWidth = std::max(0, value);
    UpdateScrollRange();
    Invalidate();
}

int TCustomGrid::GridWidth() const { return Horz().GridBoundary; }
int TCustomGrid::GridHeight() const { return Vert().GridBoundary; }

void TCustomGrid::SetDefaultDrawing(bool value)
{
    if (value == FDefaultDrawing) return;
    FDefaultDrawing = value;
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor value)
{
    if (value == FFixedColor) return;
    FFixedColor = value;
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions value)
{
    if (value == FOptions) return;
    bool rowSelect = value.Contains(TGridOption::goRowSelect);
    if (rowSelect) value.Exclude(TGridOption::goAlwaysShowEditor);
    FOptions = value;
    if (!FOptions.Contains(TGridOption::goEditing) || rowSelect) HideEditor();
    else if (FOptions.Contains(TGridOption::goAlwaysShowEditor)) SetEditorMode(true);
    if (rowSelect || !FOptions.Contains(TGridOption::goRangeSelect)) FAnchor = FCurrent;
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle value)
{
    if (value == FScrollBars) return;
    FScrollBars = value;
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle value)
{
    FBorderStyle = value;
    Invalidate();
}

// -------------------------------------------------------------- position

int TCustomGrid::VisibleColCount() const
{
    AxisInfo h = Horz();
    return std::max(0, h.LastFullVisible - h.First + 1);
}

int TCustomGrid::VisibleRowCount() const
{
    AxisInfo v = Vert();
    return std::max(0, v.LastFullVisible - v.First + 1);
}

TGridCoord TCustomGrid::MaxTopLeft() const
{
    return {Horz().MaxFirst(), Vert().MaxFirst()};
}

TRect TCustomGrid::CellRect(int aCol, int aRow) const
{
    AxisInfo h = Horz(), v = Vert();
    int x = h.Start(aCol), y = v.Start(aRow);
    if (x < 0 || y < 0) return {};
    return {x, y, x + h.Extent(aCol), y + v.Extent(aRow)};
}

TRect TCustomGrid::BoxRect(int aLeft, int aTop, int aRight, int aBottom) const
{
    TRect r;
    for (int c = aLeft; c <= aRight; ++c)
        for (int rr = aTop; rr <= aBottom; ++rr) {
            TRect cell = CellRect(c, rr);
            if (!cell.IsEmpty()) UnionRect(r, r, cell);
        }
    return r;
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const
{
    TGridCoord c{Horz().CellAt(x), Vert().CellAt(y)};
    if (c.X < 0 || c.Y < 0) return {-1, -1};
    return c;
}

void TCustomGrid::MouseToCell(int x, int y, int& aCol, int& aRow) const
{
    TGridCoord c = MouseCoord(x, y);
    aCol = c.X;
    aRow = c.Y;
}

TGridRect TCustomGrid::Selection() const
{
    TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
                std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y)};
    if (FOptions.Contains(TGridOption::goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = FColCount - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& value)
{
    TGridRect old = Selection();
    FAnchor = {std::clamp(value.Left, FFixedCols, FColCount - 1),
               std::clamp(value.Top, FFixedRows, FRowCount - 1)};
    FCurrent = {std::clamp(value.Right, FFixedCols, FColCount - 1),
                std::clamp(value.Bottom, FFixedRows, FRowCount - 1)};
    SelectionMoved(old);
}

void TCustomGrid::SelectionMoved(const TGridRect& oldSel)
{
    // The selection is drawn from the current state: repaint both areas.
    TRect a = BoxRect(oldSel.Left, oldSel.Top, oldSel.Right, oldSel.Bottom);
    TGridRect s = Selection();
    TRect b = BoxRect(s.Left, s.Top, s.Right, s.Bottom);
    InvalidateRect(a);
    InvalidateRect(b);
}

bool TCustomGrid::SelectCell(int, int) { return true; }

void TCustomGrid::MoveColRow(int aCol, int aRow, bool moveAnchor, bool show)
{
    if (aCol < 0 || aRow < 0 || aCol >= FColCount || aRow >= FRowCount)
        throw EInvalidGridOperation("Grid index out of range");
    if (!SelectCell(aCol, aRow)) return;
    TGridRect oldSel = Selection();
    TGridCoord oldCurrent = FCurrent;
    // The editor's text belongs to the cell being left.
    if (FEditorMode && (aCol != FCurrent.X || aRow != FCurrent.Y)) {
        UpdateText();
        if (!FOptions.Contains(TGridOption::goAlwaysShowEditor)) HideEditor();
    }
    FCurrent = {aCol, aRow};
    // With range selection the anchor stays, also in row-select mode
    // (several whole rows selected at once).
    if (moveAnchor || !FOptions.Contains(TGridOption::goRangeSelect)) FAnchor = FCurrent;
    if (show) ClampInView(FCurrent);
    SelectionMoved(oldSel);
    InvalidateCell(oldCurrent.X, oldCurrent.Y);
    InvalidateCell(aCol, aRow);
}

void TCustomGrid::FocusCell(int aCol, int aRow, bool moveAnchor)
{
    TGridCoord old = FCurrent;
    MoveColRow(aCol, aRow, moveAnchor, true);
    UpdateEdit();
    if (!(old == FCurrent)) Click();
}

void TCustomGrid::SetCol(int value)
{
    if (value != FCurrent.X) FocusCell(value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int value)
{
    if (value != FCurrent.Y) FocusCell(FCurrent.X, value, true);
}

void TCustomGrid::ClampInView(TGridCoord coord)
{
    AxisInfo h = Horz(), v = Vert();
    int left = FTopLeft.X, top = FTopLeft.Y;
    if (coord.X >= FFixedCols) {
        if (coord.X < h.First) left = coord.X;
        else if (coord.X > h.LastFullVisible) left = h.FirstShowing(coord.X);
    }
    if (coord.Y >= FFixedRows) {
        if (coord.Y < v.First) top = coord.Y;
        else if (coord.Y > v.LastFullVisible) top = v.FirstShowing(coord.Y);
    }
    MoveTopLeft(left, top);
}

void TCustomGrid::MoveTopLeft(int aLeft, int aTop)
{
    TGridCoord maxTL = MaxTopLeft();
    aLeft = std::clamp(aLeft, FFixedCols, std::max(FFixedCols, maxTL.X));
    aTop = std::clamp(aTop, FFixedRows, std::max(FFixedRows, maxTL.Y));
    if (aLeft == FTopLeft.X && aTop == FTopLeft.Y) return;
    const TGridCoord old = FTopLeft;
    const bool vertBar = FVertBar, horzBar = FHorzBar;
    FTopLeft = {aLeft, aTop};
    UpdateScrollRange();
    InvalidateEditor();
    // A vertical scroll moves the pixels already shown where it can and
    // paints only the rows that come into view.
    const bool sameLayout = aLeft == old.X && vertBar == FVertBar && horzBar == FHorzBar;
    if (!(sameLayout && BlitScrollRows(old.Y))) Invalidate();
    TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int value) { MoveTopLeft(value, FTopLeft.Y); }
void TCustomGrid::SetTopRow(int value) { MoveTopLeft(FTopLeft.X, value); }

void TCustomGrid::TopLeftChanged()
{
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::FixedCellClick(int aCol, int aRow)
{
    if (OnFixedCellClick) OnFixedCellClick(this, aCol, aRow);
}

void TCustomGrid::ColumnMoved(int fromIndex, int toIndex)
{
    if (OnColumnMoved) OnColumnMoved(this, fromIndex, toIndex);
}

void TCustomGrid::RowMoved(int fromIndex, int toIndex)
{
    if (OnRowMoved) OnRowMoved(this, fromIndex, toIndex);
}

namespace {

// Moves element from to position to, shifting the ones between.
template <typename T>
void MoveItem(std::vector<T>& v, int from, int to)
{
    T item = v[static_cast<std::size_t>(from)];
    v.erase(v.begin() + from);
    v.insert(v.begin() + to, item);
}

// Where index i ends up when the item at from moves to to.
int MovedIndex(int i, int from, int to)
{
    if (i == from) return to;
    if (from < to && i > from && i <= to) return i - 1;
    if (from > to && i >= to && i < from) return i + 1;
    return i;
}

} // namespace

void TCustomGrid::MoveColumn(int fromIndex, int toIndex)
{
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= FColCount || toIndex >= FColCount)
        throw EInvalidGridOperation("Grid index out of range");
    if (fromIndex == toIndex) return;
    HideEditor();
    MoveItem(FColWidths, fromIndex, toIndex);
    ColumnMovedData(fromIndex, toIndex);
    FCurrent.X = MovedIndex(FCurrent.X, fromIndex, toIndex);
    FAnchor.X = MovedIndex(FAnchor.X, fromIndex, toIndex);
    ColumnMoved(fromIndex, toIndex);
    ColWidthsChanged();
    Invalidate();
}

void TCustomGrid::MoveRow(int fromIndex, int toIndex)
{
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= FRowCount || toIndex >= FRowCount)
        throw EInvalidGridOperation("Grid index out of range");
    if (fromIndex == toIndex) return;
    HideEditor();
    MoveItem(FRowHeights, fromIndex, toIndex);
    RowMovedData(fromIndex, toIndex);
    FCurrent.Y = MovedIndex(FCurrent.Y, fromIndex, toIndex);
    FAnchor.Y = MovedIndex(FAnchor.Y, fromIndex, toIndex);
    RowMoved(fromIndex, toIndex);
    RowHeightsChanged();
    Invalidate();
}

namespace {

// Where index i ends up when count items from from move to start at to.
int MovedBlockIndex(int i, int from, int count, int to)
{
    if (i >= from && i < from + count) return i - from + to;
    if (to < from && i >= to && i < from) return i + count;
    if (to > from && i >= from + count && i < to + count) return i - count;
    return i;
}

} // namespace

void TCustomGrid::MoveRowBlock(int fromIndex, int count, int toIndex)
{
    if (count <= 0 || fromIndex == toIndex) return;
    if (fromIndex < 0 || toIndex < 0 || fromIndex + count > FRowCount || toIndex + count > FRowCount)
        throw EInvalidGridOperation("Grid index out of range");
    HideEditor();
    auto first = FRowHeights.begin();
    if (toIndex < fromIndex) std::rotate(first + toIndex, first + fromIndex, first + fromIndex + count);
    else std::rotate(first + fromIndex, first + fromIndex + count, first + toIndex + count);
    RowBlockMovedData(fromIndex, count, toIndex);
    FCurrent.Y = MovedBlockIndex(FCurrent.Y, fromIndex, count, toIndex);
    FAnchor.Y = MovedBlockIndex(FAnchor.Y, fromIndex, count, toIndex);
    RowHeightsChanged();
    Invalidate();
}

void TCustomGrid::SetBottomReserve(int pixels)
{
    pixels = std::max(0, pixels);
    if (pixels == FBottomReserve) return;
    FBottomReserve = pixels;
    MoveTopLeft(FTopLeft.X, FTopLeft.Y);  // within the new range
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::PermuteRows(const std::vector<int>& order)
{
    const int n = static_cast<int>(order.size());
    if (n == 0) return;
    if (n > FRowCount) throw EInvalidGridOperation("Grid index out of range");
    std::vector<int> where(static_cast<std::size_t>(n), -1);  // old row -> new row
    for (int i = 0; i < n; ++i) {
        const int from = order[static_cast<std::size_t>(i)];
        if (from < 0 || from >= n || where[static_cast<std::size_t>(from)] != -1)
            throw EInvalidGridOperation("Grid index out of range");
        where[static_cast<std::size_t>(from)] = i;
    }
    HideEditor();
    std::vector<int> heights(FRowHeights.begin(), FRowHeights.begin() + n);
    for (int i = 0; i < n; ++i) FRowHeights[static_cast<std::size_t>(i)] = heights[static_cast<std::size_t>(order[i])];
    RowsPermutedData(order);
    if (FCurrent.Y >= 0 && FCurrent.Y < n) FCurrent.Y = where[static_cast<std::size_t>(FCurrent.Y)];
    if (FAnchor.Y >= 0 && FAnchor.Y < n) FAnchor.Y = where[static_cast<std::size_t>(FAnchor.Y)];
    RowHeightsChanged();
    Invalidate();
}

void TCustomGrid::RowBlockMovedData(int fromIndex, int count, int toIndex)
{
    if (toIndex < fromIndex)
        for (int k = 0; k < count; ++k) RowMovedData(fromIndex + k, toIndex + k);
    else
        for (int k = count - 1; k >= 0; --k) RowMovedData(fromIndex + k, toIndex + k);
}

void TCustomGrid::DeleteColumn(int aCol)
{
    MoveColumn(aCol, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TCustomGrid::DeleteRow(int aRow)
{
    MoveRow(aRow, FRowCount - 1);
    SetRowCount(FRowCount - 1);
}

// ------------------------------------------------------------- invalidation

void TCustomGrid::Invalidate()
{
    if (FUpdateLock > 0) {
        FUpdatePending = true;
        return;
    }
    TCustomControl::Invalidate();
}

void TCustomGrid::InvalidateRect(const TRect& r)
{
    if (r.IsEmpty()) return;
    if (FUpdateLock > 0) {
        FUpdatePending = true;
        return;
    }
    TControl::InvalidateRect(r);
}

void TCustomGrid::InvalidateCell(int aCol, int aRow)
{
    // Held back with a full repaint already due: nothing to add (and no
    // layout to compute for each cell a long update writes).
    if (FUpdateLock > 0 && FUpdatePending) return;
    TRect r = CellRect(aCol, aRow);
    InflateRect(r, 1, 1);   // the focus frame and the line around it
    InvalidateRect(r);
}

void TCustomGrid::InvalidateCol(int aCol)
{
    InvalidateRect(BoxRect(aCol, 0, aCol, FRowCount - 1));
}

void TCustomGrid::InvalidateRow(int aRow)
{
    InvalidateRect(BoxRect(0, aRow, FColCount - 1, aRow));
}

void TCustomGrid::BeginUpdate() { ++FUpdateLock; }

void TCustomGrid::EndUpdate()
{
    if (FUpdateLock == 0) return;
    if (--FUpdateLock == 0 && FUpdatePending) {
        FUpdatePending = false;
        Invalidate();
    }
}

void TCustomGrid::SetBounds(int left, int top, int width, int height)
{
    TCustomControl::SetBounds(left, top, width, height);
}

void TCustomGrid::Resize()
{
    // A new size may allow a smaller scroll position.
    TGridCoord maxTL = MaxTopLeft();
    if (FTopLeft.X > maxTL.X || FTopLeft.Y > maxTL.Y)
        MoveTopLeft(std::min(FTopLeft.X, maxTL.X), std::min(FTopLeft.Y, maxTL.Y));
    UpdateScrollRange();
    InvalidateEditor();
    TCustomControl::Resize();
}

// ---------------------------------------------------------------- keyboard

void TCustomGrid::KeyDown(uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const bool rowSelect = FOptions.Contains(TGridOption::goRowSelect);
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    TGridCoord cur = FCurrent, tl = FTopLeft;
    AxisInfo v = Vert();
    bool handled = true;
    if (ctrl) {
        switch (key) {
        case VK_UP: --tl.Y; break;
        case VK_DOWN: ++tl.Y; break;
        case VK_LEFT:
            if (!rowSelect) { cur.X -= PageWidth(); tl.X -= PageWidth(); }
            break;
        case VK_RIGHT:
            if (!rowSelect) { cur.X += PageWidth(); tl.X += PageWidth(); }
            break;
        case VK_PRIOR: cur.Y = FTopLeft.Y; break;
        case VK_NEXT: cur.Y = std::max(FTopLeft.Y, v.LastFullVisible); break;
        case VK_HOME: cur = {FFixedCols, FFixedRows}; break;
        case VK_END: cur = {FColCount - 1, FRowCount - 1}; break;
        default: handled = false;
        }
    } else {
        switch (key) {
        case VK_UP: --cur.Y; break;
        case VK_DOWN: ++cur.Y; break;
        case VK_LEFT:
            if (rowSelect) --tl.X; else --cur.X;
            break;
        case VK_RIGHT:
            if (rowSelect) ++tl.X; else ++cur.X;
            break;
        case VK_NEXT: cur.Y += PageHeight(); tl.Y += PageHeight(); break;
        case VK_PRIOR: cur.Y -= PageHeight(); tl.Y -= PageHeight(); break;
        case VK_HOME:
            if (rowSelect) cur.Y = FFixedRows; else cur.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect) cur.Y = FRowCount - 1; else cur.X = FColCount - 1;
            break;
        case VK_TAB:
            if (!FOptions.Contains(TGridOption::goTabs) || shift.Contains(TShiftStateItem::ssAlt)) {
                handled = false;
                break;
            }
            // Next (Shift: previous) tab-stop column, wrapping to the next
            // row; at the grid's end the key is left to the form.
            for (int guard = 0; guard < FColCount * 2; ++guard) {
                if (shift.Contains(TShiftStateItem::ssShift)) {
                    if (--cur.X < FFixedCols) {
                        cur.X = FColCount - 1;
                        if (--cur.Y < FFixedRows) { handled = false; break; }
                    }
                } else if (++cur.X >= FColCount) {
                    cur.X = FFixedCols;
                    if (++cur.Y >= FRowCount) { handled = false; break; }
                }
                if (TabStops(cur.X)) break;
            }
            if (!handled) cur = FCurrent;
            shift.Exclude(TShiftStateItem::ssShift);
            break;
        case VK_F2:
            if (FOptions.Contains(TGridOption::goEditing)) SetEditorMode(true);
            break;
        case VK_RETURN:
            if (FOptions.Contains(TGridOption::goEditing)) {
                if (FEditorMode) {
                    UpdateText();
                    if (!FOptions.Contains(TGridOption::goAlwaysShowEditor)) HideEditor();
                } else {
                    SetEditorMode(true);
                }
            } else {
                handled = false;
            }
            break;
        default: handled = false;
        }
    }
    if (!handled) return;
    TGridCoord maxTL = MaxTopLeft();
    tl.X = std::clamp(tl.X, FFixedCols, std::max(FFixedCols, maxTL.X));
    tl.Y = std::clamp(tl.Y, FFixedRows, std::max(FFixedRows, maxTL.Y));
    cur.X = std::clamp(cur.X, FFixedCols, FColCount - 1);
    cur.Y = std::clamp(cur.Y, FFixedRows, FRowCount - 1);
    if (!(tl == FTopLeft)) MoveTopLeft(tl.X, tl.Y);
    if (!(cur == FCurrent))
        FocusCell(cur.X, cur.Y, !shift.Contains(TShiftStateItem::ssShift));
    key = 0;
}

void TCustomGrid::KeyPress(char16_t& key)
{
    TCustomControl::KeyPress(key);
    if (key == 0) return;
    if (FOptions.Contains(TGridOption::goEditing) && !FOptions.Contains(TGridOption::goRowSelect) &&
        !FEditorMode && CanEditAcceptKey(key) && key != 127) {
        ShowEditorChar(key);
        key = 0;
    }
}

bool TCustomGrid::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheelDown(shift, mousePos)) return true;
    if (FCurrent.Y < FRowCount - 1) SetRow(FCurrent.Y + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheelUp(shift, mousePos)) return true;
    if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
    return true;
}

void TCustomGrid::DoExit()
{
    if (FEditorMode && !FOptions.Contains(TGridOption::goAlwaysShowEditor)) {
        UpdateText();
        HideEditor();
    }
    TCustomControl::DoExit();
}

} // namespace gui
