// The description of a map: which bitmap (a file in the Maps folder or a
// built-in resource), its projection, how projection coordinates relate to
// pixels (pixel x = X0 - u X1, y = Y0 - v Y1 for plane coordinates u, v),
// and the default curve settings that suit its resolution.  Its XML form is
// the same node in the configuration, in documents (node "MapData") and in
// "*.map" description files (root element "MapData").
#pragma once

#include <cstdint>
#include <string>

#include "compute/uProjections.h"

namespace xml {
class TWideXmlNode;
}

namespace app {

struct TMapData {
    std::string FileName;      // bitmap, relative to MapsPath; "" for a built-in map
    std::string ResourceName;  // built-in map resource; wins over FileName
    std::string Description;
    std::string Source;        // credit line drawn under the map
    int32_t Width = 0;         // bitmap size in pixels
    int32_t Height = 0;
    compute::TProjection Projection = compute::prjRobinson;
    double dLat = 0;  // reference latitude of the conic map, degrees
    double dLon = 0;  // central meridian, degrees, west positive
    double X0 = 0;    // pixel of the plane's origin
    double Y0 = 0;
    double X1 = 0;    // pixels per plane unit
    double Y1 = 0;
    double F1 = 0;    // conic: standard parallels F1, F2; azimuthal: centre latitude F1 (degrees)
    double F2 = 0;
    double F3 = 0;    // carried, not used
    double F4 = 0;
    double CEMWidth = 0;  // curves of equal magnitude: width and step (magnitude)
    double CEMScale = 0;
    int32_t CEMLabelScale = 0;   // magnitude labels: longitude step and offset (degrees)
    int32_t CEMLabelOffset = 0;
    double CETWidth = 0;         // curves of equal time: half-width (minutes)
    int32_t CETScale = 0;        // and step (minutes)
    double VBLWidth = 0;         // visibility limits: half-width (degrees of altitude)

    bool operator==(const TMapData&) const = default;
};

// The built-in standard ("WORLD_0") and general ("WORLD_1") maps.
extern const TMapData StandardMapData;
extern const TMapData GeneralMapData;

inline const std::string InvalidMapDataMessage = "The map data seems to be invalid. Using standard map.";

// Writes the record's elements into node, in the file order.
void WriteMapData(xml::TWideXmlNode* node, const TMapData& data);
// Reads the elements of node into data as they stand, missing ones taking
// their defaults, without any check; the curves of equal time (CETWidth,
// CETScale) only with withEqualTimeCurves, otherwise data keeps its own.
// An unknown projection number reads as Robinson; returns whether the
// number was known.
bool ReadMapElements(xml::TWideXmlNode* node, TMapData& data, bool withEqualTimeCurves);
// Reads node into data (missing elements take their defaults), then
// validates: a record without resource whose MapsPath + FileName is no
// file, with X1 or Y1 of 0, or with an unknown projection, is replaced by the standard map and the
// notice InvalidMapDataMessage is shown.  Finally sets up the conic or
// azimuthal projection from F1, F2.  Returns false when the record was
// replaced.
bool ReadMapData(xml::TWideXmlNode* node, TMapData& data);
// Sets the projection's parameters the record carries (the conic map's
// standard parallels, the azimuthal map's centre), as reading it does.
void UseMapProjection(const TMapData& data);
// Loads an XML file and reads its root element (whatever its name).
// Errors of loading and parsing raise to the caller; data is then unchanged.
bool ReadMapDataFile(const std::string& fileName, TMapData& data);
// Writes a description file (root "MapData") atomically.
void SaveMapDataFile(const std::string& fileName, const TMapData& data);

} // namespace app
