#include "annotation/GeoAnno.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/AnnoLayout.h"

#include <ostrel/Units.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

IMPLEMENT_SERIAL(CGeoAnno, CGeoVectorObject, 0)

int CGeoAnno::s_nAnnoCount = 0;

namespace {

// The array size the invariant asks for: the character count for multi-point text, else 1.
int ArraySizeFor(int positionType, const CString& text) {
    if (positionType != 6) return 1;
    return std::max(1, GetStringCount(text));
}

// Truncates toward zero, keeping the result inside the int range.
int TruncClamp(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(std::trunc(v));
}

// Whether the text holds the two-character escape backslash + 'n'; double-byte characters are stepped
// over whole, so a trail byte equal to a backslash never counts.
bool HasEscapedBreak(const CString& text) {
    const std::string& s = text.str();
    for (size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) > 0x7F) {
            i += 2;
            continue;
        }
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') return true;
        ++i;
    }
    return false;
}

}  // namespace

void CGeoAnno::NameNew() {
    ++s_nAnnoCount;
    DefaultObjectName();
}

CGeoAnno::CGeoAnno() {
    SetPoints(1);
    SetGeoAnno(GetCurrentGeoAnno(-1));
    m_nRowSpace = 0;
    m_nPositionType = 0;
    m_nColSpace = 0;
    m_byMoveFlag = 1;
    m_byStyle = 0;
    SetPoints(1);
    m_aPoints[0] = CPoint(0, 0);
    m_nBoldValue = 400;
    m_Format = GetBuiltInGeoFormat();
    m_Margins = GetBuiltInGeoRect();
    NameNew();
}

CGeoAnno::CGeoAnno(const CString& text, const CPoint& anchor, int charHeight, int charWidth, float escapeAngle,
                   float orientAngle, int alignType, int positionType, int moveFlag, int colSpace, int rowSpace,
                   int vertical, int twoAlign) {
    SetPoints(ArraySizeFor(positionType, text));
    m_byMoveFlag = static_cast<BYTE>(moveFlag);
    m_nColSpace = colSpace;
    m_aAngles[0] = escapeAngle;
    m_fOrientAngle = orientAngle;
    m_nPositionType = positionType;
    SetAlignType(alignType);
    m_nRowSpace = rowSpace;
    m_aPoints[0] = anchor;
    m_byStyle = 0;
    SetVert(vertical);
    SetTwoAlign(twoAlign);
    m_nCharWidth = charWidth;
    m_nCharHeight = charHeight;
    m_strText = text;
    m_Format = GetBuiltInGeoFormat();
    m_Margins = GetBuiltInGeoRect();
    const GEOANNO current = GetCurrentGeoAnno(-1);
    m_crBackColor = current.m_crBackColor;
    m_fLineWidth = current.m_fLineWidth;
    m_fItalicAngle = current.m_fItalicAngle;
    m_nBoldValue = 400;
    CalculateAnnoBounds();
    NameNew();
}

CGeoAnno::CGeoAnno(const CString& text, const CRect& box, int charHeight, int charWidth, const tagGEORECT& margins,
                   int alignType, int colSpace, int rowSpace, int twoAlign) {
    SetPoints(1);
    m_byMoveFlag = 0;
    m_aAngles[0] = 0.0f;
    m_fOrientAngle = 0.0f;
    m_nPositionType = 2;
    SetAlignType(alignType);
    m_nColSpace = colSpace;
    m_nRowSpace = rowSpace;
    m_rcBounds = box;
    m_byStyle = 0;
    SetTwoAlign(twoAlign);
    m_nCharWidth = charWidth;
    m_nCharHeight = charHeight;
    m_strText = text;
    m_Format = GetBuiltInGeoFormat();
    m_Margins = margins;
    const GEOANNO current = GetCurrentGeoAnno(-1);
    m_crBackColor = current.m_crBackColor;
    m_fLineWidth = current.m_fLineWidth;
    m_fItalicAngle = current.m_fItalicAngle;
    m_nBoldValue = 400;
    NameNew();
}

CGeoAnno::CGeoAnno(const CString& text, const CPoint& anchor, int charHeight, int charWidth,
                   const tagGEOFORMAT& spacing, float escapeAngle, float orientAngle, int alignType, int,
                   int colSpace) {
    SetPoints(1);
    m_byMoveFlag = 0;
    m_nColSpace = colSpace;
    m_aAngles[0] = escapeAngle;
    m_fOrientAngle = orientAngle;
    m_nPositionType = 0;
    m_byStyle = ANNO_FORMATSTYLE;
    SetAlignType(alignType);
    m_nRowSpace = 0;
    m_aPoints[0] = anchor;
    m_nCharWidth = charWidth;
    m_nCharHeight = charHeight;
    m_strText = text;
    m_Format = spacing;
    m_Margins = GetBuiltInGeoRect();
    const GEOANNO current = GetCurrentGeoAnno(-1);
    m_crBackColor = current.m_crBackColor;
    m_fLineWidth = current.m_fLineWidth;
    m_fItalicAngle = current.m_fItalicAngle;
    m_nBoldValue = 400;
    NameNew();
}

CGeoAnno::CGeoAnno(const GEOANNO& anno) {
    SetPoints(1);
    m_Format = GetBuiltInGeoFormat();
    SetGeoAnno(anno);
}

CGeoAnno::CGeoAnno(const CString& text, const CRect& box, int charWidth, int charHeight, UINT formatWord,
                   int vertical, float angleDegrees) {
    m_strText = text;
    SetPoints(1);
    m_nBoldValue = 400;
    if (vertical) {
        m_aAngles[0] = 900.0f;
        m_fOrientAngle = 900.0f;
    } else {
        m_aAngles[0] = angleDegrees * 10;
        m_fOrientAngle = angleDegrees * 10;
    }
    m_nCharWidth = charWidth;
    m_nCharHeight = charHeight;
    SetGeoAnnoFormat(formatWord);
    m_byMoveFlag = 0;
    m_nPositionType = 0;
    m_nColSpace = 0;
    m_byStyle = 0;
    m_nRowSpace = 0;
    CRect normal = box;
    normal.NormalizeRect();
    m_aPoints[0] = GetBoxAnchor(normal, m_byAlignType);
    const GEOANNO current = GetCurrentGeoAnno(-1);
    m_crBackColor = current.m_crBackColor;
    m_fLineWidth = current.m_fLineWidth;
    m_fItalicAngle = current.m_fItalicAngle;
    m_Format = GetBuiltInGeoFormat();
    m_Margins = GetBuiltInGeoRect();
    CalculateAnnoBounds();
    NameNew();
}

CGeoAnno::~CGeoAnno() {
    m_aPoints.RemoveAll();
    m_aAngles.RemoveAll();
}

// ---- conversions ----

GEOANNO CGeoAnno::MakeGeoAnno() const {
    GEOANNO r;
    r.m_strText = m_strText;
    r.m_fEscapeAngle = GetEscapeAngle(0);
    r.m_fOrientAngle = m_fOrientAngle;
    r.m_nAlignType = m_byAlignType;
    r.m_nCharHeight = m_nCharHeight;
    r.m_nCharWidth = m_nCharWidth;
    r.m_nPositionType = m_nPositionType;
    r.m_nColSpace = m_nColSpace;
    r.m_nUnit = m_nUnit;
    r.m_ptPosition = GetPositionPoint(0);
    r.m_rcBounds = m_rcBounds;
    r.m_nRowSpace = m_nRowSpace;
    r.m_byStyle = m_byStyle;
    r.m_ptRotateCenter = r.m_ptPosition;
    r.m_byMoveFlag = m_byMoveFlag;
    r.m_fItalicAngle = m_fItalicAngle;
    r.m_crBackColor = m_crBackColor;
    r.m_fLineWidth = m_fLineWidth;
    r.m_nBoldValue = m_nBoldValue;
    return r;
}

void CGeoAnno::SetGeoAnno(const GEOANNO& anno) {
    SetPoints(ArraySizeFor(anno.m_nPositionType, anno.m_strText));
    m_strText = anno.m_strText;
    SetEscapeAngle(anno.m_fEscapeAngle, 0);
    m_fOrientAngle = anno.m_fOrientAngle;
    SetAlignType(anno.m_nAlignType);
    m_nCharHeight = anno.m_nCharHeight;
    m_nCharWidth = anno.m_nCharWidth;
    m_nPositionType = anno.m_nPositionType;
    m_nColSpace = anno.m_nColSpace;
    SetUnit(anno.m_nUnit);
    m_aPoints[0] = anno.m_ptPosition;
    m_rcBounds = anno.m_rcBounds;
    m_nRowSpace = anno.m_nRowSpace;
    m_byStyle = anno.m_byStyle;
    m_byMoveFlag = anno.m_byMoveFlag;
    m_crBackColor = anno.m_crBackColor;
    m_fLineWidth = anno.m_fLineWidth;
    m_fItalicAngle = anno.m_fItalicAngle;
    m_nBoldValue = anno.m_nBoldValue;
    CalculateAnnoBounds();
}

void CGeoAnno::SetGeoRect(const tagGEORECT& rect) { m_Margins = rect; }

tagGEORECT CGeoAnno::GetGeoRect() const { return m_Margins; }

// ---- per-character arrays ----

float CGeoAnno::GetEscapeAngle(int i) const {
    const int k = m_nPositionType == 6 ? i : 0;
    if (k < 0 || k >= m_aAngles.GetSize()) return 0.0f;
    return m_aAngles[k];
}

void CGeoAnno::SetEscapeAngle(float angle, int i) {
    if (m_aAngles.GetSize() == 0) SetPoints(1);
    if (m_nPositionType != 6) {
        m_aAngles[0] = angle;
        return;
    }
    if (i == -1) {
        for (int k = 0; k < m_aAngles.GetSize(); ++k) m_aAngles[k] = angle;
    } else if (i >= 0 && i < m_aAngles.GetSize()) {
        m_aAngles[i] = angle;
    }
}

CPoint CGeoAnno::GetPositionPoint(int i) const {
    if (i < 0 || i >= m_aPoints.GetSize()) return CPoint(0, 0);
    return m_aPoints[i];
}

void CGeoAnno::SetPositionPoint(POINT p, int i) {
    if (i < 0 || i >= m_aPoints.GetSize()) return;
    m_aPoints[i] = CPoint(p.x, p.y);
}

POINT* CGeoAnno::GetPointPtr() { return m_aPoints.GetData(); }

float* CGeoAnno::GetAnglePtr() { return m_aAngles.GetData(); }

void CGeoAnno::SetPoints(int n) {
    if (n < 1) n = 1;
    const int oldPoints = m_aPoints.GetSize();
    const int oldAngles = m_aAngles.GetSize();
    m_aPoints.SetSize(n);
    m_aAngles.SetSize(n);
    for (int k = oldPoints; k < n; ++k) m_aPoints[k] = CPoint(0, 0);
    for (int k = oldAngles; k < n; ++k) m_aAngles[k] = 0.0f;
}

int CGeoAnno::GetAt(int k, CPoint* point, float* angle, char* text) const {
    if (point == nullptr && angle == nullptr && text == nullptr) return 0;
    if (k < 0 || k >= GetStringCount(m_strText) || k >= m_aPoints.GetSize()) return 0;
    if (point) *point = m_aPoints[k];
    if (angle) *angle = m_aAngles[k];
    if (text) {
        const int pos = FindCharPosition(k, m_strText);
        const int len = m_strText.GetLength();
        int n = (static_cast<unsigned char>(m_strText[pos]) > 0x7F && pos + 1 < len) ? 2 : 1;
        std::memcpy(text, static_cast<LPCSTR>(m_strText) + pos, static_cast<size_t>(n));
        text[n] = '\0';
    }
    return 1;
}

// ---- geometry ----

void CGeoAnno::GetFourPoints(CPoint pts[4], int turned, int character) const {
    GEOANNO r = MakeGeoAnno();
    if (r.GetFormatStyle()) {
        tagGEOFORMAT format = m_Format;
        GetFourSquarePoint(r, pts, turned, &format);
        return;
    }
    if (m_nPositionType == 6 && character == -1) {
        annoflags::SetFlag(r.m_byStyle, ANNO_FORMATSTYLE, 0);
        LONG minX = 1410065408, minY = 1410065408, maxX = -1410065408, maxY = -1410065408;
        const int count = GetStringCount(m_strText);
        for (int k = 0; k < count; ++k) {
            char ch[3] = {0, 0, 0};
            CPoint p;
            float a = 0.0f;
            if (!GetAt(k, &p, &a, ch)) break;
            r.m_strText = ch;
            r.m_ptPosition = r.m_ptRotateCenter = p;
            r.m_fEscapeAngle = a;
            CPoint four[4] = {p, p, p, p};
            GetFourSquarePoint(r, four, 1, nullptr);
            for (const CPoint& q : four) {
                minX = std::min(minX, q.x);
                minY = std::min(minY, q.y);
                maxX = std::max(maxX, q.x);
                maxY = std::max(maxY, q.y);
            }
        }
        pts[0] = CPoint(minX, minY);
        pts[1] = CPoint(maxX, minY);
        pts[2] = CPoint(maxX, maxY);
        pts[3] = CPoint(minX, maxY);
        return;
    }
    if (m_nPositionType == 6 && character >= 0) {
        char ch[3] = {0, 0, 0};
        CPoint p;
        float a = 0.0f;
        if (GetAt(character, &p, &a, ch)) {
            r.m_strText = ch;
            r.m_ptPosition = p;
            r.m_fEscapeAngle = a;
        }
        r.m_ptRotateCenter = r.m_ptPosition;
        GetFourSquarePoint(r, pts, turned, nullptr);
        return;
    }
    GetFourSquarePoint(r, pts, turned, nullptr);
}

void CGeoAnno::CalculateAnnoBounds() {
    if (m_nPositionType == 2) return;
    const CPoint unset(INT_MIN, INT_MIN);
    CPoint pts[4] = {unset, unset, unset, unset};
    GetFourPoints(pts, 1, -1);
    if (pts[0] == unset) return;  // text that cannot be measured here keeps its bounds
    LONG minX = pts[0].x, minY = pts[0].y, maxX = pts[0].x, maxY = pts[0].y;
    for (const CPoint& q : pts) {
        minX = std::min(minX, q.x);
        minY = std::min(minY, q.y);
        maxX = std::max(maxX, q.x);
        maxY = std::max(maxY, q.y);
    }
    m_rcBounds = CRect(minX, minY, maxX, maxY);
}

// ---- style ----

BOOL CGeoAnno::IsPositionType(int t) const {
    if (m_nPositionType != 0) return t == m_nPositionType;
    if (t == 0 || t == 1) return TRUE;
    if (t == 3) return m_strText.Find('\n') >= 0 && !HasEscapedBreak(m_strText);
    return FALSE;
}

void CGeoAnno::SetAlignType(int align) { m_byAlignType = static_cast<BYTE>((align < 0 || align > 8) ? 0 : align); }

void CGeoAnno::SetGeoAnnoFormat(UINT word) {
    const int col = (word & 0x02) ? 2 : (word & 0x01) ? 1 : 0;
    const int row = (word & 0x08) ? 2 : (word & 0x04) ? 1 : 0;
    m_byAlignType = static_cast<BYTE>(3 * col + row);
}

int CGeoAnno::GetGeoAnnoFormat() const {
    static const int kWord[9] = {0, 4, 8, 1, 5, 9, 2, 6, 10};
    return m_byAlignType <= 8 ? kWord[m_byAlignType] : 0;
}

CPoint CGeoAnno::GetBoxAnchor(const CRect& box, int align) {
    const LONG mx = TruncClamp(box.left / 2.0 + box.right / 2.0);
    const LONG my = TruncClamp(box.top / 2.0 + box.bottom / 2.0);
    switch (align) {
    case 1: return CPoint(box.left, my);
    case 2: return CPoint(box.left, box.bottom);
    case 3: return CPoint(mx, box.top);
    case 4: return CPoint(mx, my);
    case 5: return CPoint(mx, box.bottom);
    case 6: return CPoint(box.right, box.top);
    case 7: return CPoint(box.right, my);
    case 8: return CPoint(box.right, box.bottom);
    default: return CPoint(box.left, box.top);
    }
}

// ---- overrides ----

CGeoObject* CGeoAnno::Duplicate(int withAttribute, int withRecord) {
    CGeoAnno* pNew = new CGeoAnno;
    if (!pNew->Copy(*this, withAttribute, withRecord)) {
        pNew->Remove();
        return nullptr;
    }
    return pNew;
}

int CGeoAnno::CopyData(const CGeoVectorObject& src) {
    if (!CGeoVectorObject::CopyData(src)) return 0;
    const CGeoAnno* a = dynamic_cast<const CGeoAnno*>(&src);
    if (a == nullptr) return 0;
    m_strText = a->m_strText;
    m_aAngles.RemoveAll();
    for (int k = 0; k < a->m_aAngles.GetSize(); ++k) m_aAngles.Add(a->m_aAngles[k]);
    m_nCharHeight = a->m_nCharHeight;
    m_nCharWidth = a->m_nCharWidth;
    m_byMoveFlag = a->m_byMoveFlag;
    m_fOrientAngle = a->m_fOrientAngle;
    m_nPositionType = a->m_nPositionType;
    m_nColSpace = a->m_nColSpace;
    m_byAlignType = a->m_byAlignType;
    m_byStyle = a->m_byStyle;
    m_nRowSpace = a->m_nRowSpace;
    m_aPoints.RemoveAll();
    for (int k = 0; k < a->m_aPoints.GetSize(); ++k) m_aPoints.Add(a->m_aPoints[k]);
    SetGeoRect(a->GetGeoRect());
    m_Format = a->m_Format;
    m_crBackColor = a->m_crBackColor;
    m_fLineWidth = a->m_fLineWidth;
    m_fItalicAngle = a->m_fItalicAngle;
    m_nBoldValue = a->m_nBoldValue;
    return 1;
}

CRect CGeoAnno::GetBounds() const {
    CRect r = m_rcBounds;
    r.NormalizeRect();
    return r;
}

CPoint CGeoAnno::GetVisiblePoint() const { return CGeoVectorObject::GetVisiblePoint(); }

void CGeoAnno::OnUnitChanged(int nOldUnit) {
    // The base part converts the bounds; converting them here again would shrink them twice.
    CGeoVectorObject::OnUnitChanged(nOldUnit);
    auto conv = [nOldUnit, this](int& v) { v = TruncClamp(::ChangeUnit(nOldUnit, m_nUnit, static_cast<double>(v))); };
    conv(m_nCharHeight);
    conv(m_nCharWidth);
    conv(m_nColSpace);
    conv(m_nRowSpace);
    if (m_aPoints.GetSize() > 0)
        ::ChangeUnit(nOldUnit, m_nUnit, m_aPoints.GetData(), m_aPoints.GetData(), m_aPoints.GetSize(), 1.0);
}

void CGeoAnno::DefaultObjectName() {
    CString name;
    name.Format("注记 %d", s_nAnnoCount);
    m_strName = name;
}

CString CGeoAnno::GetObjectTypeName() const { return CString("注记"); }

int CGeoAnno::CanEditSymbolAttribute() const { return 0; }

int CGeoAnno::GetSnapPointA(CPoint&, CRect, int&, SNAPTYPE, LONG) { return 0; }

int CGeoAnno::GetPoints() const { return m_aPoints.GetSize(); }
