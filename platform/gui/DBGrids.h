// The data-aware grid: TCustomDBGrid / TDBGrid shows the records of a data
// set (through a TDataSource) one per row, one column per TColumn, with a
// title row, an indicator column marking the current record, and a
// bookmark list of selected records for multi-selection.
//
// The grid holds no data: its rows are the data link's window of records
// (as many as fit), and painting a row makes that record the link's active
// record for a moment.  Moving in the grid moves the data set's cursor;
// moving the data set moves the grid's current row (the link reports how
// far its window slid).  The vertical scroll bar shows the position of the
// current record in the whole data set.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/db/DataSet.h"
#include "platform/gui/Grids.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/Lists.h"

namespace gui {

enum class TDBGridOption {
    dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines,
    dgRowLines, dgTabs, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit,
    dgMultiSelect, dgTitleClick, dgTitleHotTrack,
};
using TDBGridOptions = rtl::Set<TDBGridOption, 32>;

class TCustomDBGrid;
class TDBGridColumns;

// The caption of a column's title cell.
class TColumnTitle : public rtl::TPersistent {
public:
    explicit TColumnTitle(class TColumn* column) : FColumn(column) {}
    // The set caption, else the field's DisplayLabel, else the field name.
    std::string Caption() const;
    void SetCaption(const std::string& value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // The set colour, else the grid's FixedColor.
    TColor Color() const;
    void SetColor(TColor value);

private:
    friend class TColumn;
    TColumn* FColumn;
    std::string FCaption;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TColor FColor = clBtnFace;
    bool FColorSet = false;
};

// One column of the grid: the field it shows (by name) and how.
class TColumn : public rtl::TCollectionItem {
    RTL_CLASS(TColumn, TCollectionItem)
public:
    explicit TColumn(rtl::TCollection* collection);
    ~TColumn() override;

    TCustomDBGrid* Grid() const;
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& value);
    // The data set's field of that name while the data set is open, else nullptr.
    db::TField* Field() const;
    // The set width, else one wide enough for the field's DisplayWidth.
    int Width() const;
    void SetWidth(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // The set alignment, else the field's.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    TColumnTitle* Title() const { return FTitle.get(); }
    // Values offered for the column's cells (the in-place editor completes
    // typed text from them), and how many rows their drop-down shows.
    rtl::TStringList* PickList() const { return FPickList.get(); }
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int value) { FDropDownRows = value; }
    std::string DisplayName() const override;
    void Assign(const rtl::TPersistent* source) override;

private:
    friend class TCustomDBGrid;
    friend class TColumnTitle;
    friend class TDBGridColumns;
    void ChangedLayout();

    std::string FFieldName;
    int FWidth = -1;
    bool FVisible = true;
    bool FAlignmentSet = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TColor FColor = clWindow;
    bool FReadOnly = false;
    std::unique_ptr<TColumnTitle> FTitle;
    std::unique_ptr<rtl::TStringList> FPickList = std::make_unique<rtl::TStringList>();
    int FDropDownRows = 7;
};

// Default columns follow the data set's visible fields and are rebuilt
// when the fields change; once a column is added by the program the
// columns are customized and stay as they are.
enum class TDBGridColumnsState { csDefault, csCustomized };

class TDBGridColumns : public rtl::TCollection {
    RTL_CLASS(TDBGridColumns, TCollection)
public:
    explicit TDBGridColumns(TCustomDBGrid* grid);

    TCustomDBGrid* Grid() const { return FGrid; }
    TColumn* Add();
    TColumn* Insert(int index);
    TColumn* operator[](int index) const { return Items(index); }
    TColumn* Items(int index) const { return static_cast<TColumn*>(TCollection::Items(index)); }
    TDBGridColumnsState State() const { return FState; }
    void SetState(TDBGridColumnsState value);
    // Rebuilds the default columns from the data set's visible fields.
    void RebuildColumns();
    TPersistent* GetOwner() const override;

protected:
    void Update(rtl::TCollectionItem* item) override;

private:
    friend class TCustomDBGrid;
    TCustomDBGrid* FGrid;
    TDBGridColumnsState FState = TDBGridColumnsState::csDefault;
    bool FRebuilding = false;
};

// The grid's data link: it hands the data set's notifications to the grid.
class TGridDataLink : public db::TDataLink {
public:
    explicit TGridDataLink(TCustomDBGrid* grid);
    TCustomDBGrid* Grid() const { return FGrid; }
    std::string ClassName() const override { return "TGridDataLink"; }

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void LayoutChanged() override;
    void RecordChanged(db::TField* field) override;
    void EditingChanged() override;

private:
    TCustomDBGrid* FGrid;
};

// The selected records of a multi-select grid, kept in the data set's order.
class TBookmarkList {
public:
    explicit TBookmarkList(TCustomDBGrid* grid) : FGrid(grid) {}

    int Count() const { return static_cast<int>(FList.size()); }
    const db::TBookmark& Items(int index) const { return FList.at(static_cast<std::size_t>(index)); }
    void Clear();
    // Whether the current record is selected; setting it adds or removes it.
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool value);
    // The position of a bookmark in the list (or where it would go).
    bool Find(const db::TBookmark& item, int& index) const;
    int IndexOf(const db::TBookmark& item) const;
    // Drops the bookmarks whose records are gone; true when any was.
    bool Refresh();

private:
    friend class TCustomDBGrid;
    TCustomDBGrid* FGrid;
    std::vector<db::TBookmark> FList;
};

using TDrawColumnCellEvent = std::function<void(rtl::TObject* sender, const TRect& rect,
                                                int dataCol, TColumn* column, TGridDrawState state)>;
using TDBGridClickEvent = std::function<void(TColumn* column)>;

class TCustomDBGrid : public TCustomGrid {
public:
    explicit TCustomDBGrid(rtl::TComponent* owner);
    ~TCustomDBGrid() override;

    db::TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(db::TDataSource* value);
    TGridDataLink* DataLink() const { return FDataLink.get(); }
    TDBGridColumns* Columns() const { return FColumns.get(); }
    TDBGridOptions Options() const { return FDBOptions; }
    void SetOptions(TDBGridOptions value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    TFont* TitleFont() const { return FTitleFont.get(); }
    TBookmarkList* SelectedRows() const { return FBookmarks.get(); }
    // The column (0-based among the columns) of the current cell.
    int SelectedIndex() const { return RawToDataColumn(Col()); }
    void SetSelectedIndex(int value);
    db::TField* SelectedField() const;
    int FieldCount() const { return FColumns->Count(); }
    db::TField* Fields(int index) const;
    int IndicatorOffset() const { return FIndicatorOffset; }
    int TitleOffset() const { return FTitleOffset; }
    int RawToDataColumn(int aCol) const { return aCol - FIndicatorOffset; }
    int DataToRawColumn(int aCol) const { return aCol + FIndicatorOffset; }

    // Layout changes between these are applied once, by the last EndLayout.
    void BeginLayout();
    void EndLayout();

    // Draws the cell as the grid does by itself: the field's display text
    // with the column's alignment.
    void DefaultDrawColumnCell(const TRect& rect, int dataCol, TColumn* column, TGridDrawState state);
    void DefaultDrawDataCell(const TRect& rect, db::TField* field, TGridDrawState state);

    TDrawColumnCellEvent OnDrawColumnCell;
    TDBGridClickEvent OnTitleClick;
    TDBGridClickEvent OnCellClick;

    std::string ClassName() const override { return "TCustomDBGrid"; }

    void KeyDown(uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

protected:
    friend class TGridDataLink;
    friend class TDBGridColumns;
    friend class TColumn;

    // --- what the link tells ---------------------------------------------
    virtual void LinkActive(bool value);
    virtual void DataChanged();
    virtual void Scroll(int distance);
    virtual void LayoutChanged();
    // The columns were laid out again after a change of a column or the
    // last EndLayout (a descendant re-applies what depends on them).
    virtual void ColumnsLaidOut() {}
    virtual void RecordChanged(db::TField* field);
    // A title was clicked (dgTitleClick): fires OnTitleClick.
    virtual void TitleClick(TColumn* column);
    virtual void CellClick(TColumn* column);
    virtual void DrawColumnCell(const TRect& rect, int dataCol, TColumn* column, TGridDrawState state);

    void DrawCell(int aCol, int aRow, const TRect& rect, TGridDrawState state) override;
    bool SelectCell(int aCol, int aRow) override;
    bool CanEditShow() const override;
    // The in-place editor reads a cell's field Text and writes a changed
    // text back into the field (putting the data set into editing).
    std::string GetEditText(int aCol, int aRow) override;
    void SetEditText(int aCol, int aRow, const std::string& value) override;
    void ColWidthsChanged() override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    bool BeginColumnDrag(int& origin, int& destination, const TPoint& mousePt) override;
    void Resize() override;
    void ModifyScrollBar(int bar, int code, int pos) override;
    void UpdateScrollRange() override;
    void ScrollBarExtent(int bar, int& visible, int& total) const override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

    // Lays the grid out for the columns and the data: counts, widths,
    // fixed parts, the link's window and the current row.
    void InternalLayout();
    void UpdateRowCount();
    void UpdateActive();
    // The column width wanted for a field's DisplayWidth.
    int DefaultColumnWidth(db::TField* field) const;
    // A title's caption in the title font, aligned as the title says, over
    // whatever background the cell already has.
    void DrawTitleText(const TRect& rect, TColumn* column);

private:
    void DrawIndicator(const TRect& rect, int aRow);
    void DrawTitle(const TRect& rect, TColumn* column, TGridDrawState state);
    bool RecordSelected(int aRow);
    void MoveDataSet(int distance);

    std::unique_ptr<TGridDataLink> FDataLink;
    std::unique_ptr<TDBGridColumns> FColumns;
    std::unique_ptr<TBookmarkList> FBookmarks;
    std::unique_ptr<TFont> FTitleFont;
    TDBGridOptions FDBOptions;
    bool FReadOnly = false;
    int FIndicatorOffset = 1;
    int FTitleOffset = 1;
    int FLayoutLock = 0;
    bool FInternalMove = false;
    TColumn* FPressedTitle = nullptr;
    bool FPressedData = false;
    bool FColumnMoved = false;
};

class TDBGrid : public TCustomDBGrid {
public:
    explicit TDBGrid(rtl::TComponent* owner) : TCustomDBGrid(owner) {}
    std::string ClassName() const override { return "TDBGrid"; }
};

} // namespace gui
