// Format: printf-like formatting with the specifiers the system uses,
// always with "." as the decimal point.
//
//   %d %u %x  integers (precision = minimum digits; %x upper-case)
//   %e        scientific, precision = significant digits (default 15),
//             exponent "E+ddd"
//   %f        fixed, precision = decimals (default 2)
//   %g        general, precision = significant digits (default 15)
//   %n        fixed with thousands separators ","
//   %m        as %n (currency without a symbol)
//   %s        text (precision = maximum characters)
//   %p        pointer, 8 hexadecimal digits
//   %%        a percent sign
// with an optional argument index ("%1:s"), "-" for left alignment, a width
// and a precision, either of which may be "*" taken from the arguments.
// A specifier that does not match its argument, or a missing argument,
// raises EConvertError ("Format '%s' invalid or incompatible with argument").
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace rtl {

class TFormatArg {
public:
    enum class Kind { Int, UInt, Float, String, Pointer };

    TFormatArg(int v) : kind_(Kind::Int), i_(v) {}
    TFormatArg(long v) : kind_(Kind::Int), i_(v) {}
    TFormatArg(long long v) : kind_(Kind::Int), i_(v) {}
    TFormatArg(unsigned v) : kind_(Kind::UInt), u_(v) {}
    TFormatArg(unsigned long v) : kind_(Kind::UInt), u_(v) {}
    TFormatArg(unsigned long long v) : kind_(Kind::UInt), u_(v) {}
    TFormatArg(bool v) : kind_(Kind::Int), i_(v ? 1 : 0) {}
    TFormatArg(char c) : kind_(Kind::String), s_(1, c) {}
    TFormatArg(float v) : kind_(Kind::Float), f_(v) {}
    TFormatArg(double v) : kind_(Kind::Float), f_(v) {}
    TFormatArg(long double v) : kind_(Kind::Float), f_(v) {}
    TFormatArg(const char* v) : kind_(Kind::String), s_(v ? v : "") {}
    TFormatArg(std::string_view v) : kind_(Kind::String), s_(v) {}
    TFormatArg(const std::string& v) : kind_(Kind::String), s_(v) {}
    TFormatArg(const void* p) : kind_(Kind::Pointer), u_(reinterpret_cast<uintptr_t>(p)) {}

    Kind kind() const { return kind_; }
    int64_t AsInt() const { return kind_ == Kind::UInt ? static_cast<int64_t>(u_) : i_; }
    uint64_t AsUInt() const { return kind_ == Kind::Int ? static_cast<uint64_t>(i_) : u_; }
    long double AsFloat() const { return f_; }
    const std::string& AsString() const { return s_; }

private:
    Kind kind_;
    int64_t i_ = 0;
    uint64_t u_ = 0;
    long double f_ = 0;
    std::string s_;
};

std::string Format(std::string_view fmt, std::initializer_list<TFormatArg> args);

struct TFormatSettings;
// As Format, with the decimal and thousand separators of fs in the numbers
// of %e %f %g %n %m: for texts shown to the user in the locale's notation.
// Files keep the plain Format.
std::string Format(const TFormatSettings& fs, std::string_view fmt, std::initializer_list<TFormatArg> args);

template <typename... Args>
std::string Format(const TFormatSettings& fs, std::string_view fmt, const Args&... args)
{
    return Format(fs, fmt, std::initializer_list<TFormatArg>{TFormatArg(args)...});
}

template <typename... Args>
std::string Format(std::string_view fmt, const Args&... args)
{
    return Format(fmt, std::initializer_list<TFormatArg>{TFormatArg(args)...});
}

} // namespace rtl
