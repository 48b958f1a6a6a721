// EUclWin32Error: an operating-system failure with the system's error
// number and text.  The number is taken when the exception is made (errno
// here), so make it right after the failing call.
//
//   if (fd < 0) throw ucl::EUclWin32Error("Failed to create mutex");
//   // "Win32 error: No such file or directory (2)\r\nFailed to create mutex"
#pragma once

#include <cstdint>
#include <string>

#include "dbgrids/ucl/UclBase.h"

namespace ucl {

class EUclWin32Error : public EUclError {
public:
    // Takes the calling thread's last error number.
    explicit EUclWin32Error(const std::string& msg);
    // With an explicit error number.
    EUclWin32Error(uint32_t lastError, const std::string& msg);
    uint32_t LastError() const { return FLastError; }
    const std::string& LastErrorMsg() const { return FLastErrorMsg; }

private:
    uint32_t FLastError;
    std::string FLastErrorMsg;
};

class EUclMutexError : public EUclWin32Error {
public:
    using EUclWin32Error::EUclWin32Error;
};

} // namespace ucl
