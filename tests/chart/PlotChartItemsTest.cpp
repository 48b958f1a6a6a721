// The chart's item list: the record layout of the data file, growth,
// removal, in-place edits, searches, and sharing one list among charts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include "ChartTestItems.h"
#include "chart/PlotChartItems.h"

using namespace chart;

namespace {

TrcChartItem Item(TrcItem kind, double x, double y, uint8_t cls = 0, int layer = 1)
{
    TrcChartItem it = charttest::MakeItem(kind, x, y, 0, 0, layer);
    it.ItemClass = cls;
    return it;
}

TEST(ChartItems, RecordLayoutIsTheDataFilesRecord)
{
    EXPECT_EQ(offsetof(TrcChartItem, y2), 24u);
    EXPECT_EQ(offsetof(TrcChartItem, Color), 32u);
    EXPECT_EQ(offsetof(TrcChartItem, PenStyle), 48u);
    EXPECT_EQ(offsetof(TrcChartItem, Tag), 52u);
    EXPECT_EQ(offsetof(TrcChartItem, ItemClass), 60u);
    EXPECT_EQ(offsetof(TrcChartItem, ItemKind), 61u);
    EXPECT_EQ(offsetof(TrcChartItem, Layer), 64u);
    EXPECT_EQ(offsetof(TrcChartItem, Transp), 68u);
    EXPECT_EQ(offsetof(TrcChartItem, FrameStyle), 69u);
    EXPECT_EQ(offsetof(TrcChartItem, TextLen), 70u);
    EXPECT_EQ(offsetof(TrcChartItem, TextChars), 71u);
    EXPECT_EQ(offsetof(TrcChartItem, SizeOrAngle), 88u);
    EXPECT_EQ(offsetof(TrcChartItem, Depth), 92u);
    EXPECT_EQ(offsetof(TrcChartItem, MarkOrAlign), 96u);

    TrcChartItem it{};
    SetItemText(it, "twenty characters...");
    EXPECT_EQ(ItemText(it), "twenty characte");   // the chart keeps 15
    SetItemText(it, "abc", 17);
    EXPECT_EQ(ItemText(it), "abc");
}

TEST(ChartItems, GrowthInStepsAndRemoval)
{
    TChartItemStore s;
    EXPECT_EQ(s.NumAllocated(), 0);
    for (int i = 0; i < 1000; ++i) s.Append(Item(TrcItem::tkLineto, i, i));
    EXPECT_EQ(s.NumAllocated(), 1000);
    s.Append(Item(TrcItem::tkLineto, 1000, 1000));
    EXPECT_EQ(s.NumAllocated(), 2000);
    EXPECT_EQ(s.NumItems(), 1001);

    s.RemoveItem(-1);
    s.RemoveItem(s.NumItems());
    EXPECT_EQ(s.NumItems(), 1001);
    s.RemoveFirstItem();
    EXPECT_EQ(s[0].x, 1);
    s.RemoveLastItem();
    EXPECT_EQ(s[s.NumItems() - 1].x, 999);

    TChartItemStore one;
    one.SetAllocSize(0);        // ignored
    one.SetAllocSize(5);
    one.Append(Item(TrcItem::tkMarkAt, 1, 2));
    one.RemoveItem(0);
    EXPECT_EQ(one.NumItems(), 0);
    EXPECT_EQ(one.NumAllocated(), 0);
    EXPECT_EQ(one.TypeOfFirstItem(), TrcItem::tkNone);
    one.Append(Item(TrcItem::tkText, 1, 2));
    EXPECT_EQ(one.NumAllocated(), 5);
    EXPECT_EQ(one.TypeOfLastItem(), TrcItem::tkText);
}

TEST(ChartItems, RemoveByClassKeepsOrder)
{
    TChartItemStore s;
    const uint8_t classes[] = {0, 3, 0, 3};
    for (int i = 0; i < 4; ++i) s.Append(Item(TrcItem::tkMarkAt, i, 0, classes[i]));
    EXPECT_EQ(s.RemoveItemsByClass(3), 2);
    ASSERT_EQ(s.NumItems(), 2);
    EXPECT_EQ(s[0].x, 0);
    EXPECT_EQ(s[1].x, 2);
}

TEST(ChartItems, EditsInPlaceAndOutOfRangeIndices)
{
    TChartItemStore s;
    TrcChartItem e = Item(TrcItem::tkEllipse, 1, 2);
    e.x2 = 3;
    e.y2 = 4;
    s.Append(e);
    TrcChartItem t = Item(TrcItem::tkText, 1, 2);
    t.x2 = 3;
    t.y2 = 4;
    s.Append(t);
    s.ScaleAllItems(2, 1, 10, -1);
    EXPECT_EQ(s[0].x, 3);
    EXPECT_EQ(s[0].y, 19);
    EXPECT_EQ(s[0].x2, 7);     // the half axes take the whole transform
    EXPECT_EQ(s[0].y2, 39);
    EXPECT_EQ(s[1].x, 3);
    EXPECT_EQ(s[1].x2, 3);     // a text's offsets stay

    s.SetItemParams(0, Item(TrcItem::tkEverything, 9, 9));
    s.SetItemParams(0, Item(TrcItem::tkNone, 9, 9));
    EXPECT_EQ(s[0].ItemKind, TrcItem::tkEllipse);
    s.SetItemParams(0, Item(TrcItem::tkMarkAt, 9, 9));
    EXPECT_EQ(s[0].ItemKind, TrcItem::tkMarkAt);

    // Indices outside the list touch nothing.
    s.SetItemParams(2, Item(TrcItem::tkMarkAt, 5, 5));
    s.SetItemParams(-1, Item(TrcItem::tkMarkAt, 5, 5));
    s.ScaleItem(7, 2, 2, 2, 2);
    EXPECT_EQ(s.GetItemParams(7).ItemKind, TrcItem::tkNone);
    EXPECT_EQ(s.GetItemParams(1).ItemKind, TrcItem::tkText);
    EXPECT_EQ(s.NumItems(), 2);

    s.NewColorOfClassItems(gui::clRed, 255);
    EXPECT_EQ(s[1].Color, gui::clRed);
    s.MarkAllItems(TrcItem::tkText, 7);
    EXPECT_EQ(s[1].ItemClass, 7);
    EXPECT_EQ(s[0].ItemClass, 0);
    EXPECT_EQ(s.MarkItemsInWindow(10, 100, 0, 0, TrcItem::tkEverything, 4), 2);  // swapped window
    EXPECT_EQ(s.MarkItemsInWindow(0, 0, 10, 100, TrcItem::tkNone, 5), 0);
    EXPECT_EQ(s[0].ItemClass, 4);
}

TEST(ChartItems, NearestMinMaxAndUsedLayers)
{
    TChartItemStore s;
    double dist = 0;
    EXPECT_EQ(s.FindNearestItemReal(0, 0, TrcItem::tkEverything, 255, dist), -1);
    EXPECT_DOUBLE_EQ(dist, std::sqrt(1.7e308));

    s.Append(Item(TrcItem::tkMoveTo, 0, 0));
    s.Append(Item(TrcItem::tkMarkAt, 3, 4, 1, 2));
    s.Append(Item(TrcItem::tkMarkAt, -3, -4, 2, 5));
    EXPECT_EQ(s.FindNearestItemReal(0, 0, TrcItem::tkNotMoveTo, 255, dist), 1);  // tie: lower index
    EXPECT_DOUBLE_EQ(dist, 5);
    EXPECT_EQ(s.FindNearestItemReal(0, 0, TrcItem::tkNotMoveTo, 2, dist), 2);
    EXPECT_EQ(s.FindNearestItemReal(0, 0, TrcItem::tkEverything, 255, dist), 0);
    // Mapped: x counts ten times y.
    auto map = [](double x, double y, double& px, double& py) {
        px = 10 * x;
        py = y;
    };
    s.Append(Item(TrcItem::tkMarkAt, 0.1, 3));
    EXPECT_EQ(s.FindNearestItemMapped(0, 0, TrcItem::tkMarkAt, 255, map, dist), 3);
    EXPECT_NEAR(dist, std::sqrt(10.0), 1e-12);

    double minX, minY, maxX, maxY;
    s.FindMinMax(0, -3, -10, 10, 10, minX, minY, maxX, maxY);   // -3 lies on the border
    EXPECT_EQ(minX, 0);
    EXPECT_EQ(maxX, 3);
    EXPECT_EQ(minY, 0);
    EXPECT_EQ(maxY, 4);
    s.FindMinMax(5, -10, -10, 10, 10, minX, minY, maxX, maxY);
    EXPECT_EQ(minX, -3);
    EXPECT_EQ(maxY, -4);
    s.FindMinMax(9, -10, -10, 10, 10, minX, minY, maxX, maxY);
    EXPECT_EQ(minX, 1.7e308);
    EXPECT_EQ(maxX, -1.7e308);

    const std::bitset<17> used = s.FindUsedLayers();
    EXPECT_TRUE(used.test(1) && used.test(2) && used.test(5));
    EXPECT_EQ(used.count(), 3u);
}

TEST(ChartItems, SharingGroupsAndTheirRefusals)
{
    TChartItemStore owner, other;
    std::vector<std::unique_ptr<TChartItemStore>> users;
    for (int i = 0; i < 5; ++i) users.push_back(std::make_unique<TChartItemStore>());

    EXPECT_EQ(owner.SetUseDataOf(&owner), "PlotChart: Cannot share data with myself");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(users[i]->SetUseDataOf(&owner), "");
    EXPECT_EQ(users[4]->SetUseDataOf(&owner), "PlotChart: Max. number of data shares exceeded");
    EXPECT_EQ(users[4]->UseDataOf(), nullptr);
    EXPECT_EQ(owner.SetUseDataOf(&other),
              "PlotChart: Cannot use foreign data. Other PlotCharts are using my own data.");

    // Every chart of the group sees each change, whoever makes it.
    owner.Append(Item(TrcItem::tkMarkAt, 1, 1));
    users[2]->Append(Item(TrcItem::tkLineto, 2, 2));
    for (auto& u : users) {
        if (u->UseDataOf()) {
            EXPECT_EQ(u->NumItems(), 2);
        }
    }
    EXPECT_EQ(owner.TypeOfLastItem(), TrcItem::tkLineto);

    // Using a user means using its owner: groups have one level.
    users[1]->SetUseDataOf(nullptr);
    EXPECT_EQ(users[4]->SetUseDataOf(users[0].get()), "");
    EXPECT_EQ(users[4]->UseDataOf(), &owner);
    EXPECT_EQ(owner.DataUsersNum(), 4);
    // The one that left keeps a copy that no longer follows the group.
    owner.Append(Item(TrcItem::tkMarkAt, 3, 3));
    EXPECT_EQ(users[1]->NumItems(), 2);
    EXPECT_EQ(users[4]->NumItems(), 3);
}

TEST(ChartItems, UsersOutliveTheirOwner)
{
    auto owner = std::make_unique<TChartItemStore>();
    TChartItemStore a, b;
    a.SetUseDataOf(owner.get());
    b.SetUseDataOf(owner.get());
    for (int i = 0; i < 10; ++i) owner->Append(Item(TrcItem::tkLineto, i, i));
    owner.reset();
    EXPECT_EQ(a.UseDataOf(), nullptr);
    ASSERT_EQ(a.NumItems(), 10);
    EXPECT_EQ(a[9].x, 9);
    // Each keeps a list of its own, and may grow it.
    for (int i = 0; i < 2000; ++i) a.Append(Item(TrcItem::tkLineto, i, i));
    EXPECT_EQ(a.NumItems(), 2010);
    EXPECT_EQ(b.NumItems(), 10);
    EXPECT_EQ(b[9].x, 9);

    // A user freed before its owner leaves the owner's list.
    TChartItemStore o2;
    {
        TChartItemStore u;
        u.SetUseDataOf(&o2);
        EXPECT_EQ(o2.DataUsersNum(), 1);
    }
    EXPECT_EQ(o2.DataUsersNum(), 0);
    o2.Append(Item(TrcItem::tkMarkAt, 1, 1));
    EXPECT_EQ(o2.NumItems(), 1);
}

} // namespace
