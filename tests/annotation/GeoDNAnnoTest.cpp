// Annotations with a position point: the record (annotation record + 8 bytes), creation by class name,
// bounds, the ninth handle, unit changes, transforms, copies and drawing the marker under the text.
#include "AnnoDrawSupport.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/GeoDNAnno.h"
#include "core/CoreResources.h"
#include "core/ObjectBytes.h"

#include <afx/CursorResource.h>
#include <pellion/GeoCoordinateTransformer.h>
#include <quenby/SymbolAttrib.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using annodraw_test::kScale;
using annodraw_test::RecordingDC;
using objbytes::Bytes;

const char* const kTwo = "文字";

class GeoDNAnnoTest : public ::testing::Test {
protected:
    void SetUp() override { SetHandleZero(); }
    void TearDown() override {
        SetHandleZero();
        SetCurrentGeoAnno(GEOANNO());
    }
};

// Anchored text "文字" at (0, 0) with char height 20: its box is (0, 0) - (100, 20); point p.
void Fill(CGeoDNAnno& a, POINT p, int moveFlag = 0) {
    GEOANNO r;
    r.m_strText = kTwo;
    r.m_nCharWidth = 50;
    r.m_nCharHeight = 20;
    a.SetGeoAnno(r);
    a.SetMoveFlag(static_cast<BYTE>(moveFlag));
    a.SetDNAnnoPosPt(p);
}

TEST_F(GeoDNAnnoTest, RecordIsTheAnnotationRecordFollowedByThePoint) {
    CGeoDNAnno a;
    Fill(a, POINT{-7, 0x01020304});
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    a.CGeoAnno::Serialize(ar);  // the annotation's record alone
    ar.Close();
    Bytes want;
    want.Append(file.Data()).Long(-7).Long(0x01020304);
    const std::vector<BYTE> got = objbytes::Store(a);
    EXPECT_EQ(got, want.Data());

    CGeoDNAnno back;
    EXPECT_EQ(objbytes::Load(back, got), 0u);
    EXPECT_EQ(back.GetDNAnnoPosPt().x, -7);
    EXPECT_EQ(back.GetDNAnnoPosPt().y, 0x01020304);
    EXPECT_EQ(back.GetName(), CString(kTwo));
    EXPECT_EQ(objbytes::Store(back), got);
}

TEST_F(GeoDNAnnoTest, ARecordWithoutAWholePointRaises) {
    CGeoDNAnno a;
    Fill(a, POINT{5, 6});
    const std::vector<BYTE> full = objbytes::Store(a);
    for (size_t cut : {size_t(1), size_t(4), size_t(8)}) {
        std::vector<BYTE> shortRecord(full.begin(), full.end() - cut);
        CGeoDNAnno back;
        EXPECT_THROW(objbytes::Load(back, shortRecord), CArchiveException) << cut;
    }
}

// The vector-object part of an older record: feature class 7 (no own style follows), no user words.
Bytes OldPrefix(float version) {
    Bytes b;
    b.GeoObject(CRect(0, 0, 100, 60), "A", 3, version).Dword(0).Dword(0).Long(0).Long(0).Byte(0);
    b.Dword(7).Dword(1).Double(0.0);
    CSymbolAttrib attrib;
    return b.Append(objbytes::Store(attrib));
}

TEST_F(GeoDNAnnoTest, OlderAnnotationRecordsCarryThePointToo) {
    // An annotation record of the layout with one inline angle and anchor, then the point.
    Bytes b = OldPrefix(1.36f);
    b.Str("AB").Long(60).Long(70).Float(450.0f).Byte(5).Long(4).Byte(2).Long(33).Long(-44).Float(900.0f)
        .Long(0).Byte(0);
    b.Float(120.0f).Float(2.5f).Dword(0xFF).Long(8).Long(700);
    b.Long(-123).Long(456);
    CGeoDNAnno a;
    EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(33, -44));
    EXPECT_EQ(a.GetCharHeight(), 70);
    EXPECT_EQ(a.GetDNAnnoPosPt().x, -123);
    EXPECT_EQ(a.GetDNAnnoPosPt().y, 456);

    // Stored again it takes the current layout, point last.
    CGeoDNAnno back;
    EXPECT_EQ(objbytes::Load(back, objbytes::Store(a)), 0u);
    EXPECT_EQ(back.GetDNAnnoPosPt().x, -123);
    EXPECT_EQ(back.GetPositionPoint(0), CPoint(33, -44));
}

TEST_F(GeoDNAnnoTest, CreatedByClassNameAsAnAnnotation) {
    CRuntimeClass* rc = CRuntimeClass::FromName("CGeoDNAnno");
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(rc->m_wSchema, 0u);
    std::unique_ptr<CObject> ob(rc->CreateObject());
    ASSERT_TRUE(ob);
    EXPECT_TRUE(ob->IsKindOf(RUNTIME_CLASS(CGeoAnno)));
    const POINT p = static_cast<CGeoDNAnno*>(ob.get())->GetDNAnnoPosPt();
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}

TEST_F(GeoDNAnnoTest, LegacyConstructorsTakeTheBoxCornerAsGivenOrThePoint) {
    const CGeoDNAnno a(CString(kTwo), CRect(300, 200, 100, 50), 50, 20, 0, 0, 0.0f);
    EXPECT_EQ(a.GetDNAnnoPosPt().x, 300);
    EXPECT_EQ(a.GetDNAnnoPosPt().y, 200);
    const CGeoDNAnno b(POINT{9, -9}, CString(kTwo), CRect(300, 200, 100, 50), 50, 20, 0, 0, 0.0f);
    EXPECT_EQ(b.GetDNAnnoPosPt().x, 9);
    EXPECT_EQ(b.GetDNAnnoPosPt().y, -9);
    EXPECT_EQ(b.GetName(), CString(kTwo));
}

TEST_F(GeoDNAnnoTest, BoundsReachThePoint) {
    const struct {
        POINT p;
        CRect bounds;
    } cases[] = {
        {{50, 10}, CRect(0, 0, 100, 20)},  // inside: the text's box
        {{-40, 300}, CRect(-40, 0, 100, 300)},
        {{500, -60}, CRect(0, -60, 500, 20)},
    };
    for (const auto& c : cases) {
        CGeoDNAnno a;
        Fill(a, c.p);
        EXPECT_EQ(a.GetBounds(), c.bounds) << c.p.x << "," << c.p.y;
    }
}

TEST_F(GeoDNAnnoTest, NinthHandleIsThePointAndDragsItAlone) {
    CGeoDNAnno a;
    Fill(a, POINT{-40, 300});
    EXPECT_EQ(a.GetHandleCount(), 9);
    EXPECT_EQ(a.GetHandle(9), CPoint(-40, 300));
    EXPECT_EQ(a.GetHandle(12), CPoint(-40, 300));
    EXPECT_EQ(a.GetHandleCursor(9), AfxLoadCursorResource(IDC_GEO_HANDLE));
    EXPECT_EQ(a.GetHandle(1), static_cast<CGeoAnno&>(a).CGeoAnno::GetHandle(1));

    a.MoveHandleTo(9, CPoint(70, -5));
    EXPECT_EQ(a.GetHandle(9), CPoint(70, -5));
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(a.GetCharHeight(), 20);
    EXPECT_EQ(a.GetBounds(), CRect(0, -5, 100, 20));
}

TEST_F(GeoDNAnnoTest, AShortMultiPointTextHasNineHandlesAndMovesOnlyRealOnes) {
    CGeoDNAnno a;
    Fill(a, POINT{7, 8});
    a.SetPositionType(6);
    a.SetPoints(2);  // "文字": two characters, two points
    a.SetPositionPoint(CPoint(10, 0), 0);
    a.SetPositionPoint(CPoint(60, 0), 1);
    EXPECT_EQ(a.GetHandleCount(), 9);
    EXPECT_EQ(a.GetHandle(2), CPoint(60, 0));
    EXPECT_EQ(a.GetHandle(5), CPoint(0, 0));  // no character behind it
    a.MoveHandleTo(5, CPoint(99, 99));        // changes nothing
    a.MoveHandleTo(2, CPoint(70, 5));
    EXPECT_EQ(a.GetPositionPoint(1), CPoint(70, 5));
    EXPECT_EQ(a.GetPoints(), 2);
    EXPECT_EQ(a.GetDNAnnoPosPt().x, 7);
    EXPECT_EQ(a.GetDNAnnoPosPt().y, 8);
}

TEST_F(GeoDNAnnoTest, CornersStayMovableWithTheAspectRatioLocked) {
    CGeoDNAnno a;
    Fill(a, POINT{50, 10}, 3);
    for (int h = 1; h <= 9; ++h) EXPECT_EQ(a.CanMoveHandle(h), 1) << h;
    const CRect before = a.GetBounds();
    a.MoveHandleTo(5, CPoint(200, 40));  // the right-top corner: the text grows
    EXPECT_NE(a.GetBounds(), before);
    EXPECT_GT(a.GetCharHeight(), 20);
    EXPECT_EQ(a.GetDNAnnoPosPt().x, 50);
}

TEST_F(GeoDNAnnoTest, UnitChangeConvertsThePointWithTheSizes) {
    CGeoDNAnno a;
    Fill(a, POINT{4999, -8000});
    a.SetCharHeight(2500);
    a.ChangeUnit(6);
    EXPECT_EQ(a.GetCharHeight(), 2);
    EXPECT_EQ(a.GetDNAnnoPosPt().x, 4);  // truncated toward zero
    EXPECT_EQ(a.GetDNAnnoPosPt().y, -8);
}

class ShiftTransformer : public CBaseCoordinateTransformer {
public:
    int Transform(double x, double y, double& xOut, double& yOut) const override {
        xOut = x + 1.0;
        yOut = y + 2.0;
        return 1;
    }
};

TEST_F(GeoDNAnnoTest, TransformMapsThePointLikeTheAnchor) {
    CGeoDNAnno a;
    Fill(a, POINT{3000, 2020});
    ShiftTransformer t;
    t.SetSecondOffsetX(0.5);
    a.Transform(t, 0.25, 0.0);
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(750, 2000));
    EXPECT_EQ(a.GetDNAnnoPosPt().x, 3750);
    EXPECT_EQ(a.GetDNAnnoPosPt().y, 4019);  // 2.02 m + 2 m back in millimetres, truncated
}

TEST_F(GeoDNAnnoTest, CopiesCarryThePointAndRefuseAPlainAnnotation) {
    CGeoDNAnno src;
    Fill(src, POINT{11, 22});
    src.SetBackColor(0x42);
    std::unique_ptr<CGeoObject> dup(src.Duplicate(0, 0));
    ASSERT_TRUE(dup);
    auto* d = dynamic_cast<CGeoDNAnno*>(dup.get());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GetDNAnnoPosPt().x, 11);
    EXPECT_EQ(d->GetDNAnnoPosPt().y, 22);
    EXPECT_EQ(d->GetBackColor(), 0x42u);

    CGeoAnno plain;
    CGeoDNAnno target;
    Fill(target, POINT{1, 2});
    EXPECT_EQ(target.CopyData(plain), 0);
    EXPECT_EQ(target.GetDNAnnoPosPt().x, 1);
    EXPECT_EQ(target.GetName(), CString(kTwo));
}

TEST_F(GeoDNAnnoTest, DrawsTheMarkerOnceBeforeTheText) {
    GEOVIEW view = annodraw_test::MakeStyle();
    view.m_nPointShape = 0;  // filled circle
    view.m_crPointColor = RGB(200, 0, 0);
    view.m_nPointSize = 6;
    CGeoDNAnno a;
    Fill(a, POINT{40, -30});
    for (int symbols = 0; symbols < 2; ++symbols) {
        RecordingDC rec;
        if (symbols)
            a.OnDrawWithSymbolization(&rec.dc, kScale, 1, CPoint(0, 0), CPoint(0, 0), view, nullptr, 1, 0, nullptr, 0);
        else
            a.OnDrawWithoutSymbolization(&rec.dc, kScale, 1, CPoint(0, 0), CPoint(0, 0), view, nullptr, 1, 0, 1);
        const auto all = rec.All();
        ASSERT_GT(all.size(), 1u) << symbols;
        EXPECT_EQ(all[0].call, "Ellipse") << symbols;
        EXPECT_EQ(all[0].brush.lbColor, RGB(200, 0, 0));
        EXPECT_EQ(all[0].rop2, R2_NOTXORPEN);
        const POINT c{(all[0].points[0].x + all[0].points[1].x) / 2, (all[0].points[0].y + all[0].points[1].y) / 2};
        EXPECT_NEAR(c.x, 40, 1);
        EXPECT_NEAR(c.y, 30, 1);
        EXPECT_EQ(rec.Calls("Ellipse").size(), 1u) << "a second marker in xor mode would wipe out the first";
    }
    RecordingDC rec;
    a.OnHideWithSymbolization(&rec.dc, kScale, 1, CPoint(0, 0), view, nullptr);
    a.OnBlinkWithoutSymbolization(&rec.dc, kScale, 1, CPoint(0, 0), view, nullptr);
    a.OnHideDNAnnoPosPt(&rec.dc, kScale, CPoint(0, 0), view, nullptr, 0);
    EXPECT_TRUE(rec.All().empty());
}

}  // namespace
