#pragma once
// Mathematical functions that never hand a style a NaN or an infinity.
//
// A domain error (the square root of a negative number, the logarithm of 0,
// an arcsine beyond 1, ...) or a range error (an exponential that overflows)
// of one of these functions writes two trace lines naming the kind of error
// and the function, and the result is 0, so that a drawing goes on with a
// value it can use. The check looks at the result only, one comparison on
// the path that does not fail, so the functions stay as fast as the library
// ones inside the per-pixel loops.
//
// The error kinds are numbered as the classic run-time library numbered
// them. A NaN argument counts as a domain error as well, so that a NaN
// made elsewhere is turned into 0 by the first of these it reaches.

#include <climits>
#include <cmath>
#include <concepts>

namespace qvmath {

enum MathError {
    kDomain = 1,    // argument outside the function's domain
    kSingular = 2,  // a pole: the logarithm of 0, 0 to a negative power
    kOverflow = 3,  // the result is too large
};
// An underflow is not an error here: its result is 0 or next to it already.

// Writes the two trace lines; returns 0, the value a failed function gives.
double reportError(MathError type, const char* name);

// How many errors have been reported in this process (for tests).
long errorCount();

namespace detail {

// A finite argument gave a result that is not finite: which error it was.
template <std::floating_point T>
T check(T result, const char* name, bool argumentsFinite, MathError infinite = kOverflow) {
    if (std::isfinite(result)) [[likely]]
        return result;
    if (std::isnan(result)) return static_cast<T>(reportError(kDomain, name));
    return argumentsFinite ? static_cast<T>(reportError(infinite, name))
                           : static_cast<T>(reportError(kDomain, name));
}

}  // namespace detail

template <std::floating_point T>
T sqrt(T x) {
    return detail::check(std::sqrt(x), "sqrt", std::isfinite(x));
}
template <std::floating_point T>
T log(T x) {
    return detail::check(std::log(x), "log", std::isfinite(x), kSingular);
}
template <std::floating_point T>
T log10(T x) {
    return detail::check(std::log10(x), "log10", std::isfinite(x), kSingular);
}
template <std::floating_point T>
T exp(T x) {
    return detail::check(std::exp(x), "exp", std::isfinite(x));
}
template <std::floating_point T>
T pow(T x, T y) {
    const bool finite = std::isfinite(x) && std::isfinite(y);
    // 0 to a negative power is a pole, any other infinity an overflow.
    return detail::check(std::pow(x, y), "pow", finite, x == T(0) ? kSingular : kOverflow);
}
template <std::floating_point T>
T asin(T x) {
    return detail::check(std::asin(x), "asin", std::isfinite(x));
}
template <std::floating_point T>
T acos(T x) {
    return detail::check(std::acos(x), "acos", std::isfinite(x));
}
template <std::floating_point T>
T atan2(T y, T x) {
    return detail::check(std::atan2(y, x), "atan2", std::isfinite(x) && std::isfinite(y));
}
template <std::floating_point T>
T fmod(T x, T y) {
    return detail::check(std::fmod(x, y), "fmod", std::isfinite(x) && std::isfinite(y));
}
template <std::floating_point T>
T sin(T x) {
    return detail::check(std::sin(x), "sin", std::isfinite(x));
}
template <std::floating_point T>
T cos(T x) {
    return detail::check(std::cos(x), "cos", std::isfinite(x));
}
template <std::floating_point T>
T tan(T x) {
    return detail::check(std::tan(x), "tan", std::isfinite(x));
}
// Truncation toward zero that cannot overflow: a value beyond the range of
// int saturates at its end, and NaN gives 0.
inline int truncSaturated(double v) {
    if (!(v == v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

template <std::floating_point T>
T sinh(T x) {
    return detail::check(std::sinh(x), "sinh", std::isfinite(x));
}
template <std::floating_point T>
T cosh(T x) {
    return detail::check(std::cosh(x), "cosh", std::isfinite(x));
}

}  // namespace qvmath
