// Sorting of TExStringGrid: the cell data a sort reads, and the comparison
// of two rows by one column (by the cell's sort style), by the tie-breaking
// columns and by the sort index list.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <typeinfo>

#include "grid/ExGrid.h"
#include "grid/ExGridSortText.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/Collation.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace grid {

using namespace sorttext;

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

} // namespace grid
