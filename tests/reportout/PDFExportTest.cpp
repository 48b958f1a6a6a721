// The PDF export: document structure read back by an in-test scanner,
// font names, maps and arrow geometry, and reports prepared by the engine
// exported and read back with poppler's tools (text, fonts, information,
// rendered pixels).

#include <gtest/gtest.h>
#include <nettle/arcfour.h>
#include <nettle/md5.h>

#include <array>
#include <chrono>
#include <cmath>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <random>
#include <regex>
#include <string>

#include "platform/gui/Dialogs.h"
#include "platform/gui/FontService.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrClassPages.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "reportout/qlrExportPDF.h"
#include "reportout/qlrPDFExportDialog.h"
#include "reportout/qlrRC4.h"
#include "reportout/qlrmd5.h"

using namespace qlr;
namespace fs = std::filesystem;

namespace {

struct Output {
    int code = -1;
    std::string text;
};

Output Shell(const std::string& cmd)
{
    Output o;
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return o;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) o.text.append(buf, n);
    const int status = pclose(p);
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

// A fixed clock and identifier, so that every export is reproducible.
struct StandIns {
    StandIns()
    {
        TqlrPDFExport::SetClock([] { return std::array<int, 6>{2026, 3, 14, 9, 5, 7}; });
        TqlrPDFExport::SetGuidSource([] { return std::string("{01234567-89AB-CDEF-0123-456789ABCDEF}"); });
    }
    ~StandIns()
    {
        TqlrPDFExport::SetClock(nullptr);
        TqlrPDFExport::SetGuidSource(nullptr);
    }
};

fs::path TempDir(const std::string& name)
{
    fs::path d = fs::temp_directory_path() / ("tec_pdf_" + name + "_" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
}

std::string ReadFile(const fs::path& p)
{
    std::string s;
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) return s;
    char buf[65536];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
    return s;
}

// Checks the cross-reference table of a whole file: 20-byte lines, offsets
// on "N 0 obj", /Size one more than the objects.  Returns the object count.
int CheckXRef(const std::string& pdf)
{
    const std::size_t sx = pdf.rfind("startxref\r\n");
    EXPECT_NE(sx, std::string::npos);
    const long long at = std::stoll(pdf.substr(sx + 11));
    EXPECT_EQ(pdf.compare(static_cast<std::size_t>(at), 6, "xref\r\n"), 0);
    std::size_t pos = static_cast<std::size_t>(at) + 6;
    const std::size_t eol = pdf.find("\r\n", pos);
    const int count = std::stoi(pdf.substr(pos + 2, eol - pos - 2));
    pos = eol + 2;
    EXPECT_EQ(pdf.substr(pos, 20), "0000000000 65535 f\r\n");
    for (int n = 1; n < count; ++n) {
        const std::string line = pdf.substr(pos + 20 * static_cast<std::size_t>(n), 20);
        EXPECT_EQ(line.substr(10), " 00000 n\r\n") << "xref line " << n;
        const long long off = std::stoll(line.substr(0, 10));
        const std::string head = std::to_string(n) + " 0 obj";
        EXPECT_EQ(pdf.compare(static_cast<std::size_t>(off), head.size(), head), 0) << "object " << n;
    }
    EXPECT_NE(pdf.find("/Size " + std::to_string(count) + "\r\n"), std::string::npos);
    return count - 1;
}

// qpdf's structural check: 0 is clean, 2 errors, 3 warnings (none expected).
void ExpectQpdfClean(const fs::path& file, const std::string& password = "")
{
    if (!Have("qpdf")) return;
    const std::string pw = password.empty() ? "" : " --password=" + password;
    const Output o = Shell("qpdf --check" + pw + " '" + file.string() + "'");
    EXPECT_EQ(o.code, 0) << o.text;
}

// A report with one title band; memos, lines, shapes and pictures are added
// by the tests, then the engine prepares it.
struct PdfReport {
    TqlrReport report{nullptr};
    TqlrReportPage* page;
    TqlrBand* band;
    PdfReport()
    {
        report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        report.ReportOptions()->Name = "Eclipse table";
        page = new TqlrReportPage(&report);
        page->SetName("Page1");
        page->SetPaperSize(9);
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        band = new TqlrReportTitle(page);
        band->SetName("ReportTitle1");
        band->SetBounds(0, 0, 700, 600);
    }
    TqlrMemoView* Memo(const std::string& text, const std::string& font, int size, long double l, long double t,
                       long double w, long double h, bool bold = false)
    {
        auto* m = new TqlrMemoView(band);
        m->SetName("Memo" + std::to_string(band->Objects().size()));
        m->SetBounds(l, t, w, h);
        m->SetText(text);
        m->Font()->SetName(font);
        m->Font()->SetSize(size);
        if (bold) m->Font()->SetStyle(gui::TFontStyles{gui::TFontStyle::fsBold});
        return m;
    }
};

} // namespace

// ---------------------------------------------------------------- pieces

TEST(PdfPieces, FontNamesAndMapBlocks)
{
    EXPECT_EQ(PDFFontName("Liberation Sans", true, true), "Liberation#20Sans,BoldItalic");
    EXPECT_EQ(PDFFontName("A#B (x)", false, false), "A#23B#20#28x#29");
    EXPECT_EQ(PDFFontName("Caf\xC3\xA9", false, true), "Caf#E9,Italic");
    EXPECT_EQ(GlyphsToHex(u"\x0001\x00AB\x1234"), "000100AB1234");
    std::vector<int> glyphs;
    std::vector<char16_t> uni;
    for (int g = 1; g <= 250; ++g) {
        glyphs.push_back(g);
        uni.push_back(static_cast<char16_t>(0x40 + g));
    }
    const std::string map = ToUnicodeMap("X+Bold", glyphs, uni);
    EXPECT_NE(map.find("100 beginbfchar"), std::string::npos);
    EXPECT_NE(map.find("50 beginbfchar"), std::string::npos);
    EXPECT_EQ(std::regex_search(map, std::regex("Ordering \\(Identity\\)")), false);
    int blocks = 0;
    for (std::size_t p = 0; (p = map.find("beginbfchar", p)) != std::string::npos; ++p) ++blocks;
    EXPECT_EQ(blocks, 3);
}

TEST(PdfPieces, DashesAndArrows)
{
    EXPECT_EQ(PDFDash(TqlrFrameStyle::fsSolid, 1), "[] 0 d");
    EXPECT_EQ(PDFDash(TqlrFrameStyle::fsDash, 1), "[6.00 ] 0 d");
    EXPECT_EQ(PDFDash(TqlrFrameStyle::fsDot, 2), "[4.00 12.00 ] 0 d");
    EXPECT_EQ(PDFDash(TqlrFrameStyle::fsDashDotDot, 1), "[6.00 6.00 2.00 6.00 2.00 6.00 ] 0 d");
    struct Case {
        double x1, y1, x2, y2, bx, by;
    } cases[] = {
        {100, 0, 0, 0, 90, 0},     // horizontal, tip on the right
        {0, 0, 100, 0, 10, 0},     // horizontal, tip on the left
        {0, 100, 0, 0, 0, 90},     // vertical, tip on top
        {0, 0, 0, 100, 0, 10},     // vertical: the first guess is beyond both ends
        {60, 80, 0, 0, 54, 72},    // sloped 3-4-5
    };
    for (const Case& c : cases) {
        const TqlrPDFArrow a = ArrowGeometry(c.x1, c.y1, c.x2, c.y2, 10, 4);
        EXPECT_NEAR(a.X, c.bx, 1e-6) << c.x1 << "," << c.y1;
        EXPECT_NEAR(a.Y, c.by, 1e-6) << c.x1 << "," << c.y1;
        // The barbs lie 4 apart from the base, across the line.
        EXPECT_NEAR(std::hypot(a.X1 - a.X, a.Y1 - a.Y), 4, 1e-6);
        EXPECT_NEAR((a.X1 - a.X) * (c.x1 - c.x2) + (a.Y1 - a.Y) * (c.y1 - c.y2), 0, 1e-6);
    }
}

// ---------------------------------------------------------------- structure

TEST(PdfWriter, EmptyExportAndViewerPreferences)
{
    StandIns standIns;
    struct Case {
        std::string title;
        bool printScaling;
        bool displayTitle, noScaling;
    } cases[] = {{"", false, false, true}, {"T", true, true, false}};
    for (const Case& c : cases) {
        rtl::TStringStream out;
        TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
        pdf.Stream = &out;
        pdf.Compressed = false;
        pdf.Title = c.title;
        pdf.PrintScaling = c.printScaling;
        ASSERT_TRUE(pdf.Start());
        pdf.Finish();
        const std::string s = out.DataString();
        EXPECT_EQ(s.rfind("%PDF-1.5\r\n", 0), 0u);
        EXPECT_NE(s.find("/Kids []\r\n/Count 0"), std::string::npos);
        EXPECT_EQ(s.find("/DisplayDocTitle true") != std::string::npos, c.displayTitle);
        EXPECT_EQ(s.find("/PrintScaling /None") != std::string::npos, c.noScaling);
        EXPECT_EQ(CheckXRef(s), 3);   // page tree, information, catalogue
        EXPECT_NE(s.find("/ID [<"), std::string::npos);
        EXPECT_NE(s.find("/CreationDate (D:20260314090507)"), std::string::npos);
    }
    TqlrPDFExport none(TqlrCustomExportFilter::NoRegister{});
    EXPECT_FALSE(none.Start());
}

TEST(PdfWriter, PermissionValueAndProtectionTurnsEmbeddingOn)
{
    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    EXPECT_EQ(pdf.EncBits(), -4);
    pdf.SetProtectionFlags({});
    EXPECT_EQ(pdf.EncBits(), -64);
    pdf.SetProtectionFlags({TqlrPDFEncBit::ePrint});
    EXPECT_EQ(pdf.EncBits(), -60);
    StandIns standIns;
    rtl::TStringStream out;
    pdf.Stream = &out;
    pdf.UserPassword = "user";
    ASSERT_TRUE(pdf.Start());
    pdf.Finish();
    EXPECT_TRUE(pdf.EmbeddedFonts);
    EXPECT_EQ(pdf.OwnerPassword, "user");
    EXPECT_NE(out.DataString().find("/Encrypt <<\r\n/Filter /Standard\r\n/V 2\r\n/R 3"), std::string::npos);
}

// ---------------------------------------------------------------- end to end

namespace {

// A report with texts in several fonts (Greek from the Symbol font), a
// rotated memo, lines with arrows, every shape and a picture.
void BuildFixture(PdfReport& r)
{
    r.Memo("Solar eclipse of 2026 August 12", "Arial", 14, 0, 0, 500, 30, true);
    auto* d = r.Memo("DT", "Symbol", 12, 0, 40, 60, 24);
    d->Frame()->SetTyp({TqlrFrameType::ftLeft, TqlrFrameType::ftTop, TqlrFrameType::ftRight, TqlrFrameType::ftBottom});
    r.Memo("Greatest eclipse 17:46:06 UT", "Arial", 10, 80, 40, 300, 24)
        ->Font()->SetStyle(gui::TFontStyles{gui::TFontStyle::fsItalic});
    auto* right = r.Memo("Magnitude 1.039", "Tahoma", 10, 400, 40, 250, 24);
    right->SetHAlign(TqlrHAlign::haRight);
    auto* rot = r.Memo("Rotated", "Arial", 10, 600, 80, 30, 120);
    rot->SetRotation(90);
    auto* line = new TqlrLineView(r.band);
    line->SetName("Line1");
    line->SetBounds(0, 80, 300, 0);
    line->ArrowStart = true;
    line->ArrowEnd = true;
    line->ArrowSolid = true;
    const TqlrShapeKind kinds[] = {TqlrShapeKind::skRectangle, TqlrShapeKind::skRoundRectangle,
                                   TqlrShapeKind::skEllipse,   TqlrShapeKind::skTriangle,
                                   TqlrShapeKind::skDiamond,   TqlrShapeKind::skDiagonal1,
                                   TqlrShapeKind::skDiagonal2};
    int x = 0;
    for (TqlrShapeKind k : kinds) {
        auto* s = new TqlrShapeView(r.band);
        s->SetName("Shape" + std::to_string(x));
        s->SetBounds(x * 80, 120, 70, 50);
        s->SetShape(k);
        if (k == TqlrShapeKind::skRectangle) s->SetColor(gui::clRed);
        ++x;
    }
    auto* rtlMemo = r.Memo("\xD7\x99\xD7\xA8\xD7\x97 2026", "Arial", 10, 400, 200, 150, 24);   // Hebrew "moon"
    rtlMemo->SetRTLReading(true);
    auto* html = r.Memo("<b>Tagged</b> text", "Arial", 10, 200, 200, 150, 24);
    html->SetAllowHTMLTags(true);   // drawn as a picture
    auto* pic = new TqlrPictureView(r.band);
    pic->SetName("Picture1");
    pic->SetBounds(0, 200, 100, 60);
    gui::TBitmap bmp(40, 24);
    bmp.Canvas()->Brush()->SetColor(gui::clBlue);
    bmp.Canvas()->FillRect(gui::TRect{0, 0, 40, 24});
    gui::TPicture picture;
    picture.SetGraphic(&bmp);
    pic->SetPicture(&picture);
}

} // namespace

TEST(PdfEndToEnd, PreparedReportReadsBack)
{
    if (!Have("pdftotext") || !Have("pdfinfo")) GTEST_SKIP() << "poppler tools missing";
    StandIns standIns;
    const fs::path dir = TempDir("e2e");
    for (bool embedded : {false, true}) {
        PdfReport r;
        BuildFixture(r);
        ASSERT_TRUE(r.report.PrepareReport());
        TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
        pdf.ShowDialog = false;
        pdf.EmbeddedFonts = embedded;
        pdf.Title = "Eclipse \xCE\x94T";
        pdf.Author = "Tolmira Eclipse Calculator";
        pdf.Producer = "Tolmira Eclipse Calculator";
        const fs::path file = dir / (embedded ? "embedded.pdf" : "plain.pdf");
        pdf.FileName = file.string();
        ASSERT_TRUE(r.report.Export(&pdf));
        const std::string bytes = ReadFile(file);
        CheckXRef(bytes);
        ExpectQpdfClean(file);

        const Output text = Shell("pdftotext -layout '" + file.string() + "' -");
        EXPECT_EQ(text.code, 0) << text.text;
        // Right-to-left text read back in its logical order.
        for (const char* t : {"Solar eclipse of 2026 August 12", "\xCE\x94\xCE\xA4", "Greatest eclipse 17:46:06 UT",
                              "Magnitude 1.039", "\xD7\x99\xD7\xA8\xD7\x97"})
            EXPECT_NE(text.text.find(t), std::string::npos) << t << " in\n" << text.text;

        const Output info = Shell("pdfinfo '" + file.string() + "'");
        EXPECT_NE(info.text.find("595.28 x 841.89 pts (A4)"), std::string::npos) << info.text;
        EXPECT_NE(info.text.find("Eclipse \xCE\x94T"), std::string::npos) << info.text;
        EXPECT_NE(info.text.find("Producer:        Tolmira Eclipse Calculator"), std::string::npos) << info.text;

        if (Have("pdffonts")) {
            const Output fonts = Shell("pdffonts '" + file.string() + "'");
            EXPECT_NE(fonts.text.find("CID TrueType"), std::string::npos) << fonts.text;
            EXPECT_NE(fonts.text.find("Identity-H"), std::string::npos);
            // emb, sub, uni: the embedded programs are subsets (tagged names).
            const std::string emb = embedded ? "yes yes yes" : "no  no  yes";
            const std::string other = embedded ? "no  no  yes" : "yes yes yes";
            EXPECT_NE(fonts.text.find(emb), std::string::npos) << fonts.text;
            EXPECT_EQ(fonts.text.find(other), std::string::npos) << fonts.text;
            EXPECT_NE(fonts.text.find("Liberation Sans,Bold"), std::string::npos);
            EXPECT_EQ(std::regex_search(fonts.text, std::regex("\\b[A-Z]{6}\\+Liberation Sans")), embedded) << fonts.text;
        }
        if (Have("pdftoppm")) {
            const std::string base = (dir / (embedded ? "emb" : "plain")).string();
            ASSERT_EQ(Shell("pdftoppm -r 72 -png -singlefile -f 1 -l 1 '" + file.string() + "' '" + base + "'").code, 0);
            gui::TPngImage png;
            png.LoadFromFile(base + ".png");
            // Page origin: 10 mm margins (28.35 pt) plus the view in points.
            auto at = [&](double rx, double ry) {
                return png.Pixels(static_cast<int>(28.35 + 0.75 + rx * 0.75), static_cast<int>(28.35 + 0.75 + ry * 0.75));
            };
            EXPECT_EQ(gui::ColorToRGB(at(35, 145)), gui::clRed);         // filled rectangle
            const gui::TColor blue = at(50, 230);                          // the picture
            EXPECT_LT(blue & 0xFF, 0x40);
            EXPECT_GT((blue >> 16) & 0xFF, 0xC0);
            EXPECT_EQ(at(300, 300), gui::clWhite);                        // nothing there
            // Some ink inside the title's box.
            int ink = 0;
            for (int y = 0; y < 20; ++y)
                for (int xx = 0; xx < 200; ++xx)
                    if ((at(xx, y) & 0xFF) < 0x80) ++ink;
            EXPECT_GT(ink, 50);
            // The tagged memo is a picture with its text drawn in it.
            int picInk = 0;
            for (int y = 0; y < 24; ++y)
                for (int xx = 0; xx < 150; ++xx)
                    if ((at(200 + xx, 200 + y) & 0xFF) < 0x80) ++picInk;
            EXPECT_GT(picInk, 30);
        }
        // TEC_KEEP_PDF=<folder> keeps the files and page pictures to look at.
        if (const char* keep = std::getenv("TEC_KEEP_PDF"))
            for (const auto& e : fs::directory_iterator(dir))
                fs::copy_file(e.path(), fs::path(keep) / e.path().filename(), fs::copy_options::overwrite_existing);
        if (embedded && Have("qpdf")) {
            // Decompressed objects: the page content and the font programs.
            const fs::path qdf = dir / "qdf.pdf";
            ASSERT_EQ(Shell("qpdf --qdf --object-streams=disable '" + file.string() + "' '" + qdf.string() + "'").code, 0);
            const std::string q = ReadFile(qdf);
            EXPECT_NE(q.find("> Tj"), std::string::npos);
            EXPECT_NE(q.find("/FontFile2"), std::string::npos);
            EXPECT_NE(q.find("BI\n/W"), std::string::npos);
            EXPECT_NE(q.find("/ItalicAngle 0.00"), std::string::npos);
            // The italic face's slant in degrees (its post table says -12).
            EXPECT_NE(q.find("/ItalicAngle -12.00"), std::string::npos);
        }
        if (Have("mutool")) {
            // A second, independent renderer: the same fills in the same places.
            const std::string png = (dir / (embedded ? "mu-emb.png" : "mu-plain.png")).string();
            ASSERT_EQ(Shell("mutool draw -q -r 72 -F png -o '" + png + "' '" + file.string() + "' 1").code, 0);
            gui::TPngImage img;
            img.LoadFromFile(png);
            auto at = [&](double rx, double ry) {
                return img.Pixels(static_cast<int>(28.35 + 0.75 + rx * 0.75), static_cast<int>(28.35 + 0.75 + ry * 0.75));
            };
            EXPECT_EQ(gui::ColorToRGB(at(35, 145)), gui::clRed);
            EXPECT_GT((at(50, 230) >> 16) & 0xFF, 0xC0);
            EXPECT_EQ(at(300, 300), gui::clWhite);
        }
    }
}

TEST(PdfEndToEnd, ProtectedFileKeepsGreekTitle)
{
    if (!Have("pdfinfo")) GTEST_SKIP() << "poppler tools missing";
    StandIns standIns;
    const fs::path dir = TempDir("protected");
    PdfReport r;
    r.Memo("Contact times", "Arial", 10, 0, 0, 300, 24);
    ASSERT_TRUE(r.report.PrepareReport());
    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    pdf.ShowDialog = false;
    pdf.UserPassword = "moon";
    pdf.OwnerPassword = "sun";
    pdf.Title = "\xCE\x94T \xCE\xB1\xCE\xB2";
    const fs::path file = dir / "protected.pdf";
    pdf.FileName = file.string();
    ASSERT_TRUE(r.report.Export(&pdf));
    const Output info = Shell("pdfinfo -upw moon '" + file.string() + "'");
    EXPECT_EQ(info.code, 0) << info.text;
    EXPECT_NE(info.text.find("Encrypted:       yes"), std::string::npos) << info.text;
    EXPECT_NE(info.text.find("\xCE\x94T \xCE\xB1\xCE\xB2"), std::string::npos) << info.text;
    const Output text = Shell("pdftotext -upw moon '" + file.string() + "' -");
    EXPECT_NE(text.text.find("Contact times"), std::string::npos) << text.text;
    EXPECT_NE(Shell("pdfinfo -upw wrong '" + file.string() + "'").code, 0);
    if (const char* keep = std::getenv("TEC_KEEP_PDF"))
        fs::copy_file(file, fs::path(keep) / file.filename(), fs::copy_options::overwrite_existing);
    ExpectQpdfClean(file, "sun");
    ExpectQpdfClean(file, "moon");
    if (Have("qpdf")) {
        const Output enc = Shell("qpdf --show-encryption --password=moon '" + file.string() + "'");
        EXPECT_NE(enc.text.find("R = 3"), std::string::npos) << enc.text;
        EXPECT_NE(enc.text.find("P = -4"), std::string::npos) << enc.text;
        const Output owner = Shell("qpdf --show-encryption --password=sun '" + file.string() + "'");
        EXPECT_NE(owner.text.find("Supplied password is owner password"), std::string::npos) << owner.text;
    }
}

TEST(PdfWriter, DefaultPathAndOpenAfterExport)
{
    StandIns standIns;
    const fs::path dir = TempDir("open");
    std::vector<std::string> opened;
    gui::SetShellOpenHandler([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    PdfReport r;
    r.Memo("x", "Arial", 10, 0, 0, 50, 20);
    ASSERT_TRUE(r.report.PrepareReport());
    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    pdf.ShowDialog = false;
    pdf.OpenAfterExport = true;
    pdf.DefaultPath = dir.string();
    pdf.FileName = "named.pdf";
    ASSERT_TRUE(r.report.Export(&pdf));
    EXPECT_TRUE(fs::exists(dir / "named.pdf"));
    EXPECT_EQ(opened, (std::vector<std::string>{(dir / "named.pdf").string()}));
    // Into the caller's stream nothing is opened.
    rtl::TStringStream out;
    pdf.Stream = &out;
    ASSERT_TRUE(r.report.Export(&pdf));
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_GT(out.DataString().size(), 500u);
    gui::SetShellOpenHandler(nullptr);

    // A file that cannot be created fails in Start: the export reports the
    // error and fails like any other; it is usable again afterwards.
    pdf.Stream = nullptr;
    pdf.FileName = (dir / "missing" / "x.pdf").string();
    EXPECT_FALSE(r.report.Export(&pdf));
    EXPECT_NE(r.report.Errors()->Text().find("x.pdf"), std::string::npos) << r.report.Errors()->Text();
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_EQ(opened.size(), 1u);
    pdf.FileName = (dir / "again.pdf").string();
    EXPECT_TRUE(r.report.Export(&pdf));
    EXPECT_TRUE(fs::exists(dir / "again.pdf"));
}

TEST(PdfWriter, SlaveExportWritesIntoTheTemporaryFolder)
{
    StandIns standIns;
    PdfReport r;
    ASSERT_TRUE(r.report.PrepareReport());
    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    pdf.ShowDialog = false;
    pdf.SlaveExport = true;
    pdf.OpenAfterExport = true;
    bool openShown = true;
    pdf.OnShowDialog = [&](TqlrPDFExportDialog& d) {
        openShown = d.OpenCB->Visible();
        gui::sim::PostKeyPress(gui::VK_RETURN);
    };
    // The options, but no save dialog and no opening.
    EXPECT_EQ(pdf.ShowModal(), gui::mrOk);
    EXPECT_FALSE(openShown);
    EXPECT_FALSE(pdf.OpenAfterExport);
    ASSERT_TRUE(r.report.Export(&pdf));
    EXPECT_EQ(fs::path(pdf.FileName).extension(), ".pdf");
    EXPECT_EQ(fs::path(pdf.FileName).parent_path(), fs::path(GetTempFolder() + "/").parent_path().lexically_normal());
    // The temporary file whose name was taken is not left behind.
    EXPECT_FALSE(fs::exists(fs::path(pdf.FileName).replace_extension("")));
    EXPECT_TRUE(fs::exists(pdf.FileName));
    fs::remove(pdf.FileName);
}

// ---------------------------------------------------------------- page content

namespace {

// An export on one page of the fixture, driven by hand: the objects given
// are written, the page content returned.
struct PageRig {
    StandIns standIns;
    PdfReport r;
    rtl::TStringStream out;
    TqlrPDFExport pdf{TqlrCustomExportFilter::NoRegister{}};
    PageRig()
    {
        r.page->SetLeftMargin(0);
        r.page->SetTopMargin(0);
        pdf.Stream = &out;
        pdf.Compressed = false;
        pdf.Start();
        pdf.StartPage(r.page, 0);
    }
    std::string Write(TqlrView* v)
    {
        const std::size_t before = pdf.PageContent().size();
        pdf.ExportObject(v);
        return pdf.PageContent().substr(before);
    }
    // The x and y of every "Td" in order.
    static std::vector<std::pair<double, double>> Td(const std::string& s)
    {
        std::vector<std::pair<double, double>> v;
        std::regex re("(-?[0-9.]+) (-?[0-9.]+) Td");
        for (auto it = std::sregex_iterator(s.begin(), s.end(), re); it != std::sregex_iterator(); ++it)
            v.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
        return v;
    }
};

} // namespace

TEST(PdfContent, OutputChoice)
{
    PageRig g;
    auto* memo = g.r.Memo("<b>x</b>", "Arial", 10, 0, 0, 100, 20);
    EXPECT_EQ(g.pdf.OutputKind(memo), TqlrPDFOutput::Text);   // tags not allowed
    memo->SetAllowHTMLTags(true);
    EXPECT_EQ(g.pdf.OutputKind(memo), TqlrPDFOutput::Image);
    g.pdf.HTMLTags = false;
    EXPECT_EQ(g.pdf.OutputKind(memo), TqlrPDFOutput::Text);
    memo->SetBrushStyle(gui::TBrushStyle::bsBDiagonal);
    EXPECT_EQ(g.pdf.OutputKind(memo), TqlrPDFOutput::Image);
    auto* pic = new TqlrPictureView(g.r.band);
    pic->SetName("_pagebackground");
    pic->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(g.pdf.OutputKind(pic), TqlrPDFOutput::Nothing);
    g.pdf.Background = true;
    EXPECT_EQ(g.pdf.OutputKind(pic), TqlrPDFOutput::Image);
    pic->SetWidth(0);
    EXPECT_EQ(g.pdf.OutputKind(pic), TqlrPDFOutput::Nothing);
    EXPECT_EQ(g.Write(pic), "");
    auto* shape = new TqlrShapeView(g.r.band);
    shape->SetBounds(0, 0, 100, 40);
    shape->SetShape(TqlrShapeKind::skRoundRectangle);
    EXPECT_EQ(g.Write(shape), "[] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n1 1 1 rg\r\n0.00 811.89 \r\n75.00 30.00 re\r\nS\r\n");
    shape->SetShape(TqlrShapeKind::skEllipse);
    shape->SetBounds(0, 0, 40, 40);
    EXPECT_EQ(g.Write(shape),
              "[] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n1 1 1 rg\r\n30.00 826.89 m\r\n"
              "30.00 818.61 23.28 811.89 15.00 811.89 c\r\n6.72 811.89 0.00 818.61 0.00 826.89 c\r\n"
              "0.00 835.17 6.72 841.89 15.00 841.89 c\r\n23.28 841.89 30.00 835.17 30.00 826.89 c\r\nS\r\n");
    // A picture: one blank after "ID", then the JPEG data at once; the frame on top.
    auto* photo = new TqlrPictureView(g.r.band);
    photo->SetBounds(10, 10, 40, 30);
    photo->Frame()->SetTyp({TqlrFrameType::ftTop});
    const std::string img = g.Write(photo);
    EXPECT_NE(img.find("/F [/DCT]\r\nID \xFF\xD8"), std::string::npos);
    EXPECT_NE(img.find("\xFF\xD9\r\nEI\r\nQ\r\n0 0 0 RG\r\n[] 0 d\r\n0.75 w\r\n7.50 834.39 m\r\n37.50 834.39 l\r\nS"),
              std::string::npos);
    shape->SetPrintable(false);
    EXPECT_EQ(g.Write(shape), "");
    g.pdf.ExportNotPrintable = true;
    EXPECT_NE(g.Write(shape), "");
}

TEST(PdfContent, TextClipTakesInTheFrameWidthWithOrWithoutEdges)
{
    PageRig g;
    auto* m = g.r.Memo("Clip", "Arial", 10, 100, 100, 200, 60);
    m->Frame()->SetWidth(2);
    for (bool edges : {false, true}) {
        m->Frame()->SetTyp(edges ? TqlrFrameTypes{TqlrFrameType::ftLeft} : TqlrFrameTypes{});
        const std::string s = g.Write(m);
        std::smatch sm;
        ASSERT_TRUE(std::regex_search(s, sm, std::regex("(-?[0-9.]+) (-?[0-9.]+) ([0-9.]+) ([0-9.]+) re\r\nW")));
        EXPECT_NEAR(std::stod(sm[1]), 98 * 0.75, 0.01) << edges;
        EXPECT_NEAR(std::stod(sm[3]), 204 * 0.75, 0.01) << edges;
        EXPECT_NEAR(std::stod(sm[4]), 64 * 0.75, 0.01) << edges;
    }
}

TEST(PdfContent, TextPlacement)
{
    PageRig g;
    auto* m = g.r.Memo("Wide", "Arial", 10, 100, 100, 200, 60);
    auto x = [&](TqlrHAlign ha, long double shadow) {
        m->SetHAlign(ha);
        m->Frame()->SetShadowWidth(shadow);
        return PageRig::Td(g.Write(m)).at(0).first;
    };
    // A shadow width of 4 (no shadow drawn) narrows the box by 3 points.
    EXPECT_NEAR(x(TqlrHAlign::haRight, 0) - x(TqlrHAlign::haRight, 4), 3, 0.011);
    EXPECT_NEAR(x(TqlrHAlign::haCenter, 0) - x(TqlrHAlign::haCenter, 4), 1.5, 0.011);
    EXPECT_NEAR(x(TqlrHAlign::haLeft, 0), x(TqlrHAlign::haLeft, 4), 0.001);
    m->Frame()->SetShadowWidth(0);
    m->SetHAlign(TqlrHAlign::haLeft);

    // An empty line writes nothing but keeps its place.
    m->SetText("A\r\n\r\nC");
    const std::string three = g.Write(m);
    const auto td = PageRig::Td(three);
    ASSERT_EQ(td.size(), 2u);
    const double step = (td[0].second - td[1].second) / 2;   // one line, in points
    EXPECT_GT(step, 8);
    EXPECT_LT(step, 16);
    // Bottom and centre alignment move the block down, top keeps it up.
    m->SetVAlign(TqlrVAlign::vaBottom);
    const double bottom = PageRig::Td(g.Write(m)).at(1).second;
    m->SetVAlign(TqlrVAlign::vaCenter);
    const double centre = PageRig::Td(g.Write(m)).at(1).second;
    EXPECT_LT(bottom, centre);
    EXPECT_LT(centre, td[1].second);
    EXPECT_NEAR(centre, (bottom + td[1].second) / 2, 0.02);
    m->SetVAlign(TqlrVAlign::vaTop);

    // Rotation: a "cm" about the centre, extents swapped at 90 degrees.
    EXPECT_EQ(three.find(" cm"), std::string::npos);
    m->SetText("R");
    m->SetRotation(90);
    const std::string rot = g.Write(m);
    EXPECT_NE(rot.find("0.00 1.00 -1.00 0.00 150.00 744.39 cm"), std::string::npos) << rot;
    // Left aligned, the line starts half the (swapped) horizontal extent left of the centre.
    EXPECT_NEAR(PageRig::Td(rot).at(0).first, -0.75 * 30, 0.011);

    // An underlined font: a rule under the line as long as its measured width.
    m->SetRotation(0);
    m->SetText("Underlined");
    m->Font()->SetStyle(gui::TFontStyles{gui::TFontStyle::fsUnderline});
    const std::string u = g.Write(m);
    std::smatch sm;
    ASSERT_TRUE(std::regex_search(u, sm, std::regex("([0-9.]+) ([0-9.]+) m\r\n([0-9.]+) ([0-9.]+) l\r\nS")));
    const double len = std::stod(sm[3]) - std::stod(sm[1]);
    TqlrPDFFont& font = *g.pdf.Fonts().back();
    int units = 0;
    for (char16_t c : std::u16string(u"Underlined"))
        for (std::size_t i = 0; i < font.Widths.size(); ++i)
            if (font.UsedAlphabetUnicode[i] == c) units += font.Widths[i];
    // The advances of the letters at 10 pt.
    EXPECT_NEAR(len, units * 10 / 1000.0, 1.0);
}

TEST(PdfFonts, SharingOrderAndMapping)
{
    PageRig g;
    gui::TFont a10, a14, bold;
    a10.SetName("Arial");
    a10.SetSize(10);
    a14.Assign(&a10);
    a14.SetSize(14);
    bold.Assign(&a10);
    bold.SetStyle(gui::TFontStyles{gui::TFontStyle::fsBold});
    EXPECT_EQ(g.pdf.FindPageFont(a10), 0);
    EXPECT_EQ(g.pdf.FindPageFont(a14), 0);
    EXPECT_EQ(g.pdf.FindPageFont(bold), 1);
    ASSERT_EQ(g.pdf.Fonts().size(), 2u);
    EXPECT_EQ(g.pdf.Fonts()[1]->Name, "/F1");

    TqlrPDFFont& f = *g.pdf.Fonts()[0];
    const std::u16string glyphs = f.RemapString(u"abca", false);
    ASSERT_EQ(glyphs.size(), 4u);
    EXPECT_EQ(glyphs[0], glyphs[3]);
    EXPECT_EQ(f.UsedAlphabetUnicode, (std::vector<char16_t>{u'a', u'b', u'c'}));
    EXPECT_EQ(f.UsedAlphabet.size(), f.Widths.size());
    // Right to left: the glyphs come in visual order, each with its own character.
    f.RemapString(u"\u05D0\u05D1\u05D2", true);
    EXPECT_EQ(std::vector<char16_t>(f.UsedAlphabetUnicode.begin() + 3, f.UsedAlphabetUnicode.end()),
              (std::vector<char16_t>{u'\u05D2', u'\u05D1', u'\u05D0'}));
    // A ligature stands for several characters: the default character.
    TqlrPDFFont lig(a10);
    const std::u16string fi = lig.RemapString(u"fi", false);
    if (fi.size() == 1) { EXPECT_EQ(lig.UsedAlphabetUnicode.at(0), lig.Metrics().DefaultChar); }
    // Symbol text is shaped as the Greek letters the report draws.
    gui::TFont symbol;
    symbol.SetName("Symbol");
    TqlrPDFFont sym(symbol);
    sym.RemapString(u"D", false);
    EXPECT_EQ(sym.UsedAlphabetUnicode, (std::vector<char16_t>{u'\u0394'}));
}

TEST(PdfFonts, LaterPagesRepeatFontsAndObjectsFollowInOrder)
{
    PageRig g;
    auto* m = g.r.Memo("Page text", "Arial", 10, 0, 0, 200, 20);
    g.Write(m);
    g.pdf.FinishPage(g.r.page, 0);
    g.pdf.StartPage(g.r.page, 1);
    g.Write(m);
    g.pdf.FinishPage(g.r.page, 1);
    g.pdf.Finish();
    const std::string s = g.out.DataString();
    const int objects = CheckXRef(s);
    // 1 tree, content 2, font 3, page 4, content 5, page 6, then the four
    // font objects (no font file), information and catalogue.
    EXPECT_EQ(objects, 12);
    EXPECT_NE(s.find("4 0 obj\r\n<<\r\n/Type /Page"), std::string::npos);
    EXPECT_NE(s.find("6 0 obj\r\n<<\r\n/Type /Page"), std::string::npos);
    int fontRefs = 0;
    for (std::size_t p = 0; (p = s.find("/Font << /F0 3 0 R >>", p)) != std::string::npos; ++p) ++fontRefs;
    EXPECT_EQ(fontRefs, 2);
    EXPECT_NE(s.find("/Kids [4 0 R 6 0 R ]\r\n/Count 2"), std::string::npos);
    EXPECT_EQ(s.find("/FontFile2"), std::string::npos);
    // Uncompressed streams: the data, one line end, "endstream".
    EXPECT_EQ(s.find("\r\n\r\nendstream"), std::string::npos);
    EXPECT_NE(s.find("Q\r\nendstream"), std::string::npos);
    EXPECT_NE(s.find("/ItalicAngle 0.00"), std::string::npos);
}

// ---------------------------------------------------------------- dialog

TEST(PdfDialog, StreamSkipsTheDialogAndTitleComesFromTheReport)
{
    PdfReport r;
    rtl::TStringStream out;
    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    pdf.Report = &r.report;
    pdf.Stream = &out;
    bool shown = false;
    pdf.OnShowDialog = [&](TqlrPDFExportDialog&) { shown = true; };
    EXPECT_EQ(pdf.ShowModal(), gui::mrOk);
    EXPECT_FALSE(shown);
    EXPECT_EQ(pdf.Title, "Eclipse table");
}

TEST(PdfDialog, OptionsReadBackAndCancelledSaveKeepsThem)
{
    PdfReport r;
    auto scripted = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* files = scripted.get();
    auto old = gui::SetDialogService(std::move(scripted));
    files->FileAnswers.push_back({false, ""});
    files->FileAnswers.push_back({true, "/tmp/chosen.pdf"});

    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    pdf.Report = &r.report;
    pdf.Author = "Tolmira Eclipse Calculator";
    std::vector<std::string> captions;
    bool outlineEnabled = true, pagesChecked = false;
    std::string typed;
    pdf.OnShowDialog = [&](TqlrPDFExportDialog& d) {
        captions = {d.Caption(), d.CompressedCB->Caption(), d.SecurityPage->Caption(), d.ViewerGB->Caption(),
                    d.PrintScalingCB->Caption(), d.OwnPassL->Caption(), d.AuthorE->Text()};
        outlineEnabled = d.OutlineCB->Enabled();
        gui::sim::TypeText("1,a 3-5", d.PageNumbersE);
        typed = d.PageNumbersE->Text();
        pagesChecked = d.PageNumbersRB->Checked();
        d.CompressedCB->SetChecked(false);
        d.UserPassE->SetText("pw");
        d.CopyCB->SetChecked(false);
        gui::sim::PostKeyPress(gui::VK_RETURN);
    };
    EXPECT_EQ(pdf.ShowModal(), gui::mrCancel);   // OK, then the save dialog cancelled
    EXPECT_EQ(captions, (std::vector<std::string>{"Export to PDF", "Compressed", "Security", "Viewer preferences",
                                                  "Print scaling", "Owner password", "Tolmira Eclipse Calculator"}));
    EXPECT_FALSE(outlineEnabled);
    EXPECT_EQ(typed, "1,3-5");
    EXPECT_TRUE(pagesChecked);
    EXPECT_FALSE(pdf.Compressed);
    EXPECT_EQ(pdf.UserPassword, "pw");
    EXPECT_EQ(pdf.PageNumbers, "1,3-5");
    EXPECT_EQ(pdf.EncBits(), -4 - 16);
    EXPECT_EQ(pdf.Title, "Eclipse table");

    EXPECT_EQ(pdf.ShowModal(), gui::mrOk);
    EXPECT_EQ(pdf.FileName, "/tmp/chosen.pdf");
    EXPECT_FALSE(pdf.Compressed);   // the dialog showed the kept options
    gui::SetDialogService(std::move(old));
}

TEST(PdfDialog, StringTableLoads)
{
    AddExportFilterStrings();
    EXPECT_EQ(GetResourceString(8707), "Adobe PDF file (*.pdf)|*.pdf");
    EXPECT_EQ(GetResourceString(8988), "Print scaling");
    EXPECT_EQ(GetResources().Get("PDFexport"), "PDF file");
    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    EXPECT_EQ(pdf.GetDescription(), "PDF file");
    EXPECT_EQ(pdf.DefaultExt, ".pdf");
}

// ---------------------------------------------------------------- benchmark

// A 100-page text report exported with fonts embedded and not: reports the
// times and never fails.
TEST(PdfBenchmark, HundredPageTextReport)
{
    StandIns standIns;
    PdfReport r;
    delete r.band;
    auto* data = new TqlrMasterData(r.page);
    data->SetName("MasterData1");
    data->SetBounds(0, 0, 700, 40);
    r.band = data;
    data->SetRowCount(2600);
    r.Memo("Row [Line]", "Arial", 10, 0, 0, 200, 20);
    r.Memo("Contact C1 12:34:56.7 UT, altitude 45.2\xC2\xB0", "Arial", 10, 210, 0, 300, 20, true);
    r.Memo("DT", "Symbol", 10, 520, 0, 60, 20);
    const auto t0 = std::chrono::steady_clock::now();
    if (!r.report.PrepareReport()) return;
    const auto t1 = std::chrono::steady_clock::now();
    const fs::path dir = TempDir("bench");
    for (bool embedded : {false, true}) {
        TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
        pdf.ShowDialog = false;
        pdf.ShowProgress = false;
        pdf.EmbeddedFonts = embedded;
        pdf.FileName = (dir / (embedded ? "bench-embedded.pdf" : "bench.pdf")).string();
        const auto a = std::chrono::steady_clock::now();
        r.report.Export(&pdf);
        const auto b = std::chrono::steady_clock::now();
        std::printf("[ BENCH    ] %d pages prepared in %.0f ms; exported %s in %.0f ms, %lld bytes\n",
                    r.report.PreviewPages()->GetCount(),
                    std::chrono::duration<double, std::milli>(t1 - t0).count(),
                    embedded ? "with fonts embedded" : "without fonts", std::chrono::duration<double, std::milli>(b - a).count(),
                    static_cast<long long>(fs::exists(pdf.FileName) ? fs::file_size(pdf.FileName) : 0));
        if (Have("pdftotext")) {
            const Output last = Shell("pdftotext -f 100 -l 100 '" + pdf.FileName + "' - | head -1");
            std::printf("[ BENCH    ] page 100 begins with: %s", last.text.c_str());
        }
    }
}

// ---------------------------------------------------------------- ciphers against nettle

namespace {

using Bytes = std::vector<uint8_t>;

Bytes NettleMd5(const Bytes& in)
{
    md5_ctx c;
    md5_init(&c);
    md5_update(&c, in.size(), in.data());
    Bytes out(16);
    md5_digest(&c, 16, out.data());
    return out;
}

Bytes NettleRc4(const Bytes& key, const Bytes& in)
{
    arcfour_ctx c;
    arcfour_set_key(&c, key.size(), key.data());
    Bytes out(in.size());
    arcfour_crypt(&c, in.size(), out.data(), in.data());
    return out;
}

} // namespace

TEST(PdfCiphersNettle, RandomInputsAgree)
{
    std::mt19937 rng(20260812);
    for (int round = 0; round < 200; ++round) {
        Bytes data(rng() % 300);
        for (auto& b : data) b = static_cast<uint8_t>(rng());
        uint8_t digest[16];
        MD5OfBuffer(data.data(), data.size(), digest);
        EXPECT_EQ(Bytes(digest, digest + 16), NettleMd5(data)) << "length " << data.size();
        Bytes key(1 + rng() % 256);
        for (auto& b : key) b = static_cast<uint8_t>(rng());
        TqlrRC4 rc4;
        rc4.Start(key.data(), static_cast<int>(key.size()));
        Bytes out(data.size());
        rc4.Crypt(data.data(), out.data(), data.size());
        EXPECT_EQ(out, NettleRc4(key, data)) << "key length " << key.size();
    }
}

// The standard security handler computed again from nettle's MD5 and RC4,
// step by step as the published algorithm gives it.
TEST(PdfCiphersNettle, SecurityEntriesKnownAnswer)
{
    const std::string fileId = "0123456789abcdef0123456789abcdef";
    Bytes id;
    for (int i = 0; i < 16; ++i) id.push_back(static_cast<uint8_t>(std::stoi(fileId.substr(2 * i, 2), nullptr, 16)));
    auto pad = [](const std::string& pw) {
        const auto p = PadPassword(pw);
        return Bytes(p.begin(), p.end());
    };
    auto cat = [](Bytes a, const Bytes& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    auto twenty = [](const Bytes& key, Bytes data) {
        for (int i = 0; i < 20; ++i) {
            Bytes k = key;
            for (auto& b : k) b = static_cast<uint8_t>(b ^ i);
            data = NettleRc4(k, data);
        }
        return data;
    };
    struct Case {
        std::string user, owner;
        TqlrPDFEncBits flags;
    } cases[] = {{"moon", "sun", AllPermissions()}, {"moon", "", {TqlrPDFEncBit::ePrint}}, {"", "sun", {}}};
    for (const Case& c : cases) {
        TPDFSecurity sec;
        std::string owner = c.owner;
        const int32_t p = PermissionValue(c.flags);
        sec.Prepare(c.user, owner, p, fileId);
        const std::string ownerUsed = c.owner.empty() ? c.user : c.owner;
        EXPECT_EQ(owner, ownerUsed);
        Bytes h = NettleMd5(pad(ownerUsed));
        for (int i = 0; i < 50; ++i) h = NettleMd5(h);
        const Bytes o = twenty(h, pad(c.user));
        EXPECT_EQ(Bytes(sec.OwnerEntry().begin(), sec.OwnerEntry().end()), o) << c.user << "/" << c.owner;
        Bytes k = NettleMd5(cat(cat(cat(pad(c.user), o),
                                    Bytes{static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8),
                                          static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 24)}),
                                id));
        for (int i = 0; i < 50; ++i) k = NettleMd5(k);
        EXPECT_EQ(Bytes(sec.FileKey().begin(), sec.FileKey().end()), k);
        const Bytes u = cat(twenty(k, NettleMd5(cat(pad(""), id))), Bytes(16, 0));
        EXPECT_EQ(Bytes(sec.UserEntry().begin(), sec.UserEntry().end()), u);
        // The object key: MD5 of the file key, three bytes of the number, two zeros.
        const Bytes ok = NettleMd5(cat(k, Bytes{7, 0, 0, 0, 0}));
        const auto objectKey = sec.ObjectKey(7);
        EXPECT_EQ(Bytes(objectKey.begin(), objectKey.end()), ok);
    }
    // An opening parenthesis inside the entries is escaped.
    EXPECT_EQ(EscapePDFString(std::string("a(b)c\\\r\n", 8)), "a\\(b\\)c\\\\\\r\\n");
}

TEST(PdfDialog, PictureOfEachTab)
{
    // Shown and painted for a look (kept with TEC_KEEP_PDF); the tabs all
    // have their captions.
    TqlrPDFExportDialog d(nullptr);
    d.Show();
    gui::Application->ProcessMessages();
    const char* keep = std::getenv("TEC_KEEP_PDF");
    for (int i = 0; i < d.PageControl1->PageCount(); ++i) {
        d.PageControl1->SetActivePageIndex(i);
        gui::Application->ProcessMessages();
        EXPECT_FALSE(d.PageControl1->Pages(i)->Caption().empty());
        auto shot = d.GetImage();
        ASSERT_TRUE(shot);
        if (keep) {
            gui::TPngImage png;
            png.Assign(shot.get());
            png.SaveToFile((fs::path(keep) / ("pdf-dialog-" + std::to_string(i) + ".png")).string());
        }
    }
    d.Hide();
}
