// The vector object: its record in every version, the symbol attributes and their masks, the dangle
// marks, copies and the point-and-height contract.
#include "core/GeoVectorObject.h"
#include "core/GeoGClass.h"
#include "core/GeoLayer.h"
#include "core/ObjectBytes.h"
#include "core/TestShape.h"

#include <quenby/SymbolLibIO.h>
#include <quenby/Symbols.h>

#include <gtest/gtest.h>

using objbytes::Bytes;

namespace {

// The cleared CSymbolAttrib record: length 6, format 1, mask 0, no items.
const std::vector<BYTE> kClearedSymbolAttrib = {0x06, 0, 0, 0, 0x01, 0, 0, 0, 0, 0};

std::vector<BYTE> ViewRecord(GEOVIEW view) { return objbytes::Store(view); }

tagVM_SYM_VARIANT Int(LONG v) {
    tagVM_SYM_VARIANT x;
    x.wType = VM_SYM_INTEGER;
    x.lValue = v;
    return x;
}

tagVM_SYM_VARIANT Item(const CSymbolAttrib& a, LONG index) {
    CString name;
    tagVM_SYM_VARIANT v;
    v.wType = 99;
    v.lValue = 0;
    a.GetAttribItem(index, name, v);
    return v;
}

// Names the fill symbol of its style as its own symbol, as an area shape would.
class FillShape : public CTestShape {
public:
    int GetObjectSymbolID(GEOVIEW view) const override { return view.GetSymbol(SYMBOL_FILL); }
};

}  // namespace

TEST(GeoVectorObject, InitialState) {
    CGeoVectorObject obj;
    EXPECT_EQ(obj.GetObjectClassID(), 0u);
    EXPECT_EQ(obj.GetDisplayAttribute(), DISPLAYATTR_SELF);
    EXPECT_EQ(obj.GetDangleType(), 0);
    EXPECT_EQ(obj.GetSymbolAttributeFlag(), 0u);
    EXPECT_EQ(obj.IsADInitilized(), 0);
    EXPECT_EQ(obj.GetZ(), 0.0);
    EXPECT_EQ(obj.GetObjectTypeName(), CString("矢量对象"));
    EXPECT_EQ(ViewRecord(obj.GetGeoView()), ViewRecord(GetDefaultGEOVIEW()));
    EXPECT_EQ(obj.GetSymbolAttribute(nullptr).GetAttribMask(), 0);
    EXPECT_EQ(obj.GetSymbolAttribute(nullptr).GetItemCount(), VM_SYM_FIXED_ITEMS);
}

TEST(GeoVectorObject, RecordBytesWithOwnView) {
    CGeoVectorObject obj;
    obj.SetObjectName("V");
    obj.MoveTo(CRect(-5, -6, 7, 8));
    obj.SetUserID(21);
    obj.SetID(22);
    obj.SetZ(12.5);
    const std::vector<BYTE> expected = Bytes()
                                           .GeoObject(CRect(-5, -6, 7, 8), "V", 3, 1.38f)
                                           .Dword(21)
                                           .Dword(22)
                                           .Long(1)
                                           .Long(0)
                                           .Byte(0)
                                           .Dword(0)     // feature-class ID
                                           .Dword(2)     // display attribute: own view
                                           .Double(12.5)
                                           .Append(kClearedSymbolAttrib)
                                           .Append(ViewRecord(obj.GetGeoView()))
                                           .Data();
    EXPECT_EQ(objbytes::Store(obj), expected);

    CGeoVectorObject back;
    EXPECT_EQ(objbytes::Load(back, expected), 0u);
    EXPECT_EQ(back.GetZ(), 12.5);
    EXPECT_EQ(back.GetUserID(), 21u);
    EXPECT_EQ(objbytes::Store(back), expected);
}

TEST(GeoVectorObject, StoringWritesTheEffectiveDisplayAttribute) {
    // A feature class in no symbolised layer: the class style (1), no own view.
    CGeoVectorObject classed;
    classed.SetObjectName("C");
    classed.SetObjectClassID(9);
    classed.SetDisplayAttribute(DISPLAYATTR_ATTRIBUTE);
    const std::vector<BYTE> expected = Bytes()
                                           .GeoObject(CRect(0, 0, 0, 0), "C", 3, 1.38f)
                                           .Dword(0)
                                           .Dword(0)
                                           .Long(1)
                                           .Long(0)
                                           .Byte(0)
                                           .Dword(9)
                                           .Dword(1)
                                           .Double(0.0)
                                           .Append(kClearedSymbolAttrib)
                                           .Data();
    EXPECT_EQ(objbytes::Store(classed), expected);
    EXPECT_EQ(classed.SetDisplayAttribute(DISPLAYATTR_LAYER), DISPLAYATTR_GCLASS);  // written back

    // Without a feature class the own view is written, whatever the member held.
    CGeoVectorObject own;
    own.SetDisplayAttribute(DISPLAYATTR_LAYER);
    const std::vector<BYTE> bytes = objbytes::Store(own);
    EXPECT_EQ(own.SetDisplayAttribute(DISPLAYATTR_LAYER), DISPLAYATTR_SELF);
    const std::vector<BYTE> view = ViewRecord(own.GetGeoView());
    ASSERT_GT(bytes.size(), view.size());
    EXPECT_TRUE(std::equal(view.begin(), view.end(), bytes.end() - static_cast<long>(view.size())));

    // SetObjectClassID sets the member the same way.
    CGeoVectorObject obj;
    obj.SetObjectClassID(4);
    EXPECT_EQ(obj.SetDisplayAttribute(DISPLAYATTR_SELF), DISPLAYATTR_GCLASS);
    obj.SetObjectClassID(0);
    EXPECT_EQ(obj.SetDisplayAttribute(DISPLAYATTR_SELF), DISPLAYATTR_SELF);
}

TEST(GeoVectorObject, OlderRecordsAndTheOldSymbolWidth) {
    struct Case {
        const char* what;
        float version;
        bool hasFlagByte;    // 1.15 on
        BYTE flagByte;
        bool oldForm;        // the bytes after Z are the old form (else a CSymbolAttrib record)
        DWORD symbolFlag;    // old form: the flag, and a width when its bit 0 is set
        bool expectWidth;
    } cases[] = {
        {"1.30 with width", 1.30f, true, 0x01, true, 0x01, true},
        {"1.20 with width", 1.20f, true, 0x01, true, 0x03, true},
        {"1.20 flag without width bit", 1.20f, true, 0x01, true, 0x02, false},
        {"1.20 flag byte clear", 1.20f, true, 0x00, false, 0, false},
        {"1.12 has no flag byte", 1.12f, false, 0, false, 0, false},
        {"1.0 has nothing", 0.0f, false, 0, false, 0, false},
        {"1.31 holds the record", 1.31f, true, 0x01, false, 0, false},
    };
    const std::vector<BYTE> view = ViewRecord(GetDefaultGEOVIEW());
    for (const Case& c : cases) {
        for (DWORD attr : {1u, 2u}) {
            Bytes b;
            b.GeoObject(CRect(0, 0, 10, 10), "o", 3, c.version).Dword(3).Dword(4).Long(1);
            if (c.version >= 1.12f) b.Long(2);
            if (c.hasFlagByte) b.Byte(c.flagByte);
            b.Dword(6).Dword(attr).Double(-1.0);
            if (c.oldForm) {
                b.Dword(c.symbolFlag);
                if (c.symbolFlag & 1) b.Long(35);
            } else if (c.version >= 1.31f) {
                b.Append(kClearedSymbolAttrib);
            }
            if (attr == 2) b.Append(view);
            b.Dword(0xCAFEF00D);

            CGeoVectorObject obj;
            ASSERT_EQ(objbytes::Load(obj, b.Data()), 4u) << c.what << " attr " << attr;
            EXPECT_EQ(obj.GetObjectClassID(), 6u);
            EXPECT_EQ(obj.GetZ(), -1.0);
            EXPECT_EQ(obj.GetSymbolAttributeFlag(), c.oldForm ? c.symbolFlag : 0u) << c.what;
            const CSymbolAttrib a = obj.GetSymbolAttribute(nullptr);
            if (c.expectWidth) {
                EXPECT_EQ(a.GetAttribMask(), VM_SYM_MASK_WIDTH) << c.what;
                EXPECT_EQ(Item(a, VM_SYM_ITEM_WIDTH).wType, VM_SYM_INTEGER);
                EXPECT_EQ(Item(a, VM_SYM_ITEM_WIDTH).lValue, 35);
            } else {
                EXPECT_EQ(a.GetAttribMask(), 0) << c.what;
                EXPECT_EQ(Item(a, VM_SYM_ITEM_WIDTH).wType, VM_SYM_NONE) << c.what;
            }
        }
    }
}

TEST(GeoVectorObject, RoundTripKeepsSymbolAttributesAndView) {
    CTestShape obj(CRect(10, 20, 30, 40));
    obj.SetUserID(5);
    obj.SetMark(GEOMARK_2);
    obj.SetZ(3.25);
    GEOVIEW view = obj.GetGeoView();
    view.m_crPointColor = 0x123456;
    view.SetSymbol(SYMBOL_FILL, 77);
    obj.SetGeoView(view);
    obj.SetSymbolAttribute(VM_SYM_ITEM_WIDTH, Int(120));
    obj.SetSymbolAttribute(40, "extra", Int(-3));
    obj.SetSymbolAttributeMark(4, 1);
    obj.SetSymbolAttributeFlag(1);

    const std::vector<BYTE> bytes = objbytes::Store(obj);
    CTestShape back;
    EXPECT_EQ(objbytes::Load(back, bytes), 0u);
    EXPECT_EQ(back.GetBounds(), CRect(10, 20, 30, 40));
    EXPECT_EQ(back.GetMark(), GEOMARK_2);
    EXPECT_EQ(back.GetFlag(), 1);
    EXPECT_EQ(back.GetGeoView().m_crPointColor, 0x123456u);
    EXPECT_EQ(back.GetGeoView().GetSymbol(SYMBOL_FILL), 77);
    const CSymbolAttrib a = back.GetSymbolAttribute(nullptr);
    EXPECT_EQ(a.GetAttribMask(), 0x04);
    EXPECT_EQ(Item(a, VM_SYM_ITEM_WIDTH).lValue, 120);
    CString name;
    tagVM_SYM_VARIANT v;
    ASSERT_EQ(a.GetAttribItemByID(40, name, v), VM_SYM_OK);
    EXPECT_EQ(name, CString("extra"));
    EXPECT_EQ(v.lValue, -3);
    EXPECT_EQ(objbytes::Store(back), bytes);
}

// Objects with equal own views hold one style between them: a change through one object is never seen
// through another, and a view record read over another starting style gives that style's fields.
TEST(GeoVectorObject, OwnViewsStayEachObjectsOwn) {
    CTestShape a, b;
    GEOVIEW red = a.GetGeoView();
    red.m_crLineColor = 0x0000FF;
    GEOVIEW blue = red;
    blue.m_crLineColor = 0xFF0000;
    a.SetGeoView(red);
    b.SetGeoView(red);
    EXPECT_EQ(a.SetGeoView(blue).m_crLineColor, 0x0000FFu);
    EXPECT_EQ(a.GetGeoView().m_crLineColor, 0xFF0000u);
    EXPECT_EQ(b.GetGeoView().m_crLineColor, 0x0000FFu);
    b.SetGeoView(GetDefaultGEOVIEW());
    EXPECT_EQ(ViewRecord(b.GetGeoView()), ViewRecord(GetDefaultGEOVIEW()));
    EXPECT_EQ(a.GetGeoView().m_crLineColor, 0xFF0000u);

    // A line-only view leaves the point colour as the loading object's default style has it. The same
    // record read again (as a layer file repeats it) must still follow the default of the moment.
    GEOVIEW line = red;
    line.m_nViewType = GEOVIEW_LINE;
    CTestShape saved;
    saved.SetGeoView(line);
    const std::vector<BYTE> bytes = objbytes::Store(saved);
    const COLORREF kept = GetDefaultColor();
    for (COLORREF defaultColour : {0x112233u, 0x112233u, 0x445566u, 0x445566u}) {
        SetDefaultColor(defaultColour);
        CTestShape back;
        EXPECT_EQ(objbytes::Load(back, bytes), 0u);
        EXPECT_EQ(back.GetGeoView().m_crPointColor, defaultColour);
        EXPECT_EQ(back.GetGeoView().m_crLineColor, 0x0000FFu);
        EXPECT_EQ(objbytes::Store(back), bytes);
    }
    SetDefaultColor(kept);
}

TEST(GeoVectorObject, TruncatedRecordThrows) {
    CGeoVectorObject obj;
    const std::vector<BYTE> full = objbytes::Store(obj);
    for (size_t n = 0; n < full.size(); ++n) {
        CGeoVectorObject target;
        std::vector<BYTE> cut(full.begin(), full.begin() + static_cast<long>(n));
        EXPECT_THROW(objbytes::Load(target, cut), CArchiveException) << n;
    }
}

TEST(GeoVectorObject, DangleMarks) {
    struct Case {
        int before;
        int set;
        int after;
    } cases[] = {
        {0x1B, 0, 0x18},     // clears the dangle bits, keeps the false-node bits
        {0x1B, 8, 0x0B},     // replaces the false-node bits, keeps the dangle bits
        {0x10, 3, 0x13},
        {0x09, 0x10, 0x11},
        {0x03, 4, 0x07},     // 4 counts as a false-node value: the dangle bits stay
        {0x18, 1, 0x19},
    };
    for (const Case& c : cases) {
        CGeoVectorObject obj;
        obj.AddDangleType(c.before);
        EXPECT_EQ(obj.SetDangleType(c.set), c.before);
        EXPECT_EQ(obj.GetDangleType(), c.after) << c.before << " " << c.set;
    }
    CGeoVectorObject obj;
    EXPECT_EQ(obj.AddDangleType(DANGLE_FIRST | FALSENODE_LAST), 0x11);
    EXPECT_EQ(obj.AddDangleType(DANGLE_LAST), 0x13);
    EXPECT_EQ(obj.ClearDangleType(DANGLE_FIRST | FALSENODE_FIRST), 0x12);
}

TEST(GeoVectorObject, SymbolAttributeMarks) {
    const struct {
        int kind;
        WORD bit;
    } table[] = {{0, 0x001}, {1, 0x002}, {2, 0x080}, {3, 0x010}, {4, 0x004}, {5, 0x008},
                 {6, 0x020}, {7, 0x100}, {8, 0x400}, {9, 0x200}, {1000, 0x200}};
    for (const auto& t : table) {
        CGeoVectorObject obj;
        obj.SetSymbolAttributeMark(t.kind, 1);
        EXPECT_EQ(obj.GetSymbolAttribute(nullptr).GetAttribMask(), t.bit) << t.kind;
        obj.SetSymbolAttributeMark(t.kind, 0);
        EXPECT_EQ(obj.GetSymbolAttribute(nullptr).GetAttribMask(), 0) << t.kind;
    }
    CGeoVectorObject obj;
    obj.SetSymbolAttributeMark(2, 1);
    obj.SetSymbolAttributeMark(-1, 1);
    obj.SetSymbolAttributeMark(-1, 0);
    EXPECT_EQ(obj.GetSymbolAttribute(nullptr).GetAttribMask(), 0x080);
}

TEST(GeoVectorObject, SymbolAttributeFlagMirrorsIntoTheFlagByte) {
    CGeoVectorObject obj;
    obj.SetFlag(0xF0);
    obj.SetSymbolAttributeFlag(6);
    EXPECT_EQ(obj.GetFlag(), 0xF1);
    EXPECT_EQ(obj.GetSymbolAttributeFlag(), 6u);
    obj.SetSymbolAttributeFlag(0);
    EXPECT_EQ(obj.GetFlag(), 0xF0);
}

TEST(GeoVectorObject, SettingSymbolAttributes) {
    CGeoVectorObject obj;
    obj.SetSymbolAttribute(static_cast<DWORD>(VM_SYM_ITEM_WIDTH), "ignored", Int(9));  // a fixed slot by ID
    obj.SetSymbolAttribute(static_cast<DWORD>(30), "extra", Int(1));                  // no such item: added
    obj.SetSymbolAttribute(static_cast<DWORD>(30), "other", Int(2));                  // now it exists
    CSymbolAttrib a = obj.GetSymbolAttribute(nullptr);
    EXPECT_EQ(a.GetItemCount(), VM_SYM_FIXED_ITEMS + 1);
    EXPECT_EQ(Item(a, VM_SYM_ITEM_WIDTH).lValue, 9);
    EXPECT_EQ(Item(a, VM_SYM_FIXED_ITEMS).lValue, 2);

    obj.SetSymbolAttribute(0, Int(5));
    EXPECT_EQ(Item(obj.GetSymbolAttribute(nullptr), 0).lValue, 5);

    CSymbolAttrib replacement;
    replacement.SetAttribMask(0x10);
    obj.SetSymbolAttribute(replacement);
    EXPECT_EQ(obj.GetSymbolAttribute(nullptr).GetAttribMask(), 0x10);
    EXPECT_EQ(obj.GetSymbolAttribute(nullptr).GetItemCount(), VM_SYM_FIXED_ITEMS);
}

TEST(GeoVectorObject, PrepareSymbolAttributeForcesTheColourOnce) {
    CGeoVectorObject obj;
    EXPECT_EQ(obj.PrepareSymbolAttribute(nullptr, 5, 1, 0xFF), 0);  // keep the symbol's colours
    EXPECT_EQ(obj.GetSymbolAttribute(nullptr).GetAttribMask(), 0);

    EXPECT_EQ(obj.PrepareSymbolAttribute(nullptr, 5, 0, 0x00AABBCC), 0);
    CSymbolAttrib a = obj.GetSymbolAttribute(nullptr);
    EXPECT_EQ(a.GetAttribMask(), VM_SYM_MASK_COLOR);
    EXPECT_EQ(Item(a, VM_SYM_ITEM_COLOR).wType, VM_SYM_COLOR);
    EXPECT_EQ(Item(a, VM_SYM_ITEM_COLOR).crValue, 0x00AABBCCu);

    // The colour bit already set: the object's own colour stays.
    EXPECT_EQ(obj.PrepareSymbolAttribute(nullptr, 5, 0, 0x11), VM_SYM_MASK_COLOR);
    EXPECT_EQ(Item(obj.GetSymbolAttribute(nullptr), VM_SYM_ITEM_COLOR).crValue, 0x00AABBCCu);
}

TEST(GeoVectorObject, SymbolAttributesMergeOverTheLibrary) {
    CSymbolLibIO lib;
    CGeoFillSymbol* fill = new CGeoFillSymbol;
    fill->SetSymbolNumber(7);
    fill->m_crFill = 0x00112233;
    ASSERT_TRUE(lib.AddSymbol(fill));

    FillShape obj;
    obj.SetSymbolAttribute(VM_SYM_ITEM_WIDTH, Int(77));
    obj.SetSymbolAttribute(static_cast<DWORD>(50), "own", Int(1));
    obj.SetSymbolAttributeMark(4, 1);

    const CSymbolAttrib merged = obj.GetSymbolAttribute(&lib, 7);
    EXPECT_EQ(Item(merged, VM_SYM_ITEM_COLOR).crValue, 0x00112233u);  // the library's
    EXPECT_EQ(Item(merged, VM_SYM_ITEM_WIDTH).lValue, 77);            // the object's
    EXPECT_EQ(merged.GetAttribMask(), 0x04);                          // the object's mask
    EXPECT_EQ(merged.GetItemCount(), VM_SYM_FIXED_ITEMS);             // items the library lacks stay out

    // Without a library or symbol: the object's own record.
    EXPECT_EQ(obj.GetSymbolAttribute(&lib, 0).GetItemCount(), VM_SYM_FIXED_ITEMS + 1);
    EXPECT_EQ(obj.GetSymbolAttribute(nullptr, 7).GetItemCount(), VM_SYM_FIXED_ITEMS + 1);

    // The one-argument form asks the shape for its symbol in its class style (here its own view).
    EXPECT_EQ(obj.GetSymbolAttribute(&lib).GetItemCount(), VM_SYM_FIXED_ITEMS + 1);  // no symbol yet
    GEOVIEW view = obj.GetGeoView();
    view.SetSymbol(SYMBOL_FILL, 7);
    obj.SetGeoView(view);
    EXPECT_EQ(obj.GetSymbolID(nullptr), 7);
    EXPECT_EQ(Item(obj.GetSymbolAttribute(&lib), VM_SYM_ITEM_COLOR).crValue, 0x00112233u);
}

TEST(GeoVectorObject, CopiesAndDuplicates) {
    CTestShape src(CRect(1, 2, 3, 4));
    src.SetObjectName("源");
    src.SetUnit(6);
    src.SetZ(8.5);
    src.SetObjectClassID(3);
    src.SetSymbolAttributeMark(1, 1);

    CGeoVectorObject other;
    EXPECT_FALSE(other.IsSameType(src));
    EXPECT_EQ(other.Copy(src, 0, 0), 0);
    EXPECT_EQ(other.GetZ(), 0.0);

    CTestShape dst;
    EXPECT_TRUE(dst.IsSameType(src));
    EXPECT_EQ(dst.Copy(src, 0, 0), 1);
    EXPECT_EQ(dst.GetBounds(), CRect(1, 2, 3, 4));
    EXPECT_EQ(dst.GetUnit(), 6);
    EXPECT_EQ(dst.GetZ(), 8.5);
    EXPECT_EQ(dst.GetSymbolAttribute(nullptr).GetAttribMask(), 0x02);
    EXPECT_EQ(dst.GetObjectClassID(), 0u);  // the class comes with the attributes, not the data
    EXPECT_NE(dst.GetObjectName(), src.GetObjectName());

    CGeoObject* dup = src.Duplicate(0, 0);
    ASSERT_NE(dup, nullptr);
    EXPECT_TRUE(dup->IsKindOf(RUNTIME_CLASS(CTestShape)));
    EXPECT_EQ(static_cast<CTestShape*>(dup)->GetZ(), 8.5);
    dup->Remove();

    CGeoVectorObject plain;
    plain.SetZ(2.0);
    CGeoObject* plainDup = plain.Duplicate(0, 0);
    ASSERT_NE(plainDup, nullptr);
    EXPECT_EQ(plainDup->GetRuntimeClass(), RUNTIME_CLASS(CGeoVectorObject));
    delete plainDup;

    // Attributes come from a vector layer: a free source has none to give, so the copy fails.
    EXPECT_EQ(dst.Copy(src, 1, 0), 0);
    EXPECT_EQ(src.Duplicate(1, 0), nullptr);
    EXPECT_EQ(dst.CopyAttribute(src, 0), 0);
    EXPECT_EQ(dst.HasSameDBAttribute(src), 0);
}

TEST(GeoVectorObject, PointAndHeightContract) {
    CGeoVectorObject base;
    base.SetZ(4.5);
    EXPECT_EQ(base.GetPoints(), 0);
    EXPECT_EQ(base.GetTinPointNumber(), 0);
    EXPECT_EQ(base.GetPoint(2), CPoint(0, 0));
    EXPECT_EQ(base.GetX(1), 0);
    EXPECT_EQ(base.GetY(1), 0);
    EXPECT_EQ(base.GetZ(17), 4.5);
    CGeoTinPoint* cursor = nullptr;
    CPoint ref(0, 0);
    EXPECT_EQ(base.CreateTinPoints(cursor, ref), 0);
    EXPECT_EQ(cursor, nullptr);

    // GetTinPointNumber follows the shape's own point count.
    CTestShape shape(CRect(0, 0, 10, 20));
    EXPECT_EQ(shape.GetTinPointNumber(), 4);
    EXPECT_EQ(shape.GetPoint(2), CPoint(10, 20));
    EXPECT_EQ(shape.GetX(1), 10);
    EXPECT_EQ(shape.GetY(3), 20);
}

TEST(GeoVectorObject, AttributeDisplayCacheFlag) {
    CGeoVectorObject obj;
    obj.InitilizeAD(1);
    EXPECT_EQ(obj.IsADInitilized(), 1);
    obj.UninitilizeAD();
    EXPECT_EQ(obj.IsADInitilized(), 0);
}

TEST(GeoVectorObject, EnvelopmentIntersects) {
    struct Case {
        CRect bounds;
        CRect rect;
        int expected;
    } cases[] = {
        {CRect(5, 5, 5, 5), CRect(0, 0, 10, 10), 1},     // a point inside
        {CRect(10, 5, 10, 5), CRect(0, 0, 10, 10), 0},   // on the excluded right edge
        {CRect(5, 5, 5, 5), CRect(10, 10, 0, 0), 0},     // the rectangle is taken as given for a point
        {CRect(0, 0, 4, 4), CRect(10, 10, 3, 3), 1},     // areas overlap (the rectangle normalised)
        {CRect(0, 0, 4, 4), CRect(4, 0, 8, 4), 0},       // areas that only touch
        {CRect(0, 5, 20, 5), CRect(8, 0, 12, 10), 1},    // horizontal segment through it
        {CRect(0, 5, 20, 5), CRect(8, 6, 12, 10), 0},
        {CRect(3, 0, 3, 9), CRect(3, 9, 0, 20), 1},      // vertical segment touching a corner
    };
    for (const Case& c : cases) {
        CTestShape shape(c.bounds);
        EXPECT_EQ(shape.EnvelopmentIntersects(c.rect), c.expected)
            << c.bounds.left << "," << c.bounds.top << " " << c.rect.left << "," << c.rect.top;
    }
}

TEST(GeoVectorObject, FeatureClassOutsideAVectorLayer) {
    CGeoVectorObject obj;
    obj.SetObjectClassID(12);
    CGeoLayer layer;
    layer.Fetch(&obj);
    CGeoGClass gc;
    gc.SetGCName("道路");
    EXPECT_EQ(obj.GetGClass(gc), 0);  // only a vector layer's theme holds classes
    EXPECT_EQ(gc.GetGCName(), CString("道路"));
    EXPECT_EQ(obj.GetGClassName(), CString("未命名地物"));
    EXPECT_EQ(obj.IsVisible(500), 1);
}
