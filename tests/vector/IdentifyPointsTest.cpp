// Identification points: point lists of polygons, relating and adding label points with and without an
// IP file, the IP file itself and the profile entry.
#include "vector/IdentifyPoints.h"

#include "../support/TempDir.h"
#include "LineTestSupport.h"
#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"
#include "ostrel/CenPos.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygon.h"

#include <afx/WinApp.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

using namespace linetest;

namespace {

// Two squares side by side sharing the arc S, with a hole H in the left one:
//   S (100,0)->(100,100); L (100,100)->(0,100)->(0,0)->(100,0); R (100,0)->(200,0)->(200,100)->(100,100)
//   H (20,20)->(40,20)->(40,40)->(20,40)->(20,20)
// left = {S, L | H |}, right = {R, -S |}.
struct Map {
    CGeoVectorLayer layer{CRect(0, 0, 1000, 1000)};
    CGeoPLine* S = Arc({{100, 0}, {100, 100}}, 7);
    CGeoPLine* L = Arc({{100, 100}, {0, 100}, {0, 0}, {100, 0}}, 7);
    CGeoPLine* R = Arc({{100, 0}, {200, 0}, {200, 100}, {100, 100}}, 8);
    CGeoPLine* H = Arc({{20, 20}, {40, 20}, {40, 40}, {20, 40}, {20, 20}}, 7);
    CGeoPolygon* left = nullptr;
    CGeoPolygon* right = nullptr;

    Map() {
        SetIdentificationPointLayer(&layer);
        left = Polygon({LONG(S->GetID()), LONG(L->GetID()), POLYGON_RING_END, LONG(H->GetID()), POLYGON_RING_END});
        right = Polygon({LONG(R->GetID()), -LONG(S->GetID()), POLYGON_RING_END});
    }
    ~Map() { SetIdentificationPointLayer(nullptr); }

    CGeoPLine* Arc(const Pts& pts, UINT nClass) {
        CGeoPLine* line = MakeLine(pts);
        EXPECT_TRUE(layer.Add(line));
        line->SetObjectClassID(nClass);
        return line;
    }
    CGeoPolygon* Polygon(std::initializer_list<LONG> keys) {
        CGeoPolygon* polygon = new CGeoPolygon;
        EXPECT_TRUE(layer.Add(polygon));
        CGeoKeyString k;
        for (LONG v : keys) k.Add(v);
        polygon->SetKeyString(k);
        return polygon;
    }
    CGeoPoint* Point(int x, int y, UINT nClass = 0) {
        CGeoPoint* point = new CGeoPoint(CPoint(x, y));
        EXPECT_TRUE(layer.Add(point));
        point->SetObjectClassID(nClass);
        return point;
    }
};

std::vector<UINT> ListedIDs(const CGeoPolygon& polygon) {
    CGeoPointList list;
    polygon.GetPointList(list);
    std::vector<UINT> ids;
    for (POSITION p = list.GetHeadPosition(); p;) ids.push_back(list.GetNext(p)->GetID());
    return ids;
}

// Puts the process-wide switches, IP file and table back as a test found them.
struct StateGuard {
    CIdentificationPointRelate saved;
    CString file = GetIdentificationPointFile();
    int immediate = IsInputIPAttributeImmediately();
    StateGuard() { GetIdentificationPointRelate(saved); }
    ~StateGuard() {
        SetIdentificationPointRelate(saved);
        SpacifyIdentificationPointFile("");
        if (!file.IsEmpty()) SpacifyIdentificationPointFile(file);
        InputIPAttributeImmediately(immediate);
    }
};

void Fill(CIPInfoList& list, std::initializer_list<CIPInfo> rows) {
    for (const CIPInfo& row : rows) list.AddTail(new CIPInfo(row));
}

}  // namespace

TEST(IdentifyPoints, WholeLayerListsSkipHolesAndGiveEachPointToTheFirstPolygon) {
    const int savedUseData = GetUseData();
    for (int useData : {1, 0}) {  // ring data borrowed from the cache, or computed and freed
        SCOPED_TRACE(useData);
        SetUseData(useData);
        Map m;
        // A third polygon over the right square: the whole-layer lists give its points to `right` only.
        CGeoPolygon* over = m.Polygon({LONG(m.R->GetID()), -LONG(m.S->GetID()), POLYGON_RING_END});
        CGeoPoint* inHole = m.Point(30, 30);
        CGeoPoint* inLeft = m.Point(70, 70);
        CGeoPoint* inRight = m.Point(150, 50);
        CGeoPoint* outside = m.Point(500, 500);
        CGeoLabelPoint* label = new CGeoLabelPoint(60, 10);
        EXPECT_TRUE(m.layer.Add(label));
        (void)inHole;
        (void)outside;

        ConstructPolygonPointList();
        EXPECT_EQ(ListedIDs(*m.left), (std::vector<UINT>{inLeft->GetID(), label->GetID()}));
        EXPECT_EQ(ListedIDs(*m.right), (std::vector<UINT>{inRight->GetID()}));
        EXPECT_TRUE(ListedIDs(*over).empty());

        // The single-polygon form is not exclusive, and empties the list first.
        ConstructPolygonPointList(over);
        ConstructPolygonPointList(over);
        EXPECT_EQ(ListedIDs(*over), (std::vector<UINT>{inRight->GetID()}));
        EXPECT_EQ(ListedIDs(*m.right), (std::vector<UINT>{inRight->GetID()}));
    }
    SetUseData(savedUseData);
}

TEST(IdentifyPoints, RelateByIPFileFallsBackToAnyPointWhenTheBorderIsMixed) {
    StateGuard guard;
    testsupport::TempDir tmp("corvane-ip");
    testsupport::WriteFileBytes(tmp("codes.txt"), "7 12 0\n");
    ASSERT_EQ(SpacifyIdentificationPointFile(tmp("codes.txt").c_str()), 1);
    Map m;
    m.Point(60, 60, 5);
    CGeoPoint* wanted = m.Point(70, 70, 12);
    m.Point(80, 80, 12);
    CGeoPoint* first = m.Point(150, 50, 3);
    const UINT wantedID = wanted->GetID(), firstID = first->GetID();
    ConstructPolygonPointList();

    CIdentificationPointRelate sw;  // defaults: relate by file then any point; add by file
    SetIdentificationPointRelate(sw);
    IdentificationPointRelate();

    // Left: all arcs class 7, row 7 -> class 12: the first class-12 point, now a label point.
    CGeoLabelPoint* leftLabel = m.left->GetLabelPoint();
    ASSERT_NE(leftLabel, nullptr);
    EXPECT_EQ(leftLabel->GetID(), wantedID);
    EXPECT_EQ(leftLabel->GetPolygonID(), m.left->GetID());
    EXPECT_EQ(leftLabel->GetObjectClassID(), 12u);
    // Right: arcs 8 and 7 disagree, so the file gives nothing and the first listed point is taken.
    ASSERT_NE(m.right->GetLabelPoint(), nullptr);
    EXPECT_EQ(m.right->GetLabelPoint()->GetID(), firstID);
    // Both labelled: a second run changes nothing.
    const int count = m.layer.GetObjectCount();
    IdentificationPointRelate();
    EXPECT_EQ(m.layer.GetObjectCount(), count);
    EXPECT_EQ(m.left->GetLabelPoint()->GetID(), wantedID);
}

TEST(IdentifyPoints, RelateByIPFileAloneFailsWithoutAMatch) {
    StateGuard guard;
    testsupport::TempDir tmp("corvane-ip");
    Map m;
    m.Point(70, 70, 5);
    ConstructPolygonPointList();
    CIdentificationPointRelate relate;
    relate.SetLayer(&m.layer);
    // No current IP file: the file variants fail, nothing is linked.
    ASSERT_EQ(SpacifyIdentificationPointFile(""), 1);
    EXPECT_EQ(relate.AutoRelateNeedIPFile(m.left), 0);
    EXPECT_EQ(relate.AutoAddNeedIPFile(m.left), 0);
    // A row for the code but no point of its class.
    testsupport::WriteFileBytes(tmp("codes.txt"), "7 12 0\n");
    ASSERT_EQ(SpacifyIdentificationPointFile(tmp("codes.txt").c_str()), 1);
    EXPECT_EQ(relate.AutoRelateNeedIPFile(m.left), 0);
    EXPECT_EQ(m.left->GetLabelPointID(), 0u);
    // Switches that enable no mode: nothing happens.
    relate.SetNeedIPFile(0);
    relate.SetNoCondition(0);
    relate.SetAutoAdd(0);
    relate.RelateIdentificationPoint();
    EXPECT_EQ(m.left->GetLabelPointID(), 0u);
}

TEST(IdentifyPoints, AddPutsANewLabelPointInsideTheAreaOutsideItsHole) {
    StateGuard guard;
    Map m;
    m.left->SetUnit(2);
    CIdentificationPointRelate relate;
    relate.SetLayer(&m.layer);
    ASSERT_EQ(relate.AutoAddNoCondition(m.left, 4), 1);
    CGeoLabelPoint* label = m.left->GetLabelPoint();
    ASSERT_NE(label, nullptr);
    const CPoint at = label->GetPoint();
    EXPECT_TRUE(at.x > 0 && at.x < 100 && at.y > 0 && at.y < 100) << at.x << "," << at.y;
    EXPECT_FALSE(at.x >= 20 && at.x <= 40 && at.y >= 20 && at.y <= 40) << at.x << "," << at.y;
    EXPECT_EQ(label->GetObjectClassID(), 4u);
    EXPECT_EQ(label->GetPolygonID(), m.left->GetID());
    EXPECT_EQ(label->GetUnit(), 2);
    const GEOVIEW view = label->GetGeoView();
    EXPECT_EQ(view.m_nFillShape, GetDefaultPolygonFillShape());
    EXPECT_EQ(view.m_crFillColor, GetDefaultPolygonFillColor());
    EXPECT_EQ(view.m_nLineShape, GetDefaultPolygonBorderLineShape());
    EXPECT_EQ(view.m_crLineColor, GetDefaultPolygonBorderLineColor());
    EXPECT_EQ(view.m_bTransparent, IsDefaultPolygonTransparent());
    EXPECT_EQ(ListedIDs(*m.left), (std::vector<UINT>{label->GetID()}));
    // Already labelled.
    EXPECT_EQ(relate.AutoAddNoCondition(m.left, 4), 0);

    // An area with no inside (a flat ring) finds no position: failure, and nothing is added.
    CGeoPLine* flat = m.Arc({{300, 10}, {400, 10}, {300, 10}}, 0);
    CGeoPolygon* empty = m.Polygon({LONG(flat->GetID()), POLYGON_RING_END});
    const int count = m.layer.GetObjectCount();
    EXPECT_EQ(relate.AutoAddNoCondition(empty, 0), 0);
    EXPECT_EQ(m.layer.GetObjectCount(), count);
    EXPECT_EQ(empty->GetLabelPointID(), 0u);
}

TEST(IdentifyPoints, AddByIPFileTakesTheRowClass) {
    StateGuard guard;
    testsupport::TempDir tmp("corvane-ip");
    testsupport::WriteFileBytes(tmp("codes.txt"), "8 30 1\n7 21 2\n7 99 3\n");
    ASSERT_EQ(SpacifyIdentificationPointFile(tmp("codes.txt").c_str()), 1);
    Map m;
    CIdentificationPointRelate sw;
    sw.SetAutoRelate(0);
    SetIdentificationPointRelate(sw);
    IdentificationPointRelate();
    ASSERT_NE(m.left->GetLabelPoint(), nullptr);
    EXPECT_EQ(m.left->GetLabelPoint()->GetObjectClassID(), 21u);
    // Mixed border and AutoAddNoCondition off by default: the right square stays unlabelled.
    EXPECT_EQ(m.right->GetLabelPointID(), 0u);
    sw.SetAutoAddNoCondition(1);
    SetIdentificationPointRelate(sw);
    IdentificationPointRelate();
    ASSERT_NE(m.right->GetLabelPoint(), nullptr);
    EXPECT_EQ(m.right->GetLabelPoint()->GetObjectClassID(), 0u);
}

TEST(IdentifyPoints, APointListedByTwoPolygonsStaysValidAfterItIsReplaced) {
    Map m;
    CGeoPolygon* over = m.Polygon({LONG(m.R->GetID()), -LONG(m.S->GetID()), POLYGON_RING_END});
    CGeoPoint* shared = m.Point(150, 50);
    const UINT id = shared->GetID();
    ConstructPolygonPointList(m.right);
    ConstructPolygonPointList(over);
    ASSERT_EQ(AtuoRelateNoCondition(m.right), 1);  // deletes `shared`, puts a label point in its place
    CGeoPointList list;
    over->GetPointList(list);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetHead(), m.layer.FindObj(id));
    EXPECT_EQ(AtuoRelateNoCondition(over), 1);  // reads the listed point: must not touch freed memory
}

TEST(IdentifyPoints, IPFileRowsAreWrittenTabbedAndReadUntilTheFirstBadRow) {
    testsupport::TempDir tmp("corvane-ip");
    CIPInfoList rows;
    Fill(rows, {CIPInfo(7, 12, 0), CIPInfo(8, 30, -1)});
    ASSERT_EQ(SaveIdentificationPointFile(tmp("a.txt").c_str(), rows), 1);
    EXPECT_EQ(testsupport::ReadFileBytes(tmp("a.txt")), "7\t12\t0\n8\t30\t-1\n");
    CIPInfoList back;
    Fill(back, {CIPInfo(1, 1, 1)});
    ASSERT_EQ(LoadIdentificationPointFile(tmp("a.txt").c_str(), back), 1);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetIPInfo(8)->m_nClassID, 30u);
    EXPECT_EQ(back.GetIPInfo(8)->m_nType, -1);
    EXPECT_EQ(back.GetIPInfo(1), nullptr);

    CIPInfoList none;
    ASSERT_EQ(SaveIdentificationPointFile(tmp("empty.txt").c_str(), none), 1);
    EXPECT_EQ(testsupport::ReadFileBytes(tmp("empty.txt")), "");
    EXPECT_EQ(SaveIdentificationPointFile(tmp("no/such/dir.txt").c_str(), rows), 0);
    // A read-only file is left as it was.
    std::filesystem::permissions(tmp("empty.txt"), std::filesystem::perms::owner_read);
    EXPECT_EQ(SaveIdentificationPointFile(tmp("empty.txt").c_str(), rows), 0);
    EXPECT_EQ(testsupport::ReadFileBytes(tmp("empty.txt")), "");

    struct Case {
        const char* text;
        int result;
        int rows;
    } cases[] = {
        {"1 2 3\n4 x 6\n7 8 9\n", 1, 1},  // stops at the bad row, keeps the row before
        {"1 2\n", 0, 0},
        {"junk\n", 0, 0},
        {"", 0, 0},
        {"1 2 3 4 5 6", 1, 2},  // white space of any kind separates
    };
    for (const Case& c : cases) {
        testsupport::WriteFileBytes(tmp("b.txt"), c.text);
        CIPInfoList list;
    Fill(list, {CIPInfo(1, 1, 1)});
        EXPECT_EQ(LoadIdentificationPointFile(tmp("b.txt").c_str(), list), c.result) << c.text;
        EXPECT_EQ(list.GetCount(), c.rows) << c.text;
    }
    // A missing file or an empty path: 0 and the list untouched.
    CIPInfoList kept;
    Fill(kept, {CIPInfo(1, 1, 1)});
    EXPECT_EQ(LoadIdentificationPointFile(tmp("missing.txt").c_str(), kept), 0);
    EXPECT_EQ(LoadIdentificationPointFile("", kept), 0);
    EXPECT_EQ(kept.GetCount(), 1);
}

TEST(IdentifyPoints, CurrentFileAndTable) {
    StateGuard guard;
    testsupport::TempDir tmp("corvane-ip");
    testsupport::WriteFileBytes(tmp("a.txt"), "7 12 5\n7 13 6\n");
    ASSERT_EQ(SpacifyIdentificationPointFile(tmp("a.txt").c_str()), 1);
    EXPECT_EQ(std::string(GetIdentificationPointFile()), tmp("a.txt"));
    UINT cls = 0;
    int type = 0;
    ASSERT_EQ(GetIdentificationPointCode(7, cls, type), 1);
    EXPECT_EQ(cls, 12u);
    EXPECT_EQ(type, 5);
    EXPECT_EQ(GetIdentificationPointCode(8, cls, type), 0);
    // A failing file keeps the path and the table.
    EXPECT_EQ(SpacifyIdentificationPointFile(tmp("missing.txt").c_str()), 0);
    EXPECT_EQ(std::string(GetIdentificationPointFile()), tmp("a.txt"));
    EXPECT_EQ(GetIdentificationPointCode(7, cls, type), 1);
    // A table set by the host is a copy.
    {
        CIPInfoList mine;
    Fill(mine, {CIPInfo(3, 4, 9)});
        SetIdentificationPointCode(mine);
    }
    ASSERT_EQ(GetIdentificationPointCode(3, cls, type), 1);
    EXPECT_EQ(type, 9);
    // An empty path clears both.
    EXPECT_EQ(SpacifyIdentificationPointFile(""), 1);
    EXPECT_TRUE(GetIdentificationPointFile().IsEmpty());
    EXPECT_EQ(GetIdentificationPointCode(3, cls, type), 0);

    CIdentificationPointRelate a, b;
    a.SetNoCondition(0);
    a.SetConstructByLabPoint(0);
    a.SetLayer(reinterpret_cast<CGeoVectorLayer*>(&a));
    b = a;
    EXPECT_EQ(b.GetNoCondition(), 0);
    EXPECT_EQ(b.GetConstructByLabPoint(), 0);
    EXPECT_EQ(b.GetLayer(), nullptr);
}

TEST(IdentifyPoints, ProfileEntryHoldsFlagAndWholePath) {
    StateGuard guard;
    testsupport::TempDir tmp("corvane-ip");
    CWinApp app("test");
    const std::string path = tmp("with blank.txt");
    testsupport::WriteFileBytes(path, "7 12 0\n");

    app.WriteProfileString("Settings", "IPInfo", ("0:" + path).c_str());
    LoadIdentificationPointInfo();
    EXPECT_EQ(IsInputIPAttributeImmediately(), 0);
    EXPECT_EQ(std::string(GetIdentificationPointFile()), path);
    UINT cls = 0;
    int type = 0;
    EXPECT_EQ(GetIdentificationPointCode(7, cls, type), 1);

    // Over-long paths and values that are not "<number>:" are refused; the state stays.
    const std::string values[] = {"1:" + std::string(256, 'a'), "x:/tmp/a", "/tmp/a"};
    for (const std::string& v : values) {
        app.WriteProfileString("Settings", "IPInfo", v.c_str());
        LoadIdentificationPointInfo();
        EXPECT_EQ(IsInputIPAttributeImmediately(), 0) << v;
        EXPECT_EQ(std::string(GetIdentificationPointFile()), path) << v;
    }

    InputIPAttributeImmediately(1);
    SaveIdentificationPointInfo();
    EXPECT_EQ(std::string(app.GetProfileString("Settings", "IPInfo")), "1:" + path);
}

TEST(IdentifyPoints, FindCenPosRefusesBadInput) {
    const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    int sizes[] = {5};
    POINT out{-1, -1};
    ASSERT_EQ(FindCenPos(square, sizes, 1, out, 1.0), 1);
    EXPECT_TRUE(out.x > 0 && out.x < 10 && out.y > 0 && out.y < 10);
    EXPECT_EQ(FindCenPos(square, sizes, 0, out, 1.0), 0);
    EXPECT_EQ(FindCenPos(nullptr, sizes, 1, out, 1.0), 0);
    int negative[] = {-5};
    EXPECT_EQ(FindCenPos(square, negative, 1, out, 1.0), 0);
    EXPECT_EQ(FindCenPos(square, sizes, 1, out, 50.0), 0);  // no stretch that wide
}

// A whole run over polygons that list the same points (three polygons over one square) relates, and
// re-points the other lists, exactly as relating each polygon on its own in layer order does.
TEST(IdentifyPoints, AWholeRunAnswersAsRelatingEachPolygonInTurn) {
    StateGuard state;
    struct Outcome {
        std::vector<UINT> labels;
        std::vector<std::vector<UINT>> lists;
        bool operator==(const Outcome& o) const { return labels == o.labels && lists == o.lists; }
    };
    auto run = [](bool wholeRun) {
        Map m;
        std::vector<CGeoPolygon*> polygons = {m.left, m.right};
        for (int i = 0; i < 2; ++i)
            polygons.push_back(m.Polygon({LONG(m.R->GetID()), -LONG(m.S->GetID()), POLYGON_RING_END}));
        for (int i = 0; i < 3; ++i) m.Point(150 + 10 * i, 50);
        m.Point(60, 60);
        // Built polygon by polygon, the lists share the square's points (a whole-layer build would
        // give each point to one polygon).
        for (CGeoPolygon* polygon : polygons) ConstructPolygonPointList(polygon);
        for (size_t i = 1; i < polygons.size(); ++i) EXPECT_EQ(ListedIDs(*polygons[i]).size(), 3u);
        if (wholeRun) {
            CIdentificationPointRelate relate;
            relate.SetLayer(&m.layer);
            relate.SetAutoAdd(0);
            relate.SetNeedIPFile(0);
            relate.SetNoCondition(1);
            relate.RelateIdentificationPoint();
        } else {
            for (CGeoPolygon* polygon : polygons) AtuoRelateNoCondition(polygon);
        }
        Outcome out;
        for (CGeoPolygon* polygon : polygons) {
            CGeoLabelPoint* label = polygon->GetLabelPoint();
            out.labels.push_back(label ? label->GetID() : 0);
            out.lists.push_back(ListedIDs(*polygon));
            for (UINT id : out.lists.back()) EXPECT_NE(m.layer.FindObj(id), nullptr) << "a listed point is gone";
        }
        return out;
    };
    const Outcome whole = run(true), inTurn = run(false);
    EXPECT_TRUE(whole == inTurn);
}
