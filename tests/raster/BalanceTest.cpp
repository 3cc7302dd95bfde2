#include "raster/GeoHistogram.h"
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "raster/GeoMosaicReferenceBuffer.h"

#include "ImageFixtures.h"
#include "support/TempDir.h"

#include <afx/Random.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace imagefixtures;

namespace {

tagRasterParameter Parameter(double pixelSize = 1.0)
{
    tagRasterParameter p{};
    p.m_nScale = 50000;
    p.m_dXResolution = p.m_dYResolution = 400.0;
    p.m_dPixelSize = pixelSize;
    return p;
}

// An 8-bit image, value(x, row from the top).
template <class F>
std::unique_ptr<CGeoImage> Image(int w, int h, F value, int x0 = 0, int y0 = 0)
{
    tagRasterParameter p = Parameter();
    auto image = std::make_unique<CGeoImage>(w, h, 8, x0, y0 ? y0 : h, p);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) image->SetPixelValue(value(c, r), c, h - 1 - r);
    return image;
}

int At(CGeoImage& image, int c, int r) { return image.GetPixelValue(c, image.GetDIB()->GetHeight() - 1 - r); }

// A mosaic line of the given side whose standard histogram covers (top, left, bottom, right) and holds
// every pixel at one level.
CGeoMosaicPLine* HistogramLine(int position, int top, int left, int bottom, int right, int level)
{
    auto* line = new CGeoMosaicPLine;
    line->SetImagePosition(position);
    CGeoStandardHistogram* s = line->GetStandardHistogram();
    s->SetExtent(top, bottom, left, right);
    const int total = (bottom - top + 1) * (right - left + 1);
    s->GetHistogram()->Initialize(total, 1, 256);
    s->GetHistogram()->GetH(0)[level] = total;
    s->GetHistogram()->CreateSByH();
    return line;
}

}  // namespace

TEST(CreateHistogram, CountsTheExtentCutToTheImage)
{
    auto image = Image(10, 8, [](int c, int r) { return c < 5 ? 10 : 20 + r; });
    CGeoHistogram h;
    ASSERT_EQ(image->CreateHistogram(2, 3, 4, 6, h), 1);  // rows 2..4, columns 3..6
    EXPECT_EQ(h.GetTotal(), 12);
    EXPECT_EQ(h.GetH(0)[10], 6);
    EXPECT_EQ(h.GetH(0)[22], 2);
    EXPECT_EQ(h.GetH(0)[24], 2);
    EXPECT_DOUBLE_EQ(h.GetS(0)[255], 1.0);
    // Reaching beyond the image: only the pixels it has are counted.
    ASSERT_EQ(image->CreateHistogram(-5, 8, 100, 400, h), 1);
    EXPECT_EQ(h.GetTotal(), 16);
    EXPECT_EQ(image->CreateHistogram(9, 0, 12, 3, h), 0);
}

TEST(ResampleByHistogram, FullOverTwoThirdsThenBlendedBack)
{
    auto image = Image(12, 4, [](int, int) { return 100; });
    // Strip of columns 0..9 on the east side of a seam; the neighbour's strip is all 140: the mean
    // shift maps 100 to 140.
    image->GetMosaicLines()->AddTail(HistogramLine(IMAGE_EAST, 0, 0, 3, 9, 140));
    ASSERT_EQ(image->ResampleByHistogram(0), 1);
    const int expected[12] = {140, 140, 140, 140, 140, 140, 132, 124, 116, 108, 100, 100};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 12; ++c) EXPECT_EQ(At(*image, c, r), expected[c]) << c << "," << r;
}

TEST(ResampleByHistogram, SkipsReferenceSidesAndCutsStoredExtents)
{
    auto image = Image(12, 6, [](int c, int r) { return 50 + c + r; });
    const std::vector<BYTE> before(image->GetDIB()->GetDIBBits(),
                                   image->GetDIB()->GetDIBBits() + image->GetDIB()->GetBytesPerLine() * 6);
    image->GetMosaicLines()->AddTail(HistogramLine(IMAGE_WEST, 0, 0, 5, 11, 200));
    image->GetMosaicLines()->AddTail(HistogramLine(IMAGE_NORTH, 0, 0, 5, 11, 200));
    ASSERT_EQ(image->ResampleByHistogram(0), 1);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), image->GetDIB()->GetDIBBits()));
    // A strip stored for a larger image: rows 2..40, columns -3..30 (south of an east-west seam).
    image->GetMosaicLines()->AddTail(HistogramLine(IMAGE_SOUTH, 2, -3, 40, 30, 200));
    ASSERT_EQ(image->ResampleByHistogram(0), 1);
    EXPECT_EQ(At(*image, 0, 0), 50);   // north of the strip: untouched
    EXPECT_GT(At(*image, 0, 2), 150);  // the strip's first row moved to the stored level
}

TEST(ResampleByPLineBuffer, SmoothsAcrossTheSeamByMode)
{
    // West half 50, east half 150; the seam at column 10 in every row (side 0).
    struct Case {
        int mode;
        int seam;
        int expected[6];  // columns 8..13
    } cases[] = {
        {0, 10, {50, 72, 117, 139, 146, 150}},
        {2, 10, {50, 100, 150, 150, 150, 150}},
        {2, 2, {50, 50, 150, 150, 150, 150}},    // closer than a + 2 to the west edge: left alone
        {2, 16, {50, 50, 150, 150, 150, 150}},   // closer than a + 2 to the east edge (width 20)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 100 + c.seam);
        auto image = Image(20, 10, [](int col, int) { return col < 10 ? 50 : 150; });
        CGeoPLineBuffer table;
        ASSERT_EQ(table.Initialize(0, 9, 0), 1);
        for (int i = 0; i < 10; ++i) table.GetPosition()[i] = c.seam;
        CObList buffers;
        buffers.AddTail(&table);
        EXPECT_EQ(image->ResampleByPLineBuffer(buffers, 2, c.mode), 1);
        for (int r = 0; r < 10; ++r)
            for (int k = 0; k < 6; ++k) ASSERT_EQ(At(*image, 8 + k, r), c.expected[k]) << r << "," << 8 + k;
    }
    // Nothing to smooth: an empty list, or only a table of another side.
    auto image = Image(20, 10, [](int col, int) { return col < 10 ? 50 : 150; });
    CObList none;
    EXPECT_EQ(image->ResampleByPLineBuffer(none, 2, 0), 0);
    CGeoPLineBuffer side1;
    ASSERT_EQ(side1.Initialize(0, 9, 1), 1);
    none.AddTail(&side1);
    EXPECT_EQ(image->ResampleByPLineBuffer(none, 2, 0), 0);
    EXPECT_EQ(At(*image, 9, 3), 50);
}

namespace {

// Two images 1 m per pixel on the same ground (unit metre), the seam at E = 1002 m: the west one
// (columns 0..29 from E = 980) supplies the strip east of the seam, the east one (from E = 1000) is
// corrected. The west image is brighter by offset.
struct SeamPair {
    std::unique_ptr<CGeoImage> west, east;
    CGeoMosaicPLine* line = nullptr;  // owned by east

    SeamPair(int offset, int westValue = -1)
    {
        auto ground = [](int E, int r) { return 60 + (E * 3 + r * 5) % 40; };
        west = Image(30, 20, [&](int c, int r) { return westValue >= 0 ? westValue : ground(980 + c, r) + offset; }, 980, 2020);
        east = Image(30, 20, [&](int c, int r) { return ground(1000 + c, r); }, 1000, 2020);
        west->SetUnit(6);
        east->SetUnit(6);
        // Mosaic points: pixel in the west image, map in millimetres.
        CGeoMosaicPLine westLine;
        westLine.AddPoint(22, 19, 1002000.0, 2020000.0);
        westLine.AddPoint(22, 0, 1002000.0, 2001000.0);
        westLine.SetImagePosition(IMAGE_WEST);
        EXPECT_EQ(westLine.GetReferenceBuffer()->Create(west.get(), &westLine, 6), 1);
        line = new CGeoMosaicPLine(westLine, 1, 0);
        for (stMosaicPoint& m : line->GetMosaicPointArray()) m.x = 2;
        line->SetImagePosition(IMAGE_EAST);
        east->GetMosaicLines()->AddTail(line);
    }
};

std::vector<BYTE> Bits(CGeoImage& image)
{
    const BYTE* b = image.GetDIB()->GetDIBBits();
    return std::vector<BYTE>(b, b + image.GetDIB()->GetBytesPerLine() * image.GetDIB()->GetHeight());
}

}  // namespace

TEST(ResampleByReferenceBuffer, FeathersTowardTheNeighbourReproduciblyUnderAFixedSeed)
{
    AfxSetClockSeed(1, 12345);
    SeamPair a(40), b(40);
    const std::vector<BYTE> before = Bits(*a.east);
    ASSERT_EQ(a.east->ResampleByReferenceBuffer(8), 1);
    ASSERT_EQ(b.east->ResampleByReferenceBuffer(8), 1);
    EXPECT_EQ(Bits(*a.east), Bits(*b.east));
    AfxSetClockSeed(0, 0);
    // Next to the seam the east image took on most of the neighbour's extra brightness; far from it
    // nothing changed.
    double gained = 0.0;
    int rows = 0;
    for (int r = 5; r < 19; ++r, ++rows) gained += At(*a.east, 2, r) - before[size_t(19 - r) * a.east->GetDIB()->GetBytesPerLine() + 2];
    EXPECT_GT(gained / rows, 20.0);
    for (int r = 0; r < 20; ++r)
        for (int c = 15; c < 30; ++c)
            ASSERT_EQ(At(*a.east, c, r), before[size_t(19 - r) * a.east->GetDIB()->GetBytesPerLine() + c]);
}

TEST(ResampleByReferenceBuffer, NoDataInTheStripAndNoPixelSizeChangeNothing)
{
    // A neighbour of zeros holds no data: the pixels east of the seam stay.
    SeamPair empty(0, 0);
    const std::vector<BYTE> before = Bits(*empty.east);
    ASSERT_EQ(empty.east->ResampleByReferenceBuffer(8), 1);
    for (int r = 0; r < 20; ++r)
        for (int c = 2; c < 30; ++c)
            ASSERT_EQ(At(*empty.east, c, r), before[size_t(19 - r) * empty.east->GetDIB()->GetBytesPerLine() + c]);
    // A ground pixel size of 0 would never advance the walk: refused.
    SeamPair zero(40);
    tagRasterParameter p = Parameter(0.0);
    CGeoImage flat(30, 20, 8, 1000, 2020, p);
    flat.GetMosaicLines()->AddTail(new CGeoMosaicPLine(*zero.line, 1, 0));
    EXPECT_EQ(flat.ResampleByReferenceBuffer(8), 0);
}

TEST(Wallis, HandsTheMarginsOverAsARegion)
{
    auto image = Image(80, 60, [](int c, int r) { return 40 + (c * 3 + r) % 30; });
    const std::vector<BYTE> before = Bits(*image);
    ProgressScope progress;
    ASSERT_EQ(image->Wallis(128.0, 30.0, CRect(10, 10, 10, 10)), 1);
    int changed = 0;
    for (int r = 0; r < 60; ++r)
        for (int c = 0; c < 80; ++c) {
            const BYTE old = before[size_t(59 - r) * image->GetDIB()->GetBytesPerLine() + c];
            if (c < 10 || r < 10 || c >= 70 || r >= 50)
                ASSERT_EQ(At(*image, c, r), old) << c << "," << r;
            else
                changed += At(*image, c, r) != old;
        }
    EXPECT_GT(changed, 2000);
    EXPECT_EQ(progress.wnd.messages.front().id, 1224u);
    CGeoImage none;
    EXPECT_EQ(none.Wallis(128.0, 30.0, CRect()), 0);
}

TEST(WallisRegion, PullsTheCorrectedStripTowardTheStoredStatistics)
{
    auto image = Image(40, 30, [](int c, int r) { return 60 + (c + r) % 10; });
    CGeoMosaicPLine* line = HistogramLine(IMAGE_EAST, 0, 0, 29, 19, 0);
    line->GetStandardHistogram()->GetAverages()[0] = 120.0;
    line->GetStandardHistogram()->GetCovarances()[0] = 3.0;
    image->GetMosaicLines()->AddTail(line);
    image->GetMosaicLines()->AddTail(HistogramLine(IMAGE_WEST, 0, 20, 29, 39, 0));
    ASSERT_EQ(image->WallisRegion(), 1);
    double seam = 0.0;
    for (int r = 0; r < 30; ++r) seam += At(*image, 0, r);
    EXPECT_NEAR(seam / 30, 120.0, 4.0);
    EXPECT_EQ(At(*image, 30, 5), 60 + 35 % 10);  // the reference side's strip is not touched
}

namespace {

// The ground of the four-image mosaic: 100 x 100 cells of 1 m, row 0 the north; smooth relief plus a
// little texture, well inside 0..255 whatever offset an image adds.
int Ground(int E, int row)
{
    return static_cast<int>(100 + 35 * std::sin(E / 23.0) * std::cos(row / 17.0) + ((E * 7 + row * 13) % 9) - 4);
}

// Image k of the 2 x 2 mosaic: 60 x 60 pixels, its north-west cell at (E0, row0), brighter by offset.
struct Tile {
    int E0, row0, offset;
    std::unique_ptr<CGeoImage> image;
    Tile(int e, int r, int o) : E0(e), row0(r), offset(o)
    {
        image = Image(60, 60, [&](int c, int rr) { return Ground(E0 + c, row0 + rr) + offset; });
    }
    int At(int E, int row) { return ::At(*image, E - E0, row - row0); }
};

// Gives the corrected tile a line of that side whose standard histogram is the reference tile's
// histogram over the ground rectangle [E0, E1] x [r0, r1] (cells, both included).
void Pair(Tile& corrected, Tile& reference, int position, int E0, int E1, int r0, int r1)
{
    auto* line = new CGeoMosaicPLine;
    line->SetImagePosition(position);
    CGeoStandardHistogram* s = line->GetStandardHistogram();
    s->SetExtent(r0 - corrected.row0, r1 - corrected.row0, E0 - corrected.E0, E1 - corrected.E0);
    ASSERT_EQ(reference.image->CreateHistogram(r0 - reference.row0, E0 - reference.E0, r1 - reference.row0,
                                               E1 - reference.E0, *s->GetHistogram()),
              1);
    corrected.image->GetMosaicLines()->AddTail(line);
}

}  // namespace

TEST(MosaicBalancing, FourOverlappingImagesLoseTheirSeamSteps)
{
    // North-west, north-east, south-west, south-east, each overlapping its neighbours by 20 cells; the
    // seams run along E = 50 and row 50.
    Tile nw(0, 0, 0), ne(40, 0, 25), sw(0, 40, -20), se(40, 40, 40);
    // The mosaic: each cell from the tile of its quadrant.
    auto mosaic = [&](int E, int row) {
        Tile& t = row < 50 ? (E < 50 ? nw : ne) : (E < 50 ? sw : se);
        return t.At(E, row);
    };
    // The mean step across a seam, less the ground's own change there.
    auto verticalStep = [&](int r0, int r1) {
        double s = 0;
        for (int r = r0; r <= r1; ++r) s += (mosaic(50, r) - mosaic(49, r)) - (Ground(50, r) - Ground(49, r));
        return std::fabs(s / (r1 - r0 + 1));
    };
    auto horizontalStep = [&](int e0, int e1) {
        double s = 0;
        for (int e = e0; e <= e1; ++e) s += (mosaic(e, 50) - mosaic(e, 49)) - (Ground(e, 50) - Ground(e, 49));
        return std::fabs(s / (e1 - e0 + 1));
    };
    // Where the four tiles meet, the corrections of two seams overlap; the steps are measured along each
    // seam from 10 cells off that junction to the mosaic's edge.
    auto steps = [&](double* out) {
        out[0] = verticalStep(0, 39);
        out[1] = verticalStep(60, 99);
        out[2] = horizontalStep(0, 39);
        out[3] = horizontalStep(60, 99);
    };
    double before[4], after[4];
    steps(before);
    EXPECT_GE(*std::min_element(before, before + 4), 14.0);

    // Each corrected side takes the neighbour's histogram of the strip it shares beyond the seam, along
    // its own part of the seam; the south-east tile is balanced after its neighbours.
    Pair(ne, nw, IMAGE_EAST, 50, 59, 0, 49);
    Pair(sw, nw, IMAGE_SOUTH, 0, 49, 50, 59);
    ASSERT_EQ(ne.image->ResampleByHistogram(0), 1);
    ASSERT_EQ(sw.image->ResampleByHistogram(0), 1);
    Pair(se, sw, IMAGE_EAST, 50, 59, 60, 99);
    Pair(se, ne, IMAGE_SOUTH, 60, 99, 50, 59);
    ASSERT_EQ(se.image->ResampleByHistogram(0), 1);

    // After balancing no seam steps by more than 1.5 grey levels on average.
    steps(after);
    for (int i = 0; i < 4; ++i) EXPECT_LT(after[i], 1.5) << "seam " << i << " was " << before[i];

    // The mosaic picture, written as TIFF, opens in GDAL with its size.
    tagRasterParameter p = Parameter();
    CGeoImage picture(100, 100, 8, 0, 100, p);
    for (int r = 0; r < 100; ++r)
        for (int e = 0; e < 100; ++e) picture.SetPixelValue(mosaic(e, r), e, 99 - r);
    testsupport::TempDir dir;
    ASSERT_EQ(picture.SaveRasterFile(dir("mosaic.tif").c_str()), 1);
    if (HaveTool("gdalinfo")) {
        const std::string info = Capture("gdalinfo " + dir("mosaic.tif"));
        EXPECT_NE(info.find("Size is 100, 100"), std::string::npos) << info;
    }
}
