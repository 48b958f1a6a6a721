// The string grid's side of pasting and drops: the overridable paste hooks
// and the forwarding of text and file drops to the data-exchange hooks.
#include "grid/ExGrid.h"

#include <algorithm>

namespace grid {

void TExStringGrid::SetPastedCellText(int aCol, int aRow, const std::string& value)
{
    const int rc = DisplayToRealCol(aCol);
    if (gridbase::ZAdiZaviDuraRavi* undo = UndoRedo()) undo->RegisterChange(aCol, aRow, GetCellText(rc, aRow), value);
    if (HasCheckBox(rc, aRow)) SetCheckBoxState(rc, aRow, value == CheckTrue());
    else SetCellText(rc, aRow, value);
    if (rc != aCol) RepaintCell(aCol, aRow);
}

void TExStringGrid::CellsPasted(gui::TPoint, const gui::TRect& r, TClipOperation)
{
    if (!ShowModified()->Enabled()) return;
    for (int row = r.Top; row <= r.Bottom; ++row) SetRowModified(row, true);
}

bool TExStringGrid::AllowGridClipboardFormat() { return Navigation()->AllowFmtClipboard(); }

void TExStringGrid::MeasurePasteText(const std::string& text, gui::TPoint& size)
{
    size = {0, -1};
    if (TGridIOHooks* hooks = GridIOHooks()) hooks->MeasurePasteText(*this, text, size);
}

int TExStringGrid::PasteTextAtCell(int aCol, int aRow, int& lines, int& fields, const std::string& text)
{
    lines = 0;
    fields = 0;
    if (TGridIOHooks* hooks = GridIOHooks()) return hooks->PasteTextAtCell(*this, aCol, aRow, lines, fields, text);
    return 0;
}

void TExStringGrid::DropTextAtCell(int aCol, int aRow, const std::string& text)
{
    gui::TPoint size;
    MeasurePasteText(text, size);
    if (size.X <= 0 || size.Y < 0) return;
    int lines = 0, fields = 0;
    PasteTextAtCell(aCol, aRow, lines, fields, text);
    const int right = std::min(aCol + size.X - 1, ColCount() - 1), bottom = std::min(aRow + size.Y, RowCount() - 1);
    SetSelection(gui::TGridRect{aCol, aRow, right, bottom});
}

bool TExStringGrid::LoadDroppedFile(const std::string& fileName)
{
    TGridIOHooks* hooks = GridIOHooks();
    return hooks && hooks->LoadDroppedFile(*this, fileName);
}

} // namespace grid
