// Synthetic input for tests and for programs that replay user actions:
// mouse and key events made as the window system would deliver them, so
// they take the whole road (Qt event, messages, handlers, native control).
// Points are in the client coordinates of the control given.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/Controls.h"

namespace gui {
class TMenuItem;
}

namespace gui::sim {

void MouseMove(TControl* control, int x, int y, TShiftState shift = {});
void MouseDown(TControl* control, TMouseButton button, int x, int y, TShiftState shift = {});
void MouseUp(TControl* control, TMouseButton button, int x, int y, TShiftState shift = {});
// Moves the mouse in steps from where the last simulated event left it to a
// client point of the control, with the buttons still held (a drag); each
// step goes to the window under it, or to the one holding the capture.
void MoveTo(TControl* control, int x, int y, int steps = 4, TShiftState shift = {});
// Move, press and release.
void Click(TControl* control, int x, int y, TMouseButton button = TMouseButton::mbLeft);
// Two clicks, the second one reported as a double click.
void DblClick(TControl* control, int x, int y);
void Wheel(TControl* control, int delta, int x, int y, TShiftState shift = {});

// Key events go to the window holding the focus in the active form (the
// form itself when no control has it), or to target when given; while a
// desktop dialog (file, print, message box) runs, to that dialog.
void KeyDown(uint16_t vk, TShiftState shift = {}, TWinControl* target = nullptr);
void KeyUp(uint16_t vk, TShiftState shift = {}, TWinControl* target = nullptr);
// Down and up, with the character the key types.
void KeyPress(uint16_t vk, TShiftState shift = {}, TWinControl* target = nullptr);
// Types UTF-8 text character by character.
void TypeText(const std::string& text, TWinControl* target = nullptr);

// Queued versions: the events wait in the message queue until the loop
// (ProcessMessages, a modal loop, Run) handles them.
void PostClick(TControl* control, int x, int y);
void PostKeyPress(uint16_t vk, TShiftState shift = {});

// Moves the mouse over an item of an open menu (a menu bar's or a pop-up
// menu's); false when no open menu shows the item.
bool HoverMenuItem(TMenuItem* item);

// Files dropped from another program onto the window at a client point.
// False when the window does not take file drops.
bool DropFiles(TWinControl* target, const std::vector<std::string>& files, int x, int y);

} // namespace gui::sim
