#include <gtest/gtest.h>

#include <limits>

#include "app/SaverApp.h"
#include "engine/MathErrors.h"
#include "support/EnvOverride.h"
#include "support/TempFolder.h"

TEST(MathErrors, DomainPoleAndOverflowGiveZeroAndTwoTraceLinesGoodArgumentsPass) {
    TempFolder folder;
    EnvOverride quortemp("QUORTEMP", folder.path().c_str());
    gApp.setTraceOn(true), gApp.setTraceNewFile();
    const long before = qvmath::errorCount();
    const double inf = std::numeric_limits<double>::infinity();
    for (double r : {qvmath::sqrt(-1.0), qvmath::log(0.0), qvmath::exp(1000.0), qvmath::pow(0.0, -1.0),
                     qvmath::pow(-8.0, 1.0 / 3), qvmath::asin(2.0), qvmath::fmod(1.0, 0.0),
                     qvmath::sin(inf), qvmath::sqrt(std::numeric_limits<double>::quiet_NaN()),
                     double(qvmath::exp(100.0f))})
        EXPECT_EQ(r, 0.0);
    EXPECT_EQ(qvmath::errorCount() - before, 10);
    // Good arguments pass untouched; an underflow is no error.
    EXPECT_TRUE(qvmath::pow(-8.0, 3.0) == -512.0 && qvmath::atan2(0.0, 0.0) == 0.0 && qvmath::exp(-1000.0) == 0.0 &&
                qvmath::sin(1e20f) == std::sin(1e20f));
    EXPECT_EQ(qvmath::errorCount() - before, 10);
    gApp.setTraceOn(false);
    // Domain errors are type 1 (sqrt first), log(0) a pole (2), exp(1000) an overflow (3).
    const std::string s = folder.read("trace.txt");
    EXPECT_EQ(s.find(": Saver line 473 : except->type = 1\r\n"), 10u) << s;
    for (const char* line : {": Saver line 474 : except->name = sqrt\r\n", ": Saver line 473 : except->type = 2\r\n",
                             ": Saver line 473 : except->type = 3\r\n"})
        EXPECT_NE(s.find(line), std::string::npos) << line;
}
