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
    // The model transformation (tag 34264): 16 doubles, row-major, X = m[0]*I + m[1]*J + m[3] and
    // Y = m[4]*I + m[5]*J + m[7] for pixel column I and row J from the top. The array belongs to the
    // reader and lives until it is destroyed or loads again. matrix is NULL (count 0) when the tag is
    // missing or has other than 16 values.
    void GetModelTransformationTag(double*& matrix, int& count);

private:
    std::vector<double> m_matrix;
};

// Registers the GeoTIFF tags with libtiff so they can be read and written; idempotent.
void BriscaRegisterGeoTIFFTags();
