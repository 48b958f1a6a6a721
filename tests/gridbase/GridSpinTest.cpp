// The spin cell editor and its arrow strip on a test form: steps by value
// kind and caret field under day-first and month-first dates, the typed
// character filter, the editor switched off and read-only, and the arrows'
// repeat timing on the manual clock, layout, glyphs and faces.
#include <gtest/gtest.h>

#include "TestFormatSettings.h"
#include "gridbase/grdspin.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Themes.h"

using namespace gridbase;
using namespace gui;

namespace {

struct SpinFixture : testing::Test {
    ScopedFormatSettings Saved;
    TForm Form{nullptr};
    TGrdSpinEdit* Spin;
    int Beeps = 0;
    SpinFixture()
    {
        rtl::FormatSettings().DateSeparator = '/';
        rtl::FormatSettings().TimeSeparator = ':';
        rtl::FormatSettings().LongTimeFormat = "hh:nn:ss";
        SetMessageBeepHandler([this](uint32_t) { ++Beeps; });
        Form.SetBounds(0, 0, 300, 200);
        Spin = new TGrdSpinEdit(&Form);
        Spin->SetParent(&Form);
        Spin->SetBounds(10, 10, 120, 24);
        Form.Show();
        Spin->SetFocus();
        Application->ProcessMessages();
    }
    ~SpinFixture() override { SetMessageBeepHandler(nullptr); }
    void Caret(int at)
    {
        Spin->SetSelStart(at);
        Spin->SetSelLength(0);
    }
    void Key(uint16_t vk) { sim::KeyDown(vk, {}, Spin); }
};

} // namespace

TEST_F(SpinFixture, DateStepsTheFieldUnderTheCaret)
{
    struct Case {
        const char* format;
        const char* start;
        int caret;
        const char* up;
    };
    const Case cases[] = {
        {"dd/mm/yyyy", "15/03/2024", 0, "16/03/2024"},  {"dd/mm/yyyy", "15/03/2024", 4, "15/04/2024"},
        {"dd/mm/yyyy", "15/03/2024", 8, "15/03/2025"},  {"mm/dd/yyyy", "03/15/2024", 0, "04/15/2024"},
        {"mm/dd/yyyy", "03/15/2024", 4, "03/16/2024"},  {"mm/dd/yyyy", "03/15/2024", 8, "03/15/2025"},
        {"dd/mm/yyyy", "31/01/2024", 4, "29/02/2024"},  {"dd/mm/yyyy", "31/12/2024", 0, "01/01/2025"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.start + " @" + std::to_string(c.caret));
        rtl::FormatSettings().ShortDateFormat = c.format;
        Spin->SetSpinType(TGrdSpinType::sptDate);
        Spin->SetText(c.start);
        Caret(c.caret);
        Key(VK_UP);
        EXPECT_EQ(Spin->Text(), c.up);
        EXPECT_EQ(Spin->SelStart(), c.caret);  // the caret stays in its field
    }
}

TEST_F(SpinFixture, TimeNumberAndFloatSteps)
{
    Spin->SetSpinType(TGrdSpinType::sptTime);
    Spin->SetText("00:00:30");
    Caret(4);  // minutes
    Key(VK_DOWN);
    EXPECT_EQ(Spin->Text(), "23:59:30");
    Caret(1);  // hours
    Key(VK_UP);
    EXPECT_EQ(Spin->Text(), "00:59:30");
    Caret(7);  // seconds
    Key(VK_UP);
    EXPECT_EQ(Spin->Text(), "00:59:31");

    Spin->SetSpinType(TGrdSpinType::sptNormal);
    Spin->SetIncrement(5);
    Spin->SetValue(10);
    Key(VK_PRIOR);  // a page is one increment for integers
    EXPECT_EQ(Spin->Value(), 15);
    Spin->SetValue(150);
    EXPECT_EQ(Spin->Text(), "100");  // clamped to 0..100
    Spin->SetMaxValue(0);           // equal bounds: no clamping
    Spin->SetValue(150);
    EXPECT_EQ(Spin->Text(), "150");

    rtl::FormatSettings().DecimalSeparator = ',';
    Spin->SetSpinType(TGrdSpinType::sptFloat);
    Spin->SetPrecision(2);
    Spin->SetFloatValue(1.25);
    EXPECT_EQ(Spin->Text(), "1,25");
    Key(VK_UP);
    EXPECT_EQ(Spin->Text(), "1,35");
    Key(VK_PRIOR);
    EXPECT_EQ(Spin->Text(), "2,35");
    Key(VK_NEXT);
    Key(VK_DOWN);
    EXPECT_EQ(Spin->Text(), "1,25");
}

TEST_F(SpinFixture, FallbacksTodayAndTheLeapDay)
{
    rtl::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    auto* fresh = new TGrdSpinEdit(&Form);
    fresh->SetParent(&Form);
    fresh->SetSpinType(TGrdSpinType::sptDate);
    EXPECT_EQ(fresh->Text(), rtl::DateToStr(rtl::Date()));

    Spin->SetMinValue(7);
    Spin->SetText("abc");
    EXPECT_EQ(Spin->Value(), 7);
    Spin->SetMinFloatValue(2.5);
    Spin->SetText("");
    EXPECT_EQ(Spin->FloatValue(), 2.5);
    EXPECT_EQ(Spin->TimeValue(), 0.0);

    Spin->SetSpinType(TGrdSpinType::sptDate);
    Spin->SetText("29/02/2024");
    Caret(8);
    EXPECT_THROW(Spin->StepUp(false), rtl::Exception);
    EXPECT_EQ(Spin->Text(), "29/02/2024");
    EXPECT_EQ(Spin->DateValue(), rtl::EncodeDate(2024, 2, 29));
}

TEST_F(SpinFixture, CharacterFilter)
{
    rtl::FormatSettings().DecimalSeparator = ',';
    rtl::FormatSettings().ThousandSeparator = '.';
    struct Case {
        TGrdSpinType type;
        const char* text;
        int selStart, selLength;
        char16_t key;
        bool accepted;
    };
    const Case cases[] = {
        {TGrdSpinType::sptNormal, "12", 2, 0, u'7', true},
        {TGrdSpinType::sptNormal, "12", 2, 0, u'a', false},
        {TGrdSpinType::sptNormal, "12", 2, 0, u',', false},   // accepted first, refused for integers
        {TGrdSpinType::sptNormal, "12", 0, 0, u'-', true},
        {TGrdSpinType::sptNormal, "12", 1, 0, u'-', false},   // not at the start
        {TGrdSpinType::sptNormal, "-12", 0, 0, u'-', false},  // a second "-"
        {TGrdSpinType::sptNormal, "-12", 0, 1, u'-', true},   // over the selected "-"
        {TGrdSpinType::sptNormal, "12", 2, 0, 3, false},      // control keys too
        {TGrdSpinType::sptFloat, "1,25", 4, 0, u'3', false},  // past the precision
        {TGrdSpinType::sptFloat, "1,25", 1, 0, u'3', true},   // before the separator
        {TGrdSpinType::sptFloat, "1,25", 4, 0, u',', false},  // a second separator
        {TGrdSpinType::sptFloat, "1,25", 1, 2, u',', true},   // over the selected one
        {TGrdSpinType::sptFloat, "1,25", 2, 0, u'.', false},  // thousands separator
        {TGrdSpinType::sptFloat, "1,25", 4, 0, 8, true},      // Backspace
        {TGrdSpinType::sptTime, "10:20:30", 8, 0, u':', false},
        {TGrdSpinType::sptTime, "10:20", 5, 0, u':', true},
        {TGrdSpinType::sptTime, "10:20", 5, 0, u'/', false},
        {TGrdSpinType::sptDate, "1/2", 3, 0, u'/', true},
        {TGrdSpinType::sptDate, "1/2", 3, 0, u':', false},
    };
    Spin->SetPrecision(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " key " + std::to_string(static_cast<int>(c.key)));
        Spin->SetSpinType(c.type);
        Spin->SetText(c.text);
        Spin->SetSelStart(c.selStart);
        Spin->SetSelLength(c.selLength);
        char16_t key = c.key;
        EXPECT_EQ(Spin->AcceptsChar(key), c.accepted);
    }
    // A refused character typed into the editor is dropped with a beep.
    Spin->SetSpinType(TGrdSpinType::sptFloat);
    Spin->SetText("1,25");
    Caret(4);
    sim::TypeText("9", Spin);
    EXPECT_EQ(Spin->Text(), "1,25");
    EXPECT_EQ(Beeps, 1);
    Caret(0);
    sim::TypeText("9", Spin);
    EXPECT_EQ(Spin->Text(), "91,25");
}

TEST_F(SpinFixture, EditorSwitchedOffAndReadOnly)
{
    Spin->SetValue(42);
    Spin->SetEditorEnabled(false);
    Caret(2);
    sim::TypeText("7", Spin);
    sim::KeyPress(VK_BACK, {}, Spin);
    sim::KeyPress(VK_DELETE, {}, Spin);
    Spin->SelectAll();
    Spin->Perform(WM_CUT);
    Spin->Perform(WM_PASTE);
    EXPECT_EQ(Spin->Text(), "42");
    Key(VK_UP);
    EXPECT_EQ(Spin->Text(), "43");
    Spin->Button()->UpButton()->Click();
    EXPECT_EQ(Spin->Text(), "44");
    Spin->SetValue(10);
    EXPECT_EQ(Spin->SelLength(), 2);  // all selected

    Spin->SetEditorEnabled(true);
    Spin->SetReadOnly(true);
    const int before = Beeps;
    Key(VK_UP);
    Spin->Button()->DownButton()->Click();
    EXPECT_EQ(Spin->Text(), "10");
    EXPECT_EQ(Beeps, before + 2);
}

TEST_F(SpinFixture, ArrowsRepeatWhileHeld)
{
    TTimer::UseManualClock(true);
    int ups = 0;
    TGrdSpinButton strip(nullptr);
    strip.SetParent(&Form);
    strip.SetBounds(200, 10, 15, 30);
    strip.OnUpClick = [&](rtl::TObject* s) {
        EXPECT_EQ(s, &strip);
        ++ups;
    };
    Application->ProcessMessages();
    TExTimerSpeedButton* up = strip.UpButton();
    sim::MouseDown(up, TMouseButton::mbLeft, 5, 5);
    TTimer::AdvanceClock(399);
    EXPECT_EQ(ups, 0);
    TTimer::AdvanceClock(1);
    EXPECT_EQ(ups, 1);
    TTimer::AdvanceClock(99);
    EXPECT_EQ(ups, 1);
    TTimer::AdvanceClock(1);
    EXPECT_EQ(ups, 2);
    TTimer::AdvanceClock(200);
    EXPECT_EQ(ups, 4);
    sim::MouseUp(up, TMouseButton::mbLeft, 5, 5);
    EXPECT_EQ(ups, 5);  // the release's own click
    TTimer::AdvanceClock(1000);
    EXPECT_EQ(ups, 5);
    strip.SetParent(nullptr);
    TTimer::UseManualClock(false);
}

TEST_F(SpinFixture, StripLayoutGlyphsAndFaces)
{
    TGrdSpinButton* strip = Spin->Button();
    strip->SetBounds(0, 0, 15, 17);
    EXPECT_EQ(strip->UpButton()->BoundsRect(), TRect(0, 0, 15, 8));
    EXPECT_EQ(strip->DownButton()->BoundsRect(), TRect(0, 7, 15, 17));
    strip->SetBounds(0, 0, 10, 17);
    EXPECT_EQ(strip->Width(), 15);

    int ups = 0, downs = 0;
    Spin->SetDirection(TSpinDirection::spHorizontal);
    strip->OnUpClick = [&](rtl::TObject*) { ++ups; };
    strip->OnDownClick = [&](rtl::TObject*) { ++downs; };
    EXPECT_GE(strip->Width(), 20);
    EXPECT_EQ(strip->DownButton()->Left(), 0);  // the left half steps down
    EXPECT_GT(strip->UpButton()->Left(), strip->DownButton()->Left());
    EXPECT_EQ(strip->UpButton()->ButtonDirection(), TButtonDirection::bdRight);
    strip->DownButton()->Click();
    strip->UpButton()->Click();
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    Spin->SetDirection(TSpinDirection::spVertical);

    TBitmap mine(4, 4);
    strip->SetDownGlyph(&mine);
    EXPECT_EQ(strip->DownGlyph()->Width(), 4);
    strip->SetDownNumGlyphs(2);
    strip->SetDownGlyph(nullptr);
    EXPECT_EQ(strip->DownGlyph()->Width(), 9);
    EXPECT_EQ(strip->DownGlyph()->Height(), 6);
    EXPECT_EQ(strip->DownNumGlyphs(), 1);
    EXPECT_EQ(ColorToRGB(strip->DownGlyph()->Canvas()->Pixels(4, 4)), 0x000000u);  // the tip, pointing down
    EXPECT_EQ(ColorToRGB(strip->UpGlyph()->Canvas()->Pixels(4, 1)), 0x000000u);
    EXPECT_EQ(ColorToRGB(strip->UpGlyph()->Canvas()->Pixels(0, 5)), RGB(128, 128, 0));

    ResetThemeService();
    strip->SetBounds(0, 0, 15, 17);
    Spin->SetIsWinXP(true);
    auto themed = strip->GetImage();
    Spin->SetIsWinXP(false);
    auto classic = strip->GetImage();
    int differ = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 15; ++x) differ += themed->Canvas()->Pixels(x, y) != classic->Canvas()->Pixels(x, y);
    EXPECT_GT(differ, 10);
}

TEST_F(SpinFixture, ReturnActsAsTab)
{
    auto* next = new TEdit(&Form);
    next->SetParent(&Form);
    next->SetBounds(10, 60, 100, 24);
    Spin->SetFocus();
    Spin->SetReturnIsTab(true);
    sim::KeyDown(VK_RETURN, {}, Spin);
    Application->ProcessMessages();
    EXPECT_TRUE(next->Focused());
    Spin->SetFocus();
    Spin->SetReturnIsTab(false);
    sim::KeyDown(VK_RETURN, {}, Spin);
    Application->ProcessMessages();
    EXPECT_TRUE(Spin->Focused());
}
