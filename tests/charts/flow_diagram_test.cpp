#include "charts/charts_test_util.h"
#include "charts/flow_diagram.h"
#include "common/calc_error.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvex {
namespace {

using test::flowExample;
using test::flowState;

using Labels = std::vector<std::pair<std::string, ChartPoint>>;

Labels labels(const DisplayList& list, double points)
{
    Labels out;
    for (const auto& t : list.texts())
        if (t.points == points)
            out.emplace_back(t.text, t.topLeft);
    return out;
}

TEST(FlowDiagramGeometry, ExtentsMarginsAndLabelStep)
{
    struct Case {
        const char* what;
        SharedState state;
        double maxIn, maxOut, top, bottom, marginY;
        int marginX, labelStep;
    };
    const auto flat = [](std::int16_t first, std::int16_t last) {
        const auto n = static_cast<std::size_t>(last - first + 1);
        return flowState(first, last, std::vector<double>(n, 10), std::vector<double>(n, 0));
    };
    const Case cases[] = {
        // MarginY = nearest(|301 − 1001| × 0.2) = 140: the difference, not the sum.
        { "example", flowExample(), 300, 1000, 301, 1001, 140, 1, 1 },
        { "only inflows", flowState(0, 4, { 0, 300, 300, 300, 300 }, { 0, 0, 0, 0, 0 }), 300, 0,
            301, 1, 60, 1, 1 },
        { "equal extents", flowState(0, 1, { 0, 500 }, { -500, 0 }), 500, 500, 501, 501, 0, 0, 1 },
        // Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4.
        { "halves to even", flowState(0, 1, { 2.5, 0 }, { 0, -3.5 }), 2.5, 3.5, 3, 5, 0, 0, 1 },
        { "ten periods", flat(0, 10), 10, 0, 11, 1, 2, 2, 1 },
        { "fourteen periods", flat(0, 14), 10, 0, 11, 1, 2, 3, 1 },
        { "fifteen periods", flat(5, 20), 10, 0, 11, 1, 2, 3, 2 },
        { "thirty periods", flat(0, 30), 10, 0, 11, 1, 2, 6, 3 },
        { "negative inflow", flowState(0, 2, { -5, 0, 0 }, { 0, 0, -7 }), 0, 7, 1, 8, 1, 0, 1 },
        // Three thousand million pesos, a house price: beyond 32 bits, still no error.
        { "beyond 32 bits", flowState(0, 1, { 0, 3e9 }, { -2.5e9, 0 }), 3e9, 2.5e9, 3000000001.0,
            2500000001.0, 100000000.0, 0, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto g = flowDiagramGeometry(c.state);
        EXPECT_DOUBLE_EQ(g.maxIn, c.maxIn);
        EXPECT_DOUBLE_EQ(g.maxOut, c.maxOut);
        EXPECT_DOUBLE_EQ(g.top, c.top);
        EXPECT_DOUBLE_EQ(g.bottom, c.bottom);
        EXPECT_DOUBLE_EQ(g.marginY, c.marginY);
        EXPECT_EQ(g.marginX, c.marginX);
        EXPECT_EQ(g.labelStep, c.labelStep);
    }
}

TEST(FlowDiagram, ExampleDrawsTitleAxesFlowsAndLabelsInOrder)
{
    const DisplayList list = flowDiagram(flowExample());
    EXPECT_DOUBLE_EQ(list.frame.left, -1);
    EXPECT_DOUBLE_EQ(list.frame.top, 441);
    EXPECT_DOUBLE_EQ(list.frame.right, 5);
    EXPECT_DOUBLE_EQ(list.frame.bottom, -1141);

    ASSERT_FALSE(list.items.empty());
    const auto* title = std::get_if<ChartText>(&list.items.front());
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text, "DIAGRAMA DE FLUJO");
    EXPECT_EQ(title->font, "Arial");
    EXPECT_EQ(title->points, 10);
    EXPECT_EQ(title->topLeft, (ChartPoint { 4, 301 }));

    struct Line {
        ChartPoint from, to;
        Rgb colour;
        DashStyle dash;
    };
    const Line expected[] = {
        { { 0, 0 }, { 4, 0 }, kDarkGreen, DashStyle::Solid }, // time axis
        { { 0, 301 }, { 0, -1001 }, kDarkGreen, DashStyle::Dot }, // period 0
        { { 0, 0 }, { 0, -1000 }, kDarkRed, DashStyle::Solid },
        { { 1, 0 }, { 1, 300 }, kBlack, DashStyle::Solid },
        { { 2, 0 }, { 2, 300 }, kBlack, DashStyle::Solid },
        { { 3, 0 }, { 3, 300 }, kBlack, DashStyle::Solid },
        { { 4, 0 }, { 4, 300 }, kBlack, DashStyle::Solid },
    };
    const auto lines = list.lines();
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].from, expected[i].from);
        EXPECT_EQ(lines[i].to, expected[i].to);
        EXPECT_EQ(lines[i].colour, expected[i].colour);
        EXPECT_EQ(lines[i].dash, expected[i].dash);
        EXPECT_EQ(lines[i].width, 1);
    }
    EXPECT_EQ(labels(list, 7),
        (Labels { { "0", { 0, 0 } }, { "1", { 1, 0 } }, { "2", { 2, 0 } }, { "3", { 3, 0 } },
            { "4", { 4, 0 } } }));
    EXPECT_EQ(labels(list, 5),
        (Labels { { "-1000", { 0, -1000 } }, { "300", { 1, 300 } }, { "300", { 2, 300 } },
            { "300", { 3, 300 } }, { "300", { 4, 300 } } }));
}

TEST(FlowDiagram, EveryNonZeroFlowHasItsLineFromTheAxisInItsColour)
{
    const SharedState states[] = {
        flowState(0, 3, { 0, 40, 0, 25.5 }, { -100, -60, 0, 0 }), // period 1 carries both
        flowState(3, 8, { 0, 100, 100, 100, 100, 100 }, { -7, 0, 0, 0, 0, 0 }),
        flowState(0, 1, { 0, 3e9 }, { -2.5e9, 0 }),
    };
    for (std::size_t k = 0; k < std::size(states); ++k) {
        SCOPED_TRACE(k);
        const SharedState& s = states[k];
        const auto nonZero = [](const std::vector<double>& v) {
            return std::count_if(v.begin(), v.end(), [](double x) { return x != 0; });
        };
        long up = 0, down = 0;
        for (const auto& l : flowDiagram(s).lines()) {
            if (l.colour == kDarkGreen)
                continue;
            const auto i = static_cast<std::size_t>(l.to.x - s.FirstPeriod);
            const auto& flows = l.colour == kBlack ? *s.PeriodInflows : *s.PeriodOutflows;
            ++(l.colour == kBlack ? up : down);
            EXPECT_EQ(l.from, (ChartPoint { l.to.x, 0 }));
            EXPECT_EQ(l.to.y, flows.at(i));
            EXPECT_EQ(l.to.y > 0, l.colour == kBlack);
        }
        EXPECT_EQ(up, nonZero(*s.PeriodInflows));
        EXPECT_EQ(down, nonZero(*s.PeriodOutflows));
    }
}

TEST(FlowDiagram, FirstPeriodAfterZeroKeepsPeriodNumbersAndPutsTheDottedLineOutside)
{
    // Index 0 is period 3.
    const DisplayList list
        = flowDiagram(flowState(3, 8, { 0, 100, 100, 100, 100, 100 }, { 0, 0, 0, 0, 0, 0 }));
    EXPECT_DOUBLE_EQ(list.frame.left, 2);
    EXPECT_DOUBLE_EQ(list.frame.right, 9);
    const auto dotted = list.lines().at(1);
    EXPECT_EQ(dotted.dash, DashStyle::Dot);
    EXPECT_EQ(dotted.from.x, 0); // at period 0, off the picture
    const auto periods = labels(list, 7);
    ASSERT_EQ(periods.size(), 6u);
    EXPECT_EQ(periods.front(), (std::pair<std::string, ChartPoint> { "3", { 3, 0 } }));
    EXPECT_EQ(periods.back().first, "8");
    EXPECT_EQ(list.texts().front().topLeft.x, 4); // the title ignores FirstPeriod: 4 × MarginX
}

TEST(FlowDiagram, ThirtyPeriodsLabelEveryThirdValueAndEveryPeriod)
{
    const DisplayList list
        = flowDiagram(flowState(0, 30, std::vector<double>(31, 10), std::vector<double>(31, -4)));
    EXPECT_EQ(labels(list, 7).size(), 31u);
    const auto values = labels(list, 5);
    ASSERT_EQ(values.size(), 22u); // 11 labelled periods, inflow and outflow each
    for (std::size_t k = 0; k < values.size(); ++k)
        EXPECT_EQ(values[k].second, (ChartPoint { double(k / 2 * 3), k % 2 ? -4.0 : 10.0 }));
}

TEST(FlowDiagram, ValueLabelsAreWholeNumbers)
{
    const auto values = labels(flowDiagram(flowState(0, 1, { 1234.4, 0.3 }, { -999.6, 0 })), 5);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].first, "1234");
    EXPECT_EQ(values[1].first, "-1000");
    EXPECT_EQ(values[2].first, "0");
}

TEST(FlowDiagram, FailuresEndInTheCalculationError)
{
    SharedState shortArray = flowExample();
    shortArray.PeriodOutflows->pop_back();
    const std::pair<const char*, SharedState> cases[] = {
        { "no calculation yet", SharedState {} },
        { "FirstPeriod = LastPeriod", flowState(5, 5, { 100 }, { 0 }) },
        { "span beyond 16 bits", flowState(-20000, 20000, { 1 }, { 0 }) },
        { "period number beyond 16 bits",
            flowState(32760, 32767, std::vector<double>(20, 1), std::vector<double>(20, 0)) },
        { "value not finite",
            flowState(0, 1, { 0, std::numeric_limits<double>::infinity() }, { 0, 0 }) },
        { "arrays of different lengths", shortArray },
    };
    for (const auto& [what, state] : cases) {
        SCOPED_TRACE(what);
        EXPECT_THROW(flowDiagram(state), CalcError);
    }
}

} // namespace
} // namespace orvex
