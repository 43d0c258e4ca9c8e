#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace orvex {

// Starting other programs (a text viewer, the printer command, a system-information tool)
// goes through this seam, so tests see what would run without running it.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // The full path of an executable: name itself when it is a path to one, else the first
    // match on PATH; empty when there is none.
    virtual QString findProgram(const QString& name) const = 0;
    // Starts a program and returns at once; false when it could not be started.
    virtual bool startDetached(
        const QString& program, const QStringList& arguments, const QString& workingDirectory = {})
        = 0;
    // Runs a program to its end: its exit status, or -1 when it could not be started or crashed.
    virtual int run(
        const QString& program, const QStringList& arguments, const QString& workingDirectory = {})
        = 0;
    // Opens a file with the desktop's default application for its type.
    virtual bool openWithDesktop(const QString& path) = 0;
};

class QtProcessLauncher : public ProcessLauncher {
public:
    QString findProgram(const QString& name) const override;
    bool startDetached(const QString& program, const QStringList& arguments,
        const QString& workingDirectory = {}) override;
    int run(const QString& program, const QStringList& arguments,
        const QString& workingDirectory = {}) override;
    bool openWithDesktop(const QString& path) override;
};

// For tests: records every call and answers with the fields below.
class ScriptedProcessLauncher : public ProcessLauncher {
public:
    enum class Kind { StartDetached, Run, OpenWithDesktop };
    struct Call {
        Kind kind;
        QString program;
        QStringList arguments;
        QString workingDirectory;
    };

    QString findProgram(const QString& name) const override;
    bool startDetached(const QString& program, const QStringList& arguments,
        const QString& workingDirectory = {}) override;
    int run(const QString& program, const QStringList& arguments,
        const QString& workingDirectory = {}) override;
    bool openWithDesktop(const QString& path) override;

    std::vector<Call> calls;
    QStringList installed; // the programs findProgram finds, by name
    bool startResult = true;
    int runResult = 0;
    bool openResult = true;
};

// The real launcher, for windows whose opener hands them none.
ProcessLauncher& systemLauncher();

} // namespace orvex
