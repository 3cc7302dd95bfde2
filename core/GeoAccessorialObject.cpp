#include "core/GeoAccessorialObject.h"

#include "core/CorvaneModule.h"
#include "core/GeoLayer.h"

IMPLEMENT_SERIAL(CGeoAccessorialObject, CGeoObject, 1)

CGeoAccessorialObject::CGeoAccessorialObject() = default;

CGeoAccessorialObject::~CGeoAccessorialObject() = default;

void CGeoAccessorialObject::Serialize(CArchive& ar)
{
    CGeoObject::Serialize(ar);
    if (ar.IsStoring()) {
        const float version = GetCorvaneVersion();
        ar << static_cast<DWORD>(m_nUserID) << static_cast<DWORD>(m_nID) << static_cast<LONG>(m_bAutoRemoveByLayer);
        if (version >= 1.12f) ar << static_cast<LONG>(m_nMark);
        if (version >= 1.15f) ar << m_byFlag;
    } else {
        const float version = GetOldVersion();
        DWORD userID = 0;
        DWORD id = 0;
        LONG autoRemove = 0;
        ar >> userID >> id >> autoRemove;
        const UINT oldUserID = m_nUserID;
        m_nUserID = userID;
        if (m_pLayer && m_posInLayer && oldUserID != m_nUserID) m_pLayer->OnObjectUserIDChanged(this, oldUserID);
        m_nID = id;
        m_bAutoRemoveByLayer = autoRemove;
        if (version >= 1.12f) {
            LONG mark = 0;
            ar >> mark;
            m_nMark = static_cast<GEOMARK>(mark);
        }
        if (version >= 1.15f) ar >> m_byFlag;
    }
}

void CGeoAccessorialObject::OnChangeUserID(UINT, UINT) {}

void CGeoAccessorialObject::Transform(CGeoCoordinateTransformer&, double, double) {}

int CGeoAccessorialObject::CanMove() const { return CanBeEdited(); }

int CGeoAccessorialObject::CanMoveHandle(int) const { return CanMove(); }

void CGeoAccessorialObject::SetUserID(UINT nUserID)
{
    OnChangeUserID(m_nUserID, nUserID);
    const UINT oldUserID = m_nUserID;
    m_nUserID = nUserID;
    // The layer listing the object keeps its look-up by user ID current.
    if (m_pLayer && m_posInLayer && oldUserID != nUserID) m_pLayer->OnObjectUserIDChanged(this, oldUserID);
}

void CGeoAccessorialObject::OnBoundsChanged()
{
    if (m_pLayer && m_posInLayer) m_pLayer->OnObjectBoundsChanged(this);
}

int CGeoAccessorialObject::CanBeEdited() const { return m_pLayer ? m_pLayer->CanBeEdited() : 1; }

int CGeoAccessorialObject::AttachLayer(CGeoLayer* pLayer) { return pLayer ? pLayer->Add(this) : 0; }

int CGeoAccessorialObject::DetachLayer(int)
{
    if (!m_pLayer) return 0;
    return m_pLayer->Delete(this, 1);
}
