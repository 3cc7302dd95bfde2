// Lists, arrays and maps: POSITION walks, typed access, archive forms and the map's bucket order.
#include <afx/afx.h>
#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<BYTE> StoreObj(CObject& o) {
    CMemFile f;
    CArchive ar(&f, CArchive::store);
    o.Serialize(ar);
    ar.Close();
    return f.Data();
}
void LoadObj(CObject& o, const std::vector<BYTE>& b) {
    CMemFile f(b.data(), static_cast<UINT>(b.size()));
    CArchive ar(&f, CArchive::load);
    o.Serialize(ar);
}
}  // namespace

TEST(Collections, ListInsertRemoveAndWalkBothWays) {
    CStringList l;
    POSITION b = l.AddTail("b");
    l.AddHead("a");
    l.InsertAfter(b, "d");
    l.InsertBefore(l.Find("d"), "c");
    std::vector<CString> fwd, back;
    for (POSITION p = l.GetHeadPosition(); p;) fwd.push_back(l.GetNext(p));
    for (POSITION p = l.GetTailPosition(); p;) back.push_back(l.GetPrev(p));
    EXPECT_EQ(fwd, (std::vector<CString>{"a", "b", "c", "d"}));
    EXPECT_EQ(back, (std::vector<CString>{"d", "c", "b", "a"}));
    EXPECT_EQ(l.GetAt(l.FindIndex(2)), "c");
    EXPECT_EQ(l.FindIndex(4), nullptr);
    l.RemoveAt(b);
    EXPECT_EQ(l.GetCount(), 3);
    EXPECT_EQ(l.RemoveHead(), "a");
    EXPECT_EQ(l.RemoveTail(), "d");
    EXPECT_EQ(l.GetHead(), "c");
}

// Nodes come from blocks and removed ones are taken again: elements that own heap memory (strings
// longer than the in-place buffer) survive churn across block boundaries, emptying and refilling, with
// nothing leaked or freed twice (the sanitizers of the test build watch that).
TEST(Collections, ListNodesReusedAcrossBlocks) {
    CStringList l(3);
    std::vector<CString> want;
    auto name = [](int i) { return CString("a string long enough to live on the heap, number ") + CString('a' + i % 26); };
    auto check = [&] {
        std::vector<CString> got;
        for (POSITION p = l.GetHeadPosition(); p;) got.push_back(l.GetNext(p));
        EXPECT_EQ(got, want);
        EXPECT_EQ(l.GetCount(), static_cast<int>(want.size()));
    };
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 10; ++i) {
            l.AddTail(name(i));
            want.push_back(name(i));
        }
        // Every other one out, then new ones in at the front, filling the freed nodes first.
        POSITION p = l.GetHeadPosition();
        for (size_t i = 0; p; ++i) {
            POSITION at = p;
            l.GetNext(p);
            if (i % 2 == 0) l.RemoveAt(at);
        }
        for (size_t i = want.size(); i-- > 0;)
            if (i % 2 == 0) want.erase(want.begin() + static_cast<long>(i));
        for (int i = 10; i < 14; ++i) {
            l.AddHead(name(i));
            want.insert(want.begin(), name(i));
        }
        check();
        // Emptied one by one (the blocks go with the last node), then filled again.
        while (!l.IsEmpty()) {
            EXPECT_EQ(l.RemoveHead(), want.front());
            want.erase(want.begin());
        }
        check();
    }
    l.AddTail(name(1));
    l.RemoveAll();
    l.AddTail(name(2));
    want = {name(2)};
    check();
}

TEST(Collections, TypedPtrListAndObListLoadAppends) {
    CTypedPtrList<CObList, CStringList*> typed;
    CStringList s1, s2;
    typed.AddTail(&s1);
    typed.AddHead(&s2);
    EXPECT_EQ(typed.GetHead(), &s2);
    POSITION p = typed.GetHeadPosition();
    CStringList* first = typed.GetNext(p);
    EXPECT_EQ(first, &s2);
    // Whole lists: a list pointer is never taken for an element.
    CTypedPtrList<CObList, CStringList*> more;
    more.AddTail(&typed);
    more.AddHead(&typed);
    EXPECT_EQ(more.GetCount(), 4);
    EXPECT_EQ(more.GetHead(), &s2);
    EXPECT_EQ(more.GetTail(), &s1);
    CObList plain;
    plain.AddTail(&more);
    EXPECT_EQ(plain.GetCount(), 4);

    CStringList strings;
    strings.AddTail("x");
    strings.AddTail("图");
    auto bytes = StoreObj(strings);
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x02, 0x00, 0x01, 'x', 0x02, 0xCD, 0xBC}));
    CStringList target;
    target.AddTail("old");
    LoadObj(target, bytes);
    EXPECT_EQ(target.GetCount(), 3);
    EXPECT_EQ(target.GetHead(), "old");
}

TEST(Collections, ArraysAndTheirRecords) {
    CDWordArray a;
    a.Add(1);
    a.Add(0x01020304);
    EXPECT_EQ(StoreObj(a), (std::vector<BYTE>{0x02, 0x00, 1, 0, 0, 0, 4, 3, 2, 1}));
    CArray<POINT, POINT&> pts;
    POINT p{5, -1};
    pts.Add(p);
    EXPECT_EQ(StoreObj(pts), (std::vector<BYTE>{0x01, 0x00, 5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    CArray<POINT, POINT&> back;
    LoadObj(back, StoreObj(pts));
    ASSERT_EQ(back.GetSize(), 1);
    EXPECT_EQ(back[0].y, -1);
    CUIntArray u;
    u.SetSize(3);
    u.InsertAt(1, 9u, 2);
    u.RemoveAt(0);
    EXPECT_EQ(u.GetSize(), 4);
    EXPECT_EQ(u[0], 9u);
    u.SetAtGrow(6, 1);
    EXPECT_EQ(u.GetSize(), 7);
}

TEST(Collections, MapIteratesBucketsInOrderNewestFirst) {
    // With 17 buckets and hash = key >> 4: keys 0 and 272 share bucket 0; 16 is in bucket 1.
    CMap<UINT, UINT, int, int> m;
    m.SetAt(16, 1);
    m.SetAt(0, 2);
    m.SetAt(272, 3);
    std::vector<UINT> order;
    for (POSITION p = m.GetStartPosition(); p;) {
        UINT k;
        int v;
        m.GetNextAssoc(p, k, v);
        order.push_back(k);
    }
    EXPECT_EQ(order, (std::vector<UINT>{272, 0, 16}));
    int v = 0;
    EXPECT_TRUE(m.Lookup(272, v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(m.RemoveKey(0));
    EXPECT_FALSE(m.Lookup(0, v));
    EXPECT_EQ(m.GetCount(), 2);

    CMapStringToPtr sp;
    int x;
    sp.SetAt("key", &x);
    void* got = nullptr;
    EXPECT_TRUE(sp.Lookup("key", got));
    EXPECT_EQ(got, &x);
    EXPECT_FALSE(sp.Lookup("KEY", got));

    CMapWordToPtr wp;
    wp[3] = &x;
    EXPECT_TRUE(wp.Lookup(3, got));
}
