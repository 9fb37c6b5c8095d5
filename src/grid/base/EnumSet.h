#pragma once
// A small set of the members of an enumeration whose values run from 0 up
// to at most 63, kept as one bit per member.  Used for the grid's option and
// draw-state sets and by grids derived from it.

#include <cstdint>
#include <initializer_list>

template <typename E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> members) {
        for (E m : members) FBits |= Bit(m);
    }

    constexpr bool Contains(E m) const { return (FBits & Bit(m)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint64_t Bits() const { return FBits; }
    static constexpr TEnumSet FromBits(uint64_t bits) { TEnumSet s; s.FBits = bits; return s; }

    constexpr TEnumSet& Include(E m) { FBits |= Bit(m); return *this; }
    constexpr TEnumSet& Exclude(E m) { FBits &= ~Bit(m); return *this; }

    constexpr TEnumSet operator+(TEnumSet o) const { return FromBits(FBits | o.FBits); }
    constexpr TEnumSet operator-(TEnumSet o) const { return FromBits(FBits & ~o.FBits); }
    constexpr TEnumSet operator*(TEnumSet o) const { return FromBits(FBits & o.FBits); }
    constexpr TEnumSet operator+(E m) const { return FromBits(FBits | Bit(m)); }
    constexpr TEnumSet operator-(E m) const { return FromBits(FBits & ~Bit(m)); }
    constexpr TEnumSet& operator+=(TEnumSet o) { FBits |= o.FBits; return *this; }
    constexpr TEnumSet& operator-=(TEnumSet o) { FBits &= ~o.FBits; return *this; }
    constexpr TEnumSet& operator+=(E m) { return Include(m); }
    constexpr TEnumSet& operator-=(E m) { return Exclude(m); }
    constexpr bool operator==(const TEnumSet&) const = default;

private:
    static constexpr uint64_t Bit(E m) { return uint64_t(1) << static_cast<unsigned>(m); }
    uint64_t FBits = 0;
};
