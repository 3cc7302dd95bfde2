// The object index against std::map: finding every object of a layer by its ID (FindObj, which builds
// the layer's index on first use and then searches it) at 10,000, 100,000 and 1,000,000 objects, against
// std::map<UINT, object*> look-ups of the same IDs in the same order (shuffled, fixed seed).
// Prints ratios (ours / peer) and the cost per look-up at each size; never passes or fails on time.
#include "BenchUtil.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

int main() {
    bench::Header();
    for (int n : {10000, 100000, 1000000}) {
        CGeoVectorLayer* layer = CreateVectorLayer(nullptr, nullptr, "bench", "", 0);
        std::map<UINT, CGeoAccessorialObject*> peerIndex;
        POINT pts[2] = {{0, 0}, {10, 10}};
        for (int i = 0; i < n; ++i) {
            CGeoPLine* line = new CGeoPLine(2, pts, FALSE);
            layer->Add(line);
            peerIndex.emplace(line->GetID(), line);
        }
        std::vector<UINT> ids;
        for (const auto& e : peerIndex) ids.push_back(e.first);
        std::shuffle(ids.begin(), ids.end(), std::mt19937(5));
        layer->FindObj(ids[0]);  // the index is built on first use
        size_t found = 0;
        bench::Pair t = bench::Alternate(
            3, [&] { for (UINT id : ids) found += layer->FindObj(id) != nullptr; },
            [&] { for (UINT id : ids) found += peerIndex.find(id) != peerIndex.end(); });
        bench::Row("find " + std::to_string(n) + " objects by ID (std::map)", t.ours, t.peer);
        std::printf("%58s %9.1f ns %9.1f ns per look-up\n", "", t.ours / n * 1e9, t.peer / n * 1e9);
        if (found != static_cast<size_t>(n) * 6) std::printf("  (some look-ups failed)\n");
        delete layer;
    }
    return 0;
}
