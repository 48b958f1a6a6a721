// Dragging controls inside the program: the drag objects and the state of
// the drag under way.  A drag starts with TControl::BeginDrag (or a left
// press on a control with DragMode dmAutomatic) and follows the mouse while
// the left button is held; the control under the pointer gets DragOver
// (OnDragOver: dsDragEnter, dsDragMove, dsDragLeave) through CM_DRAG, the
// release drops on it (OnDragDrop) when it accepted, the source gets
// OnEndDrag with the target or nullptr.  Esc or a right click cancels.
//
// The one rule: the Source a target sees is the dragged control itself,
// unless OnStartDrag handed out a drag object of its own (which stays the
// caller's to free, in OnEndDrag at the latest).
//
//     list->SetDragMode(gui::TDragMode::dmAutomatic);
//     other->OnDragOver = [](auto*, rtl::TObject* src, int, int, gui::TDragState, bool& accept) {
//         accept = dynamic_cast<gui::TListBox*>(src) != nullptr;
//     };
//     other->OnDragDrop = [](auto*, rtl::TObject* src, int x, int y) { /* take it */ };
#pragma once

#include "platform/gui/Controls.h"

namespace gui {

// What is being dragged.  The base answers the drag cursor.
class TDragObject : public rtl::TObject {
public:
    ~TDragObject() override = default;
    // The cursor over a control that accepts (accepted) or refuses the drop.
    virtual TCursor GetDragCursor(bool accepted, int x, int y);
    // Where the pointer is (screen) and the control under it, as last seen.
    TPoint DragPos;
    TControl* DragTarget = nullptr;
};

// A drag object standing for a control; its cursor is the control's DragCursor.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TControl* control) : FControl(control) {}
    TControl* Control() const { return FControl; }
    TCursor GetDragCursor(bool accepted, int x, int y) override;

private:
    TControl* FControl;
};

// The control whose drag is under way or waiting for its threshold, or nullptr.
TControl* DragSourceControl();
// Whether the drag has started (the threshold passed).
bool DragActive();
// Cancels the drag under way, if any.
void CancelDrag();
// Pixels the mouse moves before a drag that is not immediate starts (5).
int DragThreshold();
void SetDragThreshold(int pixels);

} // namespace gui
