#include "compute/AstroMath.h"

#include <cmath>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace compute {

namespace {

long double Frac(long double x) { return x - std::trunc(x); }

// Adds one minute with the carries of the angle texts: 60 minutes make a
// degree, 360 degrees wrap to 0.
void CarryMinute(TDMS& d)
{
    ++d.Min;
    if (d.Min >= 60) {
        d.Min = 0;
        ++d.Deg;
        if (d.Deg >= 360)
            d.Deg = 0;
    }
}

std::string TwoDigits(int v) { return (v <= 9 ? "0" : "") + rtl::IntToStr(v); }

} // namespace

long double DegToRadians(long double x) { return x * PiOver180; }
long double RadiansToDeg(long double x) { return x * D180OverPi; }

long double Poly1(long double t, long double a1, long double a0) { return a0 + a1 * t; }

long double Poly2(long double t, long double a2, long double a1, long double a0)
{
    return a0 + t * (a1 + t * a2);
}

long double Poly3(long double t, long double a3, long double a2, long double a1, long double a0)
{
    return a0 + t * (a1 + t * (a2 + t * a3));
}

long double NormalizeSigned(long double x)
{
    // Fraction of whole turns, keeping the sign, then folded into [-pi, pi].
    long double b = Frac((x / 2) / Pi) * TwoPi;
    if (b > Pi)
        b -= TwoPi;
    if (b < -Pi)
        b += TwoPi;
    return b;
}

long double NormalizePositive(long double x)
{
    long double r = NormalizeSigned(x);
    if (r < 0)
        r += TwoPi;
    return r;
}

long double DMSToRadians(const TDMS& dms)
{
    return NormalizeSigned(dms.Sign * (dms.Deg + dms.Min / 60.0L + dms.Sec / 3600.0L) * PiOver180);
}

void RadiansToDMS(TDMS& dms, long double x)
{
    long double d = x * D180OverPi;
    dms.Sign = d >= 0 ? 1 : -1;
    d = std::fabs(d);
    dms.Deg = static_cast<int32_t>(std::trunc(d));
    dms.Min = static_cast<int32_t>(std::trunc(Frac(d) * 60));
    dms.Sec = (Frac(d) - dms.Min / 60.0L) * 3600;
}

void DMSToText(const TDMS& dms, int precision, std::string& text)
{
    TDMS d = dms;
    switch (precision) {
    case 0:
        if (d.Sec > 30)
            CarryMinute(d);
        break;
    case 1:
    case 2:
    case 3: {
        const long double scale = precision == 1 ? 1 : (precision == 2 ? 10 : 100);
        d.Sec = static_cast<long double>(rtl::Round(d.Sec * scale)) / scale;
        if (d.Sec >= 60) {
            d.Sec = 0;
            CarryMinute(d);
        }
        break;
    }
    default:
        break;
    }

    text.clear();
    if (d.Sign == -1)
        text += "-";
    text += rtl::IntToStr(d.Deg) + "\u00B0 " + TwoDigits(d.Min) + "' ";
    if (precision < 1 || precision > 3)
        return;
    static const long double padBelow[] = {0, 9.5L, 9.95L, 9.995L};
    if (d.Sec < padBelow[precision])
        text += "0";
    text += rtl::FloatToStrF(d.Sec, rtl::TFloatFormat::ffFixed, precision + 1, precision - 1);
    text += "''";
}

// The angle without its sign, then the letter of its side.
static void AngleWithSideToText(const TDMS& dms, const char* positive, const char* negative,
                                std::string& text)
{
    TDMS d = dms;
    const int sign = d.Sign;
    d.Sign = 1;
    DMSToText(d, 0, text);
    text += sign == 1 ? positive : negative;
}

void LatitudeToText(const TDMS& dms, std::string& text) { AngleWithSideToText(dms, " N", " S", text); }

void LongitudeToText(const TDMS& dms, std::string& text) { AngleWithSideToText(dms, " W", " E", text); }

void ParsePosition(const std::string& text, char& letter, TDMS& dms)
{
    std::string s = rtl::Trim(text);
    s = rtl::StringReplace(s, "\u00B0", " ");
    s = rtl::StringReplace(s, "'", " ");
    while (rtl::Pos("  ", s) > 0)
        rtl::Delete(s, rtl::Pos("  ", s), 1);

    // Items are separated by single blanks now; the count is 1 + blanks.
    std::vector<std::string> items(1);
    for (char ch : s) {
        if (ch == ' ')
            items.emplace_back();
        else
            items.back() += ch;
    }
    const int count = static_cast<int>(items.size());
    if (count < 2 || count > 4)
        throw rtl::EConvertError(
            rtl::Format("invalid number of arguments in position-string (%d)", count));

    const std::string last = rtl::UpperCase(items.back());
    if (last.size() != 1 || std::string("ENSW").find(last[0]) == std::string::npos)
        throw rtl::EConvertError(rtl::Format("invalid item in position-string (%s)", items.back()));
    const char c = last[0];
    const bool negative = c == 'E' || c == 'S';

    TDMS result;
    if (count == 2) {
        long double value = rtl::StrToFloat(items[0]);
        if (negative)
            value = -value;
        RadiansToDMS(result, DegToRadians(value));
    } else {
        result.Deg = rtl::StrToInt(items[0]);
        result.Min = rtl::StrToInt(items[1]);
        result.Sec = count == 4 ? rtl::StrToInt(items[2]) : 0;
        result.Sign = negative ? -1 : 1;
    }

    if (result.Deg < 0 || result.Deg > 180)
        throw rtl::EConvertError(
            rtl::Format("degrees out of range in position-string (%d)", result.Deg));
    if (result.Min < 0 || result.Min > 59)
        throw rtl::EConvertError(
            rtl::Format("minutes out of range in position-string (%d)", result.Min));
    if (result.Sec < 0 || result.Sec >= 60)
        throw rtl::EConvertError(
            rtl::Format("seconds out of range in position-string (%g)", result.Sec));

    letter = c;
    dms = result;
}

namespace {

void ParseHemisphere(const std::string& text, TDMS& dms, const char* letters, long double limit)
{
    char letter = ' ';
    TDMS d;
    ParsePosition(text, letter, d);
    if (letter != letters[0] && letter != letters[1])
        throw rtl::EConvertError(
            rtl::Format("invalid item in position-string (%s)", std::string(1, letter)));
    if (d.Deg + d.Min / 60.0L + d.Sec / 3600.0L > limit)
        throw rtl::EConvertError(rtl::Format("position out of range (%s)", text));
    dms = d;
}

} // namespace

void ParseLatitude(const std::string& text, TDMS& dms) { ParseHemisphere(text, dms, "NS", 90); }

void ParseLongitude(const std::string& text, TDMS& dms) { ParseHemisphere(text, dms, "EW", 180); }

} // namespace compute
