#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace orvex::bench {

// The horizons measured: a few periods to the longest worksheet.
inline constexpr long kHorizons[] = { 10, 100, 1000, 10000, 65536 };

// A loan of 1000 repaid by level instalments at 1 % a period: one sign change,
// the rate is 1 % at every horizon.
inline std::vector<double> conventionalFlows(std::size_t n)
{
    const double periods = static_cast<double>(n - 1);
    std::vector<double> x(n, 10.0 / (1.0 - std::pow(1.01, -periods)));
    x[0] = -1000.0;
    return x;
}

// A mid-life outlay and a final cost: three sign changes, so a search cannot
// rely on there being one root.
inline std::vector<double> nonConventionalFlows(std::size_t n)
{
    std::vector<double> x(n, 300.0);
    x[0] = -1000.0;
    x[n / 2] = -500.0;
    x[n - 1] = -100.0;
    return x;
}

} // namespace orvex::bench
