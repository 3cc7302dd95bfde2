// Slope and aspect grids of a DEM: for every node, the direction in which water leaves it (towards its
// lowest lower neighbour of the eight around it) and the steepness of that descent.
#pragma once

#include <afx/afx.h>

// The direction of the chosen neighbour; 0 none (invalid node, or no lower neighbour).
enum ENSLOPE {
    SLOPE_NONE = 0,
    SLOPE_EAST = 1,
    SLOPE_NORTHEAST = 2,
    SLOPE_NORTH = 4,
    SLOPE_NORTHWEST = 8,
    SLOPE_WEST = 16,
    SLOPE_SOUTHWEST = 32,
    SLOPE_SOUTH = 64,
    SLOPE_SOUTHEAST = 128
};

// One cell: the slope angle in radians (0 to pi/2; 0.0 when the direction is 0) and the direction.
struct GRADESLOPE {
    float grade;
    ENSLOPE direction;
};
static_assert(sizeof(GRADESLOPE) == 8, "GRADESLOPE is 8 bytes");

// A width x height grid of GRADESLOPE cells, row-major, row 0 the northernmost. It owns its buffer,
// which starts zero-filled (grade 0, direction 0). Not copyable: a copy would free the buffer twice.
class CGradeSlope {
public:
    // A non-positive size gives an empty grid (NULL buffer).
    CGradeSlope(int width, int height);
    virtual ~CGradeSlope();
    CGradeSlope(const CGradeSlope&) = delete;
    CGradeSlope& operator=(const CGradeSlope&) = delete;

    // 0 and no change outside the grid; otherwise the cell is written and 1 returned.
    int SetGradeSlope(int column, int row, float grade, ENSLOPE direction);
    // 0 (outputs untouched) outside the grid; otherwise 1 with both set.
    int GetGradeSlope(int column, int row, float& grade, ENSLOPE& direction) const;
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // The owned buffer (cell (column, row) at column + row x width).
    GRADESLOPE* GetGradeSlopeBuffer() const { return m_pBuffer; }

private:
    int m_nWidth;
    int m_nHeight;
    GRADESLOPE* m_pBuffer;
};
