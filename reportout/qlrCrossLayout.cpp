// The cross-tab's header trees and their layout: captions and templates of
// the nodes, measuring headers and cells, and placing every node of the
// column, row and corner trees.
#include <algorithm>
#include <numeric>

#include "platform/rtl/Strings.h"
#include "report/qlrDMPClass.h"
#include "reportout/qlrCross.h"

namespace qlr {

namespace {

const std::string kTotalMark = "@@@";

std::string TextOf(const rtl::Variant& v) { return rtl::VarToStr(v); }

} // namespace

// ------------------------------------------------------------------ tree nodes

TqlrCrossHeader::TqlrCrossHeader(int cellLevels) : FCellLevels(cellLevels)
{
    FCounts.assign(static_cast<std::size_t>(std::max(cellLevels, 0)), rtl::Variant(0));
    FFuncValues.assign(static_cast<std::size_t>(std::max(cellLevels, 0)), rtl::Variant::Null());
}

TqlrCrossHeader::~TqlrCrossHeader()
{
    for (TqlrCrossHeader* c : FItems) delete c;
}

TqlrCrossHeader* TqlrCrossHeader::Append(TqlrCrossHeader* child)
{
    child->FParent = this;
    child->FLevelsCount = FLevelsCount;
    child->FCorner = FCorner;
    child->FView = FView;
    child->FHasCellHeaders = FHasCellHeaders;
    child->FNoLevels = FNoLevels;
    FItems.push_back(child);
    FChildByText.emplace(TextOf(child->FValue), static_cast<int>(FItems.size()) - 1);
    return child;
}

TqlrCrossHeader* TqlrCrossHeader::Root()
{
    TqlrCrossHeader* n = this;
    while (n->FParent) n = n->FParent;
    return n;
}

int TqlrCrossHeader::Depth() const
{
    int d = -1;
    for (const TqlrCrossHeader* n = FParent; n; n = n->FParent) ++d;
    return d;
}

void TqlrCrossHeader::CollectAll(std::vector<TqlrCrossHeader*>& list)
{
    if (FMemo) list.push_back(this);
    for (TqlrCrossHeader* c : FItems) c->CollectAll(list);
}

std::vector<TqlrCrossHeader*> TqlrCrossHeader::AllItems()
{
    std::vector<TqlrCrossHeader*> list;
    CollectAll(list);
    return list;
}

std::vector<TqlrCrossHeader*> TqlrCrossHeader::TerminalItems()
{
    std::vector<TqlrCrossHeader*> list = AllItems();
    std::erase_if(list, [](TqlrCrossHeader* n) { return n->HasChildren(); });
    return list;
}

std::vector<TqlrCrossHeader*> TqlrCrossHeader::IndexItems()
{
    std::vector<TqlrCrossHeader*> list = AllItems();
    std::erase_if(list, [](TqlrCrossHeader* n) { return !n->FIsIndex; });
    return list;
}

rtl::Variant TqlrCrossHeader::GetIndexes() const
{
    std::vector<rtl::Variant> path;
    for (const TqlrCrossHeader* n = this; n->FParent; n = n->FParent) {
        const auto& sib = n->FParent->FItems;
        path.insert(path.begin(), rtl::Variant(static_cast<int>(std::find(sib.begin(), sib.end(), n) - sib.begin())));
    }
    path.resize(static_cast<std::size_t>(std::max(FLevelsCount, 1)), rtl::Variant::Null());
    return rtl::VarArrayOf(path);
}

rtl::Variant TqlrCrossHeader::GetValues() const
{
    std::vector<rtl::Variant> path;
    for (const TqlrCrossHeader* n = this; n->FParent; n = n->FParent) path.insert(path.begin(), n->FValue);
    path.resize(static_cast<std::size_t>(std::max(FLevelsCount, 1)), rtl::Variant::Null());
    return rtl::VarArrayOf(path);
}

int TqlrCrossHeader::Find(const rtl::Variant& value) const
{
    auto it = FChildByText.find(TextOf(value));
    return it == FChildByText.end() ? -1 : it->second;
}

void TqlrCrossHeader::AddValues(const TqlrVariantArray& values, bool unsorted)
{
    TqlrCrossHeader* node = this;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const rtl::Variant& v = values[i];
        int found = -1;
        if (unsorted) {
            if (!node->FItems.empty() && TextOf(node->FItems.back()->FValue) == TextOf(v))
                found = static_cast<int>(node->FItems.size()) - 1;
        } else {
            found = node->Find(v);
        }
        if (found >= 0) {
            node = node->FItems[static_cast<std::size_t>(found)];
            continue;
        }
        TqlrCrossHeader* child = node->NewChild();
        const std::string text = TextOf(v);
        const int level = static_cast<int>(i);
        if (text.rfind(kTotalMark, 0) == 0) {
            std::string caption = text.substr(kTotalMark.size());
            caption = caption.size() >= 2 ? caption.substr(0, caption.size() - 2) : std::string();
            child->FValue = rtl::Variant(caption);
            child->FIsTotal = true;
            TqlrCrossHeader* root = Root();
            if (level < static_cast<int>(root->FTotalMemos.size()))
                child->FMemo = root->FTotalMemos[static_cast<std::size_t>(level)];
            child->FTotalIndex = root->FLevelsCount - level;
            node->Append(child);
            return;
        }
        TqlrCrossHeader* root = Root();
        if (level < static_cast<int>(root->FMemos.size())) child->FMemo = root->FMemos[static_cast<std::size_t>(level)];
        child->FValue = v;
        node->Append(child);
        node = child;
    }
}

TqlrCrossHeader* TqlrCrossHeader::AddCellHeader(const std::vector<TqlrCustomMemoView*>& memos, int index,
                                                int cellIndex)
{
    TqlrCrossHeader* child = NewChild();
    child->FIndex = index;
    child->FCellIndex = cellIndex;
    child->FIsTotal = FIsTotal;
    child->FTotalIndex = FTotalIndex;
    const std::size_t m = static_cast<std::size_t>(cellIndex + FTotalIndex * FCellLevels);
    child->FMemo = m < memos.size() ? memos[m] : (memos.empty() ? nullptr : memos.back());
    child->FValue = child->FMemo ? rtl::Variant(child->FMemo->Text()) : rtl::Variant::Null();
    child->FIsCellHeader = true;
    Append(child);
    child->FIsTotal = FIsTotal;
    return child;
}

TqlrCrossHeader* TqlrCrossHeader::AddCornerItem(TqlrCustomMemoView* memo)
{
    TqlrCrossHeader* child = NewChild();
    child->FMemo = memo;
    child->FValue = memo ? rtl::Variant(memo->Text()) : rtl::Variant::Null();
    return Append(child);
}

TqlrCrossHeader* TqlrCrossColumnHeader::NewChild() { return new TqlrCrossColumnHeader(FCellLevels); }
TqlrCrossHeader* TqlrCrossRowHeader::NewChild() { return new TqlrCrossRowHeader(FCellLevels); }
TqlrCrossHeader* TqlrCrossCorner::NewChild() { return new TqlrCrossCorner(FCellLevels); }

// ------------------------------------------------------------------- measuring

TqlrCrossSize TqlrCustomCrossView::MeasureMemo(TqlrCustomMemoView* memo)
{
    if (OnMeasureMemo) return OnMeasureMemo(memo);
    const long double savedHeight = memo->Height();
    memo->SetHeightDirect(10000);
    TqlrCrossSize s{memo->CalcWidth(), memo->CalcHeight()};
    memo->SetHeightDirect(savedHeight);
    if (dynamic_cast<TqlrDMPMemoView*>(memo)) {
        s.X += fr1CharX;
        s.Y += fr1CharY;
    }
    if (memo->Rotation() == 90 || memo->Rotation() == 270) std::swap(s.X, s.Y);
    return s;
}

namespace {

// Sizes from the templates (or measured captions), shared by the column and
// row trees; column: leaves take the width and non-totals the height.
void CalcTreeSizes(TqlrCrossHeader* tree, int maxWidth, int minWidth, bool autoSize, bool column)
{
    TqlrCustomCrossView* view = tree->FView;
    for (TqlrCrossHeader* node : tree->AllItems()) {
        TqlrCustomMemoView* m = node->FMemo;
        if ((!autoSize && m->Width() != 0 && m->Height() != 0) || !m->Visible()) {
            if (column) {
                if (!node->HasChildren()) node->FSize.X = m->Width();
                if (!node->FIsTotal) node->FSize.Y = m->Height();
            } else {
                if (!node->HasChildren()) node->FSize.Y = m->Height();
                if (!node->FIsTotal) node->FSize.X = m->Width();
            }
        } else {
            const std::string savedText = m->Text();
            const long double savedWidth = m->Width();
            m->SetWidthDirect(maxWidth);
            std::string text = m->FormatData(node->FValue);
            if (text.empty()) text = " ";
            m->SetText(text);
            node->FSize = view ? view->MeasureMemo(m) : TqlrCrossSize{};
            m->SetText(savedText);
            m->SetWidthDirect(savedWidth);
        }
        node->FSize.X = std::min<long double>(std::max<long double>(node->FSize.X, minWidth), maxWidth);
    }
}

// Widths of the column tree (heights of the row tree): a parent at least
// as large as its children, a surplus handed down the last children.
long double SpanOf(TqlrCrossHeader* node, bool column)
{
    long double& own = column ? node->FSize.X : node->FSize.Y;
    if (node->FItems.empty()) return own;
    long double sum = 0;
    for (TqlrCrossHeader* c : node->FItems) sum += SpanOf(c, column);
    if (own > sum) {
        const long double surplus = own - sum;
        for (TqlrCrossHeader* n = node->FItems.back(); n; n = n->FItems.empty() ? nullptr : n->FItems.back())
            (column ? n->FSize.X : n->FSize.Y) += surplus;
    } else {
        own = sum;
    }
    return own;
}

int LevelOf(TqlrCrossHeader* node)
{
    return node->FIsCellHeader ? node->FLevelsCount : node->Depth();
}

// Level extents (heights of the column tree, widths of the row tree).
std::vector<long double> LevelExtents(TqlrCrossHeader* tree, bool column)
{
    std::vector<long double> lh(static_cast<std::size_t>(tree->FLevelsCount) + 1, 0);
    const int last = tree->FLevelsCount - 1;
    std::vector<TqlrCrossHeader*> all = tree->AllItems();
    for (TqlrCrossHeader* n : all) {
        if (n->FIsTotal && !n->FIsCellHeader && n->Depth() < last) continue;
        const int level = LevelOf(n);
        if (level >= 0 && level < static_cast<int>(lh.size()))
            lh[static_cast<std::size_t>(level)] = std::max(lh[static_cast<std::size_t>(level)], column ? n->FSize.Y : n->FSize.X);
    }
    if (tree->FNoLevels) lh[0] = 0;
    for (TqlrCrossHeader* n : all) {
        if (!n->FIsTotal || n->FIsCellHeader || n->Depth() >= last || n->Depth() < 0) continue;
        long double sum = 0;
        for (int l = n->Depth(); l <= last; ++l) sum += lh[static_cast<std::size_t>(l)];
        const long double extent = column ? n->FSize.Y : n->FSize.X;
        if (sum < extent) lh[static_cast<std::size_t>(last)] += extent - sum;
    }
    return lh;
}

long double NodeExtent(TqlrCrossHeader* n, const std::vector<long double>& lh, bool column)
{
    if (!n->FParent) return column ? n->FSize.Y : n->FSize.X;
    if (n->FIsCellHeader) return lh[static_cast<std::size_t>(n->FLevelsCount)];
    const int d = n->Depth();
    long double e = lh[static_cast<std::size_t>(std::max(d, 0))];
    if (n->FIsTotal)
        for (int l = d + 1; l < n->FLevelsCount; ++l) e += lh[static_cast<std::size_t>(l)];
    return e;
}

void Place(TqlrCrossHeader* n, long double x, long double y, const std::vector<long double>& lh, bool column)
{
    const long double e = NodeExtent(n, lh, column);
    if (column) {
        n->FBounds = {x, y, n->FSize.X, e};
        long double cx = x;
        for (TqlrCrossHeader* c : n->FItems) {
            Place(c, cx, y + e, lh, column);
            cx += c->FSize.X;
        }
    } else {
        n->FBounds = {x, y, e, n->FSize.Y};
        long double cy = y;
        for (TqlrCrossHeader* c : n->FItems) {
            Place(c, x + e, cy, lh, column);
            cy += c->FSize.Y;
        }
    }
}

} // namespace

void TqlrCrossColumnHeader::CalcSizes(int maxWidth, int minWidth, bool autoSize)
{
    CalcTreeSizes(this, maxWidth, minWidth, autoSize, true);
}

void TqlrCrossRowHeader::CalcSizes(int maxWidth, int minWidth, bool autoSize)
{
    CalcTreeSizes(this, maxWidth, minWidth, autoSize, false);
}

void TqlrCrossColumnHeader::CalcBounds()
{
    SpanOf(this, true);
    std::vector<long double> lh = LevelExtents(this, true);
    if (TqlrCrossHeader* corner = FCorner) {
        if (!FMemo || !FMemo->Visible()) FSize.Y = 0;
        if (!corner->FMemo || !corner->FMemo->Visible()) corner->FSize.Y = 0;
        const long double top = std::max(FSize.Y, corner->FSize.Y);
        FSize.Y = top;
        if (!FNoLevels) corner->FSize.Y = top;
        const int summed = FLevelsCount + (FHasCellHeaders ? 1 : 0);
        long double h = 0;
        for (int l = 0; l < summed; ++l) h += lh[static_cast<std::size_t>(l)];
        if (FNoLevels) h += FSize.Y;
        for (TqlrCrossHeader* caption : corner->FItems) {
            if (caption->FSize.Y <= h) {
                caption->FSize.Y = h;
                continue;
            }
            const long double grow = caption->FSize.Y - h;
            if (summed == 1) {
                FSize.Y = caption->FSize.Y;
            } else {
                for (int l = 0; l < summed; ++l) lh[static_cast<std::size_t>(l)] += grow / summed;
            }
            h = caption->FSize.Y;
        }
        for (TqlrCrossHeader* caption : corner->FItems) caption->FSize.Y = std::max(caption->FSize.Y, h);
    }
    Place(this, 0, 0, lh, true);
}

void TqlrCrossRowHeader::CalcBounds()
{
    SpanOf(this, false);
    std::vector<long double> lw = LevelExtents(this, false);
    if (FCorner && !FNoLevels) {
        const std::size_t n = std::min(FCorner->FItems.size(), lw.size());
        for (std::size_t i = 0; i < n; ++i) {
            const long double w = std::max(lw[i], FCorner->FItems[i]->FSize.X);
            lw[i] = w;
            FCorner->FItems[i]->FSize.X = w;
        }
    }
    Place(this, 0, 0, lw, false);
}

// ---------------------------------------------------------------------- layout

TqlrCustomMemoView* TqlrCustomCrossView::CellTemplate(int rowTotalIndex, int columnTotalIndex, int level) const
{
    const int i = FCellLevels * (rowTotalIndex + columnTotalIndex * (FRowLevels + 1)) + level;
    TqlrCustomMemoView* m = CellMemos(i);
    return m ? m : CellMemos(level);
}

void TqlrCustomCrossView::ComputeLayout()
{
    std::vector<TqlrCrossHeader*> colLeaves = FColumnHeader->TerminalItems();
    std::vector<TqlrCrossHeader*> rowLeaves = FRowHeader->TerminalItems();
    if (FCellLevels >= 2) {
        if (PlainCells) {
            for (std::size_t i = 0; i < colLeaves.size(); ++i)
                for (int k = 0; k < FCellLevels; ++k)
                    colLeaves[i]->AddCellHeader(FCellHeaderMemos, static_cast<int>(i), k);
        } else {
            for (std::size_t i = 0; i < rowLeaves.size(); ++i)
                for (int k = 0; k < FCellLevels; ++k)
                    rowLeaves[i]->AddCellHeader(FCellHeaderMemos, static_cast<int>(i), k);
        }
    }
    FColumnHeader->CalcSizes(MaxWidth, MinWidth, AutoSize);
    FRowHeader->CalcSizes(MaxWidth, MinWidth, AutoSize);
    FCorner->CalcSizes(MaxWidth, MinWidth, AutoSize);

    for (std::size_t nr = 0; nr < rowLeaves.size(); ++nr) {
        TqlrCrossHeader* r = rowLeaves[nr];
        r->FIsIndex = true;
        r->FIndex = static_cast<int>(nr);
        for (std::size_t nc = 0; nc < colLeaves.size(); ++nc) {
            TqlrCrossHeader* c = colLeaves[nc];
            c->FIsIndex = true;
            c->FIndex = static_cast<int>(nc);
            if (!AutoSize) continue;
            for (int k = 0; k < FCellLevels; ++k) {
                TqlrCustomMemoView* m = CellTemplate(r->FTotalIndex, c->FTotalIndex, k);
                TqlrCustomMemoView* format = CellMemos(k);
                if (!m || !format) continue;
                const std::string savedText = m->Text();
                const int savedRotation = m->Rotation();
                const long double savedWidth = m->Width();
                const rtl::Variant value = GetValue(static_cast<int>(nr), static_cast<int>(nc), k);
                m->SetText(m->FormatData(value, format->DisplayFormat()));
                m->SetRotation(0);
                long double w0 = MaxWidth;
                DoCalcWidth(static_cast<int>(nc), w0);
                m->SetWidthDirect(w0);
                TqlrCrossSize s = MeasureMemo(m);
                long double w = s.X + AddWidth, h = s.Y + AddHeight;
                w = std::max<long double>(std::min<long double>(w, MaxWidth), MinWidth);
                if (w0 != MaxWidth) {
                    w = w0;
                    c->FSize.X = w0;
                    for (TqlrCrossHeader* child : c->FItems) child->FSize.X = w0;
                }
                if (DefHeight != 0) h = DefHeight;
                if (w0 == 0) h = 0;
                m->SetRotation(savedRotation);
                m->SetText(savedText);
                m->SetWidthDirect(savedWidth);
                if (PlainCells && FCellLevels >= 2) {
                    if (k < static_cast<int>(c->FItems.size()))
                        c->FItems[static_cast<std::size_t>(k)]->FSize.X =
                            std::max(c->FItems[static_cast<std::size_t>(k)]->FSize.X, w);
                    r->FSize.Y = std::max(r->FSize.Y, h);
                } else if (FCellLevels >= 2) {
                    if (k < static_cast<int>(r->FItems.size()))
                        r->FItems[static_cast<std::size_t>(k)]->FSize.Y =
                            std::max(r->FItems[static_cast<std::size_t>(k)]->FSize.Y, h);
                    c->FSize.X = std::max(c->FSize.X, w);
                } else {
                    r->FSize.Y = std::max(r->FSize.Y, h);
                    c->FSize.X = std::max(c->FSize.X, w);
                }
            }
        }
        long double height = r->FSize.Y;
        DoCalcHeight(static_cast<int>(nr), height);
        r->FSize.Y = height;
    }
    if (rowLeaves.empty())
        for (std::size_t nc = 0; nc < colLeaves.size(); ++nc) {
            colLeaves[nc]->FIsIndex = true;
            colLeaves[nc]->FIndex = static_cast<int>(nc);
        }
    FCorner->CalcBounds();
    FColumnHeader->CalcBounds();
    FRowHeader->CalcBounds();
    FCorner->CalcBounds();
}

long double TqlrCustomCrossView::ColumnHeaderHeight() const
{
    if (!FColumnHeader || !FColumnHeader->FVisible) return 0;
    std::vector<TqlrCrossHeader*> leaves = FColumnHeader->TerminalItems();
    if (leaves.empty()) return 0;
    return leaves.back()->FBounds.Top + leaves.back()->FBounds.Height;
}

long double TqlrCustomCrossView::RowHeaderWidth() const
{
    if (!FRowHeader || !FRowHeader->FVisible || FNoRows) return 0;
    std::vector<TqlrCrossHeader*> leaves = FRowHeader->TerminalItems();
    if (leaves.empty()) return 0;
    return leaves.back()->FBounds.Left + leaves.back()->FBounds.Width;
}

} // namespace qlr
