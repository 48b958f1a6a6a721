// Report output's services for the report engine, registered at start-up.
#include <algorithm>

#include "report/qlrOutputServices.h"
#include "reportout/qlrPreviewForm.h"
#include "reportout/qlrPrintDialog.h"
#include "reportout/qlrPrinter.h"
#include "reportout/qlrProgress.h"
#include "reportout/qlrReportDialogs.h"

namespace qlr {

namespace {

// The selected printer of the global list, as the prepared pages print on it.
class TSelectedPrinter : public IqlrPrinter {
public:
    bool Initialized() override { return P() && P()->FInitialized; }
    gui::TCanvas* Canvas() override { return P() ? P()->Canvas() : nullptr; }
    gui::TPoint DPI() override { return P() ? P()->FDPI : gui::TPoint{0, 0}; }
    long double PaperWidth() override { return P() ? P()->FPaperWidth : 0; }
    long double PaperHeight() override { return P() ? P()->FPaperHeight : 0; }
    long double LeftMargin() override { return P() ? P()->FLeftMargin : 0; }
    long double TopMargin() override { return P() ? P()->FTopMargin : 0; }
    long double RightMargin() override { return P() ? P()->FRightMargin : 0; }
    long double BottomMargin() override { return P() ? P()->FBottomMargin : 0; }
    void SetTitle(const std::string& title) override
    {
        if (P()) P()->FTitle = title;
    }
    void SetFileName(const std::string& fileName) override
    {
        if (P()) P()->FFileName = fileName;
    }
    void BeginDoc() override
    {
        if (P()) P()->BeginDoc();
    }
    void BeginPage() override
    {
        if (P()) P()->BeginPage();
    }
    void EndPage() override
    {
        if (P()) P()->EndPage();
    }
    void EndDoc() override
    {
        if (P()) P()->EndDoc();
    }
    void Abort() override
    {
        if (P()) P()->Abort();
    }
    void SetViewParams(int paperSize, long double w, long double h, gui::TPrinterOrientation o) override
    {
        if (P()) P()->SetViewParams(paperSize, w, h, o);
    }
    void SetPrintParams(int paperSize, long double w, long double h, gui::TPrinterOrientation o, int bin,
                        int duplex, int copies) override
    {
        if (P()) P()->SetPrintParams(paperSize, w, h, o, bin, duplex, copies);
    }

private:
    static TqlrCustomPrinter* P() { return GlobalPrinters().Printer(); }
};

class TProgressWindow : public IqlrProgressWindow {
public:
    TProgressWindow() : FForm(new TqlrProgress(nullptr)) {}
    ~TProgressWindow() override { delete FForm; }
    void Execute(int maxValue, const std::string& msg, bool showBar, bool showCancel) override
    {
        FForm->Execute(maxValue, msg, showCancel, showBar);
    }
    void SetMessage(const std::string& value) override { FForm->SetMessage(value); }
    bool Terminated() override { return FForm->Terminated(); }

private:
    TqlrProgress* FForm;
};

// The preview window ShowPreparedReport opens.  The form is released, not
// deleted: a failed refresh closes the window from inside the preview's
// own command, which must be able to finish first.
class TPreviewWindow : public IqlrPreviewWindow {
public:
    TPreviewWindow() : FForm(new TqlrPreviewForm(gui::Application)) {}
    ~TPreviewWindow() override
    {
        FForm->Preview()->Report = nullptr;
        FForm->Preview()->PreviewPages = nullptr;
        FForm->Release();
    }
    TqlrCustomPreview* Preview() override { return FForm->Preview(); }
    void Init() override { FForm->Init(); }
    void Show(bool modal) override
    {
        if (modal)
            FForm->ShowModal();
        else
            FForm->Show();
    }
    void Close() override
    {
        if (FForm->Visible()) FForm->Close();
    }
    void SetMessageText(const std::string& value, bool isHint) override { FForm->SetMessageText(value, isHint); }

private:
    TqlrPreviewForm* FForm;
};

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
    bool HasPhysicalPrinters() override { return GlobalPrinters().FHasPhysicalPrinters; }
    IqlrPrinter* Printer() override { return GlobalPrinters().Printer() ? &FPrinter : nullptr; }
    void SelectPrinter(const std::string& name) override
    {
        const int i = GlobalPrinters().IndexOf(name);
        if (i >= 0) GlobalPrinters().SetPrinterIndex(i);
    }
    int ShowPrintDialog(TqlrReport* report, TqlrDuplexMode& duplex) override
    {
        TqlrPrintDialog dialog(nullptr);
        dialog.AReport = report;
        dialog.ADuplexMode = duplex;
        const int result = dialog.ShowModal();
        if (result == gui::mrOk) duplex = dialog.ADuplexMode;
        return result;
    }
    std::unique_ptr<IqlrProgressWindow> CreateProgressWindow() override
    {
        return std::make_unique<TProgressWindow>();
    }
    std::unique_ptr<IqlrPreviewWindow> CreatePreviewWindow(TqlrReport* /*report*/) override
    {
        return std::make_unique<TPreviewWindow>();
    }
    std::unique_ptr<gui::TForm> CreateDialogForm(rtl::TComponent* page, std::function<void()> onModify) override
    {
        auto form = std::make_unique<TqlrDialogForm>(page);
        form->OnModify = [onModify](rtl::TObject*) {
            if (onModify) onModify();
        };
        return form;
    }

private:
    TSelectedPrinter FPrinter;
};

} // namespace

void RegisterReportOutput() { RegisterOutputServices(std::make_unique<TReportOutputServices>()); }

} // namespace qlr

// --- cross-tab -------------------------------------------------------------------
// The cross-tab's classes, editor, script bindings and texts are known from
// start-up on, also to templates that name the class without code using it.
#include "reportout/qlrCross.h"

namespace qlr {
namespace {
const bool gCrossTabRegistered = (RegisterCrossTab(), true);
} // namespace
} // namespace qlr
