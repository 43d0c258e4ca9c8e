#pragma once

#include "../temp_dir.h"
#include "common/shared_state.h"
#include "loans/loan.h"
#include "loans/schedule.h"

#include <string>
#include <vector>

namespace orvex::test {

// The loan window as typed: 1200000 pesos at 100 pesos a UVR (12000 UVR) unless told.
inline LoanInput loan(const char* term, const char* rate, PaymentSystem system, bool enUvr = true,
    const char* variation = "0.5", const char* uvr = "100", const char* amount = "1200000")
{
    return { { amount, uvr, term, rate, variation }, system, enUvr };
}

// "Cálculos" of the loan window up to the schedule it opens.
inline ScheduleTable loanSchedule(const LoanInput& input, SharedState& state)
{
    runLoanCalculation(input, state);
    return buildSchedule(
        ScheduleSource::loan(input.termText(), input.rateText(), input.enUvr), state);
}

// A schedule row as the tests write it: "cell|cell|cell|cell|cell".
inline std::string joined(const std::array<std::string, 5>& row)
{
    return row[0] + "|" + row[1] + "|" + row[2] + "|" + row[3] + "|" + row[4];
}

// Flows as a calculation leaves them; net flows are the sum of the other two.
inline void setFlows(SharedState& state, std::vector<double> in, std::vector<double> out)
{
    std::vector<double> net(in.size());
    for (std::size_t k = 0; k < in.size(); ++k)
        net[k] = in[k] + out[k];
    state.PeriodInflows = std::move(in);
    state.PeriodOutflows = std::move(out);
    state.PeriodNetFlows = std::move(net);
}

} // namespace orvex::test
