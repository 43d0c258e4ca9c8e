#include "records/search.h"

#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"
#include "records/field_bytes.h"

#include <algorithm>
#include <cstring>

namespace orvex {
namespace {

// Every character a number's text can hold, and a normalized date's.
constexpr std::string_view kNumberAlphabet = "0123456789.-";
constexpr std::string_view kDateAlphabet = "0123456789/ ";

// Settings lines longer than a text box holds are not read.
constexpr std::size_t kSettingsLimit = 1 << 17;

bool within(std::string_view text, std::string_view alphabet)
{
    return text.find_first_not_of(alphabet) == std::string_view::npos;
}

std::string upperText(std::string_view utf8)
{
    std::string bytes = utf8ToCp1252(utf8);
    upperCp1252(bytes.data(), bytes.size());
    return bytes;
}

// nearest(part / whole x 100) in integers, halves to even.
// Whether upper-casing a text can change whether it holds upper: only when upper has a
// letter that some other byte turns into.
bool caseMatters(std::string_view upper)
{
    for (const char c : upper)
        for (int b = 0; b < 256; ++b)
            if (static_cast<char>(b) != c && upperCp1252(static_cast<char>(b)) == c)
                return true;
    return false;
}

int wholePercent(std::int64_t part, std::int64_t whole)
{
    const std::int64_t scaled = part * 100;
    std::int64_t q = scaled / whole;
    const std::int64_t r = scaled % whole;
    if (2 * r > whole || (2 * r == whole && (q & 1) != 0))
        ++q;
    return static_cast<int>(q);
}

// Finds a pattern in a text, when caseless whatever the text's case (the pattern is then
// upper case), without copying the text: memchr runs over the spellings of the pattern's
// rarest character in a sample of the text, and each hit is compared whole.
class Finder {
public:
    void reset(std::string_view pattern, bool caseless, std::string_view sample)
    {
        m_pattern = pattern;
        m_caseless = caseless;
        std::size_t best = SIZE_MAX;
        for (std::size_t j = 0; j < pattern.size(); ++j) {
            char spellings[2] = { pattern[j], pattern[j] };
            int count = 0;
            for (int b = 0; caseless && b < 256 && count < 2; ++b)
                if (upperCp1252(static_cast<char>(b)) == pattern[j])
                    spellings[count++] = static_cast<char>(b);
            std::size_t seen = 0;
            for (const char c : sample)
                seen += c == spellings[0] || c == spellings[1];
            if (seen < best) {
                best = seen;
                m_anchor = j;
                m_spellings[0] = spellings[0];
                m_spellings[1] = spellings[1];
            }
        }
        m_next[0] = m_next[1] = 0;
        m_valid[0] = m_valid[1] = false;
    }

    // The first occurrence in text starting at from or later; npos when none. Calls for one
    // text come with growing from.
    std::size_t find(std::string_view text, std::size_t from)
    {
        const std::size_t size = m_pattern.size();
        for (std::size_t pos = from + m_anchor; pos < text.size();) {
            for (int k = 0; k < 2; ++k)
                if (!m_valid[k] || (m_next[k] != std::string_view::npos && m_next[k] < pos)) {
                    const void* at
                        = std::memchr(text.data() + pos, m_spellings[k], text.size() - pos);
                    m_next[k] = at
                        ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data())
                        : std::string_view::npos;
                    m_valid[k] = true;
                }
            const std::size_t hit = std::min(m_next[0], m_next[1]);
            if (hit == std::string_view::npos)
                return hit;
            const std::size_t start = hit - m_anchor;
            if (start + size <= text.size() && matchesAt(text.data() + start))
                return start;
            pos = hit + 1;
        }
        return std::string_view::npos;
    }

private:
    bool matchesAt(const char* at) const
    {
        if (!m_caseless)
            return std::memcmp(at, m_pattern.data(), m_pattern.size()) == 0;
        for (std::size_t i = 0; i < m_pattern.size(); ++i)
            if (upperCp1252(at[i]) != m_pattern[i])
                return false;
        return true;
    }

    std::string_view m_pattern;
    bool m_caseless = false;
    std::size_t m_anchor = 0;
    char m_spellings[2] = {};
    std::size_t m_next[2] = {};
    bool m_valid[2] = {};
};

class Scan {
public:
    Scan(const TableAccess& access, std::int32_t count, const SearchRequest& request,
        const SearchProgress& progress);

    // False when no record can ever match: nothing is scanned then.
    bool possible() const { return m_possible; }
    // Scans from..to (downwards when down) within 1..count; the hit, or nullopt when
    // nothing matched (cancelled() tells why).
    std::optional<SearchHit> run(std::int64_t from, std::int64_t to, bool down);
    bool cancelled() const { return m_cancelled; }

private:
    bool matches(const char* record);
    bool reportAndCancel(std::int32_t logical);
    std::optional<SearchHit> runByBlocks(RecordReader& reader);

    const TableAccess& m_access;
    std::int32_t m_count;
    const SearchProgress& m_progress;
    std::vector<const FieldLayout*> m_fields;
    std::string m_core; // the trimmed pattern, upper case unless matching case
    std::string m_pattern; // m_core, within blanks for whole words
    bool m_upper;
    bool m_possible = true;
    bool m_byBlocks = true;
    bool m_cancelled = false;
    int m_lastPercent = -1;
    std::vector<char> m_text; // " " + a field's text + " "
    Finder m_finder;
    std::vector<std::size_t> m_candidates;
};

Scan::Scan(const TableAccess& access, std::int32_t count, const SearchRequest& request,
    const SearchProgress& progress)
    : m_access(access)
    , m_count(count)
    , m_progress(progress)
    , m_upper(!request.matchCase)
{
    const std::string_view typed = trimBlanks(request.text);
    m_core = utf8ToCp1252(typed);
    // A character no stored text can hold matches nothing (it would become "?").
    m_possible = cp1252ToUtf8(m_core) == typed;
    if (m_upper) {
        upperCp1252(m_core.data(), m_core.size());
        // Digits, signs and the like are found as they are: no need to upper-case the fields.
        m_upper = caseMatters(m_core);
    }
    m_pattern = request.wholeWords ? " " + m_core + " " : m_core;

    const auto& fields = access.layout().fields;
    for (std::size_t k = 1; k <= fields.size(); ++k) {
        const FieldLayout& f = fields[k - 1];
        if (f.hidden || (request.field != 0 && static_cast<std::size_t>(request.field) != k))
            continue;
        const bool number = isNumericType(f.type);
        // A number's text cannot hold a character outside its alphabet.
        if (number && !m_core.empty() && !within(m_core, kNumberAlphabet))
            continue;
        m_fields.push_back(&f);
        // A date's own text is digits and "/": beyond them, only its stored text can match.
        if (m_core.empty() || number || (f.type == kTypeDate && within(m_core, kDateAlphabet)))
            m_byBlocks = false;
    }
    if (m_fields.empty())
        m_possible = false;
    std::size_t room = 0;
    for (const FieldLayout* f : m_fields)
        room = std::max(room, std::max(fieldTextRoom(*f), f->searchWidth));
    m_text.resize(room + 2);
}

// A field equal to the trimmed pattern always holds it, upper-cased or not, within
// blanks or not: the containment test alone decides.
bool Scan::matches(const char* record)
{
    for (const FieldLayout* f : m_fields) {
        char* const start = m_text.data();
        char* at = start;
        *at++ = ' ';
        const bool number = isNumericType(f->type);
        if (number || f->type == kTypeDate)
            at = putFieldText(at, *f, record);
        else
            at = std::copy_n(record + f->offset, f->searchWidth, at);
        *at++ = ' ';
        if (m_upper && !number)
            upperCp1252(start, static_cast<std::size_t>(at - start));
        if (std::string_view(start, static_cast<std::size_t>(at - start)).find(m_pattern)
            != std::string_view::npos)
            return true;
    }
    return false;
}

bool Scan::reportAndCancel(std::int32_t logical)
{
    const int percent = wholePercent(logical, m_count);
    if (percent == m_lastPercent)
        return false;
    m_lastPercent = percent;
    m_cancelled = m_progress && m_progress(percent);
    return m_cancelled;
}

std::optional<SearchHit> Scan::run(std::int64_t from, std::int64_t to, bool down)
{
    const std::int64_t first
        = down ? std::min<std::int64_t>(from, m_count) : std::max<std::int64_t>(from, 1);
    const std::int64_t last
        = down ? std::max<std::int64_t>(to, 1) : std::min<std::int64_t>(to, m_count);
    if (m_cancelled || (down ? first < last : first > last))
        return std::nullopt;
    // A block spans at most one whole percent, so progress and Cancel are seen at each step.
    const auto percentStep = static_cast<std::size_t>(std::max<std::int32_t>(m_count / 100, 1));
    RecordReader reader(m_access, static_cast<std::int32_t>(first), static_cast<std::int32_t>(last),
        m_byBlocks ? percentStep : 0);
    if (m_byBlocks)
        return runByBlocks(reader);
    ScannedRecord r;
    while (reader.next(r)) {
        if (r.bytes && matches(r.bytes))
            return SearchHit { r.logical, r.physical };
        if (reportAndCancel(r.logical))
            return std::nullopt;
    }
    return std::nullopt;
}

// Every field searched shows its stored bytes, so a block whose bytes do not hold the
// pattern's core holds no match: only records where the core starts are examined.
std::optional<SearchHit> Scan::runByBlocks(RecordReader& reader)
{
    const auto length = static_cast<std::size_t>(m_access.layout().recordLength);
    while (reader.loadBlock()) {
        const std::string_view bytes = reader.blockBytes();
        m_finder.reset(m_core, m_upper, bytes.substr(0, 4096));
        m_candidates.clear();
        std::size_t from = 0;
        while (from < bytes.size()) {
            const std::size_t at = m_finder.find(bytes, from);
            if (at == std::string_view::npos)
                break;
            const std::size_t slot = at / length;
            m_candidates.push_back(slot);
            from = (slot + 1) * length;
        }
        const std::size_t size = reader.blockSize();
        for (std::size_t k = 0; k < m_candidates.size(); ++k) {
            const std::size_t slot
                = reader.descending() ? m_candidates[m_candidates.size() - 1 - k] : m_candidates[k];
            const ScannedRecord r = reader.slot(slot);
            if (r.bytes && matches(r.bytes))
                return SearchHit { r.logical, r.physical };
        }
        const ScannedRecord last = reader.slot(reader.descending() ? 0 : size - 1);
        reader.skipBlock();
        if (reportAndCancel(last.logical))
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> searchFieldItems(const std::vector<FieldDescription>& fields)
{
    std::vector<std::string> items = { "TODOS" };
    for (std::size_t k = 1; k < fields.size(); ++k)
        items.push_back(
            fields[k].hidden() ? std::string() : std::string(trimBlanks(fields[k].caption)));
    return items;
}

int searchFieldItem(const std::vector<std::string>& items, std::string_view saved)
{
    const std::string wanted = upperText(saved);
    for (std::size_t k = 0; k < items.size(); ++k)
        if (upperText(items[k]).starts_with(wanted))
            return static_cast<int>(k);
    return 0;
}

bool readSearchSettings(const std::string& path, SearchSettings& settings)
{
    if (!fileExists(path))
        return false;
    std::string bytes;
    try {
        bytes = readFileStart(path, kSettingsLimit);
    } catch (const TableError&) {
        return false;
    }
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size() && lines.size() < 5) {
        const auto end = bytes.find('\n', at);
        std::string line
            = bytes.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(cp1252ToUtf8(line));
        at = end == std::string::npos ? bytes.size() : end + 1;
    }
    const auto number = [](const std::string& line) -> std::optional<double> {
        try {
            return nearest(leadingNumber(line));
        } catch (const CalcError&) {
            return std::nullopt;
        }
    };
    if (lines.size() > 0 && number(lines[0]))
        settings.matchCase = *number(lines[0]) != 0;
    if (lines.size() > 1 && number(lines[1]))
        settings.wholeWords = *number(lines[1]) != 0;
    if (lines.size() > 2) {
        const auto d = number(lines[2]);
        if (d && *d >= 0 && *d <= 2)
            settings.direction = static_cast<int>(*d);
    }
    if (lines.size() > 3)
        settings.text = lines[3];
    if (lines.size() > 4)
        settings.field = lines[4];
    return true;
}

void writeSearchSettings(const std::string& path, const SearchSettings& s)
{
    const std::string text = std::string(s.matchCase ? "1" : "0") + "\r\n"
        + (s.wholeWords ? "1" : "0") + "\r\n" + std::to_string(s.direction) + "\r\n" + s.text
        + "\r\n" + s.field + "\r\n";
    writeFileAtomically(path, utf8ToCp1252(text));
}

std::string percentText(int percent)
{
    return percent == 0 ? std::string("%") : std::to_string(percent) + "%";
}

std::optional<SearchHit> findNext(const TableAccess& access, std::int32_t count,
    std::int32_t current, const SearchRequest& request, const SearchProgress& progress)
{
    Scan scan(access, count, request, progress);
    if (!scan.possible() || count < 1)
        return std::nullopt;
    const std::int64_t cur = current;
    switch (request.direction) {
    case 0:
        return scan.run(cur - 1, 1, true);
    case 1:
        return scan.run(cur + 1, count, false);
    case 2:
        if (auto hit = scan.run(cur + 1, count, false))
            return hit;
        return scan.run(1, cur, false);
    default:
        return std::nullopt;
    }
}

} // namespace orvex
