#pragma once

#include <QStringList>

namespace orvex::kit {

// Exit statuses shared by every subcommand; a subcommand documents its own meaning of 1.
inline constexpr int kExitOk = 0;
inline constexpr int kExitCancelled = 1;
inline constexpr int kExitUsage = 2;

// One subcommand: its name, the arguments line and one line of help, and the function
// that runs it once the application object exists (arguments after the name).
struct KitCommand {
    const char* name;
    const char* arguments;
    const char* help;
    int (*run)(const QStringList& arguments);
};

} // namespace orvex::kit
