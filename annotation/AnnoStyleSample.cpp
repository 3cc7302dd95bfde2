#include "annotation/AnnoStyleSample.h"

#include "annotation/AnnoLayout.h"
#include "annotation/DrawGeoAnno.h"
#include "annotation/FormatText.h"
#include "core/GeoView.h"

#include <afx/Dc.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The sample is drawn at this scale in millimetres, where one device pixel is 1000 drawing units.
constexpr UINT kSampleScale = 10000;
constexpr int kSampleUnit = 3;

int TruncToInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(std::trunc(v));
}

// Tenths of a millimetre -> device pixels at dpi pixels per inch.
double TenthsToPixels(double tenths, int dpi) { return ::ChangeUnit(3, 1, tenths / 10.0, 1.0) * dpi; }
int TenthsToPixelsInt(int tenths, int dpi) { return TruncToInt(TenthsToPixels(tenths, dpi)); }

// Device pixels -> drawing units at the sample scale.
int PixelsToUnits(int pixels) { return ::LPtoRP(kSampleScale, kSampleUnit, static_cast<LONG>(pixels), 1.0); }
int UnitsToPixels(int units) { return ::RPtoLP(kSampleScale, kSampleUnit, static_cast<LONG>(units), 1.0); }

// Half of an extent, by integer division.
int Halve(int v) { return v / 2; }

}  // namespace

void DrawTips(CDC* pDC, CRect& rect, GEOANNO& anno, GEOVIEW& view, tagGEORECT& margins, tagGEOFORMAT& format,
              int fit, int scaleSizes) {
    if (pDC == nullptr) return;
    GEOANNO a = anno;
    GEOVIEW v = view;
    tagGEOFORMAT f = format;
    tagGEORECT m = margins;
    const int px = pDC->GetDeviceCaps(LOGPIXELSX);
    const int py = pDC->GetDeviceCaps(LOGPIXELSY);
    const bool box = a.m_nPositionType == 2;

    // Physical sizes -> device pixels.
    a.m_nCharWidth = TenthsToPixelsInt(a.m_nCharWidth, px);
    a.m_nColSpace = TenthsToPixelsInt(a.m_nColSpace, px);
    a.m_fLineWidth = static_cast<float>(TenthsToPixels(a.m_fLineWidth, px));
    if (box) {
        a.m_rcBounds.left = TenthsToPixelsInt(a.m_rcBounds.left, px);
        a.m_rcBounds.right = TenthsToPixelsInt(a.m_rcBounds.right, px);
        a.m_rcBounds.top = TenthsToPixelsInt(a.m_rcBounds.top, px);
        a.m_rcBounds.bottom = TenthsToPixelsInt(a.m_rcBounds.bottom, px);
    }
    f.hor = TenthsToPixelsInt(f.hor, px);
    f.ver = TenthsToPixelsInt(f.ver, px);
    f.fen_hor = TenthsToPixelsInt(f.fen_hor, px);
    m.left = TenthsToPixelsInt(m.left, px);
    m.right = TenthsToPixelsInt(m.right, px);
    a.m_nCharHeight = TenthsToPixelsInt(a.m_nCharHeight, py);
    a.m_nRowSpace = TenthsToPixelsInt(a.m_nRowSpace, py);
    f.fen_ver = TenthsToPixelsInt(f.fen_ver, py);
    f.fen_shu_width = static_cast<float>(TenthsToPixels(f.fen_shu_width, py));
    m.top = TenthsToPixelsInt(m.top, py);
    m.bottom = TenthsToPixelsInt(m.bottom, py);
    v.m_nBufferWidth = TenthsToPixelsInt(v.m_nBufferWidth, py);

    // Device pixels -> drawing units: drawn at the sample scale they come out at these pixel sizes.
    CRect r = rect;
    ::LPtoRP(kSampleScale, kSampleUnit, static_cast<RECT&>(r), 1.0);
    ::LPtoRP(kSampleScale, kSampleUnit, static_cast<RECT&>(a.m_rcBounds), 1.0);
    a.m_ptPosition = CPoint(PixelsToUnits(a.m_ptPosition.x), PixelsToUnits(-a.m_ptPosition.y));
    a.m_nCharHeight = PixelsToUnits(a.m_nCharHeight);
    a.m_nCharWidth = PixelsToUnits(a.m_nCharWidth);
    a.m_nRowSpace = PixelsToUnits(a.m_nRowSpace);
    a.m_nColSpace = PixelsToUnits(a.m_nColSpace);
    a.m_fLineWidth = static_cast<float>(PixelsToUnits(TruncToInt(a.m_fLineWidth)));
    v.m_nBufferWidth = PixelsToUnits(v.m_nBufferWidth);
    f.hor = PixelsToUnits(f.hor);
    f.ver = PixelsToUnits(f.ver);
    f.fen_hor = PixelsToUnits(f.fen_hor);
    f.fen_ver = PixelsToUnits(f.fen_ver);
    f.fen_shu_width = static_cast<float>(PixelsToUnits(TruncToInt(f.fen_shu_width)));
    m.left = PixelsToUnits(m.left);
    m.right = PixelsToUnits(m.right);
    m.top = PixelsToUnits(m.top);
    m.bottom = PixelsToUnits(m.bottom);
    a.m_nUnit = kSampleUnit;
    a.m_ptRotateCenter = a.m_ptPosition;

    // The sample's extent.
    CPoint corners[4];
    for (CPoint& c : corners) c = a.m_ptPosition;
    GetFourSquarePoint(a, corners, 1, &f);
    int minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CPoint& c : corners) {
        minX = std::min<int>(minX, c.x);
        maxX = std::max<int>(maxX, c.x);
        minY = std::min<int>(minY, c.y);
        maxY = std::max<int>(maxY, c.y);
    }
    int w = TruncToInt(static_cast<double>(maxX) - minX);
    int h = TruncToInt(static_cast<double>(maxY) - minY);
    if (w < 2) w = 1;
    if (h < 2) h = 1;
    const double sx = static_cast<double>(r.Width()) / w;
    const double sy = static_cast<double>(r.Height()) / h;

    if (fit == 0) {
        const CPoint c = r.CenterPoint();
        if (box) {
            a.m_rcBounds = CRect(c.x - Halve(w), -c.y - Halve(h), c.x + Halve(w), Halve(h) - c.y);
        } else {
            a.m_ptPosition = CPoint(c.x, -c.y);
            a.m_nAlignType = 4;
        }
    } else {
        const double k = std::min(sx, sy);
        if (scaleSizes != 0) {
            a.m_nCharHeight = TruncToInt(a.m_nCharHeight * k);
            a.m_nCharWidth = TruncToInt(a.m_nCharWidth * k);
            a.m_nRowSpace = TruncToInt(a.m_nRowSpace * k);
            a.m_nColSpace = TruncToInt(a.m_nColSpace * k);
        } else {
            r.right += w - r.Width();
            if (r.Height() < h) r.bottom += h - r.Height();
            // The caller sees the rectangle the sample now takes, in its own pixels.
            CRect back = r;
            ::RPtoLP(kSampleScale, kSampleUnit, static_cast<RECT&>(back), 1.0);
            rect = back;
        }
        // Centred on the rectangle the sample is shown in (after it followed the sample).
        const CPoint c = r.CenterPoint();
        if (box) {
            a.m_rcBounds = CRect(TruncToInt(c.x - Halve(w) * k), -TruncToInt(c.y + Halve(h) * k),
                                 TruncToInt(c.x + Halve(w) * k), -TruncToInt(c.y - Halve(h) * k));
        } else {
            a.m_ptPosition = CPoint(c.x, -c.y);
            a.m_nAlignType = 4;
        }
    }
    a.m_ptRotateCenter = a.m_ptPosition;

    DrawGeoAnno(pDC, kSampleScale, 1, CPoint(0, 0), CPoint(0, 0), v, a, nullptr, 0, &m, &f, 0, 1);

    // The parts of a formatted text go back to the caller in device pixels.
    if (a.m_pPartOutput != nullptr && a.GetFormatStyle()) {
        CFormatPartArray& parts = *static_cast<CFormatPartArray*>(a.m_pPartOutput);
        for (tagFORMATPART& p : parts) {
            p.left = UnitsToPixels(p.left);
            p.right = UnitsToPixels(p.right);
            p.top = -UnitsToPixels(p.top);
            p.bottom = -UnitsToPixels(p.bottom);
        }
    }
}
