// The report object: reading and writing its template (streams and files),
// with the settings a load keeps and the password check.
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "report/qlrXMLSerializer.h"

namespace qlr {

namespace {
// The last template password entered or saved while the program runs: a
// template protected by it opens without asking again.
std::string& KnownPassword()
{
    static std::string password;
    return password;
}

TqlrCompressorClass& CompressorCell()
{
    static TqlrCompressorClass cell;
    return cell;
}

TqlrCrypterClass& CrypterCell()
{
    static TqlrCrypterClass cell;
    return cell;
}

} // namespace

const TqlrCompressorClass& CompressorClass() { return CompressorCell(); }
TqlrCompressorClass SetCompressorClass(TqlrCompressorClass cls)
{
    std::swap(CompressorCell(), cls);
    return cls;
}
const TqlrCrypterClass& CrypterClass() { return CrypterCell(); }
TqlrCrypterClass SetCrypterClass(TqlrCrypterClass cls)
{
    std::swap(CrypterCell(), cls);
    return cls;
}

void TqlrReport::LoadFromStream(rtl::TStream& source)
{
    FErrors->Clear();
    rtl::TStream* input = &source;
    // A registered compressor or encryptor turns the input into plain XML.
    rtl::TMemoryStream decompressed, decrypted;
    if (CompressorClass()) {
        try {
            std::unique_ptr<TqlrCustomCompressor> compressor = CompressorClass()(this);
            if (compressor->Decompress(*input, decompressed)) {
                decompressed.SetPosition(0);
                input = &decompressed;
            }
        } catch (const std::exception&) {
            FErrors->Add(GetResources().Get("clDecompressError"));
            ShowErrors();
            return;
        }
    }
    // The template brings its own password; the one accepted earlier in
    // this run of the program is kept so it is not asked again.
    const std::string prevPassword = FReportOptions->PrevPassword;
    FReportOptions->Password.clear();
    bool wasDecrypted = false;
    if (CrypterClass()) {
        try {
            std::unique_ptr<TqlrCustomCrypter> crypter = CrypterClass()(this);
            if (crypter->Decrypt(*input, decrypted, KnownPassword())) {
                decrypted.SetPosition(0);
                input = &decrypted;
                wasDecrypted = true;
            }
        } catch (const std::exception&) {
            FErrors->Add(GetResources().Get("clDecryptError"));
            ShowErrors();
            return;
        }
    }
    rtl::TStream& stream = *input;

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
        FErrors->Add(wasDecrypted ? std::string("Invalid password") : e.Message());
    } catch (const std::exception& e) {
        FErrors->Add(wasDecrypted ? std::string("Invalid password") : std::string(e.what()));
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

    if (FReloading || FEngineOptions->EnableThreadSafe || wasDecrypted || FReportOptions->CheckPassword()) {
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
    std::unique_ptr<TqlrCustomCompressor> compressor;
    std::unique_ptr<TqlrCustomCrypter> crypter;
    if (FReportOptions->Compressed && CompressorClass()) compressor = CompressorClass()(this);
    if (!FReportOptions->Password.empty() && CrypterClass()) crypter = CrypterClass()(this);
    if (!compressor && !crypter) {
        SaveTemplate(stream, saveChildren, saveDefaultValues, streaming);
        return;
    }
    // Written into memory (or a temporary file for a large template), then
    // encrypted and/or compressed into stream.
    std::unique_ptr<rtl::TStream> plain;
    std::string tempFile;
    if (compressor && FEngineOptions->UseFileCache) {
        tempFile = CreateTempFileIn(FEngineOptions->TempDir);
        plain = std::make_unique<rtl::TFileStream>(tempFile, rtl::fmCreate);
    } else {
        plain = std::make_unique<rtl::TMemoryStream>();
    }
    try {
        SaveTemplate(*plain, saveChildren, saveDefaultValues, streaming);
        plain->SetPosition(0);
        if (crypter && compressor) {
            rtl::TMemoryStream encrypted;
            crypter->Encrypt(*plain, encrypted, FReportOptions->Password);
            encrypted.SetPosition(0);
            compressor->Compress(encrypted, stream);
        } else if (crypter) {
            crypter->Encrypt(*plain, stream, FReportOptions->Password);
        } else {
            compressor->Compress(*plain, stream);
        }
    } catch (...) {
        plain.reset();
        if (!tempFile.empty()) rtl::DeleteFile(tempFile);
        throw;
    }
    plain.reset();
    if (!tempFile.empty()) rtl::DeleteFile(tempFile);
}

void TqlrReport::SaveTemplate(rtl::TStream& stream, bool saveChildren, bool saveDefaultValues, bool streaming)
{
    if (!FParentReportObject || streaming) {
        TqlrComponent::SaveToStream(stream, saveChildren, saveDefaultValues, streaming);
        return;
    }
    // Each object is written as its difference from the ancestor's object
    // of the same name (the ancestor report for the report itself).
    TqlrXMLSerializer serializer(&stream);
    serializer.SetOwner(this);
    serializer.SetSerializeDefaultValues(saveDefaultValues);
    TqlrReport* ancestor = FParentReportObject.get();
    serializer.OnGetAncestor = [this, ancestor](const std::string& name, TqlrComponent*& found) {
        if (name == Name()) found = ancestor;
        else if (!name.empty()) found = ancestor->FindObject(name);
    };
    serializer.WriteRootComponent(this, saveChildren, nullptr, false);
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
