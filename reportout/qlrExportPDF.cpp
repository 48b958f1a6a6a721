// The PDF export's document structure: header, object numbering, page
// content streams and page objects, page tree, information dictionary,
// catalogue, cross-reference table and trailer.

#include "reportout/qlrExportPDF.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Files.h"
#include "report/qlrClassPages.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "reportout/qlrPDFExportDialog.h"
#include "reportout/qlrmd5.h"

namespace qlr {

namespace {

std::function<std::array<int, 6>()>& Clock()
{
    static std::function<std::array<int, 6>()> clock;
    return clock;
}

std::function<std::string()>& GuidSource()
{
    static std::function<std::string()> source;
    return source;
}

std::array<int, 6> LocalNow()
{
    if (Clock()) return Clock()();
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// A new GUID in its braced form: 16 random bytes with the version and
// variant bits of a random GUID.
std::string NewGuidText()
{
    if (GuidSource()) return GuidSource()();
    std::random_device rd;
    uint8_t b[16];
    for (int i = 0; i < 16; i += 4) {
        uint32_t v = rd();
        for (int k = 0; k < 4; ++k) b[i + k] = static_cast<uint8_t>(v >> (8 * k));
    }
    b[6] = static_cast<uint8_t>((b[6] & 0x0F) | 0x40);
    b[8] = static_cast<uint8_t>((b[8] & 0x3F) | 0x80);
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return buf;
}

std::string XRefOffset(int64_t offset)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%010lld", static_cast<long long>(offset));
    return buf;
}

std::string Fixed(long double v) { return FloatToFixedText(2, '.', v); }

std::string ObjectHeader(int n) { return std::to_string(n) + " 0 obj"; }
std::string ObjectRef(int n) { return std::to_string(n) + " 0 R"; }

std::string Compress(const std::string& data)
{
    rtl::TStringStream source(data), target;
    CompressStream(source, target, 1);
    return target.DataString();
}

} // namespace

std::mutex& PDFExportLock()
{
    static std::mutex lock;
    return lock;
}

void TqlrPDFExport::SetClock(std::function<std::array<int, 6>()> clock) { Clock() = std::move(clock); }
void TqlrPDFExport::SetGuidSource(std::function<std::string()> source) { GuidSource() = std::move(source); }

TqlrPDFExport::TqlrPDFExport(rtl::TComponent* owner) : TqlrCustomExportFilter(owner) { Init(); }
TqlrPDFExport::TqlrPDFExport(NoRegister n) : TqlrCustomExportFilter(n) { Init(); }

void TqlrPDFExport::Init()
{
    AddExportFilterStrings();
    if (gui::Application) Creator = gui::Application->Name();
    FilterDesc = GetResourceString(8707);
    DefaultExt = GetResourceString(8708);
    SetProtectionFlags(AllPermissions());
}

TqlrPDFExport::~TqlrPDFExport() { ClearFonts(); }

void TqlrPDFExport::SetProtectionFlags(TqlrPDFEncBits flags)
{
    FProtectionFlags = flags;
    FEncBits = PermissionValue(flags);
}

std::string TqlrPDFExport::GetDescription() { return GetResources().Get("PDFexport"); }

void TqlrPDFExport::Line(const std::string& s) { Put(s + "\r\n"); }
void TqlrPDFExport::Put(const std::string& s) { pdf->Write(s.data(), static_cast<int64_t>(s.size())); }
void TqlrPDFExport::OutLine(const std::string& s)
{
    const std::string t = s + "\r\n";
    OutStream->Write(t.data(), static_cast<int64_t>(t.size()));
}

std::string TqlrPDFExport::PageContent() const
{
    if (!OutStream) return {};
    return std::string(reinterpret_cast<const char*>(OutStream->Memory()), static_cast<std::size_t>(OutStream->Size()));
}

int TqlrPDFExport::NewObject()
{
    FXRef.push_back(XRefOffset(pdf->Position()));
    return static_cast<int>(FXRef.size());
}

void TqlrPDFExport::ClearFonts()
{
    FPageFonts.clear();
    FFonts.clear();
}

bool TqlrPDFExport::Start()
{
    if (SlaveExport) {
        // The report file's name in the temporary folder, else a new
        // temporary file's name, with the extension ".pdf".
        if (Report && !Report->FileName().empty()) {
            FileName = rtl::IncludeTrailingPathDelimiter(GetTempFolder()) + rtl::ExtractFileName(Report->FileName());
        } else {
            FileName = MakeTempFileName();
            rtl::DeleteFile(FileName);   // only its name is wanted
        }
        FileName = rtl::ChangeFileExt(FileName, GetResourceString(8708));
    }
    if (FileName.empty() && !Stream) return false;
    if (!FileName.empty() && rtl::ExtractFilePath(FileName).empty() && !DefaultPath.empty())
        FileName = DefaultPath + "/" + FileName;
    FProtection = !OwnerPassword.empty() || !UserPassword.empty();
    FOwnStream.reset();
    if (Stream) {
        pdf = Stream;
    } else {
        FOwnStream = std::make_unique<rtl::TFileStream>(FileName, rtl::fmCreate);
        pdf = FOwnStream.get();
    }
    ClearFonts();
    FXRef.clear();
    FPagesRef.clear();
    FFileID = MD5HexOfText(NewGuidText());
    FSecurity.Reset();
    if (FProtection) {
        FSecurity.Prepare(UserPassword, OwnerPassword, FEncBits, FFileID);
        EmbeddedFonts = true;
    }
    Line("%PDF-1.5");
    // Binary bytes in a comment tell file tools that the file holds binary data.
    Line("%\xE2\xE3\xCF\xD3");
    NewObject();
    return true;
}

void TqlrPDFExport::StartPage(TqlrReportPage* page, int /*index*/)
{
    // The page size from the paper in millimetres (the page's own size is
    // whole pixels: A4 would become 595.5 x 842.25 points).
    auto exact = [](long double mm, long double pixels) {
        const long double v = mm * fr01cm;
        return std::fabs(v - pixels) <= 1 ? v : pixels;
    };
    FWidth = exact(page->PaperWidth(), page->Width()) * 0.75L;
    FHeight = exact(page->PaperHeight(), page->Height()) * 0.75L;
    FMarginLeft = page->LeftMargin() * 0.05L;
    FMarginTop = page->TopMargin() * 0.05L;
    OutStream = std::make_unique<rtl::TMemoryStream>();
}

void TqlrPDFExport::WriteStreamObject(int object, const std::string& data, bool compress, bool length1)
{
    std::string bytes = compress ? Compress(data) : data;
    std::string dict = "<< /Length " + std::to_string(bytes.size());
    if (compress) dict += " /Filter /FlateDecode";
    if (compress || length1) dict += " /Length1 " + std::to_string(data.size());
    Line(dict + " >>");
    if (FProtection) bytes = FSecurity.Encrypt(bytes, object);
    Line("stream");
    Put(bytes);
    // A line end before "endstream" (not counted in /Length) unless the
    // plain data already ends with one.
    if (bytes.empty() || bytes.back() != '\n') Line("");
    Line("endstream");
    Line("endobj");
}

void TqlrPDFExport::FinishPage(TqlrReportPage* /*page*/, int /*index*/)
{
    if (!OutStream) return;
    const int c = NewObject();
    Line(ObjectHeader(c));
    WriteStreamObject(c, PageContent(), Compressed, false);
    OutStream.reset();
    for (TqlrPDFFont* f : FPageFonts)
        if (!f->Saved) {
            f->Reference = NewObject();
            f->Saved = true;
        }
    const int p = NewObject();
    FPagesRef.push_back(p);
    Line(ObjectHeader(p));
    Line("<<");
    Line("/Type /Page");
    Line("/Parent 1 0 R");
    Line("/MediaBox [0 0 " + Fixed(FWidth) + " " + Fixed(FHeight) + " ]");
    Line("/Resources <<");
    Put("/Font << ");
    for (TqlrPDFFont* f : FPageFonts) Put(f->Name + " " + ObjectRef(f->Reference) + " ");
    Line(">>");
    Line("/XObject <<");
    Line(">>");
    Line("/ProcSet [/PDF /Text /ImageC ]");
    Line(">>");
    Line("/Contents " + ObjectRef(c));
    Line(">>");
    Line("endobj");
}

void TqlrPDFExport::Finish()
{
    if (!pdf) return;
    for (auto& f : FFonts)
        if (f->Saved) WriteFontObjects(*f);
    FXRef[0] = XRefOffset(pdf->Position());
    Line(ObjectHeader(1));
    Line("<<");
    Line("/Type /Pages");
    Put("/Kids [");
    for (int n : FPagesRef) Put(std::to_string(n) + " 0 R ");
    Line("]");
    Line("/Count " + std::to_string(FPagesRef.size()));
    Line(">>");
    Line("endobj");

    const int i = NewObject();
    Line(ObjectHeader(i));
    Line("<<");
    const std::pair<const char*, const std::string*> info[] = {{"/Title ", &Title},       {"/Author ", &Author},
                                                               {"/Subject ", &Subject},   {"/Keywords ", &Keywords},
                                                               {"/Creator ", &Creator},   {"/Producer ", &Producer}};
    for (const auto& [key, value] : info) Line(key + FSecurity.PDFInfoString(*value, i));
    const auto now = LocalNow();
    char date[32];
    std::snprintf(date, sizeof date, "D:%04d%02d%02d%02d%02d%02d", now[0], now[1], now[2], now[3], now[4], now[5]);
    if (FProtection) {
        Line("/CreationDate (" + FSecurity.EncryptPDFString(date, i) + ")");
        Line("/ModDate (" + FSecurity.EncryptPDFString(date, i) + ")");
    } else {
        Line(std::string("/CreationDate (") + date + ")");
        Line(std::string("/ModDate (") + date + ")");
    }
    Line(">>");
    Line("endobj");

    const int r = NewObject();
    Line(ObjectHeader(r));
    Line("<<");
    Line("/Type /Catalog");
    Line("/Pages " + ObjectRef(1));
    Line("/PageMode /UseNone");
    Line("/ViewerPreferences <<");
    if (!Title.empty()) Line("/DisplayDocTitle true");
    if (HideToolbar) Line("/HideToolbar true");
    if (HideMenubar) Line("/HideMenubar true");
    if (HideWindowUI) Line("/HideWindowUI true");
    if (FitWindow) Line("/FitWindow true");
    if (CenterWindow) Line("/CenterWindow true");
    if (!PrintScaling) Line("/PrintScaling /None");
    Line(">>");
    Line(">>");
    Line("endobj");

    FStartXRef = pdf->Position();
    Line("xref");
    Line("0 " + std::to_string(FXRef.size() + 1));
    Line("0000000000 65535 f");
    for (const std::string& x : FXRef) Line(x + " 00000 n");
    Line("trailer");
    Line("<<");
    Line("/Size " + std::to_string(FXRef.size() + 1));
    Line("/Root " + ObjectRef(r));
    Line("/Info " + ObjectRef(i));
    Line("/ID [<" + FFileID + "><" + FFileID + ">]");
    if (FProtection) Put(FSecurity.EncryptDictionary());
    Line(">>");
    Line("startxref");
    Line(std::to_string(FStartXRef));
    Line("%%EOF");

    ClearFonts();
    FXRef.clear();
    FPagesRef.clear();
    const bool owned = FOwnStream != nullptr;
    FOwnStream.reset();
    pdf = nullptr;
    if (OpenAfterExport && owned) gui::ShellOpen(FileName);
}

int TqlrPDFExport::ShowModal()
{
    if (Title.empty() && Report) Title = Report->ReportOptions()->Name;
    if (Stream) return gui::mrOk;
    Outline = Report ? Report->PreviewOptions()->OutlineVisible : true;
    TqlrPDFExportDialog dlg(nullptr);
    gui::TSaveDialog* save = dlg.SaveDialog1;
    if (SlaveExport) {
        dlg.OpenCB->SetVisible(false);
        OpenAfterExport = false;
    }
    if (OverwritePrompt) save->Options.Include(gui::TOpenOption::ofOverwritePrompt);
    if (!FileName.empty() || SlaveExport)
        save->FileName = FileName;
    else if (Report)
        save->FileName =
            rtl::ChangeFileExt(rtl::ExtractFileName(rtl::StringReplace(Report->FileName(), "\\", "/")), save->DefaultExt);

    dlg.OpenCB->SetChecked(OpenAfterExport);
    dlg.CompressedCB->SetChecked(Compressed);
    dlg.EmbeddedCB->SetChecked(EmbeddedFonts);
    dlg.PrintOptCB->SetChecked(PrintOptimized);
    dlg.OutlineCB->SetChecked(Outline);
    dlg.OutlineCB->SetEnabled(Outline);
    dlg.BackgrCB->SetChecked(Background);
    if (!PageNumbers.empty()) {
        dlg.PageNumbersE->SetText(PageNumbers);
        dlg.PageNumbersRB->SetChecked(true);
    }
    dlg.OwnPassE->SetText(OwnerPassword);
    dlg.UserPassE->SetText(UserPassword);
    dlg.PrintCB->SetChecked(FProtectionFlags.Contains(TqlrPDFEncBit::ePrint));
    dlg.CopyCB->SetChecked(FProtectionFlags.Contains(TqlrPDFEncBit::eCopy));
    dlg.ModCB->SetChecked(FProtectionFlags.Contains(TqlrPDFEncBit::eModify));
    dlg.AnnotCB->SetChecked(FProtectionFlags.Contains(TqlrPDFEncBit::eAnnot));
    std::string* info[] = {&Title, &Author, &Subject, &Keywords, &Creator, &Producer};
    gui::TEdit* edits[] = {dlg.TitleE, dlg.AuthorE, dlg.SubjectE, dlg.KeywordsE, dlg.CreatorE, dlg.ProducerE};
    for (int k = 0; k < 6; ++k) edits[k]->SetText(*info[k]);
    bool* prefs[] = {&HideToolbar, &HideMenubar, &HideWindowUI, &FitWindow, &CenterWindow, &PrintScaling};
    gui::TCheckBox* boxes[] = {dlg.HideToolbarCB, dlg.HideMenubarCB, dlg.HideWindowUICB,
                               dlg.FitWindowCB,   dlg.CenterWindowCB, dlg.PrintScalingCB};
    for (int k = 0; k < 6; ++k) boxes[k]->SetChecked(*prefs[k]);

    if (OnShowDialog) {
        dlg.OnShow = [this, &dlg](rtl::TObject*) { OnShowDialog(dlg); };
    }
    int result = dlg.ShowModal();
    if (result != gui::mrOk) return result;
    UserPassword = dlg.UserPassE->Text();
    OwnerPassword = dlg.OwnPassE->Text();
    TqlrPDFEncBits flags;
    if (dlg.PrintCB->Checked()) flags.Include(TqlrPDFEncBit::ePrint);
    if (dlg.ModCB->Checked()) flags.Include(TqlrPDFEncBit::eModify);
    if (dlg.CopyCB->Checked()) flags.Include(TqlrPDFEncBit::eCopy);
    if (dlg.AnnotCB->Checked()) flags.Include(TqlrPDFEncBit::eAnnot);
    SetProtectionFlags(flags);
    PageNumbers.clear();
    CurPage = false;
    if (dlg.CurPageRB->Checked()) CurPage = true;
    else if (dlg.PageNumbersRB->Checked()) PageNumbers = dlg.PageNumbersE->Text();
    OpenAfterExport = dlg.OpenCB->Checked();
    Compressed = dlg.CompressedCB->Checked();
    EmbeddedFonts = dlg.EmbeddedCB->Checked();
    PrintOptimized = dlg.PrintOptCB->Checked();
    Outline = dlg.OutlineCB->Checked();
    Background = dlg.BackgrCB->Checked();
    for (int k = 0; k < 6; ++k) *info[k] = edits[k]->Text();
    for (int k = 0; k < 6; ++k) *prefs[k] = boxes[k]->Checked();
    if (!SlaveExport) {
        if (!DefaultPath.empty()) save->InitialDir = DefaultPath;
        if (save->Execute())
            FileName = save->FileName;
        else
            result = gui::mrCancel;
    }
    return result;
}

} // namespace qlr
