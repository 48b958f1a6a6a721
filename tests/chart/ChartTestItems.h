// A chart item for the tests: the kind, its points and layer, pen width 1;
// the rest zero.
#pragma once

#include "chart/PlotChartItems.h"

namespace charttest {

inline chart::TrcChartItem MakeItem(chart::TrcItem kind, double x, double y, double x2 = 0, double y2 = 0,
                                    int layer = 1)
{
    chart::TrcChartItem it{};
    it.ItemKind = kind;
    it.x = x;
    it.y = y;
    it.x2 = x2;
    it.y2 = y2;
    it.Layer = layer;
    it.LWid = 1;
    return it;
}

} // namespace charttest
