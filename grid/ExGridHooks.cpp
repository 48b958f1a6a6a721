// ExGrid: the per-cell questions the grid asks while painting, editing and
// navigating.  Each applies the grid's own rule first and then fires its
// event, which may change the answer.
#include "grid/ExGrid.h"

#include "platform/rtl/Strings.h"

namespace grid {

void TExStringGrid::GetDefaultCellProperties(int aCol, int aRow, gui::TFont& font, gui::TBrush& brush,
                                             TColor& colorTo, TColor& mirrorColor, TColor& mirrorColorTo,
                                             TAlignment& ha, TVAlignment& va, bool& ww,
                                             TCellGradientDirection& gd)
{
    TBaseGrid::GetDefaultCellProperties(aCol, aRow, font, brush, colorTo, mirrorColor, mirrorColorTo, ha, va,
                                        ww, gd);
    gui::TGridDrawState state;
    GetVisualProperties(aCol, aRow, state, false, false, true, brush, colorTo, mirrorColor, mirrorColorTo,
                        font, ha, va, ww, gd);
    // A new record never freezes a background that comes from fixed-cell
    // painting, bands, a gradient background or a disjunct selection.
    const bool gradientBack = FBackGround->Display() == TBackGroundDisplay::bdGradientHorz ||
                              FBackGround->Display() == TBackGroundDisplay::bdGradientVert;
    const bool disjunctSelected = state.Contains(gui::TGridDrawStateItem::gdSelected);
    if (IsFixed(aCol, aRow) || FBands->Active() || gradientBack || disjunctSelected) {
        brush.SetColor(gui::clNone);
        colorTo = gui::clNone;
    }
}

void TExStringGrid::CanEditCell(int aCol, int aRow, bool& canEdit)
{
    if (OnCanEditCell) OnCanEditCell(this, aRow, aCol, canEdit);
}

void TExStringGrid::SearchFooterAction(const std::string& value, int aCol, int aRow, TSearchAction action)
{
    if (OnSearchFooterAction) OnSearchFooterAction(this, value, aCol, aRow, action);
}

void TExStringGrid::GetCellHint(int aCol, int aRow, std::string& hint, std::u16string& wideHint)
{
    if (OnGridHint) {
        OnGridHint(this, aRow, aCol, hint);
        FOfficeHint->SetNotes(hint);
    }
    if (OnGridWideHint) {
        OnGridWideHint(this, aRow, aCol, wideHint);
        if (!wideHint.empty()) hint = gridbase::EncodePrefixedWideText(rtl::UTF16ToUTF8(wideHint));
    }
    if (OnOfficeHint) OnOfficeHint(this, aCol, aRow, FOfficeHint.get());
}

void TExStringGrid::GetCellColor(int aCol, int aRow, TGridDrawState state, gui::TBrush* brush, gui::TFont* font)
{
    if (FActiveCellShow) {
        const int d = DisplColIndex(aCol);
        const int fixedCols = TBaseGrid::FixedCols(), fixedRows = TBaseGrid::FixedRows();
        if ((aRow == Row() && fixedCols > 0 && d == fixedCols - 1) ||
            (d == Col() && fixedRows > 0 && aRow == fixedRows - 1)) {
            font->Assign(FActiveCellFont.get());
            brush->SetColor(FActiveCellColor);
        }
    }
    if (const TCellProperties* p = FindCellProperties(aCol, aRow)) {
        switch (GetCellType(aCol, aRow)) {
        case TCellType::ctIcon:
        case TCellType::ctNone:
        case TCellType::ctImageList:
        case TCellType::ctEmpty:
        case TCellType::ctImages:
        case TCellType::ctComment:
            if (p->BrushColor() != gui::clNone) brush->SetColor(p->BrushColor());
            break;
        default:
            break;  // cells with other graphics paint their background themselves
        }
        if (p->FontColor() != gui::clNone) font->SetColor(p->FontColor());
        if (!p->FontStyle().Empty()) font->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) font->SetSize(p->FontSize());
        if (!p->FontName().empty()) font->SetName(p->FontName());
    }
    if (OnGetCellColor) OnGetCellColor(this, aRow, aCol, state, brush, font);
}

void TExStringGrid::GetCellPrintColor(int aCol, int aRow, TGridDrawState state, gui::TBrush* brush,
                                      gui::TFont* font)
{
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, aRow, aCol, state, brush, font);
}

void TExStringGrid::GetCellBorder(int aCol, int aRow, gui::TPen* pen, TCellBorders& borders)
{
    if (FGrouping->HeaderUnderline() && IsNode(aRow) && aCol > 0) {
        borders = {TCellBorder::cbBottom};
        pen->SetColor(FGrouping->HeaderLineColor());
        pen->SetWidth(FGrouping->HeaderLineWidth());
    }
    if (FGrouping->SummaryLine() && IsSummary(aRow) && aCol > 0) {
        borders = {TCellBorder::cbTop};
        pen->SetColor(FGrouping->SummaryLineColor());
        pen->SetWidth(FGrouping->SummaryLineWidth());
    }
    if (OnGetCellBorder) OnGetCellBorder(this, aRow, aCol, pen, borders);
}

void TExStringGrid::GetCellPrintBorder(int aCol, int aRow, gui::TPen* pen, TCellBorders& borders)
{
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, aRow, aCol, pen, borders);
}

void TExStringGrid::QueryCellAlignment(int aCol, int aRow, TAlignment& hAlign, TVAlignment& vAlign)
{
    if (aCol == 0 && FMouseActions->HotmailRowSelect()) hAlign = TAlignment::taCenter;
    if (OnGetAlignment) OnGetAlignment(this, aRow, aCol, hAlign, vAlign);
}

void TExStringGrid::GetColumnFormat(int aCol, TSortStyle& style, std::string& prefix, std::string& suffix)
{
    if (OnGetFormat) OnGetFormat(this, aCol, style, prefix, suffix);
}

void TExStringGrid::GetCellEditorType(int aCol, int aRow, TEditorType& editor)
{
    if (OnGetEditorType) OnGetEditorType(this, aCol, aRow, editor);
}

void TExStringGrid::ResolveEditorType(int aCol, int aRow, TEditorType& editor)
{
    if (OnGetEditorType) OnGetEditorType(this, aCol, aRow, editor);
}

void TExStringGrid::IsFixedCell(int aCol, int aRow, bool& isFixed)
{
    isFixed = isFixed ||
              (FFixedRowAlways && aRow <= FFixedRowsMin && RowCount() == FFixedRowsMin) ||
              (FFixedColAlways && aCol < FFixedColsMin && ColCount() == FFixedColsMin) ||
              aCol < TBaseGrid::FixedCols() || aRow < TBaseGrid::FixedRows();
    if (!isFixed && OnIsFixedCell) OnIsFixedCell(this, aRow, aCol, isFixed);
}

bool TExStringGrid::IsFixed(int aCol, int aRow) const
{
    bool fixed = false;
    const_cast<TExStringGrid*>(this)->IsFixedCell(aCol, aRow, fixed);
    return fixed;
}

void TExStringGrid::CanEditBaseCell(int aCol, int aRow, bool& canEdit)
{
    const gui::TPoint base = BaseCell(aCol, aRow);
    if (const TCellProperties* p = FindCellProperties(base.X, base.Y); p && canEdit) {
        canEdit = !p->ReadOnly();
        if (!(Options().Contains(gui::TGridOption::goEditing) || FEditDisable ||
              FMouseActions->RangeSelectAndEdit()))
            canEdit = false;
    }
    CanEditCell(base.X, base.Y, canEdit);
}

void TExStringGrid::IsPasswordCell(int aCol, int aRow, bool& isPassword)
{
    if (OnIsPasswordCell) OnIsPasswordCell(this, aRow, aCol, isPassword);
}

void TExStringGrid::GetCellWordWrap(int aCol, int aRow, bool& wordWrap)
{
    if (OnGetWordWrap) OnGetWordWrap(this, aCol, aRow, wordWrap);
}

bool TExStringGrid::HasCombo(int aCol, int aRow)
{
    bool has = false;
    if (OnHasComboBox) {
        OnHasComboBox(this, aCol, aRow, has);
        return has;
    }
    if (FControlLook->DropDownAlwaysVisible()) {
        TEditorType ed = DefaultEditor();
        ResolveEditorType(aCol, aRow, ed);
        return ed == TEditorType::edComboEdit || ed == TEditorType::edComboList ||
               ed == TEditorType::edUniComboEdit || ed == TEditorType::edUniComboList;
    }
    return false;
}

bool TExStringGrid::HasSpinEdit(int aCol, int aRow)
{
    if (aCol < TBaseGrid::FixedCols() || aRow < TBaseGrid::FixedRows()) return false;
    bool has = false;
    if (OnHasSpinEdit) {
        OnHasSpinEdit(this, aCol, aRow, has);
        return has;
    }
    if (FControlLook->SpinButtonsAlwaysVisible()) {
        TEditorType ed = DefaultEditor();
        GetCellEditorType(aCol, aRow, ed);
        return ed == TEditorType::edSpinEdit || ed == TEditorType::edFloatSpinEdit ||
               ed == TEditorType::edTimeSpinEdit || ed == TEditorType::edDateSpinEdit;
    }
    return false;
}

void TExStringGrid::GetCheckTrue(int aCol, int aRow, std::string& value)
{
    value = CheckTrue();
    if (OnGetCheckTrue) OnGetCheckTrue(this, aCol, aRow, value);
}

void TExStringGrid::GetCheckFalse(int aCol, int aRow, std::string& value)
{
    value = CheckFalse();
    if (OnGetCheckFalse) OnGetCheckFalse(this, aCol, aRow, value);
}

bool TExStringGrid::GetColumnFilter(int aCol)
{
    FFilterList->Clear();
    if (OnGetColumnFilter) OnGetColumnFilter(this, aCol, FFilterList.get());
    return FFilterList->Count() > 0;
}

} // namespace grid
