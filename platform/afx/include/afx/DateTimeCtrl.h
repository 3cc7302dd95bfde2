// The date-time picker ("SysDateTimePick32"): a date, or none with DTS_SHOWNONE. Its text is the date as
// "YYYY-MM-DD" ("" for none). Set by code it sends nothing; a person's change (the driver's SetTime)
// sends DTN_DATETIMECHANGE; losing the focus sends NM_KILLFOCUS (WM_NOTIFY).
#pragma once

#include "afx/OleTypes.h"
#include "afx/Wnd.h"

#define DTM_GETSYSTEMTIME 0x1001
#define DTM_SETSYSTEMTIME 0x1002

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // GDT_VALID with the date, GDT_NONE (the value's status null) when no date is set.
    DWORD GetTime(COleDateTime& timeDest) const;
    DWORD GetTime(LPSYSTEMTIME pTimeDest) const;
    // A valid time sets it; a null one clears it (only with DTS_SHOWNONE); FALSE for an invalid one.
    BOOL SetTime(const COleDateTime& timeNew);
    BOOL SetTime(const SYSTEMTIME* pTimeNew = nullptr);
};
