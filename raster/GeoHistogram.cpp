#include "raster/GeoHistogram.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGeoHistogram, CObject, 1)
IMPLEMENT_SERIAL(CGeoStandardHistogram, CObject, 1)

CGeoHistogram::CGeoHistogram(int total, int bands, int levels) { Initialize(total, bands, levels); }

CGeoHistogram::~CGeoHistogram() { ReleaseHS(); }

int CGeoHistogram::Initialize(int total, int bands, int levels)
{
    ReleaseHS();
    m_nTotal = total;
    m_nBands = std::max(bands, 0);
    m_nLevels = std::max(levels, 0);
    m_H.assign(m_nBands, std::vector<int>(m_nLevels, 0));
    m_S.assign(m_nBands, std::vector<double>(m_nLevels, 0.0));
    return 1;
}

void CGeoHistogram::ReleaseHS()
{
    m_H.clear();
    m_S.clear();
    m_nBands = 0;
}

int CGeoHistogram::CreateSByH()
{
    if (m_nBands <= 0 || m_nLevels < 2 || m_nTotal <= 0) return 0;
    for (int b = 0; b < m_nBands; ++b) {
        double sum = 0.0;
        for (int j = 0; j < m_nLevels; ++j) {
            sum += m_H[b][j];
            m_S[b][j] = sum / m_nTotal;
        }
    }
    return 1;
}

int* CGeoHistogram::GetH(int band) { return band >= 0 && band < m_nBands ? m_H[band].data() : nullptr; }

double* CGeoHistogram::GetS(int band) { return band >= 0 && band < m_nBands ? m_S[band].data() : nullptr; }

int CGeoHistogram::GetMaxMinGreyLevel(int& max, int& min, int band) const
{
    if (band < 0 || band >= m_nBands) return 0;
    max = 0;
    min = m_nLevels - 1;
    const std::vector<int>& h = m_H[band];
    for (int j = 0; j < m_nLevels; ++j)
        if (h[j]) { min = j; break; }
    for (int j = m_nLevels - 1; j >= 0; --j)
        if (h[j]) { max = j; break; }
    return 1;
}

int CGeoHistogram::GetMeanGreyLevel(int& mean, int band) const
{
    if (band < 0 || band >= m_nBands) return 0;
    // An empty histogram has no mean to divide out; 0 stands for it.
    if (m_nTotal <= 0) {
        mean = 0;
        return 1;
    }
    double sum = 0.0;
    for (int j = 0; j < m_nLevels; ++j) sum += double(j) * m_H[band][j];
    mean = static_cast<int>(sum / m_nTotal + 0.5);
    if (mean >= m_nLevels) mean = m_nLevels - 1;
    return 1;
}

int CGeoHistogram::CreateLookUpTable(CGeoHistogram* target, int kind, int*& table, int band)
{
    if (band < 0 || band >= m_nBands) return 0;
    delete[] table;
    table = nullptr;
    if (!target || band >= target->m_nBands || kind < 0 || kind > 2) return 0;
    table = new int[std::max(m_nLevels, 1)];
    const int top = m_nLevels - 1;
    auto clamp = [top](double v) { return static_cast<int>(std::min<double>(top, std::max(0.0, v))); };
    if (kind == 0) {
        int meanThis = 0, meanTarget = 0;
        GetMeanGreyLevel(meanThis, band);
        target->GetMeanGreyLevel(meanTarget, band);
        for (int i = 0; i < m_nLevels; ++i) table[i] = clamp(double(i) + meanTarget - meanThis);
    } else if (kind == 1) {
        int max = 0, min = 0, tmax = 0, tmin = 0;
        GetMaxMinGreyLevel(max, min, band);
        target->GetMaxMinGreyLevel(tmax, tmin, band);
        // One occupied level has no range to stretch: everything goes to the target's lowest level.
        const double ratio = max > min ? double(tmax - tmin) / double(max - min) : 0.0;
        for (int i = 0; i < m_nLevels; ++i) table[i] = clamp(std::trunc((i - min) * ratio + tmin + 0.5));
    } else {
        const double* s = m_S[band].data();
        const double* t = target->m_S[band].data();
        const int tLevels = target->m_nLevels;
        int j = 0;
        for (int i = 0; i < m_nLevels; ++i) {
            const double x = s[i];
            if (tLevels > 0 && x >= t[j])
                while (j < tLevels - 1 && x >= t[j + 1]) ++j;
            table[i] = std::min(j, top);
        }
    }
    return 1;
}

int CGeoHistogram::CalAverDev(double* means, double* deviations) const
{
    const int levels = std::min(m_nLevels, 256);
    for (int b = 0; b < m_nBands && b < 10; ++b) {
        if (m_nTotal <= 0) {
            means[b] = deviations[b] = 0.0;
            continue;
        }
        double sum = 0.0;
        for (int j = 0; j < levels; ++j) sum += double(j) * m_H[b][j];
        const double mean = sum / m_nTotal;
        double var = 0.0;
        for (int j = 0; j < levels; ++j) var += (j - mean) * (j - mean) * m_H[b][j];
        means[b] = mean;
        deviations[b] = std::sqrt(var / m_nTotal);
    }
    return 1;
}

void CGeoHistogram::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_nBands) << static_cast<DWORD>(m_nLevels) << static_cast<DWORD>(m_nTotal);
        for (int b = 0; b < m_nBands; ++b)
            if (m_nLevels) ar.Write(m_H[b].data(), static_cast<UINT>(m_nLevels * sizeof(int)));
        return;
    }
    ReleaseHS();
    DWORD bands = 0, levels = 0, total = 0;
    ar >> bands >> levels >> total;
    // A histogram of an image has at most ten bands of at most 65 536 levels; larger values are damage.
    if (bands > 10 || levels > 65536) AfxThrowArchiveException(CArchiveException::badIndex);
    ar.EnsureAvailable(static_cast<ULONGLONG>(bands) * levels * sizeof(int));
    Initialize(static_cast<int>(total), static_cast<int>(bands), static_cast<int>(levels));
    for (int b = 0; b < m_nBands; ++b) {
        const UINT n = static_cast<UINT>(m_nLevels * sizeof(int));
        if (n && ar.Read(m_H[b].data(), n) != n) AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    CreateSByH();
}

CGeoStandardHistogram::CGeoStandardHistogram(int top, int left, int bottom, int right)
    : m_nTop(top), m_nLeft(left), m_nBottom(bottom), m_nRight(right)
{
}

void CGeoStandardHistogram::SetExtent(int top, int bottom, int left, int right)
{
    m_nTop = top;
    m_nBottom = bottom;
    m_nLeft = left;
    m_nRight = right;
}

void CGeoStandardHistogram::GetExtent(int& top, int& left, int& bottom, int& right) const
{
    top = m_nTop;
    left = m_nLeft;
    bottom = m_nBottom;
    right = m_nRight;
}

void CGeoStandardHistogram::Serialize(CArchive& ar)
{
    m_Histogram.Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_nTop) << static_cast<DWORD>(m_nBottom) << static_cast<DWORD>(m_nLeft)
           << static_cast<DWORD>(m_nRight);
        ar.Write(m_dAverages, sizeof m_dAverages);
        ar.Write(m_dCovariances, sizeof m_dCovariances);
        return;
    }
    DWORD top = 0, bottom = 0, left = 0, right = 0;
    ar >> top >> bottom >> left >> right;
    m_nTop = static_cast<int>(top);
    m_nBottom = static_cast<int>(bottom);
    m_nLeft = static_cast<int>(left);
    m_nRight = static_cast<int>(right);
    if (ar.Read(m_dAverages, sizeof m_dAverages) != sizeof m_dAverages ||
        ar.Read(m_dCovariances, sizeof m_dCovariances) != sizeof m_dCovariances)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}
