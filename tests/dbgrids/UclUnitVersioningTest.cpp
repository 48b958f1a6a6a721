// The unit version registry: keyword parsing, dates, registration and
// the shut-down.
#include <gtest/gtest.h>

#include "dbgrids/ucl/UclFileUtils.h"
#include "dbgrids/ucl/UclStartup.h"
#include "dbgrids/ucl/UclUnitVersioning.h"
#include "platform/rtl/DateTime.h"

using namespace ucl;

TEST(UclUnitVersioning, KeywordTexts)
{
    TUnitVersionInfo rcs{"$RCSfile: UclDemo.pas,v 1.4 $", "$Revision: 3336 $", "", " UCL\\source ", ""};
    TUnitVersionInfo bare{"UclBare.pas", "12", "", "", ""};
    EXPECT_EQ(TUnitVersion(&rcs).RCSfile(), "UclDemo.pas");
    EXPECT_EQ(TUnitVersion(&rcs).Revision(), "3336");
    EXPECT_EQ(TUnitVersion(&rcs).LogPath(), "UCL\\source");
    EXPECT_EQ(TUnitVersion(&bare).RCSfile(), "UclBare.pas");
    EXPECT_EQ(TUnitVersion(&bare).Revision(), "12");
    const TUnitVersionInfo& base = UtilityUnitVersions()[24];
    TUnitVersion v(&base);
    EXPECT_EQ(v.RCSfile(), "UclBase.pas");
    EXPECT_EQ(v.Revision(), "3336");
    EXPECT_EQ(v.Date(), "2010-09-10 18:23:10 +0200 (ven. 10 sept. 2010)");
    EXPECT_DOUBLE_EQ(v.DateTime(), rtl::EncodeDate(2010, 9, 10) + rtl::EncodeTime(18, 23, 10, 0));
}

TEST(UclUnitVersioning, DateOrders)
{
    auto at = [](const std::string& date) {
        TUnitVersionInfo i{"x", "1", date, "", ""};
        return TUnitVersion(&i).DateTime();
    };
    EXPECT_DOUBLE_EQ(at("25.07.2010 13:44:27"), rtl::EncodeDate(2010, 7, 25) + rtl::EncodeTime(13, 44, 27, 0));
    EXPECT_DOUBLE_EQ(at("07/25/2010 13:44:27"), rtl::EncodeDate(2010, 7, 25) + rtl::EncodeTime(13, 44, 27, 0));
    EXPECT_DOUBLE_EQ(at("$Date: 2009/08/09 15:08:29 $"), rtl::EncodeDate(2009, 8, 9) + rtl::EncodeTime(15, 8, 29, 0));
    EXPECT_EQ(at("no date here"), 0);
}

TEST(UclUnitVersioning, RegistrationAndSearch)
{
    TUnitVersioning reg;
    TUnitVersionInfo a{"$RCSfile: UclA.pas,v $", "1", "", "UCL\\common", ""};
    TUnitVersionInfo a2{"$RCSfile: UclA.pas,v $", "1", "", "UCL\\common", ""};
    TUnitVersionInfo b{"UclB.pas", "2", "", "UCL\\windows", ""};
    reg.AddUnit(HInstance, &a);
    reg.AddUnit(HInstance, &a);   // the same record: kept once
    reg.AddUnit(HInstance, &a2);  // an equal record: kept too
    reg.AddUnit(HInstance, &b);
    EXPECT_EQ(reg.Count(), 3);
    EXPECT_EQ(reg.IndexOf("ucla.PAS", "*"), 0);
    EXPECT_EQ(reg.IndexOf("uclb.pas", "ucl\\WINDOWS"), 2);
    EXPECT_EQ(reg.IndexOf("uclb.pas", "UCL\\common"), -1);
    EXPECT_EQ(reg.FindUnit("UclB.pas")->Revision(), "2");
    reg.AddUnit(77, &b);  // a module whose file cannot be named
    EXPECT_EQ(reg.ModuleCount(), 1);
    reg.DropModule(HInstance);
    EXPECT_EQ(reg.Count(), 0);
}

TEST(UclUnitVersioning, StartUpRegisteredTheUtilityUnits)
{
    ASSERT_TRUE(UtilityLayerStarted());
    TUnitVersioning* reg = SharedUnitVersioning();
    ASSERT_NE(reg, nullptr);
    EXPECT_EQ(reg->ModuleCount(), 1);
    EXPECT_EQ(reg->Count(), 27);
    EXPECT_EQ(reg->IndexOf("UclResources.pas"), 0);
    EXPECT_EQ(reg->IndexOf("uclrtti.pas", "UCL\\source\\common"), 26);
}

TEST(UclUnitVersioning, NothingIsAddedAfterShutDown)
{
    // In a fresh child process (re-executed, not forked: a forked child
    // would share this process's registry block and clear it).
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto body = [] {
        ShutDownUtilityLayer();
        static const TUnitVersionInfo late{"Late.pas", "1", "", "", ""};
        AddUnitVersion(HInstance, &late);
        RemoveUnitVersions(HInstance);
        std::exit(SharedUnitVersioning() == nullptr ? 0 : 1);
    };
    EXPECT_EXIT(body(), ::testing::ExitedWithCode(0), "");
}
