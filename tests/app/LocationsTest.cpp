// Locations and location lists: the record's arithmetic against published
// values, list operations, the list file byte for byte against a golden
// file, and the locations database's handling of a broken file.
#include <gtest/gtest.h>

#include <cmath>

#include "AppTestEnv.h"
#include "app/AppMessages.h"
#include "app/LocationsDatabase.h"
#include "app/ObserverDataLists.h"
#include "app/SEPaths.h"
#include "compute/AstroMath.h"

namespace {

using apptest::ReadBytes;
using apptest::WriteText;
namespace fs = std::filesystem;
constexpr long double Deg = compute::Pi / 180;

app::TObserverData* NewPlace(const std::string& place, long double latDeg, long double lonDegWest, int32_t tag = 0)
{
    auto* o = new app::TObserverData;
    o->SetPlace(place);
    o->SetGeoLatitude(latDeg * Deg);
    o->SetGeoLongitude(lonDegWest * Deg);
    o->Tag = tag;
    return o;
}

std::vector<std::string> Places(const app::TObserverDataList& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]->Place());
    return out;
}

TEST(ObserverData, DefaultsAndChangeEvent)
{
    app::TObserverData o;
    EXPECT_EQ(o.Place(), "Berlin (Germany)");
    EXPECT_NEAR(static_cast<double>(o.GeoLatitude() / Deg), 52.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(o.GeoLongitude() / Deg), -13.511, 1e-12);
    EXPECT_EQ(o.GeoElevation(), 50);
    EXPECT_EQ(o.Temperature(), 20);
    EXPECT_EQ(o.Pressure(), 1010);
    EXPECT_EQ(o.StdTimeZone(), 3600);
    EXPECT_EQ(o.DSTs(), "202-003###203-010###199600000600");
    EXPECT_EQ(o.Tag, 0);

    int calls = 0;
    rtl::TObject* sender = nullptr;
    o.OnChanged = [&](rtl::TObject* s) {
        ++calls;
        sender = s;
    };
    o.SetPressure(990);
    o.SetDSTs("");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(sender, &o);

    app::TObserverData copy;
    copy.Assign(&o);  // copies the event too and fires it for the copy
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(sender, &copy);
    EXPECT_EQ(copy.Pressure(), 990);
    EXPECT_EQ(copy.DSTs(), "");
}

TEST(ObserverData, MeanLocalTimeShift)
{
    app::TObserverData o;
    o.SetGeoLongitude(-15 * Deg);
    EXPECT_EQ(o.MeanLocalTimeShift(), 3600);
    o.SetGeoLongitude(15 * Deg);
    EXPECT_EQ(o.MeanLocalTimeShift(), -3600);
    // Just under half a second of time west rounds to 0, just over to -1.
    o.SetGeoLongitude(0.00208333L * Deg);
    EXPECT_EQ(o.MeanLocalTimeShift(), 0);
    o.SetGeoLongitude(0.0020834L * Deg);
    EXPECT_EQ(o.MeanLocalTimeShift(), -1);
}

TEST(ObserverData, SiderealTimeAndPositionAgainstMeeus)
{
    app::TObserverData o;
    // Greenwich at J2000.0: mean sidereal time 18.697374558 h (Meeus 12.a style).
    o.SetGeoLongitude(0);
    EXPECT_NEAR(o.LMST(2451545.0), 18.697374558 * compute::Pi / 12, 1e-8);
    // 90 degrees west lies 6 hours behind.
    o.SetGeoLongitude(90 * Deg);
    EXPECT_NEAR(o.LMST(2451545.0), (18.697374558 - 6) * compute::Pi / 12, 1e-8);

    // Palomar, Meeus, Astronomical Algorithms, example 11.a:
    // 33 21 22 N, 1706 m: rho sin phi' = 0.546861, rho cos phi' = 0.836339.
    o.SetGeoLatitude((33 + 21 / 60.0L + 22 / 3600.0L) * Deg);
    o.SetGeoElevation(1706);
    compute::TRectangular p = o.Position(2451545.0);
    EXPECT_NEAR(static_cast<double>(p.z), 0.546861, 1e-6);
    EXPECT_NEAR(static_cast<double>(std::hypot(p.x, p.y)), 0.836339, 1e-6);
    EXPECT_NEAR(static_cast<double>(std::atan2(p.y, p.x)), std::remainder(o.LMST(2451545.0), 2 * M_PI), 1e-12);
}

TEST(ObserverDataList, FindImportSplit)
{
    app::TObserverDataList list("Trip");
    list.Add(NewPlace("Zürich (Schweiz)", 47.4, -8.5));
    list.Add(NewPlace("Paris (France)", 48.9, -2.3));
    EXPECT_EQ(list.FindPlace("paris (FRANCE)"), 1);
    EXPECT_EQ(list.FindPlace("ZÜRICH (SCHWEIZ)"), 0);
    EXPECT_EQ(list.FindPlace("Paris"), -1);

    app::TObserverDataList other;
    other.Add(NewPlace("Oslo (Norway)", 59.9, -10.7));
    other.Add(NewPlace("PARIS (France)", 0, 0));
    other.Add(NewPlace("Oslo (Norway)", 1, 1));
    other.Add(NewPlace("Rome (Italy)", 41.9, -12.5));
    EXPECT_EQ(list.ImportList(other), 2);
    EXPECT_EQ(Places(list), (std::vector<std::string>{"Zürich (Schweiz)", "Paris (France)", "Oslo (Norway)",
                                                      "Rome (Italy)"}));
    EXPECT_NEAR(static_cast<double>(list[2]->GeoLatitude() / Deg), 59.9, 1e-12);

    struct Case {
        std::string place, name, country;
    } cases[] = {{"Paris (France)", "Paris", "France"},
                 {"St. John's (Antigua) (Antigua and Barbuda)", "St. John's (Antigua)", "Antigua and Barbuda"},
                 {"Nowhere", "Nowhere", ""},
                 {"Open ( Country  ", "Open", "Country"},
                 {"(Only)", "", "Only"}};
    for (const auto& c : cases) {
        std::string name = "x", country = "x";
        app::TObserverDataList::SplitPlaceCountry(c.place, name, country);
        EXPECT_EQ(name, c.name) << c.place;
        EXPECT_EQ(country, c.country) << c.place;
    }
}

TEST(ObserverDataList, SortOrders)
{
    app::TObserverDataList list;
    list.Add(NewPlace("Paris (France)", 48.9, -2.3, 5));
    list.Add(NewPlace("oslo (Norway)", 59.9, -10.7, 9));
    list.Add(NewPlace("Lyon (France)", 45.8, -4.8, 1));
    list.Add(NewPlace("Quito (Ecuador)", -0.2, 78.5, 7));

    list.SortList("name");
    EXPECT_EQ(Places(list), (std::vector<std::string>{"Lyon (France)", "oslo (Norway)", "Paris (France)",
                                                      "Quito (Ecuador)"}));
    list.SortList("country");
    EXPECT_EQ(Places(list), (std::vector<std::string>{"Quito (Ecuador)", "Lyon (France)", "Paris (France)",
                                                      "oslo (Norway)"}));
    list.SortList("LATITUDE");
    EXPECT_EQ(Places(list).front(), "oslo (Norway)");
    EXPECT_EQ(Places(list).back(), "Quito (Ecuador)");
    list.SortList("Longitude");  // west first
    EXPECT_EQ(Places(list), (std::vector<std::string>{"Quito (Ecuador)", "Paris (France)", "Lyon (France)",
                                                      "oslo (Norway)"}));
    list.SortList("TAG");
    EXPECT_EQ(Places(list), (std::vector<std::string>{"oslo (Norway)", "Quito (Ecuador)", "Paris (France)",
                                                      "Lyon (France)"}));
    list.SortList("elevation");
    EXPECT_EQ(Places(list).front(), "oslo (Norway)");
}

TEST(ObserverDataList, FileRoundTripIsByteExact)
{
    const std::string golden = tectest::DataFile("app/places.loc");
    app::TObserverDataList list;
    list.Add(NewPlace("left over", 0, 0));
    list.ReadFromFile(golden);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Name(), "My places");
    EXPECT_EQ(list[0]->Place(), "Paris (France)");
    EXPECT_NEAR(static_cast<double>(list[0]->GeoLongitude()), -0.041015237422, 1e-15);
    EXPECT_EQ(list[0]->GeoElevation(), 35);
    EXPECT_EQ(list[0]->StdTimeZone(), 3600);
    // Escaped characters and characters beyond U+FFFF come back as they were.
    EXPECT_EQ(list[1]->Place(), "Ōtsu 𝟙 & <Lake> (日本)");
    EXPECT_EQ(list[1]->Temperature(), -5.5L);
    EXPECT_EQ(list[1]->Pressure(), 1013.25L);
    EXPECT_EQ(list[1]->DSTs(), "");

    auto dir = tectest::ScratchDir("app-loc-roundtrip");
    list.SaveToFile((dir / "out.loc").string());
    EXPECT_EQ(ReadBytes(dir / "out.loc"), ReadBytes(golden));
    // Saving left no temporary file behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(ObserverDataList, ReadingTakesDefaultsAndAnyChildName)
{
    auto dir = tectest::ScratchDir("app-loc-defaults");
    WriteText(dir / "x.loc",
              "<?xml version=\"1.0\"?><List><Locations><Place><Place>A</Place></Place><!-- note -->"
              "<Anything><GeoLatitude>1,5</GeoLatitude><StdTimeZone>x</StdTimeZone></Anything></Locations></List>");
    app::TObserverDataList list("before");
    list.ReadFromFile((dir / "x.loc").string());
    EXPECT_EQ(list.Name(), "");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0]->Place(), "A");
    EXPECT_EQ(list[0]->GeoLongitude(), 0);
    EXPECT_EQ(list[0]->GeoElevation(), 0);
    EXPECT_EQ(list[0]->Temperature(), 20);
    EXPECT_EQ(list[0]->Pressure(), 1010);
    EXPECT_EQ(list[0]->StdTimeZone(), 0);
    EXPECT_EQ(list[1]->GeoLatitude(), 1.5L);
    EXPECT_EQ(list[1]->StdTimeZone(), 0);
}

TEST(ObserverDataList, UnreadableFileLeavesTheListAsItWas)
{
    auto dir = tectest::ScratchDir("app-loc-bad");
    WriteText(dir / "bad.loc", "<?xml version=\"1.0\"?><LocationList><Name>x</Name><Locations><Location>");
    app::TObserverDataList list("Mine");
    list.Add(NewPlace("Kept (Here)", 1, 2));
    EXPECT_THROW(list.ReadFromFile((dir / "bad.loc").string()), std::exception);
    EXPECT_THROW(list.ReadFromFile((dir / "missing.loc").string()), std::exception);
    EXPECT_THROW(list.ImportFromFile((dir / "bad.loc").string()), std::exception);
    EXPECT_EQ(Places(list), std::vector<std::string>{"Kept (Here)"});
    EXPECT_EQ(list.Name(), "Mine");

    // Import from a good file counts what it added.
    list.SaveToFile((dir / "good.loc").string());
    list[0]->SetPlace("Other (There)");
    EXPECT_EQ(list.ImportFromFile((dir / "good.loc").string()), 1);
    EXPECT_EQ(list.ImportFromFile((dir / "good.loc").string()), 0);
}

class LocationsDatabaseTest : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        app::AppNotice = [this](const std::string& text) { Notices.push_back(text); };
    }
    void TearDown() override { app::ResetNoticeHandler(); }
    std::vector<std::string> Notices;
};

TEST_F(LocationsDatabaseTest, MissingDatabaseIsCreatedEmpty)
{
    app::LocationsFile = R("data/locations.loc");
    fs::create_directories(R("data"));
    app::TLocationsDatabase db;
    app::TObserverDataList list("Database");
    EXPECT_TRUE(db.Open(list));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Name(), "Database");
    EXPECT_TRUE(fs::exists(app::LocationsFile));
    list.Add(NewPlace("Oslo (Norway)", 59.9, -10.7));
    EXPECT_TRUE(db.Save(list));
    app::TObserverDataList again;
    app::TLocationsDatabase(app::LocationsFile).Open(again);
    EXPECT_EQ(Places(again), std::vector<std::string>{"Oslo (Norway)"});
    EXPECT_TRUE(Notices.empty());
}

TEST_F(LocationsDatabaseTest, MalformedDatabaseIsReportedKeptAndNeverOverwritten)
{
    const std::string file = R("locations.loc");
    const std::string broken = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<LocationList><Name>Database</Name><Locations>"
                               "<Location><Place>Half written";
    WriteText(file, broken);
    app::TLocationsDatabase db(file);
    app::TObserverDataList list("Database");
    list.Add(NewPlace("stale", 0, 0));
    EXPECT_FALSE(db.Open(list));
    EXPECT_TRUE(db.Broken());
    EXPECT_EQ(list.Count(), 0);
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_EQ(Notices[0], db.Error());
    EXPECT_NE(Notices[0].find("The locations database could not be read:\r\n" + file + "\r\n"), std::string::npos);
    EXPECT_NE(Notices[0].find("leaves the file unchanged"), std::string::npos);

    list.Add(NewPlace("New (Place)", 1, 1));
    EXPECT_FALSE(db.Save(list));
    EXPECT_EQ(ReadBytes(file), broken);
}

} // namespace
