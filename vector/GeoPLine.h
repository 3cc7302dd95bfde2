// CGeoPLine: the polyline, an ordered run of 32-bit integer points in the object's unit kept in one
// growable heap block of POINT slots.
//
// Slots and logical points. The slot count (CGeoLine) counts slots in use. A logical point may own
// several slots: point i starts at slot GetPointIndex(i), and the slots between two logical points hold
// points derived from them (a spline's interpolated points). With the stride s = GetPointSize(0):
//   slot count = 0 for an empty line, else (points - 1) * s + 1;  the last logical point is the last slot.
// The polyline's stride is 1, so its slots and points coincide. Subclasses change the layout only
// through the hooks GetPointSize, GetPointIndex, GetPoints, OnAddPoint and OnLineChanged (rebuild
// derived slots) and CanSamePoint; what draws, measures or hit-tests works over all slots.
//
// Capacity. GetPointBufferSize is the block's size in bytes. It grows in steps of 50 slots
// (NearestSize: the next multiple of 50 slots strictly above a count), and Trim makes it exactly the
// slots in use (Clear and a load trim it too; an empty line keeps up to 50 slots). When the block
// cannot grow, the operation that needed it changes nothing and reports failure (0, or nothing for the
// operations without a result).
//
// Editing operations refuse (0 or nothing) when the object may not be edited (its layer refuses) or a
// point index lies outside 0 .. GetPoints() - 1. After every change of the points OnLineChanged runs,
// then the bounds are recomputed. Handle h is logical point h - 1.
//
// Record (after the line record; no version gate): GetPoints() * 8 bytes, the first slot of every
// logical point in order, x then y as 32-bit signed little-endian, one raw block. Loading scatters them
// at the stride already known (a subclass reads its own fields first), runs OnLineChanged and trims the
// block to the slots in use; the bounds come from the root record. A slot count that is negative or
// promises more points than the archive holds raises CArchiveException (so does a stride below 1), and
// leaves an empty line; nothing is allocated from a count before the archive is known to hold it.
#pragma once

#include "vector/GeoLine.h"

#include <cstddef>

class CCompressPts;
class CGeoTinPoint;

// 8 * n bytes: the size of n slots.
LONGLONG LineMemSize(int n);
// LineMemSize of (n / 50 * 50 + 50) slots: the next multiple of 50 slots strictly above n (0 gives
// 400, 49 gives 400, 50 gives 800). 0 when that size does not fit an int (no block can be that big).
int NearestSize(int n);

// The allocator behind every point block, with realloc's contract (NULL on failure, the old block then
// left as it was); blocks are released with free. Tests replace it to make growth fail; NULL restores
// realloc. Returns the previous one.
using LineMemAllocator = void* (*)(void* block, std::size_t bytes);
LineMemAllocator SetLineMemAllocator(LineMemAllocator allocator);

class CGeoPLine : public CGeoOpenLine {
    DECLARE_SERIAL(CGeoPLine)

public:
    // Empty, a block of 50 slots.
    CGeoPLine();
    // Empty, a block of n slots (a negative n counts as 0).
    explicit CGeoPLine(int n);
    // One point p in a block of n slots (at least 1); bounds the empty rectangle at p.
    CGeoPLine(int n, CPoint p);
    // One point p in a block of 50 slots; bounds the empty rectangle at p.
    explicit CGeoPLine(CPoint p);
    // A block of 50 slots filled by Copy(src, copyAttributes, attributeMode) (nothing is copied when
    // src is of another class).
    CGeoPLine(const CGeoPLine& src, int copyAttributes, int attributeMode);
    // Copy(src, 0, 1): the geometry and data without layer attributes.
    CGeoPLine(const CGeoPLine& src);
    // The n slots of pts copied (slots, not logical points) into a block of n slots, or of
    // NearestSize(n) when roundUp; completed; bounds recomputed. n <= 0 or NULL pts: empty.
    CGeoPLine(int n, const POINT* pts, BOOL roundUp);
    ~CGeoPLine() override;
    CGeoPLine& operator=(const CGeoPLine&) = delete;

    void Serialize(CArchive& ar) override;

    // ---- polyline operations (virtual) ----

    // Extends the bounds by a point just added (the first point makes them the empty rectangle at it).
    virtual void RecalcBounds(POINT p);
    // Inserts p as logical point i (0 <= i < GetPoints()); refused on an empty line.
    virtual void InsertPointBefore(POINT p, int i);
    // Inserts p as logical point i + 1 (0 <= i < GetPoints()). 1 when inserted; 0 when refused or the
    // block cannot grow.
    virtual int InsertPointAfter(POINT p, int i);
    // Deletes logical point i with the derived slots before it (point 0 with those after it). 1 when
    // deleted, 0 when refused. A one-point line becomes empty.
    virtual int DeletePoint(int i);
    // Keeps the first n points (0 < n <= GetPoints()), trims the block.
    virtual void TrimHead(int n);
    // Keeps the last n points (0 < n <= GetPoints()), trims the block.
    virtual void TrimTail(int n);
    // Slots owned by logical point i: 1.
    virtual int GetPointSize(int i) const;
    // First slot of logical point i: i * GetPointSize(0).
    virtual int GetPointIndex(int i) const;
    // Hook after AddPoint stored a point: nothing.
    virtual void OnAddPoint();
    // Hook after any change of the points, before the bounds are recomputed: nothing.
    virtual void OnLineChanged();
    // Whether point i may coincide with its previous (side 1) or next (side 0) neighbour: 1. Where a
    // class answers 0, moving a point onto that neighbour shifts it by (+5, +5) object units.
    virtual int CanSamePoint(int i, int side) const;
    // Whether another line may be joined to this one: 1.
    virtual int CanAddLine(CGeoPLine other) const;

    // ---- overrides ----

    // This line.
    CGeoPLine* AsPLine() override { return this; }
    // 0 when the slot count is 0, else (slot count - 1) / GetPointSize(0) + 1.
    int GetPoints() const override;
    // Logical point i; (0, 0) outside 0 .. GetPoints() - 1.
    CPoint GetPoint(int index) const override;
    // Slot 0 and the last slot, and 1; 0 for an empty line.
    int GetStartAndEndPoint(CPoint& start, CPoint& end) const override;
    // Appends a logical point with the stride of the current last point (the first point owns one
    // slot); OnAddPoint, OnLineChanged, then the bounds. 1 on success; 0 when not editable or the block
    // cannot grow.
    int AddPoint(POINT point) override;
    // When editable: no slot in use, bounds emptied, block trimmed.
    void Clear() override;
    // Offsets logical point index (nothing for a (0, 0) offset or an index outside the points).
    void MovePoint(int index, POINT offset) override;
    // Places logical point index (nothing for an index outside the points).
    void MovePointTo(int index, POINT position) override;
    // Reverses the logical points (derived slots are rebuilt by OnLineChanged).
    void Invert() override;
    // A new CGeoPLine filled by Copy with both arguments; NULL when the copy fails. The caller owns it.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The line part, then every slot; 0 and nothing copied when the source is no polyline or the block
    // cannot hold its slots.
    int CopyData(const CGeoVectorObject& src) override;
    // The bounds of every slot in use ((0, 0, 0, 0) for an empty line).
    void RecalcBounds() override;
    // When CanMove and d is not (0, 0): every slot and the bounds offset by d.
    void Move(CSize d) override;
    // Every slot turned by Ostrel RotatePoint(slot, centre, degrees * pi / 180), then the bounds.
    void DoRotateCCW(double degrees, CPoint centre) override;
    // The vector-object part, then every slot converted from the old unit to the current one.
    void OnUnitChanged(int nOldUnit) override;
    // "折线".
    CString GetObjectTypeName() const override;
    // 1 when editable, 0 < h <= GetPoints() and the line has more than one point.
    int CanDeleteHandle(int nHandle) const override;
    int CanAddHandle(int nHandle) const override;
    // DeletePoint(h - 1) when CanDeleteHandle(h).
    void DeleteHandle(int nHandle) override;
    // When CanAddHandle(h): inserts after point h - 1 a point a tenth of the way towards point h, or at
    // the last handle a tenth of the last side beyond the end (integer division per coordinate).
    void AddHandle(int nHandle) override;
    // Coordinates of logical point i (0 outside the points).
    int GetX(int i) const override;
    int GetY(int i) const override;
    // One TIN vertex per logical point i at the cursor: number i, main body this line, distance the
    // squared distance (as double) from point i to the reference point; the cursor advances one record
    // each. Returns the number of points. The cursor's array must hold GetTinPointNumber() records.
    LONG CreateTinPoints(CGeoTinPoint*& cursor, CPoint& reference) override;

    // ---- non-virtual ----

    // The slots, for direct access; close every access with ReleasePointBuffer (which does nothing).
    POINT* GetPointBuffer() { return m_pPoints; }
    const POINT* GetPointBuffer() const { return m_pPoints; }
    void ReleasePointBuffer() const {}
    // Capacity in bytes.
    int GetPointBufferSize() const { return m_nCapacity; }
    // AppendLineMem(bytes).
    int SetPointBufferSize(int bytes) { return AppendLineMem(bytes); }
    // Makes the capacity exactly the slots in use (an empty line keeps up to 50 slots).
    void Trim();
    // Index of the first logical point equal to the point, -1 when none.
    int FindPoint(POINT point) const;
    int FindPoint(int x, int y) const { return FindPoint(POINT{x, y}); }
    // 1 with the index of the first equal logical point, or 0.
    int FindPoint(POINT point, int& index) const;
    int FindPoint(int x, int y, int& index) const { return FindPoint(POINT{x, y}, index); }
    // Deletes the first logical point equal to the point (virtual DeletePoint); 0 when none is.
    int DeletePoint(POINT point);
    int DeletePoint(int x, int y) { return DeletePoint(POINT{x, y}); }
    void InsertPointBefore(int x, int y, int i) { InsertPointBefore(POINT{x, y}, i); }
    int InsertPointAfter(int x, int y, int i) { return InsertPointAfter(POINT{x, y}, i); }

    // ==== Drawing, hit tests, snapping, joining and transformation (GeoPLineDraw.cpp, GeoPLineEdit.cpp) ====
    // All of them work over every slot in use, derived slots included (so a spline draws, measures and
    // hit-tests its interpolated curve); point indexes they report are logical points (slot / stride).

    // Symbolised painting: the style's line symbol along the device points as one part (mode -300 with
    // xorMode, else 13), the symbol taking the style's line colour unless keepColours is set. With no
    // library, a line symbol of 0, or a library that fails to draw, the plain painter draws instead
    // (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // Plain painting: the line pen of the style (a geometric pen of the style's line shape when the device
    // width GetDevicePenWidth exceeds 1, else a solid cosmetic pen), the null brush, R2_NOTXORPEN with
    // xorMode; the device points through the clipped PolyLine; then the dangle marks (bits 0x01, 0x02)
    // and false-node marks (0x08, 0x10) at the first and last device point (the last only for more than
    // one slot). The DC's raster operation, pen and brush are put back.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The style's line symbol decomposed along the slots (converted to millimetres) through the
    // outputer, colours kept. 1 when the library did it; 0 when it failed, the line symbol is 0 or an
    // argument is NULL.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

    // The logical point that starts the first segment meeting the square of 2 units about p (edges
    // count); -1 for an empty line or a point more than 2 units outside the bounds. A one-slot line
    // answers 0 only for its own point.
    int PointOnLine(POINT point) const override;
    // The logical point that starts the first segment whose distance to p is below the tolerance; -1
    // for an empty line or a point outside the bounds grown by the tolerance. A one-slot line answers 0
    // when p lies nearer than the tolerance.
    int PointOnLine(POINT point, int tolerance) const override;
    // Whether a segment meets the rectangle (edges count); a one-slot line: whether the rectangle holds
    // the point (right and bottom edges excluded). 0 for an empty line.
    int Through(const CRect& rect) const override;
    // Sum of the segment lengths over all slots, in the object's unit; 0.0 below 2 slots.
    double Length() const override;
    // Snaps to the slots: SNAP_ENDPOINT (the first and last slot), SNAP_VERTEX, SNAP_MIDPOINT,
    // SNAP_PERPENDICULAR, SNAP_NEAREST through the planar-geometry snapping of the same name (the area,
    // index and tolerance passed through; the index is a slot). 1 when it snapped; 0 otherwise and for
    // every other kind.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;
    // Every slot from the object's unit plus (dx, dy) metres through the transformer (less its second
    // offsets when it is a CBaseCoordinateTransformer) back to the object's unit, truncated toward zero
    // (clamped to the coordinate range); then OnLineChanged and the bounds.
    void Transform(CGeoCoordinateTransformer& transformer, double dx, double dy) override;

    // Inserts a vertex where the click p (object units) lies on a segment, the tolerance t being the
    // handle radius (device units) at the scale. A click within t of a vertex (the square about it, right
    // and bottom edges excluded) inserts nothing (0). Otherwise the first segment whose perpendicular
    // foot from p falls within it and that passes within t of p gets the foot (not p) as a new point after
    // its first logical point: the result is InsertPointAfter's (1 inserted, 0 refused or out of memory).
    // 0 when no segment qualifies.
    virtual int InsertPoint(POINT p, UINT scale);
    // Thins the slots in place with the open-line mode of the thinner and may lower the slot count; then
    // OnLineChanged and the bounds. Returns the thinner's result; 0 (nothing done) below 3 slots.
    virtual int Compress(CCompressPts& thinner);

    // Joining. Each refuses (0, both lines unchanged) when the other line is of another class, this line
    // may not be edited or CanAddLine refuses the other.
    // AddTail appends the other line's logical points after this line's last point, at this line's
    // stride; when this line's last slot equals the other's first point that point is not repeated.
    // With orient set the other line is first reversed in place (its Invert) when its end lies nearer
    // this line's end than its start does. 1 when joined, also when the other line has no points; 0 when
    // the block cannot grow (the other line may already have been reversed). The block grows to the
    // larger of (this slots + other slots) and the slots the join writes.
    int AddTail(CGeoPLine& other, BOOL orient);
    // The mirror image: the other line's points go before this line's first point (the other's last
    // point left out when it equals this line's first slot); with orient the other is reversed when its
    // start lies nearer this line's start than its end does.
    int AddHead(CGeoPLine& other, BOOL orient);
    // Joins at the nearest pair of ends (squared distances start-start, start-end, end-start, end-end,
    // the first of equal ones winning): start-start reverses this line and appends the other; start-end
    // puts the other before this line; end-start appends it; end-end appends a reversed copy (the other
    // line is left unchanged). 0 also when either line has no points.
    int AddLine(CGeoPLine& other);
    // ==== end of drawing, hit tests, snapping, joining and transformation ====

    // ==== Conversions (GeoPLineConvert.cpp) ====
    // Builds the converted line (accepted: spline, and from 3 points on polygon line and right-angle
    // polygon); NULL when CanConvertTo refuses. Every result takes this line's unit and is completed; the
    // caller owns it.
    //   spline: a CGeoSPLine whose k is the code's parameter byte (0: the global default), every slot
    //           added in order (a point equal to the one before is dropped); NULL when fewer than 2
    //           control points remain.
    //   polygon line: the slots, less the last when it repeats the first; face flag 0.
    //   right-angle polygon: the slots as control points; face flag 0.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // ==== end of conversions ====

    using CGeoLine::AddPoint;
    using CGeoLine::MovePoint;
    using CGeoLine::MovePointTo;

protected:
    // Resizes the block, c being the capacity: bytes < 0 adds 50 slots; bytes 0 shrinks a block above
    // 50 slots to 50 (else nothing, 0); bytes equal to c does nothing (0); otherwise the capacity
    // becomes bytes. 1 when the block was resized; 0 when nothing happened or the allocation failed
    // (the old block then stays).
    int AppendLineMem(int bytes);
    // Grows the block to NearestSize(slots) when it holds fewer than slots slots. 0 when it cannot.
    int EnsureSlots(int slots);
    // The load half of the record, after the line part; throws on a bad slot count.
    void LoadPoints(CArchive& ar);
    // First slot of logical point index, or -1 outside the points.
    int SlotOf(int index) const;
    // Stores a moved point, moves it off a neighbour it may not coincide with, then OnLineChanged and
    // the bounds.
    void PlacePoint(int index, int slot, POINT position);

    POINT* m_pPoints = nullptr;
    int m_nCapacity = 0;  // bytes
    // A line read from a file with one or two points keeps them here, in the object, instead of in a
    // block of their own (m_pPoints then points here); growing moves them out into a block.
    POINT m_inlinePoints[2];
    bool PointsInline() const { return m_pPoints == m_inlinePoints; }
};
