// TAddLocationDlg: edits one location's name, country, coordinates and
// standard time zone.
// Rule: the dialog works on its own copy; the caller hands a location in
// with SetLocation and, after OK, takes Location() over with Assign.
//   TAddLocationDlg dlg(nullptr);
//   dlg.SetCaption("Edit location");
//   dlg.SetLocation(place);
//   if (dlg.ShowModal() == gui::mrOk) place->Assign(dlg.Location());
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/ObserverDataLists.h"
#include "controls/ExCombo.h"
#include "controls/ExEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

// "+1:00", "-3:30", "+0:00": sign, whole hours, ":" and two-digit minutes
// of a zone offset in seconds (seconds dropped).
std::string FormatTimeZone(int32_t seconds);

class TAddLocationDlg : public gui::TForm {
public:
    explicit TAddLocationDlg(rtl::TComponent* owner);

    controls::TExEdit *ELocation, *ELongitude, *ELatitude;
    controls::TExComboBox *CBTimeShift, *CBCountry;
    gui::TButton *OKBtn, *CancelBtn;

    TObserverData* Location() const { return FLocation.get(); }
    // Copies value and shows it.
    void SetLocation(const TObserverData* value);

    // Each takes its field's text when it parses (else the old value
    // stays) and shows the stored value again.
    void ELongitudeExit();
    void ELatitudeExit();
    void CBTimeShiftExit();
    // Takes every field, the place as "Name (Country)" or the name alone.
    void OKBtnClick();

private:
    std::unique_ptr<TObserverData> FLocation;
};

// Asks for a new location in the add dialog ("Add location to list"),
// starting from an empty place at 0°, 0°; nullptr when the user cancels.
std::unique_ptr<TObserverData> AskNewLocation();

} // namespace app
