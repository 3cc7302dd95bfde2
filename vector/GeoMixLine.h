// CGeoMixedLine: a polyline whose successive stretches have different kinds: straight segments, spline
// stretches (a smooth curve through the digitised points) and three-point circular arcs.
//
// Runs. Besides the slot block of the polyline the line keeps a list of runs, each a DWORD descriptor:
// bits 24..31 the run type, bits 0..23 the logical point where the run starts.
//   type 0  straight segments       1 slot per point
//   type 1  spline                  8 slots per point (the point and 7 interpolated slots after it)
//   type 2  three-point arc         1 slot per point (start, middle, end)
// Runs are in increasing order of their first point and the first starts at point 0. Run r covers the
// points from its first point to the next run's first point, both included, so neighbours share their
// boundary point; a boundary point belongs to the run it starts (its stride is that run's). The last run
// covers the remaining points; it may start at the last point and then has no segment yet (a run chosen
// for what comes next while digitising). An arc run covers exactly three points once complete and two
// while its third point is being digitised. An empty line has no runs.
//
// Point indexes are logical points throughout (GetPoint, handles, InsertPointBefore/After, DeletePoint,
// SetLineType); slot access goes through GetPointIndex.
//
// Editing keeps the runs consistent with the slots: every operation that changes the points lays the
// slots out anew from the logical points and the runs, so each spline run gets its interpolated slots
// (rebuilt by OnLineChanged) and every other run one slot per point. An operation that needs a bigger
// block grows it like the polyline (to the next 50 slots); when it cannot, nothing changes. Every editing
// operation refuses (0, or nothing) when the object may not be edited or an index is out of range.
//
// Moving, rotating, changing the unit and transforming act on every slot as for the polyline (the runs
// stay as they are, the curve is rebuilt).
//
// Record: the run list FIRST, before the whole polyline chain (so before the root object's fields), as a
// count (a WORD, or 0xFFFF and a DWORD count from 0xFFFF on) and the descriptors as 32-bit words; then
// the polyline record, which holds the logical points only. A run list that is out of order, does not
// start at point 0, names an unknown type, or does not fit the slot count raises CArchiveException and
// leaves an empty line without runs.
#pragma once

#include "vector/GeoPLine.h"

#include <vector>

class CGeoMixedLine : public CGeoPLine {
    DECLARE_SERIAL(CGeoMixedLine)

public:
    enum { LT_STRAIGHT = 0, LT_SPLINE = 1, LT_ARC = 2 };
    // Interpolated slots between two points of a spline run.
    static const int kSplinePoints = 7;

    // Empty, no runs (the polyline's 50 slots).
    CGeoMixedLine();
    // Empty, no runs, a block of n slots.
    explicit CGeoMixedLine(int n);
    // One point p and a straight run at point 0, a block of n slots (at least 1).
    CGeoMixedLine(int n, CPoint p);
    // One point p and a straight run at point 0.
    explicit CGeoMixedLine(CPoint p);
    // A copy through Copy(src, copyAttributes, attributeMode).
    CGeoMixedLine(const CGeoMixedLine& src, int copyAttributes, int attributeMode);
    // The polyline constructor over n slots (taken as straight points), one straight run at point 0 when
    // n > 0; completed.
    CGeoMixedLine(int n, const POINT* pts, BOOL roundUp);
    ~CGeoMixedLine() override;

    void Serialize(CArchive& ar) override;

    // Slots per point of a run type: 8 for a spline, 1 for the others.
    static int GetLineTypePointSize(int type);

    // Sets the kind of the stretch at point i (0 .. GetPoints() - 1) to type (0, 1 or 2).
    // At the last point (while digitising) the type applies to what comes after it: a last run without a
    // segment is replaced, an arc still waiting for its third point is dropped and its segment joins the
    // new kind, a complete arc followed by an arc starts a new arc run, and a run of the same kind just
    // goes on. At an inner point the run holding it takes the type and merges with neighbours of that
    // type; a line of one run is never made a spline this way. Refused (nothing) when the object may not
    // be edited, i or type is out of range.
    virtual void SetLineType(int i, int type);
    // Type of the run holding point i (a boundary point belongs to the later run); 0 without runs.
    int GetLineType(int i) const;
    // The descriptors, in order.
    const std::vector<DWORD>& GetRuns() const { return m_runs; }

    // ---- slot layout ----

    // 0 without runs; else the points the runs cover.
    int GetPoints() const override;
    // The stride of the run holding point i; 0 outside the points.
    int GetPointSize(int i) const override;
    // First slot of point i (the strides of the points before it).
    int GetPointIndex(int i) const override;
    CPoint GetPoint(int index) const override;
    // The first point gets a straight run; a third arc point completes the arc and starts a straight run
    // at its end point.
    void OnAddPoint() override;
    // Re-interpolates every spline run.
    void OnLineChanged() override;

    // ---- editing ----

    // Inserts p as point i. Inside a run that is not an arc the point joins that run. Inside an arc the
    // arc keeps three points (its first three after the insertion) and its former last segment passes to
    // the following run (a straight run when the following one is an arc too).
    void InsertPointBefore(POINT p, int i) override;
    // Inserts p as point i + 1 by the same rules (i is a point index). 1 when inserted, 0 when refused or
    // the block cannot grow.
    int InsertPointAfter(POINT p, int i) override;
    // Deletes point i. 0 when the point lies in an arc run, when it is the last point and the one before
    // it lies in an arc run, when not editable or out of range; else 1. A run left without a segment is
    // removed, and its neighbours merge when they are of one kind that is not an arc.
    int DeletePoint(int i) override;
    // The polyline's rule, and point h - 1 must not lie in an arc run.
    int CanAddHandle(int nHandle) const override;
    // Empties the points and the runs.
    void Clear() override;
    // Reverses the points and the runs. Nothing when the line ends in an arc still being digitised.
    void Invert() override;

    // ---- measures and hit tests ----

    // Union over the runs: the box of the arc itself for a three-point arc run, the box of the slots
    // (boundary slot included) for the others; (0, 0, 0, 0) without runs.
    void RecalcBounds() override;
    void RecalcBounds(POINT p) override;
    // Sum over the runs in the object's unit: slot to slot for straight and spline runs, radius * angle
    // for a three-point arc (collinear points: the two segments), the chord for an unfinished arc.
    double Length() const override;
    // Whether a run meets the rectangle: an arc of three points as the arc, the others segment by segment.
    int Through(const CRect& rect) const override;

    // ---- painting ----

    // The line has no symbolised form: it is always painted plainly (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // A pen of the Caddox style of the line shape (GetLineShape), the device width GetDevicePenWidth, the
    // line colour; the null brush; R2_NOTXORPEN with xorMode. Each run as a path of its slots, a three-point
    // arc with GDI Arc (collinear: its two segments). No end marks. The DC's state is put back.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;

    // ---- refused ----

    // -1: never on the line.
    int PointOnLine(POINT point, int tolerance) const override;
    int PointOnLine(POINT point) const override;
    // 0: no vertex is inserted by a click.
    int InsertPoint(POINT p, UINT scale) override;
    // 0: a mixed line is not thinned.
    int Compress(CCompressPts& thinner) override;
    // 0: mixed lines are never joined.
    int CanAddLine(CGeoPLine other) const override;
    // Nothing.
    void TrimHead(int n) override;
    void TrimTail(int n) override;

    // ---- copies, names, conversions ----

    // The polyline part, then the runs; 0 (nothing copied) when the source is no mixed line.
    int CopyData(const CGeoVectorObject& src) override;
    // A new mixed line filled by Copy; NULL when the copy fails. The caller owns it.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // "混合曲线".
    CString GetObjectTypeName() const override;
    // Accepted: polyline (every slot of the straight and spline runs, each arc polygonised, boundary
    // points once) and spline (the logical points, 7 interpolated points). The result takes this line's
    // unit and is completed; the caller owns it.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;

private:
    static DWORD MakeRun(int type, int start) { return (static_cast<DWORD>(type) << 24) | (start & 0xFFFFFF); }
    static int RunType(DWORD run) { return static_cast<int>(run >> 24); }
    static int RunStart(DWORD run) { return static_cast<int>(run & 0xFFFFFF); }

    // Index of the run holding point i (the last run starting at or before it); -1 without runs.
    int RunOf(int i) const;
    // First slot of run r, and its slots (boundary slot of the next run not counted, except for the last
    // run, which holds the remaining slots).
    int RunSlotStart(int r) const;
    int RunSlots(int r) const;
    // Last point of run r (the next run's first point, or the last point).
    int RunEnd(int r) const;
    // The logical points in order.
    std::vector<POINT> LogicalPoints() const;
    // Lays the slots out anew for these points and runs: grows the block when needed (false and nothing
    // changed when it cannot), stores the points at their strides, then OnLineChanged and the bounds.
    bool Rebuild(const std::vector<POINT>& pts, const std::vector<DWORD>& runs);
    // Inserts p as point pos into run r (the rules of InsertPointBefore). false when nothing changed.
    bool InsertInto(POINT p, int pos, int r);
    // Whether the runs fit the slot count (validated after a load).
    bool RunsFitSlots() const;

    std::vector<DWORD> m_runs;
};
