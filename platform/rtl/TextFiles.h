// TextFiles: whole text files as lines, in the system's 8-bit code page
// (Windows-1252), UTF-16 little-endian with its byte-order mark, or UTF-8
// with its mark.  Lines in memory are UTF-8.
//
// The rule a caller must know: reading recognises the byte-order marks
// (UTF-8, UTF-16 LE and BE) and takes a file without one as Windows-1252;
// lines split at CR LF, a lone CR or a lone LF.  Writing ends every line
// with CR LF, the last one too; a character Windows-1252 cannot hold
// becomes "?".
//
//   rtl::WriteTextFileLines("a.txt", {"x", "y"}, rtl::TTextFileEncoding::tfeUTF16LE);
//   std::vector<std::string> lines = rtl::ReadTextFileLines("a.txt");   // {"x", "y"}
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rtl {

enum class TTextFileEncoding { tfeAnsi, tfeUTF16LE, tfeUTF8 };

// The text of file bytes as UTF-8, after the byte-order mark (if any).
std::string DecodeTextFileBytes(std::string_view bytes, TTextFileEncoding* found = nullptr);
// The bytes of a file holding text (UTF-8) in the encoding, mark included.
std::string EncodeTextFileBytes(std::string_view text, TTextFileEncoding encoding);

// Splits at CR LF, CR or LF; a final line break does not start a line.
std::vector<std::string> SplitTextLines(std::string_view text);

// Raises the file layer's EFOpenError when the file cannot be read.
std::vector<std::string> ReadTextFileLines(const std::string& fileName, TTextFileEncoding* found = nullptr);
// Creates or replaces the file; EFCreateError when it cannot.
void WriteTextFileLines(const std::string& fileName, const std::vector<std::string>& lines,
                        TTextFileEncoding encoding);

} // namespace rtl
