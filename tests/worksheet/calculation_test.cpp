#include "worksheet/calculation.h"

#include "worksheet/sheet_builder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvex {
namespace {

using test::makeSheet;

TEST(Solve, WorkedExamples)
{
    struct Case {
        const char* name;
        Worksheet sheet;
        const char* label;
        const char* value;
    };
    const Case cases[] = {
        { "one-period loan", makeSheet({ { 1, "-1000", "0" }, { 1, "Incognita", "1" } }, "10"),
            "El valor P (Pago Unico ) es : ", "1100.00" },
        { "uniform series, n = 5, 10 %",
            makeSheet({ { 1, "-1000", "0" }, { 2, "*", "0", "5" } }, "10"),
            "El valor A (Serie Uniforme ) es : ", "263.80" },
        // g = i = 5 %: F = n / 1.05, so A = 1000 × 1.05 / 4.
        { "geometric gradient with g = i",
            makeSheet({ { 1, "-1000", "0" }, { 4, "*", "0", "4", "5" } }, "5"),
            "El valor A (Serie Gradiente Geométrico ) es : ", "262.50" },
        // g = 0, one year at 1 % a month: F is the 12-month annuity factor 11.2550775.
        { "yearly series, one year",
            makeSheet({ { 1, "-1000", "0" }, { 5, "*", "0", "1", "0" } }, "1"),
            "El valor A (Primera Cuota ) es : ", "88.85" },
        // (P/G, 10 %, 5) = 6.8618: G = 1000 / 6.8618 = 145.7342.
        { "arithmetic gradient", makeSheet({ { 1, "-1000", "0" }, { 3, "*", "0", "5" } }, "10"),
            "El valor g (Serie Gradiente Aritmético) es : ", "145.73" },
        { "empty rate, single payment", makeSheet({ { 1, "-250", "0" }, { 1, "*", "3" } }, ""),
            "El valor P (Pago Unico ) es : ", "250.00" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SharedState state;
        const CalcOutcome out = calculos(c.sheet, state);
        ASSERT_FALSE(out.failed) << out.failure;
        EXPECT_EQ(out.mode, CalcMode::Solve);
        EXPECT_EQ(out.comentario.value_or(""), c.label);
        EXPECT_EQ(out.respuesta.value_or(""), c.value);
    }
}

// Whatever the kind, start, growth and period range, the solved row brings the
// present value of all flows to zero.
TEST(Solve, SolvedRowZeroesThePresentValue)
{
    struct Case {
        const char* name;
        Worksheet sheet;
        double rate;
    };
    const Case cases[] = {
        { "kind 1 late", makeSheet({ { 2, "-100", "0", "6" }, { 1, "*", "9" } }, "3"), 0.03 },
        { "kind 2 from 2", makeSheet({ { 1, "-1000", "-1" }, { 2, "*", "2", "8" } }, "2.5"),
            0.025 },
        { "kind 3", makeSheet({ { 1, "5000", "0" }, { 3, "*", "1", "12" } }, "1.5"), 0.015 },
        { "kind 4", makeSheet({ { 1, "-800", "0" }, { 4, "*", "0", "10", "3" } }, "7"), 0.07 },
        { "kind 4, g = i", makeSheet({ { 1, "-800", "2" }, { 4, "*", "3", "10", "4" } }, "4"),
            0.04 },
        { "kind 5 start 0, growth",
            makeSheet({ { 1, "-90000", "0" }, { 5, "*", "0", "5", "8" } }, "1.2"), 0.012 },
        { "kind 5 from year 2",
            makeSheet({ { 1, "-90000", "0" }, { 5, "*", "2", "6", "8" } }, "0.9"), 0.009 },
        { "kind 5 with earlier first period",
            makeSheet({ { 1, "-9000", "-5" }, { 5, "*", "0", "2", "3" } }, "1"), 0.01 },
        { "negative rate", makeSheet({ { 1, "-1000", "0" }, { 2, "*", "0", "5" } }, "-5"), -0.05 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SharedState state;
        const CalcOutcome out = calculos(c.sheet, state);
        ASSERT_FALSE(out.failed) << out.failure;
        double scale = 0;
        for (double x : *state.PeriodNetFlows)
            scale += std::fabs(x);
        EXPECT_NEAR(presentValue(c.rate, *state.PeriodNetFlows), 0.0, 1e-9 * scale);
    }
}

TEST(Solve, DirectSumOfTheGradientMatchesTheClosedForm)
{
    // Independent of the factor formula: Σ (k − 1) / 1.1^k for k = 2..5.
    double factor = 0;
    for (int k = 2; k <= 5; ++k)
        factor += (k - 1) / std::pow(1.1, k);
    SharedState state;
    const CalcOutcome out
        = calculos(makeSheet({ { 1, "-1000", "0" }, { 3, "*", "0", "5" } }, "10"), state);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2f", 1000 / factor);
    EXPECT_EQ(out.respuesta.value_or(""), expected);
}

TEST(Solve, SensitivityScalesTheSolvedRowsFlowsButNotTheAmount)
{
    SharedState state;
    const CalcOutcome out
        = calculos(makeSheet({ { 1, "-1000", "0" }, { 1, "*", "1", "", "", "70" } }, "10"), state);
    EXPECT_EQ(out.respuesta.value_or(""), "1100.00");
    EXPECT_NEAR((*state.PeriodInflows)[1], 770, 1e-9);
}

TEST(Solve, OnlyTheLaterOfTwoUnknownRowsIsSolved)
{
    SharedState state;
    const CalcOutcome out = calculos(
        makeSheet({ { 2, "*", "0", "3" }, { 1, "-1000", "0" }, { 1, "*", "1" } }, "10"), state);
    ASSERT_FALSE(out.failed);
    EXPECT_EQ(out.comentario.value_or(""), "El valor P (Pago Unico ) es : ");
    EXPECT_EQ(out.respuesta.value_or(""), "1100.00");
    EXPECT_EQ(*state.PeriodNetFlows, (std::vector<double> { -1000, 1100, 0, 0 }));
}

TEST(Solve, FailuresShowTheError)
{
    struct Case {
        const char* name;
        Worksheet sheet;
    };
    const Case cases[] = {
        { "zero rate, uniform series",
            makeSheet({ { 1, "-1000", "0" }, { 2, "*", "0", "5" } }, "") },
        { "zero rate, gradient", makeSheet({ { 1, "-1000", "0" }, { 3, "*", "0", "5" } }, "0") },
        { "series without periods",
            makeSheet({ { 1, "-1000", "0" }, { 2, "*", "3", "3" } }, "10") },
        { "rate of -100 %", makeSheet({ { 1, "-1000", "0" }, { 1, "*", "1" } }, "-100") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SharedState state;
        const CalcOutcome out = calculos(c.sheet, state);
        EXPECT_TRUE(out.failed);
        EXPECT_FALSE(out.evaluation.has_value());
    }
}

TEST(RateMode, FindsTheRateAndWritesItBack)
{
    SharedState state;
    const CalcOutcome out
        = calculos(makeSheet({ { 1, "-1000", "0" }, { 1, "1100", "1" } }, "Incognita"), state);
    ASSERT_FALSE(out.failed) << out.failure;
    EXPECT_EQ(out.mode, CalcMode::Rate);
    EXPECT_EQ(out.comentario.value_or(""), "La tasa de interes es : ");
    EXPECT_EQ(out.respuesta.value_or(""), "10.00%");
    EXPECT_EQ(out.newRate.value_or(""), "10");

    // The written rate is read back as a known rate: the worksheet then evaluates to VPN 0.
    Worksheet again = makeSheet({ { 1, "-1000", "0" }, { 1, "1100", "1" } }, out.newRate->c_str());
    const CalcOutcome eval = calculos(again, state);
    ASSERT_TRUE(eval.evaluation.has_value());
    EXPECT_EQ(eval.evaluation->vpn, "0.00");
}

TEST(RateMode, Failures)
{
    SharedState state;
    const CalcOutcome positive
        = calculos(makeSheet({ { 1, "100", "0" }, { 1, "100", "1" } }, "Incognita"), state);
    EXPECT_TRUE(positive.failed);
    EXPECT_FALSE(positive.respuesta.has_value());

    // A row marked unknown: the rate is shown and written, then the error follows.
    const CalcOutcome marked = calculos(
        makeSheet({ { 1, "-1000", "0" }, { 1, "1100", "1" }, { 1, "*", "2" } }, "Incognita"),
        state);
    EXPECT_TRUE(marked.failed);
    EXPECT_EQ(marked.respuesta.value_or(""), "10.00%");
    EXPECT_EQ(marked.newRate.value_or(""), "10");
}

TEST(Evaluation, IndicatorsAtTheFirstPeriod)
{
    // VPN = −1000 + 600/1.1 + 600/1.21 = 41.32; B/C = 1041.32/1000; TIR from
    // 600v² + 600v − 1000 = 0: v = 0.884437, r = 13.0663 %.
    SharedState state;
    const CalcOutcome out
        = calculos(makeSheet({ { 1, "-1000", "2" }, { 2, "600", "2", "4" } }, "10"), state);
    ASSERT_FALSE(out.failed) << out.failure;
    ASSERT_TRUE(out.evaluation.has_value());
    EXPECT_EQ(state.FirstPeriod, 2);
    EXPECT_EQ(out.evaluation->vpn, "41.32");
    EXPECT_EQ(out.evaluation->bc, "1.04");
    EXPECT_EQ(out.evaluation->tir, "13.07");
    EXPECT_FALSE(out.comentario.has_value());
}

TEST(Evaluation, WithoutOutflowsFailsBeforeShowingAnything)
{
    SharedState state;
    const CalcOutcome out = calculos(makeSheet({ { 2, "600", "0", "4" } }, "10"), state);
    EXPECT_TRUE(out.failed);
    EXPECT_FALSE(out.evaluation.has_value());
    // The arrays stay as the expansion left them.
    EXPECT_EQ(state.PeriodInflows->size(), 5u);
}

} // namespace
} // namespace orvex
