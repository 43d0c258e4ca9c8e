// A loan file (".upa"): loaded, calculated as the loan window's "Cálculos" does it,
// then its schedule and payment plan, in pesos and in UVR.

#include "common/calc_error.h"
#include "fuzz_util.h"
#include "loans/loan.h"
#include "loans/loan_files.h"
#include "schedule_checks.h"

using namespace orvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LoanInput loan;
    try {
        loan = parseLoanRecord({ reinterpret_cast<const char*>(data), size });
    } catch (const LoanFileError&) {
        return 0;
    }
    SharedState state;
    try {
        runLoanCalculation(loan, state);
    } catch (const CalcError&) {
        return 0;
    }
    fuzz::showSchedule(ScheduleSource::loan(loan.termText(), loan.rateText(), loan.enUvr), state);
    return 0;
}
