// Timing and printing shared by the bench programs. A workload and its peer are timed alternately,
// several rounds each, and the best round of each is compared, so a noisy neighbour on a shared machine
// slows both rather than one.
#pragma once

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double TimeOnce(const std::function<void()>& f) {
    double t = Now();
    f();
    return Now() - t;
}

// Seconds of processor time the calling thread has used. A busy neighbour on a shared machine takes the
// processor away for spells that wall time counts and this does not, so a ratio of two such times moves
// far less with the load.
inline double ThreadCpuNow() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

inline double CpuTimeOnce(const std::function<void()>& f) {
    double t = ThreadCpuNow();
    f();
    return ThreadCpuNow() - t;
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

// Alternate's best rounds, and the median of the rounds' own ratios (ours / peer, the two timed back to
// back). On a machine that stays busy throughout, a round's two sides meet much the same load while the
// best rounds of each side may fall in different spells, so the median ratio moves less from run to run.
struct Paired {
    double ours = 0, peer = 0, ratio = 0;
};

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Adds one round's times of both sides to a Paired: the best of each, and the round's ratio to `ratios`
// (whose median Finish puts in the ratio).
inline void AddRound(Paired& p, std::vector<double>& ratios, double ours, double peer) {
    p.ours = std::min(p.ours, ours);
    p.peer = std::min(p.peer, peer);
    ratios.push_back(peer > 0 ? ours / peer : 0.0);
}

inline Paired AlternatePaired(int rounds, const std::function<void()>& ours, const std::function<void()>& peer) {
    Paired best{1e300, 1e300, 0};
    std::vector<double> ratios;
    for (int r = 0; r < rounds; ++r) {
        const double o = TimeOnce(ours);
        AddRound(best, ratios, o, TimeOnce(peer));
    }
    best.ratio = Median(ratios);
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

// A row whose ratio is the median of its rounds' own ratios (AlternatePaired), marked with "m".
inline void Row(const std::string& what, const Paired& p) {
    std::printf("%-58s %12.4f %12.4f %7.2fm\n", what.c_str(), p.ours, p.peer, p.ratio);
}

}  // namespace bench
