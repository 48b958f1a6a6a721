// The utility library's base: its exception classes, the character copy
// routine and the ANSI replacement character.
//
// Every error of the utility units is an EUclError, so a caller that only
// wants to know "did the utility fail" catches that one class.
//
//   try { ... } catch (const ucl::EUclError& e) { ShowMessage(e.Message()); }
#pragma once

#include <string>

#include "platform/rtl/Exceptions.h"

namespace ucl {

class EUclError : public rtl::Exception {
public:
    using Exception::Exception;
};
RTL_DECLARE_EXCEPTION(EUclInternalError, EUclError)

// Copies count 16-bit characters from source[fromIndex] into
// dest[toIndex] (zero-based); the caller sizes dest.
void MoveChar(const std::u16string& source, int fromIndex, std::u16string& dest, int toIndex, int count);

// The replacement character of the ANSI code page (Windows-1252): the byte
// a character that the page cannot represent becomes.  Read at start-up.
char AnsiReplacementChar();

// Start-up of the unit: reads the replacement character; raises
// EUclInternalError "Failed to get ANSI replacement character" when the
// code page gives none.
void InitUclBase();

} // namespace ucl
