// Recording what a DC draws, PNG output, and the DCs this project adds (recording, printer, image, info).
#include <cairo.h>

#include <cstdio>
#include <cstring>

#include "gdi_internal.h"
#include "win32/codepage.h"

namespace win32 {
namespace gdi {

GdiRecord* Record(DC& dc, const char* call, std::vector<POINT> pts) {
    if (!dc.recording) return nullptr;
    GdiRecord r;
    r.call = call;
    r.points = std::move(pts);
    r.inPath = dc.InPath();
    r.rop2 = dc.st.rop2;
    PenInfo pen = ResolvePen(dc);
    r.pen = pen.Describe();
    if (Brush* b = CurrentBrush(dc))
        r.brush = LOGBRUSH{b->style, b->dcBrush ? dc.st.dcBrushColor : b->color, (ULONG_PTR)(b->style == BS_HATCHED ? b->hatch : 0)};
    if (Font* f = CurrentFont(dc)) r.font = f->lf;
    r.textColor = dc.st.textColor;
    r.bkColor = dc.st.bkColor;
    r.bkMode = dc.st.bkMode;
    r.textAlign = dc.st.textAlign;
    r.polyFillMode = dc.st.polyFillMode;
    dc.records.push_back(std::move(r));
    return &dc.records.back();
}

namespace {

// Writes any bitmap as a PNG through a Cairo RGB24 copy.
BOOL WritePng(const Bitmap& b, const char* path) {
    if (!path) return FALSE;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, b.width, b.height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return FALSE;
    }
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < b.height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + (size_t)y * stride);
        for (int x = 0; x < b.width; ++x) {
            COLORREF c = PixelToColor(b, GetPixelValue(b, x, y));
            row[x] = 0xFF000000u | (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
        }
    }
    cairo_surface_mark_dirty(s);
    std::string native = GbkPathToNative(path);
    cairo_status_t st = cairo_surface_write_to_png(s, native.c_str());
    cairo_surface_destroy(s);
    return st == CAIRO_STATUS_SUCCESS;
}

HDC NewPixelDC(int width, int height, bool printer, int dpi) {
    Bitmap* b = NewBitmap(width, height, 32, true, false);
    if (!b) return nullptr;
    std::memset(b->bits, 0xFF, b->size);
    DC* dc = NewDC(DcKind::Memory);
    dc->printer = printer;
    dc->dpi = dpi;
    dc->ownedBitmap = b;
    b->stock = true;  // belongs to the DC: DeleteObject leaves it alone
    b->selectedIn = dc;
    dc->st.bitmap = ObjRef(b);
    return reinterpret_cast<HDC>(dc);
}

const char* StyleName(UINT s) {
    static const char* names[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "null", "insideframe", "user", "alternate"};
    return s <= 8 ? names[s] : "?";
}

}  // namespace
}  // namespace gdi

std::string GdiRecord::ToString() const {
    std::string s = call;
    char buf[160];
    for (const POINT& p : points) {
        std::snprintf(buf, sizeof buf, " (%d,%d)", (int)p.x, (int)p.y);
        s += buf;
    }
    if (!counts.empty()) {
        s += " counts=";
        for (size_t i = 0; i < counts.size(); ++i) s += (i ? "," : "") + std::to_string(counts[i]);
    }
    bool isText = call == "TextOut" || call == "ExtTextOut" || call == "DrawText";
    if (isText) s += " \"" + text + "\"";
    if (inPath) s += " inpath";
    bool penUsed = !isText && call != "FillRect" && call != "FillRgn" && call != "PaintRgn" && call != "FrameRgn" &&
                   call != "InvertRgn" && call != "InvertRect" && call != "FillPath" && call != "SetPixel" &&
                   call.find("Blt") == std::string::npos && call.find("DIB") == std::string::npos &&
                   call != "DrawFocusRect" && call != "FrameRect";
    bool brushUsed = call == "Rectangle" || call == "Ellipse" || call == "RoundRect" || call == "Polygon" ||
                     call == "PolyPolygon" || call == "Chord" || call == "Pie" || call == "FillPath" ||
                     call == "StrokeAndFillPath" || call == "PaintRgn" || call == "PatBlt";
    if (penUsed) {
        std::snprintf(buf, sizeof buf, " pen=%s/%d/%06x", gdi::StyleName(pen.lopnStyle & PS_STYLE_MASK),
                      (int)pen.lopnWidth.x, (unsigned)pen.lopnColor);
        s += buf;
    }
    if (brushUsed) {
        if (brush.lbStyle == BS_HATCHED)
            std::snprintf(buf, sizeof buf, " brush=hatch%d/%06x", (int)brush.lbHatch, (unsigned)brush.lbColor);
        else if (brush.lbStyle == BS_SOLID)
            std::snprintf(buf, sizeof buf, " brush=solid/%06x", (unsigned)brush.lbColor);
        else
            std::snprintf(buf, sizeof buf, " brush=%s", brush.lbStyle == BS_NULL ? "null" : "pattern");
        s += buf;
    }
    if (isText) {
        std::snprintf(buf, sizeof buf, " font=%s/%d/%d/%d/%d align=%u text=%06x", font.lfFaceName, (int)font.lfHeight,
                      (int)font.lfWidth, (int)font.lfEscapement, (int)font.lfWeight, (unsigned)textAlign,
                      (unsigned)textColor);
        s += buf;
    }
    if (isText || (penUsed && pen.lopnStyle % 16 >= 1 && pen.lopnStyle % 16 <= 4) ||
        (brushUsed && brush.lbStyle == BS_HATCHED)) {
        std::snprintf(buf, sizeof buf, " bk=%d/%06x", bkMode, (unsigned)bkColor);
        s += buf;
    }
    if (flags) {
        std::snprintf(buf, sizeof buf, " flags=%x", (unsigned)flags);
        s += buf;
    }
    if (!isText) s += " rop2=" + std::to_string(rop2);
    return s;
}

BOOL StartRecording(HDC hdc) {
    gdi::DC* dc = gdi::DcFrom(hdc);
    if (!dc) return FALSE;
    dc->records.clear();
    dc->recording = true;
    return TRUE;
}

BOOL StopRecording(HDC hdc) {
    gdi::DC* dc = gdi::DcFrom(hdc);
    if (!dc) return FALSE;
    dc->recording = false;
    return TRUE;
}

std::vector<GdiRecord> GetRecording(HDC hdc) {
    gdi::DC* dc = gdi::DcFrom(hdc);
    return dc ? dc->records : std::vector<GdiRecord>();
}

void ClearRecording(HDC hdc) {
    if (gdi::DC* dc = gdi::DcFrom(hdc)) dc->records.clear();
}

HDC CreateRecordingDC(int width, int height) {
    HDC h = CreateInfoDC(width, height);
    if (h) StartRecording(h);
    return h;
}

HDC CreateInfoDC(int width, int height) {
    if (width < 0 || height < 0) return nullptr;
    gdi::DC* dc = gdi::NewDC(gdi::DcKind::Info);
    dc->infoWidth = width;
    dc->infoHeight = height;
    return reinterpret_cast<HDC>(dc);
}

HDC CreatePrinterDC(int width, int height, int dpi) {
    if (dpi <= 0 || dpi > 10000) return nullptr;
    return gdi::NewPixelDC(width, height, true, dpi);
}

HDC CreateImageDC(int width, int height) { return gdi::NewPixelDC(width, height, false, 96); }

BOOL WriteDCToPNG(HDC hdc, const char* path) {
    gdi::DC* dc = gdi::DcFrom(hdc);
    if (!dc) return FALSE;
    gdi::Bitmap* b = dc->Surface();
    return b ? gdi::WritePng(*b, path) : FALSE;
}

BOOL WriteBitmapToPNG(HBITMAP bmp, const char* path) {
    gdi::Bitmap* b = gdi::Get<gdi::Bitmap>(bmp, OBJ_BITMAP);
    return b ? gdi::WritePng(*b, path) : FALSE;
}

}  // namespace win32
