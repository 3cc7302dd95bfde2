// Layer theme: the schema of one vector layer.
//
// A theme has a name, feature classes, attribute fields common to all its classes, a default display
// style and the layer-type bits of its layer (1 GIS, 2 cartographic, 4 symbolised, 8 thematic). Every
// vector layer embeds one; templets and scheme files are lists of them. Themes are copied by value:
// getters copy out, setters and list operations store heap copies.
#pragma once

#include "core/GeoGClass.h"

class CGeoTheme : public CObject {
    DECLARE_SERIAL(CGeoTheme)
public:
    // Name "未命名层", the default display style, data type 1, no classes, fields or rename records.
    CGeoTheme();
    CGeoTheme(const CGeoTheme& src);
    // Copies style, name and data type, and replaces classes, fields and rename records with copies of
    // the source's.
    CGeoTheme& operator=(const CGeoTheme& src);
    ~CGeoTheme() override;

    // Deletes this theme (through the virtual destructor).
    void Remove();

    CString GetName() const { return m_strName; }
    void SetName(CString strName) { m_strName = strName; }
    GEOVIEW GetGeoView() const { return m_GeoView; }
    void SetGeoView(GEOVIEW view) { m_GeoView = view; }
    int GetDataType() const { return m_nDataType; }
    void SetDataType(int nType) { m_nDataType = nType; }

    // Feature classes. Positions: -1 head, -2 tail, 0 to count - 1 after that index; codes are unique
    // when added with AddGC (SetGC and loading do not check them).
    int GetGCCount() const { return m_GCList.GetCount(); }
    // Assigns the class at the index to gc; 0 (gc untouched) for an index outside 0 to count - 1.
    int GetGC(int nIndex, CGeoGClass& gc) const;
    // The index of the first class with the code; -1 when none.
    int FindGC(UINT nCode) const;
    // The first class with the code, NULL when none; the theme keeps it (valid until the class list
    // changes). Lets a caller read a class without copying it.
    const CGeoGClass* FindGCPtr(UINT nCode) const;
    // The index of the first class whose name equals the text exactly (letter case counts); -1 when none.
    int FindGC(CString strName) const;
    // The classes in order, kept by the theme (valid until the class list changes). Lets a caller walk
    // them once instead of copying each out by index, which walks the list from its head every time.
    const CTypedPtrList<CObList, CGeoGClass*>& GetGCList() const { return m_GCList; }
    // Inserts a copy at the position; 0 (nothing changed) when a class has the same code or for a bad
    // position.
    int AddGC(const CGeoGClass& gc, int nPos);
    // Removes and deletes a class; 0 for a bad index or when no class has the code or name.
    int DeleteGC(int nIndex);
    int DeleteGC(UINT nCode);
    int DeleteGC(CString strName);
    // Deletes every class; 1.
    int DeleteAllGCs();
    // Assigns gc to the class at the index, without comparing codes; 0 for a bad index.
    int SetGC(int nIndex, const CGeoGClass& gc);
    CGeoTheme& operator+=(const CGeoGClass& gc);       // AddGC(gc, -2), result ignored
    CGeoTheme& operator+=(const CDaoFieldInfo& info);  // AddField(info, -2), result ignored

    // Common fields: as the same operations of CGeoGClass, on the theme's own list.
    int GetFieldCount() const { return m_FieldList.GetCount(); }
    int GetFieldInfo(int nIndex, CDaoFieldInfo& info) const;
    int SetFieldInfo(int nIndex, CDaoFieldInfo info);
    int FindField(CString strName) const;
    int AddField(CDaoFieldInfo info, int nPos);
    int DeleteField(int nIndex);
    int DeleteField(CString strName);
    int DeleteAllFields();

    // Rename records: as in CGeoGClass.
    int GetFieldFlagCount() const { return m_FlagInfoList.GetCount(); }
    int FindFlagInfoByOldname(CString strName) const;
    int FindFlagInfoByNewname(CString strName) const;

    // Does nothing and returns 0.
    int EditProperties(int nFlag, CSymbolLibIO* pLib);

    // The theme record: the class list (a count, 16 bits or 0xFFFF and 32 bits, then each class as a
    // class-tagged object), the field list, the style in its fixed-order form, the name, DWORD data type.
    // Loading appends the classes and fields read to the present ones; the data type is read only when
    // the style just loaded has a version above 1.36, otherwise it keeps its value. A class list holding
    // a null element, an object of another class or a second reference to one class is refused with
    // CArchiveException (badIndex or badClass); archive errors reach the caller.
    void Serialize(CArchive& ar) override;

    // Rename records (CFlagInfo*), owned; the property sheets fill this list.
    CObList m_FlagInfoList;

protected:
    GEOVIEW m_GeoView;
    CString m_strName;
    CTypedPtrList<CObList, CGeoGClass*> m_GCList;  // owned
    CPtrList m_FieldList;                           // CDaoFieldInfo*, owned
    int m_nDataType;
};

// Removes every theme of the list (null elements are skipped) and empties it.
void ClearThemeList(CTypedPtrList<CObList, CGeoTheme*>* pList);
// Empties pDst, then appends a new theme assigned from each theme of pSrc, in order. Nothing happens when
// both are the same list.
void CopyThemeList(CTypedPtrList<CObList, CGeoTheme*>* pDst, CTypedPtrList<CObList, CGeoTheme*>* pSrc);
