// CGeoMosaicPLine: a seam line on an image that is to be joined with its neighbours into a mosaic.
//
// A polyline whose vertex i is paired with mosaic point i: the pixel position in the image (x from the
// left, y from the bottom row) and the map position (E, N in the line's unit). Its ends are named nodes;
// lines that meet share names. The image side (EnumImagePosition) says where the owning image lies;
// the line carries that side's standard histogram and reference strip. Editing keeps vertex and mosaic
// point together and never moves the end nodes. Layers never delete a mosaic line.
//
// Record (after the polyline record): DWORD n, n x (double E, N, pixel x, pixel y), head name, tail
// name, DWORD image position, the standard histogram's record, the reference buffer's record. More
// mosaic points than the archive can hold raise CArchiveException.
#pragma once

#include "raster/GeoHistogram.h"
#include "raster/GeoMosaicReferenceBuffer.h"
#include "raster/RasterParameter.h"
#include "vector/GeoPLine.h"

#include <vector>

class CGeoImage;

struct stMosaicPoint {
    double x;  // pixel column
    double y;  // pixel row from the bottom
    double E;  // map easting, line unit
    double N;  // map northing, line unit
};

// Where the owning image lies relative to the seam: 0 west (supplies the strip east of the seam),
// 1 east (corrected), 2 north (supplies the strip south of it), 3 south (corrected), 4 none.
enum EnumImagePosition { IMAGE_WEST = 0, IMAGE_EAST = 1, IMAGE_NORTH = 2, IMAGE_SOUTH = 3, IMAGE_NONE = 4 };

// The reference side that corresponds to a corrected side: 1 -> 0, 3 -> 2, otherwise 4.
int ReferenceSideOf(int position);

class CGeoMosaicPLine : public CGeoPLine {
    DECLARE_SERIAL(CGeoMosaicPLine)

public:
    CGeoMosaicPLine();
    // Room for n vertices, none set; n zeroed mosaic points.
    explicit CGeoMosaicPLine(int n);
    // The polyline of the n points; n zeroed mosaic points.
    CGeoMosaicPLine(int n, tagPOINT* points, int);
    // n mosaic points: pixel = points[i] / s, map = pixel * ground pixel size (p.m_dPixelSize) + offset;
    // the vertices are the truncated pixel positions.
    CGeoMosaicPLine(int n, tagPOINT* points, double s, double eOff, double nOff, tagRasterParameter p);
    // The vector part, the mosaic points, the closed flag, the side and the reference buffer; not the
    // names nor the histogram.
    CGeoMosaicPLine(CGeoMosaicPLine& src, int copyAttributes, int attributeMode);
    ~CGeoMosaicPLine() override;

    void Serialize(CArchive& ar) override;

    int GetMosaicPoints() const { return static_cast<int>(m_MosaicPoints.size()); }
    std::vector<stMosaicPoint>& GetMosaicPointArray() { return m_MosaicPoints; }
    int GetImagePosition() const { return m_nImagePosition; }
    void SetImagePosition(int position) { m_nImagePosition = position; }
    CGeoStandardHistogram* GetStandardHistogram() { return &m_StandardHistogram; }
    CGeoMosaicReferenceBuffer* GetReferenceBuffer() { return &m_ReferenceBuffer; }
    CString GetHeadNodeName() const { return m_strHead; }
    CString GetTailNodeName() const { return m_strTail; }
    void SetHeadNodeName(CString name) { m_strHead = name; }
    void SetTailNodeName(CString name) { m_strTail = name; }
    int SetClosedFlag(int closed);
    int IsClosed() const { return m_bClosed; }
    int SetFocusNode(int index);
    int GetFocusNode() const { return m_nFocusNode; }
    double GetMapE(int i) const { return m_MosaicPoints[i].E; }
    double GetMapN(int i) const { return m_MosaicPoints[i].N; }
    // Pixel position of mosaic point i, + 0.5 truncated (what a triangulation sees).
    int GetX(int i) const override;
    int GetY(int i) const override;
    // Stores r.top, r.bottom, r.left, r.right as the histogram's extent.
    void SetGeoStandardHistogram(CRect r);
    // Overwrite the map position of the first / last mosaic point: 1, or 0 without mosaic points.
    int SetHeadNodeCoordinate(double e, double n);
    int SetTailNodeCoordinate(double e, double n);
    // Extent of the map positions; init starts from point 0, otherwise the values are widened. 0 without
    // mosaic points.
    int GetMapExt(double& minE, double& minN, double& maxE, double& maxN, int init);
    // New array (delete[] by the caller) of (pixel x * k, pixel y * k), truncated.
    POINT* GetPixelPoints(double k) const;
    // Both names set and equal with exactly one mosaic point.
    int IsMosaicNode() const;
    // Same names (in direction) and inner map points within 0.001; ends compare by name only. 0 when
    // either of this line's names is empty.
    int Equal(CGeoMosaicPLine* other) const;

    // Appends vertex (px, py) truncated; the mosaic point follows when the polyline took the vertex.
    void AddPoint(double px, double py, double e, double n);
    using CGeoPLine::AddPoint;
    // Appends vertex and mosaic point; head = tail = name after the first, then tail = name unless name
    // is the head's. 1 when the polyline took the vertex, else 0.
    int AddMosaicPoint(tagPOINT pt, stMosaicPoint mp, CString name);
    // Appends other's mosaic points (not vertices) except the last skip (reverse: from the last down to
    // index skip). The number appended.
    int Append(CGeoMosaicPLine* other, int reverse, int skip);
    // Inserts vertex and mosaic point where FindInsertIndex says; the index or -1.
    int InsertMosaicPoint(tagPOINT pt, UINT scale, stMosaicPoint mp, int byX);
    // -1 near any node (handle radius at scale); else the first segment whose x (byX) or y range holds
    // pt strictly gives its second vertex's index; -1 when none does.
    int FindInsertIndex(tagPOINT pt, UINT scale, int byX);
    // Inner vertices only (0 < i < count - 1).
    void MoveMosaicPointTo(int i, tagPOINT pt, stMosaicPoint mp);
    void RemoveMosaicPointAt(int i);
    // The node (from the last handle down) whose handle square holds pt; -1 when the line has at most two
    // vertices or none does.
    int FindInnerNodeIndex(CPoint pt, UINT scale);
    // Empty line, no mosaic points, no names, no focus node.
    void ResetMosaicPLine();
    // Every vertex from its map position in the image's object space: E in the image's unit less the
    // image's origin and base point, + 0.5 truncated.
    void ResetPixelCoord(CGeoImage* image);
    // Moves every mosaic point's pixel position by (-dx, -dy) (partial loading).
    void ShiftPixels(double dx, double dy);

    // One TIN vertex per mosaic point at the cursor: number = its index, this line as body, distance =
    // squared distance of (GetX, GetY) from centre; the cursor advances. The number of mosaic points.
    LONG CreateTinPoints(CGeoTinPoint*& cursor, CPoint& centre) override;
    // The number of mosaic points, which is what CreateTinPoints writes (Append adds mosaic points
    // without vertices, so the vertex count may be smaller).
    LONG GetTinPointNumber() const override { return GetMosaicPoints(); }
    // The read-only property dialog (raster/RasterDialogHooks.h): 1 when closed with OK; nothing is
    // written back. 0 when no dialog is installed.
    int EditProperties(int nFlag1, int nFlag2, void* pParam) override;
    // Crosses at the nodes, segments between them, the focus node's larger cross in the complement of
    // the point colour, and the end names (shortened) in red.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;

    // The name as drawn: more than 6 bytes -> ".." + the part after the last '_' or the last 4 bytes
    // (never starting on the trail byte of a double-byte character).
    static CString ShortNodeName(const CString& name);

private:
    void RebuildSegments() { m_ReferenceBuffer.CreateSegmentStartRow(ReferenceSideOf(m_nImagePosition)); }

    int m_nImagePosition = IMAGE_NONE;
    CGeoStandardHistogram m_StandardHistogram;
    std::vector<stMosaicPoint> m_MosaicPoints;
    CString m_strHead;
    CString m_strTail;
    int m_bClosed = 0;
    CGeoMosaicReferenceBuffer m_ReferenceBuffer;
    int m_nFocusNode = -1;
};
