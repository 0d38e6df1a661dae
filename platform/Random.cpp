// The program's pseudo-random numbers: a linear congruential generator giving 0..32767.
#include "platform/Random.h"

#include <cstdint>

namespace lorvenna {

namespace {

constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;

// Unseeded, the generator starts as if seeded with 1.
std::uint32_t state = 1;

} // namespace

void seedRandom(unsigned seed) {
    state = static_cast<std::uint32_t>(seed);
}

int nextRandom() {
    state = state * kMultiplier + kIncrement;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

} // namespace lorvenna
