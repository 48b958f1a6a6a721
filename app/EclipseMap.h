// The eclipse map: the map picture the main window shows and everything
// drawn into it.  It holds the map's description and picture, the drawing
// settings, the collected curves of equal time, the heading texts and the
// location marker; it loads the map, computes a solar or lunar eclipse into
// it row by row (on all cores, merged in row order), composes the overlays
// for painting, saving and printing, and converts between pixels and
// places.  The main window owns one and reports to the user through
// TMapHost; nothing here needs a window.
#pragma once

#include <memory>
#include <string>

#include "app/MapOverlays.h"
#include "app/MapTypes.h"
#include "platform/gui/Graphics.h"

namespace compute {
class TSolarEclipse;
class TLunarEclipse;
}

namespace app {

class TObserverDataList;
class TObserverData;

class TEclipseMap {
public:
    explicit TEclipseMap(TMapHost* host = nullptr);
    ~TEclipseMap();
    TEclipseMap(const TEclipseMap&) = delete;
    TEclipseMap& operator=(const TEclipseMap&) = delete;

    // --- state (the main window's fields of the same names) --------------
    gui::TBitmap& Map() { return *FMap; }
    const gui::TBitmap& Map() const { return *FMap; }
    TMapData MapData = GeneralMapData;
    TResourceMapMode ResourceMapMode = rmmNormal;
    bool GreyScaleMap = false;
    TMapDrawSettings Settings = DefaultMapDrawSettings(GeneralMapData);
    // File name (no folder) of the user delta-T table, for the heading's
    // delta-T source text.
    std::string DeltaTTableFile;
    // Credit sentence under the map (SolarNotices or LunarNotices).
    std::string Notices = LunarNotices;
    TEclipseHeading Heading;
    // Pixel of the location marker; (-1, -1): none.
    gui::TPoint MarkerPos{-1, -1};
    TCETData& CETData() { return *FCETData; }
    const TCETData& CETData() const { return *FCETData; }
    // Threads of a map computation; 0: every core, 1: the calling thread
    // alone.  The pass is the same on any number of threads: it shares
    // work between pixels and skips what is proven to get one colour.
    int Threads = 0;
    // The plain pass instead (tests and the map benchmark only): every
    // pixel computed on its own in the calling thread, row after row, the
    // reference the fast pass is measured and checked against.
    bool PlainPass = false;
    TMapHost* Host() const { return FHost; }
    void SetHost(TMapHost* host);

    // --- the map picture ---------------------------------------------------
    // Loads the clean map picture of MapData (built-in maps shifted by
    // ResourceMapMode, grey when GreyScaleMap); MapData's size follows the
    // picture and the host hears of it.
    void LoadMap();
    // Map pixel <-> place (degrees, west positive) through MapData.
    bool GeoToPixel(double lat, double lon, int& x, int& y) const;
    bool PixelToGeo(int x, int y, double& lat, double& lon) const;

    // --- computations (status stCalculating .. stCalculated / stCancelled) --
    // The eclipse objects are read only.  The lunar computation expects the
    // caller to have read the catalogue row into lee again.
    void CalculateSolarEclipseMap(const compute::TSolarEclipse& see);
    void CalculateLunarEclipseMap(const compute::TLunarEclipse& lee);
    // Rows the last computation's pixel pass merged.
    int LastPassRows() const { return FLastPassRows; }

    // --- painting, saving, printing ----------------------------------------
    TOverlayContext Overlays(const TObserverDataList* locations) const;
    // The paint handler: map, locations, information box, notice line and
    // the location marker.
    void PaintMap(gui::TCanvas& canvas, const TObserverDataList* locations);
    // A copy of the map with locations, information box and notice line
    // (no marker): the picture that is saved and printed.
    std::unique_ptr<gui::TBitmap> MapPicture(const TObserverDataList* locations);
    // Saves MapPicture as PNG, JPEG (quality 100) or BMP by the extension.
    void SaveAsGraphics(const std::string& fileName, const TObserverDataList* locations);

    // --- the location marker -------------------------------------------------
    // Moves the marker to a location when its pixel lies on the map; false
    // (marker unchanged) otherwise.
    bool MarkLocation(const TObserverData& location);
    void ClearMarker() { MarkerPos = {-1, -1}; }

private:
    void Invalidate();
    void Progress(int percent);
    void FailCalculation();
    // The start of a map computation: status stCalculating, no marker, the
    // heading shown, the location table refilled and the clean map loaded.
    void StartCalculation(const std::string& title, long double gamma, long double magnitude, int32_t saros,
                          int32_t lunation, long double deltaT, long double jde);
    // The cross-hair and its caption at the place of greatest eclipse, when
    // that place lies on the map.
    void DrawGreatestEclipseMarker(gui::TCanvas& c, double lat, double lon, const char* caption);
    void EndCalculation();

    TMapHost* FHost;
    TBasicMapHost FOwnHost;
    std::unique_ptr<gui::TBitmap> FMap;
    std::unique_ptr<TCETData> FCETData;
    int FLastPassRows = 0;
};

// The scroll position that centres a view of viewWidth x viewHeight on a
// pixel (never negative).
gui::TPoint CenterViewOn(gui::TPoint pixel, int viewWidth, int viewHeight);

// The delta-T source text of status panel 1 for an eclipse at jde.
std::string DeltaTSourceText(long double jde, const std::string& deltaTTableFile);

// The time labels of the curves of equal time ("hh:mm" UT) in the canvas's
// font: at each track's first and last point (aligned to the map's edge
// there, else centred) and, for a track of more than 250 points, at its
// middle point.
void DrawTimeLabels(gui::TCanvas& canvas, const TCETData& data, int mapWidth, int mapHeight);

// The caption of the map printing's abort dialog at done of total:
// "Printing the map - 42%" (the whole-number part of the percentage).
std::string PrintMapProgressCaption(long long done, long long total);

// The shading intensity index of a lunar visibility class 0..11: the class
// itself up to 6, 12 - class above.
int ShadingIndex(int zone);
// The label of a lunar visibility class for an eclipse of catalogue type
// "T", "P" or "N" ("P1", "U1" ... or their two-line captions); "" where the
// type has no such class.
std::string LunarZoneLabel(const std::string& eclipseType, int zone, bool longLabels);

} // namespace app
