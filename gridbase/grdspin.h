// grdspin: the spin cell editor TGrdSpinEdit (an edit holding an integer,
// a decimal number, a date or a time of day, stepped by arrows, keys and a
// held mouse button) and its arrow strip TGrdSpinButton, whose arrows
// (TExTimerSpeedButton) repeat their click while held: first 400 ms after
// the press, then every 100 ms.
//
// The rules a caller must know:
//  - The text is the value: Value, FloatValue, DateValue and TimeValue each
//    read the text and write it back; a text that does not read gives
//    MinValue, MinFloatValue, MinDateValue or 0 (time).
//  - Bounds clamp only when minimum and maximum differ.
//  - Dates and times step the field under the caret (day, month or year;
//    hour, minute or second) in the order of the locale's formats.
//
//   auto* spin = new gridbase::TGrdSpinEdit(form);
//   spin->SetParent(form);
//   spin->SetSpinType(gridbase::TGrdSpinType::sptFloat);
//   spin->SetPrecision(2);
//   spin->SetFloatValue(1.25);      // shows "1.25"; Up makes it 1.35
#pragma once

#include <memory>

#include "platform/gui/Buttons.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Mask.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Set.h"

namespace gridbase {

enum class TGrdSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum class TSpinDirection { spVertical, spHorizontal };
enum class TEditAlign { eaLeft, eaRight, eaCenter };
enum class TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum class TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = rtl::Set<TTimeBtnStateItem, 8>;

// The spin arrows' glyphs: a black triangle on olive (the transparent
// colour), 9 x 6 pixels.
std::unique_ptr<gui::TBitmap> MakeSpinGlyph(bool up);

// One arrow of the strip: a speed button that repeats its click while held.
class TExTimerSpeedButton : public gui::TSpeedButton {
public:
    explicit TExTimerSpeedButton(rtl::TComponent* owner);
    ~TExTimerSpeedButton() override;

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState v) { FTimeBtnState = v; }
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool HasMouse() const { return FHasMouse; }
    // The repeat timer, nullptr before the first press.
    gui::TTimer* RepeatTimer() const { return FRepeatTimer; }

    void Dispatch(gui::TMessage& m) override;

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

private:
    void TimerExpired();

    gui::TTimer* FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = TButtonDirection::bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
};

// Two arrows above each other (or side by side) reporting OnUpClick and
// OnDownClick and giving the focus to FocusControl when pressed.
class TGrdSpinButton : public gui::TWinControl {
public:
    explicit TGrdSpinButton(rtl::TComponent* owner);
    ~TGrdSpinButton() override;

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection v);
    gui::TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(gui::TWinControl* v);
    // nullptr (or an empty bitmap) loads the default glyph.
    gui::TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(const gui::TBitmap* v);
    gui::TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(const gui::TBitmap* v);
    int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(int v) { FUpButton->SetNumGlyphs(v); }
    int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(int v) { FDownButton->SetNumGlyphs(v); }
    void SetIsWinXP(bool v);
    bool IsWinXP() const { return FIsWinXP; }

    TExTimerSpeedButton* UpButton() const { return FUpButton; }
    TExTimerSpeedButton* DownButton() const { return FDownButton; }
    TExTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

    rtl::TNotifyEvent OnUpClick;
    rtl::TNotifyEvent OnDownClick;

    void SetBounds(int left, int top, int width, int height) override;
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void Dispatch(gui::TMessage& m) override;
    void Loaded() override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    TExTimerSpeedButton* CreateButton();
    void LayoutButtons(int& width, int& height);
    void BtnClick(rtl::TObject* sender);
    void BtnMouseDown(rtl::TObject* sender, gui::TMouseButton button);
    void SetFocusBtn(TExTimerSpeedButton* btn);

    TExTimerSpeedButton* FUpButton = nullptr;
    TExTimerSpeedButton* FDownButton = nullptr;
    TExTimerSpeedButton* FFocusedButton = nullptr;
    gui::TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = TSpinDirection::spVertical;
    bool FIsWinXP = false;
};

// The spin cell editor.
class TGrdSpinEdit : public gui::TCustomMaskEdit {
public:
    explicit TGrdSpinEdit(rtl::TComponent* owner);
    ~TGrdSpinEdit() override;

    TGrdSpinType SpinType() const { return FSpinType; }
    // Re-shows the value read in the new kind.
    void SetSpinType(TGrdSpinType v);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int v) { FMinValue = v; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int v) { FMaxValue = v; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double v) { FMinFloatValue = v; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double v) { FMaxFloatValue = v; }
    rtl::TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(rtl::TDateTime v) { FMinDateValue = v; }
    rtl::TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(rtl::TDateTime v) { FMaxDateValue = v; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int v) { FIncrement = v; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double v) { FIncrementFloat = v; }
    int Precision() const { return FPrecision; }
    void SetPrecision(int v);

    int Value();
    void SetValue(int v);
    double FloatValue();
    void SetFloatValue(double v);
    // Text "0" or empty reads as now.
    rtl::TDateTime DateValue();
    void SetDateValue(rtl::TDateTime v);
    rtl::TDateTime TimeValue();
    void SetTimeValue(rtl::TDateTime v);

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection v);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign v);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool v);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool v);
    void SetIsWinXP(bool v);

    TGrdSpinButton* Button() const { return FButton; }

    virtual void StepUp(bool page);
    virtual void StepDown(bool page);
    virtual bool AcceptsChar(char16_t& key);
    virtual void UpButtonClick(rtl::TObject* sender);
    virtual void DownButtonClick(rtl::TObject* sender);

    // The smallest height that shows the font.
    int GetMinHeight();
    // The formatting rectangle that keeps text off the arrows.
    void SetEditRect();

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void Dispatch(gui::TMessage& m) override;
    void Loaded() override;
    void GetChildren(const std::function<void(rtl::TComponent*)>& proc, rtl::TComponent* root) override;

private:
    int CheckValue(int v) const;
    double CheckFloatValue(double v) const;
    rtl::TDateTime CheckDateValue(rtl::TDateTime v) const;
    bool Loading() const;
    void StepDate(int delta);
    void StepTime(bool up);
    void Resized();

    TGrdSpinButton* FButton = nullptr;
    TGrdSpinType FSpinType = TGrdSpinType::sptNormal;
    int FMinValue = 0;
    int FMaxValue = 100;
    double FMinFloatValue = 0.0;
    double FMaxFloatValue = 100.0;
    rtl::TDateTime FMinDateValue = 0;
    rtl::TDateTime FMaxDateValue = 0;
    rtl::TDateTime FDateValue = 0;
    rtl::TDateTime FTimeValue = 0;
    int FIncrement = 1;
    double FIncrementFloat = 0.1;
    int FPrecision = 0;
    bool FEditorEnabled = true;
    TSpinDirection FDirection = TSpinDirection::spVertical;
    TEditAlign FEditAlign = TEditAlign::eaLeft;
    bool FReturnIsTab = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FIsWinXP = false;
    bool FUsDates = false;
};

} // namespace gridbase
