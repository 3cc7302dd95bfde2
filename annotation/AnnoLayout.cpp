#include "annotation/AnnoLayout.h"

#include "annotation/FormatText.h"

#include "core/GeoView.h"

#include <ostrel/Units.h>

#include <ostrel/Misc.h>
#include <ostrel/ShapePoints.h>

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.1415926;  // the value of pi the text angles are converted with

inline bool IsLead(char c) { return static_cast<unsigned char>(c) > 0x7F; }

// Truncates toward zero, keeping the result inside the int range.
inline int TruncClamp(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(std::trunc(v));
}

inline int Round(double v) { return TruncClamp(v + 0.5); }

inline int HalfWidth(int charWidth) { return Round(charWidth / 2.0); }

// Length of the row separator that starts at byte i (0 when none). prevBackslash tells whether the
// character before i is a single-byte backslash.
int SeparatorAt(const std::string& s, size_t i, bool prevBackslash) {
    if (i + 1 >= s.size()) return 0;
    if (s[i] == '\r' && s[i + 1] == '\n') return 2;
    if (s[i] == '\\' && s[i + 1] == 'n' && !prevBackslash) return 2;
    return 0;
}

// Byte length of the character at i (a lone lead byte at the end counts as its own character).
inline size_t CharLen(const std::string& s, size_t i) { return (IsLead(s[i]) && i + 1 < s.size()) ? 2 : 1; }

}  // namespace

int GetStringCount(const CString& text) {
    const std::string& s = text.str();
    int n = 0;
    for (size_t i = 0; i < s.size(); i += IsLead(s[i]) ? 2 : 1) ++n;
    return n;
}

int FindCharPosition(int n, const CString& text) {
    const std::string& s = text.str();
    if (n < 0 || n >= static_cast<int>(s.size())) return -1;
    int k = 0;
    size_t last = 0;
    for (size_t i = 0; i < s.size(); i += IsLead(s[i]) ? 2 : 1, ++k) {
        if (k == n) return static_cast<int>(i);
        last = i;
    }
    return static_cast<int>(last);
}

BOOL NextCharPos(const char* text, int& pos, int len) {
    if (text == nullptr || pos < 0 || pos > len) return FALSE;
    if (IsLead(text[pos])) {
        pos += 2;
        return TRUE;
    }
    pos += 1;
    return FALSE;
}

BOOL RemoveLineBreaks(CString& text) {
    if (text.IsEmpty()) return FALSE;
    std::string s = text.str();
    std::string out;
    out.reserve(s.size());
    bool prevBackslash = false;
    size_t i = 0;
    while (i < s.size()) {
        // After a deletion the same position is examined again, against the character kept before it.
        if (int sep = SeparatorAt(s, i, prevBackslash)) {
            i += static_cast<size_t>(sep);
            continue;
        }
        const size_t len = CharLen(s, i);
        out.append(s, i, len);
        prevBackslash = len == 1 && s[i] == '\\';
        i += len;
    }
    text = CString(out);
    return TRUE;
}

int CalculateMultiLineRows(const CString& text, CStringArray& rows, int arrayStyle) {
    if (text.IsEmpty()) return 0;
    const std::string& s = text.str();
    if (arrayStyle == ARRAY_VERTICAL || arrayStyle == ARRAY_ECHELON) {
        CString copy = text;
        RemoveLineBreaks(copy);
        const std::string& c = copy.str();
        for (size_t i = 0; i < c.size();) {
            const size_t len = CharLen(c, i);
            rows.Add(CString(c.substr(i, len)));
            i += len;
        }
        return rows.GetSize();
    }
    size_t start = 0;
    bool prevBackslash = false;
    size_t i = 0;
    while (i < s.size()) {
        if (int sep = SeparatorAt(s, i, prevBackslash)) {
            if (i > start) rows.Add(CString(s.substr(start, i - start)));
            i += static_cast<size_t>(sep);
            start = i;
            prevBackslash = false;
            continue;
        }
        const size_t len = CharLen(s, i);
        prevBackslash = len == 1 && s[i] == '\\';
        i += len;
    }
    if (start < s.size()) rows.Add(CString(s.substr(start)));
    return rows.GetSize();
}

int SkipRowContent(const CString& text, int n, int escapes, int* contentEnd) {
    const std::string& s = text.str();
    size_t i = 0;
    int content = 0;
    bool prevBackslash = false;
    auto separator = [&]() {
        const int sep = SeparatorAt(s, i, prevBackslash);
        return (sep == 2 && !escapes && s[i] == '\\') ? 0 : sep;
    };
    while (content < n && i < s.size()) {
        if (const int sep = separator()) {
            i += static_cast<size_t>(sep);
            prevBackslash = false;
            continue;
        }
        const size_t len = CharLen(s, i);
        prevBackslash = len == 1 && s[i] == '\\';
        content += static_cast<int>(len);
        i += len;
    }
    if (content < n) return -1;
    if (contentEnd) *contentEnd = static_cast<int>(i);
    while (const int sep = separator()) {
        i += static_cast<size_t>(sep);
        prevBackslash = false;
    }
    return static_cast<int>(i);
}

int GetMaxWidth(const CStringArray& rows, int charWidth, int charHeight, int colSpace, float italicAngle,
                int addSlant) {
    if (rows.GetSize() == 0) return -1;
    LONGLONG best = -1410065408LL;
    for (int r = 0; r < rows.GetSize(); ++r) {
        const std::string& s = rows[r].str();
        LONGLONG sum = 0;
        for (size_t i = 0; i < s.size(); i += IsLead(s[i]) ? 2 : 1)
            sum += colSpace + (IsLead(s[i]) ? charWidth : HalfWidth(charWidth));
        if (sum > best) best = sum;
    }
    if (addSlant) best += static_cast<LONGLONG>(std::trunc(std::tan(italicAngle * kPi / 1800.0) * charHeight));
    return static_cast<int>(best - colSpace);
}

int GetMaxWords(const CStringArray& rows) {
    int best = -1;
    for (int r = 0; r < rows.GetSize(); ++r) {
        const int n = GetStringCount(rows[r]);
        if (n > best) best = n;
    }
    return best;
}

int GetRowWidth(const CString& row, int charWidth, int, int colSpace) {
    return Round(static_cast<double>(charWidth) * row.GetLength() / 2.0) + colSpace * (GetStringCount(row) - 1);
}

int GetColumnHeight(const CStringArray& rows, int charWidth, int, int rowSpace) {
    int sum = 0;
    for (int r = 0; r < rows.GetSize(); ++r) {
        const CString& row = rows[r];
        sum += (!row.IsEmpty() && IsLead(row[0])) ? charWidth : HalfWidth(charWidth);
    }
    return sum + rowSpace * (rows.GetSize() - 1);
}

CSize GetFirstRowOffset(int align, int w, int h, int d) {
    if (align < 0 || align > 8) return CSize(0, 0);
    const int col = align / 3, row = align % 3;
    const int dx = col == 0 ? 0 : col == 1 ? Round(w / 2.0) : w;
    const int dy = row == 0 ? h - d : row == 1 ? Round(h / 2.0) - d : -d;
    return CSize(dx, dy);
}

CSize GetDeviceAlignOffset(int align, int w, int h, int d, double f) {
    if (align < 0 || align > 8) return CSize(0, 0);
    const int col = align / 3, row = align % 3;
    const int dx = col == 0 ? 0 : col == 1 ? w / 2 : w;
    const int dy = row == 0 ? 0 : row == 1 ? static_cast<int>(std::trunc(d * f / 2.0)) : h;
    return CSize(dx, dy);
}

CSize GetCharAlignOffset(int align, int w, int h, double f) {
    if (align < 0 || align > 8) return CSize(0, 0);
    const int col = align / 3, row = align % 3;
    const int dx = col == 0 ? 0 : col == 1 ? Round(w / 2.0) : w;
    const int dy = row == 1 ? Round(h * f / 2.0) : 0;
    return CSize(dx, dy);
}

int GetAlignColumnCode(int align) {
    if (align >= 3 && align <= 5) return 2;
    if (align >= 6 && align <= 8) return 1;
    return 0;
}

void GetFourSquarePoint(GEOANNO& anno, CPoint corners[4], int rotate, tagGEOFORMAT* pFormat) {
    if (anno.m_strText.IsEmpty()) {
        for (int i = 0; i < 4; ++i) corners[i] = anno.m_ptPosition;
        return;
    }
    if (anno.m_nPositionType == 2) {
        CRect& r = anno.m_rcBounds;
        r.NormalizeRect();
        corners[0] = CPoint(r.left, r.top);
        corners[1] = CPoint(r.left + r.Width(), r.top);
        corners[2] = CPoint(r.right, r.bottom);
        corners[3] = CPoint(r.left, r.top + r.Height());
        return;
    }
    // Formatted text is measured by its own layout; without its spacing it has no box.
    const bool formatted = anno.GetFormatStyle() != FALSE;
    if (formatted && pFormat == nullptr) return;
    const int style = anno.GetArrayStyle();
    if (!formatted && style == ARRAY_ECHELON) {
        CArray<CPoint, CPoint> pos;
        CArray<int, int> widths;
        const int n = CalculateEchelonPositions(anno, pos, widths, 1);
        if (n <= 0) return;
        int wmax = widths[0];
        for (int i = 1; i < n; ++i) wmax = std::max(wmax, widths[i]);
        CRect a(pos[0].x, pos[0].y, pos[0].x + wmax, pos[0].y + anno.m_nCharHeight);
        CRect b(pos[n - 1].x, pos[n - 1].y, pos[n - 1].x + wmax, pos[n - 1].y + anno.m_nCharHeight);
        a.NormalizeRect();
        b.NormalizeRect();
        GetEchelonCorners(a, b, anno.m_fEscapeAngle / 10.0f, corners);
        if (!rotate)
            RotatePoints(anno.m_ptPosition.x, anno.m_ptPosition.y, corners, corners, 4,
                         -anno.m_fEscapeAngle * kPi / 1800.0);
        return;
    }

    int w = 0, h = 0;
    if (formatted) {
        w = GetFormatWidth(anno.m_strText, &anno, pFormat, 0, 1);
        h = GetFormatHeight(anno.m_strText, &anno, pFormat, 0, 1);
    } else {
        CStringArray rows;
        const int n = CalculateMultiLineRows(anno.m_strText, rows, style);
        w = GetMaxWidth(rows, anno.m_nCharWidth, anno.m_nCharHeight, anno.m_nColSpace, anno.m_fItalicAngle, 0);
        h = TruncClamp(static_cast<double>(n) * anno.m_nCharHeight + static_cast<double>(n - 1) * anno.m_nRowSpace);
    }

    const int align = anno.m_nAlignType;
    const int col = (align >= 0 && align <= 8) ? align / 3 : 0;
    const int row = (align >= 0 && align <= 8) ? align % 3 : 0;
    const int ax = col == 0 ? 0 : col == 1 ? Round(0.5 * w) : w;
    const int ay = row == 0 ? 0 : row == 1 ? Round(0.5 * h) : h;
    // Sizes from a damaged record can reach the int limits: the corners are clamped, never wrapped.
    const int x = TruncClamp(static_cast<double>(anno.m_ptPosition.x) - ax);
    const int y = TruncClamp(static_cast<double>(anno.m_ptPosition.y) - ay);
    const int xw = TruncClamp(static_cast<double>(x) + w), yh = TruncClamp(static_cast<double>(y) + h);
    corners[0] = CPoint(x, y);
    corners[1] = CPoint(xw, y);
    corners[2] = CPoint(xw, yh);
    corners[3] = CPoint(x, yh);
    if (rotate)
        RotatePoints(anno.m_ptPosition.x, anno.m_ptPosition.y, corners, corners, 4,
                     anno.m_fEscapeAngle * kPi / 1800.0);
}

void RotatePoints(int cx, int cy, const POINT* src, POINT* dst, int n, double radians) {
    if (src == nullptr || dst == nullptr) return;
    // Rounding adds 0.5 and truncates, which would move a point left or below the centre by one unit
    // even when nothing turns; a zero angle copies the points as they are.
    if (radians == 0.0) {
        for (int i = 0; i < n; ++i) dst[i] = src[i];
        return;
    }
    const double c = std::cos(radians), s = std::sin(radians);
    for (int i = 0; i < n; ++i) {
        const double dx = static_cast<double>(src[i].x) - cx, dy = static_cast<double>(src[i].y) - cy;
        const LONG x = TruncClamp(static_cast<double>(cx) + Round(dx * c - dy * s));
        const LONG y = TruncClamp(static_cast<double>(cy) + Round(dx * s + dy * c));
        dst[i].x = x;
        dst[i].y = y;
    }
}

void RotatePointAbout(int cx, int cy, POINT* p, double radians) {
    if (p == nullptr || radians == 0.0) return;
    RotatePoints(cx, cy, p, p, 1, radians);
}

double FoldAngle(double a) {
    const double pi = 3.141592653589793, halfPi = 1.5707963267948966, twoPi = 6.283185307179586;
    if (!std::isfinite(a)) return 0.0;
    while (a < 0) a += twoPi;
    while (a > twoPi) a -= twoPi;
    if (a > 3 * halfPi) return twoPi - a;
    if (a > pi) return a - pi;
    if (a > halfPi) return pi - a;
    return a;
}

void ChangeAnnoSize(GEOANNO& anno, GEOVIEW& view, tagGEOFORMAT& format, double k) {
    auto scale = [k](int& v) { v = TruncClamp(v * k); };
    scale(anno.m_nCharHeight);
    scale(anno.m_nCharWidth);
    scale(anno.m_nColSpace);
    scale(anno.m_nRowSpace);
    scale(format.hor);
    scale(format.ver);
    scale(format.fen_hor);
    scale(format.fen_ver);
    format.fen_shu_width = static_cast<float>(format.fen_shu_width * k);
    scale(view.m_nBufferWidth);
}

void ChangeUnit(GEOANNO* pAnno, tagGEOFORMAT* pFormat, tagGEORECT* pRect, int from, int to) {
    if (from == to) return;
    auto conv = [from, to](int& v) { v = TruncClamp(ChangeUnit(from, to, static_cast<double>(v))); };
    if (pAnno) {
        conv(pAnno->m_nCharHeight);
        conv(pAnno->m_nCharWidth);
        conv(pAnno->m_nColSpace);
        conv(pAnno->m_nRowSpace);
    }
    if (pFormat) {
        conv(pFormat->hor);
        conv(pFormat->ver);
        conv(pFormat->fen_hor);
        conv(pFormat->fen_ver);
        pFormat->fen_shu_width = static_cast<float>(ChangeUnit(from, to, static_cast<double>(pFormat->fen_shu_width)));
    }
    if (pRect) {
        conv(pRect->left);
        conv(pRect->right);
        conv(pRect->top);
        conv(pRect->bottom);
    }
}

// ---- echelon text ----

CSize GetEchelonSteps(GEOANNO& anno, tagECHELONSTEPS& st, int withTotal) {
    if (anno.m_nCharWidth == 0) anno.m_nCharWidth = 1;
    if (anno.m_nCharHeight == 0) anno.m_nCharHeight = 1;
    const double cw = anno.m_nCharWidth, ch = anno.m_nCharHeight, g = anno.m_nColSpace;
    const double r = ch / cw;
    const double a = FoldAngle(anno.m_fEscapeAngle * kPi / 1800.0);
    double c = std::cos(a), s = std::sin(a);
    if (c == 0.0) c = 1e-08;
    if (s == 0.0) s = 1e-08;
    if (s / c > r) {
        st.x2 = ch * c / s + c * g;
        st.y2 = ch + g * s;
    } else {
        st.x2 = cw + c * g;
        st.y2 = cw * s / c + g * s;
    }
    if (2 * r > s / c) {
        st.x1 = cw / 2 + 0.5 + g * c;
        st.y1 = (cw / 2) * s / c + g * s;
    } else {
        st.x1 = ch * c / s + g * c;
        st.y1 = ch + g * s;
    }
    if (!withTotal) return CSize(0, 0);
    CStringArray rows;
    CalculateMultiLineRows(anno.m_strText, rows, anno.GetArrayStyle());
    double sx = 0.0, sy = 0.0;
    for (int i = 0; i < rows.GetSize(); ++i) {
        const bool wide = !rows[i].IsEmpty() && IsLead(rows[i][0]);
        sx += wide ? st.x2 : st.x1;
        sy += wide ? st.y2 : st.y1;
    }
    return CSize(TruncClamp(sx - g * c), TruncClamp(sy - g * s));
}

int CalculateEchelonPositions(GEOANNO& anno, CArray<CPoint, CPoint>& points, CArray<int, int>& widths,
                              int unturned) {
    CStringArray rows;
    const int n = CalculateMultiLineRows(anno.m_strText, rows, ARRAY_ECHELON);
    points.SetSize(n);
    widths.SetSize(n);
    tagECHELONSTEPS st;
    GetEchelonSteps(anno, st, 0);
    const double angle = anno.m_fEscapeAngle * kPi / 1800.0;
    const double turn = angle - FoldAngle(angle);
    const CSize off = GetCharAlignOffset(anno.m_nAlignType, anno.m_nCharWidth, anno.m_nCharHeight, 1.0);
    const CPoint origin = anno.m_ptPosition;
    LONGLONG runX = origin.x, runY = origin.y;
    for (int i = 0; i < n; ++i) {
        const bool wide = !rows[i].IsEmpty() && IsLead(rows[i][0]);
        POINT p = {static_cast<LONG>(TruncClamp(static_cast<double>(runX))),
                   static_cast<LONG>(TruncClamp(static_cast<double>(runY)))};
        RotatePointAbout(origin.x, origin.y, &p, turn);
        p.y -= off.cy;
        p.x -= wide ? off.cx : off.cx / 2;
        points[i] = CPoint(p.x, p.y);
        widths[i] = wide ? anno.m_nCharWidth : HalfWidth(anno.m_nCharWidth);
        runX += TruncClamp(wide ? st.x2 : st.x1);
        runY += TruncClamp(wide ? st.y2 : st.y1);
    }
    if (!unturned && n > 0)
        RotatePoints(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, points.GetData(), points.GetData(), n, -angle);
    return n;
}

void GetEchelonCorners(const CRect& a, const CRect& b, float degrees, CPoint corners[4]) {
    if (a == b) {
        corners[0] = CPoint(a.left, a.top);
        corners[1] = CPoint(a.right, a.top);
        corners[2] = CPoint(a.right, a.bottom);
        corners[3] = CPoint(a.left, a.bottom);
        return;
    }
    double d = degrees;
    if (std::isfinite(d)) {
        while (d < 0) d += 360;
        while (d > 360) d -= 360;
    }
    auto minY = [](const CRect& r) { return std::min(r.top, r.bottom); };
    const bool firstIsA = minY(a) > minY(b);
    const CRect& g1 = firstIsA ? a : b;
    const CRect& g2 = firstIsA ? b : a;
    auto corner = [](const CRect& r, bool maxX, bool maxY) {
        return CPoint(maxX ? std::max(r.left, r.right) : std::min(r.left, r.right),
                      maxY ? std::max(r.top, r.bottom) : std::min(r.top, r.bottom));
    };
    const bool rising = (d >= 0 && d <= 90) || (d > 180 && d <= 270) || d == 360;
    if (rising) {
        const POINT l1a = corner(g1, true, false), l1b = corner(g2, true, false);
        const POINT l2a = corner(g1, false, true), l2b = corner(g2, false, true);
        const POINT p2 = corner(g2, false, false), p1 = corner(g1, true, true);
        corners[0] = ProPoint(l1a, l1b, p2);
        corners[1] = ProPoint(l1a, l1b, p1);
        corners[2] = ProPoint(l2a, l2b, p1);
        corners[3] = ProPoint(l2a, l2b, p2);
    } else {
        const POINT l1a = corner(g1, true, true), l1b = corner(g2, true, true);
        const POINT l2a = corner(g1, false, false), l2b = corner(g2, false, false);
        const POINT p2 = corner(g2, true, false), p1 = corner(g1, false, true);
        corners[0] = ProPoint(l1a, l1b, p2);
        corners[1] = ProPoint(l1a, l1b, p1);
        corners[2] = ProPoint(l2a, l2b, p1);
        corners[3] = ProPoint(l2a, l2b, p2);
    }
    if (firstIsA) {
        Swap(corners[0], corners[2]);
        Swap(corners[1], corners[3]);
    }
}
