// Grids: TCustomGrid (cells in rows and columns with fixed header rows and
// columns, a current cell, a selection, scrolling, sizing and moving by
// mouse and in-place editing), TCustomDrawGrid / TDrawGrid (cells drawn by
// the owner through OnDrawCell) and TStringGrid (a text and an object per
// cell).
//
// Geometry.  Cells are laid out left to right and top to bottom; after every
// cell comes a grid line of GridLineWidth pixels (vertical lines only with
// goVertLine or goFixedVertLine, horizontal ones likewise).  The fixed cells
// stay in place; the scrolling cells start at LeftCol / TopRow.  A width or
// height below 0 hides the column or row (no cell, no line).
//
// Scroll bars belong to the grid's own window: they are painted in strips
// along the right and bottom edges, outside ClientRect, and send the grid
// WM_VSCROLL / WM_HSCROLL with the SB_* codes.  The thumb runs over 0..127,
// mapped linearly onto the scrolling range FixedRows..the largest TopRow
// (and likewise for the columns).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"

namespace gui {

class EInvalidGridOperation : public rtl::Exception {
public:
    using Exception::Exception;
};

enum class TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
    goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing,
    goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking, goFixedColClick,
    goFixedRowClick, goFixedHotTrack,
};
using TGridOptions = rtl::Set<TGridOption, 32>;

enum class TGridDrawStateItem { gdSelected, gdFocused, gdFixed, gdHotTrack, gdPressed };
using TGridDrawState = rtl::Set<TGridDrawStateItem, 8>;

enum class TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, all four bounds inclusive.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int col, int row) const
    {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// The thumb range of the grid's scroll bars.
constexpr int GridScrollBarMax = 127;

// A scroll bar's range for a proportional thumb: Page of Min..Max is in
// view.  Page 0: the thumb follows the visible and total scrolling cells.
struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
};

// Where the fixed and the scrolling cells of one axis lie in the client area.
struct TGridAxisDrawInfo {
    int FixedBoundary = 0;       // where the scrolling cells begin
    int GridBoundary = 0;        // where the cells end
    int FixedCellCount = 0;
    int FirstGridCell = 0;       // LeftCol / TopRow
    int LastFullVisibleCell = 0;
    int LastVisibleCell = 0;
    int GridCellCount = 0;
};
struct TGridDrawInfo {
    TGridAxisDrawInfo Horz, Vert;
};

using TSelectCellEvent =
    std::function<void(rtl::TObject* sender, int aCol, int aRow, bool& canSelect)>;
using TDrawCellEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, TRect rect,
                                          TGridDrawState state)>;
using TMovedEvent = std::function<void(rtl::TObject* sender, int fromIndex, int toIndex)>;
using TGetEditEvent =
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value)>;
using TSetEditEvent =
    std::function<void(rtl::TObject* sender, int aCol, int aRow, const std::string& value)>;
using TFixedCellClickEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow)>;

class TCustomGrid;

// The grid's one-line cell editor: a text with a caret and a selection,
// placed over the current cell.  Keys that move between cells (up, down,
// page keys, tab, Enter, Escape, and left / right at the ends of the text)
// go to the grid.
class TInplaceEdit : public TCustomControl {
public:
    explicit TInplaceEdit(rtl::TComponent* owner);

    TCustomGrid* Grid() const { return FGrid; }
    // The text (UTF-8).
    std::string EditText() const;
    void SetEditText(const std::string& text);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value) { FMaxLength = value; }
    // Caret position and selection in characters.
    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    void SetSel(int start, int length);
    void SelectAll();
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }

    // Places the editor over the grid's current cell and takes its text.
    virtual void UpdateContents();
    void Move(const TRect& r);
    void Deselect() { SetSel(static_cast<int>(FText.size()), 0); }

    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Dispatch(TMessage& message) override;

    std::string ClassName() const override { return "TInplaceEdit"; }

protected:
    void Paint() override;
    // The text changed by typing.
    virtual void Change();

private:
    friend class TCustomGrid;
    void ReplaceSelection(const std::u16string& text);
    int CharAtX(int x);

    TCustomGrid* FGrid = nullptr;
    std::u16string FText;
    int FSelStart = 0;
    int FSelLength = 0;
    int FMaxLength = 0;
    bool FModified = false;
};

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(rtl::TComponent* owner);
    ~TCustomGrid() override;

    // --- counts and sizes -----------------------------------------------
    int ColCount() const { return FColCount; }
    void SetColCount(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    // Fixed counts must stay below the counts: EInvalidGridOperation
    // "Fixed column count must be less than column count" otherwise.
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    // Gives every column this width.
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    // Gives every row this height.
    void SetDefaultRowHeight(int value);
    int ColWidths(int index) const;
    void SetColWidths(int index, int value);
    int RowHeights(int index) const;
    void SetRowHeights(int index, int value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);
    int GridWidth() const;
    int GridHeight() const;

    // --- look -----------------------------------------------------------
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);
    TGridOptions Options() const { return FOptions; }
    virtual void SetOptions(TGridOptions value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // --- position -------------------------------------------------------
    int Col() const { return FCurrent.X; }
    void SetCol(int value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int value);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int value);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int value);
    // Scrolling cells fully in view (at least the one partly shown).
    int VisibleColCount() const;
    int VisibleRowCount() const;
    TGridRect Selection() const;
    void SetSelection(const TGridRect& value);
    TGridState GridState() const { return FGridState; }

    // The rectangle of a cell in view (the line after it excluded); an
    // empty rectangle for a cell out of view.
    TRect CellRect(int aCol, int aRow) const;
    // The cell at a client point; -1 where there is no cell.
    TGridCoord MouseCoord(int x, int y) const;
    void MouseToCell(int x, int y, int& aCol, int& aRow) const;
    void InvalidateCell(int aCol, int aRow);
    void InvalidateCol(int aCol);
    void InvalidateRow(int aRow);
    void InvalidateGrid() { Invalidate(); }
    // Moves the current cell (SelectCell may refuse); moveAnchor starts a
    // new selection, show scrolls the cell into view.
    void MoveColRow(int aCol, int aRow, bool moveAnchor, bool show);
    void MoveColumn(int fromIndex, int toIndex);
    void MoveRow(int fromIndex, int toIndex);
    // Moves count rows from fromIndex so that they start at toIndex (the
    // rows between shift over), in one step: what a row holds travels with
    // it.  No move events.
    void MoveRowBlock(int fromIndex, int count, int toIndex);
    // Rearranges the first order.size() rows in one step: row i takes what
    // row order[i] held (order is a permutation of 0 .. size - 1).  The
    // current cell and anchor follow their rows.  No move events.
    void PermuteRows(const std::vector<int>& order);
    // Pixels at the bottom of the client area that a bar over the grid
    // covers: rows count as visible, and scroll into view, above them.
    int BottomReserve() const { return FBottomReserve; }
    void SetBottomReserve(int pixels);

    // --- editing --------------------------------------------------------
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool value);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    void ShowEditor();
    void HideEditor();
    // Opens the editor with one typed character as its text.
    void ShowEditorChar(char16_t ch);

    // Painting is held back between these (counted).
    void BeginUpdate();
    void EndUpdate();

    // --- scroll bars (read by tests and descendants) --------------------
    bool ScrollBarVisible(int bar) const { return bar == SB_VERT ? FVertBar : FHorzBar; }
    int ScrollBarPos(int bar) const { return bar == SB_VERT ? FVertPos : FHorzPos; }
    // Width of a scroll bar strip.
    static int ScrollBarSize();
    // show: the bar (SB_VERT, SB_HORZ or SB_BOTH) stays shown even while
    // everything fits (if the ScrollBars style has it); !show: it shows
    // only while there is something to scroll, as by default.
    void ShowScrollBar(int bar, bool show);
    // ESB_DISABLE_BOTH: the bar shows without a thumb and ignores the
    // mouse; ESB_ENABLE_BOTH undoes it.
    void EnableScrollBar(int bar, uint32_t flags);
    bool ScrollBarEnabled(int bar) const { return bar == SB_VERT ? !FVertDisabled : !FHorzDisabled; }
    // Where a bar's parts lie in the control (for descendants that draw the
    // bars their own way over the grid's drawing).
    void ScrollBarRects(int bar, TRect& whole, TRect& up, TRect& down, TRect& thumb) const;
    // The thumb's length from a range and page (SB_VERT or SB_HORZ); the
    // thumb's position stays the grid's own (0..127 over the scrolling cells).
    void SetScrollInfo(int bar, const TScrollInfo& info);
    // The range and page given last, with the thumb's current position.
    TScrollInfo GetScrollInfo(int bar) const;
    // The layout of both axes for the current scroll position.
    void CalcDrawInfo(TGridDrawInfo& info) const;

    TRect ClientRect() const override;
    void Invalidate() override;
    void SetBounds(int left, int top, int width, int height) override;
    void Dispatch(TMessage& message) override;

    // --- events ---------------------------------------------------------
    rtl::TNotifyEvent OnTopLeftChanged;
    TSelectCellEvent OnSelectCell;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TFixedCellClickEvent OnFixedCellClick;

    std::string ClassName() const override { return "TCustomGrid"; }

    // Handlers (public so that tests and owners can drive the grid).
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

protected:
    // --- what descendants provide or refine -----------------------------
    virtual void DrawCell(int aCol, int aRow, const TRect& rect, TGridDrawState state) = 0;
    virtual bool SelectCell(int aCol, int aRow);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual void SizeChanged(int oldColCount, int oldRowCount) {}
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void RowMoved(int fromIndex, int toIndex);
    virtual void FixedCellClick(int aCol, int aRow);
    virtual bool CanEditShow() const;
    virtual bool CanEditModify() const { return true; }
    virtual bool CanEditAcceptKey(char16_t key) const { return key >= 32; }
    virtual std::string GetEditText(int aCol, int aRow) { return {}; }
    virtual void SetEditText(int aCol, int aRow, const std::string& value) {}
    virtual int GetEditLimit() const { return 0; }
    virtual TInplaceEdit* CreateEditor();
    // Called after the current cell or the selection moved.
    virtual void SelectionMoved(const TGridRect& oldSel);
    // Whether a column takes part in tabbing.
    virtual bool TabStops(int aCol) const { return true; }
    // Mouse sizing: whether (x, y) lies on a column or row boundary that
    // may be dragged, with the index and the boundary's position.
    virtual void CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos,
                                 int& sizingOfs);
    // The test the mouse handling asks, with the layout of the fixed
    // cells; by default the test above.
    virtual void CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos,
                                 int& sizingOfs, TGridDrawInfo& fixedInfo);
    virtual bool BeginColumnDrag(int& origin, int& destination, const TPoint& mousePt);
    virtual bool EndColumnDrag(int& origin, int& destination, const TPoint& mousePt);
    // Removes a column or row: it moves to the end and the count shrinks
    // (a string grid keeps its texts there, beyond the count).
    virtual void DeleteColumn(int aCol);
    virtual void DeleteRow(int aRow);
    // Row or column data moved (the store follows; TStringGrid moves cells).
    virtual void ColumnMovedData(int fromIndex, int toIndex) {}
    virtual void RowMovedData(int fromIndex, int toIndex) {}
    virtual void RowBlockMovedData(int fromIndex, int count, int toIndex);
    // Rows rearranged by PermuteRows (the store follows).
    virtual void RowsPermutedData(const std::vector<int>& order) {}

    // Whether a vertical scroll may move the pixels already shown: true
    // while the picture of the scrolling rows simply moves with them (no
    // child controls over the grid).  A descendant that draws anything
    // else there answers false; the scroll then repaints the whole grid.
    virtual bool CanBlitScroll() const;
    // Pixels along the window's edges that a frame painted over the cells
    // covers; a blit scroll leaves them where they are.
    virtual int ScrollFrameWidth() const { return 0; }

    void Paint() override;
    // Paints the background of a cell as the desktop style does and, for
    // the current cell, the focus frame.
    void DrawCellBackground(const TRect& rect, TColor color, TGridDrawState state);
    void DrawCellHighlight(const TRect& rect, TGridDrawState state);
    void Resize() override;
    void DoExit() override;

    // Scrolls the grid so that the cell is fully in view.
    void ClampInView(TGridCoord coord);
    void FocusCell(int aCol, int aRow, bool moveAnchor);
    void MoveTopLeft(int aLeft, int aTop);
    void UpdateEdit();
    // Writes the editor's text to the cell.
    void UpdateText();
    void InvalidateEditor();
    // Scrolls for a scroll bar message (SB_* code, thumb position 0..127).
    virtual void ModifyScrollBar(int bar, int code, int pos);
    // Decides which scroll bars show and where their thumbs stand.
    virtual void UpdateScrollRange();
    // For the thumb's length: how many of how many scrolling cells show.
    virtual void ScrollBarExtent(int bar, int& visible, int& total) const;
    TGridCoord MaxTopLeft() const;
    void InvalidateRect(const TRect& r);
    TRect BoxRect(int aLeft, int aTop, int aRight, int aBottom) const;
    int PageHeight() const { return std::max(1, VisibleRowCount()); }
    int PageWidth() const { return std::max(1, VisibleColCount()); }
    bool Updating() const { return FUpdateLock > 0; }

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    std::vector<int> FColWidths;
    int FBottomReserve = 0;
    std::vector<int> FRowHeights;
    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
    TGridOptions FOptions;
    TScrollStyle FScrollBars = TScrollStyle::ssBoth;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridCoord FTopLeft{1, 1};
    TGridState FGridState = TGridState::gsNormal;
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    // The cell the editor shows, (-1, -1) while hidden, and its text when
    // the editor opened (Escape brings it back).
    TGridCoord FInplaceCell{-1, -1};
    std::string FInplaceOriginal;
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    TGridCoord FPressedCell{-1, -1};
    bool FHorzBar = false;
    bool FVertBar = false;
    int FHorzPos = 0;
    int FVertPos = 0;
    int FUpdateLock = 0;
    bool FUpdatePending = false;
    // Scroll bar being dragged: SB_VERT / SB_HORZ, -1 none.
    int FBarDrag = -1;
    int FBarDragOfs = 0;
    // ShowScrollBar and EnableScrollBar.
    bool FForceVert = false;
    bool FForceHorz = false;
    bool FVertDisabled = false;
    bool FHorzDisabled = false;
    TScrollInfo FVertInfo, FHorzInfo;

    friend class TInplaceEdit;
    struct AxisInfo;
    AxisInfo Horz() const;
    AxisInfo Vert() const;
    struct BarGeometry {
        TRect Whole, Up, Down, Track, Thumb;
    };
    BarGeometry ScrollBarGeometry(int bar) const;
    void PaintScrollBars();
    bool ScrollBarMouseDown(int x, int y);
    void ScrollBarMouseMove(int x, int y, bool release);
    void ComputeScrollBars();
    // Moves the scrolling rows' pixels from TopRow oldTop to the current
    // one and marks the uncovered strip; false when that cannot be done
    // (nothing happened then).
    bool BlitScrollRows(int oldTop);
protected:
    void SizeChangedInternal(int oldCols, int oldRows);
    void SetAxisCount(bool cols, int value);
};

// The layout of one axis (columns or rows) for the current scroll position.
struct TCustomGrid::AxisInfo {
    const std::vector<int>* Extents = nullptr;
    int LineWidth = 0;
    int FixedCount = 0;
    int Count = 0;
    int First = 0;            // first scrolling cell shown (LeftCol / TopRow)
    int ClientExtent = 0;
    int FixedBoundary = 0;    // where the scrolling cells begin
    int GridBoundary = 0;     // where the cells end (at most the client extent)
    int LastFullVisible = 0;  // last scrolling cell fully in view (First - 1: none)
    int LastVisible = 0;      // last scrolling cell at least partly in view

    // Width of a cell; below 0 for a hidden one.
    int Extent(int i) const { return (*Extents)[static_cast<std::size_t>(i)]; }
    // Room a cell takes with its line (0 when hidden).
    int Step(int i) const { return Extent(i) < 0 ? 0 : Extent(i) + LineWidth; }

    inline void Compute()
    {
        int pos = 0;
        for (int i = 0; i < FixedCount; ++i) pos += Step(i);
        FixedBoundary = pos;
        LastFullVisible = LastVisible = First - 1;
        for (int i = First; i < Count && pos < ClientExtent; ++i) {
            if (Extent(i) < 0) continue;
            int end = pos + Extent(i);
            if (end <= ClientExtent) LastFullVisible = i;
            LastVisible = i;
            pos = end + LineWidth;
        }
        GridBoundary = std::min(pos, ClientExtent);
    }

    // Start of a cell in view, -1 for a cell out of view or hidden.
    int Start(int i) const
    {
        if (i < 0 || i >= Count || Extent(i) < 0) return -1;
        int pos = 0;
        if (i < FixedCount) {
            for (int k = 0; k < i; ++k) pos += Step(k);
            return pos;
        }
        if (i < First || i > LastVisible) return -1;
        pos = FixedBoundary;
        for (int k = First; k < i; ++k) pos += Step(k);
        return pos;
    }

    // The cell at a coordinate, -1 where there is none; the line after a
    // cell belongs to it.
    int CellAt(int x) const
    {
        if (x < 0 || x >= GridBoundary) return -1;
        int pos = 0;
        for (int i = 0; i < FixedCount; ++i) {
            pos += Step(i);
            if (x < pos) return i;
        }
        for (int i = First; i <= LastVisible; ++i) {
            pos += Step(i);
            if (x < pos) return i;
        }
        return -1;
    }

    // The largest first scrolling cell that still fills the client extent.
    int MaxFirst() const
    {
        int avail = ClientExtent - FixedBoundary;
        int acc = 0, i = Count;
        while (i > FixedCount) {
            int add = Step(i - 1);
            if (acc > 0 && acc + add - LineWidth > avail) break;
            acc += add;
            --i;
        }
        return std::max(FixedCount, std::min(i, Count - 1));
    }

    // The first cell that shows cell target as the last one fully in view.
    int FirstShowing(int target) const
    {
        int avail = ClientExtent - FixedBoundary;
        int acc = Step(target), first = target;
        while (first > FixedCount) {
            int add = Step(first - 1);
            if (acc + add - LineWidth > avail) break;
            acc += add;
            --first;
        }
        return first;
    }
};


// A grid whose cells the owner draws (OnDrawCell); the editor's text comes
// from OnGetEditText and goes to OnSetEditText.
class TCustomDrawGrid : public TCustomGrid {
public:
    explicit TCustomDrawGrid(rtl::TComponent* owner) : TCustomGrid(owner) {}

    // The cell's rectangle, also for a cell out of view (relative to the
    // grid's current scroll position).
    TRect CellRectAny(int aCol, int aRow) const;

    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;

    std::string ClassName() const override { return "TCustomDrawGrid"; }

protected:
    void DrawCell(int aCol, int aRow, const TRect& rect, TGridDrawState state) override;
    bool SelectCell(int aCol, int aRow) override;
    std::string GetEditText(int aCol, int aRow) override;
    void SetEditText(int aCol, int aRow, const std::string& value) override;
};

class TDrawGrid : public TCustomDrawGrid {
public:
    explicit TDrawGrid(rtl::TComponent* owner) : TCustomDrawGrid(owner) {}
    std::string ClassName() const override { return "TDrawGrid"; }
};

// A grid of texts, with one object pointer per cell that the grid never
// frees.  Cells outside ColCount x RowCount keep their contents: shrinking
// and growing the counts again shows them unchanged.
class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(rtl::TComponent* owner) : TDrawGrid(owner) {}

    std::string Cells(int aCol, int aRow) const;
    void SetCells(int aCol, int aRow, const std::string& value);
    rtl::TObject* Objects(int aCol, int aRow) const;
    void SetObjects(int aCol, int aRow, rtl::TObject* value);
    // The texts of a row or a column, within the current counts.
    std::vector<std::string> Rows(int aRow) const;
    void SetRows(int aRow, const std::vector<std::string>& values);
    std::vector<std::string> Cols(int aCol) const;
    void SetCols(int aCol, const std::vector<std::string>& values);
    // Empties every cell, also the ones kept beyond the counts.
    void ClearCells();
    // Exchanges the whole contents (texts and objects, every stored column)
    // of two rows at once, without repainting; sorting uses it.
    void ExchangeRowData(int aRow1, int aRow2);
    // The stored text of a cell (nullptr for an empty cell) and its object,
    // from one look-up; for loops that read many cells (sorting).
    const std::string* FindCellData(int aCol, int aRow, rtl::TObject*& object) const;

    std::string ClassName() const override { return "TStringGrid"; }

protected:
    void DrawCell(int aCol, int aRow, const TRect& rect, TGridDrawState state) override;
    std::string GetEditText(int aCol, int aRow) override;
    void SetEditText(int aCol, int aRow, const std::string& value) override;
    void ColumnMovedData(int fromIndex, int toIndex) override;
    void RowMovedData(int fromIndex, int toIndex) override;
    void RowBlockMovedData(int fromIndex, int count, int toIndex) override;
    void RowsPermutedData(const std::vector<int>& order) override;

private:
    struct TCell {
        std::string Text;
        rtl::TObject* Object = nullptr;
    };
    static uint64_t Key(int c, int r)
    {
        return (uint64_t(uint32_t(c)) << 32) | uint32_t(r);
    }
    // Cells are stored by row: FRows[stored row][stored column], each row
    // as long as its last written column, so that reading a cell is two
    // indexings and writing one allocates nothing once its row is there.
    // Cells far out (at or beyond these bounds) go to a hash map instead,
    // so that a stray index costs one entry, not a table that long.
    static constexpr int DenseRows = 1 << 20;
    static constexpr int DenseCols = 1 << 12;
    static bool Dense(int c, int r) { return r < DenseRows && c < DenseCols; }
    // The cell at stored column and row, nullptr when never written.
    const TCell* FindStored(int c, int r) const;
    // The cell at a grid position, nullptr when never written or negative.
    const TCell* FindCell(int aCol, int aRow) const
    {
        return aCol < 0 || aRow < 0 ? nullptr : FindStored(StoredCol(aCol), StoredRow(aRow));
    }
    // The cell at stored column and row, made when missing.
    TCell& StoredCell(int c, int r);
    // Frees what an emptied cell beyond the dense bounds holds.
    void DropIfEmpty(int c, int r);
    // Cells are kept under stored column and row numbers; a moved row or
    // column only changes where its number stands in FRowIds / FColIds
    // (position -> stored number), so a move costs O(rows), not O(cells).
    // Positions beyond a list keep their own number.
    void Remap(bool cols, int fromIndex, int toIndex);
    int StoredCol(int aCol) const { return aCol < static_cast<int>(FColIds.size()) ? FColIds[aCol] : aCol; }
    int StoredRow(int aRow) const { return aRow < static_cast<int>(FRowIds.size()) ? FRowIds[aRow] : aRow; }
    std::vector<std::vector<TCell>> FRows;
    std::unordered_map<uint64_t, TCell> FFarCells;
    std::vector<int> FColIds;
    std::vector<int> FRowIds;
};

} // namespace gui
