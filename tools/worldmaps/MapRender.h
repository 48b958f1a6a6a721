// Drawing a grey world map in plate carrée from a land mask and coast and
// border lines, placed on pixels exactly as the program's map record says.
//
// Geometry: a place at latitude lat and longitude lon (degrees; EAST
// positive here, as the geographic data gives them) has the plane
// coordinates u = -lon/180, v = lat/90 of the program (whose longitudes are
// west positive) and lies at pixel x = X0 - u·X1, y = Y0 - v·Y1, the
// centre of a pixel being at whole coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/worldmaps/PaletteImage.h"

namespace worldmaps {

struct TMapGeometry {
    int Width = 0, Height = 0;
    double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;

    double PixelX(double lonEast) const { return X0 + lonEast / 180.0 * X1; }
    double PixelY(double lat) const { return Y0 - lat / 90.0 * Y1; }
    double LonEast(double x) const { return (x - X0) / X1 * 180.0; }
    double Lat(double y) const { return (Y0 - y) / Y1 * 90.0; }
};

struct TGeoPoint {
    double Lon = 0, Lat = 0;  // degrees, longitude east positive
};
using TPolyline = std::vector<TGeoPoint>;

// How much of each pixel a set of lines covers, 0..1.
class TCoverage {
public:
    explicit TCoverage(const TMapGeometry& geometry);

    // Draws a polyline of the given width (pixels), anti-aliased.  A step of
    // more than 180 degrees of longitude is a jump across the date line, not
    // a segment; lines near the left or right edge are also drawn a whole
    // turn away, since the picture's edges meet there.
    void AddPolyline(const TPolyline& line, double width);

    float At(int x, int y) const { return FCover[static_cast<size_t>(y) * FGeometry.Width + x]; }

private:
    void AddSegment(double ax, double ay, double bx, double by, double width);

    TMapGeometry FGeometry;
    std::vector<float> FCover;
};

// Grey levels (0 black .. 255 white) of the map's features.
struct TMapStyle {
    int Water = 250;
    int Land = 218;
    int Coast = 110;
    int Border = 150;
};

// Composes the picture: water and land mixed by the land fraction of each
// pixel (0..1, row by row), then the borders, then the coasts over them.
// The palette holds the 256 greys, index = grey level.
TPaletteImage ComposeMap(const TMapGeometry& geometry, const std::vector<float>& landFraction,
                         const TCoverage& borders, const TCoverage& coasts, const TMapStyle& style);

// Parses the multi-segment text that GMT dumps ("> ..." starts a segment,
// other lines are "lon lat").
std::vector<TPolyline> ParseSegments(const std::string& text);

} // namespace worldmaps
