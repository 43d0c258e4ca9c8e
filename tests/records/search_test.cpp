#include "records/search.h"

#include "common/text.h"
#include "records/field_text.h"
#include "table_fixture.h"

#include <random>

namespace orvex {
namespace {

using testing::FieldSpec;

class SearchTest : public testing::TableDir {
protected:
    // Records of a 12-byte text, a double (I5 = 5, I6 = 2) and a hidden 6-byte text.
    void makeTable(const std::vector<std::tuple<std::string, double, std::string>>& rows)
    {
        std::string data;
        for (const auto& [name, value, secret] : rows)
            data += fixedField(name, 12) + mkd(value) + fixedField(secret, 6);
        writeBytes("s.dat", data);
        TableConfig config;
        config.record.dataPath = "s.dat";
        config.fields = { testing::describe({ "Nro", 0, 0 }),
            testing::describe({ "Nombre", 12, 0, 0, 0, 12 }),
            testing::describe({ "Valor", 8, 80, 0, 0, 0, 5, 2 }),
            testing::describe({ "Clave", 6, 0, 1, 0, 6 }) };
        m_layout = buildTableLayout(config, "s.cmp");
        m_count = static_cast<std::int32_t>(rows.size());
    }

    std::optional<std::int32_t> find(
        SearchRequest request, std::int32_t current, const SearchProgress& progress = {})
    {
        testing::RecordingHooks hooks;
        const auto access = TableAccess::open(m_layout, AccessKind::Reading, hooks);
        const auto hit = findNext(*access, m_count, current, request, progress);
        return hit ? std::optional<std::int32_t>(hit->logical) : std::nullopt;
    }

    TableLayout m_layout;
    std::int32_t m_count = 0;
};

TEST_F(SearchTest, PatternRulesFieldChoiceAndDirections)
{
    makeTable({ { "Mariana", 0, "ana" }, { "MARIANA", 1234.5, "" }, { "ana maria", 2, "" },
        { "maria ana", 3, "" }, { "ana", 4, "" }, { "pedro", -1, "pedro" } });
    struct Case {
        const char* why;
        SearchRequest request;
        std::int32_t current;
        std::optional<std::int32_t> found;
    };
    const Case cases[] = {
        { "upper case compared", { "ana" }, 0, 1 },
        { "match case", { "ana", true }, 1, 3 },
        { "MARIANA not found with match case", { "ana", true, false, 1 }, 1, 3 },
        { "whole words", { "ana", false, true }, 0, 3 },
        { "whole word at the end", { "ana", false, true }, 3, 4 },
        { "a field equal to the word", { " ana ", false, true }, 4, 5 },
        { "number as the grid shows it", { "234.5" }, 0, 2 },
        { "decimals of the format", { "1234.50", false, true }, 0, 2 },
        { "field chosen", { "ana", false, false, 2 }, 0, std::nullopt },
        { "a hidden field is never searched", { "pedro", false, false, 3 }, 0, std::nullopt },
        { "other fields hold it", { "pedro", false, false, 0 }, 0, 6 },
        { "up from the first scans nothing", { "ana", false, false, 0, 0 }, 1, std::nullopt },
        { "up", { "ana", false, false, 0, 0 }, 5, 4 },
        { "whole file wraps to the current record", { "pedro", false, false, 0, 2 }, 6, 6 },
        { "whole file from the last record", { "mariana", false, false, 0, 2 }, 6, 1 },
        { "empty text matches the next record", { "" }, 2, 3 },
        { "two blanks for whole words", { "", false, true }, 0, 1 },
        { "a character no record can hold", { "日" }, 0, std::nullopt },
        { "beyond the table", { "ana" }, 99, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(find(c.request, c.current), c.found);
    }
}

TEST_F(SearchTest, ProgressIsReportedPerWholePercentAndCancelStopsTheScan)
{
    std::vector<std::tuple<std::string, double, std::string>> rows(400, { "x", 1.0, "" });
    rows.back() = { "needle", 1.0, "" };
    makeTable(rows);
    std::vector<int> seen;
    EXPECT_EQ(find({ "zzz" }, 0, [&](int p) { return seen.push_back(p), false; }), std::nullopt);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()); // each value once

    int calls = 0;
    EXPECT_EQ(find({ "needle" }, 0, [&](int) { return ++calls, true; }), std::nullopt);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(percentText(0), "%");
    EXPECT_EQ(percentText(42), "42%");
}

// The scan rules, written plainly: exact equality first, then padded containment.
bool referenceMatch(const TableLayout& layout, const std::string& record, const SearchRequest& r)
{
    std::string t = utf8ToCp1252(std::string(trimBlanks(r.text)));
    if (!r.matchCase)
        upperCp1252(t.data(), t.size());
    if (r.wholeWords)
        t = " " + t + " ";
    for (std::size_t k = 1; k <= layout.fields.size(); ++k) {
        const FieldLayout& f = layout.fields[k - 1];
        if (f.hidden || (r.field != 0 && static_cast<std::size_t>(r.field) != k))
            continue;
        std::string text;
        if (isNumericType(f.type) || f.type == kTypeDate)
            appendFieldText(text, f, record.data());
        else
            text = record.substr(f.offset, f.searchWidth);
        if (trimBlanks(text) == trimBlanks(t))
            return true;
        std::string padded = " " + text + " ";
        if (!r.matchCase)
            upperCp1252(padded.data(), padded.size());
        if (padded.find(t) != std::string::npos)
            return true;
    }
    return false;
}

TEST_F(SearchTest, BlockScanFindsWhatTheRecordByRecordRulesFind)
{
    // Many blocks (a block spans one percent), through an index that visits them out of order.
    std::mt19937 random(7);
    const char* words[] = { "sol", "Luna", "mar", "SOLAR", "río", "Sol y mar", "lunar" };
    std::vector<std::tuple<std::string, double, std::string>> rows;
    for (int k = 0; k < 6000; ++k)
        rows.emplace_back(
            k % 13 == 0 ? words[random() % 7] : std::to_string(k) + "x", k * 0.25, "sol");
    makeTable(rows);
    std::string index;
    for (std::int32_t k = 0; k < m_count; ++k)
        index += mkl(k % 2 ? m_count - k : k + 1);
    writeBytes("s.ndx", index);
    m_layout.mode = IndexMode::Index32;
    m_layout.indexPath = "s.ndx";
    m_layout.keyLength = 0;

    testing::RecordingHooks hooks;
    const auto access = TableAccess::open(m_layout, AccessKind::Reading, hooks);
    const std::string data = readBytes("s.dat");
    std::vector<std::string> records(1);
    for (std::int32_t i = 1; i <= m_count; ++i)
        records.push_back(
            data.substr(static_cast<std::size_t>(access->locate(i).physical - 1) * 26, 26));
    for (const char* text : { "sol", "luna", "sol y", "río", "5999x", "12.25" })
        for (const bool matchCase : { false, true })
            for (const bool wholeWords : { false, true })
                for (const int direction : { 0, 1, 2 }) {
                    const SearchRequest request { text, matchCase, wholeWords, 0, direction };
                    const std::int32_t current = 3000;
                    SCOPED_TRACE(std::string(text) + " " + std::to_string(matchCase)
                        + std::to_string(wholeWords) + std::to_string(direction));
                    std::optional<std::int32_t> expected;
                    const auto scan = [&](std::int32_t from, std::int32_t to, int step) {
                        for (std::int32_t i = from; !expected && i != to + step; i += step)
                            if (referenceMatch(
                                    m_layout, records[static_cast<std::size_t>(i)], request))
                                expected = i;
                    };
                    if (direction == 0)
                        scan(current - 1, 1, -1);
                    else
                        scan(current + 1, m_count, 1);
                    if (direction == 2)
                        scan(1, current, 1);
                    const auto hit = findNext(*access, m_count, current, request);
                    EXPECT_EQ(
                        hit ? std::optional<std::int32_t>(hit->logical) : std::nullopt, expected);
                }
}

TEST_F(SearchTest, SettingsFileKeepsTheFiveLines)
{
    SearchSettings saved { true, false, 2, "  Peña ", "Nombre" };
    writeSearchSettings("lstkwz.b", saved);
    EXPECT_EQ(readBytes("lstkwz.b"),
        "1\r\n0\r\n2\r\n  Pe\xF1"
        "a \r\nNombre\r\n");
    SearchSettings read;
    EXPECT_TRUE(readSearchSettings("lstkwz.b", read));
    EXPECT_EQ(read.matchCase, true);
    EXPECT_EQ(read.direction, 2);
    EXPECT_EQ(read.text, "  Peña ");
    EXPECT_EQ(read.field, "Nombre");

    // Short files set what they hold; a direction out of range is ignored.
    writeBytes("lstkwz.b", "0\n1\n7\n");
    SearchSettings partial;
    partial.text = "kept";
    EXPECT_TRUE(readSearchSettings("lstkwz.b", partial));
    EXPECT_TRUE(partial.wholeWords);
    EXPECT_EQ(partial.direction, 1);
    EXPECT_EQ(partial.text, "kept");
    EXPECT_FALSE(readSearchSettings("missing.b", partial));

    const std::vector<std::string> items = { "TODOS", "Nombre", "", "Número" };
    EXPECT_EQ(searchFieldItem(items, "nom"), 1);
    EXPECT_EQ(searchFieldItem(items, "NÚM"), 3);
    EXPECT_EQ(searchFieldItem(items, "nada"), 0);
    EXPECT_EQ(searchFieldItems({ testing::describe({ "Nro" }), testing::describe({ " A ", 1 }),
                  testing::describe({ "B", 1, 0, 1 }) }),
        (std::vector<std::string> { "TODOS", "A", "" }));
}

} // namespace
} // namespace orvex
