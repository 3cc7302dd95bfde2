// A small map of polylines for the demo and the tests: two vector layers with their themes, feature
// classes, styles and attribute records, and a picture of the map drawn through the layers' Draw.
// Header-only; nothing here comes from any other library.
//
//   "河流" (rivers), drawn plainly: class 10 "河流" (blue, 4 units wide), class 11 "水渠" (a dashed green
//        canal, 3 units), and one line without a class drawn in its own style (a thin grey path).
//   "道路" (roads), drawn through the symbol library (the sample library of the quenby tests): class 1
//        "高速公路" with the twin-line symbol 12, class 2 "乡村道路" with the dashed symbol 11; where a
//        symbol cannot be drawn the roads fall back to their plain style.
// Coordinates are millimetres, the layers' bounds (0, 0) to (100000, 100000).
#pragma once

#include "core/DisplayState.h"
#include "core/GeoGClass.h"
#include "core/GeoMap.h"
#include "core/GeoTheme.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <afx/afx.h>
#include <win32/gdirecord.h>

#include <initializer_list>
#include <vector>

namespace plinesample {

inline CDaoFieldInfo Field(const char* name, short type, LONG size) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

// A feature class with its own field (when given) and a line style.
inline CGeoGClass FeatureClass(UINT code, const char* name, const CDaoFieldInfo* field, COLORREF color, float width,
                               int lineShape = PS_ENDCAP_FLAT, int lineSymbol = 0) {
    CGeoGClass gc;
    gc.SetGCID(code);
    gc.SetGCName(name);
    if (field) gc.AddField(*field, -2);
    GEOVIEW view = gc.GetGeoView();
    view.m_crLineColor = color;
    view.m_fLineWidth = width;
    view.m_nLineShape = lineShape;
    view.SetSymbol(SYMBOL_LINE, lineSymbol);
    gc.SetGeoView(view);
    return gc;
}

inline CGeoPLine* Line(std::initializer_list<POINT> pts, UINT classID) {
    std::vector<POINT> v(pts);
    auto* line = new CGeoPLine(static_cast<int>(v.size()), v.data(), FALSE);
    line->SetObjectClassID(classID);
    return line;
}

inline void SetValues(CGeoVectorLayer* layer, CGeoVectorObject* object, std::initializer_list<COleVariant> values) {
    CGeoValueList list;
    for (COleVariant v : values) list.AddTail(v);
    layer->SetAttribute(object, &list);
}

inline CGeoVectorLayer* BuildRoads() {
    CGeoTheme theme;
    theme.SetName("交通");
    CDaoFieldInfo name = Field("名称", dbText, 32), lanes = Field("车道数", dbLong, 4);
    theme.AddField(name, -2);
    theme.AddGC(FeatureClass(1, "高速公路", &lanes, RGB(200, 0, 0), 6, PS_ENDCAP_FLAT, 12), -2);
    theme.AddGC(FeatureClass(2, "乡村道路", nullptr, RGB(120, 80, 0), 2, PS_ENDCAP_FLAT, 11), -2);
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "道路", "", 0);
    CGeoPLine* a = Line({{1000, 1000}, {20000, 15000}, {40000, 15000}, {60000, 30000}}, 1);
    CGeoPLine* b = Line({{5000, 40000}, {25000, 42000}, {45000, 60000}}, 2);
    CGeoPLine* c = Line({{60000, 30000}, {80000, 50000}, {90000, 90000}}, 1);
    CGeoPLine* d = Line({{45000, 60000}, {55000, 75000}, {52000, 95000}}, 2);
    layer->Add(a);
    layer->Add(b);
    layer->Add(c);
    layer->Add(d);
    SetValues(layer, a, {COleVariant("京沪线"), COleVariant(static_cast<LONG>(6))});
    SetValues(layer, b, {COleVariant("东村路")});
    SetValues(layer, c, {COleVariant("沪宁线"), COleVariant(static_cast<LONG>(4))});
    SetValues(layer, d, {COleVariant("北山路")});
    return layer;
}

inline CGeoVectorLayer* BuildRivers() {
    CGeoTheme theme;
    theme.SetName("水系");
    CDaoFieldInfo name = Field("名称", dbText, 32), length = Field("长度", dbDouble, 8);
    theme.AddField(name, -2);
    theme.AddGC(FeatureClass(10, "河流", &length, RGB(0, 90, 220), 4, PS_ENDCAP_ROUND | PS_JOIN_ROUND), -2);
    theme.AddGC(FeatureClass(11, "水渠", nullptr, RGB(0, 150, 90), 3, PS_DASH | PS_ENDCAP_FLAT), -2);
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "河流", "", 0);
    CGeoPLine* r = Line({{0, 70000}, {30000, 65000}, {50000, 80000}, {100000, 75000}}, 10);
    CGeoPLine* canal = Line({{30000, 65000}, {35000, 45000}, {70000, 20000}, {98000, 12000}}, 11);
    // A path without a feature class keeps its own style.
    CGeoPLine* path = Line({{10000, 95000}, {20000, 85000}, {35000, 90000}, {40000, 98000}}, 0);
    GEOVIEW own = path->GetGeoView();
    own.m_crLineColor = RGB(110, 110, 110);
    own.m_fLineWidth = 1;
    path->SetGeoView(own);
    layer->Add(r);
    layer->Add(canal);
    layer->Add(path);
    SetValues(layer, r, {COleVariant("青河"), COleVariant(105.6)});
    SetValues(layer, canal, {COleVariant("南干渠")});
    return layer;
}

// How the map is pictured: the layers' 100 m squares on 800 pixels (scale 1250; widths and symbols at
// the same reference scale), y pointing up on the page.
const int kPictureSize = 800;
const UINT kPictureScale = 1250;

// Draws every layer of the map, head first, through CGeoVectorLayer::Draw into a new white image of
// kPictureSize pixels square, symbolised with the library when one is given. The caller deletes the
// returned DC (DeleteDC).
inline HDC DrawMap(CGeoMap& map, CSymbolLibIO* pLib) {
    HDC hdc = win32::CreateImageDC(kPictureSize, kPictureSize);
    CDC dc;
    dc.Attach(hdc);
    tagDisplayState ds{};
    ds.m_nDisplayAttr = DISPLAYATTR_SELF;  // each object's own choice: its class's style, else its own
    ds.m_bSymbolized = pLib != nullptr;
    ds.m_bKeepSymbolColor = 1;
    ds.m_pSymbolLibIO = pLib;
    ds.m_nShowMode = VISIBLE_ALL;
    ds.m_bScaleWidth = 1;
    RECT clip{0, 0, kPictureSize, kPictureSize};
    for (int i = 0; i < map.GetLayerCount(); ++i) {
        CGeoLayer* layer = map.FindLayer(i);
        if (layer && layer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)))
            static_cast<CGeoVectorLayer*>(layer)->Draw(&dc, &clip, kPictureScale, kPictureScale,
                                                       CPoint(0, -100000), ds, 0, nullptr);
    }
    return dc.Detach();
}

// The pixels of an image DC's bitmap, row by row.
inline std::vector<BYTE> Pixels(HDC hdc) {
    HBITMAP bmp = static_cast<HBITMAP>(::GetCurrentObject(hdc, OBJ_BITMAP));
    BITMAP info{};
    ::GetObject(bmp, sizeof info, &info);
    std::vector<BYTE> bits(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight);
    ::GetBitmapBits(bmp, static_cast<LONG>(bits.size()), bits.data());
    return bits;
}

}  // namespace plinesample
