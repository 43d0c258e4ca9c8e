#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orvex {

// The program-wide variables the windows share. main() owns the one instance and
// hands it by reference to the windows; a test builds its own. An array that
// does not exist yet is an empty optional.
struct SharedState {
    std::int16_t FirstPeriod = 0;
    std::int16_t LastPeriod = 0;
    std::optional<std::vector<double>> PeriodInflows;
    std::optional<std::vector<double>> PeriodOutflows;
    std::optional<std::vector<double>> PeriodNetFlows;
    bool LoanWindowActive = false;
    std::int16_t LoanRateField = 0;
    std::optional<std::vector<double>> UvrValues;
    std::optional<std::vector<double>> UvrVariations;

    // True once a calculation has created the three flow arrays.
    bool hasFlows() const { return PeriodInflows && PeriodOutflows && PeriodNetFlows; }

    // Replaces the three flow arrays with count zero entries each.
    void resetFlows(std::size_t count)
    {
        PeriodInflows.emplace(count, 0.0);
        PeriodOutflows.emplace(count, 0.0);
        PeriodNetFlows.emplace(count, 0.0);
    }
};

} // namespace orvex
