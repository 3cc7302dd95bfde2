// Image data along a mosaic seam, for balancing the image on the other side of it.
//
// CGeoMosaicReferenceBuffer is a strip of pixels from the reference side of a seam: for every image
// row a north-south seam crosses (side 0), or every column an east-west seam crosses (side 2), a
// record of GetWidth() pixels starting at the seam and running east (side 0) or south (side 2),
// resampled to the seam's sub-pixel position. Rows and columns count from the top of the image.
// Records are byte-packed ((width * bits + 7) / 8 bytes, no alignment); a pixel 0 (first byte 0 for 24
// bits) holds nothing.
//
// Record: int image width, int image height, double pixel size (metres), int strip width, int begin,
// int end, int ~count of reference points (a non-negative value marks an old record without the next
// field), int bits per pixel, count x (double x, double y), then (end - begin + 1) strip records when
// the strip width is not 0 and end >= begin. Counts, sizes or a strip beyond 256 MiB, and points or a
// strip the archive does not hold, raise CArchiveException before anything is allocated for them. The
// segment table is not stored: the owning mosaic line rebuilds it.
//
// CGeoPLineBuffer: the seam's column for every image row (side 0) or its row for every column (side 2),
// from the line's map coordinates; -99999 where the seam does not pass.
#pragma once

#include <afx/afx.h>

#include <vector>

class CGeoImage;
class CGeoMosaicPLine;

struct stReferencePoint {
    double x;  // pixel column
    double y;  // pixel row from the bottom
};

class CGeoMosaicReferenceBuffer : public CObject {
    DECLARE_SERIAL(CGeoMosaicReferenceBuffer)

public:
    CGeoMosaicReferenceBuffer();
    CGeoMosaicReferenceBuffer(const CGeoMosaicReferenceBuffer& src);
    CGeoMosaicReferenceBuffer& operator=(const CGeoMosaicReferenceBuffer&) = delete;

    // Builds the strip of width pixels from image along line (sides 0 and 2), over the seam's rows
    // (columns) that lie inside the image: begin and end are clipped to the image. 0 for another side
    // or when memory runs out (the buffer is then empty), else the segment table's result (1).
    int Create(CGeoImage* image, CGeoMosaicPLine* line, int width);
    // A new segment table for side 0 or 2 from the reference points: 1; another side: 0, nothing changes.
    int CreateSegmentStartRow(int side);
    // Record at trunc((end - begin) * t + 0.5), clamped into the strip. NULL without a strip.
    BYTE* GetBuffer(double t);
    // Record start + max(0, trunc(length * t + 0.5)) of the segment, at most the last; a record whose
    // row (column) lies off the image is a record of zero pixels. NULL for a strip width of 0, for a
    // segment outside the table, and without a strip for a row on the image.
    BYTE* GetBuffer(int segment, double t);
    // The two records around length * t blended (a 0 pixel takes the other record's); the scratch
    // record, overwritten by the next call. NULL as above.
    BYTE* GetBuffer(int segment, double t, double);

    int GetPointNum() const { return static_cast<int>(m_Points.size()); }
    std::vector<stReferencePoint>& GetMosaicPointArray() { return m_Points; }
    int GetX(int i) const { return static_cast<int>(m_Points[i].x + 0.5); }
    int GetY(int i) const { return static_cast<int>(m_Points[i].y + 0.5); }
    // New array (delete[] by the caller) of (x * k + 0.5, y * k + 0.5), truncated.
    POINT* GetPixelPoints(double k) const;
    // Counted in 64 bits: a stored width may be near 2^28 pixels, whose bit count overflows an int.
    int GetBytesPerRow() const { return static_cast<int>((static_cast<long long>(m_nWidth) * m_nBits + 7) / 8); }
    double GetPixelSize() const { return m_dPixelSize; }
    int GetWidth() const { return m_nWidth; }
    int GetBits() const { return m_nBits; }
    int GetBegin() const { return m_nBegin; }
    int GetEnd() const { return m_nEnd; }
    int GetSegmentCount() const { return static_cast<int>(m_Segments.size()); }

    void Serialize(CArchive& ar) override;

private:
    struct Segment {
        int start;
        int length;
    };
    void Release();
    // Working vertices: reference points rounded, y as a row from the top.
    std::vector<POINT> WorkingVertices() const;
    bool HasStrip() const { return m_nWidth > 0 && m_nEnd >= m_nBegin && !m_Rows.empty(); }
    // Record index k (from begin) names a row (side 0) or column (side 2) off the image; FALSE while the
    // segment table has no side.
    bool OutsideImage(long long k) const;
    // A record of zero pixels (nothing held), made on first use.
    BYTE* EmptyRecord();

    std::vector<BYTE> m_Rows;
    std::vector<BYTE> m_Scratch;
    std::vector<BYTE> m_Empty;
    int m_nWidth = 0;
    int m_nBegin = 0;
    int m_nEnd = 0;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    double m_dPixelSize = 0.0;
    int m_nBits = 8;
    std::vector<Segment> m_Segments;
    int m_nSide = 4;  // the side of the last segment table
    std::vector<stReferencePoint> m_Points;
};

class CGeoPLineBuffer : public CObject {
public:
    CGeoPLineBuffer() = default;
    // extent: the image's map rectangle in metres (left west, bottom field north); cell: pixel size in
    // metres.
    CGeoPLineBuffer(CGeoMosaicPLine* line, CRect extent, double cell);

    // 0 when end < start; else the table holds end - start + 1 entries of -99999; 1.
    int Initialize(int start, int end, int side);
    // Fills the table; the number of segments traced. 0 for a side other than 0 or 2, a line without
    // mosaic points, a cell <= 0 (which would never advance) or a failed Initialize.
    int Create(CGeoMosaicPLine* line, CRect extent, double cell);
    void GetRange(int& start, int& end) const { start = m_nStart; end = m_nEnd; }
    int* GetPosition() { return m_Positions.empty() ? nullptr : m_Positions.data(); }
    int GetInvalidPosition() const { return m_nInvalid; }
    int GetImagePosition() const { return m_nSide; }
    int GetHalfWidth() const { return m_nHalfWidth; }

private:
    int m_nSide = 4;
    int m_nInvalid = -99999;
    int m_nStart = 0;
    int m_nEnd = 0;
    int m_nHalfWidth = 0;
    std::vector<int> m_Positions;
};
