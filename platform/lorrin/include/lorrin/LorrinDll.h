// CLorrinDll: the elevation-grid renderer. It turns a float grid and a list of elevation levels into a
// device-independent bitmap (DemtoBmp), or draws a grid straight into a device rectangle (DrawDEM).
//
// The caller fills the public input members, calls DemtoBmp, and then owns the two output buffers
// (m_pBits and m_pBitmapInfo): the renderer never frees them, not even in its destructor. Free them
// with FreeBitmap (they are BYTE arrays allocated with new[]).
//
// Grid: m_nGridWidth x m_nGridHeight floats, row 0 the southernmost row (the order of a bottom-up DIB),
// real elevations; the value -99999 marks a node without elevation.
//
// Levels: m_nLevelCount entries (at most 1000). Level i starts at m_dLevelBreak[i] (ascending) and is
// painted with m_dLevelColor[i] (red, green, blue, each 0.0 to 1.0). A node takes the last level whose
// break is <= its value; a value below the first break takes level 0. Nodes without elevation are
// painted in the background colour, white.
//
// The bitmap: one pixel per node, biWidth = grid width, biHeight = grid height (bottom-up), rows padded
// to 4 bytes; 8 bits per pixel with a palette (the levels, then white) when there are at most 255
// levels, 24 bits per pixel otherwise. The members m_nReserved50000, m_nReserved100, m_fReserved0a,
// m_fReserved0b and m_dReserved45 are accepted and not used.
#pragma once

#include <win32/wingdi.h>

class CLorrinDll {
public:
    CLorrinDll();
    virtual ~CLorrinDll();
    CLorrinDll(const CLorrinDll&) = delete;
    CLorrinDll& operator=(const CLorrinDll&) = delete;

    // Builds the bitmap of the grid into new m_pBits / m_pBitmapInfo buffers (the previous pointers
    // are overwritten, not freed). Returns 1, or 0 (outputs untouched) when the grid is NULL, its size is
    // not positive or too large for one bitmap, or the level count is outside 1 to 1000.
    int DemtoBmp();
    // Draws grid (columns x rows floats, south row first) into the device rectangle rect of hdc (device
    // coordinates, stretched with nearest sampling) with the current levels. The input members and
    // outputs are left as they were. Returns 1 when drawn, 0 on bad arguments or a failed stretch.
    int DrawDEM(HDC hdc, RECT* rect, float* grid, int columns, int rows, float cell);

    // Frees buffers made by DemtoBmp (NULL is fine).
    static void FreeBitmap(void* bits, BITMAPINFO* info);

    // Inputs and outputs, in this order.
    int m_nGridWidth;
    int m_nGridHeight;
    float* m_pGrid;  // not owned
    float m_fCell;
    int m_nReserved50000;
    int m_nReserved100;
    float m_fReserved0a;
    float m_fReserved0b;
    void* m_pBits;  // output, owned by the caller after DemtoBmp
    double m_dReserved45;
    BITMAPINFO* m_pBitmapInfo;  // output, owned by the caller after DemtoBmp
    int m_nLevelCount;
    double m_dLevelColor[1000][3];
    double m_dLevelBreak[1000];
};
