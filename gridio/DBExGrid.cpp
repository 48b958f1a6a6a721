// TDBExGrid: the data link, the column items and collection, activation,
// record counting, cell texts and graphics from the records, full load.
#include "gridio/DBExGrid.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include <cmath>
#include <limits>

#include "gridbase/ExUtil.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace gridio {

using db::TDataSetState;
using db::TFieldType;
using grid::TCellGraphic;
using grid::TCellType;

namespace {

constexpr int kVersionNr = 33622531;

std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsGraphicField(const db::TField* f) { return f && f->DataType() == TFieldType::ftGraphic; }
bool IsBooleanField(const db::TField* f) { return f && f->DataType() == TFieldType::ftBoolean; }

grid::TCellHAlign HAlignOf(grid::TAlignment a)
{
    switch (a) {
    case grid::TAlignment::taRightJustify: return grid::TCellHAlign::haRight;
    case grid::TAlignment::taCenter: return grid::TCellHAlign::haCenter;
    default: return grid::TCellHAlign::haLeft;
    }
}

// The shared page-mode graphic starts each cell blank.
void ResetGraphic(TCellGraphic* g)
{
    static const TCellGraphic blank;
    g->Assign(&blank);
    g->SetCellBitmap(nullptr);
    g->SetCellIcon(nullptr);
}

grid::TCellVAlign VAlignOf(grid::TVAlignment a)
{
    switch (a) {
    case grid::TVAlignment::vtaCenter: return grid::TCellVAlign::vaCenter;
    case grid::TVAlignment::vtaBottom: return grid::TCellVAlign::vaBottom;
    default: return grid::TCellVAlign::vaTop;
    }
}

} // namespace

// ---------------------------------------------------------------- data link

TExGridDataLink::TExGridDataLink(TDBExGrid* grid) : FGrid(grid) { SetVisualControl(true); }

bool TExGridDataLink::DefaultFields() const
{
    return DataSet() ? DataSet()->DefaultFields() : true;
}

void TExGridDataLink::Reset()
{
    if (FModified)
        RecordChanged(nullptr);
    else if (DataSet() && (DataSet()->State() == TDataSetState::dsEdit ||
                           DataSet()->State() == TDataSetState::dsInsert))
        DataSet()->Cancel();
}

void TExGridDataLink::ActiveChanged()
{
    if (Active() && DataSet() && DataSet()->IsUniDirectional())
        throw rtl::Exception("UniDirectional DataSet");
    FGrid->LinkActiveChanged(Active());
    FModified = false;
}

void TExGridDataLink::DataSetChanged()
{
    FGrid->LinkDataSetChanged();
    FModified = false;
}

void TExGridDataLink::DataSetScrolled(int distance) { FGrid->LinkScrolled(distance); }
void TExGridDataLink::EditingChanged() { FGrid->LinkEditingChanged(); }

void TExGridDataLink::RecordChanged(db::TField* field)
{
    FGrid->LinkRecordChanged(field);
    FModified = false;
}

void TExGridDataLink::UpdateData()
{
    FInUpdateData = true;
    try {
        if (FModified) FGrid->LinkUpdateData();
        FModified = false;
    } catch (...) {
        FInUpdateData = false;
        throw;
    }
    FInUpdateData = false;
}

// ------------------------------------------------------------- column item

RTL_PUBLISHED(TDBGridColumnItem)
{
    c.Property("FieldName", &TDBGridColumnItem::FieldName, &TDBGridColumnItem::SetFieldName);
    c.Property("Header", &TDBGridColumnItem::Header, &TDBGridColumnItem::SetHeader);
    c.Property("CheckTrue", &TDBGridColumnItem::CheckTrue, &TDBGridColumnItem::SetCheckTrue);
    c.Property("CheckFalse", &TDBGridColumnItem::CheckFalse, &TDBGridColumnItem::SetCheckFalse);
    c.Property("HTMLTemplate", &TDBGridColumnItem::HTMLTemplate, &TDBGridColumnItem::SetHTMLTemplate);
    c.Property("ReadOnly", &TDBGridColumnItem::ReadOnly, &TDBGridColumnItem::SetReadOnly);
    c.Property("Tag", &TDBGridColumnItem::Tag, &TDBGridColumnItem::SetTag);
    c.Property("Name", &TDBGridColumnItem::Name, &TDBGridColumnItem::SetName);
    c.Property("Width", &TDBGridColumnItem::Width, &TDBGridColumnItem::SetWidth);
    c.Property("EditMask", &TDBGridColumnItem::EditMask, &TDBGridColumnItem::SetEditMask);
    c.Property("EditLength", &TDBGridColumnItem::EditLength, &TDBGridColumnItem::SetEditLength);
    c.Property("Fixed", &TDBGridColumnItem::Fixed, &TDBGridColumnItem::SetFixed);
    c.Property("Password", &TDBGridColumnItem::Password, &TDBGridColumnItem::SetPassword);
    c.Property("SpinMin", &TDBGridColumnItem::SpinMin, &TDBGridColumnItem::SetSpinMin);
    c.Property("SpinMax", &TDBGridColumnItem::SpinMax, &TDBGridColumnItem::SetSpinMax);
    c.Property("SpinStep", &TDBGridColumnItem::SpinStep, &TDBGridColumnItem::SetSpinStep);
    c.Property("SortPrefix", &TDBGridColumnItem::SortPrefix, &TDBGridColumnItem::SetSortPrefix);
    c.Property("SortSuffix", &TDBGridColumnItem::SortSuffix, &TDBGridColumnItem::SetSortSuffix);
    c.Property("ShowBands", &TDBGridColumnItem::ShowBands, &TDBGridColumnItem::SetShowBands);
    c.Property("MinSize", &TDBGridColumnItem::MinSize, &TDBGridColumnItem::SetMinSize);
    c.Property("MaxSize", &TDBGridColumnItem::MaxSize, &TDBGridColumnItem::SetMaxSize);
    c.Property("AutoMinSize", &TDBGridColumnItem::AutoMinSize, &TDBGridColumnItem::SetAutoMinSize);
    c.Property("AutoMaxSize", &TDBGridColumnItem::AutoMaxSize, &TDBGridColumnItem::SetAutoMaxSize);
    c.Property("FilterCaseSensitive", &TDBGridColumnItem::FilterCaseSensitive,
               &TDBGridColumnItem::SetFilterCaseSensitive);
    c.Property("FloatFormat", &TDBGridColumnItem::FloatFormat, &TDBGridColumnItem::SetFloatFormat);
    c.Property("PictureField", &TDBGridColumnItem::PictureField, &TDBGridColumnItem::SetPictureField);
    c.Property("CheckBoxField", &TDBGridColumnItem::CheckBoxField, &TDBGridColumnItem::SetCheckBoxField);
    c.Property("ProgressField", &TDBGridColumnItem::ProgressField, &TDBGridColumnItem::SetProgressField);
    c.Property("DataImageField", &TDBGridColumnItem::DataImageField, &TDBGridColumnItem::SetDataImageField);
    c.Property("ShowUnicode", &TDBGridColumnItem::ShowUnicode, &TDBGridColumnItem::SetShowUnicode);
    c.Property("UseLookupEditor", &TDBGridColumnItem::UseLookupEditor, &TDBGridColumnItem::SetUseLookupEditor);
}

RTL_PUBLISHED(TDBGridColumnCollection) {}

namespace {
// The column classes can be read from component streams by name.
const bool kColumnClassesRegistered = [] {
    rtl::RegisterClasses({&TDBGridColumnItem::StaticClassInfo(), &TDBGridColumnCollection::StaticClassInfo()});
    return true;
}();
} // namespace

TDBGridColumnItem::TDBGridColumnItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection),
      FFont(std::make_unique<gui::TFont>()),
      FComboItems(std::make_unique<rtl::TStringList>()),
      FPrintFont(std::make_unique<gui::TFont>()),
      FBorderPen(std::make_unique<gui::TPen>()),
      FPrintBorderPen(std::make_unique<gui::TPen>()),
      FFilter(std::make_unique<rtl::TStringList>()),
      FHeaderFont(std::make_unique<gui::TFont>())
{
    FBorderPen->SetWidth(1);
    FBorderPen->SetColor(0xC0C0C0);
    FPrintBorderPen->SetWidth(1);
    FPrintBorderPen->SetColor(gui::clBlack);
    FPrintBorders = grid::TCellBorders{grid::TCellBorder::cbTop, grid::TCellBorder::cbLeft,
                                       grid::TCellBorder::cbRight, grid::TCellBorder::cbBottom};
    // The grid's look is copied only for an item made inside a collection.
    if (TDBExGrid* g = Grid()) {
        FFont->Assign(g->Font());
        FHeaderFont->Assign(g->Font());
        FPrintFont->Assign(g->Font());
        FColor = g->Color();
    }
}

TDBGridColumnItem::~TDBGridColumnItem() = default;

TDBExGrid* TDBGridColumnItem::Grid() const
{
    auto* c = dynamic_cast<TDBGridColumnCollection*>(Collection());
    return c ? c->Grid() : nullptr;
}

std::string TDBGridColumnItem::DisplayName() const
{
    return FFieldName.empty() ? "Column " + std::to_string(Index()) : FFieldName;
}

void TDBGridColumnItem::SetFieldName(const std::string& value)
{
    db::TField* found = nullptr;
    TDBExGrid* g = Grid();
    if (g && g->LinkedDataSet() && !value.empty()) found = g->LinkedDataSet()->FindField(value);
    FFieldName = value;
    FField = found;
    Changed(false);
}

db::TField* TDBGridColumnItem::Field()
{
    if (!FField && !FFieldName.empty()) {
        TDBExGrid* g = Grid();
        db::TDataSet* ds = g ? g->LinkedDataSet() : nullptr;
        if (ds && (ds->Active() || !ds->DefaultFields())) FField = ds->FindField(FFieldName);
    }
    return FField;
}

void TDBGridColumnItem::SetField(db::TField* value)
{
    if (value == FField) return;
    FField = value;
    if (value) FFieldName = value->FullName();
    Changed(false);
}

int TDBGridColumnItem::Width() const
{
    TDBExGrid* g = Grid();
    return g ? g->GetAllColWidths(Index()) : FWidth;
}

void TDBGridColumnItem::SetWidth(int value)
{
    FWidth = value;
    if (TDBExGrid* g = Grid()) g->SetAllColWidths(Index(), value);
}

void TDBGridColumnItem::SetHeader(const std::string& value)
{
    FHeader = value;
    TDBExGrid* g = Grid();
    if (!g) return;
    if (g->PageMode())
        g->Invalidate();
    else if (Index() < g->ColCount() + g->NumHiddenColumns())
        g->SetCells(Index(), 0, value);
}

void TDBGridColumnItem::SetEditor(grid::TEditorType v)
{
    if (v == FEditor) return;
    const bool repaint = v == grid::TEditorType::edDataCheckBox || FEditor == grid::TEditorType::edDataCheckBox;
    FEditor = v;
    if (repaint && Grid()) Grid()->Invalidate();
}

void TDBGridColumnItem::SetColumnPopup(gui::TPopupMenu* v)
{
    FColumnPopup = v;
    // The grid hears when the menu goes, and clears it from its columns.
    if (v && Grid()) v->FreeNotification(Grid());
}

void TDBGridColumnItem::SetFloatFormat(const std::string& v)
{
    FFloatFormat = v;
    if (Grid()) Grid()->Invalidate();
}

void TDBGridColumnItem::SetPictureField(bool v)
{
    if (v && (FCheckBoxField || FProgressField))
        throw rtl::Exception("Can not assign true when CheckBoxField or ProgressField is also true.");
    FPictureField = v;
    Changed(false);
}

void TDBGridColumnItem::SetCheckBoxField(bool v)
{
    if (v && (FPictureField || FProgressField))
        throw rtl::Exception("Can not assign true when PictureField or ProgressField is also true.");
    if (v != FCheckBoxField) {
        FCheckBoxField = v;
        if (TDBExGrid* g = Grid()) {
            if (!g->PageMode() && g->IsDataSetActive()) g->LoadAllRecords();
        }
    }
    Changed(false);
}

void TDBGridColumnItem::SetProgressField(bool v)
{
    if (v && (FCheckBoxField || FPictureField))
        throw rtl::Exception("Can not assign true when CheckBoxField or PictureField is also true.");
    FProgressField = v;
    Changed(false);
}

void TDBGridColumnItem::AssignVisuals(const rtl::TPersistent* source)
{
    auto* s = dynamic_cast<const TDBGridColumnItem*>(source);
    if (!s) return;
    FAlignment = s->FAlignment;
    FBorderPen->Assign(s->FBorderPen.get());
    FBorders = s->FBorders;
    FCheckFalse = s->FCheckFalse;
    FCheckTrue = s->FCheckTrue;
    FComboItems->Assign(s->FComboItems.get());
    FEditLength = s->FEditLength;
    FEditMask = s->FEditMask;
    FEditor = s->FEditor;
    FFixed = s->FFixed;
    FHeaderFont->Assign(s->FHeaderFont.get());
    FHeaderAlignment = s->FHeaderAlignment;
    FPassword = s->FPassword;
    FPrintBorderPen->Assign(s->FPrintBorderPen.get());
    FPrintBorders = s->FPrintBorders;
    FPrintColor = s->FPrintColor;
    FPrintFont->Assign(s->FPrintFont.get());
    FReadOnly = s->FReadOnly;
    FSortStyle = s->FSortStyle;
    FSortPrefix = s->FSortPrefix;
    FSortSuffix = s->FSortSuffix;
    FSpinMax = s->FSpinMax;
    FSpinMin = s->FSpinMin;
    FSpinStep = s->FSpinStep;
    FShowBands = s->FShowBands;
    FMinSize = s->FMinSize;
    FMaxSize = s->FMaxSize;
    FAutoMinSize = s->FAutoMinSize;
    FAutoMaxSize = s->FAutoMaxSize;
    FFilter->Assign(s->FFilter.get());
    FFilterCaseSensitive = s->FFilterCaseSensitive;
    FDefIdx = s->FDefIdx;
    FFloatFormat = s->FFloatFormat;
    FHTMLTemplate = s->FHTMLTemplate;
    FColumnPopup = s->FColumnPopup;
    FWidth = s->Width();
    if (TDBExGrid* g = Grid()) {
        FColor = g->Color();
        FFont->Assign(g->Font());
    }
}

void TDBGridColumnItem::Assign(const rtl::TPersistent* source)
{
    auto* s = dynamic_cast<const TDBGridColumnItem*>(source);
    if (!s) return;
    AssignVisuals(source);
    SetFieldName(s->FFieldName);
    FHeader = s->FHeader;
    FColor = s->FColor;
    FFont->Assign(s->FFont.get());
    FTag = s->FTag;
    FName = s->FName;
    FPictureField = s->FPictureField;
    FCheckBoxField = s->FCheckBoxField;
    FProgressField = s->FProgressField;
    FDataImageField = s->FDataImageField;
    FProgressColor = s->FProgressColor;
    FProgressBKColor = s->FProgressBKColor;
    FProgressTextColor = s->FProgressTextColor;
    FProgressTextBKColor = s->FProgressTextBKColor;
    FShowUnicode = s->FShowUnicode;
    FPictureStretch = s->FPictureStretch;
}

// -------------------------------------------------------- column collection

TDBGridColumnCollection::TDBGridColumnCollection(TDBExGrid* owner)
    : rtl::TCollection(TDBGridColumnItem::StaticClassInfo()), FOwner(owner)
{
}

rtl::TPersistent* TDBGridColumnCollection::GetOwner() const { return FOwner; }

TDBGridColumnItem* TDBGridColumnCollection::Add()
{
    auto* item = static_cast<TDBGridColumnItem*>(TCollection::Add());
    if (Count() > 1) item->AssignVisuals(Items(Count() - 2));
    return item;
}

TDBGridColumnItem* TDBGridColumnCollection::Insert(int index)
{
    return static_cast<TDBGridColumnItem*>(TCollection::Insert(index));
}

bool TDBGridColumnCollection::HasFieldsDefined() const
{
    for (int i = 0; i < Count(); ++i)
        if (!Items(i)->FieldName().empty()) return true;
    return false;
}

void TDBGridColumnCollection::Update(rtl::TCollectionItem* item)
{
    TCollection::Update(item);
    if (FNoRecursiveUpdate || !FOwner) return;
    const int n = Count() - FOwner->NumHiddenColumns();
    if (FOwner->ColCount() != n && n > FOwner->FixedCols()) FOwner->TExStringGrid::SetColCount(n);
    FOwner->Invalidate();
}

void TDBGridColumnCollection::SetOrganization()
{
    if (!FOwner) return;
    FNoRecursiveUpdate = true;
    const int want = FOwner->ColCount() + FOwner->NumHiddenColumns();
    while (Count() < want) TCollection::Add();
    while (Count() > want && Count() > 0) Delete(Count() - 1);
    for (int i = 0; i < Count(); ++i) Items(i)->FDefIdx = i;
    FNoRecursiveUpdate = false;
}

void TDBGridColumnCollection::ResetOrganization()
{
    if (!FOwner) return;
    bool moved = true;
    int guard = Count() * Count() + 1;
    while (moved && guard-- > 0) {
        moved = false;
        for (int i = 0; i < Count(); ++i) {
            if (Items(i)->DefIdx() < i) {
                FOwner->MoveColumn(i, Items(i)->DefIdx());
                moved = true;
                break;
            }
        }
    }
}

// --------------------------------------------------------------- the grid

uint32_t TDBExGrid::GetVersionNr() const { return kVersionNr; }

std::string TDBExGrid::GetVersionString() const
{
    const unsigned v = GetVersionNr();
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
           "." + std::to_string(v & 0xFF);
}

TDBExGrid::TDBExGrid(rtl::TComponent* owner)
    : TExStringGrid(owner),
      FColumnCollection(std::make_unique<TDBGridColumnCollection>(this)),
      FDataLink(std::make_unique<TExGridDataLink>(this)),
      FCellGraphic(std::make_unique<TCellGraphic>()),
      FPicture(std::make_unique<gui::TPicture>()),
      FInvalidPicture(std::make_unique<gui::TPicture>())
{
    SetAlwaysValidate(true);
    // A header click re-sorts a query data set by its ORDER BY clause
    // instead of sorting the (page-mode) cells.
    OnCanSort = [this](rtl::TObject*, int aCol, bool& doSort) {
        if (doSort) doSort = SortByQueryOrder(aCol);
    };
    OnCellValidate = [this](rtl::TObject*, int aCol, int aRow, std::string& value, bool& valid) {
        ValidateEditedCell(aCol, aRow, value, valid);
    };
    TExStringGrid::SetColCount(2);
    TExStringGrid::SetRowCount(2);
    SetDefaultRowHeight(22);
    SetFixedColWidth(20);
    FColumnCollection->SetOrganization();
    // A small red cross stands for a picture that cannot be read.
    gui::TBitmap bmp;
    bmp.SetSize(16, 16);
    bmp.Canvas()->Brush()->SetColor(gui::clWhite);
    bmp.Canvas()->FillRect(gui::TRect{0, 0, 16, 16});
    bmp.Canvas()->Pen()->SetColor(gui::clRed);
    bmp.Canvas()->Pen()->SetWidth(2);
    bmp.Canvas()->MoveTo(2, 2);
    bmp.Canvas()->LineTo(14, 14);
    bmp.Canvas()->MoveTo(14, 2);
    bmp.Canvas()->LineTo(2, 14);
    FInvalidPicture->Assign(&bmp);
}

TDBExGrid::~TDBExGrid()
{
    FDestroying = true;
    FDataLink->SetDataSource(nullptr);
}

db::TDataSource* TDBExGrid::DataSource() const { return FDataLink->DataSource(); }

void TDBExGrid::SetDataSource(db::TDataSource* value)
{
    if (value == FDataLink->DataSource()) return;
    if (FDataLink->DataSource()) FDataLink->DataSource()->RemoveFreeNotification(this);
    FDataLink->SetDataSource(value);
    if (!value) {
        TExStringGrid::SetRowCount(FixedRows() + 1);
        if (FAutoRemoveColumns) {
            SetColCount(2);
            for (int i = 0; i < std::min(2, FColumnCollection->Count()); ++i)
                FColumnCollection->Items(i)->FFieldName.clear();
        }
        ClearRows(RowCount() - 1, 1);
    } else {
        value->FreeNotification(this);
    }
}

void TDBExGrid::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TExStringGrid::Notification(component, operation);
    if (operation != rtl::TOperation::opRemove) return;
    if (FDataLink && component == FDataLink->DataSource()) SetDataSource(nullptr);
    // A removed pop-up menu leaves every column.
    if (FColumnCollection)
        for (int i = 0; i < FColumnCollection->Count(); ++i)
            if (FColumnCollection->Items(i)->ColumnPopup() == component) FColumnCollection->Items(i)->SetColumnPopup(nullptr);
}

void TDBExGrid::SetColCount(int value)
{
    TExStringGrid::SetColCount(value);
    FColumnCollection->SetOrganization();
}

void TDBExGrid::SetFixedRows(int value)
{
    if (value > 0) TExStringGrid::SetFixedRows(value);
    if (IsDataSetActive()) LinkActiveChanged(true);
}

TDBGridColumnItem* TDBExGrid::ItemAt(int realCol) const
{
    if (realCol < 0 || realCol >= FColumnCollection->Count()) return nullptr;
    return FColumnCollection->Items(realCol);
}

bool TDBExGrid::IsDataSetActive() const
{
    return FDataLink->Active() && LinkedDataSet() && LinkedDataSet()->Active();
}

int TDBExGrid::VisibleFieldCount() const
{
    db::TDataSet* ds = LinkedDataSet();
    if (!ds) return 0;
    int n = 0;
    for (int i = 0; i < ds->FieldCount(); ++i)
        if (ds->Fields(i)->Visible()) ++n;
    return n;
}

db::TField* TDBExGrid::VisibleField(int k) const
{
    db::TDataSet* ds = LinkedDataSet();
    if (!ds || k < 0) return nullptr;
    for (int i = 0; i < ds->FieldCount(); ++i) {
        if (!ds->Fields(i)->Visible()) continue;
        if (k-- == 0) return ds->Fields(i);
    }
    return nullptr;
}

db::TField* TDBExGrid::ColumnField(int aCol)
{
    if (!IsDataSetActive()) return nullptr;
    TDBGridColumnItem* item = ItemAt(aCol);
    if (!item || !item->HTMLTemplate().empty()) return nullptr;
    if (!item->FieldName().empty()) return LinkedDataSet()->FindField(item->FieldName());
    if (FShowDefinedFields || IsIndicatorCol(aCol)) return nullptr;
    return VisibleField(aCol - IndicatorOffset());
}

int TDBExGrid::ColumnFieldIndex(int aCol)
{
    db::TField* f = ColumnField(aCol);
    return f ? f->Index() : -1;
}

bool TDBExGrid::ShowsGraphic(int realCol)
{
    TDBGridColumnItem* item = ItemAt(realCol);
    if (!item) return false;
    if (item->PictureField() || item->CheckBoxField()) return true;
    db::TField* f = ColumnField(realCol);
    return (FShowBooleanFields && IsBooleanField(f)) || (FShowPictureFields && IsGraphicField(f));
}

// ------------------------------------------------------------- activation

void TDBExGrid::LinkActiveChanged(bool active)
{
    db::TDataSet* ds = LinkedDataSet();
    if (active && ds && ds->Active()) {
        // Columns naming fields the data set lacks go.
        FShowDefinedFields = FColumnCollection->HasFieldsDefined();
        if (FShowDefinedFields) {
            for (int i = FColumnCollection->Count() - 1; i >= 0; --i) {
                TDBGridColumnItem* item = FColumnCollection->Items(i);
                if (!item->FieldName().empty() && !ds->FindField(item->FieldName())) {
                    item->FFieldName.clear();
                    item->FHeader.clear();
                    if (ColCount() > FixedCols() + 1) {
                        FColumnCollection->FNoRecursiveUpdate = true;
                        FColumnCollection->Delete(i);
                        RemoveCols(i, 1);
                        FColumnCollection->FNoRecursiveUpdate = false;
                        FColumnCollection->SetOrganization();
                    }
                }
            }
        }
        if (!FShowDefinedFields && FAutoCreateColumns) {
            const int n = VisibleFieldCount() - NumHiddenColumns() + IndicatorOffset();
            if (n >= 0) SetColCount(std::max(n, FixedCols() + 1));
        }
        for (int c = IndicatorOffset(); c < FColumnCollection->Count(); ++c) {
            TDBGridColumnItem* item = FColumnCollection->Items(c);
            db::TField* f = !item->FieldName().empty() ? ds->FindField(item->FieldName())
                            : FShowDefinedFields      ? nullptr
                                                      : VisibleField(c - IndicatorOffset());
            if (!f) continue;
            if (item->FieldName().empty() && FAutoCreateColumns) item->FFieldName = f->FieldName();
            item->FAlignment = static_cast<grid::TAlignment>(f->Alignment());
            item->FEditMask = f->EditMask();
            item->FEditLength =
                f->DataType() == TFieldType::ftString || f->DataType() == TFieldType::ftWideString ? f->Size() : 0;
        }
        FDataLink->SetBufferCount(VisibleRows() + 1);
        Recount();
        if (!FPageMode) {
            if (FloatingFooter()->Visible()) TExStringGrid::SetRowCount(RowCount() + 1);
            LoadAllRecords();
        }
        if (FDatasetTypeAuto && FDataSetType == TDataSetType::dtSequenced &&
            (!ds->IsSequenced() || ds->RecNo() < 0))
            FDataSetType = TDataSetType::dtNonSequenced;
        FFilteredDataSet = ds->Filtered();
        FOldState = ds->State();
        SyncRowWithRecord();
        Invalidate();
    } else {
        TExStringGrid::SetRowCount(FixedRows() + 1);
        if (FAutoRemoveColumns && !FColumnCollection->HasFieldsDefined()) SetColCount(2);
        for (int r = 0; r < RowCount(); ++r) ClearRows(r, 1);
        Invalidate();
    }
}

void TDBExGrid::UpdateActive() { LinkActiveChanged(IsDataSetActive()); }

void TDBExGrid::Recount()
{
    const int records = CountRecords();
    int rows = records + FixedRows();
    const bool empty = rows < FixedRows() + 1;
    if (empty) rows = FixedRows() + 1;
    const bool was = FInternalCall;
    FInternalCall = true;
    if (FDataSetType == TDataSetType::dtNonSequenced)
        rows = std::min(rows, FixedRows() + VisibleRows() + 1);
    TExStringGrid::SetRowCount(rows);
    if (empty) ClearRows(FixedRows(), 1);
    FInternalCall = was;
}

int TDBExGrid::CountRecords()
{
    if (!IsDataSetActive()) return 0;
    db::TDataSet* ds = LinkedDataSet();
    const bool oldNoUpdate = FDoNotUpdateMe, oldSuspended = FEditUpdating;
    // The walk tells the data sources that the data changed; not news here.
    FDoNotUpdateMe = true;
    FEditUpdating = true;
    int count = 0;
    if (OnGetRecordCount) {
        ds->DisableControls();
        OnGetRecordCount(this, count);
        ds->EnableControls();
    } else if (ds->IsSequenced()) {
        count = ds->RecordCount();
    } else {
        // A data set without record numbers is walked.
        ds->DisableControls();
        if (!(ds->Eof() && ds->Bof())) {
            const db::TBookmark bm = ds->GetBookmark();
            const bool atEnd = ds->Eof(), atStart = ds->Bof();
            ds->First();
            count = ds->MoveBy(std::numeric_limits<int>::max() / 2) + 1;
            if (!bm.empty()) ds->GotoBookmark(bm);
            if (atEnd) ds->Next();
            if (atStart) ds->Prior();
        }
        ds->EnableControls();
    }
    FDoNotUpdateMe = oldNoUpdate;
    FEditUpdating = oldSuspended;
    if (FPageMode && FooterTakesRow()) ++count;
    return count;
}

// ------------------------------------------------------------- cell texts

bool TDBExGrid::SeekRowRecord(int aRow, int& oldActive)
{
    oldActive = FDataLink->ActiveRecord();
    // An export run puts the record of the row it writes under the cursor
    // (with the controls disabled, so the link's window stays behind).
    if (FExporting && FExportRow >= 0) {
        FDataLink->SetActiveRecord(oldActive);
        return aRow == FExportRow;
    }
    int rec;
    if (FDataSetType == TDataSetType::dtNonSequenced)
        rec = FExportRow >= 0 ? oldActive : aRow - FixedRows();
    else
        rec = aRow - Row() + oldActive;
    const int limit = FDataLink->RecordCount();
    if (rec < 0 || rec >= limit) return false;
    FDataLink->SetActiveRecord(rec);
    return true;
}

std::string TDBExGrid::FieldCellText(TDBGridColumnItem* item, db::TField* field, int aCol)
{
    (void)aCol;
    if (!field) return {};
    if (field->IsBlob()) {
        if (IsGraphicField(field) || item->PictureField()) return "(GRAPHIC)";
        return FShowMemoFields ? field->AsString() : "(MEMO)";
    }
    // A wide-string field shown as Unicode goes in the grid's prefixed coding.
    const bool unicode = item->FieldName().empty() ? FShowUnicode : item->ShowUnicode();
    if (unicode && field->DataType() == TFieldType::ftWideString)
        return gridbase::EncodePrefixedWideText(field->DisplayText());
    return field->DisplayText();
}

std::string TDBExGrid::ApplyHTMLTemplate(const std::string& tmpl, int aRow, int aCol)
{
    std::string out;
    size_t pos = 0;
    const bool active = IsDataSetActive();
    while (true) {
        const size_t open = tmpl.find("<#", pos);
        if (open == std::string::npos) break;
        const size_t close = tmpl.find('>', open + 2);
        if (close == std::string::npos) break;
        out += tmpl.substr(pos, open - pos);
        const std::string name = tmpl.substr(open + 2, close - open - 2);
        std::string value;
        if (active) {
            db::TField* f = LinkedDataSet()->FindField(name);
            value = f ? f->DisplayText() : std::string();
            if (OnGetHTMLTemplateData) OnGetHTMLTemplateData(this, aCol, aRow, name, value);
        } else {
            value = "(" + name + ")";
        }
        out += value;
        pos = close + 1;
    }
    return out + tmpl.substr(pos);
}

void TDBExGrid::DoGetDisplText(int aCol, int aRow, std::string& value)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (!FPageMode || !LinkedDataSet() || !item) {
        TExStringGrid::DoGetDisplText(aCol, aRow, value);
        return;
    }
    if (!IsDataSetActive()) {
        if (aRow == FixedRows() - 1 && !IsIndicatorCol(aCol))
            value = item->Header().empty() ? item->FieldName() : item->Header();
        TExStringGrid::DoGetDisplText(aCol, aRow, value);
        return;
    }
    const bool footerRow = FooterTakesRow() && aRow == RowCount() - 1;
    if (aRow >= FixedRows() && !IsIndicatorCol(aCol) && !footerRow && !ShowsGraphic(aCol)) {
        int old = 0;
        if (SeekRowRecord(aRow, old)) {
            if (!item->HTMLTemplate().empty())
                value = ApplyHTMLTemplate(item->HTMLTemplate(), aRow, aCol);
            else if (!item->FieldName().empty() || !FShowDefinedFields)
                value = FieldCellText(item, ColumnField(aCol), aCol);
            FDataLink->SetActiveRecord(old);
            TExStringGrid::DoGetDisplText(aCol, aRow, value);
        } else {
            if (FDataSetType == TDataSetType::dtNonSequenced) value.clear();
            FDataLink->SetActiveRecord(old);
        }
        return;
    }
    if (aRow == FixedRows() - 1 && !IsIndicatorCol(aCol)) {
        if (!item->Header().empty()) {
            value = item->Header();
        } else if (!value.empty()) {
        } else if (!item->FieldName().empty()) {
            db::TField* f = LinkedDataSet()->FindField(item->FieldName());
            value = f && !f->DisplayLabel().empty() ? f->DisplayLabel() : item->FieldName();
        } else if (!FShowDefinedFields) {
            if (db::TField* f = VisibleField(aCol - IndicatorOffset())) value = f->DisplayName();
        }
        TExStringGrid::DoGetDisplText(aCol, aRow, value);
    }
}

// ----------------------------------------------------------- cell graphics

TCellGraphic* TDBExGrid::GetCellGraphic(int aCol, int aRow)
{
    TCellGraphic* found = TExStringGrid::GetCellGraphic(aCol, aRow);
    if (FDestroying || !FPageMode || !IsDataSetActive()) return found;
    TDBGridColumnItem* item = ItemAt(aCol);
    if (!item) return found;
    const bool footerRow = FloatingFooter()->Visible() && aRow == RowCount() - 1;
    const bool dataCell = aRow >= FixedRows() && aCol >= IndicatorOffset() && !footerRow;
    if (!dataCell) return found;
    TCellGraphic* g = FCellGraphic.get();
    db::TField* f = ColumnField(aCol);
    const bool flat = ControlLook()->ControlStyle() == grid::TControlStyle::csFlat;
    auto checkBox = [&](bool state) {
        ResetGraphic(g);
        g->SetCellType(TCellType::ctCheckBox);
        g->SetCellBoolean(state);
        g->SetCellTransparent(flat);
        g->SetCellVAlign(VAlignOf(VAlignment()));
        g->SetCellHAlign(HAlignOf(item->Alignment()));
        return g;
    };
    int old = 0;
    if (FShowBooleanFields && IsBooleanField(f)) {
        if (!SeekRowRecord(aRow, old)) {
            FDataLink->SetActiveRecord(old);
            return nullptr;
        }
        const bool v = f->AsBoolean();
        FDataLink->SetActiveRecord(old);
        return checkBox(v);
    }
    if (found) return found;
    if (item->ProgressField()) {
        ResetGraphic(g);
        g->SetCellType(TCellType::ctProgress);
        g->SetCellBitmapColor(item->ProgressColor());
        g->SetCellIconColor(item->ProgressBKColor());
        g->SetCellIndex(static_cast<int>(item->ProgressTextColor()));
        g->SetCellAngle(static_cast<int>(item->ProgressTextBKColor()));
        g->SetCellErrFrom(0);
        g->SetCellErrLen(100);
        g->SetCellBoolean(true);
        return g;
    }
    if (!f) return nullptr;
    if (item->CheckBoxField()) {
        if (!SeekRowRecord(aRow, old)) {
            FDataLink->SetActiveRecord(old);
            return nullptr;
        }
        std::string text = f->DisplayText();
        FDataLink->SetActiveRecord(old);
        TExStringGrid::DoGetDisplText(aCol, aRow, text);
        return checkBox(Upper(text) == Upper(item->CheckTrue()));
    }
    if ((FShowPictureFields && IsGraphicField(f)) || item->PictureField()) {
        if (!SeekRowRecord(aRow, old)) {
            FDataLink->SetActiveRecord(old);
            return nullptr;
        }
        FPicture->Assign(nullptr);
        gui::TPoint size{0, 0};
        LoadBlobPicture(f, size, aRow, aCol);
        FDataLink->SetActiveRecord(old);
        ResetGraphic(g);
        g->SetPicture(FPicture.get(), true, item->PictureStretch(), 2, grid::TCellHAlign::haCenter,
                      grid::TCellVAlign::vaCenter);
        return g;
    }
    if (item->DataImageField() && (f->DataType() == TFieldType::ftSmallint ||
                                   f->DataType() == TFieldType::ftInteger || f->DataType() == TFieldType::ftWord)) {
        ResetGraphic(g);
        g->SetCellType(TCellType::ctDataImage);
        g->SetCellHAlign(grid::TCellHAlign::haCenter);
        g->SetCellVAlign(grid::TCellVAlign::vaCenter);
        g->SetCellTransparent(true);
        g->SetCellAngle(2);
        g->SetCellIndex(0);
        return g;
    }
    return nullptr;
}

TCellType TDBExGrid::GetCellType(int aCol, int aRow)
{
    TCellType t = TExStringGrid::GetCellType(aCol, aRow);
    if (!FPageMode || !IsDataSetActive() || aCol < FixedCols() || aRow < FixedRows()) return t;
    TDBGridColumnItem* item = ItemAt(aCol);
    if (!item) return t;
    db::TField* f = ColumnField(aCol);
    if ((FShowBooleanFields && IsBooleanField(f)) || item->CheckBoxField()) return TCellType::ctCheckBox;
    if (t == TCellType::ctEmpty && item->DataImageField() && f &&
        (f->DataType() == TFieldType::ftSmallint || f->DataType() == TFieldType::ftInteger))
        return TCellType::ctDataImage;
    return t;
}

// --------------------------------------------------------------- full load

void TDBExGrid::LoadAllRecords()
{
    db::TDataSet* ds = LinkedDataSet();
    if (!IsDataSetActive() || FColumnCollection->Count() == 0) return;
    FPictureList.clear();
    const int off = IndicatorOffset();
    const int hdr = FixedRows() - 1;
    for (int c = off; c < FColumnCollection->Count(); ++c) {
        TDBGridColumnItem* item = FColumnCollection->Items(c);
        if (hdr < 0) break;
        db::TField* f = ColumnField(c);
        SetCells(c, hdr, !item->Header().empty() ? item->Header() : f ? f->DisplayName() : std::string());
    }
    const db::TBookmark bm = ds->GetBookmark();
    ds->DisableControls();
    BeginUpdate();
    ds->First();
    int row = FixedRows();
    while (!ds->Eof()) {
        if (row >= RowCount()) TExStringGrid::SetRowCount(row + 1);
        for (int c = off; c < FColumnCollection->Count(); ++c) {
            TDBGridColumnItem* item = FColumnCollection->Items(c);
            std::string text;
            try {
                db::TField* f = ColumnField(c);
                if (!item->HTMLTemplate().empty()) {
                    text = ApplyHTMLTemplate(item->HTMLTemplate(), row, c);
                } else if (f && !f->IsBlob()) {
                    if (FShowBooleanFields && IsBooleanField(f)) {
                        AddCheckBox(c, row, Upper(f->AsString()) == "TRUE" || f->AsBoolean(), false);
                    } else if (item->CheckBoxField()) {
                        const bool state = Upper(f->AsString()) == Upper(item->CheckTrue());
                        AddCheckBox(c, row, state, true);
                        text = state ? item->CheckTrue() : item->CheckFalse();
                    } else if (item->ProgressField()) {
                        text = f->DisplayText();
                        AddProgressEx(c, row, item->ProgressColor(), item->ProgressTextColor(),
                                      item->ProgressBKColor(), item->ProgressTextBKColor());
                    } else if (item->DataImageField()) {
                        text = f->DisplayText();
                        AddDataImage(c, row, 0, grid::TCellHAlign::haBeforeText, grid::TCellVAlign::vaTop);
                    } else {
                        text = f->DisplayText();
                    }
                } else if (f) {
                    if (IsGraphicField(f) || item->PictureField()) {
                        if (FShowPictureFields || item->PictureField()) {
                            gui::TPoint size{0, 0};
                            LoadBlobPicture(f, size, row, c);
                            auto pic = std::make_unique<gui::TPicture>();
                            pic->Assign(FPicture.get());
                            AddPicture(c, row, pic.get(), true, grid::TStretchMode::StretchWithAspectRatio, 4,
                                       grid::TCellHAlign::haCenter, grid::TCellVAlign::vaCenter);
                            FPictureList.push_back(std::move(pic));
                        } else {
                            text = "(GRAPHIC)";
                        }
                    } else {
                        text = FShowMemoFields ? f->AsString() : "(MEMO)";
                    }
                }
            } catch (const std::exception&) {
            }
            SetCells(c, row, text);
        }
        ++row;
        ds->Next();
    }
    if (!bm.empty()) ds->GotoBookmark(bm);
    EndUpdate();
    ds->EnableControls();
}

void TDBExGrid::Reload()
{
    if (!FPageMode) LoadAllRecords();
}

void TDBExGrid::SetPageMode(bool value)
{
    if (value == FPageMode) return;
    FPageMode = value;
    for (int r = FixedRows(); r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c) {
            if (!value) {
                RemovePicture(c, r);
                RemoveCheckBox(c, r);
            }
            SetCells(c, r, "");
        }
    FPictureList.clear();
    if (IsDataSetActive()) LinkActiveChanged(true);
    // The footer sums what the cells now hold.
    if (FloatingFooter()->Visible() && !Designing() &&
        !ComponentState().Contains(rtl::TComponentStateItem::csLoading))
        for (int c = FixedCols(); c < ColCount(); ++c) CalcFooter(c);
}

void TDBExGrid::SetShowMemoFields(bool value)
{
    FShowMemoFields = value;
    if (!FPageMode && IsDataSetActive()) LoadAllRecords();
    Invalidate();
}

void TDBExGrid::SetShowBooleanFields(bool value)
{
    if (value == FShowBooleanFields) return;
    FShowBooleanFields = value;
    if (!FPageMode && IsDataSetActive()) {
        if (value) {
            LoadAllRecords();
        } else {
            for (int r = FixedRows(); r < RowCount(); ++r)
                for (int c = 0; c < ColCount(); ++c) {
                    bool state = false;
                    if (TExStringGrid::GetCellType(c, r) == TCellType::ctCheckBox && GetCheckBoxState(c, r, state)) {
                        RemoveCheckBox(c, r);
                        SetCells(c, r, state ? "True" : "False");
                    }
                }
        }
    }
    Invalidate();
}

void TDBExGrid::SetShowPictureFields(bool value)
{
    if (value == FShowPictureFields) return;
    FShowPictureFields = value;
    if (!FPageMode && IsDataSetActive()) LoadAllRecords();
    Invalidate();
}

void TDBExGrid::SetDataSetType(TDataSetType value)
{
    if (value == FDataSetType) return;
    FDataSetType = value;
    db::TDataSet* ds = LinkedDataSet();
    if (ds && ds->Active()) {
        ds->Close();
        ds->Open();
    }
}

// ------------------------------------------------------- hooks by column

void TDBExGrid::GetCellColor(int aCol, int aRow, grid::TGridDrawState state, gui::TBrush* brush, gui::TFont* font)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && aCol >= FixedCols() && aRow < RowCount() - FixedFooters()) {
        if (item->Fixed())
            brush->SetColor(FixedColor());
        else if (aRow >= FixedRows() && !(item->ShowBands() && Bands()->Active()))
            brush->SetColor(item->Color());
        font->Assign(aRow < FixedRows() ? item->HeaderFont() : item->Font());
    }
    TExStringGrid::GetCellColor(aCol, aRow, state, brush, font);
}

void TDBExGrid::QueryCellAlignment(int aCol, int aRow, grid::TAlignment& hAlign, grid::TVAlignment& vAlign)
{
    if (TDBGridColumnItem* item = ItemAt(aCol))
        hAlign = aRow < FixedRows() ? item->HeaderAlignment() : item->Alignment();
    TExStringGrid::QueryCellAlignment(aCol, aRow, hAlign, vAlign);
}

void TDBExGrid::GetColumnFormat(int aCol, grid::TSortStyle& style, std::string& prefix, std::string& suffix)
{
    if (TDBGridColumnItem* item = ItemAt(aCol)) {
        style = item->SortStyle();
        prefix = item->SortPrefix();
        suffix = item->SortSuffix();
    }
    TExStringGrid::GetColumnFormat(aCol, style, prefix, suffix);
}

void TDBExGrid::GetCellEditorType(int aCol, int aRow, grid::TEditorType& editor)
{
    if (TDBGridColumnItem* item = ItemAt(aCol)) editor = item->Editor();
    TExStringGrid::GetCellEditorType(aCol, aRow, editor);
}

void TDBExGrid::IsFixedCell(int aCol, int aRow, bool& isFixed)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && aCol >= FixedCols() && aRow >= FixedRows()) isFixed = item->Fixed();
    TExStringGrid::IsFixedCell(aCol, aRow, isFixed);
}

void TDBExGrid::IsPasswordCell(int aCol, int aRow, bool& isPassword)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && aRow >= FixedRows()) isPassword = item->Password();
    TExStringGrid::IsPasswordCell(aCol, aRow, isPassword);
}

void TDBExGrid::CanEditCell(int aCol, int aRow, bool& canEdit)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && item->ReadOnly()) canEdit = false;
    TExStringGrid::CanEditCell(aCol, aRow, canEdit);
}

void TDBExGrid::GetCheckTrue(int aCol, int aRow, std::string& value)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && aRow >= FixedRows() && aCol >= FixedCols()) value = item->CheckTrue();
    TExStringGrid::GetCheckTrue(aCol, aRow, value);
}

void TDBExGrid::GetCheckFalse(int aCol, int aRow, std::string& value)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && aRow >= FixedRows() && aCol >= FixedCols()) value = item->CheckFalse();
    TExStringGrid::GetCheckFalse(aCol, aRow, value);
}

void TDBExGrid::GetCellBorder(int aCol, int aRow, gui::TPen* pen, grid::TCellBorders& borders)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && aCol >= FixedCols() && aRow >= FixedRows()) {
        borders = item->Borders();
        pen->Assign(item->BorderPen());
    }
    TExStringGrid::GetCellBorder(aCol, aRow, pen, borders);
}

void TDBExGrid::GetCellPrintBorder(int aCol, int aRow, gui::TPen* pen, grid::TCellBorders& borders)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && aCol >= FixedCols() && aRow >= FixedRows()) {
        borders = item->PrintBorders();
        pen->Assign(item->PrintBorderPen());
    }
    TExStringGrid::GetCellPrintBorder(aCol, aRow, pen, borders);
}

bool TDBExGrid::HasCombo(int aCol, int aRow)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (item && aCol >= FixedCols() && aRow >= FixedRows() &&
        (item->Editor() == grid::TEditorType::edComboEdit || item->Editor() == grid::TEditorType::edComboList))
        return true;
    return TExStringGrid::HasCombo(aCol, aRow);
}

void TDBExGrid::GetFormattedCellText(int aCol, int aRow, std::string& text)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (!item || item->FloatFormat().empty()) {
        TExStringGrid::GetFormattedCellText(aCol, aRow, text);
        return;
    }
    text = GetCellText(aCol, aRow);
    const std::string trimmed = rtl::Trim(text);
    const int kind = gridbase::ClassifyNumberText(trimmed);
    if (kind != gridbase::ntInteger && kind != gridbase::ntDecimal) return;
    bool isFloat = true;
    std::string fmt = item->FloatFormat();
    if (OnGetFloatFormat) OnGetFloatFormat(this, aCol, aRow, isFloat, fmt);
    if (!isFloat) return;
    try {
        const long double value = rtl::StrToFloat(gridbase::ExtractNumberText(trimmed));
        if (fmt.find('d') != std::string::npos) text = rtl::Format(fmt, static_cast<long long>(std::llround(value)));
        else text = rtl::Format(fmt, value);
    } catch (...) {
        // A format that does not fit the value leaves the text as it is.
    }
}

void TDBExGrid::ColumnHeadersChanged()
{
    rtl::TStringList* headers = ColumnHeaders();
    for (int i = 0; i < headers->Count() && i < FColumnCollection->Count(); ++i)
        FColumnCollection->Items(i)->FHeader = (*headers)[i];
    TExStringGrid::ColumnHeadersChanged();
}

std::string TDBExGrid::GetEditMask(int aCol, int aRow)
{
    const std::string own = TExStringGrid::GetEditMask(aCol, aRow);
    TDBGridColumnItem* item = ItemAt(aCol);
    return own.empty() && item ? item->EditMask() : own;
}

} // namespace gridio
