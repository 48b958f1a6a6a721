#include "dbgrids/UxGraphics.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/rtl/Streams.h"

namespace dbgrids {

using namespace gui;

void DrawMaskedBitmap(TCanvas* dest, int dstX, int dstY, TBitmap* bitmap, TColor transparentColor)
{
    StretchTransparentBitmap(dest, bitmap, transparentColor, dstX, dstY, bitmap->Width(), bitmap->Height(), 0, 0,
                             bitmap->Width(), bitmap->Height());
}

void StretchTransparentBitmap(TCanvas* dest, TBitmap* bitmap, TColor transparentColor, int dstX, int dstY,
                              int dstW, int dstH, int srcX, int srcY, int srcW, int srcH)
{
    if (dstW < 1) dstW = bitmap->Width();
    if (dstH < 1) dstH = bitmap->Height();
    if (srcW < 1 || srcH < 1) {
        srcX = srcY = 0;
        srcW = bitmap->Width();
        srcH = bitmap->Height();
    }
    TRect dst{dstX, dstY, dstX + dstW, dstY + dstH};
    TRect src{srcX, srcY, srcX + srcW, srcY + srcH};
    if (transparentColor == clNone) {
        dest->CopyRect(dst, bitmap->Canvas(), src);
        return;
    }
    if (transparentColor == clDefault) transparentColor = bitmap->Canvas()->Pixels(0, bitmap->Height() - 1);
    // The source part as a bitmap of its own, drawn leaving out the colour.
    TBitmap part(srcW, srcH, TPixelFormat::pf32bit);
    part.Canvas()->CopyRect(TRect{0, 0, srcW, srcH}, bitmap->Canvas(), src);
    part.SetTransparentColor(ColorToRGB(transparentColor));
    part.SetTransparentMode(TTransparentMode::tmFixed);
    part.SetTransparent(true);
    dest->StretchDraw(dst, &part);
}

TColor PaletteRelativeColor(TColor color)
{
    return (ColorToRGB(color) & 0xFFFFFF) | 0x02000000;
}

int ScanLineBytes(int bits) { return (bits + 31) / 32 * 4; }

int PaletteEntryCount(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

int AbsRectWidth(const TRect& r) { return std::abs(r.Right - r.Left); }
int AbsRectHeight(const TRect& r) { return std::abs(r.Bottom - r.Top); }

int CanvasTextHeight(TCanvas* canvas)
{
    return canvas->TextHeight("Wg");
}

bool ReplaceComponentRef(rtl::TComponent* owner, rtl::TComponent* newRef, rtl::TComponent*& ref)
{
    if (newRef == ref || !owner) return false;
    if (ref) ref->RemoveFreeNotification(owner);
    ref = newRef;
    if (ref) ref->FreeNotification(owner);
    return true;
}

HWND ApplicationWindow()
{
    return Application && Application->MainForm() ? Application->MainForm()->Handle() : 0;
}

bool ApplicationMinimized()
{
    return Application && Application->MainForm() &&
           Application->MainForm()->WindowState() == TWindowState::wsMinimized;
}

void RegisterUxCursors()
{
    static bool done = false;
    if (done || !Screen) return;
    try {
        const TCursor shapes[4] = {crMultiDrag, crDrag, crMultiDrag, crMultiDrag};
        for (int i = 0; i < 4; ++i) Screen->SetCursorToStock(kUxCursorSlots[i], shapes[i]);
        done = true;
    } catch (...) {
        // A failure here only costs the drag shapes.
    }
}

namespace {
struct TStartUp {
    TStartUp() { RegisterUxCursors(); }
} const gStartUp;
} // namespace

// ------------------------------------------------------------ icons

void IconHandleSize(const gui::TIcon* icon, int& width, int& height)
{
    if (icon && !icon->Empty()) {
        width = icon->Width();
        height = icon->Height();
        return;
    }
    width = height = 32;
}

std::unique_ptr<gui::TIcon> LoadIconAtRealSize(const gui::TIcon& icon)
{
    auto result = std::make_unique<gui::TIcon>();
    if (icon.Empty()) return result;
    rtl::TStringStream saved;
    icon.SaveToStream(saved);
    const std::string& bytes = saved.DataString();
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    auto u16 = [](const uint8_t* q) { return static_cast<uint16_t>(q[0] | q[1] << 8); };
    auto u32 = [](const uint8_t* q) {
        return static_cast<uint32_t>(q[0] | q[1] << 8 | q[2] << 16 | static_cast<uint32_t>(q[3]) << 24);
    };
    const int count = bytes.size() >= 6 ? u16(p + 4) : 0;
    if (bytes.size() < 6 || u16(p + 2) != 1 || count < 1 || 6 + 16 * static_cast<std::size_t>(count) > bytes.size()) {
        result->Assign(&icon);
        return result;
    }
    // The colour count the screen asks for, compared with an entry's colour
    // count and reserved bytes read as one 16-bit number.
    gui::TBitmap screen(1, 1);
    const int depth = screen.Canvas()->GetDeviceCaps(gui::PLANES) * screen.Canvas()->GetDeviceCaps(gui::BITSPIXEL);
    const uint16_t wanted = depth == 24 ? 0 : static_cast<uint16_t>(1u << (depth % 32));
    auto colours = [&](int i) { return u16(p + 6 + 16 * i + 2); };
    int chosen = -1;
    for (int i = 0; i < count && chosen < 0; ++i)
        if (colours(i) == wanted) chosen = i;
    if (chosen < 0) {
        int first = -1;
        for (int i = 0; i < count; ++i) {
            if (first < 0) {
                if (colours(i) <= wanted) first = chosen = i;
            } else if (colours(i) > colours(first)) {
                chosen = i;
            }
        }
    }
    if (chosen < 0) chosen = 0;
    const uint8_t* entry = p + 6 + 16 * chosen;
    const uint32_t size = u32(entry + 8), offset = u32(entry + 12);
    if (static_cast<uint64_t>(offset) + size > bytes.size()) {
        result->Assign(&icon);
        return result;
    }
    // A one-image icon file of the chosen entry.
    std::string one(bytes.data(), 6);
    one[4] = 1;
    one[5] = 0;
    std::string dir(reinterpret_cast<const char*>(entry), 16);
    const uint32_t at = 22;
    for (int b = 0; b < 4; ++b) dir[12 + b] = static_cast<char>((at >> (8 * b)) & 0xFF);
    one += dir;
    one.append(bytes.data() + offset, size);
    rtl::TStringStream stream(std::move(one));
    result->LoadFromStream(stream);
    return result;
}

} // namespace dbgrids

extern "C" void tec_dbgrids_startup_anchor() {}
