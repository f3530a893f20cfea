#pragma once
// The few exact 128-bit products and quotients the rasterizer needs. Where
// the compiler has 128-bit integers (64-bit targets) they are used as they
// are; 32-bit targets (32-bit Windows) have none, and get the same results
// from 64-bit halves. Both are always compiled, so that a test on any
// machine can hold the halves against the built-in arithmetic.

#include <cstdint>
#include <cstdlib>

namespace wide {

// An unsigned 128-bit number from two 64-bit halves, with the operations
// the rasterizer uses: products (modulo 2^128, as unsigned arithmetic is)
// and comparison.
struct U128 {
    uint64_t hi = 0, lo = 0;
    U128() = default;
    U128(uint64_t v) : lo(v) {}  // NOLINT: converts as the built-in type does
    U128(uint64_t high, uint64_t low) : hi(high), lo(low) {}
    friend bool operator<=(const U128& a, const U128& b) { return a.hi != b.hi ? a.hi < b.hi : a.lo <= b.lo; }
    friend U128 operator*(const U128& a, const U128& b) {
        U128 p = mul64(a.lo, b.lo);
        p.hi += a.hi * b.lo + a.lo * b.hi;
        return p;
    }
    // The whole product of two 64-bit numbers.
    static U128 mul64(uint64_t a, uint64_t b) {
        const uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
        const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
        return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFFu)};
    }
};

// (a * b + c) divided by d > 0, truncated towards zero as C++ divides, and
// the remainder, which takes the dividend's sign; for a quotient that fits
// in 64 bits. Computed from 64-bit halves.
struct QuotientRemainder {
    int64_t q, r;
};
inline QuotientRemainder mulAddDivHalves(int64_t a, int64_t b, int64_t c, int64_t d) {
    // The magnitude of a * b with its sign, then c added or taken away.
    const bool productNegative = (a < 0) != (b < 0) && a != 0 && b != 0;
    const auto magnitude = [](int64_t v) {
        return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    };
    U128 p = U128::mul64(magnitude(a), magnitude(b));
    bool negative = productNegative;
    const uint64_t cm = magnitude(c);
    if ((c < 0) == negative || c == 0) {
        const uint64_t lo = p.lo + cm;
        p.hi += lo < p.lo;
        p.lo = lo;
    } else if (p.hi > 0 || p.lo >= cm) {  // |p| >= |c|: the sign stays
        p.hi -= p.lo < cm;
        p.lo -= cm;
    } else {
        p = U128(0, cm - p.lo);
        negative = !negative;
    }
    // Long division, one bit at a time: d < 2^63, so twice the remainder fits.
    const uint64_t divisor = static_cast<uint64_t>(d);
    uint64_t q = 0, r = 0;
    for (int bit = 127; bit >= 0; --bit) {
        const uint64_t next = bit >= 64 ? (p.hi >> (bit - 64)) & 1 : (p.lo >> bit) & 1;
        r = (r << 1) | next;
        q <<= 1;
        if (r >= divisor) {
            r -= divisor;
            q |= 1;
        }
    }
    const int64_t qs = static_cast<int64_t>(q), rs = static_cast<int64_t>(r);
    return negative ? QuotientRemainder{-qs, -rs} : QuotientRemainder{qs, rs};
}

#ifdef __SIZEOF_INT128__
using u128 = unsigned __int128;
inline QuotientRemainder mulAddDiv(int64_t a, int64_t b, int64_t c, int64_t d) {
    const __int128 n = static_cast<__int128>(a) * b + c;
    return {static_cast<int64_t>(n / d), static_cast<int64_t>(n % d)};
}
#else
using u128 = U128;
inline QuotientRemainder mulAddDiv(int64_t a, int64_t b, int64_t c, int64_t d) {
    return mulAddDivHalves(a, b, c, d);
}
#endif

}  // namespace wide
