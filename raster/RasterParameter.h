// The scanning geometry of a raster object and its process-wide default.
#pragma once

#include <afx/afx.h>

// Kept by value and written to archives as its raw 32 bytes. The 4 bytes after the scale are padding;
// they are written as the record holds them (zero wherever a record is built here) and never read.
struct tagRasterParameter {
    int m_nScale;          // scale denominator of the scanned map (50000: 1:50000)
    int m_nReserved;       // padding, ignored
    double m_dXResolution; // horizontal scanning resolution, dots per inch
    double m_dYResolution; // vertical scanning resolution, dots per inch
    double m_dPixelSize;   // ground size of one pixel in the raster object's unit (mm by default)
};
static_assert(sizeof(tagRasterParameter) == 32, "tagRasterParameter is stored as 32 raw bytes");

// The built-in default: 1:50000, 400 x 400 dpi, pixel size 1.0.
tagRasterParameter GetBuiltinRasterParameter();

// The default from the current application's profile, "Settings"/"DefaultRasterParameter", a string
// "scale:xdpi:ydpi:pixelsize" ("%d:%f:%f:%f", the three numbers read in single precision and widened).
// Read on every call. All four fields are taken only when exactly four convert and the two resolutions
// and the pixel size are positive (a zero would be a divisor everywhere); otherwise, and without an
// application, the whole built-in default. Never fails.
tagRasterParameter GetDefaultRasterParameter();

// Writes the four fields with "%d:%f:%f:%f" to "Settings"/"DefaultRasterParameter" at once. Does
// nothing without an application.
void SetDefaultRasterParameter(tagRasterParameter parameter);
