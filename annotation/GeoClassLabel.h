// Attribute-label settings: per feature class (CGeoClassLabel), collected per layer (CGeoLayerLabel)
// and per label set (CGeoProLabel); a label-set file holds three label sets.
//
// A class label's template is text with field references between two '%' (a '%' preceded by a
// backslash opens nothing). Scanning steps over GBK double-byte characters, so a trail byte 0x5C
// never escapes the '%' after it.
//
// Records (class-library archive, integers 4 bytes little-endian unless noted):
//   CGeoClassLabel   class id; format (string); horizontal offset start, limit; character height,
//                    width; line node; precision (1 byte); version (float: the library version when
//                    storing); vertical offset start, limit (read from 1.38); format spacing (20
//                    bytes in member order: hor, ver, fen_hor, fen_ver as ints, fen_shu_width as a
//                    float; below 1.36 the last is an int); position type; italic angle (float, read
//                    above 1.3); flags (read above 1.31); field names (string array); style
//                    (GEOVIEW::Serialize); label parameters (SerializeLabelPara, read above 1.3).
//                    Items absent from an older record keep the values the object had.
//   CGeoLayerLabel   layer name (string); version (float); count (32-bit); class-label records. A
//                    loaded layer label reads every record into one working class label, adding a
//                    copy after each, so items absent from an older record carry over from the label
//                    read before it.
//   CGeoProLabel     count (32-bit, bit 0x80000000 set when the library version is above 1.0); the
//                    layer-label records; the version float when the flag is set.
//   Label-set file   one archive (4096-byte buffer) with the first, second and third label set.
#pragma once

#include "annotation/GeoAnnoRecord.h"
#include "annotation/LabelParams.h"
#include "core/GeoView.h"

#include <afx/afx.h>

class CGeoGClass;

// Where a line is labelled.
enum LINENODE : int {
    LINENODE_FIRST = 0,   // its first point
    LINENODE_LAST = 1,    // its last point
    LINENODE_MIDDLE = 2,  // its vertex count / 2
    LINENODE_BOTH = 4,    // both ends (only the last when they lie close together)
};

// Position 0 to 9 of the point labeller (see AutoLabelPoint.h).
typedef int POINTANNOPOS;

// Flat view of a class label: 17 consecutive 32-bit values (value 15 a float).
struct tagATTRILABELTYPE {
    int m_nPositionType;       // 0
    int m_nLineNode;           // 1
    COLORREF m_crAnnoColor;    // 2 the style's annotation colour
    int m_nPrecision;          // 3
    int m_nBufferWidth;        // 4 the style's buffer width
    int m_nCharSize;           // 5 written into height and width; read from the height
    int m_bTransparent;        // 6 the style's lettering bit 0x80, as 0 or 1
    int m_nHorOffsetLimit;     // 7
    int m_nHorOffset;          // 8
    int m_nVerOffsetLimit;     // 9
    int m_nVerOffset;          // 10
    int m_nHor;                // 11 format spacing
    int m_nVer;                // 12
    int m_nFenHor;             // 13
    int m_nFenVer;             // 14
    float m_fFenShuWidth;      // 15
    DWORD m_dwFlags;           // 16
};
static_assert(sizeof(tagATTRILABELTYPE) == 17 * 4, "seventeen 32-bit values");

// Flag bits of a class label.
#define CLASSLABEL_FORMATSTYLE 0x01
#define CLASSLABEL_LINE 0x02
#define CLASSLABEL_POINT 0x04
#define CLASSLABEL_POLY 0x08

class CGeoClassLabel : public CObject {
    DECLARE_SERIAL(CGeoClassLabel)

public:
    // Version 1.0, class 0, empty template, offsets (0, 2) and (0, 2), position 0, the default style,
    // characters 30 x 30, the current format spacing (GetCurrentGeoFor (-1)), line node 2, precision
    // 1, the current italic angle (GetCurrentGeoAnno (-1)), flags 0x0F, the current label settings.
    CGeoClassLabel();
    // Copies every field; the field names are rebuilt from the template.
    CGeoClassLabel(const CGeoClassLabel& src);
    CGeoClassLabel& operator=(const CGeoClassLabel& src);

    void Serialize(CArchive& ar) override;

    // Sets the template and rebuilds the field names from it.
    void SetFormat(const CString& format);
    CString GetFormat() const { return m_strFormat; }
    void GetFieldList(CStringArray& names) const;
    // 1 when every field name is a field of the class, else 0.
    int IsFieldExist(CGeoGClass& gc) const;

    void SetClassID(UINT id) { m_nClassID = id; }
    UINT GetClassID() const { return m_nClassID; }
    void SetGeoView(const GEOVIEW& view) { m_GeoView = view; }
    GEOVIEW GetGeoView() const { return m_GeoView; }
    void SetGeoFor(const tagGEOFORMAT& format) { m_GeoFormat = format; }
    tagGEOFORMAT GetGeoFor() const { return m_GeoFormat; }
    void SetCharSize(int height, int width) { m_nCharHeight = height, m_nCharWidth = width; }
    void GetCharSize(int& height, int& width) const { height = m_nCharHeight, width = m_nCharWidth; }
    // The horizontal offset: start value and limit.
    void SetOffset(int start, int limit) { m_nHorOffset = start, m_nHorOffsetLimit = limit; }
    void GetOffset(int& start, int& limit) const { start = m_nHorOffset, limit = m_nHorOffsetLimit; }
    // The vertical offset: start value and limit.
    void SetOffset2(int start, int limit) { m_nVerOffset = start, m_nVerOffsetLimit = limit; }
    void GetOffset2(int& start, int& limit) const { start = m_nVerOffset, limit = m_nVerOffsetLimit; }
    void SetPositionType(POINTANNOPOS pos) { m_nPositionType = pos; }
    POINTANNOPOS GetPositionType() const { return m_nPositionType; }
    // Values 5 and above become 0.
    void SetLinePoint(LINENODE node);
    LINENODE GetLinePoint() const { return m_nLineNode; }
    // Values above 10 become 3.
    void SetPrecision(int precision);
    int GetPrecision() const { return m_byPrecision; }
    void SetItalicAngle(float angle) { m_fItalicAngle = angle; }
    float GetItalicAngle() const { return m_fItalicAngle; }
    void SetFormatStyle(int on) { SetFlag(CLASSLABEL_FORMATSTYLE, on); }
    int GetFormatStyle() const { return (m_dwFlags & CLASSLABEL_FORMATSTYLE) ? 1 : 0; }
    void SetLabelLine(int on) { SetFlag(CLASSLABEL_LINE, on); }
    int IsLabelLine() const { return (m_dwFlags & CLASSLABEL_LINE) ? 1 : 0; }
    void SetLabelPoint(int on) { SetFlag(CLASSLABEL_POINT, on); }
    int IsLabelPoint() const { return (m_dwFlags & CLASSLABEL_POINT) ? 1 : 0; }
    void SetLabelPoly(int on) { SetFlag(CLASSLABEL_POLY, on); }
    int IsLabelPoly() const { return (m_dwFlags & CLASSLABEL_POLY) ? 1 : 0; }
    void SetAttributeLabelType(const tagATTRILABELTYPE& type);
    tagATTRILABELTYPE GetAttributeLabelType() const;
    void SetPointLabel(const tagPOINTLABEL& label) { m_LabelPara.m_PointLabel = label; }
    tagPOINTLABEL GetPointLabel() const { return m_LabelPara.m_PointLabel; }
    void SetLineLabel(const tagLINELABEL& label) { m_LabelPara.m_LineLabel = label; }
    tagLINELABEL GetLineLabel() const { return m_LabelPara.m_LineLabel; }
    float GetOldVersion() const { return m_fVersion; }

private:
    void SetFlag(DWORD bit, int on) { m_dwFlags = on ? (m_dwFlags | bit) : (m_dwFlags & ~bit); }

    float m_fVersion = 1.0f;
    UINT m_nClassID = 0;
    CString m_strFormat;
    CStringArray m_FieldNames;
    int m_nHorOffset = 0;
    int m_nHorOffsetLimit = 2;
    int m_nVerOffset = 0;
    int m_nVerOffsetLimit = 2;
    POINTANNOPOS m_nPositionType = 0;
    GEOVIEW m_GeoView;
    int m_nCharHeight = 30;
    int m_nCharWidth = 30;
    tagGEOFORMAT m_GeoFormat;
    LINENODE m_nLineNode = LINENODE_MIDDLE;
    BYTE m_byPrecision = 1;
    float m_fItalicAngle = 0.0f;
    DWORD m_dwFlags = 0x0F;
    tagLABELPARA m_LabelPara;
};

// Class labels in an array are archived one record after the other.
template <>
inline void SerializeElements<CGeoClassLabel>(CArchive& ar, CGeoClassLabel* pElements, int nCount) {
    for (int i = 0; i < nCount; ++i) pElements[i].Serialize(ar);
}

class CGeoLayerLabel : public CArray<CGeoClassLabel, CGeoClassLabel&> {
    DECLARE_SERIAL(CGeoLayerLabel)

public:
    CGeoLayerLabel() = default;
    CGeoLayerLabel(const CGeoLayerLabel& src);
    // ClearAll, then the name, every label through Add, and the version.
    CGeoLayerLabel& operator=(const CGeoLayerLabel& src);
    ~CGeoLayerLabel() override;

    void Serialize(CArchive& ar) override;

    // Replaces the label with the same class id, else appends a copy.
    void Add(CGeoClassLabel& label);
    // Removes the label of that class id when present.
    void Delete(UINT classID);
    // Index of the label of that class id, or -1.
    int FindGeoClassLabel(UINT classID) const;
    // 1 and a copy of the label of that class id, or 0.
    int FindGeoClassLabel(UINT classID, CGeoClassLabel& out) const;
    // Empties every label's field names and the array.
    void ClearAll();
    void SetLayerName(const CString& name) { m_strLayerName = name; }
    CString GetLayerName() const { return m_strLayerName; }
    float GetOldversion() const { return m_fVersion; }

private:
    CString m_strLayerName;
    float m_fVersion = 1.0f;
};

class CGeoProLabel : public CPtrArray {
    DECLARE_SERIAL(CGeoProLabel)

public:
    CGeoProLabel() = default;
    CGeoProLabel(const CGeoProLabel&) = delete;
    // ClearAll, then Add of every source entry, and the version.
    CGeoProLabel& operator=(const CGeoProLabel& src);
    ~CGeoProLabel() override;

    void Serialize(CArchive& ar) override;

    // Ignores NULL; else adds a new copy through AddGeoLayerLabel.
    virtual void Add(CGeoLayerLabel* label);
    // Layer names compare exactly (case-sensitively). The layer label of that name, or NULL.
    CGeoLayerLabel* FindGeoLayerLabel(const CString& layer) const;
    // 1 and a copy, or 0.
    int FindGeoLayerLabel(const CString& layer, CGeoLayerLabel& out) const;
    int FindLayerLabelOrder(const CString& layer) const;
    // 1 and a copy of the class label, or 0.
    int FindGeoClassLabel(const CString& layer, UINT classID, CGeoClassLabel& out) const;
    // 0 for NULL. A layer label of the same name is assigned the given one's contents (the given one
    // stays the caller's); otherwise the pointer itself is appended and owned. 1.
    int AddGeoLayerLabel(CGeoLayerLabel* label);
    // Deletes the first layer label of that name: 1, or 0 when there is none.
    int RemoveGeoLayerLabel(const CString& layer);
    // Deletes every layer label.
    void ClearAll();
    CGeoLayerLabel* GetLayerLabel(int i) const { return static_cast<CGeoLayerLabel*>(GetAt(i)); }
    float GetOldVersion() const { return m_fVersion; }

private:
    float m_fVersion = 1.0f;
};

// Reads a label-set file: the three sets are emptied, then the first is read and, only when its
// version is above 1.3, the second and the third. 1 when read; 0 when the file cannot be opened or is
// cut short (the sets then hold what was read before the fault).
int ReadGeoAttributeLabel(const CString& path, CGeoProLabel& first, CGeoProLabel& second, CGeoProLabel& third);
// Writes the three sets to the file, through a temporary file beside it that replaces it only when
// complete (a failed save leaves the old file as it was; a read-only old file is not replaced). 1, or 0
// after a message box naming the file and the cause when it cannot be created or written.
int WriteGeoAttributeLabel(const CString& path, CGeoProLabel& first, CGeoProLabel& second, CGeoProLabel& third);
