// Character types and case maps of the single-byte (ANSI, Windows-1252)
// character set, built once at start-up.  Nothing else in the program
// reads them; they are kept so that the utility layer starts as a whole.
//
//   ucl::InitUclAnsiStrings();
//   bool up = ucl::AnsiCharType('A') & sys::C1_UPPER;
#pragma once

#include <cstdint>

namespace ucl {

void InitUclAnsiStrings();
uint16_t AnsiCharType(unsigned char ch);
unsigned char AnsiLowerChar(unsigned char ch);
unsigned char AnsiUpperChar(unsigned char ch);
unsigned char AnsiSwapChar(unsigned char ch);

} // namespace ucl
