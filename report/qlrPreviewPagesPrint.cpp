// Printing prepared pages (page lists, odd/even, reverse, copies,
// collation, duplex; one page per sheet, scaled to the sheet, split over
// several sheets or several pages joined on one) and exporting them
// through an export filter.
#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "report/qlrOutputServices.h"
#include "report/qlrPreviewPages.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"

namespace qlr {

namespace {

void PumpMessages()
{
    if (gui::Application) gui::Application->ProcessMessages();
}

int Round(long double x)
{
    return static_cast<int>(std::lround(static_cast<double>(x)));
}

// How many sheets of extent s (mm) a page extent p needs; a remainder under
// 11 mm is taken as no remainder.
int SheetCount(long double p, long double s)
{
    if (s <= 0) return 1;
    const int n = static_cast<int>(std::floor(p / s));
    if (std::fabs(n * s - p) < 11) return std::max(1, Round(p / s));
    return n + 1;
}

// The state of one Print call.
struct PrintJob {
    PrintJob(TqlrPreviewPages* pages, TqlrReport* report, TqlrPrintOptions* options, IqlrPrinter* printer)
        : Pages(pages), Report(report), Options(options), Printer(printer)
    {
    }
    TqlrPreviewPages* Pages;
    TqlrReport* Report;
    TqlrPrintOptions* Options;
    IqlrPrinter* Printer;
    rtl::TStringList PageList;
    int Entries = 0;
    int Copies = 1;
    long double SheetWidth = 0, SheetHeight = 0;
    int Splicing = 0;
    bool Started = false, Flip = false;
    int LastPaperSize = -1, LastWidth = -1, LastHeight = -1, LastBin = -1;
    gui::TPrinterOrientation LastOrientation = gui::TPrinterOrientation::poPortrait;
    TqlrDuplexMode LastDuplex = TqlrDuplexMode::dmNone;
    bool HaveLast = false;
    bool Aborted = false;

    void Abort()
    {
        if (Started && !Aborted) Printer->Abort();
        Aborted = true;
    }

    // The page index of an entry, -1 when passed over.
    int EntryPage(int entry)
    {
        const int count = Pages->GetCount();
        if (entry >= count) return -1;
        int index = PageList.Count() == 0 ? entry : rtl::StrToIntDef(PageList.Strings(entry), 0) - 1;
        if (index < 0 || index >= count) return -1;
        if (Options->PrintPages == TqlrPrintPages::ppOdd && (index + 1) % 2 == 0) return -1;
        if (Options->PrintPages == TqlrPrintPages::ppEven && (index + 1) % 2 == 1) return -1;
        return index;
    }

    // Steps shared by every mode: copy number, page event, bin, duplex.
    TqlrReportPage* PreparePage(int index, int copy, int& copies, int& bin, TqlrDuplexMode& duplex)
    {
        TqlrReportPage* page = Pages->GetPage(index);
        if (!page) return nullptr;
        if (Options->Collate) {
            Pages->CopyNo = copy;
            copies = 1;
        } else {
            Pages->CopyNo = 1;
            copies = Copies;
        }
        if (Report->OnPrintPage) Report->OnPrintPage(page, Pages->CopyNo);
        bin = index == 0 ? page->Bin() : page->BinOtherPages();
        duplex = Options->Duplex != TqlrDuplexMode::dmNone ? Options->Duplex : page->Duplex();
        if (HaveLast && duplex != LastDuplex) Flip = false;
        if (duplex == TqlrDuplexMode::dmVertical || duplex == TqlrDuplexMode::dmHorizontal) Flip = !Flip;
        return page;
    }

    void PageDone(int index, TqlrReportPage* page, int bin, TqlrDuplexMode duplex,
                  gui::TPrinterOrientation orientation)
    {
        Report->InternalOnProgress(TqlrProgressType::ptPrinting, index + 1);
        Printer->EndPage();
        PumpMessages();
        Started = true;
        HaveLast = true;
        LastPaperSize = page->PaperSize();
        LastWidth = Round(page->PaperWidth());
        LastHeight = Round(page->PaperHeight());
        LastBin = bin;
        LastOrientation = orientation;
        LastDuplex = duplex;
        Pages->ClearPageCache();
    }

    // pmDefault and pmScale; false when the report was terminated.
    bool PrintEntry(int entry, int copy)
    {
        const int index = EntryPage(entry);
        if (index < 0) return true;
        if (Report->Terminated()) {
            Abort();
            return false;
        }
        int copies = 1, bin = 0;
        TqlrDuplexMode duplex;
        TqlrReportPage* page = PreparePage(index, copy, copies, bin, duplex);
        if (!page) return true;
        const gui::TPrinterOrientation orientation = page->Orientation();
        const bool scale = Options->PrintMode == TqlrPrintMode::pmScale;
        if (!scale) {
            if (!Started || page->PaperSize() != LastPaperSize || Round(page->PaperWidth()) != LastWidth ||
                Round(page->PaperHeight()) != LastHeight || bin != LastBin || orientation != LastOrientation ||
                duplex != LastDuplex)
                Printer->SetPrintParams(page->PaperSize(), page->PaperWidth(), page->PaperHeight(), orientation, bin,
                                        static_cast<int>(duplex), copies);
        } else if (!Started || bin != LastBin || orientation != LastOrientation || duplex != LastDuplex) {
            Printer->SetPrintParams(Options->PrintOnSheet, SheetWidth, SheetHeight, orientation, bin,
                                    static_cast<int>(duplex), copies);
            SheetWidth = Printer->PaperWidth();
            SheetHeight = Printer->PaperHeight();
        }
        if (!Started) Printer->BeginDoc();
        Printer->BeginPage();
        long double fx = 1, fy = 1;
        if (scale) {
            fx = SheetWidth / page->PaperWidth();
            fy = SheetHeight / page->PaperHeight();
            Pages->PrintScale = std::min(fx, fy);
        }
        const gui::TPoint dpi = Printer->DPI();
        Pages->DrawPage(index, Printer->Canvas(), fx * dpi.X / 96.0L, fy * dpi.Y / 96.0L,
                        -Printer->LeftMargin() * dpi.X / 25.4L, -Printer->TopMargin() * dpi.Y / 25.4L);
        PageDone(index, page, bin, duplex, orientation);
        return true;
    }

    // One page over several sheets.
    bool PrintSplitEntry(int entry, int copy)
    {
        const int index = EntryPage(entry);
        if (index < 0) return true;
        if (Report->Terminated()) {
            Abort();
            return false;
        }
        int copies = 1, bin = 0;
        TqlrDuplexMode duplex;
        TqlrReportPage* page = PreparePage(index, copy, copies, bin, duplex);
        if (!page) return true;
        const long double pw = page->PaperWidth(), ph = page->PaperHeight();
        auto counts = [&](long double sw, long double sh, int& across, int& down, bool& turned) {
            across = SheetCount(pw, sw);
            down = SheetCount(ph, sh);
            const int ta = SheetCount(pw, sh), td = SheetCount(ph, sw);
            turned = ta * td < across * down;
            if (turned) {
                across = ta;
                down = td;
            }
        };
        int across, down;
        bool turned;
        counts(SheetWidth, SheetHeight, across, down, turned);
        long double dx = across > 1 ? Splicing + Printer->TopMargin() + Printer->BottomMargin() : 0;
        long double dy = down > 1 ? Splicing + Printer->LeftMargin() + Printer->RightMargin() : 0;
        if (turned) std::swap(dx, dy);
        counts(SheetWidth - dx, SheetHeight - dy, across, down, turned);

        const gui::TPrinterOrientation orientation =
            turned ? gui::TPrinterOrientation::poLandscape : gui::TPrinterOrientation::poPortrait;
        if (!Started || orientation != LastOrientation)
            Printer->SetPrintParams(Options->PrintOnSheet, SheetWidth, SheetHeight, orientation, bin,
                                    static_cast<int>(duplex), copies);
        if (!Started) Printer->BeginDoc();

        const gui::TPoint dpi = Printer->DPI();
        const long double w = (turned ? SheetHeight : SheetWidth) * dpi.X / 25.4L;
        const long double h = (turned ? SheetWidth : SheetHeight) * dpi.Y / 25.4L;
        const long double l = Printer->LeftMargin() * dpi.X / 25.4L, t = Printer->TopMargin() * dpi.Y / 25.4L;
        const long double r = Printer->RightMargin() * dpi.X / 25.4L, b = Printer->BottomMargin() * dpi.Y / 25.4L;
        const long double sp = Splicing * dpi.X / 25.4L;
        gui::TCanvas* canvas = Printer->Canvas();
        for (int row = 0; row < down; ++row)
            for (int col = 0; col < across; ++col) {
                Printer->BeginPage();
                canvas = Printer->Canvas();
                const int saved = canvas ? canvas->SaveDC() : 0;
                if (canvas)
                    canvas->IntersectClipRect(gui::Rect(Round(l + (col ? sp : 0)), Round(t + (row ? sp : 0)),
                                                        Round(pw * fr01cm * dpi.X / 96.0L - r) - 1,
                                                        Round(ph * fr01cm * dpi.Y / 96.0L - b) - 1));
                const long double ox = col == 0 ? -l : -col * (w - l - r - sp);
                const long double oy = row == 0 ? -t : -row * (h - t - b - sp);
                Pages->DrawPage(index, canvas, dpi.X / 96.0L, dpi.Y / 96.0L, ox, oy);
                if (canvas) canvas->RestoreDC(saved);
                Printer->EndPage();
            }
        // EndPage was called for each sheet; PageDone's own EndPage is not wanted.
        Report->InternalOnProgress(TqlrProgressType::ptPrinting, index + 1);
        PumpMessages();
        Started = true;
        HaveLast = true;
        LastOrientation = orientation;
        LastBin = bin;
        LastDuplex = duplex;
        Pages->ClearPageCache();
        return true;
    }

    // Several pages on each sheet.
    void PrintJoin(int copy)
    {
        std::vector<std::pair<int, int>> cells;    // page index, copy number
        for (int e = 0; e < Entries; ++e) {
            const int index = EntryPage(e);
            if (index < 0) continue;
            if (Options->Collate)
                cells.emplace_back(index, copy);
            else
                for (int c = 1; c <= Copies; ++c) cells.emplace_back(index, c);
        }
        if (cells.empty()) return;
        TqlrReportPage* first = Pages->GetPage(cells[0].first);
        if (!first) return;
        const long double pw = first->PaperWidth(), ph = first->PaperHeight();
        const int firstBin = first->Bin();
        const TqlrDuplexMode duplex =
            Options->Duplex != TqlrDuplexMode::dmNone ? Options->Duplex : first->Duplex();
        int across = SheetCount(SheetWidth, pw), down = SheetCount(SheetHeight, ph);
        const int ta = SheetCount(SheetHeight, pw), td = SheetCount(SheetWidth, ph);
        const bool turned = ta * td < across * down;
        if (turned) {
            across = ta;
            down = td;
        }
        // A cell count from the rule may run past the sheet: only whole pages.
        if (!Started) {
            Printer->SetPrintParams(Options->PrintOnSheet, SheetWidth, SheetHeight,
                                    turned ? gui::TPrinterOrientation::poLandscape
                                           : gui::TPrinterOrientation::poPortrait,
                                    firstBin, static_cast<int>(duplex), 1);
            Printer->BeginDoc();
            Started = true;
        }
        const gui::TPoint dpi = Printer->DPI();
        const long double l = Printer->LeftMargin() * dpi.X / 25.4L, t = Printer->TopMargin() * dpi.Y / 25.4L;
        std::size_t next = 0;
        while (next < cells.size()) {
            if (Report->Terminated()) {
                Abort();
                return;
            }
            Printer->BeginPage();
            int lastIndex = cells[next].first;
            for (int j = 0; j < down && next < cells.size(); ++j)
                for (int k = 0; k < across && next < cells.size(); ++k) {
                    const auto [index, copyNo] = cells[next++];
                    Pages->CopyNo = copyNo;
                    if (TqlrReportPage* page = Pages->GetPage(index); page && Report->OnPrintPage)
                        Report->OnPrintPage(page, copyNo);
                    Pages->DrawPage(index, Printer->Canvas(), dpi.X / 96.0L, dpi.Y / 96.0L,
                                    -l + k * pw * dpi.X / 25.4L, -t + j * ph * dpi.Y / 25.4L);
                    lastIndex = index;
                }
            Printer->EndPage();
            Report->InternalOnProgress(TqlrProgressType::ptPrinting, lastIndex + 1);
            PumpMessages();
            Pages->ClearPageCache();
        }
    }

    void Pass(int copy)
    {
        if (Options->PrintMode == TqlrPrintMode::pmJoin) {
            PrintJoin(copy);
            return;
        }
        const bool split = Options->PrintMode == TqlrPrintMode::pmSplit;
        for (int i = 0; i < Entries; ++i) {
            const int entry = Options->Reverse ? Entries - 1 - i : i;
            if (!(split ? PrintSplitEntry(entry, copy) : PrintEntry(entry, copy))) break;
        }
    }

    void Run()
    {
        std::string title = Report->ReportOptions()->Name;
        if (title.empty()) title = Report->FileName();
        Printer->SetTitle(title);
        Copies = std::max(1, Options->Copies);
        Entries = PageList.Count() > 0 ? PageList.Count() : Pages->GetCount();
        Report->SetTerminated(false);
        Report->InternalOnProgressStart(TqlrProgressType::ptPrinting);
        if (Options->Collate) {
            for (int copy = 1; copy <= Copies; ++copy) {
                Pass(copy);
                // Every copy starts on a sheet of its own.
                if (Flip && Started) {
                    Printer->BeginPage();
                    Printer->EndPage();
                    Flip = false;
                }
                if (Report->Terminated() || Aborted) break;
            }
        } else {
            Pass(1);
        }
        if (Started && !Aborted) Printer->EndDoc();
        Report->InternalOnProgressStop(TqlrProgressType::ptPrinting);
    }
};

} // namespace

bool TqlrPreviewPages::Print()
{
    TqlrReport* report = Report();
    if (!report) return false;
    IqlrOutputServices& services = OutputServices();
    if (!services.HasPhysicalPrinters()) {
        ShowReportError(GetResources().Get("clNoPrinters"));
        return false;
    }
    PrintScale = 1;
    TqlrPrintOptions* options = report->PrintOptions();
    TqlrPrintOptions saved;
    saved.Assign(options);
    TqlrDuplexMode duplex = options->Duplex;
    report->SelectPrinter();
    // The job goes to PrnOutFileName (the device when empty), unless the
    // dialog picks a file of its own.
    if (IqlrPrinter* printer = services.Printer()) printer->SetFileName(options->PrnOutFileName);
    if (options->ShowDialog) {
        if (services.ShowPrintDialog(report, duplex) != 1) {
            CopyNo = 0;
            return false;
        }
        options->Duplex = duplex;
    }

    IqlrPrinter* printer = services.Printer();
    PrintJob job(this, report, options, printer);
    if (printer && options->PrintMode != TqlrPrintMode::pmDefault) {
        const bool custom = options->PrintOnSheet == 256;
        printer->SetViewParams(options->PrintOnSheet, custom ? printer->PaperWidth() : 0,
                               custom ? printer->PaperHeight() : 0, gui::TPrinterOrientation::poPortrait);
        job.SheetWidth = printer->PaperWidth();
        job.SheetHeight = printer->PaperHeight();
        job.Splicing = options->SplicingLine;
    }
    if (report->OnPrintReport) report->OnPrintReport(report);
    if (TqlrCustomPreview* preview = report->Preview()) {
        preview->Lock();
        preview->Refresh();
    }

    auto finish = [&] {
        if (report->OnAfterPrintReport) report->OnAfterPrintReport(report);
        CopyNo = 0;
        options->Assign(&saved);
    };
    try {
        ParsePageRanges(options->PageNumbers, job.PageList, GetCount());
        if (printer && printer->Initialized()) {
            ClearPageCache();
            job.Run();
        } else {
            ShowReportError("Printer selected is not valid");
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return true;
}

// ---------------------------------------------------------------- export

bool TqlrPreviewPages::Export(TqlrCustomExportFilter* filter)
{
    CopyNo = 0;
    TqlrReport* report = Report();
    if (!filter || !report) return false;
    filter->Report = report;
    if (filter->ShowDialog && filter->ShowModal() != 1) return false;
    TqlrCustomPreview* preview = report->Preview();
    if (filter->CurPage) filter->PageNumbers = preview ? std::to_string(CurPreviewPage) : "1";

    bool result = true;
    report->SetTerminated(false);
    // The message after a failure lists this export's errors only.
    report->Errors()->Clear();
    rtl::TStringList pageList;
    ParsePageRanges(filter->PageNumbers, pageList, GetCount());
    auto listed = [&](int index) {
        if (pageList.Count() == 0) return true;
        for (int i = 0; i < pageList.Count(); ++i)
            if (rtl::StrToIntDef(pageList.Strings(i), 0) == index + 1) return true;
        return false;
    };

    if (filter->OnBeginExport) filter->OnBeginExport(filter);
    bool progress = false;
    try {
        // Start may fail (a file that cannot be created): reported and
        // finished like any other export error.  A filter that declines
        // to start (no file name) has exported nothing.
        if (!filter->Start()) return false;
        if (preview) {
            preview->Lock();
            preview->Refresh();
        }
        if (filter->ShowProgress) {
            report->InternalOnProgressStart(TqlrProgressType::ptExporting);
            progress = true;
        }
        const int count = GetCount();
        for (int index = 0; index < count; ++index) {
            if (!listed(index)) continue;
            TqlrReportPage* page = GetPage(index);
            if (!page) continue;
            if (filter->ShowProgress) report->InternalOnProgress(TqlrProgressType::ptExporting, index + 1);
            filter->StartPage(page, index);
            try {
                const long double margin =
                    page->MirrorMargins() && index % 2 == 1 ? page->RightMargin() : page->LeftMargin();
                page->SetLeft(margin * fr01cm);
                page->SetTop(page->TopMargin() * fr01cm);

                // The page's own background goes first, as a picture view.
                TqlrPictureView background(nullptr);
                background.SetName("_pagebackground");
                background.SetColor(page->Color());
                background.Frame()->Assign(page->Frame());
                background.SetPicture(page->BackPicture()->Picture());
                background.SetStretched(true);
                background.SetKeepAspectRatio(false);
                background.SetBounds(page->Left(), page->Top(),
                                     (page->PaperWidth() - page->LeftMargin() - page->RightMargin()) * fr01cm,
                                     (page->PaperHeight() - page->TopMargin() - page->BottomMargin()) * fr01cm);
                filter->ExportObject(&background);

                auto exportObject = [&](TqlrComponent* c) {
                    if (auto* memo = dynamic_cast<TqlrCustomMemoView*>(c)) {
                        if (memo->Highlight()->Active()) memo->Font()->Assign(memo->Highlight()->Font());
                        memo->SetTotalPages(count);
                        memo->SetCopyNo(1);
                        memo->ExtractMacros();
                        if (memo->AutoWidth()) {
                            gui::TBitmap scratch(1, 1);
                            memo->Draw(scratch.Canvas(), 1, 1, 0, 0);
                        }
                    }
                    filter->ExportObject(c);
                };
                for (TqlrComponent* c : std::vector<TqlrComponent*>(page->Objects())) {
                    if (filter->SuppressPageHeadersFooters &&
                        ((dynamic_cast<TqlrPageHeader*>(c) && index != 0) ||
                         (dynamic_cast<TqlrPageFooter*>(c) && index != count - 1)))
                        continue;
                    exportObject(c);
                    if (dynamic_cast<TqlrBand*>(c))
                        for (TqlrComponent* child : std::vector<TqlrComponent*>(c->Objects())) exportObject(child);
                }
            } catch (...) {
                filter->FinishPage(page, index);
                throw;
            }
            filter->FinishPage(page, index);
            if (preview) {
                page->SetLeft(0);
                page->SetTop(0);
            } else {
                ClearPageCache();
            }
            if (report->Terminated()) break;
            PumpMessages();
        }
    } catch (const std::exception& e) {
        result = false;
        report->Errors()->Add(e.what());
    } catch (...) {
        result = false;
        report->Errors()->Add("Export failed");
    }
    try {
        if (preview) {
            preview->HideMessage();
            preview->Refresh();
        }
        if (progress) report->InternalOnProgressStop(TqlrProgressType::ptExporting);
        filter->Finish();
    } catch (const std::exception& e) {
        result = false;
        report->Errors()->Add(e.what());
    }
    if (!result) ReportErrorHandler(report, GetResources().Get("clErrors") + "\r\n" + report->Errors()->Text());
    return result;
}

} // namespace qlr
