#pragma once

#include "common/calc_error.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace orvex {

// Each throws CalcError instead of yielding NaN, infinity or undefined behaviour.

// a / b; fails when b is 0 or the quotient is not finite.
double checkedDiv(double a, double b);

// base^exponent; fails for a negative base with a fractional exponent, 0 to a
// negative power, and a result that is not finite.
double checkedPow(double base, double exponent);

// x itself; fails when x is NaN or infinite.
inline double checkFinite(double x)
{
    if (!std::isfinite(x))
        throw CalcError(CalcErrorKind::NotFinite, "result is not a finite number");
    return x;
}

// v[i] with the index checked against the bounds.
template <class T> T& checkedAt(std::vector<T>& v, long long i)
{
    if (i < 0 || static_cast<unsigned long long>(i) >= v.size())
        throw CalcError(CalcErrorKind::IndexOutOfRange, "index outside the array");
    return v[static_cast<std::size_t>(i)];
}

template <class T> const T& checkedAt(const std::vector<T>& v, long long i)
{
    if (i < 0 || static_cast<unsigned long long>(i) >= v.size())
        throw CalcError(CalcErrorKind::IndexOutOfRange, "index outside the array");
    return v[static_cast<std::size_t>(i)];
}

} // namespace orvex
