// TCreateLocationListSEDlg: the criteria for a location list of the current
// solar eclipse: the limiting magnitude and two check boxes.
// Rule: set MaxMagnitude (the eclipse's greatest magnitude) before showing;
// OK with a limit above it is refused and the dialog stays open.
//   TCreateLocationListSEDlg dlg(nullptr);
//   dlg.SetMaxMagnitude(0.63); dlg.SetMagnitude(0.5);
//   if (dlg.ShowModal() == gui::mrOk) limit = dlg.Magnitude();
#pragma once

#include "app/FloatEdit.h"
#include "htmltext/htmlbuttons.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

class TCreateLocationListSEDlg : public gui::TForm {
public:
    explicit TCreateLocationListSEDlg(rtl::TComponent* owner);
    gui::TLabel *Label1, *LInfo;
    TFloatEdit* EMagLimit;
    htmltext::THTMLCheckBox *CBMaximumVisible, *CBOnlyLocationsInMap;
    gui::TButton *OKBtn, *CancelBtn;

    double Magnitude() const { return FMagnitude; }
    void SetMagnitude(double value);
    // At 1 or more no limit is shown and any limit up to 2 is taken.
    double MaxMagnitude() const { return FMaxMagnitude; }
    void SetMaxMagnitude(double value);
    bool MaximumVisible() const { return FMaximumVisible; }
    void SetMaximumVisible(bool value);
    bool LocationsInMapOnly() const { return FLocationsInMapOnly; }
    void SetLocationsInMapOnly(bool value);
    void OKBtnClick();

private:
    double FMagnitude = 0.8;
    double FMaxMagnitude = 2.0;
    bool FLocationsInMapOnly = false;
    bool FMaximumVisible = false;
};

} // namespace app
