// The class library's collections: lists with POSITION iteration, growable arrays, hash maps, their
// typed templates, and their archive forms (a count from WriteCount, then the elements).
//
// Lists hand out POSITION values that stay valid until their element is removed. Maps iterate their
// hash buckets in ascending order and, within a bucket, the newest key first, as the class library's
// maps do; stored maps therefore come out in the same byte order.
#pragma once

#include "afx/Archive.h"
#include "afx/Object.h"
#include "afx/String.h"

#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))

// ---------------------------------------------------------------------------------------------
// Element helpers of the templates. The defaults copy raw bytes, as the class library does;
// CString and COleVariant-like types get overloads where they are declared.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, int nCount) {
    static_assert(std::is_trivially_copyable<TYPE>::value, "give SerializeElements an overload for this type");
    if (nCount <= 0) return;
    if (ar.IsStoring()) {
        ar.Write(pElements, static_cast<UINT>(sizeof(TYPE) * nCount));
    } else {
        ar.EnsureAvailable(static_cast<ULONGLONG>(sizeof(TYPE)) * static_cast<ULONGLONG>(nCount));
        if (ar.Read(pElements, static_cast<UINT>(sizeof(TYPE) * nCount)) != sizeof(TYPE) * nCount)
            AfxThrowArchiveException(CArchiveException::endOfFile);
    }
}
void SerializeElements(CArchive& ar, CString* pElements, int nCount);

template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
    return static_cast<UINT>(static_cast<uintptr_t>(key)) >> 4;
}
template <> UINT HashKey<LPCSTR>(LPCSTR key);
template <> UINT HashKey<const CString&>(const CString& key);
template <> UINT HashKey<CString>(CString key);

template <class TYPE, class ARG_TYPE>
inline BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
    return *pElement1 == *pElement2;
}

namespace afx {

// ---------------------------------------------------------------------------------------------
// Doubly linked list; POSITION is a node.
template <class T, class ARG = const T&>
class ListImpl {
protected:
    struct Node : __POSITION {
        Node* pNext;
        Node* pPrev;
        T data;
    };

public:
    explicit ListImpl(int nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    ~ListImpl() { RemoveAll(); }
    ListImpl(const ListImpl&) = delete;
    ListImpl& operator=(const ListImpl&) = delete;

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    T& GetHead() { return m_pHead->data; }
    const T& GetHead() const { return m_pHead->data; }
    T& GetTail() { return m_pTail->data; }
    const T& GetTail() const { return m_pTail->data; }

    T RemoveHead() {
        Node* n = m_pHead;
        T v = n->data;
        Unlink(n);
        return v;
    }
    T RemoveTail() {
        Node* n = m_pTail;
        T v = n->data;
        Unlink(n);
        return v;
    }
    POSITION AddHead(ARG newElement) { return InsertBefore(nullptr, newElement, true); }
    POSITION AddTail(ARG newElement) { return InsertAfter(nullptr, newElement, true); }
    // Whole-list forms; each collection offers them as AddHead/AddTail taking its own type, so that a
    // list pointer never competes with an element pointer in overload resolution.
    void AddHeadList(const ListImpl* pNewList) {
        for (POSITION p = pNewList->GetTailPosition(); p;) AddHead(pNewList->GetPrev(p));
    }
    void AddTailList(const ListImpl* pNewList) {
        for (POSITION p = pNewList->GetHeadPosition(); p;) AddTail(pNewList->GetNext(p));
    }
    void RemoveAll() {
        Node* n = m_pHead;
        while (n) {
            Node* next = n->pNext;
            n->~Node();
            n = next;
        }
        m_pHead = m_pTail = nullptr;
        m_nCount = 0;
        FreeBlocks();
    }

    POSITION GetHeadPosition() const { return m_pHead; }
    POSITION GetTailPosition() const { return m_pTail; }
    T& GetNext(POSITION& rPosition) {
        Node* n = static_cast<Node*>(rPosition);
        rPosition = n->pNext;
        return n->data;
    }
    const T& GetNext(POSITION& rPosition) const {
        Node* n = static_cast<Node*>(rPosition);
        rPosition = n->pNext;
        return n->data;
    }
    T& GetPrev(POSITION& rPosition) {
        Node* n = static_cast<Node*>(rPosition);
        rPosition = n->pPrev;
        return n->data;
    }
    const T& GetPrev(POSITION& rPosition) const {
        Node* n = static_cast<Node*>(rPosition);
        rPosition = n->pPrev;
        return n->data;
    }
    T& GetAt(POSITION position) { return static_cast<Node*>(position)->data; }
    const T& GetAt(POSITION position) const { return static_cast<Node*>(position)->data; }
    void SetAt(POSITION pos, ARG newElement) { static_cast<Node*>(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(static_cast<Node*>(position)); }

    // A NULL position inserts at the head (InsertBefore) or tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG newElement) { return InsertBefore(position, newElement, true); }
    POSITION InsertAfter(POSITION position, ARG newElement) { return InsertAfter(position, newElement, true); }

    // The first position after startAfter (NULL = from the head) holding the value, or NULL.
    POSITION Find(ARG searchValue, POSITION startAfter = nullptr) const {
        Node* n = startAfter ? static_cast<Node*>(startAfter)->pNext : m_pHead;
        for (; n; n = n->pNext)
            if (CompareElements<T, typename std::decay<ARG>::type>(&n->data, &searchValue)) return n;
        return nullptr;
    }
    // The position of the nIndex-th element (0-based), or NULL when out of range.
    POSITION FindIndex(int nIndex) const {
        if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
        Node* n = m_pHead;
        while (nIndex--) n = n->pNext;
        return n;
    }

protected:
    POSITION InsertBefore(POSITION position, ARG newElement, bool) {
        Node* at = static_cast<Node*>(position);
        if (!at) at = m_pHead;
        Node* n = NewNode(at, at ? at->pPrev : nullptr, newElement);
        if (at) {
            if (at->pPrev) at->pPrev->pNext = n; else m_pHead = n;
            at->pPrev = n;
        } else {
            m_pHead = m_pTail = n;
        }
        ++m_nCount;
        return n;
    }
    POSITION InsertAfter(POSITION position, ARG newElement, bool) {
        Node* at = static_cast<Node*>(position);
        if (!at) at = m_pTail;
        Node* n = NewNode(at ? at->pNext : nullptr, at, newElement);
        if (at) {
            if (at->pNext) at->pNext->pPrev = n; else m_pTail = n;
            at->pNext = n;
        } else {
            m_pHead = m_pTail = n;
        }
        ++m_nCount;
        return n;
    }
    void Unlink(Node* n) {
        if (n->pPrev) n->pPrev->pNext = n->pNext; else m_pHead = n->pNext;
        if (n->pNext) n->pNext->pPrev = n->pPrev; else m_pTail = n->pPrev;
        FreeNode(n);
        if (--m_nCount == 0) FreeBlocks();
    }

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;

private:
    // Nodes are taken from blocks of m_nBlockSize, as the class library's lists take them: one
    // allocation serves many elements (a layer lists every object it holds), a removed node waits for
    // the next insert, and the blocks go back when the list is empty.
    union Slot {
        Slot* pNextFree;
        alignas(Node) unsigned char raw[sizeof(Node)];
    };
    struct alignas(Slot) Block {
        Block* pNext;
    };

    Node* NewNode(Node* pNext, Node* pPrev, ARG newElement) {
        if (!m_pFree) {
            Block* b = new (::operator new(sizeof(Block) + sizeof(Slot) * static_cast<size_t>(m_nBlockSize))) Block{m_pBlocks};
            m_pBlocks = b;
            Slot* pSlots = reinterpret_cast<Slot*>(b + 1);
            for (int i = m_nBlockSize; i-- > 0;) {
                Slot* s = new (static_cast<void*>(&pSlots[i])) Slot;
                s->pNextFree = m_pFree;
                m_pFree = s;
            }
        }
        Slot* s = m_pFree;
        m_pFree = s->pNextFree;
        try {
            return new (static_cast<void*>(s)) Node{{}, pNext, pPrev, newElement};
        } catch (...) {
            Slot* back = new (static_cast<void*>(s)) Slot;
            back->pNextFree = m_pFree;
            m_pFree = back;
            throw;
        }
    }
    void FreeNode(Node* n) {
        n->~Node();
        Slot* s = new (static_cast<void*>(n)) Slot;
        s->pNextFree = m_pFree;
        m_pFree = s;
    }
    void FreeBlocks() {
        while (m_pBlocks) {
            Block* next = m_pBlocks->pNext;
            ::operator delete(static_cast<void*>(m_pBlocks));
            m_pBlocks = next;
        }
        m_pFree = nullptr;
    }

    int m_nBlockSize;
    Slot* m_pFree = nullptr;
    Block* m_pBlocks = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Growable array.
template <class T, class ARG = const T&>
class ArrayImpl {
public:
    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_data.empty(); }
    // nGrowBy only tunes allocation in the class library; it has no effect here.
    void SetSize(int nNewSize, int nGrowBy = -1) {
        (void)nGrowBy;
        m_data.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0);
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }
    const T& GetAt(int nIndex) const { return m_data.at(static_cast<size_t>(nIndex)); }
    T& GetAt(int nIndex) { return m_data.at(static_cast<size_t>(nIndex)); }
    void SetAt(int nIndex, ARG newElement) { m_data.at(static_cast<size_t>(nIndex)) = newElement; }
    T& ElementAt(int nIndex) { return m_data.at(static_cast<size_t>(nIndex)); }
    const T& operator[](int nIndex) const { return GetAt(nIndex); }
    T& operator[](int nIndex) { return ElementAt(nIndex); }
    const T* GetData() const { return m_data.data(); }
    T* GetData() { return m_data.data(); }
    void SetAtGrow(int nIndex, ARG newElement) {
        if (nIndex >= GetSize()) SetSize(nIndex + 1);
        SetAt(nIndex, newElement);
    }
    int Add(ARG newElement) {
        m_data.push_back(newElement);
        return GetUpperBound();
    }
    int Append(const ArrayImpl& src) {
        int old = GetSize();
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return old;
    }
    void Copy(const ArrayImpl& src) { m_data = src.m_data; }
    void InsertAt(int nIndex, ARG newElement, int nCount = 1) {
        if (nIndex > GetSize()) SetSize(nIndex);
        T copy = newElement;
        m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount > 0 ? nCount : 0), copy);
    }
    void RemoveAt(int nIndex, int nCount = 1) {
        if (nIndex < 0 || nCount <= 0 || nIndex >= GetSize()) return;
        int end = nIndex + nCount > GetSize() ? GetSize() : nIndex + nCount;
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + end);
    }

protected:
    std::vector<T> m_data;
};

// ---------------------------------------------------------------------------------------------
// Hash map with a fixed bucket count (17 unless InitHashTable says otherwise), as the class library's.
template <class K, class V, class ARG_K, class ARG_V, class Hasher>
class MapImpl {
protected:
    struct Assoc : __POSITION {
        Assoc* pNext;
        UINT nHashValue;
        K key;
        V value;
    };

public:
    MapImpl() = default;
    ~MapImpl() { RemoveAll(); }
    MapImpl(const MapImpl&) = delete;
    MapImpl& operator=(const MapImpl&) = delete;

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Only takes effect while the map is empty.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        (void)bAllocNow;
        if (m_nCount == 0 && hashSize > 0) {
            m_buckets.assign(0, nullptr);
            m_nHashTableSize = hashSize;
        }
    }

    BOOL Lookup(ARG_K key, V& rValue) const {
        Assoc* a = Find(key);
        if (!a) return FALSE;
        rValue = a->value;
        return TRUE;
    }
    V& operator[](ARG_K key) {
        Assoc* a = Find(key);
        if (!a) {
            if (m_buckets.empty()) m_buckets.assign(m_nHashTableSize, nullptr);
            UINT h = Hasher::Hash(key) % m_nHashTableSize;
            a = new Assoc{{}, m_buckets[h], h, K(key), V()};
            m_buckets[h] = a;
            ++m_nCount;
        }
        return a->value;
    }
    void SetAt(ARG_K key, ARG_V newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_K key) {
        if (m_buckets.empty()) return FALSE;
        UINT h = Hasher::Hash(key) % m_nHashTableSize;
        for (Assoc** pp = &m_buckets[h]; *pp; pp = &(*pp)->pNext) {
            if (Hasher::Equal((*pp)->key, key)) {
                Assoc* a = *pp;
                *pp = a->pNext;
                delete a;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll() {
        for (Assoc*& head : m_buckets) {
            while (head) {
                Assoc* next = head->pNext;
                delete head;
                head = next;
            }
        }
        m_buckets.clear();
        m_nCount = 0;
    }
    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, K& rKey, V& rValue) const {
        // The start mark is no node: it is compared, never cast.
        Assoc* a = nullptr;
        if (rNextPosition == BEFORE_START_POSITION) {
            for (UINT b = 0; b < m_buckets.size() && !a; ++b) a = m_buckets[b];
        } else {
            a = static_cast<Assoc*>(rNextPosition);
        }
        rKey = a->key;
        rValue = a->value;
        Assoc* next = a->pNext;
        for (UINT b = a->nHashValue + 1; !next && b < m_buckets.size(); ++b) next = m_buckets[b];
        rNextPosition = next;
    }

protected:
    Assoc* Find(ARG_K key) const {
        if (m_buckets.empty()) return nullptr;
        UINT h = Hasher::Hash(key) % m_nHashTableSize;
        for (Assoc* a = m_buckets[h]; a; a = a->pNext)
            if (Hasher::Equal(a->key, key)) return a;
        return nullptr;
    }

    std::vector<Assoc*> m_buckets;
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
};

template <class K, class ARG_K>
struct DefaultHasher {
    static UINT Hash(ARG_K key) { return HashKey<ARG_K>(key); }
    static bool Equal(const K& a, ARG_K b) { return CompareElements<K, K>(&a, &b) != 0; }
};
struct StringHasher {
    static UINT Hash(LPCSTR key) { return HashKey<LPCSTR>(key); }
    static bool Equal(const CString& a, LPCSTR b) { return a == b; }
};

}  // namespace afx

// ---------------------------------------------------------------------------------------------
// Lists.

class CObList : public CObject, public afx::ListImpl<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    using afx::ListImpl<CObject*, CObject*>::AddHead;
    using afx::ListImpl<CObject*, CObject*>::AddTail;
    void AddHead(CObList* pNewList) { AddHeadList(pNewList); }
    void AddTail(CObList* pNewList) { AddTailList(pNewList); }
    explicit CObList(int nBlockSize = 10) : afx::ListImpl<CObject*, CObject*>(nBlockSize) {}
    // Storing: the count, then each element through WriteObject. Loading appends the elements read.
    void Serialize(CArchive& ar) override;
};

class CPtrList : public CObject, public afx::ListImpl<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    using afx::ListImpl<void*, void*>::AddHead;
    using afx::ListImpl<void*, void*>::AddTail;
    void AddHead(CPtrList* pNewList) { AddHeadList(pNewList); }
    void AddTail(CPtrList* pNewList) { AddTailList(pNewList); }
    explicit CPtrList(int nBlockSize = 10) : afx::ListImpl<void*, void*>(nBlockSize) {}
};

class CStringList : public CObject, public afx::ListImpl<CString, LPCSTR> {
    DECLARE_SERIAL(CStringList)
public:
    using afx::ListImpl<CString, LPCSTR>::AddHead;
    using afx::ListImpl<CString, LPCSTR>::AddTail;
    void AddHead(CStringList* pNewList) { AddHeadList(pNewList); }
    void AddTail(CStringList* pNewList) { AddTailList(pNewList); }
    explicit CStringList(int nBlockSize = 10) : afx::ListImpl<CString, LPCSTR>(nBlockSize) {}
    void Serialize(CArchive& ar) override;
};

// ---------------------------------------------------------------------------------------------
// Arrays.

class CObArray : public CObject, public afx::ArrayImpl<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
public:
    void Serialize(CArchive& ar) override;
};

class CPtrArray : public CObject, public afx::ArrayImpl<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

class CByteArray : public CObject, public afx::ArrayImpl<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
public:
    void Serialize(CArchive& ar) override;
};

class CWordArray : public CObject, public afx::ArrayImpl<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
public:
    void Serialize(CArchive& ar) override;
};

class CDWordArray : public CObject, public afx::ArrayImpl<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
public:
    // The count, then the values as raw DWORDs.
    void Serialize(CArchive& ar) override;
};

// Not serialisable, as in the class library.
class CUIntArray : public CObject, public afx::ArrayImpl<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

class CStringArray : public CObject, public afx::ArrayImpl<CString, LPCSTR> {
    DECLARE_SERIAL(CStringArray)
public:
    void Serialize(CArchive& ar) override;
};

// ---------------------------------------------------------------------------------------------
// Maps (the pointer maps are not serialisable).

class CMapWordToPtr : public CObject,
                      public afx::MapImpl<WORD, void*, WORD, void*, afx::DefaultHasher<WORD, WORD>> {
    DECLARE_DYNAMIC(CMapWordToPtr)
};

class CMapPtrToPtr : public CObject,
                     public afx::MapImpl<void*, void*, void*, void*, afx::DefaultHasher<void*, void*>> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
};

class CMapStringToPtr : public CObject, public afx::MapImpl<CString, void*, LPCSTR, void*, afx::StringHasher> {
    DECLARE_DYNAMIC(CMapStringToPtr)
};

class CMapStringToOb : public CObject, public afx::MapImpl<CString, CObject*, LPCSTR, CObject*, afx::StringHasher> {
    DECLARE_DYNAMIC(CMapStringToOb)
};

class CMapStringToString : public CObject,
                           public afx::MapImpl<CString, CString, LPCSTR, LPCSTR, afx::StringHasher> {
    DECLARE_SERIAL(CMapStringToString)
public:
    void Serialize(CArchive& ar) override;
};

template <> inline UINT HashKey<void*>(void* key) {
    return static_cast<UINT>(reinterpret_cast<uintptr_t>(key) >> 4);
}

// ---------------------------------------------------------------------------------------------
// Templates.

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject, public afx::ArrayImpl<TYPE, ARG_TYPE> {
public:
    // The count, then SerializeElements (raw bytes unless overloaded for TYPE).
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD>(this->GetSize()));
        } else {
            DWORD n = ar.ReadCount();
            if (n > 0x7FFFFFFF) AfxThrowArchiveException(CArchiveException::badIndex);
            ar.EnsureAvailable(n);  // every element takes at least one byte
            this->SetSize(static_cast<int>(n));
        }
        SerializeElements<TYPE>(ar, this->GetData(), this->GetSize());
    }
};

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject, public afx::ListImpl<TYPE, ARG_TYPE> {
public:
    explicit CList(int nBlockSize = 10) : afx::ListImpl<TYPE, ARG_TYPE>(nBlockSize) {}
    using afx::ListImpl<TYPE, ARG_TYPE>::AddHead;
    using afx::ListImpl<TYPE, ARG_TYPE>::AddTail;
    void AddHead(CList* pNewList) { this->AddHeadList(pNewList); }
    void AddTail(CList* pNewList) { this->AddTailList(pNewList); }
    // The count, then each element. Loading appends.
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD>(this->GetCount()));
            for (POSITION p = this->GetHeadPosition(); p;) SerializeElements<TYPE>(ar, &this->GetNext(p), 1);
        } else {
            DWORD n = ar.ReadCount();
            while (n--) {
                TYPE v{};
                SerializeElements<TYPE>(ar, &v, 1);
                this->AddTail(v);
            }
        }
    }
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject,
             public afx::MapImpl<KEY, VALUE, ARG_KEY, ARG_VALUE, afx::DefaultHasher<KEY, ARG_KEY>> {
public:
    // The count, then each key and value. Loading adds to the map.
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD>(this->GetCount()));
            for (POSITION p = this->GetStartPosition(); p;) {
                KEY k;
                VALUE v;
                this->GetNextAssoc(p, k, v);
                SerializeElements<KEY>(ar, &k, 1);
                SerializeElements<VALUE>(ar, &v, 1);
            }
        } else {
            DWORD n = ar.ReadCount();
            while (n--) {
                KEY k{};
                VALUE v{};
                SerializeElements<KEY>(ar, &k, 1);
                SerializeElements<VALUE>(ar, &v, 1);
                this->SetAt(k, v);
            }
        }
    }
};

// Typed pointer list over CObList or CPtrList.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHeadList(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTailList(pNewList); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
    POSITION Find(TYPE searchValue, POSITION startAfter = nullptr) const {
        return BASE_CLASS::Find(searchValue, startAfter);
    }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(int nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(int nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(int nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(int nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    int Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    void InsertAt(int nIndex, TYPE newElement, int nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
    TYPE operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
public:
    BOOL Lookup(KEY key, VALUE& rValue) const {
        typename std::remove_reference<decltype(std::declval<BASE_CLASS&>()[key])>::type v{};
        if (!BASE_CLASS::Lookup(key, v)) return FALSE;
        rValue = static_cast<VALUE>(v);
        return TRUE;
    }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
        typename std::remove_reference<decltype(std::declval<BASE_CLASS&>()[rKey])>::type v{};
        BASE_CLASS::GetNextAssoc(rPosition, rKey, v);
        rValue = static_cast<VALUE>(v);
    }
};
