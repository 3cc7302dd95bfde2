// Drawing Chinese annotations against Cairo alone: 10,000 four-character annotations (fixed seed
// positions, 16-pixel characters, some turned) drawn through the annotation's own drawing into a
// 2000 x 2000 image, against cairo_show_text of the same text with the same font file at the same size
// and angle into an image surface of the same size.
// Then a mixed shape: 2,000 distinct strings of 1 to 12 characters (Chinese, letters and digits) at 10 to
// 40 pixels, upright and redrawn, and turned at angles no round repeats, so every round is a first
// drawing; each round goes by stretches of 250 labels, the two sides in turn, and five rounds after the
// first are averaged.
// Times are the drawing thread's processor time, which a busy neighbour does not inflate as it does
// wall time. Prints ratios (ours / peer); never passes or fails on time, but fails when a mixed
// picture's inked pixels are not about as many as Cairo's.
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
#include <set>
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
    bench::Pair t{1e300, 1e300};
    for (int round = 0; round < 3; ++round) {
        t.ours = std::min(t.ours, bench::CpuTimeOnce(ours));
        t.peer = std::min(t.peer, bench::CpuTimeOnce(peer));
    }
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

// ---- the mixed shape ---------------------------------------------------------------------------------

const int kMixed = 2000;
// The mean of rounds after the first is compared: with the two sides in turn by stretches, a busy spell
// of the machine weighs on both alike, where the best round of each side would pick two different spells.
const int kMixedRounds = 6;
const size_t kMixedStretch = 250;  // labels drawn at a stretch before the other side's turn
const char* const kPieces[] = {"中", "华", "测", "绘", "地", "图", "山", "川", "河", "流", "道", "路", "桥", "湖",
                               "A",  "B",  "K",  "x",  "7",  "3",  "-",  "号", "村", "镇", "区", "县", "站", "港"};

struct Mixed {
    std::string gbk, utf8;
    int x, y, size;  // anchor (record units, y up) and character size in pixels
};

std::vector<Mixed> MakeMixed() {
    std::mt19937 rng(2000);
    std::uniform_int_distribution<int> len(1, 12), piece(0, sizeof kPieces / sizeof kPieces[0] - 1),
        pos(50, kSize - 250), size(10, 40);
    std::vector<Mixed> out;
    std::set<std::string> seen;
    while (static_cast<int>(out.size()) < kMixed) {
        Mixed m;
        for (int n = len(rng); n > 0; --n) m.gbk += kPieces[piece(rng)];
        if (!seen.insert(m.gbk).second) continue;
        m.utf8 = win32::GbkToUtf8(m.gbk);
        m.x = pos(rng);
        m.y = -pos(rng);
        m.size = size(rng);
        out.push_back(m);
    }
    return out;
}

// Pixels darker than mid grey in our picture, and pixels Cairo covered more than half.
void Inked(HDC hdc, cairo_surface_t* surface, long long& ours, long long& peer) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    ours = peer = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const COLORREF c = ::GetPixel(hdc, x, y);
            ours += GetRValue(c) + GetGValue(c) + GetBValue(c) < 384;
            peer += data[static_cast<size_t>(y) * stride + 4 * x + 3] > 127;
        }
}

// Upright redrawn (turned false) or turned first drawings (turned true); false when the pictures differ.
bool RunMixed(bool turned, cairo_font_face_t* face) {
    const std::vector<Mixed> labels = MakeMixed();
    GEOVIEW view = GetDefaultGEOVIEW();
    view.m_dwTextFlags = GEOVIEW_TEXT_TRANSPARENT;
    view.m_crAnnoColor = RGB(0, 0, 0);
    view.m_nBufferWidth = 0;
    HDC hdc = win32::CreateImageDC(kSize, kSize);
    CDC dc;
    dc.Attach(hdc);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    cairo_set_font_face(cr, face);
    const size_t n = labels.size();
    bench::Pair sum;
    for (int round = 0; round < kMixedRounds; ++round) {
        // Turned text takes angles of its own in every round (tenths of a degree, never upright).
        std::mt19937 rng(31 + round);
        std::uniform_int_distribution<int> angle(1, 3599);
        std::vector<float> tenths(n, 0.0f);
        if (turned)
            for (float& t : tenths) t = static_cast<float>(angle(rng));
        std::vector<std::unique_ptr<CGeoAnno>> annos;
        for (size_t i = 0; i < n; ++i)
            annos.emplace_back(new CGeoAnno(CString(labels[i].gbk.c_str()), CPoint(labels[i].x, labels[i].y),
                                            labels[i].size, labels[i].size, tenths[i], tenths[i], 0, 0, 1, 0, 0, 0, 0));
        // Both pictures start white (Cairo's transparent) each round, so the last round's can be compared.
        ::PatBlt(dc.m_hDC, 0, 0, kSize, kSize, WHITENESS);
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_restore(cr);
        // The round goes by stretches of labels, ours and Cairo's in turn (which first alternates), so a
        // busy spell of the machine falls on both sides alike rather than on one side's whole round.
        double ours = 0, peer = 0;
        for (size_t from = 0, stretch = 0; from < n; from += kMixedStretch, ++stretch) {
            const size_t to = std::min(n, from + kMixedStretch);
            auto drawOurs = [&] {
                for (size_t i = from; i < to; ++i)
                    annos[i]->OnDrawWithoutSymbolization(&dc, 10, 10, CPoint(0, 0), CPoint(0, 0), view, nullptr, 0,
                                                         0, 1);
            };
            auto drawPeer = [&] {
                cairo_set_source_rgb(cr, 0, 0, 0);
                for (size_t i = from; i < to; ++i) {
                    const Mixed& l = labels[i];
                    cairo_save(cr);
                    cairo_set_font_size(cr, l.size);
                    cairo_translate(cr, l.x, -l.y + l.size);
                    if (tenths[i] != 0.0f) cairo_rotate(cr, -tenths[i] * M_PI / 1800.0);
                    cairo_move_to(cr, 0, 0);
                    cairo_show_text(cr, l.utf8.c_str());
                    cairo_restore(cr);
                }
                cairo_surface_flush(surface);
            };
            if (stretch % 2 == 0) {
                ours += bench::CpuTimeOnce(drawOurs);
                peer += bench::CpuTimeOnce(drawPeer);
            } else {
                peer += bench::CpuTimeOnce(drawPeer);
                ours += bench::CpuTimeOnce(drawOurs);
            }
        }
        if (round == 0) continue;  // fills caches on both sides, and the upright text is drawn again after it
        sum.ours += ours;
        sum.peer += peer;
    }
    bench::Row(turned ? "draw 2,000 mixed strings turned, first drawing (cairo_show_text)"
                      : "draw 2,000 mixed strings of 10-40 px, redrawn (cairo_show_text)",
               sum.ours / (kMixedRounds - 1), sum.peer / (kMixedRounds - 1));
    long long ours = 0, peer = 0;
    Inked(dc.m_hDC, surface, ours, peer);
    const bool ok = peer > 0 && ours > 0.75 * peer && ours < 1.25 * peer;
    if (!ok) std::printf("wrong: %lld pixels inked against Cairo's %lld\n", ours, peer);
    if (std::getenv("BENCH_PICTURES")) {
        win32::WriteDCToPNG(dc.m_hDC, turned ? "mixed-turned-library.png" : "mixed-library.png");
        cairo_surface_write_to_png(surface, turned ? "mixed-turned-cairo.png" : "mixed-cairo.png");
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    ::DeleteDC(dc.Detach());
    return ok;
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
    bool ok = RunMixed(false, face);
    ok &= RunMixed(true, face);
    cairo_font_face_destroy(face);
    FT_Done_Face(ftFace);
    FT_Done_FreeType(ft);
    return ok ? 0 : 1;
}
