// Finding another program's window by its window class: a program that
// takes messages for a window class keeps a socket named after that class
// in the runtime folder ($XDG_RUNTIME_DIR, else the temporary folder), so
// "a window of class X exists" means "the socket <runtime>/X exists".
#pragma once

#include <string>

namespace sys {

class TWindowSockets {
public:
    // The socket file of a window class.
    static std::string SocketPath(const std::string& windowClass);
    // True when that socket exists (a socket file, not any other file).
    static bool Exists(const std::string& windowClass);
};

} // namespace sys
