#include "afx/Geometry.h"

#include <algorithm>

void CRect::NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT r1, LPCRECT r2) { return ::IntersectRect(this, r1, r2); }
BOOL CRect::UnionRect(LPCRECT r1, LPCRECT r2) { return ::UnionRect(this, r1, r2); }

BOOL CRect::SubtractRect(LPCRECT rSrc1, LPCRECT rSrc2) {
    // The first rectangle less the second, only when the second covers a whole side of it.
    CRect r(*rSrc1);
    CRect cut;
    if (r.IsRectEmpty()) { SetRectEmpty(); return FALSE; }
    if (!cut.IntersectRect(rSrc1, rSrc2)) { *this = r; return TRUE; }
    if (cut.top == r.top && cut.bottom == r.bottom) {
        if (cut.left == r.left) r.left = cut.right;
        else if (cut.right == r.right) r.right = cut.left;
    } else if (cut.left == r.left && cut.right == r.right) {
        if (cut.top == r.top) r.top = cut.bottom;
        else if (cut.bottom == r.bottom) r.bottom = cut.top;
    }
    if (r.IsRectEmpty()) { SetRectEmpty(); return FALSE; }
    *this = r;
    return TRUE;
}

BOOL IsRectEmpty(LPCRECT r) { return !r || r->right <= r->left || r->bottom <= r->top; }

BOOL IntersectRect(LPRECT dst, LPCRECT r1, LPCRECT r2) {
    RECT out{std::max(r1->left, r2->left), std::max(r1->top, r2->top), std::min(r1->right, r2->right),
             std::min(r1->bottom, r2->bottom)};
    if (IsRectEmpty(r1) || IsRectEmpty(r2) || IsRectEmpty(&out)) {
        *dst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *dst = out;
    return TRUE;
}

BOOL UnionRect(LPRECT dst, LPCRECT r1, LPCRECT r2) {
    bool e1 = IsRectEmpty(r1), e2 = IsRectEmpty(r2);
    if (e1 && e2) {
        *dst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (e1) { *dst = *r2; return TRUE; }
    if (e2) { *dst = *r1; return TRUE; }
    *dst = RECT{std::min(r1->left, r2->left), std::min(r1->top, r2->top), std::max(r1->right, r2->right),
                std::max(r1->bottom, r2->bottom)};
    return TRUE;
}

BOOL PtInRect(LPCRECT r, POINT p) { return p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom; }
BOOL SetRect(LPRECT r, int l, int t, int rr, int b) { *r = RECT{l, t, rr, b}; return TRUE; }
BOOL SetRectEmpty(LPRECT r) { *r = RECT{0, 0, 0, 0}; return TRUE; }
BOOL OffsetRect(LPRECT r, int dx, int dy) { r->left += dx; r->right += dx; r->top += dy; r->bottom += dy; return TRUE; }
BOOL InflateRect(LPRECT r, int dx, int dy) { r->left -= dx; r->right += dx; r->top -= dy; r->bottom += dy; return TRUE; }
BOOL EqualRect(LPCRECT a, LPCRECT b) {
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
BOOL CopyRect(LPRECT dst, LPCRECT src) { *dst = *src; return TRUE; }
