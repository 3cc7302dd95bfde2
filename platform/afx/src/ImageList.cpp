#include "afx/ImageList.h"

#include <algorithm>
#include <map>
#include <memory>

#include "CtrlInternal.h"

#include "afx/Dc.h"
#include "afx/DialogTemplate.h"
#include "afx/GdiObject.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)

namespace {
std::map<HIMAGELIST, std::unique_ptr<CImageList>>& Temps() {
    static auto* m = new std::map<HIMAGELIST, std::unique_ptr<CImageList>>();
    return *m;
}
}  // namespace

CImageList::~CImageList() { DeleteImageList(); }

CImageList* afx::NewDragImage(int width, int height, HIMAGELIST icons, int image, const std::string& label) {
    width = std::max(1, width);
    height = std::max(1, height);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(width, height, 1, 32, nullptr);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    RECT all{0, 0, width, height};
    HBRUSH back = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &all, back);
    DeleteObject(back);
    int x = 2;
    if (icons && image >= 0 && image < ImageList_GetImageCount(icons)) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(icons, &cx, &cy);
        ImageList_Draw(icons, image, dc, 1, (height - cy) / 2, ILD_TRANSPARENT);
        x = cx + 3;
    }
    HFONT font = CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 0, 0, "宋体");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT text{x, 0, width, height};
    DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBmp);
    DeleteDC(dc);
    auto* list = new CImageList();
    list->Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_Add(list->m_hImageList, bmp, nullptr);
    DeleteObject(bmp);
    return list;
}

CImageList* CImageList::FromHandle(HIMAGELIST h) {
    if (!h) return nullptr;
    auto& slot = Temps()[h];
    if (!slot) {
        slot = std::make_unique<CImageList>();
        slot->m_hImageList = h;
    }
    return slot.get();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    if (m_hImageList) return FALSE;
    m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return m_hImageList != nullptr;
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    HBITMAP bmp = AfxLoadBitmapResource(nBitmapID);
    if (!bmp) return FALSE;
    BITMAP bm{};
    GetObjectA(bmp, sizeof bm, &bm);
    BOOL ok = Create(cx, bm.bmHeight, ILC_COLOR32 | (crMask != CLR_NONE ? ILC_MASK : 0), bm.bmWidth / (cx > 0 ? cx : 1), nGrow) &&
              ImageList_AddMasked(m_hImageList, bmp, crMask) >= 0;
    DeleteObject(bmp);
    return ok;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    HIMAGELIST h = Detach();
    auto it = Temps().find(h);
    if (it != Temps().end() && it->second.get() != this) {
        it->second->m_hImageList = nullptr;
        Temps().erase(it);
    }
    return ImageList_Destroy(h);
}

BOOL CImageList::Attach(HIMAGELIST h) {
    if (m_hImageList || !h) return FALSE;
    m_hImageList = h;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
    return pbmImage ? ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(pbmImage->m_hObject), crMask) : -1;
}
int CImageList::Add(CBitmap* pbmImage, CBitmap*) { return Add(pbmImage, CLR_NONE); }
int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
BOOL CImageList::Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    return pDC ? ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle) : FALSE;
}

BOOL CImageList::BeginDrag(CImageList* pList, int nImage, CPoint ptHotSpot) {
    return pList ? ImageList_BeginDrag(pList->m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y) : FALSE;
}
BOOL CImageList::DragEnter(CWnd* pWndLock, CPoint point) { return ImageList_DragEnter(pWndLock ? pWndLock->m_hWnd : nullptr, point.x, point.y); }
BOOL CImageList::DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }
BOOL CImageList::DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
BOOL CImageList::DragLeave(CWnd* pWndLock) { return ImageList_DragLeave(pWndLock ? pWndLock->m_hWnd : nullptr); }
void CImageList::EndDrag() { ImageList_EndDrag(); }
