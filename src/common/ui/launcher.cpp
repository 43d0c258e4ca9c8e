#include "common/ui/launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace orvex {

QString QtProcessLauncher::findProgram(const QString& name) const
{
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo info(name);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(name);
}

bool QtProcessLauncher::startDetached(
    const QString& program, const QStringList& arguments, const QString& workingDirectory)
{
    return QProcess::startDetached(program, arguments, workingDirectory);
}

int QtProcessLauncher::run(
    const QString& program, const QStringList& arguments, const QString& workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(-1))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool QtProcessLauncher::openWithDesktop(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

QString ScriptedProcessLauncher::findProgram(const QString& name) const
{
    return installed.contains(name) ? name : QString();
}

bool ScriptedProcessLauncher::startDetached(
    const QString& program, const QStringList& arguments, const QString& workingDirectory)
{
    calls.push_back({ Kind::StartDetached, program, arguments, workingDirectory });
    return startResult;
}

int ScriptedProcessLauncher::run(
    const QString& program, const QStringList& arguments, const QString& workingDirectory)
{
    calls.push_back({ Kind::Run, program, arguments, workingDirectory });
    return runResult;
}

bool ScriptedProcessLauncher::openWithDesktop(const QString& path)
{
    calls.push_back({ Kind::OpenWithDesktop, path, {}, {} });
    return openResult;
}

ProcessLauncher& systemLauncher()
{
    static QtProcessLauncher launcher;
    return launcher;
}

} // namespace orvex
