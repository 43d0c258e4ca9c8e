// Real orvex-kit processes on one X screen (run under xvfb-run), found and driven with
// xdotool by their window captions, as a person at the screen would.
#include "../ui_test_util.h"
#include "records/table_lock.h"

#include <QProcess>
#include <QStandardPaths>
#include <fcntl.h>
#include <unistd.h>

using namespace orvex;

namespace {

QString kit() { return qEnvironmentVariable("ORVEX_KIT"); }

// xdotool's standard output (window ids, one a line); empty when it found nothing.
QStringList xdotool(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(15000);
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QStringList windowsNamed(const QString& caption)
{
    return xdotool({ "search", "--onlyvisible", "--name", "^" + caption + "$" });
}

// Gives the window the keyboard, then types keys into it.
void press(const QString& window, const QStringList& keys)
{
    xdotool({ "windowfocus", "--sync", window });
    xdotool(QStringList { "key", "--delay", "100" } + keys);
}

// A kit process with its own folder, on the screen.
struct Kit {
    QProcess process;
    void start(const QString& folder, const QStringList& arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder);
        process.start(kit(), arguments);
        QVERIFY(process.waitForStarted());
    }
    int finish()
    {
        if (!process.waitForFinished(15000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitCode();
    }
};

// A write lock on byte 0 of a file, as a program rewriting an index holds it.
struct HeldFile {
    int fd = -1;
    explicit HeldFile(const std::string& path)
    {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        struct flock lock { };
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_len = 1;
        if (fd < 0 || ::fcntl(fd, F_OFD_SETLK, &lock) != 0)
            qFatal("cannot hold %s", path.c_str());
    }
    void release()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    ~HeldFile() { release(); }
};

} // namespace

class TstKitProcesos : public QObject {
    Q_OBJECT

private:
    test::WorkFolder folder;

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display (run under xvfb-run)");
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
            "xdotool is missing: scripts/install-deps.sh installs it");
        QVERIFY(QFileInfo(kit()).isExecutable());
    }
    void init() { folder.enter(); }
    void cleanup() { folder.leave(); }

    // Browser A edits the table; while it fills its first page another program holds the
    // index, so A holds the table meanwhile and browser B waits for it in Ocupado. Both
    // carry on once the index is free, and each hands its result over when it ends.
    void twoBrowsersWaitForEachOther()
    {
        std::string data, index;
        for (int i = 1; i <= 50; ++i) {
            data += mkl(i) + fixedField("Cliente " + std::to_string(i), 12);
            index += fixedField(std::to_string(i), 4) + mkl(51 - i);
        }
        test::writeBytes("t.dat", data);
        test::writeBytes("t.ndx", index);
        TableConfig config = test::tableConfig(folder.path("t.dat").toStdString(),
            { "Nro", 4, 2, 0, 2 }, { { "Codigo", 4, 40 }, { "Nombre", 12, 0 } });
        config.record.indexPath = folder.path("t.ndx").toStdString();
        for (const char* name : { "A", "B" }) {
            QVERIFY(QDir().mkdir(name));
            QVERIFY(QDir::setCurrent(folder.path(name)));
            config.record.title = std::string("Tabla ") + name;
            test::writeHandOff("T", config);
            QVERIFY(QDir::setCurrent(folder.path({})));
        }

        HeldFile indexHolder("t.ndx");
        Kit a, b;
        a.start(folder.path("A"), { "listar" });
        QTRY_VERIFY_WITH_TIMEOUT(
            tablaOcupada("t.dat", BusyMode::Writers).state == BusyTest::Busy, 15000);
        b.start(folder.path("B"), { "listar" });
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed("Chequeo de Archivos").size(), 1, 15000);
        QCOMPARE(windowsNamed("Tabla A").size(), 1);
        QTest::qWait(1000);
        QCOMPARE(windowsNamed("Chequeo de Archivos").size(), 1); // still waiting
        indexHolder.release();
        QTRY_VERIFY_WITH_TIMEOUT(windowsNamed("Chequeo de Archivos").isEmpty(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed("Tabla B").size(), 1, 15000);
        QTest::qWait(500);

        press(windowsNamed("Tabla A").value(0), { "Down", "Return" });
        QCOMPARE(a.finish(), 0);
        press(windowsNamed("Tabla B").value(0), { "Escape" });
        QCOMPARE(b.finish(), 1);
        // In index order: logical 2 is physical 49.
        QCOMPARE(test::readBytes("A/lstT.sel"), std::string("49\r\n2\r\n49\r\nCliente 49\r\n"));
        QCOMPARE(test::readBytes("B/lstT.sel"), std::string("\r\n\r\n\r\n\r\n"));
        for (const char* gone : { "A/lstT.ini", "A/lstT.cmp", "B/lstT.rg", "B/lst.cod" })
            QVERIFY2(!QFile::exists(gone), gone);
    }

    void directoryChooserPrintsWhatWasChosen()
    {
        const QString nested = folder.path("nuevo/uno/dos");
        Kit chooser;
        chooser.start(folder.path({}), { "directorio", nested });
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed("DIRECTORIO").size(), 1, 15000);
        const QString chooserWindow = windowsNamed("DIRECTORIO").value(0);
        press(chooserWindow, { "Return" });
        // The question "Directorio NO existe, desea crearlo..." comes up with Yes as default.
        // A key sent before the box has the keyboard is lost, so it gets the focus first.
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed("DIRECTORIO").size(), 2, 15000);
        QStringList question = windowsNamed("DIRECTORIO");
        question.removeAll(chooserWindow);
        QCOMPARE(question.size(), 1);
        press(question.value(0), { "Return" });
        QCOMPARE(chooser.finish(), 0);
        QCOMPARE(QString::fromUtf8(chooser.process.readAllStandardOutput()), nested + "\n");
        QVERIFY(QFileInfo(nested).isDir());

        Kit cancelled;
        cancelled.start(folder.path({}), { "directorio", folder.path({}) });
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed("DIRECTORIO").size(), 1, 15000);
        press(windowsNamed("DIRECTORIO").value(0), { "Escape" });
        QCOMPARE(cancelled.finish(), 1);
        QCOMPARE(cancelled.process.readAllStandardOutput(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TstKitProcesos)
#include "tst_kit_procesos.moc"
