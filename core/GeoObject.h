// CGeoObject: the root of every model object (vector features, annotations, rasters, layers, maps).
//
// It holds the object's bounding rectangle, name, coordinate unit, the version of the record last
// loaded into it and two words free for callers, and it defines the virtual editing interface through
// which a host drives every object. The bodies here are what an object does when a subclass does not
// override an operation. Queries are const; a subclass that caches derived data keeps the cache mutable.
//
// Coordinates are 32-bit integers in the object's unit with y pointing up. Unit codes: 1 inch,
// 3 millimetre (the default), 4 centimetre, 6 metre, 7 kilometre (ostrel/Units.h).
//
// Device mapping (RPtoLP, LPtoRP): a point in the object's unit is converted to millimetres, then
//   x' = trunc((x + origin.x + offset.x) * 10 / scale),  y' = -trunc((y + origin.y + offset.y) * 10 / scale)
// with the sums taken in 64 bits and results clamped to the LONG range; a scale of 0 counts as 1. When
// the process-wide display translation is on (ostrel/Translate.h), the offset point is translated before
// the origin is added. Device rectangles come out normalised (top < bottom, y pointing down).
//
// Default names: every object is named "对象 " followed by a process-wide counter that starts at -1 and
// is raised by every CGeoObject constructor, so the first object of a process is "对象 0". Classes with
// a counter of their own rename the object in their constructor.
//
// Record (Serialize, in both directions the stored version first becomes 1.0):
//   bounds   16 bytes: left, top, right, bottom as 32-bit signed integers, as stored (not normalised)
//   name     the archive's string form
//   unit     32 bits: the unit code, with bit 31 (0x80000000) set when the library version exceeds 1.0
//   version  32-bit float, the library version; present only when bit 31 of the unit word is set
// Loading clears bit 31 from the unit and keeps the float as the object's stored version (GetOldVersion).
#pragma once

#include <afx/Cursor.h>
#include <afx/afx.h>

class CDC;
class GEOVIEW;

// How a selection rectangle selects: 0 the bounds meet the rectangle, 1 they lie wholly inside it.
enum SELOBJMODE { SELOBJ_MEET = 0, SELOBJ_INSIDE = 1 };

// Snap kinds of the editing interface; a shape answers only the kinds it supports.
enum SNAPTYPE {
    SNAP_NONE = 0,
    SNAP_ENDPOINT = 1,
    SNAP_VERTEX = 2,
    SNAP_MIDPOINT = 3,
    SNAP_PERPENDICULAR = 4,
    SNAP_CENTER = 5,
    SNAP_NEAREST = 6,
    SNAP_QUADRANT = 7,
    SNAP_TANGENT = 8
};

// Show states that an object's style is prepared for before painting (codes 0 to 3; each shape says
// what it does with them, other values change nothing).
enum SHOWSTATE { SHOWSTATE_0 = 0, SHOWSTATE_1 = 1, SHOWSTATE_2 = 2, SHOWSTATE_3 = 3 };

// Tracker of an object being edited: handles are drawn only for the states 1 and 2.
enum TrackerState { TRACKER_NORMAL = 0, TRACKER_SELECTED = 1, TRACKER_ACTIVE = 2 };
// Which handles a tracker leaves out: 0 the first, 1 the last, 2 both; any other value none.
enum TrackerDrawState { TRACKER_NOFIRST = 0, TRACKER_NOLAST = 1, TRACKER_NOENDS = 2, TRACKER_ALL = 3 };

class CGeoObject;

// The bounds member of an object: a CRect that tells its object (CGeoObject::BoundsChanged) whenever it
// is written through one of its own operations, so that a layer indexing its objects by bounds hears of
// every change. Writing a member (left, top, right, bottom) directly bypasses it: code that does so
// calls BoundsChanged itself afterwards. Reading is that of CRect.
class CGeoObjectBounds : public CRect {
public:
    explicit CGeoObjectBounds(CGeoObject* pOwner) : m_pOwner(pOwner) {}
    CGeoObjectBounds(CGeoObject* pOwner, const RECT& r) : CRect(r), m_pOwner(pOwner) {}
    CGeoObjectBounds(const CGeoObjectBounds&) = delete;

    CGeoObjectBounds& operator=(const RECT& r);
    CGeoObjectBounds& operator=(const CGeoObjectBounds& r) { return *this = static_cast<const RECT&>(r); }
    void SetRect(int l, int t, int r, int b);
    void SetRectEmpty();
    void CopyRect(LPCRECT r);
    void InflateRect(int x, int y);
    void InflateRect(SIZE s);
    void InflateRect(int l, int t, int r, int b);
    void DeflateRect(int x, int y);
    void DeflateRect(SIZE s);
    void OffsetRect(int x, int y);
    void OffsetRect(POINT p);
    void OffsetRect(SIZE s);
    void NormalizeRect();
    BOOL IntersectRect(LPCRECT r1, LPCRECT r2);
    BOOL UnionRect(LPCRECT r1, LPCRECT r2);
    BOOL SubtractRect(LPCRECT r1, LPCRECT r2);
    void operator+=(POINT p) { OffsetRect(p); }
    void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
    void operator+=(SIZE s) { OffsetRect(s); }
    void operator-=(SIZE s) { OffsetRect(-s.cx, -s.cy); }
    void operator&=(const RECT& r) { IntersectRect(this, &r); }
    void operator|=(const RECT& r) { UnionRect(this, &r); }
    // Only read access to the corners and the rectangle: a write through them would go unheard.
    const CPoint& TopLeft() const { return CRect::TopLeft(); }
    const CPoint& BottomRight() const { return CRect::BottomRight(); }
    operator LPCRECT() const { return this; }

private:
    void Changed();
    CGeoObject* m_pOwner;
};

class CGeoObject : public CObject {
    DECLARE_SERIAL(CGeoObject)

public:
    CGeoObject();
    // Bounds given; they are kept normalised.
    explicit CGeoObject(const CRect& bounds);
    ~CGeoObject() override;
    CGeoObject(const CGeoObject&) = delete;
    CGeoObject& operator=(const CGeoObject&) = delete;

    void Serialize(CArchive& ar) override;

    // Deletes the object through its virtual destructor.
    void Remove();
    // The same for a pointer that may be NULL (NULL does nothing).
    static void Remove(CGeoObject* pObject);

    // ---- virtual editing interface ----

    // A new object of the same kind; the base copies bounds and unit (name, version and user words are
    // the new object's own) and ignores both arguments. The caller owns the result.
    virtual CGeoObject* Duplicate(int nFlag1, int nFlag2);
    // The bounds in the object's unit, normalised.
    virtual CRect GetBounds() const;
    // GetBounds mapped to device coordinates, inflated by the handle radius on each side when
    // withHandles is non-zero, then by 5 on each side. The style is not read by the base.
    virtual CRect GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW* pView) const;
    // 0: the base has no properties to edit.
    virtual int EditProperties(int nFlag1, int nFlag2, void* pParam);
    // The centre of GetBounds, each coordinate truncated toward zero.
    virtual CPoint GetVisiblePoint() const;
    virtual int CanMove() const;
    // When CanMove: a rectangle of zero width and height moves the bounds so that their top-left corner
    // lands on its top-left corner (size kept); any other rectangle becomes the bounds, normalised.
    virtual void MoveTo(CRect rect);
    // When CanMove: offsets the bounds.
    virtual void Move(CSize offset);
    // 0: the base cannot be mirrored.
    virtual int Mirror(POINT a, POINT b);
    // Draws the handle squares (x - r - 1, y - r - 1, x + r, y + r) around the device positions of
    // handles first .. last with GDI Rectangle, r being the handle radius, with R2_NOTXORPEN, a solid pen
    // of width 0 in the tracker frame colour and a solid brush of the tracker fill colour; raster
    // operation, pen and brush are restored afterwards. Drawing the same tracker twice removes it.
    // Nothing is drawn unless state is 1 or 2. first = 2 for drawState 0 or 2, else 1; last =
    // GetHandleCount() - 1 for drawState 1 or 2, else GetHandleCount(). With a clip rectangle (device
    // units), squares that share no area with it are skipped. A NULL pDC draws nothing.
    virtual void DrawTracker(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset, TrackerState state,
                             TrackerDrawState drawState);
    virtual int CanMoveHandle(int nHandle) const;
    // See the .cpp: the point is clamped to x >= 0, y >= 0 and to the bounds' right and bottom edge,
    // the bounds' edges of the handle take it, and MoveTo normalises the result.
    virtual void MoveHandleTo(int nHandle, CPoint point);
    virtual int CanDeleteHandle(int nHandle) const;
    virtual void DeleteHandle(int nHandle);
    virtual int CanAddHandle(int nHandle) const;
    virtual void AddHandle(int nHandle);
    // Mode SELOBJ_MEET: the normalised bounds and rectangle share area (their intersection is not
    // empty); SELOBJ_INSIDE: the bounds lie inside the rectangle (edges may coincide); other modes FALSE.
    virtual int Intersects(const CRect& rect, SELOBJMODE mode) const;
    virtual int GetHandleCount() const;
    // Handles 1 to 8 of GetBounds ("top" is the smaller y): 1 (left, top), 2 (centre x, top),
    // 3 (right, top), 4 (right, centre y), 5 (right, bottom), 6 (centre x, bottom), 7 (left, bottom),
    // 8 (left, centre y); any other number is handle 1.
    virtual CPoint GetHandle(int nHandle) const;
    // The sizing cursor of the handle (IDC_SIZENWSE for 1, 5 and any other number, IDC_SIZENS for 2 and
    // 6, IDC_SIZENESW for 3 and 7, IDC_SIZEWE for 4 and 8).
    virtual HCURSOR GetHandleCursor(int nHandle) const;
    // Names the object "对象 " + the current object counter.
    virtual void DefaultObjectName();
    // The highest-numbered handle whose square (x - r, y - r, x + r, y + r) around its device position
    // holds the device point (right and bottom edges excluded), r being the handle radius; 0 when none.
    virtual int HandleHitTest(CPoint point, UINT scale, CPoint origin, CPoint offset) const;
    // TRUE when the device point lies in the device rectangle of GetBounds (right and bottom excluded).
    virtual int NormalHitTest(CPoint point, UINT scale, CPoint origin, CPoint offset) const;
    // Converts the bounds from the old unit to the current one.
    virtual void OnUnitChanged(int nOldUnit);
    // Turns the object about the centre by the angle in degrees; the base does nothing. Shapes turn their
    // points with Ostrel's RotatePoint (degrees * pi / 180), so a positive angle turns them clockwise
    // with y up, the same sense as the rotated text of annotations.
    virtual void DoRotateCCW(double degrees, CPoint centre);

    // ---- non-virtual operations ----

    // The stored bounds as kept (no normalising, no virtual call).
    CRect GetPosition() const { return m_rcBounds; }
    // Tells whoever indexes the object by bounds that they (or what GetBounds derives them from) changed;
    // the bounds member calls it itself on every write through its operations (see CGeoObjectBounds).
    void BoundsChanged() { OnBoundsChanged(); }
    // An empty name makes the object take its default name (virtual DefaultObjectName).
    void SetObjectName(CString name);
    CString GetObjectName() const { return m_strName; }
    // Stores a unit code without converting anything; returns the old one.
    int SetUnit(int nUnit);
    int GetUnit() const { return m_nUnit; }
    // Stores a unit code and, when it differs, converts the coordinates (virtual OnUnitChanged); returns
    // the old one.
    int ChangeUnit(int nUnit);
    CRect GetBoundsInMillimeter() const;
    float GetOldVersion() const { return m_fVersion; }
    void SetObjectData(DWORD dwData) { m_dwData = dwData; }
    DWORD GetObjectData() const { return m_dwData; }
    void SetObjectDataPtr(void* pData) { m_pData = pData; }
    void* GetObjectDataPtr() const { return m_pData; }

    // HandleHitTest when handles is non-zero, else NormalHitTest.
    int HitTest(CPoint point, UINT scale, CPoint origin, CPoint offset, int handles) const;
    // TRUE when clip is NULL or GetDrawBounds with the same arguments shares area with it.
    int IntersectsDrawField(RECT* clip, UINT scale, CPoint origin, CPoint offset, int withHandles,
                            const GEOVIEW* pView) const;

    // Rotation: the centre is that of the bounds (flag 0x40), else their (left, top) (0x80), else
    // (right, bottom) (0x400), else (right, top) (0x100), else (left, bottom) (0x200), else the given
    // centre; the angle is 90 (flag 4), else 180 (8), else 270 (0x10), else degrees reduced to
    // (-360, 360) keeping its sign; flag 2 makes it 360 - angle. DoRotateCCW does the work.
    void Rotate(int flags, double degrees, CPoint centre);

    // Object -> device (see the top of this file). The array form maps n points from src into dst; they
    // may be the same array.
    CPoint RPtoLP(UINT scale, CPoint origin, CPoint offset, POINT point) const;
    CRect RPtoLP(UINT scale, CPoint origin, CPoint offset, RECT rect) const;
    void RPtoLP(UINT scale, CPoint origin, CPoint offset, const POINT* src, POINT* dst, int n) const;
    // Device -> object: x = trunc(x' * scale / 10 - origin.x - offset.x),
    // y = trunc(-y' * scale / 10 - origin.y - offset.y), then millimetres -> the object's unit. With the
    // translation on, Translate2 is applied to (x' * scale / 10 - origin.x, -y' * scale / 10 - origin.y)
    // before the offset is taken off. The point and array forms follow the global switch; the rectangle
    // form translates when translate is 1, never when it is 0, and by the global switch otherwise, and
    // returns a normalised rectangle in the object's unit.
    CPoint LPtoRP(UINT scale, CPoint origin, CPoint offset, POINT point) const;
    CRect LPtoRP(UINT scale, CPoint origin, CPoint offset, RECT rect, int translate) const;
    void LPtoRP(UINT scale, CPoint origin, CPoint offset, const POINT* src, POINT* dst, int n) const;

protected:
    // For a class that names its objects itself in its own constructor: the counter is raised as by every
    // constructor, but no default name is made that the class would replace at once (objects are made
    // by the hundred thousand when a layer is read).
    struct NameLater {};
    explicit CGeoObject(NameLater);

    friend class CGeoObjectBounds;
    // Hears BoundsChanged; the base does nothing (an object in a layer passes it on to the layer).
    virtual void OnBoundsChanged();
    // Names the object with a default name: the prefix followed by the counter in decimal (the prefix cut
    // to 52 bytes).
    void SetNumberedName(LPCSTR prefix, int counter);

    CGeoObjectBounds m_rcBounds{this};
    CString m_strName;
    int m_nUnit = 3;
    float m_fVersion = 1.0f;
    DWORD m_dwData = 0;
    void* m_pData = nullptr;

    // The object counter: -1 before the first object, raised by every constructor.
    static int s_nObjectCount;
};
