// Locations (observers) and lists of them.  A location is a named place with
// its height, weather and time zone; a list owns its locations, has a name,
// is kept as XML (location list files "*.loc", the locations database, and
// the node "LocationList" of configurations and documents), finds places by
// name, sorts and merges.
#pragma once

#include <cstdint>
#include <string>

#include "compute/AstroBase.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Lists.h"

namespace xml {
class TWideXmlNode;
}

namespace app {

class TObserverData : public rtl::TObject {
public:
    // Berlin (Germany): 52.5 N, 13.511 E, 50 m, 20 C, 1010 hPa, UT+1 h.
    TObserverData();
    std::string ClassName() const override { return "TObserverData"; }

    // Place text, by convention "Name (Country)".
    const std::string& Place() const { return FPlace; }
    void SetPlace(const std::string& value);
    // Radians, west positive.
    long double GeoLongitude() const { return FGeoLongitude; }
    void SetGeoLongitude(long double value);
    // Radians, north positive.
    long double GeoLatitude() const { return FGeoLatitude; }
    void SetGeoLatitude(long double value);
    // Metres above sea level.
    long double GeoElevation() const { return FGeoElevation; }
    void SetGeoElevation(long double value);
    // Degrees Celsius.
    long double Temperature() const { return FTemperature; }
    void SetTemperature(long double value);
    // Hectopascal.
    long double Pressure() const { return FPressure; }
    void SetPressure(long double value);
    // Standard time zone offset in seconds, positive east (local = UT + offset).
    int32_t StdTimeZone() const { return FStdTimeZone; }
    void SetStdTimeZone(int32_t value);
    // Daylight-saving rule text, stored and handed on, never interpreted.
    const std::string& DSTs() const { return FDSTs; }
    void SetDSTs(const std::string& value);

    // Work value of the location table (local magnitude x 10000).
    int32_t Tag = 0;
    // Called with this location after a property changed.
    rtl::TNotifyEvent OnChanged;

    // Copies every field, OnChanged and Tag included, then calls OnChanged.
    void Assign(const TObserverData* source);
    // Mean local time offset in seconds, east positive:
    // -round(longitude * 43200 / pi), ties to even.
    int32_t MeanLocalTimeShift() const;
    // Local mean sidereal time in radians for a Julian Day in universal
    // time: Greenwich mean sidereal time (hours) * pi/12 - longitude; not
    // reduced to one turn.
    double LMST(double UT) const;
    // Geocentric position of the observer in Earth equatorial radii at a
    // Julian Day in universal time, on the reference ellipsoid of
    // flattening 1/298.257 (b/a = 0.99664719) after Meeus, Astronomical
    // Algorithms ch. 11: x, y in the equator plane (x towards the local
    // meridian's sidereal angle), z towards the north pole.
    compute::TRectangular Position(double UT) const;

private:
    void Changed();

    long double FPressure;
    long double FTemperature;
    long double FGeoLongitude;
    long double FGeoLatitude;
    long double FGeoElevation;
    std::string FPlace;
    int32_t FStdTimeZone;
    std::string FDSTs;
};

// An owned, ordered list of locations with a name.
class TObserverDataList : public rtl::TList {
public:
    explicit TObserverDataList(const std::string& name = "");
    ~TObserverDataList() override;
    std::string ClassName() const override { return "TObserverDataList"; }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { FName = value; }

    TObserverData* Items(int index) const { return static_cast<TObserverData*>(rtl::TList::Items(index)); }
    TObserverData* operator[](int index) const { return Items(index); }
    // The list takes ownership.
    int Add(TObserverData* item) { return rtl::TList::Add(item); }
    // Frees every location and empties the list.
    void Clear();
    // Frees the location at index and removes it.
    void FreeAndDelete(int index);

    // Index of the first location whose place equals place, letter case
    // ignored; -1 when none.
    int FindPlace(const std::string& place) const;

    // Clears the list, then reads Name and every child of Locations.
    void ReadFromNode(xml::TWideXmlNode* node);
    // Loads a location list file and reads its root element.  Loading and
    // parsing errors raise to the caller, with the list unchanged.
    void ReadFromFile(const std::string& fileName);
    // Writes Name and a new Locations node with one Location per item.
    void WriteToNode(xml::TWideXmlNode* node) const;
    // Writes a location list file (root "LocationList") atomically.
    void SaveToFile(const std::string& fileName) const;

    // Sorts by "NAME", "COUNTRY" (country, then name), "LONGITUDE" (west to
    // east), "LATITUDE" (north to south) or "TAG" (largest first); order
    // compared in upper case; any other text leaves the order.
    void SortList(const std::string& order);
    // Adds copies of the locations of other whose place this list does not
    // hold yet, in other's order; returns the number added.
    int ImportList(const TObserverDataList& other);
    // Reads a file into a temporary list and imports it; errors raise.
    int ImportFromFile(const std::string& fileName);

    // Splits "Name (Country)" at its last "(": both parts trimmed, one
    // final ")" removed from the country; no "(" gives an empty country.
    static void SplitPlaceCountry(const std::string& place, std::string& name, std::string& country);

private:
    std::string FName;
};

// Raises rtl::EReadError naming the file and the first location whose
// longitude or latitude is not a finite angle within -180..180 or -90..90
// degrees: such a place has no position to compute or draw.
void CheckLocationCoordinates(const TObserverDataList& list, const std::string& fileName);

} // namespace app
