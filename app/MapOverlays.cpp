#include "app/MapOverlays.h"

#include <algorithm>
#include <vector>

#include "app/MapView.h"
#include "app/ObserverDataLists.h"
#include "compute/AstroMath.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

TSprite CrossHairSprite = {
    "00000001310000000", "00000001310000000", "00000001310000000", "00000001310000000",
    "00000001310000000", "00000001310000000", "00000000000000000", "11111100000111111",
    "33333300000333333", "11111100000111111", "00000000000000000", "00000001310000000",
    "00000001310000000", "00000001310000000", "00000001310000000", "00000001310000000",
    "00000001310000000"};

TSprite LocationMarkerSprite = {
    "11111110001111111", "12222220002222221", "12222220002222221", "12211111111111221",
    "12210000000001221", "12210000000001221", "12210000000001000", "00010000000001000",
    "00010000000001000", "00010000000001000", "12210000000001000", "12210000000001221",
    "12210000000001221", "12211111111111221", "12222220002222221", "12222220002222221",
    "11111110001111111"};

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    lines.push_back(line);
    return lines;
}

} // namespace

void DrawTextBox(TCanvas& c, int x, int y, const std::string& text, int hAlign, int vAlign, bool transparent)
{
    const std::vector<std::string> lines = SplitLines(text);
    int widest = 0;
    for (const std::string& l : lines) widest = std::max(widest, c.TextWidth(l));
    const int w = widest + 4;
    const int h1 = c.TextHeight(text);
    const int h = h1 * static_cast<int>(lines.size()) + 4;
    if (hAlign == 1) x -= w / 2;
    else if (hAlign == 2) x -= w;
    if (vAlign == 1) y -= h / 2;
    else if (vAlign == 2) y -= h;
    if (!transparent) {
        c.Brush()->SetColor(clWhite);
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
        c.Pen()->SetStyle(TPenStyle::psSolid);
        c.Pen()->SetColor(c.Font()->Color());
        c.Rectangle(x, y, x + w, y + h);
    }
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    for (size_t i = 0; i < lines.size(); ++i) c.TextOut(x + 2, y + 2 + h1 * static_cast<int>(i), lines[i]);
}

void DrawSprite(TCanvas& c, int x, int y, TSprite& sprite)
{
    static const TColor colours[5] = {clNone, clWhite, clRed, clBlue, clGreen};
    for (int i = -8; i <= 8; ++i)
        for (int j = -8; j <= 8; ++j) {
            const int code = sprite[j + 8][i + 8] - '0';
            if (code > 0 && code < 5) c.SetPixels(x + i, y + j, colours[code]);
        }
}

int MapFontScale(int mapWidth) { return mapWidth <= 2000 ? 0 : (mapWidth - 2000) / 200; }

void DrawLocations(TCanvas& c, const TOverlayContext& ctx)
{
    const TMapDrawSettings& s = *ctx.Settings;
    if (!s.Flags[slotLocations] || !ctx.Locations) return;
    c.Pen()->SetStyle(TPenStyle::psSolid);
    c.Pen()->SetColor(clNavy);
    c.Pen()->SetWidth(1);
    c.Font()->SetColor(s.Colors[slotLocationNames]);
    for (int i = 0; i < ctx.Locations->Count(); ++i) {
        const TObserverData* o = (*ctx.Locations)[i];
        int x = 0, y = 0;
        if (!GeoToPixel(*ctx.Map, static_cast<double>(compute::RadiansToDeg(o->GeoLatitude())),
                        static_cast<double>(compute::RadiansToDeg(o->GeoLongitude())), x, y))
            continue;
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
        c.Brush()->SetColor(s.Colors[slotLocations]);
        c.Ellipse(x - 3, y - 3, x + 4, y + 4);
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        if (s.Flags[slotLocationNames]) {
            std::string name, country;
            TObserverDataList::SplitPlaceCountry(o->Place(), name, country);
            c.TextOut(x + 6, y - c.TextHeight("0") / 2, name);
        }
    }
}

void DrawInfoBox(TCanvas& c, const TOverlayContext& ctx)
{
    const TMapDrawSettings& s = *ctx.Settings;
    if (!s.Flags[slotInfo] || !ctx.Heading) return;
    const TMapData& map = *ctx.Map;
    const TEclipseHeading& hd = *ctx.Heading;
    const int a = MapFontScale(map.Width);
    const TColor colour = s.Colors[slotInfo];
    c.Font()->SetColor(colour);
    c.Brush()->SetColor(clWhite);
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Pen()->SetStyle(TPenStyle::psSolid);
    c.Pen()->SetColor(colour);
    c.Pen()->SetWidth(1);

    auto bold = [&](bool on) {
        c.Font()->SetSize(on ? a + 12 : a + 9);
        c.Font()->SetStyle(on ? TFontStyles{TFontStyle::fsBold} : TFontStyles{});
    };
    bold(true);
    const int tw = c.TextWidth(hd.Title), th = c.TextHeight(hd.Title);
    bold(false);
    const int lh = c.TextHeight("0");
    const int bw = tw + 16, bh = th + 3 * lh + 16;
    const bool top = s.InfoPosition == ipTopLeft || s.InfoPosition == ipTopCenter || s.InfoPosition == ipTopRight;
    const int y = top ? 15 : map.Height - bh - 50;
    int x = 0;
    switch (s.InfoPosition) {
    case ipTopLeft:
    case ipBottomLeft: x = 15; break;
    case ipTopRight:
    case ipBottomRight: x = map.Width - bw - 15; break;
    default: x = (map.Width - bw) / 2; break;
    }
    c.Rectangle(x, y, x + bw, y + bh);

    c.Brush()->SetStyle(TBrushStyle::bsClear);
    bold(true);
    c.TextOut(x + 8, y + 8, hd.Title);
    const int l0 = c.TextHeight("0");
    bold(false);
    const int c1 = x + 8;
    const int c2 = c1 + c.TextWidth("Magnitude: ");
    const int c3 = c2 + c.TextWidth("0:00:00    ");
    const int c4 = c3 + c.TextWidth("Lunation: ");
    const int row = c.TextHeight("0");
    const int y1 = y + 8 + l0;
    c.TextOut(c1, y1, "Gamma:");
    c.TextOut(c2, y1, hd.Gamma);
    c.TextOut(c3, y1, "Lunation:");
    c.TextOut(c4, y1, hd.Lunation);
    const int y2 = y1 + row;
    c.TextOut(c1, y2, "Magnitude:");
    c.TextOut(c2, y2, hd.Magnitude);
    c.TextOut(c3, y2, "Saros:");
    c.TextOut(c4, y2, hd.Saros);
    c.TextOut(c1, y2 + row, "delta T:");
    c.TextOut(c2, y2 + row, hd.DeltaT);
}

void DrawNotice(TCanvas& c, const TOverlayContext& ctx)
{
    const TMapDrawSettings& s = *ctx.Settings;
    const TMapData& map = *ctx.Map;
    const TColor colour = s.Colors[slotInfo];
    c.Font()->SetColor(colour);
    c.Font()->SetStyle(TFontStyles{});
    c.Brush()->SetColor(clWhite);
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Pen()->SetStyle(TPenStyle::psSolid);
    c.Pen()->SetColor(colour);
    c.Pen()->SetWidth(1);
    const std::string text = ctx.Notices + " Map source: " + map.Source + ".";
    // Shrinks until the line fits, but not below a readable size: a map too
    // narrow for that clips the line instead.
    int size = std::max(MapFontScale(map.Width) + 8, MinNoticeFontSize);
    c.Font()->SetSize(size);
    while (c.TextWidth(text) > map.Width - 16 && size > MinNoticeFontSize) c.Font()->SetSize(--size);
    const int w = c.TextWidth(text) + 16, h = c.TextHeight(text);
    const int x = (map.Width - w) / 2, y = map.Height - h - 4;
    c.Rectangle(x, y - 2, x + w, map.Height - 2);
    c.TextOut(x + 8, y, text);
}

} // namespace app
