#include "styles/StyleSupport.h"
#include "styles/dot/PointAdj.h"

TEST(PointAdjMembers, KnownPoints) {
    RandomSource r(1);
    PointAdjNone none(r);
    PointAdjDepolar depolar(r);
    PointAdjExplode explode(r);
    PointAdjImplode implode(r);
    PointAdjSphere sphere(r);
    PointAdjFisheye fisheye(r);
    const struct {
        PointAdj& adj;
        float x, y, wantX, wantY;
        const char* what;
    } cases[] = {
        {none, 0.3f, -0.7f, 0.3f, -0.7f, "none"},
        {depolar, 1, -1, 1, 0, "depolar: angle 0"},
        {depolar, 0.5f, -0.5f, 0, -0.5f, "depolar: a quarter turn, y negated"},
        {depolar, 0, 0.4f, 0, 0, "depolar: radius 0 is the centre"},
        {explode, 0.25f, -0.25f, 0.5f, -0.5f, "explode"},
        {implode, 0.5f, -0.5f, 0.25f, -0.25f, "implode undoes explode"},
        {explode, 0, 0, 0, 0, "explode at the centre"},
        {implode, 1, -1, 1, -1, "implode keeps the square's corners"},
        {sphere, -1, -1, 0, -1, "sphere"},
        {sphere, 0, 0, 0, 0, "sphere"},
        {sphere, 1, 0, 1, 0, "sphere"},
        {fisheye, 0, 0, 0, 0, "fisheye: no angle at the origin"},
        {fisheye, 0, 1, 0.5f, 0, "fisheye: angle atan2(0, 1) = 0, r^2 / 2"},
        {fisheye, 1, 0, 0, -0.5f, "fisheye"},
    };
    for (const auto& c : cases) {
        float x = c.x, y = c.y;
        c.adj.adjust(x, y);
        EXPECT_NEAR(x, c.wantX, 1e-6) << c.what;
        EXPECT_NEAR(std::fabs(y - c.wantY), 0, 1e-6) << c.what;
    }
    const auto unknown = MakePointAdj(9, r);  // an unknown index adjusts nothing
    EXPECT_EQ(typeid(*unknown), typeid(PointAdjNone));
}

TEST(PointAdjMembers, TurnStaysInTheSquareWhateverComesIn) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int seed = 1; seed < 50; ++seed) {
        RandomSource r(seed);
        PointAdj3D turn(r);
        EXPECT_LE(std::fabs(turn.angleX()), 3.1416f);
        for (float v : {-1e6f, -1.0f, 0.0f, 0.5f, 1.0f, 1e6f}) {
            float x = v, y = -v;
            turn.adjust(x, y);
            EXPECT_TRUE(std::fabs(x) <= 1.0f && std::fabs(y) <= 1.0f && !std::isnan(x)) << v;
        }
        // A NaN is passed on for the outline test to reject.
        float x = nan, y = 0;
        turn.adjust(x, y);
        EXPECT_TRUE(std::isnan(x));
    }
    // The same seed turns a point the same way.
    RandomSource a(7), b(7);
    PointAdj3D ta(a), tb(b);
    float xa = 0.2f, ya = 0.3f, xb = 0.2f, yb = 0.3f;
    ta.adjust(xa, ya), tb.adjust(xb, yb);
    EXPECT_TRUE(xa == xb && ya == yb);
}
