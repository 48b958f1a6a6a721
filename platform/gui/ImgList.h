// Image lists: equally sized small pictures drawn by index (tool buttons,
// grid glyphs), with a greyed look for disabled items.
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"

namespace gui {

class TImageList : public rtl::TComponent {
public:
    explicit TImageList(rtl::TComponent* owner = nullptr);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size clears the list.
    void SetWidth(int w);
    void SetHeight(int h);
    int Count() const;

    // Adds the image (cut into Width-wide pieces when it is wider); mask,
    // when given, marks transparent pixels white.  Returns the first index.
    int Add(const TBitmap* image, const TBitmap* mask = nullptr);
    // Adds the image with maskColor transparent (clDefault: the bottom-left pixel).
    int AddMasked(const TBitmap* image, TColor maskColor);
    // Adds a strip from the program's resources; false when it is missing.
    bool GetResource(const std::string& name, int width, TColor maskColor);
    void Delete(int index);
    void Clear();
    // The image at index (its transparent pixels in white) into bitmap.
    bool GetBitmap(int index, TBitmap* bitmap) const;

    // Draws image index at (x, y); disabled images are drawn greyed.
    // An index out of range draws nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

    rtl::TNotifyEvent OnChange;

    struct Impl;

private:
    void Changed();
    std::unique_ptr<Impl> FImpl;
    int FWidth = 16;
    int FHeight = 16;
};

} // namespace gui
