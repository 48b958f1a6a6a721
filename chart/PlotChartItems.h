// The chart's drawing items: the fixed 104-byte item record, and the item
// list a chart draws from first to last, with its growth, the operations
// that query and edit items in place, and the sharing of one list among a
// group of charts (an owner and at most four users).
//
// The rule a caller must know: every chart of a sharing group sees the same
// items and count after every change, because the group holds one list;
// leaving a group (or the owner going away) leaves each chart a copy of
// the items it last shared.  Indices are 0-based list positions; an index
// outside the list is ignored by every operation.
//
//     chart::TChartItemStore a, b;
//     b.SetUseDataOf(&a);                  // b shows a's items
//     chart::TrcChartItem it{};
//     it.ItemKind = chart::TrcItem::tkMarkAt;
//     a.Append(it);                        // b.NumItems() == 1 as well
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/PlotBase.h"

namespace chart {

// Item kinds.  tkNone, tkEverything and tkNotMoveTo only select items.
enum class TrcItem : uint8_t {
    tkNone, tkMarkAt, tkLine, tkLineto, tkRect, tkRectFrame, tk3DBar, tkText, tkMoveTo,
    tkEllipse, tkEverything, tkNotMoveTo, tkMoveRelPix, tkLineRelPix, tkArrow, tkTextOfs,
    tkRectRelPix
};

// One drawing item, laid out byte for byte as the record of the chart's
// binary data file (little-endian, 104 bytes).  Coordinates are in the
// chart units of the item's layer, or pixel offsets for the relative kinds.
struct TrcChartItem {
    double x, y, x2, y2;
    TColor Color, FillColor, ShadowColor, HiLightColor;
    uint8_t PenStyle;           // gui::TPenStyle as a number
    uint8_t Reserved1[3];
    int32_t Tag;
    int32_t LWid;
    uint8_t ItemClass;          // 0..254; 255 selects every class
    TrcItem ItemKind;
    uint8_t Reserved2[2];
    int32_t Layer;              // 1..16
    uint8_t Transp;             // 0 or 1
    uint8_t FrameStyle;         // TFrameStyle as a number
    uint8_t TextLen;            // the text: a length byte and at most 17 characters
    char TextChars[17];
    int32_t SizeOrAngle;
    int32_t Depth;
    uint8_t MarkOrAlign;        // mark type, or the alignment of a text
    uint8_t Reserved3[7];
};
static_assert(sizeof(TrcChartItem) == 104, "the data file's record is 104 bytes");

// The text of an item, and storing one (cut to maxLength bytes, at most 17).
std::string ItemText(const TrcChartItem& item);
void SetItemText(TrcChartItem& item, const std::string& text, int maxLength = 15);

// Whether an item is selected by a kind selector (tkEverything, tkNotMoveTo
// or one kind; tkNone selects nothing).
bool ItemMatches(const TrcChartItem& item, TrcItem itemID);

// The item list of one chart, possibly shared with others.
class TChartItemStore {
public:
    static constexpr double NoDistance = 1.7e308;

    TChartItemStore();
    // Leaves its group: the users of an owner keep a copy of the items.
    ~TChartItemStore();
    TChartItemStore(const TChartItemStore&) = delete;
    TChartItemStore& operator=(const TChartItemStore&) = delete;

    int NumItems() const { return FData->Num; }
    // The capacity counted so far: 0 for a new or cleared list, then
    // AllocSize more at each append that finds the list full.
    int NumAllocated() const { return FData->Allocated; }
    // The growth step, 1..1000000 (other values ignored); default 1000.
    int AllocSize() const { return FAllocSize; }
    void SetAllocSize(int v);
    // Index of the last item at the latest showing, -1 when none.
    int LastElemOnShow() const { return FData->LastOnShow; }
    void SetLastElemOnShow(int v) { FData->LastOnShow = v; }
    const TrcChartItem& operator[](int index) const { return FData->Items[static_cast<std::size_t>(index)]; }

    void Append(const TrcChartItem& item);
    // Back to an empty list (the next append allocates AllocSize again).
    void Clear();
    // Items read from a file, after the list's (or in its place): the
    // capacity becomes exactly the new count.
    void AppendLoaded(const std::vector<TrcChartItem>& items, bool replace);

    void RemoveLastItem();
    void RemoveFirstItem() { RemoveItem(0); }
    void RemoveItem(int index);
    // Removes every item of the class keeping the order of the rest;
    // returns how many went.
    int RemoveItemsByClass(uint8_t classNumber);

    // A copy of the item (a zeroed record for an index outside the list).
    TrcChartItem GetItemParams(int index) const;
    // Ignored for an index outside the list and for kinds tkNone and tkEverything.
    void SetItemParams(int index, const TrcChartItem& params);
    // x := kx x + dx, y := ky y + dy, and the same for (x2, y2) of the kinds
    // whose second point is a chart point or half axes.
    void ScaleItem(int index, double kx, double dx, double ky, double dy);
    void ScaleAllItems(double kx, double dx, double ky, double dy);
    void ScaleSelectedItems(double kx, double dx, double ky, double dy, uint8_t classNumber);
    // Class 255: every item.
    void NewColorOfClassItems(TColor color, uint8_t classNumber);
    void MarkAllItems(TrcItem itemID, uint8_t classNumber);
    int MarkItemsInWindow(double xLo, double yLo, double xHi, double yHi, TrcItem itemID,
                          uint8_t classNumber);

    // The matching item nearest to (mx, my), -1 when none; dist is the
    // distance (sqrt(1.7e308) when none).  Ties go to the lower index.
    int FindNearestItemReal(double mx, double my, TrcItem itemID, uint8_t classNumber, double& dist) const;
    // The same with every point first mapped (to pixels, by the chart).
    using TPointMap = std::function<void(double x, double y, double& px, double& py)>;
    int FindNearestItemMapped(double mx, double my, TrcItem itemID, uint8_t classNumber,
                              const TPointMap& map, double& dist) const;
    // Extents of the item points strictly inside the window (layer 0: all
    // layers); nothing counted leaves +-1.7e308.
    void FindMinMax(int layer, double rangeLoX, double rangeLoY, double rangeHiX, double rangeHiY,
                    double& minX, double& minY, double& maxX, double& maxY) const;
    // Bit n set for each layer n (1..16) holding an item.
    std::bitset<17> FindUsedLayers() const;
    TrcItem TypeOfFirstItem() const;
    TrcItem TypeOfLastItem() const;

    // -- sharing
    TChartItemStore* UseDataOf() const { return FOwner; }
    // Shares the items of q (its owner, when q uses another's); nullptr
    // leaves the group keeping a copy.  Returns the refusal shown to the
    // user, or an empty text when done.
    std::string SetUseDataOf(TChartItemStore* q);
    int DataUsersNum() const { return static_cast<int>(FUsers.size()); }
    TChartItemStore* DataUsers(int i) const { return FUsers.at(static_cast<std::size_t>(i)); }

private:
    struct TData {
        std::vector<TrcChartItem> Items = std::vector<TrcChartItem>(1, TrcChartItem{});
        int Num = 0;
        int Allocated = 0;
        int LastOnShow = -1;
    };
    void Leave(bool keepCopy);
    int Nearest(double mx, double my, TrcItem itemID, uint8_t classNumber, const TPointMap* map,
                double& dist) const;

    std::shared_ptr<TData> FData;
    int FAllocSize = 1000;
    TChartItemStore* FOwner = nullptr;
    std::vector<TChartItemStore*> FUsers;
};

} // namespace chart
