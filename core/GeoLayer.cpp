#include "core/GeoLayer.h"

#include <ostrel/Misc.h>
#include <ostrel/Units.h>

#include <cmath>

IMPLEMENT_SERIAL(CGeoLayer, CGeoObject, 0)

int CGeoLayer::s_nLayerCount = -1;

namespace {

LONG ClampToLong(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return static_cast<LONG>(-2147483647 - 1);
    return static_cast<LONG>(std::trunc(v));
}

LONG ClampToLong(int64_t v)
{
    if (v > 2147483647LL) return 2147483647;
    if (v < -2147483648LL) return static_cast<LONG>(-2147483647 - 1);
    return static_cast<LONG>(v);
}

}  // namespace

CGeoLayer::CGeoLayer(int bEditable) : m_bEditable(bEditable), m_BuildTime(COleDateTime::GetCurrentTime())
{
    ++s_nLayerCount;
    CGeoLayer::DefaultObjectName();
}

CGeoLayer::CGeoLayer(const CRect& bounds, int bEditable)
    : CGeoObject(bounds), m_bEditable(bEditable), m_BuildTime(COleDateTime::GetCurrentTime())
{
    ++s_nLayerCount;
    CGeoLayer::DefaultObjectName();
}

CGeoLayer::~CGeoLayer()
{
    if (!m_bRemoveFileWhenDestruct || m_strFileName.IsEmpty()) return;
    CFileStatus status;
    if (!CFile::GetStatus(m_strFileName, status) || (status.m_attribute & CFile::readOnly)) return;
    try {
        CFile::Remove(m_strFileName);
    } catch (CFileException&) {
    }
}

void CGeoLayer::Serialize(CArchive& ar)
{
    CGeoObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_nMaxID) << m_lBackColor << m_lReserved << static_cast<DWORD>(m_bEditable);
        ar << m_dOriginX << m_dOriginY;
        ar.Write(&m_CoorInfo, sizeof m_CoorInfo);
        ar << static_cast<DWORD>(m_bCoorInfoValid);
        ar << m_BuildTime;
    } else {
        DWORD maxID = 0;
        DWORD editable = 0;
        ar >> maxID >> m_lBackColor >> m_lReserved >> editable;
        ar >> m_dOriginX >> m_dOriginY;
        tagGLAYCOORINFO info;
        if (ar.Read(&info, sizeof info) != sizeof info) AfxThrowArchiveException(CArchiveException::endOfFile);
        DWORD valid = 0;
        ar >> valid;
        ar >> m_BuildTime;
        m_nMaxID = static_cast<int>(maxID);
        m_bEditable = static_cast<int>(editable);
        m_CoorInfo = info;
        m_bCoorInfoValid = static_cast<int>(valid);
    }
}

CGeoAccessorialObject* CGeoLayer::FindObj(UINT) { return nullptr; }

CGeoAccessorialObject* CGeoLayer::FindObj(const CRect&, SELOBJMODE, int) { return nullptr; }

int CGeoLayer::FindUserObj(UINT, CGeoAccessorialObjectList&) { return 0; }

void CGeoLayer::SortUserObj(CGeoAccessorialObjectList&) {}

void CGeoLayer::ResetBounds(CRect rect) { m_rcBounds = rect; }

void CGeoLayer::AutoCompactBounds() {}

void CGeoLayer::Transform(CGeoCoordinateTransformer&) {}

int CGeoLayer::Add(CGeoAccessorialObject*) { return 1; }

int CGeoLayer::Delete(CGeoAccessorialObject*, int) { return 1; }

int CGeoLayer::ObjectIsValid(CGeoAccessorialObject*) { return 1; }

void CGeoLayer::OnLayerOriginChanged(double, double, int) {}

int CGeoLayer::GetMaxID() { return m_nMaxID; }

CGeoObject* CGeoLayer::Duplicate(int, int) { return nullptr; }

void CGeoLayer::DefaultObjectName() { m_strName = CString("图层 ") + itos(s_nLayerCount); }

int CGeoLayer::AssignID() { return ++m_nMaxID; }

void CGeoLayer::AssignID(CGeoAccessorialObject* pObject)
{
    const int id = AssignID();
    pObject->SetID(static_cast<UINT>(id));
    pObject->SetUserID(static_cast<UINT>(id));
}

int CGeoLayer::CollateID()
{
    m_nMaxID = GetMaxID();
    return m_nMaxID;
}

void CGeoLayer::OnObjectUserIDChanged(CGeoAccessorialObject*, UINT) {}

void CGeoLayer::OnObjectBoundsChanged(CGeoAccessorialObject*) {}

void CGeoLayer::Fetch(CGeoAccessorialObject* pObject) { pObject->m_pLayer = this; }

void CGeoLayer::Deviate(CGeoAccessorialObject* pObject)
{
    pObject->SetObjectDataPtr(pObject->m_pLayer);
    pObject->m_pLayer = nullptr;
}

int CGeoLayer::FindUserObj(const CRect& rect, CGeoAccessorialObjectList& list, int nFlag)
{
    CGeoAccessorialObject* pFound = FindObj(rect, SELOBJ_MEET, nFlag);
    if (!pFound) return 0;
    return FindUserObj(pFound->GetUserID(), list);
}

CPoint CGeoLayer::GetLayerBase() const { return GetBounds().TopLeft(); }

void CGeoLayer::SetLayerOrigin(double x, double y)
{
    const double oldX = m_dOriginX;
    const double oldY = m_dOriginY;
    m_dOriginX = x;
    m_dOriginY = y;
    OnLayerOriginChanged(oldX, oldY, 0);
}

void CGeoLayer::GetLayerOrigin(double& x, double& y) const
{
    x = m_dOriginX;
    y = m_dOriginY;
}

void CGeoLayer::ChangeLayerOrigin(double x, double y)
{
    if (x != m_dOriginX || y != m_dOriginY) MoveLayerOrigin(x - m_dOriginX, y - m_dOriginY);
}

void CGeoLayer::MoveLayerOrigin(double dx, double dy)
{
    const double oldX = m_dOriginX;
    const double oldY = m_dOriginY;
    m_dOriginX += dx;
    m_dOriginY += dy;
    // The content keeps its world position, so its layer coordinates move the other way.
    const int64_t sx = ClampToLong(::ChangeUnit(6, m_nUnit, dx, 1.0));
    const int64_t sy = ClampToLong(::ChangeUnit(6, m_nUnit, dy, 1.0));
    m_rcBounds.SetRect(ClampToLong(m_rcBounds.left - sx), ClampToLong(m_rcBounds.top - sy),
                       ClampToLong(m_rcBounds.right - sx), ClampToLong(m_rcBounds.bottom - sy));
    OnLayerOriginChanged(oldX, oldY, 1);
}

CPoint CGeoLayer::LayerCoordinate(const CPoint& point) const
{
    const CRect bounds = GetBounds();
    return CPoint(ClampToLong(bounds.left + point.x * m_CoorInfo.dXFactor),
                  ClampToLong(bounds.top + point.y * m_CoorInfo.dYFactor));
}

CRect CGeoLayer::LayerCoordinate(const CRect& rect) const
{
    const CPoint topLeft = LayerCoordinate(CPoint(rect.left, rect.top));
    const CPoint bottomRight = LayerCoordinate(CPoint(rect.right, rect.bottom));
    return CRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
}

CString CGeoLayer::SetFileName(CString strFileName)
{
    CString previous = m_strFileName;
    m_strFileName = strFileName;
    return previous;
}
