#include "records/field_bytes.h"
#include "records/field_text.h"

#include "common/calc_error.h"
#include "common/format.h"
#include "common/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace orvex {
namespace {

std::string number(double v, int decimals)
{
    std::string out;
    appendNumber(out, v, decimals);
    return out;
}

FieldLayout field(int type, std::size_t length, int decimals, int digits = 5)
{
    FieldLayout f;
    f.type = type;
    f.length = length;
    f.decimals = decimals;
    f.digits = digits;
    f.searchWidth = length;
    return f;
}

TEST(NumberFormat, HashPlacesDropTheZeroIntegerPart)
{
    struct Case {
        double value;
        int decimals;
        std::string expected;
    };
    // Finite values below 2^53 are the next test's; these are the rest.
    const Case cases[] = {
        { 0.5, 2, ".50" },
        { -0.001, 2, ".00" }, // rounds to zero: no sign
        { 1e22, 0, "1" + std::string(22, '0') }, // "#" places never cut the integer part
        { std::nan(""), 2, "" },
        { std::numeric_limits<double>::infinity(), 2, "" },
        { -std::numeric_limits<double>::infinity(), 0, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(number(c.value, c.decimals), c.expected);
    }
}

TEST(NumberFormat, AgreesWithTheCorrectlyRoundedFixedText)
{
    // The display format is the fixed text of the exact value with its zero integer part
    // dropped: checked against formatFixed over ties, tiny and large values.
    std::mt19937_64 random(3);
    std::vector<double> values
        = { 0.125, 0.375, 2.5, 1000.125, 0.0005, 0.00015, -0.005, 99999999999999.9 };
    for (int k = 0; k < 20000; ++k)
        values.push_back(std::ldexp(static_cast<double>(random() % (1ULL << 53)),
                             -static_cast<int>(random() % 70))
            * (k % 2 ? -1 : 1));
    for (const double v : values)
        for (int decimals = 0; decimals <= 6; ++decimals) {
            std::string expected = formatFixed(v, decimals);
            const bool negative = expected[0] == '-';
            const std::size_t digits = negative ? 1 : 0;
            if (expected.compare(digits, 2, "0.") == 0 || expected.substr(digits) == "0")
                expected.erase(digits, 1);
            ASSERT_EQ(number(v, decimals), expected) << v << " " << decimals;
        }
}

TEST(NumberFormat, IntegersAndCurrencyAreExact)
{
    struct Case {
        std::int64_t value;
        int decimals;
        const char* integer;
        const char* currency; // value read as a raw count of 1/10,000
    };
    const Case cases[] = {
        { 1234, 2, "1234.00", ".12" },
        { 0, 0, "", "" },
        { 0, 2, ".00", ".00" },
        { -5, 1, "-5.0", ".0" },
        { 10150, 2, "10150.00", "1.02" }, // 1.015: exact tie, to even
        { 10250, 2, "10250.00", "1.02" },
        { 12345678, 6, "12345678.000000", "1234.567800" },
        { std::numeric_limits<std::int64_t>::min(), 0, "-9223372036854775808", "-922337203685478" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::string integer, currency;
        appendInteger(integer, c.value, c.decimals);
        appendCurrency(currency, c.value, c.decimals);
        EXPECT_EQ(integer, c.integer);
        EXPECT_EQ(currency, c.currency);
    }
}

TEST(FieldText, EveryTypeAsTheGridShowsIt)
{
    struct Case {
        int type;
        std::string bytes;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        { 1, "  0.5   ", 2, ".50" },
        { 1, "12abc   ", 0, "12" }, // the text's leading number
        { 1, "1e999   ", 2, "" },
        { 2, mki(1234), 2, "1234.00" },
        { 2, mki(0), 0, "" },
        { 40, mkl(-70000), 0, "-70000" },
        { 41, mks(0.25f), 3, ".250" },
        { 41, mks(std::numeric_limits<float>::quiet_NaN()), 2, "" },
        { 80, mkd(1234.5), 2, "1234.50" },
        { 80, mkd(-std::numeric_limits<double>::infinity()), 2, "" },
        { 81, mkc(Money::fromRaw(-12345)), 2, "-1.23" },
        { 10, "5/3/99    ", 0, "05/03/1999" },
        { 10, "          ", 0, "  /  /    " },
        { 10, "  /  /    ", 0, "  /  /    " },
        { 10, "no date   ", 0, "no date" },
        { 0,
            "  Ana  \xF1"
            "a  ",
            0, "  Ana  ña" },
        { 7, "        ", 0, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const FieldLayout f = field(c.type, c.bytes.size(), c.decimals);
        EXPECT_EQ(fieldDisplayText(f, c.bytes), c.expected);
    }
    // A field shorter than its value reads the missing high bytes as 0.
    EXPECT_EQ(fieldDisplayText(field(40, 2, 0), mki(300)), "300");
}

TEST(FieldText, AnEditShowsItsFormattedValueAndStoresOnlyItsOwnBytes)
{
    // Type 2 with I5 = 3 and I6 = 0: 12.6 shows 13 and stores the int16 13.
    FieldLayout f = field(2, 2, 0, 3);
    f.offset = 3;
    EXPECT_EQ(editedCellText(f, "12.6"), "13");
    EXPECT_EQ(editorMaxLength(f), 3);
    std::string record = "abc..xyz";
    storeFieldText(f, "13", record.data());
    EXPECT_EQ(record, "abc" + mki(13) + "xyz");

    EXPECT_EQ(editedCellText(field(80, 8, 2), "  -0.004x"), ".00");
    EXPECT_EQ(editedCellText(field(80, 8, 2), "1e999  "), "1e999");
    EXPECT_EQ(editedCellText(field(0, 8, 0), "texto  "), "texto");
    EXPECT_EQ(editorMaxLength(field(80, 8, 2, 5)), 8);
    EXPECT_EQ(editorMaxLength(field(10, 8, 0)), 10);
    EXPECT_EQ(editorMaxLength(field(1, 12, 2)), 12);

    struct Case {
        int type;
        std::size_t length;
        const char* text;
        std::string stored;
    };
    const Case cases[] = {
        { 0, 6, "niño", "ni\xF1o  " },
        { 0, 3, "largo", "lar" },
        { 10, 8, "5/3/1999", "05/03/99" },
        { 10, 10, "5/3/99", "05/03/1999" },
        { 40, 4, "-70000.4", mkl(-70000) },
        { 41, 4, "0.25", mks(0.25f) },
        { 80, 8, "1234.5678", mkd(1234.5678) },
        { 81, 8, "1.00004", mkc(Money::fromRaw(10000)) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string bytes(c.length, '#');
        storeFieldText(field(c.type, c.length, 2), c.text, bytes.data());
        EXPECT_EQ(bytes, c.stored);
    }
    std::string bytes(2, ' ');
    EXPECT_THROW(storeFieldText(field(2, 2, 0), "40000", bytes.data()), CalcError);
    EXPECT_THROW(storeFieldText(field(41, 4, 0), "1e39", bytes.data()), CalcError);
}

TEST(FieldBytes, ConversionsRoundTripAndUpperCaseCoversWindows1252)
{
    EXPECT_EQ(cvi(mki(-2)), -2);
    EXPECT_EQ(cvl(mkl(123456789)), 123456789);
    EXPECT_EQ(cvs(mks(1.5f)), 1.5f);
    EXPECT_EQ(cvd(mkd(-0.1)), -0.1);
    EXPECT_EQ(cvc(mkc(Money::fromRaw(-5))).raw(), -5);
    EXPECT_EQ(mki(0x0102), std::string("\x02\x01", 2)); // little-endian
    std::string text = "a\xE1\xF1\xFF\x9A\xF7\xDFz";
    upperCp1252(text.data(), text.size());
    EXPECT_EQ(text, "A\xC1\xD1\x9F\x8A\xF7\xDFZ");
    std::string all(256, ' ');
    for (int b = 0; b < 256; ++b)
        all[static_cast<std::size_t>(b)] = static_cast<char>(b);
    std::string blockUpper = all;
    upperCp1252(blockUpper.data(), blockUpper.size());
    for (std::size_t b = 0; b < 256; ++b)
        EXPECT_EQ(blockUpper[b], upperCp1252(all[b])) << b; // the block and the byte agree
    EXPECT_EQ(cp1252ToUtf8(blockUpper.substr(0xE0, 32)), "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ÷ØÙÚÛÜÝÞŸ");
    EXPECT_EQ(trimBlanks("  a b \t "), "a b \t");
}

} // namespace
} // namespace orvex
