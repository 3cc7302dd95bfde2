// CGeoDEM: a grid digital elevation model, a raster object with one band of 32-bit signed integers.
//
// A stored value is an elevation in units of the elevation scale (1/Hzoom metre): the real elevation is
// value x GetResZ(). One stored value, the invalid elevation, marks nodes without elevation; every
// comparison with it is made on the stored value.
//
// Grid geometry. W x H nodes, cell = the raster parameter's pixel size (object unit). Band rows are
// bottom-up: band row 0 is the southernmost row, band row = H - 1 - r for the row r counted from the
// north. Node (column c, row r from the north) lies at (left + c x cell, north - r x cell), so the
// first node of the northern row sits on the north-west corner of the bounds and the bounds reach one
// cell past the last column and below the last row. The bounds' top field is the southern edge, their
// bottom field the northern edge (GetMaxY).
//
// A DEM whose band is missing, has no view or holds fewer than W x H x 4 bytes has "no grid": every
// pixel path (GetPixel, the blocks, Paste, Draw, the writers, contours, slope) then reads nothing and
// reports failure instead.
//
// Record (Serialize, schema 0), after the raster record (CGeoRasterObject):
//   Alfa (double), compress (double), max (32-bit), min (32-bit), invalid (32-bit), reserved (double,
//   0.0), elevation scale (double).
// Loading: when the raster record's grid file exists it is read again (LoadRasterFile) and the bounds,
// unit and cell of the record are kept (the cell converted to the record's unit); the grid then comes
// from the file, and ReadHugeData skips the band bytes stored in the document. Otherwise the bands of
// the record wait for ReadHugeData. Not stored: offset, level show, level parameter, the given flags.
//
// File formats (GeoDEMFile.cpp): NSDTF-DEM ".dem" (read), CNSDTF-DEM ".grd" (read, write), ARC/INFO BIL
// ".bil" with ".hdr" and ".blw" (read, window read, write; without a ".blw" the placement is read from
// the header's ULXMAP, ULYMAP, XDIM and YDIM when it holds all four). Drawing (GeoDEMDraw.cpp), contours
// (GeoDEMContour.cpp) and slope (GradeSlope.h) are the DEM's too.
#pragma once

#include "raster/GeoRasterObject.h"
#include "terrain/GeoClassificationParameter.h"

#include <lorrin/LorrinDll.h>

#include <cstdio>

class CDC;
class CGeoVectorLayer;
class CGradeSlope;

// The inert placeholder a DEM carries: a file name (empty) and four reserved words (0). Its file
// operations do nothing and return 1; its record therefore holds nothing. Schema 1.
class CDEM : public CObject {
    DECLARE_SERIAL(CDEM)
public:
    CDEM();
    ~CDEM() override;
    void Serialize(CArchive& ar) override;
    int ReadFile(CString path);
    int WriteFile(CString path);

    CString m_strFileName;
    DWORD m_dwReserved[4];
};

// The stored value of "no invalid elevation set" and the empty-range sentinels.
const LONG kDemNoInvalid = static_cast<LONG>(0x80000001);
const LONG kDemEmptyMax = static_cast<LONG>(0x80000001);
const LONG kDemEmptyMin = 0x7FFFFFFF;
// The float that marks invalid nodes in GetBlock2 and the value written for them to ".grd" files.
const float kDemNoDataFloat = -99999.0f;

// The level dialog, opened by SetLevelParameter. The user interface installs it; it edits param (a copy
// of the DEM's classes; unit is the unit text, min and max the real elevation range) and returns IDOK
// to confirm. NULL (no user interface) behaves as a cancel. Returns the hook replaced, so that a caller
// can put it back.
typedef int (*DemLevelDialogHook)(CGeoClassificationParameter& param, const CString& unit, double min, double max);
DemLevelDialogHook SetDemLevelDialogHook(DemLevelDialogHook hook);

class CGeoDEM : public CGeoRasterObject {
    DECLARE_SERIAL(CGeoDEM)
public:
    // Empty grid; scale 0.1, invalid 0, max 0x80000001, min 0x7FFFFFFF, offset 0; bitmap outdated.
    CGeoDEM();
    // The raster part with rect and file (no grid read); load with LoadRasterFile afterwards.
    CGeoDEM(tagRECT* rect, CString file);
    // An in-memory grid of width x height nodes (bitCount is 32 for a DEM), north-west corner (x, y),
    // cell = parameter's pixel size, elevation scale scale; invalid 0x80000001, empty range. The band (a
    // zero-filled temporary mapping) is added only when it could be made: test GetNumberOfBands.
    CGeoDEM(LONG width, LONG height, int bitCount, int x, int y, tagRasterParameter& parameter, double scale);
    // A deep copy of the grid and the elevation members (not the classes, not the bitmap); the copy
    // keeps the source's bounds and unit.
    CGeoDEM(const CGeoDEM& other);
    CGeoDEM& operator=(const CGeoDEM&) = delete;
    // Frees the renderer's bitmap.
    ~CGeoDEM() override;

    void Serialize(CArchive& ar) override;
    // A DEM does not move: nothing changes.
    void MoveTo(CRect rect) override;
    // Reads a ".dem", ".grd" or ".bil" grid (GeoDEMFile.cpp); 1 loaded, 0 not. A grid whose edges lie
    // beyond the 32-bit coordinates of the bounds, and a BIL of PIXELTYPE FLOAT, are refused with a
    // message ("DEM的范围超出坐标范围: ", "不支持浮点型(PIXELTYPE FLOAT)的BIL格式DEM: " and the path).
    int LoadRasterFile(CString path) override;
    // After a load that re-read the grid file: skips the band bytes stored in the document (the file
    // advances by their lengths) and keeps the grid from the file. Otherwise the raster's; a node band
    // the document maps at an offset that is not a multiple of 4 is then copied to an aligned one (or,
    // without memory for the copy, released: no grid).
    int ReadHugeData(CFile* file) override;

    using CGeoRasterObject::GetBlock;
    // An 8-bit grey picture (caller owns it) of count x rows nodes from column x, row y (from the north):
    // rows bottom-up, padded to 4 bytes; 0 for invalid nodes, else (value - min) x 255 / (max - min)
    // rounded (255 / 1 for a flat range), clamped to 0..255. NULL for no grid, an empty block or a block
    // leaving the grid.
    CGeoBandData* GetBlock(int band, DWORD x, DWORD y, DWORD count, DWORD rows) override;

    // ---- drawing (GeoDEMDraw.cpp) ----

    // Draws the elevation-class bitmap of the DEM into dc (object -> device by RPtoLP), limited to
    // clip. The bitmap is rebuilt only when outdated. Nothing without a layer or a grid.
    virtual void Draw(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset);

    // A new DEM by the copy constructor; the caller owns it.
    virtual CObject* Copy();

    // ---- pixel access ----

    // The node at column and row (from the north): -1 outside the grid or without a grid; otherwise out
    // = stored value x scale and 1 (an invalid node included).
    virtual int GetPixel(LONG column, LONG row, double& out);
    // The elevation at a map point (object unit). -1 outside the bounds (north and east edges are
    // outside) or without a grid; 0 for an invalid node (out untouched); 1 with out set. Nearest
    // (method 0) or bilinear (any other method; an invalid node among the four, or the easternmost
    // column, falls back to nearest). Nearest never reads past the last row or column.
    virtual int GetPixel(double x, double y, double& out, EdInterpolateMethod method);
    virtual int GetPixel(CPoint point, double& out, EdInterpolateMethod method);

    // A new float array (caller frees with delete[]) of count x rows values from column x, row y (from
    // the north), south row first; value x scale, -99999 for invalid nodes. NULL for no grid, an empty
    // block or a block leaving the grid.
    virtual float* GetBlock2(int band, DWORD x, DWORD y, DWORD count, DWORD rows);

    virtual LONG GetInvalidElevation() { return m_lInvalid; }
    virtual LONG GetElevationOffset() { return m_lOffset; }
    virtual LONG GetMaxElevation() { return m_lMax; }
    virtual LONG GetMinElevation() { return m_lMin; }
    virtual void SetMaxElevation(LONG v) { m_lMax = v; }
    virtual void SetMinElevation(LONG v) { m_lMin = v; }
    virtual void SetInvalidElevation(LONG v) { m_lInvalid = v; }
    virtual void SetElevationOffset(LONG v) { m_lOffset = v; }
    // Does nothing: NSDTF-DEM is not written.
    virtual void SaveAsOldFormatDem(CString path);

    double GetRealInvalidElevation() { return GetInvalidElevation() * m_dScale; }
    double GetRealMaxElevation() { return GetMaxElevation() * m_dScale; }
    double GetRealMinElevation() { return GetMinElevation() * m_dScale; }
    double GetResZ() const { return m_dScale; }
    // The northern edge of the bounds.
    int GetMaxY() const { return m_rcBounds.bottom; }
    double GetCellSize() const { return m_RasterParameter.m_dPixelSize; }
    double GetAlfa() const { return m_dAlfa; }
    double GetCompress() const { return m_dCompress; }
    int IsInvalidGiven() const { return m_bInvalidGiven; }
    int IsHZoomGiven() const { return m_bHZoomGiven; }

    // Scale = 1 / hzoom, invalid = invalid, both marked given. 0 and no change for hzoom <= 0.
    int SetHZoomAndInvalidValue(int hzoom, LONG invalid);
    // Every node becomes value.
    void SetPixel(LONG value);
    // Every invalid node takes the minimum.
    void ReplaceInvalidValueWithTheLowestHeight();
    // min and max recomputed over the valid nodes (the empty sentinels when there is none); nothing
    // without a grid.
    void RecalcMinMax();

    // The stored values, band row 0 (south) first, W per row; NULL without a grid. Writing through the
    // pointer changes the grid (call RecalcMinMax and mark the bitmap outdated afterwards).
    LONG* GetNodes() const;

    // The sub-DEM (caller owns it) under the map rectangle r (object unit): round(width / cell) x
    // round(height / cell) nodes from r's north-west corner. Nodes outside this grid are invalid in the
    // result; NULL without a grid, when r does not overlap the grid or the new band cannot be made.
    CGeoDEM* GetBlock(CRect r);
    // Writes the valid nodes of other (same cell size) over this grid where they fall inside it,
    // converting between elevation scales; widens min and max. 1, or 0 when either has no grid or
    // nothing overlaps.
    int Paste(CGeoDEM* other);

    // ---- file formats (GeoDEMFile.cpp) ----

    // Reads base + ".hdr" and base + ".blw" (base = path without its last four characters) into the
    // DEM's geometry and elevation members; without a ".blw", a header holding ULXMAP, ULYMAP (the
    // north-west cell's centre), XDIM and YDIM stands for it. reserved is 0, intelOrder 1 for "I", 0
    // otherwise; bits is the header's NBITS (unchanged when absent). 0 with a message naming the missing
    // file for a missing header, or a missing ".blw" when the header has no placement; 0 without a message
    // for a header without a positive size, a grid too large for one band, or a hzoom <= 0; 0 with a
    // message for PIXELTYPE FLOAT and for edges beyond the 32-bit coordinates.
    int ReadBilInfoFile(CString path, int& reserved, int& intelOrder, UINT& bits);
    // Loads the part of a BIL grid under the map rectangle rect (metres). applyOffset (or a positive
    // header offset) subtracts the offset from valid values; min and max are always those of the valid
    // values read. 0 when the header cannot be read, the data file cannot be opened ("无法打开: "), the
    // rectangle leaves the grid, the band cannot be made or the data is short.
    int LoadBilBlock(CString path, CRect rect, int applyOffset);
    // Writes CNSDTF-DEM text. 0 without a grid (no message). Saves of .grd and BIL files are written
    // beside their targets under temporary names and renamed over them together only when all are
    // complete, so a failed or killed save leaves the previous files whole; a read-only old file is not
    // replaced. A save that fails (the file cannot be made or written, the disk is full) tells the
    // user why ("DEM数据保存失败: <file>: <cause>") and returns 0.
    int SaveAsGrd(CString path);
    // Writes an ARC/INFO BIL triple of nbits (8, 16 unsigned; 32 signed) per value. A ".bil" path (any
    // case) is the data file and the companions go beside it; any other path is the base of all three.
    // 0, with no file made, for other nbits, no grid, or (8 and 16 bits) a valid value or a present
    // invalid value that the unsigned width cannot hold; 0 with the message above when the save fails
    // (the three files are replaced together, as for SaveAsGrd).
    int SaveAsBil(CString path, int nbits);

    // ---- elevation classes and drawing (GeoDEMDraw.cpp) ----

    // Switches class colouring on or off; a change outdates the bitmap.
    void LevelShow(int show);
    int IsLevelShow() const { return m_bLevelShow; }
    // The classes to draw with: one grey class with level show off; the stored classes otherwise (made
    // the nine default classes first when they have no colour).
    CGeoClassificationParameter GetShowParameter();
    // Opens the level dialog (SetDemLevelDialogHook) on a copy of the stored classes; IDOK stores the
    // result and outdates the bitmap (1). Cancelled, or no dialog installed: the classes stay (0).
    int SetLevelParameter();
    // The stored classes (read only).
    const CGeoClassificationParameter& GetLevelParameter() const { return m_LevelParameter; }
    int IsBitmapOutdated() const { return m_bBitmapOutdated; }
    // Draws the grid block (left = first column, top = first row from the north) into target (logical
    // units of dc) in two greys. 0 when the block cannot be extracted, else 1.
    int StretchDEM(HDC dc, RECT* target, RECT* block);
    // Draws an 8-bit grey block (as GetBlock(band, ...) makes) of width x height into the rectangle
    // rect (logical units). 1 drawn, 0 for a bad argument or a failed stretch.
    static int DrawGreyBlock(HDC dc, RECT* rect, const BYTE* bits, int width, int height);
    // The renderer (its output bitmap is valid after a Draw that rebuilt it).
    const CLorrinDll& GetRenderer() const { return m_Renderer; }

    // ---- slope (GradeSlope.cpp) and contours (GeoDEMContour.cpp) ----

    // Steepest-descent slope and direction on a columns x rows grid (< 1: the DEM's size); out receives
    // a new grid the caller owns (NULL without a grid).
    void CalculateGradeSlope(CGradeSlope*& out, int columns, int rows);
    // Drop rate to the lowest neighbour for count x rows nodes from column x, row y (from the north),
    // south row first; -1.0 for invalid nodes and nodes without a lower neighbour. 1, or 0 (out
    // untouched) without a grid or for a block leaving it.
    int GetGradeBlock(int band, DWORD x, DWORD y, DWORD count, DWORD rows, double* out);
    // Traces the contours every interval (real elevation) into layer; see GeoDEMContour.cpp. Returns
    // the number of lines added, or -1 when refused (no grid, an interval below one stored unit, or more
    // than kMaxContourLevels levels between the minimum and maximum elevation, which is said in the
    // message "等高线层数过多: N 层，最多 100000 层，请加大等高距").
    int CreateContour(CGeoVectorLayer& layer, double interval);
    static constexpr int kMaxContourLevels = 100000;

protected:
    CGeoClassificationParameter DefaultLevelParameter(int classes);
    int ReadBilInfoFileImpl(CString path, int& intelOrder, UINT& bits);
    int LoadDemText(FILE* fp, const CString& path);
    int LoadGrdText(FILE* fp, const CString& path);
    int LoadBilData(FILE* fp, const CString& path);
    // Empties the grid and sets the fresh-load members.
    void ResetForLoad(const CString& path);
    void FreeBitmap();
    // The view of band 0 when it holds the whole grid.
    LONG* Nodes() const { return GetNodes(); }

    CDEM m_Placeholder;
    int m_bInvalidGiven = 0;
    int m_bHZoomGiven = 0;
    double m_dReserved = 0.0;
    double m_dScale = 0.1;
    double m_dAlfa = 0.0;
    double m_dCompress = 0.0;
    LONG m_lMax = kDemEmptyMax;
    LONG m_lMin = kDemEmptyMin;
    LONG m_lInvalid = 0;
    LONG m_lOffset = 0;
    int m_bLevelShow = 0;
    int m_bBitmapOutdated = 1;
    CGeoClassificationParameter m_LevelParameter;
    CLorrinDll m_Renderer;
    // Bytes of band data stored in the document that ReadHugeData must skip (the grid came from file).
    unsigned long long m_nSkipHugeBytes = 0;
    bool m_bSkipHugeData = false;
};

// ---- BIL files without loading them (GeoDEMFile.cpp) ----

// The extent of a BIL grid from base + ".hdr" (nrows, ncols) and base + ".blw" (base = path without
// its last four characters; without a ".blw", the header's placement keys as ReadBilInfoFile takes
// them): (x1, y1) the north-west corner, (x2, y2) the south-east one. 0 when a file is missing.
int GetBilRange(CString path, double& x1, double& y1, double& x2, double& y2);
// dx = |world value 1|, dy = |world value 4| (XDIM and YDIM of a header without a ".blw"); 0 when
// neither gives them.
int GetBilResolution(CString path, double& dx, double& dy);
// Header editors: each rewrites base + ".hdr" with the one entry set ("HZoom   %d", "invalidvalue   %d",
// "offset   %d"), replacing the line that holds the key (any case) or appending it, and keeping every
// other line. SetBilHZoom's base is the path without its last four characters; the other two drop a
// trailing ".bil" (exact case), else everything from the last '.', else nothing. 1 on success, 0 when the
// header cannot be opened (message) or, for SetBilHZoom, not written back.
int SetBilHZoom(CString path, UINT value);
int SetBilInvalidElevation(CString path, LONG value);
int SetBilElevationOffset(CString path, LONG value);
