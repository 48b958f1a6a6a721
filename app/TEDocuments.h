// Documents for the sibling ephemeris program "Tolmira Ephemeris" (files
// "*.tlx", XML with the root element "TEDocument"), and the hand-over of
// such a document to the running or started sibling: through its pipe, as
// a file on its command line, or (older siblings) as a file in its drop
// folder announced by a window message.
//
// A document sets up the sibling for the eclipse on the main window and one
// location: its ephemeris options, time dialog and star chart, a memo with
// the eclipse's data and local circumstances, scripts that jump to the
// contact times, and a copy of the window layout file "l1.lyt" shipped
// beside the executable.  Every date-time text of a document is in the
// time scale of the location table (universal time, mean local time or the
// location's standard time zone, without daylight saving); the file name's
// date is always in universal time.
//
// These are operations of the main window; what they read of it comes in a
// TTEContext that the window fills.  GUI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "compute/BesselSE.h"
#include "compute/LunarEclipses.h"

namespace xml {
class TWideXmlDom;
}

namespace app {

class TObserverData;
class TObserverDataList;
class TPipeClient;

// Time scales of the location table (as the configuration stores them).
enum : int32_t { tsmNone = 0, tsmMLT = 1, tsmSTZ = 2 };
// Event types (as the configuration stores them).
enum : int32_t { TEEventSolar = 0, TEEventLunar = 1 };

// What a save dialog is asked: title "Save As", the filter, default
// extension "tlx", the initial folder and the proposed name.
struct TTESaveRequest {
    std::string Title;
    std::string Filter;
    std::string DefaultExt;
    std::string InitialDir;
    std::string FileName;
};
// Shows the dialog; true with the chosen full path in fileName on OK.
using TTESaveDialog = std::function<bool(const TTESaveRequest& request, std::string& fileName)>;
// A plain message to the user.
using TTEMessage = std::function<void(const std::string& text)>;

// What the documents read of the main window.
struct TTEContext {
    int32_t EventType = TEEventSolar;
    const compute::TSolarEclipse* SolarEclipse = nullptr;
    const compute::TLunarEclipse* LunarEclipse = nullptr;
    int32_t TimeShiftMode = tsmNone;
    // The user delta-T table's file name ("" for none); whether the
    // internal table is used is compute::UseInternalDeltaTTable.
    std::string DeltaTTableFile;
    TObserverDataList* Locations = nullptr;
    // The location of the table's current row: its RowEx minus FixedRows.
    int32_t SelectedIndex = -1;
    // The main window's client of the sibling's pipe (PipeName "TE").
    TPipeClient* TEClient = nullptr;
    // The main window's save dialog; unset, every save through it is
    // declined.
    TTESaveDialog SaveDialog;
    // Plain messages; unset, they go to the standard error stream.
    TTEMessage ShowMessage;
};

inline const std::string TEDocumentRoot = "TEDocument";
inline const std::string TESaveDialogTitle = "Save As";
inline const std::string TESaveDialogFilter = "Tolmira Ephemeris Documents (*.tlx)|*.tlx|All files|*.*";
inline const std::string TECouldNotConnect = "Could not connect to Tolmira Ephemeris server.";
// How long a hand-over waits for the sibling's pipe.
constexpr int32_t TEConnectWait = 3000;

// text repeated count times; "" for a count of 0 or less.
std::string RepeatString(const std::string& text, int32_t count);
// The time shift in seconds of a location in a time scale: 0, the mean
// local time shift, or its standard time zone.
int32_t TETimeShift(int32_t timeShiftMode, const TObserverData& location);
// A Julian Day (UT) as "YYYY-MM-DD  hh:mm:ss" in zone seconds; "" for 0
// (a contact that does not exist).
std::string TEContactText(long double jd, int32_t zone);
// The date of a Julian Day (UT) as "YYYY-MM-DD".
std::string UTDateText(long double jd);

// Fill doc (a new document whose root is "TEDocument") for one location
// and return the generated, cleaned file name.  The solar one does nothing
// (false) when the local type is N, the lunar one when the Moon is below
// the horizon at every contact (State 0).  A missing or unreadable layout
// file raises the XML library's file error.
bool BuildSolarTEDocument(const TTEContext& context, xml::TWideXmlDom& doc, const TObserverData& location,
                          const compute::TSELocalCircumstances& lc, std::string& fileName);
bool BuildLunarTEDocument(const TTEContext& context, xml::TWideXmlDom& doc, const TObserverData& location,
                          const compute::TLELocalCircumstances& lc, std::string& fileName);

// Build and save a document: fileName := folder + (fileName when not
// empty, else the generated name); saved there, or with ask through the
// context's save dialog (saved only when it is confirmed, to the path
// chosen, which fileName then holds).  True when a file was written.
bool SaveSolarTEDocument(const TTEContext& context, const std::string& folder, std::string& fileName, bool ask,
                         const compute::TSELocalCircumstances& lc, const TObserverData& location);
bool SaveLunarTEDocument(const TTEContext& context, const std::string& folder, std::string& fileName, bool ask,
                         const compute::TLELocalCircumstances& lc, const TObserverData& location);

// The local circumstances of a location for the context's event type,
// computed at its longitude and latitude in degrees; false when the
// computation fails.
bool TELocalCircumstances(const TTEContext& context, const TObserverData& location,
                          compute::TSELocalCircumstances& se, compute::TLELocalCircumstances& le);

// The commands of the location table.  Each does nothing while no sibling
// is known (TEFound false) or when the selected index lies outside the
// list.
// Saves the selected location's document through the save dialog.
void SaveTEDocumentForSelection(const TTEContext& context);
// One document per location into TEDocumentsPath + "Solar Eclipse of " (or
// "Lunar Eclipse of ") + the UT date of the location's maximum + "/",
// creating the folder; existing files are replaced.  Stops with
// rtl::EInOutError when a folder cannot be made, and with the XML
// library's error when a file cannot be written; what was written stays.
void CreateAllTEDocuments(const TTEContext& context);
// True when the context's pipe client is connected or connects to the
// local pipe within TEConnectWait.
bool ConnectTEClient(const TTEContext& context);

// How RunInTE handed the document over.
enum class TTEHandOver {
    thoNothing,         // no sibling, no location, not visible, or the computation failed
    thoPipe,            // sent as one message through the pipe
    thoStarted,         // saved; the sibling was started with the file
    thoDeclined,        // saved; the user declined to start the sibling
    thoNotConnected,    // saved; the sibling runs but its pipe did not answer
    thoWindowMessage,   // saved into the older sibling's drop folder and announced
    thoNotAnnounced     // saved for the older sibling, whose window closed before the message went
};

// Hands the selected location's document to the sibling: through the pipe
// when the sibling takes documents that way and answers; else saved into
// TemporaryPath and passed to the sibling when the user agrees to start
// it ("Could not connect to Tolmira Ephemeris server." when it runs but
// its pipe is down).  An older sibling gets the file in TETemporaryPath,
// announced by the window message when it runs, or on its command line
// when it is started.  fileName (optional) gets the file written.
TTEHandOver RunInTE(const TTEContext& context, std::string* fileName = nullptr);

} // namespace app
