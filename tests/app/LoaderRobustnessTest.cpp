// Damaged files of the program: settings and documents, location lists and
// the locations database, map data files, map pictures and delta-T tables
// are read or refused with a message; none crashes, hangs or asks for
// absurd memory.

#include <gtest/gtest.h>

#include "AppTestEnv.h"
#include "MalformedInputs.h"
#include "app/AppMessages.h"
#include "app/LocationsDatabase.h"
#include "app/MapData.h"
#include "app/MapImages.h"
#include "app/SEPaths.h"
#include "app/ObserverDataLists.h"
#include "app/SettingsFiles.h"
#include "compute/AstroBase.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/PngImage.h"

TEC_LIMIT_ALLOCATIONS()

namespace {

using apptest::ReadBytes;

class LoaderRobustness : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        app::MapsPath = R("");
        app::AppNotice = [](const std::string&) {};
    }
    void TearDown() override { app::ResetNoticeHandler(); }

    // Every variant of the valid file, written as name and handed to load.
    void Check(const std::string& valid, const std::string& name, const std::function<void(const std::string&)>& load,
               const std::vector<std::size_t>& offsets = {})
    {
        for (const auto& c : MalformedVariants(valid, offsets))
            ExpectReadsOrRaises(c, [&](const std::string& bytes) {
                const std::string f = R(name);
                apptest::WriteText(f, bytes);
                load(f);
            });
    }
};

// XML files damaged inside their values, where the reader (fuzzed on its
// own) lets them through: numbers out of range, empty and over-long texts.
std::vector<MalformedCase> ValueVariants(const std::string& valid)
{
    std::vector<MalformedCase> out;
    const char* values[] = {"", "-1", "0", "1e308", "-1e308", "nan", "inf", "99999999999999999999", "2147483648",
                            "x", "-2147483648"};
    std::size_t at = 0;
    int element = 0;
    while ((at = valid.find('>', at)) != std::string::npos) {
        const std::size_t end = valid.find('<', at);
        if (end == std::string::npos) break;
        if (end > at + 1 && valid.find('\n', at) > end) {
            for (const char* v : values) {
                std::string f = valid;
                f.replace(at + 1, end - at - 1, v);
                out.push_back({"value " + std::to_string(element) + " = '" + v + "'", f});
            }
            ++element;
        }
        at = end;
    }
    return out;
}

} // namespace

TEST_F(LoaderRobustness, SettingsAndDocuments)
{
    auto read = [](bool configuration) {
        return [configuration](const std::string& file) {
            app::TSettings s;
            app::TObserverDataList locations;
            const auto r = app::ReadSettings(file, configuration, s, locations, [](const std::string&) {});
            if (!r.Ok) { EXPECT_FALSE(r.Error.empty()); }
        };
    };
    for (const char* name : {"app/tec.ini", "app/version-only.ini"}) {
        const std::string valid = ReadBytes(tectest::DataFile(name));
        Check(valid, "tec.ini", read(true));
        ASSERT_FALSE(ValueVariants(valid).empty()) << name;
        for (const auto& c : ValueVariants(valid))
            ExpectReadsOrRaises(c, [&](const std::string& bytes) {
                apptest::WriteText(R("v.ini"), bytes);
                read(true)(R("v.ini"));
            });
    }
    for (const char* name : {"app/trip.sec", "app/older.sec"}) {
        const std::string valid = ReadBytes(tectest::DataFile(name));
        Check(valid, "doc.sec", read(false));
        for (const auto& c : ValueVariants(valid))
            ExpectReadsOrRaises(c, [&](const std::string& bytes) {
                apptest::WriteText(R("v.sec"), bytes);
                read(false)(R("v.sec"));
            });
    }
}

TEST_F(LoaderRobustness, LocationListsAndDatabase)
{
    const std::string valid = ReadBytes(tectest::DataFile("app/places.loc"));
    auto list = [](const std::string& file) {
        app::TObserverDataList l;
        l.ReadFromFile(file);
    };
    Check(valid, "places.loc", list);
    for (const auto& c : ValueVariants(valid))
        ExpectReadsOrRaises(c, [&](const std::string& bytes) {
            apptest::WriteText(R("v.loc"), bytes);
            list(R("v.loc"));
        });
    Check(valid, "locations.db", [](const std::string& file) {
        app::TLocationsDatabase db(file);
        app::TObserverDataList l;
        if (!db.Open(l)) { EXPECT_FALSE(db.Error().empty()); }
    });
}

TEST_F(LoaderRobustness, MapDataFiles)
{
    auto read = [](const std::string& file) {
        app::TMapData d;
        app::ReadMapDataFile(file, d);
    };
    for (const char* name : {"app/europe.map", "app/map/mercator.map", "app/map/azimuthal.map"}) {
        const std::string valid = ReadBytes(tectest::DataFile(name));
        Check(valid, "damaged.map", read);
        for (const auto& c : ValueVariants(valid))
            ExpectReadsOrRaises(c, [&](const std::string& bytes) {
                apptest::WriteText(R("v.map"), bytes);
                read(R("v.map"));
            });
    }
}

TEST_F(LoaderRobustness, MapPictures)
{
    gui::TBitmap src(6, 4, gui::TPixelFormat::pf24bit);
    src.Canvas()->FillRect(gui::Rect(0, 0, 6, 4));
    gui::TPngImage png;
    png.Assign(&src);
    rtl::TStringStream ps, bs;
    png.SaveToStream(ps);
    src.SaveToStream(bs);
    for (const auto& [ext, valid] : std::vector<std::pair<std::string, std::string>>{
             {"png", ps.DataString()}, {"bmp", bs.DataString()}, {"jpg", bs.DataString()}})
        Check(valid, "pic." + ext, [&](const std::string&) {
            app::TMapData d = app::StandardMapData;
            d.ResourceName.clear();
            d.FileName = "pic." + ext;
            gui::TBitmap bitmap;
            app::LoadMapPicture(d, app::TResourceMapMode::rmmNormal, true, bitmap);
        }, {2, 10, 16, 18, 22});
}

TEST_F(LoaderRobustness, DeltaTTables)
{
    const std::string valid = "! a table\n1900 : -2.72\n1950.5 : 29.15\n2000 : 63.83\n2415020.5 : -1.5\n";
    Check(valid, "table.txt", [](const std::string& file) {
        try {
            compute::LoadDeltaTTable(file);
        } catch (...) {
            compute::DeltaTTable = compute::TDeltaTTable();
            throw;
        }
        compute::UseInternalDeltaTTable = false;
        for (double jd : {0.0, 625000.0, 2451545.0, 2817000.0, 1e12}) (void)compute::DeltaT(jd);
        compute::UseInternalDeltaTTable = true;
        compute::DeltaTTable = compute::TDeltaTTable();
    });
    std::string record(852, '\0');
    Check(record, "deltaT.dat", [](const std::string& file) {
        compute::LoadDeltaTFile(file);
        for (double jd : {2305448.0, 2451545.0, 2459000.0}) (void)compute::DeltaTInternal(jd);
        (void)compute::YearlyDeltaTRecord().VersionText();
    });
    compute::LoadDeltaTFile(R("none.dat"));
}
