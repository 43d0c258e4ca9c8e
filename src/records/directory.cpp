#include "records/directory.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace orvex {

bool directoryExists(const std::string& path)
{
    struct stat st { };
    // A NUL would make the system see only the part before it.
    return !path.empty() && path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0
        && S_ISDIR(st.st_mode);
}

std::string crearDirectorio(const std::string& path)
{
    if (path.empty())
        return std::strerror(ENOENT);
    if (path.find('\0') != std::string::npos)
        return std::strerror(EINVAL);
    int firstError = 0;
    // Every level, root first; one that exists already fails with EEXIST and is passed over.
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string level = path.substr(0, slash);
        if (::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST && firstError == 0)
            firstError = errno;
        if (slash == std::string::npos || slash + 1 == path.size())
            break;
    }
    if (directoryExists(path))
        return {};
    return std::strerror(firstError != 0 ? firstError : ENOTDIR);
}

} // namespace orvex
