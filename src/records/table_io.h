#pragma once

#include <cstdint>
#include <string>

namespace orvex {

// A regular file opened for a table operation, closed on destruction. Opening
// refuses anything but a regular file without blocking on it (O_NONBLOCK) and
// always with O_CLOEXEC. Errors throw TableError naming the file.
class TableFile {
public:
    TableFile() = default;
    // flags: O_RDONLY or O_RDWR.
    TableFile(const std::string& path, int flags);
    ~TableFile();
    TableFile(TableFile&& other) noexcept;
    TableFile& operator=(TableFile&& other) noexcept;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    std::int64_t size() const;

    // Reads up to size bytes at offset; fewer only at the end of the file.
    std::size_t readAt(char* buffer, std::size_t size, std::int64_t offset) const;
    void writeAt(const char* bytes, std::size_t size, std::int64_t offset) const;

    [[noreturn]] void fail(int err, const char* what) const;

private:
    void close();

    int m_fd = -1;
    std::string m_path;
};

// The file name in a path: the text after the last "/" or "\", the whole path when
// there is neither.
std::string fileNameOf(const std::string& path);

// At most limit bytes from the start of a regular file (never blocking on anything
// else). Throws TableError.
std::string readFileStart(const std::string& path, std::size_t limit);

} // namespace orvex
