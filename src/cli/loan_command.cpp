#include "cli/commands.h"
#include "cli/schedule_source.h"

#include "loans/schedule.h"

#include <ostream>

namespace orvex::cli {
namespace {

constexpr const char* kLoanUsage = "Uso: orvex-cli loan ARCHIVO.upa [--cor ARCHIVO.cor]\n";
constexpr const char* kScheduleUsage = "Uso: orvex-cli schedule ARCHIVO.ORV\n";

int printSchedule(
    const ScheduleFiles& files, const char* command, std::ostream& out, std::ostream& err)
{
    SharedState state;
    const LoadedSchedule loaded = loadSchedule(files, command, state, err);
    if (!loaded.table)
        return loaded.exitCode;
    out << scheduleClipboardText(*loaded.table);
    return kExitOk;
}

} // namespace

int runLoan(const Args& args, std::ostream& out, std::ostream& err)
{
    ScheduleFiles files;
    files.loan = true;
    for (std::size_t k = 0; k < args.size(); ++k) {
        if (args[k] == "--cor" && k + 1 < args.size() && files.cor.empty()) {
            files.cor = args[++k];
        } else if (files.input.empty() && !args[k].empty() && args[k][0] != '-') {
            files.input = args[k];
        } else {
            err << "orvex-cli loan: argumento no válido: " << args[k] << "\n" << kLoanUsage;
            return kExitUsage;
        }
    }
    if (files.input.empty()) {
        err << kLoanUsage;
        return kExitUsage;
    }
    return printSchedule(files, "loan", out, err);
}

int runSchedule(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        err << kScheduleUsage;
        return kExitUsage;
    }
    return printSchedule({ false, args[0], {} }, "schedule", out, err);
}

} // namespace orvex::cli
