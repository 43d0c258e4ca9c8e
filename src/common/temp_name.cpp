#include "common/temp_name.h"

#include "common/text.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orvex {
namespace {

// 0 when the file was created, else the errno of the failed create.
int createExclusive(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

} // namespace

std::optional<std::string> temporaryTableName(
    std::string_view prefix, std::int16_t station, const std::string& directory)
{
    const std::string base = trim(prefix);
    const std::string folder
        = directory.empty() || directory.back() == '/' ? directory : directory + '/';
    for (int k = 0; k < kTemporaryNameTries; ++k) {
        const std::string name = base + "t" + std::to_string(k) + std::to_string(station);
        const std::string paths[]
            = { folder + name, folder + name + ".DAT", folder + name + ".NDX" };
        int created = 0;
        int error = 0;
        for (const auto& path : paths) {
            error = createExclusive(path);
            if (error != 0)
                break;
            ++created;
        }
        if (created == 3)
            return name;
        // Leave nothing behind from a half-taken candidate.
        for (int i = 0; i < created; ++i)
            ::unlink(paths[i].c_str());
        // Only a name already in use makes the next candidate worth trying.
        if (error != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace orvex
