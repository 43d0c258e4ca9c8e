#include "charts/flow_diagram.h"

#include "common/calc_error.h"
#include "common/checked.h"
#include "common/format.h"
#include "common/numbers.h"
#include "common/shared_state.h"

#include <cmath>
#include <limits>

namespace orvex {
namespace {

// Period arithmetic runs on 16-bit integers in the program; leaving that range
// is an error, not a wrap-around.
std::int16_t period16(long long value)
{
    if (value < std::numeric_limits<std::int16_t>::min()
        || value > std::numeric_limits<std::int16_t>::max())
        throw CalcError(CalcErrorKind::Overflow, "period number outside the 16-bit range");
    return static_cast<std::int16_t>(value);
}

const std::vector<double>& flows(const std::optional<std::vector<double>>& array)
{
    if (!array)
        throw CalcError(CalcErrorKind::InvalidInput, "no calculation yet");
    return *array;
}

// Upper bound of the loops: the net-flow array's last index.
long long lastIndex(const SharedState& state)
{
    return static_cast<long long>(flows(state.PeriodNetFlows).size()) - 1;
}

ChartText label(double x, double y, std::string text, double points)
{
    return ChartText { { x, y }, std::move(text), kChartFont, points };
}

} // namespace

FlowDiagramGeometry flowDiagramGeometry(const SharedState& state)
{
    const auto& in = flows(state.PeriodInflows);
    const auto& out = flows(state.PeriodOutflows);
    const long long n = lastIndex(state);

    FlowDiagramGeometry g;
    for (long long i = 0; i <= n; ++i) {
        const double inflow = checkedAt(in, i);
        const double outflow = std::fabs(checkedAt(out, i));
        if (inflow > g.maxIn)
            g.maxIn = inflow;
        if (outflow > g.maxOut)
            g.maxOut = outflow;
    }
    g.top = nearest(g.maxIn) + 1;
    g.bottom = nearest(g.maxOut) + 1;
    g.marginY = nearest(std::fabs((g.top - g.bottom) * 0.2));
    const std::int16_t span
        = period16(static_cast<long long>(state.LastPeriod) - state.FirstPeriod);
    g.marginX = toInt32(std::fabs(span * 0.2));
    g.labelStep = span / 15 + 1;
    return g;
}

DisplayList flowDiagram(const SharedState& state)
{
    const FlowDiagramGeometry g = flowDiagramGeometry(state);
    const auto& in = flows(state.PeriodInflows);
    const auto& out = flows(state.PeriodOutflows);
    const long long n = lastIndex(state);
    const double first = state.FirstPeriod;
    const double last = state.LastPeriod;

    DisplayList list;
    list.frame = { first - g.marginX, g.top + g.marginY, last + g.marginX, -g.bottom - g.marginY };
    // A frame without width cannot be scaled to; a reversed one would mirror the picture.
    if (list.frame.right <= list.frame.left)
        throw CalcError(CalcErrorKind::InvalidInput, "the diagram has no width");

    // The title's x is not offset by FirstPeriod: it stands where the program always put it.
    list.add(label(4.0 * g.marginX, g.top, kFlowDiagramTitle, 10));
    list.add(ChartLine { { first, 0 }, { last, 0 }, kDarkGreen, 1, DashStyle::Solid });
    list.add(ChartLine { { 0, g.top }, { 0, -g.bottom }, kDarkGreen, 1, DashStyle::Dot });

    for (long long i = 0; i <= n; ++i) {
        const std::int16_t x = period16(state.FirstPeriod + i);
        const double inflow = checkFinite(checkedAt(in, i));
        const double outflow = checkFinite(checkedAt(out, i));
        if (inflow != 0)
            list.add(
                ChartLine { { double(x), 0 }, { double(x), inflow }, kBlack, 1, DashStyle::Solid });
        if (outflow != 0)
            list.add(ChartLine {
                { double(x), 0 }, { double(x), outflow }, kDarkRed, 1, DashStyle::Solid });
        list.add(label(x, 0, std::to_string(x), 7));
    }

    for (long long j = 0; j <= n; j += g.labelStep) {
        const std::int16_t x = period16(state.FirstPeriod + j);
        const double inflow = checkedAt(in, j);
        const double outflow = checkedAt(out, j);
        if (inflow != 0)
            list.add(label(x, inflow, formatInteger(inflow), 5));
        if (outflow != 0)
            list.add(label(x, outflow, formatInteger(outflow), 5));
    }
    return list;
}

} // namespace orvex
