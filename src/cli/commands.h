#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orvex::cli {

// Exit codes of orvex-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitCalcError = 1; // the program's own error message
inline constexpr int kExitUsage = 2; // bad arguments or an unreadable file

using Args = std::vector<std::string>;

// One function per subcommand: args are the words after the subcommand's name.
int runCalc(const Args& args, std::ostream& out, std::ostream& err);
int runDiagram(const Args& args, std::ostream& out, std::ostream& err);
int runPlan(const Args& args, std::ostream& out, std::ostream& err);
int runRate(const Args& args, std::ostream& out, std::ostream& err);
int runCombined(const Args& args, std::ostream& out, std::ostream& err);
int runLoan(const Args& args, std::ostream& out, std::ostream& err);
int runSchedule(const Args& args, std::ostream& out, std::ostream& err);
int runTable(const Args& args, std::ostream& out, std::ostream& err);
int runReport(const Args& args, std::ostream& out, std::ostream& err);

} // namespace orvex::cli
