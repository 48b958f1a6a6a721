// The chart's data files: the record layout byte by byte, saving and
// loading with their sizes and refusals, and the text listing.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "TestPaths.h"
#include "chart/PlotChart.h"
#include "chart/PlotChartFiles.h"
#include "platform/gui/Forms.h"

using namespace chart;
namespace fs = std::filesystem;

namespace {

struct TFilesFixture {
    std::unique_ptr<gui::TForm> Form = std::make_unique<gui::TForm>(nullptr);
    TPlotChart* Chart = new TPlotChart(Form.get());
    fs::path Dir = tectest::ScratchDir("chart-files");
    TFilesFixture() { Chart->SetParent(Form.get()); }
};

std::string Bytes(const uint8_t* p, int n) { return std::string(reinterpret_cast<const char*>(p), n); }

std::string LE(uint64_t v, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

} // namespace

TEST(ChartFiles, RecordFieldsAtTheirOffsets)
{
    TrcChartItem it{};
    it.x = 1.5;          // 3FF8000000000000
    it.y = -2;           // C000000000000000
    it.x2 = 0.25;        // 3FD0000000000000
    it.y2 = 1700;        // 409A900000000000
    it.Color = 0x00112233;
    it.FillColor = 0xFF00000F;
    it.ShadowColor = 0x00808080;
    it.HiLightColor = 0x00FFFFFF;
    it.PenStyle = 2;
    it.Tag = -7;
    it.LWid = 3;
    it.ItemClass = 254;
    it.ItemKind = TrcItem::tkTextOfs;
    it.Layer = 16;
    it.Transp = 1;
    it.FrameStyle = 5;
    SetItemText(it, "abc", 15);
    it.SizeOrAngle = 12;
    it.Depth = -1;
    it.MarkOrAlign = 2;
    uint8_t r[ItemRecordSize];
    EncodeItemRecord(it, r);
    EXPECT_EQ(Bytes(r + 0, 8), LE(0x3FF8000000000000ull, 8));
    EXPECT_EQ(Bytes(r + 8, 8), LE(0xC000000000000000ull, 8));
    EXPECT_EQ(Bytes(r + 16, 8), LE(0x3FD0000000000000ull, 8));
    EXPECT_EQ(Bytes(r + 24, 8), LE(0x409A900000000000ull, 8));
    EXPECT_EQ(Bytes(r + 32, 4), LE(0x00112233, 4));
    EXPECT_EQ(Bytes(r + 36, 4), LE(0xFF00000F, 4));
    EXPECT_EQ(Bytes(r + 40, 4), LE(0x00808080, 4));
    EXPECT_EQ(Bytes(r + 44, 4), LE(0x00FFFFFF, 4));
    EXPECT_EQ(r[48], 2);
    EXPECT_EQ(Bytes(r + 52, 4), LE(0xFFFFFFF9, 4));
    EXPECT_EQ(Bytes(r + 56, 4), LE(3, 4));
    EXPECT_EQ(r[60], 254);
    EXPECT_EQ(r[61], 15);
    EXPECT_EQ(Bytes(r + 64, 4), LE(16, 4));
    EXPECT_EQ(r[68], 1);
    EXPECT_EQ(r[69], 5);
    EXPECT_EQ(r[70], 3);
    EXPECT_EQ(Bytes(r + 71, 3), "abc");
    EXPECT_EQ(Bytes(r + 88, 4), LE(12, 4));
    EXPECT_EQ(Bytes(r + 92, 4), LE(0xFFFFFFFF, 4));
    EXPECT_EQ(r[96], 2);

    TrcChartItem back;
    ASSERT_TRUE(DecodeItemRecord(r, back));
    EXPECT_EQ(std::memcmp(&back, &it, sizeof it), 0);
    // Kinds the chart does not draw, and layers outside 1..16, are refused.
    for (uint8_t kind : {0, 10, 11, 17}) {
        r[61] = kind;
        EXPECT_FALSE(DecodeItemRecord(r, back)) << int(kind);
    }
    r[61] = 1;
    r[64] = 0;
    EXPECT_FALSE(DecodeItemRecord(r, back));
}

TEST(ChartFiles, SaveAndLoadSizesAppendAndRefusals)
{
    TFilesFixture f;
    TPlotChart& c = *f.Chart;
    const std::string empty = (f.Dir / "empty.dat").string(), three = (f.Dir / "three.dat").string();
    c.SaveData(empty);
    EXPECT_EQ(fs::file_size(empty), 0u);

    c.MoveTo(1700, 0.5);
    c.DrawTo(1701, 0.6);
    c.Text(1702, 0.7, 9, "label");
    c.SaveData(three);
    ASSERT_EQ(fs::file_size(three), 312u);

    // Round trip: the same items.
    TPlotChart* other = new TPlotChart(f.Form.get());
    other->LoadData(three, false);
    ASSERT_EQ(other->NumItems(), 3);
    for (int i = 0; i < 3; ++i) {
        const TrcChartItem a = c.GetItemParams(i), b = other->GetItemParams(i);
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << i;
    }

    // Appending into two items: five, the new ones last, capacity five.
    c.RemoveLastItem();
    c.LoadData(three, true);
    EXPECT_EQ(c.NumItems(), 5);
    EXPECT_EQ(c.Items().NumAllocated(), 5);
    EXPECT_EQ(c.TypeOfLastItem(), TrcItem::tkText);
    EXPECT_EQ(c.GetItemParams(2).ItemKind, TrcItem::tkMoveTo);

    // A trailing partial record is ignored.
    {
        std::string bytes = tectest::ReadText(three).substr(0, 200);
        std::ofstream(f.Dir / "partial.dat", std::ios::binary) << bytes;
    }
    other->LoadData((f.Dir / "partial.dat").string(), false);
    EXPECT_EQ(other->NumItems(), 1);

    // A record the chart cannot draw makes the file unreadable: the list stays.
    for (auto [offset, value] : {std::pair{61, 10}, std::pair{64, 0}}) {
        std::string bytes = tectest::ReadText(three);
        bytes[ItemRecordSize + offset] = static_cast<char>(value);
        std::ofstream(f.Dir / "bad.dat", std::ios::binary) << bytes;
        c.LoadData((f.Dir / "bad.dat").string(), false);
        EXPECT_EQ(c.NumItems(), 5);
        c.LoadData((f.Dir / "bad.dat").string(), true);
        EXPECT_EQ(c.NumItems(), 5);
    }
    // A missing file changes nothing; an empty one empties the list.
    c.LoadData((f.Dir / "missing.dat").string(), false);
    EXPECT_EQ(c.NumItems(), 5);
    c.LoadData(empty, false);
    EXPECT_EQ(c.NumItems(), 0);
}

TEST(ChartFiles, TextListing)
{
    TrcChartItem move{};
    move.ItemKind = TrcItem::tkMoveTo;
    move.x = 1700;
    move.y = 0.5;
    move.LWid = 1;
    move.Layer = 1;
    EXPECT_EQ(ItemListing(move, 0),
              "\r\n------ item 0 ------\r\n elemtype: tkMoveTo\r\n startpnt: [1700.0000/0.5000]\r\n"
              "    color: 00000000\r\n penstyle: 00\r\nlinewidth: 1\r\n classnum: 0\r\n");

    TrcChartItem frame = move;
    frame.ItemKind = TrcItem::tkRectFrame;
    frame.x2 = -0.001;
    frame.y2 = 12.5;
    frame.FillColor = 0xFF00000F;
    frame.FrameStyle = static_cast<uint8_t>(TFrameStyle::fsSimple);
    std::string s = ItemListing(frame, 7);
    EXPECT_NE(s.find("------ item 7 ------\r\n"), std::string::npos);
    EXPECT_NE(s.find("   corner: [-0.0010/12.5000]\r\nfillcolor: FF00000F\r\nshadowcol: 00000000\r\n"),
              std::string::npos);
    EXPECT_EQ(s.find("frametype:"), std::string::npos);
    frame.FrameStyle = static_cast<uint8_t>(TFrameStyle::fsEngraved);
    EXPECT_NE(ItemListing(frame, 7).find("frametype: rbEngraved\r\n"), std::string::npos);

    TrcChartItem text = move;
    text.ItemKind = TrcItem::tkTextOfs;
    SetItemText(text, "Sun", 15);
    text.SizeOrAngle = 10;
    text.x2 = 2.6;
    text.y2 = -3;
    text.MarkOrAlign = 1;
    EXPECT_NE(ItemListing(text, 1).find(" elemtype: tkTextOfs\r\n"), std::string::npos);
    EXPECT_NE(ItemListing(text, 1).find("     text: 'Sun'\r\n     size: 10\r\n    align: 1\r\n"
                                        " offset x: '3'\r\n offset y: '-3'\r\n"),
              std::string::npos);

    TrcChartItem line = move;
    line.ItemKind = TrcItem::tkLineto;
    EXPECT_NE(ItemListing(line, 2).find(" elemtype: tkLineTo\r\n"), std::string::npos);

    // The whole listing through the chart.
    TFilesFixture f;
    f.Chart->MoveTo(1700, 0.5);
    f.Chart->DrawTo(1800, 1);
    const fs::path file = f.Dir / "list.txt";
    f.Chart->SaveDataASC(file.string());
    EXPECT_EQ(tectest::ReadText(file), ItemListing(f.Chart->GetItemParams(0), 0) +
                                          ItemListing(f.Chart->GetItemParams(1), 1));
}
