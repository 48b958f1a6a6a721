// The string grid's side of pasting and drops: the overridable paste hooks
// and the forwarding of text drops to the data-exchange hooks.
#include "grid/ExGrid.h"

#include <algorithm>
#include <string>
#include <vector>

namespace grid {

void TExStringGrid::PasteCellText(int aCol, int aRow, const std::string& value)
{
    const int rc = DisplayToRealCol(aCol);
    if (gridbase::ZAdiZaviDuraRavi* undo = UndoRedo()) undo->RegisterChange(aCol, aRow, GetCellText(rc, aRow), value);
    if (HasCheckBox(rc, aRow)) SetCheckBoxState(rc, aRow, value == CheckTrue());
    else SetCellText(rc, aRow, value);
    if (rc != aCol) RepaintCell(aCol, aRow);
}

void TExStringGrid::PastedCellsChanged(gui::TPoint, const gui::TRect& r, TClipOperation)
{
    if (!ShowModified()->Enabled()) return;
    for (int row = r.Top; row <= r.Bottom; ++row) SetRowModified(row, true);
}

bool TExStringGrid::AllowFormattedClipboard() { return Navigation()->AllowFmtClipboard(); }

namespace {
// The lines of a tab-separated block: separated by CR (an LF right after a
// CR belongs to the separator); an LF inside a line stays with its field.
// The empty rest after a final line break is not a line.
std::vector<std::string> BlockLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t e = text.find('\r', pos);
        if (e == std::string::npos) e = text.size();
        lines.push_back(text.substr(pos, e - pos));
        pos = e + 1;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}
} // namespace

void MeasureTextBlock(const std::string& text, gui::TPoint& size)
{
    size = {0, -1};
    for (const std::string& line : BlockLines(text)) {
        if (line.empty() || line == "\n") continue;
        size.X = std::max(size.X, 1 + static_cast<int>(std::count(line.begin(), line.end(), '\t')));
        ++size.Y;
    }
}

void TGridIOHooks::MeasurePasteText(TExStringGrid&, const std::string& text, gui::TPoint& size)
{
    MeasureTextBlock(text, size);
}

void TExStringGrid::MeasurePasteText(const std::string& text, gui::TPoint& size)
{
    if (TGridIOHooks* hooks = GridIOHooks()) hooks->MeasurePasteText(*this, text, size);
    else MeasureTextBlock(text, size);
}

int TExStringGrid::PasteTextAtCell(int aCol, int aRow, int& lines, int& fields, const std::string& text)
{
    lines = 0;
    fields = 0;
    if (TGridIOHooks* hooks = GridIOHooks()) return hooks->PasteTextAtCell(*this, aCol, aRow, lines, fields, text);
    // Without the data-exchange hooks: the fields go as they are into the
    // non-fixed cells inside the grid; nothing grows, nothing is unquoted.
    if (aCol < 0 || aRow < 0) return 0;
    int count = 0;
    BeginUpdate();
    for (const std::string& line : BlockLines(text)) {
        const int row = aRow + lines++;
        fields = 0;
        std::size_t start = 0;
        for (bool more = true; more;) {
            const std::size_t tab = line.find('\t', start);
            more = tab != std::string::npos;
            const int col = aCol + fields++;
            ++count;
            if (row < RowCount() && col < ColCount() && !IsFixed(col, row))
                PasteCellText(col, row, line.substr(start, more ? tab - start : std::string::npos));
            start = tab + 1;
        }
    }
    EndUpdate();
    return count;
}

} // namespace grid
