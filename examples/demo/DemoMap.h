// The demo's map, built in code: vector layers with their themes, feature classes, styles and
// attribute records, and the pictures of it drawn through the layers' Draw. Nothing here comes from
// any other library.
//
//   "土地利用" (land use): polygons bounded by arcs of the layer, their style from the feature class of
//        their label points: class 31 "林地" (green, hatched through fill symbol 21, with a pond cut out
//        as a hole), 32 "耕地" (yellow), 33 "水域" (a lake, blue); the arcs in class 30 "地界".
//   "河流" (rivers), drawn plainly: class 10 "河流" (blue, 4 units wide), class 11 "水渠" (a dashed green
//        canal, 3 units), and one line without a class drawn in its own style (a thin grey path).
//   "道路" (roads), drawn through the symbol library: class 1 "高速公路" with the twin-line symbol 12,
//        class 2 "乡村道路" with the dashed symbol 11.
//   "居民地" (places): points with point symbols, class 41 "村庄" (symbol 1, a red dot), 42 "站点"
//        (symbol 2, a flag), each with its name.
//   "注记" (notes): annotations in the lettering styles: plain, slanted, shoulder-raised, a framed
//        box, formatted text (a stacked fraction and a split value).
//   "自动标注" (labels): annotations made by automatic labelling: the places' names beside their
//        points and the rivers' and roads' names along their lines, kept apart by a collision grid.
// Coordinates are millimetres, the layers' bounds (0, 0) to (100000, 100000).
#pragma once

#include <annotation/AnnoGrid.h>
#include <annotation/AutoLabelLine.h>
#include <annotation/AutoLabelPoint.h>
#include <annotation/GeoAnno.h>
#include <core/DisplayState.h>
#include <core/GeoGClass.h>
#include <core/GeoMap.h>
#include <core/GeoTheme.h>
#include <core/GeoVectorLayer.h>
#include <vector/GeoLabelPoint.h>
#include <vector/GeoPLine.h>
#include <vector/GeoPoint.h>
#include <vector/GeoPolygon.h>

#include <afx/afx.h>
#include <win32/gdirecord.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace demo {

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

inline CGeoVectorLayer* BuildRoads(std::vector<std::pair<CGeoPLine*, CString>>* names = nullptr) {
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
    if (names) names->insert(names->end(), {{a, "京沪线"}, {b, "东村路"}, {c, "沪宁线"}, {d, "北山路"}});
    return layer;
}

inline CGeoVectorLayer* BuildRivers(std::vector<std::pair<CGeoPLine*, CString>>* names = nullptr) {
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
    if (names) names->insert(names->end(), {{r, "青河"}, {canal, "南干渠"}});
    return layer;
}

// A closed-area feature class: fill colour, fill symbol (0 = none) and border line.
inline CGeoGClass AreaClass(UINT code, const char* name, COLORREF fill, int fillSymbol, COLORREF line) {
    CGeoGClass gc = FeatureClass(code, name, nullptr, line, 1);
    GEOVIEW view = gc.GetGeoView();
    view.m_crFillColor = fill;
    view.m_nFillShape = 0;
    view.m_bTransparent = 0;
    view.SetSymbol(SYMBOL_FILL, fillSymbol);
    gc.SetGeoView(view);
    return gc;
}

inline CGeoPolygon* Area(CGeoVectorLayer* layer, std::initializer_list<LONG> keys, POINT labelAt, UINT classID) {
    auto* polygon = new CGeoPolygon;
    layer->Add(polygon);
    CGeoKeyString k;
    for (LONG v : keys) k.Add(v);
    polygon->SetKeyString(k);
    // The polygon's class, style and attribute record are those of its label point.
    auto* label = new CGeoLabelPoint(labelAt);
    label->SetObjectClassID(classID);
    layer->Add(label);
    polygon->SetLabelPoint(label);
    return polygon;
}

inline LONG AddArc(CGeoVectorLayer* layer, std::initializer_list<POINT> pts) {
    CGeoPLine* arc = Line(pts, 30);
    layer->Add(arc);
    return static_cast<LONG>(arc->GetID());
}

inline CGeoVectorLayer* BuildLandUse() {
    CGeoTheme theme;
    theme.SetName("土地利用");
    CDaoFieldInfo name = Field("名称", dbText, 32);
    theme.AddField(name, -2);
    theme.AddGC(FeatureClass(30, "地界", nullptr, RGB(90, 70, 50), 1), -2);
    theme.AddGC(AreaClass(31, "林地", RGB(170, 215, 150), 21, RGB(60, 110, 40)), -2);
    theme.AddGC(AreaClass(32, "耕地", RGB(245, 230, 160), 0, RGB(150, 120, 40)), -2);
    theme.AddGC(AreaClass(33, "水域", RGB(160, 200, 240), 0, RGB(40, 90, 180)), -2);
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "土地利用", "", 0);
    // Two parcels share the arc at x = 45000; the wood has a pond cut out of it.
    LONG shared = AddArc(layer, {{45000, 5000}, {45000, 35000}});
    LONG west = AddArc(layer, {{45000, 35000}, {5000, 35000}, {5000, 5000}, {45000, 5000}});
    LONG east = AddArc(layer, {{45000, 5000}, {95000, 5000}, {95000, 38000}, {70000, 30000}, {45000, 35000}});
    LONG pond = AddArc(layer, {{15000, 14000}, {27000, 12000}, {30000, 24000}, {18000, 27000}, {15000, 14000}});
    LONG lake = AddArc(layer, {{62000, 48000}, {78000, 44000}, {88000, 56000}, {80000, 66000}, {64000, 62000},
                               {62000, 48000}});
    CGeoPolygon* wood = Area(layer, {shared, west, POLYGON_RING_END, pond, POLYGON_RING_END}, {36000, 28000}, 31);
    CGeoPolygon* field = Area(layer, {east, -shared, POLYGON_RING_END}, {70000, 15000}, 32);
    CGeoPolygon* water = Area(layer, {lake, POLYGON_RING_END}, {75000, 55000}, 33);
    (void)wood;
    (void)field;
    (void)water;
    return layer;
}

inline CGeoPoint* Place(CGeoVectorLayer* layer, POINT at, UINT classID, const char* name) {
    auto* point = new CGeoPoint(at);
    point->SetObjectClassID(classID);
    layer->Add(point);
    SetValues(layer, point, {COleVariant(name)});
    return point;
}

// The places, with their names (for labelling) in the same order.
inline CGeoVectorLayer* BuildPlaces(std::vector<std::pair<CGeoPoint*, CString>>* names) {
    CGeoTheme theme;
    theme.SetName("居民地");
    CDaoFieldInfo name = Field("名称", dbText, 32);
    theme.AddField(name, -2);
    CGeoGClass village = FeatureClass(41, "村庄", nullptr, RGB(0, 0, 0), 1);
    CGeoGClass station = FeatureClass(42, "站点", nullptr, RGB(0, 0, 0), 1);
    for (auto* gc : {&village, &station}) {
        GEOVIEW view = gc->GetGeoView();
        view.SetSymbol(SYMBOL_POINT, gc == &village ? 1 : 2);
        view.m_crPointColor = RGB(200, 0, 0);
        gc->SetGeoView(view);
    }
    theme.AddGC(village, -2);
    theme.AddGC(station, -2);
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "居民地", "", 0);
    const struct {
        POINT at;
        UINT cls;
        const char* name;
    } places[] = {{{22000, 52000}, 41, "东村"}, {{52000, 45000}, 41, "西岭"}, {{83000, 82000}, 41, "北山"},
                  {{38000, 80000}, 42, "青河站"}, {{68000, 22000}, 42, "南站"}};
    for (const auto& p : places) {
        CGeoPoint* point = Place(layer, p.at, p.cls, p.name);
        if (names) names->emplace_back(point, CString(p.name));
    }
    return layer;
}

// Annotations in the lettering styles. Sizes are millimetres on the ground: 2500 mm is 2 mm on paper
// at 1:1250.
inline CGeoVectorLayer* BuildNotes() {
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, nullptr, "注记", "", 0);
    auto styled = [](CGeoAnno* anno, COLORREF colour, FONTTYPE type) {
        GEOVIEW view = anno->GetGeoView();
        view.m_crAnnoColor = colour;
        view.SetFontType(type);
        anno->SetGeoView(view);
        return anno;
    };
    // Plain, anchored at its lower left corner.
    layer->Add(styled(new CGeoAnno("青河平原", CPoint(6000, 60000), 3500, 3500, 0.0f, 0.0f, 0, 0, 1, 800, 0, 0, 0),
                      RGB(60, 60, 60), FONT_NORMAL));
    // Slanted, turned by 15 degrees (angles in tenths of a degree).
    layer->Add(styled(new CGeoAnno("北山林场", CPoint(55000, 88000), 2800, 2800, 150.0f, 150.0f, 0, 0, 1, 0, 0, 0, 0),
                      RGB(0, 110, 0), FONT_SLANT));
    // Shoulder-raised.
    layer->Add(styled(new CGeoAnno("明湖", CPoint(70000, 50000), 3000, 3000, 0.0f, 0.0f, 0, 0, 1, 500, 0, 0, 0),
                      RGB(0, 60, 180), FONT_SONGJIAN));
    // Box text in a frame, two rows.
    tagGEORECT margins;
    auto* box = styled(new CGeoAnno("示范区\n一九九八", CRect(6000, 97000, 26000, 88000), 2200, 2200, margins, 4, 0,
                                    400, 0),
                       RGB(120, 0, 0), FONT_NORMAL);
    GEOANNO record = box->MakeGeoAnno();
    record.SetShowFrame(1);
    record.m_fLineWidth = 2.0f;
    box->SetGeoAnno(record);
    layer->Add(box);
    // Formatted text: a stacked value and a split one.
    tagGEOFORMAT spacing;
    layer->Add(styled(new CGeoAnno("125.5@高程", CPoint(30000, 40000), 2000, 2000, spacing, 0.0f, 0.0f, 0, 0, 0),
                      RGB(90, 50, 0), FONT_NORMAL));
    layer->Add(styled(new CGeoAnno("水田|旱地", CPoint(58000, 10000), 2000, 2000, spacing, 0.0f, 0.0f, 0, 0, 0),
                      RGB(90, 50, 0), FONT_NORMAL));
    return layer;
}

// Labels the places beside their points and the named lines along their course, into a new layer
// of annotations. The collision grid keeps the labels from overlapping each other.
inline CGeoVectorLayer* BuildLabels(const std::vector<std::pair<CGeoPoint*, CString>>& places,
                                    const std::vector<std::pair<CGeoPLine*, CString>>& lines) {
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, nullptr, "自动标注", "", 0);
    CObList made;
    CGeoAnnoGrid grid;
    grid.SetTotalRect(CRect(0, 0, 100000, 100000));
    grid.BuildIndex();
    GEOVIEW style = GetDefaultGEOVIEW();
    style.m_crAnnoColor = RGB(0, 0, 0);
    tagGEOFORMAT format;
    CPoint origin(0, 0), offset(0, 0);
    CRect area;

    // Label scale 10: lengths below are taken as they are (mm).
    GEOANNO text;
    text.m_nCharHeight = 2000;
    text.m_nCharWidth = 2000;
    text.m_pOutputList = &made;
    tagPOINTPARA point;
    static_cast<tagPOINTLABEL&>(point) = GetDefaultPointLabel();
    point.m_nPosition = 9;  // the first free place around the point
    point.m_nHorOffset = 1500;
    point.m_nHorOffsetLimit = 4000;
    point.m_nVerOffset = 0;
    point.m_nVerOffsetLimit = 3000;
    point.m_nSearchStep = 500;
    point.m_nUseGrid = 1;
    point.m_nScale = 10;
    point.m_nKind = 1;  // make annotations
    point.m_nUnit = 3;
    CTypedPtrList<CObList, CGeoVectorObject*> objects;
    CStringList texts;
    for (const auto& p : places) {
        objects.AddTail(p.first);
        texts.AddTail(p.second);
    }
    AutoLabelGeoPoint(nullptr, 10, origin, offset, style, text, point, area, objects, texts, format, &grid, nullptr);

    GEOANNO along = text;
    along.m_nCharHeight = 1800;
    along.m_nCharWidth = 1800;
    tagLINEPARA line;
    static_cast<tagLINELABEL&>(line) = GetDefaultLineLabel();
    line.m_nSide = 1;
    line.m_nCharOrient = 1;  // along the line
    line.m_nCharSpace = 600;
    line.m_nLineDistance = 600;
    line.m_nStartMode = 2;  // centred on the line
    line.m_nRepeat = 0;
    line.m_nCollisionTest = 1;
    line.m_nShiftStep = 500;
    line.m_nScale = 10;
    line.m_nKind = 1;
    line.m_nUnit = 3;
    CTypedPtrList<CObList, CGeoPLine*> plines;
    CStringList names;
    for (const auto& l : lines) {
        plines.AddTail(l.first);
        names.AddTail(l.second);
    }
    AutoLabelGeoLine(nullptr, 10, origin, offset, style, along, line, area, plines, names, format, &grid, nullptr);

    while (!made.IsEmpty()) {
        auto* anno = static_cast<CGeoAnno*>(made.RemoveHead());
        if (!layer->Add(anno)) delete anno;
    }
    return layer;
}

// How the map is pictured: the layers' 100 m squares on 800 pixels (scale 1250; widths and symbols at
// the same reference scale), y pointing up on the page.
const int kPictureSize = 800;
const UINT kPictureScale = 1250;

// Draws the given layers in order through CGeoVectorLayer::Draw into a new white image of kPictureSize
// pixels square, symbolised with the library when one is given. The caller deletes the returned DC
// (DeleteDC).
inline HDC DrawLayers(const std::vector<CGeoLayer*>& layers, CSymbolLibIO* pLib) {
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
    for (CGeoLayer* layer : layers) {
        if (layer && layer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)))
            static_cast<CGeoVectorLayer*>(layer)->Draw(&dc, &clip, kPictureScale, kPictureScale,
                                                       CPoint(0, -100000), ds, 0, nullptr);
    }
    return dc.Detach();
}

// Every layer of the map, head first.
inline HDC DrawMap(CGeoMap& map, CSymbolLibIO* pLib) {
    std::vector<CGeoLayer*> layers;
    for (int i = 0; i < map.GetLayerCount(); ++i) layers.push_back(map.FindLayer(i));
    return DrawLayers(layers, pLib);
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

}  // namespace demo
