#include "platform/gui/DataModules.h"

namespace gui {

bool TPrinterSetupDialog::Execute()
{
    // The print dialog without page choices: what it hands to Printer() on
    // OK is the printer set-up.
    TPrintDialog dialog(nullptr);
    return dialog.Execute();
}

} // namespace gui
