// The program's one pseudo-random generator: numbers 0..32767, seeded once at start-up.
#pragma once

void seedRandom(unsigned seed);
int nextRandom();
