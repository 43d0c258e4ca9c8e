#pragma once

#include "worksheet/worksheet.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// A grid position in the program's numbering: row 1..99, column 0..6 (0 = numbers).
struct CellPos {
    int row = 1;
    int column = 1;
    friend bool operator==(CellPos, CellPos) = default;
};

// The row's kind for editing: 1..5, or 0 for a row without a (valid) kind.
int editingKind(const Worksheet& sheet, int row);

// Whether a data cell (columns 2..6) may be edited for a row of that kind;
// "Sensibilidad (%)" always, "Tipo" never (it is edited through the kind list).
bool isEditableCell(int kind, int column);

// Which input control the cell reaction shows.
enum class CellEditor { None, KindList, EditBox };

struct CellReactionResult {
    CellEditor editor = CellEditor::None;
    int column = 1; // the current column afterwards (moved to 1 for a locked cell)
    std::string editText; // EditBox: the text to show (the unknown in its short form)
    std::string kindPrefix; // KindList: the text whose first matching entry is selected
    bool rowCleared = false; // the row had no kind and its columns 2..6 were emptied
};

// What moving to a cell does: shows the kind list in column "Tipo", the edit box
// in an editable cell, otherwise moves to column "Tipo"; a row left without a kind
// in column "Tipo" loses columns 2..6 (they are emptied in sheet).
CellReactionResult cellReaction(Worksheet& sheet, CellPos pos);

// Enter: column 6 goes to column 1 of the next row (row 99 stays), else the next column.
CellPos moveOn(CellPos pos);

// Only "-", "0".."9" and "*" start typing on the grid.
bool startsTyping(char32_t ch);

// The unknown marker in "Valor" and in the rate field: typed and edited as "*",
// stored and shown as "Incognita".
std::string editTextForCell(int column, std::string_view cellText);
std::string cellTextFromEdit(int column, std::string_view editText);
std::string rateTextOnFocusIn(std::string_view rateText);
std::string rateTextOnFocusOut(std::string_view rateText);

// The kind list text for a pasted or loaded "Tipo" value: a number 1..5 or the
// beginning of a kind text (case-insensitive); nullopt when nothing matches.
std::optional<std::string_view> kindTextFor(std::string_view text);

struct PasteResult {
    int cellsWritten = 0;
    int lastRow = 0; // the last grid row that received text, 0 when none
};

// Pastes tab-separated lines (CR LF or LF) into sheet from the cell at `from`:
// row after row, cell after cell. In column "Tipo" the text becomes the kind's
// list text (unknown text empties the cell); in "Valor" "*" becomes "Incognita";
// text beyond row 99 or column 6 is dropped. A start in column 0 pastes from column 1.
PasteResult pasteText(Worksheet& sheet, CellPos from, std::string_view clipboard);

} // namespace orvex
