// Map descriptions: the built-in records, the description file byte for
// byte against a golden file, defaults of missing elements, and the
// fall-back to the standard map for invalid descriptions.
#include <gtest/gtest.h>

#include "AppTestEnv.h"
#include "app/AppMessages.h"
#include "app/MapData.h"
#include "app/MapDlgs.h"
#include "app/SEPaths.h"
#include "compute/uProjections.h"
#include "xml/XmlDom.h"

namespace {

using apptest::ReadBytes;
using apptest::WriteText;
namespace fs = std::filesystem;

class MapDataTest : public testing::Test {
protected:
    void SetUp() override
    {
        Dir = tectest::ScratchDir(std::string("app-map-") +
                                  testing::UnitTest::GetInstance()->current_test_info()->name());
        app::MapsPath = Dir.string() + "/";
        WriteText(Dir / "europe.png", "not really a picture");
        app::AppNotice = [this](const std::string& text) { Notices.push_back(text); };
    }
    void TearDown() override { app::ResetNoticeHandler(); }

    fs::path Dir;
    std::vector<std::string> Notices;
};

TEST_F(MapDataTest, BuiltInRecords)
{
    EXPECT_EQ(app::StandardMapData.ResourceName, "WORLD_0");
    EXPECT_EQ(app::StandardMapData.Description, "World map, political, grayscale");
    EXPECT_EQ(app::StandardMapData.Width, 5735);
    EXPECT_EQ(app::StandardMapData.Height, 2868);
    EXPECT_EQ(app::StandardMapData.X0, 2867.102);
    EXPECT_EQ(app::StandardMapData.X1, 2866.922);
    EXPECT_EQ(app::StandardMapData.CETScale, 30);
    EXPECT_EQ(app::GeneralMapData.ResourceName, "WORLD_1");
    EXPECT_EQ(app::GeneralMapData.Projection, compute::prjPlateCarree);
    EXPECT_EQ(app::GeneralMapData.CEMScale, 0.25);
    EXPECT_EQ(app::GeneralMapData.CETWidth, 0.3);
    EXPECT_EQ(app::GeneralMapData.VBLWidth, 0.2);
    EXPECT_FALSE(app::GeneralMapData.Source.empty());
}

TEST_F(MapDataTest, DescriptionFileRoundTripIsByteExact)
{
    const std::string golden = tectest::DataFile("app/europe.map");
    app::TMapData d;
    EXPECT_TRUE(app::ReadMapDataFile(golden, d));
    EXPECT_TRUE(Notices.empty());
    EXPECT_EQ(d.Description, "Europe, conic");
    EXPECT_EQ(d.FileName, "europe.png");
    EXPECT_EQ(d.ResourceName, "");
    EXPECT_EQ(d.Projection, compute::prjLambertConformalConic);
    EXPECT_EQ(d.Width, 2000);
    EXPECT_EQ(d.dLon, -10);
    EXPECT_EQ(d.X1, 2200.5);
    EXPECT_EQ(d.F1, 40);
    EXPECT_EQ(d.F2, 68);
    EXPECT_EQ(d.CEMScale, 0.1);
    EXPECT_EQ(d.CEMLabelOffset, 5);
    EXPECT_EQ(d.CETScale, 15);
    EXPECT_EQ(d.VBLWidth, 0.05);

    app::SaveMapDataFile((Dir / "out.map").string(), d);
    EXPECT_EQ(ReadBytes(Dir / "out.map"), ReadBytes(golden));
}

TEST_F(MapDataTest, MissingElementsTakeTheirDefaultsAndAnyRootNameIsRead)
{
    WriteText(Dir / "min.map",
              "<?xml version=\"1.0\"?><Whatever><File>europe.png</File><X1>1</X1><Y1>2</Y1>"
              "<Resource>  </Resource></Whatever>");
    app::TMapData d = app::StandardMapData;
    EXPECT_TRUE(app::ReadMapDataFile((Dir / "min.map").string(), d));
    EXPECT_EQ(d.Description, "");
    EXPECT_EQ(d.Source, "");
    EXPECT_EQ(d.ResourceName, "");  // read trimmed
    EXPECT_EQ(d.Projection, compute::prjRobinson);
    EXPECT_EQ(d.Width, 0);
    EXPECT_EQ(d.X0, 0);
    EXPECT_EQ(d.CEMWidth, 0.01);
    EXPECT_EQ(d.CEMScale, 0.2);
    EXPECT_EQ(d.CEMLabelScale, 30);
    EXPECT_EQ(d.CEMLabelOffset, 0);
    EXPECT_EQ(d.CETWidth, 0.025);
    EXPECT_EQ(d.CETScale, 60);
    EXPECT_EQ(d.VBLWidth, 0.08);
}

TEST_F(MapDataTest, InvalidDescriptionsFallBackToTheStandardMap)
{
    struct Case {
        const char* what;
        const char* body;
    } cases[] = {
        {"zero X1", "<File>europe.png</File><X1>0</X1><Y1>2</Y1>"},
        {"zero Y1", "<File>europe.png</File><X1>1</X1>"},
        {"missing bitmap", "<File>gone.png</File><X1>1</X1><Y1>1</Y1>"},
        {"no bitmap named", "<X1>1</X1><Y1>1</Y1>"},
        {"unknown projection", "<File>europe.png</File><Projection>7</Projection><X1>1</X1><Y1>1</Y1>"},
    };
    for (const auto& c : cases) {
        Notices.clear();
        WriteText(Dir / "bad.map", std::string("<?xml version=\"1.0\"?><MapData>") + c.body + "</MapData>");
        app::TMapData d;
        EXPECT_FALSE(app::ReadMapDataFile((Dir / "bad.map").string(), d)) << c.what;
        EXPECT_EQ(d, app::StandardMapData) << c.what;
        EXPECT_EQ(Notices, std::vector<std::string>{"The map data seems to be invalid. Using standard map."})
            << c.what;
    }
    // A built-in resource needs no file.
    WriteText(Dir / "res.map", "<?xml version=\"1.0\"?><MapData><Resource>WORLD_1</Resource><X1>960</X1><Y1>480</Y1></MapData>");
    app::TMapData d;
    EXPECT_TRUE(app::ReadMapDataFile((Dir / "res.map").string(), d));
}

TEST_F(MapDataTest, UnreadableFileRaisesAndLeavesTheRecord)
{
    WriteText(Dir / "broken.map", "<?xml version=\"1.0\"?><MapData><File>x</Fi");
    app::TMapData d = app::GeneralMapData;
    EXPECT_THROW(app::ReadMapDataFile((Dir / "broken.map").string(), d), std::exception);
    EXPECT_THROW(app::ReadMapDataFile((Dir / "missing.map").string(), d), std::exception);
    EXPECT_EQ(d, app::GeneralMapData);
}

TEST_F(MapDataTest, ConicAndAzimuthalDescriptionsSetUpTheirProjection)
{
    // A conic map with standard parallels 40 and 68 (those of start-up) and
    // then 20/60: the projected point must change.
    auto project = [] {
        long double x = 0, y = 0;
        compute::ProjectLambertConic(50, 10, 45, 0, x, y);
        return std::pair<double, double>(static_cast<double>(x), static_cast<double>(y));
    };
    WriteText(Dir / "c.map", "<?xml version=\"1.0\"?><MapData><File>europe.png</File><Projection>3</Projection>"
                             "<X1>1</X1><Y1>1</Y1><F1>40</F1><F2>68</F2></MapData>");
    app::TMapData d;
    app::ReadMapDataFile((Dir / "c.map").string(), d);
    auto a = project();
    WriteText(Dir / "c.map", "<?xml version=\"1.0\"?><MapData><File>europe.png</File><Projection>3</Projection>"
                             "<X1>1</X1><Y1>1</Y1><F1>20</F1><F2>60</F2></MapData>");
    app::ReadMapDataFile((Dir / "c.map").string(), d);
    EXPECT_NE(project(), a);
    compute::SetConicParallels(40, 68);
}

TEST_F(MapDataTest, MapListReadsEveryElementButTheCurvesOfEqualTime)
{
    // The list shows the file as it stands: no check, no notice, and the
    // curves of equal time stay those of the record passed in.
    const std::string file = (Dir / "conic.map").string();
    fs::copy_file(tectest::DataFile("app/map/conic.map"), file, fs::copy_options::overwrite_existing);
    app::TMapData listed;
    listed.CETWidth = 7;
    listed.CETScale = 9;
    EXPECT_TRUE(app::ReadMapDescription(file, listed));
    EXPECT_TRUE(Notices.empty());
    EXPECT_EQ(listed.CETWidth, 7);
    EXPECT_EQ(listed.CETScale, 9);
    EXPECT_EQ(listed.Description, "User map, Lambert conformal conic, Europe");
    EXPECT_EQ(listed.FileName, "user.png");   // no such bitmap yet: listed anyway
    EXPECT_EQ(listed.Projection, compute::prjLambertConformalConic);
    EXPECT_EQ(listed.CEMLabelOffset, 15);
    EXPECT_DOUBLE_EQ(listed.VBLWidth, 0.2);

    WriteText(Dir / "user.png", "not really a picture");
    app::TMapData read;
    ASSERT_TRUE(app::ReadMapDataFile(file, read));
    compute::SetConicParallels(40, 68);
    EXPECT_DOUBLE_EQ(read.CETWidth, 0.3);
    EXPECT_EQ(read.CETScale, 30);
    read.CETWidth = 7;
    read.CETScale = 9;
    EXPECT_EQ(listed, read);
}

} // namespace
