#include "ostrel/GeoArray.h"

#include <algorithm>

CGeoArray::CGeoArray(int growBy) : growBy_(growBy < 1 ? 1 : growBy) {}

void CGeoArray::Add(const POINT* pts, int n)
{
    if (pts == nullptr || n <= 0) return;
    size_t need = points_.size() + (size_t)n;
    if (need > points_.capacity()) {
        size_t steps = (need - points_.capacity() + growBy_ - 1) / growBy_;
        points_.reserve(points_.capacity() + steps * growBy_);
    }
    points_.insert(points_.end(), pts, pts + n);
}

void CGeoArray::Add(const POINT& p) { Add(&p, 1); }

int CGeoArray::GetSize() const { return (int)points_.size(); }

POINT CGeoArray::GetAt(int i) const
{
    if (i < 0 || i >= GetSize()) return POINT{0, 0};
    return points_[(size_t)i];
}

void CGeoArray::RemoveAll() { points_.clear(); }

POINT* CGeoArray::GetData() const
{
    if (points_.empty()) return nullptr;
    POINT* block = new POINT[points_.size()];
    std::copy(points_.begin(), points_.end(), block);
    return block;
}
