// Notices to the user from the application's data units (an invalid map
// description, a delta-T table that could not be loaded, a file that could
// not be read).  The GUI's dialog service installs its message box here;
// until it does, notices go to the standard error stream.
#pragma once

#include <functional>
#include <string>

namespace app {

using TNoticeHandler = std::function<void(const std::string& text)>;

extern TNoticeHandler AppNotice;
// Shows a notice through AppNotice.
void ShowNotice(const std::string& text);
// Restores the default handler.
void ResetNoticeHandler();

} // namespace app
