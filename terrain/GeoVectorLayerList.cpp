#include "terrain/GeoVectorLayerList.h"

#include "core/GeoVectorLayer.h"
#include "core/GeoVectorObject.h"

#include <ostrel/Units.h>

LONG GetLayerTinPointNumber(const CGeoVectorLayer* pLayer) {
    long long sum = 0;
    for (POSITION pos = pLayer->m_ObjList.GetHeadPosition(); pos;) {
        const auto* obj = static_cast<const CGeoVectorObject*>(pLayer->m_ObjList.GetNext(pos));
        const LONG n = obj->GetTinPointNumber();
        if (n > 0) sum += n;
    }
    return sum > INT32_MAX ? INT32_MAX : static_cast<LONG>(sum);
}

LONG CreateLayerTinPoints(CGeoVectorLayer* pLayer, CGeoTinPoint*& cursor, CPoint& centre) {
    LONG sum = 0;
    for (POSITION pos = pLayer->m_ObjList.GetHeadPosition(); pos;) {
        auto* obj = static_cast<CGeoVectorObject*>(pLayer->m_ObjList.GetNext(pos));
        sum += obj->CreateTinPoints(cursor, centre);
    }
    return sum;
}

LONG CountLayerTinPoints(const CGeoVectorLayerList& layers) {
    long long sum = 0;
    for (POSITION pos = layers.GetHeadPosition(); pos;) sum += GetLayerTinPointNumber(layers.GetNext(pos));
    return sum > INT32_MAX ? INT32_MAX : static_cast<LONG>(sum);
}

CRect GetLayerListBounds(const CGeoVectorLayerList& layers, int unit) {
    CRect result(0, 0, 0, 0);
    for (POSITION pos = layers.GetHeadPosition(); pos;) {
        CGeoVectorLayer* layer = layers.GetNext(pos);
        RECT r = layer->GetPosition();
        ChangeUnit(layer->GetUnit(), unit, r, 1.0);
        result.UnionRect(&result, &r);
    }
    return result;
}

LONG FillLayerTinPoints(const CGeoVectorLayerList& layers, CGeoTinPoint*& cursor, CPoint& centre) {
    LONG sum = 0;
    for (POSITION pos = layers.GetHeadPosition(); pos;) sum += CreateLayerTinPoints(layers.GetNext(pos), cursor, centre);
    return sum;
}
