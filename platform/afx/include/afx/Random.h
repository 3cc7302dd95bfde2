// The class library's C run-time random numbers, which the library's own code uses instead of the
// system's: a linear congruential generator with state = state * 214013 + 2531011 (mod 2^32) whose
// results are (state >> 16) & 0x7FFF, so every result lies in 0 .. AFX_RAND_MAX (32767) and a seed
// gives the same sequence on every platform (seed 1: 41, 18467, 6334, ...). The state starts as if
// seeded with 1. Process-wide and unguarded, like the rest of the library's shared state.
#pragma once

#define AFX_RAND_MAX 0x7FFF

// The next number of the sequence.
int AfxRand();
// Restarts the sequence at seed.
void AfxSRand(unsigned int seed);
// Seeds from the clock (time(NULL)), or with the fixed seed a test set through AfxSetClockSeed.
void AfxSRandFromClock();
// Tests: fixed != 0 makes AfxSRandFromClock seed with seed instead of the time; 0 gives the clock back.
void AfxSetClockSeed(int fixed, unsigned int seed);
