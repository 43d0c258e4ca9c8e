#pragma once

#include "charts/payment_plan.h"
#include "common/shared_state.h"

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace orvex::test {

// The flow arrays of a calculation over first..last; net flows follow from the other two.
inline SharedState flowState(
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

// −1000 at period 0 and 300 at periods 1 to 4: a single payment and a uniform series.
inline SharedState flowExample()
{
    return flowState(0, 4, { 0, 300, 300, 300, 300 }, { -1000, 0, 0, 0, 0 });
}

inline const ScheduleGridRow kPlanHeader { "Período", "Pago Intereses", "Cuota", "Pago Capital",
    "Saldo" };

// The first periods of 12000 UVR at 1 % a month with a uniform instalment, as the
// schedule grid shows them.
inline const std::vector<ScheduleGridRow> kUvrLoanRows {
    kPlanHeader,
    { "0", "", "", "", "12000.00000" },
    { "1", "120.00000", "1066.18546", "946.18546", "11053.81454" },
    { "2", "110.53815", "1066.18546", "955.64732", "10098.16722" },
};

// A drawn line by everything that shows.
struct LineShape {
    ChartPoint from, to;
    Rgb colour;
    DashStyle dash = DashStyle::Solid;
    int width = 1;
    friend bool operator==(const LineShape&, const LineShape&) = default;
};

inline void PrintTo(const LineShape& l, std::ostream* os)
{
    *os << l.from.x << "," << l.from.y << " to " << l.to.x << "," << l.to.y << " rgb "
        << int(l.colour.r) << int(l.colour.g) << int(l.colour.b) << " style " << int(l.dash)
        << " width " << l.width;
}

inline std::vector<LineShape> lineShapes(const DisplayList& list)
{
    std::vector<LineShape> out;
    for (const auto& l : list.lines())
        out.push_back({ l.from, l.to, l.colour, l.dash, l.width });
    return out;
}

inline std::array<double, 4> frameOf(const DisplayList& list)
{
    return { list.frame.left, list.frame.top, list.frame.right, list.frame.bottom };
}

// The texts of one point size as "text@x,y ", in drawing order.
inline std::string texts(const DisplayList& list, double points)
{
    std::ostringstream out;
    for (const auto& t : list.texts())
        if (t.points == points)
            out << t.text << "@" << t.topLeft.x << "," << t.topLeft.y << " ";
    return out.str();
}

inline int count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

} // namespace orvex::test
