#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// Grid columns; column 0 is the fixed numbering column.
enum Column : int {
    kColTipo = 1,
    kColValor = 2,
    kColInicio = 3,
    kColFinal = 4,
    kColPorcentaje = 5,
    kColSensibilidad = 6,
};

inline constexpr int kWorksheetRows = 99;
inline constexpr int kWorksheetColumns = 6;

// The kinds of row (`SeriesType`), numbered 1 to 5 as in the kind list.
enum class SeriesType : std::int16_t {
    PagoUnico = 1,
    SerieUniforme = 2,
    GradienteAritmetico = 3,
    GradienteGeometrico = 4,
    UniformeAnualCrecGeometrico = 5,
};

// The kind list texts in order (the list shows an empty entry before them).
inline constexpr std::array<std::string_view, 5> kKindTexts = {
    "1. Pago Unico",
    "2. Serie Uniforme",
    "3. Serie Gradiente Aritmética",
    "4. Serie Gradiente Geométrica",
    "5. Serie Uniforme anual con crec. Geométrico",
};

inline constexpr std::array<std::string_view, 7> kColumnHeaders = {
    "No.",
    "Tipo",
    "Valor",
    "Inicio",
    "Final",
    "%",
    "Sensibilidad (%)",
};

// Characters per column for ColumnWidthTwips, and the grid font size.
inline constexpr std::array<int, 7> kColumnCharacters = { 3, 30, 10, 4, 4, 4, 10 };
inline constexpr double kGridFontPoints = 8.25;
// Characters a cell keeps: "99", the longest kind text, then the widths of the
// worksheet file's fields.
inline constexpr std::array<int, 7> kColumnFieldWidths = { 2, 44, 15, 7, 7, 15, 7 };

inline constexpr std::string_view kUnknownMarker = "Incognita";

// The worksheet as the user typed it: 99 rows of six text cells and the rate text.
class Worksheet {
public:
    // row 1..99, column 1..6; anything else reads as empty and ignores writes.
    const std::string& cell(int row, int column) const;
    void setCell(int row, int column, std::string text);

    const std::string& rate() const { return m_rate; }
    void setRate(std::string text) { m_rate = std::move(text); }

    // A row is in use when its "Tipo" cell, trimmed, is not empty.
    bool rowInUse(int row) const;

    // The row's kind number: the leading number of the "Tipo" text before its
    // first "." (0 without a "."); throws CalcError on a 16-bit overflow.
    std::int16_t rowKind(int row) const;

    // Empties columns first..last of a row.
    void clearRow(int row, int first = kColTipo, int last = kColSensibilidad);
    // Empties every cell and the rate.
    void clear();

private:
    std::array<std::array<std::string, kWorksheetColumns>, kWorksheetRows> m_cells;
    std::string m_rate;
};

// An amount text marks the unknown when it is exactly "Incognita" or holds a "*".
bool isUnknownAmount(std::string_view valor);

// The list text of a kind number 1..5, or nullopt.
std::optional<std::string_view> kindText(int kind);

} // namespace orvex
