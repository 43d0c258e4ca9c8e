#include "common/calc_error.h"
#include "common/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <string>

namespace orvex {
namespace {

TEST(Format, FixedDecimals)
{
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        { 263.797480, 2, "263.80" },
        { 1100, 2, "1100.00" },
        { 0.5, 2, "0.50" },
        { -12.345, 2, "-12.35" },
        { 1234567.891, 2, "1234567.89" }, // no grouping
        { -0.001, 2, "0.00" },
        { -0.0, 2, "0.00" }, // a displayed zero has no sign
        { 12000, 5, "12000.00000" },
        { 1066.185464, 5, "1066.18546" },
        { -1036.42214272, 5, "-1036.42214" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.value, c.decimals), c.text) << c.value;
}

TEST(Format, Percent)
{
    EXPECT_EQ(formatPercent(0.1234), "12.34%");
    EXPECT_EQ(formatPercent(0.1), "10.00%");
    EXPECT_EQ(formatPercent(-0.5), "-50.00%");
    EXPECT_EQ(formatPercent(-1e-9), "0.00%");
}

TEST(Format, UpToTenDecimalsKeepsThePoint)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        { 21.0, "21." },
        { 0.0, "0." },
        { 15.5, "15.5" },
        { 26.824179456254, "26.8241794563" },
        { 0.9488792934583046, "0.9488792935" },
        { 5.06, "5.06" },
        { -0.88, "-0.88" },
        { -1e-12, "0." },
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatUpToTenDecimals(c.value), c.text) << c.value;
}

TEST(Format, IntegerHalvesToEven)
{
    EXPECT_EQ(formatInteger(300), "300");
    EXPECT_EQ(formatInteger(-1000), "-1000");
    EXPECT_EQ(formatInteger(2.5), "2");
    EXPECT_EQ(formatInteger(1234567.6), "1234568");
}

TEST(Format, PlainDecimalHasFifteenDigitsAndNoExponent)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        { 10.000000000000009, "10" },
        { 12.5, "12.5" },
        { -3.25, "-3.25" },
        { 0, "0" },
        { 0.001, "0.001" },
        { 1.0 / 3.0, "0.333333333333333" },
        { 123456789012.5, "123456789012.5" },
        { 0.00001234, "0.00001234" },
        { 1e20, "1e+20" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatPlainDecimal(c.value), c.text) << c.value;
}

TEST(Format, NeverShowsNanOrInfinity)
{
    const double bad[] = { std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() };
    for (double v : bad) {
        EXPECT_THROW(formatFixed(v, 2), CalcError);
        EXPECT_THROW(formatPercent(v), CalcError);
        EXPECT_THROW(formatUpToTenDecimals(v), CalcError);
        EXPECT_THROW(formatPlainDecimal(v), CalcError);
    }
    EXPECT_THROW(formatPercent(1e307), CalcError); // × 100 overflows
}

// The program's users run es_CO.UTF-8, whose C library writes "," (the window
// tests run under it too; scripts/install-deps.sh generates it).
TEST(Format, DecimalPointUnderACommaLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(std::setlocale(LC_ALL, "es_CO.UTF-8")) << "locale es_CO.UTF-8 missing";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    EXPECT_STREQ(probe, "0,5");
    EXPECT_EQ(formatFixed(1100.5, 2), "1100.50");
    EXPECT_EQ(formatPercent(0.1), "10.00%");
    EXPECT_EQ(formatUpToTenDecimals(15.5), "15.5");
    EXPECT_EQ(formatPlainDecimal(9.99988230961984), "9.99988230961984");
    EXPECT_EQ(formatPlainDecimal(1.5e20), "1.5e+20");
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace orvex
