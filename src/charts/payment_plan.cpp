#include "charts/payment_plan.h"

#include "charts/chart_layout.h"
#include "common/calc_error.h"
#include "common/numbers.h"

#include <algorithm>
#include <string>

namespace orvex {
namespace {

// A cell that cannot be read (a number beyond a double) is left out of the chart.
std::optional<double> cellValue(const ScheduleGridRow& row, int column)
{
    try {
        return leadingNumber(row[static_cast<std::size_t>(column)]);
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

constexpr double kLabelPoints = 7;

bool selected(const PlanMenuChecks& checks, int curve)
{
    return checks[static_cast<std::size_t>(curve)] || checks[PlanCurveMenu::kAllCurves];
}

} // namespace

void PlanCurveMenu::click(int index)
{
    if (index < 1 || index > kAllCurves || index == 5)
        return;
    m_checks[static_cast<std::size_t>(index)] = !m_checks[static_cast<std::size_t>(index)];
}

bool PlanCurveMenu::checked(int index) const
{
    if (index < 0 || index > kAllCurves)
        return false;
    return m_checks[static_cast<std::size_t>(index)];
}

bool PlanCurveMenu::curveSelected(int curve) const
{
    return curve >= 1 && curve <= kPlanCurves && (checked(curve) || checked(kAllCurves));
}

std::int32_t planLabelStep(std::int32_t n)
{
    if (n > 100)
        return 15;
    if (n > 50)
        return 10;
    if (n >= 15)
        return 5;
    return 1;
}

Rgb planCurveColour(int curve)
{
    switch (curve) {
    case 1:
        return kDarkBlue;
    case 2:
        return kDarkGreen;
    case 3:
        return kDarkCyan;
    default:
        return kDarkRed;
    }
}

DashStyle planCurveDash(int curve)
{
    switch (curve) {
    case 1:
        return DashStyle::Dash;
    case 2:
        return DashStyle::Dot;
    case 3:
        return DashStyle::DashDot;
    default:
        return DashStyle::DashDotDot;
    }
}

PaymentPlanGeometry paymentPlanGeometry(const std::vector<ScheduleGridRow>& gridRows,
    std::int16_t firstPeriod, std::int16_t lastPeriod, const PlanMenuChecks& menuChecks)
{
    // With no positive value (or none ≤ 0) among the selected cells the extent is 0,
    // so the axis stays inside the picture.
    std::optional<double> largest, smallest;
    for (std::size_t r = 1; r < gridRows.size(); ++r) {
        for (int c = 1; c <= kPlanCurves; ++c) {
            if (!selected(menuChecks, c))
                continue;
            const auto v = cellValue(gridRows[r], c);
            if (!v)
                continue;
            if (*v > 0 && (!largest || *v > *largest))
                largest = v;
            if (*v <= 0 && (!smallest || *v < *smallest))
                smallest = v;
        }
    }

    PaymentPlanGeometry g;
    // Kept as doubles, so balances beyond 32 bits still draw.
    g.max = nearest(largest.value_or(0)) + 1;
    g.min = nearest(smallest.value_or(0)) + 1;
    if (g.max > 9999999) {
        g.divisor = 1000000;
        g.max /= g.divisor;
        g.min /= g.divisor;
    }
    const std::int32_t span = static_cast<std::int32_t>(lastPeriod) - firstPeriod;
    g.marginX = static_cast<std::int32_t>(nearest(span * 0.1));
    g.marginY = nearest((g.max - g.min) * 0.1);
    g.labelStep = planLabelStep(span);
    return g;
}

DisplayList paymentPlan(const std::vector<ScheduleGridRow>& gridRows, std::int16_t firstPeriod,
    std::int16_t lastPeriod, const PlanMenuChecks& menuChecks)
{
    const PaymentPlanGeometry g
        = paymentPlanGeometry(gridRows, firstPeriod, lastPeriod, menuChecks);
    const double first = firstPeriod;
    const double last = lastPeriod;

    DisplayList list;
    list.frame = { first - g.marginX, g.max + g.marginY, last + g.marginX, g.min - g.marginY };
    // Without a usable frame every later step would draw in a meaningless system.
    if (!list.frame.drawable())
        return list;
    // The designed frame, widened where the axes or the period labels would touch the
    // window's edges: the y axis off the left edge, the last label and the labels
    // under the time axis whole.
    constexpr double kEdgePx = 6;
    const PixelMargins margins { kEdgePx,
        textWidthPx(std::to_string(lastPeriod), kLabelPoints) + kEdgePx,
        textHeightPx(kLabelPoints) + 2, 2 };
    list.frame = withPixelMargins(
        list.frame, kPaymentPlanCanvas, margins, first, last, std::min(0.0, g.min), g.max);

    list.add(ChartLine {
        { list.frame.left, 0 }, { list.frame.right, 0 }, kDarkGreen, 2, DashStyle::Solid });
    list.add(ChartLine {
        { 0, list.frame.top }, { 0, list.frame.bottom }, kDarkGreen, 2, DashStyle::Solid });

    for (int c = 1; c <= kPlanCurves; ++c) {
        if (!selected(menuChecks, c))
            continue;
        // A cell that cannot be read breaks the curve on both sides.
        std::optional<double> prev;
        for (std::size_t r = 1; r < gridRows.size(); ++r) {
            std::optional<double> v = cellValue(gridRows[r], c);
            if (v)
                *v /= g.divisor;
            if (r > 1 && prev && *prev != 0 && v) {
                const double x = first + static_cast<double>(r) - 1;
                list.add(ChartLine {
                    { x - 1, *prev }, { x, *v }, planCurveColour(c), 1, planCurveDash(c) });
            }
            prev = v;
        }
    }

    for (std::int32_t k = firstPeriod; k <= lastPeriod; k += g.labelStep)
        list.add(ChartText { { double(k), 0 }, std::to_string(k), kChartFont, kLabelPoints });
    return list;
}

} // namespace orvex
