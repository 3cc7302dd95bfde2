// Image lists: a row of equal images (one bitmap cut into cx-wide pieces, with a mask colour), and the
// one drag image of the system (BeginDrag ... EndDrag), whose state ImageList_GetDragState shows.
#pragma once

#include "afx/Wnd.h"

class CDC;
class CBitmap;

class CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;  // deletes a list it still holds
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    static CImageList* FromHandle(HIMAGELIST h);

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // The bitmap resource nBitmapID (AfxRegisterBitmapResource) cut into cx-wide images; crMask marks
    // transparent pixels. FALSE when the resource is missing.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL DeleteImageList();
    BOOL Attach(HIMAGELIST h);
    HIMAGELIST Detach();
    int Add(CBitmap* pbmImage, COLORREF crMask);  // the first index, -1
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int GetImageCount() const;
    BOOL Remove(int nImage);
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);

    static BOOL BeginDrag(CImageList* pList, int nImage, CPoint ptHotSpot);
    BOOL BeginDrag(int nImage, CPoint ptHotSpot) { return BeginDrag(this, nImage, ptHotSpot); }
    static BOOL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL DragMove(CPoint pt);
    static BOOL DragShowNolock(BOOL bShow);
    static BOOL DragLeave(CWnd* pWndLock);
    static void EndDrag();
};
