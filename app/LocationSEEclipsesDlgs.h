// TLocationSEEclipsesDlg: the solar eclipses seen from one location, from a
// catalogue position on (see TLocationEclipsesDlg for the shared form and
// the rules of use).
#pragma once

#include "app/LocationEclipsesDlgs.h"
#include "app/MapTypes.h"
#include "compute/BesselSE.h"

namespace app {

class TLocationSEEclipsesDlg : public TLocationEclipsesDlg {
public:
    explicit TLocationSEEclipsesDlg(rtl::TComponent* owner);
    compute::TSolarEclipse SE;

protected:
    std::string Title() const override { return "Solar Eclipses"; }
    void PrepareGrid() override;
    bool ReadAndSolve() override;
    void FillRow(int r, int z) override;
    int32_t CurrentCatNo() const override { return SE.CatNo(); }
    long double CurrentJD() const override { return SE.JDE(); }
    std::string Notice() const override { return SolarNotices; }

private:
    compute::TSELocalCircumstances FLC;
};

} // namespace app
