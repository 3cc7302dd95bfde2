#include "terrain/GeoDEM.h"

#include <brisca/FileFunctions.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

IMPLEMENT_SERIAL(CDEM, CObject, 1)
IMPLEMENT_SERIAL(CGeoDEM, CGeoRasterObject, 0)

namespace {

// +0.5 and truncation toward zero, saturated to the LONG range (NaN gives 0).
LONG RoundHalf(double v)
{
    v += 0.5;
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

// Nearest whole number for grid offsets, which may be negative once rectangles are clipped (the +0.5
// truncation above is one off below zero).
LONG TruncSat(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

LONG RoundOffset(double v) { return TruncSat(std::floor(v + 0.5)); }

}  // namespace

// ---------------------------------------------------------------------------------------------------
// CDEM

CDEM::CDEM() { std::memset(m_dwReserved, 0, sizeof m_dwReserved); }

CDEM::~CDEM() = default;

void CDEM::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        WriteFile(m_strFileName);
    else
        ReadFile(m_strFileName);
}

int CDEM::ReadFile(CString) { return 1; }

int CDEM::WriteFile(CString) { return 1; }

// ---------------------------------------------------------------------------------------------------
// Construction

CGeoDEM::CGeoDEM() = default;

CGeoDEM::CGeoDEM(tagRECT* rect, CString file) : CGeoRasterObject(rect, file) {}

CGeoDEM::CGeoDEM(LONG width, LONG height, int bitCount, int x, int y, tagRasterParameter& parameter, double scale)
    : CGeoRasterObject(width, height, bitCount, x, y, parameter), m_dScale(scale), m_lInvalid(kDemNoInvalid)
{
    const uint64_t size = static_cast<uint64_t>(std::max<LONG>(height, 0)) * m_dwBytesPerRow;
    if (width < 1 || height < 1 || size == 0 || size > 0xFFFFFFFFull) return;
    CGeoBandData* band = new CGeoBandData();
    if (band->Create(nullptr, nullptr, static_cast<DWORD>(size), 0) && band->GetBuffer())
        m_BandArray.Add(band);
    else
        delete band;
}

CGeoDEM::CGeoDEM(const CGeoDEM& other)
    : CGeoRasterObject(other), m_bInvalidGiven(other.m_bInvalidGiven), m_bHZoomGiven(other.m_bHZoomGiven),
      m_dReserved(other.m_dReserved), m_dScale(other.m_dScale), m_dAlfa(other.m_dAlfa),
      m_dCompress(other.m_dCompress), m_lMax(other.m_lMax), m_lMin(other.m_lMin), m_lInvalid(other.m_lInvalid),
      m_lOffset(other.m_lOffset)
{
    // Every node access strides by W x 4 bytes.
    m_dwBytesPerRow = static_cast<DWORD>(GetWidth()) * 4u;
    // The raster copy keeps only the base point; a DEM copy without its extent would read nothing.
    m_rcBounds = other.m_rcBounds;
    m_nUnit = other.m_nUnit;
}

CGeoDEM::~CGeoDEM() { FreeBitmap(); }

void CGeoDEM::FreeBitmap()
{
    CLorrinDll::FreeBitmap(m_Renderer.m_pBits, m_Renderer.m_pBitmapInfo);
    m_Renderer.m_pBits = nullptr;
    m_Renderer.m_pBitmapInfo = nullptr;
}

CObject* CGeoDEM::Copy() { return new (std::nothrow) CGeoDEM(*this); }

void CGeoDEM::MoveTo(CRect) {}

void CGeoDEM::SaveAsOldFormatDem(CString) {}

// ---------------------------------------------------------------------------------------------------
// Record

void CGeoDEM::Serialize(CArchive& ar)
{
    CGeoRasterObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_dAlfa << m_dCompress << m_lMax << m_lMin << m_lInvalid << m_dReserved << m_dScale;
        return;
    }
    ar >> m_dAlfa >> m_dCompress >> m_lMax >> m_lMin >> m_lInvalid >> m_dReserved >> m_dScale;
    m_bSkipHugeData = false;
    m_nSkipHugeBytes = 0;
    m_bBitmapOutdated = 1;
    if (m_strFileName.IsEmpty() || !FileIsExist(m_strFileName)) return;
    // The band lengths of the record still describe the bytes the host may map next.
    unsigned long long stored = 0;
    for (INT_PTR i = 0; i < m_BandArray.GetSize(); ++i)
        if (CGeoBandData* b = m_BandArray.GetAt(i)) stored += b->GetLength();
    const CRect bounds = m_rcBounds;
    const int unit = m_nUnit;
    if (LoadRasterFile(m_strFileName)) {
        // The file gives metres; the record's bounds stand in the record's unit, and the cell with them.
        m_RasterParameter.m_dPixelSize = ::ChangeUnit(6, unit, m_RasterParameter.m_dPixelSize);
        m_nUnit = unit;
        m_rcBounds = bounds;
        m_bSkipHugeData = true;
        m_nSkipHugeBytes = stored;
    }
}

int CGeoDEM::ReadHugeData(CFile* file)
{
    if (!m_bSkipHugeData) {
        const int read = CGeoRasterObject::ReadHugeData(file);
        // The band maps the document where the record ended, at any byte offset; the nodes are read as
        // 32-bit values, so a band that does not start on a 4-byte boundary is copied to one that does.
        CGeoBandData* band = m_BandArray.GetSize() > 0 ? m_BandArray.GetAt(0) : nullptr;
        if (band && band->GetBuffer() && reinterpret_cast<uintptr_t>(band->GetBuffer()) % alignof(LONG) != 0) {
            CGeoBandData* aligned = new CGeoBandData(*band);
            if (aligned->GetBuffer()) {
                m_BandArray.SetAt(0, aligned);
                delete band;
            } else {
                delete aligned;
                band->ReleaseHugeData();  // no grid rather than misaligned reads
            }
        }
        return read;
    }
    m_bSkipHugeData = false;
    if (file && m_nSkipHugeBytes) file->Seek(static_cast<LONGLONG>(m_nSkipHugeBytes), CFile::current);
    m_nSkipHugeBytes = 0;
    return GetNumberOfBands();
}

// ---------------------------------------------------------------------------------------------------
// Grid access

LONG* CGeoDEM::GetNodes() const
{
    const LONG w = GetWidth(), h = GetHeight();
    if (w < 1 || h < 1 || m_BandArray.GetSize() < 1) return nullptr;
    CGeoBandData* band = m_BandArray.GetAt(0);
    if (!band || !band->GetBuffer()) return nullptr;
    if (static_cast<uint64_t>(band->GetLength()) < static_cast<uint64_t>(w) * h * 4u) return nullptr;
    if (reinterpret_cast<uintptr_t>(band->GetBuffer()) % alignof(LONG) != 0) return nullptr;
    return reinterpret_cast<LONG*>(band->GetBuffer());
}

int CGeoDEM::SetHZoomAndInvalidValue(int hzoom, LONG invalid)
{
    if (hzoom <= 0) return 0;
    m_dScale = 1.0 / hzoom;
    m_bHZoomGiven = 1;
    m_lInvalid = invalid;
    m_bInvalidGiven = 1;
    return 1;
}

void CGeoDEM::SetPixel(LONG value)
{
    LONG* v = Nodes();
    if (!v) return;
    std::fill(v, v + static_cast<size_t>(GetWidth()) * GetHeight(), value);
}

void CGeoDEM::ReplaceInvalidValueWithTheLowestHeight()
{
    LONG* v = Nodes();
    if (!v) return;
    const LONG invalid = GetInvalidElevation(), lowest = GetMinElevation();
    const size_t n = static_cast<size_t>(GetWidth()) * GetHeight();
    for (size_t i = 0; i < n; ++i)
        if (v[i] == invalid) v[i] = lowest;
}

void CGeoDEM::RecalcMinMax()
{
    const LONG* v = Nodes();
    if (!v) return;
    LONG lo = kDemEmptyMin, hi = kDemEmptyMax;
    const LONG invalid = GetInvalidElevation();
    const size_t n = static_cast<size_t>(GetWidth()) * GetHeight();
    for (size_t i = 0; i < n; ++i) {
        if (v[i] == invalid) continue;
        if (v[i] < lo) lo = v[i];
        if (v[i] > hi) hi = v[i];
    }
    m_lMin = lo;
    m_lMax = hi;
}

int CGeoDEM::GetPixel(LONG column, LONG row, double& out)
{
    const LONG* v = Nodes();
    const LONG w = GetWidth(), h = GetHeight();
    if (!v || column < 0 || row < 0 || column >= w || row >= h) return -1;
    out = v[static_cast<size_t>(h - 1 - row) * w + column] * m_dScale;
    return 1;
}

int CGeoDEM::GetPixel(CPoint point, double& out, EdInterpolateMethod method)
{
    return GetPixel(static_cast<double>(point.x), static_cast<double>(point.y), out, method);
}

int CGeoDEM::GetPixel(double x, double y, double& out, EdInterpolateMethod method)
{
    const LONG* v = Nodes();
    if (!v) return -1;
    const double west = m_rcBounds.left, east = m_rcBounds.right;
    const double south = std::min(m_rcBounds.top, m_rcBounds.bottom);
    const double north = std::max(m_rcBounds.top, m_rcBounds.bottom);
    if (!(x >= west && x < east && y >= south && y < north)) return -1;
    const double cell = GetCellSize();
    if (!(cell > 0.0)) return -1;
    const LONG w = GetWidth(), h = GetHeight();
    const LONG invalid = GetInvalidElevation();
    const double fx = (x - west) / cell;
    const double fy = (north - y) / cell;
    auto at = [&](LONG bandRow, LONG col) { return v[static_cast<size_t>(bandRow) * w + col]; };
    auto nearest = [&]() {
        // Bounds truncated to whole units may reach a little past the grid: stay on the last node.
        const LONG col = std::min<LONG>(TruncSat(fx + 0.5), w - 1);
        const LONG row = std::max<LONG>(0, std::min<LONG>(TruncSat(h - fy - 1 + 0.5), h - 1));
        const LONG value = at(row, std::max<LONG>(col, 0));
        if (value == invalid) return 0;
        out = value * m_dScale;
        return 1;
    };
    if (method == INTERPOLATE_NEAREST) return nearest();
    const LONG ty = TruncSat(fy);
    const LONG r1 = h - ty - 1;
    const LONG r0 = std::max<LONG>(r1 - 1, 0);
    const LONG c = TruncSat(fx);
    // The easternmost column has no node east of it.
    if (r1 < 0 || r1 >= h || c < 0 || c + 1 >= w) return nearest();
    const LONG v11 = at(r1, c), v12 = at(r1, c + 1), v01 = at(r0, c), v02 = at(r0, c + 1);
    if (v11 == invalid || v12 == invalid || v01 == invalid || v02 == invalid) return nearest();
    const double a = fx - c, b = fy - ty;
    const double value = (1 - a) * (1 - b) * v11 + a * (1 - b) * v12 + (1 - a) * b * v01 + a * b * v02;
    out = value * m_dScale;
    return 1;
}

float* CGeoDEM::GetBlock2(int band, DWORD x, DWORD y, DWORD count, DWORD rows)
{
    const LONG* v = band == 0 ? Nodes() : nullptr;
    const uint64_t w = static_cast<uint64_t>(GetWidth()), h = static_cast<uint64_t>(GetHeight());
    if (!v || count == 0 || rows == 0 || uint64_t(x) + count > w || uint64_t(y) + rows > h) return nullptr;
    float* out = new (std::nothrow) float[static_cast<size_t>(count) * rows];
    if (!out) return nullptr;
    const LONG invalid = GetInvalidElevation();
    const double scale = m_dScale;
    const uint64_t firstBandRow = h - y - rows;
    for (DWORD i = 0; i < rows; ++i) {
        const LONG* src = v + (firstBandRow + i) * w + x;
        float* dst = out + static_cast<size_t>(i) * count;
        for (DWORD j = 0; j < count; ++j)
            dst[j] = src[j] == invalid ? kDemNoDataFloat : static_cast<float>(src[j] * scale);
    }
    return out;
}

CGeoBandData* CGeoDEM::GetBlock(int band, DWORD x, DWORD y, DWORD count, DWORD rows)
{
    const LONG* v = band == 0 ? Nodes() : nullptr;
    const uint64_t w = static_cast<uint64_t>(GetWidth()), h = static_cast<uint64_t>(GetHeight());
    if (!v || count == 0 || rows == 0 || uint64_t(x) + count > w || uint64_t(y) + rows > h) return nullptr;
    const uint64_t rowBytes = (uint64_t(count) + 3) & ~uint64_t(3);
    if (rowBytes * rows > 0xFFFFFFFFull) return nullptr;
    CGeoBandData* out = new CGeoBandData();
    if (!out->Create(nullptr, nullptr, static_cast<DWORD>(rowBytes * rows), 0) || !out->GetBuffer()) {
        delete out;
        return nullptr;
    }
    const LONG invalid = GetInvalidElevation();
    const LONG lo = GetMinElevation(), hi = GetMaxElevation();
    const double k = hi == lo ? 255.0 : 255.0 / (static_cast<double>(hi) - lo);
    BYTE* dst = out->GetBuffer();
    const uint64_t firstBandRow = h - y - rows;
    for (DWORD i = 0; i < rows; ++i) {
        const LONG* src = v + (firstBandRow + i) * w + x;
        BYTE* d = dst + rowBytes * i;
        for (DWORD j = 0; j < count; ++j) {
            if (src[j] == invalid) {
                d[j] = 0;
                continue;
            }
            const double g = (static_cast<double>(src[j]) - lo) * k + 0.5;
            d[j] = g <= 0.0 ? 0 : g >= 255.0 ? 255 : static_cast<BYTE>(g);
        }
    }
    return out;
}

CGeoDEM* CGeoDEM::GetBlock(CRect r)
{
    const LONG* v = Nodes();
    const double cell = GetCellSize();
    if (!v || !(cell > 0.0)) return nullptr;
    r.NormalizeRect();
    const LONG bw = RoundHalf(r.Width() / cell), bh = RoundHalf(r.Height() / cell);
    if (bw < 1 || bh < 1) return nullptr;
    const LONG w = GetWidth(), h = GetHeight();
    const LONG c0 = RoundOffset((r.left - m_rcBounds.left) / cell);
    const LONG top0 = RoundOffset((static_cast<double>(GetMaxY()) - r.bottom) / cell);  // first row from the north
    if (c0 >= w || c0 + bw <= 0 || top0 >= h || top0 + bh <= 0) return nullptr;
    tagRasterParameter parameter = m_RasterParameter;
    CGeoDEM* out = new CGeoDEM(bw, bh, m_wBitCount, r.left, r.bottom, parameter, m_dScale);
    LONG* dst = out->Nodes();
    if (!dst) {
        delete out;
        return nullptr;
    }
    const LONG invalid = GetInvalidElevation();
    out->m_dAlfa = m_dAlfa;
    out->m_dCompress = m_dCompress;
    out->m_lInvalid = invalid;
    out->m_nUnit = m_nUnit;
    LONG lo = kDemEmptyMin, hi = kDemEmptyMax;
    for (LONG i = 0; i < bh; ++i) {  // i: row from the north in the block
        const LONG srcRow = top0 + i;
        LONG* d = dst + static_cast<size_t>(bh - 1 - i) * bw;
        for (LONG j = 0; j < bw; ++j) {
            const LONG col = c0 + j;
            if (srcRow < 0 || srcRow >= h || col < 0 || col >= w) {
                d[j] = invalid;
                continue;
            }
            const LONG value = v[static_cast<size_t>(h - 1 - srcRow) * w + col];
            d[j] = value;
            if (value == invalid) continue;
            lo = std::min(lo, value);
            hi = std::max(hi, value);
        }
    }
    if (lo <= hi) {
        out->m_lMin = lo;
        out->m_lMax = hi;
    }
    return out;
}

int CGeoDEM::Paste(CGeoDEM* other)
{
    LONG* v = Nodes();
    const LONG* src = other ? other->Nodes() : nullptr;
    const double cell = GetCellSize();
    if (!v || !src || !(cell > 0.0)) return 0;
    const LONG w = GetWidth(), h = GetHeight();
    const LONG ow = other->GetWidth(), oh = other->GetHeight();
    const LONG top0 = RoundOffset((static_cast<double>(GetMaxY()) - other->GetMaxY()) / cell);
    const LONG c0 = RoundOffset((static_cast<double>(other->m_rcBounds.left) - m_rcBounds.left) / cell);
    if (c0 >= w || c0 + ow <= 0 || top0 >= h || top0 + oh <= 0) return 0;
    const bool convert = std::fabs(other->m_dScale - m_dScale) >= 1e-8;
    const double factor = other->m_dScale / m_dScale;
    auto conv = [&](LONG value) { return convert ? RoundHalf(value * factor) : value; };
    const LONG otherInvalid = other->GetInvalidElevation();
    for (LONG i = 0; i < oh; ++i) {  // row from the north in the other grid
        const LONG row = top0 + i;
        if (row < 0 || row >= h) continue;
        const LONG* s = src + static_cast<size_t>(oh - 1 - i) * ow;
        LONG* d = v + static_cast<size_t>(h - 1 - row) * w;
        for (LONG j = 0; j < ow; ++j) {
            const LONG col = c0 + j;
            if (col < 0 || col >= w || s[j] == otherInvalid) continue;
            d[col] = conv(s[j]);
        }
    }
    if (other->GetMaxElevation() != kDemEmptyMax) m_lMax = std::max(m_lMax, conv(other->GetMaxElevation()));
    if (other->GetMinElevation() != kDemEmptyMin) m_lMin = std::min(m_lMin, conv(other->GetMinElevation()));
    m_bBitmapOutdated = 1;
    return 1;
}
