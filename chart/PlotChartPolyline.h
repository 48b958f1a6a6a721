// The pending polyline of the chart's data renderer: a run of line-to
// items is drawn as polylines of at most 200 points instead of single lines.
//
// The rule a caller must know: the first point of a polyline is the
// recorded pen position; when the 200th point arrives the polyline is
// drawn at once and the next one starts with that point; Flush draws what
// is pending (a single point draws nothing) and records its last point as
// the pen position.  A run of N points after a move is drawn with
// ceil(N / 199) polylines.
//
//     chart::TPolylineBuffer buf([&](const auto& pts) { canvas.Polyline(pts); });
//     buf.SetPenPos({10, 10});
//     for (auto p : points) buf.Add(p);
//     buf.Flush();
#pragma once

#include <functional>
#include <vector>

#include "platform/gui/Types.h"

namespace chart {

class TPolylineBuffer {
public:
    static constexpr int MaxPoints = 200;
    using TDrawPolyline = std::function<void(const std::vector<gui::TPoint>& points)>;

    explicit TPolylineBuffer(TDrawPolyline draw) : FDraw(std::move(draw)) {}

    // The recorded pen position: where the next polyline starts.
    gui::TPoint PenPos() const { return FPen; }
    // Draws what is pending, then records p (a move, or the end of a
    // relative line).
    void SetPenPos(gui::TPoint p);
    void Add(gui::TPoint p);
    void Flush();
    bool Pending() const { return !FPoints.empty(); }

private:
    TDrawPolyline FDraw;
    std::vector<gui::TPoint> FPoints;
    gui::TPoint FPen{0, 0};
};

} // namespace chart
