#include "common/numbers.h"

#include "common/calc_error.h"

#include <algorithm>
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

// The leading number's text, without the blanks before it; empty when none.
std::string_view leadingNumberText(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    bool sawDigits = false;
    return text.substr(pos, scanNumber(text, pos, sawDigits));
}

// A number for a message: a text of millions of digits must not make one of megabytes.
std::string shortened(std::string_view number)
{
    constexpr std::size_t kShown = 24;
    if (number.size() <= kShown)
        return std::string(number);
    return std::string(number.substr(0, kShown)) + "... (" + std::to_string(number.size())
        + " caracteres)";
}

[[noreturn]] void outOfRange(std::string_view number)
{
    throw CalcError(CalcErrorKind::Overflow, "number out of range: " + shortened(number));
}

} // namespace

double leadingNumber(std::string_view text)
{
    const std::string_view numberText = leadingNumberText(text);
    if (numberText.empty())
        return 0.0;
    const std::string number(numberText);
    const double value = strtod_l(number.c_str(), nullptr, cLocale());
    if (std::isinf(value))
        outOfRange(number);
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

Money Money::fromText(std::string_view text)
{
    const std::string_view number = leadingNumberText(text);
    std::size_t i = 0;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        ++i;
    // The mantissa's digits without leading zeros, and the power of ten of its last digit.
    std::string digits;
    long long exponent = 0;
    bool afterPoint = false;
    for (; i < number.size() && (isDigit(number[i]) || number[i] == '.'); ++i) {
        if (number[i] == '.') {
            afterPoint = true;
            continue;
        }
        if (!digits.empty() || number[i] != '0')
            digits += number[i];
        if (afterPoint)
            --exponent;
    }
    if (i < number.size()) { // the exponent, saturated far beyond any amount
        const bool minus = number[++i] == '-';
        if (number[i] == '+' || number[i] == '-')
            ++i;
        long long e = 0;
        for (; i < number.size(); ++i)
            e = std::min(e * 10 + (number[i] - '0'), 1000000000LL);
        exponent += minus ? -e : e;
    }
    exponent += 4; // in ten-thousandths
    // Below a tenth of a ten-thousandth (or no digit at all) it rounds to 0.
    if (digits.empty() || exponent < -static_cast<long long>(digits.size()))
        return Money(0);
    if (exponent > 0) {
        if (digits.size() + static_cast<std::size_t>(exponent) > 19)
            outOfRange(number);
        digits.append(static_cast<std::size_t>(exponent), '0');
        exponent = 0;
    }
    // Whole ten-thousandths (19 digits always fit 64 bits unsigned) and the digits
    // dropped, rounded halves to even.
    const std::size_t kept = digits.size() - static_cast<std::size_t>(-exponent);
    if (kept > 19)
        outOfRange(number);
    unsigned long long magnitude = 0;
    for (std::size_t k = 0; k < kept; ++k)
        magnitude = magnitude * 10 + static_cast<unsigned>(digits[k] - '0');
    if (kept < digits.size()) {
        const char first = digits[kept];
        const bool restZero = digits.find_first_not_of('0', kept + 1) == std::string::npos;
        if (first > '5' || (first == '5' && (!restZero || magnitude % 2 == 1)))
            ++magnitude;
    }
    const unsigned long long limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
    if (magnitude > limit)
        outOfRange(number);
    return Money(
        negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude));
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
