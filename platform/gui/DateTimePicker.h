// The date and time picker: a control that shows a date or a time of day in
// a display format, edited field by field with the keyboard (Left / Right
// choose the field, Up / Down step it, digits type it), with an optional
// check box in front and, for dates, a month popup opened by the button at
// the right end (or Alt+Down / F4); times get up and down arrows there.
//
// The rule a caller must know: every change by the user sends the control
// CN_NOTIFY with DTN_DATETIMECHANGE (LParam: a TNMDateTime) before
// OnChange; opening and closing the popup send DTN_DROPDOWN and DTN_CLOSEUP
// before OnDropDown and OnCloseUp.  Descendants see them in Dispatch.
//
//   auto* p = new gui::TDateTimePicker(form);
//   p->SetParent(form);
//   p->SetFormat("dd/MM/yyyy");
//   p->SetDateTime(rtl::EncodeDate(2026, 12, 11));
#pragma once

#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/rtl/DateTime.h"

namespace gui {

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };

// The notification record of CN_NOTIFY from the picker.
struct TNMDateTime {
    HWND hwndFrom = 0;
    int code = 0;             // DTN_DATETIMECHANGE, DTN_DROPDOWN, DTN_CLOSEUP
    bool valid = true;        // false: the check box was cleared
    rtl::TDateTime value = 0;
};

class TMonthPopup;

class TDateTimePicker : public TCustomControl {
public:
    explicit TDateTimePicker(rtl::TComponent* owner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind v);
    rtl::TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(rtl::TDateTime v);
    // The whole-day part; setting it keeps the time.
    rtl::TDateTime Date() const;
    void SetDate(rtl::TDateTime v);
    // The time of day; setting it keeps the date.
    rtl::TDateTime Time() const;
    void SetTime(rtl::TDateTime v);
    // Display format ("dd/MM/yyyy", "HH:mm:ss", quoted text in ''); empty:
    // the locale's short date or long time format.
    const std::string& Format() const { return FFormat; }
    void SetFormat(const std::string& v);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode v);

    // The text shown and the field the keys edit (0-based among the fields).
    std::string DisplayText() const;
    int FieldCount() const;
    int FieldIndex() const { return FField; }
    void SetFieldIndex(int v);

    bool DroppedDown() const { return FPopup != nullptr; }
    // The month popup of a date picker, and its closing with a day chosen
    // (0: none).
    void DropDown();
    void CloseUp(rtl::TDateTime chosen = 0);
    TMonthPopup* MonthPopup() const { return FPopup; }

    rtl::TNotifyEvent OnChange;
    rtl::TNotifyEvent OnDropDown;
    rtl::TNotifyEvent OnCloseUp;

    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual void Change();
    // The area of the check box, the text and the button.
    TRect CheckboxRect() const;
    TRect ButtonRect() const;

private:
    struct Segment {
        char kind;          // 0 literal, 'd', 'M', 'y', 'H', 'h', 'm', 's', 't'
        std::string token;  // "dd", "MMM", or the literal text
    };
    std::vector<Segment> Segments() const;
    std::string SegmentText(const Segment& s) const;
    int SegmentOfField(int field) const;
    void StepField(int delta);
    void TypeDigit(int digit);
    void UserChanged(rtl::TDateTime v);
    void Notify(int code);

    TDateTimeKind FKind = TDateTimeKind::dtkDate;
    rtl::TDateTime FDateTime = 0;
    std::string FFormat;
    bool FShowCheckbox = false;
    bool FChecked = true;
    TDTDateMode FDateMode = TDTDateMode::dmComboBox;
    int FField = 0;
    int FTyped = -1;  // digits typed into the current field so far
    TMonthPopup* FPopup = nullptr;
    TMonthPopup* FClosedPopup = nullptr;
};

// The month shown under a date picker: one click on a day chooses it.
class TMonthPopup : public TCustomControl {
public:
    TMonthPopup(TDateTimePicker* picker, rtl::TDateTime date);
    int Year() const { return FYear; }
    int Month() const { return FMonth; }
    // Shows the previous or next month.
    void ShowMonth(int delta);
    // The client rectangle of a day of the month shown.
    TRect DayRect(int day) const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TDateTimePicker* FPicker;
    int FYear, FMonth;
};

} // namespace gui
