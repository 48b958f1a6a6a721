// Solar eclipses: Besselian elements after the Explanatory Supplement and
// Meeus, "Elements of Solar Eclipses" (the fundamental plane through the
// Earth's centre perpendicular to the Moon-Sun axis).  Lunar eclipses: the
// Moon against the Earth's shadow with the shadow radii enlarged by Danjon's
// rule, as the Five Millennium Canon of Lunar Eclipses does.
#include "tools/catalogue/Eclipses.h"

#include "tools/catalogue/Margins.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace catalogue {

namespace {

// The Moon's radius in Earth radii.  Solar eclipses: 0.272488 (IAU) for
// the penumbral cone, 0.272281 (the mean radius of the lunar limb valleys)
// for the umbral cone, as the solar canon's elements show.  Lunar eclipses:
// 0.2725076 for the limb on both shadows, which reproduces the lunar
// canon's umbral magnitudes and phase durations (0.272281 there leaves
// errors of 1.5e-3 and 2 minutes).
constexpr long double kMoonPen = 0.272488L;
constexpr long double kMoonUmb = 0.272281L;
constexpr long double kMoonLunar = 0.2725076L;
// Earth's squared eccentricity and axis ratio (as the program's own
// local-circumstance routines use them).
constexpr long double kE2 = 0.006694385L;
constexpr long double kBA = 0.99664719L;
constexpr long double kAB = 1.00336409L;
constexpr long double kSynodicMonth = 29.530588861L;
constexpr long double kLunationZero = 2451550.09766L;

long double NormDeg(long double a)   // -> [-180, 180)
{
    a = std::fmod(a + 180.0L, 360.0L);
    if (a < 0) a += 360;
    return a - 180;
}

// Least-squares polynomial of the given degree through (t, v).
std::vector<long double> PolyFit(const std::vector<long double>& t, const std::vector<long double>& v,
                                 int degree)
{
    const int n = degree + 1;
    std::vector<long double> A(n * n, 0.0L), b(n, 0.0L);
    for (std::size_t i = 0; i < t.size(); ++i) {
        long double p[8];
        p[0] = 1;
        for (int j = 1; j < 2 * n - 1; ++j) p[j] = p[j - 1] * t[i];
        for (int r = 0; r < n; ++r) {
            b[r] += v[i] * p[r];
            for (int c = 0; c < n; ++c) A[r * n + c] += p[r + c];
        }
    }
    // Gaussian elimination with partial pivoting.
    for (int c = 0; c < n; ++c) {
        int piv = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(A[r * n + c]) > std::fabs(A[piv * n + c])) piv = r;
        if (piv != c) {
            for (int k = 0; k < n; ++k) std::swap(A[c * n + k], A[piv * n + k]);
            std::swap(b[c], b[piv]);
        }
        for (int r = c + 1; r < n; ++r) {
            long double f = A[r * n + c] / A[c * n + c];
            for (int k = c; k < n; ++k) A[r * n + k] -= f * A[c * n + k];
            b[r] -= f * b[c];
        }
    }
    std::vector<long double> x(n);
    for (int r = n - 1; r >= 0; --r) {
        long double s = b[r];
        for (int k = r + 1; k < n; ++k) s -= A[r * n + k] * x[k];
        x[r] = s / A[r * n + r];
    }
    return x;
}

long double Poly(const long double* c, int n, long double t)
{
    long double s = 0;
    for (int i = n - 1; i >= 0; --i) s = s * t + c[i];
    return s;
}

long double PolyD(const long double* c, int n, long double t)
{
    long double s = 0;
    for (int i = n - 1; i >= 1; --i) s = s * t + i * c[i];
    return s;
}

// Root of f between a and b (f(a), f(b) of opposite signs), Illinois method.
long double Root(const std::function<long double(long double)>& f, long double a, long double b,
                 long double tol)
{
    long double fa = f(a), fb = f(b);
    int side = 0;
    for (int i = 0; i < 100; ++i) {
        long double c = (a * fb - b * fa) / (fb - fa);
        long double fc = f(c);
        if (std::fabs(b - a) < tol || fc == 0) return c;
        if ((fc > 0) == (fb > 0)) {
            b = c;
            fb = fc;
            if (side == -1) fa /= 2;
            side = -1;
        } else {
            a = c;
            fa = fc;
            if (side == 1) fb /= 2;
            side = 1;
        }
        if (std::fabs(b - a) < tol) return (a + b) / 2;
    }
    return (a + b) / 2;
}

// The new (phase 0) or full (phase 180) Moon near lunation k + phase/360:
// the instant when the apparent ecliptic longitudes differ by phase.
long double Syzygy(Ephemeris& eph, int k, bool full, long double& moonLatitude)
{
    long double kk = k + (full ? 0.5L : 0.0L);
    long double T = kk / 1236.85L;
    long double t = kLunationZero + kSynodicMonth * kk + 0.00015437L * T * T;
    for (int i = 0; i < 20; ++i) {
        long double dl, beta;
        eph.Elongation(t, dl, beta);
        long double f = NormDeg(dl - (full ? 180.0L : 0.0L));
        moonLatitude = beta;
        long double step = f / 12.19L;   // mean rate of the elongation, degrees/day
        t -= step;
        if (std::fabs(step) < 1e-6L) break;
    }
    return t;
}

// --- solar ------------------------------------------------------------------

struct ExactElements {
    long double x, y, d, mu, l1, l2, tanf1, tanf2;
};

ExactElements SolarElements(Ephemeris& eph, long double jdTD)
{
    SunMoon p = eph.At(jdTD);
    Vec3 G = p.Sun - p.Moon;
    long double g = Norm(G);
    Vec3 k = (1.0L / g) * G;
    long double d = std::asin(k.z);
    long double a = std::atan2(k.y, k.x);
    Vec3 i{-std::sin(a), std::cos(a), 0};
    Vec3 j{-std::sin(d) * std::cos(a), -std::sin(d) * std::sin(a), std::cos(d)};
    ExactElements e;
    e.x = Dot(p.Moon, i);
    e.y = Dot(p.Moon, j);
    long double z = Dot(p.Moon, k);
    long double f1 = std::asin((kSunRadius + kMoonPen) / g);
    long double f2 = std::asin((kSunRadius - kMoonUmb) / g);
    e.tanf1 = std::tan(f1);
    e.tanf2 = std::tan(f2);
    e.l1 = z * e.tanf1 + kMoonPen / std::cos(f1);
    e.l2 = z * e.tanf2 - kMoonUmb / std::cos(f2);
    e.d = d / kDeg;
    e.mu = eph.ApparentSiderealTime(jdTD) - a / kDeg;
    return e;
}

struct Geographic {
    long double Lat, LonWest, Zeta;
};

// The place under the fundamental-plane point (x, y) on the Earth's
// sunward side (ellipsoid), with mu the ephemeris hour angle; deltaT in
// seconds turns it into a UT longitude.
Geographic PlaceUnder(long double x, long double y, long double d, long double mu,
                      long double deltaT)
{
    long double dr = d * kDeg;
    long double rho1 = std::sqrt(1 - kE2 * std::cos(dr) * std::cos(dr));
    long double y1 = y / rho1;
    long double sind1 = std::sin(dr) / rho1, cosd1 = kBA * std::cos(dr) / rho1;
    long double B2 = std::max(0.0L, 1 - x * x - y1 * y1);
    long double B = std::sqrt(B2);
    long double H = std::atan2(x, B * cosd1 - y1 * sind1);
    long double phi1 = std::asin(std::clamp(B * sind1 + y1 * cosd1, -1.0L, 1.0L));
    long double phi = std::atan(kAB * std::tan(phi1));
    Geographic g;
    g.Lat = phi / kDeg;
    g.LonWest = NormDeg(mu - H / kDeg - 0.00417807L * deltaT);
    long double u = std::atan(kBA * std::tan(phi));
    long double rs = kBA * std::sin(u), rc = std::cos(u);
    g.Zeta = rs * std::sin(dr) + rc * std::cos(H) * std::cos(dr);
    return g;
}

} // namespace

int LunationOf(long double jd)
{
    return static_cast<int>(std::lround((jd - kLunationZero) / kSynodicMonth));
}

namespace {

// Series numbers follow from the lunation number: members of one series
// are 223 lunations apart, neighbouring series 358 lunations (one inex);
// 358 s - k is constant modulo 223.  The constants pin the numbering
// (solar: 2024 Apr 08, k 300, Saros 139; lunar: 2025 Mar 14, k 311,
// Saros 123), and the window picks the series alive at that time.
int SarosOf(int k, int constant, long double centre)
{
    const int inv358 = 38;   // 358 * 38 = 61 * 223 + 1
    long double c = centre + k / 358.0L;
    int base = static_cast<int>(std::floor(c - 111.5L));
    long long r = (static_cast<long long>(inv358) * (k + constant)) % 223;
    if (r < 0) r += 223;
    long long s = base + (((r - base) % 223) + 223) % 223;
    return static_cast<int>(s);
}

} // namespace

int SolarSaros(int k) { return SarosOf(k, 179, 140.34L); }
int LunarSaros(int k) { return SarosOf(k, 15, 132.72L); }

std::optional<SolarRecord> ComputeSolarEclipse(Ephemeris& eph, int k)
{
    long double beta;
    long double tc = Syzygy(eph, k, false, beta);
    if (std::fabs(beta) > 1.75L) return std::nullopt;   // beyond the solar limit

    SolarRecord r;
    r.K = k;
    long double tg = tc;
    long long hourIndex = 0;
    std::vector<long double> ts, xs, ys, ds, mus, l1s, l2s;
    ExactElements at0{};
    for (int round = 0; round < 4; ++round) {
        long long h = std::llround((tg + 0.5L) * 24.0L);   // hours since JD -0.5 (0h TD)
        if (round > 0 && h == hourIndex) break;
        hourIndex = h;
        r.JD0 = h / 24.0L - 0.5L;
        ts.clear(); xs.clear(); ys.clear(); ds.clear(); mus.clear(); l1s.clear(); l2s.clear();
        for (int i = -6; i <= 6; ++i) {
            long double t = i * 0.5L;
            ExactElements e = SolarElements(eph, r.JD0 + t / 24.0L);
            if (i == 0) at0 = e;
            ts.push_back(t);
            xs.push_back(e.x);
            ys.push_back(e.y);
            ds.push_back(e.d);
            long double mu = e.mu;
            if (!mus.empty()) mu = mus.back() + NormDeg(mu - mus.back() - 7.5L) + 7.5L;
            mus.push_back(mu);
            l1s.push_back(e.l1);
            l2s.push_back(e.l2);
        }
        auto X = PolyFit(ts, xs, 3), Y = PolyFit(ts, ys, 3);
        std::copy(X.begin(), X.end(), r.X);
        std::copy(Y.begin(), Y.end(), r.Y);
        // Greatest eclipse: the axis closest to the Earth's centre.
        long double t = (tg - r.JD0) * 24.0L;
        for (int i = 0; i < 50; ++i) {
            long double x = Poly(r.X, 4, t), y = Poly(r.Y, 4, t);
            long double dx = PolyD(r.X, 4, t), dy = PolyD(r.Y, 4, t);
            long double ddx = 2 * r.X[2] + 6 * r.X[3] * t, ddy = 2 * r.Y[2] + 6 * r.Y[3] * t;
            long double f = x * dx + y * dy, fd = dx * dx + dy * dy + x * ddx + y * ddy;
            long double step = f / fd;
            t -= step;
            if (std::fabs(step) < 1e-9L) break;
        }
        tg = r.JD0 + t / 24.0L;
        auto D = PolyFit(ts, ds, 2), M = PolyFit(ts, mus, 1), L1 = PolyFit(ts, l1s, 2),
             L2 = PolyFit(ts, l2s, 2);
        std::copy(D.begin(), D.end(), r.D);
        std::copy(M.begin(), M.end(), r.Mu);
        std::copy(L1.begin(), L1.end(), r.L1);
        std::copy(L2.begin(), L2.end(), r.L2);
    }
    r.Mu[0] = std::fmod(r.Mu[0], 360.0L);
    if (r.Mu[0] < 0) r.Mu[0] += 360;
    r.TanF1 = at0.tanf1;
    r.TanF2 = at0.tanf2;
    r.T0 = static_cast<int>(((hourIndex % 24) + 24) % 24);
    r.JDE = tg;

    const long double t = (tg - r.JD0) * 24.0L;
    const long double x = Poly(r.X, 4, t), y = Poly(r.Y, 4, t), d = Poly(r.D, 3, t);
    const long double mu = Poly(r.Mu, 2, t), l1 = Poly(r.L1, 3, t), l2 = Poly(r.L2, 3, t);
    r.DeltaT = DeltaTSeconds(DecimalYear(tg));
    const long double deltaT = std::llround(r.DeltaT);
    r.Gamma = (y < 0 ? -1 : 1) * std::sqrt(x * x + y * y);

    const long double dr = d * kDeg;
    const long double rho1 = std::sqrt(1 - kE2 * std::cos(dr) * std::cos(dr));
    auto m1At = [&](long double tt) {
        long double xx = Poly(r.X, 4, tt), yy = Poly(r.Y, 4, tt) / rho1;
        return std::sqrt(xx * xx + yy * yy);
    };
    if (m1At(t) < 1) {
        Geographic g = PlaceUnder(x, y, d, mu, deltaT);
        long double L1p = l1 - g.Zeta * r.TanF1, L2p = l2 - g.Zeta * r.TanF2;
        r.Magnitude = (L1p - L2p) / (L1p + L2p);
        r.MELat = g.Lat;
        r.MELon = g.LonWest;
        if (L2p > 0) {
            r.Type = 'A';
        } else {
            // Total at greatest eclipse; hybrid when annular where the
            // central line begins or ends (there the Sun is on the horizon).
            r.Type = 'T';
            auto edge = [&](long double dir) {
                long double a = t, b = t;
                while (std::fabs(b - t) < 6 && m1At(b) < 1) b += dir * 0.05L;
                if (m1At(b) < 1) return b;
                return Root([&](long double tt) { return m1At(tt) - 1; }, a, b, 1e-7L);
            };
            for (long double dir : {-1.0L, 1.0L})
                if (Poly(r.L2, 3, edge(dir)) > 0) r.Type = 'H';
        }
    } else {
        // Nearest point of the Earth's outline (ellipse 1 x rho1) to the axis.
        long double best = 1e9, bestTh = 0;
        for (int i = 0; i < 3600; ++i) {
            long double th = i * kPi / 1800;
            long double dd = std::hypot(x - std::cos(th), y - rho1 * std::sin(th));
            if (dd < best) { best = dd; bestTh = th; }
        }
        long double lo = bestTh - kPi / 1800, hi = bestTh + kPi / 1800;
        for (int i = 0; i < 100; ++i) {   // golden-section refinement
            long double m1 = lo + (hi - lo) * 0.381966L, m2 = lo + (hi - lo) * 0.618034L;
            long double f1 = std::hypot(x - std::cos(m1), y - rho1 * std::sin(m1));
            long double f2 = std::hypot(x - std::cos(m2), y - rho1 * std::sin(m2));
            if (f1 < f2) hi = m2; else lo = m1;
        }
        long double th = (lo + hi) / 2;
        long double delta = std::hypot(x - std::cos(th), y - rho1 * std::sin(th));
        if (delta >= l1) return std::nullopt;
        r.Magnitude = (l1 - delta) / (l1 + l2);
        if (delta < std::fabs(l2)) r.Type = l2 < 0 ? 'T' : 'A';
        else r.Type = 'P';
        Geographic g = PlaceUnder(std::cos(th), rho1 * std::sin(th), d, mu, deltaT);
        r.MELat = g.Lat;
        r.MELon = g.LonWest;
    }
    r.Saros = SolarSaros(k);
    r.DT = DateTextOf(EventKind::Solar, k, tg);
    return r;
}

// --- lunar ------------------------------------------------------------------

namespace {

struct LunarState {
    long double theta;       // Moon's centre from the shadow axis, radians
    long double umbra, penumbra;   // shadow radii, radians
    long double moonPen, moonUmb;  // Moon's semi-diameter, radians
    long double signedDist;  // centre from axis, Earth radii, + north
    Vec3 moon;
};

LunarState LunarAt(Ephemeris& eph, long double jdTD)
{
    SunMoon p = eph.At(jdTD);
    long double rs = Norm(p.Sun), rm = Norm(p.Moon);
    Vec3 axis = (-1.0L / rs) * p.Sun;
    LunarState s;
    long double along = Dot(p.Moon, axis);
    long double across = Norm(Cross(p.Moon, axis));
    s.theta = std::atan2(across, along);
    long double piMoon = std::asin(1 / rm), piSun = std::asin(1 / rs);
    long double sSun = std::asin(kSunRadius / rs);
    // Danjon's rule as stated, with sin(parallax) = radius / distance and
    // the Sun's 959.63" at 1 AU.  The lunar canon's magnitudes imply radii
    // 0.24" (penumbra) and 0.11" (umbra) larger in every millennium: a part
    // growing as the cube of the Moon's parallax (about parallax^3 / 6, as
    // if the parallax were taken as tan(radius / distance)) plus 0.065" on
    // the Sun's semi-diameter (959.695" at 1 AU, where the solar canon's
    // cone angles imply 959.63").  Neither is a better physical constant,
    // so the rule is kept as stated; the canon check reports the offsets.
    s.umbra = 1.01L * piMoon + piSun - sSun;
    s.penumbra = 1.01L * piMoon + piSun + sSun;
    s.moonPen = std::asin(kMoonLunar / rm);
    s.moonUmb = std::asin(kMoonLunar / rm);
    Vec3 north{-axis.z * axis.x, -axis.z * axis.y, 1 - axis.z * axis.z};
    s.signedDist = (Dot(p.Moon, north) < 0 ? -1 : 1) * across;
    s.moon = p.Moon;
    return s;
}

} // namespace

std::optional<LunarRecord> ComputeLunarEclipse(Ephemeris& eph, int k, bool grazing)
{
    long double beta;
    long double tc = Syzygy(eph, k, true, beta);
    if (std::fabs(beta) > 1.75L) return std::nullopt;   // beyond the penumbral limit

    // Greatest eclipse: the Moon's centre closest to the shadow axis.
    const long double h = 1.0L / 1440;
    long double t = tc;
    for (int i = 0; i < 20; ++i) {
        long double a = LunarAt(eph, t - h).theta, b = LunarAt(eph, t).theta,
                    c = LunarAt(eph, t + h).theta;
        long double d1 = (c - a) / (2 * h), d2 = (c - 2 * b + a) / (h * h);
        long double step = d1 / d2;
        t -= step;
        if (std::fabs(step) < 1e-8L) break;
    }
    LunarState g = LunarAt(eph, t);
    LunarRecord r;
    r.K = k;
    r.JDE = t;
    r.MagPen = (g.penumbra + g.moonPen - g.theta) / (2 * g.moonPen);
    r.MagUmbra = (g.umbra + g.moonUmb - g.theta) / (2 * g.moonUmb);
    if (r.MagPen <= 0 && !grazing) return std::nullopt;
    r.Type = r.MagUmbra >= 1 ? 'T' : r.MagUmbra > 0 ? 'P' : 'N';
    r.Gamma = g.signedDist;
    r.UmbraRadius = g.umbra / kDeg;
    r.PenumbraRadius = g.penumbra / kDeg;

    // Contacts: the Moon's limb on the penumbra / umbra.
    auto duration = [&](auto limit) {
        auto f = [&](long double tt) {
            LunarState s = LunarAt(eph, tt);
            return s.theta - limit(s);
        };
        if (f(t) >= 0) return 0.0L;
        long double a = Root(f, t - 0.25L, t, 1e-8L), b = Root(f, t, t + 0.25L, 1e-8L);
        return (b - a) * 24.0L;
    };
    r.DurationPen = duration([](const LunarState& s) { return s.penumbra + s.moonPen; });
    r.DurationPar = r.Type != 'N' ? duration([](const LunarState& s) { return s.umbra + s.moonUmb; }) : 0;
    r.DurationTot = r.Type == 'T' ? duration([](const LunarState& s) { return s.umbra - s.moonUmb; }) : 0;

    // The Moon's place as quadratics in hours from greatest eclipse.
    std::vector<long double> ts, ras, decs, rs;
    for (int i = -7; i <= 7; ++i) {
        long double T = i * 0.5L;
        SunMoon p = eph.At(t + T / 24.0L);
        long double ra = std::atan2(p.Moon.y, p.Moon.x) / kDeg;
        if (!ras.empty()) ra = ras.back() + NormDeg(ra - ras.back());
        else if (ra < 0) ra += 360;
        long double rm = Norm(p.Moon);
        ts.push_back(T);
        ras.push_back(ra);
        decs.push_back(std::asin(p.Moon.z / rm) / kDeg);
        rs.push_back(rm * kEarthRadiusAU);
    }
    auto RA = PolyFit(ts, ras, 2), DEC = PolyFit(ts, decs, 2), R = PolyFit(ts, rs, 2);
    std::copy(RA.begin(), RA.end(), r.RA);
    std::copy(DEC.begin(), DEC.end(), r.DEC);
    std::copy(R.begin(), R.end(), r.R);

    r.DeltaT = DeltaTSeconds(DecimalYear(t));
    const long double deltaT = std::llround(r.DeltaT);
    long double rm = Norm(g.moon);
    long double ra = std::atan2(g.moon.y, g.moon.x) / kDeg;
    r.MELat = std::asin(g.moon.z / rm) / kDeg;
    r.MELon = NormDeg(eph.ApparentSiderealTime(t - deltaT / 86400.0L) - ra);
    r.Saros = LunarSaros(k);
    r.DT = DateTextOf(EventKind::Lunar, k, t);
    return r;
}

} // namespace catalogue
