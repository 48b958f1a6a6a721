// What the eclipse map engine shares with the main window: the calculation
// status, the event and map-shift kinds, the fourteen colour and flag slots
// with the curve settings that go with them, the collected points of the
// curves of equal time, the texts of the eclipse heading, and the host
// interface through which a map computation reports to the window (status,
// progress, repaint, message pumping, the location table).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/MapData.h"
#include "platform/gui/Graphics.h"

namespace app {

enum class TStatus { stNeedCalculation, stCalculating, stCalculated, stCancel, stCancelled, stReading, stError };
using enum TStatus;

enum class TEventType { etSolarEclipse, etLunarEclipse };
using enum TEventType;

// Shift of a built-in map: unshifted, centred on 120 degrees west or east.
enum class TResourceMapMode { rmmNormal, rmm120W, rmm120E };
using enum TResourceMapMode;

enum class TInfoPosition { ipTopLeft, ipTopCenter, ipTopRight, ipBottomLeft, ipBottomCenter, ipBottomRight };
using enum TInfoPosition;

// Indices of the colour and flag slots.
enum : int {
    slotPath = 0,            // path of the total or annular phase
    slotCentralLine = 1,
    slotCEM = 2,             // curves of equal magnitude
    slotLimit = 3,           // limit of the eclipse (magnitude 0)
    slotLimitMaximum = 4,    // limit of visibility of maximum eclipse
    slotLimitFirst = 5,      // limit of visibility of first contact
    slotLimitLast = 6,       // limit of visibility of last contact
    slotCET = 7,             // curves of equal time of maximum eclipse
    slotCEMLabels = 8,
    slotCETLabels = 9,
    slotLocations = 10,
    slotLocationNames = 11,
    slotInfo = 12,           // information box and notice line
    slotLunarLabels = 13,    // lunar zone labels and zenith marker
    MapSlotCount = 14
};

// The drawing settings of the main window the map computations and
// overlays read.  Plain values; the window's setters validate them.
struct TMapDrawSettings {
    std::array<gui::TColor, MapSlotCount> Colors{};
    std::array<bool, MapSlotCount> Flags{};
    double CEMWidth = 0.01;      // band width of a curve of equal magnitude (magnitude)
    double CEMScale = 0.25;      // magnitude step between the curves
    int32_t CEMLabelScale = 30;  // longitude step between magnitude labels (degrees)
    int32_t CEMLabelOffset = 15; // longitude of the first magnitude label (degrees)
    int32_t CEMLabelSize = 8;    // font size of magnitude labels
    double CETWidth = 0.3;       // band half-width of a curve of equal time (minutes)
    int32_t CETScale = 30;       // minutes between curves of equal time
    int32_t CETLabelSize = 8;
    double VBLWidth = 0.2;       // band half-width of the visibility limits (degrees of altitude)
    std::array<int32_t, 7> LEShadingIntensity{30, 40, 50, 60, 70, 80, 100};  // percent
    int32_t LELabelSize = 8;
    bool LELongLabels = false;
    TInfoPosition InfoPosition = ipBottomRight;
};

// The defaults of a new document on a map: the slot colours and flags, the
// curve values of the map record, label sizes 8, shading 30..80 (entry 6
// stays 100), short lunar labels, information box at the bottom right.
TMapDrawSettings DefaultMapDrawSettings(const TMapData& map);
// Takes the seven curve values of a map record (as choosing a map does).
void ApplyMapCurveDefaults(TMapDrawSettings& settings, const TMapData& map);

// The pixels of one curve of equal time collected by the solar computation.
struct TCETTrack {
    static constexpr int Capacity = 4999;
    int32_t Count = 0;      // points used
    double Value = 0;       // time of the curve (JD, UT); 0: the track is free
    int16_t X[5000] = {};
    int16_t Y[5000] = {};
};
constexpr int CETTrackCount = 32;
using TCETData = std::array<TCETTrack, CETTrackCount>;

// Adds a pixel to the track of time t: the first track within 0.001 day of
// t takes it (dropped when full), else the first free track is started
// (dropped when all 32 are taken).
void AddCETPoint(TCETData& data, int x, int y, double t);

// The texts of the information panel and box for the current eclipse.
struct TEclipseHeading {
    std::string Title;      // "Total Solar Eclipse of 2024 Apr 08"
    std::string Gamma;      // 4 decimals
    std::string Magnitude;  // 4 decimals
    std::string Saros;
    std::string Lunation;
    std::string DeltaT;     // "0:01:14"
    std::string DeltaTSource;  // status panel 1: "Internal delta T table" or the table's file
};

// The window side of a map computation.  Every call comes from the thread
// that runs the computation (the GUI thread); the computation polls
// Status() after each row for stCancel.
class TMapHost {
public:
    virtual ~TMapHost() = default;
    virtual TStatus Status() const = 0;
    virtual void SetStatus(TStatus status) = 0;
    // The title and data labels of the eclipse.
    virtual void ShowHeading(const TEclipseHeading&) {}
    // Refills the location table (done before the map is coloured).
    virtual void FillLocationTable() {}
    // The map bitmap has a new size (the paint box follows it).
    virtual void MapSizeChanged(int /*width*/, int /*height*/) {}
    virtual void InvalidateMap() {}
    virtual void SetProgress(int /*percent*/) {}
    // Pumps the window's message queue (the user may cancel meanwhile).
    virtual void ProcessMessages() {}
    // A plain error message ("Runtime error. Calculation cancelled.").
    virtual void ShowError(const std::string& /*text*/) {}
};

// A host that only keeps the status: for tools, tests and headless use.
class TBasicMapHost : public TMapHost {
public:
    TStatus Status() const override { return FStatus; }
    void SetStatus(TStatus status) override { FStatus = status; }

private:
    TStatus FStatus = stNeedCalculation;
};

inline const std::string CalculationErrorMessage = "Runtime error. Calculation cancelled.";

// The credit sentences drawn under the map for a solar and a lunar eclipse.
extern const std::string SolarNotices;
extern const std::string LunarNotices;

} // namespace app
