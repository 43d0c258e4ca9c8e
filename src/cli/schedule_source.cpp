#include "cli/schedule_source.h"

#include "cli/commands.h"
#include "common/calc_error.h"
#include "common/file_io.h"
#include "loans/loan.h"
#include "loans/loan_files.h"
#include "worksheet/calculation.h"
#include "worksheet/worksheet_file.h"

#include <ostream>

namespace orvex::cli {
namespace {

LoadedSchedule calcFailure(std::ostream& err)
{
    err << kCalcErrorMessage << "\n";
    return { std::nullopt, kExitCalcError };
}

LoadedSchedule fileFailure(const char* command, const char* what, std::ostream& err)
{
    err << "orvex-cli " << command << ": " << what << "\n";
    return { std::nullopt, kExitUsage };
}

LoadedSchedule loanSchedule(
    const ScheduleFiles& files, const char* command, SharedState& state, std::ostream& err)
{
    try {
        const LoanInput loan = loadLoanFile(files.input);
        if (!files.cor.empty()) {
            // The variation table covers months 0 to the term, as its "Salir" hands it over.
            const auto months = static_cast<std::size_t>(loanMonths(loan.termText())) + 1;
            state.UvrVariations = variationsFromTexts(loadVariationFile(files.cor, months));
        }
        runLoanCalculation(loan, state);
        return { buildSchedule(
                     ScheduleSource::loan(loan.termText(), loan.rateText(), loan.enUvr), state),
            kExitOk };
    } catch (const LoanFileError& e) {
        return fileFailure(command, e.what(), err);
    } catch (const CalcError&) {
        return calcFailure(err);
    }
}

LoadedSchedule worksheetSchedule(
    const ScheduleFiles& files, const char* command, SharedState& state, std::ostream& err)
{
    const auto calculated = calculateWorksheetFile(files.input, command, state, err);
    if (!calculated)
        return { std::nullopt, kExitUsage };
    if (calculated->outcome.failed)
        return calcFailure(err);
    try {
        return { buildSchedule(ScheduleSource::worksheet(calculated->rate), state), kExitOk };
    } catch (const CalcError&) {
        return calcFailure(err);
    }
}

} // namespace

std::optional<CalculatedWorksheet> calculateWorksheetFile(
    const std::string& path, const char* command, SharedState& state, std::ostream& err)
{
    LoadedWorksheet loaded;
    try {
        loaded = loadWorksheetFile(path);
    } catch (const FileError& e) {
        err << "orvex-cli " << command << ": " << e.what() << "\n";
        return std::nullopt;
    }
    if (loaded.rate)
        loaded.sheet.setRate(*loaded.rate);
    CalculatedWorksheet result { calculos(loaded.sheet, state), loaded.sheet.rate() };
    if (result.outcome.newRate)
        result.rate = *result.outcome.newRate;
    return result;
}

LoadedSchedule loadSchedule(
    const ScheduleFiles& files, const char* command, SharedState& state, std::ostream& err)
{
    return files.loan ? loanSchedule(files, command, state, err)
                      : worksheetSchedule(files, command, state, err);
}

} // namespace orvex::cli
