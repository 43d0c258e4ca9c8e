#include "cli/commands.h"
#include "cli/schedule_source.h"

#include "common/calc_error.h"

#include <charconv>
#include <ostream>

namespace orvex::cli {
namespace {

// Every digit of the flow, with "." whatever the locale.
std::string g17(double x)
{
    char buf[40];
    const auto result = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 17);
    return std::string(buf, result.ptr);
}

void printFlows(const SharedState& state, std::ostream& out)
{
    if (!state.hasFlows())
        return;
    out << "FirstPeriod\t" << state.FirstPeriod << "\n";
    out << "LastPeriod\t" << state.LastPeriod << "\n";
    const auto& in = *state.PeriodInflows;
    const auto& outflows = *state.PeriodOutflows;
    const auto& net = *state.PeriodNetFlows;
    for (std::size_t k = 0; k < net.size(); ++k) {
        out << state.FirstPeriod + static_cast<long>(k) << "\t" << g17(in[k]) << "\t"
            << g17(outflows[k]) << "\t" << g17(net[k]) << "\n";
    }
}

} // namespace

int runCalc(const Args& args, std::ostream& out, std::ostream& err)
{
    std::string path;
    bool flows = false;
    for (const auto& a : args) {
        if (a == "--flows")
            flows = true;
        else if (path.empty() && !a.empty() && a[0] != '-')
            path = a;
        else {
            err << "orvex-cli calc: argumento no válido: " << a << "\n"
                << "Uso: orvex-cli calc ARCHIVO.ORV [--flows]\n";
            return kExitUsage;
        }
    }
    if (path.empty()) {
        err << "Uso: orvex-cli calc ARCHIVO.ORV [--flows]\n";
        return kExitUsage;
    }

    SharedState state;
    const auto calculated = calculateWorksheetFile(path, "calc", state, err);
    if (!calculated)
        return kExitUsage;
    const CalcOutcome& outcome = calculated->outcome;
    if (outcome.comentario && outcome.respuesta)
        out << *outcome.comentario << "\t" << *outcome.respuesta << "\n";
    if (outcome.newRate)
        out << "Interes\t" << *outcome.newRate << "\n";
    if (outcome.evaluation) {
        out << kLabelVpn << "\t" << outcome.evaluation->vpn << "\n";
        out << kLabelBc << "\t" << outcome.evaluation->bc << "\n";
        out << kLabelTir << "\t" << outcome.evaluation->tir << "\n";
    }
    if (flows)
        printFlows(state, out);
    if (outcome.failed) {
        out.flush();
        err << kCalcErrorMessage << "\n";
        return kExitCalcError;
    }
    return kExitOk;
}

} // namespace orvex::cli
