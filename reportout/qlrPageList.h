// The preview's page layout: pages laid out in centred rows with 10-pixel
// gaps, the page at a workspace position (bisection), and page rectangles.
//
// The rule a caller must know: sizes and offsets are workspace pixels at
// the zoom given to AppendPage; call LayOutRows after appending and after
// every change of the client width.
//
// Example:
//   qlr::TqlrPageList list;
//   for (int i = 0; i < 3; ++i) list.AppendPage(100, 150, 1);
//   list.LayOutRows(500);                 // OffsetX 100, 210, 320; OffsetY 10
//   gui::TRect r = list.PageRect(1, 500, 1, false);
#pragma once

#include <vector>

#include "platform/gui/Types.h"

namespace qlr {

struct TqlrPageItem {
    int Height = 0, Width = 0;
    // Top-left in the unscrolled workspace, before right-to-left mirroring.
    int OffsetX = 0, OffsetY = 0;
};

class TqlrPageList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    const TqlrPageItem& Items(int index) const { return FItems.at(index); }
    void Clear() { FItems.clear(); FMaxWidth = 0; }
    // Width and height times zoom, each rounded.
    void AppendPage(int width, int height, long double zoom);
    void LayOutRows(int clientWidth);
    // With offsetX 0: the page at the top of a view whose top is offsetY (a
    // page counts once its top is within a fifth of its height below that
    // line); otherwise the page holding the point, or the page of the
    // bisection when none holds it.  -1 for an empty list.
    int PageAtOffset(int offsetY, int offsetX) const;
    // The page's rectangle; an index outside the list gives a centred A4
    // page at scale.
    gui::TRect PageRect(int index, int clientWidth, long double scale, bool rtl) const;
    // (widest row with its trailing gap, bottom of the last page).
    gui::TPoint TotalExtent() const;

    int FMaxWidth = 0;

private:
    std::vector<TqlrPageItem> FItems;
};

} // namespace qlr
