#pragma once

#include <cstddef>
#include <string>

namespace orvex {

// Lines longer than this are cut here (the rest of the line is skipped). It is also the
// most a 16-bit widest-line count can hold.
inline constexpr std::size_t kMaxReportLine = 32767;

// Reads a text file line by line without holding more than one line. Report files end
// their lines with CR LF or CR; a line feed alone is data (a prefix can hold byte 10), so
// it ends a line only with Ends::AnyBreak, for files a person edits (settings, picture
// lists). A last line without an end is returned too. Only regular files are opened.
class LineReader {
public:
    enum class Ends { CarriageReturn, AnyBreak };

    // Throws FileError when the file cannot be opened or is not a regular file.
    // maxTotal bounds the bytes read in all (0: the whole file).
    explicit LineReader(const std::string& path, Ends ends = Ends::CarriageReturn,
        std::size_t maxLine = kMaxReportLine, std::size_t maxTotal = 0);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its end; false at the end of the file. Throws FileError.
    bool next(std::string& line);

private:
    // The next byte, or -1 at the end.
    int get();
    int peek();

    int m_fd = -1;
    std::string m_path;
    Ends m_ends;
    std::size_t m_maxLine;
    std::size_t m_maxTotal;
    std::size_t m_total = 0;
    char m_buffer[65536];
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    bool m_eof = false;
};

} // namespace orvex
