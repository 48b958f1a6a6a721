// ExGrid: the row and cell-text hooks that the keyboard, the exchange code
// and descendants (the data-aware grid) call at fixed moments: inserting and
// deleting a row by key, and the text written for a cell when it is saved.
#include "grid/ExGrid.h"

#include "grid/ExRichEdit.h"
#include "htmltext/GrdHTMLE.h"

namespace grid {

// ---------------------------------------------------------- rows by key

// aRow is a real row.  In a grid with nodes the new row joins the group of
// the row it is inserted at, so that the node spans stay right.
void TExStringGrid::AutoInsertRow(int aRow)
{
    if (!HasNodes()) InsertRows(RealToDisplayRow(aRow), 1);
    else if (GetParentRow(RealToDisplayRow(aRow)) == -1) InsertNormalRow(aRow);
    else InsertChildRow(aRow, 0);
    if (OnAutoInsertRow) OnAutoInsertRow(this, aRow);
}

// The last non-fixed row is only cleared, so the grid keeps a row to type
// in (unless fixed rows stay anyway).
void TExStringGrid::AutoDeleteRow(int aRow)
{
    if (HasNodes()) {
        if (GetParentRow(aRow) == -1) RemoveNormalRow(aRow);
        else RemoveChildRow(aRow);
    } else if (RowCount() - TBaseGrid::FixedRows() - FFixedFooters != 1 || FFixedRowAlways) {
        RemoveRowBlock(aRow, 1);
    } else {
        ClearRows(aRow, 1);
    }
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, aRow);
}

void TExStringGrid::IncRowCount() { SetRowCount(RowCount() + 1); }

// ------------------------------------------------------ saved cell text

namespace {

// The display text (events and float format) or the cell's own text.
std::string SavedBaseText(TExStringGrid& g, int aCol, int aRow)
{
    std::string text;
    if (g.SaveVirtCells()) g.GetFormattedCellText(aCol, aRow, text);
    else text = g.GetRawCellText(aCol, aRow);
    return text;
}

// An empty check-box cell saves its state as the check texts.
void SavedCheckBoxText(TExStringGrid& g, int aCol, int aRow, std::string& text)
{
    if (!text.empty() || g.GetCellType(aCol, aRow) != TCellType::ctCheckBox) return;
    bool checked = false;
    g.GetCheckBoxState(aCol, aRow, checked);
    if (checked) g.GetCheckTrue(aCol, aRow, text);
    else g.GetCheckFalse(aCol, aRow, text);
}

// HTML is always looked for here, whatever EnableHTML says; rich text goes
// through the measuring rich editor to get its plain text.
void SavedMarkupAsPlainText(TExStringGrid& g, int aCol, int aRow, std::string& text)
{
    const int kind = gridbase::ClassifyCellText(text, true);
    if (kind == gridbase::ctHtmlText && !g.SaveWithHTML()) {
        text = htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdGrid, text);
    } else if (kind == gridbase::ctRtfText && !g.SaveWithRTF()) {
        if (TExRichEdit* re = g.RichEdit()) {
            g.CellToRich(aCol, aRow, re);
            text = re->PlainText();
        }
    }
}

} // namespace

void TExStringGrid::SaveCellText(int aCol, int aRow, std::string& text)
{
    text = SavedBaseText(*this, aCol, aRow);
    SavedCheckBoxText(*this, aCol, aRow, text);
    SavedMarkupAsPlainText(*this, aCol, aRow, text);
    if (OnSaveCell) OnSaveCell(this, aCol, aRow, text);
}

} // namespace grid
