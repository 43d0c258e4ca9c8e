#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// What a file named on the command line is, by its extension (either case): ".upa"
// a loan, ".cor" a variation table, anything else a worksheet, as "Abrir" takes any
// name.
enum class GivenFileKind { Worksheet, Loan, VariationTable };
GivenFileKind givenFileKind(std::string_view name);

// `orvex [ARCHIVO]`, the words after the program's name.
struct CommandLine {
    enum class Action { Start, Help, Version, Error };
    Action action = Action::Start;
    std::string file; // Start: the file to open, empty for none
    std::string error; // Error: why, in Spanish, for stderr
};

// --help (-h) and --version win wherever they stand before "--"; "--" makes the
// words after it file names; at most one file; any other word starting with "-"
// is an unknown option. Qt's own options must be taken out first.
CommandLine parseCommandLine(const std::vector<std::string>& words);

// The text of --help.
std::string commandLineUsage();

// Prints what the line asks for instead of starting (the help or the version on
// stdout, an error on stderr) and gives the exit status; nothing for Start.
std::optional<int> answerCommandLine(const CommandLine& line);

// Answers --help and --version from the raw words, before a display is needed;
// anything else (Qt's options among it) waits for the second reading.
std::optional<int> answerInfoOptions(const std::vector<std::string>& rawWords);

} // namespace orvex
