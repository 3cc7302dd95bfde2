// Face names to installed fonts. The Chinese face names the system uses are looked up in a table of this
// project's first, because fontconfig alone maps Song and Kai faces to whatever sans font it prefers;
// other names go to fontconfig and are accepted only when it finds that very family. Each chain ends
// with fonts covering all of GBK, so a character missing in the first face comes from the next.
#include "text_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "win32/codepage.h"
#include "win32/gdirecord.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace win32 {
namespace gdi {
namespace {

const char* const kSong[] = {"AR PL UMing CN", "WenQuanYi Zen Hei Mono", "Noto Serif CJK SC", "Noto Sans Mono CJK SC", nullptr};
const char* const kKai[] = {"AR PL UKai CN", "AR PL UMing CN", "WenQuanYi Zen Hei Mono", "Noto Sans Mono CJK SC", nullptr};
const char* const kHei[] = {"WenQuanYi Zen Hei Mono", "Noto Sans Mono CJK SC", "AR PL UMing CN", nullptr};

// Face names and the chain each stands for (the literals are GBK at run time, like the names asked for). Clerical, Wei and similar brush faces have no free
// counterpart in Debian; Kai is the nearest.
struct FaceAlias {
    const char* name;
    const char* const* chain;
};
const FaceAlias kAliases[] = {
    {"宋体", kSong},        {"新宋体", kSong},      {"仿宋", kSong},         {"仿宋_GB2312", kSong},
    {"华文宋体", kSong},    {"华文仿宋", kSong},    {"华文中宋", kSong},     {"SimSun", kSong},
    {"NSimSun", kSong},     {"FangSong", kSong},    {"FangSong_GB2312", kSong}, {"STSong", kSong},
    {"黑体", kHei},         {"微软雅黑", kHei},     {"幼圆", kHei},          {"华文细黑", kHei},
    {"华文黑体", kHei},     {"SimHei", kHei},       {"Microsoft YaHei", kHei}, {"YouYuan", kHei},
    {"楷体", kKai},         {"楷体_GB2312", kKai},  {"华文楷体", kKai},      {"隶书", kKai},
    {"华文隶书", kKai},     {"华文行楷", kKai},     {"华文新魏", kKai},      {"方正舒体", kKai},
    {"方正姚体", kKai},     {"KaiTi", kKai},        {"KaiTi_GB2312", kKai},  {"LiSu", kKai},
    {"STKaiti", kKai},
};
// The Chinese names offered in font lists, in this order.
const char* const kOffered[] = {"宋体", "黑体", "楷体_GB2312", "仿宋_GB2312", "隶书", "幼圆", "新宋体", "仿宋", "楷体",
                                "微软雅黑"};

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return s;
}

FT_Library Library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

bool FontconfigReady() {
    static bool ok = [] {
        // Fontconfig keeps allocations from parsing its configuration for the life of the process
        // without a pointer the leak checker can follow; they are not ours to free.
#ifdef __SANITIZE_ADDRESS__
        __lsan_disable();
#endif
        bool r = FcInit() == FcTrue;
#ifdef __SANITIZE_ADDRESS__
        __lsan_enable();
#endif
        return r;
    }();
    return ok;
}

Face* LoadFace(const std::string& file, int index, const std::string& family) {
    static auto* faces = new std::map<std::pair<std::string, int>, std::unique_ptr<Face>>();
    auto key = std::make_pair(file, index);
    auto it = faces->find(key);
    if (it != faces->end()) return it->second.get();
    FT_Library lib = Library();
    FT_Face ft = nullptr;
    if (!lib || FT_New_Face(lib, file.c_str(), index, &ft) != 0 || !ft || !FT_IS_SCALABLE(ft)) {
        if (ft) FT_Done_Face(ft);
        (*faces)[key] = nullptr;
        return nullptr;
    }
    auto f = std::make_unique<Face>();
    f->ft = ft;
    f->file = file;
    f->index = index;
    f->family = family;
    f->upem = ft->units_per_EM ? ft->units_per_EM : 1000;
    f->bold = (ft->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    f->italic = (ft->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->sTypoAscender - os2->sTypoDescender > 0) {
        f->ascender = os2->sTypoAscender;
        f->descender = os2->sTypoDescender;
    } else if (ft->ascender - ft->descender > 0) {
        f->ascender = ft->ascender;
        f->descender = ft->descender;
    } else {
        f->ascender = f->upem * 0.88;
        f->descender = -f->upem * 0.12;
    }
    if (ft->underline_thickness > 0) {
        f->underlinePos = ft->underline_position;
        f->underlineThickness = ft->underline_thickness;
    } else {
        f->underlinePos = -f->upem * 0.1;
        f->underlineThickness = f->upem * 0.05;
    }
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        f->strikeoutPos = os2->yStrikeoutPosition;
        f->strikeoutSize = os2->yStrikeoutSize;
    } else {
        f->strikeoutPos = f->upem * 0.3;
        f->strikeoutSize = f->upem * 0.05;
    }
    Face* raw = f.get();
    (*faces)[key] = std::move(f);
    return raw;
}

bool HasFamily(FcPattern* p, const std::string& family) {
    FcChar8* s = nullptr;
    std::string want = Lower(family);
    for (int i = 0; FcPatternGetString(p, FC_FAMILY, i, &s) == FcResultMatch; ++i)
        if (Lower(reinterpret_cast<const char*>(s)) == want) return true;
    return false;
}

// The installed face of that family (UTF-8) closest to the style; nullptr when the family is not there.
// `anyFamily` accepts whatever fontconfig offers (the last resort).
Face* FindFamily(const std::string& family, bool bold, bool italic, bool anyFamily) {
    if (!FontconfigReady()) return nullptr;
    FcPattern* pat = FcPatternCreate();
    if (!family.empty()) FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (anyFamily) FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res = FcResultNoMatch;
    FcPattern* m = FcFontMatch(nullptr, pat, &res);
    FcPatternDestroy(pat);
    if (!m) return nullptr;
    Face* face = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if ((anyFamily || HasFamily(m, family)) && FcPatternGetString(m, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(m, FC_INDEX, 0, &index);
        FcChar8* fam = nullptr;
        FcPatternGetString(m, FC_FAMILY, 0, &fam);
        face = LoadFace(reinterpret_cast<const char*>(file), index, fam ? reinterpret_cast<const char*>(fam) : family);
    }
    FcPatternDestroy(m);
    return face;
}

bool IsAscii(const std::string& s) {
    for (char c : s)
        if ((unsigned char)c >= 0x80) return false;
    return true;
}

// Chinese names compare byte for byte (a GBK trail byte may look like a letter); Latin ones ignore case.
const char* const* AliasChain(const std::string& gbk) {
    bool ascii = IsAscii(gbk);
    std::string low = ascii ? Lower(gbk) : gbk;
    for (const FaceAlias& a : kAliases)
        if ((ascii ? Lower(a.name) : std::string(a.name)) == low) return a.chain;
    return nullptr;
}

struct Decomposer {
    Shape* s;
    double cx = 0, cy = 0;
    double sx = 0, sy = 0;  // start of the contour
    bool open = false;
    void Close() {
        if (!open || s->empty()) return;
        // A closing line back to the start is implied by the close flag.
        if ((s->back().type == PT_LINETO) && s->back().x == sx && s->back().y == sy) s->pop_back();
        s->back().type |= PT_CLOSEFIGURE;
        open = false;
    }
};

int MoveTo(const FT_Vector* to, void* user) {
    Decomposer* d = static_cast<Decomposer*>(user);
    d->Close();
    d->cx = d->sx = to->x;
    d->cy = d->sy = to->y;
    d->s->push_back(PathPoint{d->cx, d->cy, PT_MOVETO});
    d->open = true;
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    Decomposer* d = static_cast<Decomposer*>(user);
    d->cx = to->x;
    d->cy = to->y;
    d->s->push_back(PathPoint{d->cx, d->cy, PT_LINETO});
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    Decomposer* d = static_cast<Decomposer*>(user);
    d->s->push_back(PathPoint{(double)c1->x, (double)c1->y, PT_BEZIERTO});
    d->s->push_back(PathPoint{(double)c2->x, (double)c2->y, PT_BEZIERTO});
    d->s->push_back(PathPoint{(double)to->x, (double)to->y, PT_BEZIERTO});
    d->cx = to->x;
    d->cy = to->y;
    return 0;
}

int ConicTo(const FT_Vector* q, const FT_Vector* to, void* user) {
    Decomposer* d = static_cast<Decomposer*>(user);
    // A quadratic raised to a cubic: c1 = p0 + 2/3 (q - p0), c2 = p1 + 2/3 (q - p1).
    double c1x = d->cx + 2.0 / 3.0 * (q->x - d->cx), c1y = d->cy + 2.0 / 3.0 * (q->y - d->cy);
    double c2x = to->x + 2.0 / 3.0 * (q->x - to->x), c2y = to->y + 2.0 / 3.0 * (q->y - to->y);
    d->s->push_back(PathPoint{c1x, c1y, PT_BEZIERTO});
    d->s->push_back(PathPoint{c2x, c2y, PT_BEZIERTO});
    d->s->push_back(PathPoint{(double)to->x, (double)to->y, PT_BEZIERTO});
    d->cx = to->x;
    d->cy = to->y;
    return 0;
}

}  // namespace

FT_Library FreeTypeLibrary() { return Library(); }

const FontChain& ResolveChain(const char* faceGbk, bool bold, bool italic) {
    static auto* cache = new std::map<std::string, FontChain>();
    // Text calls ask for the same chain in long runs: the last one answers without building a key.
    static char lastName[LF_FACESIZE + 1] = {};
    static bool lastBold = false, lastItalic = false;
    static const FontChain* last = nullptr;
    const size_t len = faceGbk ? strnlen(faceGbk, LF_FACESIZE) : 0;
    if (last && bold == lastBold && italic == lastItalic && std::strlen(lastName) == len &&
        std::memcmp(lastName, faceGbk ? faceGbk : "", len) == 0)
        return *last;
    std::string name = faceGbk ? std::string(faceGbk, len) : std::string();
    std::string key = name + (bold ? "\x01" : "\x02") + (italic ? "\x01" : "\x02");
    auto remember = [&](const FontChain& c) -> const FontChain& {
        std::memcpy(lastName, name.data(), len);
        lastName[len] = 0;
        lastBold = bold;
        lastItalic = italic;
        last = &c;
        return c;
    };
    auto it = cache->find(key);
    if (it != cache->end()) return remember(it->second);
    FontChain chain;
    std::string utf8 = GbkToUtf8(name);
    auto addFamily = [&](const std::string& fam) {
        Face* f = FindFamily(fam, bold, italic, false);
        if (f && std::find(chain.faces.begin(), chain.faces.end(), f) == chain.faces.end()) chain.faces.push_back(f);
    };
    const char* const* alias = AliasChain(name);
    if (!alias && !utf8.empty()) addFamily(utf8);
    for (const char* const* fam = alias ? alias : kSong; *fam; ++fam) addFamily(*fam);
    if (chain.faces.empty()) {
        if (Face* f = FindFamily("", bold, italic, true)) chain.faces.push_back(f);
    }
    return remember((*cache)[key] = chain);
}

std::pair<Face*, unsigned> FindGlyph(const FontChain& chain, uint32_t cp) {
    auto it = chain.found.find(cp);
    if (it != chain.found.end()) return it->second;
    std::pair<Face*, unsigned> fg{chain.faces.empty() ? nullptr : chain.faces[0], 0};
    for (Face* f : chain.faces) {
        FT_UInt g = FT_Get_Char_Index(f->ft, cp);
        if (g) {
            fg = {f, g};
            break;
        }
    }
    chain.found.emplace(cp, fg);
    return fg;
}

const GlyphOutline& GlyphOf(Face* face, unsigned gid, bool embolden) {
    static const GlyphOutline kEmpty;
    if (!face) return kEmpty;
    uint64_t key = (uint64_t)gid | (embolden ? (uint64_t(1) << 32) : 0);
    auto it = face->glyphs.find(key);
    if (it != face->glyphs.end()) return it->second;
    GlyphOutline& g = face->glyphs[key];
    if (FT_Load_Glyph(face->ft, gid, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return g;
    FT_GlyphSlot slot = face->ft->glyph;
    g.advance = (double)slot->metrics.horiAdvance;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return g;
    if (embolden) {
        FT_Pos strength = (FT_Pos)(face->upem / 32);
        FT_Outline_EmboldenXY(&slot->outline, strength, strength);
    }
    FT_Outline_Funcs funcs;
    std::memset(&funcs, 0, sizeof funcs);
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;
    Decomposer d;
    d.s = &g.shape;
    FT_Outline_Decompose(&slot->outline, &funcs, &d);
    d.Close();
    return g;
}

uint32_t GbkCodePoint(unsigned char lead, unsigned char trail) {
    if (lead < 0x80) return lead;
    static auto* cache = new std::unordered_map<uint16_t, uint32_t>();
    uint16_t key = (uint16_t)(lead << 8 | trail);
    auto it = cache->find(key);
    if (it != cache->end()) return it->second;
    char bytes[2] = {(char)lead, (char)trail};
    std::string u = GbkToUtf8(std::string(bytes, 2));
    uint32_t cp = 0;
    // Exactly one character must come out: a valid pair.
    const unsigned char* p = reinterpret_cast<const unsigned char*>(u.data());
    size_t n = u.size();
    if (n >= 2 && (p[0] & 0xE0) == 0xC0 && n == 2) cp = (uint32_t)(p[0] & 0x1F) << 6 | (p[1] & 0x3F);
    else if (n == 3 && (p[0] & 0xF0) == 0xE0) cp = (uint32_t)(p[0] & 0x0F) << 12 | (uint32_t)(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
    else if (n == 4 && (p[0] & 0xF8) == 0xF0)
        cp = (uint32_t)(p[0] & 0x07) << 18 | (uint32_t)(p[1] & 0x3F) << 12 | (uint32_t)(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
    if (cp == 0xFFFD) cp = 0;
    (*cache)[key] = cp;
    return cp;
}

}  // namespace gdi

std::vector<std::string> GetInstalledFaceNames() {
    std::vector<std::string> out;
    for (const char* n : gdi::kOffered) out.push_back(n);
    std::set<std::string> seen(out.begin(), out.end());
    std::vector<std::string> rest;
    if (gdi::FontconfigReady()) {
        FcPattern* pat = FcPatternCreate();
        FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
        FcFontSet* fs = FcFontList(nullptr, pat, os);
        if (fs) {
            for (int i = 0; i < fs->nfont; ++i) {
                FcChar8* fam = nullptr;
                if (FcPatternGetString(fs->fonts[i], FC_FAMILY, 0, &fam) != FcResultMatch) continue;
                std::string g = Utf8ToGbk(reinterpret_cast<const char*>(fam));
                if (g.size() < LF_FACESIZE && seen.insert(g).second) rest.push_back(g);
            }
            FcFontSetDestroy(fs);
        }
        FcObjectSetDestroy(os);
        FcPatternDestroy(pat);
    }
    std::sort(rest.begin(), rest.end());
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

std::string ResolveFaceFile(const char* faceName) {
    const gdi::FontChain& c = gdi::ResolveChain(faceName, false, false);
    return c.faces.empty() ? std::string() : c.faces[0]->file;
}

}  // namespace win32
