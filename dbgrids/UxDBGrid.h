// The data-aware grid of the subsystem: the platform's TDBGrid with the
// control message extensions (TUxExDBGrid), and TUxDBGrid over it with its
// defaults and option mapping, explicit row and title heights, alternate
// row colours bound to screen rows, the read-only cell colour, sort markers
// and the automatic sort by the data set's index definitions, layout-change
// links, a scroll lock, and the column-width limits and automatic sizing.
//
// The one rule: the alternate colours belong to screen rows (the 2nd, 4th
// ... data row on screen), not to records; a scroll repaints the grid.
//
//   auto* grid = new dbgrids::TUxDBGrid(form);
//   grid->SetDataSource(source);
//   grid->SetAlternateRowColor(0xE1E1E1);
#pragma once

#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbgrids/UxExControls.h"
#include "platform/gui/DBGrids.h"
#include "platform/gui/Menus.h"

namespace dbgrids {

class TUxExDBGrid : public TUxExtended<gui::TDBGrid> {
public:
    explicit TUxExDBGrid(rtl::TComponent* owner) : TUxExtended(owner) {}
    std::string ClassName() const override { return "TUxExDBGrid"; }
};

enum class TSortMarker { smNone, smDown, smUp };

// The shared glyph bitmaps, by index (resources "UxDBGridBLOB" ...
// "UxDBGridPOPUP"); loaded once per process.
enum class TUxDBGridBitmap {
    gpNone = -1, gpBlob, gpMemo, gpPicture, gpOle, gpObject, gpData, gpNotEmpty, gpMarkDown, gpMarkUp,
    gpChecked, gpUnChecked, gpPopup
};
gui::TBitmap* GetDBGridBitmap(TUxDBGridBitmap index);
// The multi-selection marks of the indicator column: 0 dot ("UxDBGridMSDOT"),
// 1 arrow for the current record ("UxDBGridMSARROW").
gui::TBitmap* GetDBGridIndicatorBitmap(int index);
void FreeDBGridBitmaps();
class TUxCustomAppStorage;
class TUxFormPlacement;
class TUxIniLink;
enum class TSelectColumn { scDataBase, scGrid };
enum class TUxDBGridLayoutChangeKind { lcLayoutChanged, lcSizeChanged, lcTopLeftChanged };

class TUxDBGrid;

using TUxDBGridLayoutChangeEvent = std::function<void(TUxDBGrid* grid, TUxDBGridLayoutChangeKind kind)>;

class TUxDBGridLayoutChangeLink {
public:
    TUxDBGridLayoutChangeEvent OnChange;
    void DoChange(TUxDBGrid* grid, TUxDBGridLayoutChangeKind kind)
    {
        if (OnChange) OnChange(grid, kind);
    }
};

using TTitleClickEvent = std::function<void(rtl::TObject* sender, int aCol, db::TField* field)>;
using TGetCellParamsEvent =
    std::function<void(rtl::TObject* sender, db::TField* field, gui::TFont* font, gui::TColor& background, bool highlight)>;
using TUxDBCanEditCellEvent = std::function<void(TUxDBGrid* grid, db::TField* field, bool& allowEdit)>;
using TGetCellPropsEvent =
    std::function<void(rtl::TObject* sender, db::TField* field, gui::TFont* font, gui::TColor& background)>;
using TGetBtnParamsEvent = std::function<void(rtl::TObject* sender, db::TField* field, gui::TFont* font,
                                              gui::TColor& background, TSortMarker& sortMarker, bool isDown)>;
// sortMarker: the bitmap drawn as the marker (nullptr for none), which the
// owner may replace; offset: its distance from the right edge plus 3.
using TDrawColumnTitleEvent = std::function<void(rtl::TObject* sender, gui::TCanvas* canvas, const gui::TRect& rect,
                                                 gui::TColumn* column, gui::TBitmap*& sortMarker, bool isDown,
                                                 int& offset, bool& defaultDrawText, bool& defaultDrawSortMarker)>;
using TUxDBColumnResizeEvent = std::function<void(TUxDBGrid* grid, int aCol, int newWidth)>;

// The texts of the column-selection dialog.
struct TUxSelectDialogColumnStrings {
    std::string Caption = "Select columns";
    std::string RealNamesOption;
    std::string OK = "&OK";
    std::string NoSelectionWarning = "At least one column must be visible!";
};

// How an embedded control is sized over its cell.
enum class TUxDBGridControlSize { fcCellSize, fcDesignSize, fcBiggest };

// A control of the grid's owner that edits the cells of one field.
class TUxDBGridControl : public rtl::TCollectionItem {
    RTL_CLASS(TUxDBGridControl, rtl::TCollectionItem)
public:
    explicit TUxDBGridControl(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
    const std::string& ControlName() const { return FControlName; }
    void SetControlName(const std::string& v) { FControlName = v; }
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& v) { FFieldName = v; }
    TUxDBGridControlSize FitCell() const { return FFitCell; }
    void SetFitCell(TUxDBGridControlSize v) { FFitCell = v; }
    bool LeaveOnEnterKey() const { return FLeaveOnEnterKey; }
    void SetLeaveOnEnterKey(bool v) { FLeaveOnEnterKey = v; }
    bool LeaveOnUpDownKey() const { return FLeaveOnUpDownKey; }
    void SetLeaveOnUpDownKey(bool v) { FLeaveOnUpDownKey = v; }
    // The control's size when first placed with fcBiggest (0 until then).
    int DesignWidth() const { return FDesignWidth; }
    int DesignHeight() const { return FDesignHeight; }
    // Copies the five published values and forgets the design size.
    void Assign(const rtl::TPersistent* source) override;

private:
    friend class TUxDBGrid;
    std::string FControlName, FFieldName;
    TUxDBGridControlSize FFitCell = TUxDBGridControlSize::fcCellSize;
    bool FLeaveOnEnterKey = false, FLeaveOnUpDownKey = false;
    int FDesignWidth = 0, FDesignHeight = 0;
};

class TUxDBGridControls : public rtl::TOwnedCollection {
    RTL_CLASS(TUxDBGridControls, rtl::TOwnedCollection)
public:
    explicit TUxDBGridControls(TUxDBGrid* grid);
    TUxDBGridControl* Add() { return static_cast<TUxDBGridControl*>(TCollection::Add()); }
    TUxDBGridControl* Items(int index) const { return static_cast<TUxDBGridControl*>(TCollection::Items(index)); }
    // The first item for that field / control name (case ignored), or nullptr.
    TUxDBGridControl* ControlByField(const std::string& fieldName) const;
    TUxDBGridControl* ControlByName(const std::string& controlName) const;
};

enum class TUxBooleanToggle { btSetTrue, btSetFalse, btToggle };

// The characters (0..255) that start completion while typing in a cell.
using TSysCharSet = std::bitset<256>;

class TUxDBGrid : public TUxExDBGrid {
public:
    explicit TUxDBGrid(rtl::TComponent* owner);
    ~TUxDBGrid() override;
    std::string ClassName() const override { return "TUxDBGrid"; }

    // --- options
    gui::TDBGridOptions Options() const;
    void SetOptions(gui::TDBGridOptions value);
    static gui::TDBGridOptions DefaultOptions();
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    int SelCount() const;
    bool ClearSelection() const { return FClearSelection; }
    void SetClearSelection(bool v) { FClearSelection = v; }
    bool AutoAppend() const { return FAutoAppend; }
    void SetAutoAppend(bool v) { FAutoAppend = v; }
    bool BeepOnError() const { return FBeepOnError; }
    void SetBeepOnError(bool v) { FBeepOnError = v; }
    bool ShowGlyphs() const { return FShowGlyphs; }
    void SetShowGlyphs(bool v) { FShowGlyphs = v; }
    bool TitleButtons() const { return FTitleButtons; }
    void SetTitleButtons(bool value);
    bool UseXPThemes() const { return FUseXPThemes; }
    void SetUseXPThemes(bool v) { FUseXPThemes = v; Invalidate(); }
    // UseXPThemes with the desktop's visual style active: title and
    // indicator cells are then drawn as header items.
    bool ThemesInUse() const;
    // The title column under the mouse (a grid column), or -1.
    int MouseColumn() const { return FMouseCol; }
    bool CanDelete() const { return FCanDelete; }
    void SetCanDelete(bool v) { FCanDelete = v; }
    bool ShowMemos() const { return FShowMemos; }
    void SetShowMemos(bool v) { FShowMemos = v; }
    bool BooleanEditor() const { return FBooleanEditor; }
    void SetBooleanEditor(bool v) { FBooleanEditor = v; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; Invalidate(); }
    bool ReduceFlicker() const { return FReduceFlicker; }
    void SetReduceFlicker(bool v) { FReduceFlicker = v; }
    bool PostOnEnterKey() const { return FPostOnEnterKey; }
    void SetPostOnEnterKey(bool v) { FPostOnEnterKey = v; }
    TSelectColumn SelectColumn() const { return FSelectColumn; }
    void SetSelectColumn(TSelectColumn v) { FSelectColumn = v; }
    const std::string& StringForTrue() const { return FStringForTrue; }
    const std::string& StringForFalse() const { return FStringForFalse; }
    TUxSelectDialogColumnStrings& SelectColumnsDialogStrings() { return FSelectColumnsDialogStrings; }
    TUxDBGridControls* EditControls() const { return FControls.get(); }
    void SetEditControls(const TUxDBGridControls* value) { FControls->Assign(value); }

    // --- the column dialog
    // OnSelectColumns may handle the request (clearing defaultDialog);
    // otherwise the dialog is shown below cell (0, 0).  The grid repaints.
    void ShowColumnsDialog();
    std::function<void(TUxDBGrid* grid, bool& defaultDialog)> OnSelectColumns;

    // --- column layout in an application storage
    // Customized columns: "<Index>,<Width>" (-1 for a hidden column) per
    // column under <path>/<grid Name>.<FieldName>, the path defaulting to
    // the grid's storage name; default columns store the data set's field
    // layout.  Nothing happens without a data set or a storage.
    void SaveToAppStore(TUxCustomAppStorage* storage, const std::string& path);
    void LoadFromAppStore(TUxCustomAppStorage* storage, const std::string& path);
    // Through a form placement: saved and loaded with it (below its
    // AppStoragePath), or on request.  Nothing without a Name or placement.
    TUxFormPlacement* IniStorage() const;
    void SetIniStorage(TUxFormPlacement* value);
    void Save();
    void Load();

    // --- editing (booleans toggled in place, embedded controls)
    // Whether the selected cell cannot be changed (grid, column, field or
    // data set read-only).
    bool IsCellReadOnly();
    // Sets, clears or toggles the Boolean field under edit.
    void ToggleBooleanCell(TUxBooleanToggle mode);
    // Shows an embedded control over the cell (aCol, aRow).
    virtual void PlaceControl(gui::TWinControl* control, int aCol, int aRow);
    // Ends the embedded control; the grid takes the focus back.
    void CloseControl();
    gui::TWinControl* CurrentControl() const { return FCurrentControl; }
    db::TField* BooleanFieldToEdit() const { return FBooleanFieldToEdit; }
    std::function<void(rtl::TObject* sender, db::TField* field, bool& allowEdit)> OnShowEditor;
    // A character typed into the in-place editor, before the editor takes
    // it: completes from the column's pick list or the lookup field's data
    // set (clearing key when it did).
    void EditorKeyPress(char16_t& key);
    // Runs a change of the editor's text as typing: a text the field cannot
    // take yet ("-" in a number field) stays in the editor and is written,
    // raising when still wrong, when the edit ends (Enter, leaving the cell).
    void EditorTyping(const std::function<void()>& change);
    // The text typed so far in a lookup cell.
    const std::string& TypedText() const { return FWord; }

    // --- colours
    gui::TColor AlternateRowColor() const { return FAlternateRowColor; }
    void SetAlternateRowColor(gui::TColor value);
    gui::TColor AlternateRowFontColor() const { return FAlternateRowFontColor; }
    void SetAlternateRowFontColor(gui::TColor value);
    gui::TColor ReadOnlyCellColor() const { return FReadOnlyCellColor; }
    void SetReadOnlyCellColor(gui::TColor value);

    // --- row heights
    bool AutoSizeRows() const { return FAutoSizeRows; }
    void SetAutoSizeRows(bool value);
    bool RowResize() const { return FRowResize; }
    void SetRowResize(bool value);
    int RowsHeight() const { return FRowsHeight; }
    void SetRowsHeight(int value);
    int TitleRowHeight() const { return FTitleRowHeight; }
    void SetTitleRowHeight(int value);

    // --- fixed columns (data columns, without the indicator)
    // Fixed data columns lose their tab stops; the current column stays
    // right of them.
    int FixedCols() const;
    void SetFixedCols(int value);
    // The first column (a grid column) right of the fixed ones whose width
    // is above 0.
    int FirstDataColumn() const;
    // Data column i gets a tab stop when limit is -1 or i < limit.
    void UpdateTabStops(int limit);
    bool TabStops(int aCol) const override;
    void SetTabStops(int aCol, bool value);

    // --- sorting by title
    bool AutoSort() const { return FAutoSort; }
    void SetAutoSort(bool v) { FAutoSort = v; }
    const std::string& SortedField() const { return FSortedField; }
    void SetSortedField(const std::string& value);
    TSortMarker SortMarker() const { return FSortMarker; }
    void SetSortMarker(TSortMarker value);
    void SetSortMarkerQuiet(TSortMarker value) { FSortMarker = value; }
    virtual bool IsSortedField(const std::string& fieldName) const;
    // The column of the last title click (nullptr after a cell click).
    gui::TColumn* TitleColumn() const { return FTitleColumn; }
    TTitleClickEvent OnTitleBtnClick;
    TTitleClickEvent OnTitleBtnDblClick;
    // Asked before a title button is pressed (aCol: column index).
    std::function<void(rtl::TObject* sender, int aCol, db::TField* field, bool& enabled)> OnCheckButton;
    // Title buttons: whether a press may also start a column move.
    bool TitleButtonAllowMove() const { return FTitleButtonAllowMove; }
    void SetTitleButtonAllowMove(bool v) { FTitleButtonAllowMove = v; }
    // Whether a title button is held down, and which column's.
    bool TitlePressed() const { return FPressed; }
    gui::TColumn* PressedColumn() const { return FPressedCol; }
    // The arrow glyph in the top-left cell; a right press on the title row
    // fires OnTitleArrowMenuEvent and shows TitlePopup.
    bool TitleArrow() const { return FTitleArrow; }
    void SetTitleArrow(bool v) { FTitleArrow = v; Invalidate(); }
    gui::TPopupMenu* TitlePopup() const { return FTitlePopup; }
    void SetTitlePopup(gui::TPopupMenu* v) { FTitlePopup = v; }
    rtl::TNotifyEvent OnTitleArrowMenuEvent;

    // --- layout links, scroll lock
    void RegisterLayoutChangeLink(TUxDBGridLayoutChangeLink* link);
    void UnregisterLayoutChangeLink(TUxDBGridLayoutChangeLink* link);
    void BeginUpdate() { BeginLayout(); }
    void EndUpdate() { EndLayout(); }
    void DisableScroll() { ++FDisableCount; }
    void EnableScroll();
    bool ScrollDisabled() const { return FDisableCount > 0; }

    // --- column widths
    int MinColumnWidth() const { return FMinColumnWidth; }
    void SetMinColumnWidth(int value);
    int MaxColumnWidth() const { return FMaxColumnWidth; }
    void SetMaxColumnWidth(int value);
    bool AutoSizeColumns() const { return FAutoSizeColumns; }
    void SetAutoSizeColumns(bool value);
    int AutoSizeColumnIndex() const { return FAutoSizeColumnIndex; }
    void SetAutoSizeColumnIndex(int value);
    // Widths for the visible columns in order (the last repeats); a width
    // of 0 or less takes the column's default.  minWidth/maxWidth above 0
    // are the limits; below 0 they are collected from the widths.
    void InitializeColumnsWidth(int minWidth, int maxWidth, const std::vector<int>& widths, bool checkTitles);

    // The grid row being painted.
    int CurrentDrawRow() const { return FCurrentDrawRow; }

    // --- selection by keys and mouse (multi-selection of records)
    void SelectAll();
    void UnselectAll();
    void ToggleRowSelection();
    void GotoSelection(int index);
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    bool DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos) override;
    bool DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos) override;

    // --- legacy stream properties and the options migration
    // "AlternRowColor" and "AlternRowFontColor" (Booleans), "PostOnEnter".
    void ReadLegacyProperty(const std::string& name, bool value);
    // Run after loading: a stream without dgTitleClick and dgTitleHotTrack
    // that is not marked as migrated gets both.
    bool OptionsMigrated() const { return FOptionsMigrated; }
    void SetOptionsMigrated(bool v) { FOptionsMigrated = v; }
    void Loaded() override;
    // The legacy stream properties above, and the migration flag
    // "OptionsMigrated" (written, as True, only when Options has neither
    // dgTitleClick nor dgTitleHotTrack).
    void DefineProperties(rtl::TFiler& filer) override;

    // --- hints
    bool ShowTitleHint() const { return FShowTitleHint; }
    void SetShowTitleHint(bool v) { FShowTitleHint = v; }
    bool ShowCellHint() const { return FShowCellHint; }
    void SetShowCellHint(bool v) { FShowCellHint = v; }
    std::function<void(db::TField* field, std::string& hint, int& timeOut)> OnShowTitleHint;
    std::function<void(db::TField* field, std::string& hint, int& timeOut)> OnShowCellHint;

    // --- glyphs of Boolean-like fields
    // The glyph that replaces a cell's text, or gpNone.
    TUxDBGridBitmap GetGlyphIndex(db::TField* field);
    bool IsBooleanField(db::TField* field);
    std::function<bool(TUxDBGrid* grid, db::TField* field, std::string& stringForTrue, std::string& stringForFalse)>
        OnCheckIfBooleanField;

    TGetCellParamsEvent OnGetCellParams;
    // Asked for a cell's colours when OnGetCellParams is not assigned.
    TGetCellPropsEvent OnGetCellProps;
    TUxDBCanEditCellEvent OnCanEditCell;
    rtl::TNotifyEvent OnTopLeftChanged;
    // The font, background and sort marker of a title button.
    TGetBtnParamsEvent OnGetBtnParams;
    // The in-place editor's text changed.
    rtl::TNotifyEvent OnEditChange;
    // Before a title's caption and sort marker are drawn.
    TDrawColumnTitleEvent OnDrawColumnTitle;
    // A column resized with the mouse in the title row (aCol: column index).
    TUxDBColumnResizeEvent OnColumnResized;
    rtl::TNotifyEvent OnBeforePaint;
    rtl::TNotifyEvent OnAfterPaint;

    // --- typing: the characters that start pick-list or lookup completion
    const TSysCharSet& CharList() const { return FCharList; }
    void SetCharList(const TSysCharSet& value) { FCharList = value; }
    static TSysCharSet DefaultCharList();
    // Fires OnEditChange (the in-place editor calls it on every change).
    virtual void EditChanged();
    // The grid's data link, for the in-place editor.
    gui::TGridDataLink* GetDataLink() const { return DataLink(); }

    // The text output of data and title cells: the cell is filled with the
    // brush (not for themed titles), then the text drawn in it shrunk by dx
    // at the left and dy at the top, 1 at the right and bottom.
    void WriteCellText(const gui::TRect& rect, int dx, int dy, const std::string& text, gui::TAlignment alignment,
                       bool rightToLeft, uint32_t extraFlags, bool isTitle);
    // A title caption, vertically centred (wrapped with WordWrap).
    void DrawTitleCaption(gui::TCanvas* canvas, const gui::TRect& rect, gui::TColumn* column);

protected:
    virtual bool CanEditCell(db::TField* field);
    // Fires OnDrawColumnTitle.
    virtual void DoDrawColumnTitle(gui::TCanvas* canvas, const gui::TRect& rect, gui::TColumn* column,
                                   gui::TBitmap*& sortMarker, bool isDown, int& offset, bool& defaultDrawText,
                                   bool& defaultDrawSortMarker);
    // Fires OnGetBtnParams.
    virtual void GetBtnParams(db::TField* field, gui::TFont* font, gui::TColor& background, TSortMarker& sortMarker,
                              bool isDown);
    // A title cell over an active data link: button edge, colours, marker
    // and caption.
    void DrawTitleCell(int aCol, const gui::TRect& cell);
    // The marker of a title button after GetBtnParams (which may also change
    // the canvas font and brush); smNone without title buttons.
    TSortMarker TitleMarker(db::TField* field, bool isDown);
    void DrawTitleArrow(int aCol, int aRow, const gui::TRect& rect);
    // The glyph or the text of a data cell.
    void DrawCellContent(const gui::TRect& rect, int dataCol, gui::TColumn* column, gui::TGridDrawState state);
    bool IsInFixedColumn(db::TField* field) const;
    void PaintCells();
    uint32_t TextFlags(gui::TAlignment alignment, bool rightToLeft, uint32_t extraFlags) const;
    virtual bool TitleClickSorts() const { return static_cast<bool>(OnTitleBtnClick) || FAutoSort; }
    virtual void ApplyMinColumnWidth();
    virtual void ApplyMaxColumnWidth();
    virtual void DoAutoSizeColumns();
    virtual void GetCellParams(db::TField* field, gui::TFont* font, bool highlight, gui::TColor& background);
    virtual void DoTitleClick(int aCol, db::TField* field);
    virtual bool TitleDblClick();
    void NotifyLayoutChange(TUxDBGridLayoutChangeKind kind);
    virtual void CheckTitleButton(int aCol, int aRow, bool& enabled);
    // The title column under (x, y) when it is on a title row, else nullptr.
    gui::TColumn* TitleColumnAt(int x, int y);
    void TrackTitleButton(int x, int y);
    void EndTitleTracking();
    void SaveColumnsLayout(TUxCustomAppStorage* storage, const std::string& path);
    void LoadColumnsLayout(TUxCustomAppStorage* storage, const std::string& path);
    // The indicator cell of a selected record in a multi-select grid: the
    // dot, or the arrow on the current record; false for other cells.
    bool DrawSelectionMark(int aCol, int aRow, const gui::TRect& rect);
    // The confirmation of Ctrl+Delete (with dgConfirmDelete).
    bool ConfirmDelete();
    // Deletes the selected records, or the current one when none is.
    void DeleteRecords();
    void MoveWithSelection(bool shiftHeld, int delta);
    void ClearSelectionOnMove();
    void TabToNextColumn(bool forward);

    void Paint() override;
    void DrawCell(int aCol, int aRow, const gui::TRect& rect, gui::TGridDrawState state) override;
    // A fixed cell in the desktop's header look (title and indicator cells);
    // other fixed cells, and every cell without themes, as the platform draws them.
    virtual void DrawThemedFixedCell(int aCol, int aRow, gui::TGridDrawState state, const gui::TRect& rect);
    void DoMouseLeave(gui::TControl* control) override;
    void DrawColumnCell(const gui::TRect& rect, int dataCol, gui::TColumn* column, gui::TGridDrawState state) override;
    void Scroll(int distance) override;
    void LayoutChanged() override;
    void ColumnsLaidOut() override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void Resize() override;
    void TopLeftChanged() override;
    void TitleClick(gui::TColumn* column) override;
    void CellClick(gui::TColumn* column) override;
    bool CanEditShow() const override;
    gui::TInplaceEdit* CreateEditor() override;
    void SetEditText(int aCol, int aRow, const std::string& value) override;
    void TypeToCell(char16_t key);
    // Chooses the editor of the selected field: true for the in-place
    // editor, false when a Boolean toggle or an embedded control edits it
    // (or nothing may).
    virtual bool PrepareEditor();
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    void DblClick() override;
    bool DoPrepareHint(gui::THintInfo& hintInfo) override;
    // Title cells also size within 5 pixels of either edge.
    void CalcSizingState(int x, int y, gui::TGridState& state, int& index, int& sizingPos, int& sizingOfs) override;

private:
    void ApplyFixedCols();
    void KeepColumnRightOfFixed();
    void AfterLayoutChange();
    bool FInLayoutChange = false;
    // The key handling after the published OnKeyDown.
    void HandleKeyDown(uint16_t& key, gui::TShiftState shift);
    bool FixedColumnKey(uint16_t key, bool ctrl);
    void CalcTitleSizingState(int x, int y, gui::TGridState& state, int& index, int& sizingPos, int& sizingOfs);
    std::vector<bool> FTabStops;  // by grid column; missing: true
    int FSizingIndex = -1;
    void ResizeSelf();
    int LastVisibleColumn() const;

    bool FAutoSort = true, FBeepOnError = true, FAutoAppend = true;
    bool FShowGlyphs = true, FReduceFlicker = true, FMultiSelect = false, FClearSelection = true;
    bool FTitleButtons = false, FAlwaysShowEditor = false, FPostOnEnterKey = false;
    bool FEditorTyping = false, FEditorPending = false;
    bool FShowMemos = true, FWordWrap = false, FBooleanEditor = true, FCanDelete = true, FUseXPThemes = true;
    TSelectColumn FSelectColumn = TSelectColumn::scDataBase;
    std::string FStringForTrue = "1", FStringForFalse = "0";
    gui::TColor FAlternateRowColor = gui::clNone, FAlternateRowFontColor = gui::clNone;
    gui::TColor FReadOnlyCellColor = gui::clDefault;
    bool FAutoSizeRows = true, FRowResize = false;
    int FRowsHeight = 0, FTitleRowHeight = 0;
    int FFixedCols = 0;
    std::string FSortedField;
    TSortMarker FSortMarker = TSortMarker::smNone;
    gui::TColumn* FTitleColumn = nullptr;
    std::vector<TUxDBGridLayoutChangeLink*> FChangeLinks;
    int FDisableCount = 0;
    int FMinColumnWidth = 0, FMaxColumnWidth = 0;
    bool FAutoSizeColumns = false;
    int FAutoSizeColumnIndex = -1;
    bool FInAutoSize = false;
    int FCurrentDrawRow = 0;
    bool FOptionsMigrated = false;
    bool FApplyingHeights = false;
    bool FSelecting = false;
    bool FShowTitleHint = false, FShowCellHint = false;
    db::TBookmark FSelectionAnchor;
    TUxSelectDialogColumnStrings FSelectColumnsDialogStrings;
    std::unique_ptr<TUxDBGridControls> FControls;
    std::unique_ptr<TUxIniLink> FIniLink;
    std::string IniStoragePath();
    gui::TColumn* FPressedCol = nullptr;
    bool FPressed = false, FTracking = false, FSwapButtons = false, FTitleButtonAllowMove = false;
    bool FTitleArrow = false;
    gui::TPopupMenu* FTitlePopup = nullptr;
    int FMouseCol = -1;
    // Follows the title column under the mouse, repainting the cell left
    // and the cell entered.
    void TrackHotTitle(int x, int y);
    void LeaveControl();
    void ControlWndProc(gui::TMessage& message);
    gui::TWinControl* FCurrentControl = nullptr;
    std::function<void(gui::TMessage&)> FOldControlWndProc;
    db::TField* FBooleanFieldToEdit = nullptr;
    db::TFieldValue FControlOldValue;
    std::string FWord;
    TSysCharSet FCharList = DefaultCharList();
};

} // namespace dbgrids
