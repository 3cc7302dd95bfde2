// CGeoAnno: an annotation, a piece of map text that is a vector feature of its own (ID, feature class,
// display style, kept in its layer's object list).
//
// It keeps the values of a GEOANNO, with one escape angle and one position point per character when
// the text is placed character by character (position type 6), and the box margins and formatted-text
// spacing of its own. MakeGeoAnno turns it into a GEOANNO for the painters; SetGeoAnno takes the values
// back.
//
// Units: sizes and points are 32-bit integers in the object's unit; angles are floats in tenths of a
// degree. Margins and format spacing are in the object's unit too, and a change of unit leaves them as
// they are.
//
// Invariant: the angle array and the point array have the same size, at least 1: the character count of
// the text (a double-byte character counts one) for position type 6, else 1. The bounds are the box of
// the laid-out text (CalculateAnnoBounds), except for a box annotation (type 2), whose bounds are its box.
//
// Names: every constructor but the one from a GEOANNO raises a process-wide counter (starting at 0) and
// names the object "注记 " + counter, so the first annotation of a process is "注记 1".
//
// Record (Serialize), after the CGeoVectorObject part, always stored in this layout:
//   text (archive string), char width, char height (32-bit), escape angles (count + raw floats),
//   align type (8 bits), column space (32), move flag (8), orient angle (float), position type (32),
//   style flags (8), italic angle (float), line width (float), back colour (32), row space (32),
//   bold value (32); with the format style on: fen_hor, fen_shu_width (float), fen_ver, hor, ver;
//   for position type 2: margins left, right, top, bottom; points (count + raw x, y pairs).
// Loading follows the record's stored version: 1.37 and above as stored; above 1.35 the head with one
// inline angle and anchor; above 1.2 an integer line width and bar width, row space and bold value only
// above 1.25; above 1.15 the head alone, with position type 5 becoming formatted type 0; the oldest
// form (1.15 and below) with an alignment word, a vertical flag and a weight (700 sets the bold flag of
// the object's own style). Whatever the record holds, a load leaves both arrays at the size the
// invariant asks for (short arrays are padded with their first entry, or zeros), and corrupt or
// truncated data raises CArchiveException.
//
// Drawing: both painting hooks end in DrawGeoAnno (annotation/DrawGeoAnno.h) through OnDrawAnno; an
// annotation has no symbols, and hiding and blinking draw nothing.
#pragma once

#include "annotation/GeoAnnoRecord.h"
#include "core/GeoVectorObject.h"

class CGeoAnno : public CGeoVectorObject {
    DECLARE_SERIAL(CGeoAnno)

public:
    // Takes the current default annotation (GetCurrentGeoAnno (-1)) through SetGeoAnno, then row space 0,
    // position type 0, column space 0, move flag 1, style flags 0, point 0 = (0, 0), bold value 400, the
    // built-in format spacing and margins. Escape and orient angle, align type, char sizes, unit, back
    // colour, line width and italic angle come from the current default.
    CGeoAnno();
    // Anchored text; arrays of one entry, or of the character count for position type 6; escape angle
    // into entry 0, point 0 = anchor; built-in spacing and margins; back colour, line width and italic
    // angle from the current default; bold value 400; bounds recomputed.
    CGeoAnno(const CString& text, const CPoint& anchor, int charHeight, int charWidth, float escapeAngle,
             float orientAngle, int alignType, int positionType, int moveFlag, int colSpace, int rowSpace,
             int vertical, int twoAlign);
    // Box text: position type 2, bounds = box, move flag 0, angles 0, the given margins.
    CGeoAnno(const CString& text, const CRect& box, int charHeight, int charWidth, const tagGEORECT& margins,
             int alignType, int colSpace, int rowSpace, int twoAlign);
    // Formatted text: position type 0, style flags = the format style alone, move flag 0, row space 0,
    // the given spacing. The int between the align type and the column space is not used.
    CGeoAnno(const CString& text, const CPoint& anchor, int charHeight, int charWidth, const tagGEOFORMAT& spacing,
             float escapeAngle, float orientAngle, int alignType, int unused, int colSpace);
    // From a record: the vector-object part as its default constructor leaves it, margins 0 and the
    // built-in format spacing, then SetGeoAnno. The object keeps its base name and the annotation
    // counter does not change.
    explicit CGeoAnno(const GEOANNO& anno);
    // Legacy form: angle in degrees (vertical != 0 makes both angles 900, else angle * 10), align type
    // from the alignment word, point 0 = the anchor of the normalised box by the align type.
    CGeoAnno(const CString& text, const CRect& box, int charWidth, int charHeight, UINT formatWord, int vertical,
             float angleDegrees);
    ~CGeoAnno() override;

    void Serialize(CArchive& ar) override;

    // ---- conversions ----

    GEOANNO MakeGeoAnno() const;
    // Sizes both arrays (character count for type 6 with text, else 1), takes every value of the record
    // but margins and format spacing (unit without conversion, bounds as given), then CalculateAnnoBounds.
    void SetGeoAnno(const GEOANNO& anno);
    tagGEOFORMAT MakeGeoFormat() const { return m_Format; }
    tagGEOFORMAT GetGeoFormat() const { return m_Format; }
    void SetGeoFormat(const tagGEOFORMAT& format) { m_Format = format; }
    tagGEORECT MakeGeoRect() const { return m_Margins; }
    virtual void SetGeoRect(const tagGEORECT& rect);
    virtual tagGEORECT GetGeoRect() const;

    // ---- per-character arrays ----

    // Entry i for position type 6, entry 0 otherwise (0.0 for an index outside the array).
    float GetEscapeAngle(int i) const;
    // Type 6: i = -1 sets every entry, another valid i sets entry i. Other types: entry 0 whatever i is.
    void SetEscapeAngle(float angle, int i);
    // Entry i of the point array; (0, 0) for an index outside it.
    CPoint GetPositionPoint(int i) const;
    // Sets entry i; an index outside the array changes nothing.
    void SetPositionPoint(POINT p, int i);
    virtual POINT* GetPointPtr();
    virtual float* GetAnglePtr();
    // Both arrays get n entries (new entries are zero); n below 1 counts as 1.
    virtual void SetPoints(int n);
    // Character k of a multi-point annotation: its point, escape angle and its bytes with a terminating
    // zero (text needs room for 3 bytes), each only where the pointer is not NULL. 0 when k is outside
    // 0 .. count - 1 or all three pointers are NULL; else 1.
    virtual int GetAt(int k, CPoint* point, float* angle, char* text) const;

    // ---- geometry ----

    // The four corners of the text box: formatted text with the object's spacing; type 6 with
    // character -1 the upright box around all characters (whatever turned says); type 6 with a
    // character index that character's box; otherwise the whole text's box. Unturned corners run
    // counter-clockwise from (left, bottom) with y up; turned ones are turned with the text. Where the
    // text cannot be measured (formatted text) the corners are not written.
    virtual void GetFourPoints(CPoint pts[4], int turned, int character) const;
    // Box annotations keep their bounds; otherwise the bounds become the box of the turned corners of all
    // characters. Bounds of text that cannot be measured are left as they are.
    virtual void CalculateAnnoBounds();

    // ---- style ----

    // When this position type is not 0: t == type. For type 0: TRUE for t = 0 and 1, and for t = 3 only
    // when the text holds a line feed and not the two-character escape "\n".
    virtual BOOL IsPositionType(int t) const;
    // A value above 8 (or below 0) is stored as 0.
    void SetAlignType(int align);
    int GetAlignType() const { return m_byAlignType; }
    // Legacy alignment word: column 2 for bit 0x02, else 1 for bit 0x01, else 0; row 2 for bit 0x08,
    // else 1 for bit 0x04, else 0; align = 3 * column + row.
    void SetGeoAnnoFormat(UINT word);
    // The word for the current align type: 0, 4, 8, 1, 5, 9, 2, 6, 10 for align 0 to 8.
    int GetGeoAnnoFormat() const;
    void SetVert(int on) { SetArrayStyle(on ? 1 : 0); }
    BOOL GetVert() const { return GetArrayStyle() == 1; }

    void SetFormatStyle(int on) { annoflags::SetFormatStyle(m_byStyle, on); }
    BOOL GetFormatStyle() const { return annoflags::TestFlag(m_byStyle, ANNO_FORMATSTYLE); }
    void SetArrayStyle(int style) { annoflags::SetArrayStyle(m_byStyle, style); }
    int GetArrayStyle() const { return annoflags::GetArrayStyle(m_byStyle); }
    void SetTwoAlign(int on) { annoflags::SetFlag(m_byStyle, ANNO_TWOALIGN, on); }
    BOOL GetTwoAlign() const { return annoflags::TestFlag(m_byStyle, ANNO_TWOALIGN); }
    void SetShowFrame(int on) { annoflags::SetFlag(m_byStyle, ANNO_SHOWFRAME, on); }
    BOOL GetShowFrame() const { return annoflags::TestFlag(m_byStyle, ANNO_SHOWFRAME); }
    void SetFillFrame(int on) { annoflags::SetFlag(m_byStyle, ANNO_FILLFRAME, on); }
    BOOL GetFillFrame() const { return annoflags::TestFlag(m_byStyle, ANNO_FILLFRAME); }
    BYTE GetStyleFlags() const { return m_byStyle; }

    int GetCharHeight() const { return m_nCharHeight; }
    void SetCharHeight(int h) { m_nCharHeight = h; }
    int GetCharWidthA() const { return m_nCharWidth; }
    void SetCharWidth(int w) { m_nCharWidth = w; }
    float GetOrientAngle() const { return m_fOrientAngle; }
    void SetOrientAngle(float a) { m_fOrientAngle = a; }
    int GetPositionType() const { return m_nPositionType; }
    void SetPositionType(int t) { m_nPositionType = t; }
    BYTE GetMoveFlag() const { return m_byMoveFlag; }
    void SetMoveFlag(BYTE f) { m_byMoveFlag = f; }
    int GetSpace() const { return m_nColSpace; }
    void SetSpace(int s) { m_nColSpace = s; }
    int GetRowSpace() const { return m_nRowSpace; }
    void SetRowSpace(int s) { m_nRowSpace = s; }
    COLORREF GetBackColor() const { return m_crBackColor; }
    void SetBackColor(COLORREF c) { m_crBackColor = c; }
    float GetLineWidth() const { return m_fLineWidth; }
    void SetLineWidth(float w) { m_fLineWidth = w; }
    float GetItalicAngle() const { return m_fItalicAngle; }
    void SetItalicAngle(float a) { m_fItalicAngle = a; }
    int GetBoldValue() const { return m_nBoldValue; }
    void SetBoldValue(int v) { m_nBoldValue = v; }
    // The text (not the object name).
    CString GetName() const { return m_strText; }
    void SetName(const CString& text) { m_strText = text; }
    int GetHor() const { return m_Format.hor; }
    void SetHor(int v) { m_Format.hor = v; }
    int GetVer() const { return m_Format.ver; }
    void SetVer(int v) { m_Format.ver = v; }
    int GetFenHor() const { return m_Format.fen_hor; }
    void SetFenHor(int v) { m_Format.fen_hor = v; }
    int GetFenVer() const { return m_Format.fen_ver; }
    void SetFenVer(int v) { m_Format.fen_ver = v; }
    float GetFenShuWidth() const { return m_Format.fen_shu_width; }
    void SetFenShuWidth(float v) { m_Format.fen_shu_width = v; }
    // The object's bounds as given.
    void SetBounds(const CRect& r) { m_rcBounds = r; }

    // ---- overrides ----

    // A new default-constructed annotation filled through Copy; NULL when the copy fails. The caller
    // owns the result.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The vector-object part, then every annotation member; 1, or 0 when the base part fails (or the
    // source is not an annotation).
    int CopyData(const CGeoVectorObject& src) override;
    CRect GetBounds() const override;
    CPoint GetVisiblePoint() const override;
    // The vector-object part (the bounds), then char height and width, column and row space (truncated)
    // and every point. Angles, margins and format spacing are not converted.
    void OnUnitChanged(int nOldUnit) override;
    void DefaultObjectName() override;
    CString GetObjectTypeName() const override;         // "注记"
    int CanEditSymbolAttribute() const override;        // 0
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;  // 0
    int GetPoints() const override;                     // the size of the point array

    // ---- the text page of the vector object's property sheet (bodies in GeoAnnoPropPage.cpp) ----
    //
    // The page itself lives on the top floor and is reached through AnnoDialogHooks.h. One page serves
    // the annotation class at a time: OnAddPropertyPage makes it, and OnPropertyPageOK or
    // OnPropertyPageCancel of any annotation ends it.

    // Adds the page "文字" to sheet (nothing without a page hook or a sheet), filled with this
    // annotation's values at the param's map scale s (sizes in 0.1 mm, margins and spacing in
    // millimetres, angles in degrees; without a param at scale 1); readOnly disables every control.
    void OnAddPropertyPage(CTPropertySheet* pSheet, tagPropertyParam* pParam, int readOnly) override;
    // Takes the page's values back, in this order: text; align type; a new placement
    // (ChangePositionType); char height and width, column and row space (from 0.1 mm at the page's
    // scale); move flag (0 for formatted text, 1 for echelon text, else the page's move mode) and
    // two-sided alignment; every escape angle and the orient angle; back colour, line width, fill and
    // show frame, italic angle, format style, array style, the placement once more; margins and format
    // spacing. Then the rows are joined (CR and the byte after it removed) for vertical, echelon and
    // multi-point text, a multi-point annotation gets exactly one point per character (extra points
    // dropped; new ones laid after the last point at its angle), and the bounds are recomputed. The
    // page is destroyed. Nothing happens when no page is open.
    void OnPropertyPageOK() override;
    // Destroys the page without touching any annotation.
    void OnPropertyPageCancel() override;
    // Asks for characters to insert after character k of this multi-point annotation (the
    // insert-character dialog) and inserts them (InsertAt (k + 1)) laid from (x, y) at the angle given
    // (degrees in the dialog). Nothing is asked when the annotation cannot be edited (its layer is
    // locked), is not multi-point or k + 1 is outside 0 .. count. Returns 0 in every case: the caller
    // sees an insertion in the point count.
    virtual int InsertPointAfter(int x, int y, int k);

    // ---- drawing (bodies in GeoAnnoDraw.cpp) ----

    // No symbols: the plain hook with the same arguments and scaleWidths 1.
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // Nothing for an empty text; otherwise OnDrawAnno with MakeGeoAnno, the object's margins and spacing.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // An annotation is neither hidden nor blinked by drawing: these leave the DC untouched.
    void OnHideWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                 RECT* pClip) override;
    void OnHideWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                    RECT* pClip) override;
    void OnBlinkWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                  RECT* pClip) override;
    void OnBlinkWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                     RECT* pClip) override;
    // DrawGeoAnno of r; a multi-point annotation (IsPositionType (6)) is drawn one character at a time,
    // each at its own point and escape angle, with position type 0, no row or column space and the
    // format style off. r is changed.
    virtual void OnDrawAnno(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                            GEOANNO& r, RECT* pClip, int xorMode, tagGEORECT* pMargins, tagGEOFORMAT* pFormat,
                            int nWord8, int scaleWidths);
    // The dotted line (PS_DOT, width 1, RGB (0, 0, 125), R2_NOTXORPEN, so a second drawing removes it)
    // through the points of the annotation, clipped to clip; raster operation and pen are put back. The
    // tracker arguments are not used.
    virtual void DrawBaseLine(CDC* pDC, RECT* pClip, UINT scale, CPoint origin, CPoint offset, TrackerState state,
                              TrackerDrawState drawState);

    // The anchor of a box by align type: with mx = trunc(left / 2.0 + right / 2.0) and my likewise,
    // 0 (left, top), 1 (left, my), 2 (left, bottom), 3 (mx, top), ..., 8 (right, bottom); top is the
    // smaller y. Any other align gives (left, top).
    static CPoint GetBoxAnchor(const CRect& box, int align);

    // ==== editing geometry: handles, hit tests, moves and transforms (bodies in GeoAnnoEdit.cpp) ====
    //
    // Handles: a box annotation (position type 2) has 8 on its bounds; a multi-point annotation (type 6)
    // one per character (handle i is point i - 1); other text has 8 on its turned text box, or 2 when it
    // is echelon text or vertical text with move flag 1. A handle's kind 1..8 names its place on the box:
    // 1 corner (left, bottom), 2 middle of the bottom edge, 3 corner (right, bottom), 4 middle of the
    // right edge, 5 corner (right, top), 6 middle of the top edge, 7 corner (left, top), 8 middle of the
    // left edge (y up, before the text is turned). Echelon handles 1 and 2 are kinds 4 and 8; those of
    // vertical text with move flag 1 are kinds 2 and 6.
    //
    // Dragging a handle across the opposite edge of the box continues the drag as the opposite kind: a
    // process-wide memory, shared by every annotation and reset only by SetHandleZero, keeps that kind
    // until the host ends the drag.

    // Width and height of the bounds; (0, 0) for an empty text. The arguments are not used.
    virtual CSize GetTextExtent(CDC* pDC, UINT scale, const GEOVIEW& view) const;
    int GetHandleCount() const override;
    // Box: the eight points of the bounds (1 left-top ... 8 left-middle, top the smaller y, halves by
    // integer division), (0, 0) for another number. Multi-point: point h - 1 ((0, 0) outside). Other
    // text: the handle's kind on the turned text box ((0, 0) when the box cannot be measured).
    CPoint GetHandle(int nHandle) const override;
    // Multi-point: the library's handle cursor (resource 322). Otherwise the sizing cursor that matches
    // the kind, the text counting as level for a box or a first escape angle in 0..450.
    HCURSOR GetHandleCursor(int nHandle) const override;
    // 0 for handles 1, 3, 5 and 7 while the move flag is 3 (aspect ratio locked); else 1.
    int CanMoveHandle(int nHandle) const override;
    // Box: the bounds' edges of the handle take the point. Multi-point: point h - 1 becomes the point.
    // Other text: the text box is stretched so that the handle's edges pass through the point, the sizes
    // are refitted by the move flag (0 characters, 1 spacing, 2 both, 3 aspect ratio locked; sizes never
    // fall below 1), the anchor follows and the bounds are recomputed. Formatted text always grows its
    // characters (its move flag becomes 0; its spacing stays) and echelon text its spacing (move flag 1).
    void MoveHandleTo(int nHandle, CPoint point) override;
    int CanAddHandle(int nHandle) const override;  // 0
    // 1 for a multi-point annotation of more than one character and 1 <= h <= the point count; else 0
    // (the last character is never deleted, so the text and its arrays are never empty).
    int CanDeleteHandle(int nHandle) const override;
    // When CanDeleteHandle: character h - 1 with its point and angle is deleted; bounds recomputed.
    void DeleteHandle(int nHandle) override;
    // Box: the device rectangle of the bounds. Other text: the device point lies inside (or on) the
    // turned text box mapped to device coordinates.
    int NormalHitTest(CPoint point, UINT scale, CPoint origin, CPoint offset) const override;
    // As the base tracker, but every square is drawn (no clip test); a multi-point annotation first
    // draws its base line.
    void DrawTracker(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset, TrackerState state,
                     TrackerDrawState drawState) override;
    // The base test on the bounds first (a box annotation answers it alone). SELOBJ_INSIDE: every turned
    // corner lies in the normalised rectangle (right and bottom excluded). SELOBJ_MEET: the rectangle
    // shares a point with the turned box of a row (multi-point: each character at its own point and
    // angle; echelon text: each upright character; vertical and formatted text: the whole text box), so
    // the empty space between rows does not count. Other modes 0.
    int Intersects(const CRect& rect, SELOBJMODE mode) const override;
    // When the object may move: the bounds and every point are offset; bounds recomputed.
    void Move(CSize offset) override;
    // When the object may move: the base MoveTo, every point offset by the move of the bounds' left-top
    // corner; bounds recomputed.
    void MoveTo(CRect rect) override;
    // 0 for a box annotation, else 1.
    virtual int CanbeRotate() const;
    // When CanbeRotate: every character's escape angle (and the orient angle) becomes angle - 10 *
    // degrees with its integer part reduced modulo 3600 (the sign kept); every point turns about the
    // centre by the same amount, clockwise with y up for positive degrees, so points and letters stay
    // together (unlike the shapes, which turn counter-clockwise); bounds recomputed.
    void DoRotateCCW(double degrees, CPoint centre) override;
    // Maps the bounds' four corners and point 0 (object unit -> metres, + (x0, y0), the transformer, the
    // second offsets of a CBaseCoordinateTransformer taken off, back to the unit, truncated): point 0
    // becomes the fifth, the bounds the box of the first four. Other points and angles are kept; when the
    // transformer changes lengths (IsLengthChanged 1) char width and height go through its
    // TransformLength, rounded (trunc (x + 0.5)).
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;
    // Changes the position type; 1 when done or when there is nothing to do, 0 when refused (formatted
    // text to a box, and a multi-point annotation to an unknown type). Box -> 0, 1, 3: the text is
    // re-flowed into rows at an anchor (its top-left). Box -> 6: one point per character along the top
    // edge from the left-top corner, angle 0 (CalculatePosForMultiP). Single point -> 2: the unturned
    // text box becomes the box, align type 0. Single point -> 6: ConvertToMultiPoint (nothing for
    // formatted text). Multi-point -> other: the arrays shrink to entry 0.
    int ChangePositionType(int t);

protected:
    // The kind (1..8) of handle h for this text (see above).
    int GetHandleKind(int nHandle) const;
    // GetFourPoints into pts; false when the box could not be measured (nothing written).
    bool GetMeasuredCorners(CPoint pts[4], int turned) const;
    // Refits the sizes from the old box b0 to the new box b (drag of a handle); returns the flags of
    // the unchanged directions (1 widths, 2 heights; 0 for echelon text).
    int ResizeToBox(const CRect& b0, const CRect& b);

public:
    // ==== end of editing geometry ====

    // ==== text editing, union and division (bodies in GeoAnnoText.cpp) ====
    //
    // Character k counts a double-byte character as one. The per-character operations work on
    // multi-point annotations (position type 6) only and refuse anything else (0, or nothing done).

    // Character k's point, angle and text (GetAt above) are replaced where given: a non-empty text
    // replaces the character by its first character (a double-byte one replacing a single byte inserts a
    // byte, and the other way round deletes one). Bounds are not recomputed. 0 when k is outside
    // 0 .. count - 1; else 1.
    virtual int SetAt(int k, CPoint* point, float* angle, char* text);
    // Inserts text before character k (appends when k equals the count) and lays the new characters
    // along the line from start at the angle (tenths; CalculatePosForMultiP); bounds recomputed.
    // 0 when k < 0 or k > count; else 1.
    virtual int InsertAt(int k, CPoint& start, float angle, CString& text);
    // Appends one character (the first of text, so that every character keeps a point of its own) at
    // point with the angle; bounds recomputed. 0 for an empty or NULL text; else 1.
    virtual int Add(CPoint& point, float angle, const char* text);
    // Deletes character k with its point and angle; bounds recomputed. 0 when k is outside 0 .. count - 1
    // or when it is the only character (the arrays never become empty); else 1.
    int DeletePoint(int k);
    // Point k moves by d (nothing for d = (0, 0)) or to p; bounds recomputed. An index outside the
    // points changes nothing.
    void MovePoint(int k, POINT d);
    void MovePointTo(int k, POINT p);

    // 1 unless the annotation is a box (type 2) or formatted text.
    int CanBeUnion() const;
    // Mode 0: other's text is appended to this text (refused while this one is multi-point, whose
    // characters need points of their own). Other modes: every character of other, at its own
    // point and angle, is appended to this multi-point annotation (a single-point other is spread into
    // characters first, on a copy). Bounds recomputed. 0 when other is NULL, this or other cannot be
    // united, or (mode not 0) this annotation is not multi-point; else 1.
    int UnionAnno(CGeoAnno* other, int mode);
    // Unites every annotation of the list into this one. A non-empty list first gives this one the
    // first annotation's values, margins, own style, unit 3 (no conversion) and layer. Mode not 0: this
    // one becomes an empty multi-point annotation and takes every element; mode 0: position type 0, the
    // elements after the first are appended as text. Elements that are not annotations are skipped.
    // Bounds recomputed; 1.
    int UnionAnno(CTypedPtrList<CObList, CGeoVectorObject*>& list, int mode);

    // The split position at p: k is the character after which the text is split (-1 before the first).
    // a and b receive the two end points of the seam (object coordinates, turned with the text).
    // flag non-zero splits every text across its rows like single-row text. Multi-point annotations:
    // k is the character hit (each tested in its own turned box) and a its point. Returns k when wantIndex is
    // non-zero, else the byte count of the first k + 1 characters; -1 when p is outside the bounds or on
    // no character.
    int GetPointPositionInAnno(CPoint p, CPoint& a, CPoint& b, int flag, int wantIndex);
    // The seam after character k, as the point form gives it for a split after k: single-row horizontal
    // text from (right edge, bottom) to (right edge, top) of character k; other text (rows, vertical,
    // formatted) from (left, bottom) to (right, bottom) of k's cell; turned with the text. Multi-point
    // annotations: a = b = point k. a and b are left alone for a k outside 0 .. units - 1.
    void GetPointPositionInAnno(int k, CPoint& a, CPoint& b);
    // Divides a single-row annotation in two at p: the part left of the seam anchored right-bottom
    // (vertical text: the part below anchored left-top), the rest anchored left-bottom, half a column
    // (row) space off the seam on each side. Both are new annotations with this one's own style, unit 3,
    // feature-class ID and layer, added to the list in this order; the caller owns them. This one is
    // unchanged. Nothing for a point on no character. A multi-point annotation is cut before the
    // character hit (SplitMultiPointAnno), multi-row text after the row that holds the character k the
    // point gives (SplitRowsAnno); neither cuts at its ends.
    void DivideAnnoIntoTwoParts(CPoint p, CTypedPtrList<CObList, CGeoVectorObject*>& list);

    // Whether the annotation must be broken into pieces to be drawn as separate objects: 1 when the
    // object's own effective style (GetSelfGeoView) underlines, strikes through or marks its letters,
    // or has an opaque background, or the frame is shown or filled; otherwise by position type: 0, 1
    // and 3: formatted text, more than one row, or one row with a column space above 0; 2: always;
    // 6: more than one point; other types: 0.
    int GeoAnnoCanBeSpit() const;
    // Empties list (without deleting what it held) and draws the annotation in output mode 1, collecting
    // the glyph outlines and decoration polygons (new objects the caller owns) into list; each gets this
    // annotation's feature-class ID. Arguments as OnDrawAnno; pDC must be able to measure text.
    virtual void ConvertGeoAnnoToVectorPath(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                            const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list,
                                            RECT* pClip, int xorMode, int nWord8, int scaleWidths);
    // The same in output mode 2 (one annotation per row or character, frames as polygons) when
    // GeoAnnoCanBeSpit; otherwise, when view has an opaque background, only its background box.
    virtual void ConvertGeoAnnoToAnnoList(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                          const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list,
                                          RECT* pClip, int xorMode, int nWord8, int scaleWidths);

    // Cuts the annotation in two where the segment p1 - p2 crosses it (both points in object
    // coordinates): across its row for single-point text (the segment must cross the text box's bottom
    // and top edges), between rows for box and multi-row text (it must cross the left and right
    // edges). The character at the middle of the two crossings is found by a hit test of the layout
    // and the cut made there (SplitAnnoAtHit with style); the two new annotations are appended to list
    // (the caller owns them) and this one is unchanged. Turned text is cut in its own frame. 1 when cut;
    // 0 for an empty, formatted, echelon or multi-point text, when the segment misses an edge, or when
    // the cut is refused.
    int FindPosition(const GEOVIEW& style, CPoint p1, CPoint p2, CTypedPtrList<CObList, CGeoAccessorialObject*>& list);

    // ==== end of text editing ====

protected:
    void LoadRecord(CArchive& ar);
    // Brings both arrays to the size the invariant asks for after a load.
    void RepairArrays();
    void NameNew();

    CString m_strText;
    int m_nCharWidth = 50;
    int m_nCharHeight = 50;
    CArray<float, float> m_aAngles;
    float m_fOrientAngle = 0.0f;
    int m_nPositionType = 0;
    BYTE m_byMoveFlag = 1;
    int m_nColSpace = 0;
    BYTE m_byAlignType = 0;
    BYTE m_byStyle = 0;
    int m_nRowSpace = 0;
    COLORREF m_crBackColor = 0;
    float m_fLineWidth = 1.0f;
    float m_fItalicAngle = 150.0f;
    int m_nBoldValue = 400;
    CArray<CPoint, CPoint> m_aPoints;
    tagGEORECT m_Margins;
    tagGEOFORMAT m_Format;

    // The annotation name counter: 0 before the first annotation.
    static int s_nAnnoCount;

    // ==== cutting in two (bodies in AnnoSplit.cpp): the parts take this annotation's layer link ====
    friend int SplitMultiPointAnno(CGeoAnno* a, int k, CObList& out);
    friend int SplitRowsAnno(CGeoAnno* a, int k, CObList& out);
    friend int SplitAnnoAtHit(UINT scale, UINT scale2, CString& text, CPoint point, GEOANNO& hit,
                              const GEOVIEW& view, CObList& out, CGeoAnno* source);
    // ==== end of cutting in two ====
};

// Clears the flipped-handle memory of handle drags (the host calls it between two drags).
void SetHandleZero();

// ==== conversion of annotations into one annotation per character (body in GeoAnnoText.cpp) ====
class CGeoVectorLayer;
// Breaks an annotation into one new annotation per character, appended to list (the caller owns them
// until a layer holds them), and returns 1.
//   - Multi-point: each character with its own point and escape angle, a's own style, attached to a's
//     layer, bounds computed.
//   - Horizontal, unformatted, single-row text: each character stands where it stood in the row
//     (column space kept between neighbours), keeps a's align type, angles, own style and
//     feature-class ID, and is attached to layer (when not NULL).
//   - Any other text: ConvertGeoAnnoToPartion with a's own style, and its result.
// 0 when a is NULL.
int ConvertGeoAnnoToPartAnno(CGeoAnno* a, CTypedPtrList<CObList, CGeoVectorObject*>& list, CGeoVectorLayer* layer);
// Puts the objects of list into layer `to` (NULL: `from`). Into the same layer each is only attached.
// Into another layer each is detached, moved by the difference of the two layers' top-left corners
// (from's less to's, in millimetres, converted to the object's unit) and attached to `to`. The list
// keeps its pointers; the layer that holds them owns them. 0 when from is NULL; else 1.
int AddAnnoListtoLayer(CTypedPtrList<CObList, CGeoVectorObject*>& list, CGeoVectorLayer* from, CGeoVectorLayer* to);
// The conversions below measure on a client DC of the host's main window (the screen when there is
// none) and end in AddAnnoListtoLayer (list, a's layer, layer); they return its result, or 0 when a is
// NULL or refused.
// Outlines of the letters: d = the larger of char width and char height, scale round(d / 50) (at
// least 1, so that small text still gets a font), scale2 = k. 0 for k <= 0.
int ConvertGeoAnnoToPath(CGeoAnno* a, const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list, int k,
                         CGeoVectorLayer* layer);
// The parts that drawing in output mode 5 makes (rows, formatted leaves, frames), drawn at scale 50000
// with the object's spacing and no margins into list (emptied first). 0 for a box annotation.
int ConvertGeoAnnoToPartion(CGeoAnno* a, const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list,
                            CGeoVectorLayer* layer);
// One annotation per row or character (ConvertGeoAnnoToAnnoList at scale 10000).
int ConvertGeoAnnoToList(CGeoAnno* a, const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list,
                         CGeoVectorLayer* layer);
