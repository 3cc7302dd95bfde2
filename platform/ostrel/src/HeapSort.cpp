#include "ostrel/HeapSort.h"

namespace {

template <typename T>
void SiftDown(T* a, int start, int end)
{
    int root = start;
    while (2 * root + 1 <= end) {
        int child = 2 * root + 1;
        if (child + 1 <= end && a[child] < a[child + 1]) ++child;
        if (!(a[root] < a[child])) return;
        T t = a[root];
        a[root] = a[child];
        a[child] = t;
        root = child;
    }
}

template <typename T>
void Sort(T* a, int n)
{
    if (a == nullptr || n <= 1) return;
    for (int start = (n - 2) / 2; start >= 0; --start) SiftDown(a, start, n - 1);
    for (int end = n - 1; end > 0; --end) {
        T t = a[0];
        a[0] = a[end];
        a[end] = t;
        SiftDown(a, 0, end - 1);
    }
}

} // namespace

void CHeapSort::HeapSort(LONG* values, int n) { Sort(values, n); }
void CHeapSort::HeapSort(long* values, int n) { Sort(values, n); }
void CHeapSort::HeapSort(double* values, int n) { Sort(values, n); }
