// Painting over a native window: the pass after the native control has
// painted and the window band (WM_NCPAINT with a canvas over the whole
// window), checked at pixels of the form's picture.

#include <gtest/gtest.h>

#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

using namespace gui;

namespace {

class OverEdit : public TEdit {
public:
    OverEdit(rtl::TComponent* owner, bool over, bool band) : TEdit(owner)
    {
        SetPaintOverNative(over);
        SetNonClientPaint(band);
    }
    std::vector<uint32_t> seen;   // messages that came with a canvas
    void Dispatch(TMessage& m) override
    {
        if ((m.Msg == WM_PAINT || m.Msg == WM_NCPAINT) && m.WParam) {
            seen.push_back(m.Msg);
            auto* c = reinterpret_cast<TCanvas*>(m.WParam);
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            if (m.Msg == WM_PAINT) {
                c->Brush()->SetColor(clRed);
                c->FillRect(TRect{4, 4, 8, 8});
            } else {
                c->Brush()->SetColor(clBlue);
                c->FrameRect(TRect{0, 0, Width(), Height()});
            }
        }
        TEdit::Dispatch(m);
    }
};

TColor At(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }

} // namespace

TEST(NativePaint, PassAfterTheNativeLookAndTheWindowBand)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 120);
    form.SetColor(clWhite);
    auto* both = new OverEdit(&form, true, true);
    both->SetParent(&form);
    both->SetBounds(10, 10, 120, 24);
    auto* plain = new OverEdit(&form, false, false);
    plain->SetParent(&form);
    plain->SetBounds(10, 60, 120, 24);
    form.Show();
    Application->ProcessMessages();
    auto img = form.GetFormImage();
    // The client pass draws over the native field, the band pass frames the window.
    EXPECT_EQ(At(*img, 10 + 5, 10 + 5), ColorToRGB(clRed));
    EXPECT_EQ(At(*img, 10, 10 + 12), ColorToRGB(clBlue));
    EXPECT_EQ(At(*img, 10 + 119, 10 + 23), ColorToRGB(clBlue));
    EXPECT_NE(At(*img, 10 + 5, 60 + 5), ColorToRGB(clRed));
    EXPECT_NE(At(*img, 10, 60 + 12), ColorToRGB(clBlue));
    EXPECT_TRUE(plain->seen.empty());
    // In order: the client pass, then the band.
    ASSERT_GE(both->seen.size(), 2u);
    EXPECT_EQ(both->seen[0], static_cast<uint32_t>(WM_PAINT));
    EXPECT_EQ(both->seen[1], static_cast<uint32_t>(WM_NCPAINT));
    form.Hide();
}
