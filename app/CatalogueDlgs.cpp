#include "app/CatalogueDlgs.h"

#include <cmath>
#include <cstdlib>

#include "chart/PlotUtils.h"
#include "compute/BesselSE.h"
#include "compute/LunarEclipses.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Strings.h"

namespace app {

bool ValidSarosText(const std::string& text)
{
    const std::string t = rtl::Trim(text);
    int32_t value;
    return t.empty() || rtl::TryStrToInt(t, value);
}

std::vector<std::string> CatalogueStatement(TEventType eventType, const std::array<bool, 4>& types,
                                            const std::string& sarosText, const std::string& order)
{
    const bool solar = eventType == etSolarEclipse;
    std::vector<std::string> lines;
    lines.push_back(solar ? "SELECT * FROM BE_SE" : "SELECT * FROM BE_LE");
    // The first term only opens the OR chain: it names a type the table
    // does not have.
    lines.push_back(solar ? "WHERE ((Type = \"N\")" : "WHERE ((Type = \"M\")");
    const char* const solarTypes[4] = {"P", "T", "A", "H"};
    const char* const lunarTypes[3] = {"N", "P", "T"};
    const int count = solar ? 4 : 3;
    for (int i = 0; i < count; ++i)
        if (types[static_cast<std::size_t>(i)])
            lines.push_back(std::string("OR (Type = \"") + (solar ? solarTypes[i] : lunarTypes[i]) + "\")");
    lines.push_back(")");
    const std::string saros = rtl::Trim(sarosText);
    if (!saros.empty()) {
        // Only a number goes into the statement.
        lines.push_back("AND (Saros = " + rtl::IntToStr(rtl::StrToInt(saros)) + ")");
    }
    lines.push_back("ORDER BY " + order);
    return lines;
}

std::string CatalogueOrderForColumn(int column, TEventType eventType)
{
    switch (column) {
    case 2: return "Type,CatNo";
    case 3: return eventType == etSolarEclipse ? "Magnitude,CatNo" : "MagUmbra,CatNo";
    case 4: return "Gamma,CatNo";
    case 5: return "Saros,CatNo";
    case 6: return "k";
    default: return "CatNo";  // catalogue number and date
    }
}

std::string CatalogueYearKey(int year)
{
    std::string digits = std::to_string(std::abs(static_cast<long long>(year)));
    while (digits.size() < 4) digits.insert(digits.begin(), '0');
    return year < 0 ? "-" + digits : digits;
}

bool GoToYear(db::TDataSet& dataSet, int year)
{
    int y = year;
    do {
        const std::string key = CatalogueYearKey(y);
        ++y;
        if (dataSet.Locate("DT", db::TFieldValue(key), {db::TLocateOption::loPartialKey})) return true;
    } while (y < 3000);
    return false;
}

double PreviewZoneFactor(int zone)
{
    switch (zone) {
    case 5: case 7: return 0.8;
    case 4: case 8: return 0.7;
    case 3: case 9: return 0.6;
    case 2: case 10: return 0.5;
    case 1: case 11: return 0.4;
    case 0: return 0.3;
    default: return 1.0;
    }
}

void DrawCataloguePreview(db::TDataSet& dataSet, TEventType eventType, gui::TBitmap& map)
{
    map.LoadFromResourceName("WORLD_360");
    map.SetPixelFormat(gui::TPixelFormat::pf24bit);
    const int w = map.Width(), h = map.Height();
    if (eventType == etSolarEclipse) {
        compute::TSolarEclipse see;
        see.ReadFromDataSet(&dataSet);
        for (int j = 0; j < h; ++j) {
            uint8_t* row = map.ScanLine(j);
            for (int i = 0; i < w; ++i) {
                compute::TSELocalCircumstances lc;
                lc.Longitude = 180 - i;
                lc.Latitude = 90 - j;
                see.LocalCircumstances(lc);
                gui::TColor c;
                if ((lc.EclipseType == 'A' || lc.EclipseType == 'T') && lc.SA2 >= 0) c = 255;
                else if (lc.Magnitude > 0 && lc.SA2 >= 0) c = 42495;
                else if (lc.Magnitude > 0 && lc.SA2 < 0 && (lc.SA0 >= 0 || lc.SA4 >= 0)) c = 11788021;
                else continue;
                uint8_t* p = row + 3 * i;  // B, G, R
                p[0] = gui::GetBValue(c);
                p[1] = gui::GetGValue(c);
                p[2] = gui::GetRValue(c);
            }
        }
    } else {
        compute::TLunarEclipse lee;
        lee.ReadFromDataSet(&dataSet);
        for (int j = 0; j < h; ++j) {
            uint8_t* row = map.ScanLine(j);
            for (int i = 0; i < w; ++i) {
                compute::TLELocalCircumstances lc;
                lc.Longitude = 180 - i;
                lc.Latitude = 90 - j;
                lee.LocalCircumstances(lc);
                const double f = PreviewZoneFactor(lc.Zone);
                if (f == 1.0) continue;
                uint8_t* p = row + 3 * i;
                double hue, s, v;
                chart::RgbToHsv(p[2], p[1], p[0], hue, s, v);
                int r, g, b;
                chart::HsvToRgb(hue, s, v * f, r, g, b);
                p[0] = static_cast<uint8_t>(b);
                p[1] = static_cast<uint8_t>(g);
                p[2] = static_cast<uint8_t>(r);
            }
        }
    }
}

} // namespace app
