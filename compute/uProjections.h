// The five world-map projections: forward (latitude, longitude -> plane
// x, y) and inverse, each returning false when the point cannot be mapped
// (outside the map outline, or a floating-point fault such as a division by
// zero or an overflow).  Outputs are meaningful only on true.
//
// Angles are in DEGREES.  Every projection is symmetric in longitude, so
// longitudes may be west or east positive as long as the caller is
// consistent.  The conic and azimuthal projections keep their set-up in
// process-wide state (GUI thread): at start-up the conic has the standard
// parallels 40 and 68 degrees and the azimuthal centre latitude is 40.
// Formulas for the sphere after Snyder, Map Projections - A Working Manual
// (USGS Professional Paper 1395, 1987); Robinson by his published table.
#pragma once

#include <cstdint>
#include <string>

namespace compute {

enum class TProjection : uint8_t {
    prjRobinson = 0,
    prjMercator = 1,
    prjPlateCarree = 2,
    prjLambertConformalConic = 3,
    prjLambertAzimuthalEqualArea = 4
};
using enum TProjection;

// Display names by TProjection ("Robinson Projection", ...).
extern const char* const ProjectionNames[5];

// x (degrees) reduced to [-180, 180].
long double NormalizeDegrees(long double x);

// Robinson: x = PLEN * lon/180 (+-1 at 180 degrees on the equator),
// y = +-PDFE (+-1 at the poles).
bool ProjectRobinson(long double lat, long double lon, long double& x, long double& y);
bool UnprojectRobinson(long double x, long double y, long double& lat, long double& lon);

// Plate carree with standard parallel 0: x = lon/180, y = lat/90.
bool ProjectPlateCarree(long double lat, long double lon, long double& x, long double& y);
bool UnprojectPlateCarree(long double x, long double y, long double& lat, long double& lon);

// Mercator: x = lon/180, y = artanh(sin lat) (radians, another scale than x).
bool ProjectMercator(long double lat, long double lon, long double& x, long double& y);
bool UnprojectMercator(long double x, long double y, long double& lat, long double& lon);

// Lambert conformal conic on the unit sphere with the standard parallels
// of SetConicParallels, reference latitude phi0 and central longitude lambda0.
void SetConicParallels(long double phi1, long double phi2);
bool ProjectLambertConic(long double lat, long double lon, long double phi0, long double lambda0,
                         long double& x, long double& y);
bool UnprojectLambertConic(long double x, long double y, long double phi0, long double lambda0,
                           long double& lat, long double& lon);

// Lambert azimuthal equal-area on the unit sphere, centred on latitude
// SetAzimuthalCenter on the central meridian; lon is relative to that meridian.
void SetAzimuthalCenter(long double phi1);
bool ProjectLambertAzimuthal(long double lat, long double lon, long double& x, long double& y);
bool UnprojectLambertAzimuthal(long double x, long double y, long double& lat, long double& lon);

} // namespace compute
