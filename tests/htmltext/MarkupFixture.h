// A bitmap canvas with a fixed-metrics font for markup tests: "Courier New"
// 20 pixels high is drawn with a monospaced face whose advance is exactly 12
// pixels per character and whose text height ("gh") is 23.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "htmltext/GrdHTMLE.h"
#include "platform/gui/Graphics.h"

namespace markuptest {

constexpr int kCharW = 12;
constexpr int kLineH = 23;

inline void UseFixedFont(gui::TCanvas& c)
{
    c.Font()->SetName("Courier New");
    c.Font()->SetHeight(-20);
    c.Font()->SetColor(gui::clBlack);
    c.Font()->SetStyle({});
    c.Brush()->SetColor(gui::clWhite);
    c.Pen()->SetColor(gui::clBlack);
}

struct Canvas {
    gui::TBitmap bmp{400, 300};
    Canvas()
    {
        UseFixedFont(*bmp.Canvas());
        bmp.Canvas()->FillRect(gui::Rect(0, 0, 400, 300));
    }
    gui::TCanvas& C() { return *bmp.Canvas(); }
};

// Counts the pixels of colour c inside r.
inline int CountColor(gui::TBitmap& bmp, const gui::TRect& r, gui::TColor c)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (bmp.Canvas()->Pixels(x, y) == c) ++n;
    return n;
}

// Counts pixels inside r that are not white.
inline int CountInk(gui::TBitmap& bmp, const gui::TRect& r)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (bmp.Canvas()->Pixels(x, y) != gui::clWhite) ++n;
    return n;
}

} // namespace markuptest
