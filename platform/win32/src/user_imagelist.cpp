// Image lists: rows of equal images, drawn with their mask colour, and the one drag image.
#include <map>

#include "user_internal.h"
#include "win32/windraw.h"

namespace win32 {
namespace user {
namespace {

struct ImageList {
    int cx = 0, cy = 0;
    UINT flags = 0;
    COLORREF mask = CLR_NONE;
    std::vector<std::vector<COLORREF>> images;  // cx * cy each, row by row
};

std::map<HIMAGELIST, std::unique_ptr<ImageList>>& Lists() {
    static auto* m = new std::map<HIMAGELIST, std::unique_ptr<ImageList>>();
    return *m;
}
ImageList* L(HIMAGELIST h) {
    auto it = Lists().find(h);
    return it == Lists().end() ? nullptr : it->second.get();
}
ImageListDragState& Drag() {
    static ImageListDragState d;
    return d;
}

}  // namespace

void ResetImageLists() {
    Lists().clear();
    Drag() = ImageListDragState();
}

}  // namespace user
}  // namespace win32

using namespace win32::user;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return nullptr;
    static uintptr_t next = 0x30000;
    HIMAGELIST h = reinterpret_cast<HIMAGELIST>(next);
    next += 4;
    auto l = std::make_unique<ImageList>();
    l->cx = cx;
    l->cy = cy;
    l->flags = flags;
    Lists()[h] = std::move(l);
    return h;
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
    if (Drag().image == himl) Drag() = ImageListDragState();
    return Lists().erase(himl) ? TRUE : FALSE;
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbm, COLORREF crMask) {
    ImageList* l = L(himl);
    BITMAP bm{};
    if (!l || !hbm || !GetObjectA(hbm, sizeof bm, &bm) || bm.bmWidth < l->cx) return -1;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, hbm);
    int first = static_cast<int>(l->images.size());
    int n = bm.bmWidth / l->cx;
    for (int k = 0; k < n; ++k) {
        std::vector<COLORREF> px(static_cast<size_t>(l->cx * l->cy), CLR_NONE);
        for (int y = 0; y < l->cy && y < bm.bmHeight; ++y)
            for (int x = 0; x < l->cx; ++x) {
                COLORREF c = GetPixel(dc, k * l->cx + x, y);
                if ((l->flags & ILC_MASK) && crMask != CLR_NONE && c == crMask) c = CLR_NONE;
                px[static_cast<size_t>(y * l->cx + x)] = c;
            }
        l->images.push_back(std::move(px));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    if (crMask != CLR_NONE) l->mask = crMask;
    return first;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP) { return ImageList_AddMasked(himl, hbmImage, CLR_NONE); }

int ImageList_GetImageCount(HIMAGELIST himl) {
    ImageList* l = L(himl);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    ImageList* l = L(himl);
    if (!l) return FALSE;
    if (cx) *cx = l->cx;
    if (cy) *cy = l->cy;
    return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
    ImageList* l = L(himl);
    if (!l) return FALSE;
    if (i == -1) l->images.clear();
    else if (i >= 0 && i < static_cast<int>(l->images.size())) l->images.erase(l->images.begin() + i);
    else return FALSE;
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdc, int x, int y, UINT) {
    ImageList* l = L(himl);
    if (!l || i < 0 || i >= static_cast<int>(l->images.size())) return FALSE;
    // One device-independent block per image: transparent pixels take the destination's colour.
    const auto& px = l->images[static_cast<size_t>(i)];
    std::vector<uint32_t> bits(px.size());
    for (int yy = 0; yy < l->cy; ++yy)
        for (int xx = 0; xx < l->cx; ++xx) {
            COLORREF c = px[static_cast<size_t>(yy * l->cx + xx)];
            if (c == CLR_NONE) {
                c = GetPixel(hdc, x + xx, y + yy);
                if (c == CLR_INVALID) c = RGB(255, 255, 255);
            }
            bits[static_cast<size_t>(yy * l->cx + xx)] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = l->cx;
    bi.bmiHeader.biHeight = -l->cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return SetDIBitsToDevice(hdc, x, y, static_cast<DWORD>(l->cx), static_cast<DWORD>(l->cy), 0, 0, 0,
                             static_cast<UINT>(l->cy), bits.data(), &bi, DIB_RGB_COLORS) > 0;
}

BOOL ImageList_BeginDrag(HIMAGELIST himl, int i, int dx, int dy) {
    ImageList* l = L(himl);
    if (!l || i < 0 || i >= static_cast<int>(l->images.size()) || Drag().dragging) return FALSE;
    Drag() = ImageListDragState();
    Drag().dragging = true;
    Drag().image = himl;
    Drag().index = i;
    Drag().hotSpot = POINT{dx, dy};
    return TRUE;
}

BOOL ImageList_DragEnter(HWND hwndLock, int x, int y) {
    if (!Drag().dragging) return FALSE;
    Drag().lock = hwndLock;
    Drag().shown = true;
    Drag().pos = POINT{x, y};
    return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
    if (!Drag().dragging) return FALSE;
    Drag().pos = POINT{x, y};
    return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL fShow) {
    if (!Drag().dragging) return FALSE;
    Drag().shown = fShow != FALSE;
    return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
    Drag().lock = nullptr;
    Drag().shown = false;
    return TRUE;
}

void ImageList_EndDrag() { Drag() = ImageListDragState(); }

ImageListDragState ImageList_GetDragState() { return Drag(); }
