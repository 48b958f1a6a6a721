// Places of the solar map whose pixel the local circumstances cannot colour,
// proven from the elements without solving there.
//
// The solver's maximum and its first and last contacts each end at a time
// t where it converged with |S| <= 1; there the place's distance m from the
// shadow axis is at most |L1'| + 0.0002 n (the along-track remainder of the
// last step).  That holds wherever the iteration wandered, so the bounds
// need no knowledge of its path:
//   - the times where any place could meet that condition form a few
//     intervals of the element time (the rest of the real line is excluded
//     by polynomial bounds; far from the eclipse the cubic elements may
//     bring a ghost of the shadow back, and its interval is kept too);
//   - a place for which, at every such time, m - |L1'| exceeds the slack or
//     the Sun stays below the drawing threshold, ends either unsolved
//     (nothing drawn) or with the Sun below that threshold at the maximum
//     and both outer contacts: no colour, no visible eclipse, no point of
//     a curve of equal time;
//   - a converged outer contact also has m >= |L1'| - 0.0002 n: a place for
//     which, at every time where |m - |L1'|| is within the slack, the Sun
//     is further from the horizon than the visibility limits' half-width,
//     gets no such limit from its contacts, and only its maximum decides.
// The time intervals are split into slabs with Lipschitz bounds (element
// polynomials, the observer's rotation); a proof for one place also holds
// within a radius around it (the place metric of Distance), so whole spans
// of a row follow from one proof.
//
// A converged maximum also ends where the last step was shorter than the
// tolerance: the place's along-track offset from the axis |al| < 0.0002 n,
// so its distance m lies between the cross-track offset |cr| and
// |cr| + 0.0002 n, and its time of maximum within 0.0002 h of that time.
// ProveMaximumClear uses this for a whole disc of places (a block of
// pixels): at every time of the intervals, either no place of the disc can
// end its maximum there, or none has an eclipse there, or each has the Sun
// further from the horizon than the drawn limit with nothing that colours
// on the sunlit side (a magnitude in one of the uncoloured ranges, not
// central, no curve of equal time within reach).
#pragma once

#include <cstdint>
#include <vector>

namespace compute {
class TSolarEclipse;
}

namespace app {

class TSolarMapBounds {
public:
    // altitude: degrees (>= 0) the Sun must stay below for a place to be left
    // alone: 0, or the half-width of the drawn visibility limits.
    // contactAltitude: degrees (>= 0) the Sun must stay away from the horizon
    // at the outer contacts for them not to matter; negative when they never
    // matter.
    TSolarMapBounds(const compute::TSolarEclipse& see, double altitude, double contactAltitude = -1);

    // False when the elements defeat the proof (nothing is then skipped).
    bool Enabled() const { return FEnabled; }

    // The terms of a place the proofs take, from its latitude and from its
    // longitude (degrees, west positive); the proofs of a place may be given
    // its terms instead, made once for places sharing them.
    struct TPlace {
        double RhoSinPhi, RhoCosPhi, SinPhi, CosPhi, SinL, CosL;
    };
    static void SetLatitude(TPlace& p, double latitude);
    static void SetLongitude(TPlace& p, double longitude);
    static TPlace MakePlace(double latitude, double longitude);

    // Tries to prove that the place (degrees, west positive) gets nothing.
    // > 0: proven, also for every place closer than the result (Distance);
    // < 0: not provable, and neither for places closer than minus the
    // result; 0: not proven.
    double ProveEmpty(double latitude, double longitude) const;
    // The same for: a converged first or last contact has the Sun more
    // than contactAltitude from the horizon (so only the maximum decides
    // the colour).
    double ProveContactsClear(double latitude, double longitude) const;
    double ProveEmpty(const TPlace& place) const;
    double ProveContactsClear(const TPlace& place) const;

    // Time intervals (hours of element time) the proofs cover.
    struct TInterval {
        double A, B;
    };

    // What a converged maximum must show for its pixel to get no colour
    // from the tests that read the maximum (those of the path, the limit,
    // the curves of equal magnitude and time and the limit of visibility
    // of the maximum).
    struct TMaximumRules {
        // Degrees >= 0 the Sun must be away from the horizon: the drawn
        // half-width of that limit of visibility, else 0.
        double Altitude = 0;
        // Central places (the path of totality) are coloured.
        bool Path = false;
        // The magnitudes that give no colour: open ranges in order.
        std::vector<TInterval> Magnitudes{{-1e300, 1e300}};
        // Times of the curves of equal time (JD, UT) and their half-width
        // (days): a time of maximum closer than that is coloured.
        std::vector<double> Times;
        double HalfWidth = 0;
    };
    void SetMaximumRules(const TMaximumRules& rules);
    // The largest radius ProveMaximumClear takes.
    static constexpr double MaxRadius = 0.03;
    // The slabs of time a failed ProveMaximumClear could not prove for its
    // disc (Complete: all of them are listed).  Every other slab holds for
    // every place of that disc.
    struct TOpenSlabs {
        static constexpr int Capacity = 24;
        int Count = 0;
        bool Complete = false;
        struct TSlab {
            uint16_t Tree, Node;
        };
        TSlab Slabs[Capacity];
    };
    // True when it is proven that no place within radius (Distance, at
    // most MaxRadius) of the place gets a colour from its maximum: each
    // one's maximum fails, has no eclipse or passes none of the rules.
    // With within (the open slabs of an earlier proof), only those slabs
    // are proven: the result then holds for the places of this disc that
    // also lie in that proof's disc.  With open, a failure lists its open
    // slabs there (a success leaves it empty and complete).
    //   TOpenSlabs open;
    //   if (!b.ProveMaximumClear(lat, lon, r, nullptr, &open))
    //       for (quarter of the pixels) b.ProveMaximumClear(la, lo, rq, &open);
    bool ProveMaximumClear(double latitude, double longitude, double radius, const TOpenSlabs* within = nullptr,
                           TOpenSlabs* open = nullptr) const;
    bool ProveMaximumClear(const TPlace& place, double radius, const TOpenSlabs* within = nullptr,
                           TOpenSlabs* open = nullptr) const;

    // The place metric of the radii, in radians: 1.0034 |dlat| + |dlon|,
    // the longitude difference taken the short way round.
    static double Distance(double lat1, double lon1, double lat2, double lon2);

    const std::vector<TInterval>& Intervals() const { return FIntervals; }

private:
    // A time slab at its centre: element values and the Lipschitz margins
    // of the tests over the half-width.
    struct TNode {
        double X, Y, L1, SinG, CosG, SinD, CosD;
        double DMargin, AMargin;
        // For ProveMaximumClear: the element rates and L2 at the centre,
        // the half-width (hours) and bounds over the slab of the speed of
        // the axis relative to an observer, of the rate of change of the
        // solver's relative velocity (a, b), of its difference from the
        // true one, of the rates of L1 and L2 and of the observer's
        // rotation (radians per hour).
        double DX, DY, L2, T, H;
        double Speed, Accel, Deviation, L1Rate, L2Rate, Omega;
    };
    // Altitude tests of a proof: sin(altitude) below Low or above High
    // (-2 and 2: no such test).  Edge: the times that matter are those on
    // the penumbra's edge (|m - |L1'|| within the slack, as at a converged
    // contact), not all those inside it.
    struct TClauses {
        double Low = -2, High = 2;
        bool Edge = false;
    };
    double Prove(const TPlace& p, const TClauses& clauses) const;
    bool ProveMaximum(const TPlace& p, double radius, const TOpenSlabs* within, TOpenSlabs* open) const;
    double ProveNode(const TPlace& p, const TClauses& c, const std::vector<TNode>& tree, int node, int level) const;
    // 1: proven over the node's slab, 0: not proven, -1: not even at its
    // centre time (its children need no try), or not proven at a leaf.
    int ProveMaximumNode(const TPlace& p, double radius, const TNode& n, bool leaf) const;
    bool ProveMaximumTree(const TPlace& p, double radius, int tree, int node, int level, TOpenSlabs* open) const;

    bool FEnabled = false;
    double FTanF1 = 0;
    double FSlack = 0;  // allowed m - |L1'| at a converged solve, with a safety margin
    TClauses FEmpty, FContacts;
    bool FContactsMatter = false;
    // ProveMaximumClear: on when the elements allow it (the relative speed
    // of the axis and the sum of the cone radii bounded away from 0).
    bool FMaximumProofs = false;
    double FTanF2 = 0;
    double FM1 = 0, FD1 = 0;      // the solver's M1 and d1 (degrees per hour)
    double FPlaceRate = 0;        // change of (a, b) per unit of Distance
    double FJD0 = 0, FDeltaT = 0; // element epoch and delta T (days)
    TMaximumRules FRules;
    double FSinRulesAltitude = 0;
    std::vector<double> FRuleTimes;  // element hours
    double FRuleHalfWidth = 0;       // hours, with the tolerance
    std::vector<TInterval> FIntervals;
    std::vector<std::vector<TNode>> FTrees;  // one complete binary tree per interval
};

} // namespace app
