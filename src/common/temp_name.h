#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// How many candidate names temporaryTableName tries before it gives up.
inline constexpr int kTemporaryNameTries = 10000;

// NombreTemporal: a free base name for a temporary table, prefix + "t" + k + station for
// k = 0, 1, ...; the name itself, name + ".DAT" and name + ".NDX" are left on disk empty.
// The three files are created exclusively, so a table that another copy of the program
// is using is never truncated. directory (empty: the current one) is where the files go;
// the name returned does not include it. nullopt when no name could be created (a
// read-only or missing folder, or kTemporaryNameTries names taken).
std::optional<std::string> temporaryTableName(
    std::string_view prefix, std::int16_t station = 0, const std::string& directory = {});

} // namespace orvex
