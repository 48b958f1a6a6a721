// BalloonTip: TBalloonTip, a tooltip in the form of a balloon (a title with
// an icon, a text, a stem pointing at a screen point) that floats above
// every window without taking the focus.  It appears after an initial
// delay (the reshow delay when a balloon was shown a moment ago) and hides
// itself after the auto-hide delay; the delays run on TTimer, so tests
// drive them with the manual clock.
//
// The rule a caller must know: Popup schedules, ShowAt shows at once, Pop
// hides and cancels what was scheduled.  Delays below 0 take the defaults
// (500, 100 and 5000 ms); 0 means at once (auto-hide 0: never).
//
//   gui::TBalloonTip tip(grid);                // grid: a windowed control on a form
//   tip.SetTitle("Total");
//   tip.SetText("The sum of the column");
//   tip.SetIcon(gui::TTI_INFO);
//   tip.Popup(grid->ClientToScreen({40, 22}));
#pragma once

#include <string>
#include <vector>

#include "platform/gui/Controls.h"

namespace gui {

class TTimer;

enum : int { TTI_NONE = 0, TTI_INFO = 1, TTI_WARNING = 2, TTI_ERROR = 3 };

class TBalloonTip : public TCustomControl {
public:
    // A pop-up of owner's form (owner must have one when it shows).
    explicit TBalloonTip(TWinControl* owner);
    ~TBalloonTip() override;

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    int Icon() const { return FIcon; }
    void SetIcon(int v);
    // clNone: the system's tooltip colours.
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor v);
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor v);
    int InitialDelay() const { return FInitialDelay; }
    void SetInitialDelay(int ms) { FInitialDelay = ms; }
    int ReshowDelay() const { return FReshowDelay; }
    void SetReshowDelay(int ms) { FReshowDelay = ms; }
    int AutoHideDelay() const { return FAutoHideDelay; }
    void SetAutoHideDelay(int ms) { FAutoHideDelay = ms; }
    // 255 opaque; lower values let what lies below show through.
    int AlphaBlendValue() const;
    void SetAlphaBlendValue(int alpha);

    // Shows the balloon pointing at the screen point after the delay.
    void Popup(TPoint stem);
    void ShowAt(TPoint stem);
    void Pop();
    bool Showing() const { return Visible(); }
    // Whether a Popup waits for its delay.
    bool Pending() const;
    TPoint StemPoint() const { return FStem; }
    // The stem points up (balloon under the point) unless the balloon does
    // not fit under it in the monitor's work area.
    bool StemUp() const { return FStemUp; }

    rtl::TNotifyEvent OnShow;
    rtl::TNotifyEvent OnPop;

protected:
    void Paint() override;

private:
    void Layout();
    TTimer* FDelay;
    TTimer* FHide;
    std::string FTitle, FText;
    int FIcon = TTI_NONE;
    TColor FTextColor = clNone, FBackColor = clNone;
    int FInitialDelay = -1, FReshowDelay = -1, FAutoHideDelay = -1;
    TPoint FStem;
    bool FStemUp = true;
    uint64_t FLastPop = 0;
    bool EverShown = false;
    TRect FBody;
    std::vector<TPoint> FShape;
};

} // namespace gui
