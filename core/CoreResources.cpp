// The library's cursor resources, registered under its module handle while it is loaded.
#include "core/CoreResources.h"

#include <afx/CursorResource.h>

#include "win32/module.h"

namespace {

// '#' black, '.' transparent.
const char* const kHandleCursor[32] = {
    "................................",
    "................................",
    "................................",
    "...#####...............#####....",
    "...##.....................##....",
    "...#.#...................#.#....",
    "...#..#.................#..#....",
    "...#...#...............#...#....",
    "........#.............#.........",
    ".........#...........#..........",
    "..........#.........#...........",
    "...........#.......#............",
    "............#######.............",
    "............#.....#.............",
    "............#.....#.............",
    "............#.....#.............",
    "............#.....#.............",
    "............#.....#.............",
    "............#######.............",
    "...........#.......#............",
    "..........#.........#...........",
    ".........#...........#..........",
    "........#.............#.........",
    "...#...#...............#...#....",
    "...#..#.................#..#....",
    "...#.#...................#.#....",
    "...##.....................##....",
    "...#####...............#####....",
    "................................",
    "................................",
    "................................",
    "................................",
};

HINSTANCE OwnModule() {
    static int anchor;
    return GetModuleHandleFromAddress(&anchor);
}

CursorResource Picture(const char* const rows[32], int xHot, int yHot) {
    CursorResource c;
    c.xHotSpot = xHot;
    c.yHotSpot = yHot;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (rows[y][x] == '.') c.andMask[y * 4 + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    return c;
}

__attribute__((constructor)) void RegisterCoreResources() {
    AfxRegisterCursorResource(OwnModule(), IDC_GEO_HANDLE, Picture(kHandleCursor, 15, 15));
}

__attribute__((destructor)) void UnregisterCoreResources() { AfxUnregisterCursorResources(OwnModule()); }

}  // namespace
