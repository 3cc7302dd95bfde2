#include "raster/GeoRasterLayer.h"

#include <set>

#include <ostrel/Units.h>

IMPLEMENT_SERIAL(CGeoRasterLayer, CGeoLayer, 0)

int CGeoRasterLayer::s_nRasterLayerCount = 0;

CGeoRasterLayer::CGeoRasterLayer(int bEditable) : CGeoLayer(bEditable)
{
    ++s_nRasterLayerCount;
    SetObjectName(CString());
}

CGeoRasterLayer::CGeoRasterLayer(const CRect& bounds, int bEditable) : CGeoLayer(bounds, bEditable)
{
    ++s_nRasterLayerCount;
    SetObjectName(CString());
}

CGeoRasterLayer::~CGeoRasterLayer()
{
    while (!m_ObjList.IsEmpty()) CGeoObject::Remove(static_cast<CGeoObject*>(m_ObjList.RemoveHead()));
}

void CGeoRasterLayer::Serialize(CArchive& ar)
{
    CGeoLayer::Serialize(ar);
    if (ar.IsStoring()) {
        m_ObjList.Serialize(ar);
        ar << static_cast<LONG>(m_bAutoSize);
        return;
    }
    // The objects read are checked before the layer takes them: every one a raster object, each once
    // (a list that names one object twice would otherwise have it deleted twice).
    CObList loaded;
    try {
        // The layer owns its objects: each must be new in this archive, never a reference to an object
        // read before (another list's, or one being read around this layer).
        for (DWORD n = ar.ReadCount(); n > 0; --n) loaded.AddTail(ar.ReadOwnedObject(nullptr));
        std::set<CObject*> seen;
        for (POSITION pos = loaded.GetHeadPosition(); pos;) {
            CObject* ob = loaded.GetNext(pos);
            if (!ob || !ob->IsKindOf(RUNTIME_CLASS(CGeoRasterObject)) || !seen.insert(ob).second)
                AfxThrowArchiveException(CArchiveException::badClass);
        }
    } catch (...) {
        std::set<CObject*> freed;
        for (POSITION pos = loaded.GetHeadPosition(); pos;) {
            CObject* ob = loaded.GetNext(pos);
            if (ob && ob != this && freed.insert(ob).second) delete ob;
        }
        throw;
    }
    while (!loaded.IsEmpty()) {
        CGeoRasterObject* obj = static_cast<CGeoRasterObject*>(loaded.RemoveHead());
        obj->SetPosInLayer(m_ObjList.AddTail(obj));
        Fetch(obj);
    }
    LONG autoSize = 0;
    ar >> autoSize;
    m_bAutoSize = autoSize;
}

void CGeoRasterLayer::DefaultObjectName()
{
    CString name;
    name.Format("栅格图层 %d", s_nRasterLayerCount);
    m_strName = name;
}

void CGeoRasterLayer::OnUnitChanged(int nOldUnit)
{
    CGeoLayer::OnUnitChanged(nOldUnit);
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;)
        static_cast<CGeoObject*>(m_ObjList.GetNext(pos))->ChangeUnit(m_nUnit);
}

CGeoAccessorialObject* CGeoRasterLayer::FindObj(UINT nID)
{
    if (nID == 0) return nullptr;
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        auto* obj = static_cast<CGeoAccessorialObject*>(m_ObjList.GetNext(pos));
        if (obj->GetID() == nID) return obj;
    }
    return nullptr;
}

CGeoAccessorialObject* CGeoRasterLayer::FindObj(const CRect& rect, SELOBJMODE mode, int kinds)
{
    if ((kinds & 0x0F00) == 0) return nullptr;
    CRect r = rect;
    r.NormalizeRect();
    const CRect layer = GetBounds();
    const bool point = r.IsRectEmpty() != 0;
    const CPoint at(r.left, r.top);
    if (point) {
        if (mode == SELOBJ_INSIDE || !layer.PtInRect(at)) return nullptr;
    } else {
        r &= layer;
        if (r.IsRectEmpty()) return nullptr;
    }
    for (POSITION pos = m_ObjList.GetTailPosition(); pos;) {
        auto* obj = static_cast<CGeoAccessorialObject*>(m_ObjList.GetPrev(pos));
        if (point ? obj->GetBounds().PtInRect(at) : obj->Intersects(r, mode)) return obj;
    }
    return nullptr;
}

int CGeoRasterLayer::FindUserObj(UINT nUserID, CGeoAccessorialObjectList& list)
{
    if (nUserID == 0) return 0;
    list.RemoveAll();
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        auto* obj = static_cast<CGeoAccessorialObject*>(m_ObjList.GetNext(pos));
        if (obj->GetUserID() == nUserID) list.AddTail(obj);
    }
    return !list.IsEmpty();
}

void CGeoRasterLayer::SortUserObj(CGeoAccessorialObjectList&) {}

void CGeoRasterLayer::ResetBounds(CRect rect) { m_rcBounds = rect; }

void CGeoRasterLayer::AutoCompactBounds()
{
    const int was = m_bAutoSize;
    m_bAutoSize = 1;
    RecalcBounds();
    m_bAutoSize = was;
}

int CGeoRasterLayer::Add(CGeoAccessorialObject* pObject)
{
    if (!CanBeEdited() || !pObject || !ObjectIsValid(pObject)) return 0;
    static_cast<CGeoRasterObject*>(pObject)->ChangeOrigin(m_dOriginX, m_dOriginY);
    pObject->SetPosInLayer(m_ObjList.AddTail(pObject));
    AssignID(pObject);
    Fetch(pObject);
    RecalcBounds();
    Modified(1);
    return 1;
}

int CGeoRasterLayer::Delete(CGeoAccessorialObject* pObject, int)
{
    if (!CanBeEdited() || !pObject || !ObjectIsValid(pObject)) return 0;
    POSITION pos = m_ObjList.Find(pObject);
    if (!pos) return 0;
    m_ObjList.RemoveAt(pos);
    pObject->SetPosInLayer(nullptr);
    Deviate(pObject);
    RecalcBounds();
    Modified(1);
    return 1;
}

int CGeoRasterLayer::ObjectIsValid(CGeoAccessorialObject* pObject)
{
    return pObject && pObject->IsKindOf(RUNTIME_CLASS(CGeoRasterObject));
}

void CGeoRasterLayer::OnLayerOriginChanged(double dOldX, double dOldY, int bMoved)
{
    const double dx = m_dOriginX - dOldX, dy = m_dOriginY - dOldY;
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        auto* obj = static_cast<CGeoRasterObject*>(m_ObjList.GetNext(pos));
        if (bMoved) {
            obj->MoveOrigin(dx, dy);
        } else {
            double ox, oy;
            obj->GetOrigin(ox, oy);
            obj->SetOrigin(ox + dx, oy + dy);
        }
    }
}

int CGeoRasterLayer::GetMaxID()
{
    UINT maxID = 0;
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        auto* obj = static_cast<CGeoAccessorialObject*>(m_ObjList.GetNext(pos));
        if (obj->GetID() > maxID) maxID = obj->GetID();
    }
    return static_cast<int>(maxID);
}

int CGeoRasterLayer::AutoSize(int bOn)
{
    const int was = m_bAutoSize;
    if (bOn != was && bOn) {
        m_bAutoSize = bOn;
        RecalcBounds();
    }
    m_bAutoSize = bOn;
    return was;
}

void CGeoRasterLayer::RecalcBounds()
{
    if (!m_bAutoSize) return;
    m_rcBounds = CRect(0, 0, 0, 0);
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;) {
        auto* obj = static_cast<CGeoObject*>(m_ObjList.GetNext(pos));
        CRect r = obj->GetBounds();
        ::ChangeUnit(obj->GetUnit(), m_nUnit, static_cast<RECT&>(r));
        if (m_rcBounds.IsRectEmpty())
            m_rcBounds = r;
        else
            m_rcBounds |= r;
    }
}
