#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "engine/SceneSupport.h"
#include "platform/PngWriter.h"
#include "styles/text/Text.h"
#include "support/EnvOverride.h"

namespace {

constexpr StyleMaker kTextOnly[] = {{5, "Text", makeSaver<Text>}};

// Cells of w x h in a grid of the given columns and rows, checkered into
// two groups.
SubRectList grid(int columns, int rows, int w, int h) {
    SubRectList cells;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            cells.emplace_back(column * w, row * h, w, h, row, column);
            cells.back().computeGroup();
        }
    return cells;
}

uint64_t hashOf(const CSurface& s) {
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](uint32_t v) { h = (h ^ v) * 1099511628211ull; };
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) mix(s.at(x, y));
    for (uint32_t c : CDisplay::instance().hardwarePalette()) mix(c);
    return h;
}

// The date texter writes local time: the pictures must not depend on the
// machine's time zone.
class UtcScope {
public:
    UtcScope() { tzset(); }
    ~UtcScope() {
        m_tz.reset();
        tzset();
    }

private:
    std::unique_ptr<EnvOverride> m_tz = std::make_unique<EnvOverride>("TZ", "UTC");
};

class TextStyleTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        settings().setUseBlack(0);
        settings().setMinTime(100);
        settings().setMaxTime(100);
    }
    // Only messages, with the given one.
    void onlyMessage(const std::string& message) {
        settings().setTextDateTime(0);
        settings().setTextChar(0);
        settings().setTextRandom(0);
        settings().setTextMessages(100);
        settings().setMessage(0, message);
    }
    // A scene whose layout is `cells`, its surface filled with a colour far
    // from the text's.
    std::unique_ptr<Text> textOn(int w, int h, SubRectList cells) {
        create(w, h);
        scene->subRects() = std::move(cells);
        auto text = std::make_unique<Text>(scene.get());
        CDC& dc = *scene->dc();
        dc.SetPixel(0, 0, text->baseColor().colorRef());
        m_background = ~dc.GetPixel(0, 0) & 0xFFFFFFu;
        dc.FillRect(scene->clientRect(), m_background);
        return text;
    }
    // Pixels other than the background within [left, right) x [top, bottom).
    int inkIn(int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, scene->height()); ++y)
            for (int x = std::max(left, 0); x < std::min(right, scene->width()); ++x)
                n += (scene->surface().at(x, y) & 0xFFFFFFu) != m_background;
        return n;
    }
    int inkIn(const SubRect& r, int margin = 0) const {
        return inkIn(r.left() + margin, r.top() + margin, r.left() + r.width() - margin,
                     r.top() + r.height() - margin);
    }

    COLORREF m_background = 0;
};

}  // namespace

TEST_F(TextStyleTest, FontSizeFromTheWidestCellOfAnyGroup) {
    EXPECT_EQ(textOn(1024, 768, grid(4, 3, 256, 256))->fontSize(), 9);
    EXPECT_EQ(textOn(1024, 768, grid(1, 1, 1024, 768))->fontSize(), 36);
    EXPECT_EQ(textOn(1024, 768, grid(1, 1, 100, 768))->fontSize(), 8);
    SubRectList mixed = grid(2, 1, 100, 100);  // groups 1 and 0
    mixed.back().setRect(100, 0, 512, 100);
    EXPECT_EQ(textOn(1024, 768, std::move(mixed))->fontSize(), 18);
}

TEST_F(TextStyleTest, EveryCellOfTheGroupElseOnceOnTheWholeScreen) {
    onlyMessage("Quorvane");
    // A checkered layout: the drawing's group is 0, the other cells stay
    // empty.
    auto text = textOn(640, 480, grid(4, 3, 160, 160));
    ASSERT_EQ(text->group(), 0);
    text->step();
    EXPECT_TRUE(text->isDone()) << "one step walks every cell";
    for (const SubRect& r : scene->subRects()) {
        EXPECT_EQ(inkIn(r, 3) > 50, r.group() == 0) << "cell at " << r.left() << "," << r.top();
    }

    // Cells from too low to a little higher than the text, with gaps between
    // them: descenders too stay inside, even where the cell is just high
    // enough.
    onlyMessage("gjpqy,");
    SubRectList column;
    for (int h = 10, top = 0; h < 30; top += h + 8, ++h) column.emplace_back(0, top, 200, h, 0, 0);
    text.reset();
    text = textOn(640, 560, column);
    text->step();
    int inside = 0;
    for (const SubRect& r : scene->subRects()) {
        inside += inkIn(r);
        EXPECT_EQ(inkIn(0, r.top() + r.height(), 640, r.top() + r.height() + 8), 0)
            << "below the cell at " << r.top();
    }
    EXPECT_EQ(inside, inkIn(0, 0, 640, 560));

    // Cells too small for the text: it is written once on the screen.
    text.reset();
    text = textOn(640, 480, grid(3, 3, 20, 10));
    text->step();
    EXPECT_TRUE(text->isDone());
    EXPECT_GT(inkIn(0, 0, 640, 480), 50);

    // Nor on the screen: nothing at all, and the drawing ends.
    onlyMessage("Quorvane writes far too much for this");
    text.reset();
    text = textOn(60, 30, grid(3, 3, 20, 10));
    text->step();
    EXPECT_TRUE(text->isDone());
    EXPECT_EQ(inkIn(0, 0, 60, 30), 0);
}

TEST_F(TextStyleTest, TheDateIsNeverMisspelled) {
    const UtcScope utc;
    const auto picture = [this](int quorSpel) {
        settings().setQuorSpel(quorSpel);
        useFreshClock();
        gApp.rand.seed(7);
        auto text = textOn(320, 240, grid(2, 2, 160, 120));
        text->step();
        EXPECT_GT(inkIn(0, 0, 320, 240), 100);
        return hashOf(scene->surface());
    };
    settings().setTextChar(0);
    settings().setTextRandom(0);
    settings().setTextMessages(0);
    EXPECT_EQ(picture(100), picture(0));
    // A message under the same draws is changed (and the draws after it move).
    onlyMessage("mmmm nnnn mmmm nnnn");
    EXPECT_NE(picture(100), picture(0));
}

TEST_F(TextStyleTest, NoFontMeansNoDrawing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto noFonts = [this] {
        TempFolder fonts;
        const auto config = fonts.path() / "fonts.conf";
        std::ofstream(config) << "<fontconfig><dir>" << fonts.path().string()
                              << "</dir></fontconfig>\n";
        ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
        onlyMessage("Quorvane");
        auto text = textOn(320, 240, grid(2, 2, 160, 120));
        const uint64_t before = hashOf(scene->surface());
        text->step();
        return text->isDone() && hashOf(scene->surface()) == before ? 0 : 1;
    };
    EXPECT_EXIT(std::exit(noFonts()), testing::ExitedWithCode(0), "");
}

// Whole runs of the text style through the scene's drawing cycle, as
// pictures whose hashes are kept in tests/golden/text.txt. A run is a
// function of the seed and the depth: the simulated clock, the date in UTC,
// the Liberation faces. QV_UPDATE_GOLDEN=1 rewrites the file.
TEST_F(TextStyleTest, GoldenPictures) {
    const UtcScope utc;
    const StyleMakersScope textOnly{kTextOnly};
    const auto golden = std::filesystem::path(__FILE__).parent_path().parent_path() / "golden" / "text.txt";
    std::map<std::string, std::string> expected;
    {
        std::ifstream in(golden);
        std::string name, hash;
        while (in >> name >> hash) expected[name] = hash;
    }
    const bool update = std::getenv("QV_UPDATE_GOLDEN") != nullptr;
    settings().setMinTime(1);
    settings().setMaxTime(2);
    settings().setUseBlack(50);
    settings().setQuorSpel(50);
    settings().setMessage(0, "Quorvane");
    settings().setMessage(1, "Hello, world");
    std::map<std::string, std::string> actual;
    for (const int depth : {32, 8}) {
        settings().setUseAnimation(depth == 8);
        settings().setAnimation(depth == 8 ? 100 : 0);
        for (const int seed : {1, 2, 3}) {
            scene.reset();
            useFreshClock();
            gApp.rand.seed(seed);
            create(640, 480, depth);
            MSG m;
            while (scene->drawingCount() < 12 && GetMessage(&m)) DispatchMessage(&m);
            const std::string name = "text_" + std::to_string(depth) + "bit_seed" + std::to_string(seed);
            std::ostringstream hash;
            hash << std::hex << hashOf(scene->surface());
            actual[name] = hash.str();
            if (update || expected[name] == hash.str()) continue;
            const auto png = std::filesystem::absolute(name + ".png");
            writePng(scene->surface(), CDisplay::instance().hardwarePalette(), png.string());
            ADD_FAILURE() << name << ": hash " << hash.str() << ", expected " << expected[name]
                          << "; the picture is in " << png.string();
        }
    }
    if (update) {
        std::ofstream out(golden);
        for (const auto& [name, hash] : actual) out << name << ' ' << hash << '\n';
    }
}
