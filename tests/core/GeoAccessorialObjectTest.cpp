// The accessorial object: editing permission through its layer, attach and detach forwarding,
// user-ID notification and the record in its three versions.
#include "core/GeoAccessorialObject.h"
#include "core/GeoLayer.h"
#include "core/ObjectBytes.h"

#include <gtest/gtest.h>

using objbytes::Bytes;

namespace {

// Records what the layer is asked and answers as told.
class ScriptedLayer : public CGeoLayer {
public:
    int Add(CGeoAccessorialObject* p) override {
        ++adds;
        last = p;
        if (answer) Fetch(p);
        return answer;
    }
    int Delete(CGeoAccessorialObject* p, int withRecord) override {
        ++deletes;
        last = p;
        lastWithRecord = withRecord;
        if (answer) Deviate(p);
        return answer;
    }
    int answer = 1;
    int adds = 0;
    int deletes = 0;
    int lastWithRecord = -1;
    CGeoAccessorialObject* last = nullptr;
};

class UserIDProbe : public CGeoAccessorialObject {
public:
    void OnChangeUserID(UINT oldID, UINT newID) override {
        calls.push_back({oldID, newID});
        seenDuringCall = GetUserID();
    }
    std::vector<std::pair<UINT, UINT>> calls;
    UINT seenDuringCall = 0;
};

}  // namespace

TEST(GeoAccessorialObject, EditingFollowsTheLayer) {
    CGeoAccessorialObject obj;
    EXPECT_EQ(obj.CanBeEdited(), 1);
    EXPECT_EQ(obj.CanMove(), 1);
    EXPECT_EQ(obj.CanMoveHandle(3), 1);

    CGeoLayer layer(0);
    layer.Fetch(&obj);
    EXPECT_EQ(obj.GetLayer(), &layer);
    EXPECT_EQ(obj.CanMove(), 0);
    EXPECT_EQ(obj.CanMoveHandle(1), 0);
    obj.Move(CSize(5, 5));  // refused: the bounds stay
    EXPECT_EQ(obj.GetPosition(), CRect(0, 0, 0, 0));
    layer.Editable(1);
    EXPECT_EQ(obj.CanMove(), 1);
}

TEST(GeoAccessorialObject, AttachAndDetachAskTheLayer) {
    CGeoAccessorialObject obj;
    ScriptedLayer layer;
    EXPECT_EQ(obj.DetachLayer(0), 0);  // free: nobody is asked
    EXPECT_EQ(layer.deletes, 0);
    EXPECT_EQ(obj.AttachLayer(nullptr), 0);

    layer.answer = 0;
    EXPECT_EQ(obj.AttachLayer(&layer), 0);
    EXPECT_EQ(layer.adds, 1);
    EXPECT_EQ(obj.GetLayer(), nullptr);

    layer.answer = 1;
    EXPECT_EQ(obj.AttachLayer(&layer), 1);
    EXPECT_EQ(obj.GetLayer(), &layer);

    layer.answer = 0;
    EXPECT_EQ(obj.DetachLayer(0), 0);
    EXPECT_EQ(obj.GetLayer(), &layer);
    layer.answer = 1;
    EXPECT_EQ(obj.DetachLayer(7), 1);
    EXPECT_EQ(layer.lastWithRecord, 1);  // the attribute record goes with it
    EXPECT_EQ(layer.last, &obj);
    EXPECT_EQ(obj.GetLayer(), nullptr);
    EXPECT_EQ(obj.GetObjectDataPtr(), &layer);  // Deviate keeps the former layer
}

TEST(GeoAccessorialObject, SetUserIDNotifiesFirstEvenWhenEqual) {
    UserIDProbe obj;
    obj.SetUserID(12);
    obj.SetUserID(12);
    ASSERT_EQ(obj.calls.size(), 2u);
    EXPECT_EQ(obj.calls[0], std::make_pair(0u, 12u));
    EXPECT_EQ(obj.calls[1], std::make_pair(12u, 12u));
    EXPECT_EQ(obj.seenDuringCall, 12u);
    obj.SetUserID(40);
    EXPECT_EQ(obj.seenDuringCall, 12u);  // called before the new one is stored
    EXPECT_EQ(obj.GetUserID(), 40u);
}

TEST(GeoAccessorialObject, RecordBytes) {
    CGeoAccessorialObject obj;
    obj.SetObjectName("A");
    obj.MoveTo(CRect(1, 2, 3, 4));
    obj.SetUserID(0x1234);
    obj.SetID(7);
    obj.SetMark(GEOMARK_3);
    obj.SetFlag(0x81);
    obj.SetAutoRemoveByLayer(0);
    const std::vector<BYTE> expected = Bytes()
                                           .GeoObject(CRect(1, 2, 3, 4), "A", 3, 1.38f)
                                           .Dword(0x1234)
                                           .Dword(7)
                                           .Long(0)
                                           .Long(3)
                                           .Byte(0x81)
                                           .Data();
    EXPECT_EQ(objbytes::Store(obj), expected);

    CGeoAccessorialObject back;
    EXPECT_EQ(objbytes::Load(back, expected), 0u);
    EXPECT_EQ(back.GetUserID(), 0x1234u);
    EXPECT_EQ(back.GetID(), 7u);
    EXPECT_EQ(back.GetMark(), GEOMARK_3);
    EXPECT_EQ(back.GetFlag(), 0x81);
    EXPECT_EQ(back.CanAutoRemoveByLayer(), 0);
    EXPECT_EQ(back.GetLayer(), nullptr);
    EXPECT_EQ(back.GetPosInLayer(), nullptr);
}

TEST(GeoAccessorialObject, OlderRecordsLackMarkAndFlag) {
    struct Case {
        float version;      // 0: no version at all (bit 31 clear)
        bool hasMark;
        bool hasFlag;
    } cases[] = {{0.0f, false, false}, {1.1f, false, false}, {1.12f, true, false},
                 {1.15f, true, true},  {1.14f, true, false}, {1.38f, true, true}};
    for (const Case& c : cases) {
        Bytes b;
        b.GeoObject(CRect(0, 0, 9, 9), "x", 3, c.version).Dword(5).Dword(6).Long(1);
        if (c.hasMark) b.Long(4);
        if (c.hasFlag) b.Byte(1);
        b.Dword(0xDEADBEEF);  // what follows the record must stay unread
        CGeoAccessorialObject obj;
        EXPECT_EQ(objbytes::Load(obj, b.Data()), 4u) << c.version;
        EXPECT_EQ(obj.GetUserID(), 5u);
        EXPECT_EQ(obj.GetID(), 6u);
        EXPECT_EQ(obj.GetMark(), c.hasMark ? GEOMARK_4 : 0) << c.version;
        EXPECT_EQ(obj.GetFlag(), c.hasFlag ? 1 : 0) << c.version;
    }
}

TEST(GeoAccessorialObject, TruncatedRecordThrows) {
    CGeoAccessorialObject obj;
    const std::vector<BYTE> full = objbytes::Store(obj);
    for (size_t n = 0; n < full.size(); ++n) {
        CGeoAccessorialObject target;
        std::vector<BYTE> cut(full.begin(), full.begin() + static_cast<long>(n));
        EXPECT_THROW(objbytes::Load(target, cut), CArchiveException) << n;
    }
}
