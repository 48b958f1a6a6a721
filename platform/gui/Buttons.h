// Speed buttons: windowless buttons with a glyph, flat look with hover,
// grouped down state; the click comes on release over the button.
#pragma once

#include <memory>

#include "platform/gui/Controls.h"

namespace gui {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(rtl::TComponent* owner);
    ~TSpeedButton() override;
    // The glyph strip: NumGlyphs pictures side by side (up, disabled, down,
    // held down); its bottom-left pixel is the transparent colour.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* b);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v) { FFlat = v; Invalidate(); }
    bool Down() const { return FDown; }
    // Down needs a GroupIndex; putting one button of a group down lifts the others.
    void SetDown(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int g) { FGroupIndex = g; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v) { FAllowAllUp = v; }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout l) { FLayout = l; Invalidate(); }
    int Margin() const { return FMargin; }
    void SetMargin(int m) { FMargin = m; Invalidate(); }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int s) { FSpacing = s; Invalidate(); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v) { FTransparent = v; Invalidate(); }
    TButtonState State() const { return FState; }
    // Whether the pointer is over the button (flat buttons show it).
    bool MouseInControl() const { return FMouseInControl; }
    void Click() override;
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    bool FFlat = false;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FTransparent = true;
    TButtonState FState = TButtonState::bsUp;
    bool FDragging = false;
    bool FMouseInControl = false;
};

} // namespace gui
