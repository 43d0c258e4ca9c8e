#include "printing/line_prefix.h"

#include "common/text.h"

namespace orvex {
namespace {

constexpr unsigned char kSizeByDigit[10] = { 12, 8, 10, 14, 6, 7, 20, 11, 12, 12 };

} // namespace

std::string prefijoLinea(std::optional<std::string_view> digitsText)
{
    std::string digits = digitsText ? trim(*digitsText) : std::string();
    if (digits.size() < kPrefixLength)
        digits.insert(0, kPrefixLength - digits.size(), '0');
    int digit[kPrefixLength];
    for (std::size_t i = 0; i < kPrefixLength; ++i) {
        // One character's numeric value: a digit, else 0 (a sign or a point alone reads 0).
        const char c = digits[i];
        digit[i] = c >= '0' && c <= '9' ? c - '0' : 0;
    }
    std::string prefix(kPrefixLength, '\0');
    prefix[0] = static_cast<char>(digit[0] + 1);
    prefix[1] = static_cast<char>(kSizeByDigit[digit[1]]);
    prefix[2] = static_cast<char>(digit[2] <= 5 ? digit[2] + 1 : 1);
    prefix[3] = static_cast<char>(digit[3] <= 6 ? digit[3] + 1 : 1);
    return prefix;
}

const std::string& defaultPrefix()
{
    static const std::string prefix = prefijoLinea();
    return prefix;
}

bool hasPrefix(std::string_view line)
{
    return !line.empty() && static_cast<unsigned char>(line[0]) < 32;
}

SplitLine splitLine(std::string_view line)
{
    SplitLine split;
    if (!hasPrefix(line)) {
        for (std::size_t i = 0; i < kPrefixLength; ++i)
            split.codes[i] = static_cast<unsigned char>(defaultPrefix()[i]);
        split.text = line;
        return split;
    }
    for (std::size_t i = 0; i < kPrefixLength && i < line.size(); ++i)
        split.codes[i] = static_cast<unsigned char>(line[i]);
    split.text = line.size() > kPrefixLength ? line.substr(kPrefixLength) : std::string_view();
    return split;
}

std::string_view trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view trimSpacesRight(std::string_view text)
{
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::size_t leadingSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? text.size() : first;
}

} // namespace orvex
