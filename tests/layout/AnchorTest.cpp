#include <gtest/gtest.h>

#include "LayoutSupport.h"
#include "engine/ChooserSet.h"
#include "layout/Anchor.h"

namespace {

// A chooser set whose anchor row has the given weights (none, centred,
// point, floating).
ChooserSet anchorWeights(const std::vector<float>& weights) {
    ChooserSet set;
    set.chooser(Family::Anchor).build(weights, true);
    return set;
}

template <class T>
bool made(const std::unique_ptr<Anchor>& a) {
    return dynamic_cast<T*>(a.get()) != nullptr;
}

}  // namespace

TEST(Anchor, PositionsAndDraws) {
    RandomSource random(31);
    RandomSource copy = random;
    float x = 0.3f, y = -0.7f;
    AnchorNone(&random).position(x, y);
    EXPECT_EQ(x, 0.3f);
    EXPECT_EQ(y, -0.7f);

    AnchorPoint point(&random);
    const float px = static_cast<float>(copy.signedUniform());
    const float py = static_cast<float>(copy.signedUniform());
    point.position(x, y);
    EXPECT_EQ(x, px);
    EXPECT_EQ(y, py);
    x = 5.0f, y = 5.0f;
    point.position(x, y);  // the same point whatever comes in
    EXPECT_EQ(x, px);
    EXPECT_EQ(y, py);

    // The centred anchor spends the point's two draws and gives the centre.
    AnchorCentered centre(&random);
    copy.next(), copy.next();
    expectSamePlace(random, copy);
    centre.position(x, y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
}

TEST(Anchor, FactoryHonoursAllowedAndLeavesFloatingOut) {
    RandomSource random(8);
    RandomSource copy = random;
    // Not allowed: nothing drawn, whatever the weights.
    EXPECT_TRUE(made<AnchorNone>(CreateAnchor(random, false, anchorWeights({0, 0, 1, 0}))));
    expectSamePlace(random, copy);

    EXPECT_TRUE(made<AnchorNone>(CreateAnchor(random, true, anchorWeights({1, 0, 0, 0}))));
    EXPECT_TRUE(made<AnchorCentered>(CreateAnchor(random, true, anchorWeights({0, 1, 0, 0}))));
    copy = random;
    const auto point = CreateAnchor(random, true, anchorWeights({0, 0, 1, 0}));
    EXPECT_TRUE(made<AnchorPoint>(point) && !made<AnchorCentered>(point));
    copy.uniform();
    float x = 0, y = 0;
    point->position(x, y);
    EXPECT_EQ(x, static_cast<float>(copy.signedUniform()));
    EXPECT_EQ(y, static_cast<float>(copy.signedUniform()));
    expectSamePlace(random, copy);

    // The floating anchor alone: no anchor, with one draw.
    copy = random;
    EXPECT_TRUE(made<AnchorNone>(CreateAnchor(random, true, anchorWeights({0, 0, 0, 1}))));
    copy.uniform();
    expectSamePlace(random, copy);
    const ChooserSet mixed = anchorWeights({0, 1, 0, 1000});
    for (int i = 0; i < 100; ++i) EXPECT_TRUE(made<AnchorCentered>(CreateAnchor(random, true, mixed)));
}
