#include "app/talvora.h"

#include "common/shared_state.h"
#include "common/text.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace orvex;

namespace {

// Talvora with its modal children answered in place: records what each showed.
class ProbeTalvora : public Talvora {
public:
    using Talvora::Talvora;

    struct Shown {
        QString title;
        QStringList comentarios, respuestas;
        bool frameHidden = false;
    };
    std::vector<Shown> modals;
    std::function<void()> whileModal;

protected:
    int runModal(QDialog& child) override
    {
        Shown shown;
        shown.title = child.windowTitle();
        for (int i = 1; i <= 3; ++i) {
            if (auto* c = child.findChild<QLabel*>(QStringLiteral("LabelComentario%1").arg(i)))
                shown.comentarios << c->text();
            if (auto* r = child.findChild<QLabel*>(QStringLiteral("LabelRespuesta%1").arg(i)))
                shown.respuestas << r->text();
        }
        shown.frameHidden = findChild<QGroupBox*>(QStringLiteral("Respuesta"))->isHidden();
        modals.push_back(shown);
        if (whileModal)
            whileModal();
        return QDialog::Accepted;
    }
};

QString kind(int number)
{
    return qs(std::string(kKindTexts[static_cast<std::size_t>(number - 1)]));
}

} // namespace

class TstTalvora : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    std::unique_ptr<ScriptedMessageService> m_messages;
    std::unique_ptr<ScriptedFileDialogService> m_dialogs;
    std::unique_ptr<AppContext> m_ctx;
    std::unique_ptr<ProbeTalvora> m_w;

    template <typename T> T* find(const char* name)
    {
        auto* found = m_w->findChild<T*>(QString::fromUtf8(name));
        if (!found)
            qFatal("control %s not found", name);
        return found;
    }
    QTableWidget* grid() { return find<QTableWidget>("Celdas"); }
    QLineEdit* edicion() { return find<QLineEdit>("Edicion"); }
    QComboBox* tipo() { return find<QComboBox>("Tipo"); }
    QLineEdit* interes() { return find<QLineEdit>("Interes"); }
    QGroupBox* frame() { return find<QGroupBox>("Respuesta"); }
    QString cell(int row, int column) { return grid()->item(row - 1, column - 1)->text(); }
    CellPos current() { return m_w->currentCell(); }
    void goTo(int row, int column) { grid()->setCurrentCell(row - 1, column - 1); }
    void enter(QWidget* target) { QTest::keyClick(target, Qt::Key_Return); }

    // Types a value the way a person does: the first key on the grid starts
    // editing, the rest goes to the edit box, Enter moves on.
    void typeValue(const QString& text)
    {
        if (text.isEmpty()) {
            enter(grid());
            return;
        }
        QTest::keyClicks(grid(), text.left(1));
        QTest::keyClicks(edicion(), text.mid(1));
        enter(edicion());
    }
    // A row from its kind number and the values of its editable cells in order.
    void typeRow(int row, int kindNumber, const QStringList& values)
    {
        goTo(row, kColTipo);
        QTest::keyClicks(grid(), QString::number(kindNumber));
        enter(tipo());
        for (const QString& v : values)
            typeValue(v);
    }
    int frameHeight() { return frame()->height(); }
    // A person's double-click: press, release, then the double-click itself.
    void doubleClickCell(int row, int column)
    {
        const QPoint at = grid()->visualItemRect(grid()->item(row - 1, column - 1)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, at);
    }
    const MessageRequest& lastMessage() { return m_messages->shown.back(); }
    QAction* action(const char* name) { return find<QAction>(name); }

private slots:
    void init()
    {
        m_state = SharedState {};
        m_messages = std::make_unique<ScriptedMessageService>();
        m_dialogs = std::make_unique<ScriptedFileDialogService>();
        m_ctx = std::make_unique<AppContext>(AppContext { m_state, *m_messages, *m_dialogs });
        m_w = std::make_unique<ProbeTalvora>(*m_ctx);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }
    void cleanup() { m_w.reset(); }

    void controlsExistWithTheirDefaults()
    {
        QCOMPARE(m_w->objectName(), QStringLiteral("Talvora"));
        QCOMPARE(m_w->windowTitle(), QStringLiteral("TALVORA"));

        QTableWidget* g = grid();
        QCOMPARE(g->rowCount(), 99);
        QCOMPARE(g->columnCount(), 6);
        const QStringList headers = { "Tipo", "Valor", "Inicio", "Final", "%", "Sensibilidad (%)" };
        const int widths[] = { 4208, 1404, 562, 562, 562, 1404 };
        for (int c = 0; c < 6; ++c) {
            QCOMPARE(g->horizontalHeaderItem(c)->text(), headers[c]);
            QCOMPARE(g->columnWidth(c), twipsToPixels(widths[c], g));
        }
        QCOMPARE(g->verticalHeader()->width(), twipsToPixels(422, g));
        QCOMPARE(g->verticalHeaderItem(0)->text(), QStringLiteral("1"));
        QCOMPARE(g->verticalHeaderItem(98)->text(), QStringLiteral("99"));
        QVERIFY(g->horizontalHeader()->defaultAlignment() & Qt::AlignLeft);
        QVERIFY(g->item(5, 1)->textAlignment() & Qt::AlignLeft);
        QCOMPARE(g->geometry(), twipsRect(0, 360, 9075, 2400, g));

        // Activation made cell (1, 1) current, which shows the kind list.
        QCOMPARE(current(), (CellPos { 1, 1 }));
        QVERIFY(!tipo()->isHidden());
        QVERIFY(edicion()->isHidden());
        QCOMPARE(tipo()->count(), 6);
        QCOMPARE(tipo()->itemText(0), QString());
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(tipo()->itemText(k), kind(k));
        QCOMPARE(edicion()->geometry(), twipsRect(0, 2790, 9060, 330, g));

        QCOMPARE(find<QLabel>("Label1")->text(), QStringLiteral("Tasa de Interés (%) :"));
        QCOMPARE(interes()->text(), QString());
        QCOMPARE(
            find<QPushButton>("ConvertirTasaInteres")->text(), QStringLiteral("Convertir Tasa"));
        QVERIFY(frame()->isHidden());
        QCOMPARE(frame()->title(), QStringLiteral("Respuesta"));
        QCOMPARE(frameHeight(), twipsToPixels(1185, g));
        QCOMPARE(find<QPushButton>("Cerrar")->text(), QStringLiteral("C&errar"));
        QLabel* value = find<QLabel>("LabelRespuesta");
        QVERIFY(value->font().bold());
        QCOMPARE(value->font().pointSizeF(), 12.0);
        QCOMPARE(value->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(find<QLabel>("LabelComentario")->font().pointSizeF(), 12.0);

        QToolBar* bar = find<QToolBar>("Barra1");
        const char* keys[]
            = { "Nuevo", "Abrir", "Grabar", "Calculos", "Diagrama", "Liquidacion", "Internet" };
        const char* tips[]
            = { "Nuevo", "Abrir", "Grabar", "Cálculos", "D. de Flujo", "Liquidación", "" };
        for (int i = 0; i < 7; ++i) {
            auto* button = bar->findChild<QToolButton*>(QString::fromUtf8(keys[i]));
            QVERIFY2(button, keys[i]);
            QCOMPARE(button->defaultAction()->toolTip(), QString::fromUtf8(tips[i]));
            QVERIFY(!button->icon().isNull());
        }

        const QList<QAction*> menus = m_w->menuBar()->actions();
        QCOMPARE(menus.size(), 4);
        QCOMPARE(menus[0]->text(), QStringLiteral("Archivo"));
        QCOMPARE(menus[1]->text(), QStringLiteral("Cálculos"));
        QCOMPARE(menus[2]->text(), QStringLiteral("Préstamos en UVR"));
        QCOMPARE(menus[3]->text(), QStringLiteral("Salir"));
        QStringList archivo;
        for (QAction* a : menus[0]->menu()->actions())
            archivo << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(archivo, (QStringList { "Abrir", "-", "Guardar", "Guardar como..." }));
        QStringList calculosItems;
        for (QAction* a : menus[1]->menu()->actions())
            calculosItems << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(calculosItems,
            (QStringList { "Cálculos Financieros", "Diagrama de Flujo", "Plan de Pagos", "-",
                "Consultar la WEB" }));
        QStringList salirItems;
        for (QAction* a : menus[3]->menu()->actions())
            salirItems << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(salirItems, (QStringList { "Salir del Programa", "-", "Acerca de..." }));
        QCOMPARE(action("MenuAbrir")->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
        QCOMPARE(action("MenuGuardar")->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
        QCOMPARE(action("MenuGuardarComo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
        QVERIFY(!action("MenuGuardar")->isEnabled());
        QVERIFY(!m_state.LoanWindowActive);
    }

    void typingAWorksheetThroughTipoAndEdicion()
    {
        typeRow(1, 1, { "-1000", "0" });
        QCOMPARE(cell(1, 1), kind(1));
        QCOMPARE(cell(1, 2), QStringLiteral("-1000"));
        QCOMPARE(cell(1, 3), QStringLiteral("0"));
        // Final is locked for a single payment: the walk went back to the kind.
        QCOMPARE(current(), (CellPos { 1, 1 }));

        typeRow(2, 4, { "200", "1", "6", "5", "90" });
        QCOMPARE(cell(2, 1), kind(4));
        QCOMPARE(cell(2, 5), QStringLiteral("5"));
        QCOMPARE(cell(2, 6), QStringLiteral("90"));
        QCOMPARE(current(), (CellPos { 3, 1 }));
        QCOMPARE(m_w->worksheet().cell(2, kColFinal), std::string("6"));

        // Keys other than digits, "-" and "*" do not start typing.
        goTo(2, 2);
        QTest::keyClicks(grid(), QStringLiteral("a+"));
        QCOMPARE(cell(2, 2), QStringLiteral("200"));
        QCOMPARE(edicion()->text(), QStringLiteral("200"));
        // A digit replaces the whole text.
        QTest::keyClicks(grid(), QStringLiteral("7"));
        QCOMPARE(cell(2, 2), QStringLiteral("7"));
        QCOMPARE(edicion()->cursorPosition(), 1);
    }

    void enterWalksThroughEditableCellsOnly()
    {
        typeRow(1, 1, {});
        typeRow(2, 2, {});
        struct Step {
            CellPos from, to;
        };
        const Step steps[] = {
            { { 1, 1 }, { 1, 2 } },
            { { 1, 3 }, { 1, 1 } }, // Final locked for kind 1
            { { 2, 4 }, { 2, 1 } }, // % locked for kind 2
            { { 2, 6 }, { 3, 1 } },
            { { 99, 6 }, { 99, 1 } },
        };
        for (const Step& s : steps) {
            goTo(s.from.row, s.from.column);
            enter(grid());
            QCOMPARE(current(), s.to);
        }
        // Enter on the kind list goes to Valor.
        goTo(2, 1);
        enter(tipo());
        QCOMPARE(current(), (CellPos { 2, 2 }));
        QVERIFY(!edicion()->isHidden());
        QVERIFY(tipo()->isHidden());
        // Going to a locked cell directly sends the user back to the kind, showing nothing.
        goTo(1, 4);
        QCOMPARE(current(), (CellPos { 1, 1 }));
        QVERIFY(tipo()->isHidden());
        QVERIFY(edicion()->isHidden());
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
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
        interes()->setFocus();
        QTest::keyClicks(interes(), QStringLiteral("*"));
        grid()->setFocus();
        QCOMPARE(interes()->text(), QStringLiteral("Incognita"));
        QCOMPARE(m_w->worksheet().rate(), std::string("Incognita"));
        interes()->setFocus();
        QCOMPARE(interes()->text(), QStringLiteral("*"));
        QTRY_COMPARE(interes()->selectedText(), QStringLiteral("*"));
    }

    void rowsWithoutKindAreCleared()
    {
        typeRow(3, 2, { "100", "0", "4" });
        goTo(3, 1);
        tipo()->setCurrentIndex(0); // the empty entry removes the kind
        QCOMPARE(cell(3, 1), QString());
        QCOMPARE(cell(3, 2), QStringLiteral("100")); // until the next cell reaction
        goTo(3, 2);
        for (int c = 1; c <= 6; ++c)
            QCOMPARE(cell(3, c), QString());
        QCOMPARE(current(), (CellPos { 3, 1 }));

        typeRow(4, 2, { "100", "0", "4" });
        doubleClickCell(4, 2);
        for (int c = 1; c <= 6; ++c)
            QCOMPARE(cell(4, c), QString());
    }

    void solveShowsTheFrameAndGrowsOnce()
    {
        // One-period loan: -1000 now, the unknown single payment at 1, 10 %.
        typeRow(1, 1, { "-1000", "0" });
        typeRow(2, 1, { "*", "1" });
        interes()->setText(QStringLiteral("10"));
        const int before = m_w->height();
        QTest::mouseClick(find<QToolButton>("Calculos"), Qt::LeftButton);
        QVERIFY(!frame()->isHidden());
        QCOMPARE(find<QLabel>("LabelComentario")->text(),
            QStringLiteral("El valor P (Pago Unico ) es : "));
        QCOMPARE(find<QLabel>("LabelRespuesta")->text(), QStringLiteral("1100.00"));
        QCOMPARE(m_w->height(), before + frameHeight());
        QVERIFY(m_messages->shown.empty());
        QCOMPARE(cell(2, 2), QStringLiteral("Incognita")); // the grid keeps the marker
        QCOMPARE(m_state.PeriodInflows->size(), std::size_t(2));
        QCOMPARE(m_state.PeriodInflows->at(1), 1100.0);

        action("MenuCalculosFinancieros")->trigger();
        QCOMPARE(m_w->height(), before + frameHeight());
        QTest::mouseClick(find<QPushButton>("Cerrar"), Qt::LeftButton);
        QVERIFY(frame()->isHidden());
        QCOMPARE(m_w->height(), before);
        action("MenuCalculosFinancieros")->trigger();
        QCOMPARE(m_w->height(), before + frameHeight());
    }

    void rateModeWritesTheRate()
    {
        typeRow(1, 1, { "-1000", "0" });
        typeRow(2, 1, { "1100", "1" });
        interes()->setText(QStringLiteral("Incognita"));
        action("MenuCalculosFinancieros")->trigger();
        QCOMPARE(
            find<QLabel>("LabelComentario")->text(), QStringLiteral("La tasa de interes es : "));
        QCOMPARE(find<QLabel>("LabelRespuesta")->text(), QStringLiteral("10.00%"));
        QVERIFY(qAbs(interes()->text().toDouble() - 10.0) < 1e-6);
        QVERIFY(!frame()->isHidden());
        QVERIFY(m_w->modals.empty());
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
        action("MenuCalculosFinancieros")->trigger(); // a solve first shows the frame
        QCOMPARE(find<QLabel>("LabelRespuesta")->text(), QStringLiteral("49.04"));
        doubleClickCell(3, 1);
        QVERIFY(!m_w->worksheet().rowInUse(3));

        goTo(2, 3);
        m_state.LoanWindowActive = true;
        int heightDuring = 0;
        m_w->whileModal = [&] { heightDuring = m_w->height(); };
        QTest::mouseClick(find<QToolButton>("Calculos"), Qt::LeftButton);
        QCOMPARE(m_w->modals.size(), std::size_t(1));
        const auto& shown = m_w->modals[0];
        QCOMPARE(shown.title, QStringLiteral("Indicadores de Evaluación"));
        QCOMPARE(shown.comentarios,
            (QStringList { "Valor Presente Neto, VPN", "Relación Beneficio - Costo, B/C",
                "Tasa Interna de Retorno, TIR" }));
        QCOMPARE(shown.respuestas, (QStringList { "-49.04", "0.95", "7.71" }));
        QVERIFY(shown.frameHidden);
        QCOMPARE(heightDuring, before);
        // Back from the evaluation window: served again, frame back with the old text.
        QCOMPARE(current(), (CellPos { 1, 1 }));
        QVERIFY(!tipo()->isHidden());
        QCOMPARE(tipo()->currentText(), kind(1));
        QVERIFY(!m_state.LoanWindowActive);
        QVERIFY(!frame()->isHidden());
        QCOMPARE(find<QLabel>("LabelRespuesta")->text(), QStringLiteral("49.04"));
        QCOMPARE(m_w->height(), before + frameHeight());
    }

    void calculationErrorsShowTheMessage_data()
    {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("inicio");
        QTest::addColumn<QString>("rate");
        QTest::newRow("only inflows, rate unknown") << "500"
                                                    << "1"
                                                    << "Incognita";
        QTest::newRow("start beyond 16 bits") << "500"
                                              << "40000"
                                              << "10";
        QTest::newRow("huge exponent") << "1e999"
                                       << "1"
                                       << "10";
        QTest::newRow("no outflows for B/C") << "500"
                                             << "1"
                                             << "abc";
    }
    void calculationErrorsShowTheMessage()
    {
        QFETCH(QString, valor);
        QFETCH(QString, inicio);
        QFETCH(QString, rate);
        typeRow(1, 1, { "700", "0" });
        typeRow(2, 1, { valor, inicio });
        interes()->setText(rate);
        action("MenuCalculosFinancieros")->trigger();
        QCOMPARE(m_messages->shown.size(), std::size_t(1));
        QCOMPARE(lastMessage().text,
            QStringLiteral("Error en cálculos, revise la información digitada..."));
        QCOMPARE(lastMessage().title, QStringLiteral("ERROR"));
        QCOMPARE(lastMessage().icon, MsgIcon::Critical);
        QVERIFY(frame()->isHidden());
        QVERIFY(m_w->modals.empty());
        QVERIFY(m_w->gridEventsEnabled());
        // Still usable: the next move shows its input control.
        goTo(1, 2);
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
        QTest::newRow("letter in Inicio")
            << QStringList { "12", "1x", "5" } << int(kColInicio) << "Caracter NO Válido...";
    }
    void validationFaultsKeepTheFaultyCell()
    {
        QFETCH(QStringList, values);
        QFETCH(int, column);
        QFETCH(QString, message);
        QTemporaryDir dir;
        typeRow(1, 2, { "1", "0", "2" });
        typeRow(40, 2, values);
        goTo(1, 2);
        const QString path = dir.filePath(QStringLiteral("hoja.ORV"));
        m_dialogs->names.push_back(path);
        QTest::mouseClick(find<QToolButton>("Grabar"), Qt::LeftButton);
        QCOMPARE(m_messages->shown.size(), std::size_t(1));
        QCOMPARE(lastMessage().text, message);
        QCOMPARE(lastMessage().title, QStringLiteral("ERROR"));
        QCOMPARE(lastMessage().icon, MsgIcon::Exclamation);
        QCOMPARE(lastMessage().buttons, MsgButtons::Ok);
        QCOMPARE(current(), (CellPos { 40, column }));
        QCOMPARE(grid()->rowAt(0), 39); // the faulty row is the top visible row
        QVERIFY(!edicion()->isHidden());
        QVERIFY(!QFile::exists(path));
        QCOMPARE(m_w->windowTitle(), QStringLiteral("TALVORA"));
        QVERIFY(!action("MenuGuardar")->isEnabled());
    }

    void saveAndOpenRoundTrip()
    {
        QTemporaryDir dir;
        typeRow(1, 1, { "-1000", "0" });
        typeRow(3, 5, { "*", "0", "2", "10", "" });
        interes()->setText(QStringLiteral("1.5"));
        const QString typed = dir.filePath(QStringLiteral("datos"));
        const QString stored = dir.filePath(QStringLiteral("DATOS.ORV"));

        m_dialogs->names.push_back(typed);
        action("MenuGuardarComo")->trigger();
        QVERIFY(m_messages->shown.empty());
        QCOMPARE(m_dialogs->filters.size(), 1);
        QVERIFY(m_dialogs->filters[0].contains(QStringLiteral("*.ORV")));
        QCOMPARE(QFile(typed).size(), qint64(3 * 256));
        QCOMPARE(m_w->windowTitle(), QStringLiteral("TALVORA [") + stored + "]");
        QVERIFY(action("MenuGuardar")->isEnabled());
        QCOMPARE(action("MenuGuardar")->text(), QStringLiteral("Guardar [") + stored + "]");

        // Guardar writes under the new name without asking.
        action("MenuGuardar")->trigger();
        QCOMPARE(m_dialogs->filters.size(), 1);
        QCOMPARE(QFile(stored).size(), qint64(3 * 256));

        QTest::mouseClick(find<QToolButton>("Nuevo"), Qt::LeftButton);
        QCOMPARE(cell(1, 1), QString());
        QCOMPARE(interes()->text(), QString());
        QCOMPARE(m_w->windowTitle(), QStringLiteral("TALVORA [") + stored + "]");

        m_dialogs->names.push_back(stored);
        QTest::mouseClick(find<QToolButton>("Abrir"), Qt::LeftButton);
        QVERIFY(m_messages->shown.empty());
        QCOMPARE(interes()->text(), QStringLiteral("1.5"));
        QCOMPARE(cell(1, 1), kind(1));
        QCOMPARE(cell(1, 2), QStringLiteral("-1000"));
        // Row 3 comes back packed into row 2.
        QCOMPARE(cell(2, 1), kind(5));
        QCOMPARE(cell(2, 2), QStringLiteral("Incognita"));
        QCOMPARE(cell(2, 4), QStringLiteral("2"));
        QCOMPARE(cell(2, 5), QStringLiteral("10"));
        QCOMPARE(cell(3, 1), QString());
        QCOMPARE(current(), (CellPos { 1, 1 }));

        // The toolbar's Grabar asks for a name even with a file in use.
        QTest::mouseClick(find<QToolButton>("Grabar"), Qt::LeftButton);
        QCOMPARE(m_dialogs->filters.size(), 3);
        QCOMPARE(m_w->windowTitle(), QStringLiteral("TALVORA [") + stored + "]");
    }

    void fileErrorsAreReported()
    {
        QTemporaryDir dir;
        typeRow(1, 1, { "5", "0" });
        m_dialogs->names.push_back(dir.filePath(QStringLiteral("no/such/folder/x.ORV")));
        action("MenuGuardarComo")->trigger();
        QCOMPARE(m_messages->shown.size(), std::size_t(1));
        QVERIFY(lastMessage().text.startsWith(QStringLiteral("Ocurrió el error [")));
        QVERIFY(lastMessage().text.endsWith(QStringLiteral("] en el sistema...")));
        QCOMPARE(lastMessage().title, QStringLiteral("DATOS NUEVOS"));
        QCOMPARE(lastMessage().buttons, MsgButtons::OkCancel);
        QCOMPARE(m_w->windowTitle(), QStringLiteral("TALVORA"));
        QVERIFY(!action("MenuGuardar")->isEnabled());

        // A folder cannot be opened as a worksheet; the grid stays as it was.
        m_dialogs->names.push_back(dir.path());
        action("MenuAbrir")->trigger();
        QCOMPARE(m_messages->shown.size(), std::size_t(2));
        QCOMPARE(lastMessage().title, QStringLiteral("DATOS NUEVOS"));
        QCOMPARE(cell(1, 2), QStringLiteral("5"));
        QCOMPARE(m_w->windowTitle(), QStringLiteral("TALVORA"));

        // Nor can a file that is not a worksheet.
        const QString letter = dir.filePath(QStringLiteral("carta.txt"));
        QFile file(letter);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(600, 'x'));
        file.close();
        m_dialogs->names.push_back(letter);
        action("MenuAbrir")->trigger();
        QCOMPARE(m_messages->shown.size(), std::size_t(3));
        QVERIFY(lastMessage().text.contains(QStringLiteral("no es una hoja de trabajo"), Qt::CaseInsensitive));
        QCOMPARE(cell(1, 2), QStringLiteral("5"));
        QCOMPARE(interes()->text(), QString());

        // A file deleted while in use is written again by Guardar.
        const QString path = dir.filePath(QStringLiteral("borrado.ORV"));
        m_dialogs->names.push_back(path);
        action("MenuGuardarComo")->trigger();
        QVERIFY(QFile::remove(path));
        action("MenuGuardar")->trigger();
        QCOMPARE(m_messages->shown.size(), std::size_t(3));
        QCOMPARE(QFile(path).size(), qint64(2 * 256));
    }

    void pasteAfterConfirmation()
    {
        typeRow(1, 1, { "9", "0" });
        QGuiApplication::clipboard()->setText(QStringLiteral("2\t100\t0\t5\r\n1\t*\t3\r\n"));
        goTo(2, 1);
        m_messages->answers.push_back(MsgAnswer::No);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_messages->shown.size(), std::size_t(1));
        QCOMPARE(lastMessage().text, QStringLiteral("Confirme el proceso..."));
        QCOMPARE(lastMessage().title, QStringLiteral("Pegar de Clipoboard"));
        QCOMPARE(lastMessage().icon, MsgIcon::Question);
        QCOMPARE(lastMessage().buttons, MsgButtons::YesNo);
        QCOMPARE(cell(2, 1), QString());

        m_messages->answers.push_back(MsgAnswer::Yes);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cell(1, 2), QStringLiteral("9"));
        QCOMPARE(cell(2, 1), kind(2));
        QCOMPARE(cell(2, 2), QStringLiteral("100"));
        QCOMPARE(cell(2, 4), QStringLiteral("5"));
        QCOMPARE(cell(3, 1), kind(1));
        QCOMPARE(cell(3, 2), QStringLiteral("Incognita"));
        QCOMPARE(cell(3, 3), QStringLiteral("3"));
        QCOMPARE(cell(4, 1), QString());
        QCOMPARE(m_w->worksheet().cell(3, kColInicio), std::string("3"));
    }

    void shortcutsReachTheirCommands()
    {
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
        grid()->setFocus();
        QTest::keySequence(m_w.get(), QKeySequence(QStringLiteral("Ctrl+A")));
        QCOMPARE(m_dialogs->filters.size(), 1); // the open dialog, cancelled
        QTest::keySequence(m_w.get(), QKeySequence(QStringLiteral("Ctrl+C")));
        QCOMPARE(m_dialogs->filters.size(), 2); // the save dialog, cancelled
        QTest::keySequence(m_w.get(), QKeySequence(QStringLiteral("Ctrl+G")));
        QCOMPARE(m_dialogs->filters.size(), 2); // Guardar is off without a file
        QVERIFY(m_messages->shown.empty());
    }

    void childWindowsReturnToTheWorksheet()
    {
        typeRow(2, 2, { "100", "0", "3" });
        std::vector<std::function<void()>> commands = {
            [&] { QTest::mouseClick(find<QPushButton>("ConvertirTasaInteres"), Qt::LeftButton); },
            [&] { action("MenuSistemasAmortizacion")->trigger(); },
            [&] { action("MenuPlanPagos")->trigger(); },
            [&] { action("MenuDiagramaFlujo")->trigger(); },
            [&] { action("MenuAcercaDe")->trigger(); },
        };
        for (std::size_t i = 0; i < commands.size(); ++i) {
            goTo(2, 2);
            m_state.LoanWindowActive = true;
            const std::size_t before = m_w->modals.size();
            commands[i]();
            QVERIFY(m_w->isVisible());
            if (m_w->modals.size() == before)
                continue; // that window is not wired in yet
            QVERIFY2(current() == (CellPos { 1, 1 }), qPrintable(QString::number(i)));
            QVERIFY2(!m_state.LoanWindowActive, qPrintable(QString::number(i)));
        }
    }

    void salirEndsWithoutAsking()
    {
        typeRow(1, 1, { "5", "0" });
        action("MenuSalirPrograma")->trigger();
        QVERIFY(!m_w->isVisible());
        QVERIFY(m_messages->shown.empty());
        QVERIFY(m_dialogs->filters.isEmpty());
    }
};

QTEST_MAIN(TstTalvora)
#include "tst_talvora.moc"
