// GridColumnStates: the grid's column layout outside its cells: the
// column states text ("n#widths#order#visibility"), and the column widths
// ("Col<i>") and positions ("Pos<i>") in the INI file or registry key that
// the grid's ColumnSize names.
//
// The rule a caller must know: StringToColumnStates and LoadColPositions
// check the whole text or stored set first; a bad one raises the
// conversion or list-index error and changes nothing.
//
//   std::string s = gridio::ColumnStatesToString(*grid);
//   gridio::StringToColumnStates(*other, s);   // same widths, order, hidden columns
#pragma once

#include <string>

#include "grid/ExGrid.h"

namespace gridio {

std::string ColumnStatesToString(grid::TExStringGrid& grid);
void StringToColumnStates(grid::TExStringGrid& grid, const std::string& value);

// Nothing happens while ColumnSize.Key or Section is empty, or at design time.
void SaveColSizes(grid::TExStringGrid& grid);
void LoadColSizes(grid::TExStringGrid& grid);
void SaveColPositions(grid::TExStringGrid& grid);
void LoadColPositions(grid::TExStringGrid& grid);

} // namespace gridio
