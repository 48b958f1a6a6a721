// Anti-aliased line coverage and composition of the grey world maps.

#include "tools/worldmaps/MapRender.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

namespace worldmaps {

TCoverage::TCoverage(const TMapGeometry& geometry)
    : FGeometry(geometry), FCover(static_cast<size_t>(geometry.Width) * geometry.Height, 0.0f)
{
}

void TCoverage::AddPolyline(const TPolyline& line, double width)
{
    const double turn = 2.0 * FGeometry.X1;  // pixels per 360 degrees
    for (size_t i = 1; i < line.size(); ++i) {
        const TGeoPoint& a = line[i - 1];
        const TGeoPoint& b = line[i];
        if (std::abs(b.Lon - a.Lon) > 180.0)
            continue;
        double ax = FGeometry.PixelX(a.Lon), ay = FGeometry.PixelY(a.Lat);
        double bx = FGeometry.PixelX(b.Lon), by = FGeometry.PixelY(b.Lat);
        AddSegment(ax, ay, bx, by, width);
        double margin = width + 2.0;
        if (std::min(ax, bx) < margin)
            AddSegment(ax + turn, ay, bx + turn, by, width);
        if (std::max(ax, bx) > FGeometry.Width - 1 - margin)
            AddSegment(ax - turn, ay, bx - turn, by, width);
    }
}

// Coverage of a pixel by a line of width w whose axis passes at distance d
// from the pixel's centre: the box filter's share, approximated as
// w/2 + 1/2 - d, never more than w (a thin line never fills a pixel).
void TCoverage::AddSegment(double ax, double ay, double bx, double by, double width)
{
    const double reach = width / 2.0 + 0.5;
    int x0 = std::max(0, static_cast<int>(std::floor(std::min(ax, bx) - reach)));
    int x1 = std::min(FGeometry.Width - 1, static_cast<int>(std::ceil(std::max(ax, bx) + reach)));
    int y0 = std::max(0, static_cast<int>(std::floor(std::min(ay, by) - reach)));
    int y1 = std::min(FGeometry.Height - 1, static_cast<int>(std::ceil(std::max(ay, by) + reach)));
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            double px = ax + t * dx - x, py = ay + t * dy - y;
            double d = std::sqrt(px * px + py * py);
            double c = std::clamp(std::min(width, reach - d), 0.0, 1.0);
            float& cell = FCover[static_cast<size_t>(y) * FGeometry.Width + x];
            cell = std::max(cell, static_cast<float>(c));
        }
}

TPaletteImage ComposeMap(const TMapGeometry& geometry, const std::vector<float>& landFraction,
                         const TCoverage& borders, const TCoverage& coasts, const TMapStyle& style)
{
    TPaletteImage image;
    image.Width = geometry.Width;
    image.Height = geometry.Height;
    for (int i = 0; i < 256; ++i)
        image.Palette.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)});
    image.Pixels.resize(static_cast<size_t>(geometry.Width) * geometry.Height);
    for (int y = 0; y < geometry.Height; ++y)
        for (int x = 0; x < geometry.Width; ++x) {
            size_t i = static_cast<size_t>(y) * geometry.Width + x;
            double g = style.Water + (style.Land - style.Water) * landFraction[i];
            g += (style.Border - g) * borders.At(x, y);
            g += (style.Coast - g) * coasts.At(x, y);
            image.Pixels[i] = static_cast<uint8_t>(std::clamp(std::lround(g), 0L, 255L));
        }
    return image;
}

std::vector<TPolyline> ParseSegments(const std::string& text)
{
    std::vector<TPolyline> lines;
    std::istringstream in(text);
    std::string row;
    bool open = false;
    while (std::getline(in, row)) {
        if (row.empty() || row[0] == '#')
            continue;
        if (row[0] == '>') {
            open = false;
            continue;
        }
        char* end = nullptr;
        double lon = std::strtod(row.c_str(), &end);
        char* end2 = nullptr;
        double lat = std::strtod(end, &end2);
        if (end == row.c_str() || end2 == end)
            continue;
        if (!open) {
            lines.emplace_back();
            open = true;
        }
        lines.back().push_back({lon, lat});
    }
    return lines;
}

} // namespace worldmaps
