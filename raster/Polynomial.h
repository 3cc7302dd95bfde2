// Least-squares fitting of the transformation between image pixels and ground coordinates, and the
// small numeric routines the rectification code shares.
//
// Model kinds (EnPolynomial): 1 affine (6 coefficients: 1, u, v per output), 2 second order (12: + uv,
// u^2, v^2), 3 third order (20: + u^3, u^2 v, u v^2, v^3), 4 fourth order (30: + u^4, u^3 v, u^2 v^2,
// u v^3, v^4), 10 bilinear (8: 1, u, v, uv), 20 similarity (4), 0 none. A coefficient vector holds the
// first output coordinate's coefficients in that term order, then the second's.
//
// Similarity vectors (a, b, c, d): pixel to map X = a + c x + d y, Y = b + c y - d x; map to pixel
// x = a + c X - d Y, y = b + d X + c Y.
//
// Point records are four doubles per point: pixel x, pixel y (rows from the bottom), ground X, ground Y.
#pragma once

#include <afx/afx.h>

enum EnPolynomial { POLY_NONE = 0, POLY_AFFINE = 1, POLY_ORDER2 = 2, POLY_ORDER3 = 3, POLY_ORDER4 = 4,
                    POLY_BILINEAR = 10, POLY_SIMILARITY = 20 };

// Coefficients of a kind (both outputs): 6, 12, 20, 30, 8, 4; 0 for any other kind.
int PolynomialCoefCount(int kind);
// The kind usable with n points when kind is asked for (see CGeoImage::MatchNewlyFormula).
int MatchPolynomialKind(int kind, int n);
// Whether the map-to-pixel fit of a general kind over these points divides ground coordinates by
// 4000: when the first point's X or Y is at least 100 000. Evaluation must take the same decision.
bool PolynomialScalesMap(int n, const double* points);

// Fits kind over n point records. Any of the four output arrays may be NULL: a direction is fitted
// only when its coefficient array is given (sized PolynomialCoefCount(kind), or 4 for similarity);
// residual arrays hold two doubles per point (observed minus fitted; ground units for pixel to map,
// pixels for map to pixel). One point gives a pure shift in similarity form (20); two points, or kind
// 20, a least-squares similarity (20). Returns the kind fitted (a lower one when n is below half the
// coefficient count), or 0 for n <= 0, an unknown kind or a singular system.
int Polynomial(int kind, int n, double* points, double* mapToPixel, double* pixelToMap, double* residualsMapToPixel,
               double* residualsPixelToMap);

// Solves A x = b by elimination with partial pivoting (the first largest pivot of a column wins); x
// overwrites b and A is destroyed. ok = 1 on success, 0 when any pivot, the last one included, is
// below eps in magnitude (then b holds nothing usable).
void gauss(int n, double* A, double* b, double eps, int* ok);

// C (m x m) = A^T A for a row-major n x m matrix A.
void NormalMatrix(const double* A, int n, int m, double* C);
// C (m x k) = A^T B for row-major A (n x m) and B (n x k).
void NormalRightSide(const double* A, const double* B, int n, int m, int k, double* C);

// The exact affine through three point records: coef = (a0, a1, a2, b0, b1, b2) with
// X = a0 + a1 x + a2 y and Y = b0 + b1 x + b2 y. 1 on success, 0 for collinear points.
int AffineFromThreePoints(const double* points, double* coef);

// Even-odd point in polygon: horizontal edges are skipped; an edge counts when y is in [min y, max y)
// of the edge and the edge's x at y lies strictly right of x. 1 inside, 0 outside.
int PointInPolygon(double x, double y, int n, const double* xy);
int PointInPolygon(int x, int y, int n, const POINT* points);

// Sorting point records by their distance from a process-wide reference point (the first two doubles
// of each record). Set the point before sorting; not re-entrant. The comparator suits qsort on
// records of four doubles: nearer first, 0 when equally far.
void SetDistanceReference(double x, double y);
int CompareDistance(const void* a, const void* b);

void SwapDouble(double& a, double& b);
