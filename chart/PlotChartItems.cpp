#include "chart/PlotChartItems.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace chart {

namespace {

// Kinds whose (x2, y2) is a second chart point or the half axes.
bool HasSecondPoint(TrcItem k)
{
    return k == TrcItem::tkLine || k == TrcItem::tkRect || k == TrcItem::tkRectFrame ||
           k == TrcItem::tk3DBar || k == TrcItem::tkEllipse || k == TrcItem::tkArrow;
}

bool IsPixelRelative(TrcItem k)
{
    return k == TrcItem::tkMoveRelPix || k == TrcItem::tkLineRelPix || k == TrcItem::tkRectRelPix;
}

} // namespace

std::string ItemText(const TrcChartItem& item)
{
    return std::string(item.TextChars, std::min<std::size_t>(item.TextLen, sizeof item.TextChars));
}

void SetItemText(TrcChartItem& item, const std::string& text, int maxLength)
{
    const std::size_t n = std::min<std::size_t>(text.size(), std::clamp(maxLength, 0, 17));
    std::memset(item.TextChars, 0, sizeof item.TextChars);
    std::memcpy(item.TextChars, text.data(), n);
    item.TextLen = static_cast<uint8_t>(n);
}

bool ItemMatches(const TrcChartItem& item, TrcItem itemID)
{
    switch (itemID) {
    case TrcItem::tkNone: return false;
    case TrcItem::tkEverything: return true;
    case TrcItem::tkNotMoveTo: return item.ItemKind != TrcItem::tkMoveTo;
    default: return item.ItemKind == itemID;
    }
}

// ------------------------------------------------------------ the list

TChartItemStore::TChartItemStore() : FData(std::make_shared<TData>()) {}

TChartItemStore::~TChartItemStore()
{
    // The users of this list keep what they show; each becomes an owner of
    // nothing with a copy of its own.
    for (TChartItemStore* u : FUsers) {
        u->FOwner = nullptr;
        u->FData = std::make_shared<TData>(*FData);
    }
    FUsers.clear();
    Leave(false);
}

void TChartItemStore::SetAllocSize(int v)
{
    if (v >= 1 && v <= 1000000) FAllocSize = v;
}

void TChartItemStore::Append(const TrcChartItem& item)
{
    TData& d = *FData;
    if (d.Num >= d.Allocated) {
        d.Allocated += FAllocSize;
        d.Items.resize(static_cast<std::size_t>(d.Allocated));
    }
    d.Items[static_cast<std::size_t>(d.Num++)] = item;
}

void TChartItemStore::AppendLoaded(const std::vector<TrcChartItem>& items, bool replace)
{
    if (replace) Clear();
    TData& d = *FData;
    const int n = d.Num + static_cast<int>(items.size());
    d.Items.resize(static_cast<std::size_t>(std::max(n, 1)));
    std::copy(items.begin(), items.end(), d.Items.begin() + d.Num);
    d.Num = n;
    d.Allocated = n;
}

void TChartItemStore::Clear()
{
    TData& d = *FData;
    d.Items.assign(1, TrcChartItem{});
    d.Num = 0;
    d.Allocated = 0;
}

void TChartItemStore::RemoveLastItem()
{
    if (FData->Num > 0) RemoveItem(FData->Num - 1);
}

void TChartItemStore::RemoveItem(int index)
{
    TData& d = *FData;
    if (index < 0 || index >= d.Num) return;
    if (d.Num == 1) {
        Clear();
        return;
    }
    std::copy(d.Items.begin() + index + 1, d.Items.begin() + d.Num, d.Items.begin() + index);
    --d.Num;
}

int TChartItemStore::RemoveItemsByClass(uint8_t classNumber)
{
    TData& d = *FData;
    int kept = 0;
    for (int i = 0; i < d.Num; ++i)
        if (d.Items[static_cast<std::size_t>(i)].ItemClass != classNumber)
            d.Items[static_cast<std::size_t>(kept++)] = d.Items[static_cast<std::size_t>(i)];
    const int removed = d.Num - kept;
    d.Num = kept;
    return removed;
}

TrcChartItem TChartItemStore::GetItemParams(int index) const
{
    if (index < 0 || index >= FData->Num) return TrcChartItem{};
    return (*this)[index];
}

void TChartItemStore::SetItemParams(int index, const TrcChartItem& params)
{
    if (index < 0 || index >= FData->Num) return;
    if (params.ItemKind == TrcItem::tkNone || params.ItemKind == TrcItem::tkEverything) return;
    FData->Items[static_cast<std::size_t>(index)] = params;
}

void TChartItemStore::ScaleItem(int index, double kx, double dx, double ky, double dy)
{
    if (index < 0 || index >= FData->Num) return;
    TrcChartItem& it = FData->Items[static_cast<std::size_t>(index)];
    it.x = kx * it.x + dx;
    it.y = ky * it.y + dy;
    if (HasSecondPoint(it.ItemKind)) {
        it.x2 = kx * it.x2 + dx;
        it.y2 = ky * it.y2 + dy;
    }
}

void TChartItemStore::ScaleAllItems(double kx, double dx, double ky, double dy)
{
    for (int i = 0; i < FData->Num; ++i) ScaleItem(i, kx, dx, ky, dy);
}

void TChartItemStore::ScaleSelectedItems(double kx, double dx, double ky, double dy, uint8_t classNumber)
{
    for (int i = 0; i < FData->Num; ++i)
        if ((*this)[i].ItemClass == classNumber) ScaleItem(i, kx, dx, ky, dy);
}

void TChartItemStore::NewColorOfClassItems(TColor color, uint8_t classNumber)
{
    for (int i = 0; i < FData->Num; ++i) {
        TrcChartItem& it = FData->Items[static_cast<std::size_t>(i)];
        if (classNumber == 255 || it.ItemClass == classNumber) it.Color = color;
    }
}

void TChartItemStore::MarkAllItems(TrcItem itemID, uint8_t classNumber)
{
    if (classNumber == 255) return;
    for (int i = 0; i < FData->Num; ++i) {
        TrcChartItem& it = FData->Items[static_cast<std::size_t>(i)];
        if (ItemMatches(it, itemID)) it.ItemClass = classNumber;
    }
}

int TChartItemStore::MarkItemsInWindow(double xLo, double yLo, double xHi, double yHi, TrcItem itemID,
                                       uint8_t classNumber)
{
    if (classNumber == 255 || itemID == TrcItem::tkNone) return 0;
    if (xLo > xHi) std::swap(xLo, xHi);
    if (yLo > yHi) std::swap(yLo, yHi);
    int n = 0;
    for (int i = 0; i < FData->Num; ++i) {
        TrcChartItem& it = FData->Items[static_cast<std::size_t>(i)];
        if (ItemMatches(it, itemID) && xLo <= it.x && it.x <= xHi && yLo <= it.y && it.y <= yHi) {
            it.ItemClass = classNumber;
            ++n;
        }
    }
    return n;
}

int TChartItemStore::Nearest(double mx, double my, TrcItem itemID, uint8_t classNumber,
                             const TPointMap* map, double& dist) const
{
    double best = NoDistance;
    int result = -1;
    double px = mx, py = my;
    if (map) (*map)(mx, my, px, py);
    for (int i = 0; i < FData->Num; ++i) {
        const TrcChartItem& it = (*this)[i];
        if (!ItemMatches(it, itemID) || !(classNumber == 255 || it.ItemClass == classNumber)) continue;
        double ix = it.x, iy = it.y;
        if (map) (*map)(it.x, it.y, ix, iy);
        const double d2 = (ix - px) * (ix - px) + (iy - py) * (iy - py);
        if (d2 < best) {
            best = d2;
            result = i;
        }
    }
    dist = std::sqrt(best);
    return result;
}

int TChartItemStore::FindNearestItemReal(double mx, double my, TrcItem itemID, uint8_t classNumber,
                                         double& dist) const
{
    return Nearest(mx, my, itemID, classNumber, nullptr, dist);
}

int TChartItemStore::FindNearestItemMapped(double mx, double my, TrcItem itemID, uint8_t classNumber,
                                           const TPointMap& map, double& dist) const
{
    return Nearest(mx, my, itemID, classNumber, &map, dist);
}

void TChartItemStore::FindMinMax(int layer, double rangeLoX, double rangeLoY, double rangeHiX,
                                 double rangeHiY, double& minX, double& minY, double& maxX,
                                 double& maxY) const
{
    minX = minY = NoDistance;
    maxX = maxY = -NoDistance;
    auto count = [&](double x, double y) {
        if (!(rangeLoX < x && x < rangeHiX && rangeLoY < y && y < rangeHiY)) return;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (int i = 0; i < FData->Num; ++i) {
        const TrcChartItem& it = (*this)[i];
        if (layer != 0 && it.Layer != layer) continue;
        if (IsPixelRelative(it.ItemKind)) continue;
        count(it.x, it.y);
        if (HasSecondPoint(it.ItemKind) && it.ItemKind != TrcItem::tkEllipse) count(it.x2, it.y2);
    }
}

std::bitset<17> TChartItemStore::FindUsedLayers() const
{
    std::bitset<17> used;
    for (int i = 0; i < FData->Num; ++i) {
        const int l = (*this)[i].Layer;
        if (l >= 1 && l <= 16) used.set(static_cast<std::size_t>(l));
    }
    return used;
}

TrcItem TChartItemStore::TypeOfFirstItem() const
{
    return FData->Num > 0 ? (*this)[0].ItemKind : TrcItem::tkNone;
}

TrcItem TChartItemStore::TypeOfLastItem() const
{
    return FData->Num > 0 ? (*this)[FData->Num - 1].ItemKind : TrcItem::tkNone;
}

// ------------------------------------------------------------- sharing

void TChartItemStore::Leave(bool keepCopy)
{
    if (!FOwner) return;
    auto& users = FOwner->FUsers;
    users.erase(std::remove(users.begin(), users.end(), this), users.end());
    FOwner = nullptr;
    // Keep the items last shared, as a list of its own.
    if (keepCopy) FData = std::make_shared<TData>(*FData);
}

std::string TChartItemStore::SetUseDataOf(TChartItemStore* q)
{
    if (q == this) return "PlotChart: Cannot share data with myself";
    if (!FUsers.empty()) return "PlotChart: Cannot use foreign data. Other PlotCharts are using my own data.";
    if (q == FOwner) return {};
    if (!q) {
        Leave(true);
        return {};
    }
    if (q->FOwner) q = q->FOwner;   // groups have one level
    if (q == this) return "PlotChart: Cannot share data with myself";
    if (q == FOwner) return {};
    if (q->FUsers.size() >= 4) return "PlotChart: Max. number of data shares exceeded";
    Leave(false);
    FOwner = q;
    FData = q->FData;
    q->FUsers.push_back(this);
    return {};
}

} // namespace chart
