// BaseGrid: TBaseGrid, the base class of the program's string grid, with a
// sparse per-cell property store (TCellProperties in each cell's object
// slot, created on first use), merged cells, merge-aware cell text with two
// display-text events, and the undo/redo history of cell texts
// (ZAdiZaviDuraRavi).
//
// Merged cells: a block of W x H cells is shown and edited as one; its
// top-left cell is the base cell and holds the text.  The base cell's
// properties carry the extra columns and rows (CellSpanX = W - 1,
// CellSpanY = H - 1); a covered cell carries its distance from the base
// cell and IsBaseCell False.
//
// The rules a caller must know:
//  - Read and write cell texts through GetCellText / SetCellText, which go
//    to the base cell of a merged block; GetRawCellText / SetRawCellText
//    touch one cell and nothing else.
//  - The grid owns the properties it creates and frees them when a cell is
//    reset or freed and with itself; the caller's CellObject, the graphic
//    object and the embedded Control are only referred to.  Descendants
//    write object slots through SetRawObject, never through the string
//    grid's SetObjects, so that the grid knows which slots hold what.
//  - Cells outside ColCount x RowCount have no properties: reads answer the
//    neutral values (no properties, "" text, the cell its own base) and
//    writes do nothing; a merge is cut at the last column and row.
//
//   gridbase::TBaseGrid grid(form);
//   grid.MergeCells(2, 1, 3, 2);            // columns 2..4, rows 1..2
//   grid.SetCellText(4, 2, "Total");        // stored in (2, 1)
//   grid.GetCellText(3, 1);                 // "Total"
#pragma once

#include <functional>
#include <string>
#include <unordered_map>

#include "gridbase/ExUtil.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Grids.h"
#include "platform/rtl/Collections.h"

namespace gridbase {

class TBaseGrid;
class ZAdiZaviDuraRavi;

enum class TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum class TCellGradientDirection { GradientVertical, GradientHorizontal };
enum class TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM };
enum class TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum class TEditorType {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit,
    edDateEditUpDown, edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat,
    edCapital, edMixedCase, edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit,
    edTimeSpinEdit, edDateSpinEdit, edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone,
    edUniEdit, edUniComboEdit, edUniComboList, edUniEditBtn, edUniMemo, edDateTimeEdit, edValidChars,
    edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown
};

RTL_ENUM(TGridSelectionStyle, "ssDefault", "ssVista", "ssWin7", "ssOffice2007")
RTL_ENUM(TCellGradientDirection, "GradientVertical", "GradientHorizontal")
RTL_ENUM(TColumnCalcType, "acNONE", "acSUM", "acAVG", "acCOUNT", "acMIN", "acMAX", "acSPREAD", "acCUSTOM")
RTL_ENUM(TVAlignment, "vtaTop", "vtaCenter", "vtaBottom")
RTL_ENUM(TEditorType, "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox",
         "edDateEdit", "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric",
         "edPositiveNumeric", "edFloat", "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn",
         "edLowerCase", "edUpperCase", "edFloatSpinEdit", "edTimeSpinEdit", "edDateSpinEdit",
         "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edNone", "edUniEdit",
         "edUniComboEdit", "edUniComboList", "edUniEditBtn", "edUniMemo", "edDateTimeEdit", "edValidChars",
         "edTrackbarDropDown", "edMemoDropDown", "edCalculatorDropDown", "edTimePickerDropDown")

using TGetDisplTextEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value)>;
using TGetDisplWideTextEvent =
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::u16string& value)>;
RTL_EVENT(TGetDisplTextEvent)
RTL_EVENT(TGetDisplWideTextEvent)

// The properties of one cell, owned by its grid.
class TCellProperties : public rtl::TPersistent {
    RTL_CLASS(TCellProperties, rtl::TPersistent)
public:
    TCellProperties(TBaseGrid* owner, int aCol, int aRow);
    ~TCellProperties() override;

    // From another TCellProperties: merge data, owner cell, look, editor,
    // read-only, node level and control; the owner grid, CellObject, the
    // graphic object, BrushColorTo, the paint pass, the calculation fields
    // and GradientDirection stay.  Anything else is ignored.
    void Assign(const rtl::TPersistent* source) override;

    // The base cell of the block this cell (at aCol, aRow) belongs to.
    gui::TPoint LocateBaseCell(int aCol, int aRow) const;

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    int OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int v) { FOwnerCol = v; }
    int OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int v) { FOwnerRow = v; }
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool v) { FIsBaseCell = v; }
    int CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int v) { FCellSpanX = v; }
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int v) { FCellSpanY = v; }
    rtl::TObject* CellObject() const { return FObject; }
    void SetCellObject(rtl::TObject* v) { FObject = v; }
    rtl::TObject* GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(rtl::TObject* v) { FGraphicObject = v; }

    gui::TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(gui::TBrushStyle v) { FBrushStyle = v; }
    // These four repaint the cell.
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor v);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor v);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int v) { FFontSize = v; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor v) { FFontColor = v; }
    const gui::TFontStyles& FontStyle() const { return FFontStyle; }
    void SetFontStyle(const gui::TFontStyles& v) { FFontStyle = v; }
    const std::string& FontName() const { return FFontName; }
    void SetFontName(const std::string& v) { FFontName = v; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { FBorderWidth = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    gui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(gui::TAlignment v) { FAlignment = v; }
    int PaintID() const { return FPaintID; }
    void SetPaintID(int v) { FPaintID = v; }
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType v) { FCalcType = v; }
    rtl::TObject* CalcObject() const { return FCalcObject; }
    void SetCalcObject(rtl::TObject* v) { FCalcObject = v; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int v) { FNodeLevel = v; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType v) { FEditor = v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection v) { FGradientDirection = v; }
    gui::TControl* Control() const { return FControl; }
    void SetControl(gui::TControl* v) { FControl = v; }

    // Cell properties alive in the process (a leak check for tests).
    static long LiveCount();

private:
    friend class TBaseGrid;
    void Repaint();

    TBaseGrid* FOwnerGrid;
    int FOwnerCol;
    int FOwnerRow;
    rtl::TObject* FObject = nullptr;
    rtl::TObject* FGraphicObject = nullptr;
    gui::TBrushStyle FBrushStyle = gui::TBrushStyle::bsSolid;
    TColor FBrushColor = gui::clNone;
    TColor FBrushColorTo = gui::clNone;
    int FFontSize = 0;
    TColor FFontColor = gui::clNone;
    gui::TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = 0;
    gui::TAlignment FAlignment = gui::TAlignment::taLeftJustify;
    TVAlignment FVAlignment = TVAlignment::vtaTop;
    int FPaintID = 0;
    bool FWordWrap;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = TColumnCalcType::acNONE;
    rtl::TObject* FCalcObject = nullptr;
    int FNodeLevel = 0;
    TEditorType FEditor = TEditorType::edNormal;
    std::string FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = TCellGradientDirection::GradientVertical;
    gui::TControl* FControl = nullptr;
};

// Published (by name, through the run-time type information): ActiveRowShow,
// ActiveRowColor, DefaultDrawing, GridLineWidth, GridLineColor,
// GridFixedLineColor, UndoRedo and the two display-text events.
class TBaseGrid : public gui::TStringGrid {
    RTL_CLASS(TBaseGrid, gui::TStringGrid)
public:
    explicit TBaseGrid(rtl::TComponent* owner);
    // Frees every cell's properties (and graphic objects of class
    // "TCellGraphic" among them).
    ~TBaseGrid() override;

    std::string ClassName() const override { return "TBaseGrid"; }

    // --- properties -------------------------------------------------------
    // Only stored; the string grid's own default drawing stays off.
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value);
    // The grid draws its lines inside the cells; the string grid's own line
    // width stays 0.
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor value);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor value);
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool value);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor value);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle value);
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool value) { FShowSelection = value; }
    bool HideLastRow() const { return FHideLastRow; }
    void SetHideLastRow(bool value) { FHideLastRow = value; }
    // Only rows below this index pass through the display-text events.
    int NormalRowCount() const { return FNormalRowCount; }
    void SetNormalRowCount(int value) { FNormalRowCount = value; }
    // Word wrap given to new cell properties.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { FWordWrap = value; }
    bool HasCellProps() const { return FHasCellProps; }
    void SetHasCellProps(bool value) { FHasCellProps = value; }
    int PaintID() const { return FPaintID; }
    ZAdiZaviDuraRavi* UndoRedo() const { return FUndoRedo; }
    // Links the history to this grid; not owned.
    void SetUndoRedo(ZAdiZaviDuraRavi* value);

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // --- cell property store ---------------------------------------------
    // The cell's properties, created on first use; nullptr outside the grid.
    TCellProperties* GetCellProperties(int c, int r);
    // Frees the properties the cell holds and stores value (the grid owns it
    // from then on).
    void SetCellProperties(int c, int r, TCellProperties* value);
    bool HasCellProperties(int aCol, int aRow) const;
    // The properties in the slot, or nullptr; creates nothing.
    TCellProperties* FindCellProperties(int aCol, int aRow) const;
    rtl::TObject* GetRawObject(int aCol, int aRow) const;
    // Writes the slot itself; nothing is created or freed.
    void SetRawObject(int aCol, int aRow, rtl::TObject* object);
    // The string grid's slot writer, routed through SetRawObject.
    void SetObjects(int aCol, int aRow, rtl::TObject* object) { SetRawObject(aCol, aRow, object); }
    rtl::TObject* GetCellObject(int aCol, int aRow) const;
    void SetCellObject(int aCol, int aRow, rtl::TObject* object);
    rtl::TObject* GetCellGraphic(int aCol, int aRow) const;
    void SetCellGraphic(int aCol, int aRow, rtl::TObject* graphic);
    rtl::TObject* GetPropertiesGraphic(const TCellProperties* props) const;
    // Empties the slot and frees its properties (not their graphic object).
    void FreeCellProperties(int aCol, int aRow);
    // The same for a block, also freeing graphic objects of class "TCellGraphic".
    void FreeCellPropertiesRect(int fromCol, int fromRow, int toCol, int toRow);
    void FreeAllCellProperties();
    // The cell's text emptied and its properties freed (the graphic object stays).
    void ResetCell(int aCol, int aRow);
    void ResetRowCells(int aRow);
    void ResetColumnCells(int aCol);

    // --- cell text -------------------------------------------------------
    // The base cell's text, through OnGetDisplText and OnGetDisplWideText
    // (the latter giving "|\"-encoded text) for rows below NormalRowCount.
    std::string GetCellText(int aCol, int aRow);
    // Stores the text in the base cell; CellTextChanged and a repaint for a
    // cell with properties; HiddenLastRowChanged for the hidden last row.
    void SetCellText(int aCol, int aRow, const std::string& value);
    std::string GetRawCellText(int aCol, int aRow) const;
    void SetRawCellText(int aCol, int aRow, const std::string& value);

    // --- merged cells and geometry ----------------------------------------
    // spanX columns by spanY rows from (c, r); spans below 1 change nothing.
    virtual void MergeCells(int c, int r, int spanX, int spanY);
    // Splits the block (c, r) belongs to.
    virtual void SplitCells(int c, int r);
    gui::TPoint BaseCell(int aCol, int aRow) const;
    // True with the cell itself for a base or plain cell; false with the
    // base cell for a covered one.
    bool ResolveBaseCell(int aCol, int aRow, int& baseCol, int& baseRow) const;
    bool IsBaseCell(int aCol, int aRow) const;
    // The base cell's extra columns and rows; (0, 0) for a plain cell.
    gui::TPoint CellSpan(int aCol, int aRow) const;
    // From the cell to the block's bottom-right cell.
    gui::TPoint CellExt(int aCol, int aRow) const;
    // The block in cell coordinates, bounds inclusive.
    gui::TRect FullCell(int c, int r) const;
    bool IsMergedCell(int aCol, int aRow) const;
    bool IsMergedNonBaseCell(int aCol, int aRow) const;
    bool IsXMergedCell(int aCol, int aRow) const;
    bool IsYMergedCell(int aCol, int aRow) const;
    int MinRowSpan(int aRow) const;
    int MaxRowSpan(int aRow) const;
    bool RowSpanIdentical(int aRow1, int aRow2) const;
    bool ColSpanIdentical(int aCol1, int aCol2) const;
    // The cell's rectangle from the column widths and row heights, also out
    // of view.
    gui::TRect CalcCellRect(int aCol, int aRow) const;
    // A merged block's whole rectangle for any of its cells.
    gui::TRect CellRect(int c, int r) const;
    gui::TPoint CellSize(int c, int r) const;
    void RepaintCell(int c, int r);

    // --- what descendants refine -------------------------------------------
    virtual bool IsFixed(int aCol, int aRow) const { return false; }
    virtual int RowIndent(int aRow) const { return 0; }
    virtual bool HasNodes() const { return false; }
    virtual void HiddenLastRowChanged() {}
    virtual void DoGetDisplText(int aCol, int aRow, std::string& value);
    virtual void DoGetDisplWideText(int aCol, int aRow, std::u16string& value);
    virtual void GetDefaultCellProperties(int aCol, int aRow, gui::TFont& font, gui::TBrush& brush,
                                          TColor& colorTo, TColor& mirrorColor, TColor& mirrorColorTo,
                                          gui::TAlignment& ha, TVAlignment& va, bool& ww,
                                          TCellGradientDirection& gd);
    virtual void CellTextChanged(int aCol, int aRow) {}
    virtual bool HasCellBorders() const { return false; }
    virtual void GetVisualProperties(int aCol, int aRow, gui::TGridDrawState& state, bool print, bool select,
                                     bool remap, gui::TBrush& brush, TColor& colorTo, TColor& mirrorColor,
                                     TColor& mirrorColorTo, gui::TFont& font, gui::TAlignment& ha,
                                     TVAlignment& va, bool& ww, TCellGradientDirection& gd) {}
    virtual int DisplColIndex(int aCol) const { return aCol; }
    // Columns whose cells the property store serves: ColCount, and in a
    // descendant that hides columns beyond ColCount also the hidden ones.
    virtual int StoreColCount() const { return ColCount(); }
    // Draws the cell's content inside rect: here GetCellText centred on one line.
    virtual void DrawCellText(gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect,
                              gui::TGridDrawState state);

    // --- navigation (BaseGridPaint.cpp) -------------------------------------
    // Moves the current cell to the base cell of its block.
    void SnapToBaseCell();
    // Right and Down leave a merged block, Page Down and the wheel keep off
    // a hidden last row; the current cell always ends on a base cell.
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    bool DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos) override;
    bool DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos) override;

    // The scaling hook (m / d, as a form changes its resolution): the
    // default row height follows; d = 0 or m = d changes nothing.
    virtual void ScaleGrid(int m, int d);

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    // The inherited painting, then the next paint pass.
    void Paint() override;
    // Draws a merged block once per pass, clipped off the fixed cells, with
    // the visual properties, active row, selection frame and own grid lines.
    void DrawCell(int aCol, int aRow, const gui::TRect& rect, gui::TGridDrawState state) override;
    bool SelectCell(int aCol, int aRow) override;
    void TopLeftChanged() override;

private:
    friend class TCellProperties;
    bool Inside(int c, int r) const { return c >= 0 && r >= 0 && c < StoreColCount() && r < RowCount(); }
    TCellProperties* CreateCellProperties(int c, int r);
    // Slot bookkeeping of the properties this grid owns: how many slots hold
    // each.  Properties leave it when freed; they are freed when the last
    // slot lets go of them through a reset or a free.
    void Hold(rtl::TObject* object);
    void Release(rtl::TObject* object, bool freeGraphic, bool freeWhenUnheld);
    void Forget(TCellProperties* props) { FOwned.erase(props); }
    static void FreeProperties(TCellProperties* props, bool freeGraphic);
    // Draws a base or plain cell: background, own grid lines, content.
    void DrawCellAt(int aCol, int aRow, const gui::TRect& rect, gui::TGridDrawState state);
    int FixedColsWidth() const;
    int FixedRowsHeight() const;
    void RepaintMergedFixedCells();
    // Page Down and the wheel leave a hidden last row for the one above it.
    void KeepOffHiddenLastRow();

    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = 0xC0C0C0;
    TColor FGridFixedLineColor = 0x808080;
    int FPaintID = 1;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;
    ZAdiZaviDuraRavi* FUndoRedo = nullptr;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = gui::clInfoBk;
    TGridSelectionStyle FSelectionStyle = TGridSelectionStyle::ssDefault;
    bool FShowSelection = false;
    bool FHasCellProps = false;
    std::unordered_map<TCellProperties*, int> FOwned;  // owned properties -> slots holding them
};

// --- undo and redo ---------------------------------------------------------

// One change of a cell text, or a marker that opens or closes a sequence
// (Col = Row = -1, empty texts).
class TUndoRedoItem : public rtl::TCollectionItem {
    RTL_CLASS(TUndoRedoItem, rtl::TCollectionItem)
public:
    explicit TUndoRedoItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
    void Assign(const rtl::TPersistent* source) override;

    int Row() const { return FRow; }
    void SetRow(int v) { FRow = v; }
    int Col() const { return FCol; }
    void SetCol(int v) { FCol = v; }
    const std::string& Value() const { return FValue; }
    void SetValue(const std::string& v) { FValue = v; }
    const std::string& OrigValue() const { return FOrigValue; }
    void SetOrigValue(const std::string& v) { FOrigValue = v; }
    bool SequenceStart() const { return FSequenceStart; }
    void SetSequenceStart(bool v) { FSequenceStart = v; }
    bool SequenceStop() const { return FSequenceStop; }
    void SetSequenceStop(bool v) { FSequenceStop = v; }
    bool IsMarker() const { return FSequenceStart || FSequenceStop; }

private:
    int FRow = 0;
    int FCol = 0;
    std::string FValue;
    std::string FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

class TUndoRedoCollection : public rtl::TCollection {
    RTL_CLASS(TUndoRedoCollection, rtl::TCollection)
public:
    TUndoRedoCollection() : rtl::TCollection(TUndoRedoItem::StaticClassInfo()) {}
    TUndoRedoItem* Add() { return static_cast<TUndoRedoItem*>(TCollection::Add()); }
    TUndoRedoItem* Items(int index) const { return static_cast<TUndoRedoItem*>(TCollection::Items(index)); }
};

// Sender, grid, cell, the text the cell shows now and the text about to be written.
using ZAdiZaviDuraRaviEvent = std::function<void(rtl::TObject* sender, TBaseGrid* grid, int col, int row,
                                                 const std::string& origValue, const std::string& newValue)>;

// The history of cell text changes of one grid.  Level counts the items
// applied: Undo takes back the item at Level - 1 (a whole sequence between
// its markers), Redo applies the item at Level.  A change registered after
// an Undo drops the undone items first, so Redo never brings back an edit
// that a later one replaced.
class ZAdiZaviDuraRavi : public rtl::TComponent {
    RTL_CLASS(ZAdiZaviDuraRavi, rtl::TComponent)
public:
    explicit ZAdiZaviDuraRavi(rtl::TComponent* owner);
    ~ZAdiZaviDuraRavi() override;

    virtual void RegisterChange(int aCol, int aRow, const std::string& oldValue, const std::string& newValue);
    virtual void StartSequence();
    virtual void StopSequence();
    void Undo();
    void Redo();
    // Deletes the whole history; Level stays (Undo and Redo then do nothing).
    void Reset();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FItems->Count() > FLevel; }

    TUndoRedoCollection* Items() const { return FItems; }
    TBaseGrid* Grid() const { return FGrid; }
    void SetGrid(TBaseGrid* grid);
    int Level() const { return FLevel; }
    // Largest history kept by RegisterChange; 0: no limit.
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int v) { FMaxLevel = v; }

    ZAdiZaviDuraRaviEvent OnUndo;
    ZAdiZaviDuraRaviEvent OnRedo;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    void DropUndone();
    void Append(int aCol, int aRow, const std::string& oldValue, const std::string& newValue, bool start,
                bool stop);
    void TakeBack(const TUndoRedoItem& item);
    void Apply(const TUndoRedoItem& item);

    TUndoRedoCollection* FItems;
    TBaseGrid* FGrid = nullptr;
    int FLevel = 0;
    int FMaxLevel = 0;
};

} // namespace gridbase
