#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <tuple>

#include "app/SaverApp.h"
#include "styles/image/ImageSupport.h"
#include "support/EnvOverride.h"
#include "support/Forked.h"

namespace {

const ImageLimits kScreen{640, 480};

// Where the first marker `code` starts in a JPEG file; npos when none.
size_t markerAt(const std::string& jpeg, unsigned char code) {
    for (size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && static_cast<unsigned char>(jpeg[i + 1]) == code)
            return i;
    return std::string::npos;
}

// The end of the scan at `sos`: up to the next marker but a stuffed byte or a restart.
size_t scanEnd(const std::string& jpeg, size_t sos) {
    size_t i = sos + 2 +
               (static_cast<unsigned char>(jpeg[sos + 2]) << 8 | static_cast<unsigned char>(jpeg[sos + 3]));
    for (; i + 1 < jpeg.size(); ++i) {
        const auto next = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && next != 0 && (next < 0xD0 || next > 0xD7)) break;
    }
    return i;
}

class ImageJPEGTest : public ::testing::Test {
protected:
    void SetUp() override { pictures.pattern("pattern.ppm", 64, 40); }
    ImageJPEG decoded(const std::string& bytes, const ImageLimits& limits = kScreen) {
        return pictures.decoded<ImageJPEG>(bytes, limits);
    }
    Pictures pictures;
};

}  // namespace

TEST_F(ImageJPEGTest, EveryKindShownAsConvertReadsIt) {
    ASSERT_TRUE(pictures.convert("pattern.ppm -quality 90 -sampling-factor 1x1 base444.jpg"));
    ASSERT_TRUE(pictures.convert("pattern.ppm -quality 90 -sampling-factor 2x2 base420.jpg"));
    ASSERT_TRUE(pictures.convert("pattern.ppm -quality 90 -interlace Plane progressive.jpg"));
    ASSERT_TRUE(pictures.run("jpegtran -arithmetic -outfile arithmetic.jpg base420.jpg"));
    ASSERT_TRUE(pictures.run("jpegtran -arithmetic -progressive -outfile arithprog.jpg base444.jpg"));
    ASSERT_TRUE(
        pictures.convert("pattern.ppm -quality 90 -colorspace sRGB -define jpeg:colorspace=2 rgb.jpg"));
    for (const char* name :
         {"base444.jpg", "base420.jpg", "progressive.jpg", "arithmetic.jpg", "arithprog.jpg", "rgb.jpg"}) {
        const ImageJPEG image(pictures.at(name), kScreen);
        ASSERT_TRUE(image.IsValid()) << name;
        EXPECT_TRUE(image.Width() == 64 && image.Height() == 40 && image.InfoHeader()->biBitCount == 24)
            << name;
        EXPECT_EQ(image.RowPadding(), 0);
        // The same library's decode, by another route: small rounding only.
        EXPECT_LE(largestDifference(shownRgb(image), pictures.rgbOf(name)), 2) << name;
    }
    // Red stays red: blue, green, red in memory.
    ASSERT_TRUE(pictures.convert("-size 17x9 xc:red -quality 100 red.jpg"));
    const ImageJPEG red(pictures.at("red.jpg"), kScreen);
    ASSERT_TRUE(red.IsValid());
    EXPECT_EQ(red.RowPadding(), 1);
    const uint8_t* p = red.Pixels();
    EXPECT_TRUE(p[0] < 8 && p[1] < 8 && p[2] > 247) << int(p[0]) << " " << int(p[1]) << " " << int(p[2]);
    // Not shown: grayscale, CMYK, a PNG, a text.
    ASSERT_TRUE(pictures.convert("pattern.ppm -colorspace Gray gray.jpg"));
    ASSERT_TRUE(pictures.convert("pattern.ppm -colorspace CMYK cmyk.jpg"));
    ASSERT_TRUE(pictures.convert("pattern.ppm photo.png"));
    pictures.write("text.jpg", "not a picture");
    for (const char* name : {"gray.jpg", "cmyk.jpg", "photo.png", "text.jpg", "missing.jpg"}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ImageJPEG(pictures.at(name), kScreen).IsValid()) << name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "quietly: " << name;
    }
}

TEST_F(ImageJPEGTest, ScaledToTheScreenWidth) {
    ASSERT_TRUE(pictures.convert("-size 16x16 gradient:red-blue small.jpg"));
    ASSERT_TRUE(pictures.convert("-size 4000x3000 xc:orange -quality 30 landscape.jpg"));
    ASSERT_TRUE(pictures.convert("-size 3000x4000 xc:orange -quality 30 portrait.jpg"));
    const ImageJPEG small(pictures.at("small.jpg"), {640, 480});
    EXPECT_TRUE(small.IsValid() && small.Width() == 16 && small.ScaleDenominator() == 1);
    const ImageJPEG landscape(pictures.at("landscape.jpg"), {1024, 768});
    EXPECT_TRUE(landscape.IsValid() && landscape.ScaleDenominator() == 4);
    EXPECT_TRUE(landscape.Width() == 1000 && landscape.Height() == 750);
    // The decode asks now and then whether to go on, and stops when told.
    int asked = 0;
    const ImageJPEG polled(pictures.at("landscape.jpg"), {1024, 768, [&asked] { return ++asked > 0; }});
    EXPECT_TRUE(polled.IsValid());
    EXPECT_GT(asked, 10);
    EXPECT_FALSE(ImageJPEG(pictures.at("landscape.jpg"), {1024, 768, [] { return false; }}).IsValid());
    // 750 x 1000 is taller than the screen and never drawn: not decoded.
    const ImageJPEG portrait(pictures.at("portrait.jpg"), {1024, 768});
    EXPECT_TRUE(!portrait.IsValid() && portrait.ScaleDenominator() == 4);
    EXPECT_TRUE(portrait.Width() == 750 && portrait.Height() == 1000);
    // A header claiming 65500 x 65500 is refused from the header.
    std::string giant = pictures.read("small.jpg");
    const size_t sof = markerAt(giant, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    giant[sof + 5] = giant[sof + 7] = '\xFF', giant[sof + 6] = giant[sof + 8] = '\xDC';
    const ImageJPEG refused = decoded(giant);
    EXPECT_TRUE(!refused.IsValid() && refused.ScaleDenominator() == 8 && refused.Width() == 8188);
    // 15000 x 8000 progressive fits at 1/8, but its coefficients need too much memory.
    ASSERT_TRUE(pictures.convert("pattern.ppm -interlace Plane progressive.jpg"));
    std::string large = pictures.read("progressive.jpg");
    const size_t sof2 = markerAt(large, 0xC2);
    ASSERT_NE(sof2, std::string::npos);
    large[sof2 + 5] = '\x1F', large[sof2 + 6] = '\x40', large[sof2 + 7] = '\x3A', large[sof2 + 8] = '\x98';
    const ImageJPEG tooLarge = decoded(large, {1920, 1080});
    EXPECT_TRUE(tooLarge.Width() == 1875 && !tooLarge.IsValid());
    // The same file, truncated as it is, at a size the memory allows.
    large[sof2 + 5] = '\x0F', large[sof2 + 6] = '\xA0', large[sof2 + 7] = '\x0B', large[sof2 + 8] = '\xB8';
    EXPECT_TRUE(decoded(large, {1920, 1080}).IsValid()) << "4000 x 3000";
}

TEST_F(ImageJPEGTest, TruncatedCorruptAndEndlessFiles) {
    pictures.pattern("small.ppm", 16, 12);
    ASSERT_TRUE(pictures.convert("small.ppm -quality 80 small.jpg"));
    ASSERT_TRUE(pictures.convert("small.ppm -quality 80 -interlace Plane small-progressive.jpg"));
    for (const char* name : {"small.jpg", "small-progressive.jpg"}) {
        const std::string whole = pictures.read(name);
        for (size_t n = 0; n < whole.size(); ++n) {
            const ImageJPEG part = decoded(whole.substr(0, n));
            ASSERT_TRUE(!part.IsValid() || (part.Width() == 16 && part.PixelBytes() == 16u * 3 * 12))
                << name << " " << n;
        }
    }
    ASSERT_TRUE(pictures.convert("pattern.ppm -quality 80 baseline.jpg"));
    ASSERT_TRUE(pictures.convert("pattern.ppm -quality 80 -interlace Plane progressive.jpg"));
    // Every byte of the entropy-coded data spoilt in turn.
    const std::string whole = pictures.read("baseline.jpg");
    const size_t data = markerAt(whole, 0xDA) + 14;
    for (size_t i = data; i + 2 < whole.size(); i += 11) {
        std::string spoilt = whole;
        spoilt[i] = static_cast<char>(~spoilt[i]);
        const ImageJPEG image = decoded(spoilt);
        ASSERT_TRUE(!image.IsValid() || image.PixelBytes() == 64u * 3 * 40) << i;
    }
    // The first scan of a progressive file repeated thousands of times.
    const std::string progressive = pictures.read("progressive.jpg");
    const size_t sos = markerAt(progressive, 0xDA), end = scanEnd(progressive, sos);
    std::string endless = progressive.substr(0, end);
    for (int i = 0; i < 3000; ++i) endless += progressive.substr(sos, end - sos);
    endless += "\xFF\xD9";
    EXPECT_FALSE(decoded(endless).IsValid());
}

// A FIFO moved over a picture after the folder was listed is not waited on,
// by either reader; a file with megabytes of nothing before its picture (a
// sparse file of gigabytes that starts with a JPEG marker) is given up
// after a bounded read, not read to its end at every visit.
TEST_F(ImageJPEGTest, FifosAndEndlessGapsAreNotRead) {
    ASSERT_EQ(::mkfifo(pictures.at("pipe.jpg").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(pictures.at("pipe.bmp").c_str(), 0644), 0);
    // Opened for writing here and never written: a reader would wait for ever.
    const int writer = ::open(pictures.at("pipe.jpg").c_str(), O_RDWR | O_NONBLOCK);
    EXPECT_EQ(runForked([&] {
                  ::alarm(60);
                  return ImageJPEG(pictures.at("pipe.jpg"), kScreen).IsValid() ||
                         ImageBMP(pictures.at("pipe.bmp"), kScreen).IsValid();
              }),
              0);
    ::close(writer);

    ASSERT_TRUE(pictures.convert("pattern.ppm -quality 80 baseline.jpg"));
    const std::string whole = pictures.read("baseline.jpg");
    EXPECT_TRUE(decoded(whole.substr(0, 2) + std::string(4096, '\0') + whole.substr(2)).IsValid());
    {
        std::ofstream gap(pictures.at("gap.jpg"), std::ios::binary);
        gap << whole.substr(0, 2);
        gap.seekp(std::streamoff{40} << 20);
        gap << whole.substr(2);
    }
    EXPECT_FALSE(ImageJPEG(pictures.at("gap.jpg"), kScreen).IsValid());
}

TEST_F(ImageJPEGTest, WarningsGoToTheTraceLog) {
    TempFolder traces;
    const EnvOverride folder("QUORTEMP", traces.path().c_str());
    gApp.setTraceOn(true);
    ASSERT_TRUE(pictures.convert("pattern.ppm baseline.jpg"));
    const std::string whole = pictures.read("baseline.jpg");
    testing::internal::CaptureStderr();
    const ImageJPEG cut = decoded(whole.substr(0, whole.size() / 2));
    const ImageJPEG junk = decoded(whole.substr(0, 200) + std::string(50, '\xFF') + "\x12");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    gApp.setTraceOn(false);
    EXPECT_TRUE(cut.IsValid()) << "what decoded is shown";
    const std::string log = traces.read("trace.txt");
    EXPECT_NE(log.find("ImageJPEG"), std::string::npos) << log;
    EXPECT_NE(log.find("Premature end of JPEG file"), std::string::npos) << log;
}
