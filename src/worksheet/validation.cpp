#include "worksheet/validation.h"

#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"
#include "worksheet/cell_editing.h"

#include <array>
#include <cerrno>

namespace orvex {
namespace {

// A start or end period as the calculation reads it, or nullopt when it would
// overflow there (the calculation would only say "Error en cálculos").
std::optional<std::int16_t> period(const Worksheet& sheet, int row, int column)
{
    try {
        return toInt16(leadingNumber(sheet.cell(row, column)));
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

bool acceptableCell(const std::string& text)
{
    const std::string t = trim(text);
    if (t.empty() || t == "*" || t == kUnknownMarker)
        return true;
    if (!isNumericText(t))
        return false;
    try {
        leadingNumber(t);
        return true;
    } catch (const CalcError&) {
        return false;
    }
}

} // namespace

std::optional<ValidationFault> validateWorksheet(const Worksheet& sheet)
{
    constexpr std::array<int, 4> kChecked = { kColValor, kColInicio, kColFinal, kColPorcentaje };
    for (int row = 1; row <= kWorksheetRows; ++row) {
        const int kind = editingKind(sheet, row);
        if (kind >= 1) {
            const auto start = period(sheet, row, kColInicio);
            if (!start)
                return ValidationFault { row, kColInicio, kBadValueMessage };
            const auto end = kind > 1 ? period(sheet, row, kColFinal) : start;
            if (!end || *start > *end)
                return ValidationFault { row, kColFinal, kBadValueMessage };
        }
        for (int column : kChecked) {
            if (!acceptableCell(sheet.cell(row, column)))
                return ValidationFault { row, column, kBadCharacterMessage };
        }
    }
    return std::nullopt;
}

bool isWorksheetFile(std::string_view bytes)
{
    return bytes.empty() || bytes.substr(0, 4) == "TASA";
}

LoadedWorksheet openWorksheetFile(const std::string& path)
{
    const std::string bytes = readRegularFile(path, kWorksheetMaxBytes).bytes;
    if (!isWorksheetFile(bytes))
        throw FileError(
            EINVAL, "No es una hoja de trabajo \"" + path + "\": falta el registro TASA");
    return parseWorksheetFile(bytes);
}

} // namespace orvex
