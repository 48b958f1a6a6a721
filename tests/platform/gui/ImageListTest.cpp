// Image lists: strips cut into images, drawing by index, masks and the
// disabled look.

#include <gtest/gtest.h>

#include "GuiTestUtil.h"
#include "platform/gui/ImgList.h"

using namespace gui;
using guitest::NewBitmap;

namespace {

TEST(ImageList, StripIsCutAndDrawnByIndex)
{
    // Three 4 x 4 images side by side: red, green, blue, on a magenta key.
    auto strip = NewBitmap(12, 4, clFuchsia);
    const TColor colors[] = {clRed, clLime, clBlue};
    for (int i = 0; i < 3; ++i) {
        strip->Canvas()->Brush()->SetColor(colors[i]);
        strip->Canvas()->FillRect(Rect(4 * i + 1, 1, 4 * i + 3, 3));
    }
    TImageList list;
    list.SetWidth(4);
    list.SetHeight(4);
    EXPECT_EQ(list.AddMasked(strip.get(), clDefault), 0);
    EXPECT_EQ(list.Count(), 3);

    auto target = NewBitmap(8, 8, clWhite);
    list.Draw(target->Canvas(), 2, 2, 1);
    EXPECT_EQ(target->Canvas()->Pixels(3, 3), clLime);
    EXPECT_EQ(target->Canvas()->Pixels(2, 2), clWhite);   // masked corner
    EXPECT_EQ(guitest::CountColor(*target, clLime), 4);

    // Disabled: grey, no colour left.
    auto grey = NewBitmap(8, 8, clWhite);
    list.Draw(grey->Canvas(), 0, 0, 2, false);
    TColor c = grey->Canvas()->Pixels(1, 1);
    EXPECT_EQ(GetRValue(c), GetGValue(c));
    EXPECT_EQ(GetGValue(c), GetBValue(c));
    EXPECT_NE(c, clWhite);
    EXPECT_EQ(grey->Canvas()->Pixels(0, 0), clWhite);

    // Out of range draws nothing.
    auto none = NewBitmap(8, 8, clWhite);
    list.Draw(none->Canvas(), 0, 0, 3);
    list.Draw(none->Canvas(), 0, 0, -1);
    EXPECT_EQ(guitest::CountColor(*none, clWhite), 64);

    TBitmap one;
    EXPECT_TRUE(list.GetBitmap(0, &one));
    EXPECT_EQ(one.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(one.Canvas()->Pixels(0, 0), clWhite);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 2);
    list.SetWidth(8);   // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, MaskBitmapMarksTransparentPixels)
{
    auto image = NewBitmap(4, 4, clRed);
    auto mask = NewBitmap(4, 4, clBlack);
    mask->Canvas()->SetPixels(0, 0, clWhite);
    TImageList list;
    list.SetWidth(4);
    list.SetHeight(4);
    list.Add(image.get(), mask.get());
    auto target = NewBitmap(4, 4, clBlue);
    list.Draw(target->Canvas(), 0, 0, 0);
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(target->Canvas()->Pixels(1, 0), clRed);
}

} // namespace
