#include "annotation/GeoClassLabel.h"

#include "annotation/AnnoDefaults.h"
#include "core/CorvaneModule.h"
#include "core/GeoGClass.h"

#include <afx/Document.h>

IMPLEMENT_SERIAL(CGeoClassLabel, CObject, 0)
IMPLEMENT_SERIAL(CGeoLayerLabel, CObject, 0)
IMPLEMENT_SERIAL(CGeoProLabel, CObject, 0)

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The names between unescaped '%' pairs, stepping over double-byte characters.
void ScanFieldNames(const CString& format, CStringArray& names) {
    names.RemoveAll();
    const char* s = format;
    const int n = format.GetLength();
    int open = -1;
    bool escaped = false;  // the previous character was a single-byte backslash
    for (int i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsLeadByte(c) && i + 1 < n) {
            ++i;
            escaped = false;
            continue;
        }
        if (c == '%' && !escaped) {
            if (open < 0) {
                open = i + 1;
            } else {
                names.Add(CString(s + open, i - open));
                open = -1;
            }
        }
        escaped = c == '\\';
    }
}

void WriteFormat(CArchive& ar, const tagGEOFORMAT& f) {
    ar << static_cast<LONG>(f.hor) << static_cast<LONG>(f.ver) << static_cast<LONG>(f.fen_hor)
       << static_cast<LONG>(f.fen_ver) << f.fen_shu_width;
}

}  // namespace

// ---- CGeoClassLabel ----

CGeoClassLabel::CGeoClassLabel()
    : m_GeoFormat(GetCurrentGeoFor(-1)), m_fItalicAngle(GetCurrentGeoAnno(-1).m_fItalicAngle) {}

CGeoClassLabel::CGeoClassLabel(const CGeoClassLabel& src) : CObject() { *this = src; }

CGeoClassLabel& CGeoClassLabel::operator=(const CGeoClassLabel& src) {
    if (this == &src) return *this;
    m_fVersion = src.m_fVersion;
    m_nClassID = src.m_nClassID;
    m_strFormat = src.m_strFormat;
    ScanFieldNames(m_strFormat, m_FieldNames);
    m_nHorOffset = src.m_nHorOffset;
    m_nHorOffsetLimit = src.m_nHorOffsetLimit;
    m_nVerOffset = src.m_nVerOffset;
    m_nVerOffsetLimit = src.m_nVerOffsetLimit;
    m_nPositionType = src.m_nPositionType;
    m_GeoView = src.m_GeoView;
    m_nCharHeight = src.m_nCharHeight;
    m_nCharWidth = src.m_nCharWidth;
    m_GeoFormat = src.m_GeoFormat;
    m_nLineNode = src.m_nLineNode;
    m_byPrecision = src.m_byPrecision;
    m_fItalicAngle = src.m_fItalicAngle;
    m_dwFlags = src.m_dwFlags;
    m_LabelPara = src.m_LabelPara;
    return *this;
}

void CGeoClassLabel::SetFormat(const CString& format) {
    m_strFormat = format;
    ScanFieldNames(m_strFormat, m_FieldNames);
}

void CGeoClassLabel::GetFieldList(CStringArray& names) const { names.Copy(m_FieldNames); }

int CGeoClassLabel::IsFieldExist(CGeoGClass& gc) const {
    for (int i = 0; i < m_FieldNames.GetSize(); ++i)
        if (gc.FindField(m_FieldNames[i]) < 0) return 0;
    return 1;
}

void CGeoClassLabel::SetLinePoint(LINENODE node) { m_nLineNode = node >= 5 ? LINENODE_FIRST : node; }

void CGeoClassLabel::SetPrecision(int precision) { m_byPrecision = static_cast<BYTE>(precision > 10 ? 3 : precision); }

void CGeoClassLabel::SetAttributeLabelType(const tagATTRILABELTYPE& t) {
    m_nPositionType = t.m_nPositionType;
    SetLinePoint(static_cast<LINENODE>(t.m_nLineNode));
    m_GeoView.m_crAnnoColor = t.m_crAnnoColor;
    SetPrecision(t.m_nPrecision);
    m_GeoView.m_nBufferWidth = t.m_nBufferWidth;
    m_nCharHeight = m_nCharWidth = t.m_nCharSize;
    m_GeoView.m_dwTextFlags = t.m_bTransparent ? (m_GeoView.m_dwTextFlags | 0x80) : (m_GeoView.m_dwTextFlags & ~0x80u);
    m_nHorOffsetLimit = t.m_nHorOffsetLimit;
    m_nHorOffset = t.m_nHorOffset;
    m_nVerOffsetLimit = t.m_nVerOffsetLimit;
    m_nVerOffset = t.m_nVerOffset;
    m_GeoFormat.hor = t.m_nHor;
    m_GeoFormat.ver = t.m_nVer;
    m_GeoFormat.fen_hor = t.m_nFenHor;
    m_GeoFormat.fen_ver = t.m_nFenVer;
    m_GeoFormat.fen_shu_width = t.m_fFenShuWidth;
    m_dwFlags = t.m_dwFlags;
}

tagATTRILABELTYPE CGeoClassLabel::GetAttributeLabelType() const {
    tagATTRILABELTYPE t{};
    t.m_nPositionType = m_nPositionType;
    t.m_nLineNode = m_nLineNode;
    t.m_crAnnoColor = m_GeoView.m_crAnnoColor;
    t.m_nPrecision = m_byPrecision;
    t.m_nBufferWidth = m_GeoView.m_nBufferWidth;
    t.m_nCharSize = m_nCharHeight;
    t.m_bTransparent = (m_GeoView.m_dwTextFlags & 0x80) ? 1 : 0;
    t.m_nHorOffsetLimit = m_nHorOffsetLimit;
    t.m_nHorOffset = m_nHorOffset;
    t.m_nVerOffsetLimit = m_nVerOffsetLimit;
    t.m_nVerOffset = m_nVerOffset;
    t.m_nHor = m_GeoFormat.hor;
    t.m_nVer = m_GeoFormat.ver;
    t.m_nFenHor = m_GeoFormat.fen_hor;
    t.m_nFenVer = m_GeoFormat.fen_ver;
    t.m_fFenShuWidth = m_GeoFormat.fen_shu_width;
    t.m_dwFlags = m_dwFlags;
    return t;
}

void CGeoClassLabel::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_nClassID) << m_strFormat << static_cast<LONG>(m_nHorOffset)
           << static_cast<LONG>(m_nHorOffsetLimit) << static_cast<LONG>(m_nCharHeight)
           << static_cast<LONG>(m_nCharWidth) << static_cast<LONG>(m_nLineNode) << m_byPrecision
           << GetCorvaneVersion() << static_cast<LONG>(m_nVerOffset) << static_cast<LONG>(m_nVerOffsetLimit);
        WriteFormat(ar, m_GeoFormat);
        ar << static_cast<LONG>(m_nPositionType) << m_fItalicAngle << m_dwFlags;
        m_FieldNames.Serialize(ar);
        m_GeoView.Serialize(ar);
        SerializeLabelPara(ar, m_LabelPara);
        return;
    }
    DWORD id = 0;
    LONG hs = 0, hl = 0, ch = 0, cw = 0, node = 0;
    BYTE precision = 0;
    float version = 0;
    ar >> id >> m_strFormat >> hs >> hl >> ch >> cw >> node >> precision >> version;
    m_nClassID = id;
    m_nHorOffset = hs;
    m_nHorOffsetLimit = hl;
    m_nCharHeight = ch;
    m_nCharWidth = cw;
    m_nLineNode = static_cast<LINENODE>(node);
    m_byPrecision = precision;
    m_fVersion = version;
    if (version >= 1.38f) {
        LONG vs = 0, vl = 0;
        ar >> vs >> vl;
        m_nVerOffset = vs;
        m_nVerOffsetLimit = vl;
    }
    LONG f[4] = {0, 0, 0, 0};
    ar >> f[0] >> f[1] >> f[2] >> f[3];
    m_GeoFormat.hor = f[0];
    m_GeoFormat.ver = f[1];
    m_GeoFormat.fen_hor = f[2];
    m_GeoFormat.fen_ver = f[3];
    if (version >= 1.36f) {
        ar >> m_GeoFormat.fen_shu_width;
    } else {
        LONG w = 0;
        ar >> w;
        m_GeoFormat.fen_shu_width = static_cast<float>(w);
    }
    LONG pos = 0;
    ar >> pos;
    m_nPositionType = pos;
    if (version > 1.3f) ar >> m_fItalicAngle;
    if (version > 1.31f) ar >> m_dwFlags;
    m_FieldNames.Serialize(ar);
    m_GeoView.Serialize(ar);
    if (version > 1.3f) SerializeLabelPara(ar, m_LabelPara);
}

// ---- CGeoLayerLabel ----

CGeoLayerLabel::CGeoLayerLabel(const CGeoLayerLabel& src) : CArray<CGeoClassLabel, CGeoClassLabel&>() { *this = src; }

CGeoLayerLabel& CGeoLayerLabel::operator=(const CGeoLayerLabel& src) {
    if (this == &src) return *this;
    ClearAll();
    m_strLayerName = src.m_strLayerName;
    for (int i = 0; i < src.GetSize(); ++i) {
        CGeoClassLabel copy = src[i];
        Add(copy);
    }
    m_fVersion = src.m_fVersion;
    return *this;
}

CGeoLayerLabel::~CGeoLayerLabel() { ClearAll(); }

void CGeoLayerLabel::Add(CGeoClassLabel& label) {
    const int at = FindGeoClassLabel(label.GetClassID());
    if (at >= 0)
        m_data[static_cast<size_t>(at)] = label;
    else
        m_data.push_back(label);
}

void CGeoLayerLabel::Delete(UINT classID) {
    const int at = FindGeoClassLabel(classID);
    if (at >= 0) RemoveAt(at);
}

int CGeoLayerLabel::FindGeoClassLabel(UINT classID) const {
    for (int i = 0; i < GetSize(); ++i)
        if ((*this)[i].GetClassID() == classID) return i;
    return -1;
}

int CGeoLayerLabel::FindGeoClassLabel(UINT classID, CGeoClassLabel& out) const {
    const int at = FindGeoClassLabel(classID);
    if (at < 0) return 0;
    out = (*this)[at];
    return 1;
}

void CGeoLayerLabel::ClearAll() {
    m_data.clear();
}

void CGeoLayerLabel::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_strLayerName << GetCorvaneVersion() << static_cast<LONG>(GetSize());
        for (CGeoClassLabel& label : m_data) label.Serialize(ar);
        return;
    }
    LONG count = 0;
    ar >> m_strLayerName >> m_fVersion >> count;
    if (count < 0) AfxThrowArchiveException(CArchiveException::badIndex);
    CGeoClassLabel working;
    for (LONG i = 0; i < count; ++i) {
        working.Serialize(ar);
        Add(working);
    }
}

// ---- CGeoProLabel ----

CGeoProLabel& CGeoProLabel::operator=(const CGeoProLabel& src) {
    if (this == &src) return *this;
    ClearAll();
    for (int i = 0; i < src.GetSize(); ++i) Add(src.GetLayerLabel(i));
    m_fVersion = src.m_fVersion;
    return *this;
}

CGeoProLabel::~CGeoProLabel() { ClearAll(); }

void CGeoProLabel::Add(CGeoLayerLabel* label) {
    if (!label) return;
    CGeoLayerLabel* copy = new CGeoLayerLabel(*label);
    const bool merged = FindGeoLayerLabel(copy->GetLayerName()) != nullptr;
    AddGeoLayerLabel(copy);
    if (merged) delete copy;  // assigned into the one there
}

CGeoLayerLabel* CGeoProLabel::FindGeoLayerLabel(const CString& layer) const {
    const int at = FindLayerLabelOrder(layer);
    return at < 0 ? nullptr : GetLayerLabel(at);
}

int CGeoProLabel::FindGeoLayerLabel(const CString& layer, CGeoLayerLabel& out) const {
    CGeoLayerLabel* found = FindGeoLayerLabel(layer);
    if (!found) return 0;
    out = *found;
    return 1;
}

int CGeoProLabel::FindLayerLabelOrder(const CString& layer) const {
    for (int i = 0; i < GetSize(); ++i)
        if (GetLayerLabel(i) && GetLayerLabel(i)->GetLayerName() == layer) return i;
    return -1;
}

int CGeoProLabel::FindGeoClassLabel(const CString& layer, UINT classID, CGeoClassLabel& out) const {
    CGeoLayerLabel* found = FindGeoLayerLabel(layer);
    return found ? found->FindGeoClassLabel(classID, out) : 0;
}

int CGeoProLabel::AddGeoLayerLabel(CGeoLayerLabel* label) {
    if (!label) return 0;
    if (CGeoLayerLabel* existing = FindGeoLayerLabel(label->GetLayerName())) {
        if (existing != label) *existing = *label;
    } else {
        m_data.push_back(label);
    }
    return 1;
}

int CGeoProLabel::RemoveGeoLayerLabel(const CString& layer) {
    const int at = FindLayerLabelOrder(layer);
    if (at < 0) return 0;
    delete GetLayerLabel(at);
    RemoveAt(at);
    return 1;
}

void CGeoProLabel::ClearAll() {
    for (void* p : m_data) delete static_cast<CGeoLayerLabel*>(p);
    m_data.clear();
}

void CGeoProLabel::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        const float version = GetCorvaneVersion();
        DWORD count = static_cast<DWORD>(GetSize());
        if (version > 1.0f) count |= 0x80000000u;
        ar << count;
        for (int i = 0; i < GetSize(); ++i) GetLayerLabel(i)->Serialize(ar);
        if (version > 1.0f) ar << version;
        return;
    }
    DWORD count = 0;
    ar >> count;
    const bool versioned = (count & 0x80000000u) != 0;
    count &= 0x7FFFFFFFu;
    ar.EnsureAvailable(count);
    for (DWORD i = 0; i < count; ++i) {
        CGeoLayerLabel* label = new CGeoLayerLabel;
        m_data.push_back(label);  // owned at once, so a fault part-way leaves nothing loose
        label->Serialize(ar);
    }
    if (versioned) ar >> m_fVersion;
}

// ---- label-set files ----

int ReadGeoAttributeLabel(const CString& path, CGeoProLabel& first, CGeoProLabel& second, CGeoProLabel& third) {
    first.ClearAll();
    second.ClearAll();
    third.ClearAll();
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) return 0;
    try {
        CArchive ar(&file, CArchive::load, 4096);
        first.Serialize(ar);
        if (first.GetOldVersion() > 1.3f) {
            second.Serialize(ar);
            third.Serialize(ar);
        }
        ar.Close();
    } catch (CException&) {
        return 0;
    }
    return 1;
}

int WriteGeoAttributeLabel(const CString& path, CGeoProLabel& first, CGeoProLabel& second, CGeoProLabel& third) {
    // Through a temporary file renamed over the old one, so that a failed save leaves the old sets.
    CDocument doc;
    CFileException fe;
    CFile* file = doc.GetFile(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (!file) {
        doc.ReportSaveLoadException(path, &fe, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return 0;
    }
    try {
        CArchive ar(file, CArchive::store | CArchive::bNoFlushOnDelete, 4096);
        first.Serialize(ar);
        second.Serialize(ar);
        third.Serialize(ar);
        ar.Close();
    } catch (CException& e) {
        doc.ReleaseFile(file, TRUE);
        doc.ReportSaveLoadException(path, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return 0;
    }
    try {
        doc.ReleaseFile(file, FALSE);
    } catch (CException& e) {
        doc.ReportSaveLoadException(path, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return 0;
    }
    return 1;
}
