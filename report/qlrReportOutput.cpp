// The report object's side of output: the preview link, the progress
// notifications and window, the printer choice and preview clicks.
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Format.h"
#include "report/qlrClass.h"
#include "report/qlrOutputServices.h"
#include "report/qlrRes.h"

namespace qlr {

namespace {

void PumpMessages(TqlrReport* report)
{
    if (report->EngineOptions()->EnableThreadSafe) return;
    if (gui::Application) gui::Application->ProcessMessages();
}

} // namespace

void TqlrReport::SetPreview(TqlrCustomPreview* v)
{
    if (FPreview) {
        FPreview->Report = nullptr;
        FPreview->PreviewPages = nullptr;
    }
    FPreview = v;
    if (FPreview) {
        FPreview->Report = this;
        FPreview->PreviewPages = FPreviewPages.get();
        FPreview->Init();
    }
}

void TqlrReport::ClosePreviewForm()
{
    if (!FPreviewForm) return;
    std::unique_ptr<IqlrPreviewWindow> form = std::move(FPreviewForm);
    if (FPreview == form->Preview()) SetPreview(nullptr);
    form->Close();
}

void TqlrReport::ShowReport(bool clearLastReport)
{
    if (clearLastReport && FPreviewPages) FPreviewPages->Clear();
    if (FOldStyleProgress) {
        if (PrepareReport(false)) ShowPreparedReport();
        return;
    }
    // The preview comes first; the run starts from the message loop, so
    // that the window is up and can follow it.
    if (!FTimer) {
        FTimer = std::make_unique<gui::TTimer>(nullptr);
        FTimer->SetEnabled(false);
        FTimer->SetInterval(50);
        FTimer->OnTimer = [this](rtl::TObject*) {
            FTimer->SetEnabled(false);
            PrepareReport(false);
        };
    }
    FTimer->SetEnabled(true);
    ShowPreparedReport();
}

void TqlrReport::ShowPreparedReport()
{
    if (FPreview && (!FPreviewForm || FPreview != FPreviewForm->Preview())) {
        // A control the host placed.
        SetPreview(FPreview);
        return;
    }
    ClosePreviewForm();
    std::unique_ptr<IqlrPreviewWindow> form = OutputServices().CreatePreviewWindow(this);
    if (!form) return;
    IqlrPreviewWindow* window = form.get();
    FPreviewForm = std::move(form);
    SetPreview(window->Preview());
    window->Init();
    if (OnPreview) OnPreview(this);
    if (FPreviewOptions->Modal) {
        window->Show(true);
        if (FPreviewForm.get() == window) ClosePreviewForm();
    } else {
        window->Show(false);
    }
}

// A progress window serves printing and export, and preparation only in
// the old style; the preview control follows preparation itself.
static bool UsesProgressWindow(TqlrReport* r, TqlrProgressType type)
{
    return r->ShowProgress() && (r->OldStyleProgress() || type != TqlrProgressType::ptRunning);
}

void TqlrReport::InternalOnProgressStart(TqlrProgressType type)
{
    if (FEngineOptions->EnableThreadSafe) return;
    if (OnProgressStart) OnProgressStart(this, type, 0);
    if (UsesProgressWindow(this, type)) {
        FProgress.reset();
        FProgress = OutputServices().CreateProgressWindow();
        if (FProgress) FProgress->Execute(0, "", false, true);
    }
    if (FPreview && type == TqlrProgressType::ptRunning) FPreview->InternalOnProgressStart(this, type, 0);
    PumpMessages(this);
}

void TqlrReport::InternalOnProgress(TqlrProgressType type, int progress)
{
    if (FEngineOptions->EnableThreadSafe) return;
    if (OnProgress) OnProgress(this, type, progress);
    if (FProgress && UsesProgressWindow(this, type)) {
        std::string key;
        switch (type) {
        case TqlrProgressType::ptRunning:
            key = FEngine && !FEngine->FinalPass ? "prRunningFirst" : "prRunning";
            break;
        case TqlrProgressType::ptExporting: key = "prExporting"; break;
        case TqlrProgressType::ptPrinting: key = "prPrinting"; break;
        }
        FProgress->SetMessage(rtl::Format(GetResources().Get(key), {progress}));
        if (FProgress->Terminated()) SetTerminated(true);
    }
    if (FPreview && type == TqlrProgressType::ptRunning) FPreview->InternalOnProgress(this, type, progress - 1);
    PumpMessages(this);
}

void TqlrReport::InternalOnProgressStop(TqlrProgressType type)
{
    if (FEngineOptions->EnableThreadSafe) return;
    if (OnProgressStop) OnProgressStop(this, type, 0);
    if (UsesProgressWindow(this, type)) FProgress.reset();
    if (FPreview && type == TqlrProgressType::ptRunning) FPreview->InternalOnProgressStop(this, type, 0);
    PumpMessages(this);
}

void TqlrReport::SetProgressMessage(const std::string& value, bool isHint)
{
    if (FOldStyleProgress && FEngine && FEngine->Running && FShowProgress && FProgress) FProgress->SetMessage(value);
    if (FPreviewForm) FPreviewForm->SetMessageText(value, isHint);
    if (OnProgressMessage) OnProgressMessage(value, isHint);
    PumpMessages(this);
}

void TqlrReport::SelectPrinter()
{
    if (!FPrintOptions->Printer.empty()) OutputServices().SelectPrinter(FPrintOptions->Printer);
}

void TqlrReport::DoPreviewClick(TqlrView* view, gui::TMouseButton button, const rtl::Set<gui::TShiftStateItem, 8>& shift,
                                bool& modified, bool dblClick)
{
    if (dblClick) {
        if (OnDblClickObject) OnDblClickObject(view, button, shift, modified);
    } else if (OnClickObject) {
        OnClickObject(view, button, shift, modified);
    }
}

} // namespace qlr
