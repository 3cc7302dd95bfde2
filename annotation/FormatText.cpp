#include "annotation/FormatText.h"

#include "annotation/AnnoBlockDraw.h"
#include "annotation/AnnoLayout.h"
#include "annotation/AnnoTextDraw.h"
#include "core/GeoView.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const double kAnnoPi = 3.1415926;
const double kStrokeAngle = 75.0 * kAnnoPi / 180.0;

int Clamp(int64_t v)
{
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int>(v);
}

int TruncInt(double v)
{
    if (!std::isfinite(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int>(std::trunc(v));
}

int RoundInt(double v) { return std::isfinite(v) ? TruncInt(v + 0.5) : 0; }

bool IsLead(char c) { return static_cast<unsigned char>(c) > 0x7F; }

// An escape pair at i: "\" followed by a single-byte special character.
bool IsEscapePair(const CString& s, int i, int n)
{
    return s[i] == '\\' && i + 1 < n && !IsLead(s[i + 1]) && IsFormatSpecial(s[i + 1], 1);
}

// Parts nested deeper than this are measured and drawn as one leaf, so that a hostile text cannot
// exhaust the stack; real map notation nests a few levels.
const int kMaxFormatDepth = 64;

int HeightAt(CString text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int leaves, int depth);
int WidthAt(CString text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int leaves, int depth);

int64_t Measure(const CString& text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int leaves, bool height, int depth)
{
    return height ? HeightAt(text, pAnno, pFormat, leaves, depth) : WidthAt(text, pAnno, pFormat, leaves, depth);
}

// Splits text unless it lies at the depth limit, where it stays whole as a leaf.
void SplitAt(CString& text, CString& left, CString& right, int& kind, int depth)
{
    if (depth >= kMaxFormatDepth) {
        text.Replace("\r\n", "");
        left = text;
        kind = 0;
        return;
    }
    SplitFormat(text, left, right, kind);
}

// The horizontal reach of the slanted stroke between parts of heights l and r.
double SlantReach(int64_t l, int64_t r, const tagGEOFORMAT& f)
{
    return (double)std::max(l, r) / std::tan(kStrokeAngle) + std::cos(kStrokeAngle) * 2.0 * f.fen_ver;
}

POINT Pt(int64_t x, int64_t y) { return POINT{Clamp(x), Clamp(y)}; }

void DrawStroke(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                POINT* pts, int highlight)
{
    DrawPolygonOrEmit(pDC, scale, origin, offset, view, anno, pts, 5, anno.m_ptRotateCenter.x,
                      anno.m_ptRotateCenter.y, (int)ANNO_DATA_FORMATSTROKE, highlight);
}

// The five points of an axis-parallel bar from (x1, y1) to (x2, y2), closed.
void Bar(POINT pts[5], int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    pts[0] = Pt(x1, y1);
    pts[1] = Pt(x2, y1);
    pts[2] = Pt(x2, y2);
    pts[3] = Pt(x1, y2);
    pts[4] = pts[0];
}

// The base y of a stroke: a row anchored at its top (align 2) hangs a char height below its point.
int64_t StrokeBaseY(const GEOANNO& anno, POINT base)
{
    return anno.m_nAlignType == 2 ? (int64_t)base.y - anno.m_nCharHeight : (int64_t)base.y;
}

void DrawLeaf(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
              GEOANNO& anno, const CString& leaf, RECT* pClip, int highlight)
{
    anno.m_strText = leaf;
    RemoveFormatEscapes(anno.m_strText);
    const int mode = anno.m_nOutputMode;
    if (mode >= 0 && mode <= 2) {
        DrawAnnoRow(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight, 0, 0);
    } else if (mode == 5) {
        const CPoint keep = anno.m_ptPosition;
        POINT p = keep;
        RotatePointAbout(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, &p,
                         anno.m_fEscapeAngle * kAnnoPi / 1800.0);
        anno.m_ptPosition = p;
        EmitAnnoPart(anno, view, nullptr, nullptr);
        anno.m_ptPosition = keep;
    }
    if (anno.m_pPartOutput != nullptr) {
        const int type = anno.m_nPositionType;
        anno.m_nPositionType = 0;
        anno.SetFormatStyle(0);
        CPoint c[4] = {anno.m_ptPosition, anno.m_ptPosition, anno.m_ptPosition, anno.m_ptPosition};
        GetFourSquarePoint(anno, c, 0, nullptr);
        tagFORMATPART part;
        part.text = anno.m_strText;
        part.left = c[0].x;
        part.top = c[2].y;
        part.right = c[1].x;
        part.bottom = c[0].y;
        static_cast<CFormatPartArray*>(anno.m_pPartOutput)->push_back(part);
        anno.SetFormatStyle(1);
        anno.m_nPositionType = type;
    }
}

}  // namespace

BOOL IsFormatSpecial(char c, int withBrackets)
{
    if (c == '/' || c == '@' || c == '|') return TRUE;
    if (withBrackets && (c == '(' || c == ')' || c == '\\')) return TRUE;
    return FALSE;
}

int GetFormatKind(char c)
{
    switch (c) {
    case '|': return 1;
    case '/': return 2;
    case '@': return 3;
    default: return 4;
    }
}

int IsValidFormatString(CString& text)
{
    const int n = text.GetLength();
    if (n == 0) return FORMAT_ERROR;
    int depth = 0;
    bool prevSpecial = false;
    int i = 0;
    while (i < n) {
        const char c = text[i];
        if (IsLead(c)) {
            prevSpecial = false;
            i += 2;
            continue;
        }
        if (c == '\\') {
            if (!IsEscapePair(text, i, n)) return FORMAT_BAD_ESCAPE;
            prevSpecial = true;
            i += 2;
            continue;
        }
        if (c == '(') {
            if (i > 0 && !prevSpecial) return FORMAT_BRACKET_PLACE;
            ++depth;
        } else if (c == ')') {
            --depth;
        }
        prevSpecial = IsFormatSpecial(c, 1) != FALSE;
        ++i;
    }
    return depth == 0 ? FORMAT_VALID : FORMAT_BRACKETS;
}

void GetFormatError(int code, CString& message)
{
    switch (code) {
    case 1: message = "正常!"; break;
    case 2: message = "括号不匹配!"; break;
    case 3: message = "竖线的个数不对!"; break;
    case 6: message = "括号后面或前面应该为特殊分割符!"; break;
    case 7: message = "格式化文本中不能有回车键!"; break;
    case 8: message = "没有格式化标志符!"; break;
    default: message = "格式化文本错误!"; break;
    }
}

int SplitFormat(CString& text, CString& left, CString& right, int& kind)
{
    kind = 0;
    if (text.IsEmpty()) {
        left = text;
        return 0;
    }
    text.Replace("\r\n", "");
    int n = text.GetLength();
    int depth = 0;
    int openAtTop = -1;     // where the bracket that left depth 0 opened
    char prev = 0;          // the last single-byte character, 0 after a double-byte one
    int i = 0;
    while (i < n) {
        const char c = text[i];
        if (IsLead(c)) {
            prev = 0;
            i += 2;
            continue;
        }
        if (IsEscapePair(text, i, n)) {
            prev = text[i + 1];
            i += 2;
            continue;
        }
        if (c == '(') {
            if (depth == 0 && i > 0) {
                left = text.Left(i);
                right = text.Mid(i);
                kind = prev == 0 ? 4 : GetFormatKind(prev);
                return 1;
            }
            if (depth == 0) openAtTop = i;
            ++depth;
        } else if (c == ')') {
            --depth;
            if (depth == 0) {
                if (i == n - 1) {
                    if (openAtTop != 0) break;
                    // Outer brackets: split the inside instead (a loop, however deep the nesting).
                    CString inner = text.Mid(1, n - 2);
                    text = inner;
                    if (text.IsEmpty()) {
                        left = text;
                        return 0;
                    }
                    n = text.GetLength();
                    depth = 0;
                    openAtTop = -1;
                    prev = 0;
                    i = 0;
                    continue;
                }
                left = text.Mid(1, i - 1);
                const char next = text[i + 1];
                if (!IsLead(next) && IsFormatSpecial(next, 0)) {
                    right = text.Mid(i + 2);
                    kind = GetFormatKind(next);
                } else {
                    right = text.Mid(i + 1);
                    kind = 4;
                }
                return 1;
            }
        } else if (depth == 0 && IsFormatSpecial(c, 0)) {
            left = text.Left(i);
            right = text.Mid(i + 1);
            kind = GetFormatKind(c);
            return 1;
        }
        prev = c;
        ++i;
    }
    left = text;
    kind = 0;
    return 1;
}

namespace {

int HeightAt(CString text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int leavesCount, int depth)
{
    if (pAnno == nullptr || pFormat == nullptr) return 0;
    CString left, right;
    int kind = 0;
    SplitAt(text, left, right, kind, depth);
    if (kind == 0) return leavesCount ? pAnno->m_nCharHeight : 0;
    const tagGEOFORMAT& f = *pFormat;
    const int64_t l = Measure(left, pAnno, pFormat, leavesCount, true, depth + 1);
    const int64_t r = Measure(right, pAnno, pFormat, leavesCount, true, depth + 1);
    switch (kind) {
    case 1: return Clamp(std::max(l, r) + 2 * (int64_t)f.fen_ver);
    case 2: return Clamp(std::max(l, r) + RoundInt(std::sin(kStrokeAngle) * 2.0 * f.fen_ver));
    case 3: return Clamp(l + r + 2 * (int64_t)f.ver + RoundInt(f.fen_shu_width));
    default: return Clamp(std::max(l, r));
    }
}

int WidthAt(CString text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int leavesCount, int depth)
{
    if (pAnno == nullptr || pFormat == nullptr) return 0;
    CString left, right;
    int kind = 0;
    SplitAt(text, left, right, kind, depth);
    if (kind == 0)
        return leavesCount ? GetRowWidth(left, pAnno->m_nCharWidth, pAnno->m_nCharHeight, pAnno->m_nColSpace) : 0;
    const tagGEOFORMAT& f = *pFormat;
    const int64_t wl = Measure(left, pAnno, pFormat, leavesCount, false, depth + 1);
    const int64_t wr = Measure(right, pAnno, pFormat, leavesCount, false, depth + 1);
    switch (kind) {
    case 1: return Clamp(wl + wr + 2 * (int64_t)f.fen_hor + RoundInt(f.fen_shu_width));
    case 2: {
        const double s = SlantReach(Measure(left, pAnno, pFormat, 1, true, depth + 1),
                                    Measure(right, pAnno, pFormat, 1, true, depth + 1), f);
        return TruncInt((double)(wl + wr + 2 * (int64_t)f.fen_hor) + s);
    }
    case 3: return Clamp(std::max(wl, wr) + 2 * (int64_t)f.hor);
    default: return Clamp(wl + wr + f.fen_hor);
    }
}

}  // namespace

int GetFormatHeight(CString text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int /*fontType*/, int leavesCount)
{
    return HeightAt(text, pAnno, pFormat, leavesCount, 0);
}

int GetFormatWidth(CString text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int /*fontType*/, int leavesCount)
{
    return WidthAt(text, pAnno, pFormat, leavesCount, 0);
}

void AnchorFormatBlock(GEOANNO& anno, int width, int height, int charHeight)
{
    const int align = anno.m_nAlignType;
    if (align < 0 || align > 8) {
        anno.m_nAlignType = 0;
        return;
    }
    int64_t x = anno.m_ptPosition.x;
    int64_t y = anno.m_ptPosition.y;
    const int row = align % 3;
    const int col = align / 3;
    if (row == 0) y += (int64_t)height - charHeight;
    if (row == 1) y += (int64_t)(height / 2) - charHeight;
    if (col == 1) x -= width / 2;
    if (col == 2) x -= width;
    anno.m_ptPosition = CPoint(Clamp(x), Clamp(y));
    anno.m_nAlignType = row == 2 ? 2 : 0;
}

void DrawGeoFormatAnno(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                       GEOANNO& anno, tagGEOFORMAT* pFormat, RECT* pClip, int highlight)
{
    if (pFormat == nullptr) return;
    if (IsValidFormatString(anno.m_strText) != FORMAT_VALID) {
        DrawAnnoRows(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight, 0, 0);
        return;
    }
    const CString text = anno.m_strText;
    const int fontType = (int)view.GetFontType();
    const int h = GetFormatHeight(text, &anno, pFormat, fontType, 1);
    const int w = GetFormatWidth(text, &anno, pFormat, fontType, 1);
    AnchorFormatBlock(anno, w, h, anno.m_nCharHeight);
    anno.m_strText = text;
    DrawFormatPart(pDC, scale, scale2, origin, offset, view, anno, *pFormat, pClip, highlight);
}

namespace {

void DrawPartAt(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                tagGEOFORMAT format, RECT* pClip, int highlight, int depth)
{
    if (anno.m_strText.IsEmpty()) return;
    CString text = anno.m_strText;
    CString left, right;
    int kind = 0;
    SplitAt(text, left, right, kind, depth);
    anno.m_strText = text;
    if (kind == 0) {
        DrawLeaf(pDC, scale, scale2, origin, offset, view, anno, left, pClip, highlight);
        return;
    }

    const tagGEOFORMAT& f = format;
    const int64_t ch = anno.m_nCharHeight;
    int64_t x0 = anno.m_ptPosition.x;
    int64_t y0 = anno.m_ptPosition.y;
    auto part = [&](const CString& t, int64_t x, int64_t y) {
        anno.m_strText = t;
        anno.m_ptPosition = CPoint(Clamp(x), Clamp(y));
        DrawPartAt(pDC, scale, scale2, origin, offset, view, anno, format, pClip, highlight, depth + 1);
    };

    if (kind == 3) {
        x0 += f.hor;
        const int64_t wl = Measure(left, &anno, &format, 1, false, depth + 1);
        const int64_t wr = Measure(right, &anno, &format, 1, false, depth + 1);
        part(left, x0 + (wr > wl ? (wr - wl) / 2 : 0), y0);
        const int64_t l = Measure(left, &anno, &format, 1, true, depth + 1);
        // The bar lies ver below the upper part's lowest row. DrawFractionBar itself lowers a top-anchored
        // (align 2) base by a char height, so the base is given for a bottom-anchored row in every case.
        const POINT base = Pt(x0, y0 - f.ver - l + ch);
        DrawFractionBar(pDC, scale, origin, offset, view, anno, format, base, Clamp(std::max(wl, wr)), highlight);
        part(right, x0 + (wl > wr ? (wl - wr) / 2 : 0), y0 - l - 2 * (int64_t)f.ver - TruncInt(f.fen_shu_width));
        return;
    }

    if (kind == 1 || kind == 2) y0 -= 2 * (int64_t)f.fen_ver;
    const int64_t l = Measure(left, &anno, &format, 1, true, depth + 1);
    const int64_t r = Measure(right, &anno, &format, 1, true, depth + 1);
    const int64_t a = kind == 1 ? f.fen_ver : kind == 2 ? RoundInt(std::sin(kStrokeAngle) * f.fen_ver) : 0;
    part(left, x0, y0 - (r > l ? RoundInt((r - l) / 2.0) : 0) + a);
    const int64_t wl = Measure(left, &anno, &format, 1, false, depth + 1);
    const int64_t m = std::max(l, r);
    int64_t rx = x0, ry = y0;
    if (kind == 1) {
        DrawVerticalBar(pDC, scale, origin, offset, view, anno, format, Pt(x0 + wl, y0 + ch - m), Clamp(m), highlight);
        rx = x0 + wl + 2 * (int64_t)f.fen_hor + RoundInt(f.fen_shu_width);
        ry = y0 + f.fen_ver;
    } else if (kind == 2) {
        DrawSlantStroke(pDC, scale, origin, offset, view, anno, format, Pt(x0 + wl, y0 + ch - m), Clamp(m), highlight);
        rx = x0 + TruncInt(SlantReach(l, r, f) + 2.0 * f.fen_hor + (double)wl);
        ry = y0 + a;
    } else {
        // Drawn two gaps apart although the width counts one.
        rx = x0 + wl + 2 * (int64_t)f.fen_hor;
        ry = y0;
    }
    if (l > r) ry -= RoundInt((l - r) / 2.0);
    part(right, rx, ry);
}

}  // namespace

void DrawFormatPart(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                    GEOANNO& anno, tagGEOFORMAT format, RECT* pClip, int highlight)
{
    DrawPartAt(pDC, scale, scale2, origin, offset, view, anno, format, pClip, highlight, 0);
}

void DrawFractionBar(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                     const tagGEOFORMAT& format, POINT base, int length, int highlight)
{
    const int64_t y = StrokeBaseY(anno, base);
    POINT pts[5];
    Bar(pts, (int64_t)base.x - format.hor, y - RoundInt(format.fen_shu_width),
        (int64_t)base.x + length + format.hor, y);
    DrawStroke(pDC, scale, origin, offset, view, anno, pts, highlight);
}

void DrawVerticalBar(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                     const tagGEOFORMAT& format, POINT base, int height, int highlight)
{
    const int64_t y = StrokeBaseY(anno, base);
    const int64_t x = (int64_t)base.x + format.fen_hor;
    POINT pts[5];
    Bar(pts, x, y, x + RoundInt(format.fen_shu_width), y + height + 2 * (int64_t)format.fen_ver);
    DrawStroke(pDC, scale, origin, offset, view, anno, pts, highlight);
}

void DrawSlantStroke(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                     const tagGEOFORMAT& format, POINT base, int height, int highlight)
{
    const int64_t y = StrokeBaseY(anno, base);
    const int64_t x = (int64_t)base.x + format.fen_hor;
    const int64_t n = RoundInt(height / std::sin(kStrokeAngle)) + 2 * (int64_t)format.fen_ver;
    const int64_t y1 = y - RoundInt(format.fen_shu_width / 2.0);
    POINT pts[5];
    Bar(pts, x, y1, x + n, y);
    // The middle of the left end, each coordinate as the sum of the rounded halves.
    const int cx = Clamp((int64_t)RoundInt(pts[0].x / 2.0) + RoundInt(pts[3].x / 2.0));
    const int cy = Clamp((int64_t)RoundInt(pts[0].y / 2.0) + RoundInt(pts[3].y / 2.0));
    RotatePoints(cx, cy, pts, pts, 5, kStrokeAngle);
    DrawStroke(pDC, scale, origin, offset, view, anno, pts, highlight);
}

void RemoveFormatEscapes(CString& text)
{
    int n = text.GetLength();
    int i = 0;
    while (i < n) {
        if (IsLead(text[i])) {
            i += 2;
        } else if (IsEscapePair(text, i, n)) {
            text.Delete(i, 1);
            --n;
            ++i;  // past the escaped character, which is not examined again
        } else {
            ++i;
        }
    }
}
