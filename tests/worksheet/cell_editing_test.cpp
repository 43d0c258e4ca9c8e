#include "worksheet/cell_editing.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace orvex {
namespace {

const std::string kPagoUnico(kKindTexts[0]);
const std::string kUniforme(kKindTexts[1]);
const std::string kGeometrica(kKindTexts[3]);

TEST(EditableCells, FollowTheKindOfTheRow)
{
    // One mark per column 0..6, "x" where editable; kinds 0 and 7 mean "no kind".
    const std::pair<int, std::string_view> rows[] = { { 0, "......x" }, { 1, "..xx..x" },
        { 2, "..xxx.x" }, { 3, "..xxx.x" }, { 4, "..xxxxx" }, { 5, "..xxxxx" }, { 7, "......x" } };
    for (const auto& [kind, marks] : rows) {
        for (int c = 0; c <= kColSensibilidad; ++c)
            EXPECT_EQ(isEditableCell(kind, c), marks[c] == 'x') << kind << " column " << c;
    }
}

TEST(EditingKind, ReadsTheNumberBeforeTheDot)
{
    const std::pair<std::string, int> rows[] = {
        { "", 0 }, { std::string(kKindTexts[2]), 3 }, { std::string(kKindTexts[4]), 5 },
        { "9. Otro", 0 }, { "sin punto", 0 },
        { "99999999. Demasiado", 0 }, // would overflow 16 bits
    };
    for (const auto& [tipo, kind] : rows) {
        Worksheet sheet;
        sheet.setCell(4, kColTipo, tipo);
        EXPECT_EQ(editingKind(sheet, 4), kind) << tipo;
    }
}

TEST(CellReaction, ShowsTheControlOrSendsBackToTipo)
{
    // Row 2 holds Incognita in Valor and Inicio, "v4".."v6" beyond. A kindless row loses
    // columns 2..6 when its Tipo or a locked cell is reached, not from Sensibilidad.
    using enum CellEditor;
    struct Row {
        std::string kind;
        int column;
        CellEditor editor;
        int columnAfter;
        std::string text; // the edit text, or the kind list's prefix
        bool cleared = false;
    };
    const Row rows[] = { { kPagoUnico, kColTipo, KindList, kColTipo, kPagoUnico },
        { kPagoUnico, kColValor, EditBox, kColValor, "*" }, // the unknown's short form
        { kPagoUnico, kColInicio, EditBox, kColInicio, "Incognita" },
        { kPagoUnico, kColFinal, None, kColTipo, "" },
        { kUniforme, kColFinal, EditBox, kColFinal, "v4" },
        { kUniforme, kColPorcentaje, None, kColTipo, "" },
        { kGeometrica, kColPorcentaje, EditBox, kColPorcentaje, "v5" },
        { kUniforme, 0, None, kColTipo, "" }, // the numbering column
        { "", kColTipo, KindList, kColTipo, "", true }, { "", kColValor, None, kColTipo, "", true },
        { "", kColSensibilidad, EditBox, kColSensibilidad, "v6" } };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind + " column " + std::to_string(r.column));
        Worksheet sheet;
        sheet.setCell(2, kColTipo, r.kind);
        for (int c = kColValor; c <= kColSensibilidad; ++c)
            sheet.setCell(2, c, c <= kColInicio ? "Incognita" : "v" + std::to_string(c));
        sheet.setCell(3, kColValor, "other row");
        const auto result = cellReaction(sheet, { 2, r.column });
        EXPECT_EQ(result.editor, r.editor);
        EXPECT_EQ(result.column, r.columnAfter);
        EXPECT_EQ(r.editor == KindList ? result.kindPrefix : result.editText, r.text);
        EXPECT_EQ(result.rowCleared, r.cleared);
        for (int c = kColValor; c <= kColSensibilidad; ++c)
            EXPECT_EQ(sheet.cell(2, c).empty(), r.cleared) << c;
        EXPECT_EQ(sheet.cell(3, kColValor), "other row");
    }
}

TEST(MoveOn, WalksTheRowsAndStopsAtTheLast)
{
    const std::pair<CellPos, CellPos> rows[]
        = { { { 1, 1 }, { 1, 2 } }, { { 1, 5 }, { 1, 6 } }, { { 1, 6 }, { 2, 1 } },
              { { 98, 6 }, { 99, 1 } }, { { 99, 6 }, { 99, 1 } }, { { 5, 0 }, { 5, 1 } } };
    for (const auto& [from, to] : rows)
        EXPECT_EQ(moveOn(from), to) << from.row << "," << from.column;
}

TEST(TypingStart, OnlyDigitsMinusAndStar)
{
    for (char32_t c = 0; c < 128; ++c) {
        const bool expected = c == U'-' || c == U'*' || (c >= U'0' && c <= U'9');
        EXPECT_EQ(startsTyping(c), expected) << static_cast<int>(c);
    }
    EXPECT_FALSE(startsTyping(U'é'));
}

TEST(UnknownMarker, StarAndIncognitaSwapOnlyWhereTheyShould)
{
    const std::tuple<int, std::string, std::string> rows[]
        = { { kColValor, "*", "Incognita" }, { kColValor, "12*", "12*" }, // kept as typed
              { kColValor, "**", "**" }, { kColInicio, "*", "*" }, { kColValor, "100", "100" } };
    for (const auto& [column, edit, stored] : rows)
        EXPECT_EQ(cellTextFromEdit(column, edit), stored) << edit;
    // What the edit box shows goes back to the same cell text.
    for (const std::string text : { "Incognita", "12", "" })
        EXPECT_EQ(cellTextFromEdit(kColValor, editTextForCell(kColValor, text)), text);

    EXPECT_EQ(rateTextOnFocusIn("Incognita"), "*");
    EXPECT_EQ(rateTextOnFocusIn("Incognita "), "Incognita ");
    EXPECT_EQ(rateTextOnFocusOut("*"), "Incognita");
    EXPECT_EQ(rateTextOnFocusOut("*5"), "*5");
    EXPECT_EQ(rateTextOnFocusOut(rateTextOnFocusIn("10")), "10");
}

TEST(KindText, NumbersAndBeginningsOfKindTexts)
{
    const std::pair<std::string, std::string> rows[] = {
        // second: the kind, "" for none
        { "1", kPagoUnico }, { " 2 ", kUniforme }, { "2.0", kUniforme },
        { "5", std::string(kKindTexts[4]) }, { "0", "" }, { "6", "" }, { "2.5", "" },
        { "3. Serie Gradiente Aritmética", std::string(kKindTexts[2]) },
        { "4. serie gradiente", kGeometrica }, { "Serie Uniforme", "" }, { "", "" },
        { "1e400", "" } // beyond a double: no kind, and no error out of a paste
    };
    for (const auto& [text, kind] : rows)
        EXPECT_EQ(std::string(kindTextFor(text).value_or("")), kind) << text;
}

TEST(Paste, BlockLandsFromTheCurrentCellAndOverflowIsDropped)
{
    struct Case {
        CellPos from;
        std::string clipboard;
        std::vector<std::tuple<int, int, std::string>> cells; // expected afterwards
        int written, lastRow;
    };
    const Case cases[] = { { { 2, kColTipo }, "1\t-1000\t0\r\n2\t*\t0\t5\r\n",
                               { { 2, 1, kPagoUnico }, { 2, 2, "-1000" }, { 2, 3, "0" },
                                   { 3, 1, kUniforme }, { 3, 2, "Incognita" }, { 3, 4, "5" },
                                   { 3, 5, "" }, { 4, 1, "" }, { 1, 1, kUniforme } },
                               7, 3 },
        { { 98, kColPorcentaje }, "a\tb\tc\td\ne\tf\tg\nh\ti\n",
            { { 98, 5, "a" }, { 98, 6, "b" }, { 99, 5, "e" }, { 99, 6, "f" },
                { 99, 1, kPagoUnico } }, // nothing wrapped round
            4, 99 },
        // An unknown kind empties Tipo; a start in column 0 pastes from Tipo.
        { { 1, 0 }, "nada\t5", { { 1, 1, "" }, { 1, 2, "5" } }, 2, 1 },
        { { 1, kColValor }, "", { { 1, 2, "x" } }, 0, 0 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clipboard);
        Worksheet sheet;
        sheet.setCell(1, kColTipo, kUniforme);
        sheet.setCell(1, kColValor, "x");
        sheet.setCell(99, kColTipo, kPagoUnico);
        const auto result = pasteText(sheet, c.from, c.clipboard);
        for (const auto& [row, column, text] : c.cells)
            EXPECT_EQ(sheet.cell(row, column), text) << row << "," << column;
        EXPECT_EQ(result.cellsWritten, c.written);
        EXPECT_EQ(result.lastRow, c.lastRow);
    }
}

} // namespace
} // namespace orvex
