// CImagePropertyDlg: the image's name, file, size, scanning resolution and scale (template 2001,
// "图像属性").
//
// SetImage fills the fields from an image; the name (at most 20 characters), both dpi and the scale
// (100 to 1 000 000) can be edited, the rest is shown only. "重置(&R)" (1008) puts the name, dpi and
// scale back to what the dialog opened with. After IDOK, ApplyTo writes what changed into the image.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>

class CGeoImage;

class CImagePropertyDlg : public CDialog {
    DECLARE_DYNAMIC(CImagePropertyDlg)
public:
    enum { IDD = 2001 };

    explicit CImagePropertyDlg(CWnd* pParent = nullptr);

    // The fields from image: its object name, its bitmap's file name and size, its dpi (truncated to
    // whole numbers) and scale. The image is not kept.
    void SetImage(CGeoImage* image);
    // Applies the fields to image: dpi or scale that differ from the image's (dpi compared truncated)
    // go in through one SetRasterParameter; a different name through SetObjectName. 1 when anything
    // changed, else 0.
    int ApplyTo(CGeoImage* image) const;

    CString m_strName;
    CString m_strFile;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nXDpi = 0;
    int m_nYDpi = 0;
    UINT m_nScale = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnReset();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strOldName;
    int m_nOldXDpi = 0;
    int m_nOldYDpi = 0;
    UINT m_nOldScale = 0;
};
