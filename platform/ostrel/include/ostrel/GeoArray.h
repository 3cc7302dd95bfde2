// A growable array of points that hands its contents out as a new heap block.
#pragma once

#include "win32/wintypes.h"

#include <vector>

class CGeoArray {
public:
    // growBy: how many points the storage grows by when it is full (at least 1).
    explicit CGeoArray(int growBy = 50);

    // Appends n points (n <= 0 or NULL appends nothing) or one point.
    void Add(const POINT* pts, int n);
    void Add(const POINT& p);
    int GetSize() const;
    // The point at i; (0, 0) outside 0 .. GetSize() - 1.
    POINT GetAt(int i) const;
    void RemoveAll();
    // A copy of the points in a new block allocated with new[]; the caller frees it with delete[].
    // NULL when the array is empty.
    POINT* GetData() const;

private:
    std::vector<POINT> points_;
    int growBy_;
};
