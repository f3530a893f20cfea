#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <typeinfo>

#include "Patterns/BinOp.h"
#include "Patterns/PatternCheckered.h"
#include "Patterns/PatternFloat.h"
#include "Patterns/PatternFractal.h"
#include "Patterns/PatternInt.h"
#include "Patterns/PatternNetwork.h"
#include "Patterns/PatternNoise.h"
#include "Patterns/PatternSin.h"
#include "PatternSupport.h"

// One output: the scalar members by their weights (545 in all). Several: a
// coin between the network and the vector of sines, which fill every output.
TEST(PatternFactory, SharesOfTheScalarMembersAndTheVectorRule) {
    RandomSource random(11);
    std::map<std::string, int> made;
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) ++made[typeid(*PatternCalculator::create(random, 1, false)).name()];
    const std::pair<const std::type_info*, double> weights[] = {
        {&typeid(PatternNetwork), 100}, {&typeid(PatternSin), 100}, {&typeid(PatternFractal), 100},
        {&typeid(PatternInt), 100},     {&typeid(PatternNoise), 100}, {&typeid(PatternFloat), 40},
        {&typeid(PatternCheckered), 5}};
    for (const auto& [type, weight] : weights)
        EXPECT_NEAR(made[type->name()] / double(kDraws), weight / 545, weight > 5 ? 0.01 : 0.002) << type->name();
    EXPECT_EQ(made.size(), 7u);
    int network = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto p = PatternCalculator::create(random, i % 2 ? 2 : 3, false);
        ASSERT_TRUE(p->isVector() && p->outputCount(5) == 5);
        network += dynamic_cast<PatternNetwork*>(p.get()) != nullptr;
        EXPECT_TRUE(dynamic_cast<PatternNetwork*>(p.get()) || dynamic_cast<PatternVecSin*>(p.get()));
    }
    EXPECT_NEAR(network, 1000, 100);
    RandomSource a(5), b(5);
    const auto p = PatternCalculator::create(a, 0, false);
    EXPECT_EQ(dynamic_cast<PatternVecSin*>(p.get()) != nullptr, b.below(2) == 1);
}

TEST(BinOp, EveryRowAndItsZeroCases) {
    FakeScene palette = greyRamp(16);
    SceneScope scope(palette);
    // Steps: a = 1 of amp 2 -> (0.5 + 1) / 2 * 16 = 12; b = -1 of amp 4 -> 6.
    const float a = 1, b = -1, ampA = 2, ampB = 4;
    EXPECT_FLOAT_EQ(BinOpAdd().combine(a, b, ampA, ampB), 0.0f);
    EXPECT_FLOAT_EQ(BinOpAdd().combine(2, 4, -2, 4), 1.0f);
    EXPECT_FLOAT_EQ(BinOpMult().combine(a, b, ampA, ampB), -1.0f / 8);
    EXPECT_FLOAT_EQ(BinOpSqrt().combine(a, b, ampA, ampB), std::sqrt(2.0f) / std::sqrt(20.0f));
    EXPECT_FLOAT_EQ(BinOpAnd().combine(a, b, ampA, ampB), (12 & 6) / 16.0f);
    EXPECT_FLOAT_EQ(BinOpOr().combine(a, b, ampA, ampB), (12 | 6) / 16.0f / 2);
    EXPECT_FLOAT_EQ(BinOpXOr().combine(a, b, ampA, ampB), (12 ^ 6) / 16.0f / 2);
    EXPECT_FLOAT_EQ(BinOpMod().combine(a, b, ampA, ampB), (12 % 6) / 16.0f / 2);
    EXPECT_FLOAT_EQ(BinOpMin().combine(a, b, ampA, ampB), -0.25f);
    EXPECT_FLOAT_EQ(BinOpAtan().combine(1, 1, 9, 9), 0.25f);
    // A second step of 0 (b at its trough): the first step's whole palettes,
    // no division by zero. atan2(0, b) would be 0 or pi: a value of 0 gives 0.
    EXPECT_FLOAT_EQ(BinOpMod().combine(2, -4, 2, 4), 1.0f);
    EXPECT_FLOAT_EQ(BinOpMod().combine(1, -4, 2, 4), 0.0f);
    EXPECT_EQ(BinOpMod().combine(-1e30f, -1.125f, 1, 1), 0.0f);  // INT_MIN % -1 would trap
    EXPECT_TRUE(BinOpAtan().combine(0, -1, 1, 1) == 0.0f && BinOpAtan().combine(1, 0, 1, 1) == 0.0f);
    // Zero denominators, and for the others one amplitude of 0, give 0, never a NaN.
    const std::unique_ptr<BinOp> ops[] = {std::make_unique<BinOpAdd>(), std::make_unique<BinOpMult>(),
                                          std::make_unique<BinOpSqrt>(), std::make_unique<BinOpAnd>(),
                                          std::make_unique<BinOpOr>(),   std::make_unique<BinOpXOr>(),
                                          std::make_unique<BinOpMod>(),  std::make_unique<BinOpMin>()};
    for (const auto& op : ops) {
        const bool sums = dynamic_cast<BinOpAdd*>(op.get()) || dynamic_cast<BinOpSqrt*>(op.get());
        EXPECT_TRUE(op->combine(0, 0, 0, 0) == 0.0f && op->combine(0, 1, 0, 1) == (sums ? 1.0f : 0.0f))
            << typeid(*op).name();
    }
    // The factory: one draw, nine members with equal chances.
    RandomSource r(3), copy(3);
    std::map<std::string, int> made;
    for (int i = 0; i < 9000; ++i) ++made[typeid(*BinOp::create(r)).name()], copy.next();
    EXPECT_EQ(made.size(), 9u);
    for (const auto& [name, n] : made) EXPECT_NEAR(n, 1000, 120) << name;
    EXPECT_EQ(r.next(), copy.next());
}
