// Text: font realisation with GDI's conventions, TextOut, ExtTextOut, measurement and DrawText.
//
// Sizes come from the font description, not from the font file: the em is |lfHeight| high and
// 2 x lfWidth wide (or square), ascent and descent split the em by the face's typographic ascender and
// descender, and the cell of a double-byte character is exactly one em wide. Glyphs are drawn from their
// unscaled outlines transformed into that cell, rotated by the escapement.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "text_coverage.h"
#include "text_font.h"
#include "win32/windraw.h"

namespace win32 {
namespace gdi {
namespace {

const double kPi = 3.14159265358979323846;
const double kItalicSlant = 0.21;  // synthetic italic: about 12 degrees
const int kDefaultEm = 12;         // lfHeight 0

// A realised font, in device pixels.
struct RFont {
    const FontChain* chain = nullptr;
    LOGFONTA lf{};
    double emX = 12, emY = 12;
    int ascent = 10, descent = 2;
    double angle = 0;  // escapement, radians
    bool embolden = false, slant = false, antialias = true;
    double ux = 1, uy = -0.0, vx = -0.0, vy = -1;  // baseline and up directions on the device (upright)
};

RFont Realize(const DC& dc) {
    RFont f;
    Font* font = CurrentFont(dc);
    if (font) f.lf = font->lf;
    const LOGFONTA& lf = f.lf;
    Xform x = GetXform(dc);
    double sx = std::fabs(x.sx), sy = std::fabs(x.sy);
    LONG h = lf.lfHeight == INT32_MIN ? INT32_MAX : std::abs(lf.lfHeight);
    f.emY = h == 0 ? kDefaultEm : std::max(1, LRound(h * sy));
    f.emX = lf.lfWidth > 0 ? std::max(1.0, 2.0 * lf.lfWidth * sx) : f.emY;
    bool bold = lf.lfWeight >= FW_SEMIBOLD;
    bool italic = lf.lfItalic != 0;
    f.chain = &ResolveChain(lf.lfFaceName, bold, italic);
    Face* primary = f.chain->faces.empty() ? nullptr : f.chain->faces[0];
    double a = primary ? primary->ascender : 880, d = primary ? primary->descender : -120;
    f.ascent = LRound(f.emY * a / (a - d));
    f.descent = (int)f.emY - f.ascent;
    f.embolden = bold && primary && !primary->bold;
    f.slant = italic && primary && !primary->italic;
    f.antialias = lf.lfQuality != NONANTIALIASED_QUALITY;
    f.angle = (lf.lfEscapement % 3600) * kPi / 1800.0;
    if (f.angle != 0) {  // upright keeps the exact directions set above
        f.ux = std::cos(f.angle);
        f.uy = -std::sin(f.angle);
        f.vx = -std::sin(f.angle);
        f.vy = -std::cos(f.angle);
    }
    return f;
}

struct Glyph {
    Face* face = nullptr;
    unsigned gid = 0;
    bool draw = false;
    int advance = 0;  // device pixels
    int bytes = 1;
};

// Splits GBK bytes into characters: a byte above 0x7F leads a two-byte character; the trail byte is not
// checked, and a lead byte at the end stands alone. Invalid pairs, lone leads and control bytes draw
// nothing; single bytes advance half an em, pairs a whole one unless the glyph says otherwise.
std::vector<Glyph> Layout(const RFont& f, const char* s, int n, int charExtra) {
    std::vector<Glyph> out;
    out.reserve((size_t)std::min(n, 256));
    for (int i = 0; i < n;) {
        Glyph g;
        unsigned char c = (unsigned char)s[i];
        uint32_t cp = 0;
        if (c >= 0x80 && i + 1 < n) {
            g.bytes = 2;
            cp = GbkCodePoint(c, (unsigned char)s[i + 1]);
            g.advance = LRound(f.emX);
        } else {
            cp = c >= 0x80 ? 0 : c;
            g.advance = LRound(f.emX / 2);
            if (cp < 0x20) cp = 0;
        }
        if (cp) {
            std::pair<Face*, unsigned> fg = FindGlyph(*f.chain, cp);
            if (fg.first) {
                g.face = fg.first;
                g.gid = fg.second;
                g.draw = true;
                const GlyphOutline& o = GlyphOf(g.face, g.gid, false);
                g.advance = LRound(o.advance * f.emX / g.face->upem);
            }
        }
        g.advance = SatAdd(g.advance, std::max(-100000, std::min(charExtra, 100000)));
        out.push_back(g);
        i += g.bytes;
    }
    return out;
}

int TotalAdvance(const std::vector<Glyph>& gs) {
    int64_t t = 0;
    for (const Glyph& g : gs) t += g.advance;
    return SatAdd(t, 0);
}

// Adds a rectangle of the text frame (glyph units along the baseline, pixels) to the shape, in path
// coordinates: (ox, oy) is the baseline origin in Cairo space (pixel corners).
void AddFrameRect(Shape& s, const RFont& f, double ox, double oy, double x1, double y1, double x2, double y2) {
    auto pt = [&](double gx, double gy, BYTE t) {
        s.push_back(PathPoint{ox + gx * f.ux + gy * f.vx - 0.5, oy + gx * f.uy + gy * f.vy - 0.5, t});
    };
    pt(x1, y1, PT_MOVETO);
    pt(x2, y1, PT_LINETO);
    pt(x2, y2, PT_LINETO);
    pt(x1, y2, PT_LINETO | PT_CLOSEFIGURE);
}

// Where a text call's glyphs go: the advances used, their sum, and the baseline origin in Cairo space
// (pixel corners) after alignment.
struct TextPlace {
    std::vector<int> adv;
    int total = 0;
    double ox = 0, oy = 0;      // baseline origin
    double endX = 0, endY = 0;  // the pen position after the text
};

// Lays the text out at device reference point (rx, ry) by the alignment flags.
TextPlace PlaceText(const RFont& f, const std::vector<Glyph>& gs, const std::vector<int>* advances, int rx, int ry,
                    UINT align) {
    TextPlace tp;
    tp.adv.reserve(gs.size());
    for (size_t i = 0; i < gs.size(); ++i) tp.adv.push_back(advances ? (*advances)[i] : gs[i].advance);
    int64_t sum = 0;
    for (int a : tp.adv) sum += a;
    int total = SatAdd(sum, 0);
    tp.total = total;
    double along = 0;
    UINT h = align & TA_CENTER;
    if (h == TA_RIGHT) along = -total;
    else if (h == TA_CENTER) along = -(double)(total / 2);
    double up = 0;
    UINT v = align & TA_BASELINE;
    if (v == TA_BASELINE) up = 0;
    else if (v == TA_BOTTOM) up = f.descent;
    else up = -f.ascent;
    // Baseline origin in Cairo space: the reference point is a pixel corner.
    tp.ox = rx + along * f.ux + up * f.vx;
    tp.oy = ry + along * f.uy + up * f.vy;
    tp.endX = rx + (h == TA_RIGHT ? -total : total) * f.ux;
    tp.endY = ry + (h == TA_RIGHT ? -total : total) * f.uy;
    return tp;
}

// The background box of the text.
Shape TextCell(const RFont& f, const TextPlace& tp) {
    Shape cell;
    AddFrameRect(cell, f, tp.ox, tp.oy, 0, -f.descent, tp.total, f.ascent);
    return cell;
}

// The glyph outlines, underline and strike-out of the text with its baseline origin at (ox, oy).
Shape TextOutlines(const RFont& f, const std::vector<Glyph>& gs, const TextPlace& tp, double ox, double oy) {
    Shape glyphs;
    double pen = 0;
    for (size_t i = 0; i < gs.size(); ++i) {
        const Glyph& g = gs[i];
        if (g.draw) {
            const GlyphOutline& o = GlyphOf(g.face, g.gid, f.embolden);
            // Room for the rest at this glyph's size, and for underline and strike-out.
            glyphs.reserve(glyphs.size() + o.shape.size() * (gs.size() - i) + 8);
            double kx = f.emX / g.face->upem, ky = f.emY / g.face->upem;
            for (const PathPoint& p : o.shape) {
                double gx = p.x * kx, gy = p.y * ky;
                if (f.slant) gx += gy * kItalicSlant;
                gx += pen;
                glyphs.push_back(PathPoint{ox + gx * f.ux + gy * f.vx - 0.5, oy + gx * f.uy + gy * f.vy - 0.5, p.type});
            }
        }
        pen += tp.adv[i];
    }
    Face* primary = f.chain->faces.empty() ? nullptr : f.chain->faces[0];
    if (primary && tp.total > 0) {
        double k = f.emY / primary->upem;
        if (f.lf.lfUnderline) {
            double t = std::max(1.0, std::round(primary->underlineThickness * k));
            double c = std::round(primary->underlinePos * k);
            AddFrameRect(glyphs, f, ox, oy, 0, c - t / 2, tp.total, c + t / 2);
        }
        if (f.lf.lfStrikeOut) {
            double t = std::max(1.0, std::round(primary->strikeoutSize * k));
            double b = std::round(primary->strikeoutPos * k);
            AddFrameRect(glyphs, f, ox, oy, 0, b, tp.total, b + t);
        }
    }
    return glyphs;
}

// Copies the bytes of v to k and moves k past them.
template <class T>
void PutBytes(char*& k, const T& v) {
    std::memcpy(k, &v, sizeof v);
    k += sizeof v;
}

// Whether laying out from `o` with partial sums reaching `reach` from it keeps every sum in the binade of
// o: between the same powers of two, where doubles lie evenly spaced, so that another origin in that
// binade with the same fraction of a pixel gives the same sums moved by the same whole pixels.
bool WithinBinade(double o, double reach) {
    const double a = std::fabs(o);
    int e = 0;
    std::frexp(a, &e);  // a lies in [2^(e-1), 2^e)
    return a - reach >= std::ldexp(1.0, e - 1) && a + reach < std::ldexp(1.0, e);
}

// Draws antialiased text from the coverage cache when its mask lies wholly inside the visible area, and
// its outlines then come out as the kept outlines moved by whole pixels, number for number, so that the
// rasteriser (Cairo for upright text, FreeType for turned) sees the same outlines relative to the same
// mask and the pixels are those of a direct fill.
// Upright text: its origin is a pixel corner and its coordinates are glyph points scaled by rational
// sizes, which lie either exactly on Cairo's grid or far from where its rounding turns, whichever whole
// pixel they are moved by; it is kept as laid from the origin. Turned text: its coordinates are sums of
// turned glyph points and its origin, rounded as doubles round in the origin's binade; it is kept as
// laid from where it was first drawn, under the fraction of a pixel and the binade of that origin, and
// drawn again from that very origin, or where all the sums stay in that binade. A mask cut by the
// visible edge is filled afresh, as a cut Cairo fill can change its edge pixels, and so is text without
// antialiasing, whose scanline fill works in absolute coordinates. False when the text must be filled
// directly.
bool DrawCachedText(DC& dc, const RFont& f, const std::vector<Glyph>& gs, const TextPlace& tp, const Region* extra) {
    if (!f.antialias || gs.empty()) return false;
    const double kFar = 1 << 30;
    if (!(std::fabs(tp.ox) <= kFar && std::fabs(tp.oy) <= kFar)) return false;
    const int escapement = f.lf.lfEscapement % 3600;
    const bool upright = escapement == 0;
    const double partX = tp.ox - std::floor(tp.ox), partY = tp.oy - std::floor(tp.oy);  // exact
    if (upright && (partX != 0 || partY != 0)) return false;
    int binadeX = 0, binadeY = 0;  // signed exponents; 0 for upright text, kept as laid from the origin
    if (!upright) {
        std::frexp(tp.ox, &binadeX);
        std::frexp(tp.oy, &binadeY);
        binadeX = tp.ox < 0 ? -binadeX - 2048 : binadeX;
        binadeY = tp.oy < 0 ? -binadeY - 2048 : binadeY;
    }
    // Everything the laid outlines depend on but the origin's whole pixels, in a buffer kept between calls.
    static std::string& key = *new std::string();
    key.resize(sizeof f.emX + sizeof f.emY + sizeof(Face*) + 4 + sizeof tp.total + sizeof escapement +
               sizeof partX + sizeof partY + sizeof binadeX + sizeof binadeY +
               gs.size() * (sizeof(Face*) + sizeof gs[0].gid + sizeof tp.adv[0]));
    char* k = &key[0];
    Face* primary = f.chain->faces.empty() ? nullptr : f.chain->faces[0];
    PutBytes(k, f.emX);
    PutBytes(k, f.emY);
    PutBytes(k, primary);
    char flags[4] = {f.embolden, f.slant, f.lf.lfUnderline != 0, f.lf.lfStrikeOut != 0};
    PutBytes(k, flags);
    PutBytes(k, tp.total);
    PutBytes(k, escapement);
    PutBytes(k, partX);
    PutBytes(k, partY);
    PutBytes(k, binadeX);
    PutBytes(k, binadeY);
    for (size_t i = 0; i < gs.size(); ++i) {
        Face* face = gs[i].draw ? gs[i].face : nullptr;
        PutBytes(k, face);
        PutBytes(k, gs[i].gid);
        PutBytes(k, tp.adv[i]);
    }
    const double fromX = upright ? 0 : tp.ox, fromY = upright ? 0 : tp.oy;
    const TextCoverage* c = SharedTextCoverage().Find(key, fromX, fromY, !upright,
                                                      [&] { return TextOutlines(f, gs, tp, fromX, fromY); });
    if (!c) return false;
    // Kept from this very origin, the coverage is the direct fill's whatever the binades.
    const bool same = c->ox == fromX && c->oy == fromY;
    if (!same && !(WithinBinade(c->ox, c->reach) && WithinBinade(c->oy, c->reach) &&
                   WithinBinade(tp.ox, c->reach) && WithinBinade(tp.oy, c->reach)))
        return false;
    RECT v;
    if (!VisibleBox(dc, &v)) return true;
    const int dx = (int)(tp.ox - c->ox), dy = (int)(tp.oy - c->oy);  // whole pixels, exactly
    if ((int64_t)c->box.left + dx < v.left || (int64_t)c->box.top + dy < v.top || (int64_t)c->box.right + dx > v.right ||
        (int64_t)c->box.bottom + dy > v.bottom)
        return false;
    CompositeAlpha(dc, c->ink, dc.st.textColor, extra, dx, dy);
    return true;
}

// The part of a mask inside the rectangle, tightly packed; empty when none is.
Mask CropMask(const Mask& m, const RECT& r) {
    Mask out;
    const int l = std::max<int>(m.x0, r.left), t = std::max<int>(m.y0, r.top);
    const int rt = (int)std::min<int64_t>((int64_t)m.x0 + m.w, r.right);
    const int b = (int)std::min<int64_t>((int64_t)m.y0 + m.h, r.bottom);
    if (l >= rt || t >= b) return out;
    out.x0 = l;
    out.y0 = t;
    out.w = rt - l;
    out.h = b - t;
    out.stride = out.w;
    out.data.resize((size_t)out.w * out.h);
    for (int y = t; y < b; ++y) std::memcpy(out.Row(y), m.Row(y) + (l - m.x0), (size_t)out.w);
    return out;
}

// Fills the shape with the colour; antialiased turned text (`turned`) is rasterised as its kept coverage
// is (TurnedCoverage), over its whole box, and the visible part blended, so that a cut leaves the
// pixels inside as the whole text gives them.
void FillSolidShape(DC& dc, const Shape& s, COLORREF c, bool antialias, const Region* clip, bool turned = false) {
    if (s.empty() || !dc.Surface()) return;
    RECT box = ShapeBox(s, 2);
    Mask ink;
    if (antialias && turned && TurnedCoverage(s, box, &ink)) {
        RECT v;
        if (VisibleBox(dc, &v)) CompositeAlpha(dc, CropMask(ink, v), c, clip);
        return;
    }
    Mask m = MakeMask(dc, box.left, box.top, box.right, box.bottom);
    if (m.Empty()) return;
    FillIntoMask(m, s, WINDING, antialias);
    CompositeAlpha(dc, m, c, clip);
}

// TextOut and ExtTextOut.
BOOL DrawTextAt(DC& dc, const char* call, int x, int y, UINT options, const RECT* rc, const char* s, int n,
                const INT* dx) {
    if (n < 0 || (n > 0 && !s)) return FALSE;
    bool updateCp = (dc.st.textAlign & TA_UPDATECP) != 0;
    POINT ref = ToDevice(dc, updateCp ? dc.st.curPos : POINT{x, y});
    RFont f = Realize(dc);
    std::vector<Glyph> gs = Layout(f, s, n, LRound(dc.st.charExtra * std::fabs(GetXform(dc).sx)));
    std::vector<int> adv;
    if (dx) {
        Xform xf = GetXform(dc);
        int k = 0;
        for (const Glyph& g : gs) {
            int a = dx[k] + (g.bytes == 2 && k + 1 < n ? dx[k + 1] : 0);
            adv.push_back(LRound(a * std::fabs(xf.sx)));
            k += g.bytes;
        }
    }
    RECT drc{0, 0, 0, 0};
    if (rc) drc = ToDeviceRect(dc, rc->left, rc->top, rc->right, rc->bottom);
    if (dc.recording) {
        std::vector<POINT> pts{ref};
        if (rc && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
            pts.push_back(POINT{drc.left, drc.top});
            pts.push_back(POINT{drc.right, drc.bottom});
        }
        if (GdiRecord* r = Record(dc, call, pts)) {
            r->text.assign(s ? s : "", (size_t)n);
            r->flags = options;
        }
    }
    TextPlace tp = PlaceText(f, gs, dx ? &adv : nullptr, ref.x, ref.y, dc.st.textAlign);
    if (updateCp) dc.st.curPos = ToLogical(dc, tp.endX, tp.endY);
    if (dc.InPath()) {
        AppendToPath(dc, TextOutlines(f, gs, tp, tp.ox, tp.oy));
        dc.pathNeedMove = true;
        return TRUE;
    }
    if (!dc.Surface()) return TRUE;
    if (rc && (options & ETO_OPAQUE)) {
        Mask m = MakeMask(dc, drc.left, drc.top, drc.right, drc.bottom);
        std::fill(m.data.begin(), m.data.end(), 255);
        Paint p;
        p.kind = Paint::Solid;
        p.fg = dc.st.bkColor;
        Composite(dc, m, p, R2_COPYPEN);
    }
    Region clipRect;
    const Region* extra = nullptr;
    if (rc && (options & ETO_CLIPPED)) {
        clipRect = Region::FromRect(drc.left, drc.top, drc.right, drc.bottom);
        extra = &clipRect;
    }
    if (dc.st.bkMode == OPAQUE && tp.total > 0) FillSolidShape(dc, TextCell(f, tp), dc.st.bkColor, false, extra);
    if (!DrawCachedText(dc, f, gs, tp, extra))
        FillSolidShape(dc, TextOutlines(f, gs, tp, tp.ox, tp.oy), dc.st.textColor, f.antialias, extra,
                       f.lf.lfEscapement % 3600 != 0);
    return TRUE;
}

// The device extent of text with the DC's font.
SIZE DeviceExtent(const DC& dc, const char* s, int n) {
    RFont f = Realize(dc);
    std::vector<Glyph> gs = Layout(f, s, n, LRound(dc.st.charExtra * std::fabs(GetXform(dc).sx)));
    return SIZE{TotalAdvance(gs), (LONG)f.emY};
}

SIZE LogicalExtent(const DC& dc, const char* s, int n) {
    SIZE d = DeviceExtent(dc, s, n);
    Xform x = GetXform(dc);
    return SIZE{LRound(d.cx / std::fabs(x.sx)), LRound(d.cy / std::fabs(x.sy))};
}

}  // namespace
}  // namespace gdi
}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR s, int n) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    return DrawTextAt(*dc, "TextOut", x, y, 0, nullptr, s, n, nullptr);
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR s, UINT n, const INT* dx) {
    DC* dc = DcFrom(hdc);
    if (!dc || n > 0x7FFFFFFF) return FALSE;
    return DrawTextAt(*dc, "ExtTextOut", x, y, options, rc, s, (int)n, dx);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR s, int n, LPSIZE sz) {
    DC* dc = DcFrom(hdc);
    if (!dc || !sz || n < 0 || (n > 0 && !s)) return FALSE;
    *sz = LogicalExtent(*dc, s, n);
    return TRUE;
}

BOOL GetTextExtentPointA(HDC hdc, LPCSTR s, int n, LPSIZE sz) { return GetTextExtentPoint32A(hdc, s, n, sz); }

BOOL GetCharWidthA(HDC hdc, UINT first, UINT last, INT* widths) {
    DC* dc = DcFrom(hdc);
    if (!dc || !widths || last < first || last > 0xFFFF) return FALSE;
    for (UINT c = first; c <= last; ++c) {
        char b[2];
        int n = 0;
        if (c > 0xFF) b[n++] = (char)(c >> 8);
        b[n++] = (char)(c & 0xFF);
        widths[c - first] = LogicalExtent(*dc, b, n).cx;
    }
    return TRUE;
}

BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths) { return GetCharWidthA(hdc, first, last, widths); }

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA tm) {
    DC* dc = DcFrom(hdc);
    if (!dc || !tm) return FALSE;
    RFont f = Realize(*dc);
    Xform x = GetXform(*dc);
    double sx = std::fabs(x.sx), sy = std::fabs(x.sy);
    std::memset(tm, 0, sizeof *tm);
    tm->tmHeight = LRound(f.emY / sy);
    tm->tmAscent = LRound(f.ascent / sy);
    tm->tmDescent = tm->tmHeight - tm->tmAscent;
    tm->tmAveCharWidth = LRound(f.emX / 2 / sx);
    tm->tmMaxCharWidth = LRound(f.emX / sx);
    tm->tmWeight = f.lf.lfWeight ? f.lf.lfWeight : FW_NORMAL;
    tm->tmDigitizedAspectX = dc->dpi;
    tm->tmDigitizedAspectY = dc->dpi;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = 0x1F;
    tm->tmBreakChar = 0x20;
    tm->tmItalic = f.lf.lfItalic;
    tm->tmUnderlined = f.lf.lfUnderline;
    tm->tmStruckOut = f.lf.lfStrikeOut;
    tm->tmPitchAndFamily = (BYTE)(TMPF_VECTOR | TMPF_TRUETYPE | TMPF_FIXED_PITCH | (f.lf.lfPitchAndFamily & 0xF0));
    tm->tmCharSet = f.lf.lfCharSet == DEFAULT_CHARSET ? GB2312_CHARSET : f.lf.lfCharSet;
    return TRUE;
}

int GetTextFaceA(HDC hdc, int count, LPSTR face) {
    DC* dc = DcFrom(hdc);
    Font* f = dc ? CurrentFont(*dc) : nullptr;
    if (!f) return 0;
    int len = (int)strnlen(f->lf.lfFaceName, LF_FACESIZE - 1);
    if (!face) return len + 1;
    if (count <= 0) return 0;
    int k = std::min(len, count - 1);
    std::memcpy(face, f->lf.lfFaceName, (size_t)k);
    face[k] = 0;
    return k;
}

// ---------------------------------------------------------------------------------------------------------
// DrawText

namespace {

struct Line {
    std::string text;
    int width = 0;  // logical
};

// Next character length in GBK.
int CharLen(const std::string& s, size_t i) { return ((unsigned char)s[i] >= 0x80 && i + 1 < s.size()) ? 2 : 1; }

std::string StripPrefix(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        int n = CharLen(s, i);
        if (n == 1 && s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                out += '&';
                i += 2;
                continue;
            }
            ++i;
            continue;
        }
        out.append(s, i, (size_t)n);
        i += (size_t)n;
    }
    return out;
}

int Width(const DC& dc, const std::string& s) { return LogicalExtent(dc, s.data(), (int)s.size()).cx; }

// Shortens the text with "..." at its end until it fits `max`.
std::string Ellipsize(const DC& dc, const std::string& s, int max) {
    if (Width(dc, s) <= max) return s;
    std::vector<size_t> ends;
    for (size_t i = 0; i < s.size(); i += (size_t)CharLen(s, i)) ends.push_back(i);
    for (size_t k = ends.size(); k-- > 0;) {
        std::string t = s.substr(0, ends[k]) + "...";
        if (Width(dc, t) <= max) return t;
    }
    return "...";
}

// Breaks a paragraph into lines no wider than `max`: after blanks, and before or after double-byte
// characters. A word longer than a line stays whole.
void WrapParagraph(const DC& dc, const std::string& p, int max, std::vector<Line>& lines) {
    if (p.empty()) {
        lines.push_back(Line{});
        return;
    }
    size_t start = 0;
    while (start < p.size()) {
        size_t i = start, fitEnd = start, lastBreak = std::string::npos;
        while (i < p.size()) {
            size_t next = i + (size_t)CharLen(p, i);
            if (fitEnd > start && Width(dc, p.substr(start, next - start)) > max) break;
            fitEnd = next;
            if (p[i] == ' ' || next - i == 2 || (next < p.size() && CharLen(p, next) == 2)) lastBreak = next;
            i = next;
        }
        size_t end = fitEnd;
        if (end < p.size()) {
            if (lastBreak != std::string::npos) {
                end = lastBreak;
            } else {
                while (end < p.size() && p[end] != ' ' && CharLen(p, end) == 1) ++end;
            }
        }
        std::string line = p.substr(start, end - start);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(Line{line, Width(dc, line)});
        start = end;
        while (start < p.size() && p[start] == ' ') ++start;
    }
}

}  // namespace

int DrawTextA(HDC hdc, LPCSTR text, int n, LPRECT rc, UINT format) {
    DC* dc = DcFrom(hdc);
    if (!dc || !rc || (!text && n != 0)) return 0;
    std::string s = text ? (n < 0 ? std::string(text) : std::string(text, (size_t)n)) : std::string();
    if (!(format & DT_NOPREFIX)) s = StripPrefix(s);
    if (format & DT_EXPANDTABS) {
        std::string t;
        for (size_t i = 0; i < s.size(); i += (size_t)CharLen(s, i)) {
            if (s[i] == '\t') t += "        ";
            else t.append(s, i, (size_t)CharLen(s, i));
        }
        s = t;
    }
    TEXTMETRICA tm;
    GetTextMetricsA(hdc, &tm);
    int lineH = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    int boxW = SatAdd(rc->right, -(int64_t)rc->left);
    bool ellipsis = (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
    std::vector<Line> lines;
    if (format & DT_SINGLELINE) {
        std::string one;
        for (char c : s)
            if (c != '\r' && c != '\n') one += c;
        lines.push_back(Line{one, Width(*dc, one)});
    } else {
        size_t start = 0;
        for (size_t i = 0; i <= s.size();) {
            bool end = i == s.size();
            if (end || s[i] == '\n' || s[i] == '\r') {
                std::string para = s.substr(start, i - start);
                if (format & DT_WORDBREAK)
                    WrapParagraph(*dc, para, boxW, lines);
                else
                    lines.push_back(Line{para, Width(*dc, para)});
                if (end) break;
                if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
                start = ++i;
                continue;
            }
            i += (size_t)CharLen(s, i);
        }
    }
    if (ellipsis && !(format & DT_CALCRECT)) {
        for (Line& l : lines) {
            if (l.width > boxW) {
                l.text = Ellipsize(*dc, l.text, boxW);
                l.width = Width(*dc, l.text);
            }
        }
    }
    int height = lineH * (int)lines.size();
    if (format & DT_CALCRECT) {
        int w = 0;
        for (const Line& l : lines) w = std::max(w, l.width);
        rc->right = SatAdd(rc->left, w);
        rc->bottom = SatAdd(rc->top, height);
        return height;
    }
    if (GdiRecord* r = Record(*dc, "DrawText", {ToDevice(*dc, rc->left, rc->top), ToDevice(*dc, rc->right, rc->bottom)})) {
        r->text = s;
        r->flags = format;
    }
    bool wasRecording = dc->recording;
    dc->recording = false;
    UINT oldAlign = dc->st.textAlign;
    dc->st.textAlign = TA_LEFT | TA_TOP;
    int y = rc->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) y = SatAdd(rc->top, ((int64_t)rc->bottom - rc->top - lineH) / 2);
        else if (format & DT_BOTTOM) y = SatAdd(rc->bottom, -(int64_t)lineH);
    }
    int result = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? SatAdd((int64_t)y - rc->top, height) : height;
    for (const Line& l : lines) {
        int x = rc->left;
        if (format & DT_CENTER) x = SatAdd(rc->left, ((int64_t)boxW - l.width) / 2);
        else if (format & DT_RIGHT) x = SatAdd(rc->right, -(int64_t)l.width);
        UINT opts = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
        DrawTextAt(*dc, "ExtTextOut", x, y, opts, rc, l.text.data(), (int)l.text.size(), nullptr);
        y = SatAdd(y, lineH);
    }
    dc->st.textAlign = oldAlign;
    dc->recording = wasRecording;
    return result;
}
