// The solar eclipse map from the shipped catalogue: 2024 Apr 08 (total),
// 2023 Oct 14 (annular), 2025 Mar 29 (partial).  Places in and out of the
// published paths are found through the program's own GeoToPixel; the
// curves, their drawing order and the collected curve points are checked;
// the fast pass, on one thread or several, must give the plain pass's
// pixels and points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "MapTestUtil.h"
#include "app/EclipseMap.h"
#include "app/MapImages.h"
#include "app/MapView.h"
#include "compute/BesselSE.h"

using namespace app;
using maptest::PixelAt;

namespace {

// Records what the computation tells the window; cancels when asked to.
class TRecordingHost : public TBasicMapHost {
public:
    int CancelAtMessage = -1;  // the n-th ProcessMessages call sets stCancel
    int Messages = 0;
    std::vector<int> Progress;
    std::vector<std::string> Errors;
    int TableFills = 0;
    TEclipseHeading Heading;

    void ProcessMessages() override
    {
        if (Messages++ == CancelAtMessage) SetStatus(stCancel);
    }
    void SetProgress(int percent) override { Progress.push_back(percent); }
    void ShowError(const std::string& text) override { Errors.push_back(text); }
    void FillLocationTable() override { ++TableFills; }
    void ShowHeading(const TEclipseHeading& h) override { Heading = h; }
};

// The preview map of the catalogue as a map of its own: 360 x 180 pixels,
// cheap enough for the edge cases.
TMapData SmallMap()
{
    TMapData d = GeneralMapData;
    d.ResourceName = "WORLD_360";
    d.Width = 360;
    d.Height = 180;
    d.X0 = 180;
    d.Y0 = 90;
    d.X1 = 180;
    d.Y1 = 90;
    return d;
}

struct TMapRun {
    TRecordingHost Host;
    std::unique_ptr<TEclipseMap> Map;
};

// The thread count of RunSolar that asks for the plain pass.
constexpr int PlainPass = -1;

std::unique_ptr<TMapRun> RunSolar(const compute::TSolarEclipse& see, const TMapData& data, int threads,
                                  const std::function<void(TEclipseMap&)>& adjust = nullptr)
{
    auto run = std::make_unique<TMapRun>();
    run->Map = std::make_unique<TEclipseMap>(&run->Host);
    TEclipseMap& m = *run->Map;
    m.MapData = data;
    m.Settings = DefaultMapDrawSettings(data);
    m.ResourceMapMode = ResourceMapModeFor(see.MELon());
    m.PlainPass = threads == PlainPass;
    m.Threads = std::max(threads, 0);
    if (adjust) adjust(m);
    m.CalculateSolarEclipseMap(see);
    return run;
}

// Pixels of each colour.
std::map<gui::TColor, long long> Histogram(const gui::TBitmap& bmp)
{
    std::map<gui::TColor, long long> h;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) ++h[PixelAt(bmp, x, y)];
    return h;
}

// How many of the 5 x 5 pixels around a place have a colour.
int AroundPlace(const TEclipseMap& m, double lat, double lon, gui::TColor colour)
{
    int x = 0, y = 0;
    EXPECT_TRUE(m.GeoToPixel(lat, lon, x, y));
    int n = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) n += PixelAt(m.Map(), x + dx, y + dy) == colour;
    return n;
}

class SolarMap : public testing::Test {
protected:
    static void SetUpTestSuite() { compute::SetEclipseAccuracy(false); }
    static void TearDownTestSuite() { compute::SetEclipseAccuracy(true); }
};

// Published places (degrees, west positive).
struct TPlace {
    const char* Name;
    double Lat, Lon;
};
const TPlace InPath2024[] = {{"Mazatlan", 23.2494, 106.4111}, {"Dallas", 32.7767, 96.7970}, {"Indianapolis", 39.7684, 86.1581}};
const TPlace OutOfPath2024[] = {{"Los Angeles", 34.0522, 118.2437}, {"Miami", 25.7617, 80.1918}};

} // namespace

class SolarMap2024 : public SolarMap, public testing::WithParamInterface<const char*> {};

TEST_P(SolarMap2024, PathCurvesAndMarkerOnTheBuiltInMap)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see);
    const TMapData data = std::string(GetParam()) == "WORLD_0" ? StandardMapData : GeneralMapData;
    auto run = RunSolar(*see, data, 0);
    TEclipseMap& m = *run->Map;
    EXPECT_EQ(run->Host.Status(), stCalculated);
    EXPECT_TRUE(run->Host.Errors.empty());
    EXPECT_EQ(run->Host.TableFills, 1);
    EXPECT_EQ(run->Host.Heading.Title, "Total Solar Eclipse of 2024 Apr 08");
    EXPECT_EQ(run->Host.Heading.Saros, "139");
    EXPECT_EQ(m.MapData.dLon, 120);  // greatest eclipse at 104 W: centred on 120 W
    const TMapDrawSettings& s = m.Settings;

    for (const TPlace& p : InPath2024)
        EXPECT_GE(AroundPlace(m, p.Lat, p.Lon, s.Colors[slotPath]), 13) << p.Name;
    for (const TPlace& p : OutOfPath2024) EXPECT_EQ(AroundPlace(m, p.Lat, p.Lon, s.Colors[slotPath]), 0) << p.Name;

    // Every curve is there.
    auto h = Histogram(m.Map());
    for (int slot : {slotPath, slotCentralLine, slotCEM, slotLimit, slotLimitMaximum, slotLimitFirst, slotCET})
        EXPECT_GT(h[s.Colors[slot]], 0) << "slot " << slot;

    // The cross-hair on the canon's greatest eclipse, 25.3 N 104.1 W.
    int x = 0, y = 0;
    ASSERT_TRUE(m.GeoToPixel(25.29, 104.13, x, y));
    int blue = 0;
    for (int dy = -1; dy <= 1; ++dy)
        blue += PixelAt(m.Map(), x - 5, y + dy) == gui::clBlue && PixelAt(m.Map(), x + 5, y + dy) == gui::clBlue;
    EXPECT_EQ(blue, 1);

    // Curves of equal time: gamma > 0, so the rows ran from the top; in each
    // track the points follow the rows, and within a row the columns, the
    // first of a run of neighbours only.  The curves lie 30 minutes apart
    // around the UT hour before the reference time.
    const TCETData& cet = m.CETData();
    int tracks = 0;
    for (const TCETTrack& t : cet) {
        if (t.Count == 0) continue;
        ++tracks;
        const double minutes = (t.Value + 0.5 - std::floor(t.Value + 0.5)) * 1440;
        EXPECT_NEAR(std::fmod(minutes + 0.001, 30.0), 0, 0.01);
        for (int k = 1; k < t.Count; ++k) {
            ASSERT_GE(t.Y[k], t.Y[k - 1]);
            if (t.Y[k] == t.Y[k - 1]) { ASSERT_GT(t.X[k], t.X[k - 1] + 1); }
        }
    }
    EXPECT_GE(tracks, 5);
}

INSTANTIATE_TEST_SUITE_P(BuiltInMaps, SolarMap2024, testing::Values("WORLD_1", "WORLD_0"));

TEST_F(SolarMap, FastPassGivesThePlainPassesPixelsAndPointsInTheirOrder)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see);
    auto plain = RunSolar(*see, GeneralMapData, PlainPass);
    auto fast = RunSolar(*see, GeneralMapData, 5);
    long long differences = -1;
    EXPECT_TRUE(maptest::SamePixels(plain->Map->Map(), fast->Map->Map(), &differences)) << differences;
    EXPECT_EQ(plain->Map->LastPassRows(), fast->Map->LastPassRows());
    EXPECT_LT(plain->Map->LastPassRows(), 960);  // ended three rows after the eclipse
    EXPECT_EQ(plain->Host.Progress, fast->Host.Progress);
    EXPECT_EQ(plain->Host.Messages, plain->Map->LastPassRows());  // one pump per row
    for (int i = 0; i < CETTrackCount; ++i) {
        const TCETTrack &p = plain->Map->CETData()[i], &f = fast->Map->CETData()[i];
        ASSERT_EQ(p.Count, f.Count) << i;
        ASSERT_EQ(p.Value, f.Value) << i;
        for (int k = 0; k < p.Count; ++k) ASSERT_TRUE(p.X[k] == f.X[k] && p.Y[k] == f.Y[k]) << i << " " << k;
    }

    // The colour of a pixel is that of the last test it passes, in the
    // order path, limit, magnitude curves, time curves, visibility limits.
    const TEclipseMap& m = *plain->Map;
    const TMapDrawSettings& s = m.Settings;
    const int n = static_cast<int>(std::lround(1 / s.CEMWidth));
    gui::TBitmap clean;
    TMapData cleanData = m.MapData;
    LoadMapPicture(cleanData, m.ResourceMapMode, false, clean);
    int mx = 0, my = 0;  // the marker of greatest eclipse and its text box
    ASSERT_TRUE(m.GeoToPixel(see->MELat(), see->MELon(), mx, my));
    int checked = 0, byLimits = 0;
    for (int y = 0; y < m.LastPassRows(); y += 7)
        for (int x = 0; x < m.MapData.Width; x += 5) {
            double lat, lon;
            ASSERT_TRUE(m.PixelToGeo(x, y, lat, lon));
            compute::TSELocalCircumstances lc;
            lc.Latitude = lat;
            lc.Longitude = lon;
            if (!see->LocalCircumstances(lc)) continue;
            const bool up = lc.SA2 >= 0;
            int slot = -1;
            if ((lc.EclipseType == 'T' || lc.EclipseType == 'A') && up) slot = slotPath;
            if (std::nearbyint(n * 0.75L * lc.Magnitude) == 0 && up) slot = slotLimit;
            for (int k = 1; k * s.CEMScale < 0.9999; ++k)
                if (std::nearbyint(n * lc.Magnitude) == std::nearbyint(n * k * s.CEMScale) && up) slot = slotCEM;
            const gui::TColor cetColour = s.Colors[slotCET];
            if (s.VBLWidth >= std::fabs(lc.SA2)) slot = slotLimitMaximum;
            if (s.VBLWidth >= std::fabs(lc.SA0)) slot = slotLimitFirst;
            if (s.VBLWidth >= std::fabs(lc.SA4)) slot = slotLimitLast;
            const gui::TColor got = PixelAt(m.Map(), x, y);
            if (x >= mx - 9 && x <= mx + 200 && y >= my - 15 && y <= my + 15) continue;  // drawn later
            if (got == s.Colors[slotCentralLine]) continue;
            if (got == cetColour && slot < slotLimitMaximum) continue;  // a curve of equal time over the first three
            const gui::TColor expected = slot < 0 ? PixelAt(clean, x, y) : s.Colors[slot];
            EXPECT_EQ(got, expected) << x << " " << y << " slot " << slot;
            ++checked;
            byLimits += slot >= slotLimitMaximum;
        }
    EXPECT_GT(checked, 5000);
    EXPECT_GT(byLimits, 10);
}

// A map description in another projection over a built-in picture (the
// picture is only the background; the projection places the pixels).
TMapData ProjectedMap(compute::TProjection projection, double f1)
{
    TMapData d = GeneralMapData;
    d.Projection = projection;
    d.X0 = 960;
    d.Y0 = 480;
    if (projection == compute::prjRobinson) {
        d.X1 = 960 / 0.8487;
        d.Y1 = 460;
    } else {
        d.X1 = d.Y1 = 300;
        d.F1 = f1;
        compute::SetAzimuthalCenter(f1);
    }
    return d;
}

// The fast pass against the plain one: the same pixels, the same rows
// merged, the same progress and the same curve points in the same order.
void ExpectSamePasses(const std::string& dt, const TMapData& data, int threads,
                      const std::function<void(TEclipseMap&)>& adjust = nullptr)
{
    SCOPED_TRACE(dt + " on " + data.ResourceName + " projection " + std::to_string(static_cast<int>(data.Projection)));
    auto see = maptest::SolarEclipse(dt);
    ASSERT_TRUE(see);
    auto plain = RunSolar(*see, data, PlainPass, adjust);
    auto fast = RunSolar(*see, data, threads, adjust);
    ASSERT_EQ(plain->Host.Status(), stCalculated);
    ASSERT_EQ(fast->Host.Status(), stCalculated);
    long long differences = -1;
    EXPECT_TRUE(maptest::SamePixels(plain->Map->Map(), fast->Map->Map(), &differences)) << differences;
    EXPECT_EQ(plain->Map->LastPassRows(), fast->Map->LastPassRows());
    EXPECT_EQ(plain->Host.Progress, fast->Host.Progress);
    int points = 0;
    for (int i = 0; i < CETTrackCount; ++i) {
        const TCETTrack &p = plain->Map->CETData()[i], &f = fast->Map->CETData()[i];
        ASSERT_EQ(p.Count, f.Count) << i;
        ASSERT_EQ(p.Value, f.Value) << i;
        for (int k = 0; k < p.Count; ++k) ASSERT_TRUE(p.X[k] == f.X[k] && p.Y[k] == f.Y[k]) << i << " " << k;
        points += p.Count;
    }
    // Something to compare: the eclipse was drawn.
    EXPECT_GT(points, 0);
    auto h = Histogram(plain->Map->Map());
    EXPECT_GT(h[plain->Map->Settings.Colors[slotCEM]], 0);
}

TEST_F(SolarMap, FastPassGivesThePlainPassesPixelsForTotalAnnularHybridAndPolarEclipses)
{
    // On three threads, and on one (the same work-skipping in the calling
    // thread); an annular eclipse across the date line and a total one
    // before the year 0 as well.
    for (const char* dt : {"2023 Oct 14", "2023 Apr 20", "2021 Dec 04", "2025 Mar 29", "2022 Apr 30", "2012 May 20",
                           "-0997 Aug 02"})
        ExpectSamePasses(dt, GeneralMapData, dt[3] == '3' ? 1 : 3);
}

TEST_F(SolarMap, FastPassGivesThePlainPassesPixelsOnOtherProjectionsAndSettings)
{
    // A polar partial eclipse on an azimuthal map centred on the pole
    // (pixels outside the disc have no place), a total one on a Robinson map.
    ExpectSamePasses("2025 Mar 29", ProjectedMap(compute::prjLambertAzimuthalEqualArea, 90), 4);
    ExpectSamePasses("2024 Apr 08", ProjectedMap(compute::prjRobinson, 0), 2);
    // Wide visibility limits, a curve of equal time every 7 minutes, the
    // labels on; then the visibility limits off (the contacts never matter).
    ExpectSamePasses("2023 Apr 20", GeneralMapData, 3, [](TEclipseMap& m) {
        m.Settings.VBLWidth = 2.5;
        m.Settings.CETScale = 7;
        m.Settings.CETWidth = 0.5;
        m.Settings.Flags[slotCEMLabels] = m.Settings.Flags[slotCETLabels] = true;
    });
    ExpectSamePasses("2021 Dec 04", GeneralMapData, 3, [](TEclipseMap& m) {
        m.Settings.Flags[slotLimitMaximum] = m.Settings.Flags[slotLimitFirst] = m.Settings.Flags[slotLimitLast] = false;
    });
    // The 120-degree shifted map of the standard size's half.
    TMapData shifted = GeneralMapData;
    shifted.dLon = 120;
    ExpectSamePasses("2024 Oct 02", shifted, 5);
}

TEST_F(SolarMap, FastPassGivesThePlainPassesPixelsOnTheStandardMap)
{
    // A total eclipse near the south pole: the pass runs from the bottom.
    ExpectSamePasses("2021 Dec 04", StandardMapData, 8);
}

TEST_F(SolarMap, CancelAfterAnyRowRestoresTheCleanMap)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see);
    gui::TBitmap clean;
    TMapData d = GeneralMapData;
    LoadMapPicture(d, ResourceMapModeFor(see->MELon()), false, clean);
    for (int threads : {PlainPass, 1, 4}) {
        auto run = RunSolar(*see, GeneralMapData, threads, [](TEclipseMap& m) {
            static_cast<TRecordingHost*>(m.Host())->CancelAtMessage = 300;
        });
        EXPECT_EQ(run->Host.Status(), stCancelled) << threads;
        EXPECT_EQ(run->Map->LastPassRows(), 301) << threads;
        EXPECT_TRUE(maptest::SamePixels(run->Map->Map(), clean)) << threads;
        EXPECT_EQ(run->Host.Progress.back(), 0);
        EXPECT_TRUE(run->Host.Errors.empty());
    }
}

TEST_F(SolarMap, PartialEclipseHasNoPathAndNoCentralLine)
{
    auto see = maptest::SolarEclipse("2025 Mar 29");
    ASSERT_TRUE(see);
    auto run = RunSolar(*see, GeneralMapData, 0);
    const TMapDrawSettings& s = run->Map->Settings;
    auto h = Histogram(run->Map->Map());
    EXPECT_EQ(h[s.Colors[slotPath]], 0);
    EXPECT_EQ(h[s.Colors[slotCentralLine]], 0);
    EXPECT_GT(h[s.Colors[slotCEM]], 0);
    EXPECT_GT(h[s.Colors[slotCET]], 0);
    EXPECT_EQ(run->Host.Heading.Title, "Partial Solar Eclipse of 2025 Mar 29");
    EXPECT_EQ(run->Map->MapData.dLon, 120);
}

TEST_F(SolarMap, AnnularEclipseCrossesAlbuquerque)
{
    auto see = maptest::SolarEclipse("2023 Oct 14");
    ASSERT_TRUE(see);
    auto run = RunSolar(*see, GeneralMapData, 0);
    const TMapDrawSettings& s = run->Map->Settings;
    EXPECT_GE(AroundPlace(*run->Map, 35.0844, 106.6504, s.Colors[slotPath]), 13);  // Albuquerque
    EXPECT_EQ(AroundPlace(*run->Map, 32.7767, 96.7970, s.Colors[slotPath]), 0);    // Dallas: partial
    auto h = Histogram(run->Map->Map());
    EXPECT_GT(h[s.Colors[slotCentralLine]], 0);
    EXPECT_EQ(run->Host.Heading.Title, "Annular Solar Eclipse of 2023 Oct 14");
}

TEST_F(SolarMap, StepOfEqualTimeOfZeroOrLessDrawsNoSuchCurves)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see);
    for (int step : {0, -30}) {
        auto run = RunSolar(*see, SmallMap(), 0, [step](TEclipseMap& m) { m.Settings.CETScale = step; });
        EXPECT_EQ(run->Host.Status(), stCalculated) << step;
        auto h = Histogram(run->Map->Map());
        EXPECT_EQ(h[run->Map->Settings.Colors[slotCET]], 0) << step;
        EXPECT_GT(h[run->Map->Settings.Colors[slotPath]], 0) << step;
        for (const TCETTrack& t : run->Map->CETData()) EXPECT_EQ(t.Count, 0);
    }
}

TEST_F(SolarMap, MagnitudeStepOrWidthOfZeroDrawsNoMagnitudeCurves)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see);
    struct TCase {
        double Width, Scale;
        bool Limit;  // the limit of the eclipse is still drawn
    };
    for (const TCase& c : {TCase{0.01, 0, true}, TCase{0.01, -0.25, true}, TCase{0, 0.25, false}}) {
        auto run = RunSolar(*see, SmallMap(), 0, [&](TEclipseMap& m) {
            m.Settings.CEMWidth = c.Width;
            m.Settings.CEMScale = c.Scale;
            m.Settings.Flags[slotCEMLabels] = true;
        });
        EXPECT_EQ(run->Host.Status(), stCalculated) << c.Width << " " << c.Scale;
        auto h = Histogram(run->Map->Map());
        EXPECT_EQ(h[run->Map->Settings.Colors[slotCEM]], 0);
        // (The cross-hair's 24 blue pixels share the limit's colour.)
        EXPECT_EQ(h[run->Map->Settings.Colors[slotLimit]] > 24, c.Limit);
        EXPECT_GT(h[run->Map->Settings.Colors[slotPath]], 0);
    }
    // A step finer than the band width: every band between the first and
    // the last curve, as walking the curves would mark.
    auto fine = RunSolar(*see, SmallMap(), 0, [](TEclipseMap& m) { m.Settings.CEMScale = 0.001; });
    auto walked = RunSolar(*see, SmallMap(), 0, [](TEclipseMap& m) { m.Settings.CEMScale = 0.0100001; });
    EXPECT_GT(Histogram(fine->Map->Map())[fine->Map->Settings.Colors[slotCEM]],
              Histogram(walked->Map->Map())[walked->Map->Settings.Colors[slotCEM]] / 2);
}

// A magnitude label step of 0 degrees draws no labels and ends without
// error; the map is the same as without labels.
TEST_F(SolarMap, MagnitudeLabelStepOfZeroDrawsNoLabels)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see);
    auto run = RunSolar(*see, SmallMap(), 0, [](TEclipseMap& m) {
        m.Settings.Flags[slotCEMLabels] = true;
        m.Settings.CEMLabelScale = 0;
    });
    EXPECT_EQ(run->Host.Status(), stCalculated);
    EXPECT_TRUE(run->Host.Errors.empty());
    auto plain = RunSolar(*see, SmallMap(), 0, [](TEclipseMap& m) { m.Settings.Flags[slotCEMLabels] = false; });
    EXPECT_EQ(Histogram(run->Map->Map()), Histogram(plain->Map->Map()));
    EXPECT_GT(Histogram(run->Map->Map())[run->Map->Settings.Colors[slotPath]], 0);
}

TEST(CETTracks, PointsJoinTheTrackOfTheirTimeUntilFull)
{
    auto data = std::make_unique<TCETData>();
    AddCETPoint(*data, 1, 1, 2460409.25);
    AddCETPoint(*data, 2, 1, 2460409.2505);  // within 0.001 day: the same track
    AddCETPoint(*data, 3, 1, 2460409.27);
    EXPECT_EQ((*data)[0].Count, 2);
    EXPECT_EQ((*data)[1].Count, 1);
    for (int i = 0; i < 6000; ++i) AddCETPoint(*data, i % 100, 2, 2460409.25);
    EXPECT_EQ((*data)[0].Count, 4999);
    for (int i = 2; i < 40; ++i) AddCETPoint(*data, 1, 1, 2460409.3 + i * 0.01);
    EXPECT_GT((*data)[31].Value, 1);  // every track taken, the rest dropped
    EXPECT_EQ((*data)[31].Count, 1);
}

TEST(CETTracks, LongTracksGetAThirdLabelInTheMiddle)
{
    for (int count : {250, 251}) {
        auto data = std::make_unique<TCETData>();
        for (int i = 0; i < count; ++i) AddCETPoint(*data, 50 + 2 * i, 60, 2460409.25);
        gui::TBitmap bmp(600, 120);
        bmp.Canvas()->Font()->SetColor(gui::clBlue);
        DrawTimeLabels(*bmp.Canvas(), *data, 600, 120);
        int marked = 0;  // non-white pixels around the middle point
        const int xm = 50 + 2 * (count / 2);
        for (int y = 50; y < 70; ++y)
            for (int x = xm - 12; x <= xm + 12; ++x) marked += PixelAt(bmp, x, y) != gui::clWhite;
        EXPECT_EQ(marked > 0, count == 251) << count;
        int first = 0;  // and around the first point, always
        for (int y = 50; y < 70; ++y)
            for (int x = 40; x <= 60; ++x) first += PixelAt(bmp, x, y) != gui::clWhite;
        EXPECT_GT(first, 0) << count;
    }
    // At the map's edge a label is aligned to the edge, not centred on it.
    auto data = std::make_unique<TCETData>();
    AddCETPoint(*data, 0, 60, 2460409.25);
    gui::TBitmap bmp(600, 120);
    bmp.Canvas()->Font()->SetColor(gui::clBlue);
    DrawTimeLabels(*bmp.Canvas(), *data, 600, 120);
    EXPECT_EQ(PixelAt(bmp, 0, 60), gui::clBlue);  // the box's left frame on column 0
}
