// ExGrid: filtering.  A filter hides the rows that fail its conditions as
// one level of hidden rows; levels are stacked and taken back last first.
// Rows hidden by a level are stamped with its number (1, 2, ...), so that
// rows hidden directly (level 0) never come back with a filter level.
//
// Hiding and showing a level moves the rows in one permutation of the
// platform grid, so a filter pass over n rows costs O(n) plus the cells of
// the rows that leave or come back.
#include <algorithm>
#include <set>

#include "grid/ExGrid.h"
#include "gridbase/ExUtil.h"
#include "platform/gui/PopupWindow.h"
#include "platform/rtl/Strings.h"

namespace grid {

RTL_PUBLISHED(TFilterData) {}
RTL_PUBLISHED(TFilter) {}
RTL_PUBLISHED(TFilterDropDown) {}

// ------------------------------------------------------------ settings

void TFilterData::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TFilterData*>(source);
    if (!s) return;
    FColumn = s->FColumn;
    FCondition = s->FCondition;
    FCaseSensitive = s->FCaseSensitive;
    FData = s->FData;
    FPrefix = s->FPrefix;
    FSuffix = s->FSuffix;
    FOperation = s->FOperation;
}

TFilterData* TFilter::FindOrAddColumn(int column)
{
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i)->Column() == column) return GetItem(i);
    TFilterData* f = Add();
    f->SetColumn(static_cast<int16_t>(column));
    return f;
}

TFilterDropDown::TFilterDropDown() : FFont(std::make_unique<gui::TFont>()), FGlyph(std::make_unique<gui::TBitmap>())
{
    FGlyph->OnChange = [this](rtl::TObject*) {
        if (OnChange) OnChange(this);
    };
}

TFilterDropDown::~TFilterDropDown() = default;

void TFilterDropDown::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TFilterDropDown*>(source);
    if (!s) return;
    FColor = s->FColor;
    FColumnWidth = s->FColumnWidth;
    FFont->Assign(s->FFont.get());
    FHeight = s->FHeight;
    FWidth = s->FWidth;
}

void TFilterDropDown::SetGlyph(const gui::TBitmap* v)
{
    if (v) FGlyph->Assign(v);
    else FGlyph->SetSize(0, 0);
    if (OnChange) OnChange(this);
}

// ------------------------------------------------------------ drop list

TDropList::TDropList(rtl::TComponent* owner) : gui::TListBox(owner), FPopup(new gui::TPopupWindow(owner))
{
    SetParent(FPopup);
    SetAlign(gui::TAlign::alClient);
    // A click on an item picks it (moving the selection with the keys does not).
    OnMouseDown = [this](rtl::TObject*, gui::TMouseButton, gui::TShiftState, int, int) { FMouseDown = true; };
    OnMouseUp = [this](rtl::TObject*, gui::TMouseButton, gui::TShiftState, int x, int y) {
        if (!FMouseDown) return;
        FMouseDown = false;
        const int i = ItemAtPos({x, y}, true);
        if (i >= 0) {
            SetItemIndex(i);
            Pick();
        }
    };
}

TDropList::~TDropList() = default;

void TDropList::ShowAt(gui::TPoint screen, int width, int height)
{
    FPopup->SetBounds(screen.X, screen.Y, width, height);
    FPopup->SetVisible(true);
}

void TDropList::CloseUp() { FPopup->SetVisible(false); }

bool TDropList::Dropped() const { return FPopup->Visible(); }

void TDropList::Pick()
{
    const int i = ItemIndex();
    CloseUp();
    if (OnSelect) OnSelect(i);
}

void TDropList::Dispatch(gui::TMessage& m)
{
    if (m.Msg == gui::WM_KEYDOWN) {
        if (m.WParam == gui::VK_RETURN) {
            Pick();
            return;
        }
        if (m.WParam == gui::VK_ESCAPE) {
            CloseUp();
            if (OnSelect) OnSelect(-1);  // no choice
            return;
        }
    }
    gui::TListBox::Dispatch(m);
}

// ------------------------------------------------------------ hidden rows by level

void TExStringGrid::HideRowList(const std::vector<int>& rows)
{
    const int level = ++FFilterLevel;  // stamped into the rows of this level
    if (rows.empty()) return;
    HideEditor();
    BeginUpdate();
    try {
        const std::vector<int> hidden = HiddenIdxSorted();
        const int n = RowCount();
        const int cols = StoreColCount();
        std::vector<char> leaves(static_cast<std::size_t>(n), 0);
        std::size_t p = 0;
        for (int d : rows) {
            if (d < 0 || d >= n || leaves[static_cast<std::size_t>(d)]) continue;
            // The real index: d plus the hidden rows at or before it.
            int real = d + static_cast<int>(p);
            while (p < hidden.size() && hidden[p] <= real) real = d + static_cast<int>(++p);
            leaves[static_cast<std::size_t>(d)] = 1;
            TGridItem* item = FGridItems->Add();
            item->SetIdx(real);
            item->SetLevel(level);
            item->SetHeight(RowHeights(d));
            for (int c = 0; c < cols; ++c) {
                item->Items()->AddObject(GetRawCellText(c, d), GetRawObject(c, d));
                SetRawObject(c, d, nullptr);  // the item holds the object now
                SetRawCellText(c, d, "");
            }
        }
        std::vector<int> order;
        order.reserve(static_cast<std::size_t>(n));
        for (int r = 0; r < n; ++r)
            if (!leaves[static_cast<std::size_t>(r)]) order.push_back(r);
        const int stay = static_cast<int>(order.size());
        for (int r = 0; r < n; ++r)
            if (leaves[static_cast<std::size_t>(r)]) order.push_back(r);
        PermuteRows(order);
        gui::TCustomGrid::SetRowCount(std::max(1, stay));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TExStringGrid::UnHideRowList()
{
    const int level = FFilterLevel;
    std::vector<TGridItem*> back;
    std::vector<int> remaining;
    for (int i = 0; i < NumHiddenRows(); ++i) {
        TGridItem* it = FGridItems->Items(i);
        if (level > 0 && it->Level() == level) back.push_back(it);
        else remaining.push_back(it->Idx());
    }
    if (back.empty()) return;
    HideEditor();
    BeginUpdate();
    std::sort(back.begin(), back.end(), [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
    std::sort(remaining.begin(), remaining.end());
    const int old = RowCount();
    const int m = static_cast<int>(back.size());
    const int cols = StoreColCount();
    gui::TCustomGrid::SetRowCount(old + m);
    // The rows come back at the end first, then one permutation puts each at
    // its displayed place: its real index less the rows that stay hidden
    // before it.
    std::vector<int> target(static_cast<std::size_t>(m));
    std::size_t q = 0;
    for (int k = 0; k < m; ++k) {
        TGridItem* it = back[static_cast<std::size_t>(k)];
        const int row = old + k;
        rtl::TStringList* cells = it->Items();
        for (int c = 0; c < cols; ++c) {
            const bool has = c < cells->Count();
            rtl::TObject* obj = has ? cells->Objects(c) : nullptr;
            SetRawCellText(c, row, has ? cells->Strings(c) : std::string());
            SetRawObject(c, row, obj);
            if (auto* prop = dynamic_cast<TCellProperties*>(obj)) prop->SetOwnerRow(row);
        }
        SetRowHeights(row, it->Height());
        while (q < remaining.size() && remaining[q] < it->Idx()) ++q;
        target[static_cast<std::size_t>(k)] = std::clamp(it->Idx() - static_cast<int>(q), 0, old + m - 1);
    }
    for (TGridItem* it : back) it->Items()->Clear();  // the objects belong to the grid again
    FGridItems->DeleteItems(std::vector<rtl::TCollectionItem*>(back.begin(), back.end()));
    std::vector<int> order(static_cast<std::size_t>(old + m), -1);
    for (int k = 0; k < m; ++k) {
        int t = target[static_cast<std::size_t>(k)];
        while (order[static_cast<std::size_t>(t)] != -1) ++t;  // never two on one place
        order[static_cast<std::size_t>(t)] = old + k;
    }
    int next = 0;
    for (int& o : order)
        if (o == -1) o = next++;
    PermuteRows(order);
    EndUpdate();
}

// ------------------------------------------------------------ matching

bool TExStringGrid::RowMatchesFilter(int aRow)
{
    bool result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        TFilterData* f = FFilter->GetItem(i);
        // The column is a displayed index; its cells live at its real index.
        const int col = RealColIndex(f->Column());
        std::string value;
        switch (f->Data()) {
        case TFilterCells::fcVirtual: value = GetCellText(col, aRow); break;
        case TFilterCells::fcNormal: value = Cells(col, aRow); break;
        case TFilterCells::fcStripHTML: GetStrippedCellText(col, aRow, value); break;
        case TFilterCells::fcCalculated: GetFormulaText(col, aRow, value); break;
        case TFilterCells::fcRow:
            for (int c = 0; c < ColCount(); ++c) {
                if (c > 0) value += "\r\n";
                value += Cells(RealColIndex(c), aRow);
            }
            break;
        }
        // A cell holding encoded wide text is tested as its plain text.
        if (value.find("|\\") != std::string::npos) value = gridbase::DecodePrefixedWideText(value);
        bool match;
        if (f->Data() == TFilterCells::fcRow) {
            match = rtl::AnsiUpperCase(value).find(rtl::AnsiUpperCase(f->Condition())) != std::string::npos;
        } else {
            const std::string& pre = f->Prefix();
            const std::string& suf = f->Suffix();
            if (!pre.empty() && value.compare(0, pre.size(), pre) == 0) value.erase(0, pre.size());
            if (!suf.empty() && value.size() >= suf.size() &&
                value.compare(value.size() - suf.size(), suf.size(), suf) == 0)
                value.erase(value.size() - suf.size());
            if (f->Condition().empty()) {
                match = true;
            } else {
                try {
                    match = gridbase::MatchFilterCondition(f->Condition(), value, f->CaseSensitive());
                } catch (...) {
                    match = false;
                }
            }
        }
        switch (f->Operation()) {
        case TFilterOperation::foSHORT:
            result = match;
            break;
        case TFilterOperation::foNONE: result = match; break;
        case TFilterOperation::foAND: result = result && match; break;
        case TFilterOperation::foXOR: result = result != match; break;
        case TFilterOperation::foOR: result = result || match; break;
        }
        if (f->Operation() == TFilterOperation::foSHORT && !result) break;
    }
    if (OnCustomFilter) OnCustomFilter(this, aRow, result);
    return result;
}

void TExStringGrid::ApplyFilter()
{
    FFilterFixedRows = FixedRows();
    const int first = FixedRows();
    const int last = RowCount() - FFixedFooters - 1;
    const int total = last - first + 1;
    std::vector<int> failing;
    auto progress = [&](int done) {
        if (OnFilterProgress && total > 0)
            OnFilterProgress(this, static_cast<int16_t>((done * 100 + total / 2) / total));
    };
    for (int r = first; r <= last; ++r) {
        if (!RowMatchesFilter(r)) failing.push_back(r);
        progress(r - first + 1);
    }
    HideRowList(failing);
    progress(std::max(0, total));
}

void TExStringGrid::FilterRow(int aRow)
{
    if (aRow < 0 || aRow >= RowCount()) return;
    if (!RowMatchesFilter(aRow)) HideRow(DisplayToRealRow(aRow));
}

void TExStringGrid::SetFilterActive(bool value)
{
    if (value != FFilterActive) {
        FFilterActive = value;
        if (value) {
            BeginUpdate();
            try {
                ApplyFilter();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            FSelHidden = false;
        } else {
            UnHideRowList();
            if (FFilterFixedRows < RowCount()) SetFixedRows(FFilterFixedRows);
            if (FSelHidden) UnHideSelection();
        }
    }
    CalcFooter(-1);
}

bool TExStringGrid::RemoveLastFilter()
{
    if (FFilterLevel < 1) return false;
    UnHideRowList();
    if (FFilterFixedRows < RowCount()) SetFixedRows(FFilterFixedRows);
    if (FSelHidden) UnHideSelection();
    CalcFooter(-1);
    --FFilterLevel;
    return FFilterLevel > 1;
}

void TExStringGrid::RemoveAllFilters()
{
    while (FFilterLevel > 0) RemoveLastFilter();
}

void TExStringGrid::NarrowDown(const std::string& condition, int column)
{
    const std::string& last = FLastFilter;
    auto single = [&]() {
        FFilter->Clear();
        TFilterData* f = FFilter->Add();
        if (column == -1) {
            f->SetData(TFilterCells::fcRow);
            f->SetCondition(condition);
        } else {
            f->SetData(TFilterCells::fcNormal);
            f->SetCondition("*" + condition + "*");
        }
        f->SetCaseSensitive(false);
        f->SetColumn(static_cast<int16_t>(column));
        ApplyFilter();
    };
    if (!last.empty() && condition.size() == last.size() + 1 && condition.compare(0, last.size(), last) == 0) {
        single();
    } else if (!condition.empty() && condition.size() + 1 == last.size() &&
               last.compare(0, condition.size(), condition) == 0) {
        RemoveLastFilter();
    } else {
        RemoveAllFilters();
        if (!condition.empty()) single();
    }
    FLastFilter = condition;
}

void TExStringGrid::SetFilterDropDownRow(int value)
{
    if (value < 0 || value >= FixedRows()) return;
    FFilterRow = value;
    Invalidate();
}

void TExStringGrid::DoFilterDone()
{
    if (OnFilterDone) OnFilterDone(this);
}

void TExStringGrid::FilterDropListSelect(int itemIndex)
{
    if (CanFocus()) SetFocus();
    if (FFilterCol >= 0 && FFilterCol < ColCount() && FDropList && itemIndex >= 0 &&
        itemIndex < FDropList->Items()->Count() && itemIndex < FFilterList->Count()) {
        const std::string s = FFilterList->Strings(itemIndex);
        const std::size_t eq = s.find('=');
        const std::string friendly = eq == std::string::npos ? s : s.substr(0, eq);
        std::string condition = eq == std::string::npos ? s : s.substr(eq + 1);
        if (AutoFilterUpdate()) SetFilterActive(false);
        if (OnFilterSelect) OnFilterSelect(this, FFilterCol, itemIndex, friendly, condition);
        FFilter->FindOrAddColumn(FFilterCol)->SetCondition(condition);
        if (AutoFilterUpdate()) {
            SetFixedRowAlways(true);
            SetFilterActive(true);
            if (RowCount() != FixedRows() && RowCount() != 1) SetRow(FixedRows());
            DoFilterDone();
        }
    }
    FFilterCol = -1;
}

TDropList* TExStringGrid::DropList()
{
    if (!FDropList) {
        FDropList = new TDropList(this);
        FDropList->OnSelect = [this](int i) { FilterDropListSelect(i); };
    }
    return FDropList;
}

bool TExStringGrid::ShowFilterDropDown(int aCol)
{
    if (aCol < 0 || aCol >= ColCount()) return false;
    const int rCol = RealColIndex(aCol);
    if (!GetColumnFilter(rCol)) {
        // The column's distinct values, in order.
        std::set<std::string> seen;
        for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r) {
            const std::string v = GetCellText(rCol, r);
            if (!v.empty() && seen.insert(v).second) FFilterList->Add(v);
        }
        FFilterList->Sort();
    }
    if (FFilterList->Count() == 0) return false;
    TDropList* list = DropList();
    list->Items()->Clear();
    int widest = 0;
    gui::TBitmap measure;
    measure.Canvas()->Font()->Assign(FFilterDropDown->Font());
    for (int i = 0; i < FFilterList->Count(); ++i) {
        const std::string& s = FFilterList->Strings(i);
        const std::string name = s.substr(0, s.find('='));
        list->Items()->Add(name);
        widest = std::max(widest, measure.Canvas()->TextWidth(name));
    }
    list->SetColor(FFilterDropDown->Color());
    list->Font()->Assign(FFilterDropDown->Font());
    list->SetItemIndex(0);
    FFilterCol = aCol;
    // Below the button, from the cell's right edge (or over the column's width).
    const gui::TRect cell = CellRect(aCol, FFilterRow);
    int left = cell.Right - 16, w = FFilterDropDown->Width(), h = FFilterDropDown->Height();
    if (FFilterDropDown->AutoSize()) {
        h = FFilterList->Count() * list->ItemHeight() + 2 * 2;
        w = 2 * 2 + widest + 8;
    }
    if (FFilterDropDown->ColumnWidth()) {
        left = cell.Left;
        w = cell.Width();
    }
    list->ShowAt(ClientToScreen({left, cell.Top + 16}), w, h);
    return true;
}

bool TExStringGrid::DrawFilterButton(gui::TCanvas* canvas, int rCol, int aRow, const gui::TRect& rect)
{
    if (aRow != FFilterRow || FFilterRow >= FixedRows()) return false;
    // Asking for the entries must not disturb the list of an open drop-down.
    const std::string open = FFilterList->Text();
    const bool has = GetColumnFilter(rCol);
    FFilterList->SetText(open);
    if (!has) return false;
    const gui::TRect b{rect.Right - 16, rect.Top, rect.Right, rect.Top + 16};
    gui::TBitmap* glyph = FFilterDropDown->Glyph();
    if (glyph->Empty()) {
        gridbase::DrawResourceBitmapOnColor(canvas, FixedColor(), b, "GRDFILT");
    } else {
        glyph->SetTransparent(true);
        canvas->Draw(b.Left, b.Top, glyph);
    }
    return true;
}

void TExStringGrid::FilterButtonRelease(int x, int y)
{
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    // A press outside the list has hidden it already; its column is still
    // the open one until this release.
    const int openCol = FFilterCol;
    if (FDropList) FDropList->CloseUp();
    FFilterCol = -1;
    if (c < 0 || r != FFilterRow || FFilterRow >= FixedRows() || c == openCol) return;
    const gui::TRect cell = CellRect(c, r);
    if (x > cell.Right - 16 && x < cell.Right - 3 && y < cell.Top + 19 && GetColumnFilter(RealColIndex(c)))
        ShowFilterDropDown(c);
}

} // namespace grid
