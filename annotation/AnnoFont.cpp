#include "annotation/AnnoFont.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/AnnoLayout.h"
#include "core/GeoView.h"
#include "vector/GeoPolygonLine.h"

#include <win32/gdirecord.h>
#include <afx/Dc.h>
#include <ostrel/Units.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

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

const tagANNOFONTSIZE kFontSizes[] = {
    {"特号", 15.75}, {"小特", 14.7}, {"初号", 12.6}, {"小初", 10.5}, {"一号", 9.8},  {"小一", 8.5},
    {"二号", 7.35},  {"小二", 6.3},  {"三号", 5.513}, {"小三", 5.0}, {"四号", 4.5},  {"小四", 4.2},
    {"五号", 3.675}, {"小五", 3.15}, {"六号", 2.8},  {"小六", 2.756}, {"七号", 2.1}, {"八号", 1.4},
    {"7", 7 * 0.25},   {"8", 8 * 0.25},   {"9", 9 * 0.25},   {"10", 10 * 0.25}, {"11", 11 * 0.25},
    {"12", 12 * 0.25}, {"13", 13 * 0.25}, {"14", 14 * 0.25}, {"15", 15 * 0.25}, {"16", 16 * 0.25},
    {"18", 18 * 0.25}, {"20", 20 * 0.25}, {"24", 24 * 0.25}, {"28", 28 * 0.25}, {"32", 32 * 0.25},
    {"38", 38 * 0.25}, {"44", 44 * 0.25}, {"50", 50 * 0.25}, {"56", 56 * 0.25}, {"62", 62 * 0.25},
};

const tagANNOFACESCALE kFaceScales[] = {
    {"宋体", 1.1, 1.1}, {"隶书", 1.4, 1.4}, {"黑体", 1.1, 1.1}, {"仿宋", 1.1, 1.1}, {"楷体_GB2312", 1.1, 1.1},
};

// The shear angle after its direction and folding rules.
double FoldShear(double a)
{
    if (a > M_PI / 2) a -= M_PI / 2;
    if (a < -M_PI) a += M_PI / 2;
    return a;
}

}  // namespace

const tagANNOFONTSIZE* GetAnnoFontSizeTable(int& count)
{
    count = static_cast<int>(sizeof(kFontSizes) / sizeof(kFontSizes[0]));
    return kFontSizes;
}

const tagANNOFACESCALE* GetAnnoFaceScaleTable(int& count)
{
    count = static_cast<int>(sizeof(kFaceScales) / sizeof(kFaceScales[0]));
    return kFaceScales;
}

CFont* CreateAnnoFont(CDC* pDC, UINT scale, UINT /*scale2*/, const GEOVIEW& view, GEOANNO& anno, CFont& font)
{
    if (pDC == nullptr) return nullptr;
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    std::memcpy(lf.lfFaceName, view.m_szFaceName, sizeof(lf.lfFaceName));
    lf.lfFaceName[sizeof(lf.lfFaceName) - 1] = 0;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 0;
    lf.lfQuality = 2;
    lf.lfPitchAndFamily = 0x22;
    lf.lfCharSet = 134;
    lf.lfWeight = (view.m_dwTextFlags & GEOVIEW_TEXT_BOLD) ? 700 : anno.m_nBoldValue;
    const bool upright = (view.m_dwTextFlags & (GEOVIEW_TEXT_SLANT | GEOVIEW_TEXT_SONGJIAN)) != 0 ||
                         anno.m_nPositionType == 2 || anno.m_nOutputMode == 1;
    lf.lfOrientation = upright ? 0 : TruncInt(anno.m_fEscapeAngle);
    lf.lfEscapement = upright ? 0 : TruncInt(anno.m_fOrientAngle);
    if (static_cast<int>(scale) <= 0) return nullptr;

    LONG w = ::RPtoLP(scale, anno.m_nUnit, static_cast<LONG>(RoundHalfUp(anno.m_nCharWidth / 2.0)), 1.0);
    LONG h = ::RPtoLP(scale, anno.m_nUnit, static_cast<LONG>(anno.m_nCharHeight), 1.0);
    lf.lfWidth = w < 1 ? 1 : w;
    lf.lfHeight = -(h < 1 ? 1 : h);

    const int align = anno.m_nOutputMode == 1 ? 0 : anno.m_nAlignType;
    if (align == 2 || align == 5 || align == 8)
        pDC->SetTextAlign(TA_TOP | TA_LEFT);
    else if (align >= 0 && align <= 8)
        pDC->SetTextAlign(TA_BOTTOM | TA_LEFT);

    if (!font.CreateFontIndirect(&lf)) return nullptr;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(view.m_crAnnoColor);
    return pDC->SelectObject(&font);
}

void ShearShoulder(POINT* pts, int n, double radians, int directionBit, int subtract)
{
    if (pts == nullptr || n < 2) return;
    double a = directionBit == 0 ? -radians : radians;
    a = FoldShear(a);
    const double t = std::tan(a);
    LONG base = pts[0].x;
    for (int i = 1; i < n; ++i) base = a >= 0 ? std::min(base, pts[i].x) : std::max(base, pts[i].x);
    for (int i = 0; i < n; ++i) {
        const int d = TruncInt(t * (static_cast<double>(pts[i].x) - base));
        pts[i].y = subtract ? pts[i].y - d : pts[i].y + d;
    }
}

void ShearSlant(POINT* pts, int n, int y0, double radians, int directionBit)
{
    if (pts == nullptr || n < 2) return;
    double a = directionBit != 0 ? -radians : radians;
    a = FoldShear(a);
    const double t = std::tan(a);
    for (int i = 0; i < n; ++i) pts[i].x += TruncInt((static_cast<double>(pts[i].y) - y0) * t);
}

namespace {

double ShearAngle(double radians, bool negate) { return FoldShear(negate ? -radians : radians); }

// Fills the closed glyph path of the DC, sheared and turned as ShearShoulder, ShearSlant and
// RotatePoints would, but at sub-pixel precision and antialiased: whole-pixel points and an aliased fill
// break the hairline strokes of a glyph at map sizes, where upright lettering stays whole and smooth.
void FillShearedOutline(CDC* pDC, const GEOVIEW& view, const GEOANNO& anno, int x, int y)
{
    const HDC hdc = pDC->m_hDC;
    const int n = win32::GetPathPrecise(hdc, nullptr, nullptr, 0);
    if (n < 1) return;
    std::unique_ptr<double[]> xy(new (std::nothrow) double[2 * static_cast<size_t>(n)]);
    std::unique_ptr<BYTE[]> types(new (std::nothrow) BYTE[n]);
    if (!xy || !types || win32::GetPathPrecise(hdc, xy.get(), types.get(), n) != n) return;

    const DWORD flags = view.m_dwTextFlags;
    if ((flags & GEOVIEW_TEXT_SONGJIAN) && n >= 2) {
        const double a = ShearAngle(GetCurrentSongJianAngle() * kAnnoPi / 1800.0, (flags & GEOVIEW_TEXT_SONGJIAN_DIR) == 0);
        const double t = std::tan(a);
        double base = xy[0];
        for (int i = 1; i < n; ++i) base = a >= 0 ? std::min(base, xy[2 * i]) : std::max(base, xy[2 * i]);
        for (int i = 0; i < n; ++i) xy[2 * i + 1] -= t * (xy[2 * i] - base);
    }
    if ((flags & GEOVIEW_TEXT_SLANT) && n >= 2) {
        const double t = std::tan(ShearAngle(anno.m_fItalicAngle * kAnnoPi / 1800.0, (flags & GEOVIEW_TEXT_SLANT_DIR) != 0));
        for (int i = 0; i < n; ++i) xy[2 * i] += (xy[2 * i + 1] - y) * t;
    }
    const double turn = -(anno.m_fOrientAngle * kAnnoPi / 1800.0);
    if (turn != 0.0) {
        const double c = std::cos(turn), s = std::sin(turn);
        for (int i = 0; i < n; ++i) {
            const double dx = xy[2 * i] - x, dy = xy[2 * i + 1] - y;
            xy[2 * i] = x + dx * c - dy * s;
            xy[2 * i + 1] = y + dx * s + dy * c;
        }
    }

    pDC->BeginPath();
    win32::PolyDrawPrecise(hdc, xy.get(), types.get(), n);
    pDC->EndPath();
    CBrush brush(view.m_crAnnoColor);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    pDC->SetPolyFillMode(WINDING);
    win32::FillPathSmooth(hdc, view.m_crAnnoColor);
    if (oldBrush) pDC->SelectObject(oldBrush);
}

}  // namespace

void DrawCharOutline(CDC* pDC, UINT scale, const GEOVIEW& view, GEOANNO& anno, const char* character, int x, int y,
                     int highlight)
{
    if (pDC == nullptr || character == nullptr) return;
    const DWORD flags = view.m_dwTextFlags;
    const bool sheared = (flags & (GEOVIEW_TEXT_SLANT | GEOVIEW_TEXT_SONGJIAN)) != 0;

    pDC->SetMiterLimit(1.0f);
    pDC->BeginPath();
    pDC->CloseFigure();
    pDC->TextOut(x, y, character, static_cast<int>(std::strlen(character)));
    pDC->EndPath();

    if (highlight && !sheared) {
        pDC->StrokePath();
        return;
    }
    if (anno.m_nOutputMode != 0) pDC->FlattenPath();
    if (anno.m_nOutputMode != 1 && !highlight) {
        FillShearedOutline(pDC, view, anno, x, y);
        return;
    }

    const int n = pDC->GetPath(nullptr, nullptr, 0);
    if (n < 1) return;
    std::unique_ptr<POINT[]> pts(new (std::nothrow) POINT[n]);
    std::unique_ptr<BYTE[]> types(new (std::nothrow) BYTE[n]);
    if (!pts || !types) return;
    if (pDC->GetPath(pts.get(), types.get(), n) != n) return;

    if (flags & GEOVIEW_TEXT_SONGJIAN)
        ShearShoulder(pts.get(), n, GetCurrentSongJianAngle() * kAnnoPi / 1800.0, flags & GEOVIEW_TEXT_SONGJIAN_DIR, 1);
    if (flags & GEOVIEW_TEXT_SLANT)
        ShearSlant(pts.get(), n, y, anno.m_fItalicAngle * kAnnoPi / 1800.0, flags & GEOVIEW_TEXT_SLANT_DIR);

    if (anno.m_nOutputMode == 1) {
        EmitGlyphPolygons(anno, view, n, pts.get(), types.get(), scale);
        return;
    }

    RotatePoints(x, y, pts.get(), pts.get(), n, -(anno.m_fOrientAngle * kAnnoPi / 1800.0));
    pDC->BeginPath();
    pDC->PolyDraw(pts.get(), types.get(), n);
    pDC->EndPath();
    if (highlight) {
        pDC->StrokePath();
        return;
    }
    CBrush brush(view.m_crAnnoColor);
    CPen pen(PS_INSIDEFRAME, 1, view.m_crAnnoColor);
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    pDC->SetPolyFillMode(WINDING);
    pDC->FillPath();
    if (oldPen) pDC->SelectObject(oldPen);
    if (oldBrush) pDC->SelectObject(oldBrush);
}

void EmitGlyphPolygons(GEOANNO& anno, const GEOVIEW& view, int n, POINT* pts, BYTE* types, UINT scale)
{
    if (anno.m_pOutputList == nullptr || pts == nullptr || types == nullptr || n < 1) return;
    GEOVIEW style = GetDefaultGEOVIEW();
    style.m_crLineColor = view.m_crAnnoColor;
    style.m_crFillColor = view.m_crAnnoColor;
    style.m_nLineShape = 3;
    style.m_nFillShape = 0;
    style.m_bTransparent = 1;

    const int w = GetRowWidth(anno.m_strText, anno.m_nCharWidth, anno.m_nCharHeight, anno.m_nColSpace);
    const CSize off = GetDeviceAlignOffset(anno.m_nAlignType, w, anno.m_nCharHeight, anno.m_nCharHeight, 1.0);
    const double turn = anno.m_fEscapeAngle * kAnnoPi / 1800.0;

    std::unique_ptr<POINT[]> map(new (std::nothrow) POINT[n]);
    if (!map) return;
    for (int i = 0; i < n; ++i) {
        POINT p;
        p.x = ::LPtoRP(scale, anno.m_nUnit, static_cast<LONG>(pts[i].x), 1.0);
        p.y = ::LPtoRP(scale, anno.m_nUnit, static_cast<LONG>(-static_cast<int64_t>(pts[i].y)), 1.0);
        p.x += anno.m_ptPosition.x - off.cx;
        p.y += anno.m_ptPosition.y - off.cy;
        RotatePointAbout(anno.m_ptRotateCenter.x, anno.m_ptRotateCenter.y, &p, turn);
        map[i] = p;
    }

    int id = 0;
    auto emit = [&](int from, int to) {  // points from..to inclusive
        const int count = to - from + 1;
        if (count < 1) return;
        CGeoPolygonLine* poly = new CGeoPolygonLine(count, map.get() + from, FALSE);
        poly->SetUnit(anno.m_nUnit);
        poly->SetGeoView(style);
        poly->SetID(static_cast<UINT>(id++));
        poly->SetObjectData(ANNO_DATA_GLYPH);
        anno.m_pOutputList->AddTail(poly);
    };
    int start = -1;
    for (int i = 0; i < n; ++i) {
        if ((types[i] & PT_MOVETO) == PT_MOVETO) {
            if (start >= 0) emit(start, i - 1);
            start = i;
        }
        if (types[i] & PT_CLOSEFIGURE) {
            if (start >= 0) emit(start, i);
            start = -1;
        }
    }
}

double GetFontSizeByK(CString& name)
{
    for (const tagANNOFONTSIZE& row : kFontSizes)
        if (std::strcmp(static_cast<LPCSTR>(name), row.name) == 0) return row.mm * 10.0;
    return 25.0;
}

BOOL GetFontKBySize(double size, CString& name)
{
    for (const tagANNOFONTSIZE& row : kFontSizes) {
        if (row.mm == size / 10.0) {
            name = row.name;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL FindFaceScale(const CString& face, double& sx, double& sy)
{
    for (const tagANNOFACESCALE& row : kFaceScales) {
        if (std::strcmp(static_cast<LPCSTR>(face), row.face) == 0) {
            sx = row.sx;
            sy = row.sy;
            return TRUE;
        }
    }
    sx = sy = 1.0;
    return FALSE;
}

void GetSizeWithScale(int& width, int& height, CString& face, CString& /*unused*/, int enlarge)
{
    if (face.IsEmpty()) return;
    double sx = 1.0, sy = 1.0;
    if (!FindFaceScale(face, sx, sy)) return;
    if (enlarge) {
        width = TruncInt(width * sx);
        height = TruncInt(height * sy);
    } else {
        width = TruncInt(width / sx);
        height = TruncInt(height / sy);
    }
}
