// The main window's reports: the PDF export that report previews offer
// under "PDF file...", and the location table report.
#include "app/LocationReports.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "platform/rtl/Files.h"
#include "report/qlrClass.h"
#include "reportout/qlrExportPDF.h"
#include "reportout/qlrFileDialogs.h"
#include "reportout/qlrPDFExportDialog.h"

namespace app {

namespace {

// The report's name made fit for a file name, empty without a report.
std::string ReportFileName(const qlr::TqlrReport* report)
{
    std::string name = report ? report->ReportOptions()->Name : "";
    CleanFileName(name);
    return name;
}

// The preview's and the print dialog's file dialogs: prepared reports and
// print files start in the documents folder; a save dialog offers the
// report's name.
void SuggestReportFile(gui::TOpenDialog& dialog, const qlr::TqlrFileDialogUse& use)
{
    if (dialog.InitialDir.empty()) dialog.InitialDir = DocumentsPath;
    const std::string name = ReportFileName(use.Report);
    if (use.Save && !name.empty()) dialog.FileName = name + use.Extension;
}

} // namespace

void TSEMainForm::CreateReportExport()
{
    // Owned by the window; being made with an owner lists it among the
    // report engine's export filters.
    PDFExport = new qlr::TqlrPDFExport(this);
    PDFExport->SetName("frPDFExport1");
    PDFExport->Author = "Tolmira Eclipse Calculator";
    PDFExport->Producer = "Tolmira Eclipse Calculator";
    PDFExport->OpenAfterExport = true;
    PDFExport->OverwritePrompt = true;
    PDFExport->EmbeddedFonts = false;
    PDFExport->OnShowDialog = [this](qlr::TqlrPDFExportDialog& dlg) { SuggestExportFile(*dlg.SaveDialog1); };

    qlrReport = new qlr::TqlrReport(this);
    qlrReport->SetName("qlrReport");
    LoadReportTemplate(*qlrReport, LocationTableReportResource);
    qlrReport->OnBeforePrint = [this](qlr::TqlrReportComponent* sender) { qlrReportBeforePrint(sender); };
    qlr::SetFileDialogHook(SuggestReportFile);
}

void TSEMainForm::SuggestExportFile(gui::TSaveDialog& save)
{
    // The folder of the last export, else the documents folder; the name of
    // the report being exported (the eclipse's title, the list's caption).
    PDFExport->DefaultPath =
        PDFExport->FileName.empty() ? DocumentsPath : rtl::ExtractFilePath(PDFExport->FileName);
    const std::string name = ReportFileName(PDFExport->Report);
    if (!name.empty()) save.FileName = name + ".pdf";
}

void TSEMainForm::SetUpLocationReport()
{
    const std::string title = LTitle->Caption();
    if (auto* page = dynamic_cast<qlr::TqlrReportPage*>(qlrReport->FindObject("Page1")))
        page->SetOrientation(gui::TPrinterOrientation::poPortrait);
    qlr::TqlrVariables* v = qlrReport->Variables();
    v->Clear();
    v->SetVariable("Title", QuoteReportValue(title));
    v->SetVariable("Saros", QuoteReportValue(LSaros->Caption()));
    v->SetVariable("Lunation", QuoteReportValue(LLunation->Caption()));
    v->SetVariable("DeltaT", QuoteReportValue(LDeltaT->Caption()));
    v->SetVariable("DeltaTDetermination", QuoteReportValue(StatusText(1)));
    v->SetVariable("TimeShift", QuoteReportValue(LTimeShift->Caption()));
    v->SetVariable("Gamma", QuoteReportValue(LGamma->Caption()));
    v->SetVariable("Magnitude", QuoteReportValue(LMagnitude->Caption()));
    v->SetVariable("Notice", QuoteReportValue(FEclipseMap->Notices));
    qlrReport->ReportOptions()->Name = title;
    PDFExport->Title = title;
}

void TSEMainForm::PrintLocationTable(bool preview)
{
    SetUpLocationReport();
    if (preview) {
        qlrReport->ShowReport();
    } else if (qlrReport->PrepareReport()) {
        qlrReport->Print();
    }
}

void TSEMainForm::qlrReportBeforePrint(qlr::TqlrReportComponent* sender)
{
    if (auto* cross = dynamic_cast<qlr::TqlrCrossView*>(sender)) FeedGridToCross(*SG, *cross, true);
}

} // namespace app
