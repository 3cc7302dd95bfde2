#include "vector/LayerMergeClip.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoCircle.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygon.h"
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
#include <unordered_set>
#include <vector>

const char CLIP_OPEN_POLYGON_MESSAGE[] = "请指定封闭裁剪边缘!";

namespace {

// Kind tests through the classes' run-time records: a plain walk up a chain of pointers, where a
// failed dynamic_cast compares type names across the libraries.
#define IS_KIND(obj, Class) ((obj) != nullptr && (obj)->IsKindOf(RUNTIME_CLASS(Class)))

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
    // Saturate truncates toward zero itself.
    const double ox = originX * 1000, oy = originY * 1000;
    const double right = bounds.right, top = bounds.top;
    for (int i = 0; i < count; ++i) {
        out[i].x = Saturate((polygon[i].x + 0.5 - ox - right) / 1000);
        out[i].y = Saturate((polygon[i].y + 0.5 - oy - top) / 1000);
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
        CObject* item = objects.GetNext(pos);
        if (!IS_KIND(item, CGeoVectorObject)) continue;
        CGeoVectorObject* obj = static_cast<CGeoVectorObject*>(item);
        CObject* copy = obj->Duplicate(0, 1);
        CGeoVectorObject* d = IS_KIND(copy, CGeoVectorObject) ? static_cast<CGeoVectorObject*>(copy) : nullptr;
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
    if (IS_KIND(polyline, CGeoRAPolygon)) {
        auto* ra = static_cast<CGeoRAPolygon*>(polyline);
        const int n = ra->GetPoints();
        if (n > 0) {
            std::vector<POINT> ctrl(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) ctrl[i] = ra->GetPoint(i);
            pts.resize(static_cast<size_t>(2 * n + 2));
            const int m = GetVertex(n, ctrl.data(), pts.data());
            pts.resize(static_cast<size_t>(std::max(m, 0)));
            if (!pts.empty()) pts.push_back(pts.front());
        }
    } else if (IS_KIND(polyline, CGeoPolygonLine)) {
        auto* pg = static_cast<CGeoPolygonLine*>(polyline);
        for (int i = 0; i < pg->GetPoints(); ++i) pts.push_back(pg->GetPoint(i));
        if (!pts.empty()) pts.push_back(pts.front());
    } else if (IS_KIND(polyline, CGeoSPLine)) {
        auto* sp = static_cast<CGeoSPLine*>(polyline);
        const POINT* buf = sp->GetPointBuffer();
        const int slots = sp->CGeoLine::GetPoints();
        if (buf) pts.assign(buf, buf + slots);
    } else if (IS_KIND(polyline, CGeoPLine)) {
        auto* pl = static_cast<CGeoPLine*>(polyline);
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
    if (IS_KIND(shape, CGeoPLine)) return GetShapeRingPoints(shape, count);
    CGeoLine* line = IS_KIND(shape, CGeoLine) ? static_cast<CGeoLine*>(shape) : nullptr;
    if (line && (IS_KIND(shape, CGeoTriPointArc) || IS_KIND(shape, CGeoRect) || IS_KIND(shape, CGeoCircle))) {
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

typedef __int128 Wide;

struct P64 {
    int64_t x, y;
};

P64 Of(POINT p) { return {p.x, p.y}; }

Wide Cross(const P64& a, const P64& b, const P64& c) {
    return static_cast<Wide>(b.x - a.x) * (c.y - a.y) - static_cast<Wide>(b.y - a.y) * (c.x - a.x);
}

int Sign(Wide v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// n / d rounded to the nearest integer (halves up), d > 0.
int64_t RoundDiv(Wide n, Wide d) {
    Wide twice = 2 * n + d, q = twice / (2 * d);
    if (twice % (2 * d) != 0 && twice < 0) --q;  // floor for negative quotients
    return static_cast<int64_t>(q);
}

LONG Clamp32(int64_t v) { return static_cast<LONG>(std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX)); }

struct Box {
    int64_t l, b, r, t;  // x from l to r, y from b to t, borders included
    bool Meets(const Box& o) const { return l <= o.r && o.l <= r && b <= o.t && o.b <= t; }
    void Add(const Box& o) {
        l = std::min(l, o.l);
        b = std::min(b, o.b);
        r = std::max(r, o.r);
        t = std::max(t, o.t);
    }
};

Box SegBox(POINT p, POINT q) {
    return {std::min<int64_t>(p.x, q.x), std::min<int64_t>(p.y, q.y), std::max<int64_t>(p.x, q.x),
            std::max<int64_t>(p.y, q.y)};
}

// The clip ring (closed: its last point repeats the first) with a tree of bounding boxes over runs
// of consecutive edges (a ring's consecutive edges lie close together, so the runs make a good
// hierarchy without sorting), so a segment or a ray meets only the edges near it.
class ClipRing {
public:
    // pts stays the caller's and must outlive the ring; the tree is built at the first question.
    explicit ClipRing(const std::vector<POINT>& pts) : pts_(pts) {}

    const std::vector<POINT>& Points() const { return pts_; }

    // Calls f (i) for every edge pts[i] - pts[i + 1] whose box meets q.
    template <class F>
    void Edges(const Box& q, F f) const {
        Edges(q, [](const Box&) { return true; }, f);
    }

    // The same, visiting only boxes for which also along (box) holds (a finer test than q).
    template <class A, class F>
    void Edges(const Box& q, A along, F f) const {
        if (levels_.empty()) Build();
        if (levels_.front().empty()) return;
        // Depth first: at most kFan entries wait on each level, so a small stack does.
        struct Entry {
            int level;
            size_t index;
        } stack[kFan * 40];
        int top = 0;
        const int highest = static_cast<int>(levels_.size()) - 1;
        for (size_t i = 0; i < levels_[highest].size(); ++i) stack[top++] = {highest, i};
        while (top > 0) {
            const Entry e = stack[--top];
            if (!levels_[e.level][e.index].Meets(q) || !along(levels_[e.level][e.index])) continue;
            if (e.level == 0) {
                f(static_cast<int>(e.index));
                continue;
            }
            const std::vector<Box>& below = levels_[e.level - 1];
            for (size_t j = e.index * kFan; j < std::min(below.size(), e.index * kFan + kFan); ++j)
                stack[top++] = {e.level - 1, j};
        }
    }

    // Some edge's box meets q (the walk stops at the first).
    bool AnyEdge(const Box& q) const {
        if (levels_.empty()) Build();
        if (levels_.front().empty()) return false;
        size_t stack[kFan * 40][2];
        int top = 0;
        const size_t highest = levels_.size() - 1;
        for (size_t i = 0; i < levels_[highest].size(); ++i) {
            stack[top][0] = highest;
            stack[top++][1] = i;
        }
        while (top > 0) {
            --top;
            const size_t level = stack[top][0], index = stack[top][1];
            if (!levels_[level][index].Meets(q)) continue;
            if (level == 0) return true;
            const std::vector<Box>& below = levels_[level - 1];
            for (size_t j = index * kFan; j < std::min(below.size(), index * kFan + kFan); ++j) {
                stack[top][0] = level - 1;
                stack[top++][1] = j;
            }
        }
        return false;
    }

    // 1 inside, 0 outside, -1 on the boundary (even-odd rule), for p = (x / scale, y / scale) with
    // integer x and y: scale 2 places a point half-way between two integer points exactly.
    int Locate(int64_t x, int64_t y, int scale) const {
        const P64 p{x, y};
        const int64_t px = x / scale - 1, py0 = (y - (y < 0 ? scale - 1 : 0)) / scale, py1 = py0 + 1;
        bool inside = false, boundary = false;
        Edges(Box{px, py0, INT64_MAX, py1}, [&](int i) {
            if (boundary) return;
            const P64 a{scale * static_cast<int64_t>(pts_[i].x), scale * static_cast<int64_t>(pts_[i].y)};
            const P64 b{scale * static_cast<int64_t>(pts_[i + 1].x), scale * static_cast<int64_t>(pts_[i + 1].y)};
            const Wide s = Cross(a, b, p);
            if (s == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
                p.y <= std::max(a.y, b.y)) {
                boundary = true;
                return;
            }
            if ((a.y > p.y) != (b.y > p.y) && ((b.y > a.y) ? s > 0 : s < 0)) inside = !inside;
        });
        return boundary ? -1 : (inside ? 1 : 0);
    }
    int Locate(POINT p) const { return Locate(p.x, p.y, 1); }

    // The same for a point in long double (a point inside a piece, away from the boundary).
    int Locate(long double x, long double y) const {
        bool inside = false;
        const Box q{static_cast<int64_t>(std::floor(x)) - 1, static_cast<int64_t>(std::floor(y)) - 1, INT64_MAX,
                    static_cast<int64_t>(std::floor(y)) + 1};
        Edges(q, [&](int i) {
            const long double ax = pts_[i].x, ay = pts_[i].y, bx = pts_[i + 1].x, by = pts_[i + 1].y;
            if ((ay > y) != (by > y)) {
                const long double cx = ax + (y - ay) * (bx - ax) / (by - ay);
                if (cx > x) inside = !inside;
            }
        });
        return inside ? 1 : 0;
    }

private:
    void Build() const {
        std::vector<Box> level;
        for (size_t i = 0; i + 1 < pts_.size(); ++i) level.push_back(SegBox(pts_[i], pts_[i + 1]));
        levels_.push_back(level);
        while (levels_.back().size() > 1) {
            const std::vector<Box>& below = levels_.back();
            std::vector<Box> up;
            for (size_t i = 0; i < below.size(); i += kFan) {
                Box box = below[i];
                for (size_t j = i + 1; j < std::min(below.size(), i + kFan); ++j) box.Add(below[j]);
                up.push_back(box);
            }
            levels_.push_back(up);
        }
    }

    static const size_t kFan = 8;
    const std::vector<POINT>& pts_;
    mutable std::vector<std::vector<Box>> levels_;  // levels_[0]: one box per edge
};

// A place on a line: segment seg at parameter t in [0, 1) (t = 0: the vertex seg itself), the
// point it rounds to, and whether that point is the place exactly.
struct Place {
    int seg;
    long double t;
    POINT pt;
    bool exact;
};

bool Before(const Place& a, const Place& b) { return a.seg != b.seg ? a.seg < b.seg : a.t < b.t; }

// Every point where the segment p -> q (p != q) meets the ring, as parameters along it (unsorted):
// proper crossings, touches at a vertex of either, and both ends of a stretch the two share.
void Contacts(const ClipRing& ring, POINT p, POINT q, std::vector<Place>& out) {
    const P64 P = Of(p), Q = Of(q);
    const int64_t dx = Q.x - P.x, dy = Q.y - P.y;
    const Wide len2 = static_cast<Wide>(dx) * dx + static_cast<Wide>(dy) * dy;
    const std::vector<POINT>& pts = ring.Points();
    auto along = [&](POINT x) {  // the parameter of a point of the segment
        const Wide dot = static_cast<Wide>(x.x - P.x) * dx + static_cast<Wide>(x.y - P.y) * dy;
        return Place{0, static_cast<long double>(dot) / static_cast<long double>(len2), x, true};
    };
    // A box the segment's line passes beside (all four corners on one side) holds no contact: a
    // long segment then visits only the boxes along it, not every box within its bounds.
    auto passes = [&](const Box& b) {
        const int s1 = Sign(Cross(P, Q, {b.l, b.b})), s2 = Sign(Cross(P, Q, {b.r, b.b})),
                  s3 = Sign(Cross(P, Q, {b.l, b.t})), s4 = Sign(Cross(P, Q, {b.r, b.t}));
        return !((s1 > 0 && s2 > 0 && s3 > 0 && s4 > 0) || (s1 < 0 && s2 < 0 && s3 < 0 && s4 < 0));
    };
    ring.Edges(SegBox(p, q), passes, [&](int i) {
        const P64 C = Of(pts[i]), D = Of(pts[i + 1]);
        if (C.x == D.x && C.y == D.y) return;
        const Wide o1 = Cross(C, D, P), o2 = Cross(C, D, Q);
        if (o1 == 0 && o2 == 0) {  // one line: the ends of the stretch they share
            const Box e = SegBox(pts[i], pts[i + 1]), s = SegBox(p, q);
            auto within = [](const Box& b, POINT x) { return b.l <= x.x && x.x <= b.r && b.b <= x.y && x.y <= b.t; };
            for (POINT x : {pts[i], pts[i + 1]})
                if (within(s, x)) out.push_back(along(x));
            if (within(e, p)) out.push_back(along(p));
            if (within(e, q)) out.push_back(along(q));
            return;
        }
        if (Sign(o1) * Sign(o2) > 0) return;
        const Wide o3 = Cross(P, Q, C), o4 = Cross(P, Q, D);
        if (Sign(o3) * Sign(o4) > 0) return;
        Place x{0, 0, {}, true};
        if (o1 == 0) {
            x = along(p);
        } else if (o2 == 0) {
            x = along(q);
        } else if (o3 == 0) {
            x = along(pts[i]);
        } else if (o4 == 0) {
            x = along(pts[i + 1]);
        } else {
            // p + (q - p) * o1 / (o1 - o2), each coordinate rounded to the nearest integer
            Wide n = o1, d = o1 - o2;
            if (d < 0) {
                n = -n;
                d = -d;
            }
            x.t = static_cast<long double>(n) / static_cast<long double>(d);
            x.pt = {Clamp32(P.x + RoundDiv(n * dx, d)), Clamp32(P.y + RoundDiv(n * dy, d))};
            x.exact = false;
        }
        out.push_back(x);
    });
}

// The contacts of the line v with the ring in order along the line; a contact at a vertex is given
// as that vertex (t = 0), once.
std::vector<Place> FindCrossings(const std::vector<POINT>& v, const ClipRing& ring, const CRect& box) {
    std::vector<Place> out, seg;
    if (v.empty()) return out;
    Box all = SegBox(v[0], v[0]);
    for (const POINT& p : v) all.Add(SegBox(p, p));
    if (!ring.AnyEdge(all)) return out;  // near no edge: no contact anywhere
    for (int i = 0; i + 1 < static_cast<int>(v.size()); ++i) {
        const POINT p = v[i], q = v[i + 1];
        if (Same(p, q) || !LineXRect(p, q, box)) continue;
        seg.clear();
        Contacts(ring, p, q, seg);
        for (Place& x : seg) {
            if (x.t >= 1 && x.exact && Same(x.pt, q)) {
                x.seg = i + 1;
                x.t = 0;
            } else {
                x.seg = i;
                if (x.t <= 0 || (x.exact && Same(x.pt, p))) x.t = 0;
            }
        }
        std::sort(seg.begin(), seg.end(), Before);
        for (const Place& x : seg)
            if (out.empty() || Before(out.back(), x)) out.push_back(x);
    }
    return out;
}

struct Piece {
    std::vector<POINT> pts;
    bool inside = false;
};

bool IsClosedKind(CObject* obj) {
    return IS_KIND(obj, CGeoPolygonLine) || IS_KIND(obj, CGeoTriPointCircle) || IS_KIND(obj, CGeoRect) ||
           IS_KIND(obj, CGeoCircle);
}

bool IsOpenKind(CObject* obj) {
    return (IS_KIND(obj, CGeoPLine) && !IS_KIND(obj, CGeoPolygonLine)) ||
           (IS_KIND(obj, CGeoTriPointArc) && !IS_KIND(obj, CGeoTriPointCircle));
}

// The stretch of the line v from place a to place b (a before b): the point of a, the vertices
// strictly between, the point of b, repeated points once. Whether it lies inside the ring is decided
// at a point strictly inside the stretch, which touches the ring nowhere else: a vertex between a and
// b (the one at `prefer`, or the first), else the middle of the stretch, computed exactly when both
// ends are integer points (a stretch along an edge) and in long double otherwise (its ends are then
// proper crossings, so its inside is off the ring). No piece when its points all coincide.
bool MakePiece(const std::vector<POINT>& v, const Place& a, const Place& b, bool preferLast, const ClipRing& ring,
               Piece& out) {
    out.pts.clear();
    auto add = [&](POINT p) {
        if (out.pts.empty() || !Same(out.pts.back(), p)) out.pts.push_back(p);
    };
    add(a.pt);
    const int first = a.seg + 1, last = b.t > 0 ? b.seg : b.seg - 1;  // vertices strictly between
    for (int i = first; i <= last; ++i) add(v[i]);
    add(b.pt);
    if (out.pts.size() < 2) return false;
    if (first <= last) {
        out.inside = ring.Locate(v[preferLast ? last : first]) != 0;
    } else if (a.exact && b.exact) {
        out.inside = ring.Locate(static_cast<int64_t>(a.pt.x) + b.pt.x, static_cast<int64_t>(a.pt.y) + b.pt.y, 2) != 0;
    } else {
        // a and b lie on one segment, v[a.seg] -> v[a.seg + 1]
        const long double tb = b.seg == a.seg ? b.t : 1.0L, tm = (a.t + tb) / 2;
        const POINT p = v[a.seg], q = v[a.seg + 1];
        out.inside = ring.Locate(p.x + tm * (static_cast<long double>(q.x) - p.x),
                                 p.y + tm * (static_cast<long double>(q.y) - p.y)) != 0;
    }
    return true;
}

// The pieces of a line cut at its contacts xs (not empty) with the ring, in order along the line:
// for open lines the head, the stretches between contacts and the tail; for closed ones the
// stretches and the one that runs through the line's end and start.
std::vector<Piece> CutPieces(CObject* obj, std::vector<POINT> v, const std::vector<Place>& xs, const ClipRing& ring) {
    std::vector<Piece> pieces;
    const bool open = IsOpenKind(obj), closed = IsClosedKind(obj);
    if (!open && !closed) return pieces;
    const int n = static_cast<int>(v.size());
    Piece piece;
    if (open) {
        const Place start{0, 0, v[0], true};
        if (MakePiece(v, start, xs.front(), true, ring, piece)) pieces.push_back(piece);
    }
    for (size_t k = 0; k + 1 < xs.size(); ++k)
        if (MakePiece(v, xs[k], xs[k + 1], false, ring, piece)) pieces.push_back(piece);
    if (open) {
        const Place end{n - 1, 0, v[n - 1], true};
        if (MakePiece(v, xs.back(), end, false, ring, piece)) pieces.push_back(piece);
    } else {
        // Through the end and the start: the line once more after itself, its closing vertex once.
        for (int i = 1; i < n; ++i) v.push_back(v[i]);
        Place wrapped = xs.front();
        wrapped.seg += n - 1;
        if (MakePiece(v, xs.back(), wrapped, false, ring, piece)) pieces.push_back(piece);
    }
    return pieces;
}

std::vector<POINT> RingOf(CGeoObject* boundary) {
    int n = 0;
    POINT* raw = GetClipPoints(boundary, n);
    std::vector<POINT> poly(raw, raw + n);
    delete[] raw;
    return poly;
}

// The clip worker's body on a ring already read; with nearOnly (the layer cut's own use), objects
// whose bounds do not come near the ring's box are not copied into work at all (nothing of them
// could be kept), though they count for the progress as if they had been.
void ClipObjects(CGeoVectorLayerList& layers, CGeoObject* boundary, const CRect& box, const ClipRing& ring,
                 CGeoVectorLayer* source, CObList& removed, CObList& pieces, CGeoVectorLayer* work, int progressBase,
                 bool nearOnly, std::vector<CObject*>* whole = nullptr) {
    int step = layers.GetCount() > 0 ? 100 / layers.GetCount() : 0;
    if (step < 1) step = 10;

    int counted = 0;  // the objects that count for the progress
    if (nearOnly) {
        // Copies land in work moved by the difference of the layers' top-left corners: objects are
        // left out only when that is nothing, so their bounds are the ones tested later.
        const CRect from = source->GetBoundsInMillimeter(), to = work->GetBoundsInMillimeter();
        nearOnly = from.left == to.left && from.top == to.top;
    }
    CObList near;
    for (POSITION pos = source->m_ObjList.GetHeadPosition(); pos;) {
        CObject* obj = source->m_ObjList.GetNext(pos);
        if (!obj) continue;
        bool vector = false, polygon = false;  // one walk up the object's classes
        for (const CRuntimeClass* rc = obj->GetRuntimeClass(); rc && !vector; rc = rc->m_pBaseClass) {
            polygon = polygon || rc == RUNTIME_CLASS(CGeoPolygon);
            vector = rc == RUNTIME_CLASS(CGeoVectorObject);
        }
        if (!vector || polygon) continue;  // never copied
        auto* vo = static_cast<CGeoVectorObject*>(obj);
        ++counted;
        if (nearOnly) {
            const CRect b = vo->GetBoundsInMillimeter();
            if (!(b.left <= box.right && box.left <= b.right && b.top <= box.bottom && box.top <= b.bottom)) continue;
        }
        near.AddTail(obj);
    }
    CopyObjectsToLayer(near, work, 1);
    if (!nearOnly) counted = work->GetObjectCount();
    int perStep = counted / step;
    if (perStep < 1) perStep = 1;

    std::vector<CGeoVectorObject*> objects;
    for (POSITION pos = work->m_ObjList.GetHeadPosition(); pos;)
        if (CObject* item = work->m_ObjList.GetNext(pos); IS_KIND(item, CGeoVectorObject))
            objects.push_back(static_cast<CGeoVectorObject*>(item));

    int k = 0;
    const int skipped = nearOnly ? counted - static_cast<int>(objects.size()) : 0;
    if (AfxGetMainWnd())
        for (int i = 0; i < skipped; ++i) SendProgress(progressBase + ++k / perStep);
    k = skipped;
    for (CGeoVectorObject* obj : objects) {
        if (obj == boundary) continue;
        ++k;
        SendProgress(progressBase + k / perStep);
        const CRect b = obj->GetBoundsInMillimeter();
        const bool isLine = IS_KIND(obj, CGeoLine);
        // Bounds that only touch the polygon's box are enough for a line: a line lying along an edge
        // of the polygon on that box keeps the stretch it shares with the edge.
        const bool meets = isLine ? b.left <= box.right && box.left <= b.right && b.top <= box.bottom && box.top <= b.bottom
                                  : b.left < box.right && box.left < b.right && b.top < box.bottom && box.top < b.bottom;
        if (!meets) {
            removed.AddTail(obj);
            continue;
        }
        if (!isLine && IS_KIND(obj, CGeoPoint)) {
            if (!ring.Locate(static_cast<CGeoPoint*>(obj)->GetPoint())) removed.AddTail(obj);
            continue;
        }
        if (!isLine && IsAnnotation(obj)) {
            const POINT corner = {b.left, b.top};
            if (!ring.Locate(corner)) removed.AddTail(obj);
            continue;
        }
        if (!isLine) continue;
        int count = 0;
        POINT* raw = GetClipPoints(obj, count);
        if (!raw) continue;
        std::vector<POINT> v(raw, raw + count);
        delete[] raw;
        if (IsClosedKind(obj) && !Same(v.front(), v.back())) v.push_back(v.front());
        std::vector<Place> xs = FindCrossings(v, ring, box);
        if (xs.empty()) {
            const POINT test = v.size() == 2 ? CalcMidPoint(v[0], v[1]) : v[v.size() / 2];
            const int at = ring.Locate(test);
            if (!at) removed.AddTail(obj);
            // A line that meets the ring nowhere lies wholly on its test point's side: when that is
            // strictly inside and the points cut were the line's own, every point of it is inside.
            if (at == 1 && whole && IS_KIND(obj, CGeoPLine) && !IS_KIND(obj, CGeoSPLine) &&
                !IS_KIND(obj, CGeoRAPolygon))
                whole->push_back(obj);
            continue;
        }
        bool first = true;
        for (Piece& p : CutPieces(obj, v, xs, ring)) {
            if (!p.inside) continue;
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

}  // namespace

void ClipLayerObjects(CGeoVectorLayerList& layers, CGeoObject* boundary, CGeoVectorLayer* source, CObList& removed,
                      CObList& pieces, CGeoVectorLayer* work, int progressBase, int outsideMode, int mode) {
    (void)outsideMode;
    (void)mode;
    removed.RemoveAll();
    pieces.RemoveAll();
    if (!boundary || !source || !work) return;
    std::vector<POINT> poly = RingOf(boundary);
    if (poly.empty()) return;
    if (!PointEqual(poly.front(), poly.back())) {
        AfxMessageBox(CLIP_OPEN_POLYGON_MESSAGE);
        return;
    }
    ClipObjects(layers, boundary, boundary->GetBoundsInMillimeter(), ClipRing(poly), source, removed, pieces, work,
                progressBase, false);
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
    // The boundary line over these points would answer its points and their bounds: both are taken
    // from the points themselves.
    const ClipRing ring(pts);
    CRect box(pts[0].x, pts[0].y, pts[0].x, pts[0].y);
    for (const POINT& p : pts) {
        box.left = std::min(box.left, p.x);
        box.right = std::max(box.right, p.x);
        box.top = std::min(box.top, p.y);
        box.bottom = std::max(box.bottom, p.y);
    }

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
        // The pieces were judged inside along their length already; their ends are crossings rounded
        // to whole units, which may lie a fraction of a unit outside, so they are not tested again;
        // nor are the lines found wholly inside.
        std::vector<CObject*> decided;
        ClipObjects(layers, nullptr, box, ring, layer, removed, pieces, &work, 0, true, &decided);
        for (POSITION p = pieces.GetHeadPosition(); p;) decided.push_back(pieces.GetNext(p));
        std::sort(decided.begin(), decided.end());
        // Removed objects no longer listed in work (cut lines whose place a piece took) are freed below.
        std::unordered_set<CObject*> unlisted;
        for (POSITION p = removed.GetHeadPosition(); p;) unlisted.insert(removed.GetNext(p));
        CObList keep;
        for (POSITION p = work.m_ObjList.GetHeadPosition(); p;) {
            CObject* item = work.m_ObjList.GetNext(p);
            if (!unlisted.empty()) unlisted.erase(item);
            if (!IS_KIND(item, CGeoVectorObject)) continue;
            CGeoVectorObject* obj = static_cast<CGeoVectorObject*>(item);
            if (std::binary_search(decided.begin(), decided.end(), item)) {
                keep.AddTail(obj);
                continue;
            }
            // Shapes without points of their own (points answer 0) go by their bounds alone.
            bool inside = true;
            for (int i = 0; inside && i < obj->GetPoints(); ++i) inside = ring.Locate(obj->GetPoint(i)) != 0;
            if (!inside) continue;
            // The bounds meet the polygon; a point of the object in both answers at once.
            const CRect b = obj->GetBoundsInMillimeter();
            bool meets = false;
            if (obj->GetPoints() > 0 && obj->GetUnit() == 3) {
                const POINT p0 = obj->GetPoint(0);
                meets = std::min(b.left, b.right) <= p0.x && p0.x <= std::max(b.left, b.right) &&
                        std::min(b.top, b.bottom) <= p0.y && p0.y <= std::max(b.top, b.bottom);
            }
            if (!meets && !PolygonXRect(pts.data(), static_cast<int>(count), b)) continue;
            keep.AddTail(obj);
        }
        CopyObjectsToLayer(keep, target, 1);
        for (CObject* obj : unlisted) delete obj;
    }
    return 1;
}
