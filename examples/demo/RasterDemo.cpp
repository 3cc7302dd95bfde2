// The raster and terrain subsystems on the demo's 100 m square (millimetres, as in DemoMap.h):
//   - a synthetic scan: an 8-bit image of a grey gradient with a 10 m grid and the rivers and roads
//     painted in, taken slightly turned, scaled and shifted. It is written as a GeoTIFF whose model
//     transformation places it north-up over the square, loaded into an image layer under the vector
//     rivers and roads, tied to the ground by five control points at grid crossings and rectified with
//     a first-order polynomial: after rectification the painted lines lie under the vector ones;
//   - a synthetic terrain of Gaussian hills as a DEM grid, drawn in elevation classes, with contours
//     traced into a vector layer and drawn over it, and a TIN built from spot heights of the grid and
//     one contour line, drawn over the grid and written as DXF;
//   - four overlapping tiles of one synthetic field pattern, each with its own brightness and contrast,
//     put into a mosaic as they are and, beside it, after Wallis balancing of every tile.
#include <core/DisplayState.h>
#include <core/GeoVectorLayer.h>
#include <raster/GeoGCPoint.h>
#include <raster/GeoImage.h>
#include <raster/GeoImageLayer.h>
#include <terrain/GeoDEM.h>
#include <terrain/GeoDEMLayer.h>
#include <terrain/GeoTin.h>
#include <terrain/GeoVectorLayerList.h>
#include <vector/GeoPLine.h>
#include <vector/GeoPoint.h>

#include "DemoMap.h"

#include <win32/codepage.h>
#include <win32/gdirecord.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

const CPoint kOrigin(0, -100000);  // the square's north edge on the picture's top row

// Draws vector layers over whatever dc already shows, in their own styles (no symbol library).
void DrawVectors(CDC& dc, const std::vector<CGeoVectorLayer*>& layers) {
    tagDisplayState ds{};
    ds.m_nDisplayAttr = DISPLAYATTR_SELF;
    ds.m_nShowMode = VISIBLE_ALL;
    ds.m_bScaleWidth = 1;
    RECT clip{0, 0, demo::kPictureSize, demo::kPictureSize};
    for (CGeoVectorLayer* layer : layers)
        layer->Draw(&dc, &clip, demo::kPictureScale, demo::kPictureScale, kOrigin, ds, 0, nullptr);
}

// An uncompressed 8-bit grey GeoTIFF, rows top first, whose model transformation puts the lower-left
// corner at (east, north) metres with square pixels of size metres.
bool WriteGeoTiff(const std::string& path, int w, int h, const std::vector<uint8_t>& rowsTopFirst, double east,
                  double north, double size) {
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    auto u32 = [&](uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); };
    const int entries = 10;
    const uint32_t matrixAt = 8 + 2 + 12 * entries + 4, pixelsAt = matrixAt + 16 * 8;
    out.insert(out.end(), {'I', 'I'});
    u16(42);
    u32(8);
    u16(entries);
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        u16(tag);
        u16(type);
        u32(count);
        u32(value);  // a SHORT sits in the low half, which comes first
    };
    entry(256, 4, 1, uint32_t(w));
    entry(257, 4, 1, uint32_t(h));
    entry(258, 3, 1, 8);
    entry(259, 3, 1, 1);  // no compression
    entry(262, 3, 1, 1);  // min-is-black
    entry(273, 4, 1, pixelsAt);
    entry(277, 3, 1, 1);
    entry(278, 4, 1, uint32_t(h));
    entry(279, 4, 1, uint32_t(w * h));
    entry(34264, 12, 16, matrixAt);  // ModelTransformationTag
    u32(0);
    const double m[16] = {size, 0, 0, east, 0, -size, 0, north + size * h, 0, 0, 0, 0, 0, 0, 0, 1};
    for (double d : m) {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        u32(uint32_t(bits));
        u32(uint32_t(bits >> 32));
    }
    out.insert(out.end(), rowsTopFirst.begin(), rowsTopFirst.end());
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(f);
}

// Distance from p to the nearest line of the layers (millimetres).
double Distance(double x, double y, const std::vector<CGeoVectorLayer*>& layers) {
    double best = 1e18;
    for (CGeoVectorLayer* layer : layers)
        for (int id = 1; id <= layer->GetMaxID(); ++id) {
            auto* line = dynamic_cast<CGeoPLine*>(layer->FindObj(static_cast<UINT>(id)));
            if (!line) continue;
            for (int i = 0; i + 1 < line->GetPoints(); ++i) {
                const CPoint a = line->GetPoint(i), b = line->GetPoint(i + 1);
                const double dx = b.x - a.x, dy = b.y - a.y, len = dx * dx + dy * dy;
                double t = len > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len : 0.0;
                t = t < 0 ? 0 : t > 1 ? 1 : t;
                best = std::min(best, std::hypot(x - a.x - t * dx, y - a.y - t * dy));
            }
        }
    return best;
}

// The scan's geometry: pixel (u, v from the bottom) of 250 mm nominal size shows the ground turned by
// 4 degrees about the centre of the 100 m x 75 m frame, 3 % larger and shifted by (1.5 m, -1 m).
const int kW = 400, kH = 300;
const double kPixel = 250.0, kTurn = 4.0 * 3.14159265358979 / 180.0, kScale = 1.03;
const double kCx = 50000, kCy = 37500, kTx = 1500, kTy = -1000;

void PixelToGround(double u, double v, double& X, double& Y) {
    const double px = u * kPixel + kPixel / 2 - kCx, py = v * kPixel + kPixel / 2 - kCy;
    X = kCx + kScale * (std::cos(kTurn) * px - std::sin(kTurn) * py) + kTx;
    Y = kCy + kScale * (std::sin(kTurn) * px + std::cos(kTurn) * py) + kTy;
}

void GroundToPixel(double X, double Y, double& u, double& v) {
    const double gx = (X - kCx - kTx) / kScale, gy = (Y - kCy - kTy) / kScale;
    const double px = std::cos(kTurn) * gx + std::sin(kTurn) * gy, py = -std::sin(kTurn) * gx + std::cos(kTurn) * gy;
    u = (px + kCx - kPixel / 2) / kPixel;
    v = (py + kCy - kPixel / 2) / kPixel;
}

struct Pictures {
    std::string outDir;
    bool allWritten = true;
    void Write(HDC hdc, const char* name, const char* what) {
        const std::string png = outDir + "/" + name;
        const BOOL ok = win32::WriteDCToPNG(hdc, win32::NativePathToGbk(png).c_str());
        std::printf("  %-44s %s\n", what, ok ? png.c_str() : "NOT WRITTEN");
        allWritten = allWritten && ok;
    }
};

// Step 1: the scan, its control points and its rectification.
void ImageDemo(Pictures& pictures) {
    std::unique_ptr<CGeoVectorLayer> rivers(demo::BuildRivers()), roads(demo::BuildRoads());
    const std::vector<CGeoVectorLayer*> lines{rivers.get(), roads.get()};

    std::vector<uint8_t> rows(size_t(kW) * kH);
    for (int row = 0; row < kH; ++row)
        for (int u = 0; u < kW; ++u) {
            double X, Y;
            PixelToGround(u, kH - 1 - row, X, Y);
            int value = static_cast<int>(120 + 90 * X / 100000 + 30 * Y / 75000);
            const double gx = std::fabs(std::remainder(X, 10000.0)), gy = std::fabs(std::remainder(Y, 10000.0));
            if (gx < 250 || gy < 250) value = 70;
            if (Distance(X, Y, lines) < 900) value = 25;
            rows[size_t(row) * kW + u] = static_cast<uint8_t>(std::min(255, std::max(0, value)));
        }
    const std::string tif = pictures.outDir + "/demo-image.tif";
    auto* scan = new CGeoImage;
    if (!WriteGeoTiff(tif, kW, kH, rows, 0.0, 0.0, kPixel / 1000) ||
        !scan->LoadRasterFile(win32::NativePathToGbk(tif).c_str())) {
        std::printf("  cannot write or read the scan %s\n", tif.c_str());
        delete scan;
        pictures.allWritten = false;
        return;
    }
    std::printf("  scan %s: %d x %d pixels, 8 bits, placed at (%ld, %ld) - (%ld, %ld) mm\n", tif.c_str(),
                scan->GetDIB()->GetWidth(), scan->GetDIB()->GetHeight(), static_cast<long>(scan->GetBounds().left),
                static_cast<long>(scan->GetBounds().top), static_cast<long>(scan->GetBounds().right),
                static_cast<long>(scan->GetBounds().bottom));
    CGeoImageLayer scans;
    scans.Add(scan);

    // Control points at five grid crossings: the crossing's ground position, and the pixel it shows in.
    const POINT crossings[] = {{20000, 10000}, {80000, 10000}, {90000, 60000}, {10000, 60000}, {50000, 40000}};
    for (const POINT& c : crossings) {
        double u, v;
        GroundToPixel(c.x, c.y, u, v);
        auto* g = new CGeoGCPoint;
        g->SetPixelPoint(CPoint(std::lround(u * 10), std::lround(v * 10)));
        g->SetGCPX(c.x);
        g->SetGCPY(c.y);
        // Drawn where the scan, as placed, shows the crossing.
        g->CGeoPoint::operator=(CPoint(std::lround((u + 0.5) * kPixel), std::lround((v + 0.5) * kPixel)));
        scan->GetGCPoints()->AddTail(g);
    }
    double rms = 0;
    const int fitted = scan->Accuracy(1, rms);
    std::printf("  %d control points, first-order fit %s, rms %.1f mm\n", static_cast<int>(scan->GetGCPoints()->GetCount()),
                fitted ? "made" : "FAILED", rms);

    CDC dc;
    dc.Attach(win32::CreateImageDC(demo::kPictureSize, demo::kPictureSize));
    scans.Draw(&dc, nullptr, demo::kPictureScale, kOrigin);
    DrawVectors(dc, lines);
    for (POSITION pos = scan->GetGCPoints()->GetHeadPosition(); pos;)
        scan->GetGCPoints()->GetNext(pos)->Draw(&dc, demo::kPictureScale, demo::kPictureScale, kOrigin, CPoint(0, 0),
                                                nullptr, 0, 0, 0, 0, nullptr, 0);
    pictures.Write(dc.GetSafeHdc(), "demo-image.png", "image: the scan as placed, control points:");
    ::DeleteDC(dc.Detach());

    CGeoImage* rectified = nullptr;
    if (!scan->Resample(1, "", rectified, CRect(0, 75000, 100000, 0), kPixel, INTERPOLATE_BILINEAR)) {
        std::printf("  the rectification failed\n");
        pictures.allWritten = false;
        return;
    }
    const std::string out = pictures.outDir + "/demo-image-rectified.tif";
    const int saved = rectified->SaveRasterFile(win32::NativePathToGbk(out).c_str());
    std::printf("  %-44s %s\n", "rectified image file:", saved ? out.c_str() : "NOT WRITTEN");
    pictures.allWritten = pictures.allWritten && saved;
    CGeoImageLayer straight;
    straight.Add(rectified);
    dc.Attach(win32::CreateImageDC(demo::kPictureSize, demo::kPictureSize));
    straight.Draw(&dc, nullptr, demo::kPictureScale, kOrigin);
    DrawVectors(dc, lines);
    pictures.Write(dc.GetSafeHdc(), "demo-image-rectified.png", "image: rectified (polynomial order 1):");
    ::DeleteDC(dc.Detach());
}

// A TIN over spot heights taken from the DEM every 9 m and the longest contour line, whose segments
// become triangle edges: drawn over the DEM and written as DXF.
void TinDemo(Pictures& pictures, CGeoDEM& dem, CGeoDEMLayer& hills, CGeoVectorLayer& contours) {
    CRect bounds(0, 0, 100000, 100000);
    std::unique_ptr<CGeoVectorLayer> sources(CreateVectorLayer(&bounds, nullptr, "TIN", "", 0));
    const int n = dem.GetWidth();
    const double cell = dem.GetCellSize();
    const LONG* nodes = dem.GetNodes();
    int spots = 0;
    for (int row = 0; row < n; row += 18)  // band row 0 is the south row
        for (int c = 0; c < n; c += 18) {
            auto* spot = new CGeoPoint(static_cast<int>(c * cell), static_cast<int>(row * cell));
            spot->SetZ(nodes[size_t(row) * n + c] * dem.GetResZ());
            sources->Add(spot);
            ++spots;
        }
    CGeoPLine* longest = nullptr;
    for (int id = 1; id <= contours.GetMaxID(); ++id) {
        auto* line = dynamic_cast<CGeoPLine*>(contours.FindObj(static_cast<UINT>(id)));
        if (line && (!longest || line->GetPoints() > longest->GetPoints())) longest = line;
    }
    if (!longest) {
        std::printf("  no contour line for the TIN\n");
        pictures.allWritten = false;
        return;
    }
    std::vector<POINT> pts;
    for (int i = 0; i < longest->GetPoints(); ++i) pts.push_back(longest->GetPoint(i));
    auto* line = new CGeoPLine(static_cast<int>(pts.size()), pts.data(), FALSE);
    line->SetZ(longest->GetZ());
    GEOVIEW lineView = line->GetGeoView();
    lineView.m_crLineColor = RGB(200, 0, 0);
    lineView.m_fLineWidth = 3.0f;
    line->SetGeoView(lineView);
    sources->Add(line);

    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(sources.get());
    if (!tin.Create(list)) {
        std::printf("  the TIN could not be built\n");
        pictures.allWritten = false;
        return;
    }
    std::printf("  TIN of %d spot heights and the %.0f m contour (%d points): %d vertices, %d triangles\n", spots,
                longest->GetZ(), longest->GetPoints(), tin.GetPointCount(), tin.GetTriangleCount());

    CDC dc;
    dc.Attach(win32::CreateImageDC(demo::kPictureSize, demo::kPictureSize));
    RECT view{0, 0, demo::kPictureSize, demo::kPictureSize};
    hills.Draw(&dc, &view, demo::kPictureScale, kOrigin, CPoint(0, 0));
    GEOVIEW edges = tin.GetGeoView();
    edges.m_crLineColor = RGB(40, 40, 40);
    edges.m_fLineWidth = 1.0f;
    tin.OnDrawWithoutSymbolization(&dc, demo::kPictureScale, demo::kPictureScale, kOrigin, CPoint(0, 0), edges, &view,
                                   0, 0, 0);
    DrawVectors(dc, {sources.get()});
    pictures.Write(dc.GetSafeHdc(), "demo-tin.png", "terrain: TIN over the DEM, its contour line:");
    ::DeleteDC(dc.Detach());

    // ExportToDxf appends ".dxf" to the name it is given.
    const std::string dxf = pictures.outDir + "/demo-tin";
    tin.ExportToDxf(CString(win32::NativePathToGbk(dxf).c_str()));
    std::FILE* written = std::fopen((dxf + ".dxf").c_str(), "rb");
    std::printf("  %-44s %s\n", "terrain: the TIN's triangles as DXF:", written ? (dxf + ".dxf").c_str() : "NOT WRITTEN");
    if (written) std::fclose(written);
    else pictures.allWritten = false;
}

// Step 2: Gaussian hills as a DEM, in elevation classes, and their contours.
void TerrainDemo(Pictures& pictures) {
    const int n = 200;
    const double cell = 500.0;  // mm: 200 nodes span the 100 m square
    tagRasterParameter p = GetBuiltinRasterParameter();
    p.m_dPixelSize = cell;
    auto* dem = new CGeoDEM(n, n, 32, 0, 100000, p, 0.01);  // stored in centimetres
    CGeoDEMLayer hills;
    if (!dem->GetNumberOfBands() || !hills.Add(dem)) {
        std::printf("  cannot make the DEM\n");
        delete dem;
        pictures.allWritten = false;
        return;
    }
    struct Hill {
        double x, y, height, spread;  // metres
    } const hillList[] = {{30, 65, 80, 16}, {70, 35, 60, 13}, {75, 80, 45, 10}, {25, 20, 30, 12}};
    LONG* nodes = dem->GetNodes();
    for (int row = 0; row < n; ++row)  // band row 0 is the south row
        for (int c = 0; c < n; ++c) {
            const double x = c * cell / 1000, y = row * cell / 1000;
            double z = 100 + 0.1 * x;
            for (const Hill& h : hillList)
                z += h.height * std::exp(-((x - h.x) * (x - h.x) + (y - h.y) * (y - h.y)) / (2 * h.spread * h.spread));
            nodes[size_t(row) * n + c] = std::lround(z / dem->GetResZ());
        }
    dem->RecalcMinMax();
    dem->LevelShow(1);
    std::printf("  DEM %d x %d nodes of %.1f m, elevations %.1f - %.1f m\n", n, n, cell / 1000,
                dem->GetRealMinElevation(), dem->GetRealMaxElevation());

    CDC dc;
    dc.Attach(win32::CreateImageDC(demo::kPictureSize, demo::kPictureSize));
    RECT view{0, 0, demo::kPictureSize, demo::kPictureSize};
    hills.Draw(&dc, &view, demo::kPictureScale, kOrigin, CPoint(0, 0));
    pictures.Write(dc.GetSafeHdc(), "demo-dem.png", "terrain: DEM in elevation classes:");

    CRect bounds(0, 0, 100000, 100000);
    std::unique_ptr<CGeoVectorLayer> contours(CreateVectorLayer(&bounds, nullptr, "等高线", "", 0));
    const int traced = dem->CreateContour(*contours, 5.0);
    // Every fourth level (20 m) as an index contour, thicker.
    for (int id = 1; id <= contours->GetMaxID(); ++id) {
        auto* line = dynamic_cast<CGeoVectorObject*>(contours->FindObj(static_cast<UINT>(id)));
        if (!line) continue;
        GEOVIEW view = line->GetGeoView();
        const bool index = std::fmod(line->GetZ(), 20.0) == 0.0;
        view.m_crLineColor = RGB(110, 60, 20);
        view.m_fLineWidth = index ? 3.0f : 1.0f;
        line->SetGeoView(view);
    }
    std::printf("  %d contour lines every 5 m traced into the layer \"%s\"\n", traced,
                win32::GbkToUtf8(contours->GetObjectName().str()).c_str());
    DrawVectors(dc, {contours.get()});
    pictures.Write(dc.GetSafeHdc(), "demo-contours.png", "terrain: contours over the DEM:");
    ::DeleteDC(dc.Detach());
    if (traced <= 0) pictures.allWritten = false;

    TinDemo(pictures, *dem, hills, *contours);
}

// Step 3: four tiles with brightness offsets, mosaicked as they are and after balancing.
// The ground: 8 m fields of various greys with darker borders (v in mm, relative to a mosaic's corner).
int Field(double x, double y) {
    const int fx = static_cast<int>(x / 8000), fy = static_cast<int>(y / 8000);
    if (std::fmod(x, 8000.0) < 400 || std::fmod(y, 8000.0) < 400) return 60;
    return 95 + (fx * 7919 + fy * 104729 + fx * fy * 31) % 70;
}

double Mean(CGeoImage& image) {
    double sum = 0;
    const int w = image.GetDIB()->GetWidth(), h = image.GetDIB()->GetHeight();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) sum += image.GetPixelValue(x, y);
    return sum / (double(w) * h);
}

void MosaicDemo(Pictures& pictures) {
    tagRasterParameter p = GetBuiltinRasterParameter();
    p.m_dPixelSize = kPixel;
    // Each mosaic is 50 m x 100 m (200 x 400 pixels): as put together on the west, balanced on the east.
    const int mw = 200, mh = 400, tw = 120, th = 220;
    struct Tile {
        int x, y;  // pixel offset of the tile's north-west corner in the mosaic (y from the north)
        double gain, offset;
    } const tiles[] = {{0, 0, 1.0, 40}, {80, 0, 0.8, -35}, {0, 180, 1.25, -10}, {80, 180, 0.9, 15}};
    CGeoImageLayer layer;
    CGeoImage* mosaics[2];
    for (int k = 0; k < 2; ++k) {
        const int west = k * mw * static_cast<int>(kPixel);
        mosaics[k] = new CGeoImage(mw, mh, 8, west, 100000, p);
        layer.Add(mosaics[k]);
    }
    std::printf("  tile means (grey 0-255)  as taken:");
    std::vector<double> after;
    for (const Tile& t : tiles)
        for (int k = 0; k < 2; ++k) {
            const int west = (k * mw + t.x) * static_cast<int>(kPixel), north = 100000 - t.y * static_cast<int>(kPixel);
            tagRasterParameter tp = p;
            CGeoImage tile(tw, th, 8, west, north, tp);
            for (int y = 0; y < th; ++y)
                for (int x = 0; x < tw; ++x) {
                    const double gx = (t.x + x) * kPixel, gy = (mh - t.y - th + y) * kPixel;
                    const int v = static_cast<int>(Field(gx, gy) * t.gain + t.offset);
                    tile.SetPixelValue(std::min(255, std::max(0, v)), x, y);
                }
            if (k == 0) std::printf(" %.0f", Mean(tile));
            if (k == 1) {
                tile.Wallis(120, 30, CRect(0, 0, 0, 0));
                after.push_back(Mean(tile));
            }
            tile.PutBlock(mosaics[k]);
        }
    std::printf(";  balanced:");
    for (double m : after) std::printf(" %.0f", m);
    std::printf("\n");
    CDC dc;
    dc.Attach(win32::CreateImageDC(demo::kPictureSize, demo::kPictureSize));
    layer.Draw(&dc, nullptr, demo::kPictureScale, kOrigin);
    pictures.Write(dc.GetSafeHdc(), "demo-mosaic.png", "mosaic: as taken (west), balanced (east):");
    ::DeleteDC(dc.Detach());
}

}  // namespace

int RunRasterDemo(const std::string& outDir) {
    Pictures pictures{outDir};
    std::printf("\nraster: a synthetic scan, its control points and its rectification\n");
    ImageDemo(pictures);
    std::printf("\nterrain: Gaussian hills as a DEM and their contours\n");
    TerrainDemo(pictures);
    std::printf("\nmosaic: four overlapping tiles with their own brightness\n");
    MosaicDemo(pictures);
    return pictures.allWritten ? 0 : 1;
}
