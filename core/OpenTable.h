// OpenTable: a hash table with open addressing and linear probing, for look-ups that hold an entry for
// every object of a large layer: a cell per entry and no node, so a million entries cost a million
// cells and no allocation each.
//
// A Cell is a small value type, empty when default-constructed, with `bool Empty() const` and
// `uint64_t Key() const`; the caller fills a cell Insert hands out before the next call. The table is a
// power of two long (or empty) and kept filled to between an eighth and 0.7. Insert and Erase may move
// every cell: a cell pointer lasts until the next call of either. Not thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace opentable {

// The key of a pointer: its address.
inline uint64_t KeyOf(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }

template <class Cell>
class OpenTable {
public:
    // Forgets every entry and frees the cells.
    void Clear() {
        std::vector<Cell>().swap(m_cells);
        m_size = 0;
    }
    size_t Size() const { return m_size; }
    // Makes room for n entries without growing again.
    void Reserve(size_t n) {
        if (n * 10 > m_cells.size() * 7) Rehash(Capacity(n));
    }
    // The cell of the key, or NULL.
    Cell* Find(uint64_t key) {
        if (m_cells.empty()) return nullptr;
        for (size_t i = Home(key);; i = Next(i)) {
            if (m_cells[i].Empty()) return nullptr;
            if (m_cells[i].Key() == key) return &m_cells[i];
        }
    }
    const Cell* Find(uint64_t key) const { return const_cast<OpenTable*>(this)->Find(key); }
    // Some cell, or NULL when the table is empty (cells are spread evenly, so one is found within a few).
    Cell* Any() {
        for (Cell& c : m_cells)
            if (!c.Empty()) return &c;
        return nullptr;
    }
    // Calls f with every cell, in no particular order.
    template <class F>
    void ForEach(F f) {
        for (Cell& c : m_cells)
            if (!c.Empty()) f(c);
    }
    template <class F>
    void ForEach(F f) const {
        for (const Cell& c : m_cells)
            if (!c.Empty()) f(c);
    }
    // An empty cell for a key not in the table; the caller fills it at once (the table counts it).
    Cell& Insert(uint64_t key) {
        Reserve(m_size + 1);
        size_t i = Home(key);
        while (!m_cells[i].Empty()) i = Next(i);
        ++m_size;
        return m_cells[i];
    }
    // Takes out the cell (one Find or Insert gave).
    void Erase(Cell* cell) {
        size_t i = static_cast<size_t>(cell - m_cells.data());
        // Shift back the cells after it that would no longer be reached past the hole.
        for (size_t j = Next(i); !m_cells[j].Empty(); j = Next(j)) {
            const size_t home = Home(m_cells[j].Key());
            const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (between) continue;
            m_cells[i] = std::move(m_cells[j]);
            i = j;
        }
        m_cells[i] = Cell();
        --m_size;
        if (m_size == 0)
            Clear();
        else if (m_size * 8 < m_cells.size() && m_cells.size() > kLeast)
            Rehash(Capacity(2 * m_size));
    }

private:
    static constexpr size_t kLeast = 16;
    std::vector<Cell> m_cells;  // empty, or a power of two at least kLeast long
    size_t m_size = 0;

    size_t Next(size_t i) const { return (i + 1) & (m_cells.size() - 1); }
    size_t Home(uint64_t key) const {
        // Fibonacci hashing: the low bits of heap addresses, and runs of IDs, carry little.
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (m_cells.size() - 1);
    }
    static size_t Capacity(size_t n) {
        size_t c = kLeast;
        while (c * 7 < n * 10) c *= 2;
        return c;
    }
    void Rehash(size_t capacity) {
        std::vector<Cell> old(capacity);
        old.swap(m_cells);
        for (Cell& c : old)
            if (!c.Empty()) {
                size_t i = Home(c.Key());
                while (!m_cells[i].Empty()) i = Next(i);
                m_cells[i] = std::move(c);
            }
    }
};

}  // namespace opentable
