// Timing and printing shared by the bench programs. A workload and its peer are timed alternately,
// several rounds each, and the best round of each is compared, so a noisy neighbour on a shared machine
// slows both rather than one.
#pragma once

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace bench {

inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double TimeOnce(const std::function<void()>& f) {
    double t = Now();
    f();
    return Now() - t;
}

struct Pair {
    double ours = 0, peer = 0;
};

// The best of `rounds` alternating runs of ours and the peer.
inline Pair Alternate(int rounds, const std::function<void()>& ours, const std::function<void()>& peer) {
    Pair best{1e300, 1e300};
    for (int r = 0; r < rounds; ++r) {
        best.ours = std::min(best.ours, TimeOnce(ours));
        best.peer = std::min(best.peer, TimeOnce(peer));
    }
    return best;
}

// The bytes malloc has handed out and not had back: small blocks from its arenas and large blocks mapped
// on their own (bucket arrays and buffers of big containers are the latter).
inline size_t HeapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

inline void Header() {
    std::printf("%-58s %12s %12s %8s\n", "workload (peer)", "library s", "peer s", "ratio");
}

inline void Row(const std::string& what, double ours, double peer) {
    std::printf("%-58s %12.4f %12.4f %8.2f\n", what.c_str(), ours, peer, peer > 0 ? ours / peer : 0.0);
}

}  // namespace bench
