#pragma once

#include "worksheet/worksheet.h"

#include <string>
#include <string_view>

namespace orvex {

inline constexpr std::size_t kWorksheetRecordSize = 256;
// A header and 99 rows: a reader never needs more of a file.
inline constexpr std::size_t kWorksheetMaxBytes = 100 * kWorksheetRecordSize;

// A worksheet file's content as Cargar reads it: the rate from record 1 and the
// rows packed from row 1. nullopt rate: the file has no header record, so the
// rate field keeps what it held.
struct LoadedWorksheet {
    Worksheet sheet;
    std::optional<std::string> rate;
};

// Reads the bytes of a ".ORV" file. Never throws: any byte content gives a result.
LoadedWorksheet parseWorksheetFile(std::string_view bytes);

// The bytes Guardar writes: header "TASA" with the rate, one record per used row.
std::string serializeWorksheet(const Worksheet& sheet);

// The worksheet of a file on disk (its first kWorksheetMaxBytes); throws FileError
// when it cannot be read.
LoadedWorksheet loadWorksheetFile(const std::string& path);
// Writes the file atomically; throws FileError (the previous file stays whole).
void saveWorksheetFile(const std::string& path, const Worksheet& sheet);

// After a file command: a name with no "." becomes its upper case + ".ORV".
std::string worksheetFileName(const std::string& name);

} // namespace orvex
