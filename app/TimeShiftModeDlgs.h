// TTimeShiftModeDlg: chooses the time scale of the location table.
// Rule: the mode is the item index: 0 no time shift, 1 mean local time,
// 2 standard time zone (tsmNone, tsmMLT, tsmSTZ).
//   TTimeShiftModeDlg dlg(nullptr);
//   dlg.SetTimeShiftMode(form->TimeShiftMode());
//   if (dlg.ShowModal() == gui::mrOk) form->SetTimeShiftMode(dlg.TimeShiftMode());
#pragma once

#include <cstdint>

#include "controls/ExCombo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

class TTimeShiftModeDlg : public gui::TForm {
public:
    explicit TTimeShiftModeDlg(rtl::TComponent* owner);
    controls::TExComboBox* CBTimeShiftMode;
    gui::TButton *OKBtn, *CancelBtn;
    int32_t TimeShiftMode() const { return FTimeShiftMode; }
    // Stores the mode and selects its item.
    void SetTimeShiftMode(int32_t value);
    void CBTimeShiftModeChange();

private:
    int32_t FTimeShiftMode = 0;
};

} // namespace app
