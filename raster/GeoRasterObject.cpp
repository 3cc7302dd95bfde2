#include "raster/GeoRasterObject.h"

#include "raster/GeoRasterLayer.h"

#include <brisca/FileFunctions.h>
#include <ostrel/Units.h>
#include <pellion/GeoGaussTransformer.h>

#include <cmath>
#include <cstdint>
#include <cstring>

IMPLEMENT_SERIAL(CGeoRasterObject, CGeoAccessorialObject, 1)

int CGeoRasterObject::s_nRasterCount = 0;

namespace {

// Truncation toward zero into the LONG range; a NaN (a zero divisor somewhere) gives 0.
LONG TruncLong(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

DWORD Round4(DWORD n) { return (n + 3u) / 4u * 4u; }

}  // namespace

CGeoRasterObject::CGeoRasterObject() : m_RasterParameter(GetDefaultRasterParameter())
{
    ++s_nRasterCount;
    SetObjectName(CString());
}

CGeoRasterObject::CGeoRasterObject(tagRECT* rect, CString file) : m_RasterParameter(GetDefaultRasterParameter())
{
    ++s_nRasterCount;
    SetObjectName(CString());
    CRect given(0, 0, 0, 0);
    bool sized = false;
    if (rect) {
        given = *rect;
        sized = given.Width() != 0 || given.Height() != 0;
        if (sized) given.NormalizeRect();
        m_rcBounds = given;
    }
    // Runs this class's own LoadRasterFile: the derived part does not exist yet.
    if (CGeoRasterObject::LoadRasterFile(file) && sized) m_rcBounds = given;
    DefaultBoundary();
}

CGeoRasterObject::CGeoRasterObject(LONG width, LONG height, int bitCount, int x, int y, tagRasterParameter& parameter)
    : m_RasterParameter(parameter)
{
    m_ptExtent = CPoint(width - 1, height - 1);
    m_wBitCount = static_cast<WORD>(bitCount);
    const int64_t rowBytes = (static_cast<int64_t>(width) * bitCount + 7) / 8;
    m_dwBytesPerRow = static_cast<DWORD>((rowBytes + 3) / 4 * 4);
    const double p = parameter.m_dPixelSize;
    m_rcBounds.left = x;
    m_rcBounds.bottom = y;
    m_rcBounds.right = TruncLong(static_cast<double>(x) + TruncLong(width * p));
    m_rcBounds.top = TruncLong(static_cast<double>(y) - TruncLong(height * p));
    DefaultBoundary();
}

CGeoRasterObject::CGeoRasterObject(const CGeoRasterObject& other)
    : CGeoAccessorialObject(), m_RasterParameter(other.m_RasterParameter)
{
    m_BandArray.SetSize(other.m_BandArray.GetSize());
    for (INT_PTR i = 0; i < other.m_BandArray.GetSize(); ++i) {
        CGeoBandData* src = other.m_BandArray.GetAt(i);
        m_BandArray.SetAt(i, src ? static_cast<CGeoBandData*>(src->Copy()) : nullptr);
    }
    SetBasePoint(other.GetBasePoint());
    m_wBitCount = other.m_wBitCount;
    m_ptExtent = other.m_ptExtent;
    // The copied rows keep the source's stride, so the copy must know it to address them.
    m_dwBytesPerRow = other.m_dwBytesPerRow;
    m_dOriginX = other.m_dOriginX;
    m_dOriginY = other.m_dOriginY;
}

CGeoRasterObject::~CGeoRasterObject() { m_BandArray.DeleteAllBands(); }

void CGeoRasterObject::Serialize(CArchive& ar)
{
    CGeoAccessorialObject::Serialize(ar);
    CFile* file = ar.GetFile();
    const CString directory = GetFilePath(file ? file->GetFilePath() : CString());
    if (ar.IsStoring()) {
        ar.Write(&m_RasterParameter, sizeof m_RasterParameter);
        ar << GetOppositePath(directory, m_strFileName);
        ar << static_cast<LONG>(m_ptExtent.x) << static_cast<LONG>(m_ptExtent.y);
        ar << m_dwBytesPerRow << m_wBitCount;
        ar << m_dOriginX << m_dOriginY;
        m_Boundary.Serialize(ar);
        m_BandArray.Serialize(ar);
        return;
    }
    tagRasterParameter parameter;
    if (ar.Read(&parameter, sizeof parameter) != sizeof parameter)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    CString stored;
    LONG cx = 0, cy = 0;
    DWORD bytesPerRow = 0;
    WORD bitCount = 0;
    double ox = 0.0, oy = 0.0;
    ar >> stored >> cx >> cy >> bytesPerRow >> bitCount >> ox >> oy;
    // The last column and row give the width and height as last + 1: a record whose sizes do not fit an
    // int (or are below an empty grid's -1) is damaged.
    if (cx < -1 || cy < -1 || cx == INT32_MAX || cy == INT32_MAX) AfxThrowArchiveException(CArchiveException::badIndex);
    m_RasterParameter = parameter;
    m_strFileName = GetAbsolutePath(directory, stored);
    m_ptExtent = CPoint(cx, cy);
    m_dwBytesPerRow = bytesPerRow;
    m_wBitCount = bitCount;
    m_dOriginX = ox;
    m_dOriginY = oy;
    if (GetOldVersion() < 1.35f && m_RasterParameter.m_dXResolution > 0.0)
        m_RasterParameter.m_dPixelSize = m_RasterParameter.m_nScale * 25.4 / m_RasterParameter.m_dXResolution;
    m_Boundary.Serialize(ar);
    m_BandArray.DeleteAllBands();
    m_BandArray.Serialize(ar);
}

int CGeoRasterObject::EditProperties(int, int, void*) { return 0; }

void CGeoRasterObject::MoveTo(CRect rect)
{
    if (!CanMove()) return;
    const CPoint requested(rect.left, rect.top);
    CGeoAccessorialObject::MoveTo(rect);
    const CPoint result(m_rcBounds.left, m_rcBounds.top);
    m_Boundary.Move(CSize(requested.x - result.x, requested.y - result.y));
    NotifyLayerBoundsChanged();
}

void CGeoRasterObject::Move(CSize offset)
{
    if (!CanMove()) return;
    CGeoAccessorialObject::Move(offset);
    m_Boundary.Move(offset);
    NotifyLayerBoundsChanged();
}

CPoint CGeoRasterObject::GetHandle(int nHandle) const
{
    const CRect& r = m_rcBounds;
    const LONG cx = r.left + r.Width() / 2;
    const LONG cy = r.top + r.Height() / 2;
    switch (nHandle) {
    case 2: return CPoint(cx, r.bottom);
    case 3: return CPoint(r.right, r.bottom);
    case 4: return CPoint(r.right, cy);
    case 5: return CPoint(r.right, r.top);
    case 6: return CPoint(cx, r.top);
    case 7: return CPoint(r.left, r.top);
    case 8: return CPoint(r.left, cy);
    default: return CPoint(r.left, r.bottom);
    }
}

void CGeoRasterObject::MoveHandleTo(int nHandle, CPoint point)
{
    if (nHandle < 1 || nHandle > 8 || !CanMoveHandle(nHandle)) return;
    CRect& r = m_rcBounds;
    switch (nHandle) {
    case 1: r.left = point.x; r.bottom = point.y; break;
    case 2: r.bottom = point.y; break;
    case 3: r.right = point.x; r.bottom = point.y; break;
    case 4: r.right = point.x; break;
    case 5: r.right = point.x; r.top = point.y; break;
    case 6: r.top = point.y; break;
    case 7: r.left = point.x; r.top = point.y; break;
    case 8: r.left = point.x; break;
    }
    NotifyLayerBoundsChanged();
}

void CGeoRasterObject::DefaultObjectName()
{
    CString name;
    name.Format("栅格对象 %d", s_nRasterCount);
    m_strName = name;
}

void CGeoRasterObject::Transform(CGeoCoordinateTransformer& transformer, double, double)
{
    if (!transformer.IsKindOf(RUNTIME_CLASS(CGeoGaussTransformer))) return;
    const CGeoGaussTransformer& gauss = static_cast<const CGeoGaussTransformer&>(transformer);
    const double x0 = ::ChangeUnit(m_nUnit, 6, static_cast<double>(m_rcBounds.left));
    const double y0 = ::ChangeUnit(m_nUnit, 6, static_cast<double>(m_rcBounds.top));
    const double e = x0 + m_dOriginX + gauss.PreGetInputOffsetEast();
    const double n = y0 + m_dOriginY + gauss.PreGetInputOffsetNorth();
    double e2 = e, n2 = n;
    gauss.Transform(e, n, e2, n2);
    double de, dn;
    if (gauss.PreGetInputOffsetEast() > 1.0) {
        de = e2 - gauss.GetOutZoneNum() * 1000000.0 - (x0 + m_dOriginX);
        dn = n2 - n;
    } else {
        const double ox = e2 > 1000000.0 ? std::trunc(e2 / 1000000.0) * 1000000.0 : m_dOriginX;
        const double oy = n2 > 1000000.0 ? std::trunc(n2 / 1000000.0) * 1000000.0 : m_dOriginY;
        SetOrigin(ox, oy);
        de = std::trunc(e2 - ox - x0);
        dn = std::trunc(n2 - oy - y0);
    }
    Move(CSize(TruncLong(::ChangeUnit(6, m_nUnit, de)), TruncLong(::ChangeUnit(6, m_nUnit, dn))));
}

int CGeoRasterObject::LoadRasterFile(CString) { return 1; }

void CGeoRasterObject::DefaultBoundary()
{
    CRect r = m_rcBounds;
    r.NormalizeRect();
    const POINT pts[4] = {{0, 0}, {r.Width(), 0}, {r.Width(), r.Height()}, {0, r.Height()}};
    CGeoPolygonLine fresh(4, pts, FALSE);
    fresh.SetUnit(m_nUnit);
    m_Boundary.Copy(fresh, 0, 0);
    m_Boundary.SetUnit(m_nUnit);
    m_Boundary.SetGeoView(fresh.GetGeoView());
}

CPoint CGeoRasterObject::GetWhereFromRaster(int unit, CPoint pixel)
{
    const double p = m_RasterParameter.m_dPixelSize;
    POINT where = {TruncLong(pixel.x * p + m_rcBounds.left), TruncLong(pixel.y * p + m_rcBounds.top)};
    ::ChangeUnit(m_nUnit, unit, where);
    return CPoint(where.x, where.y);
}

CPoint CGeoRasterObject::GetRasterPoint(double, double, EdInterpolateMethod) { return CPoint(-1, -1); }

CPoint CGeoRasterObject::GetRasterPoint(int unit, CPoint point)
{
    POINT pt = point;
    ::ChangeUnit(unit, m_nUnit, pt);
    const CRect bounds = GetBounds();
    const double p = m_RasterParameter.m_dPixelSize;
    return CPoint(TruncLong((static_cast<double>(pt.x) - bounds.left) / p),
                  TruncLong((static_cast<double>(pt.y) - bounds.top) / p));
}

int CGeoRasterObject::GetRasterBoundary(CPoint& base, CGeoPolygonLine& out)
{
    if (m_Boundary.GetPoints() < 3) return 0;
    base = GetBasePoint();
    out.Copy(m_Boundary, 0, 0);
    out.SetGeoView(m_Boundary.GetGeoView());
    return 1;
}

CGeoBandData* CGeoRasterObject::GetBlock(int band, DWORD x, DWORD y, DWORD rowBytes, DWORD rows)
{
    if (band < 0 || band >= GetNumberOfBands() || rowBytes == 0 || rows == 0) return nullptr;
    CGeoBandData* src = m_BandArray.GetAt(band);
    const int64_t height = GetHeight();
    if (!src || !src->GetBuffer() || height <= 0) return nullptr;
    const uint64_t stride = m_dwBytesPerRow;
    // The block must lie inside the grid and inside the band's bytes.
    if (static_cast<uint64_t>(x) + rowBytes > stride || static_cast<int64_t>(y) + rows > height) return nullptr;
    const uint64_t firstRow = static_cast<uint64_t>(height - y - rows);
    if ((firstRow + rows - 1) * stride + x + rowBytes > src->GetLength()) return nullptr;
    const uint64_t targetRow = Round4(rowBytes);
    if (targetRow < rowBytes || targetRow * rows > 0xFFFFFFFFu) return nullptr;

    CGeoBandData* block = new CGeoBandData();
    if (!block->Create(nullptr, nullptr, static_cast<DWORD>(targetRow * rows), 0)) {
        delete block;
        return nullptr;
    }
    const BYTE* from = src->GetBuffer() + x + firstRow * stride;
    BYTE* to = block->GetBuffer();
    for (DWORD j = 0; j < rows; ++j, from += stride, to += targetRow) std::memcpy(to, from, rowBytes);
    return block;
}

CGeoBandData* CGeoRasterObject::GetBlock(DWORD x, DWORD y, DWORD pixelsPerRow, DWORD rows, int* bandIndexes,
                                         int bandCount)
{
    if (!bandIndexes || bandCount < 1 || pixelsPerRow == 0 || rows == 0) return nullptr;
    const int64_t height = GetHeight();
    const uint64_t stride = m_dwBytesPerRow;
    if (height <= 0 || static_cast<uint64_t>(x) + pixelsPerRow > stride || static_cast<int64_t>(y) + rows > height)
        return nullptr;
    const uint64_t firstRow = static_cast<uint64_t>(height - y - rows);
    for (int i = 0; i < bandCount; ++i) {
        const int b = bandIndexes[i];
        if (b < 0 || b >= GetNumberOfBands()) return nullptr;
        const CGeoBandData* src = m_BandArray.GetAt(b);
        if (!src || !src->GetBuffer()) return nullptr;
        if ((firstRow + rows - 1) * stride + x + pixelsPerRow > src->GetLength()) return nullptr;
    }
    const uint64_t targetRow = (static_cast<uint64_t>(pixelsPerRow) * bandCount + 3) / 4 * 4;
    if (targetRow * rows > 0xFFFFFFFFu) return nullptr;

    CGeoBandData* block = new CGeoBandData();
    if (!block->Create(nullptr, nullptr, static_cast<DWORD>(targetRow * rows), 0)) {
        delete block;
        return nullptr;
    }
    BYTE* to = block->GetBuffer();
    for (int i = 0; i < bandCount; ++i) {
        const BYTE* from = m_BandArray.GetAt(bandIndexes[i])->GetBuffer() + x + firstRow * stride;
        for (DWORD j = 0; j < rows; ++j, from += stride)
            for (DWORD k = 0; k < pixelsPerRow; ++k) to[i + j * targetRow + static_cast<uint64_t>(k) * bandCount] = from[k];
    }
    return block;
}

int CGeoRasterObject::GetBlock(DWORD x, DWORD y, DWORD pixelsPerRow, DWORD rows, CGeoBandArray& out, int firstBand,
                               int bandCount)
{
    if (bandCount == 0) bandCount = GetNumberOfBands() - firstBand;
    if (bandCount < 0) bandCount = 0;
    out.DeleteAllBands();
    out.SetSize(bandCount);
    int made = 0;
    for (int i = 0; i < bandCount; ++i) {
        CGeoBandData* block = GetBlock(firstBand + i, x, y, pixelsPerRow, rows);
        out.SetAt(i, block);
        if (block) ++made;
    }
    return made;
}

int CGeoRasterObject::ReadHugeData(CFile* file) { return m_BandArray.ReadHugeData(file); }
int CGeoRasterObject::ReleaseHugeData() { return m_BandArray.ReleaseHugeData(); }
int CGeoRasterObject::WriteHugeData(CFile* file) { return m_BandArray.WriteHugeData(file); }

void CGeoRasterObject::SetRasterParameter(tagRasterParameter p)
{
    m_RasterParameter = p;
    const double cm = 2.54f;  // the single-precision factor
    SIZE size = {TruncLong(GetWidth() / p.m_dXResolution * cm * p.m_nScale + 0.5),
                 TruncLong(GetHeight() / p.m_dYResolution * cm * p.m_nScale + 0.5)};
    ::ChangeUnit(4, m_nUnit, size);
    m_rcBounds.right = TruncLong(static_cast<double>(m_rcBounds.left) + size.cx);
    m_rcBounds.bottom = TruncLong(static_cast<double>(m_rcBounds.top) + size.cy);
    NotifyLayerBoundsChanged();
    OnSetRasterParameter(p);
}

void CGeoRasterObject::SetBasePoint(CPoint point) { MoveTo(CRect(point.x, point.y, point.x, point.y)); }

void CGeoRasterObject::ChangeOrigin(double x, double y)
{
    if (x != m_dOriginX || y != m_dOriginY) MoveOrigin(x - m_dOriginX, y - m_dOriginY);
}

void CGeoRasterObject::MoveOrigin(double dx, double dy)
{
    const double oldX = m_dOriginX, oldY = m_dOriginY;
    m_dOriginX += dx;
    m_dOriginY += dy;
    // A shift beyond the coordinate range saturates instead of wrapping the bounds around.
    const double sx = -std::trunc(::ChangeUnit(6, m_nUnit, dx)), sy = -std::trunc(::ChangeUnit(6, m_nUnit, dy));
    m_rcBounds.left = TruncLong(m_rcBounds.left + sx);
    m_rcBounds.right = TruncLong(m_rcBounds.right + sx);
    m_rcBounds.top = TruncLong(m_rcBounds.top + sy);
    m_rcBounds.bottom = TruncLong(m_rcBounds.bottom + sy);
    OnOriginChanged(oldX, oldY);
}

int CGeoRasterObject::SetRasterBoundary(CPoint offset, const CGeoPolygonLine& line)
{
    CRect b = line.GetBounds();
    b.OffsetRect(offset.x, offset.y);
    ::ChangeUnit(line.GetUnit(), m_nUnit, static_cast<RECT&>(b));
    if ((b & GetBounds()) != b) return 0;
    m_Boundary.Copy(line, 0, 0);
    m_Boundary.SetGeoView(line.GetGeoView());
    POINT base = GetBasePoint();
    ::ChangeUnit(m_nUnit, line.GetUnit(), base);
    m_Boundary.Move(CSize(offset.x - base.x, offset.y - base.y));
    return 1;
}

void CGeoRasterObject::OnSetRasterParameter(tagRasterParameter) {}
void CGeoRasterObject::OnOriginChanged(double, double) {}

void CGeoRasterObject::NotifyLayerBoundsChanged()
{
    if (m_pLayer && m_pLayer->IsKindOf(RUNTIME_CLASS(CGeoRasterLayer)))
        static_cast<CGeoRasterLayer*>(m_pLayer)->RecalcBounds();
}
