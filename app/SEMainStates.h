// The main window's status machine as a table: which actions are enabled
// and checked in each status.  The window applies the table in
// UpdateActionStates.
#pragma once

#include <map>
#include <string>

#include "app/MapTypes.h"

namespace app {

struct TActionStateInput {
    TStatus Status = stNeedCalculation;
    int LocationCount = 0;
    bool TEFound = false;
    bool LocationsPanelVisible = false;
    // Sorting by magnitude needs the magnitudes of a solar eclipse.
    bool SolarEclipse = false;
};

// The window is idle (may start any command) in stNeedCalculation,
// stCalculated and stCancelled.
bool IsIdleStatus(TStatus status);

// Enabled state of every action the status decides, by action name
// ("actSelectEclipse" ...).  In stError a document can still be opened,
// a new one started and an eclipse selected: those three are the way out
// of the error.
std::map<std::string, bool> ActionEnabledStates(const TActionStateInput& input);

// Whether dropped documents are accepted: in every status but stCalculating.
bool AcceptsDroppedFiles(TStatus status);

} // namespace app
