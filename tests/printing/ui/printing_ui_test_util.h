#pragma once

#include "common/file_io.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace orvex::test {

// A fresh folder that is the current directory from enter() to leave() (the settings
// file, prepared copies and the character printer's files go there).
struct WorkFolder {
    QTemporaryDir dir;
    QString old;
    void enter()
    {
        old = QDir::currentPath();
        QVERIFY(dir.isValid());
        QVERIFY(QDir::setCurrent(dir.path()));
    }
    void leave() { QDir::setCurrent(old); }
    QString path(const QString& name) const { return dir.filePath(name); }
};

inline void writeBytes(const QString& name, const std::string& bytes)
{
    writeFileAtomically(name.toStdString(), bytes);
}

// A poppler tool's standard output for a PDF (empty when it failed).
inline QString popplerOutput(const QString& tool, const QStringList& arguments)
{
    if (QStandardPaths::findExecutable(tool).isEmpty())
        qWarning("%s is missing: scripts/install-deps.sh installs poppler-utils", qPrintable(tool));
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int pdfPageCount(const QString& pdf)
{
    const QString info = popplerOutput(QStringLiteral("pdfinfo"), { pdf });
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of each page, in order.
inline QStringList pdfPages(const QString& pdf)
{
    QStringList pages = popplerOutput(
        QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") })
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace orvex::test
