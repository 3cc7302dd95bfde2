// Symbolised output entry points of vector objects and layers: the run's set-up (context, outputer
// values, offset between layers), the GIS-only rule, and the copies of objects without symbol output.
#include <gtest/gtest.h>

#include "core/GeoGClass.h"
#include "core/GeoVectorLayer.h"
#include "core/TestShape.h"
#include "core/VMSymbolLibIO.h"
#include "core/VMSymbolOutputer.h"
#include "vector/GeoPLine.h"

#include <quenby/Symbols.h>

#include <vector>

namespace {

// A shape whose symbol output is one polyline along its top edge (or nothing when emit is 0); it
// records what the run handed it.
class CEmitShape : public CTestShape {
public:
    CEmitShape(const CRect& r, int emit) : CTestShape(r), m_bEmit(emit) {}

    int OnSymbolizeOutput(CSymbolLibIO*, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override {
        ++m_nCalls;
        m_conv = *pConverter;
        m_crSeen = pView->m_crLineColor;
        CVMSymbolOutputer* out = static_cast<CVMSymbolOutputer*>(pOutputer);
        m_nUnitSeen = out->GetUnit();
        m_nClassSeen = out->GetClassCode();
        m_dZSeen = out->GetZ();
        if (!m_bEmit) return 0;
        const CRect b = GetPosition();
        const POINT pts[] = {{b.left, b.top}, {b.right, b.top}};
        pOutputer->OutputPolyLine(pts, 2, 0, 0, 0, 0, nullptr, pConverter);
        return 1;
    }

    int m_bEmit;
    int m_nCalls = 0;
    CCoordsConverter m_conv{0, 0, 9};
    COLORREF m_crSeen = 0;
    int m_nUnitSeen = 0;
    UINT m_nClassSeen = 99;
    double m_dZSeen = 0.0;
};

GEOVIEW ViewOfColour(COLORREF cr) {
    GEOVIEW v;
    v.m_crLineColor = cr;
    return v;
}

struct SymbolizeFixture : ::testing::Test {
    CGeoVectorLayer source{CRect(0, 0, 10000, 10000)};
    CGeoVectorLayer east{CRect(0, 0, 10000, 10000)};
    CVMSymbolLibIO lib;

    void SetUp() override {
        CGeoGClass gc;
        gc.SetGCID(5);
        gc.SetGeoView(ViewOfColour(0x111));
        source.m_Theme.AddGC(gc, -2);
        east.SetLayerOrigin(1.0, 0.0);  // 1000 mm further east
    }
    CEmitShape* Add(const CRect& r, int emit, UINT cls) {
        CEmitShape* o = new CEmitShape(r, emit);
        o->SetObjectClassID(cls);
        o->SetGeoView(ViewOfColour(0x222));
        o->SetZ(3.5);
        EXPECT_TRUE(o->AttachLayer(&source));
        return o;
    }
    static std::vector<CPoint> Points(CObList& list) {
        std::vector<CPoint> pts;
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            CGeoVectorObject* o = static_cast<CGeoVectorObject*>(list.GetNext(pos));
            pts.push_back(o->GetPoint(0));
        }
        return pts;
    }
};

}  // namespace

TEST_F(SymbolizeFixture, ObjectRunHandsScaleContextAndObjectValues) {
    CEmitShape* o = Add(CRect(100, 100, 200, 150), 1, 5);
    CVMSymbolOutputer out;
    out.SetTargetLayer(&east);
    EXPECT_EQ(1, o->SymbolizeOutput(&lib, &out, 2000));
    EXPECT_EQ(2000, o->m_conv.m_nDenominator);
    EXPECT_EQ(2000, o->m_conv.m_nNumerator);
    EXPECT_EQ(0, o->m_conv.m_nDevice);
    EXPECT_EQ(0x111u, o->m_crSeen);  // the feature class's style
    EXPECT_EQ(o->GetUnit(), o->m_nUnitSeen);
    EXPECT_EQ(5u, o->m_nClassSeen);
    EXPECT_DOUBLE_EQ(3.5, o->m_dZSeen);

    EXPECT_EQ(0, o->SymbolizeOutput(&lib, static_cast<CVMSymbolOutputer*>(nullptr), 2000));
    CTestShape plain(CRect(0, 0, 1, 1));
    EXPECT_EQ(0, plain.SymbolizeOutput(&lib, &out, 2000));
}

TEST_F(SymbolizeFixture, ObjectIntoOwnGisLayerOutputsClassStyleWithoutClassAndRestoresObject) {
    CEmitShape* o = Add(CRect(100, 100, 200, 150), 1, 5);
    const DISPLAYATTR attr = o->GetDisplayAttribute();
    EXPECT_EQ(1, o->SymbolizeOutput(&lib, 1000, nullptr));
    EXPECT_EQ(0u, o->m_nClassSeen);
    EXPECT_EQ(0x111u, o->m_crSeen);
    EXPECT_EQ(5u, o->GetObjectClassID());
    EXPECT_EQ(0x222u, o->GetGeoView().m_crLineColor);
    EXPECT_EQ(attr, o->GetDisplayAttribute());
    ASSERT_EQ(2, source.GetObjectCount());
    CGeoVectorObject* made = static_cast<CGeoVectorObject*>(source.m_ObjList.GetTail());
    EXPECT_EQ(CPoint(100, 100), made->GetPoint(0));  // offset (0, 0)
    EXPECT_EQ(0u, made->GetObjectClassID());

    CTestShape loose(CRect(0, 0, 1, 1));
    EXPECT_EQ(0, loose.SymbolizeOutput(&lib, 1000, &east));
}

TEST_F(SymbolizeFixture, ObjectIntoLayerFurtherEastShiftsByItsOrigin) {
    east.SetLayerType(2);
    CEmitShape* o = Add(CRect(1500, 100, 1600, 150), 1, 5);
    EXPECT_EQ(1, o->SymbolizeOutput(&lib, 1000, &east));
    EXPECT_EQ(5u, o->m_nClassSeen);
    ASSERT_EQ(1, east.GetObjectCount());
    CGeoVectorObject* made = static_cast<CGeoVectorObject*>(east.m_ObjList.GetHead());
    EXPECT_EQ(CPoint(500, 100), made->GetPoint(0));
    EXPECT_NE(-1, east.m_Theme.FindGC(CString("5")));
}

TEST_F(SymbolizeFixture, LayerRunOutputsSymbolsCopiesTheRestAndFiltersClasses) {
    Add(CRect(1500, 100, 1600, 150), 1, 5);
    CEmitShape* bare = Add(CRect(2000, 300, 2100, 400), 0, 5);
    CEmitShape* other = Add(CRect(3000, 300, 3100, 400), 1, 7);

    EXPECT_EQ(0, source.SymbolizeOutput(&east, &lib, 0, nullptr));
    EXPECT_EQ(0, source.SymbolizeOutput(nullptr, &lib, 1000, nullptr));
    EXPECT_EQ(0, source.SymbolizeOutput(&east, nullptr, 1000, nullptr));
    EXPECT_EQ(0, east.GetObjectCount());

    CUIntArray classes;
    classes.Add(5);
    EXPECT_EQ(1, source.SymbolizeOutput(&east, &lib, 1000, &classes));
    EXPECT_EQ(0, other->m_nCalls);
    ASSERT_EQ(2, east.GetObjectCount());
    EXPECT_EQ((std::vector<CPoint>{{500, 100}, {1000, 300}}), Points(east.m_ObjList));
    CGeoVectorObject* copy = static_cast<CGeoVectorObject*>(east.m_ObjList.GetTail());
    EXPECT_TRUE(copy != bare && copy->IsKindOf(RUNTIME_CLASS(CTestShape)));
    EXPECT_EQ(5u, copy->GetObjectClassID());
    EXPECT_EQ(bare->GetSelfGeoView().m_crLineColor, copy->GetGeoView().m_crLineColor);
    EXPECT_EQ(DISPLAYATTR_SELF, copy->SetDisplayAttribute(DISPLAYATTR_SELF));

    // An empty filter passes every class.
    classes.RemoveAll();
    EXPECT_EQ(1, source.SymbolizeOutput(&east, &lib, 1000, &classes));
    EXPECT_EQ(5, east.GetObjectCount());
}

TEST_F(SymbolizeFixture, LayerRunIntoItselfCoversOnlyTheObjectsListedAtTheStart) {
    CEmitShape* a = Add(CRect(100, 100, 200, 150), 1, 5);
    CEmitShape* b = Add(CRect(300, 100, 400, 150), 0, 5);
    EXPECT_EQ(1, source.SymbolizeOutput(&source, &lib, 1000, nullptr));
    EXPECT_EQ(1, a->m_nCalls);
    EXPECT_EQ(1, b->m_nCalls);
    EXPECT_EQ(4, source.GetObjectCount());
}

TEST_F(SymbolizeFixture, LayerCopyMovesByTheOffsetInTheObjectsUnit) {
    CEmitShape* bare = new CEmitShape(CRect(500, 30, 600, 40), 0);
    bare->SetUnit(4);  // centimetres: the 1000 mm offset is 100 units
    ASSERT_TRUE(bare->AttachLayer(&source));
    EXPECT_EQ(1, source.SymbolizeOutput(&east, &lib, 1000, nullptr));
    ASSERT_EQ(1, east.GetObjectCount());
    CGeoVectorObject* copy = static_cast<CGeoVectorObject*>(east.m_ObjList.GetHead());
    EXPECT_EQ(4, copy->GetUnit());
    EXPECT_EQ(CPoint(400, 30), copy->GetPoint(0));
}

TEST_F(SymbolizeFixture, RealLineSymbolBecomesStyledPolylineInTarget) {
    ASSERT_TRUE(lib.SetUnitsPerMM(100));
    CGeoGroupLineSymbol* sym = new CGeoGroupLineSymbol;
    sym->SetSymbolNumber(7);
    QuenbyStroke stroke;
    stroke.crColor = 0x0000FF;
    stroke.nWidth = 50;  // 0.5 mm on paper
    sym->m_strokes.push_back(stroke);
    ASSERT_TRUE(lib.AddSymbol(sym));

    east.SetLayerType(2);
    const POINT pts[] = {{1500, 100}, {2500, 100}, {2500, 900}};
    CGeoPLine* line = new CGeoPLine(3, pts, FALSE);
    GEOVIEW v;
    v.SetSymbol(SYMBOL_LINE, 7);
    line->SetGeoView(v);
    line->SetObjectClassID(37);
    ASSERT_TRUE(line->AttachLayer(&source));

    EXPECT_EQ(1, source.SymbolizeOutput(&east, &lib, 1000, nullptr));
    ASSERT_EQ(1, east.GetObjectCount());
    CGeoVectorObject* made = static_cast<CGeoVectorObject*>(east.m_ObjList.GetHead());
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(CGeoPLine)));
    ASSERT_EQ(3, made->GetPoints());
    EXPECT_EQ(CPoint(500, 100), made->GetPoint(0));
    EXPECT_EQ(CPoint(1500, 900), made->GetPoint(2));
    EXPECT_EQ(37u, made->GetObjectClassID());
    EXPECT_NE(-1, east.m_Theme.FindGC(CString("37")));
    const GEOVIEW out = made->GetGeoView();
    EXPECT_EQ(0x0000FFu, out.m_crLineColor);
    EXPECT_FLOAT_EQ(5.0f, out.m_fLineWidth);  // 0.5 mm at 1:1000 in the style's width
}
