// Collision grid of automatic labelling: the boxes of the labels placed so far in one labelling run,
// indexed by the cells of a grid laid over the labelling area, and the test whether a candidate box
// collides with any of them.
//
// A box (tagANNORECT) is a rectangle in integer label coordinates (y up, so "top" is the smaller y)
// that may be turned counter-clockwise about its first corner (left, top) by an angle in DEGREES.
// Every registered box is entered into each cell that the extent of its turned corners touches; a
// query looks only at the boxes of the cells its own extent touches.
//
// Use: construct (which resets the process-wide box-id counter), SetTotalRect, optionally SetRows /
// SetColumns, BuildIndex; then Intersects for each candidate and AddRecord for each placed label (ids
// from GetAnnoIndexID). Single-threaded, like the rest of the drawing state.
#pragma once

#include <afx/afx.h>

#include <memory>

// One label box. Copied by value.
struct tagANNORECT {
    LONG left = 0;     // the unturned box; (left, top) is the first corner and the pivot
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    float angle = 0.0f;  // degrees, counter-clockwise about (left, top); 0 = upright
    int id = 0;          // from GetAnnoIndexID or chosen by the caller

    tagANNORECT() = default;
    // The fields copied unchanged.
    tagANNORECT(int nID, const RECT& box, float fAngle);
    // left = x, top = y, right = x + width, bottom = y + height (sums kept inside the LONG range).
    tagANNORECT(int nID, int x, int y, int width, int height, float fAngle);
};

// A list of box pointers; the grid's record list owns its boxes, cell lists and query results do not.
typedef CList<tagANNORECT*, tagANNORECT*> CAnnoRectList;

class CAnnoBoxIndex;

// The four corners of a box grown by margin d on every side, (left - d, top - d), (right + d, top - d),
// (right + d, bottom + d), (left - d, bottom + d), turned about the first of them by the box's angle:
// each corner becomes p0 + trunc(turned offset + 0.5) per coordinate, with the angle in radians taken
// as angle * 3.1415926 / 180. An upright box gives the grown box itself. A negative margin shrinks.
void GetAnnoRectCorners(const tagANNORECT& box, int margin, POINT corners[4]);

// Nonzero when boxes a and b collide, touching included:
// - both upright: the two rectangles share a point; the margin is NOT applied;
// - one turned: the turned box's corners with the margin form a ring, which collides with the other,
//   unturned rectangle when an edge of the ring meets the rectangle or the rectangle lies inside it;
// - both turned: both become rings with the margin; they collide when two edges meet or one ring lies
//   inside the other.
int AnnoRectsIntersect(const tagANNORECT& a, const tagANNORECT& b, int margin);

// The process-wide box-id counter: GetAnnoIndexID returns the counter and then increments it;
// SetZeroAnnoIndexID sets it to 0. Constructing a CGeoAnnoGrid also sets it to 0.
void SetZeroAnnoIndexID();
int GetAnnoIndexID();

class CGeoAnnoGrid {
public:
    // 10 rows and 10 columns, no cells, no boxes; resets the box-id counter to 0.
    CGeoAnnoGrid();
    // Frees the cells and every registered box.
    virtual ~CGeoAnnoGrid();
    CGeoAnnoGrid(const CGeoAnnoGrid&) = delete;
    CGeoAnnoGrid& operator=(const CGeoAnnoGrid&) = delete;

    // The labelling area. It, and the rows and columns, take effect at the next BuildIndex; the cells
    // in place keep the area and dimensions they were built with.
    void SetTotalRect(const CRect& rect);
    void SetRows(int rows);
    int GetRows() const { return m_nRows; }
    void SetColumns(int columns);
    int GetColumns() const { return m_nColumns; }
    // (rows + 1) * (columns + 1) of the current settings (saturated at the int maximum).
    int GetGridIndexNum() const;

    // Drops the cells in place and builds empty ones: cell width = area width / columns and cell
    // height = area height / rows (floats); (rows + 1) * (columns + 1) cells, the cell of row r and
    // column c being entry r * columns + c. Rows or columns below 1 are built as 1. Boxes already
    // registered are NOT entered into the new cells: they stay owned but are no longer found.
    void BuildIndex();
    // Drops the cells; the boxes stay registered (and owned) but are no longer found.
    void FreeMemory();

    // Copies the box onto the heap, registers it (the record list owns it) and enters it into its
    // cells. Without built cells the box is registered only.
    void AddRecord(const tagANNORECT& box);
    void AddRecord(int id, const RECT& box, float angle);
    // Enters the pointer (not owned) into every cell of the box's range; nothing without built cells.
    // The box must not change while it is entered: it leaves its cells by its range.
    void AddAnnoToIndex(tagANNORECT* pBox);

    // The box's cell range: over its four corners without margin, column = trunc((x - area.left) /
    // cell width) and row = trunc((y - area.top) / cell height), each clamped to 0 .. columns or
    // 0 .. rows (boxes partly or wholly outside the area land in the border cells). A cell size of 0
    // or less (an empty area) puts every box in column or row 0, or in the last one when it lies past
    // the area's start.
    void GetAnnoIndex(const tagANNORECT& box, int& colMin, int& colMax, int& rowMin, int& rowMax) const;
    // Empties out, then appends every box of every cell of the given box's range, row by row and column
    // by column; a box in several of those cells is listed once per cell. Nothing without built cells.
    void GetRecord(const tagANNORECT& box, CAnnoRectList& out) const;
    // Nonzero when the box collides (AnnoRectsIntersect with the margin) with a box of its cell range.
    // The boxes are looked up where they lie (CAnnoBoxIndex), so the answer, the same as walking the
    // cells, costs about the same however few cells the grid has for the boxes it holds.
    int Intersects(const tagANNORECT& box, int margin) const;

    // The position, in the record list, of the first registered box with that id; NULL when none.
    POSITION FindRecord(int id) const;
    // Every registered box in order of registration; a position from FindRecord indexes it.
    const CAnnoRectList& GetRecordList() const { return m_Records; }

    // Deletes the first registered box with that id; nothing when no box bears it.
    void DeleteRecord(int id);
    // Deletes the first registered box bearing box.id: it leaves every cell it was entered in and the
    // record list, and is freed. Only the id of the argument is used, so a box given with other
    // coordinates than the registered one leaves no pointer behind. Nothing when no box bears the id.
    void DeleteRecord(const tagANNORECT& box);
    // Looks in the cells of oldBox's range, row by row and column by column, for a box bearing
    // oldBox.id; the first one found leaves its cells, is overwritten with every field of newBox (id
    // included) and is entered into the cells of its new range; the record list keeps it. When no such
    // box is found (or no cells are built) nothing changes.
    void ReplaceRecord(const tagANNORECT& oldBox, const tagANNORECT& newBox);
    // ReplaceRecord of (id, oldPos, width, height, oldAngle) by (id, newPos, width, height, newAngle).
    void MoveRecord(int id, const POINT& oldPos, float oldAngle, const POINT& newPos, float newAngle, int width,
                    int height);

private:
    CAnnoRectList* Cell(int row, int col) const;
    // Removes every occurrence of the pointer from the cells of its own range.
    void RemoveFromIndex(const tagANNORECT* pBox);

    int m_nRows = 10;
    int m_nColumns = 10;
    CAnnoRectList** m_pCells = nullptr;  // (built rows + 1) * (built columns + 1) entries, NULL until used
    CAnnoRectList m_Records{10};         // owns the boxes
    float m_fCellWidth = 0.0f;
    float m_fCellHeight = 0.0f;
    CRect m_rcTotal;
    // The area and dimensions the cells were built with, so that later setter calls never make a range
    // reach past the cell array or miss the cells a box was entered in.
    CRect m_rcIndex;
    int m_nIndexRows = 10;
    int m_nIndexColumns = 10;
    // The boxes entered into the cells, by where they lie.
    std::unique_ptr<CAnnoBoxIndex> m_pBoxIndex;
};
