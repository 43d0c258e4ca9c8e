#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// A report line may start with four control characters: kind, font size in points (8
// meaning 8.5), style and alignment. A line whose first byte is 32 or more has none and
// prints with the default prefix.
enum LineKind : unsigned char {
    kKindOrdinary = 1,
    kKindPageBreak = 2, // ends the page, not printed
    kKindHeader = 3, // printed at the top of each following page
    kKindKeepDown = 4, // never the last line of a page
};
enum LineStyle : unsigned char {
    kStylePlain = 1,
    kStyleBold = 2,
    kStyleItalic = 3,
    kStyleBoldItalic = 4,
    kStyleUnderlined = 5,
    kStyleBoldUnderlined = 6,
};
enum LineAlignment : unsigned char {
    kAlignLeft = 1,
    kAlignRight = 2,
    kAlignCentre = 3,
    kAlignJustified = 4,
    kAlignCells = 5, // each character centred in the width of "A"
    kAlignLeadIndent = 6, // leading blanks become an indent measured at 11 points
    kAlignLeadIndentCells = 7, // both
};

inline constexpr std::size_t kPrefixLength = 4;

// PrefijoLinea: the prefix for a text of four decimal digits K S E A (kind,
// size, style, alignment). The text is trimmed, padded on the left with "0" to four
// characters or cut to its first four; a non-digit reads as 0. Codes: K + 1; size by
// S (1 8, 2 10, 3 14, 4 6, 5 7, 6 20, 7 11, else 12); E + 1 for E <= 5, else 1; A + 1
// for A <= 6, else 1. No text gives the default prefix (1, 12, 1, 1).
std::string prefijoLinea(std::optional<std::string_view> digitsText = std::nullopt);

// The default prefix, codes 1, 12, 1, 1.
const std::string& defaultPrefix();

// True when the line carries a prefix (its first byte is below 32).
bool hasPrefix(std::string_view line);

// A line split into its prefix codes and its text. A line without a prefix gets the
// default codes; a prefix cut short by the line's end reads its missing codes as 0.
struct SplitLine {
    std::array<unsigned char, kPrefixLength> codes {};
    std::string_view text;
    unsigned char kind() const { return codes[0]; }
    unsigned char size() const { return codes[1]; }
    unsigned char style() const { return codes[2]; }
    unsigned char alignment() const { return codes[3]; }
};
SplitLine splitLine(std::string_view line);

// Blanks only, as the report's own trimming does (tabs are text).
std::string_view trimSpaces(std::string_view text);
std::string_view trimSpacesRight(std::string_view text);
std::size_t leadingSpaces(std::string_view text);

} // namespace orvex
