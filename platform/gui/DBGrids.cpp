// The data-aware grid: columns, the data link, layout and the data set's
// cursor, keys and mouse, painting of titles, indicator and data cells.
#include "platform/gui/DBGrids.h"

#include <algorithm>

namespace gui {

using db::TField;

namespace {

constexpr int IndicatorWidth = 14;

// Text sizes of a font, measured on a small bitmap (the grid's own canvas
// only draws while painting).
struct TFontMeasure {
    TBitmap Bitmap{1, 1};
    explicit TFontMeasure(const TFont* font) { Bitmap.Canvas()->SetFont(font); }
    int Width(const std::string& s) { return Bitmap.Canvas()->TextWidth(s); }
    int Height(const std::string& s) { return Bitmap.Canvas()->TextHeight(s); }
};

TAlignment ToGui(db::TAlignment a)
{
    switch (a) {
    case db::TAlignment::taRightJustify: return TAlignment::taRightJustify;
    case db::TAlignment::taCenter: return TAlignment::taCenter;
    default: return TAlignment::taLeftJustify;
    }
}

// Writes text into rect with the alignment, centred vertically, clipped.
void DrawAligned(TCanvas* c, const TRect& rect, const std::string& text, TAlignment alignment)
{
    if (text.empty()) return;
    const int tw = c->TextWidth(text), th = c->TextHeight(text);
    int x = rect.Left + 4;
    if (alignment == TAlignment::taRightJustify) x = rect.Right - tw - 4;
    else if (alignment == TAlignment::taCenter) x = rect.Left + (rect.Width() - tw) / 2;
    const int y = rect.Top + std::max(0, (rect.Height() - th) / 2);
    c->TextRect(rect, x, y, text);
}

} // namespace

RTL_PUBLISHED(TColumn)
{
    c.Property("FieldName", &TColumn::FieldName, &TColumn::SetFieldName);
    c.Property("Width", &TColumn::Width, &TColumn::SetWidth);
    c.Property("Visible", &TColumn::Visible, &TColumn::SetVisible);
}
RTL_PUBLISHED(TDBGridColumns) {}

// ------------------------------------------------------------ TColumnTitle

std::string TColumnTitle::Caption() const
{
    if (!FCaption.empty()) return FCaption;
    if (TField* f = FColumn->Field()) return f->DisplayLabel();
    return FColumn->FieldName();
}

void TColumnTitle::SetCaption(const std::string& value)
{
    FCaption = value;
    FColumn->ChangedLayout();
}

void TColumnTitle::SetAlignment(TAlignment value)
{
    FAlignment = value;
    FColumn->ChangedLayout();
}

TColor TColumnTitle::Color() const
{
    if (FColorSet) return FColor;
    TCustomDBGrid* g = FColumn->Grid();
    return g ? g->FixedColor() : clBtnFace;
}

void TColumnTitle::SetColor(TColor value)
{
    FColor = value;
    FColorSet = true;
    FColumn->ChangedLayout();
}

// ----------------------------------------------------------------- TColumn

TColumn::TColumn(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), FTitle(std::make_unique<TColumnTitle>(this))
{
}

TColumn::~TColumn() = default;

TCustomDBGrid* TColumn::Grid() const
{
    auto* cols = dynamic_cast<TDBGridColumns*>(Collection());
    return cols ? cols->Grid() : nullptr;
}

void TColumn::ChangedLayout() { Changed(false); }

void TColumn::SetFieldName(const std::string& value)
{
    if (value == FFieldName) return;
    FFieldName = value;
    ChangedLayout();
}

TField* TColumn::Field() const
{
    TCustomDBGrid* g = Grid();
    if (!g || FFieldName.empty() || !g->DataLink()->Active()) return nullptr;
    return g->DataLink()->DataSet()->FindField(FFieldName);
}

int TColumn::Width() const
{
    if (FWidth >= 0) return FWidth;
    TCustomDBGrid* g = Grid();
    return g ? g->DefaultColumnWidth(Field()) : 64;
}

void TColumn::SetWidth(int value)
{
    if (value == FWidth) return;
    FWidth = value;
    ChangedLayout();
}

void TColumn::SetVisible(bool value)
{
    if (value == FVisible) return;
    FVisible = value;
    ChangedLayout();
}

TAlignment TColumn::Alignment() const
{
    if (FAlignmentSet) return FAlignment;
    TField* f = Field();
    return f ? ToGui(f->Alignment()) : TAlignment::taLeftJustify;
}

void TColumn::SetAlignment(TAlignment value)
{
    FAlignment = value;
    FAlignmentSet = true;
    ChangedLayout();
}

void TColumn::SetColor(TColor value)
{
    FColor = value;
    ChangedLayout();
}

std::string TColumn::DisplayName() const
{
    return FFieldName.empty() ? ClassName() : FFieldName;
}

void TColumn::Assign(const rtl::TPersistent* source)
{
    auto* c = dynamic_cast<const TColumn*>(source);
    if (!c) {
        rtl::TCollectionItem::Assign(source);
        return;
    }
    FFieldName = c->FFieldName;
    FWidth = c->FWidth;
    FVisible = c->FVisible;
    FAlignmentSet = c->FAlignmentSet;
    FAlignment = c->FAlignment;
    FColor = c->FColor;
    FReadOnly = c->FReadOnly;
    FPickList->Assign(c->FPickList.get());
    FDropDownRows = c->FDropDownRows;
    FTitle->FCaption = c->FTitle->FCaption;
    FTitle->FAlignment = c->FTitle->FAlignment;
    FTitle->FColor = c->FTitle->FColor;
    FTitle->FColorSet = c->FTitle->FColorSet;
    ChangedLayout();
}

// ---------------------------------------------------------- TDBGridColumns

TDBGridColumns::TDBGridColumns(TCustomDBGrid* grid)
    : rtl::TCollection(TColumn::StaticClassInfo()), FGrid(grid)
{
}

rtl::TPersistent* TDBGridColumns::GetOwner() const { return FGrid; }

TColumn* TDBGridColumns::Add()
{
    // The program's first own column replaces the default ones.
    if (!FRebuilding && FState == TDBGridColumnsState::csDefault) {
        FRebuilding = true;
        Clear();
        FRebuilding = false;
        FState = TDBGridColumnsState::csCustomized;
    }
    // The collection reports the new item while it is still being made:
    // lay the grid out once it is complete.
    BeginUpdate();
    TColumn* column;
    try {
        column = static_cast<TColumn*>(TCollection::Add());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return column;
}

TColumn* TDBGridColumns::Insert(int index)
{
    BeginUpdate();
    TColumn* column;
    try {
        column = Add();
        column->SetIndex(index);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return column;
}

void TDBGridColumns::SetState(TDBGridColumnsState value)
{
    if (value == FState) return;
    FState = value;
    if (value == TDBGridColumnsState::csDefault) {
        RebuildColumns();
        if (FGrid) FGrid->InternalLayout();
    }
}

void TDBGridColumns::RebuildColumns()
{
    if (FState != TDBGridColumnsState::csDefault) return;
    FRebuilding = true;
    BeginUpdate();
    try {
        Clear();
        if (FGrid && FGrid->DataLink()->Active()) {
            db::TDataSet* ds = FGrid->DataLink()->DataSet();
            for (int i = 0; i < ds->FieldCount(); ++i)
                if (ds->Fields(i)->Visible()) {
                    auto* c = static_cast<TColumn*>(TCollection::Add());
                    c->FFieldName = ds->Fields(i)->FieldName();
                }
        }
    } catch (...) {
        EndUpdate();
        FRebuilding = false;
        throw;
    }
    EndUpdate();
    FRebuilding = false;
}

void TDBGridColumns::Update(rtl::TCollectionItem* item)
{
    TCollection::Update(item);
    if (FGrid && !FRebuilding) {
        FGrid->InternalLayout();
        if (FGrid->FLayoutLock == 0) FGrid->ColumnsLaidOut();
    }
}

// ----------------------------------------------------------- TGridDataLink

TGridDataLink::TGridDataLink(TCustomDBGrid* grid) : FGrid(grid) { SetVisualControl(true); }

void TGridDataLink::ActiveChanged() { FGrid->LinkActive(Active()); }
void TGridDataLink::DataSetChanged() { FGrid->DataChanged(); }
void TGridDataLink::DataSetScrolled(int distance) { FGrid->Scroll(distance); }
void TGridDataLink::LayoutChanged() { FGrid->LayoutChanged(); }
void TGridDataLink::RecordChanged(TField* field) { FGrid->RecordChanged(field); }
void TGridDataLink::EditingChanged() { FGrid->InvalidateCol(0); }

// ----------------------------------------------------------- TBookmarkList

void TBookmarkList::Clear()
{
    if (FList.empty()) return;
    FList.clear();
    FGrid->Invalidate();
}

int TBookmarkList::IndexOf(const db::TBookmark& item) const
{
    auto it = std::find(FList.begin(), FList.end(), item);
    return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

bool TBookmarkList::Find(const db::TBookmark& item, int& index) const
{
    index = IndexOf(item);
    if (index >= 0) return true;
    index = Count();
    return false;
}

bool TBookmarkList::CurrentRowSelected() const
{
    if (!FGrid->DataLink()->Active()) return false;
    db::TBookmark b = FGrid->DataLink()->DataSet()->GetBookmark();
    return !b.empty() && IndexOf(b) >= 0;
}

void TBookmarkList::SetCurrentRowSelected(bool value)
{
    if (!FGrid->DataLink()->Active()) return;
    db::TBookmark b = FGrid->DataLink()->DataSet()->GetBookmark();
    if (b.empty()) return;
    int i = IndexOf(b);
    if (value && i < 0) {
        // Kept in the data set's present order.
        db::TDataSet* ds = FGrid->DataLink()->DataSet();
        auto at = std::find_if(FList.begin(), FList.end(), [&](const db::TBookmark& x) {
            return ds->CompareBookmarks(b, x) < 0;
        });
        FList.insert(at, b);
    } else if (!value && i >= 0) {
        FList.erase(FList.begin() + i);
    } else {
        return;
    }
    FGrid->InvalidateRow(FGrid->Row());
}

bool TBookmarkList::Refresh()
{
    db::TDataSet* ds = FGrid->DataLink()->Active() ? FGrid->DataLink()->DataSet() : nullptr;
    auto gone = std::remove_if(FList.begin(), FList.end(), [&](const db::TBookmark& b) {
        return !ds || !ds->BookmarkValid(b);
    });
    bool any = gone != FList.end();
    FList.erase(gone, FList.end());
    if (any) FGrid->Invalidate();
    return any;
}

// ----------------------------------------------------------- TCustomDBGrid

TCustomDBGrid::TCustomDBGrid(rtl::TComponent* owner)
    : TCustomGrid(owner), FDataLink(std::make_unique<TGridDataLink>(this)),
      FColumns(std::make_unique<TDBGridColumns>(this)),
      FBookmarks(std::make_unique<TBookmarkList>(this)), FTitleFont(std::make_unique<TFont>())
{
    FTitleFont->Assign(Font());
    TFontMeasure m(Font());
    FDefaultRowHeight = m.Height("Wg") + 8;
    SetDefaultRowHeight(FDefaultRowHeight);
    SetColCount(2);
    SetRowCount(2);
    SetOptions({TDBGridOption::dgEditing, TDBGridOption::dgTitles, TDBGridOption::dgIndicator,
                TDBGridOption::dgColumnResize, TDBGridOption::dgColLines,
                TDBGridOption::dgRowLines, TDBGridOption::dgTabs,
                TDBGridOption::dgConfirmDelete, TDBGridOption::dgCancelOnExit});
}

TCustomDBGrid::~TCustomDBGrid()
{
    // Leave the data source before the columns go.
    FDataLink.reset();
}

void TCustomDBGrid::SetDataSource(db::TDataSource* value)
{
    if (value == DataSource()) return;
    if (DataSource()) DataSource()->RemoveFreeNotification(this);
    FBookmarks->FList.clear();
    FDataLink->SetDataSource(value);
    if (value) value->FreeNotification(this);
    // A source without an open data set still clears the grid.
    if (!FDataLink->Active()) LinkActive(false);
}

void TCustomDBGrid::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TCustomGrid::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && FDataLink && component == DataSource())
        FDataLink->SetDataSource(nullptr);
}

void TCustomDBGrid::SetOptions(TDBGridOptions value)
{
    if (value.Contains(TDBGridOption::dgRowSelect)) {
        value.Exclude(TDBGridOption::dgEditing);
        value.Exclude(TDBGridOption::dgAlwaysShowEditor);
    }
    FDBOptions = value;
    if (!value.Contains(TDBGridOption::dgMultiSelect)) FBookmarks->Clear();
    TGridOptions go;
    if (value.Contains(TDBGridOption::dgColLines))
        go += TGridOptions{TGridOption::goFixedVertLine, TGridOption::goVertLine};
    if (value.Contains(TDBGridOption::dgRowLines))
        go += TGridOptions{TGridOption::goFixedHorzLine, TGridOption::goHorzLine};
    if (value.Contains(TDBGridOption::dgColumnResize))
        go += TGridOptions{TGridOption::goColSizing, TGridOption::goColMoving};
    if (value.Contains(TDBGridOption::dgTabs)) go += TGridOption::goTabs;
    if (value.Contains(TDBGridOption::dgRowSelect)) go += TGridOption::goRowSelect;
    if (value.Contains(TDBGridOption::dgEditing)) go += TGridOption::goEditing;
    if (value.Contains(TDBGridOption::dgAlwaysShowEditor)) go += TGridOption::goAlwaysShowEditor;
    TCustomGrid::SetOptions(go);
    InternalLayout();
}

void TCustomDBGrid::SetSelectedIndex(int value)
{
    int raw = DataToRawColumn(value);
    if (raw >= FFixedCols && raw < FColCount) SetCol(raw);
}

TField* TCustomDBGrid::SelectedField() const
{
    int i = SelectedIndex();
    return i >= 0 && i < FColumns->Count() ? FColumns->Items(i)->Field() : nullptr;
}

TField* TCustomDBGrid::Fields(int index) const
{
    return index >= 0 && index < FColumns->Count() ? FColumns->Items(index)->Field() : nullptr;
}

int TCustomDBGrid::DefaultColumnWidth(TField* field) const
{
    if (!field) return FDefaultColWidth;
    TFontMeasure m(Font());
    int w = field->DisplayWidth() * m.Width("0") + 8;
    TFontMeasure t(FTitleFont.get());
    return std::max(w, t.Width(field->DisplayLabel()) + 8);
}

bool TCustomDBGrid::CanEditShow() const
{
    // The data sets here cannot be modified: the editor never opens on them.
    return !FReadOnly && FDataLink->Active() && FDataLink->DataSet()->CanModify() &&
           TCustomGrid::CanEditShow();
}

std::string TCustomDBGrid::GetEditText(int aCol, int aRow)
{
    (void)aRow;
    int i = RawToDataColumn(aCol);
    TField* f = FDataLink->Active() && i >= 0 && i < FColumns->Count() ? FColumns->Items(i)->Field() : nullptr;
    return f ? f->Text() : std::string();
}

void TCustomDBGrid::SetEditText(int aCol, int aRow, const std::string& value)
{
    (void)aRow;
    int i = RawToDataColumn(aCol);
    TField* f = FDataLink->Active() && i >= 0 && i < FColumns->Count() ? FColumns->Items(i)->Field() : nullptr;
    // Only stored fields take text from the editor; an unchanged text
    // leaves the record alone.
    if (!f || f->FieldKind() != db::TFieldKind::fkData || f->Text() == value) return;
    if (FDataLink->Edit()) f->SetAsString(value);
}

// ------------------------------------------------------------------ layout

void TCustomDBGrid::BeginLayout()
{
    BeginUpdate();
    ++FLayoutLock;
}

void TCustomDBGrid::EndLayout()
{
    if (FLayoutLock == 0) return;
    const bool last = --FLayoutLock == 0;
    if (last) InternalLayout();
    EndUpdate();
    if (last) ColumnsLaidOut();
}

void TCustomDBGrid::InternalLayout()
{
    if (FLayoutLock > 0) return;
    ++FLayoutLock;
    try {
        FIndicatorOffset = FDBOptions.Contains(TDBGridOption::dgIndicator) ? 1 : 0;
        FTitleOffset = FDBOptions.Contains(TDBGridOption::dgTitles) ? 1 : 0;
        const int cols = FIndicatorOffset + std::max(1, FColumns->Count());
        if (FFixedCols >= cols) FFixedCols = 0;
        SetColCount(cols);
        if (FFixedCols != FIndicatorOffset) SetFixedCols(FIndicatorOffset);
        if (FIndicatorOffset) SetColWidths(0, IndicatorWidth);
        for (int i = 0; i < FColumns->Count(); ++i) {
            TColumn* c = FColumns->Items(i);
            SetColWidths(DataToRawColumn(i), c->Visible() ? c->Width() : -1);
        }
        if (FColumns->Count() == 0) SetColWidths(FIndicatorOffset, FDefaultColWidth);
        UpdateRowCount();
    } catch (...) {
        --FLayoutLock;
        throw;
    }
    --FLayoutLock;
    Invalidate();
}

void TCustomDBGrid::UpdateRowCount()
{
    const int title = FTitleOffset;
    if (FRowCount <= title) SetRowCount(title + 1);
    if (FFixedRows != title) SetFixedRows(title);
    if (!FDataLink->Active() || FDataLink->DataSet()->IsEmpty()) {
        SetRowCount(title + 1);
    } else {
        // As many records as whole rows fit below the titles.
        UpdateScrollRange();
        const int lw = FOptions.Contains(TGridOption::goHorzLine) ? FGridLineWidth : 0;
        int avail = ClientHeight();
        for (int r = 0; r < title; ++r) avail -= RowHeights(r) + lw;
        const int rows = std::max(1, avail / std::max(1, FDefaultRowHeight + lw));
        FDataLink->SetBufferCount(rows);
        SetRowCount(title + std::max(1, FDataLink->RecordCount()));
    }
    MoveTopLeft(FTopLeft.X, title);
    UpdateActive();
    UpdateScrollRange();
}

void TCustomDBGrid::UpdateActive()
{
    if (!FDataLink->Active()) return;
    const int row = FTitleOffset + FDataLink->ActiveRecord();
    if (row != FCurrent.Y && row < FRowCount) {
        InvalidateCell(0, FCurrent.Y);
        FInternalMove = true;
        try {
            MoveColRow(std::max(FCurrent.X, FFixedCols), row, true, false);
        } catch (...) {
            FInternalMove = false;
            throw;
        }
        FInternalMove = false;
        InvalidateCell(0, row);
    }
}

void TCustomDBGrid::Resize()
{
    TCustomGrid::Resize();
    if (FLayoutLock == 0) UpdateRowCount();
}

void TCustomDBGrid::UpdateScrollRange()
{
    TCustomGrid::UpdateScrollRange();
    const bool wantV = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    const bool oldV = FVertBar;
    FVertPos = 0;
    FVertBar = false;
    if (wantV && FDataLink && FDataLink->Active()) {
        db::TDataSet* ds = FDataLink->DataSet();
        const int n = ds->RecordCount();
        FVertBar = n > FDataLink->BufferCount();
        if (n > 1 && ds->IsSequenced())
            FVertPos = static_cast<int>((static_cast<long long>(ds->RecNo() - 1) * GridScrollBarMax +
                                         (n - 1) / 2) / (n - 1));
    }
    if (oldV != FVertBar) {
        // The bar takes or gives back room: the rows that fit change.
        Invalidate();
        if (FLayoutLock == 0) {
            ++FLayoutLock;
            UpdateRowCount();
            --FLayoutLock;
        }
    }
}

void TCustomDBGrid::ScrollBarExtent(int bar, int& visible, int& total) const
{
    if (bar == SB_VERT && FDataLink->Active()) {
        visible = FDataLink->BufferCount();
        total = FDataLink->DataSet()->RecordCount();
        return;
    }
    TCustomGrid::ScrollBarExtent(bar, visible, total);
}

void TCustomDBGrid::ModifyScrollBar(int bar, int code, int pos)
{
    if (bar != SB_VERT) {
        TCustomGrid::ModifyScrollBar(bar, code, pos);
        return;
    }
    if (!FDataLink->Active()) return;
    db::TDataSet* ds = FDataLink->DataSet();
    switch (code) {
    case SB_LINEUP: MoveDataSet(-FDataLink->ActiveRecord() - 1); break;
    case SB_LINEDOWN: MoveDataSet(FDataLink->RecordCount() - FDataLink->ActiveRecord()); break;
    case SB_PAGEUP: MoveDataSet(-std::max(1, VisibleRowCount())); break;
    case SB_PAGEDOWN: MoveDataSet(std::max(1, VisibleRowCount())); break;
    case SB_THUMBTRACK:
        if (!FOptions.Contains(TGridOption::goThumbTracking)) break;
        [[fallthrough]];
    case SB_THUMBPOSITION:
        if (ds->IsSequenced() && ds->RecordCount() > 0) {
            int n = ds->RecordCount();
            int rec = 1 + static_cast<int>((static_cast<long long>(std::clamp(pos, 0, GridScrollBarMax)) *
                                                (n - 1) + GridScrollBarMax / 2) / GridScrollBarMax);
            ds->SetRecNo(rec);
        }
        break;
    case SB_TOP: ds->First(); break;
    case SB_BOTTOM: ds->Last(); break;
    default: break;
    }
}

// ----------------------------------------------------------- link events

void TCustomDBGrid::LinkActive(bool value)
{
    if (!value) FBookmarks->FList.clear();
    if (FColumns->State() == TDBGridColumnsState::csDefault) FColumns->RebuildColumns();
    InternalLayout();
}

void TCustomDBGrid::DataChanged()
{
    FBookmarks->Refresh();
    UpdateRowCount();
    Invalidate();
}

void TCustomDBGrid::Scroll(int distance)
{
    UpdateRowCount();
    // The rows show other records (or the marks moved): repaint them.
    Invalidate();
}

void TCustomDBGrid::LayoutChanged()
{
    if (FColumns->State() == TDBGridColumnsState::csDefault) FColumns->RebuildColumns();
    InternalLayout();
}

void TCustomDBGrid::RecordChanged(TField*) { InvalidateRow(FCurrent.Y); }

void TCustomDBGrid::ColWidthsChanged()
{
    TCustomGrid::ColWidthsChanged();
    if (FLayoutLock > 0) return;
    // A width set by the user (mouse or code) stays with its column.
    for (int i = 0; i < FColumns->Count(); ++i) {
        int w = ColWidths(DataToRawColumn(i));
        if (w >= 0) FColumns->Items(i)->FWidth = w;
    }
}

bool TCustomDBGrid::BeginColumnDrag(int& origin, int& destination, const TPoint& mousePt)
{
    return origin >= FIndicatorOffset;
}

void TCustomDBGrid::ColumnMoved(int fromIndex, int toIndex)
{
    FColumnMoved = true;
    int from = RawToDataColumn(fromIndex), to = RawToDataColumn(toIndex);
    if (from >= 0 && to >= 0 && from < FColumns->Count() && to < FColumns->Count()) {
        ++FLayoutLock;
        if (FColumns->State() == TDBGridColumnsState::csDefault) {
            // Default columns follow the fields: move the field.
            TField* f = FColumns->Items(from)->Field();
            TField* target = FColumns->Items(to)->Field();
            FColumns->Items(from)->SetIndex(to);
            if (f && target) f->SetIndex(target->Index());
        } else {
            FColumns->Items(from)->SetIndex(to);
        }
        --FLayoutLock;
    }
    TCustomGrid::ColumnMoved(fromIndex, toIndex);
    InternalLayout();
}

// -------------------------------------------------------------- the user

void TCustomDBGrid::MoveDataSet(int distance)
{
    if (distance != 0 && FDataLink->Active()) FDataLink->MoveBy(distance);
}

bool TCustomDBGrid::SelectCell(int aCol, int aRow)
{
    if (FInternalMove) return TCustomGrid::SelectCell(aCol, aRow);
    if (FDataLink->Active() && aRow != FCurrent.Y && aRow >= FTitleOffset) {
        // The grid's rows follow the data set: move it, and the row follows.
        MoveDataSet(aRow - FCurrent.Y);
        if (aCol != FCurrent.X && aCol >= FFixedCols) {
            FInternalMove = true;
            MoveColRow(aCol, FCurrent.Y, true, true);
            FInternalMove = false;
        }
        return false;
    }
    return TCustomGrid::SelectCell(aCol, aRow);
}

void TCustomDBGrid::KeyDown(uint16_t& key, TShiftState shift)
{
    if (!FDataLink->Active()) {
        TCustomGrid::KeyDown(key, shift);
        return;
    }
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool extend = shift.Contains(TShiftStateItem::ssShift) &&
                        FDBOptions.Contains(TDBGridOption::dgMultiSelect);
    const bool rowSelect = FDBOptions.Contains(TDBGridOption::dgRowSelect);
    db::TDataSet* ds = FDataLink->DataSet();
    const int page = std::max(1, VisibleRowCount());
    auto move = [&](auto action) {
        if (OnKeyDown) {
            OnKeyDown(this, key, shift);
            if (key == 0) return;
        }
        if (extend) FBookmarks->SetCurrentRowSelected(true);
        else if (FDBOptions.Contains(TDBGridOption::dgMultiSelect) && !ctrl) FBookmarks->Clear();
        action();
        if (extend) FBookmarks->SetCurrentRowSelected(true);
        key = 0;
    };
    switch (key) {
    case VK_UP: move([&] { MoveDataSet(-1); }); return;
    case VK_DOWN: move([&] { MoveDataSet(1); }); return;
    case VK_PRIOR:
        move([&] { MoveDataSet(ctrl ? -FDataLink->ActiveRecord() : -page); });
        return;
    case VK_NEXT:
        move([&] { MoveDataSet(ctrl ? FDataLink->RecordCount() - 1 - FDataLink->ActiveRecord() : page); });
        return;
    case VK_HOME:
        if (ctrl || rowSelect) { move([&] { ds->First(); }); return; }
        break;
    case VK_END:
        if (ctrl || rowSelect) { move([&] { ds->Last(); }); return; }
        break;
    default:
        break;
    }
    TCustomGrid::KeyDown(key, shift);
}

bool TCustomDBGrid::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheelDown(shift, mousePos)) return true;
    MoveDataSet(1);
    return true;
}

bool TCustomDBGrid::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheelUp(shift, mousePos)) return true;
    MoveDataSet(-1);
    return true;
}

void TCustomDBGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    FPressedTitle = nullptr;
    FPressedData = false;
    FColumnMoved = false;
    TGridCoord cell = MouseCoord(x, y);
    if (button == TMouseButton::mbLeft && FDataLink->Active() && cell.X >= 0 &&
        cell.Y >= FTitleOffset && !shift.Contains(TShiftStateItem::ssDouble)) {
        // A click on a record moves the data set there.
        if (CanFocus() && !Focused()) SetFocus();
        const bool multi = FDBOptions.Contains(TDBGridOption::dgMultiSelect);
        if (multi && !shift.Contains(TShiftStateItem::ssCtrl) &&
            !shift.Contains(TShiftStateItem::ssShift))
            FBookmarks->Clear();
        MoveDataSet(cell.Y - FCurrent.Y);
        if (cell.X >= FFixedCols && cell.X != FCurrent.X) {
            FInternalMove = true;
            MoveColRow(cell.X, FCurrent.Y, true, true);
            FInternalMove = false;
        }
        if (multi && shift.Contains(TShiftStateItem::ssCtrl))
            FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
        else if (multi && shift.Contains(TShiftStateItem::ssShift))
            FBookmarks->SetCurrentRowSelected(true);
        FPressedData = true;
        TCustomControl::MouseDown(button, shift, x, y);
        return;
    }
    if (button == TMouseButton::mbLeft && cell.Y >= 0 && cell.Y < FTitleOffset &&
        cell.X >= FIndicatorOffset && RawToDataColumn(cell.X) < FColumns->Count()) {
        TGridState state;
        int index, pos, ofs;
        CalcSizingState(x, y, state, index, pos, ofs);
        if (state == TGridState::gsNormal) FPressedTitle = FColumns->Items(RawToDataColumn(cell.X));
    }
    TCustomGrid::MouseDown(button, shift, x, y);
}

void TCustomDBGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TColumn* title = FPressedTitle;
    const bool data = FPressedData;
    FPressedTitle = nullptr;
    FPressedData = false;
    TCustomGrid::MouseUp(button, shift, x, y);
    TGridCoord cell = MouseCoord(x, y);
    if (title && !FColumnMoved && FDBOptions.Contains(TDBGridOption::dgTitleClick) &&
        cell.Y >= 0 && cell.Y < FTitleOffset && cell.X >= FIndicatorOffset &&
        RawToDataColumn(cell.X) == title->Index())
        TitleClick(title);
    else if (data && cell.X >= FIndicatorOffset && RawToDataColumn(cell.X) < FColumns->Count() &&
             cell.Y >= FTitleOffset)
        CellClick(FColumns->Items(RawToDataColumn(cell.X)));
    FColumnMoved = false;
}

void TCustomDBGrid::TitleClick(TColumn* column)
{
    if (OnTitleClick) OnTitleClick(column);
}

void TCustomDBGrid::CellClick(TColumn* column)
{
    if (OnCellClick) OnCellClick(column);
}

// ---------------------------------------------------------------- painting

bool TCustomDBGrid::RecordSelected(int aRow)
{
    if (!FDBOptions.Contains(TDBGridOption::dgMultiSelect) || FBookmarks->Count() == 0) return false;
    const int saved = FDataLink->ActiveRecord();
    FDataLink->SetActiveRecord(aRow - FTitleOffset);
    const bool selected = FBookmarks->IndexOf(FDataLink->DataSet()->GetBookmark()) >= 0;
    FDataLink->SetActiveRecord(saved);
    return selected;
}

void TCustomDBGrid::DrawIndicator(const TRect& rect, int aRow)
{
    if (!FDataLink->Active()) return;
    const int record = aRow - FTitleOffset;
    if (record < 0 || record >= FDataLink->RecordCount()) return;
    TCanvas* c = Canvas();
    const int cx = rect.Left + rect.Width() / 2, cy = rect.Top + rect.Height() / 2;
    const bool selected = RecordSelected(aRow);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clWindowText);
    c->Pen()->SetColor(clWindowText);
    if (record == FDataLink->ActiveRecord()) {
        c->Polygon({{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}});
    } else if (selected) {
        c->Ellipse(cx - 2, cy - 2, cx + 3, cy + 3);
    }
}

void TCustomDBGrid::DrawTitle(const TRect& rect, TColumn* column, TGridDrawState state)
{
    TCanvas* c = Canvas();
    if (FDefaultDrawing && column->Title()->Color() != FFixedColor) {
        c->Brush()->SetColor(column->Title()->Color());
        c->FillRect(rect);
    }
    DrawTitleText(rect, column);
}

void TCustomDBGrid::DrawTitleText(const TRect& rect, TColumn* column)
{
    TCanvas* c = Canvas();
    c->SetFont(FTitleFont.get());
    c->SetBkMode(TRANSPARENT);
    DrawAligned(c, rect, column->Title()->Caption(), column->Title()->Alignment());
}

void TCustomDBGrid::DrawCell(int aCol, int aRow, const TRect& rect, TGridDrawState state)
{
    if (aCol < FIndicatorOffset) {
        if (aRow >= FTitleOffset) DrawIndicator(rect, aRow);
        return;
    }
    const int dataCol = RawToDataColumn(aCol);
    if (dataCol >= FColumns->Count()) return;
    TColumn* column = FColumns->Items(dataCol);
    if (aRow < FTitleOffset) {
        DrawTitle(rect, column, state);
        return;
    }
    if (!FDataLink->Active()) return;
    const int record = aRow - FTitleOffset;
    if (record >= FDataLink->RecordCount()) return;
    const int saved = FDataLink->ActiveRecord();
    FDataLink->SetActiveRecord(record);
    try {
        TCanvas* c = Canvas();
        bool highlight = false;
        if (record == saved) {
            highlight = FDBOptions.Contains(TDBGridOption::dgRowSelect) ||
                        (state.Contains(TGridDrawStateItem::gdSelected) &&
                         (state.Contains(TGridDrawStateItem::gdFocused) ||
                          FDBOptions.Contains(TDBGridOption::dgAlwaysShowSelection)));
            if (FDBOptions.Contains(TDBGridOption::dgRowSelect) && !Focused() &&
                !FDBOptions.Contains(TDBGridOption::dgAlwaysShowSelection))
                highlight = false;
        }
        if (!highlight && RecordSelected(aRow)) highlight = true;
        FDataLink->SetActiveRecord(record);
        if (highlight) state += TGridDrawStateItem::gdSelected;
        else state -= TGridDrawStateItem::gdSelected;
        c->SetFont(Font());
        if (FDefaultDrawing) {
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            if (highlight) {
                c->Brush()->SetColor(clHighlight);
                c->Font()->SetColor(clHighlightText);
            } else {
                c->Brush()->SetColor(column->Color());
            }
            c->FillRect(rect);
            DefaultDrawColumnCell(rect, dataCol, column, state);
        }
        DrawColumnCell(rect, dataCol, column, state);
    } catch (...) {
        FDataLink->SetActiveRecord(saved);
        throw;
    }
    FDataLink->SetActiveRecord(saved);
}

void TCustomDBGrid::DefaultDrawColumnCell(const TRect& rect, int dataCol, TColumn* column,
                                          TGridDrawState state)
{
    TField* f = column->Field();
    if (!f) return;
    TCanvas* c = Canvas();
    c->SetBkMode(TRANSPARENT);
    DrawAligned(c, rect, f->DisplayText(), column->Alignment());
}

void TCustomDBGrid::DefaultDrawDataCell(const TRect& rect, TField* field, TGridDrawState state)
{
    if (!field) return;
    TCanvas* c = Canvas();
    c->SetBkMode(TRANSPARENT);
    DrawAligned(c, rect, field->DisplayText(), ToGui(field->Alignment()));
}

void TCustomDBGrid::DrawColumnCell(const TRect& rect, int dataCol, TColumn* column,
                                   TGridDrawState state)
{
    if (OnDrawColumnCell) OnDrawColumnCell(this, rect, dataCol, column, state);
}

} // namespace gui
