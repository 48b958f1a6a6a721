// Row layout, bisection and page bounds of the preview's page list.

#include "reportout/qlrPageList.h"

#include <algorithm>
#include <cmath>

namespace qlr {

namespace {

constexpr int Gap = 10;

int Round(long double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

void TqlrPageList::AppendPage(int width, int height, long double zoom)
{
    TqlrPageItem item;
    item.Width = Round(width * zoom);
    item.Height = Round(height * zoom);
    FItems.push_back(item);
}

void TqlrPageList::LayOutRows(int clientWidth)
{
    FMaxWidth = 0;
    int top = Gap;
    size_t i = 0;
    while (i < FItems.size()) {
        const size_t first = i;
        int w = 0, h = 0;
        while (i < FItems.size()) {
            TqlrPageItem& item = FItems[i];
            if (w > 0 && w + item.Width > clientWidth) break;
            item.OffsetX = w;
            item.OffsetY = top;
            h = std::max(h, item.Height);
            w += item.Width + Gap;
            ++i;
        }
        FMaxWidth = std::max(FMaxWidth, w);
        int shift = (clientWidth - w + Gap) / 2;
        if (shift < 0) shift = 0;
        shift += Gap;
        for (size_t j = first; j < i; ++j) FItems[j].OffsetX += shift;
        top += h + Gap;
    }
}

int TqlrPageList::PageAtOffset(int offsetY, int offsetX) const
{
    if (FItems.empty()) return -1;
    // The last item whose top is at or above the line (with a fifth of its
    // height of grace when looking for the page at the top of the view).
    int lo = 0, hi = Count() - 1, found = 0;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const TqlrPageItem& item = FItems[mid];
        const int d = offsetX == 0 ? Round(item.Height / 5.0L) : 0;
        if (item.OffsetY <= offsetY + d) {
            found = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    if (offsetX != 0) {
        const int from = std::max(0, found - 20), to = std::min(Count() - 1, found + 20);
        for (int j = from; j <= to; ++j) {
            const TqlrPageItem& item = FItems[j];
            if (offsetX >= item.OffsetX && offsetX < item.OffsetX + item.Width && offsetY >= item.OffsetY &&
                offsetY < item.OffsetY + item.Height)
                return j;
        }
    }
    return found;
}

gui::TRect TqlrPageList::PageRect(int index, int clientWidth, long double scale, bool rtl) const
{
    gui::TRect r;
    if (index < 0 || index >= Count()) {
        const long double w = 794 * scale;
        const long double left = clientWidth >= w ? std::nearbyint((clientWidth - w) / 2) : 10;
        r.Left = static_cast<int>(left);
        r.Top = Round(10 * scale);
        r.Right = Round(left + w);
        r.Bottom = r.Top + Round(1123 * scale);
        return r;
    }
    const TqlrPageItem& item = FItems[index];
    r.Left = rtl ? clientWidth - item.Width - item.OffsetX : item.OffsetX;
    r.Top = item.OffsetY;
    r.Right = r.Left + item.Width;
    r.Bottom = r.Top + item.Height;
    return r;
}

gui::TPoint TqlrPageList::TotalExtent() const
{
    if (FItems.empty()) return {0, 0};
    const TqlrPageItem& last = FItems.back();
    return {FMaxWidth, last.OffsetY + last.Height};
}

} // namespace qlr
