// The layer base: names, identifiers, origin moves, coordinate info, the file option and the record.
#include "core/GeoLayer.h"
#include "core/ObjectBytes.h"
#include "core/TestShape.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/stat.h>

using objbytes::Bytes;

namespace {

struct OriginCall {
    double oldX, oldY;
    int moved;
};

class OriginProbe : public CGeoLayer {
public:
    using CGeoLayer::CGeoLayer;
    void OnLayerOriginChanged(double x, double y, int moved) override { calls.push_back({x, y, moved}); }
    std::vector<OriginCall> calls;
};

COleDateTime FixedClock() { return COleDateTime(2021, 3, 4, 5, 6, 7); }

struct ClockGuard {
    ClockGuard() { COleDateTime::SetClock(&FixedClock); }
    ~ClockGuard() { COleDateTime::SetClock(nullptr); }
};

std::string TempPath(const char* name) { return std::string(CORVANE_TEST_OUTPUT_DIR) + "/" + name; }

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(GeoLayer, FirstLayersOfAProcessAreNumberedFromZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, whatever ran before
    EXPECT_EXIT(
        {
            CGeoLayer first;
            CGeoLayer second(CRect(0, 0, 10, 10), 0);
            bool ok = first.GetObjectName() == CString("图层 0") && second.GetObjectName() == CString("图层 1");
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(GeoLayer, LoadedLayerTakesTheStoredName) {
    CGeoLayer stored;
    stored.SetObjectName("道路");
    CGeoLayer loaded;
    objbytes::Load(loaded, objbytes::Store(stored));
    EXPECT_EQ(loaded.GetObjectName(), CString("道路"));
}

TEST(GeoLayer, IdentifiersAndLinks) {
    CGeoLayer layer;
    EXPECT_EQ(layer.AssignID(), 1);
    EXPECT_EQ(layer.AssignID(), 2);
    CTestShape shape;
    layer.AssignID(&shape);
    EXPECT_EQ(shape.GetID(), 3u);
    EXPECT_EQ(shape.GetUserID(), 3u);
    EXPECT_EQ(layer.CollateID(), 3);  // the base's GetMaxID is the counter itself

    layer.Fetch(&shape);
    EXPECT_EQ(shape.GetLayer(), &layer);
    EXPECT_EQ(shape.GetID(), 3u);  // Fetch links only
    layer.Deviate(&shape);
    EXPECT_EQ(shape.GetLayer(), nullptr);
    EXPECT_EQ(shape.GetObjectDataPtr(), &layer);

    // The base finds nothing and accepts everything.
    CGeoAccessorialObjectList found;
    EXPECT_EQ(layer.FindObj(3u), nullptr);
    EXPECT_EQ(layer.FindUserObj(CRect(0, 0, 100, 100), found, 0), 0);
    EXPECT_EQ(layer.Add(&shape), 1);
    EXPECT_EQ(layer.Delete(&shape, 1), 1);
    EXPECT_EQ(layer.ObjectIsValid(&shape), 1);
    EXPECT_EQ(layer.Duplicate(0, 0), nullptr);
}

TEST(GeoLayer, OriginChanges) {
    OriginProbe layer(CRect(100, 200, 5000, 6000), 1);
    layer.ChangeLayerOrigin(0.0, 0.0);  // unchanged: nothing is called
    EXPECT_TRUE(layer.calls.empty());

    layer.SetLayerOrigin(10.0, 20.0);
    ASSERT_EQ(layer.calls.size(), 1u);
    EXPECT_EQ(layer.calls[0].oldX, 0.0);
    EXPECT_EQ(layer.calls[0].moved, 0);
    EXPECT_EQ(layer.GetPosition(), CRect(100, 200, 5000, 6000));

    layer.MoveLayerOrigin(1.0, 0.0);  // one metre in a millimetre layer
    double x = 0, y = 0;
    layer.GetLayerOrigin(x, y);
    EXPECT_EQ(x, 11.0);
    EXPECT_EQ(y, 20.0);
    EXPECT_EQ(layer.GetPosition(), CRect(-900, 200, 4000, 6000));
    ASSERT_EQ(layer.calls.size(), 2u);
    EXPECT_EQ(layer.calls[1].oldX, 10.0);
    EXPECT_EQ(layer.calls[1].oldY, 20.0);
    EXPECT_EQ(layer.calls[1].moved, 1);

    // ChangeLayerOrigin moves by the difference; the shift is truncated in the layer's unit.
    layer.ChangeLayerOrigin(11.0, 20.0025);
    EXPECT_EQ(layer.GetPosition(), CRect(-900, 198, 4000, 5998));
    EXPECT_EQ(layer.calls.size(), 3u);

    OriginProbe metres(CRect(0, 0, 10, 10), 1);
    metres.SetUnit(6);
    metres.MoveLayerOrigin(-2.7, 3.0);
    EXPECT_EQ(metres.GetPosition(), CRect(2, -3, 12, 7));
}

TEST(GeoLayer, LayerCoordinate) {
    CGeoLayer layer(CRect(1000, 2000, 9000, 9000), 1);
    tagGLAYCOORINFO info = {99.0, 0.5, -2.0};
    layer.SetLayerCoordinateInfo(info);
    layer.LayerCoordinateValidate(1);
    EXPECT_EQ(layer.LayerCoordinate(CPoint(3, 5)), CPoint(1001, 1990));
    EXPECT_EQ(layer.LayerCoordinate(CRect(3, 5, -7, 10)), CRect(1001, 1990, 996, 1980));
    EXPECT_EQ(layer.GetLayerBase(), CPoint(1000, 2000));
}

TEST(GeoLayer, RecordBytesAndRoundTrip) {
    ClockGuard clock;
    CGeoLayer layer(CRect(1, 2, 3, 4), 1);
    layer.SetObjectName("L");
    layer.AssignID();
    layer.AssignID();
    layer.SetLayerOrigin(1.5, -2.25);
    tagGLAYCOORINFO info = {7.0, 0.5, 0.25};
    layer.SetLayerCoordinateInfo(info);
    layer.LayerCoordinateValidate(1);
    layer.LockEditable(1);
    layer.Modified(1);
    layer.SetFileName("c:\\maps\\l.lyr");
    layer.RemoveFileWhenDestruct(1);

    const COleDateTime built = FixedClock();
    const std::vector<BYTE> expected = Bytes()
                                           .GeoObject(CRect(1, 2, 3, 4), "L", 3, 1.38f)
                                           .Dword(2)         // max ID
                                           .Long(0xFFFFFF)   // background colour
                                           .Long(0)          // reserved
                                           .Dword(1)         // editable
                                           .Double(1.5)
                                           .Double(-2.25)
                                           .Double(7.0)      // coordinate info, raw
                                           .Double(0.5)
                                           .Double(0.25)
                                           .Dword(1)         // coordinate info valid
                                           .Long(0)          // build time: status, date
                                           .Double(built.m_dt)
                                           .Data();
    EXPECT_EQ(objbytes::Store(layer), expected);
    layer.RemoveFileWhenDestruct(0);

    CGeoLayer back(0);
    EXPECT_EQ(objbytes::Load(back, expected), 0u);
    EXPECT_EQ(back.GetMaxID(), 2);
    EXPECT_EQ(back.CanBeEdited(), 1);
    double x = 0, y = 0;
    back.GetLayerOrigin(x, y);
    EXPECT_EQ(x, 1.5);
    EXPECT_EQ(y, -2.25);
    EXPECT_EQ(back.GetLayerCoordinateInfo().dReserved, 7.0);
    EXPECT_EQ(back.GetLayerCoordinateInfo().dYFactor, 0.25);
    EXPECT_EQ(back.LayerCoordinateInfoIsValid(), 1);
    EXPECT_TRUE(back.GetBuiltDateTime() == built);
    // Not part of the record.
    EXPECT_EQ(back.IsLockEditable(), 0);
    EXPECT_EQ(back.IsModified(), 0);
    EXPECT_EQ(back.GetFileName(), CString(""));
    EXPECT_EQ(back.IsRemoveFileWhenDestruct(), 0);
    EXPECT_EQ(objbytes::Store(back), expected);

    // Background colour and reserved long survive whatever they hold.
    std::vector<BYTE> other = expected;
    const size_t colourAt = expected.size() - 68;  // the colour and the 64 bytes after it
    other[colourAt] = 0x12;
    other[colourAt + 4] = 0x34;
    CGeoLayer third;
    objbytes::Load(third, other);
    EXPECT_EQ(objbytes::Store(third), other);
}

TEST(GeoLayer, TruncatedRecordThrows) {
    CGeoLayer layer;
    const std::vector<BYTE> full = objbytes::Store(layer);
    for (size_t n = 0; n < full.size(); ++n) {
        CGeoLayer target;
        std::vector<BYTE> cut(full.begin(), full.begin() + static_cast<long>(n));
        EXPECT_THROW(objbytes::Load(target, cut), CArchiveException) << n;
    }
}

TEST(GeoLayer, RemoveFileWhenDestroyed) {
    struct Case {
        const char* name;
        bool option;
        bool readOnly;
        bool removed;
    } cases[] = {
        {"layer-remove.lyr", true, false, true},
        {"layer-readonly.lyr", true, true, false},
        {"layer-keep.lyr", false, false, false},
    };
    for (const Case& c : cases) {
        const std::string path = TempPath(c.name);
        ::chmod(path.c_str(), 0644);
        std::ofstream(path) << "x";
        if (c.readOnly) ::chmod(path.c_str(), 0444);
        {
            CGeoLayer layer;
            layer.SetFileName(path.c_str());
            layer.RemoveFileWhenDestruct(c.option);
        }
        EXPECT_EQ(!Exists(path), c.removed) << c.name;
        ::chmod(path.c_str(), 0644);
        std::remove(path.c_str());
    }
    // A missing file or an empty name is no error.
    {
        CGeoLayer layer;
        layer.RemoveFileWhenDestruct(1);
        layer.SetFileName(TempPath("never-written.lyr").c_str());
    }
    {
        CGeoLayer layer;
        layer.RemoveFileWhenDestruct(1);
    }
}

TEST(GeoLayer, SetFileNameReturnsThePrevious) {
    CGeoLayer layer;
    EXPECT_EQ(layer.SetFileName("a.lyr"), CString(""));
    EXPECT_EQ(layer.SetFileName("b.lyr"), CString("a.lyr"));
    EXPECT_EQ(layer.GetFileName(), CString("b.lyr"));
}
