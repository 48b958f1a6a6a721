// TExEdit: the type-ahead lookup list, value persistence and the drop
// target switch.

#include "controls/ExEdit.h"

namespace controls {

using namespace gui;

gui::TListBox* TExEdit::LookupListBox() const { return nullptr; }
bool TExEdit::LookupVisible() const { return false; }
void TExEdit::UpdateLookupList() {}
void TExEdit::TakeLookupEntry() {}
void TExEdit::HideLookup() {}
void TExEdit::MoveLookupIndex(int, bool) {}
void TExEdit::SetOleDropTarget(bool v) { FOleDropTarget = v; }

} // namespace controls
