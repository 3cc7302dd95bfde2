// The field operations that feature classes and themes share, on a field list (CPtrList of owned
// CDaoFieldInfo*). Names are unique ignoring the case of single-byte letters; positions follow
// SchemaPosition.h. Each returns what the same-named member of CGeoGClass documents.
#pragma once

#include "core/GeoFieldList.h"
#include "core/SchemaPosition.h"

namespace fieldops {

inline int Find(const CPtrList& list, const CString& strName) {
    int i = 0;
    for (POSITION pos = list.GetHeadPosition(); pos; ++i) {
        auto* p = static_cast<const CDaoFieldInfo*>(list.GetNext(pos));
        if (p && p->m_strName.CompareNoCase(strName) == 0) return i;
    }
    return -1;
}

inline int Get(const CPtrList& list, int nIndex, CDaoFieldInfo& info) {
    POSITION pos = list.FindIndex(nIndex);
    if (!pos || !list.GetAt(pos)) return 0;
    info = *static_cast<const CDaoFieldInfo*>(list.GetAt(pos));
    return 1;
}

inline int Set(CPtrList& list, int nIndex, const CDaoFieldInfo& info) {
    POSITION pos = list.FindIndex(nIndex);
    if (!pos || !list.GetAt(pos)) return 0;
    *static_cast<CDaoFieldInfo*>(list.GetAt(pos)) = info;
    return 1;
}

inline int Add(CPtrList& list, const CDaoFieldInfo& info, int nPos) {
    if (Find(list, info.m_strName) >= 0 || !IsValidSchemaPosition(nPos, list.GetCount())) return 0;
    InsertAtSchemaPosition(list, static_cast<void*>(new CDaoFieldInfo(info)), nPos);
    return 1;
}

inline int Delete(CPtrList& list, int nIndex) {
    POSITION pos = list.FindIndex(nIndex);
    if (!pos) return 0;
    delete static_cast<CDaoFieldInfo*>(list.GetAt(pos));
    list.RemoveAt(pos);
    return 1;
}

}  // namespace fieldops
