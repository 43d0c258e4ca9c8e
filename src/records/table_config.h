#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// A table file that cannot be opened, read, written or understood: the system's
// error number (0 when the file is merely malformed) and a Spanish description
// that names the file, ready for "Ocurrio un error [number description]".
class TableError : public std::runtime_error {
public:
    TableError(int number, const std::string& description)
        : std::runtime_error(description)
        , m_number(number)
    {
    }
    int number() const { return m_number; }

private:
    int m_number;
};

// ConfiguracionListado, record 1 of "lst" + name + ".ini". Texts are UTF-8 here and
// Windows-1252 in the file; they are kept as stored (blanks included) until
// trimConfigurationTexts.
struct ConfigRecord {
    static constexpr std::size_t kBytes = 782;
    static constexpr std::size_t kTextBytes = 256;

    std::int16_t preloaded = 0;
    std::string title;
    std::string dataPath;
    std::string indexPath;
    std::int32_t firstRecord = 0;
    std::int16_t selected = 0; // True (-1) once the user selected a record
    std::int16_t unused = 0;
    std::int16_t fieldCount = 0; // n: descriptions 0..n
    std::int16_t mapLast = 0; // m: map entries 0..m

    friend bool operator==(const ConfigRecord&, const ConfigRecord&) = default;
};

// DescripcionCampo, one 566-byte record of "lst" + name + ".cmp". Index 0 is the
// table's header, whose I0..I4 mean key length, index mode, collapsed record-number
// column, edit mode and that column's width.
struct FieldDescription {
    static constexpr std::size_t kBytes = 566;
    static constexpr std::size_t kCaptionBytes = 32;
    static constexpr std::size_t kOptionsBytes = 512;

    std::string caption;
    std::array<std::int16_t, 11> i {}; // I0..I10
    std::string options;

    std::int16_t length() const { return i[0]; }
    std::int16_t type() const { return i[1]; }
    bool hidden() const { return i[2] != 0; }
    bool isProtected() const { return i[3] != 0; }

    friend bool operator==(const FieldDescription&, const FieldDescription&) = default;
};

// Everything a browser is configured with: the record, Campos(0..n), MapaRegistros(0..m).
struct TableConfig {
    ConfigRecord record;
    std::vector<FieldDescription> fields;
    std::vector<std::int32_t> map;
};

// Byte-exact encodings of the three records (little-endian, Windows-1252, blank
// padded, cut at the field's width). Decoding needs the full record size; a shorter
// input throws TableError(0, ...) naming what.
std::string encodeConfigRecord(const ConfigRecord& record);
ConfigRecord decodeConfigRecord(std::string_view bytes, const std::string& what);
std::string encodeFieldDescription(const FieldDescription& field);
FieldDescription decodeFieldDescription(std::string_view bytes, const std::string& what);

// The three configuration files of a hand-off name: "lst" + name + ".ini", ".cmp", ".rg"
// in directory (empty: the current one).
struct ConfigPaths {
    std::string ini, cmp, rg;
};
ConfigPaths configPaths(const std::string& name, const std::string& directory = {});

// The hand-off name of "lst.cod": the first quoted, comma-delimited item of its first
// line, quotes removed. nullopt when the file does not exist. Deletes the file when
// deleteAfter. Throws TableError when it cannot be read or the name holds a "/".
std::optional<std::string> readHandOffName(const std::string& path, bool deleteAfter);

class TableWaitHooks;

// CargarConfiguracion after the hand-off: nullopt when one of the three files does
// not exist. Each file is waited for on the status line first. Reads n + 1
// descriptions and m + 1 map entries, applies the load-time defaults (I4 = I0 when
// 0, I5 = 5 when 0) and trims the three texts. Throws TableError for a file that
// cannot be read, a truncated ".ini" or ".cmp", or n or m negative; map entries
// beyond the end of ".rg" read as 0.
std::optional<TableConfig> loadConfiguration(const ConfigPaths& paths, TableWaitHooks& hooks);

// The load-time defaults, for a configuration a host filled in memory.
void applyLoadDefaults(std::vector<FieldDescription>& fields);
void trimConfigurationTexts(ConfigRecord& record);

// Removes those of the three files that exist (a browser that was not preloaded
// does this when it ends).
void deleteConfigurationFiles(const ConfigPaths& paths);

// Seleccionado(-1..n): physical record, logical record, then the row's field texts.
// ".sel" holds one line per entry, each ended by CR LF, in Windows-1252. Written
// atomically; throws FileError.
void writeSelectionFile(const std::string& path, const std::vector<std::string>& seleccionado);

} // namespace orvex
