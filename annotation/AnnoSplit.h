// Cutting an annotation in two.
//
// The two parts are new CGeoAnno objects appended to out (the first part first); the caller owns them.
// They know the source's layer but are not in its object list. The source is never changed. A refused
// request returns 0 and appends nothing.
#pragma once

#include <afx/afx.h>
#include "annotation/GeoAnnoRecord.h"
#include "core/GeoView.h"

class CGeoAnno;
class CGeoVectorObject;

// Cuts a multi-point annotation (position type 6, at least two points) before character k
// (1 <= k < point count; a double-byte character counts one). The first part keeps characters 0 .. k - 1
// with their points and escape angles, the second k .. n - 1. Both take the source's own style, unit 3
// (no conversion), feature-class ID and layer, and have their bounds recomputed. 1 when done; 0 for a
// NULL source, another position type, fewer than two points or k outside 1 .. n - 1.
int SplitMultiPointAnno(CGeoAnno* a, int k, CObList& out);

// Cuts multi-row text after row k (0 <= k <= rows - 2): the first part holds rows 0 .. k, the second
// rows k + 1 .. n - 1, each joined by CR LF. Every row stays where it stood: the parts keep the source's
// align type and get position points worked out from the block heights (char height h, row space r),
// turned with the text about the source's position point. With two-sided alignment each part's column
// space grows so that its widest row reaches the widest row of both parts. Both take the source's own
// style, unit 3 (no conversion), feature-class ID and layer; bounds recomputed. 1 when done; 0 for a
// NULL source, fewer than two rows or k outside 0 .. rows - 2.
int SplitRowsAnno(CGeoAnno* a, int k, CObList& out);

// Cuts at the character a hit test found: hit.m_nIndexResult is the byte index i where the second part
// starts and (hit.m_nWorkX, hit.m_nWorkY) the hit point h (both left there by a hit test in output mode
// 3). Both parts are built from hit with text = its first i bytes and the rest.
//   - Position types 0 and 1: part 1 anchored at (h.x - (column space + width of text 1), h.y), part 2 at
//     h, both turned about the position point by the escape angle; align 2 for both when the source's
//     align is 8, else 0.
//   - Position type 2 (box): t = trunc(view line width * scale2 / scale); part 1 is the source box with
//     its smaller y raised to h.y + t (align 0), part 2 the box with its larger y lowered to h.y - t
//     (align 2); both keep the source's margins.
//   - Position type 3: part 1 at (h.x, h.y + row space), part 2 at h, both turned about the rotation
//     centre; part 1 takes the bottom and part 2 the top align of the source's align column.
// Types 0, 1 and 3 get their bounds recomputed. Both parts then take the source's unit (no conversion),
// feature-class ID, display attribute, the style of its feature class as their own style, and its layer.
// text and point: part 1's point 0 is first set to point; text is not read (the record's text is used).
// scale 0 counts as 1. 1 when done; 0 for a NULL source or an index outside the text.
int SplitAnnoAtHit(UINT scale, UINT scale2, CString& text, CPoint point, GEOANNO& hit, const GEOVIEW& view,
                   CObList& out, CGeoAnno* source);

// ---- breaking an annotation up into separate objects ----

// Request bits of BreakUpAnno; a bit takes effect only when the annotation has the feature.
#define BREAKUP_FILLFRAME 0x1        // filled frame
#define BREAKUP_WIDECHAR 0x2         // char width differs from char height (asks for outlines)
#define BREAKUP_ROWSPACE 0x4         // row space above 0
#define BREAKUP_COLSPACE 0x8         // column space above 0
#define BREAKUP_BOX 0x10             // box text (position type 2); brings the frame line and fill with it
#define BREAKUP_FORMAT 0x20          // formatted text
#define BREAKUP_OUTLINES 0x1C0       // any of 0x40, 0x80, 0x100: letters as outlines
#define BREAKUP_UNDERLINE 0x400      // underline of the annotation's own style
#define BREAKUP_STRIKE 0x800         // strike line of its own style
#define BREAKUP_DOTS 0x1000          // emphasis dots of its own style
#define BREAKUP_VERTICAL 0x2000      // vertical array style
#define BREAKUP_ECHELON 0x4000       // echelon array style
#define BREAKUP_TWOALIGN 0x8000      // two-sided alignment
#define BREAKUP_FRAMELINE 0x10000    // frame line shown
#define BREAKUP_MULTIROW 0x20000     // multi-row text (IsPositionType (3))
#define BREAKUP_BACKGROUND 0x40000   // opaque background (its own style is not transparent)
#define BREAKUP_MULTIPOINT 0x80000   // multi-point annotation (position type 6)

// The bits of flags whose feature the annotation has (BREAKUP_BOX adds the frame line and fill bits
// when the annotation is a box). Outline bits count as present; 0 for NULL.
int GetBreakUpEffectiveFlags(const CGeoAnno* a, int flags);

// Turns the requested features of a into separate objects appended to out (the caller owns them; they
// are attached to a's layer when it has one):
//   - letters as outlines (any of 0x2, 0x40, 0x80, 0x100 requested) drawn with the outline width;
//   - otherwise one annotation per piece, given a's own style with the requested decorations removed,
//     then the decoration objects requested (emphasis dots, underlines, strike lines, frame lines, fills,
//     formatted-text strokes, backgrounds, in that order);
//   - when no spacing is broken up (column, row space, two-sided) but a structural feature (formatted,
//     box, multi-row, echelon, vertical, multi-point) stays, first a copy of a without the requested
//     decorations instead of the pieces.
// Whatever was made and not wanted is detached and deleted; a is never changed and out keeps what it
// held. 1 when done; 0 for NULL or when nothing requested is present (nothing is created then).
int BreakUpAnno(CGeoAnno* a, CTypedPtrList<CObList, CGeoVectorObject*>& out, int flags, int outlineWidth);
