// PNG encoding and decoding of palette images through libpng.

#include "tools/worldmaps/PaletteImage.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace worldmaps {

namespace {

// libpng reports errors by a long jump back to the setjmp of the calling
// routine; the message waits in the error record until then.
struct TPngError {
    char Message[200] = "";
};

[[noreturn]] void PngError(png_structp png, png_const_charp message)
{
    auto* error = static_cast<TPngError*>(png_get_error_ptr(png));
    std::snprintf(error->Message, sizeof error->Message, "PNG: %s", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

struct TReadSource {
    const uint8_t* Data;
    size_t Size;
    size_t Position;
};

void ReadBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* src = static_cast<TReadSource*>(png_get_io_ptr(png));
    if (length > src->Size - src->Position)
        png_error(png, "unexpected end of data");
    std::memcpy(data, src->Data + src->Position, length);
    src->Position += length;
}

} // namespace

std::vector<uint8_t> EncodePng(const TPaletteImage& image)
{
    if (image.Width <= 0 || image.Height <= 0 || image.Palette.empty() || image.Palette.size() > 256
        || image.Pixels.size() != static_cast<size_t>(image.Width) * image.Height)
        throw std::runtime_error("PNG: bad image");
    std::vector<uint8_t> out;
    std::vector<png_color> palette;
    for (const TRgb& c : image.Palette)
        palette.push_back({c.R, c.G, c.B});
    TPngError error;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("PNG: out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error(error.Message);
    }
    {
        png_set_write_fn(png, &out, AppendBytes, FlushNothing);
        png_set_compression_level(png, 9);
        png_set_IHDR(png, info, image.Width, image.Height, 8, PNG_COLOR_TYPE_PALETTE,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
        png_write_info(png, info);
        for (int y = 0; y < image.Height; ++y)
            png_write_row(png, image.Pixels.data() + static_cast<size_t>(y) * image.Width);
        png_write_end(png, info);
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

void WritePng(const std::string& fileName, const TPaletteImage& image)
{
    std::vector<uint8_t> bytes = EncodePng(image);
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + fileName);
}

TPaletteImage DecodePng(const uint8_t* data, size_t size, TPngInfo* infoOut)
{
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        throw std::runtime_error("PNG: not a PNG image");
    TPaletteImage image;
    TReadSource src{data, size, 0};
    TPngInfo header;
    TPngError error;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        throw std::runtime_error("PNG: out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error(error.Message);
    }
    png_set_read_fn(png, &src, ReadBytes);
    png_read_info(png, info);
    header = {png_get_color_type(png, info), png_get_bit_depth(png, info)};
    if (infoOut)
        *infoOut = header;
    if (header.ColourType != PNG_COLOR_TYPE_PALETTE || header.BitDepth != 8
        || png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error("PNG: not an 8-bit palette image");
    }
    {
        image.Width = static_cast<int>(png_get_image_width(png, info));
        image.Height = static_cast<int>(png_get_image_height(png, info));
        png_colorp palette = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &palette, &count);
        for (int i = 0; i < count; ++i)
            image.Palette.push_back({palette[i].red, palette[i].green, palette[i].blue});
        image.Pixels.resize(static_cast<size_t>(image.Width) * image.Height);
        for (int y = 0; y < image.Height; ++y)
            png_read_row(png, image.Pixels.data() + static_cast<size_t>(y) * image.Width, nullptr);
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    for (uint8_t index : image.Pixels)
        if (index >= image.Palette.size())
            throw std::runtime_error("PNG: pixel outside the palette");
    return image;
}

} // namespace worldmaps
