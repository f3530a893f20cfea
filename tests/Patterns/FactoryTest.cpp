#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <typeinfo>

#include "PatternSupport.h"
#include "Patterns/BinOp.h"
#include "Patterns/PatternCheckered.h"
#include "Patterns/PatternFloat.h"
#include "Patterns/PatternFractal.h"
#include "Patterns/PatternInt.h"
#include "Patterns/PatternNetwork.h"
#include "Patterns/PatternNoise.h"
#include "Patterns/PatternSin.h"

// One output: any of the seven scalar members. Several: the network or the
// vector of sines, which fill every output.
TEST(PatternFactory, EveryScalarMemberIsMadeAndVectorsFillEveryOutput) {
    RandomSource random(11);
    std::set<std::string> made;
    for (int i = 0; i < 3000; ++i) made.insert(typeid(*PatternCalculator::create(random, 1, false)).name());
    EXPECT_EQ(made.size(), 7u);
    for (int i = 0; i < 200; ++i) {
        const auto p = PatternCalculator::create(random, i % 2 ? 2 : 3, false);
        ASSERT_TRUE(p->isVector() && p->outputCount(5) == 5);
        EXPECT_TRUE(dynamic_cast<PatternNetwork*>(p.get()) || dynamic_cast<PatternVecSin*>(p.get()));
    }
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
    const std::unique_ptr<BinOp> ops[] = {std::make_unique<BinOpAdd>(),  std::make_unique<BinOpMult>(),
                                          std::make_unique<BinOpSqrt>(), std::make_unique<BinOpAnd>(),
                                          std::make_unique<BinOpOr>(),   std::make_unique<BinOpXOr>(),
                                          std::make_unique<BinOpMod>(),  std::make_unique<BinOpMin>()};
    for (const auto& op : ops) {
        const bool sums = dynamic_cast<BinOpAdd*>(op.get()) || dynamic_cast<BinOpSqrt*>(op.get());
        EXPECT_TRUE(op->combine(0, 0, 0, 0) == 0.0f && op->combine(0, 1, 0, 1) == (sums ? 1.0f : 0.0f))
            << typeid(*op).name();
    }
    // The factory: one draw each, all nine members made.
    RandomSource r(3), copy(3);
    std::set<std::string> made;
    for (int i = 0; i < 400; ++i) made.insert(typeid(*BinOp::create(r)).name()), copy.next();
    EXPECT_TRUE(made.size() == 9u && r.next() == copy.next());
}
