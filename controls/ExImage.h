// TExImage: a graphic that keeps a picture file's bytes (BMP, PNG or JPEG)
// as loaded and draws the decoded picture stretched into a rectangle; the
// caption panel holds one as its background.  Sizes come from the
// picture's size in HIMETRIC units at 96 pixels per inch.
//
// The rule a caller must know: LoadFromFile never raises (a file that is
// not a picture leaves the image empty), while LoadFromStream raises
// "Could not load image. Invalid format" and then keeps the previous
// picture together with its bytes.
//
//     controls::TExImage img;
//     img.LoadFromFile("back.png");
//     canvas->StretchDraw(r, &img);
#pragma once

#include <memory>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"

namespace controls {

class TExImage : public gui::TGraphic {
public:
    TExImage();
    ~TExImage() override;

    bool Empty() const override { return FIsEmpty; }
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void SetSize(int, int) override {}
    // The picture's size in HIMETRIC units (0 without a picture).
    int HimetricWidth() const;
    int HimetricHeight() const;

    void LoadFromStream(rtl::TStream& stream) override;
    // Swallows every error; a failure leaves the image empty.
    void LoadFromFile(const std::string& fileName);
    void SaveToStream(rtl::TStream& stream) const override;
    // The form-stream forms of the bytes: ReadData is LoadFromStream
    // without OnChange, WriteData is SaveToStream.
    void ReadData(rtl::TStream& stream);
    void WriteData(rtl::TStream& stream) const { SaveToStream(stream); }
    // nullptr empties the image; a non-empty TExImage is copied; anything
    // else leaves the image empty with its bytes, silently.
    void Assign(const rtl::TPersistent* source) override;

    void Draw(gui::TCanvas& canvas, const gui::TRect& r) const override;
    gui::TGraphic* NewEmpty() const override { return new TExImage(); }
    std::string DefaultExtension() const override { return "png"; }

    const rtl::TMemoryStream& DataStream() const { return FData; }

private:
    // Decodes bytes into a picture; raises when they are not one.
    static std::unique_ptr<gui::TGraphic> BuildPicture(const rtl::TMemoryStream& data);
    void TakeStream(rtl::TStream& stream);

    rtl::TMemoryStream FData;
    bool FIsEmpty = true;
    std::unique_ptr<gui::TGraphic> FPicture;
    int FLogPixX = 96, FLogPixY = 96;
};

// Windows Vista or later by the system record.
bool IsVistaOrLater();

} // namespace controls
