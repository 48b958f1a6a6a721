// Helpers of the eclipse map tests and the map benchmark: catalogue rows of
// the shipped catalogue by date, and pixel access.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "compute/BesselSE.h"
#include "compute/LunarEclipses.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/Graphics.h"

namespace maptest {

// The catalogue the build generates beside the program.
inline std::string CatalogueFile() { return std::string(TEC_RUNTIME_DIR) + "/be.db"; }

// The eclipse of the catalogue whose date text is dt ("2024 Apr 08").
inline std::unique_ptr<compute::TSolarEclipse> SolarEclipse(const std::string& dt)
{
    db::TSQLiteTable table;
    table.SetDatabaseFile(CatalogueFile());
    table.SetTableName("BE_SE");
    table.SetSort("CatNo");
    table.Open();
    if (!table.Locate("DT", dt)) return nullptr;
    auto see = std::make_unique<compute::TSolarEclipse>();
    see->ReadFromDataSet(&table);
    return see;
}

inline std::unique_ptr<compute::TLunarEclipse> LunarEclipse(const std::string& dt)
{
    db::TSQLiteTable table;
    table.SetDatabaseFile(CatalogueFile());
    table.SetTableName("BE_LE");
    table.SetSort("CatNo");
    table.Open();
    if (!table.Locate("DT", dt)) return nullptr;
    auto lee = std::make_unique<compute::TLunarEclipse>();
    lee->ReadFromDataSet(&table);
    return lee;
}

// The plain colour (red low byte) of a pixel of a 24-bit bitmap.
inline gui::TColor PixelAt(const gui::TBitmap& bmp, int x, int y)
{
    const uint8_t* p = bmp.ScanLine(y) + 3 * x;
    return gui::RGB(p[2], p[1], p[0]);
}

// Whether two 24-bit bitmaps hold the same pixels; the number of differing
// pixels in *differences.
inline bool SamePixels(const gui::TBitmap& a, const gui::TBitmap& b, long long* differences = nullptr)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    long long n = 0;
    for (int y = 0; y < a.Height(); ++y) {
        const uint8_t* p = a.ScanLine(y);
        const uint8_t* q = b.ScanLine(y);
        for (int x = 0; x < 3 * a.Width(); x += 3)
            if (p[x] != q[x] || p[x + 1] != q[x + 1] || p[x + 2] != q[x + 2]) ++n;
    }
    if (differences) *differences = n;
    return n == 0;
}

} // namespace maptest
