// CGeoLine, the base of every line-like shape, and CGeoOpenLine, the base of the lines whose vertices
// are their edit handles.
//
// A line keeps a count of stored point slots (a logical point of a polyline may own several slots, see
// GeoPLine.h) and a completed flag, and adds the line operations (end points, adding and moving points,
// point-on-line tests, length, crossing a rectangle) and the conversion protocol. The bodies here are
// what a line does when its shape class does not override an operation; none of them fails.
//
// Conversions. ConvertTo(code, flags) turns a line into a NEW object of another shape: the code is a
// shape type code (GeoLineType.h), the flags travel unchanged to CanConvertTo and ConvertMeTo (only the
// spline reads them). The source never changes. The result carries the converted geometry, the source's
// unit and Z value, belongs to no layer, has its own IDs, default name, default display attribute and
// empty symbol attributes; the caller owns it (and deletes it). A refused conversion returns NULL.
// Which codes a class accepts is one table (GeoLineType.cpp); CanConvertTo reads it.
//
// Default names: every line class shares one process-wide counter that starts at -1 and is raised by
// every CGeoLine constructor, so the first line of a process is "线 0", whatever its class.
//
// Record (after the vector-object record; same order for store and load, no version gate):
//   completed   32 bits
//   slot count  32 bits
// CGeoOpenLine adds nothing.
#pragma once

#include "core/GeoVectorObject.h"

class CGeoLine : public CGeoVectorObject {
    DECLARE_SERIAL(CGeoLine)

public:
    CGeoLine();
    ~CGeoLine() override;

    void Serialize(CArchive& ar) override;

    // ---- line operations (virtual, with the base bodies) ----

    // GetPoint(0).
    virtual CPoint GetFirstPoint() const;
    // GetPoint(GetPoints() - 1).
    virtual CPoint GetLastPoint() const;
    // 0 when the line has no point; else the first and the last point and 1.
    virtual int GetStartAndEndPoint(CPoint& start, CPoint& end) const;
    // Whether this line converts to the code (only its type byte counts): the row of the line's class
    // in the conversion table, a class without a row taking its base's. The base row accepts nothing.
    int CanConvertTo(WORD code, DWORD flags) const override;
    // Digitises one more point; returns 1 on success. The base stores nothing and returns 1.
    virtual int AddPoint(POINT point);
    // Slot count 0, bounds emptied.
    virtual void Clear();
    // Where the point lies on the line within the tolerance; -1 (not on the line) in the base.
    virtual int PointOnLine(POINT point, int tolerance) const;
    virtual int PointOnLine(POINT point) const;
    // Whether the two lines cross; 0 in the base.
    virtual int LineXLine(const CGeoLine& other) const;
    // Length in the object's unit; 0.0 in the base.
    virtual double Length() const;
    // Offsets / places logical point index; nothing in the base.
    virtual void MovePoint(int index, POINT offset);
    virtual void MovePointTo(int index, POINT position);
    // Whether the line passes through the rectangle (given normalised, in the object's unit); 1 in the
    // base.
    virtual int Through(const CRect& rect) const;
    // Builds the converted object (see the top of this file); NULL when CanConvertTo refuses. The base
    // builds nothing and returns NULL.
    virtual CGeoLine* ConvertMeTo(WORD code, DWORD flags) const;

    // ---- overrides ----

    // A new CGeoLine filled by Copy with both arguments; NULL when the copy fails. The caller owns it.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The vector-object data, then the slot count and the completed flag; 0 (nothing copied) when the
    // source is not a line.
    int CopyData(const CGeoVectorObject& src) override;
    // The slot count.
    int GetPoints() const override;
    // (0, 0) for every index; each shape answers for its own points.
    CPoint GetPoint(int index) const override;
    int GetHandleCount() const override;
    // Nothing when rect equals the bounds; else Move by rect's top-left minus the bounds' top-left (the
    // size of rect is not used, so shapes held by unnormalised corners keep them).
    void MoveTo(CRect rect) override;
    // SELOBJ_INSIDE: the bounds lie inside the rectangle. Any other mode: the envelope test, then, on the
    // normalised rectangle r and the bounds b: a point-sized b is hit when r holds it (right and bottom
    // edges excluded); a horizontal or vertical b when the segment across it meets r; otherwise when r
    // spans b's whole height or whole width, or else when Through(r & b).
    int Intersects(const CRect& rect, SELOBJMODE mode) const override;
    // "线 " + the line counter.
    void DefaultObjectName() override;
    // ConvertTo (code, flags).
    CGeoVectorObject* ConvertShape(WORD code, DWORD flags) const override;
    // ConvertTo a plain polyline (GLT_PLINE, flags 0).
    CGeoVectorObject* ConvertToPolyline() const override;

    // ---- non-virtual ----

    // CanConvertTo, then ConvertMeTo, then the source's Z value on the result. NULL when refused.
    // The caller owns the result.
    CGeoLine* ConvertTo(WORD code, DWORD flags) const;
    void Complete(int completed) { m_bCompleted = completed; }
    int IsCompleted() const { return m_bCompleted; }
    int AddPoint(int x, int y);
    void MovePoint(int index, int dx, int dy);
    void MovePointTo(int index, int x, int y);

protected:
    int m_nSlotCount = 0;   // point slots in use
    int m_bCompleted = 0;   // digitising is over

    // The line counter shared by every line class: -1 before the first line.
    static int s_nLineCount;
};

class CGeoOpenLine : public CGeoLine {
    DECLARE_SERIAL(CGeoOpenLine)

public:
    CGeoOpenLine();
    ~CGeoOpenLine() override;

    void Serialize(CArchive& ar) override;

    // Reverses the order of the points; nothing in the base.
    virtual void Invert();

    // GetPoint(GetPoints() / 2).
    CPoint GetVisiblePoint() const override;
    // GetPoints(): every vertex is a handle.
    int GetHandleCount() const override;
    // Handle h is point h - 1 (handle 0 gives GetPoint(-1), (0, 0) for the polyline family).
    CPoint GetHandle(int nHandle) const override;
    // The library's handle cursor (resource IDC_GEO_HANDLE, 322) for every handle.
    HCURSOR GetHandleCursor(int nHandle) const override;
    // When CanMoveHandle(h): MovePointTo(h - 1, point), which refuses an index outside the points.
    void MoveHandleTo(int nHandle, CPoint point) override;
    // The style's line symbol.
    int GetObjectSymbolID(GEOVIEW view) const override;
};
