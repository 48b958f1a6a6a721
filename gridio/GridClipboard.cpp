// GridClipboard: copying and cutting cells.
#include "gridio/GridClipboard.h"

#include <cmath>

#include "gridio/GridBinary.h"
#include "gridio/GridFiles.h"
#include "platform/gui/Clipbrd.h"

namespace gridio {

using grid::TExStringGrid;
using grid::TGridExportState;

namespace {

// Opens the clipboard for one content; a failure before Close leaves the
// clipboard as it was.
class TClipboardWrite {
public:
    TClipboardWrite() { gui::Clipboard()->Open(); }
    ~TClipboardWrite()
    {
        if (!FDone) gui::Clipboard()->Abandon();
    }
    void Close()
    {
        FDone = true;
        gui::Clipboard()->Close();
    }

private:
    bool FDone = false;
};

} // namespace

std::string TGridClipboard::ClipboardCellText(int aCol, int aRow)
{
    const int rc = FGrid.DisplayToRealCol(aCol);
    std::string t;
    FGrid.SaveCellText(rc, aRow, t);
    if (t.rfind("|\\", 0) == 0) t = gridbase::DecodePrefixedWideText(t);
    if (t.find('\r') != std::string::npos) t = "\"" + gridbase::RemoveCRChars(t) + "\"";
    if (!FGrid.Navigation()->CopyHTMLTagsToClipboard() && t.find("</") != std::string::npos) {
        FGrid.GetStrippedCellText(rc, aRow, t);
    } else if (t.find("{\\") != std::string::npos) {
        grid::TExRichEdit* rich = FGrid.RichEdit();
        FGrid.CellToRich(rc, aRow, rich);
        t = rich->PlainText();
    }
    if (FGrid.ExcelClipboardFormat() && gridbase::CountTextLines(t, FGrid.Multilinecells()) > 1)
        gridbase::QuoteWithVTBreaks(t);
    return t;
}

void TGridClipboard::CopyRectToClipboard(const gui::TRect& rect, bool disjunct)
{
    FGrid.SetClipTopLeft({rect.Left, rect.Top});
    FGrid.ExportNotification(TGridExportState::esExportStart, -1);
    const grid::TMouseActions* ma = FGrid.MouseActions();
    auto rowIncluded = [&](int r) {
        if (!disjunct || !ma->DisjunctRowSelect() || ma->DisjunctColSelect()) return true;
        return FGrid.GetRowSelect(ma->RowSelectPersistent() ? FGrid.DisplayToRealRow(r) : r);
    };
    auto colIncluded = [&](int c) { return !disjunct || !ma->DisjunctColSelect() || FGrid.GetColSelect(c); };
    const bool multiRow = rect.Bottom > rect.Top;

    // The first walk announces the rows and measures the text.
    const bool partial = rect.Top > FGrid.FixedRows() || rect.Bottom < FGrid.RowCount() - FGrid.FixedFooters() - 1;
    std::vector<std::string> cells;
    cells.reserve(static_cast<size_t>(rect.Right - rect.Left + 1));
    size_t size = 0;
    for (int r = rect.Top; r <= rect.Bottom; ++r) {
        if (!rowIncluded(r)) continue;
        FGrid.ExportNotification(partial ? TGridExportState::esExportSelRow : TGridExportState::esExportNewRow, r);
        for (int c = rect.Left; c <= rect.Right; ++c)
            if (colIncluded(c)) size += FGrid.GetCellText(FGrid.DisplayToRealCol(c), r).size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (int r = rect.Top; r <= rect.Bottom; ++r) {
        if (!rowIncluded(r)) continue;
        FGrid.ExportNotification(TGridExportState::esExportNewRow, r);
        bool any = false;
        for (int c = rect.Left; c <= rect.Right; ++c) {
            if (!colIncluded(c)) continue;
            text += ClipboardCellText(c, r);
            text += '\t';
            any = true;
        }
        if (any && multiRow) {
            text.back() = '\r';
            text += '\n';
        }
    }

    TClipboardWrite write;
    gui::Clipboard()->SetAsText(text);
    if (FGrid.Navigation()->AllowRTFClipboard()) CopyRichTextToClipboard(rect.Left, rect.Top);
    if (FGrid.Navigation()->AllowFmtClipboard()) CopyCellsToClipboard(rect);
    write.Close();
    FGrid.ExportNotification(TGridExportState::esExportDone, -1);
}

void TGridClipboard::CopyRichTextToClipboard(int aCol, int aRow)
{
    const std::string t = FGrid.GetCellText(FGrid.DisplayToRealCol(aCol), aRow);
    if (t.find("{\\") == std::string::npos) return;
    std::vector<uint8_t> block(t.begin(), t.end());
    block.push_back(0);
    try {
        gui::Clipboard()->Open();
    } catch (const gui::EClipboardException&) {
        return;  // nothing added, nothing said
    }
    gui::Clipboard()->SetData(gui::RegisterClipboardFormat("Rich Text Format"), block);
    gui::Clipboard()->Close();
}

void TGridClipboard::CopyCellsToClipboard(const gui::TRect& rect)
{
    rtl::TMemoryStream stream;
    gui::TRect real = rect;
    SaveRectToBinStream(FGrid, real, stream);
    stream.SetPosition(0);
    const std::string bytes = stream.ReadAll();
    TClipboardWrite write;
    gui::Clipboard()->SetData(grid::GridCellClipboardFormat(), std::vector<uint8_t>(bytes.begin(), bytes.end()));
    write.Close();
}

void TGridClipboard::CopyToClipBoardAsHTML()
{
    std::string html = TGridFiles(FGrid).SaveToHTMLString("");
    gridbase::WrapClipboardHtml(html);
    TClipboardWrite write;
    gui::Clipboard()->SetAsText(html);
    gui::Clipboard()->SetData(gui::RegisterClipboardFormat("HTML Format"),
                              std::vector<uint8_t>(html.begin(), html.end()));
    write.Close();
}

void TGridClipboard::ExpandSelectionToMergedCells()
{
    gui::TGridRect s = FGrid.Selection();
    bool merged = false;
    if (FGrid.IsMergedCell(s.Left, s.Top)) {
        const gui::TPoint b = FGrid.BaseCell(s.Left, s.Top);
        s.Left = std::min(s.Left, b.X);
        s.Top = std::min(s.Top, b.Y);
        merged = true;
    }
    if (FGrid.IsMergedCell(s.Right, s.Bottom)) {
        const gui::TPoint b = FGrid.BaseCell(s.Right, s.Bottom);
        const gui::TPoint span = FGrid.CellSpan(b.X, b.Y);
        s.Right = std::max(s.Right, b.X + span.X);
        s.Bottom = std::max(s.Bottom, b.Y + span.Y);
        merged = true;
    }
    if (merged) FGrid.SetSelection(s);
}

void TGridClipboard::CopySelectionToClipboard()
{
    ExpandSelectionToMergedCells();
    const grid::TMouseActions* ma = FGrid.MouseActions();
    const bool fmt = FGrid.Navigation()->AllowFmtClipboard();
    if ((ma->DisjunctRowSelect() || ma->DisjunctColSelect()) && !fmt) {
        CopyRectToClipboard(
            gui::TRect{FGrid.SaveStartCol(), FGrid.SaveStartRow(), FGrid.SaveEndCol(), FGrid.SaveEndRow()}, true);
    } else {
        const gui::TGridRect s = FGrid.Selection();
        CopyRectToClipboard(gui::TRect{s.Left, s.Top, s.Right, s.Bottom}, false);
    }
    FGrid.SetClipLastOp(TExStringGrid::TClipOperation::coCopy);
}

void TGridClipboard::CopyToClipBoard()
{
    CopyRectToClipboard(
        gui::TRect{FGrid.SaveStartCol(), FGrid.SaveStartRow(), FGrid.SaveEndCol(), FGrid.SaveEndRow()}, false);
    FGrid.SetClipLastOp(TExStringGrid::TClipOperation::coCopy);
}

void TGridClipboard::CutToClipboard()
{
    CopyToClipBoard();
    const bool always = FGrid.Navigation()->AllowClipboardAlways();
    for (int r = FGrid.SaveStartRow(); r <= FGrid.SaveEndRow(); ++r) {
        for (int c = FGrid.SaveStartCol(); c <= FGrid.SaveEndCol(); ++c) {
            const int rc = FGrid.DisplayToRealCol(c);
            if (always || FGrid.IsEditable(rc, r)) FGrid.SetCellText(rc, r, "");
        }
        if (FGrid.ShowModified()->Enabled()) FGrid.SetRowModified(r, true);
    }
    FGrid.SetClipLastOp(TExStringGrid::TClipOperation::coCut);
}

void TGridClipboard::CutSelectionToClipboard()
{
    CopySelectionToClipboard();
    const grid::TMouseActions* ma = FGrid.MouseActions();
    const bool modified = FGrid.ShowModified()->Enabled();
    if (ma->DisjunctRowSelect()) {
        for (int r = FGrid.FixedRows(); r < FGrid.RowCount(); ++r) {
            if (!FGrid.GetRowSelect(ma->RowSelectPersistent() ? FGrid.DisplayToRealRow(r) : r)) continue;
            FGrid.ClearRows(r, 1);
            if (modified) FGrid.SetRowModified(r, true);
        }
    } else if (ma->DisjunctColSelect()) {
        for (int c = FGrid.FixedCols(); c < FGrid.ColCount(); ++c)
            if (FGrid.GetColSelect(c)) FGrid.ClearCols(c, 1);
    } else {
        const gui::TGridRect s = FGrid.Selection();
        const bool always = FGrid.Navigation()->AllowClipboardAlways();
        gridbase::ZAdiZaviDuraRavi* undo = FGrid.UndoRedo();
        if (undo) undo->StartSequence();
        for (int c = s.Left; c <= s.Right; ++c) {
            const int rc = FGrid.RealColIndex(c);
            for (int r = s.Top; r <= s.Bottom; ++r) {
                if (!always && !FGrid.IsEditable(rc, r)) continue;
                if (undo) undo->RegisterChange(rc, r, FGrid.GetCellText(rc, r), "");
                FGrid.SetCellText(rc, r, "");
            }
        }
        if (modified)
            for (int r = s.Top; r <= s.Bottom; ++r) FGrid.SetRowModified(r, true);
        if (FGrid.Navigation()->AllowFmtClipboard()) FGrid.FreeCellPropertiesRect(s.Left, s.Top, s.Right, s.Bottom);
        if (undo) undo->StopSequence();
    }
    FGrid.SetClipLastOp(TExStringGrid::TClipOperation::coCut);
    if (FGrid.NumHiddenColumns() > 0) FGrid.Invalidate();
}

void ChangeScale(TExStringGrid& grid, int m, int d)
{
    if (m == d || d == 0) return;
    auto scale = [&](gui::TFont* f) {
        const double v = static_cast<double>(f->Size()) * m / d;
        f->SetSize(static_cast<int>(std::lround(v)));
    };
    scale(grid.FixedFont());
    scale(grid.ActiveCellFont());
}

} // namespace gridio
