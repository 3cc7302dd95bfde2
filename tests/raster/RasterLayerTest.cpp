#include "raster/GeoImageLayer.h"
#include "raster/GeoRasterLayer.h"

#include "core/GeoMap.h"
#include "core/ObjectBytes.h"
#include "support/TempDir.h"

#include <pellion/GeoGaussTransformer.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A raster object covering exactly r (millimetres).
CGeoRasterObject* Raster(const CRect& r)
{
    RECT rc = r;
    return new CGeoRasterObject(&rc, CString(""));
}

}  // namespace

TEST(RasterLayer, BoundsFollowObjectsWhileAutoSized)
{
    CGeoRasterLayer layer;
    EXPECT_TRUE(layer.IsAutoSize());
    CGeoRasterObject* a = Raster(CRect(0, 0, 100, 100));
    ASSERT_EQ(layer.Add(a), 1);
    ASSERT_EQ(layer.Add(Raster(CRect(200, 50, 300, 400))), 1);
    EXPECT_EQ(layer.GetBounds(), CRect(0, 0, 300, 400));
    a->Move(CSize(-50, 0));  // objects tell their layer
    EXPECT_EQ(layer.GetBounds(), CRect(-50, 0, 300, 400));

    EXPECT_EQ(layer.AutoSize(0), 1);
    ASSERT_EQ(layer.Add(Raster(CRect(1000, 1000, 1100, 1100))), 1);
    EXPECT_EQ(layer.GetBounds(), CRect(-50, 0, 300, 400));
    layer.AutoCompactBounds();
    EXPECT_EQ(layer.GetBounds(), CRect(-50, 0, 1100, 1100));
    EXPECT_EQ(layer.IsAutoSize(), 0);
    layer.ResetBounds(CRect(1, 2, 3, 4));
    EXPECT_EQ(layer.AutoSize(1), 0);  // switching on recalculates
    EXPECT_EQ(layer.GetBounds(), CRect(-50, 0, 1100, 1100));

    // object bounds in another unit are converted to the layer's
    CGeoRasterObject* cm = Raster(CRect(0, 0, 200, 200));
    cm->SetUnit(4);
    ASSERT_EQ(layer.Add(cm), 1);
    EXPECT_EQ(layer.GetBounds(), CRect(-50, 0, 2000, 2000));
}

TEST(RasterLayer, AddAndDeleteRefusalsIdsAndOrigin)
{
    CGeoRasterLayer layer;
    layer.SetLayerOrigin(10.0, 20.0);
    CGeoAccessorialObject notRaster;
    EXPECT_EQ(layer.Add(nullptr), 0);
    EXPECT_EQ(layer.Add(&notRaster), 0);

    CGeoRasterObject* a = Raster(CRect(0, 0, 100, 100));
    ASSERT_EQ(layer.Add(a), 1);
    EXPECT_EQ(a->GetLayer(), &layer);
    EXPECT_EQ(a->GetID(), 1u);
    EXPECT_EQ(a->GetUserID(), 1u);
    EXPECT_TRUE(layer.IsModified());
    double ox, oy;
    a->GetOrigin(ox, oy);
    EXPECT_EQ(ox, 10.0);
    EXPECT_EQ(oy, 20.0);
    EXPECT_EQ(a->GetBasePoint(), CPoint(-10000, -20000));  // same place on the ground

    CGeoRasterObject* b = Raster(CRect(0, 0, 10, 10));
    ASSERT_EQ(layer.Add(b), 1);
    EXPECT_EQ(layer.GetMaxID(), 2);
    EXPECT_EQ(layer.FindObj(2u), b);
    EXPECT_EQ(layer.FindObj(0u), nullptr);
    CGeoAccessorialObjectList found;
    EXPECT_EQ(layer.FindUserObj(1u, found), 1);
    ASSERT_EQ(found.GetCount(), 1);
    EXPECT_EQ(found.GetHead(), a);
    EXPECT_EQ(layer.FindUserObj(0u, found), 0);

    CGeoRasterObject stranger;
    EXPECT_EQ(layer.Delete(&stranger, 0), 0);
    layer.Editable(0);
    EXPECT_EQ(layer.Delete(b, 0), 0);
    CGeoRasterObject refused;
    EXPECT_EQ(layer.Add(&refused), 0);
    layer.Editable(1);
    ASSERT_EQ(layer.Delete(b, 0), 1);
    EXPECT_EQ(b->GetLayer(), nullptr);
    EXPECT_EQ(layer.GetObjectCount(), 1);
    delete b;
}

TEST(RasterLayer, PickingPrefersTheLastAdded)
{
    CGeoRasterLayer layer;
    CGeoRasterObject* a = Raster(CRect(0, 0, 100, 100));
    CGeoRasterObject* b = Raster(CRect(50, 50, 150, 150));
    layer.Add(a);
    layer.Add(b);
    struct Case { CRect r; SELOBJMODE mode; int kinds; CGeoAccessorialObject* want; } cases[] = {
        {CRect(10, 10, 10, 10), SELOBJ_MEET, 0x100, a},
        {CRect(60, 60, 60, 60), SELOBJ_MEET, 0x800, b},       // overlap: the one added last
        {CRect(10, 10, 10, 10), SELOBJ_INSIDE, 0x100, nullptr},  // a point selects nothing inside
        {CRect(10, 10, 10, 10), SELOBJ_MEET, 0x1000, nullptr},   // no kind bit of 0x0F00
        {CRect(500, 500, 500, 500), SELOBJ_MEET, 0x100, nullptr},
        {CRect(20, 20, 0, 0), SELOBJ_MEET, 0x100, a},            // rectangle, normalised
        {CRect(-10, -10, 200, 200), SELOBJ_INSIDE, 0x100, b},    // cut to the layer: both inside
        {CRect(200, 200, 300, 300), SELOBJ_MEET, 0x100, nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(layer.FindObj(c.r, c.mode, c.kinds), c.want) << c.r.left << "," << c.r.top;
}

TEST(RasterLayer, OriginAndUnitChangesReachObjects)
{
    CGeoRasterLayer layer;
    CGeoRasterObject* a = Raster(CRect(1000, 2000, 3000, 4000));
    layer.Add(a);
    layer.MoveLayerOrigin(1.0, 2.0);  // objects keep their ground position
    double ox, oy;
    a->GetOrigin(ox, oy);
    EXPECT_EQ(ox, 1.0);
    EXPECT_EQ(oy, 2.0);
    EXPECT_EQ(a->GetBasePoint(), CPoint(0, 0));
    layer.SetLayerOrigin(5.0, 2.0);  // objects move with the layer
    a->GetOrigin(ox, oy);
    EXPECT_EQ(ox, 5.0);
    EXPECT_EQ(a->GetBasePoint(), CPoint(0, 0));

    layer.ChangeUnit(4);
    EXPECT_EQ(a->GetUnit(), 4);
    EXPECT_EQ(a->GetBounds(), CRect(0, 0, 200, 200));
}

TEST(RasterLayer, RecordRoundTripAndForeignElements)
{
    CGeoRasterLayer layer;
    layer.Add(Raster(CRect(0, 0, 100, 100)));
    layer.Add(Raster(CRect(200, 50, 300, 400)));
    layer.AutoSize(0);
    const std::vector<BYTE> stored = objbytes::Store(layer);

    CGeoRasterLayer back;
    EXPECT_EQ(objbytes::Load(back, stored), 0u);
    ASSERT_EQ(back.GetObjectCount(), 2);
    EXPECT_EQ(back.IsAutoSize(), 0);
    auto* second = static_cast<CGeoRasterObject*>(back.GetObjectList().GetTail());
    EXPECT_EQ(second->GetLayer(), &back);
    EXPECT_EQ(second->GetBounds(), CRect(200, 50, 300, 400));
    EXPECT_EQ(back.FindObj(2u), second);

    // the list part is the class library's list form; a non-raster element is refused
    CGeoRasterLayer carrier;
    {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        carrier.CGeoLayer::Serialize(ar);
        CObList foreign;
        CGeoAccessorialObject plain;
        foreign.AddTail(&plain);
        foreign.Serialize(ar);
        ar << (LONG)1;
        ar.Close();
        CGeoRasterLayer bad;
        EXPECT_THROW(objbytes::Load(bad, file.Data()), CArchiveException);
        EXPECT_EQ(bad.GetObjectCount(), 0);
    }
    CGeoRasterLayer truncated;
    EXPECT_THROW(objbytes::Load(truncated, std::vector<BYTE>(stored.begin(), stored.end() - 4)), CArchiveException);

    // A list naming one object twice is refused, and the object is freed once (ASan checks both).
    {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        carrier.CGeoLayer::Serialize(ar);
        CObList twice;
        CGeoRasterObject* once = Raster(CRect(0, 0, 10, 10));
        twice.AddTail(once);
        twice.AddTail(once);
        twice.Serialize(ar);
        ar << (LONG)1;
        ar.Close();
        delete once;
        CGeoRasterLayer bad;
        EXPECT_THROW(objbytes::Load(bad, file.Data()), CArchiveException);
        EXPECT_EQ(bad.GetObjectCount(), 0);
    }
}

TEST(ImageLayer, CreateImageLayerTrimsNamesAndSetsBounds)
{
    std::unique_ptr<CGeoImageLayer> named(CreateImageLayer(nullptr, CString("  影像  "), CString(" a.LYR "), 1, 0));
    EXPECT_EQ(named->GetObjectName(), CString("影像"));
    EXPECT_EQ(named->GetFileName(), CString("a.LYR"));
    EXPECT_EQ(named->IsAutoSize(), 1);

    const CRect r(0, 0, 500, 600);
    std::unique_ptr<CGeoImageLayer> fixed(CreateImageLayer(&r, CString("   "), CString(""), 0, 0));
    EXPECT_EQ(fixed->IsAutoSize(), 0);
    EXPECT_EQ(fixed->GetBounds(), r);
    int n = 0;
    ASSERT_EQ(sscanf(fixed->GetObjectName(), "栅格图层 %d", &n), 1);
    EXPECT_EQ(fixed->GetFileName(), CString(""));

    // plain raster objects are not images
    CGeoRasterObject raster;
    EXPECT_EQ(fixed->ObjectIsValid(&raster), 0);
    EXPECT_EQ(fixed->Add(&raster), 0);
}

TEST(ImageLayer, MapCreatesItFromItsLayerFile)
{
    testsupport::TempDir dir("imagelayer");
    CGeoMap map;
    auto* layer = new CGeoImageLayer(CRect(0, 0, 300, 400));
    layer->SetObjectName(CString("航片"));
    layer->AutoSize(0);
    map.AddLayer(layer, -1);
    ASSERT_EQ(map.SaveLayer(layer, CString(dir("photos").c_str())), 1);
    std::unique_ptr<CGeoLayer> loaded(map.LoadLayer(CString(dir("photos.LYR").c_str())));
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(CGeoImageLayer)));
    EXPECT_EQ(loaded->GetObjectName(), CString("航片"));
    EXPECT_EQ(loaded->GetBounds(), CRect(0, 0, 300, 400));
    EXPECT_EQ(static_cast<CGeoImageLayer*>(loaded.get())->IsAutoSize(), 0);
}

TEST(ImageLayer, GaussTransformMovesOriginToMillions)
{
    CGeoImageLayer layer(CRect(345600, 765400, 400000, 800000));
    layer.AutoSize(0);
    layer.SetLayerOrigin(4512000.0, 3398000.0);
    CGeoGaussTransformer same(4, 4);
    layer.Transform(same);
    double ox, oy;
    layer.GetLayerOrigin(ox, oy);
    EXPECT_EQ(ox, 4000000.0);
    EXPECT_EQ(oy, 3000000.0);
    // an empty layer compacts to nothing afterwards
    EXPECT_EQ(layer.GetBounds(), CRect(0, 0, 0, 0));
}

namespace {

// A raster object standing in for an image; the image layer takes only images, so this test puts it
// straight into the list the way a loaded layer holds it.
struct OpenImageLayer : CGeoImageLayer {
    void Hold(CGeoRasterObject* obj)
    {
        obj->SetPosInLayer(m_ObjList.AddTail(obj));
        Fetch(obj);
    }
};

}  // namespace

TEST(ImageLayer, TransformKeepsObjectsOnTheGround)
{
    OpenImageLayer layer;
    layer.SetLayerOrigin(4512000.0, 3398000.0);
    CGeoRasterObject* obj = Raster(CRect(345600, 765400, 445600, 865400));
    obj->SetOrigin(4512000.0, 3398000.0);
    layer.Hold(obj);
    CGeoGaussTransformer same(4, 4);
    layer.Transform(same);
    double lx, ly, ox, oy;
    layer.GetLayerOrigin(lx, ly);
    obj->GetOrigin(ox, oy);
    EXPECT_EQ(ox, lx);
    EXPECT_EQ(oy, ly);
    // ground position of the base point: origin + millimetres / 1000
    EXPECT_NEAR(ox + obj->GetBasePoint().x / 1000.0, 4512345.6, 2.0);
    EXPECT_NEAR(oy + obj->GetBasePoint().y / 1000.0, 3398765.4, 2.0);
    EXPECT_EQ(layer.GetBounds(), obj->GetBounds());
}
