// The report object: preparing (with the template saved before the run and
// reloaded after it), printing, exporting and the error display.
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"

namespace qlr {

void TqlrReport::SetEngine(std::unique_ptr<TqlrCustomEngine> engine)
{
    FEngine = std::move(engine);
    if (FEngine) FEngine->SetPreviewPages(FPreviewPages.get());
    if (FPreviewPages) FPreviewPages->SetEngine(FEngine.get());
}

void TqlrReport::SetPreviewPages(std::unique_ptr<TqlrCustomPreviewPages> pages)
{
    FPreviewPages = std::move(pages);
    if (FPreviewPages) FPreviewPages->SetEngine(FEngine.get());
    if (FEngine) FEngine->SetPreviewPages(FPreviewPages.get());
}

void TqlrReport::DoBeforePrint(TqlrReportComponent* obj)
{
    if (OnBeforePrint) OnBeforePrint(obj);
}

void TqlrReport::DoAfterPrint(TqlrReportComponent* obj)
{
    if (OnAfterPrint) OnAfterPrint(obj);
}

void TqlrReport::ShowErrors()
{
    ReportErrorHandler(this, GetResources().Get("clErrors") + "\r\n" + FErrors->Text());
}

bool TqlrReport::PrepareReport(bool clearLastReport)
{
    if (clearLastReport && FPreviewPages) FPreviewPages->Clear();
    FPrintOptions->Duplex = TqlrDuplexMode::dmNone;
    FErrors->Clear();
    FTerminated = false;

    for (int i = 0; i < FDataSets->Count(); ++i)
        if (!FDataSets->Item(i)->DataSet())
            FErrors->Add(rtl::Format(GetResources().Get("clDSNotExist"), {FDataSets->Item(i)->DataSetName()}));

    bool completed = false;
    if (FErrors->Count() == 0) {
        // The template as it was, so that changes made to objects during
        // the run are undone afterwards.
        const std::string password = FReportOptions->Password;
        std::unique_ptr<rtl::TStream> saved;
        std::string tempFile;
        int splicingLine = FPrintOptions->SplicingLine;
        if (FEngineOptions->DestroyForms) {
            if (FEngineOptions->UseFileCache) {
                tempFile = rtl::CreateTempFile(FEngineOptions->TempDir, "ql");
                saved = std::make_unique<rtl::TFileStream>(tempFile, rtl::fmOpenReadWrite);
            } else {
                saved = std::make_unique<rtl::TMemoryStream>();
            }
            FReportOptions->Password.clear();
            SaveToStream(*saved, true, false, false);
        }

        try {
            if (OnBeginDoc) OnBeginDoc(this);
            PrepareScript();
            bool ran = false;
            if (!FTerminated) {
                if (!FEngine) throw rtl::Exception("The report has no engine");
                ran = FEngine->Run();
            }
            // A run stopped by Cancel is not complete: the caller must not
            // print a cut-off report.
            if (ran && !FTerminated) {
                if (OnEndDoc) OnEndDoc(this);
                completed = true;
            }
        } catch (const rtl::Exception& e) {
            FErrors->Add(e.Message());
        } catch (const std::exception& e) {
            FErrors->Add(e.what());
        }
        // A failed run closes the preview ShowReport opened; a cancelled one
        // leaves it open with the pages so far.
        if (!completed && !FTerminated) ClosePreviewForm();

        if (saved) {
            const std::string errorText = FErrors->Text();
            saved->SetPosition(0);
            FReloading = true;
            try {
                LoadFromStream(*saved);
            } catch (...) {
                FReloading = false;
                FReportOptions->Password = password;
                FPrintOptions->SplicingLine = splicingLine;
                saved.reset();
                if (!tempFile.empty()) rtl::DeleteFile(tempFile);
                throw;
            }
            FReloading = false;
            FReportOptions->Password = password;
            FPrintOptions->SplicingLine = splicingLine;
            saved.reset();
            if (!tempFile.empty()) rtl::DeleteFile(tempFile);
            FErrors->SetText(errorText);
        }
    }

    if (FErrors->Count() > 0) {
        ShowErrors();
        return false;
    }
    return completed;
}

bool TqlrReport::Print()
{
    return FPreviewPages && FPreviewPages->Print();
}

bool TqlrReport::Export(TqlrCustomExportFilter* filter)
{
    return FPreviewPages && FPreviewPages->Export(filter);
}

} // namespace qlr
