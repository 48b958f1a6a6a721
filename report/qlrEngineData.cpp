// The band engine's data side: the band tree of a page with its structure
// errors, the data test, the data-band loop, multi-column rows, groups and
// drill-down.
#include <algorithm>
#include <functional>

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrEngine.h"

namespace qlr {

namespace {

template <typename T> bool Is(const rtl::TObject* c) { return c && T::StaticClassInfo().IsInstance(c); }

bool IsDataBandNumber(int n) { return n >= 6 && n <= 11; }

// Variant comparison that never raises: values that cannot be compared
// differ when their kinds or texts do.
bool ValuesDiffer(const rtl::Variant& a, const rtl::Variant& b)
{
    try {
        return a != b;
    } catch (const rtl::Exception&) {
        return a.VarType() != b.VarType() || rtl::VarToStr(a) != rtl::VarToStr(b);
    }
}

void ResetMemos(TqlrBand* band)
{
    for (TqlrComponent* c : band->Objects())
        if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c)) m->ResetSuppress();
}

} // namespace

TqlrDataSet* TqlrEngine::BandDataSet(TqlrBand* band)
{
    auto* d = dynamic_cast<TqlrDataBand*>(band);
    if (!d) return nullptr;
    if (d->DataSet()) return d->DataSet();
    return d->RowCount() > 0 ? d->VirtualDataSet() : nullptr;
}

// --- band structure ------------------------------------------------------------------------

void TqlrEngine::PrepareBandStructure(TqlrReportPage* page, bool vertical)
{
    TqlrReport* report = Report();
    page->AlignChildren();
    auto& lists = vertical ? FVSubBands : FSubBands;
    lists.erase(std::remove_if(lists.begin(), lists.end(), [&](auto& e) { return e.first == page; }), lists.end());
    lists.emplace_back(page, std::vector<TqlrBand*>());
    const std::size_t slot = lists.size() - 1;

    std::vector<TqlrBand*> bands;
    for (TqlrComponent* c : page->Objects())
        if (auto* b = dynamic_cast<TqlrBand*>(c); b && b->Vertical == vertical) bands.push_back(b);
    for (TqlrBand* b : bands) {
        PrepareShiftTree(b);
        b->SubBands.clear();
        b->Header = b->Footer = b->Group = nullptr;
        b->HasVBands = false;
        if (auto* d = dynamic_cast<TqlrDataBand*>(b); d && !d->DataSet() && d->RowCount() > 0)
            d->VirtualDataSet()->Initialize();
    }

    if (!vertical) MoveIntoVerticalBands(page, bands);

    // Bands 4 to 13 in their order on the page; of two at the same place
    // only the first takes part.
    std::vector<std::pair<std::string, TqlrBand*>> keyed;
    for (TqlrBand* b : bands) {
        const int n = b->BandNumber();
        if (n < 4 || n > 13) continue;
        std::string key = rtl::Format("%9.2f", {static_cast<double>(vertical ? b->Left() : b->Top())});
        if (std::any_of(keyed.begin(), keyed.end(), [&](auto& k) { return k.first == key; })) continue;
        keyed.emplace_back(key, b);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<TqlrBand*> list;
    for (auto& k : keyed) list.push_back(k.second);
    auto errorFor = [&](const std::string& text, TqlrBand* b) { report->Errors()->Add(text + " " + b->Name()); };

    // Groups: each header's chain of nested headers, the data band they
    // group, and the footer pairs.
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!Is<TqlrGroupHeader>(list[i])) continue;
        std::size_t j = i;
        while (j < list.size() && Is<TqlrGroupHeader>(list[j])) ++j;
        for (std::size_t k = i; k < j; ++k) list[i]->SubBands.push_back(list[k]);
        TqlrBand* data = nullptr;
        for (std::size_t k = j; k < list.size() && !data; ++k)
            if (IsDataBandNumber(list[k]->BandNumber())) data = list[k];
        if (!data) errorFor("No data band for the group", list[i]);
        else if (!data->Group) data->Group = list[i];
    }
    std::vector<TqlrBand*> rest;
    std::vector<TqlrBand*> openHeaders;
    for (TqlrBand* b : list) {
        if (Is<TqlrGroupHeader>(b)) {
            openHeaders.push_back(b);
        } else if (Is<TqlrGroupFooter>(b)) {
            if (openHeaders.empty()) {
                errorFor("No group header for", b);
            } else {
                openHeaders.back()->Footer = b;
                openHeaders.pop_back();
            }
        } else {
            rest.push_back(b);
        }
    }
    list.swap(rest);

    // Data headers and footers next to their data band.
    std::vector<bool> used(list.size(), false);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!IsDataBandNumber(list[i]->BandNumber())) continue;
        if (i > 0 && !used[i - 1] && Is<TqlrHeader>(list[i - 1])) {
            list[i]->Header = list[i - 1];
            used[i - 1] = true;
        }
        if (i + 1 < list.size() && Is<TqlrFooter>(list[i + 1])) {
            list[i]->Footer = list[i + 1];
            used[i + 1] = true;
        }
    }
    rest.clear();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (used[i]) continue;
        if (Is<TqlrHeader>(list[i]) || Is<TqlrFooter>(list[i])) errorFor("Unconnected header/footer", list[i]);
        else rest.push_back(list[i]);
    }
    list.swap(rest);

    // Masters and their details, down to the sixth level.
    std::vector<bool> removed(list.size(), false);
    std::function<void(std::size_t)> attach = [&](std::size_t idx) {
        TqlrBand* b = list[idx];
        const int n = b->BandNumber();
        for (std::size_t j = idx + 1; j < list.size(); ++j) {
            if (removed[j]) continue;
            const int m = list[j]->BandNumber();
            if (m <= n) break;
            if (m != n + 1) continue;
            removed[j] = true;
            if (BandDataSet(list[j])) b->SubBands.push_back(list[j]);
            attach(j);
        }
    };
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (removed[i] || !Is<TqlrMasterData>(list[i])) continue;
        removed[i] = true;
        if (BandDataSet(list[i])) lists[slot].second.push_back(list[i]);
        attach(i);
    }
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!removed[i]) errorFor("Incorrect band position:", list[i]);
}

// --- data test -----------------------------------------------------------------------------

bool TqlrEngine::HasData(const std::vector<TqlrBand*>& details, bool printIfEmpty, bool isPage)
{
    if (printIfEmpty) return true;
    if (details.empty()) return !isPage;
    for (TqlrBand* b : details) {
        TqlrDataSet* ds = BandDataSet(b);
        if (!ds) continue;
        auto* d = static_cast<TqlrDataBand*>(b);
        ds->First();
        while (!ds->Eof()) {
            if (HasData(d->SubBands, d->PrintIfDetailEmpty, false)) return true;
            ds->Next();
        }
    }
    return false;
}

// --- the data-band loop --------------------------------------------------------------------

void TqlrEngine::RunDataBands(const std::vector<TqlrBand*>& bands)
{
    ServeMessages();
    if (Terminated()) return;
    long double rowTop = CurY;
    for (TqlrBand* b : bands) {
        TqlrDataSet* ds = BandDataSet(b);
        if (!ds) continue;
        auto* d = static_cast<TqlrDataBand*>(b);
        ds->First();
        d->LineN = 1;
        d->LineThrough = 1;
        d->SetCurColumn(1);
        ResetMemos(d);
        bool first = true, printed = false;
        int keepFooterPosition = -1, rowStartPosition = 0;
        while (!ds->Eof()) {
            if (HasData(d->SubBands, d->PrintIfDetailEmpty, false)) {
                bool keptHeader = false;
                if (first) {
                    if (d->KeepHeader && d->Header && !FIsFirstBand) {
                        StartKeep(d);
                        FKeepHeader = FKeeping;
                        keptHeader = FKeeping;
                    }
                    AddToHeaderList(d->Header);
                    ShowBand(d->Header);
                    if (d->KeepTogether) StartKeep(d);
                } else if (!d->Group && d->KeepTogether) {
                    StartKeep(d);
                }
                if (d->Group) {
                    if (first) StartGroups(d, 0, true);
                    else CheckGroups(d, rowTop, rowStartPosition);
                }
                if (d->KeepFooter && Pages()) keepFooterPosition = Pages()->GetCurPosition();
                if (d->Columns() > 1 && d->CurColumn() == 1 && Pages()) rowStartPosition = Pages()->GetCurPosition();
                const long double y = CurY;
                CurLine = d->LineN;
                CurLineThrough = d->LineThrough;
                ShowBand(d);
                for (rtl::TObject* o : NotifyList)
                    if (auto* c = dynamic_cast<TqlrComponent*>(o)) c->OnNotify(d);
                if (keptHeader) EndKeep(d);

                FHBandNamesTree.emplace_back(d->Name(), d->LineThrough);
                ++d->LineN;
                ++d->LineThrough;
                rowTop = y;
                ApplyColumns(d, rowTop, rowStartPosition);
                AddBandOutline(d);
                RunDataBands(d->SubBands);
                FHBandNamesTree.pop_back();
                OutlineUp(d);
                FIsFirstBand = false;
                if (d->FooterAfterEach) ShowBand(d->Footer);
                first = false;
                printed = true;
            }
            if (!d->Group && d->KeepTogether) EndKeep(d);
            ds->Next();
            if ((d->RowCount() != 0 && d->LineN > d->RowCount()) || Terminated()) break;
        }
        if (d->Columns() > 1) {
            d->SetCurColumn(d->Columns());
            ApplyColumns(d, rowTop, rowStartPosition);
        }
        if (printed) {
            if (d->Group) FinishGroups(d, 0);
            if (!d->FooterAfterEach && d->Footer) {
                // The last row moves with the footer.
                if (d->KeepFooter) StartKeep(d, keepFooterPosition);
                FKeepFooter = true;
                try {
                    ShowBand(d->Footer);
                } catch (...) {
                    FKeepFooter = false;
                    throw;
                }
                FKeepFooter = false;
                if (d->KeepFooter) EndKeep(d);
            }
            RemoveFromHeaderList(d->Header);
            if (d->Group && d->KeepTogether) EndKeep(d);
        }
        FIsFirstBand = false;
        if (Terminated()) break;
    }
}

void TqlrEngine::ApplyColumns(TqlrDataBand* band, long double& rowTop, int rowStartPosition)
{
    if (band->Columns() < 2) return;
    if (CurY > band->MaxY) band->MaxY = CurY;
    if (band->CurColumn() < band->Columns()) {
        CurY = rowTop;
    } else if (band->MaxY <= PageHeight() - FooterHeight() || FPage->EndlessHeight) {
        CurY = band->MaxY;
    } else if (FKeeping) {
        NewColumn();
    } else {
        // The row set does not fit: it moves whole to the next column.
        if (Pages()) Pages()->CutObjects(rowStartPosition);
        NewColumn();
        if (Pages()) Pages()->PasteObjects(CurX, CurY);
        CurY += band->MaxY - rowTop;
    }
    if (band->Visible()) band->SetCurColumn(band->CurColumn() + 1);
}

// --- groups --------------------------------------------------------------------------------

void TqlrEngine::StartGroups(TqlrDataBand* band, std::size_t level, bool firstRow)
{
    std::vector<TqlrBand*>& chain = band->Group->SubBands;
    for (std::size_t i = level; i < chain.size(); ++i) {
        TqlrBand* h = chain[i];
        if (firstRow) {
            h->LineN = 1;
            h->LineThrough = 1;
            ResetMemos(h);
        } else {
            ++h->LineN;
            if (i + 1 < chain.size()) chain[i + 1]->LineN = 0;
            ++h->LineThrough;
        }
    }
    ApplyDrillDown(band);
    for (std::size_t i = level; i < chain.size(); ++i) {
        auto* h = static_cast<TqlrGroupHeader*>(chain[i]);
        CurLine = h->LineN;
        CurLineThrough = h->LineThrough;
        h->LastValue = Report()->Calc(h->Condition);
        if (h->KeepTogether) StartKeep(h);
        ShowBand(h);
        AddBandOutline(h);
        AddToHeaderList(h);
    }
}

void TqlrEngine::CheckGroups(TqlrDataBand* band, long double& rowTop, int rowStartPosition)
{
    ApplyDrillDown(band);
    std::vector<TqlrBand*>& chain = band->Group->SubBands;
    std::size_t changed = chain.size();
    for (std::size_t i = 0; i < chain.size(); ++i) {
        auto* h = static_cast<TqlrGroupHeader*>(chain[i]);
        if (ValuesDiffer(Report()->Calc(h->Condition), h->LastValue)) {
            changed = i;
            break;
        }
    }
    if (changed == chain.size()) return;
    if (band->Columns() > 1) {
        band->SetCurColumn(band->Columns());
        ApplyColumns(band, rowTop, rowStartPosition);
    }
    // The footers see the last record of the finished group.
    TqlrDataSet* ds = BandDataSet(band);
    ds->Prior();
    FinishGroups(band, changed);
    ds->Next();
    StartGroups(band, changed, false);
    band->LineN = 1;
    ResetMemos(band);
}

void TqlrEngine::FinishGroups(TqlrDataBand* band, std::size_t level)
{
    std::vector<TqlrBand*>& chain = band->Group->SubBands;
    for (std::size_t i = chain.size(); i-- > level;) {
        auto* h = static_cast<TqlrGroupHeader*>(chain[i]);
        if (h->Footer) {
            auto* footer = dynamic_cast<TqlrGroupFooter*>(h->Footer);
            if (footer && footer->HideIfSingleDataRecord && band->LineN < 3) FAggregates->Reset(footer);
            else ShowBand(h->Footer);
        }
        OutlineUp(h);
        RemoveFromHeaderList(h);
        if (h->KeepTogether) EndKeep(h);
    }
}

void TqlrEngine::ApplyDrillDown(TqlrDataBand* band)
{
    std::vector<TqlrBand*>& chain = band->Group->SubBands;
    if (chain.empty()) return;
    auto* outer = static_cast<TqlrGroupHeader*>(chain[0]);
    for (std::size_t i = 0; i < chain.size(); ++i) {
        auto* h = static_cast<TqlrGroupHeader*>(chain[i]);
        if (!h->DrillDown) continue;
        std::string name;
        for (auto& entry : FHBandNamesTree) name += entry.first + "." + std::to_string(entry.second) + ".";
        name += h->Name() + "." + std::to_string(h->LineThrough);
        h->DrillName = name;
        const bool toggled = Report()->DrillState()->IndexOf(name) >= 0;
        const bool expanded = h->ExpandDrillDown ? !toggled : toggled;
        if (h->Child() && !outer->ShowChildIfDrillDown) h->Child()->SetVisible(expanded);
        for (std::size_t j = i + 1; j < chain.size(); ++j) {
            chain[j]->SetVisible(expanded);
            if (chain[j]->Footer) chain[j]->Footer->SetVisible(expanded);
        }
        band->SetVisible(expanded);
        if (h->Footer && !h->ShowFooterIfDrillDown) h->Footer->SetVisible(expanded);
        if (!expanded) break;
    }
}

} // namespace qlr
