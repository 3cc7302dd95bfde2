// The second half of the example host: land-use parcels dissolved by class, a road layer clipped to
// a map-sheet outline, a parcel area intersected with the sheet, and the dissolved areas labelled
// from their attribute records with a label set that is saved to a file and read back. The result is
// drawn into a PNG.
#include "annotation/AttributeLabel.h"
#include "annotation/GeoAnno.h"
#include "core/GeoMap.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygon.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoProcPoly.h"
#include "vector/LayerMergeClip.h"
#include "vector/PolygonXPolygon.h"

#include "DemoMap.h"

#include <win32/codepage.h>
#include <win32/gdirecord.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

struct LandUse {
    UINT code;
    const char* name;
    COLORREF fill;
};
const LandUse kUses[] = {{21, "耕地", RGB(240, 220, 130)}, {22, "林地", RGB(120, 190, 110)}, {23, "水域", RGB(140, 190, 240)}};

// Which land use each cell of the 6 x 4 parcel grid has, bottom row first.
const int kGrid[4][6] = {
    {0, 0, 1, 1, 1, 2},
    {0, 0, 1, 2, 1, 2},
    {0, 1, 1, 1, 1, 2},
    {0, 0, 0, 2, 2, 2},
};
const int kCell = 12000;  // 12 m parcels
const int kLeft = 14000, kBottom = 20000;

double Area(const POINT* p, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i) {
        const POINT& a = p[i];
        const POINT& b = p[(i + 1) % n];
        s += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return std::fabs(s / 2);
}

double Length(CGeoVectorLayer& layer) {
    double s = 0;
    for (POSITION pos = layer.m_ObjList.GetHeadPosition(); pos;) {
        auto* obj = dynamic_cast<CGeoVectorObject*>(layer.m_ObjList.GetNext(pos));
        for (int i = 0; obj && i + 1 < obj->GetPoints(); ++i) {
            POINT a = obj->GetPoint(i), b = obj->GetPoint(i + 1);
            s += std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
        }
    }
    return s;
}

// The parcels as topological polygons over shared arcs: horizontal arcs run east, vertical arcs run
// north, and every parcel walks its outline counterclockwise.
CGeoVectorLayer* BuildParcels(std::vector<CGeoPolygon*>& parcels) {
    CRect bounds(0, 0, 100000, 100000);
    CGeoTheme theme;
    theme.SetName("土地利用");
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "地块", "", 0);
    const int nx = 6, ny = 4;
    std::vector<LONG> h, v;
    auto arc = [&](POINT a, POINT b) {
        auto* line = new CGeoPLine(2, std::vector<POINT>{a, b}.data(), FALSE);
        layer->Add(line);
        return static_cast<LONG>(line->GetID());
    };
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i < nx; ++i)
            h.push_back(arc({kLeft + i * kCell, kBottom + j * kCell}, {kLeft + (i + 1) * kCell, kBottom + j * kCell}));
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i <= nx; ++i)
            v.push_back(arc({kLeft + i * kCell, kBottom + j * kCell}, {kLeft + i * kCell, kBottom + (j + 1) * kCell}));
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            CGeoKeyString keys;
            for (LONG k : {h[j * nx + i], v[j * (nx + 1) + i + 1], -h[(j + 1) * nx + i], -v[j * (nx + 1) + i],
                           static_cast<LONG>(POLYGON_RING_END)})
                keys.Add(k);
            auto* parcel = new CGeoPolygon;
            layer->Add(parcel);
            parcel->SetKeyString(keys);
            parcels.push_back(parcel);
        }
    return layer;
}

}  // namespace

int RunGeoProcessDemo(const std::string& outDir, const CString& dir) {
    std::printf("\n== land use dissolved by class, roads clipped to a sheet, areas labelled ==\n");

    // 1. Dissolve the parcels of each land use.
    std::vector<CGeoPolygon*> parcels;
    std::unique_ptr<CGeoVectorLayer> parcelLayer(BuildParcels(parcels));
    std::vector<std::unique_ptr<CGeoKeyString>> keys;
    CGeoKeyStringArray keyArray;
    for (CGeoPolygon* p : parcels) {
        keys.emplace_back(new CGeoKeyString);
        p->GetKeyString(*keys.back(), 0);
        keyArray.Add(keys.back().get());
    }
    CGeoTheme landTheme;
    landTheme.SetName("地类");
    landTheme.AddField(demo::Field("名称", dbText, 32), -2);
    for (const LandUse& use : kUses) {
        CGeoGClass gc;
        gc.SetGCID(use.code);
        gc.SetGCName(use.name);
        GEOVIEW view = gc.GetGeoView();
        view.m_crFillColor = use.fill;
        view.m_nFillShape = -1;
        view.m_bTransparent = 0;
        view.m_crLineColor = RGB(90, 90, 90);
        view.m_fLineWidth = 1;
        gc.SetGeoView(view);
        landTheme.AddGC(gc, -2);
    }
    CRect bounds(0, 0, 100000, 100000);
    std::unique_ptr<CGeoVectorLayer> areas(CreateVectorLayer(&bounds, &landTheme, "地类合并", "", 0));
    CGeoProcPoly dissolver(parcelLayer.get(), keyArray);
    for (size_t u = 0; u < 3; ++u) {
        CGeoKeyString selection;
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 6; ++i)
                if (kGrid[j][i] == static_cast<int>(u)) selection.Add(j * 6 + i);
        POINT* pts = nullptr;
        int* sizes = nullptr;
        int rings = 0;
        if (!dissolver.ReunitePoly(selection, &pts, &sizes, rings)) {
            std::printf("%s: no touching parcels\n", Utf8(kUses[u].name).c_str());
            continue;
        }
        int at = 0;
        for (int r = 0; r < rings; ++r) {
            auto* outline = new CGeoPolygonLine(sizes[r], pts + at, FALSE);
            outline->SetFace(1);
            outline->SetObjectClassID(kUses[u].code);
            areas->Add(outline);
            CString name = CString(kUses[u].name) + "区" + CString(std::to_string(r + 1).c_str());
            demo::SetValues(areas.get(), outline, {COleVariant(name)});
            std::printf("%s: %d parcels selected, ring %d of %d: %d points, %.0f m2\n", Utf8(kUses[u].name).c_str(),
                        selection.GetSize(), r + 1, rings, sizes[r], Area(pts + at, sizes[r]) / 1e6);
            at += sizes[r];
        }
        delete[] pts;
        delete[] sizes;
    }

    // 2. Clip the roads to the sheet outline (layer coordinates x 1000, as hosts give them).
    std::unique_ptr<CGeoVectorLayer> roads(demo::BuildRoads());
    CRect empty(0, 0, 0, 0);
    CGeoTheme roadTheme;
    std::unique_ptr<CGeoVectorLayer> clipped(CreateVectorLayer(&empty, &roadTheme, "图幅内道路", "", 0));
    const double sl = 20000, sb = 20000, sr = 80000, st = 70000;
    std::vector<DPoint> sheet = {{sl * 1000, sb * 1000}, {sr * 1000, sb * 1000}, {sr * 1000, st * 1000},
                                 {sl * 1000, st * 1000}, {sl * 1000, sb * 1000}};
    CGeoVectorLayerList list;
    list.AddTail(roads.get());
    if (!LayerCut(list, sheet.data(), static_cast<LONG>(sheet.size()), clipped.get(), 1)) {
        std::printf("the roads could not be clipped\n");
        return 1;
    }
    std::printf("roads: %d lines, %.1f m long; inside the sheet: %d pieces, %.1f m long\n", roads->GetObjectCount(),
                Length(*roads) / 1000, clipped->GetObjectCount(), Length(*clipped) / 1000);

    // 3. The part of the first dissolved area inside the sheet.
    CGeoPolygonLine sheetLine;
    for (int k = 0; k < 4; ++k) sheetLine.AddPoint(POINT{static_cast<LONG>(sheet[k].x / 1000), static_cast<LONG>(sheet[k].y / 1000)});
    auto* firstArea = dynamic_cast<CGeoPolygonLine*>(areas->m_ObjList.GetHead());
    CPolygonXPolygon intersector;
    std::unique_ptr<CGeoPolygonLine> common(firstArea ? intersector.PolygonLineXPolygonLine(firstArea, &sheetLine) : nullptr);
    if (common) {
        std::vector<POINT> pts;
        for (int i = 0; i < common->GetPoints(); ++i) pts.push_back(common->GetPoint(i));
        std::printf("first area inside the sheet: %d points, %.0f m2\n", common->GetPoints(),
                    Area(pts.data(), static_cast<int>(pts.size())) / 1e6);
    }

    // 4. A label set: one class label per land use, saved to a file and read back.
    CGeoLayerLabel layerLabel;
    layerLabel.SetLayerName(areas->GetObjectName());
    for (const LandUse& use : kUses) {
        CGeoClassLabel label;
        label.SetClassID(use.code);
        label.SetFormat("%名称%(%地物编码%)");
        label.SetCharSize(40, 40);
        label.SetPositionType(8);
        label.SetFormatStyle(0);
        GEOVIEW style = label.GetGeoView();
        style.m_crAnnoColor = RGB(60, 30, 0);
        label.SetGeoView(style);
        layerLabel.Add(label);
    }
    CGeoProLabel sets[3], loaded[3];
    sets[0].Add(&layerLabel);
    CString labelPath = dir + "landuse.lab";
    if (!WriteGeoAttributeLabel(labelPath, sets[0], sets[1], sets[2]) ||
        !ReadGeoAttributeLabel(labelPath, loaded[0], loaded[1], loaded[2])) {
        std::printf("the label set could not be saved and read back\n");
        return 1;
    }
    std::printf("label set %s: %d layer label(s), version %.2f\n", Utf8(labelPath).c_str(), loaded[0].GetSize(),
                loaded[0].GetOldVersion());

    CRect annoBounds(0, 0, 100000, 100000);
    CGeoTheme annoTheme;
    std::unique_ptr<CGeoVectorLayer> annos(CreateVectorLayer(&annoBounds, &annoTheme, "注记", "", 0));
    for (const LandUse& use : kUses) {
        CGeoClassLabel settings;
        if (!loaded[0].FindGeoClassLabel(areas->GetObjectName(), use.code, settings)) continue;
        CTypedPtrList<CObList, CGeoVectorObject*> objects;
        for (POSITION pos = areas->m_ObjList.GetHeadPosition(); pos;) {
            auto* obj = dynamic_cast<CGeoVectorObject*>(areas->m_ObjList.GetNext(pos));
            if (obj && obj->GetObjectClassID() == use.code) objects.AddTail(obj);
        }
        CPoint origin(0, 0), offset(0, 0);
        CRect area(0, 0, 100000, 100000);
        ShowAttributeAnnotationLabel(nullptr, origin, offset, area, areas.get(), settings, objects,
                                     demo::kPictureScale, demo::kPictureScale, ANNOLABEL_CREATE,
                                     annos.get(), 0, nullptr);
    }
    for (POSITION pos = annos->m_ObjList.GetHeadPosition(); pos;)
        if (auto* a = dynamic_cast<CGeoAnno*>(annos->m_ObjList.GetNext(pos)))
            std::printf("label \"%s\" at (%ld, %ld)\n", Utf8(a->MakeGeoAnno().m_strText).c_str(),
                        static_cast<long>(a->MakeGeoAnno().m_ptPosition.x),
                        static_cast<long>(a->MakeGeoAnno().m_ptPosition.y));

    // 5. The picture: dissolved areas, the sheet's roads and the labels.
    CGeoMap map;
    map.AddLayer(areas.release(), -1);
    map.AddLayer(clipped.release(), -1);
    map.AddLayer(annos.release(), -1);
    HDC hdc = demo::DrawMap(map, nullptr);
    std::string png = outDir + "/demo-geoprocess.png";
    BOOL written = win32::WriteDCToPNG(hdc, win32::NativePathToGbk(png).c_str());
    ::DeleteDC(hdc);
    if (!written) {
        std::printf("cannot write %s\n", png.c_str());
        return 1;
    }
    std::printf("picture of the dissolved land use, the clipped roads and the labels: %s\n", png.c_str());
    return 0;
}
