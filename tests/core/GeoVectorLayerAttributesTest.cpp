// Attribute records of a vector layer's objects, and copying and comparing them between objects.
#include "core/GeoMap.h"
#include "core/GeoVectorLayer.h"
#include "core/LayerFileMark.h"

#include "core/TestShape.h"
#include "support/TempDir.h"

#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

CDaoFieldInfo Field(const char* name, short type, LONG size = 0, const char* defaultValue = "") {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_strDefaultValue = defaultValue;
    return f;
}

// Common fields NAME (text, default "未知") and H (double); class 1 with WIDTH (long, default "7"),
// class 2 with DEPTH (double).
void SetUpTheme(CGeoVectorLayer& layer) {
    layer.m_Theme.AddField(Field("NAME", dbText, 20, "未知"), -2);
    layer.m_Theme.AddField(Field("H", dbDouble), -2);
    CGeoGClass road, river;
    road.SetGCID(1);
    road.AddField(Field("WIDTH", dbLong, 0, "7"), -2);
    river.SetGCID(2);
    river.AddField(Field("DEPTH", dbDouble), -2);
    layer.m_Theme.AddGC(road, -2);
    layer.m_Theme.AddGC(river, -2);
}

CGeoValueList* Values(std::initializer_list<COleVariant> vs, CGeoValueList& out) {
    for (COleVariant v : vs) out.AddTail(v);
    return &out;
}

std::vector<COleVariant> ToVector(CGeoValueList& l) {
    std::vector<COleVariant> r;
    for (POSITION p = l.GetHeadPosition(); p;) r.push_back(l.GetNext(p));
    return r;
}

CTestShape* Shape(CGeoVectorLayer& layer, UINT nClass) {
    CTestShape* s = new CTestShape(CRect(0, 0, 10, 10));
    s->SetObjectClassID(nClass);
    EXPECT_TRUE(layer.Add(s));
    return s;
}

class MainWindow : public CWnd {
public:
    struct Message {
        UINT id;
        WPARAM w;
        LPARAM l;
    };
    std::vector<Message> seen;
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
        seen.push_back({m, w, l});
        return 0;
    }
};

// An application whose main window records what it is sent.
struct Host {
    CWinApp app{"test"};
    MainWindow wnd;
    Host() { app.m_pMainWnd = &wnd; }
    ~Host() { app.m_pMainWnd = nullptr; }
};

}  // namespace

TEST(GeoVectorLayerAttributes, WithoutADatabaseValuesAreDefaults) {
    CGeoVectorLayer layer;
    SetUpTheme(layer);
    CTestShape* a = Shape(layer, 1);
    EXPECT_EQ(layer.HasAttribute(a), 0);
    EXPECT_EQ(layer.RemoveAttribute(a, 0), 1);
    CGeoValueList values;
    EXPECT_EQ(layer.GetAttribute(a, &values), 0);
    std::vector<COleVariant> v = ToVector(values);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].vt, VT_BSTR);
    EXPECT_EQ(v[0].strVal, "未知");
    EXPECT_EQ(v[1].vt, VT_EMPTY) << "no default";
    EXPECT_EQ(v[2].vt, VT_I4);
    EXPECT_EQ(v[2].lVal, 7);
    CGeoValueList unknownClass;
    EXPECT_EQ(layer.GetAttribute(1, &unknownClass, 9), 0);
    EXPECT_EQ(unknownClass.GetCount(), 2) << "the common fields only";
}

TEST(GeoVectorLayerAttributes, FirstWriteCreatesTheDatabaseAndTellsTheHost) {
    Host host;
    CGeoVectorLayer layer;
    SetUpTheme(layer);
    CTestShape* a = Shape(layer, 1);
    CTestShape* none = Shape(layer, 0);

    CGeoValueList tooMany;
    Values({COleVariant("x"), COleVariant(1.0), COleVariant(LONG(2)), COleVariant(LONG(3))}, tooMany);
    EXPECT_EQ(layer.SetAttribute(a, &tooMany), 0);
    EXPECT_EQ(layer.GetAttributeDatabase(), nullptr) << "nothing written, nothing created";
    EXPECT_TRUE(host.wnd.seen.empty());
    CGeoValueList three;
    Values({COleVariant("一环路"), COleVariant(1.5), COleVariant(LONG(30))}, three);
    EXPECT_EQ(layer.SetAttribute(none, &three), 0) << "no feature class";
    EXPECT_EQ(layer.SetAttribute(a, nullptr), 0);
    CTestShape stranger;
    stranger.SetObjectClassID(1);
    EXPECT_EQ(layer.SetAttribute(&stranger, &three), 0) << "not in this layer";

    a->InitilizeAD(1);
    ASSERT_EQ(layer.SetAttribute(a, &three), 1);
    ASSERT_NE(layer.GetAttributeDatabase(), nullptr);
    EXPECT_TRUE(layer.GetAttributeDatabase()->IsExistGC(1));
    EXPECT_FALSE(layer.GetAttributeDatabase()->IsExistGC(2));
    EXPECT_EQ(a->IsADInitilized(), 0) << "the attribute-display style is stale";
    ASSERT_EQ(host.wnd.seen.size(), 1u);
    EXPECT_EQ(host.wnd.seen[0].id, 9832u);
    EXPECT_EQ(host.wnd.seen[0].w, 0u);
    EXPECT_EQ(host.wnd.seen[0].l, reinterpret_cast<LPARAM>(a));
    EXPECT_EQ(layer.HasAttribute(a), 1);

    // A second write replaces the record; NULL values read back as their defaults.
    CGeoValueList again;
    COleVariant null;
    null.vt = VT_NULL;
    Values({null, COleVariant(2.5), COleVariant("12")}, again);
    ASSERT_EQ(layer.SetAttribute(a, &again), 1);
    EXPECT_EQ(host.wnd.seen.size(), 2u);
    CGeoValueList got;
    EXPECT_EQ(layer.GetAttribute(a, &got), 1);
    std::vector<COleVariant> v = ToVector(got);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].strVal, "未知");
    EXPECT_EQ(v[1].dblVal, 2.5);
    EXPECT_EQ(v[2].lVal, 12);

    // The user-ID form checks the class and the count, and tells nobody.
    CGeoValueList river;
    Values({COleVariant("清河"), COleVariant(0.5), COleVariant(3.0)}, river);
    EXPECT_EQ(layer.SetAttribute(77, 9, &river), 0);
    EXPECT_EQ(layer.SetAttribute(77, 2, &river), 1);
    EXPECT_TRUE(layer.GetAttributeDatabase()->IsExistID(77, 2));
    EXPECT_EQ(host.wnd.seen.size(), 2u);
}

TEST(GeoVectorLayerAttributes, SharedUserIdsAndTheLastRecordOfAClass) {
    CGeoVectorLayer layer;
    SetUpTheme(layer);
    CTestShape* a = Shape(layer, 2);
    CTestShape* b = Shape(layer, 2);
    CGeoValueList va;
    ASSERT_TRUE(layer.SetAttribute(a, Values({COleVariant("a"), COleVariant(1.0), COleVariant(1.0)}, va)));
    b->SetUserID(a->GetUserID());
    EXPECT_EQ(layer.RemoveAttribute(a, 0), 0) << "b shares the record";
    EXPECT_TRUE(layer.GetAttributeDatabase()->IsExistID(a->GetUserID(), 2));
    EXPECT_EQ(layer.RemoveAttribute(a, 1), 1);
    EXPECT_FALSE(layer.GetAttributeDatabase()->IsExistID(a->GetUserID(), 0));
    EXPECT_FALSE(layer.GetAttributeDatabase()->IsExistGC(2)) << "the table goes with its last record";
    EXPECT_EQ(layer.RemoveAttribute(a, 0), 1) << "no record left: nothing to do";

    // Deleting with the record keeps a shared record and removes a lone one.
    CGeoValueList vb;
    ASSERT_TRUE(layer.SetAttribute(b, Values({COleVariant("b"), COleVariant(1.0), COleVariant(1.0)}, vb)));
    ASSERT_TRUE(layer.Delete(a, 1));
    EXPECT_TRUE(layer.GetAttributeDatabase()->IsExistID(b->GetUserID(), 2));
    ASSERT_TRUE(layer.Delete(b, 1));
    EXPECT_FALSE(layer.GetAttributeDatabase()->IsExistID(b->GetUserID(), 0));
    delete a;
    delete b;
}

TEST(GeoVectorLayerAttributes, FieldsThatCannotBeMadeLeaveNoTable) {
    CGeoVectorLayer layer;
    SetUpTheme(layer);
    CGeoGClass bad;
    bad.SetGCID(3);
    bad.AddField(Field("X", 11), -2);  // not a field type
    layer.m_Theme.AddGC(bad, -2);
    CTestShape* a = Shape(layer, 3);
    CGeoValueList v;
    EXPECT_EQ(layer.SetAttribute(a, Values({COleVariant("a"), COleVariant(1.0), COleVariant(1.0)}, v)), 0);
    ASSERT_NE(layer.GetAttributeDatabase(), nullptr) << "the common fields were fine";
    EXPECT_FALSE(layer.GetAttributeDatabase()->IsExistGC(3));

    CGeoVectorLayer badCommon;
    badCommon.m_Theme.AddField(Field("Y", 0), -2);
    CGeoGClass c;
    c.SetGCID(1);
    badCommon.m_Theme.AddGC(c, -2);
    CTestShape* b = Shape(badCommon, 1);
    CGeoValueList w;
    EXPECT_EQ(badCommon.SetAttribute(b, Values({COleVariant(LONG(1))}, w)), 0);
    EXPECT_EQ(badCommon.GetAttributeDatabase(), nullptr);
}

TEST(GeoVectorLayerAttributes, BatchWritesClassByClassAndEmptiesTheLists) {
    CGeoVectorLayer layer;
    SetUpTheme(layer);
    CTypedPtrList<CObList, CGeoVectorObject*> objects;
    CList<CGeoValueList*, CGeoValueList*> lists;
    CGeoValueList v1, v2, v3;
    CTestShape* a = Shape(layer, 1);
    CTestShape* b = Shape(layer, 2);
    CTestShape* c = Shape(layer, 1);
    objects.AddTail(a);
    objects.AddTail(b);
    objects.AddTail(c);
    lists.AddTail(Values({COleVariant("a"), COleVariant(1.0), COleVariant(LONG(10))}, v1));
    lists.AddTail(Values({COleVariant("b"), COleVariant(2.0), COleVariant(0.5)}, v2));
    lists.AddTail(Values({COleVariant("c"), COleVariant(3.0), COleVariant(LONG(30))}, v3));
    EXPECT_EQ(layer.SetAttribute(&objects, &lists), 1);
    EXPECT_TRUE(objects.IsEmpty());
    EXPECT_TRUE(lists.IsEmpty());
    EXPECT_EQ(v1.GetHead().dblVal, 1.0) << "each list got its object's user ID at its head";
    CGeoAttributeDatabase* db = layer.GetAttributeDatabase();
    ASSERT_NE(db, nullptr);
    EXPECT_TRUE(db->IsExistID(a->GetUserID(), 1));
    EXPECT_TRUE(db->IsExistID(b->GetUserID(), 2));
    EXPECT_TRUE(db->IsExistID(c->GetUserID(), 1));
    COleVariant width;
    EXPECT_TRUE(db->GetFieldValue(c->GetUserID(), "WIDTH", width, 1));
    EXPECT_EQ(width.lVal, 30);

    EXPECT_EQ(layer.SetAttribute(nullptr, &lists), 0);
    CTestShape* none = Shape(layer, 0);
    CGeoValueList v4;
    objects.AddTail(none);
    lists.AddTail(Values({COleVariant("d"), COleVariant(1.0)}, v4));
    EXPECT_EQ(layer.SetAttribute(&objects, &lists), 0) << "an object without a class has no table";
}

TEST(GeoVectorObjectRecords, SameRecordsCompareEqual) {
    CGeoVectorLayer layer, other;
    SetUpTheme(layer);
    CTestShape* a = Shape(layer, 1);
    CTestShape* b = Shape(layer, 1);
    CTestShape* c = Shape(layer, 2);
    CTestShape* elsewhere = Shape(other, 1);
    EXPECT_EQ(a->HasSameDBAttribute(*b), 1) << "no database";
    EXPECT_EQ(a->HasSameDBAttribute(*c), 0) << "other class";
    EXPECT_EQ(a->HasSameDBAttribute(*elsewhere), 0) << "other layer";
    CTestShape free;
    EXPECT_EQ(free.HasSameDBAttribute(*a), 0);

    CGeoValueList va, vb;
    ASSERT_TRUE(layer.SetAttribute(a, Values({COleVariant("x"), COleVariant(1.0), COleVariant(LONG(5))}, va)));
    EXPECT_EQ(a->HasSameDBAttribute(*b), 0) << "only one has a record";
    ASSERT_TRUE(layer.SetAttribute(b, Values({COleVariant("x"), COleVariant(1.0), COleVariant(LONG(5))}, vb)));
    EXPECT_EQ(a->HasSameDBAttribute(*b), 1);
    CGeoValueList vb2;
    ASSERT_TRUE(layer.SetAttribute(b, Values({COleVariant("x"), COleVariant(1.0), COleVariant(LONG(6))}, vb2)));
    EXPECT_EQ(a->HasSameDBAttribute(*b), 0);
}

TEST(GeoVectorObjectRecords, CopyAttributeMovesTheObjectWithItsNewRecord) {
    CGeoVectorLayer source, target;
    SetUpTheme(source);
    SetUpTheme(target);
    CTestShape* src = Shape(source, 1);
    GEOVIEW red;
    red.m_crLineColor = 0xFF;
    src->SetGeoView(red);
    CGeoValueList vs;
    ASSERT_TRUE(source.SetAttribute(src, Values({COleVariant("源"), COleVariant(1.0), COleVariant(LONG(5))}, vs)));
    Shape(source, 1);  // source's max ID is now 2
    CTestShape* obj = Shape(target, 2);
    CGeoValueList vo;
    ASSERT_TRUE(target.SetAttribute(obj, Values({COleVariant("旧"), COleVariant(9.0), COleVariant(9.0)}, vo)));
    const UINT oldUserID = obj->GetUserID();

    ASSERT_EQ(obj->CopyAttribute(*src, 1), 1);
    EXPECT_EQ(obj->GetLayer(), &source);
    EXPECT_EQ(obj->GetUserID(), 3u);
    EXPECT_EQ(obj->GetObjectClassID(), 1u);
    EXPECT_EQ(obj->GetGeoView().m_crLineColor, 0xFFu);
    CGeoValueList got;
    EXPECT_EQ(source.GetAttribute(obj, &got), 1);
    EXPECT_EQ(got.GetHead().strVal, "源");
    EXPECT_FALSE(target.GetAttributeDatabase()->IsExistID(oldUserID, 0)) << "the record left with the object";
    EXPECT_EQ(target.GetObjectCount(), 0);

    // Within one layer the record already there takes the source's values.
    CTestShape* sibling = Shape(source, 1);
    CGeoValueList vsib;
    ASSERT_TRUE(source.SetAttribute(sibling, Values({COleVariant("兄"), COleVariant(2.0), COleVariant(LONG(2))}, vsib)));
    ASSERT_EQ(sibling->CopyAttribute(*src, 1), 1);
    EXPECT_EQ(sibling->HasSameDBAttribute(*src), 1);
    EXPECT_EQ(sibling->GetLayer(), &source);
}

TEST(GeoVectorObjectRecords, AFailedCopyKeepsTheFormerRecord) {
    CGeoVectorLayer source, target;
    SetUpTheme(source);
    SetUpTheme(target);
    CTestShape* src = Shape(source, 1);
    CGeoValueList vs;
    ASSERT_TRUE(source.SetAttribute(src, Values({COleVariant("源"), COleVariant(1.0), COleVariant(LONG(5))}, vs)));
    src->SetObjectClassID(2);  // its record stays in class 1's table: reading it as class 2 fails
    CTestShape* obj = Shape(target, 1);
    GEOVIEW own = obj->GetGeoView();
    CGeoValueList vo;
    ASSERT_TRUE(target.SetAttribute(obj, Values({COleVariant("旧"), COleVariant(9.0), COleVariant(LONG(9))}, vo)));
    const UINT oldUserID = obj->GetUserID();

    EXPECT_EQ(obj->CopyAttribute(*src, 1), 0);
    EXPECT_EQ(obj->GetLayer(), &target);
    EXPECT_EQ(obj->GetUserID(), oldUserID);
    EXPECT_EQ(obj->GetObjectClassID(), 1u);
    EXPECT_EQ(obj->GetGeoView().m_crLineColor, own.m_crLineColor);
    CGeoValueList got;
    EXPECT_EQ(target.GetAttribute(obj, &got), 1) << "its record is still there";
    EXPECT_EQ(got.GetHead().strVal, "旧");
    EXPECT_EQ(source.GetObjectCount(), 1);

    CTestShape free;
    EXPECT_EQ(free.CopyAttribute(CTestShape(), 1), 0) << "a source outside any vector layer";
}

// A database that cannot be opened (missing, empty, foreign) keeps the layer's binding: the layer says
// so once, refuses attribute writes, stores the binding again, and never touches the file, so putting
// the right file back brings every value back.
TEST(GeoVectorLayerAttributes, UnreadableDatabaseKeepsItsBindingAndIsNeverOverwritten) {
    Host host;
    AfxSetUserDriver(nullptr);
    testsupport::TempDir dir{"corvane-attr"};
    const CString lyr(dir("roads.LYR").c_str()), mdb(dir("roads.mdb").c_str());
    {
        CGeoMap map;
        auto* layer = new CGeoVectorLayer(CRect(0, 0, 100, 100));
        map.AddLayer(layer, -1);
        SetUpTheme(*layer);
        CTestShape* a = Shape(*layer, 1);
        CGeoValueList v;
        ASSERT_EQ(layer->SetAttribute(a, Values({COleVariant("京沪线"), COleVariant(1.5), COleVariant(static_cast<LONG>(6))}, v)), 1);
        ASSERT_EQ(map.SaveLayer(layer, lyr), 1);
    }
    const std::string good = testsupport::ReadFileBytes(dir("roads.mdb"));
    struct Case {
        const char* name;
        bool present;
        std::string bytes;
    };
    const Case cases[] = {{"missing", false, ""}, {"empty", true, ""}, {"foreign", true, "PK\x03\x04 not a database"},
                          {"truncated", true, good.substr(0, good.size() / 3)}};
    for (const Case& c : cases) {
        std::remove(dir("roads.mdb").c_str());
        if (c.present) testsupport::WriteFileBytes(dir("roads.mdb"), c.bytes);
        AfxClearMessageLog();
        CGeoMap map;
        std::unique_ptr<CGeoLayer> loaded(map.LoadLayer(lyr));
        auto* layer = static_cast<CGeoVectorLayer*>(loaded.get());
        ASSERT_NE(layer, nullptr) << c.name;
        EXPECT_EQ(layer->GetAttributeDatabase(), nullptr) << c.name;
        ASSERT_EQ(AfxGetMessageLog().size(), 1u) << c.name;
        EXPECT_NE(AfxGetMessageLog()[0].text.Find("roads.mdb"), -1) << c.name;

        // One edit is refused, said once, and creates nothing.
        auto* a = static_cast<CGeoVectorObject*>(layer->FindObj(1u));
        CGeoValueList v;
        EXPECT_EQ(layer->SetAttribute(a, Values({COleVariant("改"), COleVariant(2.0), COleVariant(static_cast<LONG>(7))}, v)), 0);
        EXPECT_EQ(layer->SetAttribute(a, Values({COleVariant("再改")}, v)), 0);
        EXPECT_EQ(layer->GetAttributeDatabase(), nullptr) << c.name;
        EXPECT_EQ(AfxGetMessageLog().size(), 2u) << c.name;

        // Saving keeps the binding and leaves the file as it is.
        CGeoMap saver;
        ASSERT_EQ(saver.SaveLayer(layer, lyr), 1) << c.name;
        EXPECT_EQ(testsupport::ReadFileBytes(dir("roads.mdb")).size(), c.bytes.size()) << c.name;
        if (c.present) {
            EXPECT_EQ(testsupport::ReadFileBytes(dir("roads.mdb")), c.bytes) << c.name;
        }
    }

    // The right file back: the values are there again.
    testsupport::WriteFileBytes(dir("roads.mdb"), good);
    AfxClearMessageLog();
    CGeoMap map;
    std::unique_ptr<CGeoLayer> loaded(map.LoadLayer(lyr));
    auto* layer = static_cast<CGeoVectorLayer*>(loaded.get());
    ASSERT_NE(layer->GetAttributeDatabase(), nullptr);
    CGeoValueList back;
    ASSERT_EQ(layer->GetAttribute(static_cast<CGeoVectorObject*>(layer->FindObj(1u)), &back), 1);
    EXPECT_EQ(ToVector(back)[0], COleVariant("京沪线"));
    EXPECT_TRUE(AfxGetMessageLog().empty());
}

// A save cut off after the database was published but before the layer file was renamed into place
// leaves the new database beside the old layer file: the load says so. Files of one save, and a layer
// file written in place without a mark, load without a word.
TEST(GeoVectorLayerAttributes, LayerFileAndDatabaseOfDifferentSavesAreToldApart) {
    Host host;
    AfxSetUserDriver(nullptr);
    testsupport::TempDir dir{"corvane-mark"};
    const CString lyr(dir("roads.LYR").c_str());
    CGeoMap map;
    auto* layer = new CGeoVectorLayer(CRect(0, 0, 100, 100));
    map.AddLayer(layer, -1);
    SetUpTheme(*layer);
    CTestShape* a = Shape(*layer, 1);
    CGeoValueList v1;
    ASSERT_EQ(layer->SetAttribute(a, Values({COleVariant("旧"), COleVariant(1.0), COleVariant(static_cast<LONG>(1))}, v1)), 1);
    ASSERT_EQ(map.SaveLayer(layer, lyr), 1);
    const CString first = CLayerFileMark::Read(lyr);
    if (first.IsEmpty()) GTEST_SKIP() << "this file system keeps no extended attributes";
    EXPECT_EQ(first, layer->GetAttributeDatabase()->GetPairMark());
    const std::string oldLayerFile = testsupport::ReadFileBytes(dir("roads.LYR"));

    CGeoValueList v2;
    ASSERT_EQ(layer->SetAttribute(a, Values({COleVariant("新"), COleVariant(2.0), COleVariant(static_cast<LONG>(2))}, v2)), 1);
    ASSERT_EQ(map.SaveLayer(layer, lyr), 1);
    const CString second = CLayerFileMark::Read(lyr);
    EXPECT_NE(second, first);

    AfxClearMessageLog();
    std::unique_ptr<CGeoLayer>(map.LoadLayer(lyr));
    EXPECT_TRUE(AfxGetMessageLog().empty()) << "one save: no word";

    // The old layer file back beside the new database, as a save killed before its rename leaves them.
    testsupport::WriteFileBytes(dir("roads.LYR"), oldLayerFile);
    ASSERT_TRUE(CLayerFileMark::Write(lyr, first));
    AfxClearMessageLog();
    std::unique_ptr<CGeoLayer> mixed(map.LoadLayer(lyr));
    ASSERT_NE(mixed, nullptr);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_NE(AfxGetMessageLog()[0].text.Find("不是同一次保存"), -1);
    EXPECT_NE(static_cast<CGeoVectorLayer*>(mixed.get())->GetAttributeDatabase(), nullptr) << "the layer still loads";

    // Written in place through an archive of the host's own: the stale mark goes, nothing is checked.
    {
        CFile file(lyr, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << CString("CGeoVectorLayer");
        layer->Serialize(ar);
        ar.Close();
    }
    EXPECT_TRUE(CLayerFileMark::Read(lyr).IsEmpty());
    AfxClearMessageLog();
    std::unique_ptr<CGeoLayer>(map.LoadLayer(lyr));
    EXPECT_TRUE(AfxGetMessageLog().empty());
}
