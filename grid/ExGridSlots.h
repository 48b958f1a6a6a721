// ExGridSlots: TExGridSlots, the overridable hooks of the string grid
// (grid/ExGrid.h) that are empty in the string grid itself.  The grid's
// keyboard, mouse, editor and exchange code call them at fixed moments; a
// descendant such as the data-aware grid (gridio/) overrides the ones it
// needs.  The slots with a body of their own are declared in ExGrid.h.
// Callers use TExStringGrid; only the grid's own layers derive from it.
//
//   struct TMyGrid : grid::TExStringGrid {
//       using TExStringGrid::TExStringGrid;
//       void WheelMoved(int, bool& handled) override { handled = false; }
//   };
#pragma once

#include <string>

#include "grid/ExGridState.h"

namespace grid {

class TExGridSlots : public TExGridState {
public:
    using TExGridState::TExGridState;

    // Around a paste of the grid's own cell format and a fill: before and after.
    virtual void BeforePaste() {}
    virtual void AfterPaste() {}
    // After a wheel step moved the current row by rowDelta; clearing handled
    // reports the wheel as not handled.
    virtual void WheelMoved(int rowDelta, bool& handled) { (void)rowDelta, (void)handled; }
    // A press on a cell while the grid is in cell-selector mode.
    virtual void CellSelectorClick(int aCol, int aRow) { (void)aCol, (void)aRow; }
    // Told by the text editor, after each change, whether its text begins with "=".
    virtual void FormulaEditMode(bool active) { (void)active; }
    // The text editor's text, the client point of the character before the
    // caret and the caret index after each key release; ((-1, -1), -1) when
    // the editor loses the focus.
    virtual void EditorTextPositionChanged(const std::string& text, gui::TPoint caretPos, int selStart)
    {
        (void)text, (void)caretPos, (void)selStart;
    }
    // First in the text editor's key-down message handling.
    virtual void EditorWMKeyDown(gui::TMessage& message) { (void)message; }
    // Ctrl+A and a click on the top-left fixed cell: may adjust the rectangle
    // about to be selected (all non-fixed cells).
    virtual void PrepareKeySelectAll(gui::TGridRect& rect) { (void)rect; }
    virtual void PrepareCornerSelectAll(gui::TGridRect& rect) { (void)rect; }
};

} // namespace grid
