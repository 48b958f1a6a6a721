// ExGridEditors: the string grid's special cell editors.  Each is a thin
// descendant of a cell editor of gridbase/ or of a platform control that
// adds the grid's keyboard contract: which keys leave the editor, the
// validation before leaving, the move to the next cell, the grid's events
// and lookup completion.  TExTimerSpeedButton, the spin arrows' auto-repeat
// button, is gridbase's (grdspin.h).
//
// The one rule: the grid creates, shows, fills and hides these editors
// (ShowSpecialEditor / HideSpecialEditor); an application only reads them
// (EditSpin(), EditCombo() ...) to set ranges or items.
//
//   grid->OnGetEditorType = [](rtl::TObject*, int, int, gridbase::TEditorType& e) {
//       e = gridbase::TEditorType::edComboList; };
//   grid->EditCombo()->Items()->Add("Total");
//   grid->ShowInplaceEdit();   // the combo opens over the current cell
#pragma once

#include <string>

#include "gridbase/ExDateTimePicker.h"
#include "gridbase/GRDEdit.h"
#include "gridbase/grdcombo.h"
#include "gridbase/grdspin.h"
#include "platform/gui/DateTimePicker.h"
#include "platform/gui/StdCtrls.h"

namespace grid {

class TExStringGrid;

// A date in the order of the locale's short date format, optionally
// followed by a time of day (timeOnly: only a time); false when the text
// does not read.
bool TryStrToGridDateTime(const std::string& text, rtl::TDateTime& value, bool timeOnly);

// edCheckBox: caption = the cell's text; the cell is not written.
class TGridCheckBox : public gui::TCheckBox {
public:
    explicit TGridCheckBox(TExStringGrid* grid);
    void ReCreate() {}
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void Dispatch(gui::TMessage& m) override;
    void DoExit() override;

private:
    void Toggle();
    TExStringGrid* FGrid;
};

// edSpinEdit, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit.
class TGridSpin : public gridbase::TGrdSpinEdit {
public:
    explicit TGridSpin(TExStringGrid* grid);
    void ReCreate() {}
    // Fires the grid's spin event of the spin type.
    void DoSpinClick(bool up);
    void UpButtonClick(rtl::TObject* sender) override;
    void DownButtonClick(rtl::TObject* sender) override;
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void Dispatch(gui::TMessage& m) override;
    void DoExit() override;

protected:
    void Change() override;

private:
    TExStringGrid* FGrid;
};

// edComboEdit (editable) and edComboList (list style).
class TGridCombo : public gridbase::TGRDComboBox {
public:
    explicit TGridCombo(TExStringGrid* grid);
    void ReCreate() {}
    // The list as wide as its widest item (CB_SETDROPPEDWIDTH).
    void SizeDropDownWidth();
    // Lookup completion of the text before the caret.
    void DoChange();
    bool Forced = false;
    bool WorkMode = true;
    int ItemIdx = -1;
    bool ItemChange = false;
    rtl::TNotifyEvent OnReturnKey;

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void KeyUp(uint16_t& key, gui::TShiftState shift) override;
    void Dispatch(gui::TMessage& m) override;
    void DoExit() override;

protected:
    void Change() override;

private:
    void FireComboChange(int col);
    TExStringGrid* FGrid;
};

// edDateEdit, edDateEditUpDown, edTimeEdit.
class TGridDatePicker : public gui::TDateTimePicker {
public:
    explicit TGridDatePicker(TExStringGrid* grid);
    void ReCreate() {}
    // The calendar was dropped down (DTN_DROPDOWN .. DTN_CLOSEUP).
    bool OldDropped() const { return FOldDropped; }
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void Dispatch(gui::TMessage& m) override;
    void DoExit() override;

private:
    bool FOldDropped = false;
    TExStringGrid* FGrid;
};

// edDateTimeEdit.
class TGridDateTimePicker : public gridbase::TExDateTimePicker {
public:
    explicit TGridDateTimePicker(TExStringGrid* grid);
    void ReCreate() {}
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void Dispatch(gui::TMessage& m) override;
    void DoExit() override;

private:
    TExStringGrid* FGrid;
};

// edEditBtn, edNumericEditBtn, edFloatEditBtn.
class TGridEditBtn : public gridbase::TGrdEditBtn {
public:
    explicit TGridEditBtn(TExStringGrid* grid);
    void ReCreate() {}
    // The ellipsis button: OnEllipsClick may change the text.
    void ButtonClick(rtl::TObject* sender) override;
    // Completion from the grid's lookup list.
    void DoLookup();
    bool WorkMode = true;

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void KeyUp(uint16_t& key, gui::TShiftState shift) override;
    void Dispatch(gui::TMessage& m) override;
    void DoExit() override;

protected:
    void Change() override;

private:
    TExStringGrid* FGrid;
    int FSelKeyDown = 0;
};

// edUnitEditBtn: the number in the text, the unit in UnitID.
class TGridUnitEditBtn : public gridbase::TGrdUnitEditBtn {
public:
    explicit TGridUnitEditBtn(TExStringGrid* grid);
    void ReCreate() {}
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void Dispatch(gui::TMessage& m) override;
    void DoExit() override;

private:
    TExStringGrid* FGrid;
};

// edButton: a push button whose click (OnEllipsClick) may set the cell.
class TGridButton : public gui::TButton {
public:
    explicit TGridButton(TExStringGrid* grid);
    void ReCreate() {}
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyUp(uint16_t& key, gui::TShiftState shift) override;
    void Dispatch(gui::TMessage& m) override;
    void DoExit() override;

private:
    void Released();
    TExStringGrid* FGrid;
};

} // namespace grid
