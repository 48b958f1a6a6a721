// The eclipse map's state, loading, painting and saving; the computations
// are in EclipseMapSolar.cpp and EclipseMapLunar.cpp.
#include "app/EclipseMap.h"

#include <algorithm>
#include <cmath>

#include "app/MapImages.h"
#include "app/MapView.h"
#include "app/ObserverDataLists.h"
#include "compute/AstroBase.h"
#include "compute/AstroMath.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

// --- shared records ---------------------------------------------------------

const std::string SolarNotices =
    "Created with Tolmira Eclipse Calculator. Solar eclipse predictions from Besselian elements "
    "computed with the Swiss Ephemeris, checked against the Five Millennium Canon of Solar Eclipses.";
const std::string LunarNotices =
    "Created with Tolmira Eclipse Calculator. Lunar eclipse predictions computed with the Swiss "
    "Ephemeris, checked against the Five Millennium Canon of Lunar Eclipses.";

void ApplyMapCurveDefaults(TMapDrawSettings& s, const TMapData& map)
{
    s.CEMWidth = map.CEMWidth;
    s.CEMScale = map.CEMScale;
    s.CETWidth = map.CETWidth;
    s.CETScale = map.CETScale;
    s.VBLWidth = map.VBLWidth;
    s.CEMLabelOffset = map.CEMLabelOffset;
    s.CEMLabelScale = map.CEMLabelScale;
}

TMapDrawSettings DefaultMapDrawSettings(const TMapData& map)
{
    TMapDrawSettings s;
    s.Colors = {0x0000FF, 0x9393FF, 0x00A5FF, 0xFF0000, 0x008000, 0x800000, 0x800000,
                0xFF6633, 0x003399, 0xFF0000, 0xFFFFFF, 0xFF0000, 0x800000, 0x800000};
    s.Flags = {true, true, true, true, true, true, true, true, false, false, true, false, true, true};
    ApplyMapCurveDefaults(s, map);
    s.CEMLabelSize = 8;
    s.CETLabelSize = 8;
    s.LELabelSize = 8;
    s.LELongLabels = false;
    s.InfoPosition = ipBottomRight;
    for (int i = 0; i < 6; ++i) s.LEShadingIntensity[i] = 30 + 10 * i;
    return s;
}

void AddCETPoint(TCETData& data, int x, int y, double t)
{
    for (TCETTrack& track : data) {
        if (std::fabs(track.Value - t) < 0.001) {
            if (track.Count < TCETTrack::Capacity) {
                track.X[track.Count] = static_cast<int16_t>(x);
                track.Y[track.Count] = static_cast<int16_t>(y);
                ++track.Count;
            }
            return;
        }
    }
    for (TCETTrack& track : data) {
        if (track.Value < 1) {
            track.Value = t;
            track.X[0] = static_cast<int16_t>(x);
            track.Y[0] = static_cast<int16_t>(y);
            track.Count = 1;
            return;
        }
    }
}

TPoint CenterViewOn(TPoint pixel, int viewWidth, int viewHeight)
{
    return {std::max(0, pixel.X - viewWidth / 2), std::max(0, pixel.Y - viewHeight / 2)};
}

std::string DeltaTSourceText(long double jde, const std::string& deltaTTableFile)
{
    const long double year = compute::JDToDecimalYear(jde);
    // From 1620 on the internal table serves, continued past its last year.
    if (compute::UseInternalDeltaTTable && year >= 1620) return "Internal delta T table";
    return deltaTTableFile;
}

std::string PrintMapProgressCaption(long long done, long long total)
{
    const long long percent = total > 0 ? static_cast<long long>(static_cast<double>(done) / total * 100) : 0;
    return "Printing the map - " + std::to_string(percent) + "%";
}

// --- the map ----------------------------------------------------------------

TEclipseMap::TEclipseMap(TMapHost* host)
    : FHost(host ? host : &FOwnHost), FMap(std::make_unique<TBitmap>()), FCETData(std::make_unique<TCETData>())
{
}

TEclipseMap::~TEclipseMap() = default;

void TEclipseMap::SetHost(TMapHost* host) { FHost = host ? host : &FOwnHost; }

void TEclipseMap::LoadMap()
{
    LoadMapPicture(MapData, ResourceMapMode, GreyScaleMap, *FMap);
    FHost->MapSizeChanged(MapData.Width, MapData.Height);
}

bool TEclipseMap::GeoToPixel(double lat, double lon, int& x, int& y) const
{
    return app::GeoToPixel(MapData, lat, lon, x, y);
}

bool TEclipseMap::PixelToGeo(int x, int y, double& lat, double& lon) const
{
    return app::PixelToGeo(MapData, x, y, lat, lon);
}

void TEclipseMap::Invalidate() { FHost->InvalidateMap(); }

void TEclipseMap::Progress(int percent) { FHost->SetProgress(percent); }

void TEclipseMap::StartCalculation(const std::string& title, long double gamma, long double magnitude,
                                   int32_t saros, int32_t lunation, long double deltaT, long double jde)
{
    FHost->SetStatus(stCalculating);
    MarkerPos = {-1, -1};
    const auto fixed4 = [](long double v) { return rtl::FloatToStrF(v, rtl::TFloatFormat::ffFixed, 15, 4); };
    Heading.Title = title;
    Heading.Gamma = fixed4(gamma);
    Heading.Magnitude = fixed4(magnitude);
    Heading.Saros = rtl::IntToStr(saros);
    Heading.Lunation = rtl::IntToStr(lunation);
    compute::FormatDHMS(Heading.DeltaT, deltaT);
    Heading.DeltaTSource = DeltaTSourceText(jde, DeltaTTableFile);
    FHost->ShowHeading(Heading);
    FHost->FillLocationTable();
    LoadMap();
    Invalidate();
    Progress(0);
}

void TEclipseMap::FailCalculation()
{
    Progress(0);
    FHost->SetStatus(stCancelled);
    FHost->ShowError(CalculationErrorMessage);
}

void TEclipseMap::DrawGreatestEclipseMarker(gui::TCanvas& c, double lat, double lon, const char* caption)
{
    int x, y;
    if (GeoToPixel(lat, lon, x, y)) {
        DrawSprite(c, x, y, CrossHairSprite);
        DrawTextBox(c, x + 10, y, caption, 0, 1, false);
    }
}

void TEclipseMap::EndCalculation()
{
    if (FHost->Status() == stCancel) {
        FHost->SetStatus(stCancelled);
        LoadMap();
    } else if (FHost->Status() == stCalculating) {
        FHost->SetStatus(stCalculated);
    }
    Invalidate();
    Progress(0);
}

TOverlayContext TEclipseMap::Overlays(const TObserverDataList* locations) const
{
    TOverlayContext c;
    c.Map = &MapData;
    c.Settings = &Settings;
    c.Heading = &Heading;
    c.Locations = locations;
    c.Notices = Notices;
    return c;
}

void TEclipseMap::PaintMap(TCanvas& canvas, const TObserverDataList* locations)
{
    canvas.Draw(0, 0, FMap.get());
    const TOverlayContext c = Overlays(locations);
    DrawLocations(canvas, c);
    DrawInfoBox(canvas, c);
    DrawNotice(canvas, c);
    if (MarkerPos.X != -1 || MarkerPos.Y != -1) DrawSprite(canvas, MarkerPos.X, MarkerPos.Y, LocationMarkerSprite);
}

std::unique_ptr<TBitmap> TEclipseMap::MapPicture(const TObserverDataList* locations)
{
    auto picture = std::make_unique<TBitmap>();
    picture->Assign(FMap.get());
    const TOverlayContext c = Overlays(locations);
    DrawLocations(*picture->Canvas(), c);
    DrawInfoBox(*picture->Canvas(), c);
    DrawNotice(*picture->Canvas(), c);
    return picture;
}

void TEclipseMap::SaveAsGraphics(const std::string& fileName, const TObserverDataList* locations)
{
    std::unique_ptr<TBitmap> picture = MapPicture(locations);
    SavePictureFile(*picture, fileName);
}

bool TEclipseMap::MarkLocation(const TObserverData& o)
{
    int x = 0, y = 0;
    if (!GeoToPixel(static_cast<double>(compute::RadiansToDeg(o.GeoLatitude())),
                    static_cast<double>(compute::RadiansToDeg(o.GeoLongitude())), x, y))
        return false;
    if (x < 0 || x > MapData.Width - 1 || y < 0 || y > MapData.Height - 1) return false;
    MarkerPos = {x, y};
    Invalidate();
    return true;
}

} // namespace app
