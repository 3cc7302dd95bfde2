// The attribute records of a vector layer's objects.
#include "core/GeoVectorLayer.h"

#include "core/DialogHooks.h"
#include "core/GeoVectorObject.h"

#include <tamsel/GeoAttributeDatabase.h>
#include <tamsel/ValueConvert.h>

#include <vector>

namespace {

bool IsEmptyValue(const COleVariant& v) { return v.vt == VT_EMPTY || v.vt == VT_NULL; }

}  // namespace

int CGeoVectorLayer::GetRecordFieldCount(UINT nClass) const {
    const CGeoGClass* gc = m_Theme.FindGCPtr(nClass);
    return m_Theme.GetFieldCount() + (gc ? gc->GetFieldCount() : 0);
}

BOOL CGeoVectorLayer::EnsureDatabase() {
    if (m_pAttriDB) return TRUE;
    if (m_bUnopenedDB) {
        // A new database would end up over the file the layer is bound to: refuse instead.
        if (!m_bUnopenedDBReported) {
            m_bUnopenedDBReported = 1;
            CString text;
            text.Format("图层[%s]的属性数据库无法打开, 属性不能修改!", static_cast<LPCTSTR>(GetObjectName()));
            AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
        }
        return FALSE;
    }
    CGeoAttributeDatabase* pDB = new CGeoAttributeDatabase(GetDAOEngine());
    if (!pDB->IsOpen()) {
        delete pDB;
        return FALSE;
    }
    for (int i = 0; i < m_Theme.GetFieldCount(); ++i) {
        CDaoFieldInfo info;
        m_Theme.GetFieldInfo(i, info);
        if (!pDB->AddField(info, 0, -1)) {
            pDB->RemoveDatabase();
            return FALSE;
        }
    }
    m_pAttriDB = pDB;
    return TRUE;
}

BOOL CGeoVectorLayer::EnsureClassTable(UINT nClass) {
    if (m_pAttriDB->IsExistGC(nClass)) return TRUE;
    if (!m_pAttriDB->NewGC(nClass)) return FALSE;
    CGeoGClass gc;
    if (GetGClass(nClass, gc)) {
        for (int i = 0; i < gc.GetFieldCount(); ++i) {
            CDaoFieldInfo info;
            gc.GetFieldInfo(i, info);
            if (!m_pAttriDB->AddField(info, nClass, -1)) {
                m_pAttriDB->DeleteGC(nClass);
                return FALSE;
            }
        }
    }
    return TRUE;
}

int CGeoVectorLayer::HasAttribute(CGeoVectorObject* pObject) {
    if (!pObject || pObject->GetLayer() != this || pObject->GetObjectClassID() == 0 || !m_pAttriDB) return 0;
    return m_pAttriDB->IsExistID(pObject->GetUserID(), 0);
}

int CGeoVectorLayer::GetAttribute(UINT nUserID, CGeoValueList* pValues, UINT nClass) {
    if (!pValues) return 0;
    const int n = GetRecordFieldCount(nClass);
    // Defaults apply to the values this call appends, also when the caller's list held some before.
    POSITION last = pValues->GetTailPosition();
    int result = m_pAttriDB && m_pAttriDB->GetIDValue(nUserID, pValues, nClass, "") ? 1 : 0;
    if (!result) {
        for (int i = 0; i < n; ++i) {
            COleVariant empty;
            pValues->AddTail(empty);
        }
    }
    CGeoGClass gc;
    BOOL hasClass = GetGClass(nClass, gc);
    const int nCommon = m_Theme.GetFieldCount();
    POSITION p = last;
    if (p)
        pValues->GetNext(p);
    else
        p = pValues->GetHeadPosition();
    for (int i = 0; p && i < n; ++i) {
        COleVariant& v = pValues->GetNext(p);
        if (!IsEmptyValue(v)) continue;
        CDaoFieldInfo info;
        if (i < nCommon)
            m_Theme.GetFieldInfo(i, info);
        else if (hasClass)
            gc.GetFieldInfo(i - nCommon, info);
        if (!info.m_strDefaultValue.IsEmpty()) v = stringtoVar(info.m_strDefaultValue, info.m_nType);
    }
    return result;
}

int CGeoVectorLayer::GetAttribute(CGeoVectorObject* pObject, CGeoValueList* pValues) {
    if (!pObject) return 0;
    return GetAttribute(pObject->GetUserID(), pValues, pObject->GetObjectClassID());
}

int CGeoVectorLayer::SetAttribute(CGeoVectorObject* pObject, CGeoValueList* pValues) {
    if (!pObject || pObject->GetLayer() != this) return 0;
    // A topological polygon keeps its record on its label point.
    CGeoVectorObject* pTarget = pObject->GetAttributeCarrier();
    if (!pTarget) return 0;
    const UINT nClass = pTarget->GetObjectClassID();
    if (nClass == 0) return 0;
    // Without values the person edits the record in the attribute value dialog, which writes it.
    if (!pValues) {
        if (const AttributeValueDialogHook hook = GetAttributeValueDialogHook()) hook(pTarget);
        return 0;
    }
    if (pValues->GetCount() != GetRecordFieldCount(nClass)) return 0;
    if (!EnsureDatabase() || !EnsureClassTable(nClass)) return 0;
    const UINT nUserID = pTarget->GetUserID();
    int result = m_pAttriDB->IsExistID(nUserID, nClass) ? m_pAttriDB->SetIDValue(nUserID, pValues, nClass, "")
                                                         : m_pAttriDB->NewID(nUserID, pValues, nClass);
    pTarget->UninitilizeAD();
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(WM_GEO_ATTRIBUTE_CHANGED, 0, reinterpret_cast<LPARAM>(pObject));
    return result ? 1 : 0;
}

int CGeoVectorLayer::SetAttribute(UINT nUserID, UINT nClass, CGeoValueList* pValues) {
    if (!pValues || m_Theme.FindGC(nClass) < 0) return 0;
    if (pValues->GetCount() != GetRecordFieldCount(nClass)) return 0;
    if (!EnsureDatabase() || !EnsureClassTable(nClass)) return 0;
    int result = m_pAttriDB->IsExistID(nUserID, nClass) ? m_pAttriDB->SetIDValue(nUserID, pValues, nClass, "")
                                                         : m_pAttriDB->NewID(nUserID, pValues, nClass);
    return result ? 1 : 0;
}

int CGeoVectorLayer::SetAttribute(CTypedPtrList<CObList, CGeoVectorObject*>* pObjects,
                                  CList<CGeoValueList*, CGeoValueList*>* pValueLists) {
    if (!pObjects || !pValueLists || pObjects->GetCount() != pValueLists->GetCount()) return 0;
    if (!EnsureDatabase()) return 0;
    // Every list is headed by its object's user ID.
    POSITION pv = pValueLists->GetHeadPosition();
    for (POSITION po = pObjects->GetHeadPosition(); po;) {
        CGeoVectorObject* pObject = pObjects->GetNext(po);
        CGeoValueList* pList = pValueLists->GetNext(pv);
        if (!pObject || !pList) return 0;
        COleVariant id(static_cast<double>(pObject->GetUserID()));
        pList->AddHead(id);
    }
    if (!m_pAttriDB->NewID(pValueLists, 0)) return 0;
    // Class by class, in the order their first objects come.
    while (!pObjects->IsEmpty()) {
        const UINT nClass = pObjects->GetHead()->GetObjectClassID();
        CGeoAttributeDatabase::CValueListList batch;
        POSITION po = pObjects->GetHeadPosition();
        pv = pValueLists->GetHeadPosition();
        while (po) {
            POSITION atObject = po, atValues = pv;
            CGeoVectorObject* pObject = pObjects->GetNext(po);
            CGeoValueList* pList = pValueLists->GetNext(pv);
            if (pObject->GetObjectClassID() != nClass) continue;
            batch.AddTail(pList);
            pObjects->RemoveAt(atObject);
            pValueLists->RemoveAt(atValues);
        }
        if (!EnsureClassTable(nClass) || !m_pAttriDB->NewID(&batch, nClass)) return 0;
    }
    return 1;
}

int CGeoVectorLayer::RemoveAttribute(CGeoVectorObject* pObject, int nForce) {
    if (!pObject || pObject->GetLayer() != this) return 0;
    const UINT nUserID = pObject->GetUserID();
    if (!m_pAttriDB || !m_pAttriDB->IsExistID(nUserID, 0)) return 1;
    if (!nForce && IsUserIDShared(nUserID, pObject)) return 0;
    return RemoveAttribute(nUserID, pObject->GetObjectClassID());
}

int CGeoVectorLayer::RemoveAttribute(UINT nUserID, UINT nClass) {
    if (!m_pAttriDB || !m_pAttriDB->IsExistID(nUserID, 0)) return 1;
    if (!m_pAttriDB->RemoveID(nUserID)) return 0;
    // Only whether the class's table is now empty matters: counting its rows would cost a pass over them.
    if (nClass != 0 && m_pAttriDB->IsExistGC(nClass) && !m_pAttriDB->HasAnyID(nClass)) m_pAttriDB->DeleteGC(nClass);
    return 1;
}
