// Fonts for GDI text: face names to chains of installed fonts, FreeType faces and their glyph outlines.
// Private to win32.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gdi_internal.h"

typedef struct FT_FaceRec_* FT_Face;
typedef struct FT_LibraryRec_* FT_Library;

namespace win32 {
namespace gdi {

// A glyph in font units (y up), as PT_* points with cubic Béziers, and its advance.
struct GlyphOutline {
    Shape shape;
    double advance = 0;
};

struct Face {
    FT_Face ft = nullptr;
    std::string file;
    int index = 0;
    std::string family;
    double upem = 1000;
    double ascender = 800, descender = -200;  // typographic, descender negative; they span one em
    bool bold = false, italic = false;        // the face's own style
    double underlinePos = -100, underlineThickness = 50;  // font units, position of the line's centre
    double strikeoutPos = 300, strikeoutSize = 50;        // font units, bottom of the line
    std::unordered_map<uint64_t, GlyphOutline> glyphs;
};

// The faces tried in order for each character; empty only when no font at all is installed.
struct FontChain {
    std::vector<Face*> faces;
    mutable std::unordered_map<uint32_t, std::pair<Face*, unsigned>> found;  // FindGlyph's answers so far
};

// The FreeType library the faces are loaded with; nullptr when it could not start.
FT_Library FreeTypeLibrary();
// The chain for a face name (GBK) and the style wanted; cached, so cheap to call per text call.
const FontChain& ResolveChain(const char* faceGbk, bool bold, bool italic);
// The face holding a glyph for the code point and its glyph index; the first face's .notdef (glyph 0)
// when none has it; {nullptr, 0} when the chain is empty.
std::pair<Face*, unsigned> FindGlyph(const FontChain& chain, uint32_t cp);
// The glyph's outline (emboldened by upem / 32 when asked); an empty outline when it cannot be loaded.
const GlyphOutline& GlyphOf(Face* face, unsigned gid, bool embolden);
// The Unicode code point of a one- or two-byte GBK character; 0 for a pair GBK does not define.
uint32_t GbkCodePoint(unsigned char lead, unsigned char trail);

}  // namespace gdi
}  // namespace win32
