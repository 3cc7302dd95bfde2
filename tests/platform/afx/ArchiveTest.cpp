// Archive bytes: golden records for every length and tag form, and corrupt input.
#include <afx/afx.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

typedef std::vector<BYTE> Bytes;

Bytes Store(const std::function<void(CArchive&)>& write) {
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        write(ar);
        ar.Close();
    }
    return f.Data();
}

void Load(const Bytes& data, const std::function<void(CArchive&)>& read) {
    CMemFile f(data.data(), static_cast<UINT>(data.size()));
    CArchive ar(&f, CArchive::load);
    read(ar);
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

class CFoo : public CObject {
    DECLARE_SERIAL(CFoo)
public:
    LONG m_n = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) ar << m_n;
        else ar >> m_n;
    }
};
IMPLEMENT_SERIAL(CFoo, CObject, 2)

class CBar : public CObject {
    DECLARE_SERIAL(CBar)
};
IMPLEMENT_SERIAL(CBar, CObject, 1)

// Holds a child object, to show nested objects take later indices and are freed on failure.
class CHolder : public CObject {
    DECLARE_SERIAL(CHolder)
public:
    CObject* m_pChild = nullptr;
    ~CHolder() override { delete m_pChild; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) ar << m_pChild;
        else ar >> m_pChild;
    }
};
IMPLEMENT_SERIAL(CHolder, CObject, 1)

class CVersioned : public CObject {
    DECLARE_SERIAL(CVersioned)
public:
    UINT m_nSchemaRead = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsLoading()) m_nSchemaRead = ar.GetObjectSchema();
    }
};
IMPLEMENT_SERIAL(CVersioned, CObject, VERSIONABLE_SCHEMA | 3)

}  // namespace

TEST(Archive, ScalarsAreLittleEndianWithoutPadding) {
    Bytes b = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<LONG>(-2)
           << static_cast<DWORD>(0x89ABCDEF) << 1.5f << 1.15 << static_cast<COLORREF>(RGB(1, 2, 3));
        RECT r{1, 2, 3, 4};
        ar << r;
    });
    Bytes expect = {0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0x00, 0x00, 0xC0, 0x3F,
                    0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0xF2, 0x3F, 0x01, 0x02, 0x03, 0x00,
                    1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};
    EXPECT_EQ(b, expect);
    Load(b, [](CArchive& ar) {
        BYTE by; WORD w; LONG l; DWORD dw; float f; double d; COLORREF c; RECT r;
        ar >> by >> w >> l >> dw >> f >> d >> c >> r;
        EXPECT_EQ(by, 0x12); EXPECT_EQ(w, 0x3456); EXPECT_EQ(l, -2); EXPECT_EQ(dw, 0x89ABCDEFu);
        EXPECT_EQ(f, 1.5f); EXPECT_EQ(d, 1.15); EXPECT_EQ(c, RGB(1, 2, 3));
        EXPECT_EQ(r.right, 3);
    });
}

TEST(Archive, StringLengthForms) {
    struct Case { size_t n; Bytes prefix; };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        CString s(std::string(c.n, 'x'));
        Bytes b = Store([&](CArchive& ar) { ar << s; });
        ASSERT_EQ(b.size(), c.prefix.size() + c.n);
        EXPECT_EQ(Bytes(b.begin(), b.begin() + c.prefix.size()), c.prefix);
        CString back;
        Load(b, [&](CArchive& ar) { ar >> back; });
        EXPECT_EQ(back, s);
    }
}

// Strings read through a buffer that is refilled in the middle of them or that holds them whole read
// the same; the count of bytes read follows every refill, and the buffered bytes are what comes next.
TEST(Archive, SmallBufferStringsAndTheLoadCursor) {
    std::vector<CString> strings;
    // Up to 481 bytes each, through a buffer of the smallest size (512 bytes): many strings cross a refill.
    for (int n = 0; n < 14; ++n)
        strings.push_back(CString(std::string(static_cast<size_t>(37 * n), static_cast<char>('a' + n))));
    const Bytes b = Store([&](CArchive& ar) {
        for (const CString& s : strings) ar << s << static_cast<DWORD>(0xC0DE0000u + s.GetLength());
    });
    CMemFile f(b.data(), static_cast<UINT>(b.size()));
    CArchive ar(&f, CArchive::load, 1);
    ULONGLONG offset = 0;
    for (const CString& s : strings) {
        SCOPED_TRACE(s.GetLength());
        CString back;
        ar >> back;
        EXPECT_EQ(back, s);
        offset += (s.GetLength() < 255 ? 1 : 3) + static_cast<ULONGLONG>(s.GetLength());
        EXPECT_EQ(ar.GetLoadedCount(), offset);
        UINT available = 0;
        const BYTE* next = ar.GetLoadBuffer(available);
        EXPECT_LE(available, 512u);
        if (available > 0) {
            EXPECT_EQ(*next, b[static_cast<size_t>(offset)]);
        }
        if (available >= 4) {
            ar.SkipLoaded(4);  // the DWORD passed over instead of read
        } else {
            DWORD tag;
            ar >> tag;
            EXPECT_EQ(tag, 0xC0DE0000u + s.GetLength());
        }
        offset += 4;
        EXPECT_EQ(ar.GetLoadedCount(), offset);
    }
    UINT available = 0;
    ar.GetLoadBuffer(available);
    EXPECT_EQ(available, 0u);
    EXPECT_THROW(ar.SkipLoaded(1), CArchiveException);
}

TEST(Archive, GbkStringCountsBytes) {
    CString s("中文");
    Bytes b = Store([&](CArchive& ar) { ar << s; });
    EXPECT_EQ(b, (Bytes{0x04, 0xD6, 0xD0, 0xCE, 0xC4}));
}

TEST(Archive, WideStringIsReadAsGbk) {
    // Wide mark, length 2 in units, UTF-16LE "中A".
    Bytes b = {0xFF, 0xFE, 0xFF, 0x02, 0x2D, 0x4E, 0x41, 0x00};
    CString s;
    Load(b, [&](CArchive& ar) { ar >> s; });
    EXPECT_EQ(s, "中A");
}

TEST(Archive, CountForms) {
    struct Case { DWORD n; Bytes bytes; };
    const Case cases[] = {{0, {0x00, 0x00}},
                          {65534, {0xFE, 0xFF}},
                          {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
                          {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        Bytes b = Store([&](CArchive& ar) { ar.WriteCount(c.n); });
        EXPECT_EQ(b, c.bytes);
        DWORD back = 0;
        Load(b, [&](CArchive& ar) { back = ar.ReadCount(); });
        EXPECT_EQ(back, c.n);
    }
}

TEST(Archive, ObjectStreamNewKnownBackReferenceNull) {
    CFoo a, b;
    a.m_n = 1;
    b.m_n = 2;
    CBar c;
    Bytes bytes = Store([&](CArchive& ar) { ar << &a << &b << &a << static_cast<CObject*>(nullptr) << &c; });
    Bytes expect = {0xFF, 0xFF, 0x02, 0x00, 0x04, 0x00, 'C', 'F', 'o', 'o', 0x01, 0x00, 0x00, 0x00,
                    0x01, 0x80, 0x02, 0x00, 0x00, 0x00,
                    0x02, 0x00,
                    0x00, 0x00,
                    0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00, 'C', 'B', 'a', 'r'};
    EXPECT_EQ(bytes, expect);

    Load(bytes, [](CArchive& ar) {
        CFoo *pa, *pb, *pa2;
        CObject *pNull, *pc;
        ar >> pa >> pb >> pa2 >> pNull >> pc;
        EXPECT_EQ(pa->m_n, 1);
        EXPECT_EQ(pb->m_n, 2);
        EXPECT_EQ(pa, pa2);
        EXPECT_EQ(pNull, nullptr);
        EXPECT_TRUE(pc->IsKindOf(RUNTIME_CLASS(CBar)));
        delete pa;
        delete pb;
        delete pc;
    });
}

TEST(Archive, BigTagsThroughTheTestHook) {
    CFoo a;
    CBar c;
    // Object at index 0x8000 gets a big back-reference; class at index 0x8002 a big class tag.
    Bytes bytes = Store([&](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CFoo));  // class CFoo at 1
        ar.SetMapCountForTest(0x8000);
        ar << &a;                            // known class 1 -> 0x8001; a at 0x8000
        ar << &a;                            // big object tag
        ar.SetMapCountForTest(0x9000);
        ar << &c;                            // new class CBar at 0x9000, c at 0x9001
        CBar c2;
        ar << &c2;                           // big class tag for 0x9000
    });
    Bytes expect = Cat({{0xFF, 0xFF, 0x02, 0x00, 0x04, 0x00, 'C', 'F', 'o', 'o'},
                        {0x01, 0x80, 0x00, 0x00, 0x00, 0x00},
                        {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00},
                        {0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00, 'C', 'B', 'a', 'r'},
                        {0xFF, 0x7F, 0x00, 0x90, 0x00, 0x80}});
    EXPECT_EQ(bytes, expect);
    Load(bytes, [](CArchive& ar) {
        ar.ReadClass(RUNTIME_CLASS(CFoo));
        ar.SetMapCountForTest(0x8000);
        CFoo *p1, *p2;
        ar >> p1 >> p2;
        EXPECT_EQ(p1, p2);
        ar.SetMapCountForTest(0x9000);
        CObject *q1, *q2;
        ar >> q1 >> q2;
        EXPECT_NE(q1, q2);
        EXPECT_TRUE(q2->IsKindOf(RUNTIME_CLASS(CBar)));
        delete p1;
        delete q1;
        delete q2;
    });
}

TEST(Archive, CorruptObjectStreamsRaiseTheirCause) {
    struct Case { const char* what; Bytes bytes; int cause; };
    const Case cases[] = {
        {"unknown class", {0xFF, 0xFF, 0x01, 0x00, 0x03, 0x00, 'C', 'Q', 'z'}, CArchiveException::badClass},
        {"wrong schema", {0xFF, 0xFF, 0x07, 0x00, 0x04, 0x00, 'C', 'F', 'o', 'o'}, CArchiveException::badSchema},
        {"reference to nothing", {0x05, 0x00}, CArchiveException::badIndex},
        {"class index 0", {0x00, 0x80}, CArchiveException::badIndex},
        {"unknown class index", {0x03, 0x80}, CArchiveException::badIndex},
        {"overlong name", {0xFF, 0xFF, 0x01, 0x00, 0xFF, 0x00}, CArchiveException::badClass},
        {"reference to a class entry", Cat({{0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00, 'C', 'B', 'a', 'r'}, {0x01, 0x00}}),
         CArchiveException::badIndex},
        {"short body", {0xFF, 0xFF, 0x02, 0x00, 0x04, 0x00, 'C', 'F', 'o', 'o', 0x01}, CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            Load(c.bytes, [](CArchive& ar) {
                CObject* p1 = ar.ReadObject(nullptr);
                delete p1;
                CObject* p2 = ar.ReadObject(nullptr);
                delete p2;
            });
            ADD_FAILURE() << "no exception";
        } catch (CArchiveException& e) {
            EXPECT_EQ(e.m_cause, c.cause);
        }
    }
}

TEST(Archive, TypedReadOfAnotherClassIsBadClass) {
    CBar c;
    Bytes b = Store([&](CArchive& ar) { ar << &c; });
    try {
        Load(b, [](CArchive& ar) {
            CFoo* p;
            ar >> p;
        });
        FAIL();
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
}

TEST(Archive, VersionableSchemaAcceptsAnyStoredSchema) {
    Bytes b = {0xFF, 0xFF, 0x09, 0x00, 0x0A, 0x00, 'C', 'V', 'e', 'r', 's', 'i', 'o', 'n', 'e', 'd'};
    Load(b, [](CArchive& ar) {
        CVersioned* p;
        ar >> p;
        EXPECT_EQ(p->m_nSchemaRead, 9u);
        delete p;
    });
}

TEST(Archive, NestedObjectsTakeLaterIndicesAndCyclesEnd) {
    CHolder outer;
    auto* inner = new CHolder;
    outer.m_pChild = inner;
    Bytes b = Store([&](CArchive& ar) { ar << &outer << inner; });
    // CHolder class 1, outer 2, inner (known class) 3 with NULL child, then back-reference 3.
    Bytes expect = {0xFF, 0xFF, 0x01, 0x00, 0x07, 0x00, 'C', 'H', 'o', 'l', 'd', 'e', 'r',
                    0x01, 0x80, 0x00, 0x00, 0x03, 0x00};
    EXPECT_EQ(b, expect);
}

TEST(Archive, ShortReadsThrowEndOfFileButReadReturnsShortCount) {
    Bytes b = {1, 2, 3};
    Load(b, [](CArchive& ar) {
        BYTE buf[8];
        EXPECT_EQ(ar.Read(buf, 8), 3u);
        LONG l;
        EXPECT_THROW(ar >> l, CArchiveException);
    });
}

TEST(Archive, CorruptLengthDoesNotAllocate) {
    // A string claiming 4 GB with three bytes behind it.
    Bytes b = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'};
    CString s;
    try {
        Load(b, [&](CArchive& ar) { ar >> s; });
        FAIL();
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    // A collection count promising more elements than the data holds.
    Bytes c = {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 1, 2, 3, 4};
    CDWordArray arr;
    EXPECT_THROW(Load(c, [&](CArchive& ar) { arr.Serialize(ar); }), CArchiveException);
}

TEST(Archive, TruncationAtEveryOffsetThrowsAndLeaksNothing) {
    CObList list;
    CFoo a;
    a.m_n = 7;
    CHolder h;
    h.m_pChild = new CFoo;
    list.AddTail(&a);
    list.AddTail(&h);
    list.AddTail(&a);
    CString name("名字\\@");
    Bytes full = Store([&](CArchive& ar) {
        ar << name;
        list.Serialize(ar);
        ar << 1.38f;
    });
    list.RemoveAll();
    for (size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        Bytes part(full.begin(), full.begin() + cut);
        CObList back;
        bool threw = false;
        try {
            Load(part, [&](CArchive& ar) {
                CString n;
                float v;
                ar >> n;
                back.Serialize(ar);
                ar >> v;
            });
        } catch (CArchiveException& e) {
            threw = true;
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        }
        EXPECT_TRUE(threw);
        // The list owns what was read before the cut; the object being read at the cut was freed.
        std::vector<CObject*> distinct;
        for (POSITION p = back.GetHeadPosition(); p;) {
            CObject* o = back.GetNext(p);
            if (std::find(distinct.begin(), distinct.end(), o) == distinct.end()) distinct.push_back(o);
        }
        for (CObject* o : distinct) delete o;
    }
}

TEST(Archive, ExceptionTextsAndMessageBuffer) {
    CArchiveException e(CArchiveException::badSchema);
    char buf[8] = "xxxxxxx";
    EXPECT_FALSE(e.GetErrorMessage(buf, 0));
    EXPECT_EQ(buf[0], 'x');
    EXPECT_TRUE(e.GetErrorMessage(buf, sizeof buf));
    EXPECT_EQ(std::string(buf).size(), 7u);
}

// An owner reads only objects new in the archive: a reference back to one read before (a sibling's, or
// the owner itself still being read) is refused, where a plain read would hand out the same object.
TEST(Archive, OwnedReadsRefuseReferencesToObjectsReadBefore) {
    CFoo a;
    CHolder self;
    self.m_pChild = &self;  // an object that names itself, as a corrupt list naming its layer does
    Bytes twice = Store([&](CArchive& ar) { ar << &a << &a; });
    Bytes cycle = Store([&](CArchive& ar) { ar << &self; });
    self.m_pChild = nullptr;

    Load(twice, [](CArchive& ar) {
        std::unique_ptr<CObject> first(ar.ReadOwnedObject(RUNTIME_CLASS(CFoo)));
        ASSERT_NE(first, nullptr);
        try {
            ar.ReadOwnedObject(RUNTIME_CLASS(CFoo));
            ADD_FAILURE() << "a second owner was handed the same object";
        } catch (CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
        }
    });
    Load(twice, [](CArchive& ar) {
        std::unique_ptr<CObject> first(ar.ReadObject(nullptr));
        EXPECT_EQ(ar.ReadObject(nullptr), first.get()) << "a plain read may share";
    });

    // The holder reads its child as an owner would; the child is the holder itself.
    class COwningHolder : public CHolder {
    public:
        void Load(CArchive& ar) { m_pChild = ar.ReadOwnedObject(nullptr); }
    };
    Bytes body(cycle.begin(), cycle.end());
    Load(body, [](CArchive& ar) {
        CRuntimeClass* cls = ar.ReadClass();
        ASSERT_NE(cls, nullptr);
        COwningHolder holder;
        ar.MapObject(&holder);
        try {
            holder.Load(ar);
            ADD_FAILURE() << "the holder was made to own itself";
        } catch (CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
        }
        EXPECT_EQ(holder.m_pChild, nullptr);
    });
}
