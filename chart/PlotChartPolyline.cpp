#include "chart/PlotChartPolyline.h"

namespace chart {

void TPolylineBuffer::SetPenPos(gui::TPoint p)
{
    Flush();
    FPen = p;
}

void TPolylineBuffer::Add(gui::TPoint p)
{
    if (FPoints.empty()) FPoints.push_back(FPen);
    FPoints.push_back(p);
    if (static_cast<int>(FPoints.size()) == MaxPoints) {
        if (FDraw) FDraw(FPoints);
        FPoints.assign(1, p);
        FPen = p;
    }
}

void TPolylineBuffer::Flush()
{
    if (FPoints.empty()) return;
    if (FPoints.size() >= 2 && FDraw) FDraw(FPoints);
    FPen = FPoints.back();
    FPoints.clear();
}

} // namespace chart
