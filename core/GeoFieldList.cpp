#include "core/GeoFieldList.h"

#include <tamsel/FieldHelpers.h>

#include <cstdint>
#include <memory>

namespace {

// The nine type names, in the order the name map is filled and searched.
struct TypeEntry {
    short nCode;
    const char* pszName;
    short nDefaultLength;
};
const TypeEntry kTypes[] = {
    {dbText, "文本", 50},    {dbByte, "字节", 1},   {dbInteger, "短整数", 2},
    {dbLong, "长整数", 4},   {dbDouble, "浮点数", 8}, {dbBoolean, "是/否", 1},
    {dbCurrency, "货币", 8}, {dbDate, "日期", 8},   {dbMemo, "备注", 50},
};

// The choice table of the field dialogs.
const int kChoiceCodes[FIELD_TYPE_CHOICES] = {dbBoolean, dbByte, dbCurrency, dbDate, dbDouble,
                                              dbLong,    dbMemo, dbInteger,  dbText};
const char kChoiceNames[FIELD_TYPE_CHOICES][20] = {"布尔型", "字符型", "货币型", "日期", "双精度",
                                                   "长整型", "备注",   "整数",   "字符串"};

CDaoFieldInfo BuildDefaultFieldInfo() {
    CDaoFieldInfo info;
    info.m_nType = dbBoolean;
    info.m_lSize = GetFieldSize(info);
    info.m_lAttributes = dbUpdatableField;
    info.m_nOrdinalPosition = 1;
    return info;
}

// Built on first use; it depends on nothing that could change before that.
CDaoFieldInfo& DefaultFieldInfo() {
    static CDaoFieldInfo info = BuildDefaultFieldInfo();
    return info;
}

}  // namespace

const char* const g_lpszRelationWords[RELATION_COUNT] = {"", "等于", "不等于", "大于", "大于等于", "小于", "小于等于"};
const char* const g_lpszRelationSymbols[RELATION_COUNT] = {"", "=", "<>", ">", ">=", "<", "<="};

void ClearFieldInfoList(CPtrList* pList) {
    if (!pList) return;
    for (POSITION pos = pList->GetHeadPosition(); pos;) delete static_cast<CDaoFieldInfo*>(pList->GetNext(pos));
    if (!pList->IsEmpty()) pList->RemoveAll();
}

void CopyFieldInfoList(CPtrList* pDst, CPtrList* pSrc) {
    if (!pDst || pDst == pSrc) return;
    ClearFieldInfoList(pDst);
    if (!pSrc) return;
    for (POSITION pos = pSrc->GetHeadPosition(); pos;) {
        auto* p = static_cast<CDaoFieldInfo*>(pSrc->GetNext(pos));
        if (p) pDst->AddTail(new CDaoFieldInfo(*p));
    }
}

void SerializeFieldInfoList(CArchive& ar, CPtrList* pList) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(pList->GetCount());
        for (POSITION pos = pList->GetHeadPosition(); pos;) {
            const CDaoFieldInfo* p = static_cast<CDaoFieldInfo*>(pList->GetNext(pos));
            CDaoFieldInfo empty;
            if (!p) p = &empty;  // keeps the count right for a list that holds a null element
            ar << p->m_strName << static_cast<SHORT>(p->m_nType) << p->m_lSize << p->m_lAttributes
               << static_cast<SHORT>(p->m_nOrdinalPosition) << p->m_bRequired << p->m_bAllowZeroLength
               << p->m_lCollatingOrder << p->m_strForeignName << p->m_strSourceField << p->m_strSourceTable
               << p->m_strValidationRule << p->m_strValidationText << p->m_strDefaultValue;
        }
    } else {
        DWORD nCount = 0;
        ar >> nCount;
        for (DWORD i = 0; i < nCount; ++i) {
            auto p = std::make_unique<CDaoFieldInfo>();
            ar >> p->m_strName >> p->m_nType >> p->m_lSize >> p->m_lAttributes >> p->m_nOrdinalPosition >>
                p->m_bRequired >> p->m_bAllowZeroLength >> p->m_lCollatingOrder >> p->m_strForeignName >>
                p->m_strSourceField >> p->m_strSourceTable >> p->m_strValidationRule >> p->m_strValidationText >>
                p->m_strDefaultValue;
            pList->AddTail(p.release());
        }
    }
}

CDaoFieldInfo GetDefaultFieldInfo() { return DefaultFieldInfo(); }

void SetDefaultFieldInfo(CDaoFieldInfo info) { DefaultFieldInfo() = info; }

FTListMap::FTListMap() {
    for (const TypeEntry& t : kTypes)
        SetAt(static_cast<WORD>(t.nCode), const_cast<void*>(static_cast<const void*>(t.pszName)));
}

CString FTListMap::GetTypeString(short nType) {
    void* p = nullptr;
    if (!Lookup(static_cast<WORD>(nType), p)) return CString();
    return CString(static_cast<const char*>(p));
}

short FTListMap::GetStringType(CString strName) {
    strName.MakeUpper();
    for (const TypeEntry& t : kTypes)
        if (strName == t.pszName) return t.nCode;
    return 0;
}

FTLenMap::FTLenMap() {
    for (const TypeEntry& t : kTypes)
        SetAt(static_cast<WORD>(t.nCode), reinterpret_cast<void*>(static_cast<uintptr_t>(t.nDefaultLength)));
}

short FTLenMap::GetTypeLenth(short nType) {
    void* p = nullptr;
    if (!Lookup(static_cast<WORD>(nType), p)) return 0;
    return static_cast<short>(reinterpret_cast<uintptr_t>(p));
}

void GetFieldTypeCodes(int* pCodes) {
    for (int i = 0; i < FIELD_TYPE_CHOICES; ++i) pCodes[i] = kChoiceCodes[i];
}

int GetFieldTypeIndex(CDaoFieldInfo info) {
    for (int i = 0; i < FIELD_TYPE_CHOICES; ++i)
        if (kChoiceCodes[i] == info.m_nType) return i;
    return 0;
}

int GetFieldTypeCode(int nIndex) {
    return nIndex >= 0 && nIndex < FIELD_TYPE_CHOICES ? kChoiceCodes[nIndex] : 0;
}

CString GetFieldTypeName(int nIndex) {
    return nIndex >= 0 && nIndex < FIELD_TYPE_CHOICES ? CString(kChoiceNames[nIndex]) : CString();
}

LONG GetFieldSize(int nType, int nWidth, int nLen, int nDec) {
    // Shifted as unsigned: the parts are bit fields, and a negative part must not be undefined behaviour.
    const DWORD w = static_cast<DWORD>(nWidth), l = static_cast<DWORD>(nLen), d = static_cast<DWORD>(nDec);
    switch (nType) {
        case dbByte:
        case dbInteger:
        case dbLong:
            return static_cast<LONG>(w | l << 8);
        case dbSingle:
        case dbDouble:
            return static_cast<LONG>(d << 16 | l << 8 | w);
        case dbText:
        case dbMemo:
            return nWidth;
        default:
            return 0;
    }
}

void GetFieldSize(int nType, LONG lSize, int& nWidth, int& nLen, int& nDec) {
    const bool bGiven = lSize > 0;
    const int w = lSize & 0xFF, l = (lSize >> 8) & 0xFF, d = (lSize >> 16) & 0xFF;
    int nDefaultWidth = 0;
    switch (nType) {
        case dbByte: nDefaultWidth = 3; break;
        case dbInteger: nDefaultWidth = 5; break;
        case dbLong: nDefaultWidth = 6; break;
        case dbDouble: nDefaultWidth = 8; break;
        case dbText:
        case dbMemo:
            nWidth = bGiven ? static_cast<int>(lSize) : FTLenMap().GetTypeLenth(static_cast<short>(nType));
            nLen = nWidth;
            nDec = 0;
            return;
        default:
            nWidth = nLen = nDec = 0;
            return;
    }
    nWidth = bGiven ? w : nDefaultWidth;
    nLen = bGiven && l != 0 ? l : nWidth;
    nDec = nType == dbDouble ? (bGiven && d != 0 ? d : 2) : 0;
}
