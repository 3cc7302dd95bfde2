// Settings of the automatic labellers: the per-call parameter records of line and point labelling
// (tagLINEPARA, tagPOINTPARA), whose leading parts are the settings a user edits and keeps
// (tagLINELABEL, tagPOINTLABEL); their built-in defaults; one current value of each for the process;
// their profile entries; the pair of both kept with a feature class's attribute labels (tagLABELPARA)
// and its archive form; and the symbol sizes that keep labels clear of an object's symbol.
//
// Lengths in these records are given at label scale: the labellers multiply them by S / 10 (symbol
// sizes by S / 100), S being the record's label scale, and round the result as trunc(v + 0.5).
//
// The current values are module globals holding the built-in defaults from the moment the library is
// loaded; they are unguarded (host user-interface thread only). Nothing is read at start-up: the host
// calls the Load and Save functions, which go through the current application's profile
// (AfxGetApp ()), section "Settings"; without an application object the profile counts as empty and
// nothing is written.
//
// Profile entries: signed decimal integers joined by ':' without blanks.
//   "LineLabel"   18 numbers: line fields 1, 0, 12, 5, 4, 2, 3, 7, 8, 6, 11, 10, 9, 13, 14, 15, 16, 17.
//   "PointLabel"   9 numbers: point fields 0, 6, 5, 2, 1, 7, 8, 9, 10 (fields 3 and 4 are not kept).
// Blanks before a number are passed over; numbers are ASCII digits with an optional sign in any locale.
// Loading: an absent or empty entry changes nothing; otherwise the numbers are read in order, each into
// its field, and reading stops at the first place that does not continue the pattern (not a number,
// a number outside the int range, or no ':' before the next one): the fields of the numbers not read
// keep their current values.
#pragma once

#include <afx/afx.h>

class CGeoVectorObject;
class CSymbolLibIO;

// The user settings of line labelling: 18 consecutive 32-bit signed integers, fields 0 to 17.
struct tagLINELABEL {
    int m_nSide = 0;             // 0  2 on the line; 1 one side; 0 or 3 the other side
    int m_nCharOrient = 0;       // 1  characters 0 upright, 1 along the line, 2 across it
    int m_nCharSpace = 0;        // 2  spacing between consecutive characters
    int m_nRetryLimit = 0;       // 3  retry distance limit
    int m_nLineDistance = 0;     // 4  distance of the label from the line (sides 0, 1, 3)
    int m_nStepBack = 0;         // 5  step-back allowance
    int m_nSymbolSize = 0;       // 6  first symbol size of the line (symbol-size scaling)
    int m_nHalfSymbolSize = 0;   // 7  half the second symbol size, added on side 1 (symbol-size scaling)
    int m_nExtraDistance = 0;    // 8  extra distance on sides 0 and 3 (symbol-size scaling)
    int m_nMinRepeatLength = 0;  // 9  minimum length of one repeat of the label
    int m_nWholeText = 0;        // 10 place the whole text as one block
    int m_nFormatText = 0;       // 11 formatted-text request
    int m_nStartMode = 0;        // 12 0 beginning, 1 reversed line, 2 centred, 3 from a given point
    int m_nCollisionMargin = 0;  // 13 margin of the collision-grid test
    int m_nShiftStep = 0;        // 14 shift step
    int m_nCollisionTest = 0;    // 15 collision tests on
    int m_nJoinLines = 0;        // 16 join lines with the same text that touch end to end
    int m_nRepeat = 0;           // 17 split long lines into repeats
};
static_assert(sizeof(tagLINELABEL) == 18 * 4, "eighteen 32-bit values");

// The user settings of point labelling: 11 consecutive 32-bit signed integers, fields 0 to 10.
struct tagPOINTLABEL {
    int m_nPosition = 0;         // 0  0 to 8 fixed positions, 9 automatic search
    int m_nHorOffset = 0;        // 1  horizontal offset: start value
    int m_nHorOffsetLimit = 0;   // 2  horizontal offset: limit
    int m_nVerOffset = 0;        // 3  vertical offset: start value (not kept in the profile)
    int m_nVerOffsetLimit = 0;   // 4  vertical offset: limit (not kept in the profile)
    int m_nVerSymbolSize = 0;    // 5  symbol size added to the vertical offset
    int m_nHorSymbolSize = 0;    // 6  symbol size added to the horizontal offset
    int m_nFormatText = 0;       // 7  formatted-text request
    int m_nCollisionMargin = 0;  // 8  margin of the collision-grid test
    int m_nSearchStep = 0;       // 9  growth of both offsets per search pass
    int m_nUseGrid = 0;          // 10 use the collision grid (0: no tests, no records)
};
static_assert(sizeof(tagPOINTLABEL) == 11 * 4, "eleven 32-bit values");

// Per-call parameters of line labelling: the user settings (fields 0 to 17), then fields 18 to 30.
// The point array is the caller's; the record does not own it.
struct tagLINEPARA : tagLINELABEL {
    POINT* m_pPoints = nullptr;  // 18 points of the line
    int m_nPoints = 0;           // 19 number of points
    int m_nScale = 0;            // 20 label scale S
    int m_nKind = 0;             // 21 2 clip to the area first, 3 whole line; 1 or 3 create annotations
                                 //    (3 also reports progress); other values draw
    int m_nStartX = 0;           // 22 start point of start mode 3, in the unit of field 30
    int m_nStartY = 0;           // 23
    int m_nOffsetX = 0;          // 24 offset added to a piece's collision box position
    int m_nOffsetY = 0;          // 25
    int m_nFitScale = 0;         // 26 fit the text to the display scale (drawing only)
    float m_fSongJianAngle = 0;  // 27 slant of shoulder-raised lettering, tenths of a degree
    int m_nTotalObjects = 0;     // 28 objects in the whole run (progress)
    int m_nObjectsDone = 0;      // 29 objects done before this call (progress)
    int m_nUnit = 0;             // 30 unit code of the points
};

// Per-call parameters of point labelling: the user settings (fields 0 to 10), then fields 11 to 21.
struct tagPOINTPARA : tagPOINTLABEL {
    int m_nX = 0;                // 11 the point, in the unit of field 21
    int m_nY = 0;                // 12
    int m_nScale = 0;            // 13 label scale S
    int m_nKind = 0;             // 14 1 or 3 create annotations (3 also reports progress); other values draw
    int m_nOffsetX = 0;          // 15 offset added to the box position for every grid test and record
    int m_nOffsetY = 0;          // 16
    int m_nFitScale = 0;         // 17 fit the text to the display scale (drawing only)
    float m_fSongJianAngle = 0;  // 18 slant of shoulder-raised lettering, tenths of a degree
    int m_nTotalObjects = 0;     // 19 objects in the whole run (progress)
    int m_nObjectsDone = 0;      // 20 objects done before this call (progress)
    int m_nUnit = 0;             // 21 unit code of the point
};
static_assert(sizeof(tagPOINTPARA) == 22 * 4, "twenty-two 32-bit values");

// The line and point settings kept together with a feature class's attribute labels (29 values).
struct tagLABELPARA {
    tagLINELABEL m_LineLabel;
    tagPOINTLABEL m_PointLabel;
    // Both halves from the current values.
    tagLABELPARA();
};

// Built-in defaults, fields in order:
//   line   2, 0, 50, 100, 10, 20, 0, 0, 0, 1000, 0, 0, 2, 0, 5, 1, 1, 1
//   point  9, 10, 20, 0, 0, 0, 0, 0, 0, 5, 1
tagLINELABEL GetDefaultLineLabel();
tagPOINTLABEL GetDefaultPointLabel();

// Copy out / copy in the current values.
tagLINELABEL GetCurrentLineLabel();
void SetCurrentLineLabel(const tagLINELABEL& label);
tagPOINTLABEL GetCurrentPointLabel();
void SetCurrentPointLabel(const tagPOINTLABEL& label);

// Read / write "Settings" / "LineLabel" and "PointLabel" (see the top of this file).
void LoadLineLabel();
void SaveLineLabel();
void LoadPointLabel();
void SavePointLabel();

// Stores, or loads back in the same order, 27 32-bit values: point fields 0, 1, 2, 5, 6, 7, 8, 9, 10,
// then line fields 0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 9, 12, 13, 14, 15, 16, 17. Point fields 3 and 4
// are not archived and keep their values on load. No version field. A short archive raises
// CArchiveException and leaves the pair unchanged.
void SerializeLabelPara(CArchive& ar, tagLABELPARA& para);

// The two symbol sizes of an object, both 0 to start with and for a NULL object. From the object's
// effective symbol attributes (GetSymbolAttribute with the library): first = the value of item 3 when
// that item is set (type not 0) and mask bit 0x10 is on; second = the value of item 4 when it is set and
// mask bit 0x04 is on.
void GetObjSymbolSize(CGeoVectorObject* pObj, int& first, int& second, CSymbolLibIO* pLib);
