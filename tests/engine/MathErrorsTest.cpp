#include <gtest/gtest.h>

#include <limits>

#include "app/SaverApp.h"
#include "engine/MathErrors.h"
#include "support/TempFolder.h"

TEST(MathErrors, DomainPoleAndOverflowGiveZeroAndTwoTraceLinesGoodArgumentsPass) {
    TempFolder folder;
    setenv("QUORTEMP", folder.path().c_str(), 1);
    gApp.setTraceOn(true);
    gApp.setTraceNewFile();
    const long before = qvmath::errorCount();
    const double inf = std::numeric_limits<double>::infinity();
    for (double r : {qvmath::sqrt(-1.0), qvmath::log(0.0), qvmath::exp(1000.0), qvmath::pow(0.0, -1.0),
                     qvmath::pow(-8.0, 1.0 / 3), qvmath::asin(2.0), qvmath::fmod(1.0, 0.0),
                     qvmath::sin(inf), qvmath::sqrt(std::numeric_limits<double>::quiet_NaN()),
                     double(qvmath::exp(100.0f))})
        EXPECT_EQ(r, 0.0);
    EXPECT_EQ(qvmath::errorCount() - before, 10);
    // Good arguments pass untouched; an underflow is no error.
    EXPECT_EQ(qvmath::pow(-8.0, 3.0), -512.0);
    EXPECT_EQ(qvmath::atan2(0.0, 0.0), 0.0);
    EXPECT_EQ(qvmath::exp(-1000.0), 0.0);
    EXPECT_EQ(qvmath::sin(1e20f), std::sin(1e20f));
    EXPECT_EQ(qvmath::errorCount() - before, 10);
    gApp.setTraceOn(false);
    unsetenv("QUORTEMP");

    const std::string s = folder.read("trace.txt");
    EXPECT_EQ(s.find(": Saver line 473 : except->type = 1\r\n"), 10u) << s;
    EXPECT_NE(s.find(": Saver line 474 : except->name = sqrt\r\n"), std::string::npos);
    EXPECT_NE(s.find(": Saver line 473 : except->type = 2\r\n"), std::string::npos) << "log(0) is a pole";
    EXPECT_NE(s.find(": Saver line 473 : except->type = 3\r\n"), std::string::npos) << "exp(1000) overflows";
}
