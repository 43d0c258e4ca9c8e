#pragma once

namespace orvex {

struct SharedState;
class MessageService;
class FileDialogService;
class ProcessLauncher;
ProcessLauncher& systemLauncher();

// What every window of the program is handed by its opener: the program-wide
// state and the seams that tests replace.
struct AppContext {
    SharedState& state;
    MessageService& messages;
    FileDialogService& fileDialogs;
    ProcessLauncher* launcher = nullptr; // null: the real one

    ProcessLauncher& processes() const { return launcher ? *launcher : systemLauncher(); }
};

} // namespace orvex
