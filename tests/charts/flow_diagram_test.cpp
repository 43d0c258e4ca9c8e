#include "charts/flow_diagram.h"
#include "common/calc_error.h"
#include "common/shared_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvex {
namespace {

SharedState flowState(
    std::int16_t first, std::int16_t last, std::vector<double> in, std::vector<double> out)
{
    SharedState s;
    s.FirstPeriod = first;
    s.LastPeriod = last;
    std::vector<double> net(in.size());
    for (std::size_t i = 0; i < in.size(); ++i)
        net[i] = in[i] + (i < out.size() ? out[i] : 0);
    s.PeriodInflows = std::move(in);
    s.PeriodOutflows = std::move(out);
    s.PeriodNetFlows = std::move(net);
    return s;
}

// -1000 at period 0, 300 at periods 1 to 4: the worksheet example of a single
// payment and a uniform series.
SharedState example() { return flowState(0, 4, { 0, 300, 300, 300, 300 }, { -1000, 0, 0, 0, 0 }); }

std::vector<ChartText> textsOfSize(const DisplayList& list, double points)
{
    std::vector<ChartText> out;
    for (const auto& t : list.texts())
        if (t.points == points)
            out.push_back(t);
    return out;
}

TEST(FlowDiagramGeometry, ExtentsMarginsAndLabelStep)
{
    struct Case {
        const char* what;
        SharedState state;
        double maxIn, maxOut;
        int top, bottom, marginY, marginX, labelStep;
    };
    const Case cases[] = {
        // MarginY = nearest(|301 − 1001| × 0.2) = 140; MarginX = nearest(0.8) = 1.
        { "example", example(), 300, 1000, 301, 1001, 140, 1, 1 },
        // Only inflows: Bottom is 1, MarginY = nearest(0.2 × 300) = 60.
        { "only inflows", flowState(0, 4, { 0, 300, 300, 300, 300 }, { 0, 0, 0, 0, 0 }), 300, 0,
            301, 1, 60, 1, 1 },
        // Equal extents: Top = Bottom, no vertical margin.
        { "equal extents", flowState(0, 1, { 0, 500 }, { -500, 0 }), 500, 500, 501, 501, 0, 0, 1 },
        // Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4.
        { "halves to even", flowState(0, 1, { 2.5, 0 }, { 0, -3.5 }), 2.5, 3.5, 3, 5, 0, 0, 1 },
        { "ten periods", flowState(0, 10, std::vector<double>(11, 1), std::vector<double>(11, 0)),
            1, 0, 2, 1, 0, 2, 1 },
        // 30 periods: MarginX = 6, LabelStep = 30 div 15 + 1 = 3.
        { "thirty periods",
            flowState(0, 30, std::vector<double>(31, 10), std::vector<double>(31, 0)), 10, 0, 11, 1,
            2, 6, 3 },
        { "fourteen periods",
            flowState(0, 14, std::vector<double>(15, 10), std::vector<double>(15, 0)), 10, 0, 11, 1,
            2, 3, 1 },
        { "fifteen periods",
            flowState(5, 20, std::vector<double>(16, 10), std::vector<double>(16, 0)), 10, 0, 11, 1,
            2, 3, 2 },
        // Negative inflows never raise MaxIn above 0.
        { "negative inflow", flowState(0, 2, { -5, 0, 0 }, { 0, 0, -7 }), 0, 7, 1, 8, 1, 0, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto g = flowDiagramGeometry(c.state);
        EXPECT_DOUBLE_EQ(g.maxIn, c.maxIn);
        EXPECT_DOUBLE_EQ(g.maxOut, c.maxOut);
        EXPECT_EQ(g.top, c.top);
        EXPECT_EQ(g.bottom, c.bottom);
        EXPECT_EQ(g.marginY, c.marginY);
        EXPECT_EQ(g.marginX, c.marginX);
        EXPECT_EQ(g.labelStep, c.labelStep);
    }
}

TEST(FlowDiagram, ExampleDrawsEveryElementInOrder)
{
    const DisplayList list = flowDiagram(example());
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

    const auto lines = list.lines();
    ASSERT_EQ(lines.size(), 2u + 1 + 4);
    EXPECT_EQ(lines[0].from, (ChartPoint { 0, 0 }));
    EXPECT_EQ(lines[0].to, (ChartPoint { 4, 0 }));
    EXPECT_EQ(lines[0].colour, kDarkGreen);
    EXPECT_EQ(lines[0].dash, DashStyle::Solid);
    EXPECT_EQ(lines[1].from, (ChartPoint { 0, 301 }));
    EXPECT_EQ(lines[1].to, (ChartPoint { 0, -1001 }));
    EXPECT_EQ(lines[1].colour, kDarkGreen);
    EXPECT_EQ(lines[1].dash, DashStyle::Dot);
    EXPECT_EQ(lines[2].to, (ChartPoint { 0, -1000 }));
    EXPECT_EQ(lines[2].colour, kDarkRed);
    for (int x = 1; x <= 4; ++x) {
        SCOPED_TRACE(x);
        const auto& l = lines[static_cast<std::size_t>(x) + 2];
        EXPECT_EQ(l.from, (ChartPoint { double(x), 0 }));
        EXPECT_EQ(l.to, (ChartPoint { double(x), 300 }));
        EXPECT_EQ(l.colour, kBlack);
        EXPECT_EQ(l.width, 1);
    }

    const auto periods = textsOfSize(list, 7);
    ASSERT_EQ(periods.size(), 5u);
    for (int x = 0; x <= 4; ++x) {
        EXPECT_EQ(periods[static_cast<std::size_t>(x)].text, std::to_string(x));
        EXPECT_EQ(periods[static_cast<std::size_t>(x)].topLeft, (ChartPoint { double(x), 0 }));
    }
    const auto values = textsOfSize(list, 5);
    ASSERT_EQ(values.size(), 5u);
    EXPECT_EQ(values[0].text, "-1000");
    EXPECT_EQ(values[0].topLeft, (ChartPoint { 0, -1000 }));
    EXPECT_EQ(values[1].text, "300");
    EXPECT_EQ(values[1].topLeft, (ChartPoint { 1, 300 }));
}

TEST(FlowDiagram, EveryNonZeroFlowHasItsLineInItsColour)
{
    // Period 1 carries both an inflow and an outflow.
    const SharedState s = flowState(0, 3, { 0, 40, 0, 25.5 }, { -100, -60, 0, 0 });
    const auto lines = flowDiagram(s).lines();
    int up = 0, down = 0;
    for (const auto& l : lines) {
        if (l.colour == kBlack) {
            ++up;
            EXPECT_GT(l.to.y, 0);
            EXPECT_EQ(l.to.y, (*s.PeriodInflows)[static_cast<std::size_t>(l.to.x)]);
        } else if (l.colour == kDarkRed) {
            ++down;
            EXPECT_LT(l.to.y, 0);
            EXPECT_EQ(l.to.y, (*s.PeriodOutflows)[static_cast<std::size_t>(l.to.x)]);
        }
        if (l.colour != kDarkGreen) {
            EXPECT_EQ(l.from.y, 0);
        }
    }
    EXPECT_EQ(up, 2);
    EXPECT_EQ(down, 2);
}

TEST(FlowDiagram, FirstPeriodAfterZeroKeepsPeriodNumbersAndPutsTheDottedLineOutside)
{
    // A series from 3 to 8: index 0 is period 3 and stays 0.
    const DisplayList list
        = flowDiagram(flowState(3, 8, { 0, 100, 100, 100, 100, 100 }, { 0, 0, 0, 0, 0, 0 }));
    EXPECT_DOUBLE_EQ(list.frame.left, 2);
    EXPECT_DOUBLE_EQ(list.frame.right, 9);
    const auto lines = list.lines();
    EXPECT_EQ(lines[1].dash, DashStyle::Dot);
    EXPECT_LT(lines[1].from.x, list.frame.left); // dotted line at period 0 is off the picture
    std::vector<double> inflowX;
    for (const auto& l : lines)
        if (l.colour == kBlack)
            inflowX.push_back(l.from.x);
    EXPECT_EQ(inflowX, (std::vector<double> { 4, 5, 6, 7, 8 }));
    const auto periods = textsOfSize(list, 7);
    ASSERT_EQ(periods.size(), 6u);
    EXPECT_EQ(periods.front().text, "3");
    EXPECT_EQ(periods.back().text, "8");
    // The title ignores FirstPeriod: 4 × MarginX.
    EXPECT_EQ(list.texts().front().topLeft.x, 4);
}

TEST(FlowDiagram, ThirtyPeriodsLabelEveryThirdValueAndEveryPeriod)
{
    const DisplayList list
        = flowDiagram(flowState(0, 30, std::vector<double>(31, 10), std::vector<double>(31, -4)));
    EXPECT_EQ(textsOfSize(list, 7).size(), 31u);
    const auto values = textsOfSize(list, 5);
    ASSERT_EQ(values.size(), 22u); // 11 labelled periods, inflow and outflow each
    for (std::size_t k = 0; k < values.size(); ++k)
        EXPECT_EQ(values[k].topLeft.x, double(k / 2 * 3));
}

TEST(FlowDiagram, ValueLabelsAreWholeNumbers)
{
    const auto values
        = textsOfSize(flowDiagram(flowState(0, 1, { 1234.4, 0.3 }, { -999.6, 0 })), 5);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].text, "1234");
    EXPECT_EQ(values[1].text, "-1000");
    EXPECT_EQ(values[2].text, "0");
}

TEST(FlowDiagram, AmountsBeyondThirtyTwoBitsStillDraw)
{
    // Three thousand million pesos: a house price, not an error.
    const auto g = flowDiagramGeometry(flowState(0, 1, { 0, 3e9 }, { -2.5e9, 0 }));
    EXPECT_DOUBLE_EQ(g.top, 3000000001.0);
    EXPECT_DOUBLE_EQ(g.bottom, 2500000001.0);
    EXPECT_DOUBLE_EQ(g.marginY, 100000000.0);
    const auto lines = flowDiagram(flowState(0, 1, { 0, 3e9 }, { -2.5e9, 0 })).lines();
    EXPECT_EQ(lines.back().to, (ChartPoint { 1, 3e9 }));
}

TEST(FlowDiagram, FailuresEndInTheCalculationError)
{
    struct Case {
        const char* what;
        SharedState state;
    };
    SharedState nothingCalculated;
    SharedState shortArray = example();
    shortArray.PeriodOutflows->pop_back();
    const Case cases[] = {
        { "no calculation yet", nothingCalculated },
        { "FirstPeriod = LastPeriod", flowState(5, 5, { 100 }, { 0 }) },
        { "span beyond 16 bits", flowState(-20000, 20000, { 1 }, { 0 }) },
        { "period number beyond 16 bits",
            flowState(32760, 32767, std::vector<double>(20, 1), std::vector<double>(20, 0)) },
        { "value not finite",
            flowState(0, 1, { 0, std::numeric_limits<double>::infinity() }, { 0, 0 }) },
        { "arrays of different lengths", shortArray },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(flowDiagram(c.state), CalcError);
    }
}

} // namespace
} // namespace orvex
