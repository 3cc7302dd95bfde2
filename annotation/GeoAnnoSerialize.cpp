// The annotation record: the current layout, and the older layouts a load still accepts.
#include "annotation/AnnoLayout.h"
#include "annotation/GeoAnno.h"

#include <algorithm>

namespace {

// The largest character size an oldest-layout record may give (units of the record; 100 km in mm).
const int kMaxOldCharSize = 100000000;

}  // namespace

namespace {

void StoreFormat(CArchive& ar, const tagGEOFORMAT& f) {
    ar << static_cast<LONG>(f.fen_hor) << f.fen_shu_width << static_cast<LONG>(f.fen_ver) << static_cast<LONG>(f.hor)
       << static_cast<LONG>(f.ver);
}

// The spacing in the stored order; older records keep the bar width as an integer.
void LoadFormat(CArchive& ar, tagGEOFORMAT& f, bool intWidth) {
    LONG fenHor = 0, fenVer = 0, hor = 0, ver = 0;
    float width = 0.0f;
    ar >> fenHor;
    if (intWidth) {
        LONG w = 0;
        ar >> w;
        width = static_cast<float>(w);
    } else {
        ar >> width;
    }
    ar >> fenVer >> hor >> ver;
    f.fen_hor = fenHor;
    f.fen_shu_width = width;
    f.fen_ver = fenVer;
    f.hor = hor;
    f.ver = ver;
}

void LoadMargins(CArchive& ar, tagGEORECT& m) {
    LONG l = 0, r = 0, t = 0, b = 0;
    ar >> l >> r >> t >> b;
    m.left = l;
    m.right = r;
    m.top = t;
    m.bottom = b;
}

int ReadInt(CArchive& ar) {
    LONG v = 0;
    ar >> v;
    return v;
}

}  // namespace

void CGeoAnno::Serialize(CArchive& ar) {
    CGeoVectorObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_strText << static_cast<LONG>(m_nCharWidth) << static_cast<LONG>(m_nCharHeight);
        m_aAngles.Serialize(ar);
        ar << m_byAlignType << static_cast<LONG>(m_nColSpace) << m_byMoveFlag << m_fOrientAngle
           << static_cast<LONG>(m_nPositionType) << m_byStyle << m_fItalicAngle << m_fLineWidth
           << static_cast<DWORD>(m_crBackColor) << static_cast<LONG>(m_nRowSpace) << static_cast<LONG>(m_nBoldValue);
        if (GetFormatStyle()) StoreFormat(ar, m_Format);
        if (m_nPositionType == 2)
            ar << static_cast<LONG>(m_Margins.left) << static_cast<LONG>(m_Margins.right)
               << static_cast<LONG>(m_Margins.top) << static_cast<LONG>(m_Margins.bottom);
        m_aPoints.Serialize(ar);
        return;
    }
    // Whatever a damaged record leaves behind, the arrays keep the shape every index relies on.
    try {
        LoadRecord(ar);
    } catch (...) {
        RepairArrays();
        throw;
    }
    RepairArrays();
}

void CGeoAnno::LoadRecord(CArchive& ar) {
    const float v = GetOldVersion();
    m_nRowSpace = 0;
    m_nBoldValue = 400;

    if (v <= 1.15f) {
        // The oldest record: an alignment word, a vertical flag and a font weight.
        ar >> m_strText;
        ReadInt(ar);
        m_nCharHeight = ReadInt(ar);
        // The one size stands for both: a record that gives one beyond any text is damaged.
        if (m_nCharHeight > kMaxOldCharSize || m_nCharHeight < -kMaxOldCharSize)
            AfxThrowArchiveException(CArchiveException::badIndex);
        const int weight = ReadInt(ar);
        const UINT word = static_cast<UINT>(ReadInt(ar));
        const int vertical = ReadInt(ar);
        float dropped = 0.0f;
        ar >> dropped;
        ReadInt(ar);
        const int showFrame = ReadInt(ar);
        ReadInt(ar);
        m_nCharWidth = m_nCharHeight;
        SetGeoAnnoFormat(word);
        SetShowFrame(showFrame);
        GEOVIEW view = GetGeoView();
        view.SetBold(weight == 700 ? 1 : 0);
        SetGeoView(view);
        SetPoints(1);
        m_aPoints[0] = GetBoxAnchor(m_rcBounds, m_byAlignType);
        m_aAngles[0] = vertical ? 900.0f : 0.0f;
        m_fOrientAngle = vertical ? 900.0f : 0.0f;
        CalculateAnnoBounds();
        return;
    }

    ar >> m_strText;
    m_nCharWidth = ReadInt(ar);
    m_nCharHeight = ReadInt(ar);
    if (v >= 1.37f) {
        m_aAngles.Serialize(ar);
        ar >> m_byAlignType;
        m_nColSpace = ReadInt(ar);
        ar >> m_byMoveFlag >> m_fOrientAngle;
        m_nPositionType = ReadInt(ar);
        ar >> m_byStyle >> m_fItalicAngle >> m_fLineWidth;
        m_crBackColor = static_cast<COLORREF>(ReadInt(ar));
        m_nRowSpace = ReadInt(ar);
        m_nBoldValue = ReadInt(ar);
        if (GetFormatStyle()) LoadFormat(ar, m_Format, false);
        if (m_nPositionType == 2) LoadMargins(ar, m_Margins);
        m_aPoints.Serialize(ar);
        return;
    }

    // The head shared by the older layouts: one angle and the anchor inline.
    SetPoints(1);
    float angle = 0.0f;
    ar >> angle;
    m_aAngles[0] = angle;
    ar >> m_byAlignType;
    m_nColSpace = ReadInt(ar);
    ar >> m_byMoveFlag;
    POINT p;
    ar >> p;
    m_aPoints[0] = CPoint(p.x, p.y);
    ar >> m_fOrientAngle;
    m_nPositionType = ReadInt(ar);
    ar >> m_byStyle;

    if (v > 1.35f) {
        ar >> m_fItalicAngle >> m_fLineWidth;
        m_crBackColor = static_cast<COLORREF>(ReadInt(ar));
        m_nRowSpace = ReadInt(ar);
        m_nBoldValue = ReadInt(ar);
        if (GetFormatStyle()) LoadFormat(ar, m_Format, false);
        if (m_nPositionType == 2) LoadMargins(ar, m_Margins);
        return;
    }
    if (v > 1.2f) {
        ar >> m_fItalicAngle;
        m_fLineWidth = static_cast<float>(ReadInt(ar));
        m_crBackColor = static_cast<COLORREF>(ReadInt(ar));
        if (v > 1.25f) {
            m_nRowSpace = ReadInt(ar);
            m_nBoldValue = ReadInt(ar);
        }
        if (GetFormatStyle()) LoadFormat(ar, m_Format, true);
        if (m_nPositionType == 2) LoadMargins(ar, m_Margins);
        return;
    }
    // 1.15 < v <= 1.2: formatted text was a position type of its own.
    if (m_nPositionType == 5) {
        LoadFormat(ar, m_Format, true);
        annoflags::SetFlag(m_byStyle, ANNO_FORMATSTYLE, 1);
        m_nPositionType = 0;
    } else {
        annoflags::SetFlag(m_byStyle, ANNO_FORMATSTYLE, 0);
    }
    if (m_nPositionType == 2) {
        LoadMargins(ar, m_Margins);
    } else {
        SetShowFrame(0);
        SetFillFrame(0);
    }
}

void CGeoAnno::RepairArrays() {
    const int want = m_nPositionType == 6 ? std::max(1, GetStringCount(m_strText)) : 1;
    const CPoint firstPoint = m_aPoints.GetSize() > 0 ? m_aPoints[0] : CPoint(0, 0);
    const float firstAngle = m_aAngles.GetSize() > 0 ? m_aAngles[0] : 0.0f;
    const int oldPoints = m_aPoints.GetSize(), oldAngles = m_aAngles.GetSize();
    m_aPoints.SetSize(want);
    m_aAngles.SetSize(want);
    for (int k = oldPoints; k < want; ++k) m_aPoints[k] = firstPoint;
    for (int k = oldAngles; k < want; ++k) m_aAngles[k] = firstAngle;
}
