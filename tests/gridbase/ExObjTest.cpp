// Integer lists, sort index lists and the cell checker base.
#include <gtest/gtest.h>

#include <vector>

#include "gridbase/ExObj.h"
#include "gridbase/grdcheck.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TypInfo.h"

using namespace gridbase;

namespace {

// Records the change events of a list.
struct EventLog {
    struct Event {
        rtl::TObject* sender;
        int col, row;
    };
    std::vector<Event> events;
    void Attach(TIntList& list)
    {
        list.OnChange = [this](rtl::TObject* s, int c, int r) { events.push_back({s, c, r}); };
    }
    int Take()
    {
        int n = static_cast<int>(events.size());
        events.clear();
        return n;
    }
};

std::vector<int32_t> Values(const TIntList& l)
{
    std::vector<int32_t> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l[i]);
    return v;
}

} // namespace

TEST(IntList, OneEventPerChangingOperation)
{
    TIntList list(3, 7);
    EventLog log;
    log.Attach(list);
    list.Add(10);
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].sender, &list);
    EXPECT_EQ(log.events[0].col, 3);
    EXPECT_EQ(log.events[0].row, 7);
    log.Take();

    list.Insert(0, 5);  // none
    EXPECT_EQ(log.Take(), 0);
    list.SetItem(1, 11);
    EXPECT_EQ(log.Take(), 1);
    list.Delete(0);
    EXPECT_EQ(log.Take(), 1);
    list.Add(12);
    list.Add(11);
    log.Take();
    list.DeleteValue(11);  // the first occurrence
    EXPECT_EQ(log.Take(), 1);
    EXPECT_EQ(Values(list), (std::vector<int32_t>{12, 11}));
    list.DeleteValue(99);  // absent: nothing
    EXPECT_EQ(log.Take(), 0);
    EXPECT_TRUE(list.HasValue(12));
    EXPECT_FALSE(list.HasValue(10));

    // The clearing fires nothing, each value added fires once.
    list.SetValuesText("4,5");
    EXPECT_EQ(log.Take(), 2);
    EXPECT_EQ(Values(list), (std::vector<int32_t>{4, 5}));
    EXPECT_THROW(list.Items(2), rtl::EListError);
}

TEST(IntList, ValuesText)
{
    TIntList list(0, 0);
    EXPECT_EQ(list.GetValuesText(), "");
    for (int v : {3, -1, 12}) list.Add(v);
    EXPECT_EQ(list.GetValuesText(), "3,-1,12");
    list.SetValuesText("7 \"8\",-2147483648");
    EXPECT_EQ(Values(list), (std::vector<int32_t>{7, 8, INT32_MIN}));
    // A part that is no whole number raises; the values before it stay.
    EXPECT_THROW(list.SetValuesText("1,x,3"), rtl::EConvertError);
    EXPECT_EQ(Values(list), (std::vector<int32_t>{1}));
    list.SetValuesText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(SortIndexList, TextFormRoundTrip)
{
    TSortIndexList order(-1, -1);
    order.AddIndex(2, true);
    order.AddIndex(5, false);
    EXPECT_EQ(order.SaveToString(), "u2;d5");

    TSortIndexList loaded(-1, -1);
    loaded.LoadFromString("u2;d5");
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded[0], 2);
    EXPECT_EQ(static_cast<uint32_t>(loaded[1]), 0x80000005u);
    EXPECT_EQ(loaded.SaveToString(), "u2;d5");

    // Entries shorter than two characters are skipped.
    loaded.LoadFromString("x;u7;;d");
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded[0], 7);
    EXPECT_TRUE(loaded.IsAscending(0));
    // Any first letter but "u" is descending; a column that is no number reads as Val reads it.
    loaded.LoadFromString("U3;x4;uab;");
    EXPECT_EQ(loaded.SaveToString(), "d3;d4;u0");
    // Only the low 16 bits of a column are written.
    loaded.Clear();
    loaded.AddIndex(0x10005, true);
    EXPECT_EQ(loaded.SaveToString(), "u5");
    loaded.LoadFromString("");
    EXPECT_EQ(loaded.Count(), 0);
}

TEST(SortIndexList, FindAndToggleIgnoreTheDirection)
{
    TSortIndexList order(0, 0);
    EventLog log;
    log.Attach(order);
    order.AddIndex(4, true);
    order.AddIndex(9, false);
    order.AddIndex(9, true);
    log.Take();
    EXPECT_EQ(order.FindIndex(9), 1);
    EXPECT_EQ(order.FindIndex(4), 0);
    EXPECT_EQ(order.FindIndex(5), -1);
    EXPECT_EQ(order.GetIndexColumn(1), 9);

    order.ToggleIndex(9);  // the first entry for 9 only
    EXPECT_EQ(log.Take(), 1);
    EXPECT_TRUE(order.IsAscending(1));
    EXPECT_TRUE(order.IsAscending(2));
    order.ToggleIndex(9);  // toggling twice restores the entry
    EXPECT_EQ(log.Take(), 1);
    EXPECT_EQ(order.SaveToString(), "u4;d9;u9");
    order.ToggleIndex(77);
    EXPECT_EQ(log.Take(), 0);
}

TEST(CellChecker, BaseReturnsItsInputAndStartsWithAllOptionsOff)
{
    TExStringGridCheck check(nullptr);
    EXPECT_FALSE(check.UseCorrect());
    EXPECT_FALSE(check.UseMarkError());
    EXPECT_FALSE(check.AutoCorrect());
    EXPECT_FALSE(check.AutoMarkError());
    EXPECT_FALSE(check.GotoCell());

    // A check of a range the way the grid runs it: every cell passes.
    check.SetUseCorrect(true);
    check.SetUseMarkError(true);
    const std::string cells[] = {"", "text", "  spaced  ", "a\r\nb", "\xC3\xA9", std::string("nul\0in", 6)};
    check.StartCheck();
    int passed = 0;
    for (int col = 0; col < 2; ++col)
        for (const std::string& text : cells) {
            std::string s = text;
            if (check.UseCorrect()) s = check.Correct(col, 1, s);
            if (check.UseMarkError()) s = check.MarkError(col, 1, s);
            if (s == text) ++passed;
        }
    check.StopCheck();
    EXPECT_EQ(passed, 12);

    // The options are published (stored in form descriptions), default False.
    for (const char* name : {"UseCorrect", "UseMarkError", "AutoCorrect", "AutoMarkError", "GotoCell"}) {
        const rtl::TPropInfo* prop = rtl::GetPropInfo(&check, name);
        ASSERT_NE(prop, nullptr) << name;
    }
    rtl::SetPropValue(&check, "GotoCell", rtl::Variant(true));
    EXPECT_TRUE(check.GotoCell());
}
