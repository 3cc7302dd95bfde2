// Drawing Chinese annotations against Cairo alone: 10,000 four-character annotations (fixed seed
// positions, 16-pixel characters, some turned) drawn through the annotation's own drawing into a
// 2000 x 2000 image, against cairo_show_text of the same text with the same font file at the same size
// and angle into an image surface of the same size.
// Prints ratios (ours / peer); never passes or fails on time.
#include "BenchUtil.h"

#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "win32/codepage.h"
#include "win32/gdirecord.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const int kCount = 10000;
const int kSize = 2000;  // pixels; at scale 10 and millimetres one record unit is one pixel
const int kChar = 16;    // character width and height in pixels
const char* const kTexts[] = {"中华人民", "共和国家", "测绘地图", "山川河流", "道路交通"};

struct Label {
    std::string gbk;
    std::string utf8;
    int x, y;        // anchor, record units (y up)
    float tenths;    // escape angle in tenths of a degree
};

std::vector<Label> MakeLabels(bool turned) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pos(50, kSize - 100), pick(0, 4), angle(0, 3599);
    std::vector<Label> out(kCount);
    for (Label& l : out) {
        l.gbk = kTexts[pick(rng)];  // string literals are compiled in code page 936
        l.utf8 = win32::GbkToUtf8(l.gbk);
        l.x = pos(rng);
        l.y = -pos(rng);
        l.tenths = turned ? static_cast<float>(angle(rng)) : 0.0f;
    }
    return out;
}

void Run(bool turned, cairo_font_face_t* face) {
    std::vector<Label> labels = MakeLabels(turned);
    std::vector<std::unique_ptr<CGeoAnno>> annos;
    for (const Label& l : labels)
        annos.emplace_back(new CGeoAnno(CString(l.gbk.c_str()), CPoint(l.x, l.y), kChar, kChar, l.tenths,
                                        l.tenths, 0, 0, 1, 0, 0, 0, 0));
    GEOVIEW view = GetDefaultGEOVIEW();
    view.m_dwTextFlags = GEOVIEW_TEXT_TRANSPARENT;
    view.m_crAnnoColor = RGB(0, 0, 0);
    view.m_nBufferWidth = 0;

    HDC hdc = win32::CreateImageDC(kSize, kSize);
    CDC dc;
    dc.Attach(hdc);
    auto ours = [&] {
        for (auto& a : annos)
            a->OnDrawWithoutSymbolization(&dc, 10, 10, CPoint(0, 0), CPoint(0, 0), view, nullptr, 0, 0, 1);
    };

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, kChar);
    auto peer = [&] {
        cairo_set_source_rgb(cr, 0, 0, 0);
        for (const Label& l : labels) {
            cairo_save(cr);
            cairo_translate(cr, l.x, -l.y + kChar);  // baseline below the top-left anchor
            if (l.tenths != 0.0f) cairo_rotate(cr, -l.tenths * M_PI / 1800.0);
            cairo_move_to(cr, 0, 0);
            cairo_show_text(cr, l.utf8.c_str());
            cairo_restore(cr);
        }
        cairo_surface_flush(surface);
    };
    peer();
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "cairo: %s\n", cairo_status_to_string(cairo_status(cr)));
        std::exit(1);
    }
    bench::Pair t = bench::Alternate(3, ours, peer);
    bench::Row(turned ? "draw 10,000 turned Chinese annotations (cairo_show_text)"
                      : "draw 10,000 Chinese annotations (cairo_show_text)",
               t.ours, t.peer);
    if (std::getenv("BENCH_PICTURES")) {
        win32::WriteDCToPNG(dc.m_hDC, turned ? "anno-turned-library.png" : "anno-library.png");
        cairo_surface_write_to_png(surface, turned ? "anno-turned-cairo.png" : "anno-cairo.png");
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    ::DeleteDC(dc.Detach());
}

}  // namespace

int main() {
    const std::string file = win32::ResolveFaceFile("\xCB\xCE\xCC\xE5");  // the default annotation face
    FT_Library ft = nullptr;
    FT_Face ftFace = nullptr;
    if (file.empty() || FT_Init_FreeType(&ft) != 0 || FT_New_Face(ft, file.c_str(), 0, &ftFace) != 0) {
        std::fprintf(stderr, "no font file for the annotation face\n");
        return 1;
    }
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
    bench::Header();
    Run(false, face);
    Run(true, face);
    cairo_font_face_destroy(face);
    FT_Done_Face(ftFace);
    FT_Done_FreeType(ft);
    return 0;
}
