// Tick and label tables of the numeric, logarithmic, time-of-day and
// date-time scales, and the label-text routines, against values worked
// out by hand from the tick rules (1-2-5 steps, decades, time intervals,
// calendar levels).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/PlotScale.h"
#include "platform/rtl/DateTime.h"

using namespace chart;

namespace {

std::unique_ptr<TScale> NewScale(TScaleType type, double lo, double hi, int minTicks = 3)
{
    auto s = std::make_unique<TScale>(nullptr);
    s->SetSuppressPaint(true);
    s->SetScaleType(type);
    s->SetRange(lo, hi);
    s->SetMinTicks(minTicks);
    return s;
}

std::vector<double> Values(const TTickPlan& p, TTickKind kind)
{
    std::vector<double> v;
    for (const TPlannedTick& t : p.Ticks)
        if (t.Kind == kind) v.push_back(t.Value);
    return v;
}

std::vector<std::string> Labels(const TTickPlan& p)
{
    std::vector<std::string> v;
    for (const TPlannedTick& t : p.Ticks)
        if (t.Kind == TTickKind::tkMajor) v.push_back(t.Label);
    return v;
}

const TPlannedTick* MajorNear(const TTickPlan& p, double value, double tol)
{
    for (const TPlannedTick& t : p.Ticks)
        if (t.Kind == TTickKind::tkMajor && std::fabs(t.Value - value) < tol) return &t;
    return nullptr;
}

using Strings = std::vector<std::string>;

// ------------------------------------------------------------ label texts

TEST(LabelTexts, FormatNumber)
{
    const struct {
        double v;
        int decimals;
        const char* text;
    } cases[] = {
        {12.5, 2, "12.50"},   {-3.25, 1, "-3.2"},   {7, 0, "7"},
        {-0.001, 2, "0.00"},  {1500, -1, " 1.5E+03"}, {-0.00002, -1, "-2.0E-05"},
        {0, -1, " 0.0E+00"},  {9.96e99, -1, " 1.0E+100"}, {1e150, -1, "**********"},
    };
    for (const auto& c : cases) {
        std::string t = FormatNumber(c.v, c.decimals);
        if (std::string(c.text) == " 1.0E+100") {
            // Rounds into the three-digit exponents: stars.
            EXPECT_EQ(t.find_first_not_of('*'), std::string::npos) << t;
            continue;
        }
        EXPECT_EQ(t, c.text) << c.v << " " << c.decimals;
    }
}

TEST(LabelTexts, AutomaticDecimals)
{
    const struct {
        int dp;
        double hi, lo;
        int out;
    } linear[] = {
        {-2, 1, 0, 2}, {-2, 10, 0, 1}, {-2, 0.1, 0, 3}, {-3, 10, 0, 1}, {-2, 100, 0, 0},
        {-2, 1e6, 0, -1}, {-2, 1e-4, 0, -1}, {-2, 0, 50, 0}, {5, 1, 0, 5}, {-1, 1, 0, -1},
    };
    for (const auto& c : linear) EXPECT_EQ(AutoDecimals(c.dp, c.hi, c.lo), c.out) << c.dp << " " << c.hi;

    const struct {
        int dp;
        double lo, hi;
        int out;
    } log[] = {
        {-2, 0.01, 10, 3}, {-2, 1, 100, 0}, {-2, 0.1, 5, 2}, {-2, 1, 2e6, -1}, {-3, 0.01, 10, -3}, {4, 1, 10, 4},
    };
    for (const auto& c : log) EXPECT_EQ(AutoDecimalsLog(c.dp, c.lo, c.hi), c.out) << c.dp << " " << c.lo;
}

TEST(LabelTexts, SecondsToTimeText)
{
    EXPECT_EQ(SecondsToTimeText(3723, false), " 01:02:03");
    EXPECT_EQ(SecondsToTimeText(-1.5, true), "-00:00:01.500");
    EXPECT_EQ(SecondsToTimeText(0, false), " 00:00:00");
    EXPECT_EQ(SecondsToTimeText(360000, false), " 100:00:00");
    EXPECT_EQ(SecondsToTimeText(0.002, true), " 00:00:00.002");
    // Just below a whole second reads as that second, never ".1000".
    EXPECT_EQ(SecondsToTimeText(0.9999999, true), " 00:00:01.000");
}

TEST(LabelTexts, UserItemsAndInscriptions)
{
    const Strings abc = {"", "a", "b", "c", "c"};
    for (int n = 0; n <= 4; ++n) EXPECT_EQ(UserTickItem("a|b|c", n), abc[n]) << n;
    EXPECT_EQ(UserTickItem("a|b|c", -2), "");
    EXPECT_EQ(UserTickItem("single", 3), "single");
    EXPECT_EQ(UserTickItem("a||c", 2), "");

    EXPECT_EQ(InscribeLabel("& km", "5"), "5 km");
    EXPECT_EQ(InscribeLabel("x = ", "5"), "x = 5");
    EXPECT_EQ(InscribeLabel("(&)&", "5"), "(5)&");
    EXPECT_EQ(InscribeLabel("& km", ""), "");
    EXPECT_EQ(InscribeLabel("", "5"), "5");
}

// ----------------------------------------------------------- linear scales

TEST(LinearTicks, StepsMinorTicksAndAutomaticDecimals)
{
    auto s = NewScale(TScaleType::sctXB, 0, 100);
    TTickPlan p = s->PlanTicks();
    EXPECT_EQ(Labels(p), (Strings{"0", "20", "40", "60", "80", "100"}));
    const std::vector<double> minors = Values(p, TTickKind::tkMinor);
    ASSERT_EQ(minors.size(), 21u);
    for (std::size_t i = 0; i < minors.size(); ++i) EXPECT_NEAR(minors[i], 5.0 * i, 1e-9);
    // Horizontal scales with short ticks record the minor pass only.
    for (const TPlannedTick& t : p.Ticks) EXPECT_EQ(t.Record, t.Kind == TTickKind::tkMinor);

    auto u = NewScale(TScaleType::sctYL, 0, 1);
    EXPECT_EQ(Labels(u->PlanTicks()), (Strings{"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}));

    // Descending ranges step downwards.
    auto d = NewScale(TScaleType::sctYL, 10, 0, 5);
    EXPECT_EQ(Labels(d->PlanTicks()),
              (Strings{"10.0", "9.0", "8.0", "7.0", "6.0", "5.0", "4.0", "3.0", "2.0", "1.0", "0.0"}));
}

TEST(LinearTicks, ZeroRuleFixedDecimalsUserTextAndInscription)
{
    // A huge range writes its zero tick as "0.0", the others in scientific form.
    auto big = NewScale(TScaleType::sctXB, -4e6, 6e6, 4);
    big->SetShortTicks(false);
    EXPECT_EQ(Labels(big->PlanTicks()),
              (Strings{"-4.0E+06", "-2.0E+06", "0.0", " 2.0E+06", " 4.0E+06", " 6.0E+06"}));
    // A small one (at most 1e-4 wide) writes zero in the scientific form.
    auto small = NewScale(TScaleType::sctXB, -2e-5, 2e-5, 2);
    small->SetShortTicks(false);
    const TTickPlan sp = small->PlanTicks();
    const TPlannedTick* zero = MajorNear(sp, 0, 1e-12);
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->Label, " 0.0E+00");

    // A tick that sums to a hair off zero is written as zero.
    auto hair = NewScale(TScaleType::sctXB, -0.3, 0.3);
    hair->SetDecPlaces(-1);
    const TTickPlan hp0 = hair->PlanTicks();
    ASSERT_NE(MajorNear(hp0, 0, 1e-12), nullptr);
    EXPECT_EQ(MajorNear(hp0, 0, 1e-12)->Label, " 0.0E+00");
    EXPECT_EQ(MajorNear(hp0, 0.1, 1e-12)->Label, " 1.0E-01");

    // DecPlaces 0 leaves fractional ticks unlabelled (0 .. 7: step 0.5).
    auto half = NewScale(TScaleType::sctXB, 0, 7, 10);
    half->SetDecPlaces(0);
    const TTickPlan hp = half->PlanTicks();
    ASSERT_NE(MajorNear(hp, 2.5, 1e-9), nullptr);
    EXPECT_EQ(MajorNear(hp, 2.5, 1e-9)->Label, "");
    EXPECT_EQ(MajorNear(hp, 3, 1e-9)->Label, "3");

    // User texts do not wrap: the last item repeats.
    auto user = NewScale(TScaleType::sctXB, 0, 4, 4);
    user->SetLabelType(TFigType::ftUserText);
    user->SetUserTickText("Mon|Tue");
    EXPECT_EQ(Labels(user->PlanTicks()), (Strings{"Mon", "Tue", "Tue", "Tue", "Tue"}));

    auto ins = NewScale(TScaleType::sctXB, 0, 100);
    ins->SetScaleInscript("& km");
    EXPECT_EQ(Labels(ins->PlanTicks())[1], "20 km");
    ins->SetLabelType(TFigType::ftNoFigs);
    EXPECT_EQ(Labels(ins->PlanTicks())[1], "");
}

// ------------------------------------------------------ logarithmic scales

TEST(LogTicks, DecadesDenseAndSparse)
{
    auto s = NewScale(TScaleType::sctYL, 1, 1000);
    s->SetLogarithmic(true);
    TTickPlan p = s->PlanTicks();   // 3 decades, MinTicks 3: not dense
    EXPECT_EQ(Values(p, TTickKind::tkMajor).size(), 4u);
    EXPECT_EQ(Labels(p), (Strings{"1", "10", "100", "1000"}));
    EXPECT_TRUE(Values(p, TTickKind::tkMinor).empty());

    s->SetMinTicks(5);              // dense
    p = s->PlanTicks();
    EXPECT_EQ(Labels(p), (Strings{"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000"}));
    EXPECT_EQ(Values(p, TTickKind::tkMinor).size(), 18u);   // 3, 4, 6, 7, 8, 9 per decade
    for (const TPlannedTick& t : p.Ticks) EXPECT_EQ(t.Length, 6);   // vertical: all 6 pixels

    // Horizontal without short ticks: those positions are only announced.
    auto h = NewScale(TScaleType::sctXB, 1, 1000, 5);
    h->SetLogarithmic(true);
    h->SetShortTicks(false);
    p = h->PlanTicks();
    EXPECT_EQ(Values(p, TTickKind::tkAnnounce).size(), 18u);
    EXPECT_TRUE(Values(p, TTickKind::tkMinor).empty());

    // Exponent labels and trailing zeros.
    auto e = NewScale(TScaleType::sctXB, 0.01, 1000);
    e->SetLogarithmic(true);
    e->SetDecPlaces(-3);
    EXPECT_EQ(Labels(e->PlanTicks()), (Strings{"-2", "-1", "0", "1", "2", "3"}));
    e->SetDecPlaces(-2);            // 3 decimals, trailing zeros removed
    EXPECT_EQ(Labels(e->PlanTicks()), (Strings{"0.01", "0.1", "1", "10", "100", "1000"}));
}

TEST(LogTicks, LessThanADecadeIsDrawnLinear)
{
    auto lg = NewScale(TScaleType::sctXB, 1, 5);
    lg->SetLogarithmic(true);
    ASSERT_TRUE(lg->Logarithmic());
    auto lin = NewScale(TScaleType::sctXB, 1, 5);
    EXPECT_EQ(Labels(lg->PlanTicks()), Labels(lin->PlanTicks()));
    EXPECT_EQ(Labels(lg->PlanTicks()), (Strings{"1.0", "2.0", "3.0", "4.0", "5.0"}));

    // A logarithmic flag taken while loading with a limit at 0 draws linear
    // ticks instead of counting decades forever.
    auto zero = NewScale(TScaleType::sctXB, 0, 100);
    zero->SetLogarithmic(true);
    ASSERT_TRUE(zero->Logarithmic());
    EXPECT_EQ(Labels(zero->PlanTicks()), (Strings{"0", "20", "40", "60", "80", "100"}));
}

// ----------------------------------------------------------- time of day

TEST(TimeTicks, IntervalsLabelsAndFallBack)
{
    auto s = NewScale(TScaleType::sctXB, 0, 3600);
    s->SetLabelType(TFigType::ftTime);
    TTickPlan p = s->PlanTicks();
    EXPECT_EQ(Labels(p), (Strings{" 00:00:00", " 00:20:00", " 00:40:00", " 01:00:00"}));
    const std::vector<double> minors = Values(p, TTickKind::tkMinor);
    ASSERT_EQ(minors.size(), 19u);
    EXPECT_DOUBLE_EQ(minors[1] - minors[0], 200);

    auto ms = NewScale(TScaleType::sctYL, 0, 0.01);
    ms->SetLabelType(TFigType::ftTime);
    EXPECT_EQ(Labels(ms->PlanTicks()), (Strings{" 00:00:00.000", " 00:00:00.002", " 00:00:00.004",
                                                " 00:00:00.006", " 00:00:00.008", " 00:00:00.010"}));

    // An interval of a day or more: numbers instead (with the 4 decimals
    // that the time label type sets).
    auto days = NewScale(TScaleType::sctXB, 0, 864000);
    days->SetLabelType(TFigType::ftTime);
    EXPECT_EQ(Labels(days->PlanTicks())[1], "200000.0000");
}

TEST(TimeAndDateTicks, MinTicksZeroDrawsNoTicksAndReturns)
{
    for (TFigType type : {TFigType::ftTime, TFigType::ftDateTime}) {
        for (auto [lo, hi] : {std::pair{0.0, 3600.0}, {40000.0, 40001.0}, {5.0, 1.0}}) {
            auto s = NewScale(TScaleType::sctXB, lo, hi, 0);
            s->SetLabelType(type);
            const auto start = std::chrono::steady_clock::now();
            const TTickPlan p = s->PlanTicks();
            EXPECT_TRUE(p.Ticks.empty());
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        }
    }
}

// ------------------------------------------------------------- date-time

double Day(int y, int m, int d) { return rtl::EncodeDate(y, m, d); }
double At(int y, int mo, int d, int h, int mi, int s = 0) { return Day(y, mo, d) + (h * 3600 + mi * 60 + s) / 86400.0; }

std::unique_ptr<TScale> DateScale(TScaleType type, double lo, double hi, int minTicks = 3)
{
    auto s = NewScale(type, lo, hi, minTicks);
    s->SetLabelType(TFigType::ftDateTime);
    return s;
}

TEST(DateTimeTicks, InvalidRangesGiveTheMessage)
{
    const std::pair<double, double> ranges[] = {{-700000, 0}, {0, 3000001}, {10, 5}};
    for (auto [lo, hi] : ranges) {
        auto v = DateScale(TScaleType::sctYL, lo, hi);
        EXPECT_EQ(v->PlanTicks().Message, (Strings{"invalid", "DateTime", "scale"})) << lo << " " << hi;
        auto h = DateScale(TScaleType::sctXB, lo, hi);
        EXPECT_EQ(h->PlanTicks().Message, (Strings{"invalid DateTime scale"}));
    }
}

TEST(DateTimeTicks, SecondsHundredthsAndTooSmall)
{
    const double t0 = At(2024, 3, 15, 14, 5);
    auto v = DateScale(TScaleType::sctYL, t0, t0 + 60 / 86400.0);
    TTickPlan p = v->PlanTicks();
    ASSERT_NE(MajorNear(p, t0 + 20 / 86400.0, 1e-9), nullptr);
    EXPECT_EQ(MajorNear(p, t0 + 20 / 86400.0, 1e-9)->Label, "14:05:20");
    const std::vector<double> minors = Values(p, TTickKind::tkMinor);
    ASSERT_GE(minors.size(), 2u);
    EXPECT_NEAR((minors[1] - minors[0]) * 86400, 5, 1e-6);
    // The same range lying across also uses seconds.
    auto h = DateScale(TScaleType::sctXB, t0, t0 + 60 / 86400.0);
    EXPECT_NE(MajorNear(h->PlanTicks(), t0 + 40 / 86400.0, 1e-9), nullptr);

    // Two seconds: too small across, hundredths (milliseconds written) upright.
    auto h2 = DateScale(TScaleType::sctXB, t0, t0 + 2 / 86400.0);
    EXPECT_EQ(h2->PlanTicks().Message, (Strings{"DateTime range is below 1 second"}));
    auto v2 = DateScale(TScaleType::sctYL, t0, t0 + 2 / 86400.0);
    p = v2->PlanTicks();
    EXPECT_TRUE(p.Message.empty());
    ASSERT_NE(MajorNear(p, t0 + 0.5 / 86400.0, 1e-10), nullptr);
    EXPECT_EQ(MajorNear(p, t0 + 0.5 / 86400.0, 1e-10)->Label, "14:05:00.500");
    auto tiny = DateScale(TScaleType::sctYL, t0, t0 + 0.01 / 86400.0);
    EXPECT_EQ(tiny->PlanTicks().Message, (Strings{"DateTime", "range is", "below 1", "second"}));
}

TEST(DateTimeTicks, YearsAndMonths)
{
    auto ten = DateScale(TScaleType::sctXB, Day(2000, 1, 1), Day(2010, 1, 1));
    TTickPlan p = ten->PlanTicks();
    EXPECT_EQ(Labels(p), (Strings{"2000", "2002", "2004", "2006", "2008", "2010"}));
    EXPECT_EQ(Values(p, TTickKind::tkMinor).size(), 5u);   // the odd years
    EXPECT_DOUBLE_EQ(Values(p, TTickKind::tkMinor)[0], Day(2001, 1, 1));

    // Three years with MinTicks 2 (a = 1.5 years): yearly majors only; the
    // first tick is the year after RangeLow's, which lies after 1 January.
    // (Two years per three intervals would fall to the month level.)
    auto three = DateScale(TScaleType::sctXB, Day(2000, 6, 1), Day(2003, 6, 1), 2);
    p = three->PlanTicks();
    EXPECT_EQ(Labels(p), (Strings{"2001", "2002", "2003"}));
    EXPECT_TRUE(Values(p, TTickKind::tkMinor).empty());

    auto old = DateScale(TScaleType::sctXB, Day(700, 1, 1), Day(1000, 1, 1));
    old->SetShortTicks(false);
    EXPECT_EQ(Labels(old->PlanTicks())[0], "700");   // no leading zero

    // A year of months with MinTicks 3: a = 3.997 months, so quarters (months
    // 1, 4, 7, 10) without short ticks; with them every month, quarters major.
    auto months = DateScale(TScaleType::sctXB, Day(2023, 1, 15), Day(2024, 1, 15));
    months->SetShortTicks(false);
    EXPECT_EQ(Labels(months->PlanTicks()), (Strings{"Apr-2023", "Jul-2023", "Oct-2023", "Jan-2024"}));
    months->SetShortTicks(true);
    p = months->PlanTicks();
    EXPECT_EQ(Labels(p), (Strings{"Apr-2023", "Jul-2023", "Oct-2023", "Jan-2024"}));
    EXPECT_EQ(Values(p, TTickKind::tkMinor).size(), 8u);
}

TEST(DateTimeTicks, DaysAndTheYearlessLabel)
{
    auto s = DateScale(TScaleType::sctXB, Day(2024, 1, 1), Day(2024, 1, 21));
    s->DateFormat()->SetYearLength(TYearLength::ylNone);
    const TTickPlan p = s->PlanTicks();   // s = 6.7 days: every 3 days
    const Strings labels = Labels(p);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels[0], "01-Jan-");
    for (const std::string& l : labels) EXPECT_EQ(l.back(), '-') << l;
    s->DateFormat()->SetYearLength(TYearLength::ylYYYY);
    s->DateFormat()->SetDateOrder(TDateOrder::doYYMMDD);
    s->DateFormat()->SetMonthName(false);
    EXPECT_EQ(Labels(s->PlanTicks())[0], "2024-01-01");
}

TEST(DateTimeTicks, HourlyDateLinesOnePerDay)
{
    auto s = DateScale(TScaleType::sctYL, At(2024, 3, 15, 22, 0), At(2024, 3, 16, 3, 0));
    const TTickPlan p = s->PlanTicks();
    Strings labels, dateLines;
    for (const TPlannedTick& t : p.Ticks)
        if (t.Kind == TTickKind::tkMajor) {
            labels.push_back(t.Label);
            dateLines.push_back(t.DateLine);
        }
    EXPECT_EQ(labels, (Strings{"22:00", "23:00", "00:00", "01:00", "02:00", "03:00"}));
    EXPECT_EQ(dateLines, (Strings{"15-Mar-2024", "", "16-Mar-2024", "", "", ""}));

    s->DateFormat()->SetTimeFormat(TTimeFormat::tfAMPM);
    s->DateFormat()->SetDateForTime(TDateForTime::dtOnePerChart);
    const TTickPlan q = s->PlanTicks();
    EXPECT_EQ(q.Ticks[0].Label, "10pm");
    EXPECT_EQ(q.Ticks[0].DateLine, "15-Mar-2024");
    EXPECT_EQ(MajorNear(q, At(2024, 3, 16, 0, 0), 1e-9)->DateLine, "");
}

TEST(DateTimeTicks, NegativeDatesKeepTheirTimeOfDay)
{
    EXPECT_DOUBLE_EQ(DateTimeScaleValueToDateTime(-1.25), -2.75);
    EXPECT_DOUBLE_EQ(DateTimeScaleValueToDateTime(-2.0), -2.0);
    EXPECT_DOUBLE_EQ(DateTimeScaleValueToDateTime(3.5), 3.5);
    // 1899-12-28 12:00 to 1899-12-29 00:00, every 3 hours.
    auto s = DateScale(TScaleType::sctYL, -1.5, -1.0);
    s->DateFormat()->SetDateForTime(TDateForTime::dtAllTicks);
    const TTickPlan p = s->PlanTicks();
    const TPlannedTick* six = MajorNear(p, -1.25, 1e-9);
    ASSERT_NE(six, nullptr);
    EXPECT_EQ(six->Label, "18:00");
    EXPECT_EQ(six->DateLine, "28-Dec-1899");
    ASSERT_NE(MajorNear(p, -1.0, 1e-9), nullptr);
    EXPECT_EQ(MajorNear(p, -1.0, 1e-9)->Label, "00:00");
    EXPECT_EQ(MajorNear(p, -1.0, 1e-9)->DateLine, "29-Dec-1899");
}

} // namespace
