// The band engine's run: passes, report pages and their repeats, starting
// and ending pages, new pages and columns, the header list, keeping blocks
// together and the outline.
#include <cmath>

#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrEngine.h"
#include "report/qlrUtils.h"

namespace qlr {

namespace {

template <typename T> bool Is(const rtl::TObject* c) { return c && T::StaticClassInfo().IsInstance(c); }

std::vector<TqlrReportPage*> ReportPages(TqlrReport* report)
{
    std::vector<TqlrReportPage*> pages;
    for (TqlrComponent* c : report->Objects())
        if (auto* p = dynamic_cast<TqlrReportPage*>(c)) pages.push_back(p);
    return pages;
}

} // namespace

// --- header list ---------------------------------------------------------------------------

void TqlrHeaderList::AddItem(TqlrBand* band, long double left, bool inKeepList)
{
    FList.push_back({band, left, inKeepList});
}

void TqlrHeaderList::RemoveItem(TqlrBand* band)
{
    for (auto it = FList.begin(); it != FList.end(); ++it)
        if (it->Band == band) {
            FList.erase(it);
            return;
        }
}

// --- the custom engine's plain operations ----------------------------------------------------

void TqlrCustomEngine::ShowBandByName(const std::string& bandName)
{
    if (Report()) ShowBand(dynamic_cast<TqlrBand*>(Report()->FindObject(bandName)));
}

RTL_PUBLISHED(TqlrEngine) {}

// --- construction --------------------------------------------------------------------------

TqlrEngine::TqlrEngine(TqlrReport* report)
    : TqlrCustomEngine(report), FAggregates(std::make_unique<TqlrAggregateList>(report))
{
}

TqlrEngine::~TqlrEngine() = default;

TqlrCustomOutline* TqlrEngine::Outline() const { return Pages() ? Pages()->Outline() : nullptr; }

bool TqlrEngine::Terminated() const { return Report()->Terminated(); }

void TqlrEngine::ServeMessages()
{
    if (gui::Application) gui::Application->ProcessMessages();
}

const std::vector<TqlrBand*>& TqlrEngine::PageSubBands(TqlrReportPage* page, bool vertical)
{
    auto& lists = vertical ? FVSubBands : FSubBands;
    for (auto& entry : lists)
        if (entry.first == page) return entry.second;
    lists.emplace_back(page, std::vector<TqlrBand*>());
    return lists.back().second;
}

// --- sizes ---------------------------------------------------------------------------------

long double TqlrEngine::CalcPageHeight()
{
    if (FPage && FPage->EndlessHeight) return FooterHeight() + CurY;
    return FPageHeight;
}

long double TqlrEngine::HeaderHeight()
{
    if (!FPage) return 0;
    long double h = 0;
    for (const rtl::TClassInfo* cls : {&TqlrColumnHeader::StaticClassInfo(), &TqlrPageHeader::StaticClassInfo()})
        for (TqlrBand* b = FPage->FindBand(*cls); b; b = b->Child()) h += b->Height();
    return h;
}

long double TqlrEngine::FooterHeight()
{
    if (!FPage) return 0;
    long double h = 0;
    if (TqlrBand* b = FPage->FindBand(TqlrColumnFooter::StaticClassInfo())) h += b->Height();
    if (TqlrBand* b = FPage->FindBand(TqlrPageFooter::StaticClassInfo())) h += b->Height();
    return h;
}

long double TqlrEngine::FreeSpace()
{
    if (FPage && FPage->EndlessHeight) return 1000000;
    if (FPrevFooterHeight != 0) return PageHeight() - FPrevFooterHeight - CurY;
    return PageHeight() - FooterHeight() - CurY;
}

rtl::Variant TqlrEngine::GetAggregateValue(const std::string& name, const std::string& expression,
                                           rtl::TObject* band, int flags)
{
    return FAggregates->GetValue(FCurBand, CurVColumn, name, expression, dynamic_cast<TqlrBand*>(band), flags);
}

// --- the run -------------------------------------------------------------------------------

bool TqlrEngine::Initialize()
{
    TqlrReport* report = Report();
    FPrevFooterHeight = 0;
    if (Pages()) {
        Pages()->Initialize();
        Pages()->AddPageAction = TqlrAddPageAction::apAdd;
    }
    StartDate = rtl::Date();
    StartTime = rtl::Now();
    Running = true;
    FKeeping = false;
    FKeepBand = nullptr;
    CurVColumn = 0;
    FOutputTo = nullptr;
    FAggregates->Clear();
    FSubBands.clear();
    FVSubBands.clear();
    FHBandNamesTree.clear();
    FShiftReady.clear();
    FVMasterBand = nullptr;
    FCurBand = FLastBandOnPage = FStartNewPageBand = nullptr;
    FCallFromAddPage = FCallFromEndPage = FCallFromPHeader = false;
    FKeepFooter = FKeepHeader = FDontShowHeaders = false;

    const std::vector<TqlrReportPage*> pages = ReportPages(report);
    for (TqlrReportPage* page : pages) {
        PrepareBandStructure(page, false);
        PrepareBandStructure(page, true);
    }
    // One data set cannot drive two levels of repetition at once.
    for (TqlrReportPage* page : pages) {
        if (report->DataSet() && report->DataSet() == page->DataSet()) {
            report->Errors()->Add("Cannot use the same dataset for Report.DataSet and Page.DataSet");
            break;
        }
        for (TqlrBand* b : PageSubBands(page)) {
            TqlrDataSet* ds = BandDataSet(b);
            if (report->DataSet() && ds == report->DataSet()) {
                report->Errors()->Add("Cannot use the same dataset for Report.DataSet and Band.DataSet");
                break;
            }
            if (page->DataSet() && ds == page->DataSet()) {
                report->Errors()->Add("Cannot use the same dataset for Page.DataSet and Band.DataSet");
                break;
            }
        }
    }
    return report->Errors()->Count() == 0;
}

void TqlrEngine::Finalize()
{
    Report()->DataSets()->Finalize();
    if (Pages()) Pages()->Finish();
    Running = false;
    // The template is reloaded after a run: nothing of it may be kept.
    FPage = nullptr;
    FCurBand = nullptr;
    FVMasterBand = nullptr;
}

bool TqlrEngine::Run()
{
    bool result = false;
    try {
        if (Initialize()) {
            TqlrReport* report = Report();
            report->DataSets()->Initialize();
            for (TqlrReportPage* page : ReportPages(report)) {
                if (Pages()) Pages()->AddSourcePage(page);
                FAggregates->AddItems(page, PageSubBands(page), PageSubBands(page, true));
            }
            FinalPass = !DoublePass();
            TotalPages = 0;
            if (Pages()) Pages()->BeginPass();
            RunReportPages();
            if (DoublePass()) {
                TotalPages = Pages() ? Pages()->GetCount() : 0;
                if (Pages()) {
                    Pages()->CurPage = Pages()->GetCount() - 1;
                    Pages()->ClearFirstPassPages();
                }
                FAggregates->ClearValues();
                FinalPass = true;
                RunReportPages();
            }
            result = true;
        }
    } catch (...) {
        Finalize();
        throw;
    }
    Finalize();
    return result;
}

void TqlrEngine::RunReportPages()
{
    FFirstReportPage = true;
    if (TqlrDataSet* ds = Report()->DataSet()) {
        ds->First();
        while (!ds->Eof() && !Terminated()) {
            RunAllPages();
            ds->Next();
        }
    } else {
        RunAllPages();
    }
}

void TqlrEngine::RunAllPages()
{
    for (TqlrReportPage* page : ReportPages(Report())) {
        if (!page->Visible() || page->IsSubReport()) continue;
        RunPage(page);
        if (Terminated()) break;
        FFirstReportPage = false;
    }
}

void TqlrEngine::RunPage(TqlrReportPage* page)
{
    FPage = page;
    FIsFirstBand = true;
    if (TqlrDataSet* ds = page->DataSet()) {
        ds->First();
        while (!ds->Eof() && !Terminated()) {
            DoPageRun(page);
            ds->Next();
        }
    } else {
        for (int i = 0; i < page->PageCount() && !Terminated(); ++i) DoPageRun(page);
    }
}

void TqlrEngine::DoPageRun(TqlrReportPage* page)
{
    TqlrReport* report = Report();
    FPage = page;
    if (!report->EngineOptions()->PrintIfEmpty && !HasData(PageSubBands(page), false, true)) return;
    PageStart();

    // Objects standing on the page outside any band overlay its first output
    // page without taking space.
    std::vector<TqlrComponent*> loose;
    for (TqlrComponent* c : page->Objects())
        if (!Is<TqlrBand>(c) && Is<TqlrView>(c)) loose.push_back(c);
    if (!loose.empty()) {
        // The holder stands on the page while it prints, so its objects
        // reach the report.
        TqlrNullBand holder(nullptr);
        holder.SetParent(page);
        holder.SetBounds(0, 0, PageWidth, FPageHeight);
        for (TqlrComponent* c : loose) c->SetParent(&holder);
        auto putBack = [&] {
            for (TqlrComponent* c : loose) c->SetParent(page);
            holder.SetParent(nullptr);
            FShiftReady.erase(&holder);
        };
        const long double y = CurY;
        try {
            ShowBand(&holder);
        } catch (...) {
            putBack();
            throw;
        }
        putBack();
        CurY = y;
    }

    if (report->OnManualBuild) report->OnManualBuild(page);
    else if (page->OnManualBuild.empty()) RunDataBands(PageSubBands(page));

    FIsLastPage = true;
    if (page->EndlessHeight || page->EndlessWidth) {
        const long double width = page->EndlessWidth
                                      ? (page->LeftMargin() + page->RightMargin()) * fr01cm + PageWidth
                                      : page->PaperWidth() * fr01cm;
        FPageHeight = FooterHeight() + CurY;
        const long double height = page->EndlessHeight
                                       ? FPageHeight + (page->TopMargin() + page->BottomMargin()) * fr01cm
                                       : page->PaperHeight() * fr01cm;
        if (Pages()) Pages()->UpdatePageDimensions(page, width, height);
    }
    EndPage();
    FIsLastPage = false;
}

// --- pages ---------------------------------------------------------------------------------

void TqlrEngine::PageStart()
{
    TqlrBand* title = FPage->FindBand(TqlrReportTitle::StaticClassInfo());
    TqlrBand* header = FPage->FindBand(TqlrPageHeader::StaticClassInfo());
    FHeaderList.Clear();
    if (FPage->TitleBeforeHeader) {
        FHeaderList.AddItem(title, 0, false);
        FHeaderList.AddItem(header, 0, false);
    } else {
        FHeaderList.AddItem(header, 0, false);
        FHeaderList.AddItem(title, 0, false);
    }
    FPageHeight = (FPage->PaperHeight() - FPage->TopMargin() - FPage->BottomMargin()) * fr01cm;
    PageWidth = (FPage->PaperWidth() - FPage->LeftMargin() - FPage->RightMargin()) * fr01cm;
    CurX = 0;
    CurY = 0;
    FPageCurX = 0;
    CurColumn = 1;
    FIsFirstPage = true;
    FIsLastPage = false;
    if (TqlrCustomOutline* o = Outline()) o->LevelRoot();
    if (FPage->ResetPageNumbers && Pages()) Pages()->ResetLogicalPageNumber();

    if (Pages() && Pages()->GetCount() > 0 && FPage->PrintOnPreviousPage) {
        Pages()->CurPage = Pages()->GetCount() - 1;
        CurY = Pages()->GetLastY();
        FHeaderList.RemoveItem(title);
        ShowBand(title);
    } else {
        AddPage();
    }
    if (FFirstReportPage && Pages()) Pages()->FirstPage = Pages()->CurPage;

    FFirstColumnY = CurY;
    if (TqlrBand* colHeader = FPage->FindBand(TqlrColumnHeader::StaticClassInfo())) {
        ShowBand(colHeader);
        FHeaderList.AddItem(colHeader, FPageCurX, false);
    }
    FHeaderList.RemoveItem(title);
    AddPageOutline();
}

void TqlrEngine::AddPage()
{
    FPrevFooterHeight = 0;
    if (Pages()) Pages()->AddPage(FPage);
    CurY = 0;
    auto* overlay = dynamic_cast<TqlrOverlay*>(FPage->FindBand(TqlrOverlay::StaticClassInfo()));
    if (overlay && !overlay->PrintOnTop) {
        ShowBand(overlay);
        CurY = 0;
    }
    FFirstColumnY = 0;
    const long double savedX = CurX;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        TqlrHeaderListItem item = FHeaderList.Items(i);
        TqlrBand* b = item.Band;
        if (!b || b == FStartNewPageBand) continue;
        const bool isHeader = Is<TqlrHeader>(b);
        if ((isHeader && FKeepHeader) || (item.IsInKeepList && !FKeepFooter)) continue;
        if (isHeader && (FDontShowHeaders || b == FLastBandOnPage)) continue;
        if (Is<TqlrGroupHeader>(b) && FDontShowHeaders) continue;
        auto* pageHeader = dynamic_cast<TqlrPageHeader*>(b);
        CurX = item.Left;
        b->Overflow = true;
        CurLine = b->LineN;
        CurLineThrough = b->LineThrough;
        FCallFromAddPage = true;
        FCallFromPHeader = pageHeader != nullptr;
        // The title prints once: a sub-report of it that runs over the page
        // starts the next page without printing the title again.
        const bool title = Is<TqlrReportTitle>(b);
        if (title) FHeaderList.Items(i).Band = nullptr;
        try {
            if (pageHeader && FIsFirstPage && !pageHeader->PrintOnFirstPage) {
                if (pageHeader->PrintChildIfInvisible) ShowBand(pageHeader->Child());
            } else {
                ShowBand(b);
            }
        } catch (...) {
            FCallFromAddPage = FCallFromPHeader = false;
            b->Overflow = false;
            throw;
        }
        FCallFromAddPage = false;
        FCallFromPHeader = false;
        b->Overflow = false;
        if (title) FIsFirstBand = false;
        if (pageHeader) FFirstColumnY = CurY;
    }
    CurX = savedX;
}

void TqlrEngine::EndPage()
{
    if (!FPage) return;  // called from report code outside a run
    if (!FCallFromEndPage) PrintColumnFooter();
    if (!FIsLastPage) {
        CurX = FPageCurX;
        CurColumn = 1;
    }
    if (FIsLastPage && !FCallFromEndPage) {
        if (TqlrBand* summary = FPage->FindBand(TqlrReportSummary::StaticClassInfo())) {
            const long double y = CurY;
            FCallFromEndPage = true;
            try {
                ShowBand(summary);
            } catch (...) {
                FCallFromEndPage = false;
                throw;
            }
            FCallFromEndPage = false;
            if (FPage->EndlessHeight) {
                FPageHeight += CurY - y;
                if (Pages())
                    Pages()->UpdatePageDimensions(
                        FPage,
                        FPage->EndlessWidth ? (FPage->LeftMargin() + FPage->RightMargin()) * fr01cm + PageWidth
                                            : FPage->PaperWidth() * fr01cm,
                        FooterHeight() + CurY + (FPage->TopMargin() + FPage->BottomMargin()) * fr01cm);
            }
        }
    }
    if (auto* footer = dynamic_cast<TqlrPageFooter*>(FPage->FindBand(TqlrPageFooter::StaticClassInfo()))) {
        CurY = PageHeight() - footer->Height();
        FPrevFooterHeight =
            FIsLastPage && footer->PrintOnLastPage && !FCallFromEndPage ? footer->Height() : 0;
        PrepareBand(footer);
        try {
            if (footer->Visible()) {
                const bool skip = (FIsFirstPage && !footer->PrintOnFirstPage) ||
                                  (FIsLastPage && !footer->PrintOnLastPage && !FCallFromEndPage);
                footer->SetLeft(0);
                footer->SetTop(CurY);
                if (!skip && Pages() && !Pages()->BandExists(footer)) {
                    Pages()->AddObject(footer);
                    CurY += footer->Height();
                }
            }
        } catch (...) {
            FinishBand(footer);
            throw;
        }
        FinishBand(footer);
        FAggregates->Reset(footer);
    }
    auto* overlay = dynamic_cast<TqlrOverlay*>(FPage->FindBand(TqlrOverlay::StaticClassInfo()));
    if (overlay && overlay->PrintOnTop) {
        // Over everything else, without taking space.
        const long double y = CurY;
        CurY = 0;
        ShowBand(overlay);
        CurY = y;
    }
    FIsFirstPage = false;
}

void TqlrEngine::PrintColumnFooter()
{
    TqlrBand* footer = FPage ? FPage->FindBand(TqlrColumnFooter::StaticClassInfo()) : nullptr;
    if (!footer) return;
    PrepareBand(footer);
    try {
        if (footer->Visible()) {
            footer->SetLeft(CurX - FPageCurX);
            footer->SetTop(CurY);
            if (Pages()) Pages()->AddObject(footer);
            CurY += footer->Height();
        }
    } catch (...) {
        FinishBand(footer);
        throw;
    }
    FinishBand(footer);
    FAggregates->Reset(footer);
}

void TqlrEngine::RebuildEndlessPage()
{
    if (!Pages() || !(FPage->EndlessHeight || FPage->EndlessWidth)) return;
    Pages()->UpdatePageDimensions(FPage, PageWidth + (FPage->LeftMargin() + FPage->RightMargin()) * fr01cm,
                                  FooterHeight() + CurY + (FPage->TopMargin() + FPage->BottomMargin()) * fr01cm);
}

void TqlrEngine::NewPage()
{
    if (!FPage) return;  // called from report code outside a run
    TqlrCustomPreviewPages* pages = Pages();
    // A block higher than an empty page is given up rather than moved on
    // every page.
    if (FKeeping && FKeepBand && CurY - FKeepCurY + FKeepBand->Height() > PageHeight() - FooterHeight()) {
        FKeeping = false;
        FKeepBand = nullptr;
        FAggregates->EndKeep();
    }
    if (FKeeping && pages) {
        if (FKeepFooter) FAggregates->DeleteValue(FKeepBand);
        pages->CutObjects(FKeepPosition);
        CurY = pages->GetLastY();
    }
    FLastBandOnPage = FCurBand;
    EndPage();
    RebuildEndlessPage();
    AddPage();
    FLastBandOnPage = nullptr;
    if (FKeeping && pages) {
        FAggregates->EndKeep();
        pages->PasteObjects(0, CurY);
        if (TqlrCustomOutline* o = Outline()) o->ShiftItems(FKeepOutline, static_cast<int>(std::lround(CurY)));
        pages->ShiftAnchors(FKeepAnchor, static_cast<int>(std::lround(CurY)));
        CurY = pages->GetLastY();
        if (FKeepFooter) FAggregates->AddValue(FKeepBand);
    }
    FKeeping = false;
    FKeepHeader = false;
    FKeepCurY = 0;
    FKeepBand = nullptr;
    AddPageOutline();
}

void TqlrEngine::NewColumn()
{
    if (!FPage || CurColumn >= FPage->Columns()) {
        NewPage();
        return;
    }
    TqlrCustomPreviewPages* pages = Pages();
    if (FKeeping && pages) {
        // The kept rows count in the new column, not twice.
        if (FKeepFooter) FAggregates->DeleteValue(FKeepBand);
        pages->CutObjects(FKeepPosition);
        CurY = pages->GetLastY(CurX);
    }
    FLastBandOnPage = FCurBand;
    PrintColumnFooter();
    NextColumn();
    FLastBandOnPage = nullptr;
    if (FKeeping && pages) {
        pages->PasteObjects(CurX, CurY);
        if (TqlrCustomOutline* o = Outline()) o->ShiftItems(FKeepOutline, static_cast<int>(std::lround(CurY)));
        pages->ShiftAnchors(FKeepAnchor, static_cast<int>(std::lround(CurY)));
        CurY = pages->GetLastY(CurX);
        if (FKeepFooter) FAggregates->AddValue(FKeepBand);
    }
    FKeeping = false;
    FKeepHeader = false;
    FKeepBand = nullptr;
}

void TqlrEngine::NextColumn()
{
    ++CurColumn;
    const long double x = ColumnX(CurColumn);
    CurY = FFirstColumnY;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        TqlrHeaderListItem item = FHeaderList.Items(i);
        TqlrBand* b = item.Band;
        if (!b || Is<TqlrPageHeader>(b) || b == FLastBandOnPage || item.IsInKeepList || FKeepHeader) continue;
        CurX = item.Left + x;
        b->Overflow = true;
        try {
            ShowBand(b);
        } catch (...) {
            b->Overflow = false;
            throw;
        }
        b->Overflow = false;
    }
    CurX = FPageCurX + x;
}

long double TqlrEngine::ColumnX(int column) const
{
    if (column <= 1 || !FPage) return 0;
    rtl::TStringList* positions = FPage->ColumnPositions();
    if (column - 1 < positions->Count()) {
        try {
            return StrToFloatLenient(positions->Strings(column - 1)) * fr01cm;
        } catch (const rtl::Exception&) {
        }
    }
    return (column - 1) * FPage->ColumnWidth() * fr01cm;
}

// --- header list, keeping, outline ---------------------------------------------------------

void TqlrEngine::AddToHeaderList(TqlrBand* band)
{
    if (!band) return;
    const auto* header = dynamic_cast<TqlrHeader*>(band);
    const auto* group = dynamic_cast<TqlrGroupHeader*>(band);
    if ((header && header->ReprintOnNewPage) || (group && group->ReprintOnNewPage)) {
        if (band->Vertical) FVHeaderList.AddItem(band, FPageCurX, false);
        else FHeaderList.AddItem(band, FPageCurX, FKeeping && !header);
    }
}

void TqlrEngine::RemoveFromHeaderList(TqlrBand* band)
{
    if (band) FHeaderList.RemoveItem(band);
}

void TqlrEngine::RemoveFromVHeaderList(TqlrBand* band)
{
    if (band) FVHeaderList.RemoveItem(band);
}

void TqlrEngine::StartKeep(TqlrBand* band, int position)
{
    if (FKeeping || FIsFirstBand) return;
    FKeepCurY = CurY;
    FKeepBand = band;
    FKeepPosition = position >= 0 ? position : (Pages() ? Pages()->GetCurPosition() : 0);
    FKeepOutline = Outline() ? Outline()->GetCurPosition() : nullptr;
    FKeepAnchor = Pages() ? Pages()->GetAnchorCurPosition() : -1;
    FKeeping = true;
    FAggregates->StartKeep();
}

void TqlrEngine::EndKeep(TqlrBand* band)
{
    if (!FKeepBand || band != FKeepBand) return;
    FKeepBand = nullptr;
    FKeepCurY = 0;
    FKeeping = false;
    FKeepHeader = false;
    FAggregates->EndKeep();
}

void TqlrEngine::AddPageOutline()
{
    TqlrCustomOutline* o = Outline();
    if (!o || !FPage || FPage->OutlineText.empty()) return;
    o->LevelRoot();
    o->AddItem(rtl::VarToStr(Report()->Calc(FPage->OutlineText)), 0);
}

void TqlrEngine::AddBandOutline(TqlrBand* band)
{
    TqlrCustomOutline* o = Outline();
    if (!o || !band || band->OutlineText.empty() || !band->Visible()) return;
    o->AddItem(rtl::VarToStr(Report()->Calc(band->OutlineText)),
               static_cast<int>(std::lround(CurY - band->Height())));
}

void TqlrEngine::OutlineUp(TqlrBand* band)
{
    TqlrCustomOutline* o = Outline();
    if (o && band && !band->OutlineText.empty() && band->Visible()) o->LevelUp();
}

} // namespace qlr
