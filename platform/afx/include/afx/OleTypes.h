// COleDateTime, COleCurrency and COleVariant as the attribute values and records use them.
#pragma once

#include "afx/Archive.h"
#include "afx/String.h"

#include <utility>

// Variant type codes.
enum VARENUM {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_UI1 = 17
};
typedef WORD VARTYPE;
typedef short VARIANT_BOOL;
#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)
typedef double DATE;

union CY {
    struct {
        DWORD Lo;
        LONG Hi;
    };
    LONGLONG int64;
};

// A point in time as days since 1899-12-30 (fractions are the time of day).
class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;
    COleDateTime(DATE dt) : m_dt(dt) {}
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    // The clock's current local time. Tests can replace the clock (NULL restores the system clock).
    static COleDateTime GetCurrentTime();
    static void SetClock(COleDateTime (*pfnClock)());

    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday
    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus s) { m_status = s; }
    // strftime format; "" when not valid.
    CString Format(LPCSTR pFormat = "%Y-%m-%d %H:%M:%S") const;
    operator DATE() const { return m_dt; }
    bool operator==(const COleDateTime& o) const { return m_status == o.m_status && m_dt == o.m_dt; }
    bool operator!=(const COleDateTime& o) const { return !(*this == o); }

    DATE m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

// Archive form: LONG status, then the double.
CArchive& operator<<(CArchive& ar, const COleDateTime& dt);
CArchive& operator>>(CArchive& ar, COleDateTime& dt);

// A fixed-point amount in units of 1/10000.
typedef DWORD LCID;
#ifndef LANG_USER_DEFAULT
#define LANG_USER_DEFAULT 0x0400
#endif

class COleCurrency {
public:
    enum CurrencyStatus { valid = 0, invalid = 1, null = 2 };
    COleCurrency() { m_cur.int64 = 0; }
    COleCurrency(CY cy) : m_cur(cy) {}
    COleCurrency(long long nUnits, long long nFractionalUnits) { SetCurrency(nUnits, nFractionalUnits); }
    void SetCurrency(long long nUnits, long long nFractionalUnits) { m_cur.int64 = nUnits * 10000 + nFractionalUnits; }
    CurrencyStatus GetStatus() const { return m_status; }
    double ToDouble() const { return static_cast<double>(m_cur.int64) / 10000.0; }
    bool operator==(const COleCurrency& o) const { return m_status == o.m_status && m_cur.int64 == o.m_cur.int64; }
    // The value as text the way the system's currency conversion writes it: up to four decimals
    // without trailing zeros and without grouping ("12.5", "-3", "0.0001"); "" unless the status is
    // valid. The flags and the locale are accepted for the callers' sake and not read.
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;

    CY m_cur;
    CurrencyStatus m_status = valid;
};

// Archive form: LONG status, LONG high word, DWORD low word.
CArchive& operator<<(CArchive& ar, const COleCurrency& cur);
CArchive& operator>>(CArchive& ar, COleCurrency& cur);

// A tagged value. Text (VT_BSTR) is kept as GBK bytes.
class COleVariant {
public:
    COleVariant() = default;
    COleVariant(const COleVariant&) = default;
    COleVariant& operator=(const COleVariant&) = default;
    // A text value is taken over, not copied, from a value or string about to go: a record of values is
    // built for every write, so a copy of each text would be one more allocation per field.
    COleVariant(COleVariant&&) noexcept = default;
    COleVariant& operator=(COleVariant&&) noexcept = default;
    COleVariant(LPCSTR psz) : vt(VT_BSTR), strVal(psz) {}
    COleVariant(const CString& s) : vt(VT_BSTR), strVal(s) {}
    COleVariant(CString&& s) : vt(VT_BSTR), strVal(std::move(s)) {}
    COleVariant(BYTE b) : vt(VT_UI1) { bVal = b; }
    COleVariant(short s, VARTYPE vtSrc = VT_I2);   // VT_I2 or VT_BOOL
    COleVariant(LONG l, VARTYPE vtSrc = VT_I4);    // VT_I4, VT_ERROR or VT_BOOL
    COleVariant(float f) : vt(VT_R4) { fltVal = f; }
    COleVariant(double d) : vt(VT_R8) { dblVal = d; }
    COleVariant(const COleCurrency& cur) : vt(VT_CY) { cyVal = cur.m_cur; }
    COleVariant(const COleDateTime& dt) : vt(VT_DATE) { date = dt.m_dt; }

    // Back to VT_EMPTY.
    void Clear() { *this = COleVariant(); }
    // Same type and same value; text compares by bytes.
    bool operator==(const COleVariant& o) const;
    bool operator!=(const COleVariant& o) const { return !(*this == o); }

    VARTYPE vt = VT_EMPTY;
    union {
        LONGLONG llVal = 0;  // clears every member
        BYTE bVal;
        short iVal;
        LONG lVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        LONG scode;
        CY cyVal;
        DATE date;
    };
    CString strVal;  // the text of VT_BSTR
};
void VariantClear(COleVariant* pv);
