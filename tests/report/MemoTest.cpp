// The memo view: its data and expressions with a stub evaluator, display
// formats, hidden zeros, suppressed repeats, macros, the highlight, flowing
// into another memo, Diff, and drawing on a 96-dpi bitmap and at 600 dpi.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/gui/Metafile.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/DateTime.h"
#include "report/qlrClass.h"
#include "report/qlrVariables.h"

using namespace qlr;

namespace {

struct Fixture {
    TqlrReport report{nullptr};
    TqlrReportPage* page = new TqlrReportPage(&report);
    TqlrMasterData* band = new TqlrMasterData(page);
    int page_ = 1;
    rtl::Variant value = rtl::Variant(0);

    Fixture()
    {
        report.OnCalc = [this](const std::string& e) -> rtl::Variant {
            if (e == "1+2") return rtl::Variant(3);
            if (e == "1+1") return rtl::Variant(2);
            if (e == "Price") return rtl::Variant(1234.5);
            if (e == "Flag") return rtl::Variant(true);
            if (e == "NoFlag") return rtl::Variant(false);
            if (e == "Day") return rtl::Variant(rtl::EncodeDate(2026, 3, 7));
            if (e == "Page#") return rtl::Variant(page_);
            if (e == "Zero") return rtl::Variant(0);
            if (e == "ZeroF") return rtl::Variant(0.0);
            if (e == "ZeroText") return rtl::Variant("0");
            if (e == "Value") return value;
            if (e == "Value > 0") return rtl::Variant(value.AsDouble() > 0);
            return rtl::Variant(e);
        };
    }
    TqlrMemoView* Memo(const std::string& text)
    {
        auto* m = new TqlrMemoView(band);
        m->SetBounds(0, 0, 200, 20);
        m->SetText(text);
        return m;
    }
    std::string Run(TqlrMemoView* m)
    {
        m->BeforePrint();
        m->GetData();
        std::string s = m->Text();
        m->AfterPrint();
        return s;
    }
};

// Dark pixels' horizontal extent in a row band.
std::pair<int, int> InkColumns(gui::TBitmap& bmp, int top, int bottom)
{
    int lo = bmp.Width(), hi = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            gui::TColor c = bmp.Canvas()->Pixels(x, y);
            if ((c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128 && ((c >> 16) & 0xFF) < 128) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
    return {lo, hi};
}

void Clear(gui::TBitmap& bmp)
{
    bmp.Canvas()->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    bmp.Canvas()->Brush()->SetColor(gui::clWhite);
    bmp.Canvas()->FillRect(gui::TRect(0, 0, bmp.Width(), bmp.Height()));
}

// Saved for a person to look at when REPORT_TEST_PICTURES names a folder.
void Keep(gui::TBitmap& bmp, const std::string& name)
{
    if (const char* dir = std::getenv("REPORT_TEST_PICTURES")) {
        gui::TPngImage png;
        png.Assign(&bmp);
        rtl::TFileStream f(std::string(dir) + "/" + name, rtl::fmCreate);
        png.SaveToStream(f);
    }
}

} // namespace

TEST(ReportMemo, ExpressionsAndFormatsTable)
{
    struct Case {
        const char* text;
        const char* result;
    } cases[] = {
        {"Sum: [1+2]", "Sum: 3"},
        {"[Price #n%2.2f]", "1234.50"},
        {"[Price #n%2,2f]", "1234,50"},
        {"[Flag #bNo,Yes] [NoFlag #bNo,Yes]", "Yes No"},
        {"[Day #dd.mm.yyyy]", "7.03.2026"},
        {"[Zero] [ZeroF] [ZeroText]", "0 0 0"},
        {"[Price #n%d]", "1234"},
        {"[Price #nabc%]", "1234.5"},   // a format that does not fit: the plain text
        {"[Page#] / [TotalPages#]", "1 / [TotalPages#]"},
        {"a [1+[1+1]] b", "a 1+[1+1] b"},  // the stub evaluates the whole nested text
        {"no expression", "no expression"},
        // Never closed: the expression runs to the end less its last character.
        {"[unclosed", "unclose"},
    };
    for (const Case& c : cases) {
        Fixture f;
        EXPECT_EQ(f.Run(f.Memo(c.text)), c.result) << c.text;
    }
    Fixture f;
    auto* m = f.Memo("Sum: [1+2]");
    m->SetAllowExpressions(false);
    EXPECT_EQ(f.Run(m), "Sum: [1+2]");
    m->SetAllowExpressions(true);
    m->SetExpressionDelimiters("<,>");
    m->SetText("<1+1> and [1+1]");
    EXPECT_EQ(f.Run(m), "2 and [1+1]");
    // The template text comes back after the run.
    EXPECT_EQ(m->Text(), "<1+1> and [1+1]");
}

TEST(ReportMemo, HideZerosAndSuppressRepeated)
{
    Fixture f;
    auto* m = f.Memo("[Zero]|[ZeroF]|[ZeroText]");
    m->SetHideZeros(true);
    EXPECT_EQ(f.Run(m), "||0");

    auto* r = f.Memo("[Price]");
    r->SetSuppressRepeated(true);
    EXPECT_EQ(f.Run(r), "1234.5");
    EXPECT_EQ(f.Run(r), "");
    EXPECT_EQ(f.Run(r), "");
    r->ResetSuppress();
    EXPECT_EQ(f.Run(r), "1234.5");
}

TEST(ReportMemo, FormatDataDirectly)
{
    TqlrMemoView m(nullptr);
    TqlrFormat fmt;
    fmt.SetKind(TqlrFormatKind::fkNumeric);
    fmt.SetFormatStr("%2.2f");
    fmt.SetThousandSeparator(" ");
    EXPECT_EQ(m.FormatData(rtl::Variant::Null(), &fmt), "");
    EXPECT_EQ(m.FormatData(rtl::Variant(2.5), &fmt), "2.50");
    fmt.SetFormatStr("#,##0.0");
    EXPECT_EQ(m.FormatData(rtl::Variant(1234567.25), &fmt), "1 234 567.3");
    fmt.SetKind(TqlrFormatKind::fkText);
    EXPECT_EQ(m.FormatData(rtl::Variant(7), &fmt), "7");
}

TEST(ReportMemo, MacrosAndComponentText)
{
    Fixture f;
    auto* m = f.Memo("[Page#] / [TotalPages#]");
    m->BeforePrint();
    m->GetData();
    m->SetTotalPages(3);
    EXPECT_EQ(m->GetComponentText(), "1 / [TotalPages#]");
    m->ExtractMacros();
    EXPECT_EQ(m->Text(), "1 / 3");
    GlobalVariables().SetVariable("CopyName2", rtl::Variant("Copy"));
    m->SetText("[COPYNAME#]:[copyname#]");
    m->SetCopyNo(2);
    m->ExtractMacros();
    EXPECT_EQ(m->Text(), "Copy:[copyname#]");
    GlobalVariables().Clear();
}

TEST(ReportMemo, HighlightChangesFontAndColourOnlyWhileDrawing)
{
    Fixture f;
    auto* m = f.Memo("[Value]");
    m->SetColor(gui::clWhite);
    m->Highlight()->SetCondition("Value > 0");
    m->Highlight()->SetColor(gui::clYellow);
    m->Highlight()->Font()->SetSize(20);
    f.value = rtl::Variant(5);
    m->BeforePrint();
    m->GetData();
    EXPECT_TRUE(m->Highlight()->Active());
    // Measured with the highlight font: 20 points need more height.
    long double tall = m->CalcHeight();
    gui::TBitmap bmp(220, 40);
    Clear(bmp);
    m->Draw(bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(bmp.Canvas()->Pixels(150, 10), gui::clYellow);
    EXPECT_EQ(m->Color(), gui::clWhite);
    m->AfterPrint();
    f.value = rtl::Variant(-1);
    m->GetData();
    EXPECT_FALSE(m->Highlight()->Active());
    EXPECT_LT(m->CalcHeight(), tall);
}

TEST(ReportMemo, RotationKeepsItsSign)
{
    TqlrMemoView m(nullptr);
    m.SetRotation(450);
    EXPECT_EQ(m.Rotation(), 90);
    m.SetRotation(-90);
    EXPECT_EQ(m.Rotation(), -90);
}

TEST(ReportMemo, FlowToTakesTheRestWithoutEvaluatingAgain)
{
    Fixture f;
    auto* a = f.Memo("[1+1] line one\r\nline two\r\nline three [1+2]");
    a->SetHeight(20);  // one line of Arial 10 with spacing 2 and gaps
    auto* b = f.Memo("");
    a->SetFlowTo(b);
    a->BeforePrint();
    a->GetData();
    EXPECT_EQ(a->Text(), "2 line one");
    EXPECT_EQ(b->Text(), "line two\r\nline three 3\r\n");
    EXPECT_FALSE(b->AllowExpressions());
    delete b;
    EXPECT_EQ(a->FlowTo(), nullptr);
}

TEST(ReportMemo, DiffWritesTheText)
{
    TqlrMemoView a(nullptr), b(nullptr);
    EXPECT_EQ(a.Diff(&b), " u=\"\"");
    a.SetText("x & y\r\nz\r\n");
    a.SetHAlign(TqlrHAlign::haRight);
    a.SetLastParaBreak(true);
    EXPECT_EQ(a.Diff(&b), " HAlign=\"1\" u=\"x &#38; y&#13;&#10;z\" LastParaBreak=\"1\"");
    // The flags move on to the next part.
    EXPECT_TRUE(a.FirstParaBreak());
    EXPECT_FALSE(a.LastParaBreak());
}

TEST(ReportMemo, DrawingWithEachAlignment)
{
    Fixture f;
    gui::TBitmap bmp(220, 120);
    Clear(bmp);
    const TqlrHAlign aligns[] = {TqlrHAlign::haLeft, TqlrHAlign::haCenter, TqlrHAlign::haRight};
    std::pair<int, int> ink[3];
    for (int i = 0; i < 3; ++i) {
        auto* m = f.Memo("IIIII");
        m->SetBounds(10, 10 + 30 * i, 200, 24);
        m->SetHAlign(aligns[i]);
        m->SetIsPrinting(false);
        m->Draw(bmp.Canvas(), 1, 1, 0, 0);
        ink[i] = InkColumns(bmp, 10 + 30 * i, 34 + 30 * i);
    }
    auto* block = f.Memo("aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo");
    block->SetBounds(10, 100, 200, 20);
    block->SetHAlign(TqlrHAlign::haBlock);
    block->Draw(bmp.Canvas(), 1, 1, 0, 0);
    Keep(bmp, "memo_alignments.png");
    // Left: ink starts just inside the gap (2 units); right: ends at the
    // right edge less the gap; centre: balanced.
    EXPECT_GE(ink[0].first, 12);
    EXPECT_LE(ink[0].first, 14);
    EXPECT_GE(ink[2].second, 205);
    EXPECT_LE(ink[2].second, 211);
    int leftRoom = ink[1].first - 10, rightRoom = 210 - ink[1].second;
    EXPECT_LE(std::abs(leftRoom - rightRoom), 3);
    EXPECT_EQ(ink[0].second - ink[0].first, ink[2].second - ink[2].first);
}

TEST(ReportMemo, SymbolFontShowsGreekLetters)
{
    Fixture f;
    gui::TBitmap a(60, 40), b(60, 40);
    Clear(a);
    Clear(b);
    auto* symbol = f.Memo("D");
    symbol->Font()->SetName("Symbol");
    symbol->Font()->SetSize(16);
    symbol->SetBounds(0, 0, 60, 40);
    symbol->Draw(a.Canvas(), 1, 1, 0, 0);
    auto* greek = f.Memo("\xCE\x94");  // U+0394 in the font Symbol is drawn with
    greek->Font()->SetName("Tahoma");
    greek->Font()->SetSize(16);
    greek->SetBounds(0, 0, 60, 40);
    greek->Draw(b.Canvas(), 1, 1, 0, 0);
    int same = 0, inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            bool da = (a.Canvas()->Pixels(x, y) & 0xFF) < 128, db = (b.Canvas()->Pixels(x, y) & 0xFF) < 128;
            inked += da;
            same += da == db;
        }
    EXPECT_GT(inked, 10);
    EXPECT_EQ(same, 60 * 40);
    Keep(a, "memo_symbol_delta.png");
}

TEST(ReportMemo, DrawingAt600Dpi)
{
    // The same memo at scale 6.25: the text keeps its place in proportion.
    // A line goes out in one call, spread to the width the 600-dpi layout
    // gives it (the screen font's own advances differ), so both its ends
    // keep their place and a line that fills the memo is not cut by its edge.
    struct Case {
        const char* text;
        long double width;
        TqlrHAlign align;
    } cases[] = {
        {"Total 1234.50", 200, TqlrHAlign::haRight},
        {"Solar eclipse predictions from Besselian elements, checked against 1234.5", 510, TqlrHAlign::haLeft},
        {"Solar eclipse predictions from Besselian elements, checked against 1234.5", 510, TqlrHAlign::haRight},
        {"Solar eclipse predictions from Besselian elements, checked against 1234.5", 510, TqlrHAlign::haCenter},
    };
    for (const Case& c : cases) {
        Fixture f;
        const int w = static_cast<int>(c.width) + 20;
        gui::TBitmap small(w, 40), big(static_cast<int>(w * 6.25), 250);
        Clear(small);
        Clear(big);
        auto* m = f.Memo(c.text);
        m->SetBounds(10, 10, c.width, 20);
        m->SetHAlign(c.align);
        m->Draw(small.Canvas(), 1, 1, 0, 0);
        m->Draw(big.Canvas(), 6.25, 6.25, 0, 0);
        auto s = InkColumns(small, 0, 40);
        auto b = InkColumns(big, 0, 250);
        if (c.width == 200) Keep(big, "memo_600dpi.png");
        EXPECT_NEAR(b.second / 6.25, s.second, 2.0) << c.text << " " << static_cast<int>(c.align);
        EXPECT_NEAR(b.first / 6.25, s.first, 2.0) << c.text << " " << static_cast<int>(c.align);
    }
}

TEST(ReportMemo, BlockAlignmentJustifiesAllButTheLastLine)
{
    Fixture f;
    auto ink = [&f](bool wysiwyg, std::pair<int, int>& first, std::pair<int, int>& second) {
        gui::TBitmap bmp(220, 60);
        Clear(bmp);
        auto* m = f.Memo("aa bb cc dd ee ff gg hh ii jj kk ll mm");
        m->SetBounds(10, 10, 150, 40);
        m->SetHAlign(TqlrHAlign::haBlock);
        m->SetWysiwyg(wysiwyg);
        m->Draw(bmp.Canvas(), 1, 1, 0, 0);
        first = InkColumns(bmp, 12, 25);
        second = InkColumns(bmp, 27, 40);
        Keep(bmp, wysiwyg ? "memo_block.png" : "memo_block_plain.png");
    };
    std::pair<int, int> l1, l2, p1, p2;
    ink(true, l1, l2);
    // The first line reaches the right edge (160 less the gap), the last
    // one stays left.
    EXPECT_GE(l1.second, 155);
    EXPECT_LT(l2.second, 150);
    EXPECT_LE(l2.first, 14);
    // Without WYSIWYG nothing is justified.
    ink(false, p1, p2);
    EXPECT_LT(p1.second, l1.second - 3);
}

namespace {

// The text records of a memo drawn at 96 dpi onto a recording canvas.
std::vector<gui::TMetaRecord> TextRecords(TqlrMemoView* m)
{
    gui::TMetafile mf;
    {
        gui::TMetafileCanvas canvas(&mf, 300, 120);
        m->Draw(&canvas, 1, 1, 0, 0);
    }
    std::vector<gui::TMetaRecord> texts;
    for (const gui::TMetaRecord& r : mf.Records())
        if (r.Kind == gui::TMetaRecord::TKind::Text) texts.push_back(r);
    return texts;
}

} // namespace

TEST(ReportMemo, EachLineOrStyleRunIsOneTextCall)
{
    // Drawn a character at a time, the letters of a line sit on whole
    // pixels one by one and their spacing wobbles at 96 dpi; a line (a run
    // of one style; a word of justified text) goes out in one call.
    struct Case {
        const char* what;
        const char* text;
        TqlrHAlign align;
        bool html;
        long double charSpacing;
        std::vector<std::string> pieces;
    } cases[] = {
        {"left", "Type Altitude", TqlrHAlign::haLeft, false, 0, {"Type Altitude"}},
        {"right", "Type Altitude", TqlrHAlign::haRight, false, 0, {"Type Altitude"}},
        {"centre", "Type Altitude", TqlrHAlign::haCenter, false, 0, {"Type Altitude"}},
        {"two lines", "Type\r\nAltitude", TqlrHAlign::haLeft, false, 0, {"Type", "Altitude"}},
        {"style runs", "<b>Type</b> Altitude", TqlrHAlign::haLeft, true, 0, {"Type", " Altitude"}},
        {"justified words", "aa bb cc dd ee ff gg hh ii jj kk ll mm", TqlrHAlign::haBlock, false, 0,
         {"aa ", "bb ", "cc ", "dd ", "ee ", "ff ", "gg ", "hh ", "ii", "jj kk ll mm"}},
        // Spacing between the letters places every letter itself.
        {"letter spacing", "Type", TqlrHAlign::haLeft, false, 2, {"T", "y", "p", "e"}},
    };
    for (const Case& c : cases) {
        Fixture f;
        auto* m = f.Memo(c.text);
        m->SetBounds(10, 10, c.align == TqlrHAlign::haBlock ? 150 : 200, 40);
        m->SetHAlign(c.align);
        m->SetAllowHTMLTags(c.html);
        m->SetCharSpacing(c.charSpacing);
        const std::vector<gui::TMetaRecord> recs = TextRecords(m);
        std::vector<std::string> pieces;
        for (const gui::TMetaRecord& r : recs) pieces.push_back(r.Text);
        // The justified memo's first line fills the width; the words of
        // its last line are one piece.
        EXPECT_EQ(pieces, c.pieces) << c.what;
        if (recs.empty()) continue;
        // The line keeps its place: left at the gap, right at the right
        // edge less the gap, the centre in the middle.
        const gui::TRect& first = recs.front().Bounds;
        const gui::TRect& last = recs.back().Bounds;
        switch (c.align) {
        case TqlrHAlign::haLeft: EXPECT_NEAR(first.Left, 12, 1) << c.what; break;
        case TqlrHAlign::haRight: EXPECT_NEAR(last.Right, 208, 2) << c.what; break;
        case TqlrHAlign::haCenter: EXPECT_LE(std::abs((first.Left - 10) - (210 - last.Right)), 2) << c.what; break;
        case TqlrHAlign::haBlock:
            EXPECT_NEAR(first.Left, 12, 1) << c.what;
            EXPECT_NEAR(recs[recs.size() - 2].Bounds.Right, 158, 2) << c.what;   // "ii" ends the first line
            break;
        }
    }
}
