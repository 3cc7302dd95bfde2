#include "core/AvlTree.h"

#include "core/GeoVectorObject.h"

#include <cmath>
#include <cstring>
#include <new>
#include <queue>
#include <vector>

IMPLEMENT_SERIAL(CAvlNode, CObject, 0)
IMPLEMENT_SERIAL(CAvlTree, CObject, 0)

namespace {

using Rec = CAvlNode::DataCore;

// The child on side dir: +1 right, -1 left.
Rec*& Child(Rec* p, int dir) { return dir > 0 ? p->right : p->left; }

Rec* Leftmost(Rec* p) {
    while (p->left) p = p->left;
    return p;
}
Rec* Rightmost(Rec* p) {
    while (p->right) p = p->right;
    return p;
}

// The in-order successor of x within the subtree of top, or NULL.
Rec* Successor(Rec* x, Rec* top) {
    if (x->right) return Leftmost(x->right);
    while (x != top && x->parent && x == x->parent->right) x = x->parent;
    if (x == top || !x->parent) return nullptr;
    return x->parent;
}
Rec* Predecessor(Rec* x, Rec* top) {
    if (x->left) return Rightmost(x->left);
    while (x != top && x->parent && x == x->parent->left) x = x->parent;
    if (x == top || !x->parent) return nullptr;
    return x->parent;
}

// Frees a subtree without recursion.
void FreeSubtree(Rec* top) {
    std::vector<Rec*> stack;
    if (top) stack.push_back(top);
    while (!stack.empty()) {
        Rec* p = stack.back();
        stack.pop_back();
        if (p->left) stack.push_back(p->left);
        if (p->right) stack.push_back(p->right);
        delete p;
    }
}

const char* const kErrorTexts[] = {
    "No information available",
    "Unknown Error",
    "Node replaced",
    "Tree is empty",
    "Invalid list head node",
    "Invalid list tail node",
    "Found nodes with same key value",
    "Node number is incorrect",
    "The height of the tree is incorrect",
    "Can't find the corresponding node",
};

void WriteValue(CArchive& ar, CGeoVectorObject* pValue) { ar.WriteObject(pValue); }
CGeoVectorObject* ReadValue(CArchive& ar) {
    return static_cast<CGeoVectorObject*>(ar.ReadObject(RUNTIME_CLASS(CGeoVectorObject)));
}

}  // namespace

// =============================================================================================
// CAvlNode

BOOL CAvlNode::NewNode() {
    Rec* p = new (std::nothrow) Rec{};
    if (!p) return FALSE;
    m_pNode = p;
    return TRUE;
}

BOOL CAvlNode::DeleteNode() {
    if (!m_pNode) return FALSE;
    delete m_pNode;
    m_pNode = nullptr;
    return TRUE;
}

BOOL CAvlNode::Clear() {
    if (!m_pNode) return FALSE;
    FreeSubtree(m_pNode);
    m_pNode = nullptr;
    return TRUE;
}

UINT CAvlNode::GetKey() const { return m_pNode ? m_pNode->key : 0; }
void CAvlNode::SetKey(UINT key) {
    if (m_pNode) m_pNode->key = key;
}
CGeoVectorObject* CAvlNode::GetValue() const { return m_pNode ? m_pNode->value : nullptr; }
void CAvlNode::SetValue(CGeoVectorObject* pValue) {
    if (m_pNode) m_pNode->value = pValue;
}
int CAvlNode::GetBalanceFactor() const { return m_pNode ? m_pNode->balance : 0; }
void CAvlNode::SetBalanceFactor(int balance) {
    if (m_pNode) m_pNode->balance = balance;
}

void CAvlNode::SetParent(const CAvlNode& node) {
    if (m_pNode) m_pNode->parent = node.m_pNode;
}
void CAvlNode::SetLeftChild(const CAvlNode& node) {
    if (m_pNode) m_pNode->left = node.m_pNode;
}
void CAvlNode::SetRightChild(const CAvlNode& node) {
    if (m_pNode) m_pNode->right = node.m_pNode;
}
void CAvlNode::SetParentNull() {
    if (m_pNode) m_pNode->parent = nullptr;
}
void CAvlNode::SetLeftChildNull() {
    if (m_pNode) m_pNode->left = nullptr;
}
void CAvlNode::SetRightChildNull() {
    if (m_pNode) m_pNode->right = nullptr;
}

BOOL CAvlNode::StepUp() {
    if (!m_pNode || !m_pNode->parent) return FALSE;
    m_pNode = m_pNode->parent;
    return TRUE;
}
BOOL CAvlNode::StepLeft() {
    if (!m_pNode || !m_pNode->left) return FALSE;
    m_pNode = m_pNode->left;
    return TRUE;
}
BOOL CAvlNode::StepRight() {
    if (!m_pNode || !m_pNode->right) return FALSE;
    m_pNode = m_pNode->right;
    return TRUE;
}

int CAvlNode::Compare(const CAvlNode& node) const {
    UINT a = GetKey();
    UINT b = node.GetKey();
    return a > b ? 1 : (a < b ? -1 : 0);
}

POSITION CAvlNode::GetHeadPosition() const { return m_pNode ? Leftmost(m_pNode) : nullptr; }
POSITION CAvlNode::GetTailPosition() const { return m_pNode ? Rightmost(m_pNode) : nullptr; }
CGeoVectorObject* CAvlNode::GetHead() const { return m_pNode ? Leftmost(m_pNode)->value : nullptr; }
CGeoVectorObject* CAvlNode::GetTail() const { return m_pNode ? Rightmost(m_pNode)->value : nullptr; }

CGeoVectorObject* CAvlNode::GetNext(POSITION& rPosition) const {
    Rec* p = static_cast<Rec*>(rPosition);
    if (!p) return nullptr;
    rPosition = Successor(p, m_pNode);
    return p->value;
}

CGeoVectorObject* CAvlNode::GetPrev(POSITION& rPosition) const {
    Rec* p = static_cast<Rec*>(rPosition);
    if (!p) return nullptr;
    rPosition = Predecessor(p, m_pNode);
    return p->value;
}

void CAvlNode::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        std::queue<Rec*> queue;
        queue.push(m_pNode);
        while (!queue.empty()) {
            Rec* p = queue.front();
            queue.pop();
            if (!p) {
                ar << static_cast<BYTE>(0);
                continue;
            }
            ar << static_cast<BYTE>(1) << static_cast<DWORD>(p->balance) << static_cast<DWORD>(p->key);
            WriteValue(ar, p->value);
            queue.push(p->left);
            queue.push(p->right);
        }
        ar << static_cast<BYTE>(2);
        return;
    }

    // Loading: the first entry is this handle's record; every later one is the left, then the right
    // child of the next record taken from the queue of the records read so far.
    Rec* top = nullptr;
    std::queue<Rec*> parents;
    Rec* parent = nullptr;
    bool first = true;
    bool nextIsLeft = true;
    try {
        for (;;) {
            BYTE marker = 0;
            ar >> marker;
            if (marker == 2) break;
            if (marker > 2) AfxThrowArchiveException(CArchiveException::badIndex);
            if (!first && nextIsLeft) {
                if (parents.empty()) AfxThrowArchiveException(CArchiveException::badIndex);
                parent = parents.front();
                parents.pop();
            }
            if (marker == 1) {
                LONG balance = 0;
                DWORD key = 0;
                ar >> balance >> key;
                if (balance < -1 || balance > 1) AfxThrowArchiveException(CArchiveException::badIndex);
                Rec* r = new Rec{};
                r->balance = balance;
                r->key = key;
                if (first) {
                    top = r;
                } else {
                    r->parent = parent;
                    Child(parent, nextIsLeft ? -1 : 1) = r;
                }
                parents.push(r);
                r->value = ReadValue(ar);
            }
            if (!first) nextIsLeft = !nextIsLeft;
            first = false;
        }
    } catch (...) {
        FreeSubtree(top);
        throw;
    }
    m_pNode = top;
}

// =============================================================================================
// CAvlTree

CAvlTree::CAvlTree() {
    m_tLastResize = ::time(nullptr);
    ReAllocSearchPath();
}

CAvlTree::~CAvlTree() {
    if (m_pRoot) {
        m_pRoot->Clear();
        delete m_pRoot;
    }
    delete[] m_pSearchPath;
}

void CAvlTree::GetErrorMessage(int nCode, char* pBuffer, int nLength) {
    if (!pBuffer || nLength <= 0) return;
    const char* text = (nCode >= 0 && nCode <= 9) ? kErrorTexts[nCode] : "";
    std::strncpy(pBuffer, text, static_cast<size_t>(nLength));
    pBuffer[nLength - 1] = '\0';
}

bool CAvlTree::ReAllocSearchPath() {
    int need = static_cast<int>(std::floor((m_nHeight + 1) * m_dGrowthFactor));
    if (m_nHeight < m_nPathCapacity) {
        time_t now = ::time(nullptr);
        if (std::difftime(now, m_tLastResize) < m_dShrinkDelay) return false;
        if (static_cast<int>(std::floor((m_nHeight + 1) * m_dGrowthFactor * 1.3)) >= m_nPathCapacity) return false;
    }
    // The old contents are not needed: every search rewrites the path from the root.
    char* p = new (std::nothrow) char[static_cast<size_t>(need)];
    if (!p) return false;
    std::memset(p, 0, static_cast<size_t>(need));
    delete[] m_pSearchPath;
    m_pSearchPath = p;
    m_nPathCapacity = need;
    m_tLastResize = ::time(nullptr);
    return true;
}

void CAvlTree::SetRootRecord(Rec* pNode) {
    if (!pNode) {
        delete m_pRoot;
        m_pRoot = nullptr;
        return;
    }
    if (!m_pRoot) m_pRoot = new CAvlNode;
    m_pRoot->m_pNode = pNode;
    pNode->parent = nullptr;
}

void CAvlTree::ReplaceInParent(Rec* pOld, Rec* pNew) {
    Rec* parent = pOld->parent;
    if (!parent) {
        SetRootRecord(pNew);
        return;
    }
    if (parent->left == pOld)
        parent->left = pNew;
    else
        parent->right = pNew;
    if (pNew) pNew->parent = parent;
}

void CAvlTree::Connect_Left(CAvlNode& parent, CAvlNode& child) {
    if (parent.m_pNode) parent.m_pNode->left = child.m_pNode;
    if (child.m_pNode) child.m_pNode->parent = parent.m_pNode;
}

void CAvlTree::Connect_Right(CAvlNode& parent, CAvlNode& child) {
    if (parent.m_pNode) parent.m_pNode->right = child.m_pNode;
    if (child.m_pNode) child.m_pNode->parent = parent.m_pNode;
}

void CAvlTree::LL(CAvlNode& a, int dir) {
    Rec* A = a.m_pNode;
    Rec* B = Child(A, dir);
    Rec* inner = Child(B, -dir);
    ReplaceInParent(A, B);
    Child(A, dir) = inner;
    if (inner) inner->parent = A;
    Child(B, -dir) = A;
    A->parent = B;
}

void CAvlTree::LR(CAvlNode& a, int dir) {
    Rec* A = a.m_pNode;
    Rec* B = Child(A, dir);
    Rec* C = Child(B, -dir);
    Rec* cNear = Child(C, -dir);  // goes to A
    Rec* cFar = Child(C, dir);    // goes to B
    ReplaceInParent(A, C);
    Child(A, dir) = cNear;
    if (cNear) cNear->parent = A;
    Child(B, -dir) = cFar;
    if (cFar) cFar->parent = B;
    Child(C, -dir) = A;
    A->parent = C;
    Child(C, dir) = B;
    B->parent = C;
}

bool CAvlTree::Search(CAvlNode& node, int* pCriticalDepth, CAvlNode* pCritical, int* pLastDepth) {
    SetLastError(0);
    if (pCriticalDepth) *pCriticalDepth = -1;
    if (pLastDepth) *pLastDepth = -1;
    if (pCritical) pCritical->m_pNode = nullptr;
    if (!m_pRoot || !m_pRoot->m_pNode) {
        SetLastError(3);
        return false;
    }
    const UINT key = node.GetKey();
    Rec* cur = m_pRoot->m_pNode;
    int depth = 0;
    for (;;) {
        if (key == cur->key) {
            if (pLastDepth) *pLastDepth = depth;
            node.m_pNode = cur;
            return true;
        }
        if (cur->balance != 0) {
            if (pCritical) pCritical->m_pNode = cur;
            if (pCriticalDepth) *pCriticalDepth = depth;
        }
        if (depth >= m_nPathCapacity) {
            // Only when the path buffer could not grow: fail rather than write past it.
            node.m_pNode = cur;
            if (pLastDepth) *pLastDepth = depth;
            SetLastError(1);
            return false;
        }
        const bool right = key > cur->key;
        m_pSearchPath[depth] = right ? 1 : 0;
        Rec* next = right ? cur->right : cur->left;
        if (!next) break;
        cur = next;
        ++depth;
    }
    if (pLastDepth) *pLastDepth = depth;
    node.m_pNode = cur;
    SetLastError(9);
    return false;
}

bool CAvlTree::Search(SearchResult& result) {
    result.found = Search(result.node, &result.criticalDepth, &result.critical, &result.lastDepth);
    return result.found;
}

bool CAvlTree::Insert(CAvlNode& node, SearchResult* pResult, CAvlNode* pReplaced, bool bReplace) {
    SetLastError(0);
    Rec* r = node.m_pNode;
    if (!r) return false;
    r->parent = r->left = r->right = nullptr;
    r->balance = 0;

    if (!m_pRoot || !m_pRoot->m_pNode) {
        if (pResult) *pResult = SearchResult();
        SetRootRecord(r);
        m_nHeight = 1;
        ++m_nNodeCount;
        ReAllocSearchPath();
        return true;
    }

    SearchResult sr;
    sr.node.m_pNode = r;
    const bool found = Search(sr);
    if (pResult) *pResult = sr;
    Rec* at = sr.node.m_pNode;

    if (found) {
        if (bReplace && pReplaced) {
            r->balance = at->balance;
            r->left = at->left;
            r->right = at->right;
            if (r->left) r->left->parent = r;
            if (r->right) r->right->parent = r;
            ReplaceInParent(at, r);
            at->parent = at->left = at->right = nullptr;
            pReplaced->m_pNode = at;
            ReAllocSearchPath();
            SetLastError(2);
            return true;
        }
        if (pReplaced) pReplaced->m_pNode = at;
        SetLastError(6);
        return false;
    }
    if (GetLastError() != 9) return false;

    // Link below the last record reached.
    const int cd = sr.criticalDepth;
    const int ld = sr.lastDepth;
    if (r->key > at->key)
        at->right = r;
    else
        at->left = r;
    r->parent = at;

    // Every record between the critical node and the new one was balanced; it now leans the way
    // the path went.
    Rec* q = cd >= 0 ? Child(sr.critical.m_pNode, m_pSearchPath[cd] ? 1 : -1) : m_pRoot->m_pNode;
    for (int d = cd + 1; d <= ld; ++d) {
        q->balance = m_pSearchPath[d] ? 1 : -1;
        q = Child(q, q->balance);
    }

    if (cd >= 0) {
        Rec* A = sr.critical.m_pNode;
        const int dir = m_pSearchPath[cd] ? 1 : -1;
        if (A->balance == dir) {
            Rec* B = Child(A, dir);
            const int next = m_pSearchPath[cd + 1] ? 1 : -1;
            if (next == dir) {
                LL(sr.critical, dir);
                A->balance = 0;
                B->balance = 0;
            } else {
                Rec* C = Child(B, -dir);
                LR(sr.critical, dir);
                A->balance = C->balance == dir ? -dir : 0;
                B->balance = C->balance == -dir ? dir : 0;
                C->balance = 0;
            }
        } else {
            A->balance = 0;
        }
    } else if (ld + 2 > m_nHeight) {
        m_nHeight = ld + 2;
    }

    ++m_nNodeCount;
    ReAllocSearchPath();
    SetLastError(0);
    return true;
}

bool CAvlTree::Delete(CAvlNode& node, SearchResult* pResult) {
    SetLastError(0);
    if (!node.m_pNode) return false;
    SearchResult sr;
    sr.node.m_pNode = node.m_pNode;
    const bool found = Search(sr);
    if (pResult) *pResult = sr;
    if (!found) return false;

    Rec* D = sr.node.m_pNode;
    Rec* start = nullptr;  // lowest record whose subtree lost height
    int side = 0;          // the side of start that shrank

    if (!D->right) {
        start = D->parent;
        if (start) side = start->left == D ? -1 : 1;
        ReplaceInParent(D, D->left);
    } else if (!D->right->left) {
        Rec* R = D->right;
        R->left = D->left;
        if (R->left) R->left->parent = R;
        R->balance = D->balance;
        ReplaceInParent(D, R);
        start = R;
        side = 1;
    } else {
        Rec* S = Leftmost(D->right);
        Rec* SP = S->parent;
        SP->left = S->right;
        if (S->right) S->right->parent = SP;
        S->left = D->left;
        if (S->left) S->left->parent = S;
        S->right = D->right;
        S->right->parent = S;
        S->balance = D->balance;
        ReplaceInParent(D, S);
        start = SP;
        side = -1;
    }

    Rec* X = start;
    if (!X) --m_nHeight;
    while (X) {
        Rec* top = X;  // root of the subtree that lost height
        if (X->balance == 0) {
            X->balance = -side;
            break;
        }
        if (X->balance == side) {
            X->balance = 0;
        } else {
            CAvlNode a(X);
            Rec* Y = Child(X, -side);
            if (Y->balance == 0) {
                LL(a, -side);
                X->balance = -side;
                Y->balance = side;
                break;
            }
            if (Y->balance == -side) {
                LL(a, -side);
                X->balance = 0;
                Y->balance = 0;
                top = Y;
            } else {
                const int dir = -side;
                Rec* Z = Child(Y, -dir);
                LR(a, dir);
                X->balance = Z->balance == dir ? -dir : 0;
                Y->balance = Z->balance == -dir ? dir : 0;
                Z->balance = 0;
                top = Z;
            }
        }
        Rec* P = top->parent;
        if (!P) {
            --m_nHeight;
            break;
        }
        side = P->left == top ? -1 : 1;
        X = P;
    }

    D->parent = D->left = D->right = nullptr;
    node.m_pNode = D;
    --m_nNodeCount;
    ReAllocSearchPath();
    SetLastError(0);
    return true;
}

bool CAvlTree::GetRoot(CAvlNode& node) const {
    if (!m_pRoot || !m_pRoot->m_pNode) return false;
    node.m_pNode = m_pRoot->m_pNode;
    return true;
}

void CAvlTree::Attach(TreeInfo& info) {
    if (info.root.m_pNode) {
        if (!m_pRoot) m_pRoot = new CAvlNode;
        m_pRoot->m_pNode = info.root.m_pNode;
    } else {
        delete m_pRoot;
        m_pRoot = nullptr;
    }
    m_nNodeCount = info.nodeCount;
    m_nHeight = info.height;
    ReAllocSearchPath();
}

bool CAvlTree::GetInfo(TreeInfo& info) {
    SetLastError(0);
    if (!m_pRoot || !m_pRoot->m_pNode) {
        SetLastError(3);
        return false;
    }
    info.root.m_pNode = m_pRoot->m_pNode;
    info.nodeCount = m_nNodeCount;
    info.height = m_nHeight;
    return true;
}

int CAvlTree::MeasureHeight(Rec* pTop) {
    // Depth-first with an explicit stack of (record, depth).
    int height = 0;
    std::vector<std::pair<Rec*, int>> stack;
    if (pTop) stack.emplace_back(pTop, 1);
    while (!stack.empty()) {
        auto [p, depth] = stack.back();
        stack.pop_back();
        ++m_nVisitCounter;
        if (depth > height) height = depth;
        if (p->left) stack.emplace_back(p->left, depth + 1);
        if (p->right) stack.emplace_back(p->right, depth + 1);
    }
    return height;
}

bool CAvlTree::CheckIntegrity() {
    SetLastError(0);
    m_nVisitCounter = 0;
    if (!m_pRoot || !m_pRoot->m_pNode) {
        SetLastError(3);
        return true;
    }
    int height = MeasureHeight(m_pRoot->m_pNode);
    if (height != m_nHeight) {
        SetLastError(8);
        return false;
    }
    if (static_cast<UINT>(m_nVisitCounter) != m_nNodeCount) {
        SetLastError(7);
        return false;
    }
    return true;
}

bool CAvlTree::IsValidAvl(Rec* pTop, int& nHeight, UINT& nCount) {
    // Post-order without recursion; heights kept per record in a side table.
    nHeight = 0;
    nCount = 0;
    if (!pTop) return true;
    if (pTop->parent) return false;
    struct Frame {
        Rec* p;
        bool expanded;
    };
    std::vector<Frame> stack{{pTop, false}};
    std::vector<int> results;  // heights of the finished subtrees, as a stack
    while (!stack.empty()) {
        Frame f = stack.back();
        stack.pop_back();
        if (!f.expanded) {
            stack.push_back({f.p, true});
            if (f.p->right) {
                if (f.p->right->parent != f.p) return false;
                stack.push_back({f.p->right, false});
            }
            if (f.p->left) {
                if (f.p->left->parent != f.p) return false;
                stack.push_back({f.p->left, false});
            }
            continue;
        }
        int hr = f.p->right ? results.back() : 0;
        if (f.p->right) results.pop_back();
        int hl = f.p->left ? results.back() : 0;
        if (f.p->left) results.pop_back();
        if (hr - hl != f.p->balance) return false;
        results.push_back((hl > hr ? hl : hr) + 1);
        ++nCount;
    }
    nHeight = results.back();
    // Keys strictly ascending in order.
    Rec* p = Leftmost(pTop);
    for (Rec* n = Successor(p, pTop); n; p = n, n = Successor(n, pTop))
        if (!(p->key < n->key)) return false;
    return true;
}

void CAvlTree::Clear() {
    if (m_pRoot) {
        m_pRoot->Clear();
        delete m_pRoot;
        m_pRoot = nullptr;
    }
    m_nNodeCount = 0;
    m_nHeight = 0;
    delete[] m_pSearchPath;
    m_pSearchPath = nullptr;
    m_nPathCapacity = 0;
    ReAllocSearchPath();
}

void CAvlTree::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<const CObject*>(m_pRoot);
        ar << static_cast<DWORD>(m_nHeight) << static_cast<DWORD>(m_nNodeCount);
        return;
    }
    Clear();
    // The root handle is read like ReadObject would, except that a back-reference is refused: the
    // handle and its records would then belong to two trees and be freed twice.
    UINT schema = 0;
    DWORD obTag = 0;
    CRuntimeClass* cls = ar.ReadClass(RUNTIME_CLASS(CAvlNode), &schema, &obTag);
    if (!cls && obTag != 0) AfxThrowArchiveException(CArchiveException::badIndex);
    CAvlNode* root = nullptr;
    if (cls) {
        root = static_cast<CAvlNode*>(cls->CreateObject());
        if (!root) AfxThrowArchiveException(CArchiveException::badClass);
        ar.MapObject(root);
        try {
            root->Serialize(ar);
        } catch (...) {
            delete root;
            throw;
        }
    }
    DWORD height = 0;
    DWORD count = 0;
    try {
        ar >> height >> count;
        int measuredHeight = 0;
        UINT measuredCount = 0;
        Rec* top = root ? root->m_pNode : nullptr;
        if (!IsValidAvl(top, measuredHeight, measuredCount) || static_cast<DWORD>(measuredHeight) != height ||
            measuredCount != count)
            AfxThrowArchiveException(CArchiveException::badIndex);
    } catch (...) {
        if (root) {
            root->Clear();
            delete root;
        }
        throw;
    }
    if (root && !root->m_pNode) {
        delete root;
        root = nullptr;
    }
    m_pRoot = root;
    m_nHeight = static_cast<int>(height);
    m_nNodeCount = count;
    ReAllocSearchPath();
}

// =============================================================================================
// List-like part

POSITION CAvlTree::AddTail(UINT key, void* pValue) {
    CAvlNode node;
    if (!node.NewNode()) return nullptr;
    node.SetKey(key);
    node.SetValue(static_cast<CGeoVectorObject*>(pValue));
    if (!Insert(node, nullptr, nullptr, false)) {
        node.DeleteNode();
        return nullptr;
    }
    return node.m_pNode;
}

CGeoVectorObject* CAvlTree::Find(UINT id) {
    if (id == 0) return nullptr;
    Rec probe{};
    probe.key = id;
    CAvlNode node(&probe);
    if (!Search(node, nullptr, nullptr, nullptr)) return nullptr;
    return node.m_pNode->value;
}

void CAvlTree::RemoveAt(POSITION position) {
    if (!position) return;
    CAvlNode node(static_cast<Rec*>(position));
    if (Delete(node, nullptr)) node.DeleteNode();
}

POSITION CAvlTree::GetHeadPosition() const { return m_pRoot ? m_pRoot->GetHeadPosition() : nullptr; }
POSITION CAvlTree::GetTailPosition() const { return m_pRoot ? m_pRoot->GetTailPosition() : nullptr; }
CGeoVectorObject* CAvlTree::GetHead() const { return m_pRoot ? m_pRoot->GetHead() : nullptr; }
CGeoVectorObject* CAvlTree::GetTail() const { return m_pRoot ? m_pRoot->GetTail() : nullptr; }
CGeoVectorObject* CAvlTree::GetNext(POSITION& rPosition) const {
    if (!m_pRoot) {
        rPosition = nullptr;
        return nullptr;
    }
    return m_pRoot->GetNext(rPosition);
}
CGeoVectorObject* CAvlTree::GetPrev(POSITION& rPosition) const {
    if (!m_pRoot) {
        rPosition = nullptr;
        return nullptr;
    }
    return m_pRoot->GetPrev(rPosition);
}

POSITION CAvlTree::AddTail(CGeoVectorObject* pObject) {
    if (!pObject) return nullptr;
    return AddTail(pObject->GetID(), pObject);
}

POSITION CAvlTree::AddHead(CGeoVectorObject* pObject) { return AddTail(pObject); }

POSITION CAvlTree::Find(CGeoVectorObject* pObject) {
    if (!pObject) return nullptr;
    Rec probe{};
    probe.key = pObject->GetID();
    CAvlNode node(&probe);
    if (!Search(node, nullptr, nullptr, nullptr)) return nullptr;
    return node.m_pNode;
}

void CAvlTree::SetAt(POSITION position, CGeoVectorObject* pObject) {
    RemoveAt(position);
    AddTail(pObject);
}
