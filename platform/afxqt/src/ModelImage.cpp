#include "ModelImage.h"

#include <cstring>
#include <vector>

#include "win32/gdirecord.h"
#include "win32/windraw.h"

namespace afxqt {

QImage ImageOfBitmap(HBITMAP hBitmap) {
    BITMAP bm{};
    if (!hBitmap || !GetObjectA(hBitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return QImage();
    const int w = bm.bmWidth, h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;  // top-down rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> bits(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, hBitmap, 0, static_cast<UINT>(h), bits.data(), &bmi, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines <= 0) return QImage();
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) std::memcpy(img.scanLine(y), &bits[static_cast<size_t>(y) * static_cast<size_t>(w) * 4], static_cast<size_t>(w) * 4);
    return img;
}

QImage CanvasImage(HWND hWnd) { return ImageOfBitmap(win32::GetWindowCanvas(hWnd)); }

QImage OwnerDrawnItem(HWND hCtl, UINT ctlType, int item, int width, int height, bool selected) {
    HWND parent = GetParent(hCtl);
    if (!parent || width <= 0 || height <= 0) return QImage();
    HDC dc = win32::CreateImageDC(width, height);
    if (!dc) return QImage();
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ctlType;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hCtl));
    dis.itemID = static_cast<UINT>(item);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.hwndItem = hCtl;
    dis.hDC = dc;
    dis.rcItem = RECT{0, 0, width, height};
    if (item >= 0) {
        UINT get = ctlType == ODT_COMBOBOX ? CB_GETITEMDATA : LB_GETITEMDATA;
        dis.itemData = static_cast<ULONG_PTR>(SendMessageA(hCtl, get, static_cast<WPARAM>(item), 0));
    }
    SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    QImage img = ImageOfBitmap(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)));
    DeleteDC(dc);
    return img;
}

QImage ImageListImage(HIMAGELIST hList, int index) {
    int cx = 0, cy = 0;
    if (!hList || index < 0 || index >= ImageList_GetImageCount(hList) || !ImageList_GetIconSize(hList, &cx, &cy))
        return QImage();
    HDC dc = win32::CreateImageDC(cx, cy);
    if (!dc) return QImage();
    ImageList_Draw(hList, index, dc, 0, 0, 0);
    QImage img = ImageOfBitmap(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)));
    DeleteDC(dc);
    return img;
}

}  // namespace afxqt
