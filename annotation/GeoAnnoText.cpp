// Text editing, union and division of annotations.
#include <cmath>
#include <cstring>

#include "annotation/AnnoCharPositions.h"
#include "annotation/AnnoLayout.h"
#include "annotation/AnnoSplit.h"
#include "annotation/DrawGeoAnno.h"
#include "annotation/AnnoBlockDraw.h"
#include "annotation/GeoAnno.h"
#include "core/GeoVectorLayer.h"
#include "core/GeoView.h"
#include "ostrel/Contact.h"
#include "ostrel/Measure.h"
#include "ostrel/Units.h"

namespace {

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) > 0x7F; }

// Bytes of character k starting at pos (1 or 2; a lead byte at the very end counts one).
int CharBytesAt(const CString& text, int pos) {
    return (IsLeadByte(text[pos]) && pos + 1 < text.GetLength()) ? 2 : 1;
}

}  // namespace

// ---- per-character editing ----

int CGeoAnno::SetAt(int k, CPoint* point, float* angle, char* text) {
    if (m_nPositionType != 6) return 0;
    if (k < 0 || k >= m_aPoints.GetSize() || k >= m_aAngles.GetSize()) return 0;
    if (text != nullptr && text[0] != '\0') {
        if (k >= GetStringCount(m_strText)) return 0;
        const int pos = FindCharPosition(k, m_strText);
        const int oldBytes = CharBytesAt(m_strText, pos);
        const int newBytes = (IsLeadByte(text[0]) && text[1] != '\0') ? 2 : 1;
        CString replaced = m_strText.Left(pos);
        replaced += CString(text, newBytes);
        replaced += m_strText.Mid(pos + oldBytes);
        m_strText = replaced;
    }
    if (point) m_aPoints[k] = *point;
    if (angle) m_aAngles[k] = *angle;
    return 1;
}

int CGeoAnno::InsertAt(int k, CPoint& start, float angle, CString& text) {
    if (m_nPositionType != 6) return 0;
    const int count = GetStringCount(m_strText);
    if (k < 0 || k > count) return 0;
    const int pos = k == count ? m_strText.GetLength() : FindCharPosition(k, m_strText);
    m_strText = m_strText.Left(pos) + text + m_strText.Mid(pos);
    CalculatePosForMultiP(this, start, angle, k, GetStringCount(text));
    CalculateAnnoBounds();
    return 1;
}

int CGeoAnno::Add(CPoint& point, float angle, const char* text) {
    if (m_nPositionType != 6 || text == nullptr || text[0] == '\0') return 0;
    const int bytes = (IsLeadByte(text[0]) && text[1] != '\0') ? 2 : 1;
    const int n = GetStringCount(m_strText);
    m_strText += CString(text, bytes);
    // An empty multi-point annotation still holds its one spare entry: reuse it.
    const int size = n == 0 ? 1 : n + 1;
    m_aPoints.SetSize(size);
    m_aAngles.SetSize(size);
    m_aPoints[size - 1] = point;
    m_aAngles[size - 1] = angle;
    CalculateAnnoBounds();
    return 1;
}

int CGeoAnno::DeletePoint(int k) {
    if (m_nPositionType != 6) return 0;
    const int count = GetStringCount(m_strText);
    if (k < 0 || k >= m_aPoints.GetSize() || k >= count || count < 2) return 0;
    const int pos = FindCharPosition(k, m_strText);
    m_strText.Delete(pos, CharBytesAt(m_strText, pos));
    m_aPoints.RemoveAt(k);
    m_aAngles.RemoveAt(k);
    CalculateAnnoBounds();
    return 1;
}

void CGeoAnno::MovePoint(int k, POINT d) {
    if (m_nPositionType != 6 || k < 0 || k >= m_aPoints.GetSize()) return;
    if (d.x == 0 && d.y == 0) return;
    m_aPoints[k].Offset(d.x, d.y);
    CalculateAnnoBounds();
}

void CGeoAnno::MovePointTo(int k, POINT p) {
    if (m_nPositionType != 6 || k < 0 || k >= m_aPoints.GetSize()) return;
    m_aPoints[k] = CPoint(p.x, p.y);
    CalculateAnnoBounds();
}

// ---- union ----

int CGeoAnno::CanBeUnion() const { return (m_nPositionType == 2 || GetFormatStyle()) ? 0 : 1; }

int CGeoAnno::UnionAnno(CGeoAnno* other, int mode) {
    if (other == nullptr || !CanBeUnion() || !other->CanBeUnion()) return 0;
    if (mode == 0) {
        if (m_nPositionType == 6) return 0;
        m_strText += other->m_strText;
    } else {
        if (m_nPositionType != 6) return 0;
        if (other->m_nPositionType == 6) {
            const int n = GetStringCount(other->m_strText);
            for (int k = 0; k < n; ++k) {
                CPoint p;
                float a = 0.0f;
                char ch[3] = {0, 0, 0};
                if (other->GetAt(k, &p, &a, ch)) Add(p, a, ch);
            }
        } else {
            CGeoAnno* spread = new CGeoAnno();
            spread->Copy(*other, 0, 1);
            ConvertToMultiPoint(spread);
            if (spread->m_nPositionType == 6) UnionAnno(spread, mode);
            spread->DetachLayer(1);
            delete spread;
        }
    }
    CalculateAnnoBounds();
    return 1;
}

int CGeoAnno::UnionAnno(CTypedPtrList<CObList, CGeoVectorObject*>& list, int mode) {
    POSITION pos = list.GetHeadPosition();
    if (pos != nullptr) {
        CGeoAnno* first = dynamic_cast<CGeoAnno*>(list.GetHead());
        if (first != nullptr) {
            SetGeoAnno(first->MakeGeoAnno());
            m_Margins = first->m_Margins;
            CGeoVectorObject::SetGeoView(first->GetGeoView());
            SetUnit(3);
            if (first->GetLayer() != nullptr && first->GetLayer() != GetLayer()) {
                if (GetLayer() != nullptr) DetachLayer(1);
                AttachLayer(first->GetLayer());
            }
        }
    }
    if (mode != 0) {
        m_nPositionType = 6;
        m_strText.Empty();
        SetPoints(1);
        m_aPoints[0] = CPoint(0, 0);
        m_aAngles[0] = 0.0f;
    } else {
        m_nPositionType = 0;
        // A multi-point first element leaves one entry per character: single-point text keeps one.
        m_aPoints.SetSize(1);
        m_aAngles.SetSize(1);
        if (pos != nullptr) list.GetNext(pos);
    }
    while (pos != nullptr) {
        CGeoAnno* anno = dynamic_cast<CGeoAnno*>(list.GetNext(pos));
        if (anno != nullptr && anno != this) UnionAnno(anno, mode);
    }
    CalculateAnnoBounds();
    return 1;
}

// ---- division ----

namespace {

const double kFullPi = 3.141592653589793;

// Bytes taken by the first n characters; a CR counts no character and takes the byte after it along.
int BytesOfFirstChars(const CString& text, int n) {
    const int len = text.GetLength();
    int pos = 0, counted = 0;
    while (pos < len && counted < n) {
        if (text[pos] == '\r') {
            pos += 2;
            continue;
        }
        pos += (IsLeadByte(text[pos]) && pos + 1 < len) ? 2 : 1;
        ++counted;
    }
    return pos < len ? pos : len;
}

}  // namespace

int CGeoAnno::GetPointPositionInAnno(CPoint p, CPoint& a, CPoint& b, int flag, int wantIndex) {
    CRect bounds = m_rcBounds;
    bounds.NormalizeRect();
    if (p.x < bounds.left || p.x > bounds.right || p.y < bounds.top || p.y > bounds.bottom) return -1;

    const int style = GetArrayStyle();
    const bool echelon = style == ARRAY_ECHELON;
    const bool multiPoint = m_nPositionType == 6;
    // Characters of a multi-point annotation carry their own turns (undone per character below), so
    // only other text is taken into its own frame as a whole.
    const bool frameTurn = !echelon && !multiPoint;
    const CPoint origin = m_aPoints[0];
    const double turn = m_fOrientAngle * kFullPi / 1800.0;
    if (frameTurn) p = CPoint(RotatePoint(p, origin, -turn));

    CArray<CPoint, CPoint> pts;
    CArray<int, int> widths;
    int h = 0;
    GetPositionPointArray(this, pts, widths, h, 0, 1);
    const int n = static_cast<int>(pts.GetSize());
    if (n == 0) return -1;

    CStringArray rows;
    const bool multiRow = CalculateMultiLineRows(m_strText, rows, ARRAY_HORIZONTAL) > 1;
    const bool columnLike = multiRow || style == ARRAY_VERTICAL || GetFormatStyle();
    int hit = -1;
    for (int i = 0; i < n && hit < 0; ++i) {
        CPoint q = p;
        if (multiPoint) {
            // Into the character's own frame: undo its turn about its anchor point.
            char ch[3];
            CPoint anchor;
            float angle = 0.0f;
            if (GetAt(i, &anchor, &angle, ch)) q = CPoint(RotatePoint(q, anchor, -(angle * 3.1415926 / 1800.0)));
            const CSize off = GetCharAlignOffset(m_byAlignType, widths[i], h, 1.0);
            CPoint corner(anchor.x - off.cx, anchor.y - off.cy);
            if (m_byAlignType == 2 || m_byAlignType == 5 || m_byAlignType == 8) corner.y -= h;
            pts[i] = corner;
        }
        int left = pts[i].x, right = pts[i].x + widths[i], bottom = pts[i].y, top = pts[i].y + h;
        if (style == ARRAY_HORIZONTAL && !multiPoint) {
            if (i > 0) left -= m_nColSpace / 2;
            if (i < n - 1) right += m_nColSpace / 2;
        } else if (style == ARRAY_VERTICAL) {
            if (i > 0) top += m_nRowSpace / 2;
            if (i < n - 1) bottom -= m_nRowSpace / 2;
        }
        if (q.x >= left && q.x <= right && q.y >= bottom && q.y <= top) {
            hit = i;
            p = q;
        }
    }
    if (hit < 0) return -1;

    const int x = pts[hit].x, y = pts[hit].y, w = widths[hit];
    int k = hit;
    if (multiPoint) {
        GetAt(hit, &a, nullptr, nullptr);
    } else if (!columnLike || flag) {
        if (hit == 0 || (hit < n - 1 && 2 * p.x > 2 * x + w)) {
            a = CPoint(x + w, y);
        } else {
            k = hit - 1;
            a = CPoint(x, y);
        }
    } else {
        if (hit == n - 1 || (hit > 0 && 2 * p.y > 2 * y + h)) {
            k = hit - 1;
            a = CPoint(x, y + h);
        } else {
            a = CPoint(x, y);
        }
    }
    if (echelon)
        b = CPoint(a.x, a.y + h);
    else if (columnLike)
        b = CPoint(x + w, a.y);
    else
        b = CPoint(a.x, y + h);
    if (frameTurn) {
        a = CPoint(RotatePoint(a, origin, turn));
        b = CPoint(RotatePoint(b, origin, turn));
    }
    return wantIndex ? k : BytesOfFirstChars(m_strText, k + 1);
}

void CGeoAnno::GetPointPositionInAnno(int k, CPoint& a, CPoint& b) {
    if (m_nPositionType == 6) {
        if (k >= 0 && k < m_aPoints.GetSize()) a = b = m_aPoints[k];
        return;
    }
    CArray<CPoint, CPoint> pts;
    CArray<int, int> widths;
    int h = 0;
    GetPositionPointArray(this, pts, widths, h, 0, 1);
    if (k < 0 || k >= pts.GetSize()) return;
    const int style = GetArrayStyle();
    CStringArray rows;
    const bool columnLike = CalculateMultiLineRows(m_strText, rows, ARRAY_HORIZONTAL) > 1 ||
                            style == ARRAY_VERTICAL || GetFormatStyle();
    const int x = pts[k].x, y = pts[k].y, w = widths[k];
    if (columnLike) {
        a = CPoint(x, y);
        b = CPoint(x + w, y);
    } else {
        a = CPoint(x + w, y);
        b = CPoint(x + w, y + h);
    }
    if (style != ARRAY_ECHELON) {
        const CPoint origin = m_aPoints[0];
        const double turn = m_fOrientAngle * kFullPi / 1800.0;
        a = CPoint(RotatePoint(a, origin, turn));
        b = CPoint(RotatePoint(b, origin, turn));
    }
}

void CGeoAnno::DivideAnnoIntoTwoParts(CPoint p, CTypedPtrList<CObList, CGeoVectorObject*>& list) {
    CPoint a, b;
    const int k = GetPointPositionInAnno(p, a, b, 0, 1);
    CStringArray rows;
    if (m_nPositionType == 6) {
        SplitMultiPointAnno(this, k, list);  // before the character hit
        return;
    }
    if (CalculateMultiLineRows(m_strText, rows, ARRAY_HORIZONTAL) > 1) {
        // After the row that holds character k (characters counted across the rows).
        int row = -1;
        for (int i = 0, first = 0; k >= 0 && i < rows.GetSize(); ++i) {
            first += GetStringCount(rows[i]);
            if (k < first) {
                row = i;
                break;
            }
        }
        SplitRowsAnno(this, row, list);
        return;
    }
    if (k < 0) return;
    const int n = BytesOfFirstChars(m_strText, k + 1);
    const CString left = m_strText.Left(n);
    const CString right = m_strText.Mid(n);

    const int style = GetArrayStyle();
    const bool vertical = style == ARRAY_VERTICAL;
    const int s = vertical ? m_nRowSpace : m_nColSpace;
    double theta = m_fOrientAngle * kFullPi / 1800.0;
    if (vertical) theta += kFullPi / 2;
    const CPoint half(static_cast<int>(std::trunc(std::cos(theta) * s / 2)),
                      static_cast<int>(std::trunc(std::sin(theta) * s / 2)));

    GEOANNO first = MakeGeoAnno();
    first.m_strText = vertical ? right : left;
    if (style != ARRAY_ECHELON) {
        first.m_nAlignType = vertical ? 2 : 6;
        first.m_ptPosition = a - half;
    }
    GEOANNO second = MakeGeoAnno();
    second.m_strText = vertical ? left : right;
    second.m_nAlignType = 0;
    second.m_ptPosition = a + half;

    for (GEOANNO* r : {&first, &second}) {
        CGeoAnno* part = new CGeoAnno(*r);
        part->CGeoVectorObject::SetGeoView(GetGeoView());
        part->SetUnit(3);
        part->SetObjectClassID(GetObjectClassID());
        // The part knows its layer but is not yet in its list: the caller owns it until it adds it.
        part->m_pLayer = m_pLayer;
        list.AddTail(part);
    }
}

// ---- conversion ----

int CGeoAnno::FindPosition(const GEOVIEW& style, CPoint p1, CPoint p2,
                           CTypedPtrList<CObList, CGeoAccessorialObject*>& list) {
    if (m_strText.IsEmpty() || GetFormatStyle() || GetArrayStyle() == ARRAY_ECHELON) return 0;
    const int type = m_nPositionType;
    if (type != 0 && type != 1 && type != 2 && type != 3) return 0;
    GEOANNO r = MakeGeoAnno();
    CPoint c[4] = {r.m_ptPosition, r.m_ptPosition, r.m_ptPosition, r.m_ptPosition};
    GetFourSquarePoint(r, c, 0, nullptr);

    // The corners are those of the unturned text, and the layout finds characters in that frame too, so
    // the segment is turned back into it (box text is never turned).
    POINT a = p1, b = p2;
    if (type != 2) {
        const POINT centre = r.m_ptRotateCenter;
        const double turn = GetEscapeAngle(0) * 3.1415926 / 1800.0;
        a = RotatePoint(a, centre, -turn);
        b = RotatePoint(b, centre, -turn);
    }
    POINT x1{0, 0}, x2{0, 0};
    if (type == 0 || type == 1) {
        if (!Intersection(a, b, c[0], c[1], x1) || !Intersection(a, b, c[3], c[2], x2)) return 0;
    } else if (!Intersection(a, b, c[0], c[3], x1) || !Intersection(a, b, c[1], c[2], x2)) {
        return 0;
    }
    r.m_nOutputMode = 3;
    r.m_nIndexResult = 0;
    r.m_nWorkX = static_cast<int>(std::trunc((static_cast<double>(x1.x) + x2.x) / 2.0 + 0.5));
    r.m_nWorkY = static_cast<int>(std::trunc((static_cast<double>(x1.y) + x2.y) / 2.0 + 0.5));
    if (type == 2) {
        tagGEORECT margins = m_Margins;
        DrawBoxedAnno(nullptr, 10000, 10000, CPoint(0, 0), CPoint(0, 0), style, r, &margins, nullptr, 0, 0, 1);
    } else {
        DrawGeoAnno(nullptr, 10000, 10000, CPoint(0, 0), CPoint(0, 0), style, r, nullptr, 0, nullptr, nullptr, 0, 1);
    }
    // The layout counts the bytes of the rows it passed, without their separators: the cut goes where
    // that content ends in the text, at the start of the next row. A cut before the first byte or after
    // the last would leave one part without text.
    int end = 0;
    const int cut = SkipRowContent(m_strText, r.m_nIndexResult, type != 2, &end);
    if (r.m_nIndexResult <= 0 || cut <= 0 || cut >= m_strText.GetLength()) return 0;
    // The layout leaves the record with its last row's position, align type and spacing; the parts are
    // made from the annotation's own record with the hit's index and point.
    GEOANNO hit = MakeGeoAnno();
    hit.m_nIndexResult = cut;
    hit.m_nWorkX = r.m_nWorkX;
    hit.m_nWorkY = r.m_nWorkY;
    CString text = m_strText;
    if (!SplitAnnoAtHit(10000, 10000, text, GetPositionPoint(0), hit, style, list, this)) return 0;
    // The first part ends where its last row does, without the separators after it.
    POSITION pos = list.GetTailPosition();
    list.GetPrev(pos);
    if (CGeoAnno* first = pos ? dynamic_cast<CGeoAnno*>(list.GetAt(pos)) : nullptr) first->SetName(m_strText.Left(end));
    return 1;
}

int CGeoAnno::GeoAnnoCanBeSpit() const {
    const GEOVIEW view = GetSelfGeoView();
    const DWORD flags = view.m_dwTextFlags;
    if (flags & (GEOVIEW_TEXT_UNDERLINE | GEOVIEW_TEXT_STRIKE | GEOVIEW_TEXT_EMPHASIS)) return 1;
    if (!(flags & GEOVIEW_TEXT_TRANSPARENT)) return 1;
    if (GetShowFrame() || GetFillFrame()) return 1;
    switch (m_nPositionType) {
    case 0:
    case 1:
    case 3: {
        if (GetFormatStyle()) return 1;
        CStringArray rows;
        const int n = CalculateMultiLineRows(m_strText, rows, GetArrayStyle());
        if (n > 1) return 1;
        return (n == 1 && m_nColSpace > 0) ? 1 : 0;
    }
    case 2:
        return 1;
    case 6:
        return m_aPoints.GetSize() > 1 ? 1 : 0;
    default:
        return 0;
    }
}

int ConvertGeoAnnoToPartAnno(CGeoAnno* a, CTypedPtrList<CObList, CGeoVectorObject*>& list, CGeoVectorLayer* layer) {
    if (a == nullptr) return 0;
    const CString text = a->GetName();
    const int count = GetStringCount(text);
    if (a->GetPositionType() == 6) {
        for (int k = 0; k < count; ++k) {
            CPoint p;
            float angle = 0.0f;
            char ch[3] = {0, 0, 0};
            if (!a->GetAt(k, &p, &angle, ch)) break;
            GEOANNO r = a->MakeGeoAnno();
            r.m_strText = ch;
            r.m_ptPosition = p;
            r.m_fEscapeAngle = angle;
            CGeoAnno* part = new CGeoAnno(r);
            part->CGeoVectorObject::SetGeoView(a->GetGeoView());
            if (a->GetLayer() != nullptr) part->AttachLayer(a->GetLayer());
            list.AddTail(part);
            part->CalculateAnnoBounds();
        }
        return 1;
    }
    CStringArray rows;
    if (a->GetFormatStyle() || a->GetArrayStyle() != ARRAY_HORIZONTAL ||
        CalculateMultiLineRows(text, rows, ARRAY_HORIZONTAL) != 1)
        return ConvertGeoAnnoToPartion(a, a->GetGeoView(), list, layer);

    const int cw = a->GetCharWidthA();
    const int h = a->GetCharHeight();
    const int space = a->GetSpace();
    const int len = text.GetLength();
    // x offsets of every character along the row.
    CArray<int, int> offsets;
    CArray<int, int> widths;
    int x = 0, bytes = 0, chars = 0, pos = 0;
    while (pos < len) {
        const int start = pos;
        NextCharPos(static_cast<LPCSTR>(text), pos, len);
        offsets.Add(x);
        bytes += pos - start;
        ++chars;
        const int next = static_cast<int>(static_cast<LONGLONG>(bytes) * cw / 2) + chars * space;
        widths.Add(next - x - space);
        x = next;
    }
    const int W = x - space;
    const int align = a->GetAlignType();
    const int col = align / 3, row = align % 3;
    const CPoint p0 = a->GetPositionPoint(0);
    const CPoint origin(p0.x - (col == 1 ? W / 2 : col == 2 ? W : 0), p0.y - (row == 1 ? h / 2 : row == 2 ? h : 0));
    const double turn = a->GetOrientAngle() * kFullPi / 1800.0;
    pos = 0;
    for (int i = 0; i < offsets.GetSize(); ++i) {
        const int start = pos;
        NextCharPos(static_cast<LPCSTR>(text), pos, len);
        GEOANNO r = a->MakeGeoAnno();
        r.m_strText = text.Mid(start, pos - start);
        CGeoAnno* part = new CGeoAnno(r);
        part->CGeoVectorObject::SetGeoView(a->GetGeoView());
        if (layer != nullptr) part->AttachLayer(layer);
        part->SetObjectClassID(a->GetObjectClassID());
        list.AddTail(part);
        // Each character keeps the text's align type, so its anchor sits at the same place of its own
        // box as the text's anchor does of the whole row: the character stays where it stood.
        const int w = widths[i];
        const POINT at = {origin.x + offsets[i] + (col == 1 ? w / 2 : col == 2 ? w : 0),
                          origin.y + (row == 1 ? h / 2 : row == 2 ? h : 0)};
        const POINT target = RotatePoint(at, p0, turn);
        part->Move(CSize(target.x - p0.x, target.y - p0.y));
    }
    return 1;
}

int AddAnnoListtoLayer(CTypedPtrList<CObList, CGeoVectorObject*>& list, CGeoVectorLayer* from, CGeoVectorLayer* to) {
    if (from == nullptr) return 0;
    if (to == nullptr) to = from;
    POSITION pos = list.GetHeadPosition();
    if (to == from) {
        while (pos != nullptr) {
            CGeoVectorObject* obj = list.GetNext(pos);
            if (obj != nullptr) obj->AttachLayer(to);
        }
        return 1;
    }
    const CRect fromMm = from->GetBoundsInMillimeter();
    const CRect toMm = to->GetBoundsInMillimeter();
    const CSize dMm(fromMm.left - toMm.left, fromMm.top - toMm.top);
    while (pos != nullptr) {
        CGeoVectorObject* obj = list.GetNext(pos);
        if (obj == nullptr) continue;
        obj->DetachLayer(1);
        SIZE d = dMm;
        ::ChangeUnit(3, obj->GetUnit(), d, 1.0);
        obj->Move(CSize(d.cx, d.cy));
        obj->AttachLayer(to);
    }
    return 1;
}

void CGeoAnno::ConvertGeoAnnoToVectorPath(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                          const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list,
                                          RECT* pClip, int xorMode, int nWord8, int scaleWidths) {
    list.RemoveAll();
    GEOANNO r = MakeGeoAnno();
    r.m_nOutputMode = 1;
    r.m_pOutputList = &list;
    tagGEORECT margins = m_Margins;
    tagGEOFORMAT format = m_Format;
    OnDrawAnno(pDC, scale, scale2, origin, offset, view, r, pClip, xorMode, &margins, &format, nWord8, scaleWidths);
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        CGeoVectorObject* obj = list.GetNext(pos);
        if (obj != nullptr) obj->SetObjectClassID(GetObjectClassID());
    }
}

void CGeoAnno::ConvertGeoAnnoToAnnoList(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                        const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list,
                                        RECT* pClip, int xorMode, int nWord8, int scaleWidths) {
    list.RemoveAll();
    GEOANNO r = MakeGeoAnno();
    r.m_nOutputMode = 2;
    r.m_pOutputList = &list;
    if (GeoAnnoCanBeSpit()) {
        tagGEORECT margins = m_Margins;
        tagGEOFORMAT format = m_Format;
        OnDrawAnno(pDC, scale, scale2, origin, offset, view, r, pClip, xorMode, &margins, &format, nWord8,
                   scaleWidths);
    } else if (!(view.m_dwTextFlags & GEOVIEW_TEXT_TRANSPARENT)) {
        DrawAnnoBackground(pDC, scale, scale2, origin, offset, view, r, pClip, xorMode, nullptr);
    }
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        CGeoVectorObject* obj = list.GetNext(pos);
        if (obj != nullptr) obj->SetObjectClassID(GetObjectClassID());
    }
}

int ConvertGeoAnnoToPath(CGeoAnno* a, const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list, int k,
                         CGeoVectorLayer* layer) {
    if (a == nullptr || k <= 0) return 0;
    const int d = a->GetCharWidthA() > a->GetCharHeight() ? a->GetCharWidthA() : a->GetCharHeight();
    // k * (d / (k * 50)) is d / 50; worked in integers it would be 0 for any d below 50 k.
    int scale = static_cast<int>(std::trunc(d / 50.0 + 0.5));
    if (scale < 1) scale = 1;
    {
        CClientDC dc(AfxGetMainWnd());
        a->ConvertGeoAnnoToVectorPath(&dc, static_cast<UINT>(scale), static_cast<UINT>(k), CPoint(0, 0), CPoint(0, 0),
                                      view, list, nullptr, 0, 0, 1);
    }
    return AddAnnoListtoLayer(list, dynamic_cast<CGeoVectorLayer*>(a->GetLayer()), layer);
}

int ConvertGeoAnnoToList(CGeoAnno* a, const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list,
                         CGeoVectorLayer* layer) {
    if (a == nullptr) return 0;
    {
        CClientDC dc(AfxGetMainWnd());
        a->ConvertGeoAnnoToAnnoList(&dc, 10000, 10000, CPoint(0, 0), CPoint(0, 0), view, list, nullptr, 0, 0, 1);
    }
    return AddAnnoListtoLayer(list, dynamic_cast<CGeoVectorLayer*>(a->GetLayer()), layer);
}

int ConvertGeoAnnoToPartion(CGeoAnno* a, const GEOVIEW& view, CTypedPtrList<CObList, CGeoVectorObject*>& list,
                            CGeoVectorLayer* layer) {
    if (a == nullptr || a->GetPositionType() == 2) return 0;
    list.RemoveAll();
    GEOANNO r = a->MakeGeoAnno();
    r.m_nOutputMode = 5;
    r.m_pOutputList = &list;
    tagGEOFORMAT format = a->MakeGeoFormat();
    {
        CClientDC dc(AfxGetMainWnd());
        DrawGeoAnno(&dc, 50000, 50000, CPoint(0, 0), CPoint(0, 0), view, r, nullptr, 0, nullptr, &format, 0, 1);
    }
    return AddAnnoListtoLayer(list, dynamic_cast<CGeoVectorLayer*>(a->GetLayer()), layer);
}
