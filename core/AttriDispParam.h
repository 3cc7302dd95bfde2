// Attribute-conditioned display styles: per feature class, named sets of conditions on an object's
// attribute values, each condition with the display style that an object meeting it is drawn in.
//
// A vector layer owns one CAttriDispParam and records it after its objects, theme, database name and
// layer type. An object's style is found by trying the conditions of key 0 (every class) and then
// those of the object's own class, sets and conditions in list order; the first condition that holds
// gives the style.
//
// Conditions are expressions over field references written between percent signs (%名称%, %H%) in
// the evaluator's syntax (Evaluate), plus a short notation for intervals and sets:
//   %H%=(100,200]   H above 100 and at most 200      %H%=[*,50)   H below 50 ('*' = open end)
//   %C%={1,2,3}     C is 1, 2 or 3                   %H%=(*,*)    nothing to compare: never holds
// Each expanded interval or set is bracketed, so "%H%=(0,10)&&%C%={2,5}" means both parts.
// A text field compared with "==" to a literal that is not a plain number is compared as text,
// ignoring letter case: with NAME = "Road", "%NAME%==road||%NAME%==rail" holds.
// The reference "%高程%" reads the object's height (GetZ (0)); every other name is looked up in the
// layer's attribute database, first among the common fields, then among the class's fields; a name
// that cannot be read counts as "0".
#pragma once

#include <afx/afx.h>

#include "core/GeoView.h"

class CGeoVectorObject;

// The archive form of a GEOVIEW inside collections: its stand-alone record (GEOVIEW::Serialize), so
// that CList<GEOVIEW, GEOVIEW> can be declared.
template <> void SerializeElements<GEOVIEW>(CArchive& ar, GEOVIEW* pElements, int nCount);

// One condition: an expression and the style it selects.
class CADPCondition : public CObject {
    DECLARE_SERIAL(CADPCondition)
public:
    // Empty name and expression, a default-constructed style.
    CADPCondition();
    ~CADPCondition() override;

    // Record: the style (GEOVIEW::Serialize), the name, the expression.
    void Serialize(CArchive& ar) override;
    // Copies the style, the name and the expression.
    virtual CADPCondition& operator=(const CADPCondition& src);

    CString m_strName;        // a display name
    CString m_strCondition;   // the expression; the condition's key inside its set
    GEOVIEW m_GeoView;        // the style it selects
};

// A named, ordered set of conditions. The set owns its conditions.
class CADPConditions : public CObject {
    DECLARE_SERIAL(CADPConditions)
public:
    CADPConditions();
    // Deletes every condition.
    ~CADPConditions() override;

    // Record: the name, a 32-bit count, then each condition as an object. Loading appends to the
    // conditions already held; an object that is not a CADPCondition, or a reference back to one read
    // before, raises CArchiveException.
    void Serialize(CArchive& ar) override;
    // Copies the name and appends a deep copy of every condition of src; the conditions already held
    // stay (assign to an empty set for a plain copy).
    virtual CADPConditions& operator=(const CADPConditions& src);

    // Finds the condition whose expression equals strCondition exactly (case counts), or appends a
    // new one with it; then copies the style and the name into it when their pointers are not NULL.
    void AddCondition(CString strCondition, GEOVIEW* pGeoView, CString* pName);
    // The same as AddCondition; returns 1.
    int SetCondition(CString strCondition, GEOVIEW* pGeoView, CString* pName);
    // Empties the list and appends every expression, in order; non-zero when any.
    int GetCondition(CStringList& list);
    // Empties the list and appends a copy of every style, in order; non-zero when any.
    int GetGeoViewList(CList<GEOVIEW, GEOVIEW>& list);

    CObList& GetConditonList() { return m_lstConditions; }
    CString GetName() const { return m_strName; }
    void SetName(CString strName) { m_strName = strName; }

private:
    CString m_strName;
    CObList m_lstConditions;  // CADPCondition*, owned
};

// The conditions of one layer: feature-class code -> list of sets. Code 0 holds the sets that apply
// to every class. The object owns every list, set and condition.
//
// Set names and expressions are compared here ignoring letter case, in the locale's collation
// ("A" and "a" name one set); CADPConditions itself compares expressions exactly.
class CAttriDispParam : public CObject {
    DECLARE_SERIAL(CAttriDispParam)
public:
    CAttriDispParam();
    // An empty map, then operator=.
    CAttriDispParam(const CAttriDispParam& src);
    ~CAttriDispParam() override;

    // Record: a 32-bit entry count, then per entry the 32-bit class code and its list written as an
    // object (class tag "CObList", then the list's count and each set as an object). Entries come in
    // the map's iteration order, and a loaded map walks its entries in the order read, so a loaded
    // record is stored again byte for byte. Loading adds the entries read (a code already present gets
    // the list read in place of its own). A list holding anything but sets, or a reference back to a
    // list, set or condition read before (which would then be owned twice), raises CArchiveException;
    // so does any archive error, the map then being as it was.
    void Serialize(CArchive& ar) override;
    // Reset, then deep copies of src's entries whose lists are not empty.
    virtual CAttriDispParam& operator=(const CAttriDispParam& src);
    // Deletes every set and list and empties the map.
    void Reset();

    CMap<UINT, UINT, CObList*, CObList*>& GetGCClassNameMap() { return m_mapGCClass; }

    // Finds or creates the class's entry, and appends a set of that name unless one exists.
    void AddGCClassName(UINT nClassID, CString strName);
    // Empties the list, then appends the names of the class's sets. 0 when the class has no entry,
    // else non-zero when the list is not empty.
    int GetGCClassName(UINT nClassID, CStringList& list);
    // Deletes every set of that name. 0 when the class has no entry, else 1 (also when none matched).
    int RemoveGCClasName(UINT nClassID, CString strName);

    // Finds or creates the entry, the set and the condition.
    void AddCondition(UINT nClassID, CString strName, CString strCondition);
    // The class's list of sets (CADPConditions*), NULL when none.
    CObList* GetConditionList(UINT nClassID);
    // The named set; NULL when the class or the set is missing or the list is empty.
    CADPConditions* GetCondition(UINT nClassID, CString strName);
    // Deletes every condition of the named set with that expression; 1 when any was deleted, else 0.
    int RemoveCondition(UINT nClassID, CString strName, CString strCondition);

    // Finds or creates the entry, the set and the condition, and gives the condition the style.
    void SetGeoView(UINT nClassID, CString strName, CString strCondition, const GEOVIEW& view);
    // The condition's style; 1 when found, else 0 with the style untouched.
    int GetGeoView(UINT nClassID, CString strName, CString strCondition, GEOVIEW& view);
    // Finds or creates the entry, the set and the condition, and names the condition.
    void SetConditionName(UINT nClassID, CString strName, CString strCondition, CString strCondName);
    // The condition's name; "" when the class, the set or the condition is missing.
    CString GetConditionName(UINT nClassID, CString strName, CString strCondition);
    // Empties the list, then the styles of the set of that name (compared ignoring case of single-byte
    // letters, without collation). strCondition is not used. 0 when the class has no entry or no set
    // matches, else the set's GetGeoViewList.
    int GetGCGeoViewList(UINT nClassID, CString strName, CString strCondition, CList<GEOVIEW, GEOVIEW>& list);

    // The style of the first condition that holds for the object (key 0 first, then the object's
    // class); 1 when one held, else 0 with the style untouched. Every field is read at most once
    // per call.
    int GetGeoView(CGeoVectorObject* pObject, GEOVIEW& view);
    // The same search; gives the first condition that holds the style. 1 when one held, else 0.
    int SetGeoView(CGeoVectorObject* pObject, const GEOVIEW& view);

    // The interval and set notation rewritten into evaluator syntax (blanks removed). The text is
    // scanned by characters, so a two-byte character is never taken for a bracket or an operator.
    // Besides the notation above: "==", "!=", "<=" and ">=" pass unchanged; a plain comparison keeps
    // its place before a following "&&" or "||"; an interval open at both ends gives "" for the whole
    // text, and so does a text that ends inside an interval's brackets.
    static CString ExpandIntervalExpression(CString strExpression);
    // The comparisons "%F%==literal" of the text field F with the value strValue, rewritten: a
    // literal or value that is not a plain number (digits and '.') makes the comparison "1" when both
    // are equal ignoring letter case, else "0"; numeric comparisons stay. Blanks are removed.
    static CString RewriteTextComparison(CString strExpression, CString strField, CString strValue);

private:
    // Where the style search reads field values: the variant type and the text of a field.
    class FieldSource {
    public:
        virtual ~FieldSource() = default;
        virtual WORD GetValue(const CString& strField, CString& strText) = 0;
    };
    class ObjectFieldSource;

    // The first condition that holds, or NULL.
    CADPCondition* FindCondition(UINT nClassID, FieldSource& source);

    // The class's list (created with bCreate) and in *ppSet the set of that name (appended with
    // bCreate), NULL when missing.
    CObList* FindSet(UINT nClassID, const CString& strName, CADPConditions** ppSet, BOOL bCreate);
    CADPCondition* FindCond(CADPConditions* pSet, const CString& strCondition, BOOL bCreate);

    CMap<UINT, UINT, CObList*, CObList*> m_mapGCClass;
};
