#include "common/file_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

constexpr const char* kCannotRead = "No se puede leer";
constexpr const char* kCannotWrite = "No se puede escribir";

FolderSync g_folderSync = ::fsync;

[[noreturn]] void fail(int err, const char* what, const std::string& path)
{
    throw FileError(err, std::string(what) + " \"" + path + "\": " + std::strerror(err));
}

// What a file that is not a regular one is, for the message that refuses it.
const char* kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "es una carpeta";
    if (S_ISFIFO(mode))
        return "es una tubería (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "es un dispositivo";
    if (S_ISSOCK(mode))
        return "es un socket";
    return "no es un archivo común";
}

[[noreturn]] void notRegular(mode_t mode, const char* what, const std::string& path)
{
    throw FileError(S_ISDIR(mode) ? EISDIR : EINVAL,
        std::string(what) + " \"" + path + "\": " + kindOf(mode) + ", no un archivo regular");
}

class Fd {
public:
    explicit Fd(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    // Closes now, reporting the error close() gives (0 when none).
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int m_fd;
};

// Opens without blocking (a FIFO without a writer, a device) and accepts only a
// regular file.
int openRegular(const std::string& path, int flags, const char* what)
{
    Fd fd(::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (fd.get() < 0)
        fail(errno, what, path);
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0)
        fail(errno, what, path);
    if (!S_ISREG(st.st_mode))
        notRegular(st.st_mode, what, path);
    return fd.release();
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of symbolic links ends at (the path itself when it is none);
// a link to nothing yet names the file a save creates.
std::string followLinks(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n < 0)
            return path;
        const std::string next(target, static_cast<std::size_t>(n));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    fail(ELOOP, kCannotWrite, path);
}

// Temporary files are ".<name>.orvex-XXXXXX.tmp": a name no other program makes.
std::string temporaryPrefix(const std::string& base) { return "." + base + ".orvex-"; }
constexpr const char* kTemporarySuffix = ".tmp";
constexpr std::size_t kRandomChars = 6;

bool isTemporaryOf(const std::string& name, const std::string& prefix)
{
    const std::size_t suffix = std::strlen(kTemporarySuffix);
    return name.size() == prefix.size() + kRandomChars + suffix
        && name.compare(0, prefix.size(), prefix) == 0
        && name.compare(name.size() - suffix, suffix, kTemporarySuffix) == 0;
}

// A save holds an open-file-description lock on its temporary file until it has
// renamed it, so a temporary file that can be locked is one nobody is writing.
int lockFile(int fd, short type)
{
    struct flock lock { };
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 0 : errno;
}

bool sameFile(int fd, int folder, const std::string& name)
{
    struct stat held {
    }, named {};
    return ::fstat(fd, &held) == 0
        && ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void removeStaleTemporaries(const std::string& folder, const std::string& base)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::string prefix = temporaryPrefix(base);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isTemporaryOf(name, prefix))
            continue;
        Fd fd(::openat(
            ::dirfd(dir), name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
        struct stat st { };
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // Locked by a save in progress, or a file system without locks: left alone.
        if (lockFile(fd.get(), F_RDLCK) == 0 && sameFile(fd.get(), ::dirfd(dir), name))
            ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

std::string randomChars()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 engine(std::random_device {}());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string s;
    for (std::size_t i = 0; i < kRandomChars; ++i)
        s += kChars[pick(engine)];
    return s;
}

struct Temporary {
    int fd = -1;
    std::string path;
};

// Creates and locks a new temporary file; 0666 under the umask, as any new file.
Temporary createTemporary(
    const std::string& folder, const std::string& base, const std::string& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = temporaryPrefix(base) + randomChars() + kTemporarySuffix;
        const std::string path = folder + "/" + name;
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.get() < 0) {
            if (errno == EEXIST)
                continue;
            fail(errno, kCannotWrite, target);
        }
        // Another save's clean-up may have taken it between the creation and the lock.
        const int locked = lockFile(fd.get(), F_WRLCK);
        const bool unsupported = locked == EINVAL || locked == ENOLCK;
        if ((locked == 0 || unsupported) && sameFile(fd.get(), AT_FDCWD, path)) {
            return { fd.release(), path };
        }
    }
    fail(EEXIST, kCannotWrite, target);
}

// Writes all of bytes, retrying short writes and interruptions; the error number or 0.
int writeAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Copies the old file's bytes from offset on, in constant memory.
int copyTail(const std::string& oldPath, std::size_t offset, int to)
{
    Fd from(::open(oldPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (from.get() < 0)
        return errno;
    if (::lseek(from.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
        return errno;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(from.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        if (const int err = writeAll(to, std::string_view(buf, static_cast<std::size_t>(n))))
            return err;
    }
}

// The replaced file's owner where the system allows (root, or a group of one's own)
// and its mode; a new file keeps what creating it under the umask gave.
int keepOwnerAndMode(int fd, const struct stat* old)
{
    if (!old)
        return 0;
    if (::fchown(fd, old->st_uid, old->st_gid) != 0 && errno == EPERM)
        ::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    return ::fchmod(fd, old->st_mode & 07777) == 0 ? 0 : errno;
}

void syncFolder(const std::string& folder, const std::string& path)
{
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        fail(errno, kCannotWrite, path);
    // EINVAL: a file system that cannot flush a folder; nothing more can be done.
    if (g_folderSync(dir.get()) != 0 && errno != EINVAL)
        fail(errno, kCannotWrite, path);
}

} // namespace

FileContent readRegularFile(const std::string& path, std::size_t maxBytes)
{
    Fd fd(openRegular(path, O_RDONLY, kCannotRead));
    FileContent content;
    // One byte more than wanted tells whether the file goes on.
    const std::size_t wanted = maxBytes == SIZE_MAX ? maxBytes : maxBytes + 1;
    content.bytes.resize(std::min<std::size_t>(wanted, 65536));
    std::size_t done = 0;
    while (done < wanted) {
        if (done == content.bytes.size())
            content.bytes.resize(std::min(wanted, content.bytes.size() * 2));
        const ssize_t n
            = ::read(fd.get(), content.bytes.data() + done, content.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(errno, kCannotRead, path);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    content.truncated = done > maxBytes;
    content.bytes.resize(std::min(done, maxBytes));
    return content;
}

std::string readWholeFile(const std::string& path, std::size_t maxBytes)
{
    FileContent content = readRegularFile(path, maxBytes);
    if (content.truncated)
        fail(EFBIG, kCannotRead, path);
    return std::move(content.bytes);
}

bool fileExists(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

// The first steps of every replacement: the target behind any link, checked, and a
// new temporary file beside it that already carries the old file's owner and mode.
struct Replacement {
    std::string target;
    std::string folder;
    struct stat old { };
    bool replacing = false;
    Temporary temp;
};

Replacement beginReplacement(const std::string& path)
{
    Replacement r;
    r.target = followLinks(path);
    r.replacing = ::stat(r.target.c_str(), &r.old) == 0;
    if (r.replacing && !S_ISREG(r.old.st_mode))
        notRegular(r.old.st_mode, kCannotWrite, path);
    // Write-protected is respected even by root, who the system would let through.
    if (r.replacing && ((r.old.st_mode & 0222) == 0 || ::access(r.target.c_str(), W_OK) != 0))
        fail(EACCES, kCannotWrite, path);

    r.folder = folderOf(r.target);
    const std::string base = baseOf(r.target);
    removeStaleTemporaries(r.folder, base);
    r.temp = createTemporary(r.folder, base, path);
    if (const int err = keepOwnerAndMode(r.temp.fd, r.replacing ? &r.old : nullptr)) {
        ::close(r.temp.fd);
        ::unlink(r.temp.path.c_str());
        fail(err, kCannotWrite, path);
    }
    return r;
}

// Flushes, renames over the target and flushes the folder; the temporary file goes
// away on failure. err is an earlier failure to report instead.
void finishReplacement(const Replacement& r, Fd& fd, int err, const std::string& path)
{
    if (err == 0 && ::fsync(fd.get()) != 0)
        err = errno;
    if (err == 0 && ::rename(r.temp.path.c_str(), r.target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(r.temp.path.c_str());
        fail(err, kCannotWrite, path);
    }
    // Closing releases the lock only now that the temporary name is gone.
    if (const int closeError = fd.close())
        fail(closeError, kCannotWrite, path);
    syncFolder(r.folder, path);
}

} // namespace

void writeFileAtomically(const std::string& path, std::string_view bytes, OldTail tail)
{
    const Replacement r = beginReplacement(path);
    Fd fd(r.temp.fd);
    int err = writeAll(fd.get(), bytes);
    if (err == 0 && tail == OldTail::Keep && r.replacing
        && static_cast<std::size_t>(r.old.st_size) > bytes.size())
        err = copyTail(r.target, bytes.size(), fd.get());
    finishReplacement(r, fd, err, path);
}

struct AtomicFileWriter::State {
    Replacement replacement;
    Fd fd;
    off_t written = 0;
    off_t flushed = 0;
};

namespace {

// A long file starts going to disk while it is still being written, so that the final
// flush has only its last part to wait for.
constexpr off_t kEarlyFlushBytes = 32 << 20;

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path)
    : m_path(path)
{
    Replacement r = beginReplacement(path);
    const int fd = r.temp.fd;
    m_state.reset(new State { std::move(r), Fd(fd) });
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (m_state && m_state->fd.get() >= 0)
        ::unlink(m_state->replacement.temp.path.c_str());
}

void AtomicFileWriter::write(std::string_view bytes)
{
    if (!m_state || m_state->fd.get() < 0)
        fail(EBADF, kCannotWrite, m_path);
    if (const int err = writeAll(m_state->fd.get(), bytes)) {
        ::unlink(m_state->replacement.temp.path.c_str());
        m_state->fd.close();
        fail(err, kCannotWrite, m_path);
    }
    m_state->written += static_cast<off_t>(bytes.size());
    if (m_state->written - m_state->flushed >= kEarlyFlushBytes) {
        // Only starts the write-back; errors surface in the final fsync.
        ::sync_file_range(m_state->fd.get(), m_state->flushed, m_state->written - m_state->flushed,
            SYNC_FILE_RANGE_WRITE);
        m_state->flushed = m_state->written;
    }
}

void AtomicFileWriter::commit()
{
    if (!m_state || m_state->fd.get() < 0)
        fail(EBADF, kCannotWrite, m_path);
    finishReplacement(m_state->replacement, m_state->fd, 0, m_path);
}

void touchFile(const std::string& path)
{
    // An existing file is only looked at, so a read-only one opens as well; only a
    // missing one is created (never emptied).
    const bool exists
        = Fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)).get() >= 0;
    Fd checked(openRegular(path, exists ? O_RDONLY : O_WRONLY | O_CREAT, "No se puede abrir"));
}

FolderSync setFolderSyncForTests(FolderSync sync)
{
    const FolderSync previous = g_folderSync;
    g_folderSync = sync;
    return previous;
}

} // namespace orvex
