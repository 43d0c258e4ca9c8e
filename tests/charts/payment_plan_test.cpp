#include "charts/chart_layout.h"
#include "charts/charts_test_util.h"
#include "charts/payment_plan.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

using test::kUvrLoanRows;
using test::LineShape;
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
    Rows rows { test::kPlanHeader };
    for (std::size_t i = 0; i < balances.size(); ++i)
        rows.push_back({ std::to_string(i), "", "", "", balances[i] });
    return rows;
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
    menu.click(1); // hidden behind "Todas las Curvas": nothing changes on screen
    EXPECT_EQ(selected(), "1111");
    menu.click(PlanCurveMenu::kAllCurves);
    EXPECT_EQ(selected(), "1000");
    for (int ignored : { 1, 5, 0, 7 }) // 1 unchecks; the separator and outsiders do nothing
        menu.click(ignored);
    EXPECT_EQ(menu.checks(), PlanMenuChecks {});
}

TEST(PaymentPlan, PeriodLabelsFromFirstPeriodByStep)
{
    // 15, 50 and 100 are left open by the ranges: 5, 5 and 10.
    const std::array<int, 3> cases[] = { { 0, 12, 1 }, { 0, 14, 1 }, { 0, 15, 5 }, { 0, 30, 5 },
        { 3, 33, 5 }, { 0, 50, 5 }, { 0, 51, 10 }, { 0, 100, 10 }, { 0, 101, 15 }, { 0, 120, 15 } };
    for (const auto& [first, last, step] : cases) {
        SCOPED_TRACE(last);
        std::string expected;
        for (int k = first; k <= last; k += step)
            expected += std::to_string(k) + "@" + std::to_string(k) + ",0 ";
        const auto list = paymentPlan(
            balanceRows({ "100", "50" }), std::int16_t(first), std::int16_t(last), kAll);
        EXPECT_EQ(test::texts(list, 7), expected);
    }
    EXPECT_EQ(planLabelStep(-3), 1);
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
        std::vector<double> balance; // the balance curve's points as drawn
    };
    const Case cases[] = {
        // Max = 25000001 > 9999999: in millions; MarginY = nearest(2.5) = 2, from −2 to 27.
        // The balance reaching 0 is drawn.
        { "25,000,000", balanceRows({ "25000000.00", "12500000.00", "0.00" }), 2, kAll, 1e6,
            25.000001, 0.000001, 2, 0, { 25, 12.5, 0 } },
        { "beyond 32 bits", balanceRows({ "3000000000.00", "1500000000.00" }), 1, only(4), 1e6,
            3000.000001, 0.000001, 300, 0, { 3000, 1500 } },
        // nearest(12.5) = 12 and nearest(−7.5) = −8, each plus one.
        { "negative value, halves to even", balanceRows({ "12.5", "-7.5", "3" }), 2, only(4), 1, 13,
            -7, 2, 0, { 12.5, -7.5, 3 } },
        // The empty cells of period 0 are the values at or below 0.
        { "UVR loan, interest only", kUvrLoanRows, 12, only(1), 1, 121, 1, 12, 1, {} },
        { "balance only: no value at or below 0, the extent is 0", balanceRows({ "9", "8" }), 12,
            only(4), 1, 10, 1, 1, 1, { 9, 8 } },
        { "nothing selected: both extents 0", kUvrLoanRows, 12, PlanMenuChecks {}, 1, 1, 1, 0, 1,
            {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto g = paymentPlanGeometry(c.rows, 0, c.last, c.checks);
        EXPECT_EQ((std::array { g.divisor, g.max, g.min, g.marginY, double(g.marginX) }),
            (std::array { c.divisor, c.max, c.min, c.marginY, double(c.marginX) }));
        const DisplayList list = paymentPlan(c.rows, 0, c.last, c.checks);
        if (!list.frame.drawable())
            continue;
        // The designed frame, or wider where the axes and labels need room.
        EXPECT_LE(list.frame.left, -double(c.marginX));
        EXPECT_GE(list.frame.top, c.max + c.marginY);
        EXPECT_GE(list.frame.right, c.last + double(c.marginX));
        EXPECT_LE(list.frame.bottom, c.min - c.marginY);
        std::vector<double> points;
        for (const auto& l : list.lines())
            if (l.colour == kDarkRed) {
                if (points.empty())
                    points.push_back(l.from.y);
                points.push_back(l.to.y);
            }
        EXPECT_EQ(points, c.balance);
    }
}

TEST(PaymentPlan, UvrLoanAxesEdgeToEdgeAndCurvesInTheirStyle)
{
    // Curves 1–3 start with the empty period-0 cell: only the segment 1 -> 2 is drawn.
    EXPECT_EQ(test::lineShapes(paymentPlan(kUvrLoanRows, 0, 12, kAll)),
        (std::vector<LineShape> {
            { { -1, 0 }, { 13, 0 }, kDarkGreen, DashStyle::Solid, 2 },
            { { 0, 13201 }, { 0, -1199 }, kDarkGreen, DashStyle::Solid, 2 },
            { { 1, 120 }, { 2, 110.53815 }, kDarkBlue, DashStyle::Dash },
            { { 1, 1066.18546 }, { 2, 1066.18546 }, kDarkGreen, DashStyle::Dot },
            { { 1, 946.18546 }, { 2, 955.64732 }, kDarkCyan, DashStyle::DashDot },
            { { 0, 12000 }, { 1, 11053.81454 }, kDarkRed, DashStyle::DashDotDot },
            { { 1, 11053.81454 }, { 2, 10098.16722 }, kDarkRed, DashStyle::DashDotDot },
        }));
}

// Short horizons and small values left the y axis on the window's edge and the
// period labels under the picture's bottom; the frame now keeps them inside.
TEST(PaymentPlan, AxesAndLabelsStayInsideThePicture)
{
    const std::pair<Rows, int> cases[] = {
        { balanceRows({ "25000000.00", "12500000.00", "0.00" }), 2 },
        { balanceRows({ "9", "8" }), 12 },
        { balanceRows({ "5", "4", "3", "2", "1" }), 4 },
        { kUvrLoanRows, 360 },
    };
    for (const auto& [rows, last] : cases) {
        SCOPED_TRACE(last);
        const DisplayList list = paymentPlan(rows, 0, std::int16_t(last), kAll);
        const ChartLayout layout(list.frame, kPaymentPlanCanvas);
        EXPECT_GE(layout.px(0), 5.0); // the y axis off the left edge
        EXPECT_LE(layout.py(0), kPaymentPlanCanvas.height - 2.0); // the time axis inside
        for (const ChartText& t : list.texts()) {
            const PixelBox box
                = layout.textBox(layout.px(t.topLeft.x), layout.py(t.topLeft.y), t.text, t.points);
            EXPECT_TRUE(box.inside(kPaymentPlanCanvas)) << t.text;
        }
    }
}

TEST(PaymentPlan, ZeroInterruptsACurve)
{
    using Segments = std::vector<std::pair<double, double>>; // x of each segment's ends
    const std::pair<std::vector<const char*>, Segments> cases[] = {
        { { "100", "0", "50", "40" }, { { 0, 1 }, { 2, 3 } } }, // into zero drawn, out of it not
        { { "0", "80", "60" }, { { 1, 2 } } },
        { { "90", "", "70", "60" }, { { 0, 1 }, { 2, 3 } } }, // blank reads as zero
        { { "90", "1e400", "70", "60" }, { { 2, 3 } } }, // unreadable: left out, breaks both sides
        { { "90abc", "80.5x", "-3" }, { { 0, 1 }, { 1, 2 } } }, // leading numbers
        { { "100" }, {} },
    };
    for (const auto& [balances, expected] : cases) {
        SCOPED_TRACE(balances.front());
        Segments segments;
        for (const auto& l : paymentPlan(balanceRows(balances), 0, 12, only(4)).lines())
            if (l.width == 1)
                segments.emplace_back(l.from.x, l.to.x);
        EXPECT_EQ(segments, expected);
    }
}

TEST(PaymentPlan, FrameWithoutHeightDrawsNothing)
{
    // Nothing selected, or no data row: both extents are 1.
    EXPECT_TRUE(paymentPlan(kUvrLoanRows, 0, 12, PlanMenuChecks {}).items.empty());
    EXPECT_TRUE(paymentPlan({ test::kPlanHeader }, 0, 12, kAll).items.empty());
    // A single negative balance gives height: axes and labels, no segment.
    const DisplayList list = paymentPlan(balanceRows({ "-50" }), 0, 12, kAll);
    EXPECT_EQ(list.lines().size(), 2u);
    EXPECT_EQ(list.texts().size(), 13u);
}

} // namespace
} // namespace orvex
