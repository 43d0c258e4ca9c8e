#include "worksheet/validation.h"

#include "common/file_io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

namespace orvex {
namespace {

struct RowText {
    std::string tipo, valor, inicio, final, pct, sens;
};

Worksheet sheetWithRow(int row, const RowText& r)
{
    Worksheet sheet;
    sheet.setCell(row, kColTipo, r.tipo);
    sheet.setCell(row, kColValor, r.valor);
    sheet.setCell(row, kColInicio, r.inicio);
    sheet.setCell(row, kColFinal, r.final);
    sheet.setCell(row, kColPorcentaje, r.pct);
    sheet.setCell(row, kColSensibilidad, r.sens);
    return sheet;
}

const std::string kUnico(kKindTexts[0]);
const std::string kUniforme(kKindTexts[1]);
const std::string kGeometrica(kKindTexts[3]);

TEST(Validation, AcceptsWhatTheUserMayType)
{
    const RowText rows[] = {
        { kUniforme, "1e3", "0", "5", "", "" },
        { kUniforme, " 12 ", "  3", "3 ", "", "" },       // start equal to end
        { kUniforme, "Incognita", "0", "5", "", "" },
        { kUniforme, "*", "*", "5", "", "" },             // "*" is taken as 0 later
        { kUnico, "-1000", "7", "2", "", "" },            // kind 1 ignores its end
        { kGeometrica, "+.5", "-2", "10", "-3.25E-2", "abc" }, // Sensibilidad unchecked
        { "", "", "", "", "", "" },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.tipo + "|" + r.valor + "|" + r.inicio + "|" + r.final + "|" + r.pct);
        EXPECT_FALSE(validateWorksheet(sheetWithRow(5, r)).has_value());
    }
}

TEST(Validation, ReportsTheFaultyCell)
{
    struct Case {
        RowText row;
        int column;
        std::string message;
    };
    const Case cases[] = {
        // A series ending before it starts: the user is sent to its end.
        { { kUniforme, "100", "5", "3", "", "" }, kColFinal, kBadValueMessage },
        // The order check comes before the character check of the same row.
        { { kUniforme, "12a", "5", "3", "", "" }, kColFinal, kBadValueMessage },
        { { kUniforme, "12a", "0", "5", "", "" }, kColValor, kBadCharacterMessage },
        { { kUniforme, "12", "x", "5", "", "" }, kColInicio, kBadCharacterMessage },
        { { kUniforme, "12", "1", "5x", "", "" }, kColFinal, kBadCharacterMessage },
        { { kGeometrica, "12", "1", "5", "3%", "" }, kColPorcentaje, kBadCharacterMessage },
        { { kUniforme, "1,5", "0", "5", "", "" }, kColValor, kBadCharacterMessage },
        { { kUniforme, "1e", "0", "5", "", "" }, kColValor, kBadCharacterMessage },
        { { kUniforme, "1e999", "0", "5", "", "" }, kColValor, kBadCharacterMessage },
        { { kUniforme, "nan", "0", "5", "", "" }, kColValor, kBadCharacterMessage },
        // Leftovers in a row without kind are checked too.
        { { "", "abc", "", "", "", "" }, kColValor, kBadCharacterMessage },
        // Periods the calculation could not hold in 16 bits.
        { { kUniforme, "1", "40000", "50000", "", "" }, kColInicio, kBadValueMessage },
        { { kUniforme, "1", "0", "32768", "", "" }, kColFinal, kBadValueMessage },
        { { kUnico, "1", "1e300", "", "", "" }, kColInicio, kBadValueMessage },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row.valor + "|" + c.row.inicio + "|" + c.row.final + "|" + c.row.pct);
        const auto fault = validateWorksheet(sheetWithRow(12, c.row));
        ASSERT_TRUE(fault.has_value());
        EXPECT_EQ(*fault, (ValidationFault { 12, c.column, c.message }));
    }
}

TEST(Validation, LargestPeriodsStillFit)
{
    const auto sheet = sheetWithRow(1, { kUniforme, "1", "-32768", "32767", "", "" });
    EXPECT_FALSE(validateWorksheet(sheet).has_value());
}

TEST(Validation, StopsAtTheFirstFaultyRow)
{
    Worksheet sheet;
    sheet.setCell(3, kColTipo, kUniforme);
    sheet.setCell(3, kColValor, "ok?");
    sheet.setCell(40, kColTipo, kUniforme);
    sheet.setCell(40, kColInicio, "9");
    sheet.setCell(40, kColFinal, "1");
    auto fault = validateWorksheet(sheet);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->row, 3);
    sheet.setCell(3, kColValor, "7");
    fault = validateWorksheet(sheet);
    ASSERT_TRUE(fault);
    EXPECT_EQ(*fault, (ValidationFault { 40, kColFinal, kBadValueMessage }));
    sheet.setCell(40, kColFinal, "99");
    EXPECT_FALSE(validateWorksheet(sheet));
}

TEST(WorksheetFileCheck, OnlySavedWorksheetsAndEmptyFilesLoad)
{
    Worksheet sheet;
    sheet.setCell(4, kColTipo, kUniforme);
    sheet.setCell(4, kColValor, "250");
    sheet.setRate("Incognita");
    struct Case {
        std::string bytes;
        bool worksheet;
    };
    const Case cases[] = {
        { "", true }, // the open dialog's newly created file
        { serializeWorksheet(Worksheet {}), true },
        { serializeWorksheet(sheet), true },
        { serializeWorksheet(sheet).substr(0, 300), true }, // cut short: still read
        { "Hola, esto es una carta.\n", false },
        { std::string(512, '\0'), false },
        { "tasa" + std::string(252, ' '), false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 20));
        EXPECT_EQ(isWorksheetFile(c.bytes), c.worksheet);
    }
}

TEST(WorksheetFileCheck, OpeningRefusesOtherFilesAndReadsWorksheets)
{
    const auto dir = std::filesystem::temp_directory_path() / "orvex_validation_test";
    std::filesystem::create_directories(dir);
    const std::string letter = (dir / "carta.txt").string();
    const std::string hoja = (dir / "HOJA.ORV").string();
    writeFileAtomically(letter, "Querido amigo:\n");
    Worksheet sheet;
    sheet.setCell(4, kColTipo, kUniforme);
    sheet.setCell(4, kColValor, "250");
    sheet.setRate("7");
    writeFileAtomically(hoja, serializeWorksheet(sheet));

    try {
        openWorksheetFile(letter);
        ADD_FAILURE() << "a letter was read as a worksheet";
    } catch (const FileError& e) {
        EXPECT_EQ(e.number(), EINVAL);
        EXPECT_NE(std::string(e.what()).find(letter), std::string::npos);
    }
    const LoadedWorksheet loaded = openWorksheetFile(hoja);
    EXPECT_EQ(loaded.rate, std::optional<std::string>("7"));
    EXPECT_EQ(loaded.sheet.cell(1, kColValor), "250"); // packed from row 1
    EXPECT_THROW(openWorksheetFile((dir / "missing.ORV").string()), FileError);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace orvex
