// The user's folders after the XDG base-directory and user-directory
// conventions.  Every folder is returned with a trailing "/"; an empty text
// means the folder cannot be determined (no home folder).
#pragma once

#include <string>
#include <vector>

namespace sys {

class TXdgFolders {
public:
    // $HOME, else the password database's home folder; "" when neither.
    static std::string Home();
    // The documents folder: XDG_DOCUMENTS_DIR as `xdg-user-dir DOCUMENTS`
    // finds it (the entry of $XDG_CONFIG_HOME/user-dirs.dirs, else the
    // environment variable), else ~/Documents.  An entry that names the
    // home folder itself (the convention for "not configured") also gives
    // ~/Documents, so the program never puts its folders straight into home.
    static std::string Documents();
    // $XDG_CONFIG_HOME, else ~/.config.
    static std::string ConfigHome();
    // $XDG_DATA_HOME, else ~/.local/share.
    static std::string DataHome();
    // $XDG_CONFIG_DIRS, else /etc/xdg.
    static std::vector<std::string> ConfigDirs();
    // $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
    static std::vector<std::string> DataDirs();
    // $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp.
    static std::string Runtime();
};

} // namespace sys
