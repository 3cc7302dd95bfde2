// CGeoImage: a georeferenced image on the map.
//
// A raster object whose pixels live in a bitmap (CNewDIB, rows bottom-up) instead of bands. It is bound
// to an image file whose path the record keeps relative to the archive, takes its placement from a
// GeoTIFF model transformation, draws itself, and carries the lists that rectification and mosaicking
// work on: control points (CGeoGCPoint), a second control-point list that is only stored, and two lists
// of mosaic lines (CGeoMosaicPLine, each a CGeoVectorObject). The image owns every object of the four
// lists.
//
// Pixel positions: x from the left column, y from the bottom row; control points keep theirs in
// tenths of a pixel. Bounds are in the object's unit with the "top" field holding the south edge.
//
// Record (after the raster record, CGeoRasterObject.h):
//   stored int          32-bit int, only in records stamped above 1.0
//   four lists          each in the class library's list form, in this order: drawn mosaic lines,
//                       control points, second control points, mosaic lines
// Storing an image that has no file name asks for one (a save-file dialog); storing a modified image
// writes its bitmap to that file first (replacing the file only once the new one is complete). Loading
// looks for the image file at the stored path, then by its bare name in the current folder, then as the
// archive's own path with ".tif"; a missing file leaves the image empty, its file name kept (an image
// layer names the file to the user). Storing fails (CUserException, after telling the user) while
// partial loading is on, when the user cancels the file dialog, and when the bitmap cannot be written
// ("图像文件保存失败: <file>" and the cause): a host that saves through a temporary file keeps its old
// file.
//
// Partial loading (process-wide): after SetPartialRectInSerialize the next image loaded shifts its
// control points and mosaic points to the pixel rectangle of the given map rectangle, then the mode ends.
#pragma once

#include "raster/GeoGCPoint.h"
#include "raster/GeoMosaicPLine.h"
#include "raster/GeoRasterObject.h"

#include <brisca/NewDIB.h>

class CGeoHistogram;
class CGeoMosaicPLine;

// A pixel window for Match: one pointer per row (the caller owns rows and pixels), 8 or 24 bits; the
// offsets place the window's first pixel in its image. Match turns 24-bit rows to grey in place.
struct StGeoImageBuf {
    BYTE** pRows;
    int nBitCount;
    int nXOffset;
    int nYOffset;
    int nWidth;
    int nRows;
};

class CGeoImage : public CGeoRasterObject {
    DECLARE_SERIAL(CGeoImage)

public:
    // The raster defaults with an empty bitmap and empty lists.
    CGeoImage();
    // The raster constructor with rect and file; the file is not read (call LoadRasterFile).
    CGeoImage(tagRECT* rect, CString file);
    // An image made in memory: the raster constructor of that signature and a zero-filled bitmap of
    // width x height pixels of bitCount bits (1, 4, 8 or 24). A bitmap that cannot be made (over 2 GB,
    // no memory, a bad size or depth) is said in a message and leaves an image with no pixels, an extent
    // of -1 x -1 and bounds of zero size at (x, y).
    CGeoImage(LONG width, LONG height, int bitCount, int x, int y, tagRasterParameter& parameter);
    CGeoImage(const CGeoImage&) = delete;
    CGeoImage& operator=(const CGeoImage&) = delete;
    // Deletes the objects of the four lists (second control points detached from their layer first).
    ~CGeoImage() override;

    void Serialize(CArchive& ar) override;

    // ---- overrides ----

    // The image property dialog (name, dpi, scale; raster/RasterDialogHooks.h): 1 when the user confirmed
    // a change, which is then applied (a new raster parameter through SetRasterParameter, the name through
    // SetObjectName); 0 after a cancel, without a change, or when no dialog is installed.
    int EditProperties(int nFlag1, int nFlag2, void* pParam) override;
    // Only when the image can move. A zero-size rect moves the bounds' corner there (boundary follows);
    // a rect of zero width or zero height does nothing; otherwise the boundary is cleared, the pixel
    // extent is computed from the new size (object unit -> cm, / scale / 2.54 * dpi, floor) and, when the
    // size changed, the bitmap is resized to extent + 1 pixels keeping its bottom-left pixels and filling
    // with the layer's background colour (white without a layer); a failed resize keeps the old extent.
    // The bounds become rect, normalised.
    void MoveTo(CRect rect) override;
    // Reads the file (BMP or TIFF). 0 when it cannot be read (nothing changes). The file name becomes
    // path and the extent the bitmap's; a path ending in "tif" (any case) with a usable GeoTIFF model
    // transformation sets the pixel size (mm), both dpi and the origin (metres, multiples of 1 000 000)
    // and the bounds' corner (mm). A transformation whose pixel size is not positive, or that turns or
    // flips the image, is ignored like a missing one; one whose bounds would leave the 32-bit
    // coordinates is ignored too, with a message. Then RecalcBounds; 1.
    int LoadRasterFile(CString path) override;

    // ---- image operations ----

    // The loading of Serialize that shifts the point lists into the pixel rectangle GetRasterRect(r, unit)
    // and ends partial loading. Storing is refused: message "不支持局部图像的存储动作", CUserException.
    // Partial loading ends on every way out, a refused store and a damaged record included.
    virtual void PartialSerialize(CArchive& ar, CRect r, int unit);
    // Writes the bitmap (format by extension); on success the file name becomes path; 1, else 0.
    virtual int SaveRasterFile(CString path);
    // 1 at once when path is the current file name; else 1 when the bitmap accepts it as a name it can
    // save to (the image's file name becomes path and the image is marked modified), 0 otherwise.
    virtual int SetRasterFileName(CString path);
    // Draws the visible part of the bitmap stretched onto its device rectangle, then the boundary in red
    // and the drawn mosaic lines. Device mapping as CGeoObject::RPtoLP with scale, origin and offset; the
    // boundary (kept relative to the base point) is placed at the base point. Nothing is drawn for an
    // image in no layer, with an empty bitmap, or outside clip (NULL: no clipping). The int is not used.
    virtual void Draw(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset, int nFlag);
    // Draws nothing.
    virtual void Hide(CDC* pDC, RECT* clip, UINT scale, CPoint origin, int nFlag);

    // Size in mm = (extent / dpi * 25.4 (single precision) * scale + 0.5) truncated, converted to the
    // object's unit; right = left + cx, north = south + cy.
    void RecalcBounds();
    // File name from the bitmap, extent = bitmap size - 1, size in cm = extent / dpi * 2.54 * scale
    // truncated, converted to the object's unit; right and north follow.
    void RefreshRasterFact();

    CNewDIB* GetDIB() { return &m_DIB; }
    // The bitmap's bit count (0 when empty); the raster record's field is CGeoRasterObject::GetBitCount.
    int GetBitCount() const { return m_DIB.GetBitCount(); }
    CTypedPtrList<CObList, CGeoGCPoint*>* GetGCPoints() { return &m_GCPoints; }
    // The control-point list as well (not the second list).
    CTypedPtrList<CObList, CGeoGCPoint*>* GetSamePoints() { return &m_GCPoints; }
    CTypedPtrList<CObList, CGeoGCPoint*>* GetSecondGCPoints() { return &m_SecondGCPoints; }
    // Lists of CGeoMosaicPLine objects.
    CObList* GetMosaicPLines() { return &m_MosaicPLines; }
    CObList* GetDrawnMosaicPLines() { return &m_DrawnMosaicPLines; }

    // ---- the mosaic-line network ----

    CTypedPtrList<CObList, CGeoMosaicPLine*>* GetMosaicLines() { return &m_MosaicPLines; }
    // 1 when the mosaic lines with more than one vertex join into a ring by their node names (exact
    // names; each step joins the first line, other than the one joined last, whose head or else tail
    // meets the open end). The lines in joining order go into chain when given.
    int IsMosaicLinesClosed(CTypedPtrList<CObList, CGeoMosaicPLine*>* chain);
    // A new closed line (the caller deletes it) of the ring's mosaic points, junctions after the first
    // line repeated; without mosaic lines the frame of the four pixel corners. NULL when the lines do not
    // close.
    CGeoMosaicPLine* GetUnionMosaicLine();
    // The union line becomes the raster boundary, then the raster object's answer; 0 without one.
    int GetRasterBoundary(CPoint& origin, CGeoPolygonLine& boundary) override;
    // The first drawn mosaic line Equal to line; NULL when none.
    CGeoMosaicPLine* GetMatchedMosaicLine(CGeoMosaicPLine* line);
    // The first pair of equal lines (mine with at least two vertices) with both ends moved to the means
    // of the two lines' ends: 1; 0 and NULLs when none.
    int GetTheFirstMatchedMosaicLine(CGeoImage* other, CGeoMosaicPLine*& mine, CGeoMosaicPLine*& theirs);
    // The mosaic point nearest (x, y) by pixel or by map position (the first of equals): its vertex,
    // pixel and map position, and the head / tail name at the ends (empty inside). 0 without lines; 1
    // otherwise.
    int GetNearestMosaicNode(double x, double y, CPoint& vertex, double& px, double& py, double& e, double& n,
                             CString& name, int byPixel);
    // The same by polyline vertex against a point given in unit (compared in millimetres relative to the
    // image's corner).
    int GetNearestMosaicNode(CPoint pt, UINT unit, CPoint& vertex, double& px, double& py, double& e, double& n,
                             CString& name);
    // Normalised cross-correlation of the template over every placement in the window (64-bit sums):
    // the best positive coefficient r (0 when none) and the centre of that placement in the window's
    // image. 0 when the bit counts differ or are not 8 or 24, or the template does not fit.
    static int Match(StGeoImageBuf& tmpl, StGeoImageBuf& window, double& mx, double& my, double& r);
    // A tw x th template of other around pixel (x, y) searched in the sw x sh window of this image
    // around (cx, cy). 0 for different or unusable bit counts, a window smaller than the template or
    // one that leaves the image.
    int Match(CGeoImage* other, double x, double y, int tw, int th, int cx, int cy, int sw, int sh, double& mx,
              double& my, double& r);
    int GetStoredInt() const { return m_nStored; }

    // Pixels (x from the left, y from the bottom). Index: -1 outside or for 24-bit images.
    int GetPixelValue(int x, int y) const { return m_DIB.GetPixelIndex(x, y); }
    int SetPixelValue(int value, int x, int y);
    DWORD GetPixel(int x, int y) const { return m_DIB.GetPixelRGB(x, y); }
    int SetPixel(DWORD rgb, int x, int y);
    // By ground position through GetRasterPoint (double, double, method), which images do not provide:
    // getters answer -1 and setters 0.
    int GetPixelValue(double x, double y, EdInterpolateMethod method);
    int SetPixelValue(int value, double x, double y, EdInterpolateMethod method);
    DWORD GetPixel(double x, double y, EdInterpolateMethod method);
    int SetPixel(DWORD rgb, double x, double y, EdInterpolateMethod method);

    // Partial loading: the next loaded image is cut to r (unit). EndPartialRectInSerialize ends it.
    static void SetPartialRectInSerialize(CRect r, int unit);
    void EndPartialRectInSerialize();
    static int IsPartialImage() { return def_bPartialImage; }
    // The partial-loading state itself, process-wide: in force (0 or 1), the map rectangle and its
    // unit. Set through the two functions above; shared by every thread, so partial loads must not
    // overlap.
    static int def_bPartialImage;
    static CRect def_rectPartial;
    static int def_nUnit;
    // r (unit) cut to the bounds, as pixel positions with rows from the south edge (truncated); (0, 0,
    // 0, 0) when they do not meet.
    CRect GetRasterRect(CRect r, int unit);

    // ---- polynomial rectification (the model over the control points; see raster/Polynomial.h) ----

    // The richest kind up to k that the number of control points allows (MatchPolynomialKind).
    int MatchNewlyFormula(int k);
    // Fits both directions into the caller's arrays (sized for the matched kind): 1, or 0 for kind 0 or a
    // failed fit.
    int CalcCoef(int kind, double* mapToPixel, double* pixelToMap);
    // Evaluates map-to-pixel coefficients at (x, y) into (X, Y); x and y above 100 000 are divided by 4000
    // first. 0 when the matched kind is 0.
    int Calculate(double* coef, int kind, double x, double y, double& X, double& Y);
    // The same for the kind as given, with the terms free of x supplied per row (RowConstants); 0 for 0.
    int CalculateFast(double* coef, int kind, double x, double y, double& X, double& Y, double rowX, double rowY);
    // The terms free of x of a map-to-pixel model at y, for CalculateFast.
    static void RowConstants(const double* coef, int kind, double y, double& rowX, double& rowY);
    // Ground -> pixel and pixel -> ground through a fresh fit; 0 when no kind is usable or the fit fails.
    int MapCoordToImageCoord(int kind, double X, double Y, double& x, double& y);
    int ImageCoordToMapCoord(int kind, double& X, double& Y, double x, double y);
    // Residuals of the pixel-to-map fit into the control points (X, Y, distance) and their rms (ground
    // units, divided by n - m/2 degrees of freedom; 0 for an exact fit). 0 for kind 0, a failed fit or
    // fewer points than half the coefficients.
    int Accuracy(int kind, double& rms);
    // The value at fractional offsets (dx, dy) in [0, 1): bilinear over 4 bytes ((0,0), (1,0), (0,1),
    // (1,1)) or cubic convolution (a = -1) over 16 bytes (row-major from (-1, -1)); rounded and clamped
    // to 0..255. 0 for another method.
    static BYTE Interpolate(double dx, double dy, const BYTE* p, int method);
    // Rectifies the image into a new north-up image (owned by the caller) covering extent (left, right
    // west and east, top north, bottom south; ground units) with pixels of p ground units. Nearest works
    // for 1, 4, 8 and 24 bits, bilinear and cubic for 8 and 24. Progress to the main window: 1224 with
    // "整体纠正中...", 1225 per row (percent), 1226 at every end. The control points are not changed.
    // 0 (result NULL) for no usable kind, a pixel size <= 0, an empty extent or a failed fit.
    int Resample(int kind, CString name, CGeoImage*& result, CRect extent, double p, EdInterpolateMethod method);

    // ---- TIN rectification (a triangulation of the control points, one affine per triangle) ----

    // Rectifies the part of the image inside frame (map units: left/right west and east, top north,
    // bottom south, top > bottom) into a new north-up image of cell-sized pixels (the caller deletes
    // it). corners holds at least the four frame corners as control points (map X, Y and pixel point);
    // the first four of them, fitted bilinearly, give the map quadrilateral of the source's pixel
    // corners, outside which the output is 0. The image's control points along the frame's edges are
    // carried out to the source's edges, all of them are triangulated, and each output pixel is sampled
    // through the affine of its triangle (bilinear for 8 bits when interpolate != 0). The points added
    // for this are removed again on every exit. Progress 1224 "分格网精纠正中...", 1225 per row, 1226.
    // 0 (out NULL) for: fewer than four corner points or a frame quadrant without one (message
    // "图廓点不全!"), cell <= 0 or an empty frame, an empty image, a failed fit, no triangulation or
    // no memory for the output. The name is not used.
    int PartialReSample(CString name, CGeoImage*& out, CRect frame, double cell,
                        CTypedPtrList<CObList, CGeoGCPoint*>* corners, int interpolate);
    // Replaces the control points by eight that pin mapRect (map units) to pixelRect (source pixels,
    // y from the bottom) and the bounds' corners to the pixel corners, resamples the whole bounds at
    // the ground pixel size into a new north-up image (unit metre; the caller deletes it) and deletes
    // the eight again: the image ends with NO control points. Progress 1224 "接边处理中...", 1225, 1226.
    // 0 (out NULL, control points untouched) for a ground pixel size <= 0, empty bounds or an empty
    // image; 0 (control points gone) when no triangulation or output can be made.
    int ReSample123(CGeoImage*& out, CRect mapRect, CRect pixelRect, int interpolate);

    // ---- radiometric balancing near the seams (8 bits unless stated; in place, modified mark kept) ----
    // Rows count from the image's northern edge, columns from its western edge. Lines of positions 1 and
    // 3 (the image lies east of or south of the seam) are corrected; the others are skipped. Extents
    // stored with a line (its standard histogram's) are cut to the image first; an extent that misses
    // the image is skipped.

    // h = the histogram of rows top..bottom and columns left..right (both included, cut to the image):
    // one band, 256 levels, cumulative frequencies built. 1; 0 (h untouched) for an image that is not 8
    // bits or an extent that misses it.
    int CreateHistogram(int top, int left, int bottom, int right, CGeoHistogram& h);
    // Maps each corrected line's strip onto its stored standard histogram with a look-up table of kind
    // (0 mean shift, 1 stretch, 2 cumulative), fully over the first two thirds of the strip away from the
    // seam and blended back to the original over the last third. Lines whose table cannot be built are
    // skipped. 1.
    int ResampleByHistogram(int kind);
    // Smooths across the seam with the CGeoPLineBuffer tables of buffers (side 0: the seam's column per
    // row; side 2: its row per column), halfWidth pixels each side. mode 0 / 1: three-pixel means
    // (1 alternates the order of the two sides per seam pixel), 2 / 3: two-pixel means, other: the seam
    // pixel and its neighbour averaged first; mode + 100 first moves the seam pixel one step to the
    // west / south where it differs from that side by more than 10 less than from the other. Seam
    // positions closer than halfWidth + 2 to an image edge are left alone. The number of tables of side
    // 0 or 2 processed (0 for an empty list).
    int ResampleByPLineBuffer(CObList& buffers, int halfWidth, int mode);
    // Feathers the corrected side of each line of lines (CGeoMosaicPLine; positions 1 first, then 3)
    // toward the neighbour's pixels held in the line's reference buffer, over at most maxWidth pixels
    // from the seam, with a ragged edge (random, reseeded from the clock at every call: AfxSRandFromClock)
    // so that no straight step shows. 8 and 24 bits; reference pixels 0 (no data) leave the image pixel
    // as it is. 1; 0 (nothing changed) when the ground pixel size is not positive.
    int ResampleByReferenceBuffer(CObList& lines, int maxWidth);
    // The same over the image's mosaic lines.
    int ResampleByReferenceBuffer(int maxWidth);
    // Wallis balancing of the whole bitmap toward mean and deviation (Virdun ShellWallis, status
    // "匀色处理..."), leaving margins.left / top / right / bottom columns and rows at the edges alone (all
    // zero: the whole image). Its result; 0 for an image without rows.
    int Wallis(double mean, double deviation, CRect margins);
    // Per corrected line: Virdun ShellTransitionWallis over the line's histogram extent toward the
    // stored means and spreads, the seam at the strip's west (position 1) or north (3) edge. 1.
    int WallisRegion();

    // ---- seam resampling and invalid-area fill (through a triangulation over the seam) ----
    // The seam network's vertices are mosaic points: map position (E, N), pixel position the mosaic
    // point's rounded pixel x and y (whatever flag an earlier terrain build left). With line NULL the
    // network runs over the union of the image's mosaic lines, otherwise over line closed with the
    // image corners of position's side; boundary and base receive the image's raster boundary.

    // A new image (the caller deletes it) of the image's bit count, raster parameter and colour table over
    // extent (object units, left/right west and east; all zero: the image's bounds) at the ground pixel
    // size: pixels inside the boundary are sampled through the seam network, the rest are 0; 8-bit samples
    // of 0 are written as 1, so that 0 only marks what lies outside. Progress 1224 "接边处理中...", 1225,
    // 1226. 0 (out NULL) for a pixel size <= 0, an empty extent, an empty image or no network.
    int ReSampleB(CGeoImage*& out, CGeoPolygonLine& boundary, int interpolate, double width, CRect extent,
                  EnumImagePosition position, CGeoMosaicPLine* line);
    // Balances this image (ResampleByHistogram(0)), then writes it into mosaic, an existing image of the
    // same bit count, inside the seam boundary: the mosaic pixels there take this image's samples
    // (nearest); outside the network they become 0; a sample off this image leaves them. For 8 bits a
    // sample 0 keeps a mosaic pixel that has a value and otherwise takes the mean of the non-zero
    // source pixels around it (3 x 3, else 5 x 5, 7 x 7, 9 x 9). Only pixels of the mosaic's bitmap are
    // written. Progress 1224 "接边、拼图处理中..." and again with "(name) index + 1 Of count", 1225, 1226.
    // 0 for no mosaic, different bit counts, a mosaic pixel size <= 0 or no network.
    int ReSampleMosaic(CGeoImage*& mosaic, CGeoPolygonLine& boundary, int index, int count, int, double width,
                       CRect, EnumImagePosition position, CGeoMosaicPLine* line);
    // Paints the triangles of the mosaic lines' network that touch the image's west or east edge (a vertex
    // E within 0.1 of it): 0 when clear != 0, else all ones (255, white, or every bit). Only pixels of the
    // bitmap are written. The network is also written as DXF, "tin.dxf" in the debug folder. 1; 0 for no
    // network or a pixel size <= 0.
    int FillInvalidArea(CTypedPtrList<CObList, CGeoMosaicPLine*>& lines, int clear);
    // The same over the network of the control points (map X, Y), without DXF.
    int FillInvalidArea(CTypedPtrList<CObList, CGeoGCPoint*>& points, int clear);
    // Where FillInvalidArea writes its DXF (GBK path); the default, an empty string, is the temporary
    // folder ($TMPDIR, else /tmp).
    static void SetDebugFolder(const CString& folder);
    static CString GetDebugFolder();

    // ---- block transfer and direct pixel/map conversion ----

    using CGeoRasterObject::GetBlock;
    // Copies the overlap of other into this bitmap; the bitmap library's result. 0 for different bit
    // counts or no overlap.
    int GetBlock(CGeoImage* other);
    // Copies the overlap of this image into other's bitmap; 1 once the copy was asked for (whatever the
    // bitmap library answers), 0 for different bit counts or no overlap.
    int PutBlock(CGeoImage* other);
    // The map rectangle (object unit) of a pixel rectangle (rows from the south edge), truncated.
    CRect GetGeoPositionByPixel(CRect pixels);
    // Proportional pixel <-> ground (metres through the origin); 1 inside (both edges included), else 0
    // with the outputs untouched.
    int ImageCoordToMapCoordDirect(double& X, double& Y, double x, double y);
    int MapCoordToImageCoordDirect(double X, double Y, double& x, double& y);

protected:
    void OnSetRasterParameter(tagRasterParameter p) override;
    // The bitmap library's block copies with (other bitmap, position there, position here, size).
    int GetBlock(CNewDIB* other, int a, int b, int c, int d, int w, int h);
    int PutBlock(CNewDIB* other, int a, int b, int c, int d, int w, int h);

private:
    // Looks for the image file as loading does; returns the path read (empty when none was found).
    CString FindAndReadImage(CArchive& ar, bool adoptName);
    void SerializeLists(CArchive& ar);
    // Partial loading: moves the pixel positions of one mosaic line by (-dx, -dy).
    void OnPartialShiftMosaicLine(CObject* line, int dx, int dy);
    // The control points as point records (pixel x, pixel y, X, Y), pixels from tenths.
    int GetPointRecords(double*& records);

    CNewDIB m_DIB;
    CTypedPtrList<CObList, CGeoMosaicPLine*> m_DrawnMosaicPLines{10};
    CTypedPtrList<CObList, CGeoMosaicPLine*> m_MosaicPLines{10};
    CTypedPtrList<CObList, CGeoGCPoint*> m_GCPoints{10};
    CTypedPtrList<CObList, CGeoGCPoint*> m_SecondGCPoints{10};
    int m_nStored = 1;

};
