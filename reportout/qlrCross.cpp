// The cross-tab's matrix: key collections kept sorted by bisection (or in
// arrival or grouping order), per-row cell chains, adding records, and the
// subtotal and grand-total rows and columns with their computed values.
#include "reportout/qlrCross.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace qlr {

namespace {

const std::string kTotalMark = "@@@";
const std::string kCrLf = "\r\n";

// Relation of a and b; a number against a text the Variant type cannot
// compare falls back to comparing their texts.
rtl::TVariantRelationship Relation(const rtl::Variant& a, const rtl::Variant& b)
{
    try {
        return rtl::VarCompareValue(a, b);
    } catch (const rtl::Exception&) {
        const std::string x = rtl::VarToStr(a), y = rtl::VarToStr(b);
        return x == y ? rtl::TVariantRelationship::vrEqual
                      : (x < y ? rtl::TVariantRelationship::vrLessThan : rtl::TVariantRelationship::vrGreaterThan);
    }
}

bool VarEquals(const rtl::Variant& a, const rtl::Variant& b)
{
    if (a.IsNull() || b.IsNull()) return a.IsNull() && b.IsNull();
    return Relation(a, b) == rtl::TVariantRelationship::vrEqual;
}

// Variant addition that keeps the left value when the two cannot add.
rtl::Variant AddValues(const rtl::Variant& a, const rtl::Variant& b)
{
    try {
        return a + b;
    } catch (const rtl::Exception&) {
        return a;
    }
}

bool AllNull(const TqlrVariantArray& a)
{
    return std::all_of(a.begin(), a.end(), [](const rtl::Variant& v) { return v.IsNull(); });
}

TqlrVariantArray Padded(const TqlrVariantArray& a, int n)
{
    TqlrVariantArray r(static_cast<std::size_t>(std::max(n, 0)), rtl::Variant::Null());
    for (std::size_t i = 0; i < r.size() && i < a.size(); ++i) r[i] = a[i];
    return r;
}

} // namespace

// ------------------------------------------------------------ key collections

int TqlrIndexCollection::Compare(const TqlrVariantArray& a, const TqlrVariantArray& k) const
{
    int result = 1;
    for (int i = 0; i < FIndexesCount; ++i) {
        const rtl::Variant& ai = a[static_cast<std::size_t>(i)];
        const rtl::Variant& ki = k[static_cast<std::size_t>(i)];
        if (VarEquals(ai, ki)) {
            // Equal for the Variant type but distinct texts ("abc", "ABC")
            // are distinct keys.
            if (ki.IsString() && rtl::VarToStr(ai) != rtl::VarToStr(ki)) return -1;
            result = 0;
            continue;
        }
        if (result == 0 && FSortOrder[0] == TqlrCrossSortOrder::soGrouping) return i + 2;
        const bool asc = FSortOrder[static_cast<std::size_t>(i)] == TqlrCrossSortOrder::soAscending;
        if (ki.IsNull()) return asc ? 1 : -1;
        if (ai.IsNull()) return asc ? -1 : 1;
        const rtl::TVariantRelationship rel = Relation(ai, ki);
        if (rel == rtl::TVariantRelationship::vrGreaterThan) return asc ? 1 : -1;
        if (rel == rtl::TVariantRelationship::vrLessThan) return asc ? -1 : 1;
    }
    return result;
}

bool TqlrIndexCollection::Find(const TqlrVariantArray& indexes, int& index) const
{
    const TqlrVariantArray key = Padded(indexes, FIndexesCount);
    const TqlrCrossSortOrder first = FSortOrder[0];
    if (first == TqlrCrossSortOrder::soNone || first == TqlrCrossSortOrder::soGrouping) {
        index = Count();
        int best = 0;
        for (int i = 0; i < Count(); ++i) {
            const int c = Compare(Items(i)->FIndexes, key);
            if (c == 0) {
                index = i;
                return true;
            }
            if (c > 2 && c >= best) {
                index = i + 1;
                best = c;
            }
        }
        return false;
    }
    int low = 0, high = Count() - 1;
    bool found = false;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int c = Compare(Items(middle)->FIndexes, key);
        if (c < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (c == 0) {
                found = true;
                low = middle;
            }
        }
    }
    index = low;
    return found;
}

TqlrIndexItem* TqlrIndexCollection::InsertItem(int index, const TqlrVariantArray& indexes)
{
    std::unique_ptr<TqlrIndexItem> item = NewItem();
    item->FIndexes = Padded(indexes, FIndexesCount);
    TqlrIndexItem* raw = item.get();
    if (index < 0) index = 0;
    if (index >= Count())
        FItems.push_back(std::move(item));
    else
        FItems.insert(FItems.begin() + index, std::move(item));
    return raw;
}

TqlrIndexItem* TqlrCrossColumns::InsertItem(int index, const TqlrVariantArray& indexes)
{
    auto* c = static_cast<TqlrCrossColumn*>(TqlrIndexCollection::InsertItem(index, indexes));
    c->FCellIndex = Count() - 1;
    return c;
}

TqlrCrossColumn* TqlrCrossColumns::Column(const TqlrVariantArray& indexes)
{
    int i = 0;
    if (Find(indexes, i)) return Items(i);
    return static_cast<TqlrCrossColumn*>(InsertItem(i, indexes));
}

TqlrIndexItem* TqlrCrossRows::InsertItem(int index, const TqlrVariantArray& indexes)
{
    auto* r = static_cast<TqlrCrossRow*>(TqlrIndexCollection::InsertItem(index, indexes));
    r->FCellLevels = FCellLevels;
    return r;
}

TqlrCrossRow* TqlrCrossRows::Row(const TqlrVariantArray& indexes)
{
    int i = 0;
    if (Find(indexes, i)) return Items(i);
    return static_cast<TqlrCrossRow*>(InsertItem(i, indexes));
}

TqlrCellChain* TqlrCrossRow::GetCell(int index)
{
    if (index < 0) return nullptr;
    if (index >= static_cast<int>(FCells.size()))
        FCells.resize(static_cast<std::size_t>(index) + 1,
                      TqlrCellChain(static_cast<std::size_t>(std::max(FCellLevels, 0))));
    return &FCells[static_cast<std::size_t>(index)];
}

rtl::Variant TqlrCrossRow::GetCellValue(int index1, int index2) const
{
    if (index1 < 0 || index1 >= static_cast<int>(FCells.size())) return rtl::Variant::Null();
    const TqlrCellChain& chain = FCells[static_cast<std::size_t>(index1)];
    if (index2 < 0 || index2 >= static_cast<int>(chain.size())) return rtl::Variant::Null();
    return chain[static_cast<std::size_t>(index2)].Value;
}

void TqlrCrossRow::SetCellValue(int index1, int index2, const rtl::Variant& value)
{
    TqlrCellChain* chain = GetCell(index1);
    if (!chain || index2 < 0 || index2 >= static_cast<int>(chain->size())) return;
    TqlrCrossCell& cell = (*chain)[static_cast<std::size_t>(index2)];
    cell.Value = cell.Value.IsNull() ? value : AddValues(cell.Value, value);
}

// ------------------------------------------------------------------ the matrix

std::vector<TqlrCrossFunction> TqlrCustomCrossView::Functions() const
{
    return {FCellFunctions.begin(), FCellFunctions.begin() + std::clamp(FCellLevels, 0, kCrossMaxLevels)};
}

void TqlrCustomCrossView::AddValue(const TqlrVariantArray& rows, const TqlrVariantArray& columns,
                                   const TqlrVariantArray& cells)
{
    if (!IsCrossValid()) throw rtl::Exception("Cross-tab is not valid");
    if (!FRows) return;
    const TqlrVariantArray r = Padded(rows, FRowLevels), c = Padded(columns, FColumnLevels),
                           v = Padded(cells, FCellLevels);
    if (SuppressNullRecords && AllNull(r) && AllNull(c) && AllNull(v)) return;
    const TqlrVariantArray nullKey{rtl::Variant::Null()};
    TqlrCrossColumn* column = FColumns->Column(FNoColumns ? nullKey : c);
    TqlrCrossRow* row = FRows->Row(FNoRows ? nullKey : r);
    TqlrCellChain* chain = row->GetCell(column->FCellIndex);
    for (int i = 0; i < FCellLevels && i < static_cast<int>(chain->size()); ++i) {
        rtl::Variant value = v[static_cast<std::size_t>(i)];
        if (FCellFunctions[static_cast<std::size_t>(i)] == TqlrCrossFunction::cfCount)
            value = rtl::Variant(value.IsNull() ? 0 : 1);
        TqlrCrossCell& cell = (*chain)[static_cast<std::size_t>(i)];
        if (cell.Value.IsNull()) {
            cell.Value = value;
        } else if (value.IsNull()) {
            // Adding nothing keeps what the cell holds (Null would wipe it).
        } else if (cell.Value.IsString()) {
            const std::string x = rtl::VarToStr(cell.Value), s = rtl::VarToStr(value);
            if (!AllowDuplicates && (kCrLf + x + kCrLf).find(kCrLf + s + kCrLf) != std::string::npos) continue;
            cell.Value = rtl::Variant(x + kCrLf + s);
        } else {
            cell.Value = AddValues(cell.Value, value);
        }
    }
}

rtl::Variant TqlrCustomCrossView::GetValue(int aRow, int aColumn, int aCell)
{
    if (!FRows || aRow < 0 || aRow >= FRows->Count() || aColumn < 0 || aColumn >= FColumns->Count())
        return rtl::Variant::Null();
    TqlrCellChain* chain = FRows->Items(aRow)->GetCell(FColumns->Items(aColumn)->FCellIndex);
    if (!chain || aCell < 0 || aCell >= static_cast<int>(chain->size())) return rtl::Variant::Null();
    return (*chain)[static_cast<std::size_t>(aCell)].Value;
}

int TqlrCustomCrossView::RowCount() const { return FRows ? FRows->Count() : 0; }
int TqlrCustomCrossView::ColCount() const { return FColumns ? FColumns->Count() : 0; }

namespace {

rtl::Variant KeyOf(const TqlrIndexCollection* c, int i)
{
    if (!c || i < 0 || i >= c->Count()) return rtl::Variant::Null();
    return rtl::VarArrayOf(c->Items(i)->FIndexes);
}

bool IsTotalItem(const TqlrIndexCollection* c, int i)
{
    if (!c || i < 0 || i >= c->Count()) return false;
    for (const rtl::Variant& v : c->Items(i)->FIndexes)
        if (rtl::VarToStr(v) == kTotalMark) return true;
    return false;
}

} // namespace

rtl::Variant TqlrCustomCrossView::GetRowIndexes(int aRow) const { return KeyOf(FRows.get(), aRow); }
rtl::Variant TqlrCustomCrossView::GetColumnIndexes(int aColumn) const { return KeyOf(FColumns.get(), aColumn); }
bool TqlrCustomCrossView::IsTotalRow(int index) const { return IsTotalItem(FRows.get(), index); }
bool TqlrCustomCrossView::IsTotalColumn(int index) const { return IsTotalItem(FColumns.get(), index); }
bool TqlrCustomCrossView::IsGrandTotalRow(int index) const { return index + 1 == RowCount(); }
bool TqlrCustomCrossView::IsGrandTotalColumn(int index) const { return index + 1 == ColCount(); }

// ---------------------------------------------------------------------- totals

void TqlrCustomCrossView::InsertTotals(TqlrCrossHeader* tree, TqlrIndexCollection* items, bool showGrand,
                                       const std::vector<TqlrCustomMemoView*>& totalMemos)
{
    if (items->Count() == 0) return;
    const bool unsorted = items->FSortOrder[0] == TqlrCrossSortOrder::soNone;
    const int n = items->FIndexesCount;
    TqlrVariantArray last = items->Items(0)->FIndexes;
    int i = 0;
    auto visibleTotal = [&](int k) {
        return k >= 0 && k < static_cast<int>(totalMemos.size()) && totalMemos[static_cast<std::size_t>(k)]->Visible();
    };
    auto emitGroupTotals = [&](const TqlrVariantArray& cur) {
        int j = -1;
        for (int l = 0; l < n; ++l)
            if (!VarEquals(last[static_cast<std::size_t>(l)], cur[static_cast<std::size_t>(l)])) {
                j = l;
                break;
            }
        if (j < 0) return;
        for (int k = n - 1; k >= j + 1; --k) {
            if (!visibleTotal(k)) continue;
            std::string s;
            for (const std::u16string& line : totalMemos[static_cast<std::size_t>(k)]->Lines())
                s += rtl::UTF16ToUTF8(line) + kCrLf;
            const std::string upper = rtl::UpperCase(s);
            const std::size_t at = upper.find("[VALUE]");
            if (at != std::string::npos) s.replace(at, 7, rtl::VarToStr(last[static_cast<std::size_t>(k - 1)]));
            last[static_cast<std::size_t>(k)] = rtl::Variant(kTotalMark + s);
            tree->AddValues(last, unsorted);
            last[static_cast<std::size_t>(k)] = rtl::Variant(kTotalMark);
            items->InsertItem(i, last);
            ++i;
        }
    };
    while (i < items->Count()) {
        const TqlrVariantArray cur = items->Items(i)->FIndexes;
        emitGroupTotals(cur);
        tree->AddValues(cur, unsorted);
        last = cur;
        ++i;
    }
    emitGroupTotals(TqlrVariantArray(static_cast<std::size_t>(n), rtl::Variant::Null()));
    if (showGrand && visibleTotal(0)) {
        std::string s;
        for (const std::u16string& line : totalMemos[0]->Lines()) s += rtl::UTF16ToUTF8(line) + kCrLf;
        last[0] = rtl::Variant(kTotalMark + s);
        tree->AddValues(last, unsorted);
        last[0] = rtl::Variant(kTotalMark);
        items->InsertItem(i, last);
    }
}

void TqlrCustomCrossView::ComputeTotals(TqlrCrossHeader* tree, bool columnPass)
{
    const std::vector<TqlrCrossFunction> funcs = Functions();
    const std::vector<TqlrCrossHeader*> leaves = tree->TerminalItems();
    std::vector<TqlrCrossHeader*> all = tree->AllItems();
    all.push_back(tree);
    TqlrIndexCollection* iterated = columnPass ? static_cast<TqlrIndexCollection*>(FRows.get()) : FColumns.get();
    const int crossed = columnPass ? FColumns->Count() : FRows->Count();
    const std::size_t levels = funcs.size();
    TqlrVariantArray values(levels);
    std::vector<int> counts(levels);
    for (int i = 0; i < iterated->Count(); ++i) {
        for (TqlrCrossHeader* node : all) node->ResetFuncValues(funcs);
        for (int j = 0; j < static_cast<int>(leaves.size()) && j < crossed; ++j) {
            TqlrCrossRow* row = FRows->Items(columnPass ? i : j);
            TqlrCellChain* chain = row->GetCell(FColumns->Items(columnPass ? j : i)->FCellIndex);
            TqlrCrossHeader* leaf = leaves[static_cast<std::size_t>(j)];
            if (!leaf->FIsTotal) {
                for (std::size_t k = 0; k < levels && k < chain->size(); ++k) {
                    TqlrCrossCell& cell = (*chain)[k];
                    values[k] = cell.Value;
                    counts[k] = cell.Count;
                    if (!columnPass && funcs[k] == TqlrCrossFunction::cfAvg && cell.Count != 0) {
                        try {
                            cell.Value = cell.Value / rtl::Variant(cell.Count);
                        } catch (const rtl::Exception&) {
                        }
                    }
                }
                for (TqlrCrossHeader* node = leaf; node; node = node->FParent)
                    node->AccumulateFuncValues(funcs, values, counts);
            } else if (TqlrCrossHeader* parent = leaf->FParent) {
                for (std::size_t k = 0; k < levels && k < chain->size(); ++k) {
                    TqlrCrossCell& cell = (*chain)[k];
                    cell.Value = parent->FFuncValues[k];
                    cell.Count = parent->FCounts[k].IsNull() ? 0 : parent->FCounts[k].AsInteger();
                    if (!columnPass && funcs[k] == TqlrCrossFunction::cfAvg) {
                        try {
                            cell.Value = cell.Count != 0 ? cell.Value / rtl::Variant(cell.Count) : rtl::Variant(0);
                        } catch (const rtl::Exception&) {
                        }
                    }
                    if (columnPass && funcs[k] == TqlrCrossFunction::cfCount && !cell.Value.IsNull()) {
                        try {
                            cell.Count = cell.Value.AsInteger();
                        } catch (const rtl::Exception&) {
                        }
                    }
                }
            }
        }
    }
}

void TqlrCrossHeader::ResetFuncValues(const std::vector<TqlrCrossFunction>& funcs)
{
    FFuncValues.assign(funcs.size(), rtl::Variant::Null());
    FCounts.assign(funcs.size(), rtl::Variant(0));
    for (std::size_t k = 0; k < funcs.size(); ++k)
        if (funcs[k] == TqlrCrossFunction::cfSum || funcs[k] == TqlrCrossFunction::cfAvg ||
            funcs[k] == TqlrCrossFunction::cfCount)
            FFuncValues[k] = rtl::Variant(0);
}

void TqlrCrossHeader::AccumulateFuncValues(const std::vector<TqlrCrossFunction>& funcs,
                                           const TqlrVariantArray& values, const std::vector<int>& counts)
{
    for (std::size_t k = 0; k < funcs.size() && k < FFuncValues.size(); ++k) {
        const rtl::Variant& v = values[k];
        if (v.IsNull()) continue;
        rtl::Variant& f = FFuncValues[k];
        try {
            switch (funcs[k]) {
            case TqlrCrossFunction::cfSum:
            case TqlrCrossFunction::cfCount: f = f + v; break;
            case TqlrCrossFunction::cfMin:
                if (f.IsNull() || Relation(v, f) == rtl::TVariantRelationship::vrLessThan) f = v;
                break;
            case TqlrCrossFunction::cfMax:
                if (f.IsNull() || Relation(v, f) == rtl::TVariantRelationship::vrGreaterThan) f = v;
                break;
            case TqlrCrossFunction::cfAvg:
                f = f + v;
                FCounts[k] = FCounts[k] + rtl::Variant(counts[k]);
                break;
            case TqlrCrossFunction::cfNone: break;
            }
        } catch (const rtl::Exception&) {
            // A value the function cannot take (a text under cfSum) is skipped.
        }
    }
}

} // namespace qlr
