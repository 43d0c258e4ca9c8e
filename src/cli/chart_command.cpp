#include "cli/commands.h"
#include "cli/schedule_source.h"

#include "charts/flow_diagram.h"
#include "charts/payment_plan.h"
#include "charts/svg_writer.h"
#include "common/calc_error.h"
#include "common/file_io.h"
#include "worksheet/calculation.h"
#include "worksheet/worksheet_file.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>

namespace orvex::cli {
namespace {

// The window sizes, so a saved picture looks like the one on screen.
constexpr int kDiagramWidth = 612;
constexpr int kDiagramHeight = 348;
constexpr int kPlanWidth = 487;
constexpr int kPlanHeight = 272;

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

    LoadedWorksheet loaded;
    try {
        loaded = loadWorksheetFile(parsed->input);
    } catch (const FileError& e) {
        err << "orvex-cli diagram: " << e.what() << "\n";
        return kExitUsage;
    }
    if (loaded.rate)
        loaded.sheet.setRate(*loaded.rate);

    SharedState state;
    if (calculos(loaded.sheet, state).failed) {
        err << kCalcErrorMessage << "\n";
        return kExitCalcError;
    }
    std::string svg;
    try {
        svg = toSvg(flowDiagram(state), kDiagramWidth, kDiagramHeight);
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
    return writeSvg(toSvg(chart, kPlanWidth, kPlanHeight), parsed->output, out, err);
}

} // namespace orvex::cli
