// The script binding module of the report classes: unit constants,
// enumerations and sets, the report classes with the members the generic
// published-property access does not cover (one table in registration
// order, each member with its own handler), DayOf/MonthOf/YearOf and the
// global variable list "qlrGlobalVariables".
//
// The rule a caller must know: RegisterReportScriptModules (qlrClass.h)
// appends it, once, to the interpreter's module list; every report runs
// AddRTTI in its constructor, so a report's script sees it.
//
// Example:
//   qlr::TqlrReport report(nullptr);
//   report.Calc("fr1CharY");          // 17
#pragma once

#include <string>

#include "script/qs_iinterpreter.h"

namespace qlr {

class TqlrClassFunctions : public qs::TqsRTTIModule {
public:
    explicit TqlrClassFunctions(qs::TqsScript* script);
};

} // namespace qlr
