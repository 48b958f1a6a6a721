// The main window's report export: the PDF export that report previews
// offer under "PDF file...".

#include "app/SEMain.h"
#include "reportout/qlrExportPDF.h"

namespace app {

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
}

} // namespace app
