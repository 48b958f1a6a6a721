#include "dbgrids/ucl/UclWin32.h"

#include <cerrno>

#include "platform/rtl/Resources.h"
#include "platform/sys/NamedObjects.h"

namespace ucl {

namespace {
std::string Compose(uint32_t code, const std::string& text, const std::string& msg)
{
    return "Win32 error: " + text + " (" + std::to_string(code) + ")\r\n" + msg;
}
} // namespace

EUclWin32Error::EUclWin32Error(const std::string& msg) : EUclWin32Error(static_cast<uint32_t>(errno), msg) {}

EUclWin32Error::EUclWin32Error(uint32_t lastError, const std::string& msg)
    : EUclError(""), FLastError(lastError), FLastErrorMsg(sys::SystemErrorText(static_cast<int>(lastError)))
{
    SetMessage(Compose(FLastError, FLastErrorMsg, msg));
}

EUclWin32Error EUclWin32Error::CreateRes(int32_t ident)
{
    const auto lastError = static_cast<uint32_t>(errno);
    const rtl::TResource* res = rtl::FindResource(ident, rtl::TResourceType::StringTable);
    return EUclWin32Error(lastError, res ? std::string(res->Text()) : std::string());
}

} // namespace ucl
