// Redrawing an image layer into a 1920 x 1080 view, against Cairo painting a surface kept from the same
// pixels (converted to Cairo's 32-bit format once, outside the timing) with nearest sampling through
// the same placement. Shapes: a 24-bit and an 8-bit (palette) image of 5000 x 3000 pixels, each seen at
// one image pixel a screen pixel, zoomed in 2x and zoomed out 2.5x (the zoom factors place no pixel
// centre exactly on a source pixel edge, where the two samplers round ties apart).
// Prints ratios (ours / peer); never passes or fails on time, but fails when a pixel of the library's
// picture shows neither Cairo's colour there nor that of a pixel next to it.
#include "BenchUtil.h"

#include "raster/GeoImage.h"
#include "raster/GeoImageLayer.h"

#include <afx/Dc.h>
#include <win32/gdirecord.h>

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kViewW = 1920, kViewH = 1080;
const int kImageW = 5000, kImageH = 3000;  // one pixel a millimetre

// Fills the bitmap with a pattern that shows any pixel taken from the wrong place; 8-bit images get
// a colour table of 256 distinct colours.
void Paint(CNewDIB& dib)
{
    const int bits = dib.GetBitCount();
    BYTE* data = dib.GetDIBBits();
    const DWORD stride = dib.GetBytesPerLine();
    for (int y = 0; y < kImageH; ++y) {
        BYTE* row = data + static_cast<size_t>(y) * stride;
        for (int x = 0; x < kImageW; ++x) {
            if (bits == 24) {
                row[3 * x] = static_cast<BYTE>(x * 7 ^ y);
                row[3 * x + 1] = static_cast<BYTE>((x * y) >> 5);
                row[3 * x + 2] = static_cast<BYTE>(x + 3 * y);
            } else {
                row[x] = static_cast<BYTE>((x ^ (y * 3)) + (x >> 4));
            }
        }
    }
    if (bits == 8) {
        DWORD table[256];
        for (DWORD i = 0; i < 256; ++i) table[i] = (i * 0x9E3779B1u) >> 8;
        dib.SetColorTable(256, table);
    }
}

// The same pixels as a Cairo image surface, rows from the top.
cairo_surface_t* Kept(const CNewDIB& dib)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kImageW, kImageH);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < kImageH; ++y) {
        uint32_t* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < kImageW; ++x) out[x] = dib.GetPixelRGB(x, kImageH - 1 - y);
    }
    // GetPixelRGB gives 0x00BBGGRR; Cairo keeps 0x00RRGGBB.
    for (int y = 0; y < kImageH; ++y) {
        uint32_t* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < kImageW; ++x) {
            const uint32_t c = out[x];
            out[x] = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

// Draws one image at one zoom both ways, prints the row and compares the pictures pixel by pixel.
bool Row(const char* what, int bitCount, int scale)
{
    tagRasterParameter rp{};
    rp.m_nScale = 10;
    rp.m_dXResolution = rp.m_dYResolution = 25.4;
    rp.m_dPixelSize = 1.0;
    CGeoImageLayer layer;
    auto* image = new CGeoImage(kImageW, kImageH, bitCount, 0, kImageH, rp);
    Paint(*image->GetDIB());
    layer.Add(image);
    cairo_surface_t* kept = Kept(*image->GetDIB());

    // The image's centre in the view's centre: device x = (x + ox) * f, y = -(y + oy) * f.
    const double f = 10.0 / scale;
    const CPoint origin(static_cast<LONG>(kViewW / 2 / f - kImageW / 2), static_cast<LONG>(-kViewH / 2 / f - kImageH / 2));

    CDC dc;
    dc.Attach(win32::CreateImageDC(kViewW, kViewH));
    RECT view{0, 0, kViewW, kViewH};
    auto ours = [&] { layer.Draw(&dc, &view, static_cast<UINT>(scale), origin); };

    // The layer paints the source pixels it chose onto a destination rectangle of its own (one pixel
    // wider and taller, so a column and a row come out twice); Cairo is given the same two rectangles.
    win32::StartRecording(dc.m_hDC);
    ours();
    win32::StopRecording(dc.m_hDC);
    std::vector<win32::GdiRecord> calls = win32::GetRecording(dc.m_hDC);
    win32::ClearRecording(dc.m_hDC);
    auto call = std::find_if(calls.begin(), calls.end(), [](const win32::GdiRecord& r) { return r.call == "StretchDIBits"; });
    if (call == calls.end()) {
        std::printf("wrong: the layer painted no pixels\n");
        cairo_surface_destroy(kept);
        ::DeleteDC(dc.Detach());
        return false;
    }
    const POINT d1 = call->points[0], d2 = call->points[1];
    const double sx = call->points[2].x, sw = call->points[3].x - sx;
    const double sh = call->points[3].y - call->points[2].y;
    const double sy = kImageH - call->points[3].y;  // the call counts rows from the bottom

    cairo_surface_t* screen = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kViewW, kViewH);
    cairo_t* cr = cairo_create(screen);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    auto peer = [&] {
        cairo_save(cr);
        cairo_rectangle(cr, d1.x, d1.y, d2.x - d1.x, d2.y - d1.y);
        cairo_clip(cr);
        cairo_translate(cr, d1.x, d1.y);
        cairo_scale(cr, (d2.x - d1.x) / sw, (d2.y - d1.y) / sh);
        cairo_translate(cr, -sx, -sy);
        cairo_set_source_surface(cr, kept, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_flush(screen);
    };
    bench::Pair t = bench::Alternate(7, ours, peer);
    bench::Row(what, t.ours, t.peer);

    if (std::getenv("BENCH_PICTURES")) {
        const std::string name = std::string("image-") + std::to_string(bitCount) + "-" + std::to_string(scale);
        win32::WriteDCToPNG(dc.m_hDC, (name + "-library.png").c_str());
        cairo_surface_write_to_png(screen, (name + "-cairo.png").c_str());
    }
    // Cairo steps through the source in 16.16 fixed point, so where the stretch is close to 1:1 its
    // samples switch to the next source pixel up to some dozen pixels away from ours. A pixel may
    // therefore show the colour Cairo put on a pixel beside it (or diagonally, where a switching
    // row crosses a switching column); anything else is wrong.
    const unsigned char* data = cairo_image_surface_get_data(screen);
    const int stride = cairo_image_surface_get_stride(screen);
    auto cairoAt = [&](int x, int y) -> COLORREF {
        if (x < 0 || y < 0 || x >= kViewW || y >= kViewH) return CLR_INVALID;
        uint32_t p;
        std::memcpy(&p, data + static_cast<size_t>(y) * stride + 4 * x, 4);
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    };
    long long wrong = 0;
    for (int y = 0; y < kViewH; ++y)
        for (int x = 0; x < kViewW; ++x) {
            const COLORREF c = ::GetPixel(dc.m_hDC, x, y);
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = c == cairoAt(x + dx, y + dy);
            if (near) continue;
            if (wrong++ < 4)
                std::printf("  (%d, %d): %06lx, Cairo %06lx\n", x, y, static_cast<unsigned long>(c),
                            static_cast<unsigned long>(cairoAt(x, y)));
        }
    if (wrong) std::printf("wrong: %lld pixels differ from Cairo's and its neighbours'\n", wrong);
    cairo_destroy(cr);
    cairo_surface_destroy(screen);
    cairo_surface_destroy(kept);
    ::DeleteDC(dc.Detach());
    return wrong == 0;
}

}  // namespace

int main()
{
    bench::Header();
    bool ok = true;
    ok &= Row("redraw a 24-bit image layer, 1920 x 1080, 1:1 (Cairo)", 24, 10);
    ok &= Row("the same zoomed in 2x", 24, 5);
    ok &= Row("the same zoomed out 2.5x", 24, 25);
    ok &= Row("redraw an 8-bit palette image layer, 1:1 (Cairo)", 8, 10);
    ok &= Row("the same zoomed in 2x", 8, 5);
    ok &= Row("the same zoomed out 2.5x", 8, 25);
    return ok ? 0 : 1;
}
