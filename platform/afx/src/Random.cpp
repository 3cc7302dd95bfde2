#include "afx/Random.h"

#include <ctime>

namespace {
unsigned int g_state = 1;
int g_fixed = 0;
unsigned int g_fixedSeed = 0;
}  // namespace

int AfxRand()
{
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}

void AfxSRand(unsigned int seed) { g_state = seed; }

void AfxSRandFromClock() { AfxSRand(g_fixed ? g_fixedSeed : static_cast<unsigned int>(std::time(nullptr))); }

void AfxSetClockSeed(int fixed, unsigned int seed)
{
    g_fixed = fixed;
    g_fixedSeed = seed;
}
