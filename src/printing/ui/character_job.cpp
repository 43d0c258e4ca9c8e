#include "printing/ui/character_job.h"

#include "common/file_io.h"
#include "common/temp_name.h"
#include "common/ui/launcher.h"
#include "printing/character_printer.h"
#include "printing/print_error.h"

#include <QDir>
#include <QFileInfo>
#include <fstream>

namespace orvex {
namespace {

QString shellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// The three files temporaryTableName leaves; removed whatever happens to the run.
class TemporaryFiles {
public:
    TemporaryFiles()
    {
        for (const QString& folder : { QDir::currentPath(), QDir::tempPath() }) {
            if (const auto name = temporaryTableName("", 0, folder.toStdString())) {
                m_base = QDir(folder).absoluteFilePath(QString::fromStdString(*name));
                m_folder = folder;
                return;
            }
        }
        throw PrintError("no temporary file for the character printer");
    }
    ~TemporaryFiles()
    {
        for (const char* ext : { "", ".DAT", ".NDX" })
            QFile::remove(m_base + QLatin1String(ext));
    }
    TemporaryFiles(const TemporaryFiles&) = delete;
    TemporaryFiles& operator=(const TemporaryFiles&) = delete;

    QString file() const { return m_base; }
    QString folder() const { return m_folder; }

private:
    QString m_base;
    QString m_folder;
};

} // namespace

QString characterPrinterCommand(ProcessLauncher& launcher, const QString& file)
{
    const QString own = launcher.findProgram(QStringLiteral("./Imprime"));
    if (!own.isEmpty())
        return shellQuoted(QFileInfo(own).absoluteFilePath()) + QLatin1Char(' ')
            + shellQuoted(file);
    return QStringLiteral("lp -o raw ") + shellQuoted(file);
}

bool printReportOnCharacterPrinter(ProcessLauncher& launcher, const std::string& report,
    const ReportParameters& parameters, const PrintSettings& settings, const PrintRange& range)
{
    if (!fileExists(report))
        return false;
    // Read before anything is created: a 21st picture fails here.
    loadPictureList(report);
    TemporaryFiles temporary;
    {
        std::ofstream out(temporary.file().toStdString(), std::ios::binary | std::ios::trunc);
        if (!out)
            throw PrintError("the character printer's file cannot be written");
        printToCharacterPrinter(report, parameters, settings, range, out);
        out.close();
        if (!out)
            throw PrintError("the character printer's file cannot be written");
    }
    const QString commandFile = QDir(temporary.folder()).absoluteFilePath(kCommandFile);
    writeFileAtomically(commandFile.toStdString(),
        (characterPrinterCommand(launcher, temporary.file()) + QStringLiteral("\n")).toStdString());
    const int status = launcher.run(QStringLiteral("/bin/sh"), { commandFile }, temporary.folder());
    if (status != 0)
        throw PrintError("the printer command ended with status " + std::to_string(status));
    return true;
}

} // namespace orvex
