// The main window, and the windows it opens from its commands and from `orvex ARCHIVO`.
#include "app/command_line.h"
#include "app/respuestas.h"
#include "app/talvora.h"

#include "common/file_io.h"
#include "common/shared_state.h"
#include "common/ui/launcher.h"
#include "common/ui/message_service.h"
#include "common/ui/translations.h"
#include "common/ui/widgets.h"
#include "extras/ui/frm_about.h"
#include "loans/loan_files.h"
#include "loans/ui/tabla_correccion.h"
#include "loans/ui/upac.h"
#include "worksheet/worksheet_file.h"

#include "../../hostile_input.h"
#include "../../ui_test_util.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

using namespace orvex;

namespace {

// The web viewer comes from a module of its own, so it is known by its class name.
QList<QWidget*> webViewers(const QWidget* window)
{
    QList<QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->inherits("orvex::Internet"))
            found << w;
    return found;
}

// Talvora with its modal children answered in place: records each child's title, the
// values it shows, whether the results frame was hidden meanwhile, and the window height.
class ProbeTalvora : public Talvora {
public:
    using Talvora::Talvora;
    std::vector<QStringList> modals;
    std::function<void(QDialog&)> whileOpen; // acts in a child, shown, before it is answered

protected:
    int runModal(QDialog& child) override
    {
        if (whileOpen) {
            child.show();
            whileOpen(child);
        }
        QStringList shown { child.windowTitle() };
        for (int i = 1; auto* v = child.findChild<QLabel*>(QString("LabelRespuesta%1").arg(i)); ++i)
            shown << v->text();
        const bool hidden = findChild<QGroupBox*>(QStringLiteral("Respuesta"))->isHidden();
        modals.push_back(shown << (hidden ? "hidden" : "shown") << QString::number(height()));
        return QDialog::Accepted;
    }
};

QString kind(int number) { return qs(std::string(kKindTexts[std::size_t(number - 1)])); }

QStringList loanFields(const UPAC& window)
{
    QStringList fields;
    for (int k = 1; k <= 5; ++k)
        fields << window.valores(k)->text();
    for (const char* option : { "SistemaPago1", "SistemaPago2", "SistemaPago3", "Opcion1" })
        if (window.findChild<QRadioButton*>(option)->isChecked())
            fields << option;
    return fields;
}

} // namespace

Q_DECLARE_METATYPE(CommandLine::Action)

class TstTalvora : public QObject {
    Q_OBJECT

private:
    struct Session : test::AppUi {
        ScriptedProcessLauncher launcher;
        AppContext context { state, messages, dialogs, &launcher };
        ProbeTalvora window { context };
    };
    std::unique_ptr<Session> m_s;
    ProbeTalvora* m_w = nullptr;
    QTemporaryDir m_settings;

    template <typename T = QWidget> T* find(const char* name, QObject* in = nullptr)
    {
        return test::child<T>(in ? in : m_w, QString::fromUtf8(name));
    }
    QTableWidget* grid() { return find<QTableWidget>("Celdas"); }
    QLineEdit* edicion() { return find<QLineEdit>("Edicion"); }
    QComboBox* tipo() { return find<QComboBox>("Tipo"); }
    QLineEdit* interes() { return find<QLineEdit>("Interes"); }
    QGroupBox* frame() { return find<QGroupBox>("Respuesta"); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    QAction* action(const char* name) { return find<QAction>(name); }
    void click(const char* name) // a button or a menu command
    {
        if (auto* a = m_w->findChild<QAction*>(name))
            a->trigger();
        else
            QTest::mouseClick(find(name), Qt::LeftButton);
    }
    QString cell(int row, int column) { return grid()->item(row - 1, column - 1)->text(); }
    CellPos current() { return m_w->currentCell(); }
    void goTo(int row, int column) { grid()->setCurrentCell(row - 1, column - 1); }
    void enter(QWidget* target) { QTest::keyClick(target, Qt::Key_Return); }
    const MessageRequest& lastMessage() { return m_s->messages.shown.back(); }
    QString caption(const QString& file) { return QStringLiteral("TALVORA [") + file + "]"; }

    // Types a row as a person does: the kind's number on Tipo, then each editable
    // cell's value (its first key on the grid starts editing), Enter after each.
    void typeRow(int row, int kindNumber, const QStringList& values)
    {
        goTo(row, kColTipo);
        QTest::keyClicks(grid(), QString::number(kindNumber));
        enter(tipo());
        for (const QString& v : values) {
            if (!v.isEmpty()) {
                QTest::keyClicks(grid(), v.left(1));
                QTest::keyClicks(edicion(), v.mid(1));
            }
            enter(v.isEmpty() ? static_cast<QWidget*>(grid()) : edicion());
        }
    }
    // A person's double-click: press, release, then the double-click itself.
    void doubleClickCell(int row, int column)
    {
        const QPoint at = grid()->visualItemRect(grid()->item(row - 1, column - 1)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void initTestCase()
    {
        // The program's settings file, here a fresh one pointing at a local page.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
        QFile page(m_settings.filePath("inicio.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><head><meta charset=\"utf-8\"><title>Inicio local</title></head></html>");
        page.close();
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Orvex", "Orvex");
        settings.setValue("Internet/Inicio", QUrl::fromLocalFile(page.fileName()).toString());
    }
    void init()
    {
        m_s = std::make_unique<Session>();
        m_w = &m_s->window;
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w));
    }
    void cleanup() { m_s.reset(); }

    void controlsExistWithTheirDefaults()
    {
        for (const char* name : { "Nuevo", "Abrir", "Grabar", "Calculos", "Diagrama", "Liquidacion",
                 "Internet" }) // the pictures come from the resources
            QVERIFY2(!find<QToolButton>(name)->icon().isNull(), name);
        QVERIFY(!action("MenuGuardar")->isEnabled());

        // Every column in view, as wide as designed at least and as its header needs.
        QTableWidget* g = grid();
        const int widths[] = { 4208, 1404, 562, 562, 562, 1404 };
        QVERIFY(g->rowCount() == 99 && g->columnCount() == 6);
        for (int c = 0; c < 6; ++c) {
            QVERIFY(g->columnWidth(c) >= twipsToPixels(widths[c], g));
            QVERIFY(g->columnWidth(c) >= g->horizontalHeader()->sectionSizeHint(c));
        }
        QCOMPARE(g->horizontalScrollBar()->maximum(), 0);
        // A rate with all the digits a rate search writes back shows whole.
        interes()->setText(QStringLiteral("-0.0123456789012345"));
        QVERIFY(interes()->width() > interes()->fontMetrics().horizontalAdvance(interes()->text()));
        QVERIFY(find("ConvertirTasaInteres")->x() > interes()->geometry().right());
        QVERIFY(g->columnWidth(2) >= g->fontMetrics().horizontalAdvance("-32000"));
        QVERIFY(g->item(5, 1)->textAlignment() & Qt::AlignLeft);
        QCOMPARE(frame()->height(), twipsToPixels(1185, g));
        QLabel* value = find<QLabel>("LabelRespuesta");
        QVERIFY(value->font().bold() && value->font().pointSizeF() == 12.0);
        QCOMPARE(value->palette().color(QPalette::WindowText), QColor(Qt::red));

        // Activation made cell (1, 1) current, which shows the kind list.
        QCOMPARE(current(), (CellPos { 1, 1 }));
        QVERIFY(!tipo()->isHidden() && edicion()->isHidden() && frame()->isHidden());
    }

    void typingAWorksheetThroughTipoAndEdicion()
    {
        typeRow(1, 1, { "-1000", "0" });
        QCOMPARE(cell(1, 1), kind(1));
        QCOMPARE(cell(1, 2), QStringLiteral("-1000"));
        QCOMPARE(current(), (CellPos { 1, 1 })); // Final is locked for a single payment
        goTo(1, 4); // going there directly sends the user back to the kind, showing nothing
        QVERIFY(current() == (CellPos { 1, 1 }) && tipo()->isHidden() && edicion()->isHidden());
        typeRow(2, 4, { "200", "1", "6", "5", "90" });
        QCOMPARE(cell(2, 1), kind(4));
        QCOMPARE(cell(2, 6), QStringLiteral("90"));
        QCOMPARE(m_w->worksheet().cell(2, kColPorcentaje), std::string("5"));
        QCOMPARE(current(), (CellPos { 3, 1 }));

        // Keys other than digits, "-" and "*" do not start typing; a digit replaces all.
        goTo(2, 2);
        QTest::keyClicks(grid(), QStringLiteral("a+"));
        QCOMPARE(edicion()->text(), QStringLiteral("200"));
        QTest::keyClicks(grid(), QStringLiteral("7"));
        QCOMPARE(cell(2, 2), QStringLiteral("7"));
        QCOMPARE(edicion()->cursorPosition(), 1);

        // A row that lost its kind is emptied by the next cell reaction, or by a double-click.
        goTo(2, 1);
        tipo()->setCurrentIndex(0);
        QCOMPARE(cell(2, 2), QStringLiteral("7"));
        goTo(2, 2);
        doubleClickCell(1, 2);
        for (int c = 1; c <= 6; ++c)
            QVERIFY(cell(1, c).isEmpty() && cell(2, c).isEmpty());
    }

    void unknownMarkerInValorAndInteres()
    {
        typeRow(1, 2, { "*", "*" });
        QCOMPARE(cell(1, 2), QStringLiteral("Incognita"));
        QCOMPARE(cell(1, 3), QStringLiteral("*")); // only Valor turns into Incognita
        goTo(1, 2);
        QCOMPARE(edicion()->text(), QStringLiteral("*"));
        QCOMPARE(cell(1, 2), QStringLiteral("Incognita"));

        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w));
        interes()->setFocus();
        QTest::keyClicks(interes(), QStringLiteral("*"));
        grid()->setFocus();
        QCOMPARE(m_w->worksheet().rate(), std::string("Incognita"));
        QCOMPARE(interes()->text(), QStringLiteral("Incognita"));
        interes()->setFocus();
        QTRY_COMPARE(interes()->selectedText(), QStringLiteral("*"));
    }

    void solvingShowsTheFrameOnce_data()
    {
        // -1000 now and 1100 one period later at 10 %, one of them unknown:
        // Valor of row 2, rate, the frame's comment and answer.
        QTest::addColumn<QStringList>("c");
        QTest::newRow("value") << QStringList { "*", "10",
            "El valor P (Pago Unico ) es : ", "1100.00" };
        QTest::newRow("rate") << QStringList { "1100", "Incognita",
            "La tasa de interes es : ", "10.00%" };
    }
    void solvingShowsTheFrameOnce()
    {
        QFETCH(QStringList, c);
        typeRow(1, 1, { "-1000", "0" });
        typeRow(2, 1, { c[0], "1" });
        interes()->setText(c[1]);
        const int before = m_w->height();
        click("Calculos");
        QCOMPARE(label("LabelComentario"), c[2]);
        QCOMPARE(label("LabelRespuesta"), c[3]);
        QVERIFY(qAbs(interes()->text().toDouble() - 10.0) < 1e-6);
        QCOMPARE(cell(2, 2), c[0] == "*" ? QStringLiteral("Incognita") : c[0]);
        QVERIFY(m_s->messages.shown.empty() && m_w->modals.empty());
        QVERIFY(!frame()->isHidden());
        QCOMPARE(m_w->height(), before + frame()->height());
        click("MenuCalculosFinancieros");
        QCOMPARE(m_w->height(), before + frame()->height());
        click("Cerrar");
        QVERIFY(frame()->isHidden());
        QCOMPARE(m_w->height(), before);
        // An answer goes as soon as an input it came from changes.
        click("Calculos");
        goTo(1, 2);
        QTest::keyClicks(edicion(), "0");
        QVERIFY(frame()->isHidden() && label("LabelRespuesta").isEmpty());
        QCOMPARE(m_w->height(), before);
    }

    void evaluationHidesTheFrameAndActivatesAgain()
    {
        // -1000 now and 300 a period for 4 periods at 10 %:
        // VPN = 300 (1 - 1.1^-4) / 0.1 - 1000 = -49.04, B/C = 0.95, TIR = 7.71 %.
        typeRow(1, 1, { "-1000", "0" });
        typeRow(2, 2, { "300", "0", "4" });
        typeRow(3, 1, { "*", "0" });
        interes()->setText(QStringLiteral("10"));
        const int before = m_w->height();
        click("MenuCalculosFinancieros"); // a solve first shows the frame
        QCOMPARE(label("LabelRespuesta"), QStringLiteral("49.04"));
        doubleClickCell(3, 1); // the solved row goes, and its answer with it
        QVERIFY(frame()->isHidden() && label("LabelRespuesta").isEmpty());

        goTo(2, 3);
        m_s->state.LoanWindowActive = true;
        click("Calculos");
        QCOMPARE(m_w->modals.size(), std::size_t(1));
        QCOMPARE(m_w->modals[0],
            (QStringList { "Indicadores de Evaluación", "-49.04", "0.95", "7.71", "hidden",
                QString::number(before) }));
        // Back from the evaluation window: served again, no stale answer shown.
        QCOMPARE(current(), (CellPos { 1, 1 }));
        QVERIFY(!tipo()->isHidden() && !m_s->state.LoanWindowActive);
        QVERIFY(frame()->isHidden());
    }

    void calculationErrorsShowTheMessage_data()
    {
        QTest::addColumn<QStringList>("rows"); // Valor and Inicio of rows 2 and 3, the rate
        QTest::newRow("only inflows, rate unknown")
            << QStringList { "500", "1", "", "", "Incognita" };
        QTest::newRow("huge exponent") << QStringList { "1e999", "1", "", "", "10" };
        // The rate is found and shown, then the unknown row cannot be entered.
        QTest::newRow("rate found, then an unknown row")
            << QStringList { "-770", "1", "*", "2", "Incognita" };
    }
    void calculationErrorsShowTheMessage()
    {
        QFETCH(QStringList, rows);
        typeRow(1, 1, { "700", "0" });
        typeRow(2, 1, rows.mid(0, 2));
        if (!rows[2].isEmpty())
            typeRow(3, 1, rows.mid(2, 2));
        interes()->setText(rows[4]);
        click("MenuCalculosFinancieros");
        QCOMPARE(m_s->messages.shown.size(), std::size_t(1));
        QCOMPARE(lastMessage().title + ": " + lastMessage().text,
            QStringLiteral("ERROR: Error en cálculos, revise la información digitada..."));
        QCOMPARE(lastMessage().icon, MsgIcon::Critical);
        QVERIFY(frame()->isHidden() && label("LabelRespuesta").isEmpty() && m_w->modals.empty());
        goTo(1, 2); // still usable: the next move shows its input control
        QVERIFY(!edicion()->isHidden());
    }

    void validationFaultsKeepTheFaultyCell_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("message");
        QTest::newRow("series ends before it starts")
            << QStringList { "100", "5", "3" } << int(kColFinal) << "Valor mal digitado...";
        QTest::newRow("letter in Valor")
            << QStringList { "12a", "0", "5" } << int(kColValor) << "Caracter NO Válido...";
    }
    void validationFaultsKeepTheFaultyCell()
    {
        QFETCH(QStringList, values);
        QFETCH(int, column);
        QTemporaryDir dir;
        typeRow(1, 2, { "1", "0", "2" });
        typeRow(40, 2, values);
        goTo(1, 2);
        const QString path = dir.filePath(QStringLiteral("hoja.ORV"));
        m_s->dialogs.names.push_back(path);
        click("Grabar");
        QCOMPARE(m_s->messages.shown.size(), std::size_t(1));
        QTEST(lastMessage().text, "message");
        QCOMPARE(lastMessage().title, QStringLiteral("ERROR"));
        QVERIFY(
            lastMessage().icon == MsgIcon::Exclamation && lastMessage().buttons == MsgButtons::Ok);
        QCOMPARE(current(), (CellPos { 40, column }));
        QCOMPARE(grid()->rowAt(0), 39); // the faulty row is the top visible row
        QVERIFY(!edicion()->isHidden());
        QVERIFY(!QFile::exists(path) && !action("MenuGuardar")->isEnabled());
    }

    void saveAndOpenRoundTrip()
    {
        QTemporaryDir dir;
        typeRow(1, 1, { "-1000", "0" });
        typeRow(3, 5, { "*", "0", "2", "10", "" });
        interes()->setText(QStringLiteral("1.5"));
        const QString typed = dir.filePath(QStringLiteral("datos"));
        const QString stored = dir.filePath(QStringLiteral("DATOS.ORV"));
        m_w->activateWindow(); // the file commands through their shortcut keys
        QVERIFY(QTest::qWaitForWindowActive(m_w));
        grid()->setFocus();
        m_s->dialogs.names.push_back(typed);
        QTest::keySequence(m_w, QKeySequence(QStringLiteral("Ctrl+C"))); // Guardar como
        QVERIFY(m_s->messages.shown.empty());
        QVERIFY(m_s->dialogs.filters.value(0).contains(QStringLiteral("*.ORV")));
        QCOMPARE(m_s->dialogs.suffixes, QStringList { "ORV" }); // the dialog adds ".ORV"
        QCOMPARE(QFile(typed).size(), qint64(3 * 256));
        QCOMPARE(m_w->windowTitle(), caption(stored));
        QCOMPARE(action("MenuGuardar")->text(), QStringLiteral("Guardar [") + stored + "]");
        QTest::keySequence(m_w, QKeySequence(QStringLiteral("Ctrl+G"))); // without asking
        QCOMPARE(m_s->dialogs.filters.size(), 1);
        QCOMPARE(QFile(stored).size(), qint64(3 * 256));

        click("Nuevo");
        QCOMPARE(cell(1, 1), QString());
        QCOMPARE(interes()->text(), QString());
        QCOMPARE(m_w->windowTitle(), caption(stored));

        m_s->dialogs.names.push_back(stored);
        QTest::keySequence(m_w, QKeySequence(QStringLiteral("Ctrl+A")));
        QVERIFY(m_s->messages.shown.empty());
        QCOMPARE(interes()->text(), QStringLiteral("1.5"));
        QCOMPARE(cell(1, 1) + "|" + cell(1, 2), kind(1) + "|-1000");
        QCOMPARE(cell(2, 1) + "|" + cell(2, 2) + "|" + cell(2, 5), kind(5) + "|Incognita|10");
        QCOMPARE(current(), (CellPos { 1, 1 }));
        click("Grabar"); // the toolbar's Grabar asks for a name even with a file in use
        QCOMPARE(m_s->dialogs.filters.size(), 3);
        QCOMPARE(m_w->windowTitle(), caption(stored));
    }

    void openAsksBeforeCreatingAMissingFile()
    {
        QTemporaryDir dir;
        typeRow(1, 1, { "5", "0" });
        const QString path = dir.filePath(QStringLiteral("nuevo.ORV"));
        for (MsgAnswer answer : { MsgAnswer::No, MsgAnswer::Yes }) {
            m_s->dialogs.names.push_back(path);
            m_s->messages.answers.push_back(answer);
            click("Abrir");
            QCOMPARE(lastMessage().text,
                QStringLiteral("El archivo [") + path + "] no existe. ¿Desea crearlo?");
            QVERIFY(lastMessage().icon == MsgIcon::Question
                && lastMessage().buttons == MsgButtons::YesNo);
            const bool yes = answer == MsgAnswer::Yes;
            QCOMPARE(QFile::exists(path), yes);
            QCOMPARE(cell(1, 2), yes ? QString() : QStringLiteral("5"));
            QCOMPARE(m_w->windowTitle(), yes ? caption(path) : QStringLiteral("TALVORA"));
        }
    }

    void fileErrorsAreReported()
    {
        QTemporaryDir dir;
        typeRow(1, 1, { "5", "0" });
        m_s->dialogs.names.push_back(dir.filePath(QStringLiteral("no/such/folder/x.ORV")));
        click("MenuGuardarComo");
        QVERIFY(lastMessage().text.endsWith(QStringLiteral("] en el sistema...")));
        QCOMPARE(lastMessage().title, QStringLiteral("DATOS NUEVOS"));
        QCOMPARE(lastMessage().buttons, MsgButtons::OkCancel);
        QVERIFY(!action("MenuGuardar")->isEnabled());

        // Neither a folder nor a file that is not a worksheet fills the grid.
        const QString letter = dir.filePath(QStringLiteral("carta.txt"));
        writeFileAtomically(us(letter), std::string(600, 'x'));
        const std::pair<const char*, QString> opens[]
            = { { "MenuAbrir", dir.path() }, { "Abrir", letter } };
        for (const auto& [command, path] : opens) {
            m_s->dialogs.names.push_back(path);
            click(command);
            QCOMPARE(lastMessage().title, QStringLiteral("DATOS NUEVOS"));
            QCOMPARE(cell(1, 2), QStringLiteral("5"));
            QCOMPARE(m_w->windowTitle(), QStringLiteral("TALVORA"));
        }
        QCOMPARE(m_s->messages.shown.size(), std::size_t(3));
        QVERIFY2(lastMessage().text.startsWith(
                     QString("Ocurrió el error [%1:No es una hoja de trabajo \"%2\"")
                         .arg(EINVAL)
                         .arg(letter)),
            qPrintable(lastMessage().text));

        // A file deleted while in use is written again by Guardar.
        const QString path = dir.filePath(QStringLiteral("borrado.ORV"));
        m_s->dialogs.names.push_back(path);
        click("MenuGuardarComo");
        QVERIFY(QFile::remove(path));
        click("MenuGuardar");
        QCOMPARE(m_s->messages.shown.size(), std::size_t(3));
        QCOMPARE(QFile(path).size(), qint64(2 * 256));
    }

    void pasteAfterConfirmation()
    {
        typeRow(1, 1, { "9", "0" });
        QGuiApplication::clipboard()->setText(QStringLiteral("2\t100\t0\t5\r\n1\t*\t3\r\n"));
        goTo(2, 1);
        m_s->messages.answers.push_back(MsgAnswer::No);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(lastMessage().text, QStringLiteral("Confirme el proceso..."));
        QCOMPARE(lastMessage().title, QStringLiteral("Pegar de Clipoboard"));
        QVERIFY(
            lastMessage().icon == MsgIcon::Question && lastMessage().buttons == MsgButtons::YesNo);
        QCOMPARE(cell(2, 1), QString());

        m_s->messages.answers.push_back(MsgAnswer::Yes); // where the block lands: the core's
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cell(2, 1), kind(2));
        QCOMPARE(cell(3, 2), QStringLiteral("Incognita"));

        // A kind beyond a double is no kind: the row lands without one, nothing breaks.
        QGuiApplication::clipboard()->setText(QStringLiteral("1e400\t100\t1\t5\t0\t0"));
        goTo(5, 1);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(lastMessage().title, QStringLiteral("Pegar de Clipoboard")); // no error
        QCOMPARE(cell(5, 1), QString());
        QCOMPARE(cell(2, 1), kind(2));
    }

    void childWindowsReturnToTheWorksheet()
    {
        typeRow(2, 2, { "100", "0", "3" });
        const char* commands[] = { "ConvertirTasaInteres", "MenuSistemasAmortizacion",
            "MenuPlanPagos", "Liquidacion", "MenuDiagramaFlujo", "Diagrama", "MenuAcercaDe" };
        for (std::size_t i = 0; i < std::size(commands); ++i) {
            goTo(2, 2);
            m_s->state.LoanWindowActive = true;
            click(commands[i]);
            QVERIFY2(m_w->modals.size() == i + 1, commands[i]);
            QCOMPARE(current(), (CellPos { 1, 1 }));
            QVERIFY(!m_s->state.LoanWindowActive && m_w->isVisible());
        }
        QCOMPARE(m_w->modals.back().value(0), QStringLiteral("Acerca de Orvex"));
        QVERIFY(webViewers(m_w).isEmpty());
        // The converter's Aceptar writes into Interes; the plan reads the worksheet's flows
        // and its rate: 1000 lent at 10 %, five payments solved.
        m_w->whileOpen = [](QDialog& converter) {
            QTest::keyClicks(converter.findChild<QLineEdit*>("TasaConocida"), "12");
            for (const char* button : { "Calculos", "Boton0" })
                QTest::mouseClick(converter.findChild<QPushButton*>(button), Qt::LeftButton);
        };
        click("ConvertirTasaInteres");
        QCOMPARE(interes()->text(), QStringLiteral("0.9488792935"));
        typeRow(1, 1, { "1000", "0" });
        typeRow(2, 2, { "*", "0", "5" });
        interes()->setText(QStringLiteral("10"));
        click("Calculos");
        QString lastRow;
        m_w->whileOpen = [&lastRow](QDialog& schedule) {
            auto* grid = schedule.findChild<QTableWidget*>("Celdas");
            for (int c = 0; c < grid->columnCount(); ++c)
                lastRow += grid->item(grid->rowCount() - 1, c)->text() + "|";
        };
        click("MenuPlanPagos");
        QCOMPARE(lastRow, QStringLiteral("5|23.98|263.80|239.82|0.00|"));
    }

    void salirEndsWithoutAsking()
    {
        typeRow(1, 1, { "5", "0" });
        click("MenuSalirPrograma");
        QVERIFY(!m_w->isVisible());
        QVERIFY(m_s->messages.shown.empty() && m_s->dialogs.filters.isEmpty());
    }

    void webViewerOpensWithoutBlockingAndOnce()
    {
        QTest::mouseClick(find("Internet"), Qt::LeftButton);
        const auto viewers = [this] { return webViewers(m_w); };
        QCOMPARE(viewers().size(), 1);
        QWidget* web = viewers()[0];
        QVERIFY(web->isVisible() && web->isWindow());
        QCOMPARE(web->windowModality(), Qt::NonModal);
        QVERIFY(m_w->modals.empty());
        QTRY_COMPARE_WITH_TIMEOUT(web->windowTitle(), QStringLiteral("Inicio local"), 30000);

        // The main window goes on working; the menu command brings the same viewer back.
        m_w->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), m_w);
        click("MenuConsultarWeb");
        QCOMPARE(viewers(), QList<QWidget*> { web });
        QTRY_COMPARE(QApplication::activeWindow(), web);

        // Closed, it is gone; the next command opens a new one.
        QPointer<QWidget> closed = web;
        web->close();
        QTRY_VERIFY(closed.isNull());
        click("MenuConsultarWeb");
        QCOMPARE(viewers().size(), 1);
        QVERIFY(viewers()[0]->isVisible());
    }

    void commandLineWordsAreRead_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("file");
        using A = CommandLine::Action;
        QTest::newRow("nothing") << QStringList {} << A::Start << "";
        QTest::newRow("a file") << QStringList { "hoja.ORV" } << A::Start << "hoja.ORV";
        QTest::newRow("help wins") << QStringList { "hoja.ORV", "-h" } << A::Help << "";
        QTest::newRow("help after an error") << QStringList { "-x", "--help" } << A::Help << "";
        QTest::newRow("version") << QStringList { "--version" } << A::Version << "";
        QTest::newRow("unknown option") << QStringList { "-x" } << A::Error << "";
        QTest::newRow("two files") << QStringList { "a.ORV", "b.upa" } << A::Error << "";
        QTest::newRow("empty name") << QStringList { "" } << A::Error << "";
        QTest::newRow("dash is a name") << QStringList { "-" } << A::Start << "-";
        QTest::newRow("names after --") << QStringList { "--", "--help" } << A::Start << "--help";
        QTest::newRow("-- then two") << QStringList { "--", "-a", "b" } << A::Error << "";
    }
    void commandLineWordsAreRead()
    {
        QFETCH(QStringList, words);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, file);
        std::vector<std::string> raw;
        for (const QString& w : words)
            raw.push_back(us(w));
        const CommandLine line = parseCommandLine(raw);
        QCOMPARE(line.action, action);
        QCOMPARE(qs(line.file), file);
        QCOMPARE(line.error.empty(), action != CommandLine::Action::Error);
    }

    void givenFileExtensionSaysWhichWindow()
    {
        QCOMPARE(givenFileKind("PRESTAMO.UPA"), GivenFileKind::Loan);
        QCOMPARE(givenFileKind("tabla.Cor"), GivenFileKind::VariationTable);
        QCOMPARE(givenFileKind("hoja.orv"), GivenFileKind::Worksheet);
        QCOMPARE(givenFileKind("sin-extension"), GivenFileKind::Worksheet);
        QCOMPARE(givenFileKind("prestamos.upa/hoja"), GivenFileKind::Worksheet);
        QCOMPARE(givenFileKind("upa"), GivenFileKind::Worksheet);
    }

    // A given worksheet comes up as "Abrir" leaves it, under any extension; nothing else opens.
    void givenWorksheetOpensInTheGrid()
    {
        QTemporaryDir dir;
        Worksheet sheet;
        sheet.setRate("1.5");
        sheet.setCell(5, kColTipo, std::string(kKindTexts[1]));
        sheet.setCell(5, kColValor, "Incognita");
        sheet.setCell(5, 3, "1");
        sheet.setCell(5, 4, "12");
        const QString file = dir.filePath("cuota.ORV.bak");
        saveWorksheetFile(us(file), sheet);
        m_w->openGivenFile(file);
        QCOMPARE(cell(1, 1), kind(2));
        QCOMPARE(cell(1, 4), QStringLiteral("12"));
        QCOMPARE(interes()->text(), QStringLiteral("1.5"));
        QCOMPARE(m_w->windowTitle(), caption(file));
        QVERIFY(m_s->messages.shown.empty() && m_w->modals.empty());
    }

    // A given loan opens the loan window loaded, or empty with the message when unreadable.
    void givenLoanOpensLoaded()
    {
        QTemporaryDir dir;
        LoanInput loan;
        loan.texts = { "1200000", "100", "12", "1", "0.5" };
        loan.system = PaymentSystem::PresetPayments;
        loan.enUvr = true;
        const QString file = dir.filePath("casa.UPA");
        saveLoanFile(us(file), loan);
        const QString bad = dir.filePath("corto.upa");
        writeFileAtomically(us(bad), "1200000");
        QStringList seen;
        m_w->whileOpen = [&](QDialog& child) {
            if (auto* upac = qobject_cast<UPAC*>(&child))
                seen = loanFields(*upac);
        };
        m_w->openGivenFile(file);
        QCOMPARE(seen,
            QStringList({ "1200000        ", "100            ", "12    ", "1        ", "0.5      ",
                "SistemaPago3", "Opcion1" }));
        QVERIFY(m_s->messages.shown.empty() && !m_s->state.LoanWindowActive);

        m_w->openGivenFile(bad);
        QCOMPARE(m_s->messages.shown.size(), std::size_t { 1 });
        QCOMPARE(lastMessage().title, QStringLiteral("ERROR"));
        QCOMPARE(seen, QStringList({ "", "", "", "", "", "SistemaPago1" }));
    }

    // A given variation table comes up loaded over the loan window, its months the file's;
    // an empty one opens no table.
    void givenVariationTableOpensOverTheLoanWindow()
    {
        QTemporaryDir dir;
        std::vector<std::string> rates(13);
        rates[0] = "0.4";
        rates[12] = "0.7";
        const QString file = dir.filePath("tabla.cor");
        saveVariationFile(us(file), rates);
        const QString empty = dir.filePath("vacia.cor");
        writeFileAtomically(us(empty), "");
        QStringList order;
        QString term;
        QStringList shown;
        m_w->whileOpen = [&](QDialog& child) {
            order << child.objectName();
            QCoreApplication::processEvents();
            if (auto* upac = qobject_cast<UPAC*>(&child))
                term = upac->valores(3)->text();
            else if (auto* table = qobject_cast<TablaCorreccion*>(&child))
                shown = table->rateTexts();
        };
        m_w->openGivenFile(file);
        QCOMPARE(order, QStringList({ "UPAC", "TablaCorreccion" }));
        QCOMPARE(term, QStringLiteral("12"));
        QCOMPARE(shown.size(), 13);
        QVERIFY(shown.first() == "0.4" && shown.last() == "0.7");

        order.clear();
        m_w->openGivenFile(empty);
        QCOMPARE(order, QStringList({ "UPAC" }));
        QCOMPARE(m_s->messages.shown.size(), std::size_t { 1 });
        QVERIFY(lastMessage().text.contains(QStringLiteral("vacío")));
    }

    // The standard dialogs and buttons speak the program's Spanish.
    void standardButtonsSpeakSpanish()
    {
        QVERIFY(installSpanishTranslations(*qApp));
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Sí"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancelar"));
    }

    void evaluationWindowClosesOnCerrarOrAltC()
    {
        for (const bool mnemonic : { false, true }) {
            Respuestas window(CalcOutcome::Evaluation { "1.00", "2.00", "3.00" });
            window.open();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            if (mnemonic)
                QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
            else
                QTest::mouseClick(window.findChild<QPushButton*>("Cerrar"), Qt::LeftButton);
            QTRY_VERIFY(!window.isVisible()); // a mnemonic clicks after a short animation
            QCOMPARE(window.result(), int(QDialog::Accepted));
        }
    }

    // A fixed size that cuts no text, the built-in picture, and OK closes.
    void aboutFitsItsTextsAndOkCloses()
    {
        frmAbout w(m_s->context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!find<QLabel>("picIcon", &w)->pixmap().isNull());
        QCOMPARE(find<QLabel>("lblVersion", &w)->text(), QStringLiteral("Versión " ORVEX_VERSION));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        for (auto* label : w.findChildren<QLabel*>())
            QVERIFY2(label->geometry().bottom() <= w.height(), qPrintable(label->objectName()));
        QTest::mouseClick(find("cmdOK", &w), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void aboutSysInfoStartsTheFirstInstalledProgram_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("tried");
        QTest::newRow("none installed") << QStringList {} << true << QStringList {};
        QTest::newRow("other programs are not system tools")
            << QStringList { "bash", "top" } << true << QStringList {};
        QTest::newRow("the first of the list wins")
            << QStringList { "lxtask", "gnome-system-monitor", "hardinfo" } << true
            << QStringList { "hardinfo" };
        QTest::newRow("installed but none starts") << QStringList { "lxtask",
            "kinfocenter" } << false << QStringList { "kinfocenter", "lxtask" };
    }
    void aboutSysInfoStartsTheFirstInstalledProgram()
    {
        QFETCH(QStringList, installed);
        QFETCH(bool, starts);
        QFETCH(QStringList, tried);
        m_s->launcher.installed = installed;
        m_s->launcher.startResult = starts;
        frmAbout w(m_s->context);
        w.show();
        QTest::mouseClick(find("cmdSysInfo", &w), Qt::LeftButton);

        QStringList started;
        for (const auto& call : m_s->launcher.calls) {
            QCOMPARE(call.kind, ScriptedProcessLauncher::Kind::StartDetached);
            started << call.program;
        }
        QCOMPARE(started, tried);
        const bool failed = tried.isEmpty() || !starts;
        QCOMPARE(m_s->messages.shown.size(), std::size_t(failed ? 1 : 0));
        if (failed) {
            const MessageRequest& box = m_s->messages.shown[0];
            QCOMPARE(box.text,
                QStringLiteral("La información del sistema no está disponible en este momento"));
            QCOMPARE(box.title, QStringLiteral("Orvex"));
            QVERIFY(box.icon == MsgIcon::None && box.buttons == MsgButtons::Ok);
        }
        QVERIFY(w.isVisible());
    }

    // The rate box and each value cell of a row, then Cálculos: a message or a finite answer.
    void hostileTextsInTheRateAndTheCells()
    {
        typeRow(1, 1, { "-1000", "0" });
        typeRow(2, 1, { "1100", "1" });
        bool nanShown = false;
        m_w->whileOpen
            = [&](QDialog& child) { nanShown = nanShown || test::showsNanOrInf(&child, {}); };
        auto answered = [&](const QString&, const QString& text) {
            QVERIFY2(!nanShown, qPrintable(text.left(20)));
            QVERIFY2(!m_s->messages.shown.empty() || !label("LabelRespuesta").isEmpty()
                    || !m_w->modals.empty(),
                qPrintable(text.left(20)));
            m_s->messages.shown.clear();
            m_w->modals.clear();
        };
        test::pasteHostileEverywhere(
            m_w, [&] { click("Calculos"); }, answered);
        interes()->clear();
        for (int column : { kColTipo + 1, kColTipo + 2 })
            for (const QString& text : test::hostileTexts()) {
                goTo(2, column);
                QTest::keyClicks(grid(), "0");
                test::paste(edicion(), text);
                enter(edicion());
                click("Calculos");
                QVERIFY2(!test::showsNanOrInf(m_w, text), qPrintable(text.left(20)));
                answered({}, text);
                if (QTest::currentTestFailed())
                    return;
            }
    }
};

QTEST_MAIN(TstTalvora)
#include "tst_talvora.moc"
