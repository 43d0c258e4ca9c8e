#pragma once

#include <QStringList>

namespace orvex::kit {

// Exit statuses shared by every subcommand; a subcommand documents its own meaning of 1.
inline constexpr int kExitOk = 0;
inline constexpr int kExitCancelled = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNothingToBrowse = 2; // listar: no configuration, no records

// One subcommand: its name, the arguments line and one line of help, and the function
// that runs it once the application object exists (arguments after the name).
struct KitCommand {
    const char* name;
    const char* arguments;
    const char* help;
    int (*run)(const QStringList& arguments);
    // True when these arguments need no screen (the window system is then not asked for
    // one); null: the command always shows a window.
    bool (*headless)(const QStringList& arguments) = nullptr;
};

// The subcommands, each in its own file.
int runImprimir(const QStringList& arguments);
bool imprimirIsHeadless(const QStringList& arguments);
int runCaja(const QStringList& arguments);
int runListar(const QStringList& arguments);
int runDirectorio(const QStringList& arguments);

} // namespace orvex::kit
