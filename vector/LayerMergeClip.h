// Layer merge and clip: host-level operations on whole vector layers.
//
// LayerMerge copies every object of several layers into one target layer; LayerCut copies into the
// target only what lies inside a closed clip polygon, cutting lines at the polygon's edge. Both first
// bring every listed layer and the target to the first layer's origin, carry the feature classes
// (and, on request, the attribute fields and records) over to the target, and create every copied
// object anew in the target (new IDs), so the source layers keep their objects; only their origin
// changes.
//
// Limits kept on purpose:
//   - topological polygons are not copied by either operation: they have no duplicate of their own
//     (their Duplicate gives NULL), so they are skipped;
//   - LayerCut copies the objects it keeps with their attribute records even when withAttributes is
//     0 (only the schema check and the carrying of fields depend on it).
//
// Progress: ClipLayerObjects sends message 1225 (WM_GEO_PROGRESS_STEP) to the main window, when there
// is one, with the percentage in wParam; the count starts again at progressBase for every layer.
#pragma once

#include <afx/afx.h>
#include <win32/wintypes.h>

#include "vector/GeoVectorLayerList.h"

class CGeoObject;
class CGeoVectorObject;
class CGeoVectorLayer;


// A vertex of the clip polygon: x then y, 16 bytes.
struct DPoint {
    double x;
    double y;
};

#define WM_GEO_PROGRESS_STEP 1225

// The message shown for an open clip polygon (GBK): "请指定封闭裁剪边缘!".
extern const char CLIP_OPEN_POLYGON_MESSAGE[];

// Copies every object of the listed layers into target (layers and then objects in list order).
// With attributes, the first layer's common fields join the target's theme and every record is
// copied. Returns 1 when done; 0 when the list is empty or its first entry is NULL, or when target
// is NULL or cannot be edited (nothing is copied then, and no origin changes).
int LayerMerge(CGeoVectorLayerList& layers, CGeoVectorLayer* target, int withAttributes);

// Copies into target what lies inside the closed clip polygon of count vertices (converted to layer
// coordinates by ClipPolygonToLayer with the target's bounds). Each layer is cut in a work layer
// that carries the layer's common fields, so records keep their common values on the way. Returns 1 when done; 0, before
// anything changes, when the list is empty or its first entry is NULL, when target is NULL or cannot
// be edited, when polygon is NULL or count is not positive, when the polygon is open (its last vertex
// does not equal its first exactly: the message CLIP_OPEN_POLYGON_MESSAGE is shown once), or, with attributes, when the
// layers' schemas disagree (common fields of the same names and types in every layer, same-ID
// classes with the same number of same-named fields of the same types; text sizes may differ).
// A line is cut at every point where it meets the polygon's outline (crossings, touches at a vertex,
// both ends of a stretch along an edge); a piece is kept when a point strictly inside it lies inside
// the polygon or on its outline, found with exact arithmetic, and its ends are the crossings rounded
// to the nearest whole unit (so they may lie up to half a unit outside). Pieces of no length are
// never made. Objects whose bounds stay clear of the polygon's box are not copied into the work
// layer at all.
int LayerCut(CGeoVectorLayerList& layers, DPoint* polygon, LONG count, CGeoVectorLayer* target, int withAttributes);

// The clip polygon in layer coordinates, exactly as hosts fit their points to it:
//   x' = trunc((x + 0.5 - originX * 1000 - bounds.right) / 1000)
//   y' = trunc((y + 0.5 - originY * 1000 - bounds.top) / 1000)
// truncated toward zero (and saturated to 32 bits); bounds are the target's bounds in millimetres.
// out receives count points.
void ClipPolygonToLayer(const DPoint* polygon, int count, double originX, double originY, const CRect& bounds,
                        POINT* out);

// Duplicates every vector object of the list into target: moved by the difference of the top-left
// corners of its own layer's and the target's bounds (millimetres, converted to the object's unit),
// with its own style, new IDs from the target; with attributes also its feature class (carried into
// the target's theme when missing) and its record (CopyObjectAttributes), without them class 0.
// Objects without a duplicate (topological polygons) are skipped. 0 when target is NULL or cannot be
// edited; 1 otherwise (at once for an empty list).
int CopyObjectsToLayer(CObList& objects, CGeoVectorLayer* target, int withAttributes);

// Copies the record of (sourceUserID, sourceClass) in source to (targetUserID, targetClass) in
// target: common fields matched by name among the target's common fields, class fields among the
// target class's fields; a match needs the same type and, for text, a target size at least the
// source's. Required target fields are relaxed while the record is written. Returns 1 when written,
// or when the target already holds that record (nothing copied); 0 when the source has no such
// record, when nothing matched, or when the write fails.
int CopyObjectAttributes(CGeoVectorLayer* source, CGeoVectorLayer* target, UINT sourceClass, UINT targetClass,
                         UINT sourceUserID, UINT targetUserID);

// The clip worker: copies the objects of source (with attributes) into work and cuts them by the
// closed boundary line. removed lists the work objects that lie outside or were cut (they stay in
// work; a cut line's place is taken by its first surviving piece, the line itself is then no longer
// listed in work and belongs to the caller); pieces lists the surviving pieces (cut as LayerCut
// tells). Points are removed when outside, annotations when the top-left corner of their bounds is
// outside, lines are cut (a line whose bounds only touch the boundary's box is cut too);
// topological polygons and other objects are left alone. An open boundary shows
// CLIP_OPEN_POLYGON_MESSAGE and does nothing. Only progressBase 0, outsideMode 0 and mode 0 are
// defined; the two modes are accepted and ignored.
void ClipLayerObjects(CGeoVectorLayerList& layers, CGeoObject* boundary, CGeoVectorLayer* source, CObList& removed,
                      CObList& pieces, CGeoVectorLayer* work, int progressBase, int outsideMode, int mode);

// The vertices of a line shape as a new POINT[] (delete[]): polylines of every kind directly
// (GetShapeRingPoints); three-point arcs, rectangles and circles (with their derived kinds) through a
// temporary polyline conversion. NULL with count 0 for other shapes or an empty outline.
POINT* GetClipPoints(CObject* shape, int& count);

// The points of a polyline as a new POINT[] (delete[]): a right-angle polygon's vertex ring plus its
// first vertex again; a polygon line's points plus the first again; a spline's every slot; any other
// polyline's points. NULL with count 0 for NULL, a non-polyline or an empty line.
POINT* GetShapeRingPoints(CObject* polyline, int& count);

// Gives a new piece the source object's identity (replace 1: takes its place in its layer through
// CGeoVectorLayer::Replace) or properties (replace 0: joins the source's layer with its user ID,
// unit, feature class, display attribute and own style; a line piece is marked completed). In both
// cases the piece takes the source's Z value.
void InheritObjectProperties(CGeoVectorObject* piece, CGeoVectorObject* source, int replace);
// The replace-0 form that always marks a line piece completed.
void AttachObjectPiece(CGeoVectorObject* piece, CGeoVectorObject* source);
