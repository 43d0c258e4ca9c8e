#include "records/browser_model.h"

#include "common/calc_error.h"
#include "common/numbers.h"
#include "records/export.h"
#include "records/field_bytes.h"

#include <algorithm>

namespace orvex {

BrowserModel::BrowserModel(BrowserHost& host)
    : m_host(host)
{
}

bool BrowserModel::setUp(
    TableConfig config, int visibleRows, const std::string& fieldsSource, bool readOnly)
{
    m_config = std::move(config);
    m_readOnly = readOnly;
    m_layout = buildTableLayout(m_config, fieldsSource);
    m_columns = browserColumns(m_config.fields);
    m_rows = std::max(visibleRows, 0);
    const auto rows = static_cast<std::size_t>(m_rows) + 1;
    m_cells.assign(rows, std::vector<std::string>(m_columns.size()));
    for (std::size_t k = 0; k < m_columns.size(); ++k)
        m_cells[0][k] = m_columns[k].header;
    m_loaded = m_cells;
    m_physical.assign(rows, 0);
    m_selected.assign(m_columns.size() + 1, std::string());
    m_edited.clear();
    m_pending = false;

    const auto access = openAccess();
    if (!access)
        return false;
    m_count = access->countRecords();
    m_first = std::clamp<std::int32_t>(
        m_config.record.firstRecord, 1, std::max<std::int32_t>(m_count, 1));
    return true;
}

bool BrowserModel::editable() const
{
    return !m_readOnly && !m_config.fields.empty() && m_config.fields[0].i[3] >= 1;
}

std::optional<TableAccess> BrowserModel::openAccess() const
{
    const bool editing = !m_readOnly && m_config.fields[0].i[3] != 0;
    return TableAccess::open(m_layout, editing ? AccessKind::Editing : AccessKind::Reading, m_host);
}

const std::string& BrowserModel::cell(GridCell c) const
{
    if (c.row < 0 || c.row > m_rows || c.column < 0 || c.column >= columnCount())
        return m_empty;
    return m_cells[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.column)];
}

bool BrowserModel::rowHoldsRecord(int row) const
{
    const std::int64_t logical = static_cast<std::int64_t>(m_first) + row - 1;
    return row >= 1 && row <= m_rows && logical >= 1 && logical <= m_count;
}

void BrowserModel::clearRow(int row)
{
    const auto r = static_cast<std::size_t>(row);
    std::fill(m_cells[r].begin(), m_cells[r].end(), std::string());
    m_loaded[r] = m_cells[r];
    m_physical[r] = 0;
}

void BrowserModel::readRow(const TableAccess& access, int row)
{
    clearRow(row);
    if (!rowHoldsRecord(row))
        return;
    const auto r = static_cast<std::size_t>(row);
    const std::int32_t logical = logicalOf(row);
    std::string record(static_cast<std::size_t>(m_layout.recordLength), ' ');
    RecordLocation where;
    const bool present = access.read(logical, record.data(), &where);
    m_physical[r] = where.physical;
    if (!m_config.fields[0].hidden())
        m_cells[r][0] = std::to_string(logical);
    for (std::size_t k = 1; present && k < m_columns.size(); ++k)
        if (!m_columns[k].hidden)
            m_cells[r][k] = fieldDisplayText(m_layout.fields[k - 1], record);
    m_loaded[r] = m_cells[r];
}

bool BrowserModel::fill(std::int32_t first, FillMode mode)
{
    confirmChanges();
    const auto access = openAccess();
    if (!access)
        return false;
    m_first = first;
    if (m_rows == 0)
        return true;
    // Rows 1..v shift by one; the row that comes into view is the only one read.
    if (mode == FillMode::ScrolledUp || mode == FillMode::ScrolledDown) {
        const bool up = mode == FillMode::ScrolledUp;
        for (auto* rows : { &m_cells, &m_loaded }) {
            if (up)
                std::rotate(rows->begin() + 1, rows->end() - 1, rows->end());
            else
                std::rotate(rows->begin() + 1, rows->begin() + 2, rows->end());
        }
        if (up)
            std::rotate(m_physical.begin() + 1, m_physical.end() - 1, m_physical.end());
        else
            std::rotate(m_physical.begin() + 1, m_physical.begin() + 2, m_physical.end());
        readRow(*access, up ? 1 : m_rows);
        return true;
    }
    for (int row = 1; row <= m_rows; ++row)
        readRow(*access, row);
    return true;
}

CellEditorState BrowserModel::editorState(GridCell c) const
{
    CellEditorState state;
    if (c.column < 1 || c.column >= columnCount() || c.row < 1 || c.row > m_rows
        || m_columns[static_cast<std::size_t>(c.column)].hidden)
        return state;
    state.shown = true;
    state.position = std::to_string(static_cast<std::int64_t>(m_first) + c.row - 1) + " de "
        + std::to_string(m_count);
    if (!rowHoldsRecord(c.row))
        return state;
    const FieldLayout& field = m_layout.fields[static_cast<std::size_t>(c.column) - 1];
    state.holdsRecord = true;
    state.editable = editable() && !field.isProtected;
    state.maxLength = std::max(editorMaxLength(field), 0);
    state.text = std::string(trimRightBlanks(cell(c)));
    return state;
}

GridCell BrowserModel::move(int index, GridCell current)
{
    GridCell c = current;
    const std::int64_t v = m_rows, count = m_count;
    std::int64_t first = m_first;
    FillMode mode = FillMode::Full;
    const auto lastRecordRow
        = [&] { return static_cast<int>(std::max<std::int64_t>(count - first + 1, 1)); };
    switch (index) {
    case 0:
        if (c.row > 1)
            --c.row;
        else if (first > 1)
            --first, mode = FillMode::ScrolledUp;
        break;
    case 1:
        if (c.row < v)
            ++c.row;
        else if (first + v - 1 < count)
            ++first, mode = FillMode::ScrolledDown;
        break;
    case 2:
        c = { 1, 1 };
        first = 1;
        break;
    case 3:
        if (first <= 1)
            c.row = 1;
        else
            first = std::max<std::int64_t>(first - v, 1);
        break;
    case 4:
        if (first + v - 1 >= count)
            c.row = lastRecordRow();
        else
            first += v;
        break;
    case 5:
        c = { 1, 1 };
        if (first + v - 1 < count)
            first = count;
        else
            c.row = lastRecordRow();
        break;
    case 6:
    case 7: {
        const int step = index == 6 ? -1 : 1;
        for (int k = c.column + step; k >= 1 && k < columnCount(); k += step)
            if (!m_columns[static_cast<std::size_t>(k)].hidden) {
                c.column = k;
                break;
            }
        break;
    }
    default:
        break;
    }
    if (first != m_first && !fill(static_cast<std::int32_t>(first), mode))
        return current;
    return c;
}

GridCell BrowserModel::placeRecord(std::int32_t logical, GridCell current)
{
    if (logical < m_first
        || static_cast<std::int64_t>(logical) > static_cast<std::int64_t>(m_first) + m_rows - 1) {
        if (!fill(logical))
            return current;
        return { 1, 1 };
    }
    return { logical - m_first + 1, current.column };
}

GridCell BrowserModel::scrollTo(std::int32_t value, GridCell current)
{
    return placeRecord(
        std::clamp<std::int32_t>(value, 1, std::max<std::int32_t>(m_count, 1)), current);
}

std::optional<GridCell> BrowserModel::goTo(std::string_view text, GridCell current)
{
    double value = 0;
    try {
        value = leadingNumber(text);
    } catch (const CalcError&) {
        return std::nullopt;
    }
    if (value >= 2000000000.0 || value < -2000000000.0)
        return std::nullopt;
    const double record = nearest(value);
    if (record < 1 || record > m_count)
        return std::nullopt;
    return placeRecord(static_cast<std::int32_t>(record), current);
}

bool BrowserModel::applyEdit(GridCell c, std::string_view typed)
{
    if (!editable() || !rowHoldsRecord(c.row) || c.column < 1 || c.column >= columnCount())
        return false;
    const FieldLayout& field = m_layout.fields[static_cast<std::size_t>(c.column) - 1];
    if (field.hidden || field.isProtected)
        return false;
    const auto text = editedCellText(field, typed);
    if (!text)
        return false;
    m_cells[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.column)] = *text;
    m_edited[logicalOf(c.row)].insert(c.column);
    m_pending = true;
    return true;
}

void BrowserModel::restoreCell(GridCell c, std::string_view saved)
{
    if (!rowHoldsRecord(c.row) || c.column < 1 || c.column >= columnCount())
        return;
    const auto r = static_cast<std::size_t>(c.row), k = static_cast<std::size_t>(c.column);
    m_cells[r][k] = std::string(saved);
    // Back at what was read: the edit is undone, so nothing is written for it.
    if (trimRightBlanks(saved) == trimRightBlanks(m_loaded[r][k])) {
        m_cells[r][k] = m_loaded[r][k];
        const auto edited = m_edited.find(logicalOf(c.row));
        if (edited != m_edited.end() && edited->second.erase(c.column) && edited->second.empty())
            m_edited.erase(edited);
    }
}

void BrowserModel::confirmChanges()
{
    if (!m_pending)
        return;
    m_pending = false;
    const auto edited = std::move(m_edited);
    m_edited.clear();
    if (!editable())
        return;
    if (m_config.fields[0].i[3] == 1 && !m_host.confirmSave())
        return;
    if (edited.empty())
        return;
    const auto access = openAccess();
    if (!access)
        return;
    std::string problems;
    std::string original(static_cast<std::size_t>(m_layout.recordLength), ' ');
    for (const auto& [logical, columns] : edited) {
        const int row = logical - m_first + 1;
        if (!rowHoldsRecord(row))
            continue;
        RecordLocation where;
        if (!access->read(logical, original.data(), &where)) {
            problems += "El registro " + std::to_string(logical) + " no está en el archivo \""
                + m_layout.dataPath + "\"...\n";
            continue;
        }
        std::string copy = original;
        const auto r = static_cast<std::size_t>(row);
        for (const int column : columns) {
            const auto k = static_cast<std::size_t>(column);
            try {
                storeFieldText(m_layout.fields[k - 1], m_cells[r][k], copy.data());
                m_loaded[r][k] = m_cells[r][k];
            } catch (const CalcError&) {
                problems += "El valor [" + m_cells[r][k] + "] no cabe en el campo ["
                    + m_columns[k].header + "] del registro " + std::to_string(logical) + "...\n";
            }
        }
        if (copy != original)
            access->write(where.physical, copy.data());
    }
    if (!problems.empty()) {
        problems.pop_back();
        throw TableError(0, problems);
    }
}

const std::vector<std::string>& BrowserModel::armarSeleccion(int row)
{
    if (rowHoldsRecord(row)) {
        const auto r = static_cast<std::size_t>(row);
        m_selected[0] = std::to_string(m_physical[r]);
        m_selected[1] = std::to_string(logicalOf(row));
        for (std::size_t k = 1; k < m_columns.size(); ++k)
            m_selected[k + 1] = std::string(trimRightBlanks(m_cells[r][k]));
    }
    m_config.record.selected = -1;
    return m_selected;
}

std::optional<GridCell> BrowserModel::findNext(
    const SearchRequest& request, int currentRow, const SearchProgress& progress)
{
    std::optional<SearchHit> hit;
    {
        const auto access = openAccess();
        if (!access)
            return std::nullopt;
        hit = orvex::findNext(*access, m_count, logicalOf(currentRow), request, progress);
    }
    if (!hit)
        return std::nullopt;
    const GridCell at = placeRecord(hit->logical, { currentRow, 1 });
    return GridCell { at.row, 1 };
}

std::optional<std::string> BrowserModel::exportText(const std::string& directory)
{
    confirmChanges();
    const auto access = openAccess();
    if (!access)
        return std::nullopt;
    return exportDoneMessage(exportTable(*access, m_config.fields, m_count, directory));
}

void BrowserModel::saveSearchSettings(const SearchSettings& settings, const std::string& path)
{
    confirmChanges();
    writeSearchSettings(path, settings);
}

} // namespace orvex
