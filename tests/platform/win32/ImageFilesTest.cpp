// Pictures through the Windows Imaging Component: the JPEG kinds shown and
// refused, the scale for a screen, hostile files, and PNG files written and
// read back with their text.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "platform/JpegDecoder.h"
#include "platform/PngWriter.h"
#include "platform/win32/JpegSamples.h"
#include "platform/win32/PngCodecApi.h"
#include "platform/win32/Utf8.h"
#include "support/SurfacePixels.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

struct Decoded {
    bool whole = false;
    bool asked = false;  // the size was offered
    int width = 0, height = 0, denominator = 0;
    size_t stride = 0;
    std::vector<uint8_t> rows;
    // Blue, green, red of (x, y), y counted from the top.
    const uint8_t* at(int x, int y) const { return rows.data() + (height - 1 - y) * stride + 3 * x; }
};

Decoded decode(const fs::path& file, int fitWidth, std::function<bool()> keepGoing = {}, bool accept = true) {
    Decoded d;
    platform::JpegRequest request;
    request.fitWidth = fitWidth;
    request.keepGoing = std::move(keepGoing);
    request.rows = [&](int w, int h, int denominator, size_t stride) -> uint8_t* {
        d.asked = true;
        d.width = w, d.height = h, d.denominator = denominator, d.stride = stride;
        if (!accept) return nullptr;
        d.rows.assign(stride * h, 0xCD);
        return d.rows.data();
    };
    d.whole = platform::decodeJpeg(platform::win32::utf8FromPath(file), request);
    return d;
}

class WindowsImages : public ::testing::Test {
protected:
    fs::path write(const std::string& name, const std::string& bytes) {
        tmp.write(name, bytes);
        return tmp.path() / name;
    }
    TempFolder tmp;
};

}  // namespace

TEST_F(WindowsImages, ColourJpegsAreShownOthersRefused) {
    for (const auto& [name, bytes] : {std::pair{"baseline.jpg", jpeg_samples::kBaseline},
                                      {"progressive.jpg", jpeg_samples::kProgressive}}) {
        const Decoded d = decode(write(name, bytes), 640);
        ASSERT_TRUE(d.whole) << name;
        EXPECT_TRUE(d.width == 24 && d.height == 16 && d.denominator == 1 && d.stride == 72) << name;
        // Red at the top, blue at the bottom, in blue-green-red order.
        const uint8_t* top = d.at(12, 0);
        const uint8_t* bottom = d.at(12, 15);
        EXPECT_TRUE(top[2] > 230 && top[0] < 25) << name << " " << int(top[0]) << " " << int(top[2]);
        EXPECT_TRUE(bottom[0] > 230 && bottom[2] < 25) << name;
    }
    // Grayscale and CMYK are not shown; neither are a PNG, text, an empty
    // file, a folder with a picture's name or a missing file.
    const std::string png = [] {
        const uint8_t rgb[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
        std::string bytes, message;
        platform::win32::encodePngBytes(rgb, 2, 2, platform::win32::PngRowFilter::Adaptive, bytes, message);
        return bytes;
    }();
    ASSERT_FALSE(png.empty());
    fs::create_directory(tmp.path() / "x.jpg");
    for (const fs::path& file :
         {write("gray.jpg", jpeg_samples::kGray), write("cmyk.jpg", jpeg_samples::kCmyk),
          write("photo.jpg", png), write("text.jpg", "not a picture"), write("empty.jpg", ""),
          tmp.path() / "x.jpg", tmp.path() / "missing.jpg"}) {
        const Decoded d = decode(file, 640);
        EXPECT_FALSE(d.whole) << file;
    }
}

TEST_F(WindowsImages, ScaledToFitTheWidthAndStoppedWhenAsked) {
    const fs::path big = write("big.jpg", jpeg_samples::kWide);
    const Decoded quarter = decode(big, 60);
    ASSERT_TRUE(quarter.whole);
    EXPECT_TRUE(quarter.denominator == 4 && quarter.width == 50 && quarter.height == 25);
    EXPECT_EQ(quarter.stride, 152u) << "rows padded to four bytes";
    // An odd size is rounded up, as the classic library rounds it: 200/8 x 100/8.
    const Decoded eighth = decode(big, 10);
    EXPECT_TRUE(eighth.whole && eighth.denominator == 8 && eighth.width == 25 && eighth.height == 13);
    // The height counts against the width too.
    const fs::path tall = write("tall.jpg", jpeg_samples::kTall);
    EXPECT_EQ(decode(tall, 100).denominator, 4);
    EXPECT_FALSE(decode(big, 60, [] { return false; }).whole) << "told to stop";
    const Decoded refused = decode(big, 60, {}, false);
    EXPECT_TRUE(refused.asked && !refused.whole) << "the caller may refuse the size";
}

TEST_F(WindowsImages, HostileJpegsAreSkipped) {
    // A header claiming 65500 x 65500 is refused from the header, before the
    // component sees the file (some versions decode it whole on opening).
    std::string giant = jpeg_samples::kBaseline;
    const size_t sof = giant.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    giant[sof + 5] = giant[sof + 7] = '\xFF', giant[sof + 6] = giant[sof + 8] = '\xDC';
    const Decoded huge = decode(write("giant.jpg", giant), 640);
    EXPECT_TRUE(!huge.asked && !huge.whole) << "more pixels than are ever decoded";
    // 4000 x 3000 is offered (and refused by the caller).
    giant[sof + 5] = '\x0F', giant[sof + 6] = '\xA0', giant[sof + 7] = '\x0B', giant[sof + 8] = '\xB8';
    const Decoded offered = decode(write("giant.jpg", giant), 640, {}, false);
    EXPECT_TRUE(offered.asked && offered.denominator == 8 && offered.width == 375 && !offered.whole);
    // Every truncation of both kinds: skipped, or whole at the right size.
    for (const std::string& whole : {jpeg_samples::kBaseline, jpeg_samples::kProgressive}) {
        for (size_t n = 0; n < whole.size(); n += 7) {
            const Decoded part = decode(write("part.jpg", whole.substr(0, n)), 640);
            ASSERT_TRUE(!part.whole || (part.width == 24 && part.height == 16)) << n;
        }
    }
    // Every few bytes of the data spoilt in turn.
    for (size_t i = 20; i < jpeg_samples::kBaseline.size(); i += 5) {
        std::string spoilt = jpeg_samples::kBaseline;
        spoilt[i] = static_cast<char>(~spoilt[i]);
        const Decoded d = decode(write("spoilt.jpg", spoilt), 640);
        ASSERT_TRUE(!d.whole || d.rows.size() == d.stride * d.height) << i;
    }
}

// Beyond the picture tests every build runs (SurfaceTest.cpp): a file named
// in UTF-8 and the text chunks. (A folder in the way is the output file's,
// SystemServicesTest.cpp.)
TEST_F(WindowsImages, PngByAUtf8NameWithItsText) {
    CSurface surface(7, 5, 32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) surface.row32(y)[x] = RGB(x * 36, y * 60, 255 - x * y * 7);
    const std::string file = platform::win32::utf8FromPath(tmp.path() / L"caf\u00e9.png");
    std::string error;
    ASSERT_TRUE(writePng(surface, {}, file, &error, {{"Software", "Quorvane"}, {"Seed", "42"}})) << error;
    EXPECT_EQ(surfacePixels(readPng(file, &error)), surfacePixels(surface)) << error;
    const std::string bytes = tmp.read(tmp.path() / L"caf\u00e9.png");
    EXPECT_NE(bytes.find("tEXtSoftware\0Quorvane"s), std::string::npos);
    EXPECT_EQ(bytes.compare(bytes.size() - 8, 4, "IEND"), 0);
    EXPECT_FALSE(readPng(platform::win32::utf8FromPath(tmp.path() / "none.png"), &error).valid());
    EXPECT_NE(error.find("none.png"), std::string::npos);
}

#endif  // _WIN32
