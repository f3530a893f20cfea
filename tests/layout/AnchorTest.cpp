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
    // A point: the same point for every input.
    const auto point = CreateAnchor(random, true, chooser({0, 0, 1, 0}));
    point->position(x, y);
    float x2 = -0.9f, y2 = 0.1f;
    point->position(x2, y2);
    EXPECT_TRUE(x == x2 && y == y2 && x != 0.3f);
    const auto centre = CreateAnchor(random, true, chooser({0, 1, 0, 0}));
    centre->position(x, y);
    EXPECT_TRUE(dynamic_cast<AnchorCentered*>(centre.get()) && x == 0.0f && y == 0.0f);
}

TEST(Anchor, FloatingMovesPositionsSmoothlyWithinTheSquare) {
    for (int seed = 1; seed <= 30; ++seed) {
        RandomSource random(seed);
        AnchorFloating anchor(&random);
        const RandomSource after = random;
        bool moved = false, offDiagonal = false;  // x and y float apart
        for (float y0 = -3; y0 <= 3; y0 += 0.5f)
            for (float x0 = -3; x0 <= 3; x0 += 0.5f) {
                float x = x0, y = y0;
                anchor.position(x, y);
                EXPECT_TRUE(x >= -1 && x <= 1 && y >= -1 && y <= 1) << x << "," << y;
                moved = moved || x != x0 || y != y0;
                offDiagonal = offDiagonal || x != y;
                // The same position floats to the same place, near positions
                // to near places.
                float x2 = x0, y2 = y0, x3 = x0 + 1e-4f, y3 = y0;
                anchor.position(x2, y2);
                anchor.position(x3, y3);
                EXPECT_TRUE(x2 == x && y2 == y);
                EXPECT_NEAR(x3, x, 0.05f);
            }
        EXPECT_TRUE(moved && offDiagonal);
        // Set up in the constructor: positions draw nothing.
        expectSamePlace(random, after);
    }
}
