#include "afx/OleTypes.h"

#include <cmath>
#include <ctime>
#include <string>

namespace {
COleDateTime (*g_pfnClock)() = nullptr;

// Days from 1899-12-30 to the given civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468 + 25569;  // 25569 = 1970-01-01
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z -= 25569;
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// Splits a date into whole days and seconds of the day; negative dates count the time forward
// from the day's start, as the original's dates do.
void Split(DATE dt, long long& days, int& secs) {
    double whole = std::trunc(dt);
    double frac = std::fabs(dt - whole);
    days = static_cast<long long>(whole);
    secs = static_cast<int>(std::lround(frac * 86400.0));
    if (secs >= 86400) {
        secs -= 86400;
        days += dt < 0 ? -1 : 1;
    }
}
}  // namespace

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 ||
        nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59) {
        m_dt = 0;
        m_status = invalid;
        return 1;
    }
    int y, m, d;
    long long days = DaysFromCivil(nYear, static_cast<unsigned>(nMonth), static_cast<unsigned>(nDay));
    CivilFromDays(days, y, m, d);
    if (d != nDay) {  // 31 April and the like
        m_dt = 0;
        m_status = invalid;
        return 1;
    }
    double frac = (nHour * 3600 + nMin * 60 + nSec) / 86400.0;
    m_dt = days >= 0 ? days + frac : days - frac;
    m_status = valid;
    return 0;
}

COleDateTime COleDateTime::GetCurrentTime() {
    if (g_pfnClock) return g_pfnClock();
    time_t t = ::time(nullptr);
    struct tm lt;
    localtime_r(&t, &lt);
    return COleDateTime(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min, lt.tm_sec);
}

void COleDateTime::SetClock(COleDateTime (*pfnClock)()) { g_pfnClock = pfnClock; }

int COleDateTime::GetYear() const { long long d; int s; Split(m_dt, d, s); int y, m, dd; CivilFromDays(d, y, m, dd); return y; }
int COleDateTime::GetMonth() const { long long d; int s; Split(m_dt, d, s); int y, m, dd; CivilFromDays(d, y, m, dd); return m; }
int COleDateTime::GetDay() const { long long d; int s; Split(m_dt, d, s); int y, m, dd; CivilFromDays(d, y, m, dd); return dd; }
int COleDateTime::GetHour() const { long long d; int s; Split(m_dt, d, s); return s / 3600; }
int COleDateTime::GetMinute() const { long long d; int s; Split(m_dt, d, s); return s / 60 % 60; }
int COleDateTime::GetSecond() const { long long d; int s; Split(m_dt, d, s); return s % 60; }
int COleDateTime::GetDayOfWeek() const {
    long long d; int s; Split(m_dt, d, s);
    // 1899-12-30 was a Saturday (7).
    long long w = ((d % 7) + 7 + 6) % 7;
    return static_cast<int>(w) + 1;
}

CString COleDateTime::Format(LPCSTR pFormat) const {
    if (m_status != valid) return CString();
    struct tm t = {};
    t.tm_year = GetYear() - 1900;
    t.tm_mon = GetMonth() - 1;
    t.tm_mday = GetDay();
    t.tm_hour = GetHour();
    t.tm_min = GetMinute();
    t.tm_sec = GetSecond();
    t.tm_wday = GetDayOfWeek() - 1;
    char buf[256];
    size_t n = strftime(buf, sizeof buf, pFormat ? pFormat : "", &t);
    return CString(buf, static_cast<int>(n));
}

CArchive& operator<<(CArchive& ar, const COleDateTime& dt) { return ar << static_cast<LONG>(dt.m_status) << dt.m_dt; }

CArchive& operator>>(CArchive& ar, COleDateTime& dt) {
    LONG status;
    ar >> status >> dt.m_dt;
    dt.m_status = static_cast<COleDateTime::DateTimeStatus>(status);
    return ar;
}

CArchive& operator<<(CArchive& ar, const COleCurrency& cur) {
    return ar << static_cast<LONG>(cur.m_status) << cur.m_cur.Hi << cur.m_cur.Lo;
}

CArchive& operator>>(CArchive& ar, COleCurrency& cur) {
    LONG status;
    ar >> status >> cur.m_cur.Hi >> cur.m_cur.Lo;
    cur.m_status = static_cast<COleCurrency::CurrencyStatus>(status);
    return ar;
}

COleVariant::COleVariant(short s, VARTYPE vtSrc) : vt(static_cast<VARTYPE>(vtSrc == VT_BOOL ? VT_BOOL : VT_I2)) {
    if (vt == VT_BOOL) boolVal = s ? VARIANT_TRUE : VARIANT_FALSE;
    else iVal = s;
}

COleVariant::COleVariant(LONG l, VARTYPE vtSrc) : vt(vtSrc == VT_BOOL || vtSrc == VT_ERROR ? vtSrc : static_cast<VARTYPE>(VT_I4)) {
    if (vt == VT_BOOL) boolVal = l ? VARIANT_TRUE : VARIANT_FALSE;
    else if (vt == VT_ERROR) scode = l;
    else lVal = l;
}

bool COleVariant::operator==(const COleVariant& o) const {
    if (vt != o.vt) return false;
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL: return true;
    case VT_UI1: return bVal == o.bVal;
    case VT_I2: return iVal == o.iVal;
    case VT_I4: return lVal == o.lVal;
    case VT_ERROR: return scode == o.scode;
    case VT_R4: return fltVal == o.fltVal;
    case VT_R8: return dblVal == o.dblVal;
    case VT_BOOL: return boolVal == o.boolVal;
    case VT_CY: return cyVal.int64 == o.cyVal.int64;
    case VT_DATE: return date == o.date;
    case VT_BSTR: return strVal == o.strVal;
    default: return false;
    }
}

void VariantClear(COleVariant* pv) {
    if (pv) pv->Clear();
}

CString COleCurrency::Format(DWORD, LCID) const {
    if (m_status != valid) return CString();
    const long long v = m_cur.int64;
    const unsigned long long a = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    std::string s = (v < 0 ? "-" : "") + std::to_string(a / 10000);
    std::string frac = std::to_string(10000 + a % 10000).substr(1);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    if (!frac.empty()) s += "." + frac;
    return CString(s.c_str());
}
