// Steps the special editors share (inside grid/ only): the text into the
// current cell and validated before a key leaves, the move that follows,
// the exit, and the keys an editor keeps from the form.
#pragma once

#include <string>

#include "platform/gui/StdCtrls.h"

namespace grid {

class TExStringGrid;

// SetCurrentCellText, then ValidateCell; a refusal marks FNoAutoAdvance.
bool ValidateForLeaving(TExStringGrid* g, const std::string& text);
// Tab (tabToGrid: the editor passes Tab on) to TabNavigate, Enter with
// AdvanceOnEnter to the next cell, other keys to DoneInplaceEdit.
void LeaveEditor(TExStringGrid* g, uint16_t& key, gui::TShiftState shift, bool tabToGrid);
// Focus leaving the editor closes the edit.
void ExitEditor(TExStringGrid* g);
// CM_WANTSPECIALKEY: Enter and Esc, Tab and the arrows when asked.
void WantSpecialKey(gui::TMessage& m, bool tab, bool arrows);
void SelectAllOrEnd(gui::TCustomEdit* e, bool selectAll);

} // namespace grid
