#include "annotation/AutoLabelPoint.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/AnnoLayout.h"
#include "annotation/DrawGeoAnno.h"
#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygonLine.h"

#include <ostrel/CenPos.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

const double kPi = 3.1415926;

int ClampToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

int ClampToInt(long long v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

// trunc(v + 0.5), clamped to the int range.
int Round(double v) { return ClampToInt(std::trunc(v + 0.5)); }

// A length at label scale brought to the label scale s: v * s / divisor, rounded.
int Scaled(int v, int s, double divisor) { return Round(static_cast<double>(v) * s / divisor); }

int HalfRounded(int size) { return Round(size / 2.0); }

// A point inside the ring of n points for a label: the outside library's inner position, asked for a
// stretch at least 1 unit wide. Its result is not looked at by the labeller; when it finds nothing the
// centre of the ring's bounds stands in, so the label still has a place.
POINT RingInnerPoint(const POINT* pts, int n) {
    LONG minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
    for (int i = 1; i < n; ++i) {
        minX = std::min(minX, pts[i].x);
        maxX = std::max(maxX, pts[i].x);
        minY = std::min(minY, pts[i].y);
        maxY = std::max(maxY, pts[i].y);
    }
    POINT inner;
    inner.x = ClampToInt(std::trunc((static_cast<double>(minX) + maxX) / 2.0));
    inner.y = ClampToInt(std::trunc((static_cast<double>(minY) + maxY) / 2.0));
    const int sizes[1] = {n};
    FindCenPos(pts, sizes, 1, inner, 1.0);
    return inner;
}

// The box of one candidate label and the search state.
struct Placement {
    int w = 0;
    int h = 0;
    int gridX = 0;  // offset of grid boxes (fields 15, 16)
    int gridY = 0;
    int margin = 0;
    CGeoAnnoGrid* grid = nullptr;

    tagANNORECT Box(const CPoint& corner, int id) const {
        return tagANNORECT(id, ClampToInt(static_cast<long long>(corner.x) + gridX),
                           ClampToInt(static_cast<long long>(corner.y) + gridY), w, h, 0.0f);
    }
    bool IsFree(const CPoint& corner) const { return grid == nullptr || !grid->Intersects(Box(corner, 0), margin); }
};

CPoint Corner(int position, const CPoint& p, int w, int h, long long dx, long long dy) {
    const CPoint c = GetPointLabelCorner(position, p.x, p.y, w, h);
    return CPoint(ClampToInt(c.x + dx), ClampToInt(c.y + dy));
}

// Whether the box at corner lies wholly inside the (normalised) area; an empty area holds everything.
bool InsideArea(const CRect& area, const CPoint& corner, int w, int h) {
    const long long l = std::min(area.left, area.right), r = std::max(area.left, area.right);
    const long long b = std::min(area.top, area.bottom), t = std::max(area.top, area.bottom);
    if (l == r || b == t) return true;
    const long long x0 = std::min<long long>(corner.x, static_cast<long long>(corner.x) + w);
    const long long x1 = std::max<long long>(corner.x, static_cast<long long>(corner.x) + w);
    const long long y0 = std::min<long long>(corner.y, static_cast<long long>(corner.y) + h);
    const long long y1 = std::max<long long>(corner.y, static_cast<long long>(corner.y) + h);
    return x0 >= l && x1 <= r && y0 >= b && y1 <= t;
}

}  // namespace

CPoint GetPointLabelCorner(int position, int x, int y, int w, int h) {
    const long long hw = HalfRounded(w), hh = HalfRounded(h);
    long long cx = x, cy = y;
    switch (position) {
    case 0: cy = y - hh; break;
    case 1: break;
    case 2: cx = x - hw; break;
    case 3: cx = static_cast<long long>(x) - w; break;
    case 4: cx = static_cast<long long>(x) - w; cy = y - hh; break;
    case 5: cx = static_cast<long long>(x) - w; cy = static_cast<long long>(y) - h; break;
    case 6: cx = x - hw; cy = static_cast<long long>(y) - h; break;
    case 7: cy = static_cast<long long>(y) - h; break;
    case 8: cx = x - hw; cy = y - hh; break;
    default: break;
    }
    return CPoint(ClampToInt(cx), ClampToInt(cy));
}

LABELRESULT AutoLabelGeoPoint(CDC* dc, int scale, CPoint origin, CPoint offset, const GEOVIEW& style,
                              GEOANNO& text, tagPOINTPARA& para, tagRECT& area, tagGEOFORMAT& format,
                              CGeoAnnoGrid* grid) {
    if (text.m_strText.IsEmpty()) return LABEL_NOT_PLACED;
    // Checked before anything is placed, so that a refused call leaves the grid as it was.
    if (text.m_pOutputList == nullptr && dc == nullptr) return LABEL_NOT_PLACED;

    GEOANNO anno = MakeGeoAnno(text);
    GEOVIEW view(style);
    tagGEOFORMAT fmt = format;
    tagPOINTPARA p = para;

    const int s = p.m_nScale;
    p.m_nHorOffset = Scaled(p.m_nHorOffset, s, 10.0);
    p.m_nHorOffsetLimit = Scaled(p.m_nHorOffsetLimit, s, 10.0);
    p.m_nVerOffset = Scaled(p.m_nVerOffset, s, 10.0);
    p.m_nVerOffsetLimit = Scaled(p.m_nVerOffsetLimit, s, 10.0);
    p.m_nCollisionMargin = Scaled(p.m_nCollisionMargin, s, 10.0);
    p.m_nSearchStep = Scaled(p.m_nSearchStep, s, 10.0);
    p.m_nVerSymbolSize = Scaled(p.m_nVerSymbolSize, s, 100.0);
    p.m_nHorSymbolSize = Scaled(p.m_nHorSymbolSize, s, 100.0);
    fmt.hor = Scaled(fmt.hor, s, 10.0);
    fmt.ver = Scaled(fmt.ver, s, 10.0);
    fmt.fen_hor = Scaled(fmt.fen_hor, s, 10.0);
    fmt.fen_ver = Scaled(fmt.fen_ver, s, 10.0);
    fmt.fen_shu_width = static_cast<float>(static_cast<double>(fmt.fen_shu_width) * s / 10.0);
    anno.m_nCharHeight = Scaled(anno.m_nCharHeight, s, 10.0);
    anno.m_nCharWidth = Scaled(anno.m_nCharWidth, s, 10.0);
    anno.m_nColSpace = Scaled(anno.m_nColSpace, s, 10.0);
    anno.m_nRowSpace = Scaled(anno.m_nRowSpace, s, 10.0);

    if (p.m_nKind != 0 && p.m_nKind != 1 && p.m_nFormatText) anno.SetFormatStyle(1);

    if (p.m_nKind == 1 || p.m_nKind == 3) {
        anno.m_nOutputMode = 2;
    } else {
        if (p.m_nFitScale && s > 0) {
            const double e = static_cast<double>(scale) / s;
            ChangeAnnoSize(anno, view, fmt, e);
            p.m_nHorOffset = ClampToInt(std::trunc(p.m_nHorOffset * e));
            p.m_nHorOffsetLimit = ClampToInt(std::trunc(p.m_nHorOffsetLimit * e));
        }
        anno.m_nOutputMode = 0;
    }

    POINT pt = {p.m_nX, p.m_nY};
    CRect rcArea(area);
    if (p.m_nUnit != 3) {
        ChangeUnit(p.m_nUnit, 3, pt);
        ChangeUnit(p.m_nUnit, 3, static_cast<RECT&>(rcArea));
    }
    anno.m_nUnit = 3;
    const CPoint point(pt);

    // ---- the box ----
    const int halo = Round(static_cast<double>(view.m_nBufferWidth) * s / 10.0);
    CPoint corners[4];
    GetFourSquarePoint(anno, corners, 0, &fmt);
    Placement place;
    place.w = ClampToInt(static_cast<long long>(corners[1].x) - corners[0].x);
    place.h = ClampToInt(static_cast<long long>(corners[2].y) - corners[1].y);
    if (view.m_dwTextFlags & GEOVIEW_TEXT_SLANT) {
        const double slant = std::tan(anno.m_fItalicAngle * kPi / 1800.0) * HalfRounded(anno.m_nCharWidth);
        place.w = ClampToInt(static_cast<long long>(place.w) + Round(slant));
    }
    if (view.m_dwTextFlags & GEOVIEW_TEXT_SONGJIAN) {
        const double rise = std::tan(p.m_fSongJianAngle * kPi / 1800.0) * anno.m_nCharHeight;
        place.h = ClampToInt(static_cast<long long>(place.h) + Round(rise));
    }
    place.gridX = p.m_nOffsetX;
    place.gridY = p.m_nOffsetY;
    place.margin = p.m_nCollisionMargin;
    place.grid = (grid != nullptr && p.m_nUseGrid != 0) ? grid : nullptr;

    // ---- the search ----
    long long dx = static_cast<long long>(p.m_nHorOffset) + halo + p.m_nHorSymbolSize;
    long long dy = static_cast<long long>(p.m_nVerOffset) + halo + p.m_nVerSymbolSize;
    const long long limitX = static_cast<long long>(p.m_nHorOffsetLimit) + halo + p.m_nHorSymbolSize;
    const long long limitY = static_cast<long long>(p.m_nVerOffsetLimit) + halo + p.m_nVerSymbolSize;
    const long long step = p.m_nSearchStep;
    int position = p.m_nPosition;
    CPoint corner = point;
    for (;;) {
        bool free = false;
        if (position == 9) {
            static const int kAutomatic[4] = {0, 2, 4, 6};
            for (int candidate : kAutomatic) {
                corner = Corner(candidate, point, place.w, place.h, dx, dy);
                if (place.IsFree(corner)) {
                    free = true;
                    break;
                }
            }
        } else {
            corner = Corner(position, point, place.w, place.h, dx, dy);
            if (position >= 0 && position <= 8 && !InsideArea(rcArea, corner, place.w, place.h)) position = 9;
            free = place.IsFree(corner);
        }
        if (free || step <= 0) break;
        dx += step;
        dy += step;
        if (dx > limitX || dy > limitY) break;
    }
    if (place.grid) place.grid->AddRecord(place.Box(corner, GetAnnoIndexID()));

    // ---- the label ----
    if (anno.m_pOutputList != nullptr) {
        CGeoAnno* pAnno = new CGeoAnno(anno);
        pAnno->SetPositionPoint(corner, 0);
        pAnno->SetGeoView(view);
        pAnno->SetGeoFormat(fmt);
        pAnno->CalculateAnnoBounds();
        anno.m_pOutputList->AddTail(pAnno);
    } else {
        anno.m_ptPosition = corner;
        anno.m_ptRotateCenter = corner;
        tagGEORECT margins = GetCurrentGeoRect(s);
        DrawGeoAnno(dc, static_cast<UINT>(scale), static_cast<UINT>(scale), origin, offset, view, anno, nullptr, 0,
                    &margins, &fmt, 0, 1);
    }
    return LABEL_PLACED;
}

namespace {

void SendProgress(long long done, int total) {
    if (total <= 0) return;
    CWnd* pWnd = AfxGetMainWnd();
    if (pWnd == nullptr) return;
    const double percent = std::trunc(100.0 * static_cast<double>(done) / total);
    pWnd->SendMessage(WM_GEO_LABEL_PROGRESS, static_cast<WPARAM>(ClampToInt(percent)), 0);
}

}  // namespace

int AutoLabelGeoPoint(CDC* dc, int scale, CPoint& origin, CPoint& offset, const GEOVIEW& style,
                      const GEOANNO& text, const tagPOINTPARA& para, CRect& area,
                      CTypedPtrList<CObList, CGeoVectorObject*>& objects, CStringList& texts,
                      tagGEOFORMAT& format, CGeoAnnoGrid* grid, CSymbolLibIO* symbols) {
    if (objects.GetCount() != texts.GetCount()) return 0;

    GEOANNO anno = MakeGeoAnno(text);
    const bool progress = para.m_nKind == 3;
    long long done = para.m_nObjectsDone;
    if (progress) SendProgress(done, para.m_nTotalObjects);

    POSITION posObj = objects.GetHeadPosition();
    POSITION posText = texts.GetHeadPosition();
    while (posObj != nullptr && posText != nullptr) {
        CGeoVectorObject* pObj = objects.GetNext(posObj);
        const CString& label = texts.GetNext(posText);
        tagPOINTPARA p = para;
        bool anchored = false;
        if (pObj != nullptr && pObj->IsKindOf(RUNTIME_CLASS(CGeoPoint))) {
            const CPoint at = static_cast<CGeoPoint*>(pObj)->GetPoint();
            p.m_nX = at.x;
            p.m_nY = at.y;
            anchored = true;
        } else if (pObj != nullptr && pObj->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine))) {
            CGeoPolygonLine* pRing = static_cast<CGeoPolygonLine*>(pObj);
            const int n = pRing->GetPoints();
            const POINT* pts = pRing->GetPointBuffer();
            if (n > 0 && pts != nullptr) {
                const POINT inner = RingInnerPoint(pts, n);
                p.m_nX = inner.x;
                p.m_nY = inner.y;
                p.m_nPosition = 8;
                anchored = true;
            }
        }
        if (anchored) {
            anno.m_strText = label;
            int first = 0, second = 0;
            GetObjSymbolSize(pObj, first, second, symbols);
            p.m_nHorSymbolSize = first;
            p.m_nVerSymbolSize = second;
            p.m_nUnit = pObj->GetUnit();
            AutoLabelGeoPoint(dc, scale, origin, offset, style, anno, p, area, format, grid);
        }
        ++done;
        if (progress) SendProgress(done, para.m_nTotalObjects);
    }
    return 1;
}
