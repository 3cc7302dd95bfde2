// The annotation's dialogs, reached through hooks: the text page that CGeoAnno adds to the vector
// object's property sheet, and the insert-character dialog of InsertPointAfter.
//
// The dialogs live on the top floor (ui/), which this floor never includes; ui/ fills these hooks when
// the library loads. Without a page hook no text page is added; without the insert-character hook
// InsertPointAfter behaves as if the person cancelled. Every hook runs on the host's user-interface
// thread.
//
// tagAnnoTextPageData is what the text page edits, in the page's own units: sizes (char height and
// width, column and row space) in tenths of a millimetre on the map at scale 1 : s; margins and format
// spacing in millimetres (the dialogs behind the page's two buttons show them in tenths at the same
// scale); angles in degrees. CGeoAnno converts to and from its own unit (AnnoSizeToPage and
// AnnoSizeFromPage). The initial values are those of a page that nobody filled.
#pragma once

#include <afx/afx.h>

#include "annotation/GeoAnnoRecord.h"

class CPropertyPage;

// Placement on the page (its combo): 0 "单点", 1 "方框", 2 "多点".
enum { ANNO_PLACE_POINT = 0, ANNO_PLACE_BOX = 1, ANNO_PLACE_MULTI = 2 };

struct tagAnnoTextPageData {
    CString strText;             // the text; CR LF separates rows
    float fColSpace = 0.0f;      // column space, 0.1 mm
    float fRotateAngle = 0.0f;   // the first character's escape angle, degrees
    float fRowSpace = 0.0f;      // row space, 0.1 mm
    int bTwoAlign = 0;           // two-sided alignment
    int nMoveMode = 0;           // 0 size grows, 1 spacing grows, 2 both grow, 3 width to height kept
    int bFormatted = 0;          // formatted text
    int bLockRatio = 1;          // editing one char size keeps the width to height ratio
    int nSizeMode = 0;           // 0 by type-size name, 1 custom
    float fCharHeight = 0.0f;    // 0.1 mm
    float fCharWidth = 0.0f;     // 0.1 mm
    float fItalicAngle = 0.0f;   // slant of slanted lettering, degrees (0 to 80)
    float fLineWidth = 0.0f;     // frame line width
    int bFillFrame = 0;
    int bShowFrame = 0;
    int nArrayStyle = 0;         // 0 horizontal, 1 vertical, 2 echelon
    int nPlacement = -1;         // ANNO_PLACE_..., -1 none chosen
    COLORREF crBackColor = 0;    // frame colour
    int bReadOnly = 0;           // every control disabled
    int nAlignType = 0;          // 0 to 8
    int nPositionType = 0;       // what the placement stands for (AnnoPlacementToType)
    float fTypeSize = 0.0f;      // the size of the chosen type-size name, 0.1 mm
    tagGEORECT margins;          // box margins, millimetres
    tagGEOFORMAT format;         // formatted-text spacing, millimetres
    int nUnit = 3;               // the annotation's unit
    float fRatio = 0.0f;         // char width / char height
    int nScale = 1;              // the map scale s
};

// Placement shown for a position type: 0, 1 and 3 single point, 2 box, anything else multi-point.
int AnnoTypeToPlacement(int positionType);
// The position type of a placement: box 2, multi-point 6, anything else 0.
int AnnoPlacementToType(int placement);
// A size v in `unit` as the page shows it: trunc(v in millimetres) / s * 10 (no conversion for
// millimetres). s below 1 counts as 1.
float AnnoSizeToPage(int v, int unit, int s);
// A shown size w back in `unit`: trunc(s * w / 10 + 0.5) millimetres converted to the unit (truncated).
int AnnoSizeFromPage(float w, int unit, int s);

struct tagAnnoDialogHooks {
    // A new text page holding data. The caller owns it (delete through CPropertyPage) and adds it to a
    // sheet; NULL when no page can be made.
    CPropertyPage* (*pfnNewTextPage)(const tagAnnoTextPageData& data);
    // The values a page made by pfnNewTextPage holds now: what it was given, as the person left it.
    void (*pfnGetTextPageData)(CPropertyPage* page, tagAnnoTextPageData* data);
    // The modal insert-character dialog: IDOK after the person confirmed, with the characters in *text
    // and the angle (degrees, 0 to 360) in *angleDegrees; any other result leaves both alone.
    int (*pfnInsertChar)(CString* text, float* angleDegrees);
};

// The hooks now in force (all NULL until the dialogs fill them).
const tagAnnoDialogHooks& GetAnnoDialogHooks();
// Replaces every hook at once and returns the previous set, so that a test can put it back.
tagAnnoDialogHooks SetAnnoDialogHooks(const tagAnnoDialogHooks& hooks);
