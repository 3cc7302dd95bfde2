// Text editing, union and division of annotations.
#include <cmath>
#include <cstring>

#include "annotation/AnnoCharPositions.h"
#include "annotation/AnnoLayout.h"
#include "annotation/GeoAnno.h"
#include "ostrel/Measure.h"

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
        if (pos != nullptr) list.GetNext(pos);
    }
    while (pos != nullptr) {
        CGeoAnno* anno = dynamic_cast<CGeoAnno*>(list.GetNext(pos));
        if (anno != nullptr && anno != this) UnionAnno(anno, mode);
    }
    CalculateAnnoBounds();
    return 1;
}
