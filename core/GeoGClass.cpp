#include "core/GeoGClass.h"

#include "core/CorvaneModule.h"
#include "core/FieldListOps.h"

IMPLEMENT_SERIAL(CGeoGClass, CObject, 0)

CGeoGClass::CGeoGClass()
    : m_FlagInfoList(10),
      m_FieldList(10),
      m_GeoView(GetDefaultGEOVIEW()),
      m_nMinScale(1),
      m_nMaxScale(0xFFFFFFFF),
      m_nGCID(0),
      m_strGCName("未命名地物"),
      m_fVersion(1.0f),
      m_dwType(GCT_GIS_DATA | 0x67),
      m_bElevationValid(0),
      m_nFontWidth(50),
      m_nFontHeight(50) {}

CGeoGClass::CGeoGClass(const CGeoGClass& src) : CGeoGClass() { *this = src; }

CGeoGClass& CGeoGClass::operator=(const CGeoGClass& src) {
    if (this == &src) return *this;
    m_nGCID = src.m_nGCID;
    m_strGCName = src.m_strGCName;
    m_GeoView = src.m_GeoView;
    m_nMinScale = src.m_nMinScale;
    m_nMaxScale = src.m_nMaxScale;
    m_bElevationValid = src.m_bElevationValid;
    m_fVersion = src.m_fVersion;
    m_dwType = src.m_dwType;
    m_nFontWidth = src.m_nFontWidth;
    m_nFontHeight = src.m_nFontHeight;
    ClearFieldInfoList(&m_FieldList);
    ClearFlagInfoList(&m_FlagInfoList);
    CopyFlagInfoList(&m_FlagInfoList, const_cast<CObList*>(&src.m_FlagInfoList));
    for (POSITION pos = src.m_FieldList.GetHeadPosition(); pos;) {
        auto* p = static_cast<const CDaoFieldInfo*>(src.m_FieldList.GetNext(pos));
        if (p) AddField(*p, SCHEMA_POS_TAIL);
    }
    return *this;
}

CGeoGClass::~CGeoGClass() {
    ClearFieldInfoList(&m_FieldList);
    ClearFlagInfoList(&m_FlagInfoList);
}

void CGeoGClass::Remove() { delete this; }

UINT CGeoGClass::SetGCID(UINT nID) {
    UINT old = m_nGCID;
    m_nGCID = nID;
    return old;
}

CString CGeoGClass::SetGCName(CString strName) {
    CString old = m_strGCName;
    m_strGCName = strName;
    return old;
}

UINT CGeoGClass::SetMinScale(UINT s) {
    UINT old = m_nMinScale;
    if (s <= m_nMaxScale) m_nMinScale = s;
    return old;
}

UINT CGeoGClass::SetMaxScale(UINT s) {
    UINT old = m_nMaxScale;
    if (s >= m_nMinScale) m_nMaxScale = s;
    return old;
}

void CGeoGClass::GetMinMaxScale(UINT& nMin, UINT& nMax) const {
    nMin = m_nMinScale;
    nMax = m_nMaxScale;
}

void CGeoGClass::SetMinMaxScale(UINT a, UINT b) {
    m_nMinScale = a < b ? a : b;
    m_nMaxScale = a < b ? b : a;
}

int CGeoGClass::IsValidScale(UINT s) const { return m_nMinScale <= s && s <= m_nMaxScale; }

GEOVIEW CGeoGClass::SetGeoView(GEOVIEW view) {
    GEOVIEW old = m_GeoView;
    m_GeoView = view;
    return old;
}

void CGeoGClass::SetFontSize(UINT nWidth, UINT nHeight) {
    m_nFontWidth = nWidth;
    m_nFontHeight = nHeight;
}

int CGeoGClass::GetFontSize(UINT& nWidth, UINT& nHeight) const {
    if (!(m_dwType & GCT_ANNO)) return 0;
    nWidth = m_nFontWidth;
    nHeight = m_nFontHeight;
    return 1;
}

int CGeoGClass::GetFieldInfo(int nIndex, CDaoFieldInfo& info) const { return fieldops::Get(m_FieldList, nIndex, info); }

int CGeoGClass::SetFieldInfo(int nIndex, CDaoFieldInfo info) { return fieldops::Set(m_FieldList, nIndex, info); }

int CGeoGClass::FindField(CString strName) const { return fieldops::Find(m_FieldList, strName); }

int CGeoGClass::AddField(CDaoFieldInfo info, int nPos) { return fieldops::Add(m_FieldList, info, nPos); }

int CGeoGClass::DeleteField(int nIndex) { return fieldops::Delete(m_FieldList, nIndex); }

int CGeoGClass::DeleteField(CString strName) { return DeleteField(FindField(strName)); }

int CGeoGClass::DeleteAllFields() {
    ClearFieldInfoList(&m_FieldList);
    return 1;
}

CGeoGClass& CGeoGClass::operator+=(const CDaoFieldInfo& info) {
    AddField(info, SCHEMA_POS_TAIL);
    return *this;
}

int CGeoGClass::FindFlagInfoByOldname(CString strName) const {
    return ::FindFlagInfoByOldname(m_FlagInfoList, strName);
}

int CGeoGClass::FindFlagInfoByNewname(CString strName) const {
    return ::FindFlagInfoByNewname(m_FlagInfoList, strName);
}

int CGeoGClass::EditProperties(UINT, CPtrList*, CSymbolLibIO*) { return 0; }

void CGeoGClass::Serialize(CArchive& ar) {
    m_fVersion = 1.0f;
    SerializeFieldInfoList(ar, &m_FieldList);
    m_GeoView.Serialize1(ar);
    if (ar.IsStoring()) {
        const float fLibrary = GetCorvaneLibraryVersion();
        const bool bVersioned = fLibrary > 1.0f;
        ar << static_cast<DWORD>(bVersioned ? (m_nMinScale | 0x80000000u) : m_nMinScale);
        ar << static_cast<DWORD>(m_nMaxScale) << static_cast<DWORD>(m_nGCID) << m_strGCName;
        if (bVersioned) {
            ar << fLibrary << m_dwType;
            if (fLibrary >= 1.12f) ar << static_cast<LONG>(m_bElevationValid);
            if (fLibrary >= 1.35f) ar << static_cast<DWORD>(m_nFontWidth) << static_cast<DWORD>(m_nFontHeight);
        }
    } else {
        DWORD w = 0;
        ar >> w;
        m_nMinScale = w & 0x7FFFFFFFu;
        DWORD dw = 0;
        ar >> dw;
        m_nMaxScale = dw;
        ar >> dw;
        m_nGCID = dw;
        ar >> m_strGCName;
        if (w & 0x80000000u) ar >> m_fVersion;
        if (m_fVersion >= 1.1f) {
            ar >> m_dwType;
            if (!(m_dwType & (GCT_GIS_DATA | GCT_CARTO_DATA))) m_dwType |= GCT_GIS_DATA;
        }
        if (m_fVersion >= 1.12f) {
            LONG l = 0;
            ar >> l;
            m_bElevationValid = l;
        }
        if (m_fVersion >= 1.35f) {
            ar >> dw;
            m_nFontWidth = dw;
            ar >> dw;
            m_nFontHeight = dw;
        }
        m_bJustLoaded = true;
    }
}

void ClearGCList(CTypedPtrList<CObList, CGeoGClass*>* pList) {
    if (!pList) return;
    for (POSITION pos = pList->GetHeadPosition(); pos;) {
        CGeoGClass* p = pList->GetNext(pos);
        if (p) p->Remove();
    }
    if (!pList->IsEmpty()) pList->RemoveAll();
}

void CopyGCList(CTypedPtrList<CObList, CGeoGClass*>* pDst, CTypedPtrList<CObList, CGeoGClass*>* pSrc) {
    if (!pDst || pDst == pSrc) return;
    ClearGCList(pDst);
    if (!pSrc) return;
    for (POSITION pos = pSrc->GetHeadPosition(); pos;) {
        CGeoGClass* p = pSrc->GetNext(pos);
        if (!p) continue;
        auto* q = new CGeoGClass;
        *q = *p;
        pDst->AddTail(q);
    }
}
