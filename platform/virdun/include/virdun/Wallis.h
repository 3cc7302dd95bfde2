// Wallis balancing: moving the local (or a strip's) mean and spread of an image's tones toward target
// values, in place on a bottom-up bitmap (rows padded to bytesPerRow, 24-bit pixels in blue, green,
// red order).
//
// ShellWallis works on local statistics: the image is cut into 32 x 32 blocks, each block's mean and
// standard deviation are taken over the block and its eight neighbours (a 96-pixel window), and every
// pixel gets the statistics interpolated bilinearly between the four nearest block centres. A pixel g
// with local mean m and deviation s becomes
//     g' = (g - m) * c * st / (c * s + (1 - c) * st) + b * mt + (1 - b) * m,   c = 0.75, b = 0.8,
// rounded and clamped to 0..255 (8 bits directly, 24 bits per channel).
//
// Region (both functions): rows are counted from the top. ShellWallis's region is a set of margins,
// (left, top, -right, -bottom): that many columns and rows at each edge are left alone; (0, 0, 0, 0) is
// the whole image. A region or strip reaching beyond the image is cut to it.
//
// Progress: ShellWallis sends the host's main window 1224 with the status text, 1225 with the
// percentage per row and 1226 at the end (nothing when the region is empty).
#pragma once

#include <afx/afx.h>

// Returns 1 after balancing; 0 (nothing changed) for a NULL bitmap, a size <= 0, a bit count other than
// 8 or 24, rows shorter than the width, or margins that leave nothing.
int ShellWallis(BYTE* bits, int height, int width, int bitCount, int bytesPerRow, CRect region, double mean,
                double deviation, const char* status);

// Within rows top..bottom and columns left..right (both ends included, rows from the top), moves the
// pixels toward the neighbour's mean averages[b] and standard deviation covariances[b] of band b (band
// 0 for 8 bits; blue, green, red for 24): the strip's own mean and deviation per band are mapped onto
// the neighbour's, and the result is blended with the pixel by a weight that falls linearly from 1 at
// the seam to 0 at the far side. direction 0: the seam is the strip's west edge; 1: its north edge.
// A band whose strip deviation is 0 is shifted by the difference of the means only. Returns 1 after
// changing the strip, 0 when nothing was done (as for ShellWallis, or an empty strip).
int ShellTransitionWallis(BYTE* bits, int height, int width, int bitCount, int bytesPerRow, int top, int bottom,
                          int left, int right, int direction, double* averages, double* covariances);
