#include "cli/commands.h"
#include "cli/schedule_source.h"

#include "charts/chart_layout.h"
#include "charts/flow_diagram.h"
#include "charts/payment_plan.h"
#include "charts/svg_writer.h"
#include "common/calc_error.h"
#include "common/file_io.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>

namespace orvex::cli {
namespace {

// The window sizes the charts are laid out for, so a saved picture looks like the
// one on screen.
int width(ChartCanvas canvas) { return static_cast<int>(canvas.width); }
int height(ChartCanvas canvas) { return static_cast<int>(canvas.height); }

struct ChartArgs {
    std::string input;
    std::string output; // empty: standard output
    std::string cor; // the loan's variation table, when given
};

bool endsWith(const std::string& name, const char* suffix)
{
    const std::string wanted = suffix;
    if (name.size() < wanted.size())
        return false;
    std::string tail = name.substr(name.size() - wanted.size());
    std::transform(tail.begin(), tail.end(), tail.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == wanted;
}

// FILE [--cor FILE.cor] [-o OUT.svg]; anything else is a usage error reported on err.
std::optional<ChartArgs> parseChartArgs(
    const Args& args, const char* usage, bool acceptCor, std::ostream& err)
{
    ChartArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" && i + 1 < args.size() && parsed.output.empty()) {
            parsed.output = args[++i];
        } else if (acceptCor && a == "--cor" && i + 1 < args.size() && parsed.cor.empty()) {
            parsed.cor = args[++i];
        } else if (parsed.input.empty() && !a.empty() && a[0] != '-') {
            parsed.input = a;
        } else {
            err << "orvex-cli: argumento no válido: " << a << "\n" << usage;
            return std::nullopt;
        }
    }
    if (parsed.input.empty()) {
        err << usage;
        return std::nullopt;
    }
    if (!parsed.output.empty() && parsed.output != "-" && !endsWith(parsed.output, ".svg")) {
        err << "orvex-cli: solo se escriben dibujos SVG (.svg): " << parsed.output << "\n";
        return std::nullopt;
    }
    return parsed;
}

int writeSvg(
    const std::string& svg, const std::string& output, std::ostream& out, std::ostream& err)
{
    if (output.empty() || output == "-") {
        out << svg;
        return kExitOk;
    }
    try {
        writeFileAtomically(output, svg);
    } catch (const FileError& e) {
        err << "orvex-cli: " << e.what() << "\n";
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace

int runDiagram(const Args& args, std::ostream& out, std::ostream& err)
{
    const char* usage = "Uso: orvex-cli diagram ARCHIVO.ORV [-o SALIDA.svg]\n";
    const auto parsed = parseChartArgs(args, usage, false, err);
    if (!parsed)
        return kExitUsage;

    SharedState state;
    const auto calculated = calculateWorksheetFile(parsed->input, "diagram", state, err);
    if (!calculated)
        return kExitUsage;
    if (calculated->outcome.failed) {
        err << kCalcErrorMessage << "\n";
        return kExitCalcError;
    }
    std::string svg;
    try {
        svg = toSvg(flowDiagram(state), width(kFlowDiagramCanvas), height(kFlowDiagramCanvas));
    } catch (const CalcError&) {
        err << kCalcErrorMessage << "\n";
        return kExitCalcError;
    }
    return writeSvg(svg, parsed->output, out, err);
}

int runPlan(const Args& args, std::ostream& out, std::ostream& err)
{
    const char* usage = "Uso: orvex-cli plan ARCHIVO.upa [--cor ARCHIVO.cor] [-o SALIDA.svg]\n"
                        "     orvex-cli plan ARCHIVO.ORV [-o SALIDA.svg]\n";
    const auto parsed = parseChartArgs(args, usage, true, err);
    if (!parsed)
        return kExitUsage;
    const bool loan = endsWith(parsed->input, ".upa");
    if (!loan && !parsed->cor.empty()) {
        err << "orvex-cli plan: --cor solo acompaña a un préstamo (.upa)\n" << usage;
        return kExitUsage;
    }

    // The schedule leaves FirstPeriod and LastPeriod where the chart reads them.
    SharedState state;
    const LoadedSchedule loaded
        = loadSchedule({ loan, parsed->input, parsed->cor }, "plan", state, err);
    if (!loaded.table)
        return loaded.exitCode;
    PlanCurveMenu menu;
    menu.activate(); // all four curves, as a new window shows them
    const DisplayList chart
        = paymentPlan(loaded.table->rows, state.FirstPeriod, state.LastPeriod, menu.checks());
    return writeSvg(toSvg(chart, width(kPaymentPlanCanvas), height(kPaymentPlanCanvas)),
        parsed->output, out, err);
}

} // namespace orvex::cli
