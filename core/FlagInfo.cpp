#include "core/FlagInfo.h"

void ClearFlagInfoList(CObList* pList) {
    if (!pList) return;
    for (POSITION pos = pList->GetHeadPosition(); pos;) delete static_cast<CFlagInfo*>(pList->GetNext(pos));
    if (!pList->IsEmpty()) pList->RemoveAll();
}

void CopyFlagInfoList(CObList* pDst, CObList* pSrc) {
    if (!pDst || pDst == pSrc) return;
    ClearFlagInfoList(pDst);
    if (!pSrc) return;
    for (POSITION pos = pSrc->GetHeadPosition(); pos;) {
        auto* p = static_cast<CFlagInfo*>(pSrc->GetNext(pos));
        if (!p) continue;
        auto* q = new CFlagInfo;
        q->m_strOldName = p->m_strOldName;
        q->m_strNewName = p->m_strNewName;
        q->m_nState = p->m_nState;
        pDst->AddTail(q);
    }
}

namespace {

template <class Name>
int FindFlagInfo(const CObList& list, const CString& strName, Name name) {
    int i = 0;
    for (POSITION pos = list.GetHeadPosition(); pos; ++i) {
        auto* p = static_cast<const CFlagInfo*>(list.GetNext(pos));
        if (p && name(*p).CompareNoCase(strName) == 0) return i;
    }
    return -1;
}

}  // namespace

int FindFlagInfoByOldname(const CObList& list, const CString& strName) {
    return FindFlagInfo(list, strName, [](const CFlagInfo& f) -> const CString& { return f.m_strOldName; });
}

int FindFlagInfoByNewname(const CObList& list, const CString& strName) {
    return FindFlagInfo(list, strName, [](const CFlagInfo& f) -> const CString& { return f.m_strNewName; });
}
