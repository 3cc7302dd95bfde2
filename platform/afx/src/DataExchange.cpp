#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "CtrlInternal.h"
#include "afx/DateTimeCtrl.h"
#include "afx/Dialog.h"
#include "afx/Exception.h"
#include "afx/WinApp.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND h = ::GetDlgItem(m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr, nIDC);
    if (!h) throw CNotSupportedException();
    m_hWndLastControl = h;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail() {
    if (!m_bSaveAndValidate) throw CUserException();
    if (m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

namespace {

CString GetText(HWND h) {
    CString s;
    if (CWnd* w = CWnd::FromHandle(h)) w->GetWindowText(s);
    return s;
}

// Writes only when the text differs, so that the caret and selection stay where they are otherwise.
void SetText(HWND h, const CString& s) {
    if (GetText(h) != s) ::SetWindowTextA(h, s);
}

void Complain(CDataExchange* pDX, const CString& text, UINT kind) {
    AfxMessageBox(text, MB_ICONEXCLAMATION, kind);
    pDX->Fail();
}

// A whole integer with optional blanks around it; false for anything else or out of [lo, hi].
bool ParseInteger(const CString& s, bool allowMinus, long long lo, unsigned long long hi, long long& out) {
    const char* p = s;
    while (*p == ' ' || *p == '\t') ++p;
    bool neg = false;
    if (*p == '-' || *p == '+') {
        neg = *p == '-';
        if (neg && !allowMinus) return false;
        ++p;
    }
    if (*p < '0' || *p > '9') return false;
    unsigned long long v = 0;
    while (*p >= '0' && *p <= '9') {
        v = v * 10 + static_cast<unsigned>(*p - '0');
        if (v > 0xFFFFFFFFFFull) return false;
        ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (*p) return false;
    long long sv = neg ? -static_cast<long long>(v) : static_cast<long long>(v);
    if (neg ? sv < lo : v > hi) return false;
    out = sv;
    return true;
}

bool ParseReal(const CString& s, double& out) {
    const char* p = s;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(p, &end);
    if (end == p || errno == ERANGE || !std::isfinite(v)) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    while (*p == ' ' || *p == '\t') ++p;
    if (p != static_cast<const char*>(s) && false) return false;
    out = v;
    return true;
}

template <class T>
void TextInteger(CDataExchange* pDX, int nIDC, T& value, bool isSigned, long long lo, unsigned long long hi) {
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseInteger(GetText(h), isSigned, lo, hi, v))
            Complain(pDX, isSigned ? "请输入一个整数。" : "请输入一个非负整数。", isSigned ? AFX_IDP_PARSE_INT : AFX_IDP_PARSE_UINT);
        value = static_cast<T>(v);
    } else {
        CString s;
        if (isSigned) s.Format("%lld", static_cast<long long>(value));
        else s.Format("%llu", static_cast<unsigned long long>(value));
        SetText(h, s);
    }
}

template <class T>
void TextReal(CDataExchange* pDX, int nIDC, T& value, int digits) {
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double v = 0;
        if (!ParseReal(GetText(h), v) || (sizeof(T) == sizeof(float) && std::fabs(v) > FLT_MAX))
            Complain(pDX, "请输入一个数值。", AFX_IDP_PARSE_REAL);
        value = static_cast<T>(v);
    } else {
        CString s;
        s.Format("%.*g", digits, static_cast<double>(value));
        SetText(h, s);
    }
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = GetText(h);
    else SetText(h, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { TextInteger(pDX, nIDC, value, true, INT_MIN, INT_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { TextInteger(pDX, nIDC, value, false, 0, UINT_MAX); }
// long is a 32-bit LONG in the records this exchanges, whatever its width here.
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { TextInteger(pDX, nIDC, value, true, INT_MIN, INT_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) { TextInteger(pDX, nIDC, value, true, SHRT_MIN, SHRT_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { TextInteger(pDX, nIDC, value, false, 0, UCHAR_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { TextReal(pDX, nIDC, value, FLT_DIG); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { TextReal(pDX, nIDC, value, DBL_DIG); }

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = static_cast<int>(::SendMessageA(h, BM_GETCHECK, 0, 0));
    else ::SendMessageA(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND first = pDX->PrepareCtrl(nIDC);
    HWND parent = ::GetParent(first);
    std::vector<HWND> kids = GetChildWindows(parent);
    size_t i = 0;
    while (i < kids.size() && kids[i] != first) ++i;
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    for (size_t k = i; k < kids.size(); ++k) {
        if (k > i && (GetWindowLongPtrA(kids[k], GWL_STYLE) & WS_GROUP)) break;
        DWORD type = static_cast<DWORD>(GetWindowLongPtrA(kids[k], GWL_STYLE)) & BS_TYPEMASK;
        if (type != BS_RADIOBUTTON && type != BS_AUTORADIOBUTTON) continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(kids[k], BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageA(kids[k], BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageA(h, CB_GETCURSEL, 0, 0));
    else ::SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = GetText(h);
    } else if (::SendMessageA(h, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>((LPCSTR)value)) == CB_ERR) {
        if ((GetWindowLongPtrA(h, GWL_STYLE) & 3) != CBS_DROPDOWNLIST) SetText(h, value);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = GetText(h);
        return;
    }
    LRESULT i = ::SendMessageA(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>((LPCSTR)value));
    if (i != CB_ERR) ::SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    else if ((GetWindowLongPtrA(h, GWL_STYLE) & 3) != CBS_DROPDOWNLIST) SetText(h, value);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageA(h, LB_GETCURSEL, 0, 0));
    else ::SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int i = static_cast<int>(::SendMessageA(h, LB_GETCURSEL, 0, 0));
        value.Empty();
        if (i >= 0) {
            int n = static_cast<int>(::SendMessageA(h, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
            std::string buf(static_cast<size_t>(n) + 1, '\0');
            ::SendMessageA(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&buf[0]));
            buf.resize(static_cast<size_t>(n));
            value = CString(buf);
        }
    } else {
        ::SendMessageA(h, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>((LPCSTR)value));
    }
}

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = ::GetScrollPos(h, SB_CTL);
    else ::SetScrollPos(h, SB_CTL, value, TRUE);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(h)) throw CNotSupportedException();
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    CDateTimeCtrl* c = static_cast<CDateTimeCtrl*>(CWnd::FromHandle(h));
    if (!c || !c->IsKindOf(RUNTIME_CLASS(CDateTimeCtrl))) throw CNotSupportedException();
    if (pDX->m_bSaveAndValidate) c->GetTime(value);
    else c->SetTime(value);
}

namespace {
template <class T>
void Range(CDataExchange* pDX, T value, T lo, T hi, const char* fmt, UINT kind) {
    if (!pDX->m_bSaveAndValidate || (value >= lo && value <= hi)) return;
    CString msg;
    msg.Format(fmt, lo, hi);
    Complain(pDX, msg, kind);
}
}  // namespace

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    Range(pDX, value, minVal, maxVal, "请输入 %d 到 %d 之间的整数。", AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    Range(pDX, value, minVal, maxVal, "请输入 %u 到 %u 之间的整数。", AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
    Range(pDX, value, minVal, maxVal, "请输入 %ld 到 %ld 之间的整数。", AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
    Range(pDX, value, minVal, maxVal, "请输入 %u 到 %u 之间的整数。", AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
    Range<int>(pDX, value, minVal, maxVal, "请输入 %d 到 %d 之间的整数。", AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
    Range<int>(pDX, value, minVal, maxVal, "请输入 %d 到 %d 之间的整数。", AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal) {
    Range<double>(pDX, value, minVal, maxVal, "请输入 %g 到 %g 之间的数值。", AFX_IDP_PARSE_REAL_RANGE);
}
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal) {
    Range(pDX, value, minVal, maxVal, "请输入 %g 到 %g 之间的数值。", AFX_IDP_PARSE_REAL_RANGE);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->m_hWndLastControl) ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() <= nChars) return;
    CString msg;
    msg.Format("输入的内容不能超过 %d 个字符。", nChars);
    Complain(pDX, msg, AFX_IDP_PARSE_STRING_SIZE);
}
