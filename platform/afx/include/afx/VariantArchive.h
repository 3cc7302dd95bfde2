// The archive form of COleVariant, so that lists, arrays and maps of variants can be declared and
// serialised like the other collections (CList<COleVariant, COleVariant&> needs it to compile).
//
// Form: WORD variant type, then the value: nothing for VT_EMPTY and VT_NULL; BYTE for VT_UI1; 16 bits
// for VT_I2 and VT_BOOL; 32 bits for VT_I4 and VT_ERROR; float for VT_R4; double for VT_R8 and
// VT_DATE; VT_CY as its DWORD low and LONG high words; VT_BSTR as a DWORD byte count and the bytes.
// Loading any other type code raises CArchiveException (badSchema).
#pragma once

#include "afx/Collections.h"
#include "afx/OleTypes.h"

CArchive& operator<<(CArchive& ar, const COleVariant& v);
CArchive& operator>>(CArchive& ar, COleVariant& v);

template <> void SerializeElements<COleVariant>(CArchive& ar, COleVariant* pElements, int nCount);
