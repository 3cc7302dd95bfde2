// Small DEMs built in memory for the terrain tests.
#pragma once

#include "terrain/GeoDEM.h"

#include <memory>
#include <vector>

namespace demtest {

// A DEM of rows given north row first (all rows the same length), north-west corner (x, y), cell size
// cell, elevation scale scale, invalid value invalid; min and max computed; unit metre.
inline std::unique_ptr<CGeoDEM> MakeDem(const std::vector<std::vector<LONG>>& northFirst, int x = 0, int y = 0,
                                        double cell = 10.0, double scale = 1.0, LONG invalid = -99999)
{
    const LONG h = static_cast<LONG>(northFirst.size());
    const LONG w = static_cast<LONG>(northFirst.front().size());
    tagRasterParameter p = GetBuiltinRasterParameter();
    p.m_dPixelSize = cell;
    auto dem = std::make_unique<CGeoDEM>(w, h, 32, x, y, p, scale);
    dem->SetUnit(6);
    dem->SetInvalidElevation(invalid);
    LONG* v = dem->GetNodes();
    for (LONG r = 0; r < h; ++r)
        for (LONG c = 0; c < w; ++c) v[(h - 1 - r) * w + c] = northFirst[static_cast<size_t>(r)][static_cast<size_t>(c)];
    dem->RecalcMinMax();
    return dem;
}

// A W x H DEM whose stored value at (column c, row from north r) is f(c, r).
template <class F>
std::unique_ptr<CGeoDEM> MakeDemFn(int w, int h, F f, int x = 0, int y = 0, double cell = 10.0, double scale = 1.0,
                                   LONG invalid = -99999)
{
    std::vector<std::vector<LONG>> rows(static_cast<size_t>(h), std::vector<LONG>(static_cast<size_t>(w)));
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) rows[static_cast<size_t>(r)][static_cast<size_t>(c)] = f(c, r);
    return MakeDem(rows, x, y, cell, scale, invalid);
}

}  // namespace demtest
