#include "common/checked.h"

#include <cmath>

namespace orvex {

double checkedDiv(double a, double b)
{
    if (b == 0.0)
        throw CalcError(CalcErrorKind::DivisionByZero, "division by zero");
    return checkFinite(a / b);
}

double checkedPow(double base, double exponent)
{
    if (!std::isfinite(base) || !std::isfinite(exponent))
        throw CalcError(CalcErrorKind::NotFinite, "power of a value that is not finite");
    if (base < 0.0 && std::trunc(exponent) != exponent)
        throw CalcError(CalcErrorKind::NegativeBaseFractionalPower,
            "negative base raised to a fractional power");
    if (base == 0.0 && exponent < 0.0)
        throw CalcError(CalcErrorKind::DivisionByZero, "zero raised to a negative power");
    const double r = std::pow(base, exponent);
    if (!std::isfinite(r))
        throw CalcError(CalcErrorKind::Overflow, "power overflows");
    return r;
}

} // namespace orvex
