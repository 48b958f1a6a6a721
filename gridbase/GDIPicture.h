// GDIPicture: TGDIPPicture, a graphic that keeps the bytes of an image file
// exactly as loaded and draws them through the image layer (ExGDIP): a BMP
// at its own size and transparent, anything else scaled into the rectangle.
//
// The rule a caller must know: the bytes are the picture.  Saving writes
// them back unchanged, undecodable bytes are kept (size 0 x 0, nothing
// drawn), and LoadFromFile never raises: a file that cannot be read leaves
// the picture empty.
//
//   gridbase::TGDIPPicture pic;
//   pic.LoadFromURL("res://LOGO");      // or "file:///path/logo.png"
//   canvas->StretchDraw(rect, &pic);
#pragma once

#include <string>

#include "gridbase/ExGDIP.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"

namespace gridbase {

class TGDIPPicture : public gui::TGraphic {
public:
    TGDIPPicture();
    ~TGDIPPicture() override;

    // Nil: the bytes are dropped, the change event fires, then OnClear.
    // Another TGDIPPicture: its bytes.  A bitmap or a picture holder: the
    // graphic saved in its own file format.  Anything else: nothing is
    // copied and no event fires, but the picture is marked empty.
    void Assign(const rtl::TPersistent* source) override;
    void Draw(gui::TCanvas& canvas, const gui::TRect& r) const override;
    // At its own size at (x, y).
    void DrawImage(TGPGraphics& graphics, int x, int y) const;
    // Reads the size from the bytes; false (sizes kept) when there are none.
    bool GetImageSizes();

    bool Empty() const override { return FIsEmpty; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // The size comes from the image alone.
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void SetSize(int, int) override {}

    // Loads the whole stream from its beginning, whatever its position.
    void LoadFromStream(rtl::TStream& stream) override;
    // Writes the bytes at the stream's position.
    void SaveToStream(rtl::TStream& stream) const override;
    // Errors are swallowed: the picture is then marked empty.
    void LoadFromFile(const std::string& fileName);
    // A raw-data resource; a missing name does nothing.
    void LoadFromResourceName(const std::string& name) override;
    // A raw-data resource; a missing number raises EResNotFound.
    void LoadFromResourceID(int id) override;
    // "res://NAME" or "file://PATH" (prefix in any case); anything else
    // does nothing.
    void LoadFromURL(const std::string& url);
    // Form data: the bytes as they are, no event and no size.
    void ReadData(rtl::TStream& stream);
    void WriteData(rtl::TStream& stream) const { SaveToStream(stream); }

    TGraphic* NewEmpty() const override { return new TGDIPPicture(); }
    std::string DefaultExtension() const override { return ""; }

    // Number of bytes kept.
    int64_t DataSize() const { return FDatastream.Size(); }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    gui::TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(gui::TColor v) { FBackgroundColor = v; }

    rtl::TNotifyEvent OnClear;

private:
    // The decoded image of the bytes, or nullptr when there is nothing.
    std::unique_ptr<TGPImage> PrepareImage() const;
    void CopyBytes(rtl::TStream& from);

    mutable rtl::TMemoryStream FDatastream;
    bool FIsEmpty = true;
    mutable int FWidth = 0;
    mutable int FHeight = 0;
    bool FDoubleBuffered = false;
    gui::TColor FBackgroundColor = 0;
};

} // namespace gridbase
