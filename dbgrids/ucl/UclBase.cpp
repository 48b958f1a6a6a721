#include "dbgrids/ucl/UclBase.h"

#include "platform/rtl/CodePages.h"

namespace ucl {

namespace {
char gReplacement = 0;
}

void MoveChar(const std::u16string& source, int fromIndex, std::u16string& dest, int toIndex, int count)
{
    for (int i = 0; i < count; ++i) dest[toIndex + i] = source[fromIndex + i];
}

char AnsiReplacementChar()
{
    return gReplacement;
}

void InitUclBase()
{
    // U+FFFF is never a character: what the page makes of it is its
    // replacement byte.
    std::string bytes = rtl::UTF16ToCodePage(std::u16string(1, u'\uFFFF'), rtl::SystemCodePage());
    if (bytes.size() != 1) throw EUclInternalError("Failed to get ANSI replacement character");
    gReplacement = bytes[0];
}

} // namespace ucl
