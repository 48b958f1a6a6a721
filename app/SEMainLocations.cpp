// The main window's location commands: adding, editing and deleting
// locations (also with the map's right button), picking them from the
// locations database, building the list of database places that see the
// current eclipse, opening and saving list files, sorting, the table's
// time scale and showing a location on the map.
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/AddLocationDlgs.h"
#include "app/CreateLocationListLEDlgs.h"
#include "app/CreateLocationListSEDlgs.h"
#include "app/EclipseMap.h"
#include "app/LocationLEEclipsesDlgs.h"
#include "app/LocationSEEclipsesDlgs.h"
#include "app/LocationsDlgs.h"
#include "app/MapView.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "app/TimeShiftModeDlgs.h"
#include "compute/AstroMath.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

namespace {

const std::string LocationListFilter = "Location lists (*.loc)|*.loc";

void Inform(const std::string& text) { MessageDlg(text, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}); }

double Degrees(long double radians) { return static_cast<double>(compute::RadiansToDeg(radians)); }

void AddCopy(TObserverDataList& list, const TObserverData& o, int32_t tag)
{
    auto copy = std::make_unique<TObserverData>();
    copy->Assign(&o);
    copy->OnChanged = nullptr;
    copy->Tag = tag;
    list.Add(copy.release());
}

} // namespace

std::string SkippedLocationsMessage(const std::vector<std::string>& places)
{
    const std::size_t n = places.size();
    if (n == 0) return "";
    if (n == 1) return "The location '" + places[0] + "' was not added because it is already in list.";
    if (n > 12) return rtl::IntToStr(static_cast<int>(n)) + " locations were not added because they are already in list.";
    std::string joined;
    for (const std::string& p : places) joined += (joined.empty() ? "" : ", ") + p;
    return "The following locations were not added because they are already in list: \r\n" + joined + ".";
}

// ------------------------------------------------------------ one location

void TSEMainForm::LocationsAdd()
{
    SetLocationsPanelVisible(true);
    auto location = AskNewLocation();
    if (!location) return;
    const std::string place = location->Place();
    FLocationList->Add(location.release());
    FillLocationTable();
    ShowLocation(place);
    InvalidateMap();
    SetModified(true);
    LocationsShowInMap();
}

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

void TSEMainForm::LocationsEdit()
{
    const int i = SelectedLocationIndex();
    if (i < 0) return;
    TObserverData* location = FLocationList->Items(i);
    TAddLocationDlg dlg(nullptr);
    dlg.SetCaption("Edit location");
    dlg.SetLocation(location);
    if (dlg.ShowModal() != mrOk) return;
    location->Assign(dlg.Location());
    FillLocationTable();
    SetLocationsPanelVisible(true);
    InvalidateMap();
    SetModified(true);
}

void TSEMainForm::LocationsDelete()
{
    const int i = SelectedLocationIndex();
    if (i < 0) return;
    FLocationList->FreeAndDelete(i);
    FillLocationTable();
    SetModified(true);
    InvalidateMap();
}

void TSEMainForm::LocationsAddFromDatabase()
{
    SetLocationsPanelVisible(true);
    // The program creates the dialog at start-up; a window built alone
    // creates it on first use.
    if (!LocationsDlg) LocationsDlg = new TLocationsDlg(this);
    if (LocationsDlg->ShowModal() != mrOk || LocationsDlg->LocationList().Count() == 0) return;
    std::vector<std::string> skipped;
    std::string lastAdded;
    bool added = false;
    for (int j = 0; TObserverData* o = LocationsDlg->SelectedLocation(j); ++j) {
        if (FLocationList->FindPlace(o->Place()) >= 0) {
            skipped.push_back(o->Place());
            continue;
        }
        auto copy = std::make_unique<TObserverData>();
        copy->Assign(o);
        copy->OnChanged = nullptr;
        FLocationList->Add(copy.release());
        lastAdded = o->Place();
        added = true;
    }
    if (added) {
        FillLocationTable();
        ShowLocation(lastAdded);
        LocationsShowInMap();
    }
    if (!skipped.empty()) Inform(SkippedLocationsMessage(skipped));
    InvalidateMap();
}

// ------------------------------------------------------------ whole list

void TSEMainForm::LocationsClear()
{
    ClearLocations();
    LocationsPanel->Caption()->SetText(rtl::IntToStr(FLocationList->Count()) + " Locations");
    SetModified(true);
}

void TSEMainForm::LocationsOpenList()
{
    OpenDlg->Title = "Open location list";
    OpenDlg->Filter = LocationListFilter;
    OpenDlg->FilterIndex = 1;
    OpenDlg->DefaultExt = "loc";
    OpenDlg->InitialDir = DocumentsPath;
    OpenDlg->FileName = "";
    if (!OpenDlg->Execute()) return;
    SetLocationsPanelVisible(true);
    // Read and checked aside: a file that fails leaves the list as it was.
    TObserverDataList read;
    try {
        read.ReadFromFile(OpenDlg->FileName);
        CheckLocationCoordinates(read, OpenDlg->FileName);
    } catch (const std::exception& e) {
        ShowError(e.what());
        return;
    }
    FLocationList->Clear();
    FLocationList->SetName(read.Name());
    for (int i = 0; i < read.Count(); ++i) AddCopy(*FLocationList, *read[i], read[i]->Tag);
    FillLocationTable();
    InvalidateMap();
    SetModified(true);
}

void TSEMainForm::LocationsSaveList()
{
    SaveDlg->Title = "Save location list";
    SaveDlg->Filter = LocationListFilter;
    SaveDlg->FilterIndex = 1;
    SaveDlg->DefaultExt = "loc";
    SaveDlg->InitialDir = DocumentsPath;
    SaveDlg->FileName = "";
    if (!SaveDlg->Execute()) return;
    std::string name = SaveDlg->FileName;
    if (std::filesystem::path(name).extension().empty()) name += ".loc";
    try {
        FLocationList->SaveToFile(name);
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

void TSEMainForm::LocationsSort(const std::string& order)
{
    FLocationList->SortList(order);
    FillLocationTable();
}

void TSEMainForm::LocationsTimeShiftMode()
{
    TTimeShiftModeDlg dlg(nullptr);
    dlg.SetTimeShiftMode(FTimeShiftMode);
    if (dlg.ShowModal() != mrOk) return;
    SetTimeShiftMode(dlg.TimeShiftMode());
    SetModified(true);
    FillLocationTable();
}

// ------------------------------------------------------------ the map

void TSEMainForm::CenterViewOn(int x, int y)
{
    const TPoint p = app::CenterViewOn({x, y}, ScrollBox->ClientWidth(), ScrollBox->ClientHeight());
    ScrollBox->HorzScrollBar()->SetPosition(p.X);
    ScrollBox->VertScrollBar()->SetPosition(p.Y);
}

void TSEMainForm::LocationsShowInMap()
{
    FEclipseMap->ClearMarker();
    PaintBox->Invalidate();
    const int i = SelectedLocationIndex();
    if (i < 0) return;
    const TObserverData* o = FLocationList->Items(i);
    int x = 0, y = 0;
    if (!FEclipseMap->GeoToPixel(Degrees(o->GeoLatitude()), Degrees(o->GeoLongitude()), x, y)) return;
    const TMapData& map = FEclipseMap->MapData;
    if (x < 0 || x > map.Width - 1 || y < 0 || y > map.Height - 1) {
        Inform("Location outside map range.");
        return;
    }
    CenterViewOn(x, y);
    FEclipseMap->MarkerPos = {x, y};
    PaintBox->Invalidate();
}

// ------------------------------------------------------------ list for the eclipse

void TSEMainForm::LocationsFind()
{
    if (FLocationList->Count() > 0) {
        const int answer = MessageDlg("Do you wish to save the current location list?", TMsgDlgType::mtCustom,
                                      mbYesNoCancel());
        if (answer != mrYes && answer != mrNo) return;
        if (answer == mrYes) LocationsSaveList();
    }
    const int found = FEventType == etSolarEclipse ? CreateSolarLocationList() : CreateLunarLocationList();
    if (found == 0) Inform("No location was found.");
}

namespace {

// The database read whole before the current list is touched: a database
// that cannot be read is reported and the list stays.
bool ReadLocationsDatabase(TObserverDataList& database, TSEMainForm& form)
{
    try {
        database.ReadFromFile(LocationsFile);
        return true;
    } catch (const std::exception& e) {
        form.ShowError("The locations database could not be read: " + std::string(e.what()));
        return false;
    }
}

bool OnMap(const TEclipseMap& map, const TObserverData& o)
{
    int x = 0, y = 0;
    return map.GeoToPixel(Degrees(o.GeoLatitude()), Degrees(o.GeoLongitude()), x, y) && x >= 0 &&
           x <= map.MapData.Width - 1 && y >= 0 && y <= map.MapData.Height - 1;
}

} // namespace

int TSEMainForm::CreateSolarLocationList()
{
    TCreateLocationListSEDlg dlg(nullptr);
    const std::string& type = SEE.EclipseType();
    const bool central = !type.empty() && (type[0] == 'T' || type[0] == 'A' || type[0] == 'H');
    if (central) {
        dlg.SetMaxMagnitude(2);
        dlg.SetMagnitude(0.9);
    } else {
        const double magnitude = static_cast<double>(SEE.Magnitude());
        dlg.SetMaxMagnitude(magnitude);
        dlg.SetMagnitude(std::nearbyint(magnitude * 0.5 * 10) / 10);
    }
    dlg.SetMaximumVisible(true);
    dlg.SetLocationsInMapOnly(true);
    if (dlg.ShowModal() != mrOk) return -1;
    const double limit = dlg.Magnitude();
    const bool maximumVisible = dlg.MaximumVisible(), inMapOnly = dlg.LocationsInMapOnly();
    TObserverDataList database;
    if (!ReadLocationsDatabase(database, *this)) return -1;
    LocationsClear();
    SetLocationsPanelVisible(true);
    int count = 0;
    for (int i = 0; i < database.Count(); ++i) {
        const TObserverData& o = *database[i];
        compute::TSELocalCircumstances lc;
        lc.Longitude = compute::RadiansToDeg(o.GeoLongitude());
        lc.Latitude = compute::RadiansToDeg(o.GeoLatitude());
        if (!SEE.LocalCircumstances(lc)) continue;
        const bool visible = maximumVisible ? lc.SA2 >= 0 : (lc.SA0 >= 0 || lc.SA2 >= 0 || lc.SA4 >= 0);
        if (!visible) continue;
        // Inside the central path a place is kept whatever its magnitude.
        if (!(lc.Magnitude > limit || lc.EclipseType == 'A' || lc.EclipseType == 'T')) continue;
        if (inMapOnly && !OnMap(*FEclipseMap, o)) continue;
        AddCopy(*FLocationList, o, static_cast<int32_t>(std::nearbyint(static_cast<double>(lc.Magnitude) * 10000)));
        ++count;
    }
    FLocationList->SortList("Tag");
    FillLocationTable();
    InvalidateMap();
    return count;
}

int TSEMainForm::CreateLunarLocationList()
{
    TCreateLocationListLEDlg dlg(nullptr);
    dlg.SetEclipseType(LEE.EclipseType());
    dlg.SetLocationsInMapOnly(true);
    if (dlg.ShowModal() != mrOk) return -1;
    const TZones zones = dlg.Zones();
    const bool inMapOnly = dlg.LocationsInMapOnly();
    TObserverDataList database;
    if (!ReadLocationsDatabase(database, *this)) return -1;
    LocationsClear();
    SetLocationsPanelVisible(true);
    int count = 0;
    for (int i = 0; i < database.Count(); ++i) {
        const TObserverData& o = *database[i];
        compute::TLELocalCircumstances lc;
        lc.Longitude = compute::RadiansToDeg(o.GeoLongitude());
        lc.Latitude = compute::RadiansToDeg(o.GeoLatitude());
        LEE.LocalCircumstances(lc);
        if (!zones.count(lc.Zone)) continue;
        if (inMapOnly && !OnMap(*FEclipseMap, o)) continue;
        AddCopy(*FLocationList, o, 0);
        ++count;
    }
    FLocationList->SortList("LONGITUDE");
    FillLocationTable();
    InvalidateMap();
    return count;
}

// ------------------------------------------------------------ eclipses of one location

namespace {

// Shows the dialog for the location; the chosen catalogue number, or -1.
int ChooseEclipse(TLocationEclipsesDlg& dlg, int32_t catNo, const TObserverData& location, int32_t timeShiftMode,
                  const std::string& deltaTTableFile, TSEMainForm& form)
{
    if (!dlg.CatalogueAvailable()) {
        form.ShowError("The eclipse catalogue is not available.");
        return -1;
    }
    try {
        dlg.SetCatNo(catNo);
    } catch (const std::exception&) {
        // The current eclipse is not in the catalogue: the dialog starts
        // where it stood.
    }
    dlg.SetNumEvents(50);
    dlg.SetLocation(&location);
    dlg.SetTimeShiftMode(timeShiftMode);
    dlg.DeltaTTableFile = deltaTTableFile;
    if (dlg.ShowModal() != mrOk) return -1;
    return dlg.CatNo();
}

} // namespace

void TSEMainForm::LocationsEclipses(TEventType kind)
{
    const int i = SelectedLocationIndex();
    if (!IsIdleStatus(FStatus) || i < 0) return;
    const bool solar = kind == etSolarEclipse;
    TLocationEclipsesDlg* dlg = nullptr;
    if (solar) {
        if (!LocationSEEclipsesDlg) LocationSEEclipsesDlg = new TLocationSEEclipsesDlg(this);
        dlg = LocationSEEclipsesDlg;
    } else {
        if (!LocationLEEclipsesDlg) LocationLEEclipsesDlg = new TLocationLEEclipsesDlg(this);
        dlg = LocationLEEclipsesDlg;
    }
    const int catNo = ChooseEclipse(*dlg, solar ? SEE.CatNo() : LEE.CatNo(), *FLocationList->Items(i), FTimeShiftMode,
                                    DeltaTTableInUse(), *this);
    if (catNo < 0) return;
    SetEventType(kind);
    db::TSQLiteTable* table = solar ? CBE_SE : CBE_LE;
    table->Locate("CatNo", db::TFieldValue(static_cast<int64_t>(catNo)));
    LocationsShowInMap();
    if (solar) SEE.ReadFromDataSet(table);
    else LEE.ReadFromDataSet(table);
    Calculate();
}

} // namespace app
