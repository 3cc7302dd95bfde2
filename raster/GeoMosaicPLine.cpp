#include "raster/GeoMosaicPLine.h"
#include "raster/RasterDialogHooks.h"

#include "core/GeoSettings.h"
#include "core/GeoView.h"
#include "raster/GeoImage.h"
#include "vector/GeoTinPoint.h"

#include <afx/Dc.h>
#include <afx/GdiObject.h>
#include <caddox/LineShape.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

IMPLEMENT_SERIAL(CGeoMosaicPLine, CGeoPLine, 1)

int ReferenceSideOf(int position) { return position == 1 ? 0 : position == 3 ? 2 : 4; }

namespace {
LONG Trunc(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}
}  // namespace

CGeoMosaicPLine::CGeoMosaicPLine() : CGeoPLine(50) { SetAutoRemoveByLayer(0); }

CGeoMosaicPLine::CGeoMosaicPLine(int n) : CGeoPLine(n), m_MosaicPoints(std::max(n, 0), stMosaicPoint{0, 0, 0, 0})
{
    SetAutoRemoveByLayer(0);
}

CGeoMosaicPLine::CGeoMosaicPLine(int n, tagPOINT* points, int)
    : CGeoPLine(n, points, FALSE), m_MosaicPoints(std::max(n, 0), stMosaicPoint{0, 0, 0, 0})
{
    SetAutoRemoveByLayer(0);
}

CGeoMosaicPLine::CGeoMosaicPLine(int n, tagPOINT* points, double s, double eOff, double nOff, tagRasterParameter p)
    : CGeoPLine(std::max(n, 0))
{
    SetAutoRemoveByLayer(0);
    const double g = p.m_dPixelSize;
    for (int i = 0; i < n && points; ++i) {
        const double x = points[i].x / s, y = points[i].y / s;
        m_MosaicPoints.push_back({x, y, x * g + eOff, y * g + nOff});
        CGeoPLine::AddPoint(POINT{Trunc(x), Trunc(y)});
    }
}

CGeoMosaicPLine::CGeoMosaicPLine(CGeoMosaicPLine& src, int copyAttributes, int attributeMode)
    : CGeoPLine(50), m_ReferenceBuffer(src.m_ReferenceBuffer)
{
    SetAutoRemoveByLayer(0);
    m_nImagePosition = src.m_nImagePosition;
    Copy(src, copyAttributes, attributeMode);
    Append(&src, 0, 0);
    m_bClosed = src.m_bClosed;
    RebuildSegments();
}

CGeoMosaicPLine::~CGeoMosaicPLine() = default;

void CGeoMosaicPLine::Serialize(CArchive& ar)
{
    CGeoPLine::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_MosaicPoints.size());
        for (const stMosaicPoint& p : m_MosaicPoints) ar << p.E << p.N << p.x << p.y;
        ar << m_strHead << m_strTail << static_cast<DWORD>(m_nImagePosition);
    } else {
        m_nFocusNode = -1;
        m_MosaicPoints.clear();
        DWORD n = 0;
        ar >> n;
        // 32 bytes a point: refuse a count no sane line has before allocating anything for it.
        if (n > 0x1000000) AfxThrowArchiveException(CArchiveException::badIndex);
        ar.EnsureAvailable(static_cast<ULONGLONG>(n) * 32u);
        for (DWORD i = 0; i < n; ++i) {
            stMosaicPoint p;
            ar >> p.E >> p.N >> p.x >> p.y;
            m_MosaicPoints.push_back(p);
        }
        DWORD position = 0;
        ar >> m_strHead >> m_strTail >> position;
        m_nImagePosition = static_cast<int>(position);
    }
    m_StandardHistogram.Serialize(ar);
    m_ReferenceBuffer.Serialize(ar);
    RebuildSegments();
}

int CGeoMosaicPLine::SetClosedFlag(int closed)
{
    const int old = m_bClosed;
    m_bClosed = closed;
    return old;
}

int CGeoMosaicPLine::SetFocusNode(int index)
{
    const int old = m_nFocusNode;
    m_nFocusNode = index;
    return old;
}

int CGeoMosaicPLine::GetX(int i) const
{
    // Saturated: a stored position may lie beyond any int.
    return i >= 0 && i < GetMosaicPoints() ? Trunc(m_MosaicPoints[i].x + 0.5) : 0;
}

int CGeoMosaicPLine::GetY(int i) const
{
    return i >= 0 && i < GetMosaicPoints() ? Trunc(m_MosaicPoints[i].y + 0.5) : 0;
}

void CGeoMosaicPLine::SetGeoStandardHistogram(CRect r) { m_StandardHistogram.SetExtent(r.top, r.bottom, r.left, r.right); }

int CGeoMosaicPLine::SetHeadNodeCoordinate(double e, double n)
{
    if (m_MosaicPoints.empty()) return 0;
    m_MosaicPoints.front().E = e;
    m_MosaicPoints.front().N = n;
    return 1;
}

int CGeoMosaicPLine::SetTailNodeCoordinate(double e, double n)
{
    if (m_MosaicPoints.empty()) return 0;
    m_MosaicPoints.back().E = e;
    m_MosaicPoints.back().N = n;
    return 1;
}

int CGeoMosaicPLine::GetMapExt(double& minE, double& minN, double& maxE, double& maxN, int init)
{
    if (m_MosaicPoints.empty()) return 0;
    if (init) {
        minE = maxE = m_MosaicPoints[0].E;
        minN = maxN = m_MosaicPoints[0].N;
    }
    for (const stMosaicPoint& p : m_MosaicPoints) {
        minE = std::min(minE, p.E);
        maxE = std::max(maxE, p.E);
        minN = std::min(minN, p.N);
        maxN = std::max(maxN, p.N);
    }
    return 1;
}

POINT* CGeoMosaicPLine::GetPixelPoints(double k) const
{
    POINT* out = new POINT[std::max<size_t>(m_MosaicPoints.size(), 1)];
    for (size_t i = 0; i < m_MosaicPoints.size(); ++i)
        out[i] = POINT{Trunc(m_MosaicPoints[i].x * k), Trunc(m_MosaicPoints[i].y * k)};
    return out;
}

int CGeoMosaicPLine::IsMosaicNode() const
{
    return !m_strHead.IsEmpty() && !m_strTail.IsEmpty() && GetMosaicPoints() == 1 && m_strHead == m_strTail;
}

int CGeoMosaicPLine::Equal(CGeoMosaicPLine* other) const
{
    if (!other || m_strHead.IsEmpty() || m_strTail.IsEmpty()) return 0;
    if (GetMosaicPoints() != other->GetMosaicPoints()) return 0;
    if (!(m_strHead == other->m_strHead) || !(m_strTail == other->m_strTail)) return 0;
    for (int i = 1; i + 1 < GetMosaicPoints(); ++i)
        if (std::fabs(m_MosaicPoints[i].E - other->m_MosaicPoints[i].E) >= 0.001 ||
            std::fabs(m_MosaicPoints[i].N - other->m_MosaicPoints[i].N) >= 0.001)
            return 0;
    return 1;
}

void CGeoMosaicPLine::AddPoint(double px, double py, double e, double n)
{
    if (CGeoPLine::AddPoint(POINT{Trunc(px), Trunc(py)})) m_MosaicPoints.push_back({px, py, e, n});
}

int CGeoMosaicPLine::AddMosaicPoint(tagPOINT pt, stMosaicPoint mp, CString name)
{
    if (!CGeoPLine::AddPoint(pt)) return 0;
    m_MosaicPoints.push_back(mp);
    if (m_MosaicPoints.size() == 1) {
        m_strHead = m_strTail = name;
    } else if (!(name == m_strHead)) {
        m_strTail = name;
    }
    return 1;
}

int CGeoMosaicPLine::Append(CGeoMosaicPLine* other, int reverse, int skip)
{
    if (!other || other->m_MosaicPoints.empty()) return 0;
    // A copy first: other may be this line.
    const std::vector<stMosaicPoint> from = other->m_MosaicPoints;
    const int count = static_cast<int>(from.size()) - std::max(skip, 0);
    if (count <= 0) return 0;
    for (int k = 0; k < count; ++k) m_MosaicPoints.push_back(reverse ? from[from.size() - 1 - k] : from[k]);
    return count;
}

int CGeoMosaicPLine::FindInsertIndex(tagPOINT pt, UINT scale, int byX)
{
    const LONG r = ::LPtoRP(scale, GetUnit(), static_cast<LONG>(GetHandleRadius()), 1.0);
    for (int k = GetHandleCount(); k >= 1; --k) {
        const CPoint h = GetHandle(k);
        if (pt.x >= h.x - r && pt.x < h.x + r && pt.y >= h.y - r && pt.y < h.y + r) return -1;
    }
    for (int i = 0; i + 1 < GetPoints(); ++i) {
        const CPoint a = GetPoint(i), b = GetPoint(i + 1);
        const LONG v = byX ? pt.x : pt.y, p = byX ? a.x : a.y, q = byX ? b.x : b.y;
        if ((v > p && v < q) || (v > q && v < p)) return i + 1;
    }
    return -1;
}

int CGeoMosaicPLine::InsertMosaicPoint(tagPOINT pt, UINT scale, stMosaicPoint mp, int byX)
{
    if (GetPoints() <= 1) return -1;
    const int i = FindInsertIndex(pt, scale, byX);
    if (i < 0) return -1;
    InsertPointBefore(pt, i);
    if (i <= GetMosaicPoints()) m_MosaicPoints.insert(m_MosaicPoints.begin() + i, mp);
    return i;
}

void CGeoMosaicPLine::MoveMosaicPointTo(int i, tagPOINT pt, stMosaicPoint mp)
{
    if (i <= 0 || i > GetPoints() - 2) return;
    MovePointTo(i, pt);
    if (i < GetMosaicPoints()) m_MosaicPoints[i] = mp;
}

void CGeoMosaicPLine::RemoveMosaicPointAt(int i)
{
    if (i <= 0 || i > GetPoints() - 2) return;
    DeletePoint(i);
    if (i < GetMosaicPoints()) m_MosaicPoints.erase(m_MosaicPoints.begin() + i);
}

int CGeoMosaicPLine::FindInnerNodeIndex(CPoint pt, UINT scale)
{
    if (GetPoints() <= 2) return -1;
    const LONG r = ::LPtoRP(scale, GetUnit(), static_cast<LONG>(GetHandleRadius()), 1.0);
    for (int k = GetHandleCount(); k >= 1; --k) {
        const CPoint h = GetHandle(k);
        if (pt.x >= h.x - r && pt.x < h.x + r && pt.y >= h.y - r && pt.y < h.y + r) return k - 1;
    }
    return -1;
}

void CGeoMosaicPLine::ResetMosaicPLine()
{
    Clear();
    m_MosaicPoints.clear();
    m_strHead.Empty();
    m_strTail.Empty();
    m_nFocusNode = -1;
}

void CGeoMosaicPLine::ResetPixelCoord(CGeoImage* image)
{
    if (!image) return;
    double ox = 0, oy = 0;
    image->GetOrigin(ox, oy);
    const int unit = image->GetUnit();
    ox = ::ChangeUnit(6, unit, ox) + image->GetBasePoint().x;
    oy = ::ChangeUnit(6, unit, oy) + image->GetBasePoint().y;
    POINT* slots = GetPointBuffer();
    const int stride = GetPointSize(0);
    const int n = std::min(GetPoints(), GetMosaicPoints());
    for (int i = 0; i < n && slots; ++i) {
        const double e = ::ChangeUnit(GetUnit(), unit, m_MosaicPoints[i].E);
        const double nn = ::ChangeUnit(GetUnit(), unit, m_MosaicPoints[i].N);
        slots[i * stride] = POINT{Trunc(e - ox + 0.5), Trunc(nn - oy + 0.5)};
    }
}

void CGeoMosaicPLine::ShiftPixels(double dx, double dy)
{
    for (stMosaicPoint& p : m_MosaicPoints) {
        p.x -= dx;
        p.y -= dy;
    }
}

LONG CGeoMosaicPLine::CreateTinPoints(CGeoTinPoint*& cursor, CPoint& centre)
{
    const int n = GetMosaicPoints();
    for (int k = 0; k < n; ++k) {
        const double dx = double(GetX(k)) - centre.x, dy = double(GetY(k)) - centre.y;
        cursor->SetNumber(k);
        cursor->SetMainBody(this);
        cursor->SetDistance(dx * dx + dy * dy);
        ++cursor;
    }
    return n;
}

int CGeoMosaicPLine::EditProperties(int, int, void*)
{
    const tagRasterDialogHooks& hooks = GetRasterDialogHooks();
    return hooks.pfnMosaicLineProperties ? hooks.pfnMosaicLineProperties(this) : 0;
}

CString CGeoMosaicPLine::ShortNodeName(const CString& name)
{
    const int n = name.GetLength();
    if (n <= 6) return name;
    const int underscore = name.ReverseFind('_');
    if (underscore >= 0) return ".." + name.Mid(underscore + 1);
    // The last four bytes, moved forward when they would start on the second byte of a character.
    int cut = 0;
    while (cut < n - 4) cut += (static_cast<unsigned char>(name[cut]) >= 0x81 && cut + 1 < n) ? 2 : 1;
    return ".." + name.Mid(cut);
}

void CGeoMosaicPLine::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT, CPoint origin, CPoint offset,
                                                 const GEOVIEW& view, RECT*, int xorMode, int, int)
{
    const int n = GetPoints();
    if (!pDC || n <= 0) return;
    const int width = static_cast<int>(view.m_fLineWidth);
    CPen segment(GetLineShape(view.m_nLineShape), width, view.m_crLineColor);
    CPen node(GetLineShape(view.m_nLineShape), width, view.m_crPointColor);
    CPen focus(PS_SOLID, 2, ~view.m_crPointColor & 0xFFFFFF);
    CPen* oldPen = pDC->SelectObject(&node);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    const int oldRop = xorMode ? pDC->SetROP2(R2_XORPEN) : 0;
    auto cross = [pDC](CPoint p, int h) {
        // Saturated: a point at the edge of the coordinate range still gets its arms.
        auto at = [](LONG v, int d) {
            return static_cast<int>(std::clamp<int64_t>(int64_t(v) + d, INT_MIN, INT_MAX));
        };
        pDC->MoveTo(at(p.x, -h), p.y);
        pDC->LineTo(at(p.x, h), p.y);
        pDC->MoveTo(p.x, at(p.y, -h));
        pDC->LineTo(p.x, at(p.y, h));
    };
    auto label = [pDC](CPoint p, const CString& text) {
        const COLORREF oldColor = pDC->SetTextColor(RGB(255, 0, 0));
        const int oldMode = pDC->SetBkMode(TRANSPARENT);
        pDC->TextOut(p.x + 15, p.y + 15, ShortNodeName(text));
        pDC->SetBkMode(oldMode);
        pDC->SetTextColor(oldColor);
    };
    CPoint prev = RPtoLP(scale, origin, offset, GetPoint(0));
    cross(prev, 15);
    if (!m_strHead.IsEmpty()) label(prev, m_strHead);
    for (int j = 1; j < n; ++j) {
        const CPoint p = RPtoLP(scale, origin, offset, GetPoint(j));
        pDC->SelectObject(&segment);
        pDC->MoveTo(prev);
        pDC->LineTo(p);
        if (j == m_nFocusNode && j != n - 1) {
            pDC->SelectObject(&focus);
            cross(p, 30);
        } else {
            pDC->SelectObject(&node);
            cross(p, 15);
        }
        pDC->MoveTo(p);
        if (j == n - 1 && !m_strTail.IsEmpty() && !(m_strTail == m_strHead)) label(p, m_strTail);
        prev = p;
    }
    if (xorMode) pDC->SetROP2(oldRop);
    if (oldBrush) pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
