#include "styles/StyleSupport.h"
#include "styles/image/Bitmap.h"
#include "styles/image/ImageSupport.h"

namespace {

// A 24-bit bitmap of w x h whose pixel (x, y), y from the top, is colour(x, y).
std::string bitmapOf(int w, int h, const std::function<COLORREF(int, int)>& colour) {
    BmpFields f;
    f.width = w, f.height = h;
    const size_t stride = dibRowBytes(w, 24);
    for (int row = 0; row < h; ++row) {
        std::string bytes(stride, '\0');
        for (int x = 0; x < w; ++x) {
            const COLORREF c = colour(x, h - 1 - row);
            bytes[3 * size_t(x)] = static_cast<char>(GetBValue(c));
            bytes[3 * size_t(x) + 1] = static_cast<char>(GetGValue(c));
            bytes[3 * size_t(x) + 2] = static_cast<char>(GetRValue(c));
        }
        f.body += bytes;
    }
    return f.bytes();
}

// Memory row y (from the bottom), column x: red 20x, green 20y, blue 100.
COLORREF gridColour(int x, int yFromTop, int h) { return RGB(20 * x, 20 * (h - 1 - yFromTop), 100); }

constexpr StyleMaker kBitmapOnly[] = {{13, "Bitmap", makeSaver<Bitmap>}};

class BitmapStyleTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        gApp.setTimeLastImage(0);
        settings().setImagePause(2);
    }
    void TearDown() override {
        gApp.setTimeLastImage(0);
        SceneTest::TearDown();
    }
    std::string put(const std::string& name, const std::string& bytes) {
        pictures.write(name, bytes);
        return pictures.at(name);
    }
    // Where the picture shows on the scene's surface.
    std::vector<POINT> placesOf(const Image& image) {
        const std::string rgb = shownRgb(image);
        std::vector<POINT> found;
        const CSurface& s = scene->surface();
        for (int y = 0; y + image.Height() <= s.height(); ++y)
            for (int x = 0; x + image.Width() <= s.width(); ++x) {
                bool same = true;
                for (int j = 0; j < image.Height() && same; ++j)
                    for (int i = 0; i < image.Width() && same; ++i) {
                        const uint32_t c = s.at(x + i, y + j);
                        const size_t k = 3 * (size_t(j) * size_t(image.Width()) + size_t(i));
                        same = GetRValue(c) == uint8_t(rgb[k]) && GetGValue(c) == uint8_t(rgb[k + 1]) &&
                               GetBValue(c) == uint8_t(rgb[k + 2]);
                    }
                if (same) found.push_back({x, y});
            }
        return found;
    }
    Pictures pictures;
};

}  // namespace

TEST_F(BitmapStyleTest, NextImageInFolderOrderOrAtRandom) {
    // Folders listed b, none, a missing one, then a/: by path, a's pictures first; not the PNG.
    for (const char* name :
         {"a/x.jpe", "a/y photo é.jpeg", "a/z.png", "b/x.bmp", "b/y photo é.JPG", "b/z.png"}) {
        std::filesystem::create_directories((pictures.path() / name).parent_path());
        pictures.write(name, "x");
    }
    settings().setFolders({pictures.at("b"), "", pictures.at("gone"), pictures.at("a") + "/"});
    settings().setImageOrder(1);
    const StyleMakersScope bitmapOnly{kBitmapOnly};
    create(64, 48);
    paint();
    const std::vector<std::string> expected{pictures.at("a/x.jpe"), pictures.at("a/y photo é.jpeg"),
                                            pictures.at("b/x.bmp"), pictures.at("b/y photo é.JPG")};
    ASSERT_EQ(scene->images(), expected);
    EXPECT_EQ(settings().imageNext(), 1) << "the first drawing showed the first picture";

    // Past the end shows the last; the cursor goes on from what was stored, written at once.
    for (const auto& [stored, shown, next] :
         {std::tuple{9, 3, 2}, {3, 3, 0}, {-5, 0, 0}, {INT32_MAX, 3, 0}}) {
        settings().setImageNext(stored);
        EXPECT_EQ(scene->NextImagePath(), expected[size_t(shown)]) << stored;
        EXPECT_EQ(settings().imageNext(), next) << stored;
        EXPECT_EQ(Settings(platform::ProfileStore(folder.path()), "x").imageNext(), next) << "written";
    }
    // At random: one draw of the application's generator; the cursor stays.
    settings().setImageOrder(0), settings().setImageNext(2);
    RandomSource copy = gApp.rand;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(scene->NextImagePath(), expected[size_t(copy.below(4))]);
    EXPECT_EQ(settings().imageNext(), 2);
    scene->images().clear();
    EXPECT_EQ(scene->NextImagePath(), "");
}

TEST_F(BitmapStyleTest, DecoderByExtension) {
    const std::string bytes = bitmapOf(6, 6, [](int x, int y) { return RGB(x, y, 9); });
    EXPECT_TRUE(dynamic_cast<ImageBMP*>(CreateImage(put("photo.BMP", bytes), {64, 48}).get()));
    EXPECT_TRUE(CreateImage(pictures.at("photo.BMP"), {64, 48})->IsValid());
    EXPECT_TRUE(CreateImage(put("sun set \xE9 \xC3\xA9.bmp", bytes), {64, 48})->IsValid()) << "odd names";
    ASSERT_TRUE(pictures.convert("-size 8x8 xc:red photo.png"));
    const auto png = CreateImage(pictures.at("photo.png"), {64, 48});
    EXPECT_TRUE(dynamic_cast<ImageJPEG*>(png.get()) && !png->IsValid());
    EXPECT_FALSE(CreateImage(pictures.path().string() + "/noextension", {64, 48}));
}

TEST_F(BitmapStyleTest, PaletteOfTwentyFiveBandsFromTheGrid) {
    // 10 x 10: grid points every 2 pixels; the last one's successor, past the picture, is the last row.
    put("grid.bmp", bitmapOf(10, 10, [](int x, int y) { return gridColour(x, y, 10); }));
    const ImageBMP image(pictures.at("grid.bmp"), {64, 48});
    const std::vector<PALETTEENTRY> bands = imageBands(image, 236);
    ASSERT_EQ(bands.size(), 236u);
    const auto is = [](const PALETTEENTRY& e, int r, int g, int b) {
        return e.peRed == r && e.peGreen == g && e.peBlue == b;
    };
    // 24 runs of 9 from each point to the next, the last of 20.
    for (int k = 0; k < 25; ++k) EXPECT_TRUE(is(bands[size_t(9 * k)], 40 * (k % 5), 40 * (k / 5), 100)) << k;
    EXPECT_TRUE(is(bands[4], 20, 0, 100)) << "half way to the next point";
    EXPECT_TRUE(is(bands[8], 40, 0, 100)) << "ends at the next point";
    EXPECT_TRUE(is(bands[44], 0, 40, 100)) << "the end of a row runs to the next row's start";
    EXPECT_TRUE(is(bands[235], 0, 180, 100)) << "the last row";
    EXPECT_EQ(imageBands(image, 256).size(), 256u);
    // Nothing for small or not 24-bit pictures.
    put("small.bmp", bitmapOf(4, 40, [](int, int) { return RGB(1, 2, 3); }));
    EXPECT_TRUE(imageBands(ImageBMP(pictures.at("small.bmp"), {64, 48}), 236).empty());
    ASSERT_TRUE(pictures.convert("-size 20x20 xc:red -type palette BMP3:pal.bmp"));
    EXPECT_TRUE(imageBands(ImageBMP(pictures.at("pal.bmp"), {64, 48}), 236).empty());
}

TEST_F(BitmapStyleTest, ShowsThePictureOnceThenPauses) {
    const std::string path =
        put("a.bmp", bitmapOf(20, 10, [](int x, int y) { return gridColour(x, y, 10); }));
    scene.reset();
    create(64, 48);
    scene->images() = {path};
    scene->dc()->FillRect(scene->clientRect(), RGB(0, 0, 0));
    gApp.settings()->setMinTime(100), gApp.settings()->setMaxTime(100);
    Bitmap bitmap(scene.get());
    const int64_t start = nowMs(), seconds = platform::clock().calendarSeconds();
    bitmap.step();
    const ImageBMP image(path, {64, 48});
    EXPECT_EQ(placesOf(image).size(), 1u);
    EXPECT_TRUE(bitmap.isDone());
    EXPECT_GE(nowMs() - start, 2000) << "the image pause";
    EXPECT_TRUE(gApp.timeLastImage() >= seconds && gApp.timeLastImage() <= seconds + 1)
        << "shown, then paused";
    EXPECT_EQ(scene->bandCount(), 25);

    // Taller than the screen after scaling: not drawn, the time still set.
    ASSERT_TRUE(pictures.convert("-size 300x400 xc:orange tall.jpg"));
    scene->images() = {pictures.at("tall.jpg")};
    scene->dc()->FillRect(scene->clientRect(), RGB(0, 0, 0));
    gApp.setTimeLastImage(0);
    Bitmap(scene.get()).step();
    EXPECT_EQ(scene->surface().at(32, 24) & 0xFFFFFFu, 0u);
    EXPECT_NE(gApp.timeLastImage(), 0);
    // No picture at all: no time.
    gApp.setTimeLastImage(0);
    scene->images() = {pictures.at("gone.bmp")};
    Bitmap(scene.get()).step();
    EXPECT_NE(gApp.timeLastImage(), 0) << "a file that vanished still counts";
    gApp.setTimeLastImage(0);
    scene->images().clear();
    Bitmap empty(scene.get());
    empty.step();
    EXPECT_TRUE(empty.isDone());
    EXPECT_EQ(gApp.timeLastImage(), 0);
}

TEST_F(BitmapStyleTest, GoldenPictures) {
    const StyleMakersScope bitmapOnly{kBitmapOnly};
    GoldenFile golden("bitmap.txt");
    // Three pictures drawn here, so no encoder's version moves the hashes.
    put("rings.bmp", bitmapOf(200, 120, [](int x, int y) {
            const int d = (x - 100) * (x - 100) + (y - 60) * (y - 60);
            return RGB(d / 40 % 256, 255 - x, y * 2);
        }));
    put("stripes.bmp", bitmapOf(160, 160, [](int x, int y) {
            return (x + y) / 16 % 2 ? RGB(250, 200, 30) : RGB(20, 60, 180);
        }));
    put("dusk.bmp", bitmapOf(300, 100, [](int x, int y) { return RGB(255 - y * 2, x * 255 / 300, 90 + y); }));
    settings().setFolders({pictures.path().string()});
    settings().setMinTime(1), settings().setMaxTime(2), settings().setImagePeriod(0);
    for (const int depth : {32, 8}) {
        settings().setUseAnimation(depth == 8), settings().setAnimation(depth == 8 ? 100 : 0);
        for (const int seed : {1, 2, 3}) {
            scene.reset();
            gApp.setTimeLastImage(0);
            useFreshClock();
            gApp.rand.seed(seed);
            create(640, 360, depth);
            MSG m;
            while (scene->drawingCount() < 5 && GetMessage(&m)) DispatchMessage(&m);
            golden.check("bitmap_" + std::to_string(depth) + "bit_seed" + std::to_string(seed),
                         scene->surface());
        }
    }
}
