// MIME Base64 (RFC 2045) on byte texts: encoding in lines of 76
// characters separated by CR LF, and a forgiving decoder that skips every
// character outside the alphabet (line breaks, blanks, "=").
//
//   std::string e = ucl::MimeEncodeText("abc");   // "YWJj"
//   std::string d = ucl::MimeDecodeText("YQ");    // "a" (fill may be missing)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ucl {

std::string MimeEncodeText(const std::string& s);
std::string MimeDecodeText(const std::string& s);
// N when N is not positive, else (N + 2) div 3 * 4 + (N - 1) div 57 * 2.
int64_t MimeEncodedLength(int64_t n);
// (N + 3) div 4 * 3: an upper bound.
int64_t MimeDecodedLength(int64_t n);

// Streaming parts.  EncodeLines writes whole 57-byte input lines (76
// characters each, no line break) and answers the characters written;
// EncodeTail the last partial group with fill characters.
size_t MimeEncodeLines(const uint8_t* input, size_t count, char* output);
size_t MimeEncodeTail(const uint8_t* input, size_t count, char* output);
// Decodes count characters; space and bits carry the pending state between
// calls (start both at 0).  Answers the bytes written.
size_t MimeDecodeRun(const char* input, size_t count, uint8_t* output, uint32_t& space, uint32_t& bits);
size_t MimeDecodeFinish(uint8_t* output, uint32_t bits, uint32_t space);

} // namespace ucl
