// Process-wide annotation defaults that a host's annotation tools start from: the current text style
// (a GEOANNO), the current box margins and formatted-text spacing, the slant angle of shoulder-raised
// lettering, the dynamic-annotation switch, the contour-label record and the font-fit switch of
// attribute labels.
//
// They are module globals, set when the library is loaded and unguarded (host UI thread only). Nothing
// is read at start-up: the host calls the Load and Save functions, which go through the current
// application's profile (AfxGetApp ()), section "Settings"; without an application object the profile
// counts as empty and nothing is written. Numbers are written and parsed in the "C" locale.
//
// Profile entries (fields joined by ':'):
//   "GeoAnno"       escape angle, orient angle (%f), align type, char height, char width, position type,
//                   row space, column space, unit, style flags, move flag (%d), italic angle (%f), line
//                   width (written %.1f, read %f), back colour (%d). Text and other members are not kept.
//   "GeoRect"       bottom, left, right, top (%d).
//   "GeoFormat"     fen_hor, fen_ver, hor, ver (%d), fen_shu_width (written %.1f, read %f).
//   "SongJianAngle" %f.   "DynamicAnno" %d.   "LabelFontFit" %d.
//   "ContourLabel"  fifteen %d: fields 0, 1, 2, 3, 9, 6, 8, 5, 7, 10, 4, 11, 12, 13, 14.
// Loading: an absent or empty entry changes nothing; otherwise the leading fields that parse are stored
// in order and the rest keep their values. For "GeoAnno" the style flags and the move flag are parsed
// into ints that start at 0 and are stored in every case, so a shorter entry sets both to 0.
#pragma once

#include "annotation/GeoAnnoRecord.h"

// Contour-label settings: fifteen ints. Field 5 is the elevation character height, field 6 the
// elevation colour (COLORREF), field 10 the elevation precision; the host gives the others meaning.
struct tagCONTOURLABEL {
    int m_nField[15] = {};
};

// ---- current annotation ----

// scale -1: a plain copy of the current annotation. Any other value: MakeGeoAnno of it with char height,
// char width, row space and column space each * scale / 10 (integer, truncated), so 0 zeroes them.
GEOANNO GetCurrentGeoAnno(int scale);
// The current annotation becomes MakeGeoAnno of the argument, with empty text and no output list.
void SetCurrentGeoAnno(const GEOANNO& anno);
// A default-constructed record; the current annotation is not changed.
GEOANNO LoadDefaultGeoAnno();
void LoadGeoAnno();
void SaveGeoAnno();

void SetGeoAnnoPositionType(int type);
void SetGeoAnnoAlignType(int align);
void SetGeoAnnoMoveFlag(int flag);        // stored as a byte
void SetGeoAnnoColSpace(int space);
void SetGeoAnnoRowSpace(int space);
void SetGeoAnnoCharWidth(int width);
void SetGeoAnnoCharHeight(int height);
void SetGeoAnnoLineWidth(float width);
void SetGeoAnnoBackColor(COLORREF colour);
void SetGeoAnnoTwoAlign(int on);
// Degrees: the escape angle becomes degrees * 10.
void SetGeoAnnoRotateAngle(float degrees);
// Degrees: the orient angle becomes degrees * 10.
void SetGeoAnnoEscapeAngle(float degrees);
// Degrees: a negative value is made positive, a value above 80 keeps its fraction and has its integer
// part taken modulo 80 (95.5 gives 15.5); the italic angle becomes degrees * 10.
void SetGeoAnnoItalicAngle(float degrees);
int GetCurrentCharHeight();
int GetCurrentCharWidth();
int GetGeoAnnoPositionType();

// ---- margins and format spacing ----

// scale > 0: each field * scale / 10 (integer); otherwise as stored.
tagGEORECT GetCurrentGeoRect(int scale);
void SetCurrentGeoRect(const tagGEORECT& rect);
// Sets the current margins to the built-in 0, 0, 0, 0 and returns them.
tagGEORECT LoadDefaultGeoRect();
void LoadGeoRect();
void SaveGeoRect();

// scale > 0: the four ints * scale / 10 (integer) and fen_shu_width * scale / 10 (float); otherwise as
// stored.
tagGEOFORMAT GetCurrentGeoFor(int scale);
void SetCurrentGeoFor(const tagGEOFORMAT& format);
// Sets the current spacing to the built-in 10, 10, 10, 10, 2.0 and returns it.
tagGEOFORMAT LoadDefaultGeoFormat();
void LoadGeoFormat();
void SaveGeoFormat();

// The built-in margins and spacing, without touching the current ones. New annotations take these, so
// creating or loading annotations never discards margins and spacing the user has set or loaded.
tagGEORECT GetBuiltInGeoRect();
tagGEOFORMAT GetBuiltInGeoFormat();

// ---- other values ----

float GetCurrentSongJianAngle();          // 150.0
void SetCurrentSongJianAngle(float angle);
void LoadSongJianAngle();
void SaveSongJianAngle();

int GetCurrentDynamicGeoAnno();           // 1
void SetCurrentDynamicGeoAnno(int on);
void LoadDynamicGeoAnno();
void SaveDynamicGeoAnno();

tagCONTOURLABEL GetCurrentContourLabel();
void SetCurrentContourLabel(const tagCONTOURLABEL& label);
// The built-in record, fields 0 to 14: 1, 0, 0, 0, 1, 30, 0, 0, 0, 1, 1, 0, 1, 0, 0 (the current one is
// not changed).
tagCONTOURLABEL LoadDefaultContourLabel();
void LoadContourLabel();
void SaveContourLabel();
COLORREF GetElevationColor();             // field 6
int GetElevationCharHeight();             // field 5
int GetElevationPrecision();              // field 10

int GetAttributeLabelFontFit();           // 0
void SetAttributeLabelFontFit(int on);
void LoadAttributeLabelFontFit();
void SaveAttributeLabelFontFit();
