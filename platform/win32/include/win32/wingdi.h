// GDI: device contexts, pens, brushes, fonts, bitmaps, regions, paths and text.
//
// Drawing happens in software on 32-bit (or DIB-section) bitmaps: Cairo rasterises each primitive,
// without antialiasing, into a coverage mask over the primitive's bounding box, and the stand-in then
// combines the pen or brush colour with every covered destination pixel by the DC's binary raster
// operation, bit by bit, inside the clip region. Drawing with R2_XORPEN or R2_NOTXORPEN twice therefore
// restores the image exactly. Text is rendered from FreeType outlines (antialiased unless the font asks
// for NONANTIALIASED_QUALITY) and ignores the raster operation, as GDI's does.
//
// Coordinates
//   Logical coordinates are mapped to device pixels by the mapping mode, window and viewport origins and
//   extents (GM_COMPATIBLE only; there are no world transforms). Device points are rounded to integers
//   (half away from zero) before drawing. Device pixel (x, y) covers the unit square whose top-left corner
//   is (x, y). The rules GDI callers rely on hold:
//   - Rectangle, Ellipse, RoundRect, Chord and Pie draw inside [left, right-1] x [top, bottom-1]
//     (right and bottom excluded); with a NULL pen the filled figure is one pixel smaller still,
//     FillRect covers [left, right) x [top, bottom);
//   - lines (LineTo, Polyline) leave out their last pixel; a pen of width 0 or 1 draws one pixel wide;
//   - polygon fills cover the pixels whose centres lie inside the outline (ALTERNATE or WINDING),
//     and where pen and brush would touch the same pixel the pen wins, so every pixel is combined once;
//   - arcs run counter-clockwise as seen on the (y-down) device by default (SetArcDirection);
//   - clip regions are in device coordinates; IntersectClipRect and ExcludeClipRect take logical ones.
//
// Handles
//   Every object handle is owned by whoever created it and is freed with DeleteObject (DCs with DeleteDC,
//   or ReleaseDC for GetDC/BeginPaint). Stock objects are never freed. A pen, brush or font that is
//   deleted while still selected into a DC stays alive until no DC selects it any more; a bitmap selected
//   into a DC cannot be deleted (DeleteObject returns FALSE). Functions given a handle that is not a live
//   object of the expected kind fail with their documented error value; they never crash.
//
// Strings are code page 936 (GBK) bytes, as everywhere in the system; they are converted to Unicode only
// to look glyphs up in the font.
#pragma once

#include "win32/wintypes.h"

// ---------------------------------------------------------------------------------------------------------
// Constants

// Binary raster operations (SetROP2): the result as a function of pen P and destination D, bit by bit.
#define R2_BLACK 1         // 0
#define R2_NOTMERGEPEN 2   // ~(D | P)
#define R2_MASKNOTPEN 3    // D & ~P
#define R2_NOTCOPYPEN 4    // ~P
#define R2_MASKPENNOT 5    // P & ~D
#define R2_NOT 6           // ~D
#define R2_XORPEN 7        // D ^ P
#define R2_NOTMASKPEN 8    // ~(D & P)
#define R2_MASKPEN 9       // D & P
#define R2_NOTXORPEN 10    // ~(D ^ P)
#define R2_NOP 11          // D
#define R2_MERGENOTPEN 12  // D | ~P
#define R2_COPYPEN 13      // P
#define R2_MERGEPENNOT 14  // P | ~D
#define R2_MERGEPEN 15     // D | P
#define R2_WHITE 16        // 1
#define R2_LAST 16

// Ternary raster operations (BitBlt, StretchBlt, PatBlt, StretchDIBits): bits 16..23 are the truth table
// of pattern P, source S and destination D; result bit = table bit number (P << 2 | S << 1 | D).
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Polygon fill modes.
#define ALTERNATE 1
#define WINDING 2

// Stretch modes. COLORONCOLOR (and every other mode here) samples the nearest source pixel, no smoothing.
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

// Mapping modes. The metric and English modes use the device's LOGPIXELS (96 unless the DC says
// otherwise) and have y pointing up.
#define MM_TEXT 1
#define MM_LOMETRIC 2   // 0.1 mm
#define MM_HIMETRIC 3   // 0.01 mm
#define MM_LOENGLISH 4  // 0.01 inch
#define MM_HIENGLISH 5  // 0.001 inch
#define MM_TWIPS 6      // 1/1440 inch
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

#define GM_COMPATIBLE 1
#define GM_ADVANCED 2

#define AD_COUNTERCLOCKWISE 1
#define AD_CLOCKWISE 2

// Pen styles: style | end cap | join | type.
#define PS_SOLID 0
#define PS_DASH 1        // cosmetic: 18 on, 6 off; geometric: 3 on, 1 off (times the width)
#define PS_DOT 2         // cosmetic: 3 on, 3 off;  geometric: 1, 1
#define PS_DASHDOT 3     // cosmetic: 9, 6, 3, 6;   geometric: 3, 1, 1, 1
#define PS_DASHDOTDOT 4  // cosmetic: 9, 3, 3, 3, 3, 3; geometric: 3, 1, 1, 1, 1, 1
#define PS_NULL 5
#define PS_INSIDEFRAME 6  // closed figures shrink so that a wide pen lies inside the box; solid otherwise
#define PS_USERSTYLE 7
#define PS_ALTERNATE 8  // cosmetic only: every other pixel
#define PS_STYLE_MASK 0x0000000F
#define PS_ENDCAP_ROUND 0x00000000
#define PS_ENDCAP_SQUARE 0x00000100
#define PS_ENDCAP_FLAT 0x00000200
#define PS_ENDCAP_MASK 0x00000F00
#define PS_JOIN_ROUND 0x00000000
#define PS_JOIN_BEVEL 0x00001000
#define PS_JOIN_MITER 0x00002000
#define PS_JOIN_MASK 0x0000F000
#define PS_COSMETIC 0x00000000
#define PS_GEOMETRIC 0x00010000
#define PS_TYPE_MASK 0x000F0000

// Brush styles and hatches. Hatches are 8 x 8 device pixels aligned to the brush origin (0, 0 unless
// SetBrushOrgEx moved it); the hatch lines take the brush colour and, in OPAQUE mode, the gaps the
// background colour.
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define BS_INDEXED 4
#define BS_DIBPATTERN 5
#define BS_DIBPATTERNPT 6
#define BS_PATTERN8X8 7
#define BS_DIBPATTERN8X8 8

#define HS_HORIZONTAL 0  // -----
#define HS_VERTICAL 1    // |||||
#define HS_FDIAGONAL 2   // \\\\\ (downward, left to right)
#define HS_BDIAGONAL 3   // ///// (upward, left to right)
#define HS_CROSS 4       // +++++
#define HS_DIAGCROSS 5   // xxxxx

// Stock objects (GetStockObject).
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

// Object types (GetObjectType).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_METADC 4
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_METAFILE 9
#define OBJ_MEMDC 10
#define OBJ_EXTPEN 11

// Text alignment (SetTextAlign). The reference point is the left, right or centre of the text's advance
// and its top (tmAscent above the baseline), bottom (tmDescent below it) or baseline.
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define TA_RTLREADING 256
#define TA_MASK (TA_BASELINE + TA_CENTER + TA_UPDATECP + TA_RTLREADING)
#define GDI_TA_ERROR 0xFFFFFFFFu

// ExtTextOut options.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004
#define ETO_GLYPH_INDEX 0x0010
#define ETO_RTLREADING 0x0080
#define ETO_IGNORELANGUAGE 0x1000
#define ETO_PDY 0x2000

// Font description values.
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define SHIFTJIS_CHARSET 128
#define HANGUL_CHARSET 129
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define OEM_CHARSET 255
#define OUT_DEFAULT_PRECIS 0
#define OUT_STRING_PRECIS 1
#define OUT_CHARACTER_PRECIS 2
#define OUT_STROKE_PRECIS 3
#define OUT_TT_PRECIS 4
#define OUT_DEVICE_PRECIS 5
#define OUT_RASTER_PRECIS 6
#define OUT_TT_ONLY_PRECIS 7
#define OUT_OUTLINE_PRECIS 8
#define CLIP_DEFAULT_PRECIS 0
#define CLIP_CHARACTER_PRECIS 1
#define CLIP_STROKE_PRECIS 2
#define CLIP_LH_ANGLES 16
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3  // glyphs drawn without antialiasing
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50
#define TMPF_FIXED_PITCH 0x01  // set for variable-pitch fonts, as in GDI
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04
#define TMPF_DEVICE 0x08

// Regions. ERROR is also the error value of the functions returning a region complexity.
#ifndef ERROR
#define ERROR 0
#endif
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

#define GDI_ERROR 0xFFFFFFFFu
#define HGDI_ERROR ((HGDIOBJ)(intptr_t)-1)
#define CLR_INVALID 0xFFFFFFFFu

// Path point types (GetPath, PolyDraw).
#define PT_CLOSEFIGURE 0x01
#define PT_LINETO 0x02
#define PT_BEZIERTO 0x04
#define PT_MOVETO 0x06

// Bitmaps.
#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define CBM_INIT 0x04

// GetDeviceCaps indexes and values.
#define DRIVERVERSION 0
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMMARKERS 20
#define NUMFONTS 22
#define NUMCOLORS 24
#define PDEVICESIZE 26
#define CURVECAPS 28
#define LINECAPS 30
#define POLYGONALCAPS 32
#define TEXTCAPS 34
#define CLIPCAPS 36
#define RASTERCAPS 38
#define ASPECTX 40
#define ASPECTY 42
#define ASPECTXY 44
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define COLORRES 108
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define SCALINGFACTORX 114
#define SCALINGFACTORY 115
#define DT_PLOTTER 0
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define DT_RASCAMERA 3
#define DT_CHARSTREAM 4
#define DT_METAFILE 5
#define DT_DISPFILE 6
#define RC_BITBLT 0x0001
#define RC_BANDING 0x0002
#define RC_SCALING 0x0004
#define RC_BITMAP64 0x0008
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800
#define RC_FLOODFILL 0x1000
#define RC_STRETCHDIB 0x2000

// ---------------------------------------------------------------------------------------------------------
// Records

struct tagLOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;  // x = width in logical units; y unused
    COLORREF lopnColor;
};
typedef tagLOGPEN LOGPEN;
typedef LOGPEN* LPLOGPEN;

struct tagLOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;  // HS_* for BS_HATCHED, an HBITMAP for BS_PATTERN, a packed DIB for BS_DIBPATTERNPT
};
typedef tagLOGBRUSH LOGBRUSH;
typedef LOGBRUSH* LPLOGBRUSH;

struct tagEXTLOGPEN {
    DWORD elpPenStyle;
    DWORD elpWidth;
    UINT elpBrushStyle;
    COLORREF elpColor;
    ULONG_PTR elpHatch;
    DWORD elpNumEntries;
    DWORD elpStyleEntry[1];  // elpNumEntries entries follow in the caller's buffer
};
typedef tagEXTLOGPEN EXTLOGPEN;

struct tagLOGFONTA {
    LONG lfHeight;  // < 0: character (em) height; > 0: cell height; 0: the default (12 device pixels)
    LONG lfWidth;   // average character width (half the em width of a CJK face); 0: proportional to height
    LONG lfEscapement;   // tenths of a degree, counter-clockwise as seen on the device
    LONG lfOrientation;  // ignored (GM_COMPATIBLE)
    LONG lfWeight;       // >= FW_SEMIBOLD draws bold (the face's bold style or synthesised)
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];  // GBK, zero-terminated
};
typedef tagLOGFONTA LOGFONTA;
typedef LOGFONTA* LPLOGFONTA;
typedef LOGFONTA LOGFONT;
typedef LOGFONTA* LPLOGFONT;

struct tagTEXTMETRICA {
    LONG tmHeight;  // = em height in logical units (no internal leading)
    LONG tmAscent;  // em height x the face's ascender / (ascender - descender), rounded
    LONG tmDescent;  // tmHeight - tmAscent
    LONG tmInternalLeading;  // 0
    LONG tmExternalLeading;  // 0
    LONG tmAveCharWidth;  // half the em width
    LONG tmMaxCharWidth;  // the em width
    LONG tmWeight;
    LONG tmOverhang;  // 0 (outline fonts)
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef tagTEXTMETRICA TEXTMETRICA;
typedef TEXTMETRICA* LPTEXTMETRICA;
typedef TEXTMETRICA TEXTMETRIC;
typedef TEXTMETRICA* LPTEXTMETRIC;

struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;  // the pixels of a DIB section, NULL for other bitmaps
};
typedef tagBITMAP BITMAP;
typedef BITMAP* LPBITMAP;

struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
typedef tagRGBQUAD RGBQUAD;

struct tagBITMAPINFOHEADER {
    DWORD biSize;  // 40
    LONG biWidth;
    LONG biHeight;  // > 0: rows stored bottom-up; < 0: top-down
    WORD biPlanes;  // 1
    WORD biBitCount;  // 1, 4, 8, 16, 24 or 32
    DWORD biCompression;  // BI_RGB (BI_BITFIELDS accepted for 16 and 32 bits with the standard masks)
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;  // palette entries; 0 = 2^biBitCount for 1, 4 and 8 bits
    DWORD biClrImportant;
};
typedef tagBITMAPINFOHEADER BITMAPINFOHEADER;
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;

struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];  // the palette follows the header
};
typedef tagBITMAPINFO BITMAPINFO;
typedef BITMAPINFO* LPBITMAPINFO;

#pragma pack(push, 2)
struct tagBITMAPFILEHEADER {
    WORD bfType;  // 'BM'
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)
typedef tagBITMAPFILEHEADER BITMAPFILEHEADER;

struct tagDIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
};
typedef tagDIBSECTION DIBSECTION;

static_assert(sizeof(BITMAPINFOHEADER) == 40 && sizeof(RGBQUAD) == 4 && sizeof(BITMAPFILEHEADER) == 14,
              "bitmap records have their file layout");
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA has its Windows layout");

// Bytes per row of a DIB: rows are padded to a multiple of 4 bytes.
inline LONG DibRowBytes(LONG width, WORD bitCount) {
    return ((width * (LONG)bitCount + 31) / 32) * 4;
}

// ---------------------------------------------------------------------------------------------------------
// Objects

HGDIOBJ GetStockObject(int index);  // NULL for an unknown index
BOOL DeleteObject(HGDIOBJ h);       // FALSE for a bad handle or a bitmap selected into a DC
DWORD GetObjectType(HGDIOBJ h);     // OBJ_*, 0 for a bad handle
// Copies the object's description (LOGPEN or EXTLOGPEN, LOGBRUSH, LOGFONTA, BITMAP or DIBSECTION) into
// buf, at most cb bytes; returns the bytes written, or the size needed when buf is NULL; 0 on failure.
int GetObjectA(HGDIOBJ h, int cb, LPVOID buf);
#define GetObject GetObjectA

HPEN CreatePen(int style, int width, COLORREF color);  // width in logical units; 0 = one pixel
HPEN CreatePenIndirect(const LOGPEN* lp);
// style = PS_COSMETIC (width must be 1) or PS_GEOMETRIC | style | end cap | join; brush must be BS_SOLID
// (a hatched geometric brush is drawn solid). PS_USERSTYLE takes styleCount on/off lengths (logical
// units for geometric pens, pixels for cosmetic ones). NULL on invalid arguments.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);

HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);  // NULL when hatch is not HS_*
HBRUSH CreatePatternBrush(HBITMAP bitmap);  // copies the bitmap; a monochrome one takes text/bk colours
HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage);  // copies the packed DIB
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);

HFONT CreateFontIndirectA(const LOGFONTA* lf);  // NULL when lf is NULL
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face);
#define CreateFontIndirect CreateFontIndirectA
#define CreateFont CreateFontA

// ---------------------------------------------------------------------------------------------------------
// Device contexts

// A memory DC; its bitmap is a 1 x 1 monochrome bitmap until one is selected. hdc may be NULL (the
// screen) or any DC; a printer DC gives a printer-compatible memory DC.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
int GetDeviceCaps(HDC hdc, int index);  // LOGPIXELSX/Y 96 unless the DC was made otherwise
// Selects a pen, brush, font or bitmap (memory DCs only) and returns the previous object of that kind,
// NULL on failure. For a region it selects a copy as the clip region and returns its complexity.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);  // OBJ_PEN, OBJ_BRUSH, OBJ_FONT or OBJ_BITMAP
int SaveDC(HDC hdc);                 // the new save level (1, 2, ...), 0 on failure
BOOL RestoreDC(HDC hdc, int saved);  // a level from SaveDC, or -1 for the last one

COLORREF SetTextColor(HDC hdc, COLORREF c);  // returns the previous value, CLR_INVALID on failure
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF c);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);  // returns the previous mode, 0 on failure
int GetBkMode(HDC hdc);
int SetROP2(HDC hdc, int rop2);  // returns the previous mode, 0 on failure (also for a mode outside 1..16)
int GetROP2(HDC hdc);
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT align);  // returns the previous flags, GDI_ERROR on failure
UINT GetTextAlign(HDC hdc);
int SetArcDirection(HDC hdc, int dir);
int GetArcDirection(HDC hdc);
int SetGraphicsMode(HDC hdc, int mode);  // only GM_COMPATIBLE is honoured
int GetGraphicsMode(HDC hdc);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old);  // device pixels
BOOL GetBrushOrgEx(HDC hdc, LPPOINT pt);
BOOL SetMiterLimit(HDC hdc, FLOAT limit, FLOAT* old);
BOOL GetMiterLimit(HDC hdc, FLOAT* limit);
int SetTextCharacterExtra(HDC hdc, int extra);
int GetTextCharacterExtra(HDC hdc);
COLORREF SetDCBrushColor(HDC hdc, COLORREF c);
COLORREF GetDCBrushColor(HDC hdc);
COLORREF SetDCPenColor(HDC hdc, COLORREF c);
COLORREF GetDCPenColor(HDC hdc);

// ---------------------------------------------------------------------------------------------------------
// Coordinates

int SetMapMode(HDC hdc, int mode);  // returns the previous mode, 0 on failure
int GetMapMode(HDC hdc);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old);
BOOL GetWindowOrgEx(HDC hdc, LPPOINT pt);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT pt);
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
// Extents are honoured only in MM_ISOTROPIC and MM_ANISOTROPIC (ignored, returning TRUE, otherwise);
// a zero extent fails. In MM_ISOTROPIC the viewport extent is shrunk so that both axes get one scale.
BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE old);
BOOL GetWindowExtEx(HDC hdc, LPSIZE sz);
BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE old);
BOOL GetViewportExtEx(HDC hdc, LPSIZE sz);
BOOL ScaleWindowExtEx(HDC hdc, int xn, int xd, int yn, int yd, LPSIZE old);
BOOL ScaleViewportExtEx(HDC hdc, int xn, int xd, int yn, int yd, LPSIZE old);
// device = (logical - window origin) x viewport extent / window extent + viewport origin, rounded.
BOOL LPtoDP(HDC hdc, LPPOINT pts, int count);
BOOL DPtoLP(HDC hdc, LPPOINT pts, int count);

// ---------------------------------------------------------------------------------------------------------
// Drawing (all coordinates logical). BOOL results are FALSE only for a bad DC or bad arguments.

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old);
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* pts, int count);  // count >= 2
BOOL PolylineTo(HDC hdc, const POINT* pts, int count);
BOOL PolyPolyline(HDC hdc, const POINT* pts, const DWORD* counts, DWORD polylines);
BOOL Polygon(HDC hdc, const POINT* pts, int count);  // count >= 2; closed implicitly
BOOL PolyPolygon(HDC hdc, const POINT* pts, const INT* counts, int polygons);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
// Arc, ArcTo, Chord and Pie: the ellipse inscribed in the box, from where the radial through
// (xStart, yStart) meets it to where the radial through (xEnd, yEnd) does, in the arc direction.
// Equal radials give the whole ellipse. ArcTo draws a line from the current position to the arc's start
// first and leaves the current position at its end.
BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL ArcTo(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Chord(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL AngleArc(HDC hdc, int x, int y, DWORD radius, FLOAT startDegrees, FLOAT sweepDegrees);
BOOL PolyBezier(HDC hdc, const POINT* pts, DWORD count);    // count = 1 + 3n
BOOL PolyBezierTo(HDC hdc, const POINT* pts, DWORD count);  // count = 3n
BOOL PolyDraw(HDC hdc, const POINT* pts, const BYTE* types, int count);  // PT_* types
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c);  // the colour set, CLR_INVALID when outside/clipped
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF c);
COLORREF GetPixel(HDC hdc, int x, int y);  // CLR_INVALID outside the bitmap or the clip region

// ---------------------------------------------------------------------------------------------------------
// Regions (device coordinates)

HRGN CreateRectRgn(int left, int top, int right, int bottom);  // [left, right) x [top, bottom)
HRGN CreateRectRgnIndirect(const RECT* rc);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rc);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode);  // pixels whose centres are inside
HRGN CreatePolyPolygonRgn(const POINT* pts, const INT* counts, int polygons, int fillMode);
// dst = src1 op src2 (src2 ignored for RGN_COPY); dst may be either source. Returns the complexity of
// the result, ERROR on failure.
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
int OffsetRgn(HRGN rgn, int dx, int dy);
int GetRgnBox(HRGN rgn, LPRECT rc);
BOOL EqualRgn(HRGN a, HRGN b);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rc);  // TRUE when any pixel of the rectangle is in the region
// Region painting takes the region in logical coordinates: FillRgn and PaintRgn combine the brush with
// the pixels by the DC's ROP2, InvertRgn inverts every bit, FrameRgn draws a border width (horizontally)
// and height (vertically) logical units wide inside the region.
BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
BOOL PaintRgn(HDC hdc, HRGN rgn);
BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height);
BOOL InvertRgn(HDC hdc, HRGN rgn);

// Clipping. The clip region is in device coordinates; no clip region means the whole surface.
int SelectClipRgn(HDC hdc, HRGN rgn);  // a copy; NULL removes clipping. Returns the complexity
int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode);  // combines with the current clip (RGN_*)
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);  // logical
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);    // logical
int OffsetClipRgn(HDC hdc, int dx, int dy);                                // logical
int GetClipBox(HDC hdc, LPRECT rc);  // logical bounds of the visible area; returns the complexity
int GetClipRgn(HDC hdc, HRGN rgn);   // 1 copied, 0 no clip region, -1 error
BOOL PtVisible(HDC hdc, int x, int y);
BOOL RectVisible(HDC hdc, const RECT* rc);

// ---------------------------------------------------------------------------------------------------------
// Paths. Between BeginPath and EndPath the drawing functions (lines, curves, closed figures and text)
// add figures to the path instead of drawing. Points are kept in device coordinates; text adds its glyph
// outlines (Béziers). Paths are not clipped while they are built.

BOOL BeginPath(HDC hdc);  // discards any previous path
BOOL EndPath(HDC hdc);
BOOL AbortPath(HDC hdc);
BOOL CloseFigure(HDC hdc);  // FALSE outside an open path; nothing happens on an empty figure
BOOL FillPath(HDC hdc);     // with the brush, fill mode and ROP2; closes open figures; discards the path
BOOL StrokePath(HDC hdc);   // with the pen and ROP2; discards the path
BOOL StrokeAndFillPath(HDC hdc);
BOOL FlattenPath(HDC hdc);  // replaces Béziers by lines (within half a pixel)
BOOL WidenPath(HDC hdc);    // the outline of the path stroked with the current pen
// Copies the closed path's points (logical, rounded) and PT_* types. count 0 returns the number of points;
// -1 when there is no closed path or count is too small.
int GetPath(HDC hdc, LPPOINT pts, LPBYTE types, int count);
HRGN PathToRegion(HDC hdc);  // the filled path (fill mode) as a new region; discards the path
BOOL SelectClipPath(HDC hdc, int mode);

// ---------------------------------------------------------------------------------------------------------
// Text (GBK bytes). Sizes are logical units.

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR s, int n);
// options ETO_OPAQUE (fill rc with the background colour) and ETO_CLIPPED (clip to rc); dx: advance per
// byte in logical units (a double-byte character advances by the sum of its two entries), or NULL.
BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR s, UINT n, const INT* dx);
BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR s, int n, LPSIZE sz);
BOOL GetTextExtentPointA(HDC hdc, LPCSTR s, int n, LPSIZE sz);
// Advances of the characters first..last; a value above 0xFF is a double-byte character (lead << 8 | trail).
BOOL GetCharWidthA(HDC hdc, UINT first, UINT last, INT* widths);
BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths);
BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA tm);
int GetTextFaceA(HDC hdc, int count, LPSTR face);  // the selected font's face name (GBK)
#define TextOut TextOutA
#define ExtTextOut ExtTextOutA
#define GetTextExtentPoint32 GetTextExtentPoint32A
#define GetTextExtentPoint GetTextExtentPointA
#define GetCharWidth GetCharWidthA
#define GetCharWidth32 GetCharWidth32A
#define GetTextMetrics GetTextMetricsA
#define GetTextFace GetTextFaceA

// ---------------------------------------------------------------------------------------------------------
// Bitmaps and block transfers

// A device-dependent bitmap: rows top-down, padded to 2 bytes; bits (may be NULL) in that layout.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bm);
// A bitmap with the colour depth of the DC's bitmap (32 bits for the screen and window DCs; the
// 1 x 1 monochrome bitmap of a fresh memory DC gives a monochrome bitmap, as in GDI). Zero-filled.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// A DIB section: *bits receives the pixels (zero-filled, rows padded to 4 bytes, bottom-up when
// biHeight > 0), owned by the bitmap and valid until DeleteObject. Drawing into a DC that selects it
// writes those bytes directly. section and offset must be NULL and 0.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* bmih, DWORD init, const void* bits,
                       const BITMAPINFO* bmi, UINT usage);
LONG GetBitmapBits(HBITMAP bmp, LONG cb, LPVOID bits);
LONG SetBitmapBits(HBITMAP bmp, DWORD cb, const void* bits);
// Copies lines start..start+lines-1 (counted from the bottom) of the bitmap into bits in the format bmi
// describes; bits NULL fills in bmi's header (size, and palette for <= 8 bits). Returns the lines copied.
int GetDIBits(HDC hdc, HBITMAP bmp, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO bmi, UINT usage);
int SetDIBits(HDC hdc, HBITMAP bmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi,
              UINT usage);

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                DWORD rop);
BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
// Paints the source rectangle of a packed DIB (xSrc, ySrc counted from the DIB's bottom-left for bottom-up
// DIBs, from its top-left for top-down ones) onto the destination rectangle, nearest sampling; negative
// widths or heights mirror. Returns the number of scan lines drawn, GDI_ERROR (as int: -1) on failure.
int StretchDIBits(HDC hdc, int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop);
// Copies w x h pixels 1:1 (lines startScan..startScan+scanLines-1 of the DIB are in bits).
int SetDIBitsToDevice(HDC hdc, int xDst, int yDst, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                      UINT scanLines, const void* bits, const BITMAPINFO* bmi, UINT usage);
BOOL GdiFlush();  // nothing is batched; always TRUE
