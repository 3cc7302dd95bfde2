// CGeoDEM: elevation classes and drawing.
//
// The class bitmap is built by the renderer (one pixel per node) only when it is outdated; a redraw
// stretches just the visible part of it, so panning and zooming cost in proportion to the view.
#include "terrain/GeoDEM.h"

#include "core/GeoHelpers.h"

#include <afx/Dc.h>

#include <algorithm>
#include <cmath>

namespace {

DemLevelDialogHook g_levelDialog = nullptr;

LONG RoundHalf(double v)
{
    v += 0.5;
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

const COLORREF kDefaultColors[9] = {0x217500, 0x4AAE02, 0x2EC449, 0x07DFBC, 0x09BAD5,
                                    0x185AAD, 0x6C69AE, 0xBDBABC, 0xFFFFFF};

}  // namespace

DemLevelDialogHook SetDemLevelDialogHook(DemLevelDialogHook hook)
{
    DemLevelDialogHook previous = g_levelDialog;
    g_levelDialog = hook;
    return previous;
}

void CGeoDEM::LevelShow(int show)
{
    if (show == m_bLevelShow) return;
    m_bLevelShow = show;
    m_bBitmapOutdated = 1;
}

CGeoClassificationParameter CGeoDEM::DefaultLevelParameter(int classes)
{
    const double lo = GetMinElevation() * m_dScale, hi = GetMaxElevation() * m_dScale;
    CGeoClassificationParameter p;
    CArray<DWORD, DWORD> colors;
    CArray<double, double> thresholds;
    if (classes != 0) {
        for (COLORREF c : kDefaultColors) colors.Add(c);
        for (int i = 1; i <= 8; ++i) thresholds.Add(lo + i * (hi - lo) / 9);
    } else {
        colors.Add(0x606060);
    }
    p.SetArrange(lo, hi);
    p.SetColorArray(colors);
    p.SetThresholdArray(thresholds);
    return p;
}

CGeoClassificationParameter CGeoDEM::GetShowParameter()
{
    if (!m_bLevelShow) return DefaultLevelParameter(0);
    if (m_LevelParameter.GetColorCount() == 0) m_LevelParameter = DefaultLevelParameter(1);
    return m_LevelParameter;
}

int CGeoDEM::SetLevelParameter()
{
    const CGeoClassificationParameter saved = m_LevelParameter;
    if (m_LevelParameter.GetColorCount() == 0) m_LevelParameter = DefaultLevelParameter(1);
    CGeoClassificationParameter edited = m_LevelParameter;
    if (g_levelDialog &&
        g_levelDialog(edited, CString("米"), GetMinElevation() * m_dScale, GetMaxElevation() * m_dScale) == IDOK) {
        m_LevelParameter = edited;
        m_bBitmapOutdated = 1;
        return 1;
    }
    m_LevelParameter = saved;
    return 0;
}

void CGeoDEM::Draw(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset)
{
    if (!pDC || !GetLayer()) return;
    const LONG w = GetWidth(), h = GetHeight();
    if (m_bBitmapOutdated || !m_Renderer.m_pBitmapInfo) {
        float* grid = GetBlock2(0, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h));
        if (!grid) return;
        m_Renderer.m_pGrid = grid;
        m_Renderer.m_fCell = static_cast<float>(GetCellSize());
        m_Renderer.m_nGridWidth = w;
        m_Renderer.m_nGridHeight = h;
        m_Renderer.m_dReserved45 = 45.0;
        m_Renderer.m_nReserved100 = 100;
        m_Renderer.m_nReserved50000 = 50000;
        m_Renderer.m_fReserved0a = 0.0f;
        m_Renderer.m_fReserved0b = 0.0f;
        const CGeoClassificationParameter classes = GetShowParameter();
        CArray<DWORD, DWORD> colors;
        CArray<double, double> thresholds;
        classes.GetColorArray(colors);
        classes.GetThresholdArray(thresholds);
        const int n = std::min<int>(static_cast<int>(colors.GetSize()), 999);
        m_Renderer.m_nLevelCount = n + 1;
        for (int i = 0; i < n; ++i) {
            m_Renderer.m_dLevelColor[i][0] = (colors[i] & 0xFF) / 255.0;
            m_Renderer.m_dLevelColor[i][1] = ((colors[i] >> 8) & 0xFF) / 255.0;
            m_Renderer.m_dLevelColor[i][2] = ((colors[i] >> 16) & 0xFF) / 255.0;
        }
        m_Renderer.m_dLevelColor[n][0] = m_Renderer.m_dLevelColor[n][1] = m_Renderer.m_dLevelColor[n][2] = 1.0;
        m_Renderer.m_dLevelBreak[0] = GetMinElevation() * m_dScale;
        // Fewer thresholds than colours - 1 leave the breaks of the colours without threshold at the top.
        for (int i = 1; i < n; ++i)
            m_Renderer.m_dLevelBreak[i] = i - 1 < thresholds.GetSize() ? thresholds[i - 1] : GetMaxElevation() * m_dScale;
        m_Renderer.m_dLevelBreak[n] = GetMaxElevation() * m_dScale;
        FreeBitmap();
        const int made = m_Renderer.DemtoBmp();
        delete[] grid;
        m_Renderer.m_pGrid = nullptr;
        if (!made) return;
        m_bBitmapOutdated = 1;  // until it has been stretched
    }
    const BITMAPINFO* bmi = m_Renderer.m_pBitmapInfo;
    const LONG bw = bmi->bmiHeader.biWidth, bh = bmi->bmiHeader.biHeight;
    CRect bounds = m_rcBounds;
    bounds.NormalizeRect();
    const CRect d = RPtoLP(scale, origin, offset, bounds);
    CRect c;
    if (clip) {
        c.IntersectRect(&d, clip);
    } else {
        c = d;
    }
    if (c.IsRectEmpty() || d.Width() <= 0 || d.Height() <= 0) return;
    // The source rectangle of the visible part, one pixel of margin.
    CRect s(RoundHalf(double(bw) * (c.left - d.left) / d.Width()), RoundHalf(double(bh) * (c.top - d.top) / d.Height()),
            RoundHalf(double(bw) * (c.right - d.left) / d.Width()), RoundHalf(double(bh) * (c.bottom - d.top) / d.Height()));
    s.InflateRect(1, 1);
    s.IntersectRect(&s, CRect(0, 0, bw, bh));
    if (s.IsRectEmpty()) return;
    // Its map rectangle: S is exclusive already, so its right and bottom edges map as they are.
    const double bwMap = bounds.Width(), bhMap = bounds.Height();
    const LONG north = bounds.bottom;
    CRect m(RoundHalf(bounds.left + bwMap * s.left / bw), RoundHalf(north - bhMap * s.bottom / bh),
            RoundHalf(bounds.left + bwMap * s.right / bw), RoundHalf(north - bhMap * s.top / bh));
    const CRect t = RPtoLP(scale, origin, offset, m);
    const int saved = pDC->SaveDC();
    // The piece keeps its own scale; the clip, not the destination, cuts it to the view.
    if (clip) ::IntersectClipRect(pDC->GetSafeHdc(), c.left, c.top, c.right, c.bottom);
    ::SetStretchBltMode(pDC->GetSafeHdc(), COLORONCOLOR);
    const int r = ::StretchDIBits(pDC->GetSafeHdc(), t.left, t.top, t.Width(), t.Height(), s.left, bh - s.bottom,
                                  s.Width(), s.Height(), m_Renderer.m_pBits, bmi, DIB_RGB_COLORS, SRCCOPY);
    pDC->RestoreDC(saved);
    if (r == -1) ShowLastErrorMessage(CString(), CString());
    m_bBitmapOutdated = 0;
}

namespace {

int StretchDemToDevice(HDC dc, RECT* target, float* grid, int width, int height, float cell)
{
    const int mode = ::GetMapMode(dc);
    SIZE windowExt{}, viewportExt{};
    ::GetWindowExtEx(dc, &windowExt);
    ::GetViewportExtEx(dc, &viewportExt);
    POINT corners[2] = {{target->left, target->top}, {target->right, target->bottom}};
    ::LPtoDP(dc, corners, 2);
    ::SetMapMode(dc, MM_TEXT);
    CLorrinDll renderer;
    renderer.m_nLevelCount = 2;
    renderer.m_dLevelColor[0][0] = renderer.m_dLevelColor[0][1] = renderer.m_dLevelColor[0][2] = 0.7;
    renderer.m_dLevelColor[1][0] = renderer.m_dLevelColor[1][1] = renderer.m_dLevelColor[1][2] = 1.0;
    renderer.m_dLevelBreak[0] = 0.0;
    renderer.m_dLevelBreak[1] = 999.0;
    RECT device{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    renderer.DrawDEM(dc, &device, grid, width, height, cell);
    ::SetMapMode(dc, mode);
    ::SetWindowExtEx(dc, windowExt.cx, windowExt.cy, nullptr);
    ::SetViewportExtEx(dc, viewportExt.cx, viewportExt.cy, nullptr);
    return 1;
}

}  // namespace

int CGeoDEM::StretchDEM(HDC dc, RECT* target, RECT* block)
{
    if (!dc || !target || !block) return 0;
    const LONG bw = block->right - block->left, bh = block->bottom - block->top;
    if (bw <= 0 || bh <= 0 || block->left < 0 || block->top < 0) return 0;
    float* grid = GetBlock2(0, static_cast<DWORD>(block->left), static_cast<DWORD>(block->top), static_cast<DWORD>(bw),
                            static_cast<DWORD>(bh));
    if (!grid) return 0;
    const int r = StretchDemToDevice(dc, target, grid, bw, bh, static_cast<float>(GetCellSize()));
    delete[] grid;
    return r;
}

int CGeoDEM::DrawGreyBlock(HDC dc, RECT* rect, const BYTE* bits, int width, int height)
{
    if (!dc || !rect || !bits || width <= 0 || height <= 0) return 0;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = 40;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = static_cast<DWORD>((width + 3) & ~3) * static_cast<DWORD>(height);
    info.header.biClrUsed = 256;
    info.header.biClrImportant = 256;
    for (int i = 0; i < 256; ++i) info.colors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    ::SetStretchBltMode(dc, COLORONCOLOR);
    const int r = ::StretchDIBits(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, 0, 0,
                                  width, height, bits, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    if (r == -1) {
        ShowLastErrorMessage(CString(), CString());
        return 0;
    }
    return 1;
}
