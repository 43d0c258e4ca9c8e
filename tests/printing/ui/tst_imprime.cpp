// The report window and the question box a host program asks through.
#include "../../hostile_input.h"
#include "../../ui_test_util.h"
#include "common/ui/launcher.h"
#include "common/ui/message_service.h"
#include "printing/line_prefix.h"
#include "printing/ui/caja.h"
#include "printing/ui/imprime.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <sys/stat.h>

using namespace orvex;

namespace {

// count report lines "L1" .. with CR LF; a first line "#pg#" as header when paged.
std::string report(int count, bool pageHeader = false)
{
    std::string text = pageHeader ? prefijoLinea("2001") + "#pg#\r\n" : std::string();
    for (int i = 1; i <= count; ++i)
        text += "L" + std::to_string(i) + "\r\n";
    return text;
}

// Keeps what the command file and the printer's file hold at the moment the command runs.
class RecordingLauncher : public ScriptedProcessLauncher {
public:
    int run(const QString& program, const QStringList& arguments,
        const QString& workingDirectory) override
    {
        if (!arguments.isEmpty()) {
            commandLine = QString::fromStdString(readWholeFile(arguments[0].toStdString()));
            const auto quoted
                = QRegularExpression(QStringLiteral("'([^']*)'\\n$")).match(commandLine);
            printerFile = quoted.captured(1);
            printed = readWholeFile(printerFile.toStdString());
        }
        return ScriptedProcessLauncher::run(program, arguments, workingDirectory);
    }
    QString commandLine;
    QString printerFile;
    std::string printed;
};

} // namespace

class TstImprime : public QObject {
    Q_OBJECT

private:
    test::WorkFolder folder;
    ScriptedMessageService messages;
    RecordingLauncher launcher;

    template <class T> T* find(Imprime& w, const char* name)
    {
        return test::child<T>(&w, QString::fromUtf8(name));
    }

    // The window showing file, as a host opens it.
    void open(Imprime& w, const QString& file)
    {
        w.archivo()->setText(file);
        w.show();
    }

    bool onlyPrintError() const
    {
        return messages.shown.size() == 1 && messages.shown[0].text == "Error al imprimir..."
            && messages.shown[0].title == "IMPRESORA"
            && messages.shown[0].icon == MsgIcon::Critical;
    }

    static QComboBox* codigo(Caja& c) { return c.findChild<QComboBox*>("Codigo"); }
    static QLineEdit* texto(Caja& c) { return c.findChild<QLineEdit*>("Texto"); }
    static void ask(
        Caja& c, const QString& defaultAnswer, const QString& listMode, const QString& pattern = {})
    {
        c.hide();
        c.label(1)->setText(QStringLiteral("¿Cuál?"));
        c.label(2)->setText(defaultAnswer);
        c.label(3)->setText(listMode);
        c.label(4)->setText(pattern);
        c.show();
    }

private slots:
    void init()
    {
        folder.enter();
        messages.shown.clear();
        launcher = RecordingLauncher();
    }
    void cleanup() { folder.leave(); }

    void cajaDefaultsToTextMode()
    {
        Caja c;
        QVERIFY(codigo(c)->isEditable());
        // The design text "SNLista Archivos" reads 0: text mode.
        c.show();
        QVERIFY(texto(c)->isVisible());
        QVERIFY(!codigo(c)->isVisible());
        QCOMPARE(texto(c)->text(), QStringLiteral("Defecto"));
    }

    void textModeAnswersWithEnterOrCancels()
    {
        Caja c;
        ask(c, "defecto", "0");
        QVERIFY(QTest::qWaitForWindowActive(&c));
        QTRY_VERIFY(texto(c)->hasFocus());
        QTRY_COMPARE(texto(c)->selectedText(), QStringLiteral("defecto"));
        QTest::keyClicks(texto(c), "otra cosa");
        QTest::keyClick(texto(c), Qt::Key_Return);
        QVERIFY(!c.isVisible());
        QCOMPARE(c.result(), int(QDialog::Accepted));
        QCOMPARE(c.answer(), QStringLiteral("otra cosa"));

        ask(c, "defecto", "");
        QTest::mouseClick(c.findChild<QPushButton*>("Boton1"), Qt::LeftButton);
        QVERIFY(!c.isVisible());
        QCOMPARE(c.answer(), QString());
    }

    void fileListModeListsNamesBeforeTheDot()
    {
        for (const char* name : { "a.dat", "b.dat", "c.txt", "sinpunto", "d.DAT" })
            test::writeBytes(name, "");
        QDir().mkdir("carpeta.dat");
        Caja c;
        ask(c, "b", "-1", "*.dat");
        QVERIFY(codigo(c)->isVisible());
        QVERIFY(!texto(c)->isVisible());
        QStringList items;
        for (int i = 0; i < codigo(c)->count(); ++i)
            items << codigo(c)->itemText(i);
        items.sort();
        QCOMPARE(items, QStringList({ "A", "B", "D" }));
        QCOMPARE(codigo(c)->currentText(), QStringLiteral("B"));
        QTest::mouseClick(c.findChild<QPushButton*>("Boton0"), Qt::LeftButton);
        QCOMPARE(c.answer(), QStringLiteral("B"));

        // A name without "." is listed whole; no match leaves what is typed.
        ask(c, "x", "1", "sin*");
        QCOMPARE(codigo(c)->count(), 1);
        QCOMPARE(codigo(c)->itemText(0), QStringLiteral("SINPUNTO"));
        QCOMPARE(codigo(c)->currentIndex(), -1);
        ask(c, "", "1", "*.zzz");
        QCOMPARE(codigo(c)->count(), 0);
        QTest::keyClicks(codigo(c)->lineEdit(), "nuevo");
        QTest::keyClick(codigo(c)->lineEdit(), Qt::Key_Enter);
        QCOMPARE(c.answer(), QStringLiteral("nuevo"));
    }

    void showingPreparesTheReport()
    {
        test::writeBytes("ancho.rpt", std::string(100, 'x') + "\r\n" + report(119));
        Imprime w(messages, launcher);
        open(w, "ancho.rpt");
        QCOMPARE(find<QLabel>(w, "Paginas")->text(), QStringLiteral("c3"));
        QVERIFY(QFile::exists("Imprime.set"));
        QVERIFY(QFile::exists("ancho.txt"));
        QCOMPARE(w.ajusteAnchoMaximoDOS("a b"), QStringLiteral("a") + QString(98, ' ') + "b");

        // Hidden by "&Salir", shown again for another report (a missing one shows no count).
        QTest::mouseClick(find<QPushButton>(w, "Boton1"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        w.archivo()->setText("no-existe.rpt");
        w.show();
        QCOMPARE(find<QLabel>(w, "Paginas")->text(), QString());
        QVERIFY(messages.shown.empty());

        // A pipe in the report's place is refused at once, with the print message.
        w.hide();
        QCOMPARE(::mkfifo("tubo.rpt", 0600), 0);
        w.archivo()->setText("tubo.rpt");
        w.show();
        QVERIFY(onlyPrintError());
    }

    void enablingAndFocusRules()
    {
        test::writeBytes("a.rpt", report(3));
        Imprime w(messages, launcher);
        open(w, "a.rpt");
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const char* ranged[]
            = { "Frame1", "Label20", "Label21", "Pagina0", "Pagina1", "Copias", "Frame3" };
        find<QRadioButton>(w, "PantallaImpresora0")->click();
        for (const char* name : ranged)
            QVERIFY2(!find<QWidget>(w, name)->isEnabled(), name);
        find<QRadioButton>(w, "PantallaImpresora2")->click();
        for (const char* name : ranged)
            QVERIFY2(find<QWidget>(w, name)->isEnabled(), name);

        auto* aceptar = find<QPushButton>(w, "Boton0");
        auto* first = find<QLineEdit>(w, "Pagina0");
        auto* last = find<QLineEdit>(w, "Pagina1");
        first->setFocus();
        QTest::keyClicks(first, "5");
        QVERIFY(!aceptar->isEnabled());
        last->setFocus();
        QCOMPARE(last->text(), QStringLiteral("5"));
        QVERIFY(aceptar->isEnabled());
        QTRY_COMPARE(last->selectedText(), QStringLiteral("5"));
        QTest::keyClicks(last, "4");
        QVERIFY(!aceptar->isEnabled());
        QTest::keyClick(last, Qt::Key_Backspace);
        QTest::keyClicks(last, "7");
        QVERIFY(aceptar->isEnabled());

        auto* option = find<QRadioButton>(w, "PantallaImpresora1");
        option->setFocus();
        QTest::keyClick(option, Qt::Key_Return);
        QVERIFY(aceptar->hasFocus());
    }

    void screenRunsTheViewerOnThePreparedCopy()
    {
        test::writeBytes("a.rpt", prefijoLinea("0312") + "Titulo\r\n");
        Imprime w(messages, launcher);
        open(w, "a.rpt");
        QVERIFY(QTest::qWaitForWindowActive(&w));
        find<QRadioButton>(w, "PantallaImpresora0")->click();
        QTest::mouseClick(find<QPushButton>(w, "Boton0"), Qt::LeftButton);
        // "Q.COM" is not a program here: the desktop's viewer opens the copy.
        QCOMPARE(launcher.calls.size(), std::size_t(1));
        QCOMPARE(launcher.calls[0].kind, ScriptedProcessLauncher::Kind::OpenWithDesktop);
        QCOMPARE(launcher.calls[0].program, QStringLiteral("a.txt"));
        QVERIFY(find<QPushButton>(w, "Boton1")->hasFocus());

        test::writeBytes("Imprime.set", "Visor : less -R\r\n");
        launcher.installed << "less";
        w.hide();
        w.show();
        QTest::mouseClick(find<QPushButton>(w, "Boton0"), Qt::LeftButton);
        QCOMPARE(launcher.calls.back().kind, ScriptedProcessLauncher::Kind::StartDetached);
        QCOMPARE(launcher.calls.back().program, QStringLiteral("less"));
        QCOMPARE(launcher.calls.back().arguments, QStringList({ "-R", "a.txt" }));
    }

    void characterPrinterSendsTheBytesAndCleansUp()
    {
        test::writeBytes("a.rpt", report(70, true));
        Imprime w(messages, launcher);
        open(w, "a.rpt");
        find<QRadioButton>(w, "PantallaImpresora2")->click();
        find<QLineEdit>(w, "Pagina0")->setText("2");
        find<QLineEdit>(w, "Pagina1")->setText("2");
        QTest::mouseClick(find<QPushButton>(w, "Boton0"), Qt::LeftButton);
        QVERIFY(messages.shown.empty());
        QCOMPARE(launcher.calls.size(), std::size_t(1));
        QCOMPARE(launcher.calls[0].program, QStringLiteral("/bin/sh"));
        QCOMPARE(launcher.commandLine, "lp -o raw '" + folder.path("t00") + "'\n");
        // Page 2: the page number right-aligned to 80 columns, lines 58 to 70.
        std::string page2 = std::string(79, ' ') + "2\r\n";
        for (int i = 58; i <= 70; ++i)
            page2 += "L" + std::to_string(i) + "\r\n";
        QCOMPARE(launcher.printed, page2 + "\f");
        for (const char* name : { "t00", "t00.DAT", "t00.NDX" })
            QVERIFY2(!QFile::exists(name), name);

        // A program of the host's own, or a command that fails.
        launcher.installed << "./Imprime";
        launcher.runResult = 1;
        QTest::mouseClick(find<QPushButton>(w, "Boton0"), Qt::LeftButton);
        QCOMPARE(launcher.commandLine,
            "'" + folder.path("Imprime") + "' '" + folder.path("t00") + "'\n");
        QVERIFY(onlyPrintError());
        QVERIFY(!QFile::exists("t00"));
    }

    void pagePrinterWritesAPdf()
    {
        test::writeBytes("a.rpt", report(70, true));
        Imprime w(messages, launcher);
        const QString pdf = folder.path("informe.pdf");
        w.choosePrinter = [&pdf](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        open(w, "a.rpt");
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::mouseClick(find<QPushButton>(w, "btnImpresora"), Qt::LeftButton);
        QCOMPARE(find<QLabel>(w, "lbImpresora")->text(), pdf);
        QVERIFY(find<QPushButton>(w, "Boton0")->hasFocus());
        QTest::mouseClick(find<QPushButton>(w, "Boton0"), Qt::LeftButton);
        QVERIFY(messages.shown.empty());
        const QStringList pages = test::pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains(QRegularExpression("^\\s*1\\s*\\n")));
        QVERIFY(pages[0].indexOf("L1\n") < pages[0].indexOf("L57"));
        QVERIFY(!pages[0].contains("L58"));
        QVERIFY(pages[1].contains(QRegularExpression("^\\s*2\\s*\\n")));
        QVERIFY(pages[1].indexOf("L58") < pages[1].indexOf("L70"));
    }

    void badInputGivesTheMessageNeverACrash()
    {
        std::string binary;
        for (int b = 0; b < 256; ++b)
            binary += static_cast<char>(b == '\r' ? 'x' : b);
        test::writeBytes("a.rpt", std::string(10 << 20, 'x') + "\r\n" + binary + "\r\nfin\r\n");
        Imprime w(messages, launcher);
        const QString pdf = folder.path("a.pdf");
        w.printer().setOutputFormat(QPrinter::PdfFormat);
        w.printer().setOutputFileName(pdf);
        open(w, "a.rpt");
        QTest::mouseClick(find<QPushButton>(w, "Boton0"), Qt::LeftButton);
        QVERIFY(messages.shown.empty());
        QCOMPARE(test::pdfPages(pdf).size(), 1);

        // Copies beyond a 16-bit number (too many pictures is the report's own test).
        find<QLineEdit>(w, "Copias")->setText("99999");
        QTest::mouseClick(find<QPushButton>(w, "Boton0"), Qt::LeftButton);
        QVERIFY(onlyPrintError());

        // A picture file that is not a picture.
        messages.shown.clear();
        find<QLineEdit>(w, "Copias")->setText("1");
        test::writeBytes("logo.png", "no es una imagen");
        test::writeBytes("a.rpt.img", "logo.png 0 0\r\n");
        QTest::mouseClick(find<QPushButton>(w, "Boton0"), Qt::LeftButton);
        QVERIFY(onlyPrintError());
    }

    // Whatever is pasted comes back as the answer, as pasted.
    void cajaTakesHostileTextsVerbatim()
    {
        Caja c;
        ask(c, "defecto", "0");
        test::pasteHostileEverywhere(
            &c, [&] { QVERIFY(!c.isVisible()); },
            [&](const QString&, const QString&) {
                QCOMPARE(c.answer(), texto(c)->text());
                ask(c, "defecto", "0");
            });
    }
};

QTEST_MAIN(TstImprime)
#include "tst_imprime.moc"
