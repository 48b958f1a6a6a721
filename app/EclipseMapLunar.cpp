// The lunar eclipse map: every pixel is darkened by the intensity of its
// place's visibility class; labels along the middle row mark where the
// class changes, and a marker shows where the Moon stands in the zenith at
// greatest eclipse.
#include <cmath>
#include <vector>

#include "app/EclipseMap.h"
#include "app/MapColors.h"
#include "app/MapRowPass.h"
#include "app/MapView.h"
#include "compute/DatesAndTimes.h"
#include "compute/LunarEclipses.h"
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
    const TMapData* Map = nullptr;
    const uint8_t* Source = nullptr;  // the clean map's first row
    std::ptrdiff_t Stride = 0;
    int W = 0, H = 0;
    std::array<double, 7> Factors{};
    std::array<bool, 7> Unchanged{};  // factor within 0.01 of 1
};

struct TLunarRow {
    std::vector<uint8_t> Pixels;  // blue, green, red
    std::unique_ptr<TShadeCache> Cache;
};

void ComputeLunarRow(const TLunarPass& p, int y, TLunarRow& row)
{
    if (!row.Cache) row.Cache = std::make_unique<TShadeCache>(&p.Factors);
    const uint8_t* src = p.Source + p.Stride * y;
    row.Pixels.assign(src, src + 3 * static_cast<size_t>(p.W));
    for (int x = 0; x < p.W; ++x) {
        double lat = 0, lon = 0;
        if (!PixelToGeo(*p.Map, x, y, lat, lon)) continue;
        TLELocalCircumstances lc;
        lc.Latitude = lat;
        lc.Longitude = lon;
        p.LEE->LocalCircumstances(lc);
        const int index = ShadingIndex(lc.Zone);
        if (p.Unchanged[index]) continue;  // the colour stays as it is
        uint8_t* px = row.Pixels.data() + 3 * x;
        const TColor shaded = row.Cache->Shade(RGB(px[2], px[1], px[0]), index);
        px[0] = GetBValue(shaded);
        px[1] = GetGValue(shaded);
        px[2] = GetRValue(shaded);
    }
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
        FHost->SetStatus(stCalculating);
        MarkerPos = {-1, -1};
        Heading.Title = TypeWord(lee.EclipseType()) + " Lunar Eclipse of " + lee.DT();
        Heading.Gamma = rtl::FloatToStrF(lee.Gamma(), rtl::TFloatFormat::ffFixed, 15, 4);
        Heading.Magnitude = rtl::FloatToStrF(lee.MagUmbra(), rtl::TFloatFormat::ffFixed, 15, 4);
        Heading.Saros = rtl::IntToStr(lee.Saros());
        Heading.Lunation = rtl::IntToStr(lee.Lunation());
        compute::FormatDHMS(Heading.DeltaT, lee.deltaT());
        Heading.DeltaTSource = DeltaTSourceText(lee.JD(), DeltaTTableFile);
        FHost->ShowHeading(Heading);
        FHost->FillLocationTable();
        LoadMap();
        Invalidate();
        Progress(0);

        const TMapDrawSettings& s = Settings;
        TCanvas& c = *FMap->Canvas();
        c.Pen()->SetMode(TPenMode::pmCopy);
        c.Font()->SetColor(s.Colors[slotLunarLabels]);
        c.Font()->SetSize(s.LELabelSize);

        TLunarPass p;
        p.LEE = &lee;
        p.Map = &MapData;
        p.W = MapData.Width;
        p.H = MapData.Height;
        if (p.H > 0) {
            p.Source = FMap->ScanLine(0);
            p.Stride = p.H > 1 ? FMap->ScanLine(1) - FMap->ScanLine(0) : 0;
        }
        for (int i = 0; i < 7; ++i) {
            p.Factors[i] = s.LEShadingIntensity[i] * 0.01;
            p.Unchanged[i] = std::fabs(p.Factors[i] - 1) <= 0.01;
        }

        std::function<void(int, TLunarRow&)> compute = [&p](int y, TLunarRow& row) { ComputeLunarRow(p, y, row); };
        std::function<bool(int, TLunarRow&)> merge = [&](int y, TLunarRow& row) {
            std::copy(row.Pixels.begin(), row.Pixels.end(), FMap->ScanLine(y));
            Progress(static_cast<int>(rtl::Round(static_cast<long double>(y) * 100 / p.H)));
            if (y % 200 == 0) Invalidate();
            FHost->ProcessMessages();
            return FHost->Status() != stCancel;
        };
        // The workers read the clean rows in place while the merge writes
        // the rows before them: no row is read after it was written.
        FLastPassRows = RunRowPass<TLunarRow>(p.H, Threads > 0 ? Threads : DefaultMapThreads(), compute, merge);

        if (FHost->Status() != stCancel && s.Flags[slotLunarLabels]) {
            const int ym = p.H / 2;
            int last = 0;
            auto zoneAt = [&](int x, int& zone) {
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
            int x, y;
            if (GeoToPixel(lee.MELat(), lee.MELon(), x, y)) {
                DrawSprite(c, x, y, CrossHairSprite);
                DrawTextBox(c, x + 10, y, "Maximum eclipse\r\nin zenith", 0, 1, false);
            }
        }
        EndCalculation();
    } catch (const std::exception&) {
        FailCalculation();
    }
}

} // namespace app
