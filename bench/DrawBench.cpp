// Drawing against Cairo alone: a layer of 100,000 polylines of 10 to 50 points (fixed seed) drawn into
// a 2000 x 2000 image through the layer's Draw, against Cairo stroking the same device points with a
// one-pixel unsmoothed line into an image surface of the same size.
// Prints ratios (ours / peer); never passes or fails on time.
#include "BenchUtil.h"

#include "core/DisplayState.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "win32/gdirecord.h"

#include <cairo.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace {

const int kLines = 100000;
const int kSize = 2000;  // pixels; the layer spans 20000 mm drawn at 1:100 (0.1 mm a pixel)

std::vector<std::vector<POINT>> MakeLines() {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> len(10, 50), start(0, 20000), step(-200, 200);
    std::vector<std::vector<POINT>> lines(kLines);
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

}  // namespace

int main() {
    std::vector<std::vector<POINT>> lines = MakeLines();
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
    bench::Header();
    bench::Pair t = bench::Alternate(3, ours, peer);
    bench::Row("draw 100,000 polylines (Cairo stroking the same points)", t.ours, t.peer);

    if (std::getenv("BENCH_PICTURES")) {  // both pictures, to see that they draw the same lines
        win32::WriteDCToPNG(dc.m_hDC, "draw-library.png");
        cairo_surface_write_to_png(surface, "draw-cairo.png");
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    ::DeleteDC(dc.Detach());
    delete layer;
    return 0;
}
