// The band engine's vertical bands: data bands laid out from left to right
// across the horizontal bands they cross, whose cells are collected into
// each such horizontal band and output page by page when they run wider
// than the page.
#include "report/qlrClass.h"
#include "report/qlrEngine.h"

namespace qlr {

namespace {

template <typename T> bool Is(const rtl::TObject* c) { return c && T::StaticClassInfo().IsInstance(c); }

constexpr long double kEps = 0.0001L;

} // namespace

void TqlrEngine::MoveIntoVerticalBands(TqlrReportPage* page, const std::vector<TqlrBand*>& horizontal)
{
    std::vector<TqlrBand*> vertical;
    for (TqlrComponent* c : page->Objects())
        if (auto* b = dynamic_cast<TqlrBand*>(c); b && b->Vertical) vertical.push_back(b);
    if (vertical.empty()) return;
    for (TqlrBand* hb : horizontal) {
        if (Is<TqlrOverlay>(hb)) continue;
        const std::vector<TqlrComponent*> objects = hb->Objects();
        for (TqlrComponent* obj : objects) {
            const long double left = hb->Left() + obj->Left(), right = left + obj->Width();
            for (TqlrBand* vb : vertical) {
                if (left < vb->Left() - kEps || right > vb->Left() + vb->Width() + kEps) continue;
                obj->SetParent(vb);
                obj->SetOriginalBand(hb);
                obj->SetLeftDirect(left - vb->Left());
                hb->HasVBands = true;
                break;
            }
        }
    }
}

void TqlrEngine::CollectVerticalCells(TqlrBand* holder)
{
    FVMasterBand = holder;
    holder->OriginalObjectsCount = static_cast<int>(holder->Objects().size());
    holder->AllowSplit = false;
    FVHeaderList.Clear();
    FVPageList.assign(1, 0);
    CurVColumn = 0;
    const int savedPage = Pages() ? Pages()->CurPage : 0;
    RunVerticalBands(PageSubBands(FPage, true));
    FVPageList.push_back(static_cast<int>(holder->Objects().size()));
    if (Pages()) Pages()->CurPage = savedPage;
}

void TqlrEngine::RunVerticalBands(const std::vector<TqlrBand*>& bands)
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
        bool first = true, printed = false;
        while (!ds->Eof()) {
            if (HasData(d->SubBands, d->PrintIfDetailEmpty, false)) {
                if (first && d->Header) {
                    ShowVBand(d->Header);
                    FVHeaderList.AddItem(d->Header, FPageCurX, false);
                }
                if (d->Group) {
                    if (first) StartGroups(d, 0, true);
                    else CheckGroups(d, rowTop, 0);
                }
                CurLine = d->LineN;
                CurLineThrough = d->LineThrough;
                ShowVBand(d);
                ++d->LineN;
                ++d->LineThrough;
                RunVerticalBands(d->SubBands);
                first = false;
                printed = true;
            }
            ds->Next();
            if ((d->RowCount() != 0 && d->LineN > d->RowCount()) || Terminated()) break;
        }
        if (printed) {
            if (d->Group) FinishGroups(d, 0);
            ShowVBand(d->Footer);
            RemoveFromVHeaderList(d->Header);
        }
        if (Terminated()) break;
    }
}

void TqlrEngine::ShowVBand(TqlrBand* band)
{
    TqlrBand* holder = FVMasterBand;
    if (!band || !holder) return;
    TqlrReport* report = Report();
    const bool isData = Is<TqlrDataBand>(band);
    const bool isFooter = Is<TqlrFooter>(band) || Is<TqlrGroupFooter>(band);
    if (isData) ++CurVColumn;
    FCurBand = isFooter ? band : holder;
    report->CurObject = band;
    band->BeforePrint();
    report->DoBeforePrint(band);
    if (band->Visible()) {
        if (CurX > 0 && CurX + band->Width() > PageWidth + kEps) {
            if (FPage->EndlessWidth) {
                PageWidth += band->Width();
            } else {
                // The cells from here on go to the next page of this stretch.
                FVPageList.push_back(static_cast<int>(holder->Objects().size()));
                CurX = 0;
                for (int i = 0; i < FVHeaderList.Count(); ++i)
                    if (FVHeaderList.Items(i).Band != band) ShowVBand(FVHeaderList.Items(i).Band);
                FCurBand = isFooter ? band : holder;
            }
        }
        const std::vector<TqlrComponent*> objects = band->Objects();
        for (TqlrComponent* c : objects) {
            auto* obj = dynamic_cast<TqlrReportComponent*>(c);
            if (!obj || obj->OriginalBand() != holder) continue;
            report->CurObject = obj;
            obj->BeforePrint();
            report->DoBeforePrint(obj);
            if (obj->Visible()) obj->GetData();
            auto* cell = dynamic_cast<TqlrReportComponent*>(obj->ClassType()->Create(nullptr));
            if (cell) {
                cell->Assign(obj);
                cell->SetOriginalComponent(obj->OriginalComponent());
                cell->SetAliasName(obj->AliasName());
                cell->SetParent(holder);
                cell->SetLeftDirect(obj->Left() + CurX);
            }
            obj->AfterPrint();
        }
        CurX += band->Width();
    }
    report->CurObject = band;
    report->DoAfterPrint(band);
    band->AfterPrint();
    if (isData) FAggregates->AddValue(band, CurVColumn);
    if (isFooter) FAggregates->Reset(band);
}

void TqlrEngine::OutputVerticalCells(TqlrBand* holder)
{
    TqlrCustomPreviewPages* pages = Pages();
    if (!pages) return;
    const std::vector<TqlrComponent*> all = holder->Objects();
    std::vector<bool> visible;
    for (TqlrComponent* c : all) visible.push_back(c->Visible());
    const int savedPage = pages->CurPage;
    const long double savedY = CurY;
    pages->AddPageAction = TqlrAddPageAction::apWriteOver;
    auto restore = [&] {
        for (std::size_t k = 0; k < all.size(); ++k) all[k]->SetVisible(visible[k]);
        pages->CurPage = savedPage;
        CurY = savedY;
        pages->AddPageAction = TqlrAddPageAction::apAdd;
    };
    try {
        for (std::size_t i = 0; i + 1 < FVPageList.size(); ++i) {
            const auto from = static_cast<std::size_t>(FVPageList[i]), to = static_cast<std::size_t>(FVPageList[i + 1]);
            for (std::size_t k = 0; k < all.size(); ++k) all[k]->SetVisible(visible[k] && k >= from && k < to);
            holder->SetTopDirect(savedY);
            pages->AddObject(holder);
            if (i + 2 < FVPageList.size()) {
                // The next stretch of cells goes to the next page (written
                // over when it exists), without data and group headers.
                FDontShowHeaders = true;
                try {
                    NewPage();
                } catch (...) {
                    FDontShowHeaders = false;
                    throw;
                }
                FDontShowHeaders = false;
            }
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

} // namespace qlr
