// The random generator of the scatter: real numbers in [0, 1). Reseeding
// mixes the seed into the state instead of replacing it, so reseeding twice
// with the same time of day never repeats the previous number and a retry
// loop that reseeds before every draw cannot stall.
#pragma once

#include <cstdint>

namespace platform {

class Random {
public:
    explicit Random(uint64_t seed = 0x9E3779B97F4A7C15ull) : m_State(seed) {}
    // Overridable, so that a test can script the numbers an algorithm draws.
    virtual ~Random() = default;
    Random(const Random&) = default;
    Random& operator=(const Random&) = default;

    // Mixes a time of day (seconds since midnight, with fractions) into the state.
    virtual void Randomize(double timeOfDay);
    // The next number r, 0 <= r < 1.
    virtual double Next();

private:
    uint64_t NextBits();
    uint64_t m_State;
};

}  // namespace platform
