// The font service: fonts found as the screen draws them, their widths
// checked against the published metrics of the faces they stand in for,
// shaping with right-to-left runs, and subsets that keep glyph numbers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/gui/FontService.h"

using namespace gui;

namespace {

// Width in thousandths of an em, as font metric files give them.
int PerMille(const TFontProgram& f, char32_t ch)
{
    return static_cast<int>(std::lround(f.GlyphAdvance(f.GlyphIndex(ch)) * 1000.0 / f.UnitsPerEm()));
}

// The sfnt table directory: offset and length of a table, (0, 0) when absent.
std::pair<uint32_t, uint32_t> Table(const std::vector<uint8_t>& font, const char* tag)
{
    auto u32 = [&](std::size_t o) {
        return uint32_t(font[o]) << 24 | uint32_t(font[o + 1]) << 16 | uint32_t(font[o + 2]) << 8 | font[o + 3];
    };
    const unsigned n = font.size() > 6 ? unsigned(font[4] << 8 | font[5]) : 0;
    for (unsigned i = 0; i < n && 12 + 16 * i + 16 <= font.size(); ++i) {
        const std::size_t rec = 12 + 16 * i;
        if (std::memcmp(font.data() + rec, tag, 4) == 0) return {u32(rec + 8), u32(rec + 12)};
    }
    return {0, 0};
}

} // namespace

TEST(FontService, ArialIsItsMetricTwinWithTheSameWidths)
{
    const auto arial = TFontProgram::Find("Arial", false, false);
    ASSERT_NE(arial, nullptr);
    EXPECT_EQ(arial->FamilyName(), "Liberation Sans");
    EXPECT_EQ(arial->PostScriptName(), "LiberationSans");
    EXPECT_EQ(arial->UnitsPerEm(), 2048);
    // The published widths of the Helvetica/Arial design, per mille of the em.
    const std::pair<char32_t, int> widths[] = {{'A', 667}, {' ', 278}, {'i', 222}, {'W', 944}, {'m', 833}, {'0', 556}};
    for (auto [ch, w] : widths) EXPECT_EQ(PerMille(*arial, ch), w) << char(ch);
    EXPECT_GT(arial->Metrics().Ascent, 0);
    EXPECT_LT(arial->Metrics().Descent, 0);
    EXPECT_GT(arial->Metrics().CapHeight, 0);
    EXPECT_EQ(arial->Metrics().ItalicAngle, 0);
    EXPECT_EQ(arial, TFontProgram::Find("ARIAL", false, false));   // cached per name and style

    const auto bold = TFontProgram::Find("Arial", true, false);
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(bold->PostScriptName(), "LiberationSans-Bold");
    EXPECT_EQ(PerMille(*bold, 'A'), 722);
    EXPECT_GE(bold->Metrics().Weight, 700);
    const auto italic = TFontProgram::Find("Arial", false, true);
    ASSERT_NE(italic, nullptr);
    EXPECT_LT(italic->Metrics().ItalicAngle, 0);

    // A family that is not installed falls back to the desktop's default.
    EXPECT_NE(TFontProgram::Find("No Such Family 4711", false, false), nullptr);
}

TEST(FontService, ShapingOrdersRightToLeftRuns)
{
    const auto f = TFontProgram::Find("Arial", false, false);
    ASSERT_NE(f, nullptr);
    const auto plain = f->Shape(u"Sun", false);
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_EQ(plain[0].Glyph, f->GlyphIndex('S'));
    EXPECT_EQ(plain[2].Cluster, 2);
    EXPECT_EQ(plain[1].Advance, f->GlyphAdvance(f->GlyphIndex('u')));

    // Latin then Hebrew in a left-to-right line: the Hebrew run reversed.
    const auto mixed = f->Shape(u"ab \u05D0\u05D1", false);
    ASSERT_EQ(mixed.size(), 5u);
    std::vector<int> clusters;
    for (const auto& g : mixed) clusters.push_back(g.Cluster);
    EXPECT_EQ(clusters, (std::vector<int>{0, 1, 2, 4, 3}));
    // A right-to-left line puts the Latin run last.
    const auto rtl = f->Shape(u"\u05D0\u05D1 ab", true);
    clusters.clear();
    for (const auto& g : rtl) clusters.push_back(g.Cluster);
    EXPECT_EQ(clusters.front(), 3);
    EXPECT_EQ(clusters.back(), 0);
    EXPECT_TRUE(f->Shape(u"", false).empty());
}

TEST(FontService, SubsetsKeepGlyphNumbers)
{
    const auto f = TFontProgram::Find("Arial", false, false);
    ASSERT_NE(f, nullptr);
    const std::vector<uint8_t> whole = f->ProgramBytes();
    const std::vector<uint8_t> part = f->Subset({f->GlyphIndex('S'), f->GlyphIndex('u'), f->GlyphIndex('n')});
    ASSERT_FALSE(part.empty());
    EXPECT_LT(part.size(), whole.size() / 4);
    const auto [maxp, maxpLength] = Table(part, "maxp");
    ASSERT_GT(maxpLength, 6u);
    // Glyph numbers stay: the subset counts up to the highest glyph kept.
    const int highest = std::max({f->GlyphIndex('S'), f->GlyphIndex('u'), f->GlyphIndex('n')});
    EXPECT_EQ(int(part[maxp + 4] << 8 | part[maxp + 5]), highest + 1);
    EXPECT_GT(Table(part, "glyf").second, 0u);
    EXPECT_LT(Table(part, "glyf").second, Table(whole, "glyf").second / 10);
}
