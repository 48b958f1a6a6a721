// The real-number edit driven as a user does: text typed into it, Tab to the
// next control, and the two messages answered through the dialog service.

#include <gtest/gtest.h>

#include <memory>

#include "app/FloatEdit.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Strings.h"

using namespace gui;
using app::TFloatEdit;

namespace {

// A shown form with the edit (range 0.01 .. 1, three decimals, value 0.25)
// and a plain edit to tab to; the messages are recorded.
struct FloatForm {
    TForm form{nullptr};
    TFloatEdit* e;
    TEdit* next;
    TScriptedDialogService* dialogs;
    FloatForm()
    {
        auto service = std::make_unique<TScriptedDialogService>();
        dialogs = service.get();
        SetDialogService(std::move(service));
        form.SetBounds(0, 0, 240, 120);
        e = new TFloatEdit(&form);
        e->SetParent(&form);
        e->SetBounds(10, 10, 100, 22);
        e->SetMinValue(0.01L);
        e->SetMaxValue(1.0L);
        e->SetDigits(3);
        e->SetValue(0.25L);
        next = new TEdit(&form);
        next->SetParent(&form);
        next->SetBounds(10, 50, 100, 22);
        form.Show();
        Application->ProcessMessages();
        e->SetFocus();
        Application->ProcessMessages();
    }
    ~FloatForm()
    {
        form.Hide();
        SetDialogService(nullptr);
    }
    // Replaces the text by typing and leaves the edit with Tab.
    void TypeAndTab(const std::string& text)
    {
        e->SelectAll();
        sim::KeyPress(VK_DELETE, {}, e);
        sim::TypeText(text, e);
        sim::KeyPress(VK_TAB, {}, e);
        Application->ProcessMessages();
    }
    std::string LastMessage() const { return dialogs->Calls.empty() ? "" : dialogs->Calls.back().Text; }
};

} // namespace

TEST(FloatEdit, StartsWithItsDefaults)
{
    TFloatEdit e(nullptr);
    EXPECT_EQ(e.MinValue(), 0.0L);
    EXPECT_EQ(e.MaxValue(), 1e99L);
    EXPECT_EQ(e.Digits(), 3);
}

TEST(FloatEdit, TypedTextIsCommittedOnTab)
{
    struct Case {
        const char* typed;
        long double value;     // after leaving the edit
        const char* text;      // shown afterwards
        const char* message;   // "" when none
    };
    const Case cases[] = {
        {"0.5", 0.5L, "0.500", ""},
        {" 0.01 ", 0.01L, "0.010", ""},   // the lower limit itself
        {"1", 1.0L, "1.000", ""},         // the upper limit itself
        {"1.5", 0.25L, "0.250", "The value is out of range (0.01 .. 1)."},
        {"0.001", 0.25L, "0.250", "The value is out of range (0.01 .. 1)."},
        {"abc", 0.25L, "0.250", "'abc' is not a numerical value.\r\nThe value was not changed."},
        {"1,5", 0.25L, "0.250", "'1,5' is not a numerical value.\r\nThe value was not changed."},
        {"", 0.25L, "0.250", "'' is not a numerical value.\r\nThe value was not changed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        FloatForm f;
        f.TypeAndTab(c.typed);
        EXPECT_EQ(f.e->Text(), c.text);
        EXPECT_EQ(f.LastMessage(), c.message);
        const size_t shown = f.dialogs->Calls.size();
        EXPECT_NEAR(static_cast<double>(f.e->Value()), static_cast<double>(c.value), 1e-12);
        EXPECT_EQ(f.dialogs->Calls.size(), shown) << "reading a committed text shows nothing";
    }
}

TEST(FloatEdit, TextThatIsNoNumberTakesTheFocusBack)
{
    FloatForm f;
    f.TypeAndTab("abc");
    ASSERT_EQ(f.dialogs->Calls.size(), 1u);
    EXPECT_TRUE(f.e->Focused());
    EXPECT_EQ(f.e->Text(), "0.250");
    // A good text then leaves normally.
    f.TypeAndTab("0.75");
    EXPECT_TRUE(f.next->Focused());
    EXPECT_EQ(f.e->Text(), "0.750");
}

TEST(FloatEdit, WritingValueStoresItWithoutRangeCheck)
{
    FloatForm f;
    f.e->SetValue(5);
    EXPECT_EQ(f.e->Text(), "5.000");
    EXPECT_TRUE(f.dialogs->Calls.empty());
    f.e->SetDigits(4);
    f.e->SetValue(0.63L);
    EXPECT_EQ(f.e->Text(), "0.6300");
}

TEST(FloatEdit, ReadingValueOverBadTextShowsTheMessageAndKeepsTheValue)
{
    FloatForm f;
    f.e->SetText("2");
    EXPECT_NEAR(static_cast<double>(f.e->Value()), 0.25, 1e-12);
    ASSERT_EQ(f.dialogs->Calls.size(), 1u);
    EXPECT_EQ(f.dialogs->Calls[0].Text, "The value is out of range (0.01 .. 1).");
    EXPECT_EQ(f.e->Text(), "0.250");
    // A good text is taken by reading.
    f.e->SetText("0.125");
    EXPECT_NEAR(static_cast<double>(f.e->Value()), 0.125, 1e-12);
    EXPECT_EQ(f.dialogs->Calls.size(), 1u);
}
