#include "cli/commands.h"

#include "charts/flow_diagram.h"
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

struct ChartArgs {
    std::string input;
    std::string output; // empty: standard output
};

bool endsWithSvg(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string suffix = name.substr(name.size() - 4);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return suffix == ".svg";
}

// FILE [-o OUT.svg]; anything else is a usage error reported on err.
std::optional<ChartArgs> parseChartArgs(const Args& args, const char* usage, std::ostream& err)
{
    ChartArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" && i + 1 < args.size() && parsed.output.empty()) {
            parsed.output = args[++i];
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
    if (!parsed.output.empty() && parsed.output != "-" && !endsWithSvg(parsed.output)) {
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
    const auto parsed = parseChartArgs(args, usage, err);
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

} // namespace orvex::cli
