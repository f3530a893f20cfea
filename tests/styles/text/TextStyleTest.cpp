#include <ctime>
#include <fstream>
#include <optional>
#include "styles/StyleSupport.h"
#include "styles/text/Text.h"
#include "support/EnvOverride.h"

namespace {

// Cells of w x h in a grid, checkered into two groups.
SubRectList grid(int columns, int rows, int w, int h) {
    SubRectList cells;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            cells.emplace_back(column * w, row * h, w, h, row, column);
            cells.back().computeGroup();
        }
    return cells;
}

// The date texter writes local time: no picture may depend on the time zone.
struct UtcScope {
    std::optional<EnvOverride> tz{std::in_place, "TZ", "UTC"};
    UtcScope() { tzset(); }
    ~UtcScope() { tz.reset(), tzset(); }
};

class TextStyleTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        settings().setUseBlack(0), settings().setMinTime(100), settings().setMaxTime(100);
    }
    void onlyMessage(const std::string& message) {
        settings().setTextDateTime(0), settings().setTextChar(0), settings().setTextRandom(0);
        settings().setTextMessages(100), settings().setMessage(0, message);
    }
    // A text style on a scene laid out as `cells`, filled with the complement of its colour.
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
    // Pixels other than the background in [left, right) x [top, bottom).
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

TEST_F(TextStyleTest, SizeAndPlaceFromTheLayout) {
    SubRectList mixed = grid(2, 1, 100, 100);  // the wide cell is of the other group
    mixed.back().setRect(100, 0, 512, 100);
    EXPECT_EQ(textOn(1024, 768, grid(4, 3, 256, 256))->fontSize(), 9);
    EXPECT_EQ(textOn(1024, 768, mixed)->fontSize(), 18);
    // Checkered: the drawing's group 0 gets the text in every cell, the other none.
    onlyMessage("Quorvane");
    auto text = textOn(640, 480, grid(4, 3, 160, 160));
    ASSERT_EQ(text->group(), 0);
    text->step();
    EXPECT_TRUE(text->isDone()) << "one step walks every cell";
    for (const SubRect& r : scene->subRects())
        EXPECT_EQ(inkIn(r, 3) > 50, r.group() == 0) << "cell at " << r.left() << "," << r.top();
    // Cells from too low to a little higher than the text, with gaps: the
    // baseline lies at least the text's height below the top of the cell, so
    // capitals stay inside every cell, while descenders reach below the
    // cells that are just high enough.
    SubRectList column;
    for (int h = 10, top = 0; h < 30; top += h + 8, ++h) column.emplace_back(0, top, 200, h, 0, 0);
    const auto inkInsideAndAll = [&](const char* message) {
        onlyMessage(message);
        for (int i = 1; i < Settings::kMessageCount; ++i) settings().setMessage(i, "");
        text.reset();
        text = textOn(640, 560, column);
        text->step();
        int inside = 0;
        for (const SubRect& r : scene->subRects()) inside += inkIn(r);
        EXPECT_GT(inside, 100) << message;
        return std::pair{inside, inkIn(0, 0, 640, 560)};
    };
    const auto [capitalsInside, capitals] = inkInsideAndAll("HIEFT");
    EXPECT_EQ(capitalsInside, capitals);
    const auto [descendersInside, descenders] = inkInsideAndAll("gjpqy,");
    EXPECT_LT(descendersInside, descenders);
    // Cells too small: once on the screen; a screen too small: not at all.
    for (const auto& [w, h, inked] : {std::tuple{640, 480, true}, {60, 30, false}}) {
        if (!inked) onlyMessage("Quorvane writes far too much for this");
        text.reset();
        text = textOn(w, h, grid(3, 3, 20, 10));
        text->step();
        EXPECT_TRUE(text->isDone() && (inkIn(0, 0, w, h) > 50) == inked) << w;
        EXPECT_TRUE(inked || inkIn(0, 0, w, h) == 0);
    }
}

TEST_F(TextStyleTest, NoFontEndsTheDrawingUndrawn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto noFonts = [this] {
        TempFolder fonts;  // fontconfig reads its configuration once: a child of its own
        const auto config = fonts.path() / "fonts.conf";
        std::ofstream(config) << "<fontconfig><dir>" << fonts.path().string() << "</dir></fontconfig>";
        ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
        auto text = textOn(320, 240, grid(2, 2, 160, 120));
        const uint64_t before = pictureHash(scene->surface());
        text->step();
        return text->isDone() && pictureHash(scene->surface()) == before ? 0 : 1;
    };
    EXPECT_EXIT(std::exit(noFonts()), testing::ExitedWithCode(0), "");
}

// Twelve drawings through the scene's cycle: seed and depth decide, the date in UTC.
TEST_F(TextStyleTest, GoldenPictures) {
    const UtcScope utc;
    static constexpr StyleMaker kTextOnly[] = {{5, "Text", makeSaver<Text>}};
    const StyleMakersScope textOnly{kTextOnly};
    GoldenFile golden("text.txt");
    settings().setMinTime(1), settings().setMaxTime(2), settings().setUseBlack(50),
        settings().setQuorSpel(50);
    settings().setMessage(0, "Quorvane"), settings().setMessage(1, "Hello, world");
    for (const int depth : {32, 8}) {
        settings().setUseAnimation(depth == 8), settings().setAnimation(depth == 8 ? 100 : 0);
        for (const int seed : {1, 2, 3}) {
            scene.reset();
            useFreshClock();
            gApp.rand.seed(seed);
            create(640, 480, depth);
            MSG m;
            while (scene->drawingCount() < 12 && GetMessage(&m)) DispatchMessage(&m);
            golden.check("text_" + std::to_string(depth) + "bit_seed" + std::to_string(seed),
                         scene->surface());
        }
    }
}
