// Drawing against Cairo alone, on two shapes of lines (fixed seed): a layer of 100,000 polylines of 10 to
// 50 points, and one of 500,000 two-point lines, each drawn into a 2000 x 2000 image through the layer's
// Draw, against Cairo stroking the same device points with a one-pixel unsmoothed line into an image
// surface of the same size.
// Prints ratios (ours / peer); never passes or fails on time, but fails when a tenth of the pixels drawn
// in either picture are not drawn in the other (the two rasterisers may end a line a pixel apart, which
// on lines a dozen pixels long is several per cent).
#include "BenchUtil.h"

#include "core/DisplayState.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "win32/gdirecord.h"

#include <cairo.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

const int kLines = 100000;
const int kSize = 2000;  // pixels; the layer spans 20000 mm drawn at 1:100 (0.1 mm a pixel)

std::vector<std::vector<POINT>> MakeLines(int count, int shortest, int longest) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> len(shortest, longest), start(0, 20000), step(-200, 200);
    std::vector<std::vector<POINT>> lines(static_cast<size_t>(count));
    for (auto& l : lines) {
        int k = len(rng);
        POINT p{start(rng), start(rng)};
        for (int i = 0; i < k; ++i) {
            l.push_back(p);
            p.x += step(rng);
            p.y += step(rng);
        }
    }
    return lines;
}

// The share of pixels that are drawn in one picture and not in the other, of those drawn in either;
// a pixel is drawn where it is darker than mid grey.
double Differing(HDC hdc, cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    long long either = 0, one = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const COLORREF c = ::GetPixel(hdc, x, y);
            const bool ours = GetRValue(c) + GetGValue(c) + GetBValue(c) < 384;
            const unsigned char* p = data + static_cast<size_t>(y) * stride + 4 * x;
            const bool peer = p[3] > 127;  // Cairo drew black with this much cover
            either += ours || peer;
            one += ours != peer;
        }
    return either ? static_cast<double>(one) / either : 0.0;
}

// Draws the lines both ways, prints the row and checks the pictures; false when they differ too much.
bool DrawRow(const char* what, const std::vector<std::vector<POINT>>& lines) {
    CRect bounds(0, 0, 20000, 20000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, nullptr, "bench", "", 0);
    for (const auto& l : lines) layer->Add(new CGeoPLine(static_cast<int>(l.size()), l.data(), FALSE));

    HDC hdc = win32::CreateImageDC(kSize, kSize);
    CDC dc;
    dc.Attach(hdc);
    tagDisplayState ds{};
    ds.m_nDisplayAttr = DISPLAYATTR_SELF;
    ds.m_nShowMode = VISIBLE_ALL;
    RECT clip{0, 0, kSize, kSize};
    auto ours = [&] { layer->Draw(&dc, &clip, 100, 100, CPoint(0, -20000), ds, 0, nullptr); };

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    auto peer = [&] {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_line_width(cr, 1.0);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);  // GDI's lines are not smoothed either
        for (const auto& l : lines) {
            // The same device points: x / 10, and y flipped from the top edge.
            cairo_move_to(cr, l[0].x / 10 + 0.5, (20000 - l[0].y) / 10 + 0.5);
            for (size_t i = 1; i < l.size(); ++i) cairo_line_to(cr, l[i].x / 10 + 0.5, (20000 - l[i].y) / 10 + 0.5);
            cairo_stroke(cr);
        }
        cairo_surface_flush(surface);
    };
    bench::Pair t = bench::Alternate(3, ours, peer);
    bench::Row(what, t.ours, t.peer);

    if (std::getenv("BENCH_PICTURES")) {  // both pictures, to see that they draw the same lines
        win32::WriteDCToPNG(dc.m_hDC, (std::string(what).substr(0, 12) + "-library.png").c_str());
        cairo_surface_write_to_png(surface, (std::string(what).substr(0, 12) + "-cairo.png").c_str());
    }
    const double differing = Differing(dc.m_hDC, surface);
    const bool ok = differing < 0.1;
    if (!ok) std::printf("wrong: %.1f %% of the drawn pixels differ from Cairo's\n", differing * 100);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    ::DeleteDC(dc.Detach());
    delete layer;
    return ok;
}

}  // namespace

int main() {
    bench::Header();
    bool ok = DrawRow("draw 100,000 polylines (Cairo stroking the same points)", MakeLines(kLines, 10, 50));
    ok &= DrawRow("draw 500,000 two-point lines (Cairo stroking the same points)", MakeLines(500000, 2, 2));
    return ok ? 0 : 1;
}
