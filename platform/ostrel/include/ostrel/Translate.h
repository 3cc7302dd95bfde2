// The process-wide display translation.
//
// When it is on, drawing code maps millimetre coordinates through Translate before scaling them to the
// device, and maps device positions back through Translate2. Translate turns a point about the base
// point by the rotation angle (degrees, turning the same way as RotatePoint: a positive angle turns
// clockwise with y up) and then shifts it by the transform (cx, cy):
//   p' = base + R(angle) * (p - base) + (cx, cy)
// Translate rounds to the nearest integer (halves away from zero, clamped to LONG); Translate2 works on
// doubles and is the exact inverse of the unrounded map, so Translate2 of a translated point gives the
// original point back to within the rounding of Translate.
// The state is off, angle 0, base (0, 0) and transform (0, 0) at load. It is process-wide and unguarded.
#pragma once

#include "win32/wintypes.h"

int IsUsedTranslate();
void SetTranslate(int on); // non-zero turns it on

void SetBasePoint(int x, int y);
void GetBasePoint(int& x, int& y);
void SetRotateAngle(double degrees);
double GetRotateAngle();
void SetTransform(int cx, int cy);
void GetTransform(int& cx, int& cy);

// Millimetres to display, in place, whether or not the translation is on.
void Translate(POINT& p);
// The rectangle's four corners are translated; the result is their normalised bounding box.
void Translate(RECT& r);
// Display to millimetres, in place: the inverse of Translate.
void Translate2(double& x, double& y);
