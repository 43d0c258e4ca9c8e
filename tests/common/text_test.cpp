#include "common/text.h"

#include <gtest/gtest.h>

#include <iconv.h>

namespace orvex {
namespace {

TEST(TextBeforeDelimiter, MissingDelimiterGivesEmptyOrWhole)
{
    EXPECT_EQ(textBeforeDelimiter("3. Serie Gradiente Aritmética", "."), "3");
    EXPECT_EQ(textBeforeDelimiter("abc", "."), "");
    EXPECT_EQ(textBeforeDelimiter("abc", ".", true), "abc");
    EXPECT_EQ(textBeforeDelimiter("a.b.c", "."), "a");
    EXPECT_EQ(textBeforeDelimiter("x--y", "--"), "x");
}

TEST(ColumnWidthTwips, GridWidthsAtEightAndAQuarterPoints)
{
    struct Case {
        int chars, twips;
    };
    const Case cases[]
        = { { 3, 422 }, { 30, 4208 }, { 10, 1404 }, { 4, 562 }, { 5, 702 }, { 7, 983 } };
    for (const auto& c : cases)
        EXPECT_EQ(columnWidthTwips(c.chars, 8.25), c.twips) << c.chars;
}

TEST(Rellenar, PadsTheTrimmedTextOnTheChosenSideAndNeverCuts)
{
    struct Case {
        const char* text;
        int width;
        char fill;
        int side;
        const char* expected;
    };
    const Case cases[] = {
        { "7", 2, '0', 0, "07" },
        { " 7 ", 4, ' ', 1, "7   " },
        { "12345", 2, '0', 0, "12345" },
        { "", 3, '*', 0, "***" },
        { "ab", 0, '0', 0, "ab" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(rellenar(c.text, c.width, c.fill, c.side), c.expected);
    }
}

// With the byte-by-byte check below, every character of Windows-1252 goes both ways.
TEST(Cp1252, RoundTripsEveryByteAndMarksTheRest)
{
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
    EXPECT_EQ(utf8ToCp1252(std::string("\xFF\xFE", 2)), "??"); // invalid UTF-8
    // Every byte reads back to itself.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

// The table against the C library's own Windows-1252, byte by byte; the five bytes
// it leaves undefined read as the C1 control of the same number, as Windows does.
TEST(Cp1252, EveryByteAsIconvReadsIt)
{
    const iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b), out[8];
        char* inp = &in;
        char* outp = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        std::string expected;
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1))
            expected.assign(out, static_cast<std::size_t>(outp - out));
        else
            expected = { static_cast<char>(0xC2), static_cast<char>(b) };
        EXPECT_EQ(cp1252ToUtf8(std::string(1, in)), expected) << "byte " << b;
    }
    iconv_close(cd);
}

TEST(FixedField, PadsAndCutsInBytes)
{
    EXPECT_EQ(fixedField("12", 4), "12  ");
    EXPECT_EQ(fixedField("12345678901234567890", 15), "123456789012345");
    EXPECT_EQ(fixedField("Aritmética", 10), "Aritm\xE9tica");
    EXPECT_EQ(fixedField("", 3), "   ");
    EXPECT_EQ(readField("TASA   x", 0, 4), "TASA");
    EXPECT_EQ(readField("ab", 1, 4), "b   "); // past the end reads as blanks
    EXPECT_EQ(readField("ab", 9, 2), "  ");
}

TEST(Trim, Blanks)
{
    EXPECT_EQ(trim("  a b \t"), "a b");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trimRight("  a  "), "  a");
}

} // namespace
} // namespace orvex
