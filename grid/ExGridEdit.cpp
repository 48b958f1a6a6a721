// ExGrid: editing: which editor a cell gets and the editor-text bridge,
// which cell may become current, typed cell values (integers and floats)
// and the unit editor's split of number and unit.
#include "grid/ExGrid.h"
#include "grid/ExInplaceEdit.h"
#include "gridbase/ExUtil.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace grid {

int TExStringGrid::GetCellInteger(int aCol, int aRow)
{
    std::string s = GetCellText(aCol, aRow);
    if (s.empty() || s == "-") s = "0";
    int32_t value = 0;
    if (!rtl::TryStrToInt(s, value)) throw ZEziDoroZezuz("Cell does not contain integer value");
    return value;
}

void TExStringGrid::SetCellInteger(int aCol, int aRow, int value)
{
    SetCellText(aCol, aRow, std::to_string(value));
    if (FNumHidden > 0) RepaintCell(RealToDisplayCol(aCol), aRow);
}

double TExStringGrid::GetCellFloat(int aCol, int aRow)
{
    std::string s = gridbase::ExtractNumberText(GetCellText(aCol, aRow));
    if (s.empty() || s == "-") s = "0";
    double value = 0;
    if (!rtl::TryStrToFloat(s, value)) throw ZEziDoroZezuz("Cell does not contain a float value");
    return value;
}

void TExStringGrid::SetCellFloat(int aCol, int aRow, double value)
{
    SetCellText(aCol, aRow, rtl::Format(rtl::FormatSettings(), FloatFormat(), {value}));
}

} // namespace grid

// ----------------------------------------------------------- editor choice

namespace grid {

bool TExStringGrid::IsTextEditorKind(TEditorType t)
{
    switch (t) {
    case TEditorType::edNormal:
    case TEditorType::edNumeric:
    case TEditorType::edPositiveNumeric:
    case TEditorType::edFloat:
    case TEditorType::edCapital:
    case TEditorType::edMixedCase:
    case TEditorType::edPassword:
    case TEditorType::edLowerCase:
    case TEditorType::edUpperCase: return true;
    default: return false;
    }
}

bool TExStringGrid::EditMode() const
{
    if (!FEditMode || FEditCell.X != Col() || FEditCell.Y != Row()) return false;
    if (FSpecialEditor || !IsTextEditorKind(FEditControl)) return true;
    const gui::TInplaceEdit* ed = InplaceEditor();
    return ed && ed->Visible();
}

bool TExStringGrid::CanEditShow() const { return const_cast<TExStringGrid*>(this)->CanShowInplaceEditor(); }

bool TExStringGrid::CanShowInplaceEditor()
{
    if (FValidating) return false;
    bool answer = TBaseGrid::CanEditShow();
    if (Designing()) return answer;
    // An editor left open on another cell (or closed since) no longer counts.
    if (!EditMode()) FEditMode = false;
    // A special editor open on the cell is the cell's editor.
    if (FEditMode && FSpecialEditor) return false;
    const gui::TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (answer && !FEditMode && HasClickControl(b.X, b.Y)) return false;
    // A cell that may not be edited opens no editor.
    if (answer && !FEditMode && !IsEditable(b.X, b.Y)) return false;
    if (answer && !FEditMode) {
        FNoEditChange = true;
        FCellCache = GetCellText(RealColIndex(Col()), Row());
        FEditControl = DefaultEditor();
        ResolveEditorType(b.X, b.Y, FEditControl);
        if (FEditControl == TEditorType::edNone) return false;
        FEditMode = true;
        FEditCell = {Col(), Row()};
        RememberCellValue(Col(), Row());
        if (!IsTextEditorKind(FEditControl)) {
            // The special editors open their own controls; a type without
            // one opens nothing while the grid still counts as editing.
            FEditing = true;
            FEntered = true;
            ShowSpecialEditor(RealToDisplayCol(b.X), b.Y);
            return false;
        }
    }
    if (answer) {
        FEntered = true;
        FEditing = true;
    }
    return answer;
}

std::string TExStringGrid::GetEditText(int aCol, int aRow)
{
    FNoEditChange = true;
    // A right-aligned cell is edited right-aligned.
    if (TExInplaceEdit* ed = NormalEdit())
        ed->SetVAlign(static_cast<TAlignment>(ResolveCellAlignment(RealColIndex(aCol), aRow) & 0xFF) ==
                      TAlignment::taRightJustify);
    const gui::TPoint b = BaseCell(RealColIndex(aCol), aRow);
    std::string text = TBaseGrid::GetEditText(b.X, b.Y);
    if (!EditWithTags()) text = htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdGrid, text);
    return text;
}

void TExStringGrid::SetEditText(int aCol, int aRow, const std::string& value)
{
    const gui::TPoint b = BaseCell(RealColIndex(aCol), aRow);
    // A masked editor shows literals and blanks the cell may not keep.
    const auto* ed = dynamic_cast<const TExInplaceEdit*>(InplaceEditor());
    if (ed && ed->Visible() && ed->HasMask()) {
        TBaseGrid::SetEditText(b.X, b.Y, ed->StoredText(value));
        return;
    }
    TBaseGrid::SetEditText(b.X, b.Y, value);
}

gui::TInplaceEdit* TExStringGrid::CreateEditor() { return new TExInplaceEdit(this); }

void TExStringGrid::RestoreCellFromCache()
{
    SetCellText(RealColIndex(Col()), Row(), FCellCache);
    RepaintCell(Col(), Row());
}

bool TExStringGrid::EditorWantsTab() const
{
    return Options().Contains(gui::TGridOption::goTabs) || OnCellValidate || OnCellValidateWide;
}

void TExStringGrid::EndEditing()
{
    FEditing = false;
    FEditMode = false;
    FEntered = false;
}

} // namespace grid

// ------------------------------------------------------- the current cell

namespace grid {

bool TExStringGrid::SelectCell(int aCol, int aRow)
{
    // A move the grid makes itself (Tab to the next row) asks no one.
    if (FForceSel || !Parent()) return true;
    // The floating footer's row never becomes current.
    if (FFloatingFooter->Visible() && aRow == RowCount() - 1 && aRow > TBaseGrid::FixedRows()) return false;
    // The cell comes into view above the search footer.
    if (SearchFooterShown() && aCol >= 0 && aRow >= 0) KeepCellAboveSearchFooter(aCol, aRow);
    if (aCol < 0 || aRow < 0) return false;
    // A covered cell of a merged area: its base cell becomes current instead.
    if (!Options().Contains(gui::TGridOption::goRangeSelect)) {
        const gui::TPoint base = BaseCell(RealColIndex(aCol), aRow);
        const int baseCol = RealToDisplayCol(base.X);
        if (baseCol != aCol || base.Y != aRow) {
            MoveColRow(baseCol, base.Y, true, true);
            RepaintCell(baseCol, base.Y);
            // DirectEdit (or an always-open combo) edits the area at once.
            if (FMouseActions->DirectEdit() || (FControlLook->DropDownAlwaysVisible() && HasCombo(base.X, base.Y)))
                ShowEditor();
            return false;
        }
    }
    bool allow = true;
    if (aRow != Row() && OnRowChanging) OnRowChanging(this, Row(), aRow, allow);
    if (aCol != Col() && OnColChanging) OnColChanging(this, Col(), aCol, allow);
    if ((aRow != Row() || aCol != Col()) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, Row(), Col(), aRow, aCol, allow);
    // Column 0 of a grid with nodes holds the node buttons.
    if (!allow || (aCol == 0 && FNumNodes > 0 && !Options().Contains(gui::TGridOption::goRowSelect))) return false;
    SwitchEditingForCell(aCol, aRow);
    if (IsFixed(aCol, aRow)) return false;
    // Leaving a cell whose special editor was open: its value is validated
    // first (as wide text when the cell holds wide text), and a refusal
    // keeps the current cell (and reopens the editor).
    const gui::TInplaceEdit* ed = InplaceEditor();
    if (FEditing && !IsTextEditorKind(FEditControl) && !(ed && ed->Focused()) && (aCol != Col() || aRow != Row())) {
        const int leftCol = RealColIndex(Col());
        const bool valid = IsWideCell(leftCol, Row()) ? ValidateCellWide(GetCellTextWide(leftCol, Row()))
                                                      : ValidateCell(GetCellText(leftCol, Row()));
        if (!valid) return false;
    }
    const gui::TGridRect oldSelection = Selection();
    const int oldCol = Col(), oldRow = Row();
    const bool answer = TBaseGrid::SelectCell(aCol, aRow);
    if (answer) FCellCache = GetCellText(RealColIndex(aCol), aRow);
    if (answer) CellMoveAccepted(oldCol, oldRow, aCol, aRow, oldSelection);
    return answer;
}

// Editing follows the cell that is about to become current: goEditing is
// added for a cell that may be edited and removed (FEditDisable
// remembering that the grid edits) for one that may not.  A cell with a
// click control keeps goEditing on for its control when it may be edited.
void TExStringGrid::SwitchEditingForCell(int aCol, int aRow)
{
    using gui::TGridOption;
    const int rCol = RealColIndex(aCol);
    const gui::TPoint b = BaseCell(rCol, aRow);
    const bool editing = Options().Contains(TGridOption::goEditing);
    const bool rangeEdit = FMouseActions->RangeSelectAndEdit();
    if (!editing && !FEditDisable && !rangeEdit) return;  // a grid that does not edit
    if (HasClickControl(b.X, b.Y)) {
        bool canEdit = true;
        CanEditBaseCell(rCol, aRow, canEdit);
        FEditDisable = !canEdit && (editing || rangeEdit);
        if (!editing && !Options().Contains(TGridOption::goRowSelect) && canEdit) {
            FEditChange = true;
            SetOptions(Options() + gui::TGridOptions{TGridOption::goEditing});
        }
        return;
    }
    bool canEdit = editing || FEditDisable;
    CanEditBaseCell(rCol, aRow, canEdit);
    if (FMouseActions->EditOnDblClickOnly()) canEdit = false;
    // An editor still open on the cell being left closes (its text kept).
    const bool leaving = aCol != Col() || aRow != Row();
    if (canEdit) {
        FEditDisable = false;
        if (!editing) {
            FEditChange = true;
            if (!FEditing) RememberCellValue(aCol, aRow);
            gui::TGridOptions o = Options();
            if (o.Contains(TGridOption::goRowSelect) && rangeEdit) o.Exclude(TGridOption::goRowSelect);
            o.Include(TGridOption::goEditing);
            SetOptions(o);
        }
        if (FEditing && leaving) HideInplaceEdit();
        return;
    }
    if (FEditing && leaving) HideInplaceEdit();
    if (editing) {
        FEditDisable = true;
        FEditChange = true;
        SetOptions(Options() - gui::TGridOptions{TGridOption::goEditing});
    }
}

} // namespace grid

namespace grid {

void TExStringGrid::SplitUnitText(const std::string& text, std::string& number, std::string& unit)
{
    number.clear();
    unit.clear();
    const char thousand = rtl::FormatSettings().ThousandSeparator;
    const char decimal = rtl::FormatSettings().DecimalSeparator;
    const std::u16string t = rtl::UTF8ToUTF16(text);
    for (char16_t ch : t) {
        const bool numeric = (ch >= '0' && ch <= '9') || ch == '-' || ch == static_cast<unsigned char>(thousand) ||
                             ch == static_cast<unsigned char>(decimal);
        (numeric ? number : unit) += rtl::UTF16ToUTF8(std::u16string(1, ch));
    }
}

} // namespace grid
