#include "afx/VariantArchive.h"

CArchive& operator<<(CArchive& ar, const COleVariant& v) {
    ar << static_cast<WORD>(v.vt);
    switch (v.vt) {
        case VT_EMPTY:
        case VT_NULL:
            break;
        case VT_UI1:
            ar << v.bVal;
            break;
        case VT_I2:
        case VT_BOOL:
            ar << static_cast<SHORT>(v.iVal);
            break;
        case VT_I4:
        case VT_ERROR:
            ar << v.lVal;
            break;
        case VT_R4:
            ar << v.fltVal;
            break;
        case VT_R8:
        case VT_DATE:
            ar << v.dblVal;
            break;
        case VT_CY:
            ar << v.cyVal.Lo << v.cyVal.Hi;
            break;
        case VT_BSTR: {
            DWORD n = static_cast<DWORD>(v.strVal.GetLength());
            ar << n;
            if (n) ar.Write(v.strVal.str().data(), n);
            break;
        }
        default:
            AfxThrowArchiveException(CArchiveException::badSchema);
    }
    return ar;
}

CArchive& operator>>(CArchive& ar, COleVariant& v) {
    WORD vt = 0;
    ar >> vt;
    COleVariant r;
    r.vt = vt;
    switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
            break;
        case VT_UI1:
            ar >> r.bVal;
            break;
        case VT_I2:
        case VT_BOOL: {
            SHORT s = 0;
            ar >> s;
            r.iVal = s;
            break;
        }
        case VT_I4:
        case VT_ERROR:
            ar >> r.lVal;
            break;
        case VT_R4:
            ar >> r.fltVal;
            break;
        case VT_R8:
        case VT_DATE:
            ar >> r.dblVal;
            break;
        case VT_CY:
            ar >> r.cyVal.Lo >> r.cyVal.Hi;
            break;
        case VT_BSTR: {
            DWORD n = 0;
            ar >> n;
            ar.EnsureAvailable(n);
            std::string s(n, '\0');
            if (n && ar.Read(&s[0], n) != n) AfxThrowArchiveException(CArchiveException::endOfFile);
            r.strVal = CString(s);
            break;
        }
        default:
            AfxThrowArchiveException(CArchiveException::badSchema);
    }
    v = r;
    return ar;
}

template <> void SerializeElements<COleVariant>(CArchive& ar, COleVariant* pElements, int nCount) {
    for (int i = 0; i < nCount; ++i) {
        if (ar.IsStoring())
            ar << pElements[i];
        else
            ar >> pElements[i];
    }
}
