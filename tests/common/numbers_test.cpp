#include "common/calc_error.h"
#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace orvex {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndStopsThere)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        { "", 0 }, { "abc", 0 }, { "-", 0 }, { ".", 0 }, { "+.", 0 }, { "12", 12 }, { "  12", 12 },
        { "\t-3.5", -3.5 }, { "+7", 7 }, { "12a", 12 }, { "12*", 12 },
        { "1,5", 1 }, // only "." is a decimal point
        { ".5", 0.5 }, { "5.", 5 }, { "-.25x", -0.25 }, { "1e3", 1000 }, { "1E-2", 0.01 },
        { "2e", 2 }, { "2e+", 2 }, { "3e+2x", 300 }, { "1.5.3", 1.5 }, { "--1", 0 }, { "1 2", 1 },
        { "Incognita", 0 }, { "*", 0 }, { "1e-400", 0 }, // underflow reads as zero, not an error
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value);
    }
}

TEST(LeadingNumber, OverflowIsAnError)
{
    for (const char* text : { "1e400", "-1e309", "9e99999" }) {
        SCOPED_TRACE(text);
        try {
            leadingNumber(text);
            FAIL() << "no error";
        } catch (const CalcError& e) {
            EXPECT_EQ(e.kind(), CalcErrorKind::Overflow);
        }
    }
    // Ten million digits: the message names the number, but not all of it.
    try {
        leadingNumber(std::string(10'000'000, '9'));
        FAIL() << "no error";
    } catch (const CalcError& e) {
        EXPECT_LT(std::string(e.what()).size(), 100u) << e.what();
    }
}

TEST(IsNumericText, UsualNotationWithSurroundingBlanks)
{
    struct Case {
        const char* text;
        bool numeric;
    };
    const Case cases[] = {
        { "12", true },
        { " 12 ", true },
        { "1e3", true },
        { "-1.5E+2", true },
        { ".5", true },
        { "5.", true },
        { "12a", false },
        { "", false },
        { "-", false },
        { "1e", false },
        { "1 2", false },
        { "1,5", false },
        { "*", false },
        { "e5", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(isNumericText(c.text), c.numeric);
    }
}

TEST(Nearest, HalvesGoToTheEvenNeighbour)
{
    struct Case {
        double in, out;
    };
    const Case cases[] = { { 0.5, 0 }, { 1.5, 2 }, { 2.5, 2 }, { 3.5, 4 }, { -2.5, -2 },
        { -3.5, -4 }, { 2.4999, 2 }, { 2.5001, 3 }, { 12.5, 12 } };
    for (const auto& c : cases)
        EXPECT_EQ(nearest(c.in), c.out) << c.in;
    EXPECT_THROW(nearest(std::numeric_limits<double>::quiet_NaN()), CalcError);
}

TEST(ToInt16, FailsOutsideTheRange)
{
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(-32768.0), -32768);
    EXPECT_EQ(toInt16(32766.5), 32766);
    EXPECT_THROW(toInt16(32767.5), CalcError); // rounds to 32768
    EXPECT_THROW(toInt16(-32769), CalcError);
    EXPECT_THROW(toInt16(1e300), CalcError);
    EXPECT_THROW(toInt32(3e9), CalcError);
}

TEST(Money, RoundsToFourDecimalsHalvesToEven)
{
    struct Case {
        double in;
        long long raw;
    };
    const Case cases[]
        = { { 1.0, 10000 }, { -1000.0, -10000000 }, { 0.03125, 312 }, { 0.09375, 938 },
              { -0.03125, -312 }, { 263.79748, 2637975 }, { 1e14, 1000000000000000000LL } };
    for (const auto& c : cases)
        EXPECT_EQ(Money::fromDouble(c.in).raw(), c.raw) << c.in;
    EXPECT_DOUBLE_EQ(Money::fromDouble(-12.3456).toDouble(), -12.3456);
}

// Digit by digit, so amounts beyond 2^53 ten-thousandths keep every digit.
TEST(Money, FromTextIsExact)
{
    struct Case {
        const char* text;
        long long raw;
    };
    const Case cases[] = {
        { "922337203685477", 9223372036854770000LL },
        { "  -12.3456xy", -123456 },
        { "922337203685477.5807", 9223372036854775807LL },
        { "-922337203685477.5808", -9223372036854775807LL - 1 },
        { "0.00005", 0 },
        { "0.00015", 2 },
        { "0.000050001", 1 },
        { "1.23456e3", 12345600 },
        { "5e-5", 0 },
        { "", 0 },
        { "Incognita", 0 },
        { "1e-400", 0 },
        { "000123.40", 1234000 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Money::fromText(c.text).raw(), c.raw) << c.text;
    EXPECT_EQ(Money::fromText("922337203685477").toDouble(), 922337203685477.0);
    for (const char* text : { "922337203685477.5808", "1e15", "-1e400", "99999999999999999999" })
        EXPECT_THROW(Money::fromText(text), CalcError) << text;
}

TEST(Money, FailsOutOfRange)
{
    for (double x : { 1e15, -1e15, 1e300, std::numeric_limits<double>::infinity() })
        EXPECT_THROW(Money::fromDouble(x), CalcError) << x;
}

} // namespace
} // namespace orvex
