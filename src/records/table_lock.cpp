#include "records/table_lock.h"

#include "records/table_config.h"
#include "records/table_io.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

BusyTest failed(int err, const std::string& path)
{
    return { BusyTest::Failed, "No se puede abrir \"" + path + "\": " + std::strerror(err), err };
}

} // namespace

BusyTest tablaOcupada(const std::string& path, BusyMode mode)
{
    // The probe only asks; opening for reading is enough to ask about a write lock.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? BusyTest {} : failed(errno, path);
    BusyTest result;
    struct stat st { };
    if (::fstat(fd, &st) != 0) {
        result = failed(errno, path);
    } else if (!S_ISREG(st.st_mode)) {
        result = failed(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, path);
    } else {
        struct flock lock { };
        lock.l_type = mode == BusyMode::Writers ? F_WRLCK : F_RDLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0;
        lock.l_len = mode == BusyMode::Writers ? 128 : 1;
        if (::fcntl(fd, F_OFD_GETLK, &lock) != 0)
            result = failed(errno, path);
        else if (lock.l_type != F_UNLCK)
            result = { BusyTest::Busy, std::strerror(EWOULDBLOCK), 0 };
    }
    ::close(fd);
    return result;
}

std::string busyStatusMessage(const std::string& path)
{
    return "La tabla [" + fileNameOf(path) + "] está siendo utilizada por otro usuario...";
}

bool esperarTabla(const std::string& path, TableWaitHooks& hooks, BusyMode mode)
{
    BusyTest test = tablaOcupada(path, mode);
    if (test.state == BusyTest::Failed)
        throw TableError(test.number, test.reason);
    if (test.state == BusyTest::Free)
        return false;
    if (mode == BusyMode::Writers) {
        const bool cancelled = hooks.waitWindow(path, [&] {
            test = tablaOcupada(path, BusyMode::Writers);
            return test;
        });
        if (!cancelled && test.state == BusyTest::Failed)
            throw TableError(test.number, test.reason);
        return cancelled;
    }
    hooks.status(busyStatusMessage(path));
    do {
        hooks.statusPause(0.5);
        test = tablaOcupada(path, mode);
    } while (test.state == BusyTest::Busy);
    hooks.status({});
    if (test.state == BusyTest::Failed)
        throw TableError(test.number, test.reason);
    return false;
}

void pausa(double seconds)
{
    if (!(seconds > 0.0))
        return;
    timespec until {};
    ::clock_gettime(CLOCK_MONOTONIC, &until);
    const double whole = std::floor(std::min(seconds, 1e9));
    until.tv_sec += static_cast<time_t>(whole);
    until.tv_nsec += static_cast<long>((std::min(seconds, 1e9) - whole) * 1e9);
    if (until.tv_nsec >= 1000000000L) {
        until.tv_sec += 1;
        until.tv_nsec -= 1000000000L;
    }
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) { }
}

} // namespace orvex
