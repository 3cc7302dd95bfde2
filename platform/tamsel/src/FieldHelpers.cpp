#include "tamsel/FieldHelpers.h"

LONG GetFieldSize(CDaoFieldInfo info) {
    switch (info.m_nType) {
        case dbBoolean:
        case dbByte:
            return 1;
        case dbInteger:
            return 2;
        case dbLong:
        case dbSingle:
            return 4;
        case dbCurrency:
        case dbDouble:
        case dbDate:
            return 8;
        case dbText:
            return info.m_lSize > 0 ? info.m_lSize : 50;
        default:  // memo and unknown types
            return 0;
    }
}
