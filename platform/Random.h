// The program's one pseudo-random generator: numbers 0..32767, seeded once at start-up.
#pragma once

namespace lorvenna {

void seedRandom(unsigned seed);
int nextRandom();

} // namespace lorvenna
