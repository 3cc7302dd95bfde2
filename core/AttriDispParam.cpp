#include "core/AttriDispParam.h"

#include "core/GeoVectorLayer.h"
#include "core/GeoVectorObject.h"

#include <ostrel/Evaluate.h>
#include <tamsel/GeoAttributeDatabase.h>
#include <tamsel/ValueConvert.h>
#include <win32/codepage.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// Reads one object of exactly class T that the reader comes to own: NULL for a null reference.
// Conditions, sets and their lists are never shared, so a reference back to an object read before
// is corrupt data (it would be owned twice); the object is deleted again if its body fails to read.
template <class T>
T* ReadOwned(CArchive& ar, CRuntimeClass* pClass) {
    UINT schema = 0;
    DWORD tag = 0;
    CRuntimeClass* cls = ar.ReadClass(pClass, &schema, &tag);
    if (!cls) {
        if (tag == 0) return nullptr;
        AfxThrowArchiveException(CArchiveException::badIndex);
    }
    if (cls != pClass) AfxThrowArchiveException(CArchiveException::badClass);
    T* p = new T;
    try {
        ar.MapObject(p);
        p->Serialize(ar);
    } catch (...) {
        delete p;
        throw;
    }
    return p;
}

}  // namespace

IMPLEMENT_SERIAL(CADPCondition, CObject, 1)
IMPLEMENT_SERIAL(CADPConditions, CObject, 1)
IMPLEMENT_SERIAL(CAttriDispParam, CObject, 1)

template <> void SerializeElements<GEOVIEW>(CArchive& ar, GEOVIEW* pElements, int nCount) {
    for (int i = 0; i < nCount; ++i) pElements[i].Serialize(ar);
}

// ---------------------------------------------------------------------------------------------------
// CADPCondition

CADPCondition::CADPCondition() = default;
CADPCondition::~CADPCondition() = default;

void CADPCondition::Serialize(CArchive& ar) {
    m_GeoView.Serialize(ar);
    if (ar.IsStoring())
        ar << m_strName << m_strCondition;
    else
        ar >> m_strName >> m_strCondition;
}

CADPCondition& CADPCondition::operator=(const CADPCondition& src) {
    if (this != &src) {
        m_GeoView = src.m_GeoView;
        m_strName = src.m_strName;
        m_strCondition = src.m_strCondition;
    }
    return *this;
}

// ---------------------------------------------------------------------------------------------------
// CADPConditions

CADPConditions::CADPConditions() : m_lstConditions(10) {}

CADPConditions::~CADPConditions() {
    for (POSITION p = m_lstConditions.GetHeadPosition(); p;) delete m_lstConditions.GetNext(p);
    m_lstConditions.RemoveAll();
}

void CADPConditions::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_strName << static_cast<DWORD>(m_lstConditions.GetCount());
        for (POSITION p = m_lstConditions.GetHeadPosition(); p;) ar.WriteObject(m_lstConditions.GetNext(p));
    } else {
        DWORD n = 0;
        ar >> m_strName >> n;
        while (n--) {
            CADPCondition* pCond = ReadOwned<CADPCondition>(ar, RUNTIME_CLASS(CADPCondition));
            if (pCond) m_lstConditions.AddTail(pCond);
        }
    }
}

CADPConditions& CADPConditions::operator=(const CADPConditions& src) {
    if (this == &src) return *this;
    m_strName = src.m_strName;
    for (POSITION p = src.m_lstConditions.GetHeadPosition(); p;) {
        CADPCondition* pCopy = new CADPCondition;
        *pCopy = *static_cast<CADPCondition*>(src.m_lstConditions.GetNext(p));
        m_lstConditions.AddTail(pCopy);
    }
    return *this;
}

void CADPConditions::AddCondition(CString strCondition, GEOVIEW* pGeoView, CString* pName) {
    CADPCondition* pCond = nullptr;
    for (POSITION p = m_lstConditions.GetHeadPosition(); p && !pCond;) {
        CADPCondition* c = static_cast<CADPCondition*>(m_lstConditions.GetNext(p));
        if (c->m_strCondition == strCondition) pCond = c;
    }
    if (!pCond) {
        pCond = new CADPCondition;
        pCond->m_strCondition = strCondition;
        m_lstConditions.AddTail(pCond);
    }
    if (pGeoView) pCond->m_GeoView = *pGeoView;
    if (pName) pCond->m_strName = *pName;
}

int CADPConditions::SetCondition(CString strCondition, GEOVIEW* pGeoView, CString* pName) {
    AddCondition(strCondition, pGeoView, pName);
    return 1;
}

int CADPConditions::GetCondition(CStringList& list) {
    list.RemoveAll();
    for (POSITION p = m_lstConditions.GetHeadPosition(); p;)
        list.AddTail(static_cast<CADPCondition*>(m_lstConditions.GetNext(p))->m_strCondition);
    return !list.IsEmpty();
}

int CADPConditions::GetGeoViewList(CList<GEOVIEW, GEOVIEW>& list) {
    list.RemoveAll();
    for (POSITION p = m_lstConditions.GetHeadPosition(); p;)
        list.AddTail(static_cast<CADPCondition*>(m_lstConditions.GetNext(p))->m_GeoView);
    return !list.IsEmpty();
}

// ---------------------------------------------------------------------------------------------------
// CAttriDispParam: the rules

namespace {

void DeleteSets(CObList* pList) {
    if (!pList) return;
    for (POSITION p = pList->GetHeadPosition(); p;) delete pList->GetNext(p);
    delete pList;
}

typedef std::vector<std::pair<UINT, CObList*>> EntryList;

// Puts the entries into the map so that the map walks them in the given order: a map walks each hash
// bucket newest first, so they go in from the last. A later entry with the key of an earlier one wins;
// a list the map held under a key is deleted when replaced.
void InsertInOrder(CMap<UINT, UINT, CObList*, CObList*>& map, EntryList& entries) {
    std::map<UINT, size_t> last;
    for (size_t i = 0; i < entries.size(); ++i) {
        auto it = last.find(entries[i].first);
        if (it != last.end()) {
            DeleteSets(entries[it->second].second);
            entries[it->second].second = nullptr;
        }
        last[entries[i].first] = i;
    }
    for (size_t i = entries.size(); i-- > 0;) {
        if (!entries[i].second) continue;
        CObList* pOld = nullptr;
        if (map.Lookup(entries[i].first, pOld)) {
            map.RemoveKey(entries[i].first);
            DeleteSets(pOld);
        }
        map.SetAt(entries[i].first, entries[i].second);
    }
    entries.clear();
}

}  // namespace

CAttriDispParam::CAttriDispParam() = default;

CAttriDispParam::CAttriDispParam(const CAttriDispParam& src) : CObject() { *this = src; }

CAttriDispParam::~CAttriDispParam() { Reset(); }

void CAttriDispParam::Reset() {
    for (POSITION p = m_mapGCClass.GetStartPosition(); p;) {
        UINT id;
        CObList* pList;
        m_mapGCClass.GetNextAssoc(p, id, pList);
        DeleteSets(pList);
    }
    m_mapGCClass.RemoveAll();
}

CAttriDispParam& CAttriDispParam::operator=(const CAttriDispParam& src) {
    if (this == &src) return *this;
    Reset();
    EntryList copies;
    for (POSITION p = src.m_mapGCClass.GetStartPosition(); p;) {
        UINT id;
        CObList* pList;
        src.m_mapGCClass.GetNextAssoc(p, id, pList);
        if (!pList || pList->IsEmpty()) continue;
        CObList* pCopy = new CObList(10);
        for (POSITION q = pList->GetHeadPosition(); q;) {
            CADPConditions* pSet = new CADPConditions;
            *pSet = *static_cast<CADPConditions*>(pList->GetNext(q));
            pCopy->AddTail(pSet);
        }
        copies.emplace_back(id, pCopy);
    }
    InsertInOrder(m_mapGCClass, copies);
    return *this;
}

void CAttriDispParam::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_mapGCClass.GetCount());
        for (POSITION p = m_mapGCClass.GetStartPosition(); p;) {
            UINT id;
            CObList* pList;
            m_mapGCClass.GetNextAssoc(p, id, pList);
            ar << static_cast<DWORD>(id);
            ar.WriteObject(pList);
        }
        return;
    }
    // All entries are read first and then put in the map in their stored order, so that storing the
    // loaded map gives the same bytes again.
    EntryList entries;
    try {
        DWORD n = 0;
        ar >> n;
        while (n--) {
            DWORD id = 0;
            ar >> id;
            // The list, written as an object: its class tag, then its count and its sets.
            UINT schema = 0;
            DWORD tag = 0;
            CRuntimeClass* cls = ar.ReadClass(RUNTIME_CLASS(CObList), &schema, &tag);
            if (!cls) {
                if (tag == 0) continue;  // a null list
                AfxThrowArchiveException(CArchiveException::badIndex);
            }
            if (cls != RUNTIME_CLASS(CObList)) AfxThrowArchiveException(CArchiveException::badClass);
            CObList* pList = new CObList(10);
            entries.emplace_back(id, pList);
            ar.MapObject(pList);
            DWORD count = ar.ReadCount();
            while (count--) {
                CADPConditions* pSet = ReadOwned<CADPConditions>(ar, RUNTIME_CLASS(CADPConditions));
                if (pSet) pList->AddTail(pSet);
            }
        }
    } catch (...) {
        for (auto& e : entries) DeleteSets(e.second);
        throw;
    }
    InsertInOrder(m_mapGCClass, entries);
}

CObList* CAttriDispParam::FindSet(UINT nClassID, const CString& strName, CADPConditions** ppSet, BOOL bCreate) {
    *ppSet = nullptr;
    CObList* pList = nullptr;
    if (!m_mapGCClass.Lookup(nClassID, pList) || !pList) {
        if (!bCreate) return nullptr;
        pList = new CObList(10);
        m_mapGCClass.SetAt(nClassID, pList);
    }
    for (POSITION p = pList->GetHeadPosition(); p;) {
        CADPConditions* pSet = static_cast<CADPConditions*>(pList->GetNext(p));
        if (pSet->GetName().CollateNoCase(strName) == 0) {
            *ppSet = pSet;
            return pList;
        }
    }
    if (bCreate) {
        CADPConditions* pSet = new CADPConditions;
        pSet->SetName(strName);
        pList->AddTail(pSet);
        *ppSet = pSet;
    }
    return pList;
}

CADPCondition* CAttriDispParam::FindCond(CADPConditions* pSet, const CString& strCondition, BOOL bCreate) {
    if (!pSet) return nullptr;
    CObList& conds = pSet->GetConditonList();
    for (POSITION p = conds.GetHeadPosition(); p;) {
        CADPCondition* c = static_cast<CADPCondition*>(conds.GetNext(p));
        if (c->m_strCondition.CollateNoCase(strCondition) == 0) return c;
    }
    if (!bCreate) return nullptr;
    CADPCondition* c = new CADPCondition;
    c->m_strCondition = strCondition;
    conds.AddTail(c);
    return c;
}

void CAttriDispParam::AddGCClassName(UINT nClassID, CString strName) {
    CADPConditions* pSet;
    FindSet(nClassID, strName, &pSet, TRUE);
}

int CAttriDispParam::GetGCClassName(UINT nClassID, CStringList& list) {
    list.RemoveAll();
    CObList* pList = nullptr;
    if (!m_mapGCClass.Lookup(nClassID, pList) || !pList) return 0;
    for (POSITION p = pList->GetHeadPosition(); p;)
        list.AddTail(static_cast<CADPConditions*>(pList->GetNext(p))->GetName());
    return !list.IsEmpty();
}

int CAttriDispParam::RemoveGCClasName(UINT nClassID, CString strName) {
    CObList* pList = nullptr;
    if (!m_mapGCClass.Lookup(nClassID, pList) || !pList) return 0;
    for (POSITION p = pList->GetHeadPosition(); p;) {
        POSITION at = p;
        CADPConditions* pSet = static_cast<CADPConditions*>(pList->GetNext(p));
        if (pSet->GetName().CollateNoCase(strName) == 0) {
            pList->RemoveAt(at);
            delete pSet;
        }
    }
    return 1;
}

void CAttriDispParam::AddCondition(UINT nClassID, CString strName, CString strCondition) {
    CADPConditions* pSet;
    FindSet(nClassID, strName, &pSet, TRUE);
    FindCond(pSet, strCondition, TRUE);
}

CObList* CAttriDispParam::GetConditionList(UINT nClassID) {
    CObList* pList = nullptr;
    return m_mapGCClass.Lookup(nClassID, pList) ? pList : nullptr;
}

CADPConditions* CAttriDispParam::GetCondition(UINT nClassID, CString strName) {
    CADPConditions* pSet;
    CObList* pList = FindSet(nClassID, strName, &pSet, FALSE);
    return pList && !pList->IsEmpty() ? pSet : nullptr;
}

int CAttriDispParam::RemoveCondition(UINT nClassID, CString strName, CString strCondition) {
    CADPConditions* pSet;
    FindSet(nClassID, strName, &pSet, FALSE);
    if (!pSet) return 0;
    int removed = 0;
    CObList& conds = pSet->GetConditonList();
    for (POSITION p = conds.GetHeadPosition(); p;) {
        POSITION at = p;
        CADPCondition* c = static_cast<CADPCondition*>(conds.GetNext(p));
        if (c->m_strCondition.CollateNoCase(strCondition) == 0) {
            conds.RemoveAt(at);
            delete c;
            removed = 1;
        }
    }
    return removed;
}

void CAttriDispParam::SetGeoView(UINT nClassID, CString strName, CString strCondition, const GEOVIEW& view) {
    CADPConditions* pSet;
    FindSet(nClassID, strName, &pSet, TRUE);
    FindCond(pSet, strCondition, TRUE)->m_GeoView = view;
}

int CAttriDispParam::GetGeoView(UINT nClassID, CString strName, CString strCondition, GEOVIEW& view) {
    CADPConditions* pSet;
    FindSet(nClassID, strName, &pSet, FALSE);
    CADPCondition* c = FindCond(pSet, strCondition, FALSE);
    if (!c) return 0;
    view = c->m_GeoView;
    return 1;
}

void CAttriDispParam::SetConditionName(UINT nClassID, CString strName, CString strCondition, CString strCondName) {
    CADPConditions* pSet;
    FindSet(nClassID, strName, &pSet, TRUE);
    FindCond(pSet, strCondition, TRUE)->m_strName = strCondName;
}

CString CAttriDispParam::GetConditionName(UINT nClassID, CString strName, CString strCondition) {
    CADPConditions* pSet;
    FindSet(nClassID, strName, &pSet, FALSE);
    CADPCondition* c = FindCond(pSet, strCondition, FALSE);
    return c ? c->m_strName : CString();
}

int CAttriDispParam::GetGCGeoViewList(UINT nClassID, CString strName, CString strCondition,
                                      CList<GEOVIEW, GEOVIEW>& list) {
    (void)strCondition;
    list.RemoveAll();
    CObList* pList = nullptr;
    if (!m_mapGCClass.Lookup(nClassID, pList) || !pList) return 0;
    for (POSITION p = pList->GetHeadPosition(); p;) {
        CADPConditions* pSet = static_cast<CADPConditions*>(pList->GetNext(p));
        if (pSet->GetName().CompareNoCase(strName) == 0) return pSet->GetGeoViewList(list);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// Text of the conditions

namespace {

bool IsPlainNumber(const CString& s) {
    if (s == ".") return false;
    for (int i = 0; i < s.GetLength(); ++i)
        if (!std::strchr("0123456789.", s[i]) || s[i] == '\0') return false;
    return true;
}

CString WithoutBlanks(CString s) {
    s.Remove(' ');  // a blank is never the trail byte of a two-byte character
    return s;
}

}  // namespace

CString CAttriDispParam::ExpandIntervalExpression(CString strExpression) {
    const std::string s = WithoutBlanks(strExpression).str();
    enum Kind { None, Paren, Square, Set } kind = None;
    std::string E, D;
    size_t boundStart = 0;
    bool interval = false, inside = false, openLower = false, setWritten = false, opened = false;
    char prev = 0;  // the previous single-byte character; 0 after a two-byte one

    // Every expanded clause is bracketed, so that it joins the text around it as one operand.
    auto open = [&] {
        if (!opened) D += "(";
        opened = true;
    };
    auto close = [&] {
        if (opened) D += ")";
        opened = false;
    };
    auto bound = [&](size_t end) { return s.substr(boundStart, end - boundStart); };

    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (win32::IsGbkLeadByte(c) && i + 1 < s.size()) {
            if (!inside) E.append(s, i, 2);
            i += 2;
            prev = 0;
            continue;
        }
        switch (c) {
            case '*':
                if (openLower) return CString();  // open at both ends: nothing to compare
                if (!inside) E += '*';
                break;
            case '=':
                interval = false;
                if (prev == '=')
                    E += "==";
                else if (prev == '<' || prev == '>' || prev == '!')
                    E += '=';  // part of "<=", ">=" or "!="
                else
                    interval = true;  // a single '=' introduces an interval or a set
                break;
            case '(':
            case '[':
            case '{':
                if (interval) {
                    kind = c == '(' ? Paren : c == '[' ? Square : Set;
                    boundStart = i + 1;
                    inside = true;
                } else {
                    E += static_cast<char>(c);
                }
                break;
            case ',':
                if (inside) {
                    std::string b = bound(i);
                    if (kind == Paren || kind == Square) {
                        if (b == "*") {
                            openLower = true;
                        } else {
                            open();
                            D += E + (kind == Paren ? ">" : ">=") + b;
                        }
                    } else if (kind == Set && b != "*") {
                        if (setWritten) D += "||";
                        open();
                        setWritten = true;
                        D += E + "==" + b;
                    }
                    boundStart = i + 1;
                }
                break;
            case ')':
            case ']':
                if (interval) {
                    std::string b = bound(i);
                    if (b != "*") {
                        if (!openLower) D += " && ";
                        open();
                        D += E + (c == ')' ? "<" : "<=") + b;
                    }
                    close();
                    E.clear();
                    interval = inside = openLower = false;
                } else {
                    E += static_cast<char>(c);
                }
                break;
            case '}':
                if (interval) {
                    std::string b = bound(i);
                    if (b != "*") {
                        if (b.empty()) b = "0";
                        if (setWritten) D += "||";
                        open();
                        D += E + "==" + b;
                    }
                    close();
                    E.clear();
                    interval = inside = openLower = setWritten = false;
                } else {
                    E += static_cast<char>(c);
                }
                break;
            case '&':
            case '|':
                if (prev == static_cast<char>(c)) {
                    // A plain comparison waiting in E keeps its place before the connector.
                    if (!inside) {
                        D += E;
                        E.clear();
                    }
                    D += c == '&' ? "&&" : "||";
                    c = 0;  // "&&&&" is two connectors, not three
                }
                break;
            default:
                if (!inside) E += static_cast<char>(c);
                break;
        }
        prev = static_cast<char>(c);
        ++i;
    }
    if (inside) return CString();  // an interval that never closes
    D += E;
    return CString(D);
}

CString CAttriDispParam::RewriteTextComparison(CString strExpression, CString strField, CString strValue) {
    CString W = WithoutBlanks(strExpression);
    CString R;
    const CString ref = "%" + strField + "%";
    int P = W.Find(ref);
    while (P >= 0) {
        int Q = W.Find("==", P + ref.GetLength());
        if (Q < 0) break;
        R += W.Left(P);
        W = W.Mid(P);
        Q -= P;
        int a = W.Find("&&"), o = W.Find("||");
        int C = a < 0 ? o : (o < 0 ? a : (a < o ? a : o));
        int from = Q + 2;
        CString L = C < 0 ? W.Mid(from) : W.Mid(from, C - from);
        // Closing brackets at the literal's end that open nowhere inside it close a group around the
        // comparison (an expanded set, for one); they are not part of the literal.
        CString suffix;
        for (;;) {
            int opens = 0, closes = 0;
            for (int i = 0; i < L.GetLength(); ++i) opens += L[i] == '(', closes += L[i] == ')';
            if (L.IsEmpty() || L[L.GetLength() - 1] != ')' || closes <= opens) break;
            suffix += ')';
            L = L.Left(L.GetLength() - 1);
        }
        if (!IsPlainNumber(L) || !IsPlainNumber(strValue)) {
            R += L.CollateNoCase(strValue) == 0 ? "1" : "0";
            R += suffix;
        } else {
            R += C < 0 ? W : W.Left(C);
        }
        W = C < 0 ? CString() : W.Mid(C);
        P = W.Find(ref);
    }
    R += W;
    return R;
}

// ---------------------------------------------------------------------------------------------------
// The style search

namespace {

struct CachedValue {
    WORD vt;
    CString text;
};

bool IsTextType(WORD vt) { return vt == 8 || vt == 129 || vt == 130; }

// The next field reference at or after nStart: the positions of its two percent signs.
bool NextReference(const CString& t, int nStart, int& a, int& b) {
    a = t.Find('%', nStart);
    if (a < 0) return false;
    b = t.Find('%', a + 1);
    return b >= 0;
}

}  // namespace

CADPCondition* CAttriDispParam::FindCondition(UINT nClassID, FieldSource& source) {
    std::map<CString, CachedValue> cache;  // this call's field values, by name as written
    auto value = [&](const CString& name) -> const CachedValue& {
        auto it = cache.find(name);
        if (it == cache.end()) {
            CachedValue v;
            v.vt = source.GetValue(name, v.text);
            it = cache.emplace(name, v).first;
        }
        return it->second;
    };
    auto holds = [&](const CString& expression) {
        CString t = ExpandIntervalExpression(expression);
        // Text comparisons first, while the text holds nothing but the condition itself.
        std::set<CString> done;
        int a, b, pos = 0;
        while (NextReference(t, pos, a, b)) {
            CString name = t.Mid(a + 1, b - a - 1);
            if (!done.insert(name).second) {
                pos = b + 1;
                continue;
            }
            const CachedValue& v = value(name);
            if (IsTextType(v.vt)) t = RewriteTextComparison(t, name, v.text);
            pos = 0;
        }
        // Then every reference is replaced by its value in one pass; a value is never read again as
        // condition text, even when it holds percent signs.
        CString out;
        pos = 0;
        while (NextReference(t, pos, a, b)) {
            out += t.Mid(pos, a - pos);
            out += value(t.Mid(a + 1, b - a - 1)).text;
            pos = b + 1;
        }
        out += t.Mid(pos);
        return Evaluate(out) == "1";
    };

    UINT keys[2] = {0, nClassID};
    for (int k = 0; k < (nClassID ? 2 : 1); ++k) {
        CObList* pList = nullptr;
        if (!m_mapGCClass.Lookup(keys[k], pList) || !pList) continue;
        for (POSITION p = pList->GetHeadPosition(); p;) {
            CObList& conds = static_cast<CADPConditions*>(pList->GetNext(p))->GetConditonList();
            for (POSITION q = conds.GetHeadPosition(); q;) {
                CADPCondition* c = static_cast<CADPCondition*>(conds.GetNext(q));
                if (holds(c->m_strCondition)) return c;
            }
        }
    }
    return nullptr;
}

// An object's values: its height under the name "高程", else its record in its layer's database.
class CAttriDispParam::ObjectFieldSource : public CAttriDispParam::FieldSource {
public:
    explicit ObjectFieldSource(CGeoVectorObject* pObject) : m_pObject(pObject) {}

    WORD GetValue(const CString& strField, CString& strText) override {
        WORD vt = VT_EMPTY;
        strText.Empty();
        if (strField == "高程") {
            strText.Format("%f", m_pObject->GetZ(0));
            return VT_R8;
        }
        CGeoLayer* pLayer = m_pObject->GetLayer();
        CGeoAttributeDatabase* pDB = pLayer && pLayer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))
                                         ? static_cast<CGeoVectorLayer*>(pLayer)->GetAttributeDatabase()
                                         : nullptr;
        if (pDB) {
            COleVariant value;
            const UINT nUserID = m_pObject->GetUserID();
            if (pDB->GetFieldValue(nUserID, strField, value, 0) ||
                pDB->GetFieldValue(nUserID, strField, value, m_pObject->GetObjectClassID())) {
                strText = VartoString(&value);
                vt = value.vt;
            }
        }
        if (vt != 129 && vt != 130 && strText.IsEmpty()) strText = "0";
        return vt;
    }

private:
    CGeoVectorObject* m_pObject;
};

int CAttriDispParam::GetGeoView(CGeoVectorObject* pObject, GEOVIEW& view) {
    if (!pObject) return 0;
    ObjectFieldSource source(pObject);
    CADPCondition* c = FindCondition(pObject->GetObjectClassID(), source);
    if (!c) return 0;
    view = c->m_GeoView;
    return 1;
}

int CAttriDispParam::SetGeoView(CGeoVectorObject* pObject, const GEOVIEW& view) {
    if (!pObject) return 0;
    ObjectFieldSource source(pObject);
    CADPCondition* c = FindCondition(pObject->GetObjectClassID(), source);
    if (!c) return 0;
    c->m_GeoView = view;
    return 1;
}
