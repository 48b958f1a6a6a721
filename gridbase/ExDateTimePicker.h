// ExDateTimePicker: the grid's date-time picker.  TExDateTimePicker shows a
// date, a time, or both: for both it places a second picker of time kind
// (the companion) at its right end, so the date is edited in the picker and
// the time in the companion.  TCustomDateTimePicker adds the flat one-pixel
// border drawn while Ctl3D is off.
//
// The rule a caller must know: for dkDateTime the time lives in the
// companion; DateTime reads both and drops milliseconds when written.
//
//   auto* p = new gridbase::TExDateTimePicker(form);
//   p->SetParent(form);
//   p->SetKind(gridbase::TExDateTimeKind::dkDateTime);
//   p->SetDateTime(rtl::EncodeDate(2026, 12, 11) + rtl::EncodeTime(10, 30, 0, 0));
#pragma once

#include <string>

#include "platform/gui/DateTimePicker.h"
#include "platform/gui/ExtCtrls.h"

namespace gridbase {

enum class TExDateTimeKind { dkDate, dkTime, dkDateTime };

class TCustomDateTimePicker : public gui::TDateTimePicker {
public:
    explicit TCustomDateTimePicker(rtl::TComponent* owner);

    gui::TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(gui::TBorderStyle v);
    gui::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(gui::TColor v);
    // The text width of a single line in the picker's font.
    int MeasureText(const std::string& text);

    void Dispatch(gui::TMessage& m) override;

protected:
    void DrawBorder(gui::TCanvas* c);

    gui::TBorderStyle FBorderStyle = gui::TBorderStyle::bsNone;
    gui::TColor FBorderColor = gui::clBlack;
    bool FIsThemed;
};

class TExDateTimePicker : public TCustomDateTimePicker {
public:
    explicit TExDateTimePicker(rtl::TComponent* owner);
    ~TExDateTimePicker() override;

    TExDateTimeKind Kind() const { return FKind; }
    void SetKind(TExDateTimeKind v);
    // The date with the companion's time.
    rtl::TDateTime GetDateTime();
    // Milliseconds dropped; the companion is made when missing.
    virtual void SetDateTime(rtl::TDateTime v);
    rtl::TDateTime Time() const;
    void SetTime(rtl::TDateTime v);
    const std::string& TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const std::string& v);
    void SetBorderStyle(gui::TBorderStyle v) override;

    uint32_t GetVersionNr() const { return 0x01000100; }
    std::string Version() const;
    void SetVersion(const std::string&) {}

    // The companion, or nullptr.
    TCustomDateTimePicker* TimePicker() const { return FTimePicker; }
    gui::TTimer* FocusTimer() const { return FFocusTimer; }

    rtl::TNotifyEvent OnTimeChange;

    virtual void FireChange();
    virtual void FireClick();
    virtual void TimeKeyPress(rtl::TObject* sender, char16_t& key) {}

    void Dispatch(gui::TMessage& m) override;
    void Loaded() override;

private:
    void CreateTimePicker();
    void UpdateTimePicker();
    void FocusTimerTick();

    TExDateTimeKind FKind = TExDateTimeKind::dkDateTime;
    TCustomDateTimePicker* FTimePicker = nullptr;
    std::string FTimeFormat;
    gui::TTimer* FFocusTimer = nullptr;
    gui::TPoint Fpt;
    rtl::TDateTime FNotifiedDay = 0;  // day of the last change notified
};

} // namespace gridbase
