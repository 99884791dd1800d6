#include "core/random.h"

namespace {
uint32_t randomState = 0;
}

void seedRandom(uint32_t seed) {
    randomState = seed;
}

int drawRandom() {
    randomState = randomState * 214013u + 2531011u;
    return int((randomState >> 16) & 0x7FFF);
}
