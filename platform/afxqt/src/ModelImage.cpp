#include "ModelImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <afx/ListCtrl.h>

#include "win32/gdirecord.h"
#include "win32/windraw.h"

namespace afxqt {

using win32::CreateImageDC;
using win32::GdiRecord;
using win32::GetPaintRecording;

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

namespace {
// What the control's parent draws for dis on an image of size w x h whose top left is the control's
// client point origin (the model's rectangles stay in client coordinates).
QImage DrawnByParent(HWND hCtl, DRAWITEMSTRUCT dis, POINT origin, int w, int h) {
    HWND parent = GetParent(hCtl);
    if (!parent || w <= 0 || h <= 0) return QImage();
    HDC dc = CreateImageDC(w, h);
    if (!dc) return QImage();
    SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hCtl));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = hCtl;
    dis.hDC = dc;
    SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    QImage img = ImageOfBitmap(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)));
    DeleteDC(dc);
    return img;
}
}  // namespace

QImage OwnerDrawnItem(HWND hCtl, UINT ctlType, int item, int width, int height, bool selected) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ctlType;
    dis.itemID = static_cast<UINT>(item);
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.rcItem = RECT{0, 0, width, height};
    if (item >= 0) {
        UINT get = ctlType == ODT_COMBOBOX ? CB_GETITEMDATA : LB_GETITEMDATA;
        dis.itemData = static_cast<ULONG_PTR>(SendMessageA(hCtl, get, static_cast<WPARAM>(item), 0));
    }
    return DrawnByParent(hCtl, dis, POINT{0, 0}, width, height);
}

QImage OwnerDrawnRow(HWND hList, int row) {
    auto* list = dynamic_cast<CListCtrl*>(CWnd::FromHandlePermanent(hList));
    RECT bounds, client;
    if (!list || !list->GetItemRect(row, &bounds, LVIR_BOUNDS)) return QImage();
    GetClientRect(hList, &client);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTVIEW;
    dis.itemID = static_cast<UINT>(row);
    const UINT state = list->GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED);
    dis.itemState = ((state & LVIS_SELECTED) ? ODS_SELECTED : 0u) | ((state & LVIS_FOCUSED) && GetFocus() == hList ? ODS_FOCUS : 0u);
    dis.rcItem = bounds;
    dis.itemData = static_cast<ULONG_PTR>(list->GetItemData(row));
    // The row out to the client's right edge, where a highlight may run past the columns.
    const int right = std::max(bounds.right, client.right);
    return DrawnByParent(hList, dis, POINT{bounds.left, bounds.top}, right - bounds.left, bounds.bottom - bounds.top);
}

QImage SpilledText(HWND hWnd, QRect* where, QColor background) {
    *where = QRect();
    RECT client;
    GetClientRect(hWnd, &client);
    std::vector<GdiRecord> spilled;
    RECT bounds{0, 0, 0, 0};
    for (const GdiRecord& r : GetPaintRecording(hWnd)) {
        if (r.call != "DrawText" || r.inPath || r.points.size() < 2) continue;
        const RECT box{r.points[0].x, r.points[0].y, r.points[1].x, r.points[1].y};
        if (box.left >= 0 && box.top >= 0 && box.right <= client.right && box.bottom <= client.bottom) continue;
        spilled.push_back(r);
        if (IsRectEmpty(&bounds)) bounds = box;
        else UnionRect(&bounds, &bounds, &box);
    }
    if (spilled.empty() || IsRectEmpty(&bounds)) return QImage();
    // The calls again, on an image over their rectangles, with the font and colours they drew with.
    const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
    HDC dc = CreateImageDC(w, h);
    if (!dc) return QImage();
    SetViewportOrgEx(dc, -bounds.left, -bounds.top, nullptr);
    HBRUSH back = CreateSolidBrush(RGB(background.red(), background.green(), background.blue()));
    FillRect(dc, &bounds, back);
    DeleteObject(back);
    SetBkMode(dc, TRANSPARENT);
    for (const GdiRecord& r : spilled) {
        HFONT font = CreateFontIndirectA(&r.font);
        HGDIOBJ old = SelectObject(dc, font);
        SetTextColor(dc, r.textColor);
        RECT box{r.points[0].x, r.points[0].y, r.points[1].x, r.points[1].y};
        DrawTextA(dc, r.text.c_str(), static_cast<int>(r.text.size()), &box, r.flags);
        SelectObject(dc, old);
        DeleteObject(font);
    }
    QImage img = ImageOfBitmap(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)));
    DeleteDC(dc);
    *where = QRect(bounds.left, bounds.top, w, h);
    return img;
}

QImage ImageListImage(HIMAGELIST hList, int index) {
    int cx = 0, cy = 0;
    if (!hList || index < 0 || index >= ImageList_GetImageCount(hList) || !ImageList_GetIconSize(hList, &cx, &cy))
        return QImage();
    HDC dc = CreateImageDC(cx, cy);
    if (!dc) return QImage();
    ImageList_Draw(hList, index, dc, 0, 0, 0);
    QImage img = ImageOfBitmap(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)));
    DeleteDC(dc);
    return img;
}

}  // namespace afxqt
