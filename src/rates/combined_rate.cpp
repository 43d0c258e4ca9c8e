#include "rates/combined_rate.h"

#include "common/checked.h"
#include "common/format.h"
#include "common/numbers.h"

namespace orvex {

double combinedRate(double firstPercent, double secondPercent)
{
    const double a = firstPercent / 100.0;
    const double b = secondPercent / 100.0;
    return checkFinite(checkFinite((b + 1.0) * (a + 1.0) - 1.0) * 100.0);
}

std::string combinedRateText(std::string_view first, std::string_view second)
{
    return formatUpToTenDecimals(combinedRate(leadingNumber(first), leadingNumber(second)));
}

} // namespace orvex
