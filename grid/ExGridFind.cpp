// ExGrid: find and replace.  One engine (FindCore) scans a range of cells
// row by row or column by column from a start cell, without wrapping, and
// tests each cell with MatchCell against the cached search text.
#include <algorithm>
#include <climits>
#include <set>

#include "grid/ExGrid.h"
#include "gridbase/ExUtil.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/rtl/Strings.h"

namespace grid {

using FP = TFindParameters;

namespace {
std::u16string UpperWide(const std::u16string& s)
{
    return rtl::UTF8ToUTF16(rtl::AnsiUpperCase(rtl::UTF16ToUTF8(s)));
}
} // namespace

bool TExStringGrid::MatchCell(int aCol, int aRow, bool wide)
{
    const TFindParams& fp = FFindParams;
    if (!fp.Contains(FP::fnIncludeHiddenColumns)) aCol = DisplayToRealCol(aCol);
    const bool matchCase = fp.Contains(FP::fnMatchCase);
    if (!wide) {
        std::string text;
        if (fp.Contains(FP::fnIncludeHiddenRows)) GetAllCells(aCol, aRow, text);
        else text = GetCellText(aCol, aRow);
        if (!matchCase) text = rtl::AnsiUpperCase(text);
        if (fp.Contains(FP::fnIgnoreHTMLTags)) text = htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdGrid, text);
        if (SearchCache == "\"\"") return text.empty();
        if (fp.Contains(FP::fnMatchRegular)) {
            try {
                return gridbase::MatchFilterCondition(SearchCache, text, matchCase);
            } catch (...) {
                return false;
            }
        }
        if (SearchCache.empty()) return false;
        const std::size_t p = text.find(SearchCache);
        const bool startOK = fp.Contains(FP::fnMatchStart) ? p == 0 : p != std::string::npos;
        const bool fullOK = fp.Contains(FP::fnMatchFull) ? text == SearchCache : true;
        return startOK && fullOK;
    }
    std::u16string text = rtl::UTF8ToUTF16(GetCellText(aCol, aRow));
    if (!matchCase) text = UpperWide(text);
    if (SearchCacheWide == u"\"\"") return text.empty();
    if (fp.Contains(FP::fnMatchRegular)) {
        // Conditions are evaluated on the cell's text.
        try {
            return gridbase::MatchFilterCondition(rtl::UTF16ToUTF8(SearchCacheWide), rtl::UTF16ToUTF8(text),
                                                  matchCase);
        } catch (...) {
            return false;
        }
    }
    if (SearchCacheWide.empty()) return false;
    const std::size_t p = text.find(SearchCacheWide);
    const bool startOK = fp.Contains(FP::fnMatchStart) ? p == 0 : p != std::u16string::npos;
    const bool fullOK = fp.Contains(FP::fnMatchFull) ? text == SearchCacheWide : true;
    return startOK && fullOK;
}

int TExStringGrid::FindNodeRow(int aRow)
{
    // A hidden real row lies in the contracted node shown last above it.
    const int d = RealToDisplayRow(aRow) - 1;
    return d >= FixedRows() && d < RowCount() && IsNode(d) ? d : -1;
}

void TExStringGrid::FindCore(gui::TPoint startCell, const std::string& s, gui::TPoint& result,
                             TFindParams findParams, bool wide, const std::u16string& wideText)
{
    result = {-1, -1};
    FFindParams = findParams;
    const bool matchCase = findParams.Contains(FP::fnMatchCase);
    SearchCache = matchCase ? s : rtl::AnsiUpperCase(s);
    SearchCacheWide = matchCase ? wideText : UpperWide(wideText);
    if (ColCount() == FixedCols() || ColCount() == 0 || RowCount() == FixedRows() || RowCount() == 0) return;

    int minCol, maxCol, minRow, maxRow;
    if (findParams.Contains(FP::fnIncludeFixed)) {
        minCol = 0, maxCol = ColCount() - 1, minRow = 0, maxRow = RowCount() - 1;
    } else {
        minCol = FixedCols(), maxCol = ColCount() - 1 - FFixedRightCols;
        minRow = FixedRows(), maxRow = RowCount() - 1 - FFixedFooters;
    }
    if (findParams.Contains(FP::fnSelectedCells)) {
        const gui::TGridRect sel = Selection();
        minCol = sel.Left, maxCol = sel.Right, minRow = sel.Top, maxRow = sel.Bottom;
    }
    if (findParams.Contains(FP::fnIncludeHiddenColumns)) maxCol += FNumHidden;
    if (FNumNodes > 0) maxRow += NumHiddenRows();

    const bool back = findParams.Contains(FP::fnBackward);
    const bool rowWise = findParams.Contains(FP::fnDirectionLeftRight);
    int x, y;
    if (startCell.X == -1 && startCell.Y == -1) {
        x = back ? maxCol : minCol;
        y = back ? maxRow : minRow;
    } else {
        x = startCell.X, y = startCell.Y;
        if (!back) {
            if (rowWise) {
                if (x <= maxCol) ++x;
                else if (y <= maxRow) ++y;
                else x = minCol, y = minRow;
            } else {
                if (y <= maxRow) ++y;
                else if (x <= maxCol) ++x;
                else x = minCol, y = minRow;
            }
        } else {
            if (rowWise) {
                if (x >= minCol) --x;
                else if (y >= minRow) --y;
                else x = maxCol, y = maxRow;
            } else {
                if (y >= minRow) --y;
                else if (x >= minCol) --x;
                else x = maxCol, y = maxRow;
            }
        }
    }
    if (findParams.Contains(FP::fnFindInCurrentRow)) y = minRow = maxRow = Row();
    if (findParams.Contains(FP::fnFindInPresetRow)) y = minRow = maxRow = FFindRow;
    if (findParams.Contains(FP::fnFindInCurrentCol)) x = minCol = maxCol = Col();
    if (findParams.Contains(FP::fnFindInPresetCol)) x = minCol = maxCol = FFindCol;

    const int d = back ? -1 : 1;
    bool found = false;
    if (rowWise) {
        while (!found && y >= minRow && y <= maxRow) {
            while (x >= minCol && x <= maxCol) {
                ExportNotification(TGridExportState::esExportNewRow, y);
                if (!IsIgnoredColumn(x) && MatchCell(x, y, wide)) {
                    found = true;
                    break;
                }
                x += d;
            }
            if (found) break;
            x = findParams.Contains(FP::fnFindInCurrentCol) ? Col() : back ? maxCol : minCol;
            y += d;
        }
    } else {
        while (!found && x >= minCol && x <= maxCol) {
            while (y >= minRow && y <= maxRow) {
                ExportNotification(TGridExportState::esExportNewRow, y);
                if (MatchCell(x, y, wide)) {
                    found = true;
                    break;
                }
                y += d;
            }
            if (found) break;
            y = findParams.Contains(FP::fnFindInCurrentRow) ? Row() : back ? maxRow : minRow;
            x += d;
        }
    }
    if (!found) return;
    SearchCell = {x, y};
    result = SearchCell;
    if (!findParams.Contains(FP::fnAutoGoto)) return;
    int target = y;
    if (findParams.Contains(FP::fnIncludeHiddenRows) && NumHiddenRows() > 0) {
        // Nested nodes open one level per step; each step shows more rows.
        while (FNumNodes > 0 && IsHiddenRow(y)) {
            const int nodeRow = FindNodeRow(y);
            const int hiddenBefore = NumHiddenRows();
            if (nodeRow < 0) break;
            ExpandNode(DisplayToRealRow(nodeRow));
            if (NumHiddenRows() == hiddenBefore) break;
        }
        if (IsHiddenRow(y)) return;  // a row that stays hidden cannot become current
        target = RealToDisplayRow(y);
    }
    if (target < 0 || target >= RowCount()) return;
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(target, true);
    } else {
        SetRow(target);
        if (x >= 0 && x < ColCount()) gui::TCustomGrid::SetCol(x);
    }
}

gui::TPoint TExStringGrid::Find(gui::TPoint startCell, const std::string& s, TFindParams findParams)
{
    ExportNotification(TGridExportState::esExportStart, -1);
    gui::TPoint result;
    FindCore(startCell, s, result, findParams, false, u"");
    // The data-aware grid restores its position when nothing was found and
    // keeps the found record otherwise.
    ExportNotification(result.X == -1 ? TGridExportState::esExportDone : TGridExportState::esExportFail, -1);
    return result;
}

gui::TPoint TExStringGrid::FindWide(gui::TPoint startCell, const std::u16string& s, TFindParams findParams)
{
    gui::TPoint result;
    FindCore(startCell, "", result, findParams, true, s);
    return result;
}

gui::TPoint TExStringGrid::FindFirst(const std::string& s, TFindParams findParams)
{
    SearchCell = Find({-1, -1}, s, findParams);
    return SearchCell;
}

gui::TPoint TExStringGrid::FindNext()
{
    // SearchCache is already upper-cased unless fnMatchCase, so it finds the same.
    SearchCell = Find(SearchCell, SearchCache, FFindParams);
    return SearchCell;
}

int TExStringGrid::Replace(const std::string& origStr, const std::string& newStr, TFindParams findParams)
{
    const bool rowWise = findParams.Contains(FP::fnDirectionLeftRight);
    const bool back = findParams.Contains(FP::fnBackward);
    std::set<std::pair<int, int>> changed;
    int count = 0;
    gui::TPoint start{-1, -1};
    for (;;) {
        gui::TPoint at = Find(start, origStr, findParams);
        if (at.X == -1 || at.Y == -1) break;
        if (changed.count({at.X, at.Y})) {
            // A restriction pinned the start back onto a cell already
            // rewritten: go on from the next column (row) of the scan.
            const int past = back ? -2 : INT_MAX / 2;
            at = Find(rowWise ? gui::TPoint{past, at.Y} : gui::TPoint{at.X, past}, origStr, findParams);
            if (at.X == -1 || at.Y == -1 || changed.count({at.X, at.Y})) break;
        }
        const int rc = findParams.Contains(FP::fnIncludeHiddenColumns) ? at.X : DisplayToRealCol(at.X);
        const std::string text = GetCellText(rc, at.Y);
        SetCellText(rc, at.Y, rtl::StringReplace(text, origStr, newStr, true, true));
        if (ShowModified()->Enabled()) SetRowModified(at.Y, true);
        changed.insert({at.X, at.Y});
        ++count;
        start = at;
    }
    return count;
}

int TExStringGrid::Search(const std::string& s)
{
    if (RowCount() < 2) return -1;
    int key = FixedCols();
    if (FSortSettings->Show() && !FSortSettings->IndexShow()) key = FSortSettings->Column();
    else if (FSortSettings->Show() && FSortIndexes->Count() > 0) key = FSortIndexes->GetIndexColumn(0);
    if (key < 0) return -1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        std::string text;
        GetStrippedCellText(RealColIndex(key), r, text);
        if (rtl::AnsiUpperCase(text.substr(0, s.size())) == s) return r;
    }
    return -1;
}

} // namespace grid
