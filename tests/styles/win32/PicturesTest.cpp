// The user's pictures on Windows, as the image style finds and reads them in
// a folder whose name is not ASCII: bitmaps through our own reader (whose
// kinds of file the other builds' tests take), JPEG through the Imaging
// Component.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <string>

#include "platform/DC.h"
#include "platform/FileSearch.h"
#include "platform/win32/JpegSamples.h"
#include "platform/win32/Utf8.h"
#include "styles/image/Image.h"
#include "support/BmpFields.h"
#include "support/TempFolder.h"

namespace {

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
    BmpFields red;  // 24 bits, red
    red.width = red.height = 1, red.body = std::string("\0\0\xFF\0", 4);
    tmp.write(folder / L"red.BMP", red.bytes());
    tmp.write(folder / L"photo.jpg", jpeg_samples::kBaseline);

    const std::string where = platform::win32::utf8FromPath(folder);
    EXPECT_EQ(platform::findFiles(where, "*.bmp"), std::vector<std::string>{"red.BMP"});
    const ImageLimits screen{640, 480};
    const ImageBMP bitmap(where + "/red.BMP", screen);
    ASSERT_TRUE(bitmap.IsValid());
    EXPECT_EQ(painted(bitmap).row32(0)[0], RGB(255, 0, 0));
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
