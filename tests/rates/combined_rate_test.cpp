#include "rates/combined_rate.h"

#include "common/calc_error.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(CombinedRate, WorkedExamples)
{
    // (1 + a)(1 + b) - 1 by hand: 1.10 × 1.05 = 1.155, 0.97 × 1.04 = 1.0088.
    const char* cases[][3] = { { "10", "5", "15.5" }, { "2", "3", "5.06" }, { "1.5", "20", "21.8" },
        { "-3", "4", "0.88" }, { "", "", "0." }, { "abc", "7", "7." }, { "7", "", "7." },
        { "-100", "50", "-100." } };
    for (const auto& [first, second, text] : cases)
        EXPECT_EQ(combinedRateText(first, second), text) << first << " and " << second;
}

TEST(CombinedRate, IsSymmetricAndZeroIsNeutral)
{
    for (double a : { -50.0, -3.0, 0.0, 0.5, 12.0, 250.0 })
        for (double b : { -20.0, 0.0, 4.0, 33.3 }) {
            SCOPED_TRACE(::testing::Message() << a << " and " << b);
            EXPECT_NEAR(combinedRate(a, b), combinedRate(b, a), 1e-12);
            EXPECT_NEAR(combinedRate(a, 0.0), a, 1e-12);
        }
}

TEST(CombinedRate, ResultBeyondADoubleThrows)
{
    EXPECT_THROW(combinedRateText("1e200", "1e200"), CalcError);
    EXPECT_THROW(combinedRateText("1e999", "1"), CalcError);
}

} // namespace
} // namespace orvex
