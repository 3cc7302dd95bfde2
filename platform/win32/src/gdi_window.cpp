// The device contexts of headless windows: each window may have a canvas bitmap that its DCs draw on.
#include <cstring>
#include <map>

#include "gdi_internal.h"
#include "user_internal.h"
#include "win32/windraw.h"

namespace win32 {
namespace gdi {
namespace {

std::map<HWND, Bitmap*>& Canvases() {
    static auto* m = new std::map<HWND, Bitmap*>();
    return *m;
}

const int kScreenWidth = 1920, kScreenHeight = 1080;

}  // namespace

Bitmap* WindowCanvas(HWND hwnd) {
    auto it = Canvases().find(hwnd);
    return it == Canvases().end() ? nullptr : it->second;
}

}  // namespace gdi

void AttachWindowCanvas(HWND hwnd, int width, int height) {
    if (!hwnd) return;
    gdi::Bitmap* b = gdi::NewBitmap(width < 1 ? 1 : width, height < 1 ? 1 : height, 32, true, false);
    if (!b) return;
    b->stock = true;  // owned by the registry
    b->windowCanvas = true;
    std::memset(b->bits, 0xFF, b->size);
    gdi::Bitmap*& slot = gdi::Canvases()[hwnd];
    if (slot) {
        int w = slot->width < b->width ? slot->width : b->width;
        int h = slot->height < b->height ? slot->height : b->height;
        for (int y = 0; y < h; ++y) std::memcpy(b->Row(y), slot->Row(y), (size_t)w * 4);
        delete slot;
    }
    slot = b;
}

void DetachWindowCanvas(HWND hwnd) {
    auto it = gdi::Canvases().find(hwnd);
    if (it == gdi::Canvases().end()) return;
    delete it->second;
    gdi::Canvases().erase(it);
}

HBITMAP GetWindowCanvas(HWND hwnd) { return reinterpret_cast<HBITMAP>(gdi::WindowCanvas(hwnd)); }

namespace {
std::map<HWND, std::vector<GdiRecord>>& PaintRecordings() {
    static auto* m = new std::map<HWND, std::vector<GdiRecord>>();
    return *m;
}
}  // namespace

std::vector<GdiRecord> GetPaintRecording(HWND hwnd) {
    auto it = PaintRecordings().find(hwnd);
    return it == PaintRecordings().end() ? std::vector<GdiRecord>() : it->second;
}

void ForgetPaintRecording(HWND hwnd) { PaintRecordings().erase(hwnd); }

}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

HDC GetDC(HWND hwnd) {
    // A window of the window manager draws on its canvas outside WM_PAINT too (a dialog drawing on one
    // of its statics), so the canvas is made, at the client size, when the window has none yet.
    if (hwnd && IsWindow(hwnd) && !WindowCanvas(hwnd)) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        win32::AttachWindowCanvas(hwnd, rc.right, rc.bottom);
    }
    DC* dc = NewDC(hwnd && WindowCanvas(hwnd) ? DcKind::Window : DcKind::Info);
    dc->hwnd = hwnd;
    if (!hwnd) {
        dc->infoWidth = kScreenWidth;
        dc->infoHeight = kScreenHeight;
    }
    return reinterpret_cast<HDC>(dc);
}

HDC GetWindowDC(HWND hwnd) { return GetDC(hwnd); }

int ReleaseDC(HWND, HDC hdc) {
    DC* dc = win32::gdi::DcFrom(hdc);
    if (!dc || dc->kind == DcKind::Memory) return 0;
    HWND drawn = dc->kind == DcKind::Window ? dc->hwnd : nullptr;
    delete dc;
    // What a window DC drew is on the canvas now, for a screen to show.
    if (drawn && IsWindow(drawn)) win32::user::Changed(drawn);
    return 1;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
    // A window of the window manager paints on its own canvas, recorded, and is valid afterwards.
    bool managed = IsWindow(hwnd);
    if (managed) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        Bitmap* c = WindowCanvas(hwnd);
        if (!c || c->width != rc.right || c->height != rc.bottom) win32::AttachWindowCanvas(hwnd, rc.right, rc.bottom);
        ValidateRect(hwnd, nullptr);
    }
    HDC hdc = GetDC(hwnd);
    if (managed) win32::StartRecording(hdc);
    if (ps) {
        std::memset(ps, 0, sizeof *ps);
        ps->hdc = hdc;
        int w, h;
        win32::gdi::DcFrom(hdc)->DeviceSize(&w, &h);
        ps->rcPaint = RECT{0, 0, w, h};
    }
    return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps) return FALSE;
    if (IsWindow(hwnd)) win32::PaintRecordings()[hwnd] = win32::GetRecording(ps->hdc);
    return ReleaseDC(hwnd, ps->hdc) == 1;
}
