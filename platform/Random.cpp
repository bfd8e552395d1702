#include "platform/Random.h"

#include <cstring>

namespace platform {

uint64_t Random::NextBits() {
    // splitmix64: a small generator with good statistics for games.
    uint64_t z = (m_State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void Random::Randomize(double timeOfDay) {
    uint64_t bits = 0;
    std::memcpy(&bits, &timeOfDay, sizeof bits);
    m_State ^= bits * 0xD6E8FEB86659FD93ull;
    NextBits();
}

double Random::Next() {
    // 53 random bits make a double in [0, 1).
    return static_cast<double>(NextBits() >> 11) * (1.0 / 9007199254740992.0);
}

}  // namespace platform
