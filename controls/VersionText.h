// The version text the styled controls publish: the four bytes of their
// version number joined with ".", highest first (0x01020503 -> "1.2.5.3").
#pragma once

#include <cstdint>
#include <string>

namespace controls {

inline std::string VersionText(uint32_t v)
{
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
           "." + std::to_string(v & 0xFF);
}

} // namespace controls
