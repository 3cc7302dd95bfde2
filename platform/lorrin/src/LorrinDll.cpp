#include "lorrin/LorrinDll.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

const float kNoData = -99999.0f;

BYTE Channel(double v)
{
    if (!(v > 0.0)) return 0;
    if (v >= 1.0) return 255;
    return static_cast<BYTE>(v * 255.0 + 0.5);
}

// The level of v: the last whose break is <= v, 0 below the first. breaks ascend.
int LevelOf(const double* breaks, int count, float v)
{
    const double* end = breaks + count;
    const double* p = std::upper_bound(breaks, end, static_cast<double>(v));
    const int i = static_cast<int>(p - breaks) - 1;
    return i < 0 ? 0 : i;
}

}  // namespace

CLorrinDll::CLorrinDll()
    : m_nGridWidth(0), m_nGridHeight(0), m_pGrid(nullptr), m_fCell(0.0f), m_nReserved50000(50000),
      m_nReserved100(100), m_fReserved0a(0.0f), m_fReserved0b(0.0f), m_pBits(nullptr), m_dReserved45(45.0),
      m_pBitmapInfo(nullptr), m_nLevelCount(0)
{
    std::memset(m_dLevelColor, 0, sizeof m_dLevelColor);
    std::memset(m_dLevelBreak, 0, sizeof m_dLevelBreak);
}

CLorrinDll::~CLorrinDll() = default;

void CLorrinDll::FreeBitmap(void* bits, BITMAPINFO* info)
{
    delete[] static_cast<BYTE*>(bits);
    delete[] reinterpret_cast<BYTE*>(info);
}

int CLorrinDll::DemtoBmp()
{
    const int w = m_nGridWidth, h = m_nGridHeight, n = m_nLevelCount;
    if (!m_pGrid || w <= 0 || h <= 0 || n < 1 || n > 1000) return 0;
    const bool paletted = n <= 255;
    const int64_t rowBytes = ((paletted ? int64_t(w) : int64_t(w) * 3) + 3) / 4 * 4;
    const int64_t imageBytes = rowBytes * h;
    if (imageBytes > 0x7FFFFFFF) return 0;
    const int paletteEntries = paletted ? n + 1 : 0;
    const size_t infoBytes = sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * paletteEntries;
    BYTE* info = new (std::nothrow) BYTE[infoBytes];
    BYTE* bits = new (std::nothrow) BYTE[static_cast<size_t>(imageBytes)];
    if (!info || !bits) {
        delete[] info;
        delete[] bits;
        return 0;
    }
    std::memset(info, 0, infoBytes);
    BITMAPINFO* bmi = reinterpret_cast<BITMAPINFO*>(info);
    BITMAPINFOHEADER& hdr = bmi->bmiHeader;
    hdr.biSize = sizeof(BITMAPINFOHEADER);
    hdr.biWidth = w;
    hdr.biHeight = h;
    hdr.biPlanes = 1;
    hdr.biBitCount = paletted ? 8 : 24;
    hdr.biCompression = BI_RGB;
    hdr.biSizeImage = static_cast<DWORD>(imageBytes);
    hdr.biClrUsed = static_cast<DWORD>(paletteEntries);
    hdr.biClrImportant = static_cast<DWORD>(paletteEntries);

    // One RGB triple per level, then the background.
    BYTE rgb[1001][3];
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) rgb[i][k] = Channel(m_dLevelColor[i][k]);
    rgb[n][0] = rgb[n][1] = rgb[n][2] = 255;
    if (paletted) {
        RGBQUAD* pal = reinterpret_cast<RGBQUAD*>(info + sizeof(BITMAPINFOHEADER));
        for (int i = 0; i <= n; ++i) pal[i] = RGBQUAD{rgb[i][2], rgb[i][1], rgb[i][0], 0};
    }
    for (int r = 0; r < h; ++r) {
        const float* src = m_pGrid + static_cast<int64_t>(r) * w;
        BYTE* dst = bits + rowBytes * r;
        std::memset(dst, 0, static_cast<size_t>(rowBytes));
        for (int c = 0; c < w; ++c) {
            const float v = src[c];
            const int level = v == kNoData ? n : LevelOf(m_dLevelBreak, n, v);
            if (paletted) {
                dst[c] = static_cast<BYTE>(level);
            } else {
                dst[3 * c] = rgb[level][2];
                dst[3 * c + 1] = rgb[level][1];
                dst[3 * c + 2] = rgb[level][0];
            }
        }
    }
    m_pBits = bits;
    m_pBitmapInfo = bmi;
    return 1;
}

int CLorrinDll::DrawDEM(HDC hdc, RECT* rect, float* grid, int columns, int rows, float cell)
{
    if (!hdc || !rect || !grid) return 0;
    const int saveW = m_nGridWidth, saveH = m_nGridHeight;
    float* saveGrid = m_pGrid;
    const float saveCell = m_fCell;
    void* saveBits = m_pBits;
    BITMAPINFO* saveInfo = m_pBitmapInfo;
    m_nGridWidth = columns;
    m_nGridHeight = rows;
    m_pGrid = grid;
    m_fCell = cell;
    int result = 0;
    if (DemtoBmp()) {
        const int oldMode = ::SetStretchBltMode(hdc, COLORONCOLOR);
        const int drawn = ::StretchDIBits(hdc, rect->left, rect->top, rect->right - rect->left,
                                          rect->bottom - rect->top, 0, 0, columns, rows, m_pBits, m_pBitmapInfo,
                                          DIB_RGB_COLORS, SRCCOPY);
        if (oldMode) ::SetStretchBltMode(hdc, oldMode);
        result = drawn == -1 ? 0 : 1;
        FreeBitmap(m_pBits, m_pBitmapInfo);
    }
    m_nGridWidth = saveW;
    m_nGridHeight = saveH;
    m_pGrid = saveGrid;
    m_fCell = saveCell;
    m_pBits = saveBits;
    m_pBitmapInfo = saveInfo;
    return result;
}
