// TLocationLEEclipsesDlg: the lunar eclipses seen from one location, from a
// catalogue position on; penumbral ones only with IncludePenumbral (see
// TLocationEclipsesDlg for the shared form and the rules of use).
#pragma once

#include "app/LocationEclipsesDlgs.h"
#include "app/MapTypes.h"
#include "compute/LunarEclipses.h"
#include "htmltext/htmlbuttons.h"

namespace app {

class TLocationLEEclipsesDlg : public TLocationEclipsesDlg {
public:
    explicit TLocationLEEclipsesDlg(rtl::TComponent* owner);
    compute::TLunarEclipse LE;
    htmltext::THTMLCheckBox* CBIncludePenumbral;

    bool IncludePenumbral() const { return FIncludePenumbral; }
    void SetIncludePenumbral(bool value);
    // The check box: stores its state, then searches again from the start
    // year (not from where the last search ended).
    void CBIncludePenumbralClick();

protected:
    std::string Title() const override { return "Lunar Eclipses"; }
    void PrepareGrid() override;
    bool ReadAndSolve() override;
    void FillRow(int r, int z) override;
    int32_t CurrentCatNo() const override { return LE.CatNo(); }
    long double CurrentJD() const override { return LE.JD(); }
    std::string Notice() const override { return LunarNotices; }

private:
    compute::TLELocalCircumstances FLC;
    bool FIncludePenumbral = false;
};

} // namespace app
