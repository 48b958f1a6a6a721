// The native text file and stream, AssignCells through the hooks, the ASCII
// table, CellToReal and the progress rule.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "gridio/GridFiles.h"
#include "gridio/GridIOHooks.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/TextFiles.h"

using namespace grid;
using gridio::TGridFiles;

namespace {

struct NativeFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    TExStringGrid* H = new TExStringGrid(&Form);
    std::filesystem::path Dir = tectest::ScratchDir("gridio-native");
    NativeFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        for (TExStringGrid* g : {G, H}) {
            g->SetParent(&Form);
            g->SetColCount(5);
            g->SetRowCount(6);
            g->SetMultilinecells(true);
            g->SetSaveFixedCells(false);
        }
    }
    std::string File(const std::string& n) { return (Dir / n).string(); }
};

// Texts that stress the cell line encoding.
const std::vector<std::string> kTricky = {
    "plain", "a\r\nb", "tab\tand\r\ncr", std::string("nul\0x\r\ny", 9), "|\\0041", std::string(300, 'w'),
    "comma,in,it", "\xC3\xA4\xE2\x82\xAC",  // umlaut and euro sign
};

} // namespace

TEST_F(NativeFixture, FileRoundTripKeepsTrickyCellsAndUntouchedOnes)
{
    for (bool unicode : {false, true}) {
        SCOPED_TRACE(unicode);
        for (size_t i = 0; i < kTricky.size(); ++i) G->SetCells(1 + int(i % 4), 1 + int(i / 4), kTricky[i]);
        G->SetColWidths(2, 91);
        H->SetCells(4, 5, "kept");
        H->SetCells(1, 1, "replaced");
        TGridFiles(*G).SaveToFile(File("a.txt"), unicode);
        TGridFiles(*H).LoadFromFile(File("a.txt"));
        for (size_t i = 0; i < kTricky.size(); ++i)
            EXPECT_EQ(H->Cells(1 + int(i % 4), 1 + int(i / 4)), kTricky[i]) << i;
        EXPECT_EQ(H->Cells(4, 5), "kept");
        EXPECT_EQ(H->ColWidths(2), 91);
    }
}

TEST_F(NativeFixture, FileLayoutAndEncodings)
{
    G->SetCells(1, 1, "x\r\ny");
    G->SetCells(2, 3, "\xE2\x82\xAC");  // euro: 0x80 in Windows-1252
    TGridFiles(*G).SaveToFile(File("a.txt"), false);
    const std::string ansi = tectest::ReadText(File("a.txt"));
    // Fixed row and column left out: 4 columns, 5 rows, widths of 1..4.
    EXPECT_EQ(ansi.substr(0, 5 + 2), "4,5\r\ncw");
    EXPECT_NE(ansi.find("1,1,x\t\by\r\n"), std::string::npos);
    EXPECT_NE(ansi.find("2,3,\x80\r\n"), std::string::npos);
    EXPECT_EQ(ansi.find("cw 0,"), std::string::npos);
    TGridFiles(*G).SaveToFile(File("u.txt"), true);
    const std::string wide = tectest::ReadText(File("u.txt"));
    EXPECT_EQ(wide.substr(0, 4), std::string("\xFF\xFE" "4\0", 4));
}

TEST_F(NativeFixture, FileEdgeCases)
{
    // A line without a comma goes whole into (0, 0); a lone LF splits a
    // line; out-of-range lines are skipped; numbers are read leniently.
    rtl::WriteTextFileLines(File("e.txt"), {"3,4", "cw 1,$20", "cw 99,5", "whole line", "2,2,a", "$2,1,b", "x9,1,hex",
                                            "9,9,far", "-1,1,neg"},
                            rtl::TTextFileEncoding::tfeAnsi);
    H->SetCells(3, 3, "kept");
    TGridFiles(*H).LoadFromFile(File("e.txt"));
    EXPECT_EQ(H->ColCount(), 4);
    EXPECT_EQ(H->RowCount(), 5);
    EXPECT_EQ(H->ColWidths(1), 32);
    EXPECT_EQ(H->Cells(0, 0), "whole line");
    EXPECT_EQ(H->Cells(2, 2), "a");
    EXPECT_EQ(H->Cells(2, 1), "b");
    EXPECT_EQ(H->Cells(3, 3), "kept");
}

TEST_F(NativeFixture, FileWithHiddenColumns)
{
    G->SetCells(2, 1, "hidden");
    G->SetCells(3, 1, "shown");
    G->HideColumn(2);
    TGridFiles(*G).SaveToFile(File("h0.txt"), false);
    EXPECT_EQ(rtl::ReadTextFileLines(File("h0.txt"))[0], "3,5");
    TGridFiles(*H).LoadFromFile(File("h0.txt"));
    EXPECT_EQ(H->Cells(2, 1), "shown");
    G->SetSaveHiddenCells(true);
    TGridFiles(*G).SaveToFile(File("h1.txt"), false);
    EXPECT_EQ(rtl::ReadTextFileLines(File("h1.txt"))[0], "4,5");
    TGridFiles(*H).LoadFromFile(File("h1.txt"));
    EXPECT_EQ(H->Cells(2, 1), "hidden");
    EXPECT_EQ(H->Cells(3, 1), "shown");
}

TEST_F(NativeFixture, StreamRoundTripAndTrailingData)
{
    G->SetFixedRightCols(1);
    G->SetFixedFooters(1);
    for (size_t i = 0; i < kTricky.size(); ++i) G->SetCells(1 + int(i % 3), 1 + int(i / 3), kTricky[i]);
    G->SetCells(2, 2, "lone\nLF");
    G->SetCells(4, 1, "right");
    G->SetCells(1, 5, "footer");
    rtl::TMemoryStream s;
    TGridFiles(*G).SaveToStream(s);
    const int64_t end = s.Position();
    s.WriteString(std::string("n\0o\0\r\0\n\0", 8));  // a line without comma behind the grid
    s.SetPosition(0);
    H->SetFixedRightCols(1);
    H->SetFixedFooters(1);
    H->SetCells(3, 3, "kept");
    TGridFiles(*H).LoadFromStream(s);
    EXPECT_EQ(s.Position(), end);
    for (size_t i = 0; i < kTricky.size(); ++i)
        if (i != 4) { EXPECT_EQ(H->Cells(1 + int(i % 3), 1 + int(i / 3)), kTricky[i]); }
    EXPECT_EQ(H->Cells(2, 2), "lone\nLF");
    EXPECT_EQ(H->Cells(4, 1), "");       // fixed right column not saved
    EXPECT_EQ(H->Cells(1, 5), "");       // nor the footer
    EXPECT_EQ(H->Cells(3, 3), "kept");
}

TEST_F(NativeFixture, StreamMalformedIntegerRaisesAndKeepsEarlierCells)
{
    rtl::TMemoryStream s;
    auto put = [&](const std::string& line) {
        for (char16_t u : rtl::UTF8ToUTF16(line + "\r\n")) s.WriteBuffer(&u, 2);
    };
    put("4,5");
    put("0,0,first");
    put("1x,0,bad");
    put("2,0,never");
    s.SetPosition(0);
    EXPECT_THROW(TGridFiles(*H).LoadFromStream(s), rtl::EConvertError);
    EXPECT_EQ(H->Cells(1, 1), "first");
    EXPECT_EQ(H->Cells(3, 1), "");
}

TEST_F(NativeFixture, AssignCellsGoesThroughTheHooks)
{
    gridio::InstallGridIOHooks();
    G->SetCells(1, 1, "a\r\nb");
    G->SetCells(4, 5, "z");
    G->SetColWidths(3, 77);
    H->AssignCells(G);
    EXPECT_EQ(H->Cells(1, 1), "a\r\nb");
    EXPECT_EQ(H->Cells(4, 5), "z");
    EXPECT_EQ(H->ColWidths(3), 77);
    grid::SetGridIOHooks(nullptr);
}

TEST_F(NativeFixture, AsciiAlignmentAndContinuationLines)
{
    G->SetSaveFixedCells(false);
    G->SetColCount(4);
    G->SetRowCount(3);
    G->SetCells(1, 1, "12345");  // widths 5 in each column
    G->SetCells(2, 1, "abcde");
    G->SetCells(3, 1, "vwxyz");
    G->SetCells(1, 2, "42");
    G->SetCells(2, 2, "ab");
    G->SetCells(3, 2, "ab\r\nsecond\r\nthird");
    G->SetCellAlignment(1, 2, gui::TAlignment::taRightJustify);
    G->SetCellAlignment(2, 2, gui::TAlignment::taCenter);
    G->SetCellAlignment(3, 2, gui::TAlignment::taLeftJustify);
    TGridFiles(*G).SaveToASCII(File("t.txt"), false);
    const auto lines = rtl::ReadTextFileLines(File("t.txt"));
    ASSERT_EQ(lines.size(), 4u);
    // Widths 5, 5 and 6 (the longest line of the multi-line cell).
    EXPECT_EQ(lines[0], "12345 abcde vwxyz  ");
    EXPECT_EQ(lines[1], "   42   ab  ab     ");
    EXPECT_EQ(lines[2], std::string(12, ' ') + "second");
    EXPECT_EQ(lines[3], std::string(12, ' ') + "third");
    TGridFiles(*G).AppendToASCII(File("t.txt"), false);
    EXPECT_EQ(rtl::ReadTextFileLines(File("t.txt")).size(), 8u);
}

TEST_F(NativeFixture, AsciiKeepsAlignmentPast255Characters)
{
    G->SetCells(1, 1, std::string(300, 'a'));
    G->SetCells(2, 1, "b");
    G->SetCells(1, 2, "c");
    G->SetCells(2, 2, "d");
    TGridFiles(*G).SaveToASCII(File("w.txt"), false);
    const auto lines = rtl::ReadTextFileLines(File("w.txt"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].find('b'), 301u);
    EXPECT_EQ(lines[1].find('d'), 301u);
}

TEST_F(NativeFixture, CellToRealTable)
{
    struct Case { const char* text; double value; };
    for (const Case& k : {Case{"(1,234.5)", -1234.5}, Case{"", 0.0}, Case{"-12", -12.0}, Case{"3.25", 3.25},
                          Case{"1e3", 1000.0}}) {
        G->SetCells(1, 1, k.text);
        EXPECT_DOUBLE_EQ(TGridFiles(*G).CellToReal(1, 1), k.value) << k.text;
    }
    G->SetCells(2, 5, "1.2.3");
    try {
        TGridFiles(*G).CellToReal(2, 5);
        FAIL();
    } catch (const ZEziDoroZezuz& e) {
        EXPECT_EQ(e.Message(), "Error at position: 4 in Cell [2, 5].");
    }
}

TEST(GridProgress, PercentRoundsHalvesToEvenAndFiresOnChange)
{
    struct Case { int r, d, p; };
    for (const Case& k : {Case{1, 200, 0}, Case{3, 200, 2}, Case{5, 200, 2}, Case{7, 200, 4}, Case{1, 8, 12},
                          Case{3, 8, 38}, Case{0, 0, 0}, Case{5, 5, 100}})
        EXPECT_EQ(gridio::TProgressReporter::Percent(k.r, k.d), k.p) << k.r << "/" << k.d;
    std::vector<int> fired;
    gridio::TFileProgressEvent ev = [&](rtl::TObject*, int16_t p) { fired.push_back(p); };
    gridio::TProgressReporter rep(ev, nullptr);
    for (int r = 0; r <= 400; ++r) rep.Report(r, 400);
    ASSERT_EQ(fired.size(), 101u);
    EXPECT_EQ(fired.front(), 0);
    EXPECT_EQ(fired.back(), 100);
}

TEST_F(NativeFixture, FileProgressPerSavedRow)
{
    std::vector<int> fired;
    TGridFiles f(*G);
    f.OnFileProgress = [&](rtl::TObject*, int16_t p) { fired.push_back(p); };
    f.SaveToFile(File("p.txt"), false);
    // Rows 1..5 over D = 4: 25, 50, 75, 100, 125.
    EXPECT_EQ(fired, (std::vector<int>{25, 50, 75, 100, 125}));
}

namespace {

// Records what the writers announce.
class TRecordingGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    std::vector<std::pair<TGridExportState, int>> Calls;
    void ExportNotification(TGridExportState s, int aRow) override { Calls.emplace_back(s, aRow); }
};

} // namespace

TEST(GridExport, EveryWriterAnnouncesStartRowsAndDone)
{
    gui::TForm form{nullptr};
    auto* g = new TRecordingGrid(&form);
    g->SetParent(&form);
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetSaveFixedCells(false);
    g->SetCells(1, 1, "x");
    const auto dir = tectest::ScratchDir("gridio-export");
    using S = TGridExportState;
    const std::vector<std::pair<S, int>> rows123 = {
        {S::esExportStart, -1}, {S::esExportNewRow, 1}, {S::esExportNewRow, 2}, {S::esExportNewRow, 3},
        {S::esExportDone, -1}};
    const std::vector<std::pair<const char*, std::function<void(TGridFiles&)>>> writers = {
        {"file", [&](TGridFiles& f) { f.SaveToFile((dir / "a.txt").string(), false); }},
        {"stream", [&](TGridFiles& f) { rtl::TMemoryStream s; f.SaveToStream(s); }},
        {"ascii", [&](TGridFiles& f) { f.SaveToASCII((dir / "a.asc").string(), false); }},
        {"csv", [&](TGridFiles& f) { f.SaveToCSV((dir / "a.csv").string(), false); }},
        {"fixed", [&](TGridFiles& f) { std::vector<int> w; f.SaveToFixed((dir / "a.fix").string(), w); }},
        {"html", [&](TGridFiles& f) { f.SaveToHTMLString(""); }},
        {"xml", [&](TGridFiles& f) { f.SaveToXML((dir / "a.xml").string(), "L", "R", nullptr, false); }},
    };
    for (const auto& [name, write] : writers) {
        SCOPED_TRACE(name);
        g->Calls.clear();
        TGridFiles f(*g);
        write(f);
        EXPECT_EQ(g->Calls, rows123);
    }
    // The ASCII export announces the end also when writing fails.
    g->Calls.clear();
    EXPECT_THROW(TGridFiles(*g).SaveToASCII((dir / "no" / "a.asc").string(), false), rtl::Exception);
    ASSERT_FALSE(g->Calls.empty());
    EXPECT_EQ(g->Calls.back().first, S::esExportDone);
}
