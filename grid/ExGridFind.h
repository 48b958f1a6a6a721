// ExGridFind: the parameters of the string grid's find and replace
// (TExStringGrid::Find, FindFirst, FindNext, Replace in ExGridFind.cpp).
//
// The rule a caller must know: a search never wraps; (-1, -1) means not
// found, and FindNext after it starts again from the first cell.
//
//   grid::TFindParams p{grid::TFindParameters::fnMatchStart, grid::TFindParameters::fnAutoGoto};
//   gui::TPoint at = grid->FindFirst("an", p);   // the cell "Ant", not "Plant"
#pragma once

#include "platform/rtl/Set.h"

namespace grid {

enum class TFindParameters {
    fnMatchCase, fnMatchFull, fnMatchRegular, fnDirectionLeftRight, fnMatchStart, fnFindInCurrentRow,
    fnFindInCurrentCol, fnIncludeFixed, fnAutoGoto, fnIgnoreHTMLTags, fnBackward, fnIncludeHiddenColumns,
    fnFindInPresetCol, fnFindInPresetRow, fnSelectedCells, fnIncludeHiddenRows
};
using TFindParams = rtl::Set<TFindParameters, 16>;

} // namespace grid
