// Checks that the texts of a string grid fit their columns: every line of
// a header cell, drawn in the grid's fixed font, leaves the cell's margins
// clear.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "grid/ExGrid.h"
#include "platform/gui/Graphics.h"

namespace apptest {

inline void ExpectHeadersFit(grid::TExStringGrid* sg, const char* where)
{
    gui::TBitmap measure;
    measure.SetSize(8, 8);
    measure.Canvas()->Font()->Assign(sg->FixedFont());
    for (int c = 0; c < sg->ColCount(); ++c) {
        const std::string text = sg->Cells(c, 0);
        for (std::size_t from = 0; from <= text.size();) {
            std::size_t to = text.find("\r\n", from);
            if (to == std::string::npos) to = text.size();
            const std::string line = text.substr(from, to - from);
            EXPECT_LE(measure.Canvas()->TextWidth(line) + 6, sg->ColWidths(c))
                << where << ": header \"" << line << "\" of column " << c;
            from = to + 2;
        }
    }
}

// The same for the single-line texts of column c below the fixed rows, in
// the grid's own font.
inline void ExpectCellsFit(grid::TExStringGrid* sg, int c, const char* where)
{
    gui::TBitmap measure;
    measure.SetSize(8, 8);
    measure.Canvas()->Font()->Assign(sg->Font());
    for (int r = sg->FixedRows(); r < sg->RowCount(); ++r)
        EXPECT_LE(measure.Canvas()->TextWidth(sg->Cells(c, r)) + 6, sg->ColWidths(c))
            << where << ": \"" << sg->Cells(c, r) << "\" in column " << c << ", row " << r;
}

} // namespace apptest
