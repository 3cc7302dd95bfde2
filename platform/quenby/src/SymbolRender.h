// Inside the symbol library: how symbols become primitives in system coordinates.
//
// A Frame places library points and lengths of one symbol in the caller's system; a Sink receives the
// resulting primitives (a device context, an outputer, or a bounds collector). The renderers below walk
// a symbol's primitives or strokes through a frame into a sink.
#pragma once

#include "quenby/SymbolLibIO.h"

#include <functional>
#include <vector>

namespace quenby {

typedef std::vector<POINT> Ring;

// Where primitives go. Coordinates and lengths are system units.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void Lines(const Ring& pts, COLORREF cr, LONG width, DWORD style) = 0;
    // One area of one or more rings (inner rings are holes), with an outline along every ring.
    virtual void Area(const std::vector<Ring>& rings, COLORREF crLine, LONG width, DWORD style, COLORREF crFill,
                      BYTE fillStyle) = 0;
    virtual void Text(const POINT& topLeft, COLORREF cr, LONG height, const CString& face, const CString& text,
                      double angleDegrees) = 0;
    virtual void Ellipse(const RECT& box, COLORREF crLine, LONG width, DWORD style, COLORREF crFill, BYTE fillStyle) = 0;
    virtual void Arc(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
                     COLORREF crFill, BYTE fillStyle, BYTE pie) = 0;
    virtual void Chord(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
                       COLORREF crFill, BYTE fillStyle) = 0;
};

// Collects the bounds of everything, widened by half the line widths (text by a generous box).
class BoundsSink : public Sink {
public:
    void Lines(const Ring& pts, COLORREF, LONG width, DWORD) override;
    void Area(const std::vector<Ring>& rings, COLORREF, LONG width, DWORD, COLORREF, BYTE) override;
    void Text(const POINT& topLeft, COLORREF, LONG height, const CString&, const CString& text, double) override;
    void Ellipse(const RECT& box, COLORREF, LONG width, DWORD, COLORREF, BYTE) override;
    void Arc(const RECT& box, const POINT&, const POINT&, COLORREF, LONG width, DWORD, COLORREF, BYTE, BYTE) override;
    void Chord(const RECT& box, const POINT&, const POINT&, COLORREF, LONG width, DWORD, COLORREF, BYTE) override;

    bool empty = true;
    RECT bounds = {0, 0, 0, 0};  // normalised: left <= right, top <= bottom (numerically)

private:
    void Add(LONG x, LONG y, LONG pad);
};

// Draws on a device context with the symbol library's drawing modes; the DC's state is saved at
// construction and restored at destruction. ok is false when the DC is not usable (nothing is drawn).
class DcSink : public Sink {
public:
    DcSink(HDC hdc, bool xorMode);
    ~DcSink() override;
    void Lines(const Ring& pts, COLORREF cr, LONG width, DWORD style) override;
    void Area(const std::vector<Ring>& rings, COLORREF crLine, LONG width, DWORD style, COLORREF crFill,
              BYTE fillStyle) override;
    void Text(const POINT& topLeft, COLORREF cr, LONG height, const CString& face, const CString& text,
              double angleDegrees) override;
    void Ellipse(const RECT& box, COLORREF crLine, LONG width, DWORD style, COLORREF crFill, BYTE fillStyle) override;
    void Arc(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
             COLORREF crFill, BYTE fillStyle, BYTE pie) override;
    void Chord(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
               COLORREF crFill, BYTE fillStyle) override;

    bool ok;

private:
    HGDIOBJ MakePen(COLORREF cr, LONG width, DWORD style) const;
    HGDIOBJ MakeBrush(COLORREF cr, BYTE fillStyle) const;
    // Runs draw() with the pen and brush selected (and the fill raster operation for transparent
    // fills), then restores and deletes them. A transparent fill is drawn in two passes: the area
    // combined with what lies beneath, then the outline.
    void WithObjects(COLORREF crLine, LONG width, DWORD style, COLORREF crFill, BYTE fillStyle,
                     const std::function<void()>& draw);

    HDC m_hdc;
    bool m_xor;
    int m_saved;
};

// Hands primitives to an outputer through the library's On Output... operations.
class OutputSink : public Sink {
public:
    OutputSink(CSymbolLibIO* io, CSymbolOutputer* out, const RECT* clip, void* context)
        : m_io(io), m_out(out), m_clip(clip), m_context(context) {}
    void Lines(const Ring& pts, COLORREF cr, LONG width, DWORD style) override;
    void Area(const std::vector<Ring>& rings, COLORREF crLine, LONG width, DWORD style, COLORREF crFill,
              BYTE fillStyle) override;
    void Text(const POINT& topLeft, COLORREF cr, LONG height, const CString& face, const CString& text,
              double angleDegrees) override;
    void Ellipse(const RECT& box, COLORREF crLine, LONG width, DWORD style, COLORREF crFill, BYTE fillStyle) override;
    void Arc(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
             COLORREF crFill, BYTE fillStyle, BYTE pie) override;
    void Chord(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
               COLORREF crFill, BYTE fillStyle) override;

private:
    CSymbolLibIO* m_io;
    CSymbolOutputer* m_out;
    const RECT* m_clip;
    void* m_context;
};

// Places the library points and lengths of one symbol in the system.
class Frame {
public:
    virtual ~Frame() = default;
    virtual POINT Point(const POINT& lib) const = 0;
    virtual LONG Length(LONG lib) const = 0;
    // True when the library axes are turned against the system's (ellipses cannot stay ellipses).
    virtual bool Rotated() const = 0;
    // The text direction, degrees counter-clockwise.
    virtual double TextAngle() const = 0;
};

// Through the library's conversion operations: a library point p relative to origin becomes
// anchor + OnRotatePoint (OnLibToSystomPoint (p - origin)), turned by the viewer's angle in degrees.
class HookFrame : public Frame {
public:
    HookFrame(CSymbolLibIO* io, void* context, const POINT& anchor, const POINT& origin, double angleDegrees);
    POINT Point(const POINT& lib) const override;
    LONG Length(LONG lib) const override;
    bool Rotated() const override { return m_rotated; }
    double TextAngle() const override { return m_angle; }

private:
    CSymbolLibIO* m_io;
    void* m_context;
    POINT m_anchor;
    POINT m_origin;
    double m_angle;
    bool m_rotated;
    double m_sin = 0.0;
    double m_cos = 1.0;
};

// Maps a library rectangle onto a system rectangle whose (left, top) is the viewer's top-left corner,
// stretched or, with keepAspect, scaled evenly and centred. Lengths go through the given function.
class FitFrame : public Frame {
public:
    FitFrame(const RECT& lib, const RECT& system, bool keepAspect, std::function<LONG(LONG)> length);
    POINT Point(const POINT& lib) const override;
    LONG Length(LONG lib) const override { return m_length(lib); }
    bool Rotated() const override { return false; }
    double TextAngle() const override { return 0.0; }

private:
    double m_libLeft, m_libTop, m_sx, m_sy, m_x0, m_y0;
    std::function<LONG(LONG)> m_length;
};

// How strokes are laid along system lines: lengths, and whether the system's y axis points down as the
// viewer sees it (which side is left).
struct StrokeSpace {
    std::function<LONG(LONG)> length;
    bool flipped;
};

// Colour and width overrides of an attribute record, resolved for one symbol.
struct Overrides {
    bool color = false;
    COLORREF cr = 0;
    bool width = false;
    LONG widthLib = 0;  // library units
};
Overrides ResolveOverrides(const CSymbolAttrib* attrib, const CQuenby& symbol, DWORD unitsPerMM);

void RenderPrimitives(const std::vector<QuenbyPrimitive>& prims, const Frame& frame, const Overrides& ov, Sink& sink);
// Every stroke along the line (a closed line when its last point equals its first).
void RenderStrokes(const std::vector<QuenbyStroke>& strokes, const Ring& line, const StrokeSpace& space,
                   const Overrides& ov, Sink& sink);
// The fill over the rings, then the border strokes along every ring.
void RenderFill(const CGeoFillSymbol& fill, const std::vector<Ring>& rings, const StrokeSpace& space,
                const Overrides& ov, Sink& sink);

// Library bounds of primitives (text counted as a box of half the height per byte); false when empty.
bool PrimitiveBounds(const std::vector<QuenbyPrimitive>& prims, RECT& rc);

// The ellipse inscribed in box as a closed ring (first point repeated), counter-clockwise as the viewer
// sees it in a system whose y axis points down when flipped.
Ring EllipseRing(const RECT& box, bool flipped);
// The rounded rectangle's closed ring, oriented like EllipseRing.
Ring RoundRectRing(const RECT& box, const POINT& corner, bool flipped);
// The arc from p1 through p2 to p3 as points (the three points when they are collinear).
Ring ThreePointArc(const POINT& p1, const POINT& p2, const POINT& p3);

// Rounds half away from zero and clamps to the LONG range; NaN gives 0.
LONG RoundToLong(double v);

}  // namespace quenby
