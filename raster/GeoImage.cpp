#include "raster/GeoImage.h"
#include "raster/RasterDialogHooks.h"

#include "raster/GeoMosaicPLine.h"
#include "raster/GeoRasterLayer.h"

#include <afx/WinApp.h>
#include <brisca/FileFunctions.h>
#include <brisca/GeoTIFF.h>
#include <ostrel/Units.h>

#include <cmath>
#include <cstdint>
#include <new>

IMPLEMENT_SERIAL(CGeoImage, CGeoRasterObject, 0)

int CGeoImage::def_bPartialImage = 0;
CRect CGeoImage::def_rectPartial(0, 0, 0, 0);
int CGeoImage::def_nUnit = 3;

namespace {

LONG TruncToLong(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

// The last path component, after '\\' or '/' (GBK-aware through GetFilePath).
CString BareName(const CString& path)
{
    const CString dir = GetFilePath(path);
    return dir.IsEmpty() ? path : path.Mid(dir.GetLength() + 1);
}

// path with its extension (after the last '.' of the last component) replaced by ext.
CString ReplaceExtension(const CString& path, const char* ext)
{
    const CString name = BareName(path);
    const int dot = name.ReverseFind('.');
    const int cut = dot < 0 ? path.GetLength() : path.GetLength() - name.GetLength() + dot;
    return path.Left(cut) + ext;
}

// A GeoTIFF placement as bounds: the south-west corner (lbx, lby, metres) less the origin the image takes
// (whole thousands of kilometres), in millimetres, and the extent of w x h pixels of pixel millimetres in
// the image's unit, must all be 32-bit coordinates.
bool PlacementFits(double lbx, double lby, double pixel, double w, double h, int unit)
{
    const double left = lbx * 1000.0 - std::trunc(lbx / 1000000.0) * 1000000.0 * 1000.0;
    const double south = lby * 1000.0 - std::trunc(lby / 1000000.0) * 1000000.0 * 1000.0;
    const double cx = ::ChangeUnit(3, unit, (w - 1) * pixel), cy = ::ChangeUnit(3, unit, (h - 1) * pixel);
    for (double v : {left, south, left + cx, south + cy})
        if (!(v > -2147483648.0 && v < 2147483647.0)) return false;
    return true;
}

template <class List>
void DeleteAll(List& list)
{
    while (!list.IsEmpty()) delete list.RemoveHead();
}

}  // namespace

CGeoImage::CGeoImage() = default;

CGeoImage::CGeoImage(tagRECT* rect, CString file) : CGeoRasterObject(rect, file) {}

CGeoImage::CGeoImage(LONG width, LONG height, int bitCount, int x, int y, tagRasterParameter& parameter)
    : CGeoRasterObject(width, height, bitCount, x, y, parameter)
{
    bool made = false;
    try {
        made = m_DIB.CreateDIB(width, height, bitCount) != 0;
    } catch (const std::bad_alloc&) {
        made = false;
    }
    if (!made) {
        // No pixels: no extent either, so the image never claims ground it cannot show.
        CString text;
        text.Format("无法建立 %ld x %ld 像素、%d 位的图像(太大或参数无效)", static_cast<long>(width),
                    static_cast<long>(height), bitCount);
        AfxMessageBox(text);
        m_ptExtent = CPoint(-1, -1);
        m_rcBounds = CRect(x, y, x, y);
        DefaultBoundary();
    }
}

CGeoImage::~CGeoImage()
{
    DeleteAll(m_GCPoints);
    while (!m_SecondGCPoints.IsEmpty()) {
        CGeoGCPoint* p = m_SecondGCPoints.RemoveHead();
        if (p->GetLayer()) p->DetachLayer(0);
        delete p;
    }
    DeleteAll(m_DrawnMosaicPLines);
    DeleteAll(m_MosaicPLines);
}

// ---- file binding ----

int CGeoImage::LoadRasterFile(CString path)
{
    if (!m_DIB.ReadFile(path, CNewDIB::typeAuto)) return 0;
    m_strFileName = path;
    m_ptExtent = CPoint(m_DIB.GetWidth() - 1, m_DIB.GetHeight() - 1);
    if (path.GetLength() >= 3 && path.Right(3).CompareNoCase("tif") == 0) {
        CGeoTIFF tiff;
        double* m = nullptr;
        int count = 0;
        if (tiff.LoadGeoTIFFFile(path)) tiff.GetModelTransformationTag(m, count);
        if (m && count >= 16) {
            const double W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
            const double lbx = H * m[1] + m[3], lby = H * m[5] + m[7];
            const double trx = W * m[0] + m[3];
            const double pixel = (trx - lbx) * 1000.0 / W;
            // A placement this object cannot show (turned, flipped, or no positive pixel size) would give
            // an infinite or negative resolution; it is treated like a missing one.
            bool usable = std::isfinite(pixel) && pixel > 0.0 && m[0] > 0.0 && m[5] < 0.0 &&
                          m[1] == 0.0 && m[4] == 0.0 && std::isfinite(lbx) && std::isfinite(lby);
            if (usable && !PlacementFits(lbx, lby, pixel, W, H, m_nUnit)) {
                // Bounds beyond the 32-bit coordinates would be clamped and the image shown in the wrong
                // place: the placement is refused, and said.
                CString text;
                text.Format("GeoTIFF的定位超出坐标范围(像元 %g 米)，图像未定位: %s", pixel / 1000.0, (LPCSTR)path);
                AfxMessageBox(text);
                usable = false;
            }
            if (usable) {
                m_RasterParameter.m_dPixelSize = pixel;
                m_RasterParameter.m_dXResolution = m_RasterParameter.m_nScale * 25.4 / pixel;
                m_RasterParameter.m_dYResolution = m_RasterParameter.m_dXResolution;
                m_dOriginX = std::trunc(lbx / 1000000.0) * 1000000.0;
                m_dOriginY = std::trunc(lby / 1000000.0) * 1000000.0;
                // In millimetres before the origin is taken off, so that a corner given to the tenth of a
                // millimetre is not lost to the subtraction's rounding (398 765 399.99... mm).
                const LONG left = TruncToLong(lbx * 1000.0 - m_dOriginX * 1000.0);
                const LONG south = TruncToLong(lby * 1000.0 - m_dOriginY * 1000.0);
                m_rcBounds.right += left - m_rcBounds.left;
                m_rcBounds.left = left;
                m_rcBounds.bottom += south - m_rcBounds.top;
                m_rcBounds.top = south;
            }
        }
    }
    RecalcBounds();
    m_dwBytesPerRow = m_DIB.GetBytesPerLine();
    return 1;
}

int CGeoImage::SetRasterFileName(CString path)
{
    if (path == m_strFileName) return 1;
    if (!m_DIB.SetFileName(path)) return 0;
    m_strFileName = path;
    m_bModified = 1;
    return 1;
}

int CGeoImage::SaveRasterFile(CString path)
{
    if (!m_DIB.SaveFile(path, CNewDIB::typeAuto, 1)) return 0;
    m_strFileName = path;
    return 1;
}

void CGeoImage::RecalcBounds()
{
    const float k = 25.4f;
    const double xdpi = m_RasterParameter.m_dXResolution, ydpi = m_RasterParameter.m_dYResolution;
    const double scale = m_RasterParameter.m_nScale;
    const LONG cx = TruncToLong(m_ptExtent.x / xdpi * k * scale + 0.5);
    const LONG cy = TruncToLong(m_ptExtent.y / ydpi * k * scale + 0.5);
    const double ux = ::ChangeUnit(3, m_nUnit, static_cast<double>(cx));
    const double uy = ::ChangeUnit(3, m_nUnit, static_cast<double>(cy));
    m_rcBounds.right = TruncToLong(double(m_rcBounds.left) + TruncToLong(ux));
    m_rcBounds.bottom = TruncToLong(double(m_rcBounds.top) + TruncToLong(uy));
    NotifyLayerBoundsChanged();
}

void CGeoImage::RefreshRasterFact()
{
    m_strFileName = m_DIB.GetFileName();
    m_ptExtent = CPoint(m_DIB.GetWidth() - 1, m_DIB.GetHeight() - 1);
    const float k = 2.54f;
    const double scale = m_RasterParameter.m_nScale;
    const double cx = std::trunc(m_ptExtent.x / m_RasterParameter.m_dXResolution * k * scale);
    const double cy = std::trunc(m_ptExtent.y / m_RasterParameter.m_dYResolution * k * scale);
    m_rcBounds.right = TruncToLong(double(m_rcBounds.left) + TruncToLong(::ChangeUnit(4, m_nUnit, cx)));
    m_rcBounds.bottom = TruncToLong(double(m_rcBounds.top) + TruncToLong(::ChangeUnit(4, m_nUnit, cy)));
    NotifyLayerBoundsChanged();
}

void CGeoImage::OnSetRasterParameter(tagRasterParameter p)
{
    CGeoRasterObject::OnSetRasterParameter(p);
    if (BITMAPINFOHEADER* h = m_DIB.GetBitmapInfoHeader()) {
        h->biXPelsPerMeter = TruncToLong(p.m_dXResolution / 0.0254);
        h->biYPelsPerMeter = TruncToLong(p.m_dYResolution / 0.0254);
    }
}

int CGeoImage::EditProperties(int, int, void*)
{
    const tagRasterDialogHooks& hooks = GetRasterDialogHooks();
    return hooks.pfnImageProperties ? hooks.pfnImageProperties(this) : 0;
}

// ---- pixels ----

int CGeoImage::SetPixelValue(int value, int x, int y)
{
    if (x < 0 || y < 0 || x >= m_DIB.GetWidth() || y >= m_DIB.GetHeight()) return 0;
    m_DIB.SetPixelIndex(x, y, value);
    return 1;
}

int CGeoImage::SetPixel(DWORD rgb, int x, int y)
{
    if (x < 0 || y < 0 || x >= m_DIB.GetWidth() || y >= m_DIB.GetHeight()) return 0;
    m_DIB.SetPiexlRGB(x, y, rgb);
    return 1;
}

int CGeoImage::GetPixelValue(double x, double y, EdInterpolateMethod method)
{
    const CPoint p = GetRasterPoint(x, y, method);
    return p == CPoint(-1, -1) ? -1 : GetPixelValue(int(p.x), int(p.y));
}

int CGeoImage::SetPixelValue(int value, double x, double y, EdInterpolateMethod method)
{
    const CPoint p = GetRasterPoint(x, y, method);
    return p == CPoint(-1, -1) ? 0 : SetPixelValue(value, int(p.x), int(p.y));
}

DWORD CGeoImage::GetPixel(double x, double y, EdInterpolateMethod method)
{
    const CPoint p = GetRasterPoint(x, y, method);
    return p == CPoint(-1, -1) ? DWORD(-1) : GetPixel(int(p.x), int(p.y));
}

int CGeoImage::SetPixel(DWORD rgb, double x, double y, EdInterpolateMethod method)
{
    const CPoint p = GetRasterPoint(x, y, method);
    return p == CPoint(-1, -1) ? 0 : SetPixel(rgb, int(p.x), int(p.y));
}

// ---- partial loading ----

void CGeoImage::SetPartialRectInSerialize(CRect r, int unit)
{
    def_bPartialImage = 1;
    def_rectPartial = r;
    def_nUnit = unit;
}

void CGeoImage::EndPartialRectInSerialize() { def_bPartialImage = 0; }

CRect CGeoImage::GetRasterRect(CRect r, int unit)
{
    ::ChangeUnit(unit, m_nUnit, static_cast<RECT&>(r));
    r.NormalizeRect();
    CRect b = GetBounds();
    b.NormalizeRect();
    const LONG il = std::max(r.left, b.left), ir = std::min(r.right, b.right);
    const LONG it = std::max(r.top, b.top), ib = std::min(r.bottom, b.bottom);
    if (il >= ir || it >= ib || b.Width() == 0 || b.Height() == 0) return CRect(0, 0, 0, 0);
    const double W1 = GetWidth() - 1, H1 = GetHeight() - 1;
    const double bw = b.Width(), bh = b.Height();
    return CRect(TruncToLong(W1 * (il - b.left) / bw), TruncToLong(H1 * (it - b.top) / bh),
                 TruncToLong(W1 * (ir - b.left) / bw), TruncToLong(H1 * (ib - b.top) / bh));
}

// ---- record ----

CString CGeoImage::FindAndReadImage(CArchive& ar, bool adoptName)
{
    CFile* file = ar.GetFile();
    const CString archivePath = file ? file->GetFilePath() : CString();
    CString candidates[3] = {m_strFileName, BareName(m_strFileName),
                             archivePath.IsEmpty() ? CString() : ReplaceExtension(archivePath, ".tif")};
    for (int i = 0; i < 3; ++i) {
        const CString& name = candidates[i];
        if (name.IsEmpty() || !FileIsExist(name)) continue;
        if (i > 0) m_DIB.SetFileName(name);
        if (!m_DIB.ReadFile(name, CNewDIB::typeAuto)) continue;
        if (i > 0 && adoptName) m_strFileName = name;
        return name;
    }
    return CString();
}

void CGeoImage::SerializeLists(CArchive& ar)
{
    CObList* lists[] = {&m_DrawnMosaicPLines, &m_GCPoints, &m_SecondGCPoints, &m_MosaicPLines};
    if (ar.IsStoring()) {
        for (CObList* list : lists) list->Serialize(ar);
        return;
    }
    DeleteAll(m_DrawnMosaicPLines);
    DeleteAll(m_GCPoints);
    DeleteAll(m_SecondGCPoints);
    DeleteAll(m_MosaicPLines);
    try {
        // The image owns what its lists hold: each object must be new in this archive, never a
        // reference to one read before (another owner's, or this image itself).
        for (CObList* list : lists)
            for (DWORD n = ar.ReadCount(); n > 0; --n) list->AddTail(ar.ReadOwnedObject(nullptr));
        // A record may name any class; only the kinds these lists hold are accepted.
        const CRuntimeClass* line = CRuntimeClass::FromName("CGeoMosaicPLine");
        const CRuntimeClass* kinds[] = {line, RUNTIME_CLASS(CGeoGCPoint), RUNTIME_CLASS(CGeoGCPoint), line};
        for (int i = 0; i < 4; ++i)
            for (POSITION pos = lists[i]->GetHeadPosition(); pos;) {
                CObject* o = lists[i]->GetNext(pos);
                if (!kinds[i] || !o || !o->IsKindOf(kinds[i])) AfxThrowArchiveException(CArchiveException::badClass);
            }
    } catch (...) {
        // What was read is let go as the objects they are (each new, so each once): the typed lists
        // (and the destructor) may only ever hold their own kinds, never NULL.
        for (CObList* list : lists)
            while (!list->IsEmpty()) delete list->RemoveHead();
        throw;
    }
}

void CGeoImage::Serialize(CArchive& ar)
{
    if (def_bPartialImage) {
        PartialSerialize(ar, def_rectPartial, def_nUnit);
        return;
    }
    if (ar.IsStoring()) {
        if (m_strFileName.IsEmpty()) {
            CFile* file = ar.GetFile();
            const CString archivePath = file ? file->GetFilePath() : CString();
            const CString initial = archivePath.IsEmpty() ? CString() : ReplaceExtension(archivePath, "");
            CFileDialog dlg(FALSE, "tif", initial, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, GetDIBFilter());
            // Cancelling abandons the save instead of asking forever; the host keeps its old file.
            if (dlg.DoModal() != IDOK || dlg.GetPathName().IsEmpty()) AfxThrowUserException();
            m_strFileName = dlg.GetPathName();
        }
        CGeoRasterObject::Serialize(ar);
        if (m_bModified && m_DIB.Ready()) {
            if (!m_DIB.SaveFile(m_strFileName, CNewDIB::typeAuto, 1)) {
                // The record would name an image file that does not hold these pixels: the whole save
                // fails, so a host saving through a temporary file keeps its old file.
                CString text;
                text.Format("图像文件保存失败: %s", (LPCSTR)m_strFileName);
                const CString why = m_DIB.GetSaveError();
                if (!why.IsEmpty()) text += "\n" + why;
                AfxMessageBox(text, MB_OK);
                AfxThrowUserException();
            }
            m_bModified = 0;
        }
        ar << static_cast<LONG>(m_nStored);
        SerializeLists(ar);
        return;
    }
    CGeoRasterObject::Serialize(ar);
    m_DIB.Clear();
    FindAndReadImage(ar, true);
    if (GetOldVersion() > 1.0f) {
        LONG stored = 0;
        ar >> stored;
        m_nStored = stored;
    }
    SerializeLists(ar);
}

void CGeoImage::PartialSerialize(CArchive& ar, CRect r, int unit)
{
    // The mode serves one image: it ends here however this call ends (a refused store, a damaged
    // record), or every later image of the process would be loaded cut, and every store refused.
    struct EndMode {
        CGeoImage* image;
        ~EndMode() { image->EndPartialRectInSerialize(); }
    } endMode{this};
    if (ar.IsStoring()) {
        // The shifted point lists cannot be written back as a whole image: refuse before writing.
        AfxMessageBox("不支持局部图像的存储动作", MB_OK);
        AfxThrowUserException();
    }
    CGeoRasterObject::Serialize(ar);
    const CRect p = GetRasterRect(r, unit);
    m_DIB.Clear();
    FindAndReadImage(ar, false);
    if (GetOldVersion() > 1.0f) {
        LONG stored = 0;
        ar >> stored;
        m_nStored = stored;
    }
    SerializeLists(ar);
    for (POSITION pos = m_MosaicPLines.GetHeadPosition(); pos;) {
        CGeoMosaicPLine* line = m_MosaicPLines.GetNext(pos);
        OnPartialShiftMosaicLine(line, p.left, p.top);
    }
    auto shift = [&p](CTypedPtrList<CObList, CGeoGCPoint*>& list) {
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            CGeoGCPoint* g = list.GetNext(pos);
            const CPoint q = g->GetPixelPoint();
            g->SetPixelPoint(CPoint(q.x - 10 * p.left, q.y - 10 * p.top));
        }
    };
    shift(m_GCPoints);
    shift(m_SecondGCPoints);
}
