// ExGridFixedLook: how fixed cells answer the pointer when painted: the
// hovered cell's gradients with the drop-down button
// (ControlLook.FixedDropDownButton), the list-view look's hot header cell,
// and a fixed cell pressed in like a button (FixedAsButtons).  The state
// comes from the press and move handling (grid/ExGridPress.cpp).
//
//     gui::TRect r = cellRect;
//     if (DrawHotFixedCell(grid, canvas, col, row, r)) ...  // r.Right left of the button
//     DrawListViewFixedCell(grid, canvas, col, row, cellRect);
//     DrawPushedFixedCell(grid, canvas, col, row, cellRect);
#pragma once

#include "platform/gui/Graphics.h"

namespace grid {

class TExStringGrid;

// Whether (aCol, aRow) is the hovered fixed cell the look draws hot.
bool IsHotFixedCell(const TExStringGrid& grid, int aCol, int aRow);
// The hover (or, pressed, the down) gradient of a hot fixed cell; with
// FixedDropDownButton the right 16 pixels are the button, split off by a
// line with a triangle, and rect's right side moves left past it.  False
// (nothing drawn) for a cell that is not hot.
bool DrawHotFixedCell(TExStringGrid& grid, gui::TCanvas* canvas, int aCol, int aRow, gui::TRect& rect);
// A header cell of the list-view look: the theme's header item (hot while
// the pointer is over it, pressed during a press there), else a plain face.
void DrawListViewFixedCell(TExStringGrid& grid, gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect);
// The sunken edges of a fixed cell pressed in (FixedAsButtons).
void DrawPushedFixedCell(TExStringGrid& grid, gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect);

} // namespace grid
