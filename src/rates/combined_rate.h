#pragma once

#include <string>
#include <string_view>

namespace orvex {

// Two rates of the same period compounded into one, all in percent:
// c = (1 + a/100)(1 + b/100) - 1, returned as c × 100. Throws CalcError when the
// result is not finite.
double combinedRate(double firstPercent, double secondPercent);

// The combined rate of two typed texts (each read as its leading number, so an
// empty text counts as 0), formatted "###0.##########": "15.5", "0.".
std::string combinedRateText(std::string_view first, std::string_view second);

} // namespace orvex
