#include "app/MapImages.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "app/SEPaths.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"

namespace app {

TResourceMapMode ResourceMapModeFor(double meLon)
{
    if (meLon < -60) return rmm120E;
    if (meLon > 60) return rmm120W;
    return rmmNormal;
}

namespace {

// Built-in pictures never change: each is decoded once per run and copied
// from then on (a map computation reloads the clean map two or three times).
const gui::TBitmap& DecodedResource(const std::string& name)
{
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<gui::TBitmap>> cache;
    std::lock_guard<std::mutex> guard(lock);
    auto& entry = cache[name];
    if (!entry) {
        auto bmp = std::make_unique<gui::TBitmap>();
        bmp->LoadFromResourceName(name);
        bmp->SetPixelFormat(gui::TPixelFormat::pf24bit);
        entry = std::move(bmp);
    }
    return *entry;
}

// Copies the pixels of source into bitmap's own memory when both are
// plain 24-bit bitmaps of one size (false, nothing done, otherwise): a map
// computation reloads the clean map into a bitmap of the same size, and
// writing into pages already in use is far cheaper than taking fresh ones.
bool CopyPixelsInPlace(const gui::TBitmap& source, gui::TBitmap& bitmap)
{
    const auto plain = [](const gui::TBitmap& b) {
        return !b.Empty() && b.PixelFormat() == gui::TPixelFormat::pf24bit && !b.Transparent() &&
               b.TransparentMode() == gui::TTransparentMode::tmAuto;
    };
    if (!plain(source) || !plain(bitmap) || source.Width() != bitmap.Width() || source.Height() != bitmap.Height())
        return false;
    const size_t bytes = static_cast<size_t>(source.Width()) * 3;
    for (int y = 0; y < source.Height(); ++y) std::memcpy(bitmap.ScanLine(y), source.ScanLine(y), bytes);
    return true;
}

bool ExtensionIs(const std::string& ext, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (ext == n || ext == std::string(".") + n) return true;
    return false;
}

} // namespace

void ShiftMapPicture(gui::TBitmap& bitmap, TResourceMapMode mode)
{
    if (mode == rmmNormal || bitmap.Empty()) return;
    bitmap.SetPixelFormat(gui::TPixelFormat::pf24bit);
    const int w = bitmap.Width(), h = bitmap.Height();
    const int a = w / 3, b = 2 * w / 3;
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        uint8_t* line = bitmap.ScanLine(y);
        std::memcpy(row.data(), line, row.size());
        if (mode == rmm120W) {
            std::memcpy(line + a * 3, row.data(), static_cast<size_t>(b) * 3);
            std::memcpy(line, row.data() + b * 3, static_cast<size_t>(w - b) * 3);
        } else {
            std::memcpy(line + b * 3, row.data(), static_cast<size_t>(a) * 3);
            std::memcpy(line, row.data() + a * 3, static_cast<size_t>(w - a) * 3);
        }
    }
}

void ConvertToGreyScale(gui::TBitmap& bitmap)
{
    if (bitmap.Width() < 1 || bitmap.Height() < 1) return;
    bitmap.SetPixelFormat(gui::TPixelFormat::pf24bit);
    const int w = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const uint8_t grey = static_cast<uint8_t>((77 * p[2] + 151 * p[1] + 28 * p[0]) >> 8);
            p[0] = p[1] = p[2] = grey;
        }
    }
}

void LoadMapPicture(TMapData& map, TResourceMapMode mode, bool greyScale, gui::TBitmap& bitmap)
{
    if (!map.ResourceName.empty()) {
        const gui::TBitmap& source = DecodedResource(map.ResourceName);
        if (!CopyPixelsInPlace(source, bitmap)) bitmap.Assign(&source);
        ShiftMapPicture(bitmap, mode);
        map.dLon = mode == rmm120W ? 120 : mode == rmm120E ? -120 : 0;
    } else {
        const std::string file = MapsPath + map.FileName;
        const std::string ext = rtl::UpperCase(rtl::ExtractFileExt(file));
        if (ExtensionIs(ext, {"PNG"})) {
            gui::TPngImage png;
            png.LoadFromFile(file);
            bitmap.Assign(&png);
        } else if (ExtensionIs(ext, {"JPG", "JPEG"})) {
            gui::TJPEGImage jpeg;
            jpeg.LoadFromFile(file);
            bitmap.Assign(&jpeg);
        } else if (ExtensionIs(ext, {"BMP"})) {
            gui::TBitmap bmp;
            bmp.LoadFromFile(file);
            bitmap.Assign(&bmp);
        }
    }
    if (greyScale) ConvertToGreyScale(bitmap);
    bitmap.SetPixelFormat(gui::TPixelFormat::pf24bit);
    map.Width = bitmap.Width();
    map.Height = bitmap.Height();
}

TPictureFileFormat PictureFileFormat(const std::string& fileName)
{
    const std::string ext = rtl::UpperCase(rtl::ExtractFileExt(fileName));
    if (ExtensionIs(ext, {"JPG", "JPEG"})) return TPictureFileFormat::pffJPEG;
    if (ExtensionIs(ext, {"PNG"})) return TPictureFileFormat::pffPNG;
    return TPictureFileFormat::pffBMP;
}

void SavePictureFile(const gui::TBitmap& bitmap, const std::string& fileName)
{
    switch (PictureFileFormat(fileName)) {
    case TPictureFileFormat::pffJPEG: {
        gui::TJPEGImage jpeg;
        jpeg.Assign(&bitmap);
        jpeg.SetCompressionQuality(100);
        jpeg.SaveToFile(fileName);
        break;
    }
    case TPictureFileFormat::pffPNG: {
        gui::TPngImage png;
        png.Assign(&bitmap);
        png.SaveToFile(fileName);
        break;
    }
    case TPictureFileFormat::pffBMP: bitmap.SaveToFile(fileName); break;
    }
}

} // namespace app
