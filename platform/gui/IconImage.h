// Icons (.ico) and GIF pictures: decoded into a bitmap for drawing, their
// original bytes kept for saving, so a picture round-trips unchanged.
//
// The rule a caller must know: an icon shows its largest image (the most
// pixels, then the most colours); a GIF shows its first frame on its
// logical screen.  Transparent pixels stay out when drawn.
//
// Example:
//   gui::TIcon icon;
//   icon.LoadFromStream(stream);              // BMP- or PNG-coded images
//   canvas->Draw(0, 0, &icon);
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Graphics.h"

namespace gui {

// The common part: a decoded bitmap and the bytes it came from.
class TDecodedImage : public TGraphic {
public:
    TDecodedImage();
    ~TDecodedImage() override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SaveToStream(rtl::TStream& stream) const override;
    void Draw(TCanvas& canvas, const TRect& r) const override;
    void Assign(const rtl::TPersistent* source) override;
    // The decoded pixels (transparent ones in the bitmap's transparent colour).
    const TBitmap* Bitmap() const { return FBitmap.get(); }
    // The colour of a pixel, clNone for a transparent one.
    TColor Pixel(int x, int y) const;

protected:
    // Fills the bitmap from rows of colours (clNone: transparent).
    void SetPixels(int w, int h, const std::vector<TColor>& pixels);
    std::string FBytes;
    std::unique_ptr<TBitmap> FBitmap;
    std::vector<TColor> FPixels;
    int FWidth = 0, FHeight = 0;
};

class TIcon : public TDecodedImage {
public:
    // Raises EInvalidGraphic for data that is no icon.
    void LoadFromStream(rtl::TStream& stream) override;
    TGraphic* NewEmpty() const override { return new TIcon(); }
    std::string DefaultExtension() const override { return "ico"; }
};

class TGifImage : public TDecodedImage {
public:
    // Raises EInvalidGraphic for data that is no GIF.
    void LoadFromStream(rtl::TStream& stream) override;
    TGraphic* NewEmpty() const override { return new TGifImage(); }
    std::string DefaultExtension() const override { return "gif"; }
};

} // namespace gui
