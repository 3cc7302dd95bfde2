// GDAL as an outside reader and writer of the BIL and grid files the DEM writes and reads. Skipped
// where GDAL's command-line tools are not installed (scripts/install-deps installs gdal-bin).
#include "terrain/GeoDEM.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "DemFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using demtest::MakeDemFn;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

bool HaveGdal() { return std::system("gdalinfo --version > /dev/null 2>&1") == 0; }

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* p = popen((command + " 2>&1").c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

// An ESRI ASCII grid as GDAL prints it.
struct AsciiGrid {
    int ncols = 0, nrows = 0;
    double xll = 0, yll = 0, cell = 0, nodata = 0;
    std::vector<double> values;  // north row first
};

AsciiGrid ReadAscii(const std::string& path)
{
    std::istringstream in(ReadFileBytes(path));
    AsciiGrid g;
    std::string key;
    for (int i = 0; i < 6 && in >> key; ++i) {
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (key == "ncols") in >> g.ncols;
        else if (key == "nrows") in >> g.nrows;
        else if (key == "xllcorner") in >> g.xll;
        else if (key == "yllcorner") in >> g.yll;
        else if (key == "cellsize") in >> g.cell;
        else if (key == "nodata_value") in >> g.nodata;
    }
    double v;
    while (in >> v) g.values.push_back(v);
    return g;
}

// Heights below and above zero, with no-data nodes.
std::unique_ptr<CGeoDEM> SignedDem()
{
    return MakeDemFn(
        40, 30, [](int c, int r) { return (c * 7 + r * 3) % 17 == 0 ? -99999 : (c - 20) * 37 + (r - 15) * 11; }, 2000,
        5300, 10.0, 0.1);
}

}  // namespace

TEST(GdalPeer, SignedBilOpensInGdalWithItsSignsAndNoData)
{
    if (!HaveGdal()) GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    auto dem = SignedDem();
    ASSERT_EQ(dem->SaveAsBil(CString(dir("s.bil").c_str()), 32), 1);
    const std::string info = Shell("gdalinfo " + dir("s.bil"));
    EXPECT_NE(info.find("Size is 40, 30"), std::string::npos) << info;
    EXPECT_NE(info.find("Type=Int32"), std::string::npos) << info;
    EXPECT_NE(info.find("Origin = (2000.000000000000000,5300.000000000000000)"), std::string::npos) << info;

    // The values as GDAL reads them, with the header's invalid value as no-data.
    Shell("gdal_translate -q -of AAIGrid -a_nodata -99999 " + dir("s.bil") + " " + dir("s.asc"));
    const AsciiGrid g = ReadAscii(dir("s.asc"));
    ASSERT_EQ(g.ncols, 40);
    ASSERT_EQ(g.nrows, 30);
    EXPECT_DOUBLE_EQ(g.xll, 2000);
    EXPECT_DOUBLE_EQ(g.yll, 5000);
    EXPECT_DOUBLE_EQ(g.cell, 10);
    ASSERT_EQ(g.values.size(), 1200u);
    int nodata = 0, expectedNodata = 0;
    double lo = 1e300, hi = -1e300;
    for (int r = 0; r < 30; ++r)
        for (int c = 0; c < 40; ++c) {
            double stored = 0;
            ASSERT_EQ(dem->GetPixel(static_cast<LONG>(c), static_cast<LONG>(r), stored), 1);
            const LONG value = static_cast<LONG>(std::lround(stored / 0.1));
            const double seen = g.values[static_cast<size_t>(r) * 40 + c];
            EXPECT_EQ(seen, static_cast<double>(value)) << c << "," << r;
            if (value == -99999) ++expectedNodata;
            if (seen == g.nodata) ++nodata;
            else lo = std::min(lo, seen), hi = std::max(hi, seen);
        }
    EXPECT_EQ(nodata, expectedNodata);
    EXPECT_GT(nodata, 0);
    EXPECT_EQ(lo, dem->GetMinElevation());
    EXPECT_EQ(hi, dem->GetMaxElevation());
    EXPECT_LT(lo, 0);
}

TEST(GdalPeer, GdalWrittenBilAndAsciiGridsReadWithTheSameValues)
{
    if (!HaveGdal()) GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    auto dem = SignedDem();
    ASSERT_EQ(dem->SaveAsBil(CString(dir("s.bil").c_str()), 32), 1);
    // GDAL's EHdr writer puts the position into the header (ULXMAP...) and writes no world file.
    Shell("gdal_translate -q -of EHdr " + dir("s.bil") + " " + dir("g.bil"));
    const std::string hdr = ReadFileBytes(dir("g.hdr"));
    ASSERT_NE(hdr.find("PIXELTYPE"), std::string::npos) << hdr;
    ASSERT_NE(hdr.find("ULXMAP"), std::string::npos) << hdr;
    ASSERT_FALSE(std::filesystem::exists(dir("g.blw")));
    CGeoDEM back;
    ASSERT_EQ(back.LoadRasterFile(CString(dir("g.bil").c_str())), 1);
    EXPECT_EQ(back.GetPosition(), dem->GetPosition());
    ASSERT_EQ(back.GetWidth(), 40);
    ASSERT_EQ(back.GetHeight(), 30);
    EXPECT_EQ(std::memcmp(back.GetNodes(), dem->GetNodes(), 40 * 30 * 4), 0);

    // The ".grd" text: same size, corner and values through GDAL's ASCII grid.
    ASSERT_EQ(dem->SaveAsGrd(CString(dir("s.grd").c_str())), 1);
    CGeoDEM fromGrd;
    ASSERT_EQ(fromGrd.LoadRasterFile(CString(dir("s.grd").c_str())), 1);
    EXPECT_EQ(std::memcmp(fromGrd.GetNodes(), dem->GetNodes(), 40 * 30 * 4), 0);
}

// A BIL that GDAL made from a grid of its own reading lands where gdalinfo places it.
TEST(GdalPeer, GdalWrittenBilLandsAtGdalsPlacement)
{
    if (!HaveGdal()) GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    std::string asc = "ncols 4\nnrows 3\nxllcorner 517250\nyllcorner 3401870\ncellsize 30\n";
    for (int r = 0; r < 3; ++r) asc += std::to_string(100 + r) + " 200 300 " + std::to_string(400 - r) + "\n";
    WriteFileBytes(dir("a.asc"), asc);
    Shell("gdal_translate -q -of EHdr -ot Int32 " + dir("a.asc") + " " + dir("g.bil"));
    const std::string info = Shell("gdalinfo " + dir("g.bil"));
    ASSERT_NE(info.find("Origin = (517250.000000000000000,3401960.000000000000000)"), std::string::npos) << info;
    ASSERT_NE(info.find("Pixel Size = (30.000000000000000,-30.000000000000000)"), std::string::npos) << info;
    ASSERT_FALSE(std::filesystem::exists(dir("g.blw")));
    CGeoDEM dem;
    ASSERT_EQ(dem.LoadRasterFile(CString(dir("g.bil").c_str())), 1);
    EXPECT_EQ(dem.GetPosition(), CRect(517250, 3401870, 517370, 3401960));
    EXPECT_EQ(dem.GetCellSize(), 30.0);
    ASSERT_EQ(dem.GetWidth(), 4);
    ASSERT_EQ(dem.GetHeight(), 3);
    double v = 0;  // stored values times the default elevation scale, 0.1
    ASSERT_EQ(dem.GetPixel(0L, 0L, v), 1);  // the north row's first node
    EXPECT_DOUBLE_EQ(v, 10.0);
    ASSERT_EQ(dem.GetPixel(3L, 2L, v), 1);
    EXPECT_DOUBLE_EQ(v, 39.8);
}

TEST(GdalPeer, ContoursMatchGdalContourOnAGaussianHill)
{
    if (!HaveGdal()) GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    // A hill of 80 x 60 nodes, 10 m apart, heights stored in decimetres.
    auto dem = MakeDemFn(
        80, 60,
        [](int c, int r) {
            const double d2 = (c - 40.3) * (c - 40.3) + (r - 29.6) * (r - 29.6);
            return static_cast<LONG>(std::lround(10 * (20 + 500 * std::exp(-d2 / 300.0))));
        },
        0, 600, 10.0, 0.1);
    ASSERT_EQ(dem->SaveAsBil(CString(dir("h.bil").c_str()), 32), 1);
    CGeoVectorLayer layer;
    layer.SetUnit(6);
    ASSERT_GT(dem->CreateContour(layer, 100.0), 0);
    std::map<int, std::vector<std::vector<CPoint>>> ours;
    for (int id = 1; id <= layer.GetMaxID(); ++id) {
        auto* line = static_cast<CGeoPLine*>(layer.FindObj(static_cast<UINT>(id)));
        std::vector<CPoint> pts;
        for (int i = 0; i < line->GetPoints(); ++i) pts.push_back(line->GetPoint(i));
        ours[static_cast<int>(std::lround(line->GetZ()))].push_back(pts);
    }
    // GDAL places values at cell centres: the same nodes, half a cell east and south of ours. Its
    // elevations are the stored decimetres, so its interval is 1000.
    Shell("gdal_contour -q -i 1000 -a elev -f CSV -lco GEOMETRY=AS_WKT " + dir("h.bil") + " " + dir("c.csv"));
    const std::string csv = ReadFileBytes(dir("c.csv"));
    std::map<int, std::vector<std::vector<std::pair<double, double>>>> theirs;
    std::istringstream in(csv);
    std::string row;
    std::getline(in, row);  // header
    while (std::getline(in, row)) {
        const size_t open = row.find("((") != std::string::npos ? row.find("((") + 2 : row.find('(') + 1;
        const size_t close = row.find(')');
        const size_t comma = row.rfind(',');
        const int elev = static_cast<int>(std::lround(std::atof(row.c_str() + comma + 1) / 10));
        std::vector<std::pair<double, double>> pts;
        std::istringstream coords(row.substr(open, close - open));
        double x, y;
        char sep;
        while (coords >> x >> y) {
            pts.push_back({x - 5.0, y + 5.0});
            coords >> sep;
        }
        theirs[elev].push_back(pts);
    }
    ASSERT_FALSE(theirs.empty()) << csv.substr(0, 500);
    for (const auto& [elev, lines] : theirs) {
        ASSERT_EQ(ours[elev].size(), lines.size()) << "level " << elev;
        // Every vertex of ours lies within one cell of GDAL's line of the same level.
        for (const auto& line : ours[elev])
            for (const CPoint& p : line) {
                double best = 1e300;
                for (const auto& g : lines)
                    for (const auto& q : g) best = std::min(best, std::hypot(p.x - q.first, p.y - q.second));
                EXPECT_LT(best, 10.0) << "level " << elev << " at " << p.x << "," << p.y;
            }
    }
}
