#include "app/FloatEdit.h"

#include "platform/gui/Dialogs.h"
#include "platform/rtl/Strings.h"

namespace app {

TFloatEdit::TFloatEdit(rtl::TComponent* owner) : gui::TEdit(owner) {}

long double TFloatEdit::Value()
{
    CommitText();
    return FValue;
}

void TFloatEdit::SetValue(long double value)
{
    FValue = value;
    ShowValue();
}

void TFloatEdit::ShowValue() { SetText(rtl::FloatToStrF(FValue, rtl::TFloatFormat::ffFixed, 20, FDigits)); }

void TFloatEdit::CommitText()
{
    const std::string text = Text();
    long double number = 0;
    if (!rtl::TryStrToFloat(text, number)) {
        if (CanFocus()) SetFocus();
        gui::ShowMessage("'" + text + "' is not a numerical value.\r\nThe value was not changed.");
    } else if (number > FMaxValue || number < FMinValue) {
        gui::ShowMessage("The value is out of range (" + rtl::FloatToStr(FMinValue) + " .. " + rtl::FloatToStr(FMaxValue) +
                         ").");
    } else {
        FValue = number;
    }
    ShowValue();
}

void TFloatEdit::DoExit()
{
    gui::TEdit::DoExit();
    CommitText();
}

} // namespace app
