#include "charts/charts_test_util.h"
#include "charts/payment_plan.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

using test::kPlanHeader;
using test::uvrLoanRows;
using Rows = std::vector<ScheduleGridRow>;

PlanMenuChecks only(int item)
{
    PlanMenuChecks checks {};
    checks[static_cast<std::size_t>(item)] = true;
    return checks;
}

const PlanMenuChecks kAll = only(PlanCurveMenu::kAllCurves);

// Only the balance column filled, one row per period from 0.
Rows balanceRows(const std::vector<const char*>& balances)
{
    Rows rows { kPlanHeader };
    for (std::size_t i = 0; i < balances.size(); ++i)
        rows.push_back({ std::to_string(i), "", "", "", balances[i] });
    return rows;
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
    const auto selected = [&menu] {
        std::string s;
        for (int c = 1; c <= 4; ++c)
            s += menu.curveSelected(c) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(selected(), "0000");
    menu.activate(); // a new window shows all four curves
    EXPECT_EQ(selected(), "1111");
    EXPECT_TRUE(menu.checked(PlanCurveMenu::kAllCurves));
    menu.click(1); // hidden behind "Todas las Curvas": nothing changes on screen
    EXPECT_EQ(selected(), "1111");
    menu.click(PlanCurveMenu::kAllCurves);
    EXPECT_EQ(selected(), "1000");
    menu.click(1);
    menu.click(5); // the separator
    menu.click(0);
    menu.click(7);
    EXPECT_EQ(menu.checks(), PlanMenuChecks {});
}

TEST(PaymentPlan, LabelStepByHorizon)
{
    // The horizons the ranges leave open: 15 and 50 take 5, 100 takes 10.
    const std::pair<int, int> cases[] = { { -3, 1 }, { 0, 1 }, { 14, 1 }, { 15, 5 }, { 30, 5 },
        { 50, 5 }, { 51, 10 }, { 100, 10 }, { 101, 15 }, { 120, 15 } };
    for (const auto& [n, step] : cases) {
        SCOPED_TRACE(n);
        EXPECT_EQ(planLabelStep(n), step);
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
        std::vector<std::string> labels;
        for (const auto& t : paymentPlan(balanceRows({ "100", "50" }), c.first, c.last, kAll).texts()) {
            labels.push_back(t.text);
            EXPECT_EQ(t.points, 7);
            EXPECT_EQ(t.topLeft, (ChartPoint { std::stod(t.text), 0 }));
        }
        EXPECT_EQ(labels, c.labels);
    }
}

TEST(PaymentPlan, ExtentsDivisorMarginsAndFrame)
{
    struct Case {
        const char* what;
        Rows rows;
        std::int16_t last;
        PlanMenuChecks checks;
        double divisor, max, min, marginY;
        int marginX;
        std::vector<double> balance; // the balance curve's points as drawn, when checked
    };
    const Case cases[] = {
        // Max = 25000001 > 9999999: in millions; MarginY = nearest(2.5) = 2, from −2 to 27.
        // The balance reaching 0 is drawn.
        { "25,000,000", balanceRows({ "25000000.00", "12500000.00", "0.00" }), 2, kAll, 1e6,
            25.000001, 0.000001, 2, 0, { 25, 12.5, 0 } },
        { "beyond 32 bits", balanceRows({ "3000000000.00", "1500000000.00" }), 1, only(4), 1e6,
            3000.000001, 0.000001, 300, 0, { 3000, 1500 } },
        // nearest(12.5) = 12 and nearest(−7.5) = −8, each plus one.
        { "negative value, halves to even", balanceRows({ "12.5", "-7.5", "3" }), 2, only(4), 1,
            13, -7, 2, 0, { 12.5, -7.5, 3 } },
        // The empty cells of period 0 are the values at or below 0.
        { "UVR loan, all curves", uvrLoanRows(2), 12, kAll, 1, 12001, 1, 1200, 1, {} },
        { "UVR loan, interest only", uvrLoanRows(2), 12, only(1), 1, 121, 1, 12, 1, {} },
        { "UVR loan, balance only: no value at or below 0, the extent is 0", uvrLoanRows(2), 12,
            only(4), 1, 12001, 1, 1200, 1, {} },
        { "nothing selected: both extents 0", uvrLoanRows(2), 12, PlanMenuChecks {}, 1, 1, 1, 0, 1,
            {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto g = paymentPlanGeometry(c.rows, 0, c.last, c.checks);
        EXPECT_EQ(g.divisor, c.divisor);
        EXPECT_DOUBLE_EQ(g.max, c.max);
        EXPECT_DOUBLE_EQ(g.min, c.min);
        EXPECT_EQ(g.marginY, c.marginY);
        EXPECT_EQ(g.marginX, c.marginX);
        const DisplayList list = paymentPlan(c.rows, 0, c.last, c.checks);
        if (list.frame.drawable()) {
            EXPECT_DOUBLE_EQ(list.frame.top, c.max + c.marginY);
            EXPECT_DOUBLE_EQ(list.frame.bottom, c.min - c.marginY);
            EXPECT_DOUBLE_EQ(list.frame.left, -c.marginX);
            EXPECT_DOUBLE_EQ(list.frame.right, c.last + c.marginX);
        }
        if (c.balance.empty())
            continue;
        std::vector<double> points;
        for (const auto& l : curveLines(list)) {
            if (points.empty())
                points.push_back(l.from.y);
            points.push_back(l.to.y);
        }
        EXPECT_EQ(points, c.balance);
    }
}

TEST(PaymentPlan, UvrLoanAxesEdgeToEdgeAndCurvesInTheirStyle)
{
    struct Line {
        ChartPoint from, to;
        Rgb colour;
        DashStyle dash;
        int width;
    };
    // Curves 1–3 start with the empty period-0 cell: only the segment 1 -> 2 is drawn.
    const Line expected[] = {
        { { -1, 0 }, { 13, 0 }, kDarkGreen, DashStyle::Solid, 2 },
        { { 0, 13201 }, { 0, -1199 }, kDarkGreen, DashStyle::Solid, 2 },
        { { 1, 120 }, { 2, 110.53815 }, kDarkBlue, DashStyle::Dash, 1 },
        { { 1, 1066.18546 }, { 2, 1066.18546 }, kDarkGreen, DashStyle::Dot, 1 },
        { { 1, 946.18546 }, { 2, 955.64732 }, kDarkCyan, DashStyle::DashDot, 1 },
        { { 0, 12000 }, { 1, 11053.81454 }, kDarkRed, DashStyle::DashDotDot, 1 },
        { { 1, 11053.81454 }, { 2, 10098.16722 }, kDarkRed, DashStyle::DashDotDot, 1 },
    };
    const auto lines = paymentPlan(uvrLoanRows(2), 0, 12, kAll).lines();
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].from, expected[i].from);
        EXPECT_EQ(lines[i].to, expected[i].to);
        EXPECT_EQ(lines[i].colour, expected[i].colour);
        EXPECT_EQ(lines[i].dash, expected[i].dash);
        EXPECT_EQ(lines[i].width, expected[i].width);
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
        for (const auto& l : curveLines(paymentPlan(balanceRows(c.balances), 0, 12, only(4))))
            segments.emplace_back(l.from.x, l.to.x);
        EXPECT_EQ(segments, c.segments);
    }
}

TEST(PaymentPlan, FrameWithoutHeightDrawsNothing)
{
    // Nothing selected, or no data row: both extents are 1.
    EXPECT_TRUE(paymentPlan(uvrLoanRows(2), 0, 12, PlanMenuChecks {}).items.empty());
    EXPECT_TRUE(paymentPlan({ kPlanHeader }, 0, 12, kAll).items.empty());
    // A single negative balance gives height: axes and labels, no segment.
    const DisplayList list = paymentPlan(balanceRows({ "-50" }), 0, 12, kAll);
    EXPECT_EQ(list.lines().size(), 2u);
    EXPECT_EQ(list.texts().size(), 13u);
}

} // namespace
} // namespace orvex
