#pragma once

#include "records/table_access.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// The search panel's options as "lstkwz.b" keeps them between runs.
struct SearchSettings {
    bool matchCase = false; // BConfig(0) "Minus/Mayus"
    bool wholeWords = false; // BConfig(1) "Palabras Completas"
    int direction = 1; // BusquedaDireccion: 0 "Hacia Arriba", 1 "Hacia Abajo", 2 "Todo el Archivo"
    std::string text; // BuscarTexto
    std::string field = "TODOS"; // BusquedaCampo's text
};

inline constexpr const char* kSearchSettingsFile = "lstkwz.b";

// The direction list's items, in index order.
inline constexpr std::string_view kSearchDirections[]
    = { "Hacia Arriba", "Hacia Abajo", "Todo el Archivo" };

// BusquedaCampo's items: "TODOS", then per field 1..n its trimmed caption, or an empty
// item for a hidden field.
std::vector<std::string> searchFieldItems(const std::vector<FieldDescription>& fields);

// The item that a saved field text selects: the first whose beginning equals it
// without regard to case, else 0.
int searchFieldItem(const std::vector<std::string>& items, std::string_view saved);

// Reads "lstkwz.b" over settings, each of the five lines only when the file has it; a
// direction outside 0..2 is ignored. A missing or unreadable file changes nothing
// (returns false): the settings are a convenience, never a reason to stop a browser.
bool readSearchSettings(const std::string& path, SearchSettings& settings);

// Writes the five lines, each ended by CR LF, in Windows-1252. Throws FileError.
void writeSearchSettings(const std::string& path, const SearchSettings& settings);

// One "&Siguiente".
struct SearchRequest {
    std::string text; // as typed, UTF-8
    bool matchCase = false;
    bool wholeWords = false;
    int field = 0; // BusquedaCampo index: 0 every field, k field k only
    int direction = 1;
};

struct SearchHit {
    std::int32_t logical = 0;
    std::int64_t physical = 0;
};

// Called with the whole percentage of the scan (the record just read / count x 100,
// nearest) whenever it changes; returns true to cancel, which stops the scan before
// its next record.
using SearchProgress = std::function<bool(int percent)>;

// The "Porcentaje" text of a percentage: the number then "%", 0 as "%" alone.
std::string percentText(int percent);

// Find next from the current record (first shown + grid row - 1) among records
// 1..count in browsing order: direction 0 scans current - 1 down to 1, 1 scans
// current + 1 up to count, 2 scans current + 1 up to count then 1 up to current. A
// field matches when the pattern (trimmed; upper case unless matchCase; " " + t + " "
// for whole words) occurs in " " + its text + " " (upper-cased unless matchCase); its
// text is the grid's for dates and numeric types, the first I4 stored characters for
// the others. Hidden fields are never searched. nullopt when nothing matched or the
// scan was cancelled. Throws TableError when a file cannot be read.
std::optional<SearchHit> findNext(const TableAccess& access, std::int32_t count,
    std::int32_t current, const SearchRequest& request, const SearchProgress& progress = {});

} // namespace orvex
