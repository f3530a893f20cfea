#pragma once
// The user's pictures, decoded into one packed device-independent bitmap: a
// 40-byte information header, the colour table and the pixel rows, bottom-up
// (the first row in memory is the bottom of the picture), each padded to a
// multiple of four bytes.
//
// The decoders read files the program did not make. Whatever a file says,
// they never read or write outside a buffer and never allocate more than a
// picture the screen could show needs: a picture that cannot fit the screen
// is refused before its rows are allocated (it would not be drawn anyway).
// A file that cannot be decoded leaves the image invalid.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Dib.h"

class CDC;

// The largest picture worth decoding: that of the screen it is shown on.
// A long decode asks `keepGoing` (when set) now and then, and stops, leaving
// the picture invalid, once it answers false: input waits.
struct ImageLimits {
    ImageLimits() = default;
    ImageLimits(int w, int h, std::function<bool()> keep = {})
        : width(w), height(h), keepGoing(std::move(keep)) {}

    int width = 0;
    int height = 0;
    std::function<bool()> keepGoing;
    // The size of the application's scene window; 0 x 0 without one.
    static ImageLimits ofScene();
};

class Image {
public:
    Image() = default;
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Bytes of padding at the end of each 24-bit row.
    virtual int RowPadding() const { return 0; }

    bool IsValid() const { return m_bValid; }
    // The size of the picture; a decoder may know it without decoding the
    // rows (a JPEG that would not fit the screen).
    int Width() const { return m_iWidth; }
    int Height() const { return m_iHeight; }
    // The first byte of the bottom row; null while invalid.
    const uint8_t* Pixels() const { return m_pPixels; }
    // The information header at the start of the block; null while invalid.
    const BITMAPINFOHEADER* InfoHeader() const { return m_bValid ? m_pInfoHeader : nullptr; }
    // Bytes of the block from the pixel pointer to its end.
    size_t PixelBytes() const { return m_bValid ? m_iBlockLength - (m_pPixels - m_pBlock.get()) : 0; }

    // Copies the whole picture with its top left corner at (x, y).
    void Paint(CDC& dc, int x, int y) const;

protected:
    // A zero-filled block of `length` bytes replaces the old one; false
    // (and no block) when it cannot be had.
    bool allocateBlock(size_t length);
    // Writes the 40-byte header at the start of the block and points the
    // pixels after the header and `colors` table entries; the picture is
    // then valid.
    void finish(const BITMAPINFOHEADER& header, size_t colors);
    // Frees the block: the picture is invalid.
    void invalidate();
    uint8_t* block() { return m_pBlock.get(); }
    size_t blockLength() const { return m_iBlockLength; }

    bool m_bValid = false;
    int32_t m_iWidth = 0;
    int32_t m_iHeight = 0;

private:
    struct FreeBlock {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t, FreeBlock> m_pBlock;
    size_t m_iBlockLength = 0;
    BITMAPINFOHEADER* m_pInfoHeader = nullptr;
    uint8_t* m_pPixels = nullptr;
};

// A Windows bitmap file, with or without its 14-byte file header: the
// 12-byte core header and the 40, 108 and 124-byte information headers;
// 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed, run-length encoded
// (4 and 8 bits, decoded to 8-bit rows) or with bit fields (16 and 32 bits,
// decoded to 32-bit rows). Rows or table entries that the file lacks are
// black.
class ImageBMP : public Image {
public:
    ImageBMP(const std::string& path, const ImageLimits& limits = ImageLimits::ofScene());
    int RowPadding() const override { return m_iWidth % 4; }
};

// A JPEG file in RGB or YCbCr, baseline, progressive or arithmetic-coded,
// decoded at 1/1, 1/2, 1/4 or 1/8 of its size so that it fits the screen's
// width, into 24-bit rows. Grayscale and CMYK files are not shown.
class ImageJPEG : public Image {
public:
    ImageJPEG(const std::string& path, const ImageLimits& limits = ImageLimits::ofScene());
    int RowPadding() const override { return m_iWidth % 4; }
    // The scale denominator chosen (1, 2, 4 or 8); 0 before the header was read.
    int ScaleDenominator() const { return m_iScale; }

private:
    int m_iScale = 0;
};

// The decoder for a path by its extension: "bmp" in any case is a bitmap,
// everything else goes to the JPEG decoder. Null for a path without a ".".
std::unique_ptr<Image> CreateImage(const std::string& path,
                                   const ImageLimits& limits = ImageLimits::ofScene());

// The palette drawn from a 24-bit picture of more than 4 x 4 pixels, in
// `colorCount` entries: 25 runs, each from one point of a 5 x 5 grid over
// the picture to the next point (row by row), the last run taking what is
// left over. Empty for any other picture.
std::vector<PALETTEENTRY> imageBands(const Image& image, int colorCount);
