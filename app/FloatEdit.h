// TFloatEdit: a one-line edit for a real number within a range, shown with a
// fixed number of decimals.
// Rule: any text may be typed; it becomes the value only when the edit loses
// the focus or Value is read, and a bad text shows a message and is replaced
// by the previous value.
//   auto* e = new TFloatEdit(form);
//   e->SetMinValue(0.01); e->SetMaxValue(1.0); e->SetDigits(3);
//   e->SetValue(0.5);            // text "0.500"
//   double v = e->Value();       // commits what was typed
#pragma once

#include "platform/gui/StdCtrls.h"

namespace app {

class TFloatEdit : public gui::TEdit {
public:
    explicit TFloatEdit(rtl::TComponent* owner);

    // Commits the text first (may show a message), then the stored value.
    long double Value();
    // Stored as given, without a range check; the text shows it.
    void SetValue(long double value);
    long double MinValue() const { return FMinValue; }
    void SetMinValue(long double v) { FMinValue = v; }
    long double MaxValue() const { return FMaxValue; }
    void SetMaxValue(long double v) { FMaxValue = v; }
    int Digits() const { return FDigits; }
    void SetDigits(int v) { FDigits = v; }

    // Turns the text into the value when it is a number within the range,
    // else tells the user; the text then shows the value kept.
    void CommitText();

protected:
    void DoExit() override;

private:
    void ShowValue();
    long double FValue = 0;
    long double FMinValue = 0;
    long double FMaxValue = 1e99L;
    int FDigits = 3;
};

} // namespace app
