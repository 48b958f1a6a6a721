// The cross-tab's component editor (reached through the component-editor
// registry; this system has no designer).
#include "report/qlrDsgnIntf.h"
#include "reportout/qlrCross.h"

namespace qlr {

void RegisterCrossEditor() {}

} // namespace qlr
