// Map pixels and geographic positions through the map's projection, and
// what the mouse reads over the map: the local circumstances under the
// pointer as the information panel shows them, the altitude chart, and the
// location under a click.  Positions in degrees, longitudes west positive.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/MapData.h"
#include "platform/gui/Graphics.h"

namespace compute {
class TSolarEclipse;
class TLunarEclipse;
}

namespace app {

class TObserverDataList;

// The pixel of a place: plane coordinates (u, v) of the map's projection
// (longitude - dLon for all but the conic projection, which takes dLat and
// dLon itself), pixel x = round(X0 - u X1), y = round(Y0 - v Y1).  False
// when the projection cannot map the place (x, y are then 0).  A pixel
// outside the bitmap is still returned.
bool GeoToPixel(const TMapData& map, double lat, double lon, int& x, int& y);
// The place of a pixel by the inverse projection; longitudes are reduced to
// [-180, 180].  False when the pixel lies outside the projection's outline.
bool PixelToGeo(const TMapData& map, double x, double y, double& lat, double& lon);

// The places of a map's pixels for a pass over the whole map: on the plate
// carree (each row one latitude, each column one longitude) from a table
// per row and per column, elsewhere through PixelToGeo.  Gives what
// PixelToGeo gives, bit for bit, the result included.
//   TPixelPlaces places(map);
//   if (places.Place(x, y, lat, lon)) ...
class TPixelPlaces {
public:
    explicit TPixelPlaces(const TMapData& map);
    bool Place(int x, int y, double& lat, double& lon) const;

private:
    TMapData FMap;
    bool FTables = false;
    std::vector<double> FLat, FLon;
    std::vector<char> FLatOk, FLonOk;
};

// "120° 00' W, 40° 30' N": LongitudeToText + ", " + LatitudeToText.
std::string PositionText(double lat, double lon);
// The place name of a location added by a click: "[" + position + "]".
std::string NewLocationPlaceName(double lat, double lon);
// "hh:mm UT" of a Julian Day in UT.
std::string UTTimeText(long double jd);

// The readout of the information panel for one pixel: the position, the
// seven value labels (contact index i of the solar set 0..4 or the lunar
// set 0..6), which of them are grey (the body below the horizon), and the
// altitude chart.
struct TMapReadout {
    std::string Position = "---";
    std::array<std::string, 7> Values{"---", "---", "---", "---", "---", "---", "---"};
    std::array<bool, 7> Grey{};
    // The chart is cleared; with ChartDrawn its bars follow.
    bool ChartCleared = false;
    bool ChartDrawn = false;
    struct TBar {
        int Contact;      // contact index (the bar's row)
        double Altitude;  // degrees
    };
    std::vector<TBar> Bars;
};

// Contact sets shown for a lunar eclipse of catalogue type "T", "P", "N".
std::vector<int> LunarReadoutContacts(const std::string& eclipseType);

TMapReadout SolarReadout(const TMapData& map, const compute::TSolarEclipse& see, int x, int y);
TMapReadout LunarReadout(const TMapData& map, const compute::TLunarEclipse& lee, int x, int y);

// Draws the altitude chart of a readout on the info panel's paint box
// canvas (width x height): cleared in panelColor, axis, bars of 0.33 pixel
// per degree (white above, grey below the horizon), the rotated title
// "Altitude of Sun" or "Altitude of Moon".  Only clears when the readout
// has no chart.
void DrawAltitudeChart(gui::TCanvas& canvas, int width, int height, gui::TColor panelColor,
                       bool moon, const TMapReadout& readout);

// Index of the first location whose pixel lies within 3 pixels of (x, y),
// in list order; -1 when none.
int FindLocationAt(const TMapData& map, const TObserverDataList& locations, int x, int y);

} // namespace app
