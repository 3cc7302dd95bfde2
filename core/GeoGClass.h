// Feature class: one kind of feature of a layer.
//
// A feature class has a code (by which vector objects refer to it and by which the attribute database
// names its table), a name, the geometries it admits, the scale range in which its features are shown,
// a default display style, attribute fields, an elevation flag and the default letter size of its
// annotations. Classes live in a layer theme and are copied by value into and out of it.
#pragma once

#include "core/FlagInfo.h"
#include "core/GeoFieldList.h"
#include "core/GeoView.h"

class CSymbolLibIO;
class CGeoTheme;

// Type flags of a feature class.
#define GCT_POINT 0x01             // point features allowed
#define GCT_LINE 0x02              // line features allowed
#define GCT_ANNO 0x04              // annotation features allowed (enables the font size)
#define GCT_POINT_DIRECTED 0x08    // points are directed
#define GCT_LINE_DIRECTED 0x10     // lines are directed
#define GCT_POINT_IDPOINT 0x20     // points carry an identification point
#define GCT_LINE_FILLED 0x40       // lines are filled (areas)
#define GCT_GIS_DATA 0x20000000    // GIS data
#define GCT_CARTO_DATA 0x40000000  // cartographic data

class CGeoGClass : public CObject {
    DECLARE_SERIAL(CGeoGClass)
public:
    // Code 0, name "未命名地物", scale range 1 to 0xFFFFFFFF, the default display style, type 0x20000067,
    // no elevation, letters 50 x 50, no fields, no rename records, version 1.0.
    CGeoGClass();
    CGeoGClass(const CGeoGClass& src);
    // Copies code, name, style, scale range, elevation flag, version, type and letter size; replaces the
    // rename records with copies of the source's; then adds the source's fields in order with
    // AddField(field, -2), so a field whose name repeats an earlier one (ignoring case) is left out.
    CGeoGClass& operator=(const CGeoGClass& src);
    ~CGeoGClass() override;

    // Deletes this class (through the virtual destructor).
    void Remove();

    UINT GetGCID() const { return m_nGCID; }
    UINT SetGCID(UINT nID);                  // returns the previous code
    CString GetGCName() const { return m_strGCName; }
    CString SetGCName(CString strName);      // returns the previous name

    // Scale denominators: features are shown at scales s with min <= s <= max.
    UINT GetMinScale() const { return m_nMinScale; }
    // Stores s unless it is greater than the max scale; returns the previous min scale.
    UINT SetMinScale(UINT s);
    UINT GetMaxScale() const { return m_nMaxScale; }
    // Stores s unless it is less than the min scale; returns the previous max scale.
    UINT SetMaxScale(UINT s);
    void GetMinMaxScale(UINT& nMin, UINT& nMax) const;
    // The smaller value becomes the min scale, the larger the max scale.
    void SetMinMaxScale(UINT a, UINT b);
    // TRUE when min <= s <= max.
    int IsValidScale(UINT s) const;

    GEOVIEW GetGeoView() const { return m_GeoView; }
    GEOVIEW SetGeoView(GEOVIEW view);        // returns the previous style

    int GetType() const { return static_cast<int>(m_dwType); }
    void SetType(int nType) { m_dwType = static_cast<DWORD>(nType); }
    int IsElevationValid() const { return m_bElevationValid; }
    void ValidElevation(int bValid) { m_bElevationValid = bValid; }

    void SetFontSize(UINT nWidth, UINT nHeight);
    // 0, outputs untouched, unless the type admits annotations (GCT_ANNO); then the letter width and
    // height and 1.
    int GetFontSize(UINT& nWidth, UINT& nHeight) const;

    // The version of the record last loaded (1.0 after a store or for a record without version).
    float GetOldVersion() const { return m_fVersion; }

    // Fields. Positions: -1 head, -2 tail, 0 to count - 1 after that index; field names are unique
    // ignoring the case of single-byte letters.
    int GetFieldCount() const { return m_FieldList.GetCount(); }
    // Copies the field at the index into info; 0 (info untouched) for an index outside 0 to count - 1.
    int GetFieldInfo(int nIndex, CDaoFieldInfo& info) const;
    // Overwrites the field at the index (its name is not checked against the others); 0 for a bad index.
    int SetFieldInfo(int nIndex, CDaoFieldInfo info);
    // The index of the first field whose name equals the text ignoring case; -1 when none.
    int FindField(CString strName) const;
    // Inserts a copy at the position; 0 (nothing changed) for a name already present or a bad position.
    int AddField(CDaoFieldInfo info, int nPos);
    // Removes and frees a field; 0 for a bad index or an unknown name.
    int DeleteField(int nIndex);
    int DeleteField(CString strName);
    // Frees every field; 1.
    int DeleteAllFields();
    CGeoGClass& operator+=(const CDaoFieldInfo& info);  // AddField(info, -2), result ignored

    // Rename records, filled by the property sheets (the library only keeps, copies and searches them).
    int GetFieldFlagCount() const { return m_FlagInfoList.GetCount(); }
    // The index of the first record whose old (new) name equals the text ignoring case; -1 when none.
    int FindFlagInfoByOldname(CString strName) const;
    int FindFlagInfoByNewname(CString strName) const;

    // Does nothing and returns 0: classes are edited by the feature-class editor of the user interface.
    int EditProperties(UINT nFlag, CPtrList* pList, CSymbolLibIO* pLib);

    // The feature-class record: the field list, the style in its fixed-order form, DWORD min scale
    // (| 0x80000000 when the library version is above 1.0), DWORD max scale, DWORD code, the name; then,
    // when the library version is above 1.0, float version and DWORD type, from 1.12 the elevation flag,
    // from 1.35 the letter width and height. Loading appends the fields read to the present ones; a
    // record of version 1.1 or later whose type has neither data-kind bit gets GCT_GIS_DATA; fields that
    // an older record lacks keep their present values. Archive errors reach the caller.
    void Serialize(CArchive& ar) override;

    // Rename records (CFlagInfo*), owned; the property sheets fill this list.
    CObList m_FlagInfoList;

protected:
    CPtrList m_FieldList;   // CDaoFieldInfo*, owned
    GEOVIEW m_GeoView;
    UINT m_nMinScale;
    UINT m_nMaxScale;
    UINT m_nGCID;
    CString m_strGCName;
    float m_fVersion;
    DWORD m_dwType;
    int m_bElevationValid;
    UINT m_nFontWidth;
    UINT m_nFontHeight;

private:
    friend class CGeoTheme;
    // Set when Serialize has loaded this object; lets a theme tell a class it just read from a
    // reference to one read before.
    bool m_bJustLoaded = false;
};

// Removes every class of the list (null elements are skipped) and empties it.
void ClearGCList(CTypedPtrList<CObList, CGeoGClass*>* pList);
// Empties pDst, then appends a new class assigned from each class of pSrc, in order. Nothing happens
// when both are the same list.
void CopyGCList(CTypedPtrList<CObList, CGeoGClass*>* pDst, CTypedPtrList<CObList, CGeoGClass*>* pSrc);
