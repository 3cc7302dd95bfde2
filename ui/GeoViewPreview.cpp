#include "ui/GeoViewPreview.h"

#include "annotation/AnnoStyleSample.h"
#include "annotation/GeoAnnoRecord.h"

#include <afx/Dc.h>
#include <afx/GdiObject.h>
#include <caddox/FillShape.h>
#include <caddox/Font.h>
#include <caddox/LineShape.h>
#include <quenby/SymbolLibIO.h>

IMPLEMENT_DYNAMIC(CGeoViewPreview, CStatic)
IMPLEMENT_DYNAMIC(CGeoViewSymbolPreview, CStatic)

BEGIN_MESSAGE_MAP(CGeoViewPreview, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CGeoViewSymbolPreview, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CGeoViewPreview::SetData(GEOVIEW gv, int nKind) {
    m_GeoView = gv;
    m_nKind = nKind;
    if (m_hWnd) Invalidate(TRUE);
}

void CGeoViewPreview::OnPaint() {
    CPaintDC dc(this);
    SetWindowText("");
    CRect rc;
    GetClientRect(&rc);
    const int w = rc.Width(), h = rc.Height();
    const GEOVIEW& gv = m_GeoView;
    CPen pen(GetLineShape(gv.m_nLineShape), static_cast<int>(gv.m_fLineWidth), gv.m_crLineColor);

    switch (m_nKind) {
    case 1: {
        CFont font;
        CreateFontA(&dc, &font, gv.m_nPointSize, 0, 2, "VOZivuz");
        CFont* pOldFont = dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(gv.m_crPointColor);
        const CPoint c = rc.CenterPoint();
        const int s = gv.m_nPointSize / 2;
        CRect box(c.x - s, c.y - s, c.x + s, c.y + s);
        const char glyph[2] = {static_cast<char>(gv.m_nPointShape & 0xFF), 0};
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(&rc);
        dc.DrawText(glyph, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.RestoreDC(saved);
        dc.SelectObject(pOldFont);
        break;
    }
    case 2: {
        CPen* pOldPen = dc.SelectObject(&pen);
        const POINT pts[4] = {{w / 7, h / 7 * 6}, {w / 7 * 3, h / 7 * 2}, {w / 7 * 5, h / 7 * 5}, {w / 7 * 6, h / 7}};
        dc.Polyline(pts, 4);
        dc.SelectObject(pOldPen);
        break;
    }
    case 3: {
        const int d = w / 10, c = h / 10;
        const POINT pts[7] = {{d, 9 * c}, {d, 6 * c}, {3 * d, 3 * c}, {5 * d, 4 * c},
                              {7 * d, 2 * c}, {9 * d, 6 * c}, {9 * d, 9 * c}};
        const int hatch = GetFillShape(gv.m_nFillShape);
        CBrush brush;
        if (hatch == -1) brush.CreateSolidBrush(gv.m_crFillColor);
        else brush.CreateHatchBrush(hatch, gv.m_crFillColor);
        CPen* pOldPen = dc.SelectObject(&pen);
        CBrush* pOldBrush = dc.SelectObject(&brush);
        if (gv.m_bTransparent) {
            dc.SetROP2(R2_MASKPEN);
            dc.SetBkMode(TRANSPARENT);
        }
        dc.Polygon(pts, 7);
        dc.SelectObject(pOldBrush);
        dc.SelectObject(pOldPen);
        break;
    }
    case 4: {
        GEOANNO anno;
        anno.m_strText = "中文字样";
        anno.m_nCharWidth = 100;
        anno.m_nCharHeight = 100;
        anno.m_nAlignType = 4;
        anno.m_nPositionType = 0;
        anno.m_fItalicAngle = 150.0f;
        anno.SetShowFrame(0);
        anno.SetFillFrame(0);
        CRect rcBounds = rc;
        rcBounds.DeflateRect(8, 8);
        anno.m_rcBounds = rcBounds;
        anno.m_ptPosition = rcBounds.CenterPoint();
        GEOVIEW view = gv;
        tagGEORECT margins;
        tagGEOFORMAT format;
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(&rcBounds);
        DrawTips(&dc, rcBounds, anno, view, margins, format, 1, 1);
        dc.RestoreDC(saved);
        break;
    }
    default:
        SetWindowText("");
        break;
    }
}

void CGeoViewSymbolPreview::SetData(GEOVIEW gv, int nKind, CSymbolLibIO* pLib) {
    m_GeoView = gv;
    m_nKind = nKind;
    m_pSymbolLib = pLib;
    if (m_hWnd) Invalidate(TRUE);
}

void CGeoViewSymbolPreview::OnPaint() {
    CPaintDC dc(this);
    SetWindowText("");
    if (!m_pSymbolLib || m_nKind < SYMBOL_POINT || m_nKind > SYMBOL_FILL) return;
    const LONG symbol = m_GeoView.GetSymbol(static_cast<SYMBOLTYPE>(m_nKind));
    const BOOL ofKind = m_nKind == SYMBOL_POINT  ? m_pSymbolLib->IsKindOfPointSymbol(symbol)
                        : m_nKind == SYMBOL_LINE ? m_pSymbolLib->IsKindOfLineSymbol(symbol)
                                                 : m_pSymbolLib->IsKindOfFillSymbol(symbol);
    if (!ofKind) return;
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(5, 5);
    m_pSymbolLib->DrawSymbolLegend(dc.m_hDC, symbol, &rc, nullptr, 1, nullptr, 13, nullptr, 0);
}
