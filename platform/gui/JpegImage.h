// JPEG pictures (read and written through libjpeg).
#pragma once

#include <memory>

#include "platform/gui/Graphics.h"

namespace gui {

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetSize(int w, int h) override;

    // Raises EInvalidGraphic "JPEG error: <reason>" for damaged data.
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) const override;
    void Draw(TCanvas& canvas, const TRect& r) const override;
    TGraphic* NewEmpty() const override { return new TJPEGImage(); }
    std::string DefaultExtension() const override { return "jpg"; }
    void Assign(const rtl::TPersistent* source) override;

    // Quality of the written file, 1..100 (default 90); map export uses 100.
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int quality);
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool value);
    TColor Pixels(int x, int y) const;

    struct Impl;
    Impl& Data() const { return *FImpl; }

protected:
    void AssignTo(rtl::TPersistent* dest) const override;

private:
    std::unique_ptr<Impl> FImpl;
    int FQuality = 90;
    bool FGrayscale = false;
};

} // namespace gui
