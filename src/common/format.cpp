#include "common/format.h"

#include "common/checked.h"

#include <charconv>
#include <cmath>

namespace orvex {
namespace {

// std::to_chars never looks at the locale: under es_CO the C library's printf
// would write "," and the text could not flow back into a field that reads ".".
std::string printChars(double value, std::chars_format format, int precision)
{
    char buf[512];
    const auto [end, error] = std::to_chars(buf, buf + sizeof buf, value, format, precision);
    if (error != std::errc())
        throw CalcError(CalcErrorKind::Overflow, "number too long to display");
    return std::string(buf, end);
}

std::string printFixed(double value, int decimals)
{
    return printChars(value, std::chars_format::fixed, decimals);
}

// "-0.00" -> "0.00": a displayed zero carries no sign.
void dropNegativeZero(std::string& text)
{
    if (text.empty() || text[0] != '-')
        return;
    for (std::size_t i = 1; i < text.size(); ++i)
        if (text[i] >= '1' && text[i] <= '9')
            return;
    text.erase(0, 1);
}

void dropTrailingZeros(std::string& text)
{
    const auto point = text.find('.');
    if (point == std::string::npos)
        return;
    auto last = text.find_last_not_of('0');
    if (last < point)
        last = point;
    text.erase(last + 1);
}

} // namespace

std::string formatFixed(double value, int decimals)
{
    checkFinite(value);
    std::string text = printFixed(value, decimals);
    dropNegativeZero(text);
    return text;
}

std::string formatPercent(double value) { return formatFixed(checkFinite(value * 100.0), 2) + "%"; }

std::string formatUpToTenDecimals(double value)
{
    checkFinite(value);
    std::string text = printFixed(value, 10);
    dropTrailingZeros(text);
    dropNegativeZero(text);
    return text;
}

std::string formatInteger(double value) { return formatFixed(value, 0); }

std::string formatPlainDecimal(double value)
{
    checkFinite(value);
    if (value == 0.0)
        return "0";
    const double magnitude = std::fabs(value);
    std::string text;
    if (magnitude >= 1e-15 && magnitude < 1e15) {
        const int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
        const int decimals = std::max(0, 14 - exponent);
        text = printFixed(value, decimals);
        if (text.find('.') != std::string::npos) {
            dropTrailingZeros(text);
            if (text.back() == '.')
                text.pop_back();
        }
    } else {
        text = printChars(value, std::chars_format::general, 15);
    }
    dropNegativeZero(text);
    return text;
}

} // namespace orvex
