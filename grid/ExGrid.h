// ExGrid: TExStringGrid, the program's string grid control.  It builds on
// the grid base of gridbase/ (TBaseGrid: per-cell property records, merged
// cells, display-text events, undo link) and on htmltext/ (markup text and
// its picture cache), and adds per-cell hooks with their events, settings
// objects, fixed rows and columns that stay, cell formatting by row and
// cell, header lists and the lifecycle around them.
//
// Seam to gridio/: the grid's clipboard, file, print and settings
// operations live in gridio/, which sits above this folder.  gridio/
// registers one TGridIOHooks object at start (SetGridIOHooks); until then
// the grid does the least it can: copying puts the selected text (tab and
// CR LF separated) on the clipboard, column sizes are neither saved nor
// loaded, AssignCells copies nothing, the grid keeps a plain
// TPrintSettings for painting, a dropped text goes as it is into the
// non-fixed cells and a dropped file is not loaded.
//
// Indexes: per-cell accessors take real column indexes (hidden columns
// counted) and displayed rows; RowCount and ColCount count displayed rows
// and columns, AllRowCount and AllColCount add the hidden ones.
//
// The rule a caller must know: change counts and fixed areas through this
// class's setters (SetRowCount, SetFixedRows ...), not through the string
// grid's, so that fixed rows that stay, the footer row and the scroll bars
// follow.
//
//   auto* g = new grid::TExStringGrid(form);
//   g->SetParent(form);
//   g->SetColCount(7);
//   g->SetRowColor(3, 0xF0FAFF);           // a light row
//   g->SetCellFontStyle(2, 3, {gui::TFontStyle::fsBold});
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/ExCellGraphic.h"
#include "grid/ExGridLookSettings.h"
#include "grid/ExGridFilter.h"
#include "grid/ExGridEvents.h"
#include "grid/ExGridFind.h"
#include "grid/ExGridFooter.h"
#include "grid/ExGridSettings.h"
#include "grid/ExGridStructure.h"
#include "grid/ExGridTypes.h"
#include "grid/ExRichEdit.h"
#include "gridbase/BaseGrid.h"
#include "gridbase/ExObj.h"
#include "gridbase/ExUtil.h"
#include "gridbase/grdcheck.h"
#include "platform/rtl/Exceptions.h"

namespace gui {
class TBalloonTip;
class TPopupMenu;
class TTimer;
struct THintInfo;
}
namespace gridbase {
class TGRDDropTarget;
class TDragInput;
}

namespace grid {

// Declared beside it: the enumerations, event signatures and data-exchange
// hooks (grid/ExGridTypes.h); what the grid stores, with the plain settings'
// accessors (TExGridState, grid/ExGridState.h); its hooks that are empty
// here (TExGridSlots, grid/ExGridSlots.h); the structure operations by
// selection and the disjunct cell selection (TExGridStructure,
// grid/ExGridStructure.h); its event properties (TExGridEvents, grid/ExGridEvents.h).
class TExStringGrid : public TExGridStructure, public TExGridEvents {
    RTL_CLASS(TExStringGrid, gridbase::TBaseGrid)
    friend class TExGridStructure;
public:
    explicit TExStringGrid(rtl::TComponent* owner);
    // Gives the owner form its resize handler back, then frees every
    // companion and every cell property record the grid made, once.
    ~TExStringGrid() override;

    std::string ClassName() const override { return "TExStringGrid"; }

    // --- lifecycle (ExGrid.cpp) ----------------------------------------------
    // Settings and cells of another TExStringGrid (see the copying order in
    // the implementation); any other source is ignored.  ControlLook,
    // BackGround, Look and the selection colours are not copied.
    void Assign(const rtl::TPersistent* source) override;
    virtual void AssignCells(const rtl::TPersistent* source);
    void Loaded() override;
    void SetParent(gui::TWinControl* parent) override;
    // One request is swallowed right after an editor change (FEditChange).
    void Invalidate() override;
    void SetBounds(int left, int top, int width, int height) override;
    // Applies ScrollBarAlways: bars shown always, disabled while all fits.
    void UpdateAlwaysScrollBars(bool force);
    // The first form up the parent chain of control, or nullptr.
    static gui::TCustomForm* FindParentForm(const gui::TControl* control);
    // The owner form's resize handler while the grid lives.
    void ParentFormResize(rtl::TObject* sender);

    // Copy, cut and paste through the data-exchange hooks (see the seam above).
    void CopySelectionToClipboard();
    void CutSelectionToClipboard();
    void PasteSelectionFromClipboard();
    void SaveColSizes();
    void LoadColSizes();
    // gridio exchange: paste hooks, text and file drops (ExGridClipboard.cpp).
    // Stores one pasted value (undo registered, check boxes set by CheckTrue).
    virtual void PasteCellText(int aCol, int aRow, const std::string& value);
    // After a paste: with ShowModified.Enabled, rows r.Top .. r.Bottom modified.
    virtual void PastedCellsChanged(gui::TPoint sourceTopLeft, const gui::TRect& r, TClipOperation lastOp);
    virtual bool AllowFormattedClipboard();
    // Text drops: the dropped block's size (MeasureTextBlock's) and its
    // paste through the data-exchange hooks.  Without hooks the paste writes
    // the fields into the non-fixed cells inside the grid, unchanged.
    void MeasurePasteText(const std::string& text, gui::TPoint& size);
    int PasteTextAtCell(int aCol, int aRow, int& lines, int& fields, const std::string& text);
    // The column-order list (empty while no column was moved), for the column states.
    const std::vector<int>& ColumnOrderList() const { return FColumnOrder; }
    void SetColumnOrderList(std::vector<int> order) { FColumnOrder = std::move(order); }
    // The node count as a loader recounts it (rows whose column 0 holds a node).
    void SetNumNodes(int count) { FNumNodes = count; }

    // --- settings objects (ExGridSettings.cpp) --------------------------------
    // Copies a non-nil list.
    void SetLookupItems(const rtl::TStringList* v);

    // Hooks of the settings objects' OnChange (empty here; descendants react).
    virtual void NavigationChanged() {}
    virtual void MouseActionsChanged() {}

    // --- per-cell hooks (ExGridHooks.cpp) -------------------------------------
    void GetDefaultCellProperties(int aCol, int aRow, gui::TFont& font, gui::TBrush& brush, TColor& colorTo,
                                  TColor& mirrorColor, TColor& mirrorColorTo, TAlignment& ha, TVAlignment& va,
                                  bool& ww, TCellGradientDirection& gd) override;
    virtual void CanEditCell(int aCol, int aRow, bool& canEdit);
    virtual void SearchFooterAction(const std::string& value, int aCol, int aRow, TSearchAction action);
    virtual void GetCellHint(int aCol, int aRow, std::string& hint, std::u16string& wideHint);
    // Brush and font of a cell on screen: active-cell headers, the cell's
    // stored colours and font, then OnGetCellColor.
    virtual void GetCellColor(int aCol, int aRow, TGridDrawState state, gui::TBrush* brush, gui::TFont* font);
    virtual void GetCellPrintColor(int aCol, int aRow, TGridDrawState state, gui::TBrush* brush,
                                   gui::TFont* font);
    virtual void GetCellBorder(int aCol, int aRow, gui::TPen* pen, TCellBorders& borders);
    virtual void GetCellPrintBorder(int aCol, int aRow, gui::TPen* pen, TCellBorders& borders);
    virtual void QueryCellAlignment(int aCol, int aRow, TAlignment& hAlign, TVAlignment& vAlign);
    virtual void GetColumnFormat(int aCol, TSortStyle& style, std::string& prefix, std::string& suffix);
    virtual void GetCellEditorType(int aCol, int aRow, TEditorType& editor);
    virtual void ResolveEditorType(int aCol, int aRow, TEditorType& editor);
    virtual void IsFixedCell(int aCol, int aRow, bool& isFixed);
    // The editability test of every caller; OnCanEditCell gets the base
    // cell of a merged area and has the last word.
    virtual void CanEditBaseCell(int aCol, int aRow, bool& canEdit);
    virtual void IsPasswordCell(int aCol, int aRow, bool& isPassword);
    virtual void GetCellWordWrap(int aCol, int aRow, bool& wordWrap);
    virtual bool HasCombo(int aCol, int aRow);
    virtual bool HasSpinEdit(int aCol, int aRow);
    virtual void GetCheckTrue(int aCol, int aRow, std::string& value);
    virtual void GetCheckFalse(int aCol, int aRow, std::string& value);
    // Refills FilterList through OnGetColumnFilter; true when it holds entries.
    virtual bool GetColumnFilter(int aCol);
    // What the cell holds (ExGridGraphics.cpp); ctEmpty without graphic.
    virtual TCellType GetCellType(int aCol, int aRow);
    // Node and summary rows (ExGridNodes.cpp).
    virtual bool IsNode(int aRow) const;
    virtual bool IsSummary(int aRow) const;
    // IsFixedCell for painting, selection and navigation.
    bool IsFixed(int aCol, int aRow) const override;
    // The displayed index of a real column (all columns shown until hiding exists).
    int DisplColIndex(int aCol) const override;
    int RealColIndex(int aCol) const;
    bool IsHiddenColumn(int aCol) const { return aCol >= 0 && aCol <= 511 && !FVisibleCol[aCol]; }
    int NumHiddenColumns() const { return FNumHidden; }
    int StoreColCount() const override { return ColCount() + FNumHidden; }

    // --- hidden rows and columns (ExGridRows.cpp) -------------------------------
    // Real indexes; the last shown column is never hidden.
    void HideColumn(int colIndex) { HideColumns(colIndex, colIndex); }
    void HideColumns(int fromCol, int toCol);
    void UnHideColumn(int colIndex) { UnHideColumns(colIndex, colIndex); }
    void UnHideColumns(int fromCol, int toCol);
    void UnHideColumnsAll() { UnHideColumns(0, ColCount() + FNumHidden); }
    int TotalColCount() const { return ColCount() + FNumHidden; }
    // Hidden rows keep their cells, objects and height in GridItems().
    void HideRow(int rowIndex) { HideRows(rowIndex, rowIndex); }
    void HideRows(int fromRow, int toRow);
    void UnHideRow(int rowIndex) { UnHideRows(rowIndex, rowIndex); }
    void UnHideRows(int fromRow, int toRow);
    void UnHideRowsAll();
    bool IsHiddenRow(int rowIndex) const;
    int NumHiddenRows() const { return FGridItems ? FGridItems->Count() : 0; }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    virtual int DisplayToRealRow(int aRow) const;
    virtual int RealToDisplayRow(int aRow) const;
    int RealToDisplRow(int aRow) const { return RealToDisplayRow(aRow); }
    int DisplayToRealCol(int aCol) const { return RealColIndex(aCol); }
    int RealToDisplayCol(int aCol) const { return DisplColIndex(aCol); }
    // The current row; the setter fires OnRowChanged when the row changes.
    int Row() const { return TBaseGrid::Row(); }
    void SetRow(int value);
    void HideSelection();
    void UnHideSelection();
    bool SelectionHidden() const { return FSelHidden; }

    // --- structure and clearing (ExGridRows.cpp) --------------------------------
    virtual void InsertRows(int rowIndex, int rCount, bool updateCellControls = true);
    virtual void RemoveRows(int rowIndex, int rCount);
    virtual void RemoveRowBlock(int rowIndex, int rCount);
    void AddRow();
    virtual void InsertCols(int colIndex, int cCount);
    virtual void RemoveCols(int colIndex, int cCount);
    void AddColumn() { InsertCols(ColCount(), 1); }
    // Everything, hidden columns included; counts and sizes stay.
    void Clear();
    void RemoveDuplicates(int aCol, bool doCase);
    void MergeCols(int colIndex1, int colIndex2, const std::string& separator);

    // --- dimensions, headers, formatting (ExGridDims.cpp) ----------------------
    int RowCount() const { return TBaseGrid::RowCount(); }
    void SetRowCount(int value);
    int ColCount() const { return TBaseGrid::ColCount(); }
    void SetColCount(int value);
    // 1 when the platform count is 0 and FixedRowAlways is set.
    int FixedRows() const;
    void SetFixedRows(int value);
    int FixedCols() const;
    void SetFixedCols(int value);
    int AllColCount() const { return ColCount() + FNumHidden; }
    int AllRowCount() const { return RowCount() + (FGridItems ? FGridItems->Count() : 0); }
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int value);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int value);
    int DefaultRowHeight() const { return TBaseGrid::DefaultRowHeight(); }
    void SetDefaultRowHeight(int value);
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int value);
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int value);
    bool WordWrap() const { return FWordWrapEx; }
    void SetWordWrap(bool value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value);
    // The text-drawing flag of VAlignment: 0 top, 4 (DT_VCENTER), 8 (DT_BOTTOM).
    uint32_t VAlign() const { return FVAlign; }
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value);

    rtl::TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    void SetColumnHeaders(const rtl::TStringList* v);
    rtl::TStringList* RowHeaders() const { return FRowHeaders.get(); }
    void SetRowHeaders(const rtl::TStringList* v);
    void ShowColumnHeaders();
    void ShowRowHeaders();
    void ClearColumnHeaders();
    void ClearRowHeaders();
    // Column sizes follow changed headers (nothing until column sizing exists).
    virtual void ColumnHeadersChanged() {}

    // Appearance (the colours that only store and repaint are TExGridState's).
    bool ShowSelection() const { return TBaseGrid::ShowSelection(); }
    void SetShowSelection(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    gui::TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(const gui::TFont* v);
    gui::TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    void SetActiveCellFont(const gui::TFont* v);
    TGridLook Look() const { return FLook; }
    // Applies the look's colour preset (ExGridView.cpp).
    void SetLook(TGridLook v);
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int v);
    void SetAutoSize(bool v);  // True sizes the columns to their content (not while loading)
    // "4.6.1.0" whatever is assigned.
    std::string Version() const;
    void SetVersion(const std::string&) {}
    virtual uint32_t GetVersionNr() const { return 0x04060100; }
    gui::TCursor Cursor() const { return TBaseGrid::Cursor(); }
    // Also remembered as the cursor to restore after a temporary one.
    void SetCursor(gui::TCursor v);

    // Both repaint the bars when they change (ExGridFlatBars.cpp).
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType v);
    TColor ScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor v);
    bool ScrollProportional() const { return FScrollProportional; }
    // Off: the thumbs follow the visible and total scrolling cells again.
    void SetScrollProportional(bool v);
    // Thumb sizes in proportion to the visible part of the rows (columns).
    void UpdateVertScrollProportional();
    void UpdateHorzScrollProportional();
    // On: the search footer follows along and the grid takes the colours
    // of the desktop's current scheme at once (ExGridLookColors.cpp).
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);

    // Per-cell and per-row formatting (real column indexes, displayed rows).
    void SetCellColor(int aCol, int aRow, TColor color);
    void SetCellColorTo(int aCol, int aRow, TColor color);
    TColor GetCellBrushColor(int aCol, int aRow) const;
    void SetCellFontColor(int aCol, int aRow, TColor color);
    void SetCellFontStyle(int aCol, int aRow, gui::TFontStyles style);
    void SetCellAlignment(int aCol, int aRow, TAlignment alignment);
    bool GetCellReadOnly(int aCol, int aRow);
    gui::TControl* GetCellControl(int aCol, int aRow) const;
    // clNone frees the row's property records (every stored property goes).
    void SetRowColor(int aRow, TColor color);
    void SetRowColorTo(int aRow, TColor color);
    // clNone frees the records of cells without a background colour only.
    void SetRowFontColor(int aRow, TColor color);
    void RepaintRow(int aRow);

    // The current cell (the base cell of its merged area).
    virtual std::string GetCurrentCellText();
    virtual void SetCurrentCellText(const std::string& value);
    virtual std::string GetCurrentCellDisplText();
    virtual void SetCurrentCellEditText(const std::string& value);
    std::string CurrentCell() { return GetCurrentCellText(); }
    void SetCurrentCell(const std::string& v) { SetCurrentCellText(v); }
    void GetStrippedCellText(int aCol, int aRow, std::string& text);

    // By real row, past hidden rows.
    rtl::TStringList* GetHiddenRowItems(int realRow) const;
    void GetAllCells(int aCol, int realRow, std::string& text);
    rtl::TObject* GetAllObjects(int aCol, int realRow) const;
    int GetAllColWidths(int realCol) const;
    void SetAllColWidths(int realCol, int width);

    // Sort cross references of the last sort.
    std::vector<int>& SortRowXRef() { return FSortRowXRef; }
    int SortedRowIndex(int aRow) const;
    int UnSortedRowIndex(int aRow) const;

    void InsertTagInRange(const std::string& search, const std::string& tag, bool caseFlag, int fromCol,
                          int fromRow, int toCol, int toRow);
    void RemoveTagInRange(const std::string& tag, int fromCol, int fromRow, int toCol, int toRow);

    // An auto-range cell scroll bar gets the text's height as its range.
    void CellTextChanged(int aCol, int aRow) override;
    // Splits every column, then merges the MergedColumns in list order.
    void MergedColumnsChange();
    // Recalculates footer columns (-1: all).
    virtual void CalcFooter(int aCol);
    // Clears rows keeping their objects while FNilObjects is set.
    virtual void ClearRows(int row, int count);
    // Frees the property records and objects of the block and empties it.
    virtual void ClearRect(int fromCol, int fromRow, int toCol, int toRow);

    // The change notifiers the grid informs (not owned; kept once each).
    // A notifier freed while registered leaves the list by itself.
    void RegisterNotifier(TGridChangeNotifier* n);
    void UnRegisterNotifier(TGridChangeNotifier* n);
    const std::vector<TGridChangeNotifier*>& Notifiers() const { return FNotifierList; }

    // --- update lock --------------------------------------------------------
    int UpdateCount() const { return FUpdateCount; }
    void BeginUpdate();
    void EndUpdate();


    // --- painting (ExGridPaint.cpp, ExGridText.cpp) ---------------------------
    // The brush, font, gradient, word wrap and alignment of a cell.  map:
    // aCol is displayed and is mapped to its real index; select: selection
    // colours apply; print: for the printer.
    void GetVisualProperties(int aCol, int aRow, TGridDrawState& state, bool print, bool select, bool map,
                             gui::TBrush& brush, TColor& colorTo, TColor& mirrorColor, TColor& mirrorColorTo,
                             gui::TFont& font, TAlignment& ha, TVAlignment& va, bool& ww,
                             TCellGradientDirection& gd) override;
    // The colour (brush) and font an editor opened on the cell takes.
    void EditorLook(int aCol, int aRow, gui::TBrush& brush, gui::TFont& font);
    // Horizontal alignment in the low byte, vertical in the high byte.
    uint16_t ResolveCellAlignment(int aCol, int aRow);
    void GetFontProperties(int aCol, int rCol, bool remap, gui::TBrush& brush, gui::TFont& font,
                           TGridDrawState& state, int aRow);
    // The shown text: the cell text, numbers formatted through OnGetFloatFormat.
    virtual void GetFormattedCellText(int aCol, int aRow, std::string& text);
    virtual void GetFormulaText(int aCol, int aRow, std::string& text);
    // The size a cell's content needs (displayed column).
    void GetCellTextSize(int aCol, int aRow, gui::TPoint& size, bool reserveGraphic, bool wordWrapped);
    void CalcCellTextSize(int rCol, int dCol, gui::TPoint& size, bool reserveGraphic, bool wordWrapped,
                          int aRow);
    bool CellIsPassword(int aCol, int aRow);
    // The cell's graphic record or nullptr; creates nothing (ExGridGraphics.cpp).
    virtual TCellGraphic* GetCellGraphic(int aCol, int aRow);
    // The cell's graphic layer (ExGridRenderers.cpp).
    virtual void DrawCellGraphic(gui::TCanvas* canvas, int rCol, int aRow, const gui::TRect& rect,
                                 TGridDrawState state);
    virtual void RenderRichCell(int rCol, int aRow, const gui::TRect& rect, gui::TCanvas* canvas);
    // The background picture or gradient (ExGridBackground.cpp): outside
    // the cells, and under a cell without a colour of its own (displayed column).
    virtual void PaintBackgroundOutsideCells();
    virtual void DrawBackgroundPicture(gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect);
    virtual void PaintDesignHelper();
    // Rotated text: true with the angle in degrees (none until cell graphics).
    virtual bool IsRotated(int aCol, int aRow, int& angle);
    // --- selection model (ExGridSelect.cpp) ------------------------------------
    // "Invalid row accessed" / "Invalid column accessed" out of range.
    virtual bool GetRowSelect(int aRow) const;
    void SetRowSelect(int aRow, bool value);
    virtual bool GetColSelect(int aCol) const;
    void SetColSelect(int aCol, bool value);
    void SelectRows(int rowIndex, int rCount);
    void UnSelectRows(int rowIndex, int rCount);
    void SelectCols(int colIndex, int cCount);
    void UnSelectCols(int colIndex, int cCount);
    void SelectRange(int fromCol, int toCol, int fromRow, int toRow);
    void SelectCells(int fromCol, int fromRow, int toCol, int toRow);
    void ClearRowSelect();
    void ClearColSelect();
    void MarkSelectedRows(bool clearOthers);
    bool IsSelected(int aCol, int aRow) const;
    int SelectedRowCount() const;
    int CountSelectedRows() const { return SelectedRowCount(); }
    int NthSelectedRow(int index) const;
    int RowSelectCount() const;
    int ColSelectCount() const;
    int SelectedColCount() const;
    std::string SelectedText();
    std::string SelectedCellText(int aCol, int aRow);
    void SetRowModified(int aRow, bool value);
    bool GetRowModified(int aRow) const;
    int ModifiedRowCount() const;
    void ClearModifiedRows();

    // --- update lock, notification, validation (ExGridMessages.cpp) -------------
    void StartUpdate() { ++FUpdateCount; }
    // Unlocks at once, without a repaint.
    void ResetUpdate();
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool v)
    {
        if (v) BeginUpdate();
        else EndUpdate();
    }
    virtual void CellChanged(int aCol, int aRow) { CalcFooter(aCol); }
    virtual void RememberCellValue(int aCol, int aRow);
    virtual void CellsChanged(const gui::TRect& r);
    virtual void AllCellsChanged() { CalcFooter(-1); }
    // Called by printing and every export and import; empty here, a
    // data-aware grid moves its data to the announced row.
    virtual void ExportNotification(TGridExportState state, int aRow) {}
    virtual void ImportNotification(TGridImportState state, int aRow) {}
    // True when the value is accepted (or there was nothing to validate); a
    // refused value brings the editor back on the edited cell.
    virtual bool ValidateCell(const std::string& newValue);
    // Posts "GridEditDone" to the grid: OnEditCellDone fires after the
    // current message.
    void EditingDone(int aCol, int aRow);
    virtual std::string GetVersionString() const { return Version() + " Aug, 2009"; }
    // The last invalid-entry balloon (shown by the hint window once it exists).
    const std::string& LastBalloonText() const { return FLastBalloonText; }
    // Whether the inplace editor is open on the current cell.
    bool Editing() const { return FEditing; }
    gui::TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    void SetRowIndicator(const gui::TBitmap* v);
    TSortSettings* SortSettings() const { return FSortSettings.get(); }
    void DrawSortIndicator(gui::TCanvas* canvas, int aCol, int y, int x);

    // --- view services (ExGridView.cpp) ---------------------------------------
    static void LookToString(TGridLook look, std::string& s);
    static void LookToCaption(TGridLook look, std::string& s);
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool v);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor v);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool v);
    void RepaintCol(int aCol);
    // Cell coordinates; nothing for a negative one.
    void RepaintRect(const gui::TRect& r);
    void SwapCells(gui::TGridCoord from, gui::TGridCoord to);
    void ScrollInView(int colIndex, int rowIndex);
    // Moves a column or row (with the controls placed in cells).
    void MoveColumn(int fromIndex, int toIndex);
    void MoveRow(int fromIndex, int toIndex);

    // --- input (ExGridInput.cpp, ExGridKeyDown.cpp, ExGridPress.cpp) -------------
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void DblClick() override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseLeft();  // the pointer left the grid
    // The sizing hint's text while a column or row is sized ("cw=<b>80</b>").
    const std::string& LastSizingHint() const { return FLastSizingHint; }
    bool DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos) override;
    bool DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos) override;
    // Appends an empty row (before a visible footer row) unless OnCanAddRow refuses.
    void AutoAddRow();
    class TExInplaceEdit* NormalEdit() const;  // the text editor, once created
    // True on a header's column border (goColSizing) or a fixed column's row border (goRowSizing).
    bool IsOnSizingBorder(int x, int y);
    // The repaints and OnRowChanged of a move of the current cell SelectCell accepted.
    void CellMoveAccepted(int oldCol, int oldRow, int aCol, int aRow, const gui::TGridRect& oldSelection);
    void CurrentCellMoved() override;
    virtual void SelectionChanged(int aLeft, int aTop, int aRight, int aBottom);
    virtual void AutoInsertRow(int aRow);
    virtual void AutoDeleteRow(int aRow);
    virtual void SaveCellText(int aCol, int aRow, std::string& text);
    virtual void LoadCellText(int aCol, int aRow, const std::string& text);
    // XOR lines shown while a column or row edge is dragged; twice removes them.
    void DrawColSizeLine(int x);
    void DrawRowSizeLine(int y);
    // Rows the wheel moves per notch: WheelIncrement, or the desktop's setting.
    int WheelStep() const;
    // Adds x pixels to every shown column width and row height (and x to
    // ZoomFactor); a total beyond -10..10 is refused.
    void Zoom(int x);
    // The text of the last scroll hint (shown by the hint window once it exists).
    const std::string& LastScrollHint() const { return FLastScrollHint; }

    // --- editing and Tab navigation (ExGridTab.cpp, ExGridEdit.cpp) ------------
    // Whether the cell (real column) could be edited now: editing switched
    // on, the base cell editable and not fixed.
    bool IsEditable(int aCol, int aRow);
    // The first column navigation may reach (1 in a grid with nodes and no
    // fixed column).
    int FirstNavigableCol() const;
    // One Tab (backward: Shift+Tab) step through the cells that can take the
    // focus.  In a grid where Tab reaches no such cell it stops after one
    // pass, with the current cell where it was.
    void TabNavigate(bool backward);
    bool CanTabToCell(int aCol, int aRow);
    // -1 when no cell of the row can take the focus.
    int FirstTabCol(int aRow);
    int LastTabCol(int aRow);
    bool IsLastRow() const;
    // Hooks for descendants: the editors' key handling runs EditorKeyDown
    // first; WrapToFirstRow runs when Tab passes the last row.
    virtual void EditorKeyDown(uint16_t& key, gui::TShiftState shift) {}
    virtual void WrapToFirstRow();
    // Typed cell values (real columns).  The getters raise ZEziDoroZezuz
    // when the text is no number; "" and "-" read as 0.
    int GetCellInteger(int aCol, int aRow);
    void SetCellInteger(int aCol, int aRow, int value);
    double GetCellFloat(int aCol, int aRow);
    void SetCellFloat(int aCol, int aRow, double value);
    // The unit editor's split of a cell text, character by character:
    // digits, "-" and the locale separators go to the number, the rest to
    // the unit ("12 kg" gives "12" and " kg"; "1a2" gives "12" and "a").
    static void SplitUnitText(const std::string& text, std::string& number, std::string& unit);
    // The desktop's own flat scroll bars (with their different thumb range)
    // do not exist here: the grid draws its bars flat itself (see
    // PaintFlatScrollBars) and keeps their 0..127 positions.
    bool IsFlat() const { return false; }
    // The editor kind chosen for the cell being edited, and whether an
    // editor (text or special) is open for the current cell.
    TEditorType EditControl() const { return FEditControl; }
    bool EditMode() const;
    // The text kinds open the default text editor; every other type takes
    // the special-editor path.
    static bool IsTextEditorKind(TEditorType t);
    // Cells holding a control that a click operates (HasClickControl, with
    // the cell graphics) open no text editor.
    // Puts the text the current cell had when editing began back.
    virtual void RestoreCellFromCache();
    // True when goTabs is on or a validation handler is assigned.
    bool EditorWantsTab() const;
    // The editor was closed without keeping its text (Esc).
    void EndEditing();
    // The value the last validation produced.
    const std::string& NewCellText() const { return FNewCellText; }
    // Set while the grid fills its editor: OnEditChange stays quiet.
    bool NoEditChange() const { return FNoEditChange; }
    void SetNoEditChange(bool v) { FNoEditChange = v; }
    // Moves on from (aCol, aRow) after Enter (with AdvanceOnEnter or force):
    // to the next cell that may be edited, appending a row or column at the
    // end with AdvanceInsert.  A grid without an editable cell keeps its
    // current cell.
    void AdvanceToNextCell(int aCol, int aRow, bool showEditor, bool retry, bool forward, bool autoEdit,
                           bool force);
    // The grid's character keys: Esc undoes an open edit, Enter advances.
    void KeyPress(char16_t& key) override;
    // Enter typed in the default editor reaches the grid through here.
    void EnterFromEditor(char16_t& key);
    // The editor's cursor walk: the current cell moves to the nearest
    // editable cell of the row to the left (step -1) or right (+1), and
    // with CursorWalkAlwaysEdit the editor opens there.
    void WalkToEditableCell(int step);
    // Sizes a column to its contents (SizeGrowOnly: never narrower); the
    // double click on a header border calls it.
    virtual void AutoSizeCol(int aCol);
    // The 6 x 6 pixel handle at the bottom-right corner of the selection
    // (with SelectionResizer and SelectionRectangle).
    bool OnSelectionHandle(int x, int y) const;
    bool Panning() const { return FPanning; }
    // The panning cursor shown now (8000 neutral, 8001..8008 by direction).
    int PanCursor() const { return FPanCursor; }

    // --- special editors, edit link, inline controls (ExGridSpecial.cpp, ExGridInline.cpp) ---
    // Entry points of an edit: open the editor of the current cell, close
    // it (reading a special editor's value back), and close it for a key
    // that the grid then handles (Tab, arrows, Enter's advance).
    void ShowInplaceEdit();
    void HideInplaceEdit();
    void DoneInplaceEdit(uint16_t key, gui::TShiftState shift);
    // Places, fills and shows (reads back and hides) the special editor of
    // EditControl() for a cell (displayed column).
    void ShowSpecialEditor(int aCol, int aRow);
    void HideSpecialEditor(int aCol, int aRow);
    void HideCellEdit() { HideSpecialEditor(Col(), Row()); }
    void DatePickerCloseUp(rtl::TObject* sender);  // OnDatePickerCloseUp; DirectDateClose ends the edit
    // Starts editing as F2 does.
    void ShowCellEdit();
    // An editor's text into a cell (real column), through SetEditText.
    virtual void StoreEditorText(int aCol, int aRow, const std::string& value);
    // OnEllipsClick on the current cell; its answer (the text by default).
    virtual std::string DoEllipsClick(const std::string& text);
    // The grid's own editors, made on first use.
    class TGridSpin* EditSpin();
    class TGridCombo* EditCombo();
    class TGridCheckBox* EditCheck();
    class TGridEditBtn* EditBtn();
    class TGridUnitEditBtn* UnitEditBtn();
    class TGridDatePicker* EditDate();
    class TGridDateTimePicker* EditDateTime();
    class TGridButton* GridButton();
    class TGridTransEdit* EditTrans();
    // The special editor showing now (nullptr for the text editors and the check box).
    gui::TWinControl* EditCtrl() const { return FEditCtrl; }
    bool SpecialEditorOpen() const { return FSpecialEditor; }
    // The user's editor of edCustom cells; not owned.
    class TEditLink* EditLink() const { return FEditLink; }
    void SetEditLink(class TEditLink* link);
    // The edit link's window procedure in front of its control (esInplace).
    void EditLinkWndProc(gui::TMessage& m);
    // A press on the grid while an edit link's popup is open closes the
    // popup as its deactivation does (where the window system reports none).
    void ClosePopupLink();
    // The edit mask of a cell's text editor (real column): OnGetEditMask,
    // empty for none (see ExEditMask.h for the notation).
    virtual std::string GetEditMask(int aCol, int aRow);
    // SelectCell's switch of goEditing for the cell about to become current.
    void SwitchEditingForCell(int aCol, int aRow);
    std::function<void(gui::TMessage&)> FGridControlWndProc;
    // A refused value keeps the editor: the grid does not advance meanwhile.
    bool FNoAutoAdvance = false;
    bool LButFlg = false;
    bool FLastValidation = true;
    rtl::TDateTime OriginalDateTime() const { return FOriginalDateTime; }
    // The text of the cell when editing began.
    const std::string& CellCache() const { return FCellCache; }
    // The character that started the edit (sent to the editor once shown)
    // and a step of the spin editor at once (a click on a spin button).
    void SetStartEditChar(char16_t c) { FStartEditChar = c; }
    void SetSpinClickStart(bool up, bool down) { FSpinUpClick = up, FSpinDnClick = down; }
    // Inline form controls of HTML cells: a press on a control (real
    // column); false when the press was no control's.
    bool ControlPress(int aCol, int aRow, int x, int y);
    void ShowInlineControl(const std::string& cellText, const std::string& ctrlType, int aRow, int aCol,
                           int aDisplayCol, const gui::TRect& ctrlRect, const std::string& ctrlValue,
                           const std::string& ctrlID);
    void InlineControlExit(rtl::TObject* sender);
    void ControlComboSelect(rtl::TObject* sender);
    // Opens the next edit or combo control after controlID in the cell
    // (displayed column); none left: the grid takes the focus.
    void EditNextCellControl(int aCol, int aRow, const std::string& controlID);
    // The borderless editor over a cell that may not be edited.
    void ShowTransparentEditor(int aCol, int aRow);
    class TControlEdit* InlineEdit();
    class TControlCombo* InlineCombo();
    gui::TPoint CtrlXY() const { return FCtrlXY; }
    const std::string& CtrlID() const { return FCtrlID; }
    const std::string& CtrlType() const { return FCtrlType; }
    bool CtrlEditing() const { return FCtrlEditing; }
    bool CtrlDown() const { return FCtrlDown; }
private:
    gui::TRect EditorCellRect(int aCol, int aRow);
    bool FEditActive = false;
    char16_t FStartEditChar = 0;
    bool FSpinUpClick = false, FSpinDnClick = false;
    rtl::TDateTime FOriginalDateTime = 0;
    gui::TWinControl* FEditCtrl = nullptr;
    class TEditLink* FEditLink = nullptr;
    TGridSpin* FEditSpin = nullptr;
    TGridCombo* FEditCombo = nullptr;
    TGridCheckBox* FEditCheck = nullptr;
    TGridEditBtn* FEditBtn = nullptr;
    TGridUnitEditBtn* FUnitEditBtn = nullptr;
    TGridDatePicker* FEditDate = nullptr;
    TGridDateTimePicker* FEditDateTime = nullptr;
    TGridButton* FGridButton = nullptr;
    TGridTransEdit* FEditTrans = nullptr;
    TControlEdit* FInlineEdit = nullptr;
    TControlCombo* FInlineCombo = nullptr;
    gui::TPoint FCtrlXY{-1, -1};
    std::string FCtrlID, FCtrlType;
    bool FCtrlEditing = false, FCtrlDown = false;
public:

protected:
    // Editor choice: refuses the text editor for edNone, click-control
    // cells and every special type; otherwise opens it for the text kinds.
    bool CanEditShow() const override;
    virtual bool CanShowInplaceEditor();
    std::string GetEditText(int aCol, int aRow) override;
    void SetEditText(int aCol, int aRow, const std::string& value) override;
    gui::TInplaceEdit* CreateEditor() override;
    // Whether the cell may become current: the change events agree, it is
    // no fixed cell, not the floating footer's row and not column 0 of a
    // grid with nodes; a covered merged cell hands over to its base cell.
    bool SelectCell(int aCol, int aRow) override;

public:

    // --- column sizing and order (ExGridColumns.cpp) ---------------------------
    // The block of cells that saving, export and copying cover.
    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    // -1: the last column; "Stretch column index out of range" beyond it.
    void StretchColumn(int aCol);
    void StretchRightColumn() { StretchColumn(ColCount() - 1); }
    void InitOrigColSizes();
    void SetColumnOrder();
    void ResetColumnOrder();
    int ColumnPosition(int aCol) const;
    int ColumnAtPosition(int aCol) const;
    void ScreenToCell(gui::TPoint pt, int& aCol, int& aRow) const;

    void Dispatch(gui::TMessage& message) override;

    // --- filtering, find, highlight, fills, calculations, footers (gridfilter:
    //     ExGridFilter.cpp, ExGridFind.cpp, ExGridMark.cpp, ExGridCalc.cpp, ExGridFooter.cpp) ---
    bool FilterActive() const { return FFilterActive; }
    void SetFilterActive(bool value);
    int FilterDropDownRow() const { return FFilterRow; }
    // Values at or beyond FixedRows are ignored.
    void SetFilterDropDownRow(int value);
    int FilterLevel() const { return FFilterLevel; }
    // Whether displayed row aRow passes Filter (then OnCustomFilter).
    virtual bool RowMatchesFilter(int aRow);
    // Hides, as one new level, every normal row that fails the filter.
    void ApplyFilter();
    // Hides displayed row aRow directly (no level) when it fails the filter.
    void FilterRow(int aRow);
    // Takes the last level back: false when there was none, else whether
    // more than one level remains.
    bool RemoveLastFilter();
    void RemoveAllFilters();
    // Incremental narrowing: one level more per added character, one less
    // per removed character; column -1 searches the whole row.
    void NarrowDown(const std::string& condition, int column);
    virtual void FilterDropListSelect(int itemIndex);
    // Fills FilterList for the column (OnGetColumnFilter, else the column's
    // distinct values) and drops the list down under the column's cell of
    // FilterDropDownRow; false when there is nothing to show.
    bool ShowFilterDropDown(int aCol);
    TDropList* DropList();
    // The column whose drop-down list is open (-1: none).
    int FilterColumn() const { return FFilterCol; }
    // Draws the filter button of a cell of FilterDropDownRow whose column
    // has filter entries; true when it did (the text then leaves it room).
    bool DrawFilterButton(gui::TCanvas* canvas, int rCol, int aRow, const gui::TRect& rect);
    // A release on a filter button opens its list; any other release closes
    // an open one.
    void FilterButtonRelease(int x, int y);
    // Hides the listed displayed rows (ascending) as one new filter level /
    // shows the rows of the last level again.
    void HideRowList(const std::vector<int>& rows);
    void UnHideRowList();
    virtual void DoFilterDone();

    // Find and replace (ExGridFind.cpp).  Cells as (X = column, Y = row).
    gui::TPoint Find(gui::TPoint startCell, const std::string& s, TFindParams findParams);
    gui::TPoint FindWide(gui::TPoint startCell, const std::u16string& s, TFindParams findParams);
    gui::TPoint FindFirst(const std::string& s, TFindParams findParams);
    gui::TPoint FindNext();
    // Each found cell is rewritten once per call; the number of cells changed.
    int Replace(const std::string& origStr, const std::string& newStr, TFindParams findParams);
    // The first row whose key cell starts with s (s already upper case), or -1.
    int Search(const std::string& s);
    gui::TPoint SearchCell{0, 0};
    std::string SearchCache;
    std::u16string SearchCacheWide;
    TFindParams FindParams() const { return FFindParams; }
    void SetFindParams(TFindParams p) { FFindParams = p; }
    int FindCol() const { return FFindCol; }
    void SetFindCol(int v) { FFindCol = v; }
    int FindRow() const { return FFindRow; }
    void SetFindRow(int v) { FFindRow = v; }

    // Highlight and mark with <hi> and <e> tags, cell checking, fills (ExGridMark.cpp).
    std::string HilightText(bool doCase, const std::string& s, const std::string& text);
    std::string UnHilightText(const std::string& s);
    std::string MarkText(bool doCase, const std::string& s, const std::string& text);
    std::string UnMarkText(const std::string& s);
    void HilightInCell(bool doCase, int aCol, int aRow, const std::string& hiText);
    void HilightInCol(bool doFixed, bool doCase, int aCol, const std::string& hiText);
    void HilightInRow(bool doFixed, bool doCase, int aRow, const std::string& hiText);
    void HilightInGrid(bool doFixed, bool doCase, const std::string& hiText);
    void UnHilightInCell(int aCol, int aRow);
    void UnHilightInCol(bool doFixed, int aCol);
    void UnHilightInRow(bool doFixed, int aRow);
    void UnHilightInGrid(bool doFixed);
    void MarkInCell(bool doCase, int aCol, int aRow, const std::string& hiText);
    void MarkInCol(bool doFixed, bool doCase, int aCol, const std::string& hiText);
    void MarkInRow(bool doFixed, bool doCase, int aRow, const std::string& hiText);
    void MarkInGrid(bool doFixed, bool doCase, const std::string& hiText);
    void UnMarkInCell(int aCol, int aRow);
    void UnMarkInCol(bool doFixed, int aCol);
    void UnMarkInRow(bool doFixed, int aRow);
    void UnMarkInGrid(bool doFixed);
    gridbase::TExStringGridCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(gridbase::TExStringGridCheck* v);
    // True when every checked cell came through unchanged (or no checker).
    bool CheckCell(int aCol, int aRow);
    bool CheckCells(int fromCol, int fromRow, int toCol, int toRow);
    bool CheckCol(bool doFixed, int aCol);
    bool CheckRow(bool doFixed, int aRow);
    bool CheckGrid(bool doFixed);
    void TextFill(bool doFixed, const std::string& txt);
    void RandomFill(bool doFixed, int rnd);
    void LinearFill(bool doFixed);
    // Value in the short date format; 0 and below empty the cell unless ShowNullDates.
    void SetDates(int aCol, int aRow, double value);

    // Column and row calculations (ExGridCalc.cpp); non-numeric cells are skipped.
    double ColumnSum(int aCol, int fromRow, int toRow);
    double ColumnAvg(int aCol, int fromRow, int toRow);
    double ColumnMin(int aCol, int fromRow, int toRow);
    double ColumnMax(int aCol, int fromRow, int toRow);
    double ColumnCustomCalc(int aCol, int fromRow, int toRow);
    double RowSum(int aRow, int fromCol, int toCol);
    double RowAvg(int aRow, int fromCol, int toCol);
    double RowMin(int aRow, int fromCol, int toCol);
    double RowMax(int aRow, int fromCol, int toCol);
    // The float value of a cell by real row (hidden rows included).
    double GetRowFloat(int aCol, int realRow);

    // The floating footer's panel and calculation (ExGridFooter.cpp).
    TFooterPanel* FooterPanel();
    gui::TCanvas* FooterCanvas() { return FooterPanel()->Canvas(); }
    virtual void CalcFooterColumns(int aCol);
    void HiddenLastRowChanged() override;
    int VisibleFixedRightCols() const;
    // Draws one cell's content on another canvas (the footer panel's).
    void DrawCellOn(gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect, TGridDrawState state);
    bool NoRTLOrientation() const { return FNoRTLOrientation; }

    // The search footer (ExGridFooter.cpp).
    TSearchPanel* SearchPanel();
    void SearchEditChange();
    void SearchFindNext();
    void SearchFindPrevious();
    void SearchFooterClose();
    void SearchFooterHighlight();
    // Applies SearchFooter's settings to the panel.
    void UpdateSearchPanel();
    // Runs the visible, enabled search-footer button whose caption has ch as
    // its accelerator; false when none has.
    bool SearchFooterDialogChar(char16_t ch);
    // Whether the last row lies clear above the visible search footer.
    bool LastRowClearOfSearchFooter();
    // Scrolls row by row until the last row lies above the search footer.
    void ScrollLastRowAboveSearchFooter();
    // Scrolls until the cell's bottom lies above the search footer.
    void KeepCellAboveSearchFooter(int aCol, int aRow);

private:
    void FindCore(gui::TPoint startCell, const std::string& s, gui::TPoint& result, TFindParams findParams,
                  bool wide, const std::u16string& wideText);
    bool MatchCell(int aCol, int aRow, bool wide);
    int FindNodeRow(int aRow);
    TFindParams SearchFooterParams(bool typing);
    void KeepCurrentRowAboveFooter();
    void SetSearchEditColor(TColor color);
    TDropList* FDropList = nullptr;  // owned as a component
    bool FFilterActive = false;
    int FFilterRow = 0;
    int FFilterLevel = 0;
    int FFilterFixedRows = 0;
    std::string FLastFilter;
    int FFilterCol = -1;
    TFindParams FFindParams;
    int FFindCol = 0, FFindRow = 0;
    gridbase::TExStringGridCheck* FCellChecker = nullptr;
    TFooterPanel* FFooterPanel = nullptr;  // owned as components
    TSearchPanel* FSearchPanel = nullptr;
    std::unique_ptr<TSearchFooter> MakeSearchFooter();
    bool FNoRTLOrientation = false;

public:

    // --- cell graphic access and measurement (ExGridGraphics.cpp) ---------------
    // None of the queries creates cell properties.  Column 0 answers with
    // the shared row check box while MouseActions.HotmailRowSelect is on.
    // Frees the cell's graphic and attaches a new empty one (ctNone).
    TCellGraphic* CreateCellGraphic(int aCol, int aRow);
    // Detaches and frees the graphic (shared ones are only detached).
    bool RemoveCellGraphic(int aCol, int aRow);
    bool RemoveCellGraphicOfType(int aCol, int aRow, TCellType type);
    gridbase::TIntList* GetMultiImageList(int aCol, int aRow);
    // Orders image cells when sorting by images; -1 for other cells.
    intptr_t GetCellImageKey(int aCol, int aRow);
    // The room the graphic takes beside the cell's text on screen / on paper.
    virtual gui::TPoint GetCellGraphicSize(int aCol, int aRow);
    virtual gui::TPoint GetPrintGraphicSize(int aCol, int aRow, int availWidth, int availHeight, double scale);
    // Detaches and frees the graphic the cell's own record holds (never the
    // shared row check box); clearing calls it before freeing the record.
    void FreeOwnCellGraphic(int aCol, int aRow);
    // The shared graphic of row check boxes.
    TCellGraphic* SharedCellGraphic() const { return FCellGraphic.get(); }

    // --- cell-attached objects (ExGridObjects.cpp) ------------------------------
    // One object per cell: every Add / Create replaces what the cell held.
    // Add keeps the caller's object the caller's; Create makes one that the
    // cell owns and frees.  Remove only removes its own family.
    void AddBitmap(int aCol, int aRow, gui::TBitmap* bmp, bool transparent, TCellHAlign hal, TCellVAlign val);
    gui::TBitmap* CreateBitmap(int aCol, int aRow, bool transparent, TCellHAlign hal, TCellVAlign val);
    gui::TBitmap* GetBitmap(int aCol, int aRow);
    void RemoveBitmap(int aCol, int aRow);
    void AddPicture(int aCol, int aRow, gui::TPicture* picture, bool transparent, TStretchMode mode, int padding,
                    TCellHAlign hal, TCellVAlign val);
    gui::TPicture* CreatePicture(int aCol, int aRow, bool transparent, TStretchMode mode, int padding,
                                 TCellHAlign hal, TCellVAlign val);
    gui::TPicture* GetPicture(int aCol, int aRow);
    void RemovePicture(int aCol, int aRow);
    void AddFilePicture(int aCol, int aRow, gridbase::TFilePicture* picture, bool transparent, TStretchMode mode,
                        int padding, TCellHAlign hal, TCellVAlign val);
    gridbase::TFilePicture* CreateFilePicture(int aCol, int aRow, bool transparent, TStretchMode mode, int padding,
                                              TCellHAlign hal, TCellVAlign val);
    gridbase::TFilePicture* GetFilePicture(int aCol, int aRow);
    void RemoveFilePicture(int aCol, int aRow);
    void AddIcon(int aCol, int aRow, gui::TIcon* icon, TCellHAlign hal, TCellVAlign val);
    gui::TIcon* CreateIcon(int aCol, int aRow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int aCol, int aRow);
    // The image list of the image families; not owned.
    gui::TImageList* GridImages() const { return FGridImages; }
    void SetGridImages(gui::TImageList* v) { FGridImages = v; }
    void AddImageIdx(int aCol, int aRow, int idx, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(int aCol, int aRow, int& idx);
    void RemoveImageIdx(int aCol, int aRow);
    void AddDataImage(int aCol, int aRow, int idx, TCellHAlign hal, TCellVAlign val);
    bool HasDataImage(int aCol, int aRow);
    void RemoveDataImage(int aCol, int aRow);
    void AddMultiImage(int aCol, int aRow, int dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(int aCol, int aRow);
    void AddProgress(int aCol, int aRow, TColor fgColor, TColor bkColor);
    void AddProgressEx(int aCol, int aRow, TColor fgColor, TColor fgTextColor, TColor bkColor, TColor bkTextColor);
    void AddProgressFormatted(int aCol, int aRow, TColor fgColor, TColor fgTextColor, TColor bkColor,
                              TColor bkTextColor, const std::string& fmt, int min, int max);
    void RemoveProgress(int aCol, int aRow);
    void AddExProgress(int aCol, int aRow, int min, int max);
    void RemoveExProgress(int aCol, int aRow);
    void AddProgressPie(int aCol, int aRow, TColor color, int value);
    void SetProgressPie(int aCol, int aRow, int value);
    void RemoveProgressPie(int aCol, int aRow);
    void AddRangeIndicator(int aCol, int aRow, int range, TColor negColor, TColor posColor, bool showValue);
    void RemoveRangeIndicator(int aCol, int aRow);
    void AddComment(int aCol, int aRow, const std::string& comment);
    void AddColorComment(int aCol, int aRow, const std::string& comment, TColor color);
    bool IsComment(int aCol, int aRow, std::string& comment);
    void RemoveComment(int aCol, int aRow);
    void RemoveAllComments();
    void AddBalloon(int aCol, int aRow, const std::string& title, const std::string& text, TBalloonIcon icon);
    bool HasBalloon(int aCol, int aRow);
    bool IsBalloon(int aCol, int aRow, std::string& title, std::string& text, TBalloonIcon& icon);
    void RemoveBalloon(int aCol, int aRow);
    void AddScrollBar(int aCol, int aRow, bool autoRange);
    bool HasScrollBar(int aCol, int aRow);
    bool HasAutoRangeScrollBar(int aCol, int aRow);
    void SetScrollPosition(int aCol, int aRow, int pos);
    // -1 without a scroll bar.
    int GetScrollPosition(int aCol, int aRow);
    void SetScrollProp(int aCol, int aRow, TScrollProp prop);
    // {-1, -1} without a scroll bar.
    TScrollProp GetScrollProp(int aCol, int aRow);
    void RemoveScrollBar(int aCol, int aRow);
    // A marked stretch of the cell's text; kept in any graphic.
    void AddMarker(int aCol, int aRow, int errPos, int errLen);
    void RemoveMarker(int aCol, int aRow);
    void RemoveAllMarkers();
    void GetMarker(int aCol, int aRow, int& errPos, int& errLen);
    void AddButton(int aCol, int aRow, int bw, int bh, const std::string& caption, TCellHAlign hal,
                   TCellVAlign val);
    void AddBitButton(int aCol, int aRow, int bw, int bh, const std::string& caption, gui::TBitmap* glyph,
                      TCellHAlign hal, TCellVAlign val);
    gui::TBitmap* CreateBitButton(int aCol, int aRow, int bw, int bh, const std::string& caption, TCellHAlign hal,
                                  TCellVAlign val);
    // The next three and GetCellControlRect take a displayed column.
    void SetButtonText(int aCol, int aRow, const std::string& caption);
    std::string GetButtonText(int aCol, int aRow);
    void PushButton(int aCol, int aRow, bool push);
    bool HasButton(int aCol, int aRow);
    void RemoveButton(int aCol, int aRow);
    void GetCellControlRect(int aCol, int aRow, gui::TRect& rect);
    void AddRotated(int aCol, int aRow, int16_t angle, const std::string& s);
    void SetRotated(int aCol, int aRow, int16_t angle);
    void RemoveRotated(int aCol, int aRow);
    void AddInterfacedCell(int aCol, int aRow, rtl::TObject* object);
    rtl::TObject* GetInterfacedCell(int aCol, int aRow);
    void RemoveInterfacedCell(int aCol, int aRow);
    bool IsTextReplacedByGraphic(int aCol, int aRow);
    bool HasClickControl(int aCol, int aRow);

    // --- cell graphic renderers (ExGridRenderers.cpp) ----------------------------
    // The layout of a cell's graphic (TCellGraphicLayout, grid/ExCellGraphic.h).
    TCellGraphicLayout GetCellGraphicLayout(int aCol, int aRow);
    // Where a graphic of size (w, h) goes in the cell rectangle, by its own
    // placement and, beside the text, by the text's alignment and width.
    gui::TRect PlaceGraphic(const TCellGraphic& g, const gui::TRect& cell, int w, int h, int textWidth,
                            TAlignment textHa, TVAlignment textVa) const;
    // One check box into rect in a control style; disabled looks greyed
    // unless ControlLook.NoDisabledCheckRadioLook or CheckAlwaysActive.
    void DrawCheck(gui::TCanvas* canvas, const gui::TRect& rect, bool checked, TControlStyle style, bool enabled);
    // count radio buttons with their captions; checkedIndex -1 checks the
    // button whose caption is the cell's text.
    void DrawRadioGroup(gui::TCanvas* canvas, const gui::TRect& rect, bool reversed, double scale,
                        TControlStyle style, int aRow, int aCol, bool selected, const rtl::TStringList* captions,
                        bool disabled, bool horizontal, int checkedIndex, int count);
    // The drawing primitives the renderers end in; a descendant (or a test)
    // may watch them.
    virtual void DrawGridFrameControl(gui::TCanvas* canvas, const gui::TRect& r, uint32_t type, uint32_t state);
    virtual void DrawGridThemePart(gui::TCanvas* canvas, const std::string& themeClass, int part, int state,
                                   const gui::TRect& r);
    // A bitmap resource ("GRDCHK05" ...) drawn transparent at (x, y).
    virtual void DrawGridResource(gui::TCanvas* canvas, const std::string& name, int x, int y);
    // Whether the themed drawing applies now (visual styles on).
    bool ThemedControls() const;

    // --- background (ExGridBackground.cpp) --------------------------------------
    // Whether the search footer takes the bottom 32 pixels.
    virtual bool SearchFooterShown() const;
    // Whether BackGround.Cells and the selection let the background show in a cell.
    bool BackgroundCovers(int aCol, int aRow, bool fixedCell);

    // --- colour styles, themes and look settings (ExGridLooks.cpp) ---------------
    // A preset of fixed-cell, active-cell, selection, line and search-footer
    // colours; repaints.
    void SetStyle(TKVRStyle style);
    void SetComponentStyle(TKVRStyle style) { SetStyle(style); }
    // One of the desktop colour schemes: 1 blue, 2 olive, 3 silver, 4 the
    // newer desktops, other values the classic one.  No repaint of its own.
    void SetTheme(int scheme);
    // The scheme of the running desktop (0..4).
    int CurrentThemeScheme() const;
    void ThemeAdapt() { SetTheme(CurrentThemeScheme()); }
    // The one-pixel border of some looks over the window frame (a canvas
    // over the whole window).
    void PaintLookBorder(gui::TCanvas* windowCanvas);
    // Whether a fixed cell reacts to hovering (HoverFixedCells).
    bool IsHoverFixedCell(int aCol, int aRow) const;
    // Drop target switching; a descendant (or a test) may watch it.
    virtual bool RegisterGridDropTarget();
    virtual void RevokeGridDropTarget();
    bool DropTargetRegistered() const { return FDropTargetOK; }
    // Hooks of the settings objects' events.
    virtual void ProgressAppearanceChanged(rtl::TObject* sender) { Invalidate(); }
    virtual void ShowModifiedChanged(rtl::TObject* sender) { Invalidate(); }
    virtual void BalloonEnableChanged(rtl::TObject* sender) {}

    // --- rich-text cells (ExRichEdit.cpp) ---------------------------------------
    // The measuring editor and the inplace editor, made on first use.
    TExRichEdit* RichEdit();
    TExRichEdit* InplaceRichEdit();
    TExRichEdit* InplaceRichEditIfAny() const { return FInplaceRichEdit; }
    // The cell's text (rich-text markup) into the editor, and back.
    void CellToRich(int aCol, int aRow, gui::TRichEdit* richEditor);
    void RichToCell(int aCol, int aRow, gui::TRichEdit* richEditor);
    std::string RichToString(gui::TRichEdit* richEditor);
    void RichEditSelectionChange(rtl::TObject* sender);

    // --- check boxes and radio controls (ExGridChecks.cpp) ----------------------
    // "Invalid cell" beyond the stored columns and rows.
    void AddCheckBox(int aCol, int aRow, bool state, bool data);
    void AddCheckBoxColumn(int aCol, bool defaultState = false, bool dataCheckBox = false);
    void RemoveCheckBox(int aCol, int aRow);
    void RemoveCheckBoxColumn(int aCol);
    bool HasCheckBox(int aCol, int aRow);
    bool HasDataCheckBox(int aCol, int aRow);
    bool GetCheckBoxState(int aCol, int aRow, bool& state);
    bool IsChecked(int aCol, int aRow);
    bool SetCheckBoxState(int aCol, int aRow, bool state);
    bool ToggleCheckBox(int aCol, int aRow) { return ToggleCellCheck(aCol, aRow, false); }
    // askEditable: the base-cell editability hook may refuse (unless
    // ControlLook.CheckAlwaysActive).  A row check box flips the row flag.
    virtual bool ToggleCellCheck(int aCol, int aRow, bool askEditable);
    void CheckAll(int aCol);
    void UnCheckAll(int aCol);
    bool IsInCheckBox(int aCol, int aRow, int xPos, int yPos);
    void AddRadioButton(int aCol, int aRow, bool state = false);
    void AddRadioButtonColumn(int aCol);
    void RemoveRadioButton(int aCol, int aRow);
    void RemoveRadioButtonColumn(int aCol);
    bool HasRadioButton(int aCol, int aRow);
    bool IsRadioButtonChecked(int aCol, int aRow);
    bool SetRadioButtonState(int aCol, int aRow, bool state);
    void SetRadioButtonColumnIndex(int aCol, int index);
    int GetRadioButtonColumnIndex(int aCol);
    virtual bool ToggleCellRadioButton(int aCol, int aRow, bool askEditable);
    // Radio groups: one button per caption; idxRadio -1 keeps the choice in
    // the cell's text only.  AddRadio does not take the list over.
    void AddRadio(int aCol, int aRow, int dirRadio, int idxRadio, rtl::TStringList* sl);
    rtl::TStringList* CreateRadio(int aCol, int aRow, int dirRadio, int idxRadio);
    bool IsRadio(int aCol, int aRow);
    rtl::TStringList* GetRadioStrings(int aCol, int aRow);
    bool GetRadioIdx(int aCol, int aRow, int& idxRadio);
    bool SetRadioIdx(int aCol, int aRow, int idxRadio);
    void RemoveRadio(int aCol, int aRow);
    void ToggleRadio(int aCol, int aRow, bool askEditable);

    // --- hints, balloons, moving, drag and drop, design panel (ExGridHints.cpp,
    // ExGridMoving.cpp, ExGridDragDrop.cpp, ExGridDesign.cpp) -------------------
    // The hint for the cell under hintInfo.CursorPos: its text, place and
    // window class (CM_HINTSHOW asks it); canShow is left as it is.
    void GetCellHintInfo(std::string& hintStr, bool& canShow, gui::THintInfo& hintInfo);
    gui::TPoint LastHintPos() const { return FLastHintPos; }
    // What the balloon shows for the client point (the tooltip's question):
    // false while Balloon.Enable is off.  Fills the balloon with it.
    bool GetBalloonInfo(gui::TPoint clientPos, std::string& title, std::string& text, int& icon);
    // The balloon popup, made on first use with the balloon settings' delays.
    gui::TBalloonTip* BalloonTip();
    gui::TPoint LastBalloonPos() const { return FLastBalloonPos; }
    bool ColMoveFlg() const { return FColMoveFlg; }
    void SetColMoveFlg(bool v) { FColMoveFlg = v; }
    // The drop-position arrows and the floating header, made on first use.
    gridbase::TArrowWindow* MoveArrow(gridbase::TArrowDirection direction);
    gridbase::TPopupButton* MoveButton();
    // A picture of the cells of rect in a borderless pop-up that floats
    // above the windows and lets the mouse through (the drag image of moving
    // and of drags with DragDropSettings.ShowCells); the caller frees it.
    gui::TWinControl* SelectionToForm(const gui::TGridRect& rect);
    // The floating picture of a running move or drag (nullptr when none).
    gui::TWinControl* MoveForm() const { return FMoveForm; }
    void FreeMoveForm();
    int MoveColInd() const { return FMoveColInd; }
    int MoveRowInd() const { return FMoveRowInd; }
    void HideMoveArrows();
    gridbase::TGRDDropTarget* GridDropTarget() const;
    const gui::TGridRect& DropSelection() const { return FDropSelection; }
    // The drag-scroll timer of a drag passing over the grid (DragScrollOptions).
    gui::TTimer* DragScrollTimer();
    // Drags the selected cells (as text and rich text) or a column out of
    // the grid until released; the effect done.
    int OleDragSelection(gridbase::TDragInput* input = nullptr);
    int OleDragColumn(int aCol, gridbase::TDragInput* input = nullptr);
    // The input the drags started by the mouse read (nullptr: the pointer and
    // keys themselves); tests script it.  Not owned.
    void SetOleDragInput(gridbase::TDragInput* input) { FOleDragInput = input; }
    bool SelectionClick() const { return FSelectionClick; }
    // The design-time panel (drawn and hit only while designing).
    uint8_t DesignHelperHitTest(int x, int y);
    virtual void DesignHelperClick(int x, int y);
    uint8_t LastDesignChoice() const { return FLastDesignChoice; }
    gui::TPopupMenu* DesignLookMenu() const { return FDesignMenu; }

    // --- cell controls by key and click, flat scroll bars, theme adaptation
    // (ExGridCellControls.cpp, ExGridFlatBars.cpp, ExGridLookColors.cpp) -----------
    void CellControlKey(uint16_t key);  // Enter or Space on a check box, radio or button
    // A left press on a cell's radio group or button (true: handled), on its check box or
    // radio button, and the release of a pressed cell button (displayed column c).
    bool CellControlPress(int c, int r, int x, int y);
    bool CellCheckPress(int c, int r, int x, int y, gui::TShiftState shift);
    bool CellButtonRelease(int c, int r, int x, int y);
    // The button of the radio group in (real column aCol, aRow) at the point
    // (relative to the cell) is chosen.
    void ClickRadioGroup(int aCol, int aRow, int x, int y);
    gui::TPoint PushedCellButton() const { return FPushedCellButton; }
    // ScrollType ssFlat and ssEncarta draw the grid's own bars flat over
    // their normal drawing, with ScrollColor as the track colour.
    void PaintFlatScrollBars();

private:
    TScrollType FScrollType = TScrollType::ssNormal;
    TColor FScrollColor = gui::clNone;
    bool FAutoThemeAdapt = false;
    gui::TPoint FPushedCellButton{-1, -1};

public:

protected:
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;
    void ColumnMovedData(int fromIndex, int toIndex) override;
    void CMHintShow(gui::TMessage& message);
    // True when the notification was the grid's to end here.
    bool WMNotify(gui::TMessage& message);
    void CMDesignHitTest(gui::TMessage& message);
    // The moving drag of 7.133/7.137 (true: the event was the drag's).
    bool EnhMoveMouseDown(int x, int y);
    bool EnhMoveMouseMove(int x, int y);
    bool EnhMoveMouseUp(gui::TMouseButton button, int x, int y);
    void BalloonMouseMove(int x, int y);
    bool OleDragSourcePress(int aCol, int aRow, int x, int y);
    bool OleDragStartMove(int x, int y);
    bool OleDragSourceRelease(int x, int y);
    bool FSelectionClick = false;
    gridbase::TDragInput* FOleDragInput = nullptr;
    friend class TGridDropTarget;
    friend class TGridDropSource;
    friend class TGridKeyDown;
    friend class TGridPress;
    gui::TPoint FLastHintPos{-1, -1};
    gui::TPoint FLastBalloonPos{-1, -1};
    gui::TBalloonTip* FBalloonTip = nullptr;
    bool FColMoveFlg = false;
    int Movecell = -1, MoveOfsX = 0, MoveOfsY = 0, FMoveColInd = 0, FMoveRowInd = 0;
    gui::TPoint FMovePress{-1, -1};
    gridbase::TPopupButton* FMoveButton = nullptr;
    gui::TWinControl* FMoveForm = nullptr;
    gridbase::TArrowWindow* FArrows[4] = {nullptr, nullptr, nullptr, nullptr};
    gui::TTimer* FDragScrollTimer = nullptr;
    int FDragScrollDir = 0;
    uint8_t FLastDesignChoice = 255;
    gui::TPopupMenu* FDesignMenu = nullptr;

public:
    // --- sorting, nodes, grouping, auto sizing (ExGridSort.cpp, ExGridSortClick.cpp,
    //     ExGridNodes.cpp, ExGridGroup.cpp, ExGridAutoSize.cpp) ---------------------
    // Row comparison: -1, 0 or 1; 1 means aRow1 sorts after aRow2 ascending.
    int CompareCells(int aCol, int aRow1, int aRow2, TSortDirection direction);
    int CompareRows(int aCol, int aRow1, int aRow2);
    int CompareRowsIndexed(int depth, int aRow1, int aRow2);
    // Columns listed here compare equal (sorting skips them).
    // Columns (displayed) that sorting and row-wise searches pass over.
    gridbase::TIntList* IgnoreColumns() const { return FIgnoreColumns.get(); }
    bool IsIgnoredColumn(int aCol) const;
    gridbase::TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
    // The normal rows by SortSettings.Column (nothing for -1), by
    // SortIndexes ("No indexes specified for indexed sort" when empty), or
    // inside the deepest expanded groups; QUnSort restores the order the
    // rows had before the first sort since the row count last changed.
    virtual void QSort();
    virtual void QSortIndexed();
    virtual void QSortGroup() { SortWithinGroups(false); }
    virtual void QSortGroupIndexed() { SortWithinGroups(true); }
    virtual void QUnSort();
    void Sort(int aCol, TSortDirection direction);
    void SortByColumn(int aCol);
    void QuickSort(int aCol, int left, int right);
    void QuickSortIndexed(int left, int right);
    bool SortLine(int aCol, int aRow1, int aRow2);
    void InitSortXRef();
    // Exchanges two rows with everything that travels with them.
    virtual void SortSwapRows(int aRow1, int aRow2);
    int Compares() const { return FCompares; }
    int Swaps() const { return FSwaps; }
    // Milliseconds the last header-click sort took.
    int SortTime() const { return FSortTime; }
    // Where the row current before the last sort went.
    int SortRowIndex() const { return FSortRow; }
    // The sort of a left-button release on the header's sort row; true
    // when it sorted.  moveEnded: the release ended a column drag.
    bool HeaderClickSort(int x, int y, gui::TShiftState shift, bool moveEnded);

    // Nodes: collapsible row groups; node rows carry a ctNode graphic in
    // column 0.  The operations marked real in the implementation take real
    // row indexes (hidden rows counted).
    bool HasNodes() const override { return FNumNodes > 0; }
    int NumNodes() const { return FNumNodes; }
    void AddNode(int aRow, int span);
    void RemoveNode(int aRow);
    void RemoveAllNodes();
    void MarkSummaryRow(int aRow);
    bool GetNodeState(int aRow);
    void SetNodeState(int aRow, bool value);
    int GetNodeLevel(int aRow);
    int GetNodeSpan(int aRow);
    void SetNodeSpan(int aRow, int span);
    void UpdateNodeSpan(int aRow, int delta);
    int GetSubNodeCount(int aRow);
    void UpdateSubNodeCount(int aRow, int delta);
    int GetNodeSpanType(int aRow);
    void ExpandNode(int aRow);
    void ExpandNodeRows(int aRow);
    void ContractNode(int aRow);
    void ExpandAll();
    void ContractAll();
    int GetParentRow(int aRow);
    void InsertNormalRow(int aRow);
    void RemoveNormalRow(int aRow);
    void InsertChildRow(int aRow, int insertAt);
    void RemoveChildRow(int aRow);
    bool IsInNodeButton(int aRow, int x);
    // Node level of column 0 times CellNode.NodeIndent (0 without nodes).
    int GetNodeIndent(int aRow);
    // The tree lines of column 0 of a row (CellNode.ShowTree), in the cell rect.
    void DrawNodeTreeLines(gui::TCanvas* canvas, int aRow, const gui::TRect& rect);
    // With Grouping.ShowGroupCount, column 1 of a node row ends with the
    // number of its rows: " (3)", or GroupCountFormat filled with it.
    void DoGetDisplText(int aCol, int aRow, std::string& value) override;
    // Raised while a node contracts (read by the selection code).
    bool ForceSel() const { return FForceSel; }
    // A left press on column 0 of a normal node row inside its button:
    // expands or contracts it with the node events; true when taken.
    bool NodeButtonPress(int aCol, int aRow, int x);

    // Grouping by a column: header nodes over runs of equal values.
    int GroupColumn() const { return FGroupColumn; }
    // -1 ungroups, a column above 0 groups, 0 does nothing.
    void SetGroupColumn(int value);
    virtual void Group(int colIndex);
    virtual void UnGroup();
    virtual void SubGroup(int colIndex);
    virtual void SubUnGroup(int colIndex);
    bool IsGrouping() const { return FIsGrouping; }
    // One value per expanded group into its header (or summary row):
    // 1 sum, 2 average, 3 minimum, 4 maximum, 5 count, 6 OnGroupCalc.
    void GroupCalc(int colIndex, int method);
    void GroupSum(int colIndex) { GroupCalc(colIndex, 1); }
    void GroupAvg(int colIndex) { GroupCalc(colIndex, 2); }
    void GroupMin(int colIndex) { GroupCalc(colIndex, 3); }
    void GroupMax(int colIndex) { GroupCalc(colIndex, 4); }
    void GroupCount(int colIndex) { GroupCalc(colIndex, 5); }
    void GroupCustomCalc(int colIndex) { GroupCalc(colIndex, 6); }

    // Auto sizing, numbering and swapping.
    void AutoSizeCells(bool doFixedCells, int paddingX, int paddingY);
    void AutoSizeColumns(bool doFixedCols, int padding);
    void AutoSizeRows(bool doFixedRows, int padding);
    void AutoSizeRow(int aRow, int padding);
    void AutoFitColumns(bool doFixedCells);
    void AutoNumberCol(int aCol);
    void AutoNumberRow(int aRow);
    void SwapColumns(int aCol1, int aCol2);
    void SwapRows(int aRow1, int aRow2);
    void AutoSizeColumnWidth(int aCol, bool growOnly);
    void AutoSizeRowHeight(int aRow, bool growOnly);
    void SizeRowToLines(int aRow, int lines, int extra);
    // The column-size hook of auto sizing: OnUpdateColumnSize may change the width.
    virtual void UpdateAutoColumnSize(int aCol, int& width);

    // --- hooks for data-aware descendants (gridio) ---------------------------------------
    // Whether a row may be appended at the end of the grid: OnCanAddRow may refuse.
    virtual bool CanAddRow()
    {
        bool canAdd = true;
        if (OnCanAddRow) OnCanAddRow(this, canAdd);
        return canAdd;
    }
    // The end of sizing a fixed column: OnUpdateColumnSize may change the width.
    virtual void UpdateColumnSize(int aCol, int& width)
    {
        if (OnUpdateColumnSize) OnUpdateColumnSize(this, aCol, width);
    }
    // Appends one row (the keyboard's and the advance's way to grow the grid).
    virtual void IncRowCount();
    // Asked before a row is inserted by key: OnCanInsertRow may refuse.
    virtual void CanInsertRow(int aRow, bool& canInsert)
    {
        if (OnCanInsertRow) OnCanInsertRow(this, aRow, canInsert);
    }
    // --- end of hooks for data-aware descendants -----------------------------------------

protected:
    void SortWithinGroups(bool indexed);

private:
    // Sorting state (ExGridSort.cpp).
    enum class TSortKind { skColumn, skIndexed, skGroups };
    void SortFrame(TSortKind kind, bool indexedGroups);
    void QuickSortRange(int aCol, int left, int right);
    void QuickSortIndexedRange(int left, int right);
    void CopyToPivotRow(int aRow);
    // GetCellText and GetCellType of a cell at once, with one look-up for a
    // cell without properties.
    void SortCellData(int aCol, int aRow, std::string& text, TCellType& type);
    // Nodes (ExGridNodes.cpp): many rows hidden or shown in one pass (display
    // rows ascending / real rows ascending), for whole-tree contraction.
    void HideRowBatch(const std::vector<int>& displayRows);
    void UnHideRowBatch(const std::vector<int>& realRows);
    TCellGraphic* NodeGraphic(int aRow);
    std::unique_ptr<gridbase::TIntList> FIgnoreColumns = std::make_unique<gridbase::TIntList>(-1, -1);
    std::unique_ptr<gridbase::TSortIndexList> FSortIndexes = std::make_unique<gridbase::TSortIndexList>(-1, -1);
    std::vector<int> FUnSortRowXRef;
    int FSortDir = 1;
    int FSortRow = -1;
    int FCompares = 0;
    int FSwaps = 0;
    int FSortTime = 0;
    bool FBlockCellChange = false;
    // Grouping state (ExGridGroup.cpp).
    int FGroupColumn = -1;
    int FGroupWidth = 0;
    std::string FGroupCaption, FGroupFooter;
    bool FIsGrouping = false;

public:

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    void Paint() override;
    // A vertical scroll moves the shown pixels only while nothing but the
    // rows is drawn over the scrolling area (no background picture or
    // gradient, fixed footers, footer bars, editing, design panel or
    // OnPainted drawing).
    bool CanBlitScroll() const override;
    // The look border covers two pixels along each edge.
    int ScrollFrameWidth() const override;
    void DrawCellText(gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect,
                      TGridDrawState state) override;
    // What the text layer of one cell works with.
    struct TCellTextContext {
        gui::TCanvas* Canvas;
        int Col, RCol, Row;
        gui::TRect Rect;
        TGridDrawState State;
        TAlignment HAlign;
        TVAlignment VAlign;
        bool WordWrap;
        TColor UnselectedBrush, UnselectedFont;
        rtl::TObject* Graphic;
    };
    void DrawCellTextLayer(TCellTextContext& ctx);
    friend class TCellTextPainter;
    friend class TCellGraphicPainter;
    friend class TSpecialEditorOpener;
    void CreateWnd() override;
    void Resize() override;
    using TBaseGrid::CalcSizingState;
    // The platform's test, then OnColumnSize and OnRowSize may refuse.
    void CalcSizingState(int x, int y, gui::TGridState& state, int& index, int& sizingPos, int& sizingOfs,
                         gui::TGridDrawInfo& fixedInfo) override;
    bool Designing() const { return ComponentState().Contains(rtl::TComponentStateItem::csDesigning); }
    bool Loading() const { return ComponentState().Contains(rtl::TComponentStateItem::csLoading); }

    // Hidden real rows in ascending order (GridItems' kept index).
    const std::vector<int>& HiddenIdxSorted() const;

private:
    void AppearanceChange(rtl::TObject*) { Invalidate(); }
    void InvalidateFooterPanel();
    int FooterSafeRowCount() const;
    // Copies the selected block as tab / CR LF text (no data-exchange hooks).
    void CopySelectionAsText();

    // --- editing and Tab navigation state ---------------------------------------
    // How one run of a Tab step ended: done, to run again from the cell it
    // landed on, stopped by OnKeyDown, or unable to move.
    enum class TTabRun { trDone, trAgain, trStopped, trStuck };
    TTabRun TabStep(bool backward);
    bool TabForwardLeftRight(int firstCol, int endCol, int lastRow);
    void PostTabToParent();
    void SelectOneCell(int aCol, int aRow);
    // Panning: true when the message was panning's own.
    bool PanMessage(gui::TMessage& message);
    void StartPanning(gui::TPoint at);
    void EndPanning();
    void PanTick();
    void DrawPanMarker();
    void ErasePanMarker();
    bool FPanning = false;
    gui::TPoint FPanOrigin, FPanPointer;
    int FPanCursor = 0;
    gui::TCursor FPanPrevCursor = gui::crDefault;
    void DirectEditPress(int aCol, int aRow, int x);
    bool DblClickSizesColumn(int aCol, int aRow, int x);
    void DblClickEdit(int aCol, int aRow);
    int LastDataRow() const;
    bool NextAdvanceCell(int& aCol, int& aRow, bool forward);
    bool OpenEditorAfterAdvance(int oldCol, int oldRow, bool autoEdit);
    int FAECol = -1, FAERow = -1;
    bool FEnterFromEditor = false;
    // Raised while the advance moves the current cell.
    bool FDisableChange = false;
    TEditorType FEditControl = TEditorType::edNormal;
    bool FEditMode = false;
    gui::TPoint FEditCell{-1, -1};
    bool FSpecialEditor = false;
    bool FEntered = false;
    bool FNoEditChange = false;
    std::string FCellCache;
    int FLastTabCol = -1;
    int FLastTabRow = -1;
    // Set while Tab makes a row change itself.
    bool FForceSel = false;
    std::unique_ptr<rtl::TStringList> FColumnHeaders;
    std::unique_ptr<rtl::TStringList> FRowHeaders;
    std::unique_ptr<gui::TFont> FFixedFont;
    std::unique_ptr<gui::TFont> FActiveCellFont;
    std::unique_ptr<gui::TBitmap> FRowIndicator;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::vector<TGridChangeNotifier*> FNotifierList;

    // --- cell graphics ----------------------------------------------------------
    std::unique_ptr<TCellGraphic> FCellGraphic = std::make_unique<TCellGraphic>();
    gui::TImageList* FGridImages = nullptr;
    TExRichEdit* FRichEdit = nullptr;         // owned as components
    TExRichEdit* FInplaceRichEdit = nullptr;

    // --- look settings ----------------------------------------------------------
    std::unique_ptr<gui::IDropTarget> FDropTarget;
    bool FDropTargetOK = false;
    std::unique_ptr<TGridProgressAppearance> MakeProgressAppearance();
    std::unique_ptr<TBalloonSettings> MakeBalloon();
    std::unique_ptr<TShowModified> MakeShowModified();
    TCellVAlign CheckVAlign() const;
    void RepaintGraphicCell(int aCol, int aRow);
};

} // namespace grid
