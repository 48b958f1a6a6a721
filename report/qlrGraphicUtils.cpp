#include "report/qlrGraphicUtils.h"

namespace qlr {

namespace {
constexpr long double kSlack = 0.0001L;
}

TqlrRect MakeReportRect(long double left, long double top, long double right, long double bottom)
{
    return TqlrRect{left, top, right, bottom};
}

TqlrPoint MakeReportPoint(long double x, long double y) { return TqlrPoint{x, y}; }

bool TqlrRectArea::InterceptsX(const TqlrRectArea& a) const
{
    return a.X < X1 - kSlack && a.X1 > X + kSlack;
}

bool TqlrRectArea::InterceptsY(const TqlrRectArea& a) const
{
    return a.Y < Y1 - kSlack && a.Y1 > Y + kSlack;
}

std::unique_ptr<TqlrRectArea> TqlrRectArea::InterceptX(const TqlrRectArea& a) const
{
    if (!InterceptsX(a)) return nullptr;
    return std::make_unique<TqlrRectArea>(Max(X, a.X), 0, Min(X1, a.X1), 0);
}

std::unique_ptr<TqlrRectArea> TqlrRectArea::InterceptY(const TqlrRectArea& a) const
{
    if (!InterceptsY(a)) return nullptr;
    return std::make_unique<TqlrRectArea>(0, Max(Y, a.Y), 0, Min(Y1, a.Y1));
}

} // namespace qlr
