#include "report/qlrGraphicUtils.h"

#include <algorithm>
#include <cstring>

#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "report/qlrUtils.h"

namespace qlr {

namespace {
constexpr long double kSlack = 0.0001L;
}

TqlrRect MakeReportRect(long double left, long double top, long double right, long double bottom)
{
    return TqlrRect{left, top, right, bottom};
}

TqlrPoint MakeReportPoint(long double x, long double y) { return TqlrPoint{x, y}; }

bool TqlrRectArea::InterceptsX(const TqlrRectArea& a) const
{
    return a.X < X1 - kSlack && a.X1 > X + kSlack;
}

bool TqlrRectArea::InterceptsY(const TqlrRectArea& a) const
{
    return a.Y < Y1 - kSlack && a.Y1 > Y + kSlack;
}

std::unique_ptr<TqlrRectArea> TqlrRectArea::InterceptX(const TqlrRectArea& a) const
{
    if (!InterceptsX(a)) return nullptr;
    return std::make_unique<TqlrRectArea>(Max(X, a.X), 0, Min(X1, a.X1), 0);
}

std::unique_ptr<TqlrRectArea> TqlrRectArea::InterceptY(const TqlrRectArea& a) const
{
    if (!InterceptsY(a)) return nullptr;
    return std::make_unique<TqlrRectArea>(0, Max(Y, a.Y), 0, Min(Y1, a.Y1));
}

} // namespace qlr

namespace qlr {

namespace {

int BytesPerPixel(const gui::TBitmap& b) { return b.PixelFormat() == gui::TPixelFormat::pf24bit ? 3 : 4; }

// The tileWidth x tileHeight area of src at (x, y) into tile; parts
// outside src stay as they were.
void CopyTile(const gui::TBitmap& src, int x, int y, gui::TBitmap& tile)
{
    const int bpp = BytesPerPixel(src);
    const int w = std::min(tile.Width(), src.Width() - x);
    const int h = std::min(tile.Height(), src.Height() - y);
    for (int row = 0; row < h; ++row)
        if (w > 0)
            std::memcpy(tile.ScanLine(row), src.ScanLine(y + row) + static_cast<std::size_t>(x) * bpp,
                        static_cast<std::size_t>(w) * bpp);
}

} // namespace

void SplitImageStrip(const gui::TBitmap& strip, int tileWidth, int tileHeight,
                     gui::TImageList* second, gui::TImageList& first)
{
    if (tileWidth <= 0 || tileHeight <= 0) return;
    gui::TBitmap tile(tileWidth, tileHeight, BytesPerPixel(strip) == 3 ? gui::TPixelFormat::pf24bit
                                                                       : gui::TPixelFormat::pf32bit);
    int x = 0, y = 0;
    while (y < strip.Height()) {
        CopyTile(strip, x, y, tile);
        first.AddMasked(&tile, tile.TransparentColor());
        if (second) {
            x += tileWidth;
            CopyTile(strip, x, y, tile);
            second->AddMasked(&tile, tile.TransparentColor());
        }
        x += tileWidth;
        if (x >= strip.Width()) {
            x = 0;
            y += tileHeight;
        }
    }
}

void DrawTransparentBitmap(gui::TCanvas& canvas, int x, int y, const gui::TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty()) return;
    gui::TImageList list;
    list.SetWidth(bitmap->Width());
    list.SetHeight(bitmap->Height());
    list.AddMasked(bitmap, bitmap->TransparentColor());
    list.Draw(&canvas, x, y, 0);
}

void DrawTransparentBitmapEx(gui::TCanvas& canvas, const gui::TRect& r, const gui::TBitmap& bitmap,
                             uint32_t transparentColor)
{
    if (bitmap.Empty()) return;
    gui::TBitmap keyed;
    keyed.Assign(&bitmap);
    keyed.SetTransparentMode(gui::TTransparentMode::tmFixed);
    keyed.SetTransparentColor(static_cast<gui::TColor>(transparentColor & 0xFFFFFF));
    keyed.SetTransparent(true);
    canvas.StretchDraw(r, &keyed);
}

void DrawGraphic(gui::TCanvas& canvas, const gui::TRect& r, gui::TGraphic* graphic, uint32_t transparentColor,
                 bool transparent, bool highQuality, bool printing)
{
    canvas.Brush()->SetColor(gui::clWhite);
    if (!graphic || graphic->Empty()) return;
    const std::string ext = graphic->DefaultExtension();
    const bool metafile = ext == "wmf" || ext == "emf";
    auto* bitmap = dynamic_cast<gui::TBitmap*>(graphic);
    if (metafile || (!printing && !highQuality && !(transparent && !bitmap))) {
        graphic->SetTransparent(transparent);
        if (transparent && bitmap) DrawTransparentBitmapEx(canvas, r, *bitmap, transparentColor);
        else canvas.StretchDraw(r, graphic);
        return;
    }
    // Rendered once at its own size so that any kind of graphic is
    // stretched (and keyed) the same way as a bitmap.
    gui::TBitmap rendered(graphic->Width(), graphic->Height(),
                          printing ? gui::TPixelFormat::pf32bit : gui::TPixelFormat::pf24bit);
    rendered.Canvas()->Draw(0, 0, graphic);
    if (transparent) DrawTransparentBitmapEx(canvas, r, rendered, transparentColor);
    else canvas.StretchDraw(r, &rendered);
}

} // namespace qlr
