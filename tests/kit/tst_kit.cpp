#include "../ui_test_util.h"
#include "kit/kit_commands.h"
#include "printing/line_prefix.h"
#include "printing/ui/caja.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <unistd.h>

using namespace orvex;

namespace {

// What a command writes on standard output while it runs (QtTest's own lines dropped).
class CapturedStdout {
public:
    CapturedStdout()
    {
        std::fflush(stdout);
        ::dup2(::fileno(m_file), 1);
    }
    QString text()
    {
        std::fflush(stdout);
        ::dup2(m_saved, 1);
        ::close(m_saved);
        std::rewind(m_file);
        QFile file;
        file.open(m_file, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        lines.removeIf([](const QString& line) { return line.startsWith(QLatin1String("QWARN")); });
        return lines.join(QLatin1Char('\n'));
    }

private:
    std::FILE* m_file = std::tmpfile();
    int m_saved = ::dup(1);
};

// Answers the input box once it shows: types text into its entry, then presses a button.
void answerCaja(const QString& typed, const char* button)
{
    QTimer::singleShot(0, [typed, button] {
        auto* box = qobject_cast<Caja*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (auto* texto = box->findChild<QLineEdit*>("Texto"); texto && texto->isVisible())
            texto->setText(typed);
        box->findChild<QPushButton*>(button)->click();
    });
}

} // namespace

class TstKit : public QObject {
    Q_OBJECT

private:
    test::WorkFolder folder;

private slots:
    void init() { folder.enter(); }
    void cleanup() { folder.leave(); }

    // Two pages to a PDF without a window is kit_imprimir_pdf's case; here the range.
    void imprimirPrintsTheRangeAndCopiesAsked()
    {
        std::string report = prefijoLinea("2312") + "LISTADO\r\n";
        for (int i = 1; i <= 80; ++i)
            report += "Renglon " + std::to_string(i) + "\r\n";
        test::writeBytes("listado.rpt", report);
        const QString pdf = folder.path("listado.pdf");
        QCOMPARE(kit::runImprimir({ "listado.rpt", "--pdf", pdf, "--desde", "2", "--hasta", "2",
                     "--copias", "2" }),
            kit::kExitOk);
        const QStringList pages = test::pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        for (const QString& page : pages) {
            QVERIFY(page.trimmed().startsWith("LISTADO"));
            QVERIFY(page.indexOf("Renglon 58\n") < page.indexOf("Renglon 80\n"));
            QVERIFY(!page.contains("Renglon 57\n"));
        }
    }

    void imprimirFailuresAndUsage()
    {
        QVERIFY(kit::imprimirIsHeadless({ "a.rpt", "--pdf", "a.pdf" }));
        QVERIFY(!kit::imprimirIsHeadless({ "a.rpt" }));
        QCOMPARE(kit::runImprimir({ "no-existe.rpt", "--pdf", "x.pdf" }), kit::kExitCancelled);
        QCOMPARE(kit::runImprimir({}), kit::kExitUsage);
        QCOMPARE(kit::runImprimir({ "a.rpt", "--pdf" }), kit::kExitUsage);
        QCOMPARE(kit::runImprimir({ "a.rpt", "b.rpt" }), kit::kExitUsage);
        test::writeBytes("a.rpt", "uno\r\n");
        QCOMPARE(
            kit::runImprimir({ "a.rpt", "--pdf", "a.pdf", "--copias", "1e9" }), kit::kExitUsage);
        // A range past the last page prints nothing.
        QCOMPARE(kit::runImprimir({ "a.rpt", "--pdf", "a.pdf", "--desde", "5", "--hasta", "6" }),
            kit::kExitCancelled);
        QVERIFY(!QFile::exists("a.pdf"));
    }

    void cajaPrintsTheAnswerOrEndsCancelled()
    {
        CapturedStdout out;
        answerCaja("mi respuesta", "Boton0");
        const int accepted = kit::runCaja({ "¿Nombre?", "--defecto", "x" });
        answerCaja("ignorada", "Boton1");
        const int cancelled = kit::runCaja({ "¿Nombre?" });
        test::writeBytes("uno.dat", "");
        answerCaja({}, "Boton0");
        const int listed = kit::runCaja({ "¿Archivo?", "--lista", "*.dat", "--defecto", "uno" });
        QCOMPARE(out.text(), QStringLiteral("mi respuesta\nUNO\n"));
        QCOMPARE(accepted, kit::kExitOk);
        QCOMPARE(cancelled, kit::kExitCancelled);
        QCOMPARE(listed, kit::kExitOk);
        QCOMPARE(kit::runCaja({ "a", "b" }), kit::kExitUsage);
        QCOMPARE(kit::runCaja({ "a", "--lista" }), kit::kExitUsage);
    }

    void listarWithNothingToBrowse()
    {
        // "lst.cod" names files that are not all there: those that are go, nothing is shown.
        test::writeHandOff("CLI", test::tableConfig("c.dat", { "Nro" }, { { "Codigo", 4, 40 } }));
        QFile::remove("lstCLI.rg");
        QCOMPARE(kit::runListar({}), kit::kExitNothingToBrowse);
        QVERIFY(!fileExists("lstCLI.ini") && !fileExists("lst.cod"));
        QVERIFY(!fileExists("lstCLI.sel"));

        // No "lst.cod": "No Existen Registros...", and no file of this folder is touched.
        test::writeBytes("lst.ini", "x");
        QString shown;
        test::whenModal([&shown](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            shown = box->windowTitle() + "|" + box->text();
            box->accept();
        });
        QCOMPARE(kit::runListar({}), kit::kExitNothingToBrowse);
        QCOMPARE(shown, QStringLiteral("LISTAR ARCHIVO|No Existen Registros..."));
        QVERIFY(fileExists("lst.ini"));

        QCOMPARE(kit::runListar({ folder.path("no-existe") }), kit::kExitNothingToBrowse);
        QCOMPARE(kit::runListar({ "a", "b" }), kit::kExitNothingToBrowse);
    }
};

QTEST_MAIN(TstKit)
#include "tst_kit.moc"
