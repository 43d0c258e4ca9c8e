#pragma once

#include <stdexcept>
#include <string>

namespace orvex {

// The report printer's one message for any failure of a print run.
inline constexpr const char* kPrintErrorMessage = "Error al imprimir...";
inline constexpr const char* kPrintErrorTitle = "IMPRESORA";

// A print run that cannot go on (a 21st picture, a 101st header line in one block, a
// device failure); what() says why, for logs and the command line.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace orvex
