#include "common/calc_error.h"
#include "worksheet/calculation.h"

#include "worksheet/sheet_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace orvex {
namespace {

using test::makeSheet;

TEST(Expansion, RangesAndFlowsPerKind)
{
    struct Case {
        const char* name;
        Worksheet sheet;
        int first, last;
        std::vector<double> in, out;
    };
    const std::vector<Case> cases = {
        { "loan and series", makeSheet({ { 1, "-1000", "0" }, { 2, "300", "0", "4" } }), 0, 4,
            { 0, 300, 300, 300, 300 }, { -1000, 0, 0, 0, 0 } },
        { "series from 3 to 8", makeSheet({ { 2, "10", "3", "8" } }), 3, 8,
            { 0, 10, 10, 10, 10, 10 }, { 0, 0, 0, 0, 0, 0 } },
        { "single payment ignores its end", makeSheet({ { 1, "5", "2", "50" } }), 2, 2, { 5 },
            { 0 } },
        { "arithmetic gradient", makeSheet({ { 3, "100", "0", "4" } }), 0, 4,
            { 0, 0, 100, 200, 300 }, { 0, 0, 0, 0, 0 } },
        { "geometric gradient", makeSheet({ { 4, "-100", "1", "4", "10" } }), 1, 4, { 0, 0, 0, 0 },
            { 0, -100, -110, -121 } },
        { "sensitivity 90", makeSheet({ { 1, "200", "0", "", "", "90" } }), 0, 0, { 180 }, { 0 } },
        { "sensitivity -100 keeps the array of the amount",
            makeSheet({ { 1, "200", "0", "", "", "-100" }, { 1, "-50", "1", "", "", "-100" } }), 0,
            1, { -200, 0 }, { 0, 50 } },
        { "sensitivity text without number counts as 100 %",
            makeSheet({ { 1, "7", "0", "", "", "abc" } }), 0, 0, { 7 }, { 0 } },
        { "amount rounds to four decimals", makeSheet({ { 1, "0.123456", "0" } }), 0, 0, { 0.1235 },
            { 0 } },
        { "amount beyond 2^53 ten-thousandths keeps its digits",
            makeSheet({ { 1, "527407879097371.3439", "0" } }), 0, 0, { 527407879097371.3439 },
            { 0 } },
        { "negative periods", makeSheet({ { 1, "-1", "-2" }, { 1, "3", "1" } }), -2, 1,
            { 0, 0, 0, 3 }, { -1, 0, 0, 0 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SharedState state;
        ASSERT_FALSE(expandWorksheet(c.sheet, state).has_value());
        EXPECT_EQ(state.FirstPeriod, c.first);
        EXPECT_EQ(state.LastPeriod, c.last);
        ASSERT_EQ(state.PeriodInflows->size(), c.in.size());
        for (std::size_t k = 0; k < c.in.size(); ++k) {
            EXPECT_NEAR((*state.PeriodInflows)[k], c.in[k], 1e-9) << "in " << k;
            EXPECT_NEAR((*state.PeriodOutflows)[k], c.out[k], 1e-9) << "out " << k;
            EXPECT_NEAR((*state.PeriodNetFlows)[k], c.in[k] + c.out[k], 1e-9) << "net " << k;
        }
    }
}

TEST(Expansion, YearlyGrowingMonthlySeries)
{
    // A = 10, g = 10 % from year 0 to 2: 10 in months 1-12, 11 in months 13-24.
    SharedState state;
    expandWorksheet(makeSheet({ { 5, "10", "0", "2", "10" } }), state);
    EXPECT_EQ(state.LastPeriod, 24);
    EXPECT_EQ((*state.PeriodInflows)[0], 0);
    for (int m = 1; m <= 24; ++m)
        EXPECT_NEAR((*state.PeriodInflows)[m], m <= 12 ? 10 : 11, 1e-12) << m;

    // Starting in year 1: months 13-36, growth counted from the first year.
    SharedState late;
    expandWorksheet(makeSheet({ { 1, "-1", "0" }, { 5, "10", "1", "3", "10" } }), late);
    EXPECT_EQ(late.LastPeriod, 36);
    EXPECT_EQ((*late.PeriodInflows)[12], 0);
    EXPECT_NEAR((*late.PeriodInflows)[13], 10, 1e-12);
    EXPECT_NEAR((*late.PeriodInflows)[25], 11, 1e-12);
}

TEST(Expansion, EmptyWorksheetHasOneZeroPeriod)
{
    SharedState state;
    state.FirstPeriod = 7;
    expandWorksheet(Worksheet {}, state);
    EXPECT_EQ(state.FirstPeriod, 0);
    EXPECT_EQ(state.LastPeriod, 0);
    EXPECT_EQ(*state.PeriodNetFlows, std::vector<double> { 0 });
}

TEST(Expansion, UnknownRowsAddNothingAndTheLastIsCaptured)
{
    Worksheet sheet = makeSheet(
        { { 2, "Incognita", "0", "3" }, { 1, "-100", "1" }, { 4, "12*", "2", "6", "5", "80" } });
    SharedState state;
    const auto unknown = expandWorksheet(sheet, state);
    ASSERT_TRUE(unknown.has_value());
    EXPECT_EQ(unknown->kind, 4);
    EXPECT_EQ(unknown->start, 2);
    EXPECT_EQ(unknown->end, 6);
    EXPECT_DOUBLE_EQ(unknown->growth, 0.05);
    EXPECT_DOUBLE_EQ(unknown->sensitivity, 0.8);
    EXPECT_EQ(unknown->amountText, "12*");
    EXPECT_EQ(*state.PeriodNetFlows, (std::vector<double> { 0, -100, 0, 0, 0, 0, 0 }));
}

TEST(Expansion, BadInputIsAnErrorNeverNaN)
{
    struct Case {
        const char* name;
        Worksheet sheet;
    };
    const Case cases[] = {
        { "start beyond 16 bits", makeSheet({ { 1, "1", "40000" } }) },
        { "end beyond 16 bits", makeSheet({ { 2, "1", "0", "32768" } }) },
        { "years × 12 beyond 16 bits", makeSheet({ { 5, "1", "0", "3000" } }) },
        { "amount 1e400", makeSheet({ { 1, "1e400", "0" } }) },
        { "amount beyond money range", makeSheet({ { 1, "1e16", "0" } }) },
        { "growth that overflows", makeSheet({ { 4, "1", "0", "3000", "1e6" } }) },
        // Each flow is 1.35e308; their sum in period 0 is beyond the largest double.
        { "sum that overflows",
            makeSheet({ { 1, "900000000000000", "0", "", "", "1.5e295" },
                { 1, "900000000000000", "0", "", "", "1.5e295" } }) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SharedState state;
        EXPECT_THROW(expandWorksheet(c.sheet, state), CalcError);
        // What the arrays hold at the error is shown by the diagram: never infinity.
        if (state.hasFlows()) {
            for (double x : *state.PeriodNetFlows)
                EXPECT_TRUE(std::isfinite(x));
        }
    }
}

} // namespace
} // namespace orvex
