#include "raster/GeoImage.h"
#include "raster/GeoImageLayer.h"

#include "ImageFixtures.h"
#include "core/GeoMap.h"
#include "support/TempDir.h"

#include <afx/WinApp.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tiffio.h>
#include <unistd.h>

using namespace imagefixtures;

namespace {

int Gradient(int x, int y) { return (x * 7 + y * 3) & 0xFF; }

tagRasterParameter Parameter(int scale, double dpi, double pixel)
{
    tagRasterParameter p{};
    p.m_nScale = scale;
    p.m_dXResolution = p.m_dYResolution = dpi;
    p.m_dPixelSize = pixel;
    return p;
}

CGeoGCPoint* Gcp(int px10, int py10, double X, double Y, int same = 0)
{
    auto* g = new CGeoGCPoint(same);
    g->SetPixelPoint(CPoint(px10, py10));
    g->SetGCPX(X);
    g->SetGCPY(Y);
    g->SetGCPZ(12.5);
    g->SetResidualX(0.25);
    g->SetResidualY(-0.5);
    g->SetResidualZ(1.0);
    g->SetDistance(3.0);
    g->SetCtrlPointNumber(7);
    return g;
}

// Answers file dialogs with a fixed path (or cancels) and message boxes with OK, counting them.
class Driver : public CUserDriver {
public:
    CString path;
    int dialogs = 0;
    int OnMessageBox(const CString&, UINT, UINT) override { return IDOK; }
    int OnFileDialog(CFileDialog&, CString& out) override
    {
        ++dialogs;
        if (path.IsEmpty()) return IDCANCEL;
        out = path;
        return IDOK;
    }
};

class DriverScope {
public:
    explicit DriverScope(Driver& d) { AfxSetUserDriver(&d); AfxClearMessageLog(); }
    ~DriverScope() { AfxSetUserDriver(nullptr); }
};

}  // namespace

TEST(GeoImage, GeoTiffPlacementGivesOriginCornerAndResolution)
{
    testsupport::TempDir dir;
    const std::vector<double> m = NorthUpMatrix(512345.6, 3398765.4, 2.5, 30);
    ASSERT_TRUE(WriteGreyTiff(dir("geo.tif"), 40, 30, Gradient, m.data()));
    CGeoImage image;
    ASSERT_EQ(image.LoadRasterFile(dir("geo.tif").c_str()), 1);
    double ox = 0, oy = 0;
    image.GetOrigin(ox, oy);
    EXPECT_EQ(ox, 0.0);
    EXPECT_EQ(oy, 3000000.0);
    EXPECT_EQ(image.GetBounds().left, 512345600);
    EXPECT_EQ(image.GetBounds().top, 398765400);
    // 39 pixel steps of 2.5 m across, 29 up.
    EXPECT_EQ(image.GetBounds().Width(), 97500);
    EXPECT_EQ(image.GetBounds().Height(), 72500);
    EXPECT_DOUBLE_EQ(image.GetRasterParameter().m_dPixelSize, 2500.0);
    EXPECT_DOUBLE_EQ(image.GetRasterParameter().m_dXResolution, 50000 * 25.4 / 2500.0);
    EXPECT_EQ(image.GetWidth(), 40);
    EXPECT_EQ(image.GetBitCount(), 8);
    EXPECT_EQ(image.GetBytesPerRow(), 40u);
    EXPECT_EQ(image.GetPixelValue(3, 29), Gradient(3, 0));  // rows from the bottom
}

// GDAL writes a north-up GeoTIFF's placement as a tie point and a pixel scale, not as a matrix: the image
// lands where gdalinfo says it lies.
TEST(GeoImage, GdalWrittenGeoTiffLandsAtGdalsPlacement)
{
    if (!HaveTool("gdal_translate") || !HaveTool("gdalinfo")) GTEST_SKIP() << "GDAL tools not installed";
    testsupport::TempDir dir;
    {
        std::ofstream asc(dir("g.asc"));
        asc << "ncols 40\nnrows 30\nxllcorner 512345.5\nyllcorner 3398765.0\ncellsize 2.5\n";
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) asc << Gradient(x, y) << ' ';
            asc << '\n';
        }
    }
    ASSERT_EQ(RunQuiet("gdal_translate -q -of GTiff -ot Byte " + dir("g.asc") + " " + dir("g.tif")), 0);
    const std::string info = Capture("gdalinfo " + dir("g.tif"));
    ASSERT_NE(info.find("Origin = (512345.500000000000000,3398840.000000000000000)"), std::string::npos) << info;
    ASSERT_NE(info.find("Pixel Size = (2.500000000000000,-2.500000000000000)"), std::string::npos) << info;
    BriscaRegisterGeoTIFFTags();
    TIFF* tif = TIFFOpen(dir("g.tif").c_str(), "r");
    ASSERT_NE(tif, nullptr);
    uint16_t count = 0;
    double* values = nullptr;
    EXPECT_FALSE(TIFFGetField(tif, 34264, &count, &values));  // no matrix: the tie point form
    EXPECT_TRUE(TIFFGetField(tif, 33922, &count, &values));
    TIFFClose(tif);

    CGeoImage image;
    ASSERT_EQ(image.LoadRasterFile(dir("g.tif").c_str()), 1);
    double ox = 0, oy = 0;
    image.GetOrigin(ox, oy);
    EXPECT_EQ(ox, 0.0);
    EXPECT_EQ(oy, 3000000.0);
    // The south-west corner in millimetres from the origin; 39 and 29 steps of 2.5 m.
    EXPECT_EQ(image.GetBounds().left, 512345500);
    EXPECT_EQ(image.GetBounds().top, 398765000);
    EXPECT_EQ(image.GetBounds().Width(), 97500);
    EXPECT_EQ(image.GetBounds().Height(), 72500);
    EXPECT_DOUBLE_EQ(image.GetRasterParameter().m_dPixelSize, 2500.0);
    EXPECT_EQ(image.GetPixelValue(3, 29), Gradient(3, 0));
}

// Bounds are 32-bit millimetres: a placement whose pixels reach beyond them would be clamped and shown
// wrong, so it is refused like an unusable one, and said.
TEST(GeoImage, PlacementsBeyondTheCoordinateRangeAreRefusedWithAMessage)
{
    testsupport::TempDir dir;
    const struct {
        double pixel;  // metres
        bool placed;
    } cases[] = {{1e6, false}, {3e5, false}, {1e30, false}, {2e5, true}};
    for (const auto& c : cases) {
        const std::vector<double> m = NorthUpMatrix(1000, 2000, c.pixel, 10);
        ASSERT_TRUE(WriteGreyTiff(dir("p.tif"), 10, 10, Gradient, m.data()));
        AfxClearMessageLog();
        CGeoImage image;
        ASSERT_EQ(image.LoadRasterFile(dir("p.tif").c_str()), 1);
        EXPECT_EQ(image.GetWidth(), 10);
        if (c.placed) {
            EXPECT_EQ(image.GetBounds().left, 1000000) << c.pixel;
            EXPECT_NEAR(image.GetBounds().Width(), 9 * c.pixel * 1000, 1000) << c.pixel;
            EXPECT_TRUE(AfxGetMessageLog().empty()) << c.pixel;
        } else {
            EXPECT_EQ(image.GetBounds().left, 0) << c.pixel;
            EXPECT_LT(image.GetRasterParameter().m_dPixelSize, 1e6) << c.pixel;
            ASSERT_EQ(AfxGetMessageLog().size(), 1u) << c.pixel;
            EXPECT_NE(std::string(static_cast<LPCSTR>(AfxGetMessageLog()[0].text)).find(dir("p.tif")), std::string::npos);
        }
    }
    AfxClearMessageLog();
}

// A bitmap that cannot be made (30 GB here) leaves no image claiming ground, and says so.
TEST(GeoImage, ImageTooLargeToMakeHasNoExtentAndSaysSo)
{
    AfxClearMessageLog();
    tagRasterParameter p = Parameter(50000, 400.0, 1.0);
    CGeoImage image(100000, 100000, 24, 500, 700, p);
    EXPECT_FALSE(image.GetDIB()->Ready());
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetHeight(), 0);
    EXPECT_EQ(image.GetBounds(), CRect(500, 700, 500, 700));
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_STREQ(static_cast<LPCSTR>(AfxGetMessageLog()[0].text), "无法建立 100000 x 100000 像素、24 位的图像(太大或参数无效)");
    AfxClearMessageLog();
}

TEST(GeoImage, UnusablePlacementsAreIgnored)
{
    testsupport::TempDir dir;
    std::vector<double> turned(16, 0.0), flipped = NorthUpMatrix(1000, 2000, 2.5, 10), zero = flipped;
    turned[1] = -2.5;  // pixel columns run south: a turn the object cannot show
    turned[4] = 2.5;
    turned[3] = 1000;
    turned[7] = 2000;
    flipped[5] = 2.5;
    zero[0] = 0.0;
    for (const auto* m : {&turned, &flipped, &zero}) {
        ASSERT_TRUE(WriteGreyTiff(dir("t.tif"), 10, 10, Gradient, m->data()));
        CGeoImage image;
        const tagRasterParameter before = image.GetRasterParameter();
        ASSERT_EQ(image.LoadRasterFile(dir("t.tif").c_str()), 1);
        EXPECT_EQ(image.GetRasterParameter().m_dXResolution, before.m_dXResolution);
        EXPECT_GT(image.GetRasterParameter().m_dXResolution, 0.0);
        EXPECT_EQ(image.GetBounds().left, 0);
    }
    // ".tiff" is not looked at for placement (only names ending in "tif").
    const std::vector<double> m = NorthUpMatrix(512345.6, 3398765.4, 2.5, 10);
    ASSERT_TRUE(WriteGreyTiff(dir("g.tiff"), 10, 10, Gradient, m.data()));
    CGeoImage image;
    ASSERT_EQ(image.LoadRasterFile(dir("g.tiff").c_str()), 1);
    EXPECT_EQ(image.GetBounds().left, 0);
    EXPECT_EQ(image.LoadRasterFile(dir("missing.tif").c_str()), 0);
}

TEST(GeoImage, BoundsFromResolutionAndPixelAccess)
{
    tagRasterParameter p = Parameter(50000, 400.0, 1.0);
    CGeoImage image(1001, 801, 8, 0, 0, p);
    image.RecalcBounds();
    EXPECT_EQ(image.GetBounds().Width(), 3175000);
    EXPECT_EQ(image.GetBounds().Height(), 2540000);
    image.SetPixelValue(77, 5, 6);
    EXPECT_EQ(image.GetPixelValue(5, 6), 77);
    EXPECT_EQ(image.SetPixelValue(1, 5000, 6), 0);
    EXPECT_EQ(image.GetPixelValue(5.0, 6.0, INTERPOLATE_NEAREST), -1);  // images have no ground look-up
    EXPECT_EQ(image.SetPixel(RGB(1, 2, 3), 5.0, 6.0, INTERPOLATE_NEAREST), 0);

    // The scanning resolution reaches the bitmap's header.
    tagRasterParameter q = Parameter(10000, 254.0, 1.0);
    image.SetRasterParameter(q);
    EXPECT_EQ(image.GetDIB()->GetBitmapInfoHeader()->biXPelsPerMeter, 10000);
}

TEST(GeoImage, LayerFileRoundTripKeepsPathsPointsAndPixels)
{
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir("doc/img"));
    const std::vector<double> m = NorthUpMatrix(500100.0, 3400200.0, 2.0, 20);
    ASSERT_TRUE(WriteGreyTiff(dir("doc/img/a.tif"), 30, 20, Gradient, m.data()));

    CGeoMap map;
    CGeoImageLayer* layer = CreateImageLayer(nullptr, "  影像  ", "", 1, 0);
    EXPECT_STREQ((LPCSTR)layer->GetObjectName(), "影像");
    layer->SetLayerOrigin(0.0, 3000000.0);  // millimetres from there fit the coordinates
    auto* image = new CGeoImage;
    ASSERT_EQ(image->LoadRasterFile(dir("doc/img/a.tif").c_str()), 1);
    image->GetGCPoints()->AddTail(Gcp(15, 25, 500102.0, 3400238.5, 1));
    image->GetGCPoints()->AddTail(Gcp(295, 195, 500159.0, 3400220.5));
    image->GetSecondGCPoints()->AddTail(Gcp(1, 2, 3.0, 4.0));
    ASSERT_EQ(layer->Add(image), 1);
    const CRect bounds = image->GetBounds();
    ASSERT_EQ(map.SaveLayer(layer, dir("doc/images.LYR").c_str()), 1);
    const std::string bytes = testsupport::ReadFileBytes(dir("doc/images.LYR"));
    EXPECT_NE(bytes.find("img\\a.tif"), std::string::npos);  // relative to the layer file
    delete layer;

    // The folder moves as a whole; the image is found through its relative path.
    std::filesystem::rename(dir("doc"), dir("moved"));
    CGeoLayer* loaded = map.LoadLayer(dir("moved/images.LYR").c_str());
    ASSERT_NE(loaded, nullptr);
    ASSERT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(CGeoImageLayer)));
    auto* back = static_cast<CGeoImageLayer*>(loaded);
    ASSERT_EQ(back->GetObjectCount(), 1);
    auto* img = static_cast<CGeoImage*>(back->GetObjectList().GetHead());
    EXPECT_EQ(img->GetFileName(), CString(dir("moved/img/a.tif").c_str()));
    EXPECT_EQ(img->GetBounds(), bounds);
    EXPECT_EQ(img->GetPixelValue(4, 19), Gradient(4, 0));
    EXPECT_EQ(img->GetStoredInt(), 1);
    ASSERT_EQ(img->GetGCPoints()->GetCount(), 2);
    const CGeoGCPoint* g = img->GetGCPoints()->GetHead();
    EXPECT_EQ(g->IsSamePoint(), 1);
    EXPECT_EQ(g->GetPixelPoint(), CPoint(15, 25));
    EXPECT_EQ(g->GetGCPX(), 500102.0);
    EXPECT_EQ(g->GetGCPY(), 3400238.5);
    EXPECT_EQ(g->GetGCPZ(), 12.5);
    EXPECT_EQ(g->GetResidualX(), 0.25);
    EXPECT_EQ(g->GetResidualY(), -0.5);
    EXPECT_EQ(g->GetResidualZ(), 1.0);
    EXPECT_EQ(g->GetDistance(), 0.0);  // not stored
    EXPECT_EQ(g->GetCtrlPointNumber(), 0);
    EXPECT_EQ(img->GetSecondGCPoints()->GetCount(), 1);
    delete loaded;
}

TEST(GeoImage, LoadingLooksForTheImageInThreePlacesAndKeepsMissingOnes)
{
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir("doc/img"));
    ASSERT_TRUE(WriteGreyTiff(dir("doc/img/a.tif"), 8, 6, Gradient));
    CGeoMap map;
    CGeoImageLayer* layer = CreateImageLayer(nullptr, "", "", 1, 0);
    auto* image = new CGeoImage;
    ASSERT_EQ(image->LoadRasterFile(dir("doc/img/a.tif").c_str()), 1);
    layer->Add(image);
    ASSERT_EQ(map.SaveLayer(layer, dir("doc/L.LYR").c_str()), 1);
    delete layer;
    const std::string here = std::filesystem::current_path().string();

    // 2: the bare name in the current folder.
    std::filesystem::rename(dir("doc/img/a.tif"), dir("doc/a.tif"));
    ASSERT_EQ(chdir(dir("doc").c_str()), 0);
    CGeoLayer* l2 = map.LoadLayer(dir("doc/L.LYR").c_str());
    ASSERT_EQ(chdir(here.c_str()), 0);
    ASSERT_NE(l2, nullptr);
    ASSERT_EQ(static_cast<CGeoImageLayer*>(l2)->GetObjectCount(), 1);
    EXPECT_EQ(static_cast<CGeoImage*>(static_cast<CGeoImageLayer*>(l2)->GetObjectList().GetHead())->GetFileName(),
              CString("a.tif"));
    delete l2;

    // 3: the layer file's own name with ".tif".
    std::filesystem::rename(dir("doc/a.tif"), dir("doc/L.tif"));
    CGeoLayer* l3 = map.LoadLayer(dir("doc/L.LYR").c_str());
    ASSERT_NE(l3, nullptr);
    ASSERT_EQ(static_cast<CGeoImageLayer*>(l3)->GetObjectCount(), 1);
    delete l3;

    // None: the user is told which file is missing; the image stays, without pixels, and a save keeps
    // its link, so it is back once the file is.
    std::filesystem::rename(dir("doc/L.tif"), dir("away.tif"));
    AfxClearMessageLog();
    CGeoLayer* l4 = map.LoadLayer(dir("doc/L.LYR").c_str());
    ASSERT_NE(l4, nullptr);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(std::string((LPCSTR)AfxGetMessageLog()[0].text), "图像文件不存在: " + dir("doc/img/a.tif"));
    ASSERT_EQ(static_cast<CGeoImageLayer*>(l4)->GetObjectCount(), 1);
    auto* kept = static_cast<CGeoImage*>(static_cast<CGeoImageLayer*>(l4)->GetObjectList().GetHead());
    EXPECT_FALSE(kept->GetDIB()->Ready());
    ASSERT_EQ(map.SaveLayer(l4, dir("doc/L.LYR").c_str()), 1);
    delete l4;
    std::filesystem::rename(dir("away.tif"), dir("doc/img/a.tif"));
    CGeoLayer* l5 = map.LoadLayer(dir("doc/L.LYR").c_str());
    ASSERT_NE(l5, nullptr);
    ASSERT_EQ(static_cast<CGeoImageLayer*>(l5)->GetObjectCount(), 1);
    EXPECT_TRUE(static_cast<CGeoImage*>(static_cast<CGeoImageLayer*>(l5)->GetObjectList().GetHead())->GetDIB()->Ready());
    delete l5;

    // A file that is there but cannot be read is told apart.
    testsupport::WriteFileBytes(dir("doc/img/a.tif"), "not an image");
    AfxClearMessageLog();
    CGeoLayer* l6 = map.LoadLayer(dir("doc/L.LYR").c_str());
    ASSERT_NE(l6, nullptr);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(std::string((LPCSTR)AfxGetMessageLog()[0].text), "图像文件无法读取: " + dir("doc/img/a.tif"));
    EXPECT_EQ(static_cast<CGeoImageLayer*>(l6)->GetObjectCount(), 1);
    delete l6;
}

TEST(GeoImage, StoringAsksForAFileNameAndWritesModifiedBitmaps)
{
    testsupport::TempDir dir;
    Driver driver;
    DriverScope scope(driver);
    tagRasterParameter p = Parameter(50000, 400.0, 10.0);
    CGeoMap map;

    // Cancel: the save fails and the old file stays as it was.
    {
        CGeoImageLayer* layer = CreateImageLayer(nullptr, "", "", 1, 0);
        layer->Add(new CGeoImage(6, 4, 8, 0, 40, p));
        CGeoImageLayer* old = CreateImageLayer(nullptr, "", "", 1, 0);
        ASSERT_EQ(map.SaveLayer(old, dir("L.LYR").c_str()), 1);
        delete old;
        const std::string before = testsupport::ReadFileBytes(dir("L.LYR"));
        EXPECT_THROW(map.SaveLayer(layer, dir("L.LYR").c_str()), CUserException);
        EXPECT_EQ(driver.dialogs, 1);
        EXPECT_EQ(testsupport::ReadFileBytes(dir("L.LYR")), before);
        delete layer;
    }
    // OK: the chosen name is taken and a modified bitmap is written there.
    driver.path = dir("chosen.tif").c_str();
    CGeoImageLayer* layer = CreateImageLayer(nullptr, "", "", 1, 0);
    auto* image = new CGeoImage(6, 4, 8, 0, 40, p);
    image->SetPixelValue(200, 1, 1);
    image->Modified(1);
    layer->Add(image);
    ASSERT_EQ(map.SaveLayer(layer, dir("L.LYR").c_str()), 1);
    EXPECT_EQ(image->GetFileName(), driver.path);
    EXPECT_EQ(image->IsModified(), 0);
    CNewDIB written;
    ASSERT_EQ(written.ReadFile(driver.path), 1);
    EXPECT_EQ(written.GetPixelIndex(1, 1), 200);

    // A bitmap that cannot be written is reported, fails the layer save (no layer file naming an image
    // that is not there), and stays marked for the next save.
    image->SetRasterFileName(dir("no/such/folder/x.tif").c_str());
    AfxClearMessageLog();
    EXPECT_THROW(map.SaveLayer(layer, dir("L2.LYR").c_str()), CUserException);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_NE(std::string((LPCSTR)AfxGetMessageLog()[0].text).find("x.tif"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir("L2.LYR")));
    EXPECT_EQ(image->IsModified(), 1);
    delete layer;
}

TEST(GeoImage, PartialLoadingShiftsPointsAndRefusesToStore)
{
    testsupport::TempDir dir;
    ASSERT_TRUE(WriteGreyTiff(dir("a.tif"), 101, 51, Gradient));
    tagRasterParameter p = Parameter(50000, 400.0, 1.0);
    auto* image = new CGeoImage;
    image->SetRasterParameter(p);
    ASSERT_EQ(image->LoadRasterFile(dir("a.tif").c_str()), 1);
    image->GetGCPoints()->AddTail(Gcp(500, 300, 1.0, 2.0));
    CGeoMap map;
    CGeoImageLayer* layer = CreateImageLayer(nullptr, "", "", 1, 0);
    layer->Add(image);
    ASSERT_EQ(map.SaveLayer(layer, dir("L.LYR").c_str()), 1);

    const CRect b = image->GetBounds();
    // A quarter in from the west and a fifth up from the south.
    const CRect part(b.left + b.Width() / 4, b.top + b.Height() / 5, b.right, b.bottom);
    const CRect pixels = image->GetRasterRect(part, image->GetUnit());
    EXPECT_EQ(pixels.left, 25);
    EXPECT_EQ(pixels.top, 10);
    EXPECT_EQ(image->GetRasterRect(CRect(b.right + 10, 0, b.right + 20, 10), image->GetUnit()), CRect(0, 0, 0, 0));

    Driver driver;
    DriverScope scope(driver);
    CGeoImage::SetPartialRectInSerialize(part, image->GetUnit());
    EXPECT_THROW(map.SaveLayer(layer, dir("P.LYR").c_str()), CUserException);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_STREQ((LPCSTR)AfxGetMessageLog()[0].text, "不支持局部图像的存储动作");
    EXPECT_FALSE(std::filesystem::exists(dir("P.LYR")));
    // The refusal ends the mode too, or every later save of the process would be refused.
    EXPECT_EQ(CGeoImage::IsPartialImage(), 0);
    AfxClearMessageLog();
    ASSERT_EQ(map.SaveLayer(layer, dir("Q.LYR").c_str()), 1);

    // A damaged record read in the mode ends it as well.
    CMemFile record;
    {
        CArchive ar(&record, CArchive::store);
        ar << static_cast<CObject*>(image);
    }
    std::vector<BYTE> bytes = record.Data();
    bytes.resize(bytes.size() - 2);
    CGeoImage::SetPartialRectInSerialize(part, image->GetUnit());
    {
        CMemFile cut(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&cut, CArchive::load);
        CObject* ob = nullptr;
        EXPECT_THROW(ar >> ob, CArchiveException);
    }
    EXPECT_EQ(CGeoImage::IsPartialImage(), 0);
    const int unit = image->GetUnit();
    delete layer;

    CGeoImage::SetPartialRectInSerialize(part, unit);
    ASSERT_EQ(CGeoImage::IsPartialImage(), 1);
    CGeoLayer* loaded = map.LoadLayer(dir("L.LYR").c_str());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(CGeoImage::IsPartialImage(), 0);  // one partial load ends the mode
    auto* img = static_cast<CGeoImage*>(static_cast<CGeoImageLayer*>(loaded)->GetObjectList().GetHead());
    EXPECT_EQ(img->GetGCPoints()->GetHead()->GetPixelPoint(), CPoint(500 - 250, 300 - 100));
    EXPECT_EQ(img->GetWidth(), 101);  // the whole file is read
    delete loaded;
}

TEST(GeoImage, RecordsNamingForeignClassesInItsListsFailCleanly)
{
    tagRasterParameter p = Parameter(50000, 400.0, 10.0);
    CGeoImage image(4, 4, 8, 0, 40, p);
    image.SetRasterFileName("x.tif");
    image.Modified(0);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<CObject*>(&image);
    }
    // The four lists close the record with four empty counts; let the first name a class no build has,
    // or one that does not belong in the list (a plain point).
    const ULONGLONG size = file.GetLength();
    std::vector<BYTE> bytes(static_cast<size_t>(size));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(size));
    for (const char* name : {"CGeoSeamOfOldTimes", "CGeoPoint"}) {
        std::vector<BYTE> broken(bytes.begin(), bytes.end() - 8);
        const WORD head[] = {1, 0xFFFF, 1, static_cast<WORD>(strlen(name))};
        for (WORD w : head) {
            broken.push_back(BYTE(w & 0xFF));
            broken.push_back(BYTE(w >> 8));
        }
        broken.insert(broken.end(), name, name + strlen(name));
        broken.resize(broken.size() + 64, 0);
        CMemFile in(broken.data(), static_cast<UINT>(broken.size()));
        CArchive ar(&in, CArchive::load);
        CObject* o = nullptr;
        try {
            ar >> o;
            ADD_FAILURE() << name << " was accepted";
            delete o;
        } catch (CArchiveException&) {
        }
    }
}

TEST(GeoImage, MoveToResizesTheBitmapWithTheLayerColour)
{
    tagRasterParameter p = Parameter(100, 2540.0, 1.0);  // 1 mm pixels
    CGeoImageLayer layer;
    auto* image = new CGeoImage(10, 10, 24, 0, 10, p);
    image->RecalcBounds();
    ASSERT_EQ(layer.Add(image), 1);
    image->SetPixel(RGB(10, 20, 30), 0, 0);
    const CRect b = image->GetBounds();
    image->MoveTo(CRect(b.left, b.top, b.left, b.bottom));  // zero width: nothing
    EXPECT_EQ(image->GetBounds(), b);
    image->MoveTo(CRect(b.left + 5, b.top + 5, b.left + 5, b.top + 5));  // zero size: a shift
    EXPECT_EQ(image->GetBounds().left, b.left + 5);
    EXPECT_EQ(image->GetBounds().Width(), b.Width());
    // 20 mm wide, 10 mm high at 1 mm per pixel: extent 20 x 10, a bitmap of 21 x 11.
    image->MoveTo(CRect(0, 10, 20, 0));
    EXPECT_EQ(image->GetBounds(), CRect(0, 0, 20, 10));
    EXPECT_EQ(image->GetDIB()->GetWidth(), 21);
    EXPECT_EQ(image->GetDIB()->GetHeight(), 11);
    EXPECT_EQ(image->GetPixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(image->GetPixel(20, 10), RGB(255, 255, 255));
    EXPECT_EQ(image->GetGeoBoundary()->GetPoints(), 0);  // cleared
}
