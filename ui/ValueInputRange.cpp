#include "ui/ValueInputRange.h"

int ClampValueRangeMode(int nMode) { return nMode >= 0 && nMode <= 3 ? nMode : 3; }

namespace {

BOOL Fail(CString* pstrMessage, const CString& text) {
    if (pstrMessage) *pstrMessage = text;
    return FALSE;
}

}  // namespace

BOOL CheckValueInRange(LONG lValue, LONG lMin, LONG lMax, int nMode, CString* pstrMessage) {
    CString text;
    switch (ClampValueRangeMode(nMode)) {
    case 0:
        if (lValue < lMin || lValue > lMax) {
            text.Format("输入值应在%d和%d之间!", static_cast<int>(lMin), static_cast<int>(lMax));
            return Fail(pstrMessage, text);
        }
        break;
    case 1:
        if (lValue < lMin) {
            text.Format("输入值应大于%d!", static_cast<int>(lMin));
            return Fail(pstrMessage, text);
        }
        break;
    case 2:
        if (lValue > lMax) {
            text.Format("输入值应小于%d!", static_cast<int>(lMax));
            return Fail(pstrMessage, text);
        }
        break;
    default: break;
    }
    return TRUE;
}

BOOL CheckValueInRange(float fValue, float fMin, float fMax, int nMode, CString* pstrMessage) {
    CString text;
    switch (ClampValueRangeMode(nMode)) {
    case 0:
        if (!(fValue >= fMin) || fValue > fMax) {
            text.Format("输入值应在%f和%f之间!", static_cast<double>(fMin), static_cast<double>(fMax));
            return Fail(pstrMessage, text);
        }
        break;
    case 1:
        if (!(fValue >= fMin)) {
            text.Format("输入值应大于%f!", static_cast<double>(fMin));
            return Fail(pstrMessage, text);
        }
        break;
    case 2:
        if (fValue > fMax) {
            text.Format("输入值应小于%f!", static_cast<double>(fMax));
            return Fail(pstrMessage, text);
        }
        break;
    default: break;
    }
    return TRUE;
}
