#include "raster/GeoImageLayer.h"

#include "raster/GeoImage.h"

#include "core/DialogHooks.h"

#include <afx/WinApp.h>
#include <brisca/FileFunctions.h>
#include <ostrel/Units.h>
#include <pellion/GeoGaussTransformer.h>

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGeoImageLayer, CGeoRasterLayer, 0)

CGeoImageLayer::CGeoImageLayer() : CGeoRasterLayer(1) {}

CGeoImageLayer::CGeoImageLayer(const CRect& bounds) : CGeoRasterLayer(bounds, 1) {}

CGeoImageLayer::~CGeoImageLayer() = default;

void CGeoImageLayer::Serialize(CArchive& ar)
{
    CGeoRasterLayer::Serialize(ar);
    if (ar.IsStoring()) return;
    // An image whose file is away keeps its place and its link: dropping it would lose it for good at
    // the next save, though the file may only be on a drive that is not mounted.
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        CObject* o = m_ObjList.GetNext(pos);
        if (!o->IsKindOf(RUNTIME_CLASS(CGeoImage))) continue;
        auto* image = static_cast<CGeoImage*>(o);
        if (image->GetDIB()->Ready()) continue;
        const CString name = image->GetFileName();
        AfxMessageBox(CString(FileIsExist(name) ? "图像文件无法读取: " : "图像文件不存在: ") + name, MB_OK);
    }
}

int CGeoImageLayer::ObjectIsValid(CGeoAccessorialObject* pObject)
{
    return pObject && pObject->IsKindOf(RUNTIME_CLASS(CGeoImage));
}

namespace {
bool VisibleRect(const CRect& device, const RECT* clip, CRect& out)
{
    out = device;
    if (clip) {
        out.left = std::max(out.left, clip->left);
        out.top = std::max(out.top, clip->top);
        out.right = std::min(out.right, clip->right);
        out.bottom = std::min(out.bottom, clip->bottom);
    }
    return out.left < out.right && out.top < out.bottom;
}
}  // namespace

void CGeoImageLayer::Draw(CDC* pDC, RECT* clip, UINT scale, CPoint origin)
{
    CRect visible;
    if (!VisibleRect(RPtoLP(scale, origin, CPoint(0, 0), static_cast<RECT>(GetBounds())), clip, visible)) return;
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        CObject* o = m_ObjList.GetNext(pos);
        if (o->IsKindOf(RUNTIME_CLASS(CGeoImage)))
            static_cast<CGeoImage*>(o)->Draw(pDC, &visible, scale, origin, CPoint(0, 0), 0);
    }
}

void CGeoImageLayer::Hide(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint)
{
    CRect visible;
    if (!VisibleRect(RPtoLP(scale, origin, CPoint(0, 0), static_cast<RECT>(GetBounds())), clip, visible)) return;
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        CObject* o = m_ObjList.GetNext(pos);
        if (o->IsKindOf(RUNTIME_CLASS(CGeoImage))) static_cast<CGeoImage*>(o)->Hide(pDC, &visible, scale, origin, 0);
    }
}

void CGeoImageLayer::Transform(CGeoCoordinateTransformer& transformer)
{
    if (transformer.IsKindOf(RUNTIME_CLASS(CGeoGaussTransformer))) {
        const CGeoGaussTransformer& gauss = static_cast<const CGeoGaussTransformer&>(transformer);
        double ox = m_dOriginX, oy = m_dOriginY;
        if (gauss.PreGetInputOffsetEast() < 1.0) {
            const double x0 = ::ChangeUnit(m_nUnit, 6, static_cast<double>(m_rcBounds.left));
            const double y0 = ::ChangeUnit(m_nUnit, 6, static_cast<double>(m_rcBounds.top));
            const double e = ox + x0 + gauss.PreGetInputOffsetEast();
            const double n = oy + y0 + gauss.PreGetInputOffsetNorth();
            double e2 = e, n2 = n;
            gauss.Transform(e, n, e2, n2);
            if (e2 > 1000000.0) ox = std::trunc(e2 / 1000000.0) * 1000000.0;
            if (n2 > 1000000.0) oy = std::trunc(n2 / 1000000.0) * 1000000.0;
            const double dx = ::ChangeUnit(6, m_nUnit, std::trunc(e2 - ox - x0));
            const double dy = ::ChangeUnit(6, m_nUnit, std::trunc(n2 - oy - y0));
            auto clamp = [](double v) -> LONG {
                if (std::isnan(v)) return 0;
                if (v >= 2147483647.0) return 2147483647;
                if (v <= -2147483648.0) return -2147483647 - 1;
                return static_cast<LONG>(v);
            };
            Move(CSize(clamp(dx), clamp(dy)));
        }
        // Each object has mapped itself and placed its own origin; shifting those origins again by the
        // layer's change would move every image on the ground. The objects take the new layer origin in
        // a way that keeps their ground position instead.
        m_dOriginX = ox;
        m_dOriginY = oy;
        for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
            auto* obj = static_cast<CGeoRasterObject*>(m_ObjList.GetNext(pos));
            obj->Transform(transformer, 0.0, 0.0);
            obj->ChangeOrigin(ox, oy);
        }
    }
    AutoCompactBounds();
}

CGeoImageLayer* CreateImageLayer(const CRect* bounds, CString name, CString fileName, int autoSize, int)
{
    CGeoImageLayer* layer = autoSize ? new CGeoImageLayer() : new CGeoImageLayer(bounds ? *bounds : CRect(0, 0, 0, 0));
    layer->AutoSize(autoSize);
    name.TrimLeft();
    name.TrimRight();
    fileName.TrimLeft();
    fileName.TrimRight();
    if (!name.IsEmpty()) layer->SetObjectName(name);
    if (!fileName.IsEmpty()) layer->SetFileName(fileName);
    return layer;
}

int CGeoImageLayer::EditProperties(int nFlag1, int nFlag2, void*) {
    if (nFlag1 != 0) return 0;
    return NewEditProperties(nFlag2);
}

int CGeoImageLayer::NewEditProperties(int) { return RunLayerPropertySheet(this, nullptr, 0); }
