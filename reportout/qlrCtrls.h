// The preview's base controls: TqlrScrollWin, a custom control with its own
// horizontal and vertical scroll bars over plain pixel ranges, and two small
// helpers (the height of a font, the mix of two colours).
//
// The rule a caller must know: a position assigned is clamped to
// 0..max(0, range - page); assigning the current position again does
// nothing, any other change calls HorzPositionChanged / VertPositionChanged.
// Assigning a range or a page does not re-clamp the position.  A bar shows
// only while its range exceeds its page; FitPagesToView sets both pages to
// the view that the needed bars leave.
//
// Example:
//   ws->SetVertRange(1000); ws->SetVertPage(300);
//   ws->SetVertPosition(1200);      // VertPosition() == 700
//   ws->SetHorzRange(500); ws->FitPagesToView();
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"

namespace qlr {

// The mix of c1 and c2 with a the share of c1 in percent (a < 100) or per
// mille (a >= 100); system colours are resolved first.
gui::TColor MixColors(gui::TColor c1, gui::TColor c2, int a);
// The height of a font's text metrics on the screen.
int GetFontHeight(const gui::TFont* font);

class TqlrScrollWin : public gui::TCustomControl {
public:
    explicit TqlrScrollWin(rtl::TComponent* owner);
    ~TqlrScrollWin() override;

    gui::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(gui::TBorderStyle value);

    int HorzRange() const { return FHorzRange; }
    int HorzPage() const { return FHorzPage; }
    int HorzPosition() const { return FHorzPosition; }
    int VertRange() const { return FVertRange; }
    int VertPage() const { return FVertPage; }
    int VertPosition() const { return FVertPosition; }
    void SetHorzRange(int value);
    void SetHorzPage(int value);
    void SetHorzPosition(int value);
    void SetVertRange(int value);
    void SetVertPage(int value);
    void SetVertPosition(int value);

    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }

    // The two scroll bars (shown at the right and bottom edges).
    gui::TScrollBar* HorzScrollBar() const { return FHorzBar; }
    gui::TScrollBar* VertScrollBar() const { return FVertBar; }

    void Dispatch(gui::TMessage& message) override;

    // The client area less the scroll bars shown.
    int ViewWidth() const;
    int ViewHeight() const;
    // Shows each bar only when its range does not fit the view, minding
    // that one bar shown narrows the view of the other; then sets both
    // pages to the view and clamps the positions into the new limits.
    void FitPagesToView();

protected:
    virtual void HorzPositionChanged() {}
    virtual void VertPositionChanged() {}
    void Paint() override;

private:
    // The new position of a scroll request (SB_* code); false: ignored.
    bool ScrollTarget(int code, int position, int range, int track, int& target) const;
    void UpdateBar(gui::TScrollBar* bar, int range, int page, int position);

    gui::TBorderStyle FBorderStyle = gui::TBorderStyle::bsNone;
    int FHorzRange = 0, FHorzPage = 0, FHorzPosition = 0;
    int FVertRange = 0, FVertPage = 0, FVertPosition = 0;
    int FSmallChange = 1, FLargeChange = 10;
    gui::TScrollBar* FHorzBar = nullptr;
    gui::TScrollBar* FVertBar = nullptr;
    int FTrack = -1;
};

} // namespace qlr
