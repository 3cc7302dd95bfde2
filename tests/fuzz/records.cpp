// Every persistent record on its own: any class the archive knows by the class tag in the input,
// loaded as one object of a graph (ar >> CObject*).
#include "FuzzSupport.h"

#include "annotation/GeoAnno.h"
#include "core/GeoMap.h"
#include "core/GeoTheme.h"
#include "core/GeoVectorLayer.h"
#include "raster/GeoRasterLayer.h"
#include "vector/GeoCircle.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoMixLine.h"
#include "vector/GeoNPolygon.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygon.h"
#include "vector/GeoRect.h"
#include "vector/GeoSPLine.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile file(data, static_cast<UINT>(size));
    CObject* ob = nullptr;
    try {
        CArchive ar(&file, CArchive::load);
        ar >> ob;
    } catch (CException&) {
        ob = nullptr;
    }
    delete ob;
    AfxClearMessageLog();
    return 0;
}

namespace {

// Writes ob's stored bytes as a seed; an object that refuses to be stored (it says so) gives none.
bool Seed(const std::string& dir, const char* name, CObject* ob) {
    std::unique_ptr<CObject> owned(ob);
    CMemFile file;
    try {
        CArchive ar(&file, CArchive::store);
        ar << ob;
        ar.Close();
    } catch (CException&) {
        AfxClearMessageLog();
        return false;
    }
    fuzz::SaveSeed(dir, name, file.Data());
    return true;
}

}  // namespace

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    const POINT pts[] = {{0, 0}, {100, 50}, {200, 0}, {300, 80}};
    Seed(dir, "pline", new CGeoPLine(4, pts, FALSE));
    Seed(dir, "spline", new CGeoSPLine(4, 3, [&] {
             static POINT slots[13];  // (4 - 1) * (3 + 1) + 1
             for (int i = 0; i < 13; ++i) slots[i] = POINT{i * 10, (i % 3) * 7};
             return slots;
         }()));
    auto* mixed = new CGeoMixedLine(CPoint(0, 0));
    Seed(dir, "mixedline", mixed);
    Seed(dir, "point", new CGeoPoint(5, 6));
    Seed(dir, "labelpoint", new CGeoLabelPoint(7, 8));
    Seed(dir, "circle", new CGeoCircle(CPoint(10, 10), 5));
    Seed(dir, "npolygon", new CGeoNPolygon(CPoint(0, 0), 50, 6));
    Seed(dir, "anno", new CGeoAnno(CString("中文AB"), CPoint(3, 4), 50, 40, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0));
    auto* box = new CGeoAnno(CString("框"), CRect(0, 0, 300, 100), 50, 50, tagGEORECT(), 4, 5, 6, 1);
    Seed(dir, "anno-box", box);
    auto* fmt = new CGeoAnno(CString("1@2"), CPoint(0, 0), 50, 50, tagGEOFORMAT(), 0.0f, 0.0f, 0, 0, 0);
    Seed(dir, "anno-format", fmt);
    auto* polygon = new CGeoPolygon;
    CGeoKeyString keys;
    keys.Add(1);
    keys.Add(-2);
    keys.Add(POLYGON_RING_END);
    polygon->SetKeyString(keys);
    Seed(dir, "polygon", polygon);
    CRect bounds(0, 0, 1000, 1000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, nullptr, "层", "", 0);
    layer->Add(new CGeoPLine(4, pts, FALSE));
    layer->Add(new CGeoPoint(1, 2));
    Seed(dir, "vectorlayer", layer);
    Seed(dir, "rasterlayer", new CGeoRasterLayer(TRUE));
    Seed(dir, "theme", new CGeoTheme);
    Seed(dir, "map", new CGeoMap);
    // The raster, terrain and label records as a fresh object of each stores them: the class tags and
    // schemas give the fuzzer a way into every loader. (An image is stored only with its picture file,
    // which the image family covers.)
    for (const char* name : {"CGeoImageLayer", "CGeoDEM", "CGeoDEMLayer", "CGeoMosaicPLine",
                             "CGeoMosaicReferenceBuffer", "CGeoBandData", "CGeoBandArray", "CGeoGCPoint",
                             "CGeoHistogram", "CGeoStandardHistogram", "CGeoClassificationParameter",
                             "CGeoTinTriangle", "CGeoClassLabel", "CGeoLayerLabel", "CGeoProLabel", "CGeoDNAnno"}) {
        const CRuntimeClass* rc = CRuntimeClass::FromName(name);
        if (rc && rc->m_pfnCreateObject && !Seed(dir, name, rc->CreateObject()))
            std::fprintf(stderr, "records: a fresh %s cannot be stored; no seed\n", name);
    }
}
