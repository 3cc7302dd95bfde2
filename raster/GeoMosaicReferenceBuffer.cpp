#include "raster/GeoMosaicReferenceBuffer.h"

#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"

#include <ostrel/Units.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

IMPLEMENT_SERIAL(CGeoMosaicReferenceBuffer, CObject, 1)

namespace {
// v + 0.5 truncated, saturated to the int range (NaN gives 0): positions along a segment come from
// callers' ratios, which need not lie in 0 .. 1.
int Round(double v)
{
    v += 0.5;
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}
}  // namespace

CGeoMosaicReferenceBuffer::CGeoMosaicReferenceBuffer() = default;

CGeoMosaicReferenceBuffer::CGeoMosaicReferenceBuffer(const CGeoMosaicReferenceBuffer& src)
    : CObject(), m_Rows(src.m_Rows), m_nWidth(src.m_nWidth), m_nBegin(src.m_nBegin), m_nEnd(src.m_nEnd),
      m_nImageWidth(src.m_nImageWidth), m_nImageHeight(src.m_nImageHeight), m_dPixelSize(src.m_dPixelSize),
      m_nBits(src.m_nBits), m_Segments(src.m_Segments), m_nSide(src.m_nSide), m_Points(src.m_Points)
{
    // The scratch record is made by the blending GetBuffer when first needed.
}

void CGeoMosaicReferenceBuffer::Release()
{
    m_Rows.clear();
    m_Scratch.clear();
    m_Empty.clear();
    m_Segments.clear();
    m_nSide = 4;
}

POINT* CGeoMosaicReferenceBuffer::GetPixelPoints(double k) const
{
    POINT* out = new POINT[std::max<size_t>(m_Points.size(), 1)];
    for (size_t i = 0; i < m_Points.size(); ++i)
        out[i] = POINT{static_cast<LONG>(m_Points[i].x * k + 0.5), static_cast<LONG>(m_Points[i].y * k + 0.5)};
    return out;
}

std::vector<POINT> CGeoMosaicReferenceBuffer::WorkingVertices() const
{
    std::vector<POINT> v(m_Points.size());
    for (size_t i = 0; i < m_Points.size(); ++i) {
        v[i].x = static_cast<LONG>(m_Points[i].x + 0.5);
        v[i].y = m_nImageHeight - static_cast<LONG>(m_Points[i].y + 0.5) - 1;
    }
    return v;
}

int CGeoMosaicReferenceBuffer::Create(CGeoImage* image, CGeoMosaicPLine* line, int width)
{
    Release();
    m_Points.clear();
    m_nWidth = 0;
    if (!image || !line) return 0;
    m_nBits = image->GetBitCount();
    const int side = line->GetImagePosition();
    if (side != 0 && side != 2) return 0;
    // A record must stay addressable by int byte counts.
    if ((m_nBits != 8 && m_nBits != 24) || width <= 0 || width > (INT_MAX - 3000) / 3) return 0;
    m_nWidth = width;
    m_nImageWidth = image->GetDIB()->GetWidth();
    m_nImageHeight = image->GetDIB()->GetHeight();
    m_dPixelSize = ::ChangeUnit(image->GetUnit(), 6, image->GetRasterParameter().m_dPixelSize);
    POINT* hundredths = line->GetPixelPoints(100.0);
    for (int i = 0; i < line->GetMosaicPoints(); ++i) m_Points.push_back({hundredths[i].x / 100.0, hundredths[i].y / 100.0});
    delete[] hundredths;
    const std::vector<POINT> v = WorkingVertices();
    if (v.empty()) {
        m_nBegin = 0;
        m_nEnd = -1;
        return CreateSegmentStartRow(side);
    }
    m_nBegin = m_nEnd = side == 0 ? v[0].y : v[0].x;
    for (const POINT& p : v) {
        const int k = side == 0 ? p.y : p.x;
        m_nBegin = std::min(m_nBegin, k);
        m_nEnd = std::max(m_nEnd, k);
    }
    // Only rows (columns) of the image can hold pixels: the strip covers the seam's span inside the
    // image, and a seam far off the image costs nothing. Records outside it read as empty records.
    const int majorCount = side == 0 ? m_nImageHeight : m_nImageWidth;
    m_nBegin = std::max(m_nBegin, 0);
    m_nEnd = std::min(m_nEnd, majorCount - 1);
    const size_t row = GetBytesPerRow();
    if (m_nEnd >= m_nBegin) {
        try {
            m_Rows.assign(row * (size_t(m_nEnd - m_nBegin) + 2), 0);
            m_Scratch.assign(row + 3000, 0);
        } catch (const std::bad_alloc&) {
            Release();
            m_Points.clear();
            m_nWidth = 0;
            m_nBegin = 0;
            m_nEnd = -1;
            return 0;
        }
    } else {
        m_nBegin = 0;
        m_nEnd = -1;
    }

    const int bpp = m_nBits / 8;
    const BYTE* bits = image->GetDIB()->GetDIBBits();
    const size_t stride = image->GetDIB()->GetBytesPerLine();
    const int W = m_nImageWidth, H = m_nImageHeight;
    // Pixel at row r from the top, column c.
    auto P = [&](int r, int c) { return bits + size_t(H - r - 1) * stride + size_t(c) * bpp; };
    for (size_t s = 1; s < v.size(); ++s) {
        POINT a = v[s - 1], b = v[s];
        // Along rows (side 0) or columns (side 2): "major" is the row, "minor" the column for side 0.
        auto major = [side](const POINT& p) { return side == 0 ? p.y : p.x; };
        auto minor = [side](const POINT& p) { return side == 0 ? p.x : p.y; };
        const int majorSize = side == 0 ? H : W, minorSize = side == 0 ? W : H;
        if (major(a) > major(b)) std::swap(a, b);
        if (major(a) == major(b) || major(a) >= majorSize) continue;
        const int m1 = std::min<int>(major(b), majorSize - 1);
        for (int r = major(a); r < m1; ++r) {
            if (r < 0) continue;
            const double X = minor(a) + double(r - major(a)) * (minor(b) - minor(a)) / double(major(b) - major(a));
            if (X < 0) continue;
            const int F = static_cast<int>(std::floor(X));
            const int k = r - m_nBegin;
            if (F > minorSize - 2 || k < 0 || k > m_nEnd - m_nBegin) continue;
            const double f = X - F;
            BYTE* rec = m_Rows.data() + size_t(k) * row;
            for (int l = 0; l < m_nWidth; ++l) {
                const int c = F + l;
                const BYTE* p0 = side == 0 ? P(r, c) : P(c, r);
                if (c == minorSize - 1) {
                    // The image's last column (row): copied as it is, and the record ends here.
                    for (int q = 0; q < bpp; ++q) rec[l * bpp + q] = p0[q];
                    break;
                }
                const BYTE* p1 = side == 0 ? P(r, c + 1) : P(c + 1, r);
                for (int q = 0; q < bpp; ++q) rec[l * bpp + q] = BYTE((1 - f) * p0[q] + f * p1[q] + 0.5);
            }
        }
    }
    return CreateSegmentStartRow(side);
}

int CGeoMosaicReferenceBuffer::CreateSegmentStartRow(int side)
{
    if (side != 0 && side != 2) return 0;
    m_nSide = side;
    const std::vector<POINT> v = WorkingVertices();
    m_Segments.assign(v.size(), Segment{0, 0});
    for (size_t i = 1; i < v.size(); ++i) {
        const int p = side == 0 ? v[i - 1].y : v[i - 1].x, q = side == 0 ? v[i].y : v[i].x;
        m_Segments[i - 1] = Segment{std::min(p, q) - m_nBegin, std::abs(q - p)};
    }
    return 1;
}

bool CGeoMosaicReferenceBuffer::OutsideImage(long long k) const
{
    if (m_nSide != 0 && m_nSide != 2) return false;
    const long long row = static_cast<long long>(m_nBegin) + k;
    return row < 0 || row >= (m_nSide == 0 ? m_nImageHeight : m_nImageWidth);
}

BYTE* CGeoMosaicReferenceBuffer::EmptyRecord()
{
    const size_t row = GetBytesPerRow();
    if (m_Empty.size() < row) m_Empty.assign(row, 0);
    return m_Empty.data();
}

BYTE* CGeoMosaicReferenceBuffer::GetBuffer(double t)
{
    if (!HasStrip()) return nullptr;
    const int last = m_nEnd - m_nBegin;
    const int k = std::clamp(Round(last * t), 0, last);
    return m_Rows.data() + size_t(k) * GetBytesPerRow();
}

BYTE* CGeoMosaicReferenceBuffer::GetBuffer(int segment, double t)
{
    // Lines whose strip was never filled, or a segment the table does not have: no record.
    if (m_nWidth <= 0 || segment < 0 || segment >= static_cast<int>(m_Segments.size())) return nullptr;
    const long long k = static_cast<long long>(m_Segments[segment].start) + std::max(0, Round(m_Segments[segment].length * t));
    // A row of the seam off the image holds nothing (the strip covers only the image's rows).
    if (OutsideImage(k)) return EmptyRecord();
    if (!HasStrip()) return nullptr;
    const long long last = m_nEnd - m_nBegin;
    return m_Rows.data() + size_t(std::clamp(k, 0LL, last)) * GetBytesPerRow();
}

BYTE* CGeoMosaicReferenceBuffer::GetBuffer(int segment, double t, double)
{
    if (m_nWidth <= 0 || segment < 0 || segment >= static_cast<int>(m_Segments.size())) return nullptr;
    const long long last = static_cast<long long>(m_nEnd) - m_nBegin;
    const double position = m_Segments[segment].length * t;
    const double fl = std::floor(position);
    // fl is a whole number (or NaN): Round of fl - 0.5 is fl itself, saturated.
    const long long at = static_cast<long long>(std::max(0, Round(fl - 0.5))) + m_Segments[segment].start;
    double f = position - fl;
    if (!(f >= 0.0 && f < 1.0)) f = 0.0;  // a ratio that is not a number, or infinite
    const size_t row = GetBytesPerRow();
    const BYTE* A;
    const BYTE* B;
    if (OutsideImage(at)) {
        A = EmptyRecord();
        B = OutsideImage(at + 1) || !HasStrip() ? A : m_Rows.data() + size_t(std::clamp(at + 1, 0LL, last)) * row;
    } else {
        if (!HasStrip()) return nullptr;
        const long long k = std::clamp(at, 0LL, last);
        A = m_Rows.data() + size_t(k) * row;
        B = k < last ? A + row : A;
    }
    if (m_Scratch.size() < row + 3000) m_Scratch.assign(row + 3000, 0);
    BYTE* out = m_Scratch.data();
    const int bpp = std::max(1, m_nBits / 8);
    for (int l = 0; l < m_nWidth; ++l) {
        const BYTE* a = A + l * bpp;
        const BYTE* b = B + l * bpp;
        for (int q = 0; q < bpp; ++q) {
            if (a[0] == 0)
                out[l * bpp + q] = b[q];
            else if (b[0] == 0)
                out[l * bpp + q] = a[q];
            else
                out[l * bpp + q] = BYTE((1 - f) * a[q] + f * b[q]);
        }
    }
    return out;
}

void CGeoMosaicReferenceBuffer::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nImageWidth) << static_cast<LONG>(m_nImageHeight) << m_dPixelSize
           << static_cast<LONG>(m_nWidth) << static_cast<LONG>(m_nBegin) << static_cast<LONG>(m_nEnd)
           << static_cast<LONG>(~static_cast<LONG>(m_Points.size())) << static_cast<LONG>(m_nBits);
        for (const stReferencePoint& p : m_Points) ar << p.x << p.y;
        if (m_nWidth != 0 && m_nEnd >= m_nBegin) {
            const size_t bytes = size_t(m_nEnd - m_nBegin + 1) * GetBytesPerRow();
            if (m_Rows.size() < bytes) m_Rows.resize(bytes, 0);
            ar.Write(m_Rows.data(), static_cast<UINT>(bytes));
        }
        return;
    }
    LONG w = 0, h = 0, width = 0, begin = 0, end = 0, marker = 0;
    double pixel = 0.0;
    ar >> w >> h >> pixel >> width >> begin >> end >> marker;
    LONG count = marker;
    LONG bits = m_nBits;
    if (marker < 0) {
        count = ~marker;
        ar >> bits;
    }
    // A damaged record must not make the reader allocate without bound; width, depth and the row
    // count are each checked before they are multiplied, so the strip size cannot overflow.
    const long long kMaxStrip = 256LL << 20;
    if (count > 0x1000000 || width < 0 || (bits != 8 && bits != 24 && bits != 1 && bits != 4))
        AfxThrowArchiveException(CArchiveException::badIndex);
    const long long rowBytes = (static_cast<long long>(width) * bits + 7) / 8;
    const long long rows = (width != 0 && end >= begin) ? static_cast<long long>(end) - begin + 1 : 0;
    if (rowBytes > kMaxStrip || rows > kMaxStrip || rows * rowBytes > kMaxStrip)
        AfxThrowArchiveException(CArchiveException::badIndex);
    // Rows, the image height and the points are turned into int pixel rows and segment lengths; values
    // beyond 2^29 pixels are no image's, and would overflow there.
    const LONG kMaxPixel = 1 << 29;
    auto inRange = [kMaxPixel](double v) { return v >= -kMaxPixel && v <= kMaxPixel; };  // false for NaN
    if (!inRange(h) || !inRange(begin) || !inRange(end)) AfxThrowArchiveException(CArchiveException::badIndex);
    const long long strip = rows * rowBytes;
    Release();
    m_nImageWidth = w;
    m_nImageHeight = h;
    m_dPixelSize = pixel;
    m_nWidth = width;
    m_nBegin = begin;
    m_nEnd = end;
    m_nBits = bits;
    m_Points.clear();
    // The points and the strip must be in the archive before anything is sized by them.
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 16u + static_cast<ULONGLONG>(strip));
    for (LONG i = 0; i < count; ++i) {
        stReferencePoint p;
        ar >> p.x >> p.y;
        if (!inRange(p.x) || !inRange(p.y)) AfxThrowArchiveException(CArchiveException::badIndex);
        m_Points.push_back(p);
    }
    if (strip > 0) {
        m_Rows.assign(static_cast<size_t>(strip), 0);
        if (ar.Read(m_Rows.data(), static_cast<UINT>(strip)) != static_cast<UINT>(strip))
            AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    // No scratch record yet: a record of a wide strip with no rows must not cost a row's memory.
}

// ---- line buffer ----

CGeoPLineBuffer::CGeoPLineBuffer(CGeoMosaicPLine* line, CRect extent, double cell) { Create(line, extent, cell); }

int CGeoPLineBuffer::Initialize(int start, int end, int side)
{
    if (end < start || static_cast<long long>(end) - start > 0x4000000) return 0;
    m_nSide = side;
    m_nStart = start;
    m_nEnd = end;
    m_Positions.assign(size_t(end - start) + 2, m_nInvalid);
    return 1;
}

int CGeoPLineBuffer::Create(CGeoMosaicPLine* line, CRect extent, double cell)
{
    if (!line) return 0;
    const int side = line->GetImagePosition();
    // A cell that is not positive would never step along the seam.
    if ((side != 0 && side != 2) || line->GetMosaicPoints() == 0 || !(cell > 0.0)) return 0;
    double minE = 0, minN = 0, maxE = 0, maxN = 0;
    line->GetMapExt(minE, minN, maxE, maxN, 1);
    minE /= 1000.0;
    minN /= 1000.0;
    maxE /= 1000.0;
    maxN /= 1000.0;
    const double left = extent.left, north = extent.bottom;
    int start, end;
    if (side == 2) {
        start = Round((minE - left) / cell);
        end = Round((maxE - left) / cell);
    } else {
        start = Round((north - maxN) / cell);
        end = Round((north - minN) / cell);
    }
    if (!Initialize(start, end, side)) return 0;
    const int last = end - start;
    int traced = 0;
    const std::vector<stMosaicPoint>& pts = line->GetMosaicPointArray();
    for (size_t s = 1; s < pts.size(); ++s) {
        double Ea = pts[s - 1].E / 1000.0, Na = pts[s - 1].N / 1000.0;
        double Eb = pts[s].E / 1000.0, Nb = pts[s].N / 1000.0;
        if (side == 2) {
            if (Ea > Eb) { std::swap(Ea, Eb); std::swap(Na, Nb); }
            if (Ea == Eb) continue;
            int j = Round((Ea - minE) / cell);
            double V = (north - Na) / cell;
            const double dV = -(Nb - Na) / (Eb - Ea);
            for (double E = Ea; E < Eb; E += cell, ++j) {
                if (j >= 0 && j <= last) {
                    const int value = Round(V);
                    if (value >= 0) m_Positions[j] = value;
                    V += dV;
                }
            }
        } else {
            if (Na > Nb) { std::swap(Ea, Eb); std::swap(Na, Nb); }
            if (Na == Nb) continue;
            int j = Round((maxN - Na) / cell);
            double V = (Ea - left) / cell;
            const double dV = (Eb - Ea) / (Nb - Na);
            for (double N = Na; N < Nb; N += cell, --j) {
                if (j >= 0 && j <= last) {
                    const int value = Round(V);
                    if (value >= 0) m_Positions[j] = value;
                    V += dV;
                }
            }
        }
        ++traced;
    }
    return traced;
}
