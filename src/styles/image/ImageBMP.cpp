// The Windows bitmap reader. Every size in the file is checked against the
// bytes the file really holds and against the rows its width, height and
// depth need, in 64-bit arithmetic; the block holds exactly the rows the
// picture needs, and what the file lacks stays zero (black).

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <limits>
#include <vector>

#include "platform/Environment.h"
#include "styles/image/Image.h"

namespace {

constexpr uint16_t kFileType = 0x4D42;  // "BM"
constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kV4Header = 108;
constexpr uint32_t kV5Header = 124;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// A file read front to back with its length known. Bytes past the end read
// as zeros, so a short read never leaves memory uninitialised.
class BmpFile {
public:
    explicit BmpFile(const std::string& path) : m_file(platform::openForReading(path)) {
        if (!m_file || std::fseek(m_file, 0, SEEK_END) != 0) return;
        const long size = std::ftell(m_file);
        if (size < 0 || std::fseek(m_file, 0, SEEK_SET) != 0) return;
        m_size = static_cast<uint64_t>(size);
        m_ok = true;
    }
    ~BmpFile() {
        if (m_file) std::fclose(m_file);
    }
    BmpFile(const BmpFile&) = delete;
    BmpFile& operator=(const BmpFile&) = delete;

    bool ok() const { return m_ok; }
    uint64_t position() const { return m_pos; }
    uint64_t left() const { return m_pos < m_size ? m_size - m_pos : 0; }
    // Reads up to n bytes, zero-fills the rest of `dest` and answers how
    // many bytes were read.
    size_t read(void* dest, size_t n) {
        auto* out = static_cast<uint8_t*>(dest);
        size_t got = 0;
        if (n && m_pos < m_size)
            got = std::fread(out, 1, static_cast<size_t>(std::min<uint64_t>(n, left())), m_file);
        std::fill(out + got, out + n, uint8_t{0});
        m_pos += got;
        return got;
    }
    bool seek(uint64_t pos) {
        if (pos > static_cast<uint64_t>(std::numeric_limits<long>::max())) return false;
        if (std::fseek(m_file, static_cast<long>(pos), SEEK_SET) != 0) return false;
        m_pos = pos;
        return true;
    }

private:
    std::FILE* m_file;
    uint64_t m_size = 0;
    uint64_t m_pos = 0;
    bool m_ok = false;
};

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;
    explicit Channel(uint32_t m) : mask(m), shift(m ? std::countr_zero(m) : 0), max(m >> shift) {}
    uint8_t operator()(uint32_t pixel) const {
        return max ? static_cast<uint8_t>(((pixel & mask) >> shift) * 255 / max) : 0;
    }
};

bool supportedDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Run-length encoded rows (4 or 8 bits a pixel) into 8-bit rows of the
// block, bottom-up. Runs past the right edge or the last row are dropped;
// the data's end, an end-of-bitmap code or a jump past the top ends it.
void decodeRle(const std::vector<uint8_t>& data, bool four, uint8_t* rows, size_t stride, int width,
               int height) {
    int64_t x = 0, y = 0;
    const auto put = [&](uint8_t index) {
        if (x < width && y < height) rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x)] = index;
        ++x;
    };
    size_t i = 0;
    while (i + 2 <= data.size() && y < height) {
        const int count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(static_cast<uint8_t>(four ? ((k & 1) ? value & 15 : value >> 4) : value));
        } else if (value == 0) {
            x = 0, ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (i + 2 > data.size()) break;
            x += data[i], y += data[i + 1];
            i += 2;
        } else {
            const size_t bytes = four ? (static_cast<size_t>(value) + 1) / 2 : static_cast<size_t>(value);
            if (i + bytes > data.size()) break;
            for (int k = 0; k < value; ++k) {
                const uint8_t b = data[i + static_cast<size_t>(four ? k / 2 : k)];
                put(four ? ((k & 1) ? b & 15 : b >> 4) : b);
            }
            i += (bytes + 1) & ~size_t{1};  // runs are padded to a 16-bit boundary
        }
    }
}

}  // namespace

ImageBMP::ImageBMP(const std::string& path, const ImageLimits& limits) {
    BmpFile in(path);
    if (!in.ok()) return;

    // The file header is optional: without "BM" the information header
    // starts the file and the rows follow the colour table.
    uint8_t fileHeader[kFileHeaderBytes];
    if (in.read(fileHeader, sizeof fileHeader) < sizeof fileHeader) return;
    uint64_t bitsOffset = 0;
    if (u16(fileHeader) == kFileType)
        bitsOffset = u32(fileHeader + 10);
    else if (!in.seek(0))
        return;

    std::array<uint8_t, kV5Header> raw{};
    if (in.read(raw.data(), 4) < 4) return;
    const uint32_t headerSize = u32(raw.data());
    if (headerSize != kCoreHeader && headerSize != kInfoHeader && headerSize != kV4Header &&
        headerSize != kV5Header)
        return;
    if (in.read(raw.data() + 4, headerSize - 4) < headerSize - 4) return;

    const bool core = headerSize == kCoreHeader;
    int64_t width = 0, height = 0;
    int planes = 0, bits = 0;
    uint32_t compression = 0, colorsUsed = 0;
    if (core) {
        width = u16(&raw[4]), height = u16(&raw[6]), planes = u16(&raw[8]), bits = u16(&raw[10]);
    } else {
        width = static_cast<int32_t>(u32(&raw[4])), height = static_cast<int32_t>(u32(&raw[8]));
        planes = u16(&raw[12]), bits = u16(&raw[14]);
        compression = u32(&raw[16]), colorsUsed = u32(&raw[32]);
    }
    if (planes != 1 || !supportedDepth(bits)) return;
    const bool rle8 = compression == BI_RLE8 && bits == 8, rle4 = compression == BI_RLE4 && bits == 4;
    const bool fields = compression == BI_BITFIELDS && (bits == 16 || bits == 32);
    if (compression != BI_RGB && !rle8 && !rle4 && !fields) return;
    // Run-length encoded pictures are always stored bottom-up.
    if (height == 0 || width <= 0 || ((rle8 || rle4) && height < 0)) return;
    const bool topDown = height < 0;
    const int64_t rows = topDown ? -height : height;
    if (width > limits.width || rows > limits.height) return;

    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (fields) {
        if (headerSize == kInfoHeader && in.read(&raw[40], 12) < 12) return;
        for (int c = 0; c < 3; ++c) masks[c] = u32(&raw[40 + 4 * static_cast<size_t>(c)]);
    }

    // The table as declared decides where the rows start when no offset
    // says so; only what it holds of the 2^bits entries a picture can use
    // is kept, and no more than the file has.
    const uint64_t entrySize = core ? 3 : 4;
    const uint64_t declared = colorsUsed ? colorsUsed : (bits <= 8 ? uint64_t{1} << bits : 0);
    const uint64_t tableStart = in.position();
    uint64_t colors = bits <= 8 ? std::min(declared, uint64_t{1} << bits) : 0;
    colors = std::min(colors, in.left() / entrySize);
    std::array<RGBQUAD, 256> table{};
    for (uint64_t c = 0; c < colors; ++c) {
        uint8_t e[4] = {};
        in.read(e, static_cast<size_t>(entrySize));
        table[c] = {e[0], e[1], e[2], 0};
    }
    const uint64_t pixelStart = bitsOffset ? bitsOffset : tableStart + declared * entrySize;
    // Nothing of the picture is in the file.
    if (!in.seek(pixelStart) || in.left() == 0) return;

    const int outBits = (rle8 || rle4) ? 8 : fields ? 32 : bits;
    const size_t stride = dibRowBytes(width, outBits);
    const size_t fileStride = dibRowBytes(width, bits);
    const uint64_t rowBytes = uint64_t{stride} * static_cast<uint64_t>(rows);
    const size_t tableBytes = static_cast<size_t>(4 * colors);
    if (rowBytes > std::numeric_limits<size_t>::max() / 2 ||
        !allocateBlock(sizeof(BITMAPINFOHEADER) + tableBytes + static_cast<size_t>(rowBytes)))
        return;
    uint8_t* pixels = block() + sizeof(BITMAPINFOHEADER) + tableBytes;
    std::copy_n(reinterpret_cast<const uint8_t*>(table.data()), tableBytes,
                block() + sizeof(BITMAPINFOHEADER));

    const auto w = static_cast<int>(width), h = static_cast<int>(rows);
    if (rle8 || rle4) {
        // Every pixel costs at most two bytes of runs, every row two more.
        const uint64_t most =
            2 * uint64_t{static_cast<uint32_t>(w)} * static_cast<uint64_t>(h) + 2 * uint64_t(h) + 2;
        std::vector<uint8_t> data(static_cast<size_t>(std::min(in.left(), most)));
        data.resize(in.read(data.data(), data.size()));
        decodeRle(data, rle4, pixels, stride, w, h);
    } else if (fields) {
        const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
        std::vector<uint8_t> row(fileStride);
        const size_t pixelBytes = static_cast<size_t>(bits / 8);
        for (int r = 0; r < h && in.left(); ++r) {
            // Half a pixel at the end of a cut file is no pixel.
            const size_t got = in.read(row.data(), row.size());
            std::fill(row.begin() + static_cast<std::ptrdiff_t>(got / pixelBytes * pixelBytes), row.end(),
                      uint8_t{0});
            uint8_t* out = pixels + static_cast<size_t>(topDown ? h - 1 - r : r) * stride;
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = row.data() + static_cast<size_t>(x) * pixelBytes;
                const uint32_t v = bits == 16 ? u16(p) : u32(p);
                out[4 * x] = blue(v), out[4 * x + 1] = green(v), out[4 * x + 2] = red(v);
            }
        }
    } else if (!topDown) {
        in.read(pixels, static_cast<size_t>(rowBytes));
    } else {
        for (int r = 0; r < h && in.left(); ++r)
            in.read(pixels + static_cast<size_t>(h - 1 - r) * stride, stride);
    }

    BITMAPINFOHEADER header;
    header.biWidth = w;
    header.biHeight = h;
    header.biBitCount = static_cast<uint16_t>(outBits);
    header.biSizeImage = static_cast<uint32_t>(std::min<uint64_t>(rowBytes, UINT32_MAX));
    header.biClrUsed = static_cast<uint32_t>(colors);
    finish(header, static_cast<size_t>(colors));
}
