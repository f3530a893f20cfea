// The user's pictures on Windows, as the image style finds and reads them:
// in a folder whose name is not ASCII, run-length and bit-field bitmaps
// through our own reader, JPEG through the Imaging Component.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <string>

#include "platform/DC.h"
#include "platform/FileSearch.h"
#include "platform/win32/JpegSamples.h"
#include "platform/win32/Utf8.h"
#include "styles/image/Image.h"
#include "support/TempFolder.h"

namespace {

void put16(std::string& s, uint16_t v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8); }
void put32(std::string& s, uint32_t v) {
    put16(s, static_cast<uint16_t>(v));
    put16(s, static_cast<uint16_t>(v >> 16));
}

// A bitmap file: file header, 40-byte information header, then `rest`
// (colour table or masks, and the pixels).
std::string bitmap(int w, int h, int bits, uint32_t compression, uint32_t colors, const std::string& table,
                   const std::string& pixels) {
    std::string info;
    put32(info, 40), put32(info, w), put32(info, h), put16(info, 1), put16(info, static_cast<uint16_t>(bits));
    put32(info, compression), put32(info, static_cast<uint32_t>(pixels.size())), put32(info, 2835);
    put32(info, 2835), put32(info, colors), put32(info, 0);
    std::string file = "BM";
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(table.size());
    put32(file, offset + static_cast<uint32_t>(pixels.size())), put32(file, 0), put32(file, offset);
    return file + info + table + pixels;
}

// The picture painted at (0, 0) of a 32-bit surface: colour references.
CSurface painted(const Image& image) {
    CSurface s(image.Width(), image.Height(), 32);
    CDC dc(&s);
    image.Paint(dc, 0, 0);
    return s;
}

}  // namespace

TEST(WindowsPictures, FoundAndReadInAFolderNamedInUnicode) {
    TempFolder tmp;
    const auto folder = tmp.path() / L"K\u00f6ln \u65e5\u672c";
    std::filesystem::create_directory(folder);
    // Blue and red; the bottom row red, the top row blue, blue, red, red.
    const std::string table("\xFF\0\0\0\0\0\xFF\0", 8);
    const std::string rle("\x04\x01\x00\x00\x02\x00\x02\x01\x00\x01", 10);
    tmp.write(folder / L"rle.BMP", bitmap(4, 2, 8, 1, 2, table, rle));
    // 16 bits in 5-6-5 fields: red, then blue.
    std::string masks, pixels;
    put32(masks, 0xF800), put32(masks, 0x07E0), put32(masks, 0x001F);
    put16(pixels, 0xF800), put16(pixels, 0x001F);
    tmp.write(folder / L"fields.bmp", bitmap(2, 1, 16, 3, 0, masks, pixels));
    tmp.write(folder / L"photo.jpg", jpeg_samples::kBaseline);

    const std::string where = platform::win32::utf8FromPath(folder);
    EXPECT_EQ(platform::findFiles(where, "*.bmp"), (std::vector<std::string>{"fields.bmp", "rle.BMP"}));
    const ImageLimits screen{640, 480};

    const ImageBMP rleImage(where + "/rle.BMP", screen);
    ASSERT_TRUE(rleImage.IsValid());
    const CSurface r = painted(rleImage);
    EXPECT_EQ(r.row32(1)[0], RGB(255, 0, 0));
    EXPECT_EQ(r.row32(1)[3], RGB(255, 0, 0));
    EXPECT_EQ(r.row32(0)[0], RGB(0, 0, 255));
    EXPECT_EQ(r.row32(0)[3], RGB(255, 0, 0));

    const ImageBMP fieldsImage(where + "/fields.bmp", screen);
    ASSERT_TRUE(fieldsImage.IsValid());
    const CSurface f = painted(fieldsImage);
    EXPECT_GE(GetRValue(f.row32(0)[0]), 248);
    EXPECT_EQ(GetBValue(f.row32(0)[0]), 0);
    EXPECT_GE(GetBValue(f.row32(0)[1]), 248);

    const ImageJPEG photo(where + "/photo.jpg", screen);
    ASSERT_TRUE(photo.IsValid());
    EXPECT_TRUE(photo.Width() == 24 && photo.Height() == 16 && photo.ScaleDenominator() == 1);
    EXPECT_GT(GetRValue(painted(photo).row32(0)[12]), 230) << "red at the top";
    // A folder with a picture's name, and an empty file, are no pictures.
    std::filesystem::create_directory(folder / L"folder.jpg");
    tmp.write(folder / L"empty.bmp", "");
    EXPECT_FALSE(ImageJPEG(where + "/folder.jpg", screen).IsValid());
    EXPECT_FALSE(ImageBMP(where + "/empty.bmp", screen).IsValid());
}

#endif  // _WIN32
