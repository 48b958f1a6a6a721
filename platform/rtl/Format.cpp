#include "platform/rtl/Format.h"

#include <cstdio>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace rtl {

namespace {

[[noreturn]] void Invalid(std::string_view fmt)
{
    throw EConvertError("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
}

std::string Pad(std::string s, int width, bool left)
{
    if (width > static_cast<int>(s.size())) {
        std::string fill(static_cast<std::size_t>(width) - s.size(), ' ');
        s = left ? s + fill : fill + s;
    }
    return s;
}

// Puts the settings' separators into a number text made with "." and ",".
std::string Localise(std::string text, const TFormatSettings* fs)
{
    if (!fs) return text;
    for (char& c : text) {
        if (c == '.') c = fs->DecimalSeparator;
        else if (c == ',') c = fs->ThousandSeparator;
    }
    return text;
}

std::string FormatImpl(std::string_view fmt, std::initializer_list<TFormatArg> argList, const TFormatSettings* fs);

} // namespace

std::string Format(std::string_view fmt, std::initializer_list<TFormatArg> argList)
{
    return FormatImpl(fmt, argList, nullptr);
}

std::string Format(const TFormatSettings& fs, std::string_view fmt, std::initializer_list<TFormatArg> argList)
{
    return FormatImpl(fmt, argList, &fs);
}

namespace {

std::string FormatImpl(std::string_view fmt, std::initializer_list<TFormatArg> argList, const TFormatSettings* fs)
{
    const TFormatArg* const args = argList.begin();
    std::size_t argIndex = 0;
    std::string out;
    std::size_t i = 0;

    auto nextArg = [&]() -> const TFormatArg& {
        if (argIndex >= argList.size()) Invalid(fmt);
        return args[argIndex++];
    };
    // A number in the specifier, or "*" taken from the arguments; -1 when
    // absent.
    auto readNumber = [&]() -> int {
        if (i < fmt.size() && fmt[i] == '*') {
            ++i;
            const TFormatArg& a = nextArg();
            if (a.kind() != TFormatArg::Kind::Int && a.kind() != TFormatArg::Kind::UInt) Invalid(fmt);
            return static_cast<int>(a.AsInt());
        }
        if (i >= fmt.size() || fmt[i] < '0' || fmt[i] > '9') return -1;
        int n = 0;
        while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') n = n * 10 + (fmt[i++] - '0');
        return n;
    };

    while (i < fmt.size()) {
        char c = fmt[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= fmt.size()) Invalid(fmt);
        if (fmt[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // [index ":"] ["-"] [width] ["." prec] type
        int first = readNumber();
        if (i < fmt.size() && fmt[i] == ':') {
            ++i;
            if (first < 0) first = 0;
            argIndex = static_cast<std::size_t>(first);
            first = -1;
        }
        bool left = false;
        if (i < fmt.size() && fmt[i] == '-') {
            left = true;
            ++i;
        }
        int width = first >= 0 ? first : readNumber();
        int prec = -1;
        if (i < fmt.size() && fmt[i] == '.') {
            ++i;
            prec = readNumber();
            if (prec < 0) prec = 0;
        }
        if (i >= fmt.size()) Invalid(fmt);
        char type = static_cast<char>(fmt[i] | 0x20);  // lower case
        ++i;
        const TFormatArg& a = nextArg();
        using K = TFormatArg::Kind;
        std::string text;
        switch (type) {
        case 'd':
        case 'u': {
            if (a.kind() != K::Int && a.kind() != K::UInt) Invalid(fmt);
            bool neg;
            std::string digits;
            if (type == 'u' || a.kind() == K::UInt) {
                uint64_t v = a.AsUInt();
                // An unsigned view of a negative 32-bit integer, as %u does.
                if (type == 'u' && a.kind() == K::Int && a.AsInt() < 0 && a.AsInt() >= INT32_MIN)
                    v = static_cast<uint32_t>(a.AsInt());
                neg = false;
                digits = std::to_string(v);
            } else {
                int64_t v = a.AsInt();
                neg = v < 0;
                digits = std::to_string(v);
                if (neg) digits.erase(0, 1);
            }
            if (prec > static_cast<int>(digits.size()))
                digits.insert(0, static_cast<std::size_t>(prec) - digits.size(), '0');
            text = (neg ? "-" : "") + digits;
            break;
        }
        case 'x': {
            if (a.kind() != K::Int && a.kind() != K::UInt) Invalid(fmt);
            uint64_t v = a.AsUInt();
            if (a.kind() == K::Int && a.AsInt() < 0 && a.AsInt() >= INT32_MIN)
                v = static_cast<uint32_t>(a.AsInt());
            text = IntToHex(v, prec < 0 ? 0 : prec);
            break;
        }
        case 'e':
            if (a.kind() != K::Float) Invalid(fmt);
            text = Localise(FloatToStrF(a.AsFloat(), TFloatFormat::ffExponent, prec < 0 ? 15 : prec, 3), fs);
            break;
        case 'f':
            if (a.kind() != K::Float) Invalid(fmt);
            text = Localise(FloatToStrF(a.AsFloat(), TFloatFormat::ffFixed, 18, prec < 0 ? 2 : prec), fs);
            break;
        case 'g':
            if (a.kind() != K::Float) Invalid(fmt);
            text = Localise(FloatToStrF(a.AsFloat(), TFloatFormat::ffGeneral, prec < 0 ? 15 : prec, 0), fs);
            break;
        case 'n':
        case 'm':
            if (a.kind() != K::Float) Invalid(fmt);
            if (fs) {
                // Grouped here: the library's grouping follows the
                // process-wide settings, not the ones given.
                text = Localise(FloatToStrF(a.AsFloat(), TFloatFormat::ffFixed, 18, prec < 0 ? 2 : prec), fs);
                const std::size_t digits0 = text[0] == '-' ? 1 : 0;
                std::size_t end = text.find(fs->DecimalSeparator, digits0);
                if (end == std::string::npos) end = text.size();
                for (std::size_t k = end; k > digits0 + 3; k -= 3) text.insert(k - 3, 1, fs->ThousandSeparator);
            } else {
                text = FloatToStrF(a.AsFloat(), TFloatFormat::ffNumber, 18, prec < 0 ? 2 : prec);
            }
            break;
        case 's':
            if (a.kind() != K::String) Invalid(fmt);
            text = a.AsString();
            if (prec >= 0 && prec < static_cast<int>(text.size())) text.resize(static_cast<std::size_t>(prec));
            break;
        case 'p':
            if (a.kind() != K::Pointer && a.kind() != K::UInt && a.kind() != K::Int) Invalid(fmt);
            text = IntToHex(a.AsUInt(), 8);
            break;
        default:
            Invalid(fmt);
        }
        out += Pad(std::move(text), width, left);
    }
    return out;
}

} // namespace

} // namespace rtl
