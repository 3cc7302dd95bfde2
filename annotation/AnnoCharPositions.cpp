#include "annotation/AnnoCharPositions.h"

#include <cmath>

#include "annotation/AnnoLayout.h"
#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "ostrel/Measure.h"

namespace {

const double kLayoutPi = 3.1415926;
const double kFullPi = 3.141592653589793;

int RoundHalfUp(double v) { return static_cast<int>(std::trunc(v + 0.5)); }
bool IsLeadByte(char c) { return static_cast<unsigned char>(c) > 0x7F; }
int CharWidthOf(bool wide, int charWidth) { return wide ? charWidth : RoundHalfUp(charWidth / 2.0); }

// Width of character k of text (by its first byte); single-byte when k does not exist.
int WidthOfChar(const CString& text, int k, int charWidth) {
    const int pos = FindCharPosition(k, text);
    return CharWidthOf(pos >= 0 && IsLeadByte(text[pos]), charWidth);
}

void TurnAll(const GEOANNO& anno, CArray<CPoint, CPoint>& points) {
    if (points.GetSize() > 0)
        RotatePoints(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, points.GetData(), points.GetData(),
                     static_cast<int>(points.GetSize()), anno.m_fEscapeAngle * kLayoutPi / 1800.0);
}

}  // namespace

int CalculateRowPositions(GEOANNO& anno, CArray<CPoint, CPoint>& points, CArray<int, int>& widths, int turn,
                          int perChar) {
    CStringArray rows;
    const int nRows = CalculateMultiLineRows(anno.m_strText, rows, ARRAY_HORIZONTAL);
    if (nRows <= 0) return 0;
    const int ch = anno.m_nCharHeight;
    const int W = GetMaxWidth(rows, anno.m_nCharWidth, ch, anno.m_nColSpace, anno.m_fItalicAngle, 0);
    const int H = nRows * ch + (nRows - 1) * anno.m_nRowSpace;
    const CSize off = GetFirstRowOffset(anno.m_nAlignType, W, H, ch);
    int x = anno.m_ptPosition.x;
    int y = anno.m_ptPosition.y + off.cy;
    if (nRows == 1 || !perChar) x -= off.cx;

    if (nRows > 1) {
        // Each row is anchored by itself on its bottom line, in the column of the whole text.
        const int rowAlign = (anno.m_nAlignType >= 0 && anno.m_nAlignType <= 8) ? anno.m_nAlignType / 3 * 3 : 0;
        for (int r = 0; r < nRows; ++r) {
            if (perChar) {
                GEOANNO row = anno;
                row.m_strText = rows[r];
                row.m_nAlignType = rowAlign;
                POINT start = {x, y};
                if (turn)
                    RotatePointAbout(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, &start,
                                     anno.m_fEscapeAngle * kLayoutPi / 1800.0);
                row.m_ptPosition = row.m_ptRotateCenter = CPoint(start.x, start.y);
                CArray<CPoint, CPoint> rp;
                CArray<int, int> rw;
                const int n = CalculateRowPositions(row, rp, rw, turn, 0);
                for (int i = 0; i < n; ++i) {
                    points.Add(rp[i]);
                    widths.Add(rw[i]);
                }
            } else {
                points.Add(CPoint(x, y));
                widths.Add(W);
            }
            y -= ch + anno.m_nRowSpace;
        }
        if (turn && !perChar) TurnAll(anno, points);
        return static_cast<int>(points.GetSize());
    }

    const CString& text = rows[0];
    const int len = text.GetLength();
    int pos = 0;
    CArray<CPoint, CPoint> own;
    while (pos < len) {
        const bool wide = NextCharPos(static_cast<LPCSTR>(text), pos, len) != FALSE;
        const int w = CharWidthOf(wide, anno.m_nCharWidth);
        own.Add(CPoint(x, y));
        widths.Add(w);
        x += w + anno.m_nColSpace;
    }
    if (turn) TurnAll(anno, own);
    for (int i = 0; i < own.GetSize(); ++i) points.Add(own[i]);
    return static_cast<int>(own.GetSize());
}

int CalculateColumnPositions(GEOANNO& anno, CArray<CPoint, CPoint>& points, CArray<int, int>& widths, int turn) {
    CStringArray rows;
    const int nRows = CalculateMultiLineRows(anno.m_strText, rows, ARRAY_VERTICAL);
    if (nRows <= 0) return 0;
    const int ch = anno.m_nCharHeight;
    const int W = GetMaxWidth(rows, anno.m_nCharWidth, ch, anno.m_nColSpace, anno.m_fItalicAngle, 0);
    const int H = nRows * ch + (nRows - 1) * anno.m_nRowSpace;
    const CSize off = GetFirstRowOffset(anno.m_nAlignType, W, H, ch);
    const int x = anno.m_ptPosition.x - off.cx;
    int y = anno.m_ptPosition.y + off.cy;
    CArray<CPoint, CPoint> own;
    for (int r = 0; r < nRows; ++r) {
        own.Add(CPoint(x, y));
        widths.Add(CharWidthOf(!rows[r].IsEmpty() && IsLeadByte(rows[r][0]), anno.m_nCharWidth));
        y -= ch + anno.m_nRowSpace;
    }
    if (turn) TurnAll(anno, own);
    for (int i = 0; i < own.GetSize(); ++i) points.Add(own[i]);
    return nRows;
}

int CalculateUnitPositions(GEOANNO& anno, tagGEOFORMAT* pFormat, CArray<CPoint, CPoint>& points,
                           CArray<int, int>& widths, int& height, int turn, int perChar) {
    if (anno.m_strText.IsEmpty()) return 0;
    if (anno.GetFormatStyle() || anno.m_nPositionType == 2) {
        if (anno.GetFormatStyle() && pFormat == nullptr) return 0;  // formatted text cannot be measured
        CPoint c[4];
        GetFourSquarePoint(anno, c, turn, pFormat);
        points.Add(c[0]);
        widths.Add(static_cast<int>(Distance(c[0], c[1])));
        height = static_cast<int>(Distance(c[0], c[3]));
        return 1;
    }
    height = anno.m_nCharHeight;
    switch (anno.GetArrayStyle()) {
    case ARRAY_VERTICAL:
        return CalculateColumnPositions(anno, points, widths, turn);
    case ARRAY_ECHELON: {
        CArray<CPoint, CPoint> ep;
        CArray<int, int> ew;
        // Echelon positions already follow the text angle; unturned they are turned back.
        const int n = CalculateEchelonPositions(anno, ep, ew, turn ? 1 : 0);
        for (int i = 0; i < n; ++i) {
            points.Add(ep[i]);
            widths.Add(ew[i]);
        }
        return n;
    }
    default:
        return CalculateRowPositions(anno, points, widths, turn, perChar);
    }
}

void GetPositionPointArray(CGeoAnno* pAnno, CArray<CPoint, CPoint>& points, CArray<int, int>& widths, int& height,
                           int turn, int perChar) {
    points.RemoveAll();
    widths.RemoveAll();
    height = 0;
    if (pAnno == nullptr) return;
    if (pAnno->GetPositionType() != 6) {
        GEOANNO r = pAnno->MakeGeoAnno();
        tagGEOFORMAT f = pAnno->MakeGeoFormat();
        CalculateUnitPositions(r, &f, points, widths, height, turn, perChar);
        return;
    }
    const int n = pAnno->GetPoints();
    const int ch = pAnno->GetCharHeight();
    const int align = pAnno->GetAlignType();
    for (int i = 0; i < n; ++i) {
        CPoint pt;
        float angle = 0.0f;
        char text[3] = {0, 0, 0};
        if (!pAnno->GetAt(i, &pt, &angle, text)) break;
        const int bytes = text[1] != 0 ? 2 : 1;
        const int w = RoundHalfUp(bytes * pAnno->GetCharWidthA() / 2.0);
        const CSize off = GetCharAlignOffset(align, w, ch, 1.0);
        POINT p = {pt.x - off.cx, pt.y - off.cy};
        if (align == 2 || align == 5 || align == 8) p.y -= ch;
        p = RotatePoint(p, pt, angle * kLayoutPi / 1800.0);
        points.Add(CPoint(p.x, p.y));
        widths.Add(w);
    }
    height = ch;
}

int ConvertToMultiPoint(CGeoAnno* pAnno) {
    if (pAnno == nullptr || !pAnno->CanBeUnion() || pAnno->GetPositionType() == 6) return 0;
    GEOANNO r = pAnno->MakeGeoAnno();
    tagGEOFORMAT f = pAnno->MakeGeoFormat();
    CArray<CPoint, CPoint> pts;
    CArray<int, int> widths;
    int height = 0;
    const int units = CalculateUnitPositions(r, &f, pts, widths, height, 1, 1);
    if (units <= 0) return 0;
    const float angle = pAnno->GetArrayStyle() == ARRAY_ECHELON ? 0.0f : pAnno->GetEscapeAngle(0);
    CString text = pAnno->GetName();
    RemoveLineBreaks(text);
    pAnno->SetName(text);
    pAnno->SetPositionType(6);
    // The text decides the point count, so the arrays keep matching it even if a row held nothing.
    const int count = GetStringCount(text) > 0 ? GetStringCount(text) : 1;
    pAnno->SetPoints(count);
    for (int i = 0; i < count; ++i) {
        pAnno->SetPositionPoint(pts[i < units ? i : units - 1], i);
        pAnno->SetEscapeAngle(angle, i);
    }
    pAnno->SetAlignType(0);
    pAnno->SetArrayStyle(0);
    pAnno->SetFormatStyle(0);
    pAnno->CalculateAnnoBounds();
    return 0;
}

void CalculatePosForDouble(CGeoAnno* pAnno, CPoint& p1, CPoint& p2) {
    if (pAnno == nullptr) return;
    const int style = pAnno->GetArrayStyle();
    CPoint pos = p1;
    if (style != ARRAY_ECHELON) {
        const int col = pAnno->GetAlignType() / 3;
        if (col == 1)
            pos = CPoint((p1.x + p2.x) / 2, (p1.y + p2.y) / 2);
        else if (col == 2)
            pos = p2;
    }
    pAnno->SetPositionPoint(pos, 0);
    if (p1 == p2) return;

    const POINT ref = {p1.x + 10000, p1.y};
    double a = CalcAngle(p1, ref, p2, 0);
    if (style == ARRAY_VERTICAL) a = a + 2 * kFullPi - kFullPi / 2;
    const float tenths = static_cast<float>(a * 1800.0 / kFullPi);
    pAnno->SetEscapeAngle(tenths, 0);
    pAnno->SetOrientAngle(style == ARRAY_ECHELON ? 0.0f : tenths);
    if (pAnno->GetFormatStyle() || !pAnno->GetTwoAlign()) return;

    const double d = Distance(p1, p2);
    CStringArray rows;
    const int nRows = CalculateMultiLineRows(pAnno->GetName(), rows, style);
    const int cw = pAnno->GetCharWidthA();
    const int ch = pAnno->GetCharHeight();
    const FONTTYPE ft = pAnno->GetGeoView().GetFontType();
    const int slant = (ft == FONT_SLANT || ft == FONT_SLANT_REVERSE) ? 1 : 0;
    const int W = GetMaxWidth(rows, cw, ch, 0, pAnno->GetItalicAngle(), slant);
    const int n = GetMaxWords(rows);
    if (style == ARRAY_HORIZONTAL) {
        int s = 0;
        if (n > 1) s = static_cast<int>((d - W) / (n - 1));
        pAnno->SetSpace(s > 0 ? s : 0);
    } else if (style == ARRAY_VERTICAL) {
        int s = 0;
        if (nRows > 1) s = static_cast<int>((d - static_cast<double>(nRows) * ch) / (nRows - 1));
        pAnno->SetRowSpace(s > 0 ? s : 0);
    } else {
        const double f = FoldAngle(a);
        const int hc = GetColumnHeight(rows, cw, 0, 0);
        const double crit = cw == 0 ? kFullPi / 2 : std::atan(static_cast<double>(ch) / cw);
        int s = 0;
        if (nRows > 1) {
            if (f > crit) {
                s = RoundHalfUp((d - (nRows - 1) * ch / std::sin(f)) / (nRows - 1));
            } else {
                const CString& last = rows[nRows - 1];
                const int lastW = CharWidthOf(!last.IsEmpty() && IsLeadByte(last[0]), cw);
                s = RoundHalfUp((d - (hc - lastW) / std::cos(f)) / (nRows - 1));
            }
        }
        pAnno->SetSpace(s);
    }
}

void CalculatePosForMultiP(CGeoAnno* pAnno, CPoint& start, float angle, int first, int count) {
    if (pAnno == nullptr || pAnno->GetPositionType() != 6) return;
    const int n = pAnno->GetPoints();
    if (first < 0 || first > n || count < -1) return;
    const CString text = pAnno->GetName();
    const int chars = GetStringCount(text);
    int end = 0;
    if (count == -1) {
        if (chars < 1) return;
        pAnno->SetPoints(chars);
        end = chars;
    } else {
        // Moving the old points up by count places needs exactly that many new characters.
        if (chars != n + count) return;
        pAnno->SetPoints(chars);
        POINT* pts = pAnno->GetPointPtr();
        float* angles = pAnno->GetAnglePtr();
        for (int i = n - 1; i >= first; --i) {
            pts[i + count] = pts[i];
            angles[i + count] = angles[i];
        }
        end = count + first;
    }
    if (end > chars) end = chars;
    pAnno->SetMoveFlag(0);
    pAnno->SetFormatStyle(0);
    pAnno->SetArrayStyle(0);
    const int cw = pAnno->GetCharWidthA();
    LONGLONG x = start.x;
    if (first == n && n > 0) x += WidthOfChar(text, n - 1, cw);
    const double rad = angle * kLayoutPi / 1800.0;
    POINT* pts = pAnno->GetPointPtr();
    float* angles = pAnno->GetAnglePtr();
    for (int i = first; i < end; ++i) {
        const POINT p = {static_cast<LONG>(x), start.y};
        pts[i] = RotatePoint(p, start, rad);
        angles[i] = angle;
        x += WidthOfChar(text, i, cw);
    }
}

CPoint GetBoxHandle(int handle, CRect box) {
    const int cx = box.left + box.Width() / 2;
    const int cy = box.top + box.Height() / 2;
    switch (handle) {
    case 1: return CPoint(box.left, box.top);
    case 2: return CPoint(cx, box.top);
    case 3: return CPoint(box.right, box.top);
    case 4: return CPoint(box.right, cy);
    case 5: return CPoint(box.right, box.bottom);
    case 6: return CPoint(cx, box.bottom);
    case 7: return CPoint(box.left, box.bottom);
    case 8: return CPoint(box.left, cy);
    default: return CPoint(0, 0);
    }
}

void MoveBoxHandle(int handle, int x, int y, CRect& box) {
    switch (handle) {
    case 2: box.top = y; break;
    case 3: box.right = x; box.top = y; break;
    case 4: box.right = x; break;
    case 5: box.right = x; box.bottom = y; break;
    case 6: box.bottom = y; break;
    case 7: box.left = x; box.bottom = y; break;
    case 8: box.left = x; break;
    default: box.left = x; box.top = y; break;
    }
}

void GetPointsExtent(const POINT* pts, int n, int& maxX, int& minX, int& maxY, int& minY) {
    maxX = maxY = -1410065408;
    minX = minY = 1410065408;
    for (int i = 0; pts != nullptr && i < n; ++i) {
        if (pts[i].x > maxX) maxX = pts[i].x;
        if (pts[i].x < minX) minX = pts[i].x;
        if (pts[i].y > maxY) maxY = pts[i].y;
        if (pts[i].y < minY) minY = pts[i].y;
    }
}
