// Characters the chosen font lacks: a line cut into pieces by the program
// that draws them, glyph 0 left out of the text map, and a report with
// place names in six scripts exported and read back with poppler's tools
// (text, fonts, rendered pixels) and a second renderer.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "platform/gui/FontService.h"
#include "platform/gui/PngImage.h"
#include "report/qlrClass.h"
#include "report/qlrClassPages.h"
#include "reportout/qlrExportPDF.h"

using namespace qlr;
namespace fs = std::filesystem;

namespace {

std::string Shell(const std::string& cmd, int* code = nullptr)
{
    std::string text;
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return text;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
    const int status = pclose(p);
    if (code) *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return text;
}

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

// The family of each piece ("" for the font's own) and its text.
std::vector<std::pair<std::string, std::u16string>> Pieces(const std::u16string& line)
{
    gui::TFont arial;
    arial.SetName("Arial");
    TqlrPDFFont font(arial);
    std::vector<std::pair<std::string, std::u16string>> out;
    for (const auto& run : font.SplitRuns(line)) out.emplace_back(run.Program ? run.Program->FamilyName() : "", run.Text);
    return out;
}

bool CanDraw(char32_t c) { return gui::TFontProgram::FindFallback("Arial", false, false, c) != nullptr; }

} // namespace

TEST(PdfFallback, LineIsCutWhereTheDrawingProgramChanges)
{
    if (!CanDraw(U'\u0627')) GTEST_SKIP() << "no font with Arabic letters";
    const std::string arabic = gui::TFontProgram::FindFallback("Arial", false, false, U'\u0627')->FamilyName();
    using P = std::vector<std::pair<std::string, std::u16string>>;
    struct Case {
        std::u16string line;
        P pieces;
    };
    const Case cases[] = {
        // Letters the font has stay whole, right-to-left ones included.
        {u"Jerusalem \u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DD", {{"", u"Jerusalem \u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DD"}}},
        // An Arabic phrase is one piece with its blank; the blank before it
        // and the digits after it are the font's own.
        {u"Cairo \u0627\u0644\u0642\u0627\u0647\u0631\u0629 \u0627\u0644\u0643\u0628\u0631\u0649 2027",
         {{"", u"Cairo "},
          {arabic, u"\u0627\u0644\u0642\u0627\u0647\u0631\u0629 \u0627\u0644\u0643\u0628\u0631\u0649 "},
          {"", u"2027"}}},
        {u"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Pieces(c.line), c.pieces);

    // Symbol text is converted as a whole by its own font.
    gui::TFont symbol;
    symbol.SetName("Symbol");
    TqlrPDFFont sym(symbol);
    ASSERT_EQ(sym.SplitRuns(u"abg").size(), 1u);
    EXPECT_EQ(sym.SplitRuns(u"abg")[0].Program, nullptr);

    if (CanDraw(U'\u65E5')) {
        const auto p = Pieces(u"CJK: \u65E5\u98DF");
        ASSERT_EQ(p.size(), 2u);
        EXPECT_EQ(p[0], (std::pair<std::string, std::u16string>{"", u"CJK: "}));
        EXPECT_NE(p[1].first, "");
        EXPECT_EQ(p[1].second, u"\u65E5\u98DF");
    }
}

TEST(PdfFallback, GlyphZeroAndUnknownCharactersAreNotMapped)
{
    const std::string map = ToUnicodeMap("X", {0, 5, 7, 0}, {u'A', u'B', 0, u'C'});
    EXPECT_NE(map.find("1 beginbfchar\r\n<0005> <0042>\r\nendbfchar"), std::string::npos) << map;
    EXPECT_EQ(map.find("<0000> <0041>"), std::string::npos);
    EXPECT_EQ(map.find("<0000> <0043>"), std::string::npos);
    // Nothing to map: no block at all.
    EXPECT_EQ(ToUnicodeMap("X", {0}, {u'A'}).find("beginbfchar"), std::string::npos);
}

namespace {

// Place names of the location table in six scripts.
struct Place {
    const char* name;   // UTF-8
    char32_t probe;     // a letter the name needs a font for
};
const Place kPlaces[] = {
    {"London", U'L'},
    {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", U'\u0391'},                          // Athens
    {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", U'\u041C'},                  // Moscow
    {"\xD7\x99\xD7\xA8\xD7\x95\xD7\xA9\xD7\x9C\xD7\x99\xD7\x9D", U'\u05D9'},          // Jerusalem
    {"\xD8\xA7\xD9\x84\xD9\x82\xD8\xA7\xD9\x87\xD8\xB1\xD8\xA9", U'\u0627'},          // Cairo
    {"\xE6\x9D\xB1\xE4\xBA\xAC", U'\u6771'},                                          // Tokyo
};

} // namespace

TEST(PdfFallback, PlaceNamesInSixScriptsShowAndExtract)
{
    if (!Have("pdftotext") || !Have("pdftoppm")) GTEST_SKIP() << "poppler tools missing";
    const fs::path dir = fs::temp_directory_path() / ("tec_pdf_fallback_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    auto* page = new TqlrReportPage(&report);
    page->SetName("Page1");
    page->SetPaperSize(9);
    for (auto set : {&TqlrReportPage::SetLeftMargin, &TqlrReportPage::SetRightMargin, &TqlrReportPage::SetTopMargin,
                     &TqlrReportPage::SetBottomMargin})
        (page->*set)(10);
    auto* band = new TqlrReportTitle(page);
    band->SetName("ReportTitle1");
    band->SetBounds(0, 0, 700, 600);
    std::vector<const Place*> shown;
    for (const Place& p : kPlaces) {
        if (!CanDraw(p.probe) && !gui::TFontProgram::Find("Arial", false, false)->GlyphIndex(p.probe)) continue;
        auto* m = new TqlrMemoView(band);
        m->SetName("Place" + std::to_string(shown.size()));
        m->SetBounds(0, 40 * static_cast<long double>(shown.size()), 300, 30);
        m->SetText(p.name);
        m->Font()->SetName("Arial");
        m->Font()->SetSize(16);
        shown.push_back(&p);
    }
    ASSERT_TRUE(report.PrepareReport());
    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    pdf.ShowDialog = false;
    pdf.EmbeddedFonts = true;
    pdf.FileName = (dir / "places.pdf").string();
    ASSERT_TRUE(report.Export(&pdf));

    int code = -1;
    const std::string text = Shell("pdftotext '" + pdf.FileName + "' -", &code);
    ASSERT_EQ(code, 0) << text;
    for (const Place* p : shown) EXPECT_NE(text.find(p->name), std::string::npos) << p->name << " in\n" << text;

    // Every name inks its own box in both renderers: the glyphs are the
    // letters, not the empty boxes of a font that lacks them.
    std::vector<std::string> pictures;
    const std::string base = (dir / "places").string();
    ASSERT_EQ(system(("pdftoppm -r 72 -png -singlefile '" + pdf.FileName + "' '" + base + "'").c_str()), 0);
    pictures.push_back(base + ".png");
    if (Have("mutool")) {
        ASSERT_EQ(system(("mutool draw -q -r 72 -F png -o '" + base + "-mu.png' '" + pdf.FileName + "' 1").c_str()), 0);
        pictures.push_back(base + "-mu.png");
    }
    for (const std::string& file : pictures) {
        gui::TPngImage png;
        png.LoadFromFile(file);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            // Ink of the name's box; an empty-box glyph leaves 70% of its
            // cells untouched, letters of 16 pt cover far more columns.
            int inkColumns = 0;
            for (int x = 0; x < 225; ++x) {
                bool ink = false;
                for (int y = 0; y < 22 && !ink; ++y)
                    ink = (png.Pixels(static_cast<int>(28.35 + x), static_cast<int>(28.35 + 30 * i + y)) & 0xFF) < 0x80;
                inkColumns += ink;
            }
            EXPECT_GT(inkColumns, 15) << shown[i]->name << " in " << file;
        }
    }
    if (const char* keep = std::getenv("TEC_KEEP_PDF"))
        for (const auto& e : fs::directory_iterator(dir))
            fs::copy_file(e.path(), fs::path(keep) / e.path().filename(), fs::copy_options::overwrite_existing);
    fs::remove_all(dir);
}

TEST(PdfFallback, AlignedLinesMeasureEveryPieceInItsOwnProgram)
{
    if (!Have("pdftotext")) GTEST_SKIP() << "poppler tools missing";
    if (!CanDraw(U'\u65E5')) GTEST_SKIP() << "no font with CJK letters";
    const fs::path dir = fs::temp_directory_path() / ("tec_pdf_align_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    auto* page = new TqlrReportPage(&report);
    page->SetName("Page1");
    page->SetPaperSize(9);
    for (auto set : {&TqlrReportPage::SetLeftMargin, &TqlrReportPage::SetRightMargin, &TqlrReportPage::SetTopMargin,
                     &TqlrReportPage::SetBottomMargin})
        (page->*set)(0);
    auto* band = new TqlrReportTitle(page);
    band->SetName("ReportTitle1");
    band->SetBounds(0, 0, 700, 200);
    const TqlrHAlign aligns[] = {TqlrHAlign::haRight, TqlrHAlign::haCenter};
    for (int i = 0; i < 2; ++i) {
        auto* m = new TqlrMemoView(band);
        m->SetName("Aligned" + std::to_string(i));
        m->SetBounds(100, 20 + 60 * i, 400, 40);
        // Mostly letters of the fallback program, which are far wider.
        m->SetText("Eclipse \xE6\x97\xA5\xE9\xA3\x9F\xE6\x97\xA5\xE9\xA3\x9F\xE6\x97\xA5\xE9\xA3\x9F");
        m->Font()->SetName("Arial");
        m->Font()->SetSize(16);
        m->SetHAlign(aligns[i]);
    }
    ASSERT_TRUE(report.PrepareReport());
    TqlrPDFExport pdf(TqlrCustomExportFilter::NoRegister{});
    pdf.ShowDialog = false;
    pdf.EmbeddedFonts = true;
    pdf.FileName = (dir / "aligned.pdf").string();
    ASSERT_TRUE(report.Export(&pdf));

    // The words' boxes as the viewer places the glyphs (points).
    int code = -1;
    const std::string html = Shell("pdftotext -bbox '" + pdf.FileName + "' -", &code);
    ASSERT_EQ(code, 0) << html;
    std::vector<std::pair<double, double>> words;   // xMin, xMax
    const std::regex re("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator(); ++it)
        words.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
    ASSERT_EQ(words.size(), 4u) << html;
    // The box less the frame's shadow width (4 units, drawn or not) holds
    // the text.  Right: the line ends half a gap (1 unit) inside it, plus a
    // hundredth of the size; centre: its middle is the middle of the box
    // less the gaps (a gap and a half on the left, half on the right).
    EXPECT_NEAR(words[1].second, (100 + 396 - 1 + 0.16) * 0.75, 0.5) << html;
    EXPECT_NEAR((words[2].first + words[3].second) / 2, (100 + 3 + 0.16 + 392.0 / 2) * 0.75, 0.5) << html;
    fs::remove_all(dir);
}
