#include "records/table_io.h"

#include "common/file_io.h"
#include "records/table_config.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {

TableFile::TableFile(const std::string& path, int flags)
    : m_path(path)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        fail(errno, "No se puede abrir");
    struct stat st { };
    int err = ::fstat(fd, &st) == 0 ? 0 : errno;
    if (err == 0 && !S_ISREG(st.st_mode))
        err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    if (err != 0) {
        ::close(fd);
        fail(err, "No se puede abrir");
    }
    m_fd = fd;
    // Regular files never block; clearing the flag keeps later reads plain.
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
}

TableFile::~TableFile() { close(); }

TableFile::TableFile(TableFile&& other) noexcept
    : m_fd(other.m_fd)
    , m_path(std::move(other.m_path))
{
    other.m_fd = -1;
}

TableFile& TableFile::operator=(TableFile&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

void TableFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void TableFile::fail(int err, const char* what) const
{
    throw TableError(err, std::string(what) + " \"" + m_path + "\": " + std::strerror(err));
}

std::int64_t TableFile::size() const
{
    struct stat st { };
    if (::fstat(m_fd, &st) != 0)
        fail(errno, "No se puede leer");
    return st.st_size;
}

std::size_t TableFile::readAt(char* buffer, std::size_t size, std::int64_t offset) const
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n
            = ::pread(m_fd, buffer + done, size - done, offset + static_cast<std::int64_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, "No se puede leer");
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void TableFile::writeAt(const char* bytes, std::size_t size, std::int64_t offset) const
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n
            = ::pwrite(m_fd, bytes + done, size - done, offset + static_cast<std::int64_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, "No se puede escribir");
        }
        done += static_cast<std::size_t>(n);
    }
}

std::string readFileStart(const std::string& path, std::size_t limit)
{
    try {
        return readRegularFile(path, limit).bytes;
    } catch (const FileError& e) {
        throw TableError(e.number(), e.what());
    }
}

} // namespace orvex

namespace orvex {

std::string fileNameOf(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace orvex
