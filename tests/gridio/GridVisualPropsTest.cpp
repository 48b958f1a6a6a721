// The visual properties file: golden lines of a configured grid, reading
// rules, and the errors.
#include <gtest/gtest.h>

#include <fstream>

#include "TestPaths.h"
#include "gridio/GridIOHooks.h"
#include "gridio/GridVisualProps.h"
#include "platform/gui/Forms.h"

using namespace gridio;

namespace {

struct VisualFixture : testing::Test {
    gui::TForm Form{nullptr};
    grid::TExStringGrid* G = new grid::TExStringGrid(&Form);
    std::filesystem::path Dir = tectest::ScratchDir("visual");
    std::string File(const std::string& body)
    {
        const std::string f = (Dir / "look.txt").string();
        std::ofstream(f, std::ios::binary) << body;
        return f;
    }
};

} // namespace

TEST_F(VisualFixture, GoldenLinesOfAConfiguredGrid)
{
    G->SetColor(0x00ABCDEF);
    G->SetSelectionColor(gui::clHighlight);
    G->SetURLShow(true);
    G->Font()->SetName("Liberation Sans");
    G->Font()->SetSize(11);
    G->Font()->SetStyle({gui::TFontStyle::fsBold, gui::TFontStyle::fsUnderline});
    G->ControlLook()->SetControlStyle(grid::TControlStyle::csFlat);
    G->SetLook(grid::TGridLook::glXP);
    G->BackGround()->SetDisplay(grid::TBackGroundDisplay::bdGradientVert);
    const std::string f = (Dir / "out.txt").string();
    SaveVisualProps(*G, f);
    const std::string text = tectest::ReadText(f);
    for (const char* line :
         {"Color=$00ABCDEF\r\n", "SelectionColor=clHighlight\r\n", "URLShow=true\r\n", "Font.Style=fsBold,fsUnderline\r\n",
          "Font.Size=11\r\nFont.Name=Liberation Sans\r\n", "ControlLook.ControlStyle=csFlat\r\n", "Look=glXP\r\n",
          "BackGround.Display=bdGradientVert\r\nBackGround.Cells=bcNormal\r\n", "Grouping.HeaderColor=clNone\r\n",
          "FloatingFooter.Color=clBtnFace\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.rfind("Color=", 0), 0u);  // the first line
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    // Read back into a fresh grid: the same file comes out.
    auto* h = new grid::TExStringGrid(&Form);
    LoadVisualProps(*h, f);
    const std::string again = (Dir / "again.txt").string();
    SaveVisualProps(*h, again);
    EXPECT_EQ(tectest::ReadText(again), text);
}

TEST_F(VisualFixture, ReadingRules)
{
    G->SetLook(grid::TGridLook::glSoft);
    G->ControlLook()->SetControlStyle(grid::TControlStyle::csClassic);
    G->SetSelectionColor(0x123456);
    LoadVisualProps(*G, File("Look=\r\nControlLook.ControlStyle=CSFLAT\r\nselectioncolor=\r\nSelectionColor=clRed\r\n"
                             "Font.Size=9\r\nActiveCellFont.Size=9\r\nFixedFont.Size=9\r\nBalloon.Transparency=5\r\n"
                             "ControlLook.CheckSize=3\r\nControlLook.RadioSize=4\r\nGrouping.HeaderLineWidth=1\r\n"
                             "Grouping.SummaryLineWidth=1\r\nBackGround.Top=0\r\nBackGround.Left=0\r\n"));
    EXPECT_EQ(G->Look(), grid::TGridLook::glSoft);  // empty: kept
    EXPECT_EQ(G->ControlLook()->ControlStyle(), grid::TControlStyle::csFlat);
    EXPECT_EQ(G->SelectionColor(), gui::clNone);  // the first line of a name counts; empty is none
    LoadVisualProps(*G, File("Grouping.SummaryColor=$00010203\r\nSortSettings.IndexColor=clRed\r\nFont.Size=9\r\n"
                             "ActiveCellFont.Size=9\r\nFixedFont.Size=9\r\nBalloon.Transparency=5\r\n"
                             "ControlLook.CheckSize=3\r\nControlLook.RadioSize=4\r\nGrouping.HeaderLineWidth=1\r\n"
                             "Grouping.SummaryLineWidth=1\r\nBackGround.Top=0\r\nBackGround.Left=0\r\n"));
    EXPECT_EQ(G->Grouping()->SummaryColor(), 0x00010203u);
    EXPECT_EQ(G->SortSettings()->IndexColor(), gui::clRed);

    // A bad integer raises part-way: what came before is taken.
    G->SetURLShow(false);
    EXPECT_THROW(LoadVisualProps(*G, File("URLShow=TRUE\r\nFont.Size=x\r\n")), rtl::EConvertError);
    EXPECT_TRUE(G->URLShow());
    EXPECT_THROW(LoadVisualProps(*G, File("Color=notacolour\r\n")), rtl::EConvertError);
    try {
        LoadVisualProps(*G, (Dir / "missing.txt").string());
        ADD_FAILURE();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + (Dir / "missing.txt").string());
    }
}
