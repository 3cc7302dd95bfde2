// Character positions of annotation text, and placing annotation text between points.
//
// A unit is one character, or the whole text for formatted and box text. Its position is the corner of
// its box with the smaller x and the smaller y in the unturned layout (turned with the text where a
// function says so); a width array gives each unit's width along its row and one height applies to all.
//
// Units: coordinates and sizes are integers in the annotation's unit, y up; angles are floats in tenths
// of a degree. Turning "by the escape angle" turns counter-clockwise (y up) about the record's rotation
// centre, as the text itself is turned.
#pragma once

#include "annotation/GeoAnnoRecord.h"

class CGeoAnno;

// The unit positions of a record; returns the unit count (0 for an empty text).
//   - Formatted text (needs pFormat; 0 without it) or box text: one unit, the text box's corner 0, its
//     width and height (truncated distances between corners).
//   - Otherwise height = char height and the arrangement decides (the three functions below).
// turn non-zero turns the positions by the escape angle; perChar 0 gives one unit per row of horizontal
// text instead of one per character. The record's rotation centre may be changed (rows of text that are
// split into characters turn each row about its own start).
int CalculateUnitPositions(GEOANNO& anno, tagGEOFORMAT* pFormat, CArray<CPoint, CPoint>& points,
                           CArray<int, int>& widths, int& height, int turn, int perChar);
// Horizontal text: rows stacked down from the first row's reference point by char height + row space.
int CalculateRowPositions(GEOANNO& anno, CArray<CPoint, CPoint>& points, CArray<int, int>& widths, int turn,
                          int perChar);
// Vertical text: one character per row.
int CalculateColumnPositions(GEOANNO& anno, CArray<CPoint, CPoint>& points, CArray<int, int>& widths, int turn);

// The unit positions of an annotation. Multi-point annotations (position type 6): one unit per
// character, its box anchored at its point by the align type and turned counter-clockwise by the
// character's escape angle about that point; widths round(bytes * char width / 2). Any other annotation
// goes through CalculateUnitPositions with its record and spacing. Arrays are emptied first; a NULL
// annotation gives empty arrays and height 0.
void GetPositionPointArray(CGeoAnno* pAnno, CArray<CPoint, CPoint>& points, CArray<int, int>& widths, int& height,
                           int turn, int perChar);

// Turns an annotation into a multi-point annotation (position type 6): one point per character (its
// turned position), every angle the first escape angle (0 for echelon text), row separators removed,
// align type 0, horizontal, unformatted; bounds recomputed. Nothing happens for a NULL annotation, one
// that cannot be united (box or formatted text) or one that is already multi-point. Always returns 0.
int ConvertToMultiPoint(CGeoAnno* pAnno);

// Fits the annotation between two points: the position point becomes p1, p2 or their midpoint by the
// align column (p1 for echelon text); when p1 and p2 differ the angles follow the direction p1 -> p2
// (vertical text a quarter turn less); with two-sided alignment on and unformatted text, the column
// space (horizontal and echelon text) or the row space (vertical text) is set so that the widest row
// spans the distance (never below 0). Nothing for NULL.
void CalculatePosForDouble(CGeoAnno* pAnno, CPoint& p1, CPoint& p2);

// Lays characters of a multi-point annotation along a line from start at the angle (tenths), one
// character width (half for single-byte characters) apart without column space.
//   count = -1: the point count becomes the character count; characters first .. end are placed.
//   count >= 0: the caller has inserted count characters before character first; the old points and
//     angles from first on move up by count places and the new ones are placed.
// When first equals the old point count (appending), start is taken as the point of the last existing
// character and the first new character stands one width (of that last character) after it.
// Refused (nothing changes) for NULL, a type other than 6, first < 0 or above the point count, and for
// count >= 0 when the text does not hold exactly point count + count characters.
void CalculatePosForMultiP(CGeoAnno* pAnno, CPoint& start, float angle, int first, int count);

// The eight handles of a box (top = smaller y): 1 (left, top), 2 (centre, top), 3 (right, top),
// 4 (right, centre), 5 (right, bottom), 6 (centre, bottom), 7 (left, bottom), 8 (left, centre);
// centres by integer halving of width or height from left/top. Other numbers give (0, 0).
CPoint GetBoxHandle(int handle, CRect box);
// Moves the edges of handle's place to (x, y); any other handle sets left and top.
void MoveBoxHandle(int handle, int x, int y, CRect& box);

// Extent of n points. With n <= 0 the maxima stay -1410065408 and the minima 1410065408.
void GetPointsExtent(const POINT* pts, int n, int& maxX, int& minX, int& maxY, int& minY);
