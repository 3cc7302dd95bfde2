#include "vector/LayerMergeClip.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoCircle.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRAPolygon.h"
#include "vector/GeoRect.h"
#include "vector/GeoSPLine.h"
#include "vector/GeoTriPointArc.h"
#include "vector/GeoTriPointCircle.h"

#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/ShapePoints.h>
#include <ostrel/Units.h>
#include <tamsel/GeoAttributeDatabase.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const short kTextField = 10;  // DAO text

bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

LONG Saturate(double v) {
    if (!(v > -2147483648.0)) return INT32_MIN;
    if (v > 2147483647.0) return INT32_MAX;
    return static_cast<LONG>(v);
}

void CommonOrigin(CGeoVectorLayerList& layers, CGeoVectorLayer* target) {
    double x = 0, y = 0;
    layers.GetHead()->GetLayerOrigin(x, y);
    for (POSITION pos = layers.GetHeadPosition(); pos;)
        if (CGeoVectorLayer* layer = layers.GetNext(pos)) layer->ChangeLayerOrigin(x, y);
    target->ChangeLayerOrigin(x, y);
}

bool ValidList(CGeoVectorLayerList& layers) { return !layers.IsEmpty() && layers.GetHead() != nullptr; }

bool Editable(CGeoVectorLayer* target) { return target && target->CanBeEdited(); }

// The annotation object is a higher subsystem's class: it is recognised by its run-time class name.
bool IsAnnotation(CObject* obj) {
    for (CRuntimeClass* rc = obj->GetRuntimeClass(); rc; rc = rc->m_pBaseClass)
        if (std::strcmp(rc->m_lpszClassName, "CGeoAnno") == 0) return true;
    return false;
}

void SendProgress(int value) {
    if (CWnd* wnd = AfxGetMainWnd()) wnd->SendMessage(WM_GEO_PROGRESS_STEP, static_cast<WPARAM>(value), 0);
}

std::vector<CDaoFieldInfo> FieldsOf(const CGeoTheme& theme) {
    std::vector<CDaoFieldInfo> out(static_cast<size_t>(theme.GetFieldCount()));
    for (int i = 0; i < theme.GetFieldCount(); ++i) theme.GetFieldInfo(i, out[i]);
    return out;
}

std::vector<CDaoFieldInfo> FieldsOf(const CGeoGClass& gc) {
    std::vector<CDaoFieldInfo> out(static_cast<size_t>(gc.GetFieldCount()));
    for (int i = 0; i < gc.GetFieldCount(); ++i) gc.GetFieldInfo(i, out[i]);
    return out;
}

int FindByName(const std::vector<CDaoFieldInfo>& fields, const CString& name) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].m_strName == name) return static_cast<int>(i);
    return -1;
}

// Same-named fields agree in type (text sizes may differ), and the lists are equally long.
bool FieldsAgree(const std::vector<CDaoFieldInfo>& a, const std::vector<CDaoFieldInfo>& b) {
    if (a.size() != b.size()) return false;
    for (const CDaoFieldInfo& f : a) {
        int k = FindByName(b, f.m_strName);
        if (k < 0 || b[k].m_nType != f.m_nType) return false;
    }
    return true;
}

bool SchemasAgree(CGeoVectorLayerList& layers) {
    const std::vector<CDaoFieldInfo> first = FieldsOf(layers.GetHead()->m_Theme);
    std::vector<CGeoGClass> classes;
    for (POSITION pos = layers.GetHeadPosition(); pos;) {
        CGeoVectorLayer* layer = layers.GetNext(pos);
        if (!layer) continue;
        if (!FieldsAgree(first, FieldsOf(layer->m_Theme))) return false;
        for (int i = 0; i < layer->m_Theme.GetGCCount(); ++i) {
            CGeoGClass gc;
            layer->m_Theme.GetGC(i, gc);
            for (const CGeoGClass& seen : classes)
                if (seen.GetGCID() == gc.GetGCID() && !FieldsAgree(FieldsOf(seen), FieldsOf(gc))) return false;
            classes.push_back(gc);
        }
    }
    return true;
}

}  // namespace

void ClipPolygonToLayer(const DPoint* polygon, int count, double originX, double originY, const CRect& bounds,
                        POINT* out) {
    for (int i = 0; i < count; ++i) {
        out[i].x = Saturate(std::trunc((polygon[i].x + 0.5 - originX * 1000 - bounds.right) / 1000));
        out[i].y = Saturate(std::trunc((polygon[i].y + 0.5 - originY * 1000 - bounds.top) / 1000));
    }
}

// ---- copying ----

int CopyObjectAttributes(CGeoVectorLayer* source, CGeoVectorLayer* target, UINT sourceClass, UINT targetClass,
                         UINT sourceUserID, UINT targetUserID) {
    if (!source || !target) return 0;
    CGeoAttributeDatabase* srcDB = source->GetAttributeDatabase();
    if (!srcDB || !srcDB->IsExistID(sourceUserID, sourceClass)) return 0;
    CGeoValueList srcValues;
    if (!source->GetAttribute(sourceUserID, &srcValues, sourceClass)) return 0;
    if (CGeoAttributeDatabase* dstDB = target->GetAttributeDatabase())
        if (dstDB->IsExistID(targetUserID, targetClass)) return 1;

    CGeoGClass srcClass, dstClass;
    source->GetGClass(sourceClass, srcClass);
    if (!target->GetGClass(targetClass, dstClass)) return 0;
    const std::vector<CDaoFieldInfo> srcCommon = FieldsOf(source->m_Theme), srcOwn = FieldsOf(srcClass);
    std::vector<CDaoFieldInfo> dstCommon = FieldsOf(target->m_Theme), dstOwn = FieldsOf(dstClass);

    std::vector<COleVariant> src;
    for (POSITION pos = srcValues.GetHeadPosition(); pos;) src.push_back(srcValues.GetNext(pos));
    std::vector<COleVariant> dst(dstCommon.size() + dstOwn.size());

    bool matched = false;
    auto match = [&](const std::vector<CDaoFieldInfo>& from, size_t fromBase, const std::vector<CDaoFieldInfo>& to,
                     size_t toBase) {
        for (size_t i = 0; i < from.size(); ++i) {
            int k = FindByName(to, from[i].m_strName);
            if (k < 0 || to[k].m_nType != from[i].m_nType) continue;
            if (from[i].m_nType == kTextField && to[k].m_lSize < from[i].m_lSize) continue;
            if (fromBase + i < src.size()) {
                dst[toBase + k] = src[fromBase + i];
                matched = true;
            }
        }
    };
    match(srcCommon, 0, dstCommon, 0);
    match(srcOwn, srcCommon.size(), dstOwn, dstCommon.size());
    if (!matched) return 0;

    // Required fields would refuse the values left empty: relax them while the record is written.
    CStringList commonRequired, ownRequired;
    for (CDaoFieldInfo& f : dstCommon)
        if (f.m_bRequired) commonRequired.AddTail(f.m_strName);
    for (CDaoFieldInfo& f : dstOwn)
        if (f.m_bRequired) ownRequired.AddTail(f.m_strName);
    for (int i = 0; i < target->m_Theme.GetFieldCount(); ++i) {
        CDaoFieldInfo f;
        target->m_Theme.GetFieldInfo(i, f);
        if (f.m_bRequired) {
            f.m_bRequired = FALSE;
            target->m_Theme.SetFieldInfo(i, f);
        }
    }
    CGeoGClass relaxed = dstClass;
    for (int i = 0; i < relaxed.GetFieldCount(); ++i) {
        CDaoFieldInfo f;
        relaxed.GetFieldInfo(i, f);
        if (f.m_bRequired) {
            f.m_bRequired = FALSE;
            relaxed.SetFieldInfo(i, f);
        }
    }
    const int gcIndex = target->m_Theme.FindGC(targetClass);
    target->m_Theme.SetGC(gcIndex, relaxed);

    CGeoAttributeDatabase* db = target->GetAttributeDatabase();
    if (db) {
        if (!commonRequired.IsEmpty()) db->SetFieldsCanNULL(commonRequired, 1, 0);
        if (!ownRequired.IsEmpty()) db->SetFieldsCanNULL(ownRequired, 1, targetClass);
    }
    CGeoValueList values;
    for (COleVariant& v : dst) values.AddTail(v);
    const int written = target->SetAttribute(targetUserID, targetClass, &values);
    db = target->GetAttributeDatabase();
    if (db) {
        if (!commonRequired.IsEmpty()) db->SetFieldsCanNULL(commonRequired, 0, 0);
        if (!ownRequired.IsEmpty()) db->SetFieldsCanNULL(ownRequired, 0, targetClass);
    }
    for (int i = 0; i < target->m_Theme.GetFieldCount(); ++i) {
        CDaoFieldInfo f;
        target->m_Theme.GetFieldInfo(i, f);
        if (FindByName(dstCommon, f.m_strName) >= 0 && dstCommon[FindByName(dstCommon, f.m_strName)].m_bRequired) {
            f.m_bRequired = TRUE;
            target->m_Theme.SetFieldInfo(i, f);
        }
    }
    target->m_Theme.SetGC(gcIndex, dstClass);
    return written ? 1 : 0;
}

int CopyObjectsToLayer(CObList& objects, CGeoVectorLayer* target, int withAttributes) {
    if (!Editable(target)) return 0;
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        CGeoVectorObject* obj = dynamic_cast<CGeoVectorObject*>(objects.GetNext(pos));
        if (!obj) continue;
        CGeoVectorObject* d = dynamic_cast<CGeoVectorObject*>(obj->Duplicate(0, 1));
        if (!d) continue;
        CGeoVectorLayer* own = dynamic_cast<CGeoVectorLayer*>(obj->GetLayer());
        if (own) {
            const CRect from = own->GetBoundsInMillimeter(), to = target->GetBoundsInMillimeter();
            POINT shift = {from.left - to.left, from.top - to.top};
            if (obj->GetUnit() != 3) ChangeUnit(3, obj->GetUnit(), shift);
            d->Move(CSize(shift.x, shift.y));
        }
        d->SetGeoView(obj->GetGeoView());
        if (!d->AttachLayer(target)) {
            delete d;
            continue;
        }
        if (withAttributes) {
            const UINT gcid = obj->GetObjectClassID();
            d->SetObjectClassID(gcid);
            if (gcid != 0 && own && target->m_Theme.FindGC(gcid) < 0) {
                CGeoGClass gc;
                if (own->GetGClass(gcid, gc)) target->m_Theme.AddGC(gc, -2);
            }
            if (own && own->GetAttributeDatabase() && own->GetAttributeDatabase()->IsExistID(obj->GetUserID(), gcid))
                CopyObjectAttributes(own, target, gcid, gcid, obj->GetUserID(), d->GetUserID());
        } else {
            d->SetObjectClassID(0);
        }
    }
    return 1;
}

int LayerMerge(CGeoVectorLayerList& layers, CGeoVectorLayer* target, int withAttributes) {
    if (!ValidList(layers) || !Editable(target)) return 0;
    CommonOrigin(layers, target);
    for (POSITION pos = layers.GetHeadPosition(); pos;) {
        CGeoVectorLayer* layer = layers.GetNext(pos);
        if (!layer) continue;
        for (int i = 0; i < layer->m_Theme.GetGCCount(); ++i) {
            CGeoGClass gc;
            layer->m_Theme.GetGC(i, gc);
            if (target->m_Theme.FindGC(gc.GetGCID()) < 0) target->m_Theme.AddGC(gc, -2);
        }
    }
    if (withAttributes) {
        CGeoVectorLayer* first = layers.GetHead();
        for (int i = 0; i < first->m_Theme.GetFieldCount(); ++i) {
            CDaoFieldInfo f;
            first->m_Theme.GetFieldInfo(i, f);
            target->m_Theme.AddField(f, -2);
        }
    }
    for (POSITION pos = layers.GetHeadPosition(); pos;) {
        CGeoVectorLayer* layer = layers.GetNext(pos);
        if (layer) CopyObjectsToLayer(layer->m_ObjList, target, withAttributes);
    }
    return 1;
}

// ---- shapes ----

POINT* GetShapeRingPoints(CObject* polyline, int& count) {
    count = 0;
    std::vector<POINT> pts;
    if (auto* ra = dynamic_cast<CGeoRAPolygon*>(polyline)) {
        const int n = ra->GetPoints();
        if (n > 0) {
            std::vector<POINT> ctrl(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) ctrl[i] = ra->GetPoint(i);
            pts.resize(static_cast<size_t>(2 * n + 2));
            const int m = GetVertex(n, ctrl.data(), pts.data());
            pts.resize(static_cast<size_t>(std::max(m, 0)));
            if (!pts.empty()) pts.push_back(pts.front());
        }
    } else if (auto* pg = dynamic_cast<CGeoPolygonLine*>(polyline)) {
        for (int i = 0; i < pg->GetPoints(); ++i) pts.push_back(pg->GetPoint(i));
        if (!pts.empty()) pts.push_back(pts.front());
    } else if (auto* sp = dynamic_cast<CGeoSPLine*>(polyline)) {
        const POINT* buf = sp->GetPointBuffer();
        const int slots = sp->CGeoLine::GetPoints();
        if (buf) pts.assign(buf, buf + slots);
    } else if (auto* pl = dynamic_cast<CGeoPLine*>(polyline)) {
        const POINT* buf = pl->GetPointBuffer();
        if (buf) pts.assign(buf, buf + pl->GetPoints());
    }
    if (pts.empty()) return nullptr;
    count = static_cast<int>(pts.size());
    POINT* out = new POINT[pts.size()];
    std::copy(pts.begin(), pts.end(), out);
    return out;
}

POINT* GetClipPoints(CObject* shape, int& count) {
    count = 0;
    if (dynamic_cast<CGeoPLine*>(shape)) return GetShapeRingPoints(shape, count);
    CGeoLine* line = dynamic_cast<CGeoLine*>(shape);
    if (line && (dynamic_cast<CGeoTriPointArc*>(shape) || dynamic_cast<CGeoRect*>(shape) ||
                 dynamic_cast<CGeoCircle*>(shape))) {
        CGeoLine* converted = line->ConvertTo(0, 0);
        POINT* out = converted ? GetShapeRingPoints(converted, count) : nullptr;
        delete converted;
        return out;
    }
    return nullptr;
}

void InheritObjectProperties(CGeoVectorObject* piece, CGeoVectorObject* source, int replace) {
    if (!piece || !source) return;
    if (replace) {
        if (auto* layer = dynamic_cast<CGeoVectorLayer*>(source->GetLayer())) layer->Replace(piece, source);
    } else {
        if (source->GetLayer()) piece->AttachLayer(source->GetLayer());
        piece->SetUserID(source->GetUserID());
        piece->SetUnit(source->GetUnit());
        piece->SetObjectClassID(source->GetObjectClassID());
        piece->SetDisplayAttribute(source->GetDisplayAttribute());
        piece->SetGeoView(source->GetGeoView());
        if (auto* line = dynamic_cast<CGeoLine*>(piece)) line->Complete(1);
    }
    piece->SetZ(source->GetZ(0));
}

void AttachObjectPiece(CGeoVectorObject* piece, CGeoVectorObject* source) {
    InheritObjectProperties(piece, source, 0);
    if (auto* line = dynamic_cast<CGeoLine*>(piece)) line->Complete(1);
}

// ---- clipping ----

namespace {

struct Crossing {
    int segment;
    POINT x;
};

bool Near(POINT x, POINT p) { return std::llabs(static_cast<long long>(x.x) - p.x) <= 5 && std::llabs(static_cast<long long>(x.y) - p.y) <= 5; }

// The crossings of the line's segments with the boundary ring, segment by segment. A crossing at a
// vertex that two segments share is recorded once.
std::vector<Crossing> FindCrossings(const std::vector<POINT>& v, const POINT* ring, int n, const CRect& box) {
    std::vector<Crossing> out;
    auto record = [&](int i, POINT x) {
        if (!out.empty() && Same(out.back().x, x)) return;
        out.push_back({i, x});
    };
    const POINT unset = {INT32_MIN, INT32_MIN};
    for (int i = 0; i + 1 < static_cast<int>(v.size()); ++i) {
        const POINT p = v[i], q = v[i + 1];
        if (!LineXRect(p, q, box)) continue;
        POINT x = unset;
        int c = LineSegXLSegs(p, q, ring, n, x);
        if (!c) {
            if (!Same(x, unset) && (Near(x, p) || Near(x, q))) record(i, x);
            continue;
        }
        while (c) {
            record(i, x);
            const POINT from = x;
            x = unset;
            c = LineSegXLSegs(from, q, ring, n, x);
            if (!c && Same(x, q)) record(i, x);
        }
    }
    return out;
}

struct Piece {
    std::vector<POINT> pts;
    POINT test;
};

bool IsClosedKind(CObject* obj) {
    return dynamic_cast<CGeoPolygonLine*>(obj) || dynamic_cast<CGeoTriPointCircle*>(obj) ||
           dynamic_cast<CGeoRect*>(obj) || dynamic_cast<CGeoCircle*>(obj);
}

bool IsOpenKind(CObject* obj) {
    return (dynamic_cast<CGeoPLine*>(obj) && !dynamic_cast<CGeoPolygonLine*>(obj)) ||
           (dynamic_cast<CGeoTriPointArc*>(obj) && !dynamic_cast<CGeoTriPointCircle*>(obj));
}

POINT TestPoint(const std::vector<POINT>& pts) {
    if (pts.size() == 2) return CalcMidPoint(pts[0], pts[1]);
    return pts.size() > 1 ? pts[1] : pts[0];
}

std::vector<Piece> CutPieces(CObject* obj, const std::vector<POINT>& v, const std::vector<Crossing>& xs) {
    std::vector<Piece> pieces;
    const int n = static_cast<int>(v.size());
    const bool open = IsOpenKind(obj), closed = IsClosedKind(obj);
    if (!open && !closed) return pieces;
    if (open) {
        Piece head;
        for (int i = 0; i <= xs.front().segment; ++i) head.pts.push_back(v[i]);
        head.pts.push_back(xs.front().x);
        head.test = v[xs.front().segment];
        pieces.push_back(head);
    }
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
        Piece p;
        p.pts.push_back(xs[k].x);
        for (int i = xs[k].segment + 1; i <= xs[k + 1].segment; ++i) p.pts.push_back(v[i]);
        p.pts.push_back(xs[k + 1].x);
        p.test = TestPoint(p.pts);
        pieces.push_back(p);
    }
    Piece tail;
    tail.pts.push_back(xs.back().x);
    for (int i = xs.back().segment + 1; i < n; ++i) tail.pts.push_back(v[i]);
    if (open) {
        tail.test = xs.back().segment + 1 < n ? v[xs.back().segment + 1] : xs.back().x;
    } else {
        // through the line's end and start: the closing vertex is not repeated
        const int from = n > 1 && Same(v[0], v[n - 1]) ? 1 : 0;
        for (int i = from; i <= xs.front().segment; ++i) tail.pts.push_back(v[i]);
        tail.pts.push_back(xs.front().x);
        tail.test = TestPoint(tail.pts);
    }
    pieces.push_back(tail);
    return pieces;
}

}  // namespace

void ClipLayerObjects(CGeoVectorLayerList& layers, CGeoObject* boundary, CGeoVectorLayer* source, CObList& removed,
                      CObList& pieces, CGeoVectorLayer* work, int progressBase, int outsideMode, int mode) {
    (void)outsideMode;
    (void)mode;
    removed.RemoveAll();
    pieces.RemoveAll();
    if (!boundary || !source || !work) return;
    int step = layers.GetCount() > 0 ? 100 / layers.GetCount() : 0;
    if (step < 1) step = 10;

    int n = 0;
    POINT* ring = GetClipPoints(boundary, n);
    if (!ring) return;
    std::vector<POINT> poly(ring, ring + n);
    delete[] ring;
    if (!PointEqual(poly.front(), poly.back())) {
        AfxMessageBox(CLIP_OPEN_POLYGON_MESSAGE);
        return;
    }
    const CRect box = boundary->GetBoundsInMillimeter();

    CopyObjectsToLayer(source->m_ObjList, work, 1);
    int perStep = work->GetObjectCount() / step;
    if (perStep < 1) perStep = 1;

    std::vector<CGeoVectorObject*> objects;
    for (POSITION pos = work->m_ObjList.GetHeadPosition(); pos;)
        if (auto* obj = dynamic_cast<CGeoVectorObject*>(work->m_ObjList.GetNext(pos))) objects.push_back(obj);

    int k = 0;
    for (CGeoVectorObject* obj : objects) {
        if (obj == boundary) continue;
        ++k;
        SendProgress(progressBase + k / perStep);
        const CRect b = obj->GetBoundsInMillimeter();
        if (!(b.left < box.right && box.left < b.right && b.top < box.bottom && box.top < b.bottom)) {
            removed.AddTail(obj);
            continue;
        }
        if (auto* point = dynamic_cast<CGeoPoint*>(obj)) {
            if (!PtInPolygon(point->GetPoint(), poly.data(), static_cast<int>(poly.size()))) removed.AddTail(obj);
            continue;
        }
        if (IsAnnotation(obj)) {
            const POINT corner = {b.left, b.top};
            if (!PtInPolygon(corner, poly.data(), static_cast<int>(poly.size()))) removed.AddTail(obj);
            continue;
        }
        if (!dynamic_cast<CGeoLine*>(obj)) continue;
        int count = 0;
        POINT* raw = GetClipPoints(obj, count);
        if (!raw) continue;
        std::vector<POINT> v(raw, raw + count);
        delete[] raw;
        std::vector<Crossing> xs = FindCrossings(v, poly.data(), static_cast<int>(poly.size()), box);
        if (xs.empty()) {
            const POINT test = v.size() == 2 ? CalcMidPoint(v[0], v[1]) : v[v.size() / 2];
            if (!PtInPolygon(test, poly.data(), static_cast<int>(poly.size()))) removed.AddTail(obj);
            continue;
        }
        bool first = true;
        for (Piece& p : CutPieces(obj, v, xs)) {
            if (!PtInPolygon(p.test, poly.data(), static_cast<int>(poly.size()))) continue;
            CGeoPLine* piece = new CGeoPLine(static_cast<int>(p.pts.size()), p.pts.data(), TRUE);
            if (first) {
                InheritObjectProperties(piece, obj, 1);
                first = false;
            } else {
                AttachObjectPiece(piece, obj);
            }
            pieces.AddTail(piece);
        }
        removed.AddTail(obj);
    }
}

int LayerCut(CGeoVectorLayerList& layers, DPoint* polygon, LONG count, CGeoVectorLayer* target, int withAttributes) {
    if (!ValidList(layers) || !Editable(target) || !polygon || count <= 0) return 0;
    if (polygon[0].x != polygon[count - 1].x || polygon[0].y != polygon[count - 1].y) {
        AfxMessageBox(CLIP_OPEN_POLYGON_MESSAGE);
        return 0;
    }
    if (withAttributes && !SchemasAgree(layers)) return 0;

    CommonOrigin(layers, target);
    const CRect bounds = target->GetBoundsInMillimeter();
    if (withAttributes) {
        CGeoVectorLayer* first = layers.GetHead();
        for (int i = 0; i < first->m_Theme.GetFieldCount(); ++i) {
            CDaoFieldInfo f;
            first->m_Theme.GetFieldInfo(i, f);
            target->m_Theme.AddField(f, -2);
        }
        for (POSITION pos = layers.GetHeadPosition(); pos;) {
            CGeoVectorLayer* layer = layers.GetNext(pos);
            if (!layer) continue;
            for (int i = 0; i < layer->m_Theme.GetGCCount(); ++i) {
                CGeoGClass gc;
                layer->m_Theme.GetGC(i, gc);
                target->m_Theme.AddGC(gc, -2);  // a class whose ID is there already is refused
            }
        }
    }

    double ox = 0, oy = 0;
    layers.GetHead()->GetLayerOrigin(ox, oy);
    std::vector<POINT> pts(static_cast<size_t>(count));
    ClipPolygonToLayer(polygon, static_cast<int>(count), ox, oy, bounds, pts.data());
    CGeoPLine boundary(static_cast<int>(count), pts.data(), TRUE);

    for (POSITION pos = layers.GetHeadPosition(); pos;) {
        CGeoVectorLayer* layer = layers.GetNext(pos);
        if (!layer || layer->GetObjectCount() < 1) continue;
        CGeoVectorLayer work;
        // The work layer carries the layer's common fields, so their values survive the two copies.
        for (int i = 0; i < layer->m_Theme.GetFieldCount(); ++i) {
            CDaoFieldInfo f;
            layer->m_Theme.GetFieldInfo(i, f);
            work.m_Theme.AddField(f, -2);
        }
        CObList removed, pieces;
        ClipLayerObjects(layers, &boundary, layer, removed, pieces, &work, 0, 0, 0);
        CObList keep;
        for (POSITION p = work.m_ObjList.GetHeadPosition(); p;) {
            CGeoVectorObject* obj = dynamic_cast<CGeoVectorObject*>(work.m_ObjList.GetNext(p));
            if (!obj) continue;
            const CRect b = obj->GetBoundsInMillimeter();
            if (!PolygonXRect(pts.data(), static_cast<int>(count), b)) continue;
            // Shapes without points of their own (points answer 0) go by their bounds alone.
            bool inside = true;
            for (int i = 0; inside && i < obj->GetPoints(); ++i)
                inside = PtInPolygon(obj->GetPoint(i), pts.data(), static_cast<int>(count)) != 0;
            if (inside) keep.AddTail(obj);
        }
        CopyObjectsToLayer(keep, target, 1);
        // Cut lines whose place a piece took are out of the work layer's list: free them here.
        for (POSITION p = removed.GetHeadPosition(); p;) {
            CObject* obj = removed.GetNext(p);
            if (!work.m_ObjList.Find(obj)) delete obj;
        }
    }
    return 1;
}
