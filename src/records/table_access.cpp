#include "records/table_access.h"

#include "records/field_bytes.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>

namespace orvex {
namespace {

// A block of a scan: big enough that reads cost nothing next to decoding, small
// enough to stay in the cache.
constexpr std::size_t kBlockBytes = 1 << 20;

// size / unit rounded to nearest, halves to even.
std::int64_t nearestQuotient(std::int64_t size, std::int64_t unit)
{
    std::int64_t q = size / unit;
    const std::int64_t r = size % unit;
    if (2 * r > unit || (2 * r == unit && (q & 1) != 0))
        ++q;
    return q;
}

// Takes the write lock on byte 0; false when another user holds a lock there.
bool lockFirstByte(const TableFile& file)
{
    struct flock lock { };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    if (::fcntl(file.fd(), F_OFD_SETLK, &lock) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES)
        return false;
    file.fail(errno, "No se puede bloquear");
}

} // namespace

TableAccess::TableAccess(const TableLayout& layout, AccessKind kind)
    : m_layout(&layout)
    , m_kind(kind)
{
}

TableAccess::~TableAccess()
{
    // The index closes first, then the data file, which releases the lock.
    m_index = TableFile();
}

std::optional<TableAccess> TableAccess::open(
    const TableLayout& layout, AccessKind kind, TableWaitHooks& hooks)
{
    TableAccess access(layout, kind);
    if (kind == AccessKind::Reading) {
        esperarTabla(layout.dataPath, hooks, BusyMode::Readers);
        access.m_data = TableFile(layout.dataPath, O_RDONLY);
    } else {
        // Another user may lock between the wait and the lock: wait again then.
        for (;;) {
            if (esperarTabla(layout.dataPath, hooks, BusyMode::Writers))
                return std::nullopt;
            access.m_data = TableFile(layout.dataPath, O_RDWR);
            if (lockFirstByte(access.m_data))
                break;
            access.m_data = TableFile();
        }
    }
    if (layout.usesIndexFile()) {
        esperarTabla(layout.indexPath, hooks, BusyMode::Readers);
        access.m_index = TableFile(layout.indexPath, O_RDONLY);
    }
    return access;
}

std::int32_t TableAccess::countRecords() const
{
    const TableLayout& t = *m_layout;
    std::int64_t count = 0;
    if (t.usesIndexFile())
        count = nearestQuotient(m_index.size(), t.indexEntryLength());
    else if (t.mode == IndexMode::Map)
        count = static_cast<std::int64_t>(t.map.size()) - 1;
    else
        count = nearestQuotient(m_data.size(), t.recordLength);
    if (count > std::numeric_limits<std::int32_t>::max())
        throw TableError(0,
            "La tabla \"" + (t.usesIndexFile() ? t.indexPath : t.dataPath) + "\" tiene "
                + std::to_string(count) + " registros, más de los que se pueden recorrer...");
    return static_cast<std::int32_t>(count);
}

RecordLocation TableAccess::locate(std::int32_t logical) const
{
    const TableLayout& t = *m_layout;
    RecordLocation where;
    if (t.usesIndexFile()) {
        char pointer[4] = {};
        const std::int64_t at
            = static_cast<std::int64_t>(t.indexEntryLength()) * (logical - 1) + t.keyLength;
        const auto width = static_cast<std::size_t>(t.pointerWidth);
        if (logical >= 1 && m_index.readAt(pointer, width, at) == width)
            where.physical = width == 2 ? cvi({ pointer, 2 }) : cvl({ pointer, 4 });
    } else if (t.mode == IndexMode::Map) {
        if (logical >= 0 && static_cast<std::size_t>(logical) < t.map.size())
            where.physical = t.map[static_cast<std::size_t>(logical)];
    } else {
        where.physical = logical;
    }
    if (where.physical >= 1)
        where.position = (where.physical - 1) * t.recordLength + 1;
    return where;
}

bool TableAccess::read(std::int32_t logical, char* record, RecordLocation* where) const
{
    const RecordLocation at = locate(logical);
    if (where)
        *where = at;
    if (at.position < 1)
        return false;
    const auto length = static_cast<std::size_t>(m_layout->recordLength);
    std::vector<char> bytes(length);
    if (m_data.readAt(bytes.data(), length, at.position - 1) != length)
        return false;
    std::copy(bytes.begin(), bytes.end(), record);
    return true;
}

void TableAccess::write(std::int64_t physical, const char* record) const
{
    if (m_kind != AccessKind::Editing || physical < 1)
        throw TableError(
            EBADF, "La tabla \"" + m_layout->dataPath + "\" no está abierta para escribir...");
    m_data.writeAt(record, static_cast<std::size_t>(m_layout->recordLength),
        (physical - 1) * m_layout->recordLength);
}

RecordReader::RecordReader(
    const TableAccess& access, std::int32_t from, std::int32_t to, std::size_t maxBlock)
    : m_access(access)
    , m_length(static_cast<std::size_t>(access.layout().recordLength))
    , m_descending(from > to)
    , m_next(from)
    , m_end(to)
{
    const TableLayout& t = access.layout();
    m_block = std::max<std::size_t>(1, kBlockBytes / m_length);
    if (t.usesIndexFile())
        m_block = std::min(m_block,
            std::max<std::size_t>(1, kBlockBytes / static_cast<std::size_t>(t.indexEntryLength())));
    if (maxBlock > 0)
        m_block = std::min(m_block, maxBlock);
    const std::int64_t span = (m_descending ? from - to : to - from) + 1;
    m_block = static_cast<std::size_t>(std::min<std::int64_t>(
        static_cast<std::int64_t>(m_block), std::max<std::int64_t>(span, 1)));
    m_records.resize(m_block * m_length);
    m_physical.resize(m_block);
    m_present.resize(m_block);
    if (t.usesIndexFile())
        m_pointers.resize(m_block * static_cast<std::size_t>(t.indexEntryLength()));
}

bool RecordReader::fill()
{
    const std::int64_t left = m_descending ? m_next - m_end + 1 : m_end - m_next + 1;
    if (left <= 0)
        return false;
    m_count = static_cast<std::size_t>(
        std::min<std::int64_t>(left, static_cast<std::int64_t>(m_block)));
    m_at = 0;
    const std::int64_t first
        = m_descending ? m_next - static_cast<std::int64_t>(m_count) + 1 : m_next;
    m_next = m_descending ? first - 1 : first + static_cast<std::int64_t>(m_count);
    m_first = static_cast<std::int32_t>(first);

    const TableLayout& t = m_access.layout();
    if (t.usesIndexFile()) {
        const auto entry = static_cast<std::size_t>(t.indexEntryLength());
        const std::int64_t from = std::max<std::int64_t>(first - 1, 0);
        const std::size_t got = first >= 1 ? m_access.indexFile().readAt(m_pointers.data(),
                                    m_count * entry, from * static_cast<std::int64_t>(entry))
                                           : 0;
        for (std::size_t k = 0; k < m_count; ++k) {
            const char* p = m_pointers.data() + k * entry + static_cast<std::size_t>(t.keyLength);
            const bool whole = (k + 1) * entry <= got;
            m_physical[k] = !whole ? 0 : t.pointerWidth == 2 ? cvi({ p, 2 }) : cvl({ p, 4 });
        }
    } else {
        for (std::size_t k = 0; k < m_count; ++k) {
            const std::int64_t logical = first + static_cast<std::int64_t>(k);
            if (t.mode == IndexMode::Map)
                m_physical[k] = logical >= 0 && static_cast<std::size_t>(logical) < t.map.size()
                    ? t.map[static_cast<std::size_t>(logical)]
                    : 0;
            else
                m_physical[k] = logical;
        }
    }
    // Consecutive physical records in consecutive slots are read with one call.
    std::size_t k = 0;
    while (k < m_count) {
        if (m_physical[k] < 1) {
            m_present[k++] = 0;
            continue;
        }
        std::size_t end = k + 1;
        while (end < m_count && m_physical[end] == m_physical[end - 1] + 1)
            ++end;
        readRun(k, end);
        k = end;
    }
    return true;
}

void RecordReader::readRun(std::size_t from, std::size_t to)
{
    const std::size_t bytes = (to - from) * m_length;
    const std::int64_t at = (m_physical[from] - 1) * static_cast<std::int64_t>(m_length);
    const std::size_t got
        = m_access.dataFile().readAt(m_records.data() + from * m_length, bytes, at);
    for (std::size_t k = from; k < to; ++k)
        m_present[k] = (k - from + 1) * m_length <= got ? 1 : 0;
}

} // namespace orvex
