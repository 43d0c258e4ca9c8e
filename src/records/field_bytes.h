#pragma once

#include "common/numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace orvex {

// The byte conversions of a record's fields, little-endian as stored. A field
// shorter than the value reads its missing high bytes as 0; a longer one is read
// from its first bytes.
template <class T> T fromFieldBytes(std::string_view bytes)
{
    std::array<char, sizeof(T)> raw {};
    std::memcpy(raw.data(), bytes.data(), std::min(bytes.size(), raw.size()));
    return std::bit_cast<T>(raw);
}

inline std::int16_t cvi(std::string_view bytes) { return fromFieldBytes<std::int16_t>(bytes); }
inline std::int32_t cvl(std::string_view bytes) { return fromFieldBytes<std::int32_t>(bytes); }
inline float cvs(std::string_view bytes) { return fromFieldBytes<float>(bytes); }
inline double cvd(std::string_view bytes) { return fromFieldBytes<double>(bytes); }
// An int64 count of 1/10,000 units.
inline Money cvc(std::string_view bytes)
{
    return Money::fromRaw(fromFieldBytes<std::int64_t>(bytes));
}

std::string mki(std::int16_t value);
std::string mkl(std::int32_t value);
std::string mks(float value);
std::string mkd(double value);
std::string mkc(Money value);

// Windows-1252 upper case of one byte: a-z, the accented small letters, š œ ž ÿ.
char upperCp1252(char c);
void upperCp1252(char* bytes, std::size_t size);

// Only trailing / surrounding blanks (spaces) count, as in a stored fixed field.
inline std::string_view trimRightBlanks(std::string_view text)
{
    // Stored texts end in long runs of blanks: eight at a time.
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    std::size_t size = text.size();
    while (size >= 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + size - 8, 8);
        if (word != kBlanks)
            break;
        size -= 8;
    }
    while (size > 0 && text[size - 1] == ' ')
        --size;
    return text.substr(0, size);
}

inline std::string_view trimBlanks(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && text[first] == ' ')
        ++first;
    return trimRightBlanks(text.substr(first));
}

// The scratch file "lstkwz.cvd" that a browser keeps open (created when missing,
// never deleted) for as long as it runs. The conversions above work in memory; the
// file is kept so that hosts that look for it find it. Throws FileError.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& directory = {});
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    static constexpr const char* kName = "lstkwz.cvd";

private:
    int m_fd = -1;
};

} // namespace orvex
