// A small set of enumeration values (the classic "set of" type), stored as bits.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace qor {

// A set of values of the enumeration E, one bit per value in Bits (an ordinal beyond the
// width of Bits does not fit). Its operators combine sets as the classic set type does.
template <class E, class Bits = std::uint32_t>
class TSet {
public:
    constexpr TSet() = default;
    // The set of the values listed ({} for the empty set).
    constexpr TSet(std::initializer_list<E> l) { for (E e : l) FBits |= Bit(e); }
    // Whether e is in the set.
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    // Adds e; returns the set, for chaining.
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    // Removes e; returns the set, for chaining.
    constexpr TSet& Exclude(E e) { FBits &= Bits(~Bit(e)); return *this; }
    // Whether the set holds no value.
    constexpr bool Empty() const { return FBits == 0; }
    // The bits of the set: bit n stands for the value of ordinal n (for storing the set).
    constexpr Bits ToBits() const { return FBits; }
    // The set whose bits are b (bits of no value are kept as given).
    static constexpr TSet FromBits(Bits b) { TSet s; s.FBits = b; return s; }
    // Union: the values in either set.
    constexpr TSet operator+(TSet o) const { return FromBits(Bits(FBits | o.FBits)); }
    // Difference: the values of this set that are not in o.
    constexpr TSet operator-(TSet o) const { return FromBits(Bits(FBits & ~o.FBits)); }
    // Intersection: the values in both sets.
    constexpr TSet operator*(TSet o) const { return FromBits(Bits(FBits & o.FBits)); }
    // Whether both sets hold the same values.
    constexpr bool operator==(const TSet&) const = default;
private:
    static constexpr Bits Bit(E e) { return Bits(Bits(1) << unsigned(e)); }
    Bits FBits = 0;
};

} // namespace qor
