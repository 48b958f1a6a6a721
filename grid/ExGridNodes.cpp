// Nodes of TExStringGrid: collapsible row groups.  A node row carries a
// ctNode graphic in column 0 (span in CellIndex, contracted flag in
// CellBoolean, sub-node count in CellErrFrom); every row of a group has its
// nesting depth in the NodeLevel of column 0's properties.  Contracting
// hides the group's other rows with the hidden-row store, expanding shows
// them again.  Operations said to take a real row count hidden rows.
#include <algorithm>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Format.h"

namespace grid {

namespace {

bool IsNodeGraphic(const TCellGraphic* g) { return g && g->CellType() == TCellType::ctNode; }

struct TUpdateLock {
    TExStringGrid& G;
    explicit TUpdateLock(TExStringGrid& g) : G(g) { G.BeginUpdate(); }
    ~TUpdateLock() { G.EndUpdate(); }
};

} // namespace

TCellGraphic* TExStringGrid::NodeGraphic(int aRow)
{
    if (aRow < 0 || aRow >= RowCount()) return nullptr;
    TCellGraphic* g = GetCellGraphic(0, aRow);
    return IsNodeGraphic(g) ? g : nullptr;
}

bool TExStringGrid::IsNode(int aRow) const
{
    return const_cast<TExStringGrid*>(this)->NodeGraphic(aRow) != nullptr;
}

bool TExStringGrid::IsSummary(int aRow) const
{
    if (aRow < 0 || aRow >= RowCount()) return false;
    TCellGraphic* g = const_cast<TExStringGrid*>(this)->GetCellGraphic(0, aRow);
    return g && g->CellType() == TCellType::ctSummary;
}

void TExStringGrid::AddNode(int aRow, int span)
{
    const int d = RealToDisplayRow(aRow);
    if (d < 0 || d >= RowCount()) return;
    TCellGraphic* g = CreateCellGraphic(0, d);
    if (!g) return;
    g->SetCellType(TCellType::ctNode);
    g->SetCellIndex(span);
    g->SetCellBoolean(false);
    g->SetCellErrFrom(0);
    g->SetCellAngle(d);
    g->SetCellHAlign(TCellHAlign::haBeforeText);
    g->SetCellVAlign(TCellVAlign::vaCenter);
    g->SetCellVar(rtl::Variant(-1));
    for (int r = d; r < std::min(d + span, RowCount()); ++r)
        if (TCellProperties* p = GetCellProperties(0, r)) p->SetNodeLevel(p->NodeLevel() + 1);
    if (FNumNodes == 0) RepaintCol(0);
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1) SetCol(1);
}

void TExStringGrid::RemoveNode(int aRow)
{
    const int d = RealToDisplayRow(aRow);
    if (!NodeGraphic(d)) return;
    ExpandNodeRows(aRow);
    const int span = GetNodeSpan(d);
    for (int r = d; r < std::min(d + span, RowCount()); ++r)
        if (TCellProperties* p = FindCellProperties(0, r)) p->SetNodeLevel(std::max(0, p->NodeLevel() - 1));
    RemoveCellGraphic(0, d);
    FNumNodes = std::max(0, FNumNodes - 1);
}

void TExStringGrid::RemoveAllNodes()
{
    for (int r = 0; r < RowCount(); ++r) {
        if (!NodeGraphic(r)) continue;
        ExpandNode(DisplayToRealRow(r));
        const int span = GetNodeSpan(r);
        for (int k = r; k < std::min(r + span, RowCount()); ++k)
            if (TCellProperties* p = FindCellProperties(0, k)) p->SetNodeLevel(std::max(0, p->NodeLevel() - 1));
        RemoveCellGraphic(0, r);
        FNumNodes = std::max(0, FNumNodes - 1);
    }
    Invalidate();
}

void TExStringGrid::MarkSummaryRow(int aRow)
{
    const int d = RealToDisplayRow(aRow);
    if (d < 0 || d >= RowCount()) return;
    if (TCellGraphic* g = CreateCellGraphic(0, d)) g->SetCellType(TCellType::ctSummary);
}

bool TExStringGrid::GetNodeState(int aRow)
{
    const TCellGraphic* g = NodeGraphic(aRow);
    return g && g->CellBoolean();
}

void TExStringGrid::SetNodeState(int aRow, bool value)
{
    const TCellGraphic* g = NodeGraphic(aRow);
    if (!g || g->CellBoolean() == value) return;
    if (value) ContractNode(DisplayToRealRow(aRow));
    else ExpandNode(DisplayToRealRow(aRow));
}

int TExStringGrid::GetNodeLevel(int aRow)
{
    if (!NodeGraphic(aRow)) return -1;
    const TCellProperties* p = FindCellProperties(0, aRow);
    return p ? p->NodeLevel() : 0;
}

int TExStringGrid::GetNodeSpan(int aRow)
{
    const TCellGraphic* g = NodeGraphic(aRow);
    return g ? g->CellIndex() : -1;
}

void TExStringGrid::SetNodeSpan(int aRow, int span)
{
    if (TCellGraphic* g = NodeGraphic(aRow)) g->SetCellIndex(span);
}

void TExStringGrid::UpdateNodeSpan(int aRow, int delta)
{
    if (TCellGraphic* g = NodeGraphic(aRow)) g->SetCellIndex(g->CellIndex() + delta);
}

int TExStringGrid::GetSubNodeCount(int aRow)
{
    const TCellGraphic* g = NodeGraphic(aRow);
    return g ? g->CellErrFrom() : 0;
}

void TExStringGrid::UpdateSubNodeCount(int aRow, int delta)
{
    if (TCellGraphic* g = NodeGraphic(aRow)) g->SetCellErrFrom(g->CellErrFrom() + delta);
}

int TExStringGrid::GetNodeSpanType(int aRow)
{
    if (NodeGraphic(aRow)) return 0;
    const TCellProperties* next = aRow + 1 < RowCount() ? FindCellProperties(0, aRow + 1) : nullptr;
    const TCellProperties* own = FindCellProperties(0, aRow);
    const int level = own ? own->NodeLevel() : 0;
    if (aRow < RowCount() - FFixedFooters - 1 && next && next->NodeLevel() >= level) return 2;
    return 1;
}

int TExStringGrid::GetNodeIndent(int aRow)
{
    if (FNumNodes == 0 || aRow < 0) return 0;
    const TCellProperties* p = FindCellProperties(0, aRow);
    return p ? p->NodeLevel() * FCellNode->NodeIndent() : 0;
}

void TExStringGrid::DoGetDisplText(int aCol, int aRow, std::string& value)
{
    TBaseGrid::DoGetDisplText(aCol, aRow, value);
    if (aCol != 1 || !FGrouping->ShowGroupCount() || FNumNodes == 0) return;
    const TCellGraphic* g = NodeGraphic(aRow);
    if (!g) return;
    const int n = g->CellIndex() - g->CellErrFrom() - 1;
    if (!FGrouping->GroupCountFormat().empty()) value += rtl::Format(FGrouping->GroupCountFormat(), n);
    else value += " (" + std::to_string(n) + ")";
}

void TExStringGrid::DrawNodeTreeLines(gui::TCanvas* canvas, int aRow, const gui::TRect& rect)
{
    const TCellProperties* own = FindCellProperties(0, aRow);
    const int level = own ? own->NodeLevel() : 0;
    const int indent = FCellNode->NodeIndent();
    const int x0 = rect.Left + GetNodeIndent(aRow) + indent / 2 - indent + 2;
    const int left = rect.Left + GetNodeIndent(aRow);
    const int mid = (rect.Top + rect.Bottom) / 2;
    canvas->Pen()->SetColor(FCellNode->TreeColor());
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(gui::TPenStyle::psDot);
    auto line = [canvas](int xa, int ya, int xb, int yb) {
        canvas->MoveTo(xa, ya);
        canvas->LineTo(xb, yb);
    };
    if (level > 0) line(x0, mid, FCellNode->ShowTreeFull() ? rect.Right : left + 4, mid);
    const int spanType = GetNodeSpanType(aRow);
    if (spanType == 1) line(x0, rect.Top, x0, mid);
    else if (spanType == 2) line(x0, rect.Top, x0, rect.Bottom + 4);
    const bool lastRow = aRow >= RowCount() - 1;
    const TCellProperties* next = lastRow ? nullptr : FindCellProperties(0, aRow + 1);
    const bool nextHasLevel = next && next->NodeLevel() > 0;
    for (int i = 1; i <= level; ++i) {
        const int x = x0 - indent * i;
        line(x, rect.Top, x, mid);
        if (lastRow) {
            if (i < level) line(x, mid, x0 - indent * (i - 1), mid);
        } else if (nextHasLevel) {
            line(x, mid, x, rect.Bottom + 4);
        } else if (i < level) {
            line(x, mid, x0 - indent * (i - 1), mid);
        }
    }
    canvas->Pen()->SetStyle(gui::TPenStyle::psSolid);
}

// --- expanding and contracting ---------------------------------------------------------

void TExStringGrid::ExpandNode(int aRow)
{
    if (FCellNode->ExpandOne()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (NodeGraphic(r) && !GetNodeState(r) && DisplayToRealRow(r) != aRow) ContractNode(DisplayToRealRow(r));
    }
    ExpandNodeRows(aRow);
}

void TExStringGrid::ExpandNodeRows(int aRow)
{
    const int d = RealToDisplayRow(aRow);
    TCellGraphic* g = NodeGraphic(d);
    if (!g || !g->CellBoolean()) return;
    g->SetCellBoolean(false);
    int b = d + 1;
    if (g->CellIndex() == 0)
        while (b < RowCount() && !NodeGraphic(b)) ++b;
    const int top = TopRow(), row = Row();
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    FMouseActions->SetDisjunctRowSelect(false);
    const bool rowSelect = Options().Contains(gui::TGridOption::goRowSelect);
    if (rowSelect) SetOptions(Options() - gui::TGridOptions{gui::TGridOption::goRowSelect});
    const bool lock = FControlItems.empty();
    if (lock) BeginUpdate();
    struct TRestore {
        TExStringGrid& G;
        bool Disjunct, Lock;
        ~TRestore()
        {
            G.MouseActions()->SetDisjunctRowSelect(Disjunct);
            if (Lock) G.EndUpdate();
        }
    } restore{*this, disjunct, lock};
    const int from = DisplayToRealRow(d) + 1;
    const int to = (b < RowCount() ? DisplayToRealRow(b) : AllRowCount()) - 1;
    UnHideRows(from, to);
    if (rowSelect) {
        SetOptions(Options() + gui::TGridOptions{gui::TGridOption::goRowSelect});
        if (row < RowCount()) SetRow(row);
        SetTopRow(std::min(top, std::max(0, RowCount() - 1)));
    }
    CalcFooter(-1);
}

void TExStringGrid::ContractNode(int aRow)
{
    HideEditor();
    const int d = RealToDisplayRow(aRow);
    TCellGraphic* g = NodeGraphic(d);
    if (!g || g->CellBoolean()) return;
    FForceSel = true;
    g->SetCellBoolean(true);
    int e = d + 1;
    if (g->CellIndex() > 0) {
        e = d + g->CellIndex();
    } else {
        while (e < RowCount() && !NodeGraphic(e)) ++e;
    }
    e = std::min(e, RowCount());
    int s = d + 1, i = d + 1;
    while (i < e) {
        TCellGraphic* inner = NodeGraphic(i);
        if (inner && inner->CellBoolean()) {
            // Its own rows are hidden already; it counts as expanded from now
            // on, so that expanding the outer node shows them all.
            inner->SetCellBoolean(false);
            if (gui::TControl* ctl = GetCellControl(1, i + 1)) ctl->SetVisible(false);
            const int innerSpan = inner->CellIndex();
            HideRows(DisplayToRealRow(s), DisplayToRealRow(i));
            e = e - innerSpan - (i - s);
            i = s;
        } else {
            ++i;
        }
    }
    if (s <= i - 1) HideRows(DisplayToRealRow(s), DisplayToRealRow(i - 1));
    FForceSel = false;
    CalcFooter(-1);
}

void TExStringGrid::ExpandAll()
{
    TUpdateLock lock(*this);
    // Every contracted node shows the hidden rows that follow it, in one pass
    // per round (a round can bring contracted nodes back into view).
    for (int round = 0; round < 64; ++round) {
        std::vector<int> show;
        bool any = false;
        // The real index of each displayed row, from one walk past the hidden ones.
        const std::vector<int> hidden = HiddenIdxSorted();
        std::vector<int> real(static_cast<std::size_t>(RowCount()) + 1);
        {
            std::size_t h = 0;
            int x = 0;
            for (int d = 0; d <= RowCount(); ++d, ++x) {
                while (h < hidden.size() && hidden[h] == x) {
                    ++h;
                    ++x;
                }
                real[static_cast<std::size_t>(d)] = x;
            }
        }
        for (int r = FixedRows(); r < RowCount(); ++r) {
            TCellGraphic* g = NodeGraphic(r);
            if (!g || !g->CellBoolean()) continue;
            g->SetCellBoolean(false);
            any = true;
            const int from = real[static_cast<std::size_t>(r)] + 1;
            const int to = (r + 1 < RowCount() ? real[static_cast<std::size_t>(r) + 1] : AllRowCount()) - 1;
            for (int x = from; x <= to; ++x) show.push_back(x);
        }
        if (!any) break;
        UnHideRowBatch(show);
    }
    CalcFooter(-1);
}

void TExStringGrid::ContractAll()
{
    {
        TUpdateLock lock(*this);
        ExpandAll();
        std::vector<int> hide;
        int r = FixedRows();
        while (r < RowCount()) {
            TCellGraphic* g = NodeGraphic(r);
            if (!g) {
                ++r;
                continue;
            }
            g->SetCellBoolean(true);
            const int span = std::max(1, g->CellIndex());
            for (int k = r + 1; k < std::min(r + span, RowCount()); ++k) hide.push_back(k);
            r += span;
        }
        HideRowBatch(hide);
    }
    CalcFooter(-1);
}

// --- many rows at once ------------------------------------------------------------------

void TExStringGrid::HideRowBatch(const std::vector<int>& displayRows)
{
    if (displayRows.empty()) return;
    HideEditor();
    const std::vector<int> hidden = HiddenIdxSorted();
    // Real index of every displayed row, from one merge with the hidden ones.
    const int rows = RowCount();
    std::vector<int> real(static_cast<std::size_t>(rows));
    {
        std::size_t h = 0;
        int x = 0;
        for (int d = 0; d < rows; ++d, ++x) {
            while (h < hidden.size() && hidden[h] == x) {
                ++h;
                ++x;
            }
            real[static_cast<std::size_t>(d)] = x;
        }
    }
    const int cols = StoreColCount();
    std::vector<char> gone(static_cast<std::size_t>(rows), 0);
    for (int d : displayRows) {
        if (d < 0 || d >= rows || gone[static_cast<std::size_t>(d)]) continue;
        gone[static_cast<std::size_t>(d)] = 1;
        auto* item = FGridItems->Add();
        item->SetIdx(real[static_cast<std::size_t>(d)]);
        item->SetHeight(RowHeights(d));
        for (int c = 0; c < cols; ++c) {
            item->Items()->AddObject(GetRawCellText(c, d), GetRawObject(c, d));
            SetRawObject(c, d, nullptr);
            SetRawCellText(c, d, "");
        }
    }
    // The rows that stay close up (their contents change places with the
    // emptied ones).
    int w = 0;
    for (int d = 0; d < rows; ++d) {
        if (gone[static_cast<std::size_t>(d)]) continue;
        if (w != d) {
            ExchangeRowData(w, d);
            SetRowHeights(w, RowHeights(d));
            for (int c = 0; c < cols; ++c)
                if (auto* p = dynamic_cast<TCellProperties*>(GetRawObject(c, w))) p->SetOwnerRow(w);
        }
        ++w;
    }
    // Items ordered by real row, as the hidden-row store keeps them.
    std::vector<TGridItem*> ordered;
    for (int i = 0; i < NumHiddenRows(); ++i) ordered.push_back(FGridItems->Items(i));
    std::stable_sort(ordered.begin(), ordered.end(), [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
    for (int i = 0; i < static_cast<int>(ordered.size()); ++i) ordered[static_cast<std::size_t>(i)]->SetIndex(i);
    const int keep = std::max(w, FixedRows() + 1);
    if (keep < rows) gui::TCustomGrid::SetRowCount(keep);
    SetNormalRowCount(RowCount());
    if (Row() >= RowCount()) SetRow(RowCount() - 1);
}

void TExStringGrid::UnHideRowBatch(const std::vector<int>& realRows)
{
    if (realRows.empty()) return;
    HideEditor();
    std::vector<TGridItem*> items;
    {
        std::vector<int> want(realRows);
        std::sort(want.begin(), want.end());
        for (int i = 0; i < NumHiddenRows(); ++i) {
            TGridItem* it = FGridItems->Items(i);
            if (std::binary_search(want.begin(), want.end(), it->Idx())) items.push_back(it);
        }
    }
    if (items.empty()) return;
    std::sort(items.begin(), items.end(), [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
    const std::vector<int> hidden = HiddenIdxSorted();
    const int rows = RowCount();
    std::vector<int> real(static_cast<std::size_t>(rows));
    {
        std::size_t h = 0;
        int x = 0;
        for (int d = 0; d < rows; ++d, ++x) {
            while (h < hidden.size() && hidden[h] == x) {
                ++h;
                ++x;
            }
            real[static_cast<std::size_t>(d)] = x;
        }
    }
    const int n = static_cast<int>(items.size());
    const int cols = StoreColCount();
    gui::TCustomGrid::SetRowCount(rows + n);
    // Slots beyond the old count may keep cells of removed rows.
    for (int r = rows; r < rows + n; ++r)
        for (int c = 0; c < cols; ++c) {
            SetRawObject(c, r, nullptr);
            SetRawCellText(c, r, "");
        }
    // From the bottom up, the larger real index goes next.
    int t = rows + n - 1, s = rows - 1, k = n - 1;
    while (k >= 0) {
        if (s >= 0 && real[static_cast<std::size_t>(s)] > items[static_cast<std::size_t>(k)]->Idx()) {
            if (s != t) {
                ExchangeRowData(s, t);
                SetRowHeights(t, RowHeights(s));
                for (int c = 0; c < cols; ++c)
                    if (auto* p = dynamic_cast<TCellProperties*>(GetRawObject(c, t))) p->SetOwnerRow(t);
            }
            --s;
        } else {
            TGridItem* it = items[static_cast<std::size_t>(k)];
            rtl::TStringList* cells = it->Items();
            for (int c = 0; c < cols; ++c) {
                const bool has = c < cells->Count();
                SetRawCellText(c, t, has ? cells->Strings(c) : std::string());
                rtl::TObject* obj = has ? cells->Objects(c) : nullptr;
                SetRawObject(c, t, obj);
                if (auto* p = dynamic_cast<TCellProperties*>(obj)) p->SetOwnerRow(t);
            }
            SetRowHeights(t, it->Height());
            delete it;
            --k;
        }
        --t;
    }
    SetNormalRowCount(RowCount());
    for (TGridControlItem& ci : FControlItems)
        if (ci.Control && !IsHiddenRow(ci.Y)) ci.Control->SetVisible(true);
}

// --- parents and child rows ------------------------------------------------------------

int TExStringGrid::GetParentRow(int aRow)
{
    if (FNumNodes == 0) return -1;
    int level = 65535, result = -1;
    if (NodeGraphic(aRow)) {
        level = GetNodeLevel(aRow);
        result = aRow;
    }
    int sum = 0;
    for (int r = aRow; r >= FixedRows(); --r) {
        const TCellGraphic* g = NodeGraphic(r);
        if (!g) continue;
        const TCellProperties* p = FindCellProperties(0, r);
        const int l = p ? p->NodeLevel() : 0;
        if (l >= level) continue;
        if (g->CellBoolean()) sum += g->CellIndex() - 1;
        if (r + g->CellIndex() - sum > aRow) return r;
    }
    return result;
}

void TExStringGrid::InsertNormalRow(int aRow)
{
    InsertRows(RealToDisplayRow(aRow), 1, true);
    for (int i = 0; i < NumHiddenRows(); ++i)
        if (TGridItem* it = FGridItems->Items(i); it->Idx() > aRow) it->SetIdx(it->Idx() + 1);
}

void TExStringGrid::RemoveNormalRow(int aRow)
{
    RemoveRows(aRow, 1);
    --FMaxRowCount;
}

void TExStringGrid::InsertChildRow(int aRow, int insertAt)
{
    const int d = RealToDisplayRow(aRow);
    // A row inserted at a node row goes into that node's own group (its
    // span grows), not into the group around it.
    const int p = NodeGraphic(d) ? d : GetParentRow(d);
    int level = 1;
    if (p != -1) {
        UpdateNodeSpan(p, 1);
        UpdateSubNodeCount(p, 1);
        ExpandNode(DisplayToRealRow(p));
        level = GetNodeLevel(p);
    }
    // The enclosing nodes grow by the row too.
    int a = p, l = level;
    while (l > 1 && a != -1 && a >= FixedRows()) {
        const int up = GetParentRow(a);
        if (up == a || up == -1) break;
        a = up;
        if (GetNodeLevel(a) < l) {
            UpdateNodeSpan(a, 1);
            UpdateSubNodeCount(a, 1);
            ExpandNode(DisplayToRealRow(a));
            l = GetNodeLevel(a);
        }
    }
    const bool split = NodeGraphic(d) && insertAt == 0;
    const int at = d + (split ? 1 : insertAt);
    InsertRows(at, 1, true);
    if (p != -1)
        if (TCellProperties* props = GetCellProperties(0, at)) props->SetNodeLevel(level);
    if (split) {
        // The node row becomes the new empty first row of the group; its
        // former content moves to the second row.
        const int cols = StoreColCount();
        for (int c = 0; c < cols; ++c) {
            SetRawCellText(c, d + 1, GetRawCellText(c, d));
            SetRawCellText(c, d, "");
            if (c >= 1) {
                SetCellObject(c, d + 1, GetCellObject(c, d));
                if (TCellProperties* props = FindCellProperties(c, d)) props->SetCellObject(nullptr);
            }
        }
    }
    const int pr = p != -1 ? DisplayToRealRow(p) : -1;
    for (int i = 0; i < NumHiddenRows(); ++i)
        if (TGridItem* it = FGridItems->Items(i); it->Idx() > pr && pr >= 0) it->SetIdx(it->Idx() + 1);
}

void TExStringGrid::RemoveChildRow(int aRow)
{
    const int d = RealToDisplayRow(aRow);
    const int real = DisplayToRealRow(d);
    for (TGridControlItem& ci : FControlItems)
        if (ci.Y >= real) ci.Y -= 1;
    int p = GetParentRow(d);
    if (p != -1) {
        const int l = GetNodeLevel(p);
        if (GetNodeSpan(p) > 1) {
            UpdateNodeSpan(p, -1);
            UpdateSubNodeCount(p, -1);
        }
        for (;;) {
            ExpandNode(DisplayToRealRow(p));
            if (GetNodeLevel(p) <= 1) break;
            const int up = GetParentRow(p);
            if (up == -1 || up == p || GetNodeLevel(up) >= l) break;
            p = up;
            if (GetNodeSpan(p) > 1) {
                UpdateNodeSpan(p, -1);
                UpdateSubNodeCount(p, -1);
            }
        }
    }
    RemoveRowBlock(d, 1);
    --FMaxRowCount;
}

// --- the node button --------------------------------------------------------------------

bool TExStringGrid::IsInNodeButton(int aRow, int x)
{
    const int level = GetNodeLevel(aRow);
    const int indent = FCellNode->NodeIndent();
    int b = 0, c = 0;
    switch (FCellNode->NodeType()) {
    case TNodeType::cnFlat:
    case TNodeType::cnXP:
        b = 4;
        c = 4;
        break;
    case TNodeType::cn3D:
        b = 6;
        c = 0;
        break;
    case TNodeType::cnGlyph:
        if (!FCellNode->ExpandGlyph()->Empty()) {
            b = FCellNode->ExpandGlyph()->Width() / 2;
            c = 2;
        }
        break;
    case TNodeType::cnLeaf:
        b = 8;
        c = 2;
        break;
    }
    // The controls of this system lay out left to right only.
    return c + (level - 1) * indent < x && x < b + level * indent;
}

bool TExStringGrid::NodeButtonPress(int aCol, int aRow, int x)
{
    if (aCol != 0 || aRow < FixedRows() || !NodeGraphic(aRow) || !IsInNodeButton(aRow, x)) return false;
    const int real = DisplayToRealRow(aRow);
    bool allow = true;
    if (GetNodeState(aRow)) {
        if (OnBeforeExpandNode) OnBeforeExpandNode(this, aRow, allow);
        if (allow) {
            ExpandNode(real);
            if (OnExpandNode) OnExpandNode(this, aRow);
        }
    } else {
        if (OnBeforeContractNode) OnBeforeContractNode(this, aRow, allow);
        if (allow) {
            ContractNode(real);
            if (OnContractNode) OnContractNode(this, aRow);
        }
    }
    if (FMouseActions->MoveRowOnNodeClick() && aRow < RowCount()) SetRow(aRow);
    return true;
}

} // namespace grid
