// The vector layer: IDs and the object index, its record with the attribute database beside the layer
// file, older layer types, copies and destruction.
#include "core/GeoVectorLayer.h"

#include "core/GeoSettings.h"
#include "core/TestShape.h"
#include "ObjectBytes.h"

#include <tamsel/GeoAttributeDatabase.h>
#include <win32/codepage.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

CDaoFieldInfo Field(const char* name, short type, LONG size = 0, const char* defaultValue = "") {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_strDefaultValue = defaultValue;
    return f;
}

// Common fields NAME (text, default "未知") and H (double); class 1 "道路" with WIDTH (long, default
// "7"), class 2 "河流" with DEPTH (double).
CGeoTheme MakeTheme() {
    CGeoTheme theme;
    theme.AddField(Field("NAME", dbText, 20, "未知"), -2);
    theme.AddField(Field("H", dbDouble), -2);
    CGeoGClass road, river;
    road.SetGCID(1);
    road.SetGCName("道路");
    road.AddField(Field("WIDTH", dbLong, 0, "7"), -2);
    river.SetGCID(2);
    river.SetGCName("河流");
    river.AddField(Field("DEPTH", dbDouble), -2);
    theme.AddGC(road, -2);
    theme.AddGC(river, -2);
    return theme;
}

CGeoValueList* Values(std::initializer_list<COleVariant> vs, CGeoValueList& out) {
    for (COleVariant v : vs) out.AddTail(v);
    return &out;
}

CTestShape* Shape(CGeoVectorLayer& layer, UINT nClass, int x = 0) {
    CTestShape* s = new CTestShape(CRect(x, 0, x + 10, 10));
    s->SetObjectClassID(nClass);
    EXPECT_TRUE(layer.Add(s));
    return s;
}

// A fresh folder under the test output folder (GBK name given, created through its native form).
CString TestDir(const char* name) {
    CString dir = CString(CORVANE_TEST_OUTPUT_DIR) + "/vlayer-" + name;
    std::string native = win32::GbkPathToNative(dir.str());
    EXPECT_EQ(std::system(("rm -rf '" + native + "' && mkdir -p '" + native + "'").c_str()), 0);
    return dir;
}

bool Exists(const CString& gbkPath) {
    struct stat sb;
    return ::stat(win32::GbkPathToNative(gbkPath.str()).c_str(), &sb) == 0;
}

std::string Slurp(const CString& gbkPath) {
    std::ifstream in(win32::GbkPathToNative(gbkPath.str()), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void StoreLayer(CGeoVectorLayer& layer, const CString& path) {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    layer.Serialize(ar);
    ar.Close();
    file.Close();
}

void LoadLayer(CGeoVectorLayer& layer, const CString& path) {
    CFile file(path, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    layer.Serialize(ar);
}

// The layer with three shapes of classes 1, 2, 1, their records, and display conditions.
void FillLayer(CGeoVectorLayer& layer) {
    layer.m_Theme = MakeTheme();
    layer.SetObjectName("道路图层");
    CTestShape* a = Shape(layer, 1, 0);
    CTestShape* b = Shape(layer, 2, 20);
    CTestShape* c = Shape(layer, 1, 40);
    c->SetZ(12.5);
    CGeoValueList va, vb, vc;
    ASSERT_TRUE(layer.SetAttribute(a, Values({COleVariant("一环路"), COleVariant(1.5), COleVariant(LONG(30))}, va)));
    ASSERT_TRUE(layer.SetAttribute(b, Values({COleVariant("清河"), COleVariant(0.5), COleVariant(3.25)}, vb)));
    ASSERT_TRUE(layer.SetAttribute(c, Values({COleVariant("Road"), COleVariant(2.0), COleVariant(LONG(8))}, vc)));
    GEOVIEW wide;
    wide.m_fLineWidth = 2.0f;
    layer.GetAttriDispParam().SetGeoView(1, "宽路", "%WIDTH%=[20,*)", wide);
    layer.GetAttriDispParam().AddCondition(0, "all", "%H%>1");
}

std::string RunSqlite(const CString& gbkPath, const char* sql) {
    std::string cmd = "sqlite3 '" + win32::GbkPathToNative(gbkPath.str()) + "' \"" + sql + "\" 2>&1";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[256];
        while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

struct AvlPermit {
    explicit AvlPermit(int on) : saved(IsAvlPermit()) { SetAvlPermit(on); }
    ~AvlPermit() { SetAvlPermit(saved); }
    int saved;
};

}  // namespace

// Two objects of one ID: the index finds the first listed. Replacing the second leaves that so;
// replacing the first hands its place in the index to the new object.
TEST(GeoVectorLayerObjects, ReplacingObjectsThatShareAnIDKeepsTheFirstListedFound) {
    AvlPermit guard(1);
    CGeoVectorLayer layer;
    CTestShape* first = Shape(layer, 1);
    CTestShape* second = Shape(layer, 1, 20);
    second->SetID(first->GetID());
    const UINT id = first->GetID();
    EXPECT_EQ(layer.FindObj(id), first);  // builds the index
    CTestShape* later = new CTestShape(CRect(30, 0, 40, 10));
    layer.Replace(later, second);
    delete second;
    EXPECT_EQ(layer.FindObj(id), first);
    CTestShape* earlier = new CTestShape(CRect(50, 0, 60, 10));
    layer.Replace(earlier, first);
    delete first;
    EXPECT_EQ(layer.FindObj(id), earlier);
    ASSERT_TRUE(layer.Delete(earlier, 0));
    delete earlier;
    EXPECT_NE(layer.FindObj(id), earlier);
}

TEST(GeoVectorLayerObjects, IdsIndexAndReplaceWithTheIndexOnAndOff) {
    for (int permit : {1, 0}) {
        SCOPED_TRACE(permit ? "index on" : "index off");
        AvlPermit guard(permit);
        CGeoVectorLayer layer;
        CTestShape* a = new CTestShape(CRect(0, 0, 5, 5));
        ASSERT_TRUE(layer.Add(a));
        EXPECT_EQ(a->GetID(), 1u);
        EXPECT_EQ(a->GetUserID(), 1u);
        EXPECT_EQ(a->GetLayer(), &layer);
        EXPECT_EQ(layer.FindObj(1), a);
        EXPECT_EQ(layer.FindObj(0), nullptr);
        ASSERT_TRUE(layer.Delete(a, 1));
        EXPECT_EQ(a->GetLayer(), nullptr);
        EXPECT_EQ(a->GetObjectDataPtr(), &layer) << "the former layer is kept in the user pointer";
        EXPECT_EQ(a->GetPosInLayer(), nullptr);
        EXPECT_EQ(layer.FindObj(1), nullptr);
        delete a;

        CTestShape* b = Shape(layer, 1);
        EXPECT_EQ(b->GetID(), 2u);
        CTestShape* c = Shape(layer, 2);
        EXPECT_EQ(layer.GetMaxID(), 3);
        EXPECT_EQ(layer.FindObj(3), c);

        // The new object takes the old one's place, IDs, class, name and view.
        GEOVIEW v;
        v.m_crLineColor = 0x123456;
        b->SetGeoView(v);
        b->SetObjectName("旧");
        CTestShape* n = new CTestShape(CRect(1, 1, 2, 2));
        layer.Replace(n, b);
        EXPECT_EQ(n->GetID(), 2u);
        EXPECT_EQ(n->GetUserID(), 2u);
        EXPECT_EQ(n->GetObjectClassID(), 1u);
        EXPECT_EQ(n->GetObjectName(), "旧");
        EXPECT_EQ(n->GetGeoView().m_crLineColor, 0x123456u);
        EXPECT_EQ(n->GetLayer(), &layer);
        EXPECT_EQ(layer.m_ObjList.GetHead(), n);
        EXPECT_EQ(b->GetPosInLayer(), nullptr);
        EXPECT_EQ(b->GetLayer(), &layer) << "the old object keeps its link";
        EXPECT_EQ(layer.FindObj(2), n);
        // Deleting the replaced object leaves the new one in the list and in the index.
        EXPECT_TRUE(layer.Delete(b, 0));
        delete b;
        EXPECT_EQ(layer.FindObj(2), n);
        EXPECT_EQ(layer.GetObjectCount(), 2);

        // A layer that is not editable refuses both ways.
        layer.Editable(0);
        CTestShape extra;
        EXPECT_FALSE(layer.Add(&extra));
        EXPECT_FALSE(layer.Delete(n, 0));
        EXPECT_EQ(layer.GetObjectCount(), 2);
        layer.Editable(1);
        CGeoAccessorialObject notVector;
        EXPECT_FALSE(layer.Add(&notVector));
    }
}

TEST(GeoVectorLayerObjects, IndexNeverOutlivesChangesMadeWhileSwitchedOff) {
    AvlPermit guard(1);
    CGeoVectorLayer layer;
    CTestShape* a = Shape(layer, 0);
    Shape(layer, 0);
    EXPECT_EQ(layer.FindObj(1), a);  // builds the index
    SetAvlPermit(0);
    ASSERT_TRUE(layer.Delete(a, 0));
    delete a;
    SetAvlPermit(1);
    EXPECT_EQ(layer.FindObj(1), nullptr);
    EXPECT_NE(layer.FindObj(2), nullptr);
}

TEST(GeoVectorLayerObjects, DestructionDeletesOwnedAndUnlinksTheRest) {
    for (int editable : {1, 0}) {
        CTestShape* kept = new CTestShape(CRect(0, 0, 1, 1));
        kept->SetAutoRemoveByLayer(0);
        {
            CGeoVectorLayer layer;
            Shape(layer, 1);  // owned: deleted with the layer
            ASSERT_TRUE(layer.Add(kept));
            Shape(layer, 1);
            layer.Editable(editable);
        }
        EXPECT_EQ(kept->GetLayer(), nullptr) << "editable " << editable;
        EXPECT_EQ(kept->GetPosInLayer(), nullptr);
        delete kept;
    }
}

TEST(GeoVectorLayerObjects, DestructionKeepsRecordsStillShared) {
    CString dir = TestDir("shared");
    CTestShape* kept = new CTestShape(CRect(0, 0, 1, 1));
    kept->SetAutoRemoveByLayer(0);
    kept->SetObjectClassID(1);
    CTestShape* lone = new CTestShape(CRect(0, 0, 1, 1));
    lone->SetAutoRemoveByLayer(0);
    lone->SetObjectClassID(1);
    {
        CGeoVectorLayer layer;
        layer.m_Theme = MakeTheme();
        CTestShape* owned = Shape(layer, 1);  // listed before the object that shares its record
        ASSERT_TRUE(layer.Add(kept));
        ASSERT_TRUE(layer.Add(lone));
        kept->SetUserID(owned->GetUserID());
        CGeoValueList va, vb;
        ASSERT_TRUE(layer.SetAttribute(owned, Values({COleVariant("a"), COleVariant(1.0), COleVariant(LONG(1))}, va)));
        ASSERT_TRUE(layer.SetAttribute(lone, Values({COleVariant("b"), COleVariant(2.0), COleVariant(LONG(2))}, vb)));
        StoreLayer(layer, dir + "/s.LYR");
    }
    CGeoAttributeDatabase db(GetDAOEngine(), dir + "/s.mdb", 0);
    ASSERT_TRUE(db.IsOpen());
    EXPECT_TRUE(db.IsExistID(kept->GetUserID(), 1)) << "shared with the owned object, which keeps it";
    EXPECT_FALSE(db.IsExistID(lone->GetUserID(), 1)) << "detached with its record";
    delete kept;
    delete lone;
}

TEST(GeoVectorLayerObjects, CopiesTakeSchemaAndRulesButNoObjects) {
    CGeoVectorLayer layer(CRect(10, 20, 110, 220));
    layer.m_Theme = MakeTheme();
    layer.SetObjectName("源");
    layer.SetLayerOrigin(3.0, 4.0);
    layer.GetAttriDispParam().AddCondition(1, "s", "%H%>1");
    Shape(layer, 1);
    CGeoObject* dup = layer.Duplicate(0, 0);
    ASSERT_NE(dup, nullptr);
    CGeoVectorLayer* copy = static_cast<CGeoVectorLayer*>(dup);
    EXPECT_EQ(copy->GetObjectCount(), 0);
    EXPECT_EQ(copy->GetObjectName(), "源");
    EXPECT_EQ(copy->GetPosition(), CRect(10, 20, 110, 220));
    EXPECT_EQ(copy->m_Theme.GetGCCount(), 2);
    EXPECT_NE(copy->GetAttriDispParam().GetCondition(1, "s"), nullptr);
    double x = 0, y = 0;
    copy->GetLayerOrigin(x, y);
    EXPECT_EQ(x, 3.0);
    EXPECT_EQ(y, 4.0);
    delete dup;

    CUIntArray ids, counts;
    Shape(layer, 2);
    Shape(layer, 1);
    Shape(layer, 0);
    layer.GetUsedGCID(ids, &counts);
    ASSERT_EQ(ids.GetSize(), 2);
    EXPECT_EQ(ids[0], 1u);
    EXPECT_EQ(counts[0], 2u);
    EXPECT_EQ(ids[1], 2u);
    layer.GetAllGCID(ids);
    EXPECT_EQ(ids.GetSize(), 2);
    EXPECT_TRUE(layer.HasField());
    EXPECT_TRUE(layer.IsExistUserID(2, 2));
    EXPECT_FALSE(layer.IsExistUserID(2, 1));
    EXPECT_TRUE(layer.IsExistUserID(2, 0));

    CGeoTheme theme = MakeTheme();
    CGeoVectorLayer* made = CreateVectorLayer(nullptr, &theme, "  新层 ", " a.LYR ", 0);
    EXPECT_EQ(made->GetPosition(), CRect(0, 0, 5000000, 5000000));
    EXPECT_EQ(made->GetObjectName(), "新层");
    EXPECT_EQ(made->GetFileName(), "a.LYR");
    EXPECT_EQ(made->m_Theme.GetGCCount(), 2);
    EXPECT_TRUE(made->CanBeEdited());
    delete made;
}

TEST(GeoVectorLayerRecord, StoredLoadedAndStoredAgainWithItsDatabase) {
    CString dir1 = TestDir("round1"), dir2 = TestDir("round2");
    CString path1 = dir1 + "/道路.LYR", path2 = dir2 + "/道路.LYR";
    {
        CGeoVectorLayer layer;
        FillLayer(layer);
        StoreLayer(layer, path1);
        EXPECT_EQ(layer.GetAttributeDatabase()->GetPathName(), dir1 + "/道路.mdb")
            << "the layer works on the saved file from now on";
    }
    ASSERT_TRUE(Exists(dir1 + "/道路.mdb"));
    EXPECT_EQ(RunSqlite(dir1 + "/道路.mdb", "SELECT UserID, NAME, WIDTH FROM GC_1 ORDER BY UserID;"),
              "1|\xe4\xb8\x80\xe7\x8e\xaf\xe8\xb7\xaf|30\n3|Road|8\n");

    CGeoVectorLayer loaded;
    LoadLayer(loaded, path1);
    ASSERT_EQ(loaded.GetObjectCount(), 3);
    ASSERT_NE(loaded.GetAttributeDatabase(), nullptr);
    EXPECT_FALSE(loaded.GetAttributeDatabase()->IsReadOnly());
    EXPECT_TRUE(loaded.CanBeEdited());
    EXPECT_EQ(loaded.GetObjectName(), "道路图层");
    CGeoVectorObject* first = static_cast<CGeoVectorObject*>(loaded.m_ObjList.GetHead());
    EXPECT_EQ(first->GetLayer(), &loaded);
    EXPECT_EQ(first->GetPosInLayer(), loaded.m_ObjList.GetHeadPosition());
    EXPECT_EQ(loaded.FindObj(3), loaded.m_ObjList.GetTail());
    CGeoValueList values;
    EXPECT_EQ(loaded.GetAttribute(2, &values, 2), 1);
    ASSERT_EQ(values.GetCount(), 3);
    EXPECT_EQ(values.GetHead().strVal, "清河");
    EXPECT_EQ(values.GetTail().dblVal, 3.25);
    GEOVIEW got;
    EXPECT_EQ(loaded.GetAttriDispParam().GetGeoView(1, "宽路", "%WIDTH%=[20,*)", got), 1);
    EXPECT_EQ(got.m_fLineWidth, 2.0f);

    StoreLayer(loaded, path2);
    EXPECT_EQ(Slurp(path2), Slurp(path1)) << "stored again byte for byte";
    EXPECT_TRUE(Exists(dir2 + "/道路.mdb"));
}

TEST(GeoVectorLayerRecord, ReadOnlyMissingAndUnnamedDatabases) {
    CString dir = TestDir("files");
    CString path = dir + "/roads.LYR", db = dir + "/roads.mdb";
    {
        CGeoVectorLayer layer;
        FillLayer(layer);
        StoreLayer(layer, path);
    }
    ASSERT_EQ(::chmod(win32::GbkPathToNative(db.str()).c_str(), 0444), 0);
    AfxClearMessageLog();
    {
        CGeoVectorLayer layer;
        LoadLayer(layer, path);
        ASSERT_EQ(AfxGetMessageLog().size(), 1u);
        EXPECT_EQ(AfxGetMessageLog()[0].text,
                  "数据库[" + db + "]只能以只读方式打开!\n所有对此属性库的操作都将被禁止!");
        EXPECT_EQ(AfxGetMessageLog()[0].nType, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
        ASSERT_NE(layer.GetAttributeDatabase(), nullptr);
        EXPECT_TRUE(layer.GetAttributeDatabase()->IsReadOnly());
        EXPECT_FALSE(layer.CanBeEdited());
        EXPECT_TRUE(layer.IsLockEditable());
        CTestShape shape;
        EXPECT_FALSE(layer.Add(&shape));
        CGeoValueList values;
        EXPECT_EQ(layer.GetAttribute(1, &values, 1), 1) << "records still read";
    }
    ::chmod(win32::GbkPathToNative(db.str()).c_str(), 0644);

    // Without its database file the layer loads without one and says so once, keeping the binding
    // (GeoVectorLayerAttributesTest shows what follows from it).
    ::unlink(win32::GbkPathToNative(db.str()).c_str());
    AfxClearMessageLog();
    {
        CGeoVectorLayer layer;
        LoadLayer(layer, path);
        EXPECT_EQ(layer.GetAttributeDatabase(), nullptr);
        ASSERT_EQ(AfxGetMessageLog().size(), 1u);
        EXPECT_NE(AfxGetMessageLog()[0].text.Find(db), -1);
        EXPECT_EQ(layer.GetObjectCount(), 3);
    }

    // A layer file whose title is empty keeps its database as ".mdb" beside it.
    CString unnamed = dir + "/.LYR";
    {
        CGeoVectorLayer layer;
        FillLayer(layer);
        StoreLayer(layer, unnamed);
    }
    EXPECT_TRUE(Exists(dir + "/.mdb"));
    CGeoVectorLayer layer;
    LoadLayer(layer, unnamed);
    EXPECT_NE(layer.GetAttributeDatabase(), nullptr);
}

TEST(GeoVectorLayerRecord, AnArchiveInMemoryWritesNoDatabaseFile) {
    CString dir = TestDir("memory");
    char saved[4096];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(::chdir(win32::GbkPathToNative(dir.str()).c_str()), 0);
    std::vector<BYTE> bytes;
    {
        CGeoVectorLayer layer;
        FillLayer(layer);
        bytes = objbytes::Store(layer);
    }
    CGeoVectorLayer loaded;
    EXPECT_EQ(objbytes::Load(loaded, bytes), 0u);
    EXPECT_EQ(loaded.GetAttributeDatabase(), nullptr);
    EXPECT_EQ(loaded.GetObjectCount(), 3);
    EXPECT_EQ(::chdir(saved), 0);
    EXPECT_FALSE(Exists(dir + "/.mdb"));
    EXPECT_FALSE(Exists(CString("/.mdb")));
}

TEST(GeoVectorLayerRecord, OlderLayerTypesConvert) {
    // A layer record as this library writes it, then made older: the version float of the object part
    // lowered and the fields that version lacks cut from the tail.
    struct Case {
        float version;
        DWORD storedType;
        int expected;
    } cases[] = {
        {1.38f, 4, 5}, {1.37f, 4, 5}, {1.37f, 2, 2}, {1.37f, 9, 9}, {1.35f, 1, 6}, {1.35f, 4, 1}, {1.30f, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        CGeoVectorLayer layer;
        layer.SetObjectName("L");
        layer.SetLayerType(static_cast<int>(c.storedType));
        layer.GetAttriDispParam().AddCondition(3, "s", "%A%==1");
        std::vector<BYTE> bytes = objbytes::Store(layer);
        const size_t rules = objbytes::Store(layer.GetAttriDispParam()).size();
        const size_t versionAt = 16 + 2 + 4;  // bounds, the name "L", the unit word
        std::memcpy(&bytes[versionAt], &c.version, 4);
        if (c.version < 1.38f) bytes.resize(bytes.size() - rules);
        if (c.version < 1.31f) bytes.resize(bytes.size() - 4);
        CGeoVectorLayer loaded;
        EXPECT_EQ(objbytes::Load(loaded, bytes), 0u);
        EXPECT_EQ(loaded.GetLayerType(), c.expected);
        EXPECT_EQ(loaded.GetAttriDispParam().GetConditionList(3) != nullptr, c.version >= 1.38f);
    }
}

TEST(GeoVectorLayerRecord, CorruptObjectListsRaiseAndLeakNothing) {
    CGeoVectorLayer layer;
    layer.SetObjectName("L");
    Shape(layer, 1);
    Shape(layer, 2);
    std::vector<BYTE> bytes = objbytes::Store(layer);
    for (size_t n = 0; n < bytes.size(); n += 7) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        CGeoVectorLayer loaded;
        EXPECT_THROW(objbytes::Load(loaded, cut), CArchiveException) << "cut at " << n;
    }

    // An object list holding something other than vector objects, or one object twice.
    CGeoVectorLayer empty;
    empty.SetObjectName("L");
    std::vector<BYTE> head = objbytes::Store(empty);
    CMemFile base;
    {
        CArchive ar(&base, CArchive::store);
        empty.CGeoLayer::Serialize(ar);
        ar.Close();
    }
    const size_t listAt = base.Data().size();
    CMemFile wrong;
    {
        CArchive ar(&wrong, CArchive::store);
        CObList list;
        CGeoAccessorialObject notVector;
        list.AddTail(&notVector);
        list.Serialize(ar);
        ar.Close();
    }
    CMemFile twice;
    {
        CArchive ar(&twice, CArchive::store);
        CObList list;
        CTestShape shape;
        list.AddTail(&shape);
        list.AddTail(&shape);
        list.Serialize(ar);
        ar.Close();
    }
    for (CMemFile* list : {&wrong, &twice}) {
        std::vector<BYTE> bad(head.begin(), head.begin() + listAt);
        bad.insert(bad.end(), list->Data().begin(), list->Data().end());
        bad.insert(bad.end(), head.begin() + listAt + 2, head.end());  // the empty list's count
        CGeoVectorLayer loaded;
        EXPECT_THROW(objbytes::Load(loaded, bad), CArchiveException);
        EXPECT_EQ(loaded.GetObjectCount(), 0);
    }
}

// Objects stored with the auto-remove flag 0 have no other owner once loaded: the loading layer frees
// them (LeakSanitizer would report them otherwise), and one taken out of the layer is the taker's.
TEST(GeoVectorLayerObjects, LoadedObjectsWithoutTheAutoRemoveFlagAreFreedByTheLayer) {
    CGeoVectorLayer source;
    Shape(source, 1);
    CTestShape* kept = new CTestShape(CRect(0, 0, 1, 1));
    kept->SetAutoRemoveByLayer(0);
    ASSERT_TRUE(source.Add(kept));
    CTestShape* taken = new CTestShape(CRect(2, 2, 3, 3));
    taken->SetAutoRemoveByLayer(0);
    ASSERT_TRUE(source.Add(taken));
    const std::vector<BYTE> bytes = objbytes::Store(source);
    {
        CGeoVectorLayer back;
        objbytes::Load(back, bytes);
        ASSERT_EQ(back.GetObjectCount(), 3);
        auto* out = static_cast<CGeoVectorObject*>(back.FindObj(3u));
        EXPECT_EQ(out->CanAutoRemoveByLayer(), 0) << "the stored flag is kept";
        ASSERT_TRUE(back.Delete(out, 0));
        delete out;
    }
    source.Delete(kept, 0);
    source.Delete(taken, 0);
    delete kept;
    delete taken;
}
