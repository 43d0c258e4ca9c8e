#include "charts/charts_test_util.h"
#include "charts/flow_diagram.h"
#include "common/calc_error.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvex {
namespace {

using test::flowExample;
using test::flowState;
using test::LineShape;
using test::texts;

SharedState flat(std::int16_t first, std::int16_t last, double in, double out)
{
    const auto n = static_cast<std::size_t>(last - first + 1);
    return flowState(first, last, std::vector<double>(n, in), std::vector<double>(n, out));
}

TEST(FlowDiagramGeometry, ExtentsMarginsAndLabelStep)
{
    using G = std::array<double, 7>; // maxIn, maxOut, top, bottom, marginY, marginX, labelStep
    const std::pair<SharedState, G> cases[] = {
        // MarginY = nearest(|301 − 1001| × 0.2) = 140: the difference, not the sum.
        { flowExample(), { 300, 1000, 301, 1001, 140, 1, 1 } },
        { flowState(0, 4, { 0, 300, 300, 300, 300 }, { 0, 0, 0, 0, 0 }),
            { 300, 0, 301, 1, 60, 1, 1 } },
        { flowState(0, 1, { 0, 500 }, { -500, 0 }), { 500, 500, 501, 501, 0, 0, 1 } },
        // Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4.
        { flowState(0, 1, { 2.5, 0 }, { 0, -3.5 }), { 2.5, 3.5, 3, 5, 0, 0, 1 } },
        { flat(0, 10, 10, 0), { 10, 0, 11, 1, 2, 2, 1 } },
        { flat(0, 14, 10, 0), { 10, 0, 11, 1, 2, 3, 1 } },
        { flat(5, 20, 10, 0), { 10, 0, 11, 1, 2, 3, 2 } },
        { flat(0, 30, 10, 0), { 10, 0, 11, 1, 2, 6, 3 } },
        { flowState(0, 2, { -5, 0, 0 }, { 0, 0, -7 }), { 0, 7, 1, 8, 1, 0, 1 } },
        // Three thousand million pesos, a house price: beyond 32 bits, still no error.
        { flowState(0, 1, { 0, 3e9 }, { -2.5e9, 0 }),
            { 3e9, 2.5e9, 3e9 + 1, 2.5e9 + 1, 1e8, 0, 1 } },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto g = flowDiagramGeometry(cases[i].first);
        EXPECT_EQ((G { g.maxIn, g.maxOut, g.top, g.bottom, g.marginY, double(g.marginX),
                      double(g.labelStep) }),
            cases[i].second);
    }
}

TEST(FlowDiagram, ExampleDrawsTitleAxesFlowsAndLabelsInOrder)
{
    const DisplayList list = flowDiagram(flowExample());
    EXPECT_EQ(test::frameOf(list), (std::array<double, 4> { -1, 441, 5, -1141 }));
    EXPECT_EQ(texts(list, 10), "DIAGRAMA DE FLUJO@4,301 ");
    EXPECT_EQ(list.texts().front().font, "Arial");
    EXPECT_EQ(test::lineShapes(list),
        (std::vector<LineShape> {
            { { 0, 0 }, { 4, 0 }, kDarkGreen }, // time axis
            { { 0, 301 }, { 0, -1001 }, kDarkGreen, DashStyle::Dot }, // period 0
            { { 0, 0 }, { 0, -1000 }, kDarkRed },
            { { 1, 0 }, { 1, 300 }, kBlack },
            { { 2, 0 }, { 2, 300 }, kBlack },
            { { 3, 0 }, { 3, 300 }, kBlack },
            { { 4, 0 }, { 4, 300 }, kBlack },
        }));
    EXPECT_EQ(texts(list, 7), "0@0,0 1@1,0 2@2,0 3@3,0 4@4,0 ");
    EXPECT_EQ(texts(list, 5), "-1000@0,-1000 300@1,300 300@2,300 300@3,300 300@4,300 ");
}

TEST(FlowDiagram, FirstPeriodAfterZeroAndAPeriodWithBothFlows)
{
    // Periods 3 to 6; period 4 carries an inflow and an outflow.
    const DisplayList list = flowDiagram(flowState(3, 6, { 0, 40, 0, 25.5 }, { -100, -60, 0, 0 }));
    EXPECT_EQ(test::frameOf(list), (std::array<double, 4> { 2, 53, 7, -113 }));
    EXPECT_EQ(texts(list, 10), "DIAGRAMA DE FLUJO@4,41 "); // 4 × MarginX, not offset
    EXPECT_EQ(test::lineShapes(list),
        (std::vector<LineShape> {
            { { 3, 0 }, { 6, 0 }, kDarkGreen },
            { { 0, 41 }, { 0, -101 }, kDarkGreen, DashStyle::Dot }, // left of the picture
            { { 3, 0 }, { 3, -100 }, kDarkRed },
            { { 4, 0 }, { 4, 40 }, kBlack },
            { { 4, 0 }, { 4, -60 }, kDarkRed },
            { { 6, 0 }, { 6, 25.5 }, kBlack },
        }));
    EXPECT_EQ(texts(list, 7), "3@3,0 4@4,0 5@5,0 6@6,0 ");
    EXPECT_EQ(flowDiagram(flowState(0, 1, { 0, 3e9 }, { -2.5e9, 0 })).lines().back().to,
        (ChartPoint { 1, 3e9 }));
}

TEST(FlowDiagram, ValueLabelsAreWholeNumbersOnEveryLabelStepthPeriod)
{
    EXPECT_EQ(texts(flowDiagram(flowState(0, 1, { 1234.4, 0.3 }, { -999.6, 0 })), 5),
        "1234@0,1234.4 -1000@0,-999.6 0@1,0.3 ");
    const DisplayList thirty = flowDiagram(flat(0, 30, 10, -4));
    EXPECT_EQ(thirty.texts().size(), 1u + 31 + 22); // every period, every third value
    std::string every3rd;
    for (int p = 0; p <= 30; p += 3)
        every3rd += "10@" + std::to_string(p) + ",10 -4@" + std::to_string(p) + ",-4 ";
    EXPECT_EQ(texts(thirty, 5), every3rd);
}

TEST(FlowDiagram, FailuresEndInTheCalculationError)
{
    SharedState shortArray = flowExample();
    shortArray.PeriodOutflows->pop_back();
    const std::pair<const char*, SharedState> cases[] = {
        { "no calculation yet", SharedState {} },
        { "FirstPeriod = LastPeriod", flowState(5, 5, { 100 }, { 0 }) },
        { "span beyond 16 bits", flowState(-20000, 20000, { 1 }, { 0 }) },
        { "period number beyond 16 bits", // 20 entries from 32760
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
