// The report object: reading and writing its template (streams and files),
// with the settings a load keeps and the password check.
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"

namespace qlr {

namespace {
// The last template password entered or saved while the program runs: a
// template protected by it opens without asking again.
std::string& KnownPassword()
{
    static std::string password;
    return password;
}
} // namespace

void TqlrReport::LoadFromStream(rtl::TStream& stream)
{
    FErrors->Clear();
    // The template brings its own password; the one accepted earlier in
    // this run of the program is kept so it is not asked again.
    const std::string prevPassword = FReportOptions->PrevPassword;
    FReportOptions->Password.clear();

    // Settings that belong to the host, not to the template.
    TqlrEngineOptions engine;
    engine.Assign(FEngineOptions.get());
    engine.DestroyForms = FEngineOptions->DestroyForms;
    engine.EnableThreadSafe = FEngineOptions->EnableThreadSafe;
    engine.UseGlobalDataSetList = FEngineOptions->UseGlobalDataSetList;
    engine.ReportThread = FEngineOptions->ReportThread;
    TqlrPreviewOptions preview;
    preview.Assign(FPreviewOptions.get());
    const std::string iniFile = FIniFile;
    const bool oldStyleProgress = FOldStyleProgress, showProgress = FShowProgress, storeInDFM = FStoreInDFM;

    try {
        TqlrComponent::LoadFromStream(stream);
    } catch (const rtl::Exception& e) {
        FErrors->Add(e.Message());
    } catch (const std::exception& e) {
        FErrors->Add(e.what());
    }

    // The list is read before the objects it names: link it now.
    for (int i = 0; i < FDataSets->Count(); ++i) {
        TqlrDataSetItem* item = FDataSets->Item(i);
        if (!item->DataSet()) item->SetDataSetName(item->DataSetName());
    }
    CheckDataPage();
    const bool convertNulls = FEngineOptions->ConvertNulls, ignoreDevByZero = FEngineOptions->IgnoreDevByZero,
               doublePass = FEngineOptions->DoublePass;
    FEngineOptions->Assign(&engine);
    FEngineOptions->DestroyForms = engine.DestroyForms;
    FEngineOptions->EnableThreadSafe = engine.EnableThreadSafe;
    FEngineOptions->UseGlobalDataSetList = engine.UseGlobalDataSetList;
    FEngineOptions->ReportThread = engine.ReportThread;
    FEngineOptions->ConvertNulls = convertNulls;
    FEngineOptions->IgnoreDevByZero = ignoreDevByZero;
    FEngineOptions->DoublePass = doublePass;

    const bool outlineVisible = FPreviewOptions->OutlineVisible, outlineExpand = FPreviewOptions->OutlineExpand,
               thumbnailVisible = FPreviewOptions->ThumbnailVisible;
    const int outlineWidth = FPreviewOptions->OutlineWidth, pagesInCache = FPreviewOptions->PagesInCache;
    FPreviewOptions->Assign(&preview);
    FPreviewOptions->OutlineVisible = outlineVisible;
    FPreviewOptions->OutlineExpand = outlineExpand;
    FPreviewOptions->ThumbnailVisible = thumbnailVisible;
    FPreviewOptions->OutlineWidth = outlineWidth;
    FPreviewOptions->PagesInCache = pagesInCache;

    FIniFile = iniFile;
    FOldStyleProgress = oldStyleProgress;
    FShowProgress = showProgress;
    FStoreInDFM = storeInDFM;
    if (FReportOptions->PrevPassword.empty()) FReportOptions->PrevPassword = prevPassword;
    if (!FReportOptions->Password.empty() && FReportOptions->Password == KnownPassword())
        FReportOptions->PrevPassword = FReportOptions->Password;

    if (FReloading || FEngineOptions->EnableThreadSafe || FReportOptions->CheckPassword()) {
        if (!FReportOptions->Password.empty()) KnownPassword() = FReportOptions->Password;
        if (FErrors->Count() > 0) ShowErrors();
    } else {
        Clear();
    }
}

void TqlrReport::SaveToStream(rtl::TStream& stream, bool saveChildren, bool saveDefaultValues, bool streaming)
{
    // Whoever saves the template knows its password.
    FReportOptions->PrevPassword = FReportOptions->Password;
    if (!FReportOptions->Password.empty()) KnownPassword() = FReportOptions->Password;
    TqlrComponent::SaveToStream(stream, saveChildren, saveDefaultValues, streaming);
}

bool TqlrReport::LoadFromFile(const std::string& fileName, bool exceptionIfNotFound)
{
    Clear();
    FFileName.clear();
    const bool exists = rtl::FileExists(fileName);
    if (exists || exceptionIfNotFound) {
        rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        FFileName = fileName;
        LoadFromStream(stream);
    }
    return exists;
}

void TqlrReport::SaveToFile(const std::string& fileName)
{
    rtl::TFileStream stream(fileName, rtl::fmCreate);
    SaveToStream(stream, true, false, false);
}

} // namespace qlr
