#include "cli/commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

namespace orvex::cli {
namespace {

using Command = int (*)(const Args&, std::ostream&, std::ostream&);

// The exit code, standard output and standard error, joined by "|".
std::string run(Command command, const Args& args)
{
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return std::to_string(code) + "|" + out.str() + "|" + err.str();
}

// Exit code 2, nothing on standard output, the problem and the command's usage on error.
bool isUsageError(const std::string& outcome, const std::string& command)
{
    return outcome.starts_with("2||orvex-cli: ")
        && outcome.find("\nUso: orvex-cli " + command + " ") != std::string::npos;
}

const std::string kCalcFailed = "1||Error en cálculos, revise la información digitada...\n";

TEST(RateCommand, PrintsTheRateOrTheProgramsMessage)
{
    // The figures are the core's; these rows check how arguments and outcomes travel.
    const std::pair<Args, std::string> cases[] = {
        { { "24", "NV:Año/Mes", "EV:Año" }, "0|26.8241794563\n|" },
        // Case-insensitive names, "Ano" for "Año"; an omitted reference is the year.
        { { "24", "nv:AÑO/mes", "ev:ano" }, "0|26.8241794563\n|" },
        { { "24", "NV:Mes", "EV:Año" }, "0|26.8241794563\n|" },
        // The value is read like the window's field: its leading number, else 0.
        { { "12%", "EV:Año", "EV:Mes" }, "0|0.9488792935\n|" },
        { { "12", "NV:Mes/Año", "EV:Año" },
            "1||Ha cometido un Error en la definición de Periodos\n" },
        { { "1e999", "EV:Año", "EV:Mes" }, kCalcFailed },
    };
    for (const auto& [args, expected] : cases)
        EXPECT_EQ(run(runRate, args), expected) << ::testing::PrintToString(args);
}

TEST(RateCommand, BadArgumentsExitTwoWithUsage)
{
    const Args cases[] = { {}, { "24", "NV:Año/Mes" }, { "24", "NV:Año/Mes", "EV:Año", "extra" },
        { "24", "XX:Año/Mes", "EV:Año" }, { "24", "NV:Año/Semana", "EV:Año" },
        { "24", "NV:Semana/Mes", "EV:Año" }, { "24", "NV", "EV:Año" }, { "24", "NV:", "EV:Año" },
        { "24", "NV:Año/", "EV:Año" }, { "24", "NV:Año/Mes/Mes", "EV:Año" },
        { "24", "NV:Año/Mes", "EVAño" } };
    for (const Args& args : cases)
        EXPECT_TRUE(isUsageError(run(runRate, args), "rate")) << ::testing::PrintToString(args);
}

TEST(CombinedCommand, PrintsTheCombinedRateOrTheProgramsMessage)
{
    EXPECT_EQ(run(runCombined, { "10", "5" }), "0|15.5\n|");
    EXPECT_EQ(run(runCombined, { "1e200", "1e200" }), kCalcFailed);
    for (const Args& bad : { Args {}, Args { "10" }, Args { "1", "2", "3" } })
        EXPECT_TRUE(isUsageError(run(runCombined, bad), "combined"))
            << ::testing::PrintToString(bad);
}

} // namespace
} // namespace orvex::cli
