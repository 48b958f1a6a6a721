// ExGrid: cell controls operated by key and by mouse: Space or a click
// flips a check box, chooses in a radio group or switches a radio button
// on; Enter, Space or a click (press and release) clicks a cell button.
#include "grid/ExGrid.h"
#include "grid/ExGridSettings.h"

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

bool TExStringGrid::CellControlPress(int c, int r, int x, int y)
{
    const int rc = RealColIndex(c);
    const gui::TRect R = CellRect(c, r);
    if (!Designing() && IsRadio(rc, r) && (IsEditable(rc, r) || ControlLook()->RadioAlwaysActive())) {
        HideInplaceEdit();
        ClickRadioGroup(rc, r, x - R.Left, y - R.Top);
        return true;
    }
    if (!HasButton(rc, r)) return false;
    HideInplaceEdit();
    if (!IsFixed(c, r)) MoveColRow(c, r, true, true);
    gui::TRect b;
    GetCellControlRect(c, r, b);
    if (!(x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom)) return false;
    // Held down until the release, which clicks it.
    PushButton(c, r, true);
    FPushedCellButton = {c, r};
    gui::SetCaptureControl(this);
    if (OnClickCell) OnClickCell(this, r, c);
    return true;
}

bool TExStringGrid::CellButtonRelease(int c, int r, int x, int y)
{
    const gui::TPoint p = FPushedCellButton;
    FPushedCellButton = {-1, -1};
    gui::SetCaptureControl(nullptr);
    // The button comes up whatever the release; it clicks when released on
    // a cell of a grid that may operate it.
    const bool fixed = p.X < TBaseGrid::FixedCols() || p.Y < TBaseGrid::FixedRows();
    // A fixed cell pressed in as a button holds no button graphic to raise
    // (its check box, say, keeps its state).
    if (!IsNode(p.Y) && HasButton(RealColIndex(p.X), p.Y)) PushButton(p.X, p.Y, false);
    if (c >= 0 && r >= 0 &&
        (ControlLook()->NoDisabledButtonLook() || IsEditable(RealColIndex(c), r) || fixed) && OnButtonClick)
        OnButtonClick(this, RealColIndex(p.X), p.Y);
    if (c < 0 || r < 0 || !HasButton(RealColIndex(c), r)) return false;
    gui::TRect b;
    GetCellControlRect(c, r, b);
    return x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom;
}

bool TExStringGrid::CellCheckPress(int c, int r, int x, int y, gui::TShiftState shift)
{
    const int rc = RealColIndex(c);
    bool canEdit = Options().Contains(gui::TGridOption::goEditing) || FMouseActions->RangeSelectAndEdit();
    CanEditBaseCell(rc, r, canEdit);
    const bool check = HasCheckBox(rc, r), radio = HasRadioButton(rc, r);
    const bool hotmail = rc == 0 && FMouseActions->HotmailRowSelect();
    if (!(canEdit || ControlLook()->CheckAlwaysActive() || hotmail) || !(check || radio) ||
        !IsInCheckBox(rc, r, x, y))
        return false;
    HideInplaceEdit();
    if (CanFocus()) SetFocus();
    if (radio) {
        ToggleCellRadioButton(rc, r, true);
        if (OnRadioButtonClick) OnRadioButtonClick(this, c, r);
    } else {
        ToggleCellCheck(rc, r, true);
    }
    if (ShowModified()->Enabled()) {
        SetRowModified(r, true);
        RepaintCell(0, r);
    }
    bool state = false;
    GetCheckBoxState(rc, DisplayToRealRow(r), state);
    if (!FNavigation->AlwaysEdit()) MoveColRow(c, r, true, true);
    if (check && OnCheckBoxClick) OnCheckBoxClick(this, c, r, state);
    if (HideFocusRect()) RepaintCell(c, r);
    if (check && r < TBaseGrid::FixedRows() && FMouseActions->CheckAllCheck()) {
        if (state) CheckAll(rc);
        else UnCheckAll(rc);
    }
    if (OnMouseDown) OnMouseDown(this, gui::TMouseButton::mbLeft, shift, x, y);
    Click();
    return true;
}

void TExStringGrid::ClickRadioGroup(int aCol, int aRow, int x, int y)
{
    const gui::TPoint base = BaseCell(aCol, aRow);
    TCellGraphic* g = GetCellGraphic(base.X, base.Y);
    if (!g || g->CellType() != TCellType::ctRadio) return;
    const int dCol = RealToDisplayCol(base.X);
    if (!IsFixed(dCol, base.Y)) MoveColRow(dCol, base.Y, true, true);
    const auto* captions = dynamic_cast<const rtl::TStringList*>(g->CellBitmap());
    const int count = captions ? captions->Count() : 0;
    gui::TCanvas* cv = Canvas();
    TGridDrawState st;
    GetFontProperties(base.X, dCol, true, *cv->Brush(), *cv->Font(), st, base.Y);
    const TControlLook* cl = ControlLook();
    const int size = static_cast<int>(cl->ControlStyle()) > static_cast<int>(TControlStyle::csFlat) ? 16 : cl->RadioSize();
    int chosen = -1;
    if (g->CellBoolean()) {
        int d = 0;
        for (int i = 0; i < count && chosen < 0; ++i) {
            const int end = d + cv->TextWidth(captions->Strings(i)) + size;
            if (d < x && x < end) chosen = i;
            d = end;
        }
    } else {
        const int h = std::max(size, cv->TextHeight("gh"));
        for (int i = 0; i < count && chosen < 0; ++i)
            if (i * h < y && y < (i + 1) * h) chosen = i;
    }
    if (chosen < 0) return;
    // A group that keeps its choice in the cell text gets the caption there;
    // the others their index.
    if (g->CellIndex() < 0) SetCellText(base.X, base.Y, captions->Strings(chosen));
    else SetRadioIdx(base.X, base.Y, chosen);
    SetCellText(base.X, base.Y, GetCellText(base.X, base.Y));
    if (OnRadioClick) OnRadioClick(this, base.X, base.Y, chosen);
}

} // namespace grid
