#pragma once

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

// The whole content of a file; throws FileError.
std::string readWholeFile(const std::string& path);

bool fileExists(const std::string& path);

// Replaces the file with bytes without ever leaving it half written: a temporary
// file in the same folder is written, flushed to disk and renamed over the old
// one, then the folder is flushed. On failure the old file is untouched, the
// temporary file removed and FileError thrown.
void writeFileAtomically(const std::string& path, std::string_view bytes);

// Creates an empty file when none exists (the open dialog's "create" answer);
// an existing file is left as it is. Throws FileError.
void touchFile(const std::string& path);

} // namespace orvex
