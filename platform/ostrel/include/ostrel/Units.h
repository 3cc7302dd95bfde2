// Unit conversion and map <-> device lengths.
//
// Unit codes and their size in millimetres:
//   1 inch (25.4), 3 millimetre (1), 4 centimetre (10), 6 metre (1000), 7 kilometre (1 000 000),
//   9 a unit already in millimetres (no conversion).
// Any other code counts as millimetres, so a bad code never divides by zero.
//
// Every form converts value x of unit `from` into unit `to` as x * mm(from) * factor / mm(to).
// Integer forms (POINT, point arrays, RECT, SIZE) truncate toward zero and clamp to the LONG range;
// with factor 1.0 and two codes of whole-millimetre size (3, 4, 6, 7, 9) they are computed exactly in
// integers. The double form is not rounded. Equal codes with factor 1.0 change nothing.
#pragma once

#include "win32/wintypes.h"

// Millimetres per unit of the code (1.0 for codes outside the table).
double UnitInMillimeters(int unit);

double ChangeUnit(int from, int to, double value, double factor = 1.0);
void ChangeUnit(int from, int to, POINT& p, double factor = 1.0);
void ChangeUnit(int from, int to, RECT& r, double factor = 1.0);
void ChangeUnit(int from, int to, SIZE& s, double factor = 1.0);
// Converts n points from src into dst; src and dst may be the same array; n <= 0 does nothing.
void ChangeUnit(int from, int to, const POINT* src, POINT* dst, int n, double factor = 1.0);

// Lengths between map and device. A device unit is a tenth of a millimetre at scale 1:
//   RPtoLP: value (in `unit`) -> millimetres * factor * 10 / scale
//   LPtoRP: its inverse, value * scale / 10 / factor -> millimetres -> `unit`
// A scale of 0 counts as 1; a factor of 0 makes both directions return 0.
// Integer forms truncate toward zero (clamped to LONG); the POINT, SIZE and RECT forms convert every
// member as a length, in place (no axis flip, no offset).
double RPtoLP(UINT scale, int unit, double value, double factor = 1.0);
LONG RPtoLP(UINT scale, int unit, LONG value, double factor = 1.0);
void RPtoLP(UINT scale, int unit, POINT& p, double factor = 1.0);
void RPtoLP(UINT scale, int unit, SIZE& s, double factor = 1.0);
void RPtoLP(UINT scale, int unit, RECT& r, double factor = 1.0);

double LPtoRP(UINT scale, int unit, double value, double factor = 1.0);
LONG LPtoRP(UINT scale, int unit, LONG value, double factor = 1.0);
void LPtoRP(UINT scale, int unit, POINT& p, double factor = 1.0);
void LPtoRP(UINT scale, int unit, SIZE& s, double factor = 1.0);
void LPtoRP(UINT scale, int unit, RECT& r, double factor = 1.0);
