#pragma once

#include <functional>
#include <string>

namespace orvex {

// Outcome of the busy test on a table file.
struct BusyTest {
    enum State { Free, Busy, Failed };
    State state = Free;
    // Busy: the system's description of the conflict; Failed: what went wrong, naming
    // the file.
    std::string reason;
    int number = 0; // errno of a failure
};

// Which busy test: whether a writer (write lock on bytes 0-127) or a reader (read
// lock on byte 0) would conflict with another user's lock.
enum class BusyMode { Writers = 0, Readers = 1 };

// TablaOcupada: probes path with an open-file-description lock query. A file that
// does not exist is Free. Only a lock conflict is Busy; a file that exists but cannot
// be opened or is not a regular file is Failed, never Busy.
BusyTest tablaOcupada(const std::string& path, BusyMode mode);

// Pausa: sleeps seconds on the monotonic clock (a negative or NaN delay is none).
void pausa(double seconds);

// What a table wait shows. The window implements it; the command line and tests too.
class TableWaitHooks {
public:
    virtual ~TableWaitHooks() = default;
    // The wait window "Ocupado" for path: show it modally, call poll every 100 ms and
    // close when it reports anything but Busy (a Busy result carries the text for
    // lbError). Returns true when the user pressed Cancelar.
    virtual bool waitWindow(const std::string& path, const std::function<BusyTest()>& poll) = 0;
    // The status line lbEstadoListar: show text and repaint; an empty text clears it.
    virtual void status(const std::string& text) = 0;
    // The half second between two polls of the status-line wait. A window keeps itself
    // painted through it (taking no input meanwhile).
    virtual void statusPause(double seconds) { pausa(seconds); }
};

// "La tabla [" + file name + "] está siendo utilizada por otro usuario...", the file
// name being the text after the last "/" or "\" of path.
std::string busyStatusMessage(const std::string& path);

// EsperarTabla. Writers mode waits in hooks.waitWindow and returns true when the
// user cancelled; Readers mode shows busyStatusMessage on the status line, polls
// every half second and clears it, returning false. A missing or free file returns
// false at once. Throws TableError when the busy test fails (the file cannot be
// opened), so a wait never loops on a file that will never become free.
bool esperarTabla(const std::string& path, TableWaitHooks& hooks, BusyMode mode);

} // namespace orvex
