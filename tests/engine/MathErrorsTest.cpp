#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

#include "app/SaverApp.h"
#include "engine/MathErrors.h"
#include "support/TempFolder.h"

namespace {

// Counts the errors one expression reports.
template <typename F>
long errorsOf(F f) {
    const long before = qvmath::errorCount();
    f();
    return qvmath::errorCount() - before;
}

}  // namespace

TEST(MathErrors, DomainPoleAndOverflowGiveZero) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        double result;
    };
    long errors = errorsOf([&] {
        for (const Case& c : {Case{"sqrt(-1)", qvmath::sqrt(-1.0)}, Case{"log(0)", qvmath::log(0.0)},
                              Case{"log(-2)", qvmath::log(-2.0)}, Case{"log10(0)", qvmath::log10(0.0)},
                              Case{"exp(1000)", qvmath::exp(1000.0)}, Case{"pow(0,-1)", qvmath::pow(0.0, -1.0)},
                              Case{"pow(-8,1/3)", qvmath::pow(-8.0, 1.0 / 3)},
                              Case{"pow(10,400)", qvmath::pow(10.0, 400.0)}, Case{"asin(2)", qvmath::asin(2.0)},
                              Case{"acos(-1.5)", qvmath::acos(-1.5)}, Case{"fmod(1,0)", qvmath::fmod(1.0, 0.0)},
                              Case{"sin(inf)", qvmath::sin(inf)}, Case{"cosh(800)", qvmath::cosh(800.0)},
                              Case{"sqrt(nan)", qvmath::sqrt(nan)}})
            EXPECT_EQ(c.result, 0.0) << c.what;
    });
    EXPECT_EQ(errors, 14);

    // Single precision overflows much sooner.
    EXPECT_EQ(errorsOf([] { EXPECT_EQ(qvmath::exp(100.0f), 0.0f); }), 1);
    EXPECT_EQ(errorsOf([] { EXPECT_EQ(qvmath::sqrt(-0.5f), 0.0f); }), 1);
}

TEST(MathErrors, GoodArgumentsPassUntouched) {
    const long errors = errorsOf([] {
        EXPECT_EQ(qvmath::sqrt(2.0), std::sqrt(2.0));
        EXPECT_EQ(qvmath::pow(-8.0, 3.0), -512.0);
        EXPECT_EQ(qvmath::pow(0.0, 0.0), 1.0);
        EXPECT_EQ(qvmath::atan2(0.0, 0.0), 0.0);
        EXPECT_EQ(qvmath::exp(-1000.0), 0.0);  // an underflow is no error
        EXPECT_EQ(qvmath::log(1.0f), 0.0f);
        EXPECT_FLOAT_EQ(qvmath::sin(1e20f), std::sin(1e20f));
        EXPECT_EQ(qvmath::sqrt(-0.0), -0.0);
    });
    EXPECT_EQ(errors, 0);
}

TEST(MathErrors, TwoTraceLinesNameTheErrorAndTheFunction) {
    TempFolder folder;
    setenv("QUORTEMP", folder.path().c_str(), 1);
    const bool wasOn = gApp.traceOn();
    gApp.setTraceOn(true);
    gApp.setTraceNewFile();
    qvmath::log(0.0);
    qvmath::acos(3.0f);
    gApp.setTraceOn(wasOn);
    unsetenv("QUORTEMP");

    std::ifstream in(folder.path() / "trace.txt");
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    EXPECT_NE(s.find(": Saver line 473 : except->type = 2\r\n"), std::string::npos) << s;
    EXPECT_NE(s.find(": Saver line 474 : except->name = log\r\n"), std::string::npos);
    EXPECT_NE(s.find(": Saver line 473 : except->type = 1\r\n"), std::string::npos);
    EXPECT_NE(s.find(": Saver line 474 : except->name = acos\r\n"), std::string::npos);
}
