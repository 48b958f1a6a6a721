// The default application of a MIME type after the XDG MIME-applications
// convention: the first desktop entry named for the type in the
// [Default Applications] (else [Added Associations]) group of the
// mimeapps.list files, searched in $XDG_CONFIG_HOME, $XDG_CONFIG_DIRS,
// $XDG_DATA_HOME/applications and $XDG_DATA_DIRS/applications (desktop-
// specific "<desktop>-mimeapps.list" first in each), and found as a .desktop
// file in the applications folders of $XDG_DATA_HOME and $XDG_DATA_DIRS.
// Read only; the environment variables are the way to point it elsewhere.
#pragma once

#include <string>

namespace sys {

class TMimeDefaultApplication {
public:
    // Full path of the default application's .desktop file; "" when none.
    static std::string DesktopFile(const std::string& mimeType);
    // The Exec line of that desktop entry ("" when none).
    static std::string Command(const std::string& mimeType);
    // The program of an Exec line: its first word with the entry's quoting
    // removed; a bare name is looked up in $PATH; the result has symbolic
    // links resolved, so that files installed beside the real program can
    // be found.  "" when the line is empty.
    static std::string Program(const std::string& execLine);
};

} // namespace sys
