// The symbol attribute record: items by index and ID, the mask, and its archive bytes.
#include <quenby/SymbolAttrib.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

typedef std::vector<BYTE> Bytes;

Bytes Store(CSymbolAttrib& a) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        a.Serialize(ar);
        ar.Close();
    }
    return file.Data();
}

void Load(CSymbolAttrib& a, const Bytes& data) {
    CMemFile file(data.data(), static_cast<UINT>(data.size()));
    CArchive ar(&file, CArchive::load);
    a.Serialize(ar);
}

tagVM_SYM_VARIANT Int(LONG v) {
    tagVM_SYM_VARIANT x;
    x.wType = VM_SYM_INTEGER;
    x.lValue = v;
    return x;
}

tagVM_SYM_VARIANT Colour(COLORREF c) {
    tagVM_SYM_VARIANT x;
    x.wType = VM_SYM_COLOR;
    x.crValue = c;
    return x;
}

// Little-endian fields, written by hand.
struct Builder {
    Bytes b;
    Builder& w(WORD v) { return raw(&v, 2); }
    Builder& dw(DWORD v) { return raw(&v, 4); }
    Builder& str(const std::string& s) {
        b.push_back(static_cast<BYTE>(s.size()));
        return raw(s.data(), s.size());
    }
    Builder& raw(const void* p, size_t n) {
        b.insert(b.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
        return *this;
    }
};

// A record: the length of the body, then the body.
Bytes Record(const Bytes& body) {
    Builder r;
    r.dw(static_cast<DWORD>(body.size()));
    r.b.insert(r.b.end(), body.begin(), body.end());
    return r.b;
}

}  // namespace

TEST(SymbolAttrib, AClearedRecordHasNineUnsetSlots) {
    CSymbolAttrib a;
    EXPECT_EQ(a.GetItemCount(), 9);
    EXPECT_EQ(a.GetAttribMask(), 0);
    for (LONG i = 0; i < 9; ++i) {
        CString name;
        tagVM_SYM_VARIANT v = Int(7);
        EXPECT_EQ(a.GetAttribItem(i, name, v), VM_SYM_OK);
        EXPECT_EQ(v.wType, VM_SYM_NONE);
        EXPECT_EQ(a.GetAttribItemID(i), static_cast<DWORD>(i));
    }
    CString name;
    tagVM_SYM_VARIANT v;
    a.GetAttribItem(VM_SYM_ITEM_COLOR, name, v);
    EXPECT_EQ(name, CString("颜色"));
    a.GetAttribItem(VM_SYM_ITEM_WIDTH, name, v);
    EXPECT_EQ(name, CString("线宽"));
    EXPECT_EQ(Store(a), (Bytes{0x06, 0, 0, 0, 0x01, 0, 0, 0, 0, 0}));
}

TEST(SymbolAttrib, ItemsByIndexAndByID) {
    CSymbolAttrib a;
    EXPECT_EQ(a.SetAttribItem(VM_SYM_ITEM_COLOR, Colour(0x8C3232)), VM_SYM_OK);
    EXPECT_EQ(a.SetAttribItemByID(VM_SYM_ITEM_WIDTH, Int(25)), VM_SYM_OK);
    EXPECT_EQ(a.AddAttribItem("间距", 100, Int(-5)), VM_SYM_OK);
    EXPECT_EQ(a.GetItemCount(), 10);
    EXPECT_EQ(a.GetAttribItemID(9), 100u);

    struct Bad {
        LONG result, expected;
    } bad[] = {
        {a.AddAttribItem("again", 100, Int(1)), VM_SYM_ID_EXISTS},
        {a.AddAttribItem("slot", 4, Int(1)), VM_SYM_ID_EXISTS},
        {a.SetAttribItem(10, Int(1)), VM_SYM_BAD_INDEX},
        {a.SetAttribItem(-1, Int(1)), VM_SYM_BAD_INDEX},
        {a.SetAttribItemByID(101, Int(1)), VM_SYM_NO_ID},
    };
    for (const Bad& b : bad) EXPECT_EQ(b.result, b.expected);
    EXPECT_EQ(a.GetAttribItemID(10), 0xFFFFFFFFu);

    CString name = "kept";
    tagVM_SYM_VARIANT v = Int(3);
    EXPECT_EQ(a.GetAttribItemByID(101, name, v), VM_SYM_NO_ID);
    EXPECT_EQ(name, CString("kept"));
    EXPECT_EQ(v.lValue, 3);
    EXPECT_EQ(a.GetAttribItemByID(100, name, v), VM_SYM_OK);
    EXPECT_EQ(name, CString("间距"));
    EXPECT_EQ(v.lValue, -5);

    // The overrides count only with their mask bits.
    COLORREF cr = 0;
    LONG width = 0;
    EXPECT_FALSE(a.GetColorOverride(cr));
    EXPECT_FALSE(a.GetWidthOverride(width));
    EXPECT_EQ(a.SetAttribMask(VM_SYM_MASK_COLOR | VM_SYM_MASK_WIDTH), 0);
    EXPECT_TRUE(a.GetColorOverride(cr));
    EXPECT_EQ(cr, 0x8C3232u);
    EXPECT_TRUE(a.GetWidthOverride(width));
    EXPECT_EQ(width, 25);
    a.SetAttribItem(VM_SYM_ITEM_COLOR, Int(1));  // wrong type: no override
    EXPECT_FALSE(a.GetColorOverride(cr));

    a.Clear();
    EXPECT_EQ(a.GetItemCount(), 9);
    EXPECT_EQ(a.GetAttribMask(), 0);
}

TEST(SymbolAttrib, RecordBytes) {
    CSymbolAttrib a;
    a.SetAttribMask(0x0206);
    a.SetAttribItem(VM_SYM_ITEM_COLOR, Colour(0x8C3232));
    a.SetAttribItem(VM_SYM_ITEM_WIDTH, Int(25));
    a.AddAttribItem("间距", 100, Int(-5));
    Builder body;
    body.w(1).w(0x0206).w(3);
    body.dw(1).w(VM_SYM_COLOR).dw(0x8C3232).str("");
    body.dw(4).w(VM_SYM_INTEGER).dw(25).str("");
    body.dw(100).w(VM_SYM_INTEGER).dw(0xFFFFFFFB).str("间距");
    const Bytes expected = Record(body.b);
    EXPECT_EQ(Store(a), expected);

    CSymbolAttrib b;
    b.AddAttribItem("old", 55, Int(1));  // loading replaces everything
    Load(b, expected);
    EXPECT_EQ(b.GetItemCount(), 10);
    EXPECT_EQ(b.GetAttribMask(), 0x0206);
    EXPECT_EQ(Store(b), expected);
    CString name;
    tagVM_SYM_VARIANT v;
    EXPECT_EQ(b.GetAttribItemByID(55, name, v), VM_SYM_NO_ID);
    b.GetAttribItem(VM_SYM_ITEM_WIDTH, name, v);
    EXPECT_EQ(name, CString("线宽"));
    EXPECT_EQ(v.lValue, 25);
}

TEST(SymbolAttrib, DamagedRecordsRaiseArchiveExceptions) {
    CSymbolAttrib a;
    a.SetAttribItem(VM_SYM_ITEM_COLOR, Colour(0xFF));
    a.AddAttribItem("x", 20, Int(1));
    const Bytes good = Store(a);
    for (size_t n = 0; n < good.size(); ++n) {
        CSymbolAttrib b;
        EXPECT_THROW(Load(b, Bytes(good.begin(), good.begin() + n)), CArchiveException) << "prefix " << n;
    }

    Builder dup;
    dup.w(1).w(0).w(2).dw(20).w(1).dw(1).str("x").dw(20).w(1).dw(2).str("y");
    Builder zeroVersion;
    zeroVersion.w(0).w(0).w(0);
    Builder extra;
    extra.w(1).w(0).w(0).dw(0);
    const Bytes cases[] = {
        Record(dup.b),
        Record(zeroVersion.b),
        Record(extra.b),                        // version 1 ends after its items
        Builder().dw(0xFFFFFFF0).w(1).w(0).w(0).b,  // a length the data cannot hold
    };
    for (const Bytes& c : cases) {
        CSymbolAttrib b;
        b.SetAttribMask(7);
        EXPECT_THROW(Load(b, c), CArchiveException);
        EXPECT_EQ(b.GetAttribMask(), 0);  // left cleared
    }

    // A later version's tail is skipped.
    Builder later;
    later.w(2).w(0x10).w(0).dw(0xDEADBEEF);
    CSymbolAttrib b;
    Load(b, Record(later.b));
    EXPECT_EQ(b.GetAttribMask(), 0x10);
}
