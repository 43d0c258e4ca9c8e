#pragma once

namespace orvex {

struct SharedState;
class MessageService;
class FileDialogService;

// What every window of the program is handed by its opener: the program-wide
// state and the two seams that tests replace.
struct AppContext {
    SharedState& state;
    MessageService& messages;
    FileDialogService& fileDialogs;
};

} // namespace orvex
