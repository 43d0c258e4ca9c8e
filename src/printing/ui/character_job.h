#pragma once

#include "printing/print_run.h"

#include <QString>

namespace orvex {

class ProcessLauncher;

// The one-line command file that sends a character printer's file on.
inline constexpr const char* kCommandFile = "q.bat";

// ImprimirArchivo to the character printer: the bytes go to a temporary file named by
// temporaryTableName (in the current directory, or the system's temporary folder when that
// cannot hold it); kCommandFile beside it holds one line, "./Imprime FILE" when an
// executable Imprime is in the current directory, else "lp -o raw FILE", and runs to its
// end through launcher; then the temporary files are removed. False when the report does
// not exist. Throws PrintError (also when the command cannot start or fails), FileError.
bool printReportOnCharacterPrinter(ProcessLauncher& launcher, const std::string& report,
    const ReportParameters& parameters, const PrintSettings& settings, const PrintRange& range);

// The line of the command file for file (absolute paths, quoted for the shell).
QString characterPrinterCommand(ProcessLauncher& launcher, const QString& file);

} // namespace orvex
