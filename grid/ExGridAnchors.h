// ExGridAnchors: what lies under a point of a cell whose text holds
// anchors: an anchor of its markup, or, with URLShow, a plain text that is
// a web or mail address as a whole.  The pointer handling
// (grid/ExGridPress.cpp) shows the link cursor over them and reports the
// markup's anchors entering and leaving.
//
//     const TCellAnchor a = AnchorAtPoint(grid, realCol, row, x, y);
//     if (a.Markup && !a.Anchor.empty()) ...  // OnAnchorEnter
#pragma once

#include <string>

namespace grid {

class TExStringGrid;

struct TCellAnchor {
    std::string Anchor;   // empty: no anchor at the point
    bool Markup = false;  // found in the cell's markup (not a plain address)
};

// (x, y) in client pixels; aCol a real column.
TCellAnchor AnchorAtPoint(TExStringGrid& grid, int aCol, int aRow, int x, int y);

} // namespace grid
