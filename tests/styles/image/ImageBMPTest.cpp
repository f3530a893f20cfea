#include <tuple>

#include "styles/image/ImageSupport.h"

using namespace std::string_literals;

namespace {

const ImageLimits kScreen{640, 480};

class ImageBMPTest : public ::testing::Test {
protected:
    void SetUp() override { pictures.pattern("pattern.ppm", 23, 13); }
    // A file of these bytes, decoded.
    ImageBMP decoded(const std::string& bytes, const ImageLimits& limits = kScreen) {
        return pictures.decoded<ImageBMP>(bytes, limits);
    }
    Pictures pictures;
};

}  // namespace

TEST_F(ImageBMPTest, EveryDepthAndHeaderAsConvertWroteIt) {
    // Format, options, depth and tolerance (16-bit channels widen by our own rule).
    const std::tuple<const char*, const char*, int, int> kinds[] = {
        {"BMP3:rgb24.bmp", "-type truecolor", 24, 0},
        {"BMP2:core24.bmp", "-type truecolor", 24, 0},
        {"BMP:v5.bmp", "-type truecolor", 24, 0},
        {"BMP3:pal8.bmp", "-colors 200 -type palette", 8, 0},
        {"BMP2:core8.bmp", "-colors 256 -type palette", 8, 0},
        {"BMP3:rle8.bmp", "-colors 200 -type palette -compress RLE", 8, 0},
        {"BMP3:pal4.bmp", "-colors 16", 4, 0},
        {"BMP3:mono.bmp", "-monochrome", 1, 0},
        {"BMP:f565.bmp", "-define bmp:subtype=RGB565", 32, 4},
        {"BMP:f555.bmp", "-define bmp:subtype=RGB555", 32, 4},
        {"BMP:f8888.bmp", "-alpha on -define bmp:subtype=ARGB8888", 32, 0},
    };
    for (const auto& [target, options, bits, tolerance] : kinds) {
        const std::string name = std::string(target).substr(std::string(target).find(':') + 1);
        ASSERT_TRUE(pictures.convert(std::string("pattern.ppm ") + options + " " + target)) << target;
        const ImageBMP image(pictures.at(name), kScreen);
        ASSERT_TRUE(image.IsValid()) << name;
        EXPECT_TRUE(image.Width() == 23 && image.Height() == 13 && image.InfoHeader()->biBitCount == bits)
            << name;
        EXPECT_LE(largestDifference(shownRgb(image), pictures.rgbOf(name)), tolerance) << name;
    }
    // A V4 header is a V5 one without its last 16 bytes.
    std::string v5 = pictures.read("v5.bmp"), v4 = v5.substr(0, 14 + 108) + v5.substr(14 + 124);
    v4[14] = 108, v4[10] = static_cast<char>(v5[10] - 16);
    EXPECT_EQ(shownRgb(decoded(v4)), pictures.rgbOf("v5.bmp"));
    // Without the file header the rows follow the table.
    EXPECT_EQ(shownRgb(decoded(pictures.read("pal8.bmp").substr(14))), pictures.rgbOf("pal8.bmp"));
    // Top-down: the rows in the file in the other order, the height negative.
    const std::string bottomUp = pictures.read("rgb24.bmp");
    const size_t stride = 72, start = 54;
    std::string topDown = bottomUp.substr(0, start);
    for (int r = 12; r >= 0; --r) topDown += bottomUp.substr(start + size_t(r) * stride, stride);
    topDown[22] = static_cast<char>(-13), topDown[23] = topDown[24] = topDown[25] = '\xFF';
    const ImageBMP flipped = decoded(topDown);
    EXPECT_EQ(flipped.Height(), 13) << "kept bottom-up in memory";
    EXPECT_EQ(shownRgb(flipped), pictures.rgbOf("rgb24.bmp"));
}

TEST_F(ImageBMPTest, RunLengthsOfFourBits) {
    BmpFields f;
    f.width = 8, f.height = 3, f.bits = 4, f.compression = 2, f.colorsUsed = 16;
    for (int i = 0; i < 16; ++i) f.table += {char(i * 16), char(i), char(255 - i * 16), 0};
    // Row 0: 1,2,1 then absolute 1..5; a jump right 2 and up 1 to row 2 at x 2, two 7s; end.
    f.body = "\x03\x12\x00\x05\x12\x34\x50\x00\x00\x00\x00\x02\x02\x01\x02\x77\x00\x01"s;
    const ImageBMP image = decoded(f.bytes());
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.InfoHeader()->biBitCount, 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.Pixels()), 24),
              "\1\2\1\1\2\3\4\5"s + std::string(8, '\0') + "\0\0\7\7\0\0\0\0"s);
}

TEST_F(ImageBMPTest, EveryTruncatedPrefix) {
    pictures.pattern("small.ppm", 9, 5);
    ASSERT_TRUE(pictures.convert("small.ppm -type truecolor BMP3:rgb24.bmp"));
    ASSERT_TRUE(pictures.convert("small.ppm -colors 40 -type palette -compress RLE BMP3:rle8.bmp"));
    ASSERT_TRUE(pictures.convert("small.ppm -colors 40 -type palette BMP2:core8.bmp"));
    ASSERT_TRUE(pictures.convert("small.ppm -define bmp:subtype=RGB565 BMP:f565.bmp"));
    for (const char* name : {"rgb24.bmp", "rle8.bmp", "core8.bmp", "f565.bmp"}) {
        const std::string whole = pictures.read(name);
        const ImageBMP full = decoded(whole);
        ASSERT_TRUE(full.IsValid()) << name;
        const size_t rows = full.PixelBytes();
        const bool runs = std::string(name) == "rle8.bmp";
        for (size_t n = 0; n < whole.size(); ++n) {
            const ImageBMP part = decoded(whole.substr(0, n));
            // Rows cut short make a bad file (the last row's padding, at most 3 bytes, may be missing).
            if (!runs && n + 3 < whole.size()) {
                EXPECT_FALSE(part.IsValid()) << name << " cut at " << n;
            }
            if (!part.IsValid()) continue;
            // Runs end where the data ends; what is there shows, the rest is zero, never stale memory.
            ASSERT_EQ(part.PixelBytes(), rows) << name << " cut at " << n;
            const std::string kept(reinterpret_cast<const char*>(part.Pixels()), rows);
            const std::string all(reinterpret_cast<const char*>(full.Pixels()), rows);
            for (size_t i = 0; i < rows; ++i)
                ASSERT_TRUE(kept[i] == all[i] || kept[i] == 0) << name << " cut at " << n << ", byte " << i;
        }
    }
}

TEST_F(ImageBMPTest, HostileHeadersAreRefusedOrShownSoundly) {
    const std::string rows(4 * 3 * 3 + 64, '\x40');
    const auto plain = [&rows] {
        BmpFields f;
        f.body = rows;
        return f;
    };
    // Refused outright.
    std::vector<std::pair<std::string, BmpFields>> refused;
    for (const uint16_t bits : {0, 2, 3, 5, 7, 12, 33, 64, 0xFFFF})
        refused.emplace_back("bits", plain()), refused.back().second.bits = bits;
    for (const uint16_t planes : {0, 2, 0xFFFF})
        refused.emplace_back("planes", plain()), refused.back().second.planes = planes;
    for (const uint32_t size : {0u, 16u, 39u, 41u, 52u, 64u, 107u, 125u, 0xFFFFFFFFu})
        refused.emplace_back("header size", plain()), refused.back().second.headerSize = size;
    for (const int32_t w : {0, -1, INT32_MIN, INT32_MAX, 641})
        refused.emplace_back("width", plain()), refused.back().second.width = w;
    for (const int32_t h : {0, INT32_MIN, INT32_MAX, 481, -481})
        refused.emplace_back("height", plain()), refused.back().second.height = h;
    for (const uint32_t c : {4u, 5u, 6u, 99u, 0xFFFFFFFFu})
        refused.emplace_back("compression", plain()), refused.back().second.compression = c;
    refused.emplace_back("RLE on 24 bits", plain()), refused.back().second.compression = 1;
    refused.emplace_back("bit fields on 8 bits", plain()), refused.back().second.compression = 3,
                                                           refused.back().second.bits = 8;
    refused.emplace_back("RLE top-down", plain()), refused.back().second.compression = 1,
                                                   refused.back().second.bits = 8,
                                                   refused.back().second.height = -3;
    for (const int64_t offset : {int64_t{5000}, int64_t{0xFFFFFFFF}})
        refused.emplace_back("offset past the end", plain()), refused.back().second.bitsOffset = offset;
    refused.emplace_back("a table past the end", plain()), refused.back().second.bits = 8,
                                                           refused.back().second.colorsUsed = 0xFFFFFFFF,
                                                           refused.back().second.fileHeader = false;
    refused.emplace_back("width x bits overflowing", plain()), refused.back().second.width = 0x40000001,
                                                               refused.back().second.bits = 32;
    for (const auto& [what, fields] : refused) EXPECT_FALSE(decoded(fields.bytes()).IsValid()) << what;

    // Shown, with no more colours than a picture uses and the file holds, no more rows than needed.
    BmpFields many = plain();
    many.bits = 8, many.colorsUsed = 0xFFFFFFFF, many.table = std::string(300 * 4, '\x7F'),
    many.bitsOffset = 54 + 1200;
    BmpFields wrapping = many;
    wrapping.colorsUsed = 0x40000001;  // four times it wraps to 4
    BmpFields shortTable = plain();
    shortTable.bits = 8, shortTable.colorsUsed = 200, shortTable.bitsOffset = 54,
    shortTable.body = std::string(100, '\x01');
    BmpFields sizes = plain();
    sizes.sizeImage = 0xFFFFFFFF;
    BmpFields smallSize = plain();
    smallSize.sizeImage = 4;
    BmpFields v5 = plain();
    v5.headerSize = 124;
    for (const auto& [what, fields, colors] : {std::tuple{"colours 2^32-1", many, 256u},
                                               {"colours wrapping", wrapping, 256u},
                                               {"a table the file lacks", shortTable, 25u},
                                               {"image size 2^32-1", sizes, 0u},
                                               {"image size smaller than the rows", smallSize, 0u},
                                               {"V5", v5, 0u}}) {
        const ImageBMP image = decoded(fields.bytes());
        ASSERT_TRUE(image.IsValid()) << what;
        EXPECT_EQ(image.InfoHeader()->biClrUsed, colors) << what;
        EXPECT_EQ(image.PixelBytes(), dibRowBytes(4, image.InfoHeader()->biBitCount) * 3) << what;
    }
    // Every row the file holds is read, whatever the size field says.
    EXPECT_EQ(shownRgb(decoded(smallSize.bytes())), std::string(4 * 3 * 3, '\x40'));
    // Without a file header the rows follow the table as declared, of which 256 entries are kept.
    BmpFields longTable = plain();
    longTable.bits = 8, longTable.colorsUsed = 300, longTable.table = std::string(300 * 4, '\x7F');
    longTable.fileHeader = false, longTable.body = std::string(12, '\x05');
    const ImageBMP headerless = decoded(longTable.bytes());
    ASSERT_TRUE(headerless.IsValid());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(headerless.Pixels()), 12), std::string(12, '\x05'));
    // Nothing is decoded that the screen could not show.
    BmpFields big = plain();
    big.width = 641, big.body = std::string(dibRowBytes(641, 24) * 3, '\x40');
    EXPECT_TRUE(decoded(big.bytes(), {641, 480}).IsValid());
    EXPECT_FALSE(decoded(big.bytes(), {640, 480}).IsValid());
}

// (An empty file and "BM" alone are prefixes of the truncation test.)
TEST_F(ImageBMPTest, FilesThatAreNotThere) {
    EXPECT_FALSE(ImageBMP(pictures.at("missing.bmp"), kScreen).IsValid());
    EXPECT_FALSE(ImageBMP(pictures.path().string(), kScreen).IsValid()) << "a folder";
}
