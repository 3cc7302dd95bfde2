// Maps and layer files: the layer list, the ".LYR" rules, failures reported or raised, and the map
// record with its marker path.
#include "core/GeoMap.h"

#include "core/GeoLayer.h"
#include "core/GeoVectorLayer.h"
#include "tests/core/TestShape.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <win32/codepage.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A GBK file path in a fresh folder.
class TempDir {
public:
    CString operator()(const char* gbkName) const { return CString(m_dir(gbkName).c_str()); }

private:
    testsupport::TempDir m_dir{"corvane-map"};
};

bool Exists(const CString& path) {
    struct stat st;
    return ::stat(win32::GbkPathToNative(path.str()).c_str(), &st) == 0;
}

std::string Slurp(const CString& path) { return testsupport::ReadFileBytes(win32::GbkPathToNative(path.str())); }

void WriteBytes(const CString& path, const std::string& bytes) {
    testsupport::WriteFileBytes(win32::GbkPathToNative(path.str()), bytes);
}

// Answers the save dialog with a path, or cancels it; every message box takes its default.
class ScriptedUser : public CUserDriver {
public:
    CString path;
    std::vector<CString> titles;
    int OnMessageBox(const CString&, UINT, UINT) override { return IDOK; }
    int OnFileDialog(CFileDialog& dlg, CString& rPath) override {
        titles.push_back(dlg.GetTitle());
        if (path.IsEmpty()) return IDCANCEL;
        rPath = path;
        return IDOK;
    }
};

struct DriverScope {
    explicit DriverScope(CUserDriver* d) {
        AfxSetUserDriver(d);
        AfxClearMessageLog();
    }
    ~DriverScope() { AfxSetUserDriver(nullptr); }
};

// A layer whose record fails halfway, to show a failed save keeps the old file.
class CThrowingTestLayer : public CGeoLayer {
    DECLARE_SERIAL(CThrowingTestLayer)
public:
    void Serialize(CArchive& ar) override {
        CGeoLayer::Serialize(ar);
        if (ar.IsStoring()) AfxThrowArchiveException(CArchiveException::genericException);
    }
};
IMPLEMENT_SERIAL(CThrowingTestLayer, CGeoLayer, 0)

CGeoVectorLayer* VectorLayerWithBoxes(const char* name, int n) {
    auto* layer = new CGeoVectorLayer(CRect(0, 0, 1000, 1000));
    layer->SetObjectName(name);
    for (int i = 0; i < n; ++i) layer->Add(new CTestShape(CRect(10 * i, 10 * i, 10 * i + 5, 10 * i + 5)));
    return layer;
}

std::vector<CString> Names(const CGeoMap& map) {
    std::vector<CString> names;
    for (int i = 0; i < map.GetLayerCount(); ++i) names.push_back(map.FindLayer(i)->GetObjectName());
    return names;
}

// A map of layers named A, B, C... from the head.
void Fill(CGeoMap& map, const char* names) {
    for (const char* p = names; *p; ++p) {
        auto* layer = new CGeoLayer;
        layer->SetObjectName(CString(*p));
        map.AddLayer(layer, -1);
    }
}

}  // namespace

TEST(GeoMap, FirstMapOfAProcessIsNamedOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, whatever ran before
    auto firstTwoMaps = [] {
        CGeoMap a;
        CGeoMap b;
        std::exit(a.GetObjectName() == "图 1" && b.GetObjectName() == "图 2" ? 0 : 1);
    };
    EXPECT_EXIT(firstTwoMaps(), ::testing::ExitedWithCode(0), "");
}

TEST(GeoMap, AddLayerPositions) {
    struct Case { int position; int result; const char* order; };
    const Case cases[] = {
        {-2, 1, "XABCDE"}, {-1, 1, "ABCDEX"}, {0, 1, "AXBCDE"}, {4, 1, "ABCDEX"},
        {5, 0, "ABCDE"},   {-3, 0, "ABCDE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        CGeoMap map;
        Fill(map, "ABCDE");
        auto* x = new CGeoLayer;
        x->SetObjectName("X");
        EXPECT_EQ(map.AddLayer(x, c.position), c.result);
        if (!c.result) delete x;
        std::string order;
        for (const CString& n : Names(map)) order += n.str();
        EXPECT_EQ(order, c.order);
    }
    CGeoMap map;
    Fill(map, "A");
    EXPECT_EQ(map.AddLayer(map.FindLayer(0), -1), 0);  // already in the map
    EXPECT_EQ(map.AddLayer(nullptr, -1), 0);
}

TEST(GeoMap, MoveLayerAndRefusals) {
    struct Case { int index; int how; int result; const char* order; };
    const Case cases[] = {
        {0, 1, 0, "ABCD"}, {0, 3, 0, "ABCD"}, {3, 0, 0, "ABCD"}, {3, 2, 0, "ABCD"}, {1, 7, 0, "ABCD"},
        {1, -1, 0, "ABCD"}, {1, 1, 1, "BACD"}, {1, 0, 1, "ACBD"}, {1, 2, 1, "ACDB"}, {2, 3, 1, "CABD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << "/" << c.how);
        CGeoMap map;
        Fill(map, "ABCD");
        EXPECT_EQ(map.MoveLayer(map.FindLayer(c.index), c.how), c.result);
        std::string order;
        for (const CString& n : Names(map)) order += n.str();
        EXPECT_EQ(order, c.order);
    }
    CGeoMap map;
    CGeoLayer stranger;
    EXPECT_EQ(map.MoveLayer(&stranger, 0), 0);
    EXPECT_EQ(map.DelLayer(&stranger), 0);
}

TEST(GeoMap, FindLayerByIndexNameAndPointer) {
    CGeoMap map;
    Fill(map, "aAb");
    EXPECT_EQ(map.FindLayer(CString("A")), map.FindLayer(1));
    EXPECT_EQ(map.FindLayer(CString("B")), nullptr);
    EXPECT_EQ(map.FindLayer(-1), nullptr);
    EXPECT_EQ(map.FindLayer(3), nullptr);
    EXPECT_EQ(map.FindLayer(map.FindLayer(2)), 2);
    EXPECT_EQ(map.DelLayer(map.FindLayer(0)), 1);
    EXPECT_EQ(map.GetLayerCount(), 2);
    map.ClearMap();
    EXPECT_EQ(map.GetLayerCount(), 0);
}

TEST(GeoMap, SaveLayerAppendsLyrUnlessPresent) {
    TempDir dir;
    struct Case { const char* given; const char* saved; };
    const Case cases[] = {
        {"roads", "roads.LYR"}, {"roads.lyr", "roads.lyr"}, {"roads.LyR", "roads.LyR"},
        {"图层.LYR", "图层.LYR"}, {"abc", "abc.LYR"}, {"x.LYR.txt", "x.LYR.txt.LYR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        CGeoMap map;
        CGeoLayer* layer = VectorLayerWithBoxes("L", 1);
        map.AddLayer(layer, -1);
        EXPECT_EQ(map.SaveLayer(layer, dir(c.given)), 1);
        EXPECT_EQ(layer->GetFileName(), dir(c.saved));
        EXPECT_TRUE(Exists(dir(c.saved)));
    }
    // A path of four characters or fewer always gets the suffix, even ".LYR" itself.
    CGeoMap map;
    CGeoLayer* layer = VectorLayerWithBoxes("L", 0);
    map.AddLayer(layer, -1);
    TempDir cwd;
    std::string old = std::getenv("PWD") ? std::getenv("PWD") : ".";
    ASSERT_EQ(chdir(win32::GbkPathToNative(cwd("").str()).c_str()), 0);
    EXPECT_EQ(map.SaveLayer(layer, ".LYR"), 1);
    EXPECT_EQ(layer->GetFileName(), ".LYR.LYR");
    ASSERT_EQ(chdir(old.c_str()), 0);
}

TEST(GeoMap, SaveLayerAsksWhenThereIsNoPath) {
    TempDir dir;
    ScriptedUser user;
    DriverScope scope(&user);
    CGeoMap map;
    CGeoLayer* layer = VectorLayerWithBoxes("图层甲", 1);
    map.AddLayer(layer, -1);
    EXPECT_EQ(map.SaveLayer(layer, ""), 0);  // cancelled
    ASSERT_EQ(user.titles.size(), 1u);
    EXPECT_EQ(user.titles[0], "保存图层");
    user.path = dir("chosen");
    EXPECT_EQ(map.SaveLayer(layer, ""), 1);
    EXPECT_EQ(layer->GetFileName(), dir("chosen.LYR"));
    EXPECT_EQ(map.SaveLayer(layer, ""), 1);  // the layer's own file name now, no dialog
    EXPECT_EQ(user.titles.size(), 2u);
}

TEST(GeoMap, UnopenablePathsAreReported) {
    TempDir dir;
    ScriptedUser user;
    DriverScope scope(&user);
    CGeoMap map;
    CGeoLayer* layer = VectorLayerWithBoxes("L", 1);
    map.AddLayer(layer, -1);
    EXPECT_EQ(map.SaveLayer(layer, dir("no/such/folder/a")), 0);
    EXPECT_EQ(map.LoadLayer(dir("missing.LYR")), nullptr);
    ASSERT_EQ(AfxGetMessageLog().size(), 2u);
    EXPECT_EQ(AfxGetMessageLog()[0].nIDHelp, 0xF100u);
    EXPECT_EQ(AfxGetMessageLog()[1].nIDHelp, 0xF101u);
    EXPECT_EQ(layer->GetFileName(), "");
}

TEST(GeoMap, EmptyFilesAndUnknownClassesLoadAsNothingSilently) {
    TempDir dir;
    DriverScope scope(nullptr);
    CGeoMap map;
    WriteBytes(dir("empty.LYR"), "");
    EXPECT_EQ(map.LoadLayer(dir("empty.LYR")), nullptr);
    auto* plain = new CGeoLayer;  // a layer class a layer file may not name
    map.AddLayer(plain, -1);
    ASSERT_EQ(map.SaveLayer(plain, dir("plain")), 1);
    EXPECT_EQ(map.LoadLayer(dir("plain.LYR")), nullptr);
    // A layer class a file may name but this process does not hold loads as nothing too.
    for (const char* name : {"CGeoImageLayer", "CGeoDEMLayer"}) {
        if (CRuntimeClass::FromName(name)) continue;
        WriteBytes(dir("missing.LYR"), std::string(1, static_cast<char>(std::strlen(name))) + name);
        EXPECT_EQ(map.LoadLayer(dir("missing.LYR")), nullptr) << name;
    }
    EXPECT_TRUE(AfxGetMessageLog().empty());
}

TEST(GeoMap, LayerFileRoundTripAndTruncation) {
    TempDir dir;
    CGeoMap map;
    CGeoVectorLayer* layer = VectorLayerWithBoxes("道路", 3);
    map.AddLayer(layer, -1);
    ASSERT_EQ(map.SaveLayer(layer, dir("roads")), 1);
    std::string bytes = Slurp(dir("roads.LYR"));
    ASSERT_EQ(bytes.substr(0, 16), std::string("\x0F") + "CGeoVectorLayer");

    CGeoLayer* back = map.LoadLayer(dir("roads.LYR"));
    ASSERT_NE(back, nullptr);
    ASSERT_TRUE(back->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)));
    EXPECT_EQ(back->GetObjectName(), "道路");
    EXPECT_EQ(back->GetFileName(), dir("roads.LYR"));
    EXPECT_EQ(static_cast<CGeoVectorLayer*>(back)->GetObjectCount(), 3);
    delete back;

    // Every cut of the layer record reaches the caller as an archive exception; the half-read layer is
    // freed (the leak checker sees nothing) and the file is released.
    for (size_t cut = 17; cut < bytes.size(); cut += 7) {
        SCOPED_TRACE(cut);
        WriteBytes(dir("cut.LYR"), bytes.substr(0, cut));
        EXPECT_THROW(map.LoadLayer(dir("cut.LYR")), CArchiveException);
    }
}

TEST(GeoMap, FailedSaveKeepsTheOldLayerFile) {
    TempDir dir;
    CGeoMap map;
    auto* layer = new CThrowingTestLayer;
    map.AddLayer(layer, -1);
    WriteBytes(dir("keep.LYR"), "previous");
    EXPECT_THROW(map.SaveLayer(layer, dir("keep.LYR")), CArchiveException);
    EXPECT_EQ(Slurp(dir("keep.LYR")), "previous");
    EXPECT_EQ(layer->GetFileName(), "");
}

TEST(GeoMap, MapRecordWithMarkerPathAppendsOnLoad) {
    TempDir dir;
    ScriptedUser user;  // cancels the dialog asked for the layer that has no file name
    DriverScope scope(&user);
    CMemFile record;
    {
        CGeoMap map;
        CGeoVectorLayer* a = VectorLayerWithBoxes("A", 1);
        CGeoVectorLayer* b = VectorLayerWithBoxes("B", 2);
        CGeoVectorLayer* c = VectorLayerWithBoxes("C", 3);
        map.AddLayer(a, -1);
        map.AddLayer(b, -1);
        map.AddLayer(c, -1);
        a->SetFileName(dir("a.LYR"));
        c->SetFileName(dir("c.LYR"));
        CArchive ar(&record, CArchive::store);
        map.Serialize(ar);
        ar.Close();
    }
    // After the object part: count 3, the paths of a and c, and the marker for b.
    std::string bytes(record.Data().begin(), record.Data().end());
    CString markerInRecord = CString("\x03") + "\\\\\\";
    EXPECT_NE(bytes.find(markerInRecord.str()), std::string::npos);

    CGeoMap loaded;
    Fill(loaded, "X");
    record.SeekToBegin();
    CArchive ar(&record, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(Names(loaded), (std::vector<CString>{"X", "A", "C"}));
    EXPECT_EQ(loaded.FindLayer(2)->GetFileName(), dir("c.LYR"));
}

TEST(GeoMap, LayerLeftOutForWantOfADriverIsLogged) {
    TempDir dir;
    DriverScope scope(nullptr);
    AfxClearMessageLog();
    CGeoMap map;
    CGeoVectorLayer* named = VectorLayerWithBoxes("A", 1);
    map.AddLayer(named, -1);
    map.AddLayer(VectorLayerWithBoxes("无名", 2), -1);
    named->SetFileName(dir("a.LYR"));
    CMemFile record;
    CArchive ar(&record, CArchive::store);
    map.Serialize(ar);
    ar.Close();
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_TRUE(AfxGetMessageLog()[0].bFileDialog);
    EXPECT_EQ(AfxGetMessageLog()[0].text, "保存图层 无名");
}

TEST(GeoMap, LayersThatCannotBeSavedKeepTheirFilesInTheMapAndAreNamed) {
    TempDir dir;
    DriverScope scope(nullptr);
    CMemFile record;
    {
        CGeoMap map;
        CGeoVectorLayer* a = VectorLayerWithBoxes("A", 1);
        CGeoVectorLayer* b = VectorLayerWithBoxes("B", 2);
        auto* c = new CThrowingTestLayer;
        c->SetObjectName("C");
        map.AddLayer(a, -1);
        map.AddLayer(b, -1);
        map.AddLayer(c, -1);
        a->SetFileName(dir("a.LYR"));
        ASSERT_EQ(map.SaveLayer(b, dir("b.LYR")), 1);
        // A layer file marked read-only is not replaced, though its folder would allow it.
        ASSERT_EQ(::chmod(win32::GbkPathToNative(dir("b.LYR").str()).c_str(), 0444), 0);
        const std::string before = Slurp(dir("b.LYR"));
        b->Add(new CTestShape(CRect(500, 500, 510, 510)));
        c->SetFileName(dir("c.LYR"));
        WriteBytes(dir("c.LYR"), "previous");
        AfxClearMessageLog();
        CArchive ar(&record, CArchive::store);
        map.Serialize(ar);
        ar.Close();
        EXPECT_EQ(Slurp(dir("b.LYR")), before);
        EXPECT_EQ(Slurp(dir("c.LYR")), "previous");
        const auto& log = AfxGetMessageLog();
        ASSERT_EQ(log.size(), 3u);
        EXPECT_EQ(log[0].text, dir("b.LYR") + ": 拒绝访问。");
        EXPECT_EQ(log[1].text, "图层未保存: B (" + dir("b.LYR") + ")");
        EXPECT_EQ(log[2].text.Left(log[2].text.Find('\n')), "图层未保存: C (" + dir("c.LYR") + ")");
    }
    // The record still names b.LYR, which loads as the layer's last save; c.LYR cannot be read and is
    // named, and the map goes on without it.
    AfxClearMessageLog();
    CGeoMap loaded;
    record.SeekToBegin();
    CArchive ar(&record, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(Names(loaded), (std::vector<CString>{"A", "B"}));
    EXPECT_EQ(static_cast<CGeoVectorLayer*>(loaded.FindLayer(1))->GetObjectCount(), 2);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].text.Left(AfxGetMessageLog()[0].text.Find('\n')), "图层文件无法读取: " + dir("c.LYR"));
    ::chmod(win32::GbkPathToNative(dir("b.LYR").str()).c_str(), 0644);
}

TEST(GeoMap, LoadingGoesOnPastEveryLayerFileThatCannotBeRead) {
    TempDir dir;
    DriverScope scope(nullptr);
    CMemFile record;
    const char* files[] = {"empty.LYR", "cut.LYR", "missing.LYR", "good.LYR"};
    {
        CGeoMap map;
        for (const char* file : files) {
            CGeoVectorLayer* layer = VectorLayerWithBoxes(file, 3);
            layer->SetFileName(dir(file));
            map.AddLayer(layer, -1);
        }
        CArchive ar(&record, CArchive::store);
        map.Serialize(ar);
        ar.Close();
    }
    WriteBytes(dir("empty.LYR"), "");
    const std::string whole = Slurp(dir("cut.LYR"));
    WriteBytes(dir("cut.LYR"), whole.substr(0, whole.size() / 2));
    ASSERT_EQ(std::remove(win32::GbkPathToNative(dir("missing.LYR").str()).c_str()), 0);

    AfxClearMessageLog();
    CGeoMap loaded;
    record.SeekToBegin();
    CArchive ar(&record, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(Names(loaded), (std::vector<CString>{"good.LYR"}));
    const auto& log = AfxGetMessageLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].text, "图层文件无法读取: " + dir("empty.LYR"));
    EXPECT_EQ(log[1].text.Left(log[1].text.Find('\n')), "图层文件无法读取: " + dir("cut.LYR"));
    EXPECT_EQ(log[2].text, dir("missing.LYR") + ": 找不到文件。");
}
