// The game's number conversions, written out so that no implicit C++
// conversion decides a rounding. Integer values of the game are 16-bit;
// a conversion that leaves that range is an error (Overflow16).
#pragma once

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace game {

struct Overflow16 : std::range_error {
    Overflow16() : std::range_error("value outside the 16-bit range") {}
};

// Rounds to the nearest integer, ties to even, as a signed 16-bit value.
inline int16_t Int16(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= -32768.0 && r <= 32767.0)) throw Overflow16();
    return static_cast<int16_t>(r);
}

// Rounds to the nearest integer, ties to even, as a signed 32-bit value.
inline int32_t Int32(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw std::range_error("value outside the 32-bit range");
    return static_cast<int32_t>(r);
}

// A sum or difference of 16-bit values, with the same overflow error.
inline int16_t Add16(int a, int b) {
    const int r = a + b;
    if (r < -32768 || r > 32767) throw Overflow16();
    return static_cast<int16_t>(r);
}

// Largest whole number not above v (random picks).
inline int32_t IntFloor(double v) { return static_cast<int32_t>(std::floor(v)); }

// A double-precision value rounded to single precision.
inline float Single(double v) { return static_cast<float>(v); }

}  // namespace game
