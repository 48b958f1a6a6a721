// Set<Enum>: a set of enumeration values, as small sets of flags are used
// throughout (font styles, grid options, component states).
#pragma once

#include <bitset>
#include <cstddef>
#include <initializer_list>

namespace rtl {

template <typename E, std::size_t N = 64>
class Set {
public:
    constexpr Set() = default;
    Set(std::initializer_list<E> values)
    {
        for (E v : values) Include(v);
    }

    bool Contains(E v) const { return bits_.test(Index(v)); }
    Set& Include(E v) { bits_.set(Index(v)); return *this; }
    Set& Exclude(E v) { bits_.reset(Index(v)); return *this; }
    bool Empty() const { return bits_.none(); }
    std::size_t Count() const { return bits_.count(); }
    void Clear() { bits_.reset(); }

    friend Set operator+(Set a, const Set& b) { a.bits_ |= b.bits_; return a; }
    friend Set operator-(Set a, const Set& b) { a.bits_ &= ~b.bits_; return a; }
    friend Set operator*(Set a, const Set& b) { a.bits_ &= b.bits_; return a; }
    Set& operator+=(const Set& b) { bits_ |= b.bits_; return *this; }
    Set& operator-=(const Set& b) { bits_ &= ~b.bits_; return *this; }
    Set& operator*=(const Set& b) { bits_ &= b.bits_; return *this; }
    Set& operator+=(E v) { return Include(v); }
    Set& operator-=(E v) { return Exclude(v); }
    friend bool operator==(const Set& a, const Set& b) { return a.bits_ == b.bits_; }
    // a <= b: every element of a is in b.
    friend bool operator<=(const Set& a, const Set& b) { return (a.bits_ & ~b.bits_).none(); }

    // The set as an integer bit mask (element i -> bit i), as stored in
    // streams and passed to scripts.
    unsigned long long ToMask() const { return bits_.to_ullong(); }
    static Set FromMask(unsigned long long mask)
    {
        Set s;
        s.bits_ = std::bitset<N>(mask);
        return s;
    }

private:
    static std::size_t Index(E v) { return static_cast<std::size_t>(v); }
    std::bitset<N> bits_;
};

} // namespace rtl
