// The binary cell stream: record bytes, rectangles placed at a point, full
// grids, properties, and the limits of the format.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "gridio/GridBinary.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/ComponentStream.h"

using namespace grid;

namespace {

struct BinFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    TExStringGrid* H = new TExStringGrid(&Form);
    BinFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        for (TExStringGrid* g : {G, H}) {
            g->SetParent(&Form);
            g->SetColCount(6);
            g->SetRowCount(8);
        }
    }
    static std::string Bytes(rtl::TMemoryStream& s)
    {
        s.SetPosition(0);
        return s.ReadAll();
    }
};

} // namespace

TEST_F(BinFixture, CellRecordGoldenBytes)
{
    rtl::TComponent owner(nullptr);
    auto* cell = new gridio::TGridCellIO(&owner);
    cell->Col = 3;
    cell->Row = 300;
    cell->Cell = "ab";
    rtl::TMemoryStream s;
    rtl::TWriter(s).WriteRootComponent(cell);
    const std::string expected = std::string("TPF0\x0BTGridCellIO\x00", 17) +
                                 std::string("\x03" "Col\x02\x03", 6) +
                                 std::string("\x03" "Row\x03\x2C\x01", 7) +
                                 std::string("\x04" "Cell\x06\x02" "ab", 9) +
                                 std::string("\x07" "HasProp\x08", 9) + std::string("\x00\x00", 2);
    EXPECT_EQ(Bytes(s), expected);
}

TEST_F(BinFixture, CellWithPropertiesGoldenPiece)
{
    G->SetCells(1, 1, "x");
    G->GetCellProperties(1, 1)->SetBrushColor(0x00112233);
    rtl::TMemoryStream s;
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 1, 1}, s);
    const std::string b = Bytes(s);
    // The cell says properties follow, and the property record carries the
    // colour under its dotted name as a 4-byte integer.
    EXPECT_NE(b.find(std::string("\x07" "HasProp\x09", 9)), std::string::npos);
    EXPECT_NE(b.find(std::string("TPF0\x0FTGridCellPropIO\x00", 21)), std::string::npos);
    EXPECT_NE(b.find(std::string("\x19" "CellProperties.BrushColor\x04\x33\x22\x11\x00", 31)), std::string::npos);
    EXPECT_NE(b.find(std::string("\x0A" "HasGraphic\x08", 12)), std::string::npos);
}

TEST_F(BinFixture, RectangleLoadedAtAPoint)
{
    G->SetCells(1, 1, "a");
    G->SetCells(2, 1, "b");
    G->SetCells(1, 2, "c");
    G->GetCellProperties(2, 2)->SetFontStyle({gui::TFontStyle::fsBold});
    G->SetCells(2, 2, "d");
    rtl::TMemoryStream s;
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 2, 2}, s);
    s.SetPosition(0);
    H->SetCells(0, 0, "kept");
    gridio::LoadAtPointFromBinStream(*H, gui::TPoint{3, 4}, s);
    EXPECT_EQ(H->Cells(3, 4), "a");
    EXPECT_EQ(H->Cells(4, 4), "b");
    EXPECT_EQ(H->Cells(3, 5), "c");
    EXPECT_EQ(H->Cells(4, 5), "d");
    ASSERT_NE(H->FindCellProperties(4, 5), nullptr);
    EXPECT_TRUE(H->FindCellProperties(4, 5)->FontStyle().Contains(gui::TFontStyle::fsBold));
    EXPECT_EQ(H->FindCellProperties(4, 5)->OwnerCol(), 4);
    EXPECT_EQ(H->Cells(0, 0), "kept");
}

TEST_F(BinFixture, CellsOutsideTheGridAreSkipped)
{
    G->SetCells(1, 1, "in");
    G->SetCells(2, 2, "out");
    G->GetCellProperties(2, 2)->SetBrushColor(0x0000FF);
    rtl::TMemoryStream s;
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 2, 2}, s);
    s.SetPosition(0);
    gridio::LoadAtPointFromBinStream(*H, gui::TPoint{5, 7}, s);  // last column and row
    EXPECT_EQ(H->Cells(5, 7), "in");
    EXPECT_EQ(H->ColCount(), 6);
    EXPECT_EQ(H->RowCount(), 8);
    EXPECT_EQ(s.Position(), s.Size());  // the skipped records were read past
}

TEST_F(BinFixture, FullGridRestoresSizeWidthsAndHeights)
{
    G->SetColCount(4);
    G->SetRowCount(3);
    G->SetColWidths(2, 99);
    G->SetRowHeights(1, 40);
    G->SetCells(3, 2, "corner");
    rtl::TMemoryStream s;
    gridio::SaveToBinStream(*G, s);
    s.SetPosition(0);
    H->SetCells(5, 7, "gone");
    gridio::LoadFromBinStream(*H, s);
    EXPECT_EQ(H->ColCount(), 4);
    EXPECT_EQ(H->RowCount(), 3);
    EXPECT_EQ(H->ColWidths(2), 99);
    EXPECT_EQ(H->RowHeights(1), 40);
    EXPECT_EQ(H->Cells(3, 2), "corner");
}

TEST_F(BinFixture, FormatLimitsAndDamagedStreams)
{
    G->SetRowCount(70000);
    G->SetCells(1, 65536, "far");
    rtl::TMemoryStream s;
    EXPECT_THROW(gridio::SaveRectToBinStream(*G, gui::TRect{1, 65530, 1, 65536}, s), ZEziDoroZezuz);
    EXPECT_EQ(s.Size(), 0);

    G->SetRowCount(8);
    G->SetCells(1, 1, "a");
    G->SetCells(2, 1, "b");
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 2, 1}, s);
    std::string bytes = Bytes(s);
    rtl::TMemoryStream cut;
    cut.WriteString(bytes.substr(0, bytes.size() - 5));
    cut.SetPosition(0);
    EXPECT_THROW(gridio::LoadAtPointFromBinStream(*H, gui::TPoint{1, 1}, cut), rtl::Exception);
    EXPECT_EQ(H->Cells(1, 1), "a");  // stored before the damage
    rtl::TMemoryStream junk;
    junk.WriteString("NOPE and more bytes");
    junk.SetPosition(0);
    EXPECT_THROW(gridio::LoadFromBinStream(*H, junk), rtl::Exception);
}

TEST_F(BinFixture, HeaderRecordGoldenBytesAndFileRoundTrip)
{
    G->SetColWidths(1, 50);
    G->SetColWidths(2, 300);
    G->SetRowHeights(1, 30);
    G->SetCells(2, 1, "v");
    rtl::TMemoryStream s;
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 2, 1}, s);
    const std::string head = std::string("TPF0\x0BTGridPropIO\x00", 17) +
                             std::string("\x08" "ColCount\x02\x02", 11) +
                             std::string("\x08" "RowCount\x02\x01", 11) +
                             std::string("\x09" "ColWidths\x06\x06" "50,300", 18) +
                             std::string("\x0A" "RowHeights\x06\x02" "30", 15) +
                             std::string("\x08" "FullGrid\x08", 10) + std::string("\x02" "ID", 3);
    EXPECT_EQ(Bytes(s).substr(0, head.size()), head);

    const auto dir = std::filesystem::temp_directory_path() /
                     ("gridio-bin-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "cells.bin").string();
    gridio::SaveToBinFile(*G, file);
    gridio::LoadFromBinFile(*H, file);
    EXPECT_EQ(H->Cells(2, 1), "v");
    EXPECT_EQ(H->ColWidths(2), 300);
    std::filesystem::remove_all(dir);
}
