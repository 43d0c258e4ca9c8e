#include "common/text.h"

#include "common/numbers.h"

#include <array>
#include <cstdint>

namespace orvex {
namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F; the five unassigned
// bytes map to the C1 control of the same number, as Windows does.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char toCp1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighTable.size(); ++i)
        if (kHighTable[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::string textBeforeDelimiter(
    std::string_view text, std::string_view delimiter, bool wholeIfMissing)
{
    const auto pos = delimiter.empty() ? std::string_view::npos : text.find(delimiter);
    if (pos == std::string_view::npos)
        return wholeIfMissing ? std::string(text) : std::string();
    return std::string(text.substr(0, pos));
}

int columnWidthTwips(int characters, double fontPoints)
{
    return toInt32(characters * fontPoints * 20.0 * 0.85 + 1.0);
}

std::string trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string trimRight(std::string_view text)
{
    const auto last = text.find_last_not_of(" \t");
    if (last == std::string_view::npos)
        return {};
    return std::string(text.substr(0, last + 1));
}

std::string rellenar(std::string_view text, int width, char fill, int side)
{
    std::string t = trim(text);
    if (width <= 0 || t.size() >= static_cast<std::size_t>(width))
        return t;
    const std::string pad(static_cast<std::size_t>(width) - t.size(), fill);
    return side != 0 ? t + pad : pad + t;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, kHighTable[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            len = 4;
        } else {
            out += '?';
            ++i;
            continue;
        }
        bool valid = i + len <= utf8.size();
        for (std::size_t k = 1; valid && k < len; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += toCp1252(cp);
        i += len;
    }
    return out;
}

std::string fixedField(std::string_view utf8, std::size_t width)
{
    std::string bytes = utf8ToCp1252(utf8);
    bytes.resize(width, ' ');
    return bytes;
}

std::string readField(std::string_view record, std::size_t offset, std::size_t width)
{
    std::string bytes;
    if (offset < record.size())
        bytes = std::string(record.substr(offset, width));
    bytes.resize(width, ' ');
    return cp1252ToUtf8(bytes);
}

} // namespace orvex
