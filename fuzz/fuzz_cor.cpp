// A variation table (".cor") handed to the example loan of its folder: read for the
// loan's months, then the loan calculated with it, its schedule and payment plan.

#include "common/calc_error.h"
#include "fuzz_util.h"
#include "loans/loan.h"
#include "loans/loan_files.h"
#include "schedule_checks.h"

using namespace orvex;

namespace {

// examples/vivienda-uvr.upa, whose table examples/vivienda-uvr.cor is.
LoanInput exampleLoan(bool enUvr)
{
    LoanInput loan;
    loan.texts = { "120000000", "300", "24", "0.8", "0.4" };
    loan.system = PaymentSystem::UniformPayment;
    loan.enUvr = enUvr;
    return loan;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (bool enUvr : { false, true }) {
        const LoanInput loan = exampleLoan(enUvr);
        SharedState state;
        try {
            const auto months = static_cast<std::size_t>(loanMonths(loan.termText())) + 1;
            state.UvrVariations = variationsFromTexts(parseVariationTable(bytes, months));
            for (double v : *state.UvrVariations)
                fuzz::requireFinite(v, "UvrVariations");
            runLoanCalculation(loan, state);
        } catch (const LoanFileError&) {
            return 0;
        } catch (const CalcError&) {
            continue;
        }
        fuzz::showSchedule(
            ScheduleSource::loan(loan.termText(), loan.rateText(), loan.enUvr), state);
    }
    return 0;
}
