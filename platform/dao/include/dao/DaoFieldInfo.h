// The DAO field description and the DAO constants the library uses.
//
// `CDaoFieldInfo` describes one column of an attribute table: its name, DAO type code, size and flags.
// It is a plain value: copied member by member, compared by nobody. The constructor zeroes every number
// (the original structure leaves them undefined) so that a description is never read uninitialised.
#pragma once

#include <afx/afx.h>

// DAO type codes (the published DAO constants).
#define dbBoolean 1
#define dbByte 2
#define dbInteger 3
#define dbLong 4
#define dbCurrency 5
#define dbSingle 6
#define dbDouble 7
#define dbDate 8
#define dbText 10
#define dbMemo 12

// DAO field attribute bits.
#define dbFixedField 0x1
#define dbVariableField 0x2
#define dbAutoIncrField 0x10
#define dbUpdatableField 0x20

struct CDaoFieldInfo {
    CDaoFieldInfo();

    CString m_strName;
    short m_nType;             // a DAO type code above
    LONG m_lSize;              // a size as the database or the library packs it
    LONG m_lAttributes;        // db...Field bits
    short m_nOrdinalPosition;
    BOOL m_bRequired;
    BOOL m_bAllowZeroLength;
    LONG m_lCollatingOrder;
    CString m_strForeignName;
    CString m_strSourceField;
    CString m_strSourceTable;
    CString m_strValidationRule;
    CString m_strValidationText;
    CString m_strDefaultValue;
};
