#include "annotation/AutoLabelLine.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/AnnoLayout.h"
#include "annotation/DrawGeoAnno.h"
#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPLine.h"
#include "vector/GeoSPLine.h"

#include <ostrel/LabelPlacement.h>
#include <ostrel/Measure.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

const double kPi = 3.1415926;
using Pts = std::vector<POINT>;

int ClampToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

// trunc(v + 0.5), clamped to the int range.
int Round(double v) { return ClampToInt(std::trunc(v + 0.5)); }

int Scaled(int v, int s, double divisor) { return Round(static_cast<double>(v) * s / divisor); }

int HalfRounded(int size) { return Round(size / 2.0); }

// Geometry rounds to the nearest point, halves upwards, so that negative coordinates carry no bias.
POINT Pt(double x, double y) {
    POINT p;
    p.x = ClampToInt(std::floor(x + 0.5));
    p.y = ClampToInt(std::floor(y + 0.5));
    return p;
}

POINT InsertPoint(const POINT& a, const POINT& b, double t) { return CalcInsertPoint(a, b, t); }

double Length(const Pts& pts) { return pts.size() < 2 ? 0.0 : PolyLineLength(pts.data(), static_cast<int>(pts.size())); }

// The polyline offset by d to the left of its travel (side 1, y up) or to its right (otherwise).
Pts OffsetLine(const Pts& pts, double d, int side) {
    int count = static_cast<int>(pts.size());
    const POINT* moved = CalcOffsetPoint(pts.data(), count, d, side, 1);
    return moved ? Pts(moved, moved + count) : Pts();
}

// The index of the first vertex of the segment nearest to p, and the nearest point on it; -1 without
// segments.
int NearestOnLine(const Pts& pts, const POINT& p, POINT& nearest) {
    const RECT at{p.x, p.y, p.x, p.y};
    return CalcMinDisNo(pts.data(), static_cast<int>(pts.size()), at, nearest);
}

// A place on a polyline: the point and the index of the segment it lies on.
struct LinePos {
    int seg = 0;
    POINT pt{0, 0};
    bool atEnd = false;  // the last point of the line was reached
};

class Walker {
public:
    explicit Walker(const Pts& pts) : m_pts(pts) {}

    LinePos Start() const {
        LinePos p;
        p.pt = m_pts.front();
        return p;
    }

    // Moves by d along the line (backwards when d < 0), stopping at either end.
    LinePos Move(LinePos p, double d) const {
        const int last = static_cast<int>(m_pts.size()) - 1;
        p.atEnd = false;
        if (d >= 0) {
            while (true) {
                if (p.seg >= last) {
                    p.seg = last - 1;
                    p.pt = m_pts[last];
                    p.atEnd = true;
                    return p;
                }
                const POINT& b = m_pts[p.seg + 1];
                const double rem = Distance(p.pt, b);
                if (d <= rem) {
                    if (rem > 0) p.pt = InsertPoint(p.pt, b, d / rem);
                    if (p.seg + 1 == last && p.pt.x == b.x && p.pt.y == b.y) p.atEnd = true;
                    return p;
                }
                d -= rem;
                p.pt = b;
                ++p.seg;
            }
        }
        d = -d;
        while (true) {
            const POINT& a = m_pts[p.seg];
            const double rem = Distance(p.pt, a);
            if (d <= rem) {
                if (rem > 0) p.pt = InsertPoint(p.pt, a, d / rem);
                return p;
            }
            d -= rem;
            p.pt = a;
            if (p.seg == 0) return p;
            --p.seg;
        }
    }

    // The point at straight distance adv from the start, on the line after it.
    LinePos EndPoint(const LinePos& from, int adv) const {
        const int last = static_cast<int>(m_pts.size()) - 1;
        LinePos e;
        const int k = std::min(from.seg, last - 1);
        const double dEnd = Distance(from.pt, m_pts[k + 1]);
        if (Round(dEnd) >= adv) {
            e.seg = k;
            e.pt = dEnd > 0 ? InsertPoint(from.pt, m_pts[k + 1], adv / dEnd) : from.pt;
            return e;
        }
        for (int j = k + 2; j <= last; ++j) {
            const double dj = Distance(from.pt, m_pts[j]);
            if (Round(dj) == adv) {
                e.seg = j - 1;
                e.pt = m_pts[j];
                e.atEnd = j == last;
                return e;
            }
            if (dj > adv) {
                e.seg = j - 1;
                e.pt = CircleCross(m_pts[j - 1], m_pts[j], from.pt, adv);
                return e;
            }
        }
        e.seg = last - 1;
        e.pt = m_pts[last];
        e.atEnd = true;
        return e;
    }

private:
    // The crossing of segment a-b with the circle of radius r about c that lies on the segment, the
    // nearer to a first; b when the segment does not meet it.
    static POINT CircleCross(const POINT& a, const POINT& b, const POINT& c, double r) {
        POINT first{}, second{};
        return CalcLineXEllipse(a, b, c, r, r, first, second) ? first : b;
    }

    const Pts& m_pts;
};

// One piece of text: its bytes, mode (0 single byte, 1 double byte, 2 whole text, 3 the rest).
struct Piece {
    CString text;
    int mode = 0;
};

std::vector<Piece> SplitPieces(const CString& text) {
    std::vector<Piece> out;
    const int n = text.GetLength();
    for (int i = 0; i < n;) {
        const BYTE b = static_cast<BYTE>(text[i]);
        Piece p;
        if (b >= 0x80 && i + 1 < n) {
            p.text = text.Mid(i, 2);
            p.mode = 1;
            i += 2;
        } else {
            p.text = text.Mid(i, 1);
            p.mode = b >= 0x80 ? 1 : 0;
            i += 1;
        }
        out.push_back(p);
    }
    return out;
}

// Everything a run needs, scaled and in millimetres.
struct Labeller {
    CDC* dc = nullptr;
    int scale = 0;
    CPoint origin;
    CPoint offset;
    GEOVIEW view;
    GEOANNO anno;
    tagGEOFORMAT fmt;
    tagLINEPARA p;
    CGeoAnnoGrid* grid = nullptr;
    POINT startPoint{0, 0};  // start mode 3, millimetres

    std::vector<tagANNORECT> runBoxes;

    int LaidOutWidth(GEOANNO& a) {
        CPoint c[4];
        GetFourSquarePoint(a, c, 0, &fmt);
        return ClampToInt(static_cast<double>(c[1].x) - c[0].x);
    }
    int LaidOutHeight(GEOANNO& a) {
        CPoint c[4];
        GetFourSquarePoint(a, c, 0, &fmt);
        return ClampToInt(static_cast<double>(c[2].y) - c[1].y);
    }

    int TextExtent() {
        if (p.m_nWholeText) return LaidOutWidth(anno);
        return GetRowWidth(anno.m_strText, anno.m_nCharWidth, anno.m_nCharHeight, 0);
    }

    void BoxSize(const Piece& piece, int& w, int& h) {
        h = anno.m_nCharHeight;
        switch (piece.mode) {
        case 0: w = HalfRounded(anno.m_nCharWidth); break;
        case 1: w = anno.m_nCharWidth; break;
        case 2: {
            GEOANNO a = anno;
            a.m_strText = piece.text;
            w = LaidOutWidth(a);
            h = LaidOutHeight(a);
            break;
        }
        default:
            w = GetRowWidth(piece.text, anno.m_nCharWidth, anno.m_nCharHeight, anno.m_nColSpace);
            break;
        }
    }

    int Advance(const Piece& piece) {
        int w = 0, h = 0;
        BoxSize(piece, w, h);
        int b;
        if (p.m_nCharOrient == 2)
            b = h;
        else
            b = w;
        int adv = b;
        // A whole-text piece laid horizontally grows by the slant of one character only.
        const int base = (piece.mode == 2 && p.m_nCharOrient != 2) ? anno.m_nCharWidth : b;
        if (view.m_dwTextFlags & GEOVIEW_TEXT_SLANT)
            adv += Round(std::tan(anno.m_fItalicAngle * kPi / 1800.0) * base);
        if (view.m_dwTextFlags & GEOVIEW_TEXT_SONGJIAN)
            adv += Round(std::tan(p.m_fSongJianAngle * kPi / 1800.0) * base);
        return adv;
    }

    float PieceAngle(const POINT& a, const POINT& b) const {
        if (p.m_nCharOrient != 1 && p.m_nCharOrient != 2) return 0.0f;
        POINT ref = a;
        ref.x += 1000;
        double deg10 = CalcAngle(a, ref, b) * 180.0 / 3.141592653589793 * 10.0;
        if (p.m_nCharOrient == 2) deg10 += 900.0;
        return static_cast<float>(deg10);
    }

    // Places a piece from a towards b. With tests, 5 when it meets the previous box of the run, 6 when
    // the grid reports a collision; 0 when placed. align < 0 takes the table's code.
    int Place(const Piece& piece, const POINT& a, const POINT& b, bool tests, int align = -1) {
        int w = 0, h = 0;
        BoxSize(piece, w, h);
        float angle = PieceAngle(a, b);
        if (piece.mode == 3 && !runBoxes.empty()) angle = runBoxes.back().angle * 10.0f;
        tagANNORECT box(0, ClampToInt(static_cast<double>(a.x) + p.m_nOffsetX),
                        ClampToInt(static_cast<double>(a.y) + p.m_nOffsetY), w, h, angle / 10.0f);
        if (tests && piece.mode != 3) {
            if (!runBoxes.empty() && AnnoRectsIntersect(box, runBoxes.back(), -Round(p.m_nScale / 10.0))) return 5;
            if (grid != nullptr && grid->Intersects(box, p.m_nCollisionMargin)) return 6;
        }
        runBoxes.push_back(box);

        GEOANNO rec = anno;
        rec.m_strText = piece.text;
        rec.m_fEscapeAngle = angle;
        rec.m_fOrientAngle = angle;
        rec.m_ptPosition = a;
        rec.m_ptRotateCenter = a;
        rec.m_nAlignType = align >= 0 ? align : GetLineLabelAlign(p.m_nCharOrient, p.m_nSide);
        if (piece.mode == 3 && p.m_nCharOrient != 1) rec.SetArrayStyle(1);
        if (rec.m_nOutputMode == 2) {
            CGeoAnno* pAnno = new CGeoAnno(rec);
            pAnno->SetGeoView(view);
            pAnno->SetGeoFormat(fmt);
            pAnno->CalculateAnnoBounds();
            if (rec.m_pOutputList != nullptr)
                rec.m_pOutputList->AddTail(pAnno);
            else
                delete pAnno;
        } else if (dc != nullptr) {
            tagGEORECT margins = GetCurrentGeoRect(p.m_nScale);
            DrawGeoAnno(dc, static_cast<UINT>(p.m_nScale), static_cast<UINT>(scale), origin, offset, view, rec,
                        nullptr, 0, &margins, &fmt, 0, 1);
        }
        return 0;
    }

    void FlushRun() {
        if (grid != nullptr)
            for (tagANNORECT& box : runBoxes) {
                box.id = GetAnnoIndexID();
                grid->AddRecord(box);
            }
        runBoxes.clear();
    }

    // Labels one run (points in millimetres).
    void Run(const Pts& run) {
        if (run.size() < 2) return;
        const CString& text = anno.m_strText;
        const int E = TextExtent();
        std::vector<Piece> pieces;
        if (p.m_nWholeText) {
            Piece whole;
            whole.text = text;
            whole.mode = 2;
            pieces.push_back(whole);
        } else {
            pieces = SplitPieces(text);
        }
        const int n = static_cast<int>(pieces.size());

        POINT P{0, 0};
        int i = -1;
        int L;
        if (p.m_nStartMode == 3) {
            i = NearestOnLine(run, startPoint, P);
            if (i < 0) return;  // no start point: nothing to place
            Pts tail(run.begin() + i + 1, run.end());
            L = Round(Length(tail)) + Round(Distance(run[i], P));
        } else {
            L = ClampToInt(std::trunc(Length(run)));
        }

        if (L < E) {
            Piece whole;
            whole.text = text;
            whole.mode = 2;
            POINT a, b;
            const POINT mid = Pt(std::trunc(run.front().x / 2.0 + 0.5) + std::trunc(run.back().x / 2.0 + 0.5),
                                 std::trunc(run.front().y / 2.0 + 0.5) + std::trunc(run.back().y / 2.0 + 0.5));
            if (p.m_nStartMode == 3) {
                a = P;
                b = run.back();
            } else if (p.m_nStartMode == 1) {
                a = mid;
                b = run.front();
            } else {
                a = mid;
                b = run.back();
            }
            Place(whole, a, b, false, p.m_nStartMode == 3 ? -1 : 4);
            FlushRun();
            return;
        }

        int s = p.m_nCharSpace;
        if (Round((static_cast<double>(L) - E - static_cast<double>(n - 1) * s) / 2.0) < 0)
            s = ClampToInt(std::trunc((static_cast<double>(L) - E) / n));
        double startDist = 0;
        if (p.m_nStartMode == 2) {
            startDist = std::max(0, Round((static_cast<double>(L) - E - static_cast<double>(n - 1) * s) / 2.0));
        } else if (p.m_nStartMode == 3) {
            Pts head(run.begin(), run.begin() + i);
            startDist = Round(Length(head)) + Round(Distance(run[i], P));
        }

        // The working line.
        Pts work;
        const int h = p.m_nCharOrient == 0 ? HalfRounded(anno.m_nCharWidth) : 0;
        if (p.m_nSide == 2)
            work = run;
        else if (p.m_nSide == 1)
            work = OffsetLine(run, static_cast<double>(p.m_nLineDistance) + h + p.m_nHalfSymbolSize, 1);
        else if (p.m_nSide == 0 || p.m_nSide == 3)
            work = OffsetLine(run, static_cast<double>(p.m_nLineDistance) + h + p.m_nExtraDistance, 0);
        else
            return;

        const Walker walk(work);
        LinePos pos = walk.Move(walk.Start(), startDist);
        const bool tests = p.m_nCollisionTest != 0;
        for (int k = 0; k < n; ++k) {
            if (pos.atEnd) {
                PlaceRest(pieces, k, pos);
                break;
            }
            const int adv = Advance(pieces[k]);
            LinePos end = walk.EndPoint(pos, adv);
            bool restPlaced = false;
            while (Place(pieces[k], pos.pt, end.pt, tests) != 0) {
                if (p.m_nShiftStep <= 0) {
                    Place(pieces[k], pos.pt, end.pt, false);
                    break;
                }
                const LinePos next = walk.Move(pos, p.m_nShiftStep);
                if (next.atEnd) {
                    PlaceRest(pieces, k, next);
                    restPlaced = true;
                    break;
                }
                const int A = Round(Distance(end.pt, next.pt));
                if (A > p.m_nRetryLimit) {
                    pos = walk.Move(next, -(static_cast<double>(A) - p.m_nStepBack));
                    end = walk.EndPoint(pos, adv);
                    Place(pieces[k], pos.pt, end.pt, false);
                    break;
                }
                pos = next;
                end = walk.EndPoint(pos, adv);
            }
            if (restPlaced) break;
            pos = walk.Move(end, s);
            if (end.atEnd) pos.atEnd = true;
        }
        FlushRun();
    }

    void PlaceRest(const std::vector<Piece>& pieces, int k, const LinePos& at) {
        Piece rest;
        rest.mode = 3;
        for (size_t j = static_cast<size_t>(k); j < pieces.size(); ++j) rest.text += pieces[j].text;
        Place(rest, at.pt, at.pt, false);
    }

    // Cuts the line into at most 5 repeats of about equal length.
    std::vector<Pts> Repeats(const Pts& pts) {
        std::vector<Pts> runs;
        const int L = Round(Length(pts));
        const int D = std::max(TextExtent(), p.m_nMinRepeatLength);
        int n = 1;
        if (D > 0 && D < L) {
            n = Round(static_cast<double>(L) / D);
            if (n < 1) n = 1;
            if (n > 4) n = 5;
        }
        if (n <= 1) {
            runs.push_back(pts);
            return runs;
        }
        const double each = std::trunc(static_cast<double>(L) / n) + 1;
        Pts cur{pts.front()};
        double left = each;
        for (size_t j = 1; j < pts.size(); ++j) {
            POINT a = cur.back();
            const POINT& b = pts[j];
            double seg = Distance(a, b);
            while (seg >= left && static_cast<int>(runs.size()) < n - 1 && seg > 0) {
                const POINT cut = InsertPoint(a, b, left / seg);
                cur.push_back(cut);
                runs.push_back(cur);
                cur = Pts{cut};
                a = cut;
                seg = Distance(a, b);
                left = each;
            }
            left -= seg;
            cur.push_back(b);
        }
        if (cur.size() >= 2) runs.push_back(cur);
        return runs;
    }

    void LabelPiece(Pts pts) {
        if (p.m_nStartMode == 1) std::reverse(pts.begin(), pts.end());
        std::vector<Pts> runs = p.m_nRepeat ? Repeats(pts) : std::vector<Pts>{pts};
        for (Pts& r : runs) {
            if (p.m_nUnit != 3) ChangeUnit(p.m_nUnit, 3, r.data(), r.data(), static_cast<int>(r.size()));
            Run(r);
        }
    }
};

// The visible pieces of the line in the rectangle (edges count as inside), in order along the line.
std::vector<Pts> ClipPieces(const Pts& pts, const CRect& area) {
    const double l = std::min(area.left, area.right), r = std::max(area.left, area.right);
    const double b = std::min(area.top, area.bottom), t = std::max(area.top, area.bottom);
    std::vector<Pts> out;
    Pts cur;
    for (size_t j = 0; j + 1 < pts.size(); ++j) {
        const double x0 = pts[j].x, y0 = pts[j].y;
        const double dx = pts[j + 1].x - x0, dy = pts[j + 1].y - y0;
        double t0 = 0.0, t1 = 1.0;
        bool hit = true;
        const double pp[4] = {-dx, dx, -dy, dy};
        const double qq[4] = {x0 - l, r - x0, y0 - b, t - y0};
        for (int e = 0; e < 4 && hit; ++e) {
            if (pp[e] == 0) {
                if (qq[e] < 0) hit = false;
            } else {
                const double u = qq[e] / pp[e];
                if (pp[e] < 0)
                    t0 = std::max(t0, u);
                else
                    t1 = std::min(t1, u);
            }
        }
        if (hit && t0 > t1) hit = false;
        if (!hit) {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
            continue;
        }
        if (cur.empty()) cur.push_back(t0 <= 0 ? pts[j] : InsertPoint(pts[j], pts[j + 1], t0));
        cur.push_back(t1 >= 1 ? pts[j + 1] : InsertPoint(pts[j], pts[j + 1], t1));
        if (t1 < 1) {
            out.push_back(cur);
            cur.clear();
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

}  // namespace

int GetLineLabelAlign(int orientation, int side) {
    if (orientation == 1) return side == 1 ? 0 : side == 3 ? 2 : 1;
    if (orientation == 2) return side == 1 ? 6 : side == 3 ? 0 : 4;
    return side == 2 ? 1 : 4;
}

LABELRESULT AutoLabelGeoLine(CDC* dc, int scale, CPoint origin, CPoint offset, const GEOVIEW& style,
                             GEOANNO& text, tagLINEPARA& para, CRect& area, tagGEOFORMAT& format,
                             CGeoAnnoGrid* grid) {
    if (para.m_pPoints == nullptr || para.m_nPoints < 2 || text.m_strText.IsEmpty()) return LABEL_NOT_PLACED;

    Labeller lab;
    lab.dc = dc;
    lab.scale = scale;
    lab.origin = origin;
    lab.offset = offset;
    lab.view = style;
    lab.anno = MakeGeoAnno(text);
    lab.fmt = format;
    lab.p = para;
    lab.grid = grid;
    tagLINEPARA& p = lab.p;
    GEOANNO& anno = lab.anno;
    tagGEOFORMAT& fmt = lab.fmt;

    const int s = p.m_nScale;
    for (int* f : {&p.m_nCharSpace, &p.m_nRetryLimit, &p.m_nLineDistance, &p.m_nStepBack, &p.m_nMinRepeatLength,
                   &p.m_nCollisionMargin, &p.m_nShiftStep})
        *f = Scaled(*f, s, 10.0);
    for (int* f : {&p.m_nSymbolSize, &p.m_nHalfSymbolSize, &p.m_nExtraDistance}) *f = Scaled(*f, s, 100.0);
    fmt.hor = Scaled(fmt.hor, s, 10.0);
    fmt.ver = Scaled(fmt.ver, s, 10.0);
    fmt.fen_hor = Scaled(fmt.fen_hor, s, 10.0);
    fmt.fen_ver = Scaled(fmt.fen_ver, s, 10.0);
    fmt.fen_shu_width = static_cast<float>(static_cast<double>(fmt.fen_shu_width) * s / 10.0);
    anno.m_nCharHeight = Scaled(anno.m_nCharHeight, s, 10.0);
    anno.m_nCharWidth = Scaled(anno.m_nCharWidth, s, 10.0);
    anno.m_nColSpace = Scaled(anno.m_nColSpace, s, 10.0);
    anno.m_nRowSpace = Scaled(anno.m_nRowSpace, s, 10.0);

    if (p.m_nKind != 0 && p.m_nKind != 1 && p.m_nFormatText) anno.SetFormatStyle(1);
    if (anno.GetFormatStyle()) p.m_nWholeText = 1;

    if (p.m_nKind == 1 || p.m_nKind == 3) {
        anno.m_nOutputMode = 2;
    } else {
        if (p.m_nFitScale && s > 0) {
            const double e = static_cast<double>(scale) / s;
            ChangeAnnoSize(anno, lab.view, fmt, e);
            p.m_nLineDistance = ClampToInt(std::trunc(p.m_nLineDistance * e));
            p.m_nStepBack = ClampToInt(std::trunc(p.m_nStepBack * e));
        }
        anno.m_nOutputMode = 0;
    }

    if (p.m_nStartMode == 3) {
        POINT sp = {p.m_nStartX, p.m_nStartY};
        if (p.m_nUnit != 3) ChangeUnit(p.m_nUnit, 3, sp);
        lab.startPoint = sp;
    }
    anno.m_nUnit = 3;

    const Pts pts(para.m_pPoints, para.m_pPoints + para.m_nPoints);
    if (p.m_nKind == 3) {
        lab.LabelPiece(pts);
    } else if (p.m_nKind == 2) {
        for (const Pts& piece : ClipPieces(pts, area)) {
            if (piece.size() < 2) break;
            lab.LabelPiece(piece);
        }
    }
    return LABEL_PLACED;
}

namespace {

void SendProgress(long long done, int total) {
    if (total <= 0) return;
    CWnd* pWnd = AfxGetMainWnd();
    if (pWnd == nullptr) return;
    const double percent = std::trunc(100.0 * static_cast<double>(done) / total);
    pWnd->SendMessage(WM_GEO_LABEL_PROGRESS, static_cast<WPARAM>(ClampToInt(percent)), 0);
}

const DWORD kMarkJoined = 1;
const DWORD kMarkAbsorbed = 2;

// A polyline of the line: the line itself, or a new conversion of a spline (owned by holder).
CGeoPLine* AsPolyline(CGeoPLine* line, std::unique_ptr<CGeoPLine>& holder) {
    if (!line->IsKindOf(RUNTIME_CLASS(CGeoSPLine))) return line;
    CGeoLine* converted = line->ConvertTo(GLT_PLINE, 0);
    if (converted == nullptr) return nullptr;
    if (!converted->IsKindOf(RUNTIME_CLASS(CGeoPLine))) {
        delete converted;
        return nullptr;
    }
    holder.reset(static_cast<CGeoPLine*>(converted));
    return holder.get();
}

Pts PointsOf(const CGeoPLine& line) {
    Pts out;
    for (int i = 0; i < line.GetPoints(); ++i) out.push_back(line.GetPoint(i));
    return out;
}

bool EndsMeet(const CGeoPLine& a, const CGeoPLine& b) {
    const POINT ea[2] = {a.GetPoint(0), a.GetPoint(a.GetPoints() - 1)};
    const POINT eb[2] = {b.GetPoint(0), b.GetPoint(b.GetPoints() - 1)};
    for (const POINT& x : ea)
        for (const POINT& y : eb)
            if (Round(Distance(x, y)) == 0) return true;
    return false;
}

bool IsLine(CGeoPLine* p) { return p != nullptr && p->IsKindOf(RUNTIME_CLASS(CGeoPLine)); }

typedef std::vector<std::pair<POSITION, CGeoPLine*>> Originals;

// Appends B to A (the line at atA) when both are lines of at least two points with the same text whose
// ends meet; the first join puts a marked working copy of A in A's place, remembered in originals, so
// the caller's line is left as it was. B is then marked absorbed. A failed conversion or append leaves
// both as they were.
void TryJoin(CGeoPLine*& A, POSITION atA, CObList& list, CGeoPLine* B, Originals& originals) {
    std::unique_ptr<CGeoPLine> fresh;
    CGeoPLine* joined = A;
    if (A->GetObjectData() != kMarkJoined) {
        std::unique_ptr<CGeoPLine> conv;
        CGeoPLine* src = AsPolyline(A, conv);
        if (src == nullptr) return;
        fresh.reset(conv ? conv.release() : new CGeoPLine(*src));
        fresh->CopySymbolAttribute(*A);
        joined = fresh.get();
    }
    std::unique_ptr<CGeoPLine> convB;
    CGeoPLine* other = AsPolyline(B, convB);
    if (other == nullptr || !joined->AddLine(*other)) return;  // a new copy dies with fresh
    if (fresh) {
        fresh->SetObjectData(kMarkJoined);
        originals.emplace_back(atA, A);
        A = fresh.release();
        list.SetAt(atA, A);
    }
    B->SetObjectData(kMarkAbsorbed);
}

bool Joinable(CGeoPLine* A, CGeoPLine* B) {
    return IsLine(B) && B != A && B->GetObjectData() != kMarkAbsorbed && A->GetPoints() >= 2 && B->GetPoints() >= 2;
}

// The joining pass as first written: every line against every later one. It stays for lists that hold
// one line twice, where a line can meet itself and its own growing copy.
void JoinLinesPairwise(CTypedPtrList<CObList, CGeoPLine*>& lines, CStringList& texts, Originals& originals) {
    POSITION posA = lines.GetHeadPosition();
    POSITION posTA = texts.GetHeadPosition();
    while (posA != nullptr && posTA != nullptr) {
        const POSITION atA = posA;
        CGeoPLine* A = lines.GetNext(posA);
        const CString& tA = texts.GetNext(posTA);
        if (!IsLine(A) || A->GetObjectData() == kMarkAbsorbed) continue;
        POSITION posB = posA;
        POSITION posTB = posTA;
        while (posB != nullptr && posTB != nullptr) {
            CGeoPLine* B = lines.GetNext(posB);
            const CString& tB = texts.GetNext(posTB);
            if (Joinable(A, B) && tA == tB && EndsMeet(*A, *B)) TryJoin(A, atA, lines, B, originals);
        }
    }
}

// A line end under its text.
struct EndKey {
    std::string text;
    LONG x, y;
    bool operator==(const EndKey& o) const { return x == o.x && y == o.y && text == o.text; }
};

struct EndKeyHash {
    size_t operator()(const EndKey& k) const {
        const size_t h = std::hash<std::string>()(k.text);
        const unsigned long long xy = (static_cast<unsigned long long>(static_cast<ULONG>(k.x)) << 32) ^
                                      static_cast<ULONG>(k.y);
        return h ^ (std::hash<unsigned long long>()(xy) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
};

EndKey KeyOf(const CString& text, POINT p) {
    return EndKey{std::string(static_cast<const char*>(text), static_cast<size_t>(text.GetLength())), p.x, p.y};
}

// Joins lines of the same text that meet end to end: each line in list order, not yet absorbed, takes
// the later lines whose ends meet its own (as they are after each join), in list order. Ends meet when
// they round to distance 0, which for whole coordinates means they are equal, so the later lines are
// looked up by text and end point instead of comparing every pair. Later lines never change during the
// pass (only the line being grown and its place do), so ends read once stay true.
void JoinLines(CTypedPtrList<CObList, CGeoPLine*>& lines, CStringList& texts, Originals& originals) {
    struct Slot {
        POSITION at;
        CGeoPLine* line;
        const CString* text;
    };
    std::vector<Slot> slots;
    slots.reserve(static_cast<size_t>(lines.GetCount()));
    std::unordered_set<CGeoPLine*> seen;
    seen.reserve(static_cast<size_t>(lines.GetCount()));
    POSITION pos = lines.GetHeadPosition(), posT = texts.GetHeadPosition();
    while (pos != nullptr && posT != nullptr) {
        const POSITION at = pos;
        CGeoPLine* line = lines.GetNext(pos);
        const CString& text = texts.GetNext(posT);
        if (line != nullptr && !seen.insert(line).second) {
            JoinLinesPairwise(lines, texts, originals);
            return;
        }
        slots.push_back(Slot{at, line, &text});
    }
    // Positions (ascending) of the lines with an end at that point under that text.
    std::unordered_map<EndKey, std::vector<size_t>, EndKeyHash> byEnd;
    byEnd.reserve(2 * slots.size());
    for (size_t i = 0; i < slots.size(); ++i) {
        CGeoPLine* B = slots[i].line;
        if (!IsLine(B) || B->GetPoints() < 2) continue;
        const POINT s = B->GetPoint(0), e = B->GetPoint(B->GetPoints() - 1);
        byEnd[KeyOf(*slots[i].text, s)].push_back(i);
        if (s.x != e.x || s.y != e.y) byEnd[KeyOf(*slots[i].text, e)].push_back(i);
    }
    // The first position after `after` listed under the key; slots.size() when none.
    auto next = [&](const EndKey& key, size_t after) {
        auto it = byEnd.find(key);
        if (it == byEnd.end()) return slots.size();
        auto j = std::upper_bound(it->second.begin(), it->second.end(), after);
        return j == it->second.end() ? slots.size() : *j;
    };
    for (size_t i = 0; i < slots.size(); ++i) {
        CGeoPLine* A = slots[i].line;
        if (!IsLine(A) || A->GetObjectData() == kMarkAbsorbed) continue;
        size_t cur = i;
        while (A->GetPoints() >= 2) {
            const size_t j = std::min(next(KeyOf(*slots[i].text, A->GetPoint(0)), cur),
                                      next(KeyOf(*slots[i].text, A->GetPoint(A->GetPoints() - 1)), cur));
            if (j >= slots.size()) break;
            cur = j;
            CGeoPLine* B = slots[j].line;
            if (Joinable(A, B)) TryJoin(A, slots[i].at, lines, B, originals);
        }
    }
}

}  // namespace

int AutoLabelGeoLine(CDC* dc, int scale, CPoint& origin, CPoint& offset, const GEOVIEW& style,
                     const GEOANNO& text, const tagLINEPARA& para, CRect& area,
                     CTypedPtrList<CObList, CGeoPLine*>& lines, CStringList& texts, tagGEOFORMAT& format,
                     CGeoAnnoGrid* grid, CSymbolLibIO* symbols) {
    if (lines.GetCount() != texts.GetCount()) return 0;

    GEOANNO anno = MakeGeoAnno(text);
    const bool progress = para.m_nKind == 3;
    long long done = para.m_nObjectsDone;
    if (progress) SendProgress(done, para.m_nTotalObjects);

    const bool join = para.m_nJoinLines != 0;
    // Lines that working copies replaced in the list, to be put back afterwards.
    std::vector<std::pair<POSITION, CGeoPLine*>> originals;
    if (join) JoinLines(lines, texts, originals);

    POSITION posObj = lines.GetHeadPosition();
    POSITION posText = texts.GetHeadPosition();
    while (posObj != nullptr && posText != nullptr) {
        CGeoPLine* line = lines.GetNext(posObj);
        const CString& label = texts.GetNext(posText);
        if (IsLine(line) && !(join && line->GetObjectData() == kMarkAbsorbed)) {
            std::unique_ptr<CGeoPLine> conv;
            CGeoPLine* pl = AsPolyline(line, conv);
            if (pl != nullptr) {
                Pts pts = PointsOf(*pl);
                tagLINEPARA p = para;
                p.m_pPoints = pts.data();
                p.m_nPoints = static_cast<int>(pts.size());
                int first = 0, second = 0;
                GetObjSymbolSize(line, first, second, symbols);
                p.m_nSymbolSize = first;
                p.m_nHalfSymbolSize = HalfRounded(second);
                p.m_nUnit = line->GetUnit();
                anno.m_strText = label;
                AutoLabelGeoLine(dc, scale, origin, offset, style, anno, p, area, format, grid);
            }
        }
        ++done;
        if (progress) SendProgress(done, para.m_nTotalObjects);
    }

    if (join) {
        for (auto& o : originals) {
            delete lines.GetAt(o.first);
            lines.SetAt(o.first, o.second);
        }
        POSITION pos = lines.GetHeadPosition();
        while (pos != nullptr) {
            CGeoPLine* line = lines.GetNext(pos);
            if (IsLine(line)) line->SetObjectData(0);
        }
    }
    return 1;
}
