// The script binding module of the cross-tab: the function enumeration, the
// matrix calls (AddValue, BeginMatrix, counts, total tests), ClearBeforePrint
// and the indexed CellFunctions of the three cross-tab classes.
//
// The rule a caller must know: the module is listed at start-up (with the
// cross-tab classes); every script made after that knows the classes.
//
// Example (PascalScript in a report):
//   Cross1.CellFunctions[0] := cfCount;
//   Cross1.AddValue([1], ['Time'], ['12:00']);
#pragma once

#include "script/qs_iinterpreter.h"

namespace qlr {

class TqlrCrossFunctions : public qs::TqsRTTIModule {
public:
    explicit TqlrCrossFunctions(qs::TqsScript* script);
};

// Lists the module for every script made from now on (once).
void RegisterCrossScriptModule();

} // namespace qlr
