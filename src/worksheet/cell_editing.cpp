#include "worksheet/cell_editing.h"

#include "common/calc_error.h"
#include "common/numbers.h"
#include "common/text.h"

#include <cctype>

namespace orvex {
namespace {

constexpr std::string_view kShortUnknown = "*";

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (std::tolower(a) != std::tolower(b))
            return false;
    }
    return true;
}

} // namespace

int editingKind(const Worksheet& sheet, int row)
{
    try {
        const int kind = sheet.rowKind(row);
        return kind >= 1 && kind <= static_cast<int>(kKindTexts.size()) ? kind : 0;
    } catch (const CalcError&) {
        return 0;
    }
}

bool isEditableCell(int kind, int column)
{
    switch (column) {
    case kColSensibilidad:
        return true;
    case kColValor:
    case kColInicio:
        return kind >= 1 && kind <= 5;
    case kColFinal:
        return kind >= 2 && kind <= 5;
    case kColPorcentaje:
        return kind >= 4 && kind <= 5;
    default:
        return false;
    }
}

CellReactionResult cellReaction(Worksheet& sheet, CellPos pos)
{
    CellReactionResult result;
    const int kind = editingKind(sheet, pos.row);
    if (pos.column == kColTipo) {
        result.editor = CellEditor::KindList;
        result.kindPrefix = sheet.cell(pos.row, kColTipo);
    } else if (isEditableCell(kind, pos.column)) {
        result.editor = CellEditor::EditBox;
        result.editText = editTextForCell(pos.column, sheet.cell(pos.row, pos.column));
        result.column = pos.column;
        return result;
    }
    // A locked cell sends the user back to the kind; no list is shown by that move.
    result.column = kColTipo;
    if (!sheet.rowInUse(pos.row)) {
        sheet.clearRow(pos.row, kColValor, kColSensibilidad);
        result.rowCleared = true;
    }
    return result;
}

CellPos moveOn(CellPos pos)
{
    if (pos.column >= kColSensibilidad) {
        pos.column = kColTipo;
        if (pos.row < kWorksheetRows)
            ++pos.row;
        return pos;
    }
    ++pos.column;
    return pos;
}

bool startsTyping(char32_t ch) { return ch == U'-' || ch == U'*' || (ch >= U'0' && ch <= U'9'); }

std::string editTextForCell(int column, std::string_view cellText)
{
    if (column == kColValor && cellText == kUnknownMarker)
        return std::string(kShortUnknown);
    return std::string(cellText);
}

std::string cellTextFromEdit(int column, std::string_view editText)
{
    if (column == kColValor && editText == kShortUnknown)
        return std::string(kUnknownMarker);
    return std::string(editText);
}

std::string rateTextOnFocusIn(std::string_view rateText)
{
    return std::string(rateText == kUnknownMarker ? kShortUnknown : rateText);
}

std::string rateTextOnFocusOut(std::string_view rateText)
{
    return std::string(rateText == kShortUnknown ? kUnknownMarker : rateText);
}

std::optional<std::string_view> kindTextFor(std::string_view text)
{
    const std::string t = trim(text);
    if (t.empty())
        return std::nullopt;
    if (isNumericText(t)) {
        double value = 0;
        try {
            value = leadingNumber(t);
        } catch (const CalcError&) {
            return std::nullopt; // "1e400" is beyond a double: no kind, and no error
        }
        if (value >= 1 && value <= 5 && value == static_cast<int>(value))
            return kindText(static_cast<int>(value));
        return std::nullopt;
    }
    for (std::string_view kind : kKindTexts) {
        if (startsWithNoCase(kind, t))
            return kind;
    }
    return std::nullopt;
}

PasteResult pasteText(Worksheet& sheet, CellPos from, std::string_view clipboard)
{
    PasteResult result;
    const int firstColumn = from.column < kColTipo ? kColTipo : from.column;
    int row = from.row;
    std::size_t lineStart = 0;
    while (lineStart < clipboard.size() && row <= kWorksheetRows) {
        std::size_t lineEnd = clipboard.find('\n', lineStart);
        const bool lastLine = lineEnd == std::string_view::npos;
        if (lastLine)
            lineEnd = clipboard.size();
        std::string_view line = clipboard.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        int column = firstColumn;
        std::size_t cellStart = 0;
        while (column <= kColSensibilidad) {
            std::size_t cellEnd = line.find('\t', cellStart);
            if (cellEnd == std::string_view::npos)
                cellEnd = line.size();
            const std::string_view text = line.substr(cellStart, cellEnd - cellStart);
            std::string stored;
            if (column == kColTipo)
                stored = std::string(kindTextFor(text).value_or(""));
            else
                stored = cellTextFromEdit(column, text);
            sheet.setCell(row, column, std::move(stored));
            ++result.cellsWritten;
            result.lastRow = row;
            if (cellEnd == line.size())
                break;
            cellStart = cellEnd + 1;
            ++column;
        }
        ++row;
        if (lastLine)
            break;
        lineStart = lineEnd + 1;
    }
    return result;
}

} // namespace orvex
