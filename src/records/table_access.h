#pragma once

#include "records/table_io.h"
#include "records/table_layout.h"
#include "records/table_lock.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orvex {

enum class AccessKind { Reading, Editing };

// Where a logical record lies: physical record (from 1; 0 when the index or map
// gives none) and its 1-based byte position in the data file.
struct RecordLocation {
    std::int64_t physical = 0;
    std::int64_t position = 0;
};

// One access to a table (AbrirArchivos ... CerrarArchivos): the files are open, and an
// editing access holds its lock, exactly as long as the object lives.
class TableAccess {
public:
    // Reading: waits on the status line while another user edits, then opens the data
    // file read-only and takes no lock. Editing: waits in the wait window, opens the data
    // file read/write and holds a write lock on byte 0. Index modes 1 and 2 also open the
    // index file for reading (after a status-line wait). nullopt when the user cancelled
    // the wait: nothing is open then. Throws TableError when a file cannot be opened.
    static std::optional<TableAccess> open(
        const TableLayout& layout, AccessKind kind, TableWaitHooks& hooks);

    TableAccess(TableAccess&&) noexcept = default;
    TableAccess& operator=(TableAccess&&) noexcept = default;
    ~TableAccess();

    const TableLayout& layout() const { return *m_layout; }
    AccessKind kind() const { return m_kind; }

    // The record count from the files' present lengths: index length / (K + w) in modes
    // 1-2, m in mode 3, data length / L otherwise, rounded to nearest (halves to even).
    // Throws TableError beyond a 32-bit count.
    std::int32_t countRecords() const;

    // UbicarRegistro of a logical record (from 1).
    RecordLocation locate(std::int32_t logical) const;

    // Reads a logical record's L bytes into record. false when its place is not wholly
    // inside the data file (no pointer, a pointer <= 0 or past the end, a short last
    // record); record is then left as it was. where, when given, receives the location.
    bool read(std::int32_t logical, char* record, RecordLocation* where = nullptr) const;

    // Writes L bytes in place at a physical record; editing accesses only. Throws TableError.
    void write(std::int64_t physical, const char* record) const;

    const TableFile& dataFile() const { return m_data; }
    const TableFile& indexFile() const { return m_index; }

private:
    TableAccess(const TableLayout& layout, AccessKind kind);

    const TableLayout* m_layout;
    AccessKind m_kind;
    TableFile m_data;
    TableFile m_index;
};

// A logical record met by a RecordReader: bytes is nullptr when it is not in the file.
struct ScannedRecord {
    std::int32_t logical = 0;
    std::int64_t physical = 0;
    const char* bytes = nullptr;
};

// Reads logical records from..to inclusive (downwards when from > to) in large blocks
// through the index, map or flat file, so a scan costs a few reads per megabyte
// however long the table is. Memory stays at one block (at most maxBlock records when
// that is not 0).
class RecordReader {
public:
    RecordReader(
        const TableAccess& access, std::int32_t from, std::int32_t to, std::size_t maxBlock = 0);

    // The next record in order; false when the range is done.
    bool next(ScannedRecord& out)
    {
        if (m_at == m_count && !fill())
            return false;
        out = slot(m_descending ? m_count - 1 - m_at : m_at);
        ++m_at;
        return true;
    }

    // Block by block, for a scan that can rule out many records at once: loadBlock makes
    // sure a block with records not yet returned is loaded (false at the end of the
    // range); blockBytes holds every slot's bytes (those of absent records are stale);
    // slot(k) is the k-th record of the block in logical order; skipBlock passes over what
    // is left of it.
    bool loadBlock() { return m_at < m_count || fill(); }
    std::string_view blockBytes() const { return { m_records.data(), m_count * m_length }; }
    std::size_t blockSize() const { return m_count; }
    bool descending() const { return m_descending; }
    ScannedRecord slot(std::size_t k) const
    {
        return { m_first + static_cast<std::int32_t>(k), m_physical[k],
            m_present[k] ? m_records.data() + k * m_length : nullptr };
    }
    void skipBlock() { m_at = m_count; }

private:
    bool fill();
    void readRun(std::size_t from, std::size_t to);

    const TableAccess& m_access;
    std::size_t m_length;
    std::size_t m_block;
    bool m_descending;
    std::int64_t m_next; // next logical record to fetch
    std::int64_t m_end; // last logical record of the range
    std::int32_t m_first = 0; // logical record of slot 0 of the block
    std::size_t m_count = 0;
    std::size_t m_at = 0;
    std::vector<char> m_records;
    std::vector<char> m_pointers;
    std::vector<std::int64_t> m_physical;
    std::vector<char> m_present;
};

} // namespace orvex
