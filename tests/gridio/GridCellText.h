// GridCellText: the texts of a run of cells of one row joined for a single
// comparison, each followed by "|".
//
//   EXPECT_EQ(RowText(*grid, 3, 1, 2), "a|b|");
#pragma once

#include <string>

#include "grid/ExGrid.h"

inline std::string RowText(const grid::TExStringGrid& g, int row, int from, int to)
{
    std::string s;
    for (int c = from; c <= to; ++c) s += g.Cells(c, row) + "|";
    return s;
}
