// A small set of enumeration values (the classic "set of" type), stored as bits.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace qor {

template <class E, class Bits = std::uint32_t>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> l) { for (E e : l) FBits |= Bit(e); }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= Bits(~Bit(e)); return *this; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr Bits ToBits() const { return FBits; }
    static constexpr TSet FromBits(Bits b) { TSet s; s.FBits = b; return s; }
    constexpr TSet operator+(TSet o) const { return FromBits(Bits(FBits | o.FBits)); }
    constexpr TSet operator-(TSet o) const { return FromBits(Bits(FBits & ~o.FBits)); }
    constexpr TSet operator*(TSet o) const { return FromBits(Bits(FBits & o.FBits)); }
    constexpr bool operator==(const TSet&) const = default;
private:
    static constexpr Bits Bit(E e) { return Bits(Bits(1) << unsigned(e)); }
    Bits FBits = 0;
};

} // namespace qor
