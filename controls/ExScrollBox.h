// TExScrollBox: a scroll box that shows its parent's background through
// itself, draws a one-pixel frame in BorderColor over its border (only
// with Ctl3D off and a border style), repaints wholly on every scroll and
// reports scrolling through four events (a step, and the end of a scroll
// when the mouse lets go of the bar).
//
//     auto* box = new controls::TExScrollBox(form);
//     box->SetParent(form);
//     box->SetAlign(gui::TAlign::alClient);
//     box->SetBorderColor(gui::clNavy);
//     box->OnVScrollEnd = [](rtl::TObject*) { ... };
#pragma once

#include <string>

#include "platform/gui/Forms.h"

namespace controls {

class TExScrollBox : public gui::TScrollBox {
public:
    explicit TExScrollBox(rtl::TComponent* owner);
    ~TExScrollBox() override;

    gui::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(gui::TColor c);
    std::string Version() const;
    void SetVersion(const std::string&) {}
    static constexpr uint32_t GetVersionNr() { return 0x01010001; }

    rtl::TNotifyEvent OnHScroll, OnVScroll, OnHScrollEnd, OnVScrollEnd;

    void Dispatch(gui::TMessage& m) override;

protected:
    // The own surface: the parent's background, then (by the library) the children.
    void PaintWindow(gui::TCanvas* canvas) override;

private:
    void DrawBorder(gui::TCanvas* windowCanvas);
    gui::TColor FBorderColor = 0xC0C0C0;
};

} // namespace controls
