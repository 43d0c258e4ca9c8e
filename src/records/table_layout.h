#pragma once

#include "records/field_text.h"
#include "records/table_config.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvex {

// Index modes (I1 of the header): none, index file with 2- or 4-byte pointers, record map.
enum class IndexMode { None, Index16, Index32, Map };

// Longest record a table may have: the record length is a 16-bit number in the files'
// own terms, and a longer one is taken for a damaged description.
inline constexpr std::int32_t kMaxRecordLength = 32767;

// How a table lies in its files: what the set-up derives from the configuration.
struct TableLayout {
    std::string dataPath;
    std::string indexPath;
    IndexMode mode = IndexMode::None;
    std::int32_t recordLength = 0; // L, hidden fields included
    std::int32_t keyLength = 0; // K
    std::int32_t pointerWidth = 4; // w: 2 in mode 1, else 4
    std::vector<FieldLayout> fields; // fields 1..n at 0..n-1
    std::vector<std::int32_t> map; // MapaRegistros(0..m)

    std::int32_t indexEntryLength() const { return keyLength + pointerWidth; }
    bool usesIndexFile() const { return mode == IndexMode::Index16 || mode == IndexMode::Index32; }
};

// The set-up's file side: record length and field positions, the index-mode check (modes 1
// and 2 with an empty index path or a missing index file, and mode 3 with an empty map,
// become 0, also in config), captions trimmed and I10 cleared for every visible field, as
// the set-up leaves them. fieldsSource names the ".cmp" file in messages. Throws
// TableError for a negative field or key length, a record length of 0 or beyond
// kMaxRecordLength.
TableLayout buildTableLayout(TableConfig& config, const std::string& fieldsSource);

} // namespace orvex
