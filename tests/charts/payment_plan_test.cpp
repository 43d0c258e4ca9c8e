#include "charts/payment_plan.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

using Rows = std::vector<ScheduleGridRow>;

const ScheduleGridRow kHeader { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" };

PlanMenuChecks allCurves()
{
    PlanMenuChecks checks {};
    checks[PlanCurveMenu::kAllCurves] = true;
    return checks;
}

PlanMenuChecks onlyCurve(int c)
{
    PlanMenuChecks checks {};
    checks[static_cast<std::size_t>(c)] = true;
    return checks;
}

// Only the balance column filled, one row per period from 0.
Rows balanceRows(const std::vector<const char*>& balances)
{
    Rows rows { kHeader };
    for (std::size_t i = 0; i < balances.size(); ++i)
        rows.push_back({ std::to_string(i), "", "", "", balances[i] });
    return rows;
}

// The first rows of the 12-month UVR loan of 12000 UVR at 1 %, uniform instalment.
Rows uvrLoanRows()
{
    return {
        kHeader,
        { "0", "", "", "", "12000.00000" },
        { "1", "120.00000", "1066.18546", "946.18546", "11053.81454" },
        { "2", "110.53815", "1066.18546", "955.64732", "10098.16722" },
    };
}

std::vector<ChartLine> curveLines(const DisplayList& list)
{
    std::vector<ChartLine> out;
    for (const auto& l : list.lines())
        if (l.width == 1)
            out.push_back(l);
    return out;
}

TEST(PlanCurveMenu, ActivationAndClicksToggleTheCheckMarks)
{
    PlanCurveMenu menu;
    for (int c = 1; c <= 4; ++c)
        EXPECT_FALSE(menu.curveSelected(c));
    menu.activate(); // a new window shows all four curves
    for (int c = 1; c <= 4; ++c)
        EXPECT_TRUE(menu.curveSelected(c));
    EXPECT_TRUE(menu.checked(PlanCurveMenu::kAllCurves));

    menu.click(1); // hidden behind "Todas las Curvas": nothing changes on screen
    for (int c = 1; c <= 4; ++c)
        EXPECT_TRUE(menu.curveSelected(c));
    menu.click(PlanCurveMenu::kAllCurves);
    EXPECT_TRUE(menu.curveSelected(1));
    for (int c = 2; c <= 4; ++c)
        EXPECT_FALSE(menu.curveSelected(c));

    menu.click(1);
    menu.click(5); // the separator
    menu.click(0);
    menu.click(7);
    EXPECT_EQ(menu.checks(), PlanMenuChecks {});
}

TEST(PaymentPlan, LabelStepByHorizon)
{
    struct Case {
        int n, step;
    };
    // 15, 50 and 100 themselves take the step of the range below them.
    const Case cases[] = { { -3, 1 }, { 0, 1 }, { 12, 1 }, { 14, 1 }, { 15, 5 }, { 30, 5 },
        { 50, 5 }, { 51, 10 }, { 100, 10 }, { 101, 15 }, { 120, 15 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(planLabelStep(c.n), c.step);
    }
}

TEST(PaymentPlan, PeriodLabelsFromFirstPeriodByStep)
{
    struct Case {
        std::int16_t first, last;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        { 0, 12, { "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12" } },
        { 0, 30, { "0", "5", "10", "15", "20", "25", "30" } },
        { 3, 33, { "3", "8", "13", "18", "23", "28", "33" } },
        { 0, 120, { "0", "15", "30", "45", "60", "75", "90", "105", "120" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.last);
        const auto texts
            = paymentPlan(balanceRows({ "100", "50" }), c.first, c.last, allCurves()).texts();
        std::vector<std::string> labels;
        for (const auto& t : texts) {
            labels.push_back(t.text);
            EXPECT_EQ(t.points, 7);
            EXPECT_EQ(t.topLeft.y, 0);
            EXPECT_EQ(t.topLeft.x, std::stod(t.text));
        }
        EXPECT_EQ(labels, c.labels);
    }
}

TEST(PaymentPlan, TwentyFiveMillionIsDrawnInMillions)
{
    const Rows rows = balanceRows({ "25000000.00", "12500000.00", "0.00" });
    const auto g = paymentPlanGeometry(rows, 0, 2, allCurves());
    EXPECT_EQ(g.divisor, 1000000);
    EXPECT_DOUBLE_EQ(g.max, 25.000001);
    EXPECT_DOUBLE_EQ(g.min, 0.000001);
    EXPECT_EQ(g.marginY, 2); // nearest(2.5)
    const DisplayList list = paymentPlan(rows, 0, 2, allCurves());
    EXPECT_DOUBLE_EQ(list.frame.top, 27.000001);
    EXPECT_DOUBLE_EQ(list.frame.bottom, -1.999999);
    const auto curve = curveLines(list);
    ASSERT_EQ(curve.size(), 2u);
    EXPECT_DOUBLE_EQ(curve[0].from.y, 25);
    EXPECT_DOUBLE_EQ(curve[0].to.y, 12.5);
    EXPECT_DOUBLE_EQ(curve[1].to.y, 0); // the balance reaching 0 is drawn
}

TEST(PaymentPlan, UvrLoanFrameAndAxesEdgeToEdge)
{
    const DisplayList list = paymentPlan(uvrLoanRows(), 0, 12, allCurves());
    // Max = 12000 + 1; Min = 0 (the empty cells of period 0) + 1; MarginY = nearest(1200);
    // MarginX = nearest(1.2).
    EXPECT_DOUBLE_EQ(list.frame.left, -1);
    EXPECT_DOUBLE_EQ(list.frame.right, 13);
    EXPECT_DOUBLE_EQ(list.frame.top, 13201);
    EXPECT_DOUBLE_EQ(list.frame.bottom, -1199);
    const auto lines = list.lines();
    ASSERT_GE(lines.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].width, 2);
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].colour, kDarkGreen);
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].dash, DashStyle::Solid);
    }
    EXPECT_EQ(lines[0].from, (ChartPoint { -1, 0 }));
    EXPECT_EQ(lines[0].to, (ChartPoint { 13, 0 }));
    EXPECT_EQ(lines[1].from, (ChartPoint { 0, 13201 }));
    EXPECT_EQ(lines[1].to, (ChartPoint { 0, -1199 }));
}

TEST(PaymentPlan, CurvesCarryTheirColourAndDashAndSkipTheZeroStart)
{
    const auto curve = curveLines(paymentPlan(uvrLoanRows(), 0, 12, allCurves()));
    // Curves 1–3 start with the empty period-0 cell: only the segment 1 -> 2 is drawn;
    // the balance has both segments.
    struct Expected {
        Rgb colour;
        DashStyle dash;
        ChartPoint from, to;
    };
    const Expected expected[] = {
        { kDarkBlue, DashStyle::Dash, { 1, 120 }, { 2, 110.53815 } },
        { kDarkGreen, DashStyle::Dot, { 1, 1066.18546 }, { 2, 1066.18546 } },
        { kDarkCyan, DashStyle::DashDot, { 1, 946.18546 }, { 2, 955.64732 } },
        { kDarkRed, DashStyle::DashDotDot, { 0, 12000 }, { 1, 11053.81454 } },
        { kDarkRed, DashStyle::DashDotDot, { 1, 11053.81454 }, { 2, 10098.16722 } },
    };
    ASSERT_EQ(curve.size(), std::size(expected));
    for (std::size_t i = 0; i < curve.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(curve[i].colour, expected[i].colour);
        EXPECT_EQ(curve[i].dash, expected[i].dash);
        EXPECT_EQ(curve[i].from, expected[i].from);
        EXPECT_EQ(curve[i].to, expected[i].to);
    }
}

TEST(PaymentPlan, ZeroInterruptsACurve)
{
    struct Case {
        const char* what;
        std::vector<const char*> balances;
        std::vector<std::pair<double, double>> segments; // x of each segment's start and end
    };
    const Case cases[] = {
        { "into zero drawn, out of zero not", { "100", "0", "50", "40" }, { { 0, 1 }, { 2, 3 } } },
        { "zero first value", { "0", "80", "60" }, { { 1, 2 } } },
        { "blank text reads as zero", { "90", "", "70", "60" }, { { 0, 1 }, { 2, 3 } } },
        { "unreadable value breaks both sides", { "90", "1e400", "70", "60" }, { { 2, 3 } } },
        { "leading number of a text", { "90abc", "80.5x", "-3" }, { { 0, 1 }, { 1, 2 } } },
        { "single row draws nothing", { "100" }, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::pair<double, double>> segments;
        for (const auto& l : curveLines(paymentPlan(balanceRows(c.balances), 0, 12, onlyCurve(4))))
            segments.emplace_back(l.from.x, l.to.x);
        EXPECT_EQ(segments, c.segments);
    }
}

TEST(PaymentPlan, ExtentsFollowTheSelectedCurvesOnly)
{
    struct Case {
        const char* what;
        PlanMenuChecks checks;
        double max, min;
    };
    // Interest up to 120, balance up to 12000, with empty (zero) cells in period 0.
    const Case cases[] = {
        { "all", allCurves(), 12001, 1 },
        { "interest only", onlyCurve(1), 121, 1 },
        { "balance only: no value at or below 0, the extent is 0", onlyCurve(4), 12001, 1 },
        { "nothing selected: both extents 0", PlanMenuChecks {}, 1, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto g = paymentPlanGeometry(uvrLoanRows(), 0, 12, c.checks);
        EXPECT_DOUBLE_EQ(g.max, c.max);
        EXPECT_DOUBLE_EQ(g.min, c.min);
        EXPECT_EQ(g.divisor, 1);
    }
}

TEST(PaymentPlan, NegativeValuesSetTheMinimumAndHalvesGoToEven)
{
    const Rows rows = balanceRows({ "12.5", "-7.5", "3" });
    const auto g = paymentPlanGeometry(rows, 0, 2, onlyCurve(4));
    EXPECT_DOUBLE_EQ(g.max, 13); // nearest(12.5) = 12, plus one
    EXPECT_DOUBLE_EQ(g.min, -7); // nearest(-7.5) = -8, plus one
    EXPECT_EQ(g.marginY, 2); // nearest(2.0)
    EXPECT_EQ(g.marginX, 0); // nearest(0.2)
}

TEST(PaymentPlan, BalancesBeyondThirtyTwoBitsAreDrawnInMillions)
{
    const Rows rows = balanceRows({ "3000000000.00", "1500000000.00" });
    const auto g = paymentPlanGeometry(rows, 0, 1, onlyCurve(4));
    EXPECT_EQ(g.divisor, 1000000);
    EXPECT_DOUBLE_EQ(g.max, 3000.000001);
    const auto curve = curveLines(paymentPlan(rows, 0, 1, onlyCurve(4)));
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_DOUBLE_EQ(curve[0].from.y, 3000);
    EXPECT_DOUBLE_EQ(curve[0].to.y, 1500);
}

TEST(PaymentPlan, NoSelectionGivesAnEmptyChart)
{
    // Both extents are 1: a frame without height, nothing can be placed in it.
    const DisplayList list = paymentPlan(uvrLoanRows(), 0, 12, PlanMenuChecks {});
    EXPECT_FALSE(list.frame.drawable());
    EXPECT_TRUE(list.items.empty());
}

TEST(PaymentPlan, HeaderOnlyGridStillDrawsAxesAndLabelsWhenTheFrameAllows)
{
    // No data row: extents 1 and 1, no height either.
    EXPECT_TRUE(paymentPlan({ kHeader }, 0, 12, allCurves()).items.empty());
    // A single negative balance gives height.
    const DisplayList list = paymentPlan(balanceRows({ "-50" }), 0, 12, allCurves());
    EXPECT_TRUE(list.frame.drawable());
    EXPECT_EQ(list.lines().size(), 2u);
    EXPECT_EQ(list.texts().size(), 13u);
}

} // namespace
} // namespace orvex
