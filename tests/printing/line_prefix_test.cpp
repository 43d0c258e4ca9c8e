#include "printing/line_prefix.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvex {
namespace {

std::vector<int> codes(const std::string& prefix)
{
    std::vector<int> out;
    for (char c : prefix)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}

TEST(PrefijoLinea, BuildsTheFourCodesFromTheDigits)
{
    struct Case {
        const char* digits;
        std::vector<int> expected;
    };
    const Case cases[] = {
        { "1", { 1, 12, 1, 2 } }, // right-aligned ordinary line
        { "2", { 1, 12, 1, 3 } },
        { "1000", { 2, 12, 1, 1 } }, // a page break
        { "0312", { 1, 14, 2, 3 } }, // 14-point bold centred
        { "  0312  ", { 1, 14, 2, 3 } },
        { "2312x", { 3, 14, 2, 3 } }, // only the first four count
        // Every size digit, styles and alignments beyond their range.
        { "0100", { 1, 8, 1, 1 } },
        { "0200", { 1, 10, 1, 1 } },
        { "0400", { 1, 6, 1, 1 } },
        { "0500", { 1, 7, 1, 1 } },
        { "0600", { 1, 20, 1, 1 } },
        { "0700", { 1, 11, 1, 1 } },
        { "0800", { 1, 12, 1, 1 } },
        { "9956", { 10, 12, 6, 7 } },
        { "0067", { 1, 12, 1, 1 } },
        // A non-digit reads 0.
        { "a-.3", { 1, 12, 1, 4 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digits);
        EXPECT_EQ(codes(prefijoLinea(c.digits)), c.expected);
    }
    EXPECT_EQ(codes(prefijoLinea()), (std::vector<int> { 1, 12, 1, 1 }));
    EXPECT_EQ(prefijoLinea(""), defaultPrefix());
}

TEST(SplitLine, SeparatesThePrefixOrGivesTheDefault)
{
    const SplitLine plain = splitLine("Hola");
    EXPECT_EQ(plain.text, "Hola");
    EXPECT_EQ(plain.size(), 12);
    EXPECT_EQ(plain.alignment(), kAlignLeft);

    const std::string tenLine = prefijoLinea("9200") + "diez";
    const SplitLine ten = splitLine(tenLine);
    EXPECT_EQ(ten.kind(), 10);
    EXPECT_EQ(ten.size(), 10);
    EXPECT_EQ(ten.text, "diez");

    const std::string cutLine("\x01\x0e", 2);
    const SplitLine cut = splitLine(cutLine);
    EXPECT_EQ(cut.size(), 14);
    EXPECT_EQ(cut.style(), 0);
    EXPECT_EQ(cut.text, "");
}

} // namespace
} // namespace orvex
