// CGeoRasterObject: the common base of raster map objects (georeferenced images, elevation grids).
//
// A raster object places a grid of pixels on the map. Its bounds (object unit, y up, normalised so that
// the "top" field holds the southern y) cover the grid; their corner (left, top field) is the south-west
// corner of the grid, the base point. Its integer coordinates are relative to an origin in metres: the
// ground position of an object coordinate is origin + that coordinate converted to metres.
//
// Pixel rows live in band buffers (CGeoBandArray), bottom-up (row 0 is the southernmost row), each row
// padded to GetBytesPerRow, a multiple of 4. A boundary polygon, relative to the base point, marks the
// valid part of the grid. Pixel bytes are never part of the record: the host writes them after the
// records (WriteHugeData) and maps them back at load (ReadHugeData).
//
// Record (Serialize), after the accessorial part:
//   raster parameter   32 raw bytes (tagRasterParameter)
//   file name          string: the raster file's path relative to the archive file's folder
//   pixel extent       two 32-bit ints: last column index (width - 1), last row index (height - 1)
//   bytes per row      DWORD
//   bit count          WORD
//   origin x, y        doubles, metres
//   boundary           the polygon line's own record (no class tag)
//   bands              the band array's record (count, then tagged band records)
// Loading makes the file name absolute again. For records stamped below 1.35 the pixel size is recomputed
// as scale * 25.4 / x dpi. A missing raster file does not stop loading. A pixel extent below -1 or of
// 2^31 - 1 (a width or height beyond the int range) raises CArchiveException.
//
// Default names: "栅格对象 " followed by a process-wide counter raised by the default and file
// constructors (the first such object of a process is "栅格对象 1").
#pragma once

#include "core/GeoAccessorialObject.h"
#include "raster/GeoBandData.h"
#include "raster/RasterParameter.h"
#include "vector/GeoPolygonLine.h"

// Resampling kinds of pixel look-ups: 0 nearest, 1 bilinear, 2 cubic convolution.
enum EdInterpolateMethod { INTERPOLATE_NEAREST = 0, INTERPOLATE_BILINEAR = 1, INTERPOLATE_CUBIC = 2 };

class CGeoRasterObject : public CGeoAccessorialObject {
    DECLARE_SERIAL(CGeoRasterObject)

public:
    // Empty grid (extent, bytes per row and bit count 0), empty bounds, the profile's default raster
    // parameter, origin (0, 0), no bands, empty boundary; counter raised, default name.
    CGeoRasterObject();
    // As the default, with rect (normalised unless its size is zero; NULL: empty bounds) as the bounds,
    // then LoadRasterFile(file). During construction that is always this class's own LoadRasterFile,
    // which loads nothing: derived classes load by calling LoadRasterFile afterwards. On success with a
    // rectangle of non-zero size that rectangle is put back as the bounds. Last, DefaultBoundary.
    CGeoRasterObject(tagRECT* rect, CString file);
    // A raster made in memory: width x height pixels of bitCount bits; origin (0, 0); bytes per row
    // ((width * bitCount + 7) / 8 + 3) / 4 * 4; bounds left = x, bottom field (north) = y, right =
    // x + width * pixel size, top field (south) = y - height * pixel size, products truncated toward
    // zero; then DefaultBoundary. Neither raises the counter nor sets a default name; no bands.
    CGeoRasterObject(LONG width, LONG height, int bitCount, int x, int y, tagRasterParameter& parameter);
    // Deep copy of the bands, bit count, pixel extent, bytes per row, raster parameter and origin; the
    // copy's bounds are the source's base point with zero size. The accessorial part is fresh (unit 3,
    // default name, no IDs); file name, modified flag and boundary are not copied.
    CGeoRasterObject(const CGeoRasterObject& other);
    CGeoRasterObject& operator=(const CGeoRasterObject&) = delete;
    // Deletes every band.
    ~CGeoRasterObject() override;

    void Serialize(CArchive& ar) override;

    // ---- overrides ----

    // 0: a raster object has no property page of its own.
    int EditProperties(int nFlag1, int nFlag2, void* pParam) override;
    // The inherited move, then the boundary moved by (requested corner - resulting corner); the layer
    // recalculates its bounds.
    void MoveTo(CRect rect) override;
    // Offsets bounds and boundary by offset (when the object can move); the layer recalculates.
    void Move(CSize offset) override;
    // Handles 1 to 8 clockwise from the north-west corner: 1 (left, bottom field), 2 (centre x, bottom
    // field), 3 (right, bottom field), 4 (right, centre y), 5 (right, top field), 6 (centre x, top
    // field), 7 (left, top field), 8 (left, centre y); halves by integer division. Any other number
    // gives handle 1.
    CPoint GetHandle(int nHandle) const override;
    // Sets the edges of the handle (see GetHandle) to the point without renormalising; the boundary
    // stays. Nothing when CanMoveHandle refuses or the number is outside 1 to 8. The layer recalculates.
    void MoveHandleTo(int nHandle, CPoint point) override;
    // "栅格对象 " + the instance counter.
    void DefaultObjectName() override;
    // Only a Gauss transformer is acted on: the base point's ground position is mapped, the origin
    // follows it (snapped down to a multiple of 1 000 000 m when the mapped coordinate exceeds it, unless
    // the transformer carries an east input offset above 1.0) and the raster is moved by the rest. The
    // two doubles are not used.
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;

    // ---- virtual operations added here ----

    // Loads the raster file; the base loads nothing and returns 1.
    virtual int LoadRasterFile(CString path);
    // The boundary becomes the rectangle (0, 0), (W, 0), (W, H), (0, H) of the bounds' size, in the
    // object's unit.
    virtual void DefaultBoundary();
    // The map position of a pixel (column, row counted from the south edge): column * pixel size + left,
    // row * pixel size + top field, truncated, converted from the object's unit to unit.
    virtual CPoint GetWhereFromRaster(int unit, CPoint pixel);
    // The pixel under a ground position; the base has none and returns (-1, -1).
    virtual CPoint GetRasterPoint(double x, double y, EdInterpolateMethod method);
    // The pixel (column, row from the south edge) of a map point given in unit: the point converted to
    // the object's unit, less the base point, divided by the pixel size, truncated toward zero (so -0.5
    // pixel gives 0).
    virtual CPoint GetRasterPoint(int unit, CPoint point);
    // 0 (outputs untouched) when the boundary has fewer than 3 points; else base = the base point, out =
    // a copy of the boundary with its style, and 1.
    virtual int GetRasterBoundary(CPoint& base, CGeoPolygonLine& out);

    // A new band (owned by the caller) of rows rows of rowBytes bytes (each padded to a multiple of 4),
    // cut from band at byte x of a row and y rows below the northern edge; bottom-up like the source.
    // NULL when the band is missing or has no bytes, when the block leaves the grid (x + rowBytes >
    // bytes per row, y + rows > height, or beyond the band's length), when rowBytes or rows is 0, or when
    // the temporary band cannot be made.
    virtual CGeoBandData* GetBlock(int band, DWORD x, DWORD y, DWORD rowBytes, DWORD rows);
    // The same block of every listed band, pixel-interleaved in list order (byte i + j * row length +
    // k * count for band i, row j, pixel k; row length = pixelsPerRow * count padded to 4). NULL on the
    // failures above, for a NULL list or a count below 1.
    virtual CGeoBandData* GetBlock(DWORD x, DWORD y, DWORD pixelsPerRow, DWORD rows, int* bandIndexes, int bandCount);
    // Empties out (deleting its bands) and fills element i with the one-band GetBlock (first + i, ...);
    // count 0 means every band from first on. Returns the number of blocks made (elements that failed
    // stay NULL).
    virtual int GetBlock(DWORD x, DWORD y, DWORD pixelsPerRow, DWORD rows, CGeoBandArray& out, int firstBand,
                         int bandCount);
    // Forward to the band array (GeoBandData.h); each returns the number of bands.
    virtual int ReadHugeData(CFile* file);
    virtual int ReleaseHugeData();
    virtual int WriteHugeData(CFile* file);

    // ---- operations ----

    // Stores p and resizes the bounds from the south-west corner: width / x dpi * 2.54 * scale
    // centimetres (2.54 in single precision) by the same for the height, + 0.5, truncated, converted to
    // the object's unit. Then the layer recalculates and OnSetRasterParameter(p) runs.
    void SetRasterParameter(tagRasterParameter p);
    // MoveTo with a zero-size rectangle at the point: moves the bounds, keeps their size.
    void SetBasePoint(CPoint point);
    // MoveOrigin by the difference when either coordinate differs; otherwise nothing.
    void ChangeOrigin(double x, double y);
    // Origin += (dx, dy) metres, bounds moved the other way (converted to the object's unit, truncated)
    // so the raster keeps its ground position; then OnOriginChanged(old x, old y).
    void MoveOrigin(double dx, double dy);
    // Takes line (offset by offset, in its own unit) as the boundary when it lies wholly inside the
    // bounds: the boundary becomes a copy with the line's style, moved to be relative to the base point,
    // in the line's unit; 1. Otherwise 0 and nothing changes.
    int SetRasterBoundary(CPoint offset, const CGeoPolygonLine& line);

    CString GetFileName() const { return m_strFileName; }
    int IsModified() const { return m_bModified; }
    void Modified(int bModified) { m_bModified = bModified; }
    DWORD GetBytesPerRow() const { return m_dwBytesPerRow; }
    int GetNumberOfBands() const { return static_cast<int>(m_BandArray.GetSize()); }
    CGeoBandArray& GetBandArray() { return m_BandArray; }
    WORD GetBitCount() const { return m_wBitCount; }
    LONG GetWidth() const { return m_ptExtent.x + 1; }
    LONG GetHeight() const { return m_ptExtent.y + 1; }
    tagRasterParameter GetRasterParameter() const { return m_RasterParameter; }
    CGeoPolygonLine* GetGeoBoundary() { return &m_Boundary; }
    void GetOrigin(double& x, double& y) const { x = m_dOriginX; y = m_dOriginY; }
    // Sets the two fields and nothing else.
    void SetOrigin(double x, double y) { m_dOriginX = x; m_dOriginY = y; }
    CPoint GetBasePoint() const { return CPoint(m_rcBounds.left, m_rcBounds.top); }

protected:
    // Notifications for derived classes; empty here.
    virtual void OnSetRasterParameter(tagRasterParameter p);
    virtual void OnOriginChanged(double dOldX, double dOldY);
    // Asks the raster layer holding the object, if any, to recalculate its bounds.
    void NotifyLayerBoundsChanged();

    CString m_strFileName;
    tagRasterParameter m_RasterParameter;
    CPoint m_ptExtent{0, 0};  // last column, last row
    int m_bModified = 0;
    double m_dOriginX = 0.0;
    double m_dOriginY = 0.0;
    CGeoBandArray m_BandArray;
    CGeoPolygonLine m_Boundary;
    DWORD m_dwBytesPerRow = 0;
    WORD m_wBitCount = 0;

    // Raised by the default and file constructors; never lowered.
    static int s_nRasterCount;
};
