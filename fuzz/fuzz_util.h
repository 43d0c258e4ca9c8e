#pragma once

// Shared by the fuzz targets: a scratch folder for readers that take a path, the
// checks for what must never reach the screen, and the splitting of one input into
// the several files a reader may need.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::fuzz {

// The target's own empty folder, made the current directory once; in memory
// (/dev/shm) where the machine has it, so the atomic saves' flushes cost nothing.
void enterScratchFolder();

// Replaces the file name in the current folder with bytes.
void writeScratchFile(const char* name, std::string_view bytes);

[[noreturn]] inline void finding(const char* what, std::string_view detail)
{
    std::fprintf(
        stderr, "\n== finding: %s: [%.*s]\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// Text formatted from numbers: a NaN or an infinity there is a finding, whatever
// spelling (to_chars, printf) produced it.
inline void requireFiniteText(std::string_view text, const char* what)
{
    // Plain character tests: a string comparison per position goes through the fuzzer's
    // memcmp hook, which made a long schedule's chart check outlast the time limit.
    const auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    for (std::size_t k = 0; k + 3 <= text.size(); ++k) {
        const char a = lower(text[k]), b = lower(text[k + 1]), c = lower(text[k + 2]);
        if ((a == 'n' && b == 'a' && c == 'n') || (a == 'i' && b == 'n' && c == 'f'))
            finding(what, text);
    }
}

// Counts what a printer would receive and keeps none of it.
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

inline void requireFinite(double value, const char* what)
{
    if (!std::isfinite(value))
        finding(what, std::to_string(value));
}

// The input cut at every occurrence of kPartSeparator into exactly count parts (missing
// ones empty, the last one holding the rest).
inline constexpr std::string_view kPartSeparator = "\n#ORVEX#\n";

inline std::vector<std::string_view> splitParts(
    const std::uint8_t* data, std::size_t size, std::size_t count)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const auto at = rest.find(kPartSeparator);
        if (at == std::string_view::npos)
            break;
        parts.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kPartSeparator.size());
    }
    parts.push_back(rest);
    parts.resize(count);
    return parts;
}

} // namespace orvex::fuzz
