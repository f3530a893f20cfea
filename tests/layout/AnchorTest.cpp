#include "LayoutSupport.h"
#include "layout/Anchor.h"

TEST(Anchor, PositionsDrawsAndFactory) {
    const auto chooser = [](std::vector<float> w) { return chooserOf(Family::Anchor, w); };
    RandomSource random(8), copy = random;
    float x = 0.3f, y = -0.7f;
    // Not allowed: no anchor, and no draw whatever the weights.
    CreateAnchor(random, false, chooser({0, 0, 1, 0}))->position(x, y);
    EXPECT_TRUE(x == 0.3f && y == -0.7f);
    expectSamePlace(random, copy);
    // A point: the choice, then x, then y; the same point for every input.
    const auto point = CreateAnchor(random, true, chooser({0, 0, 1, 0}));
    copy.next();
    const float px = static_cast<float>(copy.signedUniform()), py = static_cast<float>(copy.signedUniform());
    point->position(x, y);
    EXPECT_TRUE(x == px && y == py);
    // The centre spends the point's two draws.
    const auto centre = CreateAnchor(random, true, chooser({0, 1, 0, 0}));
    copy.next(), copy.next(), copy.next();
    expectSamePlace(random, copy);
    centre->position(x, y);
    EXPECT_TRUE(dynamic_cast<AnchorCentered*>(centre.get()) && x == 0.0f && y == 0.0f);
    // The floating anchor is left out: alone it gives no anchor, with one draw.
    EXPECT_NE(dynamic_cast<AnchorNone*>(CreateAnchor(random, true, chooser({0, 0, 0, 1})).get()), nullptr);
    copy.next();
    expectSamePlace(random, copy);
    const ChooserSet mixed = chooser({0, 1, 0, 1000});
    for (int i = 0; i < 100; ++i)
        EXPECT_NE(dynamic_cast<AnchorCentered*>(CreateAnchor(random, true, mixed).get()), nullptr);
}
