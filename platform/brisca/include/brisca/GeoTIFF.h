// The placement of a GeoTIFF file: its model transformation.
#pragma once

#include <afx/afx.h>

#include <vector>

class CGeoTIFF {
public:
    CGeoTIFF() = default;
    // Reads the GeoTIFF tags of the file's first image. Returns nonzero when the file is a TIFF;
    // a file without the tags is read and simply has no transformation.
    int LoadGeoTIFFFile(const char* path);
    // The model transformation: 16 doubles, row-major, X = m[0]*I + m[1]*J + m[3] and
    // Y = m[4]*I + m[5]*J + m[7] for pixel column I and row J from the top. Taken from tag 34264 when
    // it holds 16 values; otherwise made from the first tie point (tag 33922, at least 6 values) and
    // the pixel scale (tag 33550, at least 2): m[0] = Sx, m[5] = -Sy, m[3] = X - I*Sx,
    // m[7] = Y + J*Sy (the tie point's pixel taken as an area corner). The array belongs to the reader
    // and lives until it is destroyed or loads again. matrix is NULL (count 0) when the file holds
    // neither form.
    void GetModelTransformationTag(double*& matrix, int& count);

private:
    std::vector<double> m_matrix;
};

// Registers the GeoTIFF tags with libtiff so they can be read and written; idempotent.
void BriscaRegisterGeoTIFFTags();
