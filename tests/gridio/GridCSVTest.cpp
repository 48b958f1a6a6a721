// CSV and fixed-width files: round trips under every option, delimiter
// detection, partial and inserting reads, and fixed-width fields.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "gridio/GridFiles.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TextFiles.h"

using namespace grid;
using gridio::TGridFiles;

namespace {

struct CSVFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    TExStringGrid* H = new TExStringGrid(&Form);
    std::filesystem::path Dir = tectest::ScratchDir("gridio-csv");
    CSVFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        for (TExStringGrid* g : {G, H}) {
            g->SetParent(&Form);
            g->SetColCount(4);
            g->SetRowCount(4);
            g->SetSaveFixedCells(false);
        }
    }
    std::string File(const std::string& n) { return (Dir / n).string(); }
    std::vector<std::string> Lines(const std::string& n) { return rtl::ReadTextFileLines(File(n)); }
};

const std::vector<std::string> kCells = {
    "plain", "", "with,comma", "say \"hi\"", "a,\"b\"", "two\r\nlines", "q\"\r\nline", "tilde~caret^",
    "\xC3\xA4 \xC3\xA9",  // characters both ANSI and OEM pages hold
};

void Fill(TExStringGrid* g)
{
    g->SetRowCount(1 + 3);
    for (size_t i = 0; i < kCells.size(); ++i) g->SetCells(1 + int(i % 3), 1 + int(i / 3), kCells[i]);
}

} // namespace

TEST_F(CSVFixture, RoundTripUnderEveryOptionCombination)
{
    for (int mask = 0; mask < 64; ++mask) {
        const bool java = mask & 1, quoteEmpty = mask & 2, always = mask & 4, oem = mask & 8, unicode = mask & 16;
        const char delim = (mask & 32) ? ';' : '\0';
        SCOPED_TRACE(mask);
        for (TExStringGrid* g : {G, H}) {
            g->SetJavaCSV(java);
            g->SetQuoteEmptyCells(quoteEmpty);
            g->SetAlwaysQuotes(always);
            g->SetMultilinecells(true);
            g->SetDelimiter(delim);
        }
        Fill(G);
        H->SetColCount(2);
        H->SetRowCount(2);
        TGridFiles out(*G), in(*H);
        out.OemConvert = in.OemConvert = oem;
        out.SaveToCSV(File("r.csv"), unicode);
        in.LoadFromCSV(File("r.csv"), -1);
        ASSERT_EQ(H->RowCount(), 4);
        ASSERT_GE(H->ColCount(), 4);
        for (size_t i = 0; i < kCells.size(); ++i) {
            // "~" stands for a line break in the Java form.
            const std::string want = java ? rtl::StringReplace(kCells[i], "~", "\r\n") : kCells[i];
            EXPECT_EQ(H->Cells(1 + int(i % 3), 1 + int(i / 3)), want) << i;
        }
    }
}

TEST_F(CSVFixture, WrittenForms)
{
    G->SetMultilinecells(true);
    G->SetRowCount(2);
    G->SetCells(1, 1, "");
    G->SetCells(2, 1, "a,\"b\"");
    G->SetCells(3, 1, "two\r\nlines");
    TGridFiles(*G).SaveToCSV(File("w.csv"), false);
    EXPECT_EQ(Lines("w.csv")[0], "\"\",\"a,\"\"b\"\"\",\"two\vlines\"");
    G->SetJavaCSV(true);
    TGridFiles(*G).SaveToCSV(File("w.csv"), false);
    EXPECT_EQ(Lines("w.csv")[0], "^,\"a,\"\"b\"\"\",two~lines");
    G->SetJavaCSV(false);
    G->SetQuoteEmptyCells(false);
    TGridFiles(*G).AppendToCSV(File("w.csv"), false);
    EXPECT_EQ(Lines("w.csv").size(), 2u);
    EXPECT_EQ(Lines("w.csv")[1].substr(0, 2), ",\"");
    EXPECT_THROW(TGridFiles(*G).AppendToCSV(File("missing.csv"), false), rtl::EFOpenError);
}

TEST(CSVDelimiter, DetectionTable)
{
    struct Case { const char *l1, *l2; char d; };
    for (const Case& k : {
             Case{"a;b;c;d,e", "f;g;h;i", ';'},       // balanced semicolons win over the lone comma
             Case{"a,b,c", "d,e,f", ','},
             Case{"a\tb|c", "d\te|f|g", '\t'},        // first balanced candidate in order
             Case{"x@y@z", "", '@'},                  // single line: the most frequent
             Case{"a-b-c+d", "", '-'},
             Case{"a,b", "c,d,e,f", ','},             // no balance, counts compared
             Case{"plain", "text", '\0'},
             Case{"1&2&3", "4&5&6", '&'},
         })
        EXPECT_EQ(TGridFiles::DetectDelimiter(k.l1, k.l2), k.d) << k.l1 << " / " << k.l2;
}

TEST_F(CSVFixture, ReadingOptions)
{
    rtl::WriteTextFileLines(File("h.csv"), {"head1,head2", "a,b", "c,d", "e,f"}, rtl::TTextFileEncoding::tfeAnsi);
    H->SetLoadFirstRow(false);
    TGridFiles(*H).LoadFromCSV(File("h.csv"), 2);
    EXPECT_EQ(H->RowCount(), 3);
    EXPECT_EQ(H->Cells(1, 1), "a");
    EXPECT_EQ(H->Cells(2, 2), "d");
    EXPECT_EQ(H->Delimiter(), '\0');  // detection is for one read only

    // A long line widens the grid; a short one leaves the other cells alone.
    rtl::WriteTextFileLines(File("w.csv"), {"1,2,3,4,5", "x"}, rtl::TTextFileEncoding::tfeAnsi);
    H->SetLoadFirstRow(true);
    H->SetRowCount(4);
    H->SetCells(2, 2, "stays");
    TGridFiles(*H).LoadFromCSV(File("w.csv"), 0);
    EXPECT_EQ(H->ColCount(), 6);
    EXPECT_EQ(H->Cells(5, 1), "5");
    EXPECT_EQ(H->Cells(1, 2), "x");
    EXPECT_EQ(H->Cells(2, 2), "stays");

    rtl::WriteTextFileLines(File("e.csv"), {}, rtl::TTextFileEncoding::tfeAnsi);
    try {
        TGridFiles(*H).LoadFromCSV(File("e.csv"), -1);
        FAIL();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "File is empty");
    }
    // Malformed text never raises: an unterminated quote gives an empty field.
    rtl::WriteTextFileLines(File("m.csv"), {"\"open,b,c"}, rtl::TTextFileEncoding::tfeAnsi);
    EXPECT_NO_THROW(TGridFiles(*H).LoadFromCSV(File("m.csv"), -1));
    EXPECT_EQ(H->Cells(1, 1), "");
    EXPECT_EQ(H->Cells(2, 1), "b");
}

// Files as other programs write them: quotes only where needed, quotes
// doubled, line breaks inside quoted fields (LF or CR LF), CR LF between
// records, UTF-8 with a byte-order mark or UTF-16 with one.
TEST_F(CSVFixture, FilesWrittenByOtherPrograms)
{
    struct Case {
        const char* name;
        char d;
        rtl::TTextFileEncoding encoding;
    } cases[] = {
        {"utf8.csv", ',', rtl::TTextFileEncoding::tfeUTF8},
        {"utf8-semicolon.csv", ';', rtl::TTextFileEncoding::tfeUTF8},
        {"utf16.txt", '\t', rtl::TTextFileEncoding::tfeUTF16LE},
    };
    const std::vector<std::vector<std::string>> expected = {
        {"name", "note", "empty", "last"},
        {"Smith, J.", "said \"hi\"", "", "x"},
        {"multi\r\nline", "a\r\nb", "", "x, y;z"},
        {"caf\xC3\xA9", "plain", "", "end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string d(1, c.d);
        const std::string text = "name" + d + "note" + d + "empty" + d + "last\r\n"
                                 "\"Smith, J.\"" + d + "\"said \"\"hi\"\"\"" + d + d + "x\r\n"
                                 "\"multi\nline\"" + d + "\"a\r\nb\"" + d + d + "\"x, y;z\"\r\n"
                                 "caf\xC3\xA9" + d + "plain" + d + "\"\"" + d + "end\r\n";
        {
            const std::string bytes = rtl::EncodeTextFileBytes(text, c.encoding);
            rtl::TFileStream out(File(c.name), rtl::fmCreate);
            out.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        }
        H->SetRowCount(2);
        TGridFiles(*H).LoadFromCSV(File(c.name), -1);
        ASSERT_EQ(H->RowCount(), 1 + 4);
        for (size_t r = 0; r < expected.size(); ++r)
            for (size_t k = 0; k < expected[r].size(); ++k)
                EXPECT_EQ(H->Cells(1 + int(k), 1 + int(r)), expected[r][k]) << "row " << r << ", field " << k;
    }
}

TEST_F(CSVFixture, InsertAboveFloatingFooter)
{
    H->SetRowCount(3);
    H->SetCells(1, 1, "data");
    H->SetCells(1, 2, "total");
    H->SetFixedFooters(1);
    H->FloatingFooter()->SetVisible(true);
    rtl::WriteTextFileLines(File("i.csv"), {"n1", "n2"}, rtl::TTextFileEncoding::tfeAnsi);
    TGridFiles(*H).InsertFromCSV(File("i.csv"), -1);
    EXPECT_EQ(H->RowCount(), 5);
    EXPECT_EQ(H->Cells(1, 1), "data");
    EXPECT_EQ(H->Cells(1, 2), "n1");
    EXPECT_EQ(H->Cells(1, 3), "n2");
    EXPECT_EQ(H->Cells(1, 4), "total");
}

TEST_F(CSVFixture, ProgressWhileReading)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 8; ++i) lines.push_back(std::to_string(i));
    rtl::WriteTextFileLines(File("p.csv"), lines, rtl::TTextFileEncoding::tfeAnsi);
    std::vector<int> fired;
    TGridFiles f(*H);
    f.OnFileProgress = [&](rtl::TObject*, int16_t p) { fired.push_back(p); };
    f.LoadFromCSV(File("p.csv"), -1);
    // 1/8 .. 8/8: 12.5 rounds to 12, 37.5 to 38, 62.5 to 62, 87.5 to 88.
    EXPECT_EQ(fired, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(H->RowCount(), 9);
}

TEST_F(CSVFixture, FixedWidthSaveAndLoad)
{
    G->SetRowCount(3);
    G->SetCells(1, 1, "abc");
    G->SetCells(2, 1, "toolongtext");
    G->SetCells(3, 1, "z");
    G->SetCells(1, 2, "d");
    std::vector<int> widths = {4, 5};
    TGridFiles(*G).SaveToFixed(File("f.txt"), widths);
    ASSERT_EQ(widths.size(), 3u);
    EXPECT_EQ(widths[2], 2);  // longest text of the last column + 1
    EXPECT_EQ(Lines("f.txt")[0], "abc tooloz ");
    EXPECT_EQ(Lines("f.txt")[1], "d" + std::string(10, ' '));

    rtl::WriteTextFileLines(File("p.txt"), {"abcdefghijXX", "  12  34  ", "last"}, rtl::TTextFileEncoding::tfeAnsi);
    TGridFiles(*H).LoadFromFixed(File("p.txt"), {11, 1, 6}, true, -1);
    EXPECT_EQ(H->ColCount(), 3);
    EXPECT_EQ(H->Cells(1, 1), "abcde");
    EXPECT_EQ(H->Cells(2, 1), "fghij");
    EXPECT_EQ(H->Cells(1, 2), "12");
    EXPECT_EQ(H->Cells(2, 2), "34");
    EXPECT_EQ(H->Cells(1, 3), "last");
    H->SetCells(1, 2, "untouched");
    TGridFiles(*H).LoadFromFixed(File("p.txt"), {1, 6, 11}, false, 0);
    EXPECT_EQ(H->Cells(1, 2), "untouched");  // MaxRows 0 reads one line
    try {
        TGridFiles(*H).LoadFromFixed(File("none.txt"), {1, 6}, false, -1);
        FAIL();
    } catch (const ZEziDoroZezuz& e) {
        EXPECT_EQ(e.Message(), "File " + File("none.txt") + " not found");
    }
    EXPECT_THROW(TGridFiles(*G).SaveToFixed((Dir / "no" / "dir.txt").string(), widths), ZEziDoroZezuz);
}
