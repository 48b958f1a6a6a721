// Damaged and oversized markup: the engine neither crashes nor hangs, and
// measures, draws and hit-tests what it can.

#include <gtest/gtest.h>

#include <chrono>

#include "MarkupFixture.h"
#include "HangGuard.h"
#include "htmltext/GrdHTMLE.h"

using namespace htmltext;
using namespace markuptest;

namespace {

void RenderEveryWay(const std::string& m, int width = 300)
{
    for (TMarkupDialect d : {TMarkupDialect::mdPanel, TMarkupDialect::mdGrid}) {
        Canvas cv;
        TMarkupResult r;
        TMarkupOptions o;
        o.PointX = 20;
        o.PointY = 10;
        DrawMarkupText(d, cv.C(), m, gui::Rect(0, 0, width, 200), o, r);
        EXPECT_GT(r.YSize, 0);
        o.HotSpotCheck = true;
        o.WordWrap = false;
        DrawMarkupText(d, cv.C(), m, gui::Rect(0, 0, width, 200), o, r);
        MarkupToPlainText(d, m);
        InsertTagAroundMatches(d, m, "a", "hi", false);
    }
}

std::string Repeat(const std::string& s, std::size_t bytes)
{
    std::string out;
    out.reserve(bytes + s.size());
    while (out.size() < bytes) out += s;
    return out;
}

} // namespace

TEST(MarkupRobustness, BrokenMarkup)
{
    const char* cases[] = {
        "<", "<b", "a<", "a<b", "<b>bold never closed", "</b></i></u></font></a></p></z></sub>",
        "<font color=\"", "<font color=\"#\">x", "<font color=\"#GGHHII\">x", "<font size=\"99999\">x</font>",
        "<font size=-5>x", "<font face=\"\">x", "<a href=\"x>link", "<a>no href</a>", "<img>", "<img src=\"\">",
        "<img src=\"idx:-1\">", "<img src=\"file:///nonexistent.png\">", "<img src=\"res://nothing\">",
        "<ind x=\"-100\">a", "<ofs x=\"-100\">a", "<ofs x=\"2000000000\">a", "<p align=\"\" indent=\"-50\">a",
        "<r a=\"45\">rotated", "<r a=\"99999999\">x</r>", "&", "&amp", "&amp;amp;amp;", "&#65;&#x41;&nosuch;",
        "<#", "<#>", "<##>>>", "<li><li><li>", "<ul><ul><ul></ul></ul></ul></ul></ul>",
        "<control type=\"edit\" width=\"abc\">", "<control type=\"combo\" width=\"-5\" value=\"x\">",
        "<control width=\"10\" type=\"nosuch\">", "<body background=\"x://y\" bgcolor=\"clred\">",
        "<body bgcolor=\"#12\" bgcolorto=\"clBlue\" dir=\"v\">x", "<p bgcolor=\"clRed\" bgcolorto=\"\">x",
        "\xff\xfe\x00\x80 <b>\xc3</b>", "<e><shad><blink><hi>x", "<sub><sup>x</sup></sub>",
        "<ind x=\"99999999999\">a b<ind x=\"99999999999\">c", "<ofs x=\"99999999999\">a b c",
        "<p indent=\"99999999999\">a", "<img src=\"x\" width=\"99999999999\" height=\"99999999999\">a",
        "<control type=\"edit\" width=\"99999999999\">a",
    };
    for (const char* c : cases) {
        SCOPED_TRACE(c);
        RenderEveryWay(c);
        RenderEveryWay(c, 1);
    }
}

TEST(MarkupRobustness, HugePositionsAreHeldAtTheCoordinateLimit)
{
    // Text after a runaway indent still adds its width to the line without
    // overflowing: the measured width ends just past the limit.
    for (TMarkupDialect d : {TMarkupDialect::mdPanel, TMarkupDialect::mdGrid}) {
        Canvas cv;
        TMarkupResult r;
        TMarkupOptions o;
        o.WordWrap = false;
        DrawMarkupText(d, cv.C(), "<ind x=\"99999999999\">text", gui::Rect(0, 0, 300, 200), o, r);
        EXPECT_GT(r.XSize, kMarkupCoordinateLimit);
        EXPECT_LT(r.XSize, kMarkupCoordinateLimit + 1000);
    }
    EXPECT_EQ(ReadMarkupCoordinate("-99999999999"), -kMarkupCoordinateLimit);
    EXPECT_EQ(ReadMarkupCoordinate("123"), 123);
}

TEST(MarkupRobustness, OneMegabyteOfMarkupInBoundedTime)
{
    const std::size_t mb = 1 << 20;
    const std::string texts[] = {
        Repeat("word ", mb),
        Repeat("x", mb),
        Repeat("<", mb),
        Repeat("<b>a</b>", mb),
        Repeat("&amp;", mb / 2) + Repeat("amp;", mb / 2),
        Repeat("<li>a", mb),
        Repeat("<br>", mb / 4),
        "<a href=\"" + Repeat("x", mb),
        Repeat("<font color=\"clRed\" size=\"3\">", mb),
    };
    for (const std::string& t : texts) {
        auto start = std::chrono::steady_clock::now();
        RenderEveryWay(t);
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // A guard against quadratic work, not a speed test: about 4 s on an
        // idle machine, and CTest runs many tests side by side.
        EXPECT_LT(s, tectest::HangGuardSeconds(120.0)) << t.substr(0, 20);
    }
    // Measuring the whole of a long text lays out every line.
    Canvas cv;
    TMarkupOptions o;
    o.HeightCheck = true;
    TMarkupResult r;
    DrawMarkupText(TMarkupDialect::mdGrid, cv.C(), Repeat("<br>", 4 * 40000), gui::Rect(0, 0, 100, 50), o, r);
    EXPECT_EQ(r.YSize, 40000 * kLineH);
}
