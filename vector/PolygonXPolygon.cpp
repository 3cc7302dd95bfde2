#include "vector/PolygonXPolygon.h"

#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoNode.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygon2.h"
#include "vector/GeoPolygonLine.h"

#include <ostrel/Contact.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <unordered_set>

IMPLEMENT_DYNCREATE(CPolygonXPolygon, CObject)

namespace {

const double kTwoPi = 6.2831852;
const double kPi = 3.1415926;

bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// x + 0.5 truncated toward zero, saturated to 32 bits.
LONG Round5(double v) {
    double t = std::trunc(v + 0.5);
    if (!(t > -2147483648.0)) return INT32_MIN;
    if (t > 2147483647.0) return INT32_MAX;
    return static_cast<LONG>(t);
}

POINT At(const CGeoPLine* line, int i) { return line->GetPoint(i); }
POINT First(const CGeoPLine* line) { return line->GetPoint(0); }
POINT Last(const CGeoPLine* line) { return line->GetPoint(line->GetPoints() - 1); }

void Erase(std::vector<CGeoPLine*>& lines, CGeoPLine* line) {
    auto it = std::find(lines.begin(), lines.end(), line);
    if (it != lines.end()) lines.erase(it);
}

LONG SignedID(const CGeoPLine* line, bool forward) {
    LONG id = static_cast<LONG>(line->GetID());
    return forward ? id : -id;
}

}  // namespace

CPolygonXPolygon::CPolygonXPolygon() : m_nSplitTolerance(GetHandleRadius()), m_pLayer(new CGeoVectorLayer) {}

CPolygonXPolygon::~CPolygonXPolygon() { delete m_pLayer; }

// ---- planar helpers ----

double CPolygonXPolygon::iDist(POINT p, POINT q) {
    if (Same(p, q)) return 0;
    double dx = static_cast<double>(p.x) - q.x, dy = static_cast<double>(p.y) - q.y;
    return std::sqrt(dx * dx + dy * dy);
}

double CPolygonXPolygon::PointToLine(POINT a, POINT b, POINT p) {
    if (Same(a, b)) return iDist(a, p);
    double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    double cross = dx * (static_cast<double>(p.y) - a.y) - dy * (static_cast<double>(p.x) - a.x);
    return std::fabs(cross) / std::sqrt(dx * dx + dy * dy);
}

int CPolygonXPolygon::CrossPoint1(const double l1[3], const double l2[3], double& x, double& y) {
    const double det = l1[0] * l2[1] - l1[1] * l2[0];
    if (det == 0) return 0;
    x = (l1[1] * l2[2] - l2[1] * l1[2]) / det;
    y = (l2[0] * l1[2] - l1[0] * l2[2]) / det;
    return 1;
}

namespace {
// Coefficients (A, B, C) of A x + B y + C = 0 through p and q.
void LineCoefficients(POINT p, POINT q, double l[3]) {
    l[0] = static_cast<double>(q.y) - p.y;
    l[1] = static_cast<double>(p.x) - q.x;
    l[2] = static_cast<double>(q.x) * p.y - static_cast<double>(p.x) * q.y;
}

bool InBox(double x, double y, POINT a, POINT b) {
    return x >= std::min(a.x, b.x) && x <= std::max(a.x, b.x) && y >= std::min(a.y, b.y) && y <= std::max(a.y, b.y);
}
}  // namespace

int CPolygonXPolygon::CrossPoint2(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out) {
    double l1[3], l2[3], x, y;
    LineCoefficients(p1, p2, l1);
    LineCoefficients(p3, p4, l2);
    if (!CrossPoint1(l1, l2, x, y)) return 0;
    out.x = Round5(x);
    out.y = Round5(y);
    return 1;
}

int CPolygonXPolygon::IfLineXLine(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out) {
    if (Same(p1, p2) || Same(p3, p4)) return 0;
    if (std::max(p1.x, p2.x) < std::min(p3.x, p4.x) || std::max(p3.x, p4.x) < std::min(p1.x, p2.x) ||
        std::max(p1.y, p2.y) < std::min(p3.y, p4.y) || std::max(p3.y, p4.y) < std::min(p1.y, p2.y))
        return 0;
    POINT x;
    if (!CrossPoint2(p1, p2, p3, p4, x)) return 0;
    if (!InBox(x.x, x.y, p1, p2) || !InBox(x.x, x.y, p3, p4)) return 0;
    out = x;
    return 1;
}

int CPolygonXPolygon::LineForm(POINT a, POINT b, POINT p, POINT& out) {
    double fx = a.x, fy = a.y;
    if (!Same(a, b)) {
        double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
        double t = (dx * (static_cast<double>(p.x) - a.x) + dy * (static_cast<double>(p.y) - a.y)) / (dx * dx + dy * dy);
        fx = a.x + t * dx;
        fy = a.y + t * dy;
    }
    if (!InBox(fx, fy, a, b)) return 0;
    out.x = Round5(fx);
    out.y = Round5(fy);
    return 1;
}

double CPolygonXPolygon::InsectionAngle(POINT p, POINT a, POINT b) {
    if (Same(a, p) || Same(b, p)) return 0;
    auto direction = [&](POINT q) {
        double dx = static_cast<double>(q.x) - p.x, dy = static_cast<double>(q.y) - p.y;
        double c = std::max(-1.0, std::min(1.0, dx / std::sqrt(dx * dx + dy * dy)));
        return dy >= 0 ? std::acos(c) : kTwoPi - std::acos(c);
    };
    double d = direction(b) - direction(a);
    if (d < 0) d += kTwoPi;
    return d;
}

// ---- scratch objects ----

void CPolygonXPolygon::DropObject(CObject* obj) {
    if (auto* acc = dynamic_cast<CGeoAccessorialObject*>(obj)) m_pLayer->Delete(acc, 0);
    delete obj;
}

CGeoNode* CPolygonXPolygon::NodeByID(DWORD id) const { return dynamic_cast<CGeoNode*>(m_pLayer->FindObj(id)); }

CGeoPLine* CPolygonXPolygon::LineByID(DWORD id) const { return dynamic_cast<CGeoPLine*>(m_pLayer->FindObj(id)); }

// ---- pipeline ----

void CPolygonXPolygon::LineInsertPoint(LineList& lines) {
    for (CGeoPLine* A : lines) {
        for (CGeoPLine* B : lines) {
            if (A == B) continue;
            for (int i = 0; i < A->GetPoints() - 1; ++i) {
                for (int j = 0; j < B->GetPoints(); ++j) {
                    POINT a0 = At(A, i), a1 = At(A, i + 1), bj = At(B, j), f;
                    if (PointToLine(a0, a1, bj) > m_nLineTolerance || !LineForm(a0, a1, bj, f)) continue;
                    B->MovePointTo(j, f);
                    if (iDist(a0, f) < m_nVertexTolerance)
                        A->MovePointTo(i, f);
                    else if (iDist(a1, f) < m_nVertexTolerance)
                        A->MovePointTo(i + 1, f);
                    else
                        A->InsertPointAfter(f, i);  // f now ends the segment for B's later vertices
                }
            }
        }
    }
}

void CPolygonXPolygon::VerTexDistance(LineList& lines) {
    for (size_t k = 0; k < lines.size();) {
        CGeoPLine* L = lines[k];
        for (int i = 0; i < L->GetPoints() - 1; ++i)
            if (iDist(At(L, i), At(L, i + 1)) <= m_nVertexTolerance) L->DeletePoint(i + 1);
        if (L->GetPoints() <= 1) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(k));
            DropObject(L);
        } else {
            ++k;
        }
    }
}

void CPolygonXPolygon::NodeDistance(LineList& lines) {
    for (size_t l = 0; l < lines.size(); ++l) {
        CGeoPLine* L = lines[l];
        POINT e = Last(L);
        if (iDist(First(L), e) <= m_nNodeTolerance) L->MovePointTo(0, e);
        POINT s = First(L);
        for (size_t m = l + 1; m < lines.size(); ++m) {
            CGeoPLine* M = lines[m];
            const int last = M->GetPoints() - 1;
            if (iDist(First(M), s) <= m_nNodeTolerance) M->MovePointTo(0, s);
            if (iDist(First(M), e) <= m_nNodeTolerance) M->MovePointTo(0, e);
            if (iDist(At(M, last), s) <= m_nNodeTolerance) M->MovePointTo(last, s);
            if (iDist(At(M, last), e) <= m_nNodeTolerance) M->MovePointTo(last, e);
        }
    }
}

int CPolygonXPolygon::PLineXPLine(int& segmentB, CGeoPLine* A, CGeoPLine* B, CPoint* crossing) {
    const int nA = A->GetPoints(), nB = B->GetPoints();
    const bool self = A == B;
    const POINT a0 = First(A), aN = Last(A), b0 = First(B), bN = Last(B);
    for (int i = 0; i + 1 < nA; ++i) {
        const POINT p1 = At(A, i), p2 = At(A, i + 1);
        if (Same(p1, p2)) continue;  // a repeated vertex crosses nothing
        for (int j = 0; j + 1 < nB; ++j) {
            if (self && j >= i - 1 && j <= i + 1) continue;
            if (Same(At(B, j), At(B, j + 1))) continue;
            POINT x;
            if (!IfLineXLine(p1, p2, At(B, j), At(B, j + 1), x)) continue;
            // Within the split tolerance of a line's end counts as at that end: a crossing rounded to
            // whole units lies a unit or two off the lines, and the pieces of a split must not cross again
            // beside the point where they were cut.
            const bool aFirst = i == 0 && Near(x, a0), aLast = i == nA - 2 && Near(x, aN);
            const bool bFirst = j == 0 && Near(x, b0), bLast = j == nB - 2 && Near(x, bN);
            if (self) {
                if (!aFirst && !bLast) continue;
            } else if ((aFirst || aLast) && (bFirst || bLast)) {
                continue;  // ends meeting ends are nodes, not crossings
            }
            segmentB = j;
            *crossing = CPoint(x.x, x.y);
            return i;
        }
    }
    return -1;
}

bool CPolygonXPolygon::SplitLine(LineList& lines, CGeoPLine* line, int i, POINT x) {
    // A crossing at a vertex cuts there: inserting a copy of the vertex would leave a zero-length
    // segment that crosses the other line again at the same point, and splitting would never end.
    int at = i + 1;
    const bool onVertex = Near(x, At(line, i + 1)) || Near(x, At(line, i));
    if (onVertex) {
        if (!Near(x, At(line, i + 1))) at = i;
        if (at == 0 || at == line->GetPoints() - 1) return false;
    } else if (!line->InsertPointAfter(x, i)) {
        return false;
    }
    const int n = line->GetPoints();
    CGeoPLine* tail = new CGeoPLine;
    for (int k = at; k < n; ++k) tail->AddPoint(At(line, k));
    if (!onVertex && tail->GetPoints() > 1 && iDist(At(tail, 1), x) <= m_nSplitTolerance) tail->DeletePoint(1);
    line->TrimHead(at + 1);
    if (tail->GetPoints() < 2) {
        delete tail;
        return true;
    }
    m_pLayer->Add(tail);
    tail->SetUserID(line->GetUserID());
    tail->SetObjectClassID(line->GetObjectClassID());
    lines.push_back(tail);
    return true;
}

void CPolygonXPolygon::BreakLineXLine(LineList& lines) {
    int splits = 0;
    for (size_t ai = 0; ai < lines.size(); ++ai) {
        for (size_t bi = ai; bi < lines.size(); ++bi) {
            for (;;) {
                CGeoPLine* A = lines[ai];
                CGeoPLine* B = lines[bi];
                int j = -1;
                CPoint cx;
                const int i = PLineXPLine(j, A, B, &cx);
                if (i < 0) break;
                const POINT x = {cx.x, cx.y};
                const int nA = A->GetPoints(), nB = B->GetPoints();
                const bool splitA = !(i == 0 && Near(x, First(A))) && !(i == nA - 2 && Near(x, Last(A)));
                const bool splitB = A != B && !(j == 0 && Near(x, First(B))) && !(j == nB - 2 && Near(x, Last(B)));
                // Each split cuts a segment at a point inside it, so the pair's crossings move to
                // shorter pieces; the cap only guards against rounding cycles.
                const bool cutA = splitA && SplitLine(lines, A, i, x);
                const bool cutB = splitB && SplitLine(lines, B, j, x);
                if (!(cutA || cutB)) break;
                if (++splits >= kMaxSplits) return;
            }
        }
    }
}

void CPolygonXPolygon::DeletePublicLine(LineList& lines) {
    for (size_t a = 0; a < lines.size(); ++a) {
        for (size_t b = 0; b < lines.size();) {
            CGeoPLine* A = lines[a];
            CGeoPLine* B = lines[b];
            bool drop = A != B && A->GetPoints() == B->GetPoints();
            for (int k = 0; drop && k < B->GetPoints(); ++k) drop = A->PointOnLine(At(B, k), m_nLineTolerance) != -1;
            if (!drop) {
                ++b;
                continue;
            }
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(b));
            DropObject(B);
            if (b < a) --a;
        }
    }
}

void CPolygonXPolygon::GenerateNode(LineList& lines, NodeList& nodes) {
    std::map<std::pair<LONG, LONG>, CGeoNode*> at;
    auto nodeAt = [&](POINT p) {
        CGeoNode*& node = at[{p.x, p.y}];
        if (!node) {
            node = new CGeoNode(p);
            m_pLayer->Add(node);
            nodes.push_back(node);
        }
        return node;
    };
    auto record = [](CGeoNode* node, LONG v) {
        CDWordArray& ids = node->GetLineIDs();
        for (int k = 0; k < ids.GetSize(); ++k)
            if (static_cast<LONG>(ids[k]) == v) return;
        ids.Add(static_cast<DWORD>(v));
    };
    for (CGeoPLine* L : lines) {
        const POINT s = First(L), e = Last(L);
        CGeoNode* start = nodeAt(s);
        record(start, SignedID(L, true));
        L->SetObjectData(start->GetID());
        CGeoNode* end = Same(s, e) ? start : nodeAt(e);
        record(end, SignedID(L, false));
        L->SetObjectDataPtr(reinterpret_cast<void*>(static_cast<std::uintptr_t>(end->GetID())));
    }
}

namespace {
DWORD EndNodeID(const CGeoPLine* line) {
    return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(line->GetObjectDataPtr()));
}

void RemoveLineID(CGeoNode* node, DWORD id) {
    CDWordArray& ids = node->GetLineIDs();
    for (int k = ids.GetSize() - 1; k >= 0; --k) {
        LONG v = static_cast<LONG>(ids[k]);
        if (static_cast<DWORD>(v < 0 ? -static_cast<int64_t>(v) : v) == id) ids.RemoveAt(k);
    }
}

void EraseNode(std::vector<CGeoNode*>& nodes, CGeoNode* node) {
    auto it = std::find(nodes.begin(), nodes.end(), node);
    if (it != nodes.end()) nodes.erase(it);
}
}  // namespace

void CPolygonXPolygon::ClearDangleLineAndNode(LineList& lines, NodeList& nodes, NodeList& dangles) {
    const LineList snapshot = lines;
    for (CGeoPLine* first : snapshot) {
        if (std::find(lines.begin(), lines.end(), first) == lines.end()) continue;
        if (Same(First(first), Last(first))) continue;
        CGeoPLine* L = first;
        CGeoNode* s = NodeByID(L->GetObjectData());
        CGeoNode* e = NodeByID(EndNodeID(L));
        bool firstPass = true;
        while (L && s && e) {
            CGeoNode *lone = nullptr, *other = nullptr;
            if (s->GetLineIDs().GetSize() == 1) {
                lone = s;
                other = e;
            } else if (e->GetLineIDs().GetSize() == 1) {
                lone = e;
                other = s;
            } else {
                break;
            }
            if (firstPass) dangles.push_back(lone);
            firstPass = false;
            EraseNode(nodes, lone);
            Erase(lines, L);
            RemoveLineID(other, L->GetID());
            if (other->GetLineIDs().GetSize() == 0) {
                EraseNode(nodes, other);
                dangles.push_back(other);
                break;
            }
            if (other->GetLineIDs().GetSize() != 1) break;
            LONG v = static_cast<LONG>(other->GetLineIDs()[0]);
            L = LineByID(static_cast<DWORD>(v < 0 ? -static_cast<int64_t>(v) : v));
            if (!L || std::find(lines.begin(), lines.end(), L) == lines.end()) break;
            s = NodeByID(L->GetObjectData());
            e = NodeByID(EndNodeID(L));
        }
    }
}

namespace {
// The ring's vertices in traversal order: the first line's points, then each further line's without
// its first (the junction), every line taken in its direction; the closing point repeats the first.
std::vector<POINT> TraversalPoints(const CGeoPLineList& lines, const int* directions) {
    std::vector<POINT> pts;
    int k = 0;
    for (POSITION pos = lines.GetHeadPosition(); pos; ++k) {
        CGeoPLine* line = lines.GetNext(pos);
        const int n = line->GetPoints();
        const bool forward = directions[k] >= 1;
        for (int i = 0; i < n; ++i) {
            POINT p = line->GetPoint(forward ? i : n - 1 - i);
            if (i == 0 && !pts.empty()) continue;
            pts.push_back(p);
        }
    }
    return pts;
}
}  // namespace

int CPolygonXPolygon::IsWiseClock(CGeoPolygon2* ring, int* directions) {
    std::vector<POINT> pts = TraversalPoints(ring->GetBorderLines(), directions);
    if (pts.size() > 1 && Same(pts.front(), pts.back())) pts.pop_back();
    const size_t n = pts.size();
    if (n < 3) return 0;
    double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += InsectionAngle(pts[i], pts[(i + n - 1) % n], pts[(i + 1) % n]) - kPi;
    return sum > 0 ? 1 : 0;
}

int CPolygonXPolygon::A_Equal_B_Polygon(CGeoPolygon2* r1, CGeoPolygon2* r2) {
    auto covered = [](CGeoPolygon2* from, CGeoPolygon2* by) {
        POINT* pts = nullptr;
        int count = 0;
        if (!from->GetPolygonPoints(pts, count)) return false;
        bool all = true;
        for (int i = 0; all && i <= count; ++i) {
            bool found = false;
            const CGeoPLineList& lines = by->GetBorderLines();
            for (POSITION pos = lines.GetHeadPosition(); pos && !found;) found = lines.GetNext(pos)->FindPoint(pts[i]) != -1;
            all = found;
        }
        delete[] pts;
        return all;
    };
    return covered(r2, r1) && covered(r1, r2) ? 1 : 0;
}

void CPolygonXPolygon::ConstructPolyGon(LineList& lines, NodeList& nodes, RingList& rings) {
    (void)nodes;
    // Directions already walked (+ID from start node to end node, -ID the other way). It grows as
    // needed, so large networks are traced whole.
    std::vector<LONG> log;
    std::unordered_set<LONG> logged;
    auto note = [&](LONG v) {
        log.push_back(v);
        logged.insert(v);
    };
    const std::unordered_set<CGeoPLine*> live(lines.begin(), lines.end());

    auto addRing = [&](CGeoPolygon2* ring) {
        for (CGeoPolygon2* other : rings)
            if (A_Equal_B_Polygon(ring, other)) {
                delete ring;
                return;
            }
        m_pLayer->Add(ring);
        rings.push_back(ring);
    };

    auto trace = [&](CGeoPLine* L, bool forward) {
        note(SignedID(L, forward));
        CGeoPLineList ringLines;
        ringLines.AddTail(L);
        std::vector<int> dirs{forward ? 1 : -1};
        std::vector<CGeoNode*> visited;
        CGeoNode* node = NodeByID(forward ? EndNodeID(L) : L->GetObjectData());
        POINT prev = forward ? At(L, L->GetPoints() - 2) : At(L, 1);
        CGeoPLine* current = L;
        const size_t cap = lines.size() + 2;
        while (node && dirs.size() <= cap) {
            visited.push_back(node);
            const POINT np = node->GetPoint();
            CGeoPLine* best = nullptr;
            LONG bestV = 0;
            double bestAngle = 0;
            const CDWordArray& ids = node->GetLineIDs();
            for (int k = 0; k < ids.GetSize(); ++k) {
                const LONG v = static_cast<LONG>(ids[k]);
                const DWORD id = static_cast<DWORD>(v < 0 ? -static_cast<int64_t>(v) : v);
                if (id == current->GetID()) continue;
                CGeoPLine* M = LineByID(id);
                if (!M || !live.count(M) || M->GetPoints() < 2) continue;
                const POINT vtx = v > 0 ? At(M, 1) : At(M, M->GetPoints() - 2);
                const double angle = InsectionAngle(np, prev, vtx);
                if (angle > bestAngle) {
                    bestAngle = angle;
                    best = M;
                    bestV = v;
                }
            }
            if (!best) return;
            const bool walkForward = bestV > 0;
            if (best == L) {
                if (walkForward != forward) return;  // arrived at the first line's far end
                CGeoPolygon2* ring = new CGeoPolygon2(ringLines);
                if (!IsWiseClock(ring, dirs.data())) {
                    bool branched = false;
                    for (POSITION pos = ringLines.GetHeadPosition(); pos && !branched;) {
                        CGeoPLine* line = ringLines.GetNext(pos);
                        for (DWORD id : {static_cast<DWORD>(line->GetObjectData()), EndNodeID(line)}) {
                            CGeoNode* n = NodeByID(id);
                            if (n && n->GetLineIDs().GetSize() > 2) branched = true;
                        }
                    }
                    std::vector<CGeoNode*> sorted = visited;
                    std::sort(sorted.begin(), sorted.end());
                    const bool twice = std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
                    if (branched || twice) {
                        delete ring;
                        return;
                    }
                }
                addRing(ring);
                return;
            }
            const LONG dir = SignedID(best, walkForward);
            if (logged.count(dir)) return;
            note(dir);
            ringLines.AddTail(best);
            dirs.push_back(walkForward ? 1 : -1);
            current = best;
            node = NodeByID(walkForward ? EndNodeID(best) : static_cast<DWORD>(best->GetObjectData()));
            prev = walkForward ? At(best, best->GetPoints() - 2) : At(best, 1);
        }
    };

    const LineList snapshot = lines;
    for (CGeoPLine* L : snapshot) {
        if (L->GetPoints() <= 1) continue;
        const LONG id = static_cast<LONG>(L->GetID());
        if (Same(First(L), Last(L))) {
            CGeoPLineList single;
            single.AddTail(L);
            CGeoPolygon2* ring = new CGeoPolygon2(single);
            int forward = 1;
            note(IsWiseClock(ring, &forward) ? id : -id);
            addRing(ring);
            continue;
        }
        if (logged.count(id) && logged.count(-id)) continue;
        const bool forward = !logged.count(id);
        trace(L, forward);
        if (forward && !logged.count(-id)) trace(L, false);
    }
}

CGeoPolygonLine* CPolygonXPolygon::PolygonLineXPolygonLine(CGeoPolygonLine* a, CGeoPolygonLine* b) {
    if (!a || !b || a->GetPoints() < 3 || b->GetPoints() < 3) return nullptr;

    // 1. Closed copies, and the inputs' points for the inside tests.
    std::vector<POINT> ptsA, ptsB;
    LineList lines;
    for (CGeoPolygonLine* input : {a, b}) {
        std::vector<POINT>& pts = input == a ? ptsA : ptsB;
        CGeoPLine* copy = new CGeoPLine;
        for (int i = 0; i < input->GetPoints(); ++i) {
            pts.push_back(input->GetPoint(i));
            copy->AddPoint(pts.back());
        }
        pts.push_back(pts.front());
        copy->AddPoint(pts.front());
        m_pLayer->Add(copy);
        lines.push_back(copy);
    }
    const int nA = static_cast<int>(ptsA.size()) - 1, nB = static_cast<int>(ptsB.size()) - 1;

    // 2. Cleaning and topology.
    NodeList nodes, dangles;
    RingList rings;
    LineInsertPoint(lines);
    VerTexDistance(lines);
    NodeDistance(lines);
    BreakLineXLine(lines);
    VerTexDistance(lines);
    DeletePublicLine(lines);
    GenerateNode(lines, nodes);
    ClearDangleLineAndNode(lines, nodes, dangles);
    ConstructPolyGon(lines, nodes, rings);

    // 3. The first ring lying in or on both inputs.
    auto passes = [](POINT p, const std::vector<POINT>& pts, int n, CGeoPolygonLine* outline) {
        return PtInPolygon(p, pts.data(), n) != 0 || outline->PointOnLine(p, 1000) != -1;
    };
    CGeoPolygonLine* answer = nullptr;
    for (CGeoPolygon2* ring : rings) {
        POINT* pts = nullptr;
        int count = 0;
        if (!ring->GetPolygonPoints(pts, count)) continue;
        bool inside = true;
        for (int i = 0; inside && i <= count; ++i)
            inside = passes(pts[i], ptsA, nA, a) && passes(pts[i], ptsB, nB, b);
        if (inside) {
            answer = new CGeoPolygonLine;
            for (int i = 0; i < count; ++i) answer->AddPoint(pts[i]);
        }
        delete[] pts;
        if (answer) break;
    }

    // The scratch layer keeps nothing from one call to the next.
    delete m_pLayer;
    m_pLayer = new CGeoVectorLayer;
    return answer;
}
