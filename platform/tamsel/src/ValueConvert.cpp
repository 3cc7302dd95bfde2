#include "tamsel/ValueConvert.h"

#include <dao/DaoFieldInfo.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A decimal number with optional sign, point and exponent, and nothing else.
bool ReadDecimal(const CString& text, double& out) {
    const std::string& s = text.str();
    if (s.empty()) return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E')) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool RoundInRange(double v, double lo, double hi, long long& out) {
    double r = std::round(v);  // halves away from zero
    if (!(r >= lo && r <= hi)) return false;
    out = static_cast<long long>(r);
    return true;
}

// Reads 1 to 4 digits at p.
bool ReadNumber(const char*& p, int& out) {
    int n = 0, v = 0;
    while (*p >= '0' && *p <= '9' && n < 4) v = v * 10 + (*p++ - '0'), ++n;
    out = v;
    return n > 0;
}

bool ReadDate(const CString& text, COleDateTime& out) {
    const char* p = text;
    int y, mo, d, h = 0, mi = 0, sec = 0;
    if (!ReadNumber(p, y)) return false;
    char sep = *p;
    if (sep != '-' && sep != '/') return false;
    ++p;
    if (!ReadNumber(p, mo) || *p++ != sep || !ReadNumber(p, d)) return false;
    if (*p == ' ') {
        ++p;
        if (!ReadNumber(p, h) || *p++ != ':' || !ReadNumber(p, mi)) return false;
        if (*p == ':' && (++p, !ReadNumber(p, sec))) return false;
    }
    if (*p) return false;
    COleDateTime t(y, mo, d, h, mi, sec);
    if (t.GetStatus() != COleDateTime::valid) return false;
    out = t;
    return true;
}

// The shortest text that reads back to the same double (or float when single).
std::string Shortest(double v, bool single) {
    char buf[64];
    for (int prec = 1; prec <= 17; ++prec) {
        std::snprintf(buf, sizeof buf, "%.*g", prec, v);
        double back = std::strtod(buf, nullptr);
        if (single ? static_cast<float>(back) == static_cast<float>(v) : back == v) break;
    }
    return buf;
}

}  // namespace

COleVariant stringtoVar(CString text, short daoType) {
    COleVariant r;
    if (daoType == dbText || daoType == dbMemo) return COleVariant(text);
    CString t = text;
    t.TrimLeft();
    t.TrimRight();
    double v = 0;
    long long n = 0;
    switch (daoType) {
        case dbBoolean: {
            CString l = t;
            l.MakeLower();
            if (l == "true" || l == "yes" || l == "on" || l == "是") return COleVariant(static_cast<short>(VARIANT_TRUE), VT_BOOL);
            if (l == "false" || l == "no" || l == "off" || l == "否") return COleVariant(static_cast<short>(VARIANT_FALSE), VT_BOOL);
            if (!ReadDecimal(t, v)) return r;
            return COleVariant(static_cast<short>(v != 0 ? VARIANT_TRUE : VARIANT_FALSE), VT_BOOL);
        }
        case dbByte:
            if (!ReadDecimal(t, v) || !RoundInRange(v, 0, 255, n)) return r;
            return COleVariant(static_cast<BYTE>(n));
        case dbInteger:
            if (!ReadDecimal(t, v) || !RoundInRange(v, -32768, 32767, n)) return r;
            return COleVariant(static_cast<short>(n));
        case dbLong:
            if (!ReadDecimal(t, v) || !RoundInRange(v, -2147483648.0, 2147483647.0, n)) return r;
            return COleVariant(static_cast<LONG>(n));
        case dbCurrency:
            if (!ReadDecimal(t, v) || !RoundInRange(v * 10000.0, -9.2e18, 9.2e18, n)) return r;
            r.vt = VT_CY;
            r.cyVal.int64 = n;
            return r;
        case dbSingle:
            if (!ReadDecimal(t, v) || std::fabs(v) > 3.4028234663852886e38) return r;
            return COleVariant(static_cast<float>(v));
        case dbDouble:
            if (!ReadDecimal(t, v)) return r;
            return COleVariant(v);
        case dbDate: {
            COleDateTime d;
            if (!ReadDate(t, d)) return r;
            return COleVariant(d);
        }
        default:
            return r;
    }
}

CString VartoString(COleVariant* pValue) {
    if (!pValue) return CString();
    CString s;
    switch (pValue->vt) {
        case VT_UI1:
            s.Format("%d", static_cast<int>(pValue->bVal));
            break;
        case VT_I2:
            s.Format("%d", static_cast<int>(pValue->iVal));
            break;
        case VT_I4:
            s.Format("%d", static_cast<int>(pValue->lVal));
            break;
        case VT_BOOL:
            s = pValue->boolVal ? "1" : "0";
            break;
        case VT_R4:
            s = CString(Shortest(pValue->fltVal, true));
            break;
        case VT_R8:
            s = CString(Shortest(pValue->dblVal, false));
            break;
        case VT_CY: {
            long long c = pValue->cyVal.int64;
            unsigned long long a = c < 0 ? 0ULL - static_cast<unsigned long long>(c) : static_cast<unsigned long long>(c);
            s.Format("%s%llu", c < 0 ? "-" : "", a / 10000);
            unsigned frac = static_cast<unsigned>(a % 10000);
            if (frac) {
                char buf[8];
                std::snprintf(buf, sizeof buf, ".%04u", frac);
                std::string f(buf);
                while (f.back() == '0') f.pop_back();
                s += f.c_str();
            }
            break;
        }
        case VT_DATE: {
            COleDateTime d(pValue->date);
            bool midnight = d.GetHour() == 0 && d.GetMinute() == 0 && d.GetSecond() == 0;
            s = d.Format(midnight ? "%Y-%m-%d" : "%Y-%m-%d %H:%M:%S");
            break;
        }
        case VT_BSTR:
            s = pValue->strVal;
            break;
        default:
            break;
    }
    return s;
}

CString GetCurrencyUnit() { return CString("￥"); }

COleCurrency StrtoOleCurrency(CString text) {
    text.TrimLeft();
    text.TrimRight();
    const CString unit = GetCurrencyUnit();
    if (text.Left(unit.GetLength()) == unit) text = text.Mid(unit.GetLength());
    COleVariant v = stringtoVar(text, dbCurrency);
    COleCurrency cur;
    if (v.vt == VT_CY)
        cur.m_cur = v.cyVal;
    else
        cur.m_status = COleCurrency::invalid;
    return cur;
}

double StringtoDouble(CString text) {
    text.TrimLeft();
    text.TrimRight();
    double v = 0.0;
    return ReadDecimal(text, v) ? v : 0.0;
}
