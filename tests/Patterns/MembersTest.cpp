#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <tuple>

#include "PatternSupport.h"
#include "Patterns/PatternCheckered.h"
#include "Patterns/PatternFloat.h"
#include "Patterns/PatternFractal.h"
#include "Patterns/PatternInt.h"
#include "Patterns/PatternNetwork.h"
#include "Patterns/PatternNoise.h"
#include "Patterns/PatternSin.h"
#include "Patterns/PatternSinFM.h"

namespace {

const std::pair<const char*, Maker> kMembers[] = {
    {"Sin", maker<PatternSin>()},         {"VecSin", maker<PatternVecSin>()},
    {"SinFM", maker<PatternSinFM>()},     {"Checkered", maker<PatternCheckered>()},
    {"Network", maker<PatternNetwork>()}, {"Noise", maker<PatternNoise>()},
    {"Float", maker<PatternFloat>()},     {"Int", maker<PatternInt>()},
    {"Fractal", maker<PatternFractal>()}, {"Limn", maker<PatternLimn>()},
};

bool inUnit(float v) { return std::isfinite(v) && v >= 0.0f && v <= 1.0f; }

}  // namespace

// Every member, a thousand seeds: each output over a grid (64 x 64 on every
// twentieth seed, else 16 x 16) and far beyond the square is finite in 0..1.
TEST(PatternMembers, EveryOutputIsFiniteAndInTheUnitRange) {
    FakeScene palette = greyRamp(236);
    SceneScope scope(palette);
    std::vector<float> in(2), out(3);
    for (const auto& [name, make] : kMembers) {
        int bad = 0;
        for (int seed = 1; seed <= 1000 && bad == 0; ++seed) {
            RandomSource random(seed);
            const auto p = make(random);
            p->setup(2, p->outputCount(3), seed % 4 == 0, 1 + seed % 5);
            const int side = seed % 20 == 0 ? 64 : 16;
            for (int j = 0; j < side && bad == 0; ++j)
                for (int i = 0; i < side; ++i) {
                    in = {i * 2.0f / (side - 1) - 1.0f, j * 2.0f / (side - 1) - 1.0f};
                    p->calculate(in, out);
                    for (int k = 0; k < p->outputCount(3); ++k) bad += !inUnit(out[size_t(k)]);
                }
            for (float edge : {-7.0f, 3.5f, 1e30f, -1e30f}) {
                in = {edge, -edge};
                p->calculate(in, out);
                bad += !inUnit(out[0]);
            }
        }
        EXPECT_EQ(bad, 0) << name;
    }
}

// calculate() is safe before setup and after a setup cut short by pending
// input (which leaves it not set up); a later setup completes.
TEST(PatternMembers, CalculateIsSafeBeforeAndAfterAnInterruptedSetup) {
    FakeScene palette = greyRamp(64);
    SceneScope scope(palette);
    std::vector<float> in{0.3f, -0.2f}, out(2, -5.0f);
    for (const auto& [name, make] : kMembers)
        for (int seed = 1; seed <= 40; ++seed) {
            RandomSource random(seed);
            const auto p = make(random);
            p->calculate(in, out);
            EXPECT_TRUE(inUnit(out[0])) << name << " before setup, seed " << seed;
            {
                PatternScope busy(idleFor(0));
                p->setup(2, 1, false, 2);
                p->calculate(in, out);
                EXPECT_TRUE(inUnit(out[0])) << name << " interrupted, seed " << seed;
            }
            p->setup(2, 1, false, 2);
            p->calculate(in, out);
            EXPECT_TRUE(p->isSetUp() && inUnit(out[0])) << name;
        }
}

TEST(PatternMembers, SetupRunsOnceAndSignedOutputsSpanMinusOneToOne) {
    RandomSource random(9);
    PatternNetwork net(random);
    net.setup(2, 2, false, 3);
    const RandomSource after = random;
    net.setup(1, 5, true, 1);  // the first caller's counts win; nothing drawn
    EXPECT_EQ(net.layers().front().values.size(), 2u);
    EXPECT_EQ(RandomSource(after).next(), random.next());
    std::vector<float> in{0.1f, 0.7f}, out(2), sgn(2);
    net.calculate(in, out);
    net.calculateSigned(in, sgn);
    for (size_t i = 0; i < 2; ++i) EXPECT_FLOAT_EQ(sgn[i], 2 * out[i] - 1);
}

// Symmetric: the x wave is mirrored about x = 0, where it has its trough.
// Rows reuse the cached y wave, which must follow a change of y.
TEST(PatternSin, OneInputIsThePlainXWaveAndRowsReuseTheYWave) {
    RandomSource random(4);
    PatternSin sin(random);
    sin.setup(1, 1, true, 1);
    std::vector<float> out(1), l(1), r(1);
    sin.calculate({0.0f}, out);
    EXPECT_NEAR(out[0], 0.0f, 1e-6);
    for (float x : {0.1f, 0.37f, 0.8f}) {
        sin.calculate({-x}, l), sin.calculate({x}, r);
        EXPECT_NEAR(l[0], r[0], 1e-5);
    }
    sin.calculate({0.2f, 0.6f}, l);
    sin.calculate({0.2f, -0.1f}, r);
    sin.calculate({0.2f, 0.6f}, r);
    EXPECT_EQ(l[0], r[0]);
}

// The wave is a normalised sum, within -1..1; a symmetric additive one is odd.
TEST(PatternSinFM, TheWaveIsBoundedAndSymmetricIsOdd) {
    for (int seed = 1; seed <= 30; ++seed) {
        RandomSource random(seed);
        PatternSinFM fm(random);
        fm.setup(1, 1, seed % 2 == 0, 1 + seed % 4);
        for (float t = -1; t <= 1; t += 0.125f) EXPECT_LE(std::fabs(fm.wave(t)), 1.0001f) << seed;
        if (seed % 2 == 0 && fm.additive()) {
            EXPECT_NEAR(fm.wave(0.3f), -fm.wave(-0.3f), 1e-4) << seed;
        }
    }
}

TEST(PatternFloat, ProgramsAndTheirEdges) {
    for (int seed = 1; seed <= 100; ++seed) {
        RandomSource random(seed);
        PatternFloat one(random), two(random);
        one.setup(1, 1, false, 2);
        two.setup(2, 1, false, 2);
        EXPECT_TRUE(one.program().front() == 0 && one.program().size() <= 10u) << seed;
        const auto p = two.program();  // both inputs first, in either order
        EXPECT_TRUE((p[0] == 0 && p[1] == 1) || (p[0] == 1 && p[1] == 0));
    }
    RandomSource random(1);
    PatternFloat f(random);
    std::vector<float> out(1);
    // Inputs are clamped; a lone value is negated by 5 and squared by 3; 4
    // puts the smaller magnitude over the larger; 8 swaps; operations on too
    // few values do nothing; an empty stack gives 1/2.
    const std::tuple<std::vector<int32_t>, float, float, float> cases[] = {
        {{}, 0.4f, 0.9f, 0.5f},
        {{0, 5}, 4.0f, 0.0f, 0.0f},
        {{0, 1, 4}, 0.5f, -0.25f, -0.5f * 0.5f + 0.5f},
        {{0, 1, 8, 5}, 0.5f, -0.25f, (0.5f + 0.25f) / 2 * 0.5f + 0.5f},  // (b - t) / 2 = (x - y) / 2
        {{2, 8, 13, 9}, 0.5f, -0.25f, 0.5f}};
    for (const auto& [program, x, y, expected] : cases) {
        f.setProgram(program);
        f.calculate({x, y}, out);
        EXPECT_FLOAT_EQ(out[0], expected) << program.size();
    }
}

TEST(PatternInt, WrappingArithmeticAndTheFlickeringOpcode) {
    PatternScope scene(nullptr, 0, 800);
    RandomSource random(1);
    PatternInt p(random);
    ASSERT_EQ(p.modulus(), 800);
    std::vector<float> out(1);
    const float square = float((46341LL * 46341) % 800) / 800, intMin = float((1LL << 31) % 800) / 800;
    // b t mod M where b t overflows 32 bits is exact; INT_MIN / -1 and
    // -INT_MIN wrap to INT_MIN, whose magnitude mod M is taken in 64 bits;
    // without overflow the results are those of 32-bit arithmetic (9 / 0
    // gives 0, -7 mod 100 keeps its sign).
    const std::tuple<std::vector<int32_t>, std::vector<int32_t>, float> cases[] = {
        {{11, 11, 3}, {46341, 46341}, square},
        {{11, 16}, {-46341}, square},
        {{11, 11, 4}, {INT_MIN, -1}, intMin},
        {{11, 5}, {INT_MIN}, intMin},
        {{11, 11, 2}, {INT_MAX, 1}, intMin},
        {{11, 11, 7}, {INT_MIN, INT_MIN}, 0.0f},
        {{11, 11, 3}, {-30, 7}, 210.0f / 800},
        {{11, 11, 4}, {9, 0}, 0.0f},
        {{11, 11, 7}, {-7, 100}, 7.0f / 800},
        {{11, 11, 9}, {3, 4}, 5.0f / 800},
        {{11, 15}, {0}, 0.0f},
        {{}, {}, 0.0f},
        {{11, 11, 5, 11, 2}, {3, 10, 0, 100}, 107.0f / 800},  // 10 - 3, then + 100
        {{11, 11, 7}, {5, 1}, 1.0f / 800}};                   // a modulus of 1 changes nothing
    for (const auto& c : cases) {
        p.setProgram(std::get<0>(c), std::get<1>(c));
        p.calculate({0.0f, 0.0f}, out);
        EXPECT_FLOAT_EQ(out[0], std::get<2>(c)) << "case " << &c - cases;
    }
    // Opcode 12 draws afresh on every evaluation: the same point changes.
    p.setProgram({0, 12});
    std::set<float> values;
    for (int i = 0; i < 10; ++i) p.calculate({1.0f, 1.0f}, out), values.insert(out[0]);
    EXPECT_GT(values.size(), 1u);
    for (int seed = 1; seed <= 50; ++seed) {  // setup: both inputs first, in either order
        RandomSource r(seed);
        PatternInt q(r);
        q.setup(2, 1, false, 2);
        const auto prog = q.program();
        EXPECT_TRUE(((prog[0] == 0 && prog[1] == 1) || (prog[0] == 1 && prog[1] == 0)) && prog.size() <= 22u);
    }
}
