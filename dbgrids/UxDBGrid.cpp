// TUxDBGrid: defaults, options, row heights, fixed columns, colours of data
// cells, title clicks and the automatic sort, layout links, column widths.
#include "dbgrids/UxDBGrid.h"

#include <algorithm>
#include <cmath>

#include "dbgrids/UxAppStoragePropertyEngineDB.h"
#include "dbgrids/UxFormPlacement.h"
#include "dbgrids/UxGraphics.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/TypInfo.h"

namespace dbgrids {

using namespace gui;
using O = TDBGridOption;

namespace {

// Rounds halves to the even integer.
int RoundEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

TUxDBGrid::TUxDBGrid(rtl::TComponent* owner) : TUxExDBGrid(owner)
{
    // The grid draws its data cells itself.
    SetDefaultDrawing(false);
    FControls = std::make_unique<TUxDBGridControls>(this);
    RegisterDBGridColumnsEngine();
    FIniLink = std::make_unique<TUxIniLink>();
    FIniLink->OnSave = [this](rtl::TObject*) { Save(); };
    FIniLink->OnLoad = [this](rtl::TObject*) { Load(); };
    SetOptions(DefaultOptions());
    FRowsHeight = DefaultRowHeight();
    FTitleRowHeight = RowHeights(0);
}

TUxDBGrid::~TUxDBGrid()
{
    if (FIniLink) {
        FIniLink->OnSave = nullptr;
        FIniLink->OnLoad = nullptr;
    }
}

TDBGridOptions TUxDBGrid::DefaultOptions()
{
    return {O::dgEditing,      O::dgTitles,        O::dgIndicator, O::dgColumnResize,
            O::dgColLines,     O::dgRowLines,      O::dgTabs,      O::dgConfirmDelete,
            O::dgCancelOnExit, O::dgTitleClick,    O::dgTitleHotTrack};
}

// ------------------------------------------------------------------ options

TDBGridOptions TUxDBGrid::Options() const
{
    TDBGridOptions o = TCustomDBGrid::Options();
    o.Exclude(O::dgMultiSelect);
    o.Exclude(O::dgAlwaysShowEditor);
    if (FMultiSelect) o.Include(O::dgMultiSelect);
    if (FAlwaysShowEditor) o.Include(O::dgAlwaysShowEditor);
    return o;
}

void TUxDBGrid::SetOptions(TDBGridOptions value)
{
    TDBGridOptions platform = value;
    platform.Exclude(O::dgAlwaysShowEditor);
    platform.Exclude(O::dgMultiSelect);
    TCustomDBGrid::SetOptions(platform);
    FAlwaysShowEditor = value.Contains(O::dgAlwaysShowEditor);
    TGridOptions g = TCustomGrid::Options();
    if (FRowResize) g.Include(TGridOption::goRowSizing);
    else g.Exclude(TGridOption::goRowSizing);
    if (!value.Contains(O::dgColLines)) g.Exclude(TGridOption::goFixedVertLine);
    if (!value.Contains(O::dgRowLines)) g.Exclude(TGridOption::goFixedHorzLine);
    TCustomGrid::SetOptions(g);
    SetMultiSelect(value.Contains(O::dgMultiSelect));
}

void TUxDBGrid::SetMultiSelect(bool value)
{
    if (value == FMultiSelect) return;
    FMultiSelect = value;
    if (!value) SelectedRows()->Clear();
}

int TUxDBGrid::SelCount() const
{
    return FMultiSelect && DataLink()->Active() ? SelectedRows()->Count() : 0;
}

void TUxDBGrid::SetTitleButtons(bool value)
{
    if (value == FTitleButtons) return;
    FTitleButtons = value;
    Invalidate();
    SetOptions(Options());
}

// ------------------------------------------------------------------ colours

void TUxDBGrid::SetAlternateRowColor(TColor value)
{
    if (value == FAlternateRowColor) return;
    FAlternateRowColor = value;
    Invalidate();
}

void TUxDBGrid::SetAlternateRowFontColor(TColor value)
{
    if (value == FAlternateRowFontColor) return;
    FAlternateRowFontColor = value;
    Invalidate();
}

void TUxDBGrid::SetReadOnlyCellColor(TColor value)
{
    if (value == FReadOnlyCellColor) return;
    FReadOnlyCellColor = value;
    Invalidate();
}

bool TUxDBGrid::CanEditCell(db::TField* field)
{
    bool allow = true;
    if (OnCanEditCell) OnCanEditCell(this, field, allow);
    return allow;
}

void TUxDBGrid::GetCellParams(db::TField* field, TFont* font, bool highlight, TColor& background)
{
    const int fixedRows = FixedRows();
    if (FCurrentDrawRow < fixedRows || IsInFixedColumn(field)) {
        background = FixedColor();
    } else if ((FCurrentDrawRow + fixedRows) % 2 == 1) {
        if (FAlternateRowColor != clNone && FAlternateRowColor != Color()) background = FAlternateRowColor;
        if (FAlternateRowFontColor != clNone) font->SetColor(FAlternateRowFontColor);
    }
    if (highlight) {
        font->SetColor(clHighlightText);
        background = clHighlight;
    }
    if (OnGetCellParams) OnGetCellParams(this, field, font, background, highlight);
    else if (OnGetCellProps) OnGetCellProps(this, field, font, background);
}

bool TUxDBGrid::IsInFixedColumn(db::TField* field) const
{
    if (!field) return false;
    const int fixed = std::min(FixedCols(), Columns()->Count());
    for (int i = 0; i < fixed; ++i)
        if (Columns()->Items(i)->Field() == field) return true;
    return false;
}

void TUxDBGrid::DrawCell(int aCol, int aRow, const TRect& rect, TGridDrawState state)
{
    FCurrentDrawRow = aRow;
    Canvas()->SetFont(Font());
    const bool themed = ThemesInUse() && (aRow < TitleOffset() || aCol < IndicatorOffset());
    const int dataCol = RawToDataColumn(aCol);
    const bool titleCell = aRow < TitleOffset() && aCol >= IndicatorOffset() && dataCol < Columns()->Count();
    if (DrawSelectionMark(aCol, aRow, rect)) return;
    if (themed) {
        DrawThemedFixedCell(aCol, aRow, state, rect);
        DrawTitleArrow(aCol, aRow, rect);
    }
    if (titleCell && DataLink()->Active()) {
        DrawTitleCell(aCol, rect);
        return;
    }
    if (themed) {
        // The indicator's own marks and an inactive title are drawn by the themed cell.
        if (titleCell) {
            Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
            DrawTitleText(rect, Columns()->Items(dataCol));
            Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
        }
        return;
    }
    if (aRow < TitleOffset()) {
        // An inactive title: its colour (else the fixed colour) under the caption.
        TCanvas* c = Canvas();
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(titleCell ? Columns()->Items(dataCol)->Title()->Color() : FixedColor());
        c->FillRect(rect);
    }
    TUxExDBGrid::DrawCell(aCol, aRow, rect, state);
    DrawTitleArrow(aCol, aRow, rect);
}

void TUxDBGrid::DrawTitleArrow(int aCol, int aRow, const TRect& rect)
{
    if (aCol != 0 || aRow != 0 || !FTitleArrow || !Options().Contains(O::dgIndicator) ||
        !Options().Contains(O::dgTitles))
        return;
    if (TBitmap* b = GetDBGridBitmap(TUxDBGridBitmap::gpPopup))
        DrawMaskedBitmap(Canvas(), (rect.Left + rect.Right - b->Width()) / 2, (rect.Top + rect.Bottom - b->Height()) / 2,
                         b, 0xFFFFFF);
}

bool TUxDBGrid::DrawSelectionMark(int aCol, int aRow, const TRect& rect)
{
    if (aCol != 0 || !Options().Contains(O::dgIndicator) || aRow < TitleOffset() || !FMultiSelect ||
        !DataLink()->Active() || DataSource()->DataSet()->State() != db::TDataSetState::dsBrowse)
        return false;
    // Ask whether the row's record is selected by making it the active one.
    const int row = aRow - TitleOffset();
    const int active = DataLink()->ActiveRecord();
    if (row >= DataLink()->RecordCount()) return false;
    DataLink()->SetActiveRecord(row);
    const bool selected = SelectedRows()->CurrentRowSelected();
    DataLink()->SetActiveRecord(active);
    if (!selected) return false;
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(FixedColor());
    c->FillRect(rect);
    TBitmap* b = GetDBGridIndicatorBitmap(row == active ? 1 : 0);
    if (b) {
        int margin = Options().Contains(O::dgColLines) && Options().Contains(O::dgRowLines) ? 1 : 2;
        int x = rect.Right - margin - b->Width();
        int y = (rect.Top + rect.Bottom - b->Height()) / 2;
        DrawMaskedBitmap(c, x, y, b, clDefault);  // the marks lie on white
    }
    return true;
}

void TUxDBGrid::DrawColumnCell(const TRect& rect, int dataCol, TColumn* column, TGridDrawState state)
{
    TCanvas* c = Canvas();
    db::TField* field = column ? column->Field() : nullptr;
    bool selected = state.Contains(TGridDrawStateItem::gdSelected);
    bool highlight = selected;
    TColor background = column ? column->Color() : Color();
    c->SetFont(Font());
    GetCellParams(field, c->Font(), highlight, background);
    // Read-only cells take their own colour unless highlighted.
    bool editable = field && !field->ReadOnly() && !ReadOnly() && CanEditCell(field);
    TColor brush = background;
    if (!highlight && FReadOnlyCellColor != clDefault && !editable) brush = FReadOnlyCellColor;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(brush);
    c->FillRect(rect);
    DrawCellContent(rect, dataCol, column, state);
    TCustomDBGrid::DrawColumnCell(rect, dataCol, column, state);
}

void TUxDBGrid::DrawCellContent(const TRect& rect, int dataCol, TColumn* column, TGridDrawState state)
{
    TCanvas* c = Canvas();
    db::TField* field = column ? column->Field() : nullptr;
    TUxDBGridBitmap glyph = GetGlyphIndex(field);
    if (TBitmap* b = glyph != TUxDBGridBitmap::gpNone ? GetDBGridBitmap(glyph) : nullptr) {
        // The glyph replaces the text, centred; olive is its transparent colour.
        DrawMaskedBitmap(c, (rect.Left + rect.Right - b->Width()) / 2, (rect.Top + rect.Bottom - b->Height()) / 2, b,
                         0x008080);
        return;
    }
    if (!column) return;
    const db::TFieldType t = field ? field->DataType() : db::TFieldType::ftUnknown;
    using FT = db::TFieldType;
    const bool memo = t == FT::ftMemo || t == FT::ftFmtMemo || t == FT::ftWideMemo;
    const bool text = t == FT::ftString || t == FT::ftWideString || t == FT::ftFixedWideChar;
    if (text || (FShowMemos && memo)) {
        // Memo texts show whole (with WordWrap broken into lines).
        WriteCellText(rect, 2, 2, field->OnGetText ? field->DisplayText() : field->AsString(), column->Alignment(),
                      false, 0, false);
    } else if (!memo) {
        DefaultDrawColumnCell(rect, dataCol, column, state);
    }
}

// ------------------------------------------------------------- row heights

void TUxDBGrid::ResizeSelf()
{
    // The platform recomputes its visible rows on a resize.
    Resize();
}

void TUxDBGrid::SetAutoSizeRows(bool value)
{
    if (value == FAutoSizeRows) return;
    FAutoSizeRows = value;
    if (value) SetRowResize(false);
    LayoutChanged();
}

void TUxDBGrid::SetRowResize(bool value)
{
    if (FAutoSizeRows) value = false;
    if (value == FRowResize) return;
    FRowResize = value;
    SetOptions(Options());
}

void TUxDBGrid::SetRowsHeight(int value)
{
    if (value == DefaultRowHeight() || FAutoSizeRows) {
        FRowsHeight = DefaultRowHeight();
        return;
    }
    FRowsHeight = value;
    FApplyingHeights = true;
    SetDefaultRowHeight(value);
    if (Options().Contains(O::dgTitles) && RowCount() > 0) SetRowHeights(0, FTitleRowHeight);
    FApplyingHeights = false;
    ResizeSelf();
}

void TUxDBGrid::SetTitleRowHeight(int value)
{
    if (Options().Contains(O::dgTitles) && RowCount() > 0 && value != RowHeights(0) && !FAutoSizeRows) {
        FTitleRowHeight = value;
        FApplyingHeights = true;
        SetRowHeights(0, value);
        FApplyingHeights = false;
        ResizeSelf();
        return;
    }
    FTitleRowHeight = RowCount() > 0 ? RowHeights(0) : FTitleRowHeight;
}

void TUxDBGrid::RowHeightsChanged()
{
    if (!FApplyingHeights && !FAutoSizeRows) {
        FApplyingHeights = true;
        if (FRowsHeight != DefaultRowHeight()) SetDefaultRowHeight(FRowsHeight);
        if (Options().Contains(O::dgTitles) && RowCount() > 0 && RowHeights(0) != FTitleRowHeight)
            SetRowHeights(0, FTitleRowHeight);
        if (FRowResize) {
            int first = Options().Contains(O::dgTitles) ? 1 : 0;
            for (int r = first; r < RowCount(); ++r)
                if (RowHeights(r) != FRowsHeight) {
                    FRowsHeight = RowHeights(r);
                    SetDefaultRowHeight(FRowsHeight);
                    if (first == 1) SetRowHeights(0, FTitleRowHeight);
                    break;
                }
        }
        FApplyingHeights = false;
    }
    TUxExDBGrid::RowHeightsChanged();
}

// ---------------------------------------------------------- fixed columns

int TUxDBGrid::FixedCols() const
{
    if (DataLink()->Active()) return std::max(0, TCustomGrid::FixedCols() - IndicatorOffset());
    return FFixedCols;
}

void TUxDBGrid::SetFixedCols(int value)
{
    value = std::max(0, value);
    FFixedCols = value;
    ApplyFixedCols();
}

void TUxDBGrid::ApplyFixedCols()
{
    if (!DataLink()->Active() || ComponentState().Contains(rtl::TComponentStateItem::csLoading)) return;
    if (ColCount() <= IndicatorOffset() + 1) return;
    int fixed = std::min(FFixedCols + IndicatorOffset(), ColCount() - 1);
    if (fixed != TCustomGrid::FixedCols()) TCustomGrid::SetFixedCols(fixed);
    for (int c = IndicatorOffset(); c < fixed; ++c) SetTabStops(c, false);
    FFixedCols = fixed - IndicatorOffset();
    KeepColumnRightOfFixed();
}

void TUxDBGrid::KeepColumnRightOfFixed()
{
    if (!DataLink()->Active() || FixedCols() <= 0) return;
    const int first = FirstDataColumn();
    if (Col() < first) SetCol(first);
    else if (Col() > ColCount() - 1) SetCol(ColCount() - 1);
}

int TUxDBGrid::FirstDataColumn() const
{
    for (int c = TCustomGrid::FixedCols(); c < ColCount(); ++c)
        if (ColWidths(c) > 0) return c;
    return TCustomGrid::FixedCols();
}

void TUxDBGrid::UpdateTabStops(int limit)
{
    for (int i = 0; i < Columns()->Count(); ++i) SetTabStops(DataToRawColumn(i), limit == -1 || i < limit);
}

bool TUxDBGrid::TabStops(int aCol) const
{
    return aCol < 0 || aCol >= static_cast<int>(FTabStops.size()) || FTabStops[static_cast<std::size_t>(aCol)];
}

void TUxDBGrid::SetTabStops(int aCol, bool value)
{
    if (aCol < 0) return;
    if (aCol >= static_cast<int>(FTabStops.size())) FTabStops.resize(static_cast<std::size_t>(aCol) + 1, true);
    FTabStops[static_cast<std::size_t>(aCol)] = value;
}

// ------------------------------------------------------ sorting by titles

void TUxDBGrid::SetSortedField(const std::string& value)
{
    if (value == FSortedField) return;
    FSortedField = value;
    Invalidate();
}

void TUxDBGrid::SetSortMarker(TSortMarker value)
{
    if (value == FSortMarker) return;
    FSortMarker = value;
    Invalidate();
}

bool TUxDBGrid::IsSortedField(const std::string& fieldName) const
{
    return rtl::AnsiSameText(fieldName, FSortedField);
}

void TUxDBGrid::DoTitleClick(int aCol, db::TField* field)
{
    db::TDataSet* ds = DataSource() ? DataSource()->DataSet() : nullptr;
    rtl::TObject* indexDefs = nullptr;
    const rtl::TPropInfo* indexName = nullptr;
    if (FAutoSort && ds) {
        const rtl::TPropInfo* defs = rtl::GetPropInfo(ds, "IndexDefs");
        indexName = rtl::GetPropInfo(ds, "IndexName");
        if (defs && indexName && defs->Kind() == rtl::TTypeKind::tkClass) indexDefs = defs->GetObject(ds);
    }
    bool sortedByIndex = false;
    if (indexDefs && field) {
        // Index definitions: a collection of items with "Name", "Fields"
        // and "Options" (ixDescending).
        bool descending = FSortMarker == TSortMarker::smUp;
        std::string found;
        if (auto* defs = dynamic_cast<rtl::TCollection*>(indexDefs)) {
            for (int i = 0; i < defs->Count(); ++i) {
                rtl::TCollectionItem* def = defs->Items(i);
                std::string fields = rtl::VarToStr(rtl::GetPropValue(def, "Fields"));
                if (fields.find(field->FieldName()) == std::string::npos) continue;
                found = rtl::VarToStr(rtl::GetPropValue(def, "Name"));
                std::string options = rtl::VarToStr(rtl::GetPropValue(def, "Options", true));
                bool defDescending = options.find("ixDescending") != std::string::npos;
                if (defDescending != descending) {
                    descending = defDescending;
                    break;
                }
            }
        }
        if (!found.empty()) {
            sortedByIndex = true;
            SetSortedField(field->FieldName());
            SetSortMarker(descending ? TSortMarker::smUp : TSortMarker::smDown);
            try {
                indexName->SetStr(ds, found);
            } catch (...) {
                // The data set refused the index: the marker has changed anyway.
            }
        }
    }
    if (!sortedByIndex && FAutoSort && field) {
        if (field->FieldName() != FSortedField) {
            SetSortedField(field->FieldName());
            SetSortMarker(TSortMarker::smUp);
        } else if (FSortMarker == TSortMarker::smUp) {
            SetSortMarker(TSortMarker::smDown);
        } else if (FSortMarker == TSortMarker::smDown) {
            SetSortMarker(TSortMarker::smUp);
        }
    }
    if (OnTitleBtnClick) OnTitleBtnClick(this, aCol, field);
}

void TUxDBGrid::TitleClick(TColumn* column)
{
    FTitleColumn = column;
    TUxExDBGrid::TitleClick(column);
    // Title buttons sort when a tracked press is released over them (see
    // MouseUp); without them the owner's OnTitleClick is all that happens.
}

void TUxDBGrid::CellClick(TColumn* column)
{
    FTitleColumn = nullptr;
    TUxExDBGrid::CellClick(column);
    // A click on the Boolean field under edit toggles it.
    if (column && FBooleanFieldToEdit && column->Field() == FBooleanFieldToEdit)
        ToggleBooleanCell(TUxBooleanToggle::btToggle);
}

bool TUxDBGrid::TitleDblClick()
{
    if (!OnTitleBtnDblClick || !FTitleColumn) return false;
    OnTitleBtnDblClick(this, FTitleColumn->Index(), FTitleColumn->Field());
    return true;
}

void TUxDBGrid::DblClick()
{
    if (!TitleDblClick()) TUxExDBGrid::DblClick();
    FTitleColumn = nullptr;
}

// ------------------------------------------------------- layout and scroll

void TUxDBGrid::RegisterLayoutChangeLink(TUxDBGridLayoutChangeLink* link)
{
    if (link) FChangeLinks.push_back(link);
}

void TUxDBGrid::UnregisterLayoutChangeLink(TUxDBGridLayoutChangeLink* link)
{
    FChangeLinks.erase(std::remove(FChangeLinks.begin(), FChangeLinks.end(), link), FChangeLinks.end());
}

void TUxDBGrid::NotifyLayoutChange(TUxDBGridLayoutChangeKind kind)
{
    for (TUxDBGridLayoutChangeLink* link : std::vector<TUxDBGridLayoutChangeLink*>(FChangeLinks)) link->DoChange(this, kind);
    // An embedded control follows its cell.
    if (FCurrentControl && FCurrentControl->Visible()) PlaceControl(FCurrentControl, Col(), Row());
}

void TUxDBGrid::EnableScroll()
{
    if (FDisableCount == 0) return;
    if (--FDisableCount == 0 && DataLink()->Active()) Scroll(0);
}

void TUxDBGrid::Scroll(int distance)
{
    if (FDisableCount > 0) return;
    TUxExDBGrid::Scroll(distance);
    // The alternate colours belong to screen rows: after a scroll every row
    // may change colour.
    bool alternate = (FAlternateRowColor != clNone && FAlternateRowColor != Color()) ||
                     (FAlternateRowFontColor != clNone && FAlternateRowFontColor != Font()->Color());
    if (alternate) Invalidate();
}

void TUxDBGrid::LayoutChanged()
{
    TUxExDBGrid::LayoutChanged();
    AfterLayoutChange();
}

void TUxDBGrid::ColumnsLaidOut()
{
    TUxExDBGrid::ColumnsLaidOut();
    AfterLayoutChange();
}

void TUxDBGrid::AfterLayoutChange()
{
    // The steps below change columns again: they run once per change.
    if (FInLayoutChange) return;
    FInLayoutChange = true;
    try {
        ApplyFixedCols();
        ApplyMinColumnWidth();
        ApplyMaxColumnWidth();
        DoAutoSizeColumns();
        NotifyLayoutChange(TUxDBGridLayoutChangeKind::lcLayoutChanged);
    } catch (...) {
        FInLayoutChange = false;
        throw;
    }
    FInLayoutChange = false;
}

void TUxDBGrid::ColWidthsChanged()
{
    TUxExDBGrid::ColWidthsChanged();
    if (FInAutoSize) return;
    ApplyFixedCols();
    ApplyMinColumnWidth();
    ApplyMaxColumnWidth();
    DoAutoSizeColumns();
}

void TUxDBGrid::Resize()
{
    TUxExDBGrid::Resize();
    DoAutoSizeColumns();
    NotifyLayoutChange(TUxDBGridLayoutChangeKind::lcSizeChanged);
}

void TUxDBGrid::TopLeftChanged()
{
    TUxExDBGrid::TopLeftChanged();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
    NotifyLayoutChange(TUxDBGridLayoutChangeKind::lcTopLeftChanged);
}

// ------------------------------------------------------------ column widths

int TUxDBGrid::LastVisibleColumn() const
{
    for (int i = Columns()->Count() - 1; i >= 0; --i)
        if (Columns()->Items(i)->Visible()) return i;
    return -1;
}

void TUxDBGrid::SetMinColumnWidth(int value)
{
    if (value == FMinColumnWidth) return;
    FMinColumnWidth = value;
    ApplyMinColumnWidth();
}

void TUxDBGrid::SetMaxColumnWidth(int value)
{
    if (value == FMaxColumnWidth) return;
    FMaxColumnWidth = value;
    ApplyMaxColumnWidth();
}

void TUxDBGrid::SetAutoSizeColumns(bool value)
{
    if (value == FAutoSizeColumns) return;
    FAutoSizeColumns = value;
    DoAutoSizeColumns();
}

void TUxDBGrid::SetAutoSizeColumnIndex(int value)
{
    if (value == FAutoSizeColumnIndex) return;
    FAutoSizeColumnIndex = value;
    DoAutoSizeColumns();
}

void TUxDBGrid::ApplyMinColumnWidth()
{
    if (FMinColumnWidth <= 0 || FAutoSizeColumns) return;
    BeginLayout();
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* c = Columns()->Items(i);
        if (c->Visible() && c->Width() < FMinColumnWidth) c->SetWidth(FMinColumnWidth);
    }
    EndLayout();
}

void TUxDBGrid::ApplyMaxColumnWidth()
{
    if (FMaxColumnWidth <= 0 || FAutoSizeColumns) return;
    BeginLayout();
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* c = Columns()->Items(i);
        if (c->Visible() && c->Width() > FMaxColumnWidth) c->SetWidth(FMaxColumnWidth);
    }
    EndLayout();
}

void TUxDBGrid::DoAutoSizeColumns()
{
    if (!FAutoSizeColumns || FInAutoSize || Columns()->Count() == 0) return;
    FInAutoSize = true;
    int left = LeftCol();
    const int lineWidth = Options().Contains(O::dgColLines) ? GridLineWidth() : 0;
    int w = ClientWidth();
    if (Options().Contains(O::dgIndicator)) w -= lineWidth + 11;
    const bool locked = TCustomGrid::FixedCols() <= IndicatorOffset();
    if (locked) BeginLayout();
    const int last = LastVisibleColumn();
    if (FAutoSizeColumnIndex == -1) {
        int s = 0;
        for (int i = 0; i < Columns()->Count(); ++i)
            if (Columns()->Items(i)->Visible()) {
                s += Columns()->Items(i)->Width();
                w -= lineWidth;
            }
        double f = static_cast<double>(w) / (s == 0 ? 1 : s);
        if (f != 1.0) {
            for (int i = 0; i < Columns()->Count(); ++i) {
                TColumn* c = Columns()->Items(i);
                if (!c->Visible()) continue;
                if (i == last) {
                    c->SetWidth(w);
                } else {
                    int nw = std::max(1, RoundEven(c->Width() * f));
                    c->SetWidth(nw);
                    w -= nw;
                }
            }
        }
    } else if (FAutoSizeColumnIndex == -2 || (FAutoSizeColumnIndex >= 0 && FAutoSizeColumnIndex <= last)) {
        int target = FAutoSizeColumnIndex == -2 ? last : FAutoSizeColumnIndex;
        int s = 0;
        for (int i = 0; i < Columns()->Count(); ++i) {
            TColumn* c = Columns()->Items(i);
            if (c->Visible() && i != target && (FAutoSizeColumnIndex != -2 || i < last)) s += c->Width() + lineWidth;
        }
        if (target >= 0 && w - s - lineWidth > 0) Columns()->Items(target)->SetWidth(w - s - lineWidth);
    }
    if (locked) EndLayout();
    if (left != LeftCol() && left < ColCount()) SetLeftCol(left);
    FInAutoSize = false;
}

void TUxDBGrid::InitializeColumnsWidth(int minWidth, int maxWidth, const std::vector<int>& widths, bool checkTitles)
{
    bool wasAuto = FAutoSizeColumns;
    FAutoSizeColumns = false;
    bool collectMin = minWidth < 0, collectMax = maxWidth < 0;
    if (minWidth > 0) FMinColumnWidth = minWidth;
    if (maxWidth > 0) FMaxColumnWidth = maxWidth;
    if (collectMin && !widths.empty()) FMinColumnWidth = widths.front();
    if (collectMax && !widths.empty()) FMaxColumnWidth = widths.front();
    BeginLayout();
    size_t k = 0;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* c = Columns()->Items(i);
        if (!c->Visible()) continue;
        int v = widths.empty() ? 0 : widths[std::min(k, widths.size() - 1)];
        ++k;
        if (collectMin && v > 0) FMinColumnWidth = std::min(FMinColumnWidth, v);
        if (collectMax && v > 0) FMaxColumnWidth = std::max(FMaxColumnWidth, v);
        int width;
        if (v > 0) {
            width = v;
            if (checkTitles && Options().Contains(O::dgTitles)) {
                Canvas()->SetFont(TitleFont());
                width = std::max(width, Canvas()->TextWidth(c->Title()->Caption()) + 4);
            }
        } else {
            width = DefaultColumnWidth(c->Field());
        }
        if (!collectMin && FMinColumnWidth > 0) width = std::max(width, FMinColumnWidth);
        if (!collectMax && FMaxColumnWidth > 0) width = std::min(width, FMaxColumnWidth);
        c->SetWidth(width);
    }
    EndLayout();
    FAutoSizeColumns = wasAuto;
    DoAutoSizeColumns();
}

// ---------------------------------------------------------- legacy streams

void TUxDBGrid::ReadLegacyProperty(const std::string& name, bool value)
{
    if (rtl::SameText(name, "AlternRowColor")) SetAlternateRowColor(value ? 0xCCCCCC : clNone);
    else if (rtl::SameText(name, "AlternRowFontColor")) SetAlternateRowFontColor(value ? clBlack : clNone);
    else if (rtl::SameText(name, "PostOnEnter")) FPostOnEnterKey = value;
    else if (rtl::SameText(name, "OptionsMigrated")) FOptionsMigrated = value;
}

void TUxDBGrid::DefineProperties(rtl::TFiler& filer)
{
    TUxExDBGrid::DefineProperties(filer);
    for (const char* name : {"AlternRowColor", "AlternRowFontColor", "PostOnEnter"}) {
        std::string n = name;
        filer.DefineProperty(n, [this, n](rtl::TReader& r) { ReadLegacyProperty(n, r.ReadBoolean()); }, nullptr,
                             false);
    }
    const TDBGridOptions o = Options();
    filer.DefineProperty(
        "OptionsMigrated", [this](rtl::TReader& r) { FOptionsMigrated = r.ReadBoolean(); },
        [](rtl::TWriter& w) { w.WriteBoolean(true); },
        !o.Contains(O::dgTitleClick) && !o.Contains(O::dgTitleHotTrack));
}

void TUxDBGrid::Loaded()
{
    TUxExDBGrid::Loaded();
    // Controls embedded over cells start hidden.
    for (int i = 0; i < FControls->Count(); ++i)
        if (Owner())
            if (auto* c = dynamic_cast<TControl*>(Owner()->FindComponent(FControls->Items(i)->ControlName())))
                c->SetVisible(false);
    TDBGridOptions o = Options();
    if (!FOptionsMigrated && !o.Contains(O::dgTitleClick) && !o.Contains(O::dgTitleHotTrack)) {
        FOptionsMigrated = true;
        o += TDBGridOptions{O::dgTitleClick, O::dgTitleHotTrack};
        SetOptions(o);
    }
    DoAutoSizeColumns();
}

} // namespace dbgrids
