// The world maps built into the program: the values of their map records and
// the credit line of the geographic data they are drawn from.
//
// All three pictures are plate carrée, grey, with an 8-bit palette, north at
// the top and longitude 0 at the centre column.  A place at latitude lat and
// longitude lon (degrees, west positive) has the plane coordinates
// u = lon/180, v = lat/90 and lies on the pixel x = X0 - u·X1, y = Y0 - v·Y1
// (rounded to the nearest pixel): east is to the right.  The pictures are
// embedded as PNG resources of the same names (target tec_resources).
#pragma once

#include <cstdint>

struct TBuiltinMap {
    const char* ResourceName;
    const char* Description;
    int32_t Width, Height;
    uint8_t Projection;  // 2: plate carrée
    double dLat, dLon;
    double X0, Y0, X1, Y1;
    double F1, F2, F3, F4;
    // Defaults of the curves drawn on the map.
    double CEMWidth, CEMScale;
    int32_t CEMLabelScale, CEMLabelOffset;
    double CETWidth;
    int32_t CETScale;
    double VBLWidth;
};

// Credit of the geographic data, for the map record's source line.
inline constexpr const char* BuiltinMapSource =
    "GSHHG 2.3.7 shorelines and WDBII borders by P. Wessel and W. H. F. Smith, "
    "GNU LGPL v3; drawn with GMT";

// The standard map.
inline constexpr TBuiltinMap StandardWorldMap{
    "WORLD_0", "World map, political, grayscale", 5735, 2868, 2, 0, 0,
    2867.102, 1435.0, 2866.922, 1434.0, 0, 0, 0, 0,
    0.01, 0.2, 30, 15, 0.25, 30, 0.08};

// The general map, the default of a new document.
inline constexpr TBuiltinMap GeneralWorldMap{
    "WORLD_1", "General map, World, political, grayscale", 1920, 960, 2, 0, 0,
    960.0, 480.0, 960.0, 480.0, 0, 0, 0, 0,
    0.01, 0.25, 30, 15, 0.3, 30, 0.2};

// The catalogue's preview map: pixel (i, j) shows longitude 180 - i west,
// latitude 90 - j.  Not a map record of its own; the curve values are unused.
inline constexpr TBuiltinMap PreviewWorldMap{
    "WORLD_360", "World map, preview", 360, 180, 2, 0, 0,
    180.0, 90.0, 180.0, 90.0, 0, 0, 0, 0,
    0.01, 0.2, 30, 15, 0.25, 30, 0.08};
