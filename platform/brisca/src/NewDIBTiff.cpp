// TIFF files through libtiff.
#include "brisca/GeoTIFF.h"
#include "brisca/NewDIB.h"

#include <afx/FileReplacement.h>
#include <win32/codepage.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <tiffio.h>

namespace {

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr OpenTiff(const CString& path, const char* mode)
{
    BriscaRegisterGeoTIFFTags();
    return TiffPtr(TIFFOpen(win32::GbkPathToNative((LPCSTR)path).c_str(), mode));
}

// How many bytes of samples the file's strips (or tiles) can give at most: what they hold, each count
// cut at the file's size, times the best ratio a compression can reach. Pixels beyond this are claimed
// by the header alone, so nothing is allocated for them.
uint64_t JustifiedSampleBytes(TIFF* tif)
{
    const uint64_t fileSize = TIFFGetSizeProc(tif)(TIFFClientdata(tif));
    const bool tiled = TIFFIsTiled(tif) != 0;
    uint64_t* counts = nullptr;
    if (!TIFFGetField(tif, tiled ? TIFFTAG_TILEBYTECOUNTS : TIFFTAG_STRIPBYTECOUNTS, &counts) || !counts) return 0;
    const uint32_t n = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    uint64_t stored = 0;
    for (uint32_t i = 0; i < n && stored < fileSize; ++i) stored += std::min(counts[i], fileSize);
    stored = std::min(stored, fileSize);
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    const uint64_t ratio = compression == COMPRESSION_NONE ? 1 : 4096;
    return stored * ratio + 65536;
}

// The samples of the first image as packed rows, top row first, rowBytes apart.
bool ReadPacked(TIFF* tif, uint32_t width, uint32_t height, int bitsPerPixel, std::vector<BYTE>& out,
                size_t& rowBytes)
{
    rowBytes = ((size_t)width * bitsPerPixel + 7) / 8;
    out.assign(rowBytes * height, 0);
    if (TIFFIsTiled(tif)) {
        uint32_t tw = 0, th = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &th);
        if (tw == 0 || th == 0 || ((size_t)tw * bitsPerPixel) % 8 != 0) return false;
        const tmsize_t tileSize = TIFFTileSize(tif);
        const size_t tileRow = (size_t)tw * bitsPerPixel / 8;
        // A tile is stored whole, so one larger than the file's data can fill is claimed by the header
        // alone (tile sizes near 2^31 rows), and nothing is allocated for it.
        if (tileSize <= 0 || (size_t)tileSize < tileRow * th || (uint64_t)tileSize > JustifiedSampleBytes(tif))
            return false;
        std::vector<BYTE> tile((size_t)tileSize);
        for (uint32_t y = 0; y < height; y += th) {
            for (uint32_t x = 0; x < width; x += tw) {
                if (TIFFReadTile(tif, tile.data(), x, y, 0, 0) < 0) return false;
                const size_t start = (size_t)x * bitsPerPixel / 8;
                const size_t n = std::min(tileRow, rowBytes - start);
                for (uint32_t r = 0; r < th && y + r < height; ++r)
                    std::memcpy(out.data() + (size_t)(y + r) * rowBytes + start, tile.data() + r * tileRow, n);
            }
        }
        return true;
    }
    const tmsize_t line = TIFFScanlineSize(tif);
    if (line <= 0 || (size_t)line < rowBytes) return false;
    std::vector<BYTE> buffer((size_t)line);
    for (uint32_t r = 0; r < height; ++r) {
        if (TIFFReadScanline(tif, buffer.data(), r, 0) < 0) return false;
        std::memcpy(out.data() + (size_t)r * rowBytes, buffer.data(), rowBytes);
    }
    return true;
}

LONG PelsPerMeter(TIFF* tif, ttag_t tag)
{
    float res = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tif, tag, &res) || !(res > 0)) return 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    double perMeter = 0;
    if (unit == RESUNIT_INCH) perMeter = res / 0.0254 + 0.5;
    else if (unit == RESUNIT_CENTIMETER) perMeter = res * 100.0 + 0.5;
    // A resolution no LONG can hold is none a header can mean: it is taken as not given.
    if (!(perMeter < 2147483647.0)) return 0;
    return (LONG)perMeter;
}

void QuietHandler(const char*, const char*, va_list) {}

}  // namespace

int CNewDIB::ReadTIFF(const CString& path)
{
    TIFFSetWarningHandler(QuietHandler);
    TIFFSetErrorHandler(QuietHandler);
    TiffPtr tif = OpenTiff(path, "r");
    if (!tif) return 0;
    uint32_t width = 0, height = 0;
    uint16_t bps = 1, spp = 1, photometric = PHOTOMETRIC_MINISWHITE, planar = PLANARCONFIG_CONTIG;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
    if (!TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric)) photometric = PHOTOMETRIC_MINISWHITE;
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF || bps > 8) return 0;
    // The image must be one the file's data can fill before anything is sized from its header.
    const uint64_t sampleBytes = ((uint64_t)width * bps * spp + 7) / 8 * height;
    if (sampleBytes > JustifiedSampleBytes(tif.get())) return 0;

    CNewDIB next;
    const bool indexedKind = spp == 1 && (bps == 1 || bps == 4 || bps == 8) &&
                             (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE ||
                              photometric == PHOTOMETRIC_PALETTE);
    const bool rgbKind = photometric == PHOTOMETRIC_RGB && bps == 8 && (spp == 3 || spp == 4) &&
                         planar == PLANARCONFIG_CONTIG;
    if (indexedKind) {
        std::vector<RGBQUAD> table((size_t)1 << bps);
        const int n = (int)table.size();
        if (photometric == PHOTOMETRIC_PALETTE) {
            uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
            if (!TIFFGetField(tif.get(), TIFFTAG_COLORMAP, &r, &g, &b)) return 0;
            // Colour maps hold 16-bit values; a few writers store 8-bit ones.
            bool wide = false;
            for (int i = 0; i < n; ++i) wide = wide || r[i] > 255 || g[i] > 255 || b[i] > 255;
            const int shift = wide ? 8 : 0;
            for (int i = 0; i < n; ++i)
                table[i] = RGBQUAD{(BYTE)(b[i] >> shift), (BYTE)(g[i] >> shift), (BYTE)(r[i] >> shift), 0};
        } else {
            for (int i = 0; i < n; ++i) {
                BYTE v = (BYTE)(i * 255 / (n - 1));
                if (photometric == PHOTOMETRIC_MINISWHITE) v = (BYTE)(255 - v);
                table[i] = RGBQUAD{v, v, v, 0};
            }
        }
        if (!next.Adopt((int)width, (int)height, bps, table)) return 0;
        std::vector<BYTE> packed;
        size_t rowBytes = 0;
        if (!ReadPacked(tif.get(), width, height, bps, packed, rowBytes)) return 0;
        for (uint32_t r = 0; r < height; ++r)
            std::memcpy(next.GetDIBBits() + (size_t)(height - 1 - r) * next.GetBytesPerLine(),
                        packed.data() + (size_t)r * rowBytes, rowBytes);
    } else if (rgbKind) {
        if (!next.Adopt((int)width, (int)height, 24, {})) return 0;
        std::vector<BYTE> packed;
        size_t rowBytes = 0;
        if (!ReadPacked(tif.get(), width, height, 8 * spp, packed, rowBytes)) return 0;
        for (uint32_t r = 0; r < height; ++r) {
            const BYTE* src = packed.data() + (size_t)r * rowBytes;
            BYTE* dst = next.GetDIBBits() + (size_t)(height - 1 - r) * next.GetBytesPerLine();
            for (uint32_t x = 0; x < width; ++x, src += spp, dst += 3) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
            }
        }
    } else {
        // Anything else libtiff can turn into colours (YCbCr, separate planes, CMYK...) becomes 24-bit.
        if (!next.Adopt((int)width, (int)height, 24, {})) return 0;
        if ((uint64_t)width * height > ((uint64_t)1 << 29)) return 0;
        std::vector<uint32_t> rgba((size_t)width * height);
        if (!TIFFReadRGBAImageOriented(tif.get(), width, height, rgba.data(), ORIENTATION_BOTLEFT, 0)) return 0;
        for (uint32_t r = 0; r < height; ++r) {
            BYTE* dst = next.GetDIBBits() + (size_t)r * next.GetBytesPerLine();
            for (uint32_t x = 0; x < width; ++x, dst += 3) {
                const uint32_t p = rgba[(size_t)r * width + x];
                dst[0] = (BYTE)TIFFGetB(p);
                dst[1] = (BYTE)TIFFGetG(p);
                dst[2] = (BYTE)TIFFGetR(p);
            }
        }
    }
    BITMAPINFOHEADER* h = next.GetBitmapInfoHeader();
    h->biXPelsPerMeter = PelsPerMeter(tif.get(), TIFFTAG_XRESOLUTION);
    h->biYPelsPerMeter = PelsPerMeter(tif.get(), TIFFTAG_YRESOLUTION);
    m_info.swap(next.m_info);
    m_bits.swap(next.m_bits);
    return 1;
}

int CNewDIB::SaveTIFF(const CString& path)
{
    TIFFSetWarningHandler(QuietHandler);
    TIFFSetErrorHandler(QuietHandler);
    // Written beside the old file and renamed over it, so that a failed save leaves the old image.
    CFileReplacement save;
    CString temp;
    CFileException e;
    if (!save.Add(path, temp, &e)) return SaveFailed(path, e);
    auto failed = [&](int err) {
        if (err == 0) err = EIO;
        return SaveFailed(path, CFileException(CFileException::OsErrorToException(err), err, path));
    };
    errno = 0;
    TiffPtr tif = OpenTiff(temp, "w");
    if (!tif) return failed(errno);
    const int width = GetWidth(), height = GetHeight(), bits = GetBitCount();
    const BITMAPINFO* bmi = GetBitmapInfo();
    TIFF* t = tif.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, (uint32_t)width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, (uint32_t)height);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    const bool indexed = bits <= 8;
    if (indexed) {
        const int n = 1 << bits;
        bool grey = bmi->bmiHeader.biClrUsed == (DWORD)n;
        for (int i = 0; grey && i < n; ++i) {
            const RGBQUAD q = bmi->bmiColors[i];
            const BYTE v = (BYTE)(i * 255 / (n - 1));
            grey = q.rgbRed == v && q.rgbGreen == v && q.rgbBlue == v;
        }
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, (uint16_t)bits);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, (uint16_t)1);
        if (grey) {
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        } else {
            std::vector<uint16_t> r(n, 0), g(n, 0), b(n, 0);
            for (int i = 0; i < n && (DWORD)i < bmi->bmiHeader.biClrUsed; ++i) {
                r[i] = (uint16_t)(bmi->bmiColors[i].rgbRed * 257);
                g[i] = (uint16_t)(bmi->bmiColors[i].rgbGreen * 257);
                b[i] = (uint16_t)(bmi->bmiColors[i].rgbBlue * 257);
            }
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
            TIFFSetField(t, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
        }
    } else {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, (uint16_t)8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, (uint16_t)3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    if (bmi->bmiHeader.biXPelsPerMeter > 0 && bmi->bmiHeader.biYPelsPerMeter > 0) {
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
        TIFFSetField(t, TIFFTAG_XRESOLUTION, (float)(bmi->bmiHeader.biXPelsPerMeter / 100.0));
        TIFFSetField(t, TIFFTAG_YRESOLUTION, (float)(bmi->bmiHeader.biYPelsPerMeter / 100.0));
    }
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    const size_t rowBytes = indexed ? ((size_t)width * bits + 7) / 8 : (size_t)width * 3;
    std::vector<BYTE> line(rowBytes);
    const int step = bits / 8;
    for (int r = 0; r < height; ++r) {
        const BYTE* src = GetDIBBits() + (size_t)(height - 1 - r) * GetBytesPerLine();
        if (indexed) {
            std::memcpy(line.data(), src, rowBytes);
        } else {
            for (int x = 0; x < width; ++x) {
                line[(size_t)x * 3] = src[(size_t)x * step + 2];
                line[(size_t)x * 3 + 1] = src[(size_t)x * step + 1];
                line[(size_t)x * 3 + 2] = src[(size_t)x * step];
            }
        }
        errno = 0;
        if (TIFFWriteScanline(t, line.data(), (uint32_t)r, 0) < 0) return failed(errno);
    }
    errno = 0;
    if (!TIFFFlush(t)) return failed(errno);
    TIFFClose(tif.release());
    if (!save.Commit(&e)) return SaveFailed(path, e);
    return 1;
}
