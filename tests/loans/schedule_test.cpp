#include "common/calc_error.h"
#include "loans/loan.h"
#include "loans/schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace orvex {
namespace {

using Row = std::array<std::string, 5>;

LoanInput makeLoan(
    const char* term, const char* rate, const char* variation, PaymentSystem system, bool enUvr)
{
    LoanInput loan;
    loan.texts = { "1200000", "100", term, rate, variation };
    loan.system = system;
    loan.enUvr = enUvr;
    return loan;
}

ScheduleTable loanSchedule(const LoanInput& loan, SharedState& state)
{
    runLoanCalculation(loan, state);
    return buildSchedule(ScheduleSource::loan(loan.termText(), loan.rateText(), loan.enUvr), state);
}

TEST(LoanSchedule, UniformPaymentInUvr)
{
    SharedState state;
    const auto table
        = loanSchedule(makeLoan("12", "1", "0.5", PaymentSystem::UniformPayment, true), state);
    EXPECT_EQ(table.caption, "LIQUIDACION DE PRESTAMOS EN UVRS");
    ASSERT_EQ(table.rows.size(), 14u);
    EXPECT_EQ(
        table.rows[0], (Row { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" }));
    EXPECT_EQ(table.rows[1], (Row { "0", "", "", "", "12000.00000" }));
    EXPECT_EQ(table.rows[2], (Row { "1", "120.00000", "1066.18546", "946.18546", "11053.81454" }));
    EXPECT_EQ(table.rows[3], (Row { "2", "110.53815", "1066.18546", "955.64732", "10098.16722" }));
    EXPECT_EQ(table.rows[13][0], "12");
    EXPECT_EQ(table.rows[13][4], "0.00000");
    EXPECT_EQ(state.FirstPeriod, 0);
    EXPECT_EQ(state.LastPeriod, 12);
    EXPECT_EQ(*state.UvrValues, std::vector<double>(13, 1.0));
}

TEST(LoanSchedule, UniformPaymentInPesos)
{
    SharedState state;
    const auto table
        = loanSchedule(makeLoan("12", "1", "0.5", PaymentSystem::UniformPayment, false), state);
    EXPECT_EQ(table.caption, "LIQUIDACION DE PRESTAMOS EN PESOS");
    ASSERT_EQ(table.rows.size(), 14u);
    EXPECT_EQ(table.rows[1], (Row { "0", "", "", "", "1200000.00" }));
    // UVR amounts times the UVR value of the same month, 100.5 in month 1.
    EXPECT_EQ(table.rows[2], (Row { "1", "12060.00", "107151.64", "95091.64", "1110908.36" }));
    EXPECT_EQ(table.rows[13], (Row { "12", "1120.74", "113194.55", "112073.81", "0.00" }));
}

TEST(LoanSchedule, ConstantCapitalKeepsTheCapitalColumn)
{
    SharedState state;
    const auto table
        = loanSchedule(makeLoan("12", "1", "0", PaymentSystem::ConstantCapital, true), state);
    for (int r = 2; r <= 13; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(table.rows[r][3], "1000.00000");
        // The payment falls by 1 % of one capital part each month.
        EXPECT_NEAR(std::stod(table.rows[r][2]), 1120.0 - 10.0 * (r - 2), 1e-9);
        EXPECT_NEAR(std::stod(table.rows[r][4]), 12000.0 - 1000.0 * (r - 1), 1e-9);
    }
}

TEST(LoanSchedule, PresetMonthsWithoutPaymentGrowTheBalance)
{
    SharedState state;
    const auto table
        = loanSchedule(makeLoan("30", "1", "0.5", PaymentSystem::PresetPayments, true), state);
    ASSERT_EQ(table.rows.size(), 32u);
    EXPECT_EQ(table.rows[25][4], "0.00000"); // month 24: two whole years repaid
    EXPECT_EQ(table.rows[26][2], "0.00000");
    // With a zero balance there is no interest: the balance stays 0 after month 24.
    EXPECT_EQ(table.rows[31][4], "0.00000");
}

TEST(LoanSchedule, TypedTermWithHalfMonthLeavesABalance)
{
    SharedState state;
    const auto table
        = loanSchedule(makeLoan("12.5", "1", "0", PaymentSystem::ConstantCapital, true), state);
    ASSERT_EQ(table.rows.size(), 14u);
    EXPECT_EQ(table.rows[13][4], "480.00000");
    EXPECT_EQ(state.LastPeriod, 12);
}

TEST(LoanSchedule, BalanceReachesZeroForUniformPayments)
{
    // Closed form check: the uniform payment repays the loan, whatever term and rate.
    const char* rates[] = { "0.1", "0.5", "1", "1.75", "3", "10" };
    for (int term : { 1, 2, 5, 12, 13, 60, 119, 240, 360 }) {
        for (const char* rate : rates) {
            SCOPED_TRACE(std::to_string(term) + " months at " + rate);
            SharedState state;
            const std::string termText = std::to_string(term);
            const auto table = loanSchedule(
                makeLoan(termText.c_str(), rate, "0", PaymentSystem::UniformPayment, true), state);
            ASSERT_EQ(table.rows.size(), static_cast<std::size_t>(term) + 2);
            // Rounding of the payment grows like (1 + i)^n along the balance.
            const double growth = std::pow(1.0 + std::atof(rate) / 100.0, term);
            EXPECT_NEAR(std::stod(table.rows.back()[4]), 0.0, 6e-6 + 12000.0 * 1e-15 * growth);
            if (growth < 1e6) {
                EXPECT_EQ(table.rows.back()[4], "0.00000");
            }
            // Interest plus capital is the payment in every row.
            for (std::size_t r = 2; r < table.rows.size(); ++r) {
                const double sum = std::stod(table.rows[r][1]) + std::stod(table.rows[r][3]);
                EXPECT_NEAR(sum, std::stod(table.rows[r][2]), 2e-5);
            }
        }
    }
}

TEST(WorksheetSchedule, FlowsOfTheWorksheetAtTheInterestRate)
{
    // A loan of 1000 repaid by five payments of 263.797480 at 10 %, from period 3.
    SharedState state;
    state.FirstPeriod = 3;
    state.LastPeriod = 8;
    const double payment = 1000.0 * 0.1 / (1.0 - std::pow(1.1, -5));
    state.PeriodInflows = std::vector<double> { 1000, 0, 0, 0, 0, 0 };
    state.PeriodOutflows
        = std::vector<double> { 0, -payment, -payment, -payment, -payment, -payment };
    state.PeriodNetFlows
        = std::vector<double> { 1000, -payment, -payment, -payment, -payment, -payment };
    state.UvrValues = std::vector<double> { 5.0, 5.0 };

    const auto table = buildSchedule(ScheduleSource::worksheet("10"), state);
    EXPECT_EQ(table.caption, "LIQUIDACION DE PRESTAMOS");
    ASSERT_EQ(table.rows.size(), 7u);
    EXPECT_EQ(table.rows[1], (Row { "3", "", "", "", "1000.00" }));
    EXPECT_EQ(table.rows[2], (Row { "4", "100.00", "263.80", "163.80", "836.20" }));
    EXPECT_EQ(table.rows[6][0], "8");
    EXPECT_EQ(table.rows[6][4], "0.00");
    EXPECT_EQ(state.FirstPeriod, 3);
    EXPECT_EQ(state.LastPeriod, 8);
    EXPECT_EQ(*state.UvrValues, std::vector<double>(7, 1.0));
}

TEST(WorksheetSchedule, InflowsAfterTheStartRaiseTheBalance)
{
    SharedState state;
    state.PeriodInflows = std::vector<double> { 0, 500 };
    state.PeriodOutflows = std::vector<double> { -100, 0 };
    state.PeriodNetFlows = std::vector<double> { -100, 500 };
    const auto table = buildSchedule(ScheduleSource::worksheet("abc"), state);
    // B = -100; I = 0 (no rate); C = 0; K = 0; B = -100 + 500.
    EXPECT_EQ(table.rows[2], (Row { "1", "0.00", "0.00", "0.00", "400.00" }));
}

TEST(ScheduleFailures, EndWithTheCalculationError)
{
    struct Case {
        const char* what;
        bool withFlows;
        ScheduleSource source;
    };
    const Case cases[] = {
        { "worksheet before any calculation", false, ScheduleSource::worksheet("10") },
        { "loan before any calculation", false, ScheduleSource::loan("12", "1", true) },
        { "term shorter than the flows, in UVR", true, ScheduleSource::loan("1", "1", true) },
        { "negative term", true, ScheduleSource::loan("-2", "1", true) },
        { "term beyond 16 bits", true, ScheduleSource::loan("1e6", "1", true) },
        { "pesos without UVR values", true, ScheduleSource::loan("3", "1", false) },
        { "overflowing rate", true, ScheduleSource::worksheet("1e308") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SharedState state;
        if (c.withFlows) {
            state.PeriodInflows = std::vector<double> { 1000, 0, 0, 0 };
            state.PeriodOutflows = std::vector<double> { 0, -400, -400, -400 };
            state.PeriodNetFlows = std::vector<double> { 1000, -400, -400, -400 };
        }
        EXPECT_THROW(buildSchedule(c.source, state), CalcError);
    }
}

TEST(ScheduleClipboard, EveryCellEndsWithTabAndEveryRowWithCrLf)
{
    ScheduleTable table;
    table.rows = { Row { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" },
        Row { "0", "", "", "", "12.00" } };
    EXPECT_EQ(scheduleClipboardText(table),
        "Período\tPago Intereses\tCuota\tPago Capital\tSaldo\t\r\n0\t\t\t\t12.00\t\r\n");

    SharedState state;
    const auto full
        = loanSchedule(makeLoan("12", "1", "0", PaymentSystem::UniformPayment, true), state);
    const std::string text = scheduleClipboardText(full);
    std::size_t lines = 0;
    for (std::size_t at = text.find("\t\r\n"); at != std::string::npos;
         at = text.find("\t\r\n", at + 1))
        ++lines;
    EXPECT_EQ(lines, 14u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 14 * 5);
}

} // namespace
} // namespace orvex
