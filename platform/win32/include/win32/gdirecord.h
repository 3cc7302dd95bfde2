// This project's additions to GDI for a headless system: recording what a DC draws, writing pixels to
// PNG, DCs without pixels, printer DCs, window canvases and the font table.
#pragma once

#include <string>
#include <vector>

#include "win32/wingdi.h"

namespace win32 {

// One drawing call as a DC saw it. Points are device coordinates, as the call's logical points were
// converted (not normalised, not clipped), in the order the call takes them:
//   MoveTo/LineTo: from, to.   Polyline, PolylineTo, Polygon, PolyBezier(To), PolyDraw: the points
//   (PolylineTo and PolyBezierTo begin with the current position).   PolyPolyline, PolyPolygon: all points,
//   with `counts`.   Rectangle, Ellipse, FillRect, FrameRect, InvertRect, DrawFocusRect, PatBlt,
//   DrawText, DrawEdge: (left, top), (right, bottom).   BitBlt, StretchBlt: the destination's corners,
//   then the source's (device pixels of the source DC).   StretchDIBits: the destination's corners, then
//   the source rectangle's in DIB pixels as passed.   SetDIBitsToDevice: the destination's corners, then
//   the source point.   RoundRect: corners, then (ellipse width, height) in device units.
//   Arc, ArcTo, Chord, Pie: corners, start radial point, end radial point.   SetPixel: the pixel.
//   TextOut, ExtTextOut: the reference point (ExtTextOut adds its rectangle's corners when it has one).
//   FillRgn, PaintRgn, FrameRgn, InvertRgn: the region's bounding box corners.
//   StrokePath, FillPath, StrokeAndFillPath: the path's points rounded to device pixels, with `types`.
// Calls made between BeginPath and EndPath are recorded too, with inPath set: they drew nothing.
struct GdiRecord {
    std::string call;           // the function's name without its A suffix: "Rectangle", "TextOut"
    std::vector<POINT> points;  // device coordinates
    std::vector<int> counts;    // polygon or polyline sizes (PolyPolygon, PolyPolyline)
    std::vector<BYTE> types;    // PT_* (paths, PolyDraw)
    std::string text;           // GBK text of TextOut, ExtTextOut and DrawText
    UINT flags = 0;             // ExtTextOut options, DrawText format, DrawEdge edge<<16|flags, blt rop
    bool inPath = false;
    // The state the call drew with.
    int rop2 = R2_COPYPEN;
    LOGPEN pen{};          // style (ExtCreatePen's full style word), width in device pixels, colour
    LOGBRUSH brush{};      // style, colour, hatch (0 for patterns)
    LOGFONTA font{};       // as created (logical units)
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    int bkMode = OPAQUE;
    UINT textAlign = 0;
    int polyFillMode = ALTERNATE;

    // One line, for tests and logs, naming only the state the call uses, e.g.
    //   "Rectangle (0,0) (4,4) pen=solid/1/000000 brush=solid/ffffff rop2=13"
    //   "TextOut (10,20) \"ab\" font=宋体/-12/0/0/400 align=0 text=000000 bk=1/ffffff"
    // pen = style/device width/colour, brush = solid/colour, hatchN/colour, null or pattern, font =
    // face/height/width/escapement/weight as created, bk = background mode/colour (for text, styled pens
    // and hatches). Colours are COLORREF values in hex (0x00BBGGRR); text and face names are GBK bytes.
    std::string ToString() const;
};

// Starts (or restarts, clearing the list) recording every drawing call made on hdc. FALSE for a bad DC.
BOOL StartRecording(HDC hdc);
BOOL StopRecording(HDC hdc);  // keeps the list
std::vector<GdiRecord> GetRecording(HDC hdc);  // a copy; empty for a bad DC
void ClearRecording(HDC hdc);
// A DC without pixels that records from the start: a 32-bit device of width x height pixels whose
// drawing calls only record (and build paths); text is measured with the real fonts. Free with DeleteDC.
HDC CreateRecordingDC(int width, int height);

// A printer DC: a 32-bit, white page of width x height pixels at dpi dots per inch that says
// TECHNOLOGY = DT_RASPRINTER. Free with DeleteDC. NULL for a non-positive size or an absurd one.
HDC CreatePrinterDC(int width, int height, int dpi);
// A memory DC with a new, white, width x height 32-bit bitmap selected, which DeleteDC frees with it.
HDC CreateImageDC(int width, int height);
// A DC that draws without recording or pixels (measuring only); DeleteDC frees it.
HDC CreateInfoDC(int width, int height);

// Writes the pixels of the DC's bitmap (or canvas) as an RGB PNG. path is GBK ('\\' or '/').
// FALSE for a DC without pixels or when the file cannot be written.
BOOL WriteDCToPNG(HDC hdc, const char* path);
BOOL WriteBitmapToPNG(HBITMAP bmp, const char* path);

// Window canvases: the bitmap a window's DC draws on. Attaching again resizes (contents kept where they
// overlap, the rest white). The canvas belongs to the registry; GetWindowCanvas lends it (NULL if none).
void AttachWindowCanvas(HWND hwnd, int width, int height);
void DetachWindowCanvas(HWND hwnd);
HBITMAP GetWindowCanvas(HWND hwnd);
// A window of the window manager (winuser.h) paints between BeginPaint and EndPaint on its canvas, made
// or resized to its client size; every call is recorded, and the last paint's calls are kept here.
std::vector<GdiRecord> GetPaintRecording(HWND hwnd);

// The faces a font list should offer, GBK: the Chinese names of the face table first ("宋体", "黑体",
// "楷体_GB2312", "仿宋", "隶书", ...), then the families fontconfig knows, each once, sorted.
std::vector<std::string> GetInstalledFaceNames();
// The font file the face name (GBK) resolves to for its first glyph look-up, for diagnostics and tests;
// empty when no font can be found.
std::string ResolveFaceFile(const char* faceName);

// Paths at sub-pixel precision, for geometry that is reshaped between reading a path and filling it
// (sheared lettering): GetPath and PolyDraw round every point to whole logical units, which breaks
// strokes thinner than a pixel. Coordinates are logical, as doubles, x then y for each point.
// GetPathPrecise: as GetPath (the path must be closed by EndPath; count 0 asks for the number of
// points), -1 on a bad handle, no closed path or a short buffer.
int GetPathPrecise(HDC hdc, double* xy, BYTE* types, int count);
// PolyDrawPrecise: as PolyDraw, except that the first point must be a PT_MOVETO (FALSE otherwise, and
// for a bad handle or unknown types); recorded as "PolyDraw" with the points rounded.
BOOL PolyDrawPrecise(HDC hdc, const double* xy, const BYTE* types, int count);
// FillPathSmooth: as FillPath with a WINDING fill, but antialiased, in color, like the glyphs TextOut
// draws; the pen and the raster operation are not used. Recorded as "FillPath".
BOOL FillPathSmooth(HDC hdc, COLORREF color);

}  // namespace win32
