// Vector layers: the draw loop with its abort flag, hiding and blinking, searches by rectangle and by
// user ID, bounds maintenance, coordinate transformation, conversion between shape kinds, dangle marks
// and the attribute-display styles.
#include "core/GeoVectorLayer.h"

#include "core/DisplayState.h"
#include "core/GeoVectorObject.h"

#include <ostrel/Units.h>
#include <pellion/GeoGaussTransformer.h>

#include <cstdint>
#include <vector>

namespace {

// Cleared by the host to abort a long redraw; nothing in the library changes it.
int g_nLayerDrawFlag = 1;

LONG Clamp(int64_t v) { return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : static_cast<LONG>(v)); }

bool Holds(const CDWordArray& ids, UINT id)
{
    for (INT_PTR i = 0; i < ids.GetSize(); ++i)
        if (ids[i] == id) return true;
    return false;
}

// A rectangle given in millimetres in an object unit, as each object of that unit is asked with it.
CRect MillimeterRectIn(int nUnit, const CRect& rect)
{
    CRect r = rect;
    ChangeUnit(3, nUnit, static_cast<RECT&>(r), 1.0);
    return r;
}

// Whether the object meets the rectangle, given in millimetres, by the selection mode.
int HitsMillimeterRect(const CGeoVectorObject* pObject, const CRect& rect, SELOBJMODE mode)
{
    return pObject->Intersects(MillimeterRectIn(pObject->GetUnit(), rect), mode);
}

// The square of 10 units about p (the neighbourhood queries' reach), kept in the LONG range.
CRect NearSquare(POINT p)
{
    return CRect(Clamp(static_cast<int64_t>(p.x) - 10), Clamp(static_cast<int64_t>(p.y) - 10),
                 Clamp(static_cast<int64_t>(p.x) + 10), Clamp(static_cast<int64_t>(p.y) + 10));
}

}  // namespace

void CGeoVectorLayer::SetLayerDrawFlag(int bDraw) { g_nLayerDrawFlag = bDraw; }
int CGeoVectorLayer::GetLayerDrawFlag() { return g_nLayerDrawFlag; }

int GCIsVisible(UINT nClassID, int nMode, CDWordArray* pIDs)
{
    switch (nMode) {
    case 0: return 1;
    case 2: return pIDs != nullptr && Holds(*pIDs, nClassID);
    case 3: return pIDs != nullptr && !Holds(*pIDs, nClassID);
    default: return 0;
    }
}

// ---- drawing --------------------------------------------------------------------------------------

void CGeoVectorLayer::Draw(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, tagDisplayState ds,
                           int nFilterMode, CDWordArray* pIDs)
{
    if (nFilterMode == 1) return;
    // Object coordinates are relative to the layer's top-left corner.
    const CPoint offset = GetBoundsInMillimeter().TopLeft();
    // The clip in object coordinates, so that objects are rejected by their bounds alone.
    CRect clip;
    if (pClip) clip = LPtoRP(scale, origin, offset, *pClip, 0);

    // With a clip, only the objects whose bounds meet it are visited (in list order), as the test below
    // would pass them; the clip is compared with each object's bounds as they are, whatever its unit.
    if (pClip) {
        if (CGeoObjectIndex* pIndex = BoundsIndex()) {
            std::vector<CGeoVectorObject*> found;
            pIndex->FindBounds([&clip](int) { return clip; }, found);
            for (CGeoVectorObject* pObject : found) {
                if (!g_nLayerDrawFlag) break;
                if (GCIsVisible(pObject->GetObjectClassID(), nFilterMode, pIDs))
                    pObject->Draw(pDC, pClip, scale, scale2, origin, offset, ds, 0);
            }
            return;
        }
    }
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos && g_nLayerDrawFlag;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos));
        if (pClip) {
            CRect b = pObject->GetBounds();
            b.NormalizeRect();  // a TIN triangle keeps its top above its bottom
            if (b.right < clip.left || b.left > clip.right || b.bottom < clip.top || b.top > clip.bottom) continue;
        }
        if (GCIsVisible(pObject->GetObjectClassID(), nFilterMode, pIDs))
            pObject->Draw(pDC, pClip, scale, scale2, origin, offset, ds, 0);
    }
}

void CGeoVectorLayer::Hide(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                           tagDisplayState ds, int nFilterMode, CDWordArray* pIDs)
{
    if (nFilterMode == 1) return;
    // The hide hooks receive no offset, so the layer's corner goes into the origin.
    const CPoint base = GetBoundsInMillimeter().TopLeft();
    origin = CPoint(Clamp(static_cast<int64_t>(origin.x) + base.x), Clamp(static_cast<int64_t>(origin.y) + base.y));
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos));
        if (GCIsVisible(pObject->GetObjectClassID(), nFilterMode, pIDs))
            pObject->Hide(pDC, pClip, scale, scale2, origin, offset, ds);
    }
}

void CGeoVectorLayer::Blink(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                            tagDisplayState ds, int nFilterMode, CDWordArray* pIDs)
{
    if (nFilterMode == 1) return;
    const CPoint base = GetBoundsInMillimeter().TopLeft();
    origin = CPoint(Clamp(static_cast<int64_t>(origin.x) + base.x), Clamp(static_cast<int64_t>(origin.y) + base.y));
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos));
        if (GCIsVisible(pObject->GetObjectClassID(), nFilterMode, pIDs))
            pObject->Blink(pDC, pClip, scale, scale2, origin, offset, ds);
    }
}

// ---- searches ------------------------------------------------------------------------------------

CGeoAccessorialObject* CGeoVectorLayer::FindObj(const CRect& rect, SELOBJMODE mode, int /*nFlag*/)
{
    // Polygons cover what lies on them, so every other kind is tried first.
    std::vector<CGeoVectorObject*> polygons;
    if (CGeoObjectIndex* pIndex = BoundsIndex()) {
        // An object can only meet the rectangle where its bounds do (CGeoObject::Intersects), so the
        // objects whose bounds meet it are all that the walk below would find, tried in the same order.
        std::vector<CGeoVectorObject*> found;
        pIndex->FindBounds([&rect](int nUnit) { return MillimeterRectIn(nUnit, rect); }, found);
        for (auto it = found.rbegin(); it != found.rend(); ++it) {
            if ((*it)->IsFoundLast())
                polygons.push_back(*it);
            else if (HitsMillimeterRect(*it, rect, mode))
                return *it;
        }
        for (CGeoVectorObject* pObject : polygons)
            if (HitsMillimeterRect(pObject, rect, mode)) return pObject;
        return nullptr;
    }
    for (POSITION pos = m_ObjList.GetTailPosition(); pos;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetPrev(pos));
        if (pObject->IsFoundLast())
            polygons.push_back(pObject);
        else if (HitsMillimeterRect(pObject, rect, mode))
            return pObject;
    }
    for (CGeoVectorObject* pObject : polygons)
        if (HitsMillimeterRect(pObject, rect, mode)) return pObject;
    return nullptr;
}

int CGeoVectorLayer::FindUserObj(UINT nUserID, CGeoAccessorialObjectList& list)
{
    if (nUserID == 0) return 0;
    list.RemoveAll();
    if (CGeoObjectIndex* pIndex = UserIDIndex()) {
        std::vector<CGeoVectorObject*> found;
        pIndex->FindUserID(nUserID, found);
        for (CGeoVectorObject* pObject : found) list.AddTail(pObject);
        return list.IsEmpty() ? 0 : 1;
    }
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos));
        if (pObject->GetUserID() == nUserID) list.AddTail(pObject);
    }
    return list.IsEmpty() ? 0 : 1;
}

// ---- bounds --------------------------------------------------------------------------------------

CRect CGeoVectorLayer::GetValideRect()
{
    CRect all(0, 0, 0, 0);
    bool any = false;
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        const CRect b = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos))->GetBoundsInMillimeter();
        if (!any) {
            all = b;
            any = true;
        } else {
            // A plain extent union: bounds without area (points, axis-parallel lines) count too.
            all.left = b.left < all.left ? b.left : all.left;
            all.top = b.top < all.top ? b.top : all.top;
            all.right = b.right > all.right ? b.right : all.right;
            all.bottom = b.bottom > all.bottom ? b.bottom : all.bottom;
        }
    }
    if (any && GetUnit() != 3) ::ChangeUnit(3, GetUnit(), static_cast<RECT&>(all), 1.0);
    return all;
}

void CGeoVectorLayer::MoveBounds(CSize d)
{
    if (d.cx == 0 && d.cy == 0) return;
    m_rcBounds.OffsetRect(d);
    // The objects move the other way, so that they keep their place in the world.
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos));
        SIZE back = {-d.cx, -d.cy};
        ::ChangeUnit(GetUnit(), pObject->GetUnit(), back, 1.0);
        pObject->Move(CSize(back));
    }
}

void CGeoVectorLayer::ResetBounds(CRect rect)
{
    if (rect == m_rcBounds || !CanBeEdited()) return;
    const CPoint corner = m_rcBounds.TopLeft();
    m_rcBounds.right = Clamp(static_cast<int64_t>(corner.x) + rect.Width());
    m_rcBounds.bottom = Clamp(static_cast<int64_t>(corner.y) + rect.Height());
    MoveBounds(CSize(Clamp(static_cast<int64_t>(rect.left) - corner.x), Clamp(static_cast<int64_t>(rect.top) - corner.y)));
}

void CGeoVectorLayer::AutoCompactBounds()
{
    if (m_ObjList.IsEmpty()) return;
    CRect valid = GetValideRect();
    valid.OffsetRect(m_rcBounds.TopLeft());
    ResetBounds(valid);
}

void CGeoVectorLayer::RecalBounds() { AutoCompactBounds(); }

// ---- transformation ------------------------------------------------------------------------------

void CGeoVectorLayer::Transform(CGeoCoordinateTransformer& transformer)
{
    if (!CanBeEdited() || m_ObjList.IsEmpty()) return;

    double originX = 0.0, originY = 0.0;
    GetLayerOrigin(originX, originY);
    const double left = ::ChangeUnit(GetUnit(), 6, static_cast<double>(m_rcBounds.left), 1.0);
    const double top = ::ChangeUnit(GetUnit(), 6, static_cast<double>(m_rcBounds.top), 1.0);
    double x = left + originX, y = top + originY;

    if (transformer.IsKindOf(RUNTIME_CLASS(CGeoGaussTransformer))) {
        CGeoGaussTransformer& gauss = static_cast<CGeoGaussTransformer&>(transformer);
        const double east = gauss.PreGetInputOffsetEast(), north = gauss.PreGetInputOffsetNorth();
        x += east;
        y += north;
        const double newOriginX = gauss.GetOutZoneNum() * 1000000.0, newOriginY = originY + north;
        // Only coordinates that already carry their zone take the output zone into the origin.
        if (-1.0 < east && east < 1.0) SetLayerOrigin(newOriginX, newOriginY);
        gauss.SetSecondOffsetX(left + newOriginX);
        gauss.SetSecondOffsetY(top + newOriginY);
        for (POSITION pos = m_ObjList.GetHeadPosition(); pos;)
            static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos))->Transform(transformer, x, y);
    } else if (transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer))) {
        CBaseCoordinateTransformer& base = static_cast<CBaseCoordinateTransformer&>(transformer);
        double x2 = x, y2 = y;
        base.Transform(x, y, x2, y2);
        base.SetSecondOffsetX(x2);
        base.SetSecondOffsetY(y2);
        // The layer's corner becomes the new origin: its bounds start at (0, 0).
        CRect mm = GetBoundsInMillimeter();
        SIZE corner = {-mm.left, -mm.top};
        ::ChangeUnit(3, GetUnit(), corner, 1.0);
        SetLayerOrigin(x2, y2);
        Move(CSize(corner));
        for (POSITION pos = m_ObjList.GetHeadPosition(); pos;)
            static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos))->Transform(transformer, x, y);
    }
    AutoCompactBounds();
}

// ---- conversions ---------------------------------------------------------------------------------

int CGeoVectorLayer::CanConvertObj(CGeoVectorObject* pObject, WORD wType, DWORD dwParam)
{
    if (!CanBeEdited() || pObject == nullptr || !IsListed(pObject)) return 0;
    return pObject->CanConvertTo(wType, dwParam);
}

CGeoVectorObject* CGeoVectorLayer::ConvertObj(CGeoVectorObject* pObject, WORD wType, DWORD dwParam)
{
    if (!CanBeEdited() || pObject == nullptr || !IsListed(pObject)) return nullptr;
    CGeoVectorObject* pNew = pObject->ConvertShape(wType, dwParam);
    if (pNew == nullptr) return nullptr;
    Replace(pNew, pObject);
    return pNew;
}

CGeoPLine* CGeoVectorLayer::FixedLine(CGeoVectorObject* pLine)
{
    if (!CanBeEdited() || pLine == nullptr || !IsListed(pLine)) return nullptr;
    CGeoVectorObject* pNew = pLine->ConvertToPolyline();
    if (pNew == nullptr) return nullptr;
    CGeoPLine* pPLine = pNew->AsPLine();
    if (pPLine == nullptr) {
        delete pNew;
        return nullptr;
    }
    Replace(pNew, pLine);
    return pPLine;
}

// ---- marks and attribute display -----------------------------------------------------------------

// The lists hold polygons; the shapes that answer these queries are those polygons.
int CGeoVectorLayer::IsPublicLine(CGeoVectorObject* pLine, CGeoPolygonList& list) {
    CObList& found = list;
    int any = 0;
    // The polygons whose borders hold the line are looked up by the line; each still answers for itself.
    std::vector<CGeoVectorObject*> holders;
    if (FindBorderHolders(pLine, holders)) {
        for (CGeoVectorObject* pObject : holders) {
            if (!pObject->UsesBorderArc(pLine)) continue;
            found.AddTail(pObject);
            any = 1;
        }
        return any;
    }
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p));
        if (!pObject->UsesBorderArc(pLine)) continue;
        found.AddTail(pObject);
        any = 1;
    }
    return any;
}

int CGeoVectorLayer::GetNeighbourPolygonList(POINT pt, CGeoPolygonList& list) {
    CObList& found = list;
    int any = 0;
    // Only shapes whose bounds meet the square about the point answer, so those are all that are asked.
    if (CGeoObjectIndex* pIndex = BoundsIndex()) {
        std::vector<CGeoVectorObject*> near;
        const CRect square = NearSquare(pt);
        pIndex->FindBounds([&square](int) { return square; }, near);
        for (CGeoVectorObject* pObject : near) {
            if (!pObject->HasHandleNear(pt)) continue;
            found.AddHead(pObject);
            any = 1;
        }
        return any;
    }
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p));
        if (!pObject->HasHandleNear(pt)) continue;
        found.AddHead(pObject);
        any = 1;
    }
    return any;
}

int CGeoVectorLayer::GetPolygonListShareSamePoint(POINT pt, CGeoPolygonList& list) {
    CObList& found = list;
    int any = 0;
    if (CGeoObjectIndex* pIndex = BoundsIndex()) {
        std::vector<CGeoVectorObject*> near;
        const CRect square = NearSquare(pt);
        pIndex->FindBounds([&square](int) { return square; }, near);
        for (CGeoVectorObject* pObject : near) {
            if (!pObject->HasBorderPointAt(pt, this)) continue;
            found.AddHead(pObject);
            any = 1;
        }
        return any;
    }
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p));
        if (!pObject->HasBorderPointAt(pt, this)) continue;
        found.AddHead(pObject);
        any = 1;
    }
    return any;
}

int CGeoVectorLayer::ClearDangle()
{
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos));
        if (pObject->GetDangleType() & 0x03) pObject->SetDangleType(0);
    }
    return 0;
}

int CGeoVectorLayer::GetGeoViewAD(CGeoVectorObject* pObject, GEOVIEW& view)
{
    return pObject ? m_AttriDispParam.GetGeoView(pObject, view) : 0;
}

void CGeoVectorLayer::ResetADRefresh()
{
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;)
        static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos))->UninitilizeAD();
}
