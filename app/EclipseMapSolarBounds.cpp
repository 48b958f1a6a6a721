// Proofs that a place of the solar map gets nothing; see EclipseMapSolarBounds.h.
#include "app/EclipseMapSolarBounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "compute/BesselSE.h"

namespace app {

namespace {

constexpr double Rad = 3.14159265358979323846 / 180;
// Levels of the slab tree of one time interval.
constexpr int Depth = 11;
// Far beyond the rounding of the solver and of these bounds.
constexpr double Margin = 1e-8;
// The longest interval worth splitting into slabs (hours).
constexpr double LongestInterval = 100;

// A polynomial of element time with its coefficient bounds.
struct TPoly {
    double C[4] = {0, 0, 0, 0};
    double operator()(double t) const { return C[0] + t * (C[1] + t * (C[2] + t * C[3])); }
    double Slope(double t) const { return C[1] + t * (2 * C[2] + t * 3 * C[3]); }
    // Bounds of |p'| and |p''| for |t| <= tau.
    double MaxSlope(double tau) const
    {
        return std::fabs(C[1]) + 2 * std::fabs(C[2]) * tau + 3 * std::fabs(C[3]) * tau * tau;
    }
    double MaxCurvature(double tau) const { return 2 * std::fabs(C[2]) + 6 * std::fabs(C[3]) * tau; }
};

} // namespace


TSolarMapBounds::TSolarMapBounds(const compute::TSolarEclipse& see, double altitude, double contactAltitude)
{
    FContactsMatter = contactAltitude >= 0;
    TPoly X, Y, L1, L2, d, M;
    for (int i = 0; i < 4; ++i) {
        X.C[i] = static_cast<double>(see.Xe(i));
        Y.C[i] = static_cast<double>(see.Ye(i));
    }
    for (int i = 0; i < 3; ++i) {
        L1.C[i] = static_cast<double>(see.L1e(i));
        L2.C[i] = static_cast<double>(see.L2e(i));
        d.C[i] = static_cast<double>(see.de(i));
    }
    M.C[0] = static_cast<double>(see.Me(0));
    M.C[1] = static_cast<double>(see.Me(1));
    const double tanF1 = static_cast<double>(see.TanF1());
    FTanF1 = tanF1;
    const double F = std::fabs(tanF1);
    for (double c : {X.C[0], X.C[1], X.C[2], X.C[3], Y.C[0], Y.C[1], Y.C[2], Y.C[3], L1.C[0], L1.C[1], L1.C[2],
                     d.C[0], d.C[1], d.C[2], M.C[0], M.C[1], tanF1})
        if (!std::isfinite(c)) return;
    // The solver's observer rates are at most k (|M1| + |d1|) radii per hour.
    const double w = static_cast<double>(compute::SERateFactor) * (std::fabs(M.C[1]) + std::fabs(d.C[1])) * (1 + 1e-9);
    const double tol = static_cast<double>(compute::SESolverTolerance);
    auto maxV = [&](double tau) { return std::hypot(X.MaxSlope(tau), Y.MaxSlope(tau)); };

    // e(t) > 0: no place on the Earth can end a converged solve at t (m is
    // at least |(x, y)| - 1, and |L1'| at most |L1| + |tan f1|).
    auto e = [&](double t) {
        return std::hypot(X(t), Y(t)) - 1 - std::fabs(L1(t)) - F - tol * (std::hypot(X.Slope(t), Y.Slope(t)) + w) -
               Margin;
    };
    auto eSlope = [&](double tau) {
        return maxV(tau) + L1.MaxSlope(tau) + tol * std::hypot(X.MaxCurvature(tau), Y.MaxCurvature(tau));
    };

    // Far off, the cubic term of x or y outgrows everything else: for
    // |t| >= R, |c3| |t|^3 - |c2| t^2 - |c1| |t| - |c0| exceeds the rest.
    const TPoly& lead = std::fabs(X.C[3]) >= std::fabs(Y.C[3]) ? X : Y;
    const double c3 = std::fabs(lead.C[3]);
    if (!(c3 > 0)) return;
    const double B2 = std::fabs(lead.C[2]) + std::fabs(L1.C[2]) + 3 * tol * (std::fabs(X.C[3]) + std::fabs(Y.C[3]));
    const double B1 = std::fabs(lead.C[1]) + std::fabs(L1.C[1]) + 2 * tol * (std::fabs(X.C[2]) + std::fabs(Y.C[2]));
    const double B0 = std::fabs(lead.C[0]) + 1 + std::fabs(L1.C[0]) + F +
                      tol * (std::fabs(X.C[1]) + std::fabs(Y.C[1]) + w) + Margin;
    double R = 8;
    while (!(c3 - B2 / R - B1 / (R * R) - B0 / (R * R * R) > 1e-12)) {
        R *= 2;
        if (R > 1e5) return;
    }

    // Within [-R, R]: slabs where e stays positive are left out; the rest,
    // down to half a minute, makes the intervals.
    const double finest = 1.0 / 128;
    std::vector<TInterval> stack{{-R, R}};
    std::vector<TInterval> in;
    while (!stack.empty()) {
        const TInterval s = stack.back();
        stack.pop_back();
        const double c = (s.A + s.B) / 2, h = (s.B - s.A) / 2;
        const double tau = std::max(std::fabs(s.A), std::fabs(s.B));
        const double ec = e(c);
        if (!std::isfinite(ec)) return;
        if (ec - eSlope(tau) * h > 0) continue;
        if (h < finest) {
            if (!in.empty() && s.A <= in.back().B + 1e-12) in.back().B = s.B;
            else in.push_back(s);
            continue;
        }
        stack.push_back({c, s.B});  // the left half first: intervals in order
        stack.push_back({s.A, c});
    }
    if (in.empty()) {
        // No place can see anything: every place is proven.
        FEnabled = true;
        return;
    }
    for (TInterval& i : in) {
        i.A -= 1e-6;
        i.B += 1e-6;
        if (i.B - i.A > LongestInterval) return;
    }

    // A converged solve in an interval has m - |L1'| <= 0.0002 n <= slack.
    double slack = 0;
    for (const TInterval& i : in) {
        const double tau = std::max(std::fabs(i.A), std::fabs(i.B));
        slack = std::max(slack, tol * (maxV(tau) + w));
    }
    FSlack = slack * (1 + 1e-6) + Margin;

    // Thresholds a hair beyond the drawn ones (the solver's rounding).
    if (std::isfinite(altitude)) {
        const double theta = std::max(0.0, altitude) + 1e-7;
        if (theta < 89) FEmpty.Low = std::sin(-theta * Rad) - 1e-12;
    }
    if (FContactsMatter && std::isfinite(contactAltitude)) {
        const double theta = contactAltitude + 1e-7;
        if (theta < 89) {
            FContacts.Low = std::sin(-theta * Rad) - 1e-12;
            FContacts.High = std::sin(theta * Rad) + 1e-12;
        }
        FContacts.Edge = true;
    }

    // What ProveMaximumClear needs of the solver's maximum: its observer
    // rates k M1 and k (M1, d1) (k the solver's rounded factor), their
    // change per unit of Distance, and how far they are from the true
    // rates (the rounding of k; d1 for the whole rate of d).
    const double tanF2 = static_cast<double>(see.TanF2());
    FTanF2 = tanF2;
    FM1 = M.C[1];
    FD1 = d.C[1];
    const double k = static_cast<double>(compute::SERateFactor);
    const double wSolver = k * (std::fabs(M.C[1]) + std::fabs(d.C[1])) * (1 + 1e-9);
    FPlaceRate = std::hypot(k * std::fabs(M.C[1]), wSolver) * (1 + 1e-9);
    const double deviation = 2 * (std::fabs(M.C[1]) + std::fabs(d.C[1])) * std::fabs(Rad - k) + 1e-12;
    FJD0 = static_cast<double>(see.JD0());
    FDeltaT = static_cast<double>(see.DeltaT());
    FMaximumProofs = std::isfinite(tanF2) && std::isfinite(L2.C[0]) && std::isfinite(L2.C[1]) &&
                     std::isfinite(L2.C[2]) && std::isfinite(FJD0) && std::isfinite(FDeltaT);

    // Slab trees: node i covers its part of the interval, children 2i+1, 2i+2.
    const long double g0 = see.Me(0) - compute::SERotationPerSecond * see.DeltaT() * 86400;
    for (const TInterval& iv : in) {
        std::vector<TNode> tree((1u << Depth) - 1);
        for (int level = 0; level < Depth; ++level) {
            const int count = 1 << level;
            const double width = (iv.B - iv.A) / count;
            for (int j = 0; j < count; ++j) {
                const double a = iv.A + width * j, b = a + width;
                const double c = (a + b) / 2, h = width / 2;
                const double tau = std::max(std::fabs(a), std::fabs(b));
                TNode& n = tree[count - 1 + j];
                n.X = X(c);
                n.Y = Y(c);
                n.L1 = L1(c);
                const long double g = (g0 + see.Me(1) * static_cast<long double>(c)) * (3.14159265358979323846264L / 180);
                n.SinG = static_cast<double>(std::sin(g));
                n.CosG = static_cast<double>(std::cos(g));
                const long double dd = static_cast<long double>(d(c)) * (3.14159265358979323846264L / 180);
                n.SinD = static_cast<double>(std::sin(dd));
                n.CosD = static_cast<double>(std::cos(dd));
                // The place turns about the axis and with the declination:
                // its position and zenith move at most omega per hour.
                const double omega = (std::fabs(M.C[1]) + d.MaxSlope(tau)) * Rad;
                n.DMargin = (maxV(tau) + (1 + F) * omega + L1.MaxSlope(tau)) * h + Margin;
                n.AMargin = omega * h + Margin;
                n.DX = X.Slope(c);
                n.DY = Y.Slope(c);
                n.L2 = L2(c);
                n.T = c;
                n.H = h;
                n.Speed = maxV(tau) + omega;
                n.Accel = std::hypot(X.MaxCurvature(tau), Y.MaxCurvature(tau)) + 3 * wSolver * omega;
                n.Deviation = deviation + 2 * std::fabs(d.C[2]) * tau * Rad;
                n.L1Rate = L1.MaxSlope(tau);
                n.L2Rate = L2.MaxSlope(tau);
                n.Omega = omega;
            }
        }
        FTrees.push_back(std::move(tree));
    }
    FIntervals = in;
    FEnabled = true;
}

double TSolarMapBounds::Distance(double lat1, double lon1, double lat2, double lon2)
{
    double dl = std::fabs(lon1 - lon2);
    if (dl > 360) dl = std::fmod(dl, 360.0);
    if (dl > 180) dl = 360 - dl;
    return (1.0034 * std::fabs(lat1 - lat2) + dl) * Rad;
}

double TSolarMapBounds::ProveNode(const TPlace& p, const TClauses& cl, const std::vector<TNode>& tree, int i,
                                  int level) const
{
    const TNode& n = tree[i];
    // Hour angle H = G - longitude (west positive).
    const double sinH = n.SinG * p.CosL - n.CosG * p.SinL;
    const double cosH = n.CosG * p.CosL + n.SinG * p.SinL;
    const double xi = p.RhoCosPhi * sinH;
    const double eta = p.RhoSinPhi * n.CosD - p.RhoCosPhi * cosH * n.SinD;
    const double zeta = p.RhoSinPhi * n.SinD + p.RhoCosPhi * cosH * n.CosD;
    const double dx = n.X - xi, dy = n.Y - eta;
    const double D = std::sqrt(dx * dx + dy * dy) - std::fabs(n.L1 - zeta * FTanF1);
    const double scale = 1 + std::fabs(FTanF1);
    const double sinAlt = n.SinD * p.SinPhi + n.CosD * p.CosPhi * cosH;
    // Each test in radians of the place metric: positive where it holds.
    const double none = -std::numeric_limits<double>::infinity();
    const double sD = ((cl.Edge ? std::fabs(D) : D) - FSlack) / scale;
    const double sLow = cl.Low > -2 ? cl.Low - sinAlt : none;
    const double sHigh = cl.High < 2 ? sinAlt - cl.High : none;
    const double s = std::max({sD, sLow, sHigh});
    if (!(s > 0)) return std::isnan(s) ? 0 : s;
    const double lb = std::max({sD - n.DMargin / scale, sLow - n.AMargin, sHigh - n.AMargin});
    const bool leaf = level == Depth - 1;
    if (lb >= 0.5 * s || (leaf && lb > 0)) return lb;
    if (leaf) return 0;
    const double left = ProveNode(p, cl, tree, 2 * i + 1, level + 1);
    if (!(left > 0)) return left;
    const double right = ProveNode(p, cl, tree, 2 * i + 2, level + 1);
    if (!(right > 0)) return right;
    return std::min(left, right);
}

void TSolarMapBounds::SetLatitude(TPlace& p, double latitude)
{
    // The observer's geocentric terms (height 0) in double: far finer than
    // the proofs' margins.
    const double phi = latitude * Rad;
    const double u = std::atan(static_cast<double>(compute::SEAxisRatio) * std::tan(phi));
    p.RhoSinPhi = static_cast<double>(compute::SEAxisRatio) * std::sin(u);
    p.RhoCosPhi = std::cos(u);
    p.SinPhi = std::sin(phi);
    p.CosPhi = std::cos(phi);
}

void TSolarMapBounds::SetLongitude(TPlace& p, double longitude)
{
    p.SinL = std::sin(longitude * Rad);
    p.CosL = std::cos(longitude * Rad);
}

TSolarMapBounds::TPlace TSolarMapBounds::MakePlace(double latitude, double longitude)
{
    TPlace p;
    SetLatitude(p, latitude);
    SetLongitude(p, longitude);
    return p;
}

double TSolarMapBounds::Prove(const TPlace& p, const TClauses& clauses) const
{
    if (!FEnabled) return 0;
    double radius = std::numeric_limits<double>::infinity();
    for (const std::vector<TNode>& tree : FTrees) {
        const double r = ProveNode(p, clauses, tree, 0, 0);
        if (!(r > 0)) return r;
        radius = std::min(radius, r);
    }
    // Rounding of the distances: a hair less.  No interval: the whole Earth.
    return radius == std::numeric_limits<double>::infinity() ? 10 : radius * (1 - 1e-6);
}

double TSolarMapBounds::ProveEmpty(double latitude, double longitude) const
{
    return Prove(MakePlace(latitude, longitude), FEmpty);
}

double TSolarMapBounds::ProveContactsClear(double latitude, double longitude) const
{
    if (!FContactsMatter) return 10;
    return Prove(MakePlace(latitude, longitude), FContacts);
}

double TSolarMapBounds::ProveEmpty(const TPlace& place) const { return Prove(place, FEmpty); }

double TSolarMapBounds::ProveContactsClear(const TPlace& place) const
{
    if (!FContactsMatter) return 10;
    return Prove(place, FContacts);
}

void TSolarMapBounds::SetMaximumRules(const TMaximumRules& rules)
{
    FRules = rules;
    const double theta = std::max(0.0, rules.Altitude) + 1e-7;
    FSinRulesAltitude = std::sin(theta * Rad) + 1e-12;
    if (!(theta < 89)) FSinRulesAltitude = 2;  // never provable on the sunlit side
    // A time of maximum lies within the tolerance of the time where the
    // maximum ended.
    FRuleTimes.clear();
    for (double t : rules.Times)
        FRuleTimes.push_back(static_cast<double>((static_cast<long double>(t) + FDeltaT - FJD0) * 24));
    std::sort(FRuleTimes.begin(), FRuleTimes.end());
    FRuleHalfWidth = rules.HalfWidth * 24 + static_cast<double>(compute::SESolverTolerance) + 1e-6;
    if (!std::isfinite(FRuleHalfWidth)) FSinRulesAltitude = 2;
    for (double t : FRuleTimes)
        if (!std::isfinite(t)) FSinRulesAltitude = 2;
}

int TSolarMapBounds::ProveMaximumNode(const TPlace& p, double R, const TNode& n, bool leaf) const
{
    const double k = static_cast<double>(compute::SERateFactor);
    const double tol = static_cast<double>(compute::SESolverTolerance);
    const double F1 = std::fabs(FTanF1), F2 = std::fabs(FTanF2);
    const double sinH = n.SinG * p.CosL - n.CosG * p.SinL;
    const double cosH = n.CosG * p.CosL + n.SinG * p.SinL;
    const double xi = p.RhoCosPhi * sinH;
    const double eta = p.RhoSinPhi * n.CosD - p.RhoCosPhi * cosH * n.SinD;
    const double zeta = p.RhoSinPhi * n.SinD + p.RhoCosPhi * cosH * n.CosD;
    // The solver's relative position (u, v) and velocity (a, b) of the axis.
    const double u = n.X - xi, v = n.Y - eta;
    const double a = n.DX - k * FM1 * p.RhoCosPhi * cosH;
    const double b = n.DY - k * (FM1 * xi * n.SinD - FD1 * zeta);
    const double speed = std::sqrt(a * a + b * b);
    const double h = n.H;
    // Bounds over the slab and the disc: the least speed, the largest
    // offset, and what the turning of (a, b) does to the offsets along and
    // across it (per hour and per unit of Distance).
    const double speedMin = speed - n.Accel * h - FPlaceRate * R;
    if (!(speedMin > 0.01)) return speed - FPlaceRate * R > 0.01 ? 0 : -1;
    // The true relative velocity over the slab and the disc: within
    // Deviation of the solver's, which moves by at most Accel per hour and
    // FPlaceRate per unit of Distance; never more than the slab's bound.
    const double speedMax = std::min(n.Speed, speed + n.Accel * h + n.Deviation + FPlaceRate * R);
    const double offsetMax = std::sqrt(u * u + v * v) + speedMax * h + R;
    const double turn = offsetMax * n.Accel / speedMin;
    // (Unit vectors of v and w differ by at most |v - w| / min(|v|, |w|).)
    const double perRadius = 1 + offsetMax * FPlaceRate / speedMin;
    const double along = (u * a + v * b) / speed;
    const double rAlong = speedMax + turn;
    // Most slabs: the maximum cannot end there, the last step would be too long.
    if (std::fabs(along) - tol * speed - (rAlong + tol * n.Accel) * h - (perRadius + tol * FPlaceRate) * R - Margin > 0)
        return 1;
    const double across = std::fabs(u * b - v * a) / speed;
    const double L1p = n.L1 - zeta * FTanF1, L2p = n.L2 - zeta * FTanF2;
    const double D = L1p + L2p;
    const double sinAlt = n.SinD * p.SinPhi + n.CosD * p.CosPhi * cosH;
    const double rL1 = n.L1Rate + F1 * n.Omega, rL2 = n.L2Rate + F2 * n.Omega;
    const double rAcross = n.Deviation + turn;
    double magnitude = D > 0 ? (L1p - across) / D : -1;
    // The uncoloured range of the magnitude here, if any (ranges in order).
    const TInterval* band = nullptr;
    auto next = std::upper_bound(FRules.Magnitudes.begin(), FRules.Magnitudes.end(), magnitude,
                                 [](double m, const TInterval& i) { return m < i.A; });
    if (next != FRules.Magnitudes.begin() && magnitude < (next - 1)->B) band = &*(next - 1);

    // The tests with the slab's half-width dt (0: at its centre time alone).
    auto proven = [&](double dt) {
        auto holds = [&](double value, double perHour, double perDistance) {
            return value - perHour * dt - perDistance * R - Margin > 0;
        };
        // The maximum cannot end here.
        if (dt < h && holds(std::fabs(along) - tol * speed, rAlong + tol * n.Accel, perRadius + tol * FPlaceRate)) return true;
        // No eclipse: |S| = |cr| / |L1'| > 1.
        if (holds(across - std::fabs(L1p), rAcross + rL1, perRadius + F1)) return true;
        const bool positive = holds(D, rL1 + rL2, F1 + F2);
        // The Sun far below the horizon: nothing the maximum can colour.
        if (holds(-FSinRulesAltitude - sinAlt, n.Omega, 1)) return true;
        // The Sun far above it: each rule must keep its colour away.
        if (!holds(sinAlt - FSinRulesAltitude, n.Omega, 1)) return false;
        if (FRules.Path && !holds(across - std::fabs(L2p), rAcross + rL2, perRadius + F2)) return false;
        if (!band || !positive) return false;
        if (band->A > -1e299) {
            const double lo = band->A;
            if (!holds(L1p - across - tol * speed - lo * D, rL1 + rAcross + tol * n.Accel + std::fabs(lo) * (rL1 + rL2),
                       F1 + perRadius + tol * FPlaceRate + std::fabs(lo) * (F1 + F2)))
                return false;
        }
        if (band->B < 1e299) {
            const double hi = band->B;
            if (!holds(hi * D - L1p + across, std::fabs(hi) * (rL1 + rL2) + rL1 + rAcross,
                       std::fabs(hi) * (F1 + F2) + F1 + perRadius))
                return false;
        }
        // No curve of equal time within reach of the time of maximum.
        auto later = std::lower_bound(FRuleTimes.begin(), FRuleTimes.end(), n.T);
        if (later != FRuleTimes.end() && *later - n.T - dt < FRuleHalfWidth) return false;
        if (later != FRuleTimes.begin() && n.T - *(later - 1) - dt < FRuleHalfWidth) return false;
        return true;
    };
    if (proven(h)) return 1;
    return !leaf && proven(0) ? 0 : -1;
}

bool TSolarMapBounds::ProveMaximumTree(const TPlace& p, double radius, int t, int i, int level,
                                       TOpenSlabs* open) const
{
    const int r = ProveMaximumNode(p, radius, FTrees[t][i], level == Depth - 1);
    if (r > 0) return true;
    if (r < 0 || level == Depth - 1) {
        if (open && open->Complete) {
            if (open->Count < TOpenSlabs::Capacity)
                open->Slabs[open->Count++] = {static_cast<uint16_t>(t), static_cast<uint16_t>(i)};
            else
                open->Complete = false;
        }
        return false;
    }
    // Listing the open slabs goes on past a failure (while the list holds them).
    const bool left = ProveMaximumTree(p, radius, t, 2 * i + 1, level + 1, open);
    if (!left && !(open && open->Complete)) return false;
    return ProveMaximumTree(p, radius, t, 2 * i + 2, level + 1, open) && left;
}

bool TSolarMapBounds::ProveMaximum(const TPlace& p, double radius, const TOpenSlabs* within, TOpenSlabs* open) const
{
    if (open) {
        open->Count = 0;
        open->Complete = false;
    }
    if (!FEnabled || !FMaximumProofs || !(radius >= 0 && radius <= MaxRadius)) return false;
    if (open) open->Complete = true;
    // A hair more than asked: the rounding of the distances.
    const double r = radius * (1 + 1e-6) + 1e-12;
    bool proven = true;
    auto prove = [&](int t, int i) {
        int level = 0;
        while ((2 << level) <= i + 1) ++level;
        proven = ProveMaximumTree(p, r, t, i, level, open) && proven;
        return proven || (open && open->Complete);
    };
    if (within && within->Complete) {
        for (int k = 0; k < within->Count; ++k)
            if (!prove(within->Slabs[k].Tree, within->Slabs[k].Node)) break;
    } else {
        for (int t = 0; t < static_cast<int>(FTrees.size()); ++t)
            if (!prove(t, 0)) break;
    }
    if (!proven && open && !open->Complete) open->Count = 0;
    return proven;
}

bool TSolarMapBounds::ProveMaximumClear(double latitude, double longitude, double radius, const TOpenSlabs* within,
                                        TOpenSlabs* open) const
{
    return ProveMaximum(MakePlace(latitude, longitude), radius, within, open);
}

bool TSolarMapBounds::ProveMaximumClear(const TPlace& place, double radius, const TOpenSlabs* within,
                                        TOpenSlabs* open) const
{
    return ProveMaximum(place, radius, within, open);
}

} // namespace app
