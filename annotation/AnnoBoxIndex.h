// CAnnoBoxIndex: the boxes entered into a collision grid's cells, looked up by where they lie instead of
// by the grid's own cells, so that a collision test costs about the same however many labels the grid
// holds.
//
// The boxes sit in the square cells of a sparse grid whose cell size follows the boxes it holds: it is
// the mean extent of the boxes, read again (and every box filed again) each time their number doubles.
// A box that would span very many cells is kept aside and tried by every query.
//
// Each box is entered with the cell range the collision grid gave it, and a query only answers for
// boxes whose range shares a cell with the query's range, exactly as walking the grid's cells would.
// Boxes are held, not owned, and must not change while entered (as for the grid's own cells).
#pragma once

#include "annotation/AnnoGrid.h"

#include <memory>

class CAnnoBoxIndex {
public:
    // A box's cells in a collision grid of `columns` columns: columns c0 .. c1 and rows r0 .. r1, where
    // the cell of row r and column `columns` is the same cell as row r + 1, column 0.
    struct CellRange {
        int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
    };

    CAnnoBoxIndex();
    ~CAnnoBoxIndex();
    CAnnoBoxIndex(const CAnnoBoxIndex&) = delete;
    CAnnoBoxIndex& operator=(const CAnnoBoxIndex&) = delete;

    // Forgets every box.
    void Clear();
    // Enters the box with its cell range; a box already entered stays as it was.
    void Add(tagANNORECT* pBox, const CellRange& cells);
    // Takes the box out; nothing when it is not entered.
    void Remove(const tagANNORECT* pBox);

    // Whether two cell ranges of a grid of `columns` columns share a cell.
    static bool ShareCell(const CellRange& a, const CellRange& b, int columns);

    // Nonzero when an entered box whose range shares a cell with `cells` collides with the box
    // (AnnoRectsIntersect with the margin).
    int Intersects(const tagANNORECT& box, int margin, const CellRange& cells, int columns) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
