#include "terrain/GeoDEMLayer.h"

#include "terrain/GeoDEM.h"

IMPLEMENT_SERIAL(CGeoDEMLayer, CGeoRasterLayer, 0)

CGeoDEMLayer::CGeoDEMLayer() : CGeoRasterLayer(1) {}

CGeoDEMLayer::CGeoDEMLayer(const CRect& rect) : CGeoRasterLayer(rect, 1) {}

CGeoDEMLayer::~CGeoDEMLayer() = default;

void CGeoDEMLayer::Serialize(CArchive& ar) { CGeoRasterLayer::Serialize(ar); }

int CGeoDEMLayer::EditProperties(int, int, void*) { return 0; }

void CGeoDEMLayer::Transform(CGeoCoordinateTransformer&) {}

int CGeoDEMLayer::ObjectIsValid(CGeoAccessorialObject* pObject)
{
    return pObject && pObject->IsKindOf(RUNTIME_CLASS(CGeoDEM)) ? 1 : 0;
}

void CGeoDEMLayer::Draw(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset)
{
    CRect bounds = GetBounds();
    bounds.NormalizeRect();
    CRect device = RPtoLP(scale, origin, offset, bounds);
    CRect visible = device;
    if (clip && !visible.IntersectRect(&device, clip)) return;
    if (visible.IsRectEmpty()) return;
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        CObject* o = m_ObjList.GetNext(p);
        if (o && o->IsKindOf(RUNTIME_CLASS(CGeoDEM)))
            static_cast<CGeoDEM*>(o)->Draw(pDC, &visible, scale, origin, CPoint(0, 0));
    }
}

CGeoDEMLayer* CreateDemLayer(CRect rect, CString name, CString file, int autoSize, int)
{
    CGeoDEMLayer* layer = autoSize ? new CGeoDEMLayer() : new CGeoDEMLayer(rect);
    layer->AutoSize(autoSize);
    name.TrimLeft();
    name.TrimRight();
    if (!name.IsEmpty()) layer->SetObjectName(name);
    file.TrimLeft();
    file.TrimRight();
    if (!file.IsEmpty()) layer->SetFileName(file);
    return layer;
}
