// Grey-level histograms and the look-up tables that map one histogram onto another.
//
// CGeoHistogram counts the levels of each band (H) and keeps the cumulative frequencies
// S[j] = (H[0] + ... + H[j]) / total. CGeoStandardHistogram is the histogram of one side of a mosaic
// seam: the histogram, the pixel extent it was taken from (rows counted from the top, both ends
// included) and ten per-band means and spreads.
//
// Records:
//   CGeoHistogram           DWORD bands, DWORD levels, DWORD total, then per band levels 32-bit
//                           counts; S is rebuilt on loading. More than 10 bands or 65 536 levels
//                           in a record raise CArchiveException (a damaged file, not an image).
//   CGeoStandardHistogram   the histogram's record, DWORD top, bottom, left, right (this order), the
//                           ten means and the ten spreads as 80 raw bytes each.
#pragma once

#include <afx/afx.h>

#include <vector>

class CGeoHistogram : public CObject {
    DECLARE_SERIAL(CGeoHistogram)

public:
    CGeoHistogram() = default;
    CGeoHistogram(int total, int bands, int levels);
    ~CGeoHistogram() override;
    CGeoHistogram(const CGeoHistogram&) = delete;
    CGeoHistogram& operator=(const CGeoHistogram&) = delete;

    // Drops the tables, keeps the three values and makes zeroed counts (levels per band) and unfilled
    // cumulative tables; negative bands or levels count as 0. Returns 1.
    int Initialize(int total, int bands, int levels);
    // Frees the tables; bands becomes 0.
    void ReleaseHS();
    // S from H. 0 (nothing changed) when bands <= 0, levels < 2 or total <= 0; else 1.
    int CreateSByH();

    int GetBands() const { return m_nBands; }
    int GetGrayLevel() const { return m_nLevels; }
    int GetTotal() const { return m_nTotal; }
    void SetTotal(int total) { m_nTotal = total; }
    // The band's counts / cumulative frequencies; NULL for a band outside 0 .. bands - 1.
    int* GetH(int band);
    double* GetS(int band);

    // 0 for a band out of range. Otherwise max / min = the highest / lowest level with a count; with no
    // counts max stays 0 and min levels - 1. Returns 1.
    int GetMaxMinGreyLevel(int& max, int& min, int band) const;
    // 0 for a band out of range. Otherwise mean = trunc(sum(level * H) / total + 0.5), at most levels - 1;
    // 0 when total <= 0. Returns 1.
    int GetMeanGreyLevel(int& mean, int band) const;
    // A table of this histogram's levels (allocated with new[]; the caller frees it with delete[]; a
    // table passed in is freed first) mapping each level of band to a level of target's band:
    // kind 0 shift by the difference of the means, kind 1 linear stretch of the occupied range (a
    // single occupied level maps every level onto the target's minimum), kind 2 cumulative matching
    // (the last target level whose cumulative frequency does not exceed this level's). Values clamped to
    // 0 .. levels - 1. Returns 1 for kinds 0 to 2; 0 for another kind, a band out of range in either
    // histogram or a NULL target (the table is then NULL).
    int CreateLookUpTable(CGeoHistogram* target, int kind, int*& table, int band);
    // Per band (up to the arrays' ten entries): mean and standard deviation over levels 0..255; both 0
    // when total <= 0. Returns 1.
    int CalAverDev(double* means, double* deviations) const;

    void Serialize(CArchive& ar) override;

private:
    int m_nBands = 0;
    int m_nLevels = 0;
    int m_nTotal = 0;
    std::vector<std::vector<int>> m_H;
    std::vector<std::vector<double>> m_S;
};

class CGeoStandardHistogram : public CObject {
    DECLARE_SERIAL(CGeoStandardHistogram)

public:
    // Empty histogram; extent, means and spreads zero.
    CGeoStandardHistogram() = default;
    CGeoStandardHistogram(int top, int left, int bottom, int right);

    // Note the orders: set (top, bottom, left, right), get (top, left, bottom, right).
    void SetExtent(int top, int bottom, int left, int right);
    void GetExtent(int& top, int& left, int& bottom, int& right) const;
    CGeoHistogram* GetHistogram() { return &m_Histogram; }
    double* GetAverages() { return m_dAverages; }
    double* GetCovarances() { return m_dCovariances; }

    void Serialize(CArchive& ar) override;

private:
    int m_nTop = 0;
    int m_nLeft = 0;
    int m_nBottom = 0;
    int m_nRight = 0;
    CGeoHistogram m_Histogram;
    double m_dAverages[10] = {};
    double m_dCovariances[10] = {};
};
