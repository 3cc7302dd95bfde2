#include "DrawTestSupport.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>

#include <cmath>
#include <memory>

IMPLEMENT_DYNAMIC(CDrawTestBox, CGeoVectorObject)
IMPLEMENT_DYNAMIC(CDrawTestLine, CGeoLine)

std::vector<DrawCall>& DrawLog()
{
    static std::vector<DrawCall> log;
    return log;
}

CDrawTestBox::CDrawTestBox(const CRect& bounds)
{
    m_rcBounds = bounds;
    m_rcBounds.NormalizeRect();
}

int CDrawTestBox::OnGetGeoViewBegin(GEOVIEW& view, tagDisplayState)
{
    if (m_nBeginResult == 0) view = m_BeginView;
    return m_nBeginResult;
}

void CDrawTestBox::Log(const char* hook, const GEOVIEW& view, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                       RECT* pClip, int xorMode, int word8, void* lib, int keep, int widths) const
{
    DrawCall c;
    c.object = this;
    c.hook = hook;
    c.view = view;
    c.scale = scale;
    c.scale2 = scale2;
    c.origin = origin;
    c.offset = offset;
    c.clip = pClip;
    c.xorMode = xorMode;
    c.word8 = word8;
    c.symbolLib = lib;
    c.keepColours = keep;
    c.scaleWidths = widths;
    DrawLog().push_back(c);
}

void CDrawTestBox::Paint(CDC* pDC, UINT scale, CPoint origin, CPoint offset, COLORREF colour, int rop2,
                         bool fill) const
{
    const CRect r = RPtoLP(scale, origin, offset, GetBounds());
    CPen pen(PS_SOLID, 1, colour);
    CBrush brush(colour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CGdiObject* pOldBrush = fill ? static_cast<CGdiObject*>(pDC->SelectObject(&brush)) : pDC->SelectStockObject(NULL_BRUSH);
    const int oldRop = pDC->SetROP2(rop2);
    pDC->Rectangle(&r);
    pDC->SetROP2(oldRop);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void CDrawTestBox::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                           const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                           void* pSymbolLib, int keepColours)
{
    Log("draw+sym", view, scale, scale2, origin, offset, pClip, xorMode, nWord8, pSymbolLib, keepColours, -1);
    Paint(pDC, scale, origin, offset, view.m_crLineColor, R2_COPYPEN, false);
    if (m_bClearDrawFlag) CGeoVectorLayer::SetLayerDrawFlag(0);
}

void CDrawTestBox::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                              const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                              int scaleWidths)
{
    Log("draw", view, scale, scale2, origin, offset, pClip, xorMode, nWord8, nullptr, -1, scaleWidths);
    Paint(pDC, scale, origin, offset, view.m_crLineColor, R2_COPYPEN, false);
    if (m_bClearDrawFlag) CGeoVectorLayer::SetLayerDrawFlag(0);
}

void CDrawTestBox::OnHideWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                           RECT* pClip)
{
    Log("hide+sym", view, scale, scale2, origin, CPoint(0, 0), pClip, 0, 0, nullptr, -1, -1);
    Paint(pDC, scale, origin, CPoint(0, 0), 0x3366CC, R2_NOTXORPEN, true);
}

void CDrawTestBox::OnHideWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin,
                                              const GEOVIEW& view, RECT* pClip)
{
    Log("hide", view, scale, scale2, origin, CPoint(0, 0), pClip, 0, 0, nullptr, -1, -1);
    Paint(pDC, scale, origin, CPoint(0, 0), 0x3366CC, R2_NOTXORPEN, true);
}

void CDrawTestBox::OnBlinkWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                            RECT* pClip)
{
    Log("blink+sym", view, scale, scale2, origin, CPoint(0, 0), pClip, 0, 0, nullptr, -1, -1);
    Paint(pDC, scale, origin, CPoint(0, 0), 0x00FF80, R2_XORPEN, true);
}

void CDrawTestBox::OnBlinkWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin,
                                               const GEOVIEW& view, RECT* pClip)
{
    Log("blink", view, scale, scale2, origin, CPoint(0, 0), pClip, 0, 0, nullptr, -1, -1);
    Paint(pDC, scale, origin, CPoint(0, 0), 0x00FF80, R2_XORPEN, true);
}

int CDrawTestBox::GetSnapPointA(CPoint& point, CRect, int& nIndex, SNAPTYPE, LONG)
{
    ++m_nSnapCalls;
    point = GetBounds().TopLeft();
    nIndex = 0;
    return 7;
}

int CDrawTestBox::OnMirror(POINT a, POINT b)
{
    m_MirrorAxis = {a, b};
    return m_nMirrorResult;
}

void CDrawTestBox::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0)
{
    const CRect b = GetBounds();
    POINT corners[2] = {{b.left, b.top}, {b.right, b.bottom}};
    for (POINT& p : corners) {
        double x = ::ChangeUnit(GetUnit(), 6, static_cast<double>(p.x)) + x0;
        double y = ::ChangeUnit(GetUnit(), 6, static_cast<double>(p.y)) + y0;
        transformer.Transform(x, y, x, y);
        if (transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer))) {
            const CBaseCoordinateTransformer& base = static_cast<const CBaseCoordinateTransformer&>(transformer);
            x -= base.GetSecondOffsetX();
            y -= base.GetSecondOffsetY();
        }
        p.x = static_cast<LONG>(std::trunc(::ChangeUnit(6, GetUnit(), x)));
        p.y = static_cast<LONG>(std::trunc(::ChangeUnit(6, GetUnit(), y)));
    }
    m_rcBounds = CRect(corners[0], corners[1]);
    m_rcBounds.NormalizeRect();
}

CDrawTestLine::CDrawTestLine(const CRect& bounds) { m_rcBounds = bounds; }

int CDrawTestLine::CanConvertTo(WORD code, DWORD) const { return (code & 0xFF) == 0; }

CGeoLine* CDrawTestLine::ConvertMeTo(WORD code, DWORD flags) const
{
    if (!CanConvertTo(code, flags)) return nullptr;
    const POINT pts[2] = {{m_rcBounds.left, m_rcBounds.top}, {m_rcBounds.right, m_rcBounds.bottom}};
    return new CGeoPLine(2, pts, FALSE);
}

namespace {

CRuntimeClass* LibraryClassOrStandIn(const char* name, CRuntimeClass& standIn)
{
    if (CRuntimeClass* pClass = CRuntimeClass::FromName(name)) return pClass;
    static std::vector<std::unique_ptr<afx::ClassRegistrar>> registrars;
    registrars.push_back(std::make_unique<afx::ClassRegistrar>(&standIn));
    return &standIn;
}

}  // namespace

CRuntimeClass* PolygonKind()
{
    static CRuntimeClass standIn = {"CGeoPolygon", 0, 0xFFFF, nullptr, RUNTIME_CLASS(CGeoVectorObject)};
    static CRuntimeClass* pKind = LibraryClassOrStandIn("CGeoPolygon", standIn);
    return pKind;
}

CRuntimeClass* PointKind()
{
    static CRuntimeClass standIn = {"CGeoPoint", 0, 0xFFFF, nullptr, RUNTIME_CLASS(CGeoVectorObject)};
    static CRuntimeClass* pKind = LibraryClassOrStandIn("CGeoPoint", standIn);
    return pKind;
}

bool IsStandInKind(const CRuntimeClass* pKind) { return pKind->m_nObjectSize == 0; }

CDrawTestKindBox::CDrawTestKindBox(const CRect& bounds, CRuntimeClass* pKind)
    : CDrawTestBox(bounds),
      m_Class{"CDrawTestKindBox", static_cast<int>(sizeof(CDrawTestKindBox)), 0xFFFF, nullptr, pKind}
{
}

CTestDC::CTestDC(int kind, int width, int height)
{
    HDC hdc = kind == 1 ? win32::CreatePrinterDC(width, height, 96)
                        : (kind == 2 ? win32::CreateImageDC(width, height) : win32::CreateRecordingDC(width, height));
    Attach(hdc);
    if (kind == 1) win32::StartRecording(hdc);
}

std::vector<win32::GdiRecord> CTestDC::Records(const char* call) const
{
    std::vector<win32::GdiRecord> out;
    for (const win32::GdiRecord& r : Records())
        if (r.call == call) out.push_back(r);
    return out;
}

tagDisplayState DisplayState(int attr)
{
    tagDisplayState ds{};
    ds.m_nDisplayAttr = attr;
    return ds;
}
