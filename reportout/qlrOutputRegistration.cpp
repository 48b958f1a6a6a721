// Report output's services for the report engine, registered at start-up.

#include "report/qlrOutputServices.h"
#include "reportout/qlrPrinter.h"
#include "reportout/qlrReportDialogs.h"

namespace qlr {

namespace {

class TReportOutputServices : public IqlrOutputServices {
public:
    bool InputPassword(std::string& password) override
    {
        password.clear();
        TqlrPasswordForm form(nullptr);
        if (form.ShowModal() != gui::mrOk) return false;
        password = form.PasswordE->Text();
        return true;
    }
    bool LookupPaperSize(int code, long double& width, long double& height) override
    {
        return qlr::LookupPaperSize(code, width, height);
    }
    // The selected printer's own defaults; A4 portrait without one.
    TqlrPrinterDefaults CurrentPrinterDefaults() override
    {
        TqlrPrinterDefaults d;
        TqlrCustomPrinter* p = GlobalPrinters().Printer();
        if (!p || !p->FInitialized) return d;
        d.DefPaper = p->FDefPaper;
        d.DefPaperWidth = p->FDefPaperWidth;
        d.DefPaperHeight = p->FDefPaperHeight;
        d.DefLandscape = p->FDefOrientation == gui::TPrinterOrientation::poLandscape;
        return d;
    }
};

} // namespace

void RegisterReportOutput() { RegisterOutputServices(std::make_unique<TReportOutputServices>()); }

} // namespace qlr
