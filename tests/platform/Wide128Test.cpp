// The 64-bit halves that 32-bit targets divide and multiply with give what
// the built-in 128-bit integers give, at the signs and sizes the rasterizer
// meets (a line of any length, an edge walked from any row).

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

#include "platform/Wide128.h"

#ifdef __SIZEOF_INT128__
TEST(Wide128, HalvesAgreeWithTheBuiltInArithmetic) {
    constexpr int64_t big = int64_t{1} << 40, edge = std::numeric_limits<int32_t>::max();
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int64_t> any(-big, big), positive(1, big);
    const auto same = [](int64_t a, int64_t b, int64_t c, int64_t d) {
        const wide::QuotientRemainder built = wide::mulAddDiv(a, b, c, d),
                                      halves = wide::mulAddDivHalves(a, b, c, d);
        EXPECT_TRUE(built.q == halves.q && built.r == halves.r)
            << a << " * " << b << " + " << c << " / " << d;
    };
    for (int64_t a : {int64_t{0}, int64_t{1}, int64_t{-1}, edge, -edge, 2 * edge})
        for (int64_t c : {int64_t{0}, int64_t{5}, int64_t{-5}, edge})
            for (int64_t d : {int64_t{1}, int64_t{3}, edge, 2 * big}) same(a, edge, c, d), same(-a, 7, c, d);
    for (int i = 0; i < 20000; ++i) same(any(random), any(random) >> 8, any(random), positive(random));
    for (int i = 0; i < 20000; ++i) {
        const uint64_t a = static_cast<uint64_t>(positive(random)),
                       b = static_cast<uint64_t>(positive(random));
        const unsigned __int128 p = static_cast<unsigned __int128>(a) * b * b;
        const wide::U128 h = wide::U128(a) * wide::U128(b) * wide::U128(b);
        EXPECT_TRUE(h.hi == static_cast<uint64_t>(p >> 64) && h.lo == static_cast<uint64_t>(p));
        EXPECT_TRUE(wide::U128(0) <= h && (h <= wide::U128(0)) == (p == 0) && h <= h);
    }
}
#endif
