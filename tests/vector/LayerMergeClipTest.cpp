// Layer merge and clip: the common origin, carrying classes, fields and records, the clip-polygon
// conversion, the cut pieces and their identity, and the refusals.
#include "vector/LayerMergeClip.h"

#include "LineTestSupport.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoCircle.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygonLine.h"

#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <memory>
#include <vector>

using namespace linetest;

namespace {

CDaoFieldInfo Field(const char* name, short type, LONG size = 0) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

// Common field CODE (long); class 1 with NAME (text 20).
void SetUpTheme(CGeoVectorLayer& layer) {
    layer.m_Theme.AddField(Field("CODE", dbLong), -2);
    CGeoGClass gc;
    gc.SetGCID(1);
    gc.AddField(Field("NAME", dbText, 20), -2);
    layer.m_Theme.AddGC(gc, -2);
}

template <class T>
T* Put(CGeoVectorLayer& layer, T* obj, UINT gc = 1) {
    obj->SetObjectClassID(gc);
    EXPECT_TRUE(layer.Add(obj));
    return obj;
}

void Record(CGeoVectorLayer& layer, CGeoVectorObject* obj, LONG code, const char* name) {
    CGeoValueList values;
    COleVariant number(code);
    values.AddTail(number);
    COleVariant text(name);
    values.AddTail(text);
    ASSERT_TRUE(layer.SetAttribute(obj, &values));
}

std::vector<COleVariant> RecordOf(CGeoVectorLayer& layer, CGeoVectorObject* obj) {
    CGeoValueList values;
    layer.GetAttribute(obj, &values);
    std::vector<COleVariant> out;
    for (POSITION p = values.GetHeadPosition(); p;) out.push_back(values.GetNext(p));
    return out;
}

std::vector<CGeoVectorObject*> Objects(CGeoVectorLayer& layer) {
    std::vector<CGeoVectorObject*> out;
    for (POSITION p = layer.m_ObjList.GetHeadPosition(); p;)
        out.push_back(dynamic_cast<CGeoVectorObject*>(layer.m_ObjList.GetNext(p)));
    return out;
}

double Length(const CGeoVectorObject* obj) {
    double s = 0;
    for (int i = 0; i + 1 < obj->GetPoints(); ++i) {
        POINT a = obj->GetPoint(i), b = obj->GetPoint(i + 1);
        s += std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
    }
    return s;
}

// The clip polygon for a target whose millimetre bounds have right edge 0 and top 0, origin 0: a
// layer coordinate X is given as X * 1000.
std::vector<DPoint> Square(double l, double b, double r, double t) {
    return {{l * 1000, b * 1000}, {r * 1000, b * 1000}, {r * 1000, t * 1000}, {l * 1000, t * 1000}, {l * 1000, b * 1000}};
}

class MainWindow : public CWnd {
public:
    std::vector<WPARAM> progress;
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM) override {
        if (m == WM_GEO_PROGRESS_STEP) progress.push_back(w);
        return 0;
    }
};

}  // namespace

TEST(LayerMergeClip, ClipPolygonFormulaStaysAsWritten) {
    struct Case {
        double x, y, ox, oy;
        CRect bounds;
        POINT want;
    } cases[] = {
        {12345.0, 999.4, 0, 0, CRect(0, 0, 0, 0), {12, 0}},
        {-1600.0, -400.0, 0, 0, CRect(0, 0, 0, 0), {-1, 0}},  // toward zero
        {5000.0, 7000.0, 2, 3, CRect(-50, 100, 100, 400), {2, 3}},
    };
    for (const Case& c : cases) {
        DPoint d{c.x, c.y};
        POINT out{};
        ClipPolygonToLayer(&d, 1, c.ox, c.oy, c.bounds, &out);
        EXPECT_EQ(out.x, c.want.x) << c.x;
        EXPECT_EQ(out.y, c.want.y) << c.y;
    }
}

TEST(LayerMergeClip, MergeKeepsMapPositionsClassesAndRecords) {
    CGeoVectorLayer a, b, target;
    SetUpTheme(a);
    SetUpTheme(b);
    b.SetLayerOrigin(1.0, 0.0);  // one metre east
    CGeoPoint* pa = Put(a, new CGeoPoint(100, 200));
    CGeoPoint* pb = Put(b, new CGeoPoint(100, 200));
    Record(a, pa, 7, "甲");
    Record(b, pb, 8, "乙");

    CGeoVectorLayerList list;
    list.AddTail(&a);
    list.AddTail(&b);
    ASSERT_EQ(LayerMerge(list, &target, 1), 1);
    std::vector<CGeoVectorObject*> got = Objects(target);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0]->GetPoint(0), CPoint(100, 200));
    EXPECT_EQ(got[1]->GetPoint(0), CPoint(1100, 200));  // same map position in the common origin
    EXPECT_EQ(target.m_Theme.FindGC(1), 0);
    EXPECT_EQ(target.m_Theme.FindField("CODE"), 0);
    std::vector<COleVariant> r = RecordOf(target, got[1]);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].lVal, 8);
    EXPECT_EQ(CString(r[1].strVal), CString("乙"));
    EXPECT_EQ(a.GetObjectCount(), 1);  // the sources keep their objects
}

TEST(LayerMergeClip, MergeWithoutAttributesDropsClasses) {
    CGeoVectorLayer a, target;
    SetUpTheme(a);
    Put(a, new CGeoPoint(1, 1));
    CGeoVectorLayerList list;
    list.AddTail(&a);
    ASSERT_EQ(LayerMerge(list, &target, 0), 1);
    ASSERT_EQ(target.GetObjectCount(), 1);
    EXPECT_EQ(Objects(target)[0]->GetObjectClassID(), 0u);
    EXPECT_EQ(target.GetAttributeDatabase(), nullptr);
}

TEST(LayerMergeClip, RefusalsChangeNothing) {
    CGeoVectorLayer a, target;
    SetUpTheme(a);
    Put(a, new CGeoPoint(1, 1));
    CGeoVectorLayerList list, empty;
    list.AddTail(&a);
    target.Editable(0);
    EXPECT_EQ(LayerMerge(list, &target, 0), 0);
    std::vector<DPoint> sq = Square(0, 0, 10, 10);
    EXPECT_EQ(LayerCut(list, sq.data(), 5, &target, 0), 0);
    target.Editable(1);
    EXPECT_EQ(LayerMerge(empty, &target, 0), 0);
    EXPECT_EQ(target.GetObjectCount(), 0);

    // An open clip polygon: one message, 0, and no origin moves.
    a.SetLayerOrigin(5, 5);
    AfxClearMessageLog();
    std::vector<DPoint> open = Square(0, 0, 10, 10);
    open.pop_back();
    EXPECT_EQ(LayerCut(list, open.data(), static_cast<LONG>(open.size()), &target, 0), 0);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].text, CString(CLIP_OPEN_POLYGON_MESSAGE));
    double x = 0, y = 0;
    target.GetLayerOrigin(x, y);
    EXPECT_EQ(x, 0);

    // Schemas that disagree, with attributes: 0 before anything is copied.
    CGeoVectorLayer other;
    other.m_Theme.AddField(Field("CODE", dbText, 10), -2);
    Put(other, new CGeoPoint(1, 1), 0);
    list.AddTail(&other);
    std::vector<DPoint> big = Square(-100000, -100000, 100000, 100000);
    EXPECT_EQ(LayerCut(list, big.data(), 5, &target, 1), 0);
    EXPECT_EQ(target.GetObjectCount(), 0);
}

TEST(LayerMergeClip, CutKeepsInsideObjectsAndPiecesWithTheirRecords) {
    CGeoVectorLayer a, target;
    SetUpTheme(a);
    CGeoPoint* in = Put(a, new CGeoPoint(5000, 5000));
    Put(a, new CGeoPoint(50000, 5000));  // outside
    CGeoPLine* road = Put(a, MakeLine({{-5000, 5000}, {5000, 6000}, {15000, 5000}}));  // in and out once
    CGeoPLine* lane = Put(a, MakeLine({{1000, 1000}, {2000, 2000}}));                   // wholly inside
    Put(a, new CGeoCircle(CPoint(10000, 0), 3000));                                      // cut by the edge
    Record(a, in, 1, "点");
    Record(a, road, 2, "路");
    (void)lane;

    CGeoVectorLayerList list;
    list.AddTail(&a);
    std::vector<DPoint> sq = Square(0, 0, 10000, 10000);
    ASSERT_EQ(LayerCut(list, sq.data(), 5, &target, 1), 1);
    std::vector<CGeoVectorObject*> got = Objects(target);
    ASSERT_EQ(got.size(), 4u);

    // the point, with its record
    EXPECT_EQ(got[0]->GetPoint(0), CPoint(5000, 5000));
    EXPECT_EQ(RecordOf(target, got[0])[0].lVal, 1);
    // the road's piece between its two crossings keeps the road's record
    ASSERT_TRUE(dynamic_cast<CGeoPLine*>(got[1]));
    EXPECT_EQ(got[1]->GetPoints(), 3);
    EXPECT_EQ(got[1]->GetPoint(0), CPoint(0, 5500));
    EXPECT_EQ(got[1]->GetPoint(2), CPoint(10000, 5500));
    std::vector<COleVariant> r = RecordOf(target, got[1]);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].lVal, 2);
    // the inside line whole
    EXPECT_NEAR(Length(got[2]), std::hypot(1000.0, 1000.0), 1e-9);
    // the circle comes out as a polyline arc inside the square
    ASSERT_TRUE(dynamic_cast<CGeoPLine*>(got[3]));
    for (int i = 0; i < got[3]->GetPoints(); ++i) {
        POINT p = got[3]->GetPoint(i);
        EXPECT_TRUE(p.x >= 0 && p.x <= 10000 && p.y >= 0 && p.y <= 10000) << p.x << "," << p.y;
    }
    // the sources are untouched
    EXPECT_EQ(a.GetObjectCount(), 5);
    EXPECT_EQ(road->GetPoints(), 3);
}

TEST(LayerMergeClip, ProgressStepWithManyLayers) {
    CWinApp app("test");
    MainWindow wnd;
    app.m_pMainWnd = &wnd;
    CGeoVectorLayer a, work;
    for (int i = 0; i < 30; ++i) Put(a, new CGeoPoint(10 * i, 10));
    CGeoVectorLayerList list;
    for (int i = 0; i < 150; ++i) list.AddTail(&a);  // 100 / 150 is below 1: the step is 10
    CGeoPolygonLine boundary;
    for (POINT p : {POINT{-10, -10}, POINT{1000, -10}, POINT{1000, 1000}, POINT{-10, 1000}, POINT{-10, -10}})
        boundary.AddPoint(p);
    CObList removed, pieces;
    ClipLayerObjects(list, &boundary, &a, removed, pieces, &work, 0, 0, 0);
    app.m_pMainWnd = nullptr;
    ASSERT_EQ(wnd.progress.size(), 30u);
    EXPECT_EQ(wnd.progress.front(), 0u);
    EXPECT_EQ(wnd.progress.back(), 10u);
    EXPECT_EQ(removed.GetCount(), 0);
}

TEST(LayerMergeClip, ShapeRingPoints) {
    int n = 0;
    CGeoPolygonLine pg;
    for (POINT p : {POINT{0, 0}, POINT{10, 0}, POINT{10, 10}}) pg.AddPoint(p);
    std::unique_ptr<POINT[]> a(GetShapeRingPoints(&pg, n));
    ASSERT_EQ(n, 4);
    EXPECT_TRUE(a[3].x == 0 && a[3].y == 0);  // closed
    std::unique_ptr<CGeoPLine> line(MakeLine({{0, 0}, {5, 5}}));
    std::unique_ptr<POINT[]> b(GetClipPoints(line.get(), n));
    EXPECT_EQ(n, 2);
    CGeoPoint point(1, 1);
    EXPECT_EQ(GetClipPoints(&point, n), nullptr);
    EXPECT_EQ(n, 0);
    CGeoCircle circle(CPoint(0, 0), 100);
    std::unique_ptr<POINT[]> c(GetClipPoints(&circle, n));
    ASSERT_GT(n, 8);
    EXPECT_TRUE(c[0].x == c[n - 1].x && c[0].y == c[n - 1].y);
}

namespace {

// A clip polygon given by its layer points (for a target with bounds 0 and origin 0; coordinates
// not below 0, where the conversion keeps them as they are).
std::vector<DPoint> ClipOf(const std::vector<POINT>& ring) {
    std::vector<DPoint> out;
    for (POINT p : ring) out.push_back({p.x * 1000.0, p.y * 1000.0});
    out.push_back(out.front());
    return out;
}

std::vector<POINT> RegularRing(int n, double cx, double cy, double r, double inner = 0) {
    std::vector<POINT> out;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n, rr = inner > 0 && i % 2 ? inner : r;
        out.push_back({static_cast<LONG>(std::lround(cx + rr * std::cos(a))), static_cast<LONG>(std::lround(cy + rr * std::sin(a)))});
    }
    return out;
}

// The length of the horizontal segment y = c, x from a to b, inside the ring (even-odd), measured
// from the ring's own crossings of that line.
double InsideLength(const std::vector<POINT>& ring, double c, double a, double b) {
    std::vector<double> xs;
    for (size_t i = 0; i < ring.size(); ++i) {
        POINT p = ring[i], q = ring[(i + 1) % ring.size()];
        if ((p.y > c) != (q.y > c)) xs.push_back(p.x + (c - p.y) * (q.x - p.x) / double(q.y - p.y));
    }
    std::sort(xs.begin(), xs.end());
    double s = 0;
    for (size_t i = 0; i + 1 < xs.size(); i += 2) s += std::max(0.0, std::min(b, xs[i + 1]) - std::max(a, xs[i]));
    return s;
}

}  // namespace

TEST(LayerMergeClip, SlantedClipEdgesKeepEveryInsideStretch) {
    struct Case {
        const char* name;
        std::vector<POINT> ring;
    } cases[] = {
        {"1000-gon", RegularRing(1000, 50000, 50000, 40000)},
        {"40-point star", RegularRing(40, 50000, 50000, 40000, 15000)},
    };
    for (const Case& c : cases) {
        CGeoVectorLayer a, target;
        std::vector<double> ys;
        for (int k = 0; k < 40; ++k) {
            const LONG y = 10500 + 2003 * k;
            ys.push_back(y);
            // two vertices, so stretches between two crossings on one segment are tested too
            Put(a, MakeLine({{0, y}, {40001, y}, {100000, y}}), 0);
        }
        CGeoVectorLayerList list;
        list.AddTail(&a);
        std::vector<DPoint> clip = ClipOf(c.ring);
        ASSERT_EQ(LayerCut(list, clip.data(), static_cast<LONG>(clip.size()), &target, 0), 1) << c.name;
        std::vector<double> got(ys.size(), 0.0);
        std::vector<int> pieces(ys.size(), 0);
        for (CGeoVectorObject* obj : Objects(target)) {
            const LONG y = obj->GetPoint(0).y;
            const size_t k = std::find(ys.begin(), ys.end(), double(y)) - ys.begin();
            ASSERT_LT(k, ys.size()) << c.name;
            got[k] += Length(obj);
            ++pieces[k];
        }
        for (size_t k = 0; k < ys.size(); ++k) {
            const double want = InsideLength(c.ring, ys[k], 0, 100000);
            // every crossing is rounded to a whole unit
            EXPECT_NEAR(got[k], want, 1.0 * pieces[k] + 1) << c.name << " y " << ys[k];
            if (std::string(c.name) == "1000-gon") {
                EXPECT_EQ(pieces[k], 1) << "y " << ys[k];  // in and out once
            }
        }
    }
}

TEST(LayerMergeClip, LinesTouchingTheEdgeGiveNoEmptyPieces) {
    struct Case {
        const char* name;
        Pts line;
        double length;  // inside the square 0..10000
        int pieces;
    } cases[] = {
        {"ends on the edge", {{5000, 5000}, {10000, 5000}}, 5000, 1},
        {"ends on the edge from outside", {{15000, 5000}, {10000, 5000}}, 0, 0},
        {"starts on the edge", {{0, 3000}, {4000, 3000}, {4000, 6000}}, 7000, 1},
        {"ends at a corner", {{5000, 5000}, {10000, 10000}}, std::hypot(5000.0, 5000.0), 1},
        {"along an edge", {{0, 2000}, {0, 8000}}, 6000, 1},
        {"along an edge, in and out", {{-5000, 0}, {15000, 0}}, 10000, 1},
        {"touches the edge at a vertex", {{2000, 5000}, {10000, 6000}, {2000, 7000}}, 2 * std::hypot(8000.0, 1000.0), 2},
        {"crosses at a vertex", {{5000, 5000}, {10000, 5000}, {15000, 5000}}, 5000, 1},
    };
    for (const Case& c : cases) {
        CGeoVectorLayer a, target;
        Put(a, MakeLine(c.line), 0);
        CGeoVectorLayerList list;
        list.AddTail(&a);
        std::vector<DPoint> sq = Square(0, 0, 10000, 10000);
        ASSERT_EQ(LayerCut(list, sq.data(), 5, &target, 0), 1) << c.name;
        double total = 0;
        for (CGeoVectorObject* obj : Objects(target)) {
            EXPECT_GT(Length(obj), 0) << c.name;
            total += Length(obj);
        }
        EXPECT_EQ(target.GetObjectCount(), c.pieces) << c.name;
        EXPECT_NEAR(total, c.length, 1e-6) << c.name;
    }
}
