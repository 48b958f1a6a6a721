#include "app/MapView.h"

#include <cmath>

#include "app/ObserverDataLists.h"
#include "compute/AstroMath.h"
#include "compute/BesselSE.h"
#include "compute/DatesAndTimes.h"
#include "compute/LunarEclipses.h"
#include "compute/uProjections.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace compute;

bool GeoToPixel(const TMapData& map, double lat, double lon, int& x, int& y)
{
    x = 0;
    y = 0;
    long double u = 0, v = 0;
    bool ok = false;
    switch (map.Projection) {
    case prjRobinson: ok = ProjectRobinson(lat, NormalizeDegrees(lon - map.dLon), u, v); break;
    case prjMercator: ok = ProjectMercator(lat, NormalizeDegrees(lon - map.dLon), u, v); break;
    case prjPlateCarree: ok = ProjectPlateCarree(lat, NormalizeDegrees(lon - map.dLon), u, v); break;
    case prjLambertConformalConic: ok = ProjectLambertConic(lat, lon, map.dLat, map.dLon, u, v); break;
    case prjLambertAzimuthalEqualArea:
        ok = ProjectLambertAzimuthal(lat, NormalizeDegrees(lon - map.dLon), u, v);
        break;
    }
    if (!ok) return false;
    const long double px = map.X0 - u * map.X1;
    const long double py = map.Y0 - v * map.Y1;
    // A pixel beyond any bitmap (a pole on a Mercator map) is no pixel at all.
    if (!std::isfinite(px) || !std::isfinite(py) || std::fabs(px) > 1e9L || std::fabs(py) > 1e9L) return false;
    x = static_cast<int>(rtl::Round(px));
    y = static_cast<int>(rtl::Round(py));
    return true;
}

bool PixelToGeo(const TMapData& map, double x, double y, double& lat, double& lon)
{
    lat = 0;
    lon = 0;
    const long double u = (map.X0 - x) / map.X1;
    const long double v = (map.Y0 - y) / map.Y1;
    long double la = 0, lo = 0;
    bool ok = false;
    switch (map.Projection) {
    case prjRobinson: ok = UnprojectRobinson(u, v, la, lo); break;
    case prjMercator: ok = UnprojectMercator(u, v, la, lo); break;
    case prjPlateCarree: ok = UnprojectPlateCarree(u, v, la, lo); break;
    case prjLambertConformalConic: ok = UnprojectLambertConic(u, v, map.dLat, map.dLon, la, lo); break;
    case prjLambertAzimuthalEqualArea: ok = UnprojectLambertAzimuthal(u, v, la, lo); break;
    }
    if (map.Projection != prjLambertConformalConic) lo = NormalizeDegrees(lo + map.dLon);
    lat = static_cast<double>(la);
    lon = static_cast<double>(lo);
    return ok;
}

TPixelPlaces::TPixelPlaces(const TMapData& map) : FMap(map)
{
    if (map.Projection != prjPlateCarree || map.Width <= 0 || map.Height <= 0) return;
    // PixelToGeo's own steps, the latitude from v alone and the longitude
    // from u alone.
    FLon.resize(map.Width);
    FLonOk.resize(map.Width);
    for (int x = 0; x < map.Width; ++x) {
        const long double u = (map.X0 - static_cast<double>(x)) / map.X1;
        long double la = 0, lo = 0;
        FLonOk[x] = UnprojectPlateCarree(u, 0, la, lo);
        FLon[x] = static_cast<double>(NormalizeDegrees(lo + map.dLon));
    }
    FLat.resize(map.Height);
    FLatOk.resize(map.Height);
    for (int y = 0; y < map.Height; ++y) {
        const long double v = (map.Y0 - static_cast<double>(y)) / map.Y1;
        long double la = 0, lo = 0;
        FLatOk[y] = UnprojectPlateCarree(0, v, la, lo);
        FLat[y] = static_cast<double>(la);
    }
    FTables = true;
}

bool TPixelPlaces::Place(int x, int y, double& lat, double& lon) const
{
    if (!FTables || x < 0 || y < 0 || x >= FMap.Width || y >= FMap.Height)
        return PixelToGeo(FMap, x, y, lat, lon);
    lat = FLat[y];
    lon = FLon[x];
    return FLatOk[y] && FLonOk[x];
}

std::string PositionText(double lat, double lon)
{
    TDMS dms;
    std::string lonText, latText;
    RadiansToDMS(dms, DegToRadians(lon));
    LongitudeToText(dms, lonText);
    RadiansToDMS(dms, DegToRadians(lat));
    LatitudeToText(dms, latText);
    return lonText + ", " + latText;
}

std::string NewLocationPlaceName(double lat, double lon) { return "[" + PositionText(lat, lon) + "]"; }

std::string UTTimeText(long double jd)
{
    TDateTimeRec rec;
    JDToCivilDateRec(0, rec, jd);
    std::string text;
    TimeRecToHMText(rec, text);
    return text + " UT";
}

namespace {

std::string Fixed(long double v, int decimals) { return rtl::FloatToStrF(v, rtl::TFloatFormat::ffFixed, 15, decimals); }

const char* const Degree = "\u00B0";

} // namespace

std::vector<int> LunarReadoutContacts(const std::string& eclipseType)
{
    const char type = eclipseType.empty() ? ' ' : eclipseType[0];
    switch (type) {
    case 'T': return {0, 1, 2, 3, 4, 5, 6};
    case 'P': return {0, 1, 3, 5, 6};
    case 'N': return {0, 3, 6};
    default: return {};
    }
}

TMapReadout SolarReadout(const TMapData& map, const TSolarEclipse& see, int x, int y)
{
    TMapReadout r;
    double lat = 0, lon = 0;
    if (!PixelToGeo(map, x, y, lat, lon)) return r;
    r.Position = PositionText(lat, lon);
    r.ChartCleared = true;
    TSELocalCircumstances lc;
    lc.Latitude = lat;
    lc.Longitude = lon;
    if (!see.LocalCircumstances(lc) || (lc.SA0 < 0 && lc.SA2 < 0 && lc.SA4 < 0)) {
        r.Values[2] = "no eclipse visible";
        return r;
    }
    auto contact = [&](int i, const std::string& text, long double altitude) {
        r.Values[i] = text;
        r.Grey[i] = altitude < 0;
    };
    contact(0, UTTimeText(lc.JD0) + ", " + Fixed(lc.SA0, 1) + Degree, lc.SA0);
    contact(4, UTTimeText(lc.JD4) + ", " + Fixed(lc.SA4, 1) + Degree, lc.SA4);
    contact(2, UTTimeText(lc.JD2) + ", " + Fixed(lc.Magnitude, 3) + ", " + Fixed(lc.SA2, 1) + Degree, lc.SA2);
    std::vector<int> set{0, 2, 4};
    if (lc.EclipseType == 'A' || lc.EclipseType == 'T') {
        contact(1, UTTimeText(lc.JD1) + ", " + Fixed(lc.SA1, 1) + Degree, lc.SA1);
        contact(3, UTTimeText(lc.JD3) + ", " + Fixed(lc.SA3, 1) + Degree, lc.SA3);
        set = {0, 1, 2, 3, 4};
    }
    r.ChartDrawn = true;
    for (int i : set) r.Bars.push_back({i, static_cast<double>(lc.SA[i])});
    return r;
}

TMapReadout LunarReadout(const TMapData& map, const TLunarEclipse& lee, int x, int y)
{
    TMapReadout r;
    r.ChartCleared = true;
    double lat = 0, lon = 0;
    if (!PixelToGeo(map, x, y, lat, lon)) return r;
    r.Position = PositionText(lat, lon);
    TLELocalCircumstances lc;
    lc.Latitude = lat;
    lc.Longitude = lon;
    lee.LocalCircumstances(lc);
    r.ChartDrawn = true;
    for (int i : LunarReadoutContacts(lee.EclipseType())) {
        const long double altitude = lc.Moon[i][1];
        r.Values[i] = UTTimeText(lc.JD[i]) + ", " + Fixed(altitude, 1) + Degree;
        r.Grey[i] = altitude < 0;
        r.Bars.push_back({i, static_cast<double>(altitude)});
    }
    return r;
}

void DrawAltitudeChart(gui::TCanvas& c, int width, int height, gui::TColor panelColor, bool moon,
                       const TMapReadout& readout)
{
    using namespace gui;
    if (!readout.ChartCleared) return;
    c.Pen()->SetStyle(TPenStyle::psClear);
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Brush()->SetColor(panelColor);
    c.Rectangle(0, 0, width - 1, height - 1);
    if (!readout.ChartDrawn) return;

    c.Font()->SetName("Arial");
    c.Font()->SetSize(8);
    c.Font()->SetColor(clGray);
    c.Font()->SetOrientation(0);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Pen()->SetStyle(TPenStyle::psSolid);
    c.Pen()->SetColor(clGray);
    c.MoveTo(29, 12);
    c.LineTo(91, 12);
    c.TextOut(30, -1, "-");
    c.TextOut(85, -1, "+");
    c.MoveTo(60, 12);
    c.LineTo(60, moon ? 119 : 89);

    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Font()->SetName("Small Fonts");
    c.Font()->SetSize(7);
    c.Font()->SetOrientation(900);
    for (const TMapReadout::TBar& bar : readout.Bars) {
        const int len = std::max<int>(1, static_cast<int>(rtl::Round(std::fabs(bar.Altitude) * 0.33)));
        const int i = bar.Contact;
        if (bar.Altitude >= 0) {
            c.Brush()->SetColor(clWhite);
            c.Rectangle(60, 15 * i + 14, 61 + len, 15 * i + 27);
        } else {
            c.Brush()->SetColor(clGray);
            c.Rectangle(59 - len, 15 * i + 14, 60, 15 * i + 27);
        }
    }
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    const std::string title = moon ? "Altitude of Moon" : "Altitude of Sun";
    // The rotated text's extent: its width runs upward, its height sideways.
    c.Font()->SetOrientation(0);
    const TSize extent = c.TextExtent(title);
    c.Font()->SetOrientation(900);
    c.TextOut(width - extent.cy - 1, height - (height - extent.cx) / 2, title);
    c.Font()->SetOrientation(0);
}

int FindLocationAt(const TMapData& map, const TObserverDataList& locations, int x, int y)
{
    for (int i = 0; i < locations.Count(); ++i) {
        const TObserverData* o = locations[i];
        int px = 0, py = 0;
        if (!GeoToPixel(map, static_cast<double>(RadiansToDeg(o->GeoLatitude())),
                        static_cast<double>(RadiansToDeg(o->GeoLongitude())), px, py))
            continue;
        const double dx = px - x, dy = py - y;
        if (std::sqrt(dx * dx + dy * dy) <= 3) return i;
    }
    return -1;
}

} // namespace app
