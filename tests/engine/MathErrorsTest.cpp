#include <gtest/gtest.h>

#include <limits>

#include "engine/MathErrors.h"

TEST(MathErrors, DomainPoleAndOverflowGiveZeroAndCountGoodArgumentsPass) {
    const long before = qvmath::errorCount();
    const double inf = std::numeric_limits<double>::infinity();
    for (double r : {qvmath::sqrt(-1.0), qvmath::log(0.0), qvmath::exp(1000.0), qvmath::pow(0.0, -1.0),
                     qvmath::pow(-8.0, 1.0 / 3), qvmath::asin(2.0), qvmath::fmod(1.0, 0.0), qvmath::sin(inf),
                     qvmath::sqrt(std::numeric_limits<double>::quiet_NaN()), double(qvmath::exp(100.0f))})
        EXPECT_EQ(r, 0.0);
    EXPECT_EQ(qvmath::errorCount() - before, 10);
    // Good arguments pass untouched; an underflow is no error.
    EXPECT_TRUE(qvmath::pow(-8.0, 3.0) == -512.0 && qvmath::atan2(0.0, 0.0) == 0.0 &&
                qvmath::exp(-1000.0) == 0.0 && qvmath::sin(1e20f) == std::sin(1e20f));
    EXPECT_EQ(qvmath::errorCount() - before, 10);
}
