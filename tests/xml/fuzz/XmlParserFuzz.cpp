// Fuzz target of the XML reader: the input is parsed as UTF-8 text and as
// file bytes with encoding detection; whatever was read (whole or partial)
// is written in both layouts, read again and copied.  Any crash, leak,
// undefined behaviour or hang is a finding.
#include <cstddef>
#include <cstdint>

#include "XmlFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    xmlfuzz::RunOne(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
