// The main window's location editing on the map (right button).
#include <memory>

#include "app/AddLocationDlgs.h"
#include "app/EclipseMap.h"
#include "app/MapView.h"
#include "app/SEMain.h"
#include "compute/AstroMath.h"

namespace app {

using namespace gui;

void TSEMainForm::EditLocationAt(int x, int y)
{
    double lat = 0, lon = 0;
    if (!FEclipseMap->PixelToGeo(x, y, lat, lon)) return;
    TAddLocationDlg dlg(nullptr);
    const int i = FindLocationAt(FEclipseMap->MapData, *FLocationList, x, y);
    TObserverData* location = nullptr;
    if (i >= 0) {
        location = FLocationList->Items(i);
        dlg.SetCaption("Edit location");
        dlg.SetLocation(location);
        if (dlg.ShowModal() != mrOk) return;
        location->Assign(dlg.Location());
    } else {
        auto added = std::make_unique<TObserverData>();
        added->SetGeoLatitude(compute::DegToRadians(lat));
        added->SetGeoLongitude(compute::DegToRadians(lon));
        added->SetGeoElevation(0);
        added->SetStdTimeZone(0);
        added->SetDSTs("");
        compute::TDMS dms;
        std::string lonText, latText;
        compute::RadiansToDMS(dms, added->GeoLongitude());
        compute::LongitudeToText(dms, lonText);
        compute::RadiansToDMS(dms, added->GeoLatitude());
        compute::LatitudeToText(dms, latText);
        added->SetPlace("[" + lonText + ", " + latText + "]");
        dlg.SetCaption("Add location to list");
        dlg.SetLocation(added.get());
        if (dlg.ShowModal() != mrOk) return;
        added->Assign(dlg.Location());
        location = added.get();
        FLocationList->Add(added.release());
    }
    FillLocationTable();
    SetLocationsPanelVisible(true);
    ShowLocation(location->Place());
    InvalidateMap();
    SetModified(true);
}

} // namespace app
