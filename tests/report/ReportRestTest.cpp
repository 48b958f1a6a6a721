// Pictures drawn through DrawGraphic (transparent colour, quality and
// printing paths), the page's back picture in templates, the memo's
// code-page conversions, template inheritance and the location-table
// template.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <chrono>
#include <memory>

#include "platform/gui/PngImage.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Resources.h"
#include "platform/sys/RegistryIni.h"
#include "platform/gui/GraphicsIdents.h"
#include "platform/rtl/DateTime.h"
#include "report/qlrCustomDesigner.h"
#include "report/qlrOutputServices.h"
#include "report/qlrPropEditors.h"
#include "report/qlrVariables.h"
#include "report/qlrPreviewPages.h"
#include "report/qlrClass.h"
#include "report/qlrUtils.h"

using namespace qlr;
using gui::clWhite;

namespace {

struct Canvas {
    gui::TBitmap bmp;
    Canvas(int w, int h, gui::TColor back = gui::clBlue) : bmp(w, h)
    {
        bmp.Canvas()->Brush()->SetColor(back);
        bmp.Canvas()->FillRect(gui::TRect(0, 0, w, h));
    }
    gui::TColor At(int x, int y) { return bmp.Canvas()->Pixels(x, y); }
};

// 20 x 20 white with a red 10 x 10 square in the middle, as BMP bytes.
std::string SquareBitmapBytes()
{
    gui::TBitmap b(20, 20);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(gui::TRect(0, 0, 20, 20));
    b.Canvas()->Brush()->SetColor(gui::clRed);
    b.Canvas()->FillRect(gui::TRect(5, 5, 15, 15));
    rtl::TMemoryStream ms;
    b.SaveToStream(ms);
    return std::string(ms.View());
}

uint32_t Load(TqlrPictureView& v, const std::string& bytes)
{
    rtl::TMemoryStream ms;
    ms.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return v.LoadPictureFromStream(ms, true);
}

} // namespace

TEST(ReportDrawGraphic, TransparentColourShowsTheCanvasOnEveryPath)
{
    struct Case {
        bool transparent, highQuality, printing, png;
    } cases[] = {
        {false, false, false, false}, {true, false, false, false}, {true, true, false, false},
        {true, false, true, false},   {true, false, false, true},  {false, true, true, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.transparent << k.highQuality << k.printing << k.png);
        TqlrPictureView p(nullptr);
        ASSERT_EQ(Load(p, SquareBitmapBytes()), 0u);
        if (k.png) {
            gui::TPngImage png;
            png.Assign(p.Picture()->Graphic());
            p.Picture()->SetGraphic(&png);
        }
        p.SetTransparent(k.transparent);
        p.HightQuality = k.highQuality;
        p.SetIsPrinting(k.printing);
        p.SetBounds(10, 10, 40, 40);   // stretched twice
        Canvas c(60, 60);
        p.Draw(c.bmp.Canvas(), 1, 1, 0, 0);
        EXPECT_EQ(c.At(30, 30), gui::clRed);
        EXPECT_EQ(c.At(15, 15), k.transparent ? gui::clBlue : clWhite);
        EXPECT_EQ(c.At(45, 45), k.transparent ? gui::clBlue : clWhite);
        EXPECT_EQ(c.At(5, 5), gui::clBlue);   // outside the view
    }
}

TEST(ReportDrawGraphic, OtherTransparentColourAndNoGraphic)
{
    TqlrPictureView p(nullptr);
    ASSERT_EQ(Load(p, SquareBitmapBytes()), 0u);
    p.SetTransparent(true);
    p.SetTransparentColor(gui::clRed);
    p.SetBounds(0, 0, 20, 20);
    Canvas c(20, 20);
    p.Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(c.At(10, 10), gui::clBlue);
    EXPECT_EQ(c.At(2, 2), clWhite);

    Canvas d(20, 20);
    DrawGraphic(*d.bmp.Canvas(), gui::TRect(0, 0, 20, 20), nullptr, clWhite, true, true, true);
    EXPECT_EQ(d.At(10, 10), gui::clBlue);
}

TEST(ReportPageBackPicture, TravelsWithTheTemplateAndDrawsInThePrintableArea)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrReportPage(&report);
    page->SetName("Page1");
    page->SetLeftMargin(10);
    page->SetTopMargin(10);
    ASSERT_EQ(Load(*page->BackPicture(), SquareBitmapBytes()), 0u);
    auto* bare = new TqlrReportPage(&report);
    bare->SetName("Page2");
    report.CheckDataPage();

    rtl::TMemoryStream ms;
    report.SaveToStream(ms);
    const std::string xml(ms.View());
    EXPECT_EQ(xml.find("BackPictureData"), xml.rfind("BackPictureData"));   // Page1 only
    TqlrReport back(nullptr);
    ms.SetPosition(0);
    back.LoadFromStream(ms);
    auto* p1 = dynamic_cast<TqlrReportPage*>(back.FindObject("Page1"));
    auto* p2 = dynamic_cast<TqlrReportPage*>(back.FindObject("Page2"));
    ASSERT_TRUE(p1 && p2);
    gui::TGraphic* g = p1->BackPicture()->Picture()->Graphic();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Width(), 20);
    EXPECT_EQ(p2->BackPicture()->Picture()->Graphic(), nullptr);

    // Written again, byte for byte the same template.
    rtl::TMemoryStream again;
    back.SaveToStream(again);
    EXPECT_TRUE(std::string(again.View()) == xml);

    // Stretched over the printable area (10 mm margins at top and left).
    Canvas c(800, 1130, clWhite);
    p1->Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(c.At(400, 560), gui::clRed);
    EXPECT_EQ(c.At(60, 60), clWhite);
    EXPECT_EQ(c.At(20, 560), clWhite);
    // Not printable: left out while printing.
    Canvas d(800, 1130, gui::clBlue);
    p1->SetBackPicturePrintable(false);
    p1->SetIsPrinting(true);
    p1->Draw(d.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(d.At(400, 560), gui::clBlue);
}

TEST(ReportMemoCharset, AnsiTextAndConversionsKeepTheText)
{
    TqlrMemoView m(nullptr);
    m.Font()->SetCharset(204);   // Russian: Windows-1251
    m.SetText("\xD0\x9F\xD1\x80\xD0\xB8");   // "При"
    EXPECT_EQ(m.AnsiText(), "\xCF\xF0\xE8");
    m.SetAnsiText("\xC4\xE0");
    EXPECT_EQ(m.Text(), "\xD0\x94\xD0\xB0");   // "Да"
    EXPECT_TRUE(m.ConvertsCharset());
    m.SetUseDefaultCharset(true);
    EXPECT_FALSE(m.ConvertsCharset());
    m.SetUseDefaultCharset(false);
    m.Font()->SetCharset(1);
    EXPECT_FALSE(m.ConvertsCharset());

    // Expressions and text formats pass the font's page without losing a
    // character the page lacks (a CJK sign in a Cyrillic memo).
    TqlrReport report(nullptr);
    auto* page = new TqlrReportPage(&report);
    auto* band = new TqlrMasterData(page);
    auto* memo = new TqlrMemoView(band);
    memo->Font()->SetCharset(204);
    std::string seen;
    report.OnCalc = [&](const std::string& e) {
        seen = e;
        return rtl::Variant(std::string("\xE4\xB8\xAD \xD0\x94"));
    };
    memo->SetText("[X\xD0\x94\xE4\xB8\xAD]");
    memo->GetData();
    EXPECT_EQ(seen, "X\xD0\x94\xE4\xB8\xAD");
    EXPECT_EQ(memo->Text(), "\xE4\xB8\xAD \xD0\x94");
    // Symbol fonts have no page of their own: the text stays as it is.
    memo->Font()->SetCharset(2);
    memo->SetText("[D]");
    memo->GetData();
    EXPECT_EQ(seen, "D");
}

// ------------------------------------------------------- location table

namespace {

// A location-table template written by hand for these tests (the program
// ships its own, with the cross-tab, in app/).
std::string LocationTemplate()
{
    std::ifstream in(std::string(TEST_DATA_DIR) + "/LocationTableTemplate.xml", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void LoadText(TqlrReport& report, const std::string& text)
{
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;   // no message box
    rtl::TMemoryStream ms;
    ms.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    ms.SetPosition(0);
    report.LoadFromStream(ms);
}

std::string SavedText(TqlrReport& report)
{
    rtl::TMemoryStream ms;
    report.SaveToStream(ms);
    return std::string(ms.View());
}

// The texts of the memos of a prepared page, in order.
std::vector<std::string> PreparedTexts(TqlrReport& report, int page)
{
    std::vector<std::string> texts;
    TqlrReportPage* p = report.PreviewPages()->GetPage(page);
    if (!p) return texts;
    for (TqlrComponent* c : p->AllObjects())
        if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c)) texts.push_back(m->Text());
    return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& s)
{
    return std::find(texts.begin(), texts.end(), s) != texts.end();
}

} // namespace

TEST(ReportLocationTemplate, LoadsAndSavesByteIdentical)
{
    const std::string golden = LocationTemplate();
    ASSERT_FALSE(golden.empty());
    TqlrReport report(nullptr);
    LoadText(report, golden);
    EXPECT_EQ(report.Errors()->Count(), 0) << report.Errors()->Text();
    auto* page = dynamic_cast<TqlrReportPage*>(report.FindObject("Page1"));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_EQ(static_cast<double>(page->LeftMargin()), 15.0);
    for (const char* band : {"ReportTitle1", "MasterData1", "PageFooter1", "ReportSummary1"})
        EXPECT_NE(report.FindObject(band), nullptr) << band;
    EXPECT_EQ(dynamic_cast<TqlrMasterData*>(report.FindObject("MasterData1"))->RowCount(), 1);
    auto* line = dynamic_cast<TqlrLineView*>(report.FindObject("Line2"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Frame()->Color(), 0x800000u);
    int symbols = 0, ariel = 0;
    for (TqlrComponent* c : report.AllObjects())
        if (auto* m = dynamic_cast<TqlrMemoView*>(c)) {
            if (m->Font()->Name() == "Symbol") {
                ++symbols;
                EXPECT_EQ(m->Text(), "D");
            }
            if (m->Font()->Name() == "Arial") ++ariel;
        }
    EXPECT_EQ(symbols, 1);
    EXPECT_EQ(ariel, 16);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simMessageBoxes;
    const std::string saved = SavedText(report);
    EXPECT_TRUE(saved == golden);
    if (saved != golden)
        if (const char* dir = std::getenv("REPORT_TEST_PICTURES")) {
            rtl::TFileStream f(std::string(dir) + "/location_template_saved.xml", rtl::fmCreate);
            f.WriteBuffer(saved.data(), static_cast<int64_t>(saved.size()));
        }
}

TEST(ReportLocationTemplate, PreparesWithTheProgramsVariables)
{
    TqlrReport report(nullptr);
    LoadText(report, LocationTemplate());
    dynamic_cast<TqlrReportPage*>(report.FindObject("Page1"))->SetOrientation(TPrinterOrientation::poPortrait);
    report.Variables()->Clear();
    const std::pair<const char*, const char*> vars[] = {
        {"Title", "'Total solar eclipse of 2027 Aug 02 (O''Brien''s list)';"},
        {"Saros", "'136';"}, {"Lunation", "'334';"}, {"DeltaT", "'72.1 s';"},
        {"DeltaTDetermination", "'extrapolated';"}, {"TimeShift", "'UT + 2 h';"},
        {"Gamma", "'0.1421';"}, {"Magnitude", "'1.0790';"}, {"Notice", "'Times are local.';"},
    };
    for (const auto& [name, value] : vars) report.Variables()->SetVariable(name, rtl::Variant(std::string(value)));
    report.ReportOptions()->Name = "Total solar eclipse";
    ASSERT_TRUE(report.PrepareReport()) << report.Errors()->Text();
    ASSERT_EQ(report.PreviewPages()->GetCount(), 1);
    const std::vector<std::string> texts = PreparedTexts(report, 0);
    EXPECT_TRUE(Contains(texts, "Total solar eclipse of 2027 Aug 02 (O'Brien's list)"));
    EXPECT_TRUE(Contains(texts, "1.0790"));
    // Total pages are filled in when the page is drawn.
    EXPECT_TRUE(Contains(texts, "1 / [TotalPages#]")) << testing::PrintToString(texts);
    EXPECT_TRUE(Contains(texts, "Times are local."));
    EXPECT_TRUE(Contains(texts, "D"));

    gui::TBitmap bmp(794, 1123);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(gui::TRect(0, 0, 794, 1123));
    report.PreviewPages()->DrawPage(0, bmp.Canvas(), 1, 1, 0, 0);
    if (const char* dir = std::getenv("REPORT_TEST_PICTURES")) {
        gui::TPngImage png;
        png.Assign(&bmp);
        rtl::TFileStream f(std::string(dir) + "/location_template.png", rtl::fmCreate);
        png.SaveToStream(f);
    }
    // The navy rule under the title: the title band starts at the 10 mm
    // top margin, the rule 26.46 units below.
    const int lineY = static_cast<int>(std::lround(10 * 3.77953 + 26.46));
    bool navy = false;
    for (int dy = -1; dy <= 1; ++dy) navy = navy || bmp.Canvas()->Pixels(300, lineY + dy) == 0x800000u;
    EXPECT_TRUE(navy);
}

// ---------------------------------------------------------- inheritance

namespace {

struct TempFolder {
    std::string Path;
    TempFolder()
    {
        Path = rtl::IncludeTrailingPathDelimiter(rtl::TempDir()) + "qlrinherit" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "/";
        rtl::ForceDirectories(Path);
    }
    ~TempFolder()
    {
        for (const char* f : {"base.xml", "child.xml", "a.xml", "b.xml", "own.xml"}) rtl::DeleteFile(Path + f);
        rtl::RemoveDir(Path);
    }
};

TqlrMemoView* AddMemo(TqlrComponent* parent, const std::string& name, const std::string& text)
{
    auto* m = new TqlrMemoView(parent);
    m->SetName(name);
    m->SetText(text);
    m->SetBounds(0, 0, 100, 20);
    return m;
}

// A base template: Page1 with a title band holding Memo1 "base".
void WriteBase(const std::string& file)
{
    TqlrReport base(nullptr);
    auto* page = new TqlrReportPage(&base);
    page->SetName("Page1");
    auto* title = new TqlrReportTitle(page);
    title->SetName("ReportTitle1");
    AddMemo(title, "Memo1", "base");
    base.ScriptText()->Clear();
    base.ScriptText()->Add("// base script");
    base.SaveToFile(file);
}

// A report of its own: Page1 with a master band holding Memo1 "own" and
// Memo9 "mine".
void BuildOwn(TqlrReport& r)
{
    r.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    auto* page = new TqlrReportPage(&r);
    page->SetName("Page1");
    auto* band = new TqlrMasterData(page);
    band->SetName("MasterData1");
    AddMemo(band, "Memo1", "own");
    AddMemo(band, "Memo9", "mine");
}

std::string TextOf(TqlrReport& r, const std::string& name)
{
    auto* m = dynamic_cast<TqlrCustomMemoView*>(r.FindObject(name));
    return m ? m->Text() : std::string("<none>");
}

struct ScriptedServices : IqlrOutputServices {
    int answer = 1, asked = 0;
    bool InputPassword(std::string&) override { return false; }
    bool LookupPaperSize(int code, long double& w, long double& h) override
    {
        if (code != 9) return false;
        w = 210, h = 297;
        return true;
    }
    TqlrPrinterDefaults CurrentPrinterDefaults() override { return {}; }
    int AskInheritDuplicates() override
    {
        ++asked;
        return answer;
    }
};

} // namespace

TEST(ReportInheritance, DuplicatesDeletedOrRenamedAndOnlyDifferencesSaved)
{
    TempFolder dir;
    WriteBase(dir.Path + "base.xml");

    {   // Delete duplicates: the template's Memo1 wins.
        TqlrReport r(nullptr);
        BuildOwn(r);
        ASSERT_TRUE(r.InheritFromTemplate(dir.Path + "base.xml", TqlrInheriteMode::imDelete));
        EXPECT_EQ(r.ParentReport(), dir.Path + "base.xml");   // no file of its own: kept as given
        EXPECT_EQ(TextOf(r, "Memo1"), "base");
        EXPECT_EQ(TextOf(r, "Memo9"), "mine");
        EXPECT_TRUE(r.FindObject("Memo1")->IsAncestor());
        EXPECT_FALSE(r.FindObject("Memo9")->IsAncestor());
        EXPECT_NE(r.FindObject("MasterData1"), nullptr);
        EXPECT_NE(r.ScriptText()->IndexOf("**********Script from parent report**********"), -1);
        EXPECT_NE(r.ScriptText()->IndexOf("// base script"), -1);
        EXPECT_EQ(r.ScriptText()->Strings(r.ScriptText()->Count() - 1), "}");

        // Saved as differences: inherited elements, the base memo's text
        // not repeated; read back over the ancestor.
        r.SaveToFile(dir.Path + "child.xml");
        const std::string xml = rtl::ReadFileBytes(dir.Path + "child.xml");
        EXPECT_NE(xml.find("<inherited Name=\"Memo1\""), std::string::npos) << xml;
        EXPECT_EQ(xml.find("Text=\"base\""), std::string::npos) << xml;
        EXPECT_NE(xml.find("ParentReport=\"" + dir.Path + "base.xml\""), std::string::npos);
        TqlrReport back(nullptr);
        back.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        ASSERT_TRUE(back.LoadFromFile(dir.Path + "child.xml"));
        EXPECT_EQ(back.Errors()->Count(), 0) << back.Errors()->Text();
        EXPECT_EQ(TextOf(back, "Memo1"), "base");
        EXPECT_EQ(TextOf(back, "Memo9"), "mine");
        EXPECT_NE(back.ParentReportObject(), nullptr);
        EXPECT_TRUE(back.FindObject("ReportTitle1")->IsAncestor());
        // A change of the inherited memo is what the child keeps.
        dynamic_cast<TqlrMemoView*>(back.FindObject("Memo1"))->SetText("changed");
        back.SaveToFile(dir.Path + "child.xml");
        TqlrReport again(nullptr);
        again.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        again.LoadFromFile(dir.Path + "child.xml");
        EXPECT_EQ(TextOf(again, "Memo1"), "changed");
        // Forgetting the parent clears the marks.
        again.SetParentReport("");
        EXPECT_FALSE(again.FindObject("Memo1")->IsAncestor());
        EXPECT_EQ(again.ParentReportObject(), nullptr);
    }
    {   // Rename duplicates: both memos stay.
        TqlrReport r(nullptr);
        BuildOwn(r);
        ASSERT_TRUE(r.InheritFromTemplate(dir.Path + "base.xml", TqlrInheriteMode::imRename));
        EXPECT_EQ(TextOf(r, "Memo1"), "base");
        int own = 0;
        for (TqlrComponent* c : r.AllObjects())
            if (auto* m = dynamic_cast<TqlrMemoView*>(c); m && m->Text() == "own") {
                ++own;
                EXPECT_NE(m->Name(), "Memo1");
            }
        EXPECT_EQ(own, 1);
    }
}

TEST(ReportInheritance, AskingCancelOwnFileAndCycles)
{
    TempFolder dir;
    WriteBase(dir.Path + "base.xml");
    auto* services = new ScriptedServices;
    auto previous = RegisterOutputServices(std::unique_ptr<IqlrOutputServices>(services));

    // imDefault asks; Cancel leaves the report as it was.
    services->answer = 0;
    TqlrReport r(nullptr);
    BuildOwn(r);
    EXPECT_FALSE(r.InheritFromTemplate(dir.Path + "base.xml"));
    EXPECT_EQ(services->asked, 1);
    EXPECT_EQ(TextOf(r, "Memo1"), "own");
    EXPECT_EQ(r.FindObject("ReportTitle1"), nullptr);
    EXPECT_TRUE(r.ParentReport().empty());
    // "Rename duplicates".
    services->answer = 2;
    EXPECT_TRUE(r.InheritFromTemplate(dir.Path + "base.xml"));
    EXPECT_EQ(services->asked, 2);
    EXPECT_EQ(TextOf(r, "Memo1"), "base");

    // Its own file: False, nothing changes.
    TqlrReport own(nullptr);
    BuildOwn(own);
    own.SaveToFile(dir.Path + "own.xml");
    own.LoadFromFile(dir.Path + "own.xml");
    EXPECT_FALSE(own.InheritFromTemplate(dir.Path + "own.xml"));
    EXPECT_TRUE(own.ParentReport().empty());
    EXPECT_EQ(TextOf(own, "Memo1"), "own");

    // Two templates inheriting from each other load once each, no hang;
    // the parent path is relative to the report's own file.
    {
        TqlrReport a(nullptr);
        BuildOwn(a);
        a.SaveToFile(dir.Path + "a.xml");
        TqlrReport b(nullptr);
        b.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        b.LoadFromFile(dir.Path + "a.xml");
        b.SetParentReport("a.xml");
        b.SaveToFile(dir.Path + "b.xml");
        TqlrReport a2(nullptr);
        a2.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        a2.LoadFromFile(dir.Path + "a.xml");
        a2.SetParentReport("b.xml");
        a2.SaveToFile(dir.Path + "a.xml");
    }
    TqlrReport cyc(nullptr);
    cyc.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    EXPECT_TRUE(cyc.LoadFromFile(dir.Path + "a.xml"));
    EXPECT_NE(cyc.Errors()->Text().find("Circular inheritance"), std::string::npos) << cyc.Errors()->Text();

    RegisterOutputServices(std::move(previous));
}

// ------------------------------------------------------------ hooks

namespace {

// "RV" and the bytes reversed.
struct ReversingCompressor : TqlrCustomCompressor {
    using TqlrCustomCompressor::TqlrCustomCompressor;
    static inline bool fail = false;
    bool Decompress(rtl::TStream& source, rtl::TStream& output) override
    {
        if (fail) throw rtl::Exception("broken");
        const int64_t p = source.Position();
        std::string all(static_cast<std::size_t>(source.Size() - p), '\0');
        source.ReadBuffer(all.data(), static_cast<int64_t>(all.size()));
        if (all.rfind("RV", 0) != 0) {
            source.SetPosition(p);
            return false;
        }
        std::string plain(all.rbegin(), all.rend() - 2);
        output.WriteBuffer(plain.data(), static_cast<int64_t>(plain.size()));
        return true;
    }
    void Compress(rtl::TStream& plain, rtl::TStream& dest) override
    {
        std::string all(static_cast<std::size_t>(plain.Size()), '\0');
        plain.SetPosition(0);
        plain.ReadBuffer(all.data(), static_cast<int64_t>(all.size()));
        std::string out = "RV" + std::string(all.rbegin(), all.rend());
        dest.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
    }
};

// "XK" and the bytes XORed with the key.
struct XorCrypter : TqlrCustomCrypter {
    using TqlrCustomCrypter::TqlrCustomCrypter;
    static inline std::string lastKey;
    static std::string Apply(std::string s, const std::string& key)
    {
        for (std::size_t i = 0; i < s.size() && !key.empty(); ++i) s[i] = static_cast<char>(s[i] ^ key[i % key.size()]);
        return s;
    }
    bool Decrypt(rtl::TStream& source, rtl::TStream& output, const std::string& key) override
    {
        lastKey = key;
        const int64_t p = source.Position();
        std::string all(static_cast<std::size_t>(source.Size() - p), '\0');
        source.ReadBuffer(all.data(), static_cast<int64_t>(all.size()));
        if (all.rfind("XK", 0) != 0) {
            source.SetPosition(p);
            return false;
        }
        std::string plain = Apply(all.substr(2), key);
        output.WriteBuffer(plain.data(), static_cast<int64_t>(plain.size()));
        return true;
    }
    void Encrypt(rtl::TStream& plain, rtl::TStream& dest, const std::string& key) override
    {
        std::string all(static_cast<std::size_t>(plain.Size()), '\0');
        plain.SetPosition(0);
        plain.ReadBuffer(all.data(), static_cast<int64_t>(all.size()));
        std::string out = "XK" + Apply(all, key);
        dest.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
    }
};

} // namespace

TEST(ReportTemplateHooks, CompressorAndEncryptorRoundTripAndFailures)
{
    auto oldCompressor = SetCompressorClass([](TqlrReport* r) { return std::make_unique<ReversingCompressor>(r); });
    auto oldCrypter = SetCrypterClass([](TqlrReport* r) { return std::make_unique<XorCrypter>(r); });

    TqlrReport r(nullptr);
    BuildOwn(r);
    // Not compressed, no password: plain XML even with both registered.
    std::string plain = SavedText(r);
    EXPECT_EQ(plain.rfind("<?xml", 0), 0u);
    r.ReportOptions()->Compressed = true;
    std::string packed = SavedText(r);
    EXPECT_EQ(packed.rfind("RV", 0), 0u);
    TqlrReport back(nullptr);
    LoadText(back, packed);
    EXPECT_EQ(TextOf(back, "Memo9"), "mine");

    // Password and compression: encrypted with the password, then
    // compressed; loads with the password known in this run.
    r.ReportOptions()->Password = "key";
    std::string both = SavedText(r);
    EXPECT_EQ(both.rfind("RV", 0), 0u);
    TqlrReport both2(nullptr);
    LoadText(both2, both);
    EXPECT_EQ(XorCrypter::lastKey, "key");
    EXPECT_EQ(TextOf(both2, "Memo9"), "mine");
    EXPECT_EQ(both2.ReportOptions()->Password, "key");

    // A failing compressor: the error is recorded and nothing is read.
    ReversingCompressor::fail = true;
    TqlrReport broken(nullptr);
    LoadText(broken, packed);
    ReversingCompressor::fail = false;
    EXPECT_NE(broken.Errors()->IndexOf("Stream decompress error"), -1);
    EXPECT_EQ(broken.FindObject("Memo9"), nullptr);

    SetCompressorClass(std::move(oldCompressor));
    SetCrypterClass(std::move(oldCrypter));
    // None registered: a compressed-flag template is plain XML.
    EXPECT_EQ(SavedText(r).rfind("<?xml", 0), 0u);
}

TEST(ReportStoredConnections, ConnectionNameReadsTheRegistryStandIn)
{
    TempFolder dir;
    const std::string store = dir.Path + "registry.ini";
    sys::TRegistryIniFile::SetStoreFileName(store);
    {
        sys::TRegistryIniFile reg("Software\\Quillory");
        reg.WriteString("Connections", "Eclipses", "db=one");
        reg.WriteString("ConnectionsFIB", "Eclipses", "db=two");
        reg.WriteString("Connections", "Only", "db=three");
    }
    TqlrReport r(nullptr);
    std::vector<std::string> seen;
    r.ReportOptions()->SetConnectionName("Eclipses");   // no handler: stored only
    EXPECT_EQ(r.ReportOptions()->ConnectionName, "Eclipses");
    r.OnSetConnection = [&](const std::string& s) { seen.push_back(s); };
    r.ReportOptions()->SetConnectionName("Eclipses");
    r.ReportOptions()->SetConnectionName("Only");
    r.ReportOptions()->SetConnectionName("Missing");
    r.ReportOptions()->SetConnectionName("");
    EXPECT_EQ(seen, (std::vector<std::string>{"db=one", "db=two", "db=three"}));
    // A template naming a connection asks for it while it is read.
    seen.clear();
    LoadText(r, "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
                "<TqlrReport ReportOptions.ConnectionName=\"Only\"/>\r\n");
    EXPECT_EQ(seen, (std::vector<std::string>{"db=three"}));
    sys::TRegistryIniFile::SetStoreFileName("");
    rtl::DeleteFile(store);
}

// ------------------------------------------------------ property editors

namespace {

template <typename E>
std::unique_ptr<E> EditorOn(rtl::TObject* obj, const char* prop)
{
    auto e = std::make_unique<E>(nullptr);
    e->AddObject(obj, rtl::GetPropInfo(obj, prop));
    return e;
}

} // namespace

TEST(ReportPropertyEditors, ValueTextsListsAndSetting)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrReportPage(&report);
    auto* band = new TqlrMasterData(page);
    auto* m1 = AddMemo(band, "Memo1", "");
    auto* m2 = AddMemo(band, "Memo2", "");

    auto color = EditorOn<TqlrColorProperty>(m1, "Color");
    color->AddObject(m2, rtl::GetPropInfo(m2, "Color"));
    m1->SetColor(gui::clRed);
    EXPECT_EQ(color->GetValue(), "clRed");
    color->SetValue("clNavy");
    EXPECT_EQ(m1->Color(), gui::clNavy);
    EXPECT_EQ(m2->Color(), gui::clNavy);   // every edited object
    color->SetValue("12345");
    EXPECT_EQ(color->GetValue(), "12345");
    color->GetValues();
    EXPECT_EQ(color->Values().IndexOf("clBtnFace") >= 0, true);
    EXPECT_TRUE(color->GetAttributes().Contains(TqlrPropertyAttribute::paOwnerDraw));

    auto charset = EditorOn<TqlrFontCharsetProperty>(m1->Font(), "Charset");
    charset->SetValue("RUSSIAN_CHARSET");
    EXPECT_EQ(m1->Font()->Charset(), 204);
    EXPECT_EQ(charset->GetValue(), "RUSSIAN_CHARSET");
    charset->SetValue("3");
    EXPECT_EQ(charset->GetValue(), "3");
    charset->GetValues();
    EXPECT_TRUE(charset->Values().Sorted());
    EXPECT_EQ(charset->Values().Count(), 19);

    auto name = EditorOn<TqlrFontNameProperty>(m1->Font(), "Name");
    name->SetValue("Arial");
    EXPECT_EQ(name->GetValue(), "Arial");
    EXPECT_EQ(m1->Font()->Name(), "Arial");

    auto font = EditorOn<TqlrFontProperty>(m1, "Font");
    EXPECT_EQ(font->GetValue(), "(TFont)");
    EXPECT_TRUE(font->GetAttributes().Contains(TqlrPropertyAttribute::paReadOnly));

    auto integer = EditorOn<TqlrIntegerProperty>(m1->Font(), "Size");
    integer->SetValue(" 14 ");
    EXPECT_EQ(integer->GetValue(), "14");
    EXPECT_THROW(integer->SetValue("abc"), rtl::Exception);
    EXPECT_TRUE(EditorOn<TqlrNameProperty>(m1, "Name")->GetAttributes().Empty());
}

TEST(ReportPropertyEditors, ModalResultsShortcutsCursorsAndDates)
{
    // Stand-in objects with properties of the kinds the editors edit.
    TqlrReport report(nullptr);
    auto* page = new TqlrReportPage(&report);
    auto* band = new TqlrMasterData(page);
    auto* memo = AddMemo(band, "Memo1", "");

    // Integer properties stand in for modal results and shortcuts.
    struct M { const char* in; const char* out; } modal_cases[] = {
        {"mrok", "mrOk"}, {"", "mrNone"}, {"10", "mrYesToAll"}, {"11", "11"}, {"mrYesToAll", "mrYesToAll"}};
    auto size = EditorOn<TqlrModalResultProperty>(memo->Font(), "Size");
    for (const M& c : modal_cases) {
        size->SetValue(c.in);
        EXPECT_EQ(size->GetValue(), c.out) << c.in;
    }
    size->GetValues();
    EXPECT_EQ(size->Values().Count(), 11);

    auto shortcut = EditorOn<TqlrShortCutProperty>(memo->Font(), "Size");
    shortcut->SetValue("(none)");
    EXPECT_EQ(shortcut->GetValue(), "(None)");
    shortcut->SetValue("Ctrl+B");
    EXPECT_EQ(shortcut->GetValue(), "Ctrl+B");
    shortcut->GetValues();
    EXPECT_EQ(shortcut->Values().Count(), 109);
    EXPECT_EQ(shortcut->Values()[1], "Ctrl+A");
    EXPECT_EQ(shortcut->Values()[108], "Shift+Alt+BkSp");
    // Edit steps to the next shortcut, and from the last to the first.
    EXPECT_TRUE(shortcut->Edit());
    EXPECT_EQ(shortcut->GetValue(), "Ctrl+C");
    shortcut->SetValue("Shift+Alt+BkSp");
    EXPECT_TRUE(shortcut->Edit());
    EXPECT_EQ(shortcut->GetValue(), "(None)");

    auto cursor = EditorOn<TqlrCursorProperty>(memo, "Cursor");
    cursor->SetValue("crHandPoint");
    EXPECT_EQ(cursor->GetValue(), "crHandPoint");
    cursor->SetValue("-99");
    EXPECT_EQ(cursor->GetValue(), "-99");

    // A date-time property: the report options' creation date.
    TqlrReportOptions* options = report.ReportOptions();
    auto dt = EditorOn<TqlrDateTimeProperty>(options, "CreateDate");
    dt->SetValue("2010-12-31 13:45:10");
    EXPECT_EQ(dt->GetValue(), rtl::DateTimeToStr(rtl::EncodeDate(2010, 12, 31) + rtl::EncodeTime(13, 45, 10, 0)));
    dt->SetValue("");
    EXPECT_EQ(options->CreateDate, 0.0);
    EXPECT_EQ(dt->GetValue(), "");
    EXPECT_THROW(dt->SetValue("2010-13-40"), rtl::Exception);
    auto date = EditorOn<TqlrDateProperty>(options, "CreateDate");
    date->SetValue("2010-12-31");
    EXPECT_EQ(options->CreateDate, static_cast<double>(rtl::EncodeDate(2010, 12, 31)));
    auto time = EditorOn<TqlrTimeProperty>(options, "LastChange");
    time->SetValue("06:30");
    EXPECT_EQ(time->GetValue(), "06:30:00");
    EXPECT_THROW(time->SetValue("25:00"), rtl::Exception);
}

TEST(ReportPropertyEditors, StartUpRegistrationsAnswerTheRegistry)
{
    TqlrReport report(nullptr);   // registers the standard editors once
    TqlrPropertyEditorCollection& reg = GetPropertyEditorCollection();
    auto editorFor = [&](const rtl::TTypeInfo* type, rtl::TObject* obj, const char* name) {
        int i = reg.GetPropertyEditor(type, obj, name);
        return i < 0 ? std::string() : reg.GetItem(i).Editor;
    };
    auto* memo = new TqlrMemoView(nullptr);
    std::unique_ptr<TqlrMemoView> own(memo);
    EXPECT_EQ(editorFor(gui::TypeInfoColor(), memo, "Color"), "TqlrColorProperty");
    EXPECT_EQ(editorFor(gui::TypeInfoCursor(), memo, "Cursor"), "TqlrCursorProperty");
    EXPECT_EQ(editorFor(TypeInfoComponentName(), memo, "Name"), "TqlrNameProperty");
    EXPECT_EQ(editorFor(rtl::TypeInfoAnsiString(), memo->Font(), "Name"), "TqlrFontNameProperty");
    EXPECT_EQ(editorFor(rtl::TypeInfoInteger(), memo->Font(), "Charset"), "TqlrFontCharsetProperty");
    EXPECT_EQ(editorFor(rtl::TypeInfoDateTime(), memo, "Anything"), "TqlrDateTimeProperty");
    EXPECT_EQ(editorFor(TypeInfoTime(), memo, "Anything"), "TqlrTimeProperty");
    EXPECT_EQ(editorFor(TypeInfoShortCut(), memo, "ShortCut"), "TqlrShortCutProperty");
    auto created = reg.GetItem(reg.GetPropertyEditor(TypeInfoModalResult(), memo, "ModalResult")).Create(nullptr);
    EXPECT_NE(dynamic_cast<TqlrModalResultProperty*>(created.get()), nullptr);
}

// ------------------------------------------------------------- designer

namespace {

struct CountingDesigner : TqlrCustomDesigner {
    using TqlrCustomDesigner::TqlrCustomDesigner;
    int updates = 0;
    bool InsertExpression(std::string&) override { return false; }
    void Lock() override {}
    void ReloadPages(int) override {}
    void ReloadReport() override {}
    void UpdateDataTree() override { ++updates; }
    void UpdatePage() override {}
};

} // namespace

TEST(ReportDesignerBase, RemovedDataSetRefreshesTheDataTreeAndModifiedMarksTheReport)
{
    TqlrReport report(nullptr);
    report.CheckDataPage();
    {
        CountingDesigner designer(nullptr, &report, false);
        report.SetDesigner(&designer);
        auto* ds = new TqlrUserDataSet(report.FindObject("Data"));
        ds->SetName("Rows");
        report.DataSets()->Add(ds);
        delete ds;
        EXPECT_EQ(designer.updates, 1);
        EXPECT_EQ(report.DataSets()->Count(), 0);   // no entry left pointing at the freed set
        EXPECT_FALSE(report.Modified);
        designer.SetModified(true);
        EXPECT_TRUE(report.Modified);
    }
    EXPECT_EQ(report.Designer(), nullptr);   // the designer unlinked itself
}

TEST(ReportPropertyEditors, ColourItemsAreDrawnWithTheirColour)
{
    TqlrMemoView memo(nullptr);
    memo.SetColor(gui::clNavy);
    auto e = EditorOn<TqlrColorProperty>(&memo, "Color");
    e->SetItemHeight(20);
    e->GetValues();
    gui::TBitmap bmp(200, 20);
    gui::TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    e->OnDrawLBItem(c, e->Values().IndexOf("clRed"), gui::TRect(0, 0, 200, 20));
    EXPECT_EQ(c->Pixels(10, 10), gui::clRed);
    EXPECT_EQ(c->Pixels(30, 10) == gui::clRed, false);
    EXPECT_EQ(c->Pen()->Color(), 0x808080u);

    c->Brush()->SetColor(clWhite);
    c->FillRect(gui::TRect(0, 0, 200, 20));
    e->OnDrawItem(c, gui::TRect(0, 0, 200, 20));
    EXPECT_EQ(c->Pixels(7, 8), gui::clNavy);
    EXPECT_EQ(c->Pixels(7, 18), clWhite);
}

TEST(ReportPageBackPicture, ReachesThePreparedPages)
{
    TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    auto* page = new TqlrReportPage(&report);
    page->SetName("Page1");
    ASSERT_EQ(Load(*page->BackPicture(), SquareBitmapBytes()), 0u);
    auto* title = new TqlrReportTitle(page);
    title->SetName("ReportTitle1");
    title->SetHeight(20);
    ASSERT_TRUE(report.PrepareReport()) << report.Errors()->Text();
    ASSERT_EQ(report.PreviewPages()->GetCount(), 1);
    gui::TBitmap bmp(794, 1123);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(gui::TRect(0, 0, 794, 1123));
    report.PreviewPages()->DrawPage(0, bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(bmp.Canvas()->Pixels(397, 561), gui::clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(20, 20), clWhite);
}
