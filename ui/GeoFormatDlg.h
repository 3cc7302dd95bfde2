// CGeoFormatDlg: "定义格式化文本参数" (template 2040), the spacing of formatted text: the fraction
// bar's horizontal and vertical start (1500, 1501), the vertical stroke's (1502, 1503), each an int
// from 0 to 999999999, and the bar width (1504, a float of any value), all in tenths of a millimetre as
// the caller converts them. Values outside the ranges keep the dialog open with the class library's
// message.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>

#include "annotation/GeoAnnoRecord.h"

class CGeoFormatDlg : public CDialog {
    DECLARE_DYNAMIC(CGeoFormatDlg)
public:
    enum { IDD = 2040 };

    explicit CGeoFormatDlg(CWnd* pParent = nullptr);

    // The fields as shown: hor, ver, fen_hor, fen_ver and fen_shu_width.
    tagGEOFORMAT m_Format;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
