#pragma once

#include <string>

namespace orvex {

// Display formats. The decimal point is always "." so that every formatted text
// can be read back by leadingNumber(). A value that rounds to zero never shows a
// minus sign. A value that is not finite throws CalcError(NotFinite).

// "###0.00" (decimals = 2) and "###0.00000" (decimals = 5): exactly that many
// decimals, at least one integer digit, no grouping.
std::string formatFixed(double value, int decimals);

// "###0.00%": value × 100 with two decimals, then "%".
std::string formatPercent(double value);

// "##0.##########" and "###0.##########": up to ten decimals, trailing zeros
// dropped, the decimal point kept even when no decimal follows ("21.").
std::string formatUpToTenDecimals(double value);

// "0": a whole number, halves to even.
std::string formatInteger(double value);

// Plain decimal text: up to 15 significant digits, no exponent for ordinary
// magnitudes, no trailing zeros, no trailing point ("10", "12.5").
std::string formatPlainDecimal(double value);

} // namespace orvex
