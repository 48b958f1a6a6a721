// TCreateLocationListLEDlg: the criteria for a location list of the current
// lunar eclipse: which part of the eclipse must be visible (six radio
// buttons, each a set of visibility classes) and a check box.
// Rule: set EclipseType ("T", "P" or "N") first: it enables the buttons that
// make sense for that type.
//   TCreateLocationListLEDlg dlg(nullptr);
//   dlg.SetEclipseType("P");
//   if (dlg.ShowModal() == gui::mrOk) zones = dlg.Zones();
#pragma once

#include <set>
#include <string>

#include "htmltext/htmlbuttons.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace controls {
// Declared only: the group box's header and the panel's both define a
// controls::TCaptionPosition, so the two cannot meet in one unit.
class TExGroupBox;
}

namespace app {

// Accepted visibility classes of a lunar eclipse at a place.
using TZones = std::set<int>;

class TCreateLocationListLEDlg : public gui::TForm {
public:
    explicit TCreateLocationListLEDlg(rtl::TComponent* owner);
    gui::TCheckBox* CBOnlyLocationsInMap;
    controls::TExGroupBox* GB;
    htmltext::THTMLRadioButton* RB[6];
    gui::TButton *OKBtn, *CancelBtn;

    // The classes each radio button stands for, by its Tag.
    static TZones ZonesOfButton(int tag);

    bool LocationsInMapOnly() const { return FLocationsInMapOnly; }
    void SetLocationsInMapOnly(bool value);
    const TZones& Zones() const { return FZones; }
    void SetZones(const TZones& value) { FZones = value; }
    const std::string& EclipseType() const { return FEclipseType; }
    void SetEclipseType(const std::string& value);
    void RBClick(int tag);

private:
    bool FLocationsInMapOnly = false;
    TZones FZones{6};
    std::string FEclipseType;
};

} // namespace app
