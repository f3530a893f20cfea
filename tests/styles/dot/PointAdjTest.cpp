#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <typeinfo>

#include "engine/RandomSource.h"
#include "styles/dot/PointAdj.h"
#include "support/Choosers.h"

namespace {

struct Moved {
    float x;
    float y;
};

Moved adjusted(PointAdj& adj, float x, float y) {
    adj.adjust(x, y);
    return {x, y};
}

}  // namespace

TEST(PointAdjFactory, EachIndexMakesItsMemberAndOnlyTheTurnDraws) {
    const char* names[] = {"PointAdjNone",    "PointAdj3D",     "PointAdjDepolar", "PointAdjExplode",
                           "PointAdjImplode", "PointAdjSphere", "PointAdjFisheye"};
    for (int i = 0; i < 7; ++i) {
        std::vector<float> w(7, 0.0f);
        w[static_cast<size_t>(i)] = 1.0f;
        const ChooserSet set = chooserOf(Family::PointAdj, w);
        RandomSource r(11), expected(11);
        auto adj = CreatePointAdj(r, set);
        const PointAdj& ref = *adj;
        EXPECT_NE(std::string(typeid(ref).name()).find(names[i]), std::string::npos) << i;
        expected.uniform();  // the chooser's draw
        if (i == 1)
            for (int k = 0; k < 3; ++k) expected.uniform();
        expectSamePlace(r, expected);
    }
    RandomSource r(3);
    auto other = MakePointAdj(9, r);
    const PointAdj& ref = *other;
    EXPECT_EQ(typeid(ref), typeid(PointAdjNone));
    EXPECT_STREQ(PointAdjName(-1), "PointAdjNone");
}

TEST(PointAdjFactory, DefaultWeightsShareTheDraws) {
    const ChooserSet set = chooserOf(Family::PointAdj, {200, 200, 50, 50, 50, 50, 50});
    RandomSource r(5);
    int none = 0, turn = 0, total = 20000;
    for (int i = 0; i < total; ++i) {
        auto adj = CreatePointAdj(r, set);
        const PointAdj& ref = *adj;
        if (typeid(ref) == typeid(PointAdjNone)) ++none;
        if (typeid(ref) == typeid(PointAdj3D)) ++turn;
    }
    EXPECT_NEAR(none / double(total), 200.0 / 650, 0.015);
    EXPECT_NEAR(turn / double(total), 200.0 / 650, 0.015);
}

TEST(PointAdjMembers, KnownPoints) {
    RandomSource r(1);
    PointAdjNone none(r);
    EXPECT_FLOAT_EQ(adjusted(none, 0.3f, -0.7f).x, 0.3f);

    PointAdjDepolar depolar(r);
    Moved m = adjusted(depolar, 1, -1);  // angle 0
    EXPECT_NEAR(m.x, 1, 1e-6);
    EXPECT_NEAR(m.y, 0, 1e-6);
    m = adjusted(depolar, 0.5f, -0.5f);  // a quarter turn, y negated
    EXPECT_NEAR(m.x, 0, 1e-6);
    EXPECT_NEAR(m.y, -0.5f, 1e-6);
    m = adjusted(depolar, 0, 0.4f);  // radius 0 is the centre
    EXPECT_FLOAT_EQ(m.x, 0);
    EXPECT_FLOAT_EQ(std::fabs(m.y), 0);

    PointAdjExplode explode(r);
    PointAdjImplode implode(r);
    m = adjusted(explode, 0.25f, -0.25f);
    EXPECT_FLOAT_EQ(m.x, 0.5f);
    EXPECT_FLOAT_EQ(m.y, -0.5f);
    m = adjusted(implode, m.x, m.y);  // the two undo each other
    EXPECT_FLOAT_EQ(m.x, 0.25f);
    EXPECT_FLOAT_EQ(m.y, -0.25f);
    m = adjusted(explode, 0, 0);
    EXPECT_FLOAT_EQ(m.x, 0);
    EXPECT_FLOAT_EQ(m.y, 0);
    m = adjusted(implode, 1, -1);  // the square's corners stay
    EXPECT_FLOAT_EQ(m.x, 1);
    EXPECT_FLOAT_EQ(m.y, -1);

    PointAdjSphere sphere(r);
    m = adjusted(sphere, -1, -1);
    EXPECT_NEAR(m.x, 0, 1e-6);
    EXPECT_NEAR(m.y, -1, 1e-6);
    m = adjusted(sphere, 0, 0);
    EXPECT_NEAR(m.x, 0, 1e-6);
    EXPECT_NEAR(m.y, 0, 1e-6);
    m = adjusted(sphere, 1, 0);
    EXPECT_NEAR(m.x, 1, 1e-6);
    EXPECT_NEAR(m.y, 0, 1e-6);

    PointAdjFisheye fisheye(r);
    m = adjusted(fisheye, 0, 0);  // no angle at the origin
    EXPECT_FLOAT_EQ(m.x, 0);
    EXPECT_FLOAT_EQ(m.y, 0);
    m = adjusted(fisheye, 0, 1);  // angle atan2(0, 1) = 0, r^2 / 2
    EXPECT_NEAR(m.x, 0.5f, 1e-6);
    EXPECT_NEAR(m.y, 0, 1e-6);
    m = adjusted(fisheye, 1, 0);
    EXPECT_NEAR(m.x, 0, 1e-6);
    EXPECT_NEAR(m.y, -0.5f, 1e-6);
}

TEST(PointAdjMembers, TurnStaysInTheSquareWhateverComesIn) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int seed = 1; seed < 50; ++seed) {
        RandomSource r(seed);
        PointAdj3D turn(r);
        EXPECT_LE(std::fabs(turn.angleX()), 3.1416f);
        for (float v : {-1e6f, -1.0f, 0.0f, 0.5f, 1.0f, 1e6f}) {
            const Moved m = adjusted(turn, v, -v);
            EXPECT_LE(std::fabs(m.x), 1.0f);
            EXPECT_LE(std::fabs(m.y), 1.0f);
            EXPECT_FALSE(std::isnan(m.x));
        }
        // A NaN is passed on for the outline test to reject.
        EXPECT_TRUE(std::isnan(adjusted(turn, nan, 0).x));
    }
    // The same seed turns a point the same way.
    RandomSource a(7), b(7);
    PointAdj3D ta(a), tb(b);
    const Moved ma = adjusted(ta, 0.2f, 0.3f), mb = adjusted(tb, 0.2f, 0.3f);
    EXPECT_EQ(ma.x, mb.x);
    EXPECT_EQ(ma.y, mb.y);
}
