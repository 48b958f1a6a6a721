// ExGridHints: THTMLHintWindow, the hint window the string grid shows its
// hints in (cell hints, anchor hints): it sizes itself to markup or to
// "|\"-encoded wide text and draws it; and the text preparation of the
// grid's cell balloons.
//
// The rule a caller must know: the window takes the font name the grid
// published when it prepared the hint (SetHTMLHintFontName), so markup
// hints use the grid's font.
//
//   auto w = grid::PrepareBalloonText(std::string(3000, 'x'));   // 2045 x + "..."
//   hintInfo.HintWindowClass = &grid::THTMLHintWindow::StaticClassInfo();
#pragma once

#include <string>

#include "platform/gui/HintWindow.h"

namespace grid {

class THTMLHintWindow : public gui::THintWindow {
    RTL_CLASS(THTMLHintWindow, gui::THintWindow)
public:
    explicit THTMLHintWindow(rtl::TComponent* owner);

    // (0, 0, width, height) of the hint measured within maxWidth, without margins.
    gui::TRect CalcHintRect(int maxWidth, const std::string& hint, void* data) override;
    // Sizes the window to the hint from rect's top-left, keeps it on the
    // monitor nearest that point and shows it.
    void ActivateHint(gui::TRect rect, const std::string& hint) override;
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }

protected:
    void Paint() override;

private:
    // Measures the hint as the window shows it within r.
    void Measure(const std::string& hint, gui::TRect r, int& width, int& height);
    int FTextHeight = 0;
    int FTextWidth = 0;
    std::string FWideCaption;
};

// The font name of the grid whose hint is being prepared.
void SetHTMLHintFontName(const std::string& name);
const std::string& HTMLHintFontName();

// Balloon text: leading CR, LF and TAB skipped, every TAB a blank, and a
// text over 2048 characters (UTF-16 units) cut to 2045 + "...".
std::string PrepareBalloonText(const std::string& text);
// A title over 100 characters cut to 97 + "...".
std::string PrepareBalloonTitle(const std::string& title);

} // namespace grid
