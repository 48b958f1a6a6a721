// An 8-bit palette image in memory and its PNG form (through libpng), as the
// world-map tool writes it and its checks read it back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace worldmaps {

struct TRgb {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TRgb&) const = default;
};

struct TPaletteImage {
    int Width = 0;
    int Height = 0;
    std::vector<TRgb> Palette;    // up to 256 entries
    std::vector<uint8_t> Pixels;  // palette indices, row by row, top row first

    uint8_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
    const TRgb& ColourAt(int x, int y) const { return Palette[At(x, y)]; }
};

// Details of a decoded PNG that the checks look at.
struct TPngInfo {
    int ColourType = 0;  // 3: palette
    int BitDepth = 0;
};

// Encodes the image as a PNG of colour type 3 (palette), 8 bits per pixel,
// at the best compression.  Raises std::runtime_error on failure.
std::vector<uint8_t> EncodePng(const TPaletteImage& image);
void WritePng(const std::string& fileName, const TPaletteImage& image);

// Decodes a palette PNG of 8 bits per pixel (other kinds are refused with
// std::runtime_error; info, when given, receives the header fields first).
TPaletteImage DecodePng(const uint8_t* data, size_t size, TPngInfo* info = nullptr);

} // namespace worldmaps
