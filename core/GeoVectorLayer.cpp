#include "core/GeoVectorLayer.h"

#include "core/CorvaneModule.h"
#include "core/DialogHooks.h"
#include "core/GeoSettings.h"
#include "core/GeoVectorObject.h"
#include "core/LayerFileMark.h"

#include <tamsel/GeoAttributeDatabase.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

IMPLEMENT_SERIAL(CGeoVectorLayer, CGeoLayer, 0)

namespace {

// The database file of a layer file: its folder, the name N and ".mdb". "" when the layer file has
// no path (an archive in memory).
CString DatabasePath(const CString& layerPath, const CString& name) {
    if (layerPath.IsEmpty()) return CString();
    return afx::PathFolder(layerPath) + name + ".mdb";
}

}  // namespace

CGeoVectorLayer::CGeoVectorLayer() : CGeoLayer(TRUE), m_ObjList(10) {}

CGeoVectorLayer::CGeoVectorLayer(const CRect& bounds) : CGeoLayer(bounds, TRUE), m_ObjList(10) {}

CGeoVectorLayer::~CGeoVectorLayer() {
    IndexDrop();
    std::vector<CGeoVectorObject*> loadedKept;
    loadedKept.swap(m_loadedKept);
    // Objects the layer does not own leave it first, while every object is still listed, so that a
    // record they share with any other object of the layer stays; a layer that cannot be edited
    // leaves the records as they are.
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p));
        if (!pObject->CanAutoRemoveByLayer()) Unlink(pObject, CanBeEdited());
    }
    // The objects it owns die with it.
    ListOnly();
    while (!m_ObjList.IsEmpty()) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.RemoveHead());
        pObject->SetPosInLayer(nullptr);
        delete pObject;
    }
    if (m_pAttriDB) {
        m_pAttriDB->RemoveFileWhenDestruct(IsRemoveFileWhenDestruct());
        m_pAttriDB->RemoveDatabase();
        m_pAttriDB = nullptr;
    }
    // Unlinked above like every object the layer does not own, but made by the layer's loading.
    for (CGeoVectorObject* pObject : loadedKept) delete pObject;
}

// ---------------------------------------------------------------------------------------------------
// Objects

int CGeoVectorLayer::ObjectIsValid(CGeoAccessorialObject* pObject) {
    return pObject && pObject->IsKindOf(RUNTIME_CLASS(CGeoVectorObject));
}

int CGeoVectorLayer::GetMaxID() {
    UINT nMax = 0;
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        UINT id = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p))->GetID();
        if (id > nMax) nMax = id;
    }
    return static_cast<int>(nMax);
}

int CGeoVectorLayer::Add(CGeoAccessorialObject* pObject) {
    if (!ObjectIsValid(pObject) || !CanBeEdited()) return 0;
    CGeoVectorObject* pVector = static_cast<CGeoVectorObject*>(pObject);
    AssignID(pVector);
    ListAtTail(pVector);
    IndexAdd(pVector);
    Modified(1);
    return 1;
}

int CGeoVectorLayer::Delete(CGeoAccessorialObject* pObject, int bWithRecord) {
    if (!ObjectIsValid(pObject) || !CanBeEdited()) return 0;
    CGeoVectorObject* pVector = static_cast<CGeoVectorObject*>(pObject);
    // The shape settles what others hold of it first (a topological polygon hands its label point back
    // as a plain point; a label point takes itself away from its polygon).
    pVector->OnDeleteFromLayer(this);
    if (pVector->GetPosInLayer() && pVector->GetLayer() == this) {
        m_loadedKept.erase(std::remove(m_loadedKept.begin(), m_loadedKept.end(), pVector), m_loadedKept.end());
        if (bWithRecord) RemoveAttribute(pVector, 0);
        m_ObjIndex.Remove(pVector);
        m_ObjList.RemoveAt(pVector->GetPosInLayer());
        pVector->SetPosInLayer(nullptr);
        Deviate(pVector);
        Modified(1);
    }
    IndexRemove(pVector);
    return 1;
}

void CGeoVectorLayer::Unlink(CGeoVectorObject* pObject, BOOL bWithRecord) {
    m_loadedKept.erase(std::remove(m_loadedKept.begin(), m_loadedKept.end(), pObject), m_loadedKept.end());
    if (bWithRecord) RemoveAttribute(pObject, 0);
    POSITION pos = pObject->GetPosInLayer();
    if (!pos || pObject->GetLayer() != this) pos = m_ObjList.Find(pObject);
    if (pObject->GetLayer() == this) m_ObjIndex.Remove(pObject);
    if (pos) m_ObjList.RemoveAt(pos);
    pObject->SetPosInLayer(nullptr);
    if (pObject->GetLayer() == this) Deviate(pObject);
    IndexRemove(pObject);
    Modified(1);
}

void CGeoVectorLayer::Replace(CGeoVectorObject* pNew, CGeoVectorObject* pOld) {
    if (!pNew || !pOld || pNew == pOld) return;
    POSITION pos = pOld->GetLayer() == this ? pOld->GetPosInLayer() : nullptr;
    if (!pos) pos = m_ObjList.Find(pOld);
    if (!pos) return;
    // A new object still listed somewhere would be listed twice.
    if (pNew->GetPosInLayer() && pNew->GetLayer() && pNew->GetLayer()->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)))
        static_cast<CGeoVectorLayer*>(pNew->GetLayer())->ListOnly();
    if (pOld->GetLayer() == this) m_ObjIndex.Remove(pOld);
    int nDisplay = pOld->GetDisplayAttribute();
    pNew->SetUserID(pOld->GetUserID());
    pNew->SetID(pOld->GetID());
    pNew->SetObjectClassID(pOld->GetObjectClassID());
    pNew->SetObjectName(pOld->GetObjectName());
    pNew->SetGeoView(pOld->GetGeoView());
    pNew->SetDisplayAttribute(static_cast<DISPLAYATTR>(nDisplay));
    pNew->CopySymbolAttribute(*pOld);
    m_ObjList.SetAt(pos, pNew);
    pNew->SetListOrder(pOld->GetListOrder());
    pNew->SetPosInLayer(pos);
    pOld->SetPosInLayer(nullptr);
    m_loadedKept.erase(std::remove(m_loadedKept.begin(), m_loadedKept.end(), pOld), m_loadedKept.end());
    IndexReplace(pOld, pNew);
    Fetch(pNew);
    if (!m_bListOnly) m_ObjIndex.Add(pNew);
    Modified(1);
}

// The objects of a layer being loaded, by ID, for the look-ups of their resolving: the polygons name
// their arcs by ID, and one table built in a pass answers all of them. IDs are usually numbered from 1,
// so the table is indexed by ID where that takes no more than a few slots per object; otherwise it is a
// sorted list searched by halves. Of several objects with one ID the first in list order is kept, as
// the ID tree would find it.
struct CGeoVectorLayer::LoadedIDs {
    std::vector<CGeoVectorObject*> byID;                       // dense: slot = ID
    std::vector<std::pair<UINT, CGeoVectorObject*>> sorted;  // sparse: (ID, object), first of each ID

    explicit LoadedIDs(const CObList& list) {
        UINT top = 0;
        size_t count = 0;
        for (POSITION p = list.GetHeadPosition(); p; ++count)
            top = std::max(top, static_cast<CGeoVectorObject*>(list.GetNext(p))->GetID());
        if (top <= 4 * count + 1024) {
            byID.assign(static_cast<size_t>(top) + 1, nullptr);
            for (POSITION p = list.GetHeadPosition(); p;) {
                CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(list.GetNext(p));
                CGeoVectorObject*& slot = byID[pObject->GetID()];
                if (!slot) slot = pObject;
            }
            return;
        }
        sorted.reserve(count);
        for (POSITION p = list.GetHeadPosition(); p;) {
            CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(list.GetNext(p));
            sorted.emplace_back(pObject->GetID(), pObject);
        }
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const std::pair<UINT, CGeoVectorObject*>& a, const std::pair<UINT, CGeoVectorObject*>& b) {
                             return a.first < b.first;
                         });
        sorted.erase(std::unique(sorted.begin(), sorted.end(),
                                 [](const std::pair<UINT, CGeoVectorObject*>& a,
                                    const std::pair<UINT, CGeoVectorObject*>& b) { return a.first == b.first; }),
                     sorted.end());
    }
    CGeoVectorObject** Slot(UINT nID) {
        if (!sorted.empty() || byID.empty()) {
            auto it = std::lower_bound(sorted.begin(), sorted.end(), nID,
                                       [](const std::pair<UINT, CGeoVectorObject*>& e, UINT id) { return e.first < id; });
            return it != sorted.end() && it->first == nID ? &it->second : nullptr;
        }
        return nID < byID.size() ? &byID[nID] : nullptr;
    }
    CGeoVectorObject* Find(UINT nID) {
        CGeoVectorObject** slot = Slot(nID);
        return slot ? *slot : nullptr;
    }
    // An object taken out while resolving: its ID then finds the next object of that ID in list order,
    // as the ID tree would, which the rare duplicate makes a walk of the list.
    void Forget(CGeoVectorObject* pObject, const CObList& list) {
        CGeoVectorObject** slot = Slot(pObject->GetID());
        if (!slot || *slot != pObject) return;
        *slot = nullptr;
        for (POSITION p = list.GetHeadPosition(); p;) {
            CGeoVectorObject* pOther = static_cast<CGeoVectorObject*>(list.GetNext(p));
            if (pOther != pObject && pOther->GetID() == pObject->GetID()) {
                *slot = pOther;
                return;
            }
        }
    }
};

void CGeoVectorLayer::LoadedIDsDeleter::operator()(LoadedIDs* p) const { delete p; }

CGeoAccessorialObject* CGeoVectorLayer::FindObj(UINT nID) {
    if (nID == 0) return nullptr;
    if (m_bResolving) {
        // Made by the first look-up: a layer without polygons never needs it.
        if (!m_pLoadedIDs) m_pLoadedIDs.reset(new LoadedIDs(m_ObjList));
        return m_pLoadedIDs->Find(nID);
    }
    if (!IsAvlPermit()) {
        IndexDrop();
        for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
            CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p));
            if (pObject->GetID() == nID) return pObject;
        }
        return nullptr;
    }
    if (!m_bAvlBuilt) {
        m_AvlTree.Clear();
        // Of several objects with one ID the first in list order is the one found.
        for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
            CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p));
            m_AvlTree.AddTail(pObject->GetID(), pObject);
        }
        m_bAvlBuilt = 1;
    }
    return m_AvlTree.Find(nID);
}

void CGeoVectorLayer::ListAtTail(CGeoVectorObject* pObject) {
    // An object still listed (here or in another layer) would be listed twice.
    if (pObject->GetPosInLayer() && pObject->GetLayer() && pObject->GetLayer()->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)))
        static_cast<CGeoVectorLayer*>(pObject->GetLayer())->ListOnly();
    pObject->SetListOrder(++m_nNextListOrder);
    pObject->SetPosInLayer(m_ObjList.AddTail(pObject));
    Fetch(pObject);
    if (!m_bListOnly) m_ObjIndex.Add(pObject);
}

void CGeoVectorLayer::ListOnly() {
    m_bListOnly = 1;
    m_ObjIndex.Clear();
}

CGeoObjectIndex* CGeoVectorLayer::UserIDIndex() const {
    if (m_bListOnly) return nullptr;
    if (!m_ObjIndex.HasUserIDs()) m_ObjIndex.BuildUserIDs(m_ObjList);
    return &m_ObjIndex;
}

CGeoObjectIndex* CGeoVectorLayer::BoundsIndex() {
    if (m_bListOnly) return nullptr;
    if (!m_ObjIndex.HasBounds()) m_ObjIndex.BuildBounds(m_ObjList);
    return &m_ObjIndex;
}

void CGeoVectorLayer::OnObjectUserIDChanged(CGeoAccessorialObject* pObject, UINT nOldUserID) {
    if (pObject->GetLayer() == this && !m_bListOnly && ObjectIsValid(pObject))
        m_ObjIndex.UserIDChanged(static_cast<CGeoVectorObject*>(pObject), nOldUserID);
}

void CGeoVectorLayer::OnObjectBoundsChanged(CGeoAccessorialObject* pObject) {
    if (pObject->GetLayer() == this && !m_bListOnly && ObjectIsValid(pObject))
        m_ObjIndex.BoundsChanged(static_cast<CGeoVectorObject*>(pObject));
}

BOOL CGeoVectorLayer::IsListed(const CGeoVectorObject* pObject) const {
    if (!pObject) return FALSE;
    if (pObject->GetLayer() == this && pObject->GetPosInLayer()) return TRUE;
    return m_ObjList.Find(const_cast<CGeoVectorObject*>(pObject)) != nullptr;
}

BOOL CGeoVectorLayer::FindByBounds(const CRect& rect, std::vector<CGeoVectorObject*>& found) {
    found.clear();
    CGeoObjectIndex* pIndex = BoundsIndex();
    if (!pIndex) return FALSE;
    pIndex->FindBounds([&rect](int) { return rect; }, found);
    return TRUE;
}

BOOL CGeoVectorLayer::FindBorderHolders(const CGeoVectorObject* pArc, std::vector<CGeoVectorObject*>& found) {
    found.clear();
    if (m_bListOnly) return FALSE;
    if (!m_ObjIndex.HasBorderArcs()) m_ObjIndex.BuildBorderArcs(m_ObjList);
    m_ObjIndex.FindBorderHolders(pArc, found);
    return TRUE;
}

void CGeoVectorLayer::IndexAdd(CGeoVectorObject* pObject) {
    if (!m_bAvlBuilt) return;
    if (!IsAvlPermit()) {
        IndexDrop();
        return;
    }
    m_AvlTree.AddTail(pObject->GetID(), pObject);
}

void CGeoVectorLayer::IndexRemove(CGeoVectorObject* pObject) {
    if (!m_bAvlBuilt) return;
    if (!IsAvlPermit()) {
        IndexDrop();
        return;
    }
    // The record of the object's ID may hold another object of that ID (the first listed), or, after
    // Replace, the new object that took this one's ID.
    POSITION pos = m_AvlTree.Find(pObject);
    if (pos && static_cast<CAvlNode::DataCore*>(pos)->value == pObject) m_AvlTree.RemoveAt(pos);
}

void CGeoVectorLayer::IndexReplace(CGeoVectorObject* pOld, CGeoVectorObject* pNew) {
    if (!m_bAvlBuilt) return;
    if (!IsAvlPermit()) {
        IndexDrop();
        return;
    }
    // The new object has taken the old one's ID: where the old one's record holds it, the record is
    // handed over in place, as taking it out and putting the new one in would leave it.
    if (pNew->GetID() == pOld->GetID()) {
        POSITION pos = m_AvlTree.Find(pOld);
        if (pos && static_cast<CAvlNode::DataCore*>(pos)->value == pOld) {
            static_cast<CAvlNode::DataCore*>(pos)->value = pNew;
            return;
        }
    }
    IndexRemove(pOld);
    IndexAdd(pNew);
}

void CGeoVectorLayer::IndexDrop() {
    if (m_bAvlBuilt) m_AvlTree.Clear();
    m_bAvlBuilt = 0;
}

// ---------------------------------------------------------------------------------------------------
// Record

void CGeoVectorLayer::Serialize(CArchive& ar) {
    CGeoLayer::Serialize(ar);
    CFile* pFile = ar.GetFile();
    const CString layerPath = pFile ? pFile->GetFilePath() : CString();
    if (ar.IsStoring()) {
        m_ObjList.Serialize(ar);
        m_Theme.Serialize(ar);
        ar << static_cast<LONG>(m_pAttriDB || m_bUnopenedDB ? 1 : 0);
        if (m_pAttriDB) {
            CString name = afx::PathFileTitle(layerPath);
            CString dbPath = DatabasePath(layerPath, name);
            if (!dbPath.IsEmpty()) {
                // A fresh generation mark goes into the database with its data; the layer file gets the
                // same mark once it is in place, so a load can tell files of different saves apart.
                CString mark = CLayerFileMark::NewMark();
                if (!m_pAttriDB->SetPairMark(mark)) mark = m_pAttriDB->GetPairMark();
                m_pAttriDB->Save(dbPath);
                if (CLayerFileMark::IsPublishing()) CLayerFileMark::Hand(mark);
                else CLayerFileMark::Remove(layerPath);  // written in place: no mark rather than a stale one
            }
            ar << name;
        } else if (m_bUnopenedDB) {
            // The binding stays as it was loaded; the file it names is left alone.
            ar << m_strUnopenedDB;
        }
        if (GetCorvaneLibraryVersion() >= 1.31f) ar << static_cast<DWORD>(m_nLayerType);
        m_AttriDispParam.Serialize(ar);
        return;
    }

    // The objects read are checked before the layer takes them: every one a vector object, each once.
    // Each is checked as it is read, while it is still in the cache.
    std::vector<CObject*> loaded;
    try {
        // The layer owns its objects: each must be new in this archive, never a reference to an object
        // read before (another list's, or one being read around this layer).
        // A file that also ends early says so rather than naming the bad object.
        bool bad = false;
        for (DWORD n = ar.ReadCount(); n > 0; --n) {
            CObject* pOb = ar.ReadOwnedObject(nullptr);
            loaded.push_back(pOb);
            if (!pOb || !pOb->IsKindOf(RUNTIME_CLASS(CGeoVectorObject)) || (!m_ObjList.IsEmpty() && m_ObjList.Find(pOb)))
                bad = true;
        }
        // Every object ReadOwnedObject gives is one it has just made (a reference to one read before
        // throws), so no object can come twice.
        if (bad) AfxThrowArchiveException(CArchiveException::badClass);
        m_Theme.Serialize(ar);
    } catch (...) {
        std::set<CObject*> freed;
        for (CObject* pOb : loaded)
            if (pOb && pOb != this && freed.insert(pOb).second && !m_ObjList.Find(pOb)) delete pOb;
        throw;
    }
    IndexDrop();
    for (CObject* pOb : loaded) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(pOb);
        ListAtTail(pObject);
        if (!pObject->CanAutoRemoveByLayer()) m_loadedKept.push_back(pObject);
    }
    std::vector<CObject*>().swap(loaded);
    ResolveLoadedObjects();

    if (m_pAttriDB) {
        m_pAttriDB->RemoveDatabase();
        m_pAttriDB = nullptr;
    }
    m_bUnopenedDB = 0;
    m_strUnopenedDB.Empty();
    m_bUnopenedDBReported = 0;
    LONG hasDatabase = 0;
    ar >> hasDatabase;
    if (hasDatabase) {
        CString name;
        ar >> name;
        CString dbPath = DatabasePath(layerPath, name);
        if (!dbPath.IsEmpty()) {
            CGeoAttributeDatabase* pDB = new CGeoAttributeDatabase(GetDAOEngine(), dbPath, 0);
            if (!pDB->IsOpen()) {
                delete pDB;
                // The layer keeps the binding it was stored with.
                m_bUnopenedDB = 1;
                m_strUnopenedDB = name;
                CString text;
                text.Format("属性数据库[%s]无法打开!\n图层保留与它的连接, 属性不能修改。",
                            static_cast<LPCTSTR>(dbPath));
                AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
            } else {
                m_pAttriDB = pDB;
                const CString fileMark = CLayerFileMark::Read(layerPath), dbMark = pDB->GetPairMark();
                if (!fileMark.IsEmpty() && !dbMark.IsEmpty() && fileMark != dbMark) {
                    CString text;
                    text.Format("属性数据库[%s]与图层文件不是同一次保存的结果,\n属性可能与图形对不上。",
                                static_cast<LPCTSTR>(dbPath));
                    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
                }
                if (pDB->IsReadOnly()) {
                    CString text;
                    text.Format("数据库[%s]只能以只读方式打开!\n所有对此属性库的操作都将被禁止!",
                                static_cast<LPCTSTR>(dbPath));
                    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
                    Editable(0);
                    LockEditable(1);
                }
            }
        }
    }

    const float version = GetOldVersion();
    if (version >= 1.31f) {
        DWORD type = 0;
        ar >> type;
        if (version >= 1.37f) {
            if (!(type & 0x3)) type |= 0x1;
        } else {
            type = type == 1 ? 6 : 1;
        }
        SetLayerType(static_cast<int>(type));
    }
    if (version >= 1.38f) m_AttriDispParam.Serialize(ar);
}

void CGeoVectorLayer::ResolveLoadedObjects() {
    // Every object is listed and linked, so each may now look up the others (topological polygons
    // resolve their border arcs through FindObj). One that cannot stand is taken out (Unlink, with its
    // record, whatever the editable flag) and deleted.
    struct Resolving {
        CGeoVectorLayer& layer;
        ~Resolving() {
            layer.m_bResolving = 0;
            layer.m_pLoadedIDs.reset();
        }
    } resolving{*this};
    m_bResolving = 1;
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p));
        if (pObject->OnLayerLoaded()) continue;
        Unlink(pObject, TRUE);
        if (m_pLoadedIDs) m_pLoadedIDs->Forget(pObject, m_ObjList);
        delete pObject;
    }
}

// ---------------------------------------------------------------------------------------------------
// Copies

int CGeoVectorLayer::IsSameType(const CGeoVectorLayer& src) const {
    return std::strcmp(GetRuntimeClass()->m_lpszClassName, src.GetRuntimeClass()->m_lpszClassName) == 0;
}

int CGeoVectorLayer::CopyData(const CGeoVectorLayer& src) {
    if (&src == this) return 1;
    m_rcBounds = src.m_rcBounds;
    SetUnit(src.GetUnit());
    m_Theme = src.m_Theme;
    m_AttriDispParam = src.m_AttriDispParam;
    SetObjectName(src.GetObjectName());
    double x = 0, y = 0;
    src.GetLayerOrigin(x, y);
    SetLayerOrigin(x, y);
    return 1;
}

int CGeoVectorLayer::Copy(const CGeoVectorLayer& src, int nFlag1, int nFlag2) {
    (void)nFlag1;
    (void)nFlag2;
    return IsSameType(src) ? CopyData(src) : 0;
}

int CGeoVectorLayer::EditProperties(int nFlag1, int nFlag2, void* pParam) {
    if (nFlag1 != 0) return 0;
    return NewEditProperties(CanBeEdited() ? nFlag2 : 1, static_cast<CSymbolLibIO*>(pParam));
}

int CGeoVectorLayer::NewEditProperties(int bReadOnly, CSymbolLibIO* pLib) {
    return RunLayerPropertySheet(this, pLib, bReadOnly);
}

CGeoObject* CGeoVectorLayer::Duplicate(int nFlag1, int nFlag2) {
    CGeoVectorLayer* pCopy = new CGeoVectorLayer;
    if (!pCopy->Copy(*this, nFlag1, nFlag2)) {
        delete pCopy;
        return nullptr;
    }
    return pCopy;
}

void CGeoVectorLayer::OnUnitChanged(int nOldUnit) {
    CGeoLayer::OnUnitChanged(nOldUnit);
    for (POSITION p = m_ObjList.GetHeadPosition(); p;)
        static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p))->ChangeUnit(GetUnit());
}

// ---------------------------------------------------------------------------------------------------
// Schema

int CGeoVectorLayer::GetGClass(UINT nCode, CGeoGClass& gc) const {
    int i = m_Theme.FindGC(nCode);
    return i >= 0 && m_Theme.GetGC(i, gc);
}

int CGeoVectorLayer::GetGClass(CString strName, CGeoGClass& gc) const {
    int i = m_Theme.FindGC(strName);
    return i >= 0 && m_Theme.GetGC(i, gc);
}

void CGeoVectorLayer::SetLayerType(int nType) {
    m_nLayerType = nType;
    m_Theme.SetDataType(nType);
}

int CGeoVectorLayer::GetLayerType() {
    m_nLayerType = m_Theme.GetDataType();
    return m_nLayerType;
}

void CGeoVectorLayer::GetUsedGCID(CUIntArray& ids, CUIntArray* pCounts) const {
    ids.RemoveAll();
    if (pCounts) pCounts->RemoveAll();
    // Codes in first-seen order, found by a hash map: one pass, however many codes the layer uses.
    // Neighbours in the list often share a code, so the last code's place is kept beside the map, and
    // the map is only asked (without making a node) when the code changes.
    std::unordered_map<UINT, INT_PTR> index;
    UINT lastID = 0;
    INT_PTR lastAt = -1;
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        UINT id = static_cast<CGeoVectorObject*>(m_ObjList.GetNext(p))->GetObjectClassID();
        if (id == 0) continue;
        if (id != lastID || lastAt < 0) {
            auto found = index.try_emplace(id, ids.GetSize());
            lastID = id;
            lastAt = found.first->second;
            if (found.second) {
                ids.Add(id);
                if (pCounts) pCounts->Add(0);
            }
        }
        if (pCounts) ++(*pCounts)[lastAt];
    }
}

void CGeoVectorLayer::GetAllGCID(CUIntArray& ids) const {
    ids.RemoveAll();
    CGeoGClass gc;
    for (int i = 0; i < m_Theme.GetGCCount(); ++i)
        if (m_Theme.GetGC(i, gc)) ids.Add(gc.GetGCID());
}

int CGeoVectorLayer::HasField() const {
    if (m_Theme.GetFieldCount() > 0) return TRUE;
    CGeoGClass gc;
    for (int i = 0; i < m_Theme.GetGCCount(); ++i)
        if (m_Theme.GetGC(i, gc) && gc.GetFieldCount() > 0) return TRUE;
    return FALSE;
}

int CGeoVectorLayer::IsExistUserID(UINT nUserID, UINT nClass) const {
    if (CGeoObjectIndex* pIndex = UserIDIndex()) {
        std::vector<CGeoVectorObject*> found;
        pIndex->FindUserID(nUserID, found);
        for (const CGeoVectorObject* pObject : found)
            if (nClass == 0 || pObject->GetObjectClassID() == nClass) return TRUE;
        return FALSE;
    }
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        const CGeoVectorObject* pObject = static_cast<const CGeoVectorObject*>(m_ObjList.GetNext(p));
        if (pObject->GetUserID() == nUserID && (nClass == 0 || pObject->GetObjectClassID() == nClass)) return TRUE;
    }
    return FALSE;
}

BOOL CGeoVectorLayer::IsUserIDShared(UINT nUserID, const CGeoVectorObject* pObject) const {
    if (CGeoObjectIndex* pIndex = UserIDIndex()) return pIndex->IsUserIDShared(nUserID, pObject);
    for (POSITION p = m_ObjList.GetHeadPosition(); p;) {
        const CGeoVectorObject* pOther = static_cast<const CGeoVectorObject*>(m_ObjList.GetNext(p));
        if (pOther != pObject && pOther->GetUserID() == nUserID) return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------------

CGeoVectorLayer* CreateVectorLayer(const CRect* pBounds, const CGeoTheme* pTheme, CString strName,
                                   CString strFile, int nReserved) {
    (void)nReserved;
    CGeoVectorLayer* pLayer = new CGeoVectorLayer(pBounds ? *pBounds : CRect(0, 0, 5000000, 5000000));
    if (pTheme) pLayer->m_Theme = *pTheme;
    strName.TrimLeft();
    strName.TrimRight();
    strFile.TrimLeft();
    strFile.TrimRight();
    if (!strName.IsEmpty()) pLayer->SetObjectName(strName);
    if (!strFile.IsEmpty()) pLayer->SetFileName(strFile);
    return pLayer;
}
