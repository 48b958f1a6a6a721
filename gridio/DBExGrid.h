// TDBExGrid: the string grid bound to a data set through a data source.
//
// In page mode (the default) the cells hold no record data: every cell
// text and graphic is read from the data link's window of buffered records
// when it is needed, and the grid's current row and the data set's current
// record move together.  In full-load mode the records are copied into the
// cells when the data set opens (Reload copies again).  Each grid column,
// fixed ones included, has one TDBGridColumnItem in Columns; with
// ShowDBIndicator column 0 shows the record indicator and no field.
//
// The one rule: bind through SetDataSource and let the data set drive the
// grid; do not write the data cells of a page-mode grid yourself.
//
//   grid->SetDataSource(&source);      // source.SetDataSet(&table)
//   table.Open();                      // 5 records -> RowCount 6
//   grid->Columns()->Items(1)->SetHeader("Name");
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/ExGrid.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/Collections.h"

namespace gridio {

class TDBExGrid;

enum class TDataSetType { dtSequenced, dtNonSequenced };
enum class TEditPostMode { epCell, epRow };
enum class TColumnPopupType {
    cpFixedCellsRClick, cpFixedCellsLClick, cpNormalCellsRClick, cpNormalCellsLClick,
    cpAllCellsRClick, cpAllCellsLClick
};

// The data link through which the data set's notifications reach the grid.
class TExGridDataLink : public db::TDataLink {
public:
    explicit TExGridDataLink(TDBExGrid* grid);
    TDBExGrid* Grid() const { return FGrid; }
    // The field map carries no behaviour: always empty.
    int FieldCount() const { return 0; }
    bool AddMapping(const std::string&) { return true; }
    void ClearMapping() {}
    bool SparseMap() const { return FSparseMap; }
    void SetSparseMap(bool v) { FSparseMap = v; }
    bool DefaultFields() const;
    // The inplace editor holds a value not yet written to the field.
    void Modified() { FModified = true; }
    bool IsModified() const { return FModified; }
    // Re-reads the record when modified, else cancels a pending edit.
    void Reset();

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void EditingChanged() override;
    void RecordChanged(db::TField* field) override;
    void UpdateData() override;

private:
    TDBExGrid* FGrid;
    bool FModified = false;
    bool FInUpdateData = false;
    bool FSparseMap = false;
};

// One grid column: the field it shows and how it shows and edits it.
class TDBGridColumnItem : public rtl::TCollectionItem {
    RTL_CLASS(TDBGridColumnItem, rtl::TCollectionItem)
public:
    explicit TDBGridColumnItem(rtl::TCollection* collection);
    ~TDBGridColumnItem() override;

    TDBExGrid* Grid() const;
    std::string DisplayName() const override;
    void Assign(const rtl::TPersistent* source) override;
    // Visual settings of another item; Color and Font come from the grid.
    void AssignVisuals(const rtl::TPersistent* source);

    // Binds by name lazily: a field missing now is bound once the data set
    // is active.
    db::TField* Field();
    void SetField(db::TField* value);
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& value);
    // The grid's width of this column (hidden columns included).
    int Width() const;
    void SetWidth(int value);
    const std::string& Header() const { return FHeader; }
    void SetHeader(const std::string& value);

    grid::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(grid::TAlignment v) { FAlignment = v; Changed(false); }
    grid::TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(grid::TAlignment v) { FHeaderAlignment = v; Changed(false); }
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v) { FColor = v; Changed(false); }
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(const gui::TFont* v) { FFont->Assign(v); Changed(false); }
    gui::TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(const gui::TFont* v) { FHeaderFont->Assign(v); Changed(false); }
    gui::TFont* PrintFont() const { return FPrintFont.get(); }
    void SetPrintFont(const gui::TFont* v) { FPrintFont->Assign(v); Changed(false); }
    gui::TColor PrintColor() const { return FPrintColor; }
    void SetPrintColor(gui::TColor v) { FPrintColor = v; }
    gui::TPen* BorderPen() const { return FBorderPen.get(); }
    gui::TPen* PrintBorderPen() const { return FPrintBorderPen.get(); }
    grid::TCellBorders Borders() const { return FBorders; }
    void SetBorders(grid::TCellBorders v) { FBorders = v; Changed(false); }
    grid::TCellBorders PrintBorders() const { return FPrintBorders; }
    void SetPrintBorders(grid::TCellBorders v) { FPrintBorders = v; }
    grid::TSortStyle SortStyle() const { return FSortStyle; }
    void SetSortStyle(grid::TSortStyle v) { FSortStyle = v; }
    const std::string& SortPrefix() const { return FSortPrefix; }
    void SetSortPrefix(const std::string& v) { FSortPrefix = v; }
    const std::string& SortSuffix() const { return FSortSuffix; }
    void SetSortSuffix(const std::string& v) { FSortSuffix = v; }
    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& v) { FEditMask = v; }
    int EditLength() const { return FEditLength; }
    void SetEditLength(int v) { FEditLength = v; }
    grid::TEditorType Editor() const { return FEditor; }
    void SetEditor(grid::TEditorType v);
    bool Fixed() const { return FFixed; }
    void SetFixed(bool v) { FFixed = v; Changed(false); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool Password() const { return FPassword; }
    void SetPassword(bool v) { FPassword = v; Changed(false); }
    rtl::TStringList* ComboItems() const { return FComboItems.get(); }
    int SpinMin() const { return FSpinMin; }
    void SetSpinMin(int v) { FSpinMin = v; }
    int SpinMax() const { return FSpinMax; }
    void SetSpinMax(int v) { FSpinMax = v; }
    int SpinStep() const { return FSpinStep; }
    void SetSpinStep(int v) { FSpinStep = v; }
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }
    int DefIdx() const { return FDefIdx; }
    void SetDefIdx(int v) { FDefIdx = v; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    const std::string& CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const std::string& v) { FCheckTrue = v; }
    const std::string& CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const std::string& v) { FCheckFalse = v; }
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool v) { FShowBands = v; Changed(false); }
    rtl::TStringList* Filter() const { return FFilter.get(); }
    int MinSize() const { return FMinSize; }
    void SetMinSize(int v) { FMinSize = v; }
    int MaxSize() const { return FMaxSize; }
    void SetMaxSize(int v) { FMaxSize = v; }
    int AutoMinSize() const { return FAutoMinSize; }
    void SetAutoMinSize(int v) { FAutoMinSize = v; }
    int AutoMaxSize() const { return FAutoMaxSize; }
    void SetAutoMaxSize(int v) { FAutoMaxSize = v; }
    TColumnPopupType ColumnPopupType() const { return FColumnPopupType; }
    void SetColumnPopupType(TColumnPopupType v) { FColumnPopupType = v; }
    bool FilterCaseSensitive() const { return FFilterCaseSensitive; }
    void SetFilterCaseSensitive(bool v) { FFilterCaseSensitive = v; }
    const std::string& FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const std::string& v);
    // Exclusive display modes: setting one while another is on raises.
    bool PictureField() const { return FPictureField; }
    void SetPictureField(bool v);
    bool CheckBoxField() const { return FCheckBoxField; }
    void SetCheckBoxField(bool v);
    bool ProgressField() const { return FProgressField; }
    void SetProgressField(bool v);
    bool DataImageField() const { return FDataImageField; }
    void SetDataImageField(bool v) { FDataImageField = v; Changed(false); }
    gui::TColor ProgressColor() const { return FProgressColor; }
    void SetProgressColor(gui::TColor v) { FProgressColor = v; Changed(false); }
    gui::TColor ProgressBKColor() const { return FProgressBKColor; }
    void SetProgressBKColor(gui::TColor v) { FProgressBKColor = v; Changed(false); }
    gui::TColor ProgressTextColor() const { return FProgressTextColor; }
    void SetProgressTextColor(gui::TColor v) { FProgressTextColor = v; Changed(false); }
    gui::TColor ProgressTextBKColor() const { return FProgressTextBKColor; }
    void SetProgressTextBKColor(gui::TColor v) { FProgressTextBKColor = v; Changed(false); }
    const std::string& HTMLTemplate() const { return FHTMLTemplate; }
    void SetHTMLTemplate(const std::string& v) { FHTMLTemplate = v; Changed(false); }
    bool ShowUnicode() const { return FShowUnicode; }
    void SetShowUnicode(bool v) { FShowUnicode = v; }
    grid::TStretchMode PictureStretch() const { return FPictureStretch; }
    void SetPictureStretch(grid::TStretchMode v) { FPictureStretch = v; }
    bool UseLookupEditor() const { return FUseLookupEditor; }
    void SetUseLookupEditor(bool v) { FUseLookupEditor = v; }
    // A menu shown by clicks on the column (which clicks: ColumnPopupType).
    gui::TPopupMenu* ColumnPopup() const { return FColumnPopup; }
    void SetColumnPopup(gui::TPopupMenu* v);

private:
    friend class TDBExGrid;
    friend class TDBGridColumnCollection;
    db::TField* FField = nullptr;
    std::string FFieldName;
    int FWidth = 50;
    grid::TAlignment FAlignment = grid::TAlignment::taLeftJustify;
    std::string FHeader;
    grid::TSortStyle FSortStyle = grid::TSortStyle::ssAutomatic;
    std::string FSortPrefix, FSortSuffix, FEditMask;
    int FEditLength = 0;
    std::unique_ptr<gui::TFont> FFont;
    gui::TColor FColor = gui::clWindow;
    grid::TEditorType FEditor = grid::TEditorType::edNormal;
    bool FFixed = false, FReadOnly = false, FPassword = false;
    std::unique_ptr<rtl::TStringList> FComboItems;
    int FSpinMin = 0, FSpinMax = 0, FSpinStep = 1;
    std::unique_ptr<gui::TFont> FPrintFont;
    gui::TColor FPrintColor = 0xFFFFFF;
    grid::TCellBorders FBorders;
    std::unique_ptr<gui::TPen> FBorderPen;
    grid::TCellBorders FPrintBorders;
    std::unique_ptr<gui::TPen> FPrintBorderPen;
    int FTag = 0, FDefIdx = 0;
    std::string FName;
    std::string FCheckFalse = "N", FCheckTrue = "Y";
    bool FShowBands = false;
    std::unique_ptr<rtl::TStringList> FFilter;
    int FMaxSize = 0, FMinSize = 0, FAutoMinSize = 0, FAutoMaxSize = 0;
    TColumnPopupType FColumnPopupType = TColumnPopupType::cpFixedCellsRClick;
    bool FFilterCaseSensitive = false;
    std::string FFloatFormat;
    bool FPictureField = false, FCheckBoxField = false, FProgressField = false, FDataImageField = false;
    gui::TColor FProgressColor = 0x0000FF, FProgressBKColor = 0xFFFFFF, FProgressTextColor = 0xFFFFFF,
                FProgressTextBKColor = 0x0000FF;
    std::string FHTMLTemplate;
    grid::TAlignment FHeaderAlignment = grid::TAlignment::taLeftJustify;
    std::unique_ptr<gui::TFont> FHeaderFont;
    bool FShowUnicode = false;
    grid::TStretchMode FPictureStretch = grid::TStretchMode::StretchWithAspectRatio;
    bool FUseLookupEditor = true;
    gui::TPopupMenu* FColumnPopup = nullptr;
};

// The grid's columns: one item per grid column, fixed columns included.
class TDBGridColumnCollection : public rtl::TCollection {
    RTL_CLASS(TDBGridColumnCollection, rtl::TCollection)
public:
    explicit TDBGridColumnCollection(TDBExGrid* owner = nullptr);
    TDBExGrid* Grid() const { return FOwner; }
    rtl::TPersistent* GetOwner() const override;
    // A new item takes the visual settings of the item before it.
    TDBGridColumnItem* Add();
    TDBGridColumnItem* Insert(int index);
    TDBGridColumnItem* Items(int index) const { return static_cast<TDBGridColumnItem*>(TCollection::Items(index)); }
    bool HasFieldsDefined() const;
    // Brings the item count in line with the grid's columns and records
    // each item's index in DefIdx.
    void SetOrganization();
    // Moves every column whose DefIdx is below its index back to DefIdx.
    void ResetOrganization();

protected:
    void Update(rtl::TCollectionItem* item) override;

private:
    friend class TDBExGrid;
    TDBExGrid* FOwner;
    bool FNoRecursiveUpdate = false;
};

using TCellValidateDBEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value,
                                                bool& valid)>;
using TCanSortEvent = std::function<void(rtl::TObject* sender, int aCol, bool& doSort)>;
using TSetQueryOrderEvent = std::function<void(rtl::TObject* sender, std::string& sql)>;
using TGetEditEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value)>;
using TGetRecordCountEvent = std::function<void(rtl::TObject* sender, int& count)>;
using TGetHTMLTemplateDataEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow,
                                                     const std::string& fieldName, std::string& data)>;
using TInvalidPictureEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow)>;
using TFieldToStreamEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, db::TField* field,
                                               rtl::TMemoryStream& ms)>;
using TDBRowChangingEvent = std::function<void(rtl::TObject* sender, int oldRow, int newRow, bool& allow)>;
using TDBColumnPopupEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, gui::TPopupMenu* menu)>;
using TDBRowChangedEvent = std::function<void(rtl::TObject* sender, int oldRow, int newRow)>;

// What a blob holds, judged by its first bytes (see SniffBlobPicture).
enum class TBlobPictureKind { bpNone, bpBitmap, bpJPEG, bpGIF, bpOther };
struct TBlobSniff {
    TBlobPictureKind Kind = TBlobPictureKind::bpNone;
    // Where the picture's data begins.
    size_t Offset = 0;
};
// Judges a blob: a JPEG, GIF or bitmap signature at the start, or behind
// an embedded-object header ($15 $1C) within the first 512 bytes of the
// data (never past its end); bpOther for anything else of more than two
// bytes, bpNone for shorter data or a header without a signature.
TBlobSniff SniffBlobPicture(const std::string& data);

// The SQL text with its ORDER BY clause replaced (or added) for one field.
std::string RewriteOrderBy(const std::string& sql, const std::string& fieldName, bool descending);

class TDBExGrid : public grid::TExStringGrid {
public:
    explicit TDBExGrid(rtl::TComponent* owner = nullptr);
    ~TDBExGrid() override;
    std::string ClassName() const override { return "TDBExGrid"; }

    // 33622531, and the version text derived from it ("2.1.10.3").
    uint32_t GetVersionNr() const override;
    std::string GetVersionString() const override;

    TDBGridColumnCollection* Columns() const { return FColumnCollection.get(); }
    TExGridDataLink* DataLink() const { return FDataLink.get(); }
    db::TDataSource* DataSource() const;
    void SetDataSource(db::TDataSource* value);
    int FieldCount() const { return FDataLink->FieldCount(); }
    db::TField* SelectedField() { return ColumnField(Col()); }

    void SetColCount(int value);
    void SetFixedRows(int value);

    bool PageMode() const { return FPageMode; }
    void SetPageMode(bool value);
    bool ShowDBIndicator() const { return FShowDBIndicator; }
    void SetShowDBIndicator(bool value) { FShowDBIndicator = value; Invalidate(); }
    bool ShowMemoFields() const { return FShowMemoFields; }
    void SetShowMemoFields(bool value);
    bool ShowBooleanFields() const { return FShowBooleanFields; }
    void SetShowBooleanFields(bool value);
    bool ShowPictureFields() const { return FShowPictureFields; }
    void SetShowPictureFields(bool value);
    bool ShowUnicode() const { return FShowUnicode; }
    void SetShowUnicode(bool value) { FShowUnicode = value; }
    TDataSetType DataSetType() const { return FDataSetType; }
    void SetDataSetType(TDataSetType value);
    bool DatasetTypeAuto() const { return FDatasetTypeAuto; }
    void SetDatasetTypeAuto(bool value) { FDatasetTypeAuto = value; }
    TEditPostMode EditPostMode() const { return FEditPostMode; }
    void SetEditPostMode(TEditPostMode value) { FEditPostMode = value; }
    bool AutoCreateColumns() const { return FAutoCreateColumns; }
    void SetAutoCreateColumns(bool value) { FAutoCreateColumns = value; }
    bool AutoRemoveColumns() const { return FAutoRemoveColumns; }
    void SetAutoRemoveColumns(bool value) { FAutoRemoveColumns = value; }
    bool RefreshOnDelete() const { return FRefreshOnDelete; }
    void SetRefreshOnDelete(bool value) { FRefreshOnDelete = value; }
    bool RefreshOnInsert() const { return FRefreshOnInsert; }
    void SetRefreshOnInsert(bool value) { FRefreshOnInsert = value; }
    gui::TPicture* InvalidPicture() const { return FInvalidPicture.get(); }
    void SetInvalidPicture(const gui::TPicture* value) { FInvalidPicture->Assign(value); }
    // The picture that picture cells of page mode draw (the last one read).
    gui::TPicture* GridPicture() const { return FPicture.get(); }

    void Reload();
    void UpdateActive();
    void UpdateDisplay();
    void AssignCells(const rtl::TPersistent*) override {}
    // The string grid's settings, then the data source of a data-aware grid.
    void Assign(const rtl::TPersistent* source) override;

    bool ValidateCell(const std::string& newValue) override;
    // While editing the string grid's text of the current cell, otherwise
    // the record's text shown there.
    std::string GetCurrentCellText() override;
    void AddAllFields();
    void RemoveAllFields();
    void RemoveAllColumns();
    void SaveColumnPositions(const std::string& key, const std::string& section);
    void LoadColumnPositions(const std::string& key, const std::string& section);

    void ExportNotification(grid::TGridExportState state, int aRow) override;
    void ImportNotification(grid::TGridImportState state, int aRow) override;

    // The field a column shows (nil for none), its index in the data
    // set's fields (-1), the record count as the grid shows it.
    db::TField* ColumnField(int aCol);
    int ColumnFieldIndex(int aCol);
    int CountRecords();
    bool IsDataSetActive() const;
    bool EditCurrentRecord();
    // Pastes write the field of the row's record (page mode only).
    void PasteCellText(int aCol, int aRow, const std::string& value) override;
    // A column's Filter lines, else the string grid's list.
    bool GetColumnFilter(int aCol) override;
    // Auto sizing stays within the column's AutoMinSize .. AutoMaxSize.
    void UpdateAutoColumnSize(int aCol, int& width) override;
    // The string grid's answer; an allowed row first posts a record being
    // edited in epRow mode.
    bool CanAddRow() override;
    // Sizing a column stays within its MinSize .. MaxSize.
    void UpdateColumnSize(int aCol, int& width) override;
    // Ctrl+A: the current row goes to the last selected row, or, without
    // record numbers, to the first (the rectangle turned upside down).
    void PrepareKeySelectAll(gui::TGridRect& rect) override;

    // Headless stand-in for the scroll bar message: SB_* code and, for the
    // thumb codes, the 16-bit thumb position.
    void WMVScroll(int code, int thumbPos);

    TDBRowChangingEvent OnRowChangingDB;
    TDBRowChangedEvent OnRowUpdate;
    TCellValidateDBEvent OnCellValidateDB;
    // The string grid's own OnCanSort is taken by this grid (it re-sorts a
    // query by its ORDER BY clause); callers use OnCanSortDB.
    TCanSortEvent OnCanSortDB;
    TSetQueryOrderEvent OnSetQueryOrder;
    TGetEditEvent OnGetEditText;
    TGetRecordCountEvent OnGetRecordCount;
    TGetHTMLTemplateDataEvent OnGetHTMLTemplateData;
    TInvalidPictureEvent OnInvalidPicture;
    TFieldToStreamEvent OnFieldToStream;
    TDBColumnPopupEvent OnColumnPopup;

    // --- called by the data link ----------------------------------------
    void LinkActiveChanged(bool active);
    void LinkDataSetChanged();
    void LinkScrolled(int distance);
    void LinkEditingChanged();
    void LinkRecordChanged(db::TField* field);
    void LinkUpdateData();

    // Reads a blob field's picture into the grid picture; false (and the
    // invalid picture shown) when it cannot be read.
    bool LoadBlobPicture(db::TField* field, gui::TPoint& size, int aRow, int aCol);
    // Re-sorts a query data set by the column (its ORDER BY clause);
    // returns whether the grid should still sort its own cells.
    bool SortByQueryOrder(int aCol);
    // Non-sequenced mode: the thumb position 0 (start), 2 or 4 (end).
    int ThumbPos() const { return FThumbPos; }
    // The design-time quick configuration (only while designing): its
    // title, and the item at a client point (0 add all fields, 1 remove
    // all fields, 2 remove all columns, -1 none).
    std::string DesignHelperTitle() const { return "Quick config[" + GetVersionString() + "]"; }
    int DesignChoiceAt(int x, int y);
    int LastDBDesignChoice() const { return FLastDBDesignChoice; }
    void DesignHelperClick(int x, int y) override;
    void Dispatch(gui::TMessage& message) override;

protected:
    void DoGetDisplText(int aCol, int aRow, std::string& value) override;
    grid::TCellGraphic* GetCellGraphic(int aCol, int aRow) override;
    grid::TCellType GetCellType(int aCol, int aRow) override;
    void GetCellColor(int aCol, int aRow, grid::TGridDrawState state, gui::TBrush* brush, gui::TFont* font) override;
    void QueryCellAlignment(int aCol, int aRow, grid::TAlignment& hAlign, grid::TVAlignment& vAlign) override;
    void GetColumnFormat(int aCol, grid::TSortStyle& style, std::string& prefix, std::string& suffix) override;
    void GetCellEditorType(int aCol, int aRow, grid::TEditorType& editor) override;
    void ResolveEditorType(int aCol, int aRow, grid::TEditorType& editor) override;
    void IsFixedCell(int aCol, int aRow, bool& isFixed) override;
    void IsPasswordCell(int aCol, int aRow, bool& isPassword) override;
    void CanEditCell(int aCol, int aRow, bool& canEdit) override;
    void CanEditBaseCell(int aCol, int aRow, bool& canEdit) override;
    bool CanShowInplaceEditor() override;
    void GetCheckTrue(int aCol, int aRow, std::string& value) override;
    void GetCellBorder(int aCol, int aRow, gui::TPen* pen, grid::TCellBorders& borders) override;
    void GetCellPrintBorder(int aCol, int aRow, gui::TPen* pen, grid::TCellBorders& borders) override;
    bool HasCombo(int aCol, int aRow) override;
    void GetFormattedCellText(int aCol, int aRow, std::string& text) override;
    void ColumnHeadersChanged() override;
    std::string GetEditMask(int aCol, int aRow) override;
    void GetCheckFalse(int aCol, int aRow, std::string& value) override;
    bool ToggleCellCheck(int aCol, int aRow, bool askEditable) override;
    std::string GetEditText(int aCol, int aRow) override;
    bool SelectCell(int aCol, int aRow) override;
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    bool DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos) override;
    bool DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos) override;
    void WheelMoved(int rowDelta, bool& handled) override;
    // The grid's own cell format is never pasted into records.
    bool AllowFormattedClipboard() override { return false; }
    void MouseActionsChanged() override;
    void ModifyScrollBar(int bar, int code, int pos) override;
    void DrawCell(int aCol, int aRow, const gui::TRect& rect, grid::TGridDrawState state) override;
    void Resize() override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void SelectionMoved(const gui::TGridRect& oldSel) override;
    void PaintDesignHelper() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void WrapToFirstRow() override;

private:
    friend class TDBGridColumnItem;
    friend class TDBGridColumnCollection;
    TDBGridColumnItem* ItemAt(int realCol) const;
    int IndicatorOffset() const { return (FShowDBIndicator && FixedCols() > 0) ? 1 : 0; }
    bool IsIndicatorCol(int aCol) const { return aCol == 0 && IndicatorOffset() == 1; }
    db::TDataSet* LinkedDataSet() const { return FDataLink->DataSet(); }
    // The k-th visible field (k counts from 0), or nil.
    db::TField* VisibleField(int k) const;
    int VisibleFieldCount() const;
    // A column that shows its field as a graphic rather than text.
    bool ShowsGraphic(int realCol);
    std::string FieldCellText(TDBGridColumnItem* item, db::TField* field, int aCol);
    std::string ApplyHTMLTemplate(const std::string& tmpl, int aRow, int aCol);
    // Moves the link's active record to the row's record; false outside
    // the buffer.  Restore with the returned old value.
    bool SeekRowRecord(int aRow, int& oldActive);
    void LoadAllRecords();
    void SyncRowWithRecord();
    void SyncRowCount();
    void Recount();
    // Moves the current row without moving the record.
    void InternalSetRow(int aRow);
    void InvalidPictureFound(int aCol, int aRow);
    // A click on a column with a pop-up menu of that kind; true when shown.
    bool ColumnPopupClick(gui::TMouseButton button, int x, int y);
    void PostRecord();
    void AppendByKey();
    void WriteFieldValue(int aCol, const std::string& value);
    void ValidateEditedCell(int aCol, int aRow, std::string& value, bool& valid);
    void LoadLookupList(db::TField* field, rtl::TStringList& list);
    std::string LookupKeyOf(int tag) const;
    int VisibleRows() const { return std::max(1, VisibleRowCount()); }
    // The floating footer occupies the last row (a column preview does not).
    bool FooterTakesRow() const
    {
        return FloatingFooter()->Visible() && FloatingFooter()->FooterStyle() != grid::TFooterStyle::fsColumnPreview;
    }
    static bool IsEditingState(db::TDataSetState s)
    {
        return s == db::TDataSetState::dsEdit || s == db::TDataSetState::dsInsert;
    }

    std::unique_ptr<TDBGridColumnCollection> FColumnCollection;
    std::unique_ptr<TExGridDataLink> FDataLink;
    std::unique_ptr<grid::TCellGraphic> FCellGraphic;
    std::unique_ptr<gui::TPicture> FPicture;
    std::unique_ptr<gui::TPicture> FInvalidPicture;
    std::vector<std::unique_ptr<gui::TPicture>> FPictureList;
    std::vector<std::string> FLookupKeys;

    bool FInternalCall = false;
    bool FDoNotUpdateMe = false;
    bool FDoNotCountRow = false;
    bool FShowMemoFields = false;
    bool FShowDefinedFields = false;
    bool FShowDBIndicator = true;
    bool FShowBooleanFields = false, FShowPictureFields = false;
    bool FShowUnicode = false;
    bool FPageMode = true;
    bool FRefreshOnDelete = false, FRefreshOnInsert = false;
    bool FDatasetTypeAuto = true;
    bool FAutoCreateColumns = true, FAutoRemoveColumns = true;
    bool FKeyDownAppend = false;
    bool FNewRecord = false;
    bool FRecordChanged = false;
    bool FEditEnding = false;
    bool FExporting = false, FSelExport = false, FSelImport = false;
    bool FFilteredDataSet = false;
    int FLastDBDesignChoice = -1;
    bool FDestroying = false;
    bool FPendingSync = false;
    int FWheelRowDelta = 0;  // the string grid's last wheel step, in rows
    bool FValidatingMove = false;
    bool FInternalMove = false;
    bool FCancelEditReturn = false;
    bool FNotDeletionUpdate = false;
    bool FEditUpdating = false;
    int FVisibleFieldCount = 0;
    // Wheel step not handled by the string grid: one record on.
    void WheelOneRecord(int direction);
    int FThumbPos = 0;
    TDataSetType FDataSetType = TDataSetType::dtSequenced;
    TDataSetType FOldDataSetType = TDataSetType::dtSequenced;
    TEditPostMode FEditPostMode = TEditPostMode::epCell;
    db::TDataSetState FOldState = db::TDataSetState::dsInactive;
    int FExportRow = -1;
    int FOldAR = -1, FOldTopRow = -1;
    bool FOldIsBOF = false, FOldIsEOF = false;
    db::TBookmark FOldPosition;
    // The end of a run that found what it looked for (Find).
    void EndFailedExport(db::TDataSet* ds);
    int FMustEnableControls = 0;
    int FSelRow = 0;
    db::TBookmark FImportPos;
    std::string FEditText;
    db::TDataSetState FEditingState = db::TDataSetState::dsInactive;
    bool FOldFooterEnableCalc = true;
};

} // namespace gridio
