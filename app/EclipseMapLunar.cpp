// The lunar eclipse map: every pixel is darkened by the intensity of its
// place's visibility class; labels along the middle row mark where the
// class changes, and a marker shows where the Moon stands in the zenith at
// greatest eclipse.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "app/EclipseMap.h"
#include "app/MapColors.h"
#include "app/MapRowPass.h"
#include "app/MapView.h"
#include "compute/DatesAndTimes.h"
#include "compute/AstroMath.h"
#include "compute/LunarEclipses.h"
#include "compute/uProjections.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;
using compute::TLELocalCircumstances;
using compute::TLunarEclipse;

int ShadingIndex(int zone) { return zone <= 6 ? zone : 12 - zone; }

std::string LunarZoneLabel(const std::string& eclipseType, int zone, bool longLabels)
{
    static const char* const total[12] = {"P1", "U1", "U2", "U3", "U4", "P4", "P1", "U1", "U2", "U3", "U4", "P4"};
    static const char* const partial[12] = {"P1", "U1", "U4", "", "", "P4", "P1", "U1", "", "", "U4", "P4"};
    static const char* const penumbral[12] = {"P1", "P4", "", "", "", "", "P1", "", "", "", "", "P4"};
    if (zone < 0 || zone > 11) return "";
    const char t = eclipseType.empty() ? ' ' : eclipseType[0];
    const char* label = t == 'T' ? total[zone] : t == 'P' ? partial[zone] : t == 'N' ? penumbral[zone] : "";
    const std::string name = label;
    if (!longLabels || name.empty()) return name;
    if (name == "P1") return "penumbral phase\r\nbegins";
    if (name == "U1") return "umbral phase\r\nbegins";
    if (name == "U2") return "total phase\r\nbegins";
    if (name == "U3") return "total phase\r\nends";
    if (name == "U4") return "umbral phase\r\nends";
    return "penumbral phase\r\nends";
}

namespace {

// Scaled colours of a pass, cached: a map has few distinct colours (a grey
// one at most 256), and each needs two colour-space conversions.
class TShadeCache {
public:
    explicit TShadeCache(const std::array<double, 7>* factors) : FFactors(factors) {}
    TColor Shade(TColor colour, int index)
    {
        const uint32_t key = colour | (static_cast<uint32_t>(index) << 24) | 0x80000000u;
        const uint32_t slot = (colour * 2654435761u + index * 40503u) >> 20;  // 12 bits
        if (FKeys[slot] != key) {
            FKeys[slot] = key;
            FValues[slot] = ScaleColorValue(colour, (*FFactors)[index]);
        }
        return FValues[slot];
    }

private:
    const std::array<double, 7>* FFactors;
    std::array<uint32_t, 4096> FKeys{};
    std::array<TColor, 4096> FValues{};
};

struct TLunarPass {
    const TLunarEclipse* LEE = nullptr;
    // Copies of the map's description and of its clean picture (rows of
    // 3 W bytes): messages pumped between rows cannot touch what the
    // workers read.
    TMapData Map;
    TSpareVector<uint8_t> Source;
    int W = 0, H = 0;
    std::array<double, 7> Factors{};
    std::array<bool, 7> Unchanged{};  // factor within 0.01 of 1
    // Whether rows are parallels on which the visibility of each contact
    // forms a single arc (see ComputeLunarRowByRuns).
    bool ByRuns = false;
    int Step = 1024;
    // Longitudes (degrees, west positive) of the highest and lowest Moon at
    // each existing contact.
    std::vector<double> ExtremeLongitudes;
    // Numbers the passes, for the hints kept per thread.
    unsigned Serial = 0;
    // The fast pass reads the pixels' places from tables where it can.
    std::unique_ptr<TPixelPlaces> Places;
};

struct TLunarRow {
    std::vector<uint8_t> Pixels;  // blue, green, red
    std::unique_ptr<TShadeCache> Cache;
    std::vector<int> State;  // per pixel: State bits, -1 no place, -2 not computed
};

// The columns where the State changed in the last row a thread computed
// (of the pass numbered Pass), for the next row it computes, a row or a few
// away.  Only a hint where to look: stale columns cost a few evaluations.
struct TRowChanges {
    unsigned Pass = 0;
    std::vector<int> Columns;
};
thread_local TRowChanges LastChanges;

void Shade(const TLunarPass& p, TLunarRow& row, int x, int zone)
{
    const int index = ShadingIndex(zone);
    if (p.Unchanged[index]) return;  // the colour stays as it is
    uint8_t* px = row.Pixels.data() + 3 * x;
    const TColor shaded = row.Cache->Shade(RGB(px[2], px[1], px[0]), index);
    px[0] = GetBValue(shaded);
    px[1] = GetGValue(shaded);
    px[2] = GetRValue(shaded);
}

// The latitude terms of the last place a row met (a row is one parallel).
struct TLatitudeTerms {
    double Latitude = std::numeric_limits<double>::quiet_NaN();
    compute::TLunarEclipse::TLELatitude Terms;
};

// The State bits of one pixel's place (those LocalCircumstances gives);
// -1 when the pixel has no place.
int PixelState(const TLunarPass& p, int x, int y, TLatitudeTerms& terms, double* latitude = nullptr)
{
    double lat = 0, lon = 0;
    if (!p.Places->Place(x, y, lat, lon)) return -1;
    if (!(terms.Latitude == lat)) {
        p.LEE->PrepareLatitude(lat, terms.Terms);
        terms.Latitude = lat;
    }
    if (latitude) *latitude = lat;
    return p.LEE->LocalState(terms.Terms, lon);
}

// The plain way: every pixel on its own.
void ComputeLunarRowByPixels(const TLunarPass& p, int y, TLunarRow& row)
{
    for (int x = 0; x < p.W; ++x) {
        double lat = 0, lon = 0;
        if (!PixelToGeo(p.Map, x, y, lat, lon)) continue;
        TLELocalCircumstances lc;
        lc.Latitude = lat;
        lc.Longitude = lon;
        p.LEE->LocalCircumstances(lc);
        Shade(p, row, x, lc.Zone);
    }
}

// The same pixels with far fewer evaluations.  On a map whose rows are
// parallels, the Moon's topocentric altitude at a contact depends on the
// longitude only through cos H (H its hour angle) and grows with it, so the
// places that see a contact form one arc of the parallel around the
// longitude of the highest Moon, and those that do not one arc around the
// lowest.  Every run of equal bits along a row therefore either touches an
// end of the row or holds the pixel next to such an extreme.  Sampling the
// row at its ends and beside every extreme (and its copy a turn away, on a
// map slightly wider than the world), every run holds a sample: between
// two neighbouring samples each contact's bit changes at most once.  So
// between two pixels of the same State all pixels share it, and a gap
// between different States is halved until every part has equal ends (or
// no pixels left inside).  More samples only shorten the gaps: every Step
// pixels (a place to take the row's latitude from) and beside the changes
// of a nearby row.
void FillGap(const TLunarPass& p, int y, std::vector<int>& state, int left, int right, TLatitudeTerms& terms)
{
    if (right - left <= 1) return;
    if (state[left] >= 0 && state[left] == state[right]) {
        for (int i = left + 1; i < right; ++i) state[i] = state[left];
        return;
    }
    const int middle = left + (right - left) / 2;
    state[middle] = PixelState(p, middle, y, terms);
    FillGap(p, y, state, left, middle, terms);
    FillGap(p, y, state, middle, right, terms);
}

void ComputeLunarRowByRuns(const TLunarPass& p, int y, TLunarRow& row)
{
    std::vector<int>& state = row.State;
    state.assign(p.W, -2);
    TLatitudeTerms terms;
    double lat = 0;
    bool haveLatitude = false;
    auto sample = [&](int x) {
        if (x < 0 || x >= p.W || state[x] != -2) return;
        double la = 0;
        state[x] = PixelState(p, x, y, terms, &la);
        if (state[x] >= 0 && !haveLatitude) {
            lat = la;
            haveLatitude = true;
        }
    };
    for (int x = 0; x < p.W; x += p.Step) sample(x);
    sample(p.W - 1);
    if (!haveLatitude) {  // no place among the samples: every pixel on its own
        ComputeLunarRowByPixels(p, y, row);
        return;
    }
    // A map a little wider than the world shows the longitudes at its ends
    // twice: the copy a turn (2 X1 pixels) away is sampled as well.
    const int turn = static_cast<int>(rtl::Round(2 * p.Map.X1));
    for (double lon : p.ExtremeLongitudes) {
        int xe = 0, ye = 0;
        if (!GeoToPixel(p.Map, lat, lon, xe, ye)) continue;
        for (int copy : {xe - turn, xe, xe + turn})
            for (int x = copy - 1; x <= copy + 1; ++x) sample(x);
    }
    // Beside the changes of a nearby row: they move little from row to row,
    // so the gaps left to halve are short.
    TRowChanges& changes = LastChanges;
    if (changes.Pass != p.Serial) changes.Columns.clear();
    changes.Pass = p.Serial;
    for (int x : changes.Columns) {
        sample(x - 1);
        sample(x);
    }
    int left = -1;  // the last sample
    for (int x = 0; x < p.W; ++x) {
        if (state[x] == -2) continue;
        if (left >= 0) FillGap(p, y, state, left, x, terms);
        left = x;
    }
    changes.Columns.clear();
    for (int x = 1; x < p.W; ++x)
        if (state[x] != state[x - 1]) changes.Columns.push_back(x);
    int lastState = -1, zone = 0;  // the class of the last State met
    for (int x = 0; x < p.W; ++x) {
        if (state[x] < 0) continue;
        if (state[x] != lastState) {
            lastState = state[x];
            zone = p.LEE->LunarVisibilityZone(lastState);
        }
        Shade(p, row, x, zone);
    }
}

void ComputeLunarRow(const TLunarPass& p, int y, TLunarRow& row)
{
    if (!row.Cache) row.Cache = std::make_unique<TShadeCache>(&p.Factors);
    const uint8_t* src = p.Source.Data.data() + static_cast<size_t>(y) * 3 * p.W;
    row.Pixels.assign(src, src + 3 * static_cast<size_t>(p.W));
    if (p.ByRuns) ComputeLunarRowByRuns(p, y, row);
    else ComputeLunarRowByPixels(p, y, row);
}

std::string TypeWord(const std::string& type)
{
    const char t = type.empty() ? ' ' : type[0];
    switch (t) {
    case 'T': return "Total";
    case 'P': return "Partial";
    case 'N': return "Penumbral";
    default: return "";
    }
}

} // namespace

void TEclipseMap::CalculateLunarEclipseMap(const TLunarEclipse& lee)
{
    try {
        StartCalculation(TypeWord(lee.EclipseType()) + " Lunar Eclipse of " + lee.DT(), lee.Gamma(), lee.MagUmbra(),
                         lee.Saros(), lee.Lunation(), lee.deltaT(), lee.JD());

        const TMapDrawSettings& s = Settings;
        TCanvas& c = *FMap->Canvas();
        c.Pen()->SetMode(TPenMode::pmCopy);
        c.Font()->SetColor(s.Colors[slotLunarLabels]);
        c.Font()->SetSize(s.LELabelSize);

        TLunarPass p;
        p.LEE = &lee;
        static std::atomic<unsigned> passes{0};
        p.Serial = ++passes;
        p.Map = MapData;
        p.W = MapData.Width;
        p.H = MapData.Height;
        p.Source.Data.reserve(static_cast<size_t>(p.W) * 3 * p.H);  // filled row by row, never zeroed first
        for (int y = 0; y < p.H; ++y) {
            const uint8_t* line = FMap->ScanLine(y);
            p.Source.Data.insert(p.Source.Data.end(), line, line + 3 * static_cast<size_t>(p.W));
        }
        for (int i = 0; i < 7; ++i) {
            p.Factors[i] = s.LEShadingIntensity[i] * 0.01;
            p.Unchanged[i] = std::fabs(p.Factors[i] - 1) <= 0.01;
        }
        // Rows are parallels on the cylindrical and pseudo-cylindrical maps;
        // the arc argument needs each parallel to appear at most once.
        const int threads = PlainPass ? 1 : Threads > 0 ? Threads : DefaultMapThreads();
        const bool parallels = MapData.Projection == compute::prjPlateCarree ||
                               MapData.Projection == compute::prjMercator || MapData.Projection == compute::prjRobinson;
        p.ByRuns = !PlainPass && parallels && MapData.X1 > 0 && p.W <= 2 * MapData.X1 + 8;
        p.Places = std::make_unique<TPixelPlaces>(p.Map);
        for (int i = 0; i < 7; ++i) {
            const compute::TLunarContact& c = lee.Contact(i);
            if (c.JD <= 1) continue;
            const double highest = static_cast<double>(compute::NormalizeDegrees(compute::RadiansToDeg(c.GHA)));
            p.ExtremeLongitudes.push_back(highest);
            p.ExtremeLongitudes.push_back(static_cast<double>(compute::NormalizeDegrees(highest + 180)));
        }

        std::function<void(int, TLunarRow&)> compute = [&p](int y, TLunarRow& row) { ComputeLunarRow(p, y, row); };
        // The States of the middle row, where the labels go, when the pass
        // found every one of them.
        const int ym = p.H / 2;
        std::vector<int> middle;
        std::function<bool(int, TLunarRow&)> merge = [&](int y, TLunarRow& row) {
            if (y == ym && p.ByRuns && static_cast<int>(row.State.size()) == p.W &&
                std::find(row.State.begin(), row.State.end(), -2) == row.State.end())
                middle = row.State;
            std::copy(row.Pixels.begin(), row.Pixels.end(), FMap->ScanLine(y));
            Progress(static_cast<int>(rtl::Round(static_cast<long double>(y) * 100 / p.H)));
            if (y % 200 == 0) Invalidate();
            FHost->ProcessMessages();
            return FHost->Status() != stCancel;
        };
        FLastPassRows = RunRowPass<TLunarRow>(p.H, threads, compute, merge);

        if (FHost->Status() != stCancel && s.Flags[slotLunarLabels]) {
            int last = 0;
            auto zoneAt = [&](int x, int& zone) {
                if (!middle.empty()) {
                    if (middle[x] < 0) return false;  // no place
                    zone = lee.LunarVisibilityZone(middle[x]);
                    return true;
                }
                double lat, lon;
                if (!PixelToGeo(x, ym, lat, lon)) return false;
                TLELocalCircumstances lc;
                lc.Latitude = lat;
                lc.Longitude = lon;
                lee.LocalCircumstances(lc);
                zone = lc.Zone;
                return true;
            };
            if (!zoneAt(0, last)) last = 0;
            for (int x = 0; x < p.W; ++x) {
                int zone;
                if (!zoneAt(x, zone) || zone == last) continue;
                last = zone;
                const std::string label = LunarZoneLabel(lee.EclipseType(), zone, s.LELongLabels);
                if (!label.empty()) DrawTextBox(c, x, ym, label, 1, 1, false);
            }
            DrawGreatestEclipseMarker(c, lee.MELat(), lee.MELon(), "Maximum eclipse\r\nin zenith");
        }
        EndCalculation();
    } catch (const std::exception&) {
        FailCalculation();
    }
}

} // namespace app
