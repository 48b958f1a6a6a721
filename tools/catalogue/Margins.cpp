#include "tools/catalogue/Margins.h"

#include "tools/catalogue/Ephemeris.h"

namespace catalogue {

namespace {

struct DateAtMidnight {
    EventKind Kind;
    int K;
    const char* Text;
};

// Greatest eclipse a few seconds after midnight here, before it in the canon
// (-132 Aug 7 23:59:55 TD, -1803 May 20 23:59:59 TD).
constexpr DateAtMidnight kDatesAtMidnight[] = {
    {EventKind::Solar, -26362, "-0132 Aug 07"},
    {EventKind::Lunar, -47033, "-1803 May 20"},
};

} // namespace

bool DroppedSolar(int k)
{
    return k == -45765      // -1701 Nov 12, magnitude 0.0007
           || k == -24109;  // 0050 Oct 04, magnitude 0.0002
}

bool KeptLunar(int k)
{
    return k == -34373;     // -780 Dec 13, 0.0004 outside the penumbra here
}

std::string DateTextOf(EventKind kind, int k, long double jd)
{
    for (const DateAtMidnight& d : kDatesAtMidnight)
        if (d.Kind == kind && d.K == k) return d.Text;
    return DateText(jd);
}

} // namespace catalogue
