#pragma once

#include "charts/payment_plan.h"
#include "common/shared_state.h"

#include <algorithm>
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

// 12000 UVR at 1 % a month with a uniform instalment of 1066.18546, as the schedule
// grid shows it, periods 0..lastPeriod (12 at most).
inline std::vector<ScheduleGridRow> uvrLoanRows(int lastPeriod)
{
    std::vector<ScheduleGridRow> rows {
        kPlanHeader,
        { "0", "", "", "", "12000.00000" },
        { "1", "120.00000", "1066.18546", "946.18546", "11053.81454" },
        { "2", "110.53815", "1066.18546", "955.64732", "10098.16722" },
    };
    double balance = 10098.16722;
    for (int p = 3; p <= lastPeriod; ++p) {
        const double interest = balance * 0.01;
        const double capital = 1066.18546 - interest;
        balance -= capital;
        rows.push_back({ std::to_string(p), std::to_string(interest), "1066.18546",
            std::to_string(capital), std::to_string(std::max(balance, 0.0)) });
    }
    rows.resize(static_cast<std::size_t>(std::min(lastPeriod, 12)) + 2);
    return rows;
}

inline int count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

} // namespace orvex::test
