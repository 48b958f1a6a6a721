// The grid's print settings: defaults, Assign, and the INI file.
#include <gtest/gtest.h>

#include <fstream>

#include "TestPaths.h"
#include "gridio/GridIOHooks.h"
#include "gridio/GridPrintSettings.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GraphicsIdents.h"

using namespace gridio;

namespace {

struct PrintSettingsFixture : testing::Test {
    gui::TForm Form{nullptr};
    grid::TExStringGrid* G;
    std::filesystem::path Dir = tectest::ScratchDir("print");
    PrintSettingsFixture()
    {
        InstallGridIOHooks();
        G = new grid::TExStringGrid(&Form);
    }
    TPrintSettings& PS() { return *PrintSettingsOf(*G); }
    std::string Ini(const std::string& body)
    {
        const std::string f = (Dir / "p.ini").string();
        std::ofstream(f) << body;
        return f;
    }
};

} // namespace

TEST_F(PrintSettingsFixture, EveryGridOwnsTheFullSettingsWithTheirDefaults)
{
    ASSERT_NE(PrintSettingsOf(*G), nullptr);
    const TPrintSettings& p = PS();
    EXPECT_EQ(p.PageNumSep, "/");
    EXPECT_EQ(p.DateFormat, "dd/mm/yyyy");
    EXPECT_EQ(p.Borders, TPrintBorders::pbSingle);
    EXPECT_TRUE(p.Centered);
    EXPECT_TRUE(p.UseDisplayFont());
    for (TPrintPosition pos : {p.Time, p.Date, p.PageNr, p.Title}) EXPECT_EQ(pos, TPrintPosition::ppNone);
    EXPECT_EQ(p.FitToPage, TFitToPage::fpNever);
    EXPECT_EQ(p.BorderColor, 0u);
    EXPECT_FALSE(p.FixedCellsAlways);
    EXPECT_EQ(p.TitleLines()->Count(), 0);
}

TEST_F(PrintSettingsFixture, AssignCopiesContentsButNotFixedCellsAlways)
{
    TPrintSettings src(G);
    src.Font()->SetSize(14);
    src.HeaderFont()->SetName("Courier New");
    src.TitleLines()->Add("first");
    src.PageNr = TPrintPosition::ppBottomCenter;
    src.FitToPage = TFitToPage::fpShrink;
    src.JobName = "job";
    src.FixedCellsAlways = true;
    TPrintSettings& dst = PS();
    gui::TFont* font = dst.Font();
    rtl::TStringList* lines = dst.TitleLines();
    dst.FixedCellsAlways = false;
    dst.Assign(&src);
    EXPECT_EQ(dst.Font(), font);  // the owned objects stay
    EXPECT_EQ(dst.TitleLines(), lines);
    EXPECT_EQ(dst.Font()->Size(), 14);
    EXPECT_EQ(dst.HeaderFont()->Name(), "Courier New");
    EXPECT_EQ(dst.TitleLines()->Strings(0), "first");
    EXPECT_EQ(dst.PageNr, TPrintPosition::ppBottomCenter);
    EXPECT_EQ(dst.JobName, "job");
    EXPECT_FALSE(dst.FixedCellsAlways);
    src.TitleLines()->Add("later");
    src.Font()->SetSize(20);
    EXPECT_EQ(dst.TitleLines()->Count(), 1);  // copied, not shared
    EXPECT_EQ(dst.Font()->Size(), 14);

    grid::TPrintSettings plain(G);
    dst.Date = TPrintPosition::ppTopLeft;
    EXPECT_THROW(dst.Assign(&plain), rtl::Exception);
    EXPECT_EQ(dst.Date, TPrintPosition::ppTopLeft);
    EXPECT_EQ(dst.Font()->Size(), 14);
}

TEST_F(PrintSettingsFixture, IniRoundTripAndReadingRules)
{
    TPrintSettings& p = PS();
    p.TitleLines()->Add("A");
    p.TitleLines()->Add("B");
    p.Borders = TPrintBorders::pbAround;
    p.Date = TPrintPosition::ppBottomRight;
    p.HeaderFont()->SetStyle({gui::TFontStyle::fsItalic});
    p.LeftSize = 150;
    p.Orientation = gui::TPrinterOrientation::poLandscape;
    const std::string f = (Dir / "saved.ini").string();
    SavePrintSettings(*G, f, "Grid");
    const std::string text = tectest::ReadText(f);
    EXPECT_NE(text.find("TitleLines=A\\nB\\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Centered=Y"), std::string::npos);
    EXPECT_NE(text.find("HeaderFontStyle=2"), std::string::npos);

    auto* h = new grid::TExStringGrid(&Form);
    LoadPrintSettings(*h, f, "Grid");
    TPrintSettings& q = *PrintSettingsOf(*h);
    EXPECT_EQ(q.TitleLines()->Count(), 2);
    EXPECT_EQ(q.TitleLines()->Strings(1), "B");
    EXPECT_EQ(q.Borders, TPrintBorders::pbAround);
    EXPECT_EQ(q.Date, TPrintPosition::ppBottomRight);
    EXPECT_TRUE(q.HeaderFont()->Style().Contains(gui::TFontStyle::fsItalic));
    EXPECT_EQ(q.LeftSize, 150);
    EXPECT_EQ(q.Orientation, gui::TPrinterOrientation::poLandscape);

    // Missing keys take the reading defaults; out-of-range ordinals follow the table.
    struct Case {
        const char* body;
        std::function<void(const TPrintSettings&)> check;
    };
    const Case cases[] = {
        {"[S]\n", [](const TPrintSettings& s) {
             EXPECT_TRUE(s.Centered);
             EXPECT_EQ(s.Borders, TPrintBorders::pbNoborder);
             EXPECT_EQ(s.ColumnSpacing, 20);
             EXPECT_EQ(s.FooterSize, 100);
             EXPECT_EQ(s.Font()->Name(), "Arial");
             EXPECT_EQ(s.Font()->Size(), 10);
             EXPECT_EQ(s.PageNumSep, "");
             EXPECT_FALSE(s.UseDisplayFont());
         }},
        {"[S]\nBorders=9\nDate=7\nFitToPage=5\nOrientation=2\nBorderStyle=7\nCentered=y\n",
         [](const TPrintSettings& s) {
             EXPECT_EQ(s.Borders, TPrintBorders::pbDouble);  // kept
             EXPECT_EQ(s.Date, TPrintPosition::ppNone);
             EXPECT_EQ(s.FitToPage, TFitToPage::fpAlways);  // kept
             EXPECT_EQ(s.Orientation, gui::TPrinterOrientation::poLandscape);  // kept
             EXPECT_EQ(s.BorderStyle, gui::TPenStyle::psDot);  // kept
             EXPECT_FALSE(s.Centered);  // only "Y" is yes
         }},
        {"[S]\nFontStyle=0\n", [](const TPrintSettings& s) {
             EXPECT_TRUE(s.Font()->Style().Contains(gui::TFontStyle::fsBold));  // styles only add
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        TPrintSettings& s = PS();
        s.Borders = TPrintBorders::pbDouble;
        s.FitToPage = TFitToPage::fpAlways;
        s.Orientation = gui::TPrinterOrientation::poLandscape;
        s.BorderStyle = gui::TPenStyle::psDot;
        s.Font()->SetStyle({gui::TFontStyle::fsBold});
        LoadPrintSettings(*G, Ini(c.body), "S");
        c.check(s);
    }
}

TEST(ColorIdents, BothWays)
{
    const std::pair<uint32_t, const char*> cases[] = {
        {0x000000, "clBlack"}, {gui::clWindow, "clWindow"}, {gui::clNone, "clNone"}, {0x00123456, "$00123456"}};
    for (const auto& [c, t] : cases) {
        EXPECT_EQ(gui::ColorToIdent(c), t);
        uint32_t back = 7;
        EXPECT_TRUE(gui::IdentToColor(t, back));
        EXPECT_EQ(back, c);
    }
    uint32_t v = 7;
    EXPECT_TRUE(gui::IdentToColor("255", v));
    EXPECT_EQ(v, 255u);
    for (const char* bad : {"", "$", "clNoSuch", "12x", "$GG"}) EXPECT_FALSE(gui::IdentToColor(bad, v)) << bad;
    EXPECT_EQ(v, 255u);
}
