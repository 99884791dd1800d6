// The game's one pseudo-random source, seeded once at window creation.
#pragma once

#include <cstdint>

void seedRandom(uint32_t seed);
// The next number from 0 to 32767.
int drawRandom();
