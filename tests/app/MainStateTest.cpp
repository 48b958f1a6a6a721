// The main window's status machine: which commands each status enables.
#include <gtest/gtest.h>

#include "app/SEMainStates.h"

using namespace app;

namespace {

TEST(MainStatus, ActionsEnabledPerStatus)
{
    // status, idle commands, the three ways out of an error, cancel, drop
    struct Row {
        TStatus Status;
        bool Idle, Recover, Cancel, Drop;
    };
    const Row table[] = {
        {stNeedCalculation, true, true, false, true},
        {stCalculating, false, false, true, false},
        {stCalculated, true, true, false, true},
        {stCancel, false, false, false, true},
        {stCancelled, true, true, false, true},
        {stReading, false, false, false, true},
        {stError, false, true, false, true},
    };
    for (const Row& row : table) {
        const auto s = ActionEnabledStates({row.Status, 0, false, false});
        for (const char* name : {"actSaveAsGraphics", "actFileSaveAs", "actFileSave", "actFilePrint", "actMapGeneral",
                                 "actMapStandard", "actMapOpenFile", "actMapGreyScale", "actSettingsDeltaT",
                                 "actSettingsSettings"})
            EXPECT_EQ(s.at(name), row.Idle) << name << " in status " << static_cast<int>(row.Status);
        for (const char* name : {"actSelectEclipse", "actFileNew", "actFileOpen"})
            EXPECT_EQ(s.at(name), row.Recover) << name << " in status " << static_cast<int>(row.Status);
        EXPECT_EQ(s.at("actCancelCalculation"), row.Cancel);
        EXPECT_EQ(AcceptsDroppedFiles(row.Status), row.Drop);
    }
}

TEST(MainStatus, LocationCommandsFollowTheListAndTheSibling)
{
    auto none = ActionEnabledStates({stCalculated, 0, true, false});
    auto some = ActionEnabledStates({stCalculated, 3, false, false});
    auto busy = ActionEnabledStates({stCalculating, 3, true, false});
    for (const char* name : {"actLocationsEdit", "actLocationsDelete", "actLocationsClear", "actLocationsShowInMap",
                             "actLocationsSaveList", "actLocationsSortByName", "actLocationsSortByCountry",
                             "actLocationsSortByLatitude", "actLocationsSortByLongitude", "actLocationsPrint"}) {
        EXPECT_FALSE(none.at(name)) << name;
        EXPECT_TRUE(some.at(name)) << name;
        EXPECT_TRUE(busy.at(name)) << name;
    }
    EXPECT_TRUE(some.at("actLocationsSEEclipses"));
    EXPECT_FALSE(busy.at("actLocationsLEEclipses"));
    EXPECT_FALSE(some.at("actLocationsRunInTE"));  // no sibling
    EXPECT_TRUE(busy.at("actLocationsSaveAsTEDocument"));
    EXPECT_FALSE(none.at("actLocationsRunInTE"));
    // Sorting by magnitude: a solar eclipse and a list.
    TActionStateInput solar{stCalculated, 3, false, false, true};
    EXPECT_TRUE(ActionEnabledStates(solar).at("actLocationsSortByMagnitude"));
    EXPECT_FALSE(some.at("actLocationsSortByMagnitude"));
    solar.LocationCount = 0;
    EXPECT_FALSE(ActionEnabledStates(solar).at("actLocationsSortByMagnitude"));
}

} // namespace
