// GridClipboard: the string grid's clipboard exchange, a companion acting on
// one TExStringGrid.  Copies put a rectangle of cells on the clipboard as
// TAB and CR LF separated text (plus rich text and the private cell format
// "TExStringGrid Cells" when the grid's Navigation allows them); cuts then
// empty the editable cells inside one undo sequence.  Pastes read the
// private format, rich text or text, grow the grid when allowed and, with
// Navigation.AllowSmartClipboard, fill a larger selection with the value, a
// repeated pattern or a number or date series.
//
// The rule a caller must know: a copy that cannot open the clipboard (held
// by another program) raises gui::EClipboardException and leaves the
// clipboard as it was.
//
//   gridio::TGridClipboard clip(*grid);
//   clip.CopySelectionToClipboard();
//   grid->SetSelection({1, 1, 1, 5});
//   clip.PasteSelectionFromClipboard();     // 1, 2 copied: 1, 2, 3, 4, 5
#pragma once

#include <string>

#include "grid/ExGrid.h"

namespace gridio {

class TGridClipboard {
public:
    explicit TGridClipboard(grid::TExStringGrid& grid) : FGrid(grid) {}

    // --- copy and cut (GridClipboard.cpp) ------------------------------------
    void CopySelectionToClipboard();
    void CopyToClipBoard();
    void CutToClipboard();
    void CutSelectionToClipboard();
    void CopyToClipBoardAsHTML();
    // rect: displayed columns Left..Right, rows Top..Bottom.
    void CopyRectToClipboard(const gui::TRect& rect, bool disjunct);
    void CopyRichTextToClipboard(int aCol, int aRow);
    void CopyCellsToClipboard(const gui::TRect& rect);
    void ExpandSelectionToMergedCells();
    // The text one cell contributes to the clipboard text.
    std::string ClipboardCellText(int aCol, int aRow);

    // --- paste (GridPaste.cpp) -------------------------------------------------
    void PasteSelectionFromClipboard();
    void PasteFromClipboard();
    int PasteClipboardAtCell(int aCol, int aRow, int& lines, int& fields);
    // Returns the number of fields visited (the empty rest after a final
    // line break counted); lines and fields of the last line as reported.
    int PasteTextAtCell(int aCol, int aRow, int& lines, int& fields, const std::string& text);

private:
    bool Editable(int aCol, int aRow);
    bool Fires(int aCol, int aRow, std::string& value);
    void SmartFill(const gui::TGridRect& s, int n, int lines, int fields);
    bool SeriesFill(const gui::TGridRect& s, int n);
    void FillCell(int c, int r, std::string value, bool exemptTopLeft, const gui::TGridRect& s);

    grid::TExStringGrid& FGrid;
    bool FFullPaste = false;
};

// The grid's ChangeScale after a form's scaling by m / d: FixedFont and
// ActiveCellFont sizes scaled and rounded (nothing when m equals d).
void ChangeScale(grid::TExStringGrid& grid, int m, int d);

} // namespace gridio
