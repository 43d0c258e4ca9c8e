#include "charts/flow_diagram.h"

#include "charts/chart_layout.h"
#include "common/calc_error.h"
#include "common/checked.h"
#include "common/format.h"
#include "common/numbers.h"
#include "common/shared_state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

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

constexpr double kTitlePoints = 10;
constexpr double kPeriodPoints = 7;
constexpr double kValuePoints = 7;
constexpr double kEdgePx = 6; // between the picture's edge and an axis or a label
constexpr double kGapPx = 2; // between a label and what it must not touch

ChartText label(ChartPoint topLeft, std::string text, double points)
{
    return ChartText { topLeft, std::move(text), kChartFont, points };
}

struct Bar {
    double x, value;
};

// Places the diagram's texts where they can be read: value labels at the tip of
// their line where no other line crosses them and no other text covers them, period
// labels that do not run into each other, the title where no line or label is. A
// value label without such a place is left out.
class DiagramLabels {
public:
    DiagramLabels(const ChartFrame& frame, const std::vector<Bar>& bars, double first, double last)
        : m_layout(frame, kFlowDiagramCanvas)
        , m_first(first)
        , m_periodStride(periodStride(first, last))
    {
        const double axis = m_layout.py(0);
        for (const Bar& bar : bars) {
            const double x = m_layout.px(bar.x), tip = m_layout.py(bar.value);
            m_lines.push_back({ x - 1, std::min(axis, tip), x + 1, std::max(axis, tip) });
        }
        // The time axis and the dotted line at period 0 are lines too.
        m_lines.push_back({ 0, axis - 1, kFlowDiagramCanvas.width, axis + 1 });
        m_lines.push_back({ m_layout.px(0) - 1, 0, m_layout.px(0) + 1, kFlowDiagramCanvas.height });
    }

    // Every period when the labels fit side by side; else every 2nd, 5th, 10th, 20th...
    // period from the first, so that none runs into the next.
    std::optional<ChartText> period(double x)
    {
        if (static_cast<long long>(x - m_first) % m_periodStride != 0)
            return std::nullopt;
        std::string text = std::to_string(static_cast<long long>(x));
        m_taken.push_back(m_layout.textBox(m_layout.px(x), m_layout.py(0), text, kPeriodPoints));
        return label({ x, 0 }, std::move(text), kPeriodPoints);
    }

    // Above an inflow's tip (below an outflow's), else beside it.
    std::optional<ChartText> value(double x, double value)
    {
        std::string text = formatInteger(value);
        const double w = textWidthPx(text, kValuePoints);
        const double h = textHeightPx(kValuePoints);
        const double tipX = m_layout.px(x), tipY = m_layout.py(value);
        const double beside = value > 0 ? tipY : tipY - h;
        const std::pair<double, double> places[] = {
            { tipX - w / 2, value > 0 ? tipY - kGapPx - h : tipY + kGapPx },
            { tipX + kGapPx + 1, beside },
            { tipX - kGapPx - 1 - w, beside },
        };
        for (const auto& [left, top] : places) {
            const PixelBox box { left, top, left + w, top + h };
            if (free(box)) {
                m_taken.push_back(box);
                return label(m_layout.toUser(left, top), std::move(text), kValuePoints);
            }
        }
        return std::nullopt;
    }

    // On the designed line at the designed place or the nearest free one; else on the
    // picture's top edge; nullopt when neither line has room.
    std::optional<ChartText> title(const FlowDiagramGeometry& g)
    {
        const double w = textWidthPx(kFlowDiagramTitle, kTitlePoints);
        const double wanted = m_layout.px(4.0 * g.marginX);
        for (double top : { m_layout.py(g.top), 0.0 }) {
            if (const auto left = freeRun(wanted, w, top)) {
                m_taken.push_back(m_layout.textBox(*left, top, kFlowDiagramTitle, kTitlePoints));
                return label(m_layout.toUser(*left, top), kFlowDiagramTitle, kTitlePoints);
            }
        }
        return std::nullopt;
    }

private:
    long long periodStride(double first, double last) const
    {
        const double longest
            = std::max(textWidthPx(std::to_string(static_cast<long long>(first)), kPeriodPoints),
                textWidthPx(std::to_string(static_cast<long long>(last)), kPeriodPoints));
        const double perPeriod = m_layout.px(first + 1) - m_layout.px(first);
        for (long long scale = 1;; scale *= 10)
            for (long long step : { 1, 2, 5 })
                if (static_cast<double>(step * scale) * perPeriod >= longest + kGapPx)
                    return step * scale;
    }

    bool free(const PixelBox& box) const
    {
        if (!box.inside(kFlowDiagramCanvas))
            return false;
        for (const auto* boxes : { &m_lines, &m_taken })
            for (const PixelBox& other : *boxes)
                if (box.intersects(other))
                    return false;
        return true;
    }

    // The left edge nearest to wanted of a run w pixels wide at height top that no
    // line or text crosses, inside the picture.
    std::optional<double> freeRun(double wanted, double w, double top) const
    {
        const double bottom = top + textHeightPx(kTitlePoints);
        std::vector<std::pair<double, double>> blocked;
        for (const auto* boxes : { &m_lines, &m_taken })
            for (const PixelBox& box : *boxes)
                if (box.top < bottom && top < box.bottom)
                    blocked.push_back({ box.left - kGapPx, box.right + kGapPx });
        std::sort(blocked.begin(), blocked.end());
        std::optional<double> best;
        const auto consider = [&](double from, double to) {
            if (to - from < w)
                return;
            const double left = std::clamp(wanted, from, to - w);
            if (!best || std::fabs(left - wanted) < std::fabs(*best - wanted))
                best = left;
        };
        double from = 0;
        for (const auto& [left, right] : blocked) {
            consider(from, left);
            from = std::max(from, right);
        }
        consider(from, kFlowDiagramCanvas.width);
        return best;
    }

    ChartLayout m_layout;
    double m_first;
    long long m_periodStride;
    std::vector<PixelBox> m_lines; // which no label may cross
    std::vector<PixelBox> m_taken; // texts placed so far
};

// The diagram's texts for one frame: nullopt title when it found no place there.
struct DiagramTexts {
    std::optional<ChartText> title;
    std::vector<std::optional<ChartText>> periods; // by index
    std::vector<ChartText> values;
};

DiagramTexts placeTexts(const SharedState& state, const FlowDiagramGeometry& g,
    const ChartFrame& frame, const std::vector<Bar>& bars, bool titleFirst)
{
    const auto& in = *state.PeriodInflows;
    const auto& out = *state.PeriodOutflows;
    const std::size_t n = state.PeriodNetFlows->size();
    DiagramLabels labels(frame, bars, state.FirstPeriod, state.LastPeriod);
    DiagramTexts texts;
    if (titleFirst)
        texts.title = labels.title(g);
    for (std::size_t i = 0; i < n; ++i)
        texts.periods.push_back(labels.period(state.FirstPeriod + static_cast<double>(i)));
    for (std::size_t j = 0; j < n; j += static_cast<std::size_t>(g.labelStep))
        for (double value : { in[j], out[j] })
            if (value != 0)
                if (auto text = labels.value(state.FirstPeriod + static_cast<double>(j), value))
                    texts.values.push_back(std::move(*text));
    if (!titleFirst)
        texts.title = labels.title(g);
    return texts;
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
    if (last <= first) // a frame without width cannot be scaled to
        throw CalcError(CalcErrorKind::InvalidInput, "the diagram has no width");

    std::vector<Bar> bars;
    for (long long i = 0; i <= n; ++i) {
        const std::int16_t x = period16(state.FirstPeriod + i);
        for (double value : { checkFinite(checkedAt(in, i)), checkFinite(checkedAt(out, i)) })
            if (value != 0)
                bars.push_back({ double(x), value });
    }
    // The designed frame, widened where the first and last period labels would touch
    // the window's edges.
    ChartFrame frame = withPixelMargins(
        { first - g.marginX, g.top + g.marginY, last + g.marginX, -g.bottom - g.marginY },
        kFlowDiagramCanvas,
        { kEdgePx, textWidthPx(std::to_string(state.LastPeriod), kPeriodPoints) + kEdgePx, 0, 0 },
        first, last, 0, 0);
    DiagramTexts texts = placeTexts(state, g, frame, bars, false);
    if (!texts.title) {
        // Lines and labels everywhere on the title's line: room above the highest line,
        // and the title placed first there.
        const double k = (textHeightPx(kTitlePoints) + 2 * kGapPx) / kFlowDiagramCanvas.height;
        frame.top = std::max(frame.top, (g.top - k * frame.bottom) / (1 - k));
        texts = placeTexts(state, g, frame, bars, true);
    }

    DisplayList list;
    list.frame = frame;
    if (texts.title)
        list.add(*texts.title);
    list.add(ChartLine { { first, 0 }, { last, 0 }, kDarkGreen, 1, DashStyle::Solid });
    list.add(ChartLine { { 0, g.top }, { 0, -g.bottom }, kDarkGreen, 1, DashStyle::Dot });
    for (long long i = 0; i <= n; ++i) {
        const double x = first + static_cast<double>(i);
        const double inflow = in[static_cast<std::size_t>(i)];
        const double outflow = out[static_cast<std::size_t>(i)];
        if (inflow != 0)
            list.add(ChartLine { { x, 0 }, { x, inflow }, kBlack, 1, DashStyle::Solid });
        if (outflow != 0)
            list.add(ChartLine { { x, 0 }, { x, outflow }, kDarkRed, 1, DashStyle::Solid });
        if (const auto& label = texts.periods[static_cast<std::size_t>(i)])
            list.add(*label);
    }
    for (ChartText& value : texts.values)
        list.add(std::move(value));
    return list;
}

} // namespace orvex
