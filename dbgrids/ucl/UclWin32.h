// EUclWin32Error: an operating-system failure with the system's error
// number and text.  The number is taken when the exception is made (errno
// here), so make it right after the failing call.
//
//   if (fd < 0) throw ucl::EUclWin32Error("Failed to create mutex");
//   // "Win32 error: No such file or directory (2)\r\nFailed to create mutex"
//   throw ucl::EUclWin32Error::CreateFmt("Cannot open %s", {name});
#pragma once

#include <cerrno>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "dbgrids/ucl/UclBase.h"
#include "platform/rtl/Format.h"

namespace ucl {

class EUclWin32Error : public EUclError {
public:
    // Takes the calling thread's last error number.
    explicit EUclWin32Error(const std::string& msg);
    // With an explicit error number.
    EUclWin32Error(uint32_t lastError, const std::string& msg);
    // The caller's text formatted from fmt; the error number is taken
    // before formatting can change it.
    static EUclWin32Error CreateFmt(std::string_view fmt, std::initializer_list<rtl::TFormatArg> args)
    {
        const auto lastError = static_cast<uint32_t>(errno);
        return EUclWin32Error(lastError, rtl::Format(fmt, args));
    }
    // The caller's text from the program's string table (empty when the
    // table has no such entry).
    static EUclWin32Error CreateRes(int32_t ident);
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
