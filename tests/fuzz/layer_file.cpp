// Layer files with their attribute databases, loaded through the map, then used as a host uses them:
// drawn, hit-tested, and their TIN sources and mosaic lines built on (a vector layer's TIN, an image's
// seam strips and seam TIN). The input is a 32-bit length L, then L bytes of layer file, then the
// database file beside it (none when nothing follows). A small image the library wrote lies beside the
// layer file under the names image layers look for ("img.tif", and the layer's own name with ".tif").
#include "FuzzSupport.h"

#include "core/GeoMap.h"
#include "core/GeoVectorLayer.h"
#include "raster/GeoImage.h"
#include "raster/GeoImageLayer.h"
#include "raster/GeoMosaicPLine.h"
#include "terrain/GeoTin.h"
#include "terrain/GeoTinTriangle.h"
#include "terrain/GeoVectorLayerList.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoTinPoint.h"

#include <afx/Dc.h>
#include <win32/gdirecord.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

// The image beside every layer file: 16 x 12, 8 bits, written by the library.
void WriteBesideImages(const std::string& dir) {
    CNewDIB dib;
    if (!dib.CreateDIB(16, 12, 8)) return;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) dib.SetPixelIndex(x, y, (x * 13 + y * 7) & 0xFF);
    dib.SaveFile((dir + "/img.tif").c_str());
    dib.SaveFile((dir + "/f.tif").c_str());
}

// Work bounded by the input's size: a TIN over at most this many vertices.
const LONG kMaxTinPoints = 4096;

void UseVectorLayer(CGeoVectorLayer& layer, CDC& dc) {
    RECT clip{-2000, -2000, 2000, 2000};
    for (int attr : {0, 2}) {
        tagDisplayState ds{};
        ds.m_nDisplayAttr = attr;
        layer.Draw(&dc, &clip, 10, 10, CPoint(0, 0), ds, 0, nullptr);
    }
    layer.FindObj(CRect(-100000, -100000, 100000, 100000), SELOBJ_MEET, 0);
    layer.FindObj(CRect(0, 0, 500, 500), SELOBJ_INSIDE, 0);
    if (GetLayerTinPointNumber(&layer) > kMaxTinPoints) return;
    CGeoVectorLayerList list;
    list.AddTail(&layer);
    CGeoTin tin;
    if (!tin.Create(list)) return;
    const CRect b = tin.GetBounds();
    for (LONG s = 1; s <= tin.GetTriangleCount() && s <= 8; ++s)
        tin.GetElevation(static_cast<int>((static_cast<long long>(b.left) + b.right) / 2),
                         static_cast<int>((static_cast<long long>(b.top) + b.bottom) / 2), s, 1.0, 0);
}

void UseImageLayer(CGeoImageLayer& layer, CDC& dc) {
    RECT clip{-2000, -2000, 2000, 2000};
    layer.Draw(&dc, &clip, 10, CPoint(0, 0));
    layer.FindObj(CRect(-100000, -100000, 100000, 100000), SELOBJ_MEET, 0);
    for (POSITION pos = layer.GetObjectList().GetHeadPosition(); pos;) {
        CObject* o = layer.GetObjectList().GetNext(pos);
        if (!o || !o->IsKindOf(RUNTIME_CLASS(CGeoImage))) continue;
        auto* image = static_cast<CGeoImage*>(o);
        CTypedPtrList<CObList, CGeoMosaicPLine*> lines;
        LONG points = 0;
        for (CObList* list : {image->GetMosaicPLines(), image->GetDrawnMosaicPLines()})
            for (POSITION lp = list->GetHeadPosition(); lp;) {
                auto* line = static_cast<CGeoMosaicPLine*>(list->GetNext(lp));
                // The strip of a reference side, as balancing builds it.
                CGeoMosaicReferenceBuffer copy(*line->GetReferenceBuffer());
                copy.Create(image, line, 8);
                copy.GetBuffer(0, 0.5);
                copy.GetBuffer(0, 0.5, 0.0);
                points += line->GetMosaicPoints();
                lines.AddTail(line);
            }
        if (points > 0 && points <= kMaxTinPoints) {
            CGeoTin tin;
            tin.Create(lines);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CWinApp app("fuzz_layer_file");
    static const bool images = (WriteBesideImages(fuzz::ScratchDir()), true);
    (void)images;
    if (size < 4) return 0;
    uint32_t n = 0;
    std::memcpy(&n, data, 4);
    const size_t layerBytes = std::min<size_t>(n, size - 4);
    const std::string lyr = fuzz::Scratch("f.LYR"), mdb = fuzz::Scratch("f.mdb");
    fuzz::WriteBytes(lyr, data + 4, layerBytes);
    std::filesystem::remove(mdb);
    if (size - 4 > layerBytes) fuzz::WriteBytes(mdb, data + 4 + layerBytes, size - 4 - layerBytes);
    AfxSetUserDriver(nullptr);
    const int minusY = CGeoTinPoint::GetMinusY();
    try {
        CGeoMap map;
        std::unique_ptr<CGeoLayer> layer(map.LoadLayer(lyr.c_str()));
        if (layer) {
            CDC dc;
            dc.Attach(win32::CreateImageDC(64, 64));
            if (layer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)))
                UseVectorLayer(*static_cast<CGeoVectorLayer*>(layer.get()), dc);
            else if (layer->IsKindOf(RUNTIME_CLASS(CGeoImageLayer)))
                UseImageLayer(*static_cast<CGeoImageLayer*>(layer.get()), dc);
        }
    } catch (CException&) {
    }
    CGeoTinPoint::SetMinusY(minusY);
    AfxClearMessageLog();
    return 0;
}

namespace {

std::vector<uint8_t> Pack(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    std::vector<uint8_t> out(4);
    const uint32_t n = static_cast<uint32_t>(a.size());
    std::memcpy(out.data(), &n, 4);
    out.insert(out.end(), a.begin(), a.end());
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

// Saves the layer through the map into the work folder and writes it as a seed (without a database).
void SaveLayerSeed(CGeoMap& map, CGeoLayer* layer, const std::string& work, const std::string& dir,
                   const char* name) {
    const std::string path = work + "/" + name + ".LYR";
    if (map.SaveLayer(layer, path.c_str())) fuzz::SaveSeed(dir, name, Pack(fuzz::ReadBytes(path), {}));
    AfxClearMessageLog();
}

}  // namespace

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    static CWinApp app("fuzz_layer_file");
    AfxSetUserDriver(nullptr);
    const std::string work = fuzz::Scratch("seed");
    std::filesystem::create_directories(work);
    WriteBesideImages(work);
    CGeoTheme theme;
    CDaoFieldInfo name;
    name.m_strName = "名称";
    name.m_nType = dbText;
    name.m_lSize = 32;
    theme.AddField(name, -2);
    CGeoGClass gc;
    gc.SetGCID(1);
    gc.SetGCName("道路");
    theme.AddGC(gc, -2);
    CRect bounds(0, 0, 10000, 10000);
    // A layer never deletes a mosaic line it was given (it deletes those it reads): this one outlives
    // the map.
    auto seam = std::make_unique<CGeoMosaicPLine>();
    CGeoMap map;
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "道路", "", 0);
    map.AddLayer(layer, -1);
    const POINT pts[] = {{0, 0}, {500, 300}, {900, 100}};
    auto* line = new CGeoPLine(3, pts, FALSE);
    line->SetObjectClassID(1);
    layer->Add(line);
    layer->Add(new CGeoPoint(40, 50));
    CGeoValueList values;
    COleVariant text("京沪线");
    values.AddTail(text);
    layer->SetAttribute(line, &values);
    const std::string path = work + "/f.LYR";
    if (!map.SaveLayer(layer, path.c_str())) return;
    std::vector<uint8_t> lyr = fuzz::ReadBytes(path), mdb = fuzz::ReadBytes(work + "/f.mdb");
    fuzz::SaveSeed(dir, "layer-with-database", Pack(lyr, mdb));
    fuzz::SaveSeed(dir, "layer-alone", Pack(lyr, {}));

    // TIN sources and TIN records in a vector layer: spot heights, a contour, a triangle built on
    // vertices and one never built, and a mosaic line grown by Append (more mosaic points than
    // vertices).
    CGeoVectorLayer* tin = CreateVectorLayer(&bounds, nullptr, "tin", "", 0);
    map.AddLayer(tin, -1);
    const POINT spots[] = {{100, 100}, {900, 150}, {500, 800}, {200, 700}, {750, 600}};
    for (const POINT& p : spots) {
        auto* spot = new CGeoPoint(p.x, p.y);
        spot->SetZ(p.x * 0.1 + p.y * 0.05);
        tin->Add(spot);
    }
    auto* contour = new CGeoPLine(3, pts, FALSE);
    contour->SetZ(40.0);
    tin->Add(contour);
    CGeoPLine body(3, pts, TRUE);
    std::vector<CGeoTinPoint> vertices(3);
    CGeoTinPoint* cursor = vertices.data();
    CPoint centre(0, 0);
    body.CreateTinPoints(cursor, centre);
    auto* built = new CGeoTinTriangle(&vertices[0], &vertices[1], &vertices[2]);
    built->SetPosition();
    tin->Add(built);
    tin->Add(new CGeoTinTriangle);
    seam->AddPoint(0.0, 0.0, 0.0, 0.0);
    seam->AddPoint(10.0, 3.0, 10.0, 3.0);
    CGeoMosaicPLine more;
    for (int i = 0; i < 6; ++i) more.AddPoint(2.0 + i * 1.5, 5.0 + (i % 3), 2.0 + i * 1.5, 5.0 + (i % 3));
    seam->Append(&more, 0, 0);
    tin->Add(seam.get());
    SaveLayerSeed(map, tin, work, dir, "vector-tin-sources");

    // Spot heights of which one is not a number.
    CGeoVectorLayer* nan = CreateVectorLayer(&bounds, nullptr, "nan", "", 0);
    map.AddLayer(nan, -1);
    for (size_t i = 0; i < 4; ++i) {
        auto* spot = new CGeoPoint(spots[i].x, spots[i].y);
        spot->SetZ(i == 2 ? std::nan("") : 10.0 * i);
        nan->Add(spot);
    }
    SaveLayerSeed(map, nan, work, dir, "vector-height-not-a-number");

    // An image layer whose image carries seam lines (a reference side and a corrected one, drawn and
    // not) and control points; its picture is the image beside the layer file.
    CGeoImageLayer* images = CreateImageLayer(nullptr, "影像", "", 1, 0);
    map.AddLayer(images, -1);
    auto* image = new CGeoImage;
    if (image->LoadRasterFile((work + "/img.tif").c_str())) {
        for (int side : {IMAGE_WEST, IMAGE_EAST, IMAGE_NORTH}) {
            auto* l = new CGeoMosaicPLine;
            l->AddPoint(3.0 + side, 0.0, 3000.0 + side, 0.0);
            l->AddPoint(4.0 + side, 11.0, 4000.0 + side, 11000.0);
            l->SetHeadNodeName("A");
            l->SetTailNodeName("B");
            l->SetImagePosition(side);
            image->GetMosaicPLines()->AddTail(l);
        }
        // A seam running from the image's top row to ten million rows below it.
        auto* far = new CGeoMosaicPLine;
        far->AddPoint(4.0, 11.0, 4000.0, 11000.0);
        far->AddPoint(4.0, -1e7, 4000.0, -1e10);
        far->SetImagePosition(IMAGE_WEST);
        image->GetMosaicPLines()->AddTail(far);
        auto* drawn = new CGeoMosaicPLine;
        drawn->AddPoint(1.0, 1.0, 1000.0, 1000.0);
        drawn->AddPoint(8.0, 9.0, 8000.0, 9000.0);
        drawn->SetImagePosition(IMAGE_WEST);
        image->GetDrawnMosaicPLines()->AddTail(drawn);
        auto* gcp = new CGeoGCPoint(0);
        gcp->SetPixelPoint(CPoint(50, 40));
        gcp->SetGCPX(1.0);
        gcp->SetGCPY(2.0);
        image->GetGCPoints()->AddTail(gcp);
        images->Add(image);
        SaveLayerSeed(map, images, work, dir, "image-with-seams");
    } else {
        delete image;
    }
}
