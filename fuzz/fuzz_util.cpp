#include "fuzz_util.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex::fuzz {

void enterScratchFolder()
{
    static bool entered = false;
    if (entered)
        return;
    // scripts/fuzz.sh names a folder it removes afterwards, also after a crash.
    const char* given = std::getenv("ORVEX_FUZZ_SCRATCH");
    std::string base = given && *given ? given : "/dev/shm";
    struct stat st;
    if (::stat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)
        || ::access(base.c_str(), W_OK) != 0) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    std::string dir = base + "/orvex-fuzz-XXXXXX";
    if (!::mkdtemp(dir.data()) || ::chdir(dir.c_str()) != 0) {
        std::fprintf(
            stderr, "fuzz: no scratch folder under %s: %s\n", base.c_str(), std::strerror(errno));
        std::exit(2);
    }
    entered = true;
    static std::string folder = dir;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
}

void writeScratchFile(const char* name, std::string_view bytes)
{
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "fuzz: cannot write %s: %s\n", name, std::strerror(errno));
        std::exit(2);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            std::fprintf(stderr, "fuzz: cannot write %s: %s\n", name, std::strerror(errno));
            std::exit(2);
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

} // namespace orvex::fuzz
