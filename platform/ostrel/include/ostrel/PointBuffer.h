// The shared scratch point buffer.
//
// GetFXPointBuffer(n) hands out room for at least n points (at least one point for n <= 0), valid until
// the matching FreeFXPointBuffer. Buffers nest: each call hands out a buffer of its own and
// FreeFXPointBuffer releases the most recent one still held, so a painter that falls back to another
// painter while holding a buffer does not lose it. FreeFXPointBuffer with nothing held does nothing.
// The contents of a new buffer are unspecified. Returns NULL only when the memory cannot be had.
// Process-wide and unguarded, like the rest of the drawing state.
#pragma once

#include "win32/wintypes.h"

POINT* GetFXPointBuffer(int n);
void FreeFXPointBuffer();

// Number of buffers held at the moment (for tests and leak checks).
int GetFXPointBufferDepth();
