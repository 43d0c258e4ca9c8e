#pragma once

#include <cstdint>
#include <string_view>

namespace orvex {

// The value of a text's leading number: leading blanks skipped, optional sign,
// digits, optional "." and digits, optional exponent; reading stops at the first
// character that cannot continue the number; no number gives 0. Only "." is a
// decimal point. A number beyond the range of a double throws CalcError(Overflow).
double leadingNumber(std::string_view text);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4). Not finite
// input throws CalcError(NotFinite).
double nearest(double x);

// nearest(x) as a 16-bit / 32-bit integer; out of range throws CalcError(Overflow).
std::int16_t toInt16(double x);
std::int32_t toInt32(double x);

// True when the whole text (surrounding blanks allowed) is one number in the usual
// notation: optional sign, digits with an optional "." (digits on at least one
// side), optional exponent.
bool isNumericText(std::string_view text);

// Fixed-point money: a 64-bit integer count of 1/10,000 units.
class Money {
public:
    static constexpr std::int64_t kScale = 10000;

    // x rounded to 4 decimals, halves to even; out of range throws CalcError(Overflow).
    static Money fromDouble(double x);
    // The leading number of text (as leadingNumber reads it) taken digit by digit,
    // so that amounts beyond 2^53 / 10,000 keep every digit; rounded to 4 decimals,
    // halves to even. Out of range throws CalcError(Overflow).
    static Money fromText(std::string_view text);
    static Money fromRaw(std::int64_t raw) { return Money(raw); }

    std::int64_t raw() const { return m_raw; }
    // The nearest double: whole units and the fraction converted apart, so a whole
    // amount below 2^53 stays exact.
    double toDouble() const
    {
        return static_cast<double>(m_raw / kScale)
            + static_cast<double>(m_raw % kScale) / static_cast<double>(kScale);
    }

    friend bool operator==(Money, Money) = default;

private:
    explicit Money(std::int64_t raw)
        : m_raw(raw)
    {
    }
    std::int64_t m_raw = 0;
};

} // namespace orvex
