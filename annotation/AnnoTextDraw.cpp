#include "annotation/AnnoTextDraw.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/AnnoFont.h"
#include "annotation/AnnoLayout.h"
#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "vector/GeoCircle.h"
#include "vector/GeoPolygonLine.h"

#include <afx/Dc.h>
#include <ostrel/Translate.h>
#include <ostrel/Units.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

const double kAnnoPi = 3.1415926;

int RoundHalfUp(double v) { return static_cast<int>(std::trunc(v + 0.5)); }

LONG TruncClamp(double v)
{
    if (!std::isfinite(v)) return 0;
    if (v > 2147483647.0) return 2147483647;
    if (v < -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(std::trunc(v));
}

LONG Clamp64(int64_t v)
{
    if (v > 2147483647) return 2147483647;
    if (v < -2147483647 - 1) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

double ScaleOf(UINT scale) { return scale == 0 ? 1.0 : static_cast<double>(scale); }

double EscapeRadians(const GEOANNO& anno) { return anno.m_fEscapeAngle * kAnnoPi / 1800.0; }

bool IsTopRow(int align) { return align == 2 || align == 5 || align == 8; }
bool IsBottomRow(int align) { return align == 0 || align == 3 || align == 6; }

// A device length of a length in the record's unit.
LONG ToDevice(UINT scale, int unit, int64_t v) { return ::RPtoLP(scale, unit, Clamp64(v), 1.0); }
LONG FromDevice(UINT scale, int unit, int64_t v) { return ::LPtoRP(scale, unit, Clamp64(v), 1.0); }

// Selects a pen and brush and puts them back when it goes.
class CSelectPenBrush {
public:
    CSelectPenBrush(CDC* pDC, CPen* pen, CBrush* brush, bool nullBrush) : m_pDC(pDC)
    {
        if (pen) m_pOldPen = pDC->SelectObject(pen);
        if (nullBrush)
            m_pOldBrush = static_cast<CBrush*>(pDC->SelectStockObject(NULL_BRUSH));
        else if (brush)
            m_pOldBrush = pDC->SelectObject(brush);
    }
    ~CSelectPenBrush()
    {
        if (m_pOldPen) m_pDC->SelectObject(m_pOldPen);
        if (m_pOldBrush) m_pDC->SelectObject(m_pOldBrush);
    }
    CSelectPenBrush(const CSelectPenBrush&) = delete;
    CSelectPenBrush& operator=(const CSelectPenBrush&) = delete;

private:
    CDC* m_pDC;
    CPen* m_pOldPen = nullptr;
    CBrush* m_pOldBrush = nullptr;
};

}  // namespace

CPoint MapPoint(UINT scale, CPoint origin, CPoint offset, int unit, POINT p)
{
    if (unit == 0) return CPoint(p);
    if (unit != 3) ::ChangeUnit(unit, 3, p, 1.0);
    int64_t x, y;
    if (IsUsedTranslate()) {
        POINT t = {Clamp64((int64_t)p.x + offset.x), Clamp64((int64_t)p.y + offset.y)};
        Translate(t);
        x = t.x;
        y = t.y;
    } else {
        x = (int64_t)p.x + offset.x;
        y = (int64_t)p.y + offset.y;
    }
    return CPoint(TruncClamp((double)(x + origin.x) * 10.0 / ScaleOf(scale)),
                  TruncClamp(-(double)(y + origin.y) * 10.0 / ScaleOf(scale)));
}

CPoint MapPointBack(UINT scale, CPoint origin, CPoint offset, int unit, POINT p)
{
    if (unit == 0) return CPoint(p);
    double X = p.x * ScaleOf(scale) / 10.0 - origin.x;
    double Y = -(double)p.y * ScaleOf(scale) / 10.0 - origin.y;
    if (IsUsedTranslate()) Translate2(X, Y);
    POINT r = {TruncClamp(X - offset.x), TruncClamp(Y - offset.y)};
    if (unit != 3) ::ChangeUnit(3, unit, r, 1.0);
    return CPoint(r);
}

CRect MapClipRect(UINT scale, CPoint origin, CPoint offset, int unit, RECT r)
{
    const CPoint a = MapPoint(scale, origin, offset, unit, POINT{r.left, r.top});
    const CPoint b = MapPoint(scale, origin, offset, unit, POINT{r.right, r.bottom});
    CRect d(a.x, a.y, b.x, b.y);
    if (d.top > d.bottom) std::swap(d.top, d.bottom);
    return d;
}

void ApplyClipRect(CDC* pDC, RECT rect, int apply)
{
    if (pDC == nullptr) return;
    if (apply == 0) pDC->SelectClipRgn(nullptr);
    pDC->IntersectClipRect(&rect);
}

// ---- rows ----

int DrawAnnoRow(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                RECT* pClip, int highlight, int nWord8, int scaleWidths)
{
    CFont font;
    CFont* oldFont = CreateAnnoFont(pDC, scale, scale2, view, anno, font);

    const bool clipped = anno.m_pClipRect != nullptr && pDC != nullptr;
    CRect savedBox(0, 0, 0, 0);
    if (clipped) {
        const CRect mapped = MapClipRect(scale, origin, offset, anno.m_nUnit, *anno.m_pClipRect);
        pDC->GetClipBox(&savedBox);
        ApplyClipRect(pDC, mapped, 1);
    }

    int result;
    if (highlight && pDC != nullptr) {
        const int oldRop = pDC->SetROP2(R2_NOTXORPEN);
        CPen pen(PS_INSIDEFRAME, 2, ANNO_HIGHLIGHT_COLOR);
        CPen* oldPen = pDC->SelectObject(&pen);
        result = DrawRowChars(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight, nWord8, scaleWidths);
        if (oldPen) pDC->SelectObject(oldPen);
        pDC->SetROP2(oldRop);
    } else {
        result = DrawRowChars(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight, nWord8, scaleWidths);
    }
    if (oldFont) pDC->SelectObject(oldFont);

    DrawStrikeLine(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight);
    DrawUnderline(pDC, scale, scale2, origin, offset, view, anno, pClip, highlight);

    if (clipped) ApplyClipRect(pDC, savedBox, 0);
    return result;
}

int DrawRowChars(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                 RECT* /*pClip*/, int highlight, int /*nWord8*/, int /*scaleWidths*/)
{
    const CString text = anno.m_strText;
    const int len = text.GetLength();
    if (len == 0) return -1;
    const int mode = anno.m_nOutputMode;
    const bool device = mode == 0 || mode == 1;
    const DWORD flags = view.m_dwTextFlags;
    const bool sheared = (flags & (GEOVIEW_TEXT_SLANT | GEOVIEW_TEXT_SONGJIAN)) != 0;

    double a = -EscapeRadians(anno);
    int w = anno.m_nCharWidth, h = anno.m_nCharHeight;
    int rw = GetRowWidth(text, anno.m_nCharWidth, anno.m_nCharHeight, anno.m_nColSpace);
    if (device) {
        w = ToDevice(scale, anno.m_nUnit, w);
        h = ToDevice(scale, anno.m_nUnit, h);
        rw = ToDevice(scale, anno.m_nUnit, rw);
    }

    CPoint centre, start;
    int align = anno.m_nAlignType;
    if (mode == 0) {
        centre = MapPoint(scale, origin, offset, anno.m_nUnit, anno.m_ptRotateCenter);
        start = MapPoint(scale, origin, offset, anno.m_nUnit, anno.m_ptPosition);
    } else if (mode == 2 || mode == 3) {
        centre = anno.m_ptRotateCenter;
        start = anno.m_ptPosition;
        a = EscapeRadians(anno);
    } else {
        centre = start = CPoint(0, 0);
        align = 0;
        a = 0.0;
    }
    const CSize off = GetCharAlignOffset(align, rw, h, 1.0);

    if (mode == 2 && anno.m_nColSpace == 0) {
        const CPoint keep = anno.m_ptPosition;
        POINT p = anno.m_ptPosition;
        RotatePointAbout(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, &p, EscapeRadians(anno));
        anno.m_ptPosition = p;
        EmitAnnoPart(anno, view, nullptr, nullptr);
        anno.m_ptPosition = keep;
        if (!(flags & GEOVIEW_TEXT_EMPHASIS)) return 1;
    }
    const bool hitTest = mode == 3 && (anno.m_nPositionType == 0 || anno.m_nPositionType == 1);
    const int targetX = anno.m_nWorkX;

    const char* bytes = static_cast<LPCSTR>(text);
    int pos = 0, k = 0, last = -1;
    LONG curX = start.x;
    while (pos < len) {
        const int first = pos;
        const bool wide = NextCharPos(bytes, pos, len) != FALSE;
        if (pos <= first) break;
        const int nbytes = pos > len ? len : pos;
        char piece[3] = {0, 0, 0};
        const int pieceLen = nbytes - first;
        std::memcpy(piece, bytes + first, pieceLen);
        last = first;

        const int cw = wide ? w : w / 2;
        POINT p = {curX - off.cx, start.y + off.cy};
        if (hitTest && targetX - RoundHalfUp(cw / 2.0) < p.x) {
            anno.m_nWorkX = p.x;
            anno.m_nWorkY = p.y;
            return first;
        }
        POINT unturned = p;
        RotatePointAbout(centre.x, centre.y, &p, a);

        DrawCharBox(pDC, scale, scale2, origin, offset, p.x, p.y, view, anno, highlight, cw, h);
        if ((mode != 2 && sheared) || mode == 1 || highlight) {
            DrawCharOutline(pDC, scale, view, anno, piece, p.x, p.y, highlight);
        } else if (mode == 0) {
            if (pDC) pDC->TextOut(p.x, p.y, piece, pieceLen);
        } else if (mode == 2 && anno.m_nColSpace != 0) {
            EmitAnnoPart(anno, view, piece, &p);
        }
        if ((flags & GEOVIEW_TEXT_EMPHASIS) && mode != 3)
            DrawEmphasisDot(pDC, scale, unturned, view, anno, h, cw, centre.x, centre.y, highlight);

        ++k;
        const int64_t adv = (int64_t)std::trunc((double)nbytes * anno.m_nCharWidth / 2.0) + (int64_t)k * anno.m_nColSpace;
        curX = Clamp64((int64_t)start.x + (device ? ToDevice(scale, anno.m_nUnit, adv) : Clamp64(adv)));
    }
    return last;
}

// ---- boxes and decorations ----

BOOL WantCharBoxes(UINT scale2, GEOANNO& anno, const GEOVIEW& view)
{
    const int mode = anno.m_nOutputMode;
    if (mode != 0 && mode != 1 && mode != 2) return TRUE;
    const int64_t s = scale2;
    int64_t d = RoundHalfUp((double)(s * view.m_nBufferWidth) / 10.0);
    if (anno.GetShowFrame()) d += RoundHalfUp(s * (double)anno.m_fLineWidth / 10.0);
    const int e = anno.GetArrayStyle() == 1 ? anno.m_nRowSpace : anno.m_nColSpace;
    return (!anno.GetFormatStyle() && anno.m_nPositionType != 2 && d < e) ? TRUE : FALSE;
}

void DrawCharBox(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, int x, int y, const GEOVIEW& view,
                 GEOANNO& anno, int highlight, int cw, int ch)
{
    const int mode = anno.m_nOutputMode;
    if (mode == 0 && pDC == nullptr) return;
    if (!WantCharBoxes(scale2, anno, view)) return;
    const int r0 = static_cast<int>(((int64_t)view.m_nBufferWidth * scale2) / 10);

    POINT at = {x, y};
    if (mode == 0) {
        cw = FromDevice(scale, anno.m_nUnit, cw);
        ch = FromDevice(scale, anno.m_nUnit, ch);
        at = MapPointBack(scale, origin, offset, anno.m_nUnit, at);
    } else if (mode == 1) {
        cw = FromDevice(scale, anno.m_nUnit, cw);
        ch = FromDevice(scale, anno.m_nUnit, ch);
        at.x = FromDevice(scale, anno.m_nUnit, x);
        at.y = FromDevice(scale, anno.m_nUnit, -(int64_t)y);
        const int rw = GetRowWidth(anno.m_strText, anno.m_nCharWidth, anno.m_nCharHeight, anno.m_nColSpace);
        const CSize off = GetDeviceAlignOffset(anno.m_nAlignType, rw, anno.m_nCharHeight, anno.m_nCharHeight, 1.0);
        at.x += anno.m_ptPosition.x - off.cx;
        at.y += anno.m_ptPosition.y - off.cy;
        RotatePointAbout(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, &at, EscapeRadians(anno));
    }
    if (IsTopRow(anno.m_nAlignType)) ch = -ch;

    const int r = RoundHalfUp(r0 / 2.0);
    const LONG x0 = at.x - r, x1 = at.x + cw + r;
    const LONG y0 = std::min(at.y, at.y + ch) - r, y1 = std::max(at.y, at.y + ch) + r;
    POINT box[5] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};

    const int type = view.GetFontType();
    if (type == FONT_SONGJIAN || type == FONT_SONGJIAN_REVERSE)
        ShearShoulder(box, 5, GetCurrentSongJianAngle() / 10.0 * 3.1415926 / 180.0,
                      view.m_dwTextFlags & GEOVIEW_TEXT_SONGJIAN_DIR, 0);
    else if (type == FONT_SLANT || type == FONT_SLANT_REVERSE)
        ShearSlant(box, 5, at.y, -anno.m_fItalicAngle / 10.0 * 3.1415926 / 180.0,
                   view.m_dwTextFlags & GEOVIEW_TEXT_SLANT_DIR);

    GEOVIEW colour = GetDefaultGEOVIEW();
    int data;
    if (!(view.m_dwTextFlags & GEOVIEW_TEXT_TRANSPARENT)) {
        colour.m_crAnnoColor = pDC ? pDC->GetBkColor() : RGB(255, 255, 255);
        colour.m_fLineWidth = -1.0f;
        data = ANNO_DATA_BACKGROUND;
    } else if (anno.GetFillFrame()) {
        colour.m_crAnnoColor = anno.m_crBackColor;
        colour.m_fLineWidth = -1.0f;
        data = ANNO_DATA_FILLFRAME;
    } else if (anno.GetShowFrame()) {
        colour.m_crAnnoColor = anno.m_crBackColor;
        data = ANNO_DATA_FRAMELINE;
    } else {
        return;
    }
    DrawPolygonOrEmit(pDC, scale, origin, offset, colour, anno, box, 5, at.x, at.y, data, highlight);
}

void DrawPolygonOrEmit(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                       POINT* pts, int n, int cx, int cy, int objectData, int highlight)
{
    if (pts == nullptr || n < 1) return;
    RotatePoints(cx, cy, pts, pts, n, EscapeRadians(anno));
    if (anno.m_nOutputMode != 0) {
        EmitPolygon(view, anno, pts, n, objectData);
        return;
    }
    if (pDC == nullptr) return;
    for (int i = 0; i < n; ++i) pts[i] = MapPoint(scale, origin, offset, anno.m_nUnit, pts[i]);
    if (highlight) {
        CPen pen(PS_SOLID, 1, ANNO_HIGHLIGHT_COLOR);
        CSelectPenBrush sel(pDC, &pen, nullptr, false);
        const int oldRop = pDC->SetROP2(R2_NOTXORPEN);
        pDC->Polygon(pts, n);
        pDC->SetROP2(oldRop);
        return;
    }
    const bool frameLine = objectData == (int)ANNO_DATA_FRAMELINE;
    CPen pen(PS_SOLID, frameLine ? TruncClamp(anno.m_fLineWidth) : 1, view.m_crAnnoColor);
    CBrush brush(view.m_crAnnoColor);
    CSelectPenBrush sel(pDC, &pen, &brush, frameLine);
    pDC->Polygon(pts, n);
}

void EmitPolygon(const GEOVIEW& view, GEOANNO& anno, POINT* pts, int n, int objectData)
{
    if (anno.m_pOutputList == nullptr || pts == nullptr || n < 1) return;
    if (n > 1 && pts[n - 1].x == pts[0].x && pts[n - 1].y == pts[0].y) --n;
    GEOVIEW style = GetDefaultGEOVIEW();
    style.m_crLineColor = view.m_crAnnoColor;
    style.m_crFillColor = view.m_crAnnoColor;
    style.m_nLineShape = 0x2200;
    style.m_nFillShape = 0;
    style.m_bTransparent = 1;
    if (objectData == (int)ANNO_DATA_FRAMELINE)
        style.m_fLineWidth = anno.m_fLineWidth;
    else if (objectData == (int)ANNO_DATA_FILLFRAME || objectData == (int)ANNO_DATA_BACKGROUND)
        style.m_fLineWidth = -1.0f;
    else
        style.m_fLineWidth = 1.0f;
    CGeoPolygonLine* poly = new CGeoPolygonLine(n, pts, FALSE);
    poly->SetUnit(anno.m_nUnit);
    poly->SetGeoView(style);
    poly->SetFace(objectData == (int)ANNO_DATA_FRAMELINE ? 0 : 1);
    poly->SetObjectData(static_cast<DWORD>(objectData));
    anno.m_pOutputList->AddTail(poly);
}

void EmitAnnoPart(GEOANNO& anno, const GEOVIEW& view, const char* piece, POINT* position)
{
    if (anno.m_pOutputList == nullptr) return;
    GEOANNO part = anno;
    part.m_pOutputList = nullptr;
    part.m_pClipRect = nullptr;
    part.m_pPartOutput = nullptr;
    part.m_nOutputMode = 0;
    if (piece != nullptr && position != nullptr) {
        part.m_strText = piece;
        part.m_ptPosition = *position;
        part.m_ptRotateCenter = *position;
        part.m_nAlignType = IsBottomRow(anno.m_nAlignType) ? 0 : 2;
    }
    part.m_nPositionType = 0;
    part.SetFormatStyle(0);
    if (anno.GetArrayStyle() == 2) part.SetArrayStyle(0);
    CGeoAnno* obj = new CGeoAnno(part);
    obj->SetGeoView(view);
    obj->CalculateAnnoBounds();
    anno.m_pOutputList->AddTail(obj);
}

void DrawEmphasisDot(CDC* pDC, UINT scale, POINT& p, const GEOVIEW& view, GEOANNO& anno, int ch, int cw, int cx,
                     int cy, int highlight)
{
    const int mode = anno.m_nOutputMode;
    if ((view.m_dwTextFlags & GEOVIEW_TEXT_SLANT) && pDC != nullptr) {
        TEXTMETRIC tm;
        std::memset(&tm, 0, sizeof(tm));
        if (pDC->GetTextMetrics(&tm)) cw += tm.tmOverhang;
    }
    LONG py = p.y;
    if (mode == 2 && !IsBottomRow(anno.m_nAlignType)) py -= ch;
    LONG x = p.x + RoundHalfUp(cw / 2.0);
    LONG y = py;
    LONG r = ch / 25;

    if ((mode != 1 && mode != 2) || anno.m_pOutputList == nullptr) {
        if (pDC == nullptr) return;
        if (IsTopRow(anno.m_nAlignType)) y += ch;
        y += 2 * r;
        POINT c = {x, y};
        RotatePointAbout(cx, cy, &c, -EscapeRadians(anno));
        if (highlight) {
            CPen pen(PS_SOLID, 1, ANNO_HIGHLIGHT_COLOR);
            CSelectPenBrush sel(pDC, &pen, nullptr, false);
            pDC->Ellipse(c.x - r, c.y - r, c.x + r, c.y + r);
        } else {
            CPen pen(PS_SOLID, 1, view.m_crAnnoColor);
            CBrush brush(view.m_crAnnoColor);
            CSelectPenBrush sel(pDC, &pen, &brush, false);
            pDC->Ellipse(c.x - r, c.y - r, c.x + r, c.y + r);
        }
        return;
    }
    // Modes 1 and 2 place the dot as a circle object of the record's unit.
    if (mode == 1) {
        x = FromDevice(scale, anno.m_nUnit, x) + anno.m_ptPosition.x;
        y = anno.m_ptPosition.y + FromDevice(scale, anno.m_nUnit, y) - 2 * (anno.m_nCharHeight / 25);
        r = FromDevice(scale, anno.m_nUnit, r);
        const int rw = GetRowWidth(anno.m_strText, anno.m_nCharWidth, anno.m_nCharHeight, anno.m_nColSpace);
        const CSize off = GetDeviceAlignOffset(anno.m_nAlignType, rw, anno.m_nCharHeight, anno.m_nCharHeight, 1.0);
        x -= off.cx;
        y -= off.cy;
    } else {
        y -= 2 * r;
    }
    POINT c = {x, y};
    RotatePointAbout(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, &c, EscapeRadians(anno));
    GEOVIEW style = GetDefaultGEOVIEW();
    style.m_bTransparent = 1;
    style.m_crLineColor = view.m_crAnnoColor;
    style.m_crFillColor = view.m_crAnnoColor;
    style.m_nFillShape = 0;
    style.m_nLineShape = 3;
    CGeoCircle* dot = new CGeoCircle(CPoint(c), static_cast<int>(r));
    dot->SetUnit(anno.m_nUnit);
    dot->SetFace(1);
    dot->SetGeoView(style);
    dot->SetObjectData(ANNO_DATA_DOT);
    anno.m_pOutputList->AddTail(dot);
}

void AdjustLineForSlant(int& length, GEOANNO& anno, const GEOVIEW& view)
{
    if (!(view.m_dwTextFlags & GEOVIEW_TEXT_SLANT)) return;
    const int t = RoundHalfUp(std::tan(anno.m_fItalicAngle * kAnnoPi / 1800.0) * anno.m_nCharHeight / 2.0);
    length += t;
    const bool dir = (view.m_dwTextFlags & GEOVIEW_TEXT_SLANT_DIR) != 0;
    const int column = GetAlignColumnCode(anno.m_nAlignType);
    if (column == 0 && !dir)
        anno.m_ptPosition.x -= t;
    else if (column == 1 && dir)
        anno.m_ptPosition.x += t;
    else if (column == 2 && dir)
        anno.m_ptPosition.x += RoundHalfUp(t / 2.0);
}

namespace {

void DrawRowBar(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno, int highlight,
                bool strike)
{
    const CPoint keep = anno.m_ptPosition;
    int L = GetRowWidth(anno.m_strText, anno.m_nCharWidth, anno.m_nCharHeight, anno.m_nColSpace);
    const int H = anno.m_nCharHeight;
    AdjustLineForSlant(L, anno, view);
    LONG bx = anno.m_ptPosition.x, by = anno.m_ptPosition.y;
    if (IsTopRow(anno.m_nAlignType)) by -= H;
    const CSize off = GetCharAlignOffset(anno.m_nAlignType, L, H, 1.0);
    bx -= off.cx;
    by -= off.cy;
    const int barHeight = anno.m_nCharHeight / 25;
    LONG lo = by;
    if (strike) lo = by + TruncClamp(anno.m_nCharHeight / 2.5 - (anno.m_nCharHeight / 50));
    const LONG hi = lo + barHeight;
    POINT bar[5] = {{bx, lo}, {bx + L, lo}, {bx + L, hi}, {bx, hi}, {bx, lo}};
    DrawPolygonOrEmit(pDC, scale, origin, offset, view, anno, bar, 5, anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y,
                      strike ? ANNO_DATA_STRIKE : ANNO_DATA_UNDERLINE, highlight);
    anno.m_ptPosition = keep;
}

}  // namespace

void DrawUnderline(CDC* pDC, UINT scale, UINT /*scale2*/, CPoint origin, CPoint offset, const GEOVIEW& view,
                   GEOANNO& anno, RECT* /*pClip*/, int highlight)
{
    if (!(view.m_dwTextFlags & GEOVIEW_TEXT_UNDERLINE) || anno.m_strText.IsEmpty()) return;
    DrawRowBar(pDC, scale, origin, offset, view, anno, highlight, false);
}

void DrawStrikeLine(CDC* pDC, UINT scale, UINT /*scale2*/, CPoint origin, CPoint offset, const GEOVIEW& view,
                    GEOANNO& anno, RECT* /*pClip*/, int highlight)
{
    if (!(view.m_dwTextFlags & GEOVIEW_TEXT_STRIKE) || anno.m_strText.IsEmpty()) return;
    DrawRowBar(pDC, scale, origin, offset, view, anno, highlight, true);
}
