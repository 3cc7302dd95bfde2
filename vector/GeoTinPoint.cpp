#include "vector/GeoTinPoint.h"

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
    // Exact: 32-bit coordinates, 64-bit differences, 128-bit products. A determinant in doubles loses
    // its sign for nearly collinear points at large coordinates, and the sweep and the flips rely on it.
    const long long x1 = GetX(), y1 = GetY();
    const __int128 a = static_cast<__int128>(p->GetX() - x1) * (q->GetY() - y1);
    const __int128 b = static_cast<__int128>(p->GetY() - y1) * (q->GetX() - x1);
    return a > b ? TRUE : FALSE;
}

BOOL CGeoTinPoint::IsNeighborPoint(const CGeoTinPoint* p) const {
    if (m_pMainBody != p->m_pMainBody || m_pMainBody == nullptr) return FALSE;
    const long long count = m_pMainBody->GetPoints();
    if (count <= 0) return FALSE;
    const long long a = m_nNumber, b = p->m_nNumber;
    return ((a + 1) % count == b || (b + 1) % count == a) ? TRUE : FALSE;
}
