// The object index: structure after every operation, list-like walks, error codes, the search-path
// sizing rule and the archive record.
#include "core/AvlTree.h"
#include "core/ObjectBytes.h"
#include "core/TestShape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <vector>

namespace {

// Stand-in values: distinct addresses that the tree stores but never dereferences.
char g_values[4096];
CGeoVectorObject* ValueFor(UINT key) { return reinterpret_cast<CGeoVectorObject*>(&g_values[key % sizeof g_values]); }

// Opens the protected state the sizing rule works on.
class ProbeTree : public CAvlTree {
public:
    int Capacity() const { return m_nPathCapacity; }
    void AgeLastResize(double seconds) { m_tLastResize -= static_cast<time_t>(seconds); }
    bool Resize() { return ReAllocSearchPath(); }
    void SetHeightForTest(int h) { m_nHeight = h; }
};

// Checks what CheckIntegrity leaves out: parent links, key order and every balance factor.
// Returns the subtree height.
int CheckAvl(CAvlNode n, const CAvlNode::DataCore* parent, std::vector<UINT>& keys) {
    if (n.IsNull()) return 0;
    EXPECT_EQ(n.GetNode()->parent, parent);
    CAvlNode l = n, r = n;
    int hl = l.StepLeft() ? CheckAvl(l, n.GetNode(), keys) : 0;
    keys.push_back(n.GetKey());
    int hr = r.StepRight() ? CheckAvl(r, n.GetNode(), keys) : 0;
    EXPECT_EQ(n.GetBalanceFactor(), hr - hl) << "key " << n.GetKey();
    return std::max(hl, hr) + 1;
}

void ExpectSameAs(CAvlTree& tree, const std::map<UINT, CGeoVectorObject*>& ref) {
    ASSERT_TRUE(tree.CheckIntegrity()) << "error " << tree.GetLastError();
    ASSERT_EQ(tree.GetNodeNumber(), ref.size());
    CAvlNode root;
    std::vector<UINT> keys;
    if (tree.GetRoot(root)) {
        int h = CheckAvl(root, nullptr, keys);
        ASSERT_EQ(h, tree.GetHeight());
    } else {
        ASSERT_TRUE(ref.empty());
        ASSERT_EQ(tree.GetHeight(), 0);
    }
    // Forward and backward walks give the values in key order.
    std::vector<CGeoVectorObject*> expected;
    for (auto& kv : ref) expected.push_back(kv.second);
    std::vector<CGeoVectorObject*> fwd, bwd;
    for (POSITION p = tree.GetHeadPosition(); p;) fwd.push_back(tree.GetNext(p));
    for (POSITION p = tree.GetTailPosition(); p;) bwd.push_back(tree.GetPrev(p));
    std::reverse(bwd.begin(), bwd.end());
    ASSERT_EQ(fwd, expected);
    ASSERT_EQ(bwd, expected);
    ASSERT_EQ(tree.GetHead(), ref.empty() ? nullptr : ref.begin()->second);
    ASSERT_EQ(tree.GetTail(), ref.empty() ? nullptr : ref.rbegin()->second);
}

}  // namespace

TEST(AvlTree, RandomisedAgainstStdMap) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 4; ++round) {
        CAvlTree tree;
        std::map<UINT, CGeoVectorObject*> ref;
        std::map<UINT, POSITION> positions;
        // A small key range makes duplicates and deletions of present keys common; the extreme
        // keys check that keys compare unsigned.
        const UINT range = round < 2 ? 64 : 1000;
        auto randomKey = [&] {
            int pick = static_cast<int>(rng() % 40);
            if (pick == 0) return 0xFFFFFFFFu;
            if (pick == 1) return 0x80000000u;
            return static_cast<UINT>(rng() % range) + 1;
        };
        for (int step = 0; step < 3000; ++step) {
            const int op = static_cast<int>(rng() % 10);
            const UINT key = randomKey();
            if (op < 5) {
                POSITION pos = tree.AddTail(key, ValueFor(key));
                if (ref.count(key)) {
                    ASSERT_EQ(pos, nullptr);
                    ASSERT_EQ(tree.GetLastError(), 6);
                } else {
                    ASSERT_NE(pos, nullptr);
                    ASSERT_EQ(tree.GetLastError(), 0);
                    ref[key] = ValueFor(key);
                    positions[key] = pos;
                }
            } else if (op < 7) {
                // Removal through a position handed out at insertion: positions stay valid while
                // other records are deleted and rotated.
                auto it = positions.lower_bound(key);
                if (it == positions.end()) continue;
                tree.RemoveAt(it->second);
                ref.erase(it->first);
                positions.erase(it);
            } else if (op < 8) {
                // Removal through the tree interface with a free-standing probe record.
                CAvlNode::DataCore probe{};
                probe.key = key;
                CAvlNode handle(&probe);
                bool removed = tree.Delete(handle, nullptr);
                ASSERT_EQ(removed, ref.count(key) == 1);
                if (removed) {
                    ASSERT_EQ(handle.GetKey(), key);
                    ASSERT_NE(handle.GetNode(), &probe);
                    handle.DeleteNode();
                    ref.erase(key);
                    positions.erase(key);
                } else {
                    ASSERT_EQ(tree.GetLastError(), ref.empty() ? 3 : 9);
                }
            } else {
                CGeoVectorObject* found = tree.Find(key);
                auto it = ref.find(key);
                ASSERT_EQ(found, it == ref.end() ? nullptr : it->second);
                if (!found) {
                    ASSERT_EQ(tree.GetLastError(), ref.empty() ? 3 : 9);
                }
            }
            ASSERT_NO_FATAL_FAILURE(ExpectSameAs(tree, ref)) << "round " << round << " step " << step;
        }
    }
}

TEST(AvlTree, AscendingInsertionsAndWalks) {
    CAvlTree tree;
    for (UINT k = 1; k <= 7; ++k) ASSERT_NE(tree.AddTail(k, ValueFor(k)), nullptr);
    EXPECT_EQ(tree.GetHeight(), 3);
    EXPECT_EQ(tree.GetCount(), 7);
    std::vector<CGeoVectorObject*> walk;
    for (POSITION p = tree.GetHeadPosition(); p;) walk.push_back(tree.GetNext(p));
    std::vector<CGeoVectorObject*> expected;
    for (UINT k = 1; k <= 7; ++k) expected.push_back(ValueFor(k));
    EXPECT_EQ(walk, expected);
    EXPECT_EQ(tree.GetTail(), ValueFor(7));
    // Root 4 with the perfect shape below it.
    CAvlNode root;
    ASSERT_TRUE(tree.GetRoot(root));
    EXPECT_EQ(root.GetKey(), 4u);
}

TEST(AvlTree, DuplicateKeyAndFindOfZero) {
    CAvlTree tree;
    ASSERT_NE(tree.AddTail(5, ValueFor(5)), nullptr);
    EXPECT_EQ(tree.AddTail(5, ValueFor(6)), nullptr);
    EXPECT_EQ(tree.GetLastError(), 6);
    char text[64];
    CAvlTree::GetErrorMessage(tree.GetLastError(), text, sizeof text);
    EXPECT_STREQ(text, "Found nodes with same key value");
    EXPECT_EQ(tree.Find(5u), ValueFor(5));  // the first value stays

    // 0 is never looked up and leaves the last error alone.
    tree.Find(77u);
    EXPECT_EQ(tree.GetLastError(), 9);
    EXPECT_EQ(tree.Find(0u), nullptr);
    EXPECT_EQ(tree.GetLastError(), 9);
}

TEST(AvlTree, InsertWithReplacement) {
    CAvlTree tree;
    for (UINT k : {20u, 10u, 30u, 25u}) tree.AddTail(k, ValueFor(k));
    CAvlNode fresh;
    ASSERT_TRUE(fresh.NewNode());
    fresh.SetKey(20);
    fresh.SetValue(ValueFor(99));
    CAvlNode replaced;
    ASSERT_TRUE(tree.Insert(fresh, nullptr, &replaced, true));
    EXPECT_EQ(tree.GetLastError(), 2);
    EXPECT_EQ(replaced.GetValue(), ValueFor(20));
    EXPECT_EQ(tree.Find(20u), ValueFor(99));
    std::map<UINT, CGeoVectorObject*> ref{{10, ValueFor(10)}, {20, ValueFor(99)}, {25, ValueFor(25)}, {30, ValueFor(30)}};
    ExpectSameAs(tree, ref);
    replaced.DeleteNode();

    // Without replacement the existing record is reported and nothing changes.
    CAvlNode other;
    other.NewNode();
    other.SetKey(25);
    CAvlNode existing;
    EXPECT_FALSE(tree.Insert(other, nullptr, &existing, false));
    EXPECT_EQ(tree.GetLastError(), 6);
    EXPECT_EQ(existing.GetValue(), ValueFor(25));
    other.DeleteNode();
}

TEST(AvlTree, SearchReportsCriticalNodeAndDepth) {
    CAvlTree tree;
    for (UINT k : {50u, 30u, 70u, 20u}) tree.AddTail(k, ValueFor(k));
    // 50 leans left (-1), 30 leans left (-1): a search for 25 passes both, ends below 20.
    CAvlTree::SearchResult sr;
    CAvlNode::DataCore probe{};
    probe.key = 25;
    sr.node.SetToNode(&probe);
    EXPECT_FALSE(tree.Search(sr));
    EXPECT_EQ(tree.GetLastError(), 9);
    EXPECT_EQ(sr.criticalDepth, 1);
    EXPECT_EQ(sr.critical.GetKey(), 30u);
    EXPECT_EQ(sr.lastDepth, 2);
    EXPECT_EQ(sr.node.GetKey(), 20u);

    probe.key = 70;
    sr.node.SetToNode(&probe);
    EXPECT_TRUE(tree.Search(sr));
    EXPECT_EQ(sr.lastDepth, 1);
    EXPECT_EQ(sr.node.GetValue(), ValueFor(70));
}

TEST(AvlTree, EmptyingAndClear) {
    CAvlTree tree;
    POSITION only = tree.AddTail(1, ValueFor(1));
    tree.RemoveAt(only);
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_EQ(tree.GetHeadPosition(), nullptr);
    EXPECT_EQ(tree.GetHeight(), 0);
    CAvlNode root;
    EXPECT_FALSE(tree.GetRoot(root));
    EXPECT_EQ(tree.Find(1u), nullptr);
    EXPECT_EQ(tree.GetLastError(), 3);
    tree.RemoveAt(nullptr);  // nothing happens

    for (UINT k = 1; k <= 100; ++k) tree.AddTail(k * 3, ValueFor(k));
    tree.Clear();
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_TRUE(tree.CheckIntegrity());
    EXPECT_EQ(tree.GetLastError(), 3);
    CAvlTree::TreeInfo info;
    EXPECT_FALSE(tree.GetInfo(info));
    EXPECT_EQ(tree.GetLastError(), 3);
    for (UINT k = 1; k <= 10; ++k) tree.AddTail(k, ValueFor(k));
    EXPECT_EQ(tree.GetCount(), 10);
    EXPECT_TRUE(tree.CheckIntegrity());
}

TEST(AvlTree, IntegrityCheckFindsWrongHeightAndCount) {
    CAvlTree tree;
    for (UINT k = 1; k <= 6; ++k) tree.AddTail(k, ValueFor(k));
    CAvlTree::TreeInfo info;
    ASSERT_TRUE(tree.GetInfo(info));
    EXPECT_EQ(info.nodeCount, 6u);
    EXPECT_EQ(info.height, 3);

    CAvlTree::TreeInfo wrong = info;
    wrong.height = 4;
    tree.Attach(wrong);
    EXPECT_FALSE(tree.CheckIntegrity());
    EXPECT_EQ(tree.GetLastError(), 8);
    wrong.height = 3;
    wrong.nodeCount = 7;
    tree.Attach(wrong);
    EXPECT_FALSE(tree.CheckIntegrity());
    EXPECT_EQ(tree.GetLastError(), 7);
    tree.Attach(info);
    EXPECT_TRUE(tree.CheckIntegrity());
    EXPECT_EQ(tree.GetLastError(), 0);
}

TEST(AvlTree, ErrorMessages) {
    struct Case {
        int code;
        int length;
        const char* expected;
    } cases[] = {
        {0, 64, "No information available"},
        {1, 64, "Unknown Error"},
        {2, 64, "Node replaced"},
        {3, 64, "Tree is empty"},
        {4, 64, "Invalid list head node"},
        {5, 64, "Invalid list tail node"},
        {6, 64, "Found nodes with same key value"},
        {7, 64, "Node number is incorrect"},
        {8, 64, "The height of the tree is incorrect"},
        {9, 64, "Can't find the corresponding node"},
        {10, 64, ""},
        {-1, 64, ""},
        {3, 5, "Tree"},  // cut to length - 1 and terminated
        {3, 1, ""},
    };
    for (const Case& c : cases) {
        char buf[64];
        std::memset(buf, 'x', sizeof buf);
        CAvlTree::GetErrorMessage(c.code, buf, c.length);
        EXPECT_STREQ(buf, c.expected) << "code " << c.code << " length " << c.length;
    }
    // A length of 0 or less writes nothing at all, not even a terminator before the buffer.
    char guard[4] = {'a', 'b', 'c', 'd'};
    CAvlTree::GetErrorMessage(0, guard + 2, 0);
    CAvlTree::GetErrorMessage(0, guard + 2, -5);
    EXPECT_EQ(std::string(guard, 4), "abcd");
    CAvlTree::GetErrorMessage(0, nullptr, 10);
}

TEST(AvlTree, SearchPathSizing) {
    ProbeTree tree;
    EXPECT_EQ(tree.Capacity(), 1);
    // Grows to floor((h + 1) * 1.5) whenever the height reaches the capacity.
    for (UINT k = 1; k <= 1000; ++k) {
        tree.AddTail(k, ValueFor(k));
        ASSERT_GT(tree.Capacity(), tree.GetHeight());
    }
    EXPECT_EQ(tree.GetHeight(), 10);
    int grown = tree.Capacity();
    EXPECT_EQ(grown, 16);  // floor(11 * 1.5) once the height reached 10

    // Falling height keeps the buffer while the last resize is recent...
    tree.SetHeightForTest(2);
    EXPECT_FALSE(tree.Resize());
    EXPECT_EQ(tree.Capacity(), grown);
    // ... and after 600 seconds shrinks it only when the need times 1.3 is below the capacity.
    tree.AgeLastResize(601);
    tree.SetHeightForTest(8);  // floor(9 * 1.5 * 1.3) = 17 >= 16: kept
    EXPECT_FALSE(tree.Resize());
    EXPECT_EQ(tree.Capacity(), grown);
    tree.SetHeightForTest(6);  // floor(7 * 1.5 * 1.3) = 13 < 16: shrinks to floor(7 * 1.5) = 10
    EXPECT_TRUE(tree.Resize());
    EXPECT_EQ(tree.Capacity(), 10);
    EXPECT_FALSE(tree.Resize());  // just resized
    tree.SetHeightForTest(10);
    tree.Clear();
    EXPECT_EQ(tree.Capacity(), 1);
}

TEST(AvlNode, HandleOperations) {
    CAvlNode a, b;
    EXPECT_FALSE(a.DeleteNode());
    EXPECT_FALSE(a.Clear());
    EXPECT_FALSE(a.StepUp());
    EXPECT_EQ(a.GetKey(), 0u);
    ASSERT_TRUE(a.NewNode());
    ASSERT_TRUE(b.NewNode());
    a.SetKey(10);
    b.SetKey(5);
    EXPECT_EQ(a.Compare(b), 1);
    EXPECT_EQ(b.Compare(a), -1);
    EXPECT_EQ(a.Compare(a), 0);
    a.SetLeftChild(b);
    b.SetParent(a);
    CAvlNode walker = a;
    EXPECT_FALSE(walker.StepRight());
    EXPECT_TRUE(walker.StepLeft());
    EXPECT_EQ(walker.GetKey(), 5u);
    EXPECT_TRUE(walker.StepUp());
    EXPECT_EQ(walker.GetKey(), 10u);
    // A walk from a child handle stays inside the child's subtree.
    b.SetValue(ValueFor(5));
    POSITION p = b.GetHeadPosition();
    EXPECT_EQ(b.GetNext(p), ValueFor(5));
    EXPECT_EQ(p, nullptr);
    EXPECT_TRUE(a.Clear());  // frees both records
    EXPECT_TRUE(a.IsNull());
}

namespace {

// Objects with IDs, as a layer indexes them.
std::vector<CTestShape*> MakeShapes(const std::vector<UINT>& ids) {
    std::vector<CTestShape*> shapes;
    for (UINT id : ids) {
        CTestShape* s = new CTestShape(CRect(0, 0, static_cast<int>(id), 1));
        s->SetID(id);
        shapes.push_back(s);
    }
    return shapes;
}

void FreeShapes(std::vector<CTestShape*>& shapes) {
    for (CTestShape* s : shapes) delete s;
    shapes.clear();
}

struct Shape {
    UINT key;
    int balance;
    int depth;
};

// Keys, balances and depths in order.
void Describe(CAvlNode n, int depth, std::vector<Shape>& out) {
    if (n.IsNull()) return;
    CAvlNode l = n, r = n;
    if (l.StepLeft()) Describe(l, depth + 1, out);
    out.push_back({n.GetKey(), n.GetBalanceFactor(), depth});
    if (r.StepRight()) Describe(r, depth + 1, out);
}

std::vector<Shape> Describe(CAvlTree& tree) {
    std::vector<Shape> out;
    CAvlNode root;
    if (tree.GetRoot(root)) Describe(root, 0, out);
    return out;
}

bool operator==(const Shape& a, const Shape& b) { return a.key == b.key && a.balance == b.balance && a.depth == b.depth; }

}  // namespace

TEST(AvlTree, ObjectInterface) {
    std::vector<CTestShape*> shapes = MakeShapes({30, 10, 20});
    CAvlTree tree;
    for (CTestShape* s : shapes) ASSERT_NE(tree.AddTail(s), nullptr);
    EXPECT_EQ(tree.AddHead(shapes[1]), nullptr);  // its ID is indexed already
    EXPECT_EQ(tree.GetLastError(), 6);
    EXPECT_EQ(tree.AddTail(static_cast<CGeoVectorObject*>(nullptr)), nullptr);
    EXPECT_EQ(tree.Find(20u), shapes[2]);

    // Find by object compares the key only.
    CTestShape stranger;
    stranger.SetID(20);
    POSITION p = tree.Find(&stranger);
    ASSERT_NE(p, nullptr);
    POSITION q = p;
    EXPECT_EQ(tree.GetNext(q), shapes[2]);
    stranger.SetID(21);
    EXPECT_EQ(tree.Find(&stranger), nullptr);
    EXPECT_EQ(tree.GetLastError(), 9);

    // SetAt re-keys the record by the new object's ID.
    tree.SetAt(p, &stranger);
    EXPECT_EQ(tree.Find(20u), nullptr);
    EXPECT_EQ(tree.Find(21u), &stranger);
    EXPECT_EQ(tree.GetCount(), 3);
    EXPECT_TRUE(tree.CheckIntegrity());
    FreeShapes(shapes);
}

TEST(AvlTree, RecordBytes) {
    // Three records without values: root 2, children 1 and 3, breadth first.
    CAvlTree tree;
    for (UINT k : {1u, 2u, 3u}) tree.AddTail(k, nullptr);
    const std::vector<BYTE> expected = objbytes::Bytes()
                                           .Word(0xFFFF).Word(0).Word(8)  // new class CAvlNode, schema 0
                                           .Byte('C').Byte('A').Byte('v').Byte('l')
                                           .Byte('N').Byte('o').Byte('d').Byte('e')
                                           .Byte(1).Long(0).Dword(2).Word(0)  // present, balance, key, NULL value
                                           .Byte(1).Long(0).Dword(1).Word(0)
                                           .Byte(1).Long(0).Dword(3).Word(0)
                                           .Byte(0).Byte(0).Byte(0).Byte(0)  // the four missing children
                                           .Byte(2)
                                           .Dword(2)   // height
                                           .Dword(3)   // count
                                           .Data();
    EXPECT_EQ(objbytes::Store(tree), expected);

    CAvlTree back;
    EXPECT_EQ(objbytes::Load(back, expected), 0u);
    EXPECT_EQ(Describe(back), Describe(tree));
    EXPECT_EQ(back.GetHeight(), 2);
    EXPECT_EQ(back.GetCount(), 3);

    // An empty tree: the null object, height 0, count 0.
    CAvlTree empty;
    const std::vector<BYTE> emptyBytes = objbytes::Bytes().Word(0).Dword(0).Dword(0).Data();
    EXPECT_EQ(objbytes::Store(empty), emptyBytes);
    EXPECT_EQ(objbytes::Load(back, emptyBytes), 0u);  // loading replaces what was there
    EXPECT_TRUE(back.IsEmpty());
    CAvlNode root;
    EXPECT_FALSE(back.GetRoot(root));
}

TEST(AvlTree, StoredTreeReloadsWithBackReferencesToItsObjects) {
    // A shape after random insertions and deletions, so that balances of every kind occur.
    std::mt19937 rng(7);
    std::vector<UINT> ids;
    for (UINT k = 1; k <= 300; ++k) ids.push_back(k * 7 + 3);
    std::shuffle(ids.begin(), ids.end(), rng);
    std::vector<CTestShape*> shapes = MakeShapes(ids);
    CAvlTree tree;
    for (CTestShape* s : shapes) tree.AddTail(s);
    for (size_t i = 0; i < shapes.size(); i += 3) tree.RemoveAt(tree.Find(shapes[i]));

    // The objects first (as a layer writes its object list), then the index.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteCount(static_cast<DWORD>(shapes.size()));
        for (CTestShape* s : shapes) ar << s;
        tree.Serialize(ar);
        ar.Close();
    }

    CMemFile in(file.Data().data(), static_cast<UINT>(file.Data().size()));
    CArchive ar(&in, CArchive::load);
    std::vector<CGeoVectorObject*> loaded;
    for (DWORD n = ar.ReadCount(); n > 0; --n) {
        CObject* p = nullptr;
        ar >> p;
        loaded.push_back(static_cast<CGeoVectorObject*>(p));
    }
    CAvlTree back;
    back.Serialize(ar);
    EXPECT_TRUE(ar.IsBufferEmpty());

    EXPECT_EQ(back.GetHeight(), tree.GetHeight());
    EXPECT_EQ(back.GetCount(), tree.GetCount());
    EXPECT_EQ(Describe(back), Describe(tree));
    EXPECT_TRUE(back.CheckIntegrity());
    // Each value is the object loaded earlier with that ID.
    for (CGeoVectorObject* p : loaded) {
        CGeoVectorObject* found = back.Find(p->GetID());
        if (found) {
            EXPECT_EQ(found, p);
        }
    }
    size_t indexed = 0;
    for (POSITION pos = back.GetHeadPosition(); pos; ++indexed) {
        CGeoVectorObject* v = back.GetNext(pos);
        EXPECT_NE(std::find(loaded.begin(), loaded.end(), v), loaded.end());
    }
    EXPECT_EQ(indexed, 200u);
    // The reloaded tree keeps working.
    back.RemoveAt(back.GetHeadPosition());
    EXPECT_TRUE(back.CheckIntegrity());
    for (CGeoVectorObject* p : loaded) delete p;
    FreeShapes(shapes);
}

TEST(AvlTree, CorruptRecordsThrowAndLeaveTheTreeEmpty) {
    auto tree3 = [](std::initializer_list<std::pair<int, UINT>> nodes, BYTE end, DWORD height, DWORD count) {
        objbytes::Bytes b;
        b.Word(0xFFFF).Word(0).Word(8);
        for (char c : std::string("CAvlNode")) b.Byte(static_cast<BYTE>(c));
        for (auto& n : nodes) {
            if (n.first == 99)
                b.Byte(0);
            else
                b.Byte(1).Long(n.first).Dword(n.second).Word(0);
        }
        b.Byte(end).Dword(height).Dword(count);
        return b.Data();
    };
    const std::vector<BYTE> good = tree3({{0, 2}, {0, 1}, {0, 3}, {99, 0}, {99, 0}, {99, 0}, {99, 0}}, 2, 2, 3);
    CAvlTree probe;
    ASSERT_EQ(objbytes::Load(probe, good), 0u);

    const std::vector<std::pair<const char*, std::vector<BYTE>>> bad = {
        {"keys out of order", tree3({{0, 2}, {0, 3}, {0, 1}, {99, 0}, {99, 0}, {99, 0}, {99, 0}}, 2, 2, 3)},
        {"balance out of range", tree3({{5, 2}, {0, 1}, {0, 3}, {99, 0}, {99, 0}, {99, 0}, {99, 0}}, 2, 2, 3)},
        {"balance that lies", tree3({{1, 2}, {0, 1}, {0, 3}, {99, 0}, {99, 0}, {99, 0}, {99, 0}}, 2, 2, 3)},
        {"a chain", tree3({{1, 1}, {99, 0}, {1, 2}, {99, 0}, {0, 3}, {99, 0}, {99, 0}}, 2, 3, 3)},
        {"wrong height", tree3({{0, 2}, {0, 1}, {0, 3}, {99, 0}, {99, 0}, {99, 0}, {99, 0}}, 2, 5, 3)},
        {"wrong count", tree3({{0, 2}, {0, 1}, {0, 3}, {99, 0}, {99, 0}, {99, 0}, {99, 0}}, 2, 2, 4)},
        {"bad marker", tree3({{0, 2}, {0, 1}, {0, 3}, {99, 0}, {99, 0}, {99, 0}, {99, 0}}, 7, 2, 3)},
        {"entry without parent", tree3({{99, 0}, {0, 1}}, 2, 0, 0)},
    };
    for (const auto& c : bad) {
        CAvlTree tree;
        tree.AddTail(5, nullptr);
        EXPECT_THROW(objbytes::Load(tree, c.second), CArchiveException) << c.first;
        EXPECT_TRUE(tree.IsEmpty()) << c.first;
        EXPECT_TRUE(tree.CheckIntegrity()) << c.first;
    }
    // The same tree stored twice: the second root is a back-reference, which would make two trees
    // own one set of records.
    {
        CAvlTree src;
        src.AddTail(1, nullptr);
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            src.Serialize(ar);
            src.Serialize(ar);
            ar.Close();
        }
        CMemFile in(file.Data().data(), static_cast<UINT>(file.Data().size()));
        CArchive ar(&in, CArchive::load);
        CAvlTree first, second;
        first.Serialize(ar);
        EXPECT_EQ(first.GetCount(), 1);
        EXPECT_THROW(second.Serialize(ar), CArchiveException);
        EXPECT_TRUE(second.IsEmpty());
    }
    for (size_t n = 0; n < good.size(); ++n) {
        CAvlTree tree;
        std::vector<BYTE> cut(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_THROW(objbytes::Load(tree, cut), CArchiveException) << n;
    }
}
