#include "raster/GeoImageLayer.h"

#include <ostrel/Units.h>
#include <pellion/GeoGaussTransformer.h>

#include <cmath>

IMPLEMENT_SERIAL(CGeoImageLayer, CGeoRasterLayer, 0)

CGeoImageLayer::CGeoImageLayer() : CGeoRasterLayer(1) {}

CGeoImageLayer::CGeoImageLayer(const CRect& bounds) : CGeoRasterLayer(bounds, 1) {}

CGeoImageLayer::~CGeoImageLayer() = default;

void CGeoImageLayer::Serialize(CArchive& ar) { CGeoRasterLayer::Serialize(ar); }

int CGeoImageLayer::ObjectIsValid(CGeoAccessorialObject* pObject)
{
    // The image class lives beside this layer and registers itself by name.
    const CRuntimeClass* image = CRuntimeClass::FromName("CGeoImage");
    return pObject && image && pObject->IsKindOf(image);
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
