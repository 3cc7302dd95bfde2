#include "core/GeoTheme.h"

#include "core/FieldListOps.h"

IMPLEMENT_SERIAL(CGeoTheme, CObject, 0)

CGeoTheme::CGeoTheme()
    : m_FlagInfoList(10),
      m_GeoView(GetDefaultGEOVIEW()),
      m_strName("未命名层"),
      m_GCList(10),
      m_FieldList(10),
      m_nDataType(1) {}

CGeoTheme::CGeoTheme(const CGeoTheme& src) : CGeoTheme() { *this = src; }

CGeoTheme& CGeoTheme::operator=(const CGeoTheme& src) {
    if (this == &src) return *this;
    m_GeoView = src.m_GeoView;
    m_strName = src.m_strName;
    m_nDataType = src.m_nDataType;
    CopyGCList(&m_GCList, const_cast<CTypedPtrList<CObList, CGeoGClass*>*>(&src.m_GCList));
    CopyFieldInfoList(&m_FieldList, const_cast<CPtrList*>(&src.m_FieldList));
    ClearFlagInfoList(&m_FlagInfoList);
    CopyFlagInfoList(&m_FlagInfoList, const_cast<CObList*>(&src.m_FlagInfoList));
    return *this;
}

CGeoTheme::~CGeoTheme() {
    DeleteAllGCs();
    DeleteAllFields();
    ClearFlagInfoList(&m_FlagInfoList);
}

void CGeoTheme::Remove() { delete this; }

int CGeoTheme::GetGC(int nIndex, CGeoGClass& gc) const {
    POSITION pos = m_GCList.FindIndex(nIndex);
    if (!pos || !m_GCList.GetAt(pos)) return 0;
    gc = *m_GCList.GetAt(pos);
    return 1;
}

const CGeoGClass* CGeoTheme::FindGCPtr(UINT nCode) const {
    for (POSITION pos = m_GCList.GetHeadPosition(); pos;) {
        const CGeoGClass* p = m_GCList.GetNext(pos);
        if (p && p->GetGCID() == nCode) return p;
    }
    return nullptr;
}

int CGeoTheme::FindGC(UINT nCode) const {
    int i = 0;
    for (POSITION pos = m_GCList.GetHeadPosition(); pos; ++i) {
        const CGeoGClass* p = m_GCList.GetNext(pos);
        if (p && p->GetGCID() == nCode) return i;
    }
    return -1;
}

int CGeoTheme::FindGC(CString strName) const {
    int i = 0;
    for (POSITION pos = m_GCList.GetHeadPosition(); pos; ++i) {
        const CGeoGClass* p = m_GCList.GetNext(pos);
        if (p && p->GetGCName() == strName) return i;
    }
    return -1;
}

int CGeoTheme::AddGC(const CGeoGClass& gc, int nPos) {
    if (FindGC(gc.GetGCID()) >= 0 || !IsValidSchemaPosition(nPos, m_GCList.GetCount())) return 0;
    InsertAtSchemaPosition(m_GCList, new CGeoGClass(gc), nPos);
    return 1;
}

int CGeoTheme::DeleteGC(int nIndex) {
    POSITION pos = m_GCList.FindIndex(nIndex);
    if (!pos) return 0;
    CGeoGClass* p = m_GCList.GetAt(pos);
    m_GCList.RemoveAt(pos);
    if (p) p->Remove();
    return 1;
}

int CGeoTheme::DeleteGC(UINT nCode) { return DeleteGC(FindGC(nCode)); }

int CGeoTheme::DeleteGC(CString strName) { return DeleteGC(FindGC(strName)); }

int CGeoTheme::DeleteAllGCs() {
    ClearGCList(&m_GCList);
    return 1;
}

int CGeoTheme::SetGC(int nIndex, const CGeoGClass& gc) {
    POSITION pos = m_GCList.FindIndex(nIndex);
    if (!pos || !m_GCList.GetAt(pos)) return 0;
    *m_GCList.GetAt(pos) = gc;
    return 1;
}

CGeoTheme& CGeoTheme::operator+=(const CGeoGClass& gc) {
    AddGC(gc, SCHEMA_POS_TAIL);
    return *this;
}

CGeoTheme& CGeoTheme::operator+=(const CDaoFieldInfo& info) {
    AddField(info, SCHEMA_POS_TAIL);
    return *this;
}

int CGeoTheme::GetFieldInfo(int nIndex, CDaoFieldInfo& info) const { return fieldops::Get(m_FieldList, nIndex, info); }

int CGeoTheme::SetFieldInfo(int nIndex, CDaoFieldInfo info) { return fieldops::Set(m_FieldList, nIndex, info); }

int CGeoTheme::FindField(CString strName) const { return fieldops::Find(m_FieldList, strName); }

int CGeoTheme::AddField(CDaoFieldInfo info, int nPos) { return fieldops::Add(m_FieldList, info, nPos); }

int CGeoTheme::DeleteField(int nIndex) { return fieldops::Delete(m_FieldList, nIndex); }

int CGeoTheme::DeleteField(CString strName) { return DeleteField(FindField(strName)); }

int CGeoTheme::DeleteAllFields() {
    ClearFieldInfoList(&m_FieldList);
    return 1;
}

int CGeoTheme::FindFlagInfoByOldname(CString strName) const {
    return ::FindFlagInfoByOldname(m_FlagInfoList, strName);
}

int CGeoTheme::FindFlagInfoByNewname(CString strName) const {
    return ::FindFlagInfoByNewname(m_FlagInfoList, strName);
}

int CGeoTheme::EditProperties(int, CSymbolLibIO*) { return 0; }

void CGeoTheme::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_GCList.GetCount()));
        for (POSITION pos = m_GCList.GetHeadPosition(); pos;) ar << m_GCList.GetNext(pos);
    } else {
        DWORD nCount = ar.ReadCount();
        while (nCount--) {
            // The list owns its classes: each must be a class read here for the first time, never a
            // null or a second reference to a class some list already owns.
            auto* p = static_cast<CGeoGClass*>(ar.ReadObject(RUNTIME_CLASS(CGeoGClass)));
            if (!p || !p->m_bJustLoaded) AfxThrowArchiveException(CArchiveException::badIndex);
            p->m_bJustLoaded = false;
            m_GCList.AddTail(p);
        }
    }
    SerializeFieldInfoList(ar, &m_FieldList);
    m_GeoView.Serialize1(ar);
    if (ar.IsStoring()) {
        ar << m_strName << static_cast<DWORD>(m_nDataType);
    } else {
        ar >> m_strName;
        if (m_GeoView.m_fVersion > 1.36f) {
            DWORD dw = 0;
            ar >> dw;
            m_nDataType = static_cast<int>(dw);
        }
    }
}

void ClearThemeList(CTypedPtrList<CObList, CGeoTheme*>* pList) {
    if (!pList) return;
    for (POSITION pos = pList->GetHeadPosition(); pos;) {
        CGeoTheme* p = pList->GetNext(pos);
        if (p) p->Remove();
    }
    if (!pList->IsEmpty()) pList->RemoveAll();
}

void CopyThemeList(CTypedPtrList<CObList, CGeoTheme*>* pDst, CTypedPtrList<CObList, CGeoTheme*>* pSrc) {
    if (!pDst || pDst == pSrc) return;
    ClearThemeList(pDst);
    if (!pSrc) return;
    for (POSITION pos = pSrc->GetHeadPosition(); pos;) {
        CGeoTheme* p = pSrc->GetNext(pos);
        if (!p) continue;
        auto* q = new CGeoTheme;
        *q = *p;
        pDst->AddTail(q);
    }
}
