#include "common/calc_error.h"
#include "loans/loan.h"
#include "loans/schedule.h"
#include "loans_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace orvex {
namespace {

using Row = std::array<std::string, 5>;
using test::loan;
using test::loanSchedule;
using enum PaymentSystem;

const Row kHeaders { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" };

TEST(LoanFlows, TwelveMonthsOfTwelveThousandUvrAtOnePercent)
{
    const std::pair<PaymentSystem, std::function<double(int)>> cases[] = {
        // Capital 1000 a month plus 1 % of the balance before the payment.
        { ConstantCapital, [](int k) { return -(1120.0 - 10.0 * (k - 1)); } },
        { UniformPayment, [](int) { return -1066.18546414; } },
        { PresetPayments, [](int k) { return -1095.17316747 * std::pow(0.995, k - 1); } },
    };
    for (const auto& [system, payment] : cases) {
        SCOPED_TRACE(static_cast<int>(system));
        SharedState s;
        runLoanCalculation(loan("12", "1", system, false), s);
        ASSERT_EQ(s.PeriodOutflows->size(), 13u);
        EXPECT_EQ((*s.PeriodInflows)[0], 12000.0);
        EXPECT_EQ((*s.PeriodNetFlows)[0], 12000.0);
        for (int k = 1; k <= 12; ++k) {
            EXPECT_NEAR((*s.PeriodOutflows)[k], payment(k), 5e-9) << k;
            EXPECT_EQ((*s.PeriodInflows)[k], 0.0);
            // Constant capital writes no net flows beyond month 0.
            const double net = system == ConstantCapital ? 0.0 : (*s.PeriodOutflows)[k];
            EXPECT_EQ((*s.PeriodNetFlows)[k], net) << k;
        }
    }
    SharedState s;
    runLoanCalculation(loan("12", "1", PresetPayments), s);
    EXPECT_NEAR((*s.PeriodOutflows)[12], -1036.42214272, 5e-9);
}

TEST(LoanSchedule, UniformPaymentInUvrAndInPesos)
{
    struct Case {
        bool enUvr;
        const char* caption;
        std::vector<std::string> periods; // "period|interest|payment|capital|balance"
    };
    const Case cases[] = {
        // Month 12: interest 1 % of 1066.18546414 / 1.01, the balance it repays.
        { true, "LIQUIDACION DE PRESTAMOS EN UVRS",
            { "0||||12000.00000", "1|120.00000|1066.18546|946.18546|11053.81454",
                "2|110.53815|1066.18546|955.64732|10098.16722",
                "12|10.55629|1066.18546|1055.62917|0.00000" } },
        // UVR amounts times the UVR value of the same month, 100.5 in month 1.
        { false, "LIQUIDACION DE PRESTAMOS EN PESOS",
            { "0||||1200000.00", "1|12060.00|107151.64|95091.64|1110908.36",
                "12|1120.74|113194.55|112073.81|0.00" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        SharedState s;
        const auto table = loanSchedule(loan("12", "1", UniformPayment, c.enUvr), s);
        EXPECT_EQ(table.caption, c.caption);
        ASSERT_EQ(table.rows.size(), 14u);
        EXPECT_EQ(table.rows[0], kHeaders);
        for (const std::string& period : c.periods)
            EXPECT_EQ(test::joined(table.rows[std::stoul(period) + 1]), period);
        EXPECT_EQ(s.FirstPeriod, 0);
        EXPECT_EQ(s.LastPeriod, 12);
        EXPECT_EQ(*s.UvrValues == std::vector<double>(13, 1.0), c.enUvr);
    }
}

TEST(LoanSchedule, EverySystemRepaysTheLoanAtTheRealRate)
{
    for (const auto system : { ConstantCapital, UniformPayment, PresetPayments }) {
        for (int term : { 12, 24, 60, 120, 240, 360 }) {
            for (const char* rate : { "0.1", "1", "1.75", "3", "10" }) {
                SCOPED_TRACE(std::to_string(static_cast<int>(system)) + ": " + std::to_string(term)
                    + " months at " + rate);
                SharedState s;
                const auto table
                    = loanSchedule(loan(std::to_string(term).c_str(), rate, system), s);
                ASSERT_EQ(table.rows.size(), static_cast<std::size_t>(term) + 2);
                // The payments are worth the loan at the real rate...
                const double i = std::atof(rate) / 100.0;
                double value = 0.0;
                for (int k = 1; k <= term; ++k)
                    value -= (*s.PeriodOutflows)[k] / std::pow(1.0 + i, k);
                EXPECT_NEAR(value, 12000.0, 1e-6);
                // ...so the balance reaches 0, up to rounding grown like (1 + i)^n.
                const double growth = std::pow(1.0 + i, term);
                EXPECT_NEAR(std::stod(table.rows.back()[4]), 0.0, 6e-6 + 12000.0 * 1e-15 * growth);
                // Constant capital: the same capital part every month.
                for (std::size_t r = 2; system == ConstantCapital && r < table.rows.size(); ++r)
                    EXPECT_NEAR(std::stod(table.rows[r][3]), 12000.0 / term, 6e-6) << r;
            }
        }
    }
}

TEST(LoanSchedule, PresetPaymentsRestartEveryYearAndStopAtWholeYears)
{
    SharedState s;
    const auto table = loanSchedule(loan("30", "1", PresetPayments), s);
    const auto& out = *s.PeriodOutflows;
    ASSERT_EQ(out.size(), 31u);
    EXPECT_DOUBLE_EQ(out[13], out[1]);
    EXPECT_NEAR(out[14] / out[13], 0.995, 1e-12);
    for (int k = 25; k <= 30; ++k) {
        EXPECT_EQ(out[k], 0.0) << k;
        // Two whole years repaid the loan: no balance, so no interest either.
        EXPECT_EQ(table.rows[k + 1][4], "0.00000") << k;
    }
}

TEST(LoanSchedule, TypedHalfMonthDividesTheCapitalButNotTheMonths)
{
    // 12.5 months: twelve payments of capital 12000 / 12.5 = 960, leaving 480.
    SharedState s;
    const auto table = loanSchedule(loan("12.5", "1", ConstantCapital), s);
    ASSERT_EQ(s.PeriodOutflows->size(), 13u);
    EXPECT_NEAR((*s.PeriodOutflows)[1], -(960.0 + 120.0), 1e-9);
    EXPECT_EQ(test::joined(table.rows.back()), "12|14.40000|974.40000|960.00000|480.00000");
    EXPECT_EQ(s.LastPeriod, 12);
    EXPECT_EQ(loanMonths("13.5"), 14); // halves to even
}

TEST(LoanFlows, FailuresEndWithTheCalculationError)
{
    const std::pair<const char*, LoanInput> cases[] = {
        { "U0 = 0", loan("12", "1", ConstantCapital, false, "0", "0") },
        { "zero rate, uniform payment", loan("12", "0", UniformPayment) },
        { "zero term, uniform payment", loan("0", "1", UniformPayment) },
        { "18 months rounds to 2 years", loan("18", "1", PresetPayments) },
        { "zero rate and variation, preset", loan("24", "0", PresetPayments, true, "0") },
        { "negative term", loan("-3", "1", ConstantCapital) },
        { "term beyond 16 bits", loan("40000", "1", ConstantCapital) },
        { "zero term, constant capital", loan("0", "1", ConstantCapital) },
        { "overflowing amount", loan("12", "1", ConstantCapital, false, "0", "100", "1e999") },
        { "overflowing UVR growth", loan("2000", "1", ConstantCapital, false, "1e300") },
    };
    for (const auto& [what, input] : cases) {
        SCOPED_TRACE(what);
        SharedState s;
        EXPECT_THROW(runLoanCalculation(input, s), CalcError);
    }
}

TEST(UvrPrices, MonthsFollowTheTableOrTheRunningRate)
{
    SharedState s;
    s.UvrVariations = std::vector<double> { 0.0, 0.01, 0.0, -0.02 };
    runLoanCalculation(loan("5", "1", ConstantCapital, false), s);
    const double rates[] = { 0.005, 0.01, 0.01, -0.02, -0.02 };
    ASSERT_EQ(s.UvrValues->size(), 6u);
    double expected = 100.0;
    for (int k = 0; k <= 5; ++k) {
        expected *= k == 0 ? 1.0 : 1.0 + rates[k - 1];
        EXPECT_NEAR((*s.UvrValues)[k], expected, 1e-9) << k;
    }
    // The substituted rates are not written back, and the table is resized to 0..N...
    EXPECT_EQ(*s.UvrVariations, (std::vector<double> { 0.0, 0.01, 0.0, -0.02, 0.0, 0.0 }));
    // ...so a second run applies a changed variation.
    runLoanCalculation(loan("3", "1", ConstantCapital, false, "1"), s);
    EXPECT_NEAR((*s.UvrValues)[3], 100.0 * 1.01 * 1.01 * 1.01, 1e-9);

    // In UVR the values are left alone.
    s.UvrValues = std::vector<double> { 7.0 };
    s.UvrVariations = std::vector<double>(30, 0.02);
    runLoanCalculation(loan("12", "1", UniformPayment), s);
    EXPECT_EQ(*s.UvrValues, std::vector<double> { 7.0 });
    EXPECT_EQ(*s.UvrVariations, std::vector<double>(13, 0.02));
}

TEST(WorksheetSchedule, FlowsOfTheWorksheetAtTheInterestRate)
{
    // A loan of 1000 repaid by five payments of 263.797480 at 10 %, from period 3.
    SharedState s;
    s.FirstPeriod = 3;
    s.LastPeriod = 8;
    const double c = 1000.0 * 0.1 / (1.0 - std::pow(1.1, -5));
    test::setFlows(s, { 1000, 0, 0, 0, 0, 0 }, { 0, -c, -c, -c, -c, -c });
    s.UvrValues = std::vector<double> { 5.0, 5.0 };
    const auto table = buildSchedule(ScheduleSource::worksheet("10"), s);
    EXPECT_EQ(table.caption, "LIQUIDACION DE PRESTAMOS");
    ASSERT_EQ(table.rows.size(), 7u);
    EXPECT_EQ(test::joined(table.rows[1]), "3||||1000.00");
    EXPECT_EQ(test::joined(table.rows[2]), "4|100.00|263.80|163.80|836.20");
    EXPECT_EQ(test::joined(table.rows[6]), "8|23.98|263.80|239.82|0.00");
    EXPECT_EQ(*s.UvrValues, std::vector<double>(7, 1.0));

    // Inflows after the start raise the balance; a rate that is no number counts 0.
    SharedState other;
    test::setFlows(other, { 0, 500 }, { -100, 0 });
    EXPECT_EQ(test::joined(buildSchedule(ScheduleSource::worksheet("abc"), other).rows[2]),
        "1|0.00|0.00|0.00|400.00");
}

TEST(LoanSchedule, FailuresEndWithTheCalculationError)
{
    const std::pair<const char*, ScheduleSource> cases[] = {
        { "term shorter than the flows, in UVR", ScheduleSource::loan("1", "1", true) },
        { "negative term", ScheduleSource::loan("-2", "1", true) },
        { "term beyond 16 bits", ScheduleSource::loan("1e6", "1", true) },
        { "pesos without UVR values", ScheduleSource::loan("3", "1", false) },
        { "overflowing rate", ScheduleSource::worksheet("1e308") },
    };
    for (const auto& [what, source] : cases) {
        SCOPED_TRACE(what);
        SharedState s;
        test::setFlows(s, { 1000, 0, 0, 0 }, { 0, -400, -400, -400 });
        EXPECT_THROW(buildSchedule(source, s), CalcError);
    }
    SharedState none; // no calculation yet
    EXPECT_THROW(buildSchedule(ScheduleSource::worksheet("10"), none), CalcError);
    EXPECT_THROW(buildSchedule(ScheduleSource::loan("12", "1", true), none), CalcError);
}

TEST(LoanSchedule, ClipboardEndsEveryCellWithTabAndEveryRowWithCrLf)
{
    ScheduleTable small;
    small.rows = { kHeaders, Row { "0", "", "", "", "12.00" } };
    EXPECT_EQ(scheduleClipboardText(small),
        "Período\tPago Intereses\tCuota\tPago Capital\tSaldo\t\r\n0\t\t\t\t12.00\t\r\n");
    // Twelve months: 14 lines of 5 cells.
    SharedState s;
    const auto text = scheduleClipboardText(loanSchedule(loan("12", "1", UniformPayment), s));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 14 * 5);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 14);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 14);
}

} // namespace
} // namespace orvex
