// TIN builds from maps and vector layers, terrain checks and the DXF export.
#include "TinTestSupport.h"

#include "core/GeoMap.h"
#include "raster/GeoGCPoint.h"
#include "raster/GeoMosaicPLine.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "vector/GeoPLine.h"

#include <cmath>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace tintest;

namespace {

// A body that announces more vertices than it writes, like shapes that answer GetPoints but write no
// TIN records.
class CShortBody : public CGeoVectorObject {
public:
    LONG GetTinPointNumber() const override { return 3; }
    LONG CreateTinPoints(CGeoTinPoint*&, CPoint&) override { return 0; }
};

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(GeoTinSources, MapLayersByName) {
    MinusYGuard guard;
    CGeoTinPoint::SetMinusY(1);
    CGeoMap map;
    auto* other = PointLayer({{0, 0}, {10, 0}, {0, 10}, {10, 10}}).release();
    other->SetObjectName("roads");
    map.AddLayer(other, -1);
    {
        CGeoTin empty(&map);  // neither named layer
        EXPECT_EQ(empty.GetTriangleCount(), 0);
        EXPECT_EQ(empty.GetPointCount(), 0);
    }
    auto* spots = PointLayer({{0, 0}, {100, 0}, {0, 100}, {100, 100}, {50, 40}}).release();
    spots->SetObjectName("__GEO_ELEVATION_POINT_LAYER__");
    map.AddLayer(spots, -1);
    CGeoTin tin(&map);
    EXPECT_EQ(tin.GetPointCount(), 5);
    EXPECT_EQ(CheckTin(tin).usedVertices, 5);
    EXPECT_EQ(CGeoTinPoint::GetMinusY(), 0);  // the layer build works with y up, and says so
    EXPECT_EQ(tin.GetBounds(), CRect(0, 0, 100, 100));

    // With a contour layer as well, its vertices come first in the table before sorting.
    auto* contours = new CGeoVectorLayer();
    contours->SetObjectName("__GEO_CONTOUR_LAYER__");
    contours->Add(Ring(50, 50, 30, 12, 10.0));
    map.AddLayer(contours, -1);
    CGeoTin both(&map);
    EXPECT_EQ(both.GetPointCount(), 17);
    CheckTin(both);
}

TEST(GeoTinSources, CentreOfTheUnitedLayerBounds) {
    MinusYGuard guard;
    auto a = PointLayer({{150, 25}, {0, 0}, {300, 40}}, {}, CRect(0, 0, 100, 50));
    auto b = PointLayer({{100, 50}}, {}, CRect(200, 10, 300, 40));
    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(a.get());
    list.AddTail(b.get());
    ASSERT_TRUE(tin.Create(list));
    // Sorted by squared distance from (150, 25): the point on the centre comes first, at distance 0.
    EXPECT_EQ(tin.GetTinPoint(0)->GetDistance(), 0.0);
    EXPECT_EQ(tin.GetTinPoint(0)->GetX(), 150);
    EXPECT_EQ(tin.GetTinPoint(1)->GetDistance(), 50.0 * 50 + 25 * 25);
}

TEST(GeoTinSources, CountMismatchIsReportedAndBuildsFromTheRest) {
    MinusYGuard guard;
    AfxClearMessageLog();
    auto layer = PointLayer({{0, 0}, {10, 0}, {0, 10}, {10, 10}});
    layer->Add(new CShortBody());
    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(layer.get());
    EXPECT_TRUE(tin.Create(list));
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].text, CString("参加构网的点数为7 实际在网的是 4"));
    EXPECT_EQ(tin.GetPointCount(), 4);
    EXPECT_EQ(CheckTin(tin).usedVertices, 4);
    AfxClearMessageLog();
}

// Heights that are not numbers would give planes that are not either, and elevations of 0 from them.
TEST(GeoTinSources, HeightsThatAreNotNumbersAreRefused) {
    MinusYGuard guard;
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        AfxClearMessageLog();
        auto layer = PointLayer({{0, 0}, {100, 0}, {0, 100}, {100, 100}}, {1.0, 2.0, bad, 4.0});
        CGeoTin tin;
        CGeoVectorLayerList list;
        list.AddTail(layer.get());
        EXPECT_FALSE(tin.Create(list)) << bad;
        EXPECT_EQ(tin.GetTriangleCount(), 0) << bad;
        ASSERT_EQ(AfxGetMessageLog().size(), 1u) << bad;
        EXPECT_EQ(AfxGetMessageLog()[0].text, CString("构网点的高程无效(非数值或无穷大): 1 个点"));
    }
    AfxClearMessageLog();
}

// Append adds mosaic points without vertices: the build takes one vertex per mosaic point, all of them,
// and its tables are sized for them.
TEST(GeoTinSources, MosaicLineGrownByAppendIsBuiltWhole) {
    MinusYGuard guard;
    CGeoMosaicPLine line, more;
    line.AddPoint(0.0, 0.0, 0.0, 0.0);
    line.AddPoint(1000.0, 7.0, 1000.0, 7.0);
    line.AddPoint(3.0, 1000.0, 3.0, 1000.0);
    for (int i = 0; i < 300; ++i) {
        const double x = 10 + (i % 20) * 37 + (i / 20), y = 10 + (i / 20) * 41 + (i % 7);
        more.AddPoint(x, y, x, y);
    }
    ASSERT_EQ(line.Append(&more, 0, 0), 300);
    ASSERT_EQ(line.GetPoints(), 3);
    ASSERT_EQ(line.GetMosaicPoints(), 303);
    EXPECT_EQ(line.GetTinPointNumber(), 303);
    CTypedPtrList<CObList, CGeoMosaicPLine*> lines;
    lines.AddTail(&line);
    CGeoTin tin;
    ASSERT_TRUE(tin.Create(lines));
    EXPECT_EQ(tin.GetPointCount(), 303);
    EXPECT_EQ(CheckTin(tin).usedVertices, 303);
}

TEST(GeoTinSources, EmptySourcesGiveFalse) {
    MinusYGuard guard;
    CGeoTin tin;
    CGeoVectorLayerList none;
    EXPECT_FALSE(tin.Create(none));
    CGeoVectorLayer empty;
    none.AddTail(&empty);
    EXPECT_FALSE(tin.Create(none));
    EXPECT_EQ(tin.GetTriangleCount(), 0);
}

// Flat triangles: all three vertices on one body.
int FlatTriangles(const CGeoTin& tin) {
    int n = 0;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        CGeoTinTriangle* t = tin.GetTriangle(s);
        CGeoVectorObject* b = t->GetVertex(0)->GetMainBody();
        n += t->GetVertex(1)->GetMainBody() == b && t->GetVertex(2)->GetMainBody() == b;
    }
    return n;
}

TEST(GeoTinSources, TerrainCheck) {
    MinusYGuard guard;
    {
        // Spot heights only: no two vertices share a body, nothing changes.
        auto layer = PointLayer(RandomPoints(300, 11, 5000));
        CGeoTin tin;
        CGeoVectorLayerList list;
        list.AddTail(layer.get());
        ASSERT_TRUE(tin.Create(list));
        const auto before = Edges(tin);
        tin.TerrainCheck();
        EXPECT_EQ(Edges(tin), before);
    }
    // A sharp bend of one contour far above a spot height, the centre inside the bend: the bend's flat
    // triangle comes first and has the better smallest angle, so the swap passes keep it; the terrain
    // check turns the chord towards the spot.
    CGeoVectorLayer layer(CRect(0, 0, 100, 80));
    // (A three-point line would not do: its first and last points are neighbours through the wrap.)
    const POINT bend[] = {{0, 0}, {50, 80}, {100, 0}, {2000, 10}};
    auto* line = new CGeoPLine(4, bend, TRUE);
    line->SetZ(20.0);
    layer.Add(line);
    auto* spot = new CGeoPoint(50, -200);
    spot->SetZ(5.0);
    layer.Add(spot);
    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(&layer);
    ASSERT_TRUE(tin.Create(list));
    const int flatBefore = FlatTriangles(tin);
    ASSERT_GT(flatBefore, 0);
    tin.TerrainCheck();
    CheckTin(tin);
    EXPECT_LT(FlatTriangles(tin), flatBefore);
    EXPECT_TRUE(Edges(tin).count({{50, -200}, {50, 80}}));
}

TEST(GeoTinSources, DxfText) {
    MinusYGuard guard;
    testsupport::TempDir dir("tin-dxf");
    auto layer = PointLayer({{0, 0}, {10, 0}, {0, 10}});
    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(layer.get());
    ASSERT_TRUE(tin.Create(list));
    CGeoTinTriangle* t = tin.GetTriangle(1);
    auto vtx = [&](int i) {
        char buf[80];
        std::snprintf(buf, sizeof buf, "0\nVERTEX\n10\n%.1f\n20\n%.1f\n", (double)t->GetVertex(i)->GetX(),
                      (double)t->GetVertex(i)->GetY());
        return std::string(buf);
    };
    const std::string want = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n66\n1\n8\n0\n" + vtx(2) + vtx(0) + vtx(1) + vtx(2) +
                             "0\nSEQEND\n0\nENDSEC\n0\nEOF\n";
    const std::string base = dir.Path() + "/x.dxf";
    tin.ExportToDxf(base.c_str());
    EXPECT_EQ(ReadAll(base + ".dxf"), want);  // ".dxf" is appended in every case

    // No triangles: still a complete, empty section.
    CGeoTin empty;
    empty.ExportToDxf((dir.Path() + "/empty").c_str());
    EXPECT_EQ(ReadAll(dir.Path() + "/empty.dxf"), "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n");
    // An unwritable place fails silently.
    tin.ExportToDxf((dir.Path() + "/missing/folder/x").c_str());
}

// A TIN over 500 random spot heights. The layer it returns holds the bodies the TIN's vertices name,
// so it must outlive the TIN; NULL when the build fails.
namespace {
std::unique_ptr<CGeoVectorLayer> RandomTin(CGeoTin& tin) {
    auto layer = PointLayer(RandomPoints(500, 5, 20000));
    CGeoVectorLayerList list;
    list.AddTail(layer.get());
    if (!tin.Create(list)) layer.reset();
    return layer;
}
}  // namespace

// A full disk halfway through an export: the previous file stays whole, nothing is left beside it,
// and the user is told why.
TEST(GeoTinSources, DxfExportThatFailsKeepsThePreviousFileAndSaysWhy) {
    MinusYGuard guard;
    testsupport::TempDir dir("tin-dxf-full");
    CGeoTin tin;
    const auto layer = RandomTin(tin);
    ASSERT_TRUE(layer);
    const std::string base = dir.Path() + "/tin";
    std::ofstream(base + ".dxf") << "previous";

    AfxClearMessageLog();
    {
        testsupport::FileSizeLimit full(4096);
        tin.ExportToDxf(base.c_str());
    }

    EXPECT_EQ(ReadAll(base + ".dxf"), "previous");
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(std::string(AfxGetMessageLog()[0].text).rfind("DXF文件保存失败: ", 0), 0u);
    AfxClearMessageLog();
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) entries += e.path().filename() != "tin.dxf";
    EXPECT_EQ(entries, 0);  // no temporary left behind

    tin.ExportToDxf(base.c_str());  // with room again, the new file takes its place
    EXPECT_EQ(ReadAll(base + ".dxf").rfind("0\nSECTION\n2\nENTITIES\n", 0), 0u);
}

TEST(GeoTinSources, DxfOpensInAnOutsideReader) {
    MinusYGuard guard;
    if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3-ezdxf not installed";
    testsupport::TempDir dir("tin-ezdxf");
    CGeoTin tin;
    const auto layer = RandomTin(tin);
    ASSERT_TRUE(layer);
    const std::string base = dir.Path() + "/tin";
    tin.ExportToDxf(base.c_str());
    // Every POLYLINE read back: four vertices, first = last, the same corner set as its triangle.
    const std::string script = dir.Path() + "/read.py";
    std::ofstream(script) << "import sys\nfrom ezdxf import recover\n"
                             "doc, auditor = recover.readfile(sys.argv[1])\n"
                             "for e in doc.modelspace().query('POLYLINE'):\n"
                             "    p = [(round(v.dxf.location[0]), round(v.dxf.location[1])) for v in e.vertices]\n"
                             "    assert len(p) == 4 and p[0] == p[3], p\n"
                             "    print(*sorted(p[:3]))\n";
    const std::string out = dir.Path() + "/out.txt";
    ASSERT_EQ(std::system(("/usr/bin/python3 " + script + " " + base + ".dxf > " + out).c_str()), 0);
    std::istringstream lines(ReadAll(out));
    std::string line;
    int n = 0;
    std::set<std::string> got, want;
    while (std::getline(lines, line)) got.insert(line), ++n;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        auto c = [&](int i) {
            CGeoTinPoint* p = tin.GetTriangle(s)->GetVertex(i);
            return std::make_pair(p->GetX(), p->GetY());
        };
        std::vector<std::pair<int, int>> v = {c(0), c(1), c(2)};
        std::sort(v.begin(), v.end());
        std::ostringstream o;
        for (size_t i = 0; i < 3; ++i) o << (i ? " " : "") << "(" << v[i].first << ", " << v[i].second << ")";
        want.insert(o.str());
    }
    EXPECT_EQ(n, tin.GetTriangleCount());
    EXPECT_EQ(got, want);
}

}  // namespace

namespace {

TEST(GeoTinSources, ControlPoints) {
    MinusYGuard guard;
    // Pixel points in general position; map positions unrelated to them. The build sorts by the pixel
    // points, so every control point joins the TIN.
    CTypedPtrList<CObList, CGeoGCPoint*> list;
    std::vector<std::unique_ptr<CGeoGCPoint>> owned;
    const auto pixels = RandomPoints(12, 21, 5000);
    const auto places = RandomPoints(12, 22, 900000);
    for (size_t i = 0; i < pixels.size(); ++i) {
        owned.push_back(std::make_unique<CGeoGCPoint>());
        owned.back()->SetPixelPoint(CPoint(pixels[i]));
        owned.back()->Move(CSize(places[i].x, places[i].y));  // its map position, far from the pixel point
        list.AddTail(owned.back().get());
    }
    // A layer build earlier in the process leaves the flag cleared; the control-point build sets it.
    auto layer = PointLayer({{0, 0}, {10, 0}, {0, 10}});
    CGeoTin first;
    CGeoVectorLayerList layers;
    layers.AddTail(layer.get());
    ASSERT_TRUE(first.Create(layers));
    ASSERT_EQ(CGeoTinPoint::GetMinusY(), 0);

    CGeoTin tin;
    ASSERT_TRUE(tin.Create(list));
    EXPECT_EQ(CGeoTinPoint::GetMinusY(), 1);
    EXPECT_EQ(tin.GetPointCount(), 12);
    EXPECT_EQ(CheckTin(tin).usedVertices, 12);
    for (int i = 0; i < 12; ++i) {
        CGeoTinPoint* v = tin.GetTinPoint(i);
        EXPECT_EQ(v->GetX(), v->GetMainBody()->GetX(0));
        EXPECT_EQ(v->GetY(), -v->GetMainBody()->GetY(0));  // pixel rows seen with y negated
    }
    // No plane forms in this build: every plane is level at 0.
    EXPECT_EQ(tin.GetTriangle(1)->GetA(), 0.0);

    CTypedPtrList<CObList, CGeoGCPoint*> none;
    EXPECT_FALSE(tin.Create(none));
    EXPECT_EQ(tin.GetTriangleCount(), 0);
}

}  // namespace
