#include "printing/line_reader.h"

#include "common/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {

LineReader::LineReader(
    const std::string& path, Ends ends, std::size_t maxLine, std::size_t maxTotal)
    : m_path(path)
    , m_ends(ends)
    , m_maxLine(maxLine)
    , m_maxTotal(maxTotal)
{
    // Non-blocking so that a FIFO in the report's place is refused instead of waited on.
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        const int err = errno;
        throw FileError(err, "No se puede leer \"" + path + "\": " + std::strerror(err));
    }
    struct stat st { };
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        throw FileError(EINVAL, "No es un archivo normal: \"" + path + "\"");
    }
}

LineReader::~LineReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int LineReader::peek()
{
    if (m_pos == m_len) {
        if (m_eof)
            return -1;
        std::size_t want = sizeof m_buffer;
        if (m_maxTotal > 0)
            want = std::min(want, m_maxTotal - m_total);
        if (want == 0) {
            m_eof = true;
            return -1;
        }
        ssize_t n;
        do
            n = ::read(m_fd, m_buffer, want);
        while (n < 0 && errno == EINTR);
        if (n < 0) {
            const int err = errno;
            throw FileError(err, "No se puede leer \"" + m_path + "\": " + std::strerror(err));
        }
        if (n == 0) {
            m_eof = true;
            return -1;
        }
        m_pos = 0;
        m_len = static_cast<std::size_t>(n);
        m_total += m_len;
    }
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

int LineReader::get()
{
    const int c = peek();
    if (c >= 0)
        ++m_pos;
    return c;
}

bool LineReader::next(std::string& line)
{
    line.clear();
    if (peek() < 0)
        return false;
    const char* ends = m_ends == Ends::AnyBreak ? "\r\n" : "\r";
    while (peek() >= 0) {
        // Copy up to the next line end in one piece (only what still fits the line).
        const std::string_view rest(m_buffer + m_pos, m_len - m_pos);
        const auto stop = rest.find_first_of(ends);
        const auto chunk = stop == std::string_view::npos ? rest.size() : stop;
        if (line.size() < m_maxLine)
            line.append(rest.substr(0, std::min(chunk, m_maxLine - line.size())));
        m_pos += chunk;
        if (stop == std::string_view::npos)
            continue;
        if (get() == '\r' && peek() == '\n')
            get();
        return true;
    }
    return true;
}

} // namespace orvex
