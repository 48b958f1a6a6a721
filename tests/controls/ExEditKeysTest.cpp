// The typed edit's key and clipboard filter, driven through synthetic key
// presses: what each edit type takes, the change notices per keystroke,
// prefix and suffix protection, paste checks, Esc undo and Enter forwarding.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ExEdit.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

using namespace controls;
using namespace gui;
using controls_test::Host;

namespace {

struct Typing {
    Host h;
    TExEdit* e;
    TExEdit* next;
    int changes = 0;
    Typing()
    {
        e = new TExEdit(&h.form);
        e->SetParent(&h.form);
        e->SetBounds(20, 20, 120, 19);
        next = new TExEdit(&h.form);
        next->SetParent(&h.form);
        next->SetBounds(20, 60, 120, 19);
        e->OnChange = [this](rtl::TObject*) { ++changes; };
        h.Show();
        e->SetFocus();
        Application->ProcessMessages();
    }
    // Value, caret at the end.
    void Set(const std::string& v)
    {
        e->SetText(v);
        const int n = static_cast<int>(e->Caption().size());
        e->SetSelStart(n);
        changes = 0;
    }
    void Caret(int pos) { e->Perform(EM_SETSEL, static_cast<WPARAM>(pos), pos); }
    void Type(const std::string& s) { sim::TypeText(s, e); }
    void Key(uint16_t vk, TShiftState shift = {}) { sim::KeyPress(vk, shift, e); }
};

} // namespace

TEST(ExEditKeys, CharacterTable)
{
    struct Case {
        TExEditType type;
        bool isSigned;
        int precision;
        const char* start;
        int caret;  // -1: end
        const char* typed;
        const char* result;
    };
    const Case cases[] = {
        {TExEditType::etNumeric, false, 0, "12", -1, "-.a3", "123"},
        {TExEditType::etNumeric, true, 0, "12", 1, "-", "-12"},
        {TExEditType::etNumeric, true, 0, "-12", -1, "-", "12"},
        {TExEditType::etFloat, false, 2, "1.25", -1, "9", "1.25"},
        {TExEditType::etFloat, false, 2, "1.25", 3, "7", "1.27"},
        {TExEditType::etFloat, false, 0, "12", -1, ".", "12"},
        {TExEditType::etFloat, false, 2, "1.25", 1, ".", "1.25"},
        {TExEditType::etRange, false, 0, "", 0, "-1-5,,7", "1-5,7"},
        {TExEditType::etAlphaNumeric, false, 0, "", 0, "a-b 1", "ab1"},
        {TExEditType::etUppercase, false, 0, "", 0, "abc", "ABC"},
        {TExEditType::etMixedCase, false, 0, "", 0, "o'neil-smith", "O'Neil-Smith"},
        {TExEditType::etHex, false, 0, "", 0, "1fg", "1f"},
    };
    for (const Case& c : cases) {
        Typing t;
        t.e->SetAllowNumericNullValue(true);
        t.e->SetEditType(c.type);
        t.e->SetSigned(c.isSigned);
        t.e->SetPrecision(c.precision);
        t.Set(c.start);
        if (c.caret >= 0) t.Caret(c.caret);
        t.Type(c.typed);
        EXPECT_EQ(t.e->Text(), c.result) << c.start << " + " << c.typed;
    }
}

TEST(ExEditKeys, SeparatorInEmptyFloatAndMoneyGrouping)
{
    Typing t;
    t.e->SetAllowNumericNullValue(true);
    t.e->SetEditType(TExEditType::etFloat);
    t.e->SetPrecision(2);
    t.Set("");
    t.Type(".");
    EXPECT_EQ(t.e->Text(), "0.");
    EXPECT_EQ(t.e->SelStart(), 2);

    Typing m;
    m.e->SetAllowNumericNullValue(true);
    m.e->SetEditType(TExEditType::etMoney);
    m.Set("");
    m.Type("1234");
    EXPECT_EQ(m.e->Text(), "1,234");
    EXPECT_EQ(m.e->SelStart(), 5);
    // One change notice per keystroke: the regrouping is the edit's own.
    EXPECT_EQ(m.changes, 4);
}

TEST(ExEditKeys, ChangeNoticeForEveryUserEdit)
{
    Typing t;
    t.e->SetEditType(TExEditType::etNumeric);
    t.Set("55");
    // Typing over the auto-selected value is a change.
    t.e->SelectAll();
    t.Type("7");
    EXPECT_EQ(t.e->Text(), "7");
    EXPECT_EQ(t.changes, 1);
    // A dropped key changes nothing and hides nothing: the next key counts.
    t.e->SelectAll();
    t.Type("x");
    EXPECT_EQ(t.changes, 1);
    t.Caret(1);
    t.Type("8");
    EXPECT_EQ(t.e->Text(), "78");
    EXPECT_EQ(t.changes, 2);
    // Ctrl+C over the whole value, then a real key.
    t.e->SelectAll();
    t.Key('C', {TShiftStateItem::ssCtrl});
    t.Caret(2);
    t.Type("9");
    EXPECT_EQ(t.changes, 3);
    // Backspace.
    t.Key(VK_BACK);
    EXPECT_EQ(t.e->Text(), "78");
    EXPECT_EQ(t.changes, 4);
}

TEST(ExEditKeys, PrefixAndSuffixStopTheCaret)
{
    Typing t;
    t.e->SetEditType(TExEditType::etNumeric);
    t.e->SetPrefix("$");
    t.e->SetSuffix(" kg");
    t.Set("12");
    t.Key(VK_END);
    EXPECT_EQ(t.e->SelStart(), 3);
    t.Key(VK_RIGHT);
    EXPECT_EQ(t.e->SelStart(), 3);
    t.Key(VK_HOME);
    EXPECT_EQ(t.e->SelStart(), 1);
    t.Key(VK_LEFT);
    EXPECT_EQ(t.e->SelStart(), 1);
    t.Key(VK_BACK);
    EXPECT_EQ(t.e->Caption(), "$12 kg");
    t.Key(VK_END);
    t.Key(VK_DELETE);
    EXPECT_EQ(t.e->Caption(), "$12 kg");
    t.Key(VK_BACK);
    EXPECT_EQ(t.e->Caption(), "$1 kg");
}

TEST(ExEditKeys, LengthLimitAndTabOnFullLength)
{
    Typing t;
    t.e->SetEditType(TExEditType::etNumeric);
    t.e->SetAllowNumericNullValue(true);
    t.e->SetLengthLimit(3);
    t.Set("");
    t.Type("1234");
    EXPECT_EQ(t.e->Text(), "123");
    EXPECT_TRUE(t.e->Focused());

    Typing u;
    u.e->SetEditType(TExEditType::etNumeric);
    u.e->SetAllowNumericNullValue(true);
    u.e->SetLengthLimit(3);
    u.e->SetTabOnFullLength(true);
    u.Set("");
    u.Type("123");
    Application->ProcessMessages();
    EXPECT_TRUE(u.next->Focused());

    // Pasting the full length moves on to the next control too.
    Typing p;
    p.e->SetEditType(TExEditType::etNumeric);
    p.e->SetAllowNumericNullValue(true);
    p.e->SetLengthLimit(3);
    p.e->SetTabOnFullLength(true);
    p.Set("");
    Clipboard()->SetAsText("456");
    p.e->PasteFromClipboard();
    Application->ProcessMessages();
    EXPECT_EQ(p.e->Text(), "456");
    EXPECT_TRUE(p.next->Focused());
}

TEST(ExEditKeys, PasteTable)
{
    struct Case {
        TExEditType type;
        bool isSigned;
        const char* clip;
        const char* result;
    };
    const Case cases[] = {
        {TExEditType::etNumeric, false, "12a", "5"},   {TExEditType::etNumeric, false, "-5", "5"},
        {TExEditType::etNumeric, false, "-", "5"},     {TExEditType::etNumeric, false, "1-2", "5"},
        {TExEditType::etNumeric, false, "34", "534"},  {TExEditType::etAlphaNumeric, false, "abc1", "5abc1"},
        {TExEditType::etAlphaNumeric, false, "a b", "5"}, {TExEditType::etUppercase, false, "xy", "5XY"},
    };
    for (const Case& c : cases) {
        Typing t;
        t.e->SetEditType(c.type);
        t.e->SetSigned(c.isSigned);
        t.Set("5");
        Clipboard()->SetAsText(c.clip);
        t.e->PasteFromClipboard();
        EXPECT_EQ(t.e->Text(), c.result) << c.clip;
    }
    // A sign pasted in front needs Signed.
    Typing s;
    s.e->SetEditType(TExEditType::etNumeric);
    s.e->SetSigned(true);
    s.Set("5");
    s.Caret(0);
    Clipboard()->SetAsText("-");
    s.e->PasteFromClipboard();
    EXPECT_EQ(s.e->Text(), "-5");
}

TEST(ExEditKeys, EscUndoesAndEnterIsForwarded)
{
    Typing t;
    t.next->SetFocus();
    t.e->SetEditType(TExEditType::etNumeric);
    t.e->SetText("5");
    t.e->SetFocus();
    Application->ProcessMessages();
    t.Type("77");
    EXPECT_EQ(t.e->Text(), "77");
    EXPECT_TRUE(t.e->Modified());
    t.Key(VK_ESCAPE);
    EXPECT_EQ(t.e->Text(), "5");
    EXPECT_FALSE(t.e->Modified());

    int enters = 0;
    t.h.form.OnKeyDown = [&](rtl::TObject*, uint16_t& key, TShiftState) {
        if (key == VK_RETURN) ++enters;
    };
    t.e->SetDefaultHandling(false);
    t.Key(VK_RETURN);
    Application->ProcessMessages();
    EXPECT_EQ(enters, 1);
}

TEST(ExEditLookup, ShowsSortedMatchesAfterNumChars)
{
    Typing t;
    TLookupSettings* l = t.e->Lookup();
    l->Enabled = true;
    for (const char* s : {"beta", "alpha", "bet", "gamma", "Betamax"}) l->DisplayList()->Add(s);
    l->ValueList()->Add("B");
    t.Set("");
    t.Type("b");
    EXPECT_FALSE(t.e->LookupVisible());
    t.Type("e");
    ASSERT_TRUE(t.e->LookupVisible());
    TListBox* list = t.e->LookupListBox();
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Items()->Strings(0), "bet");
    EXPECT_EQ(list->Items()->Strings(1), "beta");
    EXPECT_EQ(list->Items()->Strings(2), "Betamax");
    EXPECT_EQ(list->ItemIndex(), 0);
    // Backspace keeps the rows; the next accepted key refreshes them.
    t.Key(VK_BACK);
    EXPECT_EQ(list->Count(), 3);
    t.Type("ex");
    EXPECT_FALSE(t.e->LookupVisible());
    // Down and Enter take "beta", whose index has a value: "B".
    t.Set("");
    t.Type("bet");
    t.Key(VK_DOWN);
    t.Key(VK_DOWN);
    t.Key(VK_UP);
    EXPECT_EQ(list->ItemIndex(), 1);
    t.Key(VK_RETURN);
    EXPECT_FALSE(t.e->LookupVisible());
    EXPECT_EQ(t.e->Text(), "B");
    // An entry without a value gives its own text.
    t.Set("");
    t.Type("ga");
    t.Key(VK_RETURN);
    EXPECT_EQ(t.e->Text(), "gamma");
    l->SetNumChars(0);
    EXPECT_EQ(l->NumChars(), 2);
}

TEST(ExEditLookup, MultiModeCompletesTheLastItem)
{
    Typing t;
    TLookupSettings* l = t.e->Lookup();
    l->Enabled = true;
    l->Multi = true;
    for (const char* s : {"alpha", "beta"}) l->DisplayList()->Add(s);
    t.Set("alpha;");
    t.Type("be");
    ASSERT_TRUE(t.e->LookupVisible());
    EXPECT_EQ(t.e->LookupListBox()->Count(), 1);
    t.Key(VK_RETURN);
    EXPECT_EQ(t.e->Text(), "alpha;beta;");
    EXPECT_EQ(t.e->SelStart(), 11);
    EXPECT_EQ(t.e->SelLength(), 0);
}

TEST(ExEditKeys, KeypadDecimalTypesTheLocaleSeparator)
{
    const char oldDecimal = rtl::FormatSettings().DecimalSeparator, oldThousand = rtl::FormatSettings().ThousandSeparator;
    rtl::FormatSettings().DecimalSeparator = ',';
    rtl::FormatSettings().ThousandSeparator = '.';
    {
        Typing t;
        t.e->SetAllowNumericNullValue(true);
        t.e->SetEditType(TExEditType::etFloat);
        t.e->SetPrecision(2);
        t.e->SetExcelStyleDecimalSeparator(true);
        t.Set("");
        t.Type("3");
        // The keypad's "." carries the keypad flag in its key data.
        t.Key(VK_DECIMAL);
        t.Type("5");
        EXPECT_EQ(t.e->Text(), "3,5");
    }
    rtl::FormatSettings().DecimalSeparator = oldDecimal;
    rtl::FormatSettings().ThousandSeparator = oldThousand;
}
