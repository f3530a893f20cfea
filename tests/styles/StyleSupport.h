#pragma once
// What the style tests share: default choosers, fresh scenes, goldens and input mid-step.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Settings.h"
#include "layout/Range.h"
#include "platform/ProfileStore.h"
#include "scene/ChooserTables.h"
#include "styles/line/Line.h"
#include "support/CleanDisplay.h"
#include "support/GoldenImages.h"
#include "support/SceneSupport.h"
#include "support/SurfacePixels.h"
#include "support/TempFolder.h"

// The choosers of default settings on a display of the given kind.
struct DefaultChoosers {
    explicit DefaultChoosers(bool trueColor = true) {
        buildChooserTables(set, settings, DisplayFacts{trueColor, true});
    }
    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody"};
    ChooserSet set;
};

// The segments a liner or a draw command gives (at most `limit`).
struct Segment {
    float x1, y1, x2, y2;
};
template <class Source>
std::vector<Segment> segmentsOf(Source& source, Saver& saver, Line& line, int limit = 100000) {
    std::vector<Segment> out;
    Segment s{};
    while (static_cast<int>(out.size()) < limit && source.next(saver, line, s.x1, s.y1, s.x2, s.y2))
        out.push_back(s);
    return out;
}

// An outline whose every row runs from `from` to `to`.
class FixedRows : public Range {
public:
    FixedRows(float from, float to) : m_from(from), m_to(to) {}
    float left(float) override { return m_from; }
    float right(float) override { return m_to; }

private:
    float m_from, m_to;
};

class StyleTest : public SceneTest {
protected:
    void TearDown() override {
        SceneTest::TearDown();
        cleanDisplay();
    }
    // A fresh w x h scene of `depth` bits from `seed`, its layout made.
    void fresh(int w, int h, int seed, int depth = 32, platform::HeadlessOptions options = {},
               bool freshLayout = false) {
        cleanDisplay();
        gApp.rand.seed(seed);
        create(w, h, depth, std::move(options));
        gApp.rand.seed(seed);
        scene->newLayout(freshLayout);
    }
    template <class S>
    std::unique_ptr<S> make(int w, int h, int seed, int depth = 32, platform::HeadlessOptions options = {}) {
        fresh(w, h, seed, depth, std::move(options));
        return std::make_unique<S>(scene.get());
    }
    // Steps until the style is done (or `steps` steps).
    static void finish(Saver& s, int steps = 1000000) {
        for (int i = 0; i < steps && !s.isDone(); ++i) s.step();
    }
    // Member `index` of the `count` of `family` the only choice.
    void onlyMember(Family family, int count, int index) {
        std::vector<float> weights(static_cast<size_t>(count), 0.0f);
        weights[static_cast<size_t>(index)] = 1.0f;
        settings().choosers().chooser(family).build(weights, true);
    }
    // One cell, the whole screen, with a rectangular outline.
    void wholeScreenLayout() {
        Settings& s = settings();
        s.setLayoutEven(0), s.setLayoutBar(0), s.setLayoutLimn(0), s.setLayoutFullScreen(100);
        s.setLayoutShrinkRandom(0), s.setLayoutShrinkEven(0);
        s.setLayoutCircle(0), s.setLayoutTriangle(0), s.setLayoutSlant(0), s.setLayoutWavy(0);
    }
    // A clock moving `us` microseconds a reading, once per position: the positions per second.
    void useCoarseClock(int64_t us) {
        clockScope.reset();
        auto c = std::make_unique<platform::SimulatedClock>(us);
        clock = c.get();
        clockScope = std::make_unique<platform::ScopedClock>(std::move(c));
    }
    // Options that post a message at the idle test numbered `nextPost`, if `before` agrees.
    platform::HeadlessOptions posting(std::function<bool()> before = [] { return true; }) {
        pumps = 0;
        platform::HeadlessOptions options;
        options.onTime = [this, before](int64_t) {
            if (++pumps == nextPost && scene && before()) scene->PostMessage(WM_USER);
        };
        return options;
    }
    // Steps `s` to its end, `each` after every break by input, the next `gap` tests on; the breaks.
    int stepThroughInput(Saver& s, const std::function<void()>& each, int gap = 300) {
        int breaks = 0;
        for (int i = 0; i < 100000 && !s.isDone() && breaks < 1000; ++i) {
            s.step();
            if (!platform::messageQueued()) continue;
            each();
            platform::resetMessageQueue();
            nextPost = pumps + gap;
            ++breaks;
        }
        return breaks;
    }
    // `make(options)` drawn to its end, then again with a message posted at the 200th idle test
    // and every 300 after a break; `stopped(style, x)` at each break in the row of the post, x
    // where the style stood at it. The first drawing's pixels and the breaks.
    template <class S, class Make>
    std::pair<std::vector<uint32_t>, int> drawThroughInput(Make make,
                                                           const std::function<void(S&, float)>& stopped) {
        finish(*make(platform::HeadlessOptions{}));
        const std::vector<uint32_t> undisturbed = pixels();
        S* s = nullptr;
        float postedX = 0, postedY = 0;
        nextPost = 200;
        auto interrupted = make(posting([&] {
            if (s) postedX = static_cast<float>(s->x()), postedY = static_cast<float>(s->y());
            return s != nullptr;
        }));
        s = interrupted.get();
        const int breaks = stepThroughInput(*s, [&] {
            if (static_cast<float>(s->y()) == postedY) stopped(*s, postedX);
        });
        return {undisturbed, breaks};
    }
    // The picture `draw(plain)` leaves is the same on the fast and the plain paths.
    void expectPlainPathAlike(const std::function<void(bool plain)>& draw, const std::string& what) {
        draw(false);
        const uint64_t fast = hash();
        draw(true);
        EXPECT_EQ(hash(), fast) << what;
    }
    // Seeds 1 to 3 in each depth, checked as "<prefix><depth>bit_seed<seed>".
    void goldenSeeds(GoldenFile& golden, const std::string& prefix, std::vector<int> depths,
                     const std::function<void(int seed, int depth)>& draw) {
        for (int depth : depths)
            for (int seed = 1; seed <= 3; ++seed) {
                draw(seed, depth);
                golden.check(prefix + std::to_string(depth) + "bit_seed" + std::to_string(seed),
                             scene->surface());
            }
    }
    uint64_t hash() const { return pictureHash(scene->surface()); }
    std::vector<uint32_t> pixels() const { return surfacePixels(scene->surface()); }

    int pumps = 0, nextPost = 0;
};
