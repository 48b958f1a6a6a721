// The debug log: lines a program writes for a developer watching it (what
// the debugger output is on other systems).  They go to standard error with
// a "debug: " mark; tests may catch them with a handler.
//
//     sys::OutputDebugString("12");
#pragma once

#include <functional>
#include <string>

namespace sys {

void OutputDebugString(const std::string& line);
// Replaces where the lines go; nullptr restores standard error.
void SetDebugLogHandler(std::function<void(const std::string&)> handler);

} // namespace sys
