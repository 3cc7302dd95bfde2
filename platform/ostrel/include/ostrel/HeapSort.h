// In-place ascending heap sort.
#pragma once

#include "win32/wintypes.h"

class CHeapSort {
public:
    // Sorts values[0 .. n - 1] ascending; n <= 1 or a NULL array does nothing. Not stable.
    static void HeapSort(LONG* values, int n);
    static void HeapSort(long* values, int n);
    static void HeapSort(double* values, int n);
};
