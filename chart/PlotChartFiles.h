// The chart's data files: each item as a 104-byte little-endian record one
// after another (no header), and a readable text listing of the items.
//
// The rule a caller must know: a record is read back only when its kind
// is one the chart draws (1..9, 12..16) and its layer is 1..16; anything
// else makes the whole file unreadable.
//
//     uint8_t rec[chart::ItemRecordSize];
//     chart::EncodeItemRecord(item, rec);
//     chart::TrcChartItem back;
//     bool ok = chart::DecodeItemRecord(rec, back);
#pragma once

#include <cstdint>
#include <string>

#include "chart/PlotChartItems.h"

namespace chart {

constexpr int ItemRecordSize = 104;

void EncodeItemRecord(const TrcChartItem& item, uint8_t* record);
// False for a kind or layer the chart cannot draw (item then undefined).
bool DecodeItemRecord(const uint8_t* record, TrcChartItem& item);
// The listing of one item: its lines, each ended by CR LF, starting with
// the empty line.
std::string ItemListing(const TrcChartItem& item, int index);

} // namespace chart
