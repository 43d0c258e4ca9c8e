#pragma once

#include "common/shared_state.h"
#include "loans/schedule.h"
#include "worksheet/calculation.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace orvex::cli {

// A worksheet file calculated as the "Cálculos" button does it, into state.
struct CalculatedWorksheet {
    CalcOutcome outcome;
    std::string rate; // the rate field afterwards: a rate search leaves its result there
};

// nullopt when the file cannot be read; the reason is then on err, after
// "orvex-cli COMMAND: ".
std::optional<CalculatedWorksheet> calculateWorksheetFile(
    const std::string& path, const char* command, SharedState& state, std::ostream& err);

// Where a schedule comes from: a loan file (.upa) with its variation table (.cor)
// when one is named, or a worksheet file (.ORV).
struct ScheduleFiles {
    bool loan = false;
    std::string input;
    std::string cor; // loans only; empty: no variation table
};

// table when the schedule was built; otherwise the failure is already on err and
// exitCode says which (unreadable file: kExitUsage; the calculation: kExitCalcError).
struct LoadedSchedule {
    std::optional<ScheduleTable> table;
    int exitCode = 0;
};

// The schedule as the loan window's "Cálculos" or the worksheet's "Liquidacion" shows
// it. It leaves FirstPeriod and LastPeriod in state, where the payment-plan chart
// reads them. command names the subcommand in file error messages.
LoadedSchedule loadSchedule(
    const ScheduleFiles& files, const char* command, SharedState& state, std::ostream& err);

} // namespace orvex::cli
