#include "charts/chart_layout.h"
#include "charts/charts_test_util.h"
#include "charts/flow_diagram.h"
#include "common/calc_error.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(FlowDiagram, LinesAndFrameAsDesigned)
{
    const DisplayList example = flowDiagram(flowExample());
    EXPECT_EQ(test::frameOf(example), (std::array<double, 4> { -1, 441, 5, -1141 }));
    EXPECT_EQ(test::lineShapes(example),
        (std::vector<LineShape> {
            { { 0, 0 }, { 4, 0 }, kDarkGreen }, // time axis
            { { 0, 301 }, { 0, -1001 }, kDarkGreen, DashStyle::Dot }, // period 0
            { { 0, 0 }, { 0, -1000 }, kDarkRed },
            { { 1, 0 }, { 1, 300 }, kBlack },
            { { 2, 0 }, { 2, 300 }, kBlack },
            { { 3, 0 }, { 3, 300 }, kBlack },
            { { 4, 0 }, { 4, 300 }, kBlack },
        }));
    // Periods 3 to 6; period 4 carries an inflow and an outflow.
    const DisplayList late = flowDiagram(flowState(3, 6, { 0, 40, 0, 25.5 }, { -100, -60, 0, 0 }));
    EXPECT_EQ(test::frameOf(late), (std::array<double, 4> { 2, 53, 7, -113 }));
    EXPECT_EQ(test::lineShapes(late),
        (std::vector<LineShape> {
            { { 3, 0 }, { 6, 0 }, kDarkGreen },
            { { 0, 41 }, { 0, -101 }, kDarkGreen, DashStyle::Dot }, // left of the picture
            { { 3, 0 }, { 3, -100 }, kDarkRed },
            { { 4, 0 }, { 4, 40 }, kBlack },
            { { 4, 0 }, { 4, -60 }, kDarkRed },
            { { 6, 0 }, { 6, 25.5 }, kBlack },
        }));
    EXPECT_EQ(texts(late, 7).substr(0, 24), "3@3,0 4@4,0 5@5,0 6@6,0 ");
    EXPECT_EQ(flowDiagram(flowState(0, 1, { 0, 3e9 }, { -2.5e9, 0 })).lines().back().to,
        (ChartPoint { 1, 3e9 }));
}

// The title stands where no line is, every text inside the picture, none over another,
// and no value label crossed by a line; a label without such a place is left out.
TEST(FlowDiagram, TextsCanBeRead)
{
    const std::pair<const char*, SharedState> cases[] = {
        { "example", flowExample() },
        { "both flows in one period", flowState(3, 6, { 0, 40, 0, 25.5 }, { -100, -60, 0, 0 }) },
        { "equal extents: title line on the top edge", flowState(0, 1, { 0, 500 }, { -500, 0 }) },
        { "tall lines everywhere", flat(0, 10, 10, 0) },
        { "no margin above, labels everywhere", flat(0, 10, 10, -10) },
        { "thirty periods", flat(0, 30, 10, -4) },
        { "thirty thousand periods", flat(0, 30000, 10, -4) },
    };
    for (const auto& [what, state] : cases) {
        SCOPED_TRACE(what);
        const DisplayList list = flowDiagram(state);
        const ChartLayout layout(list.frame, kFlowDiagramCanvas);
        std::vector<PixelBox> lines;
        for (const ChartLine& l : list.lines()) {
            const double x1 = layout.px(l.from.x), x2 = layout.px(l.to.x);
            const double y1 = layout.py(l.from.y), y2 = layout.py(l.to.y);
            lines.push_back({ std::min(x1, x2) - 1, std::min(y1, y2) - 1, std::max(x1, x2) + 1,
                std::max(y1, y2) + 1 });
        }
        std::vector<PixelBox> boxes;
        int titles = 0;
        for (const ChartText& t : list.texts()) {
            const PixelBox box
                = layout.textBox(layout.px(t.topLeft.x), layout.py(t.topLeft.y), t.text, t.points);
            EXPECT_TRUE(box.inside(kFlowDiagramCanvas)) << t.text;
            for (const PixelBox& other : boxes)
                EXPECT_FALSE(box.intersects(other)) << t.text;
            boxes.push_back(box);
            titles += t.text == kFlowDiagramTitle;
            const bool periodLabel = t.topLeft.y == 0 && t.points == 7;
            for (std::size_t k = 0; k < lines.size() && !periodLabel; ++k)
                EXPECT_FALSE(box.intersects(lines[k])) << t.text << " crosses line " << k;
        }
        EXPECT_EQ(titles, 1);
        EXPECT_LT(list.texts().size(), 100u);
    }
}

TEST(FlowDiagram, LabelsAreWholeNumbersAtReadableSizes)
{
    // Values at every LabelStep-th period, as whole numbers; periods from the first.
    const DisplayList list = flowDiagram(flowState(0, 1, { 1234.4, 0.3 }, { -999.6, 0 }));
    std::vector<std::string> shown;
    for (const ChartText& t : list.texts()) {
        EXPECT_EQ(t.font, "Arial");
        EXPECT_GE(t.points, 7);
        shown.push_back(t.text);
    }
    for (const char* text : { "1234", "-1000", "0", "1" })
        EXPECT_NE(std::find(shown.begin(), shown.end(), text), shown.end()) << text;
    // Every third period carries value labels (LabelStep 3), at most.
    const DisplayList thirty = flowDiagram(flat(0, 30, 10, -4));
    const std::vector<ChartText> all = thirty.texts();
    const auto values = std::count_if(all.begin(), all.end(),
        [](const ChartText& t) { return t.text == "10" && t.topLeft.y != 0; });
    EXPECT_GE(values, 1);
    EXPECT_LE(values, 11);
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
