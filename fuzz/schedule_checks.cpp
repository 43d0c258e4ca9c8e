#include "schedule_checks.h"

#include "charts/chart_layout.h"
#include "charts/flow_diagram.h"
#include "charts/payment_plan.h"
#include "charts/svg_writer.h"
#include "common/calc_error.h"
#include "fuzz_util.h"
#include "loans/schedule_report.h"

#include <variant>

namespace orvex::fuzz {

void checkChart(const DisplayList& chart, int widthPx, int heightPx)
{
    for (double v : { chart.frame.left, chart.frame.top, chart.frame.right, chart.frame.bottom })
        requireFinite(v, "chart frame");
    for (const auto& item : chart.items) {
        if (const auto* line = std::get_if<ChartLine>(&item)) {
            for (double v : { line->from.x, line->from.y, line->to.x, line->to.y })
                requireFinite(v, "chart line");
        } else {
            const auto& text = std::get<ChartText>(item);
            requireFinite(text.topLeft.x, "chart text position");
            requireFinite(text.topLeft.y, "chart text position");
            requireFiniteText(text.text, "chart label");
        }
    }
    requireFiniteText(toSvg(chart, widthPx, heightPx), "chart SVG");
}

void showSchedule(const ScheduleSource& source, SharedState& state)
{
    ScheduleTable table;
    try {
        table = buildSchedule(source, state);
    } catch (const CalcError&) {
        return;
    }
    for (const auto& row : table.rows)
        for (const auto& cell : row)
            requireFiniteText(cell, "schedule cell");
    requireFiniteText(scheduleReport(table), "schedule report");
    PlanCurveMenu menu;
    menu.activate();
    checkChart(paymentPlan(table.rows, state.FirstPeriod, state.LastPeriod, menu.checks()),
        static_cast<int>(kPaymentPlanCanvas.width), static_cast<int>(kPaymentPlanCanvas.height));
}

void showFlowDiagram(const SharedState& state)
{
    try {
        checkChart(flowDiagram(state), static_cast<int>(kFlowDiagramCanvas.width),
            static_cast<int>(kFlowDiagramCanvas.height));
    } catch (const CalcError&) {
    }
}

} // namespace orvex::fuzz
