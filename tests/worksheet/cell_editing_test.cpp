#include "worksheet/cell_editing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvex {
namespace {

const std::string kUniforme(kKindTexts[1]);
const std::string kPagoUnico(kKindTexts[0]);

Worksheet rowOfKind(int row, const std::string& kind)
{
    Worksheet sheet;
    sheet.setCell(row, kColTipo, kind);
    for (int c = kColValor; c <= kColSensibilidad; ++c)
        sheet.setCell(row, c, "v" + std::to_string(c));
    return sheet;
}

TEST(EditableCells, FollowTheKindOfTheRow)
{
    // Columns Valor, Inicio, Final, %, Sensibilidad for each kind (0 = no kind).
    struct Row {
        int kind;
        bool valor, inicio, final, pct, sens;
    };
    const Row rows[] = {
        { 0, false, false, false, false, true },
        { 1, true, true, false, false, true },
        { 2, true, true, true, false, true },
        { 3, true, true, true, false, true },
        { 4, true, true, true, true, true },
        { 5, true, true, true, true, true },
        { 7, false, false, false, false, true }, // no such kind: treated as none
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind);
        EXPECT_FALSE(isEditableCell(r.kind, 0));
        EXPECT_FALSE(isEditableCell(r.kind, kColTipo)); // edited through the kind list
        EXPECT_EQ(isEditableCell(r.kind, kColValor), r.valor);
        EXPECT_EQ(isEditableCell(r.kind, kColInicio), r.inicio);
        EXPECT_EQ(isEditableCell(r.kind, kColFinal), r.final);
        EXPECT_EQ(isEditableCell(r.kind, kColPorcentaje), r.pct);
        EXPECT_EQ(isEditableCell(r.kind, kColSensibilidad), r.sens);
    }
}

TEST(EditingKind, ReadsTheNumberBeforeTheDot)
{
    struct Row {
        std::string tipo;
        int kind;
    };
    const Row rows[] = {
        { "", 0 },
        { std::string(kKindTexts[2]), 3 },
        { std::string(kKindTexts[4]), 5 },
        { "9. Otro", 0 },
        { "99999999. Demasiado", 0 }, // would overflow 16 bits
        { "sin punto", 0 },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.tipo);
        Worksheet sheet;
        sheet.setCell(4, kColTipo, r.tipo);
        EXPECT_EQ(editingKind(sheet, 4), r.kind);
    }
}

TEST(CellReaction, ShowsTheRightControlOrSendsBackToTipo)
{
    struct Row {
        std::string kind;
        int column;
        CellEditor editor;
        int columnAfter;
    };
    const Row rows[] = {
        { kPagoUnico, kColTipo, CellEditor::KindList, kColTipo },
        { kPagoUnico, kColValor, CellEditor::EditBox, kColValor },
        { kPagoUnico, kColInicio, CellEditor::EditBox, kColInicio },
        // Final of a single payment jumps back to the kind, with no control shown.
        { kPagoUnico, kColFinal, CellEditor::None, kColTipo },
        { kPagoUnico, kColPorcentaje, CellEditor::None, kColTipo },
        { kUniforme, kColFinal, CellEditor::EditBox, kColFinal },
        { kUniforme, kColPorcentaje, CellEditor::None, kColTipo },
        { std::string(kKindTexts[3]), kColPorcentaje, CellEditor::EditBox, kColPorcentaje },
        { kUniforme, 0, CellEditor::None, kColTipo }, // the numbering column
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind + " column " + std::to_string(r.column));
        Worksheet sheet = rowOfKind(2, r.kind);
        const auto result = cellReaction(sheet, { 2, r.column });
        EXPECT_EQ(result.editor, r.editor);
        EXPECT_EQ(result.column, r.columnAfter);
        EXPECT_FALSE(result.rowCleared);
        if (r.editor == CellEditor::EditBox) {
            EXPECT_EQ(result.editText, "v" + std::to_string(r.column));
        }
        if (r.editor == CellEditor::KindList) {
            EXPECT_EQ(result.kindPrefix, r.kind);
        }
        EXPECT_EQ(sheet.cell(2, kColValor), "v2"); // a row with a kind keeps its values
    }
}

TEST(CellReaction, RowWithoutKindLosesItsValues)
{
    // Every locked cell of a kindless row and its Tipo cell wipe columns 2..6;
    // Sensibilidad stays editable for it and wipes nothing.
    struct Row {
        int column;
        bool cleared;
        CellEditor editor;
    };
    const Row rows[] = {
        { kColTipo, true, CellEditor::KindList },
        { kColValor, true, CellEditor::None },
        { kColFinal, true, CellEditor::None },
        { kColPorcentaje, true, CellEditor::None },
        { kColSensibilidad, false, CellEditor::EditBox },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.column);
        Worksheet sheet = rowOfKind(7, "");
        sheet.setCell(8, kColValor, "other row");
        const auto result = cellReaction(sheet, { 7, r.column });
        EXPECT_EQ(result.rowCleared, r.cleared);
        EXPECT_EQ(result.editor, r.editor);
        for (int c = kColValor; c <= kColSensibilidad; ++c)
            EXPECT_EQ(sheet.cell(7, c).empty(), r.cleared) << c;
        EXPECT_EQ(sheet.cell(8, kColValor), "other row");
    }
}

TEST(CellReaction, UnknownShowsInItsShortFormOnlyInValor)
{
    Worksheet sheet = rowOfKind(1, kUniforme);
    sheet.setCell(1, kColValor, "Incognita");
    sheet.setCell(1, kColInicio, "Incognita");
    EXPECT_EQ(cellReaction(sheet, { 1, kColValor }).editText, "*");
    EXPECT_EQ(cellReaction(sheet, { 1, kColInicio }).editText, "Incognita");
}

TEST(MoveOn, WalksTheRowsAndStopsAtTheLast)
{
    struct Row {
        CellPos from, to;
    };
    const Row rows[] = {
        { { 1, 1 }, { 1, 2 } },
        { { 1, 5 }, { 1, 6 } },
        { { 1, 6 }, { 2, 1 } },
        { { 98, 6 }, { 99, 1 } },
        { { 99, 6 }, { 99, 1 } },
        { { 5, 0 }, { 5, 1 } },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.from.row) + "," + std::to_string(r.from.column));
        EXPECT_EQ(moveOn(r.from), r.to);
    }
}

TEST(MoveOn, EnterWalkThroughASingleRowVisitsOnlyEditableCells)
{
    // Enter plus the cell reaction, as the window chains them, on a kind-1 row:
    // Tipo, Valor, Inicio, then Final is locked and the walk returns to Tipo.
    Worksheet sheet = rowOfKind(3, kPagoUnico);
    CellPos pos { 3, kColTipo };
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        pos = moveOn(pos);
        pos.column = cellReaction(sheet, pos).column;
        visited.push_back(pos.column);
    }
    EXPECT_EQ(visited, (std::vector<int> { kColValor, kColInicio, kColTipo, kColValor }));
    EXPECT_EQ(pos.row, 3);
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
    struct Row {
        int column;
        std::string edit, stored;
    };
    const Row rows[] = {
        { kColValor, "*", "Incognita" },
        { kColValor, "12*", "12*" }, // still the unknown, but kept as typed
        { kColValor, "**", "**" },
        { kColInicio, "*", "*" },
        { kColValor, "100", "100" },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.edit);
        EXPECT_EQ(cellTextFromEdit(r.column, r.edit), r.stored);
    }
    // Round trip: what the edit box shows goes back to the same cell text.
    for (const std::string text : { "Incognita", "*", "12", "" })
        EXPECT_EQ(cellTextFromEdit(kColValor, editTextForCell(kColValor, text)), text == "*" ? "Incognita" : text);

    EXPECT_EQ(rateTextOnFocusIn("Incognita"), "*");
    EXPECT_EQ(rateTextOnFocusIn("Incognita "), "Incognita ");
    EXPECT_EQ(rateTextOnFocusIn("10"), "10");
    EXPECT_EQ(rateTextOnFocusOut("*"), "Incognita");
    EXPECT_EQ(rateTextOnFocusOut("*5"), "*5");
    EXPECT_EQ(rateTextOnFocusOut(rateTextOnFocusIn("Incognita")), "Incognita");
}

TEST(KindText, NumbersAndBeginningsOfKindTexts)
{
    struct Row {
        std::string text;
        std::string kind; // empty: no match
    };
    const Row rows[] = {
        { "1", kPagoUnico },
        { " 2 ", kUniforme },
        { "5", std::string(kKindTexts[4]) },
        { "2.0", kUniforme },
        { "0", "" },
        { "6", "" },
        { "2.5", "" },
        { "3. Serie Gradiente Aritmética", std::string(kKindTexts[2]) },
        { "4. serie gradiente", std::string(kKindTexts[3]) },
        { "Serie Uniforme", "" },
        { "", "" },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(std::string(kindTextFor(r.text).value_or("")), r.kind);
    }
}

TEST(Paste, SpreadsheetBlockLandsFromTheCurrentCell)
{
    Worksheet sheet;
    const auto result = pasteText(sheet, { 2, kColTipo }, "1\t-1000\t0\r\n2\t*\t0\t5\r\n");
    EXPECT_EQ(sheet.cell(2, kColTipo), kPagoUnico);
    EXPECT_EQ(sheet.cell(2, kColValor), "-1000");
    EXPECT_EQ(sheet.cell(2, kColInicio), "0");
    EXPECT_EQ(sheet.cell(3, kColTipo), kUniforme);
    EXPECT_EQ(sheet.cell(3, kColValor), "Incognita");
    EXPECT_EQ(sheet.cell(3, kColFinal), "5");
    EXPECT_EQ(sheet.cell(3, kColPorcentaje), ""); // the line ended before it
    EXPECT_FALSE(sheet.rowInUse(1));
    EXPECT_FALSE(sheet.rowInUse(4)); // the final line end adds no row
    EXPECT_EQ(result.cellsWritten, 7);
    EXPECT_EQ(result.lastRow, 3);
}

TEST(Paste, OverflowingRowsAndColumnsAreDropped)
{
    Worksheet sheet;
    sheet.setCell(99, kColTipo, kPagoUnico);
    const auto result = pasteText(sheet, { 98, kColPorcentaje }, "a\tb\tc\td\ne\tf\tg\nh\ti\n");
    EXPECT_EQ(sheet.cell(98, kColPorcentaje), "a");
    EXPECT_EQ(sheet.cell(98, kColSensibilidad), "b");
    EXPECT_EQ(sheet.cell(99, kColPorcentaje), "e");
    EXPECT_EQ(sheet.cell(99, kColSensibilidad), "f");
    EXPECT_EQ(sheet.cell(99, kColTipo), kPagoUnico); // nothing wrapped round
    EXPECT_EQ(result.cellsWritten, 4);
    EXPECT_EQ(result.lastRow, 99);
}

TEST(Paste, UnknownKindEmptiesTipoAndColumnZeroStartsAtTipo)
{
    Worksheet sheet;
    sheet.setCell(1, kColTipo, kUniforme);
    pasteText(sheet, { 1, 0 }, "nada\t5");
    EXPECT_EQ(sheet.cell(1, kColTipo), "");
    EXPECT_EQ(sheet.cell(1, kColValor), "5");
}

TEST(Paste, EmptyClipboardChangesNothing)
{
    Worksheet sheet;
    sheet.setCell(1, kColValor, "x");
    EXPECT_EQ(pasteText(sheet, { 1, kColValor }, "").cellsWritten, 0);
    EXPECT_EQ(sheet.cell(1, kColValor), "x");
}

} // namespace
} // namespace orvex
