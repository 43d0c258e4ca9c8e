// A worksheet file (".ORV"): loaded, calculated as "Cálculos" does it, then its
// cash-flow diagram and its schedule with the payment plan.

#include "fuzz_util.h"
#include "schedule_checks.h"
#include "worksheet/calculation.h"
#include "worksheet/worksheet_file.h"

using namespace orvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LoadedWorksheet loaded = parseWorksheetFile({ reinterpret_cast<const char*>(data), size });
    if (loaded.rate)
        loaded.sheet.setRate(*loaded.rate);
    SharedState state;
    const CalcOutcome outcome = calculos(loaded.sheet, state);
    if (outcome.respuesta)
        fuzz::requireFiniteText(*outcome.respuesta, "Respuesta");
    if (outcome.newRate)
        fuzz::requireFiniteText(*outcome.newRate, "Interes");
    if (outcome.evaluation) {
        fuzz::requireFiniteText(outcome.evaluation->vpn, "VPN");
        fuzz::requireFiniteText(outcome.evaluation->bc, "B/C");
        fuzz::requireFiniteText(outcome.evaluation->tir, "TIR");
    }
    if (outcome.failed)
        return 0;
    fuzz::showFlowDiagram(state);
    fuzz::showSchedule(
        ScheduleSource::worksheet(outcome.newRate ? *outcome.newRate : loaded.sheet.rate()), state);
    return 0;
}
