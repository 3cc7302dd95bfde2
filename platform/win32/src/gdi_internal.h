// The objects behind GDI handles and the drawing machinery the GDI sources share. Private to win32.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gdi_region.h"
#include "win32/gdirecord.h"
#include "win32/wingdi.h"

namespace win32 {
namespace gdi {

// ---------------------------------------------------------------------------------------------------------
// Objects and handles

struct DC;

// Every handle is a pointer to one of these, registered while alive so that a stale or foreign handle is
// recognised instead of being dereferenced.
struct Object {
    explicit Object(DWORD t);
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    DWORD type;                  // OBJ_*
    bool stock = false;          // never deleted
    bool deletePending = false;  // DeleteObject came while a DC still held it
    int dcRefs = 0;              // references from DC states (current and saved)
};

bool IsLive(const void* h);
template <class T>
T* Get(const void* h, DWORD type) {
    if (!h || !IsLive(h)) return nullptr;
    Object* o = static_cast<Object*>(const_cast<void*>(h));
    if (o->type != type && !(type == OBJ_PEN && o->type == OBJ_EXTPEN) && !(type == OBJ_DC && o->type == OBJ_MEMDC))
        return nullptr;
    return static_cast<T*>(o);
}

// A counted reference from a DC state to a selected object; the last one finishes a pending delete.
class ObjRef {
public:
    ObjRef() = default;
    explicit ObjRef(Object* o) : o_(o) { if (o_) ++o_->dcRefs; }
    ObjRef(const ObjRef& r) : ObjRef(r.o_) {}
    ObjRef& operator=(const ObjRef& r) {
        if (this != &r) { ObjRef tmp(r); std::swap(o_, tmp.o_); }
        return *this;
    }
    ~ObjRef() { Reset(); }
    void Reset();
    Object* get() const { return o_; }
private:
    Object* o_ = nullptr;
};

struct Pen : Object {
    Pen() : Object(OBJ_PEN) {}
    DWORD style = PS_SOLID;  // full style word
    int width = 0;           // logical units
    COLORREF color = 0;
    bool ext = false;        // made by ExtCreatePen
    UINT brushStyle = BS_SOLID;
    ULONG_PTR hatch = 0;
    std::vector<DWORD> user;  // PS_USERSTYLE lengths
    bool dcPen = false;       // the DC_PEN stock object: colour from the DC
};

// A brush pattern, copied from the bitmap or DIB it was made from.
struct Pattern {
    int w = 0, h = 0;
    bool mono = false;             // 1-bit: 0 -> text colour, 1 -> background colour
    std::vector<COLORREF> colors;  // row-major, top row first (colour patterns)
    std::vector<uint8_t> bits;     // row-major 0/1 (mono patterns)
};

struct Brush : Object {
    Brush() : Object(OBJ_BRUSH) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    std::shared_ptr<Pattern> pattern;
    bool dcBrush = false;  // the DC_BRUSH stock object
};

struct Font : Object {
    Font() : Object(OBJ_FONT) {}
    LOGFONTA lf{};
};

struct Bitmap : Object {
    Bitmap() : Object(OBJ_BITMAP) {}
    ~Bitmap() override;
    int width = 0, height = 0, bpp = 32, stride = 0;
    bool bottomUp = false;  // row 0 of `bits` is the bottom row
    bool dib = false;       // a DIB section
    std::vector<RGBQUAD> palette;  // 1, 4 and 8 bits
    uint8_t* bits = nullptr;       // owned, calloc'ed
    size_t size = 0;
    DC* selectedIn = nullptr;
    bool windowCanvas = false;  // belongs to a window: never selected into a memory DC
    BITMAPINFOHEADER bmih{};

    uint8_t* Row(int y) const { return bits + (size_t)(bottomUp ? height - 1 - y : y) * stride; }
};
// A new zero-filled bitmap; nullptr when the size is not positive, the depth unknown or the size absurd.
Bitmap* NewBitmap(int w, int h, int bpp, bool dibRows, bool bottomUp);

struct Rgn : Object {
    Rgn() : Object(OBJ_REGION) {}
    Region r;
};

// ---------------------------------------------------------------------------------------------------------
// Device contexts

enum class DcKind { Memory, Window, Info };

struct DcState {
    ObjRef pen, brush, font, bitmap;
    COLORREF textColor = 0x000000, bkColor = 0xFFFFFF;
    int bkMode = OPAQUE, rop2 = R2_COPYPEN, polyFillMode = ALTERNATE, stretchMode = BLACKONWHITE;
    UINT textAlign = TA_TOP | TA_LEFT;
    int arcDirection = AD_COUNTERCLOCKWISE, graphicsMode = GM_COMPATIBLE, mapMode = MM_TEXT;
    POINT winOrg{0, 0}, vpOrg{0, 0};
    SIZE winExt{1, 1}, vpExt{1, 1};
    POINT curPos{0, 0};
    POINT brushOrg{0, 0};
    bool hasClip = false;
    Region clip;  // device pixels
    FLOAT miterLimit = 10.0f;
    int charExtra = 0;
    COLORREF dcBrushColor = 0xFFFFFF, dcPenColor = 0x000000;
};

struct PathPoint {
    double x, y;  // device coordinates: integer values are pixel centres
    BYTE type;    // PT_MOVETO, PT_LINETO, PT_BEZIERTO, | PT_CLOSEFIGURE
};
typedef std::vector<PathPoint> Shape;

enum class PathState { None, Open, Closed };

struct DC : Object {
    DC() : Object(OBJ_DC) {}
    ~DC() override;
    DcKind kind = DcKind::Memory;
    bool printer = false;
    int dpi = 96;
    int infoWidth = 0, infoHeight = 0;  // device size of DCs without a bitmap
    HWND hwnd = nullptr;
    Bitmap* ownedBitmap = nullptr;  // freed with the DC (image and printer DCs)
    DcState st;
    std::vector<DcState> saved;
    PathState pathState = PathState::None;
    Shape path;
    bool pathNeedMove = true;  // the next line or curve in the path starts a figure
    bool recording = false;
    std::vector<GdiRecord> records;

    Bitmap* Surface() const;  // the pixels drawn on; nullptr for DCs without pixels
    void DeviceSize(int* w, int* h) const;
    int BitsPixel() const;
    bool InPath() const { return pathState == PathState::Open; }
};

DC* DcFrom(HDC h);  // nullptr for a bad handle
Pen* CurrentPen(const DC& dc);
Brush* CurrentBrush(const DC& dc);
Font* CurrentFont(const DC& dc);
Bitmap* StockMonoBitmap();  // the 1 x 1 bitmap of fresh memory DCs
DC* NewDC(DcKind kind);     // with the stock objects selected
Bitmap* WindowCanvas(HWND hwnd);

// ---------------------------------------------------------------------------------------------------------
// Coordinates

struct Xform {
    double sx, sy, tx, ty;  // device = logical * s + t
};
Xform GetXform(const DC& dc);
POINT ToDevice(const DC& dc, int x, int y);
POINT ToDevice(const DC& dc, POINT p);
POINT ToLogical(const DC& dc, double x, double y);
RECT ToDeviceRect(const DC& dc, int l, int t, int r, int b);  // normalised
int LRound(double v);  // half away from zero, clamped to the int range
// a + b clamped to the int range: coordinates from callers may be anywhere in it.
inline int SatAdd(int64_t a, int64_t b) {
    int64_t v = a + b;
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int)v;
}
inline int FloorInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    int i = (int)v;
    return (double)i > v ? i - 1 : i;
}

// ---------------------------------------------------------------------------------------------------------
// Rendering

// A coverage box in device pixels: 0 = untouched, 1..127 = background role (gaps of styled pens),
// 128..255 = foreground (text masks hold antialiased coverage instead).
struct Mask {
    int x0 = 0, y0 = 0, w = 0, h = 0, stride = 0;
    std::vector<uint8_t> data;
    bool Empty() const { return w <= 0 || h <= 0; }
    uint8_t* Row(int y) { return data.data() + (size_t)(y - y0) * stride; }
    const uint8_t* Row(int y) const { return data.data() + (size_t)(y - y0) * stride; }
};
// A cleared mask over box [l, r) x [t, b) clipped to the DC's visible area; empty when nothing is visible
// or the DC has no pixels.
Mask MakeMask(const DC& dc, int l, int t, int r, int b);
// The visible device area: surface bounds intersected with the clip box; false when nothing is visible.
bool VisibleBox(const DC& dc, RECT* rc);

struct PenInfo {
    bool null = true;
    bool thin = true;          // one pixel wide: drawn by the line stepper
    double width = 1;          // device pixels
    COLORREF color = 0;
    bool insideFrame = false;
    std::vector<double> dashes;  // on/off lengths in device pixels; empty = solid
    int cap = 0, join = 0;       // PS_ENDCAP_*, PS_JOIN_*
    LOGPEN Describe() const;
    DWORD style = 0;
};
PenInfo ResolvePen(const DC& dc);

struct Paint {
    enum Kind { None, Solid, Hatch, Pattern } kind = None;
    COLORREF fg = 0, bg = 0;
    bool opaque = false;  // background role pixels are drawn with bg
    int hatch = 0;
    std::shared_ptr<gdi::Pattern> pattern;
    COLORREF monoFg = 0, monoBg = 0;
    POINT org{0, 0};
};
Paint PenPaint(const DC& dc, const PenInfo& pen);
Paint BrushPaint(const DC& dc, const Brush* brush);

// Combines the paint with the DC's pixels where the mask is set, by rop2, inside the clip region.
void Composite(DC& dc, const Mask& m, const Paint& p, int rop2);
// Blends colour over the pixels by the mask's coverage (text), inside the clip region and `extraClip`;
// the mask is placed (dx, dy) pixels from where its own origin says. Coverage of 255 sets the colour;
// below it, each channel is colour x a + pixel x (255 - a), over 255, rounded; an indexed surface takes
// the colour where coverage reaches 128.
void CompositeAlpha(DC& dc, const Mask& m, COLORREF color, const Region* extraClip, int dx = 0, int dy = 0);

// Flattens the shape into polylines in device coordinates, Béziers within `tolerance` pixels; pieces of
// curves lying wholly outside keepBox (when given) become their chords, which lie outside it too.
struct Polyline2 {
    std::vector<double> xy;
    bool closed = false;
};
std::vector<Polyline2> Flatten(const Shape& s, double tolerance, const RECT* keepBox = nullptr);
// Rasterisers into masks (device geometry: integer values are pixel centres).
void StrokeIntoMask(Mask& m, const std::vector<Polyline2>& lines, const PenInfo& pen, bool opaqueGaps,
                    double miterLimit);
void FillIntoMask(Mask& m, const Shape& s, int fillMode, bool antialias);
// The antialiased nonzero-rule coverage of a shape lying inside `box`, as FillIntoMask leaves it in a
// cleared mask over that box, trimmed to its nonzero part (tightly packed; empty when nothing is
// covered): one pass where a fill and a trim would take three.
Mask FillCoverage(const Shape& s, const RECT& box);
// The nonzero part of the w x h coverage at `data` (rows `stride` bytes apart) whose first byte is device
// pixel (x0, y0), tightly packed; empty when all of it is zero.
Mask NonzeroPart(const uint8_t* data, int stride, int x0, int y0, int w, int h);
// The device bounding box of a shape, grown by `grow` pixels: [l, r) x [t, b).
RECT ShapeBox(const Shape& s, double grow);

// Draws a shape with the DC's pen (stroke) and brush (fill, closed figures only).
void DrawShape(DC& dc, const Shape& s, bool stroke, bool fill);
// PolyDraw's point types: PT_MOVETO, PT_LINETO and Béziers in threes, each possibly with PT_CLOSEFIGURE.
bool ValidPolyDrawTypes(const BYTE* types, int count);

// Pixel access in the bitmap's own format.
uint32_t ColorToPixel(const Bitmap& b, COLORREF c);
COLORREF PixelToColor(const Bitmap& b, uint32_t v);
uint32_t GetPixelValue(const Bitmap& b, int x, int y);
void SetPixelValue(Bitmap& b, int x, int y, uint32_t v);
uint32_t PixelMask(const Bitmap& b);
uint32_t Rop2(int rop2, uint32_t d, uint32_t p);
uint32_t Rop3(DWORD rop, uint32_t p, uint32_t s, uint32_t d);
bool Rop3UsesSource(DWORD rop);
bool Rop3UsesPattern(DWORD rop);
// Brush colour at device pixel (x, y); false when the pixel is left alone (a transparent hatch gap).
bool PaintColorAt(const Paint& p, int x, int y, COLORREF* c);

// ---------------------------------------------------------------------------------------------------------
// Paths, recording

// Adds the shape to the DC's path (between BeginPath and EndPath).
void AppendToPath(DC& dc, const Shape& s);
// The pixels a shape fills (pixel centres inside, fill mode ALTERNATE or WINDING).
Region PathRegion(const Shape& s, int fillMode);
// Closed outlines in device coordinates, counter-clockwise on the device, starting at the right.
Shape EllipseOutline(double cx, double cy, double rx, double ry);
Shape RoundRectOutline(double l, double t, double r, double b, double rx, double ry);
// Records a call if the DC records; fills in the state.
GdiRecord* Record(DC& dc, const char* call, std::vector<POINT> pts = {});

// Text (text_out.cpp): the glyph outlines of a string at device reference point, as a shape.
struct TextLayout;

}  // namespace gdi
}  // namespace win32
