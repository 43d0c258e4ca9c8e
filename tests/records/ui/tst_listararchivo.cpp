#include "../../hostile_input.h"
#include "../../ui_test_util.h"
#include "common/text.h"
#include "records/search.h"
#include "records/ui/listar_archivo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <thread>

using namespace orvex;
using test::Field;

namespace {

// Fifty bytes a record: Codigo int32, Nombre text, Fecha, Saldo double (protected),
// Clave (hidden), Cuotas int16.
std::string record(int i)
{
    const std::string name = i == 7 ? "Mariana Peña"
        : i == 12                   ? "ana maria"
                                    : "Cliente " + std::to_string(i);
    return mkl(i) + fixedField(name, 20) + fixedField("5/3/99", 10) + mkd(i * 100.5)
        + fixedField("k" + std::to_string(i), 6) + mki(static_cast<std::int16_t>(i));
}

TableConfig makeTable(int count, std::int16_t editMode, std::int16_t collapsed = 0)
{
    std::string data;
    for (int i = 1; i <= count; ++i)
        data += record(i);
    test::writeBytes("t.dat", data);
    return test::tableConfig("t.dat", { "Nro", 0, 0, collapsed, editMode, 6 },
        { { "Codigo", 4, 40, 0, 0, 0, 6 }, { "Nombre", 20, 0 }, { "Fecha", 10, 10 },
            { "Saldo", 8, 80, 0, 1, 0, 8, 2 }, { "Clave", 6, 0, 1 },
            { "Cuotas", 2, 2, 0, 0, 0, 4 } });
}

} // namespace

class TstListarArchivo : public QObject {
    Q_OBJECT

private:
    test::WorkFolder folder;
    ScriptedMessageService messages;

    static QTableWidget* malla(QWidget& w) { return w.findChild<QTableWidget*>("Malla"); }
    static QLineEdit* editor(QWidget& w) { return w.findChild<QLineEdit*>("EdicionTexto"); }
    static QString label(QWidget& w, const char* name)
    {
        return w.findChild<QLabel*>(name)->text();
    }
    // The table's cell (row r, column k): column 0 is Malla's vertical header.
    static QString cell(QWidget& w, int r, int k)
    {
        return k == 0 ? malla(w)->verticalHeaderItem(r - 1)->text()
                      : malla(w)->item(r - 1, k - 1)->text();
    }
    static void key(QWidget& w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(editor(w), static_cast<Qt::Key>(key), modifiers);
    }
    static void ready(ListarArchivo& w)
    {
        w.show();
        QTRY_VERIFY(editor(w)->isVisible() || !w.isVisible());
    }
    QString lastMessage() const
    {
        return messages.shown.empty() ? QString() : messages.shown.back().text;
    }

private slots:
    void init()
    {
        folder.enter();
        messages.shown.clear();
        messages.answers.clear();
    }
    void cleanup() { folder.leave(); }

    void controlsAndSetUp()
    {
        ListarArchivo w(messages, makeTable(5, 2));
        ready(w);
        QCOMPARE(w.windowTitle(), QStringLiteral("Listado Archivo : t.dat"));
        QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 5, w.height() - 5));
        QCOMPARE(w.windowTitle(), QStringLiteral("Listado Archivo : t.dat [t.dat]"));
        QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 5, w.height() - 5));
        QCOMPARE(w.windowTitle(), QStringLiteral("Listado Archivo : t.dat"));
        const QRect screen = w.screen()->availableGeometry();
        QCOMPARE(w.size(), QSize(screen.width() * 98 / 100, screen.height() * 90 / 100));
        QVERIFY(!w.findChild<QWidget*>("Busqueda")->isVisible());
        QVERIFY(!w.findChild<QWidget*>("EdicionOpciones")->isVisible());

        // Headers, the hidden field's column, widths in proportion to the characters: 20 and
        // 10; 8 digits, the point and 2 decimals against 6 digits.
        QTableWidget* grid = malla(w);
        QStringList headers;
        for (int c = 0; c < grid->columnCount(); ++c)
            headers << grid->horizontalHeaderItem(c)->text();
        QCOMPARE(headers, QStringList({ "Codigo", "Nombre", "Fecha", "*Saldo", "", "Cuotas" }));
        QVERIFY(grid->isColumnHidden(4));
        QVERIFY(qAbs(grid->columnWidth(1) - 2 * grid->columnWidth(2)) <= 3);
        QVERIFY(qAbs(6 * grid->columnWidth(3) - 11 * grid->columnWidth(0)) <= 6 * 3);
        // Wider than the grid here: a horizontal scroll bar, and still every row in view.
        QVERIFY(grid->horizontalScrollBar()->isVisible());
        QVERIFY(grid->viewport()->height() >= grid->rowCount() * grid->rowHeight(0));

        // Five records in a longer grid, then empty rows.
        QVERIFY(grid->rowCount() > 6);
        QCOMPARE(cell(w, 5, 2) + "|" + cell(w, 5, 3) + "|" + cell(w, 2, 4),
            QStringLiteral("Cliente 5|05/03/1999|201.00"));
        QCOMPARE(cell(w, 6, 0) + cell(w, 6, 2), QString());
        QCOMPARE(label(w, "Label3"), QStringLiteral("1 de 5"));
        QCOMPARE(w.findChild<QScrollBar*>("Ps")->maximum(), 5);
        QCOMPARE(w.findChild<QComboBox*>("BusquedaCampo")->itemText(5), QString()); // Clave
        QCOMPARE(w.findChild<QComboBox*>("BusquedaDireccion")->currentIndex(), 1);
        QCOMPARE(editor(w)->palette().color(QPalette::Text), QColor(Qt::black));

        // Down into the empty rows: room for one character, and nothing typed reaches the file.
        const std::string before = test::readBytes("t.dat");
        for (int i = 0; i < 5; ++i)
            key(w, Qt::Key_Down);
        QCOMPARE(w.currentCell().row, 6);
        QCOMPARE(editor(w)->maxLength(), 1);
        QCOMPARE(editor(w)->palette().color(QPalette::Text), QColor(0xC0, 0xC0, 0xC0));
        QTest::keyClicks(editor(w), "xy");
        QCOMPARE(editor(w)->text() + cell(w, 6, 1), QStringLiteral("x"));
        key(w, Qt::Key_Home, Qt::ControlModifier);
        test::click(w, "Fin");
        QVERIFY(test::readBytes("t.dat") == before);
    }

    void narrowColumnsFillTheGrid()
    {
        test::writeBytes("n.dat", "ab12345");
        ListarArchivo w(messages,
            test::tableConfig(
                "n.dat", { "", 0, 0, 1 }, { { "A", 2, 0 }, { "B", 5, 0, 0, 0, 10 } }));
        ready(w);
        QTableWidget* grid = malla(w);
        QVERIFY(!grid->verticalHeader()->isVisible()); // column 0 collapsed
        QCOMPARE(cell(w, 1, 0), QString());
        QCOMPARE(cell(w, 1, 2), QStringLiteral("12345"));
        // 2 and 10 characters grown by their shares of the room left.
        QVERIFY(qAbs(5 * grid->columnWidth(0) - grid->columnWidth(1)) <= 5 * 2);
        const int total = grid->columnWidth(0) + grid->columnWidth(1);
        QVERIFY(total <= grid->viewport()->width() && total >= grid->viewport()->width() - 2);
        QVERIFY(!grid->horizontalScrollBar()->isVisible());
    }

    void movesAtTheEdgesAndPages()
    {
        ListarArchivo w(messages, makeTable(100, 0));
        ready(w);
        const int v = malla(w)->rowCount();
        struct Row {
            int key;
            Qt::KeyboardModifiers modifiers;
            int repeat, first, row, column; // the page's first record and the current cell after
        };
        const Row rows[] = {
            { Qt::Key_Down, {}, v - 1, 1, v, 1 },
            { Qt::Key_Down, {}, 1, 2, v, 1 }, // on the last row: scrolls by one
            { Qt::Key_Up, {}, v, 1, 1, 1 }, // and back
            { Qt::Key_End, Qt::ControlModifier, 1, 100, 1, 1 }, // the last record alone
            { Qt::Key_PageUp, {}, 1, 100 - v, 1, 1 },
            { Qt::Key_Home, Qt::ControlModifier, 1, 1, 1, 1 },
            { Qt::Key_PageDown, {}, 1, 1 + v, 1, 1 },
            { Qt::Key_Right, {}, 4, 1 + v, 1, 6 }, // past the hidden field
            { Qt::Key_Left, {}, 1, 1 + v, 1, 4 },
        };
        for (const Row& r : rows) {
            for (int i = 0; i < r.repeat; ++i)
                key(w, r.key, r.modifiers);
            QVERIFY2(w.currentCell() == (GridCell { r.row, r.column }),
                qPrintable(QString::number(r.key)));
            QCOMPARE(cell(w, 1, 0), QString::number(r.first));
            QCOMPARE(w.findChild<QScrollBar*>("Ps")->value(), r.first);
        }
        QCOMPARE(cell(w, 2, 0), QString::number(2 + v));
        // Ps: a value on the page moves the row, one off it becomes the first.
        auto* ps = w.findChild<QScrollBar*>("Ps");
        ps->setValue(3 + v);
        QCOMPARE(w.currentCell().row, 3);
        ps->setValue(ps->maximum());
        QCOMPARE(cell(w, 1, 0) + "|" + cell(w, 2, 0), QStringLiteral("100|"));
        QCOMPARE(label(w, "Label3"), QStringLiteral("100 de 100"));
        QVERIFY(messages.shown.empty());
    }

    // Ten million records: only the rows shown are read, wherever the page is.
    void tenMillionRecords()
    {
        const std::int64_t count = 10'000'000;
        {
            QFile data("big.dat");
            QVERIFY(data.open(QIODevice::WriteOnly) && data.resize(count * 8)); // sparse
            QVERIFY(data.seek((count - 1) * 8) && data.write((mkl(7) + "ultimo").data(), 8) == 8);
        }
        ListarArchivo w(messages,
            test::tableConfig(
                "big.dat", { "Nro", 0, 0, 0, 0, 9 }, { { "N", 4, 40 }, { "T", 4, 0 } }));
        ready(w);
        key(w, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(cell(w, 1, 0) + "|" + cell(w, 1, 1) + "|" + cell(w, 1, 2),
            QStringLiteral("10000000|7|ulti"));
        QCOMPARE(w.findChild<QScrollBar*>("Ps")->maximum(), 10'000'000);
        key(w, Qt::Key_F2);
        w.findChild<QLineEdit*>("IrRegistro")->setText(QStringLiteral("9999990"));
        test::click(w, "BotonIr1");
        QCOMPARE(cell(w, 1, 0), QStringLiteral("9999990"));
        QVERIFY(messages.shown.empty());
    }

    void editsAreSavedOnThePageMove_data()
    {
        QTest::addColumn<int>("editMode");
        QTest::addColumn<int>("answer"); // -1 no question expected
        QTest::addColumn<int>("stored");
        QTest::newRow("I3 = 2, saved without asking") << 2 << -1 << 13;
        QTest::newRow("I3 = 1, Yes") << 1 << int(MsgAnswer::Yes) << 13;
        QTest::newRow("I3 = 1, No") << 1 << int(MsgAnswer::No) << 2;
    }
    void editsAreSavedOnThePageMove()
    {
        QFETCH(int, editMode);
        QFETCH(int, answer);
        QFETCH(int, stored);
        ListarArchivo w(messages, makeTable(100, static_cast<std::int16_t>(editMode)));
        ready(w);
        QCOMPARE(editor(w)->palette().color(QPalette::Text), QColor(Qt::black));
        key(w, Qt::Key_Down);
        for (int i = 0; i < 4; ++i)
            key(w, Qt::Key_Right);
        QCOMPARE(w.currentCell(), (GridCell { 2, 6 }));
        QCOMPARE(editor(w)->maxLength(), 4);
        QTest::keyClicks(editor(w), "12.6");
        QCOMPARE(cell(w, 2, 6), QStringLiteral("13"));
        QCOMPARE(editor(w)->text(), QStringLiteral("12.6"));
        if (answer >= 0)
            messages.answers.push_back(static_cast<MsgAnswer>(answer));
        key(w, Qt::Key_PageDown);
        QCOMPARE(messages.shown.size(), std::size_t(answer >= 0 ? 1 : 0));
        if (answer >= 0) {
            QCOMPARE(
                messages.shown[0].text, QStringLiteral("Quiere Grabar los Cambios Realizados"));
            QCOMPARE(messages.shown[0].title, QStringLiteral("CAMBIOS"));
        }
        const std::string data = test::readBytes("t.dat");
        QCOMPARE(int(cvi(std::string_view(data).substr(50 + 48, 2))), stored);
    }

    void typingThatIsNotKept()
    {
        ListarArchivo w(messages, makeTable(100, 2));
        ready(w);
        // A protected column: grey, and typing there changes no cell.
        for (int i = 0; i < 3; ++i)
            key(w, Qt::Key_Right);
        QCOMPARE(editor(w)->palette().color(QPalette::Text), QColor(0xC0, 0xC0, 0xC0));
        QTest::keyClicks(editor(w), "9");
        QCOMPARE(cell(w, 1, 4), QStringLiteral("100.50"));
        // Esc after typing puts the saved text back, selected: arrows move again.
        key(w, Qt::Key_Escape);
        key(w, Qt::Key_Left);
        key(w, Qt::Key_Left);
        QTest::keyClicks(editor(w), "Otro nombre");
        QCOMPARE(cell(w, 1, 2), QStringLiteral("Otro nombre"));
        key(w, Qt::Key_Escape);
        QCOMPARE(cell(w, 1, 2) + "|" + editor(w)->text(), QStringLiteral("Cliente 1|Cliente 1"));
        // A number beyond the field is not stored: the page move says so and re-reads the page.
        const std::string before = test::readBytes("t.dat");
        key(w, Qt::Key_Left);
        QTest::keyClicks(editor(w), "1e999");
        QCOMPARE(cell(w, 1, 1), QStringLiteral("1e999")); // as typed, not the 1e99 before
        key(w, Qt::Key_PageDown);
        QCOMPARE(messages.shown.size(), std::size_t(1));
        QVERIFY(lastMessage().contains("no cabe en el campo [Codigo]"));
        QCOMPARE(cell(w, 1, 1), QStringLiteral("1"));
        QVERIFY(test::readBytes("t.dat") == before);
        QVERIFY(w.isVisible());
    }

    void goToARecord()
    {
        ListarArchivo w(messages, makeTable(50, 0));
        ready(w);
        key(w, Qt::Key_F2);
        QVERIFY(w.findChild<QGroupBox*>("Ir")->isVisible());
        QVERIFY(!w.findChild<QPushButton*>("Buscar0")->isVisible());
        auto* box = w.findChild<QLineEdit*>("IrRegistro");
        QCOMPARE(box->text() + "/" + label(w, "Label5"), QStringLiteral("1/50"));
        const QStringList bad = { "0", "51", "-3", "abc", "2000000000", "1e400", "nan" };
        for (const QString& typed : bad) {
            box->setText(typed);
            QTest::keyClick(box, Qt::Key_Return);
        }
        QCOMPARE(messages.shown.size(), std::size_t(bad.size()));
        QCOMPARE(messages.shown[0].text + messages.shown[0].title,
            QStringLiteral("Registro Incorrecto...IR A..."));
        QCOMPARE(cell(w, 1, 0), QStringLiteral("1"));
        box->setText(QStringLiteral("40"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(cell(w, 1, 0), QStringLiteral("40"));
        QVERIFY(box->hasFocus());
        box->setText(QStringLiteral("42"));
        test::click(w, "BotonIr1");
        QCOMPARE(w.currentCell(), (GridCell { 3, 1 }));
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!w.findChild<QGroupBox*>("Ir")->isVisible());
        QVERIFY(w.findChild<QPushButton*>("Fin")->isVisible());
    }

    void enterSelectsUnlessTyping()
    {
        ListarArchivo w(messages, makeTable(10, 2));
        ready(w);
        key(w, Qt::Key_Down);
        key(w, Qt::Key_Right);
        QTest::keyClicks(editor(w), "Nuevo");
        key(w, Qt::Key_Return); // applies the edit only
        QVERIFY(w.isVisible());
        QCOMPARE(editor(w)->text(), QStringLiteral("Nuevo"));
        QVERIFY(!w.selectionFlag());
        key(w, Qt::Key_Right); // inside the text
        QCOMPARE(w.currentCell().column, 2);
        key(w, Qt::Key_Down);
        key(w, Qt::Key_Up);
        QCOMPARE(editor(w)->selectedText(), QStringLiteral("Nuevo"));
        key(w, Qt::Key_Right);
        key(w, Qt::Key_Return); // whole text selected: select and end
        QVERIFY(!w.isVisible());
        QVERIFY(w.selectionFlag());
        const std::vector<std::string> expected
            = { "2", "2", "2", "Nuevo", "05/03/1999", "201.00", "", "2" };
        QVERIFY(w.seleccionado() == expected);
        // The edit was saved on the way out, with the search settings.
        QCOMPARE(QString::fromStdString(readField(test::readBytes("t.dat"), 50 + 4, 20)).trimmed(),
            QStringLiteral("Nuevo"));
        QVERIFY(fileExists(kSearchSettingsFile));
    }

    void searchPanel()
    {
        ListarArchivo w(messages, makeTable(1000, 0));
        ready(w);
        key(w, Qt::Key_F3);
        auto* text = w.findChild<QLineEdit*>("BuscarTexto");
        auto* siguiente = w.findChild<QPushButton*>("BotonB1");
        QVERIFY(w.findChild<QGroupBox*>("Busqueda")->isVisible());
        QVERIFY(!w.findChild<QPushButton*>("Seleccion")->isVisible());
        QVERIFY(text->hasFocus());
        QVERIFY(!siguiente->isEnabled());
        QTest::keyClicks(text, "ana");
        QVERIFY(siguiente->isEnabled());

        // Whole words: "ana maria" (record 12), not "Mariana" (record 7).
        w.findChild<QCheckBox*>("BConfig1")->setChecked(true);
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(w.currentCell(), (GridCell { 12, 1 }));
        // Up to "Mariana", on the page: the row is selected and the page stays.
        w.findChild<QCheckBox*>("BConfig1")->setChecked(false);
        auto* direccion = w.findChild<QComboBox*>("BusquedaDireccion");
        direccion->setCurrentIndex(0);
        test::click(w, "BotonB1");
        QCOMPARE(w.currentCell(), (GridCell { 7, 1 }));
        QCOMPARE(cell(w, 1, 0), QStringLiteral("1"));
        QCOMPARE(malla(w)->selectionModel()->selectedIndexes().size(), malla(w)->columnCount());
        // Off the page: the found record becomes row 1.
        direccion->setCurrentIndex(1);
        text->setText(QStringLiteral("Cliente 900"));
        QTest::keyClick(text, Qt::Key_F3);
        QCOMPARE(cell(w, 1, 0), QStringLiteral("900"));
        QVERIFY(messages.shown.empty());

        // Not found, then cancelled at the first percent step: the grid stays.
        text->setText(QStringLiteral("no existe"));
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(messages.shown.back().title + ": " + lastMessage(),
            QStringLiteral("BUSQUEDA: Texto No Encontrado..."));
        QVERIFY(text->hasFocus());
        direccion->setCurrentIndex(0);
        text->setText(QStringLiteral("Cliente 1"));
        bool cancelShown = false;
        QTimer::singleShot(0, [&] {
            auto* cancela = w.findChild<QPushButton*>("BotonCancela");
            cancelShown = cancela->isVisible() && w.findChild<QLabel*>("Porcentaje")->isVisible()
                && !malla(w)->isEnabled();
            cancela->click();
        });
        messages.shown.clear();
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(cancelShown);
        QCOMPARE(lastMessage(), QStringLiteral("Texto No Encontrado..."));
        QCOMPARE(cell(w, 1, 0), QStringLiteral("900"));
        QVERIFY(!w.findChild<QPushButton*>("BotonCancela")->isVisible());
        QVERIFY(malla(w)->isEnabled() && text->isEnabled());
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(w.findChild<QPushButton*>("Fin")->isVisible());
    }

    void exportAfterItsQuestion()
    {
        ListarArchivo w(messages, makeTable(3, 0));
        ready(w);
        messages.answers = { MsgAnswer::No };
        key(w, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(messages.shown.size(), std::size_t(1));
        QCOMPARE(messages.shown[0].title, QStringLiteral("CREACION ARCHIVO TEXTO"));
        QVERIFY(messages.shown[0].text.startsWith("Desea crear un archivo texto separado"));
        QVERIFY(!fileExists("t.TXT"));
        key(w, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(
            lastMessage(), QStringLiteral("Archivo [t.TXT], ha sido creado satisfactoriamente..."));
        QVERIFY(test::readBytes("t.TXT").starts_with("Codigo\t"));

        // A file that cannot be written: a clear message, and the window goes on.
        QFile::remove("t.TXT");
        QVERIFY(QDir().mkdir("t.TXT"));
        key(w, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(lastMessage().startsWith("No se pudo crear el archivo texto: "));
        QVERIFY(lastMessage().contains("t.TXT"));
        QVERIFY(w.isVisible());
    }

    // Another user holds the table until a second thread lets it go: an editing browser waits
    // in Ocupado, a reading one on its status line, painted all the while.
    void waitsForAnotherUser()
    {
        const TableConfig config = makeTable(100, 2);
        TableConfig copy = config;
        const TableLayout layout = buildTableLayout(copy, "t.cmp");
        test::NoWait hooks;
        std::optional<TableAccess> other;
        const auto holdFor = [&](int ms) {
            other = TableAccess::open(layout, AccessKind::Editing, hooks);
            return std::thread([&other, ms] {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                other.reset();
            });
        };
        std::thread holder = holdFor(1500);
        QString waitTexts;
        test::whenModal([&](QWidget* modal) {
            QTRY_VERIFY(!modal->findChild<QLabel*>("lbError")->text().isEmpty());
            waitTexts = modal->windowTitle() + "|" + modal->findChild<QLabel*>("Label1")->text();
            auto* cancelar = modal->findChild<QPushButton*>("Cancelar");
            QVERIFY(cancelar->isVisible());
            QTest::mouseDClick(modal, Qt::LeftButton); // double click hides it, and shows it again
            QVERIFY(!cancelar->isVisible());
            QTest::mouseDClick(modal, Qt::LeftButton);
            QVERIFY(cancelar->isVisible());
        });
        ListarArchivo w(messages, config);
        ready(w);
        holder.join();
        QCOMPARE(waitTexts, QStringLiteral("Chequeo de Archivos| El Archivo [t.dat]"));
        QCOMPARE(cell(w, 1, 0), QStringLiteral("1"));

        // A cancelled wait abandons the move quietly.
        holder = holdFor(1500);
        test::whenModal([](QWidget* modal) { test::click(*modal, "Cancelar"); });
        key(w, Qt::Key_PageDown);
        holder.join();
        QCOMPARE(cell(w, 1, 0), QStringLiteral("1"));
        QVERIFY(messages.shown.empty() && w.isVisible());
        test::click(w, "Fin");

        TableConfig reading = config;
        reading.fields[0].i[3] = 0;
        ListarArchivo r(messages, reading);
        ready(r);
        QString status;
        int paints = -1;
        struct PaintCounter : QObject {
            int* count;
            bool eventFilter(QObject*, QEvent* e) override
            {
                *count += e->type() == QEvent::Paint;
                return false;
            }
        } counter;
        counter.count = &paints;
        r.installEventFilter(&counter);
        holder = holdFor(1500);
        QTimer::singleShot(700, [&] {
            status = label(r, "lbEstadoListar");
            paints = 0;
            r.update();
        });
        key(r, Qt::Key_PageDown);
        holder.join();
        QCOMPARE(
            status, QStringLiteral("La tabla [t.dat] está siendo utilizada por otro usuario..."));
        QVERIFY(paints >= 1);
        QVERIFY(!r.findChild<QLabel*>("lbEstadoListar")->isVisible());
        QCOMPARE(cell(r, 1, 0), QString::number(1 + malla(r)->rowCount()));
    }

    void inMemoryHostReadsTheSelection()
    {
        ScriptedMessageService quiet;
        TableConfig config = makeTable(20, 0);
        config.record.title = "  Clientes  ";
        config.record.firstRecord = 15;
        QString title;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            QWidget* w = QApplication::activeModalWidget();
            title = w->windowTitle();
            QTRY_VERIFY(editor(*w)->isVisible());
            QTest::keyClick(editor(*w), Qt::Key_Down);
            QTest::keyClick(editor(*w), Qt::Key_Return);
        });
        const BrowseResult result = browseTable(config, quiet);
        QCOMPARE(title, QStringLiteral("Clientes"));
        QVERIFY(result.selected);
        QCOMPARE(result.seleccionado.size(), std::size_t(8));
        QCOMPARE(result.seleccionado[1], std::string("16"));
        QCOMPARE(result.seleccionado[3], std::string("Cliente 16"));
        // Preloaded: no ".sel" and nothing deleted.
        QVERIFY(QDir().entryList({ "*.sel" }).isEmpty());
    }

    void nothingToBrowse()
    {
        TableConfig config = makeTable(3, 0);
        config.record.dataPath = "falta.dat";
        ListarArchivo w(messages, config);
        QCOMPARE(lastMessage(), QStringLiteral("No Existen Registros..."));
        QCOMPARE(messages.shown[0].title, QStringLiteral("LISTAR ARCHIVO"));
        w.show();
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(!w.browsed());
        QVERIFY(!w.selectionFlag());
    }

    // The cell editor, then the go-to and search panels with their own buttons.
    void hostileTextsInEveryBox()
    {
        ListarArchivo w(messages, makeTable(50, 2));
        ready(w);
        test::pasteHostileEverywhere(&w, [] {});
        key(w, Qt::Key_F2);
        test::pasteHostileEverywhere(&w, [&] {
            if (auto* ir = w.findChild<QPushButton*>("BotonIr1"); ir->isVisible())
                QTest::mouseClick(ir, Qt::LeftButton);
        });
        QTest::keyClick(w.findChild<QLineEdit*>("IrRegistro"), Qt::Key_Escape);
        key(w, Qt::Key_F3);
        test::pasteHostileEverywhere(&w, [&] {
            if (auto* next = w.findChild<QPushButton*>("BotonB1"); next->isEnabled())
                QTest::mouseClick(next, Qt::LeftButton);
        });
    }
};

QTEST_MAIN(TstListarArchivo)
#include "tst_listararchivo.moc"
