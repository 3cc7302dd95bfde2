#include "raster/GeoRasterObject.h"

#include "core/ObjectBytes.h"
#include "support/TempDir.h"

#include <pellion/GeoGaussTransformer.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

tagRasterParameter Param(int scale, double dpi, double pixel)
{
    tagRasterParameter p{};
    p.m_nScale = scale;
    p.m_dXResolution = dpi;
    p.m_dYResolution = dpi;
    p.m_dPixelSize = pixel;
    return p;
}

// A width x height 8-bit raster at (0, 0) with one band whose byte at (column c, buffer row r) is
// r * 16 + c.
struct Grid {
    tagRasterParameter p = Param(50000, 400, 10.0);
    CGeoRasterObject obj;
    Grid(LONG w, LONG h, int bands = 1) : obj(w, h, 8, 0, h * 10, p)
    {
        for (int b = 0; b < bands; ++b) {
            auto* band = new CGeoBandData();
            EXPECT_EQ(band->Create(nullptr, nullptr, obj.GetBytesPerRow() * h, 0), 1);
            for (LONG r = 0; r < h; ++r)
                for (LONG c = 0; c < w; ++c) band->GetBuffer()[r * obj.GetBytesPerRow() + c] = (BYTE)(b * 100 + r * 16 + c);
            obj.GetBandArray().Add(band);
        }
    }
};

class NotifyingRaster : public CGeoRasterObject {
public:
    int originCalls = 0;
    double oldX = 0, oldY = 0;
protected:
    void OnOriginChanged(double x, double y) override { ++originCalls; oldX = x; oldY = y; }
};

}  // namespace

TEST(RasterObject, DefaultNamesCountOnlyDefaultAndFileConstructions)
{
    CGeoRasterObject a;
    tagRasterParameter p = Param(50000, 400, 1.0);
    CGeoRasterObject inMemory(4, 4, 8, 0, 0, p);
    CGeoRasterObject b(nullptr, CString("x.tif"));
    int n = 0;
    ASSERT_EQ(sscanf(a.GetObjectName(), "栅格对象 %d", &n), 1);
    EXPECT_GE(n, 1);
    CString expected;
    expected.Format("栅格对象 %d", n + 1);
    EXPECT_EQ(b.GetObjectName(), expected);
    EXPECT_EQ(inMemory.GetObjectName().Find("栅格对象"), -1);
    EXPECT_EQ(a.GetWidth(), 1);  // extent (0, 0)
    EXPECT_EQ(a.GetBytesPerRow(), 0u);
}

TEST(RasterObject, FileConstructorKeepsGivenRectangleAndMakesBoundary)
{
    RECT r = {100, 500, 300, 200};  // not normalised
    CGeoRasterObject obj(&r, CString(""));
    EXPECT_EQ(obj.GetBounds(), CRect(100, 200, 300, 500));
    EXPECT_EQ(obj.GetGeoBoundary()->GetPoints(), 4);
    EXPECT_EQ(obj.GetGeoBoundary()->GetPoint(2), CPoint(200, 300));
}

TEST(RasterObject, InMemoryRowLengthAndBounds)
{
    struct Case { LONG w; int bits; DWORD bytes; } cases[] = {{33, 1, 8}, {10, 24, 32}, {4, 8, 4}, {5, 8, 8}, {1, 4, 4}};
    for (const Case& c : cases) {
        tagRasterParameter p = Param(50000, 400, 2.5);
        CGeoRasterObject obj(c.w, 3, c.bits, 10, 100, p);
        EXPECT_EQ(obj.GetBytesPerRow(), c.bytes) << c.w << "x" << c.bits;
        EXPECT_EQ(obj.GetWidth(), c.w);
        EXPECT_EQ(obj.GetHeight(), 3);
        // north edge at y, south edge height * pixel below (7.5 truncated to 7)
        EXPECT_EQ(obj.GetPosition(), CRect(10, 93, 10 + (LONG)(c.w * 2.5), 100));
        EXPECT_EQ(obj.GetBasePoint(), CPoint(10, 93));
    }
}

TEST(RasterObject, SetRasterParameterSizesFromSouthWestCorner)
{
    tagRasterParameter p = Param(50000, 400, 1.0);
    CGeoRasterObject obj(1000, 800, 8, 7, 900, p);
    const CPoint base = obj.GetBasePoint();
    obj.SetRasterParameter(Param(50000, 400, 1.0));
    EXPECT_EQ(obj.GetBasePoint(), base);
    EXPECT_EQ(obj.GetBounds().Width(), 3175000);
    EXPECT_EQ(obj.GetBounds().Height(), 2540000);
    // a zero resolution does not crash and gives no absurd size
    obj.SetRasterParameter(Param(50000, 0, 1.0));
    EXPECT_EQ(obj.GetBasePoint(), base);
}

TEST(RasterObject, PixelAndMapPositions)
{
    tagRasterParameter p = Param(50000, 400, 10.0);
    CGeoRasterObject obj(100, 100, 8, 1000, 3000, p);  // base point (1000, 2000)
    struct Case { CPoint map; CPoint pixel; } cases[] = {
        {{1000, 2000}, {0, 0}}, {{1015, 2015}, {1, 1}}, {{995, 1995}, {0, 0}}, {{985, 2000}, {-1, 0}}, {{1999, 2999}, {99, 99}}};
    for (const Case& c : cases) EXPECT_EQ(obj.GetRasterPoint(3, c.map), c.pixel) << c.map.x;
    // centimetres in, millimetres inside
    EXPECT_EQ(obj.GetRasterPoint(4, CPoint(101, 201)), CPoint(1, 1));
    EXPECT_EQ(obj.GetWhereFromRaster(3, CPoint(3, 4)), CPoint(1030, 2040));
    EXPECT_EQ(obj.GetWhereFromRaster(6, CPoint(3, 4)), CPoint(1, 2));
    EXPECT_EQ(obj.GetRasterPoint(1.0, 2.0, INTERPOLATE_NEAREST), CPoint(-1, -1));
}

TEST(RasterObject, GetBlockCutsRowsCountedFromTheNorth)
{
    Grid g(6, 5, 2);
    std::unique_ptr<CGeoBandData> top(g.obj.GetBlock(0, 0, 0, 6, 1));
    ASSERT_TRUE(top);
    EXPECT_EQ(top->GetLength(), 8u);
    for (int c = 0; c < 6; ++c) EXPECT_EQ(top->GetBuffer()[c], 4 * 16 + c);  // last buffer row

    std::unique_ptr<CGeoBandData> mid(g.obj.GetBlock(1, 2, 1, 3, 2));  // rows 1-2 from the north
    ASSERT_TRUE(mid);
    EXPECT_EQ(mid->GetBuffer()[0], 100 + 2 * 16 + 2);      // southern row of the block first
    EXPECT_EQ(mid->GetBuffer()[4 + 2], 100 + 3 * 16 + 4);  // padded rows of 4 bytes

    int bands[2] = {1, 0};
    std::unique_ptr<CGeoBandData> mixed(g.obj.GetBlock(1, 0, 2, 1, bands, 2));
    ASSERT_TRUE(mixed);
    const BYTE want[4] = {100 + 64 + 1, 64 + 1, 100 + 64 + 2, 64 + 2};
    EXPECT_EQ(std::memcmp(mixed->GetBuffer(), want, 4), 0);

    // requests that leave the grid or name no band give nothing
    EXPECT_EQ(g.obj.GetBlock(0, 5, 0, 4, 1), nullptr);   // x + row bytes > bytes per row (8)
    EXPECT_EQ(g.obj.GetBlock(0, 0, 3, 1, 3), nullptr);   // y + rows > height
    EXPECT_EQ(g.obj.GetBlock(2, 0, 0, 1, 1), nullptr);   // no such band
    EXPECT_EQ(g.obj.GetBlock(-1, 0, 0, 1, 1), nullptr);
    EXPECT_EQ(g.obj.GetBlock(0, 0, 0, 0, 1), nullptr);
    int bad[2] = {0, 7};
    EXPECT_EQ(g.obj.GetBlock(0, 0, 1, 1, bad, 2), nullptr);
    EXPECT_EQ(g.obj.GetBlock(0, 0, 1, 1, bands, 0), nullptr);

    CGeoBandArray out;
    EXPECT_EQ(g.obj.GetBlock(0, 0, 2, 2, out, 0, 0), 2);
    ASSERT_EQ(out.GetSize(), 2);
    EXPECT_EQ(out.GetAt(1)->GetBuffer()[0], 100 + 3 * 16);
    EXPECT_EQ(g.obj.GetBlock(0, 0, 2, 2, out, 1, 3), 1);  // bands 2 and 3 do not exist
    EXPECT_EQ(out.GetSize(), 3);
    EXPECT_EQ(g.obj.GetBlock(0, 0, 2, 2, out, 5, 0), 0);
    out.DeleteAllBands();
}

TEST(RasterObject, CopyKeepsRowLengthSoBlocksStillWork)
{
    Grid g(6, 5);
    g.obj.SetOrigin(1000.0, 2000.0);
    CGeoRasterObject copy(g.obj);
    EXPECT_EQ(copy.GetBytesPerRow(), g.obj.GetBytesPerRow());
    EXPECT_EQ(copy.GetBasePoint(), g.obj.GetBasePoint());
    EXPECT_EQ(copy.GetPosition().Width(), 0);
    double x, y;
    copy.GetOrigin(x, y);
    EXPECT_EQ(x, 1000.0);
    EXPECT_EQ(y, 2000.0);
    ASSERT_EQ(copy.GetNumberOfBands(), 1);
    EXPECT_NE(copy.GetBandArray().GetAt(0)->GetBuffer(), g.obj.GetBandArray().GetAt(0)->GetBuffer());
    std::unique_ptr<CGeoBandData> top(copy.GetBlock(0, 0, 0, 6, 1));
    ASSERT_TRUE(top);
    EXPECT_EQ(top->GetBuffer()[5], 4 * 16 + 5);
}

TEST(RasterObject, HandlesRunClockwiseFromNorthWest)
{
    tagRasterParameter p = Param(50000, 400, 1.0);
    CGeoRasterObject obj(100, 50, 8, 0, 50, p);  // (0, 0, 100, 50)
    const CPoint want[9] = {{0, 50}, {0, 50}, {50, 50}, {100, 50}, {100, 25}, {100, 0}, {50, 0}, {0, 0}, {0, 25}};
    for (int h = 0; h <= 8; ++h) EXPECT_EQ(obj.GetHandle(h), want[h]) << h;
    obj.MoveHandleTo(3, CPoint(120, 70));
    EXPECT_EQ(obj.GetPosition(), CRect(0, 0, 120, 70));
    obj.MoveHandleTo(7, CPoint(-10, 5));
    EXPECT_EQ(obj.GetPosition(), CRect(-10, 5, 120, 70));
    obj.MoveHandleTo(6, CPoint(999, 100));  // past the north edge: not renormalised
    EXPECT_EQ(obj.GetPosition(), CRect(-10, 100, 120, 70));
    obj.MoveHandleTo(9, CPoint(1, 1));
    EXPECT_EQ(obj.GetPosition(), CRect(-10, 100, 120, 70));
}

TEST(RasterObject, OriginChangesKeepGroundPosition)
{
    NotifyingRaster obj;
    obj.MoveTo(CRect(5000, 6000, 5000, 6000));
    obj.ChangeOrigin(0.0, 0.0);
    EXPECT_EQ(obj.originCalls, 0);
    obj.ChangeOrigin(2.0, -3.5);  // metres; the raster is in millimetres
    EXPECT_EQ(obj.originCalls, 1);
    EXPECT_EQ(obj.GetBasePoint(), CPoint(3000, 9500));
    double x, y;
    obj.GetOrigin(x, y);
    EXPECT_EQ(x, 2.0);
    EXPECT_EQ(y, -3.5);
    obj.MoveOrigin(1.0, 0.0);
    EXPECT_EQ(obj.oldX, 2.0);
    EXPECT_EQ(obj.GetBasePoint(), CPoint(2000, 9500));
}

TEST(RasterObject, BoundaryMustLieInsideAndBecomesRelative)
{
    tagRasterParameter p = Param(50000, 400, 1.0);
    CGeoRasterObject obj(100, 100, 8, 1000, 1100, p);  // (1000, 1000, 1100, 1100)
    const POINT inside[4] = {{10, 10}, {50, 10}, {50, 60}, {10, 60}};
    CGeoPolygonLine line(4, inside, FALSE);
    EXPECT_EQ(obj.SetRasterBoundary(CPoint(1000, 1000), line), 1);
    CPoint base;
    CGeoPolygonLine out;
    ASSERT_EQ(obj.GetRasterBoundary(base, out), 1);
    EXPECT_EQ(base, CPoint(1000, 1000));
    EXPECT_EQ(out.GetPoint(0), CPoint(10, 10));
    EXPECT_EQ(out.GetPoint(2), CPoint(50, 60));

    CGeoPolygonLine outside(4, inside, FALSE);
    EXPECT_EQ(obj.SetRasterBoundary(CPoint(1060, 1000), outside), 0);
    EXPECT_EQ(obj.GetGeoBoundary()->GetPoint(0), CPoint(10, 10));

    const POINT two[2] = {{0, 0}, {1, 1}};
    EXPECT_EQ(obj.SetRasterBoundary(CPoint(1000, 1000), CGeoPolygonLine(2, two, FALSE)), 1);
    base = CPoint(7, 7);
    EXPECT_EQ(obj.GetRasterBoundary(base, out), 0);
    EXPECT_EQ(base, CPoint(7, 7));
}

TEST(RasterObject, MoveShiftsBoundsAndBoundary)
{
    tagRasterParameter p = Param(50000, 400, 1.0);
    CGeoRasterObject obj(10, 10, 8, 0, 10, p);
    obj.Move(CSize(5, -5));
    EXPECT_EQ(obj.GetPosition(), CRect(5, -5, 15, 5));
    EXPECT_EQ(obj.GetGeoBoundary()->GetPoint(0), CPoint(5, -5));
    obj.MoveTo(CRect(20, 30, 20, 30));
    EXPECT_EQ(obj.GetPosition(), CRect(20, 30, 30, 40));
    EXPECT_EQ(obj.GetGeoBoundary()->GetPoint(0), CPoint(5, -5));  // zero-size move: no difference
}

TEST(RasterObject, GaussTransformSnapsOriginToMillions)
{
    CGeoRasterObject obj;
    obj.SetOrigin(4512000.0, 3398000.0);
    obj.MoveTo(CRect(345600, 765400, 345600, 765400));  // ground (4 512 345.6, 3 398 765.4) m
    CGeoGaussTransformer same(4, 4);
    obj.Transform(same, 0.0, 0.0);
    double x, y;
    obj.GetOrigin(x, y);
    EXPECT_EQ(x, 4000000.0);
    EXPECT_EQ(y, 3000000.0);
    EXPECT_NEAR(obj.GetBasePoint().x, 512345600, 2000);
    EXPECT_NEAR(obj.GetBasePoint().y, 398765400, 2000);
}

TEST(RasterObject, OtherTransformersLeaveTheRaster)
{
    struct Shift : CGeoCoordinateTransformer {
        int Transform(double a, double b, double& c, double& d) const override { c = a + 5e6; d = b; return 1; }
    } shift;
    CGeoRasterObject obj;
    obj.MoveTo(CRect(10, 10, 10, 10));
    obj.Transform(shift, 0, 0);
    EXPECT_EQ(obj.GetBasePoint(), CPoint(10, 10));
}

namespace {

std::vector<BYTE> StoreBase(CGeoRasterObject& obj)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    obj.CGeoAccessorialObject::Serialize(ar);
    ar.Close();
    return file.Data();
}

}  // namespace

TEST(RasterObject, RecordBytesAndRoundTrip)
{
    Grid g(6, 5);
    g.obj.SetOrigin(1.5, -2.25);
    std::vector<BYTE> expected = StoreBase(g.obj);
    objbytes::Bytes fields;
    const BYTE* raw = reinterpret_cast<const BYTE*>(&g.p);
    fields.Append(std::vector<BYTE>(raw, raw + 32));
    fields.Str("").Long(5).Long(4).Dword(8).Word(8).Double(1.5).Double(-2.25);
    fields.Append(objbytes::Store(*g.obj.GetGeoBoundary()));
    fields.Append(objbytes::Store(g.obj.GetBandArray()));
    expected.insert(expected.end(), fields.Data().begin(), fields.Data().end());
    const std::vector<BYTE> stored = objbytes::Store(g.obj);
    EXPECT_EQ(stored, expected);

    CGeoRasterObject back;
    EXPECT_EQ(objbytes::Load(back, stored), 0u);
    EXPECT_EQ(back.GetWidth(), 6);
    EXPECT_EQ(back.GetHeight(), 5);
    EXPECT_EQ(back.GetBytesPerRow(), 8u);
    EXPECT_EQ(back.GetBitCount(), 8);
    EXPECT_EQ(back.GetRasterParameter().m_dPixelSize, 10.0);
    EXPECT_EQ(back.GetGeoBoundary()->GetPoints(), 4);
    ASSERT_EQ(back.GetNumberOfBands(), 1);
    EXPECT_EQ(back.GetBandArray().GetAt(0)->GetLength(), 40u);
    EXPECT_EQ(back.GetBandArray().GetAt(0)->GetBuffer(), nullptr);  // bytes come with ReadHugeData

    for (size_t cut : {size_t(10), stored.size() - 1}) {
        CGeoRasterObject broken;
        EXPECT_THROW(objbytes::Load(broken, std::vector<BYTE>(stored.begin(), stored.begin() + cut)), CArchiveException)
            << cut;
    }
}

TEST(RasterObject, OldRecordsRecomputePixelSize)
{
    const tagRasterParameter p = Param(50000, 400, 123.0);
    const BYTE* raw = reinterpret_cast<const BYTE*>(&p);
    CGeoPolygonLine boundary;
    objbytes::Bytes b;
    b.GeoObject(CRect(0, 0, 10, 10), "r", 3, 1.30f).Dword(0).Dword(0).Long(1).Long(0).Byte(0);
    b.Append(std::vector<BYTE>(raw, raw + 32)).Str("").Long(0).Long(0).Dword(4).Word(8).Double(0).Double(0);
    b.Append(objbytes::Store(boundary)).Dword(0);
    CGeoRasterObject old;
    EXPECT_EQ(objbytes::Load(old, b.Data()), 0u);
    EXPECT_DOUBLE_EQ(old.GetRasterParameter().m_dPixelSize, 50000 * 25.4 / 400);
}

// A width or height is the stored last column or row + 1: a record whose sizes leave the int range is
// damaged, and every size computed from it would overflow.
TEST(RasterObject, RecordsWithSizesBeyondTheIntRangeAreRefused)
{
    const tagRasterParameter p = Param(50000, 400, 10.0);
    const BYTE* raw = reinterpret_cast<const BYTE*>(&p);
    const struct {
        LONG lastColumn, lastRow;
        bool refused;
    } cases[] = {
        {0x7FFFFFFF, 4, true}, {4, 0x7FFFFFFF, true}, {-2, 4, true}, {4, -0x7FFFFFFF - 1, true},
        {0x7FFFFFFE, 4, false}, {-1, -1, false},
    };
    for (const auto& c : cases) {
        CGeoPolygonLine boundary;
        objbytes::Bytes b;
        b.GeoObject(CRect(0, 0, 10, 10), "r", 3, 1.38f).Dword(0).Dword(0).Long(1).Long(0).Byte(0);
        b.Append(std::vector<BYTE>(raw, raw + 32)).Str("").Long(c.lastColumn).Long(c.lastRow).Dword(4).Word(8);
        b.Double(0).Double(0).Append(objbytes::Store(boundary)).Dword(0);
        CGeoRasterObject loaded;
        if (c.refused) {
            EXPECT_THROW(objbytes::Load(loaded, b.Data()), CArchiveException) << c.lastColumn << " " << c.lastRow;
        } else {
            EXPECT_EQ(objbytes::Load(loaded, b.Data()), 0u);
            EXPECT_EQ(loaded.GetWidth(), c.lastColumn + 1);
        }
    }
}

TEST(RasterObject, FileNameIsStoredRelativeToTheArchive)
{
    testsupport::TempDir dir("raster");
    Grid g(2, 2);
    CGeoRasterObject& obj = g.obj;
    // the file name is set through a record: load one naming a file below the document's folder
    const std::string doc = dir("doc.bin");
    {
        CFile f(doc.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        CGeoRasterObject named;
        std::vector<BYTE> bytes = StoreBase(named);
        objbytes::Bytes tail;
        const BYTE* raw = reinterpret_cast<const BYTE*>(&g.p);
        tail.Append(std::vector<BYTE>(raw, raw + 32)).Str("img/a.tif").Long(0).Long(0).Dword(4).Word(8).Double(0).Double(0);
        tail.Append(objbytes::Store(*obj.GetGeoBoundary())).Dword(0);
        bytes.insert(bytes.end(), tail.Data().begin(), tail.Data().end());
        ar.Write(bytes.data(), (UINT)bytes.size());
    }
    CGeoRasterObject loaded;
    {
        CFile f(doc.c_str(), CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(std::string(loaded.GetFileName()), dir.Path() + "/img/a.tif");
    // storing again beside the same document gives the relative name back
    const std::string doc2 = dir("doc2.bin");
    {
        CFile f(doc2.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        loaded.Serialize(ar);
    }
    const std::string bytes = testsupport::ReadFileBytes(doc2);
    const size_t at = bytes.find("a.tif");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(bytes.substr(at - 5, 10), std::string("\x09img") + bytes[at - 1] + "a.tif");
    EXPECT_TRUE(bytes[at - 1] == '/' || bytes[at - 1] == '\\');
}
