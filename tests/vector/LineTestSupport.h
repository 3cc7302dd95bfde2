// Small helpers shared by the line tests: building polylines from point lists, comparing points, and
// archiving to and from memory.
#pragma once

#include "vector/GeoPLine.h"

#include <afx/afx.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace linetest {

using Pts = std::vector<POINT>;
using Bytes = std::vector<BYTE>;

inline CGeoPLine* MakeLine(const Pts& pts) {
    return new CGeoPLine(static_cast<int>(pts.size()), pts.empty() ? nullptr : pts.data(), TRUE);
}

inline Pts PointsOf(const CGeoPLine& line) {
    Pts out;
    for (int i = 0; i < line.GetPoints(); ++i) out.push_back(line.GetPoint(i));
    return out;
}

inline Pts SlotsOf(const CGeoPLine& line) {
    const POINT* p = line.GetPointBuffer();
    return Pts(p, p + line.CGeoLine::GetPoints());
}

inline std::string Show(const Pts& pts) {
    std::string s;
    for (const POINT& p : pts) s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return s;
}

inline ::testing::AssertionResult SamePoints(const Pts& got, const Pts& want) {
    bool same = got.size() == want.size();
    for (size_t i = 0; same && i < got.size(); ++i) same = got[i].x == want[i].x && got[i].y == want[i].y;
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Show(got) << " expected " << Show(want);
}

inline Bytes Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return file.Data();
}

inline void Load(const Bytes& data, const std::function<void(CArchive&)>& read) {
    CMemFile file(data.data(), static_cast<UINT>(data.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}

}  // namespace linetest
