// The preview's page layout: rows, the page at a position, page bounds.
#include <gtest/gtest.h>

#include <vector>

#include "reportout/qlrPageList.h"

using namespace qlr;

namespace {

struct Page {
    int w, h;
};

TqlrPageList Laid(const std::vector<Page>& pages, int clientWidth, long double zoom = 1)
{
    TqlrPageList list;
    for (const Page& p : pages) list.AppendPage(p.w, p.h, zoom);
    list.LayOutRows(clientWidth);
    return list;
}

TEST(PageList, RowLayoutTable)
{
    struct Offsets {
        int x, y;
    };
    struct Case {
        std::vector<Page> pages;
        int client;
        std::vector<Offsets> expected;
        int maxWidth;
    };
    const Case cases[] = {
        // One row of three: w = 330, shift (500 - 330 + 10) div 2 + 10.
        {{{100, 150}, {100, 150}, {100, 150}}, 500, {{100, 10}, {210, 10}, {320, 10}}, 330},
        // Too wide for the client: alone in its row at 10.
        {{{800, 100}, {100, 100}}, 500, {{10, 10}, {210, 120}}, 810},
        // Mixed heights: the next row starts below the tallest.
        {{{200, 100}, {200, 300}, {200, 50}}, 450, {{30, 10}, {240, 10}, {135, 320}}, 420},
    };
    for (const Case& c : cases) {
        TqlrPageList list = Laid(c.pages, c.client);
        ASSERT_EQ(list.Count(), static_cast<int>(c.expected.size()));
        for (int i = 0; i < list.Count(); ++i) {
            EXPECT_EQ(list.Items(i).OffsetX, c.expected[i].x) << i;
            EXPECT_EQ(list.Items(i).OffsetY, c.expected[i].y) << i;
        }
        EXPECT_EQ(list.FMaxWidth, c.maxWidth);
    }
    TqlrPageList zoomed = Laid({{794, 1123}}, 2000, 0.25L);
    EXPECT_EQ(zoomed.Items(0).Width, 198);   // 198.5, half to even
    EXPECT_EQ(zoomed.Items(0).Height, 281);
    EXPECT_EQ(zoomed.TotalExtent(), (gui::TPoint{208, 291}));
    EXPECT_EQ(TqlrPageList().TotalExtent(), (gui::TPoint{0, 0}));
}

TEST(PageList, PageAtOffsetBisectsWithAFifthOfGrace)
{
    TqlrPageList list = Laid({{500, 1000}, {500, 1000}, {500, 1000}}, 600);
    ASSERT_EQ(list.Items(1).OffsetY, 1020);
    EXPECT_EQ(list.PageAtOffset(819, 0), 0);
    EXPECT_EQ(list.PageAtOffset(820, 0), 1);
    EXPECT_EQ(list.PageAtOffset(0, 0), 0);
    EXPECT_EQ(list.PageAtOffset(99999, 0), 2);
    EXPECT_EQ(TqlrPageList().PageAtOffset(5, 5), -1);

    // Points: the page holding them, else the bisection's page.
    TqlrPageList row = Laid({{100, 100}, {100, 100}, {100, 100}}, 500);
    EXPECT_EQ(row.PageAtOffset(50, 250), 1);
    EXPECT_EQ(row.PageAtOffset(50, 330), 2);
    EXPECT_EQ(row.PageAtOffset(50, 5), 2);
}

TEST(PageList, PageRectDefaultAndMirrored)
{
    TqlrPageList list = Laid({{100, 150}, {100, 150}}, 500);
    EXPECT_EQ(list.PageRect(-1, 1000, 1, false), (gui::TRect{103, 10, 897, 1133}));
    EXPECT_EQ(list.PageRect(5, 500, 1, false), (gui::TRect{10, 10, 804, 1133}));
    EXPECT_EQ(list.PageRect(0, 500, 1, false), (gui::TRect{155, 10, 255, 160}));
    // Right to left: the first page on the right.
    EXPECT_EQ(list.PageRect(0, 500, 1, true), (gui::TRect{245, 10, 345, 160}));
    EXPECT_EQ(list.PageRect(1, 500, 1, true), (gui::TRect{135, 10, 235, 160}));
}

} // namespace
