#pragma once

#include "worksheet/worksheet.h"
#include "worksheet/worksheet_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvex {

inline constexpr const char* kBadValueMessage = "Valor mal digitado...";
inline constexpr const char* kBadCharacterMessage = "Caracter NO Válido...";

// The first fault that keeps a worksheet from being saved: the cell the user is
// sent back to and the message ("Valor mal digitado..." or "Caracter NO Válido...").
struct ValidationFault {
    int row = 0;
    int column = 0;
    std::string message;
    friend bool operator==(const ValidationFault&, const ValidationFault&) = default;
};

// Checks rows 1..99 in order. A series row (kind 2..5) must start no later than it
// ends; "Valor", "Inicio", "Final" and "%" must each be empty, "*", "Incognita" or
// a number ("." decimal point, sign, exponent, surrounding blanks). A number too
// large for a double, and a used row's start (or a series' end) beyond the 16-bit
// range, are refused too: the calculation could not read them.
std::optional<ValidationFault> validateWorksheet(const Worksheet& sheet);

// Whether bytes can be a worksheet file: empty (a file just created), or starting
// with the "TASA" header record that every saved worksheet has.
bool isWorksheetFile(std::string_view bytes);

// Reads a worksheet file for the window; throws FileError when it cannot be read
// or is not a worksheet (EINVAL), so that no other file fills the grid with noise.
LoadedWorksheet openWorksheetFile(const std::string& path);

} // namespace orvex
