// The page control's mouse handling: the active tab's close glyph (hit
// test, pressed and hot states, closing), hover tracking, and reopening
// closed pages by name.

#include "controls/ExPageControl.h"

namespace controls {

using namespace gui;

bool TExPageControl::PtInCloseGlyph(int pageIndex, int x, int y) const
{
    const TRect r = PageTabRect(pageIndex);
    const int L = FTabMargin->LeftMargin(), T = FTabMargin->TopMargin(), M = FTabMargin->RightMargin();
    const bool right = FClosePosition == TClosePosition::cpRight;
    TRect hit;
    switch (TabPosition()) {
    case TTabPosition::tpLeft: {
        int x0 = r.Left + L;
        int b = right ? r.Top + M + 13 : r.Bottom - T;
        if (!FTabBackGroundActive->Empty()) {
            x0 += 2;
            b += FTabOverlap;
        }
        hit = Rect(x0 + 2, b - 13, x0 + 14, b - 2);
        break;
    }
    case TTabPosition::tpRight:
        hit = right ? Rect(r.Left + L, r.Bottom - M - 13, r.Left + L + 14, r.Bottom - M)
                    : Rect(r.Left + L + 2, r.Top + T + 2, r.Left + L + 14, r.Top + T + 13);
        break;
    default:
        hit = right ? Rect(r.Right - M - 14, r.Top + T, r.Right - M, r.Top + T + 13)
                    : Rect(r.Left + L + 2, r.Top + T + 2, r.Left + L + 14, r.Top + T + 13);
        break;
    }
    return x >= hit.Left && x < hit.Right && y >= hit.Top && y < hit.Bottom;
}

void TExPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TExTabSheet* before = FActivePage;
    FInMouseDown = true;
    FMouseDownPos = {x, y};
    try {
        TDockSite::MouseDown(button, shift, x, y);
    } catch (...) {
        FInMouseDown = false;
        throw;
    }
    FInMouseDown = false;
    FClosedOnPress = false;
    FGlyphPressed = false;
    // Only the glyph of the tab that was already active reacts; a press on
    // another tab's glyph just selects that tab.
    if (IsDesigning() || FTabBorder3D || !FActivePage || FActivePage != before || !FActivePage->ShowClose() ||
        !PtInCloseGlyph(ActivePageIndex(), x, y))
        return;
    if (DockSite()) {
        // Closed at once; the release that follows must not close the tab
        // that slides under the pointer.
        FClosedOnPress = true;
        CloseActiveTab();
        return;
    }
    FGlyphPressed = true;
    DrawCloseGlyphDown(PageTabRect(ActivePageIndex()));
}

void TExPageControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TDockSite::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    if (TControl* dragged = FDragClient) {
        FDragClient = nullptr;
        if (!ClientRect().Contains(TPoint{x, y}) && HostDockSite(dragged) == this) {
            const TPoint at = ClientToScreen({x, y});
            UndockClient(dragged);
            dragged->SetBounds(at.X, at.Y, dragged->Width(), dragged->Height());
            dragged->Show();
            return;
        }
    }
    const bool closedOnPress = FClosedOnPress, pressed = FGlyphPressed;
    FClosedOnPress = false;
    FGlyphPressed = false;
    if (closedOnPress || !pressed) return;
    if (IsDesigning() || FTabBorder3D || !FActivePage || !FActivePage->ShowClose() ||
        !PtInCloseGlyph(ActivePageIndex(), x, y)) {
        Invalidate();   // the pressed glyph goes back to normal
        return;
    }
    CloseActiveTab();
}

void TExPageControl::CloseActiveTab()
{
    TExTabSheet* sheet = FActivePage;
    if (!sheet) return;
    TExTabSheet* next = FindNextPage(sheet, true, true);
    if (!sheet->AskCanClose()) return;
    sheet->FireClose();
    SetActivePage(next);
    NotifyTabsChanged();
    FHoverClosedButton = false;
    if (FFreeOnClose) {
        delete sheet;
    } else {
        FClosedTabList->AddObject(sheet->Name(), sheet);
        sheet->FreeNotification(this);
        sheet->SetExPageControl(nullptr);
    }
    Invalidate();
}

void TExPageControl::InvalidateTab(int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= PageCount()) return;
    TRect r = PageTabRect(pageIndex);
    // The outline and the classic extension reach a pixel or two outside.
    InflateRect(r, 2, 2);
    InvalidateRect(r);
    if (OnTabInvalidated) OnTabInvalidated(pageIndex);
}

void TExPageControl::MouseMove(TShiftState shift, int x, int y)
{
    TDockSite::MouseMove(shift, x, y);
    if (IsDesigning() || FTabBorder3D || FTabHoverColor == clNone) return;
    if (FTabBackGround->Empty()) {
        const int p = PageIndexAt(x, y);
        if (p != FHoverTab && (FTabHoverColor != clNone || FTabHoverColorTo != clNone)) {
            InvalidateTab(FHoverTab);
            FHoverTab = p;
            InvalidateTab(FHoverTab);
        }
    }
    if (FActivePage && FActivePage->ShowClose()) {
        const bool on = PtInCloseGlyph(ActivePageIndex(), x, y);
        if (FHoverClosedButton && !on) {
            DrawCloseGlyph(PageTabRect(ActivePageIndex()), true);
            FHoverClosedButton = false;
        } else if (!FHoverClosedButton && on) {
            DrawCloseGlyphHot(PageTabRect(ActivePageIndex()));
            FHoverClosedButton = true;
        }
    }
}

bool TExPageControl::OpenClosedTab(const std::string& tabName)
{
    const int i = FClosedTabList->IndexOf(tabName);
    if (i < 0) return false;
    auto* sheet = static_cast<TExTabSheet*>(FClosedTabList->Objects(i));
    sheet->SetExPageControl(this);
    return true;
}

void TExPageControl::OpenAllClosedTabs()
{
    for (int i = 0; i < FClosedTabList->Count(); ++i)
        static_cast<TExTabSheet*>(FClosedTabList->Objects(i))->SetExPageControl(this);
}

void TExPageControl::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TDockSite::Notification(component, operation);
    // A closed sheet freed elsewhere leaves the list of closed tabs.
    if (operation == rtl::TOperation::opRemove && FClosedTabList)
        for (int i = FClosedTabList->Count() - 1; i >= 0; --i)
            if (FClosedTabList->Objects(i) == component) FClosedTabList->Delete(i);
}

} // namespace controls
