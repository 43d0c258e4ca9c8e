#include "worksheet/validation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace orvex {
namespace {

const std::string kUnico(kKindTexts[0]);
const std::string kUniforme(kKindTexts[1]);
const std::string kGeometrica(kKindTexts[3]);
const std::string kBadValue(kBadValueMessage);
const std::string kBadChar(kBadCharacterMessage);

TEST(Validation, ReportsTheFaultyCellOrNothing)
{
    struct Case {
        std::array<std::string, 6> row; // Tipo .. Sensibilidad
        int column; // 0: accepted
        std::string message;
    };
    const Case cases[] = { { { kUniforme, "1e3", "0", "5" }, 0, "" },
        { { kUniforme, " 12 ", "  3", "3 " }, 0, "" }, // start equal to end
        { { kUniforme, "Incognita", "*", "5" }, 0, "" },
        { { kUnico, "-1000", "7", "2" }, 0, "" }, // kind 1 ignores its end
        { { kGeometrica, "+.5", "-2", "10", "-3.25E-2", "abc" }, 0, "" }, // Sensibilidad free
        { { kUniforme, "1", "-32768", "32767" }, 0, "" }, // the widest periods
        { {}, 0, "" },
        // A series ending before it starts sends the user to its end, before any
        // character check of the same row.
        { { kUniforme, "100", "5", "3" }, kColFinal, kBadValue },
        { { kUniforme, "12a", "5", "3" }, kColFinal, kBadValue },
        { { kUniforme, "12a", "0", "5" }, kColValor, kBadChar },
        { { kUniforme, "12", "x", "5" }, kColInicio, kBadChar },
        { { kUniforme, "12", "1", "5x" }, kColFinal, kBadChar },
        { { kGeometrica, "12", "1", "5", "3%" }, kColPorcentaje, kBadChar },
        { { kUniforme, "1,5", "0", "5" }, kColValor, kBadChar },
        { { kUniforme, "1e", "0", "5" }, kColValor, kBadChar },
        { { kUniforme, "1e999", "0", "5" }, kColValor, kBadChar },
        { { kUniforme, "nan", "0", "5" }, kColValor, kBadChar },
        { { "", "abc" }, kColValor, kBadChar }, // leftovers of a kindless row too
        // Periods the calculation could not hold in 16 bits.
        { { kUniforme, "1", "40000", "50000" }, kColInicio, kBadValue },
        { { kUniforme, "1", "0", "32768" }, kColFinal, kBadValue },
        { { kUnico, "1", "1e300" }, kColInicio, kBadValue } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row[0] + "|" + c.row[1] + "|" + c.row[2] + "|" + c.row[3] + "|" + c.row[4]);
        Worksheet sheet;
        for (int col = kColTipo; col <= kColSensibilidad; ++col)
            sheet.setCell(12, col, c.row[col - 1]);
        const auto expected = c.column == 0
            ? std::nullopt
            : std::optional(ValidationFault { 12, c.column, c.message });
        EXPECT_EQ(validateWorksheet(sheet), expected);
    }
}

TEST(Validation, StopsAtTheFirstFaultyRow)
{
    Worksheet sheet;
    sheet.setCell(3, kColTipo, kUniforme);
    sheet.setCell(3, kColValor, "ok?");
    sheet.setCell(40, kColTipo, kUniforme);
    sheet.setCell(40, kColInicio, "9");
    sheet.setCell(40, kColFinal, "1");
    EXPECT_EQ(validateWorksheet(sheet), (ValidationFault { 3, kColValor, kBadChar }));
    sheet.setCell(3, kColValor, "7");
    EXPECT_EQ(validateWorksheet(sheet), (ValidationFault { 40, kColFinal, kBadValue }));
    sheet.setCell(40, kColFinal, "99");
    EXPECT_FALSE(validateWorksheet(sheet));
}

TEST(WorksheetFileCheck, OnlySavedWorksheetsAndEmptyFilesLoad)
{
    Worksheet sheet;
    sheet.setCell(4, kColTipo, kUniforme);
    sheet.setRate("Incognita");
    const std::pair<std::string, bool> cases[]
        = { { "", true }, // the open dialog's newly created file
              { serializeWorksheet(Worksheet {}), true },
              { serializeWorksheet(sheet).substr(0, 300), true }, // cut short: still read
              { "Hola, esto es una carta.\n", false }, { std::string(512, '\0'), false },
              { "tasa" + std::string(252, ' '), false } };
    for (const auto& [bytes, worksheet] : cases)
        EXPECT_EQ(isWorksheetFile(bytes), worksheet) << bytes.substr(0, 20);
}

} // namespace
} // namespace orvex
