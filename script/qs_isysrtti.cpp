#include "script/qs_isysrtti.h"

#include <chrono>
#include <cmath>
#include <random>
#include <utility>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "script/qs_idisp.h"
#include "script/qs_itools.h"

namespace qs {

std::function<void(const std::string& Msg)> qsShowMessageHook;

namespace {

using rtl::TClassInfo;
using rtl::TObject;
using Handler = Variant (*)(TObject*, const TClassInfo*, const std::string&, TqsMethodHelper*);

std::u16string U16(const Variant& v) { return rtl::UTF8ToUTF16(rtl::VarToStr(v)); }
Variant FromU16(const std::u16string& s) { return Variant(rtl::UTF16ToUTF8(s)); }

[[noreturn]] void RangeError(int32_t pos)
{
    throw rtl::ERangeError("String index out of range (" + std::to_string(pos) + ")");
}

// --- Format over a list of arguments ---

template <size_t... I>
std::string FormatList(std::string_view fmt, const std::vector<rtl::TFormatArg>& a, std::index_sequence<I...>)
{
    return rtl::Format(fmt, {a[I]...});
}

template <size_t N>
std::string FormatN(std::string_view fmt, const std::vector<rtl::TFormatArg>& a)
{
    return FormatList(fmt, a, std::make_index_sequence<N>{});
}

std::string FormatArgs(std::string_view fmt, const std::vector<rtl::TFormatArg>& a)
{
    // A width or precision beyond any text a report shows is refused
    // rather than allocated.
    for (size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') continue;
        size_t j = i + 1;
        while (j < fmt.size() && std::string_view("0123456789:-.*").find(fmt[j]) != std::string_view::npos) {
            if (fmt[j] >= '0' && fmt[j] <= '9') {
                size_t k = j;
                while (k < fmt.size() && fmt[k] >= '0' && fmt[k] <= '9') ++k;
                if (k - j > 5) throw rtl::EConvertError("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
                j = k;
            } else {
                ++j;
            }
        }
        if (j < fmt.size() && fmt[j] == '%') i = j;
    }
    if (fmt.find('*') != std::string_view::npos)
        for (const rtl::TFormatArg& x : a)
            if (x.kind() == rtl::TFormatArg::Kind::Int && (x.AsInt() > 99999 || x.AsInt() < -99999))
                throw rtl::EConvertError("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
    using F = std::string (*)(std::string_view, const std::vector<rtl::TFormatArg>&);
    static const F table[] = {
        FormatN<0>,  FormatN<1>,  FormatN<2>,  FormatN<3>,  FormatN<4>,  FormatN<5>,  FormatN<6>,
        FormatN<7>,  FormatN<8>,  FormatN<9>,  FormatN<10>, FormatN<11>, FormatN<12>, FormatN<13>,
        FormatN<14>, FormatN<15>, FormatN<16>, FormatN<17>, FormatN<18>, FormatN<19>, FormatN<20>,
        FormatN<21>, FormatN<22>, FormatN<23>, FormatN<24>, FormatN<25>, FormatN<26>, FormatN<27>,
        FormatN<28>, FormatN<29>, FormatN<30>, FormatN<31>, FormatN<32>};
    if (a.size() >= std::size(table)) throw rtl::EConvertError("Too many arguments for Format");
    return table[a.size()](fmt, a);
}

// --- dates ---

double ParseTime(const std::string& s)
{
    std::vector<std::string> parts = rtl::SplitString(rtl::Trim(s), rtl::FormatSettings().TimeSeparator);
    if (parts.size() < 2 || parts.size() > 3) throw rtl::EConvertError("'" + s + "' is not a valid time");
    int v[3] = {0, 0, 0};
    for (size_t i = 0; i < parts.size(); ++i) {
        int32_t x;
        if (!rtl::TryStrToInt(parts[i], x)) throw rtl::EConvertError("'" + s + "' is not a valid time");
        v[i] = x;
    }
    rtl::TDateTime t;
    if (!rtl::TryEncodeTime(v[0], v[1], v[2], 0, t)) throw rtl::EConvertError("'" + s + "' is not a valid time");
    return t;
}

double ParseDate(const std::string& s)
{
    // The short date format's order of year, month and day, with its
    // separator.
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    std::vector<std::string> parts = rtl::SplitString(rtl::Trim(s), fs.DateSeparator);
    if (parts.size() != 3) throw rtl::EConvertError("'" + s + "' is not a valid date");
    std::string order;
    for (char c : rtl::LowerCase(fs.ShortDateFormat))
        if ((c == 'y' || c == 'm' || c == 'd') && order.find(c) == std::string::npos) order += c;
    if (order.size() != 3) order = "ymd";
    int y = 0, m = 0, d = 0;
    for (size_t i = 0; i < 3; ++i) {
        int32_t x;
        if (!rtl::TryStrToInt(parts[i], x)) throw rtl::EConvertError("'" + s + "' is not a valid date");
        (order[i] == 'y' ? y : order[i] == 'm' ? m : d) = x;
    }
    rtl::TDateTime r;
    if (!rtl::TryEncodeDate(y, m, d, r)) throw rtl::EConvertError("'" + s + "' is not a valid date");
    return r;
}

double ParseDateTime(const std::string& s)
{
    std::string t = rtl::Trim(s);
    size_t blank = t.find(' ');
    if (blank == std::string::npos) {
        if (t.find(rtl::FormatSettings().TimeSeparator) != std::string::npos &&
            t.find(rtl::FormatSettings().DateSeparator) == std::string::npos)
            return ParseTime(t);
        return ParseDate(t);
    }
    double d = ParseDate(t.substr(0, blank));
    double tm = ParseTime(t.substr(blank + 1));
    return d < 0 ? d - tm : d + tm;
}

// --- edit masks ---

std::string FormatMaskText(const std::string& mask, const std::string& value)
{
    // Sections: mask;save-literals;blank.
    std::vector<std::string> sect = rtl::SplitString(mask, ';');
    std::string m = sect.empty() ? std::string() : sect[0];
    bool saveLiterals = sect.size() < 2 || sect[1] != "0";
    char blank = sect.size() >= 3 && !sect[2].empty() ? sect[2][0] : ' ';
    std::string out;
    size_t vi = 0;
    int caseMode = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        char c = m[i];
        switch (c) {
        case '>': caseMode = 1; continue;
        case '<':
            if (i + 1 < m.size() && m[i + 1] == '>') {
                caseMode = 0;
                ++i;
            } else {
                caseMode = -1;
            }
            continue;
        case '0': case '9': case '#': case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': {
            char v = vi < value.size() ? value[vi++] : blank;
            if (caseMode > 0) v = static_cast<char>(toupper(static_cast<unsigned char>(v)));
            if (caseMode < 0) v = static_cast<char>(tolower(static_cast<unsigned char>(v)));
            out += v;
            continue;
        }
        case '\\':
            if (i + 1 < m.size()) c = m[++i];
            [[fallthrough]];
        default:
            out += c;
            if (saveLiterals && vi < value.size() && value[vi] == c) ++vi;
        }
    }
    return out;
}

std::mt19937_64& Rng()
{
    static std::mt19937_64 rng(0x5eed);
    return rng;
}

Variant P(TqsMethodHelper* c, int i) { return c->GetParam(i); }
std::string S(TqsMethodHelper* c, int i) { return rtl::VarToStr(c->GetParam(i)); }

// --- handlers ---

Variant ConvToStr(TObject*, const TClassInfo*, const std::string& n, TqsMethodHelper* c)
{
    if (n == "INTTOSTR") return Variant(rtl::IntToStr(P(c, 0).AsInt64()));
    if (n == "FLOATTOSTR") return Variant(rtl::FloatToStr(P(c, 0).AsExtended()));
    if (n == "DATETOSTR") return Variant(rtl::DateToStr(P(c, 0).AsDouble()));
    if (n == "TIMETOSTR") return Variant(rtl::TimeToStr(P(c, 0).AsDouble()));
    if (n == "DATETIMETOSTR") return Variant(rtl::DateTimeToStr(P(c, 0).AsDouble()));
    if (n == "BOOLTOSTR") return Variant(std::string(P(c, 0).AsBoolean() ? "-1" : "0"));
    return Variant(0);
}

Variant ConvFromStr(TObject*, const TClassInfo*, const std::string& n, TqsMethodHelper* c)
{
    std::string s = S(c, 0);
    if (n == "STRTOINT") return Variant(rtl::StrToInt(s));
    if (n == "STRTOINT64") return Variant(static_cast<long long>(rtl::StrToInt64(s)));
    if (n == "STRTOFLOAT") return Variant(static_cast<double>(rtl::StrToFloat(s)));
    if (n == "STRTODATE") return Variant(ParseDate(s));
    if (n == "STRTOTIME") return Variant(ParseTime(s));
    if (n == "STRTODATETIME") return Variant(ParseDateTime(s));
    if (n == "STRTOBOOL") return Variant(Variant(s).AsBoolean());
    return Variant(0);
}

Variant FormatFn(TObject*, const TClassInfo*, const std::string& n, TqsMethodHelper* c)
{
    if (n == "FORMAT") return Variant(FormatArgs(S(c, 0), VariantToOpenArray(P(c, 1))));
    if (n == "FORMATFLOAT") return Variant(rtl::FormatFloat(S(c, 0), P(c, 1).AsExtended()));
    if (n == "FORMATDATETIME") return Variant(rtl::FormatDateTime(S(c, 0), P(c, 1).AsDouble()));
    if (n == "FORMATMASKTEXT") return Variant(FormatMaskText(S(c, 0), S(c, 1)));
    return Variant(0);
}

Variant DateFn(TObject*, const TClassInfo*, const std::string& n, TqsMethodHelper* c)
{
    if (n == "ENCODEDATE")
        return Variant::FromDate(rtl::EncodeDate(P(c, 0).AsInteger(), P(c, 1).AsInteger(), P(c, 2).AsInteger()));
    if (n == "DECODEDATE") {
        int y, m, d;
        rtl::DecodeDate(P(c, 0).AsDouble(), y, m, d);
        c->SetParam(1, Variant(y));
        c->SetParam(2, Variant(m));
        c->SetParam(3, Variant(d));
        return Variant::Null();
    }
    if (n == "ENCODETIME")
        return Variant::FromDate(
            rtl::EncodeTime(P(c, 0).AsInteger(), P(c, 1).AsInteger(), P(c, 2).AsInteger(), P(c, 3).AsInteger()));
    if (n == "DECODETIME") {
        int h, mi, s, ms;
        rtl::DecodeTime(P(c, 0).AsDouble(), h, mi, s, ms);
        c->SetParam(1, Variant(h));
        c->SetParam(2, Variant(mi));
        c->SetParam(3, Variant(s));
        c->SetParam(4, Variant(ms));
        return Variant::Null();
    }
    if (n == "DATE") return Variant::FromDate(rtl::Date());
    if (n == "TIME") {
        double now = rtl::Now();
        return Variant::FromDate(now - std::floor(now));
    }
    if (n == "NOW") return Variant::FromDate(rtl::Now());
    if (n == "DAYOFWEEK") return Variant(rtl::DayOfWeek(P(c, 0).AsDouble()));
    if (n == "ISLEAPYEAR") return Variant(rtl::IsLeapYear(P(c, 0).AsInteger()));
    if (n == "DAYSINMONTH") {
        static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int y = P(c, 0).AsInteger(), m = P(c, 1).AsInteger();
        if (m < 1 || m > 12) return Variant(0);
        return Variant(days[m - 1] + (m == 2 && rtl::IsLeapYear(y) ? 1 : 0));
    }
    return Variant(0);
}

Variant StrFn(TObject*, const TClassInfo*, const std::string& n, TqsMethodHelper* c)
{
    if (n == "LENGTH") {
        Variant v = P(c, 0);
        if (v.IsArray()) return Variant(v.HighBound(1) - v.LowBound(1) + 1);
        return Variant(static_cast<int32_t>(U16(v).size()));
    }
    if (n == "COPY") {
        std::u16string s = U16(P(c, 0));
        int32_t from = P(c, 1).AsInteger(), count = P(c, 2).AsInteger();
        if (from < 1) from = 1;
        if (count <= 0 || static_cast<size_t>(from) > s.size()) return Variant(std::string());
        return FromU16(s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(count)));
    }
    if (n == "POS") {
        std::u16string sub = U16(P(c, 0)), s = U16(P(c, 1));
        if (sub.empty()) return Variant(0);
        size_t p = s.find(sub);
        return Variant(p == std::u16string::npos ? 0 : static_cast<int32_t>(p + 1));
    }
    if (n == "DELETE" || n == "DELETESTR") {
        std::u16string s = U16(P(c, 0));
        int32_t from = P(c, 1).AsInteger(), count = P(c, 2).AsInteger();
        if (from >= 1 && static_cast<size_t>(from) <= s.size() && count > 0)
            s.erase(static_cast<size_t>(from - 1), static_cast<size_t>(count));
        c->SetParam(0, FromU16(s));
        return Variant::Null();
    }
    if (n == "INSERT") {
        std::u16string sub = U16(P(c, 0)), s = U16(P(c, 1));
        int32_t pos = P(c, 2).AsInteger();
        size_t at = pos < 1 ? 0 : std::min(static_cast<size_t>(pos - 1), s.size());
        s.insert(at, sub);
        c->SetParam(1, FromU16(s));
        return Variant::Null();
    }
    if (n == "UPPERCASE") return Variant(rtl::AnsiUpperCase(S(c, 0)));
    if (n == "LOWERCASE") return Variant(rtl::AnsiLowerCase(S(c, 0)));
    if (n == "TRIM") return Variant(rtl::Trim(S(c, 0)));
    if (n == "NAMECASE") {
        std::u16string s = U16(Variant(rtl::AnsiLowerCase(S(c, 0))));
        for (size_t i = 0; i < s.size(); ++i)
            if (i == 0 || s[i - 1] == u' ') {
                std::string up = rtl::AnsiUpperCase(rtl::UTF16ToUTF8(s.substr(i, 1)));
                std::u16string u = rtl::UTF8ToUTF16(up);
                if (u.size() == 1) s[i] = u[0];
            }
        return FromU16(s);
    }
    if (n == "COMPARETEXT") return Variant(rtl::AnsiCompareText(S(c, 0), S(c, 1)));
    if (n == "CHR") {
        int32_t code = P(c, 0).AsInteger();
        if (code < 0 || code > 0x10FFFF) code = 0xFFFD;
        std::string r;
        if (code == 0) r.push_back('\0');
        else rtl::AppendUTF8(r, static_cast<char32_t>(code));
        return Variant(r);
    }
    if (n == "ORD") {
        std::string s = S(c, 0);
        if (s.empty()) return Variant(0);
        size_t i = 0;
        return Variant(static_cast<int32_t>(rtl::NextUTF8(s, i)));
    }
    if (n == "SETLENGTH") {
        Variant v = P(c, 0);
        int32_t len = P(c, 1).AsInteger();
        if (v.IsString()) {
            std::u16string s = U16(v);
            s.resize(len < 0 ? 0 : static_cast<size_t>(std::min(len, 1 << 24)), u'\0');
            c->SetParam(0, FromU16(s));
        } else if (v.IsArray()) {
            v.Redim(len - 1);
            c->SetParam(0, v);
        } else {
            throw rtl::EVariantInvalidOpError("Invalid variant operation");
        }
        return Variant::Null();
    }
    return Variant(0);
}

void CheckFinite(long double r)
{
    if (std::isnan(r)) throw rtl::EInvalidArgument("Invalid floating point operation");
    if (std::isinf(r)) throw rtl::EOverflow("Floating point overflow");
}

Variant MathFn(TObject*, const TClassInfo*, const std::string& n, TqsMethodHelper* c)
{
    if (n == "PI") return Variant(3.1415926535897932385L);
    long double x = P(c, 0).AsExtended();
    if (n == "ROUND") return Variant(Variant(x).AsInteger());
    if (n == "TRUNC") {
        long double t = std::trunc(x);
        if (!(t >= -2147483648.0L && t <= 2147483647.0L)) throw rtl::EVariantOverflowError("Arithmetic overflow occurred");
        return Variant(static_cast<int32_t>(t));
    }
    if (n == "INT") return Variant(static_cast<double>(std::trunc(x)));
    if (n == "FRAC") return Variant(static_cast<double>(x - std::trunc(x)));
    if (n == "SQRT") {
        if (x < 0) throw rtl::EInvalidArgument("Invalid floating point operation");
        return Variant(static_cast<double>(std::sqrt(x)));
    }
    if (n == "ABS") return Variant(static_cast<double>(std::fabs(x)));
    if (n == "SIN") return Variant(static_cast<double>(std::sin(x)));
    if (n == "COS") return Variant(static_cast<double>(std::cos(x)));
    if (n == "ARCTAN") return Variant(static_cast<double>(std::atan(x)));
    if (n == "TAN") {
        long double r = std::sin(x) / std::cos(x);
        CheckFinite(r);
        return Variant(static_cast<double>(r));
    }
    if (n == "EXP") {
        long double r = std::exp(x);
        CheckFinite(r);
        return Variant(static_cast<double>(r));
    }
    if (n == "LN") {
        if (x == 0) throw rtl::EZeroDivide("Floating point division by zero");
        if (x < 0) throw rtl::EInvalidArgument("Invalid floating point operation");
        return Variant(static_cast<double>(std::log(x)));
    }
    return Variant(0);
}

Variant OtherFn(TObject*, const TClassInfo*, const std::string& n, TqsMethodHelper* c)
{
    if (n == "INC") {
        c->SetParam(0, P(c, 0) + P(c, 1));
        return Variant::Null();
    }
    if (n == "DEC") {
        c->SetParam(0, P(c, 0) - P(c, 1));
        return Variant::Null();
    }
    if (n == "RAISEEXCEPTION") throw rtl::Exception(S(c, 0));
    if (n == "SHOWMESSAGE") {
        if (qsShowMessageHook) qsShowMessageHook(S(c, 0));
        return Variant::Null();
    }
    if (n == "RANDOMIZE") {
        Rng().seed(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
        return Variant::Null();
    }
    if (n == "RANDOM") return Variant(std::uniform_real_distribution<double>(0.0, 1.0)(Rng()));
    if (n == "VALIDINT") {
        int32_t v;
        return Variant(rtl::TryStrToInt(S(c, 0), v));
    }
    if (n == "VALIDFLOAT") {
        long double v;
        return Variant(rtl::TryStrToFloat(S(c, 0), v));
    }
    if (n == "VALIDDATE") {
        Variant v = P(c, 0);
        std::string s = v.VarType() == rtl::varDate ? rtl::DateToStr(v.AsDouble()) : rtl::VarToStr(v);
        try {
            ParseDate(s);
            return Variant(true);
        } catch (const rtl::Exception&) {
            return Variant(false);
        }
    }
    if (n == "EXTRACTFILEPATH") return Variant(rtl::ExtractFilePath(S(c, 0)));
    if (n == "CREATEOLEOBJECT") return CreateOleObject(S(c, 0));
    if (n == "VARARRAYCREATE") {
        Variant b = P(c, 0);
        std::vector<int32_t> bounds;
        if (b.IsArray())
            for (int32_t i = b.LowBound(1); i <= b.HighBound(1); ++i) bounds.push_back(b.GetElement({i}).AsInteger());
        if (bounds.size() < 2 || bounds.size() % 2 != 0 || bounds.size() > 6)
            throw rtl::EVariantInvalidArgError("Invalid argument");
        int64_t cells = 1;
        for (size_t k = 0; k < bounds.size(); k += 2) {
            int64_t len = static_cast<int64_t>(bounds[k + 1]) - bounds[k] + 1;
            cells *= len < 0 ? 0 : len;
            if (cells > 16 * 1024 * 1024) throw rtl::EOutOfMemory("Out of memory");
        }
        return rtl::VarArrayCreate(bounds, static_cast<rtl::TVarType>(P(c, 1).AsInteger()));
    }
    if (n == "VARTYPE") return Variant(static_cast<int32_t>(P(c, 0).VarType()));
    if (n == "VARTOSTR") return Variant(rtl::VarToStr(P(c, 0)));
    return Variant(0);
}

} // namespace

std::string qsCharAt(const std::string& s, int32_t pos)
{
    std::u16string u = rtl::UTF8ToUTF16(s);
    if (pos < 1 || static_cast<size_t>(pos) > u.size()) RangeError(pos);
    return rtl::UTF16ToUTF8(u.substr(static_cast<size_t>(pos - 1), 1));
}

std::string qsSetCharAt(const std::string& s, int32_t pos, const std::string& ch)
{
    std::u16string u = rtl::UTF8ToUTF16(s);
    if (pos < 1 || static_cast<size_t>(pos) > u.size()) RangeError(pos);
    std::u16string c = rtl::UTF8ToUTF16(ch);
    if (c.empty()) return s;
    u[static_cast<size_t>(pos - 1)] = c[0];
    return rtl::UTF16ToUTF8(u);
}

TqsSysFunctions::TqsSysFunctions(TqsScript* AScript) : TqsRTTIModule(AScript)
{
    TqsScript* s = AScript;
    for (const char* t : {"Byte", "Word", "Integer", "Longint", "Cardinal", "TColor"}) s->AddType(t, fvtInt);
    s->AddType("Boolean", fvtBool);
    for (const char* t : {"Real", "Single", "Double", "Extended", "Currency", "TDate", "TTime", "TDateTime"})
        s->AddType(t, fvtFloat);
    s->AddType("Char", fvtChar);
    s->AddType("String", fvtString);
    s->AddType("Variant", fvtVariant);
    s->AddType("Pointer", fvtVariant);
    s->AddType("Array", fvtArray);
    s->AddType("Constructor", fvtConstructor);

    s->AddConst("True", "Boolean", Variant(true));
    s->AddConst("False", "Boolean", Variant(false));
    s->AddConst("nil", "Variant", Variant(0));
    s->AddConst("Null", "Variant", Variant::Null());
    static const std::pair<const char*, int> codes[] = {
        {"varEmpty", 0},     {"varNull", 1},     {"varSmallint", 2}, {"varInteger", 3}, {"varSingle", 4},
        {"varDouble", 5},    {"varCurrency", 6}, {"varDate", 7},     {"varOleStr", 8},  {"varDispatch", 9},
        {"varError", 10},    {"varBoolean", 11}, {"varVariant", 12}, {"varUnknown", 13}, {"varShortInt", 16},
        {"varByte", 17},     {"varWord", 18},    {"varLongWord", 19}, {"varInt64", 20}, {"varStrArg", 72},
        {"varString", 256},  {"varAny", 257},    {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384}};
    for (auto& [name, value] : codes) s->AddConst(name, "Integer", Variant(value));

    s->AddVariable("ExceptionClassName", "String", Variant(std::string()));
    s->AddVariable("ExceptionMessage", "String", Variant(std::string()));
    s->Add("__StringHelper", new TqsStringHelper());
    s->Add("__ArrayHelper", new TqsArrayHelper("__ArrayHelper", -1, fvtVariant, ""));

    auto add = [s](const char* syntax, Handler h, const std::string& cat) { s->AddMethod(syntax, TqsCallMethodNewEvent(h), cat); };
    for (const char* d : {"function IntToStr(i: Integer): String", "function FloatToStr(e: Extended): String",
                          "function DateToStr(e: Extended): String", "function TimeToStr(e: Extended): String",
                          "function DateTimeToStr(e: Extended): String", "function BoolToStr(B: Boolean): string;"})
        add(d, ConvToStr, FCatConv);
    add("function VarToStr(v: Variant): String", OtherFn, FCatConv);
    for (const char* d : {"function StrToInt(s: String): Integer", "function StrToInt64(s: String): Integer",
                          "function StrToFloat(s: String): Extended", "function StrToDate(s: String): Extended",
                          "function StrToTime(s: String): Extended", "function StrToDateTime(s: String): Extended",
                          "function StrToBool(const S: string): Boolean;"})
        add(d, ConvFromStr, FCatConv);
    for (const char* d : {"function Format(Fmt: String; Args: array): String",
                          "function FormatFloat(Fmt: String; Value: Extended): String",
                          "function FormatDateTime(Fmt: String; DateTime: TDateTime): String",
                          "function FormatMaskText(EditMask: string; Value: string): string"})
        add(d, FormatFn, FCatFormat);
    for (const char* d : {"function EncodeDate(Year, Month, Day: Word): TDateTime",
                          "procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)",
                          "function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime",
                          "procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)",
                          "function Date: TDateTime", "function Time: TDateTime", "function Now: TDateTime",
                          "function DayOfWeek(aDate: TDateTime): Integer", "function IsLeapYear(Year: Word): Boolean",
                          "function DaysInMonth(nYear, nMonth: Integer): Integer"})
        add(d, DateFn, FCatDate);
    for (const char* d : {"function Length(s: Variant): Integer",
                          "function Copy(s: String; from, count: Integer): String",
                          "function Pos(substr, s: String): Integer",
                          "procedure Delete(var s: String; from, count: Integer)",
                          "procedure DeleteStr(var s: String; from, count: Integer)",
                          "procedure Insert(s: String; var s2: String; pos: Integer)",
                          "function Uppercase(s: String): String", "function Lowercase(s: String): String",
                          "function Trim(s: String): String", "function NameCase(s: String): String",
                          "function CompareText(s, s1: String): Integer", "function Chr(i: Integer): Char",
                          "function Ord(ch: Char): Integer", "procedure SetLength(var S: Variant; L: Integer)"})
        add(d, StrFn, FCatStr);
    for (const char* d : {"function Round(e: Extended): Integer", "function Trunc(e: Extended): Integer",
                          "function Int(e: Extended): Integer", "function Frac(X: Extended): Extended",
                          "function Sqrt(e: Extended): Extended", "function Abs(e: Extended): Extended",
                          "function Sin(e: Extended): Extended", "function Cos(e: Extended): Extended",
                          "function ArcTan(X: Extended): Extended", "function Tan(X: Extended): Extended",
                          "function Exp(X: Extended): Extended", "function Ln(X: Extended): Extended",
                          "function Pi: Extended"})
        add(d, MathFn, FCatMath);
    for (const char* d : {"procedure Inc(var i: Integer; incr: Integer = 1)",
                          "procedure Dec(var i: Integer; decr: Integer = 1)",
                          "procedure RaiseException(Param: String)", "procedure ShowMessage(Msg: Variant)",
                          "procedure Randomize", "function Random: Extended", "function ValidInt(cInt: String): Boolean",
                          "function ValidFloat(cFlt: String): Boolean", "function ValidDate(cDate: String): Boolean",
                          "function ExtractFilePath(const FileName: string): string;",
                          "function CreateOleObject(ClassName: String): Variant",
                          "function VarArrayCreate(Bounds: Array; Typ: Integer): Variant",
                          "function VarType(V: Variant): Integer"})
        add(d, OtherFn, FCatOther);
}

} // namespace qs
