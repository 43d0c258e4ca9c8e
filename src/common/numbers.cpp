#include "common/numbers.h"

#include "common/calc_error.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace orvex {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Length of the number that starts at text[pos] (sign included), 0 when none.
// sawDigits tells whether the mantissa held a digit at all.
std::size_t scanNumber(std::string_view text, std::size_t pos, bool& sawDigits)
{
    std::size_t i = pos;
    sawDigits = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        sawDigits = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            sawDigits = true;
        }
    }
    if (!sawDigits)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i - pos;
}

locale_t cLocale()
{
    // strtod follows LC_NUMERIC; the program reads only "." whatever the user's locale.
    static locale_t loc = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

double leadingNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    bool sawDigits = false;
    const std::size_t len = scanNumber(text, pos, sawDigits);
    if (len == 0)
        return 0.0;
    const std::string number(text.substr(pos, len));
    errno = 0;
    const double value = strtod_l(number.c_str(), nullptr, cLocale());
    if (std::isinf(value))
        throw CalcError(CalcErrorKind::Overflow, "number out of range: " + number);
    return value;
}

bool isNumericText(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    bool sawDigits = false;
    const std::size_t len = scanNumber(text, pos, sawDigits);
    if (len == 0)
        return false;
    std::size_t end = pos + len;
    // "1e" or "1e+" without exponent digits is not a number.
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E'))
        return false;
    while (end < text.size() && isBlank(text[end]))
        ++end;
    return end == text.size();
}

double nearest(double x)
{
    if (!std::isfinite(x))
        throw CalcError(CalcErrorKind::NotFinite, "rounding a value that is not finite");
    // The default floating-point environment rounds to nearest, ties to even.
    return std::nearbyint(x);
}

std::int16_t toInt16(double x)
{
    const double r = nearest(x);
    if (r < -32768.0 || r > 32767.0)
        throw CalcError(CalcErrorKind::Overflow, "value outside the 16-bit range");
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double x)
{
    const double r = nearest(x);
    if (r < -2147483648.0 || r > 2147483647.0)
        throw CalcError(CalcErrorKind::Overflow, "value outside the 32-bit range");
    return static_cast<std::int32_t>(r);
}

Money Money::fromDouble(double x)
{
    if (!std::isfinite(x))
        throw CalcError(CalcErrorKind::NotFinite, "money amount is not finite");
    const double scaled = nearest(x * static_cast<double>(kScale));
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0)
        throw CalcError(CalcErrorKind::Overflow, "money amount out of range");
    return Money(static_cast<std::int64_t>(scaled));
}

} // namespace orvex
