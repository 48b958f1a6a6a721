// Helpers of the sockets that live as files in the runtime folder.
#pragma once

#include <string>

struct sockaddr_un;

namespace sys::detail {

// Fills a socket address for the path; false when the path is empty or too
// long for one.
bool MakeSocketAddress(const std::string& path, sockaddr_un& address);

// Closes a bound socket and removes its file; afterwards handle is -1 and
// path empty.
void CloseSocketFile(int& handle, std::string& path);

} // namespace sys::detail
