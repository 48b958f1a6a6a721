// ExGrid: the keyboard side of cell controls: Space flips a check box,
// moves a radio group on or switches a radio button on; Enter and Space
// click a cell button.
#include "grid/ExGrid.h"

namespace grid {

void TExStringGrid::CellControlKey(uint16_t key)
{
    const int row = Row();
    const int rc = RealColIndex(Col());
    if (!HasClickControl(rc, row) && !HasButton(rc, row)) return;
    bool canEdit = Options().Contains(gui::TGridOption::goEditing) || FMouseActions->RangeSelectAndEdit();
    CanEditBaseCell(rc, row, canEdit);
    const bool space = key == gui::VK_SPACE;
    if ((canEdit || ControlLook()->CheckAlwaysActive()) && space && HasCheckBox(rc, row)) {
        ToggleCellCheck(rc, row, true);
        if (ShowModified()->Enabled()) {
            SetRowModified(row, true);
            RepaintCell(0, row);
        }
        bool state = false;
        GetCheckBoxState(rc, DisplayToRealRow(row), state);
        if (OnCheckBoxClick) OnCheckBoxClick(this, rc, row, state);
    }
    if ((canEdit || ControlLook()->RadioAlwaysActive()) && space && IsRadio(rc, row)) {
        ToggleRadio(rc, row, true);
        int idx = -1;
        GetRadioIdx(rc, row, idx);
        if (OnRadioClick) OnRadioClick(this, rc, row, idx);
    }
    if ((canEdit || ControlLook()->RadioAlwaysActive()) && space && HasRadioButton(rc, row)) {
        SetRadioButtonColumnIndex(rc, row);
        if (OnRadioButtonClick) OnRadioButtonClick(this, rc, row);
    }
    if (canEdit && HasButton(rc, row) && OnButtonClick) OnButtonClick(this, rc, row);
    RepaintCell(Col(), row);
}

} // namespace grid
