// Device-independent bitmaps: pixels in memory with file input and output and drawing.
//
// Conventions every caller relies on: rows are stored bottom-up (row 0 is the bottom row) and each row
// is GetBytesPerLine() bytes, a multiple of 4; 24-bit pixels are B, G, R bytes; 1-bit pixels have the
// leftmost pixel in the high bit, 4-bit pixels the even pixel in the high nibble. Pixel coordinates
// (x, y) count x from the left and y from the bottom. Bit counts 1, 4, 8 (indexed, with a colour table
// of up to 256 entries), 24 and 32 are held.
#pragma once

#include <afx/afx.h>

#include <vector>

class CNewDIBObject {
public:
    CNewDIBObject() = default;
    virtual ~CNewDIBObject() = default;

    // A new zero-filled image (pixel index 0, or black). Indexed images get a grey table of 2, 16 or
    // 256 entries. Returns 0 (and keeps the old image) for a non-positive size, another bit count, or
    // more than 2^31 bytes of pixels.
    int CreateDIB(int width, int height, int bitCount);
    // Drops the image; Ready() is 0 afterwards.
    void Clear();

    int GetWidth() const;   // 0 when empty
    int GetHeight() const;  // 0 when empty
    int GetBitCount() const;
    DWORD GetBytesPerLine() const;
    // The rows, bottom row first, writable in place; NULL when empty.
    BYTE* GetDIBBits() { return m_bits.empty() ? nullptr : m_bits.data(); }
    const BYTE* GetDIBBits() const { return m_bits.empty() ? nullptr : m_bits.data(); }
    // The header followed by the colour table, for StretchDIBits; NULL when empty. The caller may
    // change the resolution fields of the header (SaveFile writes them).
    BITMAPINFOHEADER* GetBitmapInfoHeader();
    const BITMAPINFO* GetBitmapInfo() const;
    int Ready() const { return !m_bits.empty(); }

    // Palette index at (x, y) of an indexed image; -1 outside the image or for 24/32-bit images.
    int GetPixelIndex(int x, int y) const;
    // Ignored outside the image or for 24/32-bit images; the index is masked to the bit count.
    void SetPixelIndex(int x, int y, int index);
    // The colour at (x, y) as COLORREF (0x00BBGGRR), through the table for indexed images; 0 outside.
    DWORD GetPixelRGB(int x, int y) const;
    // Sets a colour; indexed images take the nearest table entry. Ignored outside the image.
    void SetPiexlRGB(int x, int y, DWORD color);

    // Copies the colour table into table (at least 256 entries; never more than 256 are written), each
    // entry an RGBQUAD read as a DWORD (0x00RRGGBB). Returns the entry count, -1 when there is none.
    int GetColorTable(DWORD* table) const;
    // Replaces the table of an indexed image with count entries (clipped to 2^bitCount); ignored for
    // 24/32-bit images or a NULL table.
    void SetColorTable(int count, const DWORD* table);

protected:
    // The colour-table index nearest to a COLORREF.
    int NearestIndex(DWORD color) const;
    // Sets header, table and bits at once (used by the readers).
    bool Adopt(int width, int height, int bitCount, const std::vector<RGBQUAD>& table);

    std::vector<BYTE> m_info;  // BITMAPINFOHEADER + colour table
    std::vector<BYTE> m_bits;
};

class CNewDIB : public CNewDIBObject {
public:
    enum FileType { typeAuto = -1, typeBMP = 0, typeTIFF = 1 };

    // Reads a BMP (uncompressed, 1/4/8/24/32 bits, bottom-up or top-down) or a TIFF (first image:
    // palette, min-is-black and min-is-white at 1, 4 and 8 bits, RGB and RGBA at 8 bits per sample,
    // any compression libtiff reads, strips or tiles). type typeAuto chooses by content. Returns
    // nonzero on success; on failure the current image is kept and 0 returned (also for 16-bit
    // samples, damaged headers and files too short for their header). The resolution is kept in the
    // header's pixels per metre.
    int ReadFile(const CString& path, int type = typeAuto);
    // Writes the image; typeAuto chooses by the extension (".bmp", ".tif" or ".tiff", any case).
    // TIFF: LZW, rows top first, grey images as min-is-black, other indexed ones with their palette,
    // 24 and 32 bits as RGB; the resolution in pixels per centimetre. Returns 0 when empty, for an
    // unknown type, or when the file cannot be written. The file is written beside the old one under a
    // temporary name and renamed over it, so a failed save leaves the old file as it was; a read-only
    // old file is not replaced. The last argument is accepted and unused.
    int SaveFile(const CString& path, int type = typeAuto, int = 1);
    // Why the last SaveFile failed: the file and the cause ("" after a success, and for an empty image
    // or an unknown type).
    CString GetSaveError() const { return m_strSaveError; }

    // The name the bitmap is saved under; returns 1 when its extension is one SaveFile can write.
    int SetFileName(CString name);
    CString GetFileName() const { return m_strFileName; }

    // Paints the source rectangle (pixels, rows counted from the top) stretched onto the destination
    // rectangle (device units of pDC) with the raster operation, nearest sampling. Returns nonzero
    // when something was drawn; 0 when empty or for a NULL argument.
    int DrawDIB(CDC* pDC, RECT* destination, RECT* source, DWORD rop = SRCCOPY);

    // A new pixel size that keeps the bottom-left pixels and fills the rest with fill (COLORREF; the
    // nearest table entry for indexed images). Returns 0 when empty or for a size CreateDIB refuses.
    int Resize(CSize size, DWORD fill);

    // Copies the width x height block at (ox, oy) of other to (x, y) of this (rows from the bottom),
    // clipped to both images. Both must have the same bit count. Returns 1 when a pixel was copied.
    int GetDIBBlock(CNewDIB* other, int ox, int oy, int x, int y, int width, int height);
    // The reverse: copies the block at (x, y) of this to (ox, oy) of other.
    int PutDIBBlock(CNewDIB* other, int ox, int oy, int x, int y, int width, int height);

private:
    int ReadBMP(const CString& path);
    int ReadTIFF(const CString& path);
    int SaveBMP(const CString& path);
    int SaveTIFF(const CString& path);
    // Keeps e's text as the save error; returns 0.
    int SaveFailed(const CString& path, const CFileException& e);
    static int CopyBlock(const CNewDIB& from, int fx, int fy, CNewDIB& to, int tx, int ty, int w, int h);

    CString m_strFileName;
    CString m_strSaveError;
};
