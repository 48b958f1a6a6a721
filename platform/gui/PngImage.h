// PNG pictures (read and written through libpng): every colour type and
// depth is read; an image read from an 8-bit-or-less palette file is written
// back with its palette.
#pragma once

#include <memory>
#include <vector>

#include "platform/gui/Graphics.h"

namespace gui {

enum : int {
    PNG_COLOR_GRAYSCALE = 0, PNG_COLOR_RGB = 2, PNG_COLOR_PALETTE = 3,
    PNG_COLOR_GRAYSCALEALPHA = 4, PNG_COLOR_RGBALPHA = 6,
};

class TPngImage : public TGraphic {
public:
    TPngImage();
    ~TPngImage() override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetSize(int w, int h) override;

    // Raises EInvalidGraphic "Invalid PNG image: <reason>" for damaged data.
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) const override;
    void Draw(TCanvas& canvas, const TRect& r) const override;
    TGraphic* NewEmpty() const override { return new TPngImage(); }
    std::string DefaultExtension() const override { return "png"; }
    // From another PNG, a bitmap or any graphic (drawn).
    void Assign(const rtl::TPersistent* source) override;

    // The colour type and bit depth the image was read with (or will be
    // written with): PNG_COLOR_PALETTE keeps the palette on saving.
    int HeaderColorType() const;
    int HeaderBitDepth() const;
    // The palette of a palette image (plain colours; empty otherwise).
    std::vector<TColor> Palette() const;
    bool HasAlpha() const;
    TColor Pixels(int x, int y) const;
    uint8_t Alpha(int x, int y) const;
    // zlib compression level 0..9 used when writing (default 9).
    int CompressionLevel() const { return FCompressionLevel; }
    void SetCompressionLevel(int level);

    struct Impl;
    Impl& Data() const { return *FImpl; }

protected:
    void AssignTo(rtl::TPersistent* dest) const override;

private:
    std::unique_ptr<Impl> FImpl;
    int FCompressionLevel = 9;
};

} // namespace gui
