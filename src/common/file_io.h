#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvex {

// A file that could not be read or written: the system's error number and a
// description that names the file.
class FileError : public std::runtime_error {
public:
    FileError(int number, const std::string& description)
        : std::runtime_error(description)
        , m_number(number)
    {
    }
    int number() const { return m_number; }

private:
    int m_number;
};

// The start of a file, as much as its reader can use.
struct FileContent {
    std::string bytes;
    bool truncated = false; // the file holds more than the bytes read
};

// Reads at most maxBytes of a regular file, in memory bounded by maxBytes. A named
// pipe, a device, a socket or a folder is refused with a FileError that says what
// it is; the open never blocks on one. Throws FileError.
FileContent readRegularFile(const std::string& path, std::size_t maxBytes);

inline constexpr std::size_t kDefaultReadLimit = 16u << 20;

// The whole content of a regular file; one larger than maxBytes is refused (EFBIG).
// Throws FileError.
std::string readWholeFile(const std::string& path, std::size_t maxBytes = kDefaultReadLimit);

// Whether something other than a folder exists under path.
bool fileExists(const std::string& path);

// What a save does with the old file's bytes beyond the new content: dropped, or
// kept (random-access files are never shortened by writing their first records).
enum class OldTail { Drop, Keep };

// Replaces the file with bytes without ever leaving it half written: a temporary
// file in the same folder is written, flushed to disk and renamed over the old
// one, then the folder is flushed. A symbolic link is followed and the file it
// points to is replaced; a replaced file keeps its mode (and owner, where the
// system allows); a new one gets 0666 under the umask. A read-only target, or one
// that is not a regular file, is refused. Temporary files left by an interrupted
// save are removed once no save holds them. On failure the old file is untouched,
// the temporary file removed and FileError thrown (also when the folder could not
// be flushed after the rename).
void writeFileAtomically(
    const std::string& path, std::string_view bytes, OldTail tail = OldTail::Drop);

// A file written piece by piece that replaces path only once commit() is called,
// with every guarantee of writeFileAtomically (the old content is dropped), in
// constant memory. Destroyed before commit, it leaves path as it was and removes its
// temporary file. Every step throws FileError.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    void commit();

private:
    struct State;
    std::string m_path;
    std::unique_ptr<State> m_state;
};

// Creates an empty file when none exists (the open dialog's "create" answer);
// an existing regular file is left as it is, anything else refused. Never blocks.
// Throws FileError.
void touchFile(const std::string& path);

// For tests: replaces the folder flush of writeFileAtomically (fsync by default);
// returns the previous one.
using FolderSync = int (*)(int fd);
FolderSync setFolderSyncForTests(FolderSync sync);

} // namespace orvex
