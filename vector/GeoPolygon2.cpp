#include "vector/GeoPolygon2.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/ShapePainter.h"

#include <afx/afx.h>
#include <caddox/LineShape.h>
#include <ostrel/Contact.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <cmath>
#include <climits>
#include <vector>

IMPLEMENT_SERIAL(CGeoPolygon2, CGeoVectorObject, 0)

int CGeoPolygon2::s_nPolygon2Count = -1;

namespace {

bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

POINT FirstPoint(const CGeoPLine* line) { return line->GetPoint(0); }
POINT LastPoint(const CGeoPLine* line) { return line->GetPoint(line->GetPoints() - 1); }

// Either end of b equals p.
bool IsEndOf(POINT p, const CGeoPLine* b) { return Same(p, FirstPoint(b)) || Same(p, LastPoint(b)); }

}  // namespace

CGeoPolygon2::CGeoPolygon2() {
    ++s_nPolygon2Count;
    m_strName = "";
}

CGeoPolygon2::CGeoPolygon2(const CGeoPLineList& lines) : CGeoPolygon2() { SetBorderLine(lines); }

CGeoPolygon2::~CGeoPolygon2() {
    m_Lines.RemoveAll();
    m_IDs.RemoveAll();
}

void CGeoPolygon2::Serialize(CArchive& ar) {
    CGeoVectorObject::Serialize(ar);
    if (!ar.IsStoring()) m_Lines.RemoveAll();
    m_IDs.Serialize(ar);
}

// ---------------------------------------------------------------------------------------------------
// Border

void CGeoPolygon2::SetBorderLine(const CGeoPLineList& lines) {
    m_Lines.RemoveAll();
    m_IDs.RemoveAll();
    for (POSITION pos = lines.GetHeadPosition(); pos;) {
        CGeoPLine* line = lines.GetNext(pos);
        m_Lines.AddTail(line);
        m_IDs.Add(line ? line->GetID() : 0);
    }
    RecalcBounds();
}

void CGeoPolygon2::BuildBorderLine() {
    m_Lines.RemoveAll();
    CGeoLayer* pLayer = GetLayer();
    if (!pLayer) return;
    CGeoPLineList found;
    for (int i = 0; i < m_IDs.GetSize(); ++i) {
        CGeoAccessorialObject* pObject = pLayer->FindObj(static_cast<UINT>(m_IDs[i]));
        // Anything but a polyline under a border ID (a damaged file) is a missing line.
        if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CGeoPLine))) return;
        found.AddTail(static_cast<CGeoPLine*>(pObject));
    }
    for (POSITION pos = found.GetHeadPosition(); pos;) m_Lines.AddTail(found.GetNext(pos));
    RecalcBounds();
}

POINT CGeoPolygon2::ToOwnUnit(const CGeoPLine* pLine, POINT p) const {
    if (pLine->GetUnit() != GetUnit()) ::ChangeUnit(pLine->GetUnit(), GetUnit(), p, 1.0);
    return p;
}

int CGeoPolygon2::GetPolygonPoints(POINT*& points, int& count) const {
    points = nullptr;
    count = 0;
    if (m_Lines.IsEmpty()) return 0;
    // A NULL or pointless line cannot take part in a chain.
    for (POSITION pos = m_Lines.GetHeadPosition(); pos;) {
        const CGeoPLine* line = m_Lines.GetNext(pos);
        if (!line || line->GetPoints() < 1) return 0;
    }
    const int handles = GetHandleCount();
    std::vector<POINT> ring;
    ring.reserve(static_cast<size_t>(std::max(handles, 0)) + 1);

    POSITION pos = m_Lines.GetHeadPosition();
    const CGeoPLine* first = m_Lines.GetNext(pos);
    const CGeoPLine* second = pos ? m_Lines.GetAt(pos) : first;
    const int m = first->GetPoints();
    if (IsEndOf(LastPoint(first), second)) {
        for (int k = 0; k < m; ++k) ring.push_back(ToOwnUnit(first, first->GetPoint(k)));
    } else {
        for (int k = m - 1; k >= 0; --k) ring.push_back(ToOwnUnit(first, first->GetPoint(k)));
    }
    while (pos) {
        const CGeoPLine* line = m_Lines.GetNext(pos);
        const int n = line->GetPoints();
        const POINT end = ring.back();
        if (Same(ToOwnUnit(line, FirstPoint(line)), end)) {
            ring.pop_back();  // the junction once
            for (int k = 0; k < n; ++k) ring.push_back(ToOwnUnit(line, line->GetPoint(k)));
        } else if (Same(ToOwnUnit(line, LastPoint(line)), end)) {
            ring.pop_back();
            for (int k = n - 1; k >= 0; --k) ring.push_back(ToOwnUnit(line, line->GetPoint(k)));
        } else {
            return 0;
        }
    }
    points = new POINT[ring.size()];
    for (size_t k = 0; k < ring.size(); ++k) points[k] = ring[k];
    count = static_cast<int>(ring.size()) - 1;
    return 1;
}

int CGeoPolygon2::Intersects(const CRect& rect) {
    POINT* points = nullptr;
    int count = 0;
    if (!GetPolygonPoints(points, count)) return 0;
    const int result = ::PolygonXRect(points, count, rect);
    delete[] points;
    return result;
}

// ---------------------------------------------------------------------------------------------------
// Copies

CGeoObject* CGeoPolygon2::Duplicate(int withAttribute, int withRecord) {
    CGeoPolygon2* copy = new CGeoPolygon2;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoPolygon2::CopyData(const CGeoVectorObject& src) {
    if (!CGeoVectorObject::CopyData(src)) return 0;
    m_Lines.RemoveAll();
    m_IDs.RemoveAll();
    CGeoLayer* pLayer = GetLayer();
    if (pLayer && src.IsKindOf(RUNTIME_CLASS(CGeoPolygon2))) {
        const CGeoPolygon2& other = static_cast<const CGeoPolygon2&>(src);
        for (POSITION pos = other.m_Lines.GetHeadPosition(); pos;) {
            CGeoPLine* line = other.m_Lines.GetNext(pos);
            if (!line) continue;
            CGeoObject* dup = line->Duplicate(0, 1);
            if (!dup) continue;
            CGeoPLine* copy = static_cast<CGeoPLine*>(dup);
            if (!pLayer->Add(copy)) {
                copy->Remove();
                continue;
            }
            m_Lines.AddTail(copy);
            m_IDs.Add(copy->GetID());
        }
    }
    RecalcBounds();
    return 1;
}

// ---------------------------------------------------------------------------------------------------
// Geometry

void CGeoPolygon2::RecalcBounds() {
    CRect bounds(0, 0, 0, 0);
    bool any = false;
    for (POSITION pos = m_Lines.GetHeadPosition(); pos;) {
        const CGeoPLine* line = m_Lines.GetNext(pos);
        if (!line) continue;
        CRect r = line->GetBoundsInMillimeter();
        if (GetUnit() != 3) ::ChangeUnit(3, GetUnit(), static_cast<RECT&>(r), 1.0);
        r.NormalizeRect();
        if (!any) {
            bounds = r;
            any = true;
        } else {
            bounds.left = std::min(bounds.left, r.left);
            bounds.top = std::min(bounds.top, r.top);
            bounds.right = std::max(bounds.right, r.right);
            bounds.bottom = std::max(bounds.bottom, r.bottom);
        }
    }
    m_rcBounds = bounds;
}

CPoint CGeoPolygon2::GetVisiblePoint() const {
    const CRect r = GetBounds();
    return CPoint(static_cast<int>((static_cast<double>(r.left) + r.right) / 2.0),
                  static_cast<int>((static_cast<double>(r.top) + r.bottom) / 2.0));
}

void CGeoPolygon2::Move(CSize d) {
    if (!CanMove() || (d.cx == 0 && d.cy == 0)) return;
    for (POSITION pos = m_Lines.GetHeadPosition(); pos;) {
        CGeoPLine* line = m_Lines.GetNext(pos);
        if (!line) continue;
        CSize own = d;
        if (line->GetUnit() != GetUnit()) ::ChangeUnit(GetUnit(), line->GetUnit(), static_cast<SIZE&>(own), 1.0);
        line->Move(own);
    }
    m_rcBounds.OffsetRect(d);
}

int CGeoPolygon2::GetHandleCount() const {
    int total = 0;
    for (POSITION pos = m_Lines.GetHeadPosition(); pos;) {
        const CGeoPLine* line = m_Lines.GetNext(pos);
        if (line) total += line->GetHandleCount();
        total -= 1;
    }
    return total;
}

CPoint CGeoPolygon2::GetHandle(int nHandle) const {
    if (nHandle <= 0) return CPoint(0, 0);
    int j = nHandle;
    for (POSITION pos = m_Lines.GetHeadPosition(); pos;) {
        const CGeoPLine* line = m_Lines.GetNext(pos);
        if (!line || line->GetPoints() < 1) return CPoint(0, 0);
        const int b = line->GetHandleCount();
        if (b < j) {
            j -= b - 1;
            continue;
        }
        const CGeoPLine* next = pos ? m_Lines.GetAt(pos) : m_Lines.GetHead();
        if (!next || next->GetPoints() < 1) return CPoint(0, 0);
        int index = 0;
        if (next == line) {
            index = j;
        } else {
            const bool lastJoins = IsEndOf(LastPoint(line), next);
            const bool firstJoins = IsEndOf(FirstPoint(line), next);
            if (j == b)
                index = lastJoins ? b : (firstJoins ? 1 : 0);
            else
                index = lastJoins ? j : (firstJoins ? b - j + 1 : 0);
        }
        // Neither end meets the next line: the chain is broken here, look on along it.
        if (index == 0) continue;
        return ToOwnUnit(line, line->GetHandle(index));
    }
    return CPoint(0, 0);
}

HCURSOR CGeoPolygon2::GetHandleCursor(int) const { return LoadCursor(nullptr, IDC_SIZEALL); }

int CGeoPolygon2::CanMoveHandle(int) const { return 0; }
int CGeoPolygon2::CanDeleteHandle(int) const { return 0; }
int CGeoPolygon2::CanAddHandle(int) const { return 0; }
void CGeoPolygon2::MoveHandleTo(int, CPoint) {}
void CGeoPolygon2::DeleteHandle(int) {}
void CGeoPolygon2::AddHandle(int) {}

// ---------------------------------------------------------------------------------------------------
// Style and drawing

void CGeoPolygon2::OnPrepareGeoView(GEOVIEW& view, SHOWSTATE state) { ApplyAreaShowState(view, state, 1.0f, 10.0f); }

void CGeoPolygon2::OnDrawWithSymbolization(CDC*, UINT, UINT, CPoint, CPoint, const GEOVIEW&, RECT*, int, int, void*,
                                           int) {}

void CGeoPolygon2::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT, CPoint origin, CPoint offset,
                                              const GEOVIEW& view, RECT*, int, int, int) {
    if (!pDC) return;
    POINT* points = nullptr;
    int count = 0;
    if (!GetPolygonPoints(points, count)) return;
    const int n = count + 1;
    std::vector<POINT> device(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) device[k] = RPtoLP(scale, origin, offset, points[k]);
    delete[] points;

    // A width GDI cannot take (negative, not finite, beyond int) draws the thinnest line.
    const float fw = view.m_fLineWidth;
    const int width = (std::isfinite(fw) && fw >= 0.0f && fw < static_cast<float>(INT_MAX)) ? static_cast<int>(fw) : 0;
    // Only the defined hatch styles make a hatch brush; anything else fills solid.
    const int shape = view.m_nFillShape;
    const int hatch = (shape >= HS_VERTICAL && shape <= HS_DIAGCROSS) ? shape : -1;

    CShapePainter painter(pDC);
    if (view.m_bTransparent) {
        painter.SetROP2(R2_MASKPEN);
        painter.SelectStockObject(NULL_PEN);
        painter.SelectFillBrush(hatch, view.m_crFillColor);
        pDC->Polygon(device.data(), n);
        painter.SetROP2(R2_COPYPEN);
        painter.SelectStockObject(NULL_BRUSH);
        painter.SelectPen(GetLineShape(view.m_nLineShape), width, view.m_crLineColor);
        pDC->Polygon(device.data(), n);
    } else {
        painter.SelectPen(GetLineShape(view.m_nLineShape), width, view.m_crLineColor);
        painter.SelectFillBrush(hatch, view.m_crFillColor);
        pDC->Polygon(device.data(), n);
    }
    painter.Restore();
}

int CGeoPolygon2::GetObjectSymbolID(GEOVIEW view) const { return view.GetSymbol(SYMBOL_FILL); }

CString CGeoPolygon2::GetObjectTypeName() const { return CString("多边形"); }

void CGeoPolygon2::DefaultObjectName() {
    CString name;
    name.Format("多边形 %d", s_nPolygon2Count);
    m_strName = name;
}

void CGeoPolygon2::OnUnitChanged(int nOldUnit) { CGeoVectorObject::OnUnitChanged(nOldUnit); }
