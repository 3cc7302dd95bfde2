#include "terrain/GeoClassificationParameter.h"

#include <ostrel/Misc.h>

#include <cmath>

IMPLEMENT_SERIAL(CGeoClassificationParameter, CObject, 1)

int CGeoClassificationParameter::s_nCount = 0;

namespace {
const COLORREF kOutOfRange = 0xC0C0C0;
}

CGeoClassificationParameter::CGeoClassificationParameter()
{
    SetDefaultName();
    ++s_nCount;
}

CGeoClassificationParameter::CGeoClassificationParameter(const CGeoClassificationParameter& other) : CObject()
{
    *this = other;
    ++s_nCount;
}

CGeoClassificationParameter::~CGeoClassificationParameter() = default;

CGeoClassificationParameter& CGeoClassificationParameter::operator=(const CGeoClassificationParameter& other)
{
    if (this == &other) return *this;
    m_strName = other.m_strName;
    m_Thresholds.Copy(other.m_Thresholds);
    m_Colors.Copy(other.m_Colors);
    m_dLow = other.m_dLow;
    m_dHigh = other.m_dHigh;
    return *this;
}

void CGeoClassificationParameter::SetDefaultName() { m_strName = CString("Param ") + itos(s_nCount); }

void CGeoClassificationParameter::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_strName << m_dLow << m_dHigh;
    else
        ar >> m_strName >> m_dLow >> m_dHigh;
    m_Thresholds.Serialize(ar);
    m_Colors.Serialize(ar);
}

void CGeoClassificationParameter::GetThresholdArray(CArray<double, double>& out) const { out.Copy(m_Thresholds); }

void CGeoClassificationParameter::GetColorArray(CArray<DWORD, DWORD>& out) const { out.Copy(m_Colors); }

int CGeoClassificationParameter::SetThresholdArray(const CArray<double, double>& thresholds)
{
    if (thresholds.GetSize() == 0) return 0;
    m_Thresholds.Copy(thresholds);
    return 1;
}

int CGeoClassificationParameter::SetColorArray(const CArray<DWORD, DWORD>& colors)
{
    if (colors.GetSize() == 0) return 0;
    m_Colors.Copy(colors);
    return 1;
}

int CGeoClassificationParameter::SetArrange(double low, double high)
{
    if (!(low < high)) return 0;
    m_dLow = low;
    m_dHigh = high;
    return 1;
}

int CGeoClassificationParameter::GetClssification(double v) const
{
    if (std::isnan(v) || v < m_dLow || v > m_dHigh) return -1;
    int n = 0;
    for (INT_PTR i = 0; i < m_Thresholds.GetSize(); ++i)
        if (m_Thresholds[i] < v) ++n;
    return n;
}

int CGeoClassificationParameter::GetClssification(double v, double lo, double hi) const
{
    if (!(lo < hi) || std::isnan(v) || v < lo || v > hi) return -1;
    if (m_Thresholds.GetSize() == 0) return 0;
    return GetClssification(m_dLow + (m_dHigh - m_dLow) * (v - lo) / (hi - lo));
}

COLORREF CGeoClassificationParameter::GetColor(double v) const
{
    const int k = GetClssification(v);
    if (k < 0 || m_Colors.GetSize() == 0) return kOutOfRange;
    if (k >= m_Colors.GetSize()) return m_Colors[m_Colors.GetSize() - 1];
    return m_Colors[k];
}

COLORREF CGeoClassificationParameter::GetColor(double v, double lo, double hi) const
{
    if (!(lo < hi) || std::isnan(v) || v < lo || v > hi) return kOutOfRange;
    return GetColor(m_dLow + (m_dHigh - m_dLow) * (v - lo) / (hi - lo));
}
