// Colour conversions and tick spacing against the values their definition
// states (sectors, ties, clamping, rounding halves to even).
#include <gtest/gtest.h>

#include "chart/PlotUtils.h"

using namespace chart;

namespace {

struct HsvCase {
    double h, s, v;
    int r, g, b;
};

TEST(HsvToRgb, SectorsClampingAndRounding)
{
    const HsvCase cases[] = {
        {0, 1, 1, 255, 0, 0},        // red
        {360, 1, 1, 255, 0, 0},      // 360 is not wrapped but counts as 0
        {-10, 1, 1, 255, 0, 0},      // negative counts as 0
        {60, 1, 1, 255, 255, 0},     // sector 1 starts with f = 0
        {120, 1, 1, 0, 255, 0},
        {180, 1, 1, 0, 255, 255},
        {240, 1, 1, 0, 0, 255},
        {300, 1, 1, 255, 0, 255},
        {30, 1, 1, 255, 128, 0},     // t = 0.5: 127.5 rounds to the even 128
        {0, 0, 0.5, 128, 128, 128},  // grey: 127.5 -> 128
        {0, 0, 0.502, 128, 128, 128},
        {0, 0, 2, 255, 255, 255},    // value clamped to 1
        {90, -1, 0.4, 102, 102, 102},// saturation clamped to 0: grey of round(102)
        {90, 5, 1, 128, 255, 0},     // saturation clamped to 1; q = 0.5 -> 128
        {330, 0.5, 0.5, 128, 64, 96},// sector 5: (v, p, q) = (.5, .25, .375)
    };
    for (const HsvCase& c : cases) {
        int r = -1, g = -1, b = -1;
        HsvToRgb(c.h, c.s, c.v, r, g, b);
        EXPECT_EQ(r, c.r) << c.h << " " << c.s << " " << c.v;
        EXPECT_EQ(g, c.g) << c.h << " " << c.s << " " << c.v;
        EXPECT_EQ(b, c.b) << c.h << " " << c.s << " " << c.v;
    }
}

TEST(RgbToHsv, BlackGreyTiesAndSectors)
{
    double h, s, v;
    RgbToHsv(0, 0, 0, h, s, v);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(v, 0);

    RgbToHsv(128, 128, 128, h, s, v);
    EXPECT_EQ(h, -1);
    EXPECT_EQ(s, 0);
    EXPECT_DOUBLE_EQ(v, 128.0 / 255.0);

    RgbToHsv(255, 255, 0, h, s, v);  // red wins the tie with green: sector 0
    EXPECT_DOUBLE_EQ(h, 60);
    EXPECT_DOUBLE_EQ(s, 1);

    RgbToHsv(0, 255, 255, h, s, v);  // green wins the tie with blue: sector 1
    EXPECT_DOUBLE_EQ(h, 180);

    RgbToHsv(255, 0, 128, h, s, v);  // negative raw hue gets 360 added
    EXPECT_NEAR(h, 360 - 60 * 128.0 / 255.0, 1e-12);
    EXPECT_GE(h, 0);
    EXPECT_LT(h, 360);

    RgbToHsv(200, 100, 50, h, s, v);
    EXPECT_DOUBLE_EQ(h, 20);
    EXPECT_DOUBLE_EQ(s, 0.75);
    EXPECT_DOUBLE_EQ(v, 200.0 / 255.0);
}

TEST(HsvRoundTrip, EveryColourOfACoarseCubeComesBack)
{
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 5) {
                double h, s, v;
                RgbToHsv(r, g, b, h, s, v);
                int r2, g2, b2;
                HsvToRgb(h < 0 ? 0 : h, s, v, r2, g2, b2);
                ASSERT_EQ(r2, r);
                ASSERT_EQ(g2, g);
                ASSERT_EQ(b2, b);
            }
}

struct TickCase {
    int minTicks;
    long double low, high;
    long double first, step;
    int sub;
};

TEST(CalcTickSpacing, OneTwoFiveRule)
{
    const TickCase cases[] = {
        {5, 0, 10, 0, 1, 5},        // raw 2 -> mantissa 1 (tolerance above the threshold)
        {4, 0, 100, 0, 20, 4},      // raw 25 -> 2 x 10
        {5, 10, 0, 10, -1, 5},      // reversed direction
        {2, 0, 10, 0, 2, 4},        // raw exactly 5 gives 2 (tolerance above the threshold)
        {3, 0.5L, 3.5L, 1, 1, 5},   // first tick at or after low
        {4, 0, 0.1L, 0, 0.02L, 4},  // negative logarithm
        {0, 2.5L, 20, 3, 1, 1},     // every unit, wide span
        {0, 2.5L, 8, 3, 1, 5},
    };
    for (const TickCase& c : cases) {
        long double first, step;
        uint16_t sub;
        CalcTickSpacing(c.minTicks, c.low, c.high, first, step, sub);
        EXPECT_NEAR(static_cast<double>(step), static_cast<double>(c.step), 1e-12)
            << c.minTicks << " " << static_cast<double>(c.high);
        EXPECT_NEAR(static_cast<double>(first), static_cast<double>(c.first), 1e-12);
        EXPECT_EQ(sub, c.sub);
    }
    long double first, step;
    uint16_t sub;
    CalcTickSpacing(5, 3, 3, first, step, sub);
    EXPECT_EQ(step, 0);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(sub, 1);
}

TEST(FloorToInteger, HalvesAndWholes)
{
    EXPECT_EQ(FloorToInteger(-2.5), -3);
    EXPECT_EQ(FloorToInteger(2.0), 2);
    EXPECT_EQ(FloorToInteger(2.5), 2);
    EXPECT_EQ(FloorToInteger(3.5), 3);
    EXPECT_EQ(FloorToInteger(-0.1), -1);
}

} // namespace
