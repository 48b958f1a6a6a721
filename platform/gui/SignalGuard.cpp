#include "platform/gui/ControlsQt.h"
#include "platform/gui/Forms.h"

namespace gui::qtw {

void ShowSignalException()
{
    if (Application) Application->HandleException(nullptr);
}

} // namespace gui::qtw
