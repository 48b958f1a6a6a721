// The solar eclipse map: every pixel's local circumstances decide its
// colour (path of totality, curves of equal magnitude and time, limits),
// the pixels of the curves of equal time are collected, then the central
// line, the labels and the marker of greatest eclipse are drawn.  The fast
// pass gives the plain pass's pixels and points with far fewer solves (see
// ComputeSolarRow and EclipseMapSolarBounds.h).
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "app/EclipseMap.h"
#include "app/EclipseMapSolarBounds.h"
#include "app/MapRowPass.h"
#include "app/MapView.h"
#include "compute/AstroBase.h"
#include "compute/BesselSE.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;
using compute::TSELocalCircumstances;
using compute::TSEMeridian;
using compute::TSEPlace;
using compute::TSEStart;
using compute::TSolarEclipse;

namespace {

// The map in blocks of Block x Block pixels, proven in parts: pixels
// proven to get nothing (or without a place) need no work at all; pixels
// whose maximum is proven to give no colour and whose contacts are proven
// not to matter need no solve (only the row's visibility may ask for one).
// A part that cannot be proven whole is split in four, down to single
// pixels; the rest is solved pixel by pixel.
constexpr int Block = 16;

// The proofs of one block, one bit per pixel (bit x of word y in the block).
// Unproven: pixels where proving that they get nothing is known to fail.
// Decided: pixels whose own proofs were tried (and failed) in the block, so
// that the pixel pass needs none: ContactsClear tells whether the contacts
// were proven not to matter.
struct TBlockMasks {
    std::array<uint16_t, Block> Empty{};
    std::array<uint16_t, Block> Clear{};
    std::array<uint16_t, Block> Unproven{};
    std::array<uint16_t, Block> Decided{};
    std::array<uint16_t, Block> ContactsClear{};
};

// A row of blocks is proven when a row of pixels first needs it, by all the
// threads that need it, each taking the next block not yet taken.
struct TBlockRow {
    std::atomic<int> Next{0};
    std::atomic<int> Done{0};
};

struct TBlockProofs {
    int Columns = 0, RowCount = 0;
    TSpareVector<TBlockMasks> Masks;  // Columns per row of blocks
    std::unique_ptr<TBlockRow[]> Rows;
};

// What one run of the pixel pass needs, fixed at its start.
struct TSolarPass {
    const TSolarEclipse* SEE = nullptr;
    // A copy: messages pumped between rows cannot move the workers' map.
    TMapData Map;
    int W = 0, H = 0;
    bool TopDown = true;
    std::array<bool, MapSlotCount> Flags{};
    // Curves of equal magnitude: round(N m) of each curve's magnitude m
    // marked in a table of 0..N; disabled for a width the curves cannot have.
    bool MagnitudeCurves = false;
    long long N = 0;
    std::vector<char> CEMTarget;
    // Curves of equal time: their times (JD, UT) in order, half-width in days.
    std::vector<double> CETTimes;
    double CETHalfWidth = 0;
    double VBLWidth = 0;
    // The solves' shared terms: the elements at the start, and each
    // column's longitude with its hour angle (taken when a pixel of the
    // column has that very longitude, as on cylindrical maps).
    TSEStart Start;
    std::vector<TSEMeridian> Meridians;
    // Proofs of places that get nothing or whose contacts do not matter;
    // null when the proofs are off.
    std::unique_ptr<TSolarMapBounds> Bounds;
    // Null when the proofs are off.  Written by the threads while they
    // prove rows of blocks.
    std::unique_ptr<TBlockProofs> Blocks;
    // The plain pass: every pixel solved on its own, nothing shared.
    bool Plain = false;
    // The fast pass reads the pixels' places from tables where it can.
    std::unique_ptr<TPixelPlaces> Places;

    int RowY(int r) const { return TopDown ? r : H - 1 - r; }
    bool Place(int x, int y, double& lat, double& lon) const
    {
        return Places ? Places->Place(x, y, lat, lon) : PixelToGeo(Map, x, y, lat, lon);
    }
};

// One computed row: the slot whose colour each pixel gets (-1 none), the
// curve-of-equal-time points in column order (x, index of the time), and
// whether the eclipse is visible anywhere in the row.
struct TSolarRow {
    std::vector<int8_t> Slot;
    std::vector<std::pair<int, int>> CETPoints;
    bool Visible = false;
    // Columns solved at the maximum only whose visibility is open.
    std::vector<int> Open;
};

// A place and a radius (degrees, radians of TSolarMapBounds::Distance).
struct TDisc {
    double Lat = 0, Lon = 0, Radius = -1;
    bool Holds(double lat, double lon) const
    {
        return Radius > 0 && TSolarMapBounds::Distance(Lat, Lon, lat, lon) < Radius;
    }
};

// A proof tried at a place unless a neighbour's result already decides it.
struct TProofCache {
    TDisc Proven, Unprovable;
    template <class TProve>
    bool Holds(double lat, double lon, TProve prove)
    {
        if (Proven.Holds(lat, lon)) return true;
        if (Unprovable.Holds(lat, lon)) return false;
        const double radius = prove(lat, lon);
        if (radius > 0) Proven = {lat, lon, radius};
        else if (radius < 0) Unprovable = {lat, lon, -radius};
        return radius > 0;
    }
};

// rtl::Round of a magnitude scaled by N: the nearest integer, ties to even.
// The fast pass rounds in the default rounding mode without saving the
// floating-point state as nearbyintl does: the same integers, several
// times faster.
long long RoundToEven(const TSolarPass& p, long double v) { return p.Plain ? rtl::Round(v) : std::llrintl(v); }

// The slot of the tests that read the maximum only (path, limit, curves of
// equal magnitude and time, limit of visibility of the maximum); the index
// of the matching curve of equal time in *cet (-1 none).
int MaximumSlot(const TSolarPass& p, const TSELocalCircumstances& lc, int* cet)
{
    const bool sunUp = lc.SA2 >= 0;
    int slot = -1;
    *cet = -1;
    // The tests run in this order; the last one that matches gives the colour.
    if (p.Flags[slotPath] && (lc.EclipseType == 'A' || lc.EclipseType == 'T') && sunUp) slot = slotPath;
    if (p.MagnitudeCurves) {
        if (p.Flags[slotLimit] && RoundToEven(p, p.N * 0.75L * lc.Magnitude) == 0 && sunUp) slot = slotLimit;
        if (p.Flags[slotCEM] && sunUp) {
            const long long m = RoundToEven(p, p.N * lc.Magnitude);
            if (m >= 0 && m <= p.N && p.CEMTarget[m]) slot = slotCEM;
        }
    }
    if (p.Flags[slotCET] && sunUp) {
        for (size_t k = 0; k < p.CETTimes.size(); ++k) {
            if (std::fabs(static_cast<double>(lc.JD2) - p.CETTimes[k]) < p.CETHalfWidth) {
                slot = slotCET;
                *cet = static_cast<int>(k);
                break;
            }
        }
    }
    if (p.Flags[slotLimitMaximum] && p.VBLWidth >= std::fabs(lc.SA2)) slot = slotLimitMaximum;
    return slot;
}

// The last few discs where a proof failed (skipping a proof is always safe).
struct TDiscs {
    std::array<TDisc, 4> Discs;
    int Next = 0;
    bool Holds(double lat, double lon) const
    {
        for (const TDisc& d : Discs)
            if (d.Holds(lat, lon)) return true;
        return false;
    }
    void Add(const TDisc& d)
    {
        Discs[Next] = d;
        Next = (Next + 1) % static_cast<int>(Discs.size());
    }
};

// The discs of the last proofs of squares (see ProveSquare).
struct TSquareCaches {
    TDisc Empty, Clear;
    TDiscs NotEmpty, NotClear;
    // About a pixel's width (Distance) in the block being proven.
    double Pixel = 0;
};

// The places of a block's pixels (block coordinates), with the proofs'
// terms of the last latitude met in each pixel row and the last longitude
// in each column (on most maps every pixel of a row shares its latitude).
struct TBlockPlaces {
    std::array<double, Block * Block> Lat, Lon;
    std::array<bool, Block * Block> Ok;
    std::array<double, Block> RowLat, ColumnLon;
    std::array<TSolarMapBounds::TPlace, Block> RowTerms, ColumnTerms;
    TSolarMapBounds::TPlace Terms(int i)
    {
        TSolarMapBounds::TPlace place;
        const int y = i / Block, x = i % Block;
        if (!(RowLat[y] == Lat[i])) {
            TSolarMapBounds::SetLatitude(RowTerms[y], Lat[i]);
            RowLat[y] = Lat[i];
        }
        if (!(ColumnLon[x] == Lon[i])) {
            TSolarMapBounds::SetLongitude(ColumnTerms[x], Lon[i]);
            ColumnLon[x] = Lon[i];
        }
        place = RowTerms[y];
        place.SinL = ColumnTerms[x].SinL;
        place.CosL = ColumnTerms[x].CosL;
        return place;
    }
};

// Proves the square of s x s pixels at (x0, y0) of a block (block
// coordinates, w x h of it on the map), or its quarters, into masks.
void ProveSquare(const TSolarPass& p, TBlockPlaces& places, int w, int h, TBlockMasks& masks, int x0, int y0,
                 int s, TSquareCaches& caches, const TSolarMapBounds::TOpenSlabs* within = nullptr)
{
    const int x1 = std::min(x0 + s, w), y1 = std::min(y0 + s, h);
    if (x0 >= x1 || y0 >= y1) return;
    // The disc around the centre pixel's place that holds every pixel's place.
    int c = std::min(y0 + s / 2, y1 - 1) * Block + std::min(x0 + s / 2, x1 - 1);
    for (int y = y0; y < y1 && !places.Ok[c]; ++y)
        for (int x = x0; x < x1 && !places.Ok[c]; ++x) c = y * Block + x;
    if (!places.Ok[c]) return;  // no pixel with a place: all marked empty already
    const double lat = places.Lat[c], lon = places.Lon[c];
    double radius = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (places.Ok[y * Block + x])
                radius = std::max(radius, TSolarMapBounds::Distance(lat, lon, places.Lat[y * Block + x], places.Lon[y * Block + x]));
    auto mark = [&](std::array<uint16_t, Block>& bits) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) bits[y] |= static_cast<uint16_t>(1u << x);
    };
    // Discs proven (or found unprovable) before, here or in a neighbouring
    // block, may decide the square without a proof.
    auto inside = [&](const TDisc& d) {
        return d.Radius > 0 && TSolarMapBounds::Distance(d.Lat, d.Lon, lat, lon) + radius < d.Radius;
    };
    auto prove = [&](TDisc& proven, TDiscs& unprovable, auto proof) {
        if (inside(proven)) return true;
        if (unprovable.Holds(lat, lon)) return false;
        const double r = proof();
        if (r > 0) proven = {lat, lon, r};
        else if (r < 0) unprovable.Add({lat, lon, -r});
        // Not proven at the centre: the places a pixel or two away would
        // most likely fail as well, and skipping a proof is always safe.
        else unprovable.Add({lat, lon, 1.5 * caches.Pixel});
        return r > radius;
    };
    const TSolarMapBounds& b = *p.Bounds;
    const TSolarMapBounds::TPlace terms = places.Terms(c);
    if (prove(caches.Empty, caches.NotEmpty, [&] { return b.ProveEmpty(terms); })) {
        mark(masks.Empty);
        return;
    }
    // The slabs of time this square's maximum proof leaves open; the
    // quarters, whose pixels lie in its disc, prove only those.
    TSolarMapBounds::TOpenSlabs open;
    const TSolarMapBounds::TOpenSlabs* quarters = within;
    bool contactsClear = false;
    if (radius <= TSolarMapBounds::MaxRadius &&
        prove(caches.Clear, caches.NotClear, [&] { return b.ProveContactsClear(terms); })) {
        contactsClear = true;
        if (b.ProveMaximumClear(terms, radius, within, s > 1 ? &open : nullptr)) {
            mark(masks.Clear);
            return;
        }
        quarters = &open;
    }
    if (s == 1) {
        // One pixel, its own proofs tried: the pixel pass takes the outcome.
        const uint16_t bit = static_cast<uint16_t>(1u << x0);
        masks.Decided[y0] |= bit;
        masks.Unproven[y0] |= bit;
        if (contactsClear) masks.ContactsClear[y0] |= bit;
        return;
    }
    const int half = s / 2;
    ProveSquare(p, places, w, h, masks, x0, y0, half, caches, quarters);
    ProveSquare(p, places, w, h, masks, x0 + half, y0, half, caches, quarters);
    ProveSquare(p, places, w, h, masks, x0, y0 + half, half, caches, quarters);
    ProveSquare(p, places, w, h, masks, x0 + half, y0 + half, half, caches, quarters);
}

void ProveBlock(const TSolarPass& p, int bx, int by, TBlockMasks& masks, TSquareCaches& caches)
{
    const int w = std::min(Block, p.W - bx * Block), h = std::min(Block, p.H - by * Block);
    TBlockPlaces places;
    places.RowLat.fill(std::numeric_limits<double>::quiet_NaN());
    places.ColumnLon.fill(std::numeric_limits<double>::quiet_NaN());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = y * Block + x;
            places.Ok[i] = p.Place(bx * Block + x, by * Block + y, places.Lat[i], places.Lon[i]);
            // A pixel without a place gets nothing.
            if (!places.Ok[i]) masks.Empty[y] |= static_cast<uint16_t>(1u << x);
        }
    caches.Pixel = 0;
    for (int i = 0; i + 1 < w * h && caches.Pixel == 0; ++i) {
        const int a = (i / w) * Block + i % w;
        if (i % w + 1 < w && places.Ok[a] && places.Ok[a + 1])
            caches.Pixel = TSolarMapBounds::Distance(places.Lat[a], places.Lon[a], places.Lat[a + 1], places.Lon[a + 1]);
    }
    ProveSquare(p, places, w, h, masks, 0, 0, Block, caches);
}

// Proves the next block of row by that no thread has taken yet; false when
// every block of the row is taken.
bool ProveNextBlock(const TSolarPass& p, int by, TSquareCaches& caches)
{
    TBlockProofs& blocks = *p.Blocks;
    TBlockRow& row = blocks.Rows[by];
    const int bx = row.Next.fetch_add(1);
    if (bx >= blocks.Columns) return false;
    // Whatever was proven before a failure stands; the rest is solved
    // pixel by pixel.  The block counts as done either way, or the other
    // threads would wait for it forever.
    try {
        ProveBlock(p, bx, by, blocks.Masks.Data[static_cast<size_t>(by) * blocks.Columns + bx], caches);
    } catch (...) {
    }
    row.Done.fetch_add(1, std::memory_order_release);
    row.Done.notify_all();
    return true;
}

// The proven masks of the row of blocks that holds map row y: proven by
// every thread that needs it before it is done, each taking the next block.
const TBlockMasks* BlockRow(const TSolarPass& p, int y)
{
    TBlockProofs& blocks = *p.Blocks;
    const int by = y / Block;
    TBlockRow& row = blocks.Rows[by];
    if (row.Done.load(std::memory_order_acquire) < blocks.Columns) {
        TSquareCaches caches;
        while (ProveNextBlock(p, by, caches)) {
        }
        // While the last blocks are proven, the blocks of the pass's next
        // row of blocks; with none left, a wait that takes no processor.
        const int ahead = p.TopDown ? by + 1 : by - 1;
        const bool help = ahead >= 0 && ahead < blocks.RowCount;
        for (int done; (done = row.Done.load(std::memory_order_acquire)) < blocks.Columns;)
            if (!(help && ProveNextBlock(p, ahead, caches))) row.Done.wait(done, std::memory_order_acquire);
    }
    return blocks.Masks.Data.data() + static_cast<size_t>(by) * blocks.Columns;
}

bool VisibleAt(const TSELocalCircumstances& lc)
{
    return (lc.SA0 >= 0 || lc.SA2 >= 0 || lc.SA4 >= 0) && lc.Magnitude >= 0;
}

// The row's pixels.  The plain pass solves every pixel on its own.  The
// fast one leaves out the parts of blocks proven to get nothing or no
// colour, then places proven to get nothing (pixels whose proofs the block
// tried already are not tried again), solves the maximum first where the
// contacts are proven not to matter and adds the contacts only when the
// maximum gives a colour (the visibility of unsolved pixels is settled at
// the row's end, only when no other pixel of the row shows the eclipse),
// and shares the latitude, longitude and start terms of the solves.  Both
// give the same slots, points and visibility.
void ComputeSolarRow(const TSolarPass& p, int r, TSolarRow& row)
{
    const int y = p.RowY(r);
    row.Slot.assign(p.W, -1);
    row.CETPoints.clear();
    row.Open.clear();
    row.Visible = false;
    int last = -99;
    TSEPlace place;
    place.Latitude = std::numeric_limits<long double>::quiet_NaN();
    TSEMeridian own;
    auto prepared = [&](int x, double lat, double lon) -> const TSEMeridian& {
        if (!(place.Latitude == static_cast<long double>(lat))) p.SEE->PreparePlace(lat, place);
        if (p.Meridians[x].Longitude == static_cast<long double>(lon)) return p.Meridians[x];
        p.SEE->PrepareMeridian(lon, own);
        return own;
    };
    TProofCache empty, clear;
    auto proveEmpty = [&p](double lat, double lon) { return p.Bounds->ProveEmpty(lat, lon); };
    auto proveClear = [&p](double lat, double lon) { return p.Bounds->ProveContactsClear(lat, lon); };
    const TBlockMasks* masks = p.Blocks ? BlockRow(p, y) : nullptr;
    for (int x = 0; x < p.W; ++x) {
        bool tryEmpty = true, decided = false, contactsClear = false;
        if (masks) {
            const TBlockMasks& m = masks[x / Block];
            const uint16_t bit = static_cast<uint16_t>(1u << (x % Block));
            if (m.Empty[y % Block] & bit) continue;
            if (m.Clear[y % Block] & bit) {
                // No colour whether or not it has an eclipse.
                if (!row.Visible) row.Open.push_back(x);
                continue;
            }
            tryEmpty = !(m.Unproven[y % Block] & bit);
            decided = m.Decided[y % Block] & bit;
            contactsClear = m.ContactsClear[y % Block] & bit;
        }
        double lat = 0, lon = 0;
        if (!p.Place(x, y, lat, lon)) continue;
        TSELocalCircumstances lc;
        int cet = -1;
        if (p.Plain) {
            lc.Latitude = lat;
            lc.Longitude = lon;
            if (!p.SEE->LocalCircumstances(lc)) continue;
        } else {
            if (!decided) {
                if (p.Bounds && tryEmpty && empty.Holds(lat, lon, proveEmpty)) continue;
                contactsClear = p.Bounds && clear.Holds(lat, lon, proveClear);
            }
            if (contactsClear) {
                compute::TSEMaximum maximum;
                if (!p.SEE->LocalMaximum(lc, place, prepared(x, lat, lon), p.Start, maximum)) continue;
                if (MaximumSlot(p, lc, &cet) < 0) {
                    // No colour whether or not the contacts converge.
                    if (!row.Visible) row.Open.push_back(x);
                    continue;
                }
                // The maximum solved already: its contacts finish the solve.
                if (!p.SEE->LocalContacts(lc, place, maximum)) continue;
            } else {
                if (!p.SEE->LocalCircumstances(lc, place, prepared(x, lat, lon), p.Start)) continue;
            }
        }
        row.Visible = row.Visible || VisibleAt(lc);
        int slot = MaximumSlot(p, lc, &cet);
        if (cet >= 0) {
            // Of a run of neighbouring pixels only the first is collected.
            if (x - 1 != last) row.CETPoints.emplace_back(x, cet);
            last = x;
        }
        if (p.Flags[slotLimitFirst] && p.VBLWidth >= std::fabs(lc.SA0)) slot = slotLimitFirst;
        if (p.Flags[slotLimitLast] && p.VBLWidth >= std::fabs(lc.SA4)) slot = slotLimitLast;
        row.Slot[x] = static_cast<int8_t>(slot);
    }
    // The row's visibility: the open columns until one shows the eclipse.
    for (size_t i = 0; i < row.Open.size() && !row.Visible; ++i) {
        const int x = row.Open[i];
        double lat = 0, lon = 0;
        p.Place(x, y, lat, lon);
        TSELocalCircumstances lc;
        row.Visible = p.SEE->LocalCircumstances(lc, place, prepared(x, lat, lon), p.Start) && VisibleAt(lc);
    }
}

// What the maximum must show for MaximumSlot to give no colour.
TSolarMapBounds::TMaximumRules MaximumRules(const TSolarPass& p)
{
    TSolarMapBounds::TMaximumRules rules;
    rules.Altitude = p.Flags[slotLimitMaximum] && p.VBLWidth > 0 ? p.VBLWidth : 0;
    rules.Path = p.Flags[slotPath];
    if (p.MagnitudeCurves) {
        // Closed ranges of the magnitudes that colour: round(0.75 N m) = 0
        // and round(N m) on a curve (ties either way).
        std::vector<TSolarMapBounds::TInterval> coloured;
        const double n = static_cast<double>(p.N);
        if (p.Flags[slotLimit]) coloured.push_back({-0.5 / (0.75 * n), 0.5 / (0.75 * n)});
        if (p.Flags[slotCEM])
            for (long long k = 0; k <= p.N; ++k)
                if (p.CEMTarget[k]) coloured.push_back({(k - 0.5) / n, (k + 0.5) / n});
        std::sort(coloured.begin(), coloured.end(), [](const auto& a, const auto& b) { return a.A < b.A; });
        rules.Magnitudes.clear();
        double from = -1e300;
        for (const TSolarMapBounds::TInterval& c : coloured) {
            if (c.A > from) rules.Magnitudes.push_back({from, c.A});
            from = std::max(from, c.B);
        }
        rules.Magnitudes.push_back({from, 1e300});
    }
    if (p.Flags[slotCET]) {
        rules.Times = p.CETTimes;
        rules.HalfWidth = p.CETHalfWidth;
    }
    return rules;
}

std::string TypeWord(const std::string& type)
{
    const char t = type.empty() ? ' ' : type[0];
    switch (t) {
    case 'T': return "Total";
    case 'A': return "Annular";
    case 'H': return "Hybrid";
    case 'P': return "Partial";
    default: return "";
    }
}

// The whole UT hour at or before the eclipse's reference time.
double ReferenceHourUT(const TSolarEclipse& see)
{
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(0, rec, compute::TDToUT(see.JD0()));
    rec.Minute = 0;
    rec.Second = 0;
    return static_cast<double>(compute::DateRecToJD(rec));
}

std::string HourMinuteUT(double jd)
{
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(0, rec, jd);
    std::string text;
    compute::TimeRecToText(rec, false, text);
    return text;
}

} // namespace

void DrawTimeLabels(TCanvas& c, const TCETData& data, int w, int h)
{
    auto edgeAligned = [&](int x, int y, const std::string& text) {
        const int ha = x == 0 ? 0 : x == w - 1 ? 2 : 1;
        const int va = y == 0 ? 0 : y == h - 1 ? 2 : 1;
        DrawTextBox(c, x, y, text, ha, va, false);
    };
    for (const TCETTrack& track : data) {
        if (track.Count <= 0) continue;
        const std::string text = HourMinuteUT(track.Value);
        edgeAligned(track.X[0], track.Y[0], text);
        if (track.Count > 250) {
            const int mid = track.Count / 2;
            DrawTextBox(c, track.X[mid], track.Y[mid], text, 1, 1, false);
        }
        edgeAligned(track.X[track.Count - 1], track.Y[track.Count - 1], text);
    }
}

void TEclipseMap::CalculateSolarEclipseMap(const TSolarEclipse& see)
{
    try {
        StartCalculation(TypeWord(see.EclipseType()) + " Solar Eclipse of " + see.DT(), see.Gamma(), see.Magnitude(),
                         see.Saros(), see.Lunation(), see.DeltaT(), see.JDE());

        const TMapDrawSettings& s = Settings;
        TSolarPass p;
        p.SEE = &see;
        p.Map = MapData;
        p.W = MapData.Width;
        p.H = MapData.Height;
        p.TopDown = see.Gamma() >= 0;
        p.Flags = s.Flags;
        // N = round(1 / width); a width outside (0, 1] (refused by the
        // setter, possible in a hand-made file) or too fine for any map
        // (below 1e-7 magnitude) draws no magnitude curves.
        if (s.CEMWidth >= 1e-7 && s.CEMWidth <= 1) {
            p.N = rtl::Round(1.0L / s.CEMWidth);
            p.MagnitudeCurves = true;
            p.CEMTarget.assign(static_cast<size_t>(p.N) + 1, 0);
            // A step of 0 or less would never end the list: no curves then.
            // A step finer than 1/N marks every band from the first curve
            // to the last one without walking the curves one by one.
            if (s.CEMScale > 0 && s.CEMScale * p.N < 1) {
                const double first = s.CEMScale * (std::floor(0.001 / s.CEMScale) + 1);
                const double last = s.CEMScale * (std::ceil(0.9999 / s.CEMScale) - 1);
                for (long long t = rtl::Round(p.N * static_cast<long double>(first));
                     t <= rtl::Round(p.N * static_cast<long double>(last)); ++t)
                    if (t >= 0 && t <= p.N) p.CEMTarget[t] = 1;
            } else if (s.CEMScale > 0) {
                for (int k = 1;; ++k) {
                    const double m = k * s.CEMScale;
                    if (!(m < 0.9999)) break;
                    if (m > 0.001) {
                        const long long target = rtl::Round(p.N * static_cast<long double>(m));
                        if (target >= 0 && target <= p.N) p.CEMTarget[target] = 1;
                    }
                }
            }
        }
        const double t0 = ReferenceHourUT(see);
        // A step of 0 minutes or less means no curves of equal time (it
        // would never leave the loop over the curves).
        if (s.CETScale > 0)
            for (int k = 0;; ++k) {
                const double t = t0 - 5.0 / 24 + k * s.CETScale / 1440.0;
                if (!(t < t0 + 5.0 / 24)) break;
                p.CETTimes.push_back(t);
            }
        p.CETHalfWidth = s.CETWidth / 1440;
        p.VBLWidth = s.VBLWidth;
        // The plain pass, the reference of the fast one, solves every pixel
        // on its own in the calling thread.  The fast pass shares the
        // solves' terms, leaves out the places proven to get nothing and
        // solves only the maximum where the contacts are proven not to
        // matter, on one thread as on many.
        p.Plain = PlainPass;
        const int threads = p.Plain ? 1 : Threads > 0 ? Threads : DefaultMapThreads();
        if (!p.Plain) {
            p.Places = std::make_unique<TPixelPlaces>(p.Map);
            see.PrepareStart(p.Start);
            p.Meridians.resize(p.W);
            for (int x = 0; x < p.W; ++x) {
                double lat = 0, lon = 0;
                if (app::PixelToGeo(p.Map, x, p.H / 2, lat, lon)) see.PrepareMeridian(lon, p.Meridians[x]);
                else p.Meridians[x].Longitude = std::numeric_limits<long double>::quiet_NaN();
            }
            // A place left alone must keep the Sun below the horizon, and
            // below the drawn visibility limits' half-width when they are
            // drawn; the contacts matter only through their limits.
            const bool limits = s.Flags[slotLimitMaximum] || s.Flags[slotLimitFirst] || s.Flags[slotLimitLast];
            const double altitude = limits && s.VBLWidth > 0 ? s.VBLWidth : 0;
            const bool contactLimits = (s.Flags[slotLimitFirst] || s.Flags[slotLimitLast]) && s.VBLWidth >= 0;
            p.Bounds = std::make_unique<TSolarMapBounds>(see, altitude, contactLimits ? s.VBLWidth : -1);
            if (!p.Bounds->Enabled()) {
                p.Bounds.reset();
            } else {
                p.Bounds->SetMaximumRules(MaximumRules(p));
                p.Blocks = std::make_unique<TBlockProofs>();
                p.Blocks->Columns = (p.W + Block - 1) / Block;
                const int rows = (p.H + Block - 1) / Block;
                p.Blocks->Masks.Data.resize(static_cast<size_t>(p.Blocks->Columns) * rows);
                p.Blocks->Rows = std::make_unique<TBlockRow[]>(rows);
                p.Blocks->RowCount = rows;
            }
        }
        for (TCETTrack& track : *FCETData) {
            track.Count = 0;
            track.Value = 0;
        }

        // Colours as stored bytes (blue, green, red).
        std::array<std::array<uint8_t, 3>, MapSlotCount> bgr{};
        for (int i = 0; i < MapSlotCount; ++i) {
            const TColor c = ColorToRGB(s.Colors[i]);
            bgr[i] = {GetBValue(c), GetGValue(c), GetRValue(c)};
        }

        bool seen = false;
        int emptyRows = 0;
        std::function<void(int, TSolarRow&)> compute = [&p](int r, TSolarRow& row) { ComputeSolarRow(p, r, row); };
        std::function<bool(int, TSolarRow&)> merge = [&](int r, TSolarRow& row) {
            const int y = p.RowY(r);
            uint8_t* line = FMap->ScanLine(y);
            for (int x = 0; x < p.W; ++x) {
                const int slot = row.Slot[x];
                if (slot < 0) continue;
                std::copy(bgr[slot].begin(), bgr[slot].end(), line + 3 * x);
            }
            for (const auto& [x, k] : row.CETPoints) AddCETPoint(*FCETData, x, y, p.CETTimes[k]);
            if (row.Visible) {
                seen = true;
                emptyRows = 0;
            } else if (seen) {
                ++emptyRows;
            }
            Progress(static_cast<int>(rtl::Round(static_cast<long double>(r) * 100 / p.H)));
            if (r % 200 == 0) Invalidate();
            FHost->ProcessMessages();
            return emptyRows < 3 && FHost->Status() != stCancel;
        };
        FLastPassRows = RunRowPass<TSolarRow>(p.H, threads, compute, merge);

        if (FHost->Status() != stCancel) {
            TCanvas& c = *FMap->Canvas();
            // Central line: points every 6 s over 4 hours around greatest eclipse.
            const std::string type = see.EclipseType();
            if (s.Flags[slotCentralLine] && !type.empty() && (type[0] == 'A' || type[0] == 'T' || type[0] == 'H')) {
                const TColor colour = ColorToRGB(s.Colors[slotCentralLine]);
                const long double start = see.JDE() - 1.0L / 6;
                for (int k = 0; k <= 4800; ++k) {
                    long double lat, lon, alt;
                    if (!see.CurveOfCentralEclipse(start + k / 14400.0L, lat, lon, alt) || alt < 0) continue;
                    int x, y;
                    if (GeoToPixel(static_cast<double>(lat), static_cast<double>(lon), x, y)) c.SetPixels(x, y, colour);
                }
            }

            // Magnitude labels.
            // A label step of 0 degrees places no labels.
            if (s.Flags[slotCEM] && s.Flags[slotCEMLabels] && s.CEMLabelScale != 0) {
                c.Font()->SetName("Arial");
                c.Font()->SetSize(s.CEMLabelSize);
                c.Font()->SetColor(s.Colors[slotCEMLabels]);
                const int m = 180 / s.CEMLabelScale;
                for (int i = -m; i <= m - 1; ++i) {
                    const int lambda = s.CEMLabelScale * i + s.CEMLabelOffset;
                    if (!(s.CEMScale > 0)) break;
                    for (int k = 1;; ++k) {
                        const double mag = k * s.CEMScale;
                        if (!(mag < 0.999)) break;
                        const std::string text = rtl::FloatToStrF(mag, rtl::TFloatFormat::ffFixed, 15, 2);
                        for (int side : {+1, -1}) {
                            compute::TCurveData d;
                            see.CurveOfEqualMagnitude(lambda, side, mag, d);
                            const bool valid[2] = {d.Valid1, d.Valid2};
                            const long double lats[2] = {d.Latitude1, d.Latitude2};
                            const long double alts[2] = {d.Altitude1, d.Altitude2};
                            for (int j = 0; j < 2; ++j) {
                                int x, y;
                                if (valid[j] && alts[j] >= 0 && GeoToPixel(static_cast<double>(lats[j]), lambda, x, y) &&
                                    std::fabs(lats[j]) < 80)
                                    DrawTextBox(c, x, y, text, 1, 1, false);
                            }
                        }
                    }
                }
            }

            // Time labels.
            if (s.Flags[slotCET] && s.Flags[slotCETLabels]) {
                c.Font()->SetName("Arial");
                c.Font()->SetSize(s.CETLabelSize);
                c.Font()->SetColor(s.Colors[slotCETLabels]);
                c.Brush()->SetStyle(TBrushStyle::bsClear);
                DrawTimeLabels(c, *FCETData, MapData.Width, MapData.Height);
            }

            // Marker of greatest eclipse.
            DrawGreatestEclipseMarker(c, see.MELat(), see.MELon(), "Maximum eclipse");
        }
        EndCalculation();
    } catch (const std::exception&) {
        FailCalculation();
    }
}

} // namespace app
