#pragma once

#include "common/file_io.h"
#include "common/shared_state.h"
#include "common/text.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "records/field_bytes.h"
#include "records/table_access.h"
#include "records/table_config.h"
#include "records/test_fields.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <string>
#include <vector>

namespace orvex::test {

// A fresh folder that is the current directory from enter() to leave() (settings files,
// prepared copies and the printer's files go there).
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

// What a window test hands its windows: the shared state, scripted message boxes and
// file dialogs. reset() before each test function.
struct AppUi {
    SharedState state;
    ScriptedMessageService messages;
    ScriptedFileDialogService dialogs;
    AppContext ctx { state, messages, dialogs };

    void reset()
    {
        state = SharedState {};
        messages.shown.clear();
        messages.answers.clear();
        dialogs.names.clear();
        dialogs.filters.clear();
        dialogs.suffixes.clear();
    }
};

inline void writeBytes(const std::string& path, const std::string& bytes)
{
    writeFileAtomically(path, bytes);
}

inline std::string readBytes(const std::string& path)
{
    return fileExists(path) ? readWholeFile(path) : std::string();
}

using Field = testing::FieldSpec;
using testing::describe;

// A configuration over dataPath: header (its I3 the edit mode) and fields, with the
// load-time defaults applied as a hand-off load applies them.
inline TableConfig tableConfig(
    const std::string& dataPath, const Field& header, const std::vector<Field>& fields)
{
    TableConfig config;
    config.record.dataPath = dataPath;
    config.record.fieldCount = static_cast<std::int16_t>(fields.size());
    config.fields.push_back(describe(header));
    for (const Field& f : fields)
        config.fields.push_back(describe(f));
    applyLoadDefaults(config.fields);
    config.map = { 0 };
    return config;
}

// "lst.cod" naming name, and the three configuration files of config, in the current folder.
inline void writeHandOff(const std::string& name, const TableConfig& config)
{
    writeBytes("lst.cod", "\"" + name + "\"\r\n");
    const ConfigPaths paths = configPaths(name);
    ConfigRecord record = config.record;
    record.mapLast = static_cast<std::int16_t>(config.map.size() - 1);
    writeBytes(paths.ini, encodeConfigRecord(record));
    std::string cmp;
    for (const auto& f : config.fields)
        cmp += encodeFieldDescription(f);
    writeBytes(paths.cmp, cmp);
    std::string rg;
    for (auto entry : config.map)
        rg += mkl(entry);
    writeBytes(paths.rg, rg);
}

// Hooks for the test's own table accesses: never waits.
struct NoWait : TableWaitHooks {
    bool waitWindow(const std::string&, const std::function<BusyTest()>&) override { return true; }
    void status(const std::string&) override { }
};

// Runs action on the modal window once it is up (a message box, Ocupado, a dialog); gives
// up after about five seconds.
inline void whenModal(std::function<void(QWidget*)> action, int tries = 500)
{
    QTimer::singleShot(10, [action, tries] {
        if (QWidget* modal = QApplication::activeModalWidget())
            action(modal);
        else if (tries > 0)
            whenModal(action, tries - 1);
    });
}

// A control by its objectName; a missing one ends the test program.
template <class T = QWidget> T* child(const QObject* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

inline void click(QWidget& window, const char* name)
{
    auto* button = window.findChild<QAbstractButton*>(name);
    QVERIFY2(button, name);
    QVERIFY2(button->isVisibleTo(&window) && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// The text of each page of a PDF, in order, as poppler's pdftotext reads it.
inline QStringList pdfPages(const QString& pdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        qWarning("pdftotext is missing: scripts/install-deps.sh installs poppler-utils");
    QProcess process;
    process.start(
        QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace orvex::test
