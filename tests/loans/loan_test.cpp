#include "common/calc_error.h"
#include "loans/loan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace orvex {
namespace {

LoanInput makeLoan(const char* term, const char* rate, const char* variation, PaymentSystem system,
    bool enUvr = false, const char* amount = "1200000", const char* uvr = "100")
{
    LoanInput loan;
    loan.texts = { amount, uvr, term, rate, variation };
    loan.system = system;
    loan.enUvr = enUvr;
    return loan;
}

// Present value at month 0 of the payments, at rate i.
double paymentsValue(const std::vector<double>& outflows, double i)
{
    double value = 0.0;
    for (std::size_t k = 1; k < outflows.size(); ++k)
        value -= outflows[k] / std::pow(1.0 + i, static_cast<double>(k));
    return value;
}

TEST(LoanSystems, WorkedExampleTwelveMonths)
{
    // 1200000 pesos at 100 pesos a UVR = 12000 UVR, 12 months at 1 % a month.
    SharedState state;
    runLoanCalculation(makeLoan("12", "1", "0.5", PaymentSystem::ConstantCapital), state);
    ASSERT_EQ(state.PeriodOutflows->size(), 13u);
    EXPECT_DOUBLE_EQ((*state.PeriodInflows)[0], 12000.0);
    EXPECT_DOUBLE_EQ((*state.PeriodNetFlows)[0], 12000.0);
    for (int k = 1; k <= 12; ++k) {
        SCOPED_TRACE(k);
        // capital 1000 plus 1 % of the balance before the payment
        EXPECT_NEAR((*state.PeriodOutflows)[k], -(1120.0 - 10.0 * (k - 1)), 1e-9);
        EXPECT_EQ((*state.PeriodNetFlows)[k], 0.0);
        EXPECT_EQ((*state.PeriodInflows)[k], 0.0);
    }

    runLoanCalculation(makeLoan("12", "1", "0.5", PaymentSystem::UniformPayment), state);
    for (int k = 1; k <= 12; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR((*state.PeriodOutflows)[k], -1066.18546414, 5e-9);
        EXPECT_NEAR((*state.PeriodNetFlows)[k], -1066.18546414, 5e-9);
    }

    runLoanCalculation(makeLoan("12", "1", "0.5", PaymentSystem::PresetPayments), state);
    EXPECT_NEAR((*state.PeriodOutflows)[1], -1095.17316747, 5e-9);
    EXPECT_NEAR((*state.PeriodOutflows)[12], -1036.42214272, 5e-9);
    for (int k = 2; k <= 12; ++k)
        EXPECT_NEAR((*state.PeriodOutflows)[k] / (*state.PeriodOutflows)[k - 1], 0.995, 1e-12);
    EXPECT_NEAR(paymentsValue(*state.PeriodOutflows, 0.01), 12000.0, 1e-6);
}

TEST(LoanSystems, PaymentsRepayTheLoanAtTheRealRate)
{
    struct Case {
        const char* term;
        const char* rate;
        const char* variation;
        PaymentSystem system;
    };
    const Case cases[] = {
        { "1", "1", "0", PaymentSystem::ConstantCapital },
        { "60", "0.8", "0", PaymentSystem::ConstantCapital },
        { "240", "1.5", "0", PaymentSystem::UniformPayment },
        { "7", "3", "0", PaymentSystem::UniformPayment },
        { "24", "1", "0.5", PaymentSystem::PresetPayments },
        { "180", "0.9", "1", PaymentSystem::PresetPayments },
        { "36", "1", "0", PaymentSystem::PresetPayments },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.term);
        SharedState state;
        runLoanCalculation(makeLoan(c.term, c.rate, c.variation, c.system), state);
        const double i = std::atof(c.rate) / 100.0;
        EXPECT_NEAR(paymentsValue(*state.PeriodOutflows, i), 12000.0, 1e-6);
    }
}

TEST(LoanSystems, PresetPaymentsRestartEveryYearAndStopAtWholeYears)
{
    SharedState state;
    runLoanCalculation(makeLoan("30", "1", "0.5", PaymentSystem::PresetPayments), state);
    const auto& out = *state.PeriodOutflows;
    ASSERT_EQ(out.size(), 31u);
    EXPECT_DOUBLE_EQ(out[13], out[1]);
    EXPECT_NEAR(out[14] / out[13], 0.995, 1e-12);
    for (int k = 25; k <= 30; ++k)
        EXPECT_EQ(out[k], 0.0) << k;
    // Y = 2 years of payments repay the loan at the real rate.
    EXPECT_NEAR(paymentsValue(out, 0.01), 12000.0, 1e-6);
}

TEST(LoanSystems, RoundedTermAgainstTypedTerm)
{
    // 12.5 months: twelve payments, but the capital part is 12000 / 12.5 = 960.
    SharedState state;
    runLoanCalculation(makeLoan("12.5", "1", "0", PaymentSystem::ConstantCapital), state);
    ASSERT_EQ(state.PeriodOutflows->size(), 13u);
    EXPECT_NEAR((*state.PeriodOutflows)[1], -(960.0 + 120.0), 1e-9);
    EXPECT_NEAR((*state.PeriodOutflows)[12], -(960.0 + 0.01 * (12000.0 - 11 * 960.0)), 1e-9);
    EXPECT_EQ(loanMonths("12.5"), 12);
    EXPECT_EQ(loanMonths("13.5"), 14);
}

TEST(LoanSystems, FailuresEndWithTheCalculationError)
{
    struct Case {
        const char* what;
        LoanInput loan;
    };
    const Case cases[] = {
        { "U0 = 0",
            makeLoan("12", "1", "0", PaymentSystem::ConstantCapital, false, "1200000", "0") },
        { "zero rate, uniform payment", makeLoan("12", "0", "0", PaymentSystem::UniformPayment) },
        { "zero term, uniform payment", makeLoan("0", "1", "0", PaymentSystem::UniformPayment) },
        { "18 months rounds to 2 years",
            makeLoan("18", "1", "0.5", PaymentSystem::PresetPayments) },
        { "zero rate and variation, preset",
            makeLoan("24", "0", "0", PaymentSystem::PresetPayments) },
        { "negative term", makeLoan("-3", "1", "0", PaymentSystem::ConstantCapital) },
        { "term beyond 16 bits", makeLoan("40000", "1", "0", PaymentSystem::ConstantCapital) },
        { "zero term, constant capital", makeLoan("0", "1", "0", PaymentSystem::ConstantCapital) },
        { "overflowing amount",
            makeLoan("12", "1", "0", PaymentSystem::ConstantCapital, false, "1e999") },
        { "overflowing UVR growth",
            makeLoan("2000", "1", "1e300", PaymentSystem::ConstantCapital) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SharedState state;
        EXPECT_THROW(runLoanCalculation(c.loan, state), CalcError);
    }
}

TEST(LoanSystems, ZeroRateWithConstantCapitalIsFine)
{
    SharedState state;
    runLoanCalculation(makeLoan("4", "0", "0", PaymentSystem::ConstantCapital), state);
    const std::vector<double> expected = { 0, -3000, -3000, -3000, -3000 };
    EXPECT_EQ(*state.PeriodOutflows, expected);
}

TEST(UvrPrices, MonthsFollowTheTableOrTheRunningRate)
{
    SharedState state;
    state.UvrVariations = std::vector<double> { 0.0, 0.01, 0.0, -0.02 };
    runLoanCalculation(makeLoan("5", "1", "0.5", PaymentSystem::ConstantCapital), state);
    const std::vector<double> rates = { 0.005, 0.01, 0.01, -0.02, -0.02 };
    const auto& values = *state.UvrValues;
    ASSERT_EQ(values.size(), 6u);
    EXPECT_EQ(values[0], 100.0);
    double expected = 100.0;
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(k);
        expected *= 1.0 + rates[k - 1];
        EXPECT_NEAR(values[k], expected, 1e-9);
    }
    // The substituted rates are not written back, and the table is resized to 0..N.
    const std::vector<double> table = { 0.0, 0.01, 0.0, -0.02, 0.0, 0.0 };
    EXPECT_EQ(*state.UvrVariations, table);
}

TEST(UvrPrices, SecondRunAppliesAChangedVariation)
{
    SharedState state;
    runLoanCalculation(makeLoan("3", "1", "0.5", PaymentSystem::ConstantCapital), state);
    EXPECT_NEAR((*state.UvrValues)[3], 100.0 * std::pow(1.005, 3), 1e-9);
    runLoanCalculation(makeLoan("3", "1", "1", PaymentSystem::ConstantCapital), state);
    EXPECT_NEAR((*state.UvrValues)[3], 100.0 * std::pow(1.01, 3), 1e-9);
}

TEST(UvrPrices, InUvrTheValuesAreLeftAlone)
{
    SharedState state;
    state.UvrValues = std::vector<double> { 7.0 };
    state.UvrVariations = std::vector<double>(30, 0.02);
    runLoanCalculation(makeLoan("12", "1", "0.5", PaymentSystem::UniformPayment, true), state);
    EXPECT_EQ(*state.UvrValues, std::vector<double> { 7.0 });
    EXPECT_EQ(state.UvrVariations->size(), 13u);
    EXPECT_EQ(state.UvrVariations->back(), 0.02);
}

} // namespace
} // namespace orvex
