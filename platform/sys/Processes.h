// Starting another program detached from this one (it outlives us and is
// never waited for).
#pragma once

#include <string>
#include <vector>

namespace sys {

class TProcessLauncher {
public:
    // Starts program with the arguments (passed as they are, no shell) in
    // a new session.  True when the program file is executable and the
    // start was handed to the system; what the program does afterwards is
    // not watched.
    static bool StartDetached(const std::string& program, const std::vector<std::string>& args);
};

} // namespace sys
