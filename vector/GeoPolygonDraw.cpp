#include "vector/GeoPolygon.h"

#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPLine.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <caddox/FillShape.h>
#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>
#include <quenby/SymbolLibIO.h>

#include <climits>
#include <cmath>
#include <vector>

using geomath::TruncLong;

namespace {

std::vector<LONG> PartCounts(const int* sizes, int count) { return std::vector<LONG>(sizes, sizes + count); }

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Style

int CGeoPolygon::OnGetGeoViewBegin(GEOVIEW& view, tagDisplayState ds) {
    if (m_dwLabelPointID == 0) {
        view.m_nFillShape = GetDefaultPolygonFillShape();
        view.m_crFillColor = GetDefaultPolygonFillColor();
        view.m_nLineShape = GetDefaultPolygonBorderLineShape();
        view.m_crLineColor = GetDefaultPolygonBorderLineColor();
        view.m_bTransparent = IsDefaultPolygonTransparent();
        return 0;
    }
    CGeoLabelPoint* pLabel = GetLabelPoint();
    if (!pLabel) return -1;
    CGeoVectorLayer* pLayer = GetVectorLayer();
    switch (ds.m_nDisplayAttr) {
        case 0:
            if (!pLayer) return -1;
            view = pLayer->GetGeoView();
            return 0;
        case 1:
            view = pLabel->GetGClassGeoView();
            return 0;
        case 2:
            view = pLabel->GetSelfGeoView();
            return 0;
        case 3:
            if (!IsADInitilized() || IsADRefresh() || !pLabel->IsADInitilized()) {
                // Where no rule applies the label point's own style stands, as for any object.
                if (!pLayer || !pLayer->GetGeoViewAD(pLabel, ADGeoView())) ADGeoView() = pLabel->GetSelfGeoView();
                InitilizeAD(1);
            }
            view = ADGeoView();
            return 0;
        case 4:
            return -1;
        default:
            return 0;
    }
}

void CGeoPolygon::OnPrepareGeoView(GEOVIEW& view, SHOWSTATE state) { ApplyAreaShowState(view, state, 0.0f, 5.0f); }

int CGeoPolygon::GetObjectSymbolID(GEOVIEW view) const { return view.GetSymbol(SYMBOL_FILL); }

UINT CGeoPolygon::GetObjectClassID() const {
    if (CGeoLabelPoint* pLabel = GetLabelPoint()) return pLabel->GetObjectClassID();
    return CGeoVectorObject::GetObjectClassID();
}

WORD CGeoPolygon::PrepareSymbolAttribute(CSymbolLibIO* pLib, int nSymbol, int keepColours, DWORD crColour) {
    if (CGeoLabelPoint* pLabel = GetLabelPoint()) return pLabel->PrepareSymbolAttribute(pLib, nSymbol, keepColours, crColour);
    return CGeoVectorObject::PrepareSymbolAttribute(pLib, nSymbol, keepColours, crColour);
}

CSymbolAttrib CGeoPolygon::GetSymbolAttribute(CSymbolLibIO* pLib, int nSymbol) const {
    if (CGeoLabelPoint* pLabel = GetLabelPoint()) return pLabel->GetSymbolAttribute(pLib, nSymbol);
    return CGeoVectorObject::GetSymbolAttribute(pLib, nSymbol);
}

CSymbolAttrib CGeoPolygon::GetSymbolAttribute(CSymbolLibIO* pLib) const {
    if (CGeoLabelPoint* pLabel = GetLabelPoint()) return pLabel->GetSymbolAttribute(pLib);
    return CGeoVectorObject::GetSymbolAttribute(pLib);
}

void CGeoPolygon::SetSymbolAttribute(DWORD dwItemID, CString strName, tagVM_SYM_VARIANT value) {
    if (CGeoLabelPoint* pLabel = GetLabelPoint())
        pLabel->SetSymbolAttribute(dwItemID, strName, value);
    else
        CGeoVectorObject::SetSymbolAttribute(dwItemID, strName, value);
}

void CGeoPolygon::SetSymbolAttribute(int nItem, tagVM_SYM_VARIANT value) {
    if (CGeoLabelPoint* pLabel = GetLabelPoint())
        pLabel->SetSymbolAttribute(nItem, value);
    else
        CGeoVectorObject::SetSymbolAttribute(nItem, value);
}

void CGeoPolygon::SetSymbolAttribute(CSymbolAttrib attrib) {
    if (CGeoLabelPoint* pLabel = GetLabelPoint())
        pLabel->SetSymbolAttribute(attrib);
    else
        CGeoVectorObject::SetSymbolAttribute(attrib);
}

void CGeoPolygon::SetSymbolAttributeMark(int nKind, int bOn) {
    if (CGeoLabelPoint* pLabel = GetLabelPoint())
        pLabel->SetSymbolAttributeMark(nKind, bOn);
    else
        CGeoVectorObject::SetSymbolAttributeMark(nKind, bOn);
}

// ---------------------------------------------------------------------------------------------------
// Drawing

void CGeoPolygon::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                          const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                          int keepColours) {
    const int symbol = ChooseSymbol(pSymbolLib, view, SYMBOL_FILL);
    if (symbol == 0 || !pDC) {
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
        return;
    }
    CSymbolLibIO* pLib = static_cast<CSymbolLibIO*>(pSymbolLib);
    LONG result = -1;
    {
        Rings rings(*this);
        if (rings.count == 0) return;
        CScratchPoints device(rings.total);
        if (!device.Get()) return;
        RPtoLP(scale, origin, offset, rings.points, device.Get(), rings.total);
        CCoordsConverter converter(static_cast<int>(scale), static_cast<int>(scale2), 1);
        // The attributes are the label point's: prepared there, drawn from a copy, and its mask put back.
        const WORD mask = PrepareSymbolAttribute(pLib, symbol, keepColours, view.m_crFillColor);
        CSymbolAttrib attrib = GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr));
        const std::vector<LONG> counts = PartCounts(rings.sizes, rings.count);
        result = pLib->DrawSymbol(pDC->m_hDC, symbol, device.Get(), counts.data(), rings.count, pClip, 0, 0, &converter,
                                  GetSymbolDrawMode(xorMode), nullptr, &attrib);
        CSymbolAttrib own = GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr));
        own.SetAttribMask(mask);
        SetSymbolAttribute(own);
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoPolygon::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                             const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                             int scaleWidths) {
    (void)scale2;
    (void)pClip;
    (void)nWord8;
    (void)scaleWidths;
    if (!pDC) return;
    Rings rings(*this);
    if (rings.count == 0) return;
    CScratchPoints device(rings.total);
    if (!device.Get()) return;
    RPtoLP(scale, origin, offset, rings.points, device.Get(), rings.total);
    CShapePainter painter(pDC);
    painter.SelectStockObject(NULL_PEN);
    painter.SelectFillBrush(GetFillShape(view.m_nFillShape), view.m_crFillColor);
    painter.SetROP2(xorMode ? R2_NOTXORPEN : R2_COPYPEN);
    if (view.m_bTransparent) {
        if (!xorMode) painter.SetROP2(R2_MASKPEN);
        painter.SetBkMode(TRANSPARENT);
    } else {
        painter.SetBkMode(OPAQUE);
    }
    if (rings.count == 1)
        pDC->Polygon(device.Get(), rings.sizes[0]);
    else
        pDC->PolyPolygon(device.Get(), rings.sizes, rings.count);
    painter.Restore();
}

int CGeoPolygon::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                   GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView) return 0;
    const int symbol = pView->GetSymbol(SYMBOL_FILL);
    if (symbol == 0) return 0;
    Rings rings(*this);
    if (rings.count == 0) return 0;
    CScratchPoints mm(rings.total);
    if (!mm.Get()) return 0;
    ::ChangeUnit(GetUnit(), 3, rings.points, mm.Get(), rings.total, 1.0);
    const WORD mask = PrepareSymbolAttribute(pLib, symbol, 1, 0);
    CSymbolAttrib attrib = GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr));
    const std::vector<LONG> counts = PartCounts(rings.sizes, rings.count);
    const LONG result =
        pLib->OutputSymbol(pOutputer, symbol, mm.Get(), counts.data(), rings.count, 0, nullptr, pConverter, &attrib);
    CSymbolAttrib own = GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr));
    own.SetAttribMask(mask);
    SetSymbolAttribute(own);
    return result == QUENBY_OK ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------------
// Handles and editing

int CGeoPolygon::GetHandleCount() const {
    Rings rings(*this);
    return rings.total;
}

CPoint CGeoPolygon::GetHandle(int nHandle) const {
    Rings rings(*this);
    if (nHandle < 1 || nHandle > rings.total) return CPoint(0, 0);
    return rings.points[nHandle - 1];
}

int CGeoPolygon::CanMoveHandle(int nHandle) const {
    (void)nHandle;
    return CanBeEdited();
}

int CGeoPolygon::CanDeleteHandle(int nHandle) const {
    (void)nHandle;
    return 0;
}

int CGeoPolygon::CanAddHandle(int nHandle) const {
    (void)nHandle;
    return 0;
}

void CGeoPolygon::DeleteHandle(int nHandle) { (void)nHandle; }

void CGeoPolygon::AddHandle(int nHandle) { (void)nHandle; }

void CGeoPolygon::MoveHandleTo(int nHandle, CPoint point) {
    if (!CanBeEdited()) return;
    CGeoVectorLayer* pLayer = GetVectorLayer();
    if (!pLayer || nHandle < 1 || nHandle > GetHandleCount()) return;
    const CPoint h = GetHandle(nHandle);
    CGeoPolygonList polygons;
    if (GetUseData()) {
        pLayer->GetNeighbourPolygonList(h, polygons);
        for (POSITION p = polygons.GetHeadPosition(); p;) {
            CGeoPolygon* pPolygon = polygons.GetNext(p);
            CGeoKeyString at;
            pPolygon->IsHandle(h, at);
            for (int i = 0; i < at.GetSize(); ++i) pPolygon->m_pRingPoints[at[i] - 1] = point;
        }
    } else {
        int i = 0;
        int pos = 0;
        for (; i < m_nBorder; ++i)
            if (m_pEntries[i].arc && (pos = GetHandlePosOnLine(m_pEntries[i].arc, h)) != 0) break;
        if (i == m_nBorder) return;
        CGeoPLine* pArc = m_pEntries[i].arc;
        if (pos >= 1) {
            // An inner vertex belongs to this arc alone: the arc and the two polygons beside it.
            CGeoPolygon* pNeighbour = GetNeighbourPolygon(pArc);
            pArc->MovePointTo(pos, point);
            if (pNeighbour) pNeighbour->RecalcBounds();
            RecalcBounds();
            return;
        }
        pLayer->GetPolygonListShareSamePoint(h, polygons);
    }
    for (POSITION p = pLayer->m_ObjList.GetHeadPosition(); p;) {
        CObject* pObject = pLayer->m_ObjList.GetNext(p);
        if (!pObject->IsKindOf(RUNTIME_CLASS(CGeoPLine))) continue;
        CGeoPLine* pLine = static_cast<CGeoPLine*>(pObject);
        const int pos = GetHandlePosOnLine(pLine, h);
        const int last = pLine->GetPoints() - 1;
        if (pos >= 1) {
            pLine->MovePointTo(pos, point);
        } else if (pos == -1) {
            pLine->MovePointTo(0, point);
            pLine->MovePointTo(last, point);
        } else if (pos == -2) {
            pLine->MovePointTo(0, point);
        } else if (pos == -3) {
            pLine->MovePointTo(last, point);
        }
    }
    for (POSITION p = polygons.GetHeadPosition(); p;) polygons.GetNext(p)->RecalcBounds();
}

void CGeoPolygon::Move(CSize d) {
    if (!CanMove() || (d.cx == 0 && d.cy == 0) || !GetUseData()) return;
    Rings rings(*this);  // the cache, computed first when missing
    for (int i = 0; i < rings.total; ++i) {
        rings.points[i].x += d.cx;
        rings.points[i].y += d.cy;
    }
    m_rcBounds.OffsetRect(d);
}

void CGeoPolygon::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    if (!GetUseData()) return;
    Rings rings(*this);  // the cache, computed first when missing
    if (rings.total == 0) return;
    const int unit = GetUnit();
    const CBaseCoordinateTransformer* pBase = transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer))
                                                  ? static_cast<const CBaseCoordinateTransformer*>(&transformer)
                                                  : nullptr;
    for (int i = 0; i < rings.total; ++i) {
        POINT& p = rings.points[i];
        const double xm = ::ChangeUnit(unit, 6, static_cast<double>(p.x), 1.0) + x0;
        const double ym = ::ChangeUnit(unit, 6, static_cast<double>(p.y), 1.0) + y0;
        double xo = xm, yo = ym;
        transformer.Transform(xm, ym, xo, yo);
        if (pBase) {
            xo -= pBase->GetSecondOffsetX();
            yo -= pBase->GetSecondOffsetY();
        }
        p.x = TruncLong(::ChangeUnit(6, unit, xo, 1.0));
        p.y = TruncLong(::ChangeUnit(6, unit, yo, 1.0));
    }
    m_rcBounds = ::RecalcBounds(rings.points, rings.total);
}

namespace {

// Whether the rectangle lies wholly inside the ring of n points: no edge of the ring meets it (touching
// counts as meeting) and a corner of it lies inside the ring.
bool RectInsideRing(const POINT* pts, int n, const RECT& r) {
    if (n < 3) return false;
    for (int i = 0; i < n; ++i)
        if (LineXRect(pts[i], pts[(i + 1) % n], r)) return false;
    return PtInPolygon(POINT{r.left, r.top}, pts, n) != 0;
}

}  // namespace

int CGeoPolygon::Intersects(const CRect& rect, SELOBJMODE mode) const {
    if (mode == SELOBJ_INSIDE) return CGeoObject::Intersects(rect, mode);
    if (!EnvelopmentIntersects(rect)) return 0;
    CRect r = rect;
    r.NormalizeRect();
    const CRect b = GetBounds();
    if (b.left == b.right && b.top == b.bottom) return r.PtInRect(b.TopLeft());
    if (b.IsRectEmpty()) return LineXRect(b.TopLeft(), b.BottomRight(), r);
    if ((b.top >= r.top && b.bottom <= r.bottom) || (b.left >= r.left && b.right <= r.right)) return 1;
    CRect c;
    c.IntersectRect(&r, &b);
    Rings rings(*this);
    if (rings.count == 0) return 0;
    const POINT* p = rings.points;
    if (!PolygonXRect(p, rings.sizes[0], c)) return 0;
    p += rings.sizes[0];
    // A hole the rectangle merely meets still leaves filled area under the rectangle; only a rectangle
    // lying wholly in one hole covers none.
    for (int i = 1; i < rings.count; ++i) {
        if (RectInsideRing(p, rings.sizes[i], c)) return 0;
        p += rings.sizes[i];
    }
    return 1;
}
