#include "annotation/AnnoBlockDraw.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/AnnoLayout.h"
#include "annotation/AnnoTextDraw.h"
#include "core/GeoView.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRect.h"

#include <afx/Dc.h>
#include <ostrel/Units.h>

#include <cmath>
#include <cstdint>

namespace {

const double kAnnoPi = 3.1415926;

int RoundHalfUp(double v) { return static_cast<int>(std::trunc(v + 0.5)); }

int TruncInt(double v)
{
    if (!std::isfinite(v)) return 0;
    if (v > 2147483647.0) return 2147483647;
    if (v < -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(std::trunc(v));
}

double TanTenths(float tenths) { return std::tan(tenths * kAnnoPi / 1800.0); }

bool IsSlanted(const GEOVIEW& view) { return (view.m_dwTextFlags & GEOVIEW_TEXT_SLANT) != 0; }

}  // namespace

void DrawAnnoBackground(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                        GEOANNO& anno, RECT* pClip, int highlight, tagGEOFORMAT* pFormat)
{
    if (WantCharBoxes(scale2, anno, view)) return;
    if (anno.GetFillFrame() || anno.GetShowFrame()) {
        DrawAnnoBox(pDC, scale, scale2, origin, offset, view, anno, anno.m_crBackColor, 1, pClip, highlight, pFormat);
        return;
    }
    if (view.m_dwTextFlags & GEOVIEW_TEXT_TRANSPARENT) return;
    const COLORREF bk = pDC ? pDC->GetBkColor() : RGB(255, 255, 255);
    DrawAnnoBox(pDC, scale, scale2, origin, offset, view, anno, bk, 0, pClip, highlight, pFormat);
}

void DrawAnnoBox(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                 COLORREF colour, int frame, RECT* /*pClip*/, int highlight, tagGEOFORMAT* pFormat)
{
    const int mode = anno.m_nOutputMode;
    if (mode == 4 || (mode == 5 && frame == 0)) return;
    // Formatted text measures its box with its spacing; without the spacing it has no box.
    if (anno.GetFormatStyle() && anno.m_nPositionType != 2 && pFormat == nullptr) return;
    CPoint c[4];
    GetFourSquarePoint(anno, c, 0, pFormat);

    const int64_t s = scale2;
    int m = RoundHalfUp((double)(s * view.m_nBufferWidth) / 10.0);
    if (frame == 1) m += TruncInt(s * (double)anno.m_fLineWidth / 20.0);
    POINT pts[5] = {{c[0].x - m, c[0].y - m}, {c[1].x + m, c[1].y - m}, {c[2].x + m, c[2].y + m},
                    {c[3].x - m, c[3].y + m}, {0, 0}};
    if (IsSlanted(view)) {
        const int w = TruncInt(TanTenths(anno.m_fItalicAngle) * anno.m_nCharHeight);
        if (view.m_dwTextFlags & GEOVIEW_TEXT_SLANT_DIR) {
            pts[1].x += w;
            pts[2].x += w;
        } else {
            pts[0].x -= w;
            pts[3].x -= w;
        }
    }
    if (view.m_dwTextFlags & GEOVIEW_TEXT_SONGJIAN) {
        const int w = TruncInt(TanTenths(GetCurrentSongJianAngle()) * anno.m_nCharWidth);
        pts[2].y += w;
        pts[3].y += w;
    }
    pts[4] = pts[0];
    if (anno.m_nPositionType != 2)
        RotatePoints(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, pts, pts, 5,
                     anno.m_fEscapeAngle * kAnnoPi / 1800.0);

    if ((mode == 1 || mode == 2) && anno.m_pOutputList != nullptr) {
        GEOVIEW style = GetDefaultGEOVIEW();
        style.m_crLineColor = colour;
        style.m_crFillColor = colour;
        style.m_nLineShape = 3;
        style.m_nFillShape = 0;
        style.m_bTransparent = 1;
        DWORD data;
        CGeoPolygonLine* poly = new CGeoPolygonLine(4, pts, FALSE);
        poly->SetUnit(anno.m_nUnit);
        if (frame == 0 || anno.GetFillFrame()) {
            data = frame == 0 ? ANNO_DATA_BACKGROUND : ANNO_DATA_FILLFRAME;
            style.m_fLineWidth = -1.0f;
            poly->SetFace(1);
        } else {
            data = ANNO_DATA_FRAMELINE;
            style.m_fLineWidth = anno.m_fLineWidth;
        }
        poly->SetGeoView(style);
        poly->SetObjectData(data);
        anno.m_pOutputList->AddTail(poly);
    }

    if (pDC == nullptr) return;
    for (POINT& p : pts) p = MapPoint(scale, origin, offset, anno.m_nUnit, p);
    if (highlight) {
        const int oldRop = pDC->SetROP2(R2_NOTXORPEN);
        CPen pen(PS_SOLID, 1, ANNO_HIGHLIGHT_COLOR);
        CPen* oldPen = pDC->SelectObject(&pen);
        pDC->Polyline(pts, 5);
        if (oldPen) pDC->SelectObject(oldPen);
        pDC->SetROP2(oldRop);
        return;
    }
    int width = 1;
    int oldRop = -1;
    if (frame == 1) {
        width = TruncInt(s * (double)anno.m_fLineWidth / (scale == 0 ? 1.0 : (double)scale));
        pDC->SetBkMode(TRANSPARENT);
    } else {
        oldRop = pDC->SetROP2(R2_COPYPEN);
    }
    CPen pen(PS_SOLID, width, colour);
    CBrush brush(colour);
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* oldBrush;
    if (frame == 0 || anno.GetFillFrame())
        oldBrush = pDC->SelectObject(&brush);
    else
        oldBrush = static_cast<CBrush*>(pDC->SelectStockObject(NULL_BRUSH));
    pDC->Polygon(pts, 5);
    if (oldPen) pDC->SelectObject(oldPen);
    if (oldBrush) pDC->SelectObject(oldBrush);
    if (oldRop != -1) pDC->SetROP2(oldRop);
}

void PlaceRowsBlock(GEOANNO& anno, int W, int H, int charHeight)
{
    (void)W;
    switch (anno.m_nAlignType) {
    case 0:
    case 6:
    case 3:
        anno.m_ptPosition.y += H - charHeight;
        break;
    case 1:
    case 7:
        anno.m_ptPosition.y += H / 2 - charHeight;
        anno.m_nAlignType = anno.m_nAlignType == 1 ? 0 : 6;
        break;
    case 4:
        anno.m_ptPosition.y += H / 2 - charHeight;
        anno.m_nAlignType = 3;
        break;
    default:
        break;
    }
}

int JustifyRowSpace(const CString& row, int W, int charWidth, int& space)
{
    const char* bytes = static_cast<LPCSTR>(row);
    const int len = row.GetLength();
    int d = 0, n = 0, pos = 0;
    while (pos < len) {
        const bool wide = NextCharPos(bytes, pos, len) != FALSE;
        d += wide ? charWidth : RoundHalfUp(charWidth / 2.0);
        ++n;
    }
    if (n > 1) space = (W - d) / (n - 1);
    return space;
}

void DrawAnnoRows(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                  RECT* pClip, int highlight, int nWord8, int scaleWidths)
{
    int g = anno.m_nColSpace;
    const int style = anno.GetArrayStyle();
    const bool echelon = style == 2;
    double ra = 0.0;
    tagECHELONSTEPS steps;
    if (echelon) {
        const double esc = anno.m_fEscapeAngle * kAnnoPi / 1800.0;
        ra = esc - FoldAngle(esc);
        GetEchelonSteps(anno, steps, 0);
        anno.m_fEscapeAngle = 0.0f;
        anno.m_fOrientAngle = 0.0f;
    }
    CStringArray rows;
    const int n = CalculateMultiLineRows(anno.m_strText, rows, style);
    if (n < 1) return;
    const int ch = anno.m_nCharHeight;
    const int W = GetMaxWidth(rows, anno.m_nCharWidth, ch, g, anno.m_fItalicAngle, IsSlanted(view) ? 1 : 0);
    const int H = n * ch + TruncInt(anno.m_nRowSpace * (double)(n - 1));
    if (!echelon) PlaceRowsBlock(anno, W, H, ch);

    if (n == 1) {
        anno.m_strText = rows[0];
        anno.m_nIndexResult =
            DrawAnnoRow(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight, nWord8, scaleWidths);
        return;
    }
    int x0 = anno.m_ptPosition.x, y = anno.m_ptPosition.y;
    const int a0 = anno.m_nAlignType;
    const int mode = anno.m_nOutputMode;
    const bool two = anno.GetTwoAlign() != FALSE;
    int bytes = 0;
    for (int i = 0; i < n; ++i) {
        const CString row = rows[i];
        bytes += row.GetLength();
        if (two) JustifyRowSpace(row, W, anno.m_nCharWidth, g);
        anno.m_strText = row;
        anno.m_nColSpace = g;
        if (two && GetStringCount(row) == 1) {
            anno.m_nAlignType = 3;
            anno.m_ptPosition.x = x0 + RoundHalfUp(W / 2.0);
        } else {
            anno.m_nAlignType = a0;
        }
        if (mode >= 0 && mode <= 2) {
            DrawAnnoRow(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight, nWord8, scaleWidths);
        } else if (mode == 5) {
            POINT p = anno.m_ptPosition;
            RotatePointAbout(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, &p,
                             anno.m_fEscapeAngle * kAnnoPi / 1800.0);
            anno.m_ptPosition = p;
            EmitAnnoPart(anno, view, nullptr, nullptr);
        }
        if (echelon) {
            const bool wide = !row.IsEmpty() && static_cast<unsigned char>(row[0]) > 0x7F;
            x0 += TruncInt(wide ? steps.x2 : steps.x1);
            y += TruncInt(wide ? steps.y2 : steps.y1);
            POINT p = {x0, y};
            RotatePointAbout(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, &p, ra);
            anno.m_ptPosition = p;
        } else {
            y -= TruncInt((double)ch + anno.m_nRowSpace);
            anno.m_ptPosition = CPoint(x0, y);
        }
        if (mode == 3 && y < anno.m_nWorkY) {
            anno.m_nIndexResult = bytes;
            anno.m_nWorkX = x0;
            anno.m_nWorkY = y + ch;
            return;
        }
    }
}

int FitRowInBox(const CString& text, CString& row, int boxWidth, int charWidth, int charHeight, int& pos, int& space,
                int justify, float italicAngle, int slant)
{
    const int len = text.GetLength();
    if (pos < 0 || pos >= len) return -1;
    if (slant) boxWidth -= TruncInt(TanTenths(italicAngle) * charHeight);
    const char* bytes = static_cast<LPCSTR>(text);
    int start = pos, end = -1, sum = 0, count = 0;
    while (pos < len) {
        if (bytes[pos] == '\r' && pos + 1 < len && bytes[pos + 1] == '\n') {
            if (pos > start) {
                end = pos;
                pos += 2;
                break;
            }
            pos += 2;
            start = pos;
            continue;
        }
        int next = pos;
        const bool wide = NextCharPos(bytes, next, len) != FALSE;
        if (next > len) next = len;
        const int w = wide ? charWidth : RoundHalfUp(charWidth / 2.0);
        if ((int64_t)sum + w > boxWidth) break;
        sum += w + space;
        ++count;
        pos = next;
    }
    if (end < 0) end = pos;
    if (justify && count >= 2) space += (boxWidth + space - sum) / (count - 1);
    row = CString(bytes + start, end - start);
    return count;
}

int CountBoxRows(GEOANNO& anno, int boxWidth, int boxHeight, int charWidth, int charHeight, double rowSpace,
                 int colSpace, float italicAngle, int slant)
{
    const CString text = anno.m_strText;
    const int len = text.GetLength();
    int pos = 0, count = 0;
    CString row;
    while (pos < len) {
        int space = colSpace;
        const int k = FitRowInBox(text, row, boxWidth, charWidth, charHeight, pos, space, 0, italicAngle, slant);
        if (k < 0) break;
        ++count;
        const double height = (double)count * charHeight + std::trunc((count - 1) * rowSpace);
        if (k == 0 || height > boxHeight) break;
    }
    return count;
}

void PlaceBlockInBox(GEOANNO& anno, const GEOVIEW& view, int rows)
{
    CRect B = anno.m_rcBounds;
    B.NormalizeRect();
    const int ch = anno.m_nCharHeight;
    const int H = rows * ch + (rows - 1) * anno.m_nRowSpace;
    const int c = H - ch;
    const int bw = B.Width(), bh = B.Height();
    int dx = 0, dy = 0, align = anno.m_nAlignType;
    switch (anno.m_nAlignType) {
    case 0: dy = c; break;
    case 1: dy = H / 2 + bh / 2 - ch / 2; break;
    case 2: dy = bh; break;
    case 3: dx = bw / 2; dy = c; break;
    case 4: dx = bw / 2; dy = H / 2 + bh / 2 - ch / 2; align = 3; break;
    case 5: dx = bw / 2; dy = bh; break;
    case 6: dx = bw; dy = c; break;
    case 7: dx = bw; dy = bh / 2 + H / 2 - ch / 2; align = 6; break;
    case 8: dx = bw; dy = bh; break;
    default: break;
    }
    anno.m_ptPosition.x += dx;
    anno.m_ptPosition.y += dy;
    anno.m_nAlignType = align;
    if (IsSlanted(view)) {
        const int t = TruncInt(TanTenths(anno.m_fItalicAngle) * ch);
        const int column = GetAlignColumnCode(anno.m_nAlignType);
        if (view.m_dwTextFlags & GEOVIEW_TEXT_SLANT_DIR) {
            if (column == 2) anno.m_ptPosition.x += t / (-2);
            else if (column == 1) anno.m_ptPosition.x -= t;
        } else {
            if (column == 0) anno.m_ptPosition.x += t;
            else if (column == 2) anno.m_ptPosition.x += t / 2;
        }
    }
}

void ReflowTextInBox(GEOANNO& anno, CRect& box)
{
    CRect b = box;
    b.NormalizeRect();
    anno.m_ptPosition = CPoint(b.left, b.top);
    anno.m_nAlignType = 0;
    const CString text = anno.m_strText;
    CString out, row;
    int pos = 0, rows = 0;
    while (pos < text.GetLength()) {
        int space = anno.m_nColSpace;
        const int before = pos;
        const int k = FitRowInBox(text, row, b.Width(), anno.m_nCharWidth, anno.m_nCharHeight, pos, space,
                                  anno.GetTwoAlign(), anno.m_fItalicAngle, 0);
        if (k < 0) break;
        if (k == 0 && row.IsEmpty() && pos == before) return;  // nothing fits: the text stays as it is
        if (rows++ > 0) out += "\r\n";
        out += row;
        if (pos == before) break;
    }
    anno.m_strText = out;
}

void DrawBoxOutline(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& /*view*/,
                    GEOANNO& anno, tagGEORECT* /*pMargins*/, RECT* /*pClip*/, int highlight, int nWord8,
                    int scaleWidths)
{
    if (anno.m_nOutputMode != 0 || anno.m_nPositionType != 2 || pDC == nullptr) return;
    GEOVIEW style = GetDefaultGEOVIEW();
    style.m_crLineColor = ANNO_HIGHLIGHT_COLOR;
    style.m_crFillColor = ANNO_HIGHLIGHT_COLOR;
    style.m_nLineShape = 3;
    style.m_fLineWidth = 1.0f;
    style.m_nFillShape = 0;
    style.m_bTransparent = 0;
    CGeoRect outline(anno.m_rcBounds);
    outline.SetUnit(anno.m_nUnit);
    outline.SetGeoView(style);
    outline.Draw(pDC, scale, scale2, origin, offset, &style, 0, highlight, nWord8, scaleWidths, nullptr, 1);
}

void DrawBoxedAnno(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                   GEOANNO& anno, tagGEORECT* pMargins, RECT* pClip, int highlight, int nWord8, int scaleWidths)
{
    if (pMargins == nullptr) return;
    const CRect savedBounds = anno.m_rcBounds;
    const CPoint savedPos = anno.m_ptPosition;
    const CString savedText = anno.m_strText;
    RECT* const savedClip = anno.m_pClipRect;
    CRect inner = savedBounds;
    inner.NormalizeRect();

    if (highlight && !anno.GetFillFrame() && !anno.GetShowFrame())
        DrawBoxOutline(pDC, scale, scale2, origin, offset, view, anno, pMargins, pClip, highlight, nWord8, scaleWidths);

    const int tDev = TruncInt(view.m_fLineWidth * (double)scale2 / (scale == 0 ? 1.0 : (double)scale));
    const int t = ::LPtoRP(scale, anno.m_nUnit, (LONG)tDev, 1.0);
    inner.left += t + pMargins->left;
    inner.right -= t + pMargins->right;
    inner.top += t + pMargins->bottom;
    inner.bottom -= t + pMargins->top;
    anno.m_rcBounds = inner;
    anno.m_ptPosition = CPoint(inner.left, inner.top);

    const int ch = anno.m_nCharHeight, cw = anno.m_nCharWidth;
    const int innerW = std::abs(inner.Width()), innerH = std::abs(inner.Height());
    const int slant = IsSlanted(view) ? 1 : 0;
    const int n = CountBoxRows(anno, innerW, innerH, cw, ch, anno.m_nRowSpace, anno.m_nColSpace,
                               anno.m_fItalicAngle, slant);
    const int alignBefore = anno.m_nAlignType;
    PlaceBlockInBox(anno, view, n);
    RECT clip = inner;
    if (view.m_dwTextFlags & GEOVIEW_TEXT_EMPHASIS) clip.top -= 3 * (ch / 25);
    anno.m_pClipRect = &clip;

    if (anno.m_nOutputMode == 4) {
        ReflowTextInBox(anno, inner);
        // The record keeps its re-flowed text, position and bounds; only the clip rectangle, which
        // pointed at this function's own box, is given back.
        anno.m_pClipRect = savedClip;
        return;
    }

    const int colSpace0 = anno.m_nColSpace;
    const int x0 = anno.m_ptPosition.x;
    int y = anno.m_ptPosition.y;
    int pos = 0, bytes = 0;
    CString row;
    for (int i = 0; i < n; ++i) {
        anno.m_nColSpace = colSpace0;
        const int k = FitRowInBox(savedText, row, innerW, cw, ch, pos, anno.m_nColSpace, anno.GetTwoAlign(),
                                  anno.m_fItalicAngle, slant);
        if (k < 0) row.Empty();
        anno.m_strText = row;
        anno.m_ptPosition = CPoint(x0, y);
        anno.m_ptRotateCenter = CPoint(x0, y);
        bytes += row.GetLength();
        if (k == 1 && anno.GetTwoAlign()) {
            anno.m_nAlignType = 3;
            anno.m_ptPosition.x = inner.left + inner.Width() / 2;
        } else {
            anno.m_nAlignType = alignBefore;
        }
        if (anno.m_nOutputMode != 3 && !row.IsEmpty()) {
            anno.m_fEscapeAngle = 0.0f;
            anno.m_fOrientAngle = 0.0f;
            DrawAnnoRow(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight, nWord8, scaleWidths);
        }
        y -= TruncInt((double)ch + anno.m_nRowSpace);
        if (anno.m_nOutputMode == 3 && y < anno.m_nWorkY) {
            anno.m_nIndexResult = bytes;
            break;
        }
    }
    anno.m_ptPosition = savedPos;
    anno.m_strText = savedText;
    anno.m_rcBounds = savedBounds;
    anno.m_pClipRect = savedClip;
}
