// The object index of a vector layer: a height-balanced (AVL) binary search tree keyed by object ID,
// with a list-like interface (positions, head/tail/next/previous walks in ascending key order).
//
// CAvlNode is a handle on one node record: copying a handle copies the pointer, never the record.
// The records belong to the tree; the objects they point to do not (the tree never deletes them).
//
// Failures are never thrown: operations return FALSE or NULL and leave a code in GetLastError (the
// table below, with the texts GetErrorMessage gives):
//   0 "No information available"            start of every search, insertion, successful deletion,
//                                            integrity check and GetInfo
//   1 "Unknown Error"                        a search that could not record its path (out of memory)
//   2 "Node replaced"                        an insertion that replaced a record of the same key
//   3 "Tree is empty"                        a search, GetInfo or integrity check on an empty tree
//   4 "Invalid list head node"               (not set)
//   5 "Invalid list tail node"               (not set)
//   6 "Found nodes with same key value"      an insertion of a key already present
//   7 "Node number is incorrect"             an integrity check counting another number of records
//   8 "The height of the tree is incorrect"  an integrity check measuring another height
//   9 "Can't find the corresponding node"    a search that does not find the key
#pragma once

#include <afx/afx.h>

#include <ctime>

class CGeoVectorObject;
class CAvlTree;

class CAvlNode : public CObject {
    DECLARE_SERIAL(CAvlNode)
public:
    // One record of the tree; a POSITION of the index points at one.
    struct DataCore : __POSITION {
        DataCore* parent;          // NULL at the root
        DataCore* left;            // subtree of smaller keys
        DataCore* right;           // subtree of larger keys
        int balance;               // height(right) - height(left): -1, 0 or +1
        UINT key;                  // object ID, compared unsigned
        CGeoVectorObject* value;   // not owned
    };

    CAvlNode() = default;
    explicit CAvlNode(DataCore* pNode) : m_pNode(pNode) {}
    CAvlNode(const CAvlNode& other) : CObject(), m_pNode(other.m_pNode) {}
    CAvlNode& operator=(const CAvlNode& other) { m_pNode = other.m_pNode; return *this; }
    // Does not free the record: records are freed by DeleteNode, Clear or the tree.
    ~CAvlNode() override = default;

    // Allocates a record (balance 0, key 0, no value, no links) and designates it; the record
    // designated before is not freed. FALSE when out of memory (the handle is unchanged then).
    BOOL NewNode();
    // Frees the designated record only (not its children) and designates nothing; FALSE when the
    // handle designates nothing.
    BOOL DeleteNode();
    // Frees the designated record and its whole subtree and designates nothing; FALSE when the handle
    // designates nothing. Links from outside the subtree to it are left as they are.
    BOOL Clear();

    BOOL IsNull() const { return m_pNode == nullptr; }
    DataCore* GetNode() const { return m_pNode; }

    // Accessors of the designated record; on an empty handle the getters give 0 / NULL and the
    // setters do nothing.
    UINT GetKey() const;
    void SetKey(UINT key);
    CGeoVectorObject* GetValue() const;
    void SetValue(CGeoVectorObject* pValue);
    int GetBalanceFactor() const;
    void SetBalanceFactor(int balance);

    // Set one link of the designated record to the record another handle designates (one way only).
    void SetParent(const CAvlNode& node);
    void SetLeftChild(const CAvlNode& node);
    void SetRightChild(const CAvlNode& node);
    void SetParentNull();
    void SetLeftChildNull();
    void SetRightChildNull();

    void SetToNode(const CAvlNode& node) { m_pNode = node.m_pNode; }
    void SetToNode(DataCore* pNode) { m_pNode = pNode; }

    // Move the handle to the parent / left / right child; FALSE and unchanged when there is none.
    BOOL StepUp();
    BOOL StepLeft();
    BOOL StepRight();

    // 1 when this key is greater than the other's, -1 when smaller, 0 when equal.
    int Compare(const CAvlNode& node) const;

    // Walks of the subtree below (and including) the designated record, in ascending key order.
    // GetNext / GetPrev return the value at the position and move it to the successor / predecessor
    // within the subtree, NULL after the last / first. NULL positions and values on an empty handle.
    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CGeoVectorObject* GetHead() const;
    CGeoVectorObject* GetTail() const;
    CGeoVectorObject* GetNext(POSITION& rPosition) const;
    CGeoVectorObject* GetPrev(POSITION& rPosition) const;

    // The subtree in breadth-first order: per queue entry BYTE 1, DWORD balance, DWORD key and the
    // value as an object (class tag or back-reference), or BYTE 0 for a missing record; BYTE 2 ends
    // it. Loading rebuilds the shape (entries after the first are the left, then right child of
    // the next queued record) and throws CArchiveException(badIndex) on a marker other than 0, 1, 2,
    // a balance outside -1..1, or an entry without a parent; a partly read subtree is freed.
    void Serialize(CArchive& ar) override;

private:
    friend class CAvlTree;
    DataCore* m_pNode = nullptr;
};

class CAvlTree : public CObject {
    DECLARE_SERIAL(CAvlTree)
public:
    struct TreeInfo {
        CAvlNode root;
        UINT nodeCount = 0;
        int height = 0;
    };
    struct SearchResult {
        CAvlNode node;          // in: designates a record with the key; out: found or last record
        int criticalDepth = -1; // depth of the deepest unbalanced record on the path, -1 when none
        CAvlNode critical;
        int lastDepth = -1;     // depth of the last record reached (0 = root)
        bool found = false;
    };

    CAvlTree();
    // Frees every record, the root handle and the search path (not the objects).
    ~CAvlTree() override;
    CAvlTree(const CAvlTree&) = delete;
    CAvlTree& operator=(const CAvlTree&) = delete;

    // ---- list-like part -------------------------------------------------------------------
    // Insert the object keyed by its ID (never replacing); AddHead is the same. The new record's
    // position, or NULL when the key is already present (error 6) or memory runs out.
    POSITION AddTail(CGeoVectorObject* pObject);
    POSITION AddHead(CGeoVectorObject* pObject);
    // The same with an explicit key; the value must be a CGeoVectorObject (or NULL).
    POSITION AddTail(UINT key, void* pValue);

    // The object indexed under the ID; NULL at once for 0 (no search, last error untouched), NULL when
    // absent (error 9, or 3 on an empty tree).
    CGeoVectorObject* Find(UINT id);
    // The position of the record keyed by the object's ID (the stored value is not compared); NULL
    // when absent or when pObject is NULL.
    POSITION Find(CGeoVectorObject* pObject);

    // Removes and frees the record with that position's key; NULL does nothing.
    void RemoveAt(POSITION position);
    // RemoveAt, then AddTail of the object: the record is re-keyed by the new object's ID.
    void SetAt(POSITION position, CGeoVectorObject* pObject);

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CGeoVectorObject* GetHead() const;
    CGeoVectorObject* GetTail() const;
    CGeoVectorObject* GetNext(POSITION& rPosition) const;
    CGeoVectorObject* GetPrev(POSITION& rPosition) const;

    int GetCount() const { return static_cast<int>(m_nNodeCount); }
    UINT GetNodeNumber() const { return m_nNodeCount; }
    int GetHeight() const { return m_nHeight; }
    BOOL IsEmpty() const { return m_nNodeCount == 0; }

    // Frees every record and the root handle; the tree is then as newly constructed (count 0,
    // height 0, a new one-byte search path).
    void Clear();

    int GetLastError() const { return m_nLastError; }
    // The text of the code (table above), at most nLength - 1 characters and a terminating NUL.
    // A code outside 0..9 gives "". Writes nothing when the buffer is NULL or nLength <= 0.
    static void GetErrorMessage(int nCode, char* pBuffer, int nLength);

    // ---- tree part --------------------------------------------------------------------------
    // Searches the key of the record the handle designates. Found: TRUE, the handle designates the
    // record. Not found: FALSE with error 9, the handle designates the last record reached. Empty
    // tree: FALSE with error 3. The outputs (each optional) are set to -1 / NULL first.
    bool Search(CAvlNode& node, int* pCriticalDepth, CAvlNode* pCritical, int* pLastDepth);
    bool Search(SearchResult& result);
    // Links the record the handle designates (its links and balance are reset) into the tree.
    // A present key: with bReplace and pReplaced the new record takes the old one's place, pReplaced
    // designates the unlinked old record (the caller frees it), error 2, TRUE; otherwise pReplaced
    // (when given) designates the existing record, error 6, FALSE. pResult, when given, receives the
    // search made for the key.
    bool Insert(CAvlNode& node, SearchResult* pResult, CAvlNode* pReplaced, bool bReplace);
    // Unlinks the record keyed like the record the handle designates; afterwards the handle designates
    // the unlinked record, which the caller frees. FALSE when absent (error 3 or 9).
    bool Delete(CAvlNode& node, SearchResult* pResult);
    // The root record; FALSE when the tree is empty.
    bool GetRoot(CAvlNode& node) const;
    // Makes the tree designate the given root, count and height (the records designated before are
    // not freed) and re-sizes the search path. The caller guarantees a valid AVL tree.
    void Attach(TreeInfo& info);
    // FALSE with error 3 when empty.
    bool GetInfo(TreeInfo& info);
    // Measures the height and counts the records: error 8 (height) or 7 (count) and FALSE on a
    // mismatch with the stored values; TRUE with error 3 on an empty tree. Balances are not checked.
    bool CheckIntegrity();

    // The root handle as an object (the archive's null object when empty), DWORD height, DWORD count.
    // Loading replaces the content; a tree that is not a valid AVL tree with the stored height and
    // count (keys out of order, wrong balances), or whose root handle is a back-reference to one read
    // earlier (the same tree stored twice in one archive), throws CArchiveException(badIndex) and leaves
    // the tree empty.
    void Serialize(CArchive& ar) override;

protected:
    void SetLastError(int nError) { m_nLastError = nError; }
    // Link both ways (the child may designate nothing).
    static void Connect_Left(CAvlNode& parent, CAvlNode& child);
    static void Connect_Right(CAvlNode& parent, CAvlNode& child);
    // Single rotation at a: its child on side dir (+1 right, -1 left) takes its place.
    void LL(CAvlNode& a, int dir);
    // Double rotation at a: the grandchild on side -dir of a's child on side dir takes a's place.
    void LR(CAvlNode& a, int dir);
    // Sizes the search path from the height (growth factor 1.5): grows it whenever the height reaches
    // the capacity; shrinks it only when 600 s have passed since the last resize and the need times
    // 1.3 is below the capacity. TRUE when a new buffer was allocated; FALSE when the buffer was kept
    // or the allocation failed.
    bool ReAllocSearchPath();

    CAvlNode* m_pRoot = nullptr;
    UINT m_nNodeCount = 0;
    int m_nHeight = 0;
    double m_dGrowthFactor = 1.5;
    int m_nPathCapacity = 0;
    char* m_pSearchPath = nullptr;
    time_t m_tLastResize = 0;
    double m_dShrinkDelay = 600.0;
    int m_nLastError = 0;
    int m_nVisitCounter = 0;

private:
    void ReplaceInParent(CAvlNode::DataCore* pOld, CAvlNode::DataCore* pNew);
    void SetRootRecord(CAvlNode::DataCore* pNode);
    // Height of the subtree, counting its records into m_nVisitCounter; iterative, so a degenerate
    // tree cannot exhaust the stack.
    int MeasureHeight(CAvlNode::DataCore* pTop);
    // TRUE when the records form a valid AVL tree: ordered keys, consistent parent links and balances.
    static bool IsValidAvl(CAvlNode::DataCore* pTop, int& nHeight, UINT& nCount);
};
