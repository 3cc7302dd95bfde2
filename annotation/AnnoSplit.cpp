#include "annotation/AnnoSplit.h"

#include <algorithm>
#include <cmath>

#include "annotation/AnnoLayout.h"
#include "annotation/AnnoTextDraw.h"
#include "annotation/FormatText.h"
#include "annotation/GeoAnno.h"
#include "core/GeoVectorLayer.h"
#include "ostrel/Measure.h"

namespace {

constexpr double kPi = 3.141592653589793;

int RoundHalfUp(double v) { return static_cast<int>(std::trunc(v + 0.5)); }

// Tenths of a degree to radians.
double TenthsToRadians(float tenths) { return tenths * kPi / 1800.0; }

// p turned clockwise (y up) about centre: back out of the text's counter-clockwise escape angle.
CPoint Turn(const CPoint& p, const CPoint& centre, double radians) {
    return CPoint(RotatePoint(p, centre, -radians));
}

// Widest row of rows (each measured with GetRowWidth); 0 for no rows.
int WidestRow(const CStringArray& rows, int charWidth, int charHeight, int colSpace) {
    int w = 0;
    for (int i = 0; i < rows.GetSize(); ++i) w = std::max(w, GetRowWidth(rows[i], charWidth, charHeight, colSpace));
    return w;
}

CString JoinRows(const CStringArray& rows, int from, int to) {
    CString s;
    for (int i = from; i <= to; ++i) {
        if (i > from) s += "\r\n";
        s += rows[i];
    }
    return s;
}

}  // namespace

int SplitMultiPointAnno(CGeoAnno* a, int k, CObList& out) {
    if (a == nullptr || a->GetPositionType() != 6) return 0;
    const int n = a->GetPoints();
    if (n < 2 || k < 1 || k >= n) return 0;
    const CString text = a->GetName();
    const int cut = FindCharPosition(k, text);
    if (cut < 0) return 0;  // fewer characters than points: nothing sound to cut

    const GEOANNO base = a->MakeGeoAnno();
    const CString parts[2] = {text.Left(cut), text.Mid(cut)};
    const int from[2] = {0, k};
    const int to[2] = {k, n};
    for (int p = 0; p < 2; ++p) {
        GEOANNO r = base;
        r.m_strText = parts[p];
        CGeoAnno* part = new CGeoAnno(r);
        part->SetPoints(to[p] - from[p]);
        for (int i = from[p]; i < to[p]; ++i) {
            part->SetPositionPoint(a->GetPositionPoint(i), i - from[p]);
            part->SetEscapeAngle(a->GetEscapeAngle(i), i - from[p]);
        }
        part->CGeoVectorObject::SetGeoView(a->GetGeoView());
        part->SetUnit(3);
        part->SetObjectClassID(a->GetObjectClassID());
        part->m_pLayer = a->m_pLayer;
        part->CalculateAnnoBounds();
        out.AddTail(part);
    }
    return 1;
}

int SplitRowsAnno(CGeoAnno* a, int k, CObList& out) {
    if (a == nullptr) return 0;
    const CString text = a->GetName();
    CStringArray rows;
    const int n = CalculateMultiLineRows(text, rows, 0);
    if (n < 2 || k < 0 || k > n - 2) return 0;

    const GEOANNO base = a->MakeGeoAnno();
    const int x = base.m_ptPosition.x;
    const int y = base.m_ptPosition.y;
    const int h = a->GetCharHeight();
    const int r = a->GetRowSpace();
    const int H = n * h + (n - 1) * r;
    const int H1 = (k + 1) * h + k * r;
    const int H2 = (n - k - 1) * h + (n - k - 2) * r;

    CPoint p1(x, y), p2(x, y);
    switch (a->GetAlignType() % 3) {
    case 2:  // top row
        p2 = CPoint(x, y - H1 - r);
        break;
    case 1:  // middle row
        p1 = CPoint(x, y + RoundHalfUp((H - H1) / 2.0));
        p2 = CPoint(x, y - RoundHalfUp((H - H2) / 2.0));
        break;
    default:  // bottom row
        p1 = CPoint(x, y + H2 + r);
        break;
    }
    const double turn = -TenthsToRadians(a->GetEscapeAngle(0));
    p1 = Turn(p1, base.m_ptPosition, turn);
    p2 = Turn(p2, base.m_ptPosition, turn);

    const CString texts[2] = {JoinRows(rows, 0, k), JoinRows(rows, k + 1, n - 1)};
    const CPoint points[2] = {p1, p2};
    int spaces[2] = {a->GetSpace(), a->GetSpace()};
    if (a->GetTwoAlign()) {
        CStringArray partRows[2];
        for (int i = 0; i <= k; ++i) partRows[0].Add(rows[i]);
        for (int i = k + 1; i < n; ++i) partRows[1].Add(rows[i]);
        int widest[2];
        for (int p = 0; p < 2; ++p)
            widest[p] = WidestRow(partRows[p], a->GetCharWidthA(), h, a->GetSpace());
        const int both = std::max(widest[0], widest[1]);
        for (int p = 0; p < 2; ++p) {
            const int m = GetMaxWords(partRows[p]);
            if (m > 1) spaces[p] += RoundHalfUp(static_cast<double>(both - widest[p]) / (m - 1));
        }
    }

    for (int p = 0; p < 2; ++p) {
        GEOANNO rec = base;
        rec.m_strText = texts[p];
        CGeoAnno* part = new CGeoAnno(rec);
        part->CGeoVectorObject::SetGeoView(a->GetGeoView());
        part->SetUnit(3);
        part->SetObjectClassID(a->GetObjectClassID());
        part->m_pLayer = a->m_pLayer;
        part->SetPositionPoint(points[p], 0);
        part->SetSpace(spaces[p]);
        out.AddTail(part);
        part->CalculateAnnoBounds();
    }
    return 1;
}

int SplitAnnoAtHit(UINT scale, UINT scale2, CString& text, CPoint point, GEOANNO& hit, const GEOVIEW& view,
                   CObList& out, CGeoAnno* source) {
    (void)text;
    if (source == nullptr) return 0;
    const CString all = hit.m_strText;
    const int i = hit.m_nIndexResult;
    // An index outside the text would cut nothing sound (and read past it).
    if (i < 0 || i > all.GetLength()) return 0;
    const CPoint h(hit.m_nWorkX, hit.m_nWorkY);

    CGeoAnno* part1 = new CGeoAnno(hit);
    CGeoAnno* part2 = new CGeoAnno(hit);
    part1->SetPositionPoint(point, 0);
    part1->SetName(all.Left(i));
    part2->SetName(all.Mid(i));

    const int type = hit.m_nPositionType;
    if (type == 0 || type == 1) {
        const int w = GetRowWidth(all.Left(i), hit.m_nCharWidth, hit.m_nCharHeight, hit.m_nColSpace);
        const double turn = -TenthsToRadians(hit.m_fEscapeAngle);
        part1->SetPositionPoint(Turn(CPoint(h.x - (hit.m_nColSpace + w), h.y), hit.m_ptPosition, turn), 0);
        part2->SetPositionPoint(Turn(h, hit.m_ptPosition, turn), 0);
        const int align = source->GetAlignType() == 8 ? 2 : 0;
        part1->SetAlignType(align);
        part2->SetAlignType(align);
    } else if (type == 2) {
        const double s = scale == 0 ? 1.0 : static_cast<double>(scale);
        const int t = static_cast<int>(std::trunc(view.m_fLineWidth * scale2 / s));
        CRect box = source->GetBounds();
        box.NormalizeRect();
        CRect box1 = box, box2 = box;
        box1.top = h.y + t;
        box2.bottom = h.y - t;
        part1->SetBounds(box1);
        part2->SetBounds(box2);
        part1->SetAlignType(0);
        part2->SetAlignType(2);
        part1->SetPositionType(2);
        part2->SetPositionType(2);
        part1->SetGeoRect(source->GetGeoRect());
        part2->SetGeoRect(source->GetGeoRect());
    } else if (type == 3) {
        const double turn = -TenthsToRadians(hit.m_fEscapeAngle);
        part1->SetPositionPoint(Turn(CPoint(h.x, h.y + hit.m_nRowSpace), hit.m_ptRotateCenter, turn), 0);
        part2->SetPositionPoint(Turn(h, hit.m_ptRotateCenter, turn), 0);
        const int column = source->GetAlignType() / 3;
        part1->SetAlignType(column * 3);
        part2->SetAlignType(column * 3 + 2);
    }
    if (type == 0 || type == 1 || type == 3) {
        part1->CalculateAnnoBounds();
        part2->CalculateAnnoBounds();
    }

    const GEOVIEW classView = source->GetGClassGeoView();
    for (CGeoAnno* part : {part1, part2}) {
        out.AddTail(part);
        part->SetUnit(source->GetUnit());
        part->SetObjectClassID(source->GetObjectClassID());
        part->SetDisplayAttribute(source->GetDisplayAttribute());
        part->CGeoVectorObject::SetGeoView(classView);
        part->m_pLayer = source->m_pLayer;
    }
    return 1;
}

namespace {

// a's own style without the requested decorations.
GEOVIEW StripView(GEOVIEW view, int eff) {
    if (eff & BREAKUP_DOTS) view.m_dwTextFlags &= ~GEOVIEW_TEXT_EMPHASIS;
    if (eff & BREAKUP_UNDERLINE) view.m_dwTextFlags &= ~GEOVIEW_TEXT_UNDERLINE;
    if (eff & BREAKUP_STRIKE) view.m_dwTextFlags &= ~GEOVIEW_TEXT_STRIKE;
    if (eff & BREAKUP_BACKGROUND) view.m_dwTextFlags |= GEOVIEW_TEXT_TRANSPARENT;
    return view;
}

void StripAnno(CGeoAnno& part, const GEOVIEW& ownView, int eff) {
    part.CGeoVectorObject::SetGeoView(StripView(ownView, eff));
    if (eff & BREAKUP_FILLFRAME) part.SetFillFrame(0);
    if (eff & BREAKUP_FRAMELINE) part.SetShowFrame(0);
    if (eff & BREAKUP_TWOALIGN) part.SetTwoAlign(0);
}

void MoveAll(CTypedPtrList<CObList, CGeoVectorObject*>& from, CTypedPtrList<CObList, CGeoVectorObject*>& to) {
    while (!from.IsEmpty()) to.AddTail(from.RemoveHead());
}

}  // namespace

int GetBreakUpEffectiveFlags(const CGeoAnno* a, int flags) {
    if (a == nullptr) return 0;
    const DWORD text = a->GetGeoView().m_dwTextFlags;
    const bool box = a->GetPositionType() == 2;
    if ((flags & BREAKUP_BOX) && box) flags |= BREAKUP_FRAMELINE | BREAKUP_FILLFRAME;
    const struct {
        int bit;
        bool has;
    } features[] = {
        {BREAKUP_FILLFRAME, a->GetFillFrame() != 0},
        {BREAKUP_WIDECHAR, a->GetCharWidthA() != a->GetCharHeight()},
        {BREAKUP_ROWSPACE, a->GetRowSpace() > 0},
        {BREAKUP_COLSPACE, a->GetSpace() > 0},
        {BREAKUP_BOX, box},
        {BREAKUP_FORMAT, a->GetFormatStyle() != 0},
        {BREAKUP_OUTLINES, true},
        {BREAKUP_UNDERLINE, (text & GEOVIEW_TEXT_UNDERLINE) != 0},
        {BREAKUP_STRIKE, (text & GEOVIEW_TEXT_STRIKE) != 0},
        {BREAKUP_DOTS, (text & GEOVIEW_TEXT_EMPHASIS) != 0},
        {BREAKUP_VERTICAL, a->GetArrayStyle() == ARRAY_VERTICAL},
        {BREAKUP_ECHELON, a->GetArrayStyle() == ARRAY_ECHELON},
        {BREAKUP_TWOALIGN, a->GetTwoAlign() != 0},
        {BREAKUP_FRAMELINE, a->GetShowFrame() != 0},
        {BREAKUP_MULTIROW, a->IsPositionType(3) != 0},
        {BREAKUP_BACKGROUND, (text & GEOVIEW_TEXT_TRANSPARENT) == 0},
        {BREAKUP_MULTIPOINT, a->GetPositionType() == 6},
    };
    int eff = 0;
    for (const auto& f : features)
        if (f.has) eff |= flags & f.bit;
    return eff;
}

int BreakUpAnno(CGeoAnno* a, CTypedPtrList<CObList, CGeoVectorObject*>& out, int flags, int outlineWidth) {
    if (a == nullptr) return 0;
    const int eff = GetBreakUpEffectiveFlags(a, flags);
    const bool outlines = (flags & (BREAKUP_WIDECHAR | BREAKUP_OUTLINES)) != 0;
    if (eff == 0 && !outlines) return 0;
    // Outlines need a width to size the letters by; without one nothing sound can be drawn.
    if (outlines && outlineWidth <= 0) return 0;

    const GEOVIEW ownView = a->GetGeoView();
    CGeoVectorLayer* layer = dynamic_cast<CGeoVectorLayer*>(a->GetLayer());

    const bool spacing = (eff & (BREAKUP_COLSPACE | BREAKUP_ROWSPACE | BREAKUP_TWOALIGN)) != 0;
    const int structural = (a->GetFormatStyle() ? BREAKUP_FORMAT : 0) |
                           (a->GetPositionType() == 2 ? BREAKUP_BOX : 0) |
                           (a->IsPositionType(3) ? BREAKUP_MULTIROW : 0) |
                           (a->GetArrayStyle() == ARRAY_ECHELON ? BREAKUP_ECHELON : 0) |
                           (a->GetArrayStyle() == ARRAY_VERTICAL ? BREAKUP_VERTICAL : 0) |
                           (a->GetPositionType() == 6 ? BREAKUP_MULTIPOINT : 0);
    bool copied = false;
    if (!spacing && (structural & ~flags) != 0) {
        CGeoAnno* copy = new CGeoAnno();
        copy->CGeoVectorObject::Copy(*a, 0, 0);
        StripAnno(*copy, ownView, eff);
        if (layer != nullptr) copy->AttachLayer(layer);
        out.AddTail(copy);
        copy->CalculateAnnoBounds();
        copied = true;
    }

    CTypedPtrList<CObList, CGeoVectorObject*> scratch;
    if (outlines) {
        // The conversion empties its list first, so it gets one of its own: out keeps what it held.
        ConvertGeoAnnoToPath(a, ownView, scratch, outlineWidth, nullptr);
        MoveAll(scratch, out);
        return 1;
    }
    if (!(eff & BREAKUP_MULTIROW) || (eff & BREAKUP_TWOALIGN))
        ConvertGeoAnnoToList(a, ownView, scratch, nullptr);
    else
        ConvertGeoAnnoToPartAnno(a, scratch, nullptr);

    CTypedPtrList<CObList, CGeoVectorObject*> rest;
    if (!copied) {
        while (!scratch.IsEmpty()) {
            CGeoVectorObject* obj = scratch.RemoveHead();
            if (CGeoAnno* piece = dynamic_cast<CGeoAnno*>(obj)) {
                StripAnno(*piece, ownView, eff);
                out.AddTail(piece);
            } else {
                rest.AddTail(obj);
            }
        }
        MoveAll(rest, scratch);
    }
    const DWORD order[] = {ANNO_DATA_DOT,       ANNO_DATA_UNDERLINE, ANNO_DATA_STRIKE,     ANNO_DATA_FRAMELINE,
                           ANNO_DATA_FILLFRAME, ANNO_DATA_FORMATSTROKE, ANNO_DATA_BACKGROUND};
    for (DWORD code : order) {
        if (!(static_cast<DWORD>(eff) & code)) continue;
        for (POSITION pos = scratch.GetHeadPosition(); pos != nullptr;) {
            const POSITION at = pos;
            CGeoVectorObject* obj = scratch.GetNext(pos);
            if (dynamic_cast<CGeoAnno*>(obj) == nullptr && obj->GetObjectData() == code) {
                out.AddTail(obj);
                scratch.RemoveAt(at);
            }
        }
    }
    while (!scratch.IsEmpty()) {
        CGeoVectorObject* obj = scratch.RemoveHead();
        obj->DetachLayer(0);
        delete obj;
    }
    return 1;
}
