// CPoint, CSize and CRect with the semantics of Windows rectangles: a rectangle holds the points with
// left <= x < right and top <= y < bottom (right and bottom edges excluded); Width and Height are signed.
#pragma once

#include "win32/wintypes.h"

class CPoint;
class CRect;

class CSize : public tagSIZE {
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
    CSize(SIZE s) { cx = s.cx; cy = s.cy; }
    CSize(POINT p) { cx = p.x; cy = p.y; }

    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
    void operator+=(SIZE s) { cx += s.cx; cy += s.cy; }
    void operator-=(SIZE s) { cx -= s.cx; cy -= s.cy; }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint : public tagPOINT {
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int initX, int initY) { x = initX; y = initY; }
    CPoint(POINT p) { x = p.x; y = p.y; }
    CPoint(SIZE s) { x = s.cx; y = s.cy; }

    void Offset(int xOffset, int yOffset) { x += xOffset; y += yOffset; }
    void Offset(POINT p) { x += p.x; y += p.y; }
    void Offset(SIZE s) { x += s.cx; y += s.cy; }
    bool operator==(POINT p) const { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const { return !(*this == p); }
    void operator+=(SIZE s) { x += s.cx; y += s.cy; }
    void operator-=(SIZE s) { x -= s.cx; y -= s.cy; }
    void operator+=(POINT p) { x += p.x; y += p.y; }
    void operator-=(POINT p) { x -= p.x; y -= p.y; }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public tagRECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(LPCRECT r) { *this = *r; }
    CRect(POINT topLeft, SIZE size) { left = topLeft.x; top = topLeft.y; right = left + size.cx; bottom = top + size.cy; }
    CRect(POINT topLeft, POINT bottomRight) { left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    // Empty: no area (width or height <= 0). Null: all four members 0.
    BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    // Right and bottom edges excluded.
    BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT r) { *this = *r; }
    BOOL EqualRect(LPCRECT r) const { return left == r->left && top == r->top && right == r->right && bottom == r->bottom; }

    void InflateRect(int x, int y) { left -= x; top -= y; right += x; bottom += y; }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int x, int y) { InflateRect(-x, -y); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void OffsetRect(int x, int y) { left += x; right += x; top += y; bottom += y; }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    // Swaps left/right and top/bottom where they are reversed.
    void NormalizeRect();

    // The overlap of two rectangles; empty rectangles give (0,0,0,0) and FALSE.
    BOOL IntersectRect(LPCRECT r1, LPCRECT r2);
    // The smallest rectangle holding both; an empty one is ignored; both empty give (0,0,0,0) and FALSE.
    BOOL UnionRect(LPCRECT r1, LPCRECT r2);
    BOOL SubtractRect(LPCRECT rSrc1, LPCRECT rSrc2);

    bool operator==(const RECT& r) const { return EqualRect(&r) != 0; }
    bool operator!=(const RECT& r) const { return !EqualRect(&r); }
    void operator+=(POINT p) { OffsetRect(p); }
    void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
    void operator+=(SIZE s) { OffsetRect(s); }
    void operator-=(SIZE s) { OffsetRect(-s.cx, -s.cy); }
    void operator&=(const RECT& r) { IntersectRect(this, &r); }
    void operator|=(const RECT& r) { UnionRect(this, &r); }
    CRect operator+(POINT p) const { CRect r(*this); r.OffsetRect(p); return r; }
    CRect operator-(POINT p) const { CRect r(*this); r.OffsetRect(-p.x, -p.y); return r; }
    CRect operator&(const RECT& r2) const { CRect r; r.IntersectRect(this, &r2); return r; }
    CRect operator|(const RECT& r2) const { CRect r; r.UnionRect(this, &r2); return r; }
};

// The Win32 rectangle functions, with the same rules as CRect.
BOOL IntersectRect(LPRECT dst, LPCRECT r1, LPCRECT r2);
BOOL UnionRect(LPRECT dst, LPCRECT r1, LPCRECT r2);
BOOL PtInRect(LPCRECT r, POINT p);
BOOL IsRectEmpty(LPCRECT r);
BOOL SetRect(LPRECT r, int l, int t, int rr, int b);
BOOL SetRectEmpty(LPRECT r);
BOOL OffsetRect(LPRECT r, int dx, int dy);
BOOL InflateRect(LPRECT r, int dx, int dy);
BOOL EqualRect(LPCRECT r1, LPCRECT r2);
BOOL CopyRect(LPRECT dst, LPCRECT src);
