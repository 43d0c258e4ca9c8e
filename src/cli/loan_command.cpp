#include "cli/commands.h"

#include "common/calc_error.h"
#include "common/file_io.h"
#include "loans/loan.h"
#include "loans/loan_files.h"
#include "loans/schedule.h"
#include "worksheet/calculation.h"
#include "worksheet/worksheet_file.h"

#include <ostream>

namespace orvex::cli {
namespace {

constexpr const char* kLoanUsage = "Uso: orvex-cli loan ARCHIVO.upa [--cor ARCHIVO.cor]\n";
constexpr const char* kScheduleUsage = "Uso: orvex-cli schedule ARCHIVO.ORV\n";

int calcFailure(std::ostream& err)
{
    err << kCalcErrorMessage << "\n";
    return kExitCalcError;
}

int printSchedule(
    const ScheduleSource& source, SharedState& state, std::ostream& out, std::ostream& err)
{
    try {
        out << scheduleClipboardText(buildSchedule(source, state));
    } catch (const CalcError&) {
        return calcFailure(err);
    }
    return kExitOk;
}

} // namespace

int runLoan(const Args& args, std::ostream& out, std::ostream& err)
{
    std::string loanPath;
    std::string corPath;
    for (std::size_t k = 0; k < args.size(); ++k) {
        if (args[k] == "--cor" && k + 1 < args.size() && corPath.empty()) {
            corPath = args[++k];
        } else if (loanPath.empty() && !args[k].empty() && args[k][0] != '-') {
            loanPath = args[k];
        } else {
            err << "orvex-cli loan: argumento no válido: " << args[k] << "\n" << kLoanUsage;
            return kExitUsage;
        }
    }
    if (loanPath.empty()) {
        err << kLoanUsage;
        return kExitUsage;
    }

    LoanInput loan;
    try {
        loan = loadLoanFile(loanPath);
    } catch (const LoanFileError& e) {
        err << "orvex-cli loan: " << e.what() << "\n";
        return kExitUsage;
    }

    SharedState state;
    if (!corPath.empty()) {
        // As the variation table's "Salir" hands its rates over for the loan's term.
        std::size_t months = 0;
        try {
            months = static_cast<std::size_t>(loanMonths(loan.termText())) + 1;
        } catch (const CalcError&) {
            return calcFailure(err);
        }
        try {
            state.UvrVariations = variationsFromTexts(loadVariationFile(corPath, months));
        } catch (const LoanFileError& e) {
            err << "orvex-cli loan: " << e.what() << "\n";
            return kExitUsage;
        } catch (const CalcError&) {
            return calcFailure(err);
        }
    }

    try {
        runLoanCalculation(loan, state);
    } catch (const CalcError&) {
        return calcFailure(err);
    }
    return printSchedule(
        ScheduleSource::loan(loan.termText(), loan.rateText(), loan.enUvr), state, out, err);
}

int runSchedule(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        err << kScheduleUsage;
        return kExitUsage;
    }
    LoadedWorksheet loaded;
    try {
        loaded = loadWorksheetFile(args[0]);
    } catch (const FileError& e) {
        err << "orvex-cli schedule: " << e.what() << "\n";
        return kExitUsage;
    }
    if (loaded.rate)
        loaded.sheet.setRate(*loaded.rate);

    SharedState state;
    const CalcOutcome outcome = calculos(loaded.sheet, state);
    if (outcome.failed)
        return calcFailure(err);
    // A rate search leaves its result in the rate field, where the schedule reads it.
    const std::string rate = outcome.newRate ? *outcome.newRate : loaded.sheet.rate();
    return printSchedule(ScheduleSource::worksheet(rate), state, out, err);
}

} // namespace orvex::cli
