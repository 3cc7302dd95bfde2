#include "afx/Collections.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToOb, CObject)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)

void SerializeElements(CArchive& ar, CString* pElements, int nCount) {
    for (int i = 0; i < nCount; ++i) {
        if (ar.IsStoring()) ar << pElements[i];
        else ar >> pElements[i];
    }
}

template <> UINT HashKey<LPCSTR>(LPCSTR key) {
    UINT nHash = 0;
    if (key)
        while (*key) nHash = (nHash << 5) + nHash + static_cast<unsigned char>(*key++);
    return nHash;
}
template <> UINT HashKey<const CString&>(const CString& key) { return HashKey<LPCSTR>(key); }
template <> UINT HashKey<CString>(CString key) { return HashKey<LPCSTR>(key); }

namespace {
// A stored count must not promise more elements than the data can hold (each takes at least
// minBytes), so a corrupt count cannot make the loader allocate without bound.
int CheckedCount(CArchive& ar, ULONGLONG minBytes) {
    DWORD n = ar.ReadCount();
    if (n > 0x7FFFFFFF) AfxThrowArchiveException(CArchiveException::badIndex);
    ar.EnsureAvailable(static_cast<ULONGLONG>(n) * minBytes);
    return static_cast<int>(n);
}
}  // namespace

namespace {
// The list forms: the count, then each element; loading appends.
template <class List, class Elem, class Store, class Load>
void SerializeList(CArchive& ar, List& list, Store store, Load load) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(list.GetCount()));
        for (POSITION p = list.GetHeadPosition(); p;) store(list.GetNext(p));
    } else {
        DWORD n = ar.ReadCount();
        while (n--) list.AddTail(load());
    }
}
}  // namespace

void CObList::Serialize(CArchive& ar) {
    SerializeList<CObList, CObject*>(
        ar, *this, [&](CObject* p) { ar << p; }, [&] { return ar.ReadObject(nullptr); });
}

void CStringList::Serialize(CArchive& ar) {
    SerializeList<CStringList, CString>(
        ar, *this, [&](const CString& s) { ar << s; },
        [&] {
            CString s;
            ar >> s;
            return s;
        });
}

void CObArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetSize()));
        for (int i = 0; i < GetSize(); ++i) ar << GetAt(i);
    } else {
        int n = CheckedCount(ar, 2);
        SetSize(n);
        for (int i = 0; i < n; ++i) ElementAt(i) = ar.ReadObject(nullptr);
    }
}

void CByteArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) ar.WriteCount(static_cast<DWORD>(GetSize()));
    else SetSize(CheckedCount(ar, 1));
    SerializeElements<BYTE>(ar, GetData(), GetSize());
}

void CWordArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) ar.WriteCount(static_cast<DWORD>(GetSize()));
    else SetSize(CheckedCount(ar, 2));
    SerializeElements<WORD>(ar, GetData(), GetSize());
}

void CDWordArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) ar.WriteCount(static_cast<DWORD>(GetSize()));
    else SetSize(CheckedCount(ar, 4));
    SerializeElements<DWORD>(ar, GetData(), GetSize());
}

void CStringArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) ar.WriteCount(static_cast<DWORD>(GetSize()));
    else SetSize(CheckedCount(ar, 1));
    SerializeElements(ar, GetData(), GetSize());
}

void CMapStringToString::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetCount()));
        for (POSITION p = GetStartPosition(); p;) {
            CString k, v;
            GetNextAssoc(p, k, v);
            ar << k << v;
        }
    } else {
        DWORD n = ar.ReadCount();
        while (n--) {
            CString k, v;
            ar >> k >> v;
            SetAt(k, v);
        }
    }
}
