// Layout, hit testing and drawing of the markup engine with a fixed-metrics
// font (12 pixels per character, 23 pixels per line).

#include <gtest/gtest.h>

#include "MarkupFixture.h"
#include "htmltext/GrdHTMLE.h"
#include "htmltext/PictureContainer.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/PngImage.h"

using namespace htmltext;
using namespace markuptest;
using gui::Rect;

namespace {

struct LayoutCase {
    const char* name;
    TMarkupDialect dialect;
    const char* markup;
    int width;          // of the rectangle given to the engine
    bool wordWrap;
    int xSize, ySize;
    const char* plain;
};

const TMarkupDialect P = TMarkupDialect::mdPanel;
const TMarkupDialect G = TMarkupDialect::mdGrid;
constexpr int W = kCharW;
constexpr int H = kLineH;

// Expected sizes are worked out from the font's fixed metrics: the line
// rectangle is the given one less its first pixel column.
const LayoutCase kCases[] = {
    {"grid width is the line itself", G, "abc", 300, true, 3 * W, H, "abc"},
    {"panel width is two pixels wider", P, "abc", 300, true, 3 * W + 2, H, "abc"},
    {"trailing blank not counted", G, "abc ", 300, true, 3 * W, H, "abc "},
    {"empty markup has the height of a line", G, "", 300, true, 0, H, ""},
    // line 100 wide: "aaa " + "bbb " = 96 < 100 fits, "ccc" does not.
    {"wrap between words", G, "aaa bbb ccc", 101, true, 7 * W, 2 * H, "aaa bbb ccc"},
    {"over-long word overhangs on its own line", G, "abcdefghij xy", 61, true, 10 * W, 2 * H, "abcdefghij xy"},
    {"word split by a tag stays together in the grid", G, "aaa bb<b>bb</b>", 81, true, 8 * W, H, "aaa bbbb"},
    {"word split by a tag may break in the panel", P, "aaa bb<b>bb</b>", 81, true, 6 * W + 2, 2 * H, "aaa bbbb"},
    {"two list items on one line give two lines", G, "<li>a<li>b", 300, true, W, 2 * H, "ab"},
    {"hidden text takes no width but counts as text", G, "a<z>bbb</z>c", 300, true, 2 * W, H, "abbbc"},
    {"BR and carriage return break the line", G, "a<br>bb\rc", 300, true, 2 * W, 3 * H, "a\rbb\rc"},
    {"line feed alone does not break", G, "a\nb", 300, true, 2 * W, H, "ab"},
    {"HR ends the line", G, "ab<hr>c", 300, true, 2 * W, 2 * H, "abc"},
    {"closing P ends the line, opening P does not", G, "a<p>b</p>c", 300, true, 2 * W, 2 * H, "abc"},
    {"IND moves to its position", G, "a<ind x=\"100\">b", 300, true, 100 + W, H, "ab"},
    {"IND not a whole number is ignored", G, "a<ind x=\"100px\">b", 300, true, 2 * W, H, "ab"},
    {"OFS offsets the panel line", P, "<ofs x=\"50\">a", 300, true, 50 + W + 2, H, "a"},
    {"OFS is ignored in the grid", G, "<ofs x=\"50\">a", 300, true, W, H, "a"},
    {"UL ends the line and indents items", G, "<ul><li>a</ul>", 300, true, 2 * W, 2 * H, "a"},
    {"subscript adds a quarter line below", G, "a<sub>b</sub>", 300, true, 2 * W, H + H / 4, "ab"},
    {"superscript adds a quarter line above", G, "a<sup>b</sup>", 300, true, 2 * W, H + H / 4, "ab"},
    {"subscript does not carry across a line break", G, "<sub>a<br>b", 300, true, W, H + H / 4 + H, "a\rb"},
    {"unknown tag BOX is removed", G, "<box>a<big>b", 300, true, 2 * W, H, "ab"},
    {"entity amp shows one ampersand", G, "a&amp;b", 300, true, 3 * W, H, "a&&b"},
    {"lt and gt never start a tag", G, "&lt;b&gt;", 300, true, 3 * W, H, "<b>"},
    {"nbsp joins words", G, "aa&nbsp;bb cc", 61, true, 6 * W, 2 * H, "aa bb cc"},
    {"quot and named entities", G, "&quot;&euro;&copy;&QUOT;", 300, true, 4 * W, H, "\"€©\""},
    {"broken entity stays text", G, "x&am;", 300, true, 4 * W, H, "x&am;"},
    {"escaped bracket text shows as written", G, "<#b>x", 300, true, 3 * W, H, "#bx"},
    {"panel leaves prefixes alone around a free ampersand", P, "a & b", 300, true, 5 * W + 2, H, "a & b"},
    {"font size 5 is 16 points", G, "<font size=5>a</font>b", 300, true, -1, -1, "ab"},
    {"word wrap off keeps a line to its line-ending tag", G, "aaaa bbbb cccc<br>d", 61, false, 14 * W, 2 * H, "aaaa bbbb cccc\rd"},
    {"grid without wrap drops what follows a cut first run", G, "<ind x=\"50\">aaaa<b>bb</b><br>c", 61, false, 50 + 4 * W, H, "aaaa"},
};

class LayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, Extents)
{
    const LayoutCase& tc = GetParam();
    Canvas cv;
    TMarkupOptions o;
    o.HeightCheck = true;
    o.WordWrap = tc.wordWrap;
    TMarkupResult r;
    DrawMarkupText(tc.dialect, cv.C(), tc.markup, Rect(0, 0, tc.width, 200), o, r);
    if (tc.xSize >= 0) {
        EXPECT_EQ(r.XSize, tc.xSize);
        EXPECT_EQ(r.YSize, tc.ySize);
    } else {
        // Measured against the same font at the size the tag names.
        gui::TBitmap b(10, 10);
        UseFixedFont(*b.Canvas());
        b.Canvas()->Font()->SetSize(16);
        EXPECT_EQ(r.YSize, b.Canvas()->TextHeight("gh"));
        EXPECT_EQ(r.XSize, b.Canvas()->TextWidth("a") + W);
    }
    EXPECT_EQ(r.PlainText, tc.plain);
    // Measuring only, drawing and hot-spot checking lay out alike.
    TMarkupResult d;
    o.HeightCheck = false;
    DrawMarkupText(tc.dialect, cv.C(), tc.markup, Rect(0, 0, tc.width, 200), o, d);
    EXPECT_EQ(d.XSize, r.XSize);
    EXPECT_EQ(d.YSize, r.YSize);
    EXPECT_EQ(cv.C().Font()->Height(), -20) << "the canvas font is given back";
}

INSTANTIATE_TEST_SUITE_P(Markup, LayoutTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string n;
                             for (const char* p = info.param.name; *p; ++p)
                                 n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return n;
                         });

TEST(MarkupLayout, RectangleStopsAfterTheLastLineThatFits)
{
    Canvas cv;
    TMarkupOptions o;
    TMarkupResult r;
    // 50 pixels hold two lines of 23: a third would end below the bottom.
    DrawMarkupText(G, cv.C(), "a<br>b<br>c<br>d", Rect(0, 0, 100, 50), o, r);
    EXPECT_EQ(r.YSize, 2 * H);
    EXPECT_EQ(r.PlainText, "a\rb\r");
    // Too small for one line: the first line is still laid out.
    DrawMarkupText(G, cv.C(), "a<br>b", Rect(0, 0, 100, 5), o, r);
    EXPECT_EQ(r.YSize, H);
    // The height check measures everything.
    o.HeightCheck = true;
    DrawMarkupText(G, cv.C(), "a<br>b<br>c<br>d", Rect(0, 0, 100, 5), o, r);
    EXPECT_EQ(r.YSize, 4 * H);
}

// ------------------------------------------------------------------ anchors

struct HitCase {
    const char* name;
    TMarkupDialect dialect;
    const char* markup;
    int x, y;
    bool hotSpot;
    bool hit;
    const char* anchor;
    int mouseLink;
};

// "x" covers 1..13, the anchor text "link" 13..61 of the first line (0..23).
const HitCase kHits[] = {
    {"panel anchor text", P, "x<a href=\"t\">link</a>y", 20, 10, true, true, "t", 1},
    {"left edge of the anchor", P, "x<a href=\"t\">link</a>y", 13, 10, true, true, "t", 1},
    {"right edge of the anchor", P, "x<a href=\"t\">link</a>y", 61, 10, true, true, "t", 1},
    {"just right of the anchor", P, "x<a href=\"t\">link</a>y", 62, 10, true, false, "", -1},
    {"left of the anchor", P, "x<a href=\"t\">link</a>y", 5, 10, true, false, "", -1},
    {"below the line", P, "x<a href=\"t\">link</a>y", 20, 30, true, false, "", -1},
    {"drawing mode never hits text", P, "x<a href=\"t\">link</a>y", 20, 10, false, false, "t", 1},
    {"panel target is the first quoted value", P, "<a title=\"q\" href=\"t\">link</a>", 20, 10, true, true, "q", 1},
    {"grid target is HREF", G, "<a title=\"q\" href=\"t\">link</a>", 20, 10, true, true, "t", 1},
    {"grid anchor without HREF is no link", G, "<a title=\"q\">link</a>", 20, 10, true, false, "", -1},
    {"second anchor", P, "<a href=\"1\">ab</a> <a href=\"2\">cd</a>", 40, 10, true, true, "2", 2},
    {"anchor on the second line", G, "top<br>x<a href=\"u\">link</a>", 20, 30, true, true, "u", 1},
    {"right-aligned anchor", G, "<p align=\"right\"><a href=\"r\">ab</a></p>", 290, 10, true, true, "r", 1},
    {"right-aligned anchor is not at the left", G, "<p align=\"right\"><a href=\"r\">ab</a></p>", 10, 10, true, false, "", -1},
    {"centred anchor", G, "<p align=\"center\"><a href=\"c\">ab</a></p>", 150, 10, true, true, "c", 1},
};

class HitTable : public ::testing::TestWithParam<HitCase> {};

TEST_P(HitTable, Anchors)
{
    const HitCase& tc = GetParam();
    Canvas cv;
    TMarkupOptions o;
    o.PointX = tc.x;
    o.PointY = tc.y;
    o.HotSpotCheck = tc.hotSpot;
    TMarkupResult r;
    bool hit = DrawMarkupText(tc.dialect, cv.C(), tc.markup, Rect(0, 0, 301, 100), o, r);
    EXPECT_EQ(hit, tc.hit);
    if (tc.hit) {
        EXPECT_EQ(r.AnchorValue, tc.anchor);
        EXPECT_EQ(r.MouseLink, tc.mouseLink);
    }
}

INSTANTIATE_TEST_SUITE_P(Markup, HitTable, ::testing::ValuesIn(kHits),
                         [](const auto& info) {
                             std::string n;
                             for (const char* p = info.param.name; *p; ++p)
                                 n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return n;
                         });

TEST(MarkupAnchors, CountTitleHoverRectangleAndFocus)
{
    Canvas cv;
    TMarkupOptions o;
    o.PointX = 20;
    o.PointY = 10;
    o.HotSpotCheck = true;
    TMarkupResult r;
    ASSERT_TRUE(DrawMarkupText(G, cv.C(), "x<a href=\"t\" title=\"Tip\">link</a> <a href=\"u\">b</a>",
                               Rect(0, 0, 301, 100), o, r));
    EXPECT_EQ(r.AnchorCount, 2);
    EXPECT_EQ(r.AnchorTitle, "Tip");
    EXPECT_EQ(r.HoverRect, Rect(13, 0, 61, 23));

    // The focused anchor's target is reported and its outline drawn.
    TMarkupOptions d;
    d.FocusIndex = 1;
    TMarkupResult f;
    DrawMarkupText(P, cv.C(), "<a href=\"1\">ab</a> <a href=\"2\">cd</a>", Rect(0, 0, 301, 100), d, f);
    EXPECT_EQ(f.FocusAnchorValue, "2");
    // The dotted outline: inverted pixels around the second anchor only.
    EXPECT_GT(CountInk(cv.bmp, Rect(36, 0, 62, 1)), 5);
    EXPECT_EQ(CountInk(cv.bmp, Rect(0, 0, 30, 1)), 0);
}

TEST(MarkupAnchors, ImageInsideAnchorHitsInEitherMode)
{
    Canvas cv;
    TPictureContainer pc(nullptr);
    gui::TBitmap b(20, 30);
    rtl::TMemoryStream m;
    b.SaveToStream(m);
    m.SetPosition(0);
    TPictureItem* item = pc.Items()->Add();
    item->SetName("Pic");
    item->Picture()->LoadFromStream(m);
    TMarkupOptions o;
    o.PictureContainer = &pc;
    o.PointX = 10;
    o.PointY = 25;   // beside no text, on the image
    TMarkupResult r;
    EXPECT_TRUE(DrawMarkupText(P, cv.C(), "<a href=\"img\"><img src=\"pic\"></a>x", Rect(0, 0, 301, 100), o, r));
    EXPECT_EQ(r.AnchorValue, "img");
    EXPECT_EQ(r.YSize, 30);
    EXPECT_EQ(r.XSize, 20 + W + 2);
    // On the tall line, above the text band but beside the text: no hit.
    o.HotSpotCheck = true;
    o.PointX = 26;
    o.PointY = 3;
    r = {};
    EXPECT_FALSE(DrawMarkupText(P, cv.C(), "<a href=\"img\"><img src=\"pic\">x</a>", Rect(0, 0, 301, 100), o, r));
}

// ------------------------------------------------------------------ images

TEST(MarkupImages, SourcesSizesAndPlacement)
{
    Canvas cv;
    gui::TImageList il;
    il.SetWidth(16);
    il.SetHeight(16);
    gui::TBitmap strip(32, 16);
    il.Add(&strip);
    TMarkupOptions o;
    o.Images = &il;
    o.HeightCheck = true;
    TMarkupResult r;
    DrawMarkupText(G, cv.C(), "<img src=\"idx:1\">a", Rect(0, 0, 301, 100), o, r);
    EXPECT_EQ(r.XSize, 16 + W);
    // A number equal to the count draws nothing and takes no room.
    DrawMarkupText(G, cv.C(), "<img src=\"idx:2\">a", Rect(0, 0, 301, 100), o, r);
    EXPECT_EQ(r.XSize, W);
    // Shell icons take no room here.
    DrawMarkupText(G, cv.C(), "<img src=\"ssys:readme.txt\">a", Rect(0, 0, 301, 100), o, r);
    EXPECT_EQ(r.XSize, W);
    // WIDTH and HEIGHT both given: that size; one alone: natural size.
    DrawMarkupText(G, cv.C(), "<img src=\"idx:0\" width=\"40\" height=\"30\">", Rect(0, 0, 301, 100), o, r);
    EXPECT_EQ(r.XSize, 16);   // an image-list picture keeps the list's size
    // An image that does not fit after text goes to the next line; one wider
    // than the line alone is placed anyway.
    DrawMarkupText(G, cv.C(), "aaaa<img src=\"idx:0\">", Rect(0, 0, 61, 100), o, r);
    EXPECT_EQ(r.YSize, 2 * H);
    DrawMarkupText(G, cv.C(), "<img src=\"idx:0\">", Rect(0, 0, 11, 100), o, r);
    EXPECT_EQ(r.YSize, H);
    EXPECT_EQ(r.XSize, 16);
}

TEST(MarkupImages, AlignAndWrap)
{
    Canvas cv;
    TPictureContainer pc(nullptr);
    gui::TBitmap b(10, 50);
    rtl::TMemoryStream m;
    b.SaveToStream(m);
    m.SetPosition(0);
    TPictureItem* item = pc.Items()->Add();
    item->SetName("tall");
    item->Picture()->LoadFromStream(m);
    TMarkupOptions o;
    o.PictureContainer = &pc;
    o.HeightCheck = true;
    TMarkupResult r;
    DrawMarkupText(P, cv.C(), "a<img src=\"tall\">", Rect(0, 0, 301, 100), o, r);
    EXPECT_EQ(r.YSize, 50);
    DrawMarkupText(P, cv.C(), "a<img src=\"tall\" wrap>", Rect(0, 0, 301, 100), o, r);
    EXPECT_EQ(r.YSize, H);
    // Text aligned to the image's top is drawn in the top band of the line.
    TMarkupOptions d;
    d.PictureContainer = &pc;
    Canvas top;
    DrawMarkupText(G, top.C(), "<img src=\"tall\" align=\"top\">xx", Rect(0, 0, 301, 100), d, r);
    EXPECT_GT(CountInk(top.bmp, Rect(12, 0, 40, H)), 0);
    EXPECT_EQ(CountInk(top.bmp, Rect(12, H + 2, 40, 50)), 0);
    Canvas bottom;
    DrawMarkupText(G, bottom.C(), "<img src=\"tall\">xx", Rect(0, 0, 301, 100), d, r);
    EXPECT_EQ(CountInk(bottom.bmp, Rect(12, 0, 40, 50 - H)), 0);
    EXPECT_GT(CountInk(bottom.bmp, Rect(12, 50 - H, 40, 50)), 0);
}

// ------------------------------------------------------------------ drawing

TEST(MarkupDrawing, ColoursByNameAndByHex)
{
    for (const char* m : {"<font color=\"clRed\"><b>XX</b></font>", "<font color=\"#FF0000\"><b>XX</b></font>",
                          "<FONT COLOR=\"#ff0000\"><b>XX</b></font>"}) {
        Canvas cv;
        TMarkupResult r;
        DrawMarkupText(G, cv.C(), m, Rect(0, 0, 301, 100), {}, r);
        EXPECT_GT(CountColor(cv.bmp, Rect(0, 0, 40, 23), gui::RGB(255, 0, 0)), 5) << m;
    }
    Canvas blue;
    TMarkupResult r;
    DrawMarkupText(G, blue.C(), "<font color=\"#0000FF\"><b>XX</b></font>", Rect(0, 0, 301, 100), {}, r);
    EXPECT_GT(CountColor(blue.bmp, Rect(0, 0, 40, 23), gui::RGB(0, 0, 255)), 5);
    EXPECT_EQ(CountColor(blue.bmp, Rect(0, 0, 40, 23), gui::RGB(255, 0, 0)), 0);
}

TEST(MarkupDrawing, BackgroundsHighlightRuleAndErrorMark)
{
    {
        Canvas cv;
        TMarkupResult r;
        DrawMarkupText(G, cv.C(), "<body bgcolor=\"clYellow\">a", Rect(10, 10, 110, 60), {}, r);
        EXPECT_EQ(cv.C().Pixels(105, 55), gui::RGB(255, 255, 0));
        EXPECT_EQ(cv.C().Pixels(112, 55), gui::clWhite);
    }
    {
        Canvas cv;
        TMarkupResult r;
        DrawMarkupText(P, cv.C(), "<body bgcolor=\"#000000\" bgcolorto=\"#FFFFFF\">", Rect(0, 0, 64, 20), {}, r);
        EXPECT_EQ(cv.C().Pixels(0, 5), gui::RGB(0, 0, 0));
        EXPECT_LT(gui::GetRValue(cv.C().Pixels(63, 5)), 255);   // the end colour is never reached
        EXPECT_GT(gui::GetRValue(cv.C().Pixels(63, 5)), 240);
    }
    {
        Canvas cv;
        TMarkupResult r;
        DrawMarkupText(G, cv.C(), "a<hi>bb</hi>c", Rect(0, 0, 301, 100), {}, r);
        gui::TColor hi = gui::ColorToRGB(gui::clHighlight);
        EXPECT_GT(CountColor(cv.bmp, Rect(13, 0, 37, 23), hi), 100);
        EXPECT_EQ(CountColor(cv.bmp, Rect(37, 0, 60, 23), hi), 0);
    }
    {
        Canvas cv;
        TMarkupResult r;
        DrawMarkupText(G, cv.C(), "ab<hr>c", Rect(0, 0, 101, 100), {}, r);
        EXPECT_EQ(CountColor(cv.bmp, Rect(1, 24, 101, 25), gui::clBlack), 100);
    }
    {
        Canvas cv;
        TMarkupResult r;
        DrawMarkupText(G, cv.C(), "<e>abc</e> def", Rect(0, 0, 301, 100), {}, r);
        EXPECT_GT(CountColor(cv.bmp, Rect(0, 20, 37, 26), gui::RGB(255, 0, 0)), 10);
        EXPECT_EQ(CountColor(cv.bmp, Rect(49, 20, 100, 26), gui::RGB(255, 0, 0)), 0);
    }
    {
        Canvas cv;
        TMarkupResult r;
        DrawMarkupText(G, cv.C(), "<p bgcolor=\"clAqua\">a</p>b", Rect(0, 0, 101, 100), {}, r);
        EXPECT_EQ(cv.C().Pixels(90, 10), gui::RGB(0, 255, 255));
        EXPECT_EQ(cv.C().Pixels(90, 30), gui::clWhite);
    }
}

TEST(MarkupDrawing, HiddenBlinkAndSelection)
{
    Canvas cv;
    TMarkupResult r;
    DrawMarkupText(G, cv.C(), "<z>hidden</z>", Rect(0, 0, 301, 100), {}, r);
    EXPECT_EQ(CountInk(cv.bmp, Rect(0, 0, 301, 100)), 0);
    // Blink phase off: the text takes the background (white) colour.
    DrawMarkupText(G, cv.C(), "<blink>xx</blink>", Rect(0, 0, 301, 100), {}, r);
    EXPECT_EQ(CountInk(cv.bmp, Rect(0, 0, 301, 100)), 0);
    TMarkupOptions o;
    o.BlinkPhase = true;
    DrawMarkupText(G, cv.C(), "<blink>xx</blink>", Rect(0, 0, 301, 100), o, r);
    EXPECT_GT(CountInk(cv.bmp, Rect(0, 0, 301, 100)), 0);
    // Selected text keeps its colour: FONT COLOR is not applied.
    Canvas sel;
    o.Selected = true;
    DrawMarkupText(G, sel.C(), "<font color=\"clRed\"><b>XX</b></font>", Rect(0, 0, 301, 100), o, r);
    EXPECT_EQ(CountColor(sel.bmp, Rect(0, 0, 40, 23), gui::RGB(255, 0, 0)), 0);
}

TEST(MarkupDrawing, GridDrawsACutFirstRunWithEllipsis)
{
    Canvas cv;
    TMarkupOptions o;
    o.WordWrap = false;
    TMarkupResult r;
    DrawMarkupText(G, cv.C(), "abcdefghijklmnop", Rect(0, 0, 61, 30), o, r);
    EXPECT_GT(CountInk(cv.bmp, Rect(0, 0, 61, 30)), 0);
    EXPECT_EQ(CountInk(cv.bmp, Rect(61, 0, 300, 30)), 0);
}

TEST(MarkupDrawing, EngineGivesTheCanvasBack)
{
    Canvas cv;
    cv.C().Brush()->SetColor(gui::clAqua);
    cv.C().Pen()->SetColor(gui::clRed);
    cv.C().Pen()->SetWidth(3);
    TMarkupResult r;
    DrawMarkupText(G, cv.C(), "<font face=\"Arial\" color=\"clBlue\" size=\"5\"><b><i>x</i></b><hi>y<p bgcolor=\"clRed\">z",
                   Rect(0, 0, 301, 100), {}, r);
    EXPECT_EQ(cv.C().Brush()->Color(), gui::clAqua);
    EXPECT_EQ(cv.C().Pen()->Color(), gui::clRed);
    EXPECT_EQ(cv.C().Pen()->Width(), 3);
    EXPECT_EQ(cv.C().Font()->Name(), "Courier New");
    EXPECT_EQ(cv.C().Font()->Color(), gui::clBlack);
    EXPECT_TRUE(cv.C().Font()->Style().Empty());
}

// ------------------------------------------------------------------ inline controls

TEST(MarkupControls, LayoutAndHitInTheGrid)
{
    Canvas cv;
    TMarkupOptions o;
    o.HotSpotCheck = true;
    o.PointX = 30;
    o.PointY = 10;
    TMarkupResult r;
    const char* m = "a<control type=\"edit\" id=\"e1\" value=\"xy\" width=\"50\">b<control type=\"check\" id=\"c\" value=\"TRUE\" width=\"1\">";
    ASSERT_TRUE(DrawMarkupText(G, cv.C(), m, Rect(0, 0, 301, 100), o, r));
    EXPECT_EQ(r.AnchorValue, "ctrl");
    EXPECT_EQ(r.ControlID, "e1");
    EXPECT_EQ(r.ControlType, "EDIT");
    EXPECT_EQ(r.ControlValue, "xy");
    EXPECT_EQ(r.ControlRect, Rect(13, 0, 63, H + 6));
    EXPECT_EQ(r.XSize, W + 50 + W + 16);
    EXPECT_EQ(r.YSize, H + 6);
    // With a control ID given, that control is reported wherever the point is.
    o.PointX = -50;
    r = {};
    r.ControlID = "c";
    ASSERT_TRUE(DrawMarkupText(G, cv.C(), m, Rect(0, 0, 301, 100), o, r));
    EXPECT_EQ(r.ControlType, "CHECK");
    // A control without WIDTH is ignored; the panel ignores them all.
    TMarkupOptions h;
    h.HeightCheck = true;
    DrawMarkupText(G, cv.C(), "a<control type=\"edit\" id=\"e\">", Rect(0, 0, 301, 100), h, r);
    EXPECT_EQ(r.XSize, W);
    DrawMarkupText(P, cv.C(), m, Rect(0, 0, 301, 100), h, r);
    EXPECT_EQ(r.XSize, 2 * W + 2);
}

} // namespace

namespace {

// A container holding one picture of w x h in a plain colour.
struct OnePicture {
    TPictureContainer pc{nullptr};
    OnePicture(const char* name, int w, int h, gui::TColor color)
    {
        gui::TBitmap b(w, h);
        b.Canvas()->Brush()->SetColor(color);
        b.Canvas()->FillRect(Rect(0, 0, w, h));
        rtl::TMemoryStream m;
        b.SaveToStream(m);
        m.SetPosition(0);
        TPictureItem* item = pc.Items()->Add();
        item->SetName(name);
        item->Picture()->LoadFromStream(m);
    }
};

} // namespace

TEST(MarkupImages, BackgroundTilesAreCutAtTheRectangle)
{
    OnePicture red("tile", 10, 10, gui::RGB(255, 0, 0));
    Canvas cv;
    TMarkupOptions o;
    o.PictureContainer = &red.pc;
    TMarkupResult r;
    DrawMarkupText(P, cv.C(), "<body background=\"tile\">", Rect(5, 5, 30, 30), o, r);
    EXPECT_EQ(cv.C().Pixels(5, 5), gui::RGB(255, 0, 0));
    EXPECT_EQ(cv.C().Pixels(29, 29), gui::RGB(255, 0, 0));   // third tile, cut
    EXPECT_EQ(cv.C().Pixels(30, 29), gui::clWhite);
    EXPECT_EQ(cv.C().Pixels(4, 10), gui::clWhite);
}

TEST(MarkupImages, AltPictureWhileHoveredInsideAnAnchor)
{
    OnePicture pics("off", 20, 20, gui::RGB(0, 0, 255));
    gui::TBitmap on(20, 20);
    on.Canvas()->Brush()->SetColor(gui::RGB(0, 255, 0));
    on.Canvas()->FillRect(Rect(0, 0, 20, 20));
    rtl::TMemoryStream m;
    on.SaveToStream(m);
    m.SetPosition(0);
    TPictureItem* item = pics.pc.Items()->Add();
    item->SetName("on");
    item->Picture()->LoadFromStream(m);
    const char* markup = "<a href=\"x\"><img src=\"off\" alt=\"on\"></a>";
    TMarkupOptions o;
    o.PictureContainer = &pics.pc;
    o.PointX = 200;
    o.PointY = 200;
    Canvas away;
    TMarkupResult r;
    DrawMarkupText(P, away.C(), markup, Rect(0, 0, 100, 50), o, r);
    EXPECT_EQ(away.C().Pixels(10, 10), gui::RGB(0, 0, 255));
    o.PointX = 10;
    o.PointY = 10;
    Canvas over;
    DrawMarkupText(P, over.C(), markup, Rect(0, 0, 100, 50), o, r);
    EXPECT_EQ(over.C().Pixels(10, 10), gui::RGB(0, 255, 0));
}

TEST(MarkupDrawing, PanelWithoutWrapSkipsRunsAtTheRightEdge)
{
    Canvas cv;
    TMarkupOptions o;
    o.WordWrap = false;
    TMarkupResult r;
    // The second run starts at 61, within a "w" (12) of the right edge 70.
    DrawMarkupText(P, cv.C(), "aaaaa<b>bbbbb</b>", Rect(0, 0, 70, 30), o, r);
    EXPECT_GT(CountInk(cv.bmp, Rect(0, 0, 60, 30)), 0);
    EXPECT_EQ(CountInk(cv.bmp, Rect(61, 0, 300, 30)), 0);
}
