// Sorting of TExStringGrid: the row comparison by sort style, the
// quicksorts by one column, by the sort index list and inside groups, the
// restore of the unsorted order, the row exchange and the text form of the
// sort settings.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <typeinfo>

#include "grid/ExGrid.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/Collation.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace grid {

namespace {

int Sign(double a, double b) { return a > b ? 1 : (a < b ? -1 : 0); }
int Sign(int v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

bool IsDigitAt(const std::string& s, int i)
{
    return i >= 0 && i < static_cast<int>(s.size()) && s[static_cast<std::size_t>(i)] >= '0' &&
           s[static_cast<std::size_t>(i)] <= '9';
}

// The first occurrence of sep stands at character 2 or 3 (1-based), before
// the last character, between two digits.
bool SeparatorLooksLikeDateOrTime(const std::string& s, char sep)
{
    const std::size_t p = s.find(sep);
    if (p == std::string::npos || (p != 1 && p != 2) || p + 1 >= s.size()) return false;
    const int i = static_cast<int>(p);
    return IsDigitAt(s, i - 1) && IsDigitAt(s, i + 1);
}

// Whole numbers of the text separated by sep (at most max parts); false
// when anything else stands between them.
bool SplitNumbers(std::string_view s, char sep, int max, std::vector<int>& parts)
{
    parts.clear();
    std::size_t i = 0;
    while (i < s.size()) {
        if (static_cast<int>(parts.size()) == max) return false;
        std::size_t j = i;
        int v = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9' && j - i < 9) v = v * 10 + (s[j++] - '0');
        if (j == i) return false;
        parts.push_back(v);
        if (j < s.size() && s[j] != sep) return false;
        i = j < s.size() ? j + 1 : j;
        if (j < s.size() && i == s.size()) return false;  // a trailing separator
    }
    return !parts.empty();
}

// A date in the order of FormatSettings().ShortDateFormat with its date
// separator; a two-digit year is taken as 1900 + year above 49, else 2000 + year.
bool TryStrToDate(std::string_view text, rtl::TDateTime& value)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    std::vector<int> p;
    if (!SplitNumbers(rtl::Trim(text), fs.DateSeparator, 3, p) || p.size() < 2) return false;
    // The order of day, month and year in the short date format.
    std::string order;
    for (char c : rtl::LowerCase(fs.ShortDateFormat))
        if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) order += c;
    if (order.size() != 3) order = "ymd";
    int y = 0, m = 0, d = 0;
    if (p.size() == 2) {
        // Without a year: the current year.
        int cy = 0, cm = 0, cd = 0;
        rtl::DecodeDate(rtl::Date(), cy, cm, cd);
        y = cy;
        std::string md = order;
        md.erase(md.find('y'), 1);
        (md[0] == 'm' ? m : d) = p[0];
        (md[1] == 'm' ? m : d) = p[1];
    } else {
        for (int k = 0; k < 3; ++k) (order[static_cast<std::size_t>(k)] == 'y' ? y : order[static_cast<std::size_t>(k)] == 'm' ? m : d) = p[static_cast<std::size_t>(k)];
        const std::size_t yi = order.find('y');
        int digits = 0;
        {
            // Count the digits the year was written with.
            std::string_view rest = text;
            for (std::size_t k = 0; k < yi; ++k) rest = rest.substr(rest.find(fs.DateSeparator) + 1);
            while (digits < static_cast<int>(rest.size()) && rest[static_cast<std::size_t>(digits)] >= '0' &&
                   rest[static_cast<std::size_t>(digits)] <= '9')
                ++digits;
        }
        if (digits <= 2) y += y > 49 ? 1900 : 2000;
    }
    return rtl::TryEncodeDate(y, m, d, value);
}

// h:n[:s[.zzz]] with the time separator, optionally followed by AM or PM.
bool TryStrToTime(std::string_view text, rtl::TDateTime& value)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    std::string s = rtl::Trim(text);
    int add = -1;  // -1 no marker, 0 am, 12 pm
    const std::string up = rtl::UpperCase(s);
    auto endsWith = [&](const std::string& m) {
        return !m.empty() && up.size() > m.size() && up.compare(up.size() - m.size(), m.size(), rtl::UpperCase(m)) == 0;
    };
    if (endsWith(fs.TimePMString)) {
        add = 12;
        s = rtl::Trim(s.substr(0, s.size() - fs.TimePMString.size()));
    } else if (endsWith(fs.TimeAMString)) {
        add = 0;
        s = rtl::Trim(s.substr(0, s.size() - fs.TimeAMString.size()));
    }
    int msec = 0;
    if (const std::size_t dot = s.find('.'); dot != std::string::npos) {
        const std::string z = s.substr(dot + 1);
        if (z.empty() || z.size() > 3 || z.find_first_not_of("0123456789") != std::string::npos) return false;
        msec = std::atoi(z.c_str()) * (z.size() == 1 ? 100 : z.size() == 2 ? 10 : 1);
        s.erase(dot);
    }
    std::vector<int> p;
    if (!SplitNumbers(s, fs.TimeSeparator, 3, p) || p.size() < 2) return false;
    int h = p[0];
    if (add >= 0) {
        if (h < 1 || h > 12) return false;
        h = h % 12 + add;
    }
    return rtl::TryEncodeTime(h, p[1], p.size() > 2 ? p[2] : 0, msec, value);
}

// A date, a time, or a date followed by a space and a time.
bool TryStrToDateTime(std::string_view text, rtl::TDateTime& value)
{
    const std::string s = rtl::Trim(text);
    rtl::TDateTime d = 0, t = 0;
    if (const std::size_t sp = s.find(' '); sp != std::string::npos) {
        if (!TryStrToDate(s.substr(0, sp), d) || !TryStrToTime(s.substr(sp + 1), t)) return false;
        value = d < 0 ? d - t : d + t;
        return true;
    }
    if (TryStrToDate(s, d)) {
        value = d;
        return true;
    }
    if (TryStrToTime(s, t)) {
        value = t;
        return true;
    }
    return false;
}

// A number text after prefix, suffix and (for money) thousands are taken
// out; an empty text is 0.  False when it does not convert.
bool SortNumber(std::string s, const std::string& prefix, const std::string& suffix, bool financial, double& v)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    if (!prefix.empty())
        if (const std::size_t p = s.find(prefix); p != std::string::npos) s.erase(p, prefix.size());
    if (!suffix.empty())
        if (const std::size_t p = s.find(suffix); p != std::string::npos) s.erase(p, suffix.size());
    if (financial) s.erase(std::remove(s.begin(), s.end(), fs.ThousandSeparator), s.end());
    if (fs.DecimalSeparator != '.')
        if (const std::size_t p = s.find(fs.DecimalSeparator); p != std::string::npos) s[p] = '.';
    v = 0;
    if (s.empty()) return true;
    return rtl::TryStrToFloat(s, v);
}

bool IsNumberClass(int c) { return c == gridbase::ntInteger || c == gridbase::ntDecimal || c == gridbase::ntExponent; }

} // namespace

// --- comparison ------------------------------------------------------------------

void TExStringGrid::SortCellData(int aCol, int aRow, std::string& text, TCellType& type)
{
    rtl::TObject* object = nullptr;
    const bool inside = aCol >= 0 && aRow >= 0 && aCol < StoreColCount() && aRow < RowCount();
    const std::string* stored = inside ? FindCellData(aCol, aRow, object) : nullptr;
    if ((object && dynamic_cast<TCellProperties*>(object)) || OnGetDisplWideText ||
        (aCol == 0 && FMouseActions->HotmailRowSelect())) {
        text = GetCellText(aCol, aRow);
        type = GetCellType(aCol, aRow);
        return;
    }
    text = stored ? *stored : std::string();
    if (inside && aRow < NormalRowCount()) DoGetDisplText(aCol, aRow, text);
    type = TCellType::ctEmpty;
}

bool TExStringGrid::IsIgnoredColumn(int aCol) const { return FIgnoreColumns->HasValue(aCol); }

int TExStringGrid::CompareCells(int aCol, int aRow1, int aRow2, TSortDirection direction)
{
    ++FCompares;
    const TSortSettings& ss = *FSortSettings;
    TSortStyle style = ss.AutoFormat() ? TSortStyle::ssAutomatic
                       : ss.IgnoreCase() ? TSortStyle::ssAlphaNoCase
                                         : TSortStyle::ssAlphabetic;
    std::string prefix, suffix;
    GetColumnFormat(aCol, style, prefix, suffix);
    std::string t1, t2;
    TCellType type1 = TCellType::ctEmpty, type2 = TCellType::ctEmpty;
    SortCellData(aCol, aRow1, t1, type1);
    SortCellData(aCol, aRow2, t2, type2);
    const TSortStyle plain = ss.IgnoreCase() ? TSortStyle::ssAlphaNoCase : TSortStyle::ssAlphabetic;

    if (style == TSortStyle::ssAutomatic) {
        const TCellType type = type1;
        if (type == TCellType::ctCheckBox || type == TCellType::ctDataCheckBox ||
            type == TCellType::ctVirtCheckBox || type == TCellType::ctRowCheckBox) {
            style = TSortStyle::ssCheckBox;
        } else if (IsNumberClass(gridbase::ClassifyNumberText(t1))) {
            style = TSortStyle::ssNumeric;
        } else {
            style = plain;
            const rtl::TFormatSettings& fs = rtl::FormatSettings();
            const std::size_t dp = t1.find(fs.DateSeparator);
            if (dp == 1 || dp == 2) {
                if (SeparatorLooksLikeDateOrTime(t1, fs.DateSeparator) &&
                    t2.find(fs.DateSeparator) != std::string::npos)
                    style = t1.find(fs.TimeSeparator) != std::string::npos ? TSortStyle::ssDateTime
                                                                            : TSortStyle::ssDate;
            } else if (SeparatorLooksLikeDateOrTime(t1, fs.TimeSeparator) &&
                       t2.find(fs.TimeSeparator) != std::string::npos) {
                style = TSortStyle::ssTime;
            }
        }
    }
    if (style == TSortStyle::ssAlphaNumeric || style == TSortStyle::ssAlphaNumericNoCase) {
        if (IsNumberClass(gridbase::ClassifyNumberText(t1)) && IsNumberClass(gridbase::ClassifyNumberText(t2)))
            style = TSortStyle::ssNumeric;
        else
            style = style == TSortStyle::ssAlphaNumeric ? TSortStyle::ssAlphabetic : TSortStyle::ssAlphaNoCase;
    }

    int r = 1;
    auto dateValue = [](const std::string& s) {
        rtl::TDateTime v = 0;
        if (s.empty() || !TryStrToDateTime(s, v)) return 0.0;
        return v;
    };
    switch (style) {
    case TSortStyle::ssAlphabetic:
    case TSortStyle::ssAlphaCase:
        r = Sign(t1.compare(t2));
        break;
    case TSortStyle::ssAlphaNoCase:
        r = Sign(rtl::AnsiUpperCase(t1).compare(rtl::AnsiUpperCase(t2)));
        if (r == 0) r = Sign(t1.compare(t2));
        break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial: {
        const bool fin = style == TSortStyle::ssFinancial;
        double v1 = 0, v2 = 0;
        const bool ok1 = SortNumber(t1, prefix, suffix, fin, v1);
        const bool ok2 = SortNumber(t2, prefix, suffix, fin, v2);
        if (!ok1) v1 = 0;
        if (!ok2) v2 = 0;
        r = !ok1 && !ok2 ? 0 : Sign(v1, v2);
        break;
    }
    case TSortStyle::ssDate:
    case TSortStyle::ssDateTime:
        r = Sign(dateValue(t1), dateValue(t2));
        break;
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS: {
        auto parse = [style](const std::string& s) {
            try {
                return style == TSortStyle::ssShortDateEU ? gridbase::ParseDMYDate(s) : gridbase::ParseMDYDate(s);
            } catch (const rtl::Exception&) {
                return 0.0;
            }
        };
        r = Sign(parse(t1), parse(t2));
        break;
    }
    case TSortStyle::ssTime: {
        auto tv = [](const std::string& s) {
            rtl::TDateTime v = 0;
            return TryStrToTime(s, v) ? v : 0.0;
        };
        r = Sign(tv(t1), tv(t2));
        break;
    }
    case TSortStyle::ssCustom: {
        r = 0;
        if (OnCustomCompare) {
            if (ss.SortOnVirtualCells()) OnCustomCompare(this, t1, t2, r);
            else OnCustomCompare(this, Cells(aCol, aRow1), Cells(aCol, aRow2), r);
        }
        break;
    }
    case TSortStyle::ssAnsiAlphaCase:
        r = rtl::CollateCompareStr(t1, t2);
        break;
    case TSortStyle::ssAnsiAlphaNoCase:
        r = rtl::CollateCompareText(t1, t2);
        break;
    case TSortStyle::ssRaw:
        r = 0;
        if (OnRawCompare) OnRawCompare(this, aCol, aRow1, aRow2, r);
        break;
    case TSortStyle::ssHTML: {
        std::string s1, s2;
        GetStrippedCellText(aCol, aRow1, s1);
        GetStrippedCellText(aCol, aRow2, s2);
        r = Sign(s1.compare(s2));
        break;
    }
    case TSortStyle::ssImages: {
        const intptr_t k1 = GetCellImageKey(aCol, aRow1), k2 = GetCellImageKey(aCol, aRow2);
        r = k1 > k2 ? 1 : (k1 == k2 ? 0 : -1);
        break;
    }
    case TSortStyle::ssCheckBox: {
        bool c1 = false, c2 = false;
        GetCheckBoxState(aCol, aRow1, c1);
        GetCheckBoxState(aCol, aRow2, c2);
        r = c1 && !c2 ? 1 : (c1 == c2 ? 0 : -1);
        break;
    }
    default:
        break;
    }

    if (ss.IgnoreBlanks()) {
        const bool last = ss.BlankPos() == TSortBlankPosition::blLast;
        const int s = direction == TSortDirection::sdAscending ? 1 : -1;
        if (t1.empty() && !t2.empty()) r = (last ? 1 : -1) * s;
        else if (t2.empty() && !t1.empty()) r = (last ? -1 : 1) * s;
    }
    return r;
}

int TExStringGrid::CompareRows(int aCol, int aRow1, int aRow2)
{
    // The tie-breaking columns are walked, not recursed into.
    for (;;) {
        const int r = IsIgnoredColumn(aCol) ? 0 : CompareCells(aCol, aRow1, aRow2, FSortSettings->Direction());
        if (r != 0 || !FSortSettings->Full() || aCol > ColCount() - 2) return r;
        ++aCol;
    }
}

int TExStringGrid::CompareRowsIndexed(int depth, int aRow1, int aRow2)
{
    for (; depth < FSortIndexes->Count(); ++depth) {
        const uint32_t entry = static_cast<uint32_t>(FSortIndexes->Items(depth));
        const int col = static_cast<int>(entry & gridbase::TSortIndexList::cColumnMask);
        const bool desc = (entry & gridbase::TSortIndexList::cDescendingBit) != 0;
        const int r = IsIgnoredColumn(col)
                          ? 0
                          : CompareCells(col, aRow1, aRow2, desc ? TSortDirection::sdDescending : TSortDirection::sdAscending);
        if (r != 0 || !FSortSettings->Full()) return desc ? -r : r;
    }
    return 0;
}

// --- the row exchange ---------------------------------------------------------------

void TExStringGrid::InitSortXRef()
{
    FSortRowXRef.resize(static_cast<std::size_t>(RowCount()));
    for (int i = 0; i < RowCount(); ++i) FSortRowXRef[static_cast<std::size_t>(i)] = i;
}

void TExStringGrid::SortSwapRows(int aRow1, int aRow2)
{
    ++FSwaps;
    if (aRow1 == aRow2) return;
    const int n = static_cast<int>(FSortRowXRef.size());
    if (aRow1 >= 0 && aRow2 >= 0 && aRow1 < n && aRow2 < n)
        std::swap(FSortRowXRef[static_cast<std::size_t>(aRow1)], FSortRowXRef[static_cast<std::size_t>(aRow2)]);
    if (FSortSettings->SingleColumn()) {
        const int c = RealColIndex(FSortSettings->Column());
        const std::string s1 = GetRawCellText(c, aRow1);
        rtl::TObject* o1 = GetRawObject(c, aRow1);
        rtl::TObject* o2 = GetRawObject(c, aRow2);
        SetRawCellText(c, aRow1, GetRawCellText(c, aRow2));
        SetRawCellText(c, aRow2, s1);
        SetRawObject(c, aRow1, o2);
        SetRawObject(c, aRow2, o1);
    } else {
        // Texts and objects of every stored column change places at once;
        // the property records learn their new row.
        ExchangeRowData(aRow1, aRow2);
        if (HasCellProps()) {
            const int cols = StoreColCount();
            for (int c = 0; c < cols; ++c) {
                if (auto* p = dynamic_cast<TCellProperties*>(GetRawObject(c, aRow1))) p->SetOwnerRow(aRow1);
                if (auto* p = dynamic_cast<TCellProperties*>(GetRawObject(c, aRow2))) p->SetOwnerRow(aRow2);
            }
        }
        const int h1 = RowHeights(aRow1), h2 = RowHeights(aRow2);
        if (h1 != h2) {
            SetRowHeights(aRow1, h2);
            SetRowHeights(aRow2, h1);
        }
        if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()) {
            const int a = NumHiddenRows() > 0 ? DisplayToRealRow(aRow1) : aRow1;
            const int b = NumHiddenRows() > 0 ? DisplayToRealRow(aRow2) : aRow2;
            const std::size_t need = static_cast<std::size_t>(std::max(a, b)) + 1;
            if (FRowSelect.size() < need) FRowSelect.resize(need, 0);
            std::swap(FRowSelect[static_cast<std::size_t>(a)], FRowSelect[static_cast<std::size_t>(b)]);
        }
        if (FShowModified->Enabled()) {
            const std::size_t need = static_cast<std::size_t>(std::max(aRow1, aRow2)) + 1;
            if (FModifiedRows.size() < need) FModifiedRows.resize(need, 0);
            std::swap(FModifiedRows[static_cast<std::size_t>(aRow1)], FModifiedRows[static_cast<std::size_t>(aRow2)]);
        }
    }
    if (FSortRow == aRow1) FSortRow = aRow2;
    else if (FSortRow == aRow2) FSortRow = aRow1;
}

// --- sort keys --------------------------------------------------------------------------

namespace {

// What CompareCells reads of one cell, read once before a sort: the text
// and what the comparisons derive from it.  The keys stand by row position
// and move with the rows, so that a comparison touches neither the cell
// store nor the number parser.
struct TSortKey {
    std::string Text;
    std::string Upper;     // AnsiUpperCase(Text), when case is ignored
    double Number = 0;     // SortNumber's value, 0 when the text does not convert
    bool NumberOk = false;
    bool IsNumber = false; // the text classifies as a number (automatic style)
    bool DateLike = false; // automatic style might take it for a date or time
    bool Slow = false;     // a cell with properties: CompareCells decides
};

struct TSortKeys {
    bool Automatic = false;
    bool IgnoreCase = false;
    std::vector<std::vector<TSortKey>> Columns;

    bool Has(std::size_t slot) const { return slot < Columns.size(); }
    const TSortKey& At(std::size_t slot, int row) const { return Columns[slot][static_cast<std::size_t>(row)]; }

    void Read(TExStringGrid& g, const std::vector<int>& cols, int left, int right, int pivot)
    {
        const TSortSettings& ss = *g.SortSettings();
        Automatic = ss.AutoFormat();
        IgnoreCase = ss.IgnoreCase();
        const rtl::TFormatSettings& fs = rtl::FormatSettings();
        Columns.assign(cols.size(), std::vector<TSortKey>(static_cast<std::size_t>(std::max(0, g.RowCount()))));
        for (std::size_t k = 0; k < cols.size(); ++k) {
            const int col = cols[k];
            for (int row = left; row <= right; ++row) {
                TSortKey& key = Columns[k][static_cast<std::size_t>(row)];
                // The plain branch of SortCellData.
                rtl::TObject* object = nullptr;
                const bool inside = col >= 0 && row >= 0 && col < g.StoreColCount() && row < g.RowCount();
                const std::string* stored = inside ? g.FindCellData(col, row, object) : nullptr;
                if (object && dynamic_cast<TCellProperties*>(object)) {
                    key.Slow = true;
                    continue;
                }
                if (stored) key.Text = *stored;
                if (IgnoreCase) key.Upper = rtl::AnsiUpperCase(key.Text);
                if (!Automatic) continue;
                key.IsNumber = IsNumberClass(gridbase::ClassifyNumberText(key.Text));
                double v = 0;
                key.NumberOk = SortNumber(key.Text, std::string(), std::string(), false, v);
                key.Number = key.NumberOk ? v : 0;
                const std::size_t dp = key.Text.find(fs.DateSeparator);
                key.DateLike = dp == 1 || dp == 2 ? SeparatorLooksLikeDateOrTime(key.Text, fs.DateSeparator)
                                                  : SeparatorLooksLikeDateOrTime(key.Text, fs.TimeSeparator);
            }
            if (pivot >= 0 && pivot < g.RowCount()) Columns[k][static_cast<std::size_t>(pivot)].Slow = true;
        }
    }
    void Swap(int a, int b)
    {
        for (auto& column : Columns) std::swap(column[static_cast<std::size_t>(a)], column[static_cast<std::size_t>(b)]);
    }
    void Copy(int from, int to)
    {
        for (auto& column : Columns) column[static_cast<std::size_t>(to)] = column[static_cast<std::size_t>(from)];
    }
};

// Whether CompareCells on this column depends only on the stored texts,
// so that keys read before the sort give its results: no handler or
// descendant supplies texts or formats, and rows swap the column's cells.
bool SortKeysUsable(TExStringGrid& g, int col)
{
    if (typeid(g) != typeid(TExStringGrid)) return false;
    if (g.OnGetFormat || g.OnGetDisplText || g.OnGetDisplWideText || g.VirtualCells()) return false;
    if (col < 0 || col >= g.StoreColCount()) return false;
    if (col == 0 && g.MouseActions()->HotmailRowSelect()) return false;
    if (col == 1 && g.Grouping()->ShowGroupCount() && g.NumNodes() > 0) return false;
    const TSortSettings& ss = *g.SortSettings();
    if (ss.SingleColumn() && g.RealColIndex(ss.Column()) != col) return false;
    return true;
}

// CompareCells(col, a, b, direction) from the keys, into r; false (and
// nothing counted) for cells the keys cannot decide: with properties, or
// possibly dates or times.
bool CompareKeyed(const TExStringGrid& g, const TSortKeys& keys, std::size_t slot, int a, int b,
                  TSortDirection direction, int& r)
{
    const TSortKey& k1 = keys.At(slot, a);
    const TSortKey& k2 = keys.At(slot, b);
    const TSortSettings& ss = *g.SortSettings();
    if (k1.Slow || k2.Slow || ss.AutoFormat() != keys.Automatic || ss.IgnoreCase() != keys.IgnoreCase ||
        (keys.Automatic && !k1.IsNumber && k1.DateLike))
        return false;
    if (keys.Automatic && k1.IsNumber) {
        r = !k1.NumberOk && !k2.NumberOk ? 0 : Sign(k1.Number, k2.Number);
    } else if (keys.IgnoreCase) {
        r = Sign(k1.Upper.compare(k2.Upper));
        if (r == 0) r = Sign(k1.Text.compare(k2.Text));
    } else {
        r = Sign(k1.Text.compare(k2.Text));
    }
    if (ss.IgnoreBlanks()) {
        const bool last = ss.BlankPos() == TSortBlankPosition::blLast;
        const int s = direction == TSortDirection::sdAscending ? 1 : -1;
        if (k1.Text.empty() && !k2.Text.empty()) r = (last ? 1 : -1) * s;
        else if (k2.Text.empty() && !k1.Text.empty()) r = (last ? -1 : 1) * s;
    }
    return true;
}

// The moves of a sort with keys: the keys follow the row swaps, and the
// pivot row's cells are copied only when a comparison needs them (keys
// decide most without).  Until then the partition's swaps are followed,
// so that the copy takes the row that was chosen.  Without keys, or when a
// swap moves only the sorted column, the copy is made at once.
struct TKeyedMoves {
    TSortKeys& Keys;
    const std::function<void(int)> CopyRow;  // CopyToPivotRow
    const int Row;                           // the pivot row
    const bool Lazy;
    // Whether a row compares equal in every column to an exact copy of
    // itself: no cell properties, no handlers and no row check boxes.
    const bool CopyEqual;
    int Source = -1;
    bool Pending = false;

    TKeyedMoves(const TExStringGrid& g, TSortKeys& keys, std::function<void(int)> copyRow)
        : Keys(keys), CopyRow(std::move(copyRow)), Row(g.RowCount() - 2),
          Lazy(keys.Has(0) && !g.SortSettings()->SingleColumn()),
          CopyEqual(Lazy && !g.HasCellProps() && !g.MouseActions()->HotmailRowSelect())
    {
    }
    void ChoosePivot(int source)
    {
        Pending = Lazy;
        Source = source;
        if (!Lazy) CopyRow(source);
        Keys.Copy(source, Row);
    }
    // After the grid swapped rows i and j.
    void Swapped(int i, int j)
    {
        Keys.Swap(i, j);
        if (!Pending) return;
        if (Source == i) Source = j;
        else if (Source == j) Source = i;
    }
    // Rows a and b are the pivot and the row it copies, in either order.
    bool Copies(int a, int b) const
    {
        return CopyEqual && Pending && ((a == Row && b == Source) || (b == Row && a == Source));
    }
    // Before a comparison that reads cells of rows a and b.
    void Need(int a, int b)
    {
        if (Pending && (a == Row || b == Row)) {
            Pending = false;
            CopyRow(Source);
        }
    }
    // One column's comparison of rows a and b: from the keys in slot (-1:
    // none) when they decide it, counted in compares; else cells(), the
    // cells' comparison, once the pivot row holds its cells.
    template <typename Cells>
    int Column(const TExStringGrid& g, int slot, int a, int b, TSortDirection direction, int& compares,
               const Cells& cells)
    {
        int r = 0;
        if (slot >= 0 && CompareKeyed(g, Keys, static_cast<std::size_t>(slot), a, b, direction, r)) {
            ++compares;
            return r;
        }
        Need(a, b);
        return cells();
    }
};

} // namespace

// --- quicksort ------------------------------------------------------------------------

// The pivot row is the second of the three scratch rows below the normal rows.
void TExStringGrid::CopyToPivotRow(int aRow)
{
    const int pivot = RowCount() - 2;
    const int cols = StoreColCount();
    const bool display = (OnGetDisplText || VirtualCells()) && FSortSettings->SortOnVirtualCells();
    for (int c = 0; c < cols; ++c) {
        SetRawCellText(c, pivot, display ? GetCellText(c, aRow) : GetRawCellText(c, aRow));
        SetRawObject(c, pivot, GetRawObject(c, aRow));
    }
}

// Hoare partitioning around the middle row, copied into the pivot row.
// The smaller part is sorted by a nested call and the larger one by the
// loop, so that the nesting stays below log2 of the row count.
template <typename TBefore>
static void QuickSortLoop(TExStringGrid& g, int left, int right, bool skipEqual, const TBefore& pivotAfter,
                          const TBefore& afterPivot, const std::function<bool(int, int)>& equalRows,
                          const std::function<void(int)>& copyPivot, const std::function<void(int, int)>& swapRows)
{
    while (left < right) {
        const int pivot = g.RowCount() - 2;
        copyPivot((left + right) / 2);
        int i = left, j = right;
        do {
            while (pivotAfter(pivot, i) && i < right) ++i;
            while (afterPivot(j, pivot) && left < j) --j;
            if (i <= j) {
                if (i != j && !(skipEqual && equalRows(i, j))) swapRows(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - left < right - i) {
            if (left < j) QuickSortLoop(g, left, j, skipEqual, pivotAfter, afterPivot, equalRows, copyPivot, swapRows);
            left = i;
        } else {
            if (i < right) QuickSortLoop(g, i, right, skipEqual, pivotAfter, afterPivot, equalRows, copyPivot, swapRows);
            right = j;
        }
    }
}

void TExStringGrid::QuickSortRange(int aCol, int left, int right)
{
    FSortDir = FSortSettings->Direction() == TSortDirection::sdDescending ? -1 : 1;
    const int dir = FSortDir;
    TSortKeys keys;
    if (SortKeysUsable(*this, aCol)) keys.Read(*this, {aCol}, left, right, RowCount() - 2);
    TKeyedMoves moves(*this, keys, [this](int r) { CopyToPivotRow(r); });
    // CompareRows, the first column's cells read from the keys.
    auto compare = [&](int a, int b) {
        int col = aCol;
        if (moves.Copies(a, b)) {
            // Equal in every column: only the comparisons are counted.
            for (;; ++col) {
                if (!IsIgnoredColumn(col)) ++FCompares;
                if (!FSortSettings->Full() || col > ColCount() - 2) return 0;
            }
        }
        for (;;) {
            int r = 0;
            if (!IsIgnoredColumn(col)) {
                const TSortDirection direction = FSortSettings->Direction();
                r = moves.Column(*this, col == aCol && keys.Has(0) ? 0 : -1, a, b, direction, FCompares,
                                 [&] { return CompareCells(col, a, b, direction); });
            }
            if (r != 0 || !FSortSettings->Full() || col > ColCount() - 2) return r;
            ++col;
        }
    };
    auto pivotAfter = [&compare, dir](int p, int i) { return compare(p, i) == dir; };
    auto afterPivot = [&compare, dir](int j, int p) { return compare(j, p) == dir; };
    QuickSortLoop(*this, left, right, true, std::function<bool(int, int)>(pivotAfter),
                  std::function<bool(int, int)>(afterPivot), [&compare](int i, int j) { return compare(i, j) == 0; },
                  [&moves](int r) { moves.ChoosePivot(r); },
                  [this, &moves](int i, int j) {
                      SortSwapRows(i, j);
                      moves.Swapped(i, j);
                  });
}

void TExStringGrid::QuickSortIndexedRange(int left, int right)
{
    FSortDir = FSortSettings->Direction() == TSortDirection::sdDescending ? -1 : 1;
    // The index entries' columns and directions; keys for the columns
    // that allow them.
    std::vector<int> cols;
    std::vector<bool> descending;
    for (int depth = 0; depth < FSortIndexes->Count(); ++depth) {
        const uint32_t entry = static_cast<uint32_t>(FSortIndexes->Items(depth));
        cols.push_back(static_cast<int>(entry & gridbase::TSortIndexList::cColumnMask));
        descending.push_back((entry & gridbase::TSortIndexList::cDescendingBit) != 0);
    }
    std::vector<int> keyed;
    for (int col : cols)
        if (SortKeysUsable(*this, col) && std::find(keyed.begin(), keyed.end(), col) == keyed.end())
            keyed.push_back(col);
    TSortKeys keys;
    if (!keyed.empty()) keys.Read(*this, keyed, left, right, RowCount() - 2);
    std::vector<int> slot(cols.size(), -1);
    for (std::size_t d = 0; d < cols.size(); ++d)
        for (std::size_t k = 0; k < keyed.size(); ++k)
            if (keyed[k] == cols[d]) slot[d] = static_cast<int>(k);
    TKeyedMoves moves(*this, keys, [this](int r) { CopyToPivotRow(r); });
    // CompareRowsIndexed(0, a, b) == 1, with the keys.
    auto after = [&](int a, int b) {
        if (moves.Copies(a, b)) {
            // Equal in every column: only the comparisons are counted.
            for (int col : cols) {
                if (!IsIgnoredColumn(col)) ++FCompares;
                if (!FSortSettings->Full()) return false;
            }
            return false;
        }
        for (std::size_t depth = 0; depth < cols.size(); ++depth) {
            const int col = cols[depth];
            const bool desc = descending[depth];
            const TSortDirection direction = desc ? TSortDirection::sdDescending : TSortDirection::sdAscending;
            int r = 0;
            if (!IsIgnoredColumn(col))
                r = moves.Column(*this, slot[depth], a, b, direction, FCompares,
                                 [&] { return CompareCells(col, a, b, direction); });
            if (r != 0 || !FSortSettings->Full()) return (desc ? -r : r) == 1;
        }
        return false;
    };
    QuickSortLoop(*this, left, right, false, std::function<bool(int, int)>(after),
                  std::function<bool(int, int)>(after), [](int, int) { return false; },
                  [&moves](int r) { moves.ChoosePivot(r); },
                  [this, &moves](int i, int j) {
                      SortSwapRows(i, j);
                      moves.Swapped(i, j);
                  });
}

namespace {

// Three scratch rows below the rows (the pivot row among them), taken away
// again however the sort ends.
struct TScratchRows {
    TExStringGrid& G;
    explicit TScratchRows(TExStringGrid& g) : G(g)
    {
        const int rows = G.RowCount();
        G.gui::TCustomGrid::SetRowCount(rows + 3);
        for (int r = rows; r < rows + 3; ++r) Empty(r);
        G.SetNormalRowCount(rows);
    }
    ~TScratchRows()
    {
        const int rows = G.RowCount() - 3;
        for (int r = rows; r < rows + 3; ++r) Empty(r);
        G.gui::TCustomGrid::SetRowCount(rows);
        G.SetNormalRowCount(rows);
    }
    // Objects there are only copies (or leftovers of removed rows): the
    // slots are emptied without freeing them.
    void Empty(int r)
    {
        for (int c = 0; c < G.StoreColCount(); ++c) {
            G.SetRawObject(c, r, nullptr);
            G.SetRawCellText(c, r, "");
        }
    }
};

} // namespace

void TExStringGrid::QuickSort(int aCol, int left, int right)
{
    TScratchRows scratch(*this);
    QuickSortRange(aCol, left, right);
}

void TExStringGrid::QuickSortIndexed(int left, int right)
{
    TScratchRows scratch(*this);
    QuickSortIndexedRange(left, right);
}

void TExStringGrid::SortFrame(TSortKind kind, bool indexedGroups)
{
    if (static_cast<int>(FSortRowXRef.size()) != RowCount()) InitSortXRef();
    if (kind == TSortKind::skColumn) FSortIndexes->Clear();
    const int rows = RowCount();
    // Column 0 of a grid with fixed columns stays with NormalCellsOnly.
    const bool keep0 = FSortSettings->NormalCellsOnly() && FixedCols() > 0;
    std::vector<std::string> texts0;
    std::vector<rtl::TObject*> objects0;
    if (keep0)
        for (int r = 0; r < rows; ++r) {
            texts0.push_back(GetRawCellText(0, r));
            objects0.push_back(GetRawObject(0, r));
        }
    const int top = TopRow();
    const int oldRow = Row();
    BeginUpdate();
    struct TRestore {
        TExStringGrid& G;
        std::vector<std::string>& Texts;
        std::vector<rtl::TObject*>& Objects;
        int Top;
        ~TRestore()
        {
            if (!Texts.empty()) {
                for (int r = 0; r < static_cast<int>(Texts.size()); ++r) G.SetRawObject(0, r, nullptr);
                for (int r = 0; r < static_cast<int>(Texts.size()); ++r) {
                    G.SetRawCellText(0, r, Texts[static_cast<std::size_t>(r)]);
                    G.SetRawObject(0, r, Objects[static_cast<std::size_t>(r)]);
                    if (auto* p = dynamic_cast<TCellProperties*>(Objects[static_cast<std::size_t>(r)]))
                        p->SetOwnerRow(r);
                }
            }
            if (G.Navigation()->KeepScrollOnSort()) G.SetTopRow(std::min(Top, std::max(0, G.RowCount() - 1)));
            G.EndUpdate();
        }
    } restore{*this, texts0, objects0, top};
    FSortRow = oldRow;
    const int first = FixedRows(), last = rows - FFixedFooters - 1;
    {
        TScratchRows scratch(*this);
        if (FNavigation->MoveRowOnSort()) FSortRow = oldRow;
        switch (kind) {
        case TSortKind::skColumn:
            FBlockCellChange = true;
            if (first < last) QuickSortRange(FSortSettings->Column(), first, last);
            break;
        case TSortKind::skIndexed:
            if (first < last) QuickSortIndexedRange(first, last);
            break;
        case TSortKind::skGroups: {
            int deepest = 0;
            for (int r = first; r < rows; ++r)
                if (IsNode(r)) deepest = std::max(deepest, GetNodeLevel(r));
            for (int r = first; r < rows; ++r) {
                if (!IsNode(r) || GetNodeLevel(r) != deepest || GetNodeState(r)) continue;
                const int span = GetNodeSpan(r);
                if (span < 3) continue;
                const int to = std::min(r + span - 1, last);
                if (indexedGroups) QuickSortIndexedRange(r + 1, to);
                else QuickSortRange(FSortSettings->Column(), r + 1, to);
            }
            break;
        }
        }
        FBlockCellChange = false;
    }
    const bool skipRow = kind == TSortKind::skColumn && FMouseActions->DisjunctRowSelect();
    if (!skipRow) {
        const bool entered = FEntered;
        FEntered = false;
        if (FNavigation->MoveRowOnSort()) {
            if (FSortRow >= 0 && FSortRow < RowCount()) SetRow(FSortRow);
            FOldRowSel = -1;
        } else if (oldRow >= 0 && oldRow < RowCount()) {
            SetRow(oldRow);
        }
        FEntered = entered;
    }
    if (kind == TSortKind::skColumn && OnRowChanged && !FNavigation->MoveRowOnSort())
        OnRowChanged(this, oldRow, Row());
}

void TExStringGrid::QSort()
{
    if (FSortSettings->Column() < 0) return;
    SortFrame(TSortKind::skColumn, false);
}

void TExStringGrid::QSortIndexed()
{
    if (static_cast<int>(FSortRowXRef.size()) != RowCount()) InitSortXRef();
    if (FSortIndexes->Count() == 0) throw ZEziDoroZezuz("No indexes specified for indexed sort");
    SortFrame(TSortKind::skIndexed, false);
}

void TExStringGrid::SortWithinGroups(bool indexed)
{
    if (indexed && FSortIndexes->Count() == 0) throw ZEziDoroZezuz("No indexes specified for indexed sort");
    if (!indexed && FSortSettings->Column() < 0) return;
    SortFrame(TSortKind::skGroups, indexed);
}

void TExStringGrid::QUnSort()
{
    // Rows added or removed since the last sort leave nothing to restore.
    if (static_cast<int>(FSortRowXRef.size()) != RowCount()) return;
    FUnSortRowXRef = FSortRowXRef;
    const bool keep0 = FSortSettings->NormalCellsOnly() && FixedCols() > 0;
    std::vector<std::string> texts0;
    std::vector<rtl::TObject*> objects0;
    if (keep0)
        for (int r = 0; r < RowCount(); ++r) {
            texts0.push_back(GetRawCellText(0, r));
            objects0.push_back(GetRawObject(0, r));
        }
    BeginUpdate();
    struct TRestore {
        TExStringGrid& G;
        std::vector<std::string>& Texts;
        std::vector<rtl::TObject*>& Objects;
        ~TRestore()
        {
            for (int r = 0; r < static_cast<int>(Texts.size()); ++r) G.SetRawObject(0, r, nullptr);
            for (int r = 0; r < static_cast<int>(Texts.size()); ++r) {
                G.SetRawCellText(0, r, Texts[static_cast<std::size_t>(r)]);
                G.SetRawObject(0, r, Objects[static_cast<std::size_t>(r)]);
            }
            G.EndUpdate();
        }
    } restore{*this, texts0, objects0};
    // A quicksort on the remembered positions; the smaller part nests.
    std::vector<int>& x = FUnSortRowXRef;
    std::function<void(int, int)> range = [&](int left, int right) {
        while (left < right) {
            const int pv = x[static_cast<std::size_t>((left + right) / 2)];
            int i = left, j = right;
            do {
                while (x[static_cast<std::size_t>(i)] < pv && i < right) ++i;
                while (x[static_cast<std::size_t>(j)] > pv && left < j) --j;
                if (i <= j) {
                    if (i != j && x[static_cast<std::size_t>(i)] != x[static_cast<std::size_t>(j)]) {
                        SortSwapRows(i, j);
                        std::swap(x[static_cast<std::size_t>(i)], x[static_cast<std::size_t>(j)]);
                    }
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (j - left < right - i) {
                if (left < j) range(left, j);
                left = i;
            } else {
                if (i < right) range(i, right);
                right = j;
            }
        }
    };
    range(0, RowCount() - 1);
}

void TExStringGrid::Sort(int aCol, TSortDirection direction)
{
    FSortSettings->SetColumn(aCol);
    FSortSettings->SetDirection(direction);
    QSort();
}

void TExStringGrid::SortByColumn(int aCol)
{
    if (RowCount() <= 1) return;
    FSortSettings->SetColumn(aCol);
    QSort();
}

bool TExStringGrid::SortLine(int aCol, int aRow1, int aRow2)
{
    for (;;) {
        const int r = CompareCells(aCol, aRow1, aRow2, FSortSettings->Direction());
        if (r == FSortDir) {
            SortSwapRows(aRow1, aRow2);
            return true;
        }
        if (r != 0) return false;
        if (aCol >= ColCount() + NumHiddenColumns() - 1) return false;
        ++aCol;
    }
}

// --- sorting by a header click ---------------------------------------------------------

bool TExStringGrid::HeaderClickSort(int x, int y, gui::TShiftState shift, bool moveEnded)
{
    if (FDblClk) {
        FDblClk = false;
        return false;
    }
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    if (c < 0 || r < 0) return false;
    const int rc = RealColIndex(c);
    const gui::TRect cr = gui::TCustomGrid::CellRect(c, r);
    // Releases on a column border size the column; the filter and drop-down buttons have their own click.
    if (r == 0 && Options().Contains(gui::TGridOption::goColSizing) && (x - cr.Left < 3 || cr.Right - x < 3))
        return false;
    if (cr.Right - x < 16 && (FControlLook->FixedDropDownButton() || GetColumnFilter(rc))) return false;
    TSortSettings& ss = *FSortSettings;
    const bool condition = r == ss.Row() && FPressCell.Y == r && FixedRows() > 0 && !IsInCheckBox(rc, r, x, y) &&
                           ss.Show() && !moveEnded && RowCount() > 2;
    if (!condition) return false;
    bool doSort = !IsIgnoredColumn(rc);
    if (OnCanSort) OnCanSort(this, rc, doSort);
    if (!doSort) {
        RepaintCell(rc, ss.Row());
        return false;
    }
    HideEditor();
    if (static_cast<int>(FSortRowXRef.size()) != RowCount()) InitSortXRef();
    const uint64_t start = gui::TTimer::ClockNow();
    const bool keepLeft = Options().Contains(gui::TGridOption::goRowSelect) && FNavigation->KeepHorizScroll();
    const int left = LeftCol();
    if (keepLeft) BeginUpdate();
    const bool initAscending = ss.InitSortDirection() == TSortDirection::sdAscending;
    if (ss.IndexShow()) {
        gridbase::TSortIndexList& list = *FSortIndexes;
        if (shift.Contains(gui::TShiftStateItem::ssShift)) {
            if (list.FindIndex(rc) < 0) list.AddIndex(rc, initAscending);
            else list.ToggleIndex(rc);
        } else if (list.Count() == 1 && list.GetIndexColumn(0) == rc) {
            list.ToggleIndex(rc);
        } else {
            list.Clear();
            list.AddIndex(rc, initAscending);
        }
        if (HasNodes()) QSortGroupIndexed();
        else QSortIndexed();
        ss.SetColumn(list.Count() > 0 ? list.GetIndexColumn(0) : -1);
    } else {
        bool undo = false;
        if (ss.Column() == rc) {
            if (ss.Direction() != ss.InitSortDirection() && ss.UndoSort()) {
                undo = true;
                QUnSort();
                ss.SetColumn(-1);
                ss.SetDirection(ss.InitSortDirection());
            } else {
                ss.SetDirection(ss.Direction() == TSortDirection::sdAscending ? TSortDirection::sdDescending
                                                                              : TSortDirection::sdAscending);
            }
        } else {
            ss.SetDirection(ss.InitSortDirection());
            ss.SetColumn(rc);
        }
        if (!undo) {
            if (HasNodes()) QSortGroup();
            else QSort();
        }
    }
    if (keepLeft) {
        SetLeftCol(left);
        EndUpdate();
    }
    FSortTime = static_cast<int>(gui::TTimer::ClockNow() - start);
    Invalidate();
    if (OnClickSort) OnClickSort(this, ss.Column());
    return true;
}

// --- the text form of the sort settings -------------------------------------------------

std::string TSortSettings::SaveToString() const
{
    if (IndexShow()) return "i;" + (FOwnerGrid ? FOwnerGrid->SortIndexes()->SaveToString() : std::string());
    return (Direction() == TSortDirection::sdDescending ? "d" : "u") + std::to_string(Column());
}

void TSortSettings::LoadFromString(const std::string& value)
{
    if (value.empty()) return;
    SetShow(true);
    if (value.size() < 2) throw rtl::Exception("Invalid sort settings specifier");
    if (value.find("i;") != std::string::npos) {
        SetIndexShow(true);
        if (FOwnerGrid) {
            FOwnerGrid->SortIndexes()->LoadFromString(value.substr(2));
            FOwnerGrid->QSortIndexed();
        }
        return;
    }
    SetIndexShow(false);
    SetDirection(value.find('u') != std::string::npos ? TSortDirection::sdAscending : TSortDirection::sdDescending);
    const std::string rest = value.substr(1);
    char* end = nullptr;
    const long col = std::strtol(rest.c_str(), &end, 10);
    if (rest.empty() || *end != '\0') return;
    SetColumn(static_cast<int>(col));
    if (FOwnerGrid) FOwnerGrid->QSort();
}

void TSortSettings::SetShow(bool v)
{
    if (FShow == v) return;
    FShow = v;
    if (FOwnerGrid) FOwnerGrid->Invalidate();
}

void TSortSettings::RepaintHeader()
{
    if (FOwnerGrid && FOwnerGrid->FixedRows() > 0) FOwnerGrid->RepaintRow(FOwnerGrid->FixedRows() - 1);
}

void TSortSettings::SetHeaderColor(TColor v)
{
    if (FHeaderColor == v) return;
    FHeaderColor = v;
    RepaintHeader();
}

void TSortSettings::SetHeaderColorTo(TColor v)
{
    if (FHeaderColorTo == v) return;
    FHeaderColorTo = v;
    RepaintHeader();
}

void TSortSettings::SetHeaderMirrorColor(TColor v)
{
    if (FHeaderMirrorColor == v) return;
    FHeaderMirrorColor = v;
    RepaintHeader();
}

void TSortSettings::SetHeaderMirrorColorTo(TColor v)
{
    if (FHeaderMirrorColorTo == v) return;
    FHeaderMirrorColorTo = v;
    RepaintHeader();
}

void TSortSettings::Remove()
{
    SetColumn(-1);
    if (!FOwnerGrid) return;
    FOwnerGrid->SortIndexes()->Clear();
    if (FOwnerGrid->FixedRows() > 0) FOwnerGrid->RepaintRow(FOwnerGrid->FixedRows() - 1);
}

void TSortSettings::SetSortRow(int v)
{
    if (FOwnerGrid && v > FOwnerGrid->FixedRows())
        throw rtl::Exception("Sort row should be smaller than number of fixed rows");
    SetRow(v);
}

} // namespace grid
