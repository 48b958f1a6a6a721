#include "platform/gui/BalloonTip.h"

#include <algorithm>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Monitors.h"
#include "platform/gui/PopupWindows.h"

namespace gui {

namespace {
constexpr int kMargin = 8;
constexpr int kStem = 12;
constexpr int kIcon = 16;
constexpr int kMaxTextWidth = 300;

int OrDefault(int v, int def) { return v < 0 ? def : v; }

TColor IconColor(int icon)
{
    switch (icon) {
    case TTI_INFO: return 0xC07000;     // blue
    case TTI_WARNING: return 0x00C0F0;  // amber
    case TTI_ERROR: return 0x0000D0;    // red
    default: return clNone;
    }
}
} // namespace

TBalloonTip::TBalloonTip(TWinControl* owner) : TCustomControl(owner)
{
    SetVisible(false);
    FDelay = new TTimer(this);
    FDelay->SetEnabled(false);
    FDelay->OnTimer = [this](rtl::TObject*) {
        FDelay->SetEnabled(false);
        ShowAt(FStem);
    };
    FHide = new TTimer(this);
    FHide->SetEnabled(false);
    FHide->OnTimer = [this](rtl::TObject*) { Pop(); };
}

TBalloonTip::~TBalloonTip() = default;

void TBalloonTip::SetTitle(const std::string& v) { FTitle = v; if (Visible()) Layout(); }
void TBalloonTip::SetText(const std::string& v) { FText = v; if (Visible()) Layout(); }
void TBalloonTip::SetIcon(int v) { FIcon = std::clamp(v, 0, 3); Invalidate(); }
void TBalloonTip::SetTextColor(TColor v) { FTextColor = v; Invalidate(); }
void TBalloonTip::SetBackColor(TColor v) { FBackColor = v; Invalidate(); }

int TBalloonTip::AlphaBlendValue() const { return WindowAlpha(this); }
void TBalloonTip::SetAlphaBlendValue(int alpha) { SetWindowAlpha(this, alpha); }

bool TBalloonTip::Pending() const { return FDelay->Enabled(); }

void TBalloonTip::Popup(TPoint stem)
{
    FStem = stem;
    // Shown a moment ago (or still showing): the shorter reshow delay.
    const bool recent = Visible() || (EverShown && TTimer::ClockNow() - FLastPop < 500);
    const int delay = recent ? OrDefault(FReshowDelay, 100) : OrDefault(FInitialDelay, 500);
    if (delay == 0) {
        ShowAt(stem);
        return;
    }
    FDelay->SetEnabled(false);
    FDelay->SetInterval(static_cast<unsigned>(delay));
    FDelay->SetEnabled(true);
}

void TBalloonTip::Layout()
{
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    TRect tr{0, 0, kMaxTextWidth, 0};
    if (!FText.empty()) c->DrawText(FText, tr, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    c->Font()->SetStyle({TFontStyle::fsBold});
    const int titleW = FTitle.empty() ? 0 : c->TextWidth(FTitle) + (FIcon ? kIcon + 6 : 0);
    const int titleH = FTitle.empty() && !FIcon ? 0 : std::max(kIcon, c->TextHeight("Hg")) + 4;
    c->Font()->Assign(Font());
    const int w = std::max(titleW, tr.Width()) + 2 * kMargin;
    const int h = titleH + tr.Height() + 2 * kMargin;
    // Under the point unless the work area ends first.
    const TMonitorArea mon = MonitorFromPoint(FStem);
    FStemUp = FStem.Y + kStem + h <= mon.WorkareaRect.Bottom;
    int left = std::clamp(FStem.X - 20, mon.WorkareaRect.Left, std::max(mon.WorkareaRect.Left, mon.WorkareaRect.Right - w));
    const int top = FStemUp ? FStem.Y : FStem.Y - kStem - h;
    FBody = FStemUp ? Rect(0, kStem, w, kStem + h) : Rect(0, 0, w, h);
    if (Parent() && !IsPopupWindow(this)) SetPopupWindow(this, TPopupWindowOptions{true, false});
    SetBounds(left, top, w, h + kStem);
    // The outline: the body with the stem towards the point.
    const int sx = std::clamp(FStem.X - left, 4, w - 4);
    const int base = std::clamp(sx, 10, std::max(10, w - 26));
    std::vector<TPoint> shape;
    if (FStemUp)
        shape = {{0, kStem}, {base, kStem}, {sx, 0}, {base + 16, kStem}, {w, kStem}, {w, kStem + h}, {0, kStem + h}};
    else
        shape = {{0, 0}, {w, 0}, {w, h}, {base + 16, h}, {sx, h + kStem}, {base, h}, {0, h}};
    FShape = shape;
    SetWindowShape(this, shape);
    Invalidate();
}

void TBalloonTip::ShowAt(TPoint stem)
{
    FDelay->SetEnabled(false);
    FStem = stem;
    if (!Parent()) {
        if (auto* owner = dynamic_cast<TControl*>(Owner()))
            if (TCustomForm* f = gui::GetParentForm(owner)) SetParent(f);
    }
    Layout();
    Show();
    EverShown = true;
    FHide->SetEnabled(false);
    const int hide = OrDefault(FAutoHideDelay, 5000);
    if (hide > 0) {
        FHide->SetInterval(static_cast<unsigned>(hide));
        FHide->SetEnabled(true);
    }
    if (OnShow) OnShow(this);
}

void TBalloonTip::Pop()
{
    FDelay->SetEnabled(false);
    FHide->SetEnabled(false);
    if (!Visible()) return;
    Hide();
    FLastPop = TTimer::ClockNow();
    if (OnPop) OnPop(this);
}

void TBalloonTip::Paint()
{
    TCanvas* c = Canvas();
    const TColor back = FBackColor == clNone ? clInfoBk : FBackColor;
    const TColor fore = FTextColor == clNone ? clInfoText : FTextColor;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(back);
    c->Pen()->SetColor(clGray);
    c->Polygon(FShape);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    int y = FBody.Top + kMargin;
    int x = FBody.Left + kMargin;
    if (FIcon) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(IconColor(FIcon));
        c->Pen()->SetColor(IconColor(FIcon));
        c->Ellipse(x, y, x + kIcon, y + kIcon);
        c->Font()->Assign(Font());
        c->Font()->SetColor(clWhite);
        c->Font()->SetStyle({TFontStyle::fsBold});
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        const std::string mark = FIcon == TTI_INFO ? "i" : FIcon == TTI_WARNING ? "!" : "x";
        c->TextOut(x + (kIcon - c->TextWidth(mark)) / 2, y + (kIcon - c->TextHeight(mark)) / 2, mark);
        x += kIcon + 6;
    }
    c->Font()->Assign(Font());
    c->Font()->SetColor(fore);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    if (!FTitle.empty() || FIcon) {
        c->Font()->SetStyle({TFontStyle::fsBold});
        const int th = c->TextHeight("Hg");
        c->TextOut(x, y + std::max(0, (kIcon - th) / 2), FTitle);
        y += std::max(kIcon, th) + 4;
        c->Font()->SetStyle({});
    }
    TRect tr{FBody.Left + kMargin, y, FBody.Right - kMargin, FBody.Bottom - kMargin + 2};
    c->DrawText(FText, tr, DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace gui
