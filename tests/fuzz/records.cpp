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

#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "terrain/GeoDEM.h"
#include "terrain/GeoTin.h"
#include "vector/GeoTinPoint.h"

#include <afx/File.h>

#include <memory>

namespace {

// After its record, a raster's host reads the raster's bytes where the record ended (ReadHugeData), so
// a DEM's nodes are mapped at whatever offset the record's length gives; then they are read. Bands
// naming an outside file read from the document instead: the input never names files to open.
void UseRaster(CGeoRasterObject& raster, CFile& file) {
    CGeoBandArray& bands = raster.GetBandArray();
    CString none;
    for (INT_PTR i = 0; i < bands.GetSize(); ++i)
        if (CGeoBandData* b = bands.GetAt(i)) b->SetExternFileName(none);
    raster.ReadHugeData(&file);
    if (raster.IsKindOf(RUNTIME_CLASS(CGeoDEM))) {
        auto& dem = static_cast<CGeoDEM&>(raster);
        dem.RecalcMinMax();
        const CRect b = dem.GetBounds();
        double out = 0.0;
        dem.GetPixel(b.left + b.Width() / 2.0, b.top + b.Height() / 2.0, out, INTERPOLATE_BILINEAR);
        dem.GetPixel(LONG(0), LONG(0), out);
        delete[] dem.GetBlock2(0, 0, 0, 2, 2);
    }
    raster.ReleaseHugeData();
}

// A seam line is built into a TIN, one vertex per mosaic point, as the seam resampling does.
void UseMosaicLine(CGeoMosaicPLine& line) {
    if (line.GetMosaicPoints() > 4096) return;
    const int minusY = CGeoTinPoint::GetMinusY();
    CTypedPtrList<CObList, CGeoMosaicPLine*> lines;
    lines.AddTail(&line);
    CGeoTin tin;
    tin.Create(lines);
    CGeoTinPoint::SetMinusY(minusY);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CWinApp app("fuzz_records");
    AfxSetUserDriver(nullptr);
    const std::string path = fuzz::Scratch("r.doc");
    fuzz::WriteBytes(path, data, size);
    CObject* ob = nullptr;
    try {
        CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyNone);
        CArchive ar(&file, CArchive::load);
        ar >> ob;
        ar.Close();
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CGeoRasterObject))) UseRaster(*static_cast<CGeoRasterObject*>(ob), file);
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CGeoMosaicPLine))) UseMosaicLine(*static_cast<CGeoMosaicPLine*>(ob));
    } catch (CException&) {
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
    // DEMs with their nodes after the record, as a host stores them: names of one to seven letters put
    // the nodes at every offset modulo 4.
    {
        tagRasterParameter parameter{};
        parameter.m_dPixelSize = 10.0;
        for (const char* name : {"A", "AB", "ABC", "ABCD", "ABCDE", "ABCDEF", "ABCDEFG"}) {
            CGeoDEM dem(4, 3, 32, 1000, 2000, parameter, 0.1);
            LONG* nodes = dem.GetNodes();
            if (!nodes) continue;
            for (int i = 0; i < 12; ++i) nodes[i] = i * 7 - 20;
            dem.RecalcMinMax();
            dem.SetObjectName(name);
            CMemFile file;
            try {
                CArchive ar(&file, CArchive::store);
                ar << static_cast<CObject*>(&dem);
                ar.Close();
                dem.WriteHugeData(&file);
            } catch (CException&) {
                continue;
            }
            fuzz::SaveSeed(dir, std::string("dem-with-nodes-") + name, file.Data());
        }
    }
    // A seam line grown by Append: more mosaic points than vertices.
    {
        auto* seam = new CGeoMosaicPLine;
        seam->AddPoint(0.0, 0.0, 0.0, 0.0);
        seam->AddPoint(100.0, 7.0, 100.0, 7.0);
        seam->AddPoint(3.0, 100.0, 3.0, 100.0);
        CGeoMosaicPLine more;
        for (int i = 0; i < 300; ++i) {
            const double x = 10 + (i % 20) * 9 + i / 20, y = 10 + (i / 20) * 11 + i % 3;
            more.AddPoint(x, y, x, y);
        }
        seam->Append(&more, 0, 0);
        Seed(dir, "mosaic-line-appended", seam);
    }
    // An image record with its lists (its picture written beside the seeds, so that storing it asks
    // nothing).
    {
        tagRasterParameter parameter{};
        parameter.m_nScale = 50000;
        parameter.m_dXResolution = parameter.m_dYResolution = 400.0;
        parameter.m_dPixelSize = 1.0;
        auto* image = new CGeoImage(4, 3, 8, 0, 30, parameter);
        image->SetRasterFileName(CString(fuzz::Scratch("seed-image.bmp").c_str()));
        auto* seam = new CGeoMosaicPLine;
        seam->AddPoint(1.0, 0.0, 1000.0, 0.0);
        seam->AddPoint(2.0, 2.0, 2000.0, 2000.0);
        seam->SetImagePosition(IMAGE_WEST);
        image->GetMosaicPLines()->AddTail(seam);
        Seed(dir, "image", image);
    }
    for (const char* name : {"CGeoImageLayer", "CGeoDEM", "CGeoDEMLayer", "CGeoMosaicPLine",
                             "CGeoMosaicReferenceBuffer", "CGeoBandData", "CGeoBandArray", "CGeoGCPoint",
                             "CGeoHistogram", "CGeoStandardHistogram", "CGeoClassificationParameter",
                             "CGeoTinTriangle", "CGeoClassLabel", "CGeoLayerLabel", "CGeoProLabel", "CGeoDNAnno"}) {
        const CRuntimeClass* rc = CRuntimeClass::FromName(name);
        if (rc && rc->m_pfnCreateObject && !Seed(dir, name, rc->CreateObject()))
            std::fprintf(stderr, "records: a fresh %s cannot be stored; no seed\n", name);
    }
}
