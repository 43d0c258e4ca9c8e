#include "worksheet/worksheet_file.h"

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"

#include <algorithm>
#include <cctype>

namespace orvex {
namespace {

struct Field {
    std::size_t offset, width;
};
constexpr std::size_t width(int column) { return kColumnFieldWidths[column]; }
constexpr Field kKind { 0, 4 };
constexpr Field kAmount { 4, width(kColValor) };
constexpr Field kStart { 19, width(kColInicio) };
constexpr Field kEnd { 26, width(kColFinal) };
constexpr Field kPercent { 33, width(kColPorcentaje) };
constexpr Field kSensitivity { 48, width(kColSensibilidad) };
constexpr std::size_t kUsedBytes = 55;
constexpr std::size_t kMaxRecords = kWorksheetMaxBytes / kWorksheetRecordSize;

std::string field(std::string_view record, Field f)
{
    return trim(readField(record, f.offset, f.width));
}

// The kind list entry a stored kind field selects: the first entry that begins
// with it, compared without regard to case; none for an empty field.
std::optional<std::string_view> kindForField(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    for (std::string_view entry : kKindTexts) {
        if (entry.size() < text.size())
            continue;
        const bool match = std::equal(text.begin(), text.end(), entry.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a))
                == std::tolower(static_cast<unsigned char>(b));
        });
        if (match)
            return entry;
    }
    return std::nullopt;
}

std::string record(std::initializer_list<std::pair<Field, std::string_view>> fields)
{
    std::string bytes(kWorksheetRecordSize, ' ');
    for (const auto& [f, text] : fields)
        bytes.replace(f.offset, f.width, fixedField(text, f.width));
    return bytes;
}

// Upper case of ASCII and Latin-1 letters in UTF-8 text.
std::string upperCase(std::string_view utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b == 0xC3 && i + 1 < utf8.size()) {
            auto next = static_cast<unsigned char>(utf8[i + 1]);
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7)
                next = static_cast<unsigned char>(next - 0x20);
            out += static_cast<char>(b);
            out += static_cast<char>(next);
            ++i;
        } else {
            out += static_cast<char>(std::toupper(b));
        }
    }
    return out;
}

} // namespace

LoadedWorksheet parseWorksheetFile(std::string_view bytes)
{
    LoadedWorksheet loaded;
    const double records = nearest(static_cast<double>(bytes.size()) / kWorksheetRecordSize);
    const std::size_t count = std::min(static_cast<std::size_t>(records), kMaxRecords);
    auto recordAt = [&](std::size_t k) {
        const std::size_t offset = (k - 1) * kWorksheetRecordSize;
        return offset < bytes.size() ? bytes.substr(offset, kWorksheetRecordSize)
                                     : std::string_view();
    };
    if (count >= 1)
        loaded.rate = field(recordAt(1), kPercent);
    for (std::size_t k = 2; k <= count; ++k) {
        const std::string_view rec = recordAt(k);
        const auto kind = kindForField(field(rec, kKind));
        if (!kind)
            continue;
        const int row = static_cast<int>(k) - 1;
        loaded.sheet.setCell(row, kColTipo, std::string(*kind));
        loaded.sheet.setCell(row, kColValor, field(rec, kAmount));
        loaded.sheet.setCell(row, kColInicio, field(rec, kStart));
        loaded.sheet.setCell(row, kColFinal, field(rec, kEnd));
        loaded.sheet.setCell(row, kColPorcentaje, field(rec, kPercent));
        loaded.sheet.setCell(row, kColSensibilidad, field(rec, kSensitivity));
    }
    return loaded;
}

std::string serializeWorksheet(const Worksheet& sheet)
{
    std::string bytes = record({ { kKind, "TASA" }, { kPercent, sheet.rate() } });
    for (int row = 1; row <= kWorksheetRows; ++row) {
        if (!sheet.rowInUse(row))
            continue;
        bytes += record({
            { kKind, textBeforeDelimiter(sheet.cell(row, kColTipo), ".") },
            { kAmount, sheet.cell(row, kColValor) },
            { kStart, sheet.cell(row, kColInicio) },
            { kEnd, sheet.cell(row, kColFinal) },
            { kPercent, sheet.cell(row, kColPorcentaje) },
            { kSensitivity, sheet.cell(row, kColSensibilidad) },
        });
    }
    static_assert(kUsedBytes <= kWorksheetRecordSize);
    return bytes;
}

LoadedWorksheet loadWorksheetFile(const std::string& path)
{
    return parseWorksheetFile(readRegularFile(path, kWorksheetMaxBytes).bytes);
}

void saveWorksheetFile(const std::string& path, const Worksheet& sheet)
{
    writeFileAtomically(path, serializeWorksheet(sheet));
}

std::string worksheetFileName(const std::string& name)
{
    if (name.empty())
        return name;
    const auto slash = name.find_last_of('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::string_view base = std::string_view(name).substr(start);
    if (base.empty() || base.find('.') != std::string_view::npos)
        return name;
    return name.substr(0, start) + upperCase(base) + ".ORV";
}

} // namespace orvex
