// GridClipboard: pasting cells and the smart fill of a larger selection.
#include <charconv>
#include <cstdint>

#include "gridio/GridBinary.h"
#include "gridio/GridClipboard.h"
#include "platform/gui/Clipbrd.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Variant.h"

namespace gridio {

using grid::TExStringGrid;
using grid::TGridImportState;

namespace {

// The field unquoted as a pasted field holding a line feed.
std::string UnquoteField(std::string f)
{
    if (!f.empty() && f.front() == '"') f.erase(0, 1);
    if (!f.empty() && f.back() == '"' && f.find('"') == f.size() - 1) f.pop_back();
    gridbase::VTToCRLF(f);
    return f;
}

bool WholeNumber(const std::string& t, int64_t& v)
{
    const std::string n = gridbase::ExtractNumberText(t);
    if (n.empty()) return false;
    const char* first = n.data() + (n[0] == '+' ? 1 : 0);
    const auto res = std::from_chars(first, n.data() + n.size(), v);
    return res.ec == std::errc() && res.ptr == n.data() + n.size();
}

bool DateLike(const std::string& t)
{
    return gridbase::HasTwoDateSeparators(t) || t.find(rtl::FormatSettings().TimeSeparator) != std::string::npos;
}

} // namespace

bool TGridClipboard::Editable(int aCol, int aRow)
{
    return FGrid.Navigation()->AllowClipboardAlways() || FGrid.IsEditable(FGrid.DisplayToRealCol(aCol), aRow);
}

// Fires the before-paste event for one value; false when it is refused.
bool TGridClipboard::Fires(int aCol, int aRow, std::string& value)
{
    bool allow = true;
    if (value.rfind("|\\", 0) == 0) {
        if (FGrid.OnClipboardBeforePasteWideCell) {
            std::u16string wide = rtl::UTF8ToUTF16(gridbase::DecodePrefixedWideText(value));
            FGrid.OnClipboardBeforePasteWideCell(&FGrid, aCol, aRow, wide, allow);
            value = gridbase::EncodePrefixedWideText(rtl::UTF16ToUTF8(wide));
        }
    } else if (FGrid.OnClipboardBeforePasteCell) {
        FGrid.OnClipboardBeforePasteCell(&FGrid, aCol, aRow, value, allow);
    }
    return allow;
}

int TGridClipboard::PasteTextAtCell(int aCol, int aRow, int& lines, int& fields, const std::string& text)
{
    const grid::TNavigation* nav = FGrid.Navigation();
    if (aCol < 0 || aRow < 0) return 0;
    if (!FGrid.Options().Contains(gui::TGridOption::goEditing) && !nav->AllowClipboardAlways() &&
        !FGrid.MouseActions()->RangeSelectAndEdit())
        return 0;
    gridbase::ZAdiZaviDuraRavi* undo = FGrid.UndoRedo();
    if (undo) undo->StartSequence();
    lines = 0;
    fields = 0;
    int c = aCol, r = aRow, count = 0, lastCol = aCol, lastRow = aRow;
    const bool insert = nav->ClipboardPasteAction() == grid::TClipboardPasteAction::paInsert;
    auto rowLimit = [&] {
        const grid::TFloatingFooter* f = FGrid.FloatingFooter();
        return FGrid.RowCount() - (f->Visible() && f->FooterStyle() == grid::TFooterStyle::fsFixedLastRow ? 1 : 0);
    };
    auto store = [&](std::string value) {
        if (value.find('\n') != std::string::npos) value = UnquoteField(value);
        if (c >= FGrid.ColCount() && nav->AllowClipboardColGrow()) FGrid.SetColCount(c + 1);
        if (c < FGrid.ColCount() && r < rowLimit() && Editable(c, r) && Fires(c, r, value)) {
            FGrid.PasteCellText(c, r, value);
            lastCol = std::max(lastCol, c);
            lastRow = std::max(lastRow, r);
        }
    };

    size_t pos = 0;
    bool more = !text.empty();
    while (more) {
        size_t e = text.find('\r', pos);
        const bool hasBreak = e != std::string::npos;
        if (!hasBreak) e = text.size();
        std::string line = text.substr(pos, e - pos);
        pos = hasBreak ? e + 1 : text.size();
        if (hasBreak && pos < text.size() && text[pos] == '\n') ++pos;
        // After a final line break the empty rest is visited once more.
        more = hasBreak;
        const bool follows = pos < text.size();
        ++lines;
        FGrid.ImportNotification(FFullPaste ? TGridImportState::isImportNewRow : TGridImportState::isImportSelRow, r);
        if (!line.empty() && insert) FGrid.InsertRows(r, 1, true);
        fields = 1;
        size_t f = 0;
        for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', f)) {
            ++fields;
            store(line.substr(f, tab - f));
            ++count;
            ++c;
            f = tab + 1;
        }
        const std::string rest = line.substr(f);
        if (!(rest.empty() && !follows && !hasBreak)) {
            store(rest);
            ++c;
        }
        ++count;
        c = aCol;
        if (follows) {
            ++r;
            if (r == rowLimit() && nav->AllowClipboardRowGrow()) FGrid.SetRowCount(FGrid.RowCount() + 1);
        }
    }
    if (undo) undo->StopSequence();
    const gui::TRect pasted{aCol, aRow, lastCol, lastRow};
    FGrid.PastedCellsChanged(FGrid.ClipTopLeft(), pasted, FGrid.ClipLastOp());
    FGrid.CellsChanged(
        gui::TRect{FGrid.DisplayToRealCol(aCol), aRow, FGrid.DisplayToRealCol(lastCol), lastRow});
    return count;
}

int TGridClipboard::PasteClipboardAtCell(int aCol, int aRow, int& lines, int& fields)
{
    gui::TClipboard* clip = gui::Clipboard();
    const grid::TNavigation* nav = FGrid.Navigation();
    const gui::TClipboardFormat cells = grid::GridCellClipboardFormat();
    lines = 0;
    fields = 0;
    if (FGrid.AllowFormattedClipboard() && clip->HasFormat(cells)) {
        const std::vector<uint8_t> block = clip->GetData(cells);
        FGrid.BeforePaste();
        rtl::TMemoryStream stream;
        stream.WriteBuffer(block.data(), static_cast<int64_t>(block.size()));
        stream.SetPosition(0);
        rtl::TComponent owner(nullptr);
        auto* head = new TGridPropIO(&owner);
        const bool insert = nav->ClipboardPasteAction() == grid::TClipboardPasteAction::paInsert;
        if (nav->AllowClipboardRowGrow() || nav->AllowClipboardColGrow() || insert) {
            ReadBinStreamHeader(stream, head);
            if (aCol + head->ColCount >= FGrid.ColCount() && nav->AllowClipboardColGrow())
                FGrid.SetColCount(aCol + head->ColCount);
            if (aRow + head->RowCount >= FGrid.RowCount() && nav->AllowClipboardRowGrow())
                FGrid.SetRowCount(aRow + head->RowCount);
            fields = head->ColCount;
            lines = head->RowCount;
            if (insert) FGrid.InsertRows(aRow, head->RowCount, true);
            stream.SetPosition(0);
        }
        LoadAtPointFromBinStream(FGrid, gui::TPoint{aCol, aRow}, stream);
        stream.SetPosition(0);
        ReadBinStreamHeader(stream, head);
        const gui::TRect pasted{aCol, aRow, aCol + head->ColCount - 1, aRow + head->RowCount - 1};
        const bool same = head->ID == static_cast<int32_t>(FGrid.Handle());
        FGrid.PastedCellsChanged(same ? FGrid.ClipTopLeft() : gui::TPoint{-1, -1}, pasted, FGrid.ClipLastOp());
        FGrid.AfterPaste();
        return head->ColCount * head->RowCount;
    }
    const gui::TClipboardFormat rtf = gui::RegisterClipboardFormat("Rich Text Format");
    if (nav->AllowRTFClipboard() && clip->HasFormat(rtf)) {
        const std::vector<uint8_t> block = clip->GetData(rtf);
        std::string t;
        for (uint8_t b : block) {
            if (b == 0) break;
            t += static_cast<char>(b);
        }
        if (FGrid.IsEditable(FGrid.DisplayToRealCol(aCol), aRow)) FGrid.PasteCellText(aCol, aRow, t);
        lines = 1;
        fields = 1;
        return 0;
    }
    if (clip->HasFormat(gui::CF_TEXT)) {
        const std::string t = clip->AsText();
        if (!t.empty()) return PasteTextAtCell(aCol, aRow, lines, fields, t);
    }
    return 0;
}

void TGridClipboard::PasteFromClipboard()
{
    FGrid.ImportNotification(TGridImportState::isImportStart, -1);
    FFullPaste = true;
    int lines = 0, fields = 0;
    PasteClipboardAtCell(FGrid.SaveStartCol(), FGrid.SaveStartRow(), lines, fields);
    FFullPaste = false;
    FGrid.ImportNotification(TGridImportState::isImportDone, -1);
    FGrid.CalcFooter(-1);
}

void TGridClipboard::FillCell(int c, int r, std::string value, bool exemptTopLeft, const gui::TGridRect& s)
{
    if (!Editable(c, r)) return;
    if (!(exemptTopLeft && c == s.Left && r == s.Top) && !Fires(c, r, value)) return;
    FGrid.PasteCellText(c, r, value);
}

// The series fill of a single column or row: true when a number or date
// series was written (no further paste follows it).
bool TGridClipboard::SeriesFill(const gui::TGridRect& s, int n)
{
    const bool column = s.Left == s.Right;
    const std::string t1 = FGrid.GetCellText(FGrid.DisplayToRealCol(s.Left), s.Top);
    const std::string t2 = column ? FGrid.GetCellText(FGrid.DisplayToRealCol(s.Left), s.Top + 1)
                                  : FGrid.GetCellText(FGrid.DisplayToRealCol(s.Left + 1), s.Top);
    const char dec = rtl::FormatSettings().DecimalSeparator;
    auto visitAll = [&](auto&& valueAt) {
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r) {
                std::string v;
                if (!valueAt(v)) return;
                FillCell(c, r, v, true, s);
            }
    };
    if (!DateLike(t1) || !DateLike(t2)) {
        if (t1.find(dec) == std::string::npos && t2.find(dec) == std::string::npos) {
            int64_t a = 0, b = 0;
            if (WholeNumber(t1, a) && WholeNumber(t2, b)) {
                int64_t v = a;
                const int64_t step = b - a;
                visitAll([&](std::string& out) {
                    out = std::to_string(v);
                    v += step;
                    return true;
                });
                return true;
            }
            // The pasted block repeated; cells filled earlier feed later ones.
            if (column) {
                const int rc = FGrid.DisplayToRealCol(s.Left);
                for (int r = s.Top + n - 1; r <= s.Bottom; ++r)
                    FillCell(s.Left, r, FGrid.GetCellText(rc, r - n + 1), false, s);
            } else {
                for (int c = s.Left + n - 1; c <= s.Right; ++c)
                    FillCell(c, s.Top, FGrid.GetCellText(FGrid.DisplayToRealCol(c - n + 1), s.Top), false, s);
            }
            return false;
        }
        double a = 0, b = 0;
        if (!rtl::TryStrToFloat(t1, a) || !rtl::TryStrToFloat(t2, b)) return true;
        double v = a;
        const double step = b - a;
        visitAll([&](std::string& out) {
            out = rtl::Format(FGrid.FloatFormat(), v);
            v += step;
            return true;
        });
        return true;
    }
    double d1 = 0, d2 = 0;
    try {
        d1 = rtl::Variant(t1).AsDate();
        d2 = rtl::Variant(t2).AsDate();
    } catch (const rtl::Exception&) {
        return true;
    }
    int y1, m1, dd1, y2, m2, dd2;
    rtl::DecodeDate(d1, y1, m1, dd1);
    rtl::DecodeDate(d2, y2, m2, dd2);
    const auto dy = static_cast<uint16_t>(y2 - y1), dm = static_cast<uint16_t>(m2 - m1),
               ddays = static_cast<uint16_t>(dd2 - dd1);
    const double step = d2 - d1;
    const bool timeOnly = t1.find(rtl::FormatSettings().DateSeparator) == std::string::npos;
    double v = d1;
    bool stop = false;
    visitAll([&](std::string& out) {
        if (stop) return false;
        out = rtl::FormatDateTime(timeOnly ? rtl::FormatSettings().LongTimeFormat
                                           : rtl::FormatSettings().ShortDateFormat,
                                  v);
        try {
            v = gridbase::AddDateStep(dy, dm, ddays, v, step);
        } catch (const rtl::Exception&) {
            stop = true;  // an impossible next date ends the fill after this value
        }
        return true;
    });
    return true;
}

void TGridClipboard::SmartFill(const gui::TGridRect& s, int n, int lines, int fields)
{
    const int cells = (s.Right - s.Left + 1) * (s.Bottom - s.Top + 1);
    bool series = false;
    if (n == 1 && cells > 1) {
        FGrid.BeforePaste();
        const int rc0 = FGrid.DisplayToRealCol(s.Left);
        std::string v = FGrid.GetCellText(rc0, s.Top);
        bool state = false;
        if (FGrid.GetCheckBoxState(rc0, s.Top, state)) v = state ? FGrid.CheckTrue() : FGrid.CheckFalse();
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r) {
                if (!Editable(c, r)) continue;
                std::string value = v;
                if (!(c == s.Left && r == s.Top) && !Fires(c, r, value)) continue;
                FGrid.PasteCellText(c, r, value);
                FGrid.PastedCellsChanged(FGrid.ClipTopLeft(), gui::TRect{c, r, c, r}, TExStringGrid::TClipOperation::coCopy);
            }
        FGrid.AfterPaste();
    } else if (n >= 2 && (s.Left == s.Right || s.Top == s.Bottom)) {
        series = SeriesFill(s, n);
    }
    if (series || s.Bottom == s.Top || s.Right == s.Left) return;
    int l = 0, f = 0;
    if (fields == 1)
        for (int r = s.Top + 1; r <= s.Bottom; ++r) PasteClipboardAtCell(s.Left, r, l, f);
    if (lines == 1)
        for (int c = s.Left + 1; c <= s.Right; ++c) PasteClipboardAtCell(c, s.Top, l, f);
}

void TGridClipboard::PasteSelectionFromClipboard()
{
    FGrid.ImportNotification(TGridImportState::isImportStart, -1);
    FFullPaste = false;
    TGridClipboard(FGrid).ExpandSelectionToMergedCells();
    const gui::TGridRect s = FGrid.Selection();
    int lines = 0, fields = 0;
    const bool rowSelect = FGrid.Options().Contains(gui::TGridOption::goRowSelect);
    const int n = PasteClipboardAtCell(rowSelect ? FGrid.FixedCols() : s.Left, s.Top, lines, fields);
    const int cells = (s.Right - s.Left + 1) * (s.Bottom - s.Top + 1);
    if (FGrid.Navigation()->AllowSmartClipboard() && n - 1 != cells) SmartFill(s, n, lines, fields);
    FGrid.ImportNotification(TGridImportState::isImportDone, -1);
    FGrid.CalcFooter(-1);
}

} // namespace gridio
