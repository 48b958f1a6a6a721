// The date-time pickers on a test form: the platform picker's fields, keys
// and month popup, and the grid's picker with its companion time picker,
// whole-second values, flat border colours and version.
#include <gtest/gtest.h>

#include <cmath>

#include "TestFormatSettings.h"
#include "gridbase/ExDateTimePicker.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/sys/SystemInfo.h"

using namespace gridbase;
using namespace gui;

namespace {

struct PickerFixture : testing::Test {
    ScopedFormatSettings Saved;
    TForm Form{nullptr};
    PickerFixture()
    {
        sys::ResetSystemInfo();
        Form.SetBounds(0, 0, 400, 300);
        Form.SetColor(0xE0F0FF);
    }
    ~PickerFixture() override { sys::ResetSystemInfo(); }
    template <typename T>
    T* Add(int y = 10)
    {
        auto* p = new T(&Form);
        p->SetParent(&Form);
        p->SetBounds(10, y, 200, 22);
        Form.Show();
        Application->ProcessMessages();
        return p;
    }
    static rtl::TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
    {
        return rtl::EncodeDate(y, mo, d) + rtl::EncodeTime(h, mi, s, ms);
    }
};

bool Same(rtl::TDateTime a, rtl::TDateTime b) { return std::abs(a - b) < 1e-9; }

} // namespace

TEST_F(PickerFixture, FieldsKeysAndDigits)
{
    auto* p = Add<TDateTimePicker>();
    int changes = 0;
    p->OnChange = [&](rtl::TObject*) { ++changes; };
    p->SetFormat("dd/MM/yyyy");
    p->SetDateTime(At(2026, 12, 31));
    EXPECT_EQ(p->DisplayText(), "31/12/2026");
    EXPECT_EQ(p->FieldCount(), 3);
    p->SetFocus();
    sim::KeyDown(VK_UP, {}, p);
    EXPECT_EQ(p->DisplayText(), "01/12/2026");  // the day wraps within the month
    sim::KeyDown(VK_RIGHT, {}, p);
    sim::KeyDown(VK_DOWN, {}, p);
    EXPECT_EQ(p->DisplayText(), "01/11/2026");
    sim::TypeText("05", p);
    EXPECT_EQ(p->DisplayText(), "01/05/2026");
    sim::KeyDown(VK_RIGHT, {}, p);
    sim::TypeText("2030", p);
    EXPECT_EQ(p->DisplayText(), "01/05/2030");
    EXPECT_EQ(changes, 4);  // a leading 0 and the first three year digits wait

    p->SetKind(TDateTimeKind::dtkTime);
    p->SetFormat("HH:mm:ss");
    p->SetTime(rtl::EncodeTime(23, 59, 30, 0));
    p->SetFieldIndex(0);
    sim::KeyDown(VK_UP, {}, p);
    EXPECT_EQ(p->DisplayText(), "00:59:30");
    EXPECT_TRUE(Same(p->Date(), rtl::EncodeDate(2030, 5, 1)));  // a time step keeps the day
}

TEST_F(PickerFixture, MonthPopupChoosesADay)
{
    auto* p = Add<TDateTimePicker>();
    p->SetFormat("dd/MM/yyyy");
    p->SetDateTime(At(2026, 12, 11, 9, 15));
    std::vector<std::string> events;
    p->OnDropDown = [&](rtl::TObject*) { events.push_back("drop"); };
    p->OnCloseUp = [&](rtl::TObject*) { events.push_back("close"); };
    p->OnChange = [&](rtl::TObject*) { events.push_back("change"); };
    sim::Click(p, p->Width() - 8, 10);  // the button
    ASSERT_TRUE(p->DroppedDown());
    TMonthPopup* popup = p->MonthPopup();
    EXPECT_EQ(popup->Month(), 12);
    popup->ShowMonth(1);
    EXPECT_EQ(popup->Year(), 2027);
    const TRect day = popup->DayRect(3);
    sim::Click(popup, (day.Left + day.Right) / 2, (day.Top + day.Bottom) / 2);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_TRUE(Same(p->DateTime(), At(2027, 1, 3, 9, 15)));
    EXPECT_EQ(events, (std::vector<std::string>{"drop", "change", "close"}));
}

TEST_F(PickerFixture, CompanionByKind)
{
    auto* p = Add<TExDateTimePicker>();
    ASSERT_NE(p->TimePicker(), nullptr);
    TCustomDateTimePicker* t = p->TimePicker();
    EXPECT_TRUE(t->Visible());
    EXPECT_EQ(t->Kind(), TDateTimeKind::dtkTime);
    const int w = p->MeasureText(t->DisplayText()) + 31;
    EXPECT_EQ(t->BoundsRect(), TRect(200 - w - 34, 1, 200 - 34, 1 + 22 - 2));
    p->SetKind(TExDateTimeKind::dkDate);
    EXPECT_FALSE(t->Visible());
    EXPECT_EQ(p->TDateTimePicker::Kind(), TDateTimeKind::dtkDate);
    p->SetKind(TExDateTimeKind::dkTime);
    EXPECT_FALSE(t->Visible());
    EXPECT_EQ(p->TDateTimePicker::Kind(), TDateTimeKind::dtkTime);
    p->SetKind(TExDateTimeKind::dkDateTime);
    EXPECT_TRUE(t->Visible());
    EXPECT_EQ(p->Version(), "1.0.1.0");
    p->SetVersion("2.0");
    EXPECT_EQ(p->Version(), "1.0.1.0");
}

TEST_F(PickerFixture, WholeSecondsAndTheTimeOfTheCompanion)
{
    auto* p = Add<TExDateTimePicker>();
    p->SetDateTime(At(2026, 12, 11, 10, 30, 15, 678));
    EXPECT_TRUE(Same(p->GetDateTime(), At(2026, 12, 11, 10, 30, 15)));
    p->SetTime(rtl::EncodeTime(18, 5, 0, 0));
    EXPECT_TRUE(Same(p->GetDateTime(), At(2026, 12, 11, 18, 5, 0)));
    EXPECT_TRUE(Same(p->TimePicker()->Time(), rtl::EncodeTime(18, 5, 0, 0)));
    // The user's time in the companion comes back with the date.
    p->TimePicker()->SetFieldIndex(0);
    p->TimePicker()->SetFocus();
    int seen = 0;
    p->OnKeyDown = [&](rtl::TObject*, uint16_t& key, TShiftState) { seen += key == VK_UP; };
    sim::KeyDown(VK_UP, {}, p->TimePicker());
    EXPECT_EQ(seen, 1);  // the picker's OnKeyDown sees the companion's keys
    EXPECT_TRUE(Same(p->GetDateTime(), At(2026, 12, 11, 19, 5, 0)));
}

TEST_F(PickerFixture, FlatBorderColours)
{
    const TColor parent = 0xE0F0FF;
    auto probe = [&](TExDateTimePicker* p, int x, int y) {
        auto img = p->GetImage();
        return ColorToRGB(img->Canvas()->Pixels(x, y));
    };
    auto* themed = Add<TExDateTimePicker>();
    themed->SetCtl3D(false);
    themed->SetBorderColor(0x0000FF);
    EXPECT_EQ(probe(themed, 0, 0), RGB(127, 157, 185));
    EXPECT_EQ(probe(themed, 199, 21), RGB(127, 157, 185));
    EXPECT_EQ(probe(themed, 1, 1), parent);  // the inner top-left line
    themed->SetBorderStyle(TBorderStyle::bsNone);
    EXPECT_EQ(probe(themed, 0, 0), parent);

    sys::TSystemInfo old;
    old.ComCtlMajorVersion = 5;
    sys::SetSystemInfo(old);
    auto* classic = Add<TExDateTimePicker>(60);
    classic->SetCtl3D(false);
    classic->SetBorderColor(0x0000FF);
    EXPECT_EQ(probe(classic, 0, 0), 0x0000FFu);
    EXPECT_EQ(probe(classic, 1, 1), parent);
}

TEST_F(PickerFixture, DropDownAndCloseUpWithTheCheckBox)
{
    for (bool box : {false, true}) {
        SCOPED_TRACE(box);
        auto* p = Add<TExDateTimePicker>(box ? 120 : 90);
        p->SetKind(TExDateTimeKind::dkDate);
        p->SetShowCheckbox(box);
        int drops = 0, closes = 0;
        p->OnDropDown = [&](rtl::TObject*) { ++drops; };
        p->OnCloseUp = [&](rtl::TObject*) { ++closes; };
        p->SetFocus();
        sim::KeyDown(VK_DOWN, {TShiftStateItem::ssAlt}, p);
        EXPECT_EQ(drops, 1);
        sim::KeyDown(VK_ESCAPE, {}, p);
        EXPECT_EQ(closes, 1);
        EXPECT_FALSE(p->DroppedDown());
    }
}
