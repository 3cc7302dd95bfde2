// Process-wide settings: editing radii and colours, default drawing colours and sizes, dangle and
// false-node marks, elevation display values and the elevation colour chart, contour feature-class
// codes, the five mark styles, the default symbol library with its map scale, the way label points are
// shown, point-compression and smoothing parameters, and a few switches.
//
// Every value is a module global with its default in place as soon as the library is loaded; getters
// read it and setters store it, with the few guards stated below. Nothing is read at load: the host calls
// the Load functions when it starts and the Save functions when it wants the values kept. They go
// through the current application's profile (AfxGetApp()->GetProfileString / WriteProfileString), in
// section "Settings", and the compression and smoothing pairs in "Compress Settings", whose setters write
// at once and whose getters read the profile on every call. Without an application object the profile
// counts as empty and nothing is written.
//
// Profile entries (numbers formatted and parsed in the "C" locale; a parse stores the leading fields that
// parse, in order, and leaves the rest as they were; an absent or empty entry changes nothing):
//   "BaseVariable"  29 values of the first group below, "%d:...:%d:%.3f:%d:%d" (the 27th, the clear-dangle
//                   distance, with three decimals; read with "%f"); read straight into the variables,
//                   so the setters' guards do not apply.
//   "BaseVariable2" the display translation of the planar-geometry library, "%d:%f:%d:%d:%d:%d" (on/off,
//                   rotation angle, base point x, y, transform cx, cy); applied only when all six fields
//                   parse, so a damaged entry changes nothing.
//   "ElevationChart" "%f:%f" and twenty "%d": interval, special elevation, ten colours, ten widths.
//   "ContourCode"   "%d:%d:%d:%d": index, median, su, zhu.
//   "OnlyContour", "ElevPoint"  "1" or "0"; loading sets the flag to 1 unless the entry is exactly "0".
//   "SymbolLib"     "%d:%s": map scale and library name (the name runs to the first white space; a name
//                   longer than 255 bytes is refused and the current name used).
//   "LabelType"     "%d".
//   "Compress Settings" / "Para", "Smooth Para"  "%f:%f".
// Nothing here is locked; everything runs on the host's user-interface thread.
#pragma once

#include <afx/afx.h>

#include "core/GeoView.h"

class CSymbolLibIO;
class CGeoVectorObject;

// ---------------------------------------------------------------------------------------------------
// The "BaseVariable" group, in the entry's field order. Radii are device pixels; colours are COLORREF
// (0x00BBGGRR).

int GetSelRectRadiusX();                       // 10: selection radius, x
int GetSelRectRadiusY();                       // 10: selection radius, y
void GetSelRectRadius(int& x, int& y);
void SetSelRectRadius(int x, int y);
int GetHandleRadius();                         // 7
void SetHandleRadius(int r);
int GetXBorder();                              // 5
int GetYBorder();                              // 5
void GetXYBorder(int& x, int& y);
void SetXYBorder(int x, int y);
int GetSplineIntpPts();                        // 7: interpolated points per spline segment
void SetSplineIntpPts(int n);                  // a value below 1 is ignored
COLORREF GetDefaultColor();                    // 0 (black): point, line and annotation colour of new styles
void SetDefaultColor(COLORREF cr);
COLORREF GetDefaultFillColor();                // 0xFF0000
void SetDefaultFillColor(COLORREF cr);
int GetDefaultPointSize();                     // 16
void SetDefaultPointSize(int n);
int GetCrossRadius();                          // 10
void SetCrossRadius(int r);
int GetDangleRadius();                         // 5
void SetDangleRadius(int r);                   // a value below 1 is ignored
COLORREF GetDangleColor();                     // 0xFF00
void SetDangleColor(COLORREF cr);
COLORREF GetShowElevationColor();              // 0xFF0000
void SetShowElevationColor(COLORREF cr);
int GetHoldBelt();                             // 0
void SetHoldBelt(int n);
int GetShowElevationPrecision();               // 1
void SetShowElevationPrecision(int n);
int GetShowElevationCharHeight();              // 50
void SetShowElevationCharHeight(int n);
int GetTicPrecision();                         // 2
// Stores -1 for a value below -1 or above Pellion's GetMaxTicPrecision (), else the value.
void SetTicPrecision(int n);
COLORREF GetTrackerFrameColor();               // 0xFF
void SetTrackerFrameColor(COLORREF cr);
COLORREF GetTrackerFillColor();                // 0xFF00
void SetTrackerFillColor(COLORREF cr);
int GetDefaultPolygonFillShape();              // 0
void SetDefaultPolygonFillShape(int n);
COLORREF GetDefaultPolygonFillColor();         // 0xFF0000
void SetDefaultPolygonFillColor(COLORREF cr);
int GetDefaultPolygonBorderLineShape();        // 3
void SetDefaultPolygonBorderLineShape(int n);
COLORREF GetDefaultPolygonBorderLineColor();   // 0xFF
void SetDefaultPolygonBorderColor(COLORREF cr);
int IsDefaultPolygonTransparent();             // 1
void SetDefaultPolygonTransparent(int on);
int GetFalseNodeRadius();                      // 7
void SetFalseNodeRadius(int r);
COLORREF GetFalseNodeColor();                  // 0xFF0000
void SetFalseNodeColor(COLORREF cr);
float GetClearDangleDist();                    // 5.0
void SetClearDangleDist(float d);
int GetDangleMode();                           // 1
void SetDangleMode(int n);
int GetClearFalseNodeCondition();              // 7
void SetClearFalseNodeCondition(int n);

// ---------------------------------------------------------------------------------------------------
// Values that are not persisted.

int GetNPolygonSides();                        // 3: sides of a new regular polygon
void SetNPolygonSides(int n);
CString GetOPTFileName();                      // "图廓点.opt"
void SetOPTFileName(CString name);
int GetIsLoadMATFile();                        // 0
void SetIsLoadMATFile(int on);
CString GetMATFilePathName();                  // ""
void SetMATFilePathName(CString path);
int IsAvlPermit();                             // 1: vector layers may use their object index
void SetAvlPermit(int on);

// ---------------------------------------------------------------------------------------------------
// Elevation chart, contour codes and elevation colouring.

struct _tagELEVATIONCHART {
    float m_fContourInterval;     // handed to GetContourType: 10.0
    float m_fSpecialElevation;    // 0.0
    COLORREF m_crColor[10];       // classes 0..9: 0xFF, 0xFF00, 0xFF0000, 0xFFFF, 0x2A2AA5, 0xB469FF,
                                  //               0xB469FF, 0xFF, 0xFACE87, 0xFF00FF
    int m_nWidth[10];             // tenths of the style's line-width unit: 40, 20, 20, 20, 20, 10, 10, 20, 10, 30
};
static_assert(sizeof(_tagELEVATIONCHART) == 88, "the chart is compared byte for byte");

_tagELEVATIONCHART GetCurrentElevationChart();
// Stores the chart and returns the previous one.
_tagELEVATIONCHART SetCurrentElevationChart(_tagELEVATIONCHART chart);
// The built-in chart, whatever the current one is.
_tagELEVATIONCHART GetDefaultElevationChart();
// TRUE when the two records are equal byte for byte (floats bit for bit).
int IsEqual(_tagELEVATIONCHART a, _tagELEVATIONCHART b);

UINT GetIndexContourCode();                    // 201
UINT GetMedianContourCode();                   // 202
UINT GetSuContourCode();                       // 203
UINT GetZhuContourCode();                      // 204
void SetContourCode(UINT index, UINT median, UINT su, UINT zhu);
// TRUE when the code equals any of the four contour codes.
int IsContourCode(UINT code);

int IsOnlyContourShowElevChart();              // 1: colour only contour classes by elevation
void OnlycontourShowElevChart(int on);
int IsElevPointShowElevChart();                // 1: colour elevation points by elevation
void ElevPointShowElevChart(int on);

// Colours a style from the current elevation chart for an elevation z: mode 0 colours the point part,
// any other mode the line part. z == 0.0 takes class 7 (mode 0: point colour; else line colour and width
// / 10.0). Otherwise the class is GetContourType (z, interval, mode == 0): classes 0 to 4 as for 7; 5 and 6
// set the line colour and width whatever the mode; -1 takes class 8 when z equals the special elevation,
// else class 9, as line colour and width whatever the mode; any other class leaves the style alone.
// This is the colouring of SetGeoViewByElevation, which takes z from the vector object.
void ColorGeoViewByElevation(double z, GEOVIEW* pView, int mode);
// ColorGeoViewByElevation with the object's elevation (its virtual GetZ ()). NULL for either pointer does
// nothing.
void SetGeoViewByElevation(CGeoVectorObject* pObject, GEOVIEW* pView, int mode);

// ---------------------------------------------------------------------------------------------------
// The default symbol library.

CString GetDefaultSymbolLibFile();             // "Normal"
int GetDefaultMapScale();                      // 50000
// An empty name releases the current library object (GetDefaultSymbolLibIO becomes NULL) and stores
// the empty name and the scale. Otherwise the library named (GetSymbolLibFileName) is opened with the
// scale (GetSymbolLibIO); on success the previous object is released and name and scale stored; on
// failure (the opener has shown "打开符号库出错！") nothing changes.
void SetDefaultSymbolLibFile(CString name, int scale);
// The open default library, or NULL. It belongs to this library and is released only when replaced.
CSymbolLibIO* GetDefaultSymbolLibIO();

// ---------------------------------------------------------------------------------------------------
// Label points, compression and smoothing.

// How label points are drawn.
enum LABELTYPE : int {
    LABEL_HIDE = 0,    // not drawn
    LABEL_DOT = 1,     // a small dot
    LABEL_CROSS = 2,   // a cross of the cross radius
    LABEL_SYMBOL = 3,  // the style's point symbol when drawing with symbols
};
LABELTYPE GetLabelPointShowType();             // LABEL_CROSS
void SetLabelPointShowType(LABELTYPE type);

// Stores the pair and writes "Compress Settings" / "Para" at once.
void SetCompressLengthPro(float length, float pro);
// Reads "Para" on every call: absent, the stored pair (5.0, 0.2); present, the entry parsed into the
// outputs only (a field that does not parse leaves the caller's variable as it was).
void GetCompressLengthPro(float& length, float& pro);
// Stores the pair and writes "Compress Settings" / "Smooth Para" at once.
void SetSmoothParameter(float a, float b);
// Copies the stored pair (1.0, 0.5) into the outputs, then parses "Smooth Para" over them when present.
void GetSmoothParameter(float& a, float& b);

// ---------------------------------------------------------------------------------------------------
// Mark styles.

// The five mark styles, built at load: type 0, point shape 66, point size GetDefaultPointSize () at load,
// line shape 3, line width 0.0, fill shape 0, no symbols, face "宋体", text flags 0x80, buffer width 0;
// point, line and annotation colour / fill colour / transparent:
//   1: 0xFF0000 / 0xFFFF / 1   2: 0xFF00 / 0xFFFF / 1   3: 0xFF / 0xFF / 0   4: 0x2A2AA5 / 0xFFFF / 1
//   5: 0xFFFF / 0xFFFF / 0
enum GEOMARK : int {
    GEOMARK_1 = 1,
    GEOMARK_2 = 2,
    GEOMARK_3 = 3,
    GEOMARK_4 = 4,
    GEOMARK_5 = 5,
};
// A copy of mark style 1 to 5; any other value gives GetDefaultGEOVIEW ().
GEOVIEW GetMarkGeoView(GEOMARK mark);
// Assigns to mark style 1 to 5; any other value does nothing.
void SetMarkGeoView(GEOVIEW view, GEOMARK mark);

// ---------------------------------------------------------------------------------------------------
// Profile entries (see the top of this file).

void LoadCorvaneVariable();        // "BaseVariable", then "BaseVariable2"
void SaveCorvaneVariable();
void LoadElevationChart();
void SaveElevationChart();
void LoadContourCode();
void SaveContourCode();
void LoadShowElevCharType();       // "OnlyContour" and "ElevPoint"
void SaveShowElevCharType();
// Opens the library by SetDefaultSymbolLibFile with the scale and name of "SymbolLib" (the current
// ones where the entry is absent or lacks them), so a library that cannot be opened leaves the previous
// library, name and scale as they were.
void LoadDefaultSymbolLibFile();
void SaveDefaultSymbolLibFile();
void LoadLabelPointShowType();
void SaveLabelPointShowType();
// The mark styles are not persisted: these do nothing.
void LoadMarkGeoView();
void SaveMarkGeoView();
