#pragma once

#include "charts/display_list.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvex {

// The schedule grid as displayed: row 0 holds the headers, row r the period
// FirstPeriod + r − 1; columns 0 "Período", 1 "Pago Intereses", 2 "Cuota",
// 3 "Pago Capital", 4 "Saldo". Cells are read by their leading number.
using ScheduleGridRow = std::array<std::string, 5>;
inline constexpr int kPlanCurves = 4;

// The check marks of the menu "Ver Gráficas": items 1–4 are the curves, 5 is the
// separator, 6 "Todas las Curvas". Index 0 is unused.
using PlanMenuChecks = std::array<bool, 7>;

class PlanCurveMenu {
public:
    static constexpr int kAllCurves = 6;

    // The window's activation acts as a click on "Todas las Curvas".
    void activate() { click(kAllCurves); }
    // A click on item index toggles its check mark; the separator and indexes
    // outside the menu are ignored.
    void click(int index);

    bool checked(int index) const;
    // Curve c (1–4) is drawn when its own item or "Todas las Curvas" is checked.
    bool curveSelected(int curve) const;
    const PlanMenuChecks& checks() const { return m_checks; }

private:
    PlanMenuChecks m_checks {};
};

// The plan's vertical extents before the margins, after rounding and the divisor.
struct PaymentPlanGeometry {
    double max = 0; // nearest(largest selected value > 0) + 1, then divided
    double min = 0; // nearest(smallest selected value ≤ 0) + 1, then divided
    double divisor = 1; // 1,000,000 when max exceeded 9,999,999
    std::int32_t marginX = 0;
    double marginY = 0;
    std::int32_t labelStep = 1;
};

// Distance between period labels for a horizon of n periods: 1 below 15, 5 up to
// 50, 10 up to 100, 15 beyond.
std::int32_t planLabelStep(std::int32_t n);

PaymentPlanGeometry paymentPlanGeometry(const std::vector<ScheduleGridRow>& gridRows,
    std::int16_t firstPeriod, std::int16_t lastPeriod, const PlanMenuChecks& menuChecks);

// The payment-plan chart: green axes of width 2 edge to edge, the selected curves
// (1 dark blue dashed, 2 dark green dotted, 3 dark cyan dash-dot, 4 dark red
// dash-dot-dot), joined point to point except out of a point whose value is 0, and
// the period labels. Never throws: a step that cannot be done is left out, and a
// chart whose frame would have no width or height is empty.
DisplayList paymentPlan(const std::vector<ScheduleGridRow>& gridRows, std::int16_t firstPeriod,
    std::int16_t lastPeriod, const PlanMenuChecks& menuChecks);

// The curve colours and dash styles by curve number 1–4.
Rgb planCurveColour(int curve);
DashStyle planCurveDash(int curve);

} // namespace orvex
