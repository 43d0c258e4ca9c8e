#include "worksheet/worksheet.h"

#include "common/numbers.h"
#include "common/text.h"

namespace orvex {
namespace {
const std::string kEmpty;

bool validCell(int row, int column)
{
    return row >= 1 && row <= kWorksheetRows && column >= 1 && column <= kWorksheetColumns;
}
} // namespace

const std::string& Worksheet::cell(int row, int column) const
{
    if (!validCell(row, column))
        return kEmpty;
    return m_cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)];
}

void Worksheet::setCell(int row, int column, std::string text)
{
    if (validCell(row, column))
        m_cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)]
            = std::move(text);
}

bool Worksheet::rowInUse(int row) const { return !trim(cell(row, kColTipo)).empty(); }

std::int16_t Worksheet::rowKind(int row) const
{
    return toInt16(leadingNumber(textBeforeDelimiter(cell(row, kColTipo), ".")));
}

void Worksheet::clearRow(int row, int first, int last)
{
    for (int c = first; c <= last; ++c)
        setCell(row, c, {});
}

void Worksheet::clear()
{
    for (auto& row : m_cells)
        for (auto& c : row)
            c.clear();
    m_rate.clear();
}

bool isUnknownAmount(std::string_view valor)
{
    return valor == kUnknownMarker || valor.find('*') != std::string_view::npos;
}

std::optional<std::string_view> kindText(int kind)
{
    if (kind < 1 || kind > static_cast<int>(kKindTexts.size()))
        return std::nullopt;
    return kKindTexts[static_cast<std::size_t>(kind - 1)];
}

} // namespace orvex
