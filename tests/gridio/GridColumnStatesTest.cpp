// Column states text, column sizes and positions in an INI file or the
// registry stand-in.
#include <gtest/gtest.h>

#include <fstream>

#include "TestPaths.h"
#include "gridio/GridColumnStates.h"
#include "gridio/GridIOHooks.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/IniFiles.h"
#include "platform/sys/RegistryIni.h"

using namespace gridio;

namespace {

struct ColumnFixture : testing::Test {
    gui::TForm Form{nullptr};
    grid::TExStringGrid* G;
    std::filesystem::path Dir = tectest::ScratchDir("columns");
    ColumnFixture()
    {
        InstallGridIOHooks();
        G = Make();
    }
    grid::TExStringGrid* Make()
    {
        auto* g = new grid::TExStringGrid(&Form);
        g->SetParent(&Form);
        g->SetColCount(5);
        g->SetRowCount(3);
        for (int c = 0; c < 5; ++c) {
            g->SetCells(c, 0, std::string(1, static_cast<char>('A' + c)));
            g->SetColWidths(c, 40 + 10 * c);
        }
        return g;
    }
    static std::string Heads(grid::TExStringGrid* g)
    {
        std::string s;
        for (int c = 0; c < g->ColCount(); ++c) s += g->Cells(g->DisplayToRealCol(c), 0);
        return s;
    }
    std::string Ini(const std::string& body)
    {
        const std::string f = (Dir / "cols.ini").string();
        std::ofstream(f) << body;
        return f;
    }
};

} // namespace

TEST_F(ColumnFixture, StatesTextRoundTrip)
{
    EXPECT_EQ(ColumnStatesToString(*G), "5#40,50,60,70,80#0,1,2,3,4#1,1,1,1,1");
    G->MoveColumn(4, 1);  // E moves to position 1
    G->HideColumn(2);
    const std::string s = ColumnStatesToString(*G);
    EXPECT_EQ(Heads(G), "AECD");
    EXPECT_EQ(s.substr(0, 2), "5#");
    EXPECT_NE(s.find("#0,4,1,2,3#"), std::string::npos) << s;

    grid::TExStringGrid* h = Make();
    StringToColumnStates(*h, s);
    EXPECT_EQ(Heads(h), Heads(G));
    EXPECT_EQ(h->NumHiddenColumns(), 1);
    EXPECT_EQ(ColumnStatesToString(*h), s);

    // No "#": only the order list is emptied.  An empty order field keeps positions.
    grid::TExStringGrid* k = Make();
    StringToColumnStates(*k, "5#11,12,13,14,15##1,0,1,1,1");
    EXPECT_EQ(Heads(k), "ACDE");
    EXPECT_EQ(k->ColWidths(1), 12);
    EXPECT_TRUE(k->ColumnOrderList().empty());
}

TEST_F(ColumnFixture, BadStatesTextChangesNothing)
{
    G->HideColumn(1);
    const std::string before = ColumnStatesToString(*G);
    for (const char* bad : {"5#40,x,60,70,80#0,1,2,3,4#1,1,1,1,1", "5#40,50#0,1,2,3,4#1,1,1,1,1",
                            "5#40,50,60,70,80#0,1,2#1,1,1,1,1", "5#40,50,60,70,80#0,1,2,3,4#1,1", "q#1#0#1"}) {
        EXPECT_THROW(StringToColumnStates(*G, bad), rtl::Exception) << bad;
        EXPECT_EQ(ColumnStatesToString(*G), before) << bad;
    }
}

TEST_F(ColumnFixture, SizesAndPositionsInIniAndRegistry)
{
    G->ColumnSize()->SetLocation(grid::TColumnSizeLocation::clIniFile);
    G->ColumnSize()->SetKey(Ini("[S]\nCol0=21\nCol1=22\nCol2=23\n"));
    G->ColumnSize()->SetSection("S");
    LoadColSizes(*G);
    EXPECT_EQ(G->ColWidths(2), 23);
    EXPECT_EQ(G->ColWidths(3), 70);  // no "Col3": kept

    // Positions without "Pos0" change nothing; a set that misses a column raises and changes nothing.
    G->ColumnSize()->SetKey(Ini("[S]\nPos1=0\nPos2=1\n"));
    LoadColPositions(*G);
    EXPECT_EQ(Heads(G), "ABCDE");
    G->ColumnSize()->SetKey(Ini("[S]\nPos0=4\nPos1=0\nPos2=1\n"));
    EXPECT_THROW(LoadColPositions(*G), rtl::EListError);
    EXPECT_EQ(Heads(G), "ABCDE");
    G->ColumnSize()->SetKey(Ini("[S]\nPos0=0\nPos1=4\nPos2=1\nPos3=2\nPos4=3\n"));
    LoadColPositions(*G);
    EXPECT_EQ(Heads(G), "AEBCD");

    // The registry stand-in keeps them under the key and section.
    sys::TRegistryIniFile::SetStoreFileName((Dir / "registry.ini").string());
    G->ColumnSize()->SetLocation(grid::TColumnSizeLocation::clRegistry);
    G->ColumnSize()->SetKey("Software\\Tolmira\\Grid");
    SaveColSizes(*G);
    SaveColPositions(*G);
    grid::TExStringGrid* h = Make();
    h->ColumnSize()->SetKey("Software\\Tolmira\\Grid");
    h->ColumnSize()->SetSection("S");
    LoadColSizes(*h);
    LoadColPositions(*h);
    EXPECT_EQ(h->ColWidths(0), 21);
    EXPECT_EQ(Heads(h), "AEBCD");
    sys::TRegistryIniFile::SetStoreFileName("");
}

TEST_F(ColumnFixture, TheGridSavesItsSizesWhenDestroyed)
{
    const std::string f = (Dir / "destroy.ini").string();
    for (const char* section : {"", "Widths"}) {
        auto* g = Make();
        g->ColumnSize()->SetLocation(grid::TColumnSizeLocation::clIniFile);
        g->ColumnSize()->SetKey(f);
        g->ColumnSize()->SetSection(section);
        g->ColumnSize()->SetSave(true);
        delete g;
        EXPECT_EQ(std::filesystem::exists(f), *section != 0) << section;
    }
    EXPECT_EQ(rtl::TMemIniFile(f).ReadInteger("Widths", "Col4", 0), 80);
}
