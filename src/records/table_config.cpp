#include "records/table_config.h"

#include "common/file_io.h"
#include "common/text.h"
#include "records/field_bytes.h"
#include "records/table_io.h"
#include "records/table_lock.h"

#include <cstring>
#include <unistd.h>

namespace orvex {
namespace {

// Offsets of ConfiguracionListado.
constexpr std::size_t kTitleAt = 2, kDataAt = 258, kIndexAt = 514, kFirstAt = 770,
                      kSelectedAt = 774, kUnusedAt = 776, kFieldsAt = 778, kMapAt = 780;
constexpr std::size_t kIntsAt = 32, kOptionsAt = 54;

// The hand-off file holds one short line; more than this is not read.
constexpr std::size_t kHandOffLimit = 4096;

template <class T> void put(std::string& bytes, std::size_t at, T value)
{
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

void putText(std::string& bytes, std::size_t at, std::size_t width, const std::string& utf8)
{
    const std::string field = fixedField(utf8, width);
    bytes.replace(at, width, field);
}

std::string getText(std::string_view bytes, std::size_t at, std::size_t width)
{
    return cp1252ToUtf8(bytes.substr(at, width));
}

void requireSize(std::string_view bytes, std::size_t size, const std::string& what)
{
    if (bytes.size() < size)
        throw TableError(0,
            "El archivo \"" + what + "\" está incompleto: tiene " + std::to_string(bytes.size())
                + " bytes donde se esperaban " + std::to_string(size) + "...");
}

std::string trimmed(const std::string& text) { return std::string(trimBlanks(text)); }

} // namespace

std::string encodeConfigRecord(const ConfigRecord& r)
{
    std::string bytes(ConfigRecord::kBytes, ' ');
    put(bytes, 0, r.preloaded);
    putText(bytes, kTitleAt, ConfigRecord::kTextBytes, r.title);
    putText(bytes, kDataAt, ConfigRecord::kTextBytes, r.dataPath);
    putText(bytes, kIndexAt, ConfigRecord::kTextBytes, r.indexPath);
    put(bytes, kFirstAt, r.firstRecord);
    put(bytes, kSelectedAt, r.selected);
    put(bytes, kUnusedAt, r.unused);
    put(bytes, kFieldsAt, r.fieldCount);
    put(bytes, kMapAt, r.mapLast);
    return bytes;
}

ConfigRecord decodeConfigRecord(std::string_view bytes, const std::string& what)
{
    requireSize(bytes, ConfigRecord::kBytes, what);
    ConfigRecord r;
    r.preloaded = cvi(bytes.substr(0, 2));
    r.title = getText(bytes, kTitleAt, ConfigRecord::kTextBytes);
    r.dataPath = getText(bytes, kDataAt, ConfigRecord::kTextBytes);
    r.indexPath = getText(bytes, kIndexAt, ConfigRecord::kTextBytes);
    r.firstRecord = cvl(bytes.substr(kFirstAt, 4));
    r.selected = cvi(bytes.substr(kSelectedAt, 2));
    r.unused = cvi(bytes.substr(kUnusedAt, 2));
    r.fieldCount = cvi(bytes.substr(kFieldsAt, 2));
    r.mapLast = cvi(bytes.substr(kMapAt, 2));
    return r;
}

std::string encodeFieldDescription(const FieldDescription& f)
{
    std::string bytes(FieldDescription::kBytes, ' ');
    putText(bytes, 0, FieldDescription::kCaptionBytes, f.caption);
    for (std::size_t k = 0; k < f.i.size(); ++k)
        put(bytes, kIntsAt + 2 * k, f.i[k]);
    putText(bytes, kOptionsAt, FieldDescription::kOptionsBytes, f.options);
    return bytes;
}

FieldDescription decodeFieldDescription(std::string_view bytes, const std::string& what)
{
    requireSize(bytes, FieldDescription::kBytes, what);
    FieldDescription f;
    f.caption = getText(bytes, 0, FieldDescription::kCaptionBytes);
    for (std::size_t k = 0; k < f.i.size(); ++k)
        f.i[k] = cvi(bytes.substr(kIntsAt + 2 * k, 2));
    f.options = getText(bytes, kOptionsAt, FieldDescription::kOptionsBytes);
    return f;
}

ConfigPaths configPaths(const std::string& name, const std::string& directory)
{
    const std::string base = (directory.empty() ? std::string() : directory + "/") + "lst" + name;
    return { base + ".ini", base + ".cmp", base + ".rg" };
}

std::optional<std::string> readHandOffName(const std::string& path, bool deleteAfter)
{
    if (!fileExists(path))
        return std::nullopt;
    const std::string bytes = readFileStart(path, kHandOffLimit);
    if (deleteAfter)
        ::unlink(path.c_str());
    std::string_view line(bytes);
    line = line.substr(0, line.find_first_of("\r\n"));
    line = trimBlanks(line);
    std::string_view item;
    if (!line.empty() && line.front() == '"') {
        const auto close = line.find('"', 1);
        item = line.substr(1, close == std::string_view::npos ? close : close - 1);
    } else {
        item = trimBlanks(line.substr(0, line.find(',')));
    }
    // The name becomes part of file names this program reads, writes and deletes: one
    // that reaches into another folder could remove files there.
    if (item.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        throw TableError(0,
            "El nombre [" + cp1252ToUtf8(item.substr(0, item.find('\0'))) + "] de [" + path
                + "] no es un nombre de tabla: no puede contener \"/\"...");
    return cp1252ToUtf8(item);
}

void applyLoadDefaults(std::vector<FieldDescription>& fields)
{
    for (auto& f : fields) {
        if (f.i[4] == 0)
            f.i[4] = f.i[0];
        if (f.i[5] == 0)
            f.i[5] = 5;
    }
}

void trimConfigurationTexts(ConfigRecord& record)
{
    record.title = trimmed(record.title);
    record.dataPath = trimmed(record.dataPath);
    record.indexPath = trimmed(record.indexPath);
}

std::optional<TableConfig> loadConfiguration(const ConfigPaths& paths, TableWaitHooks& hooks)
{
    for (const auto* path : { &paths.ini, &paths.cmp, &paths.rg })
        if (!fileExists(*path))
            return std::nullopt;

    TableConfig config;
    esperarTabla(paths.ini, hooks, BusyMode::Readers);
    config.record = decodeConfigRecord(readFileStart(paths.ini, ConfigRecord::kBytes), paths.ini);
    const int n = config.record.fieldCount;
    const int m = config.record.mapLast;
    if (n < 0 || m < 0)
        throw TableError(0,
            "El archivo \"" + paths.ini + "\" indica " + std::to_string(n) + " campos y "
                + std::to_string(m) + " entradas de mapa: no pueden ser negativos...");

    esperarTabla(paths.rg, hooks, BusyMode::Readers);
    const std::string map = readFileStart(paths.rg, 4 * (static_cast<std::size_t>(m) + 1));
    config.map.assign(static_cast<std::size_t>(m) + 1, 0);
    for (std::size_t k = 0; k < config.map.size() && 4 * k + 4 <= map.size(); ++k)
        config.map[k] = cvl(std::string_view(map).substr(4 * k, 4));

    esperarTabla(paths.cmp, hooks, BusyMode::Readers);
    const std::size_t cmpBytes = FieldDescription::kBytes * (static_cast<std::size_t>(n) + 1);
    const std::string cmp = readFileStart(paths.cmp, cmpBytes);
    requireSize(cmp, cmpBytes, paths.cmp);
    config.fields.reserve(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k <= n; ++k)
        config.fields.push_back(decodeFieldDescription(
            std::string_view(cmp).substr(
                FieldDescription::kBytes * static_cast<std::size_t>(k), FieldDescription::kBytes),
            paths.cmp));
    applyLoadDefaults(config.fields);
    trimConfigurationTexts(config.record);
    return config;
}

void deleteConfigurationFiles(const ConfigPaths& paths)
{
    for (const auto* path : { &paths.ini, &paths.cmp, &paths.rg })
        ::unlink(path->c_str());
}

void writeSelectionFile(const std::string& path, const std::vector<std::string>& seleccionado)
{
    std::string text;
    for (const auto& entry : seleccionado)
        text += utf8ToCp1252(entry) + "\r\n";
    writeFileAtomically(path, text);
}

} // namespace orvex
