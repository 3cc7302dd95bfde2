#include "ostrel/PointBuffer.h"

#include <new>
#include <stdexcept>
#include <vector>

namespace {

// Released buffers keep their capacity and are reused by later requests.
struct BufferStack {
    std::vector<std::vector<POINT>> buffers;
    size_t held = 0;
};

BufferStack& Stack()
{
    static BufferStack stack;
    return stack;
}

} // namespace

POINT* GetFXPointBuffer(int n)
{
    BufferStack& s = Stack();
    size_t need = n > 0 ? (size_t)n : 1;
    try {
        if (s.held == s.buffers.size()) s.buffers.emplace_back();
        std::vector<POINT>& b = s.buffers[s.held];
        if (b.size() < need) b.resize(need);
        ++s.held;
        return b.data();
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
}

void FreeFXPointBuffer()
{
    BufferStack& s = Stack();
    if (s.held > 0) --s.held;
}

int GetFXPointBufferDepth() { return (int)Stack().held; }
