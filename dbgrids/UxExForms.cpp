#include "dbgrids/UxExForms.h"

namespace dbgrids {

using namespace gui;

void TUxExForm::WndProc(TMessage& m)
{
    if (m.Msg == CM_SHOWINGCHANGED && m.WParam != 0) {
        Perform(WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    } else if (m.Msg == CM_DIALOGKEY) {
        uint16_t key = static_cast<uint16_t>(m.WParam & 0xFFFF);
        if (key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN))
            Perform(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        else if (key == VK_MENU)
            Perform(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    }
    TUxExtended::WndProc(m);
}

void TUxForm::ShowNoActivate(bool callActivate)
{
    if (callActivate) Activate();
    TCustomForm::ShowNoActivate();
}

TModalResult TUxForm::ShowModal()
{
    DispatchPostedEnableMessages();
    return TUxExForm::ShowModal();
}

void TUxForm::WndProc(TMessage& m)
{
    if (m.Msg == WM_MOUSEACTIVATE && !FIsFocusable) {
        m.Result = MA_NOACTIVATE;
        return;
    }
    TUxExForm::WndProc(m);
}

} // namespace dbgrids
