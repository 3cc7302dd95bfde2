#include "brisca/GeoTIFF.h"

#include <win32/codepage.h>

#include <mutex>
#include <tiffio.h>

namespace {

const TIFFFieldInfo kGeoTiffFields[] = {
    {33550, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelPixelScaleTag")},
    {33922, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelTiepointTag")},
    {34264, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelTransformationTag")},
    {34735, -1, -1, TIFF_SHORT, FIELD_CUSTOM, 1, 1, const_cast<char*>("GeoKeyDirectoryTag")},
    {34736, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("GeoDoubleParamsTag")},
    {34737, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("GeoASCIIParamsTag")},
};

TIFFExtendProc g_parentExtender = nullptr;

void ExtendTags(TIFF* tif)
{
    TIFFMergeFieldInfo(tif, kGeoTiffFields, sizeof kGeoTiffFields / sizeof kGeoTiffFields[0]);
    if (g_parentExtender) g_parentExtender(tif);
}

void QuietHandler(const char*, const char*, va_list) {}

}  // namespace

void BriscaRegisterGeoTIFFTags()
{
    static std::once_flag once;
    std::call_once(once, [] { g_parentExtender = TIFFSetTagExtender(ExtendTags); });
}

int CGeoTIFF::LoadGeoTIFFFile(const char* path)
{
    m_matrix.clear();
    if (!path) return 0;
    BriscaRegisterGeoTIFFTags();
    TIFFSetWarningHandler(QuietHandler);
    TIFFSetErrorHandler(QuietHandler);
    TIFF* tif = TIFFOpen(win32::GbkPathToNative(path).c_str(), "r");
    if (!tif) return 0;
    uint16_t count = 0;
    double* values = nullptr;
    if (TIFFGetField(tif, 34264, &count, &values) && values && count == 16) {
        m_matrix.assign(values, values + 16);
    } else {
        // The common form: one tie point (I, J, K) -> (X, Y, Z) and the pixel scale (Sx, Sy, Sz), rows
        // running south. Several tie points without a scale are control points, not a placement.
        uint16_t tieCount = 0, scaleCount = 0;
        double* tie = nullptr;
        double* scale = nullptr;
        if (TIFFGetField(tif, 33922, &tieCount, &tie) && tie && tieCount >= 6 &&
            TIFFGetField(tif, 33550, &scaleCount, &scale) && scale && scaleCount >= 2) {
            const double sz = scaleCount >= 3 ? scale[2] : 0.0;
            m_matrix.assign(16, 0.0);
            m_matrix[0] = scale[0];
            m_matrix[3] = tie[3] - tie[0] * scale[0];
            m_matrix[5] = -scale[1];
            m_matrix[7] = tie[4] + tie[1] * scale[1];
            m_matrix[10] = sz;
            m_matrix[11] = tie[5] - tie[2] * sz;
            m_matrix[15] = 1.0;
        }
    }
    TIFFClose(tif);
    return 1;
}

void CGeoTIFF::GetModelTransformationTag(double*& matrix, int& count)
{
    matrix = m_matrix.empty() ? nullptr : m_matrix.data();
    count = (int)m_matrix.size();
}
