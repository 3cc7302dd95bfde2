#include "vector/GeoTinPoint.h"

#include "core/GeoHelpers.h"
#include "core/GeoVectorObject.h"

int CGeoTinPoint::m_bMinusY = 1;

CPoint CGeoTinPoint::GetPoint() const { return m_pMainBody->GetPoint(m_nNumber); }

int CGeoTinPoint::GetX() const { return m_pMainBody->GetX(m_nNumber); }

int CGeoTinPoint::GetY() const {
    int y = m_pMainBody->GetY(m_nNumber);
    // Negated in 64 bits: INT_MIN has no negation in an int.
    return m_bMinusY ? static_cast<int>(-static_cast<long long>(y)) : y;
}

double CGeoTinPoint::GetZ() const { return m_pMainBody->GetZ(m_nNumber); }

BOOL CGeoTinPoint::IsAnticlockwise(const CGeoTinPoint* p, const CGeoTinPoint* q) const {
    return ::IsAnticlockwise(GetX(), GetY(), p->GetX(), p->GetY(), q->GetX(), q->GetY()) ? TRUE : FALSE;
}

BOOL CGeoTinPoint::IsNeighborPoint(const CGeoTinPoint* p) const {
    if (m_pMainBody != p->m_pMainBody || m_pMainBody == nullptr) return FALSE;
    const long long count = m_pMainBody->GetPoints();
    if (count <= 0) return FALSE;
    const long long a = m_nNumber, b = p->m_nNumber;
    return ((a + 1) % count == b || (b + 1) % count == a) ? TRUE : FALSE;
}
