// The scrolling window and the colour and font helpers.

#include "reportout/qlrCtrls.h"

#include <algorithm>

#include "platform/gui/Messages.h"

namespace qlr {

gui::TColor MixColors(gui::TColor c1, gui::TColor c2, int a)
{
    const gui::TColor r1 = gui::ColorToRGB(c1), r2 = gui::ColorToRGB(c2);
    const int b = a >= 100 ? 1000 : 100;
    auto channel = [&](int shift) {
        const int v1 = (r1 >> shift) & 0xFF, v2 = (r2 >> shift) & 0xFF;
        return static_cast<gui::TColor>(((v2 * (b - a) + v1 * a + b / 2) / b) & 0xFF) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

int GetFontHeight(const gui::TFont* font)
{
    gui::TBitmap screen;
    screen.SetSize(1, 1);
    screen.Canvas()->SetFont(font);
    return screen.Canvas()->GetTextMetrics().tmHeight;
}

// --- TqlrScrollWin ----------------------------------------------------------

TqlrScrollWin::TqlrScrollWin(rtl::TComponent* owner) : gui::TCustomControl(owner)
{
    const int size = gui::GetSystemMetrics(gui::SM_CXVSCROLL);
    FVertBar = new gui::TScrollBar(this);
    FVertBar->SetKind(gui::TScrollBarKind::sbVertical);
    FVertBar->SetWidth(size);
    FVertBar->SetAlign(gui::TAlign::alRight);
    FVertBar->SetParent(this);
    FHorzBar = new gui::TScrollBar(this);
    FHorzBar->SetKind(gui::TScrollBarKind::sbHorizontal);
    FHorzBar->SetHeight(gui::GetSystemMetrics(gui::SM_CYHSCROLL));
    FHorzBar->SetAlign(gui::TAlign::alBottom);
    FHorzBar->SetParent(this);
    // The bars report their requests as the scroll messages of this window.
    auto forward = [this](uint32_t msg) {
        return [this, msg](rtl::TObject*, gui::TScrollCode code, int& pos) {
            gui::TMessage m;
            m.Msg = msg;
            m.WParam = gui::MAKEWPARAM(static_cast<int>(code), pos & 0xFFFF);
            FTrack = pos;
            Dispatch(m);
            FTrack = -1;
            pos = msg == gui::WM_VSCROLL ? FVertPosition : FHorzPosition;
        };
    };
    FVertBar->OnScroll = forward(gui::WM_VSCROLL);
    FHorzBar->OnScroll = forward(gui::WM_HSCROLL);
    UpdateBar(FHorzBar, 0, 0, 0);
    UpdateBar(FVertBar, 0, 0, 0);
}

TqlrScrollWin::~TqlrScrollWin() = default;

void TqlrScrollWin::SetBorderStyle(gui::TBorderStyle value)
{
    FBorderStyle = value;
    SetBorderWidth(value == gui::TBorderStyle::bsSingle ? 2 : 0);
    if (HandleAllocated()) RecreateWnd();
}

void TqlrScrollWin::UpdateBar(gui::TScrollBar* bar, int range, int page, int position)
{
    bar->SetParams(0, 0, range < page ? 0 : range);
    bar->SetPageSize(std::max(0, page));
    bar->SetParams(position, 0, range < page ? 0 : range);
    bar->SetVisible(range > page);
}

void TqlrScrollWin::FitPagesToView()
{
    const int cw = ClientWidth(), ch = ClientHeight();
    const int vw = FVertBar->Width(), hh = FHorzBar->Height();
    bool horz = FHorzRange > cw, vert = FVertRange > ch;
    // A bar that shows takes room from the other direction.
    if (horz && !vert) vert = FVertRange > ch - hh;
    if (vert && !horz) horz = FHorzRange > cw - vw;
    FHorzPage = std::max(0, cw - (vert ? vw : 0));
    FVertPage = std::max(0, ch - (horz ? hh : 0));
    UpdateBar(FHorzBar, FHorzRange, FHorzPage, FHorzPosition);
    UpdateBar(FVertBar, FVertRange, FVertPage, FVertPosition);
    SetHorzPosition(FHorzPosition);
    SetVertPosition(FVertPosition);
}

void TqlrScrollWin::SetHorzRange(int value)
{
    FHorzRange = value;
    UpdateBar(FHorzBar, FHorzRange, FHorzPage, FHorzPosition);
}

void TqlrScrollWin::SetHorzPage(int value)
{
    FHorzPage = value;
    UpdateBar(FHorzBar, FHorzRange, FHorzPage, FHorzPosition);
}

void TqlrScrollWin::SetVertRange(int value)
{
    FVertRange = value;
    UpdateBar(FVertBar, FVertRange, FVertPage, FVertPosition);
}

void TqlrScrollWin::SetVertPage(int value)
{
    FVertPage = value;
    UpdateBar(FVertBar, FVertRange, FVertPage, FVertPosition);
}

namespace {

int Clamp(int value, int range, int page)
{
    const int top = std::max(0, range - page);
    return std::clamp(value, 0, top);
}

} // namespace

void TqlrScrollWin::SetHorzPosition(int value)
{
    value = Clamp(value, FHorzRange, FHorzPage);
    if (value == FHorzPosition) return;
    FHorzPosition = value;
    FHorzBar->SetPosition(value);
    HorzPositionChanged();
}

void TqlrScrollWin::SetVertPosition(int value)
{
    value = Clamp(value, FVertRange, FVertPage);
    if (value == FVertPosition) return;
    FVertPosition = value;
    FVertBar->SetPosition(value);
    VertPositionChanged();
}

bool TqlrScrollWin::ScrollTarget(int code, int position, int range, int track, int& target) const
{
    switch (code) {
    case gui::SB_LINEUP: target = position - FSmallChange; return true;
    case gui::SB_LINEDOWN: target = position + FSmallChange; return true;
    case gui::SB_PAGEUP: target = position - FLargeChange; return true;
    case gui::SB_PAGEDOWN: target = position + FLargeChange; return true;
    case gui::SB_THUMBPOSITION:
    case gui::SB_THUMBTRACK: target = track; return true;
    case gui::SB_TOP: target = 0; return true;
    case gui::SB_BOTTOM: target = range; return true;
    default: return false;
    }
}

void TqlrScrollWin::Dispatch(gui::TMessage& message)
{
    if (message.Msg == gui::WM_HSCROLL || message.Msg == gui::WM_VSCROLL) {
        const bool vert = message.Msg == gui::WM_VSCROLL;
        // The 32-bit track position of the bar when it reported the
        // request, else the 16-bit position of the message.
        const int track = FTrack >= 0 ? FTrack : message.WParamHi();
        int target = 0;
        if (ScrollTarget(message.WParamLo(), vert ? FVertPosition : FHorzPosition, vert ? FVertRange : FHorzRange,
                         track, target)) {
            if (vert)
                SetVertPosition(target);
            else
                SetHorzPosition(target);
        }
        message.Result = 0;
        return;
    }
    if (message.Msg == gui::WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    if (message.Msg == gui::WM_GETDLGCODE) {
        message.Result = 7;
        return;
    }
    gui::TCustomControl::Dispatch(message);
}

int TqlrScrollWin::ViewWidth() const
{
    return std::max(0, ClientWidth() - (FVertBar->Visible() ? FVertBar->Width() : 0));
}

int TqlrScrollWin::ViewHeight() const
{
    return std::max(0, ClientHeight() - (FHorzBar->Visible() ? FHorzBar->Height() : 0));
}

void TqlrScrollWin::Paint()
{
    gui::TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    gui::TRect r = ClientRect();
    c->FillRect(r);
    if (FBorderStyle == gui::TBorderStyle::bsSingle) c->DrawEdge(r, gui::EDGE_SUNKEN, gui::BF_RECT);
}

} // namespace qlr
